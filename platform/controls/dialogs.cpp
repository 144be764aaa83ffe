// Message dialogs, the input query, the common dialog base and the list box
// the file dialogs use.
#include "controls/dialogs.h"
#include "controls/message_box.h"

#include <algorithm>
#include <cctype>
#include <memory>

#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "controls/edits.h"
#include "controls/stdctrls.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/draw_flags.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

BV_ENUM_INFO(TMsgDlgType, mtWarning, mtError, mtInformation, mtConfirmation, mtCustom)
BV_ENUM_INFO(TMsgDlgBtn, mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll,
             mbYesToAll, mbHelp)
BV_IMPLEMENT_CLASS(TMessageDialogForm, TForm)
BV_IMPLEMENT_CLASS(TInputQueryForm, TForm)
BV_PUBLISH_ABSTRACT(TCommonDialog, TComponent) {
  p.Property("HelpContext", &TCommonDialog::HelpContext, &TCommonDialog::SetHelpContext).Default(0);
  p.Property("Title", &TCommonDialog::Title, &TCommonDialog::SetTitle);
  p.Event("OnShow", &TCommonDialog::OnShow, "TNotifyEvent");
  p.Event("OnClose", &TCommonDialog::OnClose, "TNotifyEvent");
}
BV_PUBLISH(TDialogListBox, TCustomControl) {
  p.Property("WantReturn", &TDialogListBox::WantReturn, &TDialogListBox::SetWantReturn).Default(0);
  p.Event("OnChange", &TDialogListBox::OnChange, "TNotifyEvent");
  p.Event("OnReturn", &TDialogListBox::OnReturn, "TNotifyEvent");
}

// ---- message dialogs ------------------------------------------------------------------------

namespace {

TDialogHelpHandler& HelpHandler() {
  static TDialogHelpHandler handler;
  return handler;
}

struct TButtonInfo {
  const char* Caption;
  TModalResult Result;
};

TButtonInfo ButtonInfo(TMsgDlgBtn b) {
  switch (b) {
    case mbYes:
      return {res::SMsgDlgYes, mrYes};
    case mbNo:
      return {res::SMsgDlgNo, mrNo};
    case mbOK:
      return {res::SMsgDlgOK, mrOk};
    case mbCancel:
      return {res::SMsgDlgCancel, mrCancel};
    case mbAbort:
      return {res::SMsgDlgAbort, mrAbort};
    case mbRetry:
      return {res::SMsgDlgRetry, mrRetry};
    case mbIgnore:
      return {res::SMsgDlgIgnore, mrIgnore};
    case mbAll:
      return {res::SMsgDlgAll, mrAll};
    case mbNoToAll:
      return {res::SMsgDlgNoToAll, mrNoToAll};
    case mbYesToAll:
      return {res::SMsgDlgYesToAll, mrYesToAll};
    case mbHelp:
      return {res::SMsgDlgHelp, mrNone};
  }
  return {res::SMsgDlgOK, mrOk};
}

String CaptionOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return res::SMsgDlgWarning;
    case mtError:
      return res::SMsgDlgError;
    case mtInformation:
      return res::SMsgDlgInformation;
    case mtConfirmation:
      return res::SMsgDlgConfirm;
    case mtCustom:
      break;
  }
  return Application()->Title();
}

// A scripted answer taken for kind: a value answer ends the dialog without
// showing it.
struct TDialogAnswer {
  TScriptedAnswer Answer;
  bool Scripted = false;
  bool IsValue() const { return Scripted && !Answer.Action; }
  const TScriptedAnswer* ForForm() const { return Scripted ? &Answer : nullptr; }
};

TDialogAnswer TakeDialogAnswer(const String& kind, const String& text) {
  ModalLog().push_back(kind + ": " + text);
  TDialogAnswer a;
  a.Scripted = TakeScriptedAnswer(kind, a.Answer);
  return a;
}

constexpr Integer kMargin = 12, kButtonW = 75, kButtonH = 25, kGap = 8;

TButton* AddButton(TCustomForm* form, const char* name, const String& caption, TModalResult result,
                   TRect bounds) {
  auto* b = Create<TButton>(form);
  b->SetName(name);
  b->SetCaption(caption);
  b->SetModalResult(result);
  b->SetBoundsRect(bounds);
  b->SetParent(form);
  return b;
}

}  // namespace

