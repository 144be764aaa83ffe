// Column sizing and column, group and record dragging in the grid.
//
// Sizing: SizingEdgeAt finds a column's right edge under the pointer and
// prepares the process-wide sizer; StartSizing, TrackSizing and EndSizing
// draw, move and finish its xor line and size the column or its group.
//
// Dragging: titles are dragged through the platform's drag manager (or, at
// design time, by the grid's own mouse handlers); TrackDrop finds where the
// title would go and shows the drop markers, ApplyDrop moves it there.
// Records dragged over the grid highlight the row under the pointer.
#include <algorithm>
#include <exception>

#include "backend/codes.h"
#include "bv/column_sizer.h"
#include "bv/columns.h"
#include "bv/dragger.h"
#include "bv/grid_messages.h"
#include "bv/group_info.h"
#include "bv/tabulon.h"
#include "classes/component.h"
#include "controls/dragdrop.h"
#include "controls/forms.h"
#include "controls/wincore.h"
#include "rtl/scope.h"

namespace brevant {

bool TDBTabulon::Designing() const {
  return IsDesigning();
}

// ---- sizing ----

bool TDBTabulon::SizingEdgeAt(Integer x, Integer y) {
  if (!columns_->HasGroups()) return false;
  const Integer d = DragDistances().Sizing;
  const Integer clientWidth = ClientWidth();
  TtlColumn* left = nullptr;
  Integer row = -1;
  const TtlHitZone zone = ProbeLayout(this, x - d, y, left, row);
  if (!left) return false;
  // The band that counts: the titles; without titles the whole height
  // (full-height sizing) or the first row.
  if (showTitles_) {
    if (zone != hzTitle) return false;
  } else if (!optionsBehavior_.Contains(gboFullHeightSizing)) {
    const bool smart = optionsBehavior_.Contains(gboSmartSizing) && clientWidth - x > d + 2;
    if (zone != hzCell || row != 0 || !(smart || Designing())) return false;
  }
  const bool nearRight = clientWidth - x <= d;
  TtlColumn* right = nullptr;
  Integer rightRow = -1;
  const TtlHitZone rightZone = ProbeLayout(this, x + d, y, right, rightRow);
  if (right && (right == left || rightZone != zone) && !nearRight) return false;
  // Whether the column may be sized: never in a group of fixed width; at
  // run time the options decide for the group (last column of its line)
  // and for inner columns.
  const TtlGroupInfo* group = left->GroupInfo();
  if (!group || group->FixedWidth) return false;
  const bool lastInLine = left->LowLevelInfo()->IsLastInLine;
  if (!Designing()) {
    if (lastInLine && optionsBehavior_.Contains(gboNoGroupSizing)) return false;
    if (!lastInLine && optionsBehavior_.Contains(gboNoColumnSizing)) return false;
  }
  const Integer columnLeft = group->ScreenLeft + left->LowLevelInfo()->Offset;
  const Integer minX = nearRight ? x + columnLeft - clientWidth : columnLeft;
  const Integer maxX = lastInLine ? kSizerUnlimited : group->ScreenLeft + group->Width;
  ColumnSizer()->Prepare(left, minX, maxX);
  return true;
}

void TDBTabulon::StartSizing(Integer x) {
  mouseMode_ = 2;
  ColumnSizer()->Start(this, x);
}

void TDBTabulon::TrackSizing(Integer x) {
  if (ColumnSizer()->Grid() == this) ColumnSizer()->Track(x);
}

void TDBTabulon::EndSizing(Integer x) {
  TtlColumnSizer* sizer = ColumnSizer();
  if (sizer->Grid() != this) return;
  TtlColumn* column = sizer->Column();
  const Integer width = sizer->Finish(x);
  mouseMode_ = 0;
  if (!column || column->Collection() != columns_ || !column->GroupInfo()) return;
  if (!column->LowLevelInfo()->IsLastInLine) {
    // The column's own rule (at least 2) and the line's redistribution.
    column->SetWidth(width);
  } else {
    columns_->ResizeGroup(column->GroupInfo(), 0, width - column->Width());
    LayoutGrid();
  }
  if (Designing()) TComponent::DesignerModified(this);
}

void TDBTabulon::WMSetCursor(TMessage& message) {
  if (mouseMode_ == 1 || mouseMode_ == 2) {
    brevant::SetCursor(crHSplit);
    message.Result = 1;
    return;
  }
  TCustomControl::WMSetCursor(message);
}

void TDBTabulon::CMDesignHitTest(TMessage& message) {
  const TPoint p = LParamToPoint(message.LParam);
  const bool take = mouseMode_ != 0 || dragger_->DesignerDrag() ||
                    TitleColumnAt(this, p.X, p.Y) != nullptr || SizingEdgeAt(p.X, p.Y);
  message.Result = take ? 1 : 0;
}

// ---- starting and ending drags ----

void TDBTabulon::StartColumnDrag(TtlColumn* column) {
  if (!column) return;
  mouseMode_ = 0;
  dragger_->SetColumnDrag(true);
  draggedColumn_ = column;
  if (Designing()) {
    TDragObject* object = nullptr;
    DoStartDrag(object);
  } else {
    BeginDrag(true);
  }
}

void TDBTabulon::StartRecordDrag() {
  dragger_->SetDragStarted(true);
  editOnRelease_ = false;
  BeginDrag(true);
}

void TDBTabulon::DoStartDrag(TDragObject*& dragObject) {
  dragger_->AcquireMarkers();
  dragger_->SetRecordDragArmed(false);
  dragger_->SetDragStarted(true);
  if (Designing()) dragger_->SetDesignerDrag(true);
  dragger_->TakeHover(-1);
  if (!dragger_->ColumnDrag()) InvalidateRow(cursorRow_);
  TCustomControl::DoStartDrag(dragObject);
}

bool TDBTabulon::ResetOwnDrag() {
  const bool columnDrag = dragger_->ColumnDrag();
  const bool tracked = DragTracking();
  dragger_->ClearFlags();
  dragger_->ClearDrop();
  dragger_->ReleaseMarkers();
  if (hitZone_ == hzCell) InvalidateRow(hitRow_);
  // The current row takes its own look back once rows are no longer tracked.
  if (tracked) InvalidateRow(cursorRow_);
  dragger_->TakeHover(-1);
  dragger_->SetDragSource(nullptr);
  if (columnDrag) {
    SetPressedTitle(nullptr);
    draggedColumn_ = nullptr;
    InvalidateTitles();
  }
  return columnDrag;
}

void TDBTabulon::DoEndDrag(TObject* target, Integer x, Integer y) {
  if (!ResetOwnDrag()) TCustomControl::DoEndDrag(target, x, y);
}

void TDBTabulon::EndDragOver() {
  const bool tracked = DragTracking();
  const Integer hover = dragger_->HoverRow();
  dragger_->HideMarkers();
  dragger_->ClearDrop();
  if (!dragger_->DragStarted()) dragger_->ReleaseMarkers();
  if (IsCustomizerDrag(dragger_->DragSource())) draggedColumn_ = nullptr;
  dragger_->SetTrackRows(false);
  dragger_->SetForeignDrag(false);
  dragger_->SetDragSource(nullptr);
  dragger_->TakeHover(-1);
  if (tracked) {
    InvalidateRow(cursorRow_);
    InvalidateRow(hover);
  }
}

void TDBTabulon::CMDrag(TMessage& message) {
  const auto kind = static_cast<TDragMessage>(message.WParam);
  if (kind != dmDragDrop && kind != dmDragCancel) {
    TCustomControl::CMDrag(message);
    return;
  }
  const auto* rec = reinterpret_cast<const TDragRec*>(message.LParam);
  const bool own = rec && DragSourceOf(rec->Source) == this;
  const int exceptions = std::uncaught_exceptions();
  // A drag from elsewhere ends here (its DoEndDrag is another control's);
  // an own drop that fails never reaches DoEndDrag, so its state ends here
  // too (without OnEndDrag: a handler must not run while one fails).
  TScopeGuard end([this, own, exceptions] {
    if (!own) {
      EndDragOver();
    } else if (std::uncaught_exceptions() > exceptions) {
      ResetOwnDrag();
    }
  });
  TCustomControl::CMDrag(message);
}

// ---- over and onto the grid ----

bool TDBTabulon::IsCustomizerDrag(TObject* source) const {
  if (!customizerAttached_ || !customizerWnd_) return false;
  auto* control = dynamic_cast<TControl*>(source);
  TCustomForm* form = control ? GetParentForm(control) : nullptr;
  return form && form->HandleAllocated() && form->Handle() == customizerWnd_;
}

bool TDBTabulon::IsTrackableSource(TObject* source) const {
  if (auto* grid = dynamic_cast<TDBTabulon*>(source); grid && grid->Dragger()->ColumnDrag())
    return false;
  auto* control = dynamic_cast<TControl*>(source);
  TCustomForm* form = control ? GetParentForm(control) : nullptr;
  if (!form || !form->HandleAllocated()) return true;
  const std::vector<HWND>& windows = CustomizerWindows();
  return std::find(windows.begin(), windows.end(), form->Handle()) == windows.end();
}

bool TDBTabulon::DragTracking() const {
  if (!dragger_ || !dragger_->TrackRows() || dragger_->ColumnDrag()) return false;
  return dragger_->DragStarted() ? !optionsBehavior_.Contains(gboNoInsideDragTrack)
                                 : !optionsBehavior_.Contains(gboNoIncomingDragTrack);
}

void TDBTabulon::DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept) {
  TrackMouse(x, y);
  accept = false;
  const bool fromCustomizer = IsCustomizerDrag(source);
  const bool ownColumnDrag = source == this && dragger_->ColumnDrag();
  const bool ordinary = !fromCustomizer && !ownColumnDrag;
  dragger_->SetForeignDrag(ordinary);
  dragger_->SetTrackRows(ordinary && IsTrackableSource(source) && state != dsDragLeave);
  if (source != this && state == dsDragEnter) {
    dragger_->AcquireMarkers();
    dragger_->SetDragSource(source);
  }
  const Integer previousRow = dragger_->HoverRow();
  if (dragger_->TrackRows()) dragger_->TakeHover(hitZone_ == hzCell ? hitRow_ : -1);
  if (fromCustomizer && state == dsDragEnter)
    draggedColumn_ = reinterpret_cast<TtlColumn*>(
        SendMessage(customizerWnd_, WM_TL_CUSTOMIZER, gcaDragQuery, 0));
  if (ownColumnDrag || fromCustomizer) {
    if (state == dsDragMove) TrackDrop(x, y);
    accept = true;
  }
  if (state == dsDragLeave) {
    dragger_->HideMarkers();
    dragger_->ClearDrop();
    if (fromCustomizer) draggedColumn_ = nullptr;
    if (source != this) {
      dragger_->ReleaseMarkers();
      dragger_->SetDragSource(nullptr);
    }
  }
  if (!ordinary) return;
  TCustomControl::DragOver(source, x, y, state, accept);
  RepaintTrackedRows(state, previousRow);
  if (state == dsDragLeave) dragger_->TakeHover(-1);
}

