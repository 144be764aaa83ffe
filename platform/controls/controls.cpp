// TControl, TSizeConstraints, the shared helpers and the published tables.
#include "controls/controls.h"

#include <algorithm>

#include "classes/filer.h"
#include "classes/rtti_builder.h"
#include "controls/actions.h"
#include "controls/controls_internal.h"
#include "controls/datamodule.h"
#include "controls/dragdrop.h"
#include "controls/forms.h"
#include "controls/hintwindow.h"
#include "controls/menus.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"

namespace brevant {

// ---- shared state --------------------------------------------------------------------

namespace detail {
TControl* g_captureControl = nullptr;
TControl* g_mouseControl = nullptr;
bool (*g_appPreprocess)(TMsg& msg) = nullptr;
TCursor g_screenCursor = crDefault;

void SetMouseControl(TControl* control) {
  if (control == g_mouseControl) return;
  TControl* old = g_mouseControl;
  g_mouseControl = control;
  if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
  // A leave handler may have moved the pointer's control again.
  if (control && g_mouseControl == control)
    control->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(control));
}

void ForgetControl(TControl* control) {
  if (g_captureControl == control) {
    g_captureControl = nullptr;
    // The window capture stays with the window that holds it; a graphic
    // control's parent releases it when the control goes.
  }
  if (g_mouseControl == control) g_mouseControl = nullptr;
}
}  // namespace detail

TControl* MouseControl() {
  return detail::g_mouseControl;
}

TControl* GetCaptureControl() {
  HWND cap = brevant::GetCapture();
  if (cap == 0) {
    detail::g_captureControl = nullptr;
    return nullptr;
  }
  TControl* c = detail::g_captureControl;
  if (c) {
    TWinControl* w = dynamic_cast<TWinControl*>(c);
    HWND h = w ? w->WindowHandle() : (c->Parent() ? c->Parent()->WindowHandle() : 0);
    if (h == cap) return c;
  }
  return FindControl(cap);
}

void SetCaptureControl(TControl* control) {
  brevant::ReleaseCapture();
  detail::g_captureControl = nullptr;
  if (!control) return;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    if (!w->HandleAllocated()) return;
    brevant::SetCapture(w->WindowHandle());
  } else {
    TWinControl* p = control->Parent();
    if (!p || !p->HandleAllocated()) return;
    brevant::SetCapture(p->WindowHandle());
  }
  detail::g_captureControl = control;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
  TShiftState s;
  if (brevant::GetKeyState(VK_SHIFT) < 0) s += ssShift;
  if (brevant::GetKeyState(VK_CONTROL) < 0) s += ssCtrl;
  if (keyData & KF_ALTDOWN_BIT) s += ssAlt;
  return s;
}

TShiftState KeysToShiftState(WPARAM keys) {
  TShiftState s;
  if (keys & MK_SHIFT) s += ssShift;
  if (keys & MK_CONTROL) s += ssCtrl;
  if (keys & MK_LBUTTON) s += ssLeft;
  if (keys & MK_RBUTTON) s += ssRight;
  if (keys & MK_MBUTTON) s += ssMiddle;
  if (brevant::GetKeyState(VK_MENU) < 0) s += ssAlt;
  return s;
}

TWinControl* FindControl(HWND wnd) {
  if (wnd == 0 || !brevant::IsWindow(wnd)) return nullptr;
  return dynamic_cast<TWinControl*>(brevant::GetWindowProc(wnd));
}

