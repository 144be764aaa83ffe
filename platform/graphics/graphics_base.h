// Small shared pieces of the graphics layer: the graphics errors and the
// limits every image allocation is checked against (TSize is in rtl/types.h).
#pragma once

#include "rtl/exceptions.h"
#include "rtl/types.h"

namespace brevant {

// Image data that cannot be decoded (corrupt, truncated, unsupported).
BV_DECLARE_EXCEPTION(EInvalidGraphic, Exception);
// An operation a graphic cannot perform (too large, bad surface, bad index).
BV_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception);

// Every image (bitmap, decoded file, image-list strip) is at most
// MaxImageSide pixels on each side and MaxImagePixels pixels in all
// (256 MiB of 32-bit pixels). Sizes are checked before anything is allocated.
inline constexpr Integer MaxImageSide = 32767;
inline constexpr Int64 MaxImagePixels = Int64(1) << 26;

constexpr bool ImageSizeAllowed(Int64 width, Int64 height) {
  return width >= 0 && height >= 0 && width <= MaxImageSide && height <= MaxImageSide &&
         width * height <= MaxImagePixels;
}
// Raises EInvalidGraphicOperation naming the size when it is not allowed.
void CheckImageSize(Int64 width, Int64 height);

}  // namespace brevant
