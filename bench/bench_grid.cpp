// The grid: scrolling by one row costs the same whatever the number of
// records (the window contents move; only the rows that came into view are
// painted).
#include <benchmark/benchmark.h>

#include "bench_tables.h"

#include <memory>

#include "backend/offscreen_backend.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "controls/forms.h"
#include "controls/wincore.h"
#include "db/datasource.h"
#include "db/mem_dataset.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

using bench::MakeTable;

void EnsureBackend() {
  static bool installed = false;
  if (!installed) {
    SetBackend(std::make_unique<TOffscreenBackend>());
    installed = true;
  }
}

// An 800 x 600 grid over five fields: WM_VSCROLL SB_LINEDOWN, then the paint
// it causes.
void BM_GridLineDown(benchmark::State& state) {
  EnsureBackend();
  TObjectPtr<TMemDataSet> ds(MakeTable(static_cast<Integer>(state.range(0))));
  TObjectPtr<TDataSource> src(Create<TDataSource>(nullptr));
  src->SetDataSet(ds.get());
  TObjectPtr<TForm> form(Create<TForm>(nullptr));
  form->SetBounds(0, 0, 820, 640);
  auto* grid = Create<TDBTabulon>(form.get());
  grid->SetParent(form.get());
  grid->SetBounds(0, 0, 800, 600);
  grid->Columns()->AddFields(ds.get());
  for (Integer i = 0; i < grid->Columns()->Count(); ++i) grid->Columns()->Items(i)->SetWidth(150);
  grid->SetDataSource(src.get());
  form->Show();
  ds->Open();
  PumpMessages();
  for (auto _ : state) {
    if (ds->Eof()) {
      state.PauseTiming();
      ds->First();
      PumpMessages();
      state.ResumeTiming();
    }
    grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
    grid->Update();
  }
  state.counters["rows"] = grid->RowCount();
}
BENCHMARK(BM_GridLineDown)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