void TDBTabulon::RepaintTrackedRows(TDragState state, Integer previousRow) {
  const Integer hover = dragger_->HoverRow();
  switch (state) {
    case dsDragEnter:
      InvalidateRow(cursorRow_);
      InvalidateRow(hover);
      break;
    case dsDragLeave:
      InvalidateRow(cursorRow_);
      InvalidateRow(previousRow);
      break;
    case dsDragMove:
      if (previousRow != hover) {
        InvalidateRow(previousRow);
        InvalidateRow(hover);
      }
      break;
  }
}

void TDBTabulon::DragDrop(TObject* source, Integer x, Integer y) {
  if (source == this && dragger_->ColumnDrag()) {
    ApplyDrop(draggedColumn_);
    if (Designing()) TComponent::DesignerModified(this);
  } else if (IsCustomizerDrag(source)) {
    Perform(WM_TL_CUSTOMIZER, gcaDropped, 0);
  } else {
    TCustomControl::DragDrop(source, x, y);
  }
  if (source != this) InvalidateRow(dragger_->HoverRow());
}

void TDBTabulon::DesignDragOver(Integer x, Integer y) {
  bool accept = false;
  DragOver(this, x, y, dsDragMove, accept);
}

void TDBTabulon::DesignDragDrop(Integer x, Integer y) {
  // The drag's state ends also when the drop fails.
  TScopeGuard reset([this] { ResetOwnDrag(); });
  DragDrop(this, x, y);
  reset.Dismiss();
  DoEndDrag(this, x, y);
}

