#include "bv/grid_painter.h"

#include "bv/column.h"
#include "bv/datalink_ex.h"
#include "bv/designer.h"
#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/paint_info.h"
#include "bv/tabulon.h"
#include "bv_rtm/child_font.h"
#include "bv_rtm/draw_helpers.h"
#include "classes/rtti_builder.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/imagelist.h"

namespace brevant {

BV_IMPLEMENT_CLASS_EX(TtlGridPainter, TtlPainter, nullptr, nullptr)

namespace {

TRect Deflate(TRect r, const TtlCellMargins* m) {
  r.Left += m->LeftMargin();
  r.Top += m->TopMargin();
  r.Right -= m->RightMargin();
  r.Bottom -= m->BottomMargin();
  return r;
}

}  // namespace

TtlGridPainter::TtlGridPainter(TDBTabulon* grid) : grid_(grid) {}

TtlGridPainter::~TtlGridPainter() = default;

void TtlGridPainter::BeginColumn(TtlColumn* column, TCanvas* canvas, Integer dx, Integer dy,
                                 Integer firstRow, Integer lastRow) {
  row_ = firstRow;
  lastRow_ = lastRow;
  TRect outer = column->CellRect(firstRow, false, false);
  OffsetRect(outer, -dx, -dy);
  SetTarget(canvas, outer, Deflate(outer, grid_->EffectiveDesigner()->CellMargins()));
}

bool TtlGridPainter::NextRow() {
  if (row_ > lastRow_) return false;
  grid_->DataLink()->SetActiveRecord(row_);
  ResetCell();
  // Every cell starts from the same canvas state, whatever an owner-drawn
  // cell before it left: transparent text, the column's font.
  Canvas()->Brush()->SetStyle(bsClear);
  Canvas()->Font()->Assign(Font());
  const TtlRowAttrs* row = grid_->PaintInfo()->Row(row_);
  ApplyOverrides(row->FontColor, row->FontStyle, row->FontName);
  TtlCellAttrs* cell = row->Cells(Column()->Index());
  SetCellAttrs(cell);
  if (cell) ApplyOverrides(cell->FontColor, cell->FontStyle, cell->FontName);
  return true;
}

void TtlGridPainter::ApplyOverrides(TColor color, TFontStyles style, const String& name) {
  TFont* font = Canvas()->Font();
  if (color != clNone) font->SetColor(color);
  if (!style.Empty()) font->SetStyle(font->Style() + style);
  if (!name.empty()) font->SetName(name);
}

void TtlGridPainter::Advance() {
  ++row_;
  OffsetRects(grid_->RowHeight());
}

void TtlGridPainter::DrawOwnerCell() {
  if (Column()->OptionsVisual().Contains(cvoOwnerDraw) && grid_->OnDrawCell)
    grid_->OnDrawCell(grid_, Column(), this);
}

}  // namespace brevant
