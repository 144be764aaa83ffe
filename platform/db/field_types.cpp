#include "db/field_types.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/dbconsts.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TStringField, TField) {
  p.Property("FixedChar", &TStringField::FixedChar, &TStringField::SetFixedChar).Default(false);
  p.Property("Size", &TStringField::Size, &TStringField::SetSize).Default(20);
}
BV_IMPLEMENT_CLASS(TGuidField, TStringField)
BV_PUBLISH(TWideStringField, TField) {
  p.Property("Size", &TWideStringField::Size, &TWideStringField::SetSize).Default(40);
}
BV_PUBLISH_ABSTRACT(TNumericField, TField) {
  p.Property("Alignment", &TNumericField::Alignment, &TNumericField::SetAlignment)
      .Default(taRightJustify);
  p.Property("DisplayFormat", &TNumericField::DisplayFormat, &TNumericField::SetDisplayFormat);
  p.Property("EditFormat", &TNumericField::EditFormat, &TNumericField::SetEditFormat);
}
BV_PUBLISH(TIntegerField, TNumericField) {
  p.Property("MaxValue", &TIntegerField::MaxValue, &TIntegerField::SetMaxValue).Default(0);
  p.Property("MinValue", &TIntegerField::MinValue, &TIntegerField::SetMinValue).Default(0);
}
BV_IMPLEMENT_CLASS(TSmallintField, TIntegerField)
BV_IMPLEMENT_CLASS(TWordField, TIntegerField)
BV_IMPLEMENT_CLASS(TAutoIncField, TIntegerField)
BV_IMPLEMENT_CLASS(TLargeintField, TNumericField)
BV_PUBLISH(TFloatField, TNumericField) {
  p.Property("Currency", &TFloatField::IsCurrency, &TFloatField::SetCurrency).Default(false);
  p.Property("MaxValue", &TFloatField::MaxValue, &TFloatField::SetMaxValue);
  p.Property("MinValue", &TFloatField::MinValue, &TFloatField::SetMinValue);
  p.Property("Precision", &TFloatField::Precision, &TFloatField::SetPrecision).Default(15);
}
BV_IMPLEMENT_CLASS(TCurrencyField, TFloatField)
BV_PUBLISH(TBCDField, TNumericField) {
  p.Property("Currency", &TBCDField::IsCurrency, &TBCDField::SetCurrency).Default(false);
  p.Property("Precision", &TBCDField::Precision, &TBCDField::SetPrecision).Default(0);
  p.Property("Size", &TBCDField::Size, &TBCDField::SetSize).Default(4);
}
BV_PUBLISH(TFMTBCDField, TNumericField) {
  p.Property("Currency", &TFMTBCDField::IsCurrency, &TFMTBCDField::SetCurrency).Default(false);
  p.Property("Precision", &TFMTBCDField::Precision, &TFMTBCDField::SetPrecision).Default(32);
  p.Property("Size", &TFMTBCDField::Size, &TFMTBCDField::SetSize).Default(8);
}
BV_PUBLISH(TBooleanField, TField) {
  p.Property("DisplayValues", &TBooleanField::DisplayValues, &TBooleanField::SetDisplayValues);
}
BV_PUBLISH(TDateTimeField, TField) {
  p.Property("DisplayFormat", &TDateTimeField::DisplayFormat, &TDateTimeField::SetDisplayFormat);
}
BV_IMPLEMENT_CLASS(TDateField, TDateTimeField)
BV_IMPLEMENT_CLASS(TTimeField, TDateTimeField)
BV_PUBLISH(TSQLTimeStampField, TField) {
  p.Property("DisplayFormat", &TSQLTimeStampField::DisplayFormat,
             &TSQLTimeStampField::SetDisplayFormat);
}
BV_IMPLEMENT_ABSTRACT_CLASS(TBinaryField, TField)
BV_IMPLEMENT_CLASS(TBytesField, TBinaryField)
BV_IMPLEMENT_CLASS(TVarBytesField, TBinaryField)
BV_PUBLISH(TBlobField, TField) {
  p.Property("BlobType", &TBlobField::BlobType, &TBlobField::SetBlobType).Default(ftBlob);
}
BV_IMPLEMENT_CLASS(TMemoField, TBlobField)
BV_IMPLEMENT_CLASS(TGraphicField, TBlobField)
BV_IMPLEMENT_CLASS(TVariantField, TField)

namespace {

bool IsDigit(char32_t ch) {
  return ch >= '0' && ch <= '9';
}

// Reads a value of type T out of a record buffer.
template <class T>
T Load(const Byte* p) {
  T v;
  std::memcpy(&v, p, sizeof(T));
  return v;
}

// "999.99" for precision 5 and 2 decimals: the largest value that fits.
String Nines(Integer precision, Integer decimals) {
  String s(static_cast<std::size_t>(std::max(precision - decimals, 1)), '9');
  if (decimals > 0) s += FormatSettings().DecimalSeparator + String(decimals, '9');
  return s;
}

}  // namespace

// ==== text =========================================================================

TStringField::TStringField(TComponent* owner) : TField(owner) {
  SetDataType(ftString);
  InitSize(20);
}

void TStringField::SetFixedChar(bool value) {
  CheckInactive();
  SetDataType(value ? ftFixedChar : ftString);
}

