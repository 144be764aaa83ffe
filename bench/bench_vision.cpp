// A field vision painting one column of a screenful of rows: the cost per
// row is one text retrieval, whatever the dataset's size.
#include <benchmark/benchmark.h>

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

// A consumer that only holds its field list and data link.
class TBenchConsumer : public IznFieldVisionConsumer {
 public:
  TBenchConsumer() : fields(this, nullptr, fokColumn, &link) {}
  TComponent* GetComponent() override { return nullptr; }
  bool CanModify() override { return true; }
  bool CanStartEdit() override { return true; }
  void EditStarted() override {}
  void ValuePosted() override {}
  bool UpdateTitle() override { return false; }
  void UpdatePopupMenu() override {}
  void VisionChanged(TznFieldVision*) override {}
  void FieldsChanged() override {}
  void UpdateActive() override {}
  void Invalidate() override {}
  void LayoutChanged() override {}
  void ButtonChanged() override {}
  void EditStyleChanged() override {}
  TDataLink link;       // the window of kRows rows
  TtlFieldList fields;  // the bound column
};

// Positions the link on each row and sums the text lengths it is given.
class TCountingPainter : public TtlPainter {
  BV_CLASS(TCountingPainter, TtlPainter)
 public:
  bool Prepare(TtlFieldList* fields) override {
    SetFieldList(fields);
    return false;
  }
  void DrawText(const String& text, TAlignment, TTextLayout) override { chars += text.size(); }
  void DrawImage(Integer) override {}
  void BeginColumn(TtlColumn*, TCanvas* canvas, Integer, Integer, Integer first,
                   Integer last) override {
    SetTarget(canvas, TRect{}, TRect{});
    row_ = first;
    last_ = last;
  }
  bool NextRow() override {
    if (row_ > last_) return false;
    ResetCell();
    FieldList()->DataLink()->SetActiveRecord(row_);
    return true;
  }
  void Advance() override { ++row_; }
  void DrawOwnerCell() override {}
  size_t chars = 0;  // characters drawn

 private:
  Integer row_ = 0;
  Integer last_ = -1;
};
BV_IMPLEMENT_CLASS(TCountingPainter, TtlPainter)

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
