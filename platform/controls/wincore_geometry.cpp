// The window manager's geometry: positions and sizes, showing and
// enabling, coordinates, hit testing and window shapes.
#include <algorithm>

#include "controls/wincore_internal.h"

namespace brevant {

using namespace wm;

// ---- geometry -----------------------------------------------------------------------

bool SetWindowPos(HWND h, HWND insertAfter, Integer x, Integer y, Integer cx, Integer cy,
                  Cardinal flags) {
  TWnd* w = W(h);
  if (!w) return false;
  TWindowPos wp{h, insertAfter, x, y, cx, cy, flags};
  if (flags & SWP_NOMOVE) {
    wp.X = w->Rect.Left;
    wp.Y = w->Rect.Top;
  }
  if (flags & SWP_NOSIZE) {
    wp.Cx = w->Rect.Width();
    wp.Cy = w->Rect.Height();
  }
  SendMessage(h, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&wp));
  w = W(h);
  if (!w) return false;
  flags = wp.Flags;
  TRect oldRect = w->Rect;
  TRect oldClient = w->Client;
  TRect newRect = Bounds(wp.X, wp.Y, std::max<Integer>(wp.Cx, 0), std::max<Integer>(wp.Cy, 0));
  bool moved = newRect.TopLeft() != oldRect.TopLeft();
  bool sized = newRect.Width() != oldRect.Width() || newRect.Height() != oldRect.Height();
  bool wasVisible = Visible(w);
  bool zChanged = !(flags & SWP_NOZORDER) && ApplyZOrder(h, wp.InsertAfter);
  if (moved || sized) {
    w->Rect = newRect;
    if (!w->Parent && w->Native) {
      if (sized) DetachCanvases(h);
      Backend().SetNativeBounds(w->Native, newRect);
    }
  }
  bool clientSized = false;
  if (sized || (flags & SWP_FRAMECHANGED)) clientSized = RecalcFrame(h);
  w = W(h);
  if (!w) return false;
  bool clientMoved = moved || w->Client.TopLeft() != oldClient.TopLeft();
  if (wasVisible && !(flags & SWP_NOREDRAW)) {
    bool childChanged = w->Parent && (moved || sized || zChanged);
    if (childChanged) InvalidateArea(w->Parent, oldRect, true);
    if (childChanged || ((sized || (flags & SWP_FRAMECHANGED)) && W(h))) InvalidateTree(h);
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(h, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(h, SW_HIDE);
  if (!W(h)) return false;
  SendMessage(h, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&wp));
  SendSizeAndMove(h, clientMoved, sized || clientSized);
  w = W(h);
  if (w && !w->Parent && !(flags & SWP_NOACTIVATE) && !(flags & SWP_HIDEWINDOW) && CanActivate(w) &&
      WindowManager().Active != h)
    ActivateTopLevel(h, false);
  return true;
}

bool MoveWindow(HWND wnd, Integer x, Integer y, Integer cx, Integer cy, bool repaint) {
  return SetWindowPos(wnd, 0, x, y, cx, cy,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : Cardinal(SWP_NOREDRAW)));
}

