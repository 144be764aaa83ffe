// Edits through the SQLite table, the provider and the client dataset that
// must reach the file exactly once and never overwrite another writer's
// change; sizes in characters; case-insensitive and date-time ordering; deep
// filters.
#include <sqlite3.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cstdio>
#include <map>
#include <random>

#include "db/client_dataset.h"
#include "db/db_test_util.h"
#include "db/provider.h"
#include "db/sqlite_table.h"
#include "db/sqlite_test_util.h"
#include "error_text.h"
#include "rtl/datetime.h"

using namespace brevant;
using namespace dbtest;

namespace {

using brevant::test::ErrorMessageOf;

bool Contains(const String& s, const String& part) {
  return s.find(part) != String::npos;
}

// A temporary database with one table of vendors; removed at the end.
class EditsTest : public SqliteFileTest {
 protected:
  void SetUp() override {
    CreateDatabase("bv_edits_test_", R"(
      CREATE TABLE vnd(ID INTEGER PRIMARY KEY, Name VARCHAR(20) NOT NULL, State VARCHAR(2),
        Notes MEMO, Seen DATETIME, Visits INTEGER);
      INSERT INTO vnd VALUES (1, 'Able', 'NY', 'first', '2020-01-02 10:00:00', 5),
        (2, 'Baker', 'NY', 'second', NULL, 6), (3, 'Cole', 'CA', NULL, NULL, 7),
        (4, 'Dunn', 'NY', 'fourth', NULL, 8);
    )");
  }
  TSqliteTable* Table(const String& name = "vnd") { return SqliteFileTest::Table(name); }
};

// ---- lost and wrong writes ------------------------------------------------------------

TEST_F(EditsTest, FieldsForSomeColumnsLeaveTheOthersAlone) {
  TClientDataSet* c = Client(Provider(Table()));
  auto* id = Create<TIntegerField>(c);
  id->SetFieldName("ID");
  id->SetDataSet(c);
  auto* name = Create<TStringField>(c);
  name->SetFieldName("Name");
  name->SetDataSet(c);
  c->Open();
  c->Locate("ID", 2, {});
  c->Edit();
  name->SetAsString("Bakery");
  c->Post();
  c->Append();
  name->SetAsString("Eton");
  c->Post();
  EXPECT_EQ(c->ApplyUpdates(-1), 0) << c->ApplyError();
  EXPECT_EQ(Query("SELECT * FROM vnd WHERE ID >= 2 ORDER BY ID"),
            "2|Bakery|NY|second|<null>|6;3|Cole|CA|<null>|<null>|7;"
            "4|Dunn|NY|fourth|<null>|8;5|Eton|<null>|<null>|<null>|<null>;");
}

TEST_F(EditsTest, TwoClientsOnOneProviderKeepEachOthersChanges) {
  TDataSetProvider* p = Provider(Table());
  TClientDataSet* a = Client(p);
  TClientDataSet* b = Client(p);
  a->Open();
  b->Open();
  EditAndPost(a, 1, "Name", "Abel");
  EXPECT_EQ(a->ApplyUpdates(-1), 0);
  EditAndPost(b, 1, "State", "VT");
  EXPECT_EQ(b->ApplyUpdates(-1), 0) << b->ApplyError();
  EXPECT_EQ(Query("SELECT Name, State FROM vnd WHERE ID = 1"), "Abel|VT;");
  // Both change the same field: the later apply reports a conflict for the
  // record and the first writer's value stays.
  b->Edit();
  b->FieldByName("Name")->SetAsString("Abbot");
  b->Post();
  EXPECT_EQ(b->ApplyUpdates(-1), 1);
  EXPECT_TRUE(Contains(b->ApplyError(), "changed by another user")) << b->ApplyError();
  EXPECT_EQ(b->ChangeCount(), 1);
  EXPECT_EQ(Query("SELECT Name, State FROM vnd WHERE ID = 1"), "Abel|VT;");
  // Cancelling shows the file's value.
  b->CancelUpdates();
  EXPECT_EQ(b->FieldByName("Name")->AsString(), "Abel");
}

TEST_F(EditsTest, ProviderOverAMemoryDataSetWritesOnlyChangesAndFindsConflicts) {
  auto* m = Create<TMemDataSet>(owner_.get());
  m->FieldDefs()->Add("ID", ftInteger);
  m->FieldDefs()->Add("Name", ftString, 10);
  m->FieldDefs()->Add("State", ftString, 2);
  m->AppendRow({1, "Able", "NY"});
  m->AppendRow({2, "Baker", "CA"});
  TDataSetProvider* p = Provider(m);
  p->SetKeyFields("ID");
  TClientDataSet* a = Client(p);
  TClientDataSet* b = Client(p);
  a->Open();
  b->Open();
  EditAndPost(a, 2, "Name", "Bakery");
  EXPECT_EQ(a->ApplyUpdates(-1), 0);
  EditAndPost(b, 2, "State", "ME");
  EXPECT_EQ(b->ApplyUpdates(-1), 0);
  m->Locate("ID", 2, {});
  EXPECT_EQ(m->FieldByName("Name")->AsString() + " " + m->FieldByName("State")->AsString(),
            "Bakery ME");
  b->Edit();
  b->FieldByName("Name")->SetAsString("Bakers");
  b->Post();
  EXPECT_EQ(b->ApplyUpdates(-1), 1);
  EXPECT_TRUE(Contains(b->ApplyError(), "changed by another user")) << b->ApplyError();
  EXPECT_EQ(m->FieldByName("Name")->AsString(), "Bakery");
  EXPECT_EQ(m->State(), dsBrowse);
}

TEST_F(EditsTest, TwoTablesOnOneFileWriteOnlyTheirChanges) {
  TSqliteTable* a = Table();
  TSqliteTable* b = Table();
  a->Open();
  b->Open();
  EditAndPost(a, 2, "Name", "Bakery");
  EditAndPost(b, 2, "State", "ME");
  EXPECT_EQ(Query("SELECT Name, State FROM vnd WHERE ID = 2"), "Bakery|ME;");
  // b still shows the old name: changing it raises and writes nothing.
  b->Edit();
  b->FieldByName("Name")->SetAsString("Bakers");
  EXPECT_TRUE(Contains(ErrorMessageOf([&] { b->Post(); }), "changed by another user"));
  EXPECT_EQ(b->State(), dsEdit);
  b->Cancel();
  EXPECT_EQ(Query("SELECT Name, State FROM vnd WHERE ID = 2"), "Bakery|ME;");
  // A row another connection removed is reported, for an edit and a delete.
  Exec("DELETE FROM vnd WHERE ID = 3");
  b->Locate("ID", 3, {});
  b->Edit();
  b->FieldByName("Visits")->SetAsInteger(1);
  EXPECT_TRUE(Contains(ErrorMessageOf([&] { b->Post(); }), "changed or deleted by another user"));
  b->Cancel();
  EXPECT_TRUE(Contains(ErrorMessageOf([&] { b->Delete(); }), "changed or deleted by another user"));
  EXPECT_EQ(b->RecordCount(), 4);
  EXPECT_EQ(b->FieldByName("ID")->AsInteger(), 3);
}

TEST_F(EditsTest, ClientDeleteOfARowDeletedElsewhereFails) {
  TClientDataSet* c = Client(Provider(Table()));
  c->Open();
  Exec("DELETE FROM vnd WHERE ID = 4");
  c->Locate("ID", 4, {});
  c->Delete();
  // The provider's table still holds the row in memory; the file does not.
  EXPECT_EQ(c->ApplyUpdates(-1), 1);
  EXPECT_TRUE(Contains(c->ApplyError(), "changed or deleted by another user")) << c->ApplyError();
  EXPECT_EQ(c->ChangeCount(), 1);
}

TEST_F(EditsTest, CancelUpdatesWhileEditing) {
  TClientDataSet* c = Client(Provider(Table()));
  c->Open();
  EditAndPost(c, 1, "Name", "One");
  c->Locate("ID", 2, {});
  c->Delete();
  c->Locate("ID", 3, {});
  c->Edit();
  c->FieldByName("Name")->SetAsString("Three");
  c->CancelUpdates();
  EXPECT_EQ(c->State(), dsBrowse);
  EXPECT_EQ(c->ChangeCount(), 0);
  EXPECT_EQ(Column(c, "Name"), "Able Baker Cole Dunn");
  EXPECT_EQ(c->ApplyUpdates(-1), 0);
  EXPECT_EQ(Query("SELECT Name FROM vnd ORDER BY ID"), "Able;Baker;Cole;Dunn;");
}

TEST_F(EditsTest, FailedRefreshKeepsTheRecords) {
  TSqliteTable* t = Table();
  t->Open();
  TClientDataSet* c = Client(Provider(t));
  c->Open();
  // The table cannot be read while it has another name.
  Exec("ALTER TABLE vnd RENAME TO vnd_away");
  EXPECT_TRUE(Contains(ErrorMessageOf([&] { t->Refresh(); }), "no such table"));
  EXPECT_EQ(t->RecordCount(), 4);
  EXPECT_EQ(Column(t, "Name"), "Able Baker Cole Dunn");
  Exec("ALTER TABLE vnd_away RENAME TO vnd");
  // Its records stay editable, and the edit reaches the file once.
  EditAndPost(t, 2, "Name", "Bakery");
  EXPECT_EQ(Query("SELECT Name FROM vnd WHERE ID = 2"), "Bakery;");
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Bakery");
  // The client's refresh fails the same way and keeps its rows; a second
  // client still opens with rows.
  Exec("ALTER TABLE vnd RENAME TO vnd_away");
  EXPECT_TRUE(Contains(ErrorMessageOf([&] { c->Refresh(); }), "no such table"));
  EXPECT_EQ(Column(c, "Name"), "Able Baker Cole Dunn");
  Exec("ALTER TABLE vnd_away RENAME TO vnd");
  TClientDataSet* c2 = Client(c->Provider());
  c2->Open();
  EXPECT_EQ(c2->RecordCount(), 4);
  // Reopening after the schema changed reads the new layout.
  t->Close();
  Exec("UPDATE vnd SET Visits = 8 WHERE ID = 4; ALTER TABLE vnd ADD COLUMN Extra INTEGER");
  t->Open();
  EXPECT_EQ(t->RecordCount(), 4);
  EXPECT_TRUE(t->FieldByName("Extra")->IsNull());
}

TEST_F(EditsTest, AssignedKeysIgnoreReadOnlyAndFireNoEvents) {
  Exec("CREATE UNIQUE INDEX vname ON vnd(Name)");
  TClientDataSet* c = Client(Provider(Table()));
  c->Open();
  c->FieldByName("ID")->SetReadOnly(true);
  c->Append();
  c->FieldByName("Name")->SetAsString("Eton");
  c->Post();
  c->Append();
  c->FieldByName("Name")->SetAsString("Able");  // the file's unique index refuses it
  c->Post();
  EXPECT_EQ(c->ApplyUpdates(-1), 1);
  EXPECT_TRUE(Contains(c->ApplyError(), "UNIQUE")) << c->ApplyError();
  EXPECT_EQ(c->ChangeCount(), 1);
  EXPECT_EQ(Query("SELECT count(*) FROM vnd"), "5;");
  c->Locate("Name", "Eton", {});
  EXPECT_EQ(c->FieldByName("ID")->AsInteger(), 5);
  // Fix the failed record; the clean apply clears the old error, stores the
  // key and moves neither the cursor nor any editing event.
  c->Last();
  c->Edit();
  c->FieldByName("Name")->SetAsString("Farr");
  c->Post();
  Integer events = 0;
  c->BeforeScroll = TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++events; });
  c->AfterScroll = TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++events; });
  c->BeforeEdit = TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++events; });
  c->BeforePost = TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++events; });
  EXPECT_EQ(c->ApplyUpdates(-1), 0);
  EXPECT_EQ(events, 0);
  EXPECT_EQ(c->ApplyError(), "");
  EXPECT_EQ(c->ChangeCount(), 0);
  EXPECT_EQ(c->FieldByName("Name")->AsString(), "Farr");
  EXPECT_EQ(c->FieldByName("ID")->AsInteger(), 6);
  EXPECT_EQ(Query("SELECT ID, Name FROM vnd WHERE ID > 4"), "5|Eton;6|Farr;");
  // The key is the record's own now: a later edit finds it.
  c->Edit();
  c->FieldByName("State")->SetAsString("RI");
  c->Post();
  EXPECT_EQ(c->ApplyUpdates(-1), 0) << c->ApplyError();
  EXPECT_EQ(Query("SELECT State FROM vnd WHERE ID = 6"), "RI;");
}

