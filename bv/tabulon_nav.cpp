// Navigation of the grid: GotoCell (the one primitive that moves the
// current record and column and hands selection actions to the scrolled
// handler), StepCell (directions to GotoCell), SyncCursor, record
// insertion, pickups, the column and footer menus and the permission tests
// of titles and column drags.
#include <algorithm>
#include <optional>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/env_hook.h"
#include "bv/field_vision.h"
#include "bv/group_info.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "bv/tool_form_intf.h"
#include "controls/application.h"
#include "controls/menus.h"
#include "db/dataset.h"
#include "rtl/closing_guard.h"

namespace brevant {

bool TDBTabulon::DataActive() const {
  return dataSet_ && dataSet_->Active() && dataLink_->Active();
}

void TDBTabulon::SetCurrentColumnIndex(Integer index) {
  const bool valid = index >= 0 && index < columns_->Count();
  currentColumn_ = valid ? index : -1;
  currentColumnObj_ = valid ? columns_->Items(index) : nullptr;
}

// ---- GotoCell ----

namespace {

// Closes GotoCell's freeze on every path: a horizontal scroll (or a
// failure) repaints the whole grid; otherwise the rows and both bars are
// redrawn. A failure of the unfreeze gives way to the first one.
class TGotoFreeze {
 public:
  TGotoFreeze(TDBTabulon* grid, bool whole)
      : grid_(grid), whole_(whole), exceptions_(std::uncaught_exceptions()) {
    grid_->FreezeGrid();
  }
  TGotoFreeze(const TGotoFreeze&) = delete;
  TGotoFreeze& operator=(const TGotoFreeze&) = delete;
  ~TGotoFreeze() noexcept(false) {
    const bool failed = LeavingByException(exceptions_);
    CloseBracket(failed, [this, failed] {
      grid_->UnfreezeGrid(whole_ || failed);
      if (whole_ || failed || !grid_->PaintingEnabled()) return;
      grid_->InvalidateRows();
      grid_->UpdateVertScrollBar(true);
      grid_->UpdateHorzScrollBar(true);
    });
  }

