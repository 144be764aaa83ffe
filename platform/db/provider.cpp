#include "db/provider.h"

#include "classes/rtti_builder.h"
#include "db/field.h"
#include "db/field_defs.h"
#include "db/sqlite_table.h"
#include "rtl/strutils.h"

namespace brevant {

BV_PUBLISH(TDataSetProvider, TComponent) {
  p.Property("DataSet", &TDataSetProvider::DataSet, &TDataSetProvider::SetDataSet);
  p.Property("KeyFields", &TDataSetProvider::KeyFields, &TDataSetProvider::SetKeyFields);
}

namespace {

constexpr const char* SProviderNoDataSet = "Provider '%s' has no dataset";
constexpr const char* SProviderFieldChanged =
    "Field '%s' of the record in '%s' was changed by another user";
constexpr const char* SProviderRecordGone =
    "Record not found in '%s': it was changed or deleted by another user";

std::vector<String> SplitNames(const String& list) {
  std::vector<String> names;
  std::size_t start = 0;
  while (start <= list.size()) {
    std::size_t end = list.find(';', start);
    if (end == String::npos) end = list.size();
    String n = Trim(list.substr(start, end - start));
    if (!n.empty()) names.push_back(n);
    start = end + 1;
  }
  return names;
}

Variant ReadValue(const TField* f) {
  if (f->IsNull()) return Variant::Null();
  if (f->IsBlob()) return Variant(f->AsString());
  return f->Value();
}

// Equal values (not their display texts); null equals only null.
bool SameValue(const Variant& a, const Variant& b) {
  bool an = VarIsNull(a) || VarIsEmpty(a), bn = VarIsNull(b) || VarIsEmpty(b);
  if (an || bn) return an == bn;
  return a == b;
}

void WriteValue(TField* f, const Variant& v) {
  if (VarIsNull(v) || VarIsEmpty(v))
    f->Clear();
  else if (f->IsBlob())
    f->SetAsString(VarToStr(v));
  else
    f->SetValue(v);
}

}  // namespace

TDataSetProvider::TDataSetProvider(TComponent* owner) : TComponent(owner) {}

// The link to the dataset is undone by the free notifications (a sibling
// dataset is destroyed with the owner): nothing to do here.
TDataSetProvider::~TDataSetProvider() = default;

void TDataSetProvider::SetDataSet(TDataSet* value) {
  if (value == dataSet_) return;
  if (dataSet_) RemoveFreeNotification(dataSet_);
  dataSet_ = value;
  if (dataSet_) dataSet_->FreeNotification(this);
}

void TDataSetProvider::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == dataSet_) dataSet_ = nullptr;
}

TDataSet* TDataSetProvider::Source() {
  if (!dataSet_) DatabaseErrorFmt(SProviderNoDataSet, {Name()});
  if (!dataSet_->Active()) dataSet_->Open();
  return dataSet_;
}

String TDataSetProvider::ResolvedKeyFields() {
  if (!keyFields_.empty()) return keyFields_;
  TDataSet* src = Source();
  if (auto* t = dynamic_cast<TSqliteTable*>(src))
    if (!t->KeyFields().empty()) return t->KeyFields();
  String all;
  for (Integer i = 0; i < src->FieldDefs()->Count(); ++i) {
    TFieldDef* d = src->FieldDefs()->Items(i);
    if (IsBlobFieldType(d->DataType())) continue;
    if (!all.empty()) all += ';';
    all += d->Name();
  }
  return all;
}

void TDataSetProvider::GetFieldDefs(TFieldDefs* target) {
  TDataSet* src = Source();
  TCollectionUpdate update(target);
  target->Clear();
  for (Integer i = 0; i < src->FieldDefs()->Count(); ++i) {
    TFieldDef* d = src->FieldDefs()->Items(i);
    TFieldDef* c = target->Add(d->Name(), d->DataType(), d->Size(), d->Required());
    c->SetPrecision(d->Precision());
  }
}

