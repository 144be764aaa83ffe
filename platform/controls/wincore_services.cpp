// The window manager's services: timers and time, system metrics, the
// clipboard, window backgrounds and resetting the whole state.
#include <algorithm>
#include <cstring>

#include "controls/wincore_internal.h"
#include "graphics/colors.h"

namespace brevant {

using namespace wm;

// ---- timers and time ------------------------------------------------------------------------

bool SetTimer(HWND h, WPARAM id, Cardinal elapse) {
  if (h && !W(h)) return false;
  auto& s = WindowManager();
  elapse = std::max(elapse, kMinTimerElapse);
  Cardinal due = Backend().TickCount() + elapse;
  for (auto& t : s.Timers)
    if (t.Wnd == h && t.Id == id) {
      t.Elapse = elapse;
      t.Due = due;
      return true;
    }
  s.Timers.push_back({h, id, elapse, due, ++s.TimerOrder});
  return true;
}

bool KillTimer(HWND h, WPARAM id) {
  auto& t = WindowManager().Timers;
  auto it =
      std::find_if(t.begin(), t.end(), [&](const TTimer& x) { return x.Wnd == h && x.Id == id; });
  if (it == t.end()) return false;
  t.erase(it);
  return true;
}

Cardinal GetTickCount() {
  return Backend().TickCount();
}

Integer GetSystemMetrics(Integer index) {
  switch (index) {
    case SM_CXSCREEN:
      return Backend().ScreenRect().Width();
    case SM_CYSCREEN:
      return Backend().ScreenRect().Height();
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
      return kScrollSize;
    case SM_CYCAPTION:
      return 23;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 3;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
    case SM_CXFRAME:
    case SM_CYFRAME:
      return 4;
    default:
      return 0;
  }
}

Cardinal GetDoubleClickTime() {
  return kDoubleClickTime;
}

// ---- clipboard ------------------------------------------------------------------------------

String GetClipboardText() {
  return Backend().ClipboardText();
}

void SetClipboardText(const String& text) {
  WindowManager().ClipboardBitmap.reset();
  Backend().SetClipboardText(text);
}

bool HasClipboardText() {
  return !Backend().ClipboardText().empty();
}

void SetClipboardBitmap(const TBitmap& bitmap) {
  auto copy = std::unique_ptr<TBitmap>(Create<TBitmap>());
  copy->Assign(&bitmap);
  Backend().SetClipboardText(String());
  WindowManager().ClipboardBitmap = std::move(copy);
}

bool GetClipboardBitmap(TBitmap& bitmap) {
  if (!WindowManager().ClipboardBitmap) return false;
  bitmap.Assign(WindowManager().ClipboardBitmap.get());
  return true;
}

bool HasClipboardBitmap() {
  return WindowManager().ClipboardBitmap != nullptr;
}

// ---- additions ------------------------------------------------------------------------------

void SetWindowBackground(HWND wnd, Integer color) {
  if (TWnd* w = W(wnd)) w->Background = color;
}

Integer GetWindowBackground(HWND wnd) {
  TWnd* w = W(wnd);
  return w ? w->Background : clNone;
}

std::intptr_t GetNativeWindow(HWND wnd) {
  TWnd* top = W(TopLevelOf(wnd));
  return top ? top->Native : 0;
}

void ResetWindowManager() {
  auto& s = WindowManager();
  s.Track = TScrollTrack();
  // The procedures may be gone already: the windows go without messages.
  for (auto& w : s.Windows)
    if (w) w->Proc = nullptr;
  while (!s.TopLevels.empty()) {
    HWND t = s.TopLevels.front();
    DestroyWindow(t);
    if (!s.TopLevels.empty() && s.TopLevels.front() == t) s.TopLevels.erase(s.TopLevels.begin());
  }
  s.Queue.clear();
  s.RawInput.clear();
  s.Timers.clear();
  s.QuitPending = false;
  s.Focus = s.Active = s.Capture = s.Hover = 0;
  s.LastDownValid = false;
  s.PendingPaints = 0;
  std::memset(s.KeyState, 0, sizeof s.KeyState);
  s.DCs.clear();
  s.ClipboardBitmap.reset();
  if (s.SendDepth == 0) s.Graveyard.clear();
  Backend().CaptureMouse(false);
}

}  // namespace brevant