bool ShowWindow(HWND h, Integer cmd) {
  TWnd* w = W(h);
  if (!w) return false;
  bool was = (w->Style & WS_VISIBLE) != 0;
  if (cmd == SW_HIDE) {
    if (!was) return false;
    SendMessage(h, WM_SHOWWINDOW, 0);
    HideInternal(h);
    return true;
  }
  if (cmd == SW_SHOWMAXIMIZED && !w->Parent) {
    TRect wa = Backend().WorkArea();
    SetWindowPos(h, 0, wa.Left, wa.Top, wa.Width(), wa.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    w = W(h);
    if (!w) return was;
  }
  if (!was) {
    SendMessage(h, WM_SHOWWINDOW, 1);
    w = W(h);
    if (!w) return was;
    w->Style |= WS_VISIBLE;
    bool activate = cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINIMIZED &&
                    !(w->ExStyle & WS_EX_NOACTIVATE);
    if (!w->Parent && w->Native) {
      ApplyZOrder(h, HWND_TOP);
      Backend().ShowNativeWindow(w->Native, true, activate);
    }
    if (Visible(w)) InvalidateTree(h);
  }
  w = W(h);
  if (w && !w->Parent && cmd != SW_SHOWNA && cmd != SW_SHOWNOACTIVATE && cmd != SW_SHOWMINIMIZED &&
      CanActivate(w) && WindowManager().Active != h)
    ActivateTopLevel(h, false);
  return was;
}

bool IsWindowVisible(HWND wnd) {
  TWnd* w = W(wnd);
  return w && Visible(w);
}

bool EnableWindow(HWND h, bool enable) {
  TWnd* w = W(h);
  if (!w) return false;
  bool wasDisabled = (w->Style & WS_DISABLED) != 0;
  if (wasDisabled == !enable) return wasDisabled;
  if (enable)
    w->Style &= ~WS_DISABLED;
  else
    w->Style |= WS_DISABLED;
  if (!enable) {
    auto& s = WindowManager();
    if (InSubtree(h, s.Focus)) SetFocus(0);
    if (InSubtree(h, s.Capture)) ReleaseCapture();
    if (s.Track.Active && InSubtree(h, s.Track.Wnd)) CancelScrollTrack();
  }
  SendMessage(h, WM_ENABLE, enable ? 1 : 0);
  return wasDisabled;
}

bool IsWindowEnabled(HWND wnd) {
  TWnd* w = W(wnd);
  return w && !(w->Style & WS_DISABLED);
}

TRect GetWindowRect(HWND wnd) {
  TWnd* w = W(wnd);
  if (!w) return {};
  TPoint o = ScreenOrigin(w);
  return Bounds(o.X, o.Y, w->Rect.Width(), w->Rect.Height());
}

TRect GetClientRect(HWND wnd) {
  TWnd* w = W(wnd);
  return w ? TRect(0, 0, w->Client.Width(), w->Client.Height()) : TRect();
}

TRect GetClientRectInWindow(HWND wnd) {
  TWnd* w = W(wnd);
  return w ? w->Client : TRect();
}

TPoint ClientToScreen(HWND wnd, TPoint p) {
  TWnd* w = W(wnd);
  if (!w) return p;
  TPoint o = ScreenOrigin(w);
  return {o.X + w->Client.Left + p.X, o.Y + w->Client.Top + p.Y};
}

TPoint ScreenToClient(HWND wnd, TPoint p) {
  TWnd* w = W(wnd);
  if (!w) return p;
  TPoint o = ScreenOrigin(w);
  return {p.X - o.X - w->Client.Left, p.Y - o.Y - w->Client.Top};
}

TPoint MapWindowPoint(HWND from, HWND to, TPoint p) {
  TPoint screen = from ? ClientToScreen(from, p) : p;
  return to ? ScreenToClient(to, screen) : screen;
}

namespace {

bool ContainsScreenPoint(const TWnd* w, TPoint p) {
  TPoint o = ScreenOrigin(w);
  TPoint local{p.X - o.X, p.Y - o.Y};
  if (!PtInRect(TRect(0, 0, w->Rect.Width(), w->Rect.Height()), local)) return false;
  return !w->HasShape || w->Shape.Contains(local);
}

bool ClientContainsScreenPoint(const TWnd* w, TPoint p) {
  TPoint o = ScreenOrigin(w);
  return PtInRect(w->Client, TPoint(p.X - o.X, p.Y - o.Y));
}

HWND DeepestAt(HWND h, TPoint p) {
  TWnd* w = W(h);
  if (ClientContainsScreenPoint(w, p))
    for (HWND c : w->Children) {
      TWnd* cw = W(c);
      if (cw && (cw->Style & WS_VISIBLE) && ContainsScreenPoint(cw, p)) return DeepestAt(c, p);
    }
  return h;
}

}  // namespace

HWND WindowFromPoint(TPoint p) {
  for (HWND t : WindowManager().TopLevels) {
    TWnd* w = W(t);
    if (w && (w->Style & WS_VISIBLE) && ContainsScreenPoint(w, p)) return DeepestAt(t, p);
  }
  return 0;
}

namespace wm {

// The window that takes a mouse event at p and its hit-test code; windows
// answering HTTRANSPARENT let the event through to what lies beneath.
std::pair<HWND, LRESULT> HitTestDescend(HWND h, TPoint p) {
  TWnd* w = W(h);
  if (!w) return {0, HTNOWHERE};
  if (ClientContainsScreenPoint(w, p)) {
    std::vector<HWND> kids = w->Children;
    for (HWND c : kids) {
      TWnd* cw = W(c);
      if (cw && (cw->Style & WS_VISIBLE) && ContainsScreenPoint(cw, p)) {
        auto r = HitTestDescend(c, p);
        if (r.first) return r;
      }
    }
  }
  if (!W(h)) return {0, HTNOWHERE};
  LRESULT ht = SendMessage(h, WM_NCHITTEST, 0, PointToLParam(p));
  if (ht == HTTRANSPARENT) return {0, HTNOWHERE};
  return {h, ht};
}

std::pair<HWND, LRESULT> HitTest(TPoint p) {
  std::vector<HWND> tl = WindowManager().TopLevels;
  for (HWND t : tl) {
    TWnd* w = W(t);
    if (w && (w->Style & WS_VISIBLE) && ContainsScreenPoint(w, p)) {
      auto r = HitTestDescend(t, p);
      if (r.first) return r;
    }
  }
  return {0, HTNOWHERE};
}

}  // namespace wm

void SetWindowRgn(HWND h, const TRegion* rgn, bool redraw) {
  TWnd* w = W(h);
  if (!w) return;
  bool visible = Visible(w);
  if (visible && redraw && w->Parent) InvalidateArea(w->Parent, w->Rect, true);
  w->HasShape = rgn != nullptr;
  w->Shape = rgn ? *rgn : TRegion();
  if (visible && redraw) InvalidateTree(h);
}

void SetTextInputHints(HWND h, Byte mode, const String& name, TPoint pos) {
  TWnd* top = W(TopLevelOf(h));
  if (!top || !top->Native || !HasBackend()) return;
  TTextInputHints hints;
  hints.Window = top->Native;
  hints.Mode = mode;
  hints.Name = name;
  hints.Composition = ClientToScreen(h, pos);
  Backend().SetTextInputHints(hints);
}

}  // namespace brevant
