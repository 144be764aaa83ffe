// TWinControl's message dispatch, focus, keyboard and mouse routing; the
// painted controls; the message loop step.
#include <algorithm>

#include "classes/rtti_builder.h"
#include "controls/controls.h"
#include "controls/controls_internal.h"
#include "controls/dragdrop.h"
#include "controls/forms.h"
#include "controls/menus.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"

namespace brevant {

// ---- dispatch --------------------------------------------------------------------------------

void TWinControl::WndProc(TMessage& m) {
  // Messages of the window's creation arrive before CreateWindowHandle
  // answers; the default procedure needs the handle already.
  if (!handle_ && controlState_.Contains(csCreating)) handle_ = FindCreatingHandle();
  switch (m.Msg) {
    case WM_SETFOCUS:
      if (!TakeFormFocus()) return;
      break;
    case WM_KILLFOCUS:
      if (controlState_.Contains(csFocusing)) return;
      break;
    case WM_MOUSEMOVE:
      if (TrackMouseMove(m)) return;
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      if (IsControlMouseMsg(m)) return;
      break;
    case WM_MOUSELEAVE:
      MouseLeftWindow();
      break;
    default:
      break;
  }
  TControl::WndProc(m);
}

// The window got the focus: the form makes this its focused control (CM_EXIT
// and CM_ENTER). False when that failed or the focus moved on meanwhile,
// and the message goes no further; a failure goes to the application's
// handler, since the window manager's focus change cannot be undone here.
bool TWinControl::TakeFormFocus() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return true;
  bool switched = false;
  try {
    switched = form->SetFocusedControl(this);
  } catch (const Exception& e) {
    HandleException(this, e);
    return false;
  } catch (const std::exception& e) {
    HandleException(this, Exception(String(e.what())));
    return false;
  }
  return switched;
}

// The pointer moved over the window: the control under it becomes the
// mouse control. True when a graphic child took the message.
bool TWinControl::TrackMouseMove(TMessage& m) {
  if (handle_) UpdateMouseControl(brevant::ClientToScreen(handle_, LParamToPoint(m.LParam)));
  return IsControlMouseMsg(m);
}

// The pointer left this window: for another window (whose mouse move has set
// the new control already, or will) or for none.
void TWinControl::MouseLeftWindow() {
  TControl* hot = detail::g_mouseControl;
  if (hot && (hot == this || (hot->parent_ == this && !dynamic_cast<TWinControl*>(hot))))
    detail::SetMouseControl(nullptr);
}

void TWinControl::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_PAINT:
      WMPaint(m);
      break;
    case WM_ERASEBKGND:
      WMEraseBkgnd(m);
      break;
    case WM_SIZE:
      WMSize(m);
      break;
    case WM_MOVE:
      WMMove(m);
      break;
    case WM_WINDOWPOSCHANGED:
      WMWindowPosChanged(m);
      break;
    case WM_SETFOCUS:
      WMSetFocus(m);
      break;
    case WM_KILLFOCUS:
      WMKillFocus(m);
      break;
    case WM_KEYDOWN:
      WMKeyDown(m);
      break;
    case WM_KEYUP:
      WMKeyUp(m);
      break;
    case WM_CHAR:
      WMChar(m);
      break;
    case WM_SYSKEYDOWN:
      WMSysKeyDown(m);
      break;
    case WM_SYSKEYUP:
      WMSysKeyUp(m);
      break;
    case WM_SYSCHAR:
      WMSysChar(m);
      break;
    case WM_GETDLGCODE:
      WMGetDlgCode(m);
      break;
    case WM_TIMER:
      WMTimer(m);
      break;
    case WM_VSCROLL:
      WMVScroll(m);
      break;
    case WM_HSCROLL:
      WMHScroll(m);
      break;
    case WM_MOUSEWHEEL:
      WMMouseWheel(m);
      break;
    case WM_SETCURSOR:
      WMSetCursor(m);
      break;
    case WM_NCHITTEST:
      WMNCHitTest(m);
      break;
    case WM_NCCALCSIZE:
      WMNCCalcSize(m);
      break;
    case WM_NCPAINT:
      WMNCPaint(m);
      break;
    case WM_DESTROY:
      WMDestroy(m);
      break;
    case WM_NCDESTROY:
      WMNCDestroy(m);
      break;
    case CN_KEYDOWN:
      CNKeyDown(m);
      break;
    case CN_KEYUP:
      CNKeyUp(m);
      break;
    case CN_CHAR:
      CNChar(m);
      break;
    case CN_SYSKEYDOWN:
      CNSysKeyDown(m);
      break;
    case CN_SYSCHAR:
      CNSysChar(m);
      break;
    case CM_ENTER:
      CMEnter(m);
      break;
    case CM_EXIT:
      CMExit(m);
      break;
    case CM_DIALOGKEY:
      CMDialogKey(m);
      break;
    case CM_DIALOGCHAR:
      CMDialogChar(m);
      break;
    case CM_WANTSPECIALKEY:
      CMWantSpecialKey(m);
      break;
    case CM_CHILDKEY:
      CMChildKey(m);
      break;
    case CM_FOCUSCHANGED:
      CMFocusChanged(m);
      break;
    default:
      TControl::Dispatch(m);
      break;
  }
}

