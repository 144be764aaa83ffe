#include "graphics/bitmap.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "graphics/canvas_internal.h"
#include "graphics/image_codecs.h"
#include "rtl/resstrings.h"
#include "rtl/store_changed.h"
#include "rtl/streams.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TBitmap, TGraphic)
BV_IMPLEMENT_CLASS(TPngImage, TBitmap)

namespace {

constexpr std::uint32_t kWhite = 0x00FFFFFF;

TPixelFormat FormatOfBits(Integer bits) {
  switch (bits) {
    case 1:
      return pf1bit;
    case 4:
      return pf4bit;
    case 8:
      return pf8bit;
    case 16:
      return pf16bit;
    case 32:
      return pf32bit;
    default:
      return pf24bit;
  }
}

}  // namespace

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() = default;

void TBitmap::Assign(const TPersistent* source) {
  if (!source) {
    SetImage(0, 0, {}, pixelFormat_);
    return;
  }
  if (const TBitmap* b = dynamic_cast<const TBitmap*>(source)) {
    if (b == this) return;
    transparentColor_ = b->transparentColor_;
    transparentMode_ = b->transparentMode_;
    TGraphic::SetTransparent(b->Transparent());
    SetImage(b->width_, b->height_, b->pixels_, b->pixelFormat_);
    return;
  }
  TGraphic::Assign(source);
}

void TBitmap::Retarget() {
  if (canvas_) {
    if (Empty())
      canvas_->SetSurface(nullptr, 0, 0, 0);
    else
      canvas_->SetSurface(pixels_.data(), width_, height_, width_ * 4);
  }
}

void TBitmap::SetImage(Integer width, Integer height, std::vector<std::uint32_t> pixels,
                       TPixelFormat format) {
  width_ = width;
  height_ = height;
  pixels_ = std::move(pixels);
  if (width_ == 0 || height_ == 0) pixels_.clear();
  pixelFormat_ = format;
  Retarget();
  Changed();
}

void TBitmap::SetSize(Integer width, Integer height) {
  width = Max(width, 0);
  height = Max(height, 0);
  if (width == width_ && height == height_) return;
  CheckImageSize(width, height);
  std::vector<std::uint32_t> next(size_t(width) * size_t(height), kWhite);
  Integer w = Min(width, width_), h = Min(height, height_);
  for (Integer y = 0; y < h; ++y)
    std::copy_n(pixels_.data() + size_t(y) * size_t(width_), size_t(w),
                next.data() + size_t(y) * size_t(width));
  SetImage(width, height, std::move(next), pixelFormat_);
}

void TBitmap::SetPixelFormat(TPixelFormat value) {
  if (StoreChanged(pixelFormat_, value)) Changed();
}

TColor TBitmap::TransparentColor() const {
  if (transparentMode_ == tmFixed) return transparentColor_;
  if (Empty()) return clDefault;
  return detail::FromPixel(pixels_[size_t(height_ - 1) * size_t(width_)]);
}

void TBitmap::SetTransparentColor(TColor value) {
  if (value == clDefault) {
    transparentMode_ = tmAuto;
  } else {
    transparentMode_ = tmFixed;
    transparentColor_ = value;
  }
  Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode value) {
  if (transparentMode_ == value) return;
  // Fixing the mode keeps the colour in use until then.
  if (value == tmFixed && transparentColor_ == clDefault) transparentColor_ = TransparentColor();
  transparentMode_ = value;
  Changed();
}

TCanvas* TBitmap::Canvas() {
  if (!canvas_) {
    canvas_.reset(Create<TCanvas>());
    canvas_->OnChange = TNotifyEvent::Of<&TBitmap::CanvasChanged>(this);
    Retarget();
  }
  return canvas_.get();
}

void TBitmap::CanvasChanged(TObject*) {
  Changed();
}

std::uint32_t* TBitmap::ScanLine(Integer y) {
  if (y < 0 || y >= height_ || width_ == 0)
    throw EInvalidGraphicOperation(res::SScanLineError, {y});
  // The caller may write: the canvas must not trust what it drew last.
  if (canvas_) canvas_->MarkDirty();
  return pixels_.data() + size_t(y) * size_t(width_);
}

const std::uint32_t* TBitmap::ScanLine(Integer y) const {
  if (y < 0 || y >= height_ || width_ == 0)
    throw EInvalidGraphicOperation(res::SScanLineError, {y});
  return pixels_.data() + size_t(y) * size_t(width_);
}

void TBitmap::LoadFromStream(TStream& stream) {
  if (detail::StreamLooksLikePng(stream)) {
    LoadFromPngStream(stream);
    return;
  }
  detail::TPixelImage img = detail::DecodeBmp(stream);
  SetImage(img.Width, img.Height, std::move(img.Pixels), FormatOfBits(img.BitsPerPixel));
}

void TBitmap::SaveToStream(TStream& stream) const {
  detail::EncodeBmp(pixels_.data(), width_, height_, width_, pixelFormat_ == pf32bit, stream);
}

void TBitmap::LoadFromPngStream(TStream& stream) {
  detail::TPixelImage img = detail::DecodePng(stream);
  SetImage(img.Width, img.Height, std::move(img.Pixels), pf24bit);
}

void TBitmap::SaveToPngStream(TStream& stream) const {
  detail::EncodePng(pixels_.data(), width_, height_, width_, stream);
}

void TBitmap::SaveToPngFile(const String& fileName) const {
  TMemoryStream memory;
  SaveToPngStream(memory);
  TFileStream file(fileName, fmCreate);
  memory.SaveToStream(file);
}

void TBitmap::Draw(TCanvas* canvas, const TRect& rect) {
  if (!canvas || Empty()) return;
  TRect all(0, 0, width_, height_);
  if (Transparent())
    canvas->DrawPixels(rect, pixels_.data(), width_, height_, width_, all, cmSrcCopy,
                       TransparentColor());
  else
    canvas->DrawPixels(rect, pixels_.data(), width_, height_, width_, all, canvas->CopyMode());
}

}  // namespace brevant
