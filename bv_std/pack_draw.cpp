// The default pack's cell drawing handlers: the raised title surface and
// the imaged text of the list tool form's first column.
#include "bv/column.h"
#include "bv/field_list.h"
#include "bv/grid_painter.h"
#include "bv/paint_info.h"
#include "bv/tabulon.h"
#include "bv_std/pack.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"

namespace brevant {

namespace {

// The attributes of the row painter is drawing, nil outside a grid.
const TtlRowAttrs* PaintedRow(TtlPainter* painter) {
  auto* grid = dynamic_cast<TtlGridPainter*>(painter);
  TtlColumn* column = grid ? grid->Column() : nullptr;
  TDBTabulon* owner = column ? column->Grid() : nullptr;
  if (!owner || !owner->PaintInfo()) return nullptr;
  const auto& rows = owner->PaintInfo()->Rows;
  const Integer row = grid->Row();
  return row >= 0 && row < Integer(rows.size()) ? rows[size_t(row)].get() : nullptr;
}

// The second field's integer value as the image to draw; null draws none.
void ImageFromSecondField(TtlFieldList* fields, TtlPainter* painter) {
  TField* second = fields->Fields(1);
  painter->SetImageIndex(second && !second->IsNull() ? second->AsInteger() : -1);
}

}  // namespace

void TbvDefPack::TitleSurfaceDraw(TObject*, TtlFieldList* fields, TtlPainter* painter) {
  painter->SetDefaultDraw(false);
  TRect cell = painter->OuterRect();
  painter->Canvas()->DrawEdge(cell, BDR_RAISEDINNER, BF_RECT);
  painter->DrawText(painter->Text(), fields->Alignment());
  const TtlRowAttrs* row = PaintedRow(painter);
  if (row && (row->Selected || row->IsCurrent)) {
    TRect r = painter->OuterRect();
    InflateRect(r, 1, 1);
    painter->Canvas()->InvertRect(r);
  }
}

void TbvDefPack::visImagedTextDraw(TObject*, TtlFieldList* fields, TtlPainter* painter) {
  if (fields->FieldCount() > 1) ImageFromSecondField(fields, painter);
}

void TbvDefPack::visStateLabelDraw(TObject*, TtlFieldList* fields, TtlPainter* painter) {
  ImageFromSecondField(fields, painter);
}

}  // namespace brevant
