// Feeds arbitrary text to the text-form parser. Text it accepts must convert
// back to text, and that text must be stable: parsing and writing it again
// gives the same text and the same binary form. Anything else (a crash, an
// exception that is not the parser's, a sanitizer report, a hang) is a fault.
#include <cstddef>
#include <cstdint>

#include "classes/form_text.h"
#include "rtl/exceptions.h"
#include "rtl/streams.h"

using namespace brevant;

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
  String binary;
  try {
    binary = Convert(input, false);
  } catch (const Exception&) {
    return 0;  // the parser's documented failure
  }
  const String text = Convert(binary, true);
  const String binary2 = Convert(text, false);
  const String text2 = Convert(binary2, true);
  if (text2 != text) __builtin_trap();
  if (Convert(text2, false) != binary2) __builtin_trap();
  return 0;
}
