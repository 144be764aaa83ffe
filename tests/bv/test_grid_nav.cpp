// Keyboard navigation of the grid through real key events: arrows, pages,
// Home/End, Tab, multi-line and fixed groups with horizontal scrolling,
// selection with Shift, insertion and appending, pickups and event order.
#include "bv/column.h"
#include "bv/grid_params.h"
#include "bv/selection.h"
#include "bv_rtm/bv_errors.h"
#include "controls/menus.h"
#include "controls/test_hooks.h"
#include "db/dataset.h"
#include "nav_test_util.h"

namespace brevant::test {

namespace {

// A column of a layout: caption, field, line, place in the line, width.
struct TPlace {
  const char* caption;
  const char* field;
  Integer level;
  Integer index;
  Integer width;
};

}  // namespace

class GridKeysTest : public NavTest {
 protected:
  // Replaces the columns by places, in order.
  void Layout(std::initializer_list<TPlace> places) {
    TtlColumns* cols = grid->Columns();
    cols->BeginUpdate();
    cols->Clear();
    for (const TPlace& s : places) {
      TtlColumn* c = cols->Add();
      c->SetFieldName(s.field);
      c->SetCaption(s.caption);
      c->SetLayoutLevel(s.level);
      c->SetLayoutIndex(s.index);
      c->SetWidth(s.width);
    }
    cols->EndUpdate();
    Pump();
  }
  String Current() {
    TtlColumn* c = grid->CurrentColumnObject();
    return c ? c->Caption() : String("-");
  }
  Integer Index(const char* caption) {
    for (Integer i = 0; i < grid->Columns()->Count(); ++i)
      if (grid->Columns()->Items(i)->Caption() == caption) return i;
    return -1;
  }
};

TEST_F(GridKeysTest, ArrowsPagesAndCtrlKeysMoveRecordAndColumn) {
  Open(50, 5);
  struct Row {
    const char* name;
    Word key;
    Byte mods;
    Integer id;      // current record after the key
    Integer column;  // current column after the key
    Integer cursor;  // cursor row after the key
  };
  // Starts on record 1, column 0.
  const Row rows[] = {
      {"down", VK_DOWN, 0, 2, 0, 1},
      {"down again", VK_DOWN, 0, 3, 0, 2},
      {"right", VK_RIGHT, 0, 3, 1, 2},
      {"right at the last column stays", VK_RIGHT, 0, 3, 1, 2},
      {"left", VK_LEFT, 0, 3, 0, 2},
      {"up", VK_UP, 0, 2, 0, 1},
      {"page down: last row of the next page", VK_NEXT, 0, 9, 0, 4},
      {"page down again", VK_NEXT, 0, 13, 0, 4},
      {"page up: top row of the page before", VK_PRIOR, 0, 5, 0, 0},
      {"ctrl+page down: the window's last row", VK_NEXT, bmCtrl, 9, 0, 4},
      {"ctrl+page up: the window's top row", VK_PRIOR, bmCtrl, 5, 0, 0},
      {"end: last column", VK_END, 0, 5, 1, 0},
      {"home: first column", VK_HOME, 0, 5, 0, 0},
      {"ctrl+right: last column", VK_RIGHT, bmCtrl, 5, 1, 0},
      {"ctrl+left: first column", VK_LEFT, bmCtrl, 5, 0, 0},
      {"ctrl+end: last record", VK_END, bmCtrl, 50, 0, 4},
      {"ctrl+home: first record", VK_HOME, bmCtrl, 1, 0, 0},
      {"up at the first record stays", VK_UP, 0, 1, 0, 0},
  };
  grid->SelectColumn(0);
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Key(r.key, r.mods);
    EXPECT_EQ(CurrentID(), r.id);
    EXPECT_EQ(grid->CurrentColumn(), r.column);
    EXPECT_EQ(grid->CursorRow(), r.cursor);
  }
}