TEST_F(EditsTest, SubSecondDateTimeChangesAreWritten) {
  TClientDataSet* c = Client(Provider(Table()));
  c->Open();
  c->Locate("ID", 1, {});
  c->Edit();
  TDateTime seen = c->FieldByName("Seen")->AsDateTime();
  c->FieldByName("Seen")->SetAsDateTime(seen + 250.0 / MSecsPerDay);
  c->Post();
  EXPECT_EQ(c->ApplyUpdates(-1), 0);
  EXPECT_EQ(Query("SELECT Seen FROM vnd WHERE ID = 1"), "2020-01-02 10:00:00.250;");
}

// ---- wrong results ------------------------------------------------------------------

TEST_F(EditsTest, DeclaredSizesCountCharacters) {
  Exec(
      "CREATE TABLE people(ID INTEGER PRIMARY KEY, Name VARCHAR(5));"
      "INSERT INTO people VALUES (1, 'Chloë'), (2, 'Zoë');");
  TSqliteTable* t = Table("people");
  t->Open();
  EXPECT_EQ(Column(t, "Name"), "Chloë Zoë");
  t->Last();
  t->Edit();
  t->FieldByName("Name")->SetAsString("Renée");
  t->Post();
  EXPECT_EQ(t->FieldByName("Name")->AsString(), "Renée");
  t->Edit();
  EXPECT_TRUE(
      Contains(ErrorMessageOf([&] { t->FieldByName("Name")->SetAsString("Renées"); }), "too long"));
  t->Cancel();
  EXPECT_EQ(Query("SELECT Name FROM people ORDER BY ID"), "Chloë;Renée;");
  // The same through a client dataset, and four-byte characters.
  TClientDataSet* c = Client(Provider(t));
  c->Open();
  c->First();
  c->Edit();
  c->FieldByName("Name")->SetAsString("𝄞𝄞𝄞𝄞𝄞");
  c->Post();
  EXPECT_EQ(c->FieldByName("Name")->AsString(), "𝄞𝄞𝄞𝄞𝄞");
  EXPECT_EQ(c->ApplyUpdates(-1), 0) << c->ApplyError();
  EXPECT_EQ(Query("SELECT Name FROM people WHERE ID = 1"), "𝄞𝄞𝄞𝄞𝄞;");
}