void TStringField::CheckSize(Integer value) const {
  // The record holds up to four bytes per character.
  if (value < 1 || value > 0x1FFFFFFF)
    DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

bool TStringField::GetValue(String& value) const {
  Byte* b = Scratch(static_cast<std::size_t>(DataSize()));
  if (!GetData(b)) {
    value.clear();
    return false;
  }
  const char* c = reinterpret_cast<const char*>(b);
  value.assign(c, strnlen(c, static_cast<std::size_t>(DataSize() - 1)));
  return true;
}

String TStringField::AsString() const {
  String s;
  GetValue(s);
  return s;
}

void TStringField::SetAsString(const String& value) {
  Integer length = Utf8Length(value);
  if (length > Size()) DatabaseErrorFmt(res::SFieldValueTooLong, {length, DisplayName(), Size()});
  String buffer = value;
  buffer.resize(static_cast<std::size_t>(DataSize() - 1));  // zero bytes up to DataSize
  SetData(buffer.data());
}

WideString TStringField::AsWideString() const {
  return Utf8ToWide(AsString());
}
void TStringField::SetAsWideString(const WideString& value) {
  SetAsString(WideToUtf8(value));
}
Integer TStringField::AsInteger() const {
  String s;
  return GetValue(s) ? StrToInt(s) : 0;
}
void TStringField::SetAsInteger(Integer value) {
  SetAsString(IntToStr(value));
}
Int64 TStringField::AsLargeInt() const {
  String s;
  return GetValue(s) ? StrToInt64(s) : 0;
}
void TStringField::SetAsLargeInt(Int64 value) {
  SetAsString(IntToStr(value));
}
double TStringField::AsFloat() const {
  String s;
  return GetValue(s) ? static_cast<double>(StrToFloat(s)) : 0.0;
}
void TStringField::SetAsFloat(double value) {
  SetAsString(FloatToStr(value));
}
bool TStringField::AsBoolean() const {
  String s;
  if (!GetValue(s)) return false;
  String t = Trim(s);
  for (const char* yes : {"True", "T", "Yes", "Y", "1"})
    if (SameText(t, yes)) return true;
  for (const char* no : {"False", "F", "No", "N", "0", ""})
    if (SameText(t, no)) return false;
  DatabaseErrorFmt(res::SInvalidBoolean, {s});
}
void TStringField::SetAsBoolean(bool value) {
  if (Size() >= 5)
    SetAsString(value ? "True" : "False");
  else
    SetAsString(value ? "T" : "F");
}
TDateTime TStringField::AsDateTime() const {
  String s;
  return GetValue(s) ? StrToDateTime(s) : 0.0;
}
void TStringField::SetAsDateTime(TDateTime value) {
  SetAsString(DateTimeToStr(value));
}
Currency TStringField::AsCurrency() const {
  String s;
  return GetValue(s) ? StrToCurr(s) : Currency();
}
void TStringField::SetAsCurrency(Currency value) {
  SetAsString(CurrToStr(value));
}
TBcd TStringField::AsBCD() const {
  String s;
  return GetValue(s) ? StrToBcd(s) : NullBcd;
}
void TStringField::SetAsBCD(const TBcd& value) {
  SetAsString(BcdToStr(value));
}
TSQLTimeStamp TStringField::AsSQLTimeStamp() const {
  String s;
  return GetValue(s) ? StrToSQLTimeStamp(s) : NullSQLTimeStamp;
}
void TStringField::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  SetAsString(SQLTimeStampToStr(String(), value));
}
Variant TStringField::GetAsVariant() const {
  String s;
  if (!GetValue(s)) return Null();
  return Variant(std::move(s));
}
void TStringField::SetVarValue(const Variant& value) {
  if (VarIsArray(value)) DatabaseError(res::SInvalidVarType);
  SetAsString(VarToStr(value));
}

TGuidField::TGuidField(TComponent* owner) : TStringField(owner) {
  SetDataType(ftGuid);
  InitSize(38);
}

