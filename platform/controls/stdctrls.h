// The standard controls: labels, bevels, group boxes, push buttons and
// check boxes, drawn in the classic 3-D look with the system colours.
//
// Captions may carry an accelerator ("&Name"): the character after a single
// "&" is underlined and Alt+character (or the character alone when the
// focused control does not take characters) reaches the control through the
// form's CM_DIALOGCHAR. A label passes its accelerator on to FocusControl; a
// button clicks; a check box toggles; a group box focuses its first child.
//
// Buttons. A button that has the focus, or the Default button while no other
// button has it, answers Return; the Cancel button answers Escape; both
// arrive as the form's CM_DIALOGKEY, so a control that keeps Return for
// itself (WM_GETDLGCODE) is not overridden. Space presses the focused button
// (the click comes on release). Clicking a button with a ModalResult sets
// the parent form's ModalResult before OnClick runs.
//
// Disabled text is embossed: drawn in clBtnHighlight one pixel down and
// right, then in clBtnShadow at its place.
#pragma once

#include "classes/shared_enums.h"
#include "controls/controls.h"
#include "controls/forms.h"

namespace brevant {

// ---- drawing helpers shared by the standard controls ------------------------------------
// Draws width rings inside rect: top and left sides in topColor, bottom and
// right in bottomColor; rect shrinks to the inside.
void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, Integer width);
// DrawText in the font's colour, or embossed when disabled. The brush is
// left clear.
void DrawCaption(TCanvas* canvas, const String& text, TRect& rect, Cardinal format, bool enabled);
// The dotted focus rectangle in the classic black and white.
void DrawFocusFrame(TCanvas* canvas, const TRect& rect);

// ---- TCustomLabel / TLabel ------------------------------------------------------------
class TCustomLabel : public TGraphicControl {
  BV_CLASS(TCustomLabel, TGraphicControl)
 public:
  explicit TCustomLabel(TComponent* owner);
  void Loaded() override;

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout value);
  // Fits the bounds to the caption (the width too unless WordWrap); a right
  // justified label keeps its right edge.
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  // A transparent label paints only its text over the parent.
  bool Transparent() const { return !controlStyle_.Contains(csOpaque); }
  void SetTransparent(bool value);
  bool ShowAccelChar() const { return showAccelChar_; }
  void SetShowAccelChar(bool value);
  // The control the accelerator focuses; cleared when it is freed.
  TWinControl* FocusControl() const { return focusControl_; }
  void SetFocusControl(TWinControl* value);

  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void Notification(TComponent* component, TOperation operation) override;
  void CMTextChanged(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  virtual void AdjustBounds();
  Cardinal TextFormat() const;

 private:
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool autoSize_ = true;
  bool wordWrap_ = false;
  bool showAccelChar_ = true;
  TWinControl* focusControl_ = nullptr;
};

class TLabel : public TCustomLabel {
  BV_CLASS(TLabel, TCustomLabel)
 public:
  using TCustomLabel::TCustomLabel;
};

// ---- TBevel ----------------------------------------------------------------------------------
enum TBevelShape : Byte {
  bsBox,
  bsFrame,
  bsTopLine,
  bsBottomLine,
  bsLeftLine,
  bsRightLine,
  bsSpacer
};
enum TBevelStyle : Byte { bsLowered, bsRaised };
BV_DECLARE_ENUM_INFO(TBevelShape)
BV_DECLARE_ENUM_INFO(TBevelStyle)

class TBevel : public TGraphicControl {
  BV_CLASS(TBevel, TGraphicControl)
 public:
  explicit TBevel(TComponent* owner);
  TBevelShape Shape() const { return shape_; }
  void SetShape(TBevelShape value);
  TBevelStyle Style() const { return style_; }
  void SetStyle(TBevelStyle value);

 protected:
  void Paint() override;

 private:
  TBevelShape shape_ = bsBox;
  TBevelStyle style_ = bsLowered;
};

