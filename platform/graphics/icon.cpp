#include "graphics/icon.h"

#include <cstring>

#include "classes/rtti_builder.h"
#include "graphics/image_codecs.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TIcon, TGraphic)

namespace {

[[noreturn]] void Invalid(const char* why) {
  throw EInvalidGraphic(res::SInvalidIcon, {why});
}

using detail::ReadLE16;
using detail::ReadLE32;

}  // namespace

bool detail::StreamLooksLikeIcon(TStream& stream) {
  Int64 at = stream.Position();
  Byte head[4] = {};
  Int64 got = stream.Read(head, 4);
  stream.SetPosition(at);
  return got == 4 && head[0] == 0 && head[1] == 0 && head[2] == 1 && head[3] == 0;
}

void TIcon::Assign(const TPersistent* source) {
  if (!source) {
    data_.clear();
    width_ = height_ = 0;
    Changed();
    return;
  }
  if (const TIcon* icon = dynamic_cast<const TIcon*>(source)) {
    if (icon == this) return;
    data_ = icon->data_;
    width_ = icon->width_;
    height_ = icon->height_;
    Changed();
    return;
  }
  TGraphic::Assign(source);
}

// The icon file: a 6-byte header (0, type 1, image count), 16 bytes per
// image (width, height, ..., size, offset), then the images.
void TIcon::LoadFromStream(TStream& stream) {
  Int64 start = stream.Position();
  Int64 available = stream.Size() - start;
  Byte header[6];
  if (available < 6 || stream.Read(header, 6) != 6) Invalid("the header is truncated");
  Cardinal count = ReadLE16(header + 4);
  if (ReadLE16(header) != 0 || ReadLE16(header + 2) != 1 || count == 0) Invalid("no icon header");
  Int64 dirSize = 6 + 16 * Int64(count);
  if (available < dirSize) Invalid("the image directory is truncated");
  std::vector<Byte> dir(size_t(16 * count));
  if (stream.Read(dir.data(), Int64(dir.size())) != Int64(dir.size()))
    Invalid("the image directory is truncated");
  Int64 end = dirSize;
  for (Cardinal i = 0; i < count; ++i) {
    const Byte* e = dir.data() + 16 * i;
    Int64 size = ReadLE32(e + 8), offset = ReadLE32(e + 12);
    if (offset < dirSize || offset + size > available) Invalid("an image lies outside the data");
    end = Max(end, offset + size);
  }
  std::vector<Byte> data(static_cast<size_t>(end));
  stream.SetPosition(start);
  if (stream.Read(data.data(), end) != end) Invalid("the data is truncated");
  data_ = std::move(data);
  width_ = dir[0] ? dir[0] : 256;
  height_ = dir[1] ? dir[1] : 256;
  Changed();
}

void TIcon::SaveToStream(TStream& stream) const {
  if (!data_.empty()) stream.WriteBuffer(data_.data(), Int64(data_.size()));
}

}  // namespace brevant
