#include "db/client_dataset.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>

#include "classes/rtti_builder.h"
#include "db/client_values.h"
#include "db/dbconsts.h"
#include "db/field.h"
#include "db/field_defs.h"
#include "db/filter_expr.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

using namespace client_values;

BV_PUBLISH(TIndexDef, TCollectionItem) {
  p.Property("Name", &TIndexDef::Name, &TIndexDef::SetName);
  p.Property("Fields", &TIndexDef::Fields, &TIndexDef::SetFields);
  p.Property("DescFields", &TIndexDef::DescFields, &TIndexDef::SetDescFields);
  p.Property("CaseInsFields", &TIndexDef::CaseInsFields, &TIndexDef::SetCaseInsFields);
}

BV_PUBLISH(TIndexDefs, TOwnedCollection) {}

BV_PUBLISH(TClientDataSet, TMemDataSet) {
  p.Property("ProviderName", &TClientDataSet::ProviderName, &TClientDataSet::SetProviderName);
  p.Property("IndexDefs", &TClientDataSet::IndexDefs, &TClientDataSet::SetIndexDefs);
  p.Property("IndexName", &TClientDataSet::IndexName, &TClientDataSet::SetIndexName);
  p.Property("IndexFieldNames", &TClientDataSet::IndexFieldNames,
             &TClientDataSet::SetIndexFieldNames);
  p.Property("Filter", &TClientDataSet::Filter, &TClientDataSet::SetFilter);
  p.Property("Filtered", &TClientDataSet::Filtered, &TClientDataSet::SetFiltered).Default(false);
}

namespace {

constexpr const char* SMissingProvider = "Missing data provider for '%s'";
constexpr const char* SProviderNotFound = "Provider '%s' not found";
constexpr const char* SPendingChanges =
    "Apply or cancel the pending changes of '%s' before refreshing";
constexpr const char* SFilterValue = "Filter value '%s' does not suit field '%s'";

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

bool InList(const std::vector<String>& list, const String& name) {
  for (const String& n : list)
    if (SameText(n, name)) return true;
  return false;
}

bool TryParseIsoDate(const String& text, TDateTime& value) {
  // YYYY-MM-DD[( |T)HH:MM[:SS]]
  String s = Trim(text);
  auto num = [&](std::size_t at, std::size_t n, Integer& v) {
    if (at + n > s.size()) return false;
    v = 0;
    for (std::size_t i = at; i < at + n; ++i) {
      if (s[i] < '0' || s[i] > '9') return false;
      v = v * 10 + (s[i] - '0');
    }
    return true;
  };
  Integer y, m, d, hh = 0, mm = 0, ss = 0;
  if (!num(0, 4, y) || s.size() < 10 || s[4] != '-' || !num(5, 2, m) || s[7] != '-' ||
      !num(8, 2, d))
    return false;
  std::size_t i = 10;
  if (i < s.size()) {
    if ((s[i] != ' ' && s[i] != 'T') || !num(i + 1, 2, hh) || i + 3 >= s.size() ||
        s[i + 3] != ':' || !num(i + 4, 2, mm))
      return false;
    i += 6;
    if (i < s.size()) {
      if (s[i] != ':' || !num(i + 1, 2, ss)) return false;
      i += 3;
    }
    if (i != s.size()) return false;
  }
  TDateTime date, time;
  if (!TryEncodeDate(Word(y), Word(m), Word(d), date) ||
      !TryEncodeTime(Word(hh), Word(mm), Word(ss), 0, time))
    return false;
  value = date < 0 ? date - time : date + time;
  return true;
}

}  // namespace

// ==== index definitions ================================================================

void TIndexDef::SetName(const String& value) {
  name_ = value;
  Changed(false);
}
void TIndexDef::SetFields(const String& value) {
  fields_ = value;
  Changed(false);
}
void TIndexDef::SetDescFields(const String& value) {
  descFields_ = value;
  Changed(false);
}
void TIndexDef::SetCaseInsFields(const String& value) {
  caseInsFields_ = value;
  Changed(false);
}

TIndexDefs::TIndexDefs(TPersistent* owner) : TOwnedCollection(owner, TIndexDef::StaticClass()) {}

TIndexDef* TIndexDefs::Items(Integer index) const {
  return static_cast<TIndexDef*>(TCollection::Items(index));
}

