#include "bv/designer.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/child_font.h"
#include "classes/rtti_builder.h"

namespace brevant {

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

// ---- TtlDesigner ----

TtlDesigner::TtlDesigner(TComponent* owner) : TComponent(owner) {
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

void TtlDesigner::NotifyLayout() {
  if (ComponentState().Contains(csLoading) || assigning_) return;
  for (TDBTabulon* grid : std::vector<TDBTabulon*>(grids_)) grid->LayoutGrid();
}

void TtlDesigner::NotifyMeasure() {
  if (ComponentState().Contains(csLoading) || assigning_) return;
  for (TDBTabulon* grid : std::vector<TDBTabulon*>(grids_)) {
    grid->MeasureLines();
    grid->InvalidateGrid();
  }
}

void TtlDesigner::RequeryLineWidths() {
  vertLineWidth_ = GetVertLineWidth();
  rowLineWidth_ = GetRowLineWidth();
  GetTitleLineWidths(innerTitleLine_, outerTitleLine_);
  GetFooterLineWidths(innerFooterLine_, outerFooterLine_);
  NotifyLayout();
}

BV_PUBLISH(TtlDesigner, TComponent) {
  p.Property("TitleFont", &TtlDesigner::TitleFont, &TtlDesigner::SetTitleFont)
      .Stored(&TtlDesigner::IsTitleFontStored);
  p.Property("CellFont", &TtlDesigner::CellFont, &TtlDesigner::SetCellFont)
      .Stored(&TtlDesigner::IsCellFontStored);
  p.Property("FooterFont", &TtlDesigner::FooterFont, &TtlDesigner::SetFooterFont)
      .Stored(&TtlDesigner::IsFooterFontStored);
  p.Property("TitleMargins", &TtlDesigner::TitleMargins, &TtlDesigner::SetTitleMargins);
  p.Property("CellMargins", &TtlDesigner::CellMargins, &TtlDesigner::SetCellMargins);
  p.Property("FooterMargins", &TtlDesigner::FooterMargins, &TtlDesigner::SetFooterMargins);
}

TtlDesigner* DefaultDesigner() {
  struct Holder {
    TtlDesigner* designer = nullptr;
    ~Holder() { TObject::Free(designer); }
  };
  static Holder holder;
  if (!holder.designer) {
    holder.designer = Create<TtlDesigner>(nullptr);
    holder.designer->RequeryLineWidths();
  }
  return holder.designer;
}

}  // namespace brevant