// ---- drop targets ----

TtlDropTarget TDBTabulon::FindDropTarget(Integer x, Integer y) const {
  const TtlDropTarget none;
  if (!showTitles_ || y < 0 || y >= TitleAreaHeight() || !columns_->HasGroups()) return none;
  const bool runTime = !Designing();
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool onlyNewGroup = runTime && (optionsBehavior_.Contains(gboNoColumnGrouping) || shift);
  const bool noNewGroup = runTime && optionsBehavior_.Contains(gboNoColumnMoving);
  const TtlDragDistances& d = DragDistances();
  TtlColumn* hovered = TitleColumnAt(this, x, y);

  // A new line: the probes above and below fall on different titles.
  if (!onlyNewGroup && hovered) {
    TtlColumn* above = TitleColumnAt(this, x, y - d.RowDrop);
    TtlColumn* below = TitleColumnAt(this, x, y + d.RowDrop);
    if (above != below) {
      const Integer level = below ? below->LayoutLevel() : above->LayoutLevel() + 1;
      return TtlDropTarget{dtkNewLine, hovered->GroupInfo()->Index, level, 0};
    }
  }
  // A new group: the probes left and right fall on different groups.
  if (!noNewGroup) {
    TtlColumn* left = TitleColumnAt(this, x - d.ColumnDrop, y);
    TtlColumn* right = TitleColumnAt(this, x + d.ColumnDrop, y);
    if ((left || right) && (!left || !right || left->GroupInfo() != right->GroupInfo()))
      return TtlDropTarget{dtkNewGroup, right ? right->GroupInfo()->Index : -1, 0, 0};
  }
  // Into the line: the probes a third of the title's width away fall on
  // different columns of its group (or outside it).
  if (!onlyNewGroup && hovered) {
    const TtlGroupInfo* group = hovered->GroupInfo();
    const Integer third = hovered->Width() / 3;
    TtlColumn* left = TitleColumnAt(this, x - third, y);
    TtlColumn* right = TitleColumnAt(this, x + third, y);
    if (left && left->GroupInfo() != group) left = nullptr;
    if (right && right->GroupInfo() != group) right = nullptr;
    if (left != right) {
      const Integer pos = right ? right->LayoutIndex() : left->LayoutIndex() + 1;
      return TtlDropTarget{dtkIntoLine, group->Index, hovered->LayoutLevel(), pos};
    }
  }
  return none;
}