TEST_F(EditsTest, CaseFoldingOfIndexesFiltersAndLocateAgree) {
  auto* c = Create<TClientDataSet>(owner_.get());
  c->FieldDefs()->Add("ID", ftInteger);
  c->FieldDefs()->Add("Name", ftString, 20);
  c->CreateDataSet();
  const char* names[] = {"zèbre", "écrin", "Étang", "apple", "ΣΟΦΊΑ", "москва", "Zulu"};
  Integer id = 0;
  for (const char* n : names) c->AppendRecord({++id, n});
  c->IndexDefs()->Add("ByName", "Name", "", "Name");
  c->SetIndexName("ByName");
  EXPECT_EQ(Column(c, "Name"), "apple écrin Étang zèbre Zulu ΣΟΦΊΑ москва");
  c->SetFilterCaseInsensitive(true);
  auto rows = [&](const String& filter) {
    c->SetFilter(filter);
    c->SetFiltered(true);
    String r = Column(c, "ID");
    c->SetFiltered(false);
    return r;
  };
  EXPECT_EQ(rows("Name = 'étang'"), "3");
  EXPECT_EQ(rows("Name = 'ÉCRIN'"), "2");
  EXPECT_EQ(rows("Name = 'σοφία'"), "5");
  EXPECT_EQ(rows("Name = 'МОСКВА'"), "6");
  EXPECT_EQ(rows("Name = 'ZULU' or Name = 'Zèbre'"), "1 7");
  for (const char* key : {"étang", "ÉCRIN", "σοφία", "МОСКВА"})
    EXPECT_TRUE(c->Locate("Name", key, {loCaseInsensitive})) << key;
}

