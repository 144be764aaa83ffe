// TznCalcEngine: the logic of a pocket calculator without a user interface.
// It takes key codes, keeps two operands, a pending operator and a memory as
// decimal text in the format settings' notation, and exposes the text to
// display. Failures (division by zero, the square root of a negative number,
// overflow) put it into an error state that only clear all leaves.
#pragma once

#include "rtl/method.h"
#include "rtl/persistent.h"

namespace brevant {

// The engine's key codes. A form maps its buttons and keys to these
// explicitly; the numbers are part of the engine's interface.
enum TznCalcKey : Integer {
  ckNone = -1,  // no key; the pending operator when none is chosen
  ck0 = 0,
  ck1,
  ck2,
  ck3,
  ck4,
  ck5,
  ck6,
  ck7,
  ck8,
  ck9,
  ckDecimal = 10,     // decimal separator
  ckSign = 11,        // change sign
  ckAdd = 12,         // plus
  ckSubtract = 13,    // minus
  ckMultiply = 14,    // times
  ckDivide = 15,      // divided by
  ckEquals = 16,      // equals
  ckPercent = 17,     // percent of the first operand
  ckReciprocal = 18,  // 1/x
  ckSqrt = 19,        // square root
  ckMemStore = 20,    // MS
  ckMemAdd = 21,      // M+
  ckMemRecall = 22,   // MR
  ckMemClear = 23,    // MC
  ckClear = 24,       // C: clear all
  ckClearEntry = 25,  // CE
  ckBackspace = 26,   // removes the last typed character
  ckLast = ckBackspace
};

// States of the key automaton.
enum TznCalcState : Integer {
  ccsCleared = 0,   // nothing typed since the reset
  ccsFirst = 1,     // entering the first operand
  ccsOperator = 2,  // an operator was chosen
  ccsSecond = 3,    // entering the second operand
  ccsChained = 4,   // an operator followed a second operand
  ccsResult = 5,    // a result is shown
  ccsError = 10     // a key failed; only clear all leaves this state
};

// OnError's event: Handled starts false; set it to end the failure there.
using TznCalcErrorEvent = TEvent<void(TObject* Sender, bool& Handled)>;

class TznCalcEngine : public TPersistent {
  BV_CLASS(TznCalcEngine, TPersistent)
 public:
  TznCalcEngine();

  // Starts a new calculation from text ("" counts as "0"). Raises
  // EConvertError and changes nothing when the text is not a number.
  void SetText(const String& text);
  // Both operands "0", no operator, no error; the memory is kept.
  void Reset();
  // Runs one key through the automaton. A failing key fires OnError; the
  // failure propagates unless the handler sets Handled. Codes outside
  // ck0..ckLast are ignored.
  void PressKey(Integer code);
  bool IsError() const { return state_ == ccsError; }

  const String& Display() const { return display_; }
  const String& Operand1() const { return operand1_; }
  const String& Operand2() const { return operand2_; }
  bool Fresh1() const { return fresh1_; }
  bool Fresh2() const { return fresh2_; }
  Integer State() const { return state_; }
  const String& Memory() const { return memory_; }
  bool HasMemory() const { return hasMemory_; }
  bool DecimalMode() const { return decimalMode_; }
  Integer Decimals() const { return decimals_; }
  Integer Operator() const { return operator_; }
  bool Changed() const { return changed_; }
  const String& ErrorText() const { return errorText_; }

  TNotifyEvent OnChange;      // after a key that changed the display
  TznCalcErrorEvent OnError;  // when a key fails

 private:
  void RunAction(Integer key);
  void SetOperator(Integer key);
  void ComputeThenSetOperator(Integer key);
  void Compute();
  // a / b; a zero divisor fails.
  long double Divide(long double a, long double b);
  // Edits an operand (text, with its fresh flag) with a key.
  void EditOperand(String& text, bool& fresh, Integer key);
  void RestartEntry(String& text, bool& fresh);
  void EndEntry(bool& fresh);
  void TypeDigit(String& text, bool& fresh, Integer key);
  void TypeDecimal(String& text, bool& fresh);
  void ChangeSign(String& text);
  void ApplyFunction(String& text, bool& fresh, Integer key);
  void ApplyPercent(String& text, bool& fresh);
  void MemoryKey(const String& text, bool& fresh, Integer key);
  void ClearMemory();
  void Recall(String& text, bool& fresh);
  void Backspace(String& text, bool fresh);
  // Formats a result; overflow (or a value that would not read back) fails.
  String FormatResult(long double value);
  // Reads an operand; text out of range fails as an overflow.
  long double Value(const String& text);
  // Enters the error state with message and raises the silent abort.
  [[noreturn]] void Fail(const String& message);

  String display_;              // the text to show
  String operand1_;             // first operand, also the last result
  String operand2_;             // second operand
  bool fresh1_ = false;         // the next digit starts a new first operand
  bool fresh2_ = false;         // the next digit starts a new second operand
  Integer state_ = ccsCleared;  // state of the key automaton
  String memory_;               // memory value; empty when none
  bool hasMemory_ = false;      // the memory holds a value
  bool decimalMode_ = false;    // the separator was typed for this entry
  Integer decimals_ = 0;        // digits typed after the separator
  Integer operator_ = ckNone;   // pending operator, ckAdd..ckDivide
  bool changed_ = false;        // the display changed during this key
  String errorText_;            // message of the last failure
};

}  // namespace brevant
