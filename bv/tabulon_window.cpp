// TDBTabulon: the record window, the cursor row, the scroll bars, the
// scroll, wheel and size messages and the data link handlers.
#include <algorithm>
#include <cstdlib>
#include <initializer_list>
#include <iterator>

#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/designer.h"
#include "bv/paint_info.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "rtl/scope.h"

namespace brevant {

namespace {

// Puts the link's active record back on every path.
class TActiveRecordGuard {
 public:
  explicit TActiveRecordGuard(TDataLinkEx* link) : link_(link), saved_(link->ActiveRecord()) {}
  TActiveRecordGuard(const TActiveRecordGuard&) = delete;
  TActiveRecordGuard& operator=(const TActiveRecordGuard&) = delete;
  ~TActiveRecordGuard() { link_->SetActiveRecord(saved_); }

 private:
  TDataLinkEx* link_;
  Integer saved_;
};

}  // namespace

void TDBTabulon::BindColumns() {
  for (Integer i = 0; i < columns_->Count(); ++i) columns_->Items(i)->BindField();
}

// ---- row window ----

void TDBTabulon::UpdateRowWindow() {
  const Integer h = ClientHeight();
  fitRowCount_ =
      std::max(1, (h - TitleAreaHeight() - FooterAreaHeight()) / std::max(1, rowHeight_));
  const bool active = dataSet_ && dataSet_->Active() && dataLink_->Active();
  if (active && dataLink_->RecordCount() > 0) {
    dataLink_->SetBufferCount(fitRowCount_);
    activeRow_ = dataLink_->ActiveRecord();
    rowCount_ = dataLink_->RecordCount();
    // A filled buffer follows the window, or the record after the last
    // buffer can be fetched (and the buffers put back).
    if (dataLink_->FirstRecord() + rowCount_ < dataSet_->BufferedRecords()) {
      moreRecords_ = true;
    } else {
      moreRecords_ = dataLink_->FetchNextRecord();
      if (moreRecords_) dataLink_->FetchPriorRecord();
    }
    showsRows_ = true;
  } else {
    rowCount_ = 1;
    showsRows_ = active && showEmptyRow_;
    moreRecords_ = false;
  }
  dataAreaBottom_ = TitleAreaHeight() + rowHeight_ * (showsRows_ ? rowCount_ : 0);
  emptyAreaHeight_ = std::max(0, h - dataAreaBottom_ - FooterAreaHeight());
  paintInfo_->ResizeRows(rowCount_);
  if (active) UpdateCursorRow(0);
  UpdateVertScrollBar(false);
  DebugCheckRowWindow();
}

void TDBTabulon::UpdateCursorRow(Integer distance) {
  if (cursorType_ == gctSensitive) {
    cursorRow_ = dataLink_->Active() ? dataLink_->ActiveRecord() : -1;
    return;
  }
  if (distance != 0 && cursorRow_ != -1 && !navigating_) {
    cursorRow_ -= distance;
    if (cursorRow_ < 0 || cursorRow_ >= rowCount_) cursorRow_ = -1;
    return;
  }
  // Search the rows that may show the record: all of them, or only those
  // that came into view when the scroll was shorter than the window.
  Integer first = 0, last = rowCount_ - 1;
  if (distance != 0 && std::abs(distance) < rowCount_ - 1) {
    if (distance < 0) {
      last = -distance;
    } else {
      first = rowCount_ - distance - 1;
    }
  }
  // A full search starts from "not in the window", also with a single row:
  // a row left over from before would highlight another record.
  if (distance == 0) cursorRow_ = -1;
  if (!currentRecShot_->IsSet() || !dataLink_->Active() || dataLink_->RecordCount() == 0) return;
  TActiveRecordGuard guard(dataLink_);
  last = std::min(last, dataLink_->RecordCount() - 1);
  for (Integer row = std::max(0, first); row <= last; ++row) {
    dataLink_->SetActiveRecord(row);
    if (!currentRecShot_->IsCurrent()) continue;
    // A shot not bound to a row yet (one holding only key values) is
    // completed from the record found.
    if (currentRecShot_->Follow())
      cursorRow_ = row;
    else
      currentRecShot_->Capture(dataSet_->Bookmark());
    return;
  }
}

// ---- scroll bars ----

void TDBTabulon::SetScrollBar(Integer bar, Integer min, Integer max, Integer page, Integer pos,
                              bool redraw) {
  TScrollInfo info;
  info.Mask = SIF_RANGE | SIF_PAGE | SIF_POS;
  info.Min = min;
  info.Max = max;
  info.Page = static_cast<Cardinal>(page);
  info.Pos = pos;
  SetScrollInfo(WindowHandle(), bar, info, redraw);
}

void TDBTabulon::UpdateVertScrollBar(bool) {
  if (!HandleAllocated()) return;
  TScrollInfo info;
  info.Mask = SIF_ALL;
  GetScrollInfo(WindowHandle(), SB_VERT, info);
  Integer min = 1, max = 1, page = 0, pos = 1;
  if (dataSet_ && dataSet_->Active() && dataLink_->Active() &&
      (scrollBars_ == ssVertical || scrollBars_ == ssBoth)) {
    if (dataSet_->IsSequenced()) {
      const Integer count = dataSet_->RecordCount();
      min = 1;
      page = 1;
      if (count == rowCount_ && moreRecords_) {
        max = 1;
        page = 0;
      } else {
        max = count - rowCount_ + 1;
      }
      const TDataSetState state = dataSet_->State();
      if (state == dsInactive || state == dsBrowse || state == dsEdit)
        pos = dataSet_->RecNo() - activeRow_;
      else
        pos = info.Pos;
    } else {
      min = 0;
      max = 4;
      page = 0;
      pos = dataSet_->Bof() ? 0 : dataSet_->Eof() ? 4 : 2;
    }
  }
  if (!paintingEnabled_) return;
  SetScrollBar(SB_VERT, min, max, page, pos, true);
}

void TDBTabulon::UpdateHorzScrollBar(bool force) {
  if (!HandleAllocated()) return;
  Integer min = 1, max = 1, page = 0, pos = 1;
  if (scrollBars_ == ssHorizontal || scrollBars_ == ssBoth) {
    min = 0;
    page = 1;
    max = std::max(0, columns_->ScrollPositions() - 1);
    pos = columns_->HasScrollable() ? columns_->FirstShownGroup() - columns_->FirstScrollableGroup()
                                    : 0;
  }
  TScrollInfo info;
  info.Mask = SIF_ALL;
  GetScrollInfo(WindowHandle(), SB_HORZ, info);
  if (!force && info.Max == max && static_cast<Integer>(info.Page) == page && info.Pos == pos &&
      info.Min == min)
    return;
  SetScrollBar(SB_HORZ, min, max, page, pos, paintingEnabled_);
}

// ---- scroll messages ----

void TDBTabulon::ScrollToRecNo(Integer target) {
  const Integer r = dataSet_->RecNo();
  const Integer top = r - activeRow_;
  if (top < target)
    dataSet_->MoveBy(target - r + rowCount_ - 1);
  else if (target < top)
    dataSet_->MoveBy(target - r);
}

void TDBTabulon::WMVScroll(TMessage& message) {
  if (!dataSet_ || !dataSet_->Active() || !dataLink_->Active()) return;
  const Integer code = static_cast<Integer>(message.WParam & 0xFFFF);
  const Integer active = dataLink_->ActiveRecord();
  switch (code) {
    case SB_LINEUP:
      dataSet_->MoveBy(-(active + 1));
      break;
    case SB_LINEDOWN:
      dataSet_->MoveBy(rowCount_ - active);
      break;
    case SB_PAGEUP:
      dataSet_->MoveBy(-rowCount_);
      break;
    case SB_PAGEDOWN:
      dataSet_->MoveBy(rowCount_);
      break;
    case SB_THUMBTRACK:
      if (!dataSet_->IsSequenced()) {
        switch (static_cast<Integer>(message.WParam >> 16)) {
          case 0:
            dataSet_->First();
            break;
          case 1:
            dataSet_->MoveBy(-rowCount_);
            break;
          case 2:
            return;  // the middle position: nothing, unanswered
          case 3:
            dataSet_->MoveBy(rowCount_);
            break;
          case 4:
            dataSet_->Last();
            break;
          default:
            break;
        }
      } else {
        TScrollInfo info;
        info.Mask = SIF_TRACKPOS;
        GetScrollInfo(WindowHandle(), SB_VERT, info);
        const Integer t = info.TrackPos;
        const Integer count = dataSet_->RecordCount();
        if (t > 1 && t < count)
          ScrollToRecNo(t);
        else if (t >= count)
          dataSet_->Last();
        else
          dataSet_->First();
      }
      break;
    case SB_TOP:
      dataSet_->First();
      break;
    case SB_BOTTOM:
      dataSet_->Last();
      break;
    default:
      break;
  }
  message.Result = 1;
  SyncEditor();
}

void TDBTabulon::WMHScroll(TMessage& message) {
  CloseEditor(feaPost, false);
  const Integer code = static_cast<Integer>(message.WParam & 0xFFFF);
  TScrollInfo info;
  info.Mask = SIF_POS;
  if (HandleAllocated()) GetScrollInfo(WindowHandle(), SB_HORZ, info);
  const Integer p = info.Pos;
  const Integer s = columns_->FirstShownGroup();
  Integer value = s;
  switch (code) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
      value = s - 1;
      break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
      value = s + 1;
      break;
    case SB_THUMBPOSITION:
      value = static_cast<Integer>(message.WParam >> 16) + s - p;
      break;
    case SB_LEFT:
      value = columns_->FirstScrollableGroup();
      break;
    case SB_RIGHT:
      value = columns_->FirstScrollableGroup() + columns_->ScrollableGroupCount() - 1;
      break;
    default:
      break;
  }
  if (value != s) {
    columns_->SetFirstShownGroup(value);
    columns_->ComputeScrollWindow(false, true);
    InvalidateGrid();
  }
  message.Result = 0;
}

