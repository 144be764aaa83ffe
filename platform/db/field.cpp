#include "db/field.h"

#include <algorithm>
#include <cstring>

#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/dbconsts.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH_ABSTRACT(TField, TComponent) {
  p.Property("Alignment", &TField::Alignment, &TField::SetAlignment).Default(taLeftJustify);
  p.Property("DisplayLabel", &TField::DisplayLabel, &TField::SetDisplayLabel);
  p.Property("DisplayWidth", &TField::DisplayWidth, &TField::SetDisplayWidth).NoDefault();
  p.Property("EditMask", &TField::EditMask, &TField::SetEditMask);
  p.Property("FieldKind", &TField::FieldKind, &TField::SetFieldKind).Default(fkData);
  p.Property("FieldName", &TField::FieldName, &TField::SetFieldName);
  p.Property("KeyFields", &TField::KeyFields, &TField::SetKeyFields);
  p.Property("LookupCache", &TField::LookupCache, &TField::SetLookupCache).Default(false);
  p.Property("LookupDataSet", &TField::LookupDataSet, &TField::SetLookupDataSet);
  p.Property("LookupKeyFields", &TField::LookupKeyFields, &TField::SetLookupKeyFields);
  p.Property("LookupResultField", &TField::LookupResultField, &TField::SetLookupResultField);
  p.Property("ReadOnly", &TField::ReadOnly, &TField::SetReadOnly).Default(false);
  p.Property("Required", &TField::Required, &TField::SetRequired).Default(false);
  p.Property("Size", &TField::Size, &TField::SetSize).Default(0);
  p.Property("Visible", &TField::Visible, &TField::SetVisible).Default(true);
  p.Event("OnChange", &TField::OnChange, "TFieldNotifyEvent");
  p.Event("OnGetText", &TField::OnGetText, "TFieldGetTextEvent");
  p.Event("OnSetText", &TField::OnSetText, "TFieldSetTextEvent");
  p.Event("OnValidate", &TField::OnValidate, "TFieldNotifyEvent");
}

namespace {

// Joins key values into the text that identifies them in a lookup list.
String LookupKeyText(const Variant& key) {
  if (!VarIsArray(key)) return VarToStr(key);
  String s;
  for (Integer i = VarArrayLowBound(key); i <= VarArrayHighBound(key); ++i) {
    if (i > VarArrayLowBound(key)) s += '\x1F';
    s += VarToStr(key.GetElement(i));
  }
  return s;
}

}  // namespace

TField::TField(TComponent* owner) : TComponent(owner) {}

TField::~TField() = default;

void TField::BeforeDestruction() {
  // A field freed while its dataset is open takes the dataset down first:
  // the record layout depends on it.
  if (dataSet_) {
    TDataSet* ds = dataSet_;
    if (ds->Active()) ds->Close();
    ds->Fields()->Remove(this);
    dataSet_ = nullptr;
  }
  TComponent::BeforeDestruction();
}

// ---- binding -----------------------------------------------------------------

void TField::CheckInactive() const {
  if (dataSet_) dataSet_->CheckInactive();
}

void TField::SetDataSet(TDataSet* dataSet) {
  if (dataSet == dataSet_) return;
  CheckInactive();
  if (dataSet) {
    dataSet->CheckInactive();
    if (!fieldName_.empty() && dataSet->FindField(fieldName_))
      DatabaseErrorFmt(res::SDuplicateFieldName, {fieldName_});
  }
  if (dataSet_) dataSet_->Fields()->Remove(this);
  dataSet_ = dataSet;
  fieldNo_ = 0;
  if (dataSet_) dataSet_->Fields()->Add(this);
}

void TField::SetFieldName(const String& value) {
  if (value == fieldName_) return;
  if (dataSet_) {
    dataSet_->CheckInactive();
    TField* other = dataSet_->FindField(value);
    if (other && other != this) DatabaseErrorFmt(res::SDuplicateFieldName, {value});
  }
  fieldName_ = value;
}

Integer TField::Index() const {
  return dataSet_ ? dataSet_->Fields()->IndexOf(this) : -1;
}

