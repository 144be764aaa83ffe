#include "bv/designer.h"

#include <algorithm>
#include <utility>

#include "bv/base_designer.h"
#include "bv/column.h"
#include "bv/columns.h"
#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/paint_info.h"
#include "bv/tabulon.h"
#include "bv/vision_painter.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/child_font.h"
#include "classes/rtti_builder.h"
#include "graphics/canvas.h"
#include "rtl/closing_guard.h"
#include "rtl/scope.h"
#include "rtl/store_changed.h"

namespace brevant {

BV_ENUM_INFO(TtlFocusRectKind, frcNone, frcCell, frcRow, frcPersistentRow, frcPersistentCell)

// ---- TtlCellMargins ----

void TtlCellMargins::Set(Integer& field, Integer value) {
  CheckNotNegative(value);
  if (field == value) return;
  field = value;
  if (designer_ && !designer_->ComponentState().Contains(csLoading)) designer_->NotifyMeasure();
}

void TtlCellMargins::Assign(const TPersistent* source) {
  if (auto* m = TryAs<TtlCellMargins>(source)) {
    left_ = m->left_;
    top_ = m->top_;
    right_ = m->right_;
    bottom_ = m->bottom_;
    return;
  }
  TPersistent::Assign(source);
}

BV_PUBLISH(TtlCellMargins, TPersistent) {
  p.Property("LeftMargin", &TtlCellMargins::LeftMargin, &TtlCellMargins::SetLeftMargin).Default(2);
  p.Property("TopMargin", &TtlCellMargins::TopMargin, &TtlCellMargins::SetTopMargin).Default(2);
  p.Property("RightMargin", &TtlCellMargins::RightMargin, &TtlCellMargins::SetRightMargin)
      .Default(2);
  p.Property("BottomMargin", &TtlCellMargins::BottomMargin, &TtlCellMargins::SetBottomMargin)
      .Default(2);
}

// ---- TtlDesigner: life cycle and grids ----

TtlDesigner::TtlDesigner(TComponent* owner)
    : TComponent(owner),
      titleColor_(clBtnFace),
      footerColor_(clBtnFace),
      fixedColor_(clBtnFace),
      focusRectKind_(frcCell),
      selectedCell_(clHighlight),
      selectedRow_(clHighlight),
      selectedCellText_(clHighlightText),
      selectedRowText_(clHighlightText),
      hiddenSelection_(clBtnFace) {
  titleMargins_ = Create<TtlCellMargins>(this);
  cellMargins_ = Create<TtlCellMargins>(this);
  footerMargins_ = Create<TtlCellMargins>(this);
}

TtlDesigner::~TtlDesigner() {
  grids_.clear();
  Free(titleMargins_);
  Free(cellMargins_);
  Free(footerMargins_);
  Free(titleFont_);
  Free(cellFont_);
  Free(footerFont_);
}

void TtlDesigner::BeforeDestruction() {
  // The registered default goes back to the base designer first, so the
  // grids told below do not fall back on a designer being freed.
  if (DefaultDesigner() == this) SetDefaultDesigner(nullptr);
  const std::vector<TDBTabulon*> grids = std::exchange(grids_, {});
  for (TDBTabulon* grid : grids) grid->DesignerDestroying(this);
  TComponent::BeforeDestruction();
}

void TtlDesigner::RegisterGrid(TDBTabulon* grid) {
  if (ComponentState().Contains(csDestroying) || !grid) return;
  if (std::find(grids_.begin(), grids_.end(), grid) == grids_.end()) grids_.push_back(grid);
}

void TtlDesigner::UnregisterGrid(TDBTabulon* grid) {
  // Also while the designer is going: it tells the grids left in the list.
  std::erase(grids_, grid);
}

void TtlDesigner::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove) {
    if (auto* grid = TryAs<TDBTabulon>(component)) UnregisterGrid(grid);
  }
}

void TtlDesigner::Loaded() {
  TComponent::Loaded();
  RequeryLineWidths();
}

template <class F>
void TtlDesigner::ForEachGrid(F fn) {
  for (TDBTabulon* grid : std::vector<TDBTabulon*>(grids_)) fn(grid);
}

bool TtlDesigner::Notifies() const {
  return !ComponentState().Contains(csLoading) && !assigning_;
}

// ---- notifications ----

void TtlDesigner::NotifyLayout() {
  if (Notifies()) ForEachGrid([](TDBTabulon* grid) { grid->LayoutGrid(); });
}

