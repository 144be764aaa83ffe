#include "bv_db/value_accessors.h"

#include <cmath>
#include <cstring>
#include <span>

#include "bv_rtm/bv_strings.h"
#include "classes/reader.h"
#include "classes/writer.h"
#include "db/field.h"
#include "db/field_types.h"
#include "db/params.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

BV_IMPLEMENT_ABSTRACT_CLASS(TznValueAccessor, TPersistent)
BV_IMPLEMENT_ABSTRACT_CLASS(TznStringAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznWideStringAccessor, TznStringAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznNumericAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznIntegerAccessor, TznNumericAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznLargeIntAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznFloatAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznBoolAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznDateTimeAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznSQLTimeStampAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznBinaryAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznBCDAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznFMTBCDAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznBlobAccessor, TznValueAccessor)
BV_IMPLEMENT_ABSTRACT_CLASS(TznVariantAccessor, TznValueAccessor)

namespace {

constexpr const char* kValueName = "UniValue";

[[noreturn]] void OutOfRange(const String& text, const char* typeWord) {
  throw EDatabaseError(bvres::SUniValueOutOfRange, {text, typeWord});
}

Integer CheckedInt32(Int64 v) {
  if (v < INT32_MIN || v > INT32_MAX) OutOfRange(IntToStr(v), "Integer");
  return static_cast<Integer>(v);
}

// A float rounded half to even into 32 bits; every value that does not fit
// (NaN and infinities too) raises the out-of-range error.
Integer RoundToInt32(double v) {
  if (!(std::fabs(v) < 4.0e18)) OutOfRange(FloatToStr(v), "Integer");
  return CheckedInt32(Round(v));
}

Currency FloatToCurrency(double v) {
  return Currency::FromRaw(Round(static_cast<Extended>(v) * Currency::Scale));
}

// A currency rounded half to even to whole units, exactly.
Int64 RoundCurrency(Currency c) {
  Int64 q = c.Value / Currency::Scale;
  Int64 r = c.Value % Currency::Scale;
  const Int64 half = Currency::Scale / 2;
  if (r > half || (r == half && (q & 1) != 0)) ++q;
  if (r < -half || (r == -half && (q & 1) != 0)) --q;
  return q;
}

template <class T>
Integer Sign3(T a, T b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

// The sign of a - b in double precision (0 when it is not a number).
Integer SignOfDifference(double a, double b) {
  const double d = a - b;
  return d > 0 ? 1 : (d < 0 ? -1 : 0);
}

TBcd CurrencyToBcd(Currency c) {
  TBcd b;
  CurrToBCD(c, b, 32, 4);
  return b;
}

const char* HeldChars(const TznUniValue* v) {
  return static_cast<const char*>(v->Data());
}

// The numeric kinds from the narrowest to the widest; 0 for the others.
Integer NumericWidth(const TznValueAccessor& a) {
  if (Is<TznNumericAccessor>(&a)) return 1;
  if (Is<TznLargeIntAccessor>(&a)) return 2;
  if (Is<TznBCDAccessor>(&a)) return 3;
  if (Is<TznFMTBCDAccessor>(&a)) return 4;
  if (Is<TznFloatAccessor>(&a)) return 5;
  return 0;
}

// Whether two numeric values compare in other's kind rather than in a's.
bool OtherIsWider(const TznValueAccessor& a, const TznValueAccessor& other) {
  const Integer mine = NumericWidth(a);
  return mine > 0 && NumericWidth(other) > mine;
}

// Whether the field offers all 64 bits; the others (a Boolean field) are
// read and written through their 32-bit view.
bool HasLargeIntView(const TField& field) {
  return Is<TStringField>(&field) || Is<TNumericField>(&field);
}

// The stream form of an FMTBcd value: its exact decimal text, independent
// of the format settings.
const TFormatSettings& StreamFormat() {
  static const TFormatSettings fs;
  return fs;
}

}  // namespace

// ---- TznValueAccessor -------------------------------------------------------

void TznValueAccessor::AccessError(const char* typeWord) {
  throw EDatabaseError(res::SFieldAccessError, {kValueName, typeWord});
}

TBcd TznValueAccessor::GetAsBCD() const {
  return CurrencyToBcd(GetAsCurrency());
}
bool TznValueAccessor::GetAsBoolean() const {
  AccessError("Boolean");
}
Variant TznValueAccessor::GetAsByteArray() const {
  if (IsNull()) return Null();
  return VarArrayFromBytes(std::span<const Byte>(static_cast<const Byte*>(value_->Data()),
                                                 static_cast<std::size_t>(DataSize())));
}
Currency TznValueAccessor::GetAsCurrency() const {
  return FloatToCurrency(GetAsFloat());
}
TDateTime TznValueAccessor::GetAsDateTime() const {
  AccessError("DateTime");
}
double TznValueAccessor::GetAsFloat() const {
  AccessError("Float");
}
Integer TznValueAccessor::GetAsInteger() const {
  double value = 0;
  try {
    value = GetAsFloat();
  } catch (const Exception&) {
    AccessError("Integer");
  }
  return RoundToInt32(value);
}
Int64 TznValueAccessor::GetAsLargeInt() const {
  return GetAsInteger();
}
TSQLTimeStamp TznValueAccessor::GetAsSQLTimeStamp() const {
  AccessError("SQLTimeStamp");
}
String TznValueAccessor::GetAsString() const {
  AccessError("String");
}
Variant TznValueAccessor::GetAsVariant() const {
  AccessError("Variant");
}
WideString TznValueAccessor::GetAsWideString() const {
  return Utf8ToWide(GetAsString());
}
void TznValueAccessor::SetAsBCD(const TBcd& value) {
  SetAsCurrency(BCDToCurr(value));
}
void TznValueAccessor::SetAsBoolean(bool) {
  AccessError("Boolean");
}
void TznValueAccessor::SetAsByteArray(const Variant&) {
  AccessError("ByteArray");
}
void TznValueAccessor::SetAsCurrency(Currency value) {
  SetAsFloat(value.ToDouble());
}
void TznValueAccessor::SetAsDateTime(TDateTime) {
  AccessError("DateTime");
}
void TznValueAccessor::SetAsFloat(double) {
  AccessError("Float");
}
void TznValueAccessor::SetAsInteger(Integer) {
  AccessError("Integer");
}
void TznValueAccessor::SetAsLargeInt(Int64) {
  AccessError("LargeInt");
}
void TznValueAccessor::SetAsSQLTimeStamp(const TSQLTimeStamp&) {
  AccessError("SQLTimeStamp");
}
void TznValueAccessor::SetAsString(const String&) {
  AccessError("String");
}
void TznValueAccessor::SetAsVariant(const Variant&) {
  AccessError("Variant");
}
void TznValueAccessor::SetAsWideString(const WideString&) {
  AccessError("WideString");
}
void TznValueAccessor::ReadWriteData(TReader*, TWriter*) {}
void TznValueAccessor::AssignFromValue(const TznUniValue&) {}
void TznValueAccessor::AssignFromField(const TField&) {}
void TznValueAccessor::AssignFromParam(const TParam&) {}
void TznValueAccessor::AssignToField(TField&) const {}
void TznValueAccessor::AssignToParam(TParam&) const {}
Integer TznValueAccessor::Compare(const TznValueAccessor&, bool) const {
  return 0;
}

// ---- TznStringAccessor ------------------------------------------------------

String TznStringAccessor::GetAsString() const {
  if (IsNull()) return String();
  return String(HeldChars(Value()), static_cast<std::size_t>(DataSize() - 1));
}
void TznStringAccessor::SetAsString(const String& value) {
  WriteRaw(value.c_str(), static_cast<Integer>(value.size() + 1));
}
TBcd TznStringAccessor::GetAsBCD() const {
  return StrToBcd(GetAsString());
}
bool TznStringAccessor::GetAsBoolean() const {
  const String s = GetAsString();
  return !s.empty() && (s[0] == 'T' || s[0] == 'Y' || s[0] == 't' || s[0] == 'y');
}
TDateTime TznStringAccessor::GetAsDateTime() const {
  return StrToDateTime(GetAsString());
}
double TznStringAccessor::GetAsFloat() const {
  return static_cast<double>(StrToFloat(GetAsString()));
}
Integer TznStringAccessor::GetAsInteger() const {
  return StrToInt(GetAsString());
}
Int64 TznStringAccessor::GetAsLargeInt() const {
  return StrToInt64(GetAsString());
}
TSQLTimeStamp TznStringAccessor::GetAsSQLTimeStamp() const {
  return StrToSQLTimeStamp(GetAsString());
}
Variant TznStringAccessor::GetAsVariant() const {
  return Variant(GetAsString());
}
void TznStringAccessor::SetAsBCD(const TBcd& value) {
  SetAsString(BcdToStr(value));
}
void TznStringAccessor::SetAsBoolean(bool value) {
  SetAsString(value ? "T" : "F");
}
void TznStringAccessor::SetAsDateTime(TDateTime value) {
  SetAsString(DateTimeToStr(value));
}
void TznStringAccessor::SetAsFloat(double value) {
  SetAsString(FloatToStr(value));
}
void TznStringAccessor::SetAsInteger(Integer value) {
  SetAsString(IntToStr(value));
}
void TznStringAccessor::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  SetAsString(SQLTimeStampToStr(String(), value));
}
void TznStringAccessor::SetAsVariant(const Variant& value) {
  SetAsString(VarToStr(value));
}
void TznStringAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader)
    SetAsString(reader->ReadString());
  else if (writer)
    writer->WriteString(GetAsString());
}
void TznStringAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsString(source.AsString());
}
void TznStringAccessor::AssignFromField(const TField& source) {
  SetAsString(source.AsString());
}
void TznStringAccessor::AssignFromParam(const TParam& source) {
  SetAsString(source.AsString());
}
void TznStringAccessor::AssignToField(TField& dest) const {
  dest.SetAsString(GetAsString());
}
void TznStringAccessor::AssignToParam(TParam& dest) const {
  dest.SetAsString(GetAsString());
}
Integer TznStringAccessor::Compare(const TznValueAccessor& other, bool caseSensitive) const {
  return caseSensitive ? AnsiCompareStr(GetAsString(), other.GetAsString())
                       : AnsiCompareText(GetAsString(), other.GetAsString());
}