// The window being created for this control: the newest child of the parent
// window with this control as its procedure, or for a top-level window the
// newest handle (handles are numbered upwards).
HWND TWinControl::FindCreatingHandle() const {
  // During creation the window manager is running this window's procedure.
  HWND h = GetMessageWindow();
  return brevant::GetWindowProc(h) == static_cast<const IWindowProc*>(this) ? h : 0;
}

void TWinControl::CMDrag(TMessage& m) {
  if (m.WParam == dmFindTarget && handle_) {
    auto* rec = reinterpret_cast<TDragRec*>(m.LParam);
    TControl* c = rec ? ControlAtPos(ScreenToClient(rec->Pos), false) : nullptr;
    m.Result = reinterpret_cast<LRESULT>(c ? c : this);
    return;
  }
  TControl::CMDrag(m);
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TControl* c : std::vector<TControl*>(controls_))
    if (c->Owner() == root) proc(c);
}

// ---- mouse routing and hover -------------------------------------------------------------------

bool TWinControl::IsControlMouseMsg(TMessage& m) {
  TControl* target = nullptr;
  if (handle_ && brevant::GetCapture() == handle_) {
    TControl* cap = detail::g_captureControl;
    if (cap && cap->parent_ == this && !dynamic_cast<TWinControl*>(cap)) target = cap;
  } else {
    target = ControlAtPos(LParamToPoint(m.LParam), false);
  }
  if (!target) return false;
  TPoint p = LParamToPoint(m.LParam);
  m.Result =
      target->Perform(m.Msg, m.WParam, PointToLParam({p.X - target->left_, p.Y - target->top_}));
  return true;
}

void TWinControl::UpdateMouseControl(TPoint screenPos) {
  TControl* hot = nullptr;
  if (TWinControl* w = FindControl(brevant::WindowFromPoint(screenPos))) {
    TControl* g = w->handle_
                      ? w->ControlAtPos(brevant::ScreenToClient(w->handle_, screenPos), false)
                      : nullptr;
    hot = g ? g : w;
  }
  detail::SetMouseControl(hot);
}

// ---- focus
// ---------------------------------------------------------------------------------------------

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (handle_) {
    Cardinal style = brevant::GetWindowLong(handle_, GWL_STYLE);
    brevant::SetWindowLong(handle_, GWL_STYLE,
                           value ? (style | WS_TABSTOP) : (style & ~WS_TABSTOP));
  }
  Perform(CM_TABSTOPCHANGED);
}

Integer TWinControl::TabOrder() const {
  if (IsLoading() && loadedTabOrder_ >= 0) return loadedTabOrder_;
  if (!parent_) return -1;
  const auto& list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

void TWinControl::SetTabOrder(Integer value) {
  if (IsLoading()) {
    loadedTabOrder_ = value;
    return;
  }
  if (!parent_) return;
  auto& list = parent_->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  Integer count = static_cast<Integer>(list.size());
  value = std::clamp<Integer>(value, 0, count);
  list.insert(list.begin() + value, this);
}

bool TWinControl::CanFocus() const {
  TCustomForm* form = GetParentForm(this);
  if (form) {
    for (const TControl* c = this; c && c != form; c = c->parent_)
      if (!c->Visible() || !c->Enabled()) return false;
    return true;
  }
  for (const TControl* c = this; c; c = c->parent_)
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const {
  return handle_ != 0 && brevant::GetFocus() == handle_;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
    return;
  }
  if (!CanFocus()) throw EInvalidOperation(res::SCannotFocus);
  HandleNeeded();
  brevant::SetFocus(handle_);
}

void TWinControl::RemoveFocus(bool removing) {
  if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(this, removing);
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const Integer count = static_cast<Integer>(list.size());
  auto found = std::find(list.begin(), list.end(), current);
  Integer start = found == list.end() ? (goForward ? count - 1 : 0)
                                      : static_cast<Integer>(found - list.begin());
  Integer i = start;
  do {
    if (goForward) {
      if (++i == count) i = 0;
    } else {
      if (i == 0) i = count;
      --i;
    }
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c->CanFocus() && (!checkTabStop || c->tabStop_) && (!checkParent || c->parent_ == this))
      return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* c = FindNextControl(current, goForward, checkTabStop, !checkTabStop))
    c->SetFocus();
}