void TField::SetIndex(Integer value) {
  if (!dataSet_) return;
  dataSet_->Fields()->Move(this, value);
  dataSet_->FieldLayoutChanged(true);
}

void TField::SetFieldKind(TFieldKind value) {
  if (value == fieldKind_) return;
  CheckInactive();
  fieldKind_ = value;
}

void TField::SetSize(Integer value) {
  CheckInactive();
  CheckSize(value);
  size_ = value;
}

void TField::CheckSize(Integer value) const {
  if (value != 0) DatabaseErrorFmt(res::SInvalidFieldSize, {value, DisplayName()});
}

// ---- presentation ------------------------------------------------------------

void TField::SetDisplayLabel(const String& value) {
  String v = value == fieldName_ ? String() : value;
  if (v == displayLabel_) return;
  displayLabel_ = v;
  if (dataSet_) dataSet_->FieldLayoutChanged(true);
}

void TField::SetDisplayWidth(Integer value) {
  if (value < 0) value = 0;
  if (value == displayWidth_) return;
  displayWidth_ = value;
  if (dataSet_) dataSet_->FieldLayoutChanged(true);
}

void TField::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  if (dataSet_) dataSet_->FieldLayoutChanged(false);
}

void TField::SetEditMask(const String& value) {
  if (value == editMask_) return;
  editMask_ = value;
  if (dataSet_) dataSet_->FieldLayoutChanged(false);
}

void TField::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  if (dataSet_) dataSet_->FieldLayoutChanged(true);
}

void TField::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  if (dataSet_) dataSet_->FieldLayoutChanged(false);
}

bool TField::CanModify() const {
  if (readOnly_ || !dataSet_) return false;
  if (fieldKind_ == fkData) return dataSet_->CanModify();
  return dataSet_->State() == dsCalcFields;
}

bool TField::IsValidChar(char32_t ch) const {
  (void)ch;
  return true;
}

String TField::DisplayText() const {
  String text;
  if (OnGetText)
    OnGetText(const_cast<TField*>(this), text, true);
  else
    GetText(text, true);
  return text;
}

String TField::Text() const {
  String text;
  if (OnGetText)
    OnGetText(const_cast<TField*>(this), text, false);
  else
    GetText(text, false);
  return text;
}

void TField::SetText(const String& value) {
  if (OnSetText)
    OnSetText(this, value);
  else
    SetAsString(value);
}

void TField::GetText(String& text, bool displayText) const {
  (void)displayText;
  text = AsString();
}

// ---- values --------------------------------------------------------------------

bool TField::IsNull() const {
  return !GetData(nullptr);
}

bool TField::GetData(void* buffer) const {
  if (validating_) {
    if (!validateBuffer_) return false;
    if (buffer) {
      if (dataType_ == ftVariant)
        *static_cast<Variant*>(buffer) = *static_cast<const Variant*>(validateBuffer_);
      else
        std::memcpy(buffer, validateBuffer_, static_cast<std::size_t>(DataSize()));
    }
    return true;
  }
  if (!dataSet_) return false;
  if (fieldKind_ == fkData) return dataSet_->GetFieldData(const_cast<TField*>(this), buffer);
  return dataSet_->GetCalcFieldData(this, buffer);
}

void TField::SetData(const void* buffer) {
  if (!dataSet_) DatabaseErrorFmt(res::SNoDataSet, {DisplayName()});
  if (fieldKind_ == fkData) {
    dataSet_->CheckFieldWrite(this);
    Validate(buffer);
    dataSet_->SetFieldData(this, buffer);
  } else {
    dataSet_->SetCalcFieldData(this, buffer);
  }
}

void TField::Validate(const void* buffer) {
  if (!OnValidate) return;
  TTemporaryChange validating(validating_, true);
  TTemporaryChange<const void*> newValue(validateBuffer_, buffer);
  OnValidate(this);
}

