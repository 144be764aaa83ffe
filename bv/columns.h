// TtlColumn and TtlColumns: the grid's columns and its horizontal layout.
//
// The layout here is the one-line form: every visible column is a group of
// its own, groups stand left to right in collection order and scroll as a
// whole. Groups of several lines, fixed groups, fitting to the client width
// and the layout operations extend these classes without changing what the
// grid asks of them.
#pragma once

#include <vector>

#include "bv/bv_fwd.h"
#include "bv/column.h"
#include "classes/collection.h"
#include "db/db_fwd.h"

namespace brevant {

class TtlColumns : public TOwnedCollection {
  BV_CLASS(TtlColumns, TOwnedCollection)
 public:
  // grid may be nil: a free-standing collection.
  explicit TtlColumns(TDBTabulon* grid);
  TDBTabulon* Grid() const { return grid_; }

  TtlColumn* Items(Integer index) const;
  TtlColumn* Add();
  // A column for each field of dataset, in field order (for a closed
  // dataset without fields, for each field definition).
  void AddFields(TDataSet* dataSet);

  // ---- layout ----
  // Rebuilds the groups from the columns and computes their widths.
  void RebuildLayout();
  void ComputeGroupWidths();
  Integer GroupCount() const { return static_cast<Integer>(groups_.size()); }
  bool HasGroups() const { return !groups_.empty(); }
  const TtlGroupInfo& Groups(Integer index) const;
  Integer TotalWidth() const { return totalWidth_; }
  // The available client width, told by the grid.
  Integer ClientWidth() const { return clientWidth_; }
  void SetClientWidth(Integer value) { clientWidth_ = value; }
  bool AutoColumnFit() const { return autoColumnFit_; }
  void SetAutoColumnFit(bool value) { autoColumnFit_ = value; }
  // Fits the groups to the client width (with AutoColumnFit).
  void AutoFit() {}

  // ---- scroll window ----
  Integer FirstScrollableGroup() const { return groups_.empty() ? -1 : 0; }
  Integer ScrollableGroupCount() const { return GroupCount(); }
  // The left-most group in view.
  Integer FirstShownGroup() const { return firstShown_; }
  void SetFirstShownGroup(Integer value) { firstShown_ = value; }
  // Number of positions the left-most group can take: up to the first
  // group from which the rest fits into the client width.
  Integer ScrollPositions() const { return scrollPositions_; }
  // Clamps FirstShownGroup to the scroll positions and updates the grid's
  // horizontal bar.
  void ComputeScrollWindow();
  // A group's left edge on screen (its Left shifted by the scroll window).
  Integer GroupScreenLeft(Integer group) const;
  // A visible column whose group is at or after the first shown group.
  bool IsInView(const TtlColumn* column) const;

  // ---- derived lists ----
  Integer FirstSelectable() const;
  // FieldName of every visible column, semicolon-separated.
  String VisibleFieldNames() const;
  // The highest SortOrder of the columns (-1 when none is sorted).
  Integer MaxSortOrder() const;
  // Gives every column the line heights the grid measured.
  void SetLineHeights(Integer title, Integer cell, Integer footer);
  // A component the columns refer to is being freed.
  void ComponentFreed(TComponent* component);
  // Set while the collection is being assigned (no relayout meanwhile).
  bool Assigning() const { return assigning_; }
  void Assign(const TPersistent* source) override;

 protected:
  void Update(TCollectionItem* item) override;
  // Tells the grid of a column leaving the collection.
  void Notify(TCollectionItem* item, TCollectionNotification action) override;

 private:
  TDBTabulon* grid_;
  std::vector<TtlGroupInfo> groups_;
  Integer totalWidth_ = 0;
  Integer clientWidth_ = 0;
  Integer firstShown_ = 0;
  Integer scrollPositions_ = 0;
  bool autoColumnFit_ = false;
  bool assigning_ = false;
};

}  // namespace brevant
