// The BMP file format: a 14-byte file header, an information header (12,
// 40, 52, 56, 108 or 124 bytes), optional bit-field masks and palette, and
// the pixel rows, bottom row first unless the height is negative, each row
// padded to 4 bytes.
#include <cstring>

#include "graphics/image_codecs.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"

namespace brevant::detail {

namespace {

[[noreturn]] void Invalid(const char* why) {
  throw EInvalidGraphic(res::SInvalidBitmap, {why});
}

void Put16(Byte* p, Cardinal v) {
  p[0] = Byte(v);
  p[1] = Byte(v >> 8);
}
void Put32(Byte* p, Cardinal v) {
  for (int i = 0; i < 4; ++i) p[i] = Byte(v >> (8 * i));
}

void ReadExact(TStream& s, void* buffer, Int64 count, const char* what) {
  if (count > 0 && s.Read(buffer, count) != count) Invalid(what);
}

// A bit-field channel: mask, shift and width, scaled to 8 bits.
struct TChannel {
  Cardinal Mask = 0;
  unsigned Shift = 0;
  unsigned Bits = 0;
  explicit TChannel(Cardinal mask) : Mask(mask) {
    if (!mask) return;
    while (!((mask >> Shift) & 1)) ++Shift;
    for (Cardinal m = mask >> Shift; m & 1; m >>= 1) ++Bits;
  }
  Cardinal Get(Cardinal px) const {
    if (!Bits) return 0;
    Cardinal v = (px & Mask) >> Shift;
    if (Bits >= 8) return (v >> (Bits - 8)) & 0xFF;
    Cardinal max = (1u << Bits) - 1;
    return ((v & max) * 255 + max / 2) / max;
  }
};

enum : Cardinal { BI_RGB = 0, BI_RLE8 = 1, BI_RLE4 = 2, BI_BITFIELDS = 3 };

// Decodes RLE4/RLE8 data into palette indexes (bottom-up rows).
void DecodeRle(const std::vector<Byte>& in, bool rle4, Integer width, Integer height,
               std::vector<Byte>& indexes) {
  size_t pos = 0, n = in.size();
  Int64 x = 0, y = 0;
  auto put = [&](Byte index) {
    if (x >= 0 && x < width && y >= 0 && y < height)
      indexes[size_t(y) * size_t(width) + size_t(x)] = index;
    ++x;
  };
  while (true) {
    if (pos + 2 > n) Invalid("the run-length data ends early");
    Byte count = in[pos++], value = in[pos++];
    if (count > 0) {
      for (Byte i = 0; i < count; ++i)
        put(rle4 ? Byte((i & 1) ? value & 0x0F : value >> 4) : value);
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      return;
    } else if (value == 2) {  // delta
      if (pos + 2 > n) Invalid("the run-length data ends early");
      x += in[pos++];
      y += in[pos++];
    } else {  // absolute run of value pixels, padded to 16 bits
      size_t bytes = rle4 ? (size_t(value) + 1) / 2 : value;
      if (pos + bytes > n) Invalid("the run-length data ends early");
      for (Byte i = 0; i < value; ++i)
        put(rle4 ? Byte((i & 1) ? in[pos + i / 2] & 0x0F : in[pos + i / 2] >> 4) : in[pos + i]);
      pos += bytes + (bytes & 1);
    }
    if (y > height) Invalid("the run-length data runs past the image");
  }
}

}  // namespace

bool StreamLooksLikeBmp(TStream& stream) {
  Int64 at = stream.Position();
  Byte sig[2] = {0, 0};
  Int64 got = stream.Read(sig, 2);
  stream.SetPosition(at);
  return got == 2 && sig[0] == 'B' && sig[1] == 'M';
}

TPixelImage DecodeBmp(TStream& stream) {
  Int64 start = stream.Position();
  Int64 total = stream.Size();
  Byte file[14];
  ReadExact(stream, file, 14, "the file header is truncated");
  if (file[0] != 'B' || file[1] != 'M') Invalid("no BMP signature");
  Cardinal offBits = ReadLE32(file + 10);
  Byte info[124] = {};
  ReadExact(stream, info, 4, "the information header is truncated");
  Cardinal infoSize = ReadLE32(info);
  if (infoSize != 12 && infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 &&
      infoSize != 124)
    Invalid("unsupported information header");
  ReadExact(stream, info + 4, Int64(infoSize) - 4, "the information header is truncated");

  Int64 width, height;
  Cardinal planes, bpp, compression = BI_RGB, clrUsed = 0;
  Cardinal masks[3] = {0, 0, 0};
  bool core = infoSize == 12;
  if (core) {
    width = ReadLE16(info + 4);
    height = ReadLE16(info + 6);
    planes = ReadLE16(info + 8);
    bpp = ReadLE16(info + 10);
  } else {
    width = static_cast<Integer>(ReadLE32(info + 4));
    height = static_cast<Integer>(ReadLE32(info + 8));
    planes = ReadLE16(info + 12);
    bpp = ReadLE16(info + 14);
    compression = ReadLE32(info + 16);
    clrUsed = ReadLE32(info + 32);
    if (infoSize >= 52)
      for (int i = 0; i < 3; ++i) masks[i] = ReadLE32(info + 40 + 4 * i);
  }
  bool topDown = height < 0;
  if (topDown) height = -height;
  if (width < 0) Invalid("negative width");
  if (planes != 1) Invalid("the plane count is not 1");
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
    Invalid("unsupported bits per pixel");
  bool rle = compression == BI_RLE8 || compression == BI_RLE4;
  if (!(compression == BI_RGB || (compression == BI_RLE8 && bpp == 8) ||
        (compression == BI_RLE4 && bpp == 4) ||
        (compression == BI_BITFIELDS && (bpp == 16 || bpp == 32))))
    Invalid("unsupported compression");
  if (rle && topDown) Invalid("run-length data cannot be top-down");
  if (!ImageSizeAllowed(width, height)) Invalid("the dimensions are too large");
  if (compression == BI_BITFIELDS && infoSize == 40) {
    Byte m[12];
    ReadExact(stream, m, 12, "the bit-field masks are truncated");
    for (int i = 0; i < 3; ++i) masks[i] = ReadLE32(m + 4 * i);
  }
  if (compression == BI_RGB && bpp == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  } else if (compression == BI_RGB && bpp == 32) {
    masks[0] = 0x00FF0000;
    masks[1] = 0x0000FF00;
    masks[2] = 0x000000FF;
  }

  // The palette.
  std::uint32_t palette[256] = {};
  Cardinal colors = 0;
  if (bpp <= 8) {
    Cardinal maxColors = 1u << bpp;
    colors = clrUsed ? clrUsed : maxColors;
    if (colors > 256) Invalid("the palette is too large");
    Int64 entry = core ? 3 : 4;
    std::vector<Byte> pal(size_t(colors * entry));
    ReadExact(stream, pal.data(), Int64(pal.size()), "the palette is truncated");
    for (Cardinal i = 0; i < colors; ++i) {
      const Byte* e = pal.data() + i * entry;
      palette[i] = (std::uint32_t(e[2]) << 16) | (std::uint32_t(e[1]) << 8) | e[0];
    }
  }

  // The pixel data.
  Int64 dataPos = offBits ? start + Int64(offBits) : stream.Position();
  if (offBits && (Int64(offBits) < 14 + Int64(infoSize) || dataPos > total))
    Invalid("the pixel data offset is out of range");
  Int64 avail = total - dataPos;
  TPixelImage img;
  img.Width = Integer(width);
  img.Height = Integer(height);
  img.BitsPerPixel = Integer(bpp);
  if (width == 0 || height == 0) {
    stream.SetPosition(dataPos);
    return img;
  }
  Int64 rowBytes = ((width * bpp + 31) / 32) * 4;
  std::vector<Byte> rle4or8;
  if (rle) {
    Cardinal sizeImage = ReadLE32(info + 20);
    Int64 take = (sizeImage && Int64(sizeImage) <= avail) ? Int64(sizeImage) : avail;
    if (take <= 0) Invalid("the pixel data is missing");
    stream.SetPosition(dataPos);
    rle4or8.resize(size_t(take));
    ReadExact(stream, rle4or8.data(), take, "the pixel data is truncated");
  } else {
    if (avail < rowBytes * height) Invalid("the pixel data is truncated");
    stream.SetPosition(dataPos);
  }

  img.Pixels.assign(size_t(width) * size_t(height), palette[0]);
  auto rowOf = [&](Int64 fileRow) { return topDown ? fileRow : height - 1 - fileRow; };
  if (rle) {
    std::vector<Byte> indexes(size_t(width) * size_t(height), 0);
    DecodeRle(rle4or8, compression == BI_RLE4, Integer(width), Integer(height), indexes);
    for (Int64 r = 0; r < height; ++r) {
      std::uint32_t* out = img.Pixels.data() + size_t(rowOf(r)) * size_t(width);
      const Byte* in = indexes.data() + size_t(r) * size_t(width);
      for (Int64 x = 0; x < width; ++x) out[x] = in[x] < colors ? palette[in[x]] : 0;
    }
    return img;
  }
  TChannel red(masks[0]), green(masks[1]), blue(masks[2]);
  std::vector<Byte> row(static_cast<size_t>(rowBytes));
  for (Int64 r = 0; r < height; ++r) {
    ReadExact(stream, row.data(), rowBytes, "the pixel data is truncated");
    std::uint32_t* out = img.Pixels.data() + size_t(rowOf(r)) * size_t(width);
    const Byte* in = row.data();
    for (Int64 x = 0; x < width; ++x) {
      std::uint32_t px = 0;
      switch (bpp) {
        case 1:
        case 4:
        case 8: {
          Cardinal perByte = 8 / bpp;
          Cardinal byte = in[x / perByte];
          Cardinal shift = 8 - bpp * (Cardinal(x % perByte) + 1);
          Cardinal index = (byte >> shift) & ((1u << bpp) - 1);
          px = index < colors ? palette[index] : 0;
          break;
        }
        case 16: {
          Cardinal v = ReadLE16(in + 2 * x);
          px = (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
          break;
        }
        case 24:
          px = (std::uint32_t(in[3 * x + 2]) << 16) | (std::uint32_t(in[3 * x + 1]) << 8) |
               in[3 * x];
          break;
        case 32: {
          Cardinal v = ReadLE32(in + 4 * x);
          px = (red.Get(v) << 16) | (green.Get(v) << 8) | blue.Get(v);
          break;
        }
      }
      out[x] = px;
    }
  }
  return img;
}

void EncodeBmp(const std::uint32_t* pixels, Integer width, Integer height, Integer stride,
               bool bits32, TStream& stream) {
  Cardinal bpp = bits32 ? 32 : 24;
  Int64 rowBytes = ((Int64(width) * bpp + 31) / 32) * 4;
  Int64 imageSize = rowBytes * height;
  Byte header[54] = {};
  header[0] = 'B';
  header[1] = 'M';
  Put32(header + 2, Cardinal(54 + imageSize));
  Put32(header + 10, 54);
  Put32(header + 14, 40);
  Put32(header + 18, Cardinal(width));
  Put32(header + 22, Cardinal(height));
  Put16(header + 26, 1);
  Put16(header + 28, bpp);
  Put32(header + 30, BI_RGB);
  Put32(header + 34, Cardinal(imageSize));
  Put32(header + 38, 3780);  // 96 dots per inch
  Put32(header + 42, 3780);
  stream.WriteBuffer(header, 54);
  std::vector<Byte> row(size_t(rowBytes), 0);
  for (Integer r = height - 1; r >= 0; --r) {
    const std::uint32_t* in = pixels + size_t(r) * size_t(stride);
    for (Integer x = 0; x < width; ++x) {
      std::uint32_t p = in[x];
      Byte* o = row.data() + size_t(x) * (bits32 ? 4 : 3);
      o[0] = Byte(p);
      o[1] = Byte(p >> 8);
      o[2] = Byte(p >> 16);
      if (bits32) o[3] = 0xFF;
    }
    stream.WriteBuffer(row.data(), rowBytes);
  }
}

}  // namespace brevant::detail
