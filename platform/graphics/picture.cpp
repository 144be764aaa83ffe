#include "graphics/picture.h"

#include "classes/rtti_builder.h"
#include "graphics/image_codecs.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TPicture, TPersistent)

namespace {

String ExtensionOf(const String& fileName) {
  size_t dot = fileName.find_last_of('.');
  size_t slash = fileName.find_last_of('/');
  if (dot == String::npos || (slash != String::npos && dot < slash)) return {};
  return LowerCase(fileName.substr(dot));
}

// A new graphic for the content at the stream's position, else for the
// extension; nullptr when neither is known.
TGraphic* NewGraphicFor(TStream& stream, const String& extension) {
  if (detail::StreamLooksLikePng(stream)) return Create<TPngImage>();
  if (detail::StreamLooksLikeBmp(stream)) return Create<TBitmap>();
  if (detail::StreamLooksLikeIcon(stream)) return Create<TIcon>();
  if (extension == ".bmp" || extension == ".dib") return Create<TBitmap>();
  if (extension == ".png") return Create<TPngImage>();
  if (extension == ".ico") return Create<TIcon>();
  return nullptr;
}

}  // namespace

TPicture::TPicture() = default;

TPicture::~TPicture() = default;

void TPicture::Replace(TGraphic* graphic) {
  graphic_.reset(graphic);
  if (graphic_) graphic_->OnChange = TNotifyEvent::Of<&TPicture::Changed>(this);
  Changed(this);
}

void TPicture::Changed(TObject*) {
  OnChange(this);
}

void TPicture::Assign(const TPersistent* source) {
  if (!source) {
    Replace(nullptr);
  } else if (const TPicture* p = dynamic_cast<const TPicture*>(source)) {
    if (p != this) SetGraphic(p->Graphic());
  } else if (const TGraphic* g = dynamic_cast<const TGraphic*>(source)) {
    SetGraphic(const_cast<TGraphic*>(g));
  } else {
    TPersistent::Assign(source);
  }
}

void TPicture::SetGraphic(TGraphic* value) {
  if (value == graphic_.get()) return;
  if (!value) {
    Replace(nullptr);
    return;
  }
  TObjectPtr<TGraphic> copy(As<TGraphic>(value->ClassType()->NewInstance()));
  copy->Assign(value);
  Replace(copy.release());
}

TBitmap* TPicture::Bitmap() {
  if (!Is<TBitmap>(graphic_.get())) Replace(Create<TBitmap>());
  return static_cast<TBitmap*>(graphic_.get());
}

TIcon* TPicture::Icon() {
  if (!Is<TIcon>(graphic_.get())) Replace(Create<TIcon>());
  return static_cast<TIcon*>(graphic_.get());
}

void TPicture::LoadFromFile(const String& fileName) {
  TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
  TObjectPtr<TGraphic> graphic(NewGraphicFor(stream, ExtensionOf(fileName)));
  if (!graphic) throw EInvalidGraphic(res::SUnknownPictureFormat, {fileName});
  graphic->LoadFromStream(stream);
  Replace(graphic.release());
}

void TPicture::LoadFromStream(TStream& stream) {
  TObjectPtr<TGraphic> graphic(NewGraphicFor(stream, {}));
  if (!graphic) throw EInvalidGraphic(res::SUnknownPictureFormat, {String("stream")});
  graphic->LoadFromStream(stream);
  Replace(graphic.release());
}

void TPicture::SaveToFile(const String& fileName) const {
  if (!graphic_) return;
  String ext = ExtensionOf(fileName);
  const TBitmap* bitmap = dynamic_cast<const TBitmap*>(graphic_.get());
  TMemoryStream memory;
  if (bitmap && ext == ".png")
    bitmap->SaveToPngStream(memory);
  else if (bitmap && ext == ".bmp")
    bitmap->TBitmap::SaveToStream(memory);
  else
    graphic_->SaveToStream(memory);
  TFileStream file(fileName, fmCreate);
  memory.SaveToStream(file);
}

void TPicture::SaveToStream(TStream& stream) const {
  if (graphic_) graphic_->SaveToStream(stream);
}

}  // namespace brevant
