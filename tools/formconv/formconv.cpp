// formconv: converts form streams between the binary and the text form.
//
//   formconv --to-text IN OUT     binary (or text) form -> text form
//   formconv --to-binary IN OUT   text (or binary) form -> binary form
//
// Input already in the target form is checked and rewritten in its
// canonical layout. Exit status: 0 on success, 1 when the input cannot be
// converted (the reason, with the line number for text, goes to stderr),
// 2 for a wrong command line.
#include <cstdio>
#include <cstring>

#include "classes/form_text.h"
#include "rtl/exceptions.h"
#include "rtl/streams.h"

using namespace brevant;

namespace {

void Usage(std::FILE* out) {
  std::fputs(
      "Usage: formconv --to-text IN OUT\n"
      "       formconv --to-binary IN OUT\n"
      "Converts a form stream between its binary form (\"TPF0\") and its text form.\n"
      "Either form is accepted as input. Exit status 0 on success, 1 when the input\n"
      "is malformed (the message names the line or byte offset), 2 for usage errors.\n",
      out);
}

// Converts input to the binary form in memory.
void ToBinary(TMemoryStream& input, TMemoryStream& binary) {
  switch (TestStreamFormat(input)) {
    case sofText:
      ObjectTextToBinary(input, binary);
      return;
    case sofBinary: {
      // Through the text form, which checks the whole stream.
      TMemoryStream text;
      ObjectBinaryToText(input, text);
      text.SetPosition(0);
      ObjectTextToBinary(text, binary);
      return;
    }
    default:
      throw EReadError(String("Neither a binary nor a text form stream"));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
    Usage(stdout);
    return 0;
  }
  if (argc != 4 ||
      (std::strcmp(argv[1], "--to-text") != 0 && std::strcmp(argv[1], "--to-binary") != 0)) {
    Usage(stderr);
    return 2;
  }
  const bool toText = std::strcmp(argv[1], "--to-text") == 0;
  const String inName = argv[2];
  const String outName = argv[3];
  try {
    TMemoryStream input;
    input.LoadFromFile(inName);
    TMemoryStream binary;
    ToBinary(input, binary);
    binary.SetPosition(0);
    TMemoryStream output;
    if (toText)
      ObjectBinaryToText(binary, output);
    else
      output.CopyFrom(binary, 0);
    output.SaveToFile(outName);
  } catch (const Exception& e) {
    std::fprintf(stderr, "formconv: %s: %s\n", inName.c_str(), e.Message().c_str());
    return 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "formconv: %s: %s\n", inName.c_str(), e.what());
    return 1;
  }
  return 0;
}
