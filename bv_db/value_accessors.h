// The accessor family: how a TznUniValue's held bytes are read, written,
// converted, transferred to and from fields and parameters, streamed and
// compared, one class per family of data types. Only TznUniValue creates
// and calls accessors (AccessorClassFor / CreateAccessor pick the class).
//
// A view an accessor does not offer raises EDatabaseError "Cannot access
// field 'UniValue' as type W" with the type word W ("Boolean", "ByteArray",
// "DateTime", "Float", "Integer", "LargeInt", "SQLTimeStamp", "String",
// "Variant", "WideString"). A number that does not fit 32 bits raises
// EDatabaseError "%s is out of the range of type Integer" on every path.
// The platform's conversion routines raise their own errors; they run
// before the held bytes change, so a failed write keeps the value.
#pragma once

#include "bv_db/univalue.h"

namespace brevant {

class TReader;
class TWriter;

class TznValueAccessor : public TPersistent {
  BV_CLASS(TznValueAccessor, TPersistent)
 public:
  explicit TznValueAccessor(TznUniValue* value) : value_(value) {}
  TznUniValue* Value() const { return value_; }

  virtual TBcd GetAsBCD() const;
  virtual bool GetAsBoolean() const;
  // A byte array (bounds 0..DataSize-1) of the held bytes; Null when null.
  virtual Variant GetAsByteArray() const;
  virtual Currency GetAsCurrency() const;
  virtual TDateTime GetAsDateTime() const;
  virtual double GetAsFloat() const;
  // GetAsFloat rounded half to even. A result outside 32 bits raises
  // "%s is out of the range of type Integer", the one message of every
  // 32-bit overflow here; a value without a float view raises the
  // "Integer" conversion error.
  virtual Integer GetAsInteger() const;
  virtual Int64 GetAsLargeInt() const;
  virtual TSQLTimeStamp GetAsSQLTimeStamp() const;
  virtual String GetAsString() const;
  virtual Variant GetAsVariant() const;
  virtual WideString GetAsWideString() const;
  virtual void SetAsBCD(const TBcd& value);
  virtual void SetAsBoolean(bool value);
  virtual void SetAsByteArray(const Variant& value);
  virtual void SetAsCurrency(Currency value);
  virtual void SetAsDateTime(TDateTime value);
  virtual void SetAsFloat(double value);
  virtual void SetAsInteger(Integer value);
  virtual void SetAsLargeInt(Int64 value);
  virtual void SetAsSQLTimeStamp(const TSQLTimeStamp& value);
  virtual void SetAsString(const String& value);
  virtual void SetAsVariant(const Variant& value);
  virtual void SetAsWideString(const WideString& value);
  // The stream form: exactly one of reader (loading) and writer (storing).
  virtual void ReadWriteData(TReader* reader, TWriter* writer);
  // Whether the held value has a stream form ("Data" is written).
  virtual bool HasStreamData() const { return false; }
  // Transfers; only called for non-null sources and non-null values.
  virtual void AssignFromValue(const TznUniValue& source);
  virtual void AssignFromField(const TField& source);
  virtual void AssignFromParam(const TParam& source);
  virtual void AssignToField(TField& dest) const;
  virtual void AssignToParam(TParam& dest) const;
  // Sign orders this value against other's; only called for non-null ones.
  // Two numeric kinds (integer < large integer < BCD < FMTBcd < float)
  // compare in the wider of the two, whichever side it is on.
  virtual Integer Compare(const TznValueAccessor& other, bool caseSensitive) const;

 protected:
  void ReadRaw(void* buffer, Integer count) const { value_->CopyBytes(buffer, count); }
  void WriteRaw(const void* buffer, Integer count) { value_->StoreBytes(buffer, count); }
  void ClearValue() { WriteRaw(nullptr, 0); }
  bool IsNull() const { return value_->IsNull(); }
  Integer DataSize() const { return value_->DataSize(); }
  // Raises the conversion error with the type word.
  [[noreturn]] static void AccessError(const char* typeWord);

