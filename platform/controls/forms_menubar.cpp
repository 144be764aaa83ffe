// The form's menu bar (drawn in the non-client area above the client
// area), its shortcuts, and auto-scrolling of the client area.
#include <algorithm>

#include "controls/application.h"
#include "controls/forms.h"
#include "controls/menus.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

// ---- menu bar
// -------------------------------------------------------------------------------------

void TCustomForm::SetMenu(TMainMenu* value) {
  if (value == menu_) return;
  if (menu_) menu_->RemoveFreeNotification(this);
  menu_ = value;
  menuBarHot_ = nullptr;
  if (menu_) menu_->FreeNotification(this);
  if (!IsLoading()) MenuChanged();
}

Integer TCustomForm::MenuBarHeight() const {
  if (!menu_) return 0;
  for (Integer i = 0; i < menu_->Items()->Count(); ++i)
    if (menu_->Items()->Items(i)->Visible()) return kMenuBarHeight;
  return 0;
}

void TCustomForm::MenuChanged() {
  if (!HandleAllocated() || IsDestroying()) return;
  // The frame is calculated again: the client area shrinks or grows.
  brevant::SetWindowPos(WindowHandle(), 0, 0, 0, 0, 0,
                        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  brevant::RedrawWindow(WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

TRect TCustomForm::MenuBarRect() const {
  Integer h = MenuBarHeight();
  if (!h || !HandleAllocated()) return TRect();
  TRect client = brevant::GetClientRectInWindow(WindowHandle());
  return TRect(client.Left, client.Top - h, client.Right, client.Top);
}

TMenuItem* TCustomForm::MenuBarItemAt(TPoint windowPos) const {
  TRect bar = MenuBarRect();
  if (!PtInRect(bar, windowPos)) return nullptr;
  for (const auto& bi : MenuBarLayout(menu_, Canvas())) {
    TRect r = bi.Rect;
    OffsetRect(r, bar.Left, bar.Top);
    if (PtInRect(r, windowPos)) return bi.Item;
  }
  return nullptr;
}

void TCustomForm::SetMenuBarHot(TMenuItem* item) {
  if (item == menuBarHot_) return;
  menuBarHot_ = item;
  if (HandleAllocated()) brevant::SendMessage(WindowHandle(), WM_NCPAINT, 1, 0);
}

void TCustomForm::PaintMenuBar(TCanvas* canvas) {
  TRect bar = MenuBarRect();
  if (IsRectEmpty(bar)) return;
  canvas->Brush()->SetColor(clMenuBar);
  canvas->FillRect(bar);
  canvas->SetFont(Font());
  for (const auto& bi : MenuBarLayout(menu_, canvas)) {
    TRect r = bi.Rect;
    OffsetRect(r, bar.Left, bar.Top);
    const bool hot = bi.Item == menuBarHot_;
    if (hot) {
      canvas->Brush()->SetColor(clHighlight);
      canvas->FillRect(r);
    }
    canvas->Font()->SetColor(!bi.Item->Enabled() ? clGrayText : hot ? clHighlightText : clMenuText);
    // Setting the highlight brush turned the text background back on.
    canvas->SetBkMode(TRANSPARENT);
    canvas->DrawText(bi.Item->Caption(), r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

void TCustomForm::TrackMenuBar(TMenuItem* item, bool byKeyboard, bool dropDown) {
  if (!menu_ || !item || !HandleAllocated()) return;
  TMenuItem* chosen = nullptr;
  {
    // The bar shows no selection once the loop ends, however it ends.
    struct THot {
      TCustomForm* Form;
      ~THot() { Form->SetMenuBarHot(nullptr); }
    } hot{this};
    SetMenuBarHot(item);
    chosen = TrackPopupMenu(item, {}, paLeft, menu_->Images(), this, byKeyboard, nullptr, dropDown);
  }
  if (chosen) chosen->Click();
}

void TCustomForm::ActivateMenuBar() {
  if (!menu_) return;
  for (Integer i = 0; i < menu_->Items()->Count(); ++i)
    if (TMenuItem* item = menu_->Items()->Items(i); item->Visible()) {
      TrackMenuBar(item, true, false);
      return;
    }
}

bool TCustomForm::IsShortCut(Word key, TShiftState shift) {
  bool handled = false;
  OnShortCut(this, key, shift, handled);
  if (handled) return true;
  if (!menu_) return false;
  if (menu_->IsShortCut(key, shift)) return true;
  // Alt+letter opens the bar menu whose caption has that accelerator.
  if (shift == TShiftState{ssAlt} && ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9'))) {
    for (Integer i = 0; i < menu_->Items()->Count(); ++i) {
      TMenuItem* item = menu_->Items()->Items(i);
      if (item->Visible() && item->Enabled() &&
          IsAccel(static_cast<char32_t>(key), item->Caption())) {
        TrackMenuBar(item, true);
        return true;
      }
    }
  }
  return false;
}

void TCustomForm::WMNCCalcSize(TMessage& m) {
  TWinControl::WMNCCalcSize(m);
  Integer h = MenuBarHeight();
  auto* r = reinterpret_cast<TRect*>(m.LParam);
  if (h && r) r->Top = std::min(r->Top + h, r->Bottom);
}

void TCustomForm::WMNCPaint(TMessage& m) {
  TWinControl::WMNCPaint(m);
  if (!MenuBarHeight() || !HandleAllocated()) return;
  TCanvas* dc = brevant::GetWindowDC(WindowHandle());
  if (!dc) return;
  TScopeGuard release([this, dc] { brevant::ReleaseDC(WindowHandle(), dc); });
  PaintMenuBar(dc);
}

void TCustomForm::WMNCHitTest(TMessage& m) {
  TWinControl::WMNCHitTest(m);
  if (!MenuBarHeight() || !HandleAllocated()) return;
  TRect wr = brevant::GetWindowRect(WindowHandle());
  TPoint p = LParamToPoint(m.LParam);
  if (PtInRect(MenuBarRect(), {p.X - wr.Left, p.Y - wr.Top})) m.Result = HTMENU;
}

// ---- auto-scroll
// -------------------------------------------------------------------------------------

void TCustomForm::SetAutoScroll(bool value) {
  if (value == autoScroll_) return;
  autoScroll_ = value;
  if (!value && (scrollPos_.X || scrollPos_.Y)) ScrollBy(scrollPos_.X, scrollPos_.Y);
  if (HandleAllocated()) UpdateScrollRange();
}

void TCustomForm::AlignControls(TControl* control, TRect& rect) {
  TWinControl::AlignControls(control, rect);
  if (autoScroll_ && HandleAllocated()) UpdateScrollRange();
}

void TCustomForm::WMSize(TMessage& m) {
  TWinControl::WMSize(m);
  if (autoScroll_ && HandleAllocated()) UpdateScrollRange();
}

// The scroll range covers every visible control (positions counted from
// the unscrolled origin); a bar shows while the range exceeds the client.
void TCustomForm::UpdateScrollRange() {
  if (!HandleAllocated()) return;
  Integer right = 0, bottom = 0;
  if (autoScroll_) {
    for (Integer i = 0; i < ControlCount(); ++i) {
      TControl* c = Controls(i);
      if (!c->Visible() || c->Align() != alNone) continue;
      right = std::max(right, c->Left() + c->Width() + scrollPos_.X);
      bottom = std::max(bottom, c->Top() + c->Height() + scrollPos_.Y);
    }
  }
  for (Integer bar : {SB_HORZ, SB_VERT}) {
    TRect client = GetClientRect();
    Integer extent = bar == SB_HORZ ? right : bottom;
    Integer page = bar == SB_HORZ ? client.Width() : client.Height();
    TScrollInfo si;
    si.Mask = SIF_ALL;
    si.Min = 0;
    si.Max = extent > page ? extent - 1 : 0;
    si.Page = extent > page ? static_cast<Cardinal>(page) : 0;
    Integer pos = bar == SB_HORZ ? scrollPos_.X : scrollPos_.Y;
    Integer maxPos = std::max<Integer>(0, extent - page);
    si.Pos = std::min(pos, maxPos);
    brevant::SetScrollInfo(WindowHandle(), bar, si, true);
    if (si.Pos != pos) ScrollTo(bar, si.Pos);
  }
}

void TCustomForm::ScrollBy(Integer dx, Integer dy) {
  if (!dx && !dy) return;
  // The position is known before alignment resumes at the end of the move.
  scrollPos_.X -= dx;
  scrollPos_.Y -= dy;
  ScrollChildren(dx, dy);
  Invalidate();
}

void TCustomForm::ScrollTo(Integer bar, Integer pos) {
  pos = std::max<Integer>(pos, 0);
  if (bar == SB_HORZ)
    ScrollBy(scrollPos_.X - pos, 0);
  else
    ScrollBy(0, scrollPos_.Y - pos);
  if (HandleAllocated()) brevant::SetScrollPos(WindowHandle(), bar, pos, true);
}

void TCustomForm::ScrollInView(TControl* control) {
  if (!autoScroll_ || !control || !HandleAllocated()) return;
  TRect client = GetClientRect();
  Integer x = scrollPos_.X, y = scrollPos_.Y;
  if (control->Left() < 0)
    x += control->Left();
  else if (control->Left() + control->Width() > client.Width())
    x += control->Left() + control->Width() - client.Width();
  if (control->Top() < 0)
    y += control->Top();
  else if (control->Top() + control->Height() > client.Height())
    y += control->Top() + control->Height() - client.Height();
  if (x != scrollPos_.X) ScrollTo(SB_HORZ, x);
  if (y != scrollPos_.Y) ScrollTo(SB_VERT, y);
}

namespace {
Integer NewScrollPos(HWND h, Integer bar, Word code, Integer track) {
  TScrollInfo si;
  si.Mask = SIF_ALL;
  brevant::GetScrollInfo(h, bar, si);
  Integer page = std::max<Integer>(1, static_cast<Integer>(si.Page));
  Integer pos = si.Pos;
  switch (code) {
    case SB_LINEUP:
      pos -= 16;
      break;
    case SB_LINEDOWN:
      pos += 16;
      break;
    case SB_PAGEUP:
      pos -= page;
      break;
    case SB_PAGEDOWN:
      pos += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      pos = track;
      break;
    case SB_TOP:
      pos = si.Min;
      break;
    case SB_BOTTOM:
      pos = si.Max;
      break;
    default:
      break;
  }
  return std::clamp<Integer>(pos, si.Min, std::max<Integer>(si.Min, si.Max - page + 1));
}
}  // namespace

void TCustomForm::WMVScroll(TMessage& m) {
  if (!autoScroll_ || m.LParam != 0) {
    TWinControl::WMVScroll(m);
    return;
  }
  ScrollTo(SB_VERT, NewScrollPos(WindowHandle(), SB_VERT, LoWord(m.WParam),
                                 ScrollThumbPos(WindowHandle(), SB_VERT, m.WParam)));
}

void TCustomForm::WMHScroll(TMessage& m) {
  if (!autoScroll_ || m.LParam != 0) {
    TWinControl::WMHScroll(m);
    return;
  }
  ScrollTo(SB_HORZ, NewScrollPos(WindowHandle(), SB_HORZ, LoWord(m.WParam),
                                 ScrollThumbPos(WindowHandle(), SB_HORZ, m.WParam)));
}

}  // namespace brevant
