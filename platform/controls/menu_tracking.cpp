// Pop-up menu windows and the modal tracking loop; the menu bar's layout.
#include <algorithm>
#include <memory>

#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "controls/menus.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "graphics/font.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"
#include "rtl/strutils.h"

namespace brevant {
namespace detail {

// One level of an open menu: the visible sub-items of Parent in rows.
class TMenuWindow : public TCustomControl {
  BV_CLASS(TMenuWindow, TCustomControl)
 public:
  explicit TMenuWindow(TComponent* owner) : TCustomControl(owner) {
    SetVisible(false);
    color_ = clMenu;
  }
  struct TRow {
    TMenuItem* Item;
    TRect Rect;  // client coordinates
  };
  TMenuItem* ParentItem = nullptr;
  TImageList* Images = nullptr;
  std::vector<TRow> Rows;
  Integer Selected = -1;
  HWND OwnerWnd = 0;

  void Layout() {
    Rows.clear();
    TCanvas* c = Canvas();
    c->SetFont(Font());
    Integer textW = 0, keyW = 0;
    const Integer rowH =
        std::max<Integer>(c->TextHeight("Wg") + 6, Images ? Images->Height() + 4 : 0);
    Integer y = 2;
    for (Integer i = 0; i < ParentItem->Count(); ++i) {
      TMenuItem* item = ParentItem->Items(i);
      if (!item->Visible()) continue;
      Integer h = item->IsLine() ? 8 : rowH;
      Rows.push_back({item, TRect(0, y, 0, y + h)});
      y += h;
      if (item->IsLine()) continue;
      textW = std::max(textW, c->TextWidth(StripHotkey(item->Caption())));
      keyW = std::max(keyW, c->TextWidth(ShortCutToText(item->ShortCut())));
    }
    const Integer width = LeftArea() + textW + (keyW ? keyW + 24 : 0) + 20;
    for (auto& r : Rows) {
      r.Rect.Left = 2;
      r.Rect.Right = width - 2;
    }
    SetBounds(Left(), Top(), width, y + 2);
  }
  Integer LeftArea() const { return 4 + std::max<Integer>(16, Images ? Images->Width() : 0) + 6; }
  Integer RowAt(TPoint clientPos) const {
    for (size_t i = 0; i < Rows.size(); ++i)
      if (PtInRect(Rows[i].Rect, clientPos)) return static_cast<Integer>(i);
    return -1;
  }
  TMenuItem* SelectedItem() const {
    return Selected >= 0 && Selected < Integer(Rows.size()) ? Rows[size_t(Selected)].Item : nullptr;
  }
  void Select(Integer index) {
    if (index == Selected) return;
    Selected = index;
    Invalidate();
  }
  // The next selectable row from Selected in a direction (wrapping).
  void Step(Integer dir) {
    const Integer n = static_cast<Integer>(Rows.size());
    if (n == 0) return;
    Integer i = Selected;
    for (Integer k = 0; k < n; ++k) {
      i = i < 0 ? (dir > 0 ? 0 : n - 1) : (i + dir + n) % n;
      if (!Rows[size_t(i)].Item->IsLine()) {
        Select(i);
        return;
      }
    }
  }

