#include "db/datasource.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/dbconsts.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"

namespace brevant {

BV_PUBLISH(TDataSource, TComponent) {
  p.Property("AutoEdit", &TDataSource::AutoEdit, &TDataSource::SetAutoEdit).Default(true);
  p.Property("DataSet", &TDataSource::DataSet, &TDataSource::SetDataSet);
  p.Property("Enabled", &TDataSource::Enabled, &TDataSource::SetEnabled).Default(true);
  p.Event("OnStateChange", &TDataSource::OnStateChange, "TNotifyEvent");
  p.Event("OnDataChange", &TDataSource::OnDataChange, "TDataChangeEvent");
  p.Event("OnUpdateData", &TDataSource::OnUpdateData, "TNotifyEvent");
}

// ==== TDataSource ======================================================================

TDataSource::TDataSource(TComponent* owner) : TComponent(owner) {}

void TDataSource::BeforeDestruction() {
  OnStateChange.Clear();
  OnDataChange.Clear();
  SetDataSet(nullptr);
  // Fixed links too: the source is going away.
  while (!links_.empty()) RemoveLink(links_.back());
  TComponent::BeforeDestruction();
}

void TDataSource::SetDataSet(TDataSet* value) {
  if (value == dataSet_) return;
  // Links showing the old dataset leave it first: their windows and fields
  // belong to it, so each hears ActiveChanged even when it stays active.
  std::vector<TDataLink*> shown;
  if (dataSet_ && value) shown = DetachActiveLinks();
  if (dataSet_) {
    TDataSet* old = dataSet_;
    dataSet_ = nullptr;
    old->RemoveDataSource(this);
    RemoveFreeNotification(old);
  }
  dataSet_ = value;
  if (dataSet_) {
    dataSet_->FreeNotification(this);
    dataSet_->AddDataSource(this);
  }
  UpdateStates({this}, false, false);
  // Those that did not become active again hear that they stopped.
  for (TDataLink* link : shown)
    if (HasLink(link) && !link->active_) link->ActiveChanged();
}

std::vector<TDataLink*> TDataSource::DetachActiveLinks() {
  std::vector<TDataLink*> detached;
  for (TDataLink* link : links_) {
    if (!link->active_) continue;
    link->active_ = false;
    link->firstRecord_ = 0;
    detached.push_back(link);
  }
  return detached;
}

TDataSetState TDataSource::State() const {
  return enabled_ && dataSet_ ? dataSet_->State() : dsInactive;
}

void TDataSource::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  UpdateStates({this}, false, false);
}

void TDataSource::Edit() {
  if (autoEdit_ && dataSet_ && State() == dsBrowse) dataSet_->Edit();
}

Integer TDataSource::LinkCount() const {
  return static_cast<Integer>(links_.size());
}

bool TDataSource::HasLink(const TDataLink* link) const {
  return std::find(links_.begin(), links_.end(), link) != links_.end();
}

void TDataSource::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component && component == dataSet_) SetDataSet(nullptr);
}

void TDataSource::AddLink(TDataLink* link) {
  links_.push_back(link);
  link->dataSource_ = this;
  if (dataSet_) dataSet_->UpdateBufferCount(nullptr);
  UpdateStates({this}, false, false);
}

void TDataSource::RemoveLink(TDataLink* link) {
  auto it = std::find(links_.begin(), links_.end(), link);
  if (it != links_.end()) links_.erase(it);
  link->dataSource_ = nullptr;
  bool wasActive = link->active_;
  link->active_ = false;
  link->editing_ = false;
  link->firstRecord_ = 0;
  if (dataSet_) dataSet_->UpdateBufferCount(nullptr);
  if (wasActive) link->ActiveChanged();
}

void TDataSource::UpdateStates(const std::vector<TDataSource*>& sources, bool silenceVisual,
                               bool visualOnly) {
  struct TChange {
    TDataSource* source;
    TDataLink* link;
    bool active;
    bool editing;
  };
  std::vector<TChange> changes;
  for (TDataSource* s : sources) {
    TDataSet* ds = s->dataSet_;
    bool active = s->enabled_ && ds && ds->Active();
    for (TDataLink* l : s->links_) {
      if (visualOnly && !l->visualControl_) continue;
      bool activeChanged = l->active_ != active;
      if (activeChanged) {
        l->active_ = active;
        l->firstRecord_ = 0;
        if (active) l->ClampWindow();
      }
      bool editing = active && IsEditState(ds->State()) && !l->readOnly_;
      bool editingChanged = false;
      if (editing != l->editing_ && !(silenceVisual && l->visualControl_)) {
        l->editing_ = editing;
        editingChanged = true;
      }
      if (activeChanged || editingChanged) changes.push_back({s, l, activeChanged, editingChanged});
    }
  }
  for (const TChange& c : changes) {
    if (!c.source->HasLink(c.link)) continue;
    if (c.active) c.link->ActiveChanged();
    if (c.editing && c.source->HasLink(c.link)) c.link->EditingChanged();
  }
  if (silenceVisual) return;
  for (TDataSource* s : sources) {
    TDataSetState st = s->State();
    if (st != s->lastState_) {
      s->lastState_ = st;
      s->OnStateChange(s);
    }
  }
}

