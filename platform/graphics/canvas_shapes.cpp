// TCanvas: rectangles, ellipses, polygons and wide lines.
#include <cairo.h>

#include <cmath>
#include <vector>

#include "graphics/canvas.h"
#include "graphics/canvas_internal.h"

namespace brevant {

using namespace detail;

namespace {

// Mask values: what paints a pixel.
constexpr unsigned char kMaskBrush = 128;
constexpr unsigned char kMaskGap = 200;
constexpr unsigned char kMaskPen = 255;

// The mask of a shape over the device rectangle Bounds.
struct TMask {
  cairo_t* Cr = nullptr;  // draws in device coordinates
  unsigned char* Data = nullptr;
  Integer Stride = 0;
  TRect Bounds;

  void Flush() { cairo_surface_flush(cairo_get_target(Cr)); }
  // Fills the current path with a mask value (cairo draws aliased).
  void Fill(unsigned char value, bool evenOdd) {
    cairo_set_fill_rule(Cr, evenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
    cairo_set_source_rgba(Cr, 0, 0, 0, value / 255.0);
    cairo_fill(Cr);
  }
  void Stroke(unsigned char value, double width) {
    cairo_set_line_width(Cr, width);
    cairo_set_source_rgba(Cr, 0, 0, 0, value / 255.0);
    cairo_stroke(Cr);
  }
  // Marks one pixel (after cairo drawing is flushed).
  void Set(Int64 x, Int64 y, unsigned char value) {
    if (x < Bounds.Left || x >= Bounds.Right || y < Bounds.Top || y >= Bounds.Bottom) return;
    Data[size_t(y - Bounds.Top) * size_t(Stride) + size_t(x - Bounds.Left)] = value;
  }
};

void RectPath(cairo_t* cr, double l, double t, double r, double b) {
  cairo_rectangle(cr, l, t, r - l, b - t);
}

void EllipsePath(cairo_t* cr, double cx, double cy, double rx, double ry) {
  if (rx <= 0 || ry <= 0) {
    cairo_move_to(cr, cx - rx, cy - ry);
    cairo_line_to(cr, cx + rx, cy + ry);
    return;
  }
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, rx, ry);
  cairo_new_sub_path(cr);
  cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
  cairo_close_path(cr);
  cairo_restore(cr);
}

void RoundRectPath(cairo_t* cr, double l, double t, double r, double b, double rx, double ry) {
  rx = std::min(rx, (r - l) / 2);
  ry = std::min(ry, (b - t) / 2);
  if (rx <= 0 || ry <= 0) {
    RectPath(cr, l, t, r, b);
    return;
  }
  auto corner = [&](double cx, double cy, double a0) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, a0, a0 + M_PI / 2);
    cairo_restore(cr);
  };
  cairo_new_sub_path(cr);
  corner(r - rx, t + ry, -M_PI / 2);
  corner(r - rx, b - ry, 0);
  corner(l + rx, b - ry, M_PI / 2);
  corner(l + rx, t + ry, M_PI);
  cairo_close_path(cr);
}

TRect Normalized(TRect r) {
  if (r.Right < r.Left) std::swap(r.Left, r.Right);
  if (r.Bottom < r.Top) std::swap(r.Top, r.Bottom);
  return r;
}

// Pen widths beyond this draw as this.
constexpr Integer kMaxPenWidth = 4096;

}  // namespace

template <class D>
void TCanvas::PaintMask(const TRect& deviceBounds, D&& draw) {
  TRect b;
  if (!pixels_ || !IntersectRect(b, deviceBounds, clipBounds_)) return;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_A8, b.Width(), b.Height());
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    cairo_surface_destroy(surface);
    return;
  }
  TMask mask;
  mask.Cr = cairo_create(surface);
  cairo_set_antialias(mask.Cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_operator(mask.Cr, CAIRO_OPERATOR_SOURCE);
  cairo_translate(mask.Cr, -b.Left, -b.Top);
  cairo_surface_flush(surface);
  mask.Data = cairo_image_surface_get_data(surface);
  mask.Stride = cairo_image_surface_get_stride(surface);
  mask.Bounds = b;
  draw(mask);
  cairo_destroy(mask.Cr);
  cairo_surface_flush(surface);

  MarkDirty();
  TBrushStyle hatch = brush_->Style();
  std::uint32_t brushPixel = ToPixel(brush_->Color()), penPixel = ToPixel(pen_->Color());
  std::uint32_t bk = ToPixel(bkColor_);
  bool opaque = bkMode_ == OPAQUE;
  Integer rop2 = Rop2OfPenMode(pen_->Mode());
  const unsigned char* data = mask.Data;
  ForEachClipped(b, [&](std::uint32_t* line, Integer x0, Integer x1, Integer y) {
    const unsigned char* m = data + size_t(y - b.Top) * size_t(mask.Stride);
    for (Integer x = x0; x < x1; ++x) {
      unsigned char v = m[x - b.Left];
      if (v < 64) continue;
      if (v >= 228) {
        line[x] = ApplyRop2(line[x], penPixel, rop2);
      } else if (v >= 164) {
        if (opaque) line[x] = ApplyRop2(line[x], bk, rop2);
      } else if (hatch == bsSolid || HatchCovers(hatch, x, y)) {
        line[x] = ApplyRop2(line[x], brushPixel, rop2);
      } else if (opaque) {
        line[x] = ApplyRop2(line[x], bk, rop2);
      }
    }
  });
  cairo_surface_destroy(surface);
}

