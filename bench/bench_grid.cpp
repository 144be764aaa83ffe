// The grid: scrolling by one row and refreshing cost the same whatever the
// number of records (the window contents move; only the rows that came into
// view are painted; a refresh walks no records).
#include <benchmark/benchmark.h>

#include "bench_grid_fixture.h"
#include "bench_grid_scenario.h"
#include "bv_std/lite_designer.h"

#include <memory>

#include "backend/offscreen_backend.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "controls/application.h"
#include "controls/forms.h"
#include "controls/wincore.h"
#include "db/datasource.h"
#include "db/mem_dataset.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

using bench::TGridOnTable;

// The grid scrolled by WM_VSCROLL SB_LINEDOWN, then the paint it causes.
// The shown values repeat every `period` records (0: never), which decides
// how many cell texts are new to the text layout cache; `records` decides
// only the size of the dataset.
void ScrollByLines(benchmark::State& state, Integer records, Integer period) {
  TGridOnTable t(records, period, 150);
  TMemDataSet* ds = t.ds.get();
  TDBTabulon* grid = t.grid;
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

// The cost of a one-row scroll against the size of the dataset: the values
// repeat every 1,000 records in both tables, so both runs shape the same
// texts and differ only in the number of records.
void BM_GridLineDown(benchmark::State& state) {
  ScrollByLines(state, static_cast<Integer>(state.range(0)), 1000);
}
BENCHMARK(BM_GridLineDown)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The same scroll where every shown record brings texts never drawn before
// (a million distinct records): the price of laying out new cell texts.
void BM_GridLineDownNewTexts(benchmark::State& state) {
  ScrollByLines(state, static_cast<Integer>(state.range(0)), 0);
}
BENCHMARK(BM_GridLineDownNewTexts)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// RefreshData with the current record a few rows above the end of the
// table, then the repaint: the window and the current record come back
// without walking the records, so the cost follows the rows on screen, not
// the record number.
void BM_GridRefreshData(benchmark::State& state) {
  TGridOnTable t(static_cast<Integer>(state.range(0)), 1000, 150);
  t.ds->Last();
  t.ds->MoveBy(-5);
  PumpMessages();
  const Integer recNo = t.ds->RecNo();
  for (auto _ : state) {
    t.grid->RefreshData();
    t.grid->Update();
  }
  if (t.ds->RecNo() != recNo) state.SkipWithError("the current record moved");
  state.counters["recno"] = recNo;
}
BENCHMARK(BM_GridRefreshData)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

// The hint of a clipped title: the hovered column of a 30-column grid draws
// its title onto a one-pixel bitmap to learn whether the caption fits. The
// caption was laid out before, so the measuring reuses the cached layout;
// the cost stays that of one title, whatever the number of columns.
void BM_TitleHintMeasure(benchmark::State& state) {
  TGridOnTable t(1000, 1000, 0);
  TtlColumns* columns = t.grid->Columns();
  const Integer fields = columns->Count();
  while (columns->Count() < 30)
    columns->Add()->SetFieldName(columns->Items(columns->Count() % fields)->FieldName());
  for (Integer i = 0; i < columns->Count(); ++i) {
    columns->Items(i)->SetWidth(25);
    columns->Items(i)->SetCaption("Clipped caption " + IntToStr(i));
  }
  PumpMessages();
  TtlColumn* hovered = columns->Items(3);
  const TRect title = hovered->TitleRect(false);
  THintInfo info;
  for (auto _ : state) {
    info = THintInfo();
    info.HintControl = t.grid;
    info.CursorPos = {(title.Left + title.Right) / 2, (title.Top + title.Bottom) / 2};
    t.grid->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
  }
  if (info.HintStr != hovered->Caption()) state.SkipWithError("no hint for the clipped title");
  state.counters["columns"] = columns->Count();
}
BENCHMARK(BM_TitleHintMeasure)->Unit(benchmark::kMicrosecond);

}  // namespace

// ---- the full-HD scenario ----

