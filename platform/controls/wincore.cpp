// The window manager's state and window tree: creating and destroying
// windows, parents, z-order, styles and captions. The rest lives beside it:
// geometry (wincore_geometry.cpp), messages and the default window procedure
// (wincore_messages.cpp), focus and capture (wincore_focus.cpp), timers and
// the clipboard (wincore_services.cpp), painting (wincore_paint.cpp), input
// translation (wincore_input.cpp) and the scroll bars (wincore_scrollbar.cpp).
#include <algorithm>
#include <cstring>

#include "controls/wincore_internal.h"
#include "rtl/strutils.h"

namespace brevant {

using namespace wm;

namespace wm {

TState& WindowManager() {
  static TState state;
  return state;
}

TWnd* W(HWND h) {
  auto& ws = WindowManager().Windows;
  if (h <= 0 || static_cast<std::size_t>(h) >= ws.size()) return nullptr;
  TWnd* w = ws[static_cast<std::size_t>(h)].get();
  return w && w->Alive ? w : nullptr;
}

TPoint WindowOrigin(const TWnd* w) {
  TPoint p;
  while (w && w->Parent) {
    const TWnd* parent = W(w->Parent);
    if (!parent) break;
    p.X += w->Rect.Left + parent->Client.Left;
    p.Y += w->Rect.Top + parent->Client.Top;
    w = parent;
  }
  return p;
}

TPoint ClientOrigin(const TWnd* w) {
  TPoint p = WindowOrigin(w);
  return {p.X + w->Client.Left, p.Y + w->Client.Top};
}

TPoint ScreenOrigin(const TWnd* w) {
  TPoint p = WindowOrigin(w);
  const TWnd* top = W(TopLevelOf(w->Handle));
  if (top) {
    p.X += top->Rect.Left;
    p.Y += top->Rect.Top;
  }
  return p;
}

HWND TopLevelOf(HWND h) {
  TWnd* w = W(h);
  while (w && w->Parent) {
    TWnd* p = W(w->Parent);
    if (!p) break;
    w = p;
  }
  return w ? w->Handle : 0;
}

bool Visible(const TWnd* w) {
  while (w) {
    if (!(w->Style & WS_VISIBLE)) return false;
    if (!w->Parent) return true;
    w = W(w->Parent);
  }
  return false;
}

bool Enabled(const TWnd* w) {
  while (w) {
    if (w->Style & WS_DISABLED) return false;
    if (!w->Parent) return true;
    w = W(w->Parent);
  }
  return false;
}

bool HasNonClient(const TWnd* w) {
  return w->Client != TRect(0, 0, w->Rect.Width(), w->Rect.Height());
}

namespace {

// Subtracts a window's shape (or rectangle) placed at origin from rgn.
void SubtractWindow(TRegion& rgn, const TWnd* w, TPoint origin) {
  if (w->HasShape) {
    TRect bounds = Bounds(origin.X, origin.Y, w->Rect.Width(), w->Rect.Height());
    for (TRect r : w->Shape.Rects()) {
      OffsetRect(r, origin.X, origin.Y);
      TRect c;
      if (IntersectRect(c, r, bounds)) rgn.Subtract(c);
    }
  } else {
    rgn.Subtract(Bounds(origin.X, origin.Y, w->Rect.Width(), w->Rect.Height()));
  }
}

void IntersectShape(TRegion& rgn, const TWnd* w, TPoint origin) {
  if (!w->HasShape) return;
  TRegion shape = w->Shape;
  shape.Offset(origin.X, origin.Y);
  rgn.Intersect(shape);
}

}  // namespace

TRegion VisibleRegion(const TWnd* w, bool client) {
  TPoint wo = WindowOrigin(w);
  TRect r = client ? TRect(wo.X + w->Client.Left, wo.Y + w->Client.Top, wo.X + w->Client.Right,
                           wo.Y + w->Client.Bottom)
                   : Bounds(wo.X, wo.Y, w->Rect.Width(), w->Rect.Height());
  TRegion rgn(r);
  if (rgn.IsEmpty()) return rgn;
  IntersectShape(rgn, w, wo);
  TPoint co{wo.X + w->Client.Left, wo.Y + w->Client.Top};
  for (HWND c : w->Children) {
    const TWnd* cw = W(c);
    if (cw && (cw->Style & WS_VISIBLE))
      SubtractWindow(rgn, cw, {co.X + cw->Rect.Left, co.Y + cw->Rect.Top});
  }
  const TWnd* cur = w;
  while (cur->Parent && !rgn.IsEmpty()) {
    const TWnd* p = W(cur->Parent);
    if (!p) break;
    TPoint po = WindowOrigin(p);
    TPoint pco{po.X + p->Client.Left, po.Y + p->Client.Top};
    rgn.Intersect(TRect(pco.X, pco.Y, po.X + p->Client.Right, po.Y + p->Client.Bottom));
    IntersectShape(rgn, p, po);
    for (HWND s : p->Children) {
      if (s == cur->Handle) break;
      const TWnd* sw = W(s);
      if (sw && (sw->Style & WS_VISIBLE))
        SubtractWindow(rgn, sw, {pco.X + sw->Rect.Left, pco.Y + sw->Rect.Top});
    }
    cur = p;
  }
  if (const TWnd* top = W(TopLevelOf(w->Handle)))
    rgn.Intersect(TRect(0, 0, top->Rect.Width(), top->Rect.Height()));
  return rgn;
}

bool RecalcFrame(HWND h) {
  TWnd* w = W(h);
  if (!w) return false;
  TRect rect = w->Rect;
  TRect c = rect;
  SendMessage(h, WM_NCCALCSIZE, 0, reinterpret_cast<LPARAM>(&c));
  w = W(h);
  if (!w) return false;
  OffsetRect(c, -rect.Left, -rect.Top);
  Integer width = rect.Width(), height = rect.Height();
  c.Left = std::clamp<Integer>(c.Left, 0, width);
  c.Top = std::clamp<Integer>(c.Top, 0, height);
  c.Right = std::clamp<Integer>(c.Right, c.Left, width);
  c.Bottom = std::clamp<Integer>(c.Bottom, c.Top, height);
  bool changed = c.Width() != w->Client.Width() || c.Height() != w->Client.Height();
  w->Client = c;
  return changed;
}

void Post(HWND h, Cardinal msg, WPARAM wp, LPARAM lp, Cardinal time, TPoint pt) {
  WindowManager().Queue.push_back({h, msg, wp, lp, time, pt});
}

void PostFront(const TMsg& m) {
  WindowManager().Queue.push_front(m);
}

void RemoveWindowMessages(HWND h) {
  auto& q = WindowManager().Queue;
  q.erase(std::remove_if(q.begin(), q.end(), [h](const TMsg& m) { return m.Hwnd == h; }), q.end());
}

}  // namespace wm

namespace {

void KillWindowTimers(HWND h) {
  auto& t = WindowManager().Timers;
  t.erase(std::remove_if(t.begin(), t.end(), [h](const TTimer& x) { return x.Wnd == h; }), t.end());
}

std::vector<HWND>& SiblingList(TWnd* w) {
  if (w->Parent) {
    if (TWnd* p = W(w->Parent)) return p->Children;
  }
  return WindowManager().TopLevels;
}

// Where a top-level window goes in the z-order: the front of its band.
std::size_t TopBandStart(bool topMost) {
  if (topMost) return 0;
  auto& tl = WindowManager().TopLevels;
  std::size_t i = 0;
  while (i < tl.size()) {
    TWnd* w = W(tl[i]);
    if (!w || !(w->ExStyle & WS_EX_TOPMOST)) break;
    ++i;
  }
  return i;
}

void Unlink(TWnd* w) {
  auto& list = SiblingList(w);
  list.erase(std::remove(list.begin(), list.end(), w->Handle), list.end());
}

TNativeWindowParams NativeParams(const TWnd* w) {
  TNativeWindowParams p;
  bool popup = (w->Style & WS_POPUP) && (w->Style & WS_CAPTION) != WS_CAPTION;
  p.Kind = popup ? ((w->ExStyle & WS_EX_NOACTIVATE) && (w->ExStyle & WS_EX_TOPMOST) ? nwkTooltip
                                                                                    : nwkPopup)
                 : nwkNormal;
  p.Bounds = w->Rect;
  p.Caption = w->Text;
  p.Resizable = (w->Style & WS_THICKFRAME) != 0;
  p.TopMost = (w->ExStyle & WS_EX_TOPMOST) != 0;
  p.ToolWindow = (w->ExStyle & WS_EX_TOOLWINDOW) != 0;
  p.NoActivate = (w->ExStyle & WS_EX_NOACTIVATE) != 0;
  if (TWnd* owner = W(w->Owner)) p.Owner = owner->Native;
  return p;
}

// After the active window went away: its owner, or the topmost window that
// can be active.
void ActivateNext(HWND gone, HWND owner) {
  if (WindowManager().Active && WindowManager().Active != gone) return;
  TWnd* o = W(owner);
  if (CanActivate(o)) {
    ActivateTopLevel(owner, false);
    return;
  }
  for (HWND t : WindowManager().TopLevels) {
    if (t != gone && CanActivate(W(t))) {
      ActivateTopLevel(t, false);
      return;
    }
  }
  ActivateTopLevel(0, false);
}

// Moves the focus out of a window that is hidden or destroyed: to its
// parent when that can take it, else nowhere.
void MoveFocusFrom(HWND h) {
  HWND f = WindowManager().Focus;
  if (!InSubtree(h, f)) return;
  TWnd* w = W(h);
  TWnd* p = w ? W(w->Parent) : nullptr;
  if (p && !p->Destroying && Visible(p) && Enabled(p)) SetFocus(p->Handle);
  if (InSubtree(h, WindowManager().Focus)) SetFocus(0);
}

// Owned top-level windows (pop-ups, tool forms, hints) stay above their
// owner: those that fell below it move just in front of it, keeping their
// order, and their own owned windows follow.
void KeepOwnedAbove(HWND owner, int depth = 0) {
  auto& tl = WindowManager().TopLevels;
  if (depth > 32) return;
  std::vector<HWND> owned;
  for (HWND t : tl)
    if (TWnd* tw = W(t); tw && tw->Owner == owner) owned.push_back(t);
  for (HWND o : owned) {
    auto own = std::find(tl.begin(), tl.end(), owner);
    auto pos = std::find(tl.begin(), tl.end(), o);
    if (pos > own) {
      tl.erase(pos);
      tl.insert(std::find(tl.begin(), tl.end(), owner), o);
      TWnd* ow = W(o);
      if (ow->Native && (ow->Style & WS_VISIBLE))
        Backend().ShowNativeWindow(ow->Native, true, false);
    }
    KeepOwnedAbove(o, depth + 1);
  }
}

}  // namespace

namespace wm {

bool InSubtree(HWND root, HWND h) {
  return h && (h == root || IsChild(root, h));
}

bool CanActivate(const TWnd* w) {
  return w && !w->Parent && (w->Style & WS_VISIBLE) && !(w->ExStyle & WS_EX_NOACTIVATE) &&
         !(w->Style & WS_DISABLED) && !w->Destroying;
}

void HideInternal(HWND h) {
  TWnd* w = W(h);
  if (!w || !(w->Style & WS_VISIBLE)) return;
  bool wasVisible = Visible(w);
  w->Style &= ~WS_VISIBLE;
  ClearPaintTree(w);
  if (w->Parent) {
    TWnd* p = W(w->Parent);
    if (wasVisible && p && !p->Destroying) InvalidateArea(w->Parent, w->Rect, true);
  } else if (w->Native) {
    Backend().ShowNativeWindow(w->Native, false, false);
  }
  auto& s = WindowManager();
  if (InSubtree(h, s.Hover)) s.Hover = 0;
  if (s.Track.Active && InSubtree(h, s.Track.Wnd)) CancelScrollTrack();
  if (InSubtree(h, s.Capture)) ReleaseCapture();
  MoveFocusFrom(h);
  w = W(h);
  if (w && !w->Parent && s.Active == h) ActivateNext(h, w->Owner);
}

// Z-order change within the sibling list; true when the position changed.
bool ApplyZOrder(HWND h, HWND after) {
  TWnd* w = W(h);
  auto& list = SiblingList(w);
  auto it = std::find(list.begin(), list.end(), h);
  if (it == list.end()) return false;
  std::size_t oldIndex = std::size_t(it - list.begin());
  list.erase(it);
  bool top = !w->Parent;
  std::size_t index = 0;
  if (after == HWND_TOPMOST && top) {
    w->ExStyle |= WS_EX_TOPMOST;
    index = 0;
  } else if (after == HWND_NOTOPMOST && top) {
    w->ExStyle &= ~WS_EX_TOPMOST;
    index = TopBandStart(false);
  } else if (after == HWND_TOP || after == HWND_TOPMOST || after == HWND_NOTOPMOST) {
    index = top ? TopBandStart((w->ExStyle & WS_EX_TOPMOST) != 0) : 0;
  } else if (after == HWND_BOTTOM) {
    index = list.size();
  } else {
    auto a = std::find(list.begin(), list.end(), after);
    index = a == list.end() ? 0 : std::size_t(a - list.begin()) + 1;
  }
  index = std::min(index, list.size());
  list.insert(list.begin() + std::ptrdiff_t(index), h);
  if (top && w->Native && (w->Style & WS_VISIBLE) && index == 0)
    Backend().ShowNativeWindow(w->Native, true, false);
  if (top) KeepOwnedAbove(h);
  return index != oldIndex;
}

// WM_MOVE then WM_SIZE, as after a position change; creation sends them
// the other way round.
void SendSizeAndMove(HWND h, bool moved, bool sized, bool sizeFirst) {
  auto move = [h] {
    if (TWnd* w = W(h)) {
      TPoint p{w->Rect.Left + w->Client.Left, w->Rect.Top + w->Client.Top};
      SendMessage(h, WM_MOVE, 0, PointToLParam(p));
    }
  };
  auto size = [h] {
    if (TWnd* w = W(h))
      SendMessage(h, WM_SIZE, SIZE_RESTORED, MakeLParam(w->Client.Width(), w->Client.Height()));
  };
  if (sizeFirst && sized) size();
  if (moved) move();
  if (!sizeFirst && sized) size();
}

String TextFromParam(LPARAM lp) {
  const char* p = reinterpret_cast<const char*>(lp);
  return p ? String(p) : String();
}

}  // namespace wm

LRESULT CopyWindowText(const String& text, WPARAM size, LPARAM buffer) {
  char* out = reinterpret_cast<char*>(buffer);
  if (!out || size == 0) return 0;
  const std::size_t n = Utf8Truncate(text, std::min<std::size_t>(text.size(), size - 1)).size();
  std::memcpy(out, text.data(), n);
  out[n] = '\0';
  return static_cast<LRESULT>(n);
}

// ---- windows --------------------------------------------------------------------

HWND CreateWindowHandle(const TCreateParams& params, IWindowProc* proc) {
  auto& s = WindowManager();
  bool child = (params.Style & WS_CHILD) != 0;
  if (child && !W(params.WndParent)) return 0;
  if (s.Windows.empty()) s.Windows.emplace_back();  // handle 0 is "no window"
  HWND h = static_cast<HWND>(s.Windows.size());
  auto owned = std::make_unique<TWnd>();
  TWnd* w = owned.get();
  w->Handle = h;
  w->Proc = proc;
  w->Style = params.Style & ~WS_VISIBLE;
  w->ExStyle = params.ExStyle;
  w->ClassStyle = params.ClassStyle;
  w->Text = params.Caption;
  w->ClassName = params.WinClassName;
  w->Background = clWindow;
  w->Rect = Bounds(params.X, params.Y, std::max<Integer>(params.Width, 0),
                   std::max<Integer>(params.Height, 0));
  w->Client = TRect(0, 0, w->Rect.Width(), w->Rect.Height());
  // Standard bars start with the classic range 0..100.
  if (params.Style & WS_HSCROLL) w->Bars[SB_HORZ].Max = 100;
  if (params.Style & WS_VSCROLL) w->Bars[SB_VERT].Max = 100;
  s.Windows.push_back(std::move(owned));
  if (child) {
    w->Parent = params.WndParent;
    auto& kids = W(w->Parent)->Children;
    kids.insert(kids.begin(), h);
  } else {
    w->Style &= ~WS_CHILD;
    w->Owner = params.WndParent ? TopLevelOf(params.WndParent) : 0;
    auto& tl = s.TopLevels;
    tl.insert(tl.begin() + std::ptrdiff_t(TopBandStart((w->ExStyle & WS_EX_TOPMOST) != 0)), h);
    w->Native = Backend().CreateNativeWindow(NativeParams(w));
  }
  TCreateParams copy = params;
  if (!SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&copy))) {
    DestroyWindow(h);
    return 0;
  }
  RecalcFrame(h);
  if (!W(h) || SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&copy)) == -1) {
    DestroyWindow(h);
    return 0;
  }
  SendSizeAndMove(h, true, true, true);
  if (!W(h)) return 0;
  if (params.Style & WS_VISIBLE)
    ShowWindow(h, (params.ExStyle & WS_EX_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  return W(h) ? h : 0;
}

void DestroyWindow(HWND h) {
  auto& s = WindowManager();
  TWnd* w = W(h);
  if (!w || w->Destroying) return;
  w->Destroying = true;
  // Owned windows go first.
  if (!w->Parent) {
    std::vector<HWND> tl = s.TopLevels;
    for (HWND t : tl) {
      TWnd* tw = W(t);
      if (tw && tw->Owner == h) DestroyWindow(t);
    }
  }
  w = W(h);
  if (!w) return;
  bool wasActive = s.Active == h;
  HWND owner = w->Owner;
  HideInternal(h);
  if (InSubtree(h, s.Focus)) SetFocus(0);
  if (InSubtree(h, s.Capture)) ReleaseCapture();
  if (s.Track.Active && InSubtree(h, s.Track.Wnd)) CancelScrollTrack();
  if (s.Active == h) {
    ActivateTopLevel(0, false);
    wasActive = true;
  }
  SendMessage(h, WM_DESTROY);
  w = W(h);
  if (!w) return;
  std::vector<HWND> kids = w->Children;
  for (HWND c : kids) DestroyWindow(c);
  SendMessage(h, WM_NCDESTROY);
  w = W(h);
  if (!w) return;
  KillWindowTimers(h);
  RemoveWindowMessages(h);
  if (w->PaintPending) {
    w->PaintPending = false;
    --s.PendingPaints;
  }
  for (auto& dc : s.DCs)
    if (dc.Wnd == h || (w->Native && dc.Native == w->Native)) {
      dc.Canvas->SetSurface(nullptr, 0, 0, 0);
      dc.Native = 0;
    }
  Unlink(w);
  if (w->Native) {
    Backend().DestroyNativeWindow(w->Native);
    w->Native = 0;
  }
  if (s.Hover == h) s.Hover = 0;
  if (s.LastDownWnd == h) s.LastDownValid = false;
  w->Alive = false;
  s.Graveyard.push_back(std::move(s.Windows[static_cast<std::size_t>(h)]));
  if (wasActive) ActivateNext(h, owner);
}

bool IsWindow(HWND wnd) {
  return W(wnd) != nullptr;
}

IWindowProc* GetWindowProc(HWND wnd) {
  TWnd* w = W(wnd);
  return w ? w->Proc : nullptr;
}

void SetWindowProc(HWND wnd, IWindowProc* proc) {
  if (TWnd* w = W(wnd)) w->Proc = proc;
}

HWND GetParent(HWND wnd) {
  TWnd* w = W(wnd);
  return w ? w->Parent : 0;
}

HWND SetParent(HWND h, HWND newParent) {
  TWnd* w = W(h);
  if (!w) return 0;
  HWND old = w->Parent;
  if (newParent == old) return old;
  if (newParent && (!W(newParent) || newParent == h || IsChild(h, newParent))) return 0;
  auto& s = WindowManager();
  bool wasVisible = Visible(w);
  if (wasVisible && old) InvalidateArea(old, w->Rect, true);
  ClearPaintTree(w);
  if (s.Track.Active && InSubtree(h, s.Track.Wnd)) CancelScrollTrack();
  DetachCanvases(TopLevelOf(h));
  Unlink(w);
  if (!old && w->Native) {
    if (s.Active == h) ActivateTopLevel(0, false);
    Backend().DestroyNativeWindow(w->Native);
    w->Native = 0;
  }
  if (newParent) {
    w->Parent = newParent;
    w->Owner = 0;
    w->Style |= WS_CHILD;
    auto& kids = W(newParent)->Children;
    kids.insert(kids.begin(), h);
  } else {
    w->Parent = 0;
    w->Style &= ~WS_CHILD;
    auto& tl = s.TopLevels;
    tl.insert(tl.begin() + std::ptrdiff_t(TopBandStart((w->ExStyle & WS_EX_TOPMOST) != 0)), h);
    w->Native = Backend().CreateNativeWindow(NativeParams(w));
    if (w->Style & WS_VISIBLE) Backend().ShowNativeWindow(w->Native, true, false);
  }
  bool sized = RecalcFrame(h);
  w = W(h);
  if (!w) return old;
  if (Visible(w)) InvalidateTree(h);
  if (sized) SendSizeAndMove(h, false, true);
  return old;
}

HWND GetTopLevel(HWND wnd) {
  return TopLevelOf(wnd);
}

std::vector<HWND> GetChildWindows(HWND wnd) {
  TWnd* w = W(wnd);
  return w ? w->Children : std::vector<HWND>();
}

bool IsChild(HWND parent, HWND wnd) {
  TWnd* w = W(wnd);
  while (w && w->Parent) {
    if (w->Parent == parent) return true;
    w = W(w->Parent);
  }
  return false;
}

Cardinal GetWindowLong(HWND wnd, Integer index) {
  TWnd* w = W(wnd);
  if (!w) return 0;
  if (index == GWL_STYLE) return w->Style;
  if (index == GWL_EXSTYLE) return w->ExStyle;
  return 0;
}

Cardinal SetWindowLong(HWND wnd, Integer index, Cardinal value) {
  TWnd* w = W(wnd);
  if (!w) return 0;
  if (index == GWL_STYLE) {
    Cardinal old = w->Style;
    // Visibility and parenthood change only through ShowWindow and SetParent.
    constexpr Cardinal kKept = WS_VISIBLE | WS_CHILD;
    w->Style = (value & ~kKept) | (old & kKept);
    return old;
  }
  if (index == GWL_EXSTYLE) {
    Cardinal old = w->ExStyle;
    w->ExStyle = value;
    return old;
  }
  return 0;
}

Cardinal GetClassStyle(HWND wnd) {
  TWnd* w = W(wnd);
  return w ? w->ClassStyle : 0;
}

String GetWindowText(HWND wnd) {
  if (!W(wnd)) return {};
  LRESULT len = SendMessage(wnd, WM_GETTEXTLENGTH);
  if (len <= 0) return {};
  std::vector<char> buf(static_cast<std::size_t>(len) + 1, '\0');
  LRESULT got = SendMessage(wnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
  got = std::clamp<LRESULT>(got, 0, len);
  return String(buf.data(), static_cast<std::size_t>(got));
}

void SetWindowText(HWND wnd, const String& text) {
  SendMessage(wnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace brevant
