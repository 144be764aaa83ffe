// TznSwitcher: tracks the pressing of one part of a control (a button drawn
// in an edit's frame, a spin half) by mouse or keyboard, with auto-repeat.
// Descendants override the virtual operations to test, repaint and act.
#pragma once

#include "controls/controls.h"

namespace brevant {

class TznSwitcher : public TObject {
  BV_CLASS(TznSwitcher, TObject)
 public:
  // Milliseconds between repeat ticks.
  static constexpr Cardinal RepeatInterval = 30;

  explicit TznSwitcher(TControl* owner) : owner_(owner) {}
  // Releases a running press unless the owner is being destroyed (it must
  // not repaint then); the repeat timer stops in any case.
  void BeforeDestruction() override;
  ~TznSwitcher() override;

  // ---- operations a descendant overrides ----
  // Whether the part may be pressed (key 0 for a mouse press; x, y -1 for a
  // key press).
  virtual bool CanPress(Integer part, Integer x, Cardinal flags, Word key, Integer y);
  // Pressed or Down changed for part; descendants repaint.
  virtual void PressedChanged(Integer part);
  // Ends a press: resets the state, then PressedChanged for the old part
  // when it was down; stops the repeat timer.
  virtual void Release();
  // The part's action (x, y -1 after a key press; key 0 for the mouse).
  virtual void Execute(Integer part, Integer x, Word key, Integer y);

  // ---- input ----
  // Presses part by the mouse at (x, y) within rect. A running press is
  // released first. With fireOnPress the action runs at once when the
  // point is inside; with autoRepeat the repeat ticks start.
  void MouseDown(Integer part, Integer x, bool autoRepeat, bool fireOnPress, const TRect& rect,
                 Cardinal flags, Integer y);
  void MouseMove(Integer x, Integer y);
  // Ends a mouse press; the action runs when the point is inside the part
  // and it did not fire on press.
  void MouseUp(Integer x, Integer y);
  // Presses part by key; False when that key already presses or CanPress
  // refuses.
  bool KeyDown(Integer part, Word key, Cardinal flags);
  // Ends the press by key and runs the action; False when key is not the
  // pressing key.
  bool KeyUp(Word key);

  // ---- state ----
  TControl* Owner() const { return owner_; }
  bool Pressed() const { return pressed_; }
  bool Down() const { return down_; }
  Integer Part() const { return part_; }
  const TRect& PartRect() const { return rect_; }
  bool Fired() const { return fired_; }
  bool Repeating() const { return repeating_; }
  // Repeat ticks counted since the press (ticks outside the part not);
  // stays at 67 from there, where every tick fires.
  Integer RepeatCount() const { return counter_; }
  TPoint MousePoint() const { return point_; }
  Word Key() const { return key_; }
  // The switcher whose repeat ticks run, or nullptr.
  static TznSwitcher* ActiveRepeater();

  // One repeat tick (the shared timer calls it on the active switcher).
  void RepeatTick();

 private:
  bool MousePressRunning() const { return pressed_ && key_ == 0; }
  void StartRepeat();
  void StopRepeat();

  TControl* owner_ = nullptr;
  bool pressed_ = false;
  bool down_ = false;
  Integer part_ = -1;
  TRect rect_;
  bool fired_ = false;
  bool repeating_ = false;
  Integer counter_ = 0;
  TPoint point_;
  Word key_ = 0;
};

}  // namespace brevant
