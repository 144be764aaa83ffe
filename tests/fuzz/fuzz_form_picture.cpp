// Feeds arbitrary bytes as the binary data of a bitmap property in a form
// stream ("Glyph.Data = {...}"), read into a component whose bitmap holds a
// known image. The read either succeeds or raises the reader's EReadError
// (naming the property and the graphics error) with the bitmap as it was;
// anything else (another exception, a crash, a sanitizer report, an
// allocation beyond the limits) is a fault.
#include <cstddef>
#include <cstdint>

#include "classes/reader.h"
#include "classes/rtti_builder.h"
#include "classes/writer.h"
#include "picture_check.h"
#include "rtl/streams.h"

using namespace brevant;

namespace {

// A component that publishes a bitmap, as buttons publish their glyph.
class TGlyphHolder : public TComponent {
  BV_CLASS(TGlyphHolder, TComponent)
 public:
  using TComponent::TComponent;
  TBitmap* Glyph() const { return glyph_.get(); }

 private:
  TObjectPtr<TBitmap> glyph_{Create<TBitmap>()};
};

// The form stream: the holder with one property, the bytes as binary data.
String FormWithGlyphData(const uint8_t* data, size_t size) {
  TStringStream s;
  {
    TWriter w(s);
    w.WriteSignature();
    w.WriteStr("TGlyphHolder");
    w.WriteStr("Holder");
    w.WriteStr("Glyph.Data");
    w.WriteBinary(data, static_cast<Int64>(size));
    w.WriteListEnd();
    w.WriteListEnd();
  }
  return s.DataString();
}

}  // namespace

BV_PUBLISH(TGlyphHolder, TComponent) {
  p.ReadOnly("Glyph", &TGlyphHolder::Glyph);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TObjectPtr<TGlyphHolder> holder(Create<TGlyphHolder>(nullptr));
  fuzz::MakeKnownImage(holder->Glyph());
  TStringStream stream(FormWithGlyphData(data, size));
  try {
    TReader reader(stream);
    reader.ReadRootComponent(holder.get());
  } catch (const EReadError&) {
    if (!fuzz::HoldsKnownImage(holder->Glyph())) __builtin_trap();
    return 0;
  }
  if (!fuzz::WithinLimits(holder->Glyph())) __builtin_trap();
  return 0;
}
