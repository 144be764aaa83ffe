// The field classes' published properties and class registrations, and the
// Boolean and variant fields. Text, numeric and date-time fields live in
// field_types_text.cpp, field_types_numeric.cpp and field_types_datetime.cpp.
#include "db/field_types.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/dbconsts.h"
#include "db/field_buffer_util.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

using field_util::IsDigit;
using field_util::Load;
using field_util::Nines;

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