TEST_F(GridKeysTest, ArrowsWalkTheLinesOfAMultiLineGroup) {
  Open(10, 5);
  // A B over C (one group of two lines), then D.
  Layout({{"A", "ID", 0, 0, 40},
          {"B", "Name", 0, 1, 40},
          {"C", "Name", 1, 0, 80},
          {"D", "ID", 0, 0, 50}});
  FitRows(5);
  grid->SelectColumn(Index("B"));
  struct Row {
    const char* name;
    Word key;
    const char* column;
    Integer id;
  };
  const Row rows[] = {
      {"down from the first line: the first column of line 1", VK_DOWN, "C", 1},
      {"down from the last line: next record, line 0", VK_DOWN, "A", 2},
      {"up from line 0: previous record, last column of the last line", VK_UP, "C", 1},
      {"up inside the group: the last column of line 0", VK_UP, "B", 1},
      {"right into the next group", VK_RIGHT, "D", 1},
      {"left back", VK_LEFT, "B", 1},
      {"down to line 1", VK_DOWN, "C", 1},
      {"right from line 1: D stands on its group's last line", VK_RIGHT, "D", 1},
      {"tab from the last column wraps to the next record", VK_TAB, "A", 2},
      {"shift+tab wraps back", VK_TAB, "D", 1},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Key(r.key, r.key == VK_TAB && String(r.column) == "D" ? bmShift : 0);
    EXPECT_EQ(Current(), r.column);
    EXPECT_EQ(CurrentID(), r.id);
  }
}

TEST_F(GridKeysTest, KeysScrollAFixedLayoutSideways) {
  Open(10, 5);
  // F fixed, then four wide groups: only two fit beside F.
  Layout({{"F", "ID", 0, 0, 40},
          {"A", "Name", 0, 0, 120},
          {"B", "ID", 0, 0, 120},
          {"C", "Name", 0, 0, 120},
          {"D", "ID", 0, 0, 120}});
  grid->Columns()->Items(Index("F"))->SetFixed(cfLeft);
  Pump();
  grid->SelectColumn(Index("A"));
  const Integer firstShown = grid->Columns()->FirstShownGroup();
  Key(VK_END);
  EXPECT_EQ(Current(), "D");
  EXPECT_TRUE(grid->Columns()->IsGroupInView(grid->CurrentColumnObject()));
  EXPECT_GT(grid->Columns()->FirstShownGroup(), firstShown);
  Key(VK_HOME);
  EXPECT_EQ(Current(), "F");
  Key(VK_RIGHT);
  EXPECT_EQ(Current(), "A");
  EXPECT_EQ(grid->Columns()->FirstShownGroup(), firstShown);
  // Stepping right one group at a time keeps every column in view.
  for (const char* next : {"B", "C", "D"}) {
    Key(VK_RIGHT);
    EXPECT_EQ(Current(), next);
    EXPECT_TRUE(grid->Columns()->IsGroupInView(grid->CurrentColumnObject())) << next;
  }
}

TEST_F(GridKeysTest, ShiftArrowsExtendTheSelection) {
  Open(20, 8);
  grid->SetMultiSelect(true);
  Key(VK_DOWN);  // record 2
  Key(VK_DOWN, bmShift);
  Key(VK_DOWN, bmShift);
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{2, 3, 4}));
  Key(VK_UP, bmShift);
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{2, 3}));
  EXPECT_EQ(CurrentID(), 3);
  // A plain arrow clears the selection.
  Key(VK_DOWN);
  EXPECT_TRUE(grid->Selection()->IsEmpty());
  EXPECT_EQ(CurrentID(), 4);
  // Shift+Ctrl+End selects from the record to the last one.
  Key(VK_END, bmShift | bmCtrl);
  EXPECT_EQ(CurrentID(), 20);
  EXPECT_EQ(grid->Selection()->SelectedCount(), 17);
}

TEST_F(GridKeysTest, WithoutMultiSelectNothingIsSelected) {
  Open(20, 8);
  Key(VK_DOWN, bmShift);
  Key(VK_NEXT, bmShift);
  Key(VK_END, bmShift | bmCtrl);
  EXPECT_TRUE(grid->Selection()->IsEmpty());
  EXPECT_EQ(CurrentID(), 20);
}

TEST_F(GridKeysTest, DownBelowTheLastRecordAppendsOnce) {
  Open(3, 5);
  Key(VK_END, bmCtrl);
  Integer inserts = 0;
  grid->AfterInsert = TNotifyEvent::FromCallable([&](TObject*) { ++inserts; });
  Key(VK_DOWN);
  EXPECT_EQ(ds->State(), dsInsert);
  EXPECT_EQ(inserts, 1);
  EXPECT_EQ(grid->CursorRow(), 3);
  // Down and Tab through the last column on the empty new record stay.
  Key(VK_DOWN);
  grid->SelectColumn(1);
  Key(VK_TAB);
  EXPECT_EQ(ds->State(), dsInsert);
  EXPECT_EQ(inserts, 1);
  EXPECT_EQ(grid->CurrentColumn(), 1);
  EXPECT_EQ(grid->CursorRow(), 3);
  // Up leaves it: the empty record is discarded.
  Key(VK_UP);
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(ds->RecordCount(), 3);
}