TCustomForm* GetParentForm(const TControl* control) {
  if (!control) return nullptr;
  const TControl* c = control;
  while (c->Parent()) c = c->Parent();
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

TAliveGuard::TAliveGuard(const TControl* control) : control_(control->LifeToken()) {
  const TControl* top = control;
  while (top->Parent()) top = top->Parent();
  form_ = top->LifeToken();
}

// ---- TSizeConstraints ----------------------------------------------------------------------

void TSizeConstraints::Assign(const TPersistent* source) {
  if (auto* s = dynamic_cast<const TSizeConstraints*>(source)) {
    maxHeight_ = s->maxHeight_;
    maxWidth_ = s->maxWidth_;
    minHeight_ = s->minHeight_;
    minWidth_ = s->minWidth_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

// Negative limits mean nothing; they are stored as 0 (no limit). A minimum
// above the maximum raises the maximum, as the later setting wins.
void TSizeConstraints::SetMaxHeight(Integer value) {
  value = std::max<Integer>(value, 0);
  if (value == maxHeight_) return;
  maxHeight_ = value;
  if (value > 0 && minHeight_ > value) minHeight_ = value;
  Changed();
}

void TSizeConstraints::SetMaxWidth(Integer value) {
  value = std::max<Integer>(value, 0);
  if (value == maxWidth_) return;
  maxWidth_ = value;
  if (value > 0 && minWidth_ > value) minWidth_ = value;
  Changed();
}

void TSizeConstraints::SetMinHeight(Integer value) {
  value = std::max<Integer>(value, 0);
  if (value == minHeight_) return;
  minHeight_ = value;
  if (maxHeight_ > 0 && maxHeight_ < value) maxHeight_ = value;
  Changed();
}

void TSizeConstraints::SetMinWidth(Integer value) {
  value = std::max<Integer>(value, 0);
  if (value == minWidth_) return;
  minWidth_ = value;
  if (maxWidth_ > 0 && maxWidth_ < value) maxWidth_ = value;
  Changed();
}

void TSizeConstraints::Constrain(Integer& width, Integer& height) const {
  if (maxWidth_ > 0 && width > maxWidth_) width = maxWidth_;
  if (minWidth_ > 0 && width < minWidth_) width = minWidth_;
  if (maxHeight_ > 0 && height > maxHeight_) height = maxHeight_;
  if (minHeight_ > 0 && height < minHeight_) height = minHeight_;
}

// ---- TControl: life cycle ------------------------------------------------------------------

TControl::TControl(TComponent* owner)
    : TComponent(owner), color_(clWindow), cursor_(crDefault), dragCursor_(crDrag) {
  font_ = Create<TFont>();
  constraints_ = Create<TSizeConstraints>();
  controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
}

TControl::~TControl() {
  TObject::Free(font_);
  TObject::Free(constraints_);
}

void TControl::AfterConstruction() {
  font_->OnChange = TNotifyEvent::Of<&TControl::FontChanged>(this);
  constraints_->OnChange = TNotifyEvent::Of<&TControl::ConstraintsChanged>(this);
  TComponent::AfterConstruction();
}

void TControl::BeforeDestruction() {
  Destroying();
  detail::ForgetControl(this);
  DragForgetControl(this);
  if (parent_) SetParent(nullptr);
  font_->OnChange.Clear();
  constraints_->OnChange.Clear();
  TComponent::BeforeDestruction();
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (parent_) {
    if (parentColor_) Perform(CM_PARENTCOLORCHANGED);
    if (parentFont_) Perform(CM_PARENTFONTCHANGED);
    if (parentShowHint_) Perform(CM_PARENTSHOWHINTCHANGED);
    if (parentBiDiMode_) Perform(CM_PARENTBIDIMODECHANGED);
  }
  if (align_ != alNone) RequestAlign();
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
}

// ---- parent ------------------------------------------------------------------------------------

void TControl::SetParent(TWinControl* value) {
  if (value == parent_) return;
  if (value) {
    for (const TControl* c = value; c; c = c->Parent())
      if (c == this) throw EInvalidOperation(res::SControlParentSetToSelf);
  }
  TWinControl* old = parent_;
  if (old) old->RemoveControl(this);
  if (value) value->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const {
  return parent_;
}

void TControl::SetParentComponent(TComponent* value) {
  if (auto* w = dynamic_cast<TWinControl*>(value)) SetParent(w);
}

// ---- geometry
// ------------------------------------------------------------------------------------

void TControl::ConstrainSize(Integer& width, Integer& height) {
  constraints_->Constrain(width, height);
}

void TControl::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  width = std::max<Integer>(width, 0);
  height = std::max<Integer>(height, 0);
  if (!IsLoading()) ConstrainSize(width, height);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool sized = width != width_ || height != height_;
  InvalidateControl(Visible(), false);
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (IsLoading()) return;
  InvalidateControl(Visible(), controlStyle_.Contains(csOpaque));
  BoundsChanged();
  if (sized) Resize();
  RequestAlign();
}

TRect TControl::GetClientRect() const {
  return Rect(0, 0, width_, height_);
}

void TControl::SetClientWidth(Integer value) {
  SetClientSize(value, ClientHeight());
}

void TControl::SetClientHeight(Integer value) {
  SetClientSize(ClientWidth(), value);
}

void TControl::SetClientSize(Integer width, Integer height) {
  TRect client = GetClientRect();
  SetBounds(left_, top_, width_ - client.Width() + width, height_ - client.Height() + height);
}

TPoint TControl::ClientOrigin() const {
  if (!parent_) return {left_, top_};
  TPoint p = parent_->ClientOrigin();
  return {p.X + left_, p.Y + top_};
}

TPoint TControl::ClientToScreen(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X + o.X, p.Y + o.Y};
}

TPoint TControl::ScreenToClient(TPoint p) const {
  TPoint o = ClientOrigin();
  return {p.X - o.X, p.Y - o.Y};
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  TAlign old = align_;
  align_ = value;
  if (IsLoading()) return;
  // A control leaving an alignment keeps its last bounds; one joining an
  // alignment is placed by its parent.
  if ((old != alNone || value != alNone) && parent_ && !parent_->IsDestroying()) parent_->Realign();
}

void TControl::SetAnchors(TAnchors value) {
  anchors_ = value;
}

void TControl::ConstraintsChanged(TObject*) {
  if (IsLoading()) return;
  SetBounds(left_, top_, width_, height_);
}

void TControl::RequestAlign() {
  if (align_ != alNone && parent_ && !parent_->IsDestroying()) parent_->Realign();
}

// ---- state
// ------------------------------------------------------------------------------------------

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  if (!value) InvalidateControl(true, false);
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value ? 1 : 0);
  if (value) InvalidateControl(true, controlStyle_.Contains(csOpaque));
  if (!IsLoading()) RequestAlign();
}

