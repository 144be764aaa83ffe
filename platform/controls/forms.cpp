// TCustomForm / TForm: the top-level window, showing, closing, and the
// form's focus and dialog-key logic.
#include "controls/forms.h"

#include <algorithm>

#include "classes/filer.h"
#include "classes/formstream.h"
#include "classes/reader.h"
#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "controls/controls_internal.h"
#include "controls/form_resources.h"
#include "controls/menus.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"

namespace brevant {

namespace {
bool g_createNew = false;
}  // namespace

void TCustomForm::BeginCreateNew() {
  g_createNew = true;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  visible_ = false;
  color_ = clBtnFace;
  Brush()->SetColor(color_);
  width_ = 320;
  height_ = 240;
  createNew_ = g_createNew;
  g_createNew = false;
  canvas_ = Create<TCanvas>();
}

TCustomForm::~TCustomForm() {
  TObject::Free(canvas_);
}

void TCustomForm::AfterConstruction() {
  TWinControl::AfterConstruction();
  Screen()->AddForm(this);
  if (!createNew_) ReadFormResources();
  AddGlobalRoot(this);
  DoCreate();
}

void TCustomForm::ReadFormResources() {
  // Ancestor classes' resources first (an inherited form adds to its base's).
  std::vector<const String*> texts;
  for (TClass c = ClassType(); c && c != TForm::StaticClass() && c != TCustomForm::StaticClass();
       c = c->ClassParent())
    if (const String* text = FindFormResource(c->ClassName())) texts.insert(texts.begin(), text);
  for (const String* text : texts) ReadFormResource(this, *text);
}

void TCustomForm::DoCreate() {
  CallHandlingExceptions(this, [this] { OnCreate(this); });
}

void TCustomForm::DoDestroy() {
  CallHandlingExceptions(this, [this] { OnDestroy(this); });
}

void TCustomForm::BeforeDestruction() {
  DoDestroy();
  Destroying();
  if (HasApplication() && Application()->MainForm() == this) Application()->ClearMainForm();
  if (HasScreen()) Screen()->RemoveForm(this);
  activeControl_ = nullptr;
  focusedControl_ = nullptr;
  SetMenu(nullptr);
  TWinControl::BeforeDestruction();
}

void TCustomForm::Loaded() {
  TWinControl::Loaded();
  if (menu_) MenuChanged();
}

void TCustomForm::DefineProperties(TFiler* filer) {
  TWinControl::DefineProperties(filer);
  // Written by designers for scaling; the platform always runs at 96 dpi.
  filer->DefineProperty(
      "PixelsPerInch", [](TReader& r) { r.ReadInteger(); }, nullptr, false);
  filer->DefineProperty(
      "TextHeight", [](TReader& r) { r.ReadInteger(); }, nullptr, false);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == activeControl_) activeControl_ = nullptr;
  if (component == focusedControl_) focusedControl_ = nullptr;
  if (component == menu_) {
    menu_ = nullptr;
    menuBarHot_ = nullptr;
    if (!IsDestroying()) MenuChanged();
  }
}

void TCustomForm::GetChildren(const TGetChildProc& proc, TComponent* root) {
  // Components without a parent (menus, datasets) first, then the controls.
  for (Integer i = 0; i < ComponentCount(); ++i) {
    TComponent* c = Components(i);
    if (!c->HasParent()) proc(c);
  }
  TWinControl::GetChildren(proc, root);
}

TCanvas* TCustomForm::Canvas() const {
  return paintCanvas_ ? paintCanvas_ : canvas_;
}

void TCustomForm::Paint() {
  OnPaint(this);
}

void TCustomForm::PaintWindow(TCanvas* canvas) {
  canvas->SetFont(Font());
  canvas->SetBrush(Brush());
  TTemporaryChange painting(paintCanvas_, canvas);
  Paint();
}

// ---- style ----------------------------------------------------------------------------------

