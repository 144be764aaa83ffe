// Feeds arbitrary bytes to the PNG loader. A load either succeeds within the
// image limits or raises EInvalidGraphic and leaves the image as it was;
// anything else (another exception, a crash, a sanitizer report, an
// allocation beyond the limits) is a fault.
#include <cstddef>
#include <cstdint>

#include "picture_check.h"
#include "rtl/streams.h"

using namespace brevant;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TObjectPtr<TPngImage> image(Create<TPngImage>());
  fuzz::MakeKnownImage(image.get());
  TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<Int64>(size));
  stream.SetPosition(0);
  try {
    image->LoadFromPngStream(stream);
  } catch (const EInvalidGraphic&) {
    if (!fuzz::HoldsKnownImage(image.get())) __builtin_trap();
    return 0;
  }
  if (!fuzz::WithinLimits(image.get())) __builtin_trap();
  return 0;
}
