// The dataset core: opening and closing, fields and their buffers, calculated
// fields, the ring of record buffers and the data links' windows, notification,
// and navigation. Editing and searching live in dataset_editing.cpp and
// dataset_search.cpp.
#include "db/dataset.h"

#include <algorithm>
#include <cstring>
#include <exception>
#include <stdexcept>

#include "classes/rtti_builder.h"
#include "db/datasource.h"
#include "db/dbconsts.h"
#include "db/field_types.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/streams.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// Runs work, then finish whether work raised or not, then lets work's error
// go on. finish notifies links, whose handlers may raise, so it cannot run in
// a scope guard's destructor; an error of finish replaces one of work.
template <class Work, class Finish>
void WorkThenFinish(Work work, Finish finish) {
  std::exception_ptr failure;
  try {
    work();
  } catch (...) {
    failure = std::current_exception();
  }
  finish();
  if (failure) std::rethrow_exception(failure);
}

}  // namespace

BV_PUBLISH_ABSTRACT(TDataSet, TComponent) {
  p.Property("Constraints", &TDataSet::Constraints, &TDataSet::SetConstraints);
  p.Property("Active", &TDataSet::Active, &TDataSet::SetActive).Default(false);
  p.Property("AutoCalcFields", &TDataSet::AutoCalcFields, &TDataSet::SetAutoCalcFields)
      .Default(true);
  p.Event("BeforeOpen", &TDataSet::BeforeOpen, "TDataSetNotifyEvent");
  p.Event("AfterOpen", &TDataSet::AfterOpen, "TDataSetNotifyEvent");
  p.Event("BeforeClose", &TDataSet::BeforeClose, "TDataSetNotifyEvent");
  p.Event("AfterClose", &TDataSet::AfterClose, "TDataSetNotifyEvent");
  p.Event("BeforeInsert", &TDataSet::BeforeInsert, "TDataSetNotifyEvent");
  p.Event("AfterInsert", &TDataSet::AfterInsert, "TDataSetNotifyEvent");
  p.Event("BeforeEdit", &TDataSet::BeforeEdit, "TDataSetNotifyEvent");
  p.Event("AfterEdit", &TDataSet::AfterEdit, "TDataSetNotifyEvent");
  p.Event("BeforePost", &TDataSet::BeforePost, "TDataSetNotifyEvent");
  p.Event("AfterPost", &TDataSet::AfterPost, "TDataSetNotifyEvent");
  p.Event("BeforeCancel", &TDataSet::BeforeCancel, "TDataSetNotifyEvent");
  p.Event("AfterCancel", &TDataSet::AfterCancel, "TDataSetNotifyEvent");
  p.Event("BeforeDelete", &TDataSet::BeforeDelete, "TDataSetNotifyEvent");
  p.Event("AfterDelete", &TDataSet::AfterDelete, "TDataSetNotifyEvent");
  p.Event("BeforeScroll", &TDataSet::BeforeScroll, "TDataSetNotifyEvent");
  p.Event("AfterScroll", &TDataSet::AfterScroll, "TDataSetNotifyEvent");
  p.Event("BeforeRefresh", &TDataSet::BeforeRefresh, "TDataSetNotifyEvent");
  p.Event("AfterRefresh", &TDataSet::AfterRefresh, "TDataSetNotifyEvent");
  p.Event("OnCalcFields", &TDataSet::OnCalcFields, "TDataSetNotifyEvent");
  p.Event("OnDeleteError", &TDataSet::OnDeleteError, "TDataSetErrorEvent");
  p.Event("OnEditError", &TDataSet::OnEditError, "TDataSetErrorEvent");
  p.Event("OnNewRecord", &TDataSet::OnNewRecord, "TDataSetNotifyEvent");
  p.Event("OnPostError", &TDataSet::OnPostError, "TDataSetErrorEvent");
}

namespace {

// Notifications that only redraw: silenced for visual links while controls
// are disabled.
bool IsDisplayEvent(TDataEvent e) {
  switch (e) {
    case deFieldChange:
    case deRecordChange:
    case deDataSetChange:
    case deDataSetScroll:
    case deLayoutChange:
    case deUpdateState:
      return true;
    default:
      return false;
  }
}

// Notifications that move link windows.
bool IsWindowEvent(TDataEvent e) {
  return e == deDataSetChange || e == deDataSetScroll || e == deLayoutChange;
}

bool SameFamily(TFieldType a, TFieldType b) {
  auto family = [](TFieldType t) -> int {
    switch (t) {
      case ftString:
      case ftFixedChar:
      case ftGuid:
        return 1;
      case ftInteger:
      case ftAutoInc:
        return 2;
      case ftFloat:
      case ftCurrency:
        return 3;
      default:
        return IsBlobFieldType(t) ? 4 : 100 + t;
    }
  };
  return family(a) == family(b);
}

bool IsSizedType(TFieldType t) {
  switch (t) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftBytes:
    case ftVarBytes:
      return true;
    default:
      return false;
  }
}

}  // namespace

