// The SQLite table and the client dataset on a vendor-shaped table: opening
// reads every row, and switching the index or the filter rebuilds the view,
// so each must stay proportional to the row count. BM_SqliteRawScan is the
// floor the others are compared with in the same run: a plain sqlite3_step
// loop reading every column of the same table.
#include <sqlite3.h>
#include <unistd.h>

#include <benchmark/benchmark.h>
#include <cstdio>
#include <fstream>
#include <map>
#include <stdexcept>
#include <string>

#include "db/client_dataset.h"
#include "db/provider.h"
#include "db/sqlite_table.h"

using namespace brevant;

namespace {

// The files made so far by row count, removed at exit.
class TBenchFiles {
 public:
  ~TBenchFiles() {
    for (auto& [rows, path] : files_) std::remove(path.c_str());
  }
  // A database with a main_vnd table of the given number of rows, made once.
  const String& Get(Integer rows) {
    auto it = files_.find(rows);
    if (it != files_.end()) return it->second;
    String path =
        "/tmp/bv_bench_vendors_" + std::to_string(getpid()) + "_" + std::to_string(rows) + ".db";
    Make(path, rows);
    return files_[rows] = path;
  }

 private:
  static void Check(sqlite3* db, int rc) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
      throw std::runtime_error(sqlite3_errmsg(db));
  }
  static void Make(const String& path, Integer rows) {
    std::remove(path.c_str());
    sqlite3* db = nullptr;
    Check(db, sqlite3_open(path.c_str(), &db));
    Check(db, sqlite3_exec(db,
                           "CREATE TABLE main_vnd(VendorNo INTEGER PRIMARY KEY, VendorName "
                           "VARCHAR(40), Address MEMO, State VARCHAR(2), Phone VARCHAR(12), "
                           "\"E-mail\" VARCHAR(60), LastContractDate DATETIME, ContractCount "
                           "INTEGER, IndustryID VARCHAR(10), CreditSum CURRENCY, DebitSum "
                           "CURRENCY, Preferred BOOLEAN, Picture GRAPHIC, Flags VARCHAR(20));"
                           "BEGIN",
                           nullptr, nullptr, nullptr));
    sqlite3_stmt* st = nullptr;
    Check(db, sqlite3_prepare_v2(
                  db, "INSERT INTO main_vnd VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, NULL, ?)",
                  -1, &st, nullptr));
    static const char* const states[] = {"CA", "FL", "GA", "IL", "NY", "OH"};
    static const char* const industries[] = {"Aero", "Auto",  "Comp", "Hotel",
                                             "Med",  "SoftW", "Tele"};
    std::uint64_t x = 88172645463325252ull;  // xorshift64: names in scattered order
    for (Integer i = 1; i <= rows; ++i) {
      x ^= x << 13;
      x ^= x >> 7;
      x ^= x << 17;
      std::string name = "Vendor " + std::to_string(x % 1000003);
      std::string address = std::to_string(i % 9000) + " Mill Road\r\nLarkmoor";
      std::string phone = (i % 5 ? "415-555-01" : "800-555-01") + std::to_string(10 + i % 90);
      std::string mail = "sales@v" + std::to_string(i) + ".example";
      std::string date = "20" + std::to_string(10 + i % 15) + "-0" + std::to_string(1 + i % 9) +
                         "-1" + std::to_string(i % 9) + " 12:30:00";
      sqlite3_reset(st);
      sqlite3_bind_int64(st, 1, i);
      sqlite3_bind_text(st, 2, name.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(st, 3, address.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(st, 4, states[i % 6], -1, SQLITE_STATIC);
      sqlite3_bind_text(st, 5, phone.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(st, 6, mail.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_text(st, 7, date.c_str(), -1, SQLITE_TRANSIENT);
      sqlite3_bind_int64(st, 8, static_cast<sqlite3_int64>(x % 2000));
      sqlite3_bind_text(st, 9, industries[i % 7], -1, SQLITE_STATIC);
      sqlite3_bind_double(st, 10, static_cast<double>(x % 10000000) / 100);
      sqlite3_bind_double(st, 11, static_cast<double>((x >> 20) % 10000000) / 100);
      sqlite3_bind_int(st, 12, static_cast<int>(x >> 40) & 1);
      sqlite3_bind_text(st, 13, i % 3 ? "net30" : "rush,audit", -1, SQLITE_STATIC);
      Check(db, sqlite3_step(st));
    }
    sqlite3_finalize(st);
    Check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
    sqlite3_close(db);
  }

  std::map<Integer, String> files_;
};

TBenchFiles& Files() {
  static TBenchFiles files;
  return files;
}

TObjectPtr<TSqliteTable> MakeTable(Integer rows) {
  TObjectPtr<TSqliteTable> t = MakeObject<TSqliteTable>();
  t->SetDatabaseName(Files().Get(rows));
  t->SetTableName("main_vnd");
  return t;
}

// A table, its provider and an open client dataset over it.
struct TClientSetup {
  TObjectPtr<TSqliteTable> table;
  TObjectPtr<TDataSetProvider> provider = MakeObject<TDataSetProvider>();
  TObjectPtr<TClientDataSet> client = MakeObject<TClientDataSet>();
  explicit TClientSetup(Integer rows) : table(MakeTable(rows)) {
    table->Open();
    provider->SetDataSet(table.get());
    client->SetProvider(provider.get());
    client->Open();
  }
};

// The resident set size of the process in bytes.
double ResidentBytes() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// Reads every column of every row the way the table's query does, answering
// the bytes of the values (text and blob lengths, 8 per number).
double ScanRaw(const String& path) {
  sqlite3* db = nullptr;
  sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
  sqlite3_stmt* st = nullptr;
  sqlite3_prepare_v2(db, "SELECT * FROM main_vnd ORDER BY VendorNo", -1, &st, nullptr);
  double bytes = 0;
  int columns = sqlite3_column_count(st);
  while (sqlite3_step(st) == SQLITE_ROW) {
    for (int i = 0; i < columns; ++i) {
      switch (sqlite3_column_type(st, i)) {
        case SQLITE_INTEGER:
          benchmark::DoNotOptimize(sqlite3_column_int64(st, i));
          bytes += 8;
          break;
        case SQLITE_FLOAT:
          benchmark::DoNotOptimize(sqlite3_column_double(st, i));
          bytes += 8;
          break;
        case SQLITE_TEXT:
          benchmark::DoNotOptimize(sqlite3_column_text(st, i));
          bytes += sqlite3_column_bytes(st, i);
          break;
        case SQLITE_BLOB:
          benchmark::DoNotOptimize(sqlite3_column_blob(st, i));
          bytes += sqlite3_column_bytes(st, i);
          break;
        default:
          break;
      }
    }
  }
  sqlite3_finalize(st);
  sqlite3_close(db);
  return bytes;
}

void BM_SqliteRawScan(benchmark::State& state) {
  const String& path = Files().Get(static_cast<Integer>(state.range(0)));
  double bytes = 0;
  for (auto _ : state) bytes = ScanRaw(path);
  state.counters["raw_MB"] = bytes / 1e6;
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SqliteRawScan)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Opening the table reads and converts every row; closing frees them.
void BM_TableOpen(benchmark::State& state) {
  Integer rows = static_cast<Integer>(state.range(0));
  TObjectPtr<TSqliteTable> t = MakeTable(rows);
  double before = ResidentBytes();
  t->Open();
  state.counters["rss_MB_before"] = before / 1e6;
  state.counters["rss_MB_open"] = ResidentBytes() / 1e6;
  t->Close();
  for (auto _ : state) {
    t->Open();
    benchmark::DoNotOptimize(t->RecordCount());
    t->Close();
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_TableOpen)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Opening the client dataset over an open table through a provider.
void BM_ClientOpen(benchmark::State& state) {
  Integer rows = static_cast<Integer>(state.range(0));
  TObjectPtr<TSqliteTable> t = MakeTable(rows);
  TObjectPtr<TDataSetProvider> provider = MakeObject<TDataSetProvider>();
  TObjectPtr<TClientDataSet> client = MakeObject<TClientDataSet>();
  t->Open();
  provider->SetDataSet(t.get());
  client->SetProvider(provider.get());
  double before = ResidentBytes();
  client->Open();
  state.counters["rss_MB_before"] = before / 1e6;
  state.counters["rss_MB_open"] = ResidentBytes() / 1e6;
  client->Close();
  for (auto _ : state) {
    client->Open();
    benchmark::DoNotOptimize(client->RecordCount());
    client->Close();
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_ClientOpen)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Switching to a two-field index whose second field is descending and
// case-insensitive. The switch away, to an index on another field (so that
// every timed switch sorts afresh), is not timed.
void BM_IndexSwitch(benchmark::State& state) {
  TClientSetup s(static_cast<Integer>(state.range(0)));
  s.client->IndexDefs()->Add("ByStateName", "State;VendorName", "VendorName", "VendorName");
  for (auto _ : state) {
    s.client->SetIndexName("ByStateName");
    state.PauseTiming();
    s.client->SetIndexFieldNames("Phone");
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_IndexSwitch)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Opening reads and converts every row; closing frees them.
void BM_OpenTable(benchmark::State& state) {
  Integer rows = static_cast<Integer>(state.range(0));
  TObjectPtr<TSqliteTable> t = MakeTable(rows);
  for (auto _ : state) {
    t->Open();
    benchmark::DoNotOptimize(t->RecordCount());
    t->Close();
  }
  state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_OpenTable)->Arg(100000)->Unit(benchmark::kMillisecond);

// Sorting the view by a string field, then back to the provider's order.
void BM_IndexSort(benchmark::State& state) {
  TClientSetup s(static_cast<Integer>(state.range(0)));
  for (auto _ : state) {
    s.client->SetIndexFieldNames("VendorName");
    s.client->SetIndexFieldNames("");
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_IndexSort)->Arg(100000)->Unit(benchmark::kMillisecond);

// Turning a boolean filter on (evaluated on every record) and off.
void BM_FilterToggle(benchmark::State& state) {
  TClientSetup s(static_cast<Integer>(state.range(0)));
  s.client->SetFilter("Preferred = true");
  for (auto _ : state) {
    s.client->SetFiltered(true);
    benchmark::DoNotOptimize(s.client->RecordCount());
    s.client->SetFiltered(false);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FilterToggle)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
