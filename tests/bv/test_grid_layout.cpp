// Column layout: groups of several lines, moving columns within and between
// groups and lines, detaching, moving groups, hiding and showing, fixed
// groups, the horizontal scroll window and its bar, fitting the client
// width, and the collection's lookups and lists.
#include <functional>

#include "bv_rtm/bv_errors.h"
#include "classes/formstream.h"
#include "controls/wincore.h"
#include "grid_test_util.h"
#include "rtl/numconv.h"
#include "rtl/streams.h"

namespace brevant::test {
namespace {

// A column of a layout to build: caption, stored place, width.
struct ColumnPlace {
  const char* name;
  Integer level;
  Integer index;
  Integer width;
};

class LayoutTest : public GridTest {
 protected:
  void SetUp() override {
    GridTest::SetUp();
    Build(20, 5);
    cols = grid->Columns();
  }
  // Replaces the grid's columns by places, in order.
  void Make(std::initializer_list<ColumnPlace> places) {
    cols->BeginUpdate();
    cols->Clear();
    for (const ColumnPlace& s : places) {
      TtlColumn* c = cols->Add();
      c->SetFieldName("Name");
      c->SetCaption(s.name);
      c->SetLayoutLevel(s.level);
      c->SetLayoutIndex(s.index);
      c->SetWidth(s.width);
    }
    cols->EndUpdate();
    Pump();
  }
  TtlColumn* Col(const char* name) {
    for (Integer i = 0; i < cols->Count(); ++i)
      if (cols->Items(i)->Caption() == name) return cols->Items(i);
    ADD_FAILURE() << "no column " << name;
    return nullptr;
  }
  TtlGroupInfo* GroupOf(const char* name) { return Col(name)->GroupInfo(); }
  // The groups as laid out: "A:40 B:50/C:90 | D:60" (lines split by '/',
  // groups by '|', visible columns with their widths).
  String Shape() {
    String text;
    for (Integer g = 0; g < cols->GroupCount(); ++g) {
      const TtlGroupInfo* group = cols->Groups(g);
      if (g > 0) text += " | ";
      Integer line = 0;
      bool first = true;
      for (Integer i = group->FirstColumn; i <= group->LastColumn; ++i) {
        const TtlColumn* c = cols->Items(i);
        if (!c->Visible()) continue;
        if (c->Line() != line)
          text += "/";
        else if (!first)
          text += " ";
        line = c->Line();
        first = false;
        text += c->Caption() + ":" + IntToStr(c->Width());
      }
    }
    return text;
  }
  // The captions in collection order.
  String Order() {
    String text;
    for (Integer i = 0; i < cols->Count(); ++i) text += cols->Items(i)->Caption();
    return text;
  }
  Integer HScroll(Integer code, Integer pos = 0) {
    grid->Perform(WM_HSCROLL, static_cast<WPARAM>(code) | (static_cast<WPARAM>(pos) << 16), 0);
    return cols->FirstShownGroup();
  }
  TScrollInfo Bar() {
    TScrollInfo info;
    info.Mask = SIF_ALL;
    GetScrollInfo(grid->WindowHandle(), SB_HORZ, info);
    return info;
  }
  // The default layout of the move tests: one group of two lines and two
  // groups of one column.
  void MakeThreeGroups() {
    Make({{"A", 0, 0, 60}, {"B", 0, 1, 60}, {"C", 1, 0, 120}, {"D", 0, 0, 60}, {"E", 0, 0, 60}});
  }

