// TtlInplaceEdit: set-up for a column, placement on the cell, the keys that
// become requests to the grid, and the face the grid paints for switching
// visions.
#include "bv/inplace_edit.h"

#include <algorithm>

#include "backend/codes.h"
#include "bv/column.h"
#include "bv/db_edit_switchers.h"
#include "bv/designer.h"
#include "bv/field_vision.h"
#include "bv/paint_info.h"
#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "bv_rtm/child_font.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "rtl/scope.h"

namespace brevant {

BV_IMPLEMENT_ABSTRACT_CLASS(TtlInplaceEdit, TDBQuentaEdit)

namespace {

bool NoModifier(TShiftState shift) {
  return !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
}

TRect DeflateByMargins(TRect r, const TtlCellMargins* m) {
  if (!m) return r;
  r.Left += m->LeftMargin();
  r.Top += m->TopMargin();
  r.Right -= m->RightMargin();
  r.Bottom -= m->BottomMargin();
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

}  // namespace

TtlInplaceEdit::TtlInplaceEdit(TComponent* owner)
    : TDBQuentaEdit(owner), grid_(dynamic_cast<TDBTabulon*>(owner)) {
  if (!grid_) throw EDBTabulon(bvres::SMethodCancelled, {String("TtlInplaceEdit")});
  SetInPlace(true);
  SetVisible(false);
  SetBorderStyle(bsNoBorder);
  SetAutoSelect(false);
  SetAutoSize(false);
  SetWantReturns(true);
  SetWantTabs(true);
  SetParent(grid_);
}

// ---- set-up and placement ----

void TtlInplaceEdit::Attach(TtlColumn* column) {
  alwaysShown_ = grid_->AlwaysEditing();
  exitReason_ = fpcNone;
  actionCode_ = feaNone;
  pendingKeyAction_ = feaNone;
  column_ = column;
  FieldList()->SetColumn(column);
  // The cell's font: the grid's, the designer's cell font, the column's.
  TFont* font = Font();
  font->Assign(grid_->Font());
  if (TtlDesigner* d = grid_->EffectiveDesigner())
    if (const TChildFont* cellFont = d->CellFontIfAny()) cellFont->ApplyTo(*font);
  if (const TChildFont* own = column->FontIfAny()) own->ApplyTo(*font);
  SetColor(column->Color() == clNone ? grid_->Color() : column->Color());
  {
    const TTemporaryChange<bool> suppress(rebindSuppressed_, true);
    FieldList()->SetDisplayFormat(column->DisplayFormat());
    FieldList()->SetEditFormat(column->EditFormat());
    SetVision(column->Vision());
    SetDataField(column->FieldName());
    SetDataSource(grid_->DataSource());
  }
  Rebind();
  // A new column brings a new vision to set up: edit state starts afresh.
  if (EditState()) {
    SetEditState(false);
    SetEditState(true);
  }
}

void TtlInplaceEdit::Detach() {
  ReleaseInput(nullptr);
  SetEditState(false);
  SetVisible(false);
}

void TtlInplaceEdit::Place() {
  if (!column_) return;
  TRect r = column_->CellRect(grid_->ActiveRow(), false, false);
  const TRect client = grid_->ClientRect();
  r.Right = std::min(r.Right, client.Right);
  r.Bottom = std::min(r.Bottom, client.Bottom);
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  SetBoundsRect(r);
  if (!HandleAllocated()) return;
  // The text sits where the grid draws it: inside the designer's cell
  // margins, a single line placed by the cell's vertical layout.
  TtlDesigner* d = grid_->EffectiveDesigner();
  TRect text = DeflateByMargins(ClientRect(), d ? d->CellMargins() : nullptr);
  if (!EffectiveVision()->MultiLine()) {
    const Integer line = MeasureCanvas()->TextHeight("Wg");
    const Integer room = text.Height() - line;
    if (room > 0 && FieldList()->Layout() == tlCenter) text.Top += room / 2;
    if (room > 0 && FieldList()->Layout() == tlBottom) text.Top += room;
  }
  Perform(EM_SETRECT, 0, reinterpret_cast<LPARAM>(&text));
}

bool TtlInplaceEdit::ValueModified() const {
  return FieldList()->Editing() || Value()->Modified() || Value()->TextModified();
}

// ---- consumer and editor overrides ----

bool TtlInplaceEdit::CanModify() {
  return !ReadOnly();
}

void TtlInplaceEdit::ValuePosted() {
  if (grid_->AfterFieldPost) grid_->AfterFieldPost(grid_, column_, exitReason_, actionCode_);
}

bool TtlInplaceEdit::UpdateTitle() {
  bool changed = TDBQuentaEdit::UpdateTitle();
  TtlFieldList* f = FieldList();
  TTextLayout layout = grid_->VertAlignment();
  const TznDefLayout visionLayout = EffectiveVision()->GetLayout(f);
  if (column_ && column_->VertAlignment() != tlaDefault)
    layout = ToLayout(column_->VertAlignment());
  else if (visionLayout != tlaDefault)
    layout = ToLayout(visionLayout);
  if (layout != f->Layout()) {
    f->SetLayout(layout);
    changed = true;
  }
  return changed;
}

bool TtlInplaceEdit::PostThroughGrid(bool) {
  grid_->CloseEditor(feaPost, true);
  return !grid_->EditorShown();
}

TRect TtlInplaceEdit::FaceContentRect(const TRect& rect) {
  TtlDesigner* d = grid_->EffectiveDesigner();
  return DeflateByMargins(rect, d ? d->CellMargins() : nullptr);
}

// ---- requests to the grid ----

void TtlInplaceEdit::RequestClose(TtlFieldPostCode reason, TtlFieldEditAction action) {
  exitReason_ = reason;
  TAliveGuard alive(this);
  TScopeGuard reset([this, &alive] {
    if (alive.Alive()) exitReason_ = fpcNone;
  });
  grid_->CloseEditor(action, true);
}

bool TtlInplaceEdit::MultiLineKeeps(bool wants, TShiftState shift) {
  if (!EffectiveVision()->MultiLine()) return false;
  return wants ? NoModifier(shift) : shift.Contains(ssCtrl);
}

bool TtlInplaceEdit::MovesWithoutClosing() {
  return CustomSurface() || (alwaysShown_ && !FieldList()->Editing());
}

void TtlInplaceEdit::EscapePressed() {
  if (ToolForm())
    TDBQuentaEdit::EscapePressed();
  else
    RequestClose(fpcNone, feaClose);
}

bool TtlInplaceEdit::ReturnPressed(TShiftState shift) {
  if (ToolForm()) return TDBQuentaEdit::ReturnPressed(shift);
  if (MultiLineKeeps(EffectiveVision()->WantReturns(), shift)) return false;
  RequestClose(fpcReturn, feaPost);
  return true;
}

bool TtlInplaceEdit::VerticalArrow(bool up, TShiftState shift) {
  if (EffectiveVision()->MultiLine()) return false;
  if (shift.Contains(ssCtrl) && TDBQuentaEdit::VerticalArrow(up, shift)) return true;
  RequestClose(fpcArrow, up ? feaUp : feaDown);
  return true;
}

bool TtlInplaceEdit::HorizontalArrow(bool left) {
  if (!MovesWithoutClosing()) return false;
  grid_->StepCell(left ? feaLeft : feaRight, false);
  return true;
}

bool TtlInplaceEdit::TabPressed(TShiftState shift) {
  TAliveGuard alive(this);
  TDBQuentaEdit::TabPressed(shift);
  if (!alive.Alive()) return true;
  if (MultiLineKeeps(EffectiveVision()->WantTabs(), shift)) return false;
  RequestClose(fpcTab, shift.Contains(ssShift) ? feaPrior : feaNext);
  return true;
}

void TtlInplaceEdit::ForwardWheel(TMessage& message) {
  grid_->Perform(message.Msg, message.WParam, message.LParam);
}

// ---- keys ----

bool TtlInplaceEdit::ForwardToGrid(Word key, TShiftState shift) {
  if (!alwaysShown_ || FieldList()->Editing()) return false;
  const bool paging = key == VK_PRIOR || key == VK_NEXT || key == VK_END || key == VK_HOME;
  const bool plain =
      (key == VK_RETURN || key == VK_ESCAPE || key == VK_INSERT) && NoModifier(shift);
  if (!paging && !plain) return false;
  // The key is the grid's now: so is the character it would type here.
  TMsg pending;
  if (HandleAllocated()) PeekMessage(pending, WindowHandle(), WM_CHAR, WM_CHAR, PM_REMOVE);
  const LPARAM altFlag = shift.Contains(ssAlt) ? LPARAM(1) << 29 : 0;
  grid_->Perform(WM_KEYDOWN, key, altFlag);
  return true;
}

void TtlInplaceEdit::KeyDown(Word& key, TShiftState shift) {
  if (!ReleasingMouse() && !LoadingText()) {
    if (ForwardToGrid(key, shift)) {
      key = 0;
      return;
    }
    pendingKeyAction_ = feaNone;
  }
  TDBQuentaEdit::KeyDown(key, shift);
}

void TtlInplaceEdit::KeyPress(char32_t& key) {
  pendingKeyAction_ = feaNone;
  if (key == U'\b' || !grid_->OnEditKeyPress) {
    TDBQuentaEdit::KeyPress(key);
    return;
  }
  TtlFieldEditAction action = feaNone;
  bool handleKey = false;
  TAliveGuard alive(this);
  grid_->OnEditKeyPress(grid_, column_, key, action, handleKey);
  if (!alive.Alive()) return;
  if (action != feaNone) {
    exitReason_ = fpcKeyAction;
    pendingKeyAction_ = action;
  }
  if ((handleKey || action == feaNone) && key != 0)
    TDBQuentaEdit::KeyPress(key);
  else
    key = 0;
}

// The action chosen for a key closes the editor once that key is up.
void TtlInplaceEdit::KeyUp(Word& key, TShiftState shift) {
  if (exitReason_ != fpcKeyAction) {
    TDBQuentaEdit::KeyUp(key, shift);
    return;
  }
  const TtlFieldEditAction action = pendingKeyAction_;
  pendingKeyAction_ = feaNone;
  RequestClose(fpcKeyAction, action);
}

// The grid decides about posting when the focus goes.
void TtlInplaceEdit::CMExit(TMessage& message) {
  ReleaseSwitches();
  TCustomMaskEdit::CMExit(message);
}

void TtlInplaceEdit::CNKeyDown(TMessage& message) {
  if (LoWord(message.WParam) == VK_TAB && ToolForm()) CloseDropDown(true);
  TCustomMaskEdit::CNKeyDown(message);
}

// ---- face ----

// A switching vision shows the cell exactly as the grid paints it,
// pressed look included.
void TtlInplaceEdit::PaintFace(TCanvas* canvas) {
  if (!column_ || !EffectiveVision()->EnableSwitches() || !grid_->EditorShown()) {
    TDBQuentaEdit::PaintFace(canvas);
    return;
  }
  const TRect client = ClientRect();
  if (client.Width() <= 0 || client.Height() <= 0) return;
  TObjectPtr<TBitmap> face(Create<TBitmap>());
  face->SetSize(client.Width(), client.Height());
  TCanvas* target = face->Canvas();
  target->Brush()->SetColor(Color());
  target->FillRect(client);
  const Integer row = grid_->ActiveRow();
  grid_->PaintCellArea(target, ppRows, column_, column_, row, row, client.Width(), client.Height());
  canvas->CopyRect(client, target, client);
}

}  // namespace brevant