TEST_F(GridKeysTest, InsertionFollowsTheEditOptions) {
  struct Row {
    const char* name;
    TtlOptionsEdit options;
    bool readOnly;
    bool refuse;              // BeforeInsert says no
    bool insertKey, downKey;  // whether Insert / Down below the end insert
  };
  const Row rows[] = {
      {"all allowed", {}, false, false, true, true},
      {"no inserts", {geoNoInserts}, false, false, false, true},
      {"no appends", {geoNoAppends}, false, false, true, false},
      {"read-only grid", {}, true, false, false, false},
      {"refused by BeforeInsert", {}, false, true, false, false},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    Open(3, 5);
    grid->SetOptionsEdit(r.options);
    grid->SetReadOnly(r.readOnly);
    Integer after = 0;
    grid->BeforeInsert =
        TtlBeforeInsertEvent::FromCallable([&](TObject*, bool& doIt) { doIt = !r.refuse; });
    grid->AfterInsert = TNotifyEvent::FromCallable([&](TObject*) { ++after; });
    Key(VK_INSERT);
    EXPECT_EQ(ds->State() == dsInsert, r.insertKey);
    ds->Cancel();
    Pump();
    Key(VK_END, bmCtrl);
    Key(VK_DOWN);
    EXPECT_EQ(ds->State() == dsInsert, r.downKey);
    EXPECT_EQ(after, Integer(r.insertKey) + Integer(r.downKey));
    ds->Cancel();
  }
}

TEST_F(GridKeysTest, ReturnPicksUpOnlyWithItsOption) {
  Open(5, 5);
  Integer pickups = 0;
  grid->OnPickup = TNotifyEvent::FromCallable([&](TObject*) { ++pickups; });
  Key(VK_RETURN);
  EXPECT_EQ(pickups, 1);
  grid->SetOptionsPickup({gpoDblClick});
  Key(VK_RETURN);
  EXPECT_EQ(pickups, 1);
}

TEST_F(GridKeysTest, EventsComeInTheirOrder) {
  Open(10, 5);
  grid->SelectColumn(0);
  LogEvents();
  Key(VK_TAB);
  EXPECT_EQ(events, (std::vector<std::string>{"ColExiting 0", "ColEnter 1"}));
  events.clear();
  // Wrapping: the column events, then one selection change for the record.
  Key(VK_TAB);
  EXPECT_EQ(events, (std::vector<std::string>{"ColExiting 1", "ColEnter 0", "SelectionChange"}));
  events.clear();
  Key(VK_DOWN);
  EXPECT_EQ(events, (std::vector<std::string>{"SelectionChange"}));
  Key(VK_END, bmCtrl);
  events.clear();
  // Appending: the new record becomes current before AfterInsert.
  Key(VK_DOWN);
  EXPECT_EQ(events, (std::vector<std::string>{"BeforeInsert", "SelectionChange", "AfterInsert"}));
}

TEST_F(GridKeysTest, SelectColumnGoesThroughTheNavigation) {
  Open(10, 5);
  LogEvents();
  grid->SelectColumn(1);
  grid->SelectColumn(1);  // already current: nothing
  EXPECT_EQ(events, (std::vector<std::string>{"ColExiting 0", "ColEnter 1"}));
  EXPECT_THROW(grid->SelectColumn(2), EBVError);
  grid->Columns()->Items(0)->SetOptionsBehavior({cboNoSelecting});
  EXPECT_THROW(grid->SelectColumn(0), EDBTabulon);
  EXPECT_EQ(grid->CurrentColumn(), 1);
}

TEST_F(GridKeysTest, KeysOnAnInactiveDatasetDoNothing) {
  Open(10, 5);
  ds->Close();
  Pump();
  Key(VK_DOWN);
  Key(VK_INSERT);
  Key(VK_TAB);
  EXPECT_FALSE(ds->Active());
  EXPECT_EQ(grid->CursorRow(), -1);
}

TEST_F(GridKeysTest, AnEmptyDatasetTakesKeysAndClicks) {
  Open(0, 5);
  ClickCell(1, 0);
  Key(VK_RIGHT);
  Key(VK_NEXT);
  Key(VK_END, bmCtrl);
  EXPECT_EQ(HandledMessage(), "");
  EXPECT_EQ(ds->State(), dsBrowse);
  // Down below the (missing) last record starts the first one.
  Key(VK_DOWN);
  EXPECT_EQ(ds->State(), dsInsert);
  EXPECT_EQ(grid->CursorRow(), 0);
  Key(VK_UP);
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_TRUE(ds->IsEmpty());
  EXPECT_EQ(HandledMessage(), "");
}

