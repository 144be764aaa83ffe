// TVisionToolForm: the host of every drop-down (lists, calendars,
// calculators, pickers). It is designed like any panel and stays hidden in
// its parent at run time; while a drop-down is open it is lifted into a
// borderless top-level background window (TznToolFormBG) placed under or
// beside the served edit, and put back with its design bounds, parent and
// font when the drop-down closes. The vision that opened it (its user) and
// the edit it serves are attached only while it is open.
//
// A focusable tool form (tfoFocusable) takes the focus and runs its own
// modal loop inside Show; a non-focusable one leaves the focus in the edit,
// which hands keys over through the IVisionToolForm operations.
#pragma once

#include "bv/tool_form_intf.h"
#include "bv_vtf/tool_form_types.h"
#include "controls/extctrls.h"

namespace brevant {

class TFont;
class TfvCurrentValue;
class TznFieldVision;
class TznToolFormBG;

class TVisionToolForm : public TCustomPanel, public IznToolFormHost {
  BV_CLASS(TVisionToolForm, TCustomPanel)
 public:
  explicit TVisionToolForm(TComponent* owner);
  ~TVisionToolForm() override;
  void BeforeDestruction() override;
  void Loaded() override;

  // ---- published ----
  // Focused when a focusable tool form opens; must lie on the tool form.
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* value);
  // The list grid inside the tool form; must lie on the tool form.
  TDBTabulon* DataGrid() const override { return dataGrid_; }
  void SetDataGrid(TDBTabulon* value);
  TvtfPlacement Placement() const { return placement_; }
  void SetPlacement(TvtfPlacement value) { placement_ = value; }
  TvtfOptions Options() const { return options_; }
  void SetOptions(TvtfOptions value) { options_ = value; }

  TNotifyEvent OnPaint;              // after the panel painted itself
  TNotifyEvent OnShow;               // the tool form is being opened
  TNotifyEvent OnPostChanges;        // it closes with accepted changes
  TNotifyEvent OnClose;              // it closes (always)
  TNotifyEvent OnActivate;           // it has been shown
  TvtfSizingEvent OnSizing;          // the user drags an edge
  TNotifyEvent OnCurrentChanged;     // the served value changed, the list followed
  TNotifyEvent OnTextChanged;        // the text of the served edit changed
  TvtfShortCutEvent OnShortCut;      // an accelerator in a focusable tool form
  TvtfEditActionEvent OnEditAction;  // an editing shortcut in a focusable tool form
  // OnKeyDown (keys of the tool form and of the served edit) and OnKeyPress
  // (characters of a focusable tool form) are the inherited events.

  // ---- opening and closing ----
  // Opens the drop-down for edit on behalf of user; nothing while open. A
  // focusable tool form returns only when it has closed again.
  void Show(IVisionToolFormUser* user, IznVisionEditor* edit);
  // Closes accepting (posting through the user) or discarding.
  void Close(bool accept, bool postAndMove) override;
  // The closing steps themselves.
  void CloseNow();
  // Open: the tool form shows in its background window.
  bool IsOpen() const { return bg_ != nullptr && Visible(); }

  // ---- IVisionToolForm ----
  // OnKeyDown; also what a key in the tool form itself runs.
  void KeyDown(Word& key, TShiftState shift) override;
  void FocusChanged(TWinControl* control) override;
  void CurrentChanged() override;
  void TextChanged() override;
  TVisionToolForm* GetToolForm() override { return this; }

  // ---- run-time state (valid while open) ----
  // Set by content handlers (and the list grid) when the user changed the
  // value; cleared at opening.
  bool Changed() const { return changed_; }
  void SetChanged(bool value) override { changed_ = value; }
  // Only a focusable tool form (tfoFocusable) takes the focus.
  bool TakesFocus() const override { return options_.Contains(tfoFocusable); }
  // The background form's modal result at the last closing.
  Integer CloseResult() const { return closeResult_; }
  IVisionToolFormUser* User() const { return user_; }
  IznVisionEditor* Edit() const { return edit_; }
  TWinControl* EditControl() const { return editControl_; }
  TznFieldVision* Vision() const { return vision_; }
  TfvCurrentValue* CurrentValue() const override { return currentValue_; }
  TznToolFormBG* Background() const { return bg_; }
  // The width the background form's client takes at opening: the design
  // width, or 0 for the edit's width; OnShow may change it. After opening,
  // the background form's width used.
  Integer UseWidth() const { return useWidth_; }
  void SetUseWidth(Integer value) { useWidth_ = value; }
  // The placement used (tfpBottomCenter .. tfpRightCenter).
  TvtfPlacement Side() const { return side_; }
  // Pixels the background form reaches past the edit on each side: 1 for
  // the in-place editor, 0 for a standalone edit.
  Integer HostOffset() const;
  // The edit's form (nil when the edit has none).
  TCustomForm* EditForm() const;

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TznToolFormBG;
  // The steps of Show and CloseNow.
  void AttachEdit(IVisionToolFormUser* user, IznVisionEditor* edit);
  void CreateBackground();
  void AttachUsers();
  void DetachUsers();
  void SizeBackground();
  void PlaceBackground();
  void ShowBackground();
  void RestoreDesign();
  void ForgetEdit();
  void RunModalLoop();
  bool TakePendingPress();
  void DropAltReturn();
  void CheckOnToolForm(TControl* control) const;
  void PostChanges();

  TWinControl* activeControl_ = nullptr;  // focused on opening
  TDBTabulon* dataGrid_ = nullptr;        // the list grid inside
  TvtfPlacement placement_ = tfpDefault;  // the designed placement
  TvtfOptions options_;                   // the designed options

  IVisionToolFormUser* user_ = nullptr;      // the vision that opened it
  IznVisionEditor* edit_ = nullptr;          // the served edit
  IznToolFormEdit* editHost_ = nullptr;      // the same edit, as the host sees it
  TWinControl* editControl_ = nullptr;       // the same edit, as a control
  TznFieldVision* vision_ = nullptr;         // the edit's vision
  TfvCurrentValue* currentValue_ = nullptr;  // the edit's current value
  TRect editRect_;                           // the edit on the screen at opening
  TRect designBounds_;                       // bounds to restore at closing
  TAlign designAlign_ = alNone;              // alignment to restore
  TWinControl* designParent_ = nullptr;      // parent to return to
  TFont* designFont_ = nullptr;              // font to restore (owned)
  bool designParentFont_ = true;             // ParentFont to restore
  TznToolFormBG* bg_ = nullptr;              // the background form while open
  TvtfPlacement side_ = tfpBottomLeft;       // the placement used
  Integer useWidth_ = 0;                     // the width to use
  bool changed_ = false;                     // the user changed the value
  Integer closeResult_ = 0;                  // modal result at closing
  bool accepting_ = false;                   // closing with acceptance
};

}  // namespace brevant
