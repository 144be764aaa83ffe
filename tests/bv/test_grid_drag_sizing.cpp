// Sizing columns and groups with the mouse: where a sizing edge is offered,
// the widths the sizing line gives, the xor line on the screen, the cursor,
// and the distances that follow the screen height.
#include "backend/codes.h"
#include "bv/column_sizer.h"
#include "bv/columns.h"
#include "bv/group_info.h"
#include "controls/messages.h"
#include "controls/wincore.h"
#include "drag_test_util.h"

namespace brevant::test {
namespace {

class SizingTest : public DragGridTest {
 public:
  // The x of a column's right edge, and a y inside its title.
  Integer Edge(const char* name) {
    const TtlColumn* c = Col(name);
    return c->GroupInfo()->ScreenLeft + c->LowLevelInfo()->Offset + c->Width();
  }
  Integer TitleY(const char* name) { return TitleCentre(name).Y; }
  // A y inside data row `row`.
  Integer RowY(Integer row) {
    return grid->TitleAreaHeight() + row * grid->RowHeight() + grid->RowHeight() / 2;
  }
  // Drags the edge at (x, y) to `to` with the mouse.
  void Size(Integer x, Integer y, Integer to) {
    ASSERT_TRUE(grid->SizingEdgeAt(x, y));
    Offscreen().MouseMove(grid->ClientToScreen({x, y}));
    Pump();
    ASSERT_EQ(grid->MouseMode(), 1) << "over the edge";
    Offscreen().MouseDown(grid->ClientToScreen({x, y}));
    Pump();
    ASSERT_EQ(grid->MouseMode(), 2) << "sizing";
    Offscreen().MouseMove(grid->ClientToScreen({(x + to) / 2, y}));
    Offscreen().MouseMove(grid->ClientToScreen({to, y}));
    Offscreen().MouseUp(grid->ClientToScreen({to, y}));
    Pump();
  }
};

TEST(DragDistances, FollowTheScreenHeightRounded) {
  struct Row {
    Integer height, sizing, rowDrop;
  };
  for (const Row& r : {Row{768, 10, 5}, Row{640, 8, 4}, Row{1024, 13, 6}, Row{600, 8, 4}}) {
    ComputeDragDistances(r.height);
    EXPECT_EQ(DragDistances().Sizing, r.sizing) << r.height;
    EXPECT_EQ(DragDistances().ColumnDrop, r.sizing) << r.height;
    EXPECT_EQ(DragDistances().RowDrop, r.rowDrop) << r.height;
  }
  ComputeDragDistances(768);
}

TEST_F(SizingTest, EdgesAreOfferedWhereTheOptionsAllow) {
  struct Probe {
    const char* label;
    TtlOptionsBehavior options;
    const char* column;  // whose right edge is probed
    Integer dx;          // offset from the edge
    bool edge;
  };
  const Probe probes[] = {
      {"an inner column's edge", {}, "A", 0, true},
      {"within the sizing distance", {}, "A", -8, true},
      {"the middle of a title", {}, "A", -30, false},
      {"a group's last column", {}, "B", 0, true},
      {"inner columns not sized", {gboNoColumnSizing}, "A", 0, false},
      {"groups still sized", {gboNoColumnSizing}, "B", 0, true},
      {"groups not sized", {gboNoGroupSizing}, "B", 0, false},
      {"single columns are groups", {gboNoGroupSizing}, "D", 0, false},
      {"inner columns still sized", {gboNoGroupSizing}, "A", 0, true},
  };
  for (const Probe& p : probes) {
    SCOPED_TRACE(p.label);
    MakeStandard();
    grid->SetOptionsBehavior(p.options);
    EXPECT_EQ(grid->SizingEdgeAt(Edge(p.column) + p.dx, TitleY(p.column)), p.edge);
  }
  // A group of fixed width is never sized, at design time neither.
  MakeStandard();
  Col("D")->SetOptionsBehavior({cboFixedWidth});
  EXPECT_FALSE(grid->SizingEdgeAt(Edge("D"), TitleY("D")));
  grid->SetDesigning(true);
  EXPECT_FALSE(grid->SizingEdgeAt(Edge("D"), TitleY("D")));
}

TEST_F(SizingTest, WithoutTitlesTheRowsDecide) {
  struct Probe {
    const char* label;
    TtlOptionsBehavior options;
    bool designing;
    Integer row;
    bool edge;
  };
  const Probe probes[] = {
      {"plain: no edge in the rows", {}, false, 0, false},
      {"smart sizing: the first row", {gboSmartSizing}, false, 0, true},
      {"smart sizing: not further down", {gboSmartSizing}, false, 3, false},
      {"full height: any row", {gboFullHeightSizing}, false, 3, true},
      {"design time: the first row", {}, true, 0, true},
      {"design time: not further down", {}, true, 3, false},
  };
  for (const Probe& p : probes) {
    SCOPED_TRACE(p.label);
    MakeStandard();
    grid->SetShowTitles(false);
    grid->SetOptionsBehavior(p.options);
    grid->SetDesigning(p.designing);
    EXPECT_EQ(grid->SizingEdgeAt(Edge("A"), RowY(p.row)), p.edge);
  }
}

TEST_F(SizingTest, TheLineGivesTheNewWidths) {
  MakeStandard();
  // An inner column: the line is shared out again, the group keeps its width.
  Size(Edge("A"), TitleY("A"), Edge("A") + 20);
  EXPECT_EQ(Col("A")->Width(), 80);
  EXPECT_EQ(Col("B")->Width(), 40);
  EXPECT_EQ(Col("A")->GroupInfo()->Width, 120);
  EXPECT_EQ(grid->MouseMode(), 0);

  // The line of an inner column stops at its group's right edge.
  MakeStandard();
  ASSERT_TRUE(grid->SizingEdgeAt(Edge("A"), TitleY("A")));
  grid->StartSizing(Edge("A"));
  grid->TrackSizing(Edge("D"));
  EXPECT_EQ(ColumnSizer()->LineX(), Edge("B"));
  grid->EndSizing(Edge("D"));
  EXPECT_EQ(ColumnSizer()->LineX(), -1);

  // Left of the column's left edge: width 0, which the column makes 2.
  MakeStandard();
  Size(Edge("A"), TitleY("A"), -40);
  EXPECT_EQ(Col("A")->Width(), 2);

  // The last column of a line sizes its group.
  MakeStandard();
  Size(Edge("D"), TitleY("D"), Edge("D") + 30);
  EXPECT_EQ(Col("D")->Width(), 110);
  EXPECT_EQ(Col("D")->GroupInfo()->Width, 110);
  EXPECT_EQ(Col("E")->GroupInfo()->ScreenLeft,
            Col("D")->GroupInfo()->ScreenLeft + 110 + Col("D")->GroupInfo()->LineWidth);
  // The last column of a line in a group of several lines: the group and
  // with it every line grows.
  MakeStandard();
  Size(Edge("B"), TitleY("B"), Edge("B") + 30);
  EXPECT_EQ(Col("A")->GroupInfo()->Width, 150);
  EXPECT_EQ(Col("C")->Width(), 150);
  EXPECT_EQ(Col("A")->Width() + Col("B")->Width(), 150);
  MakeStandard();
  Size(Edge("D"), TitleY("D"), 0);
  EXPECT_EQ(Col("D")->Width(), 2);
  EXPECT_EQ(cols->LayoutFault(), "");
}

TEST_F(SizingTest, AColumnFreedWhileSizedIsForgotten) {
  MakeStandard();
  const Integer x = Edge("D");
  ASSERT_TRUE(grid->SizingEdgeAt(x, TitleY("D")));
  grid->StartSizing(x);
  TObject::Free(Col("D"));
  EXPECT_EQ(ColumnSizer()->Column(), nullptr);
  grid->EndSizing(x + 20);
  EXPECT_EQ(Shape(), "AB/C|EF");
  EXPECT_EQ(Col("E")->Width(), 60);
  EXPECT_EQ(ColumnSizer()->LineX(), -1);
}

TEST_F(SizingTest, SmartSizingAtTheRightEdgeFitsTheClient) {
  Make({{"A", 0, 0, 100}, {"W", 0, 0, 700}});
  const Integer width = grid->ClientWidth();
  const Integer x = width - 3;
  // The right probe falls on the same column, but the edge of the client
  // counts as the column's edge.
  ASSERT_TRUE(grid->SizingEdgeAt(x, TitleY("W")));
  EXPECT_EQ(ColumnSizer()->MinX(), x + Col("W")->GroupInfo()->ScreenLeft - width);
  grid->StartSizing(x);
  grid->EndSizing(x);
  EXPECT_EQ(Col("W")->Width(), width - Col("W")->GroupInfo()->ScreenLeft);
  // Away from the right edge the middle of the title is no edge.
  EXPECT_FALSE(grid->SizingEdgeAt(width - 40, TitleY("W")));
}

TEST_F(SizingTest, TheXorLineLeavesThePixelsAsTheyWere) {
  MakeStandard();
  grid->Repaint();
  Pump();
  const Integer x = Edge("A"), y = RowY(2);
  const TColor under = PixelAt(x, y), beside = PixelAt(x + 6, y);
  const TColor bottom = PixelAt(x + 6, grid->ClientHeight() - 1);
  ASSERT_TRUE(grid->SizingEdgeAt(x, TitleY("A")));
  grid->StartSizing(x);
  EXPECT_EQ(PixelAt(x, y), under ^ 0xFFFFFF);
  grid->TrackSizing(x + 6);
  EXPECT_EQ(PixelAt(x, y), under);
  EXPECT_EQ(PixelAt(x + 6, y), beside ^ 0xFFFFFF);
  // Tracking to the same place draws nothing.
  grid->TrackSizing(x + 6);
  EXPECT_EQ(PixelAt(x + 6, y), beside ^ 0xFFFFFF);
  // The line reaches the bottom of the client area.
  EXPECT_EQ(PixelAt(x + 6, grid->ClientHeight() - 1), bottom ^ 0xFFFFFF);
  ColumnSizer()->Cancel();
  EXPECT_EQ(PixelAt(x + 6, y), beside);
}

TEST_F(SizingTest, TheSplitCursorShowsWhileOverAnEdgeOrSizing) {
  MakeStandard();
  auto cursorIn = [this](Integer mode) {
    grid->SetMouseMode(mode);
    SendMessage(grid->Handle(), WM_SETCURSOR, static_cast<WPARAM>(grid->Handle()), HTCLIENT);
    return Offscreen().CursorShape();
  };
  EXPECT_EQ(cursorIn(1), crHSplit);
  EXPECT_EQ(cursorIn(2), crHSplit);
  EXPECT_NE(cursorIn(0), crHSplit);
  EXPECT_EQ(cursorIn(1), crHSplit);
  EXPECT_NE(cursorIn(3), crHSplit);
}

}  // namespace
}  // namespace brevant::test
