// The window manager: window tree, geometry, the message queue, the default
// window procedure, focus, activation, capture, timers and the clipboard.
// Painting lives in wincore_paint.cpp, input translation in
// wincore_input.cpp and the scroll bars in wincore_scrollbar.cpp.
#include <algorithm>
#include <cstring>

#include "controls/wincore_internal.h"
#include "graphics/colors.h"
#include "rtl/scope.h"
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

bool InSubtree(HWND root, HWND h) {
  return h && (h == root || IsChild(root, h));
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

bool CanActivate(const TWnd* w) {
  return w && !w->Parent && (w->Style & WS_VISIBLE) && !(w->ExStyle & WS_EX_NOACTIVATE) &&
         !(w->Style & WS_DISABLED) && !w->Destroying;
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
void SendSizeAndMove(HWND h, bool moved, bool sized, bool sizeFirst = false) {
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

}  // namespace

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

// ---- default window procedure
// --------------------------------------------------------------------

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
  if (vert) {
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

}  // namespace

LRESULT DefWindowProc(HWND h, Cardinal msg, WPARAM wp, LPARAM lp) {
  TWnd* w = W(h);
  if (!w) return 0;
  switch (msg) {
    case WM_NCCREATE:
      return 1;
    case WM_NCCALCSIZE:
      return DefNcCalcSize(w, lp);
    case WM_NCHITTEST:
      return DefNcHitTest(w, lp);
    case WM_NCPAINT:
      DrawFrame(h);
      return 0;
    case WM_PAINT: {
      TPaintStruct ps;
      BeginPaint(h, ps);
      EndPaint(h, ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      auto* canvas = reinterpret_cast<TCanvas*>(wp);
      if (!canvas || w->Background == clNone) return 0;
      TBrush* brush = canvas->Brush();
      TColor oldColor = brush->Color();
      TBrushStyle oldStyle = brush->Style();
      brush->SetColor(w->Background);
      brush->SetStyle(bsSolid);
      canvas->FillRect(canvas->ClipRect());
      brush->SetStyle(oldStyle);
      brush->SetColor(oldColor);
      return 1;
    }
    case WM_SETCURSOR: {
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
    case WM_MOUSEACTIVATE:
      if (w->Parent) {
        if (LRESULT r = SendMessage(w->Parent, WM_MOUSEACTIVATE, wp, lp)) return r;
      }
      return MA_ACTIVATE;
    case WM_ACTIVATE:
      if (LoWord(wp) != WA_INACTIVE && !WindowManager().ActivatingForFocus &&
          !InSubtree(h, WindowManager().Focus))
        SetFocus(h);
      return 0;
    case WM_NCACTIVATE:
      return 1;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_CONTEXTMENU:
      return w->Parent ? SendMessage(w->Parent, msg, wp, lp) : 0;
    case WM_RBUTTONUP: {
      TPoint p = ClientToScreen(h, LParamToPoint(lp));
      SendMessage(h, WM_CONTEXTMENU, static_cast<WPARAM>(h), PointToLParam(p));
      return 0;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (wp == static_cast<WPARAM>(HTVSCROLL))
        StartScrollTrack(h, SB_VERT, LParamToPoint(lp));
      else if (wp == static_cast<WPARAM>(HTHSCROLL))
        StartScrollTrack(h, SB_HORZ, LParamToPoint(lp));
      return 0;
    case WM_CLOSE:
      DestroyWindow(h);
      return 0;
    case WM_SYSKEYDOWN:
      return DefSysKeyDown(h, wp, lp);
    case WM_SYSKEYUP:
      return DefSysKeyUp(h, wp);
    case WM_KEYUP:
      // The context-menu key asks for the focused window's menu at its caret or corner.
      if (wp == VK_APPS) SendMessage(h, WM_CONTEXTMENU, static_cast<WPARAM>(h), kKeyboardMenuPos);
      return 0;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_CLOSE) SendMessage(h, WM_CLOSE);
      return 0;
    case WM_SETTEXT:
      w->Text = TextFromParam(lp);
      if (!w->Parent && w->Native) Backend().SetNativeCaption(w->Native, w->Text);
      return 1;
    case WM_GETTEXTLENGTH:
      return static_cast<LRESULT>(w->Text.size());
    case WM_GETTEXT:
      return CopyWindowText(w->Text, wp, lp);
    default:
      return 0;
  }
}

// ---- focus, activation, capture, cursor, keys
// ------------------------------------------------------

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
    try {
      SendMessage(old, WM_KILLFOCUS, static_cast<WPARAM>(h));
    } catch (...) {
      // A failing exit keeps the focus where it was.
      if (s.Focus == h) s.Focus = W(old) ? old : 0;
      throw;
    }
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

// ---- timers and time
// --------------------------------------------------------------------------------------

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

// ---- clipboard
// -----------------------------------------------------------------------------------------------

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

// ---- additions
// ------------------------------------------------------------------------------------------------

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
