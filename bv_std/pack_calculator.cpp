// The calculator drop-down of the default pack: its buttons and keys run
// engine commands, the engine's display becomes the served edit's text.
#include <chrono>
#include <thread>

#include "bv/db_edit.h"
#include "bv_rtm/calc_engine.h"
#include "bv_std/pack.h"
#include "bv_std/pack_strings.h"
#include "bv_vtf/tool_form.h"
#include "controls/extctrls.h"
#include "controls/form_resources.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "rtl/exceptions.h"
#include "rtl/format_settings.h"
#include "rtl/numconv.h"
#include "rtl/scope.h"

namespace brevant {

namespace {

// How long a pressed button shows down, in milliseconds.
constexpr Cardinal kPressShowTime = 50;

// The command of a digit, sign or decimal button: the sign and decimal
// buttons are told apart by identity, not by their tags.
Integer NumCommand(const TbvDefPack& pack, TObject* button) {
  if (button == pack.sbCalcSign) return ckSign;
  if (button == pack.sbCalcDecSep) return ckDecimal;
  const Integer tag = As<TComponent>(button)->Tag();
  return tag >= 0 && tag <= 9 ? tag : ckNone;
}

// Paints what is pending (the pressed look) without taking input, so keys
// typed meanwhile are handled in their order after the press.
void ShowPressed() {
  TMsg msg;
  while (PeekMessage(msg, 0, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessage(msg);
}

}  // namespace

void TbvDefPack::BindCalculator() {
  BindComponent(this, "vtfCalculator", vtfCalculator);
  BindComponent(this, "pnCalcMemory", pnCalcMemory);
  for (Integer i = 0; i <= 9; ++i) BindComponent(this, "sbCalcNum" + IntToStr(i), sbCalcNum[i]);
  BindComponent(this, "sbCalcSign", sbCalcSign);
  BindComponent(this, "sbCalcDecSep", sbCalcDecSep);
  BindComponent(this, "sbCalcC", sbCalcC);
  BindComponent(this, "sbCalcCE", sbCalcCE);
  BindComponent(this, "sbCalcBS", sbCalcBS);
  BindComponent(this, "sbCalcDiv", sbCalcDiv);
  BindComponent(this, "sbCalcMul", sbCalcMul);
  BindComponent(this, "sbCalcMinus", sbCalcMinus);
  BindComponent(this, "sbCalcPlus", sbCalcPlus);
  BindComponent(this, "sbCalcSqrt", sbCalcSqrt);
  BindComponent(this, "sbCalcPercent", sbCalcPercent);
  BindComponent(this, "sbCalc1divX", sbCalc1divX);
  BindComponent(this, "sbCalcMC", sbCalcMC);
  BindComponent(this, "sbCalcMR", sbCalcMR);
  BindComponent(this, "sbCalcMS", sbCalcMS);
  BindComponent(this, "sbCalcMplus", sbCalcMplus);
  BindComponent(this, "sbCalcIs", sbCalcIs);
}

// Button fonts: the tool form's font in the colour of the button's group.
void TbvDefPack::StyleCalcButtons() {
  sbCalcSqrt->SetCaption("\u221A");
  auto colour = [this](TSpeedButton* button, TColor color) {
    button->Font()->Assign(vtfCalculator->Font());
    button->Font()->SetColor(color);
  };
  for (TSpeedButton* b : {sbCalcBS, sbCalcCE, sbCalcC}) colour(b, clMaroon);
  for (TSpeedButton* b : {sbCalcMC, sbCalcMR, sbCalcMS, sbCalcMplus}) colour(b, clRed);
  for (TSpeedButton* b : sbCalcNum) colour(b, clBlue);
  for (TSpeedButton* b : {sbCalcSign, sbCalcDecSep}) colour(b, clBlue);
  for (TSpeedButton* b : {sbCalcDiv, sbCalcMul, sbCalcMinus, sbCalcPlus, sbCalcIs})
    colour(b, clRed);
  for (TSpeedButton* b : {sbCalcSqrt, sbCalcPercent, sbCalc1divX}) colour(b, clNavy);
}

void TbvDefPack::vtfCalculatorShow(TObject*) {
  openedText_ = vtfCalculator->Edit() ? vtfCalculator->Edit()->EditorText() : String();
  lastPressed_ = nullptr;
  // Text that is no number (an edit left showing "Error") starts from 0.
  try {
    engine_->SetText(openedText_);
  } catch (const EConvertError&) {
    engine_->Reset();
  }
  sbCalcDecSep->SetCaption(String(1, FormatSettings().DecimalSeparator));
  StyleCalcButtons();
  RefreshMemory();
}

void TbvDefPack::vtfCalculatorPaint(TObject*) {
  TCanvas* canvas = vtfCalculator->Canvas();
  const TColor brush = canvas->Brush()->Color();
  TScopeGuard restore([canvas, brush] { canvas->Brush()->SetColor(brush); });
  canvas->Brush()->SetColor(clBtnShadow);
  for (Integer i = 0; i < vtfCalculator->ControlCount(); ++i) {
    auto* button = dynamic_cast<TSpeedButton*>(vtfCalculator->Controls(i));
    if (!button) continue;
    TRect r = button->BoundsRect();
    r.Left -= 1;
    canvas->FrameRect(r);
  }
}

void TbvDefPack::vtfCalculatorClose(TObject*) {
  if (engine_->IsError()) WriteEditText(openedText_, true);
}

void TbvDefPack::vtfCalculatorKeyDown(TObject*, Word& key, TShiftState shift) {
  if (!(shift * TShiftState{ssShift, ssCtrl, ssAlt}).Empty()) return;
  if (key == VK_RETURN) {
    // Return passes on to the edit, which closes the drop-down.
    if (lastPressed_ != sbCalcIs) PressCalcButton(sbCalcIs);
    return;
  }
  TSpeedButton* button = KeyButton(key);
  if (!button) return;
  TMsg msg;
  PeekMessage(msg, 0, WM_CHAR, WM_CHAR, PM_REMOVE);
  key = 0;
  PressCalcButton(button);
}

void TbvDefPack::vtfCalculatorKeyPress(TObject*, char32_t& key) {
  TSpeedButton* button = CharButton(key);
  if (!button) return;
  key = 0;
  PressCalcButton(button);
}

TSpeedButton* TbvDefPack::KeyButton(Word key) const {
  if (key >= '0' && key <= '9') return sbCalcNum[key - '0'];
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return sbCalcNum[key - VK_NUMPAD0];
  switch (key) {
    case VK_BACK:
      return sbCalcBS;
    case VK_DELETE:
      return sbCalcCE;
    case VK_MULTIPLY:
      return sbCalcMul;
    case VK_ADD:
      return sbCalcPlus;
    case VK_SUBTRACT:
      return sbCalcMinus;
    case VK_DIVIDE:
      return sbCalcDiv;
    case VK_DECIMAL:
      return sbCalcDecSep;
    default:
      return nullptr;
  }
}

TSpeedButton* TbvDefPack::CharButton(char32_t key) const {
  if (key == char32_t(static_cast<unsigned char>(FormatSettings().DecimalSeparator)))
    return sbCalcDecSep;
  switch (key) {
    case U'*':
      return sbCalcMul;
    case U'+':
      return sbCalcPlus;
    case U'-':
      return sbCalcMinus;
    case U'/':
      return sbCalcDiv;
    case U'=':
      return sbCalcIs;
    default:
      return nullptr;
  }
}

void TbvDefPack::PressCalcButton(TSpeedButton* button) {
  {
    button->SetGroupIndex(-1);
    button->SetAllowAllUp(true);
    TScopeGuard release([button] {
      button->SetDown(false);
      button->SetGroupIndex(0);
    });
    button->SetDown(true);
    // Down for the press time, but a clock that does not move (or a very
    // slow one) never holds the press for more than that many passes.
    const Cardinal start = GetTickCount();
    for (Cardinal pass = 0; pass < kPressShowTime && GetTickCount() - start < kPressShowTime;
         ++pass) {
      button->Repaint();
      ShowPressed();
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    button->Click();
  }
  lastPressed_ = button;
}

// Every click, by the mouse or through a key's press, makes its button the
// last pressed one, so Return after a clicked "=" does not repeat it.
void TbvDefPack::sbCalcNumBtnClick(TObject* sender) {
  lastPressed_ = dynamic_cast<TSpeedButton*>(sender);
  engine_->PressKey(NumCommand(*this, sender));
}

void TbvDefPack::sbCalcSysOpBtnClick(TObject* sender) {
  lastPressed_ = dynamic_cast<TSpeedButton*>(sender);
  static constexpr Integer kCommands[] = {ckNone, ckClear, ckClearEntry, ckBackspace};
  const Integer tag = As<TComponent>(sender)->Tag();
  if (tag >= 1 && tag <= 3) engine_->PressKey(kCommands[tag]);
}

void TbvDefPack::sbCalcOpBtnClick(TObject* sender) {
  lastPressed_ = dynamic_cast<TSpeedButton*>(sender);
  static constexpr Integer kCommands[] = {ckNone, ckDivide, ckMultiply, ckSubtract,
                                          ckAdd,  ckSqrt,   ckPercent,  ckReciprocal};
  const Integer tag = As<TComponent>(sender)->Tag();
  if (tag >= 1 && tag <= 7) engine_->PressKey(kCommands[tag]);
}

void TbvDefPack::sbCalcMemOpBtnClick(TObject* sender) {
  lastPressed_ = dynamic_cast<TSpeedButton*>(sender);
  static constexpr Integer kCommands[] = {ckNone, ckMemClear, ckMemRecall, ckMemStore, ckMemAdd};
  const Integer tag = As<TComponent>(sender)->Tag();
  if (tag >= 1 && tag <= 4) engine_->PressKey(kCommands[tag]);
  RefreshMemory();
}

void TbvDefPack::sbCalcIsClick(TObject* sender) {
  lastPressed_ = dynamic_cast<TSpeedButton*>(sender);
  engine_->PressKey(ckEquals);
}

void TbvDefPack::RefreshMemory() {
  const bool has = !engine_->Memory().empty();
  sbCalcMC->SetEnabled(has);
  sbCalcMR->SetEnabled(has);
  pnCalcMemory->SetCaption(" " + engine_->Memory());
}

void TbvDefPack::EngineChanged(TObject*) {
  WriteEditText(engine_->Display(), true);
}

// The failure ends here: the edit shows the error text and the engine stays
// in its error state until cleared.
void TbvDefPack::EngineError(TObject*, bool& handled) {
  handled = true;
  WriteEditText(bvres::SCalcError, false);
}

void TbvDefPack::WriteEditText(const String& text, bool selectAll) {
  TWinControl* control = vtfCalculator->EditControl();
  if (!control) return;
  if (auto* edit = dynamic_cast<TDBQuentaEdit*>(control)) {
    edit->SetEditText(text, selectAll);
    return;
  }
  control->SetText(text);
  if (selectAll && vtfCalculator->Edit()) vtfCalculator->Edit()->SelectAllText();
}

}  // namespace brevant
