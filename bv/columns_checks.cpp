// TtlColumns: the rules of the column layout, checked in code. Every layout
// operation leaves them holding; the randomised layout tests check them
// after every step.
#include <algorithm>
#include <vector>

#include "bv/columns.h"
#include "bv/group_info.h"
#include "rtl/exceptions.h"
#include "rtl/format.h"

namespace brevant {

namespace {

void Require(String& faults, bool holds, const String& rule) {
  if (holds) return;
  if (!faults.empty()) faults += "; ";
  faults += rule;
}

}  // namespace

String TtlColumns::OrderFault() const {
  String faults;
  if (Count() == 0) return faults;
  Require(faults, Items(0)->StartsGroup(), "the first column starts a group");
  for (Integer i = 1; i < Count(); ++i) {
    const TtlColumn* c = Items(i);
    const TtlColumn* p = Items(i - 1);
    if (c->StartsGroup()) continue;
    const bool nextInLine =
        c->layoutLevel_ == p->layoutLevel_ && c->layoutIndex_ == p->layoutIndex_ + 1;
    const bool nextLine = c->layoutLevel_ == p->layoutLevel_ + 1 && c->layoutIndex_ == 0;
    Require(faults, nextInLine || nextLine,
            Format("column %d at (%d,%d) follows (%d,%d): numbering is dense",
                   {i, c->layoutLevel_, c->layoutIndex_, p->layoutLevel_, p->layoutIndex_}));
  }
  bool scrollableSeen = false;
  for (const auto& g : groups_) {
    if (g->Fixed == cfNone) scrollableSeen = true;
    Require(faults, g->Fixed == cfNone || !scrollableSeen,
            Format("fixed group %d stands behind a scrollable one", {g->Index}));
  }
  return faults;
}

String TtlColumns::GroupFault(const TtlGroupInfo* g) const {
  String faults;
  std::vector<Integer> totals(static_cast<size_t>(std::max(g->LineCount, 0)), 0);
  std::vector<bool> flexible(totals.size(), false);
  for (Integer j = g->FirstColumn; j <= g->LastColumn; ++j) {
    const TtlColumn* c = Items(j);
    Require(faults, c->groupInfo_ == g, Format("column %d points at its group", {j}));
    if (!c->visible_) continue;
    if (c->line_ < 0 || c->line_ >= g->LineCount) {
      Require(faults, false, Format("column %d stands on one of the group's lines", {j}));
      continue;
    }
    auto& total = totals[static_cast<size_t>(c->line_)];
    Require(faults, c->lowLevel_->Offset == total,
            Format("column %d starts where its line's columns before it end", {j}));
    total += c->width_;
    if (!c->optionsBehavior_.Contains(cboFixedWidth))
      flexible[static_cast<size_t>(c->line_)] = true;
  }
  for (size_t line = 0; line < totals.size(); ++line) {
    const bool fits = totals[line] == g->Width || (!flexible[line] && totals[line] < g->Width);
    Require(faults, fits,
            Format("line %d of group %d is %d wide, the group %d",
                   {static_cast<Integer>(line), g->Index, totals[line], g->Width}));
  }
  Require(faults, g->TotalWidth == g->Width + g->LineWidth,
          Format("group %d's total width is its width and line", {g->Index}));
  return faults;
}

String TtlColumns::LayoutFault() const {
  String faults = OrderFault();
  // Groups by the stored numbering; those showing a column have an object.
  Integer shown = 0, left = 0;
  bool counted = false;  // the group at hand shows a column
  for (Integer i = 0; i < Count(); ++i) {
    const TtlColumn* c = Items(i);
    if (i == 0 || c->StartsGroup()) counted = false;
    Require(faults, c->width_ >= 2, Format("column %d is at least 2 wide", {i}));
    if (!c->visible_) continue;
    Require(faults, c->groupInfo_ != nullptr, Format("visible column %d has a group", {i}));
    if (!counted) ++shown;
    counted = true;
  }
  Require(faults, shown == GroupCount(), "one group object per group showing a column");
  for (Integer g = 0; g < GroupCount(); ++g) {
    const TtlGroupInfo* info = groups_[static_cast<size_t>(g)].get();
    Require(faults, info->Index == g, Format("group %d knows its index", {g}));
    Require(faults, info->Left == left, Format("group %d starts where the groups before end", {g}));
    left += info->TotalWidth;
    const String fault = GroupFault(info);
    if (!fault.empty()) Require(faults, false, fault);
  }
  Require(faults, left == totalWidth_, "the total width is the sum of the groups'");
  if (HasScrollable()) {
    Require(faults, scrollPositions_ >= 1 && scrollPositions_ <= ScrollableGroupCount(),
            "between one and all scrollable groups are scroll positions");
    Require(faults,
            leftGroup_ >= firstScrollable_ && leftGroup_ < firstScrollable_ + scrollPositions_,
            "the left group is a scroll position");
  }
  if (autoColumnFit_ && clientWidth_ > 0 && HasGroups() && totalWidth_ != clientWidth_) {
    // Fitting misses the client width only when groups may not give up
    // width (at their minimum or fixed-width), or none of the last fitted
    // range may take more.
    bool bound = false, rigid = true;
    for (const auto& g : groups_) {
      bound = bound || g->FixedWidth || g->Width == g->MinWidth;
      if (g->Fixed == (HasScrollable() ? cfNone : cfLeft)) rigid = rigid && g->FixedWidth;
    }
    Require(faults, totalWidth_ > clientWidth_ ? bound : rigid,
            Format("fitted groups are %d wide in a client of %d", {totalWidth_, clientWidth_}));
  }
  if (faults.empty()) return faults;
  return Format("column layout (%d columns, %d groups): %s", {Count(), GroupCount(), faults});
}

void TtlColumns::CheckLayoutInvariants() const {
  const String fault = LayoutFault();
  if (!fault.empty()) throw EInvalidOperation(fault);
}

}  // namespace brevant
