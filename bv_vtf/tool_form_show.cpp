// Opening a tool form: attaching the user, edit and list grid, lifting the
// panel into a fresh background form, sizing and placing it against the
// edit, and the modal loop of a focusable tool form.
#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/bv_strings.h"
#include "bv_vtf/tool_form.h"
#include "bv_vtf/tool_form_bg.h"
#include "bv_vtf/tool_form_placement.h"
#include "controls/application.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "graphics/font.h"
#include "rtl/closing_guard.h"
#include "rtl/scope.h"

namespace brevant {

namespace {

// The control's outer rectangle on the screen.
TRect ScreenRectOf(TWinControl* control) {
  if (control->HandleAllocated()) return GetWindowRect(control->WindowHandle());
  TPoint tl = control->Parent() ? control->Parent()->ClientToScreen(control->BoundsRect().TopLeft())
                                : control->BoundsRect().TopLeft();
  return Bounds(tl.X, tl.Y, control->Width(), control->Height());
}

}  // namespace

void TVisionToolForm::Show(IVisionToolFormUser* user, IznVisionEditor* edit) {
  if (Visible()) return;
  AttachEdit(user, edit);
  // Whatever fails before the drop-down shows leaves the tool form as
  // designed, in its own parent, and frees the background form.
  TScopeGuard undo([this] {
    CloseBracket(true, [this] {
      DetachUsers();
      RestoreDesign();
      if (TznToolFormBG* bg = bg_) {
        bg_ = nullptr;
        bg->SetToolForm(nullptr);
        bg->Free();
      }
      ForgetEdit();
    });
  });
  CreateBackground();
  AttachUsers();
  SizeBackground();
  PlaceBackground();
  editControl_->FreeNotification(this);
  bg_->SetModalResult(mrNone);
  closeResult_ = 0;
  changed_ = false;
  accepting_ = false;
  ShowBackground();
  undo.Dismiss();
  if (options_.Contains(tfoFocusable)) RunModalLoop();
}

// Step 1: the user, the edit with its vision and current value, and what
// closing restores.
void TVisionToolForm::AttachEdit(IVisionToolFormUser* user, IznVisionEditor* edit) {
  auto* host = dynamic_cast<IznToolFormEdit*>(edit);
  if (!user || !host || !host->EditControl()) throw EBVError(bvres::SValueNotAvailable);
  user_ = user;
  edit_ = edit;
  editHost_ = host;
  editControl_ = host->EditControl();
  vision_ = edit->EditorFieldList() ? edit->EditorFieldList()->Vision() : nullptr;
  currentValue_ = edit->CurrentValue();
  editRect_ = ScreenRectOf(editControl_);
  useWidth_ = Width();
  designBounds_ = BoundsRect();
  designAlign_ = Align();
  designParent_ = Parent();
  if (designParent_ && designParent_ != Owner()) designParent_->FreeNotification(this);
  designFont_->Assign(Font());
  designParentFont_ = ParentFont();
}

// Step 2: the background form takes the tool form at (0, 0).
void TVisionToolForm::CreateBackground() {
  bg_ = TCustomForm::CreateNew<TznToolFormBG>(this);
  bg_->SetToolForm(this);
  bg_->SetAutoScroll(false);
  bg_->SetColor(Color());
  bg_->SetKeyPreview(true);
  bg_->Constraints()->Assign(Constraints());
  bg_->SetFrameStyle(1);
  if (ParentFont()) {
    bg_->Font()->Assign(editControl_->Font());
    bg_->Font()->SetStyle(TFontStyles{});
  } else {
    bg_->Font()->Assign(Font());
  }
  bg_->HandleNeeded();
  SetAlign(alNone);
  SetParent(bg_);
  SetBounds(0, 0, Width(), Height());
  if (designParentFont_) SetParentFont(true);
}

// Step 3: the edit, the list grid and the user learn of the open tool form.
void TVisionToolForm::AttachUsers() {
  editHost_->SetOpenToolForm(this);
  if (dataGrid_) dataGrid_->AttachToolForm(this);
  user_->SetToolForm(this);
  OnShow(this);
}

void TVisionToolForm::DetachUsers() {
  if (user_) user_->SetToolForm(nullptr);
  if (editHost_) editHost_->SetOpenToolForm(nullptr);
  if (dataGrid_) dataGrid_->AttachToolForm(nullptr);
}

// Step 4: as wide as designed, or (Width 0) as the edit and the host offset
// on both sides; as high as designed.
void TVisionToolForm::SizeBackground() {
  if (useWidth_ > 0) {
    bg_->SetClientWidth(useWidth_);
  } else {
    bg_->SetWidth(editRect_.Width() + 2 * HostOffset());
    useWidth_ = bg_->Width();
  }
  bg_->SetClientHeight(Height());
  SetAlign(alClient);
  SetVisible(true);
}

// Steps 5 and 6: under or beside the edit, inside the work area.
void TVisionToolForm::PlaceBackground() {
  const TznToolFormPlace place =
      PlaceToolForm(placement_, editRect_, TSize(bg_->Width(), bg_->Height()), HostOffset(),
                    Screen()->WorkAreaRect());
  bg_->SetBoundsRect(place.Bounds);
  bg_->SetOpposite(place.Opposite);
  side_ = place.Side;
}

// Step 8: a focusable background form activates; a non-focusable one shows
// without taking the activation. The edit's form keeps its caption active.
void TVisionToolForm::ShowBackground() {
  bg_->SetVisible(true);
  if (TCustomForm* form = EditForm(); form && form->HandleAllocated())
    SendMessage(form->WindowHandle(), WM_NCACTIVATE, 1, 0);
  OnActivate(this);
}

// ---- the modal loop of a focusable tool form ----

void TVisionToolForm::RunModalLoop() {
  TAliveGuard alive(this);
  // However the loop ends, the drop-down closes (discarding unless the
  // background form's modal result or the options say otherwise).
  TClosingGuard close([this, &alive] {
    if (alive.Alive()) Close(false, false);
  });
  if (activeControl_ && activeControl_->CanFocus())
    activeControl_->SetFocus();
  else
    bg_->SetFocus();
  TScriptedAnswer answer;
  if (TakeScriptedAnswer("VisionToolForm", answer)) {
    if (answer.Action)
      answer.Action(this);
    else if (bg_)
      bg_->SetModalResult(answer.Value);
  }
  TApplication* app = Application();
  while (alive.Alive() && IsOpen() && !app->Terminated()) {
    if (TakePendingPress() || !alive.Alive() || !bg_) break;
    if (bg_->ModalResult() != mrNone) break;
    DropAltReturn();
    if (!app->Active() || !editControl_ || !editControl_->Showing()) break;
    if (app->ProcessMessage()) continue;
    // Idle handlers may end the loop; otherwise nothing can ever end it.
    if (!app->Idle() && IsOpen() && bg_->ModalResult() == mrNone) RaiseModalStarved(ClassName());
  }
}

namespace {

bool IsPress(Cardinal msg) {
  return msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK || msg == WM_NCLBUTTONDOWN ||
         msg == WM_NCLBUTTONDBLCLK;
}

// A left press (client or non-client) or double click waiting in the queue.
// Input is translated only up to the next message, so what lies behind it
// keeps its own key and button states; a press just translated may sit
// behind what its activation posted, and is searched for then.
bool PendingPress(TMsg& m) {
  if (!PeekMessage(m, 0, 0, 0, PM_NOREMOVE)) return false;
  if (IsPress(m.Message)) return true;
  if (GetKeyState(VK_LBUTTON) >= 0) return false;
  for (Cardinal msg : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_NCLBUTTONDOWN, WM_NCLBUTTONDBLCLK})
    if (PeekMessage(m, 0, msg, msg, PM_NOREMOVE)) return true;
  return false;
}

}  // namespace