// ==== TDataLink =========================================================================

TDataLink::TDataLink() = default;

TDataLink::~TDataLink() {
  if (dataSource_) {
    TDataSource* s = dataSource_;
    auto it = std::find(s->links_.begin(), s->links_.end(), this);
    if (it != s->links_.end()) s->links_.erase(it);
    dataSource_ = nullptr;
    active_ = false;
    if (s->dataSet_) s->dataSet_->UpdateBufferCount(nullptr);
  }
}

void TDataLink::SetDataSource(TDataSource* value) {
  if (value == dataSource_) return;
  if (dataSourceFixed_) DatabaseError(res::SDataSourceFixed);
  if (dataSource_) dataSource_->RemoveLink(this);
  if (value) value->AddLink(this);
}

TDataSet* TDataLink::DataSet() const {
  return dataSource_ ? dataSource_->DataSet() : nullptr;
}

bool TDataLink::Editing() const {
  TDataSet* ds = DataSet();
  return active_ && ds && IsEditState(ds->State()) && !readOnly_;
}

void TDataLink::SetReadOnly(bool value) {
  if (value == readOnly_) return;
  readOnly_ = value;
  UpdateEditing();
}

void TDataLink::UpdateEditing() {
  bool editing = Editing();
  if (editing == editing_) return;
  editing_ = editing;
  EditingChanged();
}

void TDataLink::SetBufferCount(Integer value) {
  if (value < 1) DatabaseErrorFmt(res::SBufferCountRange, {value});
  if (value == bufferCount_) return;
  bufferCount_ = value;
  if (TDataSet* ds = DataSet()) ds->UpdateBufferCount(this);
  ClampWindow();
}

Integer TDataLink::ActiveRecord() const {
  TDataSet* ds = DataSet();
  if (!active_ || !ds || ds->State() == dsSetKey) return 0;
  return ds->activeRecord_ - firstRecord_;
}

void TDataLink::SetActiveRecord(Integer value) {
  TDataSet* ds = DataSet();
  if (!active_ || !ds || ds->State() == dsSetKey) return;
  Integer rows = std::max(RecordCount(), 1);
  if (value < 0 || value >= rows) DatabaseErrorFmt(res::SActiveRecordRange, {value, rows});
  ds->activeRecord_ = firstRecord_ + value;
}

Integer TDataLink::RecordCount() const {
  TDataSet* ds = DataSet();
  if (!active_ || !ds) return 0;
  return std::clamp(ds->recordCount_ - firstRecord_, 0, bufferCount_);
}

bool TDataLink::Edit() {
  if (!readOnly_ && dataSource_) dataSource_->Edit();
  return Editing();
}

void TDataLink::UpdateRecord() {
  TTemporaryChange updatingNow(updating_, true);
  UpdateData();
}

bool TDataLink::FetchNextRecord() {
  TDataSet* ds = DataSet();
  return active_ && ds && ds->GetNextRecord();
}

bool TDataLink::FetchPriorRecord() {
  TDataSet* ds = DataSet();
  return active_ && ds && ds->GetPriorRecord();
}

void TDataLink::ClampWindow() {
  TDataSet* ds = DataSet();
  if (!active_ || !ds) return;
  Integer rc = ds->recordCount_, ar = ds->activeRecord_;
  if (rc <= 0) {
    firstRecord_ = 0;
    return;
  }
  firstRecord_ = std::clamp(firstRecord_, ar - bufferCount_ + 1, ar);
  if (firstRecord_ > rc - bufferCount_) firstRecord_ = std::max(rc - bufferCount_, 0);
  if (firstRecord_ < 0) firstRecord_ = 0;
}

Integer TDataLink::UpdateWindow(TDataEvent event, intptr_t info) {
  TDataSet* ds = DataSet();
  Integer before = firstRecord_;
  Integer shift = 0;
  if (event == deDataSetScroll) {
    shift = static_cast<Integer>(info);
    firstRecord_ -= shift;
  } else if (event == deDataSetChange && info == dchCenter && ds) {
    firstRecord_ = ds->activeRecord_ - (bufferCount_ - 1) / 2;
  }
  ClampWindow();
  return firstRecord_ - before + shift;
}

void TDataLink::Notify(TDataEvent event, intptr_t info, Integer distance) {
  switch (event) {
    case deFieldChange:
    case deRecordChange:
      if (!updating_) RecordChanged(reinterpret_cast<TField*>(info));
      break;
    case deDataSetChange:
      DataSetChanged();
      break;
    case deDataSetScroll:
      DataSetScrolled(distance);
      break;
    case deLayoutChange:
      LayoutChanged();
      break;
    case deUpdateRecord:
      UpdateRecord();
      break;
    case deCheckBrowseMode:
      CheckBrowseMode();
      break;
    case deFocusControl:
      FocusControl(*reinterpret_cast<TField**>(info));
      break;
    default:
      break;
  }
}

}  // namespace brevant