TEST_F(EditsTest, DateTimesBefore1899CompareByDayThenTime) {
  auto* c = Create<TClientDataSet>(owner_.get());
  c->FieldDefs()->Add("ID", ftInteger);
  c->FieldDefs()->Add("At", ftDateTime);
  c->CreateDataSet();
  // Before 1899-12-30 the day counts down and the time of day is subtracted.
  auto at2 = [](Word y, Word m, Word d, Word h) {
    TDateTime date = EncodeDate(y, m, d);
    return date < 0 ? date - EncodeTime(h, 0, 0, 0) : date + EncodeTime(h, 0, 0, 0);
  };
  c->AppendRecord({1, VarFromDateTime(at2(1899, 12, 29, 18))});
  c->AppendRecord({2, VarFromDateTime(at2(1899, 12, 29, 6))});
  c->AppendRecord({3, VarFromDateTime(at2(1899, 12, 28, 12))});
  c->AppendRecord({4, VarFromDateTime(at2(1899, 12, 30, 1))});
  c->SetIndexFieldNames("At");
  EXPECT_EQ(Column(c, "ID"), "3 2 1 4");
  auto rows = [&](const String& filter) {
    c->SetFilter(filter);
    c->SetFiltered(true);
    String r = Column(c, "ID");
    c->SetFiltered(false);
    return r;
  };
  EXPECT_EQ(rows("At = '1899-12-29 06:00'"), "2");
  EXPECT_EQ(rows("At < '1899-12-29 12:00'"), "3 2");
  EXPECT_EQ(rows("At > '1899-12-29 12:00'"), "1 4");
  // Posting keeps the order too.
  c->Locate("ID", 3, {});
  c->Edit();
  c->FieldByName("At")->SetAsDateTime(at2(1899, 12, 29, 20));
  c->Post();
  EXPECT_EQ(Column(c, "ID"), "2 1 3 4");
}

