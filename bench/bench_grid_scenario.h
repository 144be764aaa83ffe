// The grid of the full-HD paint benchmarks: the scenario's grid
// (grid_scenario_data.h) at 1920 x 1080 pixels, painted through a standard
// designer whose cell margins give the wanted row height.
#pragma once

#include <algorithm>
#include <chrono>
#include <map>
#include <vector>

#include "bench_grid_fixture.h"
#include "grid_scenario_data.h"

namespace brevant::bench {

// The table of `records` computed records (made once per size, kept for
// the process).
inline TMemDataSet* ScenarioTable(Integer records) {
  static std::map<Integer, TObjectPtr<TMemDataSet>> tables;
  TObjectPtr<TMemDataSet>& slot = tables[records];
  if (!slot) slot = scenario::MakeTable(records);
  return slot.get();
}

struct TScenarioGrid {
  TObjectPtr<TDataSource> src;        // the grid's source
  TObjectPtr<TForm> form;             // owns and hosts the grid and its designer
  TDBTabulon* grid = nullptr;         // the measured grid
  TStandardDesigner* look = nullptr;  // the grid's designer, owned by the form
  TCheckBoxVision* checks = nullptr;  // the Active column's vision, owned by the form

  TScenarioGrid(Integer records, Integer rowHeight) : src(Create<TDataSource>(nullptr)) {
    EnsureOffscreenBackend();
    TMemDataSet* ds = ScenarioTable(records);
    ds->Close();
    form.reset(Create<TForm>(nullptr));
    form->SetBounds(0, 0, 1940, 1100);
    look = Create<TStandardDesigner>(form.get());
    checks = Create<TCheckBoxVision>(form.get());
    grid = Create<TDBTabulon>(form.get());
    grid->SetParent(form.get());
    scenario::SetUpGrid(grid, src.get(), ds, look, checks, 1920, 1080);
    form->Show();
    PumpMessages();
    // Row height: the text height, the cell margins and the row line.
    const Integer extra = rowHeight - grid->RowHeight();
    TtlCellMargins* margins = look->CellMargins();
    margins->SetTopMargin(margins->TopMargin() + extra / 2);
    margins->SetBottomMargin(margins->BottomMargin() + extra - extra / 2);
    PumpMessages();
  }
};

// Milliseconds of one run of fn.
template <class F>
double TimeMs(F&& fn) {
  const auto start = std::chrono::steady_clock::now();
  fn();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The median and minimum of the samples as counters.
inline void ReportSamples(benchmark::State& state, std::vector<double> samples) {
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  state.counters["median_ms"] = samples[samples.size() / 2];
  state.counters["min_ms"] = samples.front();
}

}  // namespace brevant::bench
