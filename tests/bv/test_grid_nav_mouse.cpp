// The grid's mouse through real mouse events: hit zones, clicks with Shift
// and Ctrl, the clear a record drag defers, title clicks and their states,
// the column and footer menus, pickups and auto-scroll on the virtual clock.
#include "bv/column.h"
#include "bv/env_hook.h"
#include "bv/selection.h"
#include "bv/tool_form_intf.h"
#include "classes/typinfo.h"
#include "controls/menus.h"
#include "controls/test_hooks.h"
#include "db/dataset.h"
#include "nav_test_util.h"
#include "null_environment.h"

namespace brevant::test {

class GridMouseTest : public NavTest {
 protected:
  void TearDown() override {
    SetEnvironment(nullptr);
    ClearScriptedAnswers();
    NavTest::TearDown();
  }
  TtlColumn* Col(Integer i) { return grid->Columns()->Items(i); }
};

TEST_F(GridMouseTest, HitTestNamesZonesRowsAndColumns) {
  Open(3, 5);
  grid->SetShowFooters(true);
  Pump();
  struct Row {
    const char* name;
    TPoint p;
    Integer zone, row, column;
  };
  const Row rows[] = {
      {"title of column 1", TitlePoint(1), 1, 0, 1},
      {"cell of row 2, column 0", CellPoint(0, 2), 2, 2, 0},
      {"footer of column 1", FooterPoint(1), 3, 0, 1},
      {"below the last record", {CellPoint(0, 0).X, grid->DataAreaBottom() + 2}, 0, -1, -1},
      {"right of the columns", {grid->ClientWidth() - 2, CellPoint(0, 1).Y}, 0, -1, -1},
      {"outside the client area", {-3, 5}, 0, -1, -1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Integer row = 7, column = 7;
    EXPECT_EQ(grid->HitTest(r.p.X, r.p.Y, row, column), r.zone);
    EXPECT_EQ(row, r.row);
    EXPECT_EQ(column, r.column);
  }
}

TEST_F(GridMouseTest, ClicksMoveTheCurrentCell) {
  Open(20, 5);
  ClickCell(1, 3);
  EXPECT_EQ(CurrentID(), 4);
  EXPECT_EQ(grid->CurrentColumn(), 1);
  ClickCell(0, 0);
  EXPECT_EQ(CurrentID(), 1);
  EXPECT_EQ(grid->CurrentColumn(), 0);
  EXPECT_EQ(grid->CursorRow(), 0);
}

TEST_F(GridMouseTest, AClickReportsInOrder) {
  Open(10, 5);
  grid->SelectColumn(0);
  grid->SetOptionsPickup({gpoClick});
  LogEvents();
  grid->OnGridClick =
      TtlClickEvent::FromCallable([this](TObject*, Integer, Integer, TShiftState, bool up, bool&) {
        events.push_back(up ? "Click up" : "Click down");
      });
  ClickCell(1, 3);
  EXPECT_EQ(events, (std::vector<std::string>{"ColExiting 0", "ColEnter 1", "SelectionChange",
                                              "Click down", "Pickup"}));
}

TEST_F(GridMouseTest, CtrlAndShiftClicksSelect) {
  Open(20, 8);
  grid->SetMultiSelect(true);
  // Ctrl on a second row with an empty selection: both records.
  ClickCell(0, 2, bmCtrl);
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{1, 3}));
  // Ctrl on a selected record toggles it off.
  ClickCell(0, 0, bmCtrl);
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{3}));
  // Shift selects the range from the record selected last.
  ClickCell(0, 5, bmShift);
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{3, 4, 5, 6}));
  // A plain click clears it.
  const Integer second = WindowIDs()[1];
  ClickCell(0, 1);
  EXPECT_TRUE(grid->Selection()->IsEmpty());
  EXPECT_EQ(CurrentID(), second);
}

TEST_F(GridMouseTest, CtrlClickOnTheCurrentRowTogglesAtOnce) {
  Open(10, 5);
  grid->SetMultiSelect(true);
  ClickCell(1, 0, bmCtrl);
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{1}));
  ClickCell(1, 0, bmCtrl);
  EXPECT_TRUE(grid->Selection()->IsEmpty());
}