// ---- TznWideStringAccessor --------------------------------------------------

WideString TznWideStringAccessor::GetAsWideString() const {
  if (DataSize() < 2) return WideString();
  WideString w(static_cast<std::size_t>(DataSize() / 2 - 1), u'\0');
  ReadRaw(w.data(), static_cast<Integer>(w.size() * 2));
  return w;
}
void TznWideStringAccessor::SetAsWideString(const WideString& value) {
  WriteRaw(value.c_str(), static_cast<Integer>(value.size() * 2 + 2));
}
String TznWideStringAccessor::GetAsString() const {
  return WideToUtf8(GetAsWideString());
}
void TznWideStringAccessor::SetAsString(const String& value) {
  SetAsWideString(Utf8ToWide(value));
}
Variant TznWideStringAccessor::GetAsVariant() const {
  return Variant(GetAsWideString());
}
void TznWideStringAccessor::SetAsVariant(const Variant& value) {
  SetAsWideString(VarToWideStr(value));
}
void TznWideStringAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader)
    SetAsWideString(reader->ReadWideString());
  else if (writer)
    writer->WriteWideString(GetAsWideString());
}
Integer TznWideStringAccessor::Compare(const TznValueAccessor& other, bool) const {
  return WideCompareText(GetAsWideString(), other.GetAsWideString());
}

