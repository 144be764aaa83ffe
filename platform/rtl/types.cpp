#include "rtl/types.h"

namespace brevant {

void InflateRect(TRect& r, Integer dx, Integer dy) {
  r.Left -= dx;
  r.Top -= dy;
  r.Right += dx;
  r.Bottom += dy;
}

void OffsetRect(TRect& r, Integer dx, Integer dy) {
  r.Left += dx;
  r.Top += dy;
  r.Right += dx;
  r.Bottom += dy;
}

bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
  TRect r(Max(a.Left, b.Left), Max(a.Top, b.Top), Min(a.Right, b.Right), Min(a.Bottom, b.Bottom));
  if (IsRectEmpty(r)) {
    dst = TRect();
    return false;
  }
  dst = r;
  return true;
}

bool UnionRect(TRect& dst, const TRect& a, const TRect& b) {
  if (IsRectEmpty(a)) {
    dst = b;
  } else if (IsRectEmpty(b)) {
    dst = a;
  } else {
    dst = TRect(Min(a.Left, b.Left), Min(a.Top, b.Top), Max(a.Right, b.Right),
                Max(a.Bottom, b.Bottom));
  }
  if (IsRectEmpty(dst)) {
    dst = TRect();
    return false;
  }
  return true;
}

}  // namespace brevant
