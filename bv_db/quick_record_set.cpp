#include "bv_db/quick_record_set.h"

#include <algorithm>
#include <exception>
#include <numeric>

#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/dbconsts.h"
#include "db/field_defs.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TznQRSField, TCollectionItem) {
  p.Property("Name", &TznQRSField::Name, &TznQRSField::SetName);
  p.Property("DataType", &TznQRSField::DataType, &TznQRSField::SetDataType).Default(ftUnknown);
  p.Property("Size", &TznQRSField::Size, &TznQRSField::SetSize).Default(0);
  p.Property("Precision", &TznQRSField::Precision, &TznQRSField::SetPrecision).Default(0);
}

BV_IMPLEMENT_ABSTRACT_CLASS(TznQRSFields, TOwnedCollection)

BV_PUBLISH(TznQuickRecordSet, TPersistent) {
  p.Property("Fields", &TznQuickRecordSet::Fields, &TznQuickRecordSet::SetFields);
  p.Property("SortString", &TznQuickRecordSet::SortString, &TznQuickRecordSet::SetSortString);
}

// ---- field ----

TznQuickRecordSet* TznQRSField::RecordSet() const {
  auto* fields = dynamic_cast<TznQRSFields*>(Collection());
  return fields ? fields->RecordSet() : nullptr;
}

TObjectPtr<TznUniValue> TznQRSField::NewValue() const {
  TObjectPtr<TznUniValue> value(Create<TznUniValue>(false, false));
  value->SetDataType(dataType_);
  value->SetStoreDataType(false);
  return value;
}

void TznQRSField::InsertValue(Integer physicalRow) {
  values_.insert(values_.begin() + physicalRow, NewValue());
}

void TznQRSField::DeleteValue(Integer physicalRow) {
  values_.erase(values_.begin() + physicalRow);
}

void TznQRSField::ResetValues(Integer rows) {
  values_.clear();
  values_.reserve(static_cast<std::size_t>(rows));
  for (Integer i = 0; i < rows; ++i) values_.push_back(NewValue());
}

void TznQRSField::SetName(const String& value) {
  if (value == name_) return;
  if (auto* fields = dynamic_cast<TznQRSFields*>(Collection())) {
    TznQRSField* other = fields->Find(value);
    if (other && other != this) DatabaseErrorFmt(res::SDuplicateFieldName, {value});
  }
  if (TznQuickRecordSet* set = RecordSet()) set->FieldLeft(this);
  name_ = value;
  Changed(false);
}

void TznQRSField::SetDataType(TFieldType value) {
  if (value == dataType_) return;
  dataType_ = value;
  // A value keeps the first type it was given: new values take the new one.
  ResetValues(ValueCount());
  Changed(false);
}

void TznQRSField::SetSize(Integer value) {
  CheckNotNegative(value);
  if (value == size_) return;
  size_ = value;
  Changed(false);
}

void TznQRSField::SetPrecision(Integer value) {
  CheckNotNegative(value);
  if (value == precision_) return;
  precision_ = value;
  Changed(false);
}

void TznQRSField::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TznQRSField*>(source);
  if (!other) {
    TCollectionItem::Assign(source);
    return;
  }
  SetName(other->name_);
  SetDataType(other->dataType_);
  SetSize(other->size_);
  SetPrecision(other->precision_);
}

// ---- fields ----

TznQRSFields::TznQRSFields(TznQuickRecordSet* owner)
    : TOwnedCollection(owner, TznQRSField::StaticClass()), recordSet_(owner) {}

TznQRSField* TznQRSFields::Items(Integer index) const {
  return static_cast<TznQRSField*>(TCollection::Items(index));
}

TznQRSField* TznQRSFields::AddField(const String& name, TFieldType dataType, Integer size) {
  if (Find(name)) DatabaseErrorFmt(res::SDuplicateFieldName, {name});
  TObjectPtr<TznQRSField> field(static_cast<TznQRSField*>(Add()));
  field->SetName(name);
  field->SetDataType(dataType);
  field->SetSize(size);
  return field.release();
}

TznQRSField* TznQRSFields::Find(const String& name) const {
  for (Integer i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name(), name)) return Items(i);
  return nullptr;
}

void TznQRSFields::Update(TCollectionItem*) {
  if (recordSet_ && Count() == 0) recordSet_->ClearRows();
}