// ---- TznNumericAccessor / TznIntegerAccessor --------------------------------

double TznNumericAccessor::GetAsFloat() const {
  return GetAsInteger();
}
Int64 TznNumericAccessor::GetAsLargeInt() const {
  return GetAsInteger();
}
String TznNumericAccessor::GetAsString() const {
  return IntToStr(GetAsInteger());
}
Variant TznNumericAccessor::GetAsVariant() const {
  return Variant(GetAsInteger());
}
void TznNumericAccessor::SetAsFloat(double value) {
  SetAsInteger(RoundToInt32(value));
}
void TznNumericAccessor::SetAsLargeInt(Int64 value) {
  SetAsInteger(CheckedInt32(value));
}
void TznNumericAccessor::SetAsString(const String& value) {
  if (value.empty())
    ClearValue();
  else
    SetAsInteger(StrToInt(value));
}
void TznNumericAccessor::SetAsVariant(const Variant& value) {
  SetAsInteger(value.AsInteger());
}
void TznNumericAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader)
    SetAsInteger(reader->ReadInteger());
  else if (writer)
    writer->WriteInteger(GetAsInteger());
}
void TznNumericAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsInteger(source.AsInteger());
}
void TznNumericAccessor::AssignFromField(const TField& source) {
  SetAsInteger(source.AsInteger());
}
void TznNumericAccessor::AssignFromParam(const TParam& source) {
  SetAsInteger(source.AsInteger());
}
void TznNumericAccessor::AssignToField(TField& dest) const {
  dest.SetAsInteger(GetAsInteger());
}
void TznNumericAccessor::AssignToParam(TParam& dest) const {
  dest.SetAsInteger(GetAsInteger());
}
Integer TznNumericAccessor::Compare(const TznValueAccessor& other, bool caseSensitive) const {
  if (OtherIsWider(*this, other)) return -other.Compare(*this, caseSensitive);
  return Sign3(GetAsInteger(), other.GetAsInteger());
}

Integer TznIntegerAccessor::GetAsInteger() const {
  Integer v = 0;
  ReadRaw(&v, sizeof v);
  return v;
}
void TznIntegerAccessor::SetAsInteger(Integer value) {
  WriteRaw(&value, sizeof value);
}

// ---- TznLargeIntAccessor ----------------------------------------------------

