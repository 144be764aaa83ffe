// TRegion: a set of pixels kept as non-overlapping rectangles. The canvas
// keeps its clip in one; the windowing layer can keep update areas in one.
#pragma once

#include <vector>

#include "rtl/types.h"

namespace brevant {

class TRegion {
 public:
  TRegion() = default;
  explicit TRegion(const TRect& r) { Union(r); }

  bool IsEmpty() const { return rects_.empty(); }
  // The rectangles, pairwise disjoint and none empty.
  const std::vector<TRect>& Rects() const { return rects_; }
  // The smallest rectangle holding the region; (0,0,0,0) when empty.
  TRect Bounds() const;
  // NULLREGION, SIMPLEREGION (one rectangle) or COMPLEXREGION.
  Integer Kind() const;

  void Clear() { rects_.clear(); }
  void Union(const TRect& r);
  void Intersect(const TRect& r);
  void Intersect(const TRegion& other);
  void Subtract(const TRect& r);
  void Offset(Integer dx, Integer dy);

  bool Contains(const TPoint& p) const;
  bool Intersects(const TRect& r) const;

  friend bool operator==(const TRegion&, const TRegion&) = default;

 private:
  std::vector<TRect> rects_;
};

}  // namespace brevant
