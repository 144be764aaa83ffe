// TznUniValue: one value of any field data type, or null.
//
// The value stores bytes, a data type and a few flags; an accessor of the
// TznValueAccessor family (value_accessors.h), chosen from the data type,
// interprets the bytes for every typed view, transfer, comparison and
// stream form. Held bytes per type:
//   ftString, ftFixedChar        the characters and one zero byte
//   ftWideString                 UTF-16 units and one zero unit
//   ftSmallint/Integer/Word/AutoInc  4-byte signed integer
//   ftLargeint                   8-byte signed integer
//   ftFloat, ftCurrency, dates   8-byte double (dates in TDateTime encoding)
//   ftBoolean                    16-bit word: 0 False, 0xFFFF True
//   ftBCD                        8-byte Currency (raw ten-thousandths)
//   ftFMTBcd                     34-byte TBcd
//   ftTimeStamp                  16-byte TSQLTimeStamp
//   bytes and blob types         raw bytes (an empty blob is null)
//   ftVariant (and ftUnknown after a type change)
//                                a pointer to the value's TznVariantHolder
// The value is null exactly when it holds no bytes.
#pragma once

#include "db/db_types.h"
#include "rtl/bcd.h"
#include "rtl/persistent.h"
#include "rtl/sqltimestamp.h"
#include "rtl/variant.h"

namespace brevant {

class TField;
class TParam;
class TStream;
class TznValueAccessor;

// The nine blob types (ordinals 15..21, 30, 31).
bool IsBlobDataType(TFieldType dataType);

// The variant a variant-typed value holds.
class TznVariantHolder : public TPersistent {
  BV_CLASS(TznVariantHolder, TPersistent)
 public:
  Variant Value;
};

class TznUniValue : public TPersistent {
  BV_CLASS(TznUniValue, TPersistent)
 public:
  // autoDataType: every typed assignment retypes the value to its type.
  // convertOnTypeChange: a change of DataType keeps the value, converted.
  explicit TznUniValue(bool autoDataType = false, bool convertOnTypeChange = false);
  ~TznUniValue() override;

  TFieldType DataType() const { return dataType_; }
  // Type change: ignored when the type is fixed (neither flag set and the
  // type already chosen); with convertOnTypeChange the held value is
  // converted by the new type's rules (a failure leaves the value null with
  // the new type and propagates).
  void SetDataType(TFieldType value);
  bool AutoDataType() const { return autoDataType_; }
  bool ConvertOnTypeChange() const { return convertOnTypeChange_; }
  // Whether DataType is streamed (True after construction).
  bool StoreDataType() const { return storeDataType_; }
  void SetStoreDataType(bool value) { storeDataType_ = value; }
  // Whether DataType is written: StoreDataType and a type chosen.
  bool IsDataTypeStored() const { return storeDataType_ && dataType_ != ftUnknown; }
  // Set by every change of the held bytes; only owners reset it.
  bool Modified() const { return modified_; }
  void SetModified(bool value) { modified_ = value; }

  bool IsNull() const { return data_ == nullptr; }
  // True clears the value; False does nothing.
  void SetIsNull(bool value);
  Integer DataSize() const { return dataSize_; }
  const void* Data() const { return data_; }
  TznValueAccessor* Accessor() const { return accessor_; }

  // Typed views. Reads go to the accessor (AsString and AsVariant answer
  // the empty text and Null for a null value themselves); writes are typed
  // assignments: with AutoDataType, or while the type is ftUnknown, the
  // value first takes the view's type, then the accessor converts.
  String AsString() const;
  void SetAsString(const String& value);
  bool AsBoolean() const;
  void SetAsBoolean(bool value);
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime value);
  double AsFloat() const;
  void SetAsFloat(double value);
  Integer AsInteger() const;
  void SetAsInteger(Integer value);
  Int64 AsLargeInt() const;
  void SetAsLargeInt(Int64 value);
  Variant AsVariant() const;
  // Null makes the value null (after the type step).
  void SetAsVariant(const Variant& value);
  TBcd AsBCD() const;
  TSQLTimeStamp AsSQLTimeStamp() const;
  Variant AsByteArray() const;

  // Releases the held bytes (and a held variant); sets Modified.
  void Clear();
  // From a TznUniValue, a TField or a TParam (null sources make this null,
  // keeping the type); other sources raise the assignment error.
  void Assign(const TPersistent* source) override;
  // Into a TznUniValue, a TField or a TParam (a null value clears them).
  void AssignTo(TPersistent* dest) const override;
  // Orders this value against other: nulls equal each other and sort first
  // (nullsFirst) or last; otherwise the accessor compares. Only the sign
  // counts.
  Integer Compare(const TznUniValue& other, bool caseSensitive, bool nullsFirst) const;

  // Blob types only (others: nothing): the bytes from the stream's position
  // to its end; none makes the value null. Sets Modified.
  void LoadFromStream(TStream& stream);
  // The held bytes as they are; a variant-typed value writes nothing (its
  // bytes refer to its holder).
  void SaveToStream(TStream& stream) const;
  // "Data": the held value in its type's stream form, present when the
  // value is not null and its type has a stream form.
  void DefineProperties(TFiler* filer) override;

  // Raw access to the held bytes. ReadRaw copies count held bytes (at most
  // DataSize); WriteRaw replaces the held bytes (nullptr or 0 bytes make
  // the value null) and sets Modified. The block only grows: rewriting a
  // value of the same or a smaller size does not allocate. The bytes of a
  // variant-typed value refer to its holder and belong to the accessor:
  // both raise EDatabaseError for such a value.
  void ReadRaw(void* buffer, Integer count) const;
  void WriteRaw(const void* buffer, Integer count);

 private:
  friend class TznValueAccessor;
  // ReadRaw and WriteRaw without the variant check: the accessors' access.
  void CopyBytes(void* buffer, Integer count) const;
  void StoreBytes(const void* buffer, Integer count);
  void CheckRawAccess() const;
  // Runs write on the accessor after the typed-assignment type step.
  template <class F>
  void TypedAssign(TFieldType type, F&& write);
  void ReleaseData();

  Byte* data_ = nullptr;
  TFieldType dataType_ = ftUnknown;
  Integer dataSize_ = 0;
  Integer capacity_ = 0;
  bool autoDataType_ = false;
  bool convertOnTypeChange_ = false;
  bool inTypedAssign_ = false;
  bool holdsVariant_ = false;  // the accessor is the variant accessor
  TznValueAccessor* accessor_ = nullptr;
  bool storeDataType_ = true;
  bool modified_ = false;
};

}  // namespace brevant
