// The property accessor: reads and writes one published property of one
// object by name, through the run-time type information, and moves the
// value through a TznUniValue so that any property copies to and from
// dataset fields with the value layer's conversions.
//
// Around it: the property type map (which field data type shows a
// property; also used by the object dataset's field derivation), the walk
// along a dotted path of object-typed properties, and small by-name
// helpers.
//
// Component references travel as 32-bit handles of the object handle
// table (rtl/handles.h). Writing one accepts only 0 (nil) or the handle of
// a live component of the property's class: a number is never taken for an
// object.
#pragma once

#include "bv_db/univalue.h"

namespace brevant {

// What kind of object or set a property holds (TznPropInfo::ClassKind).
enum TznPropClassKind : Byte {
  pckNone = 0,       // not an object or set property the map knows
  pckStrings = 1,    // a string list, shown as memo text
  pckBitmap = 3,     // a bitmap, shown as a blob in its stream form
  pckComponent = 4,  // a component, shown as its handle
  pckSet = 5         // a set, shown as the integer of its bits
};

// The field a property maps to.
struct TznPropInfo {
  TFieldType DataType = ftUnknown;  // field data type that represents the property
  Integer Size = 0;                 // field size (0 where the type has none)
  bool ReadOnly = true;             // the property has no setter
  Byte ClassKind = pckNone;         // a TznPropClassKind
  String ElementNames;              // sets: the element names, ';'-separated
};

// The field length of string properties when nothing else is asked for.
inline constexpr Integer DefaultPropStringLength = 1024;

// The property type map. stringLength sizes long-string fields (twice that
// for wide strings); a string property named in blobProperties (a
// ';'-separated list, ignoring case) maps to a memo field instead. A nil
// property maps to ftUnknown, read-only.
TznPropInfo MapPropType(const TPropInfo* prop, Integer stringLength = DefaultPropStringLength,
                        const String& blobProperties = String());

class TznPropAccessor : public TPersistent {
  BV_CLASS(TznPropAccessor, TPersistent)
 public:
  // An accessor for a property the class does not publish is made all the
  // same, with Valid False.
  TznPropAccessor(TObject* instance, const String& propName);
  ~TznPropAccessor() override;

  const TPropInfo* PropInfo() const { return propInfo_; }
  bool Valid() const { return propInfo_ != nullptr; }
  TObject* Instance() const { return instance_; }
  const String& PropName() const { return propName_; }
  TFieldType DataType() const { return info_.DataType; }
  bool ReadOnly() const { return info_.ReadOnly; }
  const String& ElementNames() const { return info_.ElementNames; }
  Byte ClassKind() const { return info_.ClassKind; }
  // The transfer value, typed with DataType; empty between operations.
  TznUniValue* Buffer() const { return buffer_.get(); }

  // Reads the property and assigns its value to dest (a TznUniValue, a
  // TField or a TParam).
  void AssignTo(TPersistent* dest) const override;
  // Writes the value of a TznUniValue, or the property another accessor
  // reads, converted to this property's type.
  void Assign(const TPersistent* source) override;

  // Typed reads of the property.
  Integer AsInteger() const;
  String AsString() const;
  double AsFloat() const;
  Variant AsVariant() const;
  Int64 AsLargeInt() const;
  // Typed writes of the property.
  void SetAsInteger(Integer value);
  void SetAsString(const String& value);

  // Whether the property's type name is name (ignoring case).
  bool IsTypeName(const String& name) const;
  // Whether the property holds its kind's empty value: ordinal 0, empty
  // text, 0.0, Null or Unassigned; never for other kinds, False without a
  // getter.
  bool IsEmptyValue() const;

 private:
  void CheckValid() const;
  // Reads the property into the buffer, answers get(buffer) and empties the
  // buffer on every path (the buffer holds a value only during a call).
  template <class Get>
  auto ReadAs(Get get) const;
  // Fills the buffer through put and writes it to the property; a read-only
  // property raises first. The buffer is emptied on every path.
  template <class Put>
  void WriteFrom(Put put);
  // Reads the property into the buffer (nothing without a getter).
  void ReadProperty() const;
  void ReadObject() const;
  // Writes the buffer to the property; the buffer is emptied on every path.
  void WriteProperty();
  void WriteOrdinal();
  void WriteObject();
  void WriteComponent();

  TObject* instance_;               // the object whose property is accessed (not owned)
  const TPropInfo* propInfo_;       // nullptr when the class has no such property
  String propName_;                 // the name asked for
  TznPropInfo info_;                // the type map's answer
  TObjectPtr<TznUniValue> buffer_;  // owned transfer value
};

// The object reached from object along the '.'-separated names of path,
// each an object-typed published property of the object before it; nil
// when a name is missing, not an object property or holds nil. An empty
// path or a nil object gives object itself.
TObject* ResolvePropPath(TObject* object, const String& path);
// The property's AsInteger, 0 when the property does not exist.
Integer GetPropAsInteger(TObject* object, const String& name);
// Write through an accessor; nothing when the property does not exist.
void SetPropAsInteger(TObject* object, const String& name, Integer value);
void SetPropAsString(TObject* object, const String& name, const String& value);

}  // namespace brevant
