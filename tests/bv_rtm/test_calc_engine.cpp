#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <random>

#include "bv_rtm/calc_engine.h"
#include "rtl/exceptions.h"
#include "rtl/format_settings.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

// Keys written as characters: digits, '.' separator, '~' sign, + - * /,
// '=', '%', 'r' 1/x, 'q' square root, 'S' MS, 'A' M+, 'R' MR, 'M' MC,
// 'C' clear all, 'E' clear entry, '<' backspace.
Integer KeyOf(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  switch (c) {
    case '.':
      return ckDecimal;
    case '~':
      return ckSign;
    case '+':
      return ckAdd;
    case '-':
      return ckSubtract;
    case '*':
      return ckMultiply;
    case '/':
      return ckDivide;
    case '=':
      return ckEquals;
    case '%':
      return ckPercent;
    case 'r':
      return ckReciprocal;
    case 'q':
      return ckSqrt;
    case 'S':
      return ckMemStore;
    case 'A':
      return ckMemAdd;
    case 'R':
      return ckMemRecall;
    case 'M':
      return ckMemClear;
    case 'C':
      return ckClear;
    case 'E':
      return ckClearEntry;
    case '<':
      return ckBackspace;
    default:
      ADD_FAILURE() << "no key for " << c;
      return ckNone;
  }
}

// An engine whose failures end in OnError, counted.
struct TCalc {
  TObjectPtr<TznCalcEngine> engine = MakeObject<TznCalcEngine>();
  int errors = 0;   // OnError calls
  int changes = 0;  // OnChange calls
  TCalc() {
    engine->OnError = TznCalcErrorEvent::FromCallable([this](TObject*, bool& handled) {
      ++errors;
      handled = true;
    });
    engine->OnChange = TNotifyEvent::FromCallable([this](TObject*) { ++changes; });
  }
  TznCalcEngine& operator*() { return *engine; }
  TznCalcEngine* operator->() { return engine.get(); }
  void Type(const String& keys) {
    for (char c : keys) engine->PressKey(KeyOf(c));
  }
};

struct TEdgeCase {
  const char* name;     // what the row shows
  const char* start;    // SetText before the keys; nullptr: a new engine
  const char* keys;     // the key sequence
  const char* display;  // the display afterwards
  Integer state;        // the automaton's state afterwards
};

