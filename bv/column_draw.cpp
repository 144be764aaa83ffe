// TtlColumn: geometry for painting and hit testing, the title and footer
// drawing, and the title height. The same drawing serves the paint and the
// hint's measuring, so a hint appears exactly when the painted text is
// clipped.
#include <algorithm>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/designer.h"
#include "bv/field_list.h"
#include "bv/group_info.h"
#include "bv/tabulon.h"
#include "bv_rtm/child_font.h"
#include "bv_rtm/draw_helpers.h"
#include "graphics/draw_flags.h"
#include "graphics/imagelist.h"

namespace brevant {

namespace {

TRect Shrink(TRect r, const TtlCellMargins* m) {
  r.Left += m->LeftMargin();
  r.Top += m->TopMargin();
  r.Right -= m->RightMargin();
  r.Bottom -= m->BottomMargin();
  return r;
}

// Whether text, measured word-wrapped within rect's width, does not fit.
bool MeasureClipped(TCanvas* canvas, const String& text, const TRect& rect, TRect& box) {
  box = TRect(rect.Left, rect.Top, rect.Right, rect.Top);
  canvas->DrawText(text, box, DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX);
  return box.Height() > rect.Height() || box.Width() > rect.Width();
}

Integer TitleAlignFlag(TznDefAlignment value) {
  switch (value) {
    case talRightJustify:
      return DT_RIGHT;
    case talCenter:
      return DT_CENTER;
    default:
      return DT_LEFT;
  }
}

// DrawTextAligned's codes: 0 left, 1 right, 2 centre.
Integer FooterAlignCode(TznDefAlignment value) {
  switch (value) {
    case talLeftJustify:
      return 0;
    case talCenter:
      return 2;
    default:
      return 1;
  }
}

}  // namespace

// ---- geometry ----

// The column's extent on screen; empty when the grid does not show it.
bool TtlColumn::ScreenSpan(TDBTabulon*& grid, Integer& left) const {
  grid = Grid();
  const TtlGroupInfo* group = groupInfo_;
  if (!grid || !group || !grid->EffectiveDesigner() || !Columns()->IsInView(this)) return false;
  left = group->ScreenLeft + lowLevel_->Offset;
  return true;
}

TRect TtlColumn::TitleRect(bool outer) const {
  TDBTabulon* grid = nullptr;
  Integer left = 0;
  if (!ScreenSpan(grid, left) || grid->TitleAreaHeight() <= 0) return TRect();
  TtlDesigner* d = grid->EffectiveDesigner();
  TRect r(left, 0, left + width_, 0);
  r.Top = d->InnerTitleLineWidth() + (titleLineHeight_ + 1) * line_;
  r.Bottom = r.Top + titleLineHeight_;
  const bool lastLine = lowLevel_->IsLastLine;
  if (outer) {
    if (lowLevel_->IsLastInLine) r.Right += d->VertLineWidth();
    if (line_ == 0) r.Bottom += d->InnerTitleLineWidth();
    r.Bottom += lastLine ? d->OuterTitleLineWidth() : 1;
  } else if (!lowLevel_->IsLastInLine) {
    r.Right -= 1;
  }
  return r;
}

TRect TtlColumn::CellRect(Integer row, bool outer, bool vertical) const {
  TDBTabulon* grid = nullptr;
  Integer left = 0;
  if (!ScreenSpan(grid, left)) return TRect();
  TtlDesigner* d = grid->EffectiveDesigner();
  TRect r(left, 0, left + width_, 0);
  r.Top = grid->TitleAreaHeight() + (cellLineHeight_ + 1) * line_ + row * grid->RowHeight();
  r.Bottom = r.Top + cellLineHeight_;
  const bool lastLine = lowLevel_->IsLastLine;
  if (outer) {
    if (lowLevel_->IsLastInLine) r.Right += d->VertLineWidth();
    r.Bottom += lastLine ? d->RowLineWidth() : 1;
  } else if (vertical) {
    if (!lastLine) r.Bottom += 1;
  } else if (!lowLevel_->IsLastInLine) {
    r.Right -= 1;
  }
  return r;
}

TRect TtlColumn::FooterRect(bool withOffset, bool outer) const {
  TDBTabulon* grid = nullptr;
  Integer left = 0;
  if (!ScreenSpan(grid, left) || grid->FooterAreaHeight() <= 0) return TRect();
  TtlDesigner* d = grid->EffectiveDesigner();
  TRect r(std::max(left, 1), 0, left + width_, 0);
  r.Top = d->InnerFooterLineWidth() + (footerLineHeight_ + 1) * line_;
  if (withOffset) r.Top += grid->DataAreaBottom() + grid->EmptyAreaHeight();
  r.Bottom = r.Top + footerLineHeight_;
  const bool lastLine = lowLevel_->IsLastLine;
  if (outer) {
    if (lowLevel_->IsLastInLine) r.Right += d->VertLineWidth();
    if (line_ == 0) r.Bottom += d->InnerFooterLineWidth();
    r.Bottom += lastLine ? d->OuterFooterLineWidth() : 1;
  } else if (!lowLevel_->IsLastInLine) {
    r.Right -= 1;
  }
  return r;
}

// ---- title ----

Integer TtlColumn::CalcTitleHeight(Integer lines, Integer extra) {
  TDBTabulon* grid = Grid();
  if (!grid || !grid->HandleAllocated()) return extra + lines * 13;
  TCanvas* canvas = grid->Canvas();
  canvas->Font()->Assign(grid->Font());
  if (grid->EffectiveDesigner())
    if (const TChildFont* f = grid->EffectiveDesigner()->TitleFontIfAny())
      f->ApplyTo(*canvas->Font());
  Integer height = extra + lines * canvas->TextHeight("Wg");
  Integer picture = 0;
  if (IsTitleGlyphStored())
    picture = titleGlyph_->Height();
  else if (grid->TitleImages() && titleImageIndex_ != -1)
    picture = grid->TitleImages()->Height();
  if (picture > 0) height = std::max(height, picture + 2);
  return height;
}

// Draws the title's picture (glyph, else the grid's title image) and
// narrows r past it; centred with cvoNoCaption.
static void DrawTitlePicture(TtlColumn* column, TCanvas* canvas, TRect& r) {
  TDBTabulon* grid = column->Grid();
  TBitmap* glyph = column->IsTitleGlyphStored() ? column->TitleGlyphIfAny() : nullptr;
  TImageList* images = grid ? grid->TitleImages() : nullptr;
  const bool image = !glyph && images && column->TitleImageIndex() != -1;
  if (!glyph && !image) return;
  const Integer w = glyph ? glyph->Width() : images->Width();
  const Integer h = glyph ? glyph->Height() : images->Height();
  const bool centred = column->OptionsVisual().Contains(cvoNoCaption);
  const Integer x = centred ? r.Left + (r.Width() - w) / 2 : r.Left;
  const Integer y = r.Top + (r.Height() - h) / 2;
  if (glyph)
    DrawGraphicKeepColors(canvas, x, y, glyph);
  else
    images->Draw(canvas, x, y, column->TitleImageIndex());
  if (!centred) r.Left += w + 1;
}

void TtlColumn::DrawTitle(TCanvas* canvas, Integer dx, bool* clipped, Integer dy) {
  if (clipped) *clipped = false;
  TDBTabulon* grid = Grid();
  TRect r = TitleRect(false);
  if (!grid || IsRectEmpty(r)) return;
  canvas->Brush()->SetStyle(bsClear);
  r = Shrink(r, grid->EffectiveDesigner()->TitleMargins());
  OffsetRect(r, -dx, -dy);
  // A pressed title drawn as pressed by its designer moves its content one
  // pixel down and right, as a pushed button does.
  if (grid->PressedTitle() == this && grid->EffectiveDesigner()->DrawsPressedTitle())
    OffsetRect(r, 1, 1);
  TImageList* states = TitleStateImages();
  if (titleState_ != tsSortedNone && states) {
    states->Draw(canvas, r.Right - states->Width(), r.Top + (r.Height() - states->Height()) / 2,
                 titleState_ - 1);
    r.Right -= states->Width() + 1;
  }
  DrawTitlePicture(this, canvas, r);
  canvas->Font()->Assign(grid->Font());
  if (const TChildFont* f = grid->EffectiveDesigner()->TitleFontIfAny())
    f->ApplyTo(*canvas->Font());
  const String& caption = EffectiveCaption();
  TRect box;
  const bool didClip = MeasureClipped(canvas, caption, r, box);
  if (clipped) *clipped = didClip;
  AlignRectVert(r, box, 1);
  if (optionsVisual_.Contains(cvoNoCaption)) return;
  TRect text(r.Left, box.Top, r.Right, box.Bottom);
  canvas->DrawText(caption, text,
                   DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_END_ELLIPSIS |
                       TitleAlignFlag(captionAlignment_));
}

// ---- footer ----

String TtlColumn::FooterDisplayText() const {
  const String marker = FooterStateMarker(footerState_);
  if (marker.empty() || optionsVisual_.Contains(cvoNoFooterMarker)) return footerText_;
  return marker + "=" + footerText_;
}

void TtlColumn::DrawFooter(TCanvas* canvas, Integer dx, bool* clipped, Integer dy) {
  if (clipped) *clipped = false;
  TDBTabulon* grid = Grid();
  if (!grid || (footerState_ == fsNone && footerText_.empty())) return;
  TRect r = FooterRect(true, false);
  if (IsRectEmpty(r)) return;
  canvas->Brush()->SetStyle(bsClear);
  r = Shrink(r, grid->EffectiveDesigner()->FooterMargins());
  OffsetRect(r, -dx, -dy);
  TFont* font = canvas->Font();
  font->Assign(grid->Font());
  if (const TChildFont* f = grid->EffectiveDesigner()->FooterFontIfAny()) f->ApplyTo(*font);
  if (!footerAttrs_->FontName().empty()) font->SetName(footerAttrs_->FontName());
  if (footerAttrs_->FontColor() != clNone) font->SetColor(footerAttrs_->FontColor());
  if (!footerAttrs_->FontStyle().Empty()) font->SetStyle(footerAttrs_->FontStyle());
  const String text = FooterDisplayText();
  TRect box;
  const bool didClip = MeasureClipped(canvas, text, r, box);
  if (clipped) *clipped = didClip;
  DrawTextAligned(canvas, r, text, FooterAlignCode(footerTextAlignment_), 1, 0, 0, false, false,
                  false);
}

}  // namespace brevant
