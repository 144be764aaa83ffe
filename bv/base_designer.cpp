#include "bv/base_designer.h"

#include <algorithm>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/group_info.h"
#include "bv/paint_info.h"
#include "bv/tabulon.h"
#include "bv_rtm/draw_helpers.h"
#include "classes/rtti_builder.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "rtl/scope.h"
#include "rtl/store_changed.h"

namespace brevant {

TColor SoftColor(TColor color) {
  const TColor c = ColorToRGB(color);
  const TColor h = ColorToRGB(clHighlight);
  TColor result = 0;
  for (int shift : {0, 8, 16}) {
    const TColor part = (((c >> shift) & 0xFF) * 3 + ((h >> shift) & 0xFF)) / 4;
    result |= part << shift;
  }
  return result;
}

TtlBaseDesigner::TtlBaseDesigner(TComponent* owner)
    : TtlDesigner(owner),
      vertLines_(0),
      horizLines_(0),
      cellSeparator_(0),
      rowSeparator_(clNone),
      footerSurfaceColor_(clBtnFace),
      footerLines_(clGray) {
  RequeryLineWidths();
}

// ---- properties ----

void TtlBaseDesigner::SetVertLines(TColor value) {
  vertLines_ = value;
  RepaintAll();
}

void TtlBaseDesigner::SetHorizLines(TColor value) {
  const bool toggled = (horizLines_ == clNone) != (value == clNone);
  horizLines_ = value;
  if (toggled)
    RequeryLineWidths();
  else
    RepaintAll();
}

void TtlBaseDesigner::SetCellSeparator(TColor value) {
  cellSeparator_ = value;
  RepaintAll();
}

void TtlBaseDesigner::SetRowSeparator(TColor value) {
  rowSeparator_ = value;
  RepaintAll();
}

void TtlBaseDesigner::SetFooterSurfaceColor(TColor value) {
  if (StoreChanged(footerSurfaceColor_, value)) RepaintFooters();
}

void TtlBaseDesigner::SetFooterLines(TColor value) {
  if (StoreChanged(footerLines_, value)) RepaintFooters();
}

void TtlBaseDesigner::SetFlatFooter(bool value) {
  if (StoreChanged(flatFooter_, value)) RepaintFooters();
}

void TtlBaseDesigner::GetFooterLineWidths(Integer& inner, Integer& outer) {
  inner = 4;
  outer = 3;
}

void TtlBaseDesigner::AssignFrom(const TtlDesigner* source) {
  TtlDesigner::AssignFrom(source);
  const auto* s = static_cast<const TtlBaseDesigner*>(source);
  SetVertLines(s->VertLines());
  SetHorizLines(s->HorizLines());
  SetCellSeparator(s->CellSeparator());
  SetRowSeparator(s->RowSeparator());
  SetFooterSurfaceColor(s->FooterSurfaceColor());
  SetFooterLines(s->FooterLines());
  SetFlatFooter(s->FlatFooter());
}

// ---- the paint ----

bool TtlBaseDesigner::GroupPainted(Integer group) const {
  const TtlPaintInfo* info = ctx_.Info;
  return group >= info->FirstGroup && group <= info->LastGroup &&
         ctx_.Grid->Columns()->Groups(group)->InView;
}

void TtlBaseDesigner::Fill(const TRect& rect, TColor colour) {
  if (colour == clNone || IsRectEmpty(rect)) return;
  TCanvas* canvas = ctx_.Canvas;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(colour);
  canvas->FillRect(rect);
}

void TtlBaseDesigner::Paint(TDBTabulon* grid, TtlPaintInfo* info) {
  TtlColumns* columns = grid->Columns();
  if (!columns->HasGroups() || info->LastGroup < info->FirstGroup) {
    TtlDesigner::Paint(grid, info);
    return;
  }
  // The context lives for this paint only, and so does the canvas over the
  // grid's kept off-screen pixels (a fresh canvas: every paint starts from
  // the same pens, brushes, fonts and clips).
  TScopeGuard clear([this] { ctx_ = TtlPaintContext(); });
  TObjectPtr<TCanvas> offScreen;
  ctx_ = TtlPaintContext();
  ctx_.Grid = grid;
  ctx_.Info = info;
  const TRect& clip = info->ClipRect;
  ctx_.DX = clip.Left;
  ctx_.DY = clip.Top;
  const bool titles = (info->Parts & ppTitles) != 0;
  const bool rows = (info->Parts & ppRows) != 0 && info->FirstRow >= 0;
  const Integer rowsPainted = rows ? info->LastRow - info->FirstRow + 1 : 0;
  ctx_.TitleHeight = titles ? grid->TitleHeight() : 0;
  ctx_.DataHeight = rowsPainted * grid->RowHeight();
  if (info->Parts & ppFooters) {
    ctx_.FooterHeight = grid->FooterHeight();
    ctx_.FooterTop =
        ctx_.TitleHeight + ctx_.DataHeight + (rows || titles ? grid->EmptyAreaHeight() : 0);
  }
  // A group's right edge includes its line, so the bands cover the lines
  // between the painted groups whichever group a clip ends in.
  ctx_.PaintedWidth = columns->GroupScreenLeft(info->LastGroup) +
                      columns->Groups(info->LastGroup)->TotalWidth -
                      columns->GroupScreenLeft(info->FirstGroup);

  if (info->OffScreen) {
    // Dotted lines alternate with the device pixel's parity: when the clip
    // origin's parity is odd the bitmap starts one spare column to the left,
    // so the dots fall where a paint from the client's origin puts them.
    const Integer shift = (clip.Left + clip.Top) & 1;
    offScreen = OffScreenCanvas(info, clip.Width() + shift, clip.Height());
    ctx_.OffScreen = offScreen.get();
    ctx_.Canvas = ctx_.OffScreen;
    ctx_.Canvas->SetOrigin(TPoint(shift, 0));
    Fill(TRect(0, 0, clip.Width(), clip.Height()), info->BackColor);
  } else {
    ctx_.Canvas = info->Canvas;
  }

  if (rows) {
    PaintRowsBand();
    for (Integer g = info->FirstGroup; g <= info->LastGroup; ++g)
      if (GroupPainted(g))
        DrawCells(grid, ctx_.Canvas, *columns->Groups(g), info->FirstRow, info->LastRow, ctx_.DX,
                  ctx_.DY);
  }
  if (ctx_.TitleHeight > 0) {
    PaintTitleBand();
    PaintGroups(true);
    if (!DrawsPressedTitle()) InvertPressedTitle();
  }
  if (ctx_.FooterHeight > 0) {
    PaintFooterBand();
    PaintGroups(false);
  }
  if (ctx_.OffScreen)
    info->Canvas->CopyRect(clip, ctx_.OffScreen, TRect(0, 0, clip.Width(), clip.Height()));
}

TObjectPtr<TCanvas> TtlBaseDesigner::OffScreenCanvas(TtlPaintInfo* info, Integer width,
                                                     Integer height) {
  // The canvas sees exactly width x height pixels of the kept bitmap, so
  // drawing is clipped as on a bitmap of the clip's size.
  TBitmap* kept = info->OffScreenBitmap(width, height);
  auto canvas = MakeObject<TCanvas>();
  canvas->SetSurface(kept->ScanLine(0), width, height, kept->Width() * 4);
  return canvas;
}

void TtlBaseDesigner::PaintGroups(bool titles) {
  TtlColumns* columns = ctx_.Grid->Columns();
  Integer x = 0;
  for (Integer g = ctx_.Info->FirstGroup; g <= ctx_.Info->LastGroup; ++g) {
    if (!GroupPainted(g)) continue;
    const TtlGroupInfo& group = *columns->Groups(g);
    if (titles) {
      PaintGroupTitle(group, x, ctx_.DX);
      DrawTitles(ctx_.Grid, ctx_.Canvas, group, ctx_.DX, ctx_.DY);
    } else {
      PaintGroupFooter(group, x, ctx_.DX);
      DrawFooters(ctx_.Grid, ctx_.Canvas, group, ctx_.DX, ctx_.DY);
    }
    x += group.Width;
  }
}

void TtlBaseDesigner::InvertPressedTitle() {
  TtlColumn* pressed = ctx_.Grid->PressedTitle();
  if (!pressed) return;
  TRect r = pressed->TitleRect(false);
  if (IsRectEmpty(r)) return;
  OffsetRect(r, -ctx_.DX, -ctx_.DY);
  ctx_.Canvas->InvertRect(r);
}

// ---- bands ----

void TtlBaseDesigner::PaintTitleBand() {
  Fill(TRect(0, 0, ctx_.PaintedWidth, ctx_.TitleHeight), TitleColor());
}

void TtlBaseDesigner::PaintGroupTitle(const TtlGroupInfo&, Integer, Integer) {}

void TtlBaseDesigner::PaintRowsBand() {
  const TtlPaintInfo* info = ctx_.Info;
  const Integer height = ctx_.Grid->RowHeight();
  for (Integer row = info->FirstRow; row <= info->LastRow; ++row)
    PaintRow(row, (row - info->FirstRow) * height + ctx_.TitleHeight);
}

void TtlBaseDesigner::PaintRow(Integer row, Integer top) {
  TDBTabulon* grid = ctx_.Grid;
  const TtlRowAttrs* attrs = ctx_.Info->Row(row);
  TColor rowColor = attrs->Color;
  if (attrs->UltraSoft) rowColor = SoftColor(rowColor == clNone ? ctx_.Info->BackColor : rowColor);
  Fill(TRect(0, top, ctx_.PaintedWidth, top + grid->RowHeight()), rowColor);
  TtlColumns* columns = grid->Columns();
  for (Integer g = ctx_.Info->FirstGroup; g <= ctx_.Info->LastGroup; ++g) {
    if (!GroupPainted(g)) continue;
    const TtlGroupInfo& group = *columns->Groups(g);
    for (Integer i = group.FirstColumn; i >= 0 && i <= group.LastColumn; ++i) {
      TtlColumn* column = columns->Items(i);
      if (!column->Visible()) continue;
      const TColor cell = CellColor(column, row, rowColor);
      if (cell != clNone && cell != rowColor) {
        TRect r = column->CellRect(row, true, true);
        OffsetRect(r, -ctx_.DX, -ctx_.DY);
        Fill(r, cell);
      }
      PaintCellFocus(column, row);
    }
    if (CellSeparator() != clNone) DrawGroupSeparators(group, sbRows, row, CellSeparator());
    if (row == grid->CursorRow() && RowSeparator() != clNone)
      DrawGroupSeparators(group, sbRows, row, RowSeparator());
  }
  PaintRowFocus(row, top);
}

TColor TtlBaseDesigner::CellColor(const TtlColumn* column, Integer row, TColor rowColor) const {
  const TtlRowAttrs* rowAttrs = ctx_.Info->Row(row);
  const TtlCellAttrs* attrs = rowAttrs->Cells(column->Index());
  if (!attrs) return rowColor;
  TColor colour = rowColor;
  if (attrs->Fill && attrs->Color != clNone) {
    colour = attrs->Color;
  } else if (rowColor == clNone ||
             (!rowAttrs->Fill && column->OptionsVisual().Contains(cvoForeColorFill))) {
    colour = attrs->Color;
    if (colour == clNone) colour = column->Color();
    if (colour == clNone && column->Fixed() == cfLeft) colour = FixedColor();
    if (colour == clNone)
      colour = rowColor;
    else if (rowAttrs->UltraSoft)
      colour = SoftColor(colour);
  }
  if (attrs->UltraSoft) colour = SoftColor(colour == clNone ? ctx_.Info->BackColor : colour);
  return colour;
}

void TtlBaseDesigner::PaintCellFocus(const TtlColumn* column, Integer row) {
  const TtlCellAttrs* attrs = ctx_.Info->Row(row)->Cells(column->Index());
  if (!attrs || !attrs->FocusCell) return;
  const TtlFocusRectKind kind = FocusRectKind();
  if (kind != frcPersistentCell && !(kind == frcCell && ctx_.Grid->Focused())) return;
  const bool vertical = CellSeparator() == clNone && RowSeparator() == clNone;
  TRect r = column->CellRect(row, false, vertical);
  OffsetRect(r, -ctx_.DX, -ctx_.DY);
  TCanvas* canvas = ctx_.Canvas;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clHighlight);
  canvas->FrameRect(r);
  DrawFocusRectBW(canvas, r);
}