void TtlDesigner::NotifyMeasure() {
  if (!Notifies()) return;
  ForEachGrid([](TDBTabulon* grid) {
    grid->MeasureLines();
    grid->InvalidateGrid();
  });
}

void TtlDesigner::RequeryLineWidths() {
  vertLineWidth_ = GetVertLineWidth();
  rowLineWidth_ = GetRowLineWidth();
  GetTitleLineWidths(innerTitleLine_, outerTitleLine_);
  GetFooterLineWidths(innerFooterLine_, outerFooterLine_);
  NotifyLayout();
}

void TtlDesigner::RepaintTitles() {
  if (!Notifies()) return;
  ForEachGrid([](TDBTabulon* grid) {
    grid->InvalidateTitles();
    grid->Update();
  });
}

void TtlDesigner::RepaintFooters() {
  if (!Notifies()) return;
  ForEachGrid([](TDBTabulon* grid) {
    grid->InvalidateFooters();
    grid->Update();
  });
}

void TtlDesigner::RepaintCursorRows() {
  if (!Notifies()) return;
  ForEachGrid([](TDBTabulon* grid) {
    grid->InvalidateRow(grid->CursorRow());
    grid->Update();
  });
}

void TtlDesigner::RepaintAll() {
  if (Notifies()) ForEachGrid([](TDBTabulon* grid) { grid->InvalidateGrid(); });
}

// ---- copying ----

void TtlDesigner::Assign(const TPersistent* source) {
  const auto* other = TryAs<TtlDesigner>(source);
  if (!other || other->ClassType() != ClassType()) {
    TComponent::Assign(source);
    return;
  }
  if (other == this) return;
  {
    // The widths are asked again and the grids relay out once, also after
    // a copy that failed half-way (what was copied stays).
    TClosingGuard relayout([this] { RequeryLineWidths(); });
    TTemporaryChange<bool> assigning(assigning_, true);
    AssignFrom(other);
  }
}

void TtlDesigner::AssignFrom(const TtlDesigner* source) {
  auto* s = const_cast<TtlDesigner*>(source);
  SetTitleColor(s->TitleColor());
  SetFooterColor(s->FooterColor());
  SetFixedColor(s->FixedColor());
  SetFocusRectKind(s->FocusRectKind());
  // A font the source never created is not created here either.
  SetTitleFont(s->titleFont_);
  SetCellFont(s->cellFont_);
  SetFooterFont(s->footerFont_);
  SetTitleMargins(s->TitleMargins());
  SetCellMargins(s->CellMargins());
  SetFooterMargins(s->FooterMargins());
  SetSelectedCell(s->SelectedCell());
  SetSelectedRow(s->SelectedRow());
  SetSelectedCellText(s->SelectedCellText());
  SetSelectedRowText(s->SelectedRowText());
  SetHiddenSelection(s->HiddenSelection());
  SetSelectedCellFill(s->SelectedCellFill());
  SetSelectedRowFill(s->SelectedRowFill());
  SetUltraSoftSelectedCell(s->UltraSoftSelectedCell());
  SetUltraSoftSelectedRow(s->UltraSoftSelectedRow());
}

// ---- colours and selection look ----

void TtlDesigner::SetTitleColor(TColor value) {
  if (StoreChanged(titleColor_, value)) RepaintTitles();
}

void TtlDesigner::SetFooterColor(TColor value) {
  if (StoreChanged(footerColor_, value)) RepaintFooters();
}

void TtlDesigner::SetFixedColor(TColor value) {
  if (StoreChanged(fixedColor_, value)) RepaintAll();
}

void TtlDesigner::SetFocusRectKind(TtlFocusRectKind value) {
  if (StoreChanged(focusRectKind_, value)) RepaintCursorRows();
}

void TtlDesigner::SetSelectedCell(TColor value) {
  selectedCell_ = value;
  RepaintCursorRows();
}

void TtlDesigner::SetSelectedRow(TColor value) {
  selectedRow_ = value;
  RepaintCursorRows();
}

void TtlDesigner::SetHiddenSelection(TColor value) {
  hiddenSelection_ = value;
  RepaintCursorRows();
}

void TtlDesigner::SetSelectedCellText(TColor value) {
  if (!StoreChanged(selectedCellText_, value)) return;
  RepaintTitles();
  RepaintCursorRows();
}

void TtlDesigner::SetSelectedRowText(TColor value) {
  if (StoreChanged(selectedRowText_, value)) RepaintAll();
}

