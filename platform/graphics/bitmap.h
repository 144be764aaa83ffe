// TBitmap: an image of 32-bit pixels with its own canvas, read and written
// as plain BMP streams (the form bitmaps take in fields, property streams,
// the clipboard and files), and as PNG on request.
//
// Pixels are always held as 0x00RRGGBB (see ScanLine); PixelFormat records
// the format the image came from or should be saved in: pf32bit saves a
// 32-bit BMP, every other format a 24-bit one. A new or enlarged area is
// white.
//
// Transparent drawing leaves out the pixels of TransparentColor: by default
// (clDefault, TransparentMode tmAuto) the colour of the bottom-left pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/graphic.h"

namespace brevant {

enum TPixelFormat : Byte {
  pfDevice,
  pf1bit,
  pf4bit,
  pf8bit,
  pf15bit,
  pf16bit,
  pf24bit,
  pf32bit,
  pfCustom
};
enum TTransparentMode : Byte { tmAuto, tmFixed };

class TBitmap : public TGraphic {
  BV_CLASS(TBitmap, TGraphic)
 public:
  TBitmap();
  ~TBitmap() override;

  // From another bitmap: pixels, size, format and transparency; nullptr
  // empties the bitmap.
  void Assign(const TPersistent* source) override;

  bool Empty() const override { return width_ == 0 || height_ == 0; }
  Integer Width() const override { return width_; }
  void SetWidth(Integer value) override { SetSize(value, height_); }
  Integer Height() const override { return height_; }
  void SetHeight(Integer value) override { SetSize(width_, value); }
  // Keeps the pixels of the common part. Negative sizes count as 0; sizes
  // beyond the image limits raise EInvalidGraphicOperation.
  void SetSize(Integer width, Integer height);

  TPixelFormat PixelFormat() const { return pixelFormat_; }
  void SetPixelFormat(TPixelFormat value);
  // The colour left out when drawing transparently: the fixed colour, or
  // with tmAuto the bottom-left pixel (clDefault when empty).
  TColor TransparentColor() const;
  // clDefault selects tmAuto; any other colour tmFixed.
  void SetTransparentColor(TColor value);
  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode value);

  // The canvas drawing on the bitmap's pixels (made on first use).
  TCanvas* Canvas();
  // Row y's pixels, Width() of them, 0x00RRGGBB (write the top byte as 0).
  // Raises EInvalidGraphicOperation for a row outside the bitmap. Writing
  // through it fires no OnChange.
  std::uint32_t* ScanLine(Integer y);
  const std::uint32_t* ScanLine(Integer y) const;

  // BMP, or PNG recognised by its signature.
  void LoadFromStream(TStream& stream) override;
  // BMP (32-bit for pf32bit, else 24-bit).
  void SaveToStream(TStream& stream) const override;
  void LoadFromPngStream(TStream& stream);
  void SaveToPngStream(TStream& stream) const;
  void SaveToPngFile(const String& fileName) const;

  void Draw(TCanvas* canvas, const TRect& rect) override;

 protected:
  // Replaces the image (after a successful load).
  void SetImage(Integer width, Integer height, std::vector<std::uint32_t> pixels,
                TPixelFormat format);

 private:
  void CanvasChanged(TObject* sender);
  void Retarget();

  Integer width_ = 0;
  Integer height_ = 0;
  std::vector<std::uint32_t> pixels_;
  TPixelFormat pixelFormat_ = pfDevice;
  TColor transparentColor_ = clDefault;
  TTransparentMode transparentMode_ = tmAuto;
  TObjectPtr<TCanvas> canvas_;
};

// A bitmap saved as PNG: LoadFromStream reads PNG (or BMP), SaveToStream
// writes PNG. Pictures use it for .png files.
class TPngImage : public TBitmap {
  BV_CLASS(TPngImage, TBitmap)
 public:
  TPngImage() = default;
  void SaveToStream(TStream& stream) const override { SaveToPngStream(stream); }
};

}  // namespace brevant
