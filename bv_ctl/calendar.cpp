#include "bv_ctl/calendar.h"

#include <cmath>

#include "bv_ctl/ctl_strings.h"
#include "bv_ctl/year_editor.h"
#include "bv_rtm/misc.h"
#include "bv_rtm/switcher.h"
#include "classes/rtti_builder.h"
#include "controls/menus.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/canvas_saver.h"
#include "graphics/draw_flags.h"
#include "rtl/datetime.h"
#include "rtl/format_settings.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

// Presses of the calendar's buttons: the month buttons repeat on the
// switcher's schedule; Today and Clear act on release over them.
class TCalendarSwitcher : public TznSwitcher {
 public:
  explicit TCalendarSwitcher(TQuentaCalendar* owner) : TznSwitcher(owner), calendar_(owner) {}
  bool CanPress(Integer part, Integer, Cardinal, Word, Integer) override {
    return calendar_->ButtonEnabled(TCalendarButton(part));
  }
  void PressedChanged(Integer) override { calendar_->Invalidate(); }
  void Execute(Integer part, Integer, Word, Integer) override { calendar_->ButtonPressed(part); }

 private:
  TQuentaCalendar* calendar_;  // the owner
};

namespace {

bool IsMonthButton(Integer part) {
  return part == cbPrevMonth || part == cbNextMonth;
}

// Live calendars; the shared year editor goes with the last one.
Integer& CalendarCount() {
  static Integer count = 0;
  return count;
}

TDateTime WholeDay(TDateTime value) {
  return std::trunc(value);
}

TDateTime FirstOfMonth(TDateTime date) {
  Word y, m, d;
  DecodeDate(date, y, m, d);
  return EncodeDate(y, m, 1);
}

// The upper-cased first character of text.
String FirstCharUpper(const String& text) {
  std::size_t i = 0;
  if (text.empty()) return String();
  Utf8Next(text, i);
  return AnsiUpperCase(text.substr(0, i));
}

// The size of text in font, measured off screen.
TSize MeasureText(const TFont* font, const String& text) {
  static TBitmap* probe = [] {
    auto* b = Create<TBitmap>();
    b->SetSize(1, 1);
    return b;
  }();
  probe->Canvas()->SetFont(font);
  return probe->Canvas()->TextExtent(text);
}

// text centred on one line in r, over what is already painted.
void DrawCentred(TCanvas* c, const String& text, TRect r) {
  c->Brush()->SetStyle(bsClear);
  c->DrawText(text, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  c->Brush()->SetStyle(bsSolid);
}

}  // namespace

// ---- life cycle ----

TQuentaCalendar::TQuentaCalendar(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque});
  SetColor(clWindow);
  SetTabStop(true);
  switcher_.reset(Create<TCalendarSwitcher>(this));
  date_ = WholeDay(brevant::Date());
  ++CalendarCount();
  CreateMonthMenu();
  BuildCaptions();
  Measure();
  RebuildDisplay();
}

void TQuentaCalendar::BeforeDestruction() {
  if (YearEditorExists() && YearEditor()->Parent() == this) YearEditor()->CloseEditor();
  switcher_.reset();
  TCustomControl::BeforeDestruction();
}

TQuentaCalendar::~TQuentaCalendar() {
  if (--CalendarCount() == 0) FreeYearEditor();
}

void TQuentaCalendar::Loaded() {
  TCustomControl::Loaded();
  Measure();
  RebuildDisplay();
}

void TQuentaCalendar::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_TABSTOP;
  params.ClassStyle = CS_DBLCLKS;
  params.Style &= ~WS_BORDER;
  if (borderStyle_ == bs3D) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TQuentaCalendar::CreateMonthMenu() {
  monthMenu_ = Create<TPopupMenu>(this);
  monthMenu_->SetAlignment(paCenter);
  monthMenu_->SetAutoPopup(false);
  for (Integer m = 1; m <= 12; ++m) {
    auto* item = Create<TMenuItem>(this);
    item->SetTag(m);
    item->OnClick = TNotifyEvent::Of<&TQuentaCalendar::MonthItemClick>(this);
    monthMenu_->Items()->Add(item);
  }
}