void SetDialogHelpHandler(TDialogHelpHandler handler) {
  HelpHandler() = std::move(handler);
}

TButton* TMessageDialogForm::Button(TMsgDlgBtn kind) const {
  const String caption = ButtonInfo(kind).Caption;
  for (TButton* b : Buttons)
    if (b->Caption() == caption) return b;
  return nullptr;
}

// The type's glyph in a circle at the top left, then the text.
void TMessageDialogForm::Paint() {
  TCanvas* c = Canvas();
  if (DlgType != mtCustom) {
    const char kind = DlgType == mtWarning        ? '!'
                      : DlgType == mtError        ? 'x'
                      : DlgType == mtConfirmation ? '?'
                                                  : 'i';
    DrawMessageGlyph(c, Bounds(kMargin, kMargin, 32, 32), kind);
  }
  c->SetFont(Font());
  c->SetBkMode(TRANSPARENT);
  TRect r = TextRect;
  c->DrawText(Message, r, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  TForm::Paint();
}

TMessageDialogForm* CreateMessageDialog(const String& msg, TMsgDlgType type,
                                        TMsgDlgButtons buttons) {
  if (buttons.Empty()) buttons = {mbOK};
  auto* form = TCustomForm::CreateNew<TMessageDialogForm>(nullptr);
  TObjectPtr<TMessageDialogForm> keep(form);
  form->SetName("MessageDialog");
  form->SetBorderStyle(bsDialog);
  form->SetBorderIcons({biSystemMenu});
  form->SetPosition(poScreenCenter);
  form->SetCaption(CaptionOf(type));
  form->DlgType = type;
  form->Message = msg;

  // The text word-wrapped at 360 pixels beside the icon, the buttons centred below.
  constexpr Integer kMaxText = 360;
  TCanvas* measure = form->Canvas();
  measure->SetFont(form->Font());
  TRect tr(0, 0, kMaxText, 0);
  measure->DrawText(msg, tr, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  const bool icon = type != mtCustom;
  const Integer textLeft = icon ? kMargin + 32 + kMargin : kMargin;
  const Integer textTop = kMargin + (icon && tr.Height() < 32 ? (32 - tr.Height()) / 2 : 0);
  form->TextRect = Bounds(textLeft, textTop, tr.Width(), tr.Height());

  std::vector<TMsgDlgBtn> kinds;
  for (Integer b = mbYes; b <= mbHelp; ++b)
    if (buttons.Contains(static_cast<TMsgDlgBtn>(b))) kinds.push_back(static_cast<TMsgDlgBtn>(b));
  const Integer count = static_cast<Integer>(kinds.size());
  const Integer buttonsW = count * kButtonW + (count - 1) * kGap;
  const Integer contentBottom = std::max(textTop + tr.Height(), icon ? kMargin + 32 : 0);
  const Integer clientW = std::max(textLeft + tr.Width() + kMargin, buttonsW + 2 * kMargin);
  const Integer buttonsTop = contentBottom + kMargin + 4;
  form->SetClientSize(clientW, buttonsTop + kButtonH + kMargin);

  // Escape answers the cancelling button: Cancel, else No, else OK.
  TMsgDlgBtn cancelKind = mbHelp;
  for (TMsgDlgBtn want : {mbCancel, mbNo, mbOK})
    if (buttons.Contains(want)) {
      cancelKind = want;
      break;
    }
  form->CancelResult = cancelKind == mbHelp ? mrCancel : ButtonInfo(cancelKind).Result;

  Integer x = (clientW - buttonsW) / 2;
  for (Integer i = 0; i < count; ++i) {
    const TMsgDlgBtn kind = kinds[static_cast<size_t>(i)];
    const TButtonInfo info = ButtonInfo(kind);
    const String name = "Button" + StripHotkey(info.Caption);
    String ident;
    for (char ch : name)
      if (std::isalnum(static_cast<unsigned char>(ch))) ident += ch;
    auto* b = AddButton(form, ident.c_str(), info.Caption, info.Result,
                        Bounds(x, buttonsTop, kButtonW, kButtonH));
    if (i == 0) b->SetDefault(true);
    if (kind == cancelKind) b->SetCancel(true);
    if (kind == mbHelp) {
      b->SetEnabled(static_cast<bool>(HelpHandler()));
      b->OnClick = TNotifyEvent::FromCallable([form](TObject*) {
        if (HelpHandler()) HelpHandler()(form->HelpContext);
      });
    }
    form->Buttons.push_back(b);
    x += kButtonW + kGap;
  }
  form->SetActiveControl(form->Buttons.front());
  return keep.release();
}

Integer MessageDlg(const String& msg, TMsgDlgType type, TMsgDlgButtons buttons, Integer helpCtx) {
  TDialogAnswer a = TakeDialogAnswer("MessageDlg", CaptionOf(type) + ": " + msg);
  if (a.IsValue()) return a.Answer.Value;
  TObjectPtr<TMessageDialogForm> form(CreateMessageDialog(msg, type, buttons));
  form->HelpContext = helpCtx;
  TModalResult r = form->ExecuteModal(a.ForForm());
  // The close box gives mrCancel; a dialog without Cancel answers its cancelling button.
  if (r == mrCancel) r = form->CancelResult;
  return r;
}

void ShowMessage(const String& msg) {
  MessageDlg(msg, mtCustom, {mbOK}, 0);
}

// ---- input query ----------------------------------------------------------------------------

bool InputQuery(const String& caption, const String& prompt, String& value) {
  TDialogAnswer a = TakeDialogAnswer("InputQuery", caption + ": " + prompt);
  if (a.IsValue()) return a.Answer.Value == mrOk;

  auto* form = TCustomForm::CreateNew<TInputQueryForm>(nullptr);
  TObjectPtr<TInputQueryForm> keep(form);
  form->SetName("InputQuery");
  form->SetBorderStyle(bsDialog);
  form->SetBorderIcons({biSystemMenu});
  form->SetPosition(poScreenCenter);
  form->SetCaption(caption);
  constexpr Integer kClientW = 300;
  form->SetClientSize(kClientW, 110);

  form->Prompt = Create<TLabel>(form);
  form->Prompt->SetName("Prompt");
  form->Prompt->SetCaption(prompt);
  form->Prompt->SetAutoSize(false);
  form->Prompt->SetWordWrap(true);
  form->Prompt->SetBounds(kMargin, kMargin, kClientW - 2 * kMargin, 30);
  form->Prompt->SetParent(form);

  form->Edit = Create<TEdit>(form);
  form->Edit->SetName("Edit");
  form->Edit->SetBounds(kMargin, 44, kClientW - 2 * kMargin, 21);
  form->Edit->SetParent(form);
  form->Edit->SetText(value);
  form->Edit->SelectAll();
  form->Prompt->SetFocusControl(form->Edit);

  const Integer top = 110 - kMargin - kButtonH;
  form->OkButton = AddButton(form, "OKButton", res::SMsgDlgOK, mrOk,
                             Bounds(kClientW / 2 - kButtonW - kGap / 2, top, kButtonW, kButtonH));
  form->OkButton->SetDefault(true);
  form->CancelButton = AddButton(form, "CancelButton", res::SMsgDlgCancel, mrCancel,
                                 Bounds(kClientW / 2 + kGap / 2, top, kButtonW, kButtonH));
  form->CancelButton->SetCancel(true);
  form->SetActiveControl(form->Edit);

  if (form->ExecuteModal(a.ForForm()) != mrOk) return false;
  value = form->Edit->Text();
  return true;
}

String InputBox(const String& caption, const String& prompt, const String& defaultValue) {
  String value = defaultValue;
  if (!InputQuery(caption, prompt, value)) return defaultValue;
  return value;
}

// ---- TCommonDialog --------------------------------------------------------------------------

TModalResult TCommonDialog::RunForm(TCustomForm* form, const String& kind) {
  TDialogAnswer a = TakeDialogAnswer(kind, form->Caption());
  if (a.IsValue()) return a.Answer.Value;
  if (OnShow) {
    // OnShow sees the form shown: run it first thing in the modal loop.
    TScriptedAnswer wrapped;
    wrapped.Kind = kind;
    wrapped.Action = [this, a](TObject* subject) {
      OnShow(this);
      if (a.Scripted && a.Answer.Action) a.Answer.Action(subject);
    };
    TModalResult r = form->ExecuteModal(&wrapped);
    OnClose(this);
    return r;
  }
  TModalResult r = form->ExecuteModal(a.ForForm());
  OnClose(this);
  return r;
}

// ---- TDialogListBox -------------------------------------------------------------------------

TDialogListBox::TDialogListBox(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ += csDoubleClicks;
  controlStyle_ += csClickEvents;
  SetTabStop(true);
  color_ = clWindow;
  width_ = 120;
  height_ = 97;
}

void TDialogListBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_VSCROLL;
  params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TDialogListBox::CreateWnd() {
  TCustomControl::CreateWnd();
  UpdateScrollBar();
}

void TDialogListBox::SetItems(std::vector<String> items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  topIndex_ = 0;
  UpdateScrollBar();
  Invalidate();
  OnChange(this);
}

void TDialogListBox::SetItemIndex(Integer value) {
  if (value < 0 || value >= Count()) value = -1;
  if (value == itemIndex_) return;
  itemIndex_ = value;
  if (value >= 0) MakeVisible(value);
  Invalidate();
  OnChange(this);
}

String TDialogListBox::SelectedText() const {
  return itemIndex_ >= 0 ? items_[static_cast<size_t>(itemIndex_)] : String();
}

Integer TDialogListBox::IndexOf(const String& text) const {
  for (Integer i = 0; i < Count(); ++i)
    if (items_[static_cast<size_t>(i)] == text) return i;
  return -1;
}

Integer TDialogListBox::ItemHeight() const {
  return MulDiv(Font()->Size(), 96, 72) + 5;
}

Integer TDialogListBox::VisibleRows() const {
  return std::max<Integer>(1, ClientHeight() / ItemHeight());
}

void TDialogListBox::SetTopIndex(Integer value) {
  value = std::max<Integer>(0, std::min<Integer>(value, Count() - VisibleRows()));
  if (value == topIndex_) return;
  topIndex_ = value;
  UpdateScrollBar();
  Invalidate();
}

void TDialogListBox::MakeVisible(Integer index) {
  if (index < 0 || index >= Count()) return;
  if (index < topIndex_)
    SetTopIndex(index);
  else if (index >= topIndex_ + VisibleRows())
    SetTopIndex(index - VisibleRows() + 1);
}

TRect TDialogListBox::ItemRect(Integer index) const {
  if (index < topIndex_ || index >= Count()) return TRect();
  const Integer top = (index - topIndex_) * ItemHeight();
  if (top >= ClientHeight()) return TRect();
  return Rect(0, top, ClientWidth(), top + ItemHeight());
}

TPoint TDialogListBox::ItemScreenPoint(Integer index) {
  MakeVisible(index);
  const TRect r = ItemRect(index);
  return ClientToScreen({r.Left + 10, (r.Top + r.Bottom) / 2});
}

void TDialogListBox::UpdateScrollBar() {
  if (!HandleAllocated()) return;
  TScrollInfo si;
  si.Mask = SIF_ALL;
  si.Max = std::max<Integer>(Count() - 1, 0);
  si.Page = static_cast<Cardinal>(Count() > VisibleRows() ? VisibleRows() : Count() + 1);
  si.Pos = topIndex_;
  brevant::SetScrollInfo(WindowHandle(), SB_VERT, si, true);
}

void TDialogListBox::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Enabled() ? Color() : clBtnFace);
  c->FillRect(ClientRect());
  c->SetFont(Font());
  c->SetBkMode(TRANSPARENT);
  for (Integer i = topIndex_; i < Count(); ++i) {
    TRect r = ItemRect(i);
    if (IsRectEmpty(r)) break;
    const bool selected = i == itemIndex_;
    if (selected) {
      c->Brush()->SetColor(Focused() ? clHighlight : clBtnFace);
      c->FillRect(r);
    }
    c->Font()->SetColor(selected && Focused() ? clHighlightText : clWindowText);
    TRect t = r;
    t.Left += 3;
    c->DrawText(items_[static_cast<size_t>(i)], t,
                DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    if (selected && Focused()) c->DrawFocusRect(r);
  }
  if (itemIndex_ < 0 && Focused() && Count() > 0) {
    TRect r = ItemRect(topIndex_);
    c->DrawFocusRect(r);
  }
}

void TDialogListBox::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (Count() == 0) return;
  const Integer page = std::max<Integer>(1, VisibleRows() - 1);
  const Integer at = itemIndex_;
  Integer next = at;
  switch (key) {
    case VK_UP:
      next = at < 0 ? 0 : at - 1;
      break;
    case VK_DOWN:
      next = at + 1;
      break;
    case VK_PRIOR:
      next = at - page;
      break;
    case VK_NEXT:
      next = at < 0 ? page : at + page;
      break;
    case VK_HOME:
      next = 0;
      break;
    case VK_END:
      next = Count() - 1;
      break;
    case VK_RETURN:
      if (wantReturn_) {
        key = 0;
        OnReturn(this);
      }
      return;
    default:
      return;
  }
  key = 0;
  SetItemIndex(std::max<Integer>(0, std::min<Integer>(next, Count() - 1)));
}