void TCustomForm::SetFormStyle(TFormStyle value) {
  if (value == formStyle_) return;
  formStyle_ = value;
  if (IsLoading() || !HandleAllocated()) return;
  brevant::SetWindowPos(WindowHandle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0,
                        0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetWindowState(TWindowState value) {
  if (value == windowState_) return;
  windowState_ = value;
  if (IsLoading() || !HandleAllocated() || !Visible()) return;
  brevant::ShowWindow(WindowHandle(), value == wsMaximized   ? SW_SHOWMAXIMIZED
                                      : value == wsMinimized ? SW_SHOWMINIMIZED
                                                             : SW_SHOWNORMAL);
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
  if (value == borderIcons_) return;
  borderIcons_ = value;
  if (!IsLoading() && HandleAllocated()) RecreateWnd();
}

void TCustomForm::SetNoActivate(bool value) {
  if (value == noActivate_) return;
  noActivate_ = value;
  if (!IsLoading() && HandleAllocated()) RecreateWnd();
}

void TCustomForm::CreateWnd() {
  TWinControl::CreateWnd();
  if (autoScroll_) UpdateScrollRange();
}

// ---- position ----------------------------------------------------------------------------------

void TCustomForm::ApplyPosition() {
  TRect area;
  switch (position_) {
    case poScreenCenter:
    case poDesktopCenter:
      area = Rect(0, 0, Screen()->Width(), Screen()->Height());
      break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
      TCustomForm* over = position_ == poMainFormCenter ? Application()->MainForm()
                                                        : dynamic_cast<TCustomForm*>(Owner());
      if (!over || over == this || !over->Visible())
        area = Rect(0, 0, Screen()->Width(), Screen()->Height());
      else
        area = over->BoundsRect();
      break;
    }
    default:
      return;
  }
  SetBounds(area.Left + (area.Width() - Width()) / 2, area.Top + (area.Height() - Height()) / 2,
            Width(), Height());
}

void TCustomForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style = WS_CLIPCHILDREN;
  params.ExStyle = 0;
  switch (borderStyle_) {
    case bsNone:
      params.Style |= WS_POPUP;
      break;
    case bsSingle:
      params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case bsSizeable:
      params.Style |= WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case bsDialog:
      params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
      params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
      break;
    case bsToolWindow:
      params.Style |= WS_CAPTION | WS_SYSMENU;
      params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      params.Style |= WS_CAPTION | WS_THICKFRAME | WS_SYSMENU;
      params.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (borderStyle_ != bsNone && !borderIcons_.Contains(biSystemMenu))
    params.Style &= ~Cardinal(WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
  if (!borderIcons_.Contains(biMinimize)) params.Style &= ~Cardinal(WS_MINIMIZEBOX);
  if (!borderIcons_.Contains(biMaximize)) params.Style &= ~Cardinal(WS_MAXIMIZEBOX);
  if (formStyle_ == fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
  if (noActivate_) params.ExStyle |= WS_EX_NOACTIVATE;
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  params.WndParent = 0;
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  if (!IsLoading()) RecreateWnd();
}

bool TCustomForm::Active() const {
  return HandleAllocated() && brevant::GetActiveWindow() == WindowHandle();
}

// ---- showing and closing ---------------------------------------------------------------------

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated()) {
    brevant::SetActiveWindow(WindowHandle());
    SetWindowFocus();
  }
}

void TCustomForm::Hide() {
  SetVisible(false);
}

void TCustomForm::CMVisibleChanged(TMessage& m) {
  if (Visible()) {
    ApplyPosition();
    DoShow();
  }
  TWinControl::CMVisibleChanged(m);
  if (Visible() && HandleAllocated() && windowState_ != wsNormal)
    brevant::ShowWindow(WindowHandle(),
                        windowState_ == wsMaximized ? SW_SHOWMAXIMIZED : SW_SHOWMINIMIZED);
  if (!Visible()) DoHide();
}

void TCustomForm::DoShow() {
  OnShow(this);
}

void TCustomForm::DoHide() {
  OnHide(this);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
  OnClose(this, action);
}

void TCustomForm::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  switch (action) {
    case caHide:
      Hide();
      if (HasApplication() && Application()->MainForm() == this) Application()->Terminate();
      break;
    case caMinimize:
      if (HandleAllocated()) brevant::ShowWindow(WindowHandle(), SW_SHOWMINIMIZED);
      break;
    case caFree:
      if (HasApplication() && Application()->MainForm() == this) Application()->Terminate();
      Release();
      break;
    case caNone:
      break;
  }
}

// ---- modal showing
// -------------------------------------------------------------------------------

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_) throw EInvalidOperation(res::SCannotShowModal);
  ModalLog().push_back("ShowModal: " + String(ClassName()));
  TScriptedAnswer answer;
  bool scripted = TakeScriptedAnswer("ShowModal", answer);
  return ExecuteModal(scripted ? &answer : nullptr);
}

