// The grid of the full-HD paint benchmarks: 1920 x 1080 pixels, a one-pixel
// frame, a vertical scroll bar, twelve columns over an in-memory table of
// computed records (numbers, names, dates, amounts, a check box, short
// codes), DejaVu Sans 9 pt, painted through a standard designer whose cell
// margins give the wanted row height.
#pragma once

#include <algorithm>
#include <chrono>
#include <map>
#include <vector>

#include "bench_grid_fixture.h"
#include "bv/column.h"
#include "bv_rtm/border_style.h"
#include "bv_std/standard_designer.h"
#include "bv_std/state_visions.h"
#include "db/field_types.h"
#include "rtl/datetime.h"

namespace brevant::bench {

// The table of `records` computed records (made once per size, kept for
// the process).
inline TMemDataSet* ScenarioTable(Integer records) {
  static std::map<Integer, TObjectPtr<TMemDataSet>> tables;
  TObjectPtr<TMemDataSet>& slot = tables[records];
  if (slot) return slot.get();
  static const char* const first[] = {"Alexandra",  "Bartholomew", "Constance", "Dmitri",
                                      "Evangeline", "Fitzgerald",  "Guinevere", "Hieronymus"};
  static const char* const last[] = {"Abernathy",   "Castellanos",   "Dubrovnik", "Engelbrecht",
                                     "Fairweather", "Gonzalez-Ruiz", "Hallstrom", "Ivanovska"};
  static const char* const codes[] = {"open", "closed", "EUR",  "USD", "Oslo", "Lima",
                                      "high", "low",    "A-12", "B-7", "n/a",  "ok"};
  static const char* const titles[] = {"Status",   "Currency", "Code", "City",
                                       "Priority", "Ref",      "Note"};
  auto* ds = Create<TMemDataSet>(nullptr);
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
  slot.reset(ds);
  return ds;
}

struct TScenarioGrid {
  TObjectPtr<TDataSource> src;        // the grid's source
  TObjectPtr<TForm> form;             // owns and hosts the grid and its designer
  TDBTabulon* grid = nullptr;         // the measured grid
  TStandardDesigner* look = nullptr;  // the grid's designer, owned by the form
  TCheckBoxVision* checks = nullptr;  // the Active column's vision, owned by the form

  TScenarioGrid(Integer records, Integer rowHeight) : src(Create<TDataSource>(nullptr)) {
    EnsureOffscreenBackend();
    TMemDataSet* ds = ScenarioTable(records);
    ds->Close();
    form.reset(Create<TForm>(nullptr));
    form->SetBounds(0, 0, 1940, 1100);
    look = Create<TStandardDesigner>(form.get());
    checks = Create<TCheckBoxVision>(form.get());
    grid = Create<TDBTabulon>(form.get());
    grid->SetParent(form.get());
    grid->SetBorderStyle(bsMono);
    grid->SetScrollBars(ssVertical);
    grid->Font()->SetName("DejaVu Sans");
    grid->Font()->SetSize(9);
    grid->SetDesigner(look);
    grid->SetBounds(0, 0, 1920, 1080);
    static const Integer widths[] = {80, 240, 100, 120, 70, 170, 170, 170, 170, 170, 170, 170};
    src->SetDataSet(ds);
    ds->Open();
    static_cast<TNumericField*>(ds->FieldByName("Amount"))->SetDisplayFormat("#,##0.00");
    static_cast<TDateTimeField*>(ds->FieldByName("Date"))->SetDisplayFormat("yyyy-mm-dd");
    grid->Columns()->AddFields(ds);
    for (Integer i = 0; i < 12; ++i) grid->Columns()->Items(i)->SetWidth(widths[i]);
    grid->Columns()->Items(4)->SetVision(checks);
    grid->SetDataSource(src.get());
    form->Show();
    PumpMessages();
    // Row height: the text height, the cell margins and the row line.
    const Integer extra = rowHeight - grid->RowHeight();
    TtlCellMargins* margins = look->CellMargins();
    margins->SetTopMargin(margins->TopMargin() + extra / 2);
    margins->SetBottomMargin(margins->BottomMargin() + extra - extra / 2);
    PumpMessages();
  }
};

// Milliseconds of one run of fn.
template <class F>
double TimeMs(F&& fn) {
  const auto start = std::chrono::steady_clock::now();
  fn();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

// The median and minimum of the samples as counters.
inline void ReportSamples(benchmark::State& state, std::vector<double> samples) {
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  state.counters["median_ms"] = samples[samples.size() / 2];
  state.counters["min_ms"] = samples.front();
}

}  // namespace brevant::bench