Int64 TznLargeIntAccessor::GetAsLargeInt() const {
  Int64 v = 0;
  ReadRaw(&v, sizeof v);
  return v;
}
void TznLargeIntAccessor::SetAsLargeInt(Int64 value) {
  WriteRaw(&value, sizeof value);
}
Integer TznLargeIntAccessor::GetAsInteger() const {
  return CheckedInt32(GetAsLargeInt());
}
double TznLargeIntAccessor::GetAsFloat() const {
  return static_cast<double>(GetAsLargeInt());
}
String TznLargeIntAccessor::GetAsString() const {
  return IntToStr(GetAsLargeInt());
}
Variant TznLargeIntAccessor::GetAsVariant() const {
  return Variant(GetAsLargeInt());
}
void TznLargeIntAccessor::SetAsInteger(Integer value) {
  SetAsLargeInt(value);
}
void TznLargeIntAccessor::SetAsFloat(double value) {
  SetAsLargeInt(Round(value));
}
void TznLargeIntAccessor::SetAsString(const String& value) {
  if (value.empty())
    ClearValue();
  else
    SetAsLargeInt(StrToInt64(value));
}
void TznLargeIntAccessor::SetAsVariant(const Variant& value) {
  SetAsLargeInt(value.AsInt64());
}
void TznLargeIntAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader)
    SetAsLargeInt(reader->ReadInt64());
  else if (writer)
    writer->WriteInteger(GetAsLargeInt());
}
void TznLargeIntAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsLargeInt(source.AsLargeInt());
}
void TznLargeIntAccessor::AssignFromField(const TField& source) {
  SetAsLargeInt(HasLargeIntView(source) ? source.AsLargeInt() : source.AsInteger());
}
void TznLargeIntAccessor::AssignFromParam(const TParam& source) {
  SetAsLargeInt(source.AsLargeInt());
}
void TznLargeIntAccessor::AssignToField(TField& dest) const {
  if (HasLargeIntView(dest))
    dest.SetAsLargeInt(GetAsLargeInt());
  else
    dest.SetAsInteger(GetAsInteger());
}
void TznLargeIntAccessor::AssignToParam(TParam& dest) const {
  dest.SetAsLargeInt(GetAsLargeInt());
}
Integer TznLargeIntAccessor::Compare(const TznValueAccessor& other, bool caseSensitive) const {
  if (OtherIsWider(*this, other)) return -other.Compare(*this, caseSensitive);
  return Sign3(GetAsLargeInt(), other.GetAsLargeInt());
}

// ---- TznFloatAccessor -------------------------------------------------------

double TznFloatAccessor::GetAsFloat() const {
  double v = 0;
  ReadRaw(&v, sizeof v);
  return v;
}
void TznFloatAccessor::SetAsFloat(double value) {
  WriteRaw(&value, sizeof value);
}
Int64 TznFloatAccessor::GetAsLargeInt() const {
  return Round(GetAsFloat());
}
String TznFloatAccessor::GetAsString() const {
  return FloatToStr(GetAsFloat());
}
Variant TznFloatAccessor::GetAsVariant() const {
  return Variant(GetAsFloat());
}
void TznFloatAccessor::SetAsInteger(Integer value) {
  SetAsFloat(value);
}
void TznFloatAccessor::SetAsLargeInt(Int64 value) {
  SetAsFloat(static_cast<double>(value));
}
void TznFloatAccessor::SetAsString(const String& value) {
  if (value.empty())
    ClearValue();
  else
    SetAsFloat(static_cast<double>(StrToFloat(value)));
}
void TznFloatAccessor::SetAsVariant(const Variant& value) {
  SetAsFloat(value.AsDouble());
}
void TznFloatAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader)
    SetAsFloat(static_cast<double>(reader->ReadFloat()));
  else if (writer)
    writer->WriteFloat(GetAsFloat());
}
void TznFloatAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsFloat(source.AsFloat());
}
void TznFloatAccessor::AssignFromField(const TField& source) {
  SetAsFloat(source.AsFloat());
}
void TznFloatAccessor::AssignFromParam(const TParam& source) {
  SetAsFloat(source.AsFloat());
}
void TznFloatAccessor::AssignToField(TField& dest) const {
  dest.SetAsFloat(GetAsFloat());
}
void TznFloatAccessor::AssignToParam(TParam& dest) const {
  dest.SetAsFloat(GetAsFloat());
}
Integer TznFloatAccessor::Compare(const TznValueAccessor& other, bool) const {
  return SignOfDifference(GetAsFloat(), other.GetAsFloat());
}

// ---- TznBoolAccessor --------------------------------------------------------

bool TznBoolAccessor::GetAsBoolean() const {
  Word w = 0;
  ReadRaw(&w, sizeof w);
  return w != 0;
}
void TznBoolAccessor::SetAsBoolean(bool value) {
  const Word w = value ? 0xFFFF : 0;
  WriteRaw(&w, sizeof w);
}
Integer TznBoolAccessor::GetAsInteger() const {
  AccessError("Integer");
}
String TznBoolAccessor::GetAsString() const {
  return GetAsBoolean() ? "True" : "False";
}
Variant TznBoolAccessor::GetAsVariant() const {
  return Variant(GetAsBoolean());
}
void TznBoolAccessor::SetAsString(const String& value) {
  if (value.empty())
    ClearValue();
  else if (CompareText(value, "False") == 0)
    SetAsBoolean(false);
  else if (CompareText(value, "True") == 0)
    SetAsBoolean(true);
  else
    throw EDatabaseError(res::SInvalidBoolean, {value});
}
void TznBoolAccessor::SetAsVariant(const Variant& value) {
  SetAsBoolean(value.AsBoolean());
}
void TznBoolAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader)
    SetAsBoolean(reader->ReadBoolean());
  else if (writer)
    writer->WriteBoolean(GetAsBoolean());
}
void TznBoolAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsBoolean(source.AsBoolean());
}
void TznBoolAccessor::AssignFromField(const TField& source) {
  SetAsBoolean(source.AsBoolean());
}
void TznBoolAccessor::AssignFromParam(const TParam& source) {
  SetAsBoolean(source.AsBoolean());
}
void TznBoolAccessor::AssignToField(TField& dest) const {
  dest.SetAsBoolean(GetAsBoolean());
}
void TznBoolAccessor::AssignToParam(TParam& dest) const {
  dest.SetAsBoolean(GetAsBoolean());
}
Integer TznBoolAccessor::Compare(const TznValueAccessor& other, bool) const {
  return Integer(GetAsBoolean()) - Integer(other.GetAsBoolean());
}

