// The grid the grid benchmarks measure: 800 x 600 pixels on a shown form of
// the off-screen backend, over an open in-memory table of five fields.
#pragma once

#include <memory>

#include "backend/offscreen_backend.h"
#include "bench_tables.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "controls/forms.h"
#include "controls/wincore.h"
#include "db/datasource.h"

namespace brevant::bench {

inline void EnsureOffscreenBackend() {
  static bool installed = false;
  if (!installed) {
    SetBackend(std::make_unique<TOffscreenBackend>());
    installed = true;
  }
}

struct TGridOnTable {
  TObjectPtr<TMemDataSet> ds;   // the table (the values repeat every `period` records)
  TObjectPtr<TDataSource> src;  // the grid's source
  TObjectPtr<TForm> form;       // owns and hosts the grid
  TDBTabulon* grid = nullptr;   // the measured grid

  // columnWidth 0 keeps the columns' own widths.
  TGridOnTable(Integer records, Integer period = 0, Integer columnWidth = 0)
      : ds(MakeTable(records, period)), src(Create<TDataSource>(nullptr)) {
    EnsureOffscreenBackend();
    form.reset(Create<TForm>(nullptr));
    src->SetDataSet(ds.get());
    form->SetBounds(0, 0, 820, 640);
    grid = Create<TDBTabulon>(form.get());
    grid->SetParent(form.get());
    grid->SetBounds(0, 0, 800, 600);
    grid->Columns()->AddFields(ds.get());
    if (columnWidth > 0)
      for (Integer i = 0; i < grid->Columns()->Count(); ++i)
        grid->Columns()->Items(i)->SetWidth(columnWidth);
    grid->SetDataSource(src.get());
    form->Show();
    ds->Open();
    PumpMessages();
  }
};

}  // namespace brevant::bench