// A letter moves to the next item starting with it (ignoring case), wrapping.
void TDialogListBox::KeyPress(char32_t& key) {
  TCustomControl::KeyPress(key);
  if (key < 0x20 || Count() == 0) return;
  String typed;
  Utf8Append(typed, key);
  for (Integer n = 1; n <= Count(); ++n) {
    const Integer i = (itemIndex_ + n + Count()) % Count();
    if (StartsText(typed, items_[static_cast<size_t>(i)])) {
      SetItemIndex(i);
      break;
    }
  }
  key = 0;
}

void TDialogListBox::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    const Integer row = y / ItemHeight() + topIndex_;
    if (y >= 0 && row < Count()) SetItemIndex(row);
  }
  TCustomControl::MouseDown(button, shift, x, y);
}

void TDialogListBox::WMGetDlgCode(TMessage& m) {
  m.Result = DLGC_WANTARROWS | DLGC_WANTCHARS;
}

// Return stays with the list when it opens items; Escape and Tab never do.
void TDialogListBox::CMWantSpecialKey(TMessage& m) {
  if (wantReturn_ && LoWord(m.WParam) == VK_RETURN)
    m.Result = 1;
  else
    TCustomControl::CMWantSpecialKey(m);
}

void TDialogListBox::WMVScroll(TMessage& m) {
  switch (LoWord(m.WParam)) {
    case SB_LINEUP:
      SetTopIndex(topIndex_ - 1);
      break;
    case SB_LINEDOWN:
      SetTopIndex(topIndex_ + 1);
      break;
    case SB_PAGEUP:
      SetTopIndex(topIndex_ - VisibleRows());
      break;
    case SB_PAGEDOWN:
      SetTopIndex(topIndex_ + VisibleRows());
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      TScrollInfo info;
      info.Mask = SIF_TRACKPOS;
      brevant::GetScrollInfo(WindowHandle(), SB_VERT, info);
      SetTopIndex(info.TrackPos);
      break;
    }
    case SB_TOP:
      SetTopIndex(0);
      break;
    case SB_BOTTOM:
      SetTopIndex(Count());
      break;
    default:
      break;
  }
  m.Result = 0;
}