TIndexDef* TIndexDefs::Add(const String& name, const String& fields, const String& descFields,
                           const String& caseInsFields) {
  TIndexDef* d = AddIndexDef();
  d->SetName(name);
  d->SetFields(fields);
  d->SetDescFields(descFields);
  d->SetCaseInsFields(caseInsFields);
  return d;
}

TIndexDef* TIndexDefs::Find(const String& name) const {
  for (Integer i = 0; i < Count(); ++i)
    if (SameText(Items(i)->Name(), name)) return Items(i);
  return nullptr;
}

void TIndexDefs::Update(TCollectionItem* item) {
  TOwnedCollection::Update(item);
  // The active index may have changed: the dataset sorts again.
  // A deleted active index leaves the provider's order.
  if (auto* ds = dynamic_cast<TClientDataSet*>(GetOwner())) {
    if (ds->IndexName().empty() || UpdateCount() > 0) return;
    ds->SetIndexName(Find(ds->IndexName()) ? ds->IndexName() : String());
  }
}

// ==== the client dataset ===================================================================

TClientDataSet::TClientDataSet(TComponent* owner)
    : TMemDataSet(owner), indexDefs_(new TIndexDefs(this)) {}

TClientDataSet::~TClientDataSet() {
  Close();
  delete indexDefs_;
}

void TClientDataSet::SetProviderName(const String& value) {
  CheckInactive();
  providerName_ = value;
}

void TClientDataSet::SetProvider(TDataSetProvider* value) {
  if (value == provider_) return;
  if (provider_) RemoveFreeNotification(provider_);
  provider_ = value;
  if (provider_) provider_->FreeNotification(this);
}

void TClientDataSet::Notification(TComponent* component, TOperation operation) {
  TMemDataSet::Notification(component, operation);
  if (operation == opRemove && component == provider_) provider_ = nullptr;
}

TDataSetProvider* TClientDataSet::ResolveProvider() {
  if (provider_) return provider_;
  if (providerName_.empty()) return nullptr;
  TComponent* c = Owner() ? Owner()->FindComponent(providerName_) : nullptr;
  auto* p = dynamic_cast<TDataSetProvider*>(c);
  if (!p) DatabaseErrorFmt(SProviderNotFound, {providerName_});
  return p;
}

void TClientDataSet::SetIndexDefs(TIndexDefs* value) {
  indexDefs_->Assign(value);
}

Integer TClientDataSet::ColumnOf(const String& name) const {
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (SameText(names_[i], name)) return static_cast<Integer>(i);
  DatabaseErrorFmt(res::SFieldNotFound, {name});
}

std::vector<TClientDataSet::TSortKey> TClientDataSet::ParseSortKeys(const String& fields,
                                                                    const String& desc,
                                                                    const String& caseIns) const {
  std::vector<String> d = SplitNames(desc), ci = SplitNames(caseIns);
  std::vector<TSortKey> keys;
  for (const String& f : SplitNames(fields))
    keys.push_back({ColumnOf(f), InList(d, f), InList(ci, f)});
  return keys;
}

void TClientDataSet::SetIndexName(const String& value) {
  if (!value.empty() && !indexDefs_->Find(value)) DatabaseErrorFmt(SIndexNotFound, {value});
  String oldName = indexName_, oldFields = indexFieldNames_;
  TScopeGuard undo([&] {
    indexName_ = oldName;
    indexFieldNames_ = oldFields;
  });
  indexName_ = value;
  if (!value.empty()) indexFieldNames_.clear();
  ResortIfOpen();
  undo.Dismiss();
}

void TClientDataSet::SetIndexFieldNames(const String& value) {
  String oldName = indexName_, oldFields = indexFieldNames_;
  TScopeGuard undo([&] {
    indexName_ = oldName;
    indexFieldNames_ = oldFields;
  });
  indexFieldNames_ = value;
  if (!value.empty()) indexName_.clear();
  ResortIfOpen();
  undo.Dismiss();
}

void TClientDataSet::SetFilter(const String& value) {
  std::shared_ptr<TFilterNode> tree;
  if (!Trim(value).empty()) tree = ParseFilter(value);
  String old = filter_;
  auto oldTree = filterTree_;
  TScopeGuard undo([&] {
    filter_ = old;
    filterTree_ = oldTree;
  });
  filter_ = value;
  filterTree_ = tree;
  if (filtered_) ResortIfOpen();
  undo.Dismiss();
}

