// Closing a tool form: accepting (posting through the user) or discarding,
// and the closing steps that free the background form and put the panel
// back where it was designed.
#include "bv/tabulon.h"
#include "bv_vtf/tool_form.h"
#include "bv_vtf/tool_form_bg.h"
#include "controls/wincore.h"
#include "graphics/font.h"
#include "rtl/closing_guard.h"
#include "rtl/scope.h"

namespace brevant {

void TVisionToolForm::Close(bool accept, bool postAndMove) {
  if (!IsOpen()) return;
  if (!accept) {
    if (!accepting_ && !options_.Contains(tfoAlwaysPostChanges)) changed_ = false;
    CloseNow();
    return;
  }
  TAliveGuard alive(this);
  {
    TTemporaryChange<bool> accepting(accepting_, true);
    // Posting closes the drop-down through the edit (the vision's post
    // closes an open drop-down first).
    if (postAndMove)
      user_->PostOrMove(edit_, true);
    else if (changed_)
      user_->PostEdit(edit_, true);
    else
      CloseNow();
    if (!alive.Alive()) return;
  }
  // A post that left it open (nothing to post) still ends the drop-down.
  CloseNow();
}

void TVisionToolForm::CloseNow() {
  if (!IsOpen()) return;
  TznToolFormBG* bg = bg_;
  bg->SendCancelMode(nullptr);
  bg->SetToolForm(nullptr);
  bg_ = nullptr;
  closeResult_ = bg->ModalResult();
  // Detaching and restoring run on every path from here on.
  TClosingGuard finish([this] {
    DetachUsers();
    RestoreDesign();
    ForgetEdit();
  });
  if (bg->HandleAllocated())
    SetWindowPos(bg->WindowHandle(), 0, 0, 0, 0, 0,
                 SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  bg->Close();
  SetAlign(alNone);
  if (closeResult_ != mrCancel && (changed_ || closeResult_ != mrNone)) PostChanges();
  OnClose(this);
}

void TVisionToolForm::PostChanges() {
  if (dataGrid_) dataGrid_->PickValue();
  OnPostChanges(this);
}

// Hidden again, with its design bounds, parent and font.
void TVisionToolForm::RestoreDesign() {
  SetVisible(false);
  SetAlign(designAlign_);
  TWinControl* parent = designParent_;
  if (parent && parent->ComponentState().Contains(csDestroying)) parent = nullptr;
  if (Parent() != parent) SetParent(parent);
  SetBoundsRect(designBounds_);
  Font()->Assign(designFont_);
  SetParentFont(designParentFont_);
}

void TVisionToolForm::ForgetEdit() {
  if (editControl_) editControl_->RemoveFreeNotification(this);
  if (designParent_ && designParent_ != Owner()) designParent_->RemoveFreeNotification(this);
  designParent_ = nullptr;
  user_ = nullptr;
  edit_ = nullptr;
  editHost_ = nullptr;
  editControl_ = nullptr;
  vision_ = nullptr;
  currentValue_ = nullptr;
}

}  // namespace brevant