Byte* TField::Scratch(std::size_t size) {
  thread_local std::vector<Byte> buffer;
  if (buffer.size() < size + 2) buffer.resize(size + 2);
  std::fill_n(buffer.begin(), size + 2, Byte(0));
  return buffer.data();
}

void TField::AccessError(const char* typeName) const {
  DatabaseErrorFmt(res::SFieldAccessError, {DisplayName(), typeName});
}

void TField::RangeError(const String& value, const String& min, const String& max) const {
  DatabaseErrorFmt(res::SFieldRangeError, {value, DisplayName(), min, max});
}

String TField::AsString() const {
  AccessError("String");
}
void TField::SetAsString(const String& value) {
  (void)value;
  AccessError("String");
}
WideString TField::AsWideString() const {
  return Utf8ToWide(AsString());
}
void TField::SetAsWideString(const WideString& value) {
  SetAsString(WideToUtf8(value));
}
Integer TField::AsInteger() const {
  AccessError("Integer");
}
void TField::SetAsInteger(Integer value) {
  (void)value;
  AccessError("Integer");
}
Int64 TField::AsLargeInt() const {
  AccessError("LargeInt");
}
void TField::SetAsLargeInt(Int64 value) {
  (void)value;
  AccessError("LargeInt");
}
double TField::AsFloat() const {
  AccessError("Float");
}
void TField::SetAsFloat(double value) {
  (void)value;
  AccessError("Float");
}
bool TField::AsBoolean() const {
  AccessError("Boolean");
}
void TField::SetAsBoolean(bool value) {
  (void)value;
  AccessError("Boolean");
}
TDateTime TField::AsDateTime() const {
  AccessError("DateTime");
}
void TField::SetAsDateTime(TDateTime value) {
  (void)value;
  AccessError("DateTime");
}
Currency TField::AsCurrency() const {
  AccessError("Currency");
}
void TField::SetAsCurrency(Currency value) {
  (void)value;
  AccessError("Currency");
}
TBcd TField::AsBCD() const {
  AccessError("BCD");
}
void TField::SetAsBCD(const TBcd& value) {
  (void)value;
  AccessError("BCD");
}
TSQLTimeStamp TField::AsSQLTimeStamp() const {
  AccessError("SQLTimeStamp");
}
void TField::SetAsSQLTimeStamp(const TSQLTimeStamp& value) {
  (void)value;
  AccessError("SQLTimeStamp");
}
Variant TField::GetAsVariant() const {
  AccessError("Variant");
}
void TField::SetVarValue(const Variant& value) {
  (void)value;
  AccessError("Variant");
}

Variant TField::AsVariant() const {
  return GetAsVariant();
}

void TField::SetAsVariant(const Variant& value) {
  if (VarIsNull(value) || VarIsEmpty(value))
    Clear();
  else
    SetVarValue(value);
}

void TField::AssignValue(const TField* source) {
  if (!source || source->IsNull())
    Clear();
  else
    SetAsVariant(source->AsVariant());
}

// ---- lookup fields -------------------------------------------------------------

void TField::SetLookupDataSet(TDataSet* value) {
  if (value == lookupDataSet_) return;
  CheckInactive();
  if (lookupDataSet_) lookupDataSet_->RemoveFreeNotification(this);
  lookupDataSet_ = value;
  if (lookupDataSet_) lookupDataSet_->FreeNotification(this);
  lookupListValid_ = false;
}

void TField::SetLookupKeyFields(const String& value) {
  CheckInactive();
  lookupKeyFields_ = value;
  lookupListValid_ = false;
}

void TField::SetLookupResultField(const String& value) {
  CheckInactive();
  lookupResultField_ = value;
  lookupListValid_ = false;
}

void TField::SetKeyFields(const String& value) {
  CheckInactive();
  keyFields_ = value;
}

void TField::SetLookupCache(bool value) {
  lookupCache_ = value;
  lookupListValid_ = false;
  lookupList_.reset();
}