void TWinControl::SelectFirst() {
  TWinControl* c = FindNextControl(nullptr, true, true, false);
  if (!c) c = FindNextControl(nullptr, true, false, false);
  if (c) c->SetFocus();
}

void TWinControl::DoEnter() {
  OnEnter(this);
}

void TWinControl::DoExit() {
  OnExit(this);
}

void TWinControl::CMEnter(TMessage&) {
  DoEnter();
}

void TWinControl::CMExit(TMessage&) {
  DoExit();
}

void TWinControl::CMFocusChanged(TMessage& m) {
  Broadcast(m);
}

void TWinControl::WMSetFocus(TMessage& m) {
  DefaultHandler(m);
  UpdateImeHints();
}

void TWinControl::WMKillFocus(TMessage& m) {
  DefaultHandler(m);
}

// ---- keyboard
// ----------------------------------------------------------------------------------------------

void TWinControl::KeyDown(Word& key, TShiftState shift) {
  OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(Word& key, TShiftState shift) {
  OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char32_t& key) {
  OnKeyPress(this, key);
}

bool TWinControl::DoKeyDown(TMessage& m) {
  return DoKey(m, true);
}

bool TWinControl::DoKeyUp(TMessage& m) {
  return DoKey(m, false);
}

// A key's down or up event: the form sees it first with KeyPreview; a
// handler that clears the key consumes it, and so does one that frees the
// control or its form.
bool TWinControl::DoKey(TMessage& m, bool down) {
  TAliveGuard alive(this);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKey(m, down)) return true;
  if (!alive.Alive()) return true;
  if (!controlStyle_.Contains(csNoStdEvents)) {
    Word key = LoWord(m.WParam);
    if (down)
      KeyDown(key, KeyDataToShiftState(m.LParam));
    else
      KeyUp(key, KeyDataToShiftState(m.LParam));
    m.WParam = key;
    if (key == 0 || !alive.Alive()) return true;
  }
  return false;
}

bool TWinControl::DoKeyPress(TMessage& m) {
  TAliveGuard alive(this);
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview() && form->DoKeyPress(m)) return true;
  if (!alive.Alive()) return true;
  if (!controlStyle_.Contains(csNoStdEvents)) {
    char32_t key = static_cast<char32_t>(m.WParam);
    KeyPress(key);
    m.WParam = static_cast<WPARAM>(key);
    if (key == 0 || !alive.Alive()) return true;
  }
  return false;
}

void TWinControl::WMKeyDown(TMessage& m) {
  if (!DoKeyDown(m)) DefaultHandler(m);
}

void TWinControl::WMKeyUp(TMessage& m) {
  if (!DoKeyUp(m)) DefaultHandler(m);
}

void TWinControl::WMChar(TMessage& m) {
  if (!DoKeyPress(m)) DefaultHandler(m);
}

void TWinControl::WMSysKeyDown(TMessage& m) {
  if (!DoKeyDown(m)) DefaultHandler(m);
}

void TWinControl::WMSysKeyUp(TMessage& m) {
  if (!DoKeyUp(m)) DefaultHandler(m);
}

void TWinControl::WMSysChar(TMessage& m) {
  DefaultHandler(m);
}

void TWinControl::WMGetDlgCode(TMessage& m) {
  DefaultHandler(m);
}

// The key reflected before the control sees it: the form's dialog keys run
// unless the control keeps the key (WM_GETDLGCODE, CM_WANTSPECIALKEY).
// DLGC_WANTALLKEYS keeps Tab and the arrows as well as Return and Escape.
void TWinControl::CNKeyDown(TMessage& m) {
  m.Result = 1;
  if (!IsDesigning() && IsMenuKey(this, LoWord(m.WParam), KeyDataToShiftState(m.LParam))) return;
  if (!IsDesigning()) {
    if (Perform(CM_CHILDKEY, m.WParam, reinterpret_cast<LPARAM>(this)) != 0) return;
    LRESULT mask = 0;
    switch (LoWord(m.WParam)) {
      case VK_TAB:
        mask = DLGC_WANTTAB | DLGC_WANTALLKEYS;
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        mask = DLGC_WANTARROWS | DLGC_WANTALLKEYS;
        break;
      case VK_RETURN:
      case VK_ESCAPE:
      case VK_CANCEL:
        mask = DLGC_WANTALLKEYS;
        break;
      default:
        break;
    }
    if (mask != 0 && Perform(CM_WANTSPECIALKEY, m.WParam, m.LParam) == 0 &&
        (Perform(WM_GETDLGCODE) & mask) == 0) {
      TCustomForm* form = GetParentForm(this);
      if (form && form->Perform(CM_DIALOGKEY, m.WParam, m.LParam) != 0) return;
    }
  }
  m.Result = 0;
}