// ==== life cycle ======================================================================

TDataSet::TDataSet(TComponent* owner) : TComponent(owner) {
  fields_ = std::make_unique<TFields>(this);
  fieldDefs_ = Create<TFieldDefs>(this);
  fieldDefs_->SetPropName("FieldDefs");
  constraints_ = Create<TCheckConstraints>(this);
  constraints_->SetPropName("Constraints");
}

TDataSet::~TDataSet() {
  for (auto& s : slots_) FreeSlot(s);
  for (auto& s : scratch_) FreeSlot(*s);
  TObject::Free(fieldDefs_);
  TObject::Free(constraints_);
}

void TDataSet::BeforeDestruction() {
  Destroying();
  try {
    SetActive(false);
  } catch (const Exception& e) {
    InternalHandleException(e);
  }
  while (!dataSources_.empty()) dataSources_.back()->SetDataSet(nullptr);
  fields_->Clear();
  TComponent::BeforeDestruction();
}

void TDataSet::Loaded() {
  TComponent::Loaded();
  if (streamedActive_) {
    streamedActive_ = false;
    SetActive(true);
  }
}

void TDataSet::InternalHandleException(const Exception& e) {
  HandleException(this, e);
}

void TDataSet::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
}

void TDataSet::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TField* f : *fields_)
    if (f->Owner() == root) proc(f);
}

void TDataSet::SetConstraints(TCheckConstraints* value) {
  if (value && value != constraints_) constraints_->Assign(value);
}

void TDataSet::SetFieldDefs(TFieldDefs* value) {
  if (value && value != fieldDefs_) fieldDefs_->Assign(value);
}

// ==== open and close ==================================================================

void TDataSet::SetActive(bool value) {
  if (IsLoading()) {
    streamedActive_ = value;
    return;
  }
  if (value == Active()) return;
  if (value) {
    BeforeOpen(this);
    OpenCursor();
    SetState(dsBrowse);
    AfterOpen(this);
    if (recordCount_ > 0) DoAfterScroll();
  } else {
    bool events = !IsDestroying();
    if (events) BeforeClose(this);
    SetState(dsInactive);
    CloseCursor();
    if (events) AfterClose(this);
  }
}

void TDataSet::OpenCursor() {
  state_ = dsOpening;
  TScopeGuard inactive([this] { state_ = dsInactive; });
  TScopeGuard close([this] { CloseCursor(); });
  defaultFields_ = fields_->Count() == 0;
  InternalOpen();
  Integer count = 1;
  ForEachLink([&](TDataLink* l) { count = std::max(count, l->BufferCount()); });
  slots_.resize(static_cast<std::size_t>(count) + 1);
  for (auto& s : slots_) AllocSlot(s);
  bufferCount_ = count;
  head_ = 0;
  ClearBuffers();
  GetNextRecords();
  bof_ = true;
  eof_ = recordCount_ == 0;
  close.Dismiss();
}

void TDataSet::CloseCursor() {
  for (auto& s : slots_) FreeSlot(s);
  slots_.clear();
  for (auto& s : scratch_) FreeSlot(*s);
  scratch_.clear();
  scanDepth_ = 0;
  bufferCount_ = 0;
  head_ = 0;
  ClearBuffers();
  editBuffer_ = nullptr;
  fieldSlot_ = nullptr;
  if (IsCursorOpen()) InternalClose();
  BindFields(false);
  if (defaultFields_) DestroyFields();
  defaultFields_ = false;
}

void TDataSet::AllocSlot(TBufferSlot& slot) {
  if (!slot.data) slot.data = AllocRecordBuffer();
  slot.calc.assign(static_cast<std::size_t>(calcAreaSize_), 0);
  slot.calcVars.assign(static_cast<std::size_t>(calcVarCount_), Variant());
}

void TDataSet::FreeSlot(TBufferSlot& slot) {
  if (slot.data) FreeRecordBuffer(slot.data);
  slot.data = nullptr;
  slot.calc.clear();
  slot.calcVars.clear();
}

void TDataSet::CheckInactive() const {
  if (Active()) DatabaseError(res::SDataSetOpen);
}

void TDataSet::CheckActive() const {
  if (!Active()) DatabaseError(res::SDataSetClosed);
}

void TDataSet::CheckCanModify() {
  if (!CanModify()) DatabaseError(res::SDataSetReadOnly);
}

void TDataSet::SetState(TDataSetState value) {
  if (state_ == value) return;
  state_ = value;
  modified_ = false;
  if (value != dsEdit && value != dsInsert) editBuffer_ = nullptr;
  DataEvent(deUpdateState, 0);
}

TDataSetState TDataSet::SetTempState(TDataSetState value) {
  TDataSetState old = state_;
  state_ = value;
  return old;
}

