// Pixel arithmetic shared by the canvas's source files (private).
#pragma once

#include <cairo.h>

#include <cstddef>
#include <cstdint>

#include "graphics/canvas.h"
#include "graphics/colors.h"
#include "graphics/pen_brush.h"
#include "rtl/types.h"

namespace brevant::detail {

// The binary raster operations (R2_ codes 1..16) the pen modes select.
enum : Integer {
  R2_BLACK = 1,
  R2_NOTMERGEPEN,
  R2_MASKNOTPEN,
  R2_NOTCOPYPEN,
  R2_MASKPENNOT,
  R2_NOT,
  R2_XORPEN,
  R2_NOTMASKPEN,
  R2_MASKPEN,
  R2_NOTXORPEN,
  R2_NOP,
  R2_MERGENOTPEN,
  R2_COPYPEN,
  R2_MERGEPENNOT,
  R2_MERGEPEN,
  R2_WHITE
};

inline constexpr std::uint32_t kRgbMask = 0x00FFFFFF;

// Row primitives over runs of pixels, four at a time: filling and copying
// whole surfaces is most of a full-window paint, and a plain per-pixel
// loop is not vectorised at the optimisation level the project builds at.
// Sets n pixels to pixel.
void FillPixels(std::uint32_t* line, std::size_t n, std::uint32_t pixel);
// Copies n pixels from src, clearing the unused top byte of each. Source
// and destination are the same run or do not overlap.
void CopyPixelsRgb(std::uint32_t* dst, const std::uint32_t* src, std::size_t n);
// Clears the unused top byte of n pixels in place.
void MaskPixelsRgb(std::uint32_t* line, std::size_t n);

// A colour (system colours resolved) as a surface pixel 0x00RRGGBB.
inline std::uint32_t ToPixel(TColor c) {
  c = ColorToRGB(c);
  return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}
inline TColor FromPixel(std::uint32_t p) {
  return RGB(Byte((p >> 16) & 0xFF), Byte((p >> 8) & 0xFF), Byte(p & 0xFF));
}

inline Integer Rop2OfPenMode(TPenMode mode) {
  static constexpr Integer table[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                      R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                      R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                      R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return mode < 16 ? table[mode] : R2_COPYPEN;
}

// d: the pixel there, p: the pen (or brush) pixel.
inline std::uint32_t ApplyRop2(std::uint32_t d, std::uint32_t p, Integer rop2) {
  std::uint32_t r;
  switch (rop2) {
    case R2_BLACK:
      r = 0;
      break;
    case R2_NOTMERGEPEN:
      r = ~(p | d);
      break;
    case R2_MASKNOTPEN:
      r = ~p & d;
      break;
    case R2_NOTCOPYPEN:
      r = ~p;
      break;
    case R2_MASKPENNOT:
      r = p & ~d;
      break;
    case R2_NOT:
      r = ~d;
      break;
    case R2_XORPEN:
      r = p ^ d;
      break;
    case R2_NOTMASKPEN:
      r = ~(p & d);
      break;
    case R2_MASKPEN:
      r = p & d;
      break;
    case R2_NOTXORPEN:
      r = ~(p ^ d);
      break;
    case R2_NOP:
      r = d;
      break;
    case R2_MERGENOTPEN:
      r = ~p | d;
      break;
    case R2_MERGEPEN:
      r = p | d;
      break;
    case R2_MERGEPENNOT:
      r = p | ~d;
      break;
    case R2_WHITE:
      r = kRgbMask;
      break;
    default:
      r = p;
      break;
  }
  return r & kRgbMask;
}

// A ternary raster operation (the code's byte 2): bit (P<<2 | S<<1 | D) of
// rop is the result for those pattern, source and destination bits.
inline std::uint32_t ApplyRop3(std::uint32_t d, std::uint32_t s, std::uint32_t p,
                               std::uint8_t rop) {
  std::uint32_t r = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(rop & (1u << i))) continue;
    r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return r & kRgbMask;
}
// Whether the operation reads the source.
inline bool Rop3UsesSource(std::uint8_t rop) {
  return ((rop >> 2) & 0x33) != (rop & 0x33);
}

// Whether a hatch brush covers the device pixel.
inline bool HatchCovers(TBrushStyle style, Int64 x, Int64 y) {
  switch (style) {
    case bsHorizontal:
      return (y & 7) == 0;
    case bsVertical:
      return (x & 7) == 0;
    case bsFDiagonal:
      return ((x - y) & 7) == 0;
    case bsBDiagonal:
      return ((x + y) & 7) == 0;
    case bsCross:
      return (y & 7) == 0 || (x & 7) == 0;
    case bsDiagCross:
      return ((x - y) & 7) == 0 || ((x + y) & 7) == 0;
    default:
      return true;
  }
}

// The canvas's cairo view of its surface, made on first use (text).
struct TCairoTarget {
  cairo_surface_t* Surface = nullptr;
  cairo_t* Cr = nullptr;
  std::uint64_t ClipSerial = 0;
  bool Dirty = false;  // pixels were written without cairo since its last use
  TCairoTarget() = default;
  TCairoTarget(const TCairoTarget&) = delete;
  TCairoTarget& operator=(const TCairoTarget&) = delete;
  ~TCairoTarget() {
    if (Cr) cairo_destroy(Cr);
    if (Surface) cairo_surface_destroy(Surface);
  }
};

// Coordinates are kept in this range in device space, so that sums and
// differences never overflow.
inline constexpr Int64 kCoordLimit = Int64(1) << 29;
inline Integer ClampCoord(Int64 v) {
  return static_cast<Integer>(v < -kCoordLimit ? -kCoordLimit : v > kCoordLimit ? kCoordLimit : v);
}

// On/off run lengths of the dotted one-pixel pen styles.
struct TDashPattern {
  Integer Runs[6];
  Integer Count;
  Integer Total;
};

inline const TDashPattern* DashPatternOf(TPenStyle style) {
  static constexpr TDashPattern dash{{18, 6}, 2, 24};
  static constexpr TDashPattern dot{{3, 3}, 2, 6};
  static constexpr TDashPattern dashDot{{9, 6, 3, 6}, 4, 24};
  static constexpr TDashPattern dashDotDot{{9, 3, 3, 3, 3, 3}, 6, 24};
  switch (style) {
    case psDash:
      return &dash;
    case psDot:
      return &dot;
    case psDashDot:
      return &dashDot;
    case psDashDotDot:
      return &dashDotDot;
    default:
      return nullptr;
  }
}

// Whether the pixel at index t along a line is drawn (not a gap).
inline bool DashOn(const TDashPattern& p, Int64 t) {
  Integer pos = static_cast<Integer>(t % p.Total);
  for (Integer i = 0; i < p.Count; ++i) {
    if (pos < p.Runs[i]) return (i & 1) == 0;
    pos -= p.Runs[i];
  }
  return false;
}

// Walks the pixels of a one-pixel line from (x0, y0) up to, not including,
// (x1, y1) that fall inside bounds, calling plot(x, y, t) with t the pixel's
// index along the line. Pixels are computed in closed form (the minor
// coordinate rounds half up), so only the part of the line inside bounds
// is visited, however long the line.
template <class F>
void WalkLine(Int64 x0, Int64 y0, Int64 x1, Int64 y1, const TRect& bounds, F&& plot) {
  Int64 dx = x1 - x0, dy = y1 - y0;
  Int64 adx = dx < 0 ? -dx : dx, ady = dy < 0 ? -dy : dy;
  Int64 n = adx > ady ? adx : ady;
  if (n == 0 || IsRectEmpty(bounds)) return;
  bool xMajor = adx >= ady;
  Int64 sMajor = xMajor ? (dx > 0 ? 1 : -1) : (dy > 0 ? 1 : -1);
  Int64 sMinor = xMajor ? (dy > 0 ? 1 : dy < 0 ? -1 : 0) : (dx > 0 ? 1 : dx < 0 ? -1 : 0);
  Int64 major0 = xMajor ? x0 : y0, minor0 = xMajor ? y0 : x0;
  Int64 amaj = xMajor ? adx : ady, amin = xMajor ? ady : adx;
  Int64 lo = xMajor ? bounds.Left : bounds.Top;
  Int64 hi = Int64(xMajor ? bounds.Right : bounds.Bottom) - 1;
  Int64 mlo = xMajor ? bounds.Top : bounds.Left;
  Int64 mhi = Int64(xMajor ? bounds.Bottom : bounds.Right) - 1;
  Int64 tFrom = sMajor > 0 ? lo - major0 : major0 - hi;
  Int64 tTo = sMajor > 0 ? hi - major0 : major0 - lo;
  if (tFrom < 0) tFrom = 0;
  if (tTo > n - 1) tTo = n - 1;
  if (amin == 0 && (minor0 < mlo || minor0 > mhi)) return;
  for (Int64 t = tFrom; t <= tTo; ++t) {
    __int128 num = __int128(2) * t * amin + amaj;
    Int64 minor = minor0 + sMinor * static_cast<Int64>(num / (__int128(2) * amaj));
    if (minor < mlo || minor > mhi) {
      // The minor coordinate moves one way only: stop once it has left.
      if ((sMinor > 0 && minor > mhi) || (sMinor < 0 && minor < mlo)) break;
      continue;
    }
    Int64 major = major0 + sMajor * t;
    if (xMajor)
      plot(major, minor, t);
    else
      plot(minor, major, t);
  }
}

// Device coordinates handed to cairo paths stay well inside cairo's
// fixed-point range.
inline double CairoCoord(Int64 v) {
  constexpr Int64 limit = Int64(1) << 22;
  return double(v < -limit ? -limit : v > limit ? limit : v);
}

}  // namespace brevant::detail

namespace brevant {

// Calls row(line, x0, x1, y) for each run of the device rectangle inside the
// clip: line is the row's first pixel, [x0, x1) the run.
template <class F>
void TCanvas::ForEachClipped(const TRect& r, F&& row) const {
  if (!pixels_ || IsRectEmpty(r)) return;
  for (const TRect& c : clip_.Rects()) {
    Integer l = Max(r.Left, c.Left), t = Max(r.Top, c.Top);
    Integer rr = Min(r.Right, c.Right), b = Min(r.Bottom, c.Bottom);
    if (l >= rr || t >= b) continue;
    for (Integer y = t; y < b; ++y) row(pixels_ + size_t(y) * size_t(stride_), l, rr, y);
  }
}

}  // namespace brevant
