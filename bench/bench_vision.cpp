// A field vision painting one column of a screenful of rows: the cost per
// row is one text retrieval, whatever the dataset's size.
#include <benchmark/benchmark.h>

#include "bench_vision_fixture.h"

#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/vision_painter.h"
#include "db/datasource.h"
#include "db/field_defs.h"
#include "db/mem_dataset.h"
#include "graphics/bitmap.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

constexpr Integer kRows = 30;

using bench::TBenchConsumer;
using bench::TCountingPainter;

void BM_VisionDrawCells(benchmark::State& state) {
  TObjectPtr<TMemDataSet> ds(Create<TMemDataSet>(nullptr));
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Amount", ftFloat);
  for (Integer i = 0; i < state.range(0); ++i) ds->AppendRow({i, i * 0.25});
  ds->Open();
  TObjectPtr<TDataSource> source(Create<TDataSource>(nullptr));
  source->SetDataSet(ds.get());
  TBenchConsumer consumer;
  consumer.link.SetDataSource(source.get());
  consumer.link.SetBufferCount(kRows);
  ds->MoveBy(static_cast<Integer>(state.range(0)) / 2);
  consumer.fields.SetFieldNames("Amount");
  consumer.fields.Bind(ds.get());
  consumer.fields.CheckActive();
  TObjectPtr<TBitmap> bitmap(Create<TBitmap>());
  bitmap->SetSize(80, 20);
  TCountingPainter painter;
  TznFieldVision* vision = consumer.fields.Vision();
  for (auto _ : state)
    vision->DrawCells(&painter, &consumer.fields, bitmap->Canvas(), 0, 0, 0, kRows - 1);
  benchmark::DoNotOptimize(painter.chars);
  state.SetItemsProcessed(state.iterations() * kRows);
}
BENCHMARK(BM_VisionDrawCells)->Arg(1000)->Arg(1000000)->Unit(benchmark::kMicrosecond);

}  // namespace
