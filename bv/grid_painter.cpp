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

TtlGridPainter::TtlGridPainter(TDBTabulon* grid) : grid_(grid), font_(Create<TFont>()) {}

TtlGridPainter::~TtlGridPainter() {
  Free(font_);
}

void TtlGridPainter::BeginColumn(TtlColumn* column, TCanvas* canvas, Integer dx, Integer dy,
                                 Integer firstRow, Integer lastRow) {
  column_ = column;
  row_ = firstRow;
  lastRow_ = lastRow;
  TRect outer = column->CellRect(firstRow, false, false);
  OffsetRect(outer, -dx, -dy);
  TtlDesigner* designer = grid_->EffectiveDesigner();
  SetTarget(canvas, outer, Deflate(outer, designer->CellMargins()));
  font_->Assign(grid_->Font());
  if (const TChildFont* f = designer->CellFontIfAny()) f->ApplyTo(*font_);
  if (const TChildFont* f = column->FontIfAny()) f->ApplyTo(*font_);
}

bool TtlGridPainter::NextRow() {
  if (row_ > lastRow_) return false;
  grid_->DataLink()->SetActiveRecord(row_);
  ResetCell();
  Canvas()->Font()->Assign(font_);
  const TtlRowAttrs* row = grid_->PaintInfo()->Row(row_);
  ApplyOverrides(row->FontColor, row->FontStyle, row->FontName);
  if (const TtlCellAttrs* cell = row->Cells(column_->Index()))
    ApplyOverrides(cell->FontColor, cell->FontStyle, cell->FontName);
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
  const Integer h = grid_->RowHeight();
  TRect outer = OuterRect(), content = ContentRect();
  OffsetRect(outer, 0, h);
  OffsetRect(content, 0, h);
  SetTarget(Canvas(), outer, content);
}

void TtlGridPainter::DrawOwnerCell() {
  if (column_->OptionsVisual().Contains(cvoOwnerDraw) && grid_->OnDrawCell)
    grid_->OnDrawCell(grid_, column_, this);
}

bool TtlGridPainter::Prepare(TtlFieldList* fields) {
  SetFieldList(fields);
  wordWrap_ = column_ && column_->OptionsVisual().Contains(cvoWordWrap);
  return wordWrap_;
}

void TtlGridPainter::DrawText(const String& text, TAlignment alignment, TTextLayout layout) {
  const bool ellipsis = !grid_->OptionsVisual().Contains(gvoNoEndEllipsis);
  DrawTextAligned(Canvas(), ContentRect(), text, static_cast<Integer>(alignment),
                  static_cast<Integer>(layout), 0, 0, wordWrap_, ellipsis, false);
}

void TtlGridPainter::DrawImage(Integer index) {
  TznFieldVision* vision = FieldList() ? FieldList()->Vision() : nullptr;
  TImageList* images = vision ? vision->Images() : nullptr;
  if (index < 0 || !images) return;
  images->Draw(Canvas(), ContentRect().Left, ContentRect().Top, index);
}

}  // namespace brevant
