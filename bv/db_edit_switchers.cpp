// The edit switchers: when a press may start, what a pressed part looks
// like, and what its release does.
#include "bv/db_edit_switchers.h"

#include "bv/db_edit.h"
#include "bv/field_list.h"
#include "bv/field_vision.h"
#include "bv/inplace_edit.h"
#include "bv/tabulon.h"
#include "controls/wincore.h"

namespace brevant {

BV_IMPLEMENT_ABSTRACT_CLASS(TznEditCustomSwitcher, TznSwitcher)
BV_IMPLEMENT_ABSTRACT_CLASS(TznEditBtnSwitcher, TznEditCustomSwitcher)
BV_IMPLEMENT_ABSTRACT_CLASS(TznEditSwitcher, TznEditCustomSwitcher)

TznEditCustomSwitcher::TznEditCustomSwitcher(TDBQuentaEdit* edit)
    : TznSwitcher(edit), edit_(edit) {}

bool TznEditCustomSwitcher::CanPress(Integer, Integer, Cardinal, Word, Integer) {
  return edit_->EditState() && edit_->FieldList()->Active();
}

void TznEditCustomSwitcher::Release() {
  if (Pressed() && edit_->HandleAllocated() && GetCapture() == edit_->WindowHandle())
    ReleaseCapture();
  TznSwitcher::Release();
}

bool TznEditBtnSwitcher::CanPress(Integer part, Integer x, Cardinal flags, Word key, Integer y) {
  if (!TznEditCustomSwitcher::CanPress(part, x, flags, key, y)) return false;
  if (key == 0) Edit()->SetMouseCapture(true);
  return true;
}

void TznEditBtnSwitcher::PressedChanged(Integer) {
  Edit()->Relayout();
}

void TznEditBtnSwitcher::Execute(Integer part, Integer, Word, Integer) {
  Edit()->EffectiveVision()->ButtonAction(Edit(), part == epSpinDown ? bkMouseDown : bkMouse);
}

bool TznEditSwitcher::CanPress(Integer part, Integer x, Cardinal flags, Word key, Integer y) {
  TDBQuentaEdit* edit = Edit();
  TznFieldVision* vision = edit->EffectiveVision();
  if (!TznEditCustomSwitcher::CanPress(part, x, flags, key, y) || !vision->EnableSwitches())
    return false;
  bool allow = true;
  const TShiftState shift = KeysToShiftState(flags);
  if (x == -1 && y == -1)
    vision->CanSwitchByKey(edit, key, allow, shift);
  else
    vision->CanSwitchAt(edit, x, y, allow, shift);
  if (!allow || !vision->CanStartSwitch(edit)) return false;
  if (key == 0) edit->SetMouseCapture(true);
  return true;
}

// In a grid the pressed cell is recorded there too: the grid paints the
// face of a switching cell, pressed look included.
void TznEditSwitcher::PressedChanged(Integer) {
  if (auto* inplace = dynamic_cast<TtlInplaceEdit*>(Edit())) {
    TDBTabulon* grid = inplace->Grid();
    if (Pressed() && Down())
      grid->SetSwitchedCell(inplace->Column(), grid->CursorRow());
    else
      grid->SetSwitchedCell(nullptr, -1);
  }
  Edit()->Invalidate();
}

// The vision's switch brackets the field list's update and ends it with
// "not posted" when the switch fails, so a failed post is never reported.
void TznEditSwitcher::Execute(Integer, Integer x, Word, Integer y) {
  Edit()->EffectiveVision()->PerformSwitch(Edit(), x == -1 && y == -1);
}

}  // namespace brevant