// ---- properties ----

void TQuentaCalendar::SetBorderStyle(TznBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  if (HandleAllocated()) RecreateWnd();
  if (!IsLoading()) SetBounds(Left(), Top(), Width(), Height());
}

void TQuentaCalendar::SetDate(TDateTime value) {
  value = WholeDay(value);
  if (value == date_ && !nullDate_) return;
  date_ = value;
  nullDate_ = false;
  if (!IsLoading()) RebuildDisplay();
}

void TQuentaCalendar::SetNullDate(bool value) {
  if (nullDate_ == value) return;
  nullDate_ = value;
  if (!IsLoading()) RebuildDisplay();
}

void TQuentaCalendar::SetMinDate(TDateTime value) {
  value = WholeDay(value);
  if (value != 0 && value > EffectiveMaxDate() && !IsLoading()) maxDate_ = value + 1;
  if (value == minDate_) return;
  minDate_ = value;
  if (!IsLoading()) RebuildDisplay();
}

void TQuentaCalendar::SetMaxDate(TDateTime value) {
  value = WholeDay(value);
  if (value != 0 && value < EffectiveMinDate() && !IsLoading()) minDate_ = value - 1;
  if (value == maxDate_) return;
  maxDate_ = value;
  if (!IsLoading()) RebuildDisplay();
}

void TQuentaCalendar::SetShowTodayButton(bool value) {
  if (showToday_ == value) return;
  showToday_ = value;
  if (!IsLoading()) Measure();
  Invalidate();
}

void TQuentaCalendar::SetShowClearButton(bool value) {
  if (showClear_ == value) return;
  showClear_ = value;
  if (!IsLoading()) Measure();
  Invalidate();
}

void TQuentaCalendar::SetShowYearNavigator(bool value) {
  // Read only when the year label is clicked: nothing to redo.
  showYearNavigator_ = value;
}

void TQuentaCalendar::SetDisableClearButton(bool value) {
  if (disableClear_ == value) return;
  disableClear_ = value;
  Invalidate();
}

// ---- operations ----

bool TQuentaCalendar::InRange(TDateTime date) const {
  return EffectiveMinDate() <= date && date <= EffectiveMaxDate();
}

TDateTime TQuentaCalendar::ClampDate(TDateTime date, bool downwards) const {
  if (downwards && date < EffectiveMinDate()) return EffectiveMinDate();
  if (date < EffectiveMinDate()) return EffectiveMinDate();
  if (date > EffectiveMaxDate()) return EffectiveMaxDate();
  return date;
}

Integer TQuentaCalendar::DatePart(TCalendarDatePart part) const {
  Word y, m, d;
  DecodeDate(date_, y, m, d);
  return part == cdpYear ? y : part == cdpMonth ? m : d;
}

void TQuentaCalendar::SetDatePart(TCalendarDatePart part, Integer value) {
  Word y, m, d;
  DecodeDate(date_, y, m, d);
  Integer parts[3] = {y, m, d};
  parts[part] = value;
  // Out of the Word range the encoder could not tell: refuse it the same way.
  for (Integer v : parts)
    if (v < 1 || v > 9999) throw EConvertError(res::SDateEncodeError);
  SetDate(EncodeDate(Word(parts[0]), Word(parts[1]), Word(parts[2])));
}

void TQuentaCalendar::Change(bool pickup) {
  TAliveGuard alive(this);
  OnChange(this);
  if (pickup && alive.Alive()) OnPickup(this);
}

TDateTime TQuentaCalendar::DateAt(Integer x, Integer y) const {
  const Integer col = (x - 6) / (cellWidth_ + 5);
  const Integer dy = y - (headerHeight_ + cellHeight_ + 5);
  if (x < 6 || col < 0 || col > 6 || dy <= 0) return 0;
  const Integer row = dy / (cellHeight_ + 1);
  if (row > 5) return 0;
  return days_[size_t(row * 7 + col)];
}

// ---- user actions ----

void TQuentaCalendar::NavigateTo(TDateTime date) {
  SetDate(date);
}