void TznQRSFields::Notify(TCollectionItem* item, TCollectionNotification action) {
  if (!recordSet_) return;
  auto* field = static_cast<TznQRSField*>(item);
  if (action == cnAdded)
    recordSet_->FieldAdded(field);
  else if (action == cnExtracting)
    recordSet_->FieldLeft(field);
}

// ---- record set ----

TznQuickRecordSet::TznQuickRecordSet() : fields_(Create<TznQRSFields>(this)) {}

TznQuickRecordSet::~TznQuickRecordSet() {
  // The fields go first, while the order and sort state they report to
  // still exist; nothing is re-sorted on the way.
  keys_.clear();
  updateLock_ = 1;
  fields_.reset();
}

void TznQuickRecordSet::SetFields(TznQRSFields* value) {
  fields_->Clear();
  if (value) fields_->Assign(value);
}

TznQRSField* TznQuickRecordSet::FieldByName(const String& name) const {
  TznQRSField* field = FindField(name);
  if (!field) throw EBVError(res::SFieldNotFound, {name});
  return field;
}

Integer TznQuickRecordSet::PhysicalRow(Integer index) const {
  CheckIndex(index, rowCount_);
  return order_[static_cast<std::size_t>(index)];
}

TznUniValue* TznQuickRecordSet::ValueAt(const TznQRSField* field, Integer index) const {
  return field->Values(PhysicalRow(index));
}

TznUniValue* TznQuickRecordSet::ValueAt(const String& fieldName, Integer index) const {
  return ValueAt(FieldByName(fieldName), index);
}

Integer TznQuickRecordSet::Append() {
  Insert(rowCount_);
  return rowCount_ - 1;
}

void TznQuickRecordSet::Insert(Integer index) {
  if (index < 0 || index > rowCount_) throw EBVError(bvres::SIndexOutOfRange, {index, rowCount_});
  // The new row goes physically where the row it displaces lies, so that
  // an unsorted set keeps physical and logical order alike.
  const Integer physical = index < rowCount_ ? order_[static_cast<std::size_t>(index)] : rowCount_;
  for (Integer i = 0; i < fields_->Count(); ++i) fields_->Items(i)->InsertValue(physical);
  for (Integer& row : order_)
    if (row >= physical) ++row;
  order_.insert(order_.begin() + index, physical);
  ++rowCount_;
}

void TznQuickRecordSet::Delete(Integer index) {
  const Integer physical = PhysicalRow(index);
  for (Integer i = 0; i < fields_->Count(); ++i) fields_->Items(i)->DeleteValue(physical);
  order_.erase(order_.begin() + index);
  for (Integer& row : order_)
    if (row > physical) --row;
  --rowCount_;
  Resort();
}

void TznQuickRecordSet::EndUpdate() {
  if (updateLock_ > 0 && --updateLock_ == 0) Resort();
}

bool TznQuickRecordSet::RowLess(Integer a, Integer b) const {
  for (const TSortKey& key : keys_) {
    const TznUniValue* va = key.Field->Values(a);
    const TznUniValue* vb = key.Field->Values(b);
    Integer result = key.Descending ? vb->Compare(*va, true, true) : va->Compare(*vb, true, true);
    if (result != 0) return result < 0;
  }
  return false;
}

void TznQuickRecordSet::Resort() {
  if (updateLock_ > 0) return;
  order_.resize(static_cast<std::size_t>(rowCount_));
  std::iota(order_.begin(), order_.end(), 0);
  if (keys_.empty()) return;
  std::sort(order_.begin(), order_.end(), [this](Integer a, Integer b) { return RowLess(a, b); });
}

std::vector<TznQuickRecordSet::TSortKey> TznQuickRecordSet::ParseSort(const String& text) const {
  std::vector<TSortKey> keys;
  if (text.empty()) return keys;
  std::size_t start = 0;
  while (start <= text.size()) {
    std::size_t comma = text.find(',', start);
    if (comma == String::npos) comma = text.size();
    const String part = Trim(text.substr(start, comma - start));
    String name = LowerCase(part);
    bool descending = false;
    if (name.size() > 4 && EndsText(" asc", name)) {
      name.resize(name.size() - 4);
    } else if (name.size() > 5 && EndsText(" desc", name)) {
      name.resize(name.size() - 5);
      descending = true;
    }
    keys.push_back({FieldByName(Trim(name)), descending, part});
    start = comma + 1;
  }
  return keys;
}

