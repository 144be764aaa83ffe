// TReader: reads the binary form stream (see filer.h) into components.
//
// Reading a tree: ReadRootComponent(root) reads into an existing root (the
// stream's class name is not checked, the root keeps its name) or, with
// nullptr, creates the root from the registered class the stream names.
// Children are created by registered class name, owned by the root and
// given their parent with SetParentComponent. Every component read is in
// csLoading and csReading while the stream is read; component references
// are resolved by name once the whole stream is read, then each component's
// Loaded runs once. Handlers are bound by name to published methods of the
// root's class.
//
// Failures raise EReadError (EClassNotFound for an unknown class). The
// target keeps what was read before the failure; the component whose read
// failed and those created inside it are freed; the loading flags are
// cleared without calling Loaded.
//
// The value routines (ReadInteger ...) are what DefineProperties handlers
// use; each checks the value's type and raises EReadError, quoting the byte
// offset, on a wrong type, a truncated or corrupt stream.
#pragma once

#include <vector>

#include "classes/filer.h"
#include "rtl/scope.h"
#include "rtl/variant.h"

namespace brevant {

class TCollection;
struct TPropInfo;

class TReader : public TFiler {
 public:
  // Reads from the stream's position; the stream's position follows what
  // the reader consumed (see FlushBuffer).
  explicit TReader(TStream& stream);
  ~TReader() override;

  // ---- trees ----
  // Reads the signature and one object. With root nullptr the root is
  // created from its class name, owned by newRootOwner (free it when done);
  // answers the root.
  TComponent* ReadRootComponent(TComponent* root, TComponent* newRootOwner = nullptr);
  // Reads one object (below the current one) and answers the component.
  TComponent* ReadComponent();

  // ---- values ----
  void ReadSignature();
  void ReadPrefix(TFilerFlags& flags, Integer& childPos);
  // The type of the next value, without consuming it / consuming it. The
  // typed reads below consume nothing when the value has another type.
  TValueType NextValue();
  TValueType ReadValue();
  void CheckValue(TValueType type);
  // Whether the next byte is the end marker (vaNull).
  bool EndOfList();
  void ReadListBegin() { CheckValue(vaList); }
  void ReadListEnd() { CheckValue(vaNull); }
  // Skips one value of any type.
  void SkipValue();

  // A short string without type byte (names).
  String ReadStr();
  // vaInt8/16/32, and vaInt64 within range.
  Integer ReadInteger();
  Int64 ReadInt64();
  // Any number: integers, extended, single, currency, date.
  Extended ReadFloat();
  float ReadSingle();
  Currency ReadCurrency();
  TDateTime ReadDate();
  bool ReadBoolean();
  char ReadChar();
  // Any string value; wide strings convert to UTF-8.
  String ReadString();
  // Any string value; 8-bit strings are read as UTF-8.
  WideString ReadWideString();
  // Identifiers; vaFalse, vaTrue, vaNil and vaNull read as "False", "True",
  // "nil" and "Null".
  String ReadIdent();
  // A value of any simple type as a variant: integers, floats (extended as
  // double), currency, date, strings, booleans; nil is Unassigned, vaNull
  // is Null.
  Variant ReadVariant();
  // A vaBinary value's bytes.
  String ReadBinary();
  // A vaCollection value into collection: the collection is emptied, then
  // one item is added per stored item, inside BeginUpdate/EndUpdate.
  void ReadCollection(TCollection* collection);
  // Reads properties (name and value) up to the end of the list into
  // instance, then the end marker.
  void ReadProperties(TPersistent* instance);

  // The absolute stream position of the next byte.
  Int64 Position() const { return base_ + static_cast<Int64>(pos_); }
  // Sets the stream's position to the reader's.
  void FlushBuffer();

  // The component whose children are being read / their owner.
  TComponent* Parent() const { return parent_; }
  TComponent* Owner() const { return owner_; }

  void DefineProperty(const String& name, const TReaderProc& readData, const TWriterProc& writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const String& name, const TStreamProc& readData,
                            const TStreamProc& writeData, bool hasData) override;

 private:
  [[noreturn]] void Corrupt(const char* fmt, Int64 arg) const;
  [[noreturn]] void WrongValue(TValueType type) const;
  String InstancePath(const TPersistent* instance, std::size_t steps) const;
  [[noreturn]] void PropError(const String& where, const String& prop, const String& msg) const;
  void Need(std::size_t count) const;
  Byte ReadByte();
  void ReadBytes(void* dest, std::size_t count);
  Cardinal ReadUInt32();
  std::size_t ReadLength(std::size_t unit);
  Int64 ReadIntOf(TValueType type);
  struct TAnchorScope;
  // One nesting level deeper for the scope of the answer; raises EReadError
  // for a stream nested deeper than MaxFilerNesting.
  TTemporaryChange<Integer> EnterNesting();
  // Offers the property name to the instance's DefineProperties handlers;
  // answers whether one of them read the value.
  bool ReadDefinedProperty(TPersistent* instance, const String& name);
  // Names a component read from the stream; a clash raises EReadError with
  // the name's position.
  void SetComponentName(TComponent* c, const String& name, Int64 at);
  void ReadData(TComponent* instance);
  void ReadProperty(TPersistent* instance);
  void ReadPropValue(TPersistent* instance, const TPropInfo* p);
  void ReadObjectValue(TPersistent* instance, const TPropInfo* p);
  void ReadNilObject(TPersistent* instance, const TPropInfo* p);
  void ReadCollectionValue(TPersistent* instance, const TPropInfo* p);
  void ReadObjectReference(TPersistent* instance, const TPropInfo* p);
  void ReadCollectionItems(TCollection* collection);
  void ReadMethodValue(TPersistent* instance, const TPropInfo* p);
  void SkipDepth(Integer depth);
  void ResolveFixups(bool raise);
  void FreeCreatedSince(std::size_t mark);
  void FinishRead();
  void CancelRead();

  std::vector<Byte> data_;  // the stream's bytes from base_ on
  std::size_t pos_ = 0;     // read position in data_
  Int64 base_ = 0;          // the stream position data_ starts at

  TComponent* owner_ = nullptr;   // owner of the components read next
  TComponent* parent_ = nullptr;  // parent of the components read next
  TComponent* holder_ = nullptr;  // the component whose properties are read
  // Steps from holder_ to the object whose properties are read, for fixups.
  std::vector<detail::TFixupStep> path_;
  bool pathKnown_ = true;  // whether path_ leads from holder_ (false inside
                           // objects read on their own)
  // The collection a component streams itself that is being read, and the
  // length of path_ where the steps inside it begin.
  TCollection* anchor_ = nullptr;
  std::size_t anchorDepth_ = 0;
  String rootName_;                   // the name the stream gives the root being read
  String propName_;                   // the property DefineProperties handlers may claim
  bool propHandled_ = false;          // whether a handler read propName_'s value
  mutable bool wrapped_ = false;      // a property error already names its property
  Integer depth_ = 0;                 // components and collections open, up to MaxFilerNesting
  std::vector<TComponent*> loaded_;   // components in the loading state
  std::vector<TComponent*> created_;  // components this read created
  std::vector<detail::TFixupRecord> fixups_;  // references resolved when the read ends
};

}  // namespace brevant
