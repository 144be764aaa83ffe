// The window manager's focus, activation, mouse capture, cursor and
// key state.
#include <algorithm>

#include "controls/wincore_internal.h"
#include "rtl/scope.h"

namespace brevant {

using namespace wm;

// ---- focus, activation, capture, cursor, keys -----------------------------------------------

namespace wm {

void ActivateTopLevel(HWND top, bool click) {
  auto& s = WindowManager();
  if (top == s.Active) return;
  HWND old = s.Active;
  s.Active = top;
  bool appActivates = !old && top;
  if (W(old)) {
    SendMessage(old, WM_NCACTIVATE, 0, 0);
    SendMessage(old, WM_ACTIVATE, MakeWParam(WA_INACTIVE, 0), top);
  }
  if (!top) {
    if (s.Focus) SetFocus(0);
    std::vector<HWND> tl = s.TopLevels;
    for (HWND t : tl) SendMessage(t, WM_ACTIVATEAPP, 0, 0);
    return;
  }
  TWnd* w = W(top);
  if (!w || s.Active != top) return;
  if (w->Native) {
    ApplyZOrder(top, HWND_TOP);
    Backend().FocusNativeWindow(w->Native);
  }
  if (appActivates) {
    std::vector<HWND> tl = s.TopLevels;
    for (HWND t : tl) SendMessage(t, WM_ACTIVATEAPP, 1, 0);
  }
  if (s.Active != top) return;
  SendMessage(top, WM_NCACTIVATE, 1, 0);
  SendMessage(top, WM_ACTIVATE, MakeWParam(click ? WA_CLICKACTIVE : WA_ACTIVE, 0), old);
}

}  // namespace wm

HWND SetFocus(HWND h) {
  auto& s = WindowManager();
  HWND old = s.Focus;
  if (!h) {
    if (old) {
      s.Focus = 0;
      SendMessage(old, WM_KILLFOCUS, 0);
    }
    return old;
  }
  TWnd* w = W(h);
  if (!w || !Visible(w) || !Enabled(w)) return 0;
  if (h == old) return old;
  HWND top = TopLevelOf(h);
  if (s.Active != top && CanActivate(W(top))) {
    {
      TTemporaryChange activating(s.ActivatingForFocus, true);
      ActivateTopLevel(top, false);
    }
    if (!W(h)) return 0;
    old = s.Focus;
    if (h == old) return old;
  }
  s.Focus = h;
  if (W(old)) {
    // A failing exit keeps the focus where it was.
    TScopeGuard keep([&s, h, old] {
      if (s.Focus == h) s.Focus = W(old) ? old : 0;
    });
    SendMessage(old, WM_KILLFOCUS, static_cast<WPARAM>(h));
    keep.Dismiss();
  }
  if (s.Focus != h || !W(h)) return old;
  SendMessage(h, WM_SETFOCUS, static_cast<WPARAM>(old));
  return old;
}

HWND GetFocus() {
  return WindowManager().Focus;
}
HWND GetActiveWindow() {
  return WindowManager().Active;
}

HWND SetActiveWindow(HWND wnd) {
  HWND old = WindowManager().Active;
  HWND top = TopLevelOf(wnd);
  if (!wnd)
    ActivateTopLevel(0, false);
  else if (CanActivate(W(top)))
    ActivateTopLevel(top, false);
  return old;
}

HWND SetCapture(HWND h) {
  auto& s = WindowManager();
  if (!W(h)) return 0;
  HWND old = s.Capture;
  s.Capture = h;
  Backend().CaptureMouse(true);
  if (old && old != h) SendMessage(old, WM_CAPTURECHANGED, 0, h);
  return old;
}

bool ReleaseCapture() {
  auto& s = WindowManager();
  HWND old = s.Capture;
  s.Capture = 0;
  if (!s.Track.Active) Backend().CaptureMouse(false);
  if (old) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return true;
}

HWND GetCapture() {
  return WindowManager().Capture;
}

void SetCursor(TCursor cursor) {
  WindowManager().Cursor = cursor;
  Backend().SetCursorShape(cursor);
}

TPoint GetCursorPos() {
  return Backend().CursorPos();
}
void SetCursorPos(TPoint p) {
  Backend().SetCursorPos(p);
}

SmallInt GetKeyState(Integer vk) {
  if (vk < 0 || vk > 255) return 0;
  Byte st = WindowManager().KeyState[vk];
  return static_cast<SmallInt>(((st & 0x80) ? 0x8000 : 0) | (st & 1));
}

SmallInt GetAsyncKeyState(Integer vk) {
  return GetKeyState(vk);
}

}  // namespace brevant