TModalResult TCustomForm::ExecuteModal(const TScriptedAnswer* answer) {
  if (Visible() || !Enabled() || modal_) throw EInvalidOperation(res::SCannotShowModal);
  HWND previous = brevant::GetActiveWindow();
  // Every other top-level window of the application is disabled meanwhile.
  std::vector<TCustomForm*> disabled;
  for (Integer i = 0; i < Screen()->FormCount(); ++i) {
    TCustomForm* f = Screen()->Forms(i);
    if (f == this || !f->HandleAllocated() || !brevant::IsWindowEnabled(f->WindowHandle()))
      continue;
    brevant::EnableWindow(f->WindowHandle(), false);
    disabled.push_back(f);
  }
  modal_ = true;
  modalResult_ = mrNone;
  auto restore = [&] {
    modal_ = false;
    for (TCustomForm* f : disabled)
      if (Screen()->IndexOfForm(f) >= 0 && f->HandleAllocated())
        brevant::EnableWindow(f->WindowHandle(), true);
    if (Visible()) Hide();
    if (previous && brevant::IsWindow(previous) && brevant::IsWindowVisible(previous))
      brevant::SetActiveWindow(previous);
  };
  // On failure the guard restores. Restoring hides and activates windows,
  // whose handlers may throw, which a destructor must not: such an error goes
  // to the application's handler and the first one goes on.
  TScopeGuard undo([&] { CallHandlingExceptions(this, restore); });
  Show();
  if (answer) {
    if (answer->Action)
      answer->Action(this);
    else
      modalResult_ = answer->Value;
  }
  RunModalLoop();
  undo.Dismiss();
  TModalResult result = modalResult_;
  restore();
  return result;
}

void TCustomForm::RunModalLoop() {
  TApplication* app = Application();
  for (;;) {
    if (app->Terminated()) modalResult_ = mrCancel;
    if (modalResult_ != mrNone && CloseModal()) return;
    if (!app->ProcessMessage()) {
      if (modalResult_ != mrNone || app->Terminated()) continue;
      if (!app->Idle()) RaiseModalStarved(ClassName());
    }
  }
}

// The modal loop's end: CloseQuery and OnClose may keep the form open.
bool TCustomForm::CloseModal() {
  TCloseAction action = caHide;
  bool ok = false;
  CallHandlingExceptions(this, [&] {
    if (!CloseQuery()) return;
    DoClose(action);
    ok = action != caNone;
  });
  if (!ok) {
    modalResult_ = mrNone;
    return false;
  }
  if (action == caFree) Release();
  return true;
}

void TCustomForm::Release() {
  if (HandleAllocated()) {
    brevant::PostMessage(WindowHandle(), CM_RELEASE);
    return;
  }
  Free();
}

// ---- focus -------------------------------------------------------------------------------------

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  if (control && !IsLoading() &&
      (control == this || GetParentForm(control) != this || !control->CanFocus()))
    throw EInvalidOperation(res::SCannotFocus);
  activeControl_ = control;
  if (!IsLoading() && Showing()) SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  if (!HandleAllocated()) return;
  if (!activeControl_) {
    if (TWinControl* first = FindNextControl(nullptr, true, true, false)) activeControl_ = first;
  }
  if (activeControl_ && activeControl_->CanFocus()) {
    brevant::SetFocus(activeControl_->Handle());
    return;
  }
  brevant::SetFocus(WindowHandle());
}

void TCustomForm::FocusControl(TWinControl* control) {
  if (!control->CanFocus()) throw EInvalidOperation(res::SCannotFocus);
  activeControl_ = control == this ? nullptr : control;
  if (!Showing()) return;
  brevant::SetFocus(control->Handle());
}

// False when the focus moved elsewhere meanwhile or a handler freed the
// form or the control gaining the focus (target).
bool TCustomForm::SendFocusMessage(TWinControl* control, Cardinal msg, const TAliveGuard& target) {
  Integer count = focusCount_;
  control->Perform(msg);
  return target.Alive() && focusCount_ == count;
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  ++focusCount_;
  if (control->ControlState().Contains(csFocusing)) return false;
  TWinControl* oldFocused = focusedControl_;
  TWinControl* oldActive = activeControl_;
  activeControl_ = control == this ? nullptr : control;
  // The control is focusing until this returns, unless OnExit or OnEnter freed it.
  struct TFocusing {
    TWinControl* Control;
    TAliveGuard Alive;
    ~TFocusing() {
      if (Alive.Alive()) Control->controlState_ -= csFocusing;
    }
  } focusing{control, TAliveGuard(control)};
  control->controlState_ += csFocusing;
  bool exiting = true;
  // A control that throws from OnExit refuses to let the focus go: it keeps it.
  TScopeGuard keep([&] {
    if (focusing.Alive.Alive() && exiting) KeepFocus(oldFocused, oldActive);
  });
  const bool moved = MoveFocusTo(control, focusing.Alive, exiting);
  keep.Dismiss();
  return moved;
}