bool TControl::Showing() const {
  return visible_ && parent_ && parent_->Showing();
}

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor value) {
  if (value != color_) {
    color_ = value;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
  } else {
    parentColor_ = false;
  }
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value && parent_ && !IsLoading()) Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(TFont* value) {
  if (value) font_->Assign(value);
}

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value && parent_ && !IsLoading()) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged(TObject*) {
  if (!adoptingParentFont_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetText(const String& value) {
  if (value == text_) return;
  text_ = value;
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    brevant::SetWindowText(w->WindowHandle(), value);
  Perform(CM_TEXTCHANGED);
}

void TControl::SetShowHint(bool value) {
  if (value == showHint_ && !parentShowHint_) return;
  showHint_ = value;
  parentShowHint_ = false;
  Perform(CM_SHOWHINTCHANGED);
}

void TControl::SetParentShowHint(bool value) {
  if (value == parentShowHint_) return;
  parentShowHint_ = value;
  if (value && parent_ && !IsLoading()) Perform(CM_PARENTSHOWHINTCHANGED);
}

void TControl::SetBiDiMode(TBiDiMode value) {
  parentBiDiMode_ = false;
  if (value == biDiMode_) return;
  biDiMode_ = value;
  Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool value) {
  if (value == parentBiDiMode_) return;
  parentBiDiMode_ = value;
  if (value && parent_ && !IsLoading()) Perform(CM_PARENTBIDIMODECHANGED);
}

TAlignment TControl::BiDiAlignment(TAlignment alignment) const {
  if (!UseRightToLeftAlignment() || alignment == taCenter) return alignment;
  return alignment == taLeftJustify ? taRightJustify : taLeftJustify;
}

void TControl::SetPopupMenu(TComponent* value) {
  if (value == popupMenu_) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (value) value->FreeNotification(this);
}

void TControl::SetCursor(TCursor value) {
  if (value == cursor_) return;
  cursor_ = value;
  Perform(CM_CURSORCHANGED);
}

bool TControl::MouseCapture() const {
  return GetCaptureControl() == this;
}

void TControl::SetMouseCapture(bool value) {
  if (value == MouseCapture()) return;
  SetCaptureControl(value ? this : nullptr);
}

// ---- painting
// ------------------------------------------------------------------------------------------

// isOpaque: the control covers its whole rectangle when painted there, so
// the parent need not erase it first. The area a control leaves (hidden,
// moved, shrunk) is never covered by it, and is invalidated with false.
void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
  if (!isVisible || !parent_ || !parent_->HandleAllocated()) return;
  if (dynamic_cast<TWinControl*>(this)) return;  // its own window repaints
  TRect r = BoundsRect();
  brevant::InvalidateRect(parent_->WindowHandle(), &r, !isOpaque);
}

void TControl::Invalidate() {
  InvalidateControl(visible_, controlStyle_.Contains(csOpaque));
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  list.push_back(this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    brevant::SetWindowPos(w->WindowHandle(), HWND_TOP, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  list.insert(list.begin(), this);
  if (auto* w = dynamic_cast<TWinControl*>(this); w && w->HandleAllocated())
    brevant::SetWindowPos(w->WindowHandle(), HWND_BOTTOM, 0, 0, 0, 0,
                          SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Invalidate();
}

// ---- messages
// ---------------------------------------------------------------------------------------------

LRESULT TControl::Perform(Cardinal msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WndProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& m) {
  if (m.Msg >= WM_MOUSEFIRST && m.Msg <= WM_MOUSELAST) {
    // Without csDoubleClicks a second press is an ordinary press.
    if (!controlStyle_.Contains(csDoubleClicks)) {
      switch (m.Msg) {
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
          m.Msg -= WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
          break;
        default:
          break;
      }
    }
    switch (m.Msg) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        controlState_ += csLButtonDown;
        break;
      case WM_LBUTTONUP:
        controlState_ -= csLButtonDown;
        break;
      default:
        break;
    }
  }
  Dispatch(m);
}

void TControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      WMPaint(m);
      break;
    case WM_MOUSEMOVE:
      WMMouseMove(m);
      break;
    case WM_LBUTTONDOWN:
      WMLButtonDown(m);
      break;
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(m);
      break;
    case WM_LBUTTONUP:
      WMLButtonUp(m);
      break;
    case WM_RBUTTONDOWN:
      WMRButtonDown(m);
      break;
    case WM_RBUTTONDBLCLK:
      WMRButtonDblClk(m);
      break;
    case WM_RBUTTONUP:
      WMRButtonUp(m);
      break;
    case WM_MBUTTONDOWN:
      WMMButtonDown(m);
      break;
    case WM_MBUTTONDBLCLK:
      WMMButtonDblClk(m);
      break;
    case WM_MBUTTONUP:
      WMMButtonUp(m);
      break;
    case WM_CONTEXTMENU:
      WMContextMenu(m);
      break;
    case WM_CANCELMODE:
      WMCancelMode(m);
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(m);
      break;
    case CM_VISIBLECHANGED:
      CMVisibleChanged(m);
      break;
    case CM_COLORCHANGED:
      CMColorChanged(m);
      break;
    case CM_PARENTCOLORCHANGED:
      CMParentColorChanged(m);
      break;
    case CM_FONTCHANGED:
      CMFontChanged(m);
      break;
    case CM_PARENTFONTCHANGED:
      CMParentFontChanged(m);
      break;
    case CM_TEXTCHANGED:
      CMTextChanged(m);
      break;
    case CM_SHOWHINTCHANGED:
      CMShowHintChanged(m);
      break;
    case CM_PARENTSHOWHINTCHANGED:
      CMParentShowHintChanged(m);
      break;
    case CM_BIDIMODECHANGED:
      CMBiDiModeChanged(m);
      break;
    case CM_PARENTBIDIMODECHANGED:
      CMParentBiDiModeChanged(m);
      break;
    case CM_CURSORCHANGED:
      CMCursorChanged(m);
      break;
    case CM_MOUSEENTER:
      CMMouseEnter(m);
      break;
    case CM_MOUSELEAVE:
      CMMouseLeave(m);
      break;
    case CM_CANCELMODE:
      CMCancelMode(m);
      break;
    case CM_HITTEST:
      CMHitTest(m);
      break;
    case CM_DRAG:
      CMDrag(m);
      break;
    default:
      DefaultHandler(m);
      break;
  }
}

void TControl::DefaultHandler(TMessage&) {}

// ---- default message handlers
// -------------------------------------------------------------------------

void TControl::WMPaint(TMessage& m) {
  DefaultHandler(m);
}

void TControl::DoMouseDown(TMessage& m, TMouseButton button, TShiftState shift) {
  if (controlStyle_.Contains(csNoStdEvents)) return;
  TPoint p = LParamToPoint(m.LParam);
  MouseDown(button, KeysToShiftState(m.WParam) + shift, p.X, p.Y);
}

void TControl::DoMouseUp(TMessage& m, TMouseButton button) {
  if (controlStyle_.Contains(csNoStdEvents)) return;
  TPoint p = LParamToPoint(m.LParam);
  MouseUp(button, KeysToShiftState(m.WParam), p.X, p.Y);
}

void TControl::WMMouseMove(TMessage& m) {
  TAliveGuard alive(this);
  DefaultHandler(m);
  if (!alive.Alive() || controlStyle_.Contains(csNoStdEvents)) return;
  TPoint p = LParamToPoint(m.LParam);
  MouseMove(KeysToShiftState(m.WParam), p.X, p.Y);
}

// The handlers below stop as soon as an event handler (or the focus change
// a press makes) has freed the control or its form.
void TControl::WMLButtonDown(TMessage& m) {
  TAliveGuard alive(this);
  SendCancelMode(this);
  DefaultHandler(m);
  if (!alive.Alive()) return;
  if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
  if (controlStyle_.Contains(csClickEvents)) controlState_ += csClicked;
  DoMouseDown(m, mbLeft, {});
  if (!alive.Alive()) return;
  // Automatic drag mode: a press arms a drag that starts past the threshold.
  if (dragMode_ == dmAutomatic && !IsDesigning() && !Dragging()) BeginDrag(false);
}

void TControl::WMLButtonDblClk(TMessage& m) {
  TAliveGuard alive(this);
  SendCancelMode(this);
  DefaultHandler(m);
  if (!alive.Alive()) return;
  if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(true);
  DblClick();
  if (!alive.Alive()) return;
  DoMouseDown(m, mbLeft, {ssDouble});
}

void TControl::WMLButtonUp(TMessage& m) {
  TAliveGuard alive(this);
  DefaultHandler(m);
  if (!alive.Alive()) return;
  if (controlStyle_.Contains(csCaptureMouse)) SetMouseCapture(false);
  if (controlState_.Contains(csClicked)) {
    controlState_ -= csClicked;
    if (PtInRect(GetClientRect(), LParamToPoint(m.LParam))) Click();
    if (!alive.Alive()) return;
  }
  DoMouseUp(m, mbLeft);
}

void TControl::WMRButtonDown(TMessage& m) {
  TAliveGuard alive(this);
  SendCancelMode(this);
  DefaultHandler(m);
  if (alive.Alive()) DoMouseDown(m, mbRight, {});
}

void TControl::WMRButtonDblClk(TMessage& m) {
  TAliveGuard alive(this);
  SendCancelMode(this);
  DefaultHandler(m);
  if (alive.Alive()) DoMouseDown(m, mbRight, {ssDouble});
}

void TControl::WMRButtonUp(TMessage& m) {
  TAliveGuard alive(this);
  DefaultHandler(m);
  if (alive.Alive()) DoMouseUp(m, mbRight);
  // A window asks for its context menu in its default handling of the
  // release; a control without one asks itself, then its parent.
  if (!alive.Alive() || dynamic_cast<TWinControl*>(this) || !parent_) return;
  const LPARAM at = PointToLParam(ClientToScreen(LParamToPoint(m.LParam)));
  if (Perform(WM_CONTEXTMENU, 0, at) == 0 && alive.Alive() && parent_)
    parent_->Perform(WM_CONTEXTMENU, 0, at);
}

void TControl::WMMButtonDown(TMessage& m) {
  TAliveGuard alive(this);
  SendCancelMode(this);
  DefaultHandler(m);
  if (alive.Alive()) DoMouseDown(m, mbMiddle, {});
}

void TControl::WMMButtonDblClk(TMessage& m) {
  TAliveGuard alive(this);
  SendCancelMode(this);
  DefaultHandler(m);
  if (alive.Alive()) DoMouseDown(m, mbMiddle, {ssDouble});
}

void TControl::WMMButtonUp(TMessage& m) {
  TAliveGuard alive(this);
  DefaultHandler(m);
  if (alive.Alive()) DoMouseUp(m, mbMiddle);
}

void TControl::WMContextMenu(TMessage& m) {
  // LParam: the screen position, (-1, -1) from the keyboard.
  TPoint screen = LParamToPoint(m.LParam);
  TPoint pos = (screen.X == -1 && screen.Y == -1) ? TPoint{-1, -1} : ScreenToClient(screen);
  bool handled = false;
  DoContextPopup(pos, handled);
  if (handled) {
    m.Result = 1;
    return;
  }
  if (auto* menu = dynamic_cast<TPopupMenu*>(popupMenu_); menu && menu->AutoPopup()) {
    if (screen.X == -1 && screen.Y == -1) screen = ClientToScreen({0, 0});
    menu->SetPopupComponent(this);
    menu->Popup(screen.X, screen.Y);
    m.Result = 1;
    return;
  }
  DefaultHandler(m);
}

void TControl::WMCancelMode(TMessage& m) {
  DefaultHandler(m);
  if (MouseCapture()) {
    SetMouseCapture(false);
    if (controlState_.Contains(csLButtonDown)) {
      controlState_ -= {csLButtonDown, csClicked};
      TMessage up{WM_LBUTTONUP, 0, PointToLParam({-1, -1}), 0};
      DoMouseUp(up, mbLeft);
    }
  } else {
    controlState_ -= csLButtonDown;
  }
}

void TControl::CMEnabledChanged(TMessage&) {
  Invalidate();
}

void TControl::CMVisibleChanged(TMessage&) {}

void TControl::CMColorChanged(TMessage&) {
  Invalidate();
}

void TControl::CMParentColorChanged(TMessage& m) {
  if (!parentColor_) return;
  TColor c = m.WParam != 0 ? static_cast<TColor>(m.LParam) : (parent_ ? parent_->Color() : color_);
  SetColor(c);
  parentColor_ = true;
}

void TControl::CMFontChanged(TMessage&) {
  Invalidate();
}

void TControl::CMParentFontChanged(TMessage& m) {
  if (!parentFont_) return;
  const TFont* source = m.WParam != 0 ? reinterpret_cast<const TFont*>(m.LParam)
                                      : (parent_ ? parent_->Font() : nullptr);
  if (!source) return;
  {
    TTemporaryChange adopting(adoptingParentFont_, true);
    font_->Assign(source);
  }
  parentFont_ = true;
}

void TControl::CMTextChanged(TMessage&) {
  Invalidate();
}

void TControl::CMShowHintChanged(TMessage&) {}

void TControl::CMParentShowHintChanged(TMessage&) {
  if (!parentShowHint_ || !parent_) return;
  SetShowHint(parent_->ShowHint());
  parentShowHint_ = true;
}

void TControl::CMBiDiModeChanged(TMessage&) {
  Invalidate();
}

void TControl::CMParentBiDiModeChanged(TMessage&) {
  if (!parentBiDiMode_ || !parent_) return;
  SetBiDiMode(parent_->BiDiMode());
  parentBiDiMode_ = true;
}

void TControl::CMCursorChanged(TMessage&) {}

void TControl::CMMouseEnter(TMessage&) {}

void TControl::CMMouseLeave(TMessage&) {}

void TControl::CMCancelMode(TMessage&) {}

void TControl::CMHitTest(TMessage& m) {
  m.Result = HTCLIENT;
}

void TControl::SendCancelMode(TControl* sender) {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  form->SendCancelMode(sender);
}

// ---- virtual input handlers
// ----------------------------------------------------------------------------

void TControl::Click() {
  OnClick(this);
}

void TControl::DblClick() {
  OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, Integer x, Integer y) {
  OnMouseMove(this, shift, x, y);
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled) {
  OnContextPopup(this, mousePos, handled);
}

void TControl::Resize() {
  OnResize(this);
}

void TControl::DragOver(TObject* source, Integer x, Integer y, TDragState state, bool& accept) {
  accept = false;
  if (OnDragOver) {
    accept = true;
    OnDragOver(this, source, x, y, state, accept);
  }
}

void TControl::BeginDrag(bool immediate, Integer threshold) {
  BeginDragOf(this, immediate, threshold);
}

void TControl::EndDrag(bool drop) {
  EndDragOf(this, drop);
}

bool TControl::Dragging() const {
  return DragSource() == this && brevant::Dragging();
}

void TControl::CMDrag(TMessage& m) {
  auto* rec = reinterpret_cast<TDragRec*>(m.LParam);
  if (!rec) return;
  TPoint p = ScreenToClient(rec->Pos);
  TObject* source = DragSourceOf(rec->Source);
  switch (static_cast<TDragMessage>(m.WParam)) {
    case dmDragEnter:
    case dmDragLeave:
    case dmDragMove: {
      TDragState state = m.WParam == dmDragEnter   ? dsDragEnter
                         : m.WParam == dmDragLeave ? dsDragLeave
                                                   : dsDragMove;
      bool accept = false;
      DragOver(source, p.X, p.Y, state, accept);
      m.Result = accept ? 1 : 0;
      break;
    }
    case dmDragDrop:
      DragDrop(source, p.X, p.Y);
      break;
    case dmFindTarget:
      m.Result = reinterpret_cast<LRESULT>(this);
      break;
    case dmDragCancel:
      break;
  }
}

void TControl::DragDrop(TObject* source, Integer x, Integer y) {
  OnDragDrop(this, source, x, y);
}

void TControl::DoStartDrag(TDragObject*& dragObject) {
  OnStartDrag(this, dragObject);
}

void TControl::DoEndDrag(TObject* target, Integer x, Integer y) {
  OnEndDrag(this, target, x, y);
}

// ---- published tables
// ------------------------------------------------------------------------------------

BV_ENUM_INFO(TBiDiMode, bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign,
             bdRightToLeftReadingOnly)
BV_ENUM_INFO(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
BV_ENUM_INFO(TAnchorKind, akLeft, akTop, akRight, akBottom)
BV_SET_INFO(TAnchors, TAnchorKind)
BV_ENUM_INFO(TMouseButton, mbLeft, mbRight, mbMiddle)
BV_ENUM_INFO(TShiftStateEnum, ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble)
BV_SET_INFO(TShiftState, TShiftStateEnum)
BV_ENUM_INFO(TDragMode, dmManual, dmAutomatic)
BV_ENUM_INFO(TDragKind, dkDrag, dkDock)
BV_ENUM_INFO(TDragState, dsDragEnter, dsDragLeave, dsDragMove)

const TTypeInfo* TypeInfoTCursor() {
  static const TTypeInfo* info = NamedType(TypeInfoOf<SmallInt>(), "TCursor");
  return info;
}

BV_PUBLISH(TSizeConstraints, TPersistent) {
  p.Property("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
  p.Property("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
  p.Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
  p.Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
}

BV_PUBLISH(TControl, TComponent) {
  p.Property("Left", &TControl::Left, &TControl::SetLeft);
  p.Property("Top", &TControl::Top, &TControl::SetTop);
  p.Property("Width", &TControl::Width, &TControl::SetWidth);
  p.Property("Height", &TControl::Height, &TControl::SetHeight);
  p.Property("Cursor", &TControl::Cursor, &TControl::SetCursor)
      .Type(TypeInfoTCursor())
      .Default(crDefault);
  p.Property("Hint", &TControl::Hint, &TControl::SetHint);
  p.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
  p.Property("Anchors", &TControl::Anchors, &TControl::SetAnchors).Default(TAnchors{akLeft, akTop});
  p.Property("Constraints", &TControl::Constraints, &TControl::SetConstraints);
  p.Property("Color", &TControl::Color, &TControl::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TControl::IsColorStored)
      .NoDefault();
  p.Property("DragCursor", &TControl::DragCursor, &TControl::SetDragCursor)
      .Type(TypeInfoTCursor())
      .Default(crDrag);
  p.Property("DragKind", &TControl::DragKind, &TControl::SetDragKind).Default(dkDrag);
  p.Property("DragMode", &TControl::DragMode, &TControl::SetDragMode).Default(dmManual);
  p.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(1);
  p.Property("Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored);
  p.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(0);
  p.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(1);
  p.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(1);
  p.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  p.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint)
      .Stored(&TControl::IsShowHintStored)
      .Default(0);
  p.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(1);
  p.Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode)
      .Stored(&TControl::IsBiDiModeStored)
      .Default(bdLeftToRight);
  p.Property("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode).Default(1);
  p.Event("OnClick", &TControl::OnClick, "TNotifyEvent");
  p.Event("OnContextPopup", &TControl::OnContextPopup, "TContextPopupEvent");
  p.Event("OnDblClick", &TControl::OnDblClick, "TNotifyEvent");
  p.Event("OnDragDrop", &TControl::OnDragDrop, "TDragDropEvent");
  p.Event("OnDragOver", &TControl::OnDragOver, "TDragOverEvent");
  p.Event("OnEndDock", &TControl::OnEndDock, "TEndDragEvent");
  p.Event("OnEndDrag", &TControl::OnEndDrag, "TEndDragEvent");
  p.Event("OnMouseDown", &TControl::OnMouseDown, "TMouseEvent");
  p.Event("OnMouseMove", &TControl::OnMouseMove, "TMouseMoveEvent");
  p.Event("OnMouseUp", &TControl::OnMouseUp, "TMouseEvent");
  p.Event("OnResize", &TControl::OnResize, "TNotifyEvent");
  p.Event("OnStartDock", &TControl::OnStartDock, "TStartDockEvent");
  p.Event("OnStartDrag", &TControl::OnStartDrag, "TStartDragEvent");
}

namespace {

// Colour identifiers ("clNone", "clBtnFace") in form streams.
bool IdentToColorConst(const String& ident, Int64& value) {
  TColor color = 0;
  if (!IdentToColor(ident, color)) return false;
  value = color;
  return true;
}

bool ColorConstToIdent(Int64 value, String& ident) {
  return ColorToIdent(static_cast<TColor>(value), ident);
}

}  // namespace

void RegisterControlClasses() {
  RegisterIntegerConsts(TypeInfoTColor(), IdentToColorConst, ColorConstToIdent);
  RegisterClasses({TControl::StaticClass(), TWinControl::StaticClass(),
                   TCustomControl::StaticClass(), TGraphicControl::StaticClass(),
                   TCustomForm::StaticClass(), TForm::StaticClass()});
  // The forms layer's streamable classes.
  RegisterClasses({TDataModule::StaticClass(), TMainMenu::StaticClass(), TPopupMenu::StaticClass(),
                   TMenuItem::StaticClass(), TAction::StaticClass(), THintWindow::StaticClass(),
                   TDragImageList::StaticClass()});
}

}  // namespace brevant