TEST_F(GridMouseTest, AutomaticDragModeDefersTheClearToTheRelease) {
  Open(20, 8);
  grid->SetMultiSelect(true);
  grid->SetDragMode(dmAutomatic);
  ClickCell(0, 1, bmCtrl);
  ClickCell(0, 3, bmCtrl);
  ASSERT_EQ(SelectedIDs(), (std::vector<Integer>{1, 2, 4}));
  Offscreen().Advance(1000);
  const TPoint p = At(grid, CellPoint(0, 1).X, CellPoint(0, 1).Y);
  Offscreen().MouseDown(p);
  Pump();
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{1, 2, 4}));
  EXPECT_EQ(CurrentID(), 2);
  Offscreen().MouseUp(p);
  Pump();
  EXPECT_TRUE(grid->Selection()->IsEmpty());
  // The control's own drag mode stays manual: the grid starts drags itself.
  EXPECT_EQ(grid->TControl::DragMode(), dmManual);
  // Form streams reach the grid's own property.
  grid->SetDragMode(dmManual);
  SetOrdProp(grid, GetPropInfo(grid, "DragMode"), dmAutomatic);
  EXPECT_EQ(grid->DragMode(), dmAutomatic);
  EXPECT_EQ(grid->TControl::DragMode(), dmManual);
}

TEST_F(GridMouseTest, TitleClicksCycleTheStates) {
  Open(5, 5);
  Integer changes = 0;
  grid->OnTitleStateChange = TtlColumnEvent::FromCallable([&](TObject*, TtlColumn*) { ++changes; });
  struct Row {
    const char* name;
    Integer column;
    Byte mods;
    TtlTitleState first, second;
  };
  const Row rows[] = {
      {"click", 0, 0, tsSortedUp, tsSortedNone},
      {"click again", 0, 0, tsSortedDown, tsSortedNone},
      {"and again", 0, 0, tsSortedUp, tsSortedNone},
      {"another title, exclusive", 1, 0, tsSortedNone, tsSortedUp},
      {"shift adds", 0, bmShift, tsSortedUp, tsSortedUp},
      {"ctrl resets one", 1, bmCtrl, tsSortedUp, tsSortedNone},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    ClickAt(TitlePoint(r.column), bbLeft, r.mods);
    EXPECT_EQ(Col(0)->TitleState(), r.first);
    EXPECT_EQ(Col(1)->TitleState(), r.second);
    EXPECT_EQ(grid->PressedTitle(), nullptr);
    EXPECT_EQ(grid->MouseMode(), 0);
  }
  EXPECT_GE(changes, 6);
}

TEST_F(GridMouseTest, TitleStatesFollowTheOptions) {
  Open(5, 5);
  struct Row {
    const char* name;
    TtlOptionsBehavior grid;
    TtlColumnOptionsBehavior column;
    Byte mods;
    TtlTitleState expected;  // of column 0 after clicks on 1 then on 0
  };
  const Row rows[] = {
      {"no title states", {gboNoTitleStates}, {}, 0, tsSortedNone},
      {"column without states", {}, {cboNoTitleStates}, 0, tsSortedNone},
      {"one sorted title only: shift is exclusive",
       {gboNoMultiTitleStates},
       {},
       bmShift,
       tsSortedUp},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Col(0)->SetTitleState(tsSortedNone);
    Col(1)->SetTitleState(tsSortedNone);
    grid->SetOptionsBehavior(r.grid);
    Col(0)->SetOptionsBehavior(r.column);
    ClickAt(TitlePoint(1));
    ClickAt(TitlePoint(0), bbLeft, r.mods);
    EXPECT_EQ(Col(0)->TitleState(), r.expected);
    if (r.mods == bmShift) {
      EXPECT_EQ(Col(1)->TitleState(), tsSortedNone);
    }
  }
}

TEST_F(GridMouseTest, DesignTimeTitleClicksKeepTheOtherStates) {
  Open(5, 5);
  grid->SetOptionsBehavior({gboNoTitleStates});  // no matter in the designer
  grid->SetDesigning(true);
  ClickAt(TitlePoint(0));
  ClickAt(TitlePoint(1));
  EXPECT_EQ(Col(0)->TitleState(), tsSortedUp);
  EXPECT_EQ(Col(1)->TitleState(), tsSortedUp);
  grid->SetDesigning(false);
}

