// Numeric field classes: integers of every width, floats, currency and the
// two BCD kinds, with their ranges, formats and conversions.
#include <cmath>
#include <cstring>
#include <limits>

#include "db/dataset.h"
#include "db/dbconsts.h"
#include "db/field_buffer_util.h"
#include "db/field_types.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

using field_util::IsDigit;
using field_util::Load;
using field_util::Nines;

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

}  // namespace brevant