TEST_F(EditsTest, AppendedAutoIncrementKeysAreSortedAndFiltered) {
  auto* c = Create<TClientDataSet>(owner_.get());
  c->FieldDefs()->Add("ID", ftAutoInc);
  c->FieldDefs()->Add("Name", ftString, 10);
  c->CreateDataSet();
  c->SetIndexFieldNames("ID");
  c->SetFilter("ID >= 2");
  c->SetFiltered(true);
  for (const char* n : {"a", "b", "c"}) {
    c->Append();
    c->FieldByName("Name")->SetAsString(n);
    c->Post();
  }
  EXPECT_EQ(Column(c, "Name"), "b c");
  c->SetFiltered(false);
  EXPECT_EQ(Column(c, "ID"), "1 2 3");
}

TEST_F(EditsTest, EditsOutsideTheIndexKeepTheRecordsPlace) {
  TClientDataSet* c = Client(Provider(Table()));
  c->Open();
  c->SetIndexFieldNames("State");
  EXPECT_EQ(Column(c, "ID"), "3 1 2 4");
  EditAndPost(c, 1, "Name", "Abel");
  EXPECT_EQ(c->RecNo(), 2);
  EXPECT_EQ(Column(c, "ID"), "3 1 2 4");
}

// ---- bad input ------------------------------------------------------------------------

