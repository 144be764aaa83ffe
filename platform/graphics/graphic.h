// TGraphic: the base of pictures a canvas can draw (bitmaps, icons).
#pragma once

#include "graphics/graphics_base.h"
#include "rtl/method.h"
#include "rtl/persistent.h"

namespace brevant {

class TCanvas;
class TStream;

class TGraphic : public TPersistent {
  BV_CLASS(TGraphic, TPersistent)
 public:
  virtual bool Empty() const = 0;
  virtual Integer Width() const = 0;
  virtual void SetWidth(Integer value) = 0;
  virtual Integer Height() const = 0;
  virtual void SetHeight(Integer value) = 0;
  // Whether drawing leaves the graphic's transparent pixels out.
  bool Transparent() const { return transparent_; }
  virtual void SetTransparent(bool value);
  bool Modified() const { return modified_; }
  void SetModified(bool value);

  // Load from the stream's position / save at it in the graphic's own
  // format. A failed load raises EInvalidGraphic (or a stream error) and
  // leaves the graphic as it was.
  virtual void LoadFromStream(TStream& stream) = 0;
  virtual void SaveToStream(TStream& stream) const = 0;
  void LoadFromFile(const String& fileName);
  void SaveToFile(const String& fileName) const;

  // Draws the graphic into the rectangle of the canvas (stretched to it).
  // TCanvas::Draw and StretchDraw come here.
  virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;

  // Form streams store a graphic as the binary property "Data": its own
  // stream format (a plain BMP for bitmaps), nothing for an empty graphic.
  void DefineProperties(TFiler* filer) override;

  // Fired after every change; the sender is the graphic.
  TNotifyEvent OnChange;

 protected:
  TGraphic() = default;
  // Marks the graphic modified and fires OnChange.
  virtual void Changed();

 private:
  bool transparent_ = false;
  bool modified_ = false;
};

}  // namespace brevant
