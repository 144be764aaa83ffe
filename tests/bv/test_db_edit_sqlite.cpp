// The data-aware edit over a table of an SQLite file: typed values reach
// the file, and a row the database refuses stays in edit state with the
// user's text.
#include <sqlite3.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "backend/codes.h"
#include "db/dataset.h"
#include "db/field.h"
#include "db/sqlite_table.h"
#include "edit_test_util.h"

namespace brevant::test {
namespace {

class EditSqliteTest : public EditTest {
 protected:
  void SetUp() override {
    EditTest::SetUp();
    file = testing::TempDir() + "db_edit_" +
           testing::UnitTest::GetInstance()->current_test_info()->name() + ".db";
    std::remove(file.c_str());
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    const char* schema =
        "CREATE TABLE Stock(ID INTEGER PRIMARY KEY, Name VARCHAR(12) NOT NULL,"
        " Qty INTEGER CHECK (Qty >= 0));"
        "INSERT INTO Stock VALUES (1,'bolt',10),(2,'nut',20);";
    ASSERT_EQ(sqlite3_exec(db, schema, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
    table.reset(Create<TSqliteTable>(nullptr));
    table->SetDatabaseName(file);
    table->SetTableName("Stock");
    table->Open();
    src->SetDataSet(table.get());
  }
  void TearDown() override {
    EditTest::TearDown();
    table.reset();
    std::remove(file.c_str());
  }
  // The value stored in the file for row id.
  String Stored(const char* column, Integer id) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* st = nullptr;
    const String sql = String("SELECT ") + column + " FROM Stock WHERE ID = " + std::to_string(id);
    sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
    String value = "<none>";
    if (sqlite3_step(st) == SQLITE_ROW)
      value = reinterpret_cast<const char*>(sqlite3_column_text(st, 0));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return value;
  }
  String file;
  TObjectPtr<TSqliteTable> table;
};

TEST_F(EditSqliteTest, TypedValuesReachTheFile) {
  AddEdit("Name");
  AddEdit("Qty", Bounds(10, 40, 120, 21));
  Show();
  Type("washer");
  Key(VK_TAB);
  Type("35");
  Key(VK_RETURN);
  table->Post();
  EXPECT_EQ(Stored("Name", 1), "washer");
  EXPECT_EQ(Stored("Qty", 1), "35");
  EXPECT_EQ(edit->Text(), "washer");
}

TEST_F(EditSqliteTest, ARowTheDatabaseRefusesStaysInEditStateWithTheUsersText) {
  AddEdit("Qty");
  Show();
  Type("-5");
  Key(VK_RETURN);
  try {
    table->Post();
    ADD_FAILURE() << "the refused row was reported as posted";
  } catch (const EDatabaseError& e) {
    EXPECT_NE(e.Message().find("CHECK"), String::npos) << e.Message();
  }
  EXPECT_EQ(table->State(), dsEdit);
  EXPECT_EQ(edit->Text(), "-5");
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(Stored("Qty", 1), "10");
  // Corrected, the row goes through.
  Type("5");
  Key(VK_RETURN);
  table->Post();
  EXPECT_EQ(Stored("Qty", 1), "5");
}

}  // namespace
}  // namespace brevant::test