// Sends CM_EXIT up from the focused control and CM_ENTER down to control;
// exiting turns false once the exits are done.
bool TCustomForm::MoveFocusTo(TWinControl* control, const TAliveGuard& target, bool& exiting) {
  if (!focusedControl_) focusedControl_ = this;
  if (focusedControl_ == control) return true;
  while (focusedControl_ && !focusedControl_->ContainsControl(control)) {
    TWinControl* leaving = focusedControl_;
    focusedControl_ = leaving->Parent();
    if (!SendFocusMessage(leaving, CM_EXIT, target)) return false;
  }
  exiting = false;
  while (focusedControl_ != control) {
    TWinControl* entering = control;
    while (entering->Parent() != focusedControl_) entering = entering->Parent();
    focusedControl_ = entering;
    if (!SendFocusMessage(entering, CM_ENTER, target)) return false;
  }
  Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
  return true;
}

// Puts the focus back after a failed exit. Runs while an exception unwinds,
// so an error of the focus messages goes to the application's handler.
void TCustomForm::KeepFocus(TWinControl* oldFocused, TWinControl* oldActive) {
  focusedControl_ = oldFocused;
  activeControl_ = oldActive;
  TWinControl* back = oldFocused ? oldFocused : this;
  CallHandlingExceptions(this, [back] {
    if (back->HandleAllocated() && brevant::GetFocus() != back->WindowHandle())
      brevant::SetFocus(back->WindowHandle());
  });
}

void TCustomForm::DefocusControl(TWinControl* control, bool removing) {
  if (removing && focusedControl_ && control->ContainsControl(focusedControl_))
    focusedControl_ = control->Parent();
  if (activeControl_ && control->ContainsControl(activeControl_)) {
    activeControl_ = nullptr;
    if (IsDestroying() || !HandleAllocated()) return;
    HWND focus = brevant::GetFocus();
    if (control->HandleAllocated() && focus &&
        (focus == control->WindowHandle() || brevant::IsChild(control->WindowHandle(), focus)))
      brevant::SetFocus(WindowHandle());
  }
}

void TCustomForm::SendCancelMode(TControl* sender) {
  if (activeControl_ && activeControl_ != sender)
    activeControl_->Perform(CM_CANCELMODE, 0, reinterpret_cast<LPARAM>(sender));
}

// ---- messages -----------------------------------------------------------------------------------

