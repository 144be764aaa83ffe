// TLabel, TBevel, TGroupBox, TButton, TCheckBox and the drawing helpers
// the standard controls share.
#include "controls/stdctrls.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "controls/comctrls.h"
#include "controls/extctrls.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/strutils.h"

namespace brevant {

// ---- drawing helpers ---------------------------------------------------------------------

void Frame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, Integer width) {
  TBrush* brush = canvas->Brush();
  for (Integer i = 0; i < width && !IsRectEmpty(rect); ++i) {
    brush->SetColor(topColor);
    canvas->FillRect(Rect(rect.Left, rect.Top, rect.Right, rect.Top + 1));
    canvas->FillRect(Rect(rect.Left, rect.Top, rect.Left + 1, rect.Bottom));
    brush->SetColor(bottomColor);
    canvas->FillRect(Rect(rect.Left, rect.Bottom - 1, rect.Right, rect.Bottom));
    canvas->FillRect(Rect(rect.Right - 1, rect.Top, rect.Right, rect.Bottom));
    InflateRect(rect, -1, -1);
  }
}

void DrawCaption(TCanvas* canvas, const String& text, TRect& rect, Cardinal format, bool enabled) {
  canvas->Brush()->SetStyle(bsClear);
  if (enabled) {
    canvas->SetTextColor(canvas->Font()->Color());
    canvas->DrawText(text, rect, format);
    return;
  }
  TRect shifted = rect;
  OffsetRect(shifted, 1, 1);
  canvas->SetTextColor(clBtnHighlight);
  canvas->DrawText(text, shifted, format);
  canvas->SetTextColor(clBtnShadow);
  canvas->DrawText(text, rect, format);
}

void DrawFocusFrame(TCanvas* canvas, const TRect& rect) {
  canvas->SetTextColor(clBlack);
  canvas->SetBkColor(clWhite);
  canvas->DrawFocusRect(rect);
}

// ---- TCustomLabel -----------------------------------------------------------------------

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  controlStyle_ += {csOpaque, csReplicatable};
  width_ = 65;
  height_ = 17;
  SetParentColor(true);
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

Cardinal TCustomLabel::TextFormat() const {
  Cardinal f = DT_EXPANDTABS;
  if (wordWrap_) f |= DT_WORDBREAK;
  if (!showAccelChar_) f |= DT_NOPREFIX;
  if (alignment_ == taRightJustify) f |= DT_RIGHT;
  if (alignment_ == taCenter) f |= DT_CENTER;
  return f;
}

void TCustomLabel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  if (!Transparent()) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(r);
  }
  c->SetFont(Font());
  String text = Caption();
  // An empty line keeps its height when measured.
  if (layout_ != tlTop) {
    TRect calc = r;
    c->DrawText(text.empty() ? " " : text, calc, TextFormat() | DT_CALCRECT);
    Integer free = r.Height() - calc.Height();
    r.Top += layout_ == tlCenter ? free / 2 : free;
  }
  DrawCaption(c, text, r, TextFormat(), Enabled());
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || IsLoading()) return;
  TCanvas* c = Canvas();
  c->SetFont(Font());
  TRect r = Rect(0, 0, wordWrap_ ? width_ : 0x3FFFFFFF, 0);
  c->DrawText(Caption().empty() ? " " : Caption(), r, TextFormat() | DT_CALCRECT);
  Integer w = wordWrap_ ? width_ : r.Width();
  Integer left = left_;
  if (alignment_ == taRightJustify && !wordWrap_) left = left_ + width_ - w;
  SetBounds(left, top_, w, r.Height());
}

void TCustomLabel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TCustomLabel::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  AdjustBounds();
}

void TCustomLabel::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
  if (value == Transparent()) return;
  if (value)
    controlStyle_ -= csOpaque;
  else
    controlStyle_ += csOpaque;
  // The parent must repaint what shows through.
  InvalidateControl(Visible(), false);
}