void TQuentaCalendar::StepMonth(Integer delta) {
  NavigateTo(ClampDate(IncMonth(date_, delta), delta < 0));
  Change(false);
}

void TQuentaCalendar::ChooseMonth(Integer month) {
  NavigateTo(ClampDate(IncMonth(date_, month - DatePart(cdpMonth)), month < DatePart(cdpMonth)));
  if (CanFocus()) SetFocus();
  Change(false);
}

void TQuentaCalendar::PickToday() {
  if (CanFocus()) SetFocus();
  SetDate(brevant::Date());
  Change(true);
}

void TQuentaCalendar::PickClear() {
  if (CanFocus()) SetFocus();
  SetNullDate(true);
  Change(true);
}

void TQuentaCalendar::ButtonPressed(Integer part) {
  switch (part) {
    case cbPrevMonth:
      StepMonth(-1);
      break;
    case cbNextMonth:
      StepMonth(1);
      break;
    case cbToday:
      PickToday();
      break;
    case cbClear:
      PickClear();
      break;
  }
}

void TQuentaCalendar::MonthItemClick(TObject* sender) {
  ChooseMonth(static_cast<TMenuItem*>(sender)->Tag());
}

void TQuentaCalendar::ShowYearEditor() {
  if (!showYearNavigator_ || !HandleAllocated()) return;
  TznYearEditor* editor = YearEditor();
  YearNaviObj()->SetCalendar(this);
  editor->SetNavigator(YearNaviObj());
  editor->SetParent(this);
  const Integer h = Max(20, MeasureText(editor->Font(), "9999").cy);
  const Integer top = (yearLabel_.Top + yearLabel_.Bottom) / 2 - h / 2;
  editor->SetBounds(yearLabel_.Left + 1, top, yearLabel_.Width() - 1, h);
  editor->SetVisible(true);
  editor->Invalidate();
  if (editor->CanFocus()) editor->SetFocus();
}

// ---- keyboard ----

bool TQuentaCalendar::KeyMove(Word key, TShiftState shift) {
  if (shift.Contains(ssCtrl)) {
    if (key != VK_PRIOR && key != VK_NEXT) return false;
    NavigateTo(ClampDate(IncMonth(date_, key == VK_PRIOR ? -12 : 12), key == VK_PRIOR));
    return true;
  }
  if (!shift.Empty()) return false;
  Word y, m, d;
  DecodeDate(date_, y, m, d);
  switch (key) {
    case VK_PRIOR:
      NavigateTo(ClampDate(IncMonth(date_, -1), true));
      break;
    case VK_NEXT:
      NavigateTo(ClampDate(IncMonth(date_, 1), false));
      break;
    case VK_END:
      NavigateTo(ClampDate(EncodeDate(y, m, DaysInAMonth(y, m)), false));
      break;
    case VK_HOME:
      NavigateTo(ClampDate(EncodeDate(y, m, 1), true));
      break;
    case VK_LEFT:
      NavigateTo(ClampDate(date_ - 1, true));
      break;
    case VK_RIGHT:
      NavigateTo(ClampDate(date_ + 1, false));
      break;
    case VK_UP:
      NavigateTo(ClampDate(date_ - 7, true));
      break;
    case VK_DOWN:
      NavigateTo(ClampDate(date_ + 7, false));
      break;
    default:
      break;
  }
  return true;
}

void TQuentaCalendar::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == 0 || !KeyMove(key, shift)) return;
  key = 0;
  Change(false);
}

void TQuentaCalendar::WMGetDlgCode(TMessage& message) {
  message.Result = DLGC_WANTARROWS;
}

// ---- mouse ----

Integer TQuentaCalendar::HitButton(Integer x, Integer y) const {
  for (TCalendarButton b : {cbPrevMonth, cbNextMonth, cbToday, cbClear})
    if (ButtonShown(b) && PtInRect(ButtonRect(b), TPoint(x, y))) return b;
  return -1;
}

