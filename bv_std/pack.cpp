#include "bv_std/pack.h"

#include "bv/env_hook.h"
#include "bv/tabulon.h"
#include "bv_ctl/calendar.h"
#include "bv_rtm/calc_engine.h"
#include "bv_std/blob_visions.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/pack_strings.h"
#include "bv_std/state_visions.h"
#include "bv_std/tool_form_vision.h"
#include "bv_vtf/tool_form.h"
#include "classes/rtti_builder.h"
#include "controls/edits.h"
#include "controls/extctrls.h"
#include "controls/form_resources.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "graphics/colors.h"
#include "graphics/font.h"
#include "graphics/imagelist.h"

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
  p.Method<TfvDrawEvent, &P::TitleSurfaceDraw>("TitleSurfaceDraw");
  p.Method<TfvDrawEvent, &P::visImagedTextDraw>("visImagedTextDraw");
  p.Method<TfvDrawEvent, &P::visStateLabelDraw>("visStateLabelDraw");
  p.Method<TNotifyEvent, &P::vtfListShow>("vtfListShow");
  p.Method<TNotifyEvent, &P::vtfListClose>("vtfListClose");
  p.Method<TvtfSizingEvent, &P::vtfListSizing>("vtfListSizing");
  p.Method<TKeyEvent, &P::vtfListKeyDown>("vtfListKeyDown");
  p.Method<TNotifyEvent, &P::vtfCalendarShow>("vtfCalendarShow");
  p.Method<TNotifyEvent, &P::vtfCalendarPostChanges>("vtfCalendarPostChanges");
  p.Method<TNotifyEvent, &P::calCalendarChange>("calCalendarChange");
  p.Method<TNotifyEvent, &P::calCalendarPickup>("calCalendarPickup");
  p.Method<TNotifyEvent, &P::vtfBlobPickerShow>("vtfBlobPickerShow");
  p.Method<TNotifyEvent, &P::vtfBlobPickerPostChanges>("vtfBlobPickerPostChanges");
  p.Method<TNotifyEvent, &P::vtfBlobPickerClose>("vtfBlobPickerClose");
  p.Method<TvtfShortCutEvent, &P::vtfBlobPickerShortCut>("vtfBlobPickerShortCut");
  p.Method<TvtfEditActionEvent, &P::vtfBlobPickerEditAction>("vtfBlobPickerEditAction");
  p.Method<TNotifyEvent, &P::btnBlobPickerOKClick>("btnBlobPickerOKClick");
  p.Method<TNotifyEvent, &P::PictureContextMenuPopup>("PictureContextMenuPopup");
  p.Method<TNotifyEvent, &P::miPictureContextClick>("miPictureContextClick");
  p.Method<TNotifyEvent, &P::BlobContextMenuPopup>("BlobContextMenuPopup");
  p.Method<TNotifyEvent, &P::miBlobContextClick>("miBlobContextClick");
  p.Method<TfvGetTextEvent, &P::ColorPickerGetText>("ColorPickerGetText");
  p.Method<TfvBeforePostEvent, &P::ColorPickerBeforePost>("ColorPickerBeforePost");
  p.Method<TfvDrawEvent, &P::ColorPickerDraw>("ColorPickerDraw");
  p.Method<TfvDrawEditEvent, &P::ColorPickerDrawEdit>("ColorPickerDrawEdit");
  p.Method<TfvNotifyEvent, &P::ColorPickerDblClick>("ColorPickerDblClick");
}

// The generated registration of the pack's form text.
void RegisterDefPackFormText();

void RegisterDefPackClasses() {
  [[maybe_unused]] static const bool registered = [] {
    RegisterControlClasses();
    RegisterStdControlClasses();
    RegisterEditClasses();
    RegisterGridClasses();
    RegisterCalendarClasses();
    RegisterListVisionClasses();
    RegisterStandardVisionClasses();
    RegisterDateTimeVisionClasses();
    RegisterNumericVisionClasses();
    RegisterStateVisionClasses();
    RegisterBlobVisionClasses();
    RegisterLiteDesignerClasses();
    RegisterClasses(
        {TImageList::StaticClass(), TVisionToolForm::StaticClass(), TbvDefPack::StaticClass()});
    RegisterDefPackFormText();
    return true;
  }();
}

TbvDefPack::~TbvDefPack() = default;

void TbvDefPack::Loaded() {
  TForm::Loaded();
  BindComponents();
  BindCalculator();
}