void TDBTabulon::WMMouseWheel(TMessage& message) {
  // Without records to move through the wheel goes on to the parent (the
  // default handling); otherwise the grid consumes it.
  if (!dataSet_ || !dataSet_->Active() || !dataLink_->Active()) {
    TCustomControl::WMMouseWheel(message);
    return;
  }
  const auto delta = static_cast<SmallInt>((message.WParam >> 16) & 0xFFFF);
  Perform(WM_VSCROLL, delta > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
  message.Result = 1;
}

void TDBTabulon::WMSize(TMessage& message) {
  columns_->SetClientWidth(ClientWidth());
  {
    TGridFreeze freeze(this, false);
    TCustomControl::WMSize(message);
  }
  if (!columns_->HasGroups()) {
    InvalidateGrid();
    return;
  }
  if (Loading()) return;
  UpdateRowWindow();
  columns_->AutoFit();
  InvalidateGrid();
  SyncEditor();
}

// ---- the repaint after a scroll ----

void TDBTabulon::ScrollRows(Integer distance, Integer oldActive) {
  if (!HandleAllocated()) return;
  const HWND wnd = WindowHandle();
  const Integer width = ClientWidth();
  const Integer top = TitleAreaHeight();
  const bool uniform = effectiveDesigner_ && effectiveDesigner_->UniformRows();
  // The rows painted here after the move, with the cursor already where
  // the scroll put it (-1: none).
  Integer painted[3] = {-1, -1, -1};
  // The strip moves inside the data area; what it uncovers is invalidated.
  const TRect dataArea(0, top, width, dataAreaBottom_);
  auto scrollStrip = [&](Integer stripTop, Integer stripBottom, Integer dy) {
    TRect strip(0, stripTop, width, stripBottom);
    ScrollWindowEx(wnd, 0, dy, &strip, &dataArea, nullptr, nullptr, SW_INVALIDATE);
  };
  // Rows invalidated here or painted before the move, all painted by the
  // last Update below.
  Integer* slot = painted;
  auto paint = [&](std::initializer_list<Integer> rows, bool invalidate) {
    for (Integer row : rows) {
      if (invalidate) InvalidateRow(row);
      *slot++ = row;
    }
  };
  if (std::abs(distance) == 1 && rowCount_ >= 3 && uniform) {
    // Rows 1 .. RowCount-2 move as they are; the two rows at the end that
    // came into view (the new one and the one beside it) are repainted.
    if (distance == 1) {
      scrollStrip(top + rowHeight_, dataAreaBottom_ - rowHeight_, -rowHeight_);
      paint({rowCount_ - 2, rowCount_ - 1}, true);
    } else {
      scrollStrip(top + rowHeight_, dataAreaBottom_ - rowHeight_, rowHeight_);
      // The window's last row may end the lines differently from the row
      // that moved into its place.
      paint({0, 1, rowCount_ - 1}, true);
    }
    Update();
  } else if (std::abs(distance) == 1 && rowCount_ >= 5 && !uniform) {
    // Rows that depend on their neighbours: the edge row is painted first,
    // then the rest moves.
    if (distance == 1) {
      InvalidateRow(0);
      Update();
      scrollStrip(top + 2 * rowHeight_, dataAreaBottom_ - rowHeight_, -rowHeight_);
      paint({0}, false);
      paint({rowCount_ - 2, rowCount_ - 1}, true);
    } else {
      InvalidateRow(rowCount_ - 1);
      Update();
      scrollStrip(top + rowHeight_, dataAreaBottom_ - 2 * rowHeight_, rowHeight_);
      paint({rowCount_ - 1}, false);
      paint({0, 1}, true);
    }
    Update();
  } else {
    InvalidateRows();
    Update();
    return;
  }
  // The row the cursor left shows it still when it moved with the strip; a
  // row painted above already shows it gone.
  const Integer previous = oldActive - distance;
  if (previous >= 0 && previous < rowCount_ &&
      std::find(std::begin(painted), std::end(painted), previous) == std::end(painted))
    InvalidateRow(previous);
}

void TDBTabulon::RefreshData() {
  if (!dataSet_ || !dataSet_->Active()) return;
  TGridFreeze freeze(this, true);
  selection_->Clear(false, false);
  // The dataset's refresh keeps the current record and every link's window
  // as far as the records allow: nothing is walked, so the cost follows the
  // rows on screen whatever the record number (and needs none).
  dataSet_->Refresh();
}

// ---- data link handlers ----

void TDBTabulon::LinkActiveChanged(TDataLinkEx*) {
  dataSet_ = dataLink_->DataSet();
  selection_->ClearPendingChange();
  {
    TGridFreeze freeze(this, true);
    cursorRow_ = -1;
    UpdateRowWindow();
    BindColumns();
  }
  if (cursorType_ == gctSensitive) {
    currentRecShot_->Reset();
    currentRecShot_->CaptureCursor(true);
  }
}

void TDBTabulon::LinkDataChanged(TDataLinkEx*) {
  // First and Last report a data change, not a scroll: a pending range
  // reaches the record they went to.
  if (navigating_ && (pendingSelection_ & gsaRange) && dataSet_ &&
      (dataSet_->Bof() || dataSet_->Eof()))
    selection_->SelectRange(selection_->AnchorBookmark());
  {
    TGridFreeze freeze(this, true);
    BindColumns();
    UpdateRowWindow();
  }
  if (gridPosting_)
    currentRecShot_->CaptureCursor(true);
  else
    currentRecShot_->FollowCursor(true);
}

void TDBTabulon::ApplyLeavingActions(Cardinal actions, Integer row) {
  if (!(actions & (gsaSelectLeft | gsaUnselectLeft))) return;
  if (row < 0 || row >= dataLink_->RecordCount()) return;
  TActiveRecordGuard guard(dataLink_);
  dataLink_->SetActiveRecord(row);
  if (actions & gsaSelectLeft) selection_->SelectCurrent(true, false);
  if (actions & gsaUnselectLeft) selection_->SelectCurrent(false, false);
}

void TDBTabulon::ApplyArrivingActions(Cardinal actions, const String& anchor) {
  if (actions & gsaSelectReached) selection_->SelectCurrent(true, false);
  if (actions & gsaToggleReached)
    selection_->SelectCurrent(!selection_->IsCurrentSelected(), false);
  if (actions & gsaRange) selection_->SelectRange(anchor);
}

void TDBTabulon::LinkScrolled(TDataLinkEx*, Integer distance) {
  const TBookmark anchor = selection_->AnchorBookmark();
  const Cardinal actions = pendingSelection_;
  const Integer oldCursorRow = cursorRow_;
  const TTemporaryChange inHandler(inScrollHandler_, true);
  CloseEditor(feaClose, true);  // hidden, or kept over the new record
  currentRecShot_->FollowCursor(true);
  if (distance != 0) UpdateCursorRow(distance);
  if (pendingColumn_ >= 0 && pendingColumn_ != currentColumn_ &&
      pendingColumn_ < columns_->Count()) {
    currentColumn_ = pendingColumn_;
    currentColumnObj_ = columns_->Items(pendingColumn_);
  }
  if (columns_->HasGroups()) {
    if (distance != 0) {
      const Integer old = activeRow_;
      activeRow_ = dataLink_->ActiveRecord();
      ApplyLeavingActions(actions, activeRow_ - distance);
      ApplyArrivingActions(actions, anchor);
      if (paintingEnabled_) {
        if ((actions & gsaClear) && !selection_->IsEmpty())
          selection_->Clear(true, false);
        else
          ScrollRows(distance, old);
        Update();
      } else if (actions & gsaClear) {
        selection_->Clear(false, false);
      }
    } else {
      const Integer oldActive = activeRow_;
      activeRow_ = dataLink_->ActiveRecord();
      if (cursorType_ == gctSensitive) cursorRow_ = activeRow_;
      const bool hadSelection = !selection_->IsEmpty();
      if (oldCursorRow != -1) ApplyLeavingActions(actions, oldCursorRow);
      ApplyArrivingActions(actions, anchor);
      if (actions & gsaClear) selection_->Clear(false, false);
      if (((actions & gsaClear) && hadSelection) || (actions & gsaRange)) {
        InvalidateRows();
      } else if (oldCursorRow != -1) {
        InvalidateRow(oldCursorRow);
        if (std::abs(oldActive - activeRow_) != 1) Update();
      }
      if (cursorRow_ != -1) {
        InvalidateRow(cursorRow_);
        Update();
      }
    }
  } else {
    activeRow_ = dataLink_->ActiveRecord();
  }
  if (distance != 0 || !dataSet_->IsSequenced()) UpdateVertScrollBar(false);
  if (!navigating_) SyncEditor();
}

void TDBTabulon::LinkRecordChanged(TDataLinkEx*, TField*) {
  InvalidateRow(activeRow_);
  Update();
}

void TDBTabulon::LinkLayoutChanged(TDataLinkEx* sender) {
  TGridFreeze freeze(this, true);
  LinkActiveChanged(sender);
  LinkDataChanged(sender);
}

void TDBTabulon::LinkUpdateData(TDataLinkEx*) {
  PostEditorForUpdate();
}

void TDBTabulon::LinkFocusControl(TDataLinkEx*, TField*& field) {
  // The first selectable column bound to the field; the field reference
  // is left as it was.
  for (Integer i = 0; i < columns_->Count(); ++i) {
    TtlColumn* column = columns_->Items(i);
    if (column->Field() == field && column->IsSelectable()) break;
  }
}

}  // namespace brevant