void TDataSetProvider::GetRows(std::vector<std::vector<Variant>>& rows) {
  TDataSet* src = Source();
  src->CheckBrowseMode();
  std::vector<TField*> fields;
  for (Integer i = 0; i < src->FieldDefs()->Count(); ++i)
    fields.push_back(src->FindField(src->FieldDefs()->Items(i)->Name()));
  rows.clear();
  src->ScanRecords([&] {
    std::vector<Variant> row;
    row.reserve(fields.size());
    for (TField* f : fields) row.push_back(f ? ReadValue(f) : Variant::Null());
    rows.push_back(std::move(row));
    return false;
  });
}

const TMemDataSet* TDataSetProvider::SourceStore() {
  TDataSet* src = Source();
  auto* store = dynamic_cast<TMemDataSet*>(src);
  if (!store || !store->ScansStoreOrder()) return nullptr;
  src->CheckBrowseMode();
  for (Integer i = 0; i < src->FieldDefs()->Count(); ++i) {
    TField* f = src->FindField(src->FieldDefs()->Items(i)->Name());
    if (!f || f->FieldKind() != fkData) return nullptr;
  }
  return store;
}

void TDataSetProvider::RefreshSource() {
  if (dataSet_ && dataSet_->Active() && dataSet_->State() == dsBrowse) dataSet_->Refresh();
}

void TDataSetProvider::LocateKey(const TUpdateRecord& update, const std::vector<String>& keys) {
  String list;
  for (const String& k : keys) list += (list.empty() ? "" : ";") + k;
  Variant key = update.oldKey.size() == 1 ? update.oldKey[0] : VarArrayOf(update.oldKey);
  if (update.oldKey.size() != keys.size() || !dataSet_->Locate(list, key, {}))
    DatabaseErrorFmt(SProviderRecordGone, {dataSet_->Name()});
}

std::vector<Variant> TDataSetProvider::ApplyUpdate(const TUpdateRecord& update,
                                                   const std::vector<String>& names) {
  TDataSet* src = Source();
  src->CheckBrowseMode();
  std::vector<String> keys = SplitNames(ResolvedKeyFields());
  auto* table = dynamic_cast<TSqliteTable*>(src);
  try {
    switch (update.kind) {
      case ukDelete:
        LocateKey(update, keys);
        src->Delete();
        return {};
      case ukModify:
        LocateKey(update, keys);
        src->Edit();
        break;
      case ukInsert:
        src->Append();
        break;
    }
    for (std::size_t i = 0; i < names.size() && i < update.values.size(); ++i) {
      bool modify = update.kind == ukModify;
      bool haveOld = modify && i < update.oldValues.size();
      // Fields the client did not change are not written: their values in
      // the source may be newer than the client's.
      if (haveOld && SameValue(update.oldValues[i], update.values[i])) continue;
      TField* f = src->FindField(names[i]);
      if (!f || f->FieldKind() != fkData || f->ReadOnly()) continue;
      if (haveOld && table) {
        // The table checks the file against the client's starting value.
        table->SetEditOrigin(names[i], update.oldValues[i]);
      } else if (modify) {
        Variant cur = ReadValue(f);
        if (SameValue(cur, update.values[i])) continue;
        if (haveOld && !SameValue(cur, update.oldValues[i]))
          DatabaseErrorFmt(SProviderFieldChanged, {names[i], src->Name()});
      }
      WriteValue(f, update.values[i]);
    }
    src->Post();
  } catch (...) {
    // Not a scope guard: Cancel runs the source's handlers, which may raise,
    // and a destructor must not let that through.
    if (src->State() == dsEdit || src->State() == dsInsert) src->Cancel();
    throw;
  }
  std::vector<Variant> key;
  for (const String& k : keys) key.push_back(ReadValue(src->FieldByName(k)));
  return key;
}

}  // namespace brevant
