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
#include "classes/collection.h"
#include "db/db_fwd.h"

namespace brevant {

// One group of the layout: its place among the groups with visible columns,
// its columns (collection indexes) and its horizontal extent.
struct TtlGroupInfo {
  Integer Index = -1;
  Integer FirstColumn = -1;
  Integer LastColumn = -1;
  Integer Left = 0;
  Integer Width = 0;
  Integer Right() const { return Left + Width; }
};

class TtlColumn : public TCollectionItem {
  BV_CLASS(TtlColumn, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;

  const String& FieldName() const { return fieldName_; }
  // Binds the field again unless the grid is loading.
  void SetFieldName(const String& value);
  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  // Pixels, at least 0 (negative values raise EBVError).
  Integer Width() const { return width_; }
  void SetWidth(Integer value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);

  // The field named by FieldName in the grid's dataset, bound by BindField.
  TField* Field() const { return field_; }
  void BindField();
  // The caption shown in the title: Caption, else the field's display
  // name, else FieldName.
  String EffectiveCaption() const;
  // Whether the column can become the current column.
  bool IsSelectable() const { return visible_; }
  // The group the column stands in (nullptr while hidden).
  const TtlGroupInfo* GroupInfo() const;

  TtlColumns* Columns() const;
  TDBTabulon* Grid() const;
  String DisplayName() const override;
  void Assign(const TPersistent* source) override;

 private:
  friend class TtlColumns;
  String fieldName_;
  String caption_;
  Integer width_ = 45;
  bool visible_ = true;
  TField* field_ = nullptr;
  Integer group_ = -1;
};

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