const TEdgeCase kEdgeCases[] = {
    {"EqualsAddsTheFirstOperandToItself", nullptr, "5+=", "10", ccsResult},
    {"EqualsAgainRepeatsTheLastOperation", nullptr, "5+==", "15", ccsResult},
    {"OperationsApplyInTypedOrder", nullptr, "2+3*4=", "20", ccsResult},
    {"PercentOfTheFirstOperand", nullptr, "200+10%", "20", ccsSecond},
    {"PercentThenEquals", nullptr, "200+10%=", "220", ccsResult},
    {"DivisionByZeroFails", nullptr, "1/0=", "0", ccsError},
    {"DigitsAreIgnoredInTheErrorState", nullptr, "1/0=57+", "0", ccsError},
    {"ClearAllLeavesTheErrorState", nullptr, "1/0=C57", "57", ccsFirst},
    {"PointThenDigitAfterSetText", "12", ".5", "0.5", ccsFirst},
    {"BackspaceTakesTheSeparatorWithTheLastDigit", "12", ".5<", "0", ccsFirst},
    {"SignOnZeroDoesNothing", nullptr, "~", "0", ccsFirst},
    {"SignOnZeroWithTheSeparatorTyped", nullptr, ".~5", "-0.5", ccsFirst},
    {"PercentWhileEnteringTheFirstOperandResets", nullptr, "12%", "0", ccsCleared},
    {"PercentAfterAResultResets", nullptr, "2+3=%", "0", ccsCleared},
    {"OperatorChangeKeepsTheFirstOperand", nullptr, "5+-3=", "2", ccsResult},
    {"ChainedOperatorChange", nullptr, "5+3*-1=", "7", ccsResult},
    {"SignOfAResultThenANewEntry", nullptr, "2+3=~", "-5", ccsFirst},
    {"DigitAfterAResultStartsAnew", nullptr, "2+3=~4", "4", ccsFirst},
    {"BackspaceOnAResultDoesNothing", nullptr, "2+3=<", "5", ccsFirst},
    {"ClearEntryRestartsTheSecondOperand", nullptr, "2+3E4=", "6", ccsResult},
    {"ClearEntryOnTheFirstOperand", nullptr, "25E7", "7", ccsFirst},
    {"ClearEntryWhenClearedResets", nullptr, "E", "0", ccsCleared},
    {"SquareRoot", nullptr, "81q", "9", ccsFirst},
    {"SquareRootOfTheSecondOperand", nullptr, "2+9q=", "5", ccsResult},
    {"SquareRootOfANegativeNumberFails", nullptr, "4~q", "-4", ccsError},
    {"Reciprocal", nullptr, "4r", "0.25", ccsFirst},
    {"ReciprocalOfZeroFails", nullptr, "0.00r", "0.00", ccsError},
    {"DigitAfterAFunctionStartsAnew", nullptr, "4r7", "7", ccsFirst},
    {"EighteenSignificantDigits", nullptr, "2/3=", "0.666666666666666667", ccsResult},
    {"ExponentFormWithFourDigits", nullptr, "1000000000*==", "1E0027", ccsResult},
    {"MultiplicationOverflowFails", "1E4000", "*=", "1E4000", ccsError},
    {"SmallResultsUseTheExponentForm", nullptr, "1/1000000=", "1E-0006", ccsResult},
    {"MemoryStoreAndRecall", nullptr, "5S3R", "5", ccsFirst},
    {"MemoryAddAndRecall", nullptr, "5S3AR", "8", ccsFirst},
    {"MemoryAddWithoutMemoryStores", nullptr, "6A0R", "6", ccsFirst},
    {"RecallWithoutMemoryKeepsTheEntry", nullptr, "6R", "6", ccsFirst},
    {"RecallIntoTheSecondOperand", nullptr, "4S2+R=", "6", ccsResult},
    {"BackspaceInTheEntry", nullptr, "123<", "12", ccsFirst},
    {"BackspaceOfTheLastDigit", nullptr, "7<", "0", ccsFirst},
    {"BackspaceAfterTheSeparatorTyped", nullptr, "7.<<", "0", ccsFirst},
    {"LeadingZeroIsReplaced", nullptr, "007", "7", ccsFirst},
    {"SecondPointIsIgnored", nullptr, "1.2.3", "1.23", ccsFirst},
    // A lone minus is no number: it counts as empty.
    {"BackspaceOnNegativeDigitLeavesZero", nullptr, "5~<", "0", ccsFirst},
    {"NegativeDigitBackspacedComputes", nullptr, "5~<+2=", "2", ccsResult},
    // A typed sign before the first digit stays in front of it.
    {"DigitAfterNegativeZero", nullptr, ".~<5", "-5", ccsFirst},
};

class CalcEdgeCases : public ::testing::TestWithParam<TEdgeCase> {};