TEST_F(EditsTest, LongFilterChainsWorkAndDeepNestingIsRefused) {
  TClientDataSet* c = Client(Provider(Table()));
  c->Open();
  String chain;
  for (Integer i = 0; i < 50000; ++i) chain += (i ? " or ID = " : "ID = ") + IntToStr(100 + i);
  chain += " or ID = 3";
  c->SetFilter(chain);
  c->SetFiltered(true);
  EXPECT_EQ(Column(c, "ID"), "3");
  String both;
  for (Integer i = 0; i < 50000; ++i) both += i ? " and Visits > 0" : "Visits > 0";
  c->SetFilter(both);
  EXPECT_EQ(Column(c, "ID"), "1 2 3 4");
  String nots;
  for (Integer i = 0; i < 50000; ++i) nots += "not ";
  EXPECT_TRUE(
      Contains(ErrorMessageOf([&] { c->SetFilter(nots + "ID = 1"); }), "nested too deeply"));
  String parens = String(201, '(') + "ID = 1" + String(201, ')');
  EXPECT_TRUE(Contains(ErrorMessageOf([&] { c->SetFilter(parens); }), "nested too deeply"));
  String fine = String(150, '(') + "ID = 1" + String(150, ')');
  c->SetFilter(fine);
  EXPECT_EQ(Column(c, "ID"), "1");
}

// ---- a random mix of writers checked against a model ----------------------------------

// Two client datasets (sharing a provider and its table) and a directly
// edited SQLite table (a second connection) write to one file in a
// seeded random order. The model is the file as the rules say it must be:
// a modify (a client's apply or the table's post) writes only the fields it
// changed and fails, writing nothing, when the row is gone or holds in one
// of those fields neither the value the edit started from nor the new one;
// a delete fails when the row is gone; an insert gets the next rowid. After
// every operation the outcome must be the predicted one and the file must
// hold exactly the model.
class RandomWriters : public EditsTest {
 protected:
  using TRow = std::vector<Variant>;  // ID, Name, State, Visits, Seen

