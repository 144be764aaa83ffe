// Row primitives of the canvas: fills and copies of pixel runs, four
// pixels per step through the compiler's vector types.
#include <cstring>

#include "graphics/canvas_internal.h"

namespace brevant::detail {

namespace {

// Four pixels; loaded and stored through memcpy, so alignment never matters.
typedef std::uint32_t TPixel4 __attribute__((vector_size(16)));

inline TPixel4 Load4(const std::uint32_t* p) {
  TPixel4 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline void Store4(std::uint32_t* p, TPixel4 v) {
  std::memcpy(p, &v, sizeof v);
}

}  // namespace

void FillPixels(std::uint32_t* line, std::size_t n, std::uint32_t pixel) {
  const TPixel4 v = {pixel, pixel, pixel, pixel};
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) Store4(line + i, v);
  for (; i < n; ++i) line[i] = pixel;
}

void CopyPixelsRgb(std::uint32_t* dst, const std::uint32_t* src, std::size_t n) {
  const TPixel4 mask = {kRgbMask, kRgbMask, kRgbMask, kRgbMask};
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) Store4(dst + i, Load4(src + i) & mask);
  for (; i < n; ++i) dst[i] = src[i] & kRgbMask;
}

void MaskPixelsRgb(std::uint32_t* line, std::size_t n) {
  CopyPixelsRgb(line, line, n);
}

}  // namespace brevant::detail
