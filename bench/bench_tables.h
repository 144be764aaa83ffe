// The in-memory table the dataset and grid benchmarks scroll through.
#pragma once

#include "db/mem_dataset.h"
#include "rtl/numconv.h"

namespace brevant::bench {

// A closed dataset of `records` records: ID, Name, Amount, Day, Flag. With
// a period, the values repeat every `period` records.
inline TMemDataSet* MakeTable(Integer records, Integer period = 0) {
  auto* ds = Create<TMemDataSet>(nullptr);
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Name", ftString, 20);
  ds->FieldDefs()->Add("Amount", ftFloat);
  ds->FieldDefs()->Add("Day", ftDate);
  ds->FieldDefs()->Add("Flag", ftBoolean);
  for (Integer r = 0; r < records; ++r) {
    const Integer i = period > 0 ? r % period : r;
    ds->AppendRow({i, "Name " + IntToStr(i % 1000), i * 0.25, 40000 + i % 3650, i % 2 == 0});
  }
  return ds;
}

}  // namespace brevant::bench