// ==== fields ============================================================================

void TDataSet::CreateFields() {
  for (Integer i = 0; i < fieldDefs_->Count(); ++i) fieldDefs_->Items(i)->CreateField(this, this);
}

void TDataSet::DestroyFields() {
  fields_->Clear();
}

void TDataSet::BindFields(bool binding) {
  calcAreaSize_ = 0;
  calcVarCount_ = 0;
  hasCalcFields_ = false;
  for (TField* f : *fields_) {
    f->fieldNo_ = 0;
    f->offset_ = -1;
    f->calcVarNo_ = -1;
    if (!binding) continue;
    if (f->FieldKind() == fkData) {
      TFieldDef* def = fieldDefs_->Find(f->FieldName());
      if (!def) DatabaseErrorFmt(res::SFieldNotFound, {f->FieldName()});
      if (!SameFamily(f->DataType(), def->DataType()))
        DatabaseErrorFmt(res::SFieldTypeMismatch, {f->DisplayName(), FieldTypeName(f->DataType()),
                                                   FieldTypeName(def->DataType())});
      if (IsSizedType(def->DataType()) && def->Size() > 0 && f->Size() != def->Size())
        DatabaseErrorFmt(res::SFieldSizeMismatch, {f->DisplayName(), def->Size(), f->Size()});
      f->fieldNo_ = def->FieldNo();
    } else {
      if (f->IsBlob()) DatabaseErrorFmt(res::SInvalidCalcType, {f->DisplayName()});
      if (f->FieldKind() == fkLookup) {
        if (!f->lookupDataSet_ || f->keyFields_.empty() || f->lookupKeyFields_.empty() ||
            f->lookupResultField_.empty())
          DatabaseErrorFmt(res::SLookupInfoError, {f->DisplayName()});
        std::vector<TField*> keys;
        GetFieldList(keys, f->keyFields_);
        f->lookupListValid_ = false;
        f->lookupList_.reset();
      }
      f->offset_ = calcAreaSize_;
      if (f->DataType() == ftVariant) {
        f->calcVarNo_ = calcVarCount_++;
        calcAreaSize_ += 1;
      } else {
        calcAreaSize_ += 1 + f->DataSize();
      }
      hasCalcFields_ = true;
    }
  }
}

void TDataSet::GetFieldList(std::vector<TField*>& list, const String& names) const {
  list.clear();
  for (const String& part : SplitString(names, ';')) {
    String name = Trim(part);
    if (!name.empty()) list.push_back(FieldByName(name));
  }
}

Variant TDataSet::FieldValues(const String& names) const {
  if (names.find(';') == String::npos) return FieldByName(Trim(names))->AsVariant();
  std::vector<TField*> list;
  GetFieldList(list, names);
  std::vector<Variant> values;
  values.reserve(list.size());
  for (TField* f : list) values.push_back(f->AsVariant());
  return VarArrayOf(std::span<const Variant>(values));
}

void TDataSet::SetFieldValues(const String& names, const Variant& values) {
  if (names.find(';') == String::npos) {
    FieldByName(Trim(names))->SetAsVariant(values);
    return;
  }
  std::vector<TField*> list;
  GetFieldList(list, names);
  Integer n = VarIsArray(values) ? VarArrayHighBound(values) - VarArrayLowBound(values) + 1 : 1;
  if (n != static_cast<Integer>(list.size()))
    DatabaseErrorFmt(res::SKeyValuesMismatch, {n, static_cast<Integer>(list.size())});
  for (std::size_t i = 0; i < list.size(); ++i)
    list[i]->SetAsVariant(values.GetElement(VarArrayLowBound(values) + static_cast<Integer>(i)));
}

void TDataSet::FieldLayoutChanged(bool layout) {
  if (Active()) DataEvent(layout ? deLayoutChange : deDataSetChange, dchKeep);
}

bool TDataSet::GetFieldData(TField* field, void* buffer) {
  (void)field;
  (void)buffer;
  return false;
}

void TDataSet::SetFieldData(TField* field, const void* buffer) {
  (void)buffer;
  DataEvent(deFieldChange, reinterpret_cast<intptr_t>(field));
}

std::unique_ptr<TStream> TDataSet::CreateBlobStream(TField* field, TBlobStreamMode mode) {
  (void)field;
  (void)mode;
  DatabaseErrorFmt(res::SNoBlobStreams, {String(ClassName())});
}

void TDataSet::CheckFieldWrite(TField* field) {
  if (!Active()) DatabaseError(res::SDataSetClosed);
  if (!IsWriteState(state_) || state_ == dsCalcFields) DatabaseError(res::SNotEditing);
  if (field->ReadOnly() && state_ != dsSetKey && state_ != dsFilter)
    DatabaseErrorFmt(res::SFieldReadOnly, {field->DisplayName()});
  if ((state_ == dsEdit || state_ == dsInsert) && !fieldSlot_) CheckEditBuffer();
}

