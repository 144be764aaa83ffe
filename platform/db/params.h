// TParam / TParams: named, typed values (query and procedure parameters).
// Setting a typed view also sets DataType (AsInteger makes ftInteger, AsBCD
// ftBCD, ...); Value keeps the variant as given.
#pragma once

#include "classes/collection.h"
#include "db/db_types.h"
#include "rtl/bcd.h"
#include "rtl/sqltimestamp.h"
#include "rtl/variant.h"

namespace brevant {

class TParam : public TCollectionItem {
  BV_CLASS(TParam, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;

  const String& Name() const { return name_; }
  void SetName(const String& value);
  TFieldType DataType() const { return dataType_; }
  // Converts a held value to the new type (Null when it cannot).
  void SetDataType(TFieldType value);
  TParamType ParamType() const { return paramType_; }
  void SetParamType(TParamType value) { paramType_ = value; }
  bool IsNull() const { return VarIsNull(value_) || VarIsEmpty(value_); }
  void Clear() { value_ = Null(); }

  const Variant& Value() const { return value_; }
  // Keeps the value; an unknown DataType takes the variant's type.
  void SetValue(const Variant& value);
  String AsString() const;
  void SetAsString(const String& value);
  Integer AsInteger() const;
  void SetAsInteger(Integer value);
  Int64 AsLargeInt() const;
  void SetAsLargeInt(Int64 value);
  double AsFloat() const;
  void SetAsFloat(double value);
  bool AsBoolean() const;
  void SetAsBoolean(bool value);
  TDateTime AsDateTime() const;
  void SetAsDateTime(TDateTime value);
  Currency AsCurrency() const;
  void SetAsCurrency(Currency value);
  // A currency held as ftBCD.
  Currency AsBCD() const { return AsCurrency(); }
  void SetAsBCD(Currency value);
  TBcd AsFMTBCD() const;
  void SetAsFMTBCD(const TBcd& value);
  TSQLTimeStamp AsSQLTimeStamp() const;
  void SetAsSQLTimeStamp(const TSQLTimeStamp& value);
  String AsMemo() const { return AsString(); }
  void SetAsMemo(const String& value);

  String DisplayName() const override { return name_; }
  void Assign(const TPersistent* source) override;

 private:
  String name_;
  TFieldType dataType_ = ftUnknown;
  TParamType paramType_ = ptUnknown;
  Variant value_ = Null();
};

class TParams : public TOwnedCollection {
  BV_CLASS(TParams, TOwnedCollection)
 public:
  explicit TParams(TPersistent* owner = nullptr);
  TParam* Items(Integer index) const;
  TParam* operator[](Integer index) const { return Items(index); }
  TParam* AddParam() { return static_cast<TParam*>(TCollection::Add()); }
  TParam* CreateParam(TFieldType dataType, const String& name, TParamType paramType);
  // nullptr when absent (names compare ignoring case).
  TParam* FindParam(const String& name) const;
  // Raises EDatabaseError SParameterNotFound when absent.
  TParam* ParamByName(const String& name) const;
  // One name gives a scalar, a semicolon list a variant array.
  Variant ParamValues(const String& names) const;
  void SetParamValues(const String& names, const Variant& values);
};

}  // namespace brevant