bool TDBTabulon::DropAllowed(const TtlDropTarget& target) const {
  if (target.Kind == dtkNone) return true;
  const TtlColumn* column = draggedColumn_;
  const bool intoGroup = target.Kind != dtkNewGroup;
  const TtlGroupInfo* group = target.Group >= 0 && target.Group < columns_->GroupCount()
                                  ? columns_->Groups(target.Group)
                                  : nullptr;
  if (!Designing() && column) {
    const TtlColumnOptionsBehavior options = column->OptionsBehavior();
    if (options.Contains(cboNoDragging)) return false;
    if (intoGroup && (options.Contains(cboFixedWidth) || options.Contains(cboStandalone)))
      return false;
    if (optionsBehavior_.Contains(gboNoColumnMoving) &&
        !optionsBehavior_.Contains(gboNoColumnGrouping) && (!group || group != column->GroupInfo()))
      return false;
    if (intoGroup && group && (group->Standalone || group->FixedWidth)) return false;
  }
  if (!columns_->HasFixed()) return true;
  // Fixed columns stay with fixed columns: the target's fixedness is its
  // group's; for a new group the group's before it, or the target group's
  // own when it is the first; fixed when nothing scrolls.
  TtlColumnFixed fixed = cfLeft;
  if (columns_->HasScrollable()) {
    if (target.Kind != dtkNewGroup) {
      if (!group) return false;
      fixed = group->Fixed;
    } else if (target.Group == 0) {
      fixed = columns_->Groups(0)->Fixed;
    } else {
      const Integer before = target.Group < 0 ? columns_->GroupCount() - 1 : target.Group - 1;
      fixed = columns_->Groups(before)->Fixed;
    }
  }
  return fixed == (column ? column->Fixed() : cfNone);
}

void TDBTabulon::TrackDrop(Integer x, Integer y) {
  TtlDropTarget target = FindDropTarget(x, y);
  if (!DropAllowed(target)) target = TtlDropTarget();
  dragger_->SetDrop(target);
  dragger_->ShowMarkers(target);
}

void TDBTabulon::ApplyDrop(TtlColumn* column) {
  if (!column) return;
  const TtlDropTarget drop = dragger_->Drop();
  TtlGroupInfo* group = dragger_->DropGroup();
  switch (drop.Kind) {
    case dtkNewGroup: {
      const bool wholeGroup = GetKeyState(VK_SHIFT) < 0 ||
                              (!Designing() && optionsBehavior_.Contains(gboNoColumnGrouping));
      if (wholeGroup)
        columns_->MoveGroup(column->GroupInfo(), group);
      else
        columns_->DetachColumn(column, group);
      break;
    }
    case dtkNewLine:
      columns_->MoveColumn(column, group, drop.Line, -1);
      break;
    case dtkIntoLine:
      columns_->MoveColumn(column, group, drop.Line, drop.Pos);
      break;
    case dtkNone:
      break;
  }
}

}  // namespace brevant
