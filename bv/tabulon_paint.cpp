// TDBTabulon: plain painting of titles and rows (each visible record's field
// values as text in its column), the stand-in until designers paint grids.
// Every visible column of every group in the scroll window is drawn at its
// own line and offset, so multi-line groups and fixed groups show as laid
// out.
#include <algorithm>

#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/group_info.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "db/dataset.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "rtl/scope.h"

namespace brevant {

void TDBTabulon::ForEachShownColumn(const std::function<void(TtlColumn*)>& action) const {
  const Integer right = ClientWidth();
  for (Integer g = 0; g < columns_->GroupCount(); ++g) {
    const TtlGroupInfo* group = columns_->Groups(g);
    if (!group->InView || group->ScreenLeft >= right) continue;
    for (Integer i = group->FirstColumn; i <= group->LastColumn; ++i)
      if (columns_->Items(i)->Visible()) action(columns_->Items(i));
  }
}

void TDBTabulon::Paint() {
  if (!paintingEnabled_) return;
  PaintPlain();
}

void TDBTabulon::PaintPlain() {
  TCanvas* canvas = Canvas();
  const TRect client = ClientRect();
  const TRect clip = canvas->ClipRect();
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetColor(Color());
  if (!columns_->HasGroups()) {
    canvas->FillRect(clip);
    return;
  }

  // Titles and rows fill themselves; the background shows below them.
  const Integer titleBottom = TitleAreaHeight();
  const bool rows = showsRows_ && dataLink_->Active() && dataLink_->RecordCount() > 0;
  const Integer rowsBottom = rows ? dataAreaBottom_ : titleBottom;
  if (clip.Bottom > rowsBottom)
    canvas->FillRect(TRect(clip.Left, std::max(clip.Top, rowsBottom), clip.Right, clip.Bottom));
  auto drawText = [&](const TRect& r, const String& text) {
    TRect tr = r;
    tr.Left += 2;
    tr.Right -= 2;
    canvas->TextRect(tr, tr.Left, tr.Top + (r.Height() - canvas->TextHeight("Wg")) / 2, text);
  };

  if (titleBottom > 0 && clip.Top < titleBottom) {
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(TRect(client.Left, 0, client.Right, titleBottom));
    canvas->Pen()->SetColor(clBtnShadow);
    ForEachShownColumn([&](TtlColumn* column) {
      // The column draws its own title, as the hint measures it; a line
      // closes it on the right, and one separates it from the line below.
      const TRect r = column->TitleRect(true);
      column->DrawTitle(canvas, 0);
      canvas->MoveTo(r.Right - 1, r.Top);
      canvas->LineTo(r.Right - 1, r.Bottom);
      if (!column->LowLevelInfo()->IsLastLine) {
        canvas->MoveTo(r.Left, r.Bottom - 1);
        canvas->LineTo(r.Right, r.Bottom - 1);
      }
    });
  }

  PaintFooters(canvas);
  // Titles and footers draw their text with a clear brush; rows fill.
  canvas->Brush()->SetStyle(bsSolid);
  if (!rows) return;
  // Rows are read by moving the link's active record; it is put back however
  // the painting ends.
  const Integer saved = dataLink_->ActiveRecord();
  TScopeGuard restore([&] { dataLink_->SetActiveRecord(saved); });
  const Integer firstRow = std::max(0, (clip.Top - titleBottom) / rowHeight_);
  const Integer lastRow = std::min(rowCount_ - 1, (clip.Bottom - titleBottom) / rowHeight_);
  for (Integer row = firstRow; row <= lastRow; ++row) {
    dataLink_->SetActiveRecord(row);
    const TRect rr = RowRect(row);
    // The current row and the rows of selected records are highlighted.
    const bool current = row == cursorRow_ ||
                         (!selection_->IsEmpty() && selection_->IsSelected(dataSet_->Bookmark()));
    canvas->Brush()->SetColor(current ? clHighlight : Color());
    canvas->Font()->SetColor(current ? clHighlightText : Font()->Color());
    canvas->FillRect(rr);
    ForEachShownColumn([&](TtlColumn* column) {
      if (TField* field = column->Field())
        drawText(column->CellRect(row, false, false), field->DisplayText());
    });
    paintInfo_->Rows[static_cast<size_t>(row)].Painted = true;
  }
}

void TDBTabulon::PaintFooters(TCanvas* canvas) {
  const Integer top = dataAreaBottom_ + emptyAreaHeight_;
  if (FooterAreaHeight() <= 0 || canvas->ClipRect().Bottom <= top) return;
  const TRect client = ClientRect();
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(TRect(client.Left, top, client.Right, top + FooterAreaHeight()));
  ForEachShownColumn([&](TtlColumn* column) { column->DrawFooter(canvas, 0); });
}

}  // namespace brevant
