// The default pack's calculator drop-down opened by the pack's numeric
// vision on an edit, driven through the tool form host with typed keys and
// clicks on its buttons: results left in the edit by Return, failures shown
// as "Error" and undone at closing, the memory display, and the stock
// registry filled and emptied by the pack's start-up and shut-down.
#include <gtest/gtest.h>

#include "bv_rtm/calc_engine.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/pack.h"
#include "bv_std/tool_form_vision.h"
#include "bv_vtf/tool_form_bg.h"
#include "bv_vtf/tool_form_test_util.h"
#include "controls/extctrls.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"

namespace brevant::test {
namespace {

class CalculatorPackTest : public ToolFormTest {
 protected:
  void SetUp() override {
    ToolFormTest::SetUp();
    StartDefPackUnit();
    pack = DefPack();
    ASSERT_NE(pack, nullptr);
    calc = pack->vtfCalculator;
    edit->Fields().SetVision(pack->Calculator);
  }
  void TearDown() override {
    StopDefPackUnit();
    ToolFormTest::TearDown();
  }
  // Opens the calculator on an edit showing text; inside its modal loop
  // act gives the input, which is handled before Run returns.
  void Run(const String& text, std::function<void()> act) {
    edit->SetText(text);
    ScriptAction("VisionToolForm", [act](TObject*) { act(); });
    Open();
  }
  // Once the loop has handled all input: act (which should give more input,
  // else the loop starves).
  static void WhenIdle(std::function<void()> act) {
    Application()->OnIdle = TIdleEvent::FromCallable([act](TObject*, bool&) {
      const std::function<void()> run = act;  // outlives the handler
      Application()->OnIdle = nullptr;
      run();
    });
  }
  // Clicks a calculator button where it shows on the screen.
  void ClickButton(TSpeedButton* button) const {
    const TRect r = button->BoundsRect();
    ClickAt(calc->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2}));
  }
  TbvDefPack* pack = nullptr;
  TVisionToolForm* calc = nullptr;
};

TEST_F(CalculatorPackTest, StartUpRegistersTheCalculatorAndShutDownForgetsIt) {
  EXPECT_EQ(StockToolForm(stfCalculator), calc);
  EXPECT_EQ(pack->Calculator->GetDropDown(), calc);
  StartDefPackUnit();  // a second start keeps the one pack
  EXPECT_EQ(DefPack(), pack);
  StopDefPackUnit();
  EXPECT_EQ(DefPack(), nullptr);
  EXPECT_EQ(StockToolForm(stfCalculator), nullptr);
}

