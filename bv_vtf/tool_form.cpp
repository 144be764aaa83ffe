// TVisionToolForm: properties, the IVisionToolForm operations, painting,
// free notifications and the published table. Opening is in
// tool_form_show.cpp, closing in tool_form_close.cpp.
#include "bv_vtf/tool_form.h"

#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"
#include "bv_vtf/tool_form_bg.h"
#include "bv_vtf/vtf_strings.h"
#include "classes/rtti_builder.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/scope.h"

namespace brevant {

BV_ENUM_INFO(TvtfPlacement, tfpDefault, tfpBottomCenter, tfpBottomLeft, tfpBottomRight,
             tfpRightCenter)
BV_ENUM_INFO(TvtfOption, tfoFocusable, tfoFixedWidth, tfoFixedHeight, tfoNoAutoPost,
             tfoNoAutoCancel, tfoAlwaysPostChanges)
BV_SET_INFO(TvtfOptions, TvtfOption)

TVisionToolForm::TVisionToolForm(TComponent* owner) : TCustomPanel(owner) {
  SetColor(clWindow);
  SetParentColor(false);
  SetBorderWidth(0);
  designFont_ = Create<TFont>();
  // Hidden at run time: it shows only inside its background form.
  SetVisible(false);
}

TVisionToolForm::~TVisionToolForm() {
  TObject::Free(designFont_);
}

void TVisionToolForm::BeforeDestruction() {
  // The background form is owned by this tool form and frees its children
  // with itself: take the tool form out of it first.
  if (bg_) {
    CallHandlingExceptions(this, [this] { CloseNow(); });
    if (bg_) {
      bg_->SetToolForm(nullptr);
      RestoreDesign();
      bg_ = nullptr;
    }
  }
  TCustomPanel::BeforeDestruction();
}

void TVisionToolForm::Loaded() {
  TCustomPanel::Loaded();
  if (activeControl_) CheckOnToolForm(activeControl_);
  if (dataGrid_) CheckOnToolForm(dataGrid_);
  if (!ComponentState().Contains(csDesigning)) SetVisible(false);
}

// ---- properties ----

void TVisionToolForm::CheckOnToolForm(TControl* control) const {
  for (TWinControl* p = control->Parent(); p; p = p->Parent())
    if (p == this) return;
  throw EBVError(vtfres::SMustBePlacedOn, {control->Name(), Name()});
}

void TVisionToolForm::SetActiveControl(TWinControl* value) {
  if (value == activeControl_) return;
  if (value && !IsLoading()) CheckOnToolForm(value);
  if (activeControl_) activeControl_->RemoveFreeNotification(this);
  activeControl_ = value;
  if (value) value->FreeNotification(this);
}

void TVisionToolForm::SetDataGrid(TDBTabulon* value) {
  if (value == dataGrid_) return;
  if (value && !IsLoading()) CheckOnToolForm(value);
  if (dataGrid_) dataGrid_->RemoveFreeNotification(this);
  dataGrid_ = value;
  if (value) value->FreeNotification(this);
}

void TVisionToolForm::Notification(TComponent* component, TOperation operation) {
  TCustomPanel::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == activeControl_) activeControl_ = nullptr;
  if (component == dataGrid_) dataGrid_ = nullptr;
  if (component == designParent_) designParent_ = nullptr;
  // The served edit goes: the drop-down closes without its changes.
  if (component && component == editControl_)
    CallHandlingExceptions(this, [this] { Close(false, false); });
}

// ---- the IVisionToolForm operations ----

void TVisionToolForm::KeyDown(Word& key, TShiftState shift) {
  OnKeyDown(this, key, shift);
}

void TVisionToolForm::FocusChanged(TWinControl* control) {
  for (TControl* c = control; c; c = c->Parent())
    if (bg_ && c == bg_) return;
  Close(false, false);
}

void TVisionToolForm::CurrentChanged() {
  if (dataGrid_) dataGrid_->SyncToValue();
  OnCurrentChanged(this);
}

void TVisionToolForm::TextChanged() {
  OnTextChanged(this);
}

// ---- run-time helpers ----

Integer TVisionToolForm::HostOffset() const {
  return edit_ && edit_->InGrid() ? 1 : 0;
}

TCustomForm* TVisionToolForm::EditForm() const {
  return editControl_ ? GetParentForm(editControl_) : nullptr;
}

// ---- painting ----

void TVisionToolForm::Paint() {
  TCustomPanel::Paint();
  if (ComponentState().Contains(csDesigning)) {
    TCanvas* c = Canvas();
    const TPenStyle pen = c->Pen()->Style();
    const TBrushStyle brush = c->Brush()->Style();
    TScopeGuard restore([c, pen, brush] {
      c->Pen()->SetStyle(pen);
      c->Brush()->SetStyle(brush);
    });
    c->Pen()->SetStyle(psDash);
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(ClientRect());
  }
  OnPaint(this);
}

BV_PUBLISH(TVisionToolForm, TCustomPanel) {
  using T = TVisionToolForm;
  p.Property("ActiveControl", &T::ActiveControl, &T::SetActiveControl);
  p.Property("BorderWidth", &T::BorderWidth, &T::SetBorderWidth).Default(0);
  p.Property("Color", &T::Color, &T::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&T::IsColorStored)
      .Default(clWindow);
  p.Property("DataGrid", &T::DataGrid, &T::SetDataGrid);
  p.Property("Options", &T::Options, &T::SetOptions).Default(TvtfOptions{});
  p.Property("ParentColor", &T::ParentColor, &T::SetParentColor).Default(0);
  p.Property("Placement", &T::Placement, &T::SetPlacement).Default(tfpDefault);
  p.Event("OnActivate", &T::OnActivate, "TNotifyEvent");
  p.Event("OnClose", &T::OnClose, "TNotifyEvent");
  p.Event("OnCurrentChanged", &T::OnCurrentChanged, "TNotifyEvent");
  p.Event("OnEditAction", &T::OnEditAction, "TvtfEditActionEvent");
  p.Event("OnPaint", &T::OnPaint, "TNotifyEvent");
  p.Event("OnPostChanges", &T::OnPostChanges, "TNotifyEvent");
  p.Event("OnShortCut", &T::OnShortCut, "TvtfShortCutEvent");
  p.Event("OnShow", &T::OnShow, "TNotifyEvent");
  p.Event("OnSizing", &T::OnSizing, "TvtfSizingEvent");
  p.Event("OnTextChanged", &T::OnTextChanged, "TNotifyEvent");
}

}  // namespace brevant
