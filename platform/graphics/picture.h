// TPicture: holds one graphic (a bitmap, a PNG image or an icon), chosen
// when a file or stream is loaded.
#pragma once

#include "graphics/bitmap.h"
#include "graphics/icon.h"
#include "rtl/persistent.h"

namespace brevant {

class TPicture : public TPersistent {
  BV_CLASS(TPicture, TPersistent)
 public:
  TPicture();
  ~TPicture() override;

  // From a picture or a graphic (a copy of it); nullptr empties the picture.
  void Assign(const TPersistent* source) override;

  // The graphic, or nullptr.
  TGraphic* Graphic() const { return graphic_.get(); }
  // Holds a copy of value (of the same class); nullptr empties the picture.
  void SetGraphic(TGraphic* value);
  // The graphic as a bitmap; a graphic that is not one is replaced by an
  // empty bitmap.
  TBitmap* Bitmap();
  void SetBitmap(TBitmap* value) { SetGraphic(value); }
  // The graphic as an icon; likewise.
  TIcon* Icon();
  void SetIcon(TIcon* value) { SetGraphic(value); }
  Integer Width() const { return graphic_ ? graphic_->Width() : 0; }
  Integer Height() const { return graphic_ ? graphic_->Height() : 0; }

  // The format comes from the content (BMP, PNG, icon), else from the file
  // extension; unknown formats raise EInvalidGraphic quoting the name. A
  // failed load leaves the picture as it was.
  void LoadFromFile(const String& fileName);
  void LoadFromStream(TStream& stream);
  // In the graphic's format; ".png" writes a bitmap as PNG and ".bmp" a PNG
  // image as BMP. Nothing is written for an empty picture.
  void SaveToFile(const String& fileName) const;
  void SaveToStream(TStream& stream) const;

  // Fired after every change of the picture or its graphic.
  TNotifyEvent OnChange;

 protected:
  virtual void Changed(TObject* sender);

 private:
  void Replace(TGraphic* graphic);

  TObjectPtr<TGraphic> graphic_;
};

}  // namespace brevant
