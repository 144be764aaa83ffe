// The grid's mouse: hit testing, presses on titles, cells and footers,
// selection with Shift and Ctrl (and the clear a record drag defers),
// releases (title clicks, pickups), moves (drag starts, mouse tracking)
// and the auto-scroll timer that pulls records while the button is held.
#include "bv/column.h"
#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/dragger.h"
#include "bv/field_vision.h"
#include "bv/grid_params.h"
#include "bv/group_info.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "bv/tool_form_intf.h"
#include "controls/wincore.h"
#include "db/dataset.h"

namespace brevant {

namespace {

constexpr WPARAM kAutoScrollTimer = 1;      // the window timer of auto-scroll
constexpr Cardinal kAutoScrollPeriod = 25;  // milliseconds per tick

// The first visible column of group whose rectangle (by rectOf) holds p.
template <class F>
Integer ColumnAt(const TtlColumns* columns, const TtlGroupInfo* group, TPoint p, F rectOf) {
  for (Integer i = group->FirstColumn; i >= 0 && i <= group->LastColumn; ++i) {
    const TtlColumn* c = columns->Items(i);
    if (c->Visible() && PtInRect(rectOf(c), p)) return i;
  }
  return -1;
}

}  // namespace

Integer TDBTabulon::HitTest(Integer x, Integer y, Integer& row, Integer& column) const {
  row = column = -1;
  const TPoint p{x, y};
  if (!PtInRect(ClientRect(), p)) return 0;
  // The group in view whose left edge is the nearest at or left of x.
  const TtlGroupInfo* group = nullptr;
  for (Integer g = 0; g < columns_->GroupCount(); ++g) {
    const TtlGroupInfo* candidate = columns_->Groups(g);
    if (!candidate->InView || candidate->ScreenLeft > x) continue;
    if (!group || candidate->ScreenLeft >= group->ScreenLeft) group = candidate;
  }
  if (!group) return 0;
  if (y < TitleAreaHeight()) {
    column = ColumnAt(columns_, group, p, [](const TtlColumn* c) { return c->TitleRect(true); });
    row = column >= 0 ? 0 : -1;
    return column >= 0 ? 1 : 0;
  }
  if (y < dataAreaBottom_) {
    const Integer r = (y - TitleAreaHeight()) / std::max(1, rowHeight_);
    if (r >= rowCount_) return 0;
    column = ColumnAt(columns_, group, p,
                      [r](const TtlColumn* c) { return c->CellRect(r, true, false); });
    row = column >= 0 ? r : -1;
    return column >= 0 ? 2 : 0;
  }
  if (FooterAreaHeight() > 0 && y >= dataAreaBottom_ + emptyAreaHeight_) {
    column =
        ColumnAt(columns_, group, p, [](const TtlColumn* c) { return c->FooterRect(true, true); });
    row = column >= 0 ? 0 : -1;
    return column >= 0 ? 3 : 0;
  }
  return 0;
}

void TDBTabulon::TrackMouse(Integer x, Integer y) {
  overPrevPos_ = TtlOverPrevPos{hitZone_, hitColumn_, hitRow_};
  hitZone_ = HitTest(x, y, hitRow_, hitColumn_);
  hitColumnObj_ = hitColumn_ >= 0 ? columns_->Items(hitColumn_) : nullptr;
}

bool TDBTabulon::RowSelected(Integer row) const {
  if (row < 0 || row >= dataLink_->RecordCount() || selection_->IsEmpty()) return false;
  const Integer saved = dataLink_->ActiveRecord();
  dataLink_->SetActiveRecord(row);
  const bool selected = selection_->IsCurrentSelected();
  dataLink_->SetActiveRecord(saved);
  return selected;
}

// ---- press ----

void TDBTabulon::PressTitle() {
  PostRecord();
  SetPressedTitle(hitColumnObj_);
  Update();
  mouseMode_ = 3;
  dragStartRect_ = hitColumnObj_->TitleRect(true);
}

void TDBTabulon::PressCell(TMouseButton button, TShiftState shift) {
  const Integer target =
      hitColumnObj_ && hitColumnObj_->IsSelectable() ? hitColumn_ : currentColumn_;
  const Integer row = hitRow_;
  Cardinal bits = 0;
  if (!(editorShown_ && !AlwaysEditing())) {
    if (shift.Contains(ssShift))
      bits = gsaRange;
    else if (shift.Contains(ssCtrl))
      bits = selection_->IsEmpty() && cursorRow_ != -1 && row != cursorRow_
                 ? gsaToggleReached | gsaSelectLeft
                 : gsaToggleReached;
    else if (button == mbLeft)
      bits = gsaClear;
  }
  if (!multiSelect_) bits = 0;
  if (gridDragMode_ == dmAutomatic && button == mbLeft) {
    recordDragArmed_ = true;
    dragStartRect_ = hitColumnObj_->CellRect(row, true, false);
    // A plain press on a selected record may start dragging the selection.
    if (bits == gsaClear && RowSelected(row)) {
      deferredClear_ = true;
      bits = 0;
    }
  }
  if (target != currentColumn_ || row != cursorRow_ || bits != 0) {
    if (row == cursorRow_)
      GotoCell(bits, 0, target);
    else
      GotoCell(bits | gsaMove, cursorRow_ == -1 ? row : row - cursorRow_, target);
  }
  if (optionsPickup_.Contains(gpoCaptureRecord)) StartAutoScroll();
}

void TDBTabulon::PressEdit(TMouseButton button, TShiftState shift, Integer x, Integer y,
                           bool hadFocus, bool moved, bool multi) {
  TtlColumn* column = hitColumnObj_;
  TznFieldVision* vision = column->EffectiveVision();
  const bool switches = vision && vision->EnableSwitches();
  if (column == currentColumnObj_ && !switches &&
      !QuickEdit(currentColumnObj_, geoNoQuickEditByClick) && hadFocus) {
    const bool plain = !shift.Contains(ssShift) && !shift.Contains(ssAlt) &&
                       !shift.Contains(ssCtrl) && button == mbLeft;
    const bool stayed = !moved || shift.Contains(ssDouble);
    if (plain && stayed && !selection_->IsCurrentSelected() && !multi) {
      if (recordDragArmed_)
        editOnRelease_ = true;
      else
        column->RequestEdit();
    }
    return;
  }
  if (!switches || !((hadFocus && !moved) || !vision->OptionsSwitch().Contains(vsoNeedCurrent)))
    return;
  // The window scrolled under the pointer: it follows the row it pressed.
  if (hitRow_ != cursorRow_) {
    const TPoint pointer = GetCursorPos();
    SetCursorPos({pointer.X, pointer.Y + rowHeight_ / 2});
  }
  // The switch reacts to the press at once: the editor gets it at the
  // same place of the cell.
  if (!OpenEditor(column)) return;
  const HWND editor = GetFocus();
  if (!editor || editor == WindowHandle() || !currentColumnObj_) return;
  const TRect cell = currentColumnObj_->CellRect(cursorRow_, false, false);
  WPARAM keys = MK_LBUTTON;
  if (shift.Contains(ssShift)) keys |= MK_SHIFT;
  if (shift.Contains(ssCtrl)) keys |= MK_CONTROL;
  SendMessage(editor, WM_LBUTTONDOWN, keys, PointToLParam({x - cell.Left, y - cell.Top}));
}

void TDBTabulon::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  paramsAutoSearch_->Stop();
  clickHandled_ = editOnRelease_ = deferredClear_ = recordDragArmed_ = false;
  const bool hadFocus = Focused();
  const bool multi = selection_->SelectedCount() > 1;
  // The list of a drop-down that leaves the focus in its edit never takes it.
  auto* host = dynamic_cast<IznToolFormHost*>(toolForm_);
  if ((button == mbLeft || button == mbRight) && !IsDesigning() && CanFocus() && !Focused() &&
      !(host && !host->TakesFocus()))
    SetFocus();
  TCustomControl::MouseDown(button, shift, x, y);
  if (!columns_->HasGroups()) {
    if (shift.Contains(ssDouble) && OnDblClick) OnDblClick(this);
    return;
  }
  TrackMouse(x, y);
  if (button == mbLeft) {
    if (mouseMode_ == 1) {
      StartSizing(x);
      mouseMode_ = 2;
    } else if (mouseMode_ == 0 && hitZone_ == 1 &&
               (TitleStatesAllowed(false, hitColumnObj_) || ColumnDragAllowed(hitColumnObj_))) {
      PressTitle();
    }
  }
  if (mouseMode_ != 0 || !DataActive()) return;
  const Integer oldColumn = currentColumn_, oldRow = cursorRow_;
  if ((button == mbLeft || button == mbRight) && hitZone_ == 2)
    PressCell(button, shift);
  else if (hitZone_ == 0 && hadFocus)
    CloseEditor(feaPost, true);
  bool handled = false;
  if (OnGridClick) OnGridClick(this, x, y, shift, false, handled);
  clickHandled_ = handled;
  if (handled) return;
  if (button == mbLeft && shift.Contains(ssDouble) && Pickup(1, true)) return;
  if (hitColumn_ < 0) return;
  const bool moved = currentColumn_ != oldColumn || cursorRow_ != oldRow;
  if (button == mbLeft && hitZone_ == 2 && cursorRow_ != -1)
    PressEdit(button, shift, x, y, hadFocus, moved, multi);
  else if (button == mbRight && hitZone_ == 2)
    ShowColumnMenu(hitColumnObj_, x, y);
  else if (button == mbRight && hitZone_ == 3)
    ShowFooterMenu(hitColumnObj_, x, y);
}