void TbvDefPack::BindComponents() {
  BindComponent(this, "Calculator", Calculator);
  BindComponent(this, "ColorPicker", ColorPicker);
  BindComponent(this, "visImagedText", visImagedText);
  BindComponent(this, "NullImageList", NullImageList);
  BindComponent(this, "dsgDataList", dsgDataList);
  BindComponent(this, "vtfDataList", vtfDataList);
  BindComponent(this, "tlDataListList", tlDataListList);
  BindComponent(this, "vtfCalendar", vtfCalendar);
  BindComponent(this, "calCalendar", calCalendar);
  BindComponent(this, "vtfBlobPicker", vtfBlobPicker);
  BindComponent(this, "pnBlobPickerBG", pnBlobPickerBG);
  BindComponent(this, "pnBlobPickerCtrl", pnBlobPickerCtrl);
  BindComponent(this, "btnBlobPickerOK", btnBlobPickerOK);
  BindComponent(this, "btnBlobPickerCancel", btnBlobPickerCancel);
  BindComponent(this, "BlobContextMenu", BlobContextMenu);
  BindComponent(this, "PictureContextMenu", PictureContextMenu);
}

void TbvDefPack::BeforeDestruction() {
  if (thePack == this) thePack = nullptr;
  TForm::BeforeDestruction();
}

// Descriptions of the stock visions and the captions of the picker and the
// menus, from the string table.
void TbvDefPack::LoadTexts() {
  const std::pair<const char*, const char*> descriptions[] = {
      {"TitleSurface", bvres::STitleSurfaceDescription},
      {"Calendar", bvres::SCalendarDescription},
      {"CalendarSimple", bvres::SCalendarSimpleDescription},
      {"Date", bvres::SDateDescription},
      {"CheckBoxBool", bvres::SCheckBoxBoolDescription},
      {"CheckBoxInt", bvres::SCheckBoxIntDescription},
      {"Numeric", bvres::SNumericDescription},
      {"NumericDef", bvres::SNumericDefDescription},
      {"NumericDefSep", bvres::SNumericDefSepDescription},
      {"NumericSpin", bvres::SNumericSpinDescription},
  };
  for (const auto& [name, text] : descriptions)
    if (auto* vision = dynamic_cast<TznFieldVision*>(FindComponent(name)))
      vision->SetDescription(text);
  Calculator->SetDescription(bvres::SNumericDescription);
  btnBlobPickerOK->SetCaption(bvres::SPickerOK);
  btnBlobPickerCancel->SetCaption(bvres::SPickerCancel);
  for (TPopupMenu* menu : {BlobContextMenu, PictureContextMenu})
    for (Integer i = 0; i < menu->Items()->Count(); ++i) {
      TMenuItem* item = menu->Items()->Items(i);
      if (item->Tag() >= 1 && item->Tag() <= 7)
        item->SetCaption(bvres::SBlobMenuItems[item->Tag() - 1]);
    }
}

void TbvDefPack::FormCreate(TObject*) {
  LoadTexts();
  if (IbvEnvironment* env = Environment()) {
    BlobContextMenu->SetImages(env->ToolbarCommands());
    PictureContextMenu->SetImages(env->ToolbarCommands());
  }
  GetColorValues([this](const String& name) { ColorPicker->PickList()->Add(name); });
  // Colours the form text cannot name.
  dsgDataList->SetVertLines(clSilver);
  dsgDataList->SetHorizLines(clNone);
  As<TLiteDesigner>(FindComponent("DsgnListNormal"))->SetHorizLines(clNone);
  pnBlobPickerBG->SetColor(clWindow);
  // Their content fills them to the edge.
  for (TVisionToolForm* form : {vtfDataList, vtfCalendar, vtfBlobPicker})
    form->SetBevelOuter(bvNone);
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

namespace {

// The pack's tool forms by the stock kind they serve.
std::pair<TznStockToolForm, TVisionToolForm*> PackForms(const TbvDefPack& pack, Integer i) {
  switch (i) {
    case 0:
      return {stfCalculator, pack.vtfCalculator};
    case 1:
      return {stfDataList, pack.vtfDataList};
    case 2:
      return {stfCalendar, pack.vtfCalendar};
    default:
      return {stfBlobPicker, pack.vtfBlobPicker};
  }
}
constexpr Integer kPackFormCount = 4;

}  // namespace

void StartDefPackUnit() {
  if (thePack) return;
  RegisterDefPackClasses();
  thePack = Create<TbvDefPack>(nullptr);
  for (Integer i = 0; i < kPackFormCount; ++i) {
    auto [kind, form] = PackForms(*thePack, i);
    SetStockToolForm(kind, form);
  }
  SetDefaultBlobMenuQuery(
      []() -> TPopupMenu* { return thePack ? thePack->BlobContextMenu : nullptr; });
}

void StopDefPackUnit() {
  if (!thePack) return;
  for (Integer i = 0; i < kPackFormCount; ++i) {
    auto [kind, form] = PackForms(*thePack, i);
    if (StockToolForm(kind) == form) SetStockToolForm(kind, nullptr);
  }
  SetDefaultBlobMenuQuery(nullptr);
  TObject::Free(thePack);
}

}  // namespace brevant
