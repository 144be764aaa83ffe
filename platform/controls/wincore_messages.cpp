// The window manager's messages: sending, posting, the queue and its
// retrieval, dispatching, and the default window procedure.
#include <algorithm>

#include "controls/wincore_internal.h"
#include "graphics/colors.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

using namespace wm;

// ---- messages ---------------------------------------------------------------------------

LRESULT SendMessage(HWND h, Cardinal msg, WPARAM wp, LPARAM lp) {
  TWnd* w = W(h);
  if (!w) return 0;
  IWindowProc* proc = w->Proc;
  auto& s = WindowManager();
  ++s.SendDepth;
  struct TDepth {
    HWND Saved;
    ~TDepth() {
      --WindowManager().SendDepth;
      WindowManager().CurrentWindow = Saved;
    }
  } depth{s.CurrentWindow};
  s.CurrentWindow = h;
  if (!proc) return DefWindowProc(h, msg, wp, lp);
  TMessage m{msg, wp, lp, 0};
  proc->WndProc(m);
  return m.Result;
}

HWND GetMessageWindow() {
  return WindowManager().CurrentWindow;
}

bool PostMessage(HWND h, Cardinal msg, WPARAM wp, LPARAM lp) {
  if (h && !W(h)) return false;
  TBackend& b = Backend();
  Post(h, msg, wp, lp, b.TickCount(), b.CursorPos());
  b.Wake();
  return true;
}

void PostQuitMessage(Integer exitCode) {
  WindowManager().QuitPending = true;
  WindowManager().QuitCode = exitCode;
  Backend().Wake();
}

namespace {

void PullBackendEvents() {
  TBackend& b = Backend();
  TBackendEvent e;
  while (b.PollEvent(e)) WindowManager().RawInput.push_back(std::move(e));
}

// The due timer to deliver next (earliest due first, then setting order).
TTimer* DueTimer(HWND filter, Cardinal now) {
  TTimer* best = nullptr;
  for (auto& t : WindowManager().Timers) {
    if (filter && t.Wnd != filter) continue;
    auto late = static_cast<std::int32_t>(now - t.Due);
    if (late < 0) continue;
    if (!best) {
      best = &t;
      continue;
    }
    auto bestLate = static_cast<std::int32_t>(now - best->Due);
    if (late > bestLate || (late == bestLate && t.Order < best->Order)) best = &t;
  }
  return best;
}

void Retrieved(const TMsg& m) {
  WindowManager().MessageTime = m.Time;
  WindowManager().MessagePos = m.Pt;
}

}  // namespace

bool PeekMessage(TMsg& msg, HWND h, Cardinal filterMin, Cardinal filterMax, Cardinal remove) {
  auto& s = WindowManager();
  if (s.SendDepth == 0) s.Graveyard.clear();
  PullBackendEvents();
  bool all = filterMin == 0 && filterMax == 0;
  auto inRange = [&](Cardinal m) { return all || (m >= filterMin && m <= filterMax); };
  bool take = (remove & PM_REMOVE) != 0;
  for (;;) {
    for (auto it = s.Queue.begin(); it != s.Queue.end(); ++it) {
      if ((h && it->Hwnd != h) || !inRange(it->Message)) continue;
      msg = *it;
      if (take) {
        s.Queue.erase(it);
        Retrieved(msg);
      }
      return true;
    }
    if (s.QuitPending && !h && inRange(WM_QUIT)) {
      msg = {0,
             WM_QUIT,
             static_cast<WPARAM>(s.QuitCode),
             0,
             Backend().TickCount(),
             Backend().CursorPos()};
      if (take) {
        s.QuitPending = false;
        Retrieved(msg);
      }
      return true;
    }
    if (TranslateNextInput()) continue;
    if (inRange(WM_PAINT) && s.PendingPaints > 0) {
      if (HWND p = FindPaintWindow(h)) {
        msg = {p, WM_PAINT, 0, 0, Backend().TickCount(), Backend().CursorPos()};
        if (take) Retrieved(msg);
        return true;
      }
      if (!s.Queue.empty() || !s.RawInput.empty()) continue;  // a frame paint posted something
    }
    if (ScrollRepeat()) continue;
    if (inRange(WM_TIMER)) {
      Cardinal now = Backend().TickCount();
      if (TTimer* t = DueTimer(h, now)) {
        msg = {t->Wnd, WM_TIMER, t->Id, 0, now, Backend().CursorPos()};
        if (take) {
          t->Due = now + t->Elapse;
          Retrieved(msg);
        }
        return true;
      }
    }
    return false;
  }
}