 private:
  TznUniValue* value_;
};

class TznStringAccessor : public TznValueAccessor {
  BV_CLASS(TznStringAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  TBcd GetAsBCD() const override;
  bool GetAsBoolean() const override;
  TDateTime GetAsDateTime() const override;
  double GetAsFloat() const override;
  Integer GetAsInteger() const override;
  Int64 GetAsLargeInt() const override;
  TSQLTimeStamp GetAsSQLTimeStamp() const override;
  String GetAsString() const override;
  Variant GetAsVariant() const override;
  void SetAsBCD(const TBcd& value) override;
  void SetAsBoolean(bool value) override;
  void SetAsDateTime(TDateTime value) override;
  void SetAsFloat(double value) override;
  void SetAsInteger(Integer value) override;
  void SetAsSQLTimeStamp(const TSQLTimeStamp& value) override;
  void SetAsString(const String& value) override;
  void SetAsVariant(const Variant& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

class TznWideStringAccessor : public TznStringAccessor {
  BV_CLASS(TznWideStringAccessor, TznStringAccessor)
 public:
  using TznStringAccessor::TznStringAccessor;
  WideString GetAsWideString() const override;
  void SetAsWideString(const WideString& value) override;
  String GetAsString() const override;
  void SetAsString(const String& value) override;
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  // Case-insensitive whatever caseSensitive says.
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

// Everything through GetAsInteger / SetAsInteger; never selected directly.
class TznNumericAccessor : public TznValueAccessor {
  BV_CLASS(TznNumericAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  double GetAsFloat() const override;
  Int64 GetAsLargeInt() const override;
  String GetAsString() const override;
  Variant GetAsVariant() const override;
  // Rounded half to even; outside 32 bits raises the out-of-range error.
  void SetAsFloat(double value) override;
  // Outside 32 bits raises the out-of-range error (the value is kept).
  void SetAsLargeInt(Int64 value) override;
  void SetAsString(const String& value) override;
  void SetAsVariant(const Variant& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

class TznIntegerAccessor : public TznNumericAccessor {
  BV_CLASS(TznIntegerAccessor, TznNumericAccessor)
 public:
  using TznNumericAccessor::TznNumericAccessor;
  Integer GetAsInteger() const override;
  void SetAsInteger(Integer value) override;
};

// Transfers carry all 64 bits (fields' and parameters' AsLargeInt); a
// field without a 64-bit view (a Boolean field) goes through AsInteger.
class TznLargeIntAccessor : public TznValueAccessor {
  BV_CLASS(TznLargeIntAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  Int64 GetAsLargeInt() const override;
  void SetAsLargeInt(Int64 value) override;
  // Outside 32 bits raises the out-of-range error.
  Integer GetAsInteger() const override;
  double GetAsFloat() const override;
  String GetAsString() const override;
  Variant GetAsVariant() const override;
  void SetAsInteger(Integer value) override;
  void SetAsFloat(double value) override;
  void SetAsString(const String& value) override;
  void SetAsVariant(const Variant& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

class TznFloatAccessor : public TznValueAccessor {
  BV_CLASS(TznFloatAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  double GetAsFloat() const override;
  void SetAsFloat(double value) override;
  Int64 GetAsLargeInt() const override;
  String GetAsString() const override;
  Variant GetAsVariant() const override;
  void SetAsInteger(Integer value) override;
  void SetAsLargeInt(Int64 value) override;
  void SetAsString(const String& value) override;
  void SetAsVariant(const Variant& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

class TznBoolAccessor : public TznValueAccessor {
  BV_CLASS(TznBoolAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  bool GetAsBoolean() const override;
  void SetAsBoolean(bool value) override;
  // No numeric view: the base GetAsInteger would answer through GetAsFloat.
  Integer GetAsInteger() const override;
  String GetAsString() const override;
  Variant GetAsVariant() const override;
  void SetAsString(const String& value) override;
  void SetAsVariant(const Variant& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

// ftDate, ftTime and ftDateTime; texts follow the owning value's type.
class TznDateTimeAccessor : public TznValueAccessor {
  BV_CLASS(TznDateTimeAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  TDateTime GetAsDateTime() const override;
  void SetAsDateTime(TDateTime value) override;
  double GetAsFloat() const override;
  void SetAsFloat(double value) override;
  String GetAsString() const override;
  void SetAsString(const String& value) override;
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

class TznSQLTimeStampAccessor : public TznValueAccessor {
  BV_CLASS(TznSQLTimeStampAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  TSQLTimeStamp GetAsSQLTimeStamp() const override;
  void SetAsSQLTimeStamp(const TSQLTimeStamp& value) override;
  TDateTime GetAsDateTime() const override;
  // A date-time of exactly 0 makes the value null.
  void SetAsDateTime(TDateTime value) override;
  // No numeric view: the base GetAsInteger would answer through GetAsFloat.
  Integer GetAsInteger() const override;
  String GetAsString() const override;
  void SetAsString(const String& value) override;
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

// ftBytes and ftVarBytes.
class TznBinaryAccessor : public TznValueAccessor {
  BV_CLASS(TznBinaryAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
  // A one-dimensional byte array, else "Invalid variant type or size".
  void SetAsByteArray(const Variant& value) override;
  String GetAsString() const override;
  void SetAsString(const String& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
};

// ftBCD: held as a Currency.
class TznBCDAccessor : public TznValueAccessor {
  BV_CLASS(TznBCDAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  Currency GetAsCurrency() const override;
  void SetAsCurrency(Currency value) override;
  TBcd GetAsBCD() const override;
  void SetAsBCD(const TBcd& value) override;
  double GetAsFloat() const override;
  Integer GetAsInteger() const override;
  Int64 GetAsLargeInt() const override;
  String GetAsString() const override;
  Variant GetAsVariant() const override;
  void SetAsFloat(double value) override;
  void SetAsInteger(Integer value) override;
  void SetAsString(const String& value) override;
  void SetAsVariant(const Variant& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

// ftFMTBcd: held as a TBcd.
class TznFMTBCDAccessor : public TznValueAccessor {
  BV_CLASS(TznFMTBCDAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  TBcd GetAsBCD() const override;
  void SetAsBCD(const TBcd& value) override;
  double GetAsFloat() const override;
  Int64 GetAsLargeInt() const override;
  Currency GetAsCurrency() const override;
  String GetAsString() const override;
  Variant GetAsVariant() const override;
  void SetAsCurrency(Currency value) override;
  // Four decimals survive (through the currency).
  void SetAsFloat(double value) override;
  void SetAsInteger(Integer value) override;
  void SetAsString(const String& value) override;
  void SetAsVariant(const Variant& value) override;
  // The exact decimal text ('.' separated); a currency (the older form)
  // is read too.
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

// The nine blob types: raw bytes read and written as text.
class TznBlobAccessor : public TznValueAccessor {
  BV_CLASS(TznBlobAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  String GetAsString() const override;
  void SetAsString(const String& value) override;
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override { return true; }
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;
  // Case-insensitive whatever caseSensitive says.
  Integer Compare(const TznValueAccessor& other, bool caseSensitive) const override;
};

// ftVariant (and ftUnknown after a type change): the value's
// TznVariantHolder. A null value reads as a Null variant.
class TznVariantAccessor : public TznValueAccessor {
  BV_CLASS(TznVariantAccessor, TznValueAccessor)
 public:
  using TznValueAccessor::TznValueAccessor;
  Variant GetAsVariant() const override;
  void SetAsVariant(const Variant& value) override;
  bool GetAsBoolean() const override;
  double GetAsFloat() const override;
  Integer GetAsInteger() const override;
  Int64 GetAsLargeInt() const override;
  String GetAsString() const override;
  TDateTime GetAsDateTime() const override;
  TBcd GetAsBCD() const override;
  TSQLTimeStamp GetAsSQLTimeStamp() const override;
  // The held variant when it is a byte array (Null when null); otherwise
  // the "ByteArray" error.
  Variant GetAsByteArray() const override;
  void SetAsBoolean(bool value) override;
  void SetAsDateTime(TDateTime value) override;
  void SetAsFloat(double value) override;
  void SetAsInteger(Integer value) override;
  void SetAsString(const String& value) override;
  void SetAsBCD(const TBcd& value) override;
  void SetAsSQLTimeStamp(const TSQLTimeStamp& value) override;
  // Variants of the kinds the writer streams (Unassigned, integers,
  // floats, currency, dates, strings, booleans) are written with
  // WriteVariant; others (arrays, FMTBcd, time stamps) write nothing.
  void ReadWriteData(TReader* reader, TWriter* writer) override;
  bool HasStreamData() const override;
  void AssignFromValue(const TznUniValue& source) override;
  void AssignFromField(const TField& source) override;
  void AssignFromParam(const TParam& source) override;
  void AssignToField(TField& dest) const override;
  void AssignToParam(TParam& dest) const override;

  // The holder a non-null value refers to.
  TznVariantHolder* Holder() const;
};

// The accessor for a data type, bound to value.
TznValueAccessor* CreateAccessor(TFieldType dataType, TznUniValue* value);

}  // namespace brevant
