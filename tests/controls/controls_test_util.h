// Helpers of the control tests: the off-screen backend installed once, a
// log the test controls write to, and a custom control that records what
// it receives.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "backend/offscreen_backend.h"
#include "controls/controls.h"
#include "controls/forms.h"
#include "graphics/canvas.h"

namespace brevant::test {

// The backend of the whole test binary.
TOffscreenBackend& Offscreen();

// The events the test controls saw, in order.
std::vector<std::string>& Log();
void ClearLog();
// The last message HandleException received ("" for none); cleared by ClearLog.
std::string& HandledMessage();

// A custom control that logs focus, keys, mouse and notifications as
// "<Name> <what>", and paints its client area in FillColor.
class TProbe : public TCustomControl {
  BV_CLASS(TProbe, TCustomControl)
 public:
  explicit TProbe(TComponent* owner);
  LRESULT DlgCode = 0;    // answer to WM_GETDLGCODE
  bool FailExit = false;  // CM_EXIT raises
  Word ConsumeKey = 0;    // KeyDown sets this key to 0
  TColor FillColor = clRed;
  bool ClientEdge = false;  // WS_EX_CLIENTEDGE (a 2-pixel frame)
  Integer Paints = 0;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyUp(Word& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Click() override;
  void DblClick() override;
  void WMGetDlgCode(TMessage& m) override;
  void CNKeyDown(TMessage& m) override;
  void CMEnter(TMessage& m) override;
  void CMExit(TMessage& m) override;
  void CMCancelMode(TMessage& m) override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
};

// A graphic control that fills itself and logs mouse input and hover.
class TProbeShape : public TGraphicControl {
  BV_CLASS(TProbeShape, TGraphicControl)
 public:
  explicit TProbeShape(TComponent* owner);
  TColor FillColor = clLime;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void Click() override;
  void CMMouseEnter(TMessage& m) override;
  void CMMouseLeave(TMessage& m) override;
};

// A form at (100, 100) with a 300 x 200 client area, freed with the fixture.
class ControlsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  TProbe* AddProbe(TWinControl* parent, const char* name, TRect bounds);
  // The form's native window.
  TNativeWindow Native() const;
  // A screen point inside a control.
  static TPoint At(const TControl* c, Integer x, Integer y) { return c->ClientToScreen({x, y}); }
  static void Pump() { PumpMessages(); }

  TForm* form = nullptr;
};

}  // namespace brevant::test