void TField::RefreshLookupList() {
  lookupListValid_ = false;
  lookupList_.reset();
  if (!lookupCache_ || !lookupDataSet_ || !lookupDataSet_->Active()) return;
  auto list = std::make_unique<std::map<String, Variant>>();
  std::vector<TField*> keys;
  lookupDataSet_->GetFieldList(keys, lookupKeyFields_);
  TField* result = lookupDataSet_->FieldByName(lookupResultField_);
  lookupDataSet_->ScanRecords([&] {
    String key;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (i) key += '\x1F';
      key += VarToStr(keys[i]->AsVariant());
    }
    list->emplace(key, result->AsVariant());
    return false;
  });
  lookupList_ = std::move(list);
  lookupListValid_ = true;
}

void TField::CalcLookupValue() {
  if (!lookupDataSet_ || !lookupDataSet_->Active() || keyFields_.empty() ||
      lookupKeyFields_.empty() || lookupResultField_.empty())
    return;
  std::vector<TField*> keys;
  dataSet_->GetFieldList(keys, keyFields_);
  Variant key;
  if (keys.size() == 1) {
    if (keys[0]->IsNull()) return;
    key = keys[0]->AsVariant();
  } else {
    std::vector<Variant> values;
    for (TField* f : keys) {
      if (f->IsNull()) return;
      values.push_back(f->AsVariant());
    }
    key = VarArrayOf(std::span<const Variant>(values));
  }
  Variant value;
  if (lookupCache_) {
    if (!lookupListValid_) RefreshLookupList();
    if (!lookupList_) return;
    auto it = lookupList_->find(LookupKeyText(key));
    if (it == lookupList_->end()) return;
    value = it->second;
  } else {
    value = lookupDataSet_->Lookup(lookupKeyFields_, key, lookupResultField_);
  }
  SetAsVariant(value);
}

void TField::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == lookupDataSet_) {
    lookupDataSet_ = nullptr;
    lookupList_.reset();
    lookupListValid_ = false;
  }
}

void TField::FocusControl() {
  if (!dataSet_ || !dataSet_->Active()) return;
  TField* field = this;
  dataSet_->DataEvent(deFocusControl, reinterpret_cast<intptr_t>(&field));
}

TComponent* TField::GetParentComponent() const {
  return dataSet_;
}

void TField::SetParentComponent(TComponent* parent) {
  if (auto* ds = dynamic_cast<TDataSet*>(parent)) SetDataSet(ds);
}

// ---- TFields -------------------------------------------------------------------

TField* TFields::Fields(Integer index) const {
  if (index < 0 || index >= Count()) DatabaseErrorFmt(res::SFieldIndexError, {index});
  return list_[static_cast<std::size_t>(index)];
}

TField* TFields::FindField(const String& name) const {
  for (TField* f : list_)
    if (SameText(f->FieldName(), name)) return f;
  return nullptr;
}

TField* TFields::FieldByName(const String& name) const {
  TField* f = FindField(name);
  if (!f) DatabaseErrorFmt(res::SFieldNotFound, {name});
  return f;
}

TField* TFields::FieldByNumber(Integer fieldNo) const {
  for (TField* f : list_)
    if (f->FieldNo() == fieldNo && f->FieldKind() == fkData) return f;
  return nullptr;
}

Integer TFields::IndexOf(const TField* field) const {
  auto it = std::find(list_.begin(), list_.end(), field);
  return it == list_.end() ? -1 : static_cast<Integer>(it - list_.begin());
}

void TFields::Add(TField* field) {
  list_.push_back(field);
}

void TFields::Remove(TField* field) {
  auto it = std::find(list_.begin(), list_.end(), field);
  if (it != list_.end()) list_.erase(it);
}

void TFields::Move(TField* field, Integer index) {
  Integer cur = IndexOf(field);
  if (cur < 0) return;
  index = std::clamp(index, 0, Count() - 1);
  if (index == cur) return;
  list_.erase(list_.begin() + cur);
  list_.insert(list_.begin() + index, field);
}

void TFields::Clear() {
  while (!list_.empty()) {
    TField* f = list_.back();
    list_.pop_back();
    f->dataSet_ = nullptr;
    f->Free();
  }
}

}  // namespace brevant
