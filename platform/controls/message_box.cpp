// The message box form and its buttons.
#include "controls/message_box.h"

#include <algorithm>
#include <vector>

#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "controls/messages.h"
#include "controls/test_hooks.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {
namespace detail {

// A push button drawn by the message box: raised when up, sunken while
// pressed, a focus rectangle when focused; Space, Return or a click answer.
class TMessageButton : public TCustomControl {
  BV_CLASS(TMessageButton, TCustomControl)
 public:
  explicit TMessageButton(TComponent* owner) : TCustomControl(owner) {
    SetTabStop(true);
    controlStyle_ += csClickEvents;
    controlStyle_ += csCaptureMouse;
    color_ = clBtnFace;
  }
  Integer Result = 0;

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    TRect r = ClientRect();
    c->Brush()->SetColor(clBtnFace);
    c->FillRect(r);
    bool down = pressed_ && MouseCapture();
    c->DrawEdge(r, down ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    c->SetFont(Font());
    c->SetBkMode(TRANSPARENT);
    TRect t = ClientRect();
    if (down) OffsetRect(t, 1, 1);
    c->DrawText(Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (Focused()) {
      TRect f = ClientRect();
      InflateRect(f, -4, -4);
      c->DrawFocusRect(f);
    }
  }
  void Click() override {
    TCustomControl::Click();
    if (TCustomForm* form = GetParentForm(this)) form->SetModalResult(Result);
  }
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override {
    if (button == mbLeft) {
      pressed_ = true;
      if (CanFocus()) SetFocus();
      Invalidate();
    }
    TCustomControl::MouseDown(button, shift, x, y);
  }
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override {
    pressed_ = false;
    Invalidate();
    TCustomControl::MouseUp(button, shift, x, y);
  }
  void KeyDown(Word& key, TShiftState shift) override {
    TCustomControl::KeyDown(key, shift);
    if (key == VK_SPACE) {
      key = 0;
      Click();
    }
  }
  void CMEnter(TMessage& m) override {
    Invalidate();
    TCustomControl::CMEnter(m);
  }
  void CMExit(TMessage& m) override {
    Invalidate();
    TCustomControl::CMExit(m);
  }

 private:
  bool pressed_ = false;
};

// The box: icon, text and buttons; Return answers the focused button,
// Escape the cancelling answer, a letter the button it is the accelerator of.
class TMessageForm : public TForm {
  BV_CLASS(TMessageForm, TForm)
 public:
  using TForm::TForm;
  String Text;
  Cardinal Icon = 0;
  TRect TextRect;
  Integer EscapeResult = IDCANCEL;
  std::vector<TMessageButton*> Buttons;