void TClientDataSet::SetFiltered(bool value) {
  if (value == filtered_) return;
  TScopeGuard undo([&] { filtered_ = !value; });
  filtered_ = value;
  ResortIfOpen();
  undo.Dismiss();
}

void TClientDataSet::SetFilterCaseInsensitive(bool value) {
  if (value == filterCaseIns_) return;
  filterCaseIns_ = value;
  if (filtered_) ResortIfOpen();
}

// Binds the filter's field names to columns and converts the literals
// compared with fields to the fields' types.
void TClientDataSet::ResolveFilter() {
  if (!filterTree_ || !filtered_) return;
  std::function<void(TFilterNode*)> bind = [&](TFilterNode* n) {
    if (!n) return;
    if (n->kind == TFilterNode::nkField) n->column = ColumnOf(n->name);
    bind(n->a.get());
    bind(n->b.get());
    for (const auto& t : n->terms) bind(t.get());
    if (n->kind != TFilterNode::nkCompare) return;
    TFilterNode* field = n->a->kind == TFilterNode::nkField   ? n->a.get()
                         : n->b->kind == TFilterNode::nkField ? n->b.get()
                                                              : nullptr;
    TFilterNode* lit = n->a->kind == TFilterNode::nkConst   ? n->a.get()
                       : n->b->kind == TFilterNode::nkConst ? n->b.get()
                                                            : nullptr;
    if (!field || !lit || VarIsNull(lit->value)) return;
    TFieldType t = types_[static_cast<std::size_t>(field->column)];
    Variant& v = lit->value;
    try {
      switch (ClassOf(t)) {
        case ccNumber:
          if (VarIsStr(v)) {
            double d;
            String s = Trim(VarToStr(v));
            auto r = std::from_chars(s.data(), s.data() + s.size(), d);
            if (s.empty() || r.ec != std::errc() || r.ptr != s.data() + s.size()) throw 0;
            v = Variant(d);
          } else if (v.VarType() == varBoolean) {
            throw 0;
          }
          break;
        case ccBoolean:
          v = Variant(v.AsBoolean());
          break;
        case ccDate:
          if (VarIsStr(v)) {
            TDateTime dt;
            if (!TryParseIsoDate(VarToStr(v), dt)) throw 0;
            v = Variant(static_cast<double>(dt));
          }
          break;
        case ccText:
          v = Variant(VarToStr(v));
          break;
      }
    } catch (...) {
      // Any failure to convert the literal, whatever raised it, becomes the
      // one message naming the literal and the field.
      DatabaseErrorFmt(SFilterValue, {VarToStr(v), field->name});
    }
  };
  bind(filterTree_.get());
}

void TClientDataSet::ResortIfOpen() {
  if (!Active()) return;
  CheckBrowseMode();
  Integer current = -1;
  if (ActiveBuffer() && GetRecNo() > 0) GetBookmarkData(ActiveBuffer(), &current);
  std::vector<Integer> oldView = view_;
  std::vector<TSortKey> oldKeys = sortKeys_;
  TScopeGuard undo([&] {
    view_ = std::move(oldView);
    sortKeys_ = std::move(oldKeys);
    positionsValid_ = false;
  });
  BuildView();
  undo.Dismiss();
  Integer pos = current >= 0 ? ViewPosOf(current) : -1;
  viewPos_ = pos >= 0 ? pos : 0;
  CursorPosChanged();
  Resync({});
}

// ---- fetching ----------------------------------------------------------------------------

// Reads the provider's rows into the store: a store of the same columns is
// copied in its record format; any other source goes through one row of
// variants at a time.
void TClientDataSet::Fetch(bool withDefs) {
  TDataSetProvider* p = ResolveProvider();
  if (withDefs) p->GetFieldDefs(FieldDefs());
  ++dataVersion_;
  if (const TMemDataSet* store = p->SourceStore(); store && CopyStoreFrom(*store)) return;
  std::vector<std::vector<Variant>> rows;
  p->GetRows(rows);
  ReplaceRows(rows);
}

void TClientDataSet::LoadIds() {
  names_.clear();
  types_.clear();
  for (Integer i = 0; i < FieldDefs()->Count(); ++i) {
    names_.push_back(FieldDefs()->Items(i)->Name());
    types_.push_back(FieldDefs()->Items(i)->DataType());
  }
  keyColumns_.clear();
  if (TDataSetProvider* p = ResolveProvider())
    for (const String& k : SplitNames(p->ResolvedKeyFields())) keyColumns_.push_back(ColumnOf(k));
  storeOrder_.clear();
  storeOrder_.reserve(static_cast<std::size_t>(StoredRecordCount()));
  for (Integer pos = 0; pos < StoredRecordCount(); ++pos) storeOrder_.push_back(StoredIdAt(pos));
  ++dataVersion_;
}