// ---- TGroupBox -------------------------------------------------------------------------------
// An etched frame with the caption on its top line; children align inside it.
class TCustomGroupBox : public TCustomControl {
  BV_CLASS(TCustomGroupBox, TCustomControl)
 public:
  explicit TCustomGroupBox(TComponent* owner);

 protected:
  void Paint() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void CMDialogChar(TMessage& message) override;
  void CMTextChanged(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
};

class TGroupBox : public TCustomGroupBox {
  BV_CLASS(TGroupBox, TCustomGroupBox)
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

// ---- TButtonControl ---------------------------------------------------------------------------
// What push buttons and check boxes share: the pressed look while the left
// button is held over the control or Space is held, focus on click, a
// repaint on focus changes, and the click on release.
class TButtonControl : public TCustomControl {
  BV_CLASS(TButtonControl, TCustomControl)
 public:
  explicit TButtonControl(TComponent* owner);
  // Whether the control shows pressed now.
  bool Pressed() const { return pressed_; }

 protected:
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyUp(Word& key, TShiftState shift) override;
  void WMSetFocus(TMessage& message) override;
  void WMKillFocus(TMessage& message) override;
  void WMGetDlgCode(TMessage& message) override;
  void CMEnabledChanged(TMessage& message) override;
  void WMCancelMode(TMessage& message) override;
  void SetPressed(bool value);

 private:
  // After a press asked for the focus: a control of the same form kept it.
  bool RefusedFocus() const;

  bool pressed_ = false;
  bool mouseDown_ = false;
  bool spaceDown_ = false;
};

// ---- TButton ---------------------------------------------------------------------------------
class TButton : public TButtonControl {
  BV_CLASS(TButton, TButtonControl)
 public:
  explicit TButton(TComponent* owner);

  // Return anywhere on the form clicks the default button (unless another
  // button has the focus or the focused control keeps Return).
  bool Default() const { return default_; }
  void SetDefault(bool value);
  // Escape anywhere on the form clicks the cancel button.
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  // Set on the parent form when the button is clicked (mrNone: nothing).
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  // Whether the button answers Return now (it has the focus, or it is the
  // default button and no other button has it).
  bool Active() const { return active_; }

  // Sets the form's ModalResult, then fires OnClick.
  void Click() override;

 protected:
  void Paint() override;
  void WMGetDlgCode(TMessage& message) override;
  void CMDialogKey(TMessage& message) override;
  void CMDialogChar(TMessage& message) override;
  void CMFocusChanged(TMessage& message) override;

 private:
  void SetActive(bool value);
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
  TModalResult modalResult_ = mrNone;
};

// ---- TCheckBox -------------------------------------------------------------------------------
enum TCheckBoxState : Byte { cbUnchecked, cbChecked, cbGrayed };
BV_DECLARE_ENUM_INFO(TCheckBoxState)
// Which side of the box the caption is on: taRightJustify puts it right of
// the box (the usual look), taLeftJustify left of it.
using TLeftRight = TAlignment;

class TCheckBox : public TButtonControl {
  BV_CLASS(TCheckBox, TButtonControl)
 public:
  explicit TCheckBox(TComponent* owner);

  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  // A change fires OnClick (not while loading), the way the check box
  // reports every change of its state.
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  // Whether a click passes through the grayed state.
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  TLeftRight Alignment() const { return alignment_; }
  void SetAlignment(TLeftRight value);

  // The next state (unchecked, checked, grayed when allowed).
  void Toggle();

 protected:
  void Paint() override;
  // A user's click toggles.
  void Click() override;
  void CMDialogChar(TMessage& message) override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  bool toggling_ = false;
  TLeftRight alignment_ = taRightJustify;
};

// Registers every standard, extended and common control class for form
// streams (stdctrls, extctrls and comctrls).
void RegisterStdControlClasses();

}  // namespace brevant
