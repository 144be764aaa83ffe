#include "bv_rtm/object_text.h"

#include "bv_rtm/bv_strings.h"
#include "classes/form_text.h"
#include "classes/reader.h"
#include "classes/rtti_builder.h"
#include "classes/writer.h"
#include "rtl/exceptions.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"

namespace brevant {

BV_PUBLISH(TUniDataStorage, TComponent) {
  p.Property("Description", &TUniDataStorage::Description, &TUniDataStorage::SetDescription);
  p.Property("Data", &TUniDataStorage::Data, &TUniDataStorage::SetData);
}

namespace {

// The bytes of text as a binary form stream, at position 0.
void ToBinary(const String& text, bool fromText, TMemoryStream& binary) {
  if (fromText) {
    TStringStream input(text);
    ObjectTextToBinary(input, binary);
  } else {
    binary.WriteBuffer(text.data(), static_cast<Int64>(text.size()));
  }
  binary.SetPosition(0);
}

void ReadInto(TMemoryStream& binary, TComponent* root) {
  TReader reader(binary);
  reader.ReadRootComponent(root);
}

// Refuses a stream whose root has child objects before anything is read, so
// no component of the class it names is ever constructed. A stream too
// corrupt to get there is left to the reader, which reports it where it
// stops.
void RefuseChildObjects(TMemoryStream& binary) {
  String className;
  Int64 at = 0;
  bool child = false;
  try {
    TReader scan(binary);
    scan.ReadSignature();
    TFilerFlags flags;
    Integer childPos = 0;
    scan.ReadPrefix(flags, childPos);
    scan.ReadStr();
    scan.ReadStr();
    while (!scan.EndOfList()) {
      scan.ReadStr();
      scan.SkipValue();
    }
    scan.ReadListEnd();
    if (!scan.EndOfList()) {
      child = true;
      at = scan.Position();
      scan.ReadPrefix(flags, childPos);
      className = scan.ReadStr();
    }
  } catch (const EReadError&) {
  }
  // The scanning reader is gone (it moves the stream's position when it is).
  binary.SetPosition(0);
  if (child) throw EReadError(bvres::SChildObjectRefused, {className, at});
}

}  // namespace

String ComponentToStr(TComponent* component, bool asText) {
  TMemoryStream binary;
  TWriter(binary).WriteRootComponent(component);
  binary.SetPosition(0);
  if (!asText) {
    return String(static_cast<const char*>(binary.Memory()),
                  static_cast<std::size_t>(binary.Size()));
  }
  TStringStream text;
  ObjectBinaryToText(binary, text);
  return text.DataString();
}

TComponent* StrToComponent(TComponent* component, const String& text, bool fromText) {
  if (text.empty()) return nullptr;
  TMemoryStream binary;
  ToBinary(text, fromText, binary);
  ReadInto(binary, component);
  return component;
}

String ObjectToStr(TPersistent* object, const String& description, bool asText) {
  if (auto* component = dynamic_cast<TComponent*>(object)) return ComponentToStr(component, asText);
  TObjectPtr<TUniDataStorage> wrapper = MakeObject<TUniDataStorage>(nullptr);
  wrapper->SetDescription(description);
  wrapper->SetData(object);
  return ComponentToStr(wrapper.get(), asText);
}

void StrToObject(TPersistent* object, const String& text, bool fromText) {
  if (text.empty()) return;
  if (auto* component = dynamic_cast<TComponent*>(object)) {
    StrToComponent(component, text, fromText);
    return;
  }
  TMemoryStream binary;
  ToBinary(text, fromText, binary);
  RefuseChildObjects(binary);
  TObjectPtr<TUniDataStorage> wrapper = MakeObject<TUniDataStorage>(nullptr);
  wrapper->SetData(object);
  ReadInto(binary, wrapper.get());
}

}  // namespace brevant
