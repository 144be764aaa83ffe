#include "db/field_defs.h"

#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/dbconsts.h"
#include "db/field_types.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TFieldDef, TCollectionItem) {
  p.Property("Name", &TFieldDef::Name, &TFieldDef::SetName);
  p.Property("Attributes", &TFieldDef::Attributes, &TFieldDef::SetAttributes).Default(0);
  p.Property("DataType", &TFieldDef::DataType, &TFieldDef::SetDataType).Default(ftUnknown);
  p.Property("Precision", &TFieldDef::Precision, &TFieldDef::SetPrecision).Default(0);
  p.Property("Size", &TFieldDef::Size, &TFieldDef::SetSize).Default(0);
}

BV_IMPLEMENT_CLASS(TFieldDefs, TOwnedCollection)

void TFieldDef::SetName(const String& value) {
  if (value == name_) return;
  if (auto* defs = dynamic_cast<TFieldDefs*>(Collection())) {
    TFieldDef* other = defs->Find(value);
    if (other && other != this) DatabaseErrorFmt(res::SDuplicateFieldName, {value});
  }
  name_ = value;
  Changed(false);
}

void TFieldDef::SetDataType(TFieldType value) {
  if (value == dataType_) return;
  dataType_ = value;
  Changed(false);
}

void TFieldDef::SetSize(Integer value) {
  if (value < 0) DatabaseErrorFmt(res::SInvalidFieldSize, {value, name_});
  if (value == size_) return;
  size_ = value;
  Changed(false);
}

void TFieldDef::SetPrecision(Integer value) {
  if (value < 0) DatabaseErrorFmt(res::SInvalidFieldSize, {value, name_});
  if (value == precision_) return;
  precision_ = value;
  Changed(false);
}

void TFieldDef::SetAttributes(TFieldAttributes value) {
  if (value == attributes_) return;
  attributes_ = value;
  Changed(false);
}

void TFieldDef::SetRequired(bool value) {
  SetAttributes(value ? attributes_ + faRequired : attributes_ - faRequired);
}

TClass TFieldDef::FieldClass() const {
  switch (dataType_) {
    case ftString:
    case ftFixedChar:
      return TStringField::StaticClass();
    case ftGuid:
      return TGuidField::StaticClass();
    case ftWideString:
      return TWideStringField::StaticClass();
    case ftSmallint:
      return TSmallintField::StaticClass();
    case ftInteger:
      return TIntegerField::StaticClass();
    case ftWord:
      return TWordField::StaticClass();
    case ftAutoInc:
      return TAutoIncField::StaticClass();
    case ftLargeint:
      return TLargeintField::StaticClass();
    case ftBoolean:
      return TBooleanField::StaticClass();
    case ftFloat:
      return TFloatField::StaticClass();
    case ftCurrency:
      return TCurrencyField::StaticClass();
    case ftBCD:
      return TBCDField::StaticClass();
    case ftFMTBcd:
      return TFMTBCDField::StaticClass();
    case ftDate:
      return TDateField::StaticClass();
    case ftTime:
      return TTimeField::StaticClass();
    case ftDateTime:
      return TDateTimeField::StaticClass();
    case ftTimeStamp:
      return TSQLTimeStampField::StaticClass();
    case ftBytes:
      return TBytesField::StaticClass();
    case ftVarBytes:
      return TVarBytesField::StaticClass();
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
      return TMemoField::StaticClass();
    case ftGraphic:
      return TGraphicField::StaticClass();
    case ftBlob:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
      return TBlobField::StaticClass();
    case ftVariant:
      return TVariantField::StaticClass();
    default:
      return nullptr;
  }
}

TField* TFieldDef::CreateField(TComponent* owner, TDataSet* dataSet) {
  if (dataType_ == ftUnknown) return nullptr;
  TClass cls = FieldClass();
  if (!cls) DatabaseErrorFmt(res::SUnknownFieldType, {name_, FieldTypeName(dataType_)});
  TObjectPtr<TField> field(static_cast<TField*>(cls->NewInstance(owner)));
  // Classes that cover several types take this definition's.
  field->SetDataType(dataType_);
  if (auto* f = dynamic_cast<TFloatField*>(field.get()); f && precision_ > 0)
    f->SetPrecision(precision_);
  if (auto* f = dynamic_cast<TBCDField*>(field.get()); f && precision_ > 0)
    f->SetPrecision(precision_);
  if (auto* f = dynamic_cast<TFMTBCDField*>(field.get()); f && precision_ > 0)
    f->SetPrecision(precision_);
  if (size_ > 0 || dataType_ == ftBCD || dataType_ == ftFMTBcd) field->SetSize(size_);
  field->SetFieldName(name_);
  field->SetRequired(Required());
  field->SetReadOnly(ReadOnly());
  if (attributes_.Contains(faHiddenCol)) field->SetVisible(false);
  field->SetDataSet(dataSet);
  return field.release();
}

void TFieldDef::Assign(const TPersistent* source) {
  if (auto* d = dynamic_cast<const TFieldDef*>(source)) {
    name_ = d->name_;
    dataType_ = d->dataType_;
    size_ = d->size_;
    precision_ = d->precision_;
    attributes_ = d->attributes_;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

TFieldDefs::TFieldDefs(TPersistent* owner) : TOwnedCollection(owner, TFieldDef::StaticClass()) {}

TFieldDef* TFieldDefs::Items(Integer index) const {
  return static_cast<TFieldDef*>(TCollection::Items(index));
}

TFieldDef* TFieldDefs::Add(const String& name, TFieldType dataType, Integer size, bool required) {
  if (Find(name)) DatabaseErrorFmt(res::SDuplicateFieldName, {name});
  if (size < 0) DatabaseErrorFmt(res::SInvalidFieldSize, {size, name});
  TCollectionUpdate update(this);
  TFieldDef* def = AddFieldDef();
  def->name_ = name;
  def->dataType_ = dataType;
  def->size_ = size;
  if (required) def->attributes_ += faRequired;
  return def;
}

Integer TFieldDefs::IndexOf(const String& name) const {
  for (Integer i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name(), name)) return i;
  return -1;
}

TFieldDef* TFieldDefs::Find(const String& name) const {
  Integer i = IndexOf(name);
  return i < 0 ? nullptr : Items(i);
}

TFieldDef* TFieldDefs::FieldDefByName(const String& name) const {
  TFieldDef* def = Find(name);
  if (!def) DatabaseErrorFmt(res::SFieldNotFound, {name});
  return def;
}

void TFieldDefs::Update(TCollectionItem* item) {
  (void)item;
  updated_ = true;
}

}  // namespace brevant