 protected:
  void CreateParams(TCreateParams& params) override {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    params.ClassStyle |= CS_SAVEBITS;
    params.WndParent = OwnerWnd;
  }
  void Paint() override {
    TCanvas* c = Canvas();
    c->Brush()->SetColor(clMenu);
    c->FillRect(ClientRect());
    c->SetFont(Font());
    for (size_t i = 0; i < Rows.size(); ++i) {
      const TRow& row = Rows[i];
      TMenuItem* item = row.Item;
      TRect r = row.Rect;
      if (item->IsLine()) {
        Integer y = (r.Top + r.Bottom) / 2 - 1;
        c->Pen()->SetColor(clBtnShadow);
        c->MoveTo(r.Left + 1, y);
        c->LineTo(r.Right - 1, y);
        c->Pen()->SetColor(clBtnHighlight);
        c->MoveTo(r.Left + 1, y + 1);
        c->LineTo(r.Right - 1, y + 1);
        continue;
      }
      const bool sel = Integer(i) == Selected;
      if (sel) {
        c->Brush()->SetColor(clHighlight);
        c->FillRect(r);
      }
      TColor text = !item->Enabled() ? clGrayText : sel ? clHighlightText : clMenuText;
      c->Font()->SetColor(text);
      const Integer midY = (r.Top + r.Bottom) / 2;
      if (item->Checked()) {
        c->Pen()->SetColor(text);
        c->Brush()->SetColor(text);
        if (item->RadioItem()) {
          c->Ellipse(r.Left + 8, midY - 3, r.Left + 14, midY + 3);
        } else {
          for (Integer d = 0; d < 2; ++d) {
            c->MoveTo(r.Left + 7, midY - 1 + d);
            c->LineTo(r.Left + 9, midY + 1 + d);
            c->LineTo(r.Left + 14, midY - 4 + d);
          }
        }
      } else if (Images && item->ImageIndex() >= 0 && item->ImageIndex() < Images->Count()) {
        Images->Draw(c, r.Left + 2, midY - Images->Height() / 2, item->ImageIndex(),
                     item->Enabled());
      }
      TRect t = r;
      t.Left = LeftArea();
      // Setting a brush colour above turned the text background back on.
      c->SetBkMode(TRANSPARENT);
      c->DrawText(item->Caption(), t, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
      String key = ShortCutToText(item->ShortCut());
      if (!key.empty()) {
        TRect k = r;
        k.Right -= 20;
        c->DrawText(key, k, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
      }
      if (item->Count() > 0) {
        c->Pen()->SetColor(text);
        c->Brush()->SetColor(text);
        Integer x = r.Right - 10;
        c->Polygon({TPoint{x, midY - 4}, TPoint{x + 4, midY}, TPoint{x, midY + 4}});
      }
    }
  }
  void WMNCHitTest(TMessage& m) override { DefaultHandler(m); }
};

}  // namespace detail

BV_IMPLEMENT_CLASS(detail::TMenuWindow, TCustomControl)

namespace {

using detail::TMenuWindow;

std::vector<TMenuWindow*> g_open;

// The modal tracking of one menu tree.
class TMenuTracker {
 public:
  TMenuTracker(TImageList* images, TPopupAlignment alignment, TCustomForm* barForm, bool dropDown)
      : images_(images), alignment_(alignment), barForm_(barForm), dropDown_(dropDown) {}
  ~TMenuTracker() { CloseFrom(0); }

  TMenuItem* Run(TMenuItem* root, TPoint pos, bool byKeyboard, const std::function<void()>& action);

 private:
  void Open(TMenuItem* parent, TPoint pos, bool selectFirst, bool rightOf);
  void CloseFrom(size_t level);
  void OpenSub(size_t level, bool selectFirst);
  Integer LevelAt(TPoint screen) const;
  bool BarSwitch(Integer dir);
  bool BarItemAt(TPoint screen, TMenuItem*& item, TRect& screenRect) const;
  TRect BarItemRect(TMenuItem* item) const;
  void OpenBarItem(TMenuItem* item, TRect screenRect, bool selectFirst);
  void DropDownBarItem(TMenuItem* item, bool selectFirst);
  bool BarAccelerator(char32_t c);
  void TakeCapture();
  void Choose(TMenuItem* item) {
    if (!item || item->IsLine()) return;
    if (item->Count() > 0) return;
    if (!item->Enabled()) return;
    chosen_ = item;
    done_ = true;
  }
  bool Handle(TMsg& msg);
  // The loop's message handlers; each answers true (the message is the menu's).
  bool MouseMove(const TMsg& msg);
  bool ButtonDown(const TMsg& msg);
  bool ButtonUp(const TMsg& msg);
  bool KeyDown(const TMsg& msg);
  bool CharTyped(const TMsg& msg);
  bool KeyUp(const TMsg& msg);
  void KeyDownArrow(TMenuWindow* w);
  void KeyRightArrow(TMenuWindow* w);
  void KeyReturn(TMenuWindow* w);
  void OpenRow(size_t level, TMenuItem* item);