void TQuentaCalendar::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TAliveGuard alive(this);
  if (CanFocus() && !Focused()) SetFocus();
  if (!alive.Alive()) return;
  TCustomControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !alive.Alive()) return;
  const TPoint p(x, y);
  if (const Integer part = HitButton(x, y); part >= 0) {
    const bool month = IsMonthButton(part);
    switcher_->MouseDown(part, x, month, false, ButtonRect(TCalendarButton(part)), 0, y);
    // The first step runs here rather than inside the switcher, which must
    // not be touched after a handler has freed the calendar.
    if (month && switcher_->Pressed() && switcher_->Down()) ButtonPressed(part);
  } else if (PtInRect(monthLabel_, p)) {
    const TPoint at =
        ClientToScreen(TPoint((monthLabel_.Left + monthLabel_.Right) / 2, monthLabel_.Bottom));
    monthMenu_->Popup(at.X, at.Y);
  } else if (PtInRect(yearLabel_, p)) {
    ShowYearEditor();
  } else if (y >= headerHeight_) {
    savedDate_ = date_;
    tracking_ = true;
    Track(x, y);
  }
}

void TQuentaCalendar::Track(Integer x, Integer y) {
  const TDateTime d = DateAt(x, y);
  const TDateTime shown = d != 0 && InRange(d) ? d : savedDate_;
  if (shown == date_) return;
  date_ = shown;
  Invalidate();
}

void TQuentaCalendar::MouseMove(TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseMove(shift, x, y);
  if (switcher_->Pressed()) switcher_->MouseMove(x, y);
  if (tracking_ && shift.Contains(ssLeft)) Track(x, y);
}

void TQuentaCalendar::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TCustomControl::MouseUp(button, shift, x, y);
  if (button != mbLeft) return;
  if (switcher_->Pressed()) {
    // A month button stepped at the press already; Today and Clear act on
    // a release over them. Either action may free the calendar: last.
    if (IsMonthButton(switcher_->Part()))
      switcher_->Release();
    else
      switcher_->MouseUp(x, y);
    return;
  }
  if (!tracking_) return;
  tracking_ = false;
  const TDateTime d = DateAt(x, y);
  date_ = savedDate_;
  if (d != 0 && InRange(d)) {
    SetDate(d);
    Change(true);
  } else {
    Invalidate();
  }
}

// ---- messages ----

Integer TQuentaCalendar::BorderWidth() const {
  switch (borderStyle_) {
    case bsNoBorder:
      return 0;
    case bs3D:
    case bsSoftExt:
    case bsFlatExt:
    case bsMonoExt:
      return 2;
    default:
      return 1;
  }
}

void TQuentaCalendar::WMNCCalcSize(TMessage& message) {
  TCustomControl::WMNCCalcSize(message);
  if (auto* rect = reinterpret_cast<TRect*>(message.LParam); rect && borderStyle_ > bs3D)
    BorderCalcSize(borderStyle_, *rect);
}

void TQuentaCalendar::WMNCPaint(TMessage& message) {
  TCustomControl::WMNCPaint(message);
  if (borderStyle_ > bs3D) BorderPaint(borderStyle_, this, false);
}

void TQuentaCalendar::WMSetFocus(TMessage& message) {
  TCustomControl::WMSetFocus(message);
  Invalidate();
}

void TQuentaCalendar::WMKillFocus(TMessage& message) {
  TCustomControl::WMKillFocus(message);
  Invalidate();
}

void TQuentaCalendar::WMEraseBkgnd(TMessage& message) {
  message.Result = 1;
}

void TQuentaCalendar::CMFontChanged(TMessage& message) {
  TCustomControl::CMFontChanged(message);
  if (IsLoading()) return;
  Measure();
  Invalidate();
}

void TQuentaCalendar::CMEnabledChanged(TMessage& message) {
  TCustomControl::CMEnabledChanged(message);
  Invalidate();
}

// ---- display ----

void TQuentaCalendar::BuildCaptions() {
  const TFormatSettings& fs = FormatSettings();
  const Integer first = FirstDayOfWeek();  // 1 = Sunday
  for (Integer i = 0; i < 7; ++i)
    captions_[size_t(i)] = FirstCharUpper(fs.ShortDayNames[size_t((first - 1 + i) % 7)]);
}