void TDataSet::CheckEditBuffer() const {
  if ((state_ == dsEdit || state_ == dsInsert) &&
      (recordCount_ == 0 || Slot(activeRecord_).data != editBuffer_))
    DatabaseError(res::SEditBufferMoved);
}

// ---- calculated fields ------------------------------------------------------------

const TDataSet::TBufferSlot* TDataSet::FieldSlot() const {
  if (fieldSlot_) return fieldSlot_;
  if (recordCount_ > 0) return &Slot(activeRecord_);
  return nullptr;
}

TRecordBuffer TDataSet::ActiveBuffer() const {
  const TBufferSlot* s = FieldSlot();
  return s ? s->data : nullptr;
}

TRecordBuffer TDataSet::Buffers(Integer index) const {
  if (index < 0 || index > bufferCount_ || slots_.empty()) return nullptr;
  return Slot(index).data;
}

void TDataSet::ClearCalcArea(TBufferSlot& slot) {
  std::fill(slot.calc.begin(), slot.calc.end(), Byte(0));
  for (Variant& v : slot.calcVars) v = Variant();
}

void TDataSet::CalculateSlot(TBufferSlot& slot) {
  if (!hasCalcFields_) return;
  TTemporaryChange<const TBufferSlot*> calculating(fieldSlot_, &slot);
  TTemporaryChange<TDataSetState> calcState(state_, dsCalcFields);
  ClearCalcArea(slot);
  for (TField* f : *fields_)
    if (f->FieldKind() == fkLookup) f->CalcLookupValue();
  OnCalcFields(this);
}

bool TDataSet::GetCalcFieldData(const TField* field, void* buffer) const {
  const TBufferSlot* s = FieldSlot();
  if (!s || field->offset_ < 0 || static_cast<std::size_t>(field->offset_) >= s->calc.size())
    return false;
  const Byte* p = s->calc.data() + field->offset_;
  if (!p[0]) return false;
  if (buffer) {
    if (field->calcVarNo_ >= 0)
      *static_cast<Variant*>(buffer) = s->calcVars[static_cast<std::size_t>(field->calcVarNo_)];
    else
      std::memcpy(buffer, p + 1, static_cast<std::size_t>(field->DataSize()));
  }
  return true;
}

void TDataSet::SetCalcFieldData(TField* field, const void* buffer) {
  if (state_ != dsCalcFields && state_ != dsInternalCalc)
    DatabaseErrorFmt(res::SNotCalcWriting, {field->DisplayName()});
  auto* s = const_cast<TBufferSlot*>(FieldSlot());
  if (!s || field->offset_ < 0 || static_cast<std::size_t>(field->offset_) >= s->calc.size())
    return;
  Byte* p = s->calc.data() + field->offset_;
  if (field->calcVarNo_ >= 0) {
    Variant& v = s->calcVars[static_cast<std::size_t>(field->calcVarNo_)];
    v = buffer ? *static_cast<const Variant*>(buffer) : Variant();
  } else if (buffer) {
    std::memcpy(p + 1, buffer, static_cast<std::size_t>(field->DataSize()));
  }
  p[0] = buffer ? 1 : 0;
}

// ==== the record window =================================================================

TDataSet::TBufferSlot& TDataSet::Slot(Integer index) {
  return slots_[static_cast<std::size_t>(head_ + index) % slots_.size()];
}

const TDataSet::TBufferSlot& TDataSet::Slot(Integer index) const {
  return slots_[static_cast<std::size_t>(head_ + index) % slots_.size()];
}

void TDataSet::MoveBuffer(Integer curIndex, Integer newIndex) {
  if (curIndex == newIndex) return;
  Integer n = bufferCount_ + 1;
  if (curIndex == 0 && newIndex == bufferCount_) {
    head_ = (head_ + 1) % n;
  } else if (curIndex == bufferCount_ && newIndex == 0) {
    head_ = (head_ + n - 1) % n;
  } else if (curIndex < newIndex) {
    for (Integer i = curIndex; i < newIndex; ++i) std::swap(Slot(i), Slot(i + 1));
  } else {
    for (Integer i = curIndex; i > newIndex; --i) std::swap(Slot(i), Slot(i - 1));
  }
}

void TDataSet::ClearBuffers() {
  recordCount_ = 0;
  activeRecord_ = 0;
  currentRecord_ = -1;
  bof_ = true;
  eof_ = true;
  spare_ = spNone;
}

void TDataSet::ActivateBuffers() {
  recordCount_ = 1;
  activeRecord_ = 0;
  currentRecord_ = 0;
  bof_ = false;
  eof_ = false;
  spare_ = spNone;
}