void TWinControl::CNSysKeyDown(TMessage& m) {
  CNKeyDown(m);
}

void TWinControl::CNKeyUp(TMessage& m) {
  m.Result = 0;
}

void TWinControl::CNChar(TMessage& m) {
  m.Result = 1;
  if (!IsDesigning() && (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) == 0) {
    TCustomForm* form = GetParentForm(this);
    if (form && form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0) return;
  }
  m.Result = 0;
}

void TWinControl::CNSysChar(TMessage& m) {
  m.Result = 0;
  if (IsDesigning() || m.WParam == VK_SPACE) return;
  if (TCustomForm* form = GetParentForm(this))
    m.Result = form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
}

void TWinControl::CMDialogKey(TMessage& m) {
  Broadcast(m);
}

void TWinControl::CMDialogChar(TMessage& m) {
  Broadcast(m);
}

void TWinControl::CMWantSpecialKey(TMessage& m) {
  m.Result = 0;
}

void TWinControl::CMChildKey(TMessage& m) {
  m.Result = parent_ ? parent_->Perform(CM_CHILDKEY, m.WParam, m.LParam) : 0;
}

// ---- TCustomControl
// ---------------------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {
  canvas_ = Create<TCanvas>();
}

TCustomControl::~TCustomControl() {
  TObject::Free(canvas_);
}

TCanvas* TCustomControl::Canvas() const {
  return paintCanvas_ ? paintCanvas_ : canvas_;
}

void TCustomControl::Paint() {}

void TCustomControl::PaintWindow(TCanvas* canvas) {
  canvas->SetFont(canvas_->Font());
  canvas->SetBrush(canvas_->Brush());
  canvas->SetPen(canvas_->Pen());
  TTemporaryChange painting(paintCanvas_, canvas);
  Paint();
}

// ---- TGraphicControl
// ---------------------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner) {
  canvas_ = Create<TCanvas>();
}

TGraphicControl::~TGraphicControl() {
  TObject::Free(canvas_);
}

TCanvas* TGraphicControl::Canvas() const {
  return paintCanvas_ ? paintCanvas_ : canvas_;
}

void TGraphicControl::Paint() {}

void TGraphicControl::WMPaint(TMessage& m) {
  auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
  if (!canvas) return;
  canvas->SetFont(canvas_->Font());
  canvas->SetBrush(canvas_->Brush());
  canvas->SetPen(canvas_->Pen());
  TTemporaryChange painting(paintCanvas_, canvas);
  Paint();
}

BV_PUBLISH(TCustomControl, TWinControl) {}
BV_PUBLISH(TGraphicControl, TControl) {}

// ---- the message loop step
// ------------------------------------------------------------------------------------

bool IsKeyMsg(TMsg& msg) {
  if (msg.Message < WM_KEYFIRST || msg.Message > WM_KEYLAST) return false;
  TWinControl* control = FindControl(msg.Hwnd);
  if (!control) return false;
  return control->Perform(CN_BASE + msg.Message, msg.WParam, msg.LParam) != 0;
}

bool PreprocessControlMessage(TMsg& msg) {
  if (detail::g_appPreprocess && detail::g_appPreprocess(msg)) return true;
  return IsKeyMsg(msg);
}

void DispatchControlMessage(TMsg& msg) {
  try {
    if (PreprocessControlMessage(msg)) return;
    brevant::TranslateMessage(msg);
    brevant::DispatchMessage(msg);
  } catch (const EUnexpectedModal&) {
    // A modal UI nobody can answer: the test that caused it fails loudly.
    throw;
  } catch (const Exception& e) {
    HandleException(nullptr, e);
  } catch (const std::exception& e) {
    HandleException(nullptr, Exception(String(e.what())));
  }
}

bool PumpMessages() {
  TMsg msg;
  while (brevant::PeekMessage(msg, 0, 0, 0, PM_REMOVE)) {
    if (msg.Message == WM_QUIT) return false;
    DispatchControlMessage(msg);
  }
  return true;
}

}  // namespace brevant