void TClientDataSet::InternalOpen() {
  if (ResolveProvider()) {
    Fetch(true);
  } else if (StoredRecordCount() > 0) {
    DatabaseErrorFmt(SMissingProvider, {Name()});
  }
  log_.clear();
  TMemDataSet::InternalOpen();
  LoadIds();
  BuildView();
  viewPos_ = -1;
}

void TClientDataSet::InternalClose() {
  TMemDataSet::InternalClose();
  view_.clear();
  viewPosOfRow_.clear();
  sortedIds_.clear();
  sortedKeys_.clear();
  positionsValid_ = false;
  viewPos_ = -1;
}

void TClientDataSet::InternalRefresh() {
  if (!log_.empty()) DatabaseErrorFmt(SPendingChanges, {Name()});
  if (!ResolveProvider()) return;
  std::vector<Variant> key;
  Integer oldPos = viewPos_;
  if (ActiveBuffer() && GetRecNo() > 0 && !keyColumns_.empty()) {
    Integer id;
    GetBookmarkData(ActiveBuffer(), &id);
    key = StoredKey(id);
  }
  ResolveProvider()->RefreshSource();
  Fetch(false);
  LoadIds();
  BuildView();
  Integer pos = -1;
  if (!key.empty())
    for (std::size_t i = 0; i < view_.size() && pos < 0; ++i)
      if (StoredKey(view_[i]) == key) pos = static_cast<Integer>(i);
  if (pos < 0) pos = std::clamp(oldPos, 0, std::max(0, static_cast<Integer>(view_.size()) - 1));
  viewPos_ = pos;
}

// ---- cursor --------------------------------------------------------------------------------

TGetResult TClientDataSet::GetRecord(TRecordBuffer buffer, TGetMode mode, bool doCheck) {
  Integer n = static_cast<Integer>(view_.size());
  switch (mode) {
    case gmNext:
      if (viewPos_ >= n - 1) {
        viewPos_ = n;
        return grEOF;
      }
      ++viewPos_;
      break;
    case gmPrior:
      if (viewPos_ <= 0) {
        viewPos_ = -1;
        return grBOF;
      }
      --viewPos_;
      break;
    case gmCurrent:
      if (viewPos_ < 0 || viewPos_ >= n) {
        if (doCheck && n > 0) DatabaseErrorFmt(res::SInternalError, {res::SNoCurrentRecord});
        return grError;
      }
      break;
  }
  Integer id = view_[static_cast<std::size_t>(viewPos_)];
  TMemDataSet::InternalGotoBookmark(&id);
  return TMemDataSet::GetRecord(buffer, gmCurrent, doCheck);
}

void TClientDataSet::InternalSetToRecord(TRecordBuffer buffer) {
  Integer id;
  GetBookmarkData(buffer, &id);
  Integer pos = ViewPosOf(id);
  if (pos < 0) DatabaseError(res::SRecordNotFound);
  viewPos_ = pos;
}

void TClientDataSet::InternalGotoBookmark(const void* bookmark) {
  Integer id;
  std::memcpy(&id, bookmark, 4);
  Integer pos = ViewPosOf(id);
  if (pos < 0) DatabaseError(res::SRecordNotFound);
  viewPos_ = pos;
}

Integer TClientDataSet::GetRecNo() {
  TRecordBuffer buf = ActiveBuffer();
  if (!buf) return 0;
  if (GetBookmarkFlag(buf) != bfCurrent) return -1;
  Integer id;
  GetBookmarkData(buf, &id);
  Integer pos = ViewPosOf(id);
  return pos < 0 ? -1 : pos + 1;
}

bool TClientDataSet::InternalSetRecNo(Integer value) {
  if (value < 1 || value > static_cast<Integer>(view_.size())) return false;
  viewPos_ = value - 1;
  return true;
}

bool TClientDataSet::BookmarkValid(const TBookmark& bookmark) {
  if (bookmark.size() != 4 || !Active()) return false;
  Integer id;
  std::memcpy(&id, bookmark.data(), 4);
  return ViewPosOf(id) >= 0;
}

