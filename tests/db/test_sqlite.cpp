// The SQLite table, the dataset provider and the client dataset, on
// temporary database files.
#include <sqlite3.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <cstdio>

#include "db/client_dataset.h"
#include "db/db_test_util.h"
#include "db/provider.h"
#include "db/sqlite_table.h"
#include "db/sqlite_test_util.h"
#include "error_text.h"
#include "rtl/datetime.h"
#include "rtl/streams.h"

using namespace brevant;
using namespace dbtest;

namespace {

using brevant::test::ErrorOf;

bool Contains(const String& s, const String& part) {
  return s.find(part) != String::npos;
}

// A small BMP stream of w x h pixels, 24 bits, every pixel of one colour.
String MakeBmp(int w, int h, unsigned char shade) {
  int row = (w * 3 + 3) & ~3;
  int size = 54 + row * h;
  String b(static_cast<std::size_t>(size), '\0');
  auto put32 = [&](int at, int v) {
    for (int i = 0; i < 4; ++i) b[static_cast<std::size_t>(at + i)] = char((v >> (8 * i)) & 255);
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, size);
  put32(10, 54);
  put32(14, 40);
  put32(18, w);
  put32(22, h);
  b[26] = 1;
  b[28] = 24;
  for (int i = 54; i < size; ++i) b[static_cast<std::size_t>(i)] = char(shade);
  return b;
}

// A temporary database with the vendor shape; removed at the end.
class SqliteTest : public SqliteFileTest {
 protected:
  void SetUp() override {
    CreateDatabase("bv_sql_test_", R"(
      CREATE TABLE indust(Symbol VARCHAR(10) PRIMARY KEY, Name VARCHAR(30), ImageIndex INTEGER);
      INSERT INTO indust VALUES ('Aero', 'Aerospace/Defense', 6), ('Comp', 'Computer Hardware', 0),
        ('Med', 'Medical Services', 1);
      CREATE TABLE main_vnd(VendorNo INTEGER PRIMARY KEY, VendorName VARCHAR(40) NOT NULL,
        Address MEMO, State VARCHAR(2), "E-mail" VARCHAR(60), LastContractDate DATETIME,
        ContractCount INTEGER, IndustryID VARCHAR(10), CreditSum CURRENCY, Preferred BOOLEAN,
        Picture GRAPHIC, Ratio REAL, Big BIGINT, Born DATE);
      INSERT INTO main_vnd VALUES
        (30, 'Cobalt Works', 'Line 1
Line 2', 'CA', 'sales@cobalt.example', '2021-03-04 05:06:07', '51', 'Comp', 1250.5, 1,
         NULL, 0.25, 9000000000, '1999-12-31'),
        (10, 'Able Supply', NULL, 'NY', NULL, '2020-01-02 00:00:00.250', 50, 'Aero', 10, 0,
         NULL, NULL, NULL, NULL),
        (20, 'Acme Parts', 'Main St', NULL, 'info@acme.example', NULL, NULL, 'Zzz', NULL, 'true',
         NULL, '1.5', '-7', NULL);
    )");
  }
  TSqliteTable* Table(const String& name = "main_vnd") { return SqliteFileTest::Table(name); }
};

TEST_F(SqliteTest, OpenReadsKeyOrderAndDeclaredTypes) {
  TSqliteTable* t = Table();
  t->Open();
  EXPECT_EQ(t->RecordCount(), 3);
  EXPECT_TRUE(t->IsSequenced());
  EXPECT_EQ(t->KeyFields(), "VendorNo");
  EXPECT_EQ(Column(t, "VendorNo"), "10 20 30");
  struct {
    const char* name;
    TFieldType type;
    Integer size;
  } expect[] = {{"VendorNo", ftInteger, 0},
                {"VendorName", ftString, 40},
                {"Address", ftMemo, 0},
                {"State", ftString, 2},
                {"E-mail", ftString, 60},
                {"LastContractDate", ftDateTime, 0},
                {"ContractCount", ftInteger, 0},
                {"CreditSum", ftCurrency, 0},
                {"Preferred", ftBoolean, 0},
                {"Picture", ftGraphic, 0},
                {"Ratio", ftFloat, 0},
                {"Big", ftLargeint, 0},
                {"Born", ftDate, 0}};
  for (auto& e : expect) {
    TField* f = t->FieldByName(e.name);
    EXPECT_EQ(f->DataType(), e.type) << e.name;
    if (e.size) {
      EXPECT_EQ(f->Size(), e.size) << e.name;
    }
  }
  EXPECT_TRUE(t->FieldByName("VendorName")->Required());
  EXPECT_FALSE(t->FieldByName("VendorNo")->Required());  // assigned by the file
  // Values convert by the declared type: text '51' in an INTEGER column,
  // text 'true' in a BOOLEAN one, '1.5' in REAL.
  t->Last();
  EXPECT_EQ(t->FieldByName("ContractCount")->AsInteger(), 51);
  EXPECT_EQ(t->FieldByName("Address")->AsString(), "Line 1\nLine 2");
  EXPECT_EQ(t->FieldByName("E-mail")->AsString(), "sales@cobalt.example");
  EXPECT_EQ(t->FieldByName("LastContractDate")->AsDateTime(),
            EncodeDate(2021, 3, 4) + EncodeTime(5, 6, 7, 0));
  EXPECT_DOUBLE_EQ(t->FieldByName("CreditSum")->AsFloat(), 1250.5);
  EXPECT_TRUE(t->FieldByName("Preferred")->AsBoolean());
  EXPECT_EQ(t->FieldByName("Big")->AsLargeInt(), 9000000000LL);
  EXPECT_EQ(t->FieldByName("Born")->AsDateTime(), EncodeDate(1999, 12, 31));
  t->Prior();
  EXPECT_TRUE(t->FieldByName("Preferred")->AsBoolean());
  EXPECT_DOUBLE_EQ(t->FieldByName("Ratio")->AsFloat(), 1.5);
  EXPECT_EQ(t->FieldByName("Big")->AsLargeInt(), -7);
  EXPECT_TRUE(t->FieldByName("State")->IsNull());
  EXPECT_TRUE(t->FieldByName("LastContractDate")->IsNull());
  t->First();
  EXPECT_FALSE(t->FieldByName("Preferred")->AsBoolean());
  EXPECT_EQ(t->FieldByName("LastContractDate")->AsDateTime(),
            EncodeDate(2020, 1, 2) + EncodeTime(0, 0, 0, 250));
  // RecNo, Locate, Lookup.
  EXPECT_TRUE(t->Locate("VendorName", "ACME", {loCaseInsensitive, loPartialKey}));
  EXPECT_EQ(t->RecNo(), 2);
  EXPECT_EQ(t->Lookup("VendorNo", 30, "State").AsString(), "CA");
  t->SetRecNo(3);
  EXPECT_EQ(t->FieldByName("VendorNo")->AsInteger(), 30);
}

TEST_F(SqliteTest, OpeningFaultsNameTheirObject) {
  TSqliteTable* t = Table();
  t->SetDatabaseName(path_ + ".missing");
  String e = ErrorOf([&] { t->Open(); });
  EXPECT_TRUE(Contains(e, "EDatabaseError") && Contains(e, ".missing")) << e;
  EXPECT_FALSE(t->Active());
  t->SetDatabaseName(path_);
  t->SetTableName("nosuch");
  e = ErrorOf([&] { t->Open(); });
  EXPECT_TRUE(Contains(e, "Table 'nosuch' not found")) << e;
  t->SetTableName("main_vnd");
  t->Open();
  EXPECT_EQ(t->RecordCount(), 3);
  // The properties need a closed table.
  EXPECT_TRUE(Contains(ErrorOf([&] { t->SetTableName("indust"); }), "open dataset"));
}

TEST_F(SqliteTest, PostInsertDeleteReachTheFile) {
  TSqliteTable* t = Table();
  t->Open();
  t->Locate("VendorNo", 20, {});
  TBookmark mark = t->Bookmark();
  t->Edit();
  t->FieldByName("E-mail")->SetAsString("new@acme.example");
  t->FieldByName("VendorNo")->SetAsInteger(25);  // key change: updated by the old key
  t->FieldByName("LastContractDate")
      ->SetAsDateTime(EncodeDate(2022, 2, 3) + EncodeTime(4, 5, 6, 7));
  t->FieldByName("Preferred")->SetAsBoolean(false);
  t->FieldByName("CreditSum")->SetAsFloat(99.75);
  t->FieldByName("Address")->Clear();
  t->Post();
  EXPECT_EQ(Query("SELECT VendorNo, \"E-mail\", LastContractDate, Preferred, CreditSum, Address "
                  "FROM main_vnd WHERE VendorName = 'Acme Parts'"),
            "25|new@acme.example|2022-02-03 04:05:06.007|0|99.75|<null>;");
  EXPECT_TRUE(t->BookmarkValid(mark));
  // Insert with the key left null: assigned by the file and read back.
  t->Append();
  t->FieldByName("VendorName")->SetAsString("Zenith");
  t->FieldByName("Born")->SetAsDateTime(EncodeDate(2001, 2, 3));
  t->Post();
  EXPECT_EQ(t->FieldByName("VendorNo")->AsInteger(), 31);
  EXPECT_EQ(Query("SELECT VendorNo, Born FROM main_vnd WHERE VendorName = 'Zenith'"),
            "31|2001-02-03;");
  // Insert with a key given.
  t->InsertRecord({5, "Early"});
  EXPECT_EQ(Query("SELECT VendorName FROM main_vnd WHERE VendorNo = 5"), "Early;");
  EXPECT_EQ(t->RecordCount(), 5);
  // Delete.
  ASSERT_TRUE(t->Locate("VendorNo", 30, {}));
  t->Delete();
  EXPECT_EQ(Query("SELECT count(*) FROM main_vnd WHERE VendorNo = 30"), "0;");
  EXPECT_TRUE(t->BookmarkValid(mark));
  t->GotoBookmark(mark);
  EXPECT_EQ(t->FieldByName("VendorNo")->AsInteger(), 25);
  // Reopening shows the file in key order.
  t->Close();
  t->Open();
  EXPECT_EQ(Column(t, "VendorNo"), "5 10 25 31");
  t->Locate("VendorNo", 25, {});
  EXPECT_EQ(t->FieldByName("LastContractDate")->AsDateTime(),
            EncodeDate(2022, 2, 3) + EncodeTime(4, 5, 6, 7));
  EXPECT_DOUBLE_EQ(t->FieldByName("CreditSum")->AsFloat(), 99.75);
  EXPECT_FALSE(t->FieldByName("Preferred")->AsBoolean());
}

TEST_F(SqliteTest, FailedStatementsLeaveRecordAndFile) {
  Exec("CREATE UNIQUE INDEX vname ON main_vnd(VendorName)");
  TSqliteTable* t = Table();
  t->Open();
  String before = Query("SELECT * FROM main_vnd ORDER BY VendorNo");
  // A constraint violation on post.
  t->First();
  t->Edit();
  t->FieldByName("VendorName")->SetAsString("Acme Parts");
  t->FieldByName("State")->SetAsString("TX");
  String e = ErrorOf([&] { t->Post(); });
  EXPECT_TRUE(Contains(e, "EDatabaseError") && Contains(e, "UNIQUE")) << e;
  EXPECT_EQ(t->State(), dsEdit);
  EXPECT_EQ(t->FieldByName("State")->AsString(), "TX");
  EXPECT_EQ(Query("SELECT * FROM main_vnd ORDER BY VendorNo"), before);
  t->Cancel();
  EXPECT_EQ(t->FieldByName("VendorName")->AsString(), "Able Supply");
  // An insert that fails keeps the insert state and adds nothing.
  t->Append();
  t->FieldByName("VendorNo")->SetAsInteger(10);
  t->FieldByName("VendorName")->SetAsString("Dup");
  e = ErrorOf([&] { t->Post(); });
  EXPECT_TRUE(Contains(e, "EDatabaseError")) << e;
  EXPECT_EQ(t->State(), dsInsert);
  t->Cancel();
  EXPECT_EQ(t->RecordCount(), 3);
  // A locked database.
  Exec("BEGIN EXCLUSIVE");
  t->SetBusyTimeout(0);
  t->First();
  t->Edit();
  t->FieldByName("State")->SetAsString("WA");
  e = ErrorOf([&] { t->Post(); });
  EXPECT_TRUE(Contains(e, "locked")) << e;
  e = ErrorOf([&] { t->Delete(); });
  EXPECT_TRUE(Contains(e, "locked")) << e;
  Exec("COMMIT");
  EXPECT_EQ(t->State(), dsEdit);
  EXPECT_EQ(t->FieldByName("State")->AsString(), "WA");
  t->Post();
  EXPECT_EQ(t->FieldByName("State")->AsString(), "WA");
  EXPECT_EQ(Query("SELECT State FROM main_vnd WHERE VendorNo = 10"), "WA;");
  EXPECT_EQ(t->RecordCount(), 3);
  // A record deleted by someone else cannot be updated.
  Exec("DELETE FROM main_vnd WHERE VendorNo = 20");
  t->Locate("VendorNo", 20, {});
  t->Edit();
  t->FieldByName("State")->SetAsString("OR");
  e = ErrorOf([&] { t->Post(); });
  EXPECT_TRUE(Contains(e, "Record not found")) << e;
  t->Cancel();
  // A table without a primary key is read-only.
  Exec("CREATE TABLE nokey(a INTEGER, b TEXT); INSERT INTO nokey VALUES (1, 'x')");
  TSqliteTable* n = Table("nokey");
  n->Open();
  EXPECT_FALSE(n->CanModify());
  EXPECT_EQ(n->FieldByName("b")->AsString(), "x");
}

TEST_F(SqliteTest, RefreshRereadsAndKeepsTheRecord) {
  TSqliteTable* t = Table();
  t->Open();
  t->Locate("VendorNo", 20, {});
  Exec(
      "UPDATE main_vnd SET State = 'NV' WHERE VendorNo = 20; "
      "INSERT INTO main_vnd (VendorNo, VendorName) VALUES (15, 'Middle')");
  t->Refresh();
  EXPECT_EQ(t->FieldByName("VendorNo")->AsInteger(), 20);
  EXPECT_EQ(t->FieldByName("State")->AsString(), "NV");
  EXPECT_EQ(t->RecordCount(), 4);
  EXPECT_EQ(t->RecNo(), 3);
  // The record is gone: the cursor stays near its old place.
  Exec("DELETE FROM main_vnd WHERE VendorNo = 20");
  t->Refresh();
  EXPECT_EQ(t->RecordCount(), 3);
  EXPECT_EQ(t->FieldByName("VendorNo")->AsInteger(), 30);
}

TEST_F(SqliteTest, BlobStreamsAndLookupFields) {
  TSqliteTable* ind = Table("indust");
  ind->Open();
  TSqliteTable* t = Table();
  t->UpdateFieldDefs();
  for (Integer i = 0; i < t->FieldDefs()->Count(); ++i) t->FieldDefs()->Items(i)->CreateField(t, t);
  auto* industry = Create<TStringField>(t);
  industry->SetFieldName("Industry");
  industry->SetFieldKind(fkLookup);
  industry->SetLookupDataSet(ind);
  industry->SetLookupKeyFields("Symbol");
  industry->SetLookupResultField("Name");
  industry->SetKeyFields("IndustryID");
  industry->SetSize(30);
  industry->SetDataSet(t);
  t->Open();
  EXPECT_EQ(Column(t, "Industry"), "Aerospace/Defense  Computer Hardware");
  // A BMP picture through a blob stream, posted and read back from the file.
  String bmp = MakeBmp(5, 3, 0x7f);
  t->Locate("VendorNo", 30, {});
  t->Edit();
  {
    auto s = t->CreateBlobStream(t->FieldByName("Picture"), bmWrite);
    s->WriteBuffer(bmp.data(), static_cast<Int64>(bmp.size()));
  }
  t->Post();
  EXPECT_EQ(Query("SELECT length(Picture), typeof(Picture) FROM main_vnd WHERE VendorNo = 30"),
            IntToStr(static_cast<Int64>(bmp.size())) + "|blob;");
  TSqliteTable* again = Table();
  again->Open();
  again->Locate("VendorNo", 30, {});
  auto s = again->CreateBlobStream(again->FieldByName("Picture"), bmRead);
  String read(static_cast<std::size_t>(s->Size()), '\0');
  s->ReadBuffer(read.data(), s->Size());
  EXPECT_EQ(read, bmp);
  EXPECT_EQ(again->FieldByName("Picture")->DisplayText(), "(GRAPHIC)");
  // Clearing the picture writes null.
  t->Edit();
  t->FieldByName("Picture")->Clear();
  t->Post();
  EXPECT_EQ(Query("SELECT typeof(Picture) FROM main_vnd WHERE VendorNo = 30"), "null;");
}

// ---- provider and client dataset ---------------------------------------------------------

class ClientTest : public SqliteTest {
 protected:
  TClientDataSet* Client(const String& providerName = "VendorsProvider") {
    if (!owner_->FindComponent(providerName)) {
      auto* p = Create<TDataSetProvider>(owner_.get());
      p->SetName(providerName);
      p->SetDataSet(Table());
    }
    auto* c = Create<TClientDataSet>(owner_.get());
    c->SetProviderName(providerName);
    return c;
  }
};

TEST_F(ClientTest, ChangeLogAndApplyUpdatesReachTheFile) {
  TClientDataSet* c = Client();
  c->Open();
  EXPECT_EQ(c->RecordCount(), 3);
  EXPECT_EQ(c->FieldByName("E-mail")->DataType(), ftString);
  EXPECT_EQ(c->FieldByName("Picture")->DataType(), ftGraphic);
  EXPECT_EQ(Column(c, "VendorNo"), "10 20 30");
  c->Locate("VendorNo", 20, {});
  c->Edit();
  c->FieldByName("E-mail")->SetAsString("x@acme.example");
  c->Post();
  c->Edit();
  c->FieldByName("State")->SetAsString("OH");
  c->Post();
  EXPECT_EQ(c->ChangeCount(), 1);  // one entry per record
  c->Append();
  c->FieldByName("VendorName")->SetAsString("Newco");
  c->Post();
  c->Locate("VendorNo", 30, {});
  c->Delete();
  EXPECT_EQ(c->ChangeCount(), 3);
  // Nothing reached the file yet.
  EXPECT_EQ(Query("SELECT count(*), sum(State = 'OH') FROM main_vnd"), "3|0;");
  EXPECT_EQ(c->ApplyUpdates(-1), 0);
  EXPECT_EQ(c->ChangeCount(), 0);
  EXPECT_EQ(Query("SELECT VendorNo, VendorName, State, \"E-mail\" FROM main_vnd ORDER BY VendorNo"),
            "10|Able Supply|NY|<null>;20|Acme Parts|OH|x@acme.example;31|Newco|<null>|<null>;");
  // The inserted record's assigned key is known, so it can be edited again.
  c->Locate("VendorName", "Newco", {});
  c->Edit();
  c->FieldByName("State")->SetAsString("FL");
  c->Post();
  EXPECT_EQ(c->ApplyUpdates(-1), 0);
  EXPECT_EQ(Query("SELECT State FROM main_vnd WHERE VendorNo = 31"), "FL;");
  // An inserted then deleted record leaves no entry.
  c->Append();
  c->FieldByName("VendorName")->SetAsString("Gone");
  c->Post();
  c->Delete();
  EXPECT_EQ(c->ChangeCount(), 0);
  // A provider name that names nothing.
  TClientDataSet* bad = Create<TClientDataSet>(owner_.get());
  bad->SetProviderName("Nope");
  EXPECT_TRUE(Contains(ErrorOf([&] { bad->Open(); }), "Provider 'Nope' not found"));
}

TEST_F(ClientTest, ApplyUpdatesCountsErrorsAndKeepsFailures) {
  Exec("CREATE UNIQUE INDEX vname ON main_vnd(VendorName)");
  TClientDataSet* c = Client();
  c->Open();
  String before = Query("SELECT * FROM main_vnd ORDER BY VendorNo");
  c->First();
  c->Edit();
  c->FieldByName("VendorName")->SetAsString("Acme Parts");  // violates the index
  c->Post();
  c->Last();
  c->Edit();
  c->FieldByName("VendorName")->SetAsString("Acme Parts");  // so does this
  c->Post();
  c->Prior();
  c->Edit();
  c->FieldByName("State")->SetAsString("ME");  // fine
  c->Post();
  EXPECT_EQ(c->ApplyUpdates(0), 1);  // stops at the first failure
  EXPECT_EQ(c->ChangeCount(), 3);
  EXPECT_EQ(Query("SELECT * FROM main_vnd ORDER BY VendorNo"), before);
  EXPECT_TRUE(Contains(c->ApplyError(), "UNIQUE")) << c->ApplyError();
  EXPECT_EQ(c->ApplyUpdates(-1), 2);
  EXPECT_EQ(c->ChangeCount(), 2);
  EXPECT_EQ(Query("SELECT State FROM main_vnd WHERE VendorNo = 20"), "ME;");
  TDataSet* src =
      static_cast<TDataSetProvider*>(owner_->FindComponent("VendorsProvider"))->DataSet();
  EXPECT_EQ(src->State(), dsBrowse);
  // Refresh with pending changes refuses; CancelUpdates re-fetches.
  EXPECT_TRUE(Contains(ErrorOf([&] { c->Refresh(); }), "pending changes"));
  c->CancelUpdates();
  EXPECT_EQ(c->ChangeCount(), 0);
  EXPECT_EQ(Column(c, "VendorName"), "Able Supply Acme Parts Cobalt Works");
}

TEST_F(ClientTest, FilteredViewsAndRefreshThroughTheProvider) {
  TClientDataSet* pref = Client("VendorsProvider2");
  TClientDataSet* non = Client("VendorsProvider2");
  pref->SetFilter("Preferred = true");
  pref->SetFiltered(true);
  non->SetFilter("Preferred <> true");
  non->SetFiltered(true);
  pref->Open();
  non->Open();
  EXPECT_EQ(Column(pref, "VendorNo"), "20 30");
  EXPECT_EQ(Column(non, "VendorNo"), "10");
  // A record that stops matching leaves the view; other bookmarks stay.
  pref->First();
  TBookmark moved = pref->Bookmark();
  pref->Next();
  TBookmark kept = pref->Bookmark();
  pref->First();
  pref->Edit();
  pref->FieldByName("Preferred")->SetAsBoolean(false);
  pref->Post();
  EXPECT_EQ(pref->RecordCount(), 1);
  EXPECT_FALSE(pref->BookmarkValid(moved));
  EXPECT_TRUE(pref->BookmarkValid(kept));
  EXPECT_EQ(pref->FieldByName("VendorNo")->AsInteger(), 30);
  EXPECT_EQ(pref->ApplyUpdates(-1), 0);
  non->Locate("VendorNo", 10, {});
  non->Refresh();
  EXPECT_EQ(Column(non, "VendorNo"), "10 20");
  // Refresh keeps the current record when it still exists.
  non->Locate("VendorNo", 20, {});
  Exec("INSERT INTO main_vnd (VendorNo, VendorName, Preferred) VALUES (5, 'Early', 0)");
  non->Refresh();  // the provider re-reads its table
  EXPECT_EQ(non->FieldByName("VendorNo")->AsInteger(), 20);
  EXPECT_EQ(non->RecNo(), 3);
  // Turning the filter off shows everything.
  non->SetFiltered(false);
  EXPECT_EQ(non->RecordCount(), 4);
  EXPECT_EQ(non->FieldByName("VendorNo")->AsInteger(), 20);
}

TEST_F(ClientTest, FilterLanguage) {
  TClientDataSet* c = Client();
  c->Open();
  auto rows = [&](const String& filter) {
    c->SetFilter(filter);
    c->SetFiltered(true);
    return Column(c, "VendorNo");
  };
  EXPECT_EQ(rows("ContractCount > 50"), "30");
  EXPECT_EQ(rows("ContractCount >= 50 and not (State = 'CA')"), "10");
  EXPECT_EQ(rows("State = 'NY' or State = 'CA'"), "10 30");
  // Null comparisons are unknown: neither = nor <> matches a null State.
  EXPECT_EQ(rows("State <> 'NY'"), "30");
  EXPECT_EQ(rows("not (State = 'NY')"), "30");
  EXPECT_EQ(rows("State is null"), "20");
  EXPECT_EQ(rows("State IS NOT NULL and [E-mail] is not null"), "30");
  EXPECT_EQ(rows("LastContractDate < '2021-01-01'"), "10");
  EXPECT_EQ(rows("VendorName < 'Acme Parts'"), "10");
  EXPECT_EQ(rows("VendorName = 'able supply'"), "");
  c->SetFilterCaseInsensitive(true);
  EXPECT_EQ(rows("VendorName = 'able supply'"), "10");
  EXPECT_EQ(rows("CreditSum <= 10.0 or Preferred"), "10 20 30");
  EXPECT_EQ(rows("Address = 'it''s'"), "");
  // Errors: the position of a syntax error, unknown fields, unsuitable values.
  EXPECT_TRUE(Contains(ErrorOf([&] { c->SetFilter("State = "); }), "position 9"));
  EXPECT_TRUE(Contains(ErrorOf([&] { c->SetFilter("(State = 'NY'"); }), "')' expected"));
  EXPECT_TRUE(Contains(ErrorOf([&] { c->SetFilter("State = 'NY"); }), "unterminated"));
  EXPECT_TRUE(Contains(ErrorOf([&] { c->SetFilter("State 'NY'"); }), "position 7"));
  EXPECT_TRUE(Contains(ErrorOf([&] { c->SetFilter("Nope = 1"); }), "Field 'Nope' not found"));
  EXPECT_TRUE(Contains(ErrorOf([&] { c->SetFilter("ContractCount = 'x'"); }), "does not suit"));
  EXPECT_EQ(c->Filter(), "Address = 'it''s'");  // a rejected filter changes nothing
  EXPECT_EQ(Column(c, "VendorNo"), "");
  // An unfiltered dataset only parses: unknown fields wait for Filtered.
  c->SetFiltered(false);
  c->SetFilter("Nope = 1");
  c->SetIndexFieldNames("VendorName");
  EXPECT_EQ(c->RecordCount(), 3);
  EXPECT_TRUE(Contains(ErrorOf([&] { c->SetFiltered(true); }), "Field 'Nope' not found"));
  EXPECT_FALSE(c->Filtered());
  String deep(500, '(');
  EXPECT_TRUE(Contains(ErrorOf([&] { c->SetFilter(deep); }), "nested"));
}

TEST_F(ClientTest, IndexesResortWithStableBookmarks) {
  Exec("INSERT INTO main_vnd (VendorNo, VendorName, State) VALUES (40, 'acme lower', 'CA')");
  TClientDataSet* c = Client();
  c->IndexDefs()->Add("Default", "VendorName");
  c->SetIndexName("Default");
  c->Open();
  EXPECT_EQ(Column(c, "VendorNo"), "10 20 30 40");
  c->Locate("VendorNo", 30, {});
  TBookmark mark = c->Bookmark();
  c->SetIndexFieldNames("State;VendorNo");
  EXPECT_EQ(c->IndexName(), "");
  EXPECT_EQ(c->FieldByName("VendorNo")->AsInteger(), 30);  // stays on the record
  EXPECT_EQ(Column(c, "VendorNo"), "20 30 40 10");         // nulls first
  c->GotoBookmark(mark);
  EXPECT_EQ(c->RecNo(), 2);
  c->IndexDefs()->Add("ByNameDesc", "VendorName", "VendorName", "VendorName");
  c->SetIndexName("ByNameDesc");
  EXPECT_EQ(Column(c, "VendorNo"), "30 20 40 10");
  c->IndexDefs()->Add("CaseSens", "State;VendorName", "VendorName");
  c->SetIndexName("CaseSens");
  EXPECT_EQ(Column(c, "VendorNo"), "20 40 30 10");
  // A posted record moves to its sorted place.
  c->Locate("VendorNo", 10, {});
  c->Edit();
  c->FieldByName("State")->SetAsString("AK");
  c->Post();
  EXPECT_EQ(c->RecNo(), 2);
  c->Append();
  c->FieldByName("VendorName")->SetAsString("Mid");
  c->FieldByName("State")->SetAsString("CA");
  c->Post();
  EXPECT_EQ(Column(c, "VendorName"), "Acme Parts Able Supply acme lower Mid Cobalt Works");
  EXPECT_TRUE(c->BookmarkValid(mark));
  // Unknown fields and indexes.
  EXPECT_TRUE(Contains(ErrorOf([&] { c->SetIndexFieldNames("Nope"); }), "Field 'Nope' not found"));
  EXPECT_TRUE(Contains(ErrorOf([&] { c->SetIndexName("Nope"); }), "Index 'Nope' not found"));
  // IndexDefs streaming-style use: delete the first, count.
  EXPECT_EQ(c->IndexDefs()->Count(), 3);
  c->IndexDefs()->Delete(2);  // the active one: back to the provider's order
  EXPECT_EQ(c->IndexName(), "");
  EXPECT_EQ(c->IndexDefs()->Count(), 2);
  EXPECT_EQ(Column(c, "VendorName"), "Able Supply Acme Parts Cobalt Works acme lower Mid");
}

TEST_F(ClientTest, WithoutProvider) {
  auto* c = Create<TClientDataSet>(owner_.get());
  c->FieldDefs()->Add("ID", ftInteger);
  c->FieldDefs()->Add("Name", ftString, 10);
  c->CreateDataSet();
  c->AppendRecord({2, "b"});
  c->AppendRecord({1, "a"});
  c->SetIndexFieldNames("ID");
  EXPECT_EQ(Column(c, "Name"), "a b");
  EXPECT_EQ(c->ChangeCount(), 2);
  EXPECT_TRUE(Contains(ErrorOf([&] { c->ApplyUpdates(-1); }), "Missing data provider"));
  c->Close();
  EXPECT_TRUE(Contains(ErrorOf([&] { c->Open(); }), "Missing data provider"));
}

TEST(SqliteTable, QuoteIdentifier) {
  EXPECT_EQ(TSqliteTable::QuoteIdentifier("E-mail"), "\"E-mail\"");
  EXPECT_EQ(TSqliteTable::QuoteIdentifier("a\"b"), "\"a\"\"b\"");
  EXPECT_EQ(TSqliteTable::QuoteIdentifier(""), "\"\"");
}

}  // namespace