void TQuentaCalendar::RebuildDisplay() {
  const TDateTime first = FirstOfMonth(date_);
  prevEnabled_ = FirstOfMonth(EffectiveMinDate()) < first;
  nextEnabled_ = FirstOfMonth(EffectiveMaxDate()) > first;
  Word y, m, d;
  DecodeDate(date_, y, m, d);
  const TFormatSettings& fs = FormatSettings();
  for (Integer i = 0; i < 12; ++i) {
    TMenuItem* item = monthMenu_->Items()->Items(i);
    item->SetCaption(fs.LongMonthNames[size_t(i)]);
    item->SetEnabled(MonthSelectable(i + 1));
  }
  monthFirst_ = first;
  monthLast_ = EncodeDate(y, m, DaysInAMonth(y, m));
  Integer offset = DayOfWeek(first) - FirstDayOfWeek();
  if (offset < 0) offset += 7;
  for (Integer i = 0; i < GridDays; ++i) days_[size_t(i)] = first - offset + i;
  Invalidate();
}

bool TQuentaCalendar::MonthSelectable(Integer month) const {
  Word y, m, d;
  DecodeDate(date_, y, m, d);
  if (month == m) return false;
  const TDateTime first = EncodeDate(y, Word(month), 1);
  return FirstOfMonth(EffectiveMinDate()) <= first && first <= FirstOfMonth(EffectiveMaxDate());
}

bool TQuentaCalendar::ButtonShown(TCalendarButton button) const {
  return button == cbToday ? showToday_ : button == cbClear ? showClear_ : true;
}

bool TQuentaCalendar::ButtonEnabled(TCalendarButton button) const {
  if (!Enabled()) return false;
  switch (button) {
    case cbPrevMonth:
      return prevEnabled_;
    case cbNextMonth:
      return nextEnabled_;
    case cbToday:
      return showToday_ && InRange(WholeDay(brevant::Date()));
    case cbClear:
      return showClear_ && !nullDate_ && !disableClear_;
  }
  return false;
}

TRect TQuentaCalendar::ButtonRect(TCalendarButton button) const {
  switch (button) {
    case cbPrevMonth:
      return prevButton_;
    case cbNextMonth:
      return nextButton_;
    case cbToday:
      return todayButton_;
    case cbClear:
      return clearButton_;
  }
  return TRect();
}

TRect TQuentaCalendar::DayRect(Integer index) const {
  const Integer x = 6 + (index % 7) * (cellWidth_ + 5);
  const Integer y = headerHeight_ + cellHeight_ + 6 + (index / 7) * (cellHeight_ + 1);
  return TRect(x, y, x + cellWidth_, y + cellHeight_);
}

TSize TQuentaCalendar::ContentSize() const {
  Integer h = 7 * cellHeight_ + 14 + 2;
  if (showToday_ || showClear_) h += buttonHeight_ + 3;
  return TSize{7 * cellWidth_ + 42, headerHeight_ + h};
}

void TQuentaCalendar::Measure() {
  TFont bold;
  bold.Assign(Font());
  bold.SetStyle(TFontStyles{fsBold});
  TSize cell = MeasureText(&bold, "99");
  for (const String& c : captions_) {
    const TSize s = MeasureText(&bold, c);
    cell.cx = Max(cell.cx, s.cx);
    cell.cy = Max(cell.cy, s.cy);
  }
  for (const String& name : FormatSettings().LongMonthNames)
    cell.cy = Max(cell.cy, MeasureText(&bold, name).cy);
  cellWidth_ = cell.cx;
  cellHeight_ = cell.cy;

  Integer labelH = cellHeight_;
  if (labelH % 2 == 0) --labelH;
  headerHeight_ = labelH + 10;
  const TSize content = ContentSize();
  const Integer navH = headerHeight_ - 4;
  prevButton_ = TRect(2, 2, 2 + navButtonWidth_, 2 + navH);
  nextButton_ = TRect(content.cx - 2 - navButtonWidth_, 2, content.cx - 2, 2 + navH);
  const Integer yearW = MeasureText(&bold, "99999999").cx;
  yearLabel_ = TRect(nextButton_.Left - yearW, 5, nextButton_.Left, 5 + labelH);
  monthLabel_ = TRect(prevButton_.Right, 5, yearLabel_.Left, 5 + labelH);

  const Integer buttonW = (content.cx - 6 - 12) / 2;
  const Integer buttonTop = content.cy - 3 - buttonHeight_;
  todayButton_ = showToday_ ? TRect(6, buttonTop, 6 + buttonW, buttonTop + buttonHeight_) : TRect();
  clearButton_ = showClear_ ? TRect(content.cx - 6 - buttonW, buttonTop, content.cx - 6,
                                    buttonTop + buttonHeight_)
                            : TRect();
  SetBounds(Left(), Top(), Width(), Height());
}

