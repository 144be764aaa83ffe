// TtlColumns: the layout operations: moving a column into a group,
// detaching it into a group of its own, moving whole groups, adding a
// column at a layout place, renumbering and keeping fixed groups first.
// Each runs under its LayoutReason (so the grid does not relayout half-way)
// and ends with its change report, also when a step fails.
#include <algorithm>

#include "bv/columns.h"
#include "bv/group_info.h"
#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "classes/component.h"
#include "rtl/closing_guard.h"
#include "rtl/scope.h"

namespace brevant {

namespace {

// Whether (level, index) sorts before the column's stored place.
bool SortsBefore(Integer level, Integer index, const TtlColumn* c) {
  return level < c->LayoutLevel() || (level == c->LayoutLevel() && index < c->LayoutIndex());
}

}  // namespace

void TtlColumns::GroupRange(Integer index, Integer& first, Integer& last) const {
  first = index;
  while (first > 0 && !Items(first)->StartsGroup()) --first;
  last = index;
  while (last + 1 < Count() && !Items(last + 1)->StartsGroup()) ++last;
}

bool TtlColumns::SameGroup(const TtlColumn* a, const TtlColumn* b) const {
  const Integer ia = IndexOfColumn(a), ib = IndexOfColumn(b);
  if (ia < 0 || ib < 0) return false;
  Integer fa = 0, la = 0, fb = 0, lb = 0;
  GroupRange(ia, fa, la);
  GroupRange(ib, fb, lb);
  return fa == fb;
}

void TtlColumns::RenumberSpan(TtlColumn* first, Integer count) {
  const Integer start = IndexOfColumn(first);
  if (start < 0 || count <= 0) return;
  Integer level = 0, index = 0, previous = first->layoutLevel_;
  first->layoutLevel_ = first->layoutIndex_ = 0;
  for (Integer k = 1; k < count && start + k < Count(); ++k) {
    TtlColumn* c = Items(start + k);
    if (c->layoutLevel_ != previous) {
      ++level;
      index = 0;
    } else {
      ++index;
    }
    previous = c->layoutLevel_;
    c->layoutLevel_ = level;
    c->layoutIndex_ = index;
  }
}

void TtlColumns::RenumberGroup(TtlGroupInfo* group) {
  if (!group) return;
  Integer first = 0, last = 0;
  GroupRange(group->FirstColumn, first, last);
  RenumberSpan(Items(first), last - first + 1);
}

void TtlColumns::MoveBefore(TtlColumn* column, TtlColumn* before) {
  const Integer current = IndexOfColumn(column);
  const Integer target = before ? IndexOfColumn(before) : Count();
  const Integer index = current < target ? target - 1 : target;
  // The single item moves: the column's own SetIndex would move its group.
  if (index != current) column->TCollectionItem::SetIndex(index);
}

// The columns of the group holding index, without skip.
static std::vector<TtlColumn*> GroupColumns(const TtlColumns* columns, Integer first, Integer last,
                                            const TtlColumn* skip) {
  std::vector<TtlColumn*> list;
  for (Integer j = first; j <= last; ++j)
    if (columns->Items(j) != skip) list.push_back(columns->Items(j));
  return list;
}

void TtlColumns::MoveColumn(TtlColumn* column, TtlGroupInfo* group, Integer level, Integer index) {
  if (!column || !group) return;
  TtlColumn* anchor = Items(group->FirstColumn);
  if (!column->visible_) {
    column->SetVisible(true);
    group = anchor->groupInfo_;
    if (!group) return;
  }
  if (column->groupInfo_ == group && group->Single) return;
  if (level < 0 || index < -1) throw EDBTabulon(bvres::SInvalidLayoutPosition, {level, index});
  TClosingGuard report([column] { column->Changed(false); });
  TTemporaryChange reason(layoutReason_, lrMoveColumn);
  TtlGroupInfo* old = column->groupInfo_;
  const Integer targetWidth = group->Width, oldWidth = old ? old->Width : 0;

  Integer first = 0, last = 0;
  GroupRange(IndexOfColumn(anchor), first, last);
  const std::vector<TtlColumn*> target = GroupColumns(this, first, last, column);
  GroupRange(IndexOfColumn(column), first, last);
  std::vector<TtlColumn*> rest = GroupColumns(this, first, last, column);
  if (rest.empty() || rest.front() == target.front()) rest.clear();  // alone, or the same group

  if (index == -1) {
    for (TtlColumn* c : target)
      if (c->layoutLevel_ >= level) ++c->layoutLevel_;
    index = 0;
  }
  // Place (0, 0) makes the column the group's first; otherwise it goes
  // next to the last column before the first one at or behind its place.
  TtlColumn* before = target.front();
  if (level != 0 || index != 0) {
    size_t match = target.size();
    for (size_t k = 1; k < target.size() && match == target.size(); ++k) {
      const TtlColumn* c = target[k];
      if ((c->layoutLevel_ == level && c->layoutIndex_ >= index) || c->layoutLevel_ > level)
        match = k;
    }
    TtlColumn* point = target[match - 1];
    const Integer after = IndexOfColumn(point) + 1;
    before = SortsBefore(level, index, point) ? point : (after < Count() ? Items(after) : nullptr);
    if (before == column) before = after + 1 < Count() ? Items(after + 1) : nullptr;
  }
  column->layoutLevel_ = level;
  column->layoutIndex_ = index;
  MoveBefore(column, before);

  if (!rest.empty()) RenumberSpan(rest.front(), static_cast<Integer>(rest.size()));
  TtlColumn* head = before == target.front() ? column : target.front();
  RenumberSpan(head, static_cast<Integer>(target.size()) + 1);
  RelayoutNow();
  if (!column->visible_) return;
  ResizeGroup(column->groupInfo_, targetWidth, 0);
  TtlGroupInfo* left = rest.empty() ? nullptr : rest.front()->groupInfo_;
  if (old && left && left != column->groupInfo_) ResizeGroup(left, oldWidth, 0);
  MoveFixedGroupsFirst();
}

void TtlColumns::DetachColumn(TtlColumn* column, TtlGroupInfo* beforeGroup) {
  if (!column) return;
  DetachBefore(column, beforeGroup ? Items(beforeGroup->FirstColumn) : nullptr);
}

void TtlColumns::DetachBefore(TtlColumn* column, TtlColumn* anchor) {
  if (!column->visible_) column->SetVisible(true);
  TClosingGuard report([column] { column->Changed(false); });
  TTemporaryChange reason(layoutReason_, lrDetachColumn);
  const Integer oldWidth = column->groupInfo_ ? column->groupInfo_->Width : 0;
  // Any other column of the old group, hidden ones included, is renumbered
  // after the move; a column alone in its group leaves nothing behind.
  Integer first = 0, last = 0;
  GroupRange(IndexOfColumn(column), first, last);
  const std::vector<TtlColumn*> rest = GroupColumns(this, first, last, column);
  column->layoutLevel_ = column->layoutIndex_ = 0;
  MoveBefore(column, anchor);
  if (!rest.empty()) RenumberSpan(rest.front(), static_cast<Integer>(rest.size()));
  RelayoutNow();
  TtlGroupInfo* left = rest.empty() ? nullptr : rest.front()->groupInfo_;
  if (column->visible_ && left && left != column->groupInfo_) ResizeGroup(left, oldWidth, 0);
  MoveFixedGroupsFirst();
}

void TtlColumns::MoveGroup(TtlGroupInfo* group, TtlGroupInfo* beforeGroup) {
  // A group moved before itself stays where it is.
  if (!group || group == beforeGroup) return;
  MoveRangeBefore(group->FirstColumn, beforeGroup ? Items(beforeGroup->FirstColumn) : nullptr);
  MoveFixedGroupsFirst();
}

void TtlColumns::MoveRangeBefore(Integer index, TtlColumn* anchor) {
  TClosingGuard report([this] { Changed(); });
  TTemporaryChange reason(layoutReason_, lrMoveGroup);
  Integer first = 0, last = 0;
  GroupRange(index, first, last);
  // Each moved column lands just before the anchor, behind the ones moved
  // before it: the k-th column of the group ends at the anchor's place + k.
  const std::vector<TtlColumn*> moved = GroupColumns(this, first, last, nullptr);
  if (std::find(moved.begin(), moved.end(), anchor) != moved.end()) return;
  for (TtlColumn* c : moved) MoveBefore(c, anchor);
  RelayoutNow();
}

void TtlColumns::MoveGroupToIndex(TtlColumn* column, Integer index) {
  const Integer current = IndexOfColumn(column);
  if (index < 0 || index >= Count() || current < 0) {
    column->TCollectionItem::SetIndex(index);  // raises the list's index error
    return;
  }
  Integer first = 0, last = 0, targetFirst = 0, targetLast = 0;
  GroupRange(current, first, last);
  GroupRange(index, targetFirst, targetLast);
  if (targetFirst == first) return;
  // Towards the end the group goes after the target group, else before it.
  TtlColumn* anchor = Items(targetFirst);
  if (index > current) anchor = targetLast + 1 < Count() ? Items(targetLast + 1) : nullptr;
  MoveRangeBefore(first, anchor);
  MoveFixedGroupsFirst();
}

TtlColumn* TtlColumns::AddColumn(TtlGroupInfo* group, Integer level, Integer index,
                                 const TtlColumn* source) {
  TtlColumn* anchor = group ? Items(group->FirstColumn) : nullptr;
  TtlColumn* column = nullptr;
  {
    TTemporaryChange reason(layoutReason_, lrAddColumn);
    column = Add();
  }
  RelayoutNow();
  if (source) column->SetFieldName(source->FieldName());
  TtlGroupInfo* target = anchor ? anchor->groupInfo_ : nullptr;
  if (level == -1 || !target)
    DetachBefore(column, level == -1 ? anchor : nullptr);
  else
    MoveColumn(column, target, level, index);
  return column;
}

void TtlColumns::ApplyFixedColumns() {
  if (grid_ && grid_->ComponentState().Contains(csLoading)) return;
  TClosingGuard report([this] { Changed(); });
  TTemporaryChange reason(layoutReason_, lrApplyFixedColumns);
  RelayoutNow();
  if (!HasGroups()) return;
  const Integer targetGroup = HasFixed() ? firstScrollable_ : 0;
  TtlColumn* anchor = targetGroup >= 0 ? Items(Groups(targetGroup)->FirstColumn) : nullptr;
  std::vector<TtlColumn*> walk;
  for (Integer i = Count() - 1; i >= 0; --i) walk.push_back(Items(i));
  for (TtlColumn* c : walk)
    if (c->visible_ && c->groupInfo_ && c->fixed_ != c->groupInfo_->Fixed) DetachBefore(c, anchor);
  MoveFixedGroupsFirst();
}

void TtlColumns::MoveFixedGroupsFirst() {
  // A whole fixed group behind a scrollable one (a hidden fixed column shown
  // again, a group dropped among the fixed ones, a layout read from text)
  // comes to the front of the scrollable range.
  RelayoutNow();
  for (Integer g = 0; g < GroupCount(); ++g) {
    if (Groups(g)->Fixed != cfLeft || firstScrollable_ < 0 || g < firstScrollable_) continue;
    MoveRangeBefore(Groups(g)->FirstColumn, Items(Groups(firstScrollable_)->FirstColumn));
  }
}

}  // namespace brevant
