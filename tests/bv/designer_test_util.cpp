#include "designer_test_util.h"

#include "bv/column.h"
#include "bv_rtm/border_style.h"
#include "classes/rtti_builder.h"
#include "rtl/exceptions.h"

namespace brevant::test {

BV_IMPLEMENT_CLASS(TLinesDesigner, TtlBaseDesigner)
BV_IMPLEMENT_CLASS(TOptionLinesDesigner, TtlBaseDesigner)
BV_IMPLEMENT_CLASS(TLogPainter, TtlPainter)

void TLogPainter::BeginColumn(TtlColumn* column, TCanvas* canvas, Integer, Integer,
                              Integer firstRow, Integer lastRow) {
  column_ = column;
  row_ = firstRow - 1;
  last_ = lastRow;
  SetTarget(canvas, TRect(), TRect());
}

bool TLogPainter::NextRow() {
  if (++row_ > last_) return false;
  if (Fail) throw Exception("painter failed");
  ResetCell();
  Cells.push_back({column_->Index(), row_});
  return true;
}

void DesignerTest::Make(Integer records, Integer rows) {
  Build(records, rows);
  look = Create<TtlBaseDesigner>(form);
  grid->SetDesigner(look);
  FitRows(rows);
  Pump();
  grid->Clips.clear();
}

TPaintLogGrid* DesignerTest::AddGrid(TtlDesigner* d) {
  auto* other = Create<TPaintLogGrid>(form);
  other->SetBorderStyle(bsNoBorder);
  other->SetBounds(10, 220, 300, 150);
  other->SetParent(form);
  other->Columns()->Add()->SetFieldName("ID");
  other->SetDataSource(src);
  other->SetDesigner(d);
  Pump();
  other->Clips.clear();
  return other;
}

TColor DesignerTest::CellPixel(Integer column, Integer row, Integer dx, Integer dy) {
  const TRect r = grid->Columns()->Items(column)->CellRect(row, false, false);
  return PixelAt(r.Left + dx, r.Top + dy);
}

}  // namespace brevant::test
