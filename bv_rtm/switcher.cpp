#include "bv_rtm/switcher.h"

#include "controls/wincore.h"

namespace brevant {

BV_IMPLEMENT_ABSTRACT_CLASS(TznSwitcher, TObject)

namespace {

// One hidden window carries the repeat timer of whichever switcher repeats;
// only one repeats at a time. The window exists only while a repeat runs.
class TRepeatTimer : public IWindowProc {
 public:
  void Start(TznSwitcher* s) {
    active_ = s;
    if (!Alive()) {
      TCreateParams p;
      p.Caption = "TznSwitcherRepeat";
      wnd_ = CreateWindowHandle(p, this);
    }
    SetTimer(wnd_, 1, TznSwitcher::RepeatInterval);  // restarts a running one
  }
  void Stop(TznSwitcher* s) {
    if (active_ != s) return;
    active_ = nullptr;
    if (Alive()) DestroyWindow(wnd_);
    wnd_ = 0;
  }
  TznSwitcher* Active() const { return active_; }

  void WndProc(TMessage& m) override {
    if (m.Msg == WM_TIMER && m.WParam == 1) {
      if (TznSwitcher* s = active_) CallHandlingExceptions(s, [s] { s->RepeatTick(); });
      return;
    }
    m.Result = DefWindowProc(GetMessageWindow(), m.Msg, m.WParam, m.LParam);
  }

 private:
  // The window manager may have been reset under us (tests do).
  bool Alive() const { return wnd_ != 0 && IsWindow(wnd_) && GetWindowProc(wnd_) == this; }

  HWND wnd_ = 0;
  TznSwitcher* active_ = nullptr;
};

TRepeatTimer& RepeatTimer() {
  static TRepeatTimer timer;
  return timer;
}

}  // namespace

TznSwitcher* TznSwitcher::ActiveRepeater() {
  return RepeatTimer().Active();
}

void TznSwitcher::BeforeDestruction() {
  if (!(owner_ && owner_->IsDestroying())) Release();
  StopRepeat();
  TObject::BeforeDestruction();
}

TznSwitcher::~TznSwitcher() {
  // A switcher deleted without Free must not stay the timer's target.
  RepeatTimer().Stop(this);
}

bool TznSwitcher::CanPress(Integer, Integer, Cardinal, Word, Integer) {
  return true;
}

void TznSwitcher::PressedChanged(Integer) {}

void TznSwitcher::Execute(Integer, Integer, Word, Integer) {}

void TznSwitcher::Release() {
  if (!pressed_) return;
  const Integer oldPart = part_;
  const bool wasDown = down_;
  pressed_ = false;
  down_ = false;
  part_ = -1;
  key_ = 0;
  fired_ = false;
  StopRepeat();
  if (wasDown) PressedChanged(oldPart);
}

void TznSwitcher::StartRepeat() {
  counter_ = 0;
  repeating_ = true;
  if (TznSwitcher* other = RepeatTimer().Active(); other && other != this) other->StopRepeat();
  RepeatTimer().Start(this);
}

void TznSwitcher::StopRepeat() {
  repeating_ = false;
  RepeatTimer().Stop(this);
}

void TznSwitcher::MouseDown(Integer part, Integer x, bool autoRepeat, bool fireOnPress,
                            const TRect& rect, Cardinal flags, Integer y) {
  if (pressed_) Release();
  if (!CanPress(part, x, flags, 0, y)) return;
  pressed_ = true;
  rect_ = rect;
  part_ = part;
  key_ = 0;
  fired_ = false;
  point_ = TPoint(x, y);
  down_ = PtInRect(rect_, point_);
  counter_ = 0;
  if (down_) {
    PressedChanged(part_);
    if (fireOnPress && pressed_) {
      fired_ = true;
      Execute(part_, x, 0, y);
    }
  }
  if (autoRepeat && pressed_) StartRepeat();  // the action may have released it
}

void TznSwitcher::MouseMove(Integer x, Integer y) {
  if (!MousePressRunning()) return;
  point_ = TPoint(x, y);
  const bool inside = PtInRect(rect_, point_);
  if (inside != down_) {
    down_ = inside;
    PressedChanged(part_);
  }
}

void TznSwitcher::MouseUp(Integer x, Integer y) {
  if (!MousePressRunning()) return;
  MouseMove(x, y);
  if (!MousePressRunning()) return;  // PressedChanged may have released it
  // Release resets the state: keep what the action needs first.
  const Integer part = part_;
  const bool wasDown = down_;
  const bool fired = fired_;
  Release();
  if (wasDown && !fired) Execute(part, x, 0, y);
}

bool TznSwitcher::KeyDown(Integer part, Word key, Cardinal flags) {
  if (pressed_ && key_ == key && key != 0) return false;
  if (pressed_) Release();
  if (!CanPress(part, -1, flags, key, -1)) return false;
  pressed_ = true;
  part_ = part;
  down_ = true;
  key_ = key;
  fired_ = false;
  PressedChanged(part_);
  return true;
}

bool TznSwitcher::KeyUp(Word key) {
  if (!pressed_ || key == 0 || key != key_) return false;
  const Integer part = part_;
  Release();
  Execute(part, -1, key, -1);
  return true;
}

void TznSwitcher::RepeatTick() {
  if (!pressed_ || !down_) return;  // outside the part: not counted
  const Integer c = counter_;
  const bool fire =
      (c >= 9 && c <= 24 && c % 3 == 0) || (c >= 26 && c <= 66 && c % 2 == 0) || c >= 67;
  if (c < 67) ++counter_;  // every tick from 67 on fires; stop counting there
  if (fire) Execute(part_, point_.X, 0, point_.Y);
}

}  // namespace brevant