TEST_F(GridMouseTest, ATitleReleasedElsewhereDoesNotCount) {
  Open(5, 5);
  Offscreen().Advance(1000);
  Offscreen().MouseDown(At(grid, TitlePoint(0).X, TitlePoint(0).Y));
  Pump();
  EXPECT_EQ(grid->PressedTitle(), Col(0));
  EXPECT_EQ(grid->MouseMode(), 3);
  Offscreen().MouseUp(At(grid, CellPoint(0, 2).X, CellPoint(0, 2).Y));
  Pump();
  EXPECT_EQ(Col(0)->TitleState(), tsSortedNone);
  EXPECT_EQ(grid->PressedTitle(), nullptr);
}

TEST_F(GridMouseTest, RightClicksShowTheColumnMenuOnCellsOnly) {
  Open(3, 5);
  auto* menu = Create<TPopupMenu>(form);
  TMenuItem* item = Create<TMenuItem>(menu);
  item->SetCaption("Item");
  Integer clicks = 0;
  item->OnClick = TNotifyEvent::FromCallable([&](TObject*) { ++clicks; });
  menu->Items()->Add(item);
  grid->SetPopupMenu(menu);
  Integer contextPopups = 0;
  grid->OnContextPopup =
      TContextPopupEvent::FromCallable([&](TObject*, TPoint, bool&) { ++contextPopups; });
  ScriptAnswer("PopupMenu", 0);
  ClickAt(CellPoint(1, 1), bbRight);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(menu->PopupComponent(), grid);
  // Titles and the space below the last record show no menu: an
  // unanswered menu would raise EUnexpectedModal.
  ClickAt(TitlePoint(0), bbRight);
  ClickAt({CellPoint(0, 0).X, grid->DataAreaBottom() + 3}, bbRight);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(HandledMessage(), "");
  // The context-menu request still reaches OnContextPopup, and only that.
  EXPECT_EQ(contextPopups, 3);
}

// An environment that records footer menu requests.
class TFooterProbe : public test::TNullEnvironment {
 public:
  bool PopupFooterMenu(TDBTabulon*, TtlColumn* column, Integer, Integer) override {
    Columns.push_back(column);
    return true;
  }
  std::vector<TtlColumn*> Columns;  // the columns whose menu was asked for
};

TEST_F(GridMouseTest, RightClickOnAFooterAsksForTheFooterMenu) {
  Open(3, 5);
  grid->SetShowFooters(true);
  Pump();
  TFooterProbe probe;
  SetEnvironment(&probe);
  ClickAt(FooterPoint(1), bbRight);
  ClickAt(FooterPoint(0), bbLeft);
  EXPECT_EQ(probe.Columns, (std::vector<TtlColumn*>{Col(1)}));
}

TEST_F(GridMouseTest, PickupsFollowTheOptions) {
  Open(5, 5);
  LogEvents();
  // Double click: OnDblClick, then OnPickup (gpoDblClick is a default).
  Offscreen().Advance(1000);
  Offscreen().DoubleClick(At(grid, CellPoint(0, 1).X, CellPoint(0, 1).Y));
  Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"SelectionChange", "DblClick", "Pickup"}));
  events.clear();
  // A single click picks up only with gpoClick.
  ClickCell(0, 2);
  EXPECT_EQ(events, (std::vector<std::string>{"SelectionChange"}));
  events.clear();
  grid->SetOptionsPickup({gpoClick});
  ClickCell(0, 3);
  EXPECT_EQ(events, (std::vector<std::string>{"SelectionChange", "Pickup"}));
}

// A drop-down host that records how it was told to close.
class THostProbe : public TObject, public IznToolFormHost {
 public:
  void KeyDown(Word&, TShiftState) override {}
  void FocusChanged(TWinControl*) override {}
  void CurrentChanged() override {}
  void TextChanged() override {}
  TVisionToolForm* GetToolForm() override { return nullptr; }
  void Close(bool accept, bool) override { Closes.push_back(accept); }
  TDBTabulon* DataGrid() const override { return nullptr; }
  TfvCurrentValue* CurrentValue() const override { return nullptr; }
  void SetChanged(bool) override {}
  std::vector<bool> Closes;  // accept of every Close, in order
};

