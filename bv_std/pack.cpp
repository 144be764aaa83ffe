#include "bv_std/pack.h"

#include "bv_rtm/calc_engine.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/pack_strings.h"
#include "bv_std/tool_form_vision.h"
#include "bv_vtf/tool_form.h"
#include "classes/rtti_builder.h"
#include "controls/extctrls.h"
#include "controls/stdctrls.h"
#include "controls/form_resources.h"
#include "graphics/colors.h"
#include "graphics/font.h"

namespace brevant {

namespace {
TbvDefPack* thePack = nullptr;  // the one pack of the application
}  // namespace

BV_PUBLISH(TbvDefPack, TForm) {
  using P = TbvDefPack;
  p.Method<TNotifyEvent, &P::FormCreate>("FormCreate");
  p.Method<TNotifyEvent, &P::FormDestroy>("FormDestroy");
  p.Method<TNotifyEvent, &P::vtfCalculatorShow>("vtfCalculatorShow");
  p.Method<TNotifyEvent, &P::vtfCalculatorPaint>("vtfCalculatorPaint");
  p.Method<TNotifyEvent, &P::vtfCalculatorClose>("vtfCalculatorClose");
  p.Method<TKeyEvent, &P::vtfCalculatorKeyDown>("vtfCalculatorKeyDown");
  p.Method<TKeyPressEvent, &P::vtfCalculatorKeyPress>("vtfCalculatorKeyPress");
  p.Method<TNotifyEvent, &P::sbCalcNumBtnClick>("sbCalcNumBtnClick");
  p.Method<TNotifyEvent, &P::sbCalcSysOpBtnClick>("sbCalcSysOpBtnClick");
  p.Method<TNotifyEvent, &P::sbCalcOpBtnClick>("sbCalcOpBtnClick");
  p.Method<TNotifyEvent, &P::sbCalcMemOpBtnClick>("sbCalcMemOpBtnClick");
  p.Method<TNotifyEvent, &P::sbCalcIsClick>("sbCalcIsClick");
}

// The generated registration of the pack's form text.
void RegisterDefPackFormText();

void RegisterDefPackClasses() {
  [[maybe_unused]] static const bool registered = [] {
    RegisterControlClasses();
    RegisterStdControlClasses();
    RegisterNumericVisionClasses();
    RegisterClasses({TVisionToolForm::StaticClass(), TbvDefPack::StaticClass()});
    RegisterDefPackFormText();
    return true;
  }();
}

TbvDefPack::~TbvDefPack() = default;

void TbvDefPack::Loaded() {
  TForm::Loaded();
  BindComponent(this, "Calculator", Calculator);
  BindCalculator();
}

void TbvDefPack::BeforeDestruction() {
  if (thePack == this) thePack = nullptr;
  TForm::BeforeDestruction();
}

void TbvDefPack::FormCreate(TObject*) {
  Calculator->SetDescription(bvres::SNumericDescription);
  vtfCalculator->SetColor(clBtnFace);
  pnCalcMemory->Font()->SetColor(clGray);
  engine_ = std::make_unique<TznCalcEngine>();
  engine_->OnChange = TNotifyEvent::Of<&TbvDefPack::EngineChanged>(this);
  engine_->OnError = TznCalcErrorEvent::Of<&TbvDefPack::EngineError>(this);
  StyleCalcButtons();
  RefreshMemory();
}

void TbvDefPack::FormDestroy(TObject*) {
  engine_.reset();
  if (thePack == this) thePack = nullptr;
}

TbvDefPack* DefPack() {
  return thePack;
}

void StartDefPackUnit() {
  if (thePack) return;
  RegisterDefPackClasses();
  thePack = Create<TbvDefPack>(nullptr);
  SetStockToolForm(stfCalculator, thePack->vtfCalculator);
}

void StopDefPackUnit() {
  if (!thePack) return;
  if (StockToolForm(stfCalculator) == thePack->vtfCalculator)
    SetStockToolForm(stfCalculator, nullptr);
  TObject::Free(thePack);
}

}  // namespace brevant
