// A temporary SQLite database file per test: statements run on it directly
// and read back as text, and tables, providers and client datasets opened on
// it (owned by the fixture). The file is removed at the end of the test.
#pragma once

#include <sqlite3.h>

#include <gtest/gtest.h>

#include "classes/component.h"
#include "db/client_dataset.h"
#include "db/provider.h"
#include "db/sqlite_table.h"

namespace dbtest {

using namespace brevant;

class SqliteFileTest : public ::testing::Test {
 protected:
  // Creates a new file named after prefix (in memory-backed /dev/shm when
  // writable, for tests that commit many times) and runs schema on it.
  void CreateDatabase(const String& prefix, const String& schema);
  void TearDown() override;

  void Exec(const String& sql);
  // Every row as "a|b|<null>;", or "error" when the statement is refused.
  String Query(const String& sql);
  // The field's text on every record, separated by blanks (moves the cursor).
  static String Column(TDataSet* ds, const String& field);

  TSqliteTable* Table(const String& name);
  TDataSetProvider* Provider(TDataSet* source);
  TClientDataSet* Client(TDataSetProvider* provider);

  String path_;                                                // the database file
  sqlite3* db_ = nullptr;                                      // the test's own connection to it
  TObjectPtr<TComponent> owner_{Create<TComponent>(nullptr)};  // owns what the helpers make
};

}  // namespace dbtest
