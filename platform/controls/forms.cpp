// TCustomForm / TForm: the top-level window, showing, closing, and the
// form's focus and dialog-key logic.
#include "controls/forms.h"

#include "classes/rtti_builder.h"
#include "controls/controls_internal.h"
#include "graphics/pen_brush.h"

namespace brevant {

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  visible_ = false;
  color_ = clBtnFace;
  Brush()->SetColor(color_);
  width_ = 320;
  height_ = 240;
}

void TCustomForm::BeforeDestruction() {
  Destroying();
  activeControl_ = nullptr;
  focusedControl_ = nullptr;
  TWinControl::BeforeDestruction();
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == activeControl_) activeControl_ = nullptr;
  if (component == focusedControl_) focusedControl_ = nullptr;
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
  if (Visible()) DoShow();
  TWinControl::CMVisibleChanged(m);
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
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  switch (action) {
    case caHide:
      Hide();
      break;
    case caMinimize:
      if (HandleAllocated()) brevant::ShowWindow(WindowHandle(), SW_SHOWMINIMIZED);
      break;
    case caFree:
      Release();
      break;
    case caNone:
      break;
  }
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

bool TCustomForm::SendFocusMessage(TWinControl* control, Cardinal msg) {
  Integer count = focusCount_;
  control->Perform(msg);
  return focusCount_ == count;
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  ++focusCount_;
  if (control->ControlState().Contains(csFocusing)) return false;
  TWinControl* oldFocused = focusedControl_;
  TWinControl* oldActive = activeControl_;
  activeControl_ = control == this ? nullptr : control;
  control->controlState_ += csFocusing;
  bool exiting = true;
  try {
    if (!focusedControl_) focusedControl_ = this;
    if (focusedControl_ != control) {
      while (focusedControl_ && !focusedControl_->ContainsControl(control)) {
        TWinControl* leaving = focusedControl_;
        focusedControl_ = leaving->Parent();
        if (!SendFocusMessage(leaving, CM_EXIT)) {
          control->controlState_ -= csFocusing;
          return false;
        }
      }
      exiting = false;
      while (focusedControl_ != control) {
        TWinControl* entering = control;
        while (entering->Parent() != focusedControl_) entering = entering->Parent();
        focusedControl_ = entering;
        if (!SendFocusMessage(entering, CM_ENTER)) {
          control->controlState_ -= csFocusing;
          return false;
        }
      }
      Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
    }
  } catch (...) {
    control->controlState_ -= csFocusing;
    if (exiting) {
      // A control refused to let the focus go: it keeps it.
      focusedControl_ = oldFocused;
      activeControl_ = oldActive;
      TWinControl* back = oldFocused ? oldFocused : this;
      if (back->HandleAllocated() && brevant::GetFocus() != back->WindowHandle())
        brevant::SetFocus(back->WindowHandle());
    }
    throw;
  }
  control->controlState_ -= csFocusing;
  return true;
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
    case WM_SETFOCUS:
      // The form's window got the focus (activation): it goes on to the
      // control that had it.
      if (activeControl_ && activeControl_ != this && activeControl_->HandleAllocated() &&
          activeControl_->CanFocus()) {
        brevant::SetFocus(activeControl_->WindowHandle());
        return;
      }
      break;
    default:
      break;
  }
  TWinControl::WndProc(m);
}

void TCustomForm::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_CLOSE:
      WMClose(m);
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
        if (brevant::GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(activeControl_, brevant::GetKeyState(VK_SHIFT) >= 0, true);
          m.Result = 1;
          return;
        }
        break;
      case VK_LEFT:
      case VK_RIGHT:
      case VK_UP:
      case VK_DOWN:
        if (activeControl_ && activeControl_->Parent()) {
          const Word k = LoWord(m.WParam);
          activeControl_->Parent()->SelectNext(activeControl_, k == VK_RIGHT || k == VK_DOWN,
                                               false);
          m.Result = 1;
        }
        return;
      default:
        break;
    }
  }
  TWinControl::CMDialogKey(m);
}

// ---- published tables
// ------------------------------------------------------------------------------

BV_ENUM_INFO(TFormBorderStyle, bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin)
BV_ENUM_INFO(TCloseAction, caNone, caHide, caFree, caMinimize)

BV_PUBLISH(TCustomForm, TWinControl) {}

BV_PUBLISH(TForm, TCustomForm) {
  p.Property("ActiveControl", &TForm::ActiveControl, &TForm::SetActiveControl);
  p.Property("BorderStyle", &TForm::BorderStyle, &TForm::SetBorderStyle).Default(bsSizeable);
  p.Property("Caption", &TForm::Caption, &TForm::SetCaption);
  p.Property("ClientHeight", &TForm::ClientHeight, &TForm::SetClientHeight);
  p.Property("ClientWidth", &TForm::ClientWidth, &TForm::SetClientWidth);
  p.Property("Color", &TForm::Color, &TForm::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TForm::IsColorStored)
      .Default(clBtnFace);
  p.Property("KeyPreview", &TForm::KeyPreview, &TForm::SetKeyPreview).Default(0);
  p.Event("OnActivate", static_cast<TNotifyEvent TForm::*>(&TForm::OnActivate), "TNotifyEvent");
  p.Event("OnClose", static_cast<TCloseEvent TForm::*>(&TForm::OnClose), "TCloseEvent");
  p.Event("OnCloseQuery", static_cast<TCloseQueryEvent TForm::*>(&TForm::OnCloseQuery),
          "TCloseQueryEvent");
  p.Event("OnDeactivate", static_cast<TNotifyEvent TForm::*>(&TForm::OnDeactivate), "TNotifyEvent");
  p.Event("OnHide", static_cast<TNotifyEvent TForm::*>(&TForm::OnHide), "TNotifyEvent");
  p.Event("OnShow", static_cast<TNotifyEvent TForm::*>(&TForm::OnShow), "TNotifyEvent");
}

}  // namespace brevant