// ---- release ----

void TDBTabulon::CompleteTitleClick(TShiftState shift, Integer x, Integer y) {
  TtlColumn* pressed = pressedTitle_;
  Integer row = -1, column = -1;
  const bool onTitle =
      HitTest(x, y, row, column) == 1 && column >= 0 && columns_->Items(column) == pressed;
  const bool counts = pressed && onTitle && TitleStatesAllowed(false, pressed);
  SetPressedTitle(nullptr);
  Update();
  if (!counts) return;
  if (shift.Contains(ssCtrl)) {
    pressed->ChangeTitleState(tsSortedNone, false, true);
    return;
  }
  const TtlTitleState next = pressed->TitleState() == tsSortedUp ? tsSortedDown : tsSortedUp;
  // Shift adds to the sorted titles where several are allowed; clicks in
  // the form designer never reset the other titles.
  const bool exclusive =
      !IsDesigning() && (!shift.Contains(ssShift) || !TitleStatesAllowed(true, pressed));
  pressed->ChangeTitleState(next, exclusive, true);
}

void TDBTabulon::ReleaseClick(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  bool handled = false;
  if (clickHandled_) {
    handled = true;
    if (OnGridClick) OnGridClick(this, x, y, shift, true, handled);
  }
  if (handled || button != mbLeft) return;
  Integer row = -1, column = -1;
  const bool onCursorRow = HitTest(x, y, row, column) == 2 && row == cursorRow_ && row != -1;
  Pickup(2, currentRecShot_->IsSet() && onCursorRow);
}