void TQuentaCalendar::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  if (cellWidth_ > 0) {
    const TSize content = ContentSize();
    width = content.cx + 2 * BorderWidth();
    height = content.cy + 2 * BorderWidth();
  }
  TCustomControl::SetBounds(left, top, width, height);
}

// ---- painting ----

void TQuentaCalendar::Paint() {
  TCanvas* c = Canvas();
  c->Font()->Assign(Font());
  c->Font()->SetStyle(TFontStyles{fsBold});
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  PaintHeader(c);
  PaintDays(c);
  PaintButtons(c);
}

void TQuentaCalendar::PaintHeader(TCanvas* c) {
  const Integer w = ContentSize().cx;
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(TRect(0, 0, w, headerHeight_));
  PaintButton(c, cbPrevMonth);
  PaintButton(c, cbNextMonth);
  Word y, m, d;
  DecodeDate(date_, y, m, d);
  c->SetBkMode(TRANSPARENT);
  c->Font()->SetColor(Enabled() ? clBtnText : clGrayText);
  TRect r = monthLabel_;
  DrawCentred(c, FormatSettings().LongMonthNames[size_t(m - 1)], r);
  r = yearLabel_;
  DrawCentred(c, IntToStr(y), r);
}

void TQuentaCalendar::PaintDays(TCanvas* c) {
  c->SetBkMode(TRANSPARENT);
  c->Font()->SetColor(clWindowText);
  for (Integer i = 0; i < 7; ++i) {
    TRect r = DayRect(i);
    OffsetRect(r, 0, -(cellHeight_ + 4));
    DrawCentred(c, captions_[size_t(i)], r);
  }
  const Integer lineY = headerHeight_ + cellHeight_ + 3;
  c->Pen()->SetColor(clBlack);
  c->MoveTo(6, lineY);
  c->LineTo(ContentSize().cx - 6, lineY);
  for (Integer i = 0; i < GridDays; ++i) PaintDay(c, i);
  if (showToday_ || showClear_) {
    const Integer sepY = IsRectEmpty(todayButton_) ? clearButton_.Top - 3 : todayButton_.Top - 3;
    c->MoveTo(6, sepY);
    c->LineTo(ContentSize().cx - 6, sepY);
  }
}

void TQuentaCalendar::PaintDay(TCanvas* c, Integer index) {
  const TDateTime day = days_[size_t(index)];
  const TRect cell = DayRect(index);
  const TRect box(cell.Left - 2, cell.Top, cell.Right + 2, cell.Bottom + 1);
  const bool selected = day == date_ && (!nullDate_ || tracking_);
  if (selected) {
    c->Brush()->SetColor(clBtnShadow);
    c->FillRect(box);
  }
  if (showToday_ && day == WholeDay(brevant::Date())) {
    c->Brush()->SetColor(clMaroon);
    c->FrameRect(box);
  }
  if (selected && Focused())
    DrawFocusRectBW(c, TRect(box.Left + 1, box.Top + 1, box.Right - 1, box.Bottom - 1));
  Word y, m, d;
  DecodeDate(day, y, m, d);
  const String text = IntToStr(d);
  TRect r = cell;
  if (!InRange(day)) {
    TRect shifted = cell;
    OffsetRect(shifted, 1, 1);
    c->Font()->SetColor(clBtnHighlight);
    DrawCentred(c, text, shifted);
    c->Font()->SetColor(clBtnShadow);
  } else if (selected) {
    c->Font()->SetColor(clHighlightText);
  } else if (day < monthFirst_ || day > monthLast_) {
    c->Font()->SetColor(clGrayText);
  } else {
    c->Font()->SetColor(clWindowText);
  }
  DrawCentred(c, text, r);
}

