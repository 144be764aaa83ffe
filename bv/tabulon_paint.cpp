// TDBTabulon: the paint. A paint request is narrowed to the column groups,
// rows and bands its clip rectangle touches, the row and cell attributes of
// the painted rows are prepared (current row and cell, focus, selection,
// hot row, strips, OnGetRowAttrs), and the effective designer paints the
// rest. Only rows on screen are prepared, once per row and paint.
#include <algorithm>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/designer.h"
#include "bv/group_info.h"
#include "bv/paint_info.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "bv_rtm/child_font.h"
#include "db/dataset.h"
#include "graphics/canvas.h"
#include "rtl/scope.h"

namespace brevant {

void TDBTabulon::Paint() {
  if (!paintingEnabled_ || Loading() || !effectiveDesigner_) return;
  TCanvas* canvas = Canvas();
  TRect clip = canvas->ClipRect();
  if (IsRectEmpty(clip)) return;
  if (!columns_->HasGroups()) {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    canvas->Font()->Assign(Font());
    if (const TChildFont* f = effectiveDesigner_->CellFontIfAny()) f->ApplyTo(*canvas->Font());
    return;
  }
  TtlPaintInfo& info = *paintInfo_;
  info.Canvas = canvas;
  info.Parts = 0;
  info.BackColor = Color();
  NarrowPaint(info, clip);
  info.ClipRect = clip;
  info.OffScreen = true;
  // Rows are read by moving the link's active record; it is put back
  // however the painting ends.
  const Integer saved = dataLink_->ActiveRecord();
  TScopeGuard restore([&] {
    if (dataLink_->Active()) dataLink_->SetActiveRecord(saved);
  });
  if (info.Parts & ppRows) PrepareRows(info.FirstRow, info.LastRow);
  effectiveDesigner_->Paint(this, &info);
}

void TDBTabulon::DestroyWnd() {
  paintInfo_->ReleaseOffScreen();
  TCustomControl::DestroyWnd();
}

void TDBTabulon::NarrowPaint(TtlPaintInfo& info, TRect& clip) const {
  // Groups: of the groups in view (the fixed ones, then the scroll window),
  // from the first whose right edge (its line included) passes the clip's
  // left to the last whose left edge is left of the clip's right.
  info.FirstGroup = info.LastGroup = -1;
  for (Integer g = 0; g < columns_->GroupCount(); ++g) {
    const TtlGroupInfo* group = columns_->Groups(g);
    if (!group->InView) continue;
    if (info.LastGroup == -1) info.FirstGroup = info.LastGroup = g;
    if (group->ScreenLeft + group->TotalWidth <= clip.Left) info.FirstGroup = g + 1;
    if (group->ScreenLeft < clip.Right) info.LastGroup = g;
  }
  if (info.LastGroup == -1) info.FirstGroup = info.LastGroup = 0;
  // Skip to the next group in view when the clip starts past one.
  while (info.FirstGroup < info.LastGroup && !columns_->Groups(info.FirstGroup)->InView)
    ++info.FirstGroup;
  info.FirstGroup = std::min(info.FirstGroup, info.LastGroup);
  clip.Left = columns_->GroupScreenLeft(info.FirstGroup);

  // Rows and bands.
  const Integer titleArea = TitleAreaHeight();
  const Integer footerTop = dataAreaBottom_ + emptyAreaHeight_;
  const Integer originalTop = clip.Top;
  info.FirstRow = info.LastRow = -1;
  if (clip.Top < titleArea) {
    info.FirstRow = 0;
    clip.Top = 0;
    info.Parts |= ppTitles;
  } else if (clip.Top < footerTop) {
    info.FirstRow = std::min((clip.Top - titleArea) / rowHeight_, rowCount_ - 1);
    clip.Top = titleArea + info.FirstRow * rowHeight_;
  }
  if (titleArea >= clip.Bottom || info.FirstRow == -1) {
    info.FirstRow = info.LastRow = -1;
  } else {
    info.LastRow = std::min((clip.Bottom - titleArea - 1) / rowHeight_, rowCount_ - 1);
    info.Parts |= ppRows;
  }
  if (FooterAreaHeight() > 0 && footerTop < clip.Bottom) {
    info.Parts |= ppFooters;
    if (originalTop >= footerTop) clip.Top = footerTop;
  }
  if (!showsRows_) {
    info.Parts &= ~ppRows;
    info.FirstRow = info.LastRow = -1;
  }
}

void TDBTabulon::PrepareRows(Integer first, Integer last) {
  if (!dataLink_->Active() || first < 0) return;
  TtlPaintInfo& info = *paintInfo_;
  last = std::min(last, info.RowCount() - 1);
  const Integer columnCount = columns_->Count();
  for (Integer row = first; row <= last; ++row) {
    dataLink_->SetActiveRecord(row);
    TtlRowAttrs* attrs = info.Row(row);
    attrs->Reset(row, columnCount);
    attrs->DataSet = dataSet_;
    if (stripStep_ != -1 && dataSet_->RecNo() > 0)
      attrs->StripNo = (dataSet_->RecNo() - 1) % stripStep_ + 1;
    attrs->IsCurrent = row == cursorRow_;
    if (attrs->IsCurrent) attrs->Focused = Focused();
    if (hitZone_ == 2 && hitRow_ == row) {
      attrs->Hot = true;
      if (hitColumnObj_)
        if (TtlCellAttrs* cell = attrs->Cells(hitColumnObj_->Index())) cell->Hot = true;
    }
    if (!selection_->IsEmpty() && selection_->IsSelected(dataSet_->Bookmark())) {
      attrs->Selected = true;
      ApplySelectedRowLook(attrs);
    }
    if (attrs->IsCurrent) PrepareCurrentRow(attrs);
    if (attrs->Hot && DragTracking()) ApplySelectedRowLook(attrs);  // the drop target row
    if (row == switchedRow_ && switchedColumn_)
      if (TtlCellAttrs* cell = attrs->Cells(switchedColumn_->Index())) cell->Switched = true;
    if (OnGetRowAttrs) OnGetRowAttrs(this, attrs);
  }
}

void TDBTabulon::ApplySelectedRowLook(TtlRowAttrs* attrs) const {
  const TtlDesigner* d = effectiveDesigner_;
  attrs->FontColor = d->SelectedRowText();
  if (d->UltraSoftSelectedRow()) {
    attrs->UltraSoft = true;
  } else {
    attrs->Fill = true;
    attrs->Color = d->SelectedRow();
  }
}

void TDBTabulon::PrepareCurrentRow(TtlRowAttrs* attrs) {
  const TtlDesigner* d = effectiveDesigner_;
  TtlCellAttrs* cell = currentColumnObj_ ? attrs->Cells(currentColumnObj_->Index()) : nullptr;
  if (cell) {
    cell->FocusCell = true;
    cell->Focused = attrs->Focused;
  }
  if (DragTracking() || (!attrs->Selected && !selection_->IsEmpty())) return;
  if (attrs->Selected || Focused() || !hideSelection_) {
    if (d->SelectedRowFill()) ApplySelectedRowLook(attrs);
    if (d->SelectedCellFill() && cell) {
      cell->FontColor = d->SelectedCellText();
      if (d->UltraSoftSelectedCell()) {
        cell->UltraSoft = true;
      } else {
        cell->Fill = true;
        cell->Color = d->SelectedCell();
      }
    }
    return;
  }
  // Hidden selection: an unfocused grid that hides its selection.
  if (d->SelectedRowFill()) {
    attrs->Fill = true;
    attrs->Color = d->HiddenSelection();
  }
  if (d->SelectedCellFill() && cell) {
    cell->Fill = true;
    cell->Color = d->HiddenSelection();
  }
}

}  // namespace brevant
