#include "bv_env/env.h"

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "bv_env/env_images.h"
#include "bv_env/env_strings.h"
#include "bv_rtm/tokens.h"
#include "classes/rtti_builder.h"
#include "controls/form_resources.h"
#include "controls/menus.h"
#include "db/field_types.h"
#include "graphics/colors.h"
#include "graphics/imagelist.h"
#include "rtl/scope.h"

namespace brevant {

BV_PUBLISH(TbvEnv, TForm) {
  p.Method<TNotifyEvent, &TbvEnv::FormCreate>("FormCreate");
  p.Method<TNotifyEvent, &TbvEnv::FooterMenuClick>("FooterMenuClick");
  p.Method<TNotifyEvent, &TbvEnv::pumFooterMenuPopup>("pumFooterMenuPopup");
}

// The generated registration of the environment's form text.
void RegisterEnvFormText();

void RegisterEnvClasses() {
  [[maybe_unused]] static const bool registered = [] {
    RegisterControlClasses();
    RegisterClasses({TImageList::StaticClass(), TbvEnv::StaticClass()});
    RegisterEnvFormText();
    return true;
  }();
}

void TbvEnv::Loaded() {
  TForm::Loaded();
  BindComponent(this, "ArrowsYwImgs", ArrowsYwImgs);
  BindComponent(this, "ArrowsGrImgs", ArrowsGrImgs);
  BindComponent(this, "TitleStateImgs", TitleStateImgs);
  BindComponent(this, "FooterStateImgs", FooterStateImgs);
  BindComponent(this, "DesigntimeImgs", DesigntimeImgs);
  BindComponent(this, "ToolbarImages", ToolbarImages);
  BindComponent(this, "BlobMarkers", BlobMarkers);
  BindComponent(this, "pumFooterMenu", pumFooterMenu);
  BindComponent(this, "miAverage", miAverage);
  BindComponent(this, "miCount", miCount);
  BindComponent(this, "miMax", miMax);
  BindComponent(this, "miMin", miMin);
  BindComponent(this, "miSum", miSum);
  BindComponent(this, "miSep1", miSep1);
  BindComponent(this, "miNone", miNone);
}

void TbvEnv::BeforeDestruction() {
  // Grids must not reach a freed environment, whoever frees it.
  if (Environment() == this) SetEnvironment(nullptr);
  footerColumn_ = nullptr;
  TForm::BeforeDestruction();
}

void TbvEnv::FormCreate(TObject*) {
  for (Integer state = fsAverage; state <= fsNone; ++state)
    StateItem(state)->SetCaption(GetToken(bvres::SFooterStateCaptions, state, ';'));
  AddDragArrows(ArrowsYwImgs, clYellow, clOlive);
  AddDragArrows(ArrowsGrImgs, clLime, clGreen);
  AddTitleStateImages(TitleStateImgs);
  AddFooterStateImages(FooterStateImgs);
  AddDesigntimeImages(DesigntimeImgs);
  AddToolbarImages(ToolbarImages);
  AddBlobMarkers(BlobMarkers);
}

TMenuItem* TbvEnv::StateItem(Integer state) const {
  switch (state) {
    case fsAverage:
      return miAverage;
    case fsCount:
      return miCount;
    case fsMax:
      return miMax;
    case fsMin:
      return miMin;
    case fsSum:
      return miSum;
    case fsNone:
      return miNone;
    default:
      return nullptr;
  }
}

TMenuItem* TbvEnv::FooterStateItem(TtlFooterState state) {
  return StateItem(state);
}

TImageList* TbvEnv::DragArrows(bool secondSet) {
  return secondSet ? ArrowsGrImgs : ArrowsYwImgs;
}

// ---- the footer menu ----

void TbvEnv::PrepareFooterMenu(TField* field) {
  const bool numeric = dynamic_cast<TNumericField*>(field) != nullptr;
  const bool dated = dynamic_cast<TDateTimeField*>(field) != nullptr ||
                     dynamic_cast<TSQLTimeStampField*>(field) != nullptr;
  miCount->SetEnabled(true);
  miNone->SetEnabled(true);
  miAverage->SetEnabled(numeric || dated);
  miMax->SetEnabled(numeric || dated);
  miMin->SetEnabled(numeric || dated);
  miSum->SetEnabled(numeric);
}

void TbvEnv::MarkStateItems(TtlColumn* column) {
  for (Integer state = fsAverage; state <= fsNone; ++state) {
    TMenuItem* item = StateItem(state);
    item->SetChecked(column->FooterState() == state);
    item->SetEnabled(true);
    item->SetVisible(column->FooterStates().Contains(static_cast<TtlFooterState>(state)));
  }
}

bool TbvEnv::PopupFooterMenu(TDBTabulon* grid, TtlColumn* column, Integer x, Integer y) {
  if (!grid || !column || column->Grid() != grid) return false;
  const TtlFooterStates states = column->FooterStates();
  if (grid->OptionsBehavior().Contains(gboNoFooterStates) ||
      column->OptionsBehavior().Contains(cboNoFooterStates) || states.Empty() ||
      states == TtlFooterStates{fsNone})
    return false;
  MarkStateItems(column);
  // The column is open already while the grid's handler decides, so the
  // handler can prepare the items for the column's field.
  TTemporaryChange open(footerColumn_, column);
  bool doPopup = true;
  if (grid->OnFooterMenuPopup) grid->OnFooterMenuPopup(grid, x, y, doPopup);
  if (!doPopup) return false;
  pumFooterMenu->SetPopupComponent(grid);
  const TPoint at = grid->ClientToScreen({x, y});
  pumFooterMenu->Popup(at.X, at.Y);
  return true;
}

TtlColumn* TbvEnv::OpenColumnOf(TDBTabulon* grid) const {
  if (!grid || !footerColumn_) return nullptr;
  // Compared by address only: the column may have been freed meanwhile.
  TtlColumns* columns = grid->Columns();
  for (Integer i = 0; i < columns->Count(); ++i)
    if (columns->Items(i) == footerColumn_) return footerColumn_;
  return nullptr;
}

void TbvEnv::FooterMenuClick(TObject* sender) {
  auto* item = dynamic_cast<TMenuItem*>(sender);
  TtlColumn* column = OpenColumnOf(dynamic_cast<TDBTabulon*>(pumFooterMenu->PopupComponent()));
  if (!item || !column || item->Tag() < fsAverage || item->Tag() > fsNone) return;
  const auto state = static_cast<TtlFooterState>(item->Tag());
  column->ChangeFooterState(state == column->FooterState() ? fsNone : state);
}

void TbvEnv::pumFooterMenuPopup(TObject*) {
  miSep1->SetVisible(miNone->Visible());
}

}  // namespace brevant
