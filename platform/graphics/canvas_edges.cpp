// TCanvas: 3-D edges and frame controls (check boxes, radio buttons, push
// buttons, scroll arrows), drawn with the system colours.
#include <cmath>

#include "graphics/canvas.h"
#include "graphics/canvas_internal.h"

namespace brevant {

using namespace detail;

namespace {

// The classic seven-by-seven check mark, one string per row.
constexpr const char* kCheckMark[7] = {
    "......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#....",
};

}  // namespace

// Draws the top and left sides in lt, then the bottom and right sides in
// rb over them, so rb owns the top-right and bottom-left corners.
void TCanvas::EdgeRect(const TRect& d, Cardinal sides, TColor lt, TColor rb) {
  if (IsRectEmpty(d)) return;
  std::uint32_t a = ToPixel(lt), b = ToPixel(rb);
  if (sides & BF_TOP) FillDevice({d.Left, d.Top, d.Right, d.Top + 1}, a, R2_COPYPEN);
  if (sides & BF_LEFT) FillDevice({d.Left, d.Top, d.Left + 1, d.Bottom}, a, R2_COPYPEN);
  if (sides & BF_BOTTOM) FillDevice({d.Left, d.Bottom - 1, d.Right, d.Bottom}, b, R2_COPYPEN);
  if (sides & BF_RIGHT) FillDevice({d.Right - 1, d.Top, d.Right, d.Bottom}, b, R2_COPYPEN);
}

bool TCanvas::DrawEdge(TRect& rect, Cardinal edge, Cardinal flags) {
  Cardinal outer = edge & BDR_OUTER, inner = edge & BDR_INNER;
  bool soft = flags & BF_SOFT, flat = flags & BF_FLAT, mono = flags & BF_MONO;
  // Colours of each edge: top-left and bottom-right.
  TColor ltOuter = clNone, rbOuter = clNone, ltInner = clNone, rbInner = clNone;
  if (outer & BDR_RAISEDOUTER) {
    ltOuter = soft ? clBtnHighlight : cl3DLight;
    rbOuter = cl3DDkShadow;
  } else if (outer & BDR_SUNKENOUTER) {
    ltOuter = clBtnShadow;
    rbOuter = clBtnHighlight;
  }
  if (inner & BDR_RAISEDINNER) {
    ltInner = soft ? cl3DLight : clBtnHighlight;
    rbInner = clBtnShadow;
  } else if (inner & BDR_SUNKENINNER) {
    ltInner = cl3DDkShadow;
    rbInner = cl3DLight;
  }
  if (mono) {
    if (outer) ltOuter = rbOuter = clWindowFrame;
    if (inner) ltInner = rbInner = clWindow;
  } else if (flat) {
    if (outer) ltOuter = rbOuter = clBtnShadow;
    if (inner) ltInner = rbInner = clBtnFace;
  }
  Cardinal sides = flags & BF_RECT;
  TRect r = rect;
  Changing();
  auto shrink = [&](TRect& x) {
    if (sides & BF_LEFT) ++x.Left;
    if (sides & BF_TOP) ++x.Top;
    if (sides & BF_RIGHT) --x.Right;
    if (sides & BF_BOTTOM) --x.Bottom;
  };
  if (outer) {
    EdgeRect(ToDevice(r), sides, ltOuter, rbOuter);
    shrink(r);
  }
  if (inner) {
    EdgeRect(ToDevice(r), sides, ltInner, rbInner);
    shrink(r);
  }
  if (flags & BF_MIDDLE) FillDevice(ToDevice(r), ToPixel(mono ? clWindow : clBtnFace), R2_COPYPEN);
  if (flags & BF_ADJUST) rect = r;
  Changed();
  return true;
}

bool TCanvas::DrawFrameControl(const TRect& rect, Cardinal type, Cardinal state) {
  if (type != DFC_BUTTON && type != DFC_SCROLL) return false;
  Changing();
  TRect d = ToDevice(rect);
  if (type == DFC_SCROLL) {
    DrawScrollArrow(d, state);
  } else if (state & DFCS_BUTTONPUSH) {
    if (!(state & DFCS_TRANSPARENT)) FillDevice(d, ToPixel(clBtnFace), R2_COPYPEN);
    TRect r = rect;
    Cardinal flags =
        BF_RECT | ((state & DFCS_MONO) ? BF_MONO : 0) | ((state & DFCS_FLAT) ? BF_FLAT : 0);
    DrawEdge(r, (state & (DFCS_PUSHED | DFCS_CHECKED)) ? EDGE_SUNKEN : EDGE_RAISED, flags);
  } else if (state & DFCS_BUTTONRADIO) {
    DrawRadio(d, state);
  } else {
    DrawCheckBox(d, state);
  }
  Changed();
  return true;
}

void TCanvas::DrawCheckBox(const TRect& d, Cardinal state) {
  Integer size = Min(d.Width(), d.Height());
  if (size <= 0) return;
  TRect box(d.Left + (d.Width() - size) / 2, d.Top + (d.Height() - size) / 2, 0, 0);
  box.Right = box.Left + size;
  box.Bottom = box.Top + size;
  bool inactive = state & DFCS_INACTIVE, pushed = state & DFCS_PUSHED;
  bool checked = state & DFCS_CHECKED, three = state & DFCS_BUTTON3STATE;
  TColor face = (inactive || pushed) ? clBtnFace : clWindow;
  // The frame: a sunken 3-D edge two pixels wide, or one line when flat or mono.
  TRect inside = box;
  if (state & (DFCS_FLAT | DFCS_MONO)) {
    TColor c = (state & DFCS_MONO) ? clWindowFrame : clBtnShadow;
    EdgeRect(inside, BF_RECT, c, c);
    InflateRect(inside, -1, -1);
    EdgeRect(inside, BF_RECT, face, face);
  } else {
    EdgeRect(inside, BF_RECT, clBtnShadow, clBtnHighlight);
    InflateRect(inside, -1, -1);
    EdgeRect(inside, BF_RECT, cl3DDkShadow, cl3DLight);
  }
  InflateRect(inside, -1, -1);
  if (IsRectEmpty(inside)) return;
  if (three && checked) {
    // The indeterminate look: a halftone of face and highlight.
    std::uint32_t a = ToPixel(clBtnFace), b = ToPixel(clBtnHighlight);
    MarkDirty();
    ForEachClipped(inside, [&](std::uint32_t* line, Integer x0, Integer x1, Integer y) {
      for (Integer x = x0; x < x1; ++x) line[x] = ((x + y) & 1) ? b : a;
    });
  } else {
    FillDevice(inside, ToPixel(face), R2_COPYPEN);
  }
  if (!checked) return;
  std::uint32_t mark = ToPixel((inactive || three) ? clBtnShadow : clWindowText);
  Integer x0 = inside.Left + (inside.Width() - 7) / 2, y0 = inside.Top + (inside.Height() - 7) / 2;
  for (Integer row = 0; row < 7; ++row)
    for (Integer col = 0; col < 7; ++col) {
      if (kCheckMark[row][col] != '#') continue;
      TPoint p(x0 + col, y0 + row);
      if (PtInRect(inside, p)) PlotDevice(p.X, p.Y, mark, R2_COPYPEN);
    }
}

void TCanvas::DrawRadio(const TRect& d, Cardinal state) {
  Integer size = Min(d.Width(), d.Height());
  if (size <= 0) return;
  Integer left = d.Left + (d.Width() - size) / 2, top = d.Top + (d.Height() - size) / 2;
  bool inactive = state & DFCS_INACTIVE, pushed = state & DFCS_PUSHED;
  std::uint32_t face = ToPixel((inactive || pushed) ? clBtnFace : clWindow);
  std::uint32_t dark = ToPixel(clBtnShadow), darker = ToPixel(cl3DDkShadow);
  std::uint32_t light = ToPixel(clBtnHighlight), lighter = ToPixel(cl3DLight);
  std::uint32_t dot = ToPixel(inactive ? clBtnShadow : clWindowText);
  double c = size / 2.0, r = size / 2.0;
  // Only the part inside the clip is visited.
  TRect visible;
  if (!IntersectRect(visible, TRect(left, top, left + size, top + size), clipBounds_)) return;
  for (Integer y = visible.Top - top; y < visible.Bottom - top; ++y)
    for (Integer x = visible.Left - left; x < visible.Right - left; ++x) {
      double dx = x + 0.5 - c, dy = y + 0.5 - c;
      double dist = std::sqrt(dx * dx + dy * dy);
      if (dist > r) continue;
      bool upperLeft = dx + dy < 0;
      std::uint32_t p;
      if (dist > r - 1)
        p = upperLeft ? dark : light;
      else if (dist > r - 2)
        p = upperLeft ? darker : lighter;
      else if ((state & DFCS_CHECKED) && dist <= r / 3)
        p = dot;
      else
        p = face;
      PlotDevice(left + x, top + y, p, R2_COPYPEN);
    }
}

void TCanvas::DrawArrowGlyph(const TRect& d, Cardinal direction, TColor color) {
  Integer size = Min(d.Width(), d.Height());
  // Rows beyond a sane glyph size are not drawn.
  Integer rows = Min(4096, Max(1, (size - 1) / 4));
  std::uint32_t p = ToPixel(color);
  Integer cx = d.Left + (d.Width() - 1) / 2, cy = d.Top + (d.Height() - 1) / 2;
  bool vertical = direction == DFCS_SCROLLUP || direction == DFCS_SCROLLDOWN ||
                  direction == DFCS_SCROLLCOMBOBOX;
  // Rows (or columns) from the tip: i-th spans 2 * i + 1 pixels.
  for (Integer i = 0; i < rows; ++i) {
    if (vertical) {
      bool up = direction == DFCS_SCROLLUP;
      Integer y = cy - rows / 2 + (up ? i : rows - 1 - i);
      FillDevice({cx - i, y, cx + i + 1, y + 1}, p, R2_COPYPEN);
    } else {
      bool left = direction == DFCS_SCROLLLEFT;
      Integer x = cx - rows / 2 + (left ? i : rows - 1 - i);
      FillDevice({x, cy - i, x + 1, cy + i + 1}, p, R2_COPYPEN);
    }
  }
}

void TCanvas::DrawScrollArrow(const TRect& d, Cardinal state) {
  if (IsRectEmpty(d)) return;
  bool pushed = state & DFCS_PUSHED;
  if (!(state & DFCS_TRANSPARENT)) FillDevice(d, ToPixel(clBtnFace), R2_COPYPEN);
  if (state & DFCS_MONO) {
    EdgeRect(d, BF_RECT, clWindowFrame, clWindowFrame);
  } else if (pushed || (state & DFCS_FLAT)) {
    EdgeRect(d, BF_RECT, clBtnShadow, clBtnShadow);
  } else {
    EdgeRect(d, BF_RECT, cl3DLight, cl3DDkShadow);
    TRect in = d;
    InflateRect(in, -1, -1);
    EdgeRect(in, BF_RECT, clBtnHighlight, clBtnShadow);
  }
  Cardinal direction = state & 0x0F;
  TRect glyph = d;
  if (pushed) OffsetRect(glyph, 1, 1);
  if (state & DFCS_INACTIVE) {
    TRect shadow = glyph;
    OffsetRect(shadow, 1, 1);
    DrawArrowGlyph(shadow, direction, clBtnHighlight);
    DrawArrowGlyph(glyph, direction, clBtnShadow);
  } else {
    DrawArrowGlyph(glyph, direction, clBtnText);
  }
}

}  // namespace brevant
