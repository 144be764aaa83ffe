// BMP and PNG encoding and decoding (private to the graphics layer).
//
// Decoders check every declared size against the stream and the image
// limits (graphics_base.h) before allocating, and raise EInvalidGraphic
// quoting what is wrong; they never touch the caller's image on failure.
#pragma once

#include <cstdint>
#include <vector>

#include "graphics/graphics_base.h"

namespace brevant {
class TStream;
}

namespace brevant::detail {

// Pixels 0x00RRGGBB, rows top to bottom, Width pixels per row.
struct TPixelImage {
  Integer Width = 0;
  Integer Height = 0;
  Integer BitsPerPixel = 24;  // of the source data
  std::vector<std::uint32_t> Pixels;
};

// Unsigned little-endian values of image files.
inline Cardinal ReadLE16(const Byte* p) {
  return Cardinal(p[0]) | (Cardinal(p[1]) << 8);
}
inline Cardinal ReadLE32(const Byte* p) {
  return ReadLE16(p) | (ReadLE16(p + 2) << 16);
}

// Whether the stream at its position starts like a BMP / PNG (the position
// is kept).
bool StreamLooksLikeBmp(TStream& stream);
bool StreamLooksLikePng(TStream& stream);

// Reads a BMP file image (file header included) from the position: 1, 4, 8,
// 16, 24 and 32 bits per pixel, uncompressed, bit fields or run-length
// encoded (4 and 8 bits). The position ends after the pixel data.
TPixelImage DecodeBmp(TStream& stream);
// Writes a BMP file image: 24 bits per pixel, or 32 (the fourth byte 255).
void EncodeBmp(const std::uint32_t* pixels, Integer width, Integer height, Integer stride,
               bool bits32, TStream& stream);

// Reads a PNG image from the position; the position ends after its IEND
// chunk. Transparent pixels are composed over white.
TPixelImage DecodePng(TStream& stream);
// Writes an RGB PNG image; stride counts pixels. Raises
// EInvalidGraphicOperation for an empty image.
void EncodePng(const std::uint32_t* pixels, Integer width, Integer height, Integer stride,
               TStream& stream);

}  // namespace brevant::detail
