// TDBQuentaEdit: the button strip (its width, its place outside the client
// area, presses by mouse), the surface presses, the mouse and wheel, and
// drop-down requests and tool forms.
#include "bv/datalink_ex.h"
#include "bv/db_edit.h"
#include "bv/db_edit_switchers.h"
#include "bv/field_vision.h"
#include "bv/tabulon.h"
#include "bv_rtm/draw_helpers.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/region.h"
#include "rtl/scope.h"

namespace brevant {

// ---- the button strip ----

Integer TDBQuentaEdit::ComputeButtonWidth() {
  TznFieldVision* vision = EffectiveVision();
  if (!vision || !vision->EnableButton()) return 0;
  Integer width = GetSystemMetrics(SM_CXVSCROLL);
  if (vision->ButtonStyle() == pbsCustom)
    if (const TBitmap* glyph = vision->ButtonGlyphIfAny())
      width = std::max(width, glyph->Width() + 4);
  return width;
}

TRect TDBQuentaEdit::ButtonRect() const {
  if (buttonWidth_ <= 0) return TRect();
  const TRect client = ClientRect();
  if (UseRightToLeftReading())
    return TRect(client.Left - buttonWidth_, client.Top, client.Left, client.Bottom);
  return TRect(client.Right, client.Top, client.Right + buttonWidth_, client.Bottom);
}

TRect TDBQuentaEdit::ButtonStripInWindow() const {
  TRect strip = ButtonRect();
  const TRect client = GetClientRectInWindow(WindowHandle());
  OffsetRect(strip, client.Left, client.Top);
  return strip;
}

Integer TDBQuentaEdit::RegionInset() const {
  return inPlace_ ? 0 : BorderInset(borderStyle_);
}

void TDBQuentaEdit::Relayout() {
  if (!HandleAllocated()) return;
  const Integer width = ComputeButtonWidth();
  if (width != buttonWidth_) {
    buttonWidth_ = width;
    // The strip is reserved outside the client area: the frame changes.
    SetWindowPos(WindowHandle(), 0, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  // The region cuts off the edge the border kind does not show.
  const Integer inset = RegionInset();
  if (inset > 0) {
    const TRegion region(TRect(inset, inset, Width() - inset, Height() - inset));
    SetWindowRgn(WindowHandle(), &region, true);
  } else {
    SetWindowRgn(WindowHandle(), nullptr, true);
  }
  ScrollCaret();
  // The input method composes at the text's top-left corner.
  const TRect text = TextRect();
  SetImeCompositionPos({text.Left, text.Top});
  PaintButton();
  Invalidate();
}

void TDBQuentaEdit::WMNCCalcSize(TMessage& message) {
  TCustomMaskEdit::WMNCCalcSize(message);
  auto* rect = reinterpret_cast<TRect*>(message.LParam);
  if (!rect) return;
  if (!inPlace_ && borderStyle_ != bs3D) {
    const Integer inset = BorderInset(borderStyle_);
    InflateRect(*rect, -inset, -inset);
    BorderCalcSize(borderStyle_, *rect);
  }
  const Integer strip = std::max<Integer>(0, std::min(buttonWidth_, rect->Right - rect->Left));
  if (UseRightToLeftReading())
    rect->Left += strip;
  else
    rect->Right -= strip;
}

// Mouse messages over the strip reach the control as client messages.
void TDBQuentaEdit::WMNCHitTest(TMessage& message) {
  TCustomMaskEdit::WMNCHitTest(message);
  if (message.Result == HTCLIENT || buttonWidth_ == 0) return;
  const TPoint p = ScreenToClient(LParamToPoint(message.LParam));
  if (PtInRect(ButtonRect(), p)) message.Result = HTCLIENT;
}

// ---- mouse ----

bool TDBQuentaEdit::ButtonMouseDown(TMessage& message) {
  const TPoint p = LParamToPoint(message.LParam);
  const TRect strip = ButtonRect();
  if (!PtInRect(strip, p) || !CanFocus()) return false;
  const bool hadFocus = Focused();
  {
    TTemporaryChange<bool> byMouse(pressedByMouse_, true);
    if (!hadFocus) SetFocus();
    if (!hadFocus) SelectAll();
  }
  TznFieldVision* vision = EffectiveVision();
  const bool spin = vision->ButtonStyle() == pbsSpin;
  Integer part = epButton;
  TRect rect = strip;
  if (spin) {
    const Integer middle = strip.Top + strip.Height() / 2;
    part = p.Y < middle ? epSpinUp : epSpinDown;
    if (part == epSpinUp)
      rect.Bottom = middle;
    else
      rect.Top = middle;
  }
  const bool dropDown = vision->ButtonStyle() == pbsDropDown;
  buttonSwitcher_->MouseDown(part, p.X, spin, dropDown, rect, Cardinal(message.WParam), p.Y);
  return true;
}

void TDBQuentaEdit::WMLButtonDown(TMessage& message) {
  TAliveGuard alive(this);
  if (ButtonMouseDown(message) || !alive.Alive()) return;
  if (!editState_ && CanFocus()) SetFocus();
  if (!alive.Alive()) return;
  TznFieldVision* vision = EffectiveVision();
  if (vision->ComboBoxStyle() && editState_) {
    SelectAll();
    if (fieldList_->Active()) vision->ButtonAction(this, bkComboClick);
    return;
  }
  const TPoint p = LParamToPoint(message.LParam);
  surfaceSwitcher_->MouseDown(epSurface, p.X, false, false, ClientRect(), Cardinal(message.WParam),
                              p.Y);
  if (alive.Alive()) TCustomMaskEdit::WMLButtonDown(message);
}

void TDBQuentaEdit::WMLButtonDblClk(TMessage& message) {
  TAliveGuard alive(this);
  if (ButtonMouseDown(message) || !alive.Alive()) return;
  TCustomMaskEdit::WMLButtonDblClk(message);
  if (alive.Alive() && fieldList_->Active()) EffectiveVision()->DblClick(this);
}

void TDBQuentaEdit::WMLButtonUp(TMessage& message) {
  TAliveGuard alive(this);
  const TPoint p = LParamToPoint(message.LParam);
  {
    TTemporaryChange<bool> releasing(releasing_, true);
    buttonSwitcher_->MouseUp(p.X, p.Y);
    if (!alive.Alive()) return;
    surfaceSwitcher_->MouseUp(p.X, p.Y);
    if (!alive.Alive()) return;
  }
  TCustomMaskEdit::WMLButtonUp(message);
}

void TDBQuentaEdit::WMRButtonDown(TMessage& message) {
  if (CustomSurface() && CanFocus() && !Focused()) SetFocus();
  TCustomMaskEdit::WMRButtonDown(message);
}

void TDBQuentaEdit::WMMouseMove(TMessage& message) {
  const TPoint p = LParamToPoint(message.LParam);
  buttonSwitcher_->MouseMove(p.X, p.Y);
  surfaceSwitcher_->MouseMove(p.X, p.Y);
  TCustomMaskEdit::WMMouseMove(message);
}

void TDBQuentaEdit::WMMouseWheel(TMessage& message) {
  TCustomMaskEdit::WMMouseWheel(message);
  TWinControl* grid = toolFormHost_ ? toolFormHost_->DataGrid() : nullptr;
  if (grid)
    grid->Perform(message.Msg, message.WParam, message.LParam);
  else
    ForwardWheel(message);
}

void TDBQuentaEdit::CMMouseEnter(TMessage& message) {
  TCustomMaskEdit::CMMouseEnter(message);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TDBQuentaEdit::CMMouseLeave(TMessage& message) {
  TCustomMaskEdit::CMMouseLeave(message);
  if (OnMouseLeave) OnMouseLeave(this);
}

// ---- drop-downs ----

void TDBQuentaEdit::PostDropDownRequest() {
  if (HandleAllocated()) PostMessage(WindowHandle(), WM_ZN_DROPDOWN);
}

void TDBQuentaEdit::WMDropDownRequest(TMessage&) {
  if (editState_) DropDown();
}

void TDBQuentaEdit::DropDown() {
  if (toolForm_) return;
  TTemporaryChange<bool> dropping(dropping_, true);
  TznFieldVision* vision = EffectiveVision();
  if (TVisionToolForm* form = vision->GetDropDown()) vision->ShowDropDown(this, form);
}

void TDBQuentaEdit::CloseDropDown(bool accept) {
  if (toolFormHost_) toolFormHost_->Close(accept, false);
}

}  // namespace brevant
