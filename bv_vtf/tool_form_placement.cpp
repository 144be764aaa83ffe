#include "bv_vtf/tool_form_placement.h"

namespace brevant {

namespace {

// Beside the edit: the top is kept in the work area (top edge first, so a
// form taller than the area keeps to the bottom edge); past the right edge
// the form moves to the left of the edit.
void FitBeside(TznToolFormPlace& p, const TRect& edit, const TRect& wa) {
  TRect& r = p.Bounds;
  const Integer w = r.Width(), h = r.Height();
  Integer top = r.Top, left = r.Left;
  if (top < wa.Top) top = wa.Top;
  if (top + h > wa.Bottom) top = wa.Bottom - h;
  if (left + w > wa.Right) {
    left = edit.Left - w;
    p.Opposite = true;
  }
  r = Bounds(left, top, w, h);
}

// Under the edit: the left is kept in the work area (left edge first); past
// the bottom the form moves above the edit.
void FitBelow(TznToolFormPlace& p, const TRect& edit, const TRect& wa) {
  TRect& r = p.Bounds;
  const Integer w = r.Width(), h = r.Height();
  Integer top = r.Top, left = r.Left;
  if (left < wa.Left) left = wa.Left;
  if (left + w > wa.Right) left = wa.Right - w;
  if (top + h > wa.Bottom) {
    top = edit.Top - h;
    p.Opposite = true;
  }
  r = Bounds(left, top, w, h);
}

}  // namespace

TznToolFormPlace PlaceToolForm(TvtfPlacement placement, const TRect& edit, TSize size,
                               Integer hostOffset, const TRect& workArea) {
  TznToolFormPlace p;
  p.Side = placement == tfpDefault ? tfpBottomLeft : placement;
  Integer left = edit.Left - hostOffset, top = edit.Bottom;
  switch (p.Side) {
    case tfpBottomCenter:
      left = edit.Left - (size.cx - edit.Width()) / 2 - 1;
      break;
    case tfpBottomRight:
      left = edit.Right - size.cx;
      break;
    case tfpRightCenter:
      left = edit.Right;
      top = edit.Top - (size.cy - edit.Height()) / 2 - 1;
      break;
    default:
      break;
  }
  p.Bounds = Bounds(left, top, size.cx, size.cy);
  if (p.Side == tfpRightCenter)
    FitBeside(p, edit, workArea);
  else
    FitBelow(p, edit, workArea);
  return p;
}

}  // namespace brevant