void TDataSet::SetCurrentRecord(Integer index) {
  if (currentRecord_ == index) return;
  TRecordBuffer buffer = Slot(index).data;
  switch (GetBookmarkFlag(buffer)) {
    case bfCurrent:
    case bfInserted:
      InternalSetToRecord(buffer);
      break;
    case bfBOF:
      InternalFirst();
      break;
    case bfEOF:
      InternalLast();
      break;
  }
  currentRecord_ = index;
}

void TDataSet::UpdateCursorPos() {
  if (recordCount_ > 0) SetCurrentRecord(activeRecord_);
}

bool TDataSet::GetNextRecord() {
  if (recordCount_ > 0 && recordCount_ == bufferCount_ && spare_ == spAfter) {
    // The spare buffer still holds the record after the last one.
    MoveBuffer(0, recordCount_);
    currentRecord_ = currentRecord_ > 0 ? currentRecord_ - 1 : -1;
    spare_ = spBefore;
    return true;
  }
  TGetMode mode = gmNext;
  if (recordCount_ > 0) {
    SetCurrentRecord(recordCount_ - 1);
    // A record inserted in the last buffer stands before the cursor's record,
    // which is the one to fetch next.
    if (state_ == dsInsert && GetBookmarkFlag(Slot(recordCount_ - 1).data) == bfInserted)
      mode = gmCurrent;
  }
  if (GetRecord(Slot(recordCount_).data, mode, true) != grOK) {
    CursorPosChanged();
    return false;
  }
  if (recordCount_ == 0) {
    ActivateBuffers();
  } else if (recordCount_ < bufferCount_) {
    ++recordCount_;
    spare_ = spNone;
  } else {
    MoveBuffer(0, recordCount_);
    spare_ = spBefore;
  }
  currentRecord_ = recordCount_ - 1;
  CalculateSlot(Slot(recordCount_ - 1));
  return true;
}

bool TDataSet::FetchPrior(bool adjustLinks) {
  if (recordCount_ > 0 && recordCount_ == bufferCount_ && spare_ == spBefore) {
    // The spare buffer still holds the record before the first one.
    MoveBuffer(recordCount_, 0);
    currentRecord_ =
        currentRecord_ >= 0 && currentRecord_ < recordCount_ - 1 ? currentRecord_ + 1 : -1;
    spare_ = spAfter;
    return true;
  }
  if (recordCount_ > 0) SetCurrentRecord(0);
  if (GetRecord(Slot(recordCount_).data, gmPrior, true) != grOK) {
    CursorPosChanged();
    return false;
  }
  if (recordCount_ == 0) {
    ActivateBuffers();
  } else {
    bool full = recordCount_ == bufferCount_;
    MoveBuffer(recordCount_, 0);
    if (full) {
      spare_ = spAfter;
    } else {
      ++recordCount_;
      ++activeRecord_;
      if (adjustLinks) AdjustLinkFirst(1);
      spare_ = spNone;
    }
  }
  currentRecord_ = 0;
  CalculateSlot(Slot(0));
  return true;
}

bool TDataSet::GetPriorRecord() {
  return FetchPrior(true);
}

Integer TDataSet::GetNextRecords() {
  Integer n = 0;
  while (recordCount_ < bufferCount_ && GetNextRecord()) ++n;
  return n;
}

Integer TDataSet::GetPriorRecords() {
  Integer n = 0;
  while (recordCount_ < bufferCount_ && FetchPrior(false)) ++n;
  return n;
}

void TDataSet::AdjustLinkFirst(Integer delta) {
  if (delta == 0) return;
  ForEachLink([&](TDataLink* l) {
    if (l->active_) l->firstRecord_ += delta;
  });
}

void TDataSet::Resync(TResyncMode mode) {
  spare_ = spNone;
  TRecordBuffer temp = Slot(recordCount_).data;
  if (mode.Contains(rmExact)) {
    CursorPosChanged();
    if (GetRecord(temp, gmCurrent, true) != grOK) DatabaseError(res::SRecordNotFound);
  } else if (GetRecord(temp, gmCurrent, false) != grOK && GetRecord(temp, gmNext, false) != grOK &&
             GetRecord(temp, gmPrior, false) != grOK) {
    ClearBuffers();
    DataEvent(deDataSetChange, dchKeep);
    return;
  }
  Integer count = mode.Contains(rmCenter) ? (bufferCount_ - 1) / 2 : activeRecord_;
  TDataChangeHint hint = mode.Contains(rmCenter) ? dchCenter : dchKeep;
  MoveBuffer(recordCount_, 0);
  ActivateBuffers();
  WorkThenFinish(
      [&] {
        CalculateSlot(Slot(0));
        while (count > 0 && FetchPrior(false)) --count;
        GetNextRecords();
        GetPriorRecords();
      },
      [&] { DataEvent(deDataSetChange, hint); });
}

