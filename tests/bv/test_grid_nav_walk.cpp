// The grid over an SQLite table and in long random walks: a rejected post,
// a record deleted by someone else, and after every step of a seeded walk
// of keys and clicks the cursor row shows the dataset's current record, the
// grid is left consistent and its screen equals a full repaint.
#include <sqlite3.h>

#include <random>

#include "bv/column.h"
#include "bv/inplace_edit.h"
#include "bv/selection.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "db/field.h"
#include "db/sqlite_table.h"
#include "nav_test_util.h"

namespace brevant::test {

class GridWalkTest : public NavTest {
 protected:
  // The window row of the cursor shows the dataset's current record; the
  // grid is neither navigating nor frozen; no editor stands elsewhere.
  void ExpectConsistent(TDataSet* data) {
    ASSERT_FALSE(grid->Navigating());
    ASSERT_EQ(grid->FreezeCount(), 0);
    ASSERT_TRUE(grid->PaintingEnabled());
    if (grid->EditorShown()) {
      ASSERT_EQ(grid->EditedColumn(), grid->CurrentColumnObject());
      ASSERT_TRUE(grid->InplaceEditor()->Visible());
    }
    if (data->IsEmpty()) return;
    ASSERT_GE(grid->CursorRow(), 0);
    ASSERT_LT(grid->CursorRow(), grid->RowCount());
    ASSERT_EQ(grid->CursorRow(), grid->DataLink()->ActiveRecord());
    // An open editor sits on the current cell of the current record.
    if (grid->EditorShown()) {
      TRect cell = grid->EditedColumn()->CellRect(grid->CursorRow(), false, false);
      IntersectRect(cell, cell, grid->ClientRect());
      ASSERT_EQ(grid->InplaceEditor()->BoundsRect(), cell);
    }
    if (data->State() == dsInsert) return;
    const Integer id = data->FieldByName("ID")->AsInteger();
    TDataLinkEx* link = grid->DataLink();
    const Integer saved = link->ActiveRecord();
    link->SetActiveRecord(grid->CursorRow());
    const Integer shown = data->FieldByName("ID")->AsInteger();
    link->SetActiveRecord(saved);
    ASSERT_EQ(shown, id);
  }
  // The pixels of the grid's client area, row by row.
  std::vector<TColor> Snapshot() {
    const TPoint origin = form->ScreenToClient(grid->ClientToScreen({0, 0}));
    const TNativeWindow window = Native();
    std::vector<TColor> out;
    for (Integer y = 0; y < grid->ClientHeight(); ++y)
      for (Integer x = 0; x < grid->ClientWidth(); ++x)
        out.push_back(Offscreen().Pixel(window, origin.X + x, origin.Y + y));
    return out;
  }
  void ExpectFullRepaintEqual() {
    const std::vector<TColor> now = Snapshot();
    grid->Invalidate();
    Pump();
    ASSERT_TRUE(now == Snapshot()) << "the screen differs from a full repaint";
  }
  // One random key or click.
  String RandomStep(std::mt19937& random) {
    struct TKey {
      Word key;
      Byte mods;
      const char* name;
    };
    static const TKey keys[] = {
        {VK_DOWN, 0, "Down"},         {VK_UP, 0, "Up"},
        {VK_DOWN, bmShift, "S+Down"}, {VK_UP, bmShift, "S+Up"},
        {VK_NEXT, 0, "PgDn"},         {VK_PRIOR, 0, "PgUp"},
        {VK_NEXT, bmShift, "S+PgDn"}, {VK_HOME, bmCtrl, "C+Home"},
        {VK_END, bmCtrl, "C+End"},    {VK_TAB, 0, "Tab"},
        {VK_TAB, bmShift, "S+Tab"},   {VK_LEFT, 0, "Left"},
        {VK_RIGHT, 0, "Right"},       {VK_HOME, 0, "Home"},
        {VK_END, 0, "End"},           {VK_NEXT, bmCtrl, "C+PgDn"},
        {VK_PRIOR, bmCtrl, "C+PgUp"}, {VK_INSERT, 0, "Ins"},
        {VK_ESCAPE, 0, "Esc"},        {VK_F2, 0, "F2"},
        {VK_RETURN, 0, "Return"},     {VK_ESCAPE, 0, "Esc"},
    };
    std::uniform_int_distribution<Integer> pick(0, 35);
    const Integer n = pick(random);
    const Integer keyCount = static_cast<Integer>(std::size(keys));
    if (n < keyCount) {
      Key(keys[n].key, keys[n].mods);
      return keys[n].name;
    }
    if (n < keyCount + 3) {  // typing opens the editor or goes on in it
      Offscreen().TypeText("q");
      Pump();
      return "type q";
    }
    std::uniform_int_distribution<Integer> row(0, grid->RowCount() - 1), col(0, 1);
    const Byte mods = n % 3 == 0 ? bmCtrl : n % 3 == 1 ? bmShift : 0;
    const Integer r = row(random), c = col(random);
    ClickCell(c, r, mods);
    return "click " + IntToStr(c) + "," + IntToStr(r) + " mods " + IntToStr(mods);
  }
};

TEST_F(GridWalkTest, RandomWalkKeepsCursorAndScreenRight) {
  for (const bool multi : {false, true}) {
    SCOPED_TRACE(multi ? "multi-select" : "single");
    Open(60, 6);
    grid->SetMultiSelect(multi);
    std::mt19937 random(multi ? 1210 : 2026);
    Integer editing = 0;  // steps that ended with the editor open
    for (Integer step = 0; step < 150; ++step) {
      const String what = RandomStep(random);
      SCOPED_TRACE("step " + IntToStr(step) + ": " + what);
      ASSERT_EQ(HandledMessage(), "");
      ExpectConsistent(ds);
      ExpectFullRepaintEqual();
      if (grid->EditorShown()) ++editing;
    }
    EXPECT_GT(editing, 10);
  }
}

class GridSqliteTest : public GridWalkTest {
 protected:
  void SetUp() override {
    GridWalkTest::SetUp();
    file = testing::TempDir() + "grid_nav_" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + ".db";
    std::remove(file.c_str());
    String schema =
        "CREATE TABLE Items(ID INTEGER PRIMARY KEY,"
        " Name VARCHAR(20) NOT NULL CHECK (length(Name) > 0));";
    for (Integer i = 1; i <= 40; ++i)
      schema += "INSERT INTO Items VALUES (" + IntToStr(i) + ",'N" + IntToStr(i) + "');";
    Exec(schema);
    Open(0, 6);
    table.reset(Create<TSqliteTable>(nullptr));
    table->SetDatabaseName(file);
    table->SetTableName("Items");
    src->SetDataSet(table.get());
    table->Open();
    FitRows(6);
    grid->SetFocus();
    Pump();
  }
  void TearDown() override {
    src->SetDataSet(nullptr);
    table.reset();
    GridWalkTest::TearDown();
    std::remove(file.c_str());
  }
  void Exec(const String& sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
  }
  Integer Id() { return table->FieldByName("ID")->AsInteger(); }

