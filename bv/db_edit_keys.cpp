// TDBQuentaEdit: keys, characters, the clipboard and editing messages, the
// dialog code, and entering and leaving the control.
#include "backend/codes.h"
#include "bv/db_edit.h"
#include "bv/db_edit_switchers.h"
#include "bv/field_vision.h"
#include "controls/wincore.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

const TShiftState kCtrl{ssCtrl};

// The keys DispatchKey routes.
bool MovingKey(Word key) {
  return key == VK_TAB || key == VK_RETURN || key == VK_ESCAPE || key == VK_LEFT ||
         key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}

bool IsModifierKey(Word key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU;
}

}  // namespace

// ---- the key operations ----

void TDBQuentaEdit::EscapePressed() {
  if (toolForm_)
    CloseDropDown(false);
  else
    ResetText();
}

bool TDBQuentaEdit::ReturnPressed(TShiftState shift) {
  if (toolForm_) {
    CloseDropDown(true);
    return true;
  }
  const bool wants = wantReturns_ || EffectiveVision()->WantReturns();
  const bool ctrlOnly = shift == kCtrl;
  if (wants != ctrlOnly) return false;
  if (editState_) EffectiveVision()->PostEdit(this, true);
  SelectAll();
  return true;
}

bool TDBQuentaEdit::VerticalArrow(bool up, TShiftState) {
  TznFieldVision* vision = EffectiveVision();
  if (!vision->EnableButton() || vision->ButtonStyle() != pbsSpin) return false;
  vision->ButtonAction(this, up ? bkKeyboard : bkKeyDown);
  return true;
}

bool TDBQuentaEdit::TabPressed(TShiftState) {
  if (toolForm_) CloseDropDown(true);
  return false;
}

// ---- key down ----

bool TDBQuentaEdit::ReturnKey(TShiftState shift) {
  TznFieldVision* vision = EffectiveVision();
  const TznButtonStyle style = vision->ButtonStyle();
  if (vision->EnableButton() && shift.Contains(ssCtrl) &&
      (style == pbsEllipsis || style == pbsCustom)) {
    vision->ButtonAction(this, bkKeyboard);
    return true;
  }
  return ReturnPressed(shift);
}

// Alt+Down closes an open tool form accepting, whatever the button; else
// it presses a drop-down button or asks for the drop-down.
bool TDBQuentaEdit::AltDown() {
  TznFieldVision* vision = EffectiveVision();
  if (toolForm_) {
    CloseDropDown(true);
    return true;
  }
  if (vision->EnableButton() && vision->ButtonStyle() == pbsDropDown) {
    vision->ButtonAction(this, bkKeyboard);
    return true;
  }
  if (!vision->CanDropDown(2)) return false;
  vision->ButtonAction(this, bkDropDown);
  return true;
}

bool TDBQuentaEdit::DownKey(TShiftState shift) {
  if (shift.Contains(ssAlt)) return AltDown();
  return VerticalArrow(false, shift);
}

bool TDBQuentaEdit::DispatchKey(Word key, TShiftState shift) {
  switch (key) {
    case VK_TAB:
      return TabPressed(shift);
    case VK_RETURN:
      return ReturnKey(shift);
    case VK_ESCAPE:
      EscapePressed();
      return true;
    case VK_LEFT:
    case VK_RIGHT:
      return HorizontalArrow(key == VK_LEFT);
    case VK_UP:
      return VerticalArrow(true, shift);
    case VK_DOWN:
      return DownKey(shift);
    default:
      return false;
  }
}

bool TDBQuentaEdit::SwitchOrClipboardKey(Word key, TShiftState shift) {
  if (EffectiveVision()->EnableSwitches() && !IsModifierKey(key) &&
      surfaceSwitcher_->KeyDown(epSurface, key, 0))
    return true;
  if (!CustomSurface()) return false;
  // Moving, closing and leaving keys still reach the edit's own handling.
  if (MovingKey(key)) return false;
  if (key == VK_INSERT && shift == TShiftState{ssShift}) Perform(WM_PASTE);
  if (key == VK_INSERT && shift == kCtrl) Perform(WM_COPY);
  if (key == VK_DELETE && shift == TShiftState{ssShift}) Perform(WM_CUT);
  return true;
}