void TDialogListBox::WMMouseWheel(TMessage& m) {
  const Integer delta = HiSmall(static_cast<std::intptr_t>(m.WParam));
  SetTopIndex(topIndex_ - delta * 3 / WHEEL_DELTA);
  m.Result = 1;
}

void TDialogListBox::WMSize(TMessage& m) {
  TCustomControl::WMSize(m);
  SetTopIndex(topIndex_);
  UpdateScrollBar();
}

void TDialogListBox::CMEnter(TMessage& m) {
  Invalidate();
  TCustomControl::CMEnter(m);
}

void TDialogListBox::CMExit(TMessage& m) {
  Invalidate();
  TCustomControl::CMExit(m);
}

// The generated registration of the colour and file dialogs' form texts.
void RegisterDialogFormTexts();

void RegisterDialogForms() {
  [[maybe_unused]] static const bool registered = [] {
    RegisterStdControlClasses();
    RegisterEditClasses();
    RegisterClasses({TDialogListBox::StaticClass(), TColorPalette::StaticClass()});
    RegisterDialogFormTexts();
    return true;
  }();
}

void RegisterDialogClasses() {
  RegisterClass(TColorDialog::StaticClass());
  RegisterClass(TOpenDialog::StaticClass());
  RegisterClass(TSaveDialog::StaticClass());
  RegisterClass(TOpenPictureDialog::StaticClass());
  RegisterClass(TSavePictureDialog::StaticClass());
}

}  // namespace brevant
