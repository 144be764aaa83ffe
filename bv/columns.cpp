#include "bv/columns.h"

#include <algorithm>

#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"
#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/field.h"
#include "db/field_defs.h"
#include "rtl/scope.h"

namespace brevant {

// ---- TtlColumns ----

BV_IMPLEMENT_ABSTRACT_CLASS(TtlColumns, TOwnedCollection)

TtlColumns::TtlColumns(TDBTabulon* grid)
    : TOwnedCollection(grid, TtlColumn::StaticClass()), grid_(grid) {}

TtlColumn* TtlColumns::Items(Integer index) const {
  return static_cast<TtlColumn*>(TCollection::Items(index));
}

TtlColumn* TtlColumns::Add() {
  return static_cast<TtlColumn*>(TCollection::Add());
}

void TtlColumns::AddFields(TDataSet* dataSet) {
  if (!dataSet) return;
  TCollectionUpdate update(this);
  if (dataSet->Fields()->Count() > 0) {
    for (Integer i = 0; i < dataSet->Fields()->Count(); ++i)
      Add()->SetFieldName(dataSet->Fields()->Fields(i)->FieldName());
  } else {
    // A closed dataset without persistent fields: its definitions.
    for (Integer i = 0; i < dataSet->FieldDefs()->Count(); ++i)
      Add()->SetFieldName(dataSet->FieldDefs()->Items(i)->Name());
  }
}

void TtlColumns::RebuildLayout() {
  groups_.clear();
  // The scroll window is recomputed by the caller; until then the first
  // shown group must still name a group.
  for (Integer i = 0; i < Count(); ++i) {
    TtlColumn* column = Items(i);
    column->group_ = -1;
    column->line_ = column->posInLine_ = 0;
    column->lastInLine_ = true;
    column->lineLeft_ = 0;
    if (!column->Visible()) continue;
    TtlGroupInfo group;
    group.Index = GroupCount();
    group.FirstColumn = group.LastColumn = i;
    column->group_ = group.Index;
    groups_.push_back(group);
  }
  firstShown_ = std::clamp(firstShown_, 0, std::max(0, GroupCount() - 1));
  ComputeGroupWidths();
}

void TtlColumns::ComputeGroupWidths() {
  Integer left = 0;
  for (TtlGroupInfo& group : groups_) {
    group.Left = left;
    group.Width = Items(group.FirstColumn)->Width();
    left += group.Width;
  }
  totalWidth_ = left;
}

const TtlGroupInfo& TtlColumns::Groups(Integer index) const {
  CheckIndex(index, GroupCount());
  return groups_[static_cast<size_t>(index)];
}

void TtlColumns::ComputeScrollWindow() {
  // The left-most group may move right until the rest fits the client width.
  Integer last = 0;
  while (last < GroupCount() - 1 &&
         totalWidth_ - groups_[static_cast<size_t>(last)].Left > clientWidth_)
    ++last;
  scrollPositions_ = groups_.empty() ? 0 : last + 1;
  firstShown_ = std::clamp(firstShown_, 0, std::max(0, scrollPositions_ - 1));
  if (grid_) grid_->UpdateHorzScrollBar(false);
}

Integer TtlColumns::GroupScreenLeft(Integer group) const {
  if (groups_.empty()) return 0;
  const Integer first = std::clamp(firstShown_, 0, GroupCount() - 1);
  return Groups(group).Left - groups_[static_cast<size_t>(first)].Left;
}

bool TtlColumns::IsInView(const TtlColumn* column) const {
  return column && column->Visible() && column->group_ >= firstShown_ && column->group_ >= 0;
}

Integer TtlColumns::FirstSelectable() const {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->IsSelectable()) return i;
  return -1;
}

String TtlColumns::VisibleFieldNames() const {
  String names;
  for (Integer i = 0; i < Count(); ++i) {
    if (!Items(i)->Visible()) continue;
    if (!names.empty()) names += ';';
    names += Items(i)->FieldName();
  }
  return names;
}

Integer TtlColumns::MaxSortOrder() const {
  Integer result = -1;
  for (Integer i = 0; i < Count(); ++i) result = std::max(result, Items(i)->SortOrder());
  return result;
}

void TtlColumns::SetLineHeights(Integer title, Integer cell, Integer footer) {
  for (Integer i = 0; i < Count(); ++i) Items(i)->SetLineHeights(title, cell, footer);
}

void TtlColumns::ComponentFreed(TComponent* component) {
  for (Integer i = 0; i < Count(); ++i) Items(i)->ComponentFreed(component);
}

void TtlColumns::Assign(const TPersistent* source) {
  {
    TTemporaryChange assigning(assigning_, true);
    TCollection::Assign(source);
  }
  if (grid_) grid_->LayoutGrid();
}

void TtlColumns::Notify(TCollectionItem* item, TCollectionNotification action) {
  TOwnedCollection::Notify(item, action);
  if (grid_ && action != cnAdded) grid_->ColumnRemoving(static_cast<TtlColumn*>(item));
}

void TtlColumns::Update(TCollectionItem*) {
  if (grid_ && !assigning_) grid_->LayoutGrid();
}

}  // namespace brevant