// ---- TznDateTimeAccessor ----------------------------------------------------

TDateTime TznDateTimeAccessor::GetAsDateTime() const {
  TDateTime v = 0;
  ReadRaw(&v, sizeof v);
  return v;
}
void TznDateTimeAccessor::SetAsDateTime(TDateTime value) {
  WriteRaw(&value, sizeof value);
}
double TznDateTimeAccessor::GetAsFloat() const {
  return GetAsDateTime();
}
void TznDateTimeAccessor::SetAsFloat(double value) {
  SetAsDateTime(value);
}
String TznDateTimeAccessor::GetAsString() const {
  switch (Value()->DataType()) {
    case ftDate:
      return DateToStr(GetAsDateTime());
    case ftTime:
      return TimeToStr(GetAsDateTime());
    default:
      return DateTimeToStr(GetAsDateTime());
  }
}
void TznDateTimeAccessor::SetAsString(const String& value) {
  if (value.empty()) {
    ClearValue();
    return;
  }
  switch (Value()->DataType()) {
    case ftDate:
      SetAsDateTime(StrToDate(value));
      break;
    case ftTime:
      SetAsDateTime(StrToTime(value));
      break;
    default:
      SetAsDateTime(StrToDateTime(value));
      break;
  }
}
Variant TznDateTimeAccessor::GetAsVariant() const {
  return VarFromDateTime(GetAsDateTime());
}
void TznDateTimeAccessor::SetAsVariant(const Variant& value) {
  SetAsDateTime(VarToDateTime(value));
}
void TznDateTimeAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader)
    SetAsDateTime(reader->ReadDate());
  else if (writer)
    writer->WriteDate(GetAsDateTime());
}
void TznDateTimeAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsDateTime(source.AsDateTime());
}
void TznDateTimeAccessor::AssignFromField(const TField& source) {
  SetAsDateTime(source.AsDateTime());
}
void TznDateTimeAccessor::AssignFromParam(const TParam& source) {
  SetAsDateTime(source.AsDateTime());
}
void TznDateTimeAccessor::AssignToField(TField& dest) const {
  dest.SetAsDateTime(GetAsDateTime());
}
void TznDateTimeAccessor::AssignToParam(TParam& dest) const {
  dest.SetAsDateTime(GetAsDateTime());
}
Integer TznDateTimeAccessor::Compare(const TznValueAccessor& other, bool) const {
  return SignOfDifference(GetAsDateTime(), other.GetAsDateTime());
}

// ---- TznSQLTimeStampAccessor ------------------------------------------------

TSQLTimeStamp TznSQLTimeStampAccessor::GetAsSQLTimeStamp() const {
  TSQLTimeStamp ts = NullSQLTimeStamp;
  ReadRaw(&ts, sizeof ts);
  return ts;
}
void TznSQLTimeStampAccessor::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  WriteRaw(&value, sizeof value);
}
TDateTime TznSQLTimeStampAccessor::GetAsDateTime() const {
  return IsNull() ? 0 : SQLTimeStampToDateTime(GetAsSQLTimeStamp());
}
void TznSQLTimeStampAccessor::SetAsDateTime(TDateTime value) {
  if (value == 0)
    ClearValue();
  else
    SetAsSQLTimeStamp(DateTimeToSQLTimeStamp(value));
}
Integer TznSQLTimeStampAccessor::GetAsInteger() const {
  AccessError("Integer");
}
String TznSQLTimeStampAccessor::GetAsString() const {
  return SQLTimeStampToStr(String(), GetAsSQLTimeStamp());
}
void TznSQLTimeStampAccessor::SetAsString(const String& value) {
  if (value.empty())
    ClearValue();
  else
    SetAsSQLTimeStamp(StrToSQLTimeStamp(value));
}
Variant TznSQLTimeStampAccessor::GetAsVariant() const {
  return VarSQLTimeStampCreate(GetAsSQLTimeStamp());
}
void TznSQLTimeStampAccessor::SetAsVariant(const Variant& value) {
  SetAsSQLTimeStamp(VarToSQLTimeStamp(value));
}
void TznSQLTimeStampAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  // "Data" is only present for a non-null value, so a stored date-time of 0
  // reads back as that moment rather than as null.
  if (reader)
    SetAsSQLTimeStamp(DateTimeToSQLTimeStamp(reader->ReadDate()));
  else if (writer)
    writer->WriteDate(GetAsDateTime());
}
void TznSQLTimeStampAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsSQLTimeStamp(source.AsSQLTimeStamp());
}
void TznSQLTimeStampAccessor::AssignFromField(const TField& source) {
  SetAsSQLTimeStamp(source.AsSQLTimeStamp());
}
void TznSQLTimeStampAccessor::AssignFromParam(const TParam& source) {
  SetAsSQLTimeStamp(source.AsSQLTimeStamp());
}
void TznSQLTimeStampAccessor::AssignToField(TField& dest) const {
  dest.SetAsSQLTimeStamp(GetAsSQLTimeStamp());
}
void TznSQLTimeStampAccessor::AssignToParam(TParam& dest) const {
  dest.SetAsSQLTimeStamp(GetAsSQLTimeStamp());
}
Integer TznSQLTimeStampAccessor::Compare(const TznValueAccessor& other, bool) const {
  return SignOfDifference(GetAsDateTime(), other.GetAsDateTime());
}