void TCustomLabel::SetShowAccelChar(bool value) {
  if (value == showAccelChar_) return;
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
  if (value == focusControl_) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = value;
  if (value) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::CMTextChanged(TMessage& m) {
  AdjustBounds();
  TGraphicControl::CMTextChanged(m);
}

void TCustomLabel::CMFontChanged(TMessage& m) {
  AdjustBounds();
  TGraphicControl::CMFontChanged(m);
}

void TCustomLabel::Dispatch(TMessage& m) {
  if (m.Msg == CM_DIALOGCHAR) {
    if (focusControl_ && Enabled() && showAccelChar_ &&
        IsAccel(static_cast<char32_t>(m.WParam), Caption()) && focusControl_->CanFocus()) {
      focusControl_->SetFocus();
      m.Result = 1;
    }
    return;
  }
  TGraphicControl::Dispatch(m);
}

// ---- TBevel ---------------------------------------------------------------------------------

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
  controlStyle_ += csReplicatable;
  controlStyle_ -= csClickEvents;
  width_ = 50;
  height_ = 50;
}

void TBevel::SetShape(TBevelShape value) {
  if (value == shape_) return;
  shape_ = value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle value) {
  if (value == style_) return;
  style_ = value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* c = Canvas();
  const TColor first = style_ == bsLowered ? clBtnShadow : clBtnHighlight;
  const TColor second = style_ == bsLowered ? clBtnHighlight : clBtnShadow;
  const Integer w = Width(), h = Height();
  auto fill = [c](TColor color, TRect r) {
    c->Brush()->SetColor(color);
    c->FillRect(r);
  };
  TRect r = Rect(0, 0, w, h);
  switch (shape_) {
    case bsBox:
      Frame3D(c, r, first, second, 1);
      break;
    case bsFrame: {
      // Two frames one pixel apart give the etched (or bumped) line.
      TRect outer = Rect(0, 0, w - 1, h - 1);
      Frame3D(c, outer, first, first, 1);
      TRect inner = Rect(1, 1, w, h);
      Frame3D(c, inner, second, second, 1);
      break;
    }
    case bsTopLine:
      fill(first, Rect(0, 0, w, 1));
      fill(second, Rect(0, 1, w, 2));
      break;
    case bsBottomLine:
      fill(first, Rect(0, h - 2, w, h - 1));
      fill(second, Rect(0, h - 1, w, h));
      break;
    case bsLeftLine:
      fill(first, Rect(0, 0, 1, h));
      fill(second, Rect(1, 0, 2, h));
      break;
    case bsRightLine:
      fill(first, Rect(w - 2, 0, w - 1, h));
      fill(second, Rect(w - 1, 0, w, h));
      break;
    case bsSpacer:
      break;
  }
}

// ---- TCustomGroupBox -------------------------------------------------------------------

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents,
                   csSetCaption,      csDoubleClicks, csReplicatable};
  width_ = 185;
  height_ = 105;
  SetParentColor(true);
}

void TCustomGroupBox::Paint() {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  const Integer h = c->TextHeight("0");
  TRect frame = ClientRect();
  frame.Top += h / 2;
  // The etched frame: a shadow frame with a highlight frame one pixel inside.
  TRect outer = Rect(frame.Left, frame.Top, frame.Right - 1, frame.Bottom - 1);
  Frame3D(c, outer, clBtnShadow, clBtnShadow, 1);
  TRect inner = Rect(frame.Left + 1, frame.Top + 1, frame.Right, frame.Bottom);
  Frame3D(c, inner, clBtnHighlight, clBtnHighlight, 1);
  if (Caption().empty()) return;
  TRect text = Rect(0, 0, 0, 0);
  c->DrawText(Caption(), text, DT_SINGLELINE | DT_CALCRECT);
  OffsetRect(text, 8, 0);
  text.Right = std::min<Integer>(text.Right + 2, ClientWidth() - 6);
  text.Left -= 1;
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(text);
  text.Left += 1;
  DrawCaption(c, Caption(), text, DT_SINGLELINE, Enabled());
}

void TCustomGroupBox::AlignControls(TControl* control, TRect& rect) {
  TCanvas* c = Canvas();
  c->SetFont(Font());
  rect.Top += c->TextHeight("0");
  InflateRect(rect, -2, -2);
  if (rect.Bottom < rect.Top) rect.Bottom = rect.Top;
  if (rect.Right < rect.Left) rect.Right = rect.Left;
  TCustomControl::AlignControls(control, rect);
}