void TDBQuentaEdit::KeyDown(Word& key, TShiftState shift) {
  if (releasing_ || loading_) {
    TCustomMaskEdit::KeyDown(key, shift);
    return;
  }
  TAliveGuard alive(this);
  if (SwitchOrClipboardKey(key, shift)) {
    key = 0;
    return;
  }
  if (key != 0 && key != VK_RETURN && key != VK_ESCAPE) {
    if (toolFormHost_) toolFormHost_->KeyDown(key, shift);
    if (key != 0) EffectiveVision()->KeyDown(this, key, shift);
    if (key == 0 || !alive.Alive()) return;
  }
  if (DispatchKey(key, shift)) {
    if (!alive.Alive()) return;
    // The key is used up: so is the character it would type.
    TMsg pending;
    if (HandleAllocated()) PeekMessage(pending, WindowHandle(), WM_CHAR, WM_CHAR, PM_REMOVE);
    key = 0;
    return;
  }
  if (CustomSurface()) {
    key = 0;  // a drawn surface has no text for the key to edit
    return;
  }
  if ((key == VK_BACK || key == VK_TAB || key == VK_DELETE) && Writable())
    fieldList_->StartEdit(true);
  if (!alive.Alive()) return;
  const Word pressed = key;
  TCustomMaskEdit::KeyDown(key, shift);
  lastKey_ = pressed != VK_BACK && pressed != VK_DELETE;
}

void TDBQuentaEdit::KeyUp(Word& key, TShiftState shift) {
  TCustomMaskEdit::KeyUp(key, shift);
  if (key != 0) surfaceSwitcher_->KeyUp(key);
}

void TDBQuentaEdit::DiscardPendingKeys() {
  if (!HandleAllocated()) return;
  TMsg m;
  PeekMessage(m, WindowHandle(), WM_CHAR, WM_CHAR, PM_REMOVE);
  PeekMessage(m, WindowHandle(), WM_KEYDOWN, WM_KEYDOWN, PM_REMOVE);
  PeekMessage(m, WindowHandle(), WM_KEYUP, WM_KEYUP, PM_REMOVE);
}

// ---- characters ----

// The change lock a typed character sets lasts for its own message only.
void TDBQuentaEdit::WMChar(TMessage& message) {
  TScopeGuard unlock([this] { changeLock_ = false; });
  TCustomMaskEdit::WMChar(message);
}

void TDBQuentaEdit::KeyPress(char32_t& key) {
  if (releasing_ || !fieldList_->Active()) {
    TCustomMaskEdit::KeyPress(key);
    return;
  }
  TznFieldVision* vision = EffectiveVision();
  if (key == U'\r' && !wantReturns_ && !vision->WantReturns()) {
    key = 0;
    return;
  }
  if (key != 0 && key != U'\b' && SelLength() > 0 && !SelectionIsCompletion()) changeLock_ = true;
  if (key >= 32 && !CustomSurface() && !vision->IsValidChar(fieldList_.get(), key)) {
    Beep();
    key = 0;
    return;
  }
  const bool writable = Writable();
  if (writable && (key == U'\b' || key == U'\t' || key == U'\n' || key == U'\r' || key >= 32))
    fieldList_->StartEdit(true);
  if (CustomSurface() && (key == 3 || key == 22 || key == 24)) {
    Perform(key == 3 ? WM_COPY : key == 22 ? WM_PASTE : WM_CUT);
    key = 0;
    return;
  }
  if (key != 0 && writable && vision->CanDropDown(1)) PostDropDownRequest();
  if (key != 0) vision->KeyPress(this, key);
  if (key != 0) TCustomMaskEdit::KeyPress(key);
}

// ---- clipboard and editing messages ----

void TDBQuentaEdit::StartEditForMessage() {
  if (Writable()) fieldList_->StartEdit(true);
}

// A drawn surface has no text: its clipboard messages go to the vision
// alone, which puts the record in edit only when it changes the value (text
// pasted where a picture is expected leaves the dataset as it was).
bool TDBQuentaEdit::SurfaceAction(TznEditAction action) {
  if (!CustomSurface()) return false;
  if (fieldList_->Active()) EffectiveVision()->EditAction(this, action);
  return true;
}

void TDBQuentaEdit::WMCut(TMessage& message) {
  if (SurfaceAction(eaCut)) return;
  StartEditForMessage();
  TCustomMaskEdit::WMCut(message);
  if (fieldList_->Active() && fieldList_->Editing()) EffectiveVision()->EditAction(this, eaCut);
}

void TDBQuentaEdit::WMCopy(TMessage& message) {
  TCustomMaskEdit::WMCopy(message);
  if (fieldList_->Active()) EffectiveVision()->EditAction(this, eaCopy);
}