bool GetMessage(TMsg& msg, HWND h, Cardinal filterMin, Cardinal filterMax) {
  for (;;) {
    if (PeekMessage(msg, h, filterMin, filterMax, PM_REMOVE)) return msg.Message != WM_QUIT;
    TBackend& b = Backend();
    if (b.IsOffscreen()) {
      // Virtual time never passes by itself: an idle queue answers WM_NULL.
      msg = {0, WM_NULL, 0, 0, b.TickCount(), b.CursorPos()};
      return true;
    }
    Cardinal now = b.TickCount();
    Cardinal wait = 1000;
    for (const auto& t : WindowManager().Timers) {
      auto d = static_cast<std::int32_t>(t.Due - now);
      wait = std::min<Cardinal>(wait, d > 0 ? Cardinal(d) : 0);
    }
    Cardinal due = 0;
    if (NextScrollRepeat(due)) {
      auto d = static_cast<std::int32_t>(due - now);
      wait = std::min<Cardinal>(wait, d > 0 ? Cardinal(d) : 0);
    }
    b.WaitEvent(wait);
  }
}

void TranslateMessage(const TMsg& msg) {
  if (msg.Message != WM_KEYDOWN && msg.Message != WM_SYSKEYDOWN) return;
  Word vk = static_cast<Word>(msg.WParam);
  bool ctrl = GetKeyState(VK_CONTROL) < 0;
  bool alt = GetKeyState(VK_MENU) < 0;
  bool shift = GetKeyState(VK_SHIFT) < 0;
  WPARAM ch = 0;
  Cardinal charMsg = WM_CHAR;
  if (msg.Message == WM_SYSKEYDOWN) {
    charMsg = WM_SYSCHAR;
    if (vk >= 'A' && vk <= 'Z')
      ch = shift ? vk : vk - 'A' + 'a';
    else if (vk >= '0' && vk <= '9')
      ch = vk;
    else if (vk == VK_RETURN)
      ch = 13;
    else if (vk == VK_SPACE)
      ch = 32;
  } else if (vk == VK_RETURN) {
    ch = 13;
  } else if (vk == VK_ESCAPE) {
    ch = 27;
  } else if (vk == VK_BACK) {
    ch = 8;
  } else if (vk == VK_TAB && !ctrl) {
    ch = 9;
  } else if (ctrl && !alt && vk >= 'A' && vk <= 'Z') {
    ch = vk - 'A' + 1;
  }
  if (!ch) return;
  PostFront({msg.Hwnd, charMsg, ch, msg.LParam & ~(KF_UP_BIT), msg.Time, msg.Pt});
}

LRESULT DispatchMessage(const TMsg& msg) {
  if (!msg.Hwnd) return 0;
  if (msg.Message == WM_PAINT) {
    TWnd* w = W(msg.Hwnd);
    if (!w) return 0;
    std::uint64_t serial = w->PaintSerial;
    LRESULT r = SendMessage(msg.Hwnd, WM_PAINT, msg.WParam, msg.LParam);
    w = W(msg.Hwnd);
    // A handler that never called BeginPaint leaves the window valid
    // rather than asking for the same paint forever.
    if (w && w->PaintSerial == serial) {
      w->Update.Clear();
      w->Erase = false;
      w->FrameInvalid = false;
      UpdatePending(w);
    }
    return r;
  }
  return SendMessage(msg.Hwnd, msg.Message, msg.WParam, msg.LParam);
}

void ProcessPendingMessages() {
  TMsg m;
  while (PeekMessage(m, 0, 0, 0, PM_REMOVE)) {
    if (m.Message == WM_QUIT) {
      // Leave it for the message loop.
      WindowManager().QuitPending = true;
      WindowManager().QuitCode = static_cast<Integer>(m.WParam);
      return;
    }
    if (WindowManager().Preprocessor && WindowManager().Preprocessor(m)) continue;
    TranslateMessage(m);
    DispatchMessage(m);
  }
}

void SetMessagePreprocessor(TMessagePreprocessor preprocessor) {
  WindowManager().Preprocessor = preprocessor;
}

Cardinal GetMessageTime() {
  return WindowManager().MessageTime;
}
TPoint GetMessagePos() {
  return WindowManager().MessagePos;
}

// ---- default window procedure ---------------------------------------------------------------

