// The universal value: reading the current record's fields into values and
// comparing text values, the work behind every painted cell and sort.
#include <benchmark/benchmark.h>

#include "bv_db/univalue.h"
#include "db/field.h"
#include "db/mem_dataset.h"

using namespace brevant;

namespace {

// An integer, a string and a float field read into three values.
void BM_AssignFromField(benchmark::State& state) {
  TObjectPtr<TMemDataSet> ds(Create<TMemDataSet>(nullptr));
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Name", ftString, 20);
  ds->FieldDefs()->Add("Amount", ftFloat);
  ds->AppendRow({42, "Name of the record", 1234.5});
  ds->Open();
  TField* id = ds->FieldByName("ID");
  TField* name = ds->FieldByName("Name");
  TField* amount = ds->FieldByName("Amount");
  TObjectPtr<TznUniValue> a(Create<TznUniValue>(false, false));
  TObjectPtr<TznUniValue> b(Create<TznUniValue>(false, false));
  TObjectPtr<TznUniValue> c(Create<TznUniValue>(false, false));
  for (auto _ : state) {
    a->Assign(id);
    b->Assign(name);
    c->Assign(amount);
    benchmark::DoNotOptimize(a->Data());
    benchmark::DoNotOptimize(b->Data());
    benchmark::DoNotOptimize(c->Data());
  }
  state.SetItemsProcessed(state.iterations() * 3);
}
BENCHMARK(BM_AssignFromField);

// Two 20-character values differing in case and in the last character.
void BM_CompareStrings(benchmark::State& state) {
  TObjectPtr<TznUniValue> a(Create<TznUniValue>(false, false));
  TObjectPtr<TznUniValue> b(Create<TznUniValue>(false, false));
  a->SetAsString("Brevant grid value A");
  b->SetAsString("BREVANT GRID VALUE b");
  for (auto _ : state) benchmark::DoNotOptimize(a->Compare(*b, false, true));
}
BENCHMARK(BM_CompareStrings);

}  // namespace
