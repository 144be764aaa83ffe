// THintWindow: a small top-level pop-up showing a text. It never takes the
// focus or activates, stays above other windows, and is drawn with
// clInfoBk, a one-pixel frame and the hint font. The application's hint
// machinery shows one; a control may also own one as a prompt window.
#pragma once

#include "controls/controls.h"

namespace brevant {

class THintWindow : public TCustomControl {
  BV_CLASS(THintWindow, TCustomControl)
 public:
  explicit THintWindow(TComponent* owner);

  // Places the window at rect (screen coordinates, as CalcHintRect made
  // it), sets the text and shows it without activating.
  virtual void ActivateHint(TRect rect, const String& hint);
  virtual void ActivateHintData(TRect rect, const String& hint, void* data);
  // The rectangle the text needs at (0, 0), word-wrapped at maxWidth.
  virtual TRect CalcHintRect(Integer maxWidth, const String& hint, void* data);
  // Hides the window and frees its handle.
  void ReleaseHandle();
  bool IsHintShown() const { return HandleAllocated() && Visible(); }

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void WMNCHitTest(TMessage& message) override;
};

}  // namespace brevant