// ---- TznBinaryAccessor ------------------------------------------------------

Variant TznBinaryAccessor::GetAsVariant() const {
  return GetAsByteArray();
}
void TznBinaryAccessor::SetAsVariant(const Variant& value) {
  SetAsByteArray(value);
}
void TznBinaryAccessor::SetAsByteArray(const Variant& value) {
  if (value.VarType() != (varArray | varByte)) throw EDatabaseError(String(res::SInvalidVarType));
  const std::span<const Byte> bytes = VarArrayBytes(value);
  WriteRaw(bytes.data(), static_cast<Integer>(bytes.size()));
}
String TznBinaryAccessor::GetAsString() const {
  if (IsNull()) return String();
  return String(HeldChars(Value()), static_cast<std::size_t>(DataSize()));
}
void TznBinaryAccessor::SetAsString(const String& value) {
  WriteRaw(value.data(), static_cast<Integer>(value.size()));
}
void TznBinaryAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader)
    SetAsString(reader->ReadString());
  else if (writer)
    writer->WriteString(GetAsString());
}
void TznBinaryAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsByteArray(source.AsByteArray());
}
void TznBinaryAccessor::AssignFromField(const TField& source) {
  SetAsVariant(source.AsVariant());
}
void TznBinaryAccessor::AssignFromParam(const TParam& source) {
  SetAsVariant(source.Value());
}
void TznBinaryAccessor::AssignToField(TField& dest) const {
  dest.SetAsVariant(GetAsByteArray());
}
void TznBinaryAccessor::AssignToParam(TParam& dest) const {
  dest.SetValue(GetAsByteArray());
}

// ---- TznBCDAccessor ---------------------------------------------------------

Currency TznBCDAccessor::GetAsCurrency() const {
  Int64 raw = 0;
  ReadRaw(&raw, sizeof raw);
  return Currency::FromRaw(raw);
}
void TznBCDAccessor::SetAsCurrency(Currency value) {
  WriteRaw(&value.Value, sizeof value.Value);
}
TBcd TznBCDAccessor::GetAsBCD() const {
  return IsNull() ? NullBcd : CurrencyToBcd(GetAsCurrency());
}
void TznBCDAccessor::SetAsBCD(const TBcd& value) {
  SetAsCurrency(BCDToCurr(value));
}
double TznBCDAccessor::GetAsFloat() const {
  return GetAsCurrency().ToDouble();
}
Integer TznBCDAccessor::GetAsInteger() const {
  return CheckedInt32(RoundCurrency(GetAsCurrency()));
}
Int64 TznBCDAccessor::GetAsLargeInt() const {
  return RoundCurrency(GetAsCurrency());
}
String TznBCDAccessor::GetAsString() const {
  return CurrToStr(GetAsCurrency());
}
Variant TznBCDAccessor::GetAsVariant() const {
  return Variant(GetAsCurrency());
}
void TznBCDAccessor::SetAsFloat(double value) {
  SetAsCurrency(FloatToCurrency(value));
}
void TznBCDAccessor::SetAsInteger(Integer value) {
  SetAsCurrency(Currency::FromRaw(static_cast<Int64>(value) * Currency::Scale));
}
void TznBCDAccessor::SetAsString(const String& value) {
  if (value.empty())
    ClearValue();
  else
    SetAsCurrency(StrToCurr(value));
}
void TznBCDAccessor::SetAsVariant(const Variant& value) {
  SetAsCurrency(value.AsCurrency());
}
void TznBCDAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader)
    SetAsCurrency(reader->ReadCurrency());
  else if (writer)
    writer->WriteCurrency(GetAsCurrency());
}
void TznBCDAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsBCD(source.AsBCD());
}
void TznBCDAccessor::AssignFromField(const TField& source) {
  SetAsBCD(source.AsBCD());
}
void TznBCDAccessor::AssignFromParam(const TParam& source) {
  SetAsCurrency(source.AsBCD());
}
void TznBCDAccessor::AssignToField(TField& dest) const {
  dest.SetAsBCD(GetAsBCD());
}
void TznBCDAccessor::AssignToParam(TParam& dest) const {
  dest.SetAsBCD(GetAsCurrency());
}
Integer TznBCDAccessor::Compare(const TznValueAccessor& other, bool caseSensitive) const {
  if (OtherIsWider(*this, other)) return -other.Compare(*this, caseSensitive);
  return Sign3(GetAsCurrency(), other.GetAsCurrency());
}