void TDataSet::SetBufferCount(Integer value, TDataLink* resizing) {
  if (value == bufferCount_ || slots_.empty()) return;
  spare_ = spNone;
  std::vector<TBufferSlot> lin;
  lin.reserve(static_cast<std::size_t>(std::max(value, bufferCount_)) + 1);
  for (Integer i = 0; i <= bufferCount_; ++i) lin.push_back(std::move(Slot(i)));
  head_ = 0;
  if (value < bufferCount_) {
    Integer drop = recordCount_ > 0 ? ShrinkStart(value, resizing) : 0;
    std::vector<TBufferSlot> kept;
    kept.reserve(static_cast<std::size_t>(value) + 1);
    for (Integer i = drop; i < drop + value; ++i)
      kept.push_back(std::move(lin[static_cast<std::size_t>(i)]));
    // One of the others becomes the spare; the rest are freed.
    bool haveSpare = false;
    for (Integer i = 0; i < static_cast<Integer>(lin.size()); ++i) {
      if (i >= drop && i < drop + value) continue;
      if (!haveSpare) {
        kept.push_back(std::move(lin[static_cast<std::size_t>(i)]));
        haveSpare = true;
      } else {
        FreeSlot(lin[static_cast<std::size_t>(i)]);
      }
    }
    slots_ = std::move(kept);
    recordCount_ = std::clamp(recordCount_ - drop, 0, value);
    activeRecord_ -= drop;
    currentRecord_ =
        currentRecord_ >= drop && currentRecord_ < drop + recordCount_ ? currentRecord_ - drop : -1;
    bufferCount_ = value;
    AdjustLinkFirst(-drop);
  } else {
    lin.resize(static_cast<std::size_t>(value) + 1);
    for (auto& s : lin)
      if (!s.data) AllocSlot(s);
    slots_ = std::move(lin);
    bufferCount_ = value;
  }
  if (recordCount_ > 0) {
    GetNextRecords();
    while (recordCount_ < bufferCount_ && FetchPrior(true)) {
    }
  }
}

Integer TDataSet::ShrinkStart(Integer value, TDataLink* resizing) const {
  Integer ar = activeRecord_;
  Integer uMin = ar, uMax = ar + 1;
  ForEachLink([&](TDataLink* l) {
    if (!l->active_) return;
    Integer bc = l->bufferCount_;
    Integer f = l->firstRecord_;
    if (l == resizing) f = std::clamp(f, ar - bc + 1, ar);
    uMin = std::min(uMin, std::max(f, 0));
    uMax = std::max(uMax, std::min(f + bc, recordCount_));
  });
  Integer s = std::min(std::max(uMax - value, 0), uMin);
  return std::clamp(s, std::max(0, ar - value + 1), ar);
}

void TDataSet::UpdateBufferCount(TDataLink* resizing) {
  if (!Active() || slots_.empty()) return;
  Integer count = 1;
  ForEachLink([&](TDataLink* l) { count = std::max(count, l->bufferCount_); });
  if (count == bufferCount_) return;
  // Other links keep their records where the buffers allow; those whose rows
  // changed hear about it once.
  struct TView {
    TDataLink* link;
    Integer records;
  };
  std::vector<TView> views;
  ForEachLink([&](TDataLink* l) {
    if (l->active_ && l != resizing) views.push_back({l, l->RecordCount()});
  });
  SetBufferCount(count, resizing);
  std::vector<TDataLink*> changed;
  for (const TView& v : views) {
    Integer before = v.link->firstRecord_;
    v.link->ClampWindow();
    if (v.link->firstRecord_ != before || v.link->RecordCount() != v.records)
      changed.push_back(v.link);
  }
  if (resizing_ || changed.empty()) return;
  TTemporaryChange resizingNow(resizing_, true);
  for (TDataLink* l : changed) {
    TDataSource* s = l->dataSource_;
    bool attached = false;
    for (TDataSource* d : dataSources_)
      if (d == s && s->HasLink(l)) attached = true;
    if (!attached || !l->active_) continue;
    if (disableCount_ > 0 && l->visualControl_) continue;
    l->DataSetChanged();
  }
}

// ==== data sources and notifications ================================================

void TDataSet::AddDataSource(TDataSource* source) {
  if (std::find(dataSources_.begin(), dataSources_.end(), source) == dataSources_.end())
    dataSources_.push_back(source);
  UpdateBufferCount(nullptr);
}

void TDataSet::RemoveDataSource(TDataSource* source) {
  auto it = std::find(dataSources_.begin(), dataSources_.end(), source);
  if (it != dataSources_.end()) dataSources_.erase(it);
  if (!IsDestroying()) UpdateBufferCount(nullptr);
}

void TDataSet::ForEachLink(const std::function<void(TDataLink*)>& f) const {
  for (TDataSource* s : dataSources_)
    for (TDataLink* l : s->links_) f(l);
}

