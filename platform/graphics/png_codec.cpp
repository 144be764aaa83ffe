// PNG through cairo's PNG reader and writer. The chunk structure is walked
// here first, so that the declared size is checked before cairo allocates
// and a truncated stream is refused without handing it to the decoder.
#include <cairo.h>

#include <cstring>
#include <exception>

#include "graphics/image_codecs.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"

namespace brevant::detail {

namespace {

constexpr Byte kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

[[noreturn]] void Invalid(const char* why) {
  throw EInvalidGraphic(res::SInvalidPng, {why});
}

Cardinal BigEndian32(const Byte* p) {
  return (Cardinal(p[0]) << 24) | (Cardinal(p[1]) << 16) | (Cardinal(p[2]) << 8) | Cardinal(p[3]);
}

struct TReadState {
  const std::vector<Byte>* Data;
  size_t Pos = 0;
};

cairo_status_t ReadFromMemory(void* closure, unsigned char* data, unsigned int length) {
  auto* s = static_cast<TReadState*>(closure);
  if (s->Data->size() - s->Pos < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(data, s->Data->data() + s->Pos, length);
  s->Pos += length;
  return CAIRO_STATUS_SUCCESS;
}

struct TWriteState {
  TStream* Stream;
  std::exception_ptr Error;
};

cairo_status_t WriteToStream(void* closure, const unsigned char* data, unsigned int length) {
  auto* s = static_cast<TWriteState*>(closure);
  // No exception may cross cairo's C frames: the stream's error is kept and
  // raised again once cairo has returned.
  try {
    s->Stream->WriteBuffer(data, length);
    return CAIRO_STATUS_SUCCESS;
  } catch (...) {
    s->Error = std::current_exception();
    return CAIRO_STATUS_WRITE_ERROR;
  }
}

}  // namespace

bool StreamLooksLikePng(TStream& stream) {
  Int64 at = stream.Position();
  Byte sig[8] = {};
  Int64 got = stream.Read(sig, 8);
  stream.SetPosition(at);
  return got == 8 && std::memcmp(sig, kSignature, 8) == 0;
}

TPixelImage DecodePng(TStream& stream) {
  Int64 remaining = stream.Size() - stream.Position();
  std::vector<Byte> data(8);
  if (remaining < 8 || stream.Read(data.data(), 8) != 8 || std::memcmp(data.data(), kSignature, 8))
    Invalid("no PNG signature");
  remaining -= 8;
  bool first = true, ended = false;
  while (!ended) {
    Byte head[8];
    if (remaining < 12 || stream.Read(head, 8) != 8) Invalid("the data is truncated");
    Cardinal length = BigEndian32(head);
    if (length > 0x7FFFFFFFu || Int64(length) + 12 > remaining) Invalid("the data is truncated");
    bool ihdr = std::memcmp(head + 4, "IHDR", 4) == 0;
    if (first != ihdr) Invalid("the header chunk is missing");
    ended = std::memcmp(head + 4, "IEND", 4) == 0;
    size_t at = data.size();
    data.resize(at + 12 + length);
    std::memcpy(data.data() + at, head, 8);
    if (stream.Read(data.data() + at + 8, Int64(length) + 4) != Int64(length) + 4)
      Invalid("the data is truncated");
    remaining -= Int64(length) + 12;
    if (ihdr) {
      if (length != 13) Invalid("bad header chunk");
      Int64 w = BigEndian32(data.data() + at + 8), h = BigEndian32(data.data() + at + 12);
      if (w == 0 || h == 0) Invalid("empty dimensions");
      if (!ImageSizeAllowed(w, h)) Invalid("the dimensions are too large");
    }
    first = false;
  }

  TReadState state{&data, 0};
  cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(ReadFromMemory, &state);
  if (cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
    const char* why = cairo_status_to_string(cairo_surface_status(surface));
    String reason = why ? why : "decoding failed";
    cairo_surface_destroy(surface);
    throw EInvalidGraphic(res::SInvalidPng, {reason});
  }
  cairo_format_t format = cairo_image_surface_get_format(surface);
  if (format != CAIRO_FORMAT_RGB24 && format != CAIRO_FORMAT_ARGB32) {
    // Other formats are drawn over white into an RGB surface.
    Integer w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    cairo_surface_t* rgb = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(rgb);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    surface = rgb;
    format = CAIRO_FORMAT_RGB24;
  }
  cairo_surface_flush(surface);
  TPixelImage img;
  img.Width = cairo_image_surface_get_width(surface);
  img.Height = cairo_image_surface_get_height(surface);
  img.BitsPerPixel = format == CAIRO_FORMAT_ARGB32 ? 32 : 24;
  const unsigned char* src = cairo_image_surface_get_data(surface);
  Integer stride = cairo_image_surface_get_stride(surface);
  img.Pixels.resize(size_t(img.Width) * size_t(img.Height));
  for (Integer y = 0; y < img.Height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(src + size_t(y) * size_t(stride));
    std::uint32_t* out = img.Pixels.data() + size_t(y) * size_t(img.Width);
    for (Integer x = 0; x < img.Width; ++x) {
      std::uint32_t p = row[x];
      if (format == CAIRO_FORMAT_ARGB32) {
        // Premultiplied colour over white: c + (255 - alpha) per channel.
        std::uint32_t a = p >> 24, add = 255 - a;
        std::uint32_t r = ((p >> 16) & 0xFF) + add, g = ((p >> 8) & 0xFF) + add,
                      b = (p & 0xFF) + add;
        p = ((r > 255 ? 255 : r) << 16) | ((g > 255 ? 255 : g) << 8) | (b > 255 ? 255 : b);
      }
      out[x] = p & 0x00FFFFFF;
    }
  }
  cairo_surface_destroy(surface);
  return img;
}

void EncodePng(const std::uint32_t* pixels, Integer width, Integer height, Integer stride,
               TStream& stream) {
  if (width <= 0 || height <= 0)
    throw EInvalidGraphicOperation(res::SImageTooLarge, {width, height});
  // cairo wants its own stride; copy rows when ours differs.
  Integer cairoStride = cairo_format_stride_for_width(CAIRO_FORMAT_RGB24, width);
  std::vector<std::uint32_t> copy;
  const std::uint32_t* data = pixels;
  if (cairoStride != stride * 4) {
    copy.resize(size_t(cairoStride / 4) * size_t(height));
    for (Integer y = 0; y < height; ++y)
      std::memcpy(copy.data() + size_t(y) * size_t(cairoStride / 4),
                  pixels + size_t(y) * size_t(stride), size_t(width) * 4);
    data = copy.data();
  }
  cairo_surface_t* surface = cairo_image_surface_create_for_data(
      reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(data)), CAIRO_FORMAT_RGB24, width,
      height, cairoStride);
  TWriteState state{&stream, nullptr};
  cairo_status_t status = cairo_surface_write_to_png_stream(surface, WriteToStream, &state);
  cairo_surface_destroy(surface);
  if (state.Error) std::rethrow_exception(state.Error);
  if (status != CAIRO_STATUS_SUCCESS)
    throw EInvalidGraphicOperation(res::SInvalidPng, {String(cairo_status_to_string(status))});
}

}  // namespace brevant::detail
