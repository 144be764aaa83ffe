// TbvDefPack: the hidden form of ready-made components that the stock
// visions open as their default drop-downs. It is read from its own form
// text, created once by the pack's start-up and never shown; the start-up
// registers its tool forms in the stock registry. Its handlers implement
// the calculator drop-down over a TznCalcEngine.
#pragma once

#include <memory>

#include "controls/forms.h"

namespace brevant {

class TNumericVision;
class TPanel;
class TSpeedButton;
class TVisionToolForm;
class TznCalcEngine;

class TbvDefPack : public TForm {
  BV_CLASS(TbvDefPack, TForm)
 public:
  using TForm::TForm;
  ~TbvDefPack() override;
  void BeforeDestruction() override;

  // ---- the components of the form text ----
  TNumericVision* Calculator = nullptr;      // numeric vision with the calculator drop-down
  TVisionToolForm* vtfCalculator = nullptr;  // the calculator tool form
  TPanel* pnCalcMemory = nullptr;            // memory display
  TSpeedButton* sbCalcNum[10] = {};          // digits 0 to 9 (sbCalcNum0..sbCalcNum9)
  TSpeedButton* sbCalcSign = nullptr;        // +/-
  TSpeedButton* sbCalcDecSep = nullptr;      // decimal separator
  TSpeedButton* sbCalcC = nullptr;           // clear all
  TSpeedButton* sbCalcCE = nullptr;          // clear entry
  TSpeedButton* sbCalcBS = nullptr;          // backspace
  TSpeedButton* sbCalcDiv = nullptr;         // divide
  TSpeedButton* sbCalcMul = nullptr;         // multiply
  TSpeedButton* sbCalcMinus = nullptr;       // subtract
  TSpeedButton* sbCalcPlus = nullptr;        // add
  TSpeedButton* sbCalcSqrt = nullptr;        // square root
  TSpeedButton* sbCalcPercent = nullptr;     // percent
  TSpeedButton* sbCalc1divX = nullptr;       // reciprocal
  TSpeedButton* sbCalcMC = nullptr;          // memory clear
  TSpeedButton* sbCalcMR = nullptr;          // memory recall
  TSpeedButton* sbCalcMS = nullptr;          // memory store
  TSpeedButton* sbCalcMplus = nullptr;       // memory add
  TSpeedButton* sbCalcIs = nullptr;          // equals

  // ---- run-time state ----
  TznCalcEngine* Engine() const { return engine_.get(); }
  // The calculator button pressed last (nil before the first).
  TSpeedButton* LastPressed() const { return lastPressed_; }
  // The served edit's text when the calculator opened.
  const String& OpenedText() const { return openedText_; }
  // Shows button down for a moment, clicks it and releases it.
  void PressCalcButton(TSpeedButton* button);

  // ---- handlers bound by the form text ----
  void FormCreate(TObject* sender);
  void FormDestroy(TObject* sender);
  void vtfCalculatorShow(TObject* sender);
  void vtfCalculatorPaint(TObject* sender);
  void vtfCalculatorClose(TObject* sender);
  void vtfCalculatorKeyDown(TObject* sender, Word& key, TShiftState shift);
  void vtfCalculatorKeyPress(TObject* sender, char32_t& key);
  void sbCalcNumBtnClick(TObject* sender);
  void sbCalcSysOpBtnClick(TObject* sender);
  void sbCalcOpBtnClick(TObject* sender);
  void sbCalcMemOpBtnClick(TObject* sender);
  void sbCalcIsClick(TObject* sender);

 protected:
  void Loaded() override;

 private:
  void BindCalculator();
  void StyleCalcButtons();
  // The engine's display reached the served edit (selected) or its failure.
  void EngineChanged(TObject* sender);
  void EngineError(TObject* sender, bool& handled);
  // Writes text into the edit the calculator serves.
  void WriteEditText(const String& text, bool selectAll);
  void RefreshMemory();
  // The button a key (no modifiers) or a character presses; nil for none.
  TSpeedButton* KeyButton(Word key) const;
  TSpeedButton* CharButton(char32_t key) const;

  std::unique_ptr<TznCalcEngine> engine_;  // the calculator's logic
  String openedText_;                      // the edit's text at opening
  TSpeedButton* lastPressed_ = nullptr;    // the button pressed last
};

// The pack, nil before its start-up and after its shut-down.
TbvDefPack* DefPack();
// Makes the pack's classes known to form streams.
void RegisterDefPackClasses();
// Creates the pack and registers its tool forms as the stock ones; nothing
// when it exists.
void StartDefPackUnit();
// Unregisters the stock tool forms and frees the pack.
void StopDefPackUnit();

// The pack for the length of a scope (a program's main).
class TDefPackUnit {
 public:
  TDefPackUnit() { StartDefPackUnit(); }
  ~TDefPackUnit() { StopDefPackUnit(); }
  TDefPackUnit(const TDefPackUnit&) = delete;
  TDefPackUnit& operator=(const TDefPackUnit&) = delete;
};

}  // namespace brevant
