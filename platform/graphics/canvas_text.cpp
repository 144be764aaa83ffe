// TCanvas: measuring and drawing text.
#include <pango/pangocairo.h>

#include <cstring>

#include "graphics/canvas.h"
#include "graphics/canvas_internal.h"
#include "graphics/text_engine.h"

namespace brevant {

using namespace detail;

namespace {

Cardinal LayoutMode(Cardinal format) {
  Cardinal mode = 0;
  if (format & DT_SINGLELINE) mode |= tmSingleLine;
  if (format & DT_WORDBREAK) mode |= tmWordBreak;
  if (format & DT_EDITCONTROL) mode |= tmEditControl;
  if (!(format & DT_NOPREFIX)) {
    mode |= tmPrefix;
    if (format & DT_HIDEPREFIX) mode |= tmHidePrefix;
  }
  return mode;
}

Integer LineX(const TTextLine& line, Integer x, Integer width, Cardinal format) {
  if (format & DT_CENTER) return ClampCoord(Int64(x) + (Int64(width) - line.Width) / 2);
  if (format & DT_RIGHT) return ClampCoord(Int64(x) + width - line.Width);
  return x;
}

// Four pixels, or four values one per pixel.
typedef std::uint32_t TPixel4 __attribute__((vector_size(16)));

// Each of the four bytes of x times a / 255, rounded as the compositor
// rounds it (two bytes per multiplication, no carry between them); for one
// pixel or four pixels at once.
template <class T>
inline T MulUn8x4(T x, T a) {
  T rb = (x & 0xFF00FFu) * a + 0x800080u;
  rb = ((rb + ((rb >> 8) & 0xFF00FFu)) >> 8) & 0xFF00FFu;
  T ag = ((x >> 8) & 0xFF00FFu) * a + 0x800080u;
  ag = (ag + ((ag >> 8) & 0xFF00FFu)) & 0xFF00FF00u;
  return rb | ag;
}

// The run's coverage over the pixels inside `visible`: the text colour
// `source` (opaque) in proportion to the coverage over what is there, each
// of the four bytes as the compositor computes it, four pixels at a time
// (an uncovered pixel keeps its value, a fully covered one takes the colour).
// The text colour at every coverage, for the colour painted last (painting
// happens on the UI thread only).
struct TInkColour {
  std::uint32_t Source = 0;            // the opaque colour the table holds (0: none yet)
  std::uint32_t ByCoverage[256] = {};  // Source times each coverage
  void Use(std::uint32_t source) {
    if (source == Source) return;
    Source = source;
    for (std::uint32_t m = 0; m < 256; ++m) ByCoverage[m] = MulUn8x4<std::uint32_t>(source, m);
  }
};

void PaintRunInk(std::uint32_t* pixels, Integer stride, const TRect& visible, Integer x, Integer y,
                 const TRunInk& run, const TInkColour& colour) {
  const Integer left = Max(visible.Left, x + run.Left);
  const Integer right = Min(visible.Right, x + run.Left + run.Width);
  const Integer top = Max(visible.Top, y + run.Top);
  const Integer bottom = Min(visible.Bottom, y + run.Top + run.Height);
  if (left >= right) return;
  const size_t count = size_t(right - left);
  for (Integer py = top; py < bottom; ++py) {
    const Byte* coverage = run.Coverage.data() + size_t(py - y - run.Top) * size_t(run.Width) +
                           size_t(left - x - run.Left);
    std::uint32_t* line = pixels + size_t(py) * size_t(stride) + left;
    size_t i = 0;
    for (; i + 4 <= count; i += 4) {
      std::uint32_t four;
      std::memcpy(&four, coverage + i, sizeof four);
      if (!four) continue;
      const TPixel4 m = {four & 0xFF, (four >> 8) & 0xFF, (four >> 16) & 0xFF, four >> 24};
      const TPixel4 s = {colour.ByCoverage[m[0]], colour.ByCoverage[m[1]], colour.ByCoverage[m[2]],
                         colour.ByCoverage[m[3]]};
      TPixel4 d;
      std::memcpy(&d, line + i, sizeof d);
      d = s + MulUn8x4(d, 0xFF - m);
      std::memcpy(line + i, &d, sizeof d);
    }
    for (; i < count; ++i) {
      const std::uint32_t m = coverage[i];
      if (m) line[i] = colour.ByCoverage[m] + MulUn8x4(line[i], 0xFF - m);
    }
  }
}

}  // namespace

void TCanvas::PaintText(const detail::TTextLayout& layout, Integer x, Integer y, Integer width,
                        Cardinal format, const TRect* deviceClip) {
  if (!pixels_) return;
  TRect box(INT32_MAX, y, INT32_MIN, ClampCoord(Int64(y) + layout.Height));
  for (const TTextLine& line : layout.Lines) {
    Integer lx = LineX(line, x, width, format);
    box.Left = Min(box.Left, ClampCoord(Int64(lx) - line.Height));
    box.Right = Max(box.Right, ClampCoord(Int64(lx) + line.Width + line.Height));
  }
  TRect visible = clipBounds_;
  if (deviceClip && !IntersectRect(visible, visible, *deviceClip)) return;
  TRect hit;
  if (!IntersectRect(hit, box, visible)) return;

  if (bkMode_ == OPAQUE) {
    std::uint32_t bk = ToPixel(bkColor_);
    for (const TTextLine& line : layout.Lines) {
      Integer lx = LineX(line, x, width, format);
      TRect cell(lx, ClampCoord(Int64(y) + line.Top), ClampCoord(Int64(lx) + line.Width),
                 ClampCoord(Int64(y) + line.Top + line.Height));
      if (deviceClip && !IntersectRect(cell, cell, *deviceClip)) continue;
      FillDevice(cell, bk, R2_COPYPEN);
    }
  }

  // Lines whose ink is kept paint through it when one rectangle clips.
  if (clip_.Rects().size() == 1) {
    bool inked = true;
    for (const TTextLine& line : layout.Lines) inked = inked && LineInk(line).Usable;
    if (inked) {
      static TInkColour colour;
      colour.Use(0xFF000000u | ToPixel(textColor_));
      for (const TTextLine& line : layout.Lines) {
        const Int64 top = Int64(y) + line.Top;
        if (top >= visible.Bottom || top + line.Height <= visible.Top) continue;
        const Integer lx = LineX(line, x, width, format);
        for (const TRunInk& run : LineInk(line).Runs)
          PaintRunInk(pixels_, stride_, visible, lx - line.OffsetX,
                      ClampCoord(Int64(y) + line.Baseline), run, colour);
      }
      return;
    }
  }

  if (!cairo_) {
    cairo_ = std::make_unique<TCairoTarget>();
    cairo_->Surface =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels_),
                                            CAIRO_FORMAT_RGB24, width_, height_, stride_ * 4);
    cairo_->Cr = cairo_create(cairo_->Surface);
  }
  cairo_t* cr = cairo_->Cr;
  if (cairo_->Dirty) {
    cairo_surface_mark_dirty(cairo_->Surface);
    cairo_->Dirty = false;
  }
  if (cairo_->ClipSerial != clipSerial_) {
    cairo_reset_clip(cr);
    cairo_new_path(cr);
    for (const TRect& r : clip_.Rects()) cairo_rectangle(cr, r.Left, r.Top, r.Width(), r.Height());
    if (clip_.IsEmpty()) cairo_rectangle(cr, 0, 0, 0, 0);
    cairo_clip(cr);
    cairo_->ClipSerial = clipSerial_;
  }
  cairo_save(cr);
  if (deviceClip) {
    cairo_rectangle(cr, deviceClip->Left, deviceClip->Top, deviceClip->Width(),
                    deviceClip->Height());
    cairo_clip(cr);
  }
  std::uint32_t color = ToPixel(textColor_);
  cairo_set_source_rgb(cr, ((color >> 16) & 0xFF) / 255.0, ((color >> 8) & 0xFF) / 255.0,
                       (color & 0xFF) / 255.0);
  for (const TTextLine& line : layout.Lines) {
    Integer top = ClampCoord(Int64(y) + line.Top);
    if (top >= visible.Bottom || Int64(top) + line.Height <= visible.Top) continue;
    Integer lx = LineX(line, x, width, format);
    cairo_move_to(cr, double(lx) - line.OffsetX, double(y) + line.Baseline);
    pango_cairo_show_layout_line(cr, line.Line);
  }
  cairo_restore(cr);
  cairo_surface_flush(cairo_->Surface);
}

