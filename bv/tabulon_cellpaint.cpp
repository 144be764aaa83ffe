// TDBTabulon::PaintCellArea: a few cells painted by the grid's designer
// straight into another canvas (the in-place editor's face), exactly as
// the grid paints them, without the designer's off-screen bitmap.
#include "bv/column.h"
#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/designer.h"
#include "bv/group_info.h"
#include "bv/paint_info.h"
#include "bv/tabulon.h"
#include "rtl/scope.h"

namespace brevant {

void TDBTabulon::PaintCellArea(TCanvas* canvas, Cardinal parts, TtlColumn* firstColumn,
                               TtlColumn* lastColumn, Integer firstRow, Integer lastRow,
                               Integer width, Integer height) {
  if (!columns_->HasGroups() || !effectiveDesigner_ || !canvas || !firstColumn || !lastColumn)
    return;
  const TtlGroupInfo* first = firstColumn->GroupInfo();
  const TtlGroupInfo* last = lastColumn->GroupInfo();
  if (!first || !last || first->Index < 0 || last->Index < 0) return;
  TtlPaintInfo& info = *paintInfo_;
  info.Canvas = canvas;
  info.Parts = showsRows_ ? parts : parts & ~ppRows;
  info.BackColor = Color();
  info.FirstGroup = first->Index;
  info.LastGroup = last->Index;
  info.FirstRow = firstRow;
  info.LastRow = lastRow;
  // The clip starts at the first cell, so that cell lands on the canvas's
  // origin.
  TRect clip;
  clip.Left = columns_->GroupScreenLeft(first->Index) + firstColumn->LowLevelInfo()->Offset;
  clip.Top = (parts & ppTitles) ? 0 : firstRow * rowHeight_ + TitleAreaHeight();
  clip.Top += firstColumn->Line() * (firstColumn->CellLineHeight() + 1);
  clip.Right = clip.Left + width;
  clip.Bottom = clip.Top + height;
  info.ClipRect = clip;
  info.OffScreen = false;
  const Integer saved = dataLink_->ActiveRecord();
  TScopeGuard restore([&] {
    if (dataLink_->Active()) dataLink_->SetActiveRecord(saved);
  });
  if (info.Parts & ppRows) PrepareRows(firstRow, lastRow);
  effectiveDesigner_->Paint(this, &info);
}

}  // namespace brevant
