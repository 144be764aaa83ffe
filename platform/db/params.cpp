#include "db/params.h"

#include "classes/rtti_builder.h"
#include "db/dbconsts.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TParam, TCollectionItem) {
  p.Property("Name", &TParam::Name, &TParam::SetName);
  p.Property("DataType", &TParam::DataType, &TParam::SetDataType).Default(ftUnknown);
  p.Property("ParamType", &TParam::ParamType, &TParam::SetParamType).Default(ptUnknown);
  p.Property("Value", &TParam::Value, &TParam::SetValue);
}

BV_IMPLEMENT_CLASS(TParams, TOwnedCollection)

namespace {

// The field type of a variant's value.
TFieldType TypeOfVariant(const Variant& v) {
  switch (v.VarType()) {
    case varSmallint:
    case varShortInt:
    case varByte:
      return ftSmallint;
    case varWord:
      return ftWord;
    case varInteger:
    case varLongWord:
      return ftInteger;
    case varInt64:
    case varUInt64:
      return ftLargeint;
    case varSingle:
    case varDouble:
      return ftFloat;
    case varCurrency:
      return ftCurrency;
    case varDate:
      return ftDateTime;
    case varBoolean:
      return ftBoolean;
    case varString:
      return ftString;
    case varOleStr:
      return ftWideString;
    case varFMTBcd:
      return ftFMTBcd;
    case varSQLTimeStamp:
      return ftTimeStamp;
    default:
      return VarIsArray(v) ? ftBlob : ftUnknown;
  }
}

}  // namespace

void TParam::SetName(const String& value) {
  if (value == name_) return;
  name_ = value;
  Changed(false);
}

void TParam::SetDataType(TFieldType value) {
  if (value == dataType_) return;
  dataType_ = value;
  if (IsNull()) return;
  // Keep the value in the new type when it converts.
  try {
    switch (value) {
      case ftSmallint:
      case ftInteger:
      case ftWord:
      case ftAutoInc:
        value_ = Variant(value_.AsInteger());
        break;
      case ftLargeint:
        value_ = Variant(value_.AsInt64());
        break;
      case ftFloat:
      case ftCurrency:
        value_ = Variant(value_.AsDouble());
        break;
      case ftBCD:
        value_ = Variant(value_.AsCurrency());
        break;
      case ftFMTBcd:
        value_ = VarFMTBcdCreate(value_.AsBcd());
        break;
      case ftBoolean:
        value_ = Variant(value_.AsBoolean());
        break;
      case ftDate:
      case ftTime:
      case ftDateTime:
        value_ = VarFromDateTime(value_.AsDateTime());
        break;
      case ftTimeStamp:
        value_ = VarSQLTimeStampCreate(value_.AsSQLTimeStamp());
        break;
      case ftString:
      case ftFixedChar:
      case ftMemo:
        value_ = Variant(value_.AsString());
        break;
      case ftWideString:
        value_ = Variant(value_.AsWideString());
        break;
      default:
        break;
    }
  } catch (const Exception&) {
    value_ = Null();
  }
}

void TParam::SetValue(const Variant& value) {
  value_ = VarIsEmpty(value) ? Null() : value;
  if (dataType_ == ftUnknown) dataType_ = TypeOfVariant(value_);
}

