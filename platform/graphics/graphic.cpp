#include "graphics/graphic.h"

#include "classes/filer.h"

#include "classes/rtti_builder.h"
#include "rtl/resstrings.h"
#include "rtl/store_changed.h"
#include "rtl/streams.h"

namespace brevant {

BV_IMPLEMENT_ABSTRACT_CLASS(TGraphic, TPersistent)

void CheckImageSize(Int64 width, Int64 height) {
  if (!ImageSizeAllowed(width, height))
    throw EInvalidGraphicOperation(res::SImageTooLarge, {width, height});
}

void TGraphic::SetTransparent(bool value) {
  if (StoreChanged(transparent_, value)) Changed();
}

void TGraphic::SetModified(bool value) {
  if (value)
    Changed();
  else
    modified_ = false;
}

void TGraphic::Changed() {
  modified_ = true;
  OnChange(this);
}

void TGraphic::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) const {
  // Written to memory first, so a failing encoder leaves no half-written file.
  TMemoryStream memory;
  SaveToStream(memory);
  TFileStream stream(fileName, fmCreate);
  memory.SaveToStream(stream);
}

void TGraphic::DefineProperties(TFiler* filer) {
  TPersistent::DefineProperties(filer);
  filer->DefineBinaryProperty(
      "Data", [this](TStream& stream) { LoadFromStream(stream); },
      [this](TStream& stream) { SaveToStream(stream); }, !Empty());
}

}  // namespace brevant