Integer TClientDataSet::CompareBookmarks(const TBookmark& b1, const TBookmark& b2) {
  auto position = [this](const TBookmark& b, Int64 empty) -> Int64 {
    if (b.empty()) return empty;
    if (b.size() != 4) return -1;
    Integer id;
    std::memcpy(&id, b.data(), 4);
    return ViewPosOf(id);
  };
  if (b1.empty() && b2.empty()) return 0;
  // Positions are compared, not subtracted: only the sign is answered.
  const Int64 p1 = position(b1, 2147483647), p2 = position(b2, 0);
  return p1 < p2 ? -1 : p1 > p2 ? 1 : 0;
}

// ---- editing -----------------------------------------------------------------------------

// The record's values as its data fields show them; columns without a data
// field keep the value they have in values.
void TClientDataSet::ReadEditValues(std::vector<Variant>& values) {
  values.resize(names_.size(), Variant::Null());
  for (std::size_t i = 0; i < names_.size(); ++i) {
    TField* f = FindField(names_[i]);
    if (!f || f->FieldKind() != fkData) continue;
    values[i] = f->IsNull() ? Variant::Null() : f->IsBlob() ? Variant(f->AsString()) : f->Value();
  }
}

std::vector<Variant> TClientDataSet::KeyOf(const std::vector<Variant>& values) const {
  std::vector<Variant> key;
  for (Integer k : keyColumns_) key.push_back(values[static_cast<std::size_t>(k)]);
  return key;
}

void TClientDataSet::LogChange(TUpdateKind kind, Integer id, const std::vector<Variant>& oldValues,
                               const std::vector<Variant>& newValues) {
  auto it =
      std::find_if(log_.begin(), log_.end(), [id](const TUpdateRecord& u) { return u.id == id; });
  switch (kind) {
    case ukInsert:
      log_.push_back({ukInsert, id, {}, newValues, {}});
      break;
    case ukModify:
      if (it == log_.end() && oldValues == newValues) break;  // nothing changed
      if (it == log_.end())
        log_.push_back({ukModify, id, KeyOf(oldValues), newValues, oldValues});
      else if (it->kind == ukModify && it->oldValues == newValues)
        log_.erase(it);  // changed back
      else
        it->values = newValues;
      break;
    case ukDelete:
      if (it != log_.end() && it->kind == ukInsert) {
        log_.erase(it);
      } else if (it != log_.end()) {
        it->kind = ukDelete;
        it->values.clear();
      } else {
        log_.push_back({ukDelete, id, KeyOf(oldValues), {}, {}});
      }
      break;
  }
}

// Places a record that was written into the view: at its sorted place, at
// hint without an index, or nowhere when the filter rejects it (the cursor
// then rests on the record that followed).
void TClientDataSet::PlaceInView(Integer id, Integer hint) {
  positionsValid_ = false;
  Integer n = static_cast<Integer>(view_.size());
  hint = std::clamp(hint, 0, n);
  if (!Passes(id)) {
    viewPos_ = hint;
    return;
  }
  Integer pos = hint;
  if (!sortKeys_.empty())
    pos =
        static_cast<Integer>(std::upper_bound(view_.begin(), view_.end(), id,
                                              [this](Integer a, Integer b) { return Less(a, b); }) -
                             view_.begin());
  view_.insert(view_.begin() + pos, id);
  viewPos_ = pos;
}

void TClientDataSet::InsertPath(bool append) {
  TRecordBuffer buf = ActiveBuffer();
  Integer n = static_cast<Integer>(view_.size());
  bool atEnd = append || GetBookmarkFlag(buf) == bfEOF || viewPos_ < 0 || viewPos_ >= n;
  Integer hint = atEnd ? n : viewPos_;
  Integer beforeId = atEnd ? -1 : view_[static_cast<std::size_t>(viewPos_)];
  TMemDataSet::InternalLast();
  TMemDataSet::InternalAddRecord(buf, true);
  // Read once the store has filled in what it assigns (auto-increments).
  std::vector<Variant> values;
  ReadEditValues(values);
  Integer id;
  GetBookmarkData(buf, &id);
  auto at = beforeId < 0 ? storeOrder_.end()
                         : std::find(storeOrder_.begin(), storeOrder_.end(), beforeId);
  storeOrder_.insert(at, id);
  ++dataVersion_;
  PlaceInView(id, hint);
  LogChange(ukInsert, id, {}, values);
}