  TImageList* images_;
  TPopupAlignment alignment_;
  TCustomForm* barForm_;
  TMenuItem* barItem_ = nullptr;
  bool dropDown_ = true;  // bar items open their menus (false: the bar alone is active)
  bool altDown_ = false;  // Alt went down in the loop: its release ends the loop
  HWND capture_ = 0;      // the window holding the capture for the loop
  std::vector<TMenuWindow*> levels_;
  TMenuItem* chosen_ = nullptr;
  bool done_ = false;
};

// The outermost menu window, or the bar's form while no menu is open, holds
// the capture so that a press outside every window reaches the loop.
void TMenuTracker::TakeCapture() {
  HWND h = !levels_.empty()                          ? levels_.front()->Handle()
           : barForm_ && barForm_->HandleAllocated() ? barForm_->WindowHandle()
                                                     : 0;
  if (h && brevant::GetCapture() != h) brevant::SetCapture(h);
  capture_ = h;
}

void TMenuTracker::Open(TMenuItem* parent, TPoint pos, bool selectFirst, bool rightOf) {
  auto* w = Create<TMenuWindow>(nullptr);
  w->ParentItem = parent;
  w->Images = images_;
  HWND owner = brevant::GetActiveWindow();
  w->OwnerWnd = owner;
  w->Layout();
  Integer x = pos.X, y = pos.Y;
  if (!rightOf && levels_.empty()) {
    if (alignment_ == paRight) x -= w->Width();
    if (alignment_ == paCenter) x -= w->Width() / 2;
  }
  // Keep it on the screen: flip left of the parent level or above the point.
  const Integer sw = Screen()->Width(), sh = Screen()->Height();
  if (x + w->Width() > sw)
    x = rightOf && !levels_.empty() ? levels_.back()->Left() - w->Width() : sw - w->Width();
  if (y + w->Height() > sh) y = std::max<Integer>(0, sh - w->Height());
  x = std::max<Integer>(x, 0);
  w->SetBounds(x, y, w->Width(), w->Height());
  w->HandleNeeded();
  brevant::SetWindowPos(w->Handle(), HWND_TOP, x, y, w->Width(), w->Height(),
                        SWP_NOACTIVATE | SWP_SHOWWINDOW);
  w->SetVisible(true);
  levels_.push_back(w);
  g_open.push_back(w);
  if (selectFirst) w->Step(1);
  brevant::UpdateWindow(w->Handle());
}

void TMenuTracker::CloseFrom(size_t level) {
  while (levels_.size() > level) {
    TMenuWindow* w = levels_.back();
    levels_.pop_back();
    std::erase(g_open, w);
    w->Free();
  }
}

void TMenuTracker::OpenSub(size_t level, bool selectFirst) {
  TMenuWindow* w = levels_[level];
  TMenuItem* item = w->SelectedItem();
  CloseFrom(level + 1);
  if (!item || item->Count() == 0 || !item->Enabled()) return;
  TRect r = w->Rows[size_t(w->Selected)].Rect;
  TPoint p = w->ClientToScreen({w->ClientWidth(), r.Top - 2});
  Open(item, p, selectFirst, true);
}

Integer TMenuTracker::LevelAt(TPoint screen) const {
  for (Integer i = Integer(levels_.size()) - 1; i >= 0; --i)
    if (PtInRect(levels_[size_t(i)]->BoundsRect(), screen)) return i;
  return -1;
}

bool TMenuTracker::BarItemAt(TPoint screen, TMenuItem*& item, TRect& screenRect) const {
  if (!barForm_ || !barForm_->HandleAllocated() || !barForm_->Menu()) return false;
  TRect bar = barForm_->MenuBarRect();
  TRect wr = brevant::GetWindowRect(barForm_->WindowHandle());
  OffsetRect(bar, wr.Left, wr.Top);
  if (!PtInRect(bar, screen)) return false;
  for (const auto& bi : MenuBarLayout(barForm_->Menu(), barForm_->Canvas())) {
    TRect r = bi.Rect;
    OffsetRect(r, bar.Left, bar.Top);
    if (PtInRect(r, screen)) {
      item = bi.Item;
      screenRect = r;
      return true;
    }
  }
  return false;
}

// The bar item's screen rectangle (empty when it is not on the bar).
TRect TMenuTracker::BarItemRect(TMenuItem* item) const {
  if (!barForm_ || !barForm_->HandleAllocated()) return TRect();
  TRect bar = barForm_->MenuBarRect();
  TRect wr = brevant::GetWindowRect(barForm_->WindowHandle());
  for (const auto& bi : MenuBarLayout(barForm_->Menu(), barForm_->Canvas()))
    if (bi.Item == item) {
      TRect r = bi.Rect;
      OffsetRect(r, wr.Left + bar.Left, wr.Top + bar.Top);
      return r;
    }
  return TRect();
}

// Selects a bar item and, while the bar's menus drop down, opens its menu.
void TMenuTracker::OpenBarItem(TMenuItem* item, TRect screenRect, bool selectFirst) {
  CloseFrom(0);
  barItem_ = item;
  barForm_->SetMenuBarHot(item);
  if (dropDown_ && item->Count() > 0)
    Open(item, {screenRect.Left, screenRect.Bottom}, selectFirst, false);
  TakeCapture();
}

// A bar item taken by click, key or accelerator: its menu opens, or an item
// without sub-items is chosen.
void TMenuTracker::DropDownBarItem(TMenuItem* item, bool selectFirst) {
  dropDown_ = true;
  if (item->Count() == 0) {
    barItem_ = item;
    barForm_->SetMenuBarHot(item);
    Choose(item);
    return;
  }
  OpenBarItem(item, BarItemRect(item), selectFirst);
}

// The bar item whose accelerator is c, while no menu is open.
bool TMenuTracker::BarAccelerator(char32_t c) {
  if (!barForm_ || !barForm_->Menu() || !levels_.empty()) return false;
  for (const auto& bi : MenuBarLayout(barForm_->Menu(), barForm_->Canvas())) {
    if (!bi.Item->Enabled() || !IsAccel(c, bi.Item->Caption())) continue;
    DropDownBarItem(bi.Item, true);
    return true;
  }
  return false;
}

bool TMenuTracker::BarSwitch(Integer dir) {
  if (!barForm_ || !barItem_) return false;
  auto layout = MenuBarLayout(barForm_->Menu(), barForm_->Canvas());
  if (layout.empty()) return false;
  Integer n = Integer(layout.size()), i = 0;
  while (i < n && layout[size_t(i)].Item != barItem_) ++i;
  i = ((i < n ? i : 0) + dir + n) % n;
  OpenBarItem(layout[size_t(i)].Item, BarItemRect(layout[size_t(i)].Item), true);
  return true;
}

// One message of the loop; false when it was not the menu's (dispatch it).
bool TMenuTracker::Handle(TMsg& msg) {
  switch (msg.Message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      return MouseMove(msg);
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      return ButtonDown(msg);
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_NCLBUTTONUP:
      return ButtonUp(msg);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return KeyDown(msg);
    case WM_CHAR:
    case WM_SYSCHAR:
      return CharTyped(msg);
    case WM_KEYUP:
    case WM_SYSKEYUP:
      return KeyUp(msg);
    default:
      return false;
  }
}

// Hovering a row selects it and opens its submenu; hovering another bar
// item opens that one.
bool TMenuTracker::MouseMove(const TMsg& msg) {
  Integer level = LevelAt(msg.Pt);
  if (level < 0) {
    TMenuItem* bi;
    TRect r;
    if (BarItemAt(msg.Pt, bi, r) && bi != barItem_) OpenBarItem(bi, r, false);
    return true;
  }
  TMenuWindow* w = levels_[size_t(level)];
  Integer row = w->RowAt(w->ScreenToClient(msg.Pt));
  if (row < 0 || w->Rows[size_t(row)].Item->IsLine()) return true;
  if (row != w->Selected || levels_.size() > size_t(level) + 1) {
    w->Select(row);
    OpenSub(size_t(level), false);
  }
  return true;
}

// A press on a bar item drops it down (or closes its open menu); a press
// outside every menu closes them all and is eaten.
bool TMenuTracker::ButtonDown(const TMsg& msg) {
  if (LevelAt(msg.Pt) >= 0) return true;
  TMenuItem* bi;
  TRect r;
  if (BarItemAt(msg.Pt, bi, r)) {
    if (bi == barItem_ && dropDown_ && bi->Count() > 0)
      done_ = true;
    else
      DropDownBarItem(bi, false);
    return true;
  }
  done_ = true;
  return true;
}

// A release on a row chooses it, or opens its submenu.
bool TMenuTracker::ButtonUp(const TMsg& msg) {
  Integer level = LevelAt(msg.Pt);
  if (level < 0) return true;
  TMenuWindow* w = levels_[size_t(level)];
  Integer row = w->RowAt(w->ScreenToClient(msg.Pt));
  if (row < 0) return true;
  w->Select(row);
  OpenRow(size_t(level), w->Rows[size_t(row)].Item);
  return true;
}

// An item with a submenu opens it; any other is chosen.
void TMenuTracker::OpenRow(size_t level, TMenuItem* item) {
  if (item->Count() > 0)
    OpenSub(level, true);
  else
    Choose(item);
}

bool TMenuTracker::KeyDown(const TMsg& msg) {
  TMenuWindow* w = levels_.empty() ? nullptr : levels_.back();
  switch (LoWord(msg.WParam)) {
    case VK_UP:
      if (w) w->Step(-1);
      break;
    case VK_DOWN:
      KeyDownArrow(w);
      break;
    case VK_RIGHT:
      KeyRightArrow(w);
      break;
    case VK_LEFT:
      if (levels_.size() > 1)
        CloseFrom(levels_.size() - 1);
      else
        BarSwitch(-1);
      break;
    case VK_RETURN:
      KeyReturn(w);
      break;
    case VK_ESCAPE:
      if (levels_.size() > 1)
        CloseFrom(levels_.size() - 1);
      else
        done_ = true;
      break;
    case VK_MENU:
      // Alt alone ends the loop when released (the release is the loop's).
      if (!(msg.LParam & KF_PREVDOWN_BIT)) altDown_ = true;
      return true;
    case VK_F10:
      done_ = true;
      break;
    default:
      break;
  }
  altDown_ = false;
  return true;
}

// Down steps in the open menu, or drops the selected bar item down.
void TMenuTracker::KeyDownArrow(TMenuWindow* w) {
  if (w)
    w->Step(1);
  else if (barItem_ && barItem_->Count() > 0)
    DropDownBarItem(barItem_, true);
}

// Right opens the selected row's submenu, or moves to the next bar item.
void TMenuTracker::KeyRightArrow(TMenuWindow* w) {
  if (w && w->SelectedItem() && w->SelectedItem()->Count() > 0)
    OpenSub(levels_.size() - 1, true);
  else
    BarSwitch(1);
}

// Return chooses or opens the selected row, or drops the bar item down.
void TMenuTracker::KeyReturn(TMenuWindow* w) {
  if (w && w->SelectedItem())
    OpenRow(levels_.size() - 1, w->SelectedItem());
  else if (!w && barItem_)
    DropDownBarItem(barItem_, true);
}

// A character picks the row of the open menu whose accelerator it is, or
// the bar item's when no menu is open.
bool TMenuTracker::CharTyped(const TMsg& msg) {
  TMenuWindow* w = levels_.empty() ? nullptr : levels_.back();
  const auto c = static_cast<char32_t>(msg.WParam);
  if (!w) {
    BarAccelerator(c);
    return true;
  }
  for (size_t i = 0; i < w->Rows.size(); ++i) {
    TMenuItem* item = w->Rows[i].Item;
    if (item->IsLine() || !IsAccel(c, item->Caption())) continue;
    w->Select(Integer(i));
    OpenRow(levels_.size() - 1, item);
    break;
  }
  return true;
}

// Releasing Alt after pressing it alone ends the loop.
bool TMenuTracker::KeyUp(const TMsg& msg) {
  if (LoWord(msg.WParam) == VK_MENU && altDown_) done_ = true;
  return true;
}

TMenuItem* TMenuTracker::Run(TMenuItem* root, TPoint pos, bool byKeyboard,
                             const std::function<void()>& action) {
  if (barForm_) {
    barItem_ = root;
    if (dropDown_) DropDownBarItem(root, byKeyboard);
  } else {
    Open(root, pos, byKeyboard, false);
  }
  TakeCapture();
  TApplication* app = Application();
  if (action) action();
  while (!done_) {
    TMsg msg;
    if (!brevant::PeekMessage(msg, 0, 0, 0, PM_REMOVE)) {
      if (!app->Idle()) RaiseModalStarved("PopupMenu");
      continue;
    }
    if (msg.Message == WM_QUIT) {
      brevant::PostQuitMessage(static_cast<Integer>(msg.WParam));
      break;
    }
    if (!Handle(msg)) DispatchControlMessage(msg);
    if (levels_.empty() && !barForm_) done_ = true;
  }
  if (capture_ && brevant::GetCapture() == capture_) brevant::ReleaseCapture();
  CloseFrom(0);
  return chosen_;
}

}  // namespace

TMenuItem* TrackPopupMenu(TMenuItem* root, TPoint pos, TPopupAlignment alignment,
                          TImageList* images, TCustomForm* barForm, bool byKeyboard,
                          const std::function<void()>& action, bool dropDown) {
  TMenuTracker tracker(images, alignment, barForm, dropDown);
  return tracker.Run(root, pos, byKeyboard, action);
}

std::vector<TWinControl*> OpenMenuWindows() {
  return {g_open.begin(), g_open.end()};
}

std::vector<TMenuBarItem> MenuBarLayout(TMainMenu* menu, TCanvas* canvas) {
  std::vector<TMenuBarItem> out;
  if (!menu) return out;
  Integer x = 0;
  for (Integer i = 0; i < menu->Items()->Count(); ++i) {
    TMenuItem* item = menu->Items()->Items(i);
    if (!item->Visible()) continue;
    Integer w = canvas->TextWidth(StripHotkey(item->Caption())) + 16;
    out.push_back({item, TRect(x, 0, x + w, kMenuBarHeight)});
    x += w;
  }
  return out;
}

}  // namespace brevant
