#include "bv_rtm/calc_engine.h"

#include <cmath>

#include "rtl/exceptions.h"
#include "rtl/format_settings.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TznCalcEngine, TPersistent)

namespace {

// Key classes: the columns of the transition table.
enum TKeyClass : Integer {
  kcDigit,
  kcPoint,
  kcSign,
  kcOperator,
  kcFunction,
  kcPercent,
  kcEquals,
  kcMemory,
  kcRecall,
  kcClear,
  kcClearEntry,
  kcBackspace,
  kcCount
};

TKeyClass ClassOf(Integer key) {
  if (key <= ck9) return kcDigit;
  switch (key) {
    case ckDecimal:
      return kcPoint;
    case ckSign:
      return kcSign;
    case ckReciprocal:
    case ckSqrt:
      return kcFunction;
    case ckPercent:
      return kcPercent;
    case ckEquals:
      return kcEquals;
    case ckMemStore:
    case ckMemAdd:
    case ckMemClear:
      return kcMemory;
    case ckMemRecall:
      return kcRecall;
    case ckClear:
      return kcClear;
    case ckClearEntry:
      return kcClearEntry;
    case ckBackspace:
      return kcBackspace;
    default:
      return kcOperator;  // ckAdd..ckDivide
  }
}

// The next state by the current state (ccsCleared..ccsResult) and key class.
constexpr Integer kTransitions[ccsResult + 1][kcCount] = {
    /* cleared  */ {1, 1, 1, 2, 1, 0, 1, 1, 1, 0, 0, 1},
    /* first    */ {1, 1, 1, 2, 1, 0, 1, 1, 1, 0, 1, 1},
    /* operator */ {3, 3, 3, 2, 3, 3, 5, 2, 3, 0, 3, 3},
    /* second   */ {3, 3, 3, 4, 3, 3, 5, 3, 3, 0, 3, 3},
    /* chained  */ {3, 3, 3, 2, 3, 3, 5, 2, 3, 0, 3, 3},
    /* result   */ {1, 1, 1, 2, 1, 0, 5, 1, 1, 0, 1, 1}};

Integer NextState(Integer state, TKeyClass cls) {
  if (state == ccsError) return cls == kcClear ? ccsCleared : ccsError;
  return kTransitions[state][cls];
}

bool IsOperatorKey(Integer key) {
  return key >= ckAdd && key <= ckDivide;
}

}  // namespace

TznCalcEngine::TznCalcEngine() {
  SetText("0");
}

void TznCalcEngine::SetText(const String& text) {
  // Blanks and a leading plus are accepted by the conversion but would not
  // survive a sign change, so the stored text goes without them.
  String t = Trim(text);
  if (!t.empty() && t[0] == '+') t.erase(0, 1);
  if (t.empty()) t = "0";
  if (!text.empty()) StrToFloat(text);
  Reset();
  operand1_ = t;
  display_ = t;
  fresh1_ = true;
  changed_ = false;
}

void TznCalcEngine::Reset() {
  operand1_ = "0";
  operand2_ = "0";
  fresh1_ = false;
  fresh2_ = false;
  decimalMode_ = false;
  decimals_ = 0;
  state_ = ccsCleared;
  display_ = operand1_;
  operator_ = ckNone;
  errorText_.clear();
  changed_ = true;
}

void TznCalcEngine::PressKey(Integer code) {
  if (code < ck0 || code > ckLast) return;
  TScopeGuard clearChanged([this] { changed_ = false; });
  try {
    state_ = NextState(state_, ClassOf(code));
    RunAction(code);
  } catch (const Exception&) {
    bool handled = false;
    OnError(this, handled);
    if (!handled) throw;
    return;
  }
  if (changed_) OnChange(this);
}

void TznCalcEngine::RunAction(Integer key) {
  switch (state_) {
    case ccsCleared:
      Reset();
      break;
    case ccsFirst:
      EditOperand(operand1_, fresh1_, key);
      break;
    case ccsOperator:
      SetOperator(key);
      break;
    case ccsSecond:
      EditOperand(operand2_, fresh2_, key);
      break;
    case ccsChained:
      ComputeThenSetOperator(key);
      break;
    case ccsResult:
      Compute();
      break;
    default:
      break;  // the error state ignores every key but clear all
  }
}

void TznCalcEngine::SetOperator(Integer key) {
  if (IsOperatorKey(key)) {
    operator_ = key;
    operand2_ = operand1_;
    fresh2_ = true;
    decimalMode_ = false;
  } else if (key == ckMemClear) {
    ClearMemory();
    changed_ = true;
  }
}

void TznCalcEngine::ComputeThenSetOperator(Integer key) {
  Compute();
  SetOperator(key);
}

void TznCalcEngine::Compute() {
  const long double a = Value(operand1_), b = Value(operand2_);
  long double r = a;  // without a pending operator the first operand stands
  switch (operator_) {
    case ckAdd:
      r = a + b;
      break;
    case ckSubtract:
      r = a - b;
      break;
    case ckMultiply:
      r = a * b;
      break;
    case ckDivide:
      r = Divide(a, b);
      break;
    default:
      break;
  }
  operand1_ = FormatResult(r);
  fresh1_ = true;
  decimalMode_ = false;
  display_ = operand1_;
  changed_ = true;
}