TSize TCanvas::TextExtent(const String& text) const {
  auto layout = LayoutText(font_->TextFont(), text, tmSingleLine, -1, -1);
  return {layout->Width, layout->Height};
}

void TCanvas::TextOut(Integer x, Integer y, const String& text) {
  auto layout = LayoutText(font_->TextFont(), text, tmSingleLine, -1, -1);
  Changing();
  TPoint d = ToDevice(x, y);
  PaintText(*layout, d.X, d.Y, layout->Width, DT_LEFT, nullptr);
  penPos_ = {ClampCoord(Int64(x) + layout->Width), y};
  Changed();
}

void TCanvas::TextRect(const TRect& rect, Integer x, Integer y, const String& text) {
  auto layout = LayoutText(font_->TextFont(), text, tmSingleLine, -1, -1);
  TRect clip = ToDevice(rect);
  if (IsRectEmpty(clip)) return;
  Changing();
  Integer keepMode = bkMode_;
  if (brush_->Style() != bsClear) {
    // The whole rectangle takes the background; the text goes over it.
    FillDevice(clip, ToPixel(bkColor_), R2_COPYPEN);
    bkMode_ = TRANSPARENT;
  }
  TPoint d = ToDevice(x, y);
  PaintText(*layout, d.X, d.Y, layout->Width, DT_LEFT, &clip);
  bkMode_ = keepMode;
  Changed();
}