void TCustomGroupBox::CMDialogChar(TMessage& m) {
  if (Enabled() && IsAccel(static_cast<char32_t>(m.WParam), Caption()) && CanFocus()) {
    SelectFirst();
    m.Result = 1;
    return;
  }
  TCustomControl::CMDialogChar(m);
}

void TCustomGroupBox::CMTextChanged(TMessage& m) {
  TCustomControl::CMTextChanged(m);
  Invalidate();
}

void TCustomGroupBox::CMFontChanged(TMessage& m) {
  TCustomControl::CMFontChanged(m);
  Realign();
}

// ---- TButtonControl --------------------------------------------------------------------

TButtonControl::TButtonControl(TComponent* owner) : TCustomControl(owner) {
  // A quick second press is another press, not a double click.
  controlStyle_ = {csCaptureMouse, csClickEvents, csSetCaption, csOpaque};
  SetTabStop(true);
}

void TButtonControl::SetPressed(bool value) {
  if (value == pressed_) return;
  pressed_ = value;
  Invalidate();
}

void TButtonControl::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft && Enabled()) {
    TAliveGuard alive(this);
    if (!Focused() && CanFocus() && GetParentForm(this)) {
      SetFocus();
      if (!alive.Alive()) return;
      // A control of this form kept the focus (it refused to let it go):
      // this press neither shows nor clicks.
      if (RefusedFocus()) {
        controlState_ -= csClicked;
        TCustomControl::MouseDown(button, shift, x, y);
        return;
      }
    }
    mouseDown_ = true;
    SetPressed(true);
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

bool TButtonControl::RefusedFocus() const {
  if (Focused()) return false;
  TWinControl* keeper = FindControl(brevant::GetFocus());
  return keeper && GetParentForm(keeper) == GetParentForm(this);
}

void TButtonControl::MouseMove(TShiftState shift, Integer x, Integer y) {
  if (mouseDown_) SetPressed(PtInRect(ClientRect(), TPoint{x, y}));
  TCustomControl::MouseMove(shift, x, y);
}

void TButtonControl::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft && mouseDown_) {
    mouseDown_ = false;
    SetPressed(spaceDown_);
  }
  TCustomControl::MouseUp(button, shift, x, y);
}

void TButtonControl::KeyDown(Word& key, TShiftState shift) {
  if (key == VK_SPACE && shift.Bits() == 0 && !mouseDown_) {
    // A repeated key-down of the held Space changes nothing.
    spaceDown_ = true;
    SetPressed(true);
  }
  TCustomControl::KeyDown(key, shift);
}

void TButtonControl::KeyUp(Word& key, TShiftState shift) {
  if (key == VK_SPACE && spaceDown_) {
    spaceDown_ = false;
    SetPressed(false);
    TAliveGuard alive(this);
    Click();
    if (!alive.Alive()) return;
  }
  TCustomControl::KeyUp(key, shift);
}

void TButtonControl::WMSetFocus(TMessage& m) {
  TCustomControl::WMSetFocus(m);
  Invalidate();
}

void TButtonControl::WMKillFocus(TMessage& m) {
  // Space released elsewhere does not click.
  spaceDown_ = false;
  if (!mouseDown_) SetPressed(false);
  TCustomControl::WMKillFocus(m);
  Invalidate();
}

// The mouse press ends without a click (a drag this button started ended).
void TButtonControl::WMCancelMode(TMessage& m) {
  controlState_ -= csClicked;
  mouseDown_ = false;
  SetPressed(spaceDown_);
  TCustomControl::WMCancelMode(m);
}

void TButtonControl::WMGetDlgCode(TMessage& m) {
  m.Result = DLGC_BUTTON;
}

void TButtonControl::CMEnabledChanged(TMessage& m) {
  spaceDown_ = false;
  mouseDown_ = false;
  pressed_ = false;
  TCustomControl::CMEnabledChanged(m);
  Invalidate();
}

// ---- TButton ----------------------------------------------------------------------------

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  width_ = 75;
  height_ = 25;
  color_ = clBtnFace;
  Brush()->SetColor(color_);
}

void TButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  // The default button is active unless another button has the focus.
  TWinControl* focused = nullptr;
  if (TCustomForm* form = GetParentForm(this)) focused = form->ActiveControl();
  if (!dynamic_cast<TButton*>(focused)) SetActive(value);
}

