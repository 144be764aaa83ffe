// The dataset framework: scrolling cost must not grow with the record
// count, and a million records open well under a second.
#include <benchmark/benchmark.h>

#include "bench_tables.h"

#include "db/datasource.h"
#include "db/mem_dataset.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

using bench::MakeTable;

class TCountingLink : public TDataLink {
 public:
  Int64 distance = 0;

 protected:
  void DataSetScrolled(Integer d) override { distance += d; }
};

// MoveBy(1) through an open dataset with one link of 50 rows, back to the
// first record at the end.
void BM_ScrollStep(benchmark::State& state) {
  TObjectPtr<TMemDataSet> ds(MakeTable(static_cast<Integer>(state.range(0))));
  TObjectPtr<TDataSource> src(Create<TDataSource>(nullptr));
  src->SetDataSet(ds.get());
  TCountingLink link;
  link.SetBufferCount(50);
  link.SetDataSource(src.get());
  ds->Open();
  for (auto _ : state) {
    if (ds->Eof()) ds->First();
    ds->MoveBy(1);
  }
  benchmark::DoNotOptimize(link.distance);
  link.SetDataSource(nullptr);
}
BENCHMARK(BM_ScrollStep)->Arg(1000)->Arg(1000000);

// Loading a million records of five fields into the store, then opening.
void BM_LoadAndOpen(benchmark::State& state) {
  for (auto _ : state) {
    TObjectPtr<TMemDataSet> ds(MakeTable(static_cast<Integer>(state.range(0))));
    ds->Open();
    benchmark::DoNotOptimize(ds->RecordCount());
    state.PauseTiming();
    ds.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadAndOpen)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Opening a loaded store of a million records (fields, buffers, first
// window) and closing it again.
void BM_OpenLoaded(benchmark::State& state) {
  TObjectPtr<TMemDataSet> ds(MakeTable(static_cast<Integer>(state.range(0))));
  for (auto _ : state) {
    ds->Open();
    benchmark::DoNotOptimize(ds->RecordCount());
    ds->Close();
  }
}
BENCHMARK(BM_OpenLoaded)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// Locate of the last record: a full scan.
void BM_LocateLast(benchmark::State& state) {
  TObjectPtr<TMemDataSet> ds(MakeTable(static_cast<Integer>(state.range(0))));
  ds->Open();
  Integer last = static_cast<Integer>(state.range(0)) - 1;
  for (auto _ : state) {
    ds->First();
    benchmark::DoNotOptimize(ds->Locate("ID", last));
  }
}
BENCHMARK(BM_LocateLast)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