// ---- TznFMTBCDAccessor ------------------------------------------------------

TBcd TznFMTBCDAccessor::GetAsBCD() const {
  TBcd b = NullBcd;
  ReadRaw(&b, sizeof b);
  return b;
}
void TznFMTBCDAccessor::SetAsBCD(const TBcd& value) {
  WriteRaw(&value, sizeof value);
}
double TznFMTBCDAccessor::GetAsFloat() const {
  return IsNull() ? 0.0 : BcdToDouble(GetAsBCD());
}
Int64 TznFMTBCDAccessor::GetAsLargeInt() const {
  return Round(GetAsFloat());
}
Currency TznFMTBCDAccessor::GetAsCurrency() const {
  return FloatToCurrency(GetAsFloat());
}
String TznFMTBCDAccessor::GetAsString() const {
  return BcdToStr(GetAsBCD());
}
Variant TznFMTBCDAccessor::GetAsVariant() const {
  return VarFMTBcdCreate(GetAsBCD());
}
void TznFMTBCDAccessor::SetAsCurrency(Currency value) {
  SetAsBCD(CurrencyToBcd(value));
}
void TznFMTBCDAccessor::SetAsFloat(double value) {
  SetAsCurrency(FloatToCurrency(value));
}
void TznFMTBCDAccessor::SetAsInteger(Integer value) {
  SetAsCurrency(Currency::FromRaw(static_cast<Int64>(value) * Currency::Scale));
}
void TznFMTBCDAccessor::SetAsString(const String& value) {
  if (value.empty())
    ClearValue();
  else
    SetAsBCD(StrToBcd(value));
}
void TznFMTBCDAccessor::SetAsVariant(const Variant& value) {
  SetAsBCD(VarToBcd(value));
}
void TznFMTBCDAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (writer) {
    writer->WriteString(BcdToStr(GetAsBCD(), StreamFormat()));
  } else if (reader) {
    // Older streams hold a currency (four decimals).
    const TValueType type = reader->NextValue();
    if (type == vaString || type == vaLString || type == vaUTF8String || type == vaWString)
      SetAsBCD(StrToBcd(reader->ReadString(), StreamFormat()));
    else
      SetAsCurrency(reader->ReadCurrency());
  }
}
void TznFMTBCDAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsBCD(source.AsBCD());
}
void TznFMTBCDAccessor::AssignFromField(const TField& source) {
  SetAsBCD(source.AsBCD());
}
void TznFMTBCDAccessor::AssignFromParam(const TParam& source) {
  SetAsBCD(source.AsFMTBCD());
}
void TznFMTBCDAccessor::AssignToField(TField& dest) const {
  dest.SetAsBCD(GetAsBCD());
}
void TznFMTBCDAccessor::AssignToParam(TParam& dest) const {
  dest.SetAsFMTBCD(GetAsBCD());
}
Integer TznFMTBCDAccessor::Compare(const TznValueAccessor& other, bool caseSensitive) const {
  if (OtherIsWider(*this, other)) return -other.Compare(*this, caseSensitive);
  return SignOfDifference(GetAsFloat(), other.GetAsFloat());
}

// ---- TznBlobAccessor --------------------------------------------------------

String TznBlobAccessor::GetAsString() const {
  if (IsNull()) return String();
  return String(HeldChars(Value()), static_cast<std::size_t>(DataSize()));
}
void TznBlobAccessor::SetAsString(const String& value) {
  WriteRaw(value.data(), static_cast<Integer>(value.size()));
}
Variant TznBlobAccessor::GetAsVariant() const {
  return Variant(GetAsString());
}
void TznBlobAccessor::SetAsVariant(const Variant& value) {
  SetAsString(VarToStr(value));
}
void TznBlobAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader)
    SetAsString(reader->ReadString());
  else if (writer)
    writer->WriteString(GetAsString());
}
void TznBlobAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsString(source.AsString());
}
void TznBlobAccessor::AssignFromField(const TField& source) {
  SetAsString(source.AsString());
}
void TznBlobAccessor::AssignFromParam(const TParam& source) {
  SetAsString(source.AsString());
}
void TznBlobAccessor::AssignToField(TField& dest) const {
  dest.SetAsString(GetAsString());
}
void TznBlobAccessor::AssignToParam(TParam& dest) const {
  dest.SetAsString(GetAsString());
}
Integer TznBlobAccessor::Compare(const TznValueAccessor& other, bool) const {
  return AnsiCompareText(GetAsString(), other.GetAsString());
}

// ---- TznVariantAccessor -----------------------------------------------------

