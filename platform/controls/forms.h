// A minimal form: the top-level window controls live in, with its caption,
// border, showing and closing, and the form's focus and dialog-key logic.
// Modal showing, the application object, menus, hints and drag and drop
// come with the full forms layer; the hooks for them are the virtual
// handlers below.
//
// Focus. The form remembers ActiveControl (the control that has or gets the
// focus while the form is active) and FocusedControl (the end of the chain
// that last received CM_ENTER). When a control of the form receives the
// window focus, SetFocusedControl sends CM_EXIT to each control of the old
// chain that does not contain the new one, innermost first, then CM_ENTER
// down to the new control, outermost first. An exception from an exit
// handler ends the switch: the focus goes back to the control that had it
// and the exception reaches HandleException.
//
// Dialog keys. The form answers CM_DIALOGKEY for Tab and Shift+Tab (the next
// or previous TabStop control in tab order) and the arrow keys (the next
// sibling), and passes other keys to its children (default and cancel
// buttons answer Return and Escape there). KeyPreview gives the form each
// key before the focused control.
#pragma once

#include "controls/controls.h"

namespace brevant {

enum TFormBorderStyle : Byte {
  bsNone,
  bsSingle,
  bsSizeable,
  bsDialog,
  bsToolWindow,
  bsSizeToolWin
};
BV_DECLARE_ENUM_INFO(TFormBorderStyle)

enum TCloseAction : Byte { caNone, caHide, caFree, caMinimize };
BV_DECLARE_ENUM_INFO(TCloseAction)

// A modal form's answer; ShowModal's loop ends when it becomes non-zero.
using TModalResult = Integer;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4,
                       mrIgnore = 5, mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9,
                       mrYesToAll = 10;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
  BV_CLASS(TCustomForm, TWinControl)
 public:
  explicit TCustomForm(TComponent* owner);
  void BeforeDestruction() override;

  // Makes the form visible, creates its window and gives it the focus.
  void Show();
  void Hide();
  // Asks CloseQuery (OnCloseQuery), then OnClose with caHide; caHide hides,
  // caFree releases the form, caMinimize minimises it, caNone keeps it.
  void Close();
  virtual bool CloseQuery();
  // Frees the form once the messages already queued for it are handled.
  void Release();

  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  bool KeyPreview() const { return keyPreview_; }
  void SetKeyPreview(bool value) { keyPreview_ = value; }
  // Raises EInvalidOperation for a control of another form or one that
  // cannot take the focus (checked after loading).
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  TWinControl* FocusedControl() const { return focusedControl_; }
  // Whether the form's window is the active window.
  bool Active() const;

  // Focus logic (see above). SetFocusedControl answers false when the
  // switch was overtaken by another focus change.
  void FocusControl(TWinControl* control);
  bool SetFocusedControl(TWinControl* control);
  void DefocusControl(TWinControl* control, bool removing);
  // Sends CM_CANCELMODE (LParam: sender) to the active control, unless that
  // is sender itself.
  void SendCancelMode(TControl* sender);

  void WndProc(TMessage& message) override;
  void Dispatch(TMessage& message) override;

  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void DoClose(TCloseAction& action);
  virtual void DoShow();
  virtual void DoHide();
  // Gives the window focus to ActiveControl (the first tab stop when none is
  // set) or to the form.
  void SetWindowFocus();

  virtual void WMClose(TMessage& message);
  virtual void WMActivate(TMessage& message);
  void CMDialogKey(TMessage& message) override;
  void CMVisibleChanged(TMessage& message) override;

 private:
  bool SendFocusMessage(TWinControl* control, Cardinal msg);

  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  TFormBorderStyle borderStyle_ = bsSizeable;
  bool keyPreview_ = false;
  TModalResult modalResult_ = mrNone;
  Integer focusCount_ = 0;
};

class TForm : public TCustomForm {
  BV_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

}  // namespace brevant