TEST_F(CalculatorPackTest, TypedKeysComputeAndReturnLeavesTheResultInTheEdit) {
  struct TRow {
    const char* name;   // what the row checks
    const char* start;  // the edit's text at opening
    const char* typed;  // typed in the calculator, then Return
    const char* shown;  // the edit's text after the drop-down closed
  };
  const TRow rows[] = {
      {"sum of typed digits", "", "12+3", "15"},
      {"starts from the edit's number", "40", "/8", "5"},
      {"equals typed, Return does not repeat it", "", "2*3=", "6"},
      {"decimal separator typed", "", "1.5*2", "3"},
      {"operators chain", "", "2+3*4", "20"},
      {"text that is no number starts from zero", "abc", "7-9", "-2"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    Run(row.start, [&] {
      Offscreen().TypeText(row.typed);
      Offscreen().PressKey(VK_RETURN);
    });
    EXPECT_FALSE(calc->IsOpen());
    EXPECT_EQ(edit->Text(), row.shown);
  }
}

TEST_F(CalculatorPackTest, KeysOfTheNumericPadAndEditingKeysPressTheirButtons) {
  Run("", [&] {
    for (Integer vk :
         {VK_NUMPAD0 + 9, VK_NUMPAD0 + 8, Integer(VK_BACK), Integer(VK_MULTIPLY), VK_NUMPAD0 + 4})
      Offscreen().PressKey(Word(vk));
    Offscreen().PressKey(VK_DELETE);  // clears the 4
    Offscreen().PressKey(VK_NUMPAD0 + 3);
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_EQ(edit->Text(), "27");
  EXPECT_EQ(pack->LastPressed(), pack->sbCalcIs);
}

TEST_F(CalculatorPackTest, ClickedButtonsRunTheirCommands) {
  struct TRow {
    const char* name;                    // what the row checks
    std::vector<TSpeedButton*> clicked;  // in this order
    const char* shown;                   // the edit's text while open
  };
  TbvDefPack& p = *DefPack();
  const TRow rows[] = {
      {"sign and decimal buttons",
       {p.sbCalcNum[7], p.sbCalcSign, p.sbCalcNum[5], p.sbCalcDecSep, p.sbCalcNum[2]},
       "-75.2"},
      {"square root", {p.sbCalcNum[8], p.sbCalcNum[1], p.sbCalcSqrt}, "9"},
      {"reciprocal", {p.sbCalcNum[4], p.sbCalc1divX}, "0.25"},
      {"minus and equals", {p.sbCalcNum[2], p.sbCalcMinus, p.sbCalcNum[5], p.sbCalcIs}, "-3"},
      {"backspace then clear", {p.sbCalcNum[1], p.sbCalcNum[2], p.sbCalcBS}, "1"},
      {"backspace on a negative digit gives zero", {p.sbCalcNum[5], p.sbCalcSign, p.sbCalcBS}, "0"},
      {"clear all", {p.sbCalcNum[1], p.sbCalcPlus, p.sbCalcNum[2], p.sbCalcC}, "0"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    Run("", [&] {
      for (TSpeedButton* b : row.clicked) ClickButton(b);
      Offscreen().PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(edit->Text(), row.shown);
  }
}

TEST_F(CalculatorPackTest, AFailureShowsErrorAndClosingRestoresTheOpeningText) {
  TbvDefPack& p = *pack;
  struct TRow {
    const char* name;                    // what the row checks
    const char* typed;                   // typed in the calculator first
    std::vector<TSpeedButton*> clicked;  // then clicked
    Word close;                          // the key that closes it
  };
  const TRow rows[] = {
      {"division by zero, Escape", "/0=", {}, VK_ESCAPE},
      {"square root of a negative number, Return",
       "",
       {p.sbCalcNum[4], p.sbCalcSign, p.sbCalcSqrt},
       VK_RETURN},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    String shown;
    bool error = false;
    Run("12", [&] {
      Offscreen().TypeText(row.typed);
      for (TSpeedButton* b : row.clicked) ClickButton(b);
      WhenIdle([&] {
        shown = edit->Text();
        error = pack->Engine()->IsError();
        Offscreen().PressKey(row.close);
      });
    });
    EXPECT_TRUE(error);
    EXPECT_EQ(shown, "Error");
    EXPECT_EQ(edit->Text(), "12");
  }
  // Clear all leaves the error state; the next result is shown again.
  Run("12", [&] {
    Offscreen().TypeText("/0=");
    ClickButton(pack->sbCalcC);
    Offscreen().TypeText("5");
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_FALSE(pack->Engine()->IsError());
  EXPECT_EQ(edit->Text(), "5");
}

TEST_F(CalculatorPackTest, MemoryButtonsAndTheirDisplay) {
  TbvDefPack& p = *pack;
  bool mcBefore = true, mrAfter = false;
  String memoryShown;
  Run("", [&] {
    mcBefore = p.sbCalcMC->Enabled();
    Offscreen().TypeText("6");
    ClickButton(p.sbCalcMS);
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(mcBefore);
  mrAfter = p.sbCalcMR->Enabled();
  memoryShown = p.pnCalcMemory->Caption();
  EXPECT_TRUE(mrAfter);
  EXPECT_EQ(memoryShown, " 6");
  // MC empties the memory and disables the recall buttons again.
  Run("", [&] {
    ClickButton(p.sbCalcMC);
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(p.sbCalcMC->Enabled());
  EXPECT_FALSE(p.sbCalcMR->Enabled());
  EXPECT_EQ(p.pnCalcMemory->Caption(), " ");
}

TEST_F(CalculatorPackTest, ButtonsAreFramedOneExtraPixelToTheLeftOnTheButtonFace) {
  TColor frameLeft = 0, beforeFrame = 0, frameTop = 0;
  Run("", [&] {
    WhenIdle([&] {
      TznToolFormBG* bg = calc->Background();
      const TNativeWindow w = GetNativeWindow(bg->WindowHandle());
      const TPoint origin = bg->BoundsRect().TopLeft();
      // A pixel of the calculator's client area, in the window's coordinates.
      auto px = [&](Integer x, Integer y) {
        const TPoint s = calc->ClientToScreen({x, y});
        return Offscreen().Pixel(w, s.X - origin.X, s.Y - origin.Y);
      };
      const TRect seven = pack->sbCalcNum[7]->BoundsRect();
      frameLeft = px(seven.Left - 1, seven.Top + 10);
      beforeFrame = px(seven.Left - 3, seven.Top + 10);
      frameTop = px(seven.Left + 10, seven.Top);
      Offscreen().PressKey(VK_ESCAPE);
    });
  });
  EXPECT_EQ(frameLeft, ColorToRGB(clBtnShadow));
  EXPECT_EQ(frameTop, ColorToRGB(clBtnShadow));
  EXPECT_EQ(beforeFrame, ColorToRGB(clBtnFace));
}

}  // namespace
}  // namespace brevant::test