  static bool Same(const Variant& a, const Variant& b) {
    bool an = VarIsNull(a) || VarIsEmpty(a), bn = VarIsNull(b) || VarIsEmpty(b);
    return an || bn ? an == bn : a == b;
  }
  static String Text(const Variant& v, std::size_t column) {
    if (VarIsNull(v) || VarIsEmpty(v)) return "<null>";
    if (column != 4) return VarToStr(v);
    Word y, mo, d, h, mi, sec, ms;
    DecodeDateTime(v.AsDateTime(), y, mo, d, h, mi, sec, ms);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%04u-%02u-%02u %02u:%02u:%02u", unsigned(y), unsigned(mo),
                  unsigned(d), unsigned(h), unsigned(mi), unsigned(sec));
    String r = buf;
    if (ms) {
      std::snprintf(buf, sizeof buf, ".%03u", unsigned(ms));
      r += buf;
    }
    return r;
  }
  String ModelText() const {
    String out;
    for (const auto& [id, row] : model_) {
      for (std::size_t i = 0; i < row.size(); ++i) out += (i ? "|" : "") + Text(row[i], i);
      out += ";";
    }
    return out;
  }
  String FileText() { return Query("SELECT ID, Name, State, Visits, Seen FROM rnd ORDER BY ID"); }
  Integer NextId() const {
    return model_.empty() ? 1 : static_cast<Integer>(model_.rbegin()->first) + 1;
  }

  // A random value for column 1..4.
  Variant RandomValue(std::size_t column) {
    Integer k = static_cast<Integer>(rng_() % 3);
    switch (column) {
      case 1:
        return Variant("n" + IntToStr(k));
      case 2:
        return k == 0 ? Variant::Null() : Variant(String(k == 1 ? "NY" : "CA"));
      case 3:
        return k == 0 ? Variant::Null() : Variant(k);
      default:
        return k == 0 ? Variant::Null()
                      : VarFromDateTime(EncodeDate(2020, 1, 2) + (k - 1) * 250.0 / MSecsPerDay);
    }
  }
  static void Put(TDataSet* ds, std::size_t column, const Variant& v) {
    static const char* names[] = {"ID", "Name", "State", "Visits", "Seen"};
    TField* f = ds->FieldByName(names[column]);
    if (VarIsNull(v))
      f->Clear();
    else if (column == 4)
      f->SetAsDateTime(v.AsDateTime());
    else
      f->SetValue(v);
  }
  static TRow Read(TDataSet* ds) {
    TRow row;
    for (const char* n : {"ID", "Name", "State", "Visits", "Seen"}) {
      TField* f = ds->FieldByName(n);
      row.push_back(f->IsNull() ? Variant::Null() : f->Value());
    }
    return row;
  }
  void GotoRandom(TDataSet* ds) {
    ds->SetRecNo(static_cast<Integer>(rng_() % static_cast<unsigned>(ds->RecordCount())) + 1);
  }
  // Sets one or two random columns (never the key) of the record in edit.
  void ChangeSome(TDataSet* ds) {
    for (Integer n = 1 + static_cast<Integer>(rng_() % 2); n > 0; --n) {
      std::size_t column = 1 + rng_() % 4;
      Put(ds, column, RandomValue(column));
    }
  }
  // Whether a modify from old to values applies to the model row, and applies it.
  bool ModifyModel(Int64 id, const TRow& old, const TRow& values) {
    if (old == values) return true;  // nothing to write
    auto it = model_.find(id);
    if (it == model_.end()) return false;
    for (std::size_t i = 1; i < values.size(); ++i)
      if (!Same(old[i], values[i]) && !Same(it->second[i], old[i]) &&
          !Same(it->second[i], values[i]))
        return false;
    for (std::size_t i = 1; i < values.size(); ++i)
      if (!Same(old[i], values[i])) it->second[i] = values[i];
    return true;
  }

  void ClientStep(TClientDataSet* c) {
    unsigned op = rng_() % 10;
    if (op < 3 && c->RecordCount() > 0) {
      GotoRandom(c);
      c->Edit();
      ChangeSome(c);
      c->Post();
    } else if (op < 5) {
      c->Append();
      Put(c, 1, RandomValue(1));
      ChangeSome(c);
      if (c->FieldByName("Name")->IsNull()) Put(c, 1, RandomValue(1));
      c->Post();
    } else if (op < 6 && c->RecordCount() > 0) {
      GotoRandom(c);
      c->Delete();
    } else if (op < 9) {
      Integer predicted = 0;
      String trace = FileText() + "\n";
      for (const TUpdateRecord& u : c->ChangeLog()) {
        trace += IntToStr(u.kind) + ": ";
        for (std::size_t i = 0; i < u.oldValues.size(); ++i) trace += Text(u.oldValues[i], i) + ",";
        trace += " -> ";
        for (std::size_t i = 0; i < u.values.size(); ++i) trace += Text(u.values[i], i) + ",";
        trace += "\n";
        bool ok = true;
        switch (u.kind) {
          case ukInsert: {
            TRow row = u.values;
            row[0] = Variant(NextId());
            model_[NextId()] = row;
            break;
          }
          case ukModify:
            ok = ModifyModel(u.oldKey[0].AsInt64(), u.oldValues, u.values);
            break;
          case ukDelete:
            ok = model_.erase(u.oldKey[0].AsInt64()) > 0;
            break;
        }
        if (!ok) ++predicted;
        failures_ += ok ? 0 : 1;
      }
      ASSERT_EQ(c->ApplyUpdates(-1), predicted) << c->ApplyError() << trace;
    } else if (c->ChangeCount() > 0 && rng_() % 2) {
      c->CancelUpdates();
      ASSERT_EQ(c->ChangeCount(), 0);
    } else if (c->ChangeCount() == 0) {
      c->Refresh();
    }
  }

  void TableStep(TSqliteTable* t) {
    unsigned op = rng_() % 10;
    if (op < 4 && t->RecordCount() > 0) {
      GotoRandom(t);
      t->Edit();
      TRow old = Read(t);
      ChangeSome(t);
      TRow values = Read(t);
      bool ok = ModifyModel(old[0].AsInt64(), old, values);
      String error = ErrorMessageOf([&] { t->Post(); });
      ASSERT_EQ(error == "no error", ok) << error;
      failures_ += ok ? 0 : 1;
      if (!ok) t->Cancel();
    } else if (op < 6) {
      t->Append();
      Put(t, 1, RandomValue(1));
      ChangeSome(t);
      if (t->FieldByName("Name")->IsNull()) Put(t, 1, RandomValue(1));
      t->Post();
      TRow row = Read(t);
      ASSERT_EQ(row[0].AsInt64(), NextId());
      model_[NextId()] = row;
    } else if (op < 8 && t->RecordCount() > 0) {
      GotoRandom(t);
      bool ok = model_.count(t->FieldByName("ID")->AsInteger()) > 0;
      if (ok) model_.erase(t->FieldByName("ID")->AsInteger());
      String error = ErrorMessageOf([&] { t->Delete(); });
      ASSERT_EQ(error == "no error", ok) << error;
      failures_ += ok ? 0 : 1;
    } else {
      t->Refresh();
    }
  }

  std::mt19937 rng_;
  std::map<Int64, TRow> model_;
  Integer failures_ = 0;  // refused writes (conflicts, rows gone), to see they occur
};