 private:
  TDBTabulon* grid_;  // the frozen grid
  bool whole_;        // the unfreeze repaints everything
  int exceptions_;    // exceptions in flight when the bracket opened
};

}  // namespace

void TDBTabulon::MoveForGoto(Cardinal flags, Integer distance) {
  const bool insensitive = cursorType_ != gctSensitive;
  if (flags & gsaFirst) {
    dataSet_->First();
    if (insensitive) currentRecShot_->CaptureCursor(false);
  } else if (flags & gsaLast) {
    dataSet_->Last();
    if (insensitive) currentRecShot_->CaptureCursor(false);
  } else {
    // The distance counts from the cursor row (the top row without one).
    const Integer d = cursorRow_ == -1 ? distance - activeRow_ : distance + cursorRow_ - activeRow_;
    if (d != 0 || dataSet_->State() != dsBrowse)
      dataSet_->MoveBy(d);
    else
      LinkScrolled(dataLink_, 0);
  }
}

void TDBTabulon::RepaintColumnChange(TtlColumn* oldColumn, bool toggled) {
  if (oldColumn) InvalidateTitle(oldColumn);
  if (currentColumnObj_) InvalidateTitle(currentColumnObj_);
  if (!toggled) {
    if (oldColumn) InvalidateCell(oldColumn, cursorRow_);
    if (currentColumnObj_) InvalidateCell(currentColumnObj_, cursorRow_);
  }
  Update();
}

void TDBTabulon::GotoCell(Cardinal flags, Integer distance, Integer column) {
  const Integer oldIndex = currentColumn_;
  TtlColumn* oldColumn = currentColumnObj_;
  if (column != oldIndex && OnColExiting) OnColExiting(this, oldIndex);
  const bool moves = (flags & gsaMovement) != 0;
  TtlColumn* target = column >= 0 && column < columns_->Count() ? columns_->Items(column) : nullptr;
  const bool hscroll = column != oldIndex && target && !columns_->IsGroupInView(target);
  // Resets the navigating flag, the pending selection and column on every
  // path; raises OnSelectionChange once when the step succeeded.
  TGridNavigation step(this);
  pendingColumn_ = column;
  SetPendingSelection(flags);
  const Cardinal pending = pendingSelection_;
  const bool toggleNow = !moves && (pending & gsaToggleReached);
  // Only the actions that remain after MultiSelect and an empty selection
  // dropped theirs freeze the grid: a plain arrow key keeps the cheap
  // one-row scroll.
  std::optional<TGotoFreeze> freeze;
  if (hscroll || (flags & (gsaFirst | gsaLast)) || (pending & (gsaClear | gsaRange)))
    freeze.emplace(this, hscroll);
  if (moves && DataActive()) {
    MoveForGoto(flags, distance);
    // A move the dataset could not make (at BOF or EOF) reported no scroll:
    // the column still goes where it was asked to.
    if (pendingColumn_ >= 0 && pendingColumn_ != currentColumn_) SetCurrentColumnIndex(column);
  } else if (!moves) {
    if (column != oldIndex) CloseEditor(feaPost, true);
    SetCurrentColumnIndex(column);
    if (pending & gsaRange) selection_->SelectRange(selection_->AnchorBookmark());
    if (pending == gsaClear) selection_->Clear(true, false);
  }
  bool toggled = false;
  if (toggleNow && SyncCursor(false)) {
    selection_->SelectCurrent(!selection_->IsCurrentSelected(), false);
    InvalidateRow(cursorRow_);
    Update();
    toggled = true;
  }
  const bool columnChanged = currentColumn_ != oldIndex;
  if (columnChanged && !hscroll) RepaintColumnChange(oldColumn, toggled);
  if (hscroll) columns_->ComputeScrollWindow(true, false);
  freeze.reset();
  // The always-shown editor follows the move only while the focus is in
  // the grid: opening takes the focus, which a programmatic move of an
  // unfocused grid must not steal (entering the grid opens it instead).
  if (AlwaysEditing() && currentColumnObj_ && (Focused() || editorShown_))
    OpenEditor(currentColumnObj_);
  if (columnChanged && OnColEnter) OnColEnter(this, currentColumn_);
}

// ---- StepCell ----

Integer TDBTabulon::LastSelectable() const {
  for (Integer i = columns_->Count() - 1; i >= 0; --i)
    if (columns_->Items(i)->IsSelectable()) return i;
  return -1;
}

namespace {

// The visible columns of a group on one line, left to right.
std::vector<TtlColumn*> ColumnsOnLine(const TtlColumns* columns, const TtlGroupInfo* group,
                                      Integer line) {
  std::vector<TtlColumn*> found;
  for (Integer i = group->FirstColumn; i <= group->LastColumn && i >= 0; ++i) {
    TtlColumn* c = columns->Items(i);
    if (c->Visible() && c->Line() == line) found.push_back(c);
  }
  std::stable_sort(found.begin(), found.end(), [](const TtlColumn* a, const TtlColumn* b) {
    return a->PosInLine() < b->PosInLine();
  });
  return found;
}

}  // namespace

Integer TDBTabulon::SideColumn(Integer dx) const {
  const TtlGroupInfo* own = currentColumnObj_->GroupInfo();
  if (!own) return -1;
  const Integer line = currentColumnObj_->Line();
  // The columns of this line number across the groups; a group with fewer
  // lines offers its last line.
  std::vector<TtlColumn*> row;
  for (Integer g = 0; g < columns_->GroupCount(); ++g) {
    const TtlGroupInfo* group = columns_->Groups(g);
    const Integer l = group == own ? line : std::min(line, group->LineCount - 1);
    for (TtlColumn* c : ColumnsOnLine(columns_, group, l)) row.push_back(c);
  }
  auto at = std::find(row.begin(), row.end(), currentColumnObj_);
  if (at == row.end()) return -1;
  for (Integer i = static_cast<Integer>(at - row.begin()) + dx;
       i >= 0 && i < static_cast<Integer>(row.size()); i += dx)
    if (row[i]->IsSelectable()) return columns_->IndexOfColumn(row[i]);
  return -1;
}

Integer TDBTabulon::LineColumn(Integer line, bool fromEnd) const {
  std::vector<TtlColumn*> cols = ColumnsOnLine(columns_, currentColumnObj_->GroupInfo(), line);
  if (fromEnd) std::reverse(cols.begin(), cols.end());
  for (TtlColumn* c : cols)
    if (c->IsSelectable()) return columns_->IndexOfColumn(c);
  return -1;
}

Cardinal TDBTabulon::ShiftBits(Integer distance, bool extend) {
  if (!extend) return gsaClear;
  const TBookmark current = dataSet_->Bookmark();
  if (selection_->Anchor().empty()) {
    selection_->SetAnchor(current);
    return gsaSelectReached | gsaSelectLeft;
  }
  const Integer order = CompareBookmarkOrder(dataSet_, current, selection_->Anchor());
  if (distance <= 0) return gsaSelectReached | (order <= 0 ? gsaSelectLeft : gsaUnselectLeft);
  return gsaSelectReached | (order < 0 ? gsaUnselectLeft : gsaSelectLeft);
}

// Up and down: a line inside a multi-line group, else a record; answers
// whether a record distance was computed.
bool TDBTabulon::StepVertical(bool down, Integer& target, Integer& distance) {
  const TtlGroupInfo* group = currentColumnObj_->GroupInfo();
  const Integer lines = group ? group->LineCount : 1;
  const Integer line = currentColumnObj_->Line();
  const bool edge = down ? line >= lines - 1 : line <= 0;
  if (!rowSelect_ && group) {
    const Integer next = down ? (edge ? 0 : line + 1) : (edge ? lines - 1 : line - 1);
    if (lines > 1) {
      const Integer c = LineColumn(next, !down);
      if (c >= 0) target = c;
    }
    if (!edge) return false;
  }
  if (down) {
    if (dataSet_->State() == dsInsert) {
      // A new record that holds nothing stays; otherwise MoveBy(0) posts it.
      if (dataSet_->Eof() && !dataSet_->Modified()) {
        target = currentColumn_;
        return false;
      }
      distance = 0;
    } else {
      distance = 1;
    }
  } else {
    if (dataSet_->Bof()) {
      target = currentColumn_;
      return false;
    }
    distance = dataLink_->Editing() && dataSet_->Eof() ? 0 : -1;
  }
  // Leaving the window keeps the column, so the scroll stays a plain one.
  const Integer row = cursorRow_ == -1 ? activeRow_ : cursorRow_;
  if ((!down && row <= 0) || (down && row >= rowCount_ - 1)) target = currentColumn_;
  return true;
}

bool TDBTabulon::StepAround(bool next, Integer& target, Integer& distance) {
  TtlColumn* c = currentColumnObj_;
  const TtlColumnLowLevelInfo* info = c->LowLevelInfo();
  for (c = next ? info->NextVisible : info->PrevVisible; c;
       c = next ? c->LowLevelInfo()->NextVisible : c->LowLevelInfo()->PrevVisible) {
    if (c->IsSelectable()) {
      target = columns_->IndexOfColumn(c);
      return false;
    }
  }
  // Wrapping: an empty new record at the end does not wrap forward, and
  // nothing wraps back before the first record.
  if (next && dataSet_->State() == dsInsert && dataSet_->Eof() && !dataSet_->Modified())
    return false;
  if (!next && dataSet_->Bof()) return false;
  distance = next ? 1 : -1;
  target = next ? columns_->FirstSelectable() : LastSelectable();
  return true;
}

void TDBTabulon::StepCell(TtlFieldEditAction direction, bool extend) {
  if (!DataActive() || !columns_->HasGroups()) return;
  const bool up = direction == feaUp || direction == feaPrior;
  if (!currentColumnObj_) {
    if (direction == feaLeft || direction == feaRight) return;
    GotoCell(gsaMove, up ? -1 : 1, -1);
    return;
  }
  Integer target = currentColumn_, distance = 0;
  bool moves = false;
  Cardinal bits = 0;
  switch (direction) {
    case feaLeft:
    case feaRight: {
      const Integer side = SideColumn(direction == feaLeft ? -1 : 1);
      if (side >= 0) target = side;
      break;
    }
    case feaUp:
    case feaDown:
      moves = StepVertical(direction == feaDown, target, distance);
      if (moves) bits = ShiftBits(distance, extend);
      break;
    case feaPrior:
    case feaNext:
      moves = StepAround(direction == feaNext, target, distance);
      break;
    default:
      return;
  }
  if (moves) bits |= gsaMove;
  if (!multiSelect_) bits &= gsaMovement;
  if (moves || target != currentColumn_) GotoCell(bits, distance, target);
  if (extend || !(direction == feaDown || direction == feaPrior || direction == feaNext)) return;
  // Moving below the last record appends one.
  if (moves && dataSet_->Eof() && !dataLink_->Editing()) InsertRecord(true);
  if (direction != feaDown && currentColumnObj_)
    QuickEdit(currentColumnObj_, geoNoQuickEditByTabKey);
}

// ---- SyncCursor ----

bool TDBTabulon::SyncCursor(bool force) {
  if (cursorType_ == gctSensitive || !DataActive()) return true;
  if (cursorRow_ == dataLink_->ActiveRecord()) return true;
  if (cursorRow_ >= 0 && cursorRow_ < rowCount_)
    dataSet_->MoveBy(cursorRow_ - dataLink_->ActiveRecord());
  const bool inWindow = cursorRow_ != -1 && cursorRow_ == dataLink_->ActiveRecord();
  if (!inWindow && !currentRecShot_->GotoRecord() && force) GotoCell(gsaFirst, 0, currentColumn_);
  return inWindow;
}

// ---- insertion and pickup ----

bool TDBTabulon::InsertRecord(bool append) {
  if (!DataActive() || dataSet_->State() != dsBrowse || readOnly_) return false;
  if (optionsEdit_.Contains(append ? geoNoAppends : geoNoInserts)) return false;
  if (!dataSet_->CanModify()) return false;
  bool doInsert = true;
  if (BeforeInsert) BeforeInsert(this, doInsert);
  if (!doInsert) return false;
  if (append)
    dataSet_->Append();
  else
    dataSet_->Insert();
  currentRecShot_->CaptureCursor(true);
  Invalidate();
  Update();
  if (AfterInsert) AfterInsert(this);
  return true;
}

bool TDBTabulon::Pickup(Integer kind, bool withRecord) {
  mouseMode_ = 0;
  pickedWithRecord_ = withRecord && currentRecShot_->IsSet();
  bool ran = false;
  if (kind == 1 && OnDblClick) {
    OnDblClick(this);
    ran = true;
  }
  const TtlOptionPickup option = kind == 0 ? gpoReturnKey : kind == 1 ? gpoDblClick : gpoClick;
  if (!optionsPickup_.Contains(option)) return ran;
  // A pickup that carries a record changes the drop-down's value (a click
  // moves the list without navigating), then closes it accepting.
  if (auto* host = dynamic_cast<IznToolFormHost*>(toolForm_)) {
    if (pickedWithRecord_) host->SetChanged(true);
    host->Close(pickedWithRecord_, false);
  }
  if (OnPickup) {
    OnPickup(this);
    ran = true;
  }
  return ran;
}

// ---- menus ----

void TDBTabulon::ShowColumnMenu(TtlColumn* column, Integer x, Integer y) {
  auto* menu = dynamic_cast<TPopupMenu*>(TCustomControl::PopupMenu());
  if (!menu && column) menu = column->PopupMenu();
  if (!menu) return;
  // From the keyboard the menu opens under the current cell.
  if (x == -1 && y == -1) {
    const TRect cell = column ? column->CellRect(std::max(cursorRow_, 0), true, false) : TRect();
    x = cell.Left;
    y = cell.Bottom;
  }
  menu->SetPopupComponent(this);
  const TPoint at = ClientToScreen({x, y});
  menu->Popup(at.X, at.Y);
  Application()->ProcessMessages();
}

void TDBTabulon::ShowFooterMenu(TtlColumn* column, Integer x, Integer y) {
  IbvEnvironment* env = Environment();
  if (!env || !column) return;
  if (env->PopupFooterMenu(this, column, x, y)) Application()->ProcessMessages();
}

// ---- permissions ----

bool TDBTabulon::TitleStatesAllowed(bool multi, const TtlColumn* column) const {
  if (IsDesigning()) return true;
  if (column && column->OptionsBehavior().Contains(cboNoTitleStates)) return false;
  if (optionsBehavior_.Contains(gboNoTitleStates)) return false;
  return !(multi && optionsBehavior_.Contains(gboNoMultiTitleStates));
}

bool TDBTabulon::ColumnDragAllowed(const TtlColumn* column) const {
  if (IsDesigning()) return true;
  if (column && column->OptionsBehavior().Contains(cboNoDragging) &&
      (column->OptionsBehavior().Contains(cboNoCustomizing) || !customizerAttached_))
    return false;
  return !(optionsBehavior_.Contains(gboNoColumnMoving) &&
           optionsBehavior_.Contains(gboNoColumnGrouping));
}

}  // namespace brevant