TznVariantHolder* TznVariantAccessor::Holder() const {
  TznVariantHolder* holder = nullptr;
  if (DataSize() == static_cast<Integer>(sizeof holder)) ReadRaw(&holder, sizeof holder);
  return holder;
}
Variant TznVariantAccessor::GetAsVariant() const {
  TznVariantHolder* holder = Holder();
  return holder ? holder->Value : Null();
}
void TznVariantAccessor::SetAsVariant(const Variant& value) {
  if (TznVariantHolder* holder = Holder()) {
    holder->Value = value;
    Value()->SetModified(true);
    return;
  }
  TObjectPtr<TznVariantHolder> holder(Create<TznVariantHolder>());
  holder->Value = value;
  TznVariantHolder* raw = holder.get();
  WriteRaw(&raw, sizeof raw);
  holder.release();  // the value owns it now
}
bool TznVariantAccessor::GetAsBoolean() const {
  return GetAsVariant().AsBoolean();
}
double TznVariantAccessor::GetAsFloat() const {
  return GetAsVariant().AsDouble();
}
Integer TznVariantAccessor::GetAsInteger() const {
  return GetAsVariant().AsInteger();
}
Int64 TznVariantAccessor::GetAsLargeInt() const {
  return GetAsVariant().AsInt64();
}
String TznVariantAccessor::GetAsString() const {
  return VarToStr(GetAsVariant());
}
TDateTime TznVariantAccessor::GetAsDateTime() const {
  return VarToDateTime(GetAsVariant());
}
TBcd TznVariantAccessor::GetAsBCD() const {
  return VarToBcd(GetAsVariant());
}
TSQLTimeStamp TznVariantAccessor::GetAsSQLTimeStamp() const {
  return VarToSQLTimeStamp(GetAsVariant());
}
Variant TznVariantAccessor::GetAsByteArray() const {
  Variant v = GetAsVariant();
  if (VarIsNull(v) || v.VarType() == (varArray | varByte)) return v;
  AccessError("ByteArray");
}
void TznVariantAccessor::SetAsBoolean(bool value) {
  SetAsVariant(Variant(value));
}
void TznVariantAccessor::SetAsDateTime(TDateTime value) {
  SetAsVariant(VarFromDateTime(value));
}
void TznVariantAccessor::SetAsFloat(double value) {
  SetAsVariant(Variant(value));
}
void TznVariantAccessor::SetAsInteger(Integer value) {
  SetAsVariant(Variant(value));
}
void TznVariantAccessor::SetAsString(const String& value) {
  SetAsVariant(Variant(value));
}
void TznVariantAccessor::SetAsBCD(const TBcd& value) {
  SetAsVariant(VarFMTBcdCreate(value));
}
void TznVariantAccessor::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  SetAsVariant(VarSQLTimeStampCreate(value));
}
bool TznVariantAccessor::HasStreamData() const {
  const Variant v = GetAsVariant();
  switch (v.VarType()) {
    case varEmpty:
    case varShortInt:
    case varByte:
    case varSmallint:
    case varWord:
    case varInteger:
    case varLongWord:
    case varInt64:
    case varSingle:
    case varDouble:
    case varCurrency:
    case varDate:
    case varOleStr:
    case varString:
    case varBoolean:
      return true;
    case varUInt64:
      return v.AsUInt64() <= static_cast<UInt64>(INT64_MAX);
    default:
      return false;
  }
}
void TznVariantAccessor::ReadWriteData(TReader* reader, TWriter* writer) {
  if (reader) {
    Variant v = reader->ReadVariant();
    if (VarIsNull(v))
      ClearValue();
    else
      SetAsVariant(v);
  } else if (writer) {
    writer->WriteVariant(GetAsVariant());
  }
}
void TznVariantAccessor::AssignFromValue(const TznUniValue& source) {
  SetAsVariant(source.AsVariant());
}
void TznVariantAccessor::AssignFromField(const TField& source) {
  SetAsVariant(source.AsVariant());
}
void TznVariantAccessor::AssignFromParam(const TParam& source) {
  SetAsVariant(source.Value());
}
void TznVariantAccessor::AssignToField(TField& dest) const {
  dest.SetAsVariant(GetAsVariant());
}
void TznVariantAccessor::AssignToParam(TParam& dest) const {
  dest.SetValue(GetAsVariant());
}

// ---- selection --------------------------------------------------------------

TznValueAccessor* CreateAccessor(TFieldType dataType, TznUniValue* value) {
  switch (dataType) {
    case ftString:
    case ftFixedChar:
      return new TznStringAccessor(value);
    case ftWideString:
      return new TznWideStringAccessor(value);
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftAutoInc:
      return new TznIntegerAccessor(value);
    case ftLargeint:
      return new TznLargeIntAccessor(value);
    case ftFloat:
    case ftCurrency:
      return new TznFloatAccessor(value);
    case ftBoolean:
      return new TznBoolAccessor(value);
    case ftDate:
    case ftTime:
    case ftDateTime:
      return new TznDateTimeAccessor(value);
    case ftTimeStamp:
      return new TznSQLTimeStampAccessor(value);
    case ftBytes:
    case ftVarBytes:
      return new TznBinaryAccessor(value);
    case ftBCD:
      return new TznBCDAccessor(value);
    case ftFMTBcd:
      return new TznFMTBCDAccessor(value);
    case ftVariant:
    case ftUnknown:
      return new TznVariantAccessor(value);
    default:
      if (IsBlobDataType(dataType)) return new TznBlobAccessor(value);
      return new TznValueAccessor(value);
  }
}

}  // namespace brevant
