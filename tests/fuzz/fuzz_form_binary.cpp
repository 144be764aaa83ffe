// Feeds arbitrary bytes to the form reader: converted to text (which must then
// read back to the same text), read into a sample component tree, and read
// as a new root. Each step either succeeds or raises the reader's error;
// nothing may crash, leak or read out of bounds.
#include <cstddef>
#include <cstdint>

#include "classes/form_text.h"
#include "rtl/exceptions.h"
#include "rtl/streams.h"
#include "stream_samples.h"

using namespace brevant;
using namespace sample;

namespace {

String Convert(const String& data, bool toText) {
  TStringStream in(data), out;
  if (toText)
    ObjectBinaryToText(in, out);
  else
    ObjectTextToBinary(in, out);
  return out.DataString();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const String input(reinterpret_cast<const char*>(data), size);
  RegisterSampleClasses();

  String text;
  bool converted = true;
  try {
    text = Convert(input, true);
  } catch (const Exception&) {
    converted = false;
  }
  if (converted) {
    // Whatever the binary reader turns into text, the parser reads back.
    const String text2 = Convert(Convert(text, false), true);
    if (text2 != text) __builtin_trap();
  }

  TSampleForm* form = MakeSampleForm();
  try {
    ReadInto(input, form);
  } catch (const Exception&) {
  }
  form->Free();

  try {
    TComponent* root = ReadNew(input);
    root->Free();
  } catch (const Exception&) {
  }
  return 0;
}