namespace {

LRESULT DefNcCalcSize(TWnd* w, LPARAM lp) {
  auto* r = reinterpret_cast<TRect*>(lp);
  if (!r) return 0;
  TPoint origin = r->TopLeft();
  Integer b = 0;
  if (w->Parent) {
    if (w->Style & WS_BORDER) b += 1;
    if (w->Style & WS_DLGFRAME)
      b += 3;
    else if (w->Style & WS_THICKFRAME)
      b += 4;
  } else if ((w->Style & WS_CAPTION) == WS_BORDER) {
    b += 1;  // a caption and frames are the system's decoration
  }
  if (w->ExStyle & WS_EX_STATICEDGE) b += 1;
  if (w->ExStyle & WS_EX_CLIENTEDGE) b += 2;
  InflateRect(*r, -b, -b);
  if (r->Right < r->Left) r->Right = r->Left;
  if (r->Bottom < r->Top) r->Bottom = r->Top;
  TRect v, hb, box;
  bool vert = (w->Style & WS_VSCROLL) != 0, horz = (w->Style & WS_HSCROLL) != 0;
  if (vert && (w->ExStyle & WS_EX_LEFTSCROLLBAR)) {
    Integer right = std::min(r->Right, r->Left + kScrollSize);
    v = TRect(r->Left, r->Top, right, r->Bottom);
    r->Left = right;
  } else if (vert) {
    Integer left = std::max(r->Left, r->Right - kScrollSize);
    v = TRect(left, r->Top, r->Right, r->Bottom);
    r->Right = left;
  }
  if (horz) {
    Integer top = std::max(r->Top, r->Bottom - kScrollSize);
    hb = TRect(r->Left, top, r->Right, r->Bottom);
    r->Bottom = top;
    if (vert) {
      v.Bottom = top;
      box = TRect(v.Left, top, v.Right, hb.Bottom);
    }
  }
  OffsetRect(v, -origin.X, -origin.Y);
  OffsetRect(hb, -origin.X, -origin.Y);
  OffsetRect(box, -origin.X, -origin.Y);
  w->VBar = IsRectEmpty(v) ? TRect() : v;
  w->HBar = IsRectEmpty(hb) ? TRect() : hb;
  w->SizeBox = IsRectEmpty(box) ? TRect() : box;
  return 0;
}

LRESULT DefNcHitTest(TWnd* w, LPARAM lp) {
  TPoint p = LParamToPoint(lp);
  TPoint o = ScreenOrigin(w);
  TPoint local{p.X - o.X, p.Y - o.Y};
  if (!PtInRect(TRect(0, 0, w->Rect.Width(), w->Rect.Height()), local)) return HTNOWHERE;
  if (PtInRect(w->Client, local)) return HTCLIENT;
  if (PtInRect(w->VBar, local)) return HTVSCROLL;
  if (PtInRect(w->HBar, local)) return HTHSCROLL;
  if (PtInRect(w->SizeBox, local)) return HTNOWHERE;
  return HTBORDER;
}

bool IsButtonDownMsg(Cardinal m) {
  return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN ||
         m == WM_NCLBUTTONDOWN || m == WM_NCRBUTTONDOWN || m == WM_NCMBUTTONDOWN;
}

// WM_CONTEXTMENU's position when the keyboard asks for the menu.
constexpr LPARAM kKeyboardMenuPos = PointToLParam({-1, -1});

bool IsAltKey(WPARAM vk) {
  return vk == VK_MENU || vk == VK_LMENU || vk == VK_RMENU;
}

// Alt+F4 closes the top-level window, Shift+F10 asks for the context menu
// and F10 activates the menu bar.
LRESULT DefSysKeyDown(HWND h, WPARAM wp, LPARAM lp) {
  if (wp == VK_F4 && (lp & KF_ALTDOWN_BIT)) {
    SendMessage(TopLevelOf(h), WM_SYSCOMMAND, SC_CLOSE);
  } else if (wp == VK_F10 && !(lp & KF_ALTDOWN_BIT) && GetKeyState(VK_CONTROL) >= 0) {
    if (GetKeyState(VK_SHIFT) < 0)
      SendMessage(h, WM_CONTEXTMENU, static_cast<WPARAM>(h), kKeyboardMenuPos);
    else
      SendMessage(TopLevelOf(h), WM_SYSCOMMAND, SC_KEYMENU);
  }
  return 0;
}

// Alt released with no other key or button pressed since activates the menu bar.
LRESULT DefSysKeyUp(HWND h, WPARAM wp) {
  if (IsAltKey(wp) && WindowManager().MenuKeyAlone) {
    WindowManager().MenuKeyAlone = false;
    SendMessage(TopLevelOf(h), WM_SYSCOMMAND, SC_KEYMENU);
  }
  return 0;
}

LRESULT DefPaint(HWND h) {
  TPaintStruct ps;
  BeginPaint(h, ps);
  EndPaint(h, ps);
  return 0;
}

// Fills the clip area with the window's background colour (clNone: nothing),
// leaving the canvas's brush as it was.
LRESULT DefEraseBackground(const TWnd* w, WPARAM wp) {
  auto* canvas = reinterpret_cast<TCanvas*>(wp);
  if (!canvas || w->Background == clNone) return 0;
  TBrush* brush = canvas->Brush();
  TScopeGuard restore([brush, color = brush->Color(), style = brush->Style()] {
    brush->SetStyle(style);
    brush->SetColor(color);
  });
  brush->SetColor(w->Background);
  brush->SetStyle(bsSolid);
  canvas->FillRect(canvas->ClipRect());
  return 1;
}

// The parent decides first; a press outside any window beeps; the arrow
// otherwise.
LRESULT DefSetCursor(HWND h, const TWnd* w, WPARAM wp, LPARAM lp) {
  if (w->Parent && SendMessage(w->Parent, WM_SETCURSOR, wp, lp)) return 1;
  SmallInt ht = LoSmall(lp);
  if (ht == HTERROR) {
    if (IsButtonDownMsg(HiWord(static_cast<std::uintptr_t>(lp)))) Backend().Beep();
    return 0;
  }
  // Asked on behalf of a child: only the parent's own handler decides.
  if (static_cast<HWND>(wp) != h) return 0;
  SetCursor(crArrow);
  return ht == HTCLIENT ? 1 : 0;
}

LRESULT DefMouseActivate(const TWnd* w, WPARAM wp, LPARAM lp) {
  if (w->Parent) {
    if (LRESULT r = SendMessage(w->Parent, WM_MOUSEACTIVATE, wp, lp)) return r;
  }
  return MA_ACTIVATE;
}

// An activated window takes the focus unless it holds it already or the
// activation comes from a focus change.
LRESULT DefActivate(HWND h, WPARAM wp) {
  if (LoWord(wp) != WA_INACTIVE && !WindowManager().ActivatingForFocus &&
      !InSubtree(h, WindowManager().Focus))
    SetFocus(h);
  return 0;
}

// A right click asks for the context menu at the pointer.
LRESULT DefRButtonUp(HWND h, LPARAM lp) {
  TPoint p = ClientToScreen(h, LParamToPoint(lp));
  SendMessage(h, WM_CONTEXTMENU, static_cast<WPARAM>(h), PointToLParam(p));
  return 0;
}

// A press on a scroll bar tracks it.
LRESULT DefNcLButtonDown(HWND h, WPARAM wp, LPARAM lp) {
  if (wp == static_cast<WPARAM>(HTVSCROLL))
    StartScrollTrack(h, SB_VERT, LParamToPoint(lp));
  else if (wp == static_cast<WPARAM>(HTHSCROLL))
    StartScrollTrack(h, SB_HORZ, LParamToPoint(lp));
  return 0;
}

// The context-menu key asks for the focused window's menu at its caret or corner.
LRESULT DefKeyUp(HWND h, WPARAM wp) {
  if (wp == VK_APPS) SendMessage(h, WM_CONTEXTMENU, static_cast<WPARAM>(h), kKeyboardMenuPos);
  return 0;
}

LRESULT DefSysCommand(HWND h, WPARAM wp) {
  if ((wp & 0xFFF0) == SC_CLOSE) SendMessage(h, WM_CLOSE);
  return 0;
}

// A top-level window's caption shows on its native window too.
LRESULT DefSetText(TWnd* w, LPARAM lp) {
  w->Text = TextFromParam(lp);
  if (!w->Parent && w->Native) Backend().SetNativeCaption(w->Native, w->Text);
  return 1;
}

LRESULT DefClose(HWND h) {
  DestroyWindow(h);
  return 0;
}

}  // namespace