void TDataSet::DataEvent(TDataEvent event, intptr_t info) {
  switch (event) {
    case deFieldChange: {
      auto* field = reinterpret_cast<TField*>(info);
      if (field->FieldKind() == fkData || field->FieldKind() == fkInternalCalc) modified_ = true;
      if (hasCalcFields_ && autoCalcFields_ && state_ != dsSetKey && recordCount_ > 0 &&
          !fieldSlot_)
        CalculateSlot(Slot(activeRecord_));
      field->Change();
      break;
    }
    case deLayoutChange:
      if (disableCount_ > 0) disabledLayoutChanged_ = true;
      break;
    default:
      break;
  }
  NotifySources(event, info, dsAllLinks);
}

void TDataSet::NotifySources(TDataEvent event, intptr_t info, TDispatchScope scope) {
  bool visualOnly = scope == dsVisualOnly;
  bool silenceVisual = !visualOnly && disableCount_ > 0 && IsDisplayEvent(event);
  if (event == deUpdateState) {
    TDataSource::UpdateStates(dataSources_, silenceVisual, visualOnly);
    return;
  }
  // Pass 1: every link's window follows the buffers, silenced or not. Pass 2:
  // the notifications, each to a link still attached (handlers may detach
  // links or re-enter the dataset).
  if (static_cast<std::size_t>(dispatchDepth_) >= dispatchPool_.size())
    dispatchPool_.push_back(std::make_unique<TDispatch>());
  TDispatch& d = *dispatchPool_[static_cast<std::size_t>(dispatchDepth_)];
  d.deliveries.clear();
  d.sources.assign(dataSources_.begin(), dataSources_.end());
  for (TDataSource* s : dataSources_) {
    for (TDataLink* l : s->links_) {
      if (!l->active_) continue;
      Integer distance = IsWindowEvent(event) ? l->UpdateWindow(event, info) : 0;
      bool deliver = visualOnly ? l->visualControl_ : !(silenceVisual && l->visualControl_);
      if (deliver) d.deliveries.push_back({s, l, distance});
    }
  }
  auto attached = [this](TDataSource* s) {
    return std::find(dataSources_.begin(), dataSources_.end(), s) != dataSources_.end();
  };
  ++dispatchDepth_;
  TScopeGuard leave([this] { --dispatchDepth_; });
  for (const TDelivery& item : d.deliveries) {
    if (!attached(item.source) || !item.source->HasLink(item.link) || !item.link->active_) continue;
    if (event == deFocusControl && !*reinterpret_cast<TField**>(info)) break;
    item.link->Notify(event, info, item.distance);
  }
  if (!silenceVisual) {
    for (TDataSource* s : d.sources) {
      if (!attached(s)) continue;
      switch (event) {
        case deFieldChange:
        case deRecordChange:
          s->OnDataChange(s, reinterpret_cast<TField*>(info));
          break;
        case deDataSetChange:
        case deDataSetScroll:
        case deLayoutChange:
          s->OnDataChange(s, nullptr);
          break;
        case deUpdateRecord:
          s->OnUpdateData(s);
          break;
        default:
          break;
      }
    }
  }
}

void TDataSet::DisableControls() {
  if (disableCount_++ == 0) disabledLayoutChanged_ = false;
}

void TDataSet::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ > 0) return;
  NotifySources(deUpdateState, 0, dsVisualOnly);
  if (Active())
    NotifySources(disabledLayoutChanged_ ? deLayoutChange : deDataSetChange, dchKeep, dsVisualOnly);
  disabledLayoutChanged_ = false;
}

// ==== navigation ============================================================================

void TDataSet::First() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  WorkThenFinish(
      [this] {
        InternalFirst();
        GetNextRecords();
      },
      [this] {
        bof_ = true;
        DataEvent(deDataSetChange, dchKeep);
      });
  DoAfterScroll();
}

void TDataSet::Last() {
  CheckBrowseMode();
  DoBeforeScroll();
  ClearBuffers();
  WorkThenFinish(
      [this] {
        InternalLast();
        GetPriorRecords();
      },
      [this] {
        eof_ = true;
        DataEvent(deDataSetChange, dchKeep);
      });
  DoAfterScroll();
}

Integer TDataSet::MoveBy(Integer distance) {
  CheckBrowseMode();
  if (distance == 0) return 0;
  if ((distance > 0 && eof_) || (distance < 0 && bof_)) return 0;
  DoBeforeScroll();
  bof_ = false;
  eof_ = false;
  Integer moved = 0;
  Integer shift = 0;
  WorkThenFinish(
      [&] {
        while (distance > 0) {
          if (activeRecord_ < recordCount_ - 1) {
            ++activeRecord_;
          } else {
            bool full = recordCount_ == bufferCount_;
            if (recordCount_ == 0 || !GetNextRecord()) {
              eof_ = true;
              break;
            }
            if (full)
              ++shift;
            else
              ++activeRecord_;
          }
          --distance;
          ++moved;
        }
        while (distance < 0) {
          if (activeRecord_ > 0) {
            --activeRecord_;
          } else {
            bool full = recordCount_ == bufferCount_;
            if (recordCount_ == 0 || !FetchPrior(true)) {
              bof_ = true;
              break;
            }
            if (full)
              --shift;
            else
              activeRecord_ = 0;
          }
          ++distance;
          --moved;
        }
      },
      [&] { DataEvent(deDataSetScroll, shift); });
  DoAfterScroll();
  return moved;
}

