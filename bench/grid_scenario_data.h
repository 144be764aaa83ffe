// The content and the set-up of the full-HD grid scenario, shared by the
// paint benchmarks and the golden-image test of the standard look: twelve
// columns over an in-memory table of computed records (numbers, names,
// dates, amounts, a check box, short codes), DejaVu Sans 9 pt, a one-pixel
// frame and a vertical scroll bar.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "bv_rtm/border_style.h"
#include "bv_std/standard_designer.h"
#include "bv_std/state_visions.h"
#include "db/datasource.h"
#include "db/field_types.h"
#include "db/mem_dataset.h"
#include "rtl/datetime.h"

namespace brevant::scenario {

// Column widths of the scenario, in pixels (1830 in all).
inline constexpr Integer kColumnWidths[] = {80,  240, 100, 120, 70,  170,
                                            170, 170, 170, 170, 170, 170};

// A new in-memory table of `records` computed records, open.
inline TObjectPtr<TMemDataSet> MakeTable(Integer records) {
  static const char* const first[] = {"Alexandra",  "Bartholomew", "Constance", "Dmitri",
                                      "Evangeline", "Fitzgerald",  "Guinevere", "Hieronymus"};
  static const char* const last[] = {"Abernathy",   "Castellanos",   "Dubrovnik", "Engelbrecht",
                                     "Fairweather", "Gonzalez-Ruiz", "Hallstrom", "Ivanovska"};
  static const char* const codes[] = {"open", "closed", "EUR",  "USD", "Oslo", "Lima",
                                      "high", "low",    "A-12", "B-7", "n/a",  "ok"};
  static const char* const titles[] = {"Status",   "Currency", "Code", "City",
                                       "Priority", "Ref",      "Note"};
  TObjectPtr<TMemDataSet> ds = MakeObject<TMemDataSet>(nullptr);
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Name", ftString, 40);
  ds->FieldDefs()->Add("Date", ftDate);
  ds->FieldDefs()->Add("Amount", ftFloat);
  ds->FieldDefs()->Add("Active", ftBoolean);
  for (const char* title : titles) ds->FieldDefs()->Add(title, ftString, 8);
  const TDateTime base = EncodeDate(2000, 1, 1);
  std::vector<Variant> row(12);
  for (Integer r = 0; r < records; ++r) {
    const uint32_t h = static_cast<uint32_t>((static_cast<uint64_t>(r) + 1) * 2654435761u);
    String name = String(first[r % 8]) + " " + last[(r / 8) % 8] + " von Testhausen";
    name.resize(std::min<size_t>(name.size(), 20 + (h >> 8) % 11));
    row[0] = r + 1;
    row[1] = name;
    row[2] = base + static_cast<double>(h % 9000);
    row[3] = static_cast<double>(h % 100000000) / 100;
    row[4] = r % 3 == 0;
    for (Integer c = 5; c < 12; ++c)
      row[static_cast<size_t>(c)] = String(codes[(h >> (c + 4)) % 12]);
    ds->AppendRow(std::span<const Variant>(row));
  }
  return ds;
}

// Sets grid up as the scenario shows it: border, scroll bar, font, designer,
// the table's twelve columns at their widths and formats, and the check box
// vision on the Active column. The grid is width x height pixels; ds is
// opened and bound through src.
inline void SetUpGrid(TDBTabulon* grid, TDataSource* src, TMemDataSet* ds, TStandardDesigner* look,
                      TCheckBoxVision* checks, Integer width, Integer height) {
  grid->SetBorderStyle(bsMono);
  grid->SetScrollBars(ssVertical);
  grid->Font()->SetName("DejaVu Sans");
  grid->Font()->SetSize(9);
  grid->SetDesigner(look);
  grid->SetBounds(0, 0, width, height);
  src->SetDataSet(ds);
  ds->Open();
  static_cast<TNumericField*>(ds->FieldByName("Amount"))->SetDisplayFormat("#,##0.00");
  static_cast<TDateTimeField*>(ds->FieldByName("Date"))->SetDisplayFormat("yyyy-mm-dd");
  grid->Columns()->AddFields(ds);
  for (Integer i = 0; i < 12; ++i) grid->Columns()->Items(i)->SetWidth(kColumnWidths[i]);
  grid->Columns()->Items(4)->SetVision(checks);
  grid->SetDataSource(src);
}

}  // namespace brevant::scenario