Integer TCanvas::DrawText(const String& text, TRect& rect, Cardinal format) {
  const TTextFont& font = font_->TextFont();
  Cardinal mode = LayoutMode(format);
  Integer width = Max<Integer>(0, ClampCoord(Int64(rect.Right) - rect.Left));
  Integer height = Max<Integer>(0, ClampCoord(Int64(rect.Bottom) - rect.Top));
  if (format & DT_CALCRECT) {
    // The whole text, without ellipsis or dropped lines.
    auto layout = LayoutText(font, text, mode, width, -1);
    rect.Right = ClampCoord(Int64(rect.Left) + layout->Width);
    rect.Bottom = ClampCoord(Int64(rect.Top) + layout->Height);
    return layout->Height;
  }
  if (format & DT_END_ELLIPSIS) mode |= tmEndEllipsis;
  bool wrap = (mode & tmWordBreak) && !(mode & tmSingleLine);
  Integer limit = (wrap && (mode & (tmEditControl | tmEndEllipsis))) ? height : -1;
  auto layout = LayoutText(font, text, mode, width, limit);
  Int64 top = rect.Top;
  bool single = format & DT_SINGLELINE;
  if (single && (format & DT_VCENTER))
    top = Int64(rect.Top) + (Int64(height) - layout->Height) / 2;
  else if (single && (format & DT_BOTTOM))
    top = Int64(rect.Bottom) - layout->Height;
  if (pixels_) {
    Changing();
    TRect d = ToDevice(rect);
    TPoint at = ToDevice(rect.Left, ClampCoord(top));
    PaintText(*layout, at.X, at.Y, width, format, (format & DT_NOCLIP) ? nullptr : &d);
    Changed();
  }
  if (single && (format & (DT_VCENTER | DT_BOTTOM)))
    return ClampCoord(top - rect.Top + layout->Height);
  return layout->Height;
}

}  // namespace brevant
