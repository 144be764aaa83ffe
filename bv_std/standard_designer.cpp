#include "bv_std/standard_designer.h"

#include "bv/columns.h"
#include "bv/group_info.h"
#include "bv/paint_info.h"
#include "bv/tabulon.h"
#include "classes/rtti_builder.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "rtl/store_changed.h"

namespace brevant {

BV_ENUM_INFO(TStdDsgnOption, dg3DTitle, dg3DFooter, dgMarginLines, dgBoundLines, dgHorizLines,
             dgHorizBackground)
BV_SET_INFO(TStdDsgnOptions, TStdDsgnOption)

TStdDsgnOptions AllStdDsgnOptions() {
  return {dg3DTitle, dg3DFooter, dgMarginLines, dgBoundLines, dgHorizLines, dgHorizBackground};
}

TStandardDesigner::TStandardDesigner(TComponent* owner)
    : TtlBaseDesigner(owner),
      titleSeparator_(0),
      marginLines_(clSilver),
      boundLines_(0),
      options_(AllStdDsgnOptions()) {
  TtlBaseDesigner::SetFlatFooter(false);
  SetDrawsPressedTitle(true);
  UpdateUniformRows();
  RequeryLineWidths();
}

// ---- properties ----

void TStandardDesigner::UpdateUniformRows() {
  SetUniformRows(!(options_.Contains(dgBoundLines) &&
                   (!options_.Contains(dgHorizLines) || boundLines_ != HorizLines())));
}

void TStandardDesigner::SetTitleSeparator(TColor value) {
  if (StoreChanged(titleSeparator_, value)) RepaintTitles();
}

void TStandardDesigner::SetMarginLines(TColor value) {
  marginLines_ = value;
  UpdateUniformRows();
  RepaintAll();
}

void TStandardDesigner::SetBoundLines(TColor value) {
  boundLines_ = value;
  UpdateUniformRows();
  RepaintAll();
}

void TStandardDesigner::SetOptions(TStdDsgnOptions value) {
  if (value == options_) return;
  if (!value.Contains(dgHorizLines)) value.Include(dgHorizBackground);
  const bool linesChanged = value.Contains(dgHorizLines) != options_.Contains(dgHorizLines);
  options_ = value;
  // The base setter repaints the footers when the flat state changes.
  TtlBaseDesigner::SetFlatFooter(!options_.Contains(dg3DFooter));
  SetDrawsPressedTitle(options_.Contains(dg3DTitle));
  UpdateUniformRows();
  if (linesChanged)
    RequeryLineWidths();
  else
    RepaintAll();
}

void TStandardDesigner::GetTitleLineWidths(Integer& inner, Integer& outer) {
  inner = 0;
  outer = 3;
}

void TStandardDesigner::AssignFrom(const TtlDesigner* source) {
  TtlBaseDesigner::AssignFrom(source);
  const auto* s = static_cast<const TStandardDesigner*>(source);
  SetTitleSeparator(s->TitleSeparator());
  SetMarginLines(s->MarginLines());
  SetBoundLines(s->BoundLines());
  SetOptions(s->Options());
}

// ---- lines ----

void TStandardDesigner::HorizontalLine(Integer y, TColor colour) {
  if (colour == clNone) return;
  TCanvas* canvas = Context().Canvas;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(colour);
  canvas->FillRect(TRect(0, y, Context().PaintedWidth, y + 1));
}

void TStandardDesigner::DrawGroupLine(Integer x, Integer width, Integer top, Integer bottom,
                                      TColor middle) {
  if (bottom <= top) return;
  TCanvas* canvas = Context().Canvas;
  canvas->Brush()->SetStyle(bsSolid);
  const Integer right = x + width;
  if (VertLines() != clNone) {
    canvas->Brush()->SetColor(VertLines());
    canvas->FillRect(TRect(right - 3, top, right - 2, bottom));
    canvas->FillRect(TRect(right - 1, top, right, bottom));
  }
  const TColor centre = options_.Contains(dgMarginLines) ? marginLines_ : middle;
  if (centre == clNone) return;
  canvas->Brush()->SetColor(centre);
  canvas->FillRect(TRect(right - 2, top, right - 1, bottom));
}

void TStandardDesigner::DrawGroupLines(Integer top, Integer bottom, TColor middle) {
  const TtlPaintContext& ctx = Context();
  TtlColumns* columns = ctx.Grid->Columns();
  Integer x = 0;
  for (Integer g = ctx.Info->FirstGroup; g <= ctx.Info->LastGroup; ++g) {
    if (!GroupPainted(g)) continue;
    const Integer width = columns->Groups(g)->Width;
    DrawGroupLine(x, width, top, bottom, middle);
    x += width;
  }
}

void TStandardDesigner::DrawRowLines() {
  if (!options_.Contains(dgHorizLines)) return;
  const TtlPaintContext& ctx = Context();
  const Integer height = ctx.Grid->RowHeight();
  for (Integer y = ctx.TitleHeight + height - 1; y < ctx.TitleHeight + ctx.DataHeight; y += height)
    HorizontalLine(y, HorizLines());
}

// ---- bands ----

void TStandardDesigner::PaintTitleBand() {
  TtlBaseDesigner::PaintTitleBand();
  const Integer t = Context().TitleHeight;
  HorizontalLine(t - 3, HorizLines());
  HorizontalLine(t - 1, HorizLines());
  HorizontalLine(t - 2, marginLines_);
  DrawGroupLines(0, t - 1, TitleColor());
}

void TStandardDesigner::PaintGroupTitle(const TtlGroupInfo& group, Integer, Integer dx) {
  if (titleSeparator_ != clNone) DrawGroupSeparators(group, sbTitle, 0, titleSeparator_);
  if (!options_.Contains(dg3DTitle)) return;
  const TtlPaintContext& ctx = Context();
  TtlColumns* columns = ctx.Grid->Columns();
  const TtlColumn* pressed = ctx.Grid->PressedTitle();
  for (Integer i = group.FirstColumn; i >= 0 && i <= group.LastColumn; ++i) {
    TtlColumn* column = columns->Items(i);
    if (!column->Visible()) continue;
    TRect r = column->TitleRect(false);
    if (IsRectEmpty(r)) continue;
    OffsetRect(r, -dx, -ctx.DY);
    if (column == pressed)
      ctx.Canvas->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT);
    else
      ctx.Canvas->DrawEdge(r, BDR_RAISEDINNER, BF_RECT);
  }
}