// A left press waiting for the served edit ends the loop; it is dropped
// when it only closed the drop-down (combo-style edit, a vision that opens
// on entering, or a press on the edit's button). A press for another
// control of the edit's form hides the background form at once.
bool TVisionToolForm::TakePendingPress() {
  // Peeking translates input, which may close the drop-down meanwhile.
  const HWND editWnd = editControl_->HandleAllocated() ? editControl_->WindowHandle() : 0;
  IznToolFormEdit* host = editHost_;
  TznFieldVision* vision = vision_;
  TCustomForm* form = EditForm();
  const HWND formWnd = form && form->HandleAllocated() ? form->WindowHandle() : 0;
  TMsg m;
  if (!PendingPress(m)) return false;
  if (editWnd && m.Hwnd == editWnd) {
    const bool client = m.Message == WM_LBUTTONDOWN || m.Message == WM_LBUTTONDBLCLK;
    const bool onButton = client && PtInRect(host->EditButtonRect(), LParamToPoint(m.LParam));
    const bool opensOnEnter =
        vision && (vision->ComboBoxStyle() || (vision->EnableDropDown() && vision->CanDropDown(0)));
    if (onButton || opensOnEnter) PeekMessage(m, editWnd, m.Message, m.Message, PM_REMOVE);
    return true;
  }
  if (formWnd && GetTopLevel(m.Hwnd) == formWnd && bg_ && bg_->HandleAllocated())
    ShowWindow(bg_->WindowHandle(), SW_HIDE);
  return false;
}

// Alt+Return next in the queue would reach the edit's form as a system key;
// the drop-down swallows it.
void TVisionToolForm::DropAltReturn() {
  TMsg m;
  if (PeekMessage(m, 0, 0, 0, PM_NOREMOVE) && m.Message == WM_SYSKEYDOWN && m.WParam == VK_RETURN)
    PeekMessage(m, m.Hwnd, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
}

}  // namespace brevant
