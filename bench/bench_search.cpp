// The grid's incremental search over a whole dataset: a text that matches
// no record, searched from the first record, and a text that only the last
// record matches.
#include <benchmark/benchmark.h>

#include "bench_grid_fixture.h"
#include "bv/grid_params.h"

using namespace brevant;

namespace {

using bench::TGridOnTable;

// Searches text in column from the first record, `state` times.
void SearchFromTop(benchmark::State& state, Integer column, const String& text, bool expectFound) {
  TGridOnTable f(static_cast<Integer>(state.range(0)));
  f.grid->SelectColumn(column);
  TtlAutoSearchParams* search = f.grid->ParamsAutoSearch();
  search->SetEnablePrompt(false);
  search->Start(0);
  bool found = false;
  for (auto _ : state) {
    state.PauseTiming();
    f.ds->First();
    state.ResumeTiming();
    found = search->Search(text, true, false, false, true);
  }
  if (found != expectFound) state.SkipWithError("unexpected search result");
  search->Stop();
}

// A Name nothing starts with: every record is visited.
void BM_AutoSearchMiss(benchmark::State& state) {
  SearchFromTop(state, 1, "zzz", false);
}
BENCHMARK(BM_AutoSearchMiss)->Arg(100000)->Unit(benchmark::kMillisecond);

// The ID of the last record: only the last record starts with it.
void BM_AutoSearchHitLast(benchmark::State& state) {
  SearchFromTop(state, 0, IntToStr(state.range(0) - 1), true);
}
BENCHMARK(BM_AutoSearchHitLast)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
