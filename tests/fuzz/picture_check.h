// Shared by the picture fuzz targets: a bitmap with a known image, and the
// check that a refused picture left it as it was.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/bitmap.h"

namespace brevant::fuzz {

// A 3 x 2 image no decoder could have produced by accident.
inline void MakeKnownImage(TBitmap* bitmap) {
  bitmap->SetSize(3, 2);
  for (Integer y = 0; y < 2; ++y)
    for (Integer x = 0; x < 3; ++x) bitmap->ScanLine(y)[x] = 0x00123456u + Cardinal(x * 7 + y);
}

// Whether the bitmap still holds MakeKnownImage's image.
inline bool HoldsKnownImage(const TBitmap* bitmap) {
  if (bitmap->Width() != 3 || bitmap->Height() != 2) return false;
  for (Integer y = 0; y < 2; ++y)
    for (Integer x = 0; x < 3; ++x)
      if (bitmap->ScanLine(y)[x] != 0x00123456u + Cardinal(x * 7 + y)) return false;
  return true;
}

// A decoded image keeps within the checked dimensions.
inline bool WithinLimits(const TBitmap* bitmap) {
  return ImageSizeAllowed(bitmap->Width(), bitmap->Height()) &&
         (bitmap->Empty() || bitmap->Width() > 0);
}

}  // namespace brevant::fuzz
