// The form: the top-level window controls live in, with its caption,
// border, position, showing (modeless and modal) and closing, its main menu,
// and the form's focus and dialog-key logic.
//
// Creation. A form class may have a form resource (form_resources.h): the
// form text registered under the class name (and those of its ancestors,
// read base first). AfterConstruction reads it into the new form (children,
// properties, references to other modules, handlers bound by name to the
// form's published methods), Loaded runs, then OnCreate. CreateNew makes a
// form without reading any resource. OnDestroy fires first when it is freed.
//
// Modal showing. ShowModal disables the other top-level windows, shows and
// activates the form and runs a message loop until ModalResult is non-zero
// (Close inside it sets mrCancel); then CloseQuery and OnClose may keep the
// loop running (caNone, or refusal), else the form hides and the windows
// come back. Scripted answers (test_hooks.h, kind "ShowModal") can answer
// or act on the form.
//
// Activation. A form with fsStayOnTop stays above normal forms; WS_EX_NOACTIVATE
// forms (NoActivate) never become the active window on a click; a pop-up
// owned by a form (menus, hints, drop-downs) leaves the form's caption active.
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
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5,
                       mrYes = 6, mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

enum TFormStyle : Byte { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
BV_DECLARE_ENUM_INFO(TFormStyle)
enum TPosition : Byte {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
BV_DECLARE_ENUM_INFO(TPosition)
enum TWindowState : Byte { wsNormal, wsMinimized, wsMaximized };
BV_DECLARE_ENUM_INFO(TWindowState)
enum TBorderIcon : Byte { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
BV_DECLARE_ENUM_INFO(TBorderIcon)
BV_DECLARE_ENUM_INFO(TBorderIcons)

class TMainMenu;
class TMenuItem;
struct TScriptedAnswer;

using TCloseEvent = TEvent<void(TObject* Sender, TCloseAction& Action)>;
using TShortCutEvent = TEvent<void(TObject* Sender, Word Key, TShiftState Shift, bool& Handled)>;
using TCloseQueryEvent = TEvent<void(TObject* Sender, bool& CanClose)>;

class TCustomForm : public TWinControl {
  BV_CLASS(TCustomForm, TWinControl)
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;
  void Loaded() override;

  // A form of class T that reads no form resource.
  template <class T>
  static T* CreateNew(TComponent* owner) {
    BeginCreateNew();
    return Create<T>(owner);
  }

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
  // Shows the form modally and answers its ModalResult (see above). Raises
  // EInvalidOperation for a form that is visible, disabled or modal already.
  TModalResult ShowModal();
  // The modal loop without asking for a scripted answer: runs answer's
  // action on the shown form, or ends with its value (nullptr: neither).
  // Dialogs that take their own kind of answer use it.
  TModalResult ExecuteModal(const TScriptedAnswer* answer);
  bool Modal() const { return modal_; }

  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle value);
  TPosition Position() const { return position_; }
  void SetPosition(TPosition value) { position_ = value; }
  TWindowState WindowState() const { return windowState_; }
  void SetWindowState(TWindowState value);
  TBorderIcons BorderIcons() const { return borderIcons_; }
  void SetBorderIcons(TBorderIcons value);
  // Scroll bars appear when controls reach past the client area.
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value);
  // Scrolls the client area so that control is in view (auto-scroll).
  void ScrollInView(TControl* control);
  TPoint ScrollPos() const { return scrollPos_; }
  // Clicks do not activate the form (WS_EX_NOACTIVATE); set before the
  // window exists.
  bool NoActivate() const { return noActivate_; }
  void SetNoActivate(bool value);
  // The main menu drawn as the form's menu bar.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* value);
  // The form's client-area canvas during OnPaint / Paint.
  TCanvas* Canvas() const;
  // Offers a key to OnShortCut and the main menu; true when one used it.
  virtual bool IsShortCut(Word key, TShiftState shift);
  // The menu bar's area in window coordinates (empty without a menu).
  TRect MenuBarRect() const;
  // Opens the main menu's item with tracking (keyboard or click on the bar);
  // with dropDown false the item is only selected (F10, Alt alone).
  void TrackMenuBar(TMenuItem* item, bool byKeyboard, bool dropDown = true);
  // Selects the menu bar's first item for the keyboard (F10, Alt alone).
  void ActivateMenuBar();
  // The menu bar repaints after its items changed.
  void MenuChanged();
  // The bar item drawn selected (the one whose menu is open).
  void SetMenuBarHot(TMenuItem* item);
  TMenuItem* MenuBarHot() const { return menuBarHot_; }

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

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
  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnPaint;
  TShortCutEvent OnShortCut;

  // Used by CreateNew: the next form created reads no resource.
  static void BeginCreateNew();

 protected:
  void DefineProperties(TFiler* filer) override;
  void Notification(TComponent* component, TOperation operation) override;
  virtual void DoCreate();
  virtual void DoDestroy();
  virtual void Paint();
  void PaintWindow(TCanvas* canvas) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void AlignControls(TControl* control, TRect& rect) override;
  virtual void DoClose(TCloseAction& action);
  virtual void DoShow();
  virtual void DoHide();
  // Gives the window focus to ActiveControl (the first tab stop when none is
  // set) or to the form.
  void SetWindowFocus();

  virtual void WMClose(TMessage& message);
  virtual void WMSysCommand(TMessage& message);
  virtual void WMActivate(TMessage& message);
  void CMDialogKey(TMessage& message) override;
  void CMVisibleChanged(TMessage& message) override;
  void WMNCCalcSize(TMessage& message) override;
  void WMNCPaint(TMessage& message) override;
  void WMNCHitTest(TMessage& message) override;
  void WMVScroll(TMessage& message) override;
  void WMHScroll(TMessage& message) override;
  void WMSize(TMessage& message) override;

 private:
  bool SendFocusMessage(TWinControl* control, Cardinal msg, const TAliveGuard& target);
  bool MoveFocusTo(TWinControl* control, const TAliveGuard& target, bool& exiting);
  void KeepFocus(TWinControl* oldFocused, TWinControl* oldActive);
  void RunModalLoop();
  bool MenuBarPress(TMessage& m);
  bool PassFocusOn();
  bool DialogTab(TMessage& m);
  void DialogArrow(TMessage& m);
  void ReadFormResources();
  void ApplyPosition();
  void UpdateScrollRange();
  void ScrollBy(Integer dx, Integer dy);
  void ScrollTo(Integer bar, Integer pos);
  bool CloseModal();
  Integer MenuBarHeight() const;
  TMenuItem* MenuBarItemAt(TPoint windowPos) const;
  void PaintMenuBar(TCanvas* canvas);

  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  TFormBorderStyle borderStyle_ = bsSizeable;
  bool keyPreview_ = false;
  TModalResult modalResult_ = mrNone;
  Integer focusCount_ = 0;
  TFormStyle formStyle_ = fsNormal;
  TPosition position_ = poDesigned;
  TWindowState windowState_ = wsNormal;
  TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
  bool autoScroll_ = false;
  bool noActivate_ = false;
  bool modal_ = false;
  bool createNew_ = false;
  TPoint scrollPos_;
  TMainMenu* menu_ = nullptr;
  TMenuItem* menuBarHot_ = nullptr;  // the bar item open or selected
  TCanvas* canvas_ = nullptr;
  TCanvas* paintCanvas_ = nullptr;
};

class TForm : public TCustomForm {
  BV_CLASS(TForm, TCustomForm)
 public:
  using TCustomForm::TCustomForm;
};

}  // namespace brevant