void TtlDesigner::SetSelectedCellFill(bool value) {
  if (StoreChanged(selectedCellFill_, value)) RepaintCursorRows();
}

void TtlDesigner::SetSelectedRowFill(bool value) {
  if (StoreChanged(selectedRowFill_, value)) RepaintCursorRows();
}

void TtlDesigner::SetUltraSoftSelectedCell(bool value) {
  if (StoreChanged(ultraSoftSelectedCell_, value)) RepaintAll();
}

void TtlDesigner::SetUltraSoftSelectedRow(bool value) {
  if (StoreChanged(ultraSoftSelectedRow_, value)) RepaintAll();
}

// ---- fonts and margins ----

TChildFont* TtlDesigner::EnsureFont(TChildFont*& font) {
  if (!font) {
    font = Create<TChildFont>();
    font->OnChange = TChildFontChangeEvent::FromCallable([this](TChildFont* f) { FontChanged(f); });
  }
  return font;
}

TChildFont* TtlDesigner::TitleFont() {
  return EnsureFont(titleFont_);
}
TChildFont* TtlDesigner::CellFont() {
  return EnsureFont(cellFont_);
}
TChildFont* TtlDesigner::FooterFont() {
  return EnsureFont(footerFont_);
}

void TtlDesigner::SetChildFont(TChildFont*& font, TChildFont* value) {
  if (value == font) return;
  if (!value) {
    Free(font);
    font = nullptr;
    NotifyMeasure();
    return;
  }
  EnsureFont(font)->Assign(value);  // its change callback re-measures
}

void TtlDesigner::FontChanged(TChildFont*) {
  NotifyMeasure();
}

void TtlDesigner::SetTitleMargins(TtlCellMargins* value) {
  titleMargins_->Assign(value);
  NotifyMeasure();
}

void TtlDesigner::SetCellMargins(TtlCellMargins* value) {
  cellMargins_->Assign(value);
  NotifyMeasure();
}

void TtlDesigner::SetFooterMargins(TtlCellMargins* value) {
  footerMargins_->Assign(value);
  NotifyMeasure();
}

// ---- painting ----

void TtlDesigner::Paint(TDBTabulon* grid, TtlPaintInfo* info) {
  TCanvas* canvas = info->Canvas;
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(info->BackColor);
  canvas->FillRect(grid->ClientRect());
}

namespace {

// Runs fn for every visible column of the group, left to right and line
// by line as the collection holds them.
template <class F>
void ForEachVisibleColumn(TDBTabulon* grid, const TtlGroupInfo& group, F fn) {
  TtlColumns* columns = grid->Columns();
  for (Integer i = group.FirstColumn; i >= 0 && i <= group.LastColumn; ++i) {
    TtlColumn* column = columns->Items(i);
    if (column->Visible()) fn(column);
  }
}

}  // namespace

void TtlDesigner::DrawTitles(TDBTabulon* grid, TCanvas* canvas, const TtlGroupInfo& group,
                             Integer dx, Integer dy) {
  ForEachVisibleColumn(grid, group,
                       [&](TtlColumn* column) { column->DrawTitle(canvas, dx, nullptr, dy); });
}

void TtlDesigner::DrawCells(TDBTabulon* grid, TCanvas* canvas, const TtlGroupInfo& group,
                            Integer firstRow, Integer lastRow, Integer dx, Integer dy) {
  TtlPainter* painter = grid->Painter();
  if (!grid->ShowsRows() || !painter) return;
  ForEachVisibleColumn(grid, group, [&](TtlColumn* column) {
    if (TznFieldVision* vision = column->EffectiveVision())
      vision->DrawCells(painter, column->FieldList(), canvas, dx, dy, firstRow, lastRow);
  });
}

void TtlDesigner::DrawFooters(TDBTabulon* grid, TCanvas* canvas, const TtlGroupInfo& group,
                              Integer dx, Integer dy) {
  ForEachVisibleColumn(grid, group,
                       [&](TtlColumn* column) { column->DrawFooter(canvas, dx, nullptr, dy); });
}

