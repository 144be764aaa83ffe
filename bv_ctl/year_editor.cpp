#include "bv_ctl/year_editor.h"

#include "bv_ctl/calendar.h"
#include "bv_rtm/switcher.h"
#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "graphics/draw_flags.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"

namespace brevant {

// Presses of the editor's spin halves: each steps at once and repeats on
// the switcher's schedule while held.
class TYearSpinSwitcher : public TznSwitcher {
 public:
  explicit TYearSpinSwitcher(TznYearEditor* owner) : TznSwitcher(owner), editor_(owner) {}
  void PressedChanged(Integer) override { editor_->Invalidate(); }
  void Execute(Integer part, Integer, Word, Integer) override { editor_->Step(part == 0 ? 1 : -1); }

 private:
  TznYearEditor* editor_;  // the owner
};

namespace {

// The shared objects; created on first use, freed with the last calendar.
TznYearNaviObj*& SharedNavi() {
  static TznYearNaviObj* navi = nullptr;
  return navi;
}
TznYearEditor*& SharedEditor() {
  static TznYearEditor* editor = nullptr;
  return editor;
}

// Width of the spin button at the editor's right.
constexpr Integer SpinWidth = 11;

}  // namespace

// ---- navigation object ----

Integer TznYearNaviObj::Year() const {
  return calendar_ ? calendar_->DatePart(cdpYear) : 0;
}

void TznYearNaviObj::SetYear(Integer value) {
  if (!calendar_ || value == Year()) return;
  value = Max(1, Min(9999, value));
  Word y, m, d;
  DecodeDate(calendar_->Date(), y, m, d);
  const Word day = Min(d, DaysInAMonth(Word(value), m));
  const TDateTime target = EncodeDate(Word(value), m, day);
  calendar_->SetDate(calendar_->ClampDate(target, value < y));
  calendar_->Change(false);
}

// ---- editor ----

TznYearEditor::TznYearEditor(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csOpaque});
  SetColor(clBtnFace);
  SetTabStop(true);
  SetVisible(false);
  SetBounds(0, 0, 46, 20);
  spin_.reset(Create<TYearSpinSwitcher>(this));
}

TznYearEditor::~TznYearEditor() = default;

void TznYearEditor::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style &= ~WS_BORDER;
}

TRect TznYearEditor::SpinRect(Integer half) const {
  const TRect c = ClientRect();
  const Integer mid = c.Height() / 2;
  const Integer left = c.Right - SpinWidth;
  return half == 0 ? TRect(left, 0, c.Right, mid) : TRect(left, mid, c.Right, c.Bottom);
}

void TznYearEditor::Step(Integer delta) {
  if (!navigator_ || !navigator_->Calendar()) return;
  TAliveGuard alive(this);
  navigator_->SetYear(navigator_->Year() + delta);
  if (alive.Alive()) Invalidate();
}

void TznYearEditor::CloseEditor() {
  spin_->Release();
  if (navigator_) navigator_->SetCalendar(nullptr);
  SetVisible(false);
  if (Parent()) {
    TWinControl* calendar = Parent();
    SetParent(nullptr);
    calendar->Invalidate();
  }
}

void TznYearEditor::Paint() {
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  c->Brush()->SetColor(Color());
  c->FillRect(client);
  const String text = navigator_ && navigator_->Calendar() ? IntToStr(navigator_->Year()) : "";
  c->Font()->Assign(Font());
  TRect textRect(client.Left + 1, client.Top, client.Right - SpinWidth, client.Bottom);
  if (Focused() && !text.empty()) {
    // The year shows selected, as an edit does after each step.
    const TSize s = c->TextExtent(text);
    TRect sel(textRect.Left, (client.Height() - s.cy) / 2, textRect.Left + s.cx + 2,
              (client.Height() + s.cy) / 2);
    c->Brush()->SetColor(clHighlight);
    c->FillRect(sel);
    c->Font()->SetColor(clHighlightText);
  }
  c->SetBkMode(TRANSPARENT);
  textRect.Left += 1;
  c->Brush()->SetStyle(bsClear);
  c->DrawText(text, textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  c->Brush()->SetStyle(bsSolid);
  Cardinal flags = ebfSoft;
  if (spin_->Down() && spin_->Part() == 0) flags |= ebfPressed;
  if (spin_->Down() && spin_->Part() == 1) flags |= ebfLowPressed;
  TRect spin(SpinRect(0).Left, 0, client.Right, client.Bottom);
  DrawEditButton(ebkSpin, flags, c, nullptr, spin);
}

void TznYearEditor::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (!shift.Empty()) return;
  if (key == VK_UP || key == VK_DOWN) {
    Step(key == VK_UP ? 1 : -1);
    key = 0;
  } else if (key == VK_RETURN || key == VK_ESCAPE) {
    key = 0;
    CloseToCalendar();
  }
}

