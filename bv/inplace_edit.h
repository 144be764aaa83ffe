// TtlInplaceEdit: the grid's cell editor. A data-aware edit owned and
// parented by one TDBTabulon and reused for every column the grid edits: it
// shows the cell's field through the column's vision, takes the column's
// font and colour, sits exactly on the cell, and turns the keys that end or
// move an edit into requests to the grid (an action code and the reason
// why), which posts or cancels, closes it and moves the current cell.
//
// The exit reason lives only while the grid handles one request: it is
// reset once the grid is done, so a later post for another reason (focus
// loss, a scroll) never reports a stale key, and a key action closes the
// editor on the release of that one key only.
#pragma once

#include "bv/db_edit.h"
#include "bv/grid_types.h"

namespace brevant {

class TDBTabulon;
class TtlColumn;

class TtlInplaceEdit : public TDBQuentaEdit {
  BV_CLASS(TtlInplaceEdit, TDBQuentaEdit)
 public:
  // The owner must be a TDBTabulon (EBVError otherwise); it is also the
  // parent.
  explicit TtlInplaceEdit(TComponent* owner);

  TDBTabulon* Grid() const { return grid_; }
  // The column edited, nil while detached.
  TtlColumn* Column() const { return column_; }
  // Why the request the grid is handling was made (fpcNone outside one).
  TtlFieldPostCode ExitReason() const { return exitReason_; }
  // The action that closed the editor (set by the grid; feaNone for none).
  TtlFieldEditAction ActionCode() const { return actionCode_; }
  void SetActionCode(TtlFieldEditAction value) { actionCode_ = value; }
  // The action OnEditKeyPress chose for the key being pressed.
  TtlFieldEditAction PendingKeyAction() const { return pendingKeyAction_; }
  // The grid keeps the editor open (read when attached).
  bool AlwaysShown() const { return alwaysShown_; }

  // Sets the editor up for column: font, colour, vision, field and the
  // grid's data source; an always-shown editor reloads its edit text.
  void Attach(TtlColumn* column);
  // Releases the switchers and drop-down, leaves edit state and hides.
  void Detach();
  // Puts the editor on its column's cell in the grid's active row (cut to
  // the grid's client area) with the designer's cell margins as text
  // margins.
  void Place();
  // The user's value differs from the field's: typed into, switched or set.
  bool ValueModified() const;

  // ---- consumer and editor overrides ----
  bool CanModify() override;
  bool CanStartEdit() override { return true; }
  void ValuePosted() override;
  bool UpdateTitle() override;
  bool InGrid() override { return true; }
  bool PostThroughGrid(bool selectAll) override;
  TRect FaceContentRect(const TRect& rect) override;

 protected:
  bool CanEditNow() override { return true; }
  void EscapePressed() override;
  bool ReturnPressed(TShiftState shift) override;
  bool VerticalArrow(bool up, TShiftState shift) override;
  bool HorizontalArrow(bool left) override;
  bool TabPressed(TShiftState shift) override;
  void ForwardWheel(TMessage& message) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  void KeyUp(Word& key, TShiftState shift) override;
  void CMExit(TMessage& message) override;
  // Tab with an open drop-down closes it accepting; the key itself then
  // reaches KeyDown once, as every Tab does.
  void CNKeyDown(TMessage& message) override;
  void PaintFace(TCanvas* canvas) override;

 private:
  // Asks the grid to close with action for reason; the reason holds while
  // the grid handles the request and is reset afterwards, also on failure.
  void RequestClose(TtlFieldPostCode reason, TtlFieldEditAction action);
  // An always-shown editor whose field list does not edit hands paging and
  // the plain Return, Escape and Insert to the grid; True when sent.
  bool ForwardToGrid(Word key, TShiftState shift);
  // The vision keeps a key as text: it is multi-line and (wants the key
  // without a modifier, or does not want it and Ctrl is held).
  bool MultiLineKeeps(bool wants, TShiftState shift);
  // The grid moves without closing: a custom surface, or an always-shown
  // editor whose field list does not edit.
  bool MovesWithoutClosing();

  TDBTabulon* grid_ = nullptr;                     // the owning grid
  TtlColumn* column_ = nullptr;                    // the column edited
  TtlFieldPostCode exitReason_ = fpcNone;          // why the grid was asked
  TtlFieldEditAction actionCode_ = feaNone;        // the action that closed the editor
  TtlFieldEditAction pendingKeyAction_ = feaNone;  // chosen by OnEditKeyPress
  bool alwaysShown_ = false;                       // the grid keeps the editor open
};

}  // namespace brevant
