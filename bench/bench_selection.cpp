// The grid's selection and the quick record set at the size of a whole
// dataset: selecting a range of every record, one membership test against
// such a selection, and sorting a quick record set by two fields.
#include <benchmark/benchmark.h>

#include "bench_grid_fixture.h"

#include <memory>

#include "backend/offscreen_backend.h"
#include "bv/columns.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "bv_db/quick_record_set.h"
#include "controls/forms.h"
#include "controls/wincore.h"
#include "db/datasource.h"

using namespace brevant;

namespace {

using bench::TGridOnTable;

// The bookmark of the last record; the dataset is left on the first.
TBookmark LastBookmark(TDataSet* ds) {
  ds->Last();
  TBookmark last = ds->Bookmark();
  ds->First();
  return last;
}

// Selecting every record from the first to the last (a Shift-extended
// selection over the whole dataset); the previous selection is cleared
// outside the measured time.
void BM_SelectRange(benchmark::State& state) {
  TGridOnTable f(static_cast<Integer>(state.range(0)));
  const TBookmark last = LastBookmark(f.ds.get());
  TtlSelection* selection = f.grid->Selection();
  for (auto _ : state) {
    state.PauseTiming();
    selection->Clear(false, false);
    state.ResumeTiming();
    selection->SelectRange(last);
  }
  state.counters["selected"] = selection->SelectedCount();
}
BENCHMARK(BM_SelectRange)->Arg(100000)->Unit(benchmark::kMillisecond);

// One membership test against a selection of every record, cycling through
// records spread over the dataset.
void BM_IsSelected(benchmark::State& state) {
  const Integer records = static_cast<Integer>(state.range(0));
  TGridOnTable f(records);
  TtlSelection* selection = f.grid->Selection();
  selection->SelectRange(LastBookmark(f.ds.get()));
  std::vector<TBookmark> probes;
  for (Integer i = 0; i < 64; ++i) {
    f.ds->SetRecNo(1 + (i * 7919) % records);
    probes.push_back(f.ds->Bookmark());
  }
  std::size_t next = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(selection->IsSelected(probes[next]));
    next = (next + 1) % probes.size();
  }
  state.counters["selected"] = selection->SelectedCount();
}
BENCHMARK(BM_IsSelected)->Arg(100000)->Unit(benchmark::kNanosecond);

// Sorting a quick record set by a string field and, among equal strings,
// by an integer field descending; the set is unsorted outside the
// measured time.
void BM_QuickSort(benchmark::State& state) {
  const Integer rows = static_cast<Integer>(state.range(0));
  TObjectPtr<TznQuickRecordSet> set(Create<TznQuickRecordSet>());
  set->Fields()->AddField("Name", ftString, 20);
  set->Fields()->AddField("Age", ftInteger, 0);
  TznQRSField* name = set->Fields()->Find("Name");
  TznQRSField* age = set->Fields()->Find("Age");
  set->BeginUpdate();
  std::uint32_t seed = 12345;
  for (Integer i = 0; i < rows; ++i) {
    const Integer row = set->Append();
    seed = seed * 1664525u + 1013904223u;
    set->ValueAt(name, row)->SetAsString("Name " + IntToStr(static_cast<Integer>(seed >> 20)));
    set->ValueAt(age, row)->SetAsInteger(static_cast<Integer>((seed >> 8) % 100));
  }
  set->EndUpdate();
  for (auto _ : state) {
    state.PauseTiming();
    set->SetSortString("");
    state.ResumeTiming();
    set->SetSortString("Name, Age desc");
  }
  state.counters["rows"] = set->RowCount();
}
BENCHMARK(BM_QuickSort)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