void TGuidField::CheckSize(Integer value) const {
  if (value != 38) DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

TWideStringField::TWideStringField(TComponent* owner) : TField(owner) {
  SetDataType(ftWideString);
  InitSize(40);
}

void TWideStringField::CheckSize(Integer value) const {
  if (value < 2 || value % 2 != 0) DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

WideString TWideStringField::AsWideString() const {
  Byte* b = Scratch(static_cast<std::size_t>(DataSize()));
  if (!GetData(b)) return WideString();
  WideString s;
  std::size_t units = static_cast<std::size_t>(Size()) / 2;
  for (std::size_t i = 0; i < units; ++i) {
    char16_t c = Load<char16_t>(b + 2 * i);
    if (c == 0) break;
    s += c;
  }
  return s;
}

void TWideStringField::SetAsWideString(const WideString& value) {
  if (value.size() * 2 > static_cast<std::size_t>(Size()))
    DatabaseErrorFmt(res::SFieldValueTooLong,
                     {static_cast<Integer>(value.size() * 2), DisplayName(), Size()});
  WideString buffer = value;
  buffer.resize(static_cast<std::size_t>(Size()) / 2);
  SetData(buffer.data());
}

String TWideStringField::AsString() const {
  return WideToUtf8(AsWideString());
}
void TWideStringField::SetAsString(const String& value) {
  SetAsWideString(Utf8ToWide(value));
}
Variant TWideStringField::GetAsVariant() const {
  if (IsNull()) return Null();
  return Variant(AsWideString());
}
void TWideStringField::SetVarValue(const Variant& value) {
  if (VarIsArray(value)) DatabaseError(res::SInvalidVarType);
  SetAsWideString(VarToWideStr(value));
}

// ==== numbers ========================================================================

TNumericField::TNumericField(TComponent* owner) : TField(owner) {
  SetAlignment(taRightJustify);
}

void TNumericField::SetDisplayFormat(const String& value) {
  if (value == displayFormat_) return;
  displayFormat_ = value;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

void TNumericField::SetEditFormat(const String& value) {
  if (value == editFormat_) return;
  editFormat_ = value;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

bool TNumericField::IsValidChar(char32_t ch) const {
  return IsDigit(ch) || ch == '+' || ch == '-' || ch == 'E' || ch == 'e' ||
         ch == static_cast<char32_t>(static_cast<unsigned char>(FormatSettings().DecimalSeparator));
}

// ---- integers --------------------------------------------------------------------

TIntegerField::TIntegerField(TComponent* owner) : TNumericField(owner) {
  SetDataType(ftInteger);
}

TSmallintField::TSmallintField(TComponent* owner) : TIntegerField(owner) {
  SetDataType(ftSmallint);
}

TWordField::TWordField(TComponent* owner) : TIntegerField(owner) {
  SetDataType(ftWord);
}

TAutoIncField::TAutoIncField(TComponent* owner) : TIntegerField(owner) {
  SetDataType(ftAutoInc);
}

Integer TIntegerField::DataSize() const {
  return DataType() == ftSmallint || DataType() == ftWord ? 2 : 4;
}

Integer TIntegerField::DefaultWidth() const {
  switch (DataType()) {
    case ftSmallint:
      return 6;
    case ftWord:
      return 5;
    default:
      return 11;
  }
}

bool TIntegerField::IsValidChar(char32_t ch) const {
  return IsDigit(ch) || ch == '+' || ch == '-';
}

bool TIntegerField::GetValue(Integer& value) const {
  Byte b[4] = {};
  if (!GetData(b)) {
    value = 0;
    return false;
  }
  switch (DataType()) {
    case ftSmallint:
      value = Load<SmallInt>(b);
      break;
    case ftWord:
      value = Load<Word>(b);
      break;
    default:
      value = Load<Integer>(b);
  }
  return true;
}

void TIntegerField::CheckRange(Int64 value) const {
  Int64 lo = INT32_MIN, hi = INT32_MAX;
  if (DataType() == ftSmallint) lo = -32768, hi = 32767;
  if (DataType() == ftWord) lo = 0, hi = 65535;
  if (minValue_ != 0 || maxValue_ != 0)
    lo = std::max<Int64>(lo, minValue_), hi = std::min<Int64>(hi, maxValue_);
  if (value < lo || value > hi) RangeError(IntToStr(value), IntToStr(lo), IntToStr(hi));
}

String TIntegerField::AsString() const {
  Integer v;
  return GetValue(v) ? IntToStr(v) : String();
}
void TIntegerField::SetAsString(const String& value) {
  if (Trim(value).empty())
    Clear();
  else
    SetAsLargeInt(StrToInt64(value));
}
Integer TIntegerField::AsInteger() const {
  Integer v;
  GetValue(v);
  return v;
}
void TIntegerField::SetAsInteger(Integer value) {
  SetAsLargeInt(value);
}
Int64 TIntegerField::AsLargeInt() const {
  return AsInteger();
}
void TIntegerField::SetAsLargeInt(Int64 value) {
  CheckRange(value);
  Byte b[4] = {};
  if (DataType() == ftSmallint) {
    SmallInt s = static_cast<SmallInt>(value);
    std::memcpy(b, &s, 2);
  } else if (DataType() == ftWord) {
    Word w = static_cast<Word>(value);
    std::memcpy(b, &w, 2);
  } else {
    Integer i = static_cast<Integer>(value);
    std::memcpy(b, &i, 4);
  }
  SetData(b);
}
double TIntegerField::AsFloat() const {
  return AsInteger();
}
void TIntegerField::SetAsFloat(double value) {
  SetAsLargeInt(Round(value));
}
Currency TIntegerField::AsCurrency() const {
  return Currency::FromInt(AsInteger());
}
void TIntegerField::SetAsCurrency(Currency value) {
  SetAsLargeInt(Round(value.ToExtended()));
}
TBcd TIntegerField::AsBCD() const {
  Integer v;
  return GetValue(v) ? IntegerToBcd(v) : NullBcd;
}
void TIntegerField::SetAsBCD(const TBcd& value) {
  SetAsLargeInt(BcdToInt64(value));
}
void TIntegerField::GetText(String& text, bool displayText) const {
  Integer v;
  if (!GetValue(v)) {
    text.clear();
    return;
  }
  const String& fmt = displayText ? displayFormat_ : editFormat_;
  text = fmt.empty() ? IntToStr(v) : FormatFloat(fmt, v);
}
Variant TIntegerField::GetAsVariant() const {
  Integer v;
  if (!GetValue(v)) return Null();
  switch (DataType()) {
    case ftSmallint:
      return Variant(static_cast<SmallInt>(v));
    case ftWord:
      return Variant(static_cast<Word>(v));
    default:
      return Variant(v);
  }
}
void TIntegerField::SetVarValue(const Variant& value) {
  if (VarIsStr(value))
    SetAsString(VarToStr(value));
  else
    SetAsLargeInt(value.AsInt64());
}

TLargeintField::TLargeintField(TComponent* owner) : TNumericField(owner) {
  SetDataType(ftLargeint);
}

bool TLargeintField::IsValidChar(char32_t ch) const {
  return IsDigit(ch) || ch == '+' || ch == '-';
}

bool TLargeintField::GetValue(Int64& value) const {
  Byte b[8] = {};
  if (!GetData(b)) {
    value = 0;
    return false;
  }
  value = Load<Int64>(b);
  return true;
}

String TLargeintField::AsString() const {
  Int64 v;
  return GetValue(v) ? IntToStr(v) : String();
}
void TLargeintField::SetAsString(const String& value) {
  if (Trim(value).empty())
    Clear();
  else
    SetAsLargeInt(StrToInt64(value));
}
Integer TLargeintField::AsInteger() const {
  Int64 v;
  GetValue(v);
  if (v < INT32_MIN || v > INT32_MAX)
    RangeError(IntToStr(v), IntToStr(INT32_MIN), IntToStr(INT32_MAX));
  return static_cast<Integer>(v);
}
void TLargeintField::SetAsInteger(Integer value) {
  SetAsLargeInt(value);
}
Int64 TLargeintField::AsLargeInt() const {
  Int64 v;
  GetValue(v);
  return v;
}
void TLargeintField::SetAsLargeInt(Int64 value) {
  SetData(&value);
}
double TLargeintField::AsFloat() const {
  return static_cast<double>(AsLargeInt());
}
void TLargeintField::SetAsFloat(double value) {
  SetAsLargeInt(Round(value));
}
Currency TLargeintField::AsCurrency() const {
  return Currency::FromInt(AsLargeInt());
}
void TLargeintField::SetAsCurrency(Currency value) {
  SetAsLargeInt(Round(value.ToExtended()));
}
TBcd TLargeintField::AsBCD() const {
  Int64 v;
  return GetValue(v) ? IntegerToBcd(v) : NullBcd;
}
void TLargeintField::SetAsBCD(const TBcd& value) {
  SetAsLargeInt(BcdToInt64(value));
}
void TLargeintField::GetText(String& text, bool displayText) const {
  Int64 v;
  if (!GetValue(v)) {
    text.clear();
    return;
  }
  const String& fmt = displayText ? displayFormat_ : editFormat_;
  text = fmt.empty() ? IntToStr(v) : FormatFloat(fmt, static_cast<Extended>(v));
}
Variant TLargeintField::GetAsVariant() const {
  Int64 v;
  if (!GetValue(v)) return Null();
  return Variant(v);
}
void TLargeintField::SetVarValue(const Variant& value) {
  if (VarIsStr(value))
    SetAsString(VarToStr(value));
  else
    SetAsLargeInt(value.AsInt64());
}

// ---- floats ------------------------------------------------------------------------

TFloatField::TFloatField(TComponent* owner) : TNumericField(owner) {
  SetDataType(ftFloat);
}

TCurrencyField::TCurrencyField(TComponent* owner) : TFloatField(owner) {
  SetDataType(ftCurrency);
  SetCurrency(true);
}

void TFloatField::SetCurrency(bool value) {
  if (value == currency_) return;
  currency_ = value;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

void TFloatField::SetPrecision(Integer value) {
  value = std::clamp(value, 1, 18);
  if (value == precision_) return;
  precision_ = value;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

bool TFloatField::GetValue(double& value) const {
  Byte b[8] = {};
  if (!GetData(b)) {
    value = 0;
    return false;
  }
  value = Load<double>(b);
  return true;
}

String TFloatField::AsString() const {
  double v;
  return GetValue(v) ? FloatToStrF(v, ffGeneral, precision_, 0) : String();
}
void TFloatField::SetAsString(const String& value) {
  if (Trim(value).empty())
    Clear();
  else
    SetAsFloat(static_cast<double>(StrToFloat(value)));
}
Integer TFloatField::AsInteger() const {
  Int64 v = AsLargeInt();
  if (v < INT32_MIN || v > INT32_MAX)
    RangeError(IntToStr(v), IntToStr(INT32_MIN), IntToStr(INT32_MAX));
  return static_cast<Integer>(v);
}
void TFloatField::SetAsInteger(Integer value) {
  SetAsFloat(value);
}
Int64 TFloatField::AsLargeInt() const {
  double v;
  return GetValue(v) ? Round(v) : 0;
}
void TFloatField::SetAsLargeInt(Int64 value) {
  SetAsFloat(static_cast<double>(value));
}
double TFloatField::AsFloat() const {
  double v;
  GetValue(v);
  return v;
}
void TFloatField::SetAsFloat(double value) {
  if (!std::isfinite(value)) DatabaseErrorFmt(res::SFieldValueError, {DisplayName()});
  if ((minValue_ != 0 || maxValue_ != 0) && (value < minValue_ || value > maxValue_))
    RangeError(FloatToStr(value), FloatToStr(minValue_), FloatToStr(maxValue_));
  SetData(&value);
}
Currency TFloatField::AsCurrency() const {
  double v;
  return GetValue(v) ? Currency::FromDouble(v) : Currency();
}
void TFloatField::SetAsCurrency(Currency value) {
  SetAsFloat(value.ToDouble());
}
TBcd TFloatField::AsBCD() const {
  double v;
  return GetValue(v) ? DoubleToBcd(v) : NullBcd;
}
void TFloatField::SetAsBCD(const TBcd& value) {
  SetAsFloat(BcdToDouble(value));
}
void TFloatField::GetText(String& text, bool displayText) const {
  double v;
  if (!GetValue(v)) {
    text.clear();
    return;
  }
  const String& fmt = displayText ? displayFormat_ : editFormat_;
  if (!fmt.empty())
    text = FormatFloat(fmt, v);
  else if (currency_)
    text = FloatToStrF(v, displayText ? ffCurrency : ffFixed, precision_,
                       FormatSettings().CurrencyDecimals);
  else
    text = FloatToStrF(v, ffGeneral, precision_, 0);
}
Variant TFloatField::GetAsVariant() const {
  double v;
  if (!GetValue(v)) return Null();
  return Variant(v);
}
void TFloatField::SetVarValue(const Variant& value) {
  if (VarIsStr(value))
    SetAsString(VarToStr(value));
  else
    SetAsFloat(value.AsDouble());
}

// ---- BCD ---------------------------------------------------------------------------

TBCDField::TBCDField(TComponent* owner) : TNumericField(owner) {
  SetDataType(ftBCD);
  InitSize(4);
}

void TBCDField::CheckSize(Integer value) const {
  if (value < 0 || value > 4) DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

void TBCDField::SetCurrency(bool value) {
  if (value == currency_) return;
  currency_ = value;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

void TBCDField::SetPrecision(Integer value) {
  CheckInactive();
  precision_ = std::clamp(value, 0, 19);
}

Integer TBCDField::DefaultWidth() const {
  return (precision_ > 0 ? precision_ : 18) + 2;
}

bool TBCDField::GetValue(Currency& value) const {
  TBcd b;
  if (!GetData(&b)) {
    value = Currency();
    return false;
  }
  value = BCDToCurr(b);
  return true;
}

String TBCDField::AsString() const {
  Currency c;
  return GetValue(c) ? CurrToStr(c) : String();
}
void TBCDField::SetAsString(const String& value) {
  if (Trim(value).empty())
    Clear();
  else
    SetAsCurrency(StrToCurr(value));
}
Integer TBCDField::AsInteger() const {
  Int64 v = AsLargeInt();
  if (v < INT32_MIN || v > INT32_MAX)
    RangeError(IntToStr(v), IntToStr(INT32_MIN), IntToStr(INT32_MAX));
  return static_cast<Integer>(v);
}
void TBCDField::SetAsInteger(Integer value) {
  SetAsCurrency(Currency::FromInt(value));
}
Int64 TBCDField::AsLargeInt() const {
  Currency c;
  return GetValue(c) ? Round(c.ToExtended()) : 0;
}
void TBCDField::SetAsLargeInt(Int64 value) {
  SetAsCurrency(Currency::FromInt(value));
}
double TBCDField::AsFloat() const {
  return AsCurrency().ToDouble();
}
void TBCDField::SetAsFloat(double value) {
  if (!std::isfinite(value)) DatabaseErrorFmt(res::SFieldValueError, {DisplayName()});
  SetAsCurrency(Currency::FromDouble(value));
}
Currency TBCDField::AsCurrency() const {
  Currency c;
  GetValue(c);
  return c;
}
void TBCDField::SetAsCurrency(Currency value) {
  TBcd b;
  Integer precision = precision_ > 0 ? precision_ : 32;
  if (!CurrToBCD(value, b, precision, std::min(Size(), precision)))
    RangeError(CurrToStr(value), "-" + Nines(precision, Size()), Nines(precision, Size()));
  SetData(&b);
}
TBcd TBCDField::AsBCD() const {
  TBcd b;
  return GetData(&b) ? b : NullBcd;
}
void TBCDField::SetAsBCD(const TBcd& value) {
  SetAsCurrency(BCDToCurr(value));
}
void TBCDField::GetText(String& text, bool displayText) const {
  Currency c;
  if (!GetValue(c)) {
    text.clear();
    return;
  }
  const String& fmt = displayText ? displayFormat_ : editFormat_;
  if (!fmt.empty())
    text = FormatCurr(fmt, c);
  else if (currency_ && displayText)
    text = CurrToStrF(c, ffCurrency, FormatSettings().CurrencyDecimals);
  else
    text = CurrToStr(c);
}
Variant TBCDField::GetAsVariant() const {
  Currency c;
  if (!GetValue(c)) return Null();
  return Variant(c);
}
void TBCDField::SetVarValue(const Variant& value) {
  if (VarIsStr(value))
    SetAsString(VarToStr(value));
  else
    SetAsCurrency(value.AsCurrency());
}

TFMTBCDField::TFMTBCDField(TComponent* owner) : TNumericField(owner) {
  SetDataType(ftFMTBcd);
  InitSize(8);
}

void TFMTBCDField::CheckSize(Integer value) const {
  if (value < 0 || value > MaxFMTBcdScale || value > precision_)
    DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

void TFMTBCDField::SetCurrency(bool value) {
  if (value == currency_) return;
  currency_ = value;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

void TFMTBCDField::SetPrecision(Integer value) {
  CheckInactive();
  precision_ = std::clamp(value, std::max(1, Size()), MaxFMTBcdDigits);
}

bool TFMTBCDField::GetValue(TBcd& value) const {
  if (!GetData(&value)) {
    value = NullBcd;
    return false;
  }
  return true;
}

String TFMTBCDField::AsString() const {
  TBcd b;
  return GetValue(b) ? BcdToStr(b) : String();
}
void TFMTBCDField::SetAsString(const String& value) {
  if (Trim(value).empty())
    Clear();
  else
    SetAsBCD(StrToBcd(value));
}
Integer TFMTBCDField::AsInteger() const {
  Int64 v = AsLargeInt();
  if (v < INT32_MIN || v > INT32_MAX)
    RangeError(IntToStr(v), IntToStr(INT32_MIN), IntToStr(INT32_MAX));
  return static_cast<Integer>(v);
}
void TFMTBCDField::SetAsInteger(Integer value) {
  SetAsBCD(IntegerToBcd(value));
}
Int64 TFMTBCDField::AsLargeInt() const {
  TBcd b;
  return GetValue(b) ? BcdToInt64(b) : 0;
}
void TFMTBCDField::SetAsLargeInt(Int64 value) {
  SetAsBCD(IntegerToBcd(value));
}
double TFMTBCDField::AsFloat() const {
  TBcd b;
  return GetValue(b) ? BcdToDouble(b) : 0.0;
}
void TFMTBCDField::SetAsFloat(double value) {
  if (!std::isfinite(value)) DatabaseErrorFmt(res::SFieldValueError, {DisplayName()});
  SetAsBCD(DoubleToBcd(value));
}
Currency TFMTBCDField::AsCurrency() const {
  TBcd b;
  return GetValue(b) ? BCDToCurr(b) : Currency();
}
void TFMTBCDField::SetAsCurrency(Currency value) {
  TBcd b;
  CurrToBCD(value, b, 32, 4);
  SetAsBCD(b);
}
TBcd TFMTBCDField::AsBCD() const {
  TBcd b;
  GetValue(b);
  return b;
}
void TFMTBCDField::SetAsBCD(const TBcd& value) {
  if (IsBcdNull(value)) {
    // The null BCD reads as zero everywhere; store a zero of the field's shape.
    SetAsBCD(IntegerToBcd(0));
    return;
  }
  TBcd b;
  if (!NormalizeBcd(value, b, precision_, Size()))
    RangeError(BcdToStr(value), "-" + Nines(precision_, Size()), Nines(precision_, Size()));
  SetData(&b);
}
void TFMTBCDField::GetText(String& text, bool displayText) const {
  TBcd b;
  if (!GetValue(b)) {
    text.clear();
    return;
  }
  const String& fmt = displayText ? displayFormat_ : editFormat_;
  if (!fmt.empty())
    text = FormatFloat(fmt, BcdToDouble(b));
  else if (currency_ && displayText)
    text = FloatToStrF(BcdToDouble(b), ffCurrency, 18, FormatSettings().CurrencyDecimals);
  else
    text = BcdToStr(b);
}
Variant TFMTBCDField::GetAsVariant() const {
  TBcd b;
  if (!GetValue(b)) return Null();
  return VarFMTBcdCreate(b);
}
void TFMTBCDField::SetVarValue(const Variant& value) {
  if (VarIsStr(value))
    SetAsString(VarToStr(value));
  else
    SetAsBCD(VarToBcd(value));
}

// ==== booleans ======================================================================

TBooleanField::TBooleanField(TComponent* owner) : TField(owner) {
  SetDataType(ftBoolean);
}

void TBooleanField::SetDisplayValues(const String& value) {
  if (value == displayValues_) return;
  auto sep = value.find(';');
  String t = sep == String::npos ? value : value.substr(0, sep);
  String f = sep == String::npos ? String() : value.substr(sep + 1);
  displayValues_ = value;
  trueText_ = t;
  falseText_ = f;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

Integer TBooleanField::DefaultWidth() const {
  return std::max<Integer>(static_cast<Integer>(std::max(trueText_.size(), falseText_.size())), 5);
}

bool TBooleanField::GetValue(bool& value) const {
  Word w = 0;
  if (!GetData(&w)) {
    value = false;
    return false;
  }
  value = w != 0;
  return true;
}

String TBooleanField::AsString() const {
  bool v;
  if (!GetValue(v)) return String();
  return v ? trueText_ : falseText_;
}
void TBooleanField::SetAsString(const String& value) {
  String t = Trim(value);
  if (t.empty()) {
    Clear();
    return;
  }
  if (!trueText_.empty() && AnsiSameText(t, Trim(trueText_))) return SetAsBoolean(true);
  if (!falseText_.empty() && AnsiSameText(t, Trim(falseText_))) return SetAsBoolean(false);
  for (const char* yes : {"True", "T", "Yes", "Y", "1"})
    if (SameText(t, yes)) return SetAsBoolean(true);
  for (const char* no : {"False", "F", "No", "N", "0"})
    if (SameText(t, no)) return SetAsBoolean(false);
  DatabaseErrorFmt(res::SInvalidBoolean, {value});
}
bool TBooleanField::AsBoolean() const {
  bool v;
  GetValue(v);
  return v;
}
void TBooleanField::SetAsBoolean(bool value) {
  Word w = value ? 0xFFFF : 0;
  SetData(&w);
}
Integer TBooleanField::AsInteger() const {
  return AsBoolean() ? 1 : 0;
}
void TBooleanField::SetAsInteger(Integer value) {
  SetAsBoolean(value != 0);
}
Variant TBooleanField::GetAsVariant() const {
  bool v;
  if (!GetValue(v)) return Null();
  return Variant(v);
}
void TBooleanField::SetVarValue(const Variant& value) {
  if (VarIsStr(value))
    SetAsString(VarToStr(value));
  else
    SetAsBoolean(value.AsBoolean());
}

// ==== dates and times =================================================================

TDateTimeField::TDateTimeField(TComponent* owner) : TField(owner) {
  SetDataType(ftDateTime);
}

TDateField::TDateField(TComponent* owner) : TDateTimeField(owner) {
  SetDataType(ftDate);
}

TTimeField::TTimeField(TComponent* owner) : TDateTimeField(owner) {
  SetDataType(ftTime);
}

Integer TDateTimeField::DataSize() const {
  return DataType() == ftDateTime ? 8 : 4;
}

Integer TDateTimeField::DefaultWidth() const {
  return DataType() == ftDateTime ? 18 : 10;
}

void TDateTimeField::SetDisplayFormat(const String& value) {
  if (value == displayFormat_) return;
  displayFormat_ = value;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

bool TDateTimeField::GetValue(TDateTime& value) const {
  Byte b[8] = {};
  value = 0;
  if (!GetData(b)) return false;
  switch (DataType()) {
    case ftDate: {
      TTimeStamp ts;
      ts.Date = Load<Integer>(b);
      value = TimeStampToDateTime(ts);
      break;
    }
    case ftTime: {
      Integer ms = Load<Integer>(b);
      if (ms < 0 || ms >= MSecsPerDay) DatabaseErrorFmt(res::SFieldValueError, {DisplayName()});
      value = static_cast<double>(ms) / MSecsPerDay;
      break;
    }
    default: {
      double ms = Load<double>(b);
      if (!std::isfinite(ms)) DatabaseErrorFmt(res::SFieldValueError, {DisplayName()});
      value = TimeStampToDateTime(MSecsToTimeStamp(ms));
    }
  }
  return true;
}

String TDateTimeField::DefaultFormat() const {
  switch (DataType()) {
    case ftDate:
      return FormatSettings().ShortDateFormat;
    case ftTime:
      return FormatSettings().LongTimeFormat;
    default:
      return "c";
  }
}

String TDateTimeField::AsString() const {
  TDateTime v;
  if (!GetValue(v)) return String();
  switch (DataType()) {
    case ftDate:
      return DateToStr(v);
    case ftTime:
      return TimeToStr(v);
    default:
      return DateTimeToStr(v);
  }
}
void TDateTimeField::SetAsString(const String& value) {
  if (Trim(value).empty()) {
    Clear();
    return;
  }
  switch (DataType()) {
    case ftDate:
      SetAsDateTime(StrToDate(value));
      break;
    case ftTime:
      SetAsDateTime(StrToTime(value));
      break;
    default:
      SetAsDateTime(StrToDateTime(value));
  }
}
double TDateTimeField::AsFloat() const {
  TDateTime v;
  GetValue(v);
  return v;
}
void TDateTimeField::SetAsFloat(double value) {
  SetAsDateTime(value);
}
TDateTime TDateTimeField::AsDateTime() const {
  TDateTime v;
  GetValue(v);
  return v;
}
void TDateTimeField::SetAsDateTime(TDateTime value) {
  TTimeStamp ts = DateTimeToTimeStamp(value);
  Byte b[8] = {};
  switch (DataType()) {
    case ftDate:
      std::memcpy(b, &ts.Date, 4);
      break;
    case ftTime:
      std::memcpy(b, &ts.Time, 4);
      break;
    default: {
      double ms = TimeStampToMSecs(ts);
      std::memcpy(b, &ms, 8);
    }
  }
  SetData(b);
}
TSQLTimeStamp TDateTimeField::AsSQLTimeStamp() const {
  TDateTime v;
  return GetValue(v) ? DateTimeToSQLTimeStamp(v) : NullSQLTimeStamp;
}
void TDateTimeField::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  if (IsSQLTimeStampNull(value))
    Clear();
  else
    SetAsDateTime(SQLTimeStampToDateTime(value));
}
void TDateTimeField::GetText(String& text, bool displayText) const {
  TDateTime v;
  if (!GetValue(v)) {
    text.clear();
    return;
  }
  text =
      FormatDateTime(displayText && !displayFormat_.empty() ? displayFormat_ : DefaultFormat(), v);
}
Variant TDateTimeField::GetAsVariant() const {
  TDateTime v;
  if (!GetValue(v)) return Null();
  return VarFromDateTime(v);
}
void TDateTimeField::SetVarValue(const Variant& value) {
  if (VarIsStr(value))
    SetAsString(VarToStr(value));
  else if (VarIsSQLTimeStamp(value))
    SetAsSQLTimeStamp(VarToSQLTimeStamp(value));
  else
    SetAsDateTime(value.AsDateTime());
}

TSQLTimeStampField::TSQLTimeStampField(TComponent* owner) : TField(owner) {
  SetDataType(ftTimeStamp);
}

void TSQLTimeStampField::SetDisplayFormat(const String& value) {
  if (value == displayFormat_) return;
  displayFormat_ = value;
  if (DataSet()) DataSet()->FieldLayoutChanged(false);
}

bool TSQLTimeStampField::GetValue(TSQLTimeStamp& value) const {
  if (!GetData(&value)) {
    value = NullSQLTimeStamp;
    return false;
  }
  return true;
}

String TSQLTimeStampField::AsString() const {
  TSQLTimeStamp ts;
  return GetValue(ts) ? SQLTimeStampToStr(String(), ts) : String();
}
void TSQLTimeStampField::SetAsString(const String& value) {
  if (Trim(value).empty())
    Clear();
  else
    SetAsSQLTimeStamp(StrToSQLTimeStamp(value));
}
double TSQLTimeStampField::AsFloat() const {
  return AsDateTime();
}
void TSQLTimeStampField::SetAsFloat(double value) {
  SetAsDateTime(value);
}
TDateTime TSQLTimeStampField::AsDateTime() const {
  TSQLTimeStamp ts;
  return GetValue(ts) ? SQLTimeStampToDateTime(ts) : 0.0;
}
void TSQLTimeStampField::SetAsDateTime(TDateTime value) {
  SetAsSQLTimeStamp(DateTimeToSQLTimeStamp(value));
}
TSQLTimeStamp TSQLTimeStampField::AsSQLTimeStamp() const {
  TSQLTimeStamp ts;
  GetValue(ts);
  return ts;
}
void TSQLTimeStampField::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  if (IsSQLTimeStampNull(value)) {
    Clear();
    return;
  }
  if (!IsValidTimeStamp(value)) DatabaseErrorFmt(res::SFieldValueError, {DisplayName()});
  SetData(&value);
}
void TSQLTimeStampField::GetText(String& text, bool displayText) const {
  TSQLTimeStamp ts;
  if (!GetValue(ts)) {
    text.clear();
    return;
  }
  text = SQLTimeStampToStr(displayText ? displayFormat_ : String(), ts);
}
Variant TSQLTimeStampField::GetAsVariant() const {
  TSQLTimeStamp ts;
  if (!GetValue(ts)) return Null();
  return VarSQLTimeStampCreate(ts);
}
void TSQLTimeStampField::SetVarValue(const Variant& value) {
  if (VarIsStr(value))
    SetAsString(VarToStr(value));
  else
    SetAsSQLTimeStamp(VarToSQLTimeStamp(value));
}

// ==== bytes ===========================================================================

TBinaryField::TBinaryField(TComponent* owner) : TField(owner) {
  InitSize(16);
}

TBytesField::TBytesField(TComponent* owner) : TBinaryField(owner) {
  SetDataType(ftBytes);
}

TVarBytesField::TVarBytesField(TComponent* owner) : TBinaryField(owner) {
  SetDataType(ftVarBytes);
}

void TBinaryField::CheckSize(Integer value) const {
  if (value < 1 || value > 65535) DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

bool TBinaryField::GetValue(String& value) const {
  Byte* b = Scratch(static_cast<std::size_t>(DataSize()));
  value.clear();
  if (!GetData(b)) return false;
  if (DataType() == ftVarBytes) {
    Word len = std::min<Word>(Load<Word>(b), static_cast<Word>(Size()));
    value.assign(reinterpret_cast<const char*>(b + 2), len);
  } else {
    value.assign(reinterpret_cast<const char*>(b), static_cast<std::size_t>(Size()));
  }
  return true;
}

String TBinaryField::AsString() const {
  String s;
  GetValue(s);
  return s;
}

void TBinaryField::SetAsString(const String& value) {
  if (value.size() > static_cast<std::size_t>(Size()))
    DatabaseErrorFmt(res::SFieldValueTooLong,
                     {static_cast<Integer>(value.size()), DisplayName(), Size()});
  std::vector<Byte> b(static_cast<std::size_t>(DataSize()), 0);
  if (DataType() == ftVarBytes) {
    Word len = static_cast<Word>(value.size());
    std::memcpy(b.data(), &len, 2);
    if (len) std::memcpy(b.data() + 2, value.data(), len);
  } else if (!value.empty()) {
    std::memcpy(b.data(), value.data(), value.size());
  }
  SetData(b.data());
}

void TBinaryField::GetText(String& text, bool displayText) const {
  (void)displayText;
  text = DataType() == ftVarBytes ? "(VarBytes)" : "(Bytes)";
}

Variant TBinaryField::GetAsVariant() const {
  String s;
  if (!GetValue(s)) return Null();
  return VarArrayFromBytes(
      std::span<const Byte>(reinterpret_cast<const Byte*>(s.data()), s.size()));
}

// The bytes of a byte array, an array of small integers, or a text.
String VariantBytes(const Variant& value) {
  if (VarIsStr(value)) return VarToStr(value);
  if (!VarIsArray(value)) DatabaseError(res::SInvalidVarType);
  if ((value.VarType() & varTypeMask) == varByte) {
    auto bytes = VarArrayBytes(value);
    return String(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  }
  String s;
  for (Integer i = VarArrayLowBound(value); i <= VarArrayHighBound(value); ++i) {
    Variant e = value.GetElement(i);
    if (!VarIsOrdinal(e)) DatabaseError(res::SInvalidVarType);
    Int64 b = e.AsInt64();
    if (b < 0 || b > 255) DatabaseError(res::SInvalidVarType);
    s += static_cast<char>(b);
  }
  return s;
}

void TBinaryField::SetVarValue(const Variant& value) {
  SetAsString(VariantBytes(value));
}

// ==== blobs ============================================================================

TBlobField::TBlobField(TComponent* owner) : TField(owner) {
  SetDataType(ftBlob);
}

TMemoField::TMemoField(TComponent* owner) : TBlobField(owner) {
  SetDataType(ftMemo);
}

TGraphicField::TGraphicField(TComponent* owner) : TBlobField(owner) {
  SetDataType(ftGraphic);
}

void TBlobField::SetBlobType(TFieldType value) {
  if (!IsBlobFieldType(value)) DatabaseErrorFmt(res::SInvalidFieldKind, {DisplayName()});
  CheckInactive();
  SetDataType(value);
}

Int64 TBlobField::BlobSize() const {
  if (!DataSet() || IsNull()) return 0;
  auto s = DataSet()->CreateBlobStream(const_cast<TBlobField*>(this), bmRead);
  return s ? s->Size() : 0;
}

String TBlobField::AsString() const {
  if (!DataSet() || IsNull()) return String();
  auto s = DataSet()->CreateBlobStream(const_cast<TBlobField*>(this), bmRead);
  if (!s) return String();
  String data(static_cast<std::size_t>(s->Size()), '\0');
  s->SetPosition(0);
  if (!data.empty()) s->ReadBuffer(data.data(), static_cast<Int64>(data.size()));
  return data;
}

void TBlobField::SetAsString(const String& value) {
  if (!DataSet()) DatabaseErrorFmt(res::SNoDataSet, {DisplayName()});
  DataSet()->CheckFieldWrite(this);
  auto s = DataSet()->CreateBlobStream(this, bmWrite);
  if (!value.empty()) s->WriteBuffer(value.data(), static_cast<Int64>(value.size()));
}

WideString TBlobField::AsWideString() const {
  return Utf8ToWide(AsString());
}

void TBlobField::SetAsWideString(const WideString& value) {
  SetAsString(WideToUtf8(value));
}

void TBlobField::LoadFromStream(TStream& stream) {
  Int64 n = stream.Size() - stream.Position();
  String data(static_cast<std::size_t>(std::max<Int64>(n, 0)), '\0');
  if (!data.empty()) stream.ReadBuffer(data.data(), static_cast<Int64>(data.size()));
  SetAsString(data);
}

void TBlobField::SaveToStream(TStream& stream) const {
  String data = AsString();
  if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

void TBlobField::LoadFromFile(const String& fileName) {
  TFileStream f(fileName, fmOpenRead);
  LoadFromStream(f);
}

void TBlobField::SaveToFile(const String& fileName) const {
  String data = AsString();
  TFileStream f(fileName, fmCreate);
  if (!data.empty()) f.WriteBuffer(data.data(), static_cast<Int64>(data.size()));
}

void TBlobField::GetText(String& text, bool displayText) const {
  (void)displayText;
  const char* tag = "BLOB";
  if (DataType() == ftGraphic) tag = "GRAPHIC";
  if (DataType() == ftMemo || DataType() == ftFmtMemo || DataType() == ftOraClob) tag = "MEMO";
  String t = tag;
  // "(MEMO)" when there is content, "(Memo)" when there is none.
  if (IsNull()) t = t.substr(0, 1) + LowerCase(t.substr(1));
  text = "(" + t + ")";
}

void TMemoField::GetText(String& text, bool displayText) const {
  if (displayText)
    TBlobField::GetText(text, true);
  else
    text = AsString();
}

Variant TBlobField::GetAsVariant() const {
  if (IsNull()) return Null();
  return Variant(AsString());
}

void TBlobField::SetVarValue(const Variant& value) {
  SetAsString(VariantBytes(value));
}

// ==== variants ============================================================================

TVariantField::TVariantField(TComponent* owner) : TField(owner) {
  SetDataType(ftVariant);
}

Variant TVariantField::GetAsVariant() const {
  Variant v;
  if (!GetData(&v)) return Null();
  return v;
}
void TVariantField::SetVarValue(const Variant& value) {
  SetData(&value);
}
String TVariantField::AsString() const {
  return VarToStr(GetAsVariant());
}
void TVariantField::SetAsString(const String& value) {
  SetVarValue(Variant(value));
}
WideString TVariantField::AsWideString() const {
  return VarToWideStr(GetAsVariant());
}
void TVariantField::SetAsWideString(const WideString& value) {
  SetVarValue(Variant(value));
}
Integer TVariantField::AsInteger() const {
  Variant v = GetAsVariant();
  return VarIsNull(v) ? 0 : v.AsInteger();
}
void TVariantField::SetAsInteger(Integer value) {
  SetVarValue(Variant(value));
}
Int64 TVariantField::AsLargeInt() const {
  Variant v = GetAsVariant();
  return VarIsNull(v) ? 0 : v.AsInt64();
}
void TVariantField::SetAsLargeInt(Int64 value) {
  SetVarValue(Variant(value));
}
double TVariantField::AsFloat() const {
  Variant v = GetAsVariant();
  return VarIsNull(v) ? 0.0 : v.AsDouble();
}
void TVariantField::SetAsFloat(double value) {
  SetVarValue(Variant(value));
}
bool TVariantField::AsBoolean() const {
  Variant v = GetAsVariant();
  return VarIsNull(v) ? false : v.AsBoolean();
}
void TVariantField::SetAsBoolean(bool value) {
  SetVarValue(Variant(value));
}
TDateTime TVariantField::AsDateTime() const {
  Variant v = GetAsVariant();
  return VarIsNull(v) ? 0.0 : v.AsDateTime();
}
void TVariantField::SetAsDateTime(TDateTime value) {
  SetVarValue(VarFromDateTime(value));
}
Currency TVariantField::AsCurrency() const {
  Variant v = GetAsVariant();
  return VarIsNull(v) ? Currency() : v.AsCurrency();
}
void TVariantField::SetAsCurrency(Currency value) {
  SetVarValue(Variant(value));
}
TBcd TVariantField::AsBCD() const {
  return VarToBcd(GetAsVariant());
}
void TVariantField::SetAsBCD(const TBcd& value) {
  SetVarValue(VarFMTBcdCreate(value));
}
TSQLTimeStamp TVariantField::AsSQLTimeStamp() const {
  return VarToSQLTimeStamp(GetAsVariant());
}
void TVariantField::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  SetVarValue(VarSQLTimeStampCreate(value));
}

}  // namespace brevant
