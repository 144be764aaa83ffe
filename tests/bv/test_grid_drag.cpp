// Dragging titles with the mouse: every kind of drop position on a
// multi-line layout, the options and column flags that refuse drops, fixed
// columns, the drop markers on the screen and the pixels under them.
#include <functional>

#include "backend/codes.h"
#include "bv/columns.h"
#include "bv/group_info.h"
#include "bv_rtm/bv_errors.h"
#include "controls/dragdrop.h"
#include "controls/messages.h"
#include "controls/wincore.h"
#include "drag_test_util.h"

namespace brevant::test {
namespace {

class ColumnDragTest;
using Point = std::function<TPoint(ColumnDragTest&)>;

// A drag of one title: where to, with which keys, and the layout after it.
struct DropCase {
  const char* label;
  const char* dragged;
  Point to;
  Byte modifiers;
  const char* shape;
};

class ColumnDragTest : public DragGridTest {
 public:
  Integer TitleBottom() const { return grid->TitleAreaHeight(); }
  TRect Title(const char* name) { return Col(name)->TitleRect(false); }
  // x inside the left third of a title, beyond the group-drop probes.
  TPoint LeftThird(const char* name) { return TPoint(Title(name).Left + 15, TitleCentre(name).Y); }
  // On the boundary before a group, halfway down the title band.
  TPoint Boundary(const char* name) { return TPoint(Title(name).Left, TitleCentre(name).Y); }
  void Run(const DropCase& c) {
    SCOPED_TRACE(c.label);
    const TPoint to = c.to(*this);
    DragTitle(c.dragged, to, c.modifiers);
    EXPECT_EQ(Shape(), c.shape);
    EXPECT_EQ(cols->LayoutFault(), "");
    EXPECT_FALSE(Dragging());
    EXPECT_FALSE(grid->Dragger()->AnyDrag());
    EXPECT_EQ(grid->DraggedColumn(), nullptr);
    EXPECT_FALSE(grid->Dragger()->Markers().Shown());
  }
};

TEST_F(ColumnDragTest, DropsOfEveryKindOnAMultiLineLayout) {
  const DropCase cases[] = {
      {"into a line before the first column", "B",
       [](ColumnDragTest& t) { return t.LeftThird("A"); }, 0, "BA/C|D|EF"},
      {"into another group's line", "D", [](ColumnDragTest& t) { return t.LeftThird("B"); }, 0,
       "ADB/C|EF"},
      {"a new line below a one-line group", "E",
       [](ColumnDragTest& t) {
         auto& s = t;
         return TPoint(s.TitleCentre("D").X, s.Title("D").Bottom - 2);
       },
       0, "AB/C|D/E|F"},
      {"a new line between two lines", "A",
       [](ColumnDragTest& t) {
         auto& s = t;
         return TPoint(s.TitleCentre("C").X, s.Title("C").Top + 2);
       },
       0, "B/A/C|D|EF"},
      {"a new group between groups", "C", [](ColumnDragTest& t) { return t.Boundary("E"); }, 0,
       "AB|D|C|EF"},
      {"a new group at the end", "A",
       [](ColumnDragTest& t) {
         auto& s = t;
         return TPoint(s.Title("F").Right + 4, s.TitleCentre("F").Y);
       },
       0, "B/C|D|EF|A"},
      {"a new group at the far left", "D",
       [](ColumnDragTest& t) { return TPoint(3, t.TitleCentre("A").Y); }, 0, "D|AB/C|EF"},
      {"with Shift the whole group moves", "F", [](ColumnDragTest& t) { return t.Boundary("D"); },
       bmShift, "AB/C|EF|D"},
      {"onto itself nothing moves", "B", [](ColumnDragTest& t) { return t.TitleCentre("B"); }, 0,
       "AB/C|D|EF"},
      {"below the titles nothing moves", "B",
       [](ColumnDragTest& t) { return TPoint(t.TitleCentre("B").X, t.TitleBottom() + 8); }, 0,
       "AB/C|D|EF"},
  };
  for (const DropCase& c : cases) {
    MakeStandard();
    ASSERT_EQ(Shape(), "AB/C|D|EF");
    Run(c);
  }
}

TEST_F(ColumnDragTest, OptionsAndColumnFlagsRestrictTheTargets) {
  struct Restricted {
    const char* label;
    TtlOptionsBehavior options;
    const char* flagged;  // the column given `flag`, or nullptr
    TtlColumnOptionBehavior flag;
    DropCase drop;
  };
  auto leftThird = [](const char* name) {
    return [name](ColumnDragTest& t) { return t.LeftThird(name); };
  };
  auto boundary = [](const char* name) {
    return [name](ColumnDragTest& t) { return t.Boundary(name); };
  };
  const Restricted cases[] = {
      {"no grouping: a new group takes the whole group",
       {gboNoColumnGrouping},
       nullptr,
       cboNoDragging,
       {"", "C", boundary("E"), 0, "D|AB/C|EF"}},
      {"no grouping: no drops into lines",
       {gboNoColumnGrouping},
       nullptr,
       cboNoDragging,
       {"", "D", leftThird("B"), 0, "AB/C|D|EF"}},
      {"no moving: inside its own group",
       {gboNoColumnMoving},
       nullptr,
       cboNoDragging,
       {"", "B", leftThird("A"), 0, "BA/C|D|EF"}},
      {"no moving: not into another group",
       {gboNoColumnMoving},
       nullptr,
       cboNoDragging,
       {"", "D", leftThird("B"), 0, "AB/C|D|EF"}},
      {"no moving: no new groups",
       {gboNoColumnMoving},
       nullptr,
       cboNoDragging,
       {"", "C", boundary("E"), 0, "AB/C|D|EF"}},
      {"a column that may not be dragged stays",
       {},
       "D",
       cboNoDragging,
       {"", "D", leftThird("B"), 0, "AB/C|D|EF"}},
      {"a standalone column joins no group",
       {},
       "D",
       cboStandalone,
       {"", "D", leftThird("B"), 0, "AB/C|D|EF"}},
      {"a standalone column may make a new group",
       {},
       "D",
       cboStandalone,
       {"", "D", boundary("A"), 0, "D|AB/C|EF"}},
      {"a group of fixed width takes no column",
       {},
       "D",
       cboFixedWidth,
       {"", "A", leftThird("D"), 0, "AB/C|D|EF"}},
  };
  for (const Restricted& c : cases) {
    SCOPED_TRACE(c.label);
    MakeStandard();
    grid->SetOptionsBehavior(c.options);
    if (c.flagged) Col(c.flagged)->SetOptionsBehavior({c.flag});
    Run(c.drop);
  }
}

TEST_F(ColumnDragTest, FixedColumnsStayWithFixedColumns) {
  auto make = [this] {
    Make({{"X", 0, 0, 60, true},
          {"Y", 0, 0, 60, true},
          {"A", 0, 0, 60},
          {"B", 0, 1, 60},
          {"D", 0, 0, 80}});
    ASSERT_EQ(Shape(), "X|Y|AB|D");
  };
  const DropCase cases[] = {
      // The new group before the first group takes that group's own
      // fixedness: a fixed column may go there, a scrollable one not.
      {"a fixed column to the far left", "Y",
       [](ColumnDragTest& t) { return TPoint(3, t.TitleCentre("X").Y); }, 0, "Y|X|AB|D"},
      {"a scrollable column to the far left", "A",
       [](ColumnDragTest& t) { return TPoint(3, t.TitleCentre("X").Y); }, 0, "X|Y|AB|D"},
      {"a fixed column into a scrollable line", "X",
       [](ColumnDragTest& t) { return t.LeftThird("B"); }, 0, "X|Y|AB|D"},
      {"a scrollable column into a fixed group", "A",
       [](ColumnDragTest& t) {
         auto& s = t;
         return TPoint(s.TitleCentre("Y").X, s.Title("Y").Bottom - 2);
       },
       0, "X|Y|AB|D"},
      {"a scrollable column among scrollable groups", "A",
       [](ColumnDragTest& t) {
         auto& s = t;
         return TPoint(s.Title("D").Right + 4, s.TitleCentre("D").Y);
       },
       0, "X|Y|B|D|A"},
  };
  for (const DropCase& c : cases) {
    make();
    Run(c);
  }
  // While over a refused place the drag has no target and shows nothing.
  make();
  BeginTitleDrag("A");
  MoveTo(TPoint(3, TitleCentre("X").Y));
  EXPECT_EQ(grid->Dragger()->DropKind(), dtkNone);
  EXPECT_FALSE(grid->Dragger()->Markers().Shown());
  MoveTo(LeftThird("B"));
  EXPECT_EQ(grid->Dragger()->DropKind(), dtkIntoLine);
  EXPECT_TRUE(grid->Dragger()->Markers().Shown());
}

TEST_F(ColumnDragTest, MarkersShowTheTargetAndLeaveThePixelsAsTheyWere) {
  MakeStandard();
  grid->Repaint();
  Pump();
  const std::vector<std::uint32_t> before = Snapshot();
  const TPoint origin = ToScreen(TPoint(0, 0));
  auto at = [&](Integer x, Integer y) { return ScreenPixel(TPoint(origin.X + x, origin.Y + y)); };
  BeginTitleDrag("A");
  // Away from any target the held title shows pressed while it is dragged.
  MoveTo(TPoint(TitleCentre("B").X, grid->TitleAreaHeight() + 10));
  EXPECT_EQ(grid->Dragger()->DropKind(), dtkNone);
  const std::vector<std::uint32_t> pressed = Snapshot();
  EXPECT_NE(pressed, before);

  // Into B's line: yellow arrows 1 and 3 above and below B's title,
  // centred on its left edge.
  MoveTo(LeftThird("B"));
  const TRect b = Title("B");
  EXPECT_EQ(grid->Dragger()->DropKind(), dtkIntoLine);
  EXPECT_EQ(at(b.Left, b.Top - 8), ArrowColor(false, 1));
  EXPECT_EQ(at(b.Left, b.Bottom + 7), ArrowColor(false, 3));
  EXPECT_EQ(grid->Dragger()->Markers().Position(0), TPoint(b.Left - 7, b.Top - 15));

  // A new group before E: the second set above and below the title band.
  MoveTo(Boundary("E"));
  const Integer e = Title("E").Left;
  EXPECT_EQ(grid->Dragger()->DropKind(), dtkNewGroup);
  EXPECT_EQ(at(e, -8), ArrowColor(true, 1));
  EXPECT_EQ(at(e, grid->TitleAreaHeight() + 7), ArrowColor(true, 3));
  // The arrows that were above B are gone without a trace.
  const TPoint bAbove(origin.X + b.Left, origin.Y + b.Top - 8);
  const TRect frame = GetWindowRect(form->Handle());
  const TSurface s = Backend().Surface(Native());
  EXPECT_EQ(before[std::size_t(bAbove.Y - frame.Top) * std::size_t(s.Width) +
                   std::size_t(bAbove.X - frame.Left)],
            s.Pixels[std::size_t(bAbove.Y - frame.Top) * std::size_t(s.Stride / 4) +
                     std::size_t(bAbove.X - frame.Left)]);

  // A new line under D: arrows 0 and 2 left and right of D's group at
  // the boundary below its only line.
  MoveTo(TPoint(TitleCentre("D").X, Title("D").Bottom - 2));
  const TtlGroupInfo* g = Col("D")->GroupInfo();
  const Integer y = Col("D")->TitleLineHeight() + 1;
  EXPECT_EQ(grid->Dragger()->DropKind(), dtkNewLine);
  EXPECT_EQ(at(g->ScreenLeft - 8, y), ArrowColor(false, 0));
  EXPECT_EQ(at(g->ScreenLeft + g->Width + 7, y), ArrowColor(false, 2));

  // No target: every pixel is back; Escape ends the drag with nothing moved.
  MoveTo(TPoint(TitleCentre("B").X, grid->TitleAreaHeight() + 10));
  EXPECT_EQ(grid->Dragger()->DropKind(), dtkNone);
  EXPECT_EQ(Snapshot(), pressed);
  Offscreen().PressKey(VK_ESCAPE);
  Pump();
  EXPECT_FALSE(Dragging());
  EXPECT_FALSE(grid->Dragger()->AnyDrag());
  EXPECT_EQ(Shape(), "AB/C|D|EF");
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ColumnDragTest, MarkersShownWhenTheDropIsCancelledAreRestored) {
  MakeStandard();
  Pump();
  const std::vector<std::uint32_t> before = Snapshot();
  BeginTitleDrag("C");
  MoveTo(Boundary("E"));
  ASSERT_TRUE(grid->Dragger()->Markers().Shown());
  Offscreen().Click(ToScreen(Boundary("E")), bbRight);
  Pump();
  EXPECT_FALSE(grid->Dragger()->Markers().Shown());
  EXPECT_EQ(Shape(), "AB/C|D|EF");
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(ColumnDragTest, ApplyDropRaisesForAnImpossiblePlace) {
  MakeStandard();
  grid->Dragger()->SetDrop(TtlDropTarget{dtkIntoLine, 0, -1, 0});
  EXPECT_THROW(grid->ApplyDrop(Col("D")), EDBTabulon);
  EXPECT_EQ(cols->LayoutFault(), "");
  // Without a target nothing moves.
  grid->Dragger()->ClearDrop();
  grid->ApplyDrop(Col("D"));
  EXPECT_EQ(Shape(), "AB/C|D|EF");
}

TEST_F(ColumnDragTest, DesignTimeDragsRunThroughTheGridItself) {
  MakeStandard();
  grid->SetDesigning(true);
  // At design time the run-time options do not restrict the drop.
  grid->SetOptionsBehavior({gboNoColumnMoving, gboNoColumnGrouping});
  grid->StartColumnDrag(Col("D"));
  EXPECT_FALSE(Dragging());
  EXPECT_TRUE(grid->Dragger()->DesignerDrag());
  grid->DesignDragOver(LeftThird("B").X, LeftThird("B").Y);
  EXPECT_TRUE(grid->Dragger()->Markers().Shown());
  grid->DesignDragDrop(LeftThird("B").X, LeftThird("B").Y);
  EXPECT_EQ(Shape(), "ADB/C|EF");
  EXPECT_FALSE(grid->Dragger()->AnyDrag());
  EXPECT_FALSE(grid->Dragger()->Markers().Shown());
  // The designer's hit test: titles and running modes take the mouse.
  const TPoint title = TitleCentre("A");
  EXPECT_EQ(grid->Perform(CM_DESIGNHITTEST, 0, PointToLParam(title)), 1);
  const TPoint cell(title.X, grid->TitleAreaHeight() + grid->RowHeight() / 2);
  EXPECT_EQ(grid->Perform(CM_DESIGNHITTEST, 0, PointToLParam(cell)), 0);
  grid->SetMouseMode(2);
  EXPECT_EQ(grid->Perform(CM_DESIGNHITTEST, 0, PointToLParam(cell)), 1);
  grid->SetMouseMode(0);
}

}  // namespace
}  // namespace brevant::test