void TDBTabulon::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  StopAutoScroll();
  if (dragger_->DesignerDrag()) {
    DesignDragDrop(x, y);
  } else if (Dragging()) {
    deferredClear_ = editOnRelease_ = recordDragArmed_ = false;
  } else {
    recordDragArmed_ = false;
    if (std::exchange(deferredClear_, false)) selection_->Clear(true, false);
    if (std::exchange(editOnRelease_, false) && currentColumnObj_) currentColumnObj_->RequestEdit();
    switch (mouseMode_) {
      case 2:
        EndSizing(x);
        break;
      case 3:
        CompleteTitleClick(shift, x, y);
        break;
      case 0:
        ReleaseClick(button, shift, x, y);
        break;
      default:
        break;
    }
  }
  mouseMode_ = 0;
  TCustomControl::MouseUp(button, shift, x, y);
}

// ---- move ----

void TDBTabulon::TrackRecord() {
  const bool tracking = optionsPickup_.Contains(gpoMouseTrack) ||
                        (autoScroll_ && optionsPickup_.Contains(gpoCaptureRecord));
  if (!tracking || IsDesigning() || mouseMode_ != 0 || hitZone_ != 2) return;
  if (hitRow_ == overPrevPos_.Row && overPrevPos_.Zone == 2) return;
  if (hitRow_ >= dataLink_->RecordCount()) return;
  dataSet_->MoveBy(hitRow_ - dataLink_->ActiveRecord());
  currentRecShot_->CaptureCursor(true);
  Update();
}