  TtlColumns* cols = nullptr;
};

TEST_F(LayoutTest, LinesFormGroupsAsWideAsTheirWidestLine) {
  // Stored defaults: one group per column.
  Make({{"A", 0, 0, 40}, {"B", 0, 0, 50}, {"C", 0, 0, 45}});
  EXPECT_EQ(Shape(), "A:40 | B:50 | C:45");
  EXPECT_EQ(cols->Groups(2)->Left, 90);
  EXPECT_EQ(cols->TotalWidth(), 135);

  // (0,0), (0,1), (1,0): one group of two lines; the second line's single
  // column is stretched to the wider first line.
  Make({{"A", 0, 0, 40}, {"B", 0, 1, 50}, {"C", 1, 0, 45}, {"D", 0, 0, 30}});
  EXPECT_EQ(Shape(), "A:40 B:50/C:90 | D:30");
  const TtlGroupInfo* g = cols->Groups(0);
  EXPECT_EQ(g->LineCount, 2);
  EXPECT_EQ(g->MinWidth, 4);
  EXPECT_EQ(g->FirstVisible, 0);
  EXPECT_EQ(g->SecondVisible, 1);
  EXPECT_EQ(g->LastVisible, 2);
  EXPECT_FALSE(g->Single);
  EXPECT_TRUE(cols->Groups(1)->Single);
  EXPECT_EQ(Col("B")->LowLevelInfo()->Offset, 40);
  EXPECT_TRUE(Col("B")->LowLevelInfo()->IsLastInLine);
  EXPECT_FALSE(Col("A")->LowLevelInfo()->IsLastInLine);
  EXPECT_TRUE(Col("C")->LowLevelInfo()->IsLastLine);
  EXPECT_FALSE(Col("B")->LowLevelInfo()->IsLastLine);
  EXPECT_EQ(Col("C")->LowLevelInfo()->PrevVisible, Col("B"));
  EXPECT_EQ(Col("C")->LowLevelInfo()->NextVisible, Col("D"));
  EXPECT_EQ(cols->LayoutFault(), "");

  // A first column that does not start a group is taken as a group start.
  Make({{"A", 1, 3, 40}, {"B", 0, 1, 50}});
  EXPECT_EQ(Shape(), "A:50/B:50");
}

TEST_F(LayoutTest, TwoLineGroupsDoubleTheBandsAndPaintEveryLine) {
  const Integer title = grid->TitleHeight(), row = grid->RowHeight();
  TtlColumn* id = cols->Items(0);
  TtlColumn* name = cols->Items(1);
  cols->MoveColumn(name, id->GroupInfo(), 1, 0);
  Pump();
  ASSERT_EQ(cols->GroupCount(), 1);
  EXPECT_EQ(grid->TitleHeight(), 2 * title + 1);
  EXPECT_EQ(grid->RowHeight(), 2 * row + 1);
  EXPECT_EQ(name->CellLineHeight(), row);
  // The second line of row 1 shows the Name of its record in real pixels.
  const TRect r = name->CellRect(1, false, false);
  EXPECT_EQ(r.Top, grid->TitleAreaHeight() + name->CellLineHeight() + 1 + grid->RowHeight());
  auto inked = [&](const TRect& rect) {
    Integer n = 0;
    for (Integer y = rect.Top; y < rect.Bottom; ++y)
      for (Integer x = rect.Left; x < rect.Right; ++x)
        if (PixelAt(x, y) != grid->Color()) ++n;
    return n;
  };
  EXPECT_GT(inked(r), 0);
  // Hidden, the line goes and the band shrinks back.
  name->SetVisible(false);
  Pump();
  EXPECT_EQ(id->GroupInfo()->LineCount, 1);
  EXPECT_EQ(grid->RowHeight(), row);
  EXPECT_TRUE(IsRectEmpty(name->CellRect(1, false, false)));
}

TEST_F(LayoutTest, HidingAndShowingTradeWidthWithinTheLine) {
  Make({{"A", 0, 0, 40}, {"B", 0, 1, 50}, {"C", 1, 0, 90}});
  // The only column of a line: the line goes, the group keeps its width.
  Col("C")->SetVisible(false);
  Pump();
  EXPECT_EQ(Shape(), "A:40 B:50");
  EXPECT_EQ(cols->Groups(0)->LineCount, 1);
  // One of two: the other takes its width ...
  Col("B")->SetVisible(false);
  Pump();
  EXPECT_EQ(Shape(), "A:90");
  // ... and gives it back when it shows again.
  Col("B")->SetVisible(true);
  Pump();
  EXPECT_EQ(Shape(), "A:40 B:50");
  Col("C")->SetVisible(true);
  Pump();
  EXPECT_EQ(Shape(), "A:40 B:50/C:90");
  EXPECT_EQ(cols->LayoutFault(), "");
}

struct MoveCase {
  const char* name;            // what moves where
  std::function<void()> move;  // the operation
  const char* shape;           // the layout after it
  const char* order;           // the collection order after it
};

TEST_F(LayoutTest, MovingColumnsWithinAndBetweenGroupsAndLines) {
  auto move = [this](const char* col, const char* group, Integer level, Integer index) {
    return [=, this] { cols->MoveColumn(Col(col), GroupOf(group), level, index); };
  };
  const MoveCase cases[] = {
      {"E joins the first line", move("E", "A", 0, 2), "A:40 B:40 E:40/C:120 | D:60", "ABECD"},
      {"D opens a new second line", move("D", "A", 1, -1), "A:60 B:60/D:120/C:120 | E:60", "ABDCE"},
      {"D opens a new top line", move("D", "A", 0, -1), "D:120/A:60 B:60/C:120 | E:60", "DABCE"},
      {"D becomes the group's first column", move("D", "A", 0, 0), "D:40 A:40 B:40/C:120 | E:60",
       "DABCE"},
      {"C moves up between A and B", move("C", "A", 0, 1), "A:30 C:60 B:30 | D:60 | E:60", "ACBDE"},
      {"B leaves for D's group", move("B", "D", 0, 1), "A:120/C:120 | D:30 B:30 | E:60", "ACDBE"},
      {"a place beyond the lines appends a line", move("E", "A", 7, 3),
       "A:60 B:60/C:120/E:120 | D:60", "ABCED"},
      {"a single column stays alone", move("D", "D", 1, 0), "A:60 B:60/C:120 | D:60 | E:60",
       "ABCDE"},
  };
  for (const MoveCase& c : cases) {
    SCOPED_TRACE(c.name);
    MakeThreeGroups();
    c.move();
    Pump();
    EXPECT_EQ(Shape(), c.shape);
    EXPECT_EQ(Order(), c.order);
    EXPECT_EQ(cols->LayoutFault(), "");
    EXPECT_EQ(cols->LayoutReason(), lrNone);
  }
  // A hidden column moved into a group is shown there.
  MakeThreeGroups();
  Col("E")->SetVisible(false);
  cols->MoveColumn(Col("E"), GroupOf("A"), 1, 1);
  Pump();
  EXPECT_TRUE(Col("E")->Visible());
  EXPECT_EQ(Shape(), "A:60 B:60/C:80 E:40 | D:60");
  // Setting the layout place of a grouped column moves it the same way.
  MakeThreeGroups();
  Col("B")->SetLayoutLevel(1);
  Pump();
  EXPECT_EQ(Shape(), "A:120/C:80 B:40 | D:60 | E:60");
  EXPECT_EQ(Col("B")->LayoutIndex(), 1);
}

TEST_F(LayoutTest, AnInvalidPlaceIsRefusedAndChangesNothing) {
  MakeThreeGroups();
  try {
    cols->MoveColumn(Col("D"), GroupOf("A"), -1, 0);
    FAIL() << "no exception";
  } catch (const EDBTabulon& e) {
    EXPECT_EQ(e.Message(), "Invalid layout position (-1,0)");
  }
  EXPECT_THROW(cols->MoveColumn(Col("D"), GroupOf("A"), 0, -2), EDBTabulon);
  EXPECT_EQ(cols->LayoutReason(), lrNone);
  EXPECT_EQ(Order(), "ABCDE");
}

TEST_F(LayoutTest, DetachingLeavesTheOldGroupRenumbered) {
  // Alone in its group (the default layout): nothing is left to renumber.
  Make({{"A", 0, 0, 50}, {"B", 0, 0, 50}, {"C", 0, 0, 50}});
  cols->DetachColumn(Col("B"), GroupOf("A"));
  Pump();
  EXPECT_EQ(Order(), "BAC");
  EXPECT_EQ(cols->LayoutFault(), "");
  // A hidden column left behind is renumbered with the others: it starts
  // the old group instead of joining the group before it.
  Make({{"X", 0, 0, 50}, {"A", 0, 0, 40}, {"H", 0, 1, 45}, {"C", 0, 2, 50}});
  Col("H")->SetVisible(false);
  Pump();
  cols->DetachColumn(Col("A"), nullptr);
  Pump();
  EXPECT_EQ(Order(), "XHCA");
  EXPECT_TRUE(Col("H")->StartsGroup());
  EXPECT_EQ(Col("C")->LayoutIndex(), 1);
  EXPECT_TRUE(cols->SameGroup(Col("H"), Col("C")));
  EXPECT_FALSE(cols->SameGroup(Col("X"), Col("H")));
  // Hiding H gave its width to A and C; the old group keeps its width
  // (135 before A left).
  EXPECT_EQ(Shape(), "X:50 | C:135 | A:60");
  // A standalone option detaches the column before its group.
  Make({{"A", 0, 0, 40}, {"B", 0, 1, 50}});
  Col("B")->SetOptionsBehavior({cboStandalone});
  Pump();
  EXPECT_EQ(Shape(), "B:50 | A:90");
  EXPECT_TRUE(cols->Groups(0)->Standalone);
}

TEST_F(LayoutTest, FreeingAColumnKeepsItsGroupTogether) {
  Make({{"X", 0, 0, 50}, {"A", 0, 0, 40}, {"B", 0, 1, 30}, {"C", 1, 0, 70}});
  TObject::Free(Col("A"));
  Pump();
  EXPECT_EQ(Shape(), "X:50 | B:70/C:70");
  EXPECT_EQ(cols->LayoutFault(), "");
  // A hidden column is shown again first, so the rest keeps the width.
  Col("B")->SetVisible(false);
  Pump();
  TObject::Free(Col("B"));
  Pump();
  EXPECT_EQ(Shape(), "X:50 | C:70");
}

TEST_F(LayoutTest, MovingGroupsKeepsThemWhole) {
  struct Case {
    const char* name;
    const char* group;
    const char* before;  // nullptr: to the end
    const char* order;
  };
  const Case cases[] = {
      {"before itself: nothing", "A", "A", "ABCDE"},
      {"to the end", "A", nullptr, "DEABC"},
      {"to the front", "E", "A", "EABCD"},
      {"behind the next group", "A", "E", "DABCE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MakeThreeGroups();
    cols->MoveGroup(GroupOf(c.group), c.before ? GroupOf(c.before) : nullptr);
    Pump();
    EXPECT_EQ(Order(), c.order);
    EXPECT_EQ(cols->GroupCount(), 3);
    EXPECT_EQ(cols->LayoutFault(), "");
  }
  // A two-column group moved onto itself stays one group in its order.
  Make({{"A", 0, 0, 40}, {"B", 0, 1, 50}, {"C", 0, 0, 45}});
  cols->MoveGroup(GroupOf("A"), GroupOf("A"));
  EXPECT_EQ(Shape(), "A:40 B:50 | C:45");

  // Setting Index moves the column's whole group: towards the end behind
  // the target group, towards the start before it, inside itself nowhere.
  MakeThreeGroups();
  Col("B")->SetIndex(4);
  EXPECT_EQ(Order(), "DEABC");
  Col("E")->SetIndex(0);
  EXPECT_EQ(Order(), "EDABC");
  Col("C")->SetIndex(2);
  EXPECT_EQ(Order(), "EDABC");
  EXPECT_EQ(cols->LayoutFault(), "");
}

TEST_F(LayoutTest, FixedGroupsStandFirstAndNeverScroll) {
  Make({{"A", 0, 0, 60},
        {"B", 0, 0, 60},
        {"C", 0, 0, 60},
        {"D", 0, 0, 60},
        {"E", 0, 0, 60},
        {"F", 0, 0, 60},
        {"G", 0, 0, 60}});
  Col("C")->SetFixed(cfLeft);
  Pump();
  EXPECT_EQ(Order(), "CABDEFG");
  Col("E")->SetFixed(cfLeft);  // behind the fixed group already there
  Pump();
  EXPECT_EQ(Order(), "CEABDFG");
  EXPECT_EQ(cols->LastFixedGroup(), 1);
  EXPECT_EQ(cols->FirstScrollableGroup(), 2);
  EXPECT_EQ(cols->FixedWidth(), 120);
  // Scrolled to the end, the fixed groups stay at the left and the left
  // scrollable group starts behind them.
  const Integer last = HScroll(SB_RIGHT);
  EXPECT_GT(last, 2);
  EXPECT_EQ(cols->Groups(0)->ScreenLeft, 0);
  EXPECT_EQ(cols->Groups(1)->ScreenLeft, 60);
  EXPECT_EQ(cols->Groups(last)->ScreenLeft, 120);
  EXPECT_FALSE(cols->Groups(2)->InView);
  EXPECT_EQ(Col("C")->TitleRect(false).Left, 0);
  EXPECT_TRUE(IsRectEmpty(Col("A")->TitleRect(false)));
  // Unfixed, a column goes to the front of the scrollable range.
  Col("C")->SetFixed(cfNone);
  Pump();
  EXPECT_EQ(Order(), "ECABDFG");
  EXPECT_EQ(cols->LastFixedGroup(), 0);
  EXPECT_EQ(cols->LayoutFault(), "");
  // A hidden fixed column shown again joins the fixed groups.
  Col("G")->SetVisible(false);
  Col("G")->SetFixed(cfLeft);
  Col("G")->SetVisible(true);
  Pump();
  EXPECT_EQ(Order(), "EGCABDF");
  EXPECT_EQ(cols->LayoutFault(), "");
}

TEST_F(LayoutTest, TheScrollBarFollowsTheScrollWindow) {
  Make({{"F", 0, 0, 80},
        {"A", 0, 0, 100},
        {"B", 0, 0, 100},
        {"C", 0, 0, 100},
        {"D", 0, 0, 100},
        {"E", 0, 0, 100}});
  Col("F")->SetFixed(cfLeft);
  Pump();
  // 500 scrollable pixels beside 80 fixed ones: the left group may move up
  // to the first group from which the rest fits.
  const Integer avail = grid->ClientWidth() - 80;
  const Integer positions = (500 - avail + 99) / 100 + 1;
  EXPECT_EQ(cols->ScrollPositions(), positions);
  EXPECT_EQ(Bar().Max, positions - 1);
  EXPECT_EQ(Bar().Pos, 0);
  EXPECT_EQ(HScroll(SB_LINERIGHT), 2);
  EXPECT_EQ(Bar().Pos, 1);
  EXPECT_EQ(HScroll(SB_RIGHT), positions);  // clamped to the last position
  EXPECT_EQ(Bar().Pos, positions - 1);
  EXPECT_EQ(HScroll(SB_THUMBPOSITION, 1), 2);
  EXPECT_EQ(HScroll(SB_LEFT), 1);
  EXPECT_EQ(Bar().Pos, 0);

  // A window narrower than every scrollable group: each is a position of
  // its own and the range is not inverted.
  grid->SetClientWidth(90);
  Pump();
  EXPECT_EQ(cols->ScrollPositions(), 5);
  EXPECT_EQ(HScroll(SB_RIGHT), 5);
  EXPECT_EQ(Bar().Max, 4);
  EXPECT_EQ(Bar().Pos, 4);
  EXPECT_EQ(cols->LayoutFault(), "");

  // Without scrollable groups there is nothing to scroll.
  Make({{"F", 0, 0, 80}});
  Col("F")->SetFixed(cfLeft);
  Pump();
  EXPECT_EQ(cols->ScrollPositions(), 0);
  EXPECT_EQ(cols->FirstShownGroup(), -1);
  EXPECT_TRUE(cols->Groups(0)->InView);
}

TEST_F(LayoutTest, SelectingAColumnScrollsItIntoView) {
  Make({{"A", 0, 0, 100},
        {"B", 0, 0, 100},
        {"C", 0, 0, 100},
        {"D", 0, 0, 100},
        {"E", 0, 0, 100},
        {"F", 0, 0, 100}});
  grid->SelectColumn(0);
  grid->SelectColumn(5);
  EXPECT_EQ(cols->FirstShownGroup(), cols->ScrollPositions() - 1);
  EXPECT_TRUE(cols->IsGroupInView(Col("F")));
  EXPECT_EQ(Bar().Pos, cols->FirstShownGroup());
  EXPECT_EQ(grid->FreezeCount(), 0);
  grid->SelectColumn(1);
  EXPECT_EQ(cols->FirstShownGroup(), 1);
  // A column already in view does not scroll.
  grid->SelectColumn(2);
  EXPECT_EQ(cols->FirstShownGroup(), 1);
}

TEST_F(LayoutTest, AutoFitSharesTheClientWidthExactly) {
  Make({{"A", 0, 0, 40}, {"B", 0, 1, 60}, {"C", 1, 0, 100}, {"D", 0, 0, 50}, {"E", 0, 0, 70}});
  grid->SetAutoColumnFit(true);
  Pump();
  const Integer client = grid->ClientWidth();
  EXPECT_EQ(cols->TotalWidth(), client);
  EXPECT_EQ(cols->LayoutFault(), "");  // every line as wide as its group
  EXPECT_EQ(cols->ScrollPositions(), 1);
  // Widening one group narrows the others; the total stays.
  const Integer e = Col("E")->Width();
  const Integer d = Col("D")->Width() + 30;
  Col("D")->SetWidth(d);
  Pump();
  EXPECT_EQ(Col("D")->Width(), d);
  EXPECT_EQ(cols->TotalWidth(), client);
  EXPECT_LT(Col("E")->Width(), e);
  EXPECT_EQ(cols->LayoutFault(), "");
  // A fixed-width column keeps its width while the others give way.
  Col("E")->SetOptionsBehavior({cboFixedWidth});
  const Integer fixed = Col("E")->Width(), c = Col("C")->Width();
  Col("D")->SetWidth(d + 20);
  Pump();
  EXPECT_EQ(Col("E")->Width(), fixed);
  EXPECT_LT(Col("C")->Width(), c);
  EXPECT_EQ(cols->TotalWidth(), client);
  // A narrow client leaves no column below its minimum.
  grid->SetClientWidth(20);
  Pump();
  for (Integer i = 0; i < cols->Count(); ++i) EXPECT_GE(cols->Items(i)->Width(), 2);
  EXPECT_EQ(cols->LayoutFault(), "");
  // Wide again, the groups fill it.
  grid->SetClientWidth(client);
  Pump();
  EXPECT_EQ(cols->TotalWidth(), client);
}

TEST_F(LayoutTest, AddingAtALayoutPlace) {
  MakeThreeGroups();
  TtlColumn* n = cols->AddColumn(GroupOf("A"), 1, 1, Col("D"));
  n->SetCaption("N");
  Pump();
  EXPECT_EQ(Order(), "ABCNDE");
  EXPECT_EQ(n->FieldName(), "Name");
  EXPECT_EQ(Shape(), "A:60 B:60/C:87 N:33 | D:60 | E:60");
  TtlColumn* m = cols->AddColumn(GroupOf("D"), -1, 0);
  m->SetCaption("M");
  Pump();
  EXPECT_EQ(Order(), "ABCNMDE");
  EXPECT_EQ(cols->LayoutFault(), "");
}

TEST_F(LayoutTest, LookupsAndDerivedLists) {
  MakeThreeGroups();
  Col("C")->SetTag(7);
  Col("D")->SetFieldName("ID");
  EXPECT_EQ(cols->FindByTag(7), Col("C"));
  EXPECT_EQ(cols->FindByTag(8), nullptr);
  EXPECT_EQ(cols->FindByFieldName("id"), Col("D"));
  EXPECT_EQ(cols->IndexOfColumn(Col("E")), 4);
  EXPECT_EQ(cols->VisibleFieldNames(), "Name;Name;Name;ID;Name");
  // Sorted columns by the order they became sorted; hidden ones left out.
  Col("E")->SetTitleState(tsSortedUp);
  Col("B")->SetTitleState(tsSortedDown);
  Col("A")->SetTitleState(tsSortedUp);
  Col("A")->SetVisible(false);
  ASSERT_EQ(cols->SortedColumnCount(), 2);
  EXPECT_EQ(cols->SortedColumn(0), Col("E"));
  EXPECT_EQ(cols->SortedColumn(1), Col("B"));
  EXPECT_THROW(cols->SortedColumn(2), EBVError);
  Col("D")->SetFooterState(fsSum);
  Col("B")->SetFooterState(fsMax);
  ASSERT_EQ(cols->FooterColumnCount(), 2);
  EXPECT_EQ(cols->FooterColumn(0), Col("B"));
  // The selectable list and the nearest selectable column.
  Pump();
  Col("C")->SetOptionsBehavior({cboNoSelecting});
  EXPECT_EQ(cols->SelectableCount(), 3);
  EXPECT_EQ(cols->Selectable(1), Col("D"));
  grid->SelectColumn(3);
  Col("D")->SetOptionsBehavior({cboNoSelecting});
  EXPECT_EQ(grid->CurrentColumnObject(), Col("E"));
  Col("E")->SetVisible(false);
  Pump();
  EXPECT_EQ(cols->NearestSelectable(), 1);
}

TEST_F(LayoutTest, CopyingColumnsByFieldName) {
  MakeThreeGroups();
  Col("A")->SetFieldName("ID");
  TtlColumns* source = Create<TtlColumns>(nullptr);
  TtlColumn* s1 = source->Add();
  s1->SetFieldName("Other");
  s1->SetWidth(99);
  TtlColumn* s2 = source->Add();
  s2->SetFieldName("id");
  s2->SetWidth(77);
  s2->SetVisible(false);
  // Without clearing: matched by field name, unmatched ones left alone, the
  // order kept.
  cols->CopyColumns(source, false, cmkVisible);
  Pump();
  EXPECT_EQ(Order(), "ABCDE");
  EXPECT_FALSE(Col("A")->Visible());
  EXPECT_EQ(cols->Count(), 5);
  // Clearing: one column per source column.
  cols->CopyColumns(source, true, cmkGeometry | cmkFieldName);
  Pump();
  ASSERT_EQ(cols->Count(), 2);
  EXPECT_EQ(cols->Items(0)->FieldName(), "Other");
  EXPECT_EQ(cols->Items(1)->Width(), 77);
  EXPECT_EQ(grid->FreezeCount(), 0);
  TObject::Free(source);
}

TEST_F(LayoutTest, ChangesInsideAnUpdateWaitForItsEnd) {
  Make({{"A", 0, 0, 40}, {"B", 0, 1, 50}, {"C", 0, 0, 45}, {"D", 0, 0, 30}});
  Col("B")->SetVisible(false);
  Pump();
  // Shown and freed inside the bracket: a relayout meanwhile neither reads
  // a line the shown column does not have yet nor a column that is gone.
  cols->BeginUpdate();
  Col("B")->SetVisible(true);
  TObject::Free(Col("D"));
  grid->SetAutoColumnFit(true);
  EXPECT_EQ(cols->Count(), 3);
  cols->EndUpdate();
  Pump();
  EXPECT_EQ(cols->LayoutFault(), "");
  EXPECT_EQ(cols->TotalWidth(), grid->ClientWidth());
  EXPECT_EQ(cols->GroupCount(), 2);
  EXPECT_EQ(grid->FreezeCount(), 0);
}

TEST_F(LayoutTest, ALoadedLayoutKeepsItsGroupsAndFixesItsFixedColumns) {
  TStringStream text(
      "object T: TDBTabulon\n  Columns = <\n"
      "    item\n      Caption = 'A'\n    end\n"
      "    item\n      Caption = 'B'\n      LayoutIndex = 1\n    end\n"
      "    item\n      Caption = 'C'\n      LayoutLevel = 1\n    end\n"
      "    item\n      Caption = 'F'\n      Fixed = cfLeft\n    end>\nend\n");
  TObjectPtr<TDBTabulon> loaded(Create<TDBTabulon>(nullptr));
  ReadComponent(text, loaded.get());
  TtlColumns* c = loaded->Columns();
  ASSERT_EQ(c->Count(), 4);
  EXPECT_EQ(c->Items(0)->Caption(), "F");
  EXPECT_EQ(c->GroupCount(), 2);
  EXPECT_EQ(c->Groups(1)->LineCount, 2);
  EXPECT_EQ(c->LastFixedGroup(), 0);
  EXPECT_EQ(c->LayoutFault(), "");
}

// Random layout operations; after every step the layout keeps its rules
// (dense numbering, a group start first, fixed groups first, lines as wide
// as their group, the scroll window inside its positions, a fitted total)
// and so does the row window.
TEST_F(LayoutTest, RandomOperationsKeepTheLayoutRules) {
  for (std::uint32_t seed : {20261209u, 4242u, 99u}) {
    SCOPED_TRACE(seed);
    Make({{"A", 0, 0, 60},
          {"B", 0, 1, 50},
          {"C", 1, 0, 70},
          {"D", 0, 0, 40},
          {"E", 0, 0, 80},
          {"F", 0, 1, 30},
          {"G", 0, 0, 55},
          {"H", 0, 0, 65}});
    grid->SetAutoColumnFit(false);
    auto next = [&seed](Integer n) {
      seed = seed * 1664525u + 1013904223u;
      return static_cast<Integer>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    auto anyColumn = [&] { return cols->Items(next(cols->Count())); };
    auto anyGroup = [&]() -> TtlGroupInfo* {
      return cols->HasGroups() ? cols->Groups(next(cols->GroupCount())) : nullptr;
    };
    Integer added = 0;
    for (Integer step = 0; step < 300; ++step) {
      const Integer action = next(15);
      String what;
      switch (action) {
        case 0:
          what = "width";
          anyColumn()->SetWidth(next(120));
          break;
        case 1:
          what = "visible";
          if (TtlColumn* c = anyColumn(); !c->Visible() || cols->GroupCount() > 1)
            c->SetVisible(!c->Visible());
          break;
        case 2:
        case 3:
          what = "move";
          if (TtlGroupInfo* g = anyGroup()) cols->MoveColumn(anyColumn(), g, next(3), next(4) - 1);
          break;
        case 4:
          what = "detach";
          cols->DetachColumn(anyColumn(), next(3) == 0 ? nullptr : anyGroup());
          break;
        case 5:
          what = "group";
          cols->MoveGroup(anyGroup(), next(3) == 0 ? nullptr : anyGroup());
          break;
        case 6:
          what = "fixed";
          anyColumn()->SetFixed(next(3) == 0 ? cfLeft : cfNone);
          break;
        case 7:
          what = "index";
          anyColumn()->SetIndex(next(cols->Count()));
          break;
        case 8:
          what = "add";
          if (cols->Count() < 14) {
            TtlColumn* c = cols->AddColumn(anyGroup(), next(3) - 1, next(3), anyColumn());
            c->SetCaption("N" + IntToStr(++added));
          }
          break;
        case 9:
          what = "free";
          if (cols->Count() > 3) TObject::Free(anyColumn());
          break;
        case 10:
          what = "options";
          anyColumn()->SetOptionsBehavior(next(2) ? TtlColumnOptionsBehavior{cboFixedWidth}
                                                  : TtlColumnOptionsBehavior{});
          break;
        case 11:
          what = "fit";
          grid->SetAutoColumnFit(!grid->AutoColumnFit());
          break;
        case 12:
          what = "resize";
          grid->SetClientWidth(40 + next(400));
          break;
        case 13:
          what = "scroll";
          HScroll(next(2) ? SB_LINERIGHT : SB_LINELEFT);
          break;
        default:
          what = "select";
          if (cols->SelectableCount() > 0)
            grid->SelectColumn(
                cols->IndexOfColumn(cols->Selectable(next(cols->SelectableCount()))));
          break;
      }
      Pump();
      SCOPED_TRACE(what + " at step " + IntToStr(step));
      ASSERT_EQ(cols->LayoutFault(), "") << Shape();
      ASSERT_EQ(grid->RowWindowFault(), "");
      ASSERT_EQ(cols->LayoutReason(), lrNone);
      ASSERT_EQ(grid->FreezeCount(), 0);
      if (cols->HasScrollable()) {
        const TScrollInfo bar = Bar();
        ASSERT_EQ(bar.Max, cols->ScrollPositions() - 1);
        ASSERT_EQ(bar.Pos, cols->FirstShownGroup() - cols->FirstScrollableGroup());
      }
    }
  }
}

}  // namespace
}  // namespace brevant::test
