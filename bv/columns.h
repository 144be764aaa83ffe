// TtlColumns: the grid's column collection and the owner of its horizontal
// layout.
//
// The collection order is the layout order. A column whose LayoutLevel and
// LayoutIndex are both 0 starts a group (the first column always does);
// inside a group LayoutLevel is the line and LayoutIndex the place in it.
// Hidden columns keep their place but take no room. From this the
// collection derives the groups (owned TtlGroupInfo objects, one per group
// showing a column), each column's computed line, position, offset and
// neighbours, the group widths (a group is as wide as its widest line and
// every line is stretched to it), the fixed groups on the left and the
// horizontal scroll window over the others. Every layout operation (move,
// detach, move a group, resize a line or group, fit the client width) is
// done here; while one runs, LayoutReason tells which, and the grid's
// relayout waits for the change report at its end.
//
// LayoutFault checks the rules of the layout in code (see
// columns_checks.cpp); the randomised layout tests run it after every step.
#pragma once

#include <memory>
#include <vector>

#include "bv/bv_fwd.h"
#include "bv/column.h"
#include "bv/group_info.h"
#include "classes/collection.h"
#include "db/db_fwd.h"

namespace brevant {

// What runs while TtlColumns::LayoutReason is not lrNone.
enum TtlLayoutReason : Byte {
  lrNone,
  lrMoveColumn,
  lrDetachColumn,
  lrApplyFixedColumns,
  lrAddColumn,
  lrMoveGroup
};

class TtlColumns : public TOwnedCollection {
  BV_CLASS(TtlColumns, TOwnedCollection)
 public:
  // grid may be nil: a free-standing collection.
  explicit TtlColumns(TDBTabulon* grid);
  ~TtlColumns() override;
  TDBTabulon* Grid() const { return grid_; }

  TtlColumn* Items(Integer index) const;
  TtlColumn* Add();
  // A column for each field of dataset, in field order (for a closed
  // dataset without fields, for each field definition).
  void AddFields(TDataSet* dataSet);
  // Also opens the grid's freeze bracket (closed first by EndUpdate).
  void BeginUpdate() override;
  void EndUpdate() override;
  // Set from BeginUpdate until the change notification arrives.
  bool Updating() const { return updating_; }
  TtlLayoutReason LayoutReason() const { return layoutReason_; }
  // Set while the collection is being assigned (no relayout meanwhile).
  bool Assigning() const { return assigning_; }
  void Assign(const TPersistent* source) override;
  // Copies the columns of source: with clear, one new column per source
  // column; otherwise each source column into the column of the same field
  // name, when there is one (order unchanged). mask as TtlColumn::CopyFrom.
  void CopyColumns(const TtlColumns* source, bool clear, Cardinal mask);

  // ---- lookups and derived lists ----
  // First column whose FieldName equals name ignoring case, else nil.
  TtlColumn* FindByFieldName(const String& name) const;
  TtlColumn* FindByTag(Integer tag) const;
  Integer IndexOfColumn(const TtlColumn* column) const;
  // Visible columns sorted up or down, by SortOrder.
  Integer SortedColumnCount() const;
  TtlColumn* SortedColumn(Integer n) const;
  // Visible columns with a footer state, in collection order.
  Integer FooterColumnCount() const;
  TtlColumn* FooterColumn(Integer n) const;
  // FieldName of every visible column, semicolon-separated.
  String VisibleFieldNames() const;
  // The highest SortOrder of the columns (-1 when none is sorted).
  Integer MaxSortOrder() const;
  // The visible columns without cboNoSelecting, in collection order.
  void RebuildSelectable();
  Integer SelectableCount() const { return static_cast<Integer>(selectable_.size()); }
  TtlColumn* Selectable(Integer index) const;
  bool HasSelectable() const { return !selectable_.empty(); }
  Integer FirstSelectable() const;
  // The first selectable column at or after the grid's current column,
  // else the last one before it, else -1 (collection indexes).
  Integer NearestSelectable() const;
  // Hands the grid's Attrs to every column's field list.
  void PropagateAttrs();
  // A component the columns refer to is being freed.
  void ComponentFreed(TComponent* component);