 protected:
  void Paint() override {
    TCanvas* c = Canvas();
    if (Icon) PaintIcon(c);
    c->SetFont(Font());
    c->SetBkMode(TRANSPARENT);
    TRect r = TextRect;
    c->DrawText(Text, r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    TForm::Paint();
  }
  void CMDialogKey(TMessage& m) override {
    Word key = LoWord(m.WParam);
    if (key == VK_ESCAPE) {
      SetModalResult(EscapeResult);
      m.Result = 1;
      return;
    }
    if (key == VK_RETURN) {
      if (auto* b = dynamic_cast<TMessageButton*>(ActiveControl())) SetModalResult(b->Result);
      m.Result = 1;
      return;
    }
    TForm::CMDialogKey(m);
  }
  void CMDialogChar(TMessage& m) override {
    for (TMessageButton* b : Buttons)
      if (IsAccel(static_cast<char32_t>(m.WParam), b->Caption())) {
        SetModalResult(b->Result);
        m.Result = 1;
        return;
      }
    TForm::CMDialogChar(m);
  }

 private:
  void PaintIcon(TCanvas* c) {
    char kind = 'i';
    switch (Icon) {
      case MB_ICONSTOP:
        kind = 'x';
        break;
      case MB_ICONQUESTION:
        kind = '?';
        break;
      case MB_ICONWARNING:
        kind = '!';
        break;
      default:
        break;
    }
    DrawMessageGlyph(c, Bounds(12, 12, 32, 32), kind);
  }
};

}  // namespace detail

BV_IMPLEMENT_CLASS(detail::TMessageButton, TCustomControl)
BV_IMPLEMENT_CLASS(detail::TMessageForm, TForm)

namespace {

struct TButtonDef {
  const char* Caption;
  Integer Result;
};

std::vector<TButtonDef> ButtonsFor(Cardinal flags) {
  switch (flags & 0x0F) {
    case MB_OKCANCEL:
      return {{res::SMsgDlgOK, IDOK}, {res::SMsgDlgCancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
      return {{res::SMsgDlgAbort, IDABORT},
              {res::SMsgDlgRetry, IDRETRY},
              {res::SMsgDlgIgnore, IDIGNORE}};
    case MB_YESNOCANCEL:
      return {{res::SMsgDlgYes, IDYES}, {res::SMsgDlgNo, IDNO}, {res::SMsgDlgCancel, IDCANCEL}};
    case MB_YESNO:
      return {{res::SMsgDlgYes, IDYES}, {res::SMsgDlgNo, IDNO}};
    case MB_RETRYCANCEL:
      return {{res::SMsgDlgRetry, IDRETRY}, {res::SMsgDlgCancel, IDCANCEL}};
    default:
      return {{res::SMsgDlgOK, IDOK}};
  }
}

// The answer of Escape and the close box: Cancel, else No, else Abort, else OK.
Integer EscapeResultOf(const std::vector<TButtonDef>& buttons) {
  for (Integer want : {IDCANCEL, IDNO, IDABORT, IDOK})
    for (const auto& s : buttons)
      if (s.Result == want) return want;
  return IDCANCEL;
}

}  // namespace

Integer ShowMessageBox(const String& text, const String& caption, Cardinal flags) {
  ModalLog().push_back("MessageBox: " + caption + ": " + text);
  TScriptedAnswer answer;
  bool scripted = TakeScriptedAnswer("MessageBox", answer);
  if (scripted && !answer.Action) return answer.Value;

  auto* form = TCustomForm::CreateNew<detail::TMessageForm>(nullptr);
  TObjectPtr<detail::TMessageForm> keep(form);
  form->SetBorderStyle(bsDialog);
  form->SetCaption(caption);
  form->SetPosition(poScreenCenter);
  form->Text = text;
  form->Icon = flags & 0xF0;
  const auto buttons = ButtonsFor(flags);
  form->EscapeResult = EscapeResultOf(buttons);

  // Layout: icon, the text word-wrapped at 360 pixels, the buttons centred below.
  constexpr Integer kMargin = 12, kButtonW = 75, kButtonH = 25, kGap = 8, kMaxText = 360;
  TCanvas* measure = form->Canvas();
  measure->SetFont(form->Font());
  TRect tr(0, 0, kMaxText, 0);
  measure->DrawText(text, tr, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  const Integer textLeft = form->Icon ? kMargin + 32 + kMargin : kMargin;
  const Integer textTop = kMargin + (form->Icon && tr.Height() < 32 ? (32 - tr.Height()) / 2 : 0);
  form->TextRect = Bounds(textLeft, textTop, tr.Width(), tr.Height());
  const Integer count = static_cast<Integer>(buttons.size());
  const Integer buttonsW = count * kButtonW + (count - 1) * kGap;
  const Integer contentBottom = std::max(textTop + tr.Height(), form->Icon ? kMargin + 32 : 0);
  const Integer clientW = std::max(textLeft + tr.Width() + kMargin, buttonsW + 2 * kMargin);
  const Integer buttonsTop = contentBottom + kMargin + 4;
  form->SetClientSize(clientW, buttonsTop + kButtonH + kMargin);

  Integer def = static_cast<Integer>((flags >> 8) & 0x0F);
  if (def >= count) def = 0;
  Integer x = (clientW - buttonsW) / 2;
  for (Integer i = 0; i < count; ++i) {
    auto* b = Create<detail::TMessageButton>(form);
    b->SetName("Button" + std::to_string(i + 1));
    b->SetCaption(buttons[static_cast<size_t>(i)].Caption);
    b->Result = buttons[static_cast<size_t>(i)].Result;
    b->SetBounds(x, buttonsTop, kButtonW, kButtonH);
    b->SetParent(form);
    form->Buttons.push_back(b);
    x += kButtonW + kGap;
  }
  detail::TMessageButton* defButton = form->Buttons[static_cast<size_t>(def)];
  form->SetActiveControl(defButton);
  // Activation may settle the focus on the first tab stop: the default
  // button takes it once the box is active.
  form->OnActivate = TNotifyEvent::FromCallable([defButton, done = false](TObject*) mutable {
    if (done) return;
    done = true;
    if (defButton->CanFocus()) defButton->SetFocus();
  });
  TModalResult r = form->ExecuteModal(scripted ? &answer : nullptr);
  // The close box gives mrCancel; a box without Cancel answers its escape value.
  if (r == mrCancel && form->EscapeResult != IDCANCEL) r = form->EscapeResult;
  return r;
}

void DrawMessageGlyph(TCanvas* c, const TRect& rect, char kind) {
  TColor color = clBlue;
  if (kind == '!') color = clOlive;
  if (kind == 'x') color = clRed;
  if (kind == '?') color = clNavy;
  c->Brush()->SetColor(color);
  c->Pen()->SetColor(color);
  c->Ellipse(rect);
  c->Font()->SetColor(clWhite);
  c->Font()->SetStyle({fsBold});
  c->Font()->SetSize(14);
  c->SetBkMode(TRANSPARENT);
  TRect t = rect;
  const char glyph[2] = {kind, 0};
  c->DrawText(glyph, t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace brevant
