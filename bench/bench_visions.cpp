// A screen of one column whose cells look their keys up through a
// TVLookupVision: 60 rows over a lookup table of 10,000 (or 100,000)
// records. The vision indexes the table once and then probes the index per
// cell, so a screen costs the rows shown, not the size of the table; the
// scan baseline shows what a lookup per cell by walking the table costs.
#include <benchmark/benchmark.h>

#include "bench_vision_fixture.h"

#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "bv_std/lookup_visions_v.h"
#include "db/datasource.h"
#include "db/field_defs.h"
#include "db/mem_dataset.h"
#include "graphics/bitmap.h"
#include "graphics/imagelist.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

constexpr Integer kScreenRows = 60;

using bench::TBenchConsumer;
using bench::TCountingPainter;

// The lookup table (keys descending, so the shown keys lie at its end) and
// a main table of 1,000 keys spread over it, shown kScreenRows at a time.
struct TLookupScreen {
  TObjectPtr<TMemDataSet> lookup{Create<TMemDataSet>(nullptr)};
  TObjectPtr<TDataSource> lookupSource{Create<TDataSource>(nullptr)};
  TObjectPtr<TMemDataSet> main{Create<TMemDataSet>(nullptr)};
  TObjectPtr<TDataSource> mainSource{Create<TDataSource>(nullptr)};
  TObjectPtr<TImageList> images{Create<TImageList>(nullptr)};
  TObjectPtr<TVLookupVision> vision{Create<TVLookupVision>(nullptr)};
  TObjectPtr<TBitmap> bitmap{Create<TBitmap>()};
  TBenchConsumer consumer;
  TCountingPainter painter;

  explicit TLookupScreen(Integer records) {
    lookup->FieldDefs()->Add("ID", ftInteger);
    lookup->FieldDefs()->Add("Name", ftString, 20);
    lookup->FieldDefs()->Add("Image", ftInteger);
    for (Integer r = 0; r < records; ++r) {
      const Integer id = records - 1 - r;
      lookup->AppendRow({id, "Vendor " + IntToStr(id), id % 8});
    }
    lookup->Open();
    lookupSource->SetDataSet(lookup.get());
    main->FieldDefs()->Add("Key", ftInteger);
    for (Integer r = 0; r < 1000; ++r) main->AppendRow({(r * 7919) % records});
    main->Open();
    mainSource->SetDataSet(main.get());
    TVLookupParams* p = vision->LookupParams();
    p->SetDataSource(lookupSource.get());
    p->SetKeyField("ID");
    p->SetLookupField("Name");
    p->SetImageField("Image");
    images->SetSize(16, 16);
    vision->SetImages(images.get());
    consumer.link.SetDataSource(mainSource.get());
    consumer.link.SetBufferCount(kScreenRows);
    main->MoveBy(500);
    consumer.fields.SetFieldNames("Key");
    consumer.fields.SetVision(vision.get());
    consumer.fields.Bind(main.get());
    consumer.fields.CheckActive();
    bitmap->SetSize(120, 20);
  }
  void PaintScreen() {
    vision->DrawCells(&painter, &consumer.fields, bitmap->Canvas(), 0, 0, 0, kScreenRows - 1);
  }
};

// A screen painted again with the index in place: what scrolling and
// repainting cost.
void BM_VLookupScreen(benchmark::State& state) {
  TLookupScreen screen(static_cast<Integer>(state.range(0)));
  screen.PaintScreen();
  if (screen.painter.chars == 0) state.SkipWithError("no looked-up text");
  for (auto _ : state) screen.PaintScreen();
  state.counters["scans"] = screen.vision->LookupParams()->ScanCount();
  state.SetItemsProcessed(state.iterations() * kScreenRows);
}
BENCHMARK(BM_VLookupScreen)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// The first screen after the lookup table changed: one scan rebuilds the
// index, then the screen.
void BM_VLookupScreenAfterChange(benchmark::State& state) {
  TLookupScreen screen(static_cast<Integer>(state.range(0)));
  for (auto _ : state) {
    screen.vision->LookupParams()->Invalidate();
    screen.PaintScreen();
  }
  state.SetItemsProcessed(state.iterations() * kScreenRows);
}
BENCHMARK(BM_VLookupScreenAfterChange)->Arg(10000)->Unit(benchmark::kMicrosecond);

// The baseline the index replaces: the dataset's own Lookup for each of the
// screen's keys, a walk of the table per cell.
void BM_VLookupScreenScanBaseline(benchmark::State& state) {
  TLookupScreen screen(static_cast<Integer>(state.range(0)));
  TField* key = screen.main->FieldByName("Key");
  for (auto _ : state) {
    for (Integer row = 0; row < kScreenRows; ++row) {
      screen.consumer.link.SetActiveRecord(row);
      benchmark::DoNotOptimize(screen.lookup->Lookup("ID", key->AsVariant(), "Image;Name"));
    }
  }
  state.SetItemsProcessed(state.iterations() * kScreenRows);
}
BENCHMARK(BM_VLookupScreenScanBaseline)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace
