#include "bv/dragger.h"

#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/env_hook.h"
#include "bv/group_info.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "controls/application.h"
#include "db/dataset.h"
#include "graphics/imagelist.h"
#include "rtl/numconv.h"
#include "rtl/scope.h"

namespace brevant {

// ---- distances ----

namespace {
TtlDragDistances g_distances;
bool g_distancesComputed = false;
}  // namespace

void ComputeDragDistances(Integer screenHeight) {
  g_distances.Sizing = MulDiv(screenHeight, 8, 640);
  g_distances.ColumnDrop = MulDiv(screenHeight, 8, 640);
  g_distances.RowDrop = MulDiv(screenHeight, 4, 640);
  g_distancesComputed = true;
}

const TtlDragDistances& DragDistances() {
  if (!g_distancesComputed) ComputeDragDistances(Screen()->Height());
  return g_distances;
}

// ---- layout probe ----

namespace {

// The last group in view whose screen left edge is at or left of x.
const TtlGroupInfo* GroupAt(const TtlColumns* columns, Integer x) {
  const TtlGroupInfo* found = nullptr;
  for (Integer g = 0; g < columns->GroupCount(); ++g) {
    const TtlGroupInfo* group = columns->Groups(g);
    if (group->InView && group->ScreenLeft <= x) found = group;
  }
  return found;
}

// The first visible column of group whose rectangle (by rectOf) holds p.
template <class F>
TtlColumn* ColumnIn(const TtlColumns* columns, const TtlGroupInfo* group, TPoint p, F rectOf) {
  for (Integer i = group->FirstColumn; i <= group->LastColumn; ++i) {
    TtlColumn* c = columns->Items(i);
    if (c->Visible() && PtInRect(rectOf(c), p)) return c;
  }
  return nullptr;
}

}  // namespace

TtlHitZone ProbeLayout(const TDBTabulon* grid, Integer x, Integer y, TtlColumn*& column,
                       Integer& row) {
  column = nullptr;
  row = -1;
  const TRect client = grid->ClientRect();
  const TtlColumns* columns = grid->Columns();
  if (!PtInRect(client, TPoint(x, y)) || !columns->HasGroups()) return hzNone;
  const TtlGroupInfo* group = GroupAt(columns, x);
  if (!group) return hzNone;
  const TPoint p(x, y);
  if (y < grid->TitleAreaHeight()) {
    column = ColumnIn(columns, group, p, [](TtlColumn* c) { return c->TitleRect(true); });
    row = 0;
    return column ? hzTitle : hzNone;
  }
  if (y < grid->DataAreaBottom()) {
    const Integer r = (y - grid->TitleAreaHeight()) / std::max(grid->RowHeight(), 1);
    if (r >= grid->RowCount()) return hzNone;
    column = ColumnIn(columns, group, p, [r](TtlColumn* c) { return c->CellRect(r, true, false); });
    row = r;
    return column ? hzCell : hzNone;
  }
  if (grid->FooterAreaHeight() > 0 && y >= grid->DataAreaBottom() + grid->EmptyAreaHeight()) {
    column = ColumnIn(columns, group, p, [](TtlColumn* c) { return c->FooterRect(true, true); });
    row = 0;
    return column ? hzFooter : hzNone;
  }
  return hzNone;
}

TtlColumn* TitleColumnAt(const TDBTabulon* grid, Integer x, Integer y) {
  TtlColumn* column = nullptr;
  Integer row = -1;
  return ProbeLayout(grid, x, y, column, row) == hzTitle ? column : nullptr;
}

// ---- the dragger ----

TtlDragger::TtlDragger(TDBTabulon* grid)
    : grid_(grid), hoverShot_(std::make_unique<TtlRecShot>(grid)) {}

TtlDragger::~TtlDragger() = default;

void TtlDragger::ClearFlags() {
  designerDrag_ = recordDragArmed_ = dragStarted_ = columnDrag_ = false;
  foreignDrag_ = trackRows_ = false;
}

void TtlDragger::TakeHover(Integer row) {
  TDataLinkEx* link = grid_->DataLink();
  if (row < 0 || !link->Active() || row >= link->RecordCount()) {
    hoverShot_->Capture(TBookmark());
    hoverRow_ = -1;
    return;
  }
  // The record of that row is read without moving the dataset's cursor.
  const Integer active = link->ActiveRecord();
  TScopeGuard restore([link, active] { link->SetActiveRecord(active); });
  link->SetActiveRecord(row);
  hoverShot_->Capture(grid_->DataSet()->Bookmark());
  hoverRow_ = row;
}

TtlGroupInfo* TtlDragger::DropGroup() const {
  const TtlColumns* columns = grid_->Columns();
  if (drop_.Kind == dtkNone || drop_.Group < 0 || drop_.Group >= columns->GroupCount())
    return nullptr;
  return columns->Groups(drop_.Group);
}

void TtlDragger::AcquireMarkers() {
  if (grid_->HandleAllocated()) markers_.Acquire(grid_->Handle());
}

namespace {

// Marker images stand this far above the title they point at.
constexpr Integer kMarkerLift = 15;

// The visible columns of group on layout level `line`, in layout order.
std::vector<TtlColumn*> LineColumns(const TtlColumns* columns, const TtlGroupInfo* group,
                                    Integer line) {
  std::vector<TtlColumn*> list;
  for (Integer i = group->FirstColumn; i <= group->LastColumn; ++i) {
    TtlColumn* c = columns->Items(i);
    if (c->Visible() && c->LayoutLevel() == line) list.push_back(c);
  }
  return list;
}

// The title line height of a group (any visible column knows it).
Integer GroupTitleLineHeight(const TtlColumns* columns, const TtlGroupInfo* group) {
  return group->FirstVisible >= 0 ? columns->Items(group->FirstVisible)->TitleLineHeight() : 0;
}

}  // namespace

void TtlDragger::ShowMarkers(const TtlDropTarget& target) {
  IbvEnvironment* env = Environment();
  const TtlColumns* columns = grid_->Columns();
  const TtlGroupInfo* group = target.Group >= 0 && target.Group < columns->GroupCount()
                                  ? columns->Groups(target.Group)
                                  : nullptr;
  TImageList* images = env ? env->DragArrows(target.Kind == dtkNewGroup) : nullptr;
  if (target.Kind == dtkNone || !images || (!group && target.Kind != dtkNewGroup)) {
    markers_.Hide();
    return;
  }
  const Integer w = images->Width(), h = images->Height();
  if (target.Kind == dtkNewLine) {
    // Arrows left and right of the group at the boundary between levels.
    const Integer y = target.Line * (GroupTitleLineHeight(columns, group) + 1) - h / 2;
    markers_.Show(images, 0, TPoint(group->ScreenLeft - w, y), 2,
                  TPoint(group->ScreenLeft + group->Width, y));
    return;
  }
  if (target.Kind == dtkIntoLine) {
    // Arrows above and below the title at the insertion point: the left
    // edge of the column there, or the right edge of the line's last one.
    const std::vector<TtlColumn*> line = LineColumns(columns, group, target.Line);
    if (line.empty()) {
      markers_.Hide();
      return;
    }
    TtlColumn* at = line.back();
    Integer x = at->TitleRect(false).Left + at->Width();
    for (TtlColumn* c : line)
      if (c->LayoutIndex() >= target.Pos) {
        at = c;
        x = c->TitleRect(false).Left;
        break;
      }
    const TRect title = at->TitleRect(false);
    markers_.Show(images, 1, TPoint(x - w / 2, title.Top - kMarkerLift), 3,
                  TPoint(x - w / 2, title.Bottom));
    return;
  }
  // A new group: arrows above and below the title band at the boundary
  // before the target group, or at the right edge of the last group.
  Integer x = 0;
  if (group) {
    x = group->ScreenLeft;
  } else {
    const TtlGroupInfo* last = columns->Groups(columns->GroupCount() - 1);
    x = last->ScreenLeft + last->Width;
  }
  markers_.Show(images, 1, TPoint(x - w / 2, -kMarkerLift), 3,
                TPoint(x - w / 2, grid_->TitleAreaHeight()));
}

}  // namespace brevant