long double TznCalcEngine::Divide(long double a, long double b) {
  if (b == 0) Fail(res::SDivByZero);
  return a / b;
}

void TznCalcEngine::EditOperand(String& text, bool& fresh, Integer key) {
  const TKeyClass cls = ClassOf(key);
  switch (cls) {
    case kcDigit:
      TypeDigit(text, fresh, key);
      break;
    case kcPoint:
      TypeDecimal(text, fresh);
      break;
    case kcSign:
      ChangeSign(text);
      break;
    case kcFunction:
      ApplyFunction(text, fresh, key);
      break;
    case kcPercent:
      ApplyPercent(text, fresh);
      break;
    case kcEquals:
      EndEntry(fresh);
      break;
    case kcMemory:
      MemoryKey(text, fresh, key);
      break;
    case kcRecall:
      Recall(text, fresh);
      break;
    case kcClearEntry:
      RestartEntry(text, fresh);
      break;
    case kcBackspace:
      Backspace(text, fresh);
      break;
    default:
      break;  // operators and clear all never edit an operand
  }
  display_ = text;
  if (cls != kcMemory) changed_ = true;
}

void TznCalcEngine::RestartEntry(String& text, bool& fresh) {
  text = "0";
  fresh = false;
  decimals_ = 0;
  decimalMode_ = false;
}

void TznCalcEngine::EndEntry(bool& fresh) {
  fresh = true;
  decimalMode_ = false;
}

void TznCalcEngine::TypeDigit(String& text, bool& fresh, Integer key) {
  if (fresh) RestartEntry(text, fresh);
  const char digit = static_cast<char>('0' + key);
  if (decimalMode_) {
    ++decimals_;
    const char sep = FormatSettings().DecimalSeparator;
    if (text.find(sep) == String::npos) text += sep;
    text += digit;
  } else if (text == "0" || text == "-0") {
    text.back() = digit;  // a lone zero gives way; a typed sign stays
  } else {
    text += digit;
  }
}

void TznCalcEngine::TypeDecimal(String& text, bool& fresh) {
  if (fresh) RestartEntry(text, fresh);
  if (decimalMode_) return;
  decimalMode_ = true;
  decimals_ = 0;
}

void TznCalcEngine::ChangeSign(String& text) {
  if (text == "0" && !decimalMode_) return;
  if (text[0] == '-')
    text.erase(0, 1);
  else
    text.insert(text.begin(), '-');
}

void TznCalcEngine::ApplyFunction(String& text, bool& fresh, Integer key) {
  const long double v = Value(text);
  if (key == ckReciprocal) {
    text = FormatResult(Divide(1, v));
  } else {
    if (v < 0) Fail(res::SInvalidOp);
    text = FormatResult(std::sqrt(v));
  }
  EndEntry(fresh);
}

void TznCalcEngine::ApplyPercent(String& text, bool& fresh) {
  text = FormatResult(Value(operand1_) * Value(operand2_) / 100);
  EndEntry(fresh);
}

void TznCalcEngine::MemoryKey(const String& text, bool& fresh, Integer key) {
  EndEntry(fresh);
  if (key == ckMemClear) {
    ClearMemory();
    return;
  }
  if (key == ckMemAdd && hasMemory_)
    memory_ = FormatResult(Value(memory_) + Value(text));
  else
    memory_ = text;
  hasMemory_ = true;
  if (Value(memory_) == 0) ClearMemory();
}

void TznCalcEngine::ClearMemory() {
  memory_.clear();
  hasMemory_ = false;
}

void TznCalcEngine::Recall(String& text, bool& fresh) {
  if (!hasMemory_) return;
  text = memory_;
  EndEntry(fresh);
}

void TznCalcEngine::Backspace(String& text, bool fresh) {
  if (fresh) return;
  if (!decimalMode_) {
    text.pop_back();
    // A lone minus is no number: it counts as empty.
    if (text.empty() || text == "-") text = "0";
  } else if (decimals_ > 0) {
    text.pop_back();
    if (--decimals_ == 0) text.pop_back();  // the separator goes with its last digit
  } else {
    decimalMode_ = false;
  }
}

String TznCalcEngine::FormatResult(long double value) {
  if (!std::isfinite(value)) Fail(res::SOverflow);
  String text = FloatToStrF(value, ffGeneral, 18, 4);
  // Rounding to 18 digits may step past the largest value; such text would
  // not read back.
  Extended check;
  if (!TryStrToFloat(text, check)) Fail(res::SOverflow);
  return text;
}

long double TznCalcEngine::Value(const String& text) {
  Extended v;
  if (!TryStrToFloat(text, v)) Fail(res::SOverflow);
  return v;
}

void TznCalcEngine::Fail(const String& message) {
  state_ = ccsError;
  errorText_ = message;
  Abort();
}

}  // namespace brevant
