#include "classes/formstream.h"

#include "classes/reader.h"
#include "classes/writer.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"

namespace brevant {

namespace {

// Runs read on the binary form of the stream's content, converting text first.
template <class F>
void WithBinary(TStream& stream, F read) {
  switch (TestStreamFormat(stream)) {
    case sofBinary:
      read(stream);
      return;
    case sofText: {
      TMemoryStream binary;
      ObjectTextToBinary(stream, binary);
      binary.SetPosition(0);
      read(binary);
      return;
    }
    default:
      throw EReadError(String(res::SInvalidStreamFormat));
  }
}

}  // namespace

void WriteComponent(TStream& stream, TComponent* root) {
  TWriter writer(stream);
  writer.WriteRootComponent(root);
}

void WriteComponentText(TStream& stream, TComponent* root) {
  TMemoryStream binary;
  WriteComponent(binary, root);
  binary.SetPosition(0);
  ObjectBinaryToText(binary, stream);
}

void ReadComponent(TStream& stream, TComponent* root) {
  if (!root) throw EInvalidOperation(String("ReadComponent needs a root component"));
  WithBinary(stream, [root](TStream& binary) {
    TReader reader(binary);
    reader.ReadRootComponent(root);
  });
}

TComponent* ReadNewComponent(TStream& stream, TComponent* owner) {
  TComponent* result = nullptr;
  WithBinary(stream, [&](TStream& binary) {
    TReader reader(binary);
    result = reader.ReadRootComponent(nullptr, owner);
  });
  return result;
}

}  // namespace brevant
