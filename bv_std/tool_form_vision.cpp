// The drop-down base of the visions, the stock tool form registry and the
// hook through which the tool form host opens a tool form.
#include "bv_std/tool_form_vision.h"

#include <array>

#include "bv/field_list.h"
#include "bv_vtf/tool_form.h"
#include "classes/rtti_builder.h"

namespace brevant {

BV_PUBLISH(TToolFormVision, TznFieldVision) {}

TToolFormVision::TToolFormVision(TComponent* owner) : TznFieldVision(owner) {
  SetEnableDropDown(true);
}

void TToolFormVision::BeforeDestruction() {
  if (openToolForm_) openToolForm_->GetToolForm()->Close(false, false);
  inherited::BeforeDestruction();
}

void TToolFormVision::SetDropDown(TVisionToolForm* value) {
  if (dropDown_ == value) return;
  if (dropDown_) dropDown_->RemoveFreeNotification(this);
  dropDown_ = value;
  if (dropDown_) dropDown_->FreeNotification(this);
}

void TToolFormVision::Notification(TComponent* component, TOperation operation) {
  inherited::Notification(component, operation);
  if (operation == opRemove && component == dropDown_) dropDown_ = nullptr;
}

TDataSource* TToolFormVision::GetListSourceFor(TtlFieldList*) {
  return nullptr;
}

TDataSource* TToolFormVision::GetListSource() {
  if (!openToolForm_) return nullptr;
  IznVisionEditor* edit = openToolForm_->GetToolForm()->Edit();
  return edit ? GetListSourceFor(edit->EditorFieldList()) : nullptr;
}

void TToolFormVision::TellCurrentChanged(IznVisionEditor* editor) {
  if (openToolForm_ && openToolForm_->GetToolForm()->Edit() == editor)
    openToolForm_->CurrentChanged();
}

TVisionToolForm* TToolFormVision::DefaultDropDown() {
  return nullptr;
}

bool TToolFormVision::CanDropDown(Integer reason) {
  if (reason < 0 || reason > ddoAlwaysEnableAltDown) return false;
  return dropDownOptions_.Contains(static_cast<TfvDropDownOption>(reason));
}

TVisionToolForm* TToolFormVision::GetDropDown() {
  return dropDown_ ? dropDown_ : DefaultDropDown();
}

namespace {

std::array<TVisionToolForm*, 4>& StockForms() {
  static std::array<TVisionToolForm*, 4> forms{};
  return forms;
}

TToolFormShowHandler& ShowHandler() {
  static TToolFormShowHandler handler;
  return handler;
}

}  // namespace

void TToolFormVision::ShowDropDown(IznVisionEditor* editor, TVisionToolForm* toolForm) {
  if (ShowHandler())
    ShowHandler()(this, editor, toolForm);
  else if (toolForm)
    toolForm->Show(this, editor);
}

TVisionToolForm* StockToolForm(TznStockToolForm kind) {
  return StockForms().at(kind);
}

void SetStockToolForm(TznStockToolForm kind, TVisionToolForm* form) {
  StockForms().at(kind) = form;
}

void SetToolFormShowHandler(TToolFormShowHandler handler) {
  ShowHandler() = std::move(handler);
}

void RegisterToolFormVisionClasses() {
  RegisterClass(TToolFormVision::StaticClass());
}

}  // namespace brevant