void TQuentaCalendar::PaintButtons(TCanvas* c) {
  if (showToday_) PaintButton(c, cbToday);
  if (showClear_) PaintButton(c, cbClear);
}

void TQuentaCalendar::PaintButton(TCanvas* c, TCalendarButton button) {
  const TRect r = ButtonRect(button);
  const bool pressed = switcher_ && switcher_->Part() == button && switcher_->Down();
  const bool enabled = ButtonEnabled(button);
  c->Brush()->SetColor(clBtnFace);
  c->FillRect(r);
  DrawButtonFrame(c, r, pressed, 0);
  const Integer shift = pressed ? 1 : 0;
  const TColor ink = enabled ? clBlack : clGrayText;
  if (button == cbPrevMonth || button == cbNextMonth) {
    const Integer cx = (r.Left + r.Right) / 2 + shift;
    const Integer cy = (r.Top + r.Bottom) / 2 + shift;
    const Integer dx = button == cbPrevMonth ? -2 : 2;
    c->Brush()->SetColor(ink);
    c->Pen()->SetColor(ink);
    c->Polygon({TPoint(cx + dx, cy), TPoint(cx - dx, cy - 4), TPoint(cx - dx, cy + 4)});
    return;
  }
  TRect text = r;
  OffsetRect(text, shift, shift);
  c->SetBkMode(TRANSPARENT);
  c->Font()->SetColor(enabled ? clBtnText : clGrayText);
  c->Font()->SetStyle(TFontStyles{});
  DrawCentred(c, button == cbToday ? bvres::SCalendarToday : bvres::SCalendarClear, text);
  c->Font()->SetStyle(TFontStyles{fsBold});
}

// ---- published interface ----

BV_PUBLISH(TQuentaCalendar, TCustomControl) {
  p.Property("TabStop", &TQuentaCalendar::TabStop, &TQuentaCalendar::SetTabStop).Default(1);
  p.Property("Color", &TQuentaCalendar::Color, &TQuentaCalendar::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TQuentaCalendar::IsColorStored)
      .Default(clWindow);
  p.Property("BorderStyle", &TQuentaCalendar::BorderStyle, &TQuentaCalendar::SetBorderStyle)
      .Default(bs3D);
  p.Property("Date", &TQuentaCalendar::Date, &TQuentaCalendar::SetDate).Type(TypeInfoTDate());
  p.Property("NullDate", &TQuentaCalendar::NullDate, &TQuentaCalendar::SetNullDate).Default(0);
  p.Property("MinDate", &TQuentaCalendar::MinDate, &TQuentaCalendar::SetMinDate)
      .Type(TypeInfoTDate())
      .Stored(&TQuentaCalendar::IsMinDateStored);
  p.Property("MaxDate", &TQuentaCalendar::MaxDate, &TQuentaCalendar::SetMaxDate)
      .Type(TypeInfoTDate())
      .Stored(&TQuentaCalendar::IsMaxDateStored);
  p.Property("ShowTodayButton", &TQuentaCalendar::ShowTodayButton,
             &TQuentaCalendar::SetShowTodayButton)
      .Default(1);
  p.Property("ShowClearButton", &TQuentaCalendar::ShowClearButton,
             &TQuentaCalendar::SetShowClearButton)
      .Default(0);
  p.Property("ShowYearNavigator", &TQuentaCalendar::ShowYearNavigator,
             &TQuentaCalendar::SetShowYearNavigator)
      .Default(1);
  p.Property("DisableClearButton", &TQuentaCalendar::DisableClearButton,
             &TQuentaCalendar::SetDisableClearButton)
      .Default(0);
  p.Event("OnChange", &TQuentaCalendar::OnChange, "TNotifyEvent");
  p.Event("OnPickup", &TQuentaCalendar::OnPickup, "TNotifyEvent");
}

void RegisterCalendarClasses() {
  RegisterClasses({TQuentaCalendar::StaticClass()});
}

}  // namespace brevant