void TCustomForm::WndProc(TMessage& m) {
  switch (m.Msg) {
    case CM_RELEASE:
      // Nothing of this form may be touched after Free.
      Free();
      return;
    case WM_NCLBUTTONDOWN:
      if (MenuBarPress(m)) return;
      break;
    case WM_SETFOCUS:
      if (PassFocusOn()) return;
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

// A press on the menu bar opens the item under the pointer; true when the
// press was the bar's.
bool TCustomForm::MenuBarPress(TMessage& m) {
  if (static_cast<LRESULT>(m.WParam) != HTMENU || !menu_) return false;
  TRect wr = brevant::GetWindowRect(WindowHandle());
  TPoint p = LParamToPoint(m.LParam);
  if (TMenuItem* item = MenuBarItemAt({p.X - wr.Left, p.Y - wr.Top})) TrackMenuBar(item, false);
  return true;
}

// The form's window got the focus (activation): it goes on to the control
// that had it. False when there is none that can take it.
bool TCustomForm::PassFocusOn() {
  if (!activeControl_ || activeControl_ == this || !activeControl_->HandleAllocated() ||
      !activeControl_->CanFocus())
    return false;
  brevant::SetFocus(activeControl_->WindowHandle());
  return true;
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      WMClose(m);
      break;
    case WM_SYSCOMMAND:
      WMSysCommand(m);
      break;
    case WM_ACTIVATE:
      WMActivate(m);
      break;
    default:
      TWinControl::Dispatch(m);
      break;
  }
}

void TCustomForm::WMClose(TMessage&) {
  Close();
}

// SC_KEYMENU (F10 or Alt alone) activates the menu bar.
void TCustomForm::WMSysCommand(TMessage& m) {
  if ((m.WParam & 0xFFF0) == SC_KEYMENU && MenuBarHeight() > 0) {
    ActivateMenuBar();
    return;
  }
  DefaultHandler(m);
}

void TCustomForm::WMActivate(TMessage& m) {
  DefaultHandler(m);
  if (LoWord(m.WParam) != WA_INACTIVE)
    OnActivate(this);
  else
    OnDeactivate(this);
}

void TCustomForm::CMDialogKey(TMessage& m) {
  if (brevant::GetKeyState(VK_MENU) >= 0) {
    switch (LoWord(m.WParam)) {
      case VK_TAB:
        if (DialogTab(m)) return;
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        DialogArrow(m);
        return;
      default:
        break;
    }
  }
  TWinControl::CMDialogKey(m);
}

// Tab and Shift+Tab move among the tab stops; Ctrl+Tab is left to others.
bool TCustomForm::DialogTab(TMessage& m) {
  if (brevant::GetKeyState(VK_CONTROL) < 0) return false;
  SelectNext(activeControl_, brevant::GetKeyState(VK_SHIFT) >= 0, true);
  m.Result = 1;
  return true;
}

// The arrows move among the active control's siblings; they never reach the inherited handler.
void TCustomForm::DialogArrow(TMessage& m) {
  if (!activeControl_ || !activeControl_->Parent()) return;
  const Word k = LoWord(m.WParam);
  activeControl_->Parent()->SelectNext(activeControl_, k == VK_RIGHT || k == VK_DOWN, false);
  m.Result = 1;
}

// ---- published tables
// ------------------------------------------------------------------------------

BV_ENUM_INFO(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
BV_ENUM_INFO(TCloseAction, caNone, caHide, caFree, caMinimize)

BV_ENUM_INFO(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
BV_ENUM_INFO(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter,
             poDesktopCenter, poMainFormCenter, poOwnerFormCenter)
BV_ENUM_INFO(TWindowState, wsNormal, wsMinimized, wsMaximized)
BV_ENUM_INFO(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
BV_SET_INFO(TBorderIcons, TBorderIcon)

BV_PUBLISH(TCustomForm, TWinControl) {}

BV_PUBLISH(TForm, TCustomForm) {
  p.Property("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
  p.Property("AutoScroll", &TForm::AutoScroll, &TForm::SetAutoScroll).Default(0);
  p.Property("BorderIcons", &TForm::BorderIcons, &TForm::SetBorderIcons)
      .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
  p.Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
  p.Property("Caption", &TForm::Caption, &TForm::SetCaption);
  p.Property("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
  p.Property("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
  p.Property("Color", &TForm::Color, &TForm::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TForm::IsColorStored)
      .Default(clBtnFace);
  p.Property("Font", &TForm::Font, &TForm::SetFont).Stored(&TForm::IsFontStored);
  p.Property("FormStyle", &TForm::FormStyle, &TForm::SetFormStyle).Default(fsNormal);
  p.Property("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview).Default(0);
  p.Property("Menu", &TForm::Menu, &TForm::SetMenu);
  p.Property("Position", &TForm::Position, &TForm::SetPosition).Default(poDesigned);
  p.Property("WindowState", &TForm::WindowState, &TForm::SetWindowState).Default(wsNormal);
  p.Event("OnActivate", static_cast<TNotifyEvent TForm::*>(&TForm::OnActivate), "TNotifyEvent");
  p.Event("OnClose", static_cast<TCloseEvent TForm::*>(&TForm::OnClose), "TCloseEvent");
  p.Event("OnCloseQuery", static_cast<TCloseQueryEvent TForm::*>(&TForm::OnCloseQuery),
          "TCloseQueryEvent");
  p.Event("OnCreate", static_cast<TNotifyEvent TForm::*>(&TForm::OnCreate), "TNotifyEvent");
  p.Event("OnDeactivate", static_cast<TNotifyEvent TForm::*>(&TForm::OnDeactivate), "TNotifyEvent");
  p.Event("OnDestroy", static_cast<TNotifyEvent TForm::*>(&TForm::OnDestroy), "TNotifyEvent");
  p.Event("OnPaint", static_cast<TNotifyEvent TForm::*>(&TForm::OnPaint), "TNotifyEvent");
  p.Event("OnShortCut", static_cast<TShortCutEvent TForm::*>(&TForm::OnShortCut), "TShortCutEvent");
  p.Event("OnHide", static_cast<TNotifyEvent TForm::*>(&TForm::OnHide), "TNotifyEvent");
  p.Event("OnShow", static_cast<TNotifyEvent TForm::*>(&TForm::OnShow), "TNotifyEvent");
}

}  // namespace brevant
