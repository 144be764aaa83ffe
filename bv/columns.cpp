// TtlColumns: the collection itself: items, update brackets and the change
// notification to the grid, copies, lookups and the derived column lists.
// The layout lives in columns_layout.cpp, its operations in
// columns_ops.cpp and its rules in columns_checks.cpp.
#include "bv/columns.h"

#include <algorithm>

#include "bv/field_list.h"
#include "bv/group_info.h"
#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"
#include "classes/rtti_builder.h"
#include "db/dataset.h"
#include "db/field.h"
#include "db/field_defs.h"
#include "rtl/closing_guard.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

BV_IMPLEMENT_ABSTRACT_CLASS(TtlColumns, TOwnedCollection)

TtlColumns::TtlColumns(TDBTabulon* grid)
    : TOwnedCollection(grid, TtlColumn::StaticClass()), grid_(grid) {}

TtlColumns::~TtlColumns() = default;

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

// ---- brackets and notifications ----

void TtlColumns::BeginUpdate() {
  updating_ = true;
  TOwnedCollection::BeginUpdate();
  if (grid_) grid_->FreezeGrid();
}

void TtlColumns::EndUpdate() {
  // The grid paints again before the notification relays it out; the
  // collection's bracket closes also when the grid's closing fails.
  TClosingGuard close([this] { TOwnedCollection::EndUpdate(); });
  if (grid_) grid_->UnfreezeGrid(false);
}

void TtlColumns::Update(TCollectionItem*) {
  updating_ = false;
  if (layoutReason_ == lrNone && grid_ && !assigning_) grid_->LayoutGrid();
}

void TtlColumns::Notify(TCollectionItem* item, TCollectionNotification action) {
  TOwnedCollection::Notify(item, action);
  // Inside an update bracket the groups wait for the rebuild; layout work
  // meanwhile rebuilds them first.
  stale_ = true;
  if (action == cnAdded) return;
  if (auto* column = static_cast<TtlColumn*>(item)) {
    std::erase(selectable_, column);
    if (grid_) grid_->ColumnRemoving(column);
  }
}

void TtlColumns::Assign(const TPersistent* source) {
  {
    TTemporaryChange assigning(assigning_, true);
    TCollectionUpdate update(this);
    TCollection::Assign(source);
    RebuildLayout();
  }
  if (grid_) grid_->LayoutGrid();
}

void TtlColumns::CopyColumns(const TtlColumns* source, bool clear, Cardinal mask) {
  if (!source || source == this) return;
  TCollectionUpdate update(this);
  if (clear) {
    Clear();
    for (Integer i = 0; i < source->Count(); ++i) Add()->CopyFrom(source->Items(i), mask);
    return;
  }
  for (Integer i = 0; i < source->Count(); ++i) {
    TtlColumn* from = source->Items(i);
    if (TtlColumn* to = FindByFieldName(from->FieldName())) to->CopyFrom(from, mask);
  }
}

// ---- lookups ----

TtlColumn* TtlColumns::FindByFieldName(const String& name) const {
  for (Integer i = 0; i < Count(); ++i)
    if (SameText(Items(i)->FieldName(), name)) return Items(i);
  return nullptr;
}

TtlColumn* TtlColumns::FindByTag(Integer tag) const {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->Tag() == tag) return Items(i);
  return nullptr;
}

Integer TtlColumns::IndexOfColumn(const TtlColumn* column) const {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i) == column) return i;
  return -1;
}

namespace {

std::vector<TtlColumn*> SortedColumns(const TtlColumns* columns) {
  std::vector<TtlColumn*> list;
  for (Integer i = 0; i < columns->Count(); ++i) {
    TtlColumn* c = columns->Items(i);
    if (c->Visible() && c->TitleState() != tsSortedNone) list.push_back(c);
  }
  std::stable_sort(list.begin(), list.end(),
                   [](TtlColumn* a, TtlColumn* b) { return a->SortOrder() < b->SortOrder(); });
  return list;
}

std::vector<TtlColumn*> FooterColumns(const TtlColumns* columns) {
  std::vector<TtlColumn*> list;
  for (Integer i = 0; i < columns->Count(); ++i) {
    TtlColumn* c = columns->Items(i);
    if (c->Visible() && c->FooterState() != fsNone) list.push_back(c);
  }
  return list;
}

TtlColumn* Pick(const std::vector<TtlColumn*>& list, Integer n) {
  CheckIndex(n, static_cast<Integer>(list.size()));
  return list[static_cast<size_t>(n)];
}

}  // namespace

Integer TtlColumns::SortedColumnCount() const {
  return static_cast<Integer>(SortedColumns(this).size());
}

TtlColumn* TtlColumns::SortedColumn(Integer n) const {
  return Pick(SortedColumns(this), n);
}

Integer TtlColumns::FooterColumnCount() const {
  return static_cast<Integer>(FooterColumns(this).size());
}

TtlColumn* TtlColumns::FooterColumn(Integer n) const {
  return Pick(FooterColumns(this), n);
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

// ---- selectable columns ----

void TtlColumns::RebuildSelectable() {
  selectable_.clear();
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->IsSelectable()) selectable_.push_back(Items(i));
}

TtlColumn* TtlColumns::Selectable(Integer index) const {
  return Pick(selectable_, index);
}

Integer TtlColumns::FirstSelectable() const {
  for (Integer i = 0; i < Count(); ++i)
    if (Items(i)->IsSelectable()) return i;
  return -1;
}

Integer TtlColumns::NearestSelectable() const {
  const Integer current = grid_ ? std::max(0, grid_->CurrentColumn()) : 0;
  for (Integer i = current; i < Count(); ++i)
    if (Items(i)->IsSelectable()) return i;
  for (Integer i = std::min(current, Count()) - 1; i >= 0; --i)
    if (Items(i)->IsSelectable()) return i;
  return -1;
}

void TtlColumns::PropagateAttrs() {
  const String attrs = grid_ ? grid_->Attrs() : String();
  for (Integer i = 0; i < Count(); ++i) Items(i)->FieldList()->SetAttrs(attrs);
}

void TtlColumns::SetLineHeights(Integer title, Integer cell, Integer footer) {
  for (Integer i = 0; i < Count(); ++i) Items(i)->SetLineHeights(title, cell, footer);
}

void TtlColumns::ComponentFreed(TComponent* component) {
  for (Integer i = 0; i < Count(); ++i) Items(i)->ComponentFreed(component);
}

}  // namespace brevant
