#include "graphics/region.h"

#include <cstdint>

#include "graphics/draw_flags.h"

namespace brevant {

namespace {

bool Overlap(const TRect& a, const TRect& b, TRect& out) {
  out.Left = Max(a.Left, b.Left);
  out.Top = Max(a.Top, b.Top);
  out.Right = Min(a.Right, b.Right);
  out.Bottom = Min(a.Bottom, b.Bottom);
  return out.Left < out.Right && out.Top < out.Bottom;
}

// Appends the parts of a that lie outside b (at most four rectangles).
void AppendDifference(const TRect& a, const TRect& b, std::vector<TRect>& out) {
  TRect in;
  if (!Overlap(a, b, in)) {
    out.push_back(a);
    return;
  }
  if (a.Top < in.Top) out.push_back({a.Left, a.Top, a.Right, in.Top});
  if (in.Bottom < a.Bottom) out.push_back({a.Left, in.Bottom, a.Right, a.Bottom});
  if (a.Left < in.Left) out.push_back({a.Left, in.Top, in.Left, in.Bottom});
  if (in.Right < a.Right) out.push_back({in.Right, in.Top, a.Right, in.Bottom});
}

}  // namespace

TRect TRegion::Bounds() const {
  if (rects_.empty()) return {};
  TRect b = rects_[0];
  for (const TRect& r : rects_) {
    b.Left = Min(b.Left, r.Left);
    b.Top = Min(b.Top, r.Top);
    b.Right = Max(b.Right, r.Right);
    b.Bottom = Max(b.Bottom, r.Bottom);
  }
  return b;
}

Integer TRegion::Kind() const {
  if (rects_.empty()) return NULLREGION;
  return rects_.size() == 1 ? SIMPLEREGION : COMPLEXREGION;
}

void TRegion::Union(const TRect& r) {
  if (IsRectEmpty(r)) return;
  // Add only the parts of r not yet covered, so the rectangles stay disjoint.
  std::vector<TRect> pieces{r};
  for (const TRect& have : rects_) {
    std::vector<TRect> next;
    for (const TRect& p : pieces) AppendDifference(p, have, next);
    pieces.swap(next);
    if (pieces.empty()) return;
  }
  rects_.insert(rects_.end(), pieces.begin(), pieces.end());
}

void TRegion::Intersect(const TRect& r) {
  std::vector<TRect> out;
  TRect in;
  for (const TRect& have : rects_)
    if (Overlap(have, r, in)) out.push_back(in);
  rects_.swap(out);
}

void TRegion::Intersect(const TRegion& other) {
  std::vector<TRect> out;
  TRect in;
  for (const TRect& a : rects_)
    for (const TRect& b : other.rects_)
      if (Overlap(a, b, in)) out.push_back(in);
  rects_.swap(out);
}

void TRegion::Subtract(const TRect& r) {
  if (IsRectEmpty(r)) return;
  std::vector<TRect> out;
  for (const TRect& have : rects_) AppendDifference(have, r, out);
  rects_.swap(out);
}

void TRegion::Offset(Integer dx, Integer dy) {
  // Saturates instead of overflowing; a region pushed past the coordinate
  // range collapses at its edge.
  auto move = [](Integer v, Integer d) {
    Int64 x = Int64(v) + d;
    return static_cast<Integer>(x < INT32_MIN ? INT32_MIN : x > INT32_MAX ? INT32_MAX : x);
  };
  std::vector<TRect> out;
  for (const TRect& r : rects_) {
    TRect m(move(r.Left, dx), move(r.Top, dy), move(r.Right, dx), move(r.Bottom, dy));
    if (!IsRectEmpty(m)) out.push_back(m);
  }
  rects_.swap(out);
}

bool TRegion::Contains(const TPoint& p) const {
  for (const TRect& r : rects_)
    if (PtInRect(r, p)) return true;
  return false;
}

bool TRegion::Intersects(const TRect& r) const {
  TRect in;
  for (const TRect& have : rects_)
    if (Overlap(have, r, in)) return true;
  return false;
}

}  // namespace brevant
