// The object dataset over a collection of 100,000 items publishing ten
// properties of mixed types: opening it under a grid-sized window,
// scrolling one record, and posting one edited field.
#include <benchmark/benchmark.h>

#include "bv_db/obj_dataset.h"
#include "classes/collection.h"
#include "classes/rtti_builder.h"
#include "classes/typinfo.h"
#include "db/datasource.h"
#include "db/field.h"

namespace brevant {

// An item with ten published properties: texts, integers, floats, a
// Boolean and dates.
class TBenchItem : public TCollectionItem {
  BV_CLASS(TBenchItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  const String& Name() const { return name_; }
  void SetName(const String& v) { name_ = v; }
  const String& City() const { return city_; }
  void SetCity(const String& v) { city_ = v; }
  const String& Code() const { return code_; }
  void SetCode(const String& v) { code_ = v; }
  Integer Qty() const { return qty_; }
  void SetQty(Integer v) { qty_ = v; }
  Integer Rank() const { return rank_; }
  void SetRank(Integer v) { rank_ = v; }
  Int64 Big() const { return big_; }
  void SetBig(Int64 v) { big_ = v; }
  double Price() const { return price_; }
  void SetPrice(double v) { price_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  bool Active() const { return active_; }
  void SetActive(bool v) { active_ = v; }
  TDateTime Born() const { return born_; }
  void SetBorn(TDateTime v) { born_ = v; }

 private:
  String name_;          // text
  String city_;          // text
  String code_;          // text
  Integer qty_ = 0;      // integer
  Integer rank_ = 0;     // integer
  Int64 big_ = 0;        // 64-bit integer
  double price_ = 0;     // float
  double ratio_ = 0;     // float
  bool active_ = false;  // Boolean
  TDateTime born_ = 0;   // date
};

BV_PUBLISH(TBenchItem, TCollectionItem) {
  p.Property("Name", &TBenchItem::Name, &TBenchItem::SetName);
  p.Property("City", &TBenchItem::City, &TBenchItem::SetCity);
  p.Property("Code", &TBenchItem::Code, &TBenchItem::SetCode);
  p.Property("Qty", &TBenchItem::Qty, &TBenchItem::SetQty);
  p.Property("Rank", &TBenchItem::Rank, &TBenchItem::SetRank);
  p.Property("Big", &TBenchItem::Big, &TBenchItem::SetBig);
  p.Property("Price", &TBenchItem::Price, &TBenchItem::SetPrice);
  p.Property("Ratio", &TBenchItem::Ratio, &TBenchItem::SetRatio);
  p.Property("Active", &TBenchItem::Active, &TBenchItem::SetActive);
  p.Property("Born", &TBenchItem::Born, &TBenchItem::SetBorn).Type(TypeInfoTDate());
}

namespace {

constexpr Integer kWindow = 30;  // rows of a grid-sized window

// A collection of n items, a dataset over it and a link holding a window.
struct TBenchSetup {
  explicit TBenchSetup(Integer n) {
    items.reset(Create<TCollection>(TBenchItem::StaticClass()));
    {
      TCollectionUpdate update(items.get());
      for (Integer i = 0; i < n; ++i) {
        auto* item = static_cast<TBenchItem*>(items->Add());
        item->SetName("Item " + std::to_string(i));
        item->SetCity("Springfield");
        item->SetQty(i);
        item->SetPrice(i * 0.5);
        item->SetBorn(40000 + i % 365);
      }
    }
    ds.reset(Create<TObjDataSet>(nullptr));
    ds->SetObjectRef(items.get());
    src.reset(Create<TDataSource>(nullptr));
    src->SetDataSet(ds.get());
    link = std::make_unique<TDataLink>();
    link->SetBufferCount(kWindow);
    link->SetDataSource(src.get());
  }
  ~TBenchSetup() { link.reset(); }

  TObjectPtr<TCollection> items;    // the source
  TObjectPtr<TObjDataSet> ds;       // the dataset over it
  TObjectPtr<TDataSource> src;      // the link's source
  std::unique_ptr<TDataLink> link;  // a grid-sized window
};

void BM_OpenCollection(benchmark::State& state) {
  TBenchSetup s(static_cast<Integer>(state.range(0)));
  for (auto _ : state) {
    s.ds->Open();
    benchmark::DoNotOptimize(s.ds->RecordCount());
    s.ds->Close();
  }
}
BENCHMARK(BM_OpenCollection)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_ScrollStep(benchmark::State& state) {
  TBenchSetup s(static_cast<Integer>(state.range(0)));
  s.ds->Open();
  s.ds->MoveBy(s.ds->RecordCount() / 2);
  for (auto _ : state) {
    s.ds->Next();
    if (s.ds->Eof()) {
      state.PauseTiming();
      s.ds->First();
      state.ResumeTiming();
    }
  }
}
BENCHMARK(BM_ScrollStep)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

void BM_PostField(benchmark::State& state) {
  TBenchSetup s(100000);
  s.ds->Open();
  s.ds->MoveBy(50000);
  TField* qty = s.ds->FieldByName("Qty");
  Integer v = 0;
  for (auto _ : state) {
    s.ds->Edit();
    qty->SetAsInteger(++v);
    s.ds->Post();
  }
}
BENCHMARK(BM_PostField)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace brevant
