// Input: raw backend events become window messages one at a time, when the
// queue asks for the next one, so each is routed with the capture, focus and
// scroll tracking left by the messages before it (as a system input queue
// does). Key state follows the translated events.
#include <algorithm>
#include <cstdlib>

#include "controls/wincore_internal.h"
#include "rtl/strutils.h"

namespace brevant::wm {

namespace {

void SetKey(Integer vk, bool down) {
  Byte& st = WindowManager().KeyState[vk & 0xFF];
  st = down ? Byte(st | 0x80) : Byte(st & ~0x80);
}

void SyncModifiers(Byte mods) {
  SetKey(VK_SHIFT, (mods & bmShift) != 0);
  SetKey(VK_CONTROL, (mods & bmCtrl) != 0);
  SetKey(VK_MENU, (mods & bmAlt) != 0);
}

WPARAM MouseKeys() {
  WPARAM mk = 0;
  if (GetKeyState(VK_LBUTTON) < 0) mk |= MK_LBUTTON;
  if (GetKeyState(VK_RBUTTON) < 0) mk |= MK_RBUTTON;
  if (GetKeyState(VK_MBUTTON) < 0) mk |= MK_MBUTTON;
  if (GetKeyState(VK_SHIFT) < 0) mk |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) mk |= MK_CONTROL;
  return mk;
}

Integer ButtonVk(TBackendButton b) {
  return b == bbLeft ? VK_LBUTTON : b == bbRight ? VK_RBUTTON : VK_MBUTTON;
}

// Client message numbers; the non-client ones are WM_NC... = client - 0x160.
Cardinal ButtonMessage(TBackendButton b, bool down) {
  Cardinal base = b == bbLeft ? WM_LBUTTONDOWN : b == bbRight ? WM_RBUTTONDOWN : WM_MBUTTONDOWN;
  return down ? base : base + 1;
}

constexpr Cardinal kNcOffset = WM_LBUTTONDOWN - WM_NCLBUTTONDOWN;

void Leave(HWND target) {
  auto& s = WindowManager();
  if (s.Hover && s.Hover != target) {
    if (W(s.Hover)) PostMessage(s.Hover, WM_MOUSELEAVE);
  }
  s.Hover = target;
}

void TranslateMouse(const TBackendEvent& e) {
  auto& s = WindowManager();
  SyncModifiers(e.Modifiers);
  if (e.Kind == bekMouseDown) {
    SetKey(ButtonVk(e.Button), true);
    s.MenuKeyAlone = false;
  }
  if (e.Kind == bekMouseUp) SetKey(ButtonVk(e.Button), false);
  if (s.Track.Active && TrackScrollInput(e)) return;
  TPoint pt = e.ScreenPos;
  bool down = e.Kind == bekMouseDown;
  Cardinal clientMsg = e.Kind == bekMouseMove ? WM_MOUSEMOVE : ButtonMessage(e.Button, down);
  WPARAM mk = MouseKeys();
  if (HWND cap = s.Capture; cap && W(cap)) {
    Cardinal msg = clientMsg;
    if (down) {
      // Double clicks count under capture too.
      if (s.LastDownValid && s.LastDownWnd == cap && s.LastDownMsg == clientMsg &&
          e.Time - s.LastDownTime <= GetDoubleClickTime() &&
          std::abs(pt.X - s.LastDownPos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
          std::abs(pt.Y - s.LastDownPos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2 &&
          (W(cap)->ClassStyle & CS_DBLCLKS)) {
        msg = clientMsg + 2;
        s.LastDownValid = false;
      } else {
        s.LastDownValid = true;
        s.LastDownWnd = cap;
        s.LastDownMsg = clientMsg;
        s.LastDownTime = e.Time;
        s.LastDownPos = pt;
      }
    }
    Post(cap, msg, mk, PointToLParam(ScreenToClient(cap, pt)), e.Time, pt);
    return;
  }
  auto [target, ht] = HitTest(pt);
  if (!target) {
    Leave(0);
    if (down) s.LastDownValid = false;
    return;
  }
  if (!Enabled(W(target))) {
    if (down) Backend().Beep();
    return;
  }
  if (ht == HTERROR) {
    SendMessage(target, WM_SETCURSOR, static_cast<WPARAM>(target),
                MakeLParam(Integer(ht), Integer(clientMsg)));
    return;
  }
  Leave(target);
  bool nc = ht != HTCLIENT;
  Cardinal msg = nc ? clientMsg - kNcOffset : clientMsg;
  bool eat = false;
  if (down) {
    TWnd* w = W(target);
    if (s.LastDownValid && s.LastDownWnd == target && s.LastDownMsg == msg &&
        e.Time - s.LastDownTime <= GetDoubleClickTime() &&
        std::abs(pt.X - s.LastDownPos.X) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
        std::abs(pt.Y - s.LastDownPos.Y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2 &&
        (w->ClassStyle & CS_DBLCLKS)) {
      s.LastDownValid = false;
      msg += 2;
    } else {
      s.LastDownValid = true;
      s.LastDownWnd = target;
      s.LastDownMsg = msg;
      s.LastDownTime = e.Time;
      s.LastDownPos = pt;
    }
    HWND top = TopLevelOf(target);
    TWnd* tw = W(top);
    if (tw && top != s.Active && !(tw->ExStyle & WS_EX_NOACTIVATE)) {
      LRESULT ma = SendMessage(target, WM_MOUSEACTIVATE, static_cast<WPARAM>(top),
                               MakeLParam(Integer(ht), Integer(msg)));
      if ((ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT) && W(top)) ActivateTopLevel(top, true);
      eat = ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT;
    }
  }
  if (!W(target)) return;
  SendMessage(target, WM_SETCURSOR, static_cast<WPARAM>(target),
              MakeLParam(Integer(ht), Integer(msg)));
  if (eat || !W(target)) return;
  if (nc)
    Post(target, msg, static_cast<WPARAM>(ht), PointToLParam(pt), e.Time, pt);
  else
    Post(target, msg, mk, PointToLParam(ScreenToClient(target, pt)), e.Time, pt);
}

HWND KeyTarget() {
  auto& s = WindowManager();
  if (W(s.Focus)) return s.Focus;
  if (W(s.Active)) return s.Active;
  return 0;
}

void PostText(HWND target, const String& text, const TBackendEvent& e) {
  if (!target) return;
  LPARAM lp = 1 | ((e.Modifiers & bmAlt) ? KF_ALTDOWN_BIT : 0);
  std::size_t i = 0;
  while (i < text.size()) {
    char32_t cp = Utf8Next(text, i);
    Post(target, WM_CHAR, static_cast<WPARAM>(cp), lp, e.Time, Backend().CursorPos());
  }
}

void TranslateKey(const TBackendEvent& e, bool down) {
  auto& s = WindowManager();
  SyncModifiers(e.Modifiers);
  Integer vk = e.Key & 0xFF;
  if (down) {
    if (!e.Repeat) s.KeyState[vk] ^= 1;  // toggle keys (Caps Lock ...)
    SetKey(vk, true);
  } else {
    SetKey(vk, false);
  }
  bool alt = (e.Modifiers & bmAlt) != 0;
  bool ctrl = (e.Modifiers & bmCtrl) != 0;
  const bool altKey = vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU;
  // Alt pressed and released alone activates the menu bar (DefWindowProc).
  if (down && !e.Repeat) s.MenuKeyAlone = altKey;
  // Alt released alone is a system key; after Alt+key its release is not.
  bool sys = ((alt || (altKey && s.MenuKeyAlone)) && !ctrl) || e.Key == VK_F10;
  Cardinal msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  LPARAM lp = 1;
  if (alt) lp |= KF_ALTDOWN_BIT;
  if (!down || e.Repeat) lp |= KF_PREVDOWN_BIT;
  if (!down) lp |= KF_UP_BIT;
  HWND target = KeyTarget();
  if (target) Post(target, msg, e.Key, lp, e.Time, Backend().CursorPos());
  if (!down) return;
  // The text this key typed comes right after it.
  while (!s.RawInput.empty() && s.RawInput.front().Kind == bekText) {
    TBackendEvent t = std::move(s.RawInput.front());
    s.RawInput.pop_front();
    PostText(target, t.Text, t);
  }
}

HWND WindowOfNative(TNativeWindow n) {
  if (!n) return 0;
  for (HWND t : WindowManager().TopLevels)
    if (TWnd* w = W(t); w && w->Native == n) return t;
  return 0;
}

// The wheel goes to the window with the keyboard focus, unless a scroll bar
// is being tracked.
void TranslateWheel(const TBackendEvent& e) {
  SyncModifiers(e.Modifiers);
  if (WindowManager().Track.Active) return;
  HWND target = KeyTarget();
  if (!target) return;
  Integer delta = std::clamp<Integer>(e.WheelDelta, -32768, 32767);
  Post(target, WM_MOUSEWHEEL, MakeWParam(Integer(MouseKeys()), delta), PointToLParam(e.ScreenPos),
       e.Time, e.ScreenPos);
}

// A disabled window (the owner of a modal dialog) ignores the user's close request.
void TranslateClose(const TBackendEvent& e) {
  if (HWND h = WindowOfNative(e.Window); h && Enabled(W(h)))
    Post(h, WM_CLOSE, 0, 0, e.Time, Backend().CursorPos());
}

// The user moved or resized a top-level window.
void TranslateBounds(const TBackendEvent& e) {
  if (HWND h = WindowOfNative(e.Window))
    SetWindowPos(h, 0, e.Bounds.Left, e.Bounds.Top, e.Bounds.Width(), e.Bounds.Height(),
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// An uncovered window shows its surface again.
void TranslateExposed(const TBackendEvent& e) {
  if (HWND h = WindowOfNative(e.Window)) {
    TWnd* w = W(h);
    Backend().Present(w->Native, TRect(0, 0, w->Rect.Width(), w->Rect.Height()));
  }
}

void TranslateFocusGained(const TBackendEvent& e) {
  if (HWND h = WindowOfNative(e.Window);
      h && h != WindowManager().Active && !(W(h)->ExStyle & WS_EX_NOACTIVATE))
    ActivateTopLevel(h, false);
}

void TranslateFocusLost(const TBackendEvent& e) {
  if (HWND h = WindowOfNative(e.Window); h && h == WindowManager().Active)
    ActivateTopLevel(0, false);
}

}  // namespace

bool TranslateNextInput() {
  auto& s = WindowManager();
  if (s.RawInput.empty()) return false;
  TBackendEvent e = std::move(s.RawInput.front());
  s.RawInput.pop_front();
  switch (e.Kind) {
    case bekMouseMove:
    case bekMouseDown:
    case bekMouseUp:
      TranslateMouse(e);
      break;
    case bekWheel:
      TranslateWheel(e);
      break;
    case bekKeyDown:
      TranslateKey(e, true);
      break;
    case bekKeyUp:
      TranslateKey(e, false);
      break;
    case bekText:
      PostText(KeyTarget(), e.Text, e);
      break;
    case bekClose:
      TranslateClose(e);
      break;
    case bekResized:
    case bekMoved:
      TranslateBounds(e);
      break;
    case bekExposed:
      TranslateExposed(e);
      break;
    case bekFocusGained:
      TranslateFocusGained(e);
      break;
    case bekFocusLost:
      TranslateFocusLost(e);
      break;
    case bekMouseLeft:
      Leave(0);
      break;
    case bekQuit:
      PostQuitMessage(0);
      break;
    case bekNone:
      break;
  }
  return true;
}

}  // namespace brevant::wm