LRESULT DefWindowProc(HWND h, Cardinal msg, WPARAM wp, LPARAM lp) {
  TWnd* w = W(h);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE:
    case WM_NCACTIVATE:
      return 1;
    case WM_NCCALCSIZE:
      return DefNcCalcSize(w, lp);
    case WM_NCHITTEST:
      return DefNcHitTest(w, lp);
    case WM_NCPAINT:
      DrawFrame(h);
      return 0;
    case WM_PAINT:
      return DefPaint(h);
    case WM_ERASEBKGND:
      return DefEraseBackground(w, wp);
    case WM_SETCURSOR:
      return DefSetCursor(h, w, wp, lp);
    case WM_MOUSEACTIVATE:
      return DefMouseActivate(w, wp, lp);
    case WM_ACTIVATE:
      return DefActivate(h, wp);
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_CONTEXTMENU:
      // Passed up to the parent.
      return w->Parent ? SendMessage(w->Parent, msg, wp, lp) : 0;
    case WM_RBUTTONUP:
      return DefRButtonUp(h, lp);
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return DefNcLButtonDown(h, wp, lp);
    case WM_CLOSE:
      return DefClose(h);
    case WM_SYSKEYDOWN:
      return DefSysKeyDown(h, wp, lp);
    case WM_SYSKEYUP:
      return DefSysKeyUp(h, wp);
    case WM_KEYUP:
      return DefKeyUp(h, wp);
    case WM_SYSCOMMAND:
      return DefSysCommand(h, wp);
    case WM_SETTEXT:
      return DefSetText(w, lp);
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->Text.size());
    case WM_GETTEXT:
      return CopyWindowText(w->Text, wp, lp);
    default:
      return 0;
  }
}

}  // namespace brevant
