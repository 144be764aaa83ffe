// The main form's grids driven with the mouse and keys: sorting by titles
// (with Shift and Ctrl, and a computed column), footers and the footer
// menu, moving vendors between the drag-and-drop lists (the database file
// checked afterwards, and a refused update), incremental search, and the
// row colours.
#include <sqlite3.h>

#include <algorithm>
#include <map>
#include <string>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/dragger.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "controls/application.h"
#include "controls/comctrls.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "db/client_dataset.h"
#include "db/field.h"
#include "db/sqlite_table.h"
#include "demo/main_form_test_util.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "graphics/colors.h"
#include "rtl/numconv.h"

namespace brevant::test {
namespace {

class MainGridsTest : public MainFormTest {
 protected:
  TtlColumn* Col(TDBTabulon* grid, const char* field) {
    TtlColumn* c = grid->Columns()->FindByFieldName(field);
    EXPECT_NE(c, nullptr) << field;
    return c;
  }
  TIndexDef* Index() {
    TIndexDefs* defs = DM()->datVendors->IndexDefs();
    EXPECT_EQ(defs->Count(), 1);
    return defs->Items(0);
  }
  // Right-clicks the footer of column and picks the footer menu item at
  // position `pick` (0 Average, 1 Count, 2 Maximum, 3 Minimum, 4 Sum).
  void PickFooter(TDBTabulon* grid, TtlColumn* column, Integer pick) {
    ScriptAnswer("PopupMenu", pick);
    const TRect r = column->FooterRect(true, false);
    const TPoint p = grid->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    Offscreen().MouseMove(p);
    Offscreen().Click(p, bbRight);
    Pump();
  }
  // Preferred per vendor name, read from the database file itself.
  std::map<std::string, bool> PreferredInFile() {
    TObjectPtr<TSqliteTable> table(Create<TSqliteTable>(nullptr));
    table->SetDatabaseName(DatabaseFile());
    table->SetTableName("main_vnd");
    table->Open();
    std::map<std::string, bool> result;
    for (table->First(); !table->Eof(); table->Next())
      result[table->FieldByName("VendorName")->AsString()] =
          table->FieldByName("Preferred")->AsBoolean();
    return result;
  }
};

TEST_F(MainGridsTest, TitleClicksSortTheVendorsByRealFieldsOnly) {
  TDBTabulon* grid = main->tlOverview;
  TClientDataSet* vendors = DM()->datVendors;
  ClickTitle(grid, Col(grid, "State"));
  EXPECT_EQ(Index()->Fields(), "State");
  EXPECT_EQ(vendors->IndexName().substr(0, 8), "DefIndex");
  ClickTitle(grid, Col(grid, "VendorName"), bmShift);
  EXPECT_EQ(Index()->Fields(), "State;VendorName");
  ClickTitle(grid, Col(grid, "VendorName"), bmShift);
  EXPECT_EQ(Index()->DescFields(), "VendorName");
  vendors->First();
  const String firstState = vendors->FieldByName("State")->AsString();
  vendors->Last();
  EXPECT_LE(firstState, vendors->FieldByName("State")->AsString());

  // The computed balance column takes part in the titles but not in the
  // index, and later sorts still work.
  TtlColumn* balance = Col(grid, "#Balance");
  balance->SetOptionsBehavior(TtlColumnOptionsBehavior{});
  ClickTitle(grid, balance, bmShift);
  EXPECT_EQ(balance->TitleState(), tsSortedUp);
  EXPECT_EQ(Index()->Fields(), "State;VendorName");
  ClickTitle(grid, Col(grid, "ContractCount"));
  EXPECT_EQ(Index()->Fields(), "ContractCount");
  EXPECT_EQ(vendors->IndexName(), Index()->Name());

  // Ctrl clears a title; none left: natural order.
  ClickTitle(grid, Col(grid, "ContractCount"), bmCtrl);
  EXPECT_EQ(Index()->Fields(), "");
  EXPECT_EQ(vendors->IndexName(), "");
}

TEST_F(MainGridsTest, FootersShowTheirAggregatesFromTheStart) {
  TDBTabulon* grid = main->tlOverview;
  EXPECT_EQ(Col(grid, "VendorNo")->FooterText(), IntToStr(DM()->datVendors->RecordCount()));
  EXPECT_FALSE(Col(grid, "LastContractDate")->FooterText().empty());
  EXPECT_FALSE(Col(grid, "DebitSum")->FooterText().empty());
  // The sorted title comes from the form text.
  EXPECT_EQ(Col(grid, "VendorName")->TitleState(), tsSortedUp);
  EXPECT_EQ(Col(grid, "VendorName")->SortOrder(), 0);
  // The designer pages' footers wait for the user.
  EXPECT_TRUE(Col(main->tlLiteDesignerDemo, "DebitSum")->FooterText().empty());
}

TEST_F(MainGridsTest, TheFooterAverageOfAnIntegerColumnKeepsItsFraction) {
  TClientDataSet* vendors = DM()->datVendors;
  std::vector<Integer> numbers;
  for (vendors->First(); !vendors->Eof(); vendors->Next())
    numbers.push_back(vendors->FieldByName("VendorNo")->AsInteger());
  std::sort(numbers.begin(), numbers.end());
  vendors->SetFilter("VendorNo <= " + IntToStr(numbers.at(3)));
  vendors->SetFiltered(true);
  const Integer counts[] = {2, 3, 3, 3};
  Integer i = 0;
  for (vendors->First(); !vendors->Eof(); vendors->Next(), ++i) {
    vendors->Edit();
    vendors->FieldByName("ContractCount")->SetAsInteger(counts[i]);
    vendors->Post();
  }
  ASSERT_EQ(i, 4);
  TDBTabulon* grid = main->tlOverview;
  TtlColumn* count = Col(grid, "ContractCount");
  PickFooter(grid, count, 0);
  EXPECT_EQ(count->FooterState(), fsAverage);
  EXPECT_EQ(count->FooterText(), "2.75");
  PickFooter(grid, count, 4);
  EXPECT_EQ(count->FooterText(), "11");
  PickFooter(grid, count, 3);
  EXPECT_EQ(count->FooterText(), "2");
  PickFooter(grid, Col(grid, "VendorNo"), 2);
  EXPECT_EQ(Col(grid, "VendorNo")->FooterText(), IntToStr(numbers.at(3)));
  // The computed balance has no field: no footer menu there.
  PickFooter(grid, Col(grid, "#Balance"), 0);
  EXPECT_EQ(ScriptedAnswerCount(), 1);
  EXPECT_EQ(Col(grid, "#Balance")->FooterState(), fsNone);
  ClearScriptedAnswers();
}

TEST_F(MainGridsTest, DraggingSelectedVendorsMovesThemInTheDatabase) {
  ClickNavItem(0, 3);
  TDBTabulon* from = main->tlNonPreffered;
  TDBTabulon* to = main->tlPreffered;
  const Integer fromBefore = DM()->datNonPreffered->RecordCount();
  const Integer toBefore = DM()->datPreferred->RecordCount();
  TtlColumn* name = Col(from, "VendorName");
  ClickCell(from, name, 0);
  ClickCell(from, name, 2, bmCtrl);
  ClickCell(from, name, 4, bmCtrl);
  ASSERT_EQ(from->Selection()->Count(), 3);
  std::vector<std::string> moved;
  for (Integer i = 0; i < 3; ++i) {
    from->Selection()->Item(i)->GotoRecord();
    moved.push_back(DM()->datNonPreffered->FieldByName("VendorName")->AsString());
  }
  // Press on a selected row, leave it with the button held, release over
  // the other list.
  const TRect cell = name->CellRect(2, false, false);
  const TPoint start = from->ClientToScreen({cell.Left + 10, (cell.Top + cell.Bottom) / 2});
  Offscreen().MouseMove(start);
  Offscreen().MouseDown(start);
  Pump();
  Offscreen().MouseMove({start.X, start.Y + from->RowHeight()});
  Pump();
  const TPoint target = to->ClientToScreen({40, to->ClientHeight() / 2});
  Offscreen().MouseMove(target);
  Pump();
  Offscreen().MouseUp(target);
  Pump();

  EXPECT_EQ(DM()->datNonPreffered->RecordCount(), fromBefore - 3);
  EXPECT_EQ(DM()->datPreferred->RecordCount(), toBefore + 3);
  EXPECT_TRUE(from->Selection()->IsEmpty());
  const auto file = PreferredInFile();
  for (const std::string& vendor : moved) EXPECT_TRUE(file.at(vendor)) << vendor;
}

TEST_F(MainGridsTest, ARefusedMoveIsReportedAndNothingSeemsLost) {
  ClickNavItem(0, 3);
  TDBTabulon* from = main->tlNonPreffered;
  const Integer fromBefore = DM()->datNonPreffered->RecordCount();
  const Integer toBefore = DM()->datPreferred->RecordCount();
  ClickCell(from, Col(from, "VendorName"), 0);
  const String vendor = DM()->datNonPreffered->FieldByName("VendorName")->AsString();
  // The database refuses every change of a vendor from now on.
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(DatabaseFile().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db,
                         "CREATE TRIGGER refuse BEFORE UPDATE ON main_vnd "
                         "BEGIN SELECT RAISE(ABORT, 'vendors are locked'); END",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(db);

  ScriptAnswer("MessageBox", IDOK);
  main->tlPrefferedDragDrop(main->tlPreffered, from, 10, 10);
  Pump();
  EXPECT_EQ(ScriptedAnswerCount(), 0);  // the failure was shown
  EXPECT_NE(main->StatusBar->SimpleText().find("failed"), String::npos);
  EXPECT_NE(main->StatusBar->SimpleText().find("vendors are locked"), String::npos);
  EXPECT_EQ(DM()->datNonPreffered->ChangeCount(), 0);
  EXPECT_FALSE(PreferredInFile().at(vendor));
  DM()->datNonPreffered->First();
  bool listed = false;
  for (; !DM()->datNonPreffered->Eof(); DM()->datNonPreffered->Next())
    listed = listed || DM()->datNonPreffered->FieldByName("VendorName")->AsString() == vendor;
  EXPECT_TRUE(listed) << vendor;
  EXPECT_EQ(DM()->datNonPreffered->RecordCount() + DM()->datPreferred->RecordCount(),
            fromBefore + toBefore);
}

TEST_F(MainGridsTest, APostRaisingHalfWayTakesBackTheWholeDrop) {
  ClickNavItem(0, 3);
  TDBTabulon* from = main->tlNonPreffered;
  TClientDataSet* vendors = DM()->datNonPreffered;
  const Integer before = vendors->RecordCount();
  TtlColumn* name = Col(from, "VendorName");
  ClickCell(from, name, 0);
  ClickCell(from, name, 2, bmCtrl);
  ClickCell(from, name, 4, bmCtrl);
  ASSERT_EQ(from->Selection()->Count(), 3);
  Integer posts = 0;
  vendors->BeforePost = TDataSetNotifyEvent::FromCallable([&](TDataSet*) {
    if (++posts == 2) throw EDatabaseError("second vendor refused");
  });
  EXPECT_THROW(main->tlPrefferedDragDrop(main->tlPreffered, from, 10, 10), EDatabaseError);
  vendors->BeforePost = TDataSetNotifyEvent();
  // The first vendor's move is not left waiting in the change log.
  EXPECT_EQ(vendors->State(), dsBrowse);
  EXPECT_EQ(vendors->ChangeCount(), 0);
  EXPECT_EQ(vendors->RecordCount(), before);
  EXPECT_FALSE(vendors->ControlsDisabled());
}

TEST_F(MainGridsTest, IncrementalSearchFindsNextAndPrevious) {
  // An initial that at least two vendors share.
  TDataSet* vendors = DM()->datVendors;
  std::map<char, Integer> initials;
  char letter = 0;
  for (vendors->First(); !vendors->Eof() && !letter; vendors->Next()) {
    const char c = vendors->FieldByName("VendorName")->AsString()[0];
    if (++initials[c] == 2) letter = c;
  }
  ASSERT_NE(letter, 0);
  ClickNavItem(0, 4);
  TDBTabulon* grid = main->tlAutoSearch;
  ClickCell(grid, Col(grid, "VendorName"), 0);
  Offscreen().TypeText(String(1, letter));
  Pump();
  const String first = vendors->FieldByName("VendorName")->AsString();
  ASSERT_EQ(first[0], letter) << first;
  Offscreen().PressKey(VK_DOWN, bmCtrl);
  Pump();
  const String next = vendors->FieldByName("VendorName")->AsString();
  EXPECT_NE(next, first);
  EXPECT_EQ(next[0], letter) << next;
  Offscreen().PressKey(VK_UP, bmCtrl);
  Pump();
  EXPECT_EQ(vendors->FieldByName("VendorName")->AsString(), first);
}

TEST_F(MainGridsTest, StripRowsAreGreyAndFreeNumbersGreen) {
  TDBTabulon* grid = main->tlOverview;
  TDataSet* vendors = DM()->datVendors;
  vendors->First();
  vendors->Edit();
  vendors->FieldByName("Phone")->SetAsString("800-123-4567");
  vendors->Post();
  vendors->Next();
  Pump();
  UpdateWindow(main->Handle());
  // Row 0 is the first record, strip 1: grey, with the phone cell green.
  const TRect frame = GetWindowRect(main->Handle());
  auto pixel = [&](TtlColumn* column) {
    const TRect r = column->CellRect(0, false, false);
    const TPoint p = grid->ClientToScreen({r.Right - 3, r.Top + 2});
    return Offscreen().Pixel(GetNativeWindow(main->Handle()), p.X - frame.Left, p.Y - frame.Top);
  };
  EXPECT_EQ(pixel(Col(grid, "Phone")), ColorToRGB(0xC5DEC5));
  EXPECT_EQ(pixel(Col(grid, "State")), ColorToRGB(0xE8E8E8));
}

}  // namespace
}  // namespace brevant::test