TEST_P(CalcEdgeCases, Display) {
  const TEdgeCase& c = GetParam();
  TCalc calc;
  if (c.start) calc->SetText(c.start);
  calc.Type(c.keys);
  EXPECT_EQ(calc->Display(), c.display);
  EXPECT_EQ(calc->State(), c.state);
  EXPECT_EQ(calc->IsError(), c.state == ccsError);
  if (c.state == ccsError) {
    EXPECT_EQ(calc.errors, 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, CalcEdgeCases, ::testing::ValuesIn(kEdgeCases),
                         [](const auto& info) { return String(info.param.name); });

TEST(CalcEngine, StartsFromZeroAndSetTextStartsAnewFromAValue) {
  TCalc calc;
  EXPECT_EQ(calc->Display(), "0");
  EXPECT_EQ(calc->State(), ccsCleared);
  EXPECT_TRUE(calc->Fresh1());
  EXPECT_FALSE(calc->Changed());
  calc.Type("5S2+3");
  calc->SetText("42.5");
  EXPECT_EQ(calc->Display(), "42.5");
  EXPECT_EQ(calc->Operand1(), "42.5");
  EXPECT_EQ(calc->Operand2(), "0");
  EXPECT_EQ(calc->Operator(), ckNone);
  EXPECT_EQ(calc->State(), ccsCleared);
  EXPECT_TRUE(calc->HasMemory());  // the memory outlives a new calculation
  calc.Type("*2=");
  EXPECT_EQ(calc->Display(), "85");
  calc->SetText("");
  EXPECT_EQ(calc->Display(), "0");
}

TEST(CalcEngine, SetTextRefusesTextThatIsNoNumber) {
  TCalc calc;
  calc.Type("12+3");
  for (const char* text : {"abc", "1,234.5", " ", "-", "1e99999"}) {
    EXPECT_THROW(calc->SetText(text), EConvertError) << text;
    EXPECT_EQ(calc->Display(), "3") << text;
    EXPECT_EQ(calc->State(), ccsSecond) << text;
  }
}

TEST(CalcEngine, SetTextTextSurvivesASignChange) {
  TCalc calc;
  calc->SetText(" +7 ");
  EXPECT_EQ(calc->Display(), "7");
  calc.Type("~+1=");
  EXPECT_EQ(calc->Display(), "-6");
  EXPECT_EQ(calc.errors, 0);
}

TEST(CalcEngine, ErrorsGoThroughOnErrorAsTheSilentAbort) {
  TCalc calc;
  calc.Type("1/0=");
  EXPECT_EQ(calc->ErrorText(), "Division by zero");
  calc.Type("C4~q");
  EXPECT_EQ(calc->ErrorText(), "Invalid floating point operation");
  calc.Type("C");
  EXPECT_EQ(calc->ErrorText(), "");
  calc->SetText("1E4000");
  calc.Type("*=");
  EXPECT_EQ(calc->ErrorText(), "Floating point overflow");

  // Without a handler that takes it, the failure propagates as EAbort.
  auto bare = MakeObject<TznCalcEngine>();
  bare->PressKey(ck1);
  bare->PressKey(ckDivide);
  bare->PressKey(ck0);
  EXPECT_THROW(bare->PressKey(ckEquals), EAbort);
  EXPECT_TRUE(bare->IsError());
  EXPECT_FALSE(bare->Changed());
  EXPECT_NO_THROW(bare->PressKey(ck5));
  EXPECT_NO_THROW(bare->PressKey(ckClear));
  EXPECT_EQ(bare->State(), ccsCleared);
}

TEST(CalcEngine, OnChangeFiresOnlyWhenTheDisplayChanged) {
  TCalc calc;
  calc.Type("5");
  EXPECT_EQ(calc.changes, 1);
  calc.Type("SA");  // memory keys leave the display alone
  EXPECT_EQ(calc.changes, 1);
  calc.Type("+");  // choosing an operator shows the same number
  EXPECT_EQ(calc.changes, 1);
  calc.Type("M");  // MC after an operator counts as a change
  EXPECT_EQ(calc.changes, 2);
  EXPECT_FALSE(calc->HasMemory());
  calc.Type("2=");
  EXPECT_EQ(calc.changes, 4);
  EXPECT_FALSE(calc->Changed());
  calc.Type("1/0=");
  int before = calc.changes;
  calc.Type("5");
  EXPECT_EQ(calc.changes, before);
}

TEST(CalcEngine, MemoryHoldingZeroIsNoMemory) {
  TCalc calc;
  calc.Type("0S");
  EXPECT_FALSE(calc->HasMemory());
  calc.Type("0.00S");
  EXPECT_FALSE(calc->HasMemory());
  calc.Type("5S");
  EXPECT_TRUE(calc->HasMemory());
  EXPECT_EQ(calc->Memory(), "5");
  calc.Type("5~A");
  EXPECT_FALSE(calc->HasMemory());
  EXPECT_EQ(calc->Memory(), "");
  calc.Type("9SM");
  EXPECT_FALSE(calc->HasMemory());
}

TEST(CalcEngine, DecimalModeAndItsDigits) {
  TCalc calc;
  calc->SetText("12");
  calc.Type(".5");
  EXPECT_TRUE(calc->DecimalMode());
  EXPECT_EQ(calc->Decimals(), 1);
  calc.Type("<");
  EXPECT_EQ(calc->Display(), "0");
  EXPECT_TRUE(calc->DecimalMode());
  EXPECT_EQ(calc->Decimals(), 0);
  calc.Type("<");
  EXPECT_FALSE(calc->DecimalMode());
  calc.Type("+");
  EXPECT_FALSE(calc->DecimalMode());
}

TEST(CalcEngine, DisplayUsesTheSettingsDecimalSeparator) {
  TFormatSettingsGuard guard;
  FormatSettings().DecimalSeparator = ',';
  TCalc calc;
  calc.Type(".5");
  EXPECT_EQ(calc->Display(), "0,5");
  calc.Type("*3=");
  EXPECT_EQ(calc->Display(), "1,5");
  calc->SetText("2,25");
  calc.Type("q");
  EXPECT_EQ(calc->Display(), "1,5");
  EXPECT_EQ(calc.errors, 0);
}

TEST(CalcEngine, UnknownCodesAreIgnored) {
  TCalc calc;
  calc.Type("12");
  for (Integer code : {-1, 27, 100, -1000}) calc->PressKey(code);
  EXPECT_EQ(calc->Display(), "12");
  EXPECT_EQ(calc->State(), ccsFirst);
  EXPECT_EQ(calc.changes, 2);
}

TEST(CalcEngine, HostileEntriesEndInTheErrorState) {
  // More digits than the widest float holds: the entry cannot be read back.
  TCalc calc;
  calc.Type(String(5000, '9') + "*");
  calc.Type("2=");
  EXPECT_TRUE(calc->IsError());
  EXPECT_EQ(calc->ErrorText(), "Floating point overflow");

  // The largest value rounds up past the range at 18 digits; such a result
  // would not read back, so it fails rather than showing it.
  TCalc top;
  top->SetText("1.18973149535723176502E4932");
  top.Type("+0=");
  EXPECT_TRUE(top->IsError());
  EXPECT_EQ(top->ErrorText(), "Floating point overflow");
}

// ---- random key sequences against a model ----

// A pocket calculator written from its described behaviour: operands are
// long double values rounded to 18 significant digits after each operation;
// the entry being typed is kept as text with '.' as separator.
class TCalcModel {
 public:
  TCalcModel() { Reset(); }

  bool error = false;  // a key failed; only clear all leaves it

  void Press(Integer key) {
    if (key == ckClear) return Reset();
    if (error) return;
    if (key >= ckAdd && key <= ckDivide) return Operator(key);
    if (key == ckEquals) return Equals();
    if (key == ckPercent) return Percent();
    if (key == ckMemStore || key == ckMemAdd || key == ckMemClear) return MemoryKey(key);
    if (key == ckClearEntry && phase_ == pStart) return Reset();
    Edit(key);
  }

  // The text the display must show exactly, while an entry is typed.
  std::optional<String> ExpectedText() const {
    if (shown_->text.empty()) return std::nullopt;
    return shown_->text;
  }
  long double ExpectedValue() const { return ValueOf(*shown_); }
  // Takes the engine's reading of a value the model agrees with, so that
  // last-digit rounding differences do not grow.
  void Resync(long double v) {
    if (shown_->text.empty()) shown_->value = v;
  }

 private:
  enum TPhase { pStart, pFirst, pOp, pSecond, pResult };
  struct TOperand {
    long double value = 0;  // the value when not typed
    String text;            // the typed entry, empty once it ended
    bool fresh = false;     // the next digit starts a new entry
  };

  static long double Round18(long double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17Le", v);
    return std::strtold(buf, nullptr);
  }
  static long double ValueOf(const TOperand& o) {
    return o.text.empty() ? o.value : std::strtold(o.text.c_str(), nullptr);
  }

  void Reset() {
    x_ = TOperand{0, "0", false};
    y_ = x_;
    op_ = ckNone;
    point_ = false;
    decimals_ = 0;
    phase_ = pStart;
    error = false;
    shown_ = &x_;
  }
  void Fail() { error = true; }
  // Ends the entry: its value stands, the next digit starts anew.
  void EndEntry(TOperand& o) {
    o.value = ValueOf(o);
    o.text.clear();
    o.fresh = true;
    point_ = false;
  }
  void SetResult(TOperand& o, long double v) {
    v = Round18(v);
    if (!std::isfinite(v)) return Fail();
    o.text.clear();
    o.value = v;
    EndEntry(o);
  }
  void Compute() {
    long double a = ValueOf(x_), b = ValueOf(y_), r = a;
    if (op_ == ckAdd) r = a + b;
    if (op_ == ckSubtract) r = a - b;
    if (op_ == ckMultiply) r = a * b;
    if (op_ == ckDivide) {
      if (b == 0) return Fail();
      r = a / b;
    }
    SetResult(x_, r);
    shown_ = &x_;
  }
  void Operator(Integer key) {
    if (phase_ == pSecond) Compute();
    if (error) return;
    op_ = key;
    y_ = TOperand{ValueOf(x_), "", true};
    point_ = false;
    phase_ = pOp;
  }
  void Equals() {
    if (phase_ == pStart || phase_ == pFirst) {
      EndEntry(x_);
      phase_ = pFirst;
      return;
    }
    Compute();
    phase_ = pResult;
  }
  void Percent() {
    if (phase_ == pStart || phase_ == pFirst || phase_ == pResult) return Reset();
    SetResult(y_, ValueOf(x_) * ValueOf(y_) / 100);
    shown_ = &y_;
    phase_ = pSecond;
  }
  void MemoryKey(Integer key) {
    if (phase_ == pOp) {
      if (key == ckMemClear) memory_.reset();
      return;
    }
    TOperand& o = Target();
    EndEntry(o);
    long double v = ValueOf(o);
    if (key == ckMemClear) memory_.reset();
    if (key == ckMemStore || (key == ckMemAdd && !memory_))
      memory_ = v;
    else if (key == ckMemAdd)
      memory_ = Round18(*memory_ + v);
    if (memory_ && !std::isfinite(*memory_)) return Fail();
    if (memory_ && *memory_ == 0) memory_.reset();
  }
  // The operand a key edits; the phase moves to its entry.
  TOperand& Target() {
    bool second = phase_ == pOp || phase_ == pSecond;
    phase_ = second ? pSecond : pFirst;
    shown_ = second ? &y_ : &x_;
    return *shown_;
  }
  void Restart(TOperand& o) {
    o = TOperand{0, "0", false};
    point_ = false;
    decimals_ = 0;
  }
  void Edit(Integer key) {
    TOperand& o = Target();
    if (key <= ck9) {
      if (o.fresh) Restart(o);
      if (point_) {
        ++decimals_;
        if (o.text.find('.') == String::npos) o.text += '.';
        o.text += char('0' + key);
      } else if (o.text == "0" || o.text == "-0") {
        o.text.back() = char('0' + key);
      } else {
        o.text += char('0' + key);
      }
    } else if (key == ckDecimal) {
      if (o.fresh) Restart(o);
      if (!point_) decimals_ = 0;
      point_ = true;
    } else if (key == ckSign) {
      if (!o.text.empty()) {
        if (o.text != "0" || point_) o.text = o.text[0] == '-' ? o.text.substr(1) : "-" + o.text;
      } else {
        o.value = -o.value;
      }
    } else if (key == ckReciprocal) {
      if (ValueOf(o) == 0) return Fail();
      SetResult(o, 1 / ValueOf(o));
    } else if (key == ckSqrt) {
      if (ValueOf(o) < 0) return Fail();
      SetResult(o, std::sqrt(ValueOf(o)));
    } else if (key == ckMemRecall) {
      if (memory_) SetResult(o, *memory_);
    } else if (key == ckClearEntry) {
      Restart(o);
    } else if (key == ckBackspace && !o.fresh) {
      if (!point_) {
        o.text.pop_back();
        if (o.text.empty() || o.text == "-") o.text = "0";
      } else if (decimals_ > 0) {
        o.text.pop_back();
        if (--decimals_ == 0) o.text.pop_back();
      } else {
        point_ = false;
      }
    }
  }

  TOperand x_, y_;                     // first and second operand
  TOperand* shown_ = &x_;              // the operand the display shows
  Integer op_ = ckNone;                // pending operator
  bool point_ = false;                 // separator typed for the entry
  int decimals_ = 0;                   // digits after it
  TPhase phase_ = pStart;              // where the key sequence stands
  std::optional<long double> memory_;  // memory value, when any
};

// Keys drawn with weights that keep entries short and reach every key.
Integer RandomKey(std::mt19937_64& rng) {
  static const std::pair<Integer, int> kWeights[] = {
      {ckDecimal, 5},    {ckSign, 4},     {ckAdd, 5},       {ckSubtract, 5},   {ckMultiply, 5},
      {ckDivide, 4},     {ckEquals, 8},   {ckPercent, 3},   {ckReciprocal, 1}, {ckSqrt, 2},
      {ckMemStore, 2},   {ckMemAdd, 2},   {ckMemRecall, 2}, {ckMemClear, 1},   {ckClear, 2},
      {ckClearEntry, 2}, {ckBackspace, 5}};
  int roll = static_cast<int>(rng() % 100);
  if (roll < 43) return static_cast<Integer>(rng() % 10);
  roll -= 43;
  for (auto [key, weight] : kWeights) {
    if (roll < weight) return key;
    roll -= weight;
  }
  return ck0;
}

TEST(CalcEngine, RandomKeySequencesFollowTheModel) {
  for (std::uint64_t seed : {1u, 2u, 3u, 42u, 2024u}) {
    std::mt19937_64 rng(seed);
    TCalc calc;
    TCalcModel model;
    String keys;  // the recent keys, for the failure message
    for (int step = 0; step < 20000; ++step) {
      Integer key = RandomKey(rng);
      keys += String(key < 10 ? "" : " ") + std::to_string(key) + (key < 10 ? "" : " ");
      if (keys.size() > 200) keys.erase(0, keys.size() - 200);
      try {
        calc->PressKey(key);
      } catch (...) {
        FAIL() << "seed " << seed << " step " << step << " escaped; keys: " << keys;
      }
      model.Press(key);
      Integer state = calc->State();
      ASSERT_TRUE((state >= ccsCleared && state <= ccsResult) || state == ccsError)
          << "state " << state;
      ASSERT_EQ(calc->IsError(), model.error)
          << "seed " << seed << " step " << step << " keys: " << keys;
      if (model.error) continue;
      if (auto text = model.ExpectedText()) {
        ASSERT_EQ(calc->Display(), *text)
            << "seed " << seed << " step " << step << " keys: " << keys;
        continue;
      }
      long double shown = StrToFloat(calc->Display());
      long double expected = model.ExpectedValue();
      long double tolerance = 1e-15L * std::fmax(std::fabs(shown), std::fabs(expected));
      ASSERT_LE(std::fabs(shown - expected), tolerance)
          << "seed " << seed << " step " << step << " display " << calc->Display()
          << " keys: " << keys;
      model.Resync(shown);
    }
    EXPECT_GT(calc.errors, 0) << "the sequence should reach the error state";
  }
}

}  // namespace