Integer TDataSet::RecNo() {
  if (!Active()) return -1;
  return GetRecNo();
}

void TDataSet::SetRecNo(Integer value) {
  CheckBrowseMode();
  Integer current = RecNo();
  if (value == current) return;
  if (IsSequenced()) {
    if (value < 1 || value > RecordCount()) return;
    DoBeforeScroll();
    if (InternalSetRecNo(value)) {
      Resync({rmExact, rmCenter});
      DoAfterScroll();
      return;
    }
  }
  if (current > 0 && value > 0) MoveBy(value - current);
}

Integer TDataSet::RecordCount() {
  return Active() ? GetRecordCount() : 0;
}

// ---- bookmarks ------------------------------------------------------------------

bool TDataSet::BookmarkAvailable() {
  return Active() && recordCount_ > 0 && GetBookmarkFlag(ActiveBuffer()) == bfCurrent;
}

TBookmark TDataSet::Bookmark() {
  if (!BookmarkAvailable()) return TBookmark();
  TBookmark b(static_cast<std::size_t>(bookmarkSize_), '\0');
  GetBookmarkData(ActiveBuffer(), b.data());
  return b;
}

void TDataSet::GotoBookmark(const TBookmark& bookmark) {
  if (bookmark.empty()) return;
  CheckBrowseMode();
  if (static_cast<Integer>(bookmark.size()) != bookmarkSize_) DatabaseError(res::SInvalidBookmark);
  DoBeforeScroll();
  {
    TScopeGuard lost([this] { CursorPosChanged(); });
    InternalGotoBookmark(bookmark.data());
    lost.Dismiss();
  }
  Resync({rmExact, rmCenter});
  DoAfterScroll();
}

bool TDataSet::BookmarkValid(const TBookmark& bookmark) {
  (void)bookmark;
  return false;
}

Integer TDataSet::CompareBookmarks(const TBookmark& b1, const TBookmark& b2) {
  (void)b1;
  (void)b2;
  return 0;
}

// ==== consistency checks ====================================================================

#if BV_DATASET_CHECKS

namespace {

void Require(bool holds, const char* rule) {
  if (!holds) throw std::logic_error(String("dataset buffer rule broken: ") + rule);
}

}  // namespace

void TDataSet::CheckBufferInvariants() const {
  if (!Active()) {
    Require(slots_.empty(), "a closed dataset holds no buffers");
    Require(recordCount_ == 0, "a closed dataset buffers no records");
    return;
  }
  Integer wanted = 1;
  ForEachLink([&](TDataLink* l) { wanted = std::max(wanted, l->bufferCount_); });
  Require(bufferCount_ == wanted, "BufferCount is the largest link BufferCount, at least 1");
  Require(slots_.size() == static_cast<std::size_t>(bufferCount_) + 1,
          "the ring holds BufferCount buffers and one spare");
  Require(head_ >= 0 && head_ < static_cast<Integer>(slots_.size()),
          "the ring's head is one of its slots");
  for (std::size_t i = 0; i < slots_.size(); ++i) {
    Require(slots_[i].data != nullptr, "every slot owns a record buffer");
    for (std::size_t j = 0; j < i; ++j)
      Require(slots_[i].data != slots_[j].data, "no two slots share a record buffer");
  }
  Require(recordCount_ >= 0 && recordCount_ <= bufferCount_,
          "BufferedRecords lies within 0 .. BufferCount");
  if (recordCount_ == 0) {
    Require(activeRecord_ == 0, "without records the active buffer is the first");
  } else {
    Require(activeRecord_ >= 0 && activeRecord_ < recordCount_, "the active buffer holds a record");
  }
  bool editing = state_ == dsEdit || state_ == dsInsert;
  Require(!editing || editBuffer_ == Slot(activeRecord_).data,
          "the record being edited is the active buffer's");
  ForEachLink([&](TDataLink* l) {
    if (!l->active_ || recordCount_ == 0) return;
    Integer first = l->firstRecord_, count = l->bufferCount_;
    Require(first >= 0, "a window starts at a buffer");
    Require(first <= activeRecord_ && activeRecord_ < first + count,
            "every window shows the current record");
    Require(first <= std::max(0, recordCount_ - count), "a window that could be full is full");
  });
}

#endif

}  // namespace brevant