void TznQuickRecordSet::SetSortString(const String& value) {
  const String text = Trim(value);
  if (text == sortString_) return;
  keys_ = ParseSort(text);  // raises before anything is stored
  sortString_ = text;
  Resort();
}

void TznQuickRecordSet::ClearRows() {
  for (Integer i = 0; i < fields_->Count(); ++i) fields_->Items(i)->ResetValues(0);
  order_.clear();
  rowCount_ = 0;
}

void TznQuickRecordSet::FieldAdded(TznQRSField* field) {
  field->ResetValues(rowCount_);
}

void TznQuickRecordSet::FieldLeft(TznQRSField* field) {
  const auto gone = [field](const TSortKey& key) { return key.Field == field; };
  if (std::none_of(keys_.begin(), keys_.end(), gone)) return;
  std::erase_if(keys_, gone);
  sortString_.clear();
  for (const TSortKey& key : keys_) sortString_ += (sortString_.empty() ? "" : ",") + key.Text;
  Resort();
}

void TznQuickRecordSet::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TznQuickRecordSet*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  fields_->Clear();
  TznQRSFields* from = other->Fields();
  for (Integer i = 0; i < from->Count(); ++i) {
    TznQRSField* f = from->Items(i);
    fields_->AddField(f->Name(), f->DataType(), f->Size())->SetPrecision(f->Precision());
  }
  BeginUpdate();
  struct TEnd {
    TznQuickRecordSet* set;
    ~TEnd() noexcept(false) { set->EndUpdate(); }
  } end{this};
  for (Integer row = 0; row < other->RowCount(); ++row) {
    const Integer index = Append();
    for (Integer i = 0; i < from->Count(); ++i)
      ValueAt(fields_->Items(i), index)->Assign(other->ValueAt(from->Items(i), row));
  }
}

String TznQuickRecordSet::BuildFieldDefs(TFieldDefs* defs) const {
  TCollectionUpdate update(defs);
  defs->Clear();
  String names;
  for (Integer i = 0; i < fields_->Count(); ++i) {
    TznQRSField* f = fields_->Items(i);
    defs->Add(f->Name(), f->DataType(), f->Size())->SetPrecision(f->Precision());
    names += (names.empty() ? "" : ";") + f->Name();
  }
  return names;
}

void TznQuickRecordSet::RecordChanged(TUpdateKind updateKind, const String& changedFields,
                                      Integer index) {
  if (updateKind != ukDelete) Resort();
  if (OnRecordChanged) OnRecordChanged(this, updateKind, changedFields, index);
}

// ---- current record ----

void SaveCurrentRecord(TDataSet* dataSet, TznCurrRecInfo& info) {
  info.Bookmark = dataSet->Bookmark();
  info.ActiveRecord = dataSet->ActiveRecord();
}

void RestoreCurrentRecord(TDataSet* dataSet, const TznCurrRecInfo& info) {
  if (info.Bookmark.empty() || !dataSet->BookmarkValid(info.Bookmark)) return;
  dataSet->SetBookmark(info.Bookmark);
  const Integer a = info.ActiveRecord;
  const Integer c = dataSet->ActiveRecord();
  // Two opposite moves make the window scroll so that the record ends in
  // row A again; the way back undoes exactly what the first move covered.
  Integer moved = 0;
  if (a > c)
    moved = dataSet->MoveBy(-a);
  else if (a < c)
    moved = dataSet->MoveBy(dataSet->BufferCount() - 1 - a);
  if (moved != 0) dataSet->MoveBy(-moved);
}

TznCurrentRecordKeeper::TznCurrentRecordKeeper(TDataSet* dataSet)
    : dataSet_(dataSet), exceptions_(std::uncaught_exceptions()) {
  SaveCurrentRecord(dataSet_, info_);
}

TznCurrentRecordKeeper::~TznCurrentRecordKeeper() noexcept(false) {
  if (std::uncaught_exceptions() == exceptions_) {
    RestoreCurrentRecord(dataSet_, info_);
    return;
  }
  // The scan failed: its error is the one that travels on. A failure to
  // restore is dropped here because a second exception thrown while the
  // first unwinds would end the process; a guard could not drop it.
  try {
    RestoreCurrentRecord(dataSet_, info_);
  } catch (...) {
  }
}

}  // namespace brevant