void TClientDataSet::InternalPost() {
  if (State() == dsInsert) {
    InsertPath(false);
    return;
  }
  TRecordBuffer buf = ActiveBuffer();
  Integer id;
  GetBookmarkData(buf, &id);
  std::vector<Variant> old = StoredRow(id);
  std::vector<Variant> values = old;
  ReadEditValues(values);
  Integer pos = ViewPosOf(id);
  TMemDataSet::InternalGotoBookmark(&id);
  TMemDataSet::InternalPost();
  ++dataVersion_;
  // A record whose index values did not change keeps its place among equal keys.
  if (pos >= 0 && CompareRows(old, values) == 0 && Passes(id)) {
    viewPos_ = pos;
  } else {
    if (pos >= 0) view_.erase(view_.begin() + pos);
    PlaceInView(id, pos >= 0 ? pos : viewPos_);
  }
  LogChange(ukModify, id, old, values);
}

void TClientDataSet::InternalAddRecord(TRecordBuffer buffer, bool append) {
  (void)buffer;  // the active buffer
  InsertPath(append);
}

void TClientDataSet::InternalDelete() {
  Integer n = static_cast<Integer>(view_.size());
  if (viewPos_ < 0 || viewPos_ >= n) DatabaseError(res::SRecordNotFound);
  Integer id = view_[static_cast<std::size_t>(viewPos_)];
  std::vector<Variant> old = StoredRow(id);
  TMemDataSet::InternalGotoBookmark(&id);
  TMemDataSet::InternalDelete();
  ++dataVersion_;
  view_.erase(view_.begin() + viewPos_);
  positionsValid_ = false;
  storeOrder_.erase(std::find(storeOrder_.begin(), storeOrder_.end(), id));
  LogChange(ukDelete, id, old, {});
}

// ---- resolving ------------------------------------------------------------------------------

Integer TClientDataSet::ApplyUpdates(Integer maxErrors) {
  CheckActive();
  CheckBrowseMode();
  TDataSetProvider* p = ResolveProvider();
  if (!p) DatabaseErrorFmt(SMissingProvider, {Name()});
  applyError_.clear();
  Integer errors = 0;
  std::size_t i = 0;
  bool rekeyed = false;
  while (i < log_.size()) {
    try {
      std::vector<Variant> key = p->ApplyUpdate(log_[i], names_);
      // Later changes of the record locate it by the key the source holds;
      // the entry leaves the log only once the record has that key.
      rekeyed = StoreKey(log_[i].id, key) || rekeyed;
      log_.erase(log_.begin() + static_cast<std::ptrdiff_t>(i));
    } catch (const Exception& e) {
      applyError_ = e.Message();
      ++errors;
      ++i;
      if (maxErrors >= 0 && errors > maxErrors) break;
    }
  }
  if (rekeyed) ReplaceView();
  return errors;
}

// Writes the key the source holds into a record (the key an insert was
// assigned): straight into the values and the store, without fields,
// events or the change log. Answers whether the key changed.
bool TClientDataSet::StoreKey(Integer id, const std::vector<Variant>& key) {
  if (RowOfId(id) < 0 || key.size() != keyColumns_.size() || StoredKey(id) == key) return false;
  for (std::size_t k = 0; k < key.size(); ++k) StoreFieldValue(id, keyColumns_[k], key[k]);
  ++dataVersion_;
  return true;
}

// Rebuilds the view after values changed behind the fields' back, keeping
// the cursor on its record when it is still in the view.
void TClientDataSet::ReplaceView() {
  Integer current = -1;
  if (ActiveBuffer() && GetRecNo() > 0) GetBookmarkData(ActiveBuffer(), &current);
  BuildView();
  Integer pos = current >= 0 ? ViewPosOf(current) : -1;
  viewPos_ = pos >= 0 ? pos : std::clamp(viewPos_, 0, static_cast<Integer>(view_.size()));
  Resync({});
}

void TClientDataSet::CancelUpdates() {
  if (!Active()) {
    log_.clear();
    return;
  }
  Cancel();
  // The log waits aside until the provider's rows are back.
  std::vector<TUpdateRecord> pending;
  pending.swap(log_);
  TScopeGuard restore([&] {
    if (!pending.empty()) log_.swap(pending);
  });
  Refresh();
  pending.clear();
}

}  // namespace brevant