void TButton::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  Invalidate();
}

void TButton::Click() {
  if (modalResult_ != mrNone) {
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(modalResult_);
  }
  TButtonControl::Click();
}

void TButton::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  // The button that answers Return has a dark frame.
  if (active_ || Focused()) {
    Frame3D(c, r, cl3DDkShadow, cl3DDkShadow, 1);
  }
  if (Pressed()) {
    Frame3D(c, r, clBtnShadow, clBtnShadow, 1);
  } else {
    TRect e = r;
    c->DrawEdge(e, EDGE_RAISED, BF_RECT);
  }
  TRect text = ClientRect();
  if (Pressed()) OffsetRect(text, 1, 1);
  c->SetFont(Font());
  DrawCaption(c, Caption(), text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Enabled());
  if (Focused()) {
    TRect f = ClientRect();
    InflateRect(f, -4, -4);
    DrawFocusFrame(c, f);
  }
}

void TButton::WMGetDlgCode(TMessage& m) {
  m.Result = DLGC_BUTTON | (active_ ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

void TButton::CMDialogKey(TMessage& m) {
  const Word key = LoWord(m.WParam);
  if (((key == VK_RETURN && active_) || (key == VK_ESCAPE && cancel_)) &&
      KeyDataToShiftState(m.LParam).Bits() == 0 && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TButtonControl::CMDialogKey(m);
}

void TButton::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<char32_t>(m.WParam), Caption()) && CanFocus()) {
    Click();
    m.Result = 1;
    return;
  }
  TButtonControl::CMDialogChar(m);
}

void TButton::CMFocusChanged(TMessage& m) {
  auto* sender = reinterpret_cast<TWinControl*>(m.LParam);
  if (dynamic_cast<TButton*>(sender))
    SetActive(sender == this);
  else
    SetActive(default_);
  TButtonControl::CMFocusChanged(m);
}

// ---- TCheckBox -------------------------------------------------------------------------

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
  width_ = 97;
  height_ = 17;
  SetParentColor(true);
}

void TCheckBox::SetState(TCheckBoxState value) {
  if (value == state_) return;
  state_ = value;
  Invalidate();
  if (!IsLoading()) TButtonControl::Click();
}

void TCheckBox::Toggle() {
  switch (state_) {
    case cbUnchecked:
      SetState(cbChecked);
      break;
    case cbChecked:
      SetState(allowGrayed_ ? cbGrayed : cbUnchecked);
      break;
    case cbGrayed:
      SetState(cbUnchecked);
      break;
  }
}

void TCheckBox::Click() {
  Toggle();
}