namespace {

using bench::TScenarioGrid;

// The whole grid (titles, cells, frame, scroll bar) painted synchronously,
// at the top of the data; five warm-ups, then one paint per iteration.
void BM_GridFullPaint(benchmark::State& state) {
  TScenarioGrid t(static_cast<Integer>(state.range(1)), static_cast<Integer>(state.range(0)));
  HWND wnd = t.grid->Handle();
  auto paint = [&] {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
  };
  for (int i = 0; i < 5; ++i) paint();
  std::vector<double> samples;
  for (auto _ : state) samples.push_back(bench::TimeMs(paint));
  bench::ReportSamples(state, samples);
  state.counters["rows"] = t.grid->RowCount();
  state.counters["rowheight"] = t.grid->RowHeight();
}
BENCHMARK(BM_GridFullPaint)
    ->ArgNames({"", "records"})
    ->Args({30, 1000})
    ->Args({30, 1000000})
    ->Args({19, 1000})
    ->Args({19, 1000000})
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

// The same full paint through the lite designer, with the standard
// designer's margins (so the same row height) and its default look.
void BM_GridFullPaintLite(benchmark::State& state) {
  TScenarioGrid t(static_cast<Integer>(state.range(1)), static_cast<Integer>(state.range(0)));
  TLiteDesigner* lite = Create<TLiteDesigner>(t.form.get());
  lite->CellMargins()->Assign(t.look->CellMargins());
  t.grid->SetDesigner(lite);
  PumpMessages();
  if (t.grid->RowHeight() != state.range(0)) state.SkipWithError("row height differs");
  HWND wnd = t.grid->Handle();
  auto paint = [&] {
    RedrawWindow(wnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
  };
  for (int i = 0; i < 5; ++i) paint();
  std::vector<double> samples;
  for (auto _ : state) samples.push_back(bench::TimeMs(paint));
  bench::ReportSamples(state, samples);
  state.counters["rowheight"] = t.grid->RowHeight();
}
BENCHMARK(BM_GridFullPaintLite)
    ->ArgNames({"", "records"})
    ->Args({30, 1000})
    ->Iterations(50)
    ->Unit(benchmark::kMillisecond);

// One record down by the scroll bar's line-down and the paint it causes;
// back to the top (untimed) at the end of the data.
void BM_GridLineScroll(benchmark::State& state) {
  TScenarioGrid t(static_cast<Integer>(state.range(1)), static_cast<Integer>(state.range(0)));
  TDataSet* ds = t.src->DataSet();
  TDBTabulon* grid = t.grid;
  std::vector<double> samples;
  for (auto _ : state) {
    if (ds->Eof()) {
      state.PauseTiming();
      ds->First();
      PumpMessages();
      state.ResumeTiming();
    }
    samples.push_back(bench::TimeMs([&] {
      grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
      grid->Update();
    }));
  }
  bench::ReportSamples(state, samples);
  state.counters["rows"] = grid->RowCount();
}
BENCHMARK(BM_GridLineScroll)
    ->ArgNames({"", "records"})
    ->Args({19, 1000})
    ->Args({19, 1000000})
    ->Iterations(2000)
    ->Unit(benchmark::kMillisecond);

// One Down key through the grid (the key map, StepCell, GotoCell, the
// dataset's MoveBy and the scrolled handler) and the paint it causes; back
// to the top (untimed) at the last record. The grid appends nothing.
void BM_GridKeyDown(benchmark::State& state) {
  TScenarioGrid t(static_cast<Integer>(state.range(0)), 19);
  TDataSet* ds = t.src->DataSet();
  TDBTabulon* grid = t.grid;
  grid->SetOptionsEdit({geoNoAppends});
  std::vector<double> samples;
  for (auto _ : state) {
    if (ds->RecNo() >= ds->RecordCount()) {
      state.PauseTiming();
      ds->First();
      PumpMessages();
      state.ResumeTiming();
    }
    samples.push_back(bench::TimeMs([&] {
      grid->Perform(WM_KEYDOWN, VK_DOWN, 0);
      grid->Update();
    }));
  }
  bench::ReportSamples(state, samples);
  state.counters["rows"] = grid->RowCount();
}
BENCHMARK(BM_GridKeyDown)->Arg(1000)->Arg(1000000)->Iterations(2000)->Unit(benchmark::kMillisecond);

}  // namespace