void TCanvas::WideLineDevice(Int64 x0, Int64 y0, Int64 x1, Int64 y1) {
  Integer w = Min(pen_->Width(), kMaxPenWidth);
  TRect bounds(ClampCoord(Min(x0, x1) - w), ClampCoord(Min(y0, y1) - w),
               ClampCoord(Max(x0, x1) + w + 1), ClampCoord(Max(y0, y1) + w + 1));
  PaintMask(bounds, [&](TMask& m) {
    cairo_set_line_cap(m.Cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(m.Cr, CairoCoord(x0) + 0.5, CairoCoord(y0) + 0.5);
    cairo_line_to(m.Cr, CairoCoord(x1) + 0.5, CairoCoord(y1) + 0.5);
    m.Stroke(kMaskPen, w);
  });
}

void TCanvas::Rectangle(Integer left, Integer top, Integer right, Integer bottom) {
  TRect d = Normalized(ToDevice(TRect(left, top, right, bottom)));
  if (IsRectEmpty(d) || !pixels_) return;
  Changing();
  bool pen = pen_->Style() != psClear;
  Integer w = Min(pen_->Width(), kMaxPenWidth);
  Integer rop2 = Rop2OfPenMode(pen_->Mode());
  if (!pen) {
    // Without a pen the fill stops one pixel short, where the frame would be.
    FillDeviceWithBrush({d.Left, d.Top, d.Right - 1, d.Bottom - 1}, rop2);
  } else if (w <= 1) {
    // Interior and frame are disjoint, so each pixel is painted once.
    FillDeviceWithBrush({d.Left + 1, d.Top + 1, d.Right - 1, d.Bottom - 1}, rop2);
    // Clockwise: top, right, bottom, left; corners belong to the top and
    // bottom edges.
    LineDevice(d.Left, d.Top, d.Right, d.Top);
    if (d.Right - 1 > d.Left) LineDevice(d.Right - 1, d.Top + 1, d.Right - 1, d.Bottom - 1);
    if (d.Bottom - 1 > d.Top)
      LineDevice(d.Right - 1, d.Bottom - 1, Int64(d.Left) - 1, d.Bottom - 1);
    if (d.Bottom - 2 > d.Top) LineDevice(d.Left, d.Bottom - 2, d.Left, d.Top);
  } else {
    bool inside = pen_->Style() == psInsideFrame;
    TRect bounds = d;
    if (!inside) InflateRect(bounds, w, w);
    PaintMask(bounds, [&](TMask& m) {
      if (brush_->Style() != bsClear) {
        RectPath(m.Cr, d.Left, d.Top, d.Right, d.Bottom);
        m.Fill(kMaskBrush, false);
      }
      double inset = inside ? w / 2.0 : 0.5;
      RectPath(m.Cr, d.Left + inset, d.Top + inset, d.Right - inset, d.Bottom - inset);
      cairo_set_line_join(m.Cr, CAIRO_LINE_JOIN_MITER);
      m.Stroke(kMaskPen, w);
    });
  }
  Changed();
}

void TCanvas::Ellipse(Integer left, Integer top, Integer right, Integer bottom) {
  TRect d = Normalized(ToDevice(TRect(left, top, right, bottom)));
  if (IsRectEmpty(d) || !pixels_) return;
  Changing();
  bool pen = pen_->Style() != psClear;
  bool inside = pen_->Style() == psInsideFrame;
  Integer w = pen ? Max(1, Min(pen_->Width(), kMaxPenWidth)) : 0;
  TRect bounds = d;
  if (!inside) InflateRect(bounds, w, w);
  double cx = (double(d.Left) + d.Right) / 2, cy = (double(d.Top) + d.Bottom) / 2;
  double inset = (inside && w > 1) ? w / 2.0 : 0.5;
  double rx = d.Width() / 2.0 - inset, ry = d.Height() / 2.0 - inset;
  PaintMask(bounds, [&](TMask& m) {
    if (brush_->Style() != bsClear) {
      EllipsePath(m.Cr, cx, cy, d.Width() / 2.0 - 0.5, d.Height() / 2.0 - 0.5);
      m.Fill(kMaskBrush, false);
    }
    if (pen) {
      EllipsePath(m.Cr, cx, cy, rx, ry);
      m.Stroke(kMaskPen, w);
    }
  });
  Changed();
}

void TCanvas::RoundRect(Integer left, Integer top, Integer right, Integer bottom, Integer cx,
                        Integer cy) {
  TRect d = Normalized(ToDevice(TRect(left, top, right, bottom)));
  if (IsRectEmpty(d) || !pixels_) return;
  Changing();
  bool pen = pen_->Style() != psClear;
  Integer w = pen ? Max(1, Min(pen_->Width(), kMaxPenWidth)) : 0;
  TRect bounds = d;
  InflateRect(bounds, w, w);
  double rx = Max(0, cx) / 2.0, ry = Max(0, cy) / 2.0;
  PaintMask(bounds, [&](TMask& m) {
    if (brush_->Style() != bsClear) {
      RoundRectPath(m.Cr, d.Left, d.Top, d.Right - 1, d.Bottom - 1, rx, ry);
      m.Fill(kMaskBrush, false);
    }
    if (pen) {
      RoundRectPath(m.Cr, d.Left + 0.5, d.Top + 0.5, d.Right - 0.5, d.Bottom - 0.5, rx, ry);
      m.Stroke(kMaskPen, w);
    }
  });
  Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2 || !pixels_) return;
  Changing();
  std::vector<TPoint> dp;
  dp.reserve(points.size());
  TRect bounds(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
  for (const TPoint& p : points) {
    TPoint q = ToDevice(p.X, p.Y);
    dp.push_back(q);
    bounds.Left = Min(bounds.Left, q.X);
    bounds.Top = Min(bounds.Top, q.Y);
    bounds.Right = Max(bounds.Right, q.X + 1);
    bounds.Bottom = Max(bounds.Bottom, q.Y + 1);
  }
  bool pen = pen_->Style() != psClear;
  Integer w = pen ? Max(1, Min(pen_->Width(), kMaxPenWidth)) : 0;
  InflateRect(bounds, w, w);
  const TDashPattern* dash = DashPatternOf(pen_->Style());
  PaintMask(bounds, [&](TMask& m) {
    if (brush_->Style() != bsClear) {
      cairo_move_to(m.Cr, CairoCoord(dp[0].X) + 0.5, CairoCoord(dp[0].Y) + 0.5);
      for (size_t i = 1; i < dp.size(); ++i)
        cairo_line_to(m.Cr, CairoCoord(dp[i].X) + 0.5, CairoCoord(dp[i].Y) + 0.5);
      cairo_close_path(m.Cr);
      m.Fill(kMaskBrush, true);
    }
    if (!pen) return;
    if (w > 1) {
      cairo_move_to(m.Cr, CairoCoord(dp[0].X) + 0.5, CairoCoord(dp[0].Y) + 0.5);
      for (size_t i = 1; i < dp.size(); ++i)
        cairo_line_to(m.Cr, CairoCoord(dp[i].X) + 0.5, CairoCoord(dp[i].Y) + 0.5);
      cairo_close_path(m.Cr);
      cairo_set_line_join(m.Cr, CAIRO_LINE_JOIN_MITER);
      m.Stroke(kMaskPen, w);
      return;
    }
    // One-pixel frame: the same pixels LineTo draws, each edge without its end.
    m.Flush();
    for (size_t i = 0; i < dp.size(); ++i) {
      const TPoint& a = dp[i];
      const TPoint& b = dp[(i + 1) % dp.size()];
      WalkLine(a.X, a.Y, b.X, b.Y, m.Bounds, [&](Int64 x, Int64 y, Int64 t) {
        m.Set(x, y, (!dash || DashOn(*dash, t)) ? kMaskPen : kMaskGap);
      });
    }
    cairo_surface_mark_dirty(cairo_get_target(m.Cr));
  });
  Changed();
}

}  // namespace brevant
