#include "bv_std/lite_designer.h"

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/group_info.h"
#include "bv/paint_info.h"
#include "bv/tabulon.h"
#include "classes/rtti_builder.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "rtl/store_changed.h"

namespace brevant {

BV_ENUM_INFO(TLiteDsgnTitleStyle, lts3D, ltsFlat, ltsNon3D)

TLiteDesigner::TLiteDesigner(TComponent* owner) : TtlBaseDesigner(owner) {
  SetVertLines(clSilver);
  SetHorizLines(clSilver);
  SetCellSeparator(clSilver);
  SetUniformRows(true);
  RequeryLineWidths();
}

// ---- properties ----

void TLiteDesigner::SetTitleStyle(TLiteDsgnTitleStyle value) {
  SetDrawsPressedTitle(value != ltsNon3D);
  if (StoreChanged(titleStyle_, value)) RepaintTitles();
}

void TLiteDesigner::SetShowLines(bool value) {
  if (StoreChanged(showLines_, value)) RequeryLineWidths();
}

void TLiteDesigner::SetShowLastLine(bool value) {
  if (StoreChanged(showLastLine_, value)) RepaintAll();
}

Integer TLiteDesigner::GetVertLineWidth() {
  return showLines_ ? 1 : 0;
}

Integer TLiteDesigner::GetRowLineWidth() {
  return showLines_ && HorizLines() != clNone ? 1 : 0;
}

void TLiteDesigner::GetTitleLineWidths(Integer& inner, Integer& outer) {
  inner = 0;
  outer = 1;
}

void TLiteDesigner::AssignFrom(const TtlDesigner* source) {
  TtlBaseDesigner::AssignFrom(source);
  const auto* s = static_cast<const TLiteDesigner*>(source);
  SetTitleStyle(s->TitleStyle());
  SetShowLines(s->ShowLines());
  SetShowLastLine(s->ShowLastLine());
}

// ---- drawing helpers ----

TColor TLiteDesigner::TitleLineColor(TColor preferred, TColor fallback) const {
  if (titleStyle_ != ltsNon3D) return clBlack;
  return preferred != clNone ? preferred : fallback;
}

Integer TLiteDesigner::GroupLineX(Integer group) const {
  const TtlColumns* columns = Context().Grid->Columns();
  return columns->GroupScreenLeft(group) + columns->Groups(group)->TotalWidth - 1 - Context().DX;
}

void TLiteDesigner::Line(Integer x1, Integer y1, Integer x2, Integer y2, TColor colour) {
  if (colour == clNone) return;
  TCanvas* canvas = Context().Canvas;
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(colour);
  canvas->MoveTo(x1, y1);
  canvas->LineTo(x2, y2);
}

void TLiteDesigner::FillBox(const TRect& rect, TColor colour) {
  if (colour == clNone || IsRectEmpty(rect)) return;
  TCanvas* canvas = Context().Canvas;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(colour);
  canvas->FillRect(rect);
}

// ---- bands ----

void TLiteDesigner::PaintTitleBand() {
  TtlBaseDesigner::PaintTitleBand();
  const TtlPaintContext& c = Context();
  const Integer t = c.TitleHeight;
  if (showLines_) Line(0, t - 1, c.PaintedWidth, t - 1, TitleLineColor(HorizLines(), VertLines()));
  const TColor vert = TitleLineColor(VertLines(), HorizLines());
  for (Integer g = c.Info->FirstGroup; g <= c.Info->LastGroup; ++g) {
    if (!GroupPainted(g)) continue;
    DrawGroupSeparators(*c.Grid->Columns()->Groups(g), sbTitle, -1, vert);
    // Without lines the group has no pixel column of its own to close it.
    if (showLines_) Line(GroupLineX(g), 0, GroupLineX(g), t - 1, vert);
  }
}

void TLiteDesigner::PaintGroupTitle(const TtlGroupInfo& group, Integer, Integer dx) {
  const TtlPaintContext& c = Context();
  TtlColumns* columns = c.Grid->Columns();
  if (titleStyle_ == ltsNon3D) return;
  for (Integer i = group.FirstColumn; i >= 0 && i <= group.LastColumn; ++i) {
    TtlColumn* column = columns->Items(i);
    if (!column->Visible()) continue;
    TRect r = column->TitleRect(false);
    if (IsRectEmpty(r)) continue;
    OffsetRect(r, -dx, -c.DY);
    if (titleStyle_ == ltsFlat) {
      ++r.Right;
      ++r.Bottom;
    }
    TRect edge = r;
    if (c.Grid->PressedTitle() == column)
      c.Canvas->DrawEdge(edge, BDR_SUNKENOUTER, BF_RECT | BF_FLAT);
    else
      c.Canvas->DrawEdge(edge, BDR_RAISEDINNER, BF_RECT);
    if (titleStyle_ == ltsFlat && showLines_ && column->PosInLine() > 0) PaintFlatNotch(column, r);
  }
}

void TLiteDesigner::PaintFlatNotch(const TtlColumn* column, const TRect& r) {
  const Integer h = column->TitleLineHeight() / 14;
  Line(r.Left, r.Top, r.Left - 2, r.Top, clBtnHighlight);
  FillBox(TRect(r.Left - 2, r.Top + 1, r.Left + 1, r.Top + 1 + h), TitleColor());
  FillBox(TRect(r.Left - 2, r.Bottom - 1 - h, r.Left + 1, r.Bottom - 1), TitleColor());
}

void TLiteDesigner::PaintRowsBand() {
  TtlBaseDesigner::PaintRowsBand();
  if (!showLines_) return;
  const TtlPaintContext& c = Context();
  const Integer height = c.Grid->RowHeight();
  const Integer t = c.TitleHeight;
  if (HorizLines() != clNone) {
    for (Integer y = t + height - 1; y < t + c.DataHeight; y += height)
      Line(0, y, c.PaintedWidth, y, HorizLines());
  }
  if (VertLines() == clNone) return;
  const Integer last = c.Grid->Columns()->GroupCount() - 1;
  for (Integer g = c.Info->FirstGroup; g <= c.Info->LastGroup; ++g) {
    if (!GroupPainted(g)) continue;
    const TColor colour = g == last && !showLastLine_ ? c.Info->BackColor : VertLines();
    Line(GroupLineX(g), t, GroupLineX(g), t + c.DataHeight, colour);
  }
}

// ---- published interface ----

void RegisterLiteDesignerClasses() {
  RegisterClass(TLiteDesigner::StaticClass());
}

BV_PUBLISH(TLiteDesigner, TtlBaseDesigner) {
  // Silver is not the declared default of the line colours: a form always
  // holds them. The cell separators default to silver here.
  p.Property("CellSeparator", &TLiteDesigner::CellSeparator, &TLiteDesigner::SetCellSeparator)
      .Type(TypeInfoTColor())
      .Default(clSilver);
  p.Property("TitleStyle", &TLiteDesigner::TitleStyle, &TLiteDesigner::SetTitleStyle)
      .Default(lts3D);
  p.Property("ShowLines", &TLiteDesigner::ShowLines, &TLiteDesigner::SetShowLines).Default(true);
  p.Property("ShowLastLine", &TLiteDesigner::ShowLastLine, &TLiteDesigner::SetShowLastLine)
      .Default(true);
}

}  // namespace brevant
