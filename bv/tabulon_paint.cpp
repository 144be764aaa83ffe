// TDBTabulon: plain painting of titles and rows (each visible record's field
// values as text in its column), the stand-in until designers paint grids.
#include <algorithm>

#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "db/dataset.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "rtl/scope.h"

namespace brevant {

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
  auto cellRect = [&](const TtlGroupInfo& g, Integer top, Integer bottom) {
    const Integer left = columns_->GroupScreenLeft(g.Index);
    return TRect(left, top, left + g.Width, bottom);
  };
  auto drawText = [&](const TRect& r, const String& text) {
    TRect tr = r;
    tr.Left += 2;
    tr.Right -= 2;
    canvas->TextRect(tr, tr.Left, tr.Top + (r.Height() - canvas->TextHeight("Wg")) / 2, text);
  };

  if (titleBottom > 0 && clip.Top < titleBottom) {
    canvas->Brush()->SetColor(clBtnFace);
    canvas->FillRect(TRect(client.Left, 0, client.Right, titleBottom));
    for (Integer g = columns_->FirstShownGroup(); g < columns_->GroupCount(); ++g) {
      const TtlGroupInfo& group = columns_->Groups(g);
      TRect r = cellRect(group, 0, titleBottom);
      if (r.Left >= client.Right) break;
      // The column draws its own title, as the hint measures it.
      columns_->Items(group.FirstColumn)->DrawTitle(canvas, 0);
      canvas->Pen()->SetColor(clBtnShadow);
      canvas->MoveTo(r.Right - 1, 0);
      canvas->LineTo(r.Right - 1, titleBottom);
    }
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
    for (Integer g = columns_->FirstShownGroup(); g < columns_->GroupCount(); ++g) {
      const TtlGroupInfo& group = columns_->Groups(g);
      TRect r = cellRect(group, rr.Top, rr.Bottom);
      if (r.Left >= client.Right) break;
      TField* field = columns_->Items(group.FirstColumn)->Field();
      if (field) drawText(r, field->DisplayText());
    }
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
  for (Integer g = columns_->FirstShownGroup(); g < columns_->GroupCount(); ++g) {
    TtlColumn* column = columns_->Items(columns_->Groups(g).FirstColumn);
    if (columns_->GroupScreenLeft(g) >= client.Right) break;
    column->DrawFooter(canvas, 0);
  }
}

}  // namespace brevant
