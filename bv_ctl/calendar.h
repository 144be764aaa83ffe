// TQuentaCalendar: a month calendar control. A header with previous and next
// month buttons, the month name (opens a month menu) and the year (opens the
// shared year editor), six weeks of days, and optional "Today" and "Clear"
// buttons. It selects one date, or none, within an optional range; keys and
// mouse navigate, and every navigation by the user stays inside the range.
// A host (a drop-down form) embeds it like any control and listens to
// OnChange and OnPickup.
#pragma once

#include <array>

#include "bv_rtm/draw_helpers.h"
#include "controls/controls.h"

namespace brevant {

class TPopupMenu;
class TCalendarSwitcher;

// The parts of a date that DatePart and SetDatePart name.
enum TCalendarDatePart : Byte { cdpYear, cdpMonth, cdpDay };

// The header and footer buttons, as the press switcher numbers its parts.
enum TCalendarButton : Integer { cbPrevMonth, cbNextMonth, cbToday, cbClear };

class TQuentaCalendar : public TCustomControl {
  BV_CLASS(TQuentaCalendar, TCustomControl)
 public:
  // The lowest and highest dates a calendar can show (1 January 0001 and
  // 31 December 9999).
  static constexpr TDateTime LowestDate = -693593;
  static constexpr TDateTime HighestDate = 2958465;
  // Days in the displayed grid: six weeks.
  static constexpr Integer GridDays = 42;

  explicit TQuentaCalendar(TComponent* owner);
  void BeforeDestruction() override;
  ~TQuentaCalendar() override;

  // ---- published properties ----
  TznBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TznBorderStyle value);
  // The selected date, always a whole day.
  TDateTime Date() const { return date_; }
  void SetDate(TDateTime value);
  bool NullDate() const { return nullDate_; }
  void SetNullDate(bool value);
  // 0 = no limit.
  TDateTime MinDate() const { return minDate_; }
  void SetMinDate(TDateTime value);
  TDateTime MaxDate() const { return maxDate_; }
  void SetMaxDate(TDateTime value);
  bool ShowTodayButton() const { return showToday_; }
  void SetShowTodayButton(bool value);
  bool ShowClearButton() const { return showClear_; }
  void SetShowClearButton(bool value);
  bool ShowYearNavigator() const { return showYearNavigator_; }
  void SetShowYearNavigator(bool value);
  bool DisableClearButton() const { return disableClear_; }
  void SetDisableClearButton(bool value);
  bool IsMinDateStored() const { return minDate_ != 0; }
  bool IsMaxDateStored() const { return maxDate_ != 0; }

  TNotifyEvent OnChange;  // the date changed by a user action
  TNotifyEvent OnPickup;  // the user picked a date (click, Today, Clear)

  // ---- operations ----
  // MinDate, or the lowest date without a limit; MaxDate likewise.
  TDateTime EffectiveMinDate() const { return minDate_ != 0 ? minDate_ : LowestDate; }
  TDateTime EffectiveMaxDate() const { return maxDate_ != 0 ? maxDate_ : HighestDate; }
  bool InRange(TDateTime date) const;
  // date clamped into the range (a date moved downwards below the minimum
  // becomes the minimum).
  TDateTime ClampDate(TDateTime date, bool downwards) const;
  Integer DatePart(TCalendarDatePart part) const;
  // Encodes Date from the other two parts and value (EConvertError when
  // the result is no date) and sets it.
  void SetDatePart(TCalendarDatePart part, Integer value);
  // Fires OnChange, and OnPickup with pickup.
  void Change(bool pickup);
  // The grid date under a client point, or 0.
  TDateTime DateAt(Integer x, Integer y) const;

  // ---- user actions (also what the header and footer buttons do) ----
  // One month back (-1) or forward, clamped; then Change (False).
  void StepMonth(Integer delta);
  // The month menu's choice: Date moves to month (1-12) of the displayed
  // year, the day clipped to the month and clamped to the range.
  void ChooseMonth(Integer month);
  void PickToday();
  void PickClear();
  // Shows the shared year editor over the year label (ShowYearNavigator).
  void ShowYearEditor();

