// TtlColumns: the layout derived from the columns (groups, lines, widths),
// the sizing of lines and groups, fitting to the client width and the
// horizontal scroll window. Every pass walks the columns a fixed number of
// times, so a relayout costs in proportion to the number of columns.
#include <algorithm>
#include <cstdint>

#include "bv/columns.h"
#include "bv/designer.h"
#include "bv/group_info.h"
#include "bv/hints.h"
#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"

namespace brevant {

namespace {

constexpr Integer kNoLimit = 0x0FFFFFFF;  // upper bound of scaled widths
constexpr Integer kMinColumnWidth = 2;    // narrowest column a scale leaves

bool Starts(const TtlColumns* columns, Integer index) {
  return index == 0 || columns->Items(index)->StartsGroup();
}

}  // namespace

TtlGroupInfo* TtlColumns::Groups(Integer index) const {
  CheckIndex(index, GroupCount());
  return groups_[static_cast<size_t>(index)].get();
}

Integer TtlColumns::ScrollableGroupCount() const {
  return HasScrollable() ? lastScrollable_ - firstScrollable_ + 1 : 0;
}

// ---- rebuilding ----

void TtlColumns::RebuildIfStale() {
  if (stale_) RebuildLayout();
}

void TtlColumns::RebuildLayout() {
  stale_ = false;
  const Integer n = Count();
  // Lines and places of the visible columns; count the groups showing one.
  Integer groupCount = 0;
  TtlColumn* prev = nullptr;
  for (Integer i = 0; i < n; ++i) {
    TtlColumn* c = Items(i);
    if (Starts(this, i)) prev = nullptr;
    *c->lowLevel_ = TtlColumnLowLevelInfo();
    if (!c->visible_) {
      c->line_ = c->posInLine_ = -1;
      continue;
    }
    if (!prev) {
      c->line_ = c->posInLine_ = 0;
      ++groupCount;
    } else if (prev->layoutLevel_ == c->layoutLevel_) {
      c->line_ = prev->line_;
      c->posInLine_ = prev->posInLine_ + 1;
    } else {
      c->line_ = prev->line_ + 1;
      c->posInLine_ = 0;
    }
    prev = c;
  }
  // Surplus group objects go from the front; missing ones are appended.
  if (GroupCount() > groupCount)
    groups_.erase(groups_.begin(), groups_.begin() + (GroupCount() - groupCount));
  while (GroupCount() < groupCount) groups_.push_back(std::make_unique<TtlGroupInfo>());

  Integer next = 0, all = 0;
  for (Integer i = 0; i < n;) {
    Integer end = i + 1;
    while (end < n && !Items(end)->StartsGroup()) ++end;
    bool shown = false;
    for (Integer j = i; j < end && !shown; ++j) shown = Items(j)->visible_;
    TtlGroupInfo* g = nullptr;
    if (shown) {
      g = groups_[static_cast<size_t>(next)].get();
      g->Reset();
      g->Index = next++;
      g->AllIndex = all;
      g->FirstColumn = i;
    }
    ++all;
    for (Integer j = i; j < end; ++j) {
      TtlColumn* c = Items(j);
      c->groupInfo_ = g;
      if (!g) continue;
      g->LastColumn = j;
      if (!c->visible_) continue;
      g->FixedWidth = g->FixedWidth || c->optionsBehavior_.Contains(cboFixedWidth);
      g->Standalone = g->Standalone || c->optionsBehavior_.Contains(cboStandalone);
      if (g->FirstVisible < 0)
        g->FirstVisible = j;
      else if (g->SecondVisible < 0)
        g->SecondVisible = j;
      g->LastVisible = j;
      if (c->posInLine_ == 0) ++g->LineCount;
    }
    i = end;
  }

  // Line ends and visible neighbours.
  TtlColumn* prevVisible = nullptr;
  for (Integer i = 0; i < n; ++i) {
    TtlColumn* c = Items(i);
    c->lowLevel_->PrevVisible = prevVisible;
    if (!c->visible_) continue;
    c->lowLevel_->IsLastLine = c->line_ + 1 == c->groupInfo_->LineCount;
    c->lowLevel_->IsLastInLine = true;
    if (prevVisible && prevVisible->groupInfo_ == c->groupInfo_ && prevVisible->line_ == c->line_)
      prevVisible->lowLevel_->IsLastInLine = false;
    prevVisible = c;
  }
  TtlColumn* nextVisible = nullptr;
  for (Integer i = n - 1; i >= 0; --i) {
    TtlColumn* c = Items(i);
    c->lowLevel_->NextVisible = nextVisible;
    if (c->visible_) nextVisible = c;
  }

  // Fixed groups, then the scrollable range.
  lastFixed_ = firstScrollable_ = lastScrollable_ = -1;
  for (const auto& g : groups_) {
    g->Single = g->FirstColumn == g->LastColumn;
    g->Fixed = Items(g->FirstColumn)->fixed_;
    if (g->Fixed == cfNone) {
      lastScrollable_ = g->Index;
      if (firstScrollable_ < 0) firstScrollable_ = g->Index;
    } else {
      lastFixed_ = g->Index;
    }
  }
}

std::vector<TtlColumn*> TtlColumns::LineColumns(const TtlGroupInfo* group, Integer line) const {
  std::vector<TtlColumn*> list;
  for (Integer j = group->FirstColumn; j <= group->LastColumn; ++j) {
    TtlColumn* c = Items(j);
    if (c->visible_ && c->line_ == line) list.push_back(c);
  }
  return list;
}

void TtlColumns::ScaleLine(TtlGroupInfo* group, Integer line, Integer total) {
  ResizeLine(group, line, 0, false, std::max(total, kMinColumnWidth), nullptr);
}

void TtlColumns::ComputeGroupWidths() {
  TtlDesigner* designer = grid_ ? grid_->EffectiveDesigner() : nullptr;
  const Integer lineWidth = designer ? designer->VertLineWidth() : 0;
  RebuildIfStale();
  std::vector<Integer> totals, counts;  // per line of the group at hand
  Integer left = 0;
  for (const auto& gp : groups_) {
    TtlGroupInfo* g = gp.get();
    // A column shown inside an update bracket has no line until the
    // rebuild; it takes no room meanwhile.
    auto placed = [g](const TtlColumn* c) {
      return c->visible_ && c->line_ >= 0 && c->line_ < g->LineCount;
    };
    totals.assign(static_cast<size_t>(g->LineCount), 0);
    counts.assign(static_cast<size_t>(g->LineCount), 0);
    for (Integer j = g->FirstColumn; j <= g->LastColumn; ++j) {
      TtlColumn* c = Items(j);
      if (!placed(c)) continue;
      totals[static_cast<size_t>(c->line_)] += c->width_;
      ++counts[static_cast<size_t>(c->line_)];
    }
    g->Width = totals.empty() ? 0 : *std::max_element(totals.begin(), totals.end());
    g->MinWidth =
        counts.empty() ? 0 : kMinColumnWidth * *std::max_element(counts.begin(), counts.end());
    // Every line is as wide as the group (a line of fixed widths only may
    // stay narrower).
    for (Integer line = 0; line < g->LineCount; ++line)
      if (totals[static_cast<size_t>(line)] < g->Width) ScaleLine(g, line, g->Width);
    std::fill(totals.begin(), totals.end(), 0);
    for (Integer j = g->FirstColumn; j <= g->LastColumn; ++j) {
      TtlColumn* c = Items(j);
      if (!placed(c)) {
        c->lowLevel_->Offset = -1;
        continue;
      }
      Integer& running = totals[static_cast<size_t>(c->line_)];
      c->lowLevel_->Offset = running;
      running += c->width_;
    }
    g->LineWidth = lineWidth;
    g->TotalWidth = g->Width + lineWidth;
    g->Left = left;
    left += g->TotalWidth;
  }
  totalWidth_ = left;
  fixedWidth_ = HasFixed() ? Groups(lastFixed_)->Left + Groups(lastFixed_)->TotalWidth : 0;
  PlaceGroupsOnScreen();
}

void TtlColumns::RelayoutNow() {
  RebuildLayout();
  ComputeGroupWidths();
}

// ---- sizing ----

void TtlColumns::ResizeLine(TtlGroupInfo* group, Integer line, Integer delta, bool grow,
                            Integer width, TtlColumn* anchor) {
  if (!group) return;
  const std::vector<TtlColumn*> cols = LineColumns(group, line);
  if (cols.empty()) return;
  TScaleableItems items;
  Integer oldTotal = 0, anchorIndex = -1;
  for (size_t k = 0; k < cols.size(); ++k) {
    TtlColumn* c = cols[k];
    items.AddItem(c->width_, c->optionsBehavior_.Contains(cboFixedWidth), kMinColumnWidth,
                  kNoLimit);
    oldTotal += c->width_;
    if (c == anchor) anchorIndex = static_cast<Integer>(k);
  }
  if (anchorIndex < 0)
    items.Scale(delta + (width != 0 ? width : oldTotal), -1);
  else
    items.Scale(delta + (width != 0 ? width : anchor->width_), anchorIndex);
  Integer newTotal = 0;
  for (size_t k = 0; k < cols.size(); ++k) {
    cols[k]->width_ = items.Items(static_cast<Integer>(k)).Value;
    newTotal += cols[k]->width_;
  }
  // The group takes what the line could not absorb, so that its lines stay
  // as wide as the group.
  if (grow && newTotal != group->Width) ResizeGroup(group, 0, newTotal - group->Width);
}

void TtlColumns::ResizeGroup(TtlGroupInfo* group, Integer newWidth, Integer delta) {
  if (!group) return;
  if (newWidth == 0) newWidth = group->Width + delta;
  if (group->Fixed == cfLeft) {
    newWidth = std::max(newWidth, group->MinWidth);
    for (Integer line = 0; line < group->LineCount; ++line) ScaleLine(group, line, newWidth);
    ComputeGroupWidths();
    if (autoColumnFit_) FitToWidth(false, true);
  } else if (autoColumnFit_ && HasScrollable()) {
    // The other scrollable groups absorb the change.
    TScaleableItems items;
    for (Integer g = firstScrollable_; g <= lastScrollable_; ++g) {
      const TtlGroupInfo* info = Groups(g);
      items.AddItem(info->Width, info->FixedWidth, info->MinWidth, kNoLimit);
    }
    items.Scale(newWidth, group->Index - firstScrollable_);
    for (Integer g = firstScrollable_; g <= lastScrollable_; ++g) {
      TtlGroupInfo* info = Groups(g);
      const Integer value = std::max(items.Items(g - firstScrollable_).Value, info->MinWidth);
      for (Integer line = 0; line < info->LineCount; ++line) ScaleLine(info, line, value);
    }
  } else {
    const Integer value = std::max(newWidth, group->MinWidth);
    for (Integer line = 0; line < group->LineCount; ++line) ScaleLine(group, line, value);
  }
  ComputeGroupWidths();
}

void TtlColumns::RefreshGroupFlags(TtlGroupInfo* group) {
  if (!group) return;
  group->FixedWidth = group->Standalone = false;
  for (Integer j = group->FirstColumn; j <= group->LastColumn; ++j) {
    const TtlColumn* c = Items(j);
    if (!c->visible_) continue;
    group->FixedWidth = group->FixedWidth || c->optionsBehavior_.Contains(cboFixedWidth);
    group->Standalone = group->Standalone || c->optionsBehavior_.Contains(cboStandalone);
  }
}

void TtlColumns::FitGroups(Integer first, Integer last, Integer total) {
  TScaleableItems items;
  Integer lines = 0;
  for (Integer g = first; g <= last; ++g) {
    const TtlGroupInfo* info = Groups(g);
    items.AddItem(info->Width, info->FixedWidth, info->MinWidth, kNoLimit);
    lines += info->LineWidth;
  }
  items.Scale(total - lines, -1);
  for (Integer g = first; g <= last; ++g) {
    TtlGroupInfo* info = Groups(g);
    const Integer value = std::max(items.Items(g - first).Value, info->MinWidth);
    for (Integer line = 0; line < info->LineCount; ++line) ScaleLine(info, line, value);
  }
  ComputeGroupWidths();
}

void TtlColumns::FitToWidth(bool fixed, bool scrollable) {
  RebuildIfStale();
  if (fixed && HasFixed() && totalWidth_ > 0) {
    const auto share = static_cast<std::int64_t>(clientWidth_) * fixedWidth_ / totalWidth_;
    FitGroups(0, lastFixed_, std::max<Integer>(0, static_cast<Integer>(share)));
  }
  if (scrollable && HasScrollable())
    FitGroups(firstScrollable_, lastScrollable_, std::max(0, clientWidth_ - fixedWidth_));
}

void TtlColumns::AutoFit() {
  if (HasGroups() && autoColumnFit_) FitToWidth(true, true);
  ComputeScrollWindow(false, true);
}

// ---- the scroll window ----

void TtlColumns::ComputeScrollWindow(bool followCurrent, bool recount) {
  RebuildIfStale();
  if (!HasScrollable()) {
    leftGroup_ = lastInView_ = -1;
    scrollPositions_ = 0;
  } else {
    if (recount || scrollPositions_ < 1) {
      // Up to the first group from which the rest fits beside the fixed
      // groups; when not even the last one fits, the last one, so that
      // there is always a position.
      const Integer avail = std::max(0, clientWidth_ - fixedWidth_);
      const TtlGroupInfo* last = Groups(lastScrollable_);
      const Integer right = last->Left + last->TotalWidth;
      Integer fits = lastScrollable_;
      for (Integer g = firstScrollable_; g < lastScrollable_; ++g)
        if (right - Groups(g)->Left <= avail) {
          fits = g;
          break;
        }
      scrollPositions_ = fits - firstScrollable_ + 1;
    }
    TtlColumn* current = grid_ ? grid_->CurrentColumnObject() : nullptr;
    if (followCurrent && current && current->groupInfo_ && current->groupInfo_->Fixed == cfNone &&
        !IsGroupInView(current))
      leftGroup_ = current->groupInfo_->Index;
    leftGroup_ = std::clamp(leftGroup_, firstScrollable_, firstScrollable_ + scrollPositions_ - 1);
  }
  PlaceGroupsOnScreen();
  if (grid_) grid_->UpdateHorzScrollBar(false);
}

void TtlColumns::PlaceGroupsOnScreen() {
  if (HasScrollable()) leftGroup_ = std::clamp(leftGroup_, firstScrollable_, lastScrollable_);
  const Integer origin = HasScrollable() ? Groups(leftGroup_)->Left : 0;
  lastInView_ = leftGroup_;
  for (const auto& g : groups_) {
    if (g->Fixed == cfLeft || !HasScrollable()) {
      g->InView = true;
      g->ScreenLeft = g->Left;
    } else if (g->Index < leftGroup_) {
      g->InView = false;
      g->ScreenLeft = 0;
    } else {
      g->InView = true;
      g->ScreenLeft = fixedWidth_ + g->Left - origin;
      if (g->ScreenLeft < clientWidth_) lastInView_ = g->Index;
    }
  }
}

Integer TtlColumns::GroupScreenLeft(Integer group) const {
  return Groups(group)->ScreenLeft;
}

bool TtlColumns::IsInView(const TtlColumn* column) const {
  if (!column || !column->visible_ || !column->groupInfo_) return false;
  const TtlGroupInfo* g = column->groupInfo_;
  return g->Fixed == cfLeft || leftGroup_ < 0 || g->Index >= leftGroup_;
}

bool TtlColumns::IsGroupInView(const TtlColumn* column) const {
  if (!column || !column->visible_ || !column->groupInfo_) return false;
  const TtlGroupInfo* g = column->groupInfo_;
  if (g->Fixed == cfLeft || scrollPositions_ == 0) return true;
  if (g->Index < leftGroup_) return false;
  const bool atLastPosition = leftGroup_ == firstScrollable_ + scrollPositions_ - 1;
  return g->Index < lastInView_ || atLastPosition;
}

}  // namespace brevant
