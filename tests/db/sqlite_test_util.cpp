#include "db/sqlite_test_util.h"

#include <unistd.h>

#include <cstdio>

#include "rtl/numconv.h"

namespace dbtest {

void SqliteFileTest::CreateDatabase(const String& prefix, const String& schema) {
  static int counter = 0;
  const String dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
  path_ = dir + "/" + prefix + IntToStr(getpid()) + "_" + IntToStr(++counter) + ".db";
  std::remove(path_.c_str());
  ASSERT_EQ(sqlite3_open(path_.c_str(), &db_), SQLITE_OK);
  Exec(schema);
}

void SqliteFileTest::TearDown() {
  sqlite3_close(db_);
  db_ = nullptr;
  if (!path_.empty()) std::remove(path_.c_str());
}

void SqliteFileTest::Exec(const String& sql) {
  char* err = nullptr;
  const int rc = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err);
  EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "");
  sqlite3_free(err);
}

String SqliteFileTest::Query(const String& sql) {
  String out;
  sqlite3_stmt* st = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &st, nullptr) != SQLITE_OK) return "error";
  while (sqlite3_step(st) == SQLITE_ROW) {
    for (int i = 0; i < sqlite3_column_count(st); ++i) {
      if (i) out += "|";
      const unsigned char* t = sqlite3_column_text(st, i);
      out += t ? reinterpret_cast<const char*>(t) : "<null>";
    }
    out += ";";
  }
  sqlite3_finalize(st);
  return out;
}

String SqliteFileTest::Column(TDataSet* ds, const String& field) {
  String out;
  ds->First();
  while (!ds->Eof()) {
    if (!out.empty()) out += " ";
    out += ds->FieldByName(field)->AsString();
    ds->Next();
  }
  return out;
}

TSqliteTable* SqliteFileTest::Table(const String& name) {
  auto* t = Create<TSqliteTable>(owner_.get());
  t->SetDatabaseName(path_);
  t->SetTableName(name);
  return t;
}

TDataSetProvider* SqliteFileTest::Provider(TDataSet* source) {
  auto* p = Create<TDataSetProvider>(owner_.get());
  p->SetDataSet(source);
  return p;
}

TClientDataSet* SqliteFileTest::Client(TDataSetProvider* provider) {
  auto* c = Create<TClientDataSet>(owner_.get());
  c->SetProvider(provider);
  return c;
}

}  // namespace dbtest
