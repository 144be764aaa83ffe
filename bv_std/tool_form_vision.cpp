// The drop-down base of the visions, the stock tool form registry and the
// hook through which the tool form host opens a tool form.
#include "bv_std/tool_form_vision.h"

#include <array>

#include "classes/rtti_builder.h"

namespace brevant {

BV_PUBLISH(TToolFormVision, TznFieldVision) {}

TToolFormVision::TToolFormVision(TComponent* owner) : TznFieldVision(owner) {
  SetEnableDropDown(true);
}

void TToolFormVision::SetDropDown(TVisionToolForm* value) {
  dropDown_ = value;
}

TDataSource* TToolFormVision::GetListSourceFor(TtlFieldList*) {
  return nullptr;
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

std::array<TVisionToolForm*, 2>& StockForms() {
  static std::array<TVisionToolForm*, 2> forms{};
  return forms;
}

TToolFormShowHandler& ShowHandler() {
  static TToolFormShowHandler handler;
  return handler;
}

}  // namespace

void TToolFormVision::ShowDropDown(IznVisionEditor* editor, TVisionToolForm* toolForm) {
  if (ShowHandler()) ShowHandler()(this, editor, toolForm);
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