void TtlBaseDesigner::PaintRowFocus(Integer row, Integer top) {
  TDBTabulon* grid = ctx_.Grid;
  const TtlFocusRectKind kind = FocusRectKind();
  const bool current = row == grid->CursorRow();
  if (!(current && kind == frcPersistentRow) && !(ctx_.Info->Row(row)->Focused && kind == frcRow))
    return;
  TtlColumns* columns = grid->Columns();
  const Integer last = columns->GroupCount() - 1;
  const Integer right =
      columns->GroupScreenLeft(last) + columns->Groups(last)->Width - ctx_.DX - VertLineWidth();
  DrawFocusRectBW(ctx_.Canvas,
                  TRect(-ctx_.DX, top, right, top + grid->RowHeight() - RowLineWidth()));
}

void TtlBaseDesigner::DrawGroupSeparators(const TtlGroupInfo& group, TtlSeparatorBand band,
                                          Integer row, TColor colour) {
  if (colour == clNone) return;
  TtlColumns* columns = ctx_.Grid->Columns();
  TCanvas* canvas = ctx_.Canvas;
  canvas->Pen()->SetStyle(psSolid);
  canvas->Pen()->SetWidth(1);
  canvas->Pen()->SetColor(colour);
  for (Integer i = group.FirstColumn; i >= 0 && i <= group.LastColumn; ++i) {
    TtlColumn* column = columns->Items(i);
    if (!column->Visible()) continue;
    TRect r = band == sbTitle  ? column->TitleRect(false)
              : band == sbRows ? column->CellRect(row, false, true)
                               : column->FooterRect(true, false);
    if (IsRectEmpty(r)) continue;
    OffsetRect(r, -ctx_.DX, -ctx_.DY);
    if (column->Line() > 0) {
      canvas->MoveTo(r.Left, r.Top - 1);
      canvas->LineTo(r.Right, r.Top - 1);
    }
    // On the first line the line starts at the row's top: the pixel above
    // belongs to the row before, which a repaint of this row alone leaves.
    if (column->PosInLine() > 0) {
      canvas->MoveTo(r.Left - 1, column->Line() > 0 || band != sbRows ? r.Top - 1 : r.Top);
      canvas->LineTo(r.Left - 1, r.Bottom);
    }
  }
}

