// The grid's keyboard: the reflected key (menu and search shortcuts), the
// key map of KeyDown, the keys left to the delete parameters, switches,
// F2 and the incremental search, and the characters of KeyPress.
#include <vector>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/field_vision.h"
#include "bv/grid_params.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "controls/application.h"
#include "controls/menus.h"
#include "controls/wincore.h"
#include "db/dataset.h"

namespace brevant {

namespace {

// Whether a key types a character: space, digits, letters, the number pad
// and the punctuation keys. Navigation, function, modifier and system keys
// type none.
bool TypesCharacter(Word key) {
  return key == VK_SPACE || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
         (key >= VK_NUMPAD0 && key <= VK_DIVIDE) || (key >= 0xBA && key <= 0xC0) ||
         (key >= 0xDB && key <= 0xDF) || key == 0xE2;
}

// The keys that first bring an insensitive cursor back to its record.
bool IsNavigationKey(Word key) {
  switch (key) {
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_LEFT:
    case VK_RIGHT:
    case VK_HOME:
    case VK_END:
    case VK_TAB:
    case VK_INSERT:
      return true;
    default:
      return false;
  }
}

bool IsModifierKey(Word key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU;
}

}  // namespace

bool TDBTabulon::StartsSearch(Word key, TShiftState shift) const {
  const bool plainShift = shift.Empty() || shift == TShiftState{ssShift};
  return paramsAutoSearch_->Enabled() && !paramsAutoSearch_->Searching() && plainShift &&
         paramsAutoSearch_->ShortCut() == 0 && TypesCharacter(key);
}

void TDBTabulon::CNKeyDown(TMessage& message) {
  const Word key = LoWord(message.WParam);
  const TShiftState shift = KeyDataToShiftState(message.LParam);
  if (!IsDesigning() && !IsModifierKey(key)) {
    TPopupMenu* columnMenu = currentColumnObj_ ? currentColumnObj_->PopupMenu() : nullptr;
    auto* gridMenu = dynamic_cast<TPopupMenu*>(TCustomControl::PopupMenu());
    if ((columnMenu && columnMenu->IsShortCut(key, shift)) ||
        (gridMenu && gridMenu->IsShortCut(key, shift)) ||
        paramsAutoSearch_->HandleShortCut(key, shift)) {
      message.Result = 1;
      return;
    }
  }
  TCustomControl::CNKeyDown(message);
}

// OnContextPopup still runs; the menus themselves are the grid's to show.
void TDBTabulon::WMContextMenu(TMessage& message) {
  const TPoint screen = LParamToPoint(message.LParam);
  const TPoint pos = screen.X == -1 && screen.Y == -1 ? TPoint{-1, -1} : ScreenToClient(screen);
  bool handled = false;
  DoContextPopup(pos, handled);
  message.Result = 1;
}

void TDBTabulon::PageKey(Cardinal flags, Integer distance, TShiftState shift) {
  if (shift.Contains(ssShift)) {
    if (selection_->Anchor().empty()) selection_->SetAnchor(dataSet_->Bookmark());
    flags |= gsaRange;
  }
  GotoCell(flags, distance, currentColumn_);
}

void TDBTabulon::SelectColumnKey(Integer index) {
  if (index >= 0 && index != currentColumn_) GotoCell(0, 0, index);
}

// The key map; answers whether the key was one of its keys.
bool TDBTabulon::HandleMappedKey(Word key, TShiftState shift) {
  const bool ctrl = shift.Contains(ssCtrl);
  const bool shifted = shift.Contains(ssShift);
  if (ctrl) {
    switch (key) {
      case VK_PRIOR:
        GotoCell(gsaMove, -dataLink_->ActiveRecord(), currentColumn_);
        return true;
      case VK_NEXT:
        GotoCell(gsaMove, dataLink_->BufferCount() - dataLink_->ActiveRecord() - 1, currentColumn_);
        return true;
      case VK_END:
        PageKey(gsaLast, 0, shift);
        return true;
      case VK_HOME:
        PageKey(gsaFirst, 0, shift);
        return true;
      case VK_LEFT:
        SelectColumnKey(columns_->FirstSelectable());
        return true;
      case VK_RIGHT:
        SelectColumnKey(LastSelectable());
        return true;
      default:
        return false;
    }
  }
  switch (key) {
    case VK_TAB:
      StepCell(shifted ? feaPrior : feaNext, false);
      return true;
    case VK_RETURN:
      if (dataLink_->Editing() || editorShown_)
        PostRecord();
      else
        Pickup(0, true);
      return true;
    case VK_ESCAPE:
      CancelRecord();
      return true;
    case VK_PRIOR:
      PageKey(gsaMove, 1 - rowCount_ - cursorRow_, shift);
      return true;
    case VK_NEXT:
      PageKey(gsaMove, 2 * rowCount_ - cursorRow_ - 2, shift);
      return true;
    case VK_END:
      SelectColumnKey(LastSelectable());
      return true;
    case VK_HOME:
      SelectColumnKey(columns_->FirstSelectable());
      return true;
    case VK_LEFT:
    case VK_RIGHT:
      StepCell(key == VK_LEFT ? feaLeft : feaRight, false);
      return true;
    case VK_UP:
    case VK_DOWN:
      StepCell(key == VK_UP ? feaUp : feaDown, shifted);
      return true;
    case VK_INSERT:
      if (!shift.Empty()) return false;
      InsertRecord(false);
      return true;
    case VK_APPS:
      if (!currentColumnObj_) return false;
      ShowColumnMenu(currentColumnObj_, -1, -1);
      return true;
    default:
      return false;
  }
}

// The keys after the map: delete, switches, F2; answers whether one of
// them used the key.
bool TDBTabulon::HandleUnmappedKey(Word key, TShiftState shift) {
  if (paramsDelete_->HandleDeleteKey(key, shift)) return true;
  TznFieldVision* vision = currentColumnObj_->EffectiveVision();
  if (vision && vision->EnableSwitches() && cursorRow_ == dataLink_->ActiveRecord() &&
      !IsModifierKey(key)) {
    // The switch reacts to the key in the editor; the character the key
    // would type is not wanted there.
    TMsg pending;
    PeekMessage(pending, WindowHandle(), WM_CHAR, WM_CHAR, PM_REMOVE);
    // A release already queued for the grid (opening the editor drops it)
    // follows the key to the editor: switches fire on release.
    TMsg release;
    const bool released = PeekMessage(release, WindowHandle(), WM_KEYUP, WM_KEYUP, PM_REMOVE) &&
                          LoWord(release.WParam) == key;
    if (OpenEditor(currentColumnObj_)) {
      const HWND editor = GetFocus();
      if (editor && editor != WindowHandle()) {
        SendMessage(editor, WM_KEYDOWN, key, shift.Contains(ssAlt) ? KF_ALTDOWN_BIT : 0);
        if (released) SendMessage(editor, WM_KEYUP, key, release.LParam);
      }
    }
    return true;
  }
  return key == VK_F2 && shift.Empty() && currentColumnObj_->RequestEdit();
}

void TDBTabulon::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0) {
    paramsAutoSearch_->Stop();
    return;
  }
  if (!DataActive() || !columns_->HasGroups()) return;
  // An insensitive cursor whose record left the window takes the key to
  // bring it back, and nothing else.
  if (IsNavigationKey(key) && !SyncCursor(true)) {
    paramsAutoSearch_->Stop();
    return;
  }
  if (HandleMappedKey(key, shift)) {
    paramsAutoSearch_->Stop();
    return;
  }
  if (!currentColumnObj_) {
    paramsAutoSearch_->Stop();
    return;
  }
  if (HandleUnmappedKey(key, shift)) {
    paramsAutoSearch_->Stop();
    return;
  }
  if (StartsSearch(key, shift)) paramsAutoSearch_->Start(0);
}

void TDBTabulon::KeyPress(char32_t& key) {
  TCustomControl::KeyPress(key);
  if (key == 0 || !DataActive() || editorShown_ || !currentColumnObj_) return;
  if (paramsAutoSearch_->Searching()) {
    if (key > 31 || key == 8) paramsAutoSearch_->HandleChar(key);
    key = 0;
    return;
  }
  TznFieldVision* vision = currentColumnObj_->EffectiveVision();
  if (key < 32 || !vision || vision->SurfaceKind() != vskEdit) return;
  // Typing starts editing: the character goes on to the editor, followed
  // by those typed ahead (opening the editor drops the grid's pending
  // characters, which would lose them).
  std::vector<WPARAM> typed{WPARAM(key)};
  TMsg pending;
  while (PeekMessage(pending, WindowHandle(), WM_CHAR, WM_CHAR, PM_REMOVE))
    typed.push_back(pending.WParam);
  if (!currentColumnObj_->RequestEdit()) return;
  Application()->ProcessMessages();
  const HWND editor = GetFocus();
  if (editor && editor != WindowHandle())
    for (const WPARAM c : typed) PostMessage(editor, WM_CHAR, c, 0);
  key = 0;
}

}  // namespace brevant
