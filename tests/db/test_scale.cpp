// Datasets at scale: the client dataset's indexes and filters read the store
// in place (checked against a simple model on nulls, mixed case, shared
// prefixes, non-ASCII text and descending keys), both ways a provider hands
// rows over, and the table's handling of values, locks and memory it cannot
// have.
#include <sqlite3.h>
#include <sys/resource.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <functional>
#include <random>

#include "db/client_dataset.h"
#include "db/db_test_util.h"
#include "db/provider.h"
#include "db/sqlite_table.h"
#include "db/sqlite_test_util.h"
#include "error_text.h"
#include "rtl/strutils.h"

namespace dbtest {
namespace {

using brevant::test::ErrorOf;

bool Contains(const String& s, const String& part) {
  return s.find(part) != String::npos;
}

// One record of the model: null is an empty optional.
struct TModelRow {
  Integer id = 0;
  std::optional<String> name;
  std::optional<double> amount;
  std::optional<bool> flag;
};

// Texts that share long prefixes, differ only in case, carry non-ASCII
// letters, or are empty.
const std::vector<String> kNames = {
    "Vendor Supplies International 0001",
    "Vendor Supplies International 0002",
    "vendor supplies international 0001",
    "Vendor",
    "vendor",
    "VENDOR",
    "Ärger & Co",
    "ärger & co",
    "Zeta",
    "zeta",
    "éclair",
    "Eclair",
    "",
    "a",
    "A",
    "Vendor Supplies International 000",
    "Vendor Supplies International 0001 and more",
};

// One key of an index in the model.
struct TModelKey {
  String field;  // "Name", "Amount" or "Flag"
  bool desc;     // descending
  bool caseIns;  // ignoring case
};

class ScaleTest : public SqliteFileTest {
 protected:
  void SetUp() override { CreateDatabase("bv_scale_test_", "CREATE TABLE t(x INTEGER);"); }

  // A store of random rows, and its model.
  TMemDataSet* MakeStore(Integer n, unsigned seed) {
    std::mt19937 rng(seed);
    auto* ds = Create<TMemDataSet>(owner_.get());
    ds->FieldDefs()->Add("ID", ftInteger);
    ds->FieldDefs()->Add("Name", ftString, 60);
    ds->FieldDefs()->Add("Amount", ftFloat);
    ds->FieldDefs()->Add("Flag", ftBoolean);
    model_.clear();
    for (Integer i = 1; i <= n; ++i) {
      TModelRow m;
      m.id = i;
      if (rng() % 8) m.name = kNames[rng() % kNames.size()];
      if (rng() % 6) m.amount = static_cast<double>(static_cast<int>(rng() % 41) - 20) / 4;
      if (rng() % 5) m.flag = rng() % 2 == 0;
      model_.push_back(m);
      ds->AppendRow({i, m.name ? Variant(*m.name) : Variant::Null(),
                     m.amount ? Variant(*m.amount) : Variant::Null(),
                     m.flag ? Variant(*m.flag) : Variant::Null()});
    }
    return ds;
  }

  // The model's IDs in the order of an index: nulls first, then values
  // (texts by bytes, or ignoring case as the platform collates), stable.
  String ModelOrder(const std::vector<TModelKey>& keys) const {
    std::vector<TModelRow> rows = model_;
    auto compare = [](const TModelRow& a, const TModelRow& b, const TModelKey& k) -> Integer {
      auto nulls = [](bool an, bool bn) { return Integer(bn) - Integer(an); };
      if (k.field == "Name") {
        if (!a.name || !b.name) return nulls(!a.name, !b.name);
        return k.caseIns ? AnsiCompareText(*a.name, *b.name) : CompareStr(*a.name, *b.name);
      }
      if (k.field == "Amount") {
        if (!a.amount || !b.amount) return nulls(!a.amount, !b.amount);
        return *a.amount < *b.amount ? -1 : *a.amount > *b.amount ? 1 : 0;
      }
      if (!a.flag || !b.flag) return nulls(!a.flag, !b.flag);
      return Integer(*a.flag) - Integer(*b.flag);
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const TModelRow& a, const TModelRow& b) {
      for (const TModelKey& k : keys) {
        Integer c = compare(a, b, k);
        if (c != 0) return k.desc ? c > 0 : c < 0;
      }
      return false;
    });
    String s;
    for (const TModelRow& r : rows) s += (s.empty() ? "" : " ") + IntToStr(r.id);
    return s;
  }

