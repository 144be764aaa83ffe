// The grid's side of in-place editing: opening, closing, posting and
// cancelling around its TtlInplaceEdit, and what entering and leaving the
// grid do to an edit.
#include "backend/codes.h"
#include "bv/column.h"
#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/inplace_edit.h"
#include "bv/tabulon.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "rtl/scope.h"

namespace brevant {

bool TtlColumn::RequestEdit() {
  TDBTabulon* grid = Grid();
  if (!grid || !CanModify()) return false;
  if (grid->CurrentColumnObject() != this) {
    if (!IsSelectable()) return false;
    grid->SelectColumn(Index());
  }
  if (!fieldList_->CanEdit() || grid->CurrentColumnObject() != this) return false;
  return grid->OpenEditor(this);
}

bool TDBTabulon::AlwaysEditing() const {
  return optionsEdit_.Contains(geoAlwaysShowEditor) && cursorType_ == gctSensitive && showsRows_;
}

bool TDBTabulon::OpenEditor(TtlColumn* column) {
  if (!column || !dataSet_ || !dataSet_->Active() || !dataLink_->Active()) return false;
  TtlFieldList* fields = column->FieldList();
  if (!fields->Active() || !fields->CanEdit()) return false;
  if (!column->EffectiveVision()->AllowEdit(fields)) return false;
  bool doEdit = true;
  if (BeforeFieldEdit) BeforeFieldEdit(this, column, doEdit);
  if (!doEdit) return false;
  if (!inplaceEdit_) inplaceEdit_ = Create<TtlInplaceEdit>(this);
  TtlInplaceEdit* editor = inplaceEdit_;
  editor->SetWantTabs(wantTabs_ && !rowSelect_);
  {
    const TTemporaryChange<bool> initing(initingEditor_, true);
    if (HandleAllocated()) {
      TMsg pending;
      while (PeekMessage(pending, WindowHandle(), WM_KEYUP, WM_KEYUP, PM_REMOVE)) {
      }
      while (PeekMessage(pending, WindowHandle(), WM_CHAR, WM_CHAR, PM_REMOVE)) {
      }
    }
    editor->Attach(column);
    editedColumn_ = column;
    editor->Place();
    if (OnInitEdit) OnInitEdit(this);
    editorShown_ = true;
    ++editorOpens_;
    editor->SetVisible(true);
    if (editor->CanFocus()) editor->SetFocus();
    editor->SelectAll();
  }
  return true;
}

void TDBTabulon::CloseEditor(TtlFieldEditAction action, bool keep) {
  if (!editorShown_ || !inplaceEdit_ || action == feaNone) return;
  keep = keep && AlwaysEditing();
  if (action != feaClose)
    PostEditor(action, keep);
  else if (keep)
    inplaceEdit_->ResetText();
  else
    HideEditor();
  if (keep) SyncEditor();
}

void TDBTabulon::HideEditor() {
  TtlInplaceEdit* editor = inplaceEdit_;
  const TTemporaryChange<bool> closing(closingEditor_, true);
  // The focus comes back before the editor goes, so it never falls to
  // the form on the way.
  if (editor->Focused() && CanFocus()) SetFocus();
  editor->Detach();
  editor->SetDataSource(nullptr);
  editedColumn_ = nullptr;
  editorShown_ = false;
  SetSwitchedCell(nullptr, -1);
}

void TDBTabulon::PostEditor(TtlFieldEditAction action, bool keep) {
  TtlInplaceEdit* editor = inplaceEdit_;
  TFieldListUpdate update(*editor->FieldList());
  bool posted = false;
  {
    TScopeGuard selectOnFailure([editor] { editor->SelectAll(); });
    posted = editor->EditState() && editor->PostIfEditing();
    selectOnFailure.Dismiss();
  }
  // Before a step the editor stays until the grid has moved: a move the
  // dataset refuses (a record post that fails) leaves it open on its cell
  // with the user's value. The move itself closes it or, by a quick edit,
  // reopens it elsewhere.
  const bool mayStep = action >= feaLeft && action <= feaNext;
  if (!keep && !mayStep) HideEditor();
  editor->SetActionCode(action == feaPost ? feaNone : action);
  update.Finish(posted);
  const TtlFieldEditAction next = editor->ActionCode();
  const Cardinal opens = editorOpens_;
  if (next >= feaLeft && next <= feaNext) StepCell(next, GetKeyState(VK_SHIFT) < 0);
  if (keep || !mayStep || editorOpens_ != opens) return;
  // Closed by the move or now: the action is the one that closed it.
  if (editorShown_) HideEditor();
  editor->SetActionCode(next);
}

void TDBTabulon::PostEditorForUpdate() {
  // The record is being posted by someone else: the editor's value goes
  // into the field and the editor stays as it is.
  if (editorShown_ && inplaceEdit_) PostEditor(feaPost, true);
}

void TDBTabulon::SyncEditor() {
  if (!editorShown_ || !inplaceEdit_ || initingEditor_ || closingEditor_) return;
  TtlColumn* column = editedColumn_;
  const bool visible = column && column->Visible() && showsRows_ &&
                       !IsRectEmpty(column->CellRect(activeRow_, false, false));
  if (!visible) {
    CloseEditor(feaClose, false);
    return;
  }
  inplaceEdit_->Place();
  // Text the user has not posted yet stays: only an untouched value is
  // loaded again.
  if (!inplaceEdit_->ValueModified()) inplaceEdit_->ResetText();
}

void TDBTabulon::PostRecord() {
  if (!dataLink_->Active() || !dataLink_->Editing()) {
    CloseEditor(feaClose, true);
    return;
  }
  const TTemporaryChange<bool> posting(gridPosting_, true);
  // MoveBy(0) runs the browse-mode check: a modified new record is posted,
  // an untouched one discarded.
  if (dataSet_->State() == dsInsert)
    dataSet_->MoveBy(0);
  else
    dataSet_->Post();
}

void TDBTabulon::CancelRecord() {
  if (dataLink_->Active() && dataLink_->Editing())
    dataSet_->Cancel();
  else
    CloseEditor(feaClose, true);
}

bool TDBTabulon::QuickEdit(TtlColumn* column, TtlOptionEdit option) {
  if (!column || !dataLink_->Active() || !dataLink_->Editing() || optionsEdit_.Contains(option))
    return false;
  column->RequestEdit();
  return true;
}

void TDBTabulon::SetSwitchedCell(TtlColumn* column, Integer row) {
  if (column == switchedColumn_ && row == switchedRow_) return;
  if (switchedColumn_ && switchedRow_ >= 0) InvalidateCell(switchedColumn_, switchedRow_);
  switchedColumn_ = column;
  switchedRow_ = column ? row : -1;
  if (switchedColumn_ && switchedRow_ >= 0) InvalidateCell(switchedColumn_, switchedRow_);
}

void TDBTabulon::EditedColumnRemoving(TtlColumn* column) {
  if (column == switchedColumn_) {
    switchedColumn_ = nullptr;
    switchedRow_ = -1;
  }
  if (column != editedColumn_ || !editorShown_ || !inplaceEdit_ || destroying_) return;
  HideEditor();
}

void TDBTabulon::EditorRemoving(TComponent* component) {
  if (!component || component != inplaceEdit_) return;
  inplaceEdit_ = nullptr;
  editedColumn_ = nullptr;
  editorShown_ = false;
}

// ---- focus ----

void TDBTabulon::CMEnter(TMessage& message) {
  TCustomControl::CMEnter(message);
  if (closingEditor_) return;
  hadFocus_ = true;
  InvalidateRow(cursorRow_);
  if (AlwaysEditing() && !editorShown_ && currentColumnObj_) OpenEditor(currentColumnObj_);
}

void TDBTabulon::CMExit(TMessage& message) {
  if (!closingEditor_) {
    hadFocus_ = false;
    InvalidateRow(cursorRow_);
    if (dataLink_->Active()) FinishEditsOnExit();
  }
  TCustomControl::CMExit(message);
}

// A failure propagates: the form keeps the focus where it was, inside the
// grid.
void TDBTabulon::FinishEditsOnExit() {
  if (optionsEdit_.Contains(geoNoEditActionOnExit))
    CloseEditor(optionsEdit_.Contains(geoCancelFieldOnExit) ? feaClose : feaPost, false);
  else if (optionsEdit_.Contains(geoCancelRecordOnExit))
    CancelRecord();
  else
    PostRecord();
  CloseEditor(feaClose, false);
}

}  // namespace brevant