  // ---- layout ----
  void RebuildLayout();
  void ComputeGroupWidths();
  Integer GroupCount() const { return static_cast<Integer>(groups_.size()); }
  bool HasGroups() const { return !groups_.empty(); }
  TtlGroupInfo* Groups(Integer index) const;
  Integer TotalWidth() const { return totalWidth_; }
  bool HasFixed() const { return lastFixed_ != -1; }
  bool HasScrollable() const { return lastScrollable_ != -1; }
  Integer LastFixedGroup() const { return lastFixed_; }
  // -1 without scrollable groups.
  Integer FirstScrollableGroup() const { return firstScrollable_; }
  Integer LastScrollableGroup() const { return lastScrollable_; }
  // Whether a fixed group stands behind a scrollable one.
  bool FixedBehindScrollable() const {
    return firstScrollable_ >= 0 && lastFixed_ > firstScrollable_;
  }
  Integer ScrollableGroupCount() const;
  // Left + total width of the last fixed group, 0 without fixed groups.
  Integer FixedWidth() const { return fixedWidth_; }
  // The available client width, told by the grid.
  Integer ClientWidth() const { return clientWidth_; }
  void SetClientWidth(Integer value) { clientWidth_ = value; }
  bool AutoColumnFit() const { return autoColumnFit_; }
  void SetAutoColumnFit(bool value) { autoColumnFit_ = value; }
  // Gives every column the line heights the grid measured for its group.
  void SetLineHeights(Integer title, Integer cell, Integer footer);

  // Sizes: newWidth 0 means the group's Width + delta.
  void ResizeGroup(TtlGroupInfo* group, Integer newWidth, Integer delta);
  // Re-distributes line `line` of group: without anchor the line totals
  // delta + (width, or its current total); with an anchor column that one
  // becomes delta + (width, or its own width) and the others absorb the
  // change. With grow the group takes what the line could not absorb.
  void ResizeLine(TtlGroupInfo* group, Integer line, Integer delta, bool grow, Integer width,
                  TtlColumn* anchor);
  // Scales the fixed and/or scrollable groups to share the client width.
  void FitToWidth(bool fixed, bool scrollable);
  // FitToWidth with AutoColumnFit, then ComputeScrollWindow(false, true).
  void AutoFit();

  // ---- scroll window ----
  // Recomputes the scroll positions (recount), brings the grid's current
  // column into view (followCurrent), clamps the left group, places the
  // groups on screen and updates the grid's horizontal bar.
  void ComputeScrollWindow(bool followCurrent, bool recount);
  // The left-most scrollable group in view (-1 without scrollable groups).
  Integer FirstShownGroup() const { return leftGroup_; }
  void SetFirstShownGroup(Integer value) { leftGroup_ = value; }
  // The last group that starts inside the client width.
  Integer LastGroupInView() const { return lastInView_; }
  // Positions the left group can take: up to the first group from which
  // the rest fits the client width (at least one with scrollable groups).
  Integer ScrollPositions() const { return scrollPositions_; }
  // A group's left edge on screen for the scroll window.
  Integer GroupScreenLeft(Integer group) const;
  // A visible column whose group is fixed or at or after the left group.
  bool IsInView(const TtlColumn* column) const;
  // Whether the column's group is wholly inside the scroll window (the
  // last group in view may be cut off).
  bool IsGroupInView(const TtlColumn* column) const;

