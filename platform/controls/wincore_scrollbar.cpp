// Window scroll bars: state, geometry, drawing and mouse tracking. Tracking
// runs without a modal loop: the window manager routes pointer input to the
// tracker while a bar is held, and held arrows and track presses repeat
// from the message loop's idle step on the backend's clock.
#include <algorithm>

#include "controls/wincore_internal.h"
#include "graphics/colors.h"

namespace brevant {

using namespace wm;

namespace {

struct TGeometry {
  bool Vert = true;
  TRect Bar;          // window coordinates
  Integer Start = 0;  // along the bar, window coordinates
  Integer End = 0;
  Integer TrackStart = 0;
  Integer TrackEnd = 0;
  bool HasThumb = false;
  Integer ThumbStart = 0;
  Integer ThumbLen = 0;
};

Int64 MaxPos(const TScrollBarState& sb) {
  Int64 hi = Int64(sb.Max) - std::max<Int64>(Int64(sb.Page) - 1, 0);
  return std::max<Int64>(hi, sb.Min);
}

TGeometry Geometry(const TWnd* w, Integer bar, Integer pos) {
  TGeometry g;
  g.Vert = bar == SB_VERT;
  g.Bar = g.Vert ? w->VBar : w->HBar;
  if (IsRectEmpty(g.Bar)) return g;
  g.Start = g.Vert ? g.Bar.Top : g.Bar.Left;
  g.End = g.Vert ? g.Bar.Bottom : g.Bar.Right;
  Integer len = g.End - g.Start;
  Integer arrow = std::min(kScrollSize, len / 2);
  g.TrackStart = g.Start + arrow;
  g.TrackEnd = g.End - arrow;
  const TScrollBarState& sb = w->Bars[bar];
  Int64 trackLen = g.TrackEnd - g.TrackStart;
  Int64 range = Int64(sb.Max) - sb.Min + 1;
  if (sb.Disabled || range <= 0 || trackLen < kMinThumb) return g;
  Int64 thumb =
      sb.Page == 0 ? kScrollSize : std::max<Int64>(kMinThumb, trackLen * Int64(sb.Page) / range);
  if (thumb > trackLen) return g;
  Int64 posRange = MaxPos(sb) - sb.Min;
  Int64 p = std::clamp<Int64>(pos, sb.Min, MaxPos(sb)) - sb.Min;
  g.HasThumb = true;
  g.ThumbLen = Integer(thumb);
  g.ThumbStart = g.TrackStart + Integer(posRange > 0 ? (trackLen - thumb) * p / posRange : 0);
  return g;
}

TScrollPart PartAt(const TGeometry& g, Integer along) {
  if (along < g.Start || along >= g.End) return spNone;
  if (along < g.TrackStart) return spLineUp;
  if (along >= g.TrackEnd) return spLineDown;
  if (!g.HasThumb) return spNone;
  if (along < g.ThumbStart) return spPageUp;
  if (along < g.ThumbStart + g.ThumbLen) return spThumb;
  return spPageDown;
}

// The pointer along the bar and across it, window coordinates.
TPoint Local(const TWnd* w, TPoint screen) {
  TPoint o = ScreenOrigin(w);
  return {screen.X - o.X, screen.Y - o.Y};
}

Integer Along(const TGeometry& g, TPoint local) {
  return g.Vert ? local.Y : local.X;
}

bool OnBar(const TGeometry& g, TPoint local) {
  return PtInRect(g.Bar, local);
}

Word CodeOf(TScrollPart part) {
  switch (part) {
    case spLineUp:
      return SB_LINEUP;
    case spLineDown:
      return SB_LINEDOWN;
    case spPageUp:
      return SB_PAGEUP;
    case spPageDown:
      return SB_PAGEDOWN;
    default:
      return SB_ENDSCROLL;
  }
}

void SendScroll(HWND h, Integer bar, Word code, Integer pos = 0) {
  SendMessage(h, bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL, MakeWParam(code, pos), 0);
}

Integer PosFromThumb(const TWnd* w, Integer bar, const TGeometry& g, Integer thumbStart) {
  const TScrollBarState& sb = w->Bars[bar];
  Int64 room = Int64(g.TrackEnd - g.TrackStart) - g.ThumbLen;
  Int64 posRange = MaxPos(sb) - sb.Min;
  if (room <= 0 || posRange <= 0) return sb.Min;
  Int64 offset = std::clamp<Int64>(Int64(thumbStart) - g.TrackStart, 0, room);
  return Integer(sb.Min + (offset * posRange * 2 + room) / (room * 2));
}

bool Tracking(const TWnd* w, Integer bar) {
  const TScrollTrack& t = WindowManager().Track;
  return t.Active && t.Wnd == w->Handle && t.Bar == bar;
}

void DrawOneBar(const TWnd* w, Integer bar, TCanvas* dc) {
  const TScrollTrack& t = WindowManager().Track;
  bool tracking = Tracking(w, bar);
  const TScrollBarState& sb = w->Bars[bar];
  TGeometry g = Geometry(w, bar, tracking && t.Part == spThumb ? t.TrackPos : sb.Pos);
  if (IsRectEmpty(g.Bar)) return;
  auto span = [&](Integer a, Integer b) {
    return g.Vert ? TRect(g.Bar.Left, a, g.Bar.Right, b) : TRect(a, g.Bar.Top, b, g.Bar.Bottom);
  };
  bool inactive = sb.Disabled || !g.HasThumb;
  auto arrowState = [&](TScrollPart part, Cardinal kind) {
    Cardinal st = kind;
    if (inactive) st |= DFCS_INACTIVE;
    if (tracking && t.Part == part && t.Pressed) st |= DFCS_PUSHED | DFCS_FLAT;
    return st;
  };
  dc->DrawFrameControl(span(g.Start, g.TrackStart), DFC_SCROLL,
                       arrowState(spLineUp, g.Vert ? DFCS_SCROLLUP : DFCS_SCROLLLEFT));
  dc->DrawFrameControl(span(g.TrackEnd, g.End), DFC_SCROLL,
                       arrowState(spLineDown, g.Vert ? DFCS_SCROLLDOWN : DFCS_SCROLLRIGHT));
  TBrush* brush = dc->Brush();
  brush->SetStyle(bsSolid);
  auto fill = [&](Integer a, Integer b, TScrollPart part) {
    if (b <= a) return;
    bool pressed = tracking && t.Part == part && t.Pressed;
    brush->SetColor(pressed ? cl3DDkShadow : cl3DLight);
    dc->FillRect(span(a, b));
  };
  if (!g.HasThumb) {
    fill(g.TrackStart, g.TrackEnd, spNone);
    return;
  }
  fill(g.TrackStart, g.ThumbStart, spPageUp);
  fill(g.ThumbStart + g.ThumbLen, g.TrackEnd, spPageDown);
  TRect thumb = span(g.ThumbStart, g.ThumbStart + g.ThumbLen);
  brush->SetColor(clBtnFace);
  dc->DrawEdge(thumb, EDGE_RAISED, BF_RECT | BF_MIDDLE);
}

// The geometry a bar is drawn with (the tracked position while its thumb
// is dragged).
TGeometry DrawnGeometry(const TWnd* w, Integer bar) {
  const TScrollTrack& t = WindowManager().Track;
  return Geometry(w, bar, Tracking(w, bar) && t.Part == spThumb ? t.TrackPos : w->Bars[bar].Pos);
}

// Draws the bar again after its state changed from `before` (drawn with
// `wasDisabled`): not at all when it looks the same, only the span between
// the arrows that changed when only the thumb moved.
void RedrawChangedBar(HWND h, Integer bar, const TGeometry& before, bool wasDisabled) {
  TWnd* w = W(h);
  const TGeometry after = DrawnGeometry(w, bar);
  const bool sameFrame = w->Bars[bar].Disabled == wasDisabled && before.Bar == after.Bar &&
                         before.HasThumb == after.HasThumb && before.ThumbLen == after.ThumbLen;
  if (sameFrame && before.ThumbStart == after.ThumbStart) return;
  if (!sameFrame || !after.HasThumb || !Visible(w) || IsRectEmpty(after.Bar)) {
    DrawScrollBar(h, bar);
    return;
  }
  TCanvas* dc = GetWindowDC(h);
  if (!dc) return;
  const Integer from = std::min(before.ThumbStart, after.ThumbStart);
  const Integer to = std::max(before.ThumbStart, after.ThumbStart) + after.ThumbLen;
  dc->IntersectClipRect(after.Vert ? TRect(after.Bar.Left, from, after.Bar.Right, to)
                                   : TRect(from, after.Bar.Top, to, after.Bar.Bottom));
  DrawOneBar(w, bar, dc);
  ReleaseDC(h, dc);
}

// Shows or hides a bar by its style bit and recalculates the frame.
void SetBarShown(HWND h, Integer bar, bool show) {
  TWnd* w = W(h);
  if (!w) return;
  Cardinal bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  if (((w->Style & bit) != 0) == show) return;
  if (show)
    w->Style |= bit;
  else
    w->Style &= ~bit;
  if (!show && Tracking(w, bar)) CancelScrollTrack();
  SetWindowPos(h, 0, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

namespace wm {

void DrawScrollBars(HWND h, TCanvas* dc) {
  TWnd* w = W(h);
  if (!w) return;
  DrawOneBar(w, SB_VERT, dc);
  DrawOneBar(w, SB_HORZ, dc);
  if (!IsRectEmpty(w->SizeBox)) {
    dc->Brush()->SetStyle(bsSolid);
    dc->Brush()->SetColor(clBtnFace);
    dc->FillRect(w->SizeBox);
  }
}

void DrawScrollBar(HWND h, Integer bar) {
  TWnd* w = W(h);
  if (!w || !Visible(w) || IsRectEmpty(bar == SB_VERT ? w->VBar : w->HBar)) return;
  TCanvas* dc = GetWindowDC(h);
  if (!dc) return;
  DrawOneBar(w, bar, dc);
  ReleaseDC(h, dc);
}

bool StartScrollTrack(HWND h, Integer bar, TPoint screenPos) {
  TWnd* w = W(h);
  if (!w || !Enabled(w)) return false;
  const TScrollBarState& sb = w->Bars[bar];
  if (sb.Disabled) return false;
  TGeometry g = Geometry(w, bar, sb.Pos);
  TPoint local = Local(w, screenPos);
  if (!OnBar(g, local)) return false;
  TScrollPart part = PartAt(g, Along(g, local));
  if (part == spNone) return false;
  if (!g.HasThumb) return false;
  auto& t = WindowManager().Track;
  t = TScrollTrack();
  t.Active = true;
  t.Wnd = h;
  t.Bar = bar;
  t.Part = part;
  t.Pressed = true;
  t.TrackPos = sb.Pos;
  t.Pointer = screenPos;
  Backend().CaptureMouse(true);
  if (part == spThumb) {
    t.GrabOffset = Along(g, local) - g.ThumbStart;
    DrawScrollBar(h, bar);
    return true;
  }
  t.NextRepeat = Backend().TickCount() + kScrollFirstDelay;
  DrawScrollBar(h, bar);
  SendScroll(h, bar, CodeOf(part));
  if (!W(h)) CancelScrollTrack();
  return true;
}

bool TrackScrollInput(const TBackendEvent& e) {
  auto& t = WindowManager().Track;
  if (!t.Active) return false;
  HWND h = t.Wnd;
  TWnd* w = W(h);
  if (!w) {
    CancelScrollTrack();
    return false;
  }
  if (e.Kind == bekMouseMove) {
    t.Pointer = e.ScreenPos;
    TPoint local = Local(w, e.ScreenPos);
    if (t.Part == spThumb) {
      TGeometry g = Geometry(w, t.Bar, t.TrackPos);
      Integer pos = PosFromThumb(w, t.Bar, g, Along(g, local) - t.GrabOffset);
      if (pos != t.TrackPos) {
        t.TrackPos = pos;
        DrawScrollBar(h, t.Bar);
        SendScroll(h, t.Bar, SB_THUMBTRACK, pos);
      }
    } else {
      TGeometry g = Geometry(w, t.Bar, w->Bars[t.Bar].Pos);
      bool pressed = OnBar(g, local) && PartAt(g, Along(g, local)) == t.Part;
      if (pressed != t.Pressed) {
        t.Pressed = pressed;
        DrawScrollBar(h, t.Bar);
      }
    }
    return true;
  }
  if (e.Kind == bekMouseUp && e.Button == bbLeft) {
    Integer bar = t.Bar;
    bool thumb = t.Part == spThumb;
    Integer pos = t.TrackPos;
    t = TScrollTrack();
    if (!WindowManager().Capture) Backend().CaptureMouse(false);
    DrawScrollBar(h, bar);
    if (thumb) SendScroll(h, bar, SB_THUMBPOSITION, pos);
    SendScroll(h, bar, SB_ENDSCROLL);
    return true;
  }
  return e.Kind == bekMouseDown || e.Kind == bekMouseUp;
}

bool ScrollRepeat() {
  auto& t = WindowManager().Track;
  if (!t.Active || t.Part == spThumb || t.Part == spNone) return false;
  Cardinal now = Backend().TickCount();
  if (static_cast<std::int32_t>(now - t.NextRepeat) < 0) return false;
  t.NextRepeat = now + kScrollRepeat;
  HWND h = t.Wnd;
  TWnd* w = W(h);
  if (!w) {
    CancelScrollTrack();
    return false;
  }
  // A page press stops once the thumb reaches the pointer.
  TGeometry g = Geometry(w, t.Bar, w->Bars[t.Bar].Pos);
  TPoint local = Local(w, t.Pointer);
  bool pressed = OnBar(g, local) && PartAt(g, Along(g, local)) == t.Part;
  if (pressed != t.Pressed) {
    t.Pressed = pressed;
    DrawScrollBar(h, t.Bar);
  }
  if (!pressed) return false;
  SendScroll(h, t.Bar, CodeOf(t.Part));
  return true;
}

void CancelScrollTrack() {
  auto& t = WindowManager().Track;
  if (!t.Active) return;
  HWND h = t.Wnd;
  Integer bar = t.Bar;
  t = TScrollTrack();
  if (!WindowManager().Capture) Backend().CaptureMouse(false);
  DrawScrollBar(h, bar);
}

bool NextScrollRepeat(Cardinal& due) {
  const auto& t = WindowManager().Track;
  if (!t.Active || t.Part == spThumb) return false;
  due = t.NextRepeat;
  return true;
}

}  // namespace wm

// ---- public scroll-bar API -----------------------------------------------------------------

Integer SetScrollInfo(HWND h, Integer bar, const TScrollInfo& info, bool redraw) {
  TWnd* w = W(h);
  if (!w || (bar != SB_HORZ && bar != SB_VERT)) return 0;
  TScrollBarState& sb = w->Bars[bar];
  const TGeometry before = DrawnGeometry(w, bar);
  const bool wasDisabled = sb.Disabled;
  if (info.Mask & SIF_RANGE) {
    sb.Min = info.Min;
    sb.Max = info.Max;
  }
  if (info.Mask & SIF_PAGE) sb.Page = info.Page;
  if (info.Mask & SIF_POS) sb.Pos = info.Pos;
  // The page never exceeds the range; the position stays where a whole page fits.
  Int64 range = std::max<Int64>(Int64(sb.Max) - sb.Min + 1, 0);
  if (Int64(sb.Page) > range) sb.Page = Cardinal(range);
  sb.Pos = Integer(std::clamp<Int64>(sb.Pos, sb.Min, MaxPos(sb)));
  bool empty = !(sb.Max > sb.Min && (sb.Page == 0 || Int64(sb.Page) <= Int64(sb.Max) - sb.Min));
  bool show = !empty || (info.Mask & SIF_DISABLENOSCROLL);
  sb.Disabled = empty && show;
  Integer pos = sb.Pos;
  Cardinal bit = bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL;
  if (((w->Style & bit) != 0) != show)
    SetBarShown(h, bar, show);
  else if (redraw)
    RedrawChangedBar(h, bar, before, wasDisabled);
  return pos;
}

bool GetScrollInfo(HWND h, Integer bar, TScrollInfo& info) {
  TWnd* w = W(h);
  if (!w || (bar != SB_HORZ && bar != SB_VERT)) return false;
  const TScrollBarState& sb = w->Bars[bar];
  if (info.Mask & SIF_RANGE) {
    info.Min = sb.Min;
    info.Max = sb.Max;
  }
  if (info.Mask & SIF_PAGE) info.Page = sb.Page;
  if (info.Mask & SIF_POS) info.Pos = sb.Pos;
  if (info.Mask & SIF_TRACKPOS) {
    const auto& t = WindowManager().Track;
    info.TrackPos = Tracking(w, bar) && t.Part == spThumb ? t.TrackPos : sb.Pos;
  }
  return true;
}

Integer ScrollThumbPos(HWND h, Integer bar, WPARAM wParam) {
  const Integer low = HiWord(wParam);
  TScrollInfo info;
  info.Mask = SIF_RANGE | SIF_TRACKPOS;
  if (!GetScrollInfo(h, bar, info) || info.Max <= 0xFFFF) return low;
  // Of the positions in the range with these low bits, the one nearest the
  // track position (the bar's position once the drag ended).
  Int64 best = low;
  Int64 bestDistance = -1;
  for (Int64 p = low; p <= info.Max; p += 0x10000) {
    if (p < info.Min) continue;
    const Int64 distance = p > info.TrackPos ? p - info.TrackPos : info.TrackPos - p;
    if (bestDistance < 0 || distance < bestDistance) {
      best = p;
      bestDistance = distance;
    }
  }
  return static_cast<Integer>(best);
}

Integer SetScrollPos(HWND h, Integer bar, Integer pos, bool redraw) {
  TWnd* w = W(h);
  if (!w || (bar != SB_HORZ && bar != SB_VERT)) return 0;
  Integer old = w->Bars[bar].Pos;
  TScrollInfo info;
  info.Mask = SIF_POS;
  info.Pos = pos;
  SetScrollInfo(h, bar, info, redraw);
  return old;
}

Integer GetScrollPos(HWND h, Integer bar) {
  TWnd* w = W(h);
  if (!w || (bar != SB_HORZ && bar != SB_VERT)) return 0;
  return w->Bars[bar].Pos;
}

bool SetScrollRange(HWND h, Integer bar, Integer min, Integer max, bool redraw) {
  if (!W(h) || (bar != SB_HORZ && bar != SB_VERT)) return false;
  TScrollInfo info;
  info.Mask = SIF_RANGE;
  info.Min = min;
  info.Max = max;
  SetScrollInfo(h, bar, info, redraw);
  return true;
}

bool ShowScrollBar(HWND h, Integer bar, bool show) {
  if (!W(h)) return false;
  if (bar == SB_BOTH) {
    SetBarShown(h, SB_HORZ, show);
    SetBarShown(h, SB_VERT, show);
  } else if (bar == SB_HORZ || bar == SB_VERT) {
    SetBarShown(h, bar, show);
  } else {
    return false;
  }
  return true;
}

TRect GetScrollBarRect(HWND h, Integer bar) {
  TWnd* w = W(h);
  if (!w) return {};
  return bar == SB_VERT ? w->VBar : bar == SB_HORZ ? w->HBar : TRect();
}

}  // namespace brevant
