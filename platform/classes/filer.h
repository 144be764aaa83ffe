// Form streams: the shared vocabulary of the reader and the writer.
//
// A form stream stores a component tree (a root, its published state and its
// children). The binary form starts with the signature "TPF0"; one object is
// an optional prefix byte $F0|flags, the class name and the object name as
// short strings, its properties up to a 0 byte, its children up to a 0 byte.
// A property is its (possibly dotted) name as a short string and one value:
// a type byte (TValueType) and its data, little-endian. Collection items are
// an optional integer value (the item's index), then vaList, the item's
// properties and a 0 byte; the collection ends with a 0 byte.
//
// TFiler is what TPersistent::DefineProperties receives: through it an
// object reads and writes properties of its own beside the published ones.
#pragma once

#include <functional>
#include <vector>

#include "classes/component.h"
#include "rtl/sets.h"

namespace brevant {

class TStream;
class TCollection;
class TReader;
class TWriter;
struct TTypeInfo;

enum TValueType : Byte {
  vaNull,  // end of a list; as a value, a Null variant
  vaList,  // values up to vaNull
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,  // 10-byte x87 extended float
  vaString,    // length byte, bytes
  vaIdent,     // length byte, bytes
  vaFalse,
  vaTrue,
  vaBinary,   // 4-byte length, bytes
  vaSet,      // identifiers up to an empty one
  vaLString,  // 4-byte length, bytes
  vaNil,
  vaCollection,  // items up to vaNull
  vaSingle,      // 4-byte float
  vaCurrency,    // int64 counting ten-thousandths
  vaDate,        // 8-byte double
  vaWString,     // 4-byte count of UTF-16 units, units
  vaInt64,
  vaUTF8String,  // 4-byte length, bytes
};
inline constexpr Byte vaMaxValueType = vaUTF8String;

// Bits of the object prefix byte ($F0 | flags).
enum TFilerFlag : Byte { ffInherited, ffChildPos, ffInline };
using TFilerFlags = TSet<TFilerFlag>;

// Nested lists, collections and objects deeper than this are refused.
inline constexpr Integer MaxFilerNesting = 256;

using TReaderProc = std::function<void(TReader& reader)>;
using TWriterProc = std::function<void(TWriter& writer)>;
using TStreamProc = std::function<void(TStream& stream)>;

class TFiler {
 public:
  explicit TFiler(TStream& stream) : stream_(&stream) {}
  TFiler(const TFiler&) = delete;
  TFiler& operator=(const TFiler&) = delete;
  virtual ~TFiler() = default;

  TStream& Stream() const { return *stream_; }
  // The root of the tree being read or written.
  TComponent* Root() const { return root_; }
  // The component whose names references resolve against (the root, or an
  // inline component while its children are handled).
  TComponent* LookupRoot() const { return lookupRoot_; }
  // While writing a descendant: the object the current one is compared
  // with (handlers decide hasData against it); nullptr otherwise.
  TPersistent* Ancestor() const { return ancestor_; }

  // A property the object stores itself. The reader calls readData when the
  // stream holds a property of this name for the object; the writer writes
  // the name and calls writeData when hasData is true. Either procedure may
  // be empty: a property that is only read (an old name) or only written.
  virtual void DefineProperty(const String& name, const TReaderProc& readData,
                              const TWriterProc& writeData, bool hasData) = 0;
  // The same for a block of bytes (a picture): readData receives a stream
  // positioned at the start of the bytes, writeData writes them.
  virtual void DefineBinaryProperty(const String& name, const TStreamProc& readData,
                                    const TStreamProc& writeData, bool hasData) = 0;

 protected:
  TStream* stream_;
  TComponent* root_ = nullptr;
  TComponent* lookupRoot_ = nullptr;
  TPersistent* ancestor_ = nullptr;
};

// ---- 80-bit extended floats -------------------------------------------------
// The 10-byte x87 form (64-bit mantissa with explicit integer bit, 15-bit
// exponent, sign), built and read with portable arithmetic. Hosts whose long
// double is wider round to it; narrower hosts lose the extra precision.
void ExtendedToBytes(Extended value, Byte out[10]);
Extended BytesToExtended(const Byte in[10]);
// Narrowing that saturates to infinity instead of leaving the range.
double ExtendedToDouble(Extended value);
float ExtendedToSingle(Extended value);

// ---- integer identifiers ------------------------------------------------------
// Integer types whose values have names (TColor: clRed): the writer writes a
// named value as an identifier, the reader accepts the identifiers.
using TIdentToInt = bool (*)(const String& ident, Int64& value);
using TIntToIdent = bool (*)(Int64 value, String& ident);
void RegisterIntegerConsts(const TTypeInfo* type, TIdentToInt identToInt, TIntToIdent intToIdent);

// ---- roots and references --------------------------------------------------------
// Roots (forms, data modules) other streams refer to as "Root.Component".
// A root leaves the list by itself when it is freed. Adding a root resolves
// references that earlier reads could not resolve because it was missing.
void AddGlobalRoot(TComponent* root);
void RemoveGlobalRoot(TComponent* root);
// nullptr when no root of that name (ignoring case) is registered.
TComponent* FindGlobalRoot(const String& name);
// The component a stream reference names, seen from root: "Name" (a
// component of root, or root itself), "A.B" (B owned by A, where A is a
// component of root or a global root), "A.Owner" (the global root A).
// nullptr when it does not resolve.
TComponent* FindNestedComponent(TComponent* root, const String& path);
// How a writer names component as seen from root; empty when it has no name
// that resolves back to it.
String ComponentReferenceName(const TComponent* root, const TComponent* component);
// References left open by reads (waiting for their root to be added).
Integer PendingGlobalFixups();

namespace detail {
// A component reference read from a stream, resolved once the stream is
// read. The instance is found again from the component being read through
// published object properties and collection item IDs, so a reference whose
// object went away in the meantime is dropped instead of written to freed
// memory.
struct TFixupStep {
  String Prop;          // through this published object property
  Integer ItemID = -1;  // or to the collection item with this ID
  Integer Index = -1;   // (the item's index when read, for messages)
};
struct TFixupRecord {
  TComponent* Holder = nullptr;  // the component being read
  TComponent* Root = nullptr;    // where names resolve first (nullptr: global roots only)
  std::vector<TFixupStep> Path;  // from Holder (or Anchor) to the instance
  bool PathKnown = true;
  // A collection the holder streams itself: Path starts there, by item IDs,
  // so that items emptied out later in the stream are not written to.
  TCollection* Anchor = nullptr;
  TPersistent* Instance = nullptr;   // used when neither path is known
  TComponent* StreamRoot = nullptr;  // the root being read, also named as ...
  String StreamRootName;             // ... this name the stream gives it
  String Prop;
  String Name;  // the reference as stored
  UInt64 Serial = 0;
};
enum TFixupResult : Byte { frDone, frMissingRoot, frUnresolved, frGone };
// Sets the property; exceptions of the setter propagate.
TFixupResult ApplyFixup(const TFixupRecord& fixup);
// Keeps a reference whose root is missing until AddGlobalRoot brings it.
void DeferFixup(TFixupRecord fixup);
// The registered names of an integer type's values (nullptrs when none).
void FindIntegerConsts(const TTypeInfo* type, TIdentToInt& identToInt, TIntToIdent& intToIdent);
}  // namespace detail

}  // namespace brevant
