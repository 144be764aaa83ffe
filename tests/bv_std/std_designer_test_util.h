// The fixture of the standard designer's tests: a grid over the grid tests'
// numbered records, painted through a standard designer of its own.
#pragma once

#include "../bv/grid_test_util.h"
#include "bv/column.h"
#include "bv/columns.h"
#include "bv/group_info.h"
#include "bv_std/standard_designer.h"

namespace brevant::test {

class StdDesignerTest : public GridTest {
 protected:
  // `records` records, `rows` fitting rows.
  void Make(Integer records = 20, Integer rows = 5) {
    Build(records, rows);
    look = Create<TStandardDesigner>(form);
    grid->SetDesigner(look);
    FitRows(rows);
    Pump();
  }
  static TColor Rgb(TColor c) { return ColorToRGB(c); }
  // Client x of the right edge (exclusive) of group g.
  Integer GroupRight(Integer g) {
    TtlColumns* columns = grid->Columns();
    return columns->GroupScreenLeft(g) + columns->Groups(g)->Width;
  }
  // The pixel `dx`, `dy` inside the inner cell of `column` in window row `row`.
  TColor CellPixel(Integer column, Integer row, Integer dx = 1, Integer dy = 1) {
    const TRect r = grid->Columns()->Items(column)->CellRect(row, false, false);
    return PixelAt(r.Left + dx, r.Top + dy);
  }

  TStandardDesigner* look = nullptr;  // the grid's designer, owned by the form
};

}  // namespace brevant::test