void TDBQuentaEdit::WMPaste(TMessage& message) {
  if (SurfaceAction(eaPaste)) return;
  StartEditForMessage();
  TScopeGuard unlock([this] { changeLock_ = false; });
  if (SelLength() > 0) changeLock_ = true;
  TCustomMaskEdit::WMPaste(message);
  if (fieldList_->Active() && fieldList_->Editing()) EffectiveVision()->EditAction(this, eaPaste);
}

void TDBQuentaEdit::WMClear(TMessage& message) {
  if (SurfaceAction(eaClear)) return;
  StartEditForMessage();
  TCustomMaskEdit::WMClear(message);
  if (fieldList_->Active() && fieldList_->Editing()) EffectiveVision()->EditAction(this, eaClear);
}

void TDBQuentaEdit::WMUndo(TMessage& message) {
  StartEditForMessage();
  TCustomMaskEdit::WMUndo(message);
}

// Tab moves the focus through the form's dialog keys; an open tool form
// closes accepting first.
void TDBQuentaEdit::CNKeyDown(TMessage& message) {
  if (LoWord(message.WParam) == VK_TAB && toolForm_)
    TabPressed(KeyDataToShiftState(message.LParam));
  TCustomMaskEdit::CNKeyDown(message);
}

// ---- dialog code ----

void TDBQuentaEdit::WMGetDlgCode(TMessage& message) {
  TCustomMaskEdit::WMGetDlgCode(message);
  TznFieldVision* vision = EffectiveVision();
  if (inPlace_ || vision->WantArrows()) message.Result |= DLGC_WANTARROWS;
  if (wantTabs_ || vision->WantTabs()) message.Result |= DLGC_WANTTAB;
}

// Return when the control or the vision wants it or a tool form is open;
// Escape for an open tool form and, standalone, for an edit in progress.
void TDBQuentaEdit::CMWantSpecialKey(TMessage& message) {
  TCustomMaskEdit::CMWantSpecialKey(message);
  const Word key = LoWord(message.WParam);
  const bool editing = fieldList_->Editing() || current_->Modified();
  const bool wants = key == VK_RETURN
                         ? toolForm_ || wantReturns_ || EffectiveVision()->WantReturns()
                         : key == VK_ESCAPE && (toolForm_ || (!inPlace_ && editing));
  if (wants) message.Result = 1;
}

// The caption's accelerator focuses a switching control and switches it.
void TDBQuentaEdit::CMDialogChar(TMessage& message) {
  TznFieldVision* vision = EffectiveVision();
  const bool mine = vision->EnableSwitches() && Enabled() && CanFocus() &&
                    IsAccel(static_cast<char32_t>(message.WParam), fieldList_->Caption());
  if (!mine) {
    TCustomMaskEdit::CMDialogChar(message);
    return;
  }
  TAliveGuard alive(this);
  SetFocus();
  if (alive.Alive() && vision->CanStartSwitch(this)) vision->PerformSwitch(this, true);
  message.Result = 1;
}

// ---- focus ----

void TDBQuentaEdit::CMEnter(TMessage& message) {
  const bool entering = !editState_;
  SetEditState(true);
  if (AutoSelect() && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
  TCustomMaskEdit::CMEnter(message);
  TznFieldVision* vision = EffectiveVision();
  if (entering && fieldList_->Active() && vision->EnableDropDown() && vision->CanDropDown(0) &&
      (inPlace_ || !pressedByMouse_))
    PostDropDownRequest();
}

// Posting failures keep the focus here with the text selected: the form's
// focus logic keeps the focus when the exit raises.
void TDBQuentaEdit::CMExit(TMessage& message) {
  ReleaseSwitches();
  TScopeGuard selectOnFailure([this] { SelectAll(); });
  PostIfEditing();
  selectOnFailure.Dismiss();
  SetEditState(false);
  TCustomMaskEdit::CMExit(message);
}

void TDBQuentaEdit::WMKillFocus(TMessage& message) {
  TWinControl* target = nullptr;
  if (toolForm_) target = FindControl(static_cast<HWND>(message.WParam));
  ReleaseInput(target);
  TCustomMaskEdit::WMKillFocus(message);
}

void TDBQuentaEdit::ReleaseSwitches() {
  buttonSwitcher_->Release();
  surfaceSwitcher_->Release();
}

void TDBQuentaEdit::ReleaseInput(TWinControl* focusTarget) {
  surfaceSwitcher_->Release();
  if (!dropping_ && !releasing_) buttonSwitcher_->Release();
  if (toolFormHost_) toolFormHost_->FocusChanged(focusTarget);
}

}  // namespace brevant
