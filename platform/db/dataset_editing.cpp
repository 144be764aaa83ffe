// Editing a dataset: the browse-mode check, edit, insert and append, post,
// cancel and delete with their error events, and adding whole records.
#include <algorithm>

#include "db/dataset.h"
#include "db/datasource.h"
#include "db/dbconsts.h"
#include "db/field_types.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"

namespace brevant {

// ==== editing ===============================================================================

void TDataSet::CheckBrowseMode() {
  CheckActive();
  DataEvent(deCheckBrowseMode, 0);
  switch (state_) {
    case dsEdit:
    case dsInsert:
      UpdateRecord();
      if (modified_)
        Post();
      else
        Cancel();
      break;
    case dsSetKey:
      Post();
      break;
    default:
      break;
  }
}

void TDataSet::UpdateRecord() {
  if (!IsEditState(state_)) DatabaseError(res::SNotEditing);
  DataEvent(deUpdateRecord, 0);
}

void TDataSet::CheckOperation(const std::function<void()>& operation,
                              const TDataSetErrorEvent& onError) {
  for (;;) {
    try {
      UpdateCursorPos();
      operation();
      return;
    } catch (const EAbort&) {
      throw;
    } catch (const Exception& e) {
      TDataAction action = daFail;
      if (onError) onError(this, e, action);
      if (action == daFail) throw;
      if (action == daAbort) Abort();
    }
  }
}

void TDataSet::InitRecord(Integer index) {
  TBufferSlot& slot = Slot(index);
  InternalInitRecord(slot.data);
  ClearCalcArea(slot);
  SetBookmarkFlag(slot.data, bfInserted);
}

void TDataSet::BeginInsertAppend() {
  CheckBrowseMode();
  CheckCanModify();
  BeforeInsert(this);
  DoBeforeScroll();
}

void TDataSet::EndInsertAppend() {
  SetState(dsInsert);
  editBuffer_ = Slot(activeRecord_).data;
  try {
    OnNewRecord(this);
    CalculateSlot(Slot(activeRecord_));
  } catch (...) {
    // Not a scope guard: the undo notifies links (SetState, Resync), whose
    // handlers may raise, and a destructor must not let that through.
    UpdateCursorPos();
    FreeFieldBuffers();
    SetState(dsBrowse);
    Resync({});
    throw;
  }
  modified_ = false;
  DataEvent(deDataSetChange, dchKeep);
  AfterInsert(this);
  DoAfterScroll();
}

void TDataSet::Insert() {
  BeginInsertAppend();
  TBookmark oldCurrent = Bookmark();
  spare_ = spNone;
  MoveBuffer(recordCount_, activeRecord_);
  CursorPosChanged();
  InitRecord(activeRecord_);
  TRecordBuffer buffer = Slot(activeRecord_).data;
  if (recordCount_ == 0 || oldCurrent.empty())
    SetBookmarkFlag(buffer, recordCount_ == 0 ? bfBOF : bfEOF);
  else
    SetBookmarkData(buffer, oldCurrent.data());
  if (recordCount_ < bufferCount_) ++recordCount_;
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Append() {
  BeginInsertAppend();
  ClearBuffers();
  InitRecord(0);
  SetBookmarkFlag(Slot(0).data, bfEOF);
  recordCount_ = 1;
  bof_ = false;
  GetPriorRecords();
  InternalLast();
  CursorPosChanged();
  InternalInsert();
  EndInsertAppend();
}

void TDataSet::Edit() {
  if (state_ == dsEdit || state_ == dsInsert) return;
  if (recordCount_ == 0) {
    Insert();
    return;
  }
  CheckBrowseMode();
  CheckCanModify();
  BeforeEdit(this);
  CheckOperation([this] { InternalEdit(); }, OnEditError);
  CalculateSlot(Slot(activeRecord_));
  SetState(dsEdit);
  editBuffer_ = Slot(activeRecord_).data;
  DataEvent(deRecordChange, 0);
  AfterEdit(this);
}

void TDataSet::CheckRequiredFields() {
  for (TField* f : *fields_) {
    if (f->FieldKind() == fkData && f->Required() && !f->ReadOnly() && f->DataType() != ftAutoInc &&
        f->IsNull()) {
      f->FocusControl();
      DatabaseErrorFmt(res::SFieldRequired, {f->DisplayName()});
    }
  }
}

void TDataSet::FreeFieldBuffers() {
  for (TField* f : *fields_)
    if (auto* b = dynamic_cast<TBlobField*>(f)) b->SetModified(false);
}

void TDataSet::Post() {
  UpdateRecord();
  if (state_ != dsEdit && state_ != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  BeforePost(this);
  CheckEditBuffer();
  CheckRequiredFields();
  CheckOperation([this] { InternalPost(); }, OnPostError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync({});
  AfterPost(this);
}

void TDataSet::Cancel() {
  if (state_ != dsEdit && state_ != dsInsert) return;
  DataEvent(deCheckBrowseMode, 0);
  BeforeCancel(this);
  bool scrolls = state_ == dsInsert;
  if (scrolls) DoBeforeScroll();
  UpdateCursorPos();
  InternalCancel();
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync({});
  AfterCancel(this);
  if (scrolls) DoAfterScroll();
}

void TDataSet::Delete() {
  CheckActive();
  if (state_ == dsInsert || state_ == dsSetKey) {
    Cancel();
    return;
  }
  if (recordCount_ == 0) DatabaseError(res::SDataSetEmpty);
  CheckCanModify();
  DataEvent(deCheckBrowseMode, 0);
  BeforeDelete(this);
  DoBeforeScroll();
  CheckOperation([this] { InternalDelete(); }, OnDeleteError);
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync({});
  AfterDelete(this);
  DoAfterScroll();
}

void TDataSet::Refresh() {
  CheckBrowseMode();
  BeforeRefresh(this);
  UpdateCursorPos();
  InternalRefresh();
  Resync({});
  AfterRefresh(this);
}

void TDataSet::ClearFields() {
  if (!IsEditState(state_)) DatabaseError(res::SNotEditing);
  CheckEditBuffer();
  for (TField* f : *fields_)
    if (f->FieldKind() == fkData && !f->ReadOnly()) f->Clear();
}

void TDataSet::SetFields(std::span<const Variant> values) {
  if (!IsEditState(state_)) DatabaseError(res::SNotEditing);
  Integer dataFields = 0;
  for (TField* f : *fields_)
    if (f->FieldKind() == fkData) ++dataFields;
  if (static_cast<Integer>(values.size()) > dataFields)
    DatabaseErrorFmt(res::SRowValueCount, {static_cast<Integer>(values.size()), dataFields});
  std::size_t i = 0;
  for (TField* f : *fields_) {
    if (f->FieldKind() != fkData) continue;
    if (i >= values.size()) break;
    const Variant& v = values[i++];
    if (VarIsEmpty(v)) continue;
    f->SetAsVariant(v);
  }
}

void TDataSet::AddRecord(std::span<const Variant> values, bool append) {
  if (append)
    Append();
  else
    Insert();
  TScopeGuard cancel([this] {
    if (state_ != dsInsert) return;
    try {
      Cancel();
    } catch (...) {
      // The error that stopped the post is the one reported, not a second
      // one from cancelling it.
    }
  });
  SetFields(values);
  UpdateRecord();
  DataEvent(deCheckBrowseMode, 0);
  BeforePost(this);
  CheckEditBuffer();
  CheckRequiredFields();
  CheckOperation([this, append] { InternalAddRecord(Slot(activeRecord_).data, append); },
                 OnPostError);
  cancel.Dismiss();
  FreeFieldBuffers();
  SetState(dsBrowse);
  Resync({});
  AfterPost(this);
}

void TDataSet::InsertRecord(std::initializer_list<Variant> values) {
  AddRecord(std::span<const Variant>(values.begin(), values.size()), false);
}
void TDataSet::AppendRecord(std::initializer_list<Variant> values) {
  AddRecord(std::span<const Variant>(values.begin(), values.size()), true);
}
void TDataSet::InsertRecord(std::span<const Variant> values) {
  AddRecord(values, false);
}
void TDataSet::AppendRecord(std::span<const Variant> values) {
  AddRecord(values, true);
}

}  // namespace brevant
