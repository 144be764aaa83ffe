// TtlGridPainter: the grid's painter. It walks one column's cells row by
// row for the column's vision: the cell's rectangles (the outer cell and
// the part inside the designer's cell margins), the font a cell starts with
// (the grid's font, the designer's cell font, the column's font, then the
// row's and the cell's overrides of the paint), and text drawn with the
// shared text routine. One painter serves every cell of a grid; per row it
// only moves its rectangles and resets its state and font.
#pragma once

#include "bv/vision_painter.h"
#include "graphics/font.h"
#include "graphics/graphics_fwd.h"

namespace brevant {

class TDBTabulon;

class TtlGridPainter : public TtlPainter {
  BV_CLASS(TtlGridPainter, TtlPainter)
 public:
  explicit TtlGridPainter(TDBTabulon* grid);
  ~TtlGridPainter() override;

  void BeginColumn(TtlColumn* column, TCanvas* canvas, Integer dx, Integer dy, Integer firstRow,
                   Integer lastRow) override;
  bool NextRow() override;
  void Advance() override;
  void DrawOwnerCell() override;
  bool Prepare(TtlFieldList* fields) override;
  void DrawText(const String& text, TAlignment alignment, TTextLayout layout) override;
  void DrawImage(Integer index) override;

  TtlColumn* Column() const { return column_; }
  Integer Row() const { return row_; }
  Integer LastRow() const { return lastRow_; }

 private:
  // Applies a row's or cell's font overrides to the canvas font.
  void ApplyOverrides(TColor color, TFontStyles style, const String& name);

  TDBTabulon* grid_;             // the grid painted
  TFont* font_;                  // owned: the font every cell of the column starts with
  TtlColumn* column_ = nullptr;  // the column being drawn
  Integer row_ = -1;             // the window row being drawn
  Integer lastRow_ = -1;         // the last window row to draw
  bool wordWrap_ = false;        // the column wraps its text
};

}  // namespace brevant