void TtlBaseDesigner::PaintFooterBand() {
  const Integer top = ctx_.FooterTop;
  const Integer bottom = top + ctx_.FooterHeight;
  Fill(TRect(0, top, ctx_.PaintedWidth, bottom), FooterSurfaceColor());
  if (FlatFooter()) return;
  TtlColumns* columns = ctx_.Grid->Columns();
  const Integer last = columns->GroupCount() - 1;
  const Integer left = -ctx_.DX;
  const Integer right = columns->GroupScreenLeft(last) + columns->Groups(last)->Width - ctx_.DX - 1;
  Fill(TRect(left, top, right + 1, top + 1), clBtnHighlight);
  Fill(TRect(left, top, left + 1, bottom), clBtnHighlight);
  Fill(TRect(right, top, right + 1, bottom), clBtnShadow);
  Fill(TRect(left, bottom - 1, right + 1, bottom), clBtnShadow);
}

void TtlBaseDesigner::PaintGroupFooter(const TtlGroupInfo& group, Integer, Integer dx) {
  TtlColumns* columns = ctx_.Grid->Columns();
  TCanvas* canvas = ctx_.Canvas;
  for (Integer i = group.FirstColumn; i >= 0 && i <= group.LastColumn; ++i) {
    TtlColumn* column = columns->Items(i);
    if (!column->Visible()) continue;
    if (column->FooterState() == fsNone && column->FooterText().empty()) continue;
    TRect r = column->FooterRect(true, false);
    if (IsRectEmpty(r)) continue;
    OffsetRect(r, -dx, -ctx_.DY);
    const TColor back = column->FooterAttrs()->BackColor();
    Fill(r, back == clNone ? FooterColor() : back);
    if (FlatFooter()) {
      canvas->Brush()->SetColor(FooterLines());
      canvas->FrameRect(r);
    } else {
      canvas->DrawEdge(r, BDR_SUNKENOUTER, BF_RECT);
    }
  }
}

