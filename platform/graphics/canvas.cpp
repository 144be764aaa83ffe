#include "graphics/canvas.h"

#include <algorithm>
#include <cstring>

#include "classes/rtti_builder.h"
#include "graphics/canvas_internal.h"
#include "graphics/graphic.h"
#include "graphics/image_codecs.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"

namespace brevant {

using namespace detail;

BV_IMPLEMENT_CLASS(TCanvas, TPersistent)

namespace {

constexpr TRect kEverywhere(-Integer(kCoordLimit), -Integer(kCoordLimit), Integer(kCoordLimit),
                            Integer(kCoordLimit));

}  // namespace

// ---- construction and surface ---------------------------------------------

TCanvas::TCanvas() : font_(Create<TFont>()), pen_(Create<TPen>()), brush_(Create<TBrush>()) {
  font_->OnChange = TNotifyEvent::Of<&TCanvas::FontChanged>(this);
  brush_->OnChange = TNotifyEvent::Of<&TCanvas::BrushChanged>(this);
  textColor_ = font_->Color();
  bkColor_ = brush_->Color();
  UpdateClip();
}

TCanvas::TCanvas(std::uint32_t* pixels, Integer width, Integer height, Integer stride) : TCanvas() {
  SetSurface(pixels, width, height, stride);
}

TCanvas::~TCanvas() = default;

void TCanvas::SetSurface(std::uint32_t* pixels, Integer width, Integer height, Integer stride) {
  if (pixels && width > 0 && height > 0) {
    if (!ImageSizeAllowed(width, height) || stride % 4 != 0 || Int64(stride) < Int64(width) * 4)
      throw EInvalidGraphicOperation(res::SInvalidSurface, {width, height, stride});
  } else {
    pixels = nullptr;
    width = height = stride = 0;
  }
  cairo_.reset();
  pixels_ = pixels;
  width_ = width;
  height_ = height;
  stride_ = stride / 4;
  hasDeviceClip_ = false;
  deviceClip_.Clear();
  UpdateClip();
}

void TCanvas::MarkDirty() {
  if (cairo_) cairo_->Dirty = true;
}

void TCanvas::FontChanged(TObject*) {
  textColor_ = font_->Color();
}

void TCanvas::BrushChanged(TObject*) {
  if (brush_->Style() == bsSolid) {
    bkColor_ = brush_->Color();
    bkMode_ = OPAQUE;
  } else {
    // Hatches draw over what is there; the inverse colour keeps a hatch
    // visible should someone turn the background mode on.
    bkColor_ = FromPixel(~ToPixel(brush_->Color()) & kRgbMask);
    bkMode_ = TRANSPARENT;
  }
}

// ---- coordinates and clipping ------------------------------------------------

TRect TCanvas::ToDevice(const TRect& r) const {
  return {ClampCoord(Int64(r.Left) + origin_.X), ClampCoord(Int64(r.Top) + origin_.Y),
          ClampCoord(Int64(r.Right) + origin_.X), ClampCoord(Int64(r.Bottom) + origin_.Y)};
}

TPoint TCanvas::ToDevice(Integer x, Integer y) const {
  return {ClampCoord(Int64(x) + origin_.X), ClampCoord(Int64(y) + origin_.Y)};
}

void TCanvas::UpdateClip() {
  clip_ = TRegion(TRect(0, 0, width_, height_));
  if (hasDeviceClip_) clip_.Intersect(deviceClip_);
  if (hasUserClip_) clip_.Intersect(userClip_);
  clipBounds_ = clip_.Bounds();
  ++clipSerial_;
}

TRect TCanvas::ClipRect() const {
  if (clip_.IsEmpty()) return {};
  TRect r = clipBounds_;
  return {ClampCoord(Int64(r.Left) - origin_.X), ClampCoord(Int64(r.Top) - origin_.Y),
          ClampCoord(Int64(r.Right) - origin_.X), ClampCoord(Int64(r.Bottom) - origin_.Y)};
}

Integer TCanvas::IntersectClipRect(const TRect& rect) {
  TRect d = ToDevice(rect);
  if (!hasUserClip_) {
    userClip_ = TRegion(d);
    hasUserClip_ = true;
  } else {
    userClip_.Intersect(d);
  }
  UpdateClip();
  return clip_.Kind();
}

Integer TCanvas::ExcludeClipRect(const TRect& rect) {
  if (!hasUserClip_) {
    userClip_ = TRegion(kEverywhere);
    hasUserClip_ = true;
  }
  userClip_.Subtract(ToDevice(rect));
  UpdateClip();
  return clip_.Kind();
}

Integer TCanvas::SelectClipRegion(const TRegion& region) {
  userClip_ = region;
  userClip_.Offset(origin_.X, origin_.Y);
  hasUserClip_ = true;
  UpdateClip();
  return clip_.Kind();
}

void TCanvas::ResetClip() {
  hasUserClip_ = false;
  userClip_.Clear();
  UpdateClip();
}

void TCanvas::SetDeviceClip(const TRegion& region) {
  deviceClip_ = region;
  hasDeviceClip_ = true;
  UpdateClip();
}

void TCanvas::ResetDeviceClip() {
  hasDeviceClip_ = false;
  deviceClip_.Clear();
  UpdateClip();
}

bool TCanvas::RectVisible(const TRect& rect) const {
  return clip_.Intersects(ToDevice(rect));
}

bool TCanvas::PtVisible(const TPoint& p) const {
  return clip_.Contains(ToDevice(p.X, p.Y));
}

Integer TCanvas::SaveDC() {
  saved_.push_back(
      {origin_, penPos_, textColor_, bkColor_, bkMode_, copyMode_, hasUserClip_, userClip_});
  return static_cast<Integer>(saved_.size());
}

bool TCanvas::RestoreDC(Integer savedDC) {
  Int64 index = savedDC > 0 ? Int64(savedDC) - 1 : Int64(saved_.size()) + savedDC;
  if (savedDC == 0 || index < 0 || index >= Int64(saved_.size())) return false;
  const TSavedState& s = saved_[size_t(index)];
  origin_ = s.Origin;
  penPos_ = s.PenPos;
  textColor_ = s.TextColor;
  bkColor_ = s.BkColor;
  bkMode_ = s.BkMode;
  copyMode_ = s.CopyMode;
  hasUserClip_ = s.HasUserClip;
  userClip_ = s.UserClip;
  saved_.resize(size_t(index));
  UpdateClip();
  return true;
}

// ---- device primitives ---------------------------------------------------------

void TCanvas::FillDevice(const TRect& r, std::uint32_t pixel, Integer rop2) {
  if (rop2 == R2_NOP) return;
  MarkDirty();
  if (rop2 == R2_COPYPEN) {
    ForEachClipped(r, [&](std::uint32_t* line, Integer x0, Integer x1, Integer) {
      FillPixels(line + x0, size_t(x1 - x0), pixel);
    });
    return;
  }
  ForEachClipped(r, [&](std::uint32_t* line, Integer x0, Integer x1, Integer) {
    for (Integer x = x0; x < x1; ++x) line[x] = ApplyRop2(line[x], pixel, rop2);
  });
}

void TCanvas::FillDeviceWithBrush(const TRect& r, Integer rop2) {
  TBrushStyle style = brush_->Style();
  if (style == bsClear) return;
  std::uint32_t pixel = ToPixel(brush_->Color());
  if (style == bsSolid) {
    FillDevice(r, pixel, rop2);
    return;
  }
  MarkDirty();
  bool opaque = bkMode_ == OPAQUE;
  std::uint32_t bk = ToPixel(bkColor_);
  ForEachClipped(r, [&](std::uint32_t* line, Integer x0, Integer x1, Integer y) {
    for (Integer x = x0; x < x1; ++x) {
      if (HatchCovers(style, x, y))
        line[x] = ApplyRop2(line[x], pixel, rop2);
      else if (opaque)
        line[x] = ApplyRop2(line[x], bk, rop2);
    }
  });
}

void TCanvas::PlotDevice(Int64 x, Int64 y, std::uint32_t pixel, Integer rop2) {
  if (x < clipBounds_.Left || x >= clipBounds_.Right || y < clipBounds_.Top ||
      y >= clipBounds_.Bottom)
    return;
  TPoint p(static_cast<Integer>(x), static_cast<Integer>(y));
  if (clip_.Rects().size() > 1 && !clip_.Contains(p)) return;
  MarkDirty();
  std::uint32_t& d = pixels_[size_t(p.Y) * size_t(stride_) + size_t(p.X)];
  d = ApplyRop2(d, pixel, rop2);
}

// A one-pixel line from (x0, y0) up to, not including, (x1, y1).
void TCanvas::LineDevice(Int64 x0, Int64 y0, Int64 x1, Int64 y1) {
  if (!pixels_ || clip_.IsEmpty()) return;
  TPenStyle style = pen_->Style();
  if (style == psClear) return;
  std::uint32_t pixel = ToPixel(pen_->Color());
  Integer rop2 = Rop2OfPenMode(pen_->Mode());
  const TDashPattern* dash = DashPatternOf(style);
  if (!dash) {
    // Straight solid lines are rectangles one pixel wide.
    if (y0 == y1 && x0 != x1) {
      Int64 l = x1 > x0 ? x0 : x1 + 1, r = x1 > x0 ? x1 : x0 + 1;
      FillDevice(TRect(ClampCoord(l), ClampCoord(y0), ClampCoord(r), ClampCoord(y0 + 1)), pixel,
                 rop2);
      return;
    }
    if (x0 == x1 && y0 != y1) {
      Int64 t = y1 > y0 ? y0 : y1 + 1, b = y1 > y0 ? y1 : y0 + 1;
      FillDevice(TRect(ClampCoord(x0), ClampCoord(t), ClampCoord(x0 + 1), ClampCoord(b)), pixel,
                 rop2);
      return;
    }
  }
  bool opaque = bkMode_ == OPAQUE;
  std::uint32_t bk = ToPixel(bkColor_);
  WalkLine(x0, y0, x1, y1, clipBounds_, [&](Int64 x, Int64 y, Int64 t) {
    if (!dash || DashOn(*dash, t))
      PlotDevice(x, y, pixel, rop2);
    else if (opaque)
      PlotDevice(x, y, bk, rop2);
  });
}

// ---- lines ------------------------------------------------------------------------

void TCanvas::MoveTo(Integer x, Integer y) {
  penPos_ = {x, y};
}

void TCanvas::LineTo(Integer x, Integer y) {
  Changing();
  TPoint a = ToDevice(penPos_.X, penPos_.Y), b = ToDevice(x, y);
  if (pen_->Width() > 1 && pen_->Style() != psClear)
    WideLineDevice(a.X, a.Y, b.X, b.Y);
  else
    LineDevice(a.X, a.Y, b.X, b.Y);
  penPos_ = {x, y};
  Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
  if (points.empty()) return;
  TPoint keep = penPos_;
  MoveTo(points[0].X, points[0].Y);
  for (size_t i = 1; i < points.size(); ++i) LineTo(points[i].X, points[i].Y);
  penPos_ = keep;
}

// ---- areas -------------------------------------------------------------------------

void TCanvas::FillRect(const TRect& rect) {
  Changing();
  FillDeviceWithBrush(ToDevice(rect), R2_COPYPEN);
  Changed();
}

void TCanvas::FrameRect(const TRect& rect) {
  if (IsRectEmpty(rect) || brush_->Style() == bsClear) return;
  Changing();
  TRect d = ToDevice(rect);
  FillDeviceWithBrush({d.Left, d.Top, d.Right, d.Top + 1}, R2_COPYPEN);
  if (d.Bottom - 1 > d.Top)
    FillDeviceWithBrush({d.Left, d.Bottom - 1, d.Right, d.Bottom}, R2_COPYPEN);
  FillDeviceWithBrush({d.Left, d.Top + 1, d.Left + 1, d.Bottom - 1}, R2_COPYPEN);
  if (d.Right - 1 > d.Left)
    FillDeviceWithBrush({d.Right - 1, d.Top + 1, d.Right, d.Bottom - 1}, R2_COPYPEN);
  Changed();
}

void TCanvas::InvertRect(const TRect& rect) {
  Changing();
  FillDevice(ToDevice(rect), 0, R2_NOT);
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& rect) {
  if (IsRectEmpty(rect) || !pixels_) return;
  Changing();
  MarkDirty();
  TRect d = ToDevice(rect);
  std::uint32_t even = ToPixel(bkColor_), odd = ToPixel(textColor_);
  auto dots = [&](const TRect& part) {
    ForEachClipped(part, [&](std::uint32_t* line, Integer x0, Integer x1, Integer y) {
      for (Integer x = x0; x < x1; ++x)
        line[x] = (line[x] ^ (((x + y) & 1) ? odd : even)) & kRgbMask;
    });
  };
  dots({d.Left, d.Top, d.Right, d.Top + 1});
  if (d.Bottom - 1 > d.Top) dots({d.Left, d.Bottom - 1, d.Right, d.Bottom});
  dots({d.Left, d.Top + 1, d.Left + 1, d.Bottom - 1});
  if (d.Right - 1 > d.Left) dots({d.Right - 1, d.Top + 1, d.Right, d.Bottom - 1});
  Changed();
}

// ---- pixels ---------------------------------------------------------------------------

TColor TCanvas::Pixels(Integer x, Integer y) const {
  TPoint p = ToDevice(x, y);
  if (!pixels_ || !clip_.Contains(p)) return -1;
  return FromPixel(pixels_[size_t(p.Y) * size_t(stride_) + size_t(p.X)]);
}

void TCanvas::SetPixels(Integer x, Integer y, TColor color) {
  if (!pixels_) return;
  Changing();
  TPoint p = ToDevice(x, y);
  PlotDevice(p.X, p.Y, ToPixel(color), R2_COPYPEN);
  Changed();
}

// ---- copying ----------------------------------------------------------------------------

void TCanvas::CopyRect(const TRect& dest, const TCanvas* source, const TRect& srcRect) {
  StretchBlt(dest, source, srcRect, copyMode_);
}

void TCanvas::StretchBlt(const TRect& dest, const TCanvas* source, const TRect& srcRect,
                         TCopyMode rop) {
  auto rop3 = static_cast<std::uint8_t>((rop >> 16) & 0xFF);
  if (!Rop3UsesSource(rop3)) {
    BlitPixels(dest, nullptr, 0, 0, 0, srcRect, rop, clNone, nullptr);
    return;
  }
  if (!source || !source->pixels_) return;
  BlitPixels(dest, source->pixels_, source->width_, source->height_, source->stride_,
             source->ToDevice(srcRect), rop, clNone, nullptr);
}

void TCanvas::TransparentBlt(const TRect& dest, const TCanvas* source, const TRect& srcRect,
                             TColor transparentColor) {
  if (!source || !source->pixels_) return;
  BlitPixels(dest, source->pixels_, source->width_, source->height_, source->stride_,
             source->ToDevice(srcRect), cmSrcCopy, transparentColor, nullptr);
}

void TCanvas::DrawPixels(const TRect& dest, const std::uint32_t* pixels, Integer width,
                         Integer height, Integer stride, const TRect& srcRect, TCopyMode rop,
                         TColor transparentColor, const Byte* mask) {
  if (!pixels || width <= 0 || height <= 0 || stride < width) return;
  BlitPixels(dest, pixels, width, height, stride, srcRect, rop, transparentColor, mask);
}

// The copy behind every blit: nearest-pixel stretching, mirroring, the
// ternary raster operation, and optional colour key and mask.
void TCanvas::BlitPixels(const TRect& dest, const std::uint32_t* srcPixels, Integer srcWidth,
                         Integer srcHeight, Integer srcStride, TRect s, TCopyMode rop,
                         TColor transparentColor, const Byte* mask) {
  if (!pixels_) return;
  auto rop3 = static_cast<std::uint8_t>((rop >> 16) & 0xFF);
  bool usesSource = srcPixels != nullptr;
  TRect d = ToDevice(dest);
  bool mirrorX = d.Right < d.Left, mirrorY = d.Bottom < d.Top;
  if (mirrorX) std::swap(d.Left, d.Right);
  if (mirrorY) std::swap(d.Top, d.Bottom);
  if (IsRectEmpty(d)) return;
  if (!usesSource) s = d;
  if (s.Right < s.Left) {
    std::swap(s.Left, s.Right);
    mirrorX = !mirrorX;
  }
  if (s.Bottom < s.Top) {
    std::swap(s.Top, s.Bottom);
    mirrorY = !mirrorY;
  }
  if (IsRectEmpty(s) || IsRectEmpty(clipBounds_)) return;
  Changing();
  MarkDirty();
  Int64 dw = d.Width(), dh = d.Height(), sw = s.Width(), sh = s.Height();
  const bool keyed = transparentColor != clNone && transparentColor != clDefault;
  const bool oneToOne =
      usesSource && rop3 == 0xCC && !keyed && !mask && !mirrorX && !mirrorY && sw == dw && sh == dh;
  if (oneToOne && srcPixels == pixels_ && srcStride == stride_ && clip_.Rects().size() == 1) {
    MoveWithin(d, s, srcWidth, srcHeight);
    Changed();
    return;
  }
  // Source pixels come from a copy when they lie in this very surface.
  std::vector<std::uint32_t> copy;
  std::vector<Byte> maskCopy;
  Int64 offX = 0, offY = 0, limW = srcWidth, limH = srcHeight;
  const std::uint32_t* src = srcPixels;
  if (usesSource) {
    auto from = reinterpret_cast<std::uintptr_t>(srcPixels);
    auto to = reinterpret_cast<std::uintptr_t>(
        srcPixels + (size_t(srcHeight) - 1) * size_t(srcStride) + size_t(srcWidth));
    auto mine = reinterpret_cast<std::uintptr_t>(pixels_);
    auto mineEnd = reinterpret_cast<std::uintptr_t>(
        pixels_ + (size_t(height_) - 1) * size_t(stride_) + size_t(width_));
    if (from < mineEnd && mine < to) {
      Int64 sourceStride = srcStride;
      TRect inside;
      if (!IntersectRect(inside, s, TRect(0, 0, srcWidth, srcHeight))) {
        Changed();
        return;
      }
      copy.resize(size_t(inside.Width()) * size_t(inside.Height()));
      for (Integer y = inside.Top; y < inside.Bottom; ++y)
        std::memcpy(copy.data() + size_t(y - inside.Top) * size_t(inside.Width()),
                    srcPixels + size_t(y) * size_t(sourceStride) + size_t(inside.Left),
                    size_t(inside.Width()) * 4);
      src = copy.data();
      offX = inside.Left;
      offY = inside.Top;
      limW = inside.Right;
      limH = inside.Bottom;
      srcStride = inside.Width();
      if (mask) {
        maskCopy.resize(copy.size());
        for (Integer y = inside.Top; y < inside.Bottom; ++y)
          std::memcpy(maskCopy.data() + size_t(y - inside.Top) * size_t(inside.Width()),
                      mask + size_t(y) * size_t(sourceStride) + size_t(inside.Left),
                      size_t(inside.Width()));
        mask = maskCopy.data();
      }
    }
  }
  std::uint32_t key = keyed ? ToPixel(transparentColor) : 0;
  std::uint32_t pattern = ToPixel(brush_->Color());
  if (oneToOne) {
    // A plain one-to-one copy: whole row runs, no per-pixel scaling.
    ForEachClipped(d, [&](std::uint32_t* line, Integer x0, Integer x1, Integer y) {
      const Int64 sy = s.Top + (y - d.Top);
      if (sy < offY || sy >= limH) return;
      const Int64 shift = s.Left - d.Left - offX;  // destination x to source index
      const Int64 first = std::max<Int64>(x0, d.Left + (offX - s.Left));
      const Int64 last = std::min<Int64>(x1, d.Left + (limW - s.Left));
      const std::uint32_t* srow = src + size_t(sy - offY) * size_t(srcStride);
      if (first < last) CopyPixelsRgb(line + first, srow + first + shift, size_t(last - first));
    });
    Changed();
    return;
  }
  ForEachClipped(d, [&](std::uint32_t* line, Integer x0, Integer x1, Integer y) {
    Int64 ry = y - d.Top;
    if (mirrorY) ry = dh - 1 - ry;
    Int64 sy = s.Top + ry * sh / dh;
    if (usesSource && (sy < offY || sy >= limH)) return;
    const std::uint32_t* srow = usesSource ? src + size_t(sy - offY) * size_t(srcStride) : nullptr;
    const Byte* mrow = mask ? mask + size_t(sy - offY) * size_t(srcStride) : nullptr;
    for (Integer x = x0; x < x1; ++x) {
      std::uint32_t sp = 0;
      if (usesSource) {
        Int64 rx = x - d.Left;
        if (mirrorX) rx = dw - 1 - rx;
        Int64 sx = s.Left + rx * sw / dw;
        if (sx < offX || sx >= limW) continue;
        if (mrow && !mrow[sx - offX]) continue;
        sp = srow[sx - offX] & kRgbMask;
        if (keyed && sp == key) continue;
      }
      line[x] = rop3 == 0xCC ? sp : ApplyRop3(line[x], sp, pattern, rop3);
    }
  });
  Changed();
}

void TCanvas::MoveWithin(const TRect& d, const TRect& s, Integer width, Integer height) {
  // Pixels move in place, with no copy of the surface: rows are visited so
  // that none is read after being written, and a row moving sideways within
  // itself is moved as a whole.
  const TRect& c = clip_.Rects().front();
  const Int64 dx = s.Left - d.Left, dy = s.Top - d.Top;
  const Int64 l = std::max<Int64>({d.Left, c.Left, -dx});
  const Int64 r = std::min<Int64>({d.Right, c.Right, width - dx});
  const Int64 t = std::max<Int64>({d.Top, c.Top, -dy});
  const Int64 b = std::min<Int64>({d.Bottom, c.Bottom, height - dy});
  if (l >= r || t >= b) return;
  auto moveRow = [&](Int64 y) {
    std::uint32_t* line = pixels_ + size_t(y) * size_t(stride_);
    const std::uint32_t* from = pixels_ + size_t(y + dy) * size_t(stride_);
    if (dy == 0) {
      std::memmove(line + l, from + l + dx, size_t(r - l) * 4);
      MaskPixelsRgb(line + l, size_t(r - l));
    } else {
      CopyPixelsRgb(line + l, from + l + dx, size_t(r - l));
    }
  };
  if (dy < 0)
    for (Int64 y = b - 1; y >= t; --y) moveRow(y);
  else
    for (Int64 y = t; y < b; ++y) moveRow(y);
}

void TCanvas::ScrollRect(Integer dx, Integer dy, const TRect& rect, const TRect& clip) {
  TRect moved = rect;
  moved.Left = ClampCoord(Int64(rect.Left) + dx);
  moved.Right = ClampCoord(Int64(rect.Right) + dx);
  moved.Top = ClampCoord(Int64(rect.Top) + dy);
  moved.Bottom = ClampCoord(Int64(rect.Bottom) + dy);
  TRect dest;
  if (!IntersectRect(dest, moved, clip)) return;
  TRect from(ClampCoord(Int64(dest.Left) - dx), ClampCoord(Int64(dest.Top) - dy),
             ClampCoord(Int64(dest.Right) - dx), ClampCoord(Int64(dest.Bottom) - dy));
  StretchBlt(dest, this, from, cmSrcCopy);
}

void TCanvas::Draw(Integer x, Integer y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(this, TRect(x, y, ClampCoord(Int64(x) + graphic->Width()),
                            ClampCoord(Int64(y) + graphic->Height())));
}

void TCanvas::StretchDraw(const TRect& rect, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  graphic->Draw(this, rect);
}

void SaveCanvasToPng(const TCanvas& canvas, const String& fileName) {
  TMemoryStream memory;
  EncodePng(canvas.PixelData(), canvas.SurfaceWidth(), canvas.SurfaceHeight(), canvas.Stride() / 4,
            memory);
  TFileStream file(fileName, fmCreate);
  memory.SaveToStream(file);
}

}  // namespace brevant