  // ---- layout and state, for hosts and tests ----
  Integer CellWidth() const { return cellWidth_; }
  Integer CellHeight() const { return cellHeight_; }
  Integer HeaderHeight() const { return headerHeight_; }
  TRect ButtonRect(TCalendarButton button) const;
  TRect MonthLabelRect() const { return monthLabel_; }
  TRect YearLabelRect() const { return yearLabel_; }
  // The cell of grid day index (0-41), in client coordinates.
  TRect DayRect(Integer index) const;
  TDateTime GridDate(Integer index) const { return days_.at(size_t(index)); }
  TDateTime MonthFirstDay() const { return monthFirst_; }
  TDateTime MonthLastDay() const { return monthLast_; }
  bool ButtonEnabled(TCalendarButton button) const;
  bool ButtonShown(TCalendarButton button) const;
  // The weekday initial shown over column i (0-6).
  const String& WeekdayCaption(Integer i) const { return captions_.at(size_t(i)); }
  TPopupMenu* MonthMenu() const { return monthMenu_; }
  // Whether month (1-12) of the displayed year may be chosen in the menu.
  bool MonthSelectable(Integer month) const;
  // The client size the content needs.
  TSize ContentSize() const;

  void SetBounds(Integer left, Integer top, Integer width, Integer height) override;

 protected:
  void Loaded() override;
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  void KeyDown(Word& key, TShiftState shift) override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void WMGetDlgCode(TMessage& message) override;
  void WMNCCalcSize(TMessage& message) override;
  void WMNCPaint(TMessage& message) override;
  void WMSetFocus(TMessage& message) override;
  void WMKillFocus(TMessage& message) override;
  void WMEraseBkgnd(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  void CMEnabledChanged(TMessage& message) override;

 private:
  friend class TCalendarSwitcher;

  // The width of the frame around the client area, each side.
  Integer BorderWidth() const;
  // Recomputes the grid, the enabled states and the labels, then repaints.
  void RebuildDisplay();
  // Weekday captions from the format settings.
  void BuildCaptions();
  // Cell sizes, header and button geometry; then the control's size.
  void Measure();
  void CreateMonthMenu();
  // Sets date (clamped by the caller) and repaints, as user navigation does.
  void NavigateTo(TDateTime date);
  // The key table's move for key, or false when the key is passed on.
  bool KeyMove(Word key, TShiftState shift);
  void ButtonPressed(Integer part);
  // Mouse tracking over the grid: Date follows the day under (x, y).
  void Track(Integer x, Integer y);
  void MonthItemClick(TObject* sender);
  Integer HitButton(Integer x, Integer y) const;

  void PaintHeader(TCanvas* c);
  void PaintDays(TCanvas* c);
  void PaintDay(TCanvas* c, Integer index);
  void PaintButtons(TCanvas* c);
  void PaintButton(TCanvas* c, TCalendarButton button);

  TznBorderStyle borderStyle_ = bs3D;  // border kind
  TDateTime date_ = 0;                 // the selected day
  bool nullDate_ = false;              // no date is selected
  TDateTime minDate_ = 0;              // lowest selectable day, 0 = none
  TDateTime maxDate_ = 0;              // highest selectable day, 0 = none
  bool showToday_ = true;              // Today button and today's frame
  bool showClear_ = false;             // Clear button
  bool showYearNavigator_ = true;      // the year label opens the year editor
  bool disableClear_ = false;          // Clear is disabled

  std::array<TDateTime, GridDays> days_{};  // the displayed grid, row by row
  std::array<String, 7> captions_;          // weekday initials by column
  TDateTime monthFirst_ = 0;                // first day of the displayed month
  TDateTime monthLast_ = 0;                 // last day of the displayed month
  Integer cellWidth_ = 0;                   // day cell width
  Integer cellHeight_ = 0;                  // day cell height
  Integer headerHeight_ = 0;                // header panel height
  Integer buttonHeight_ = 19;               // Today and Clear height
  Integer navButtonWidth_ = 14;             // previous and next width
  TRect prevButton_;                        // previous month button
  TRect nextButton_;                        // next month button
  TRect monthLabel_;                        // month name
  TRect yearLabel_;                         // year number
  TRect todayButton_;                       // Today (empty when hidden)
  TRect clearButton_;                       // Clear (empty when hidden)
  bool prevEnabled_ = false;                // an earlier month is in range
  bool nextEnabled_ = false;                // a later month is in range
  TPopupMenu* monthMenu_ = nullptr;         // twelve month names (owned)
  TObjectPtr<TCalendarSwitcher> switcher_;  // presses of the buttons
  bool tracking_ = false;                   // a press over the grid runs
  TDateTime savedDate_ = 0;                 // Date when that press started
};

void RegisterCalendarClasses();

}  // namespace brevant