BV_PUBLISH(TtlBaseDesigner, TtlDesigner) {
  p.Property("VertLines", &TtlBaseDesigner::VertLines, &TtlBaseDesigner::SetVertLines)
      .Type(TypeInfoTColor())
      .Default(0);
  p.Property("HorizLines", &TtlBaseDesigner::HorizLines, &TtlBaseDesigner::SetHorizLines)
      .Type(TypeInfoTColor())
      .Default(0);
  p.Property("CellSeparator", &TtlBaseDesigner::CellSeparator, &TtlBaseDesigner::SetCellSeparator)
      .Type(TypeInfoTColor())
      .Default(0);
  p.Property("RowSeparator", &TtlBaseDesigner::RowSeparator, &TtlBaseDesigner::SetRowSeparator)
      .Type(TypeInfoTColor())
      .Default(clNone);
  p.Property("FooterSurfaceColor", &TtlBaseDesigner::FooterSurfaceColor,
             &TtlBaseDesigner::SetFooterSurfaceColor)
      .Type(TypeInfoTColor())
      .Default(clBtnFace);
  p.Property("FooterLines", &TtlBaseDesigner::FooterLines, &TtlBaseDesigner::SetFooterLines)
      .Type(TypeInfoTColor())
      .Default(clGray);
  p.Property("FlatFooter", &TtlBaseDesigner::FlatFooter, &TtlBaseDesigner::SetFlatFooter)
      .Default(false);
}

}  // namespace brevant