void TCheckBox::SetAlignment(TLeftRight value) {
  if (value == taCenter) value = taRightJustify;
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TCheckBox::Paint() {
  constexpr Integer kBox = 13;
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  const Integer top = (r.Height() - kBox) / 2;
  const bool boxLeft = alignment_ == taRightJustify;
  TRect box = boxLeft ? Bounds(0, top, kBox, kBox) : Bounds(r.Right - kBox, top, kBox, kBox);
  Cardinal state = DFCS_BUTTONCHECK;
  if (state_ == cbChecked) state |= DFCS_CHECKED;
  if (state_ == cbGrayed) state |= DFCS_BUTTON3STATE | DFCS_CHECKED;
  if (Pressed()) state |= DFCS_PUSHED;
  if (!Enabled()) state |= DFCS_INACTIVE;
  c->DrawFrameControl(box, DFC_BUTTON, state);
  c->SetFont(Font());
  TRect text = Rect(0, 0, 0, 0);
  c->DrawText(Caption().empty() ? " " : Caption(), text, DT_SINGLELINE | DT_CALCRECT);
  const Integer th = text.Height(), tw = text.Width();
  Integer left = boxLeft ? kBox + 4 : std::max<Integer>(r.Right - kBox - 4 - tw, 0);
  text = Bounds(left, (r.Height() - th) / 2, tw, th);
  if (boxLeft) text.Right = std::min<Integer>(text.Right, r.Right - 1);
  TRect draw = text;
  DrawCaption(c, Caption(), draw, DT_SINGLELINE, Enabled());
  if (Focused() && !Caption().empty()) {
    TRect f = text;
    InflateRect(f, 1, 0);
    f.Bottom = std::min<Integer>(f.Bottom + 1, r.Bottom);
    DrawFocusFrame(c, f);
  }
}

void TCheckBox::CMDialogChar(TMessage& m) {
  if (IsAccel(static_cast<char32_t>(m.WParam), Caption()) && CanFocus()) {
    SetFocus();
    Toggle();
    m.Result = 1;
    return;
  }
  TButtonControl::CMDialogChar(m);
}

// ---- published tables ----------------------------------------------------------------

BV_ENUM_INFO(TBevelShape, bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine,
             bsSpacer)
BV_ENUM_INFO(TBevelStyle, bsLowered, bsRaised)
BV_ENUM_INFO(TCheckBoxState, cbUnchecked, cbChecked, cbGrayed)

BV_PUBLISH(TCustomLabel, TGraphicControl) {}

BV_PUBLISH(TLabel, TCustomLabel) {
  p.Property("Alignment", &TLabel::Alignment, &TLabel::SetAlignment).Default(taLeftJustify);
  p.Property("AutoSize", &TLabel::AutoSize, &TLabel::SetAutoSize).Default(1);
  p.Property("Caption", &TLabel::Caption, &TLabel::SetCaption);
  p.Property("Color", &TLabel::Color, &TLabel::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TLabel::IsColorStored)
      .NoDefault();
  p.Property("FocusControl", &TLabel::FocusControl, &TLabel::SetFocusControl);
  p.Property("Layout", &TLabel::Layout, &TLabel::SetLayout).Default(tlTop);
  p.Property("ParentColor", &TLabel::ParentColor, &TLabel::SetParentColor).Default(1);
  p.Property("ShowAccelChar", &TLabel::ShowAccelChar, &TLabel::SetShowAccelChar).Default(1);
  p.Property("Transparent", &TLabel::Transparent, &TLabel::SetTransparent).Default(0);
  p.Property("WordWrap", &TLabel::WordWrap, &TLabel::SetWordWrap).Default(0);
}

BV_PUBLISH(TBevel, TGraphicControl) {
  p.Property("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox);
  p.Property("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
}

BV_PUBLISH(TCustomGroupBox, TCustomControl) {}

BV_PUBLISH(TGroupBox, TCustomGroupBox) {
  p.Property("Caption", &TGroupBox::Caption, &TGroupBox::SetCaption);
  p.Property("ParentColor", &TGroupBox::ParentColor, &TGroupBox::SetParentColor).Default(1);
}

BV_PUBLISH_ABSTRACT(TButtonControl, TCustomControl) {}

BV_PUBLISH(TButton, TButtonControl) {
  p.Property("Cancel", &TButton::Cancel, &TButton::SetCancel).Default(0);
  p.Property("Caption", &TButton::Caption, &TButton::SetCaption);
  p.Property("Default", &TButton::Default, &TButton::SetDefault).Default(0);
  p.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(mrNone);
  p.Property("TabStop", &TButton::TabStop, &TButton::SetTabStop).Default(1);
}

BV_PUBLISH(TCheckBox, TButtonControl) {
  p.Property("Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment).Default(taRightJustify);
  p.Property("AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(0);
  p.Property("Caption", &TCheckBox::Caption, &TCheckBox::SetCaption);
  p.Property("Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Stored(false).Default(0);
  p.Property("ParentColor", &TCheckBox::ParentColor, &TCheckBox::SetParentColor).Default(1);
  p.Property("State", &TCheckBox::State, &TCheckBox::SetState).Default(cbUnchecked);
  p.Property("TabStop", &TCheckBox::TabStop, &TCheckBox::SetTabStop).Default(1);
}

void RegisterStdControlClasses() {
  RegisterControlClasses();
  RegisterClasses({TLabel::StaticClass(), TBevel::StaticClass(), TGroupBox::StaticClass(),
                   TButton::StaticClass(), TCheckBox::StaticClass(), TPanel::StaticClass(),
                   TImage::StaticClass(), TNotebook::StaticClass(), TPage::StaticClass(),
                   TSplitter::StaticClass(), TScrollBox::StaticClass(), TSpeedButton::StaticClass(),
                   TToolBar::StaticClass(), TToolButton::StaticClass(), TStatusBar::StaticClass()});
}

}  // namespace brevant
