// The press trackers every data-aware edit owns: TznEditBtnSwitcher follows
// presses of the editor button and the spin halves (parts 1 to 3),
// TznEditSwitcher presses on the editor surface that switch the value
// (part 4). Both press only while the edit is in edit state with active
// fields.
#pragma once

#include "bv_rtm/switcher.h"

namespace brevant {

class TDBQuentaEdit;

// Parts pressed through the edit switchers.
inline constexpr Integer epButton = 1;    // the whole button
inline constexpr Integer epSpinUp = 2;    // the upper spin half
inline constexpr Integer epSpinDown = 3;  // the lower spin half
inline constexpr Integer epSurface = 4;   // the editor surface

class TznEditCustomSwitcher : public TznSwitcher {
  BV_CLASS(TznEditCustomSwitcher, TznSwitcher)
 public:
  explicit TznEditCustomSwitcher(TDBQuentaEdit* edit);
  TDBQuentaEdit* Edit() const { return edit_; }
  bool CanPress(Integer part, Integer x, Cardinal flags, Word key, Integer y) override;
  // Lets go of the mouse capture of a running press, then releases.
  void Release() override;

 private:
  TDBQuentaEdit* edit_;  // the edit control (owns the switcher)
};

class TznEditBtnSwitcher : public TznEditCustomSwitcher {
  BV_CLASS(TznEditBtnSwitcher, TznEditCustomSwitcher)
 public:
  using TznEditCustomSwitcher::TznEditCustomSwitcher;
  // Captures the mouse when the press may start.
  bool CanPress(Integer part, Integer x, Cardinal flags, Word key, Integer y) override;
  // Repaints the button in its pressed or released look.
  void PressedChanged(Integer part) override;
  // The vision's ButtonAction: kind 1 for the button and the upper half,
  // 3 for the lower half.
  void Execute(Integer part, Integer x, Word key, Integer y) override;
};

class TznEditSwitcher : public TznEditCustomSwitcher {
  BV_CLASS(TznEditSwitcher, TznEditCustomSwitcher)
 public:
  using TznEditCustomSwitcher::TznEditCustomSwitcher;
  // The vision must have switches and agree for the key or the point, and
  // the fields must allow the switch; captures the mouse for a click.
  bool CanPress(Integer part, Integer x, Cardinal flags, Word key, Integer y) override;
  void PressedChanged(Integer part) override;
  // The switch: by key when x and y are -1, else by the mouse.
  void Execute(Integer part, Integer x, Word key, Integer y) override;
};

}  // namespace brevant
