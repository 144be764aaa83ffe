// TznToolFormBG: the borderless top-level window a tool form is lifted into
// while its drop-down is open. It stays on top, never activates on a
// click, draws a one-pixel frame (two when sizable), lets the user drag
// the edges that do not face the edit (asking the tool form's OnSizing),
// hands Alt+Down, Return and Escape of a focusable tool form over to the
// served edit, and closes the drop-down when it loses the activation. It
// frees itself when closed.
#pragma once

#include "bv_vtf/tool_form_types.h"
#include "controls/forms.h"

namespace brevant {

class TVisionToolForm;

class TznToolFormBG : public TForm {
  BV_CLASS(TznToolFormBG, TForm)
 public:
  explicit TznToolFormBG(TComponent* owner);

  // The tool form it holds (nil once it forgot it, while closing).
  TVisionToolForm* ToolForm() const { return toolForm_; }
  void SetToolForm(TVisionToolForm* value) { toolForm_ = value; }
  // Placed above the edit (bottom placements) or left of it (beside).
  bool Opposite() const { return opposite_; }
  void SetOpposite(bool value) { opposite_ = value; }
  // 1: one-pixel flat mono frame; 2: flat frame; 4: raised frame.
  Byte FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(Byte value) { frameStyle_ = value; }
  // The frame's width on each side: 1, plus 1 when the user may size it.
  Integer FrameWidth() const;
  // The user may drag edges: not both tfoFixedWidth and tfoFixedHeight.
  bool Sizable() const;
  // The hit-test code of a screen point (HTCLIENT, HTLEFT ... HTBOTTOMRIGHT
  // on the frame, HTNOWHERE outside), after the sizing rules.
  Integer SizingHitTest(TPoint screenPos) const;
  // Whether the user is dragging an edge now.
  bool Sizing() const { return sizingEdge_ != 0; }

  void WndProc(TMessage& message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void DoClose(TCloseAction& action) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void KeyPress(char32_t& key) override;
  void WMNCCalcSize(TMessage& message) override;
  void WMNCPaint(TMessage& message) override;
  void WMNCHitTest(TMessage& message) override;
  void WMActivate(TMessage& message) override;
  void WMSysCommand(TMessage& message) override;
  void CMDialogChar(TMessage& message) override;

 private:
  bool Focusable() const;
  TvtfOptions ToolFormOptions() const;
  void HandToEdit(Word key, bool alt);
  bool EditShortCut(Word key, TShiftState shift);
  bool StartSizing(TMessage& message);
  void PassSysCommand(TMessage& message);
  void TrackSizing(TMessage& message);
  void EndSizing(TMessage& message);
  Integer RawHitTest(TPoint screenPos) const;

  TVisionToolForm* toolForm_ = nullptr;  // the tool form held while open
  bool opposite_ = false;                // placed on the opposite side
  Byte frameStyle_ = 1;                  // frame drawing style
  Integer sizingEdge_ = 0;               // HT code of the edge dragged (0: none)
  TPoint sizingStart_;                   // pointer position where the drag began
  TRect sizingRect_;                     // window rectangle where the drag began
};

}  // namespace brevant