TEST_F(RandomWriters, FileMatchesTheModelAfterEveryOperation) {
  for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u}) {
    SCOPED_TRACE("seed " + IntToStr(static_cast<Integer>(seed)));
    rng_.seed(seed);
    Exec(
        "DROP TABLE IF EXISTS rnd;"
        "CREATE TABLE rnd(ID INTEGER PRIMARY KEY, Name VARCHAR(10) NOT NULL, State VARCHAR(2),"
        " Visits INTEGER, Seen DATETIME);"
        "INSERT INTO rnd (Name) VALUES ('n0'), ('n1'), ('n2'), ('n0'), ('n1');");
    model_.clear();
    for (Int64 id = 1; id <= 5; ++id)
      model_[id] = {Variant(id), Variant("n" + IntToStr(static_cast<Integer>((id - 1) % 3))),
                    Variant::Null(), Variant::Null(), Variant::Null()};
    // The clients share a provider, whose table then knows the one client's
    // applied changes but not the other table's.
    TDataSetProvider* p = Provider(Table("rnd"));
    TClientDataSet* a = Client(p);
    TClientDataSet* b = Client(p);
    TSqliteTable* t = Table("rnd");
    a->Open();
    b->SetIndexFieldNames("State;Name");
    b->Open();
    t->Open();
    for (Integer step = 0; step < 400; ++step) {
      SCOPED_TRACE("step " + IntToStr(step));
      unsigned who = rng_() % 3;
      if (who == 0)
        ClientStep(a);
      else if (who == 1)
        ClientStep(b);
      else
        TableStep(t);
      if (HasFatalFailure()) return;
      for (TDataSet* ds : std::initializer_list<TDataSet*>{a, b, t}) ds->CheckBufferInvariants();
      ASSERT_EQ(FileText(), ModelText());
    }
    a->Close();
    b->Close();
    t->Close();
  }
  EXPECT_GT(failures_, 20);
}

}  // namespace