  std::vector<TModelRow> model_;
};

// Index definitions as field lists and their model keys.
struct TIndexCase {
  const char* name;
  const char* fields;
  const char* desc;
  const char* caseIns;
  std::vector<TModelKey> keys;
};

const std::vector<TIndexCase>& IndexCases() {
  static const std::vector<TIndexCase> cases = {
      {"text ascending", "Name", "", "", {{"Name", false, false}}},
      {"text descending ignoring case", "Name", "Name", "Name", {{"Name", true, true}}},
      {"text ignoring case", "Name", "", "Name", {{"Name", false, true}}},
      {"boolean then number descending",
       "Flag;Amount",
       "Amount",
       "",
       {{"Flag", false, false}, {"Amount", true, false}}},
      {"number then text ignoring case descending",
       "Amount;Name",
       "Name",
       "Name",
       {{"Amount", false, false}, {"Name", true, true}}},
      {"four keys, more than are encoded",
       "Flag;Name;Amount;ID",
       "Amount",
       "",
       {{"Flag", false, false}, {"Name", false, false}, {"Amount", true, false}}},
  };
  return cases;
}

TEST_F(ScaleTest, IndexesMatchTheModelForEitherProviderPath) {
  // A store-backed provider hands its records over in their record format;
  // a client dataset as the source goes row by row.
  for (bool throughClient : {false, true}) {
    SCOPED_TRACE(throughClient ? "rows" : "store copy");
    TMemDataSet* store = MakeStore(400, 7);
    TDataSet* source = store;
    if (throughClient) {
      TClientDataSet* middle = Client(Provider(store));
      middle->Open();
      source = middle;
    }
    TClientDataSet* c = Client(Provider(source));
    for (const TIndexCase& k : IndexCases())
      c->IndexDefs()->Add(k.name, k.fields, k.desc, k.caseIns);
    c->Open();
    EXPECT_EQ(c->RecordCount(), 400);
    for (int round = 0; round < 2; ++round) {
      for (const TIndexCase& k : IndexCases()) {
        SCOPED_TRACE(k.name);
        c->SetIndexName(k.name);
        EXPECT_EQ(Column(c, "ID"), ModelOrder(k.keys));
      }
      // An edit changes the order the next switch gives, even back to an
      // index sorted before.
      c->SetIndexName("");
      c->Locate("ID", 17, {});
      c->Edit();
      c->FieldByName("Name")->SetAsString("Vendor Supplies International 0001 changed");
      c->FieldByName("Amount")->Clear();
      c->Post();
      model_[16].name = "Vendor Supplies International 0001 changed";
      model_[16].amount.reset();
    }
  }
}

TEST_F(ScaleTest, EmptiedClientSortsAndFiltersNothing) {
  TClientDataSet* c = Client(Provider(MakeStore(50, 3)));
  c->Open();
  String e = ErrorOf([&] { c->EmptyDataSet(); });
  c->SetIndexFieldNames("Name");
  EXPECT_EQ(c->RecordCount(), 0) << e;
  c->SetFilter("Amount > 0");
  c->SetFiltered(true);
  EXPECT_EQ(c->RecordCount(), 0);
  EXPECT_TRUE(c->Eof());
}

// Filters on the same rows, with their model predicates.
struct TFilterCase {
  const char* filter;
  bool caseIns;
  std::function<bool(const TModelRow&)> passes;
};

TEST_F(ScaleTest, FiltersMatchTheModel) {
  auto less = [](const std::optional<String>& s, const char* t, bool ci) {
    return s && (ci ? AnsiCompareText(*s, t) : CompareStr(*s, t)) < 0;
  };
  const std::vector<TFilterCase> cases = {
      {"Amount > 2.5", false, [](const TModelRow& r) { return r.amount && *r.amount > 2.5; }},
      {"Amount <= -1 or Flag", false,
       [](const TModelRow& r) { return (r.amount && *r.amount <= -1) || (r.flag && *r.flag); }},
      {"not Flag", false, [](const TModelRow& r) { return r.flag && !*r.flag; }},
      {"Name = 'vendor'", false, [](const TModelRow& r) { return r.name && *r.name == "vendor"; }},
      {"Name = 'vendor'", true,
       [](const TModelRow& r) { return r.name && AnsiCompareText(*r.name, "vendor") == 0; }},
      {"Name < 'Vendor Supplies International 0002'", false,
       [&](const TModelRow& r) {
         return less(r.name, "Vendor Supplies International 0002", false);
       }},
      {"Name < 'ärger'", true, [&](const TModelRow& r) { return less(r.name, "ärger", true); }},
      {"Name is null and Amount is not null", false,
       [](const TModelRow& r) { return !r.name && r.amount; }},
      {"Name <> '' and not (Amount < 0)", false,
       [](const TModelRow& r) { return r.name && *r.name != "" && r.amount && *r.amount >= 0; }},
  };
  TClientDataSet* c = Client(Provider(MakeStore(400, 11)));
  c->Open();
  for (const TFilterCase& f : cases) {
    SCOPED_TRACE(f.filter);
    c->SetFilterCaseInsensitive(f.caseIns);
    c->SetFilter(f.filter);
    c->SetFiltered(true);
    String expected;
    for (const TModelRow& r : model_)
      if (f.passes(r)) expected += (expected.empty() ? "" : " ") + IntToStr(r.id);
    EXPECT_EQ(Column(c, "ID"), expected);
    c->SetFiltered(false);
  }
}

TEST_F(ScaleTest, StoreGrowsAndReclaimsReplacedTexts) {
  // Loading without a known count grows the store; edits that replace long
  // texts again and again keep every value right while the replaced ones
  // are reclaimed (several times over here).
  auto* ds = Create<TMemDataSet>(owner_.get());
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Name", ftString, 2000);
  for (Integer i = 1; i <= 3000; ++i) ds->AppendRow({i, String(1500, char('a' + i % 3))});
  ds->Open();
  EXPECT_EQ(ds->RecordCount(), 3000);
  for (Integer round = 0; round < 3000; ++round) {
    ds->SetRecNo(round % 3 + 1);
    ds->Edit();
    ds->FieldByName("Name")->SetAsString(String(1500, char('d' + round % 20)) + IntToStr(round));
    ds->Post();
  }
  ds->First();
  for (Integer i = 0; i < 3; ++i) {
    Integer last = 2997 + i;
    EXPECT_EQ(ds->FieldByName("Name")->AsString(),
              String(1500, char('d' + last % 20)) + IntToStr(last));
    ds->Next();
  }
}

// Values a column's declared type does not describe, one row each.
struct TLieCase {
  const char* name;
  const char* column;
  const char* stored;    // an SQL literal
  const char* expected;  // the field's text, or nullptr for null (and reported)
};

TEST_F(ScaleTest, LyingDeclaredTypesReadAsNullAndAreReportedOnce) {
  const std::vector<TLieCase> cases = {
      {"text in INTEGER", "I", "'many'", nullptr},
      {"number text in INTEGER", "I", "' 12 '", "12"},
      {"hexadecimal text in INTEGER", "I", "'$FF'", "255"},
      {"fraction in INTEGER", "I", "2.5", nullptr},
      {"out of INTEGER's range", "I", "9000000000", nullptr},
      {"text in REAL", "R", "'abc'", nullptr},
      {"malformed date", "D", "'2020-13-01'", nullptr},
      {"number in DATETIME", "D", "12345", nullptr},
      {"word in BOOLEAN", "B", "'yes'", "True"},
      {"garbage in BOOLEAN", "B", "'maybe'", nullptr},
      {"text longer than VARCHAR", "S", "'abcdef'", nullptr},
  };
  Exec(
      "CREATE TABLE lies(ID INTEGER PRIMARY KEY, I INTEGER, R REAL, D DATETIME, B BOOLEAN,"
      " S VARCHAR(3))");
  for (std::size_t i = 0; i < cases.size(); ++i)
    Exec("INSERT INTO lies (ID, " + String(cases[i].column) + ") VALUES (" +
         IntToStr(static_cast<Integer>(i) + 1) + ", " + cases[i].stored + ")");
  TSqliteTable* t = SqliteFileTest::Table("lies");
  Integer reports = 0;
  t->OnBadValues = TNotifyEvent::FromCallable([&](TObject*) { ++reports; });
  t->Open();
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(t->RecordCount(), static_cast<Integer>(cases.size()));
  std::size_t bad = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const TLieCase& k = cases[i];
    SCOPED_TRACE(k.name);
    ASSERT_TRUE(t->Locate("ID", static_cast<Integer>(i) + 1, {}));
    TField* f = t->FieldByName(k.column);
    if (k.expected) {
      EXPECT_EQ(f->AsString(), k.expected);
      continue;
    }
    EXPECT_TRUE(f->IsNull());
    ASSERT_LT(bad, t->BadValues().size());
    const TSqliteTable::TBadValue& b = t->BadValues()[bad++];
    EXPECT_EQ(b.column, k.column);
    EXPECT_EQ(b.row, static_cast<Integer>(i) + 1);
  }
  EXPECT_EQ(t->BadValueCount(), static_cast<Integer>(bad));
  EXPECT_TRUE(Contains(t->BadValues()[0].message, "many"));
  // Once the values are mended, a refresh reads them and reports nothing.
  Exec("UPDATE lies SET I = NULL, R = NULL, D = NULL, B = NULL, S = NULL");
  t->Refresh();
  EXPECT_EQ(t->BadValueCount(), 0);
  EXPECT_EQ(reports, 1);
}

