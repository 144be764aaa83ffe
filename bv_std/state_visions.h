// The check-box vision and the owner-draw vision. TCheckBoxVision shows a
// field as a check box (checked, unchecked, grayed) and switches it by click
// or Space; TOwnerDrawVision leaves the whole look to event handlers. The
// x-state vision is in state_visions_xstate.h.
#pragma once

#include "bv/field_vision.h"

namespace brevant {

// The look of the check box.
enum TcbvBoxStyle : Byte { cbv3D, cbv3DSoft, cbvMono, cbvFlat };
BV_DECLARE_ENUM_INFO(TcbvBoxStyle)
// The three states of a check box.
enum TcbvState : Byte { cbvChecked, cbvUnChecked, cbvGrayed };
BV_DECLARE_ENUM_INFO(TcbvState)

using TcbvGetStateEvent = TEvent<void(TObject* Sender, TtlFieldList* Fields, TcbvState& State)>;
using TcbvSetStateEvent =
    TEvent<void(TObject* Sender, TtlFieldList* Fields, TcbvState& State, bool& DoPost)>;

class TCheckBoxVision : public TznFieldVision {
  BV_CLASS(TCheckBoxVision, TznFieldVision)
 public:
  // The box is this many pixels square; a caption beside it starts after
  // the indent.
  static constexpr Integer kBoxSize = 13;
  static constexpr Integer kCaptionIndent = 16;

  explicit TCheckBoxVision(TComponent* owner = nullptr);

  // The state the fields show: ShowNullAs for null, the Boolean, or the
  // value texts; OnGetState may change it.
  TcbvState GetState(TtlFieldList* fields);
  // The state a switch leads to from state.
  TcbvState NextState(TcbvState state) const;

  void DrawContent(TtlFieldList* fields, TfvPainter* painter) override;
  void DrawInactive(TtlFieldList* fields, TfvPainter* painter) override;
  void CheckFields(TtlFieldList* fields, bool& active) override;
  void LoadCurrentValue(IznVisionEditor* editor) override;
  void SwitchByKey(IznVisionEditor* editor, bool& posted) override;
  void SwitchByMouse(IznVisionEditor* editor, bool& posted) override;
  void CanSwitchByKey(IznVisionEditor* editor, Word key, bool& allow, TShiftState shift) override;
  void CanSwitchAt(IznVisionEditor* editor, Integer x, Integer y, bool& allow,
                   TShiftState shift) override;
  TAlignment GetAlignment(TtlFieldList* fields) override;
  TznDefLayout GetLayout(TtlFieldList* fields) override;
  bool WantArrows() override;

  bool FullFocusRect() const { return fullFocusRect_; }
  void SetFullFocusRect(bool value);
  TcbvBoxStyle BoxStyle() const { return boxStyle_; }
  void SetBoxStyle(TcbvBoxStyle value);
  const String& ValueChecked() const { return valueChecked_; }
  void SetValueChecked(const String& value);
  const String& ValueUnChecked() const { return valueUnChecked_; }
  void SetValueUnChecked(const String& value);
  const String& ValueGrayed() const { return valueGrayed_; }
  void SetValueGrayed(const String& value);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  TcbvState ShowNullAs() const { return showNullAs_; }
  void SetShowNullAs(TcbvState value);

  // Copies the check-box properties too.
  void Assign(const TPersistent* source) override;

  TcbvGetStateEvent OnGetState;
  TcbvSetStateEvent OnSetState;

 private:
  // Draws the box (and, in a standalone editor, caption and focus) in state.
  void DrawBox(TtlFieldList* fields, TfvPainter* painter, TcbvState state);
  // Steps the field to the next state and posts it; posted tells whether
  // anything was written.
  void Toggle(IznVisionEditor* editor, bool& posted);

  bool fullFocusRect_ = false;        // the focus spans the whole editor
  TcbvBoxStyle boxStyle_ = cbvFlat;   // the box's look
  String valueChecked_;               // field texts of the checked state
  String valueUnChecked_;             // field texts of the unchecked state
  String valueGrayed_;                // field texts of the grayed state
  bool allowGrayed_ = false;          // switching passes through grayed
  TcbvState showNullAs_ = cbvGrayed;  // the state a null field shows
};

// A vision whose look is drawn by its OnDraw / OnDrawEdit handlers; it never
// modifies data itself.
class TOwnerDrawVision : public TznFieldVision {
  BV_CLASS(TOwnerDrawVision, TznFieldVision)
 public:
  explicit TOwnerDrawVision(TComponent* owner = nullptr);
  ~TOwnerDrawVision() override;

  void CheckFields(TtlFieldList* fields, bool& active) override;
  TPopupMenu* GetPopupMenu() override;
  void EditAction(IznVisionEditor* editor, TznEditAction action) override;

  // The editor's context menu (not owned; cleared when freed).
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);

  TfvEditActionEvent OnEditAction;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TPopupMenu* popupMenu_ = nullptr;  // context menu offered by editors
};

// Makes the check-box, x-state and owner-draw visions known to form streams.
void RegisterStateVisionClasses();

}  // namespace brevant