  String file;
  TObjectPtr<TSqliteTable> table;
};

TEST_F(GridSqliteTest, KeysWalkTheTable) {
  Key(VK_NEXT);
  EXPECT_EQ(Id(), 11);
  Key(VK_END, bmCtrl);
  EXPECT_EQ(Id(), 40);
  Key(VK_DOWN);  // appends
  EXPECT_EQ(table->State(), dsInsert);
  Key(VK_UP);  // leaves the empty new record: it is dropped
  EXPECT_EQ(table->State(), dsBrowse);
  EXPECT_EQ(table->RecordCount(), 40);
  Key(VK_HOME, bmCtrl);
  EXPECT_EQ(Id(), 1);
  ExpectConsistent(table.get());
}

TEST_F(GridSqliteTest, ARejectedPostKeepsTheRecordAndTheGridValid) {
  Key(VK_DOWN);
  Key(VK_DOWN);
  ASSERT_EQ(Id(), 3);
  table->Edit();
  table->FieldByName("Name")->SetAsString("");
  Key(VK_DOWN);  // leaving the record posts it; the database refuses
  EXPECT_NE(HandledMessage(), "");
  EXPECT_EQ(table->State(), dsEdit);
  EXPECT_EQ(table->FieldByName("Name")->AsString(), "");
  EXPECT_EQ(Id(), 3);
  ExpectConsistent(table.get());
  ExpectFullRepaintEqual();
  // Put right, the same key moves on.
  ClearLog();
  table->FieldByName("Name")->SetAsString("fixed");
  Key(VK_DOWN);
  EXPECT_EQ(HandledMessage(), "");
  EXPECT_EQ(Id(), 4);
  EXPECT_EQ(table->State(), dsBrowse);
}

TEST_F(GridSqliteTest, ARecordDeletedOutsideLeavesTheGridOnAValidRecord) {
  for (const TtlCursorType type : {gctSensitive, gctInsensitiveBmrk}) {
    SCOPED_TRACE(type == gctSensitive ? "sensitive" : "insensitive");
    grid->SetCursorType(type);
    Key(VK_HOME, bmCtrl);
    for (Integer i = 0; i < 9; ++i) Key(VK_DOWN);
    ASSERT_EQ(Id(), 10);
    Exec("DELETE FROM Items WHERE ID = 10");
    grid->RefreshData();
    Pump();
    EXPECT_NE(Id(), 10);
    // A sensitive cursor stays on the dataset's record; an insensitive one
    // lost its record and shows none until a key brings it back.
    if (type == gctSensitive) {
      ExpectConsistent(table.get());
    } else {
      EXPECT_EQ(grid->CursorRow(), -1);
    }
    Key(VK_DOWN);
    EXPECT_EQ(HandledMessage(), "");
    ExpectConsistent(table.get());
    EXPECT_NE(grid->CursorRow(), -1);
    ExpectFullRepaintEqual();
    Exec("INSERT INTO Items VALUES (10, 'N10')");
    grid->RefreshData();
    Pump();
  }
}

TEST_F(GridSqliteTest, RandomWalkOverTheTable) {
  std::mt19937 random(40);
  Integer editing = 0;  // steps that ended with the editor open
  for (Integer step = 0; step < 80; ++step) {
    const String what = RandomStep(random);
    SCOPED_TRACE("step " + IntToStr(step) + ": " + what);
    ASSERT_EQ(HandledMessage(), "");
    ExpectConsistent(table.get());
    ExpectFullRepaintEqual();
    if (grid->EditorShown()) ++editing;
  }
  EXPECT_GT(editing, 5);
}

}  // namespace brevant::test
