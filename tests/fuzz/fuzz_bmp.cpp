// Feeds arbitrary bytes to the bitmap loader (BMP, and PNG for what starts
// like one). A load either succeeds within the image limits or raises
// EInvalidGraphic and leaves the bitmap as it was; anything else (another
// exception, a crash, a sanitizer report, an allocation beyond the limits)
// is a fault.
#include <cstddef>
#include <cstdint>

#include "picture_check.h"
#include "rtl/streams.h"

using namespace brevant;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TObjectPtr<TBitmap> bitmap(Create<TBitmap>());
  fuzz::MakeKnownImage(bitmap.get());
  TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<Int64>(size));
  stream.SetPosition(0);
  try {
    bitmap->LoadFromStream(stream);
  } catch (const EInvalidGraphic&) {
    if (!fuzz::HoldsKnownImage(bitmap.get())) __builtin_trap();
    return 0;
  }
  if (!fuzz::WithinLimits(bitmap.get())) __builtin_trap();
  return 0;
}