void TznYearEditor::CloseToCalendar() {
  TWinControl* calendar = Parent();
  CloseEditor();
  if (calendar && calendar->CanFocus()) calendar->SetFocus();
}

void TznYearEditor::WMGetDlgCode(TMessage& message) {
  message.Result = DLGC_WANTARROWS;
}

void TznYearEditor::CMWantSpecialKey(TMessage& message) {
  TCustomControl::CMWantSpecialKey(message);
  if (message.WParam == VK_RETURN || message.WParam == VK_ESCAPE) message.Result = 1;
}

void TznYearEditor::CMExit(TMessage& message) {
  TCustomControl::CMExit(message);
  // Focus moved on (Tab): the year label shows again. The editor stays
  // the calendar's child until it is shown elsewhere or the calendar goes.
  if (navigator_) navigator_->SetCalendar(nullptr);
  if (Visible()) SetVisible(false);
  if (Parent()) Parent()->Invalidate();
}

void TznYearEditor::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft) return;
  for (Integer half : {0, 1}) {
    if (!PtInRect(SpinRect(half), TPoint(x, y))) continue;
    spin_->MouseDown(half, x, true, false, SpinRect(half), 0, y);
    // The first step runs here, not inside the switcher: a change handler
    // may free the last calendar and with it this editor.
    if (spin_->Pressed()) Step(half == 0 ? 1 : -1);
    return;
  }
}

void TznYearEditor::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  if (spin_->Pressed()) spin_->MouseMove(x, y);
}

void TznYearEditor::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (spin_->Pressed()) spin_->Release();  // it stepped at the press already
}

void TznYearEditor::WMNCCalcSize(TMessage& message) {
  TCustomControl::WMNCCalcSize(message);
  if (auto* rect = reinterpret_cast<TRect*>(message.LParam)) BorderCalcSize(bsSoft, *rect);
}

void TznYearEditor::WMNCPaint(TMessage& message) {
  TCustomControl::WMNCPaint(message);
  BorderPaint(bsSoft, this, false);
}

void TznYearEditor::CMCancelMode(TMessage& message) {
  TCustomControl::CMCancelMode(message);
  if (reinterpret_cast<TControl*>(message.LParam) != this) CloseEditor();
}

// ---- shared instances ----

TznYearNaviObj* YearNaviObj() {
  if (!SharedNavi()) SharedNavi() = Create<TznYearNaviObj>();
  return SharedNavi();
}

TznYearEditor* YearEditor() {
  if (!SharedEditor()) {
    SharedEditor() = Create<TznYearEditor>(nullptr);
    SharedEditor()->SetNavigator(YearNaviObj());
  }
  return SharedEditor();
}

bool YearEditorExists() {
  return SharedEditor() != nullptr;
}

void FreeYearEditor() {
  if (TznYearEditor* editor = SharedEditor()) {
    SharedEditor() = nullptr;
    editor->CloseEditor();
    editor->Free();
  }
  if (TznYearNaviObj* navi = SharedNavi()) {
    SharedNavi() = nullptr;
    navi->Free();
  }
}

BV_PUBLISH(TznYearNaviObj, TPersistent) {
  p.Property("Year", &TznYearNaviObj::Year, &TznYearNaviObj::SetYear);
}

BV_IMPLEMENT_CLASS(TznYearEditor, TCustomControl)

}  // namespace brevant
