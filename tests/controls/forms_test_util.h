// The fixture of the forms-layer tests: the control fixture plus a clean
// application, scripted answers and modal log per test.
#pragma once

#include "controls/application.h"
#include "controls/controls_test_util.h"
#include "controls/test_hooks.h"

namespace brevant::test {

class FormsTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    ClearScriptedAnswers();
    ModalLog().clear();
  }
  void TearDown() override {
    ControlsTest::TearDown();
    DoneApplication();
    ClearScriptedAnswers();
    ModalLog().clear();
    Offscreen().MouseMove({0, 0});
    Pump();
  }
  // Advances the virtual clock and handles what became due.
  static void Wait(Cardinal ms) {
    Offscreen().Advance(ms);
    Pump();
  }
  // A click with a pump in between, as a user's slower hand would give.
  static void ClickAt(TPoint p) {
    Offscreen().MouseMove(p);
    Offscreen().Click(p);
  }
};

}  // namespace brevant::test