  // ---- layout operations ----
  // A new column: detached before group (level -1; at the end for nil) or
  // moved into group at (level, index); takes source's FieldName.
  TtlColumn* AddColumn(TtlGroupInfo* group, Integer level, Integer index,
                       const TtlColumn* source = nullptr);
  // Moves column into group at line level, place index (-1: a new line is
  // inserted at level). Neither group changes its width.
  void MoveColumn(TtlColumn* column, TtlGroupInfo* group, Integer level, Integer index);
  // Makes column a group of its own before beforeGroup (nil: at the end).
  void DetachColumn(TtlColumn* column, TtlGroupInfo* beforeGroup);
  // Moves all columns of group before beforeGroup's first column (nil: to
  // the end), keeping their order.
  void MoveGroup(TtlGroupInfo* group, TtlGroupInfo* beforeGroup);
  // What setting Index of column outside a layout operation does: its
  // group goes before (towards the start) or after (towards the end) the
  // group of the column now at index.
  void MoveGroupToIndex(TtlColumn* column, Integer index);
  bool SameGroup(const TtlColumn* a, const TtlColumn* b) const;
  // Dense numbering: lines 0, 1 ... and places 0, 1 ... in each line.
  void RenumberGroup(TtlGroupInfo* group);
  // Detaches every visible column whose Fixed differs from its group's
  // before the first scrollable group, and brings whole fixed groups that
  // stand behind scrollable ones to the front.
  void ApplyFixedColumns();

  // ---- checks ----
  // Empty when the layout keeps its rules, else the broken ones.
  String LayoutFault() const;
  // Raises EInvalidOperation naming the broken rules.
  void CheckLayoutInvariants() const;

 protected:
  void Update(TCollectionItem* item) override;
  // Tells the grid of a column leaving the collection.
  void Notify(TCollectionItem* item, TCollectionNotification action) override;

 private:
  friend class TtlColumn;
  // The collection indexes [first, last] of the group holding index, by
  // the stored numbering (all-hidden groups included).
  void GroupRange(Integer index, Integer& first, Integer& last) const;
  // Renumbers count columns from first (which may no longer start a group).
  void RenumberSpan(TtlColumn* first, Integer count);
  // Moves column to stand just before before (nil: at the end).
  void MoveBefore(TtlColumn* column, TtlColumn* before);
  // DetachColumn before the group whose first column is anchor.
  void DetachBefore(TtlColumn* column, TtlColumn* anchor);
  // MoveGroup of the group holding index, before anchor (nil: the end).
  void MoveRangeBefore(Integer index, TtlColumn* anchor);
  // Brings fixed groups standing behind scrollable ones to the front of the
  // scrollable range, so that the fixed groups come first.
  void MoveFixedGroupsFirst();
  // Rebuild and widths, as the operations need them between steps.
  void RelayoutNow();
  // Rebuilds the groups when columns came or went since the last rebuild.
  void RebuildIfStale();
  // Visible columns of group on computed line `line`.
  std::vector<TtlColumn*> LineColumns(const TtlGroupInfo* group, Integer line) const;
  // Scales line `line` of group to total (without anchor, without growing).
  void ScaleLine(TtlGroupInfo* group, Integer line, Integer total);
  // Fixed-width and standalone summaries of the column's group.
  void RefreshGroupFlags(TtlGroupInfo* group);
  // Scales the groups [first, last] to share total (plus their line widths).
  void FitGroups(Integer first, Integer last, Integer total);
  void PlaceGroupsOnScreen();
  String GroupFault(const TtlGroupInfo* group) const;
  String OrderFault() const;

  TDBTabulon* grid_;                       // owner; nil when free-standing
  bool updating_ = false;                  // BeginUpdate until Update
  bool assigning_ = false;                 // Assign runs
  TtlLayoutReason layoutReason_ = lrNone;  // the running layout operation
  bool stale_ = false;                     // columns came or went since the last rebuild
  bool autoColumnFit_ = false;             // fit the client width
  Integer clientWidth_ = 0;                // available width
  std::vector<std::unique_ptr<TtlGroupInfo>> groups_;  // one per group showing a column
  Integer totalWidth_ = 0;                             // sum of the groups' total widths
  Integer lastFixed_ = -1;                             // last fixed group
  Integer firstScrollable_ = -1;                       // first scrollable group
  Integer lastScrollable_ = -1;                        // last scrollable group
  Integer fixedWidth_ = 0;                             // right edge of the fixed groups
  Integer leftGroup_ = -1;                             // left scrollable group in view
  Integer lastInView_ = -1;                            // last group starting in the client
  Integer scrollPositions_ = 0;                        // positions of the left group
  std::vector<TtlColumn*> selectable_;                 // visible, without cboNoSelecting
};

}  // namespace brevant
