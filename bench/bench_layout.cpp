// The column layout of a grid of many columns in groups of several lines:
// one width change and the relayout it causes, and fitting the groups to
// the client width. Both walk the columns a fixed number of times, so the
// cost grows linearly with the number of columns.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "bench_grid_fixture.h"
#include "bv/columns.h"

namespace brevant::bench {
namespace {

// Replaces the grid's columns by n columns in n * 60 / 200 groups (60 for
// 200 columns) of up to three lines, through a free-standing collection.
void MakeGroupedColumns(TDBTabulon* grid, Integer n) {
  TObjectPtr<TtlColumns> layout(Create<TtlColumns>(nullptr));
  const Integer groups = std::max<Integer>(1, n * 60 / 200);
  const char* const fields[] = {"ID", "Name", "Amount", "Day", "Flag"};
  for (Integer g = 0, k = 0; g < groups; ++g) {
    const Integer count = n * (g + 1) / groups - n * g / groups;
    const Integer lines = std::min<Integer>(3, count);
    Integer level = -1, index = 0;
    for (Integer p = 0; p < count; ++p, ++k) {
      TtlColumn* c = layout->Add();
      c->SetFieldName(fields[k % 5]);
      const Integer l = p * lines / count;
      index = l == level ? index + 1 : 0;
      level = l;
      c->SetLayoutLevel(level);
      c->SetLayoutIndex(index);
      c->SetWidth(30 + k % 7 * 5);
    }
  }
  grid->SetColumns(layout.get());
  PumpMessages();
}

// A column that shares its line, so the width change re-distributes the
// line and the relayout rebuilds every group.
TtlColumn* SharedLineColumn(TtlColumns* columns) {
  for (Integer i = 0; i + 1 < columns->Count(); ++i)
    if (columns->Items(i + 1)->LayoutIndex() == 1) return columns->Items(i);
  return columns->Items(0);
}

void BM_Relayout(benchmark::State& state) {
  TGridOnTable t(1000, 1000, 0);
  const auto n = static_cast<Integer>(state.range(0));
  MakeGroupedColumns(t.grid, n);
  TtlColumns* columns = t.grid->Columns();
  TtlColumn* column = SharedLineColumn(columns);
  const Integer width = column->Width();
  Integer step = 0;
  for (auto _ : state) column->SetWidth(width + (++step & 1) * 10);
  if (!columns->LayoutFault().empty()) state.SkipWithError(columns->LayoutFault().c_str());
  state.counters["columns"] = columns->Count();
  state.counters["groups"] = columns->GroupCount();
}
BENCHMARK(BM_Relayout)->Arg(50)->Arg(200)->Unit(benchmark::kMicrosecond);

void BM_AutoFit(benchmark::State& state) {
  TGridOnTable t(1000, 1000, 0);
  MakeGroupedColumns(t.grid, static_cast<Integer>(state.range(0)));
  t.grid->SetAutoColumnFit(true);
  TtlColumns* columns = t.grid->Columns();
  const Integer client = columns->ClientWidth();
  Integer step = 0;
  for (auto _ : state) {
    // A client 40 pixels narrower or wider each time: every group is
    // scaled again.
    columns->SetClientWidth(client - (++step & 1) * 40);
    columns->AutoFit();
  }
  if (columns->TotalWidth() != columns->ClientWidth())
    state.SkipWithError("the groups do not fill the client");
  state.counters["groups"] = columns->GroupCount();
}
BENCHMARK(BM_AutoFit)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brevant::bench