TEST_F(ScaleTest, LockedDatabaseNamesTheTableAndStaysClosed) {
  Exec(
      "CREATE TABLE vnd(ID INTEGER PRIMARY KEY, Name VARCHAR(10)); INSERT INTO vnd VALUES (1, "
      "'a')");
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(path_.c_str(), &other), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
  TSqliteTable* t = SqliteFileTest::Table("vnd");
  t->SetBusyTimeout(20);
  String e = ErrorOf([&] { t->Open(); });
  EXPECT_TRUE(Contains(e, "EDatabaseError") && Contains(e, "'vnd'") && Contains(e, "locked")) << e;
  EXPECT_FALSE(t->Active());
  sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
  sqlite3_close(other);
  t->Open();
  EXPECT_EQ(t->RecordCount(), 1);
}

#if !defined(__SANITIZE_ADDRESS__)
// The bytes of address space the process has mapped.
std::size_t MappedBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  statm >> pages;
  return pages * static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
}
#endif

TEST_F(ScaleTest, RunningOutOfMemoryWhileOpeningLeavesItClosed) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit allows";
#else
  // 40,000 rows of 2,000 characters: about 80 MB the store cannot get.
  Exec(
      "CREATE TABLE big(ID INTEGER PRIMARY KEY, Text VARCHAR(2000));"
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000)"
      " INSERT INTO big SELECT i, printf('%.2000c', 'x') FROM n");
  TSqliteTable* t = SqliteFileTest::Table("big");
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  auto child = [&] {
    rlimit limit{MappedBytes() + (std::size_t(24) << 20), RLIM_INFINITY};
    setrlimit(RLIMIT_AS, &limit);
    bool raised = false;
    try {
      t->Open();
    } catch (const std::bad_alloc&) {
      raised = true;
    } catch (const Exception&) {
      raised = true;  // SQLite's own allocation failed first
    }
    limit.rlim_cur = RLIM_INFINITY;
    setrlimit(RLIMIT_AS, &limit);
    std::_Exit(raised && !t->Active() && (t->Open(), t->RecordCount() == 40000) ? 0 : 1);
  };
  EXPECT_EXIT(child(), ::testing::ExitedWithCode(0), "");
#endif
}

}  // namespace
}  // namespace dbtest
