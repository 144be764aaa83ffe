// Helpers of the designer tests: designers with line widths of their own, a
// painter that logs the cells the visions drew, and a fixture whose grid
// paints through a fresh base designer.
#pragma once

#include <utility>
#include <vector>

#include "bv/base_designer.h"
#include "bv/paint_info.h"
#include "bv/vision_painter.h"
#include "grid_test_util.h"
#include "rtl/exceptions.h"

namespace brevant::test {

// Row lines follow HorizLines (off at clNone); one-pixel group lines.
class TLinesDesigner : public TtlBaseDesigner {
  BV_CLASS(TLinesDesigner, TtlBaseDesigner)
 public:
  explicit TLinesDesigner(TComponent* owner = nullptr) : TtlBaseDesigner(owner) {
    RequeryLineWidths();
  }
  // Grid row heights seen while AssignFrom ran (-1 before).
  Integer RowHeightDuringCopy = -1;
  // AssignFrom fails after copying everything.
  bool FailCopy = false;
  void SetPressedTitleDrawn(bool value) { SetDrawsPressedTitle(value); }

 protected:
  Integer GetVertLineWidth() override { return 1; }
  Integer GetRowLineWidth() override { return HorizLines() == clNone ? 0 : 1; }
  void AssignFrom(const TtlDesigner* source) override {
    TtlBaseDesigner::AssignFrom(source);
    if (GridCount() > 0) RowHeightDuringCopy = Grids(0)->RowHeight();
    if (FailCopy) throw Exception("copy failed");
  }
};

// Row lines follow an option of their own, whatever HorizLines holds.
class TOptionLinesDesigner : public TtlBaseDesigner {
  BV_CLASS(TOptionLinesDesigner, TtlBaseDesigner)
 public:
  explicit TOptionLinesDesigner(TComponent* owner = nullptr) : TtlBaseDesigner(owner) {
    RequeryLineWidths();
  }

 protected:
  Integer GetRowLineWidth() override { return 1; }
};

// Logs (column index, window row) of every cell a vision draws; fails on
// the first row when asked.
class TLogPainter : public TtlPainter {
  BV_CLASS(TLogPainter, TtlPainter)
 public:
  TLogPainter() = default;
  std::vector<std::pair<Integer, Integer>> Cells;
  bool Fail = false;

  void BeginColumn(TtlColumn* column, TCanvas* canvas, Integer, Integer, Integer firstRow,
                   Integer lastRow) override;
  bool NextRow() override;
  void Advance() override {}
  void DrawOwnerCell() override {}
  bool Prepare(TtlFieldList*) override { return false; }
  void DrawText(const String&, TAlignment, TTextLayout) override {}
  void DrawImage(Integer) override {}

 private:
  TtlColumn* column_ = nullptr;  // the column being drawn
  Integer row_ = -1;             // the row being drawn
  Integer last_ = -1;            // the last row to draw
};

class DesignerTest : public GridTest {
 protected:
  // `records` records, `rows` fitting rows, painted through `look`.
  void Make(Integer records = 20, Integer rows = 6);
  // A second grid over the same source, painted through d.
  TPaintLogGrid* AddGrid(TtlDesigner* d);
  static TColor Rgb(TColor c) { return ColorToRGB(c); }
  // The pixel of the cell of column `column` in window row `row`, `dx`,
  // `dy` inside its inner rectangle (by default in the margin, off the text).
  TColor CellPixel(Integer column, Integer row, Integer dx = 1, Integer dy = 1);

  TtlBaseDesigner* look = nullptr;
};

}  // namespace brevant::test
