// TWriter: writes components in the binary form stream (see filer.h).
//
// What is written for an object: its published properties in declaration
// order (inherited first), skipping read-only ones, those whose stored
// condition is false and those equal to the declared default (or, when
// writing a descendant, equal to the ancestor's value); nested persistent
// objects with dotted names ("Font.Style"); a collection as a collection
// value; a component that is not a subcomponent of the property's holder as
// a reference by name; handlers by method name; then the properties the
// object defines itself (DefineProperties); then, for components, the
// children GetChildren lists.
//
// Integers take the smallest of vaInt8/16/32/Int64 that holds them.
// Strings: ASCII text below 256 bytes is vaString, longer ASCII text
// vaLString, any other text vaUTF8String; wide strings are vaWString.
#pragma once

#include "classes/filer.h"
#include "rtl/scope.h"
#include "rtl/variant.h"

namespace brevant {

class TCollection;

class TWriter : public TFiler {
 public:
  explicit TWriter(TStream& stream);
  ~TWriter() override;

  // ---- trees ----
  // The signature, then root written as a descendant of ancestor (nullptr:
  // against the declared defaults). Children found by name in the
  // ancestor are written as inherited, with only the differing properties.
  void WriteDescendent(TComponent* root, TComponent* ancestor);
  void WriteRootComponent(TComponent* root) { WriteDescendent(root, nullptr); }
  // One object below the current one (its prefix, names, properties and
  // children).
  void WriteComponent(TComponent* component);

  // ---- values ----
  void WriteSignature();
  void WritePrefix(TFilerFlags flags, Integer childPos);
  void WriteValue(TValueType type);
  // A short string without type byte; raises EWriteError above 255 bytes.
  void WriteStr(const String& s);
  void WriteListBegin() { WriteValue(vaList); }
  void WriteListEnd() { WriteValue(vaNull); }
  void WriteInteger(Integer value) { WriteInteger(static_cast<Int64>(value)); }
  void WriteInteger(Int64 value);
  void WriteFloat(Extended value);
  void WriteSingle(float value);
  void WriteCurrency(Currency value);
  void WriteDate(TDateTime value);
  void WriteBoolean(bool value) { WriteValue(value ? vaTrue : vaFalse); }
  void WriteChar(char value) { WriteString(String(1, value)); }
  void WriteString(const String& value);
  void WriteWideString(const WideString& value);
  // "False", "True", "nil" and "Null" (any case) become their value types.
  void WriteIdent(const String& ident);
  // Raises EWriteError for variant types that have no stream value
  // (arrays, BCDs, time stamps, UInt64 values beyond Int64).
  void WriteVariant(const Variant& value);
  void WriteBinary(const void* data, Int64 size);
  void WriteCollection(const TCollection* collection);
  // The published and defined properties of instance (no end marker).
  void WriteProperties(const TPersistent* instance);
  // A property name; nested objects prefix it with their path.
  void WritePropName(const String& name);

  Int64 Position() const;

  void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const String& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

 private:
  // One nesting level deeper for the scope of the answer; raises EWriteError
  // naming instance beyond MaxFilerNesting.
  TTemporaryChange<Integer> EnterNesting(const TPersistent* instance);
  void WriteBytes(const void* data, std::size_t count);
  void WriteUInt32(Cardinal v);
  void WriteLength(std::size_t size);
  void WriteComponentAs(TComponent* component, TComponent* ancestor, TFilerFlags flags,
                        Integer pos);
  void WritePropertiesOf(const TPersistent* instance, const TPersistent* ancestor,
                         const String& prefix);
  void WriteProperty(const TPersistent* instance, const TPersistent* ancestor,
                     const struct TPropInfo* p, const String& prefix);
  void WriteObjectProperty(const TPersistent* instance, const TPersistent* ancestor,
                           const struct TPropInfo* p, const String& prefix);
  String MethodNameOf(const TPersistent* instance, const struct TPropInfo* p) const;

  String prefix_;                       // path of the nested object whose properties are written
  Integer depth_ = 0;                   // components and objects open, up to MaxFilerNesting
  TComponent* rootAncestor_ = nullptr;  // the ancestor of the root written, if any
};

}  // namespace brevant