TEST_F(GridKeysTest, AnInsensitiveCursorComesBackBeforeMoving) {
  Open(50, 5);
  grid->SetCursorType(gctInsensitiveBmrk);
  // The shot was let go: the first key only brings the grid to a record.
  ASSERT_EQ(grid->CursorRow(), -1);
  Key(VK_DOWN);
  EXPECT_EQ(CurrentID(), 1);
  EXPECT_EQ(grid->CursorRow(), 0);
  Key(VK_DOWN);
  Key(VK_DOWN);
  ASSERT_EQ(CurrentID(), 3);
  // The window scrolls away; the first key brings the record back only.
  VScroll(SB_PAGEDOWN);
  VScroll(SB_PAGEDOWN);
  ASSERT_EQ(grid->CursorRow(), -1);
  Key(VK_DOWN);
  EXPECT_EQ(CurrentID(), 3);
  Key(VK_DOWN);
  EXPECT_EQ(CurrentID(), 4);
  EXPECT_NE(grid->CursorRow(), -1);
}

}  // namespace brevant::test

namespace brevant::test {

// Keys the grid hands on before its key map: menu shortcuts and the
// incremental search's.
class GridKeyRoutingTest : public NavTest {
 protected:
  void TearDown() override {
    ClearScriptedAnswers();
    NavTest::TearDown();
  }
  // A popup menu with one item that counts its clicks.
  TPopupMenu* CountingMenu(TShortCut shortCut, Integer& clicks) {
    auto* menu = Create<TPopupMenu>(form);
    TMenuItem* item = Create<TMenuItem>(menu);
    item->SetCaption("Item");
    item->SetShortCut(shortCut);
    item->OnClick = TNotifyEvent::FromCallable([&clicks](TObject*) { ++clicks; });
    menu->Items()->Add(item);
    return menu;
  }
};

TEST_F(GridKeyRoutingTest, MenuShortcutsComeBeforeTheKeyMap) {
  Open(10, 5);
  Integer columnClicks = 0, gridClicks = 0, keyDowns = 0;
  grid->Columns()->Items(0)->SetPopupMenu(CountingMenu(scCtrl | Word(VK_DOWN), columnClicks));
  grid->SetPopupMenu(CountingMenu(scCtrl | Word('K'), gridClicks));
  grid->OnKeyDown = TKeyEvent::FromCallable([&](TObject*, Word&, TShiftState) { ++keyDowns; });
  Key(VK_DOWN, bmCtrl);  // the current column's menu takes it
  Key('K', bmCtrl);      // the grid's menu
  EXPECT_EQ(columnClicks, 1);
  EXPECT_EQ(gridClicks, 1);
  EXPECT_EQ(keyDowns, 0);
  EXPECT_EQ(CurrentID(), 1);
  // In another column the column menu's shortcut is no longer one.
  Key(VK_RIGHT);
  Key(VK_DOWN, bmCtrl);
  EXPECT_EQ(columnClicks, 1);
}

TEST_F(GridKeyRoutingTest, TheApplicationsKeyOpensTheColumnMenu) {
  Open(10, 5);
  Integer clicks = 0;
  grid->SetPopupMenu(CountingMenu(0, clicks));
  ScriptAnswer("PopupMenu", 0);
  Key(VK_APPS);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(HandledMessage(), "");
  EXPECT_EQ(ScriptedAnswerCount(), 0);
}

TEST_F(GridKeyRoutingTest, SearchShortcutsAndNavigationKeys) {
  Open(10, 5);
  TtlAutoSearchParams* search = grid->ParamsAutoSearch();
  search->SetEnabled(true);
  // Ctrl+letters never start a search; Shift+letters do.
  Key('B', bmCtrl);
  EXPECT_FALSE(search->Searching());
  Key('R', bmShift);
  EXPECT_TRUE(search->Searching());
  // A navigation key ends it and moves as usual.
  Key(VK_DOWN);
  EXPECT_FALSE(search->Searching());
  EXPECT_EQ(CurrentID(), 2);
  // With a start shortcut, letters start nothing; the shortcut does and
  // goes no further than the search.
  // A typed letter then starts editing instead; Escape gives the keys back.
  search->SetShortCut(scCtrl | Word('F'));
  Key('R');
  EXPECT_FALSE(search->Searching());
  EXPECT_TRUE(grid->EditorShown());
  Key(VK_ESCAPE);
  EXPECT_FALSE(grid->EditorShown());
  Key('F', bmCtrl);
  EXPECT_TRUE(search->Searching());
}

}  // namespace brevant::test
