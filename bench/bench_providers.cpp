// The per-cell cost of the data providers: reading one field of one record
// of a collection (through the property accessor) and of a string list, and
// finding a collection record by its reference.
#include <benchmark/benchmark.h>

#include "bv_db/data_providers.h"
#include "bv_db/univalue.h"
#include "classes/collection.h"
#include "classes/rtti_builder.h"
#include "rtl/stringlist.h"

namespace brevant {
namespace {

class TBenchItem : public TCollectionItem {
  BV_CLASS(TBenchItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  Integer Width() const { return width_; }
  void SetWidth(Integer v) { width_ = v; }

 private:
  String caption_ = "column";  // a text property
  Integer width_ = 64;         // a number property
};

}  // namespace

BV_PUBLISH(TBenchItem, TCollectionItem) {
  p.Property("Caption", &TBenchItem::Caption, &TBenchItem::SetCaption);
  p.Property("Width", &TBenchItem::Width, &TBenchItem::SetWidth);
}

namespace {

TObjectPtr<TCollection> MakeItems(Integer n) {
  TObjectPtr<TCollection> items(Create<TCollection>(TBenchItem::StaticClass()));
  for (Integer i = 0; i < n; ++i) items->Add();
  return items;
}

void BM_CollectionFieldRead(benchmark::State& state) {
  auto items = MakeItems(100);
  TCollectionDataProvider p(items.get(), nullptr, nullptr);
  TObjectPtr<TznUniValue> v(MakeObject<TznUniValue>(false, false));
  v->SetDataType(ftString);
  Integer i = 0;
  for (auto _ : state) {
    p.GetFieldValue("Caption", i, v.get());
    i = (i + 1) % 100;
  }
}
BENCHMARK(BM_CollectionFieldRead);

void BM_StringsFieldRead(benchmark::State& state) {
  TObjectPtr<TStringList> lines(MakeObject<TStringList>());
  for (Integer i = 0; i < 100; ++i) lines->Add("line");
  TStringsDataProvider p(lines.get(), nullptr, nullptr);
  TObjectPtr<TznUniValue> v(MakeObject<TznUniValue>(false, false));
  v->SetDataType(ftString);
  Integer i = 0;
  for (auto _ : state) {
    p.GetFieldValue("value", i, v.get());
    i = (i + 1) % 100;
  }
}
BENCHMARK(BM_StringsFieldRead);

// Finding a record by reference searches the items: the cost grows with
// the collection (the last item is the worst case).
void BM_CollectionIndexOfRef(benchmark::State& state) {
  const auto n = static_cast<Integer>(state.range(0));
  auto items = MakeItems(n);
  TCollectionDataProvider p(items.get(), nullptr, nullptr);
  const Integer ref = p.RecordRef(n - 1);
  for (auto _ : state) benchmark::DoNotOptimize(p.IndexOfRef(ref));
}
BENCHMARK(BM_CollectionIndexOfRef)->Arg(10)->Arg(1000);

}  // namespace
}  // namespace brevant