TEST_F(GridMouseTest, APickupClosesTheHostingToolForm) {
  Open(5, 5);
  THostProbe host;
  grid->AttachToolForm(&host);
  grid->SetOptionsPickup({gpoClick, gpoReturnKey});
  ClickCell(0, 2);  // on a record
  Key(VK_RETURN);
  // Released below the rows: no record picked.
  Offscreen().Advance(1000);
  Offscreen().MouseDown(At(grid, CellPoint(0, 1).X, CellPoint(0, 1).Y));
  Offscreen().MouseUp(At(grid, CellPoint(0, 1).X, grid->DataAreaBottom() + 3));
  Pump();
  EXPECT_EQ(host.Closes, (std::vector<bool>{true, true, false}));
  grid->AttachToolForm(nullptr);
}

TEST_F(GridMouseTest, AHandledPressIsReportedAgainOnRelease) {
  Open(5, 5);
  std::vector<bool> released;
  grid->OnGridClick = TtlClickEvent::FromCallable(
      [&](TObject*, Integer, Integer, TShiftState, bool up, bool& handled) {
        released.push_back(up);
        handled = true;
      });
  Integer pickups = 0;
  grid->SetOptionsPickup({gpoClick});
  grid->OnPickup = TNotifyEvent::FromCallable([&](TObject*) { ++pickups; });
  ClickCell(1, 2);
  EXPECT_EQ(released, (std::vector<bool>{false, true}));
  EXPECT_EQ(pickups, 0);
}

TEST_F(GridMouseTest, MouseTrackingFollowsThePointer) {
  Open(10, 5);
  grid->SetOptionsPickup({gpoMouseTrack});
  Offscreen().MouseMove(At(grid, CellPoint(0, 3).X, CellPoint(0, 3).Y));
  Pump();
  EXPECT_EQ(CurrentID(), 4);
  Offscreen().MouseMove(At(grid, CellPoint(1, 1).X, CellPoint(1, 1).Y));
  Pump();
  EXPECT_EQ(CurrentID(), 2);
}

TEST_F(GridMouseTest, AutoScrollPullsRecordsOnTheVirtualClock) {
  Open(100, 5);
  ds->MoveBy(40);
  Pump();
  grid->SetOptionsPickup({gpoCaptureRecord});
  Offscreen().Advance(1000);
  const TPoint cell = At(grid, CellPoint(0, 2).X, CellPoint(0, 2).Y);
  Offscreen().MouseDown(cell);
  Pump();
  ASSERT_TRUE(grid->AutoScrolling());
  const Integer pressed = CurrentID();
  ASSERT_EQ(pressed, WindowIDs()[2]);
  // 20 pixels below the grid: one line every sixth tick.
  Offscreen().MouseMove(At(grid, CellPoint(0, 0).X, grid->ClientHeight() + 20));
  Pump();
  for (Integer tick = 1; tick <= 5; ++tick) {
    Offscreen().Advance(25);
    Pump();
  }
  EXPECT_EQ(CurrentID(), pressed);
  Offscreen().Advance(25);
  Pump();
  EXPECT_EQ(CurrentID(), pressed + 3);  // the record below the last row
  // 150 pixels above the rows: every tick, the record above the top row.
  Offscreen().MouseMove(At(grid, CellPoint(0, 0).X, -150));
  Pump();
  for (Integer tick = 0; tick < 3; ++tick) {
    const Integer top = WindowIDs()[0];
    Offscreen().Advance(25);
    Pump();
    EXPECT_EQ(CurrentID(), top - 1);
    EXPECT_EQ(grid->CursorRow(), 0);
  }
  // The release stops the timer.
  Offscreen().MouseUp(At(grid, CellPoint(0, 0).X, -150));
  Pump();
  EXPECT_FALSE(grid->AutoScrolling());
  const Integer released = CurrentID();
  Offscreen().Advance(250);
  Pump();
  EXPECT_EQ(CurrentID(), released);
}

}  // namespace brevant::test