void TDBTabulon::MouseMove(TShiftState shift, Integer x, Integer y) {
  // A design-time column drag is driven by the grid itself.
  if (dragger_->DesignerDrag()) {
    DesignDragOver(x, y);
    return;
  }
  if (!columns_->HasGroups()) {
    TCustomControl::MouseMove(shift, x, y);
    return;
  }
  TrackMouse(x, y);
  TCustomControl::MouseMove(shift, x, y);
  const bool outside = !PtInRect(dragStartRect_, {x, y});
  switch (mouseMode_) {
    case 0:
    case 1:
      mouseMode_ = SizingEdgeAt(x, y) ? 1 : 0;
      break;
    case 2:
      TrackSizing(x);
      break;
    case 3:
      if (outside && pressedTitle_ && ColumnDragAllowed(pressedTitle_))
        StartColumnDrag(pressedTitle_);
      break;
    default:
      break;
  }
  if (recordDragArmed_ && outside) {
    recordDragArmed_ = editOnRelease_ = deferredClear_ = false;
    StopAutoScroll();
    StartRecordDrag();
  }
  if (DataActive()) TrackRecord();
}

// ---- auto-scroll ----

void TDBTabulon::StartAutoScroll() {
  if (!HandleAllocated()) return;
  autoScroll_ = true;
  autoScrollTicks_ = 0;
  SetTimer(WindowHandle(), kAutoScrollTimer, kAutoScrollPeriod);
}

void TDBTabulon::StopAutoScroll() {
  if (!autoScroll_) return;
  autoScroll_ = false;
  if (HandleAllocated()) KillTimer(WindowHandle(), kAutoScrollTimer);
}

void TDBTabulon::AutoScrollTick() {
  if (!autoScroll_ || !DataActive()) return;
  const Cardinal ticks = static_cast<Cardinal>(++autoScrollTicks_);
  const TPoint p = ScreenToClient(GetMessagePos());
  const TRect client = ClientRect();
  // How far the pointer stands above the rows or below the client area;
  // the farther, the more ticks scroll.
  Integer distance = TitleAreaHeight() + client.Top - p.Y;
  Integer code = SB_LINEUP;
  if (distance < 1) {
    distance = p.Y - client.Bottom;
    code = SB_LINEDOWN;
    if (distance < 1) return;
  }
  if (distance > 132 || (distance > 82 && ticks % 2 == 0) || (distance > 32 && ticks % 3 == 0) ||
      ticks % 6 == 0)
    Perform(WM_VSCROLL, static_cast<WPARAM>(code), 0);
}

void TDBTabulon::WMTimer(TMessage& message) {
  if (message.WParam == kAutoScrollTimer) {
    AutoScrollTick();
    return;
  }
  TCustomControl::WMTimer(message);
}

}  // namespace brevant