String TParam::AsString() const {
  return IsNull() ? String() : VarToStr(value_);
}
void TParam::SetAsString(const String& value) {
  dataType_ = ftString;
  value_ = Variant(value);
}
Integer TParam::AsInteger() const {
  return IsNull() ? 0 : value_.AsInteger();
}
void TParam::SetAsInteger(Integer value) {
  dataType_ = ftInteger;
  value_ = Variant(value);
}
Int64 TParam::AsLargeInt() const {
  return IsNull() ? 0 : value_.AsInt64();
}
void TParam::SetAsLargeInt(Int64 value) {
  dataType_ = ftLargeint;
  value_ = Variant(value);
}
double TParam::AsFloat() const {
  return IsNull() ? 0.0 : value_.AsDouble();
}
void TParam::SetAsFloat(double value) {
  dataType_ = ftFloat;
  value_ = Variant(value);
}
bool TParam::AsBoolean() const {
  return IsNull() ? false : value_.AsBoolean();
}
void TParam::SetAsBoolean(bool value) {
  dataType_ = ftBoolean;
  value_ = Variant(value);
}
TDateTime TParam::AsDateTime() const {
  return IsNull() ? 0.0 : value_.AsDateTime();
}
void TParam::SetAsDateTime(TDateTime value) {
  dataType_ = ftDateTime;
  value_ = VarFromDateTime(value);
}
Currency TParam::AsCurrency() const {
  return IsNull() ? Currency() : value_.AsCurrency();
}
void TParam::SetAsCurrency(Currency value) {
  dataType_ = ftCurrency;
  value_ = Variant(value);
}
void TParam::SetAsBCD(Currency value) {
  dataType_ = ftBCD;
  value_ = Variant(value);
}
TBcd TParam::AsFMTBCD() const {
  return IsNull() ? NullBcd : VarToBcd(value_);
}
void TParam::SetAsFMTBCD(const TBcd& value) {
  dataType_ = ftFMTBcd;
  value_ = VarFMTBcdCreate(value);
}
TSQLTimeStamp TParam::AsSQLTimeStamp() const {
  return IsNull() ? NullSQLTimeStamp : VarToSQLTimeStamp(value_);
}
void TParam::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  dataType_ = ftTimeStamp;
  value_ = VarSQLTimeStampCreate(value);
}
void TParam::SetAsMemo(const String& value) {
  dataType_ = ftMemo;
  value_ = Variant(value);
}

void TParam::Assign(const TPersistent* source) {
  if (auto* p = dynamic_cast<const TParam*>(source)) {
    name_ = p->name_;
    dataType_ = p->dataType_;
    paramType_ = p->paramType_;
    value_ = p->value_;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

TParams::TParams(TPersistent* owner) : TOwnedCollection(owner, TParam::StaticClass()) {}

TParam* TParams::Items(Integer index) const {
  return static_cast<TParam*>(TCollection::Items(index));
}

TParam* TParams::CreateParam(TFieldType dataType, const String& name, TParamType paramType) {
  TParam* p = AddParam();
  p->SetName(name);
  p->SetDataType(dataType);
  p->SetParamType(paramType);
  return p;
}

TParam* TParams::FindParam(const String& name) const {
  for (Integer i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name(), name)) return Items(i);
  return nullptr;
}

TParam* TParams::ParamByName(const String& name) const {
  TParam* p = FindParam(name);
  if (!p) DatabaseErrorFmt(res::SParameterNotFound, {name});
  return p;
}

Variant TParams::ParamValues(const String& names) const {
  if (names.find(';') == String::npos) return ParamByName(Trim(names))->Value();
  std::vector<Variant> values;
  for (const String& part : SplitString(names, ';')) {
    String n = Trim(part);
    if (!n.empty()) values.push_back(ParamByName(n)->Value());
  }
  return VarArrayOf(std::span<const Variant>(values));
}

void TParams::SetParamValues(const String& names, const Variant& values) {
  if (names.find(';') == String::npos) {
    ParamByName(Trim(names))->SetValue(values);
    return;
  }
  std::vector<TParam*> list;
  for (const String& part : SplitString(names, ';')) {
    String n = Trim(part);
    if (!n.empty()) list.push_back(ParamByName(n));
  }
  Integer count = VarIsArray(values) ? VarArrayHighBound(values) - VarArrayLowBound(values) + 1 : 1;
  if (count != static_cast<Integer>(list.size()))
    DatabaseErrorFmt(res::SKeyValuesMismatch, {count, static_cast<Integer>(list.size())});
  for (std::size_t i = 0; i < list.size(); ++i)
    list[i]->SetValue(values.GetElement(VarArrayLowBound(values) + static_cast<Integer>(i)));
}

}  // namespace brevant