void TStandardDesigner::PaintRowsBand() {
  TtlBaseDesigner::PaintRowsBand();
  const TtlPaintContext& ctx = Context();
  const Integer top = ctx.TitleHeight;
  const Integer lastOfWindow = ctx.Info->LastRow == ctx.Grid->RowCount() - 1 ? 1 : 0;
  const Integer bottom = top + ctx.DataHeight - lastOfWindow;
  if (options_.Contains(dgHorizBackground)) {
    DrawRowLines();
    DrawGroupLines(top, bottom, ctx.Info->BackColor);
  } else {
    DrawGroupLines(top, bottom, ctx.Info->BackColor);
    DrawRowLines();
  }
}

// ---- the process-wide instance ----

namespace {

TStandardDesigner* StandardDefault() {
  // The default designer's holder is made first, so it outlives this one.
  DefaultDesigner();
  static TObjectPtr<TStandardDesigner> designer(Create<TStandardDesigner>(nullptr));
  return designer.get();
}

}  // namespace

void StartStandardDesignerUnit() {
  RegisterClass(TStandardDesigner::StaticClass());
  SetDefaultDesigner(StandardDefault());
}

BV_PUBLISH(TStandardDesigner, TtlBaseDesigner) {
  p.Property("FlatFooter", nullptr, &TStandardDesigner::SetFlatFooter).Stored(false);
  p.Property("TitleSeparator", &TStandardDesigner::TitleSeparator,
             &TStandardDesigner::SetTitleSeparator)
      .Type(TypeInfoTColor())
      .Default(0);
  p.Property("MarginLines", &TStandardDesigner::MarginLines, &TStandardDesigner::SetMarginLines)
      .Type(TypeInfoTColor())
      .Default(clSilver);
  p.Property("BoundLines", &TStandardDesigner::BoundLines, &TStandardDesigner::SetBoundLines)
      .Type(TypeInfoTColor())
      .Default(0);
  p.Property("Options", &TStandardDesigner::Options, &TStandardDesigner::SetOptions)
      .Default(AllStdDsgnOptions());
}

}  // namespace brevant