BV_PUBLISH(TtlDesigner, TComponent) {
  p.Property("TitleColor", &TtlDesigner::TitleColor, &TtlDesigner::SetTitleColor)
      .Type(TypeInfoTColor())
      .Default(clBtnFace);
  p.Property("FooterColor", &TtlDesigner::FooterColor, &TtlDesigner::SetFooterColor)
      .Type(TypeInfoTColor())
      .Default(clBtnFace);
  p.Property("FixedColor", &TtlDesigner::FixedColor, &TtlDesigner::SetFixedColor)
      .Type(TypeInfoTColor())
      .Default(clBtnFace);
  p.Property("FocusRectKind", &TtlDesigner::FocusRectKind, &TtlDesigner::SetFocusRectKind)
      .Default(frcCell);
  p.Property("TitleFont", &TtlDesigner::TitleFont, &TtlDesigner::SetTitleFont)
      .Stored(&TtlDesigner::IsTitleFontStored);
  p.Property("CellFont", &TtlDesigner::CellFont, &TtlDesigner::SetCellFont)
      .Stored(&TtlDesigner::IsCellFontStored);
  p.Property("FooterFont", &TtlDesigner::FooterFont, &TtlDesigner::SetFooterFont)
      .Stored(&TtlDesigner::IsFooterFontStored);
  p.Property("TitleMargins", &TtlDesigner::TitleMargins, &TtlDesigner::SetTitleMargins);
  p.Property("CellMargins", &TtlDesigner::CellMargins, &TtlDesigner::SetCellMargins);
  p.Property("FooterMargins", &TtlDesigner::FooterMargins, &TtlDesigner::SetFooterMargins);
  p.Property("SelectedCell", &TtlDesigner::SelectedCell, &TtlDesigner::SetSelectedCell)
      .Type(TypeInfoTColor())
      .Default(clHighlight);
  p.Property("SelectedRow", &TtlDesigner::SelectedRow, &TtlDesigner::SetSelectedRow)
      .Type(TypeInfoTColor())
      .Default(clHighlight);
  p.Property("SelectedCellText", &TtlDesigner::SelectedCellText, &TtlDesigner::SetSelectedCellText)
      .Type(TypeInfoTColor())
      .Default(clHighlightText);
  p.Property("SelectedRowText", &TtlDesigner::SelectedRowText, &TtlDesigner::SetSelectedRowText)
      .Type(TypeInfoTColor())
      .Default(clHighlightText);
  p.Property("SelectedCellFill", &TtlDesigner::SelectedCellFill, &TtlDesigner::SetSelectedCellFill)
      .Default(true);
  p.Property("SelectedRowFill", &TtlDesigner::SelectedRowFill, &TtlDesigner::SetSelectedRowFill)
      .Default(false);
  p.Property("UltraSoftSelectedCell", &TtlDesigner::UltraSoftSelectedCell,
             &TtlDesigner::SetUltraSoftSelectedCell)
      .Default(false);
  p.Property("UltraSoftSelectedRow", &TtlDesigner::UltraSoftSelectedRow,
             &TtlDesigner::SetUltraSoftSelectedRow)
      .Default(false);
  p.Property("HiddenSelection", &TtlDesigner::HiddenSelection, &TtlDesigner::SetHiddenSelection)
      .Type(TypeInfoTColor())
      .Default(clBtnFace);
}

// ---- the process-wide default ----

namespace {

// The grid unit's own base designer (made on first use) and the designer a
// unit registered.
struct TDefaultDesignerHolder {
  TtlDesigner* base = nullptr;        // owned, freed at exit
  TtlDesigner* registered = nullptr;  // not owned
  bool closed = false;                // set at exit: no designer is made any more
  ~TDefaultDesignerHolder() {
    closed = true;
    TtlDesigner* doomed = std::exchange(base, nullptr);
    TObject::Free(doomed);
  }
};

TDefaultDesignerHolder& Holder() {
  static TDefaultDesignerHolder holder;
  return holder;
}

}  // namespace

TtlDesigner* DefaultDesigner() {
  TDefaultDesignerHolder& h = Holder();
  if (h.registered) return h.registered;
  if (!h.base && !h.closed) h.base = Create<TtlBaseDesigner>(nullptr);
  return h.base;
}

void SetDefaultDesigner(TtlDesigner* designer) {
  TtlDesigner* previous = DefaultDesigner();
  Holder().registered = designer;
  TtlDesigner* next = DefaultDesigner();
  if (!previous || previous == next) return;
  // Grids that fell back on the previous default move; grids that chose it
  // keep it.
  for (Integer i = previous->GridCount() - 1; i >= 0; --i) {
    if (i >= previous->GridCount()) continue;
    previous->Grids(i)->UseDefaultDesigner();
  }
}

}  // namespace brevant
