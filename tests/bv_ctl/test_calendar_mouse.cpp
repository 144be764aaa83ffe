// The calendar's mouse: picking and tracking days, the month buttons held
// under the virtual clock, the month menu, the year editor, Today, Clear and
// the first day of the week.
#include "bv_ctl/year_editor.h"
#include "bv_rtm/switcher.h"
#include "calendar_test_util.h"
#include "controls/menus.h"

namespace brevant::test {

TEST_F(CalendarTest, ClickPicksADayAndGreyedDaysShowTheirMonth) {
  // March 2026 starts on a Sunday: the grid starts with 1 March.
  EXPECT_EQ(cal->GridDate(0), D(2026, 3, 1));
  ClickDay(IndexOf(D(2026, 3, 20)));
  EXPECT_EQ(cal->Date(), D(2026, 3, 20));
  EXPECT_EQ(events, (std::vector<std::string>{"change", "pickup"}));
  // A trailing day of April selects it and shows April.
  ClickDay(IndexOf(D(2026, 4, 2)));
  EXPECT_EQ(cal->Date(), D(2026, 4, 2));
  EXPECT_EQ(cal->MonthFirstDay(), D(2026, 4, 1));
  EXPECT_EQ(cal->GridDate(0), D(2026, 3, 29));
}

TEST_F(CalendarTest, TrackingFollowsThePointerAndReleaseOutsideRestores) {
  const TPoint from = Centre(cal->DayRect(IndexOf(D(2026, 3, 12))));
  Offscreen().MouseMove(from);
  Offscreen().MouseDown(from);
  Pump();
  Offscreen().MouseMove(Centre(cal->DayRect(IndexOf(D(2026, 3, 25)))));
  Pump();
  EXPECT_EQ(cal->Date(), D(2026, 3, 25));  // shown while tracking, no events
  EXPECT_TRUE(events.empty());
  const TPoint outside = cal->ClientToScreen({2, 2});
  Offscreen().MouseMove(outside);
  Offscreen().MouseUp(outside);
  Pump();
  EXPECT_EQ(cal->Date(), D(2026, 3, 12));
  EXPECT_TRUE(events.empty());
  // A day out of range is not taken either.
  cal->SetMaxDate(D(2026, 3, 20));
  ClickDay(IndexOf(D(2026, 3, 25)));
  EXPECT_EQ(cal->Date(), D(2026, 3, 12));
  EXPECT_EQ(cal->DateAt(0, 0), 0);
}

TEST_F(CalendarTest, DateAtMapsTheGridCells) {
  for (Integer i : {0, 6, 7, 20, 41}) {
    const TRect r = cal->DayRect(i);
    EXPECT_EQ(cal->DateAt(r.Left + 1, r.Top + 1), cal->GridDate(i)) << i;
  }
  const TRect last = cal->DayRect(41);
  EXPECT_EQ(cal->DateAt(last.Left + 1, last.Bottom + cal->CellHeight() + 2), 0);
  EXPECT_EQ(cal->DateAt(last.Right + cal->CellWidth() + 6, last.Top + 1), 0);
}

TEST_F(CalendarTest, MonthButtonsStepAndRepeatOnTheSwitcherSchedule) {
  const TPoint next = Centre(cal->ButtonRect(cbNextMonth));
  Offscreen().MouseMove(next);
  Offscreen().MouseDown(next);
  Pump();
  EXPECT_EQ(cal->Date(), D(2026, 4, 12));  // one step at the press
  EXPECT_EQ(events.size(), 1u);
  auto tick = [](Integer n) {
    for (Integer i = 0; i < n; ++i) Wait(TznSwitcher::RepeatInterval);
  };
  tick(9);  // counters 0-8: nothing yet
  EXPECT_EQ(cal->Date(), D(2026, 4, 12));
  tick(1);  // counter 9: the first repeat, 300 ms after the press
  EXPECT_EQ(cal->Date(), D(2026, 5, 12));
  tick(2);
  EXPECT_EQ(cal->Date(), D(2026, 5, 12));
  tick(1);  // counter 12
  EXPECT_EQ(cal->Date(), D(2026, 6, 12));
  // Ticks with the pointer elsewhere neither step nor count.
  Offscreen().MouseMove(cal->ClientToScreen({2, cal->HeaderHeight() + 40}));
  tick(30);
  EXPECT_EQ(cal->Date(), D(2026, 6, 12));
  Offscreen().MouseMove(next);
  tick(2);  // counters 13, 14
  EXPECT_EQ(cal->Date(), D(2026, 6, 12));
  tick(1);  // counter 15
  EXPECT_EQ(cal->Date(), D(2026, 7, 12));
  Offscreen().MouseUp(next);
  Pump();
  tick(20);
  EXPECT_EQ(cal->Date(), D(2026, 7, 12));
  // The previous button steps back, and stops at the minimum's month.
  cal->SetMinDate(D(2026, 6, 20));
  ClickAt(Centre(cal->ButtonRect(cbPrevMonth)));
  EXPECT_EQ(cal->Date(), D(2026, 6, 20));
  EXPECT_FALSE(cal->ButtonEnabled(cbPrevMonth));
  ClickAt(Centre(cal->ButtonRect(cbPrevMonth)));
  EXPECT_EQ(cal->Date(), D(2026, 6, 20));
}

TEST_F(CalendarTest, MonthMenuMovesTheMonthAndStaysInRange) {
  cal->SetDate(D(2026, 1, 31));
  ScriptAnswer("PopupMenu", 1);  // February
  ClickAt(Centre(cal->MonthLabelRect()));
  EXPECT_EQ(cal->Date(), D(2026, 2, 28));  // the day clipped
  EXPECT_EQ(events, (std::vector<std::string>{"change"}));
  EXPECT_TRUE(cal->Focused());
  EXPECT_EQ(cal->MonthMenu()->Items()->Items(2)->Caption(), "March");
  EXPECT_FALSE(cal->MonthMenu()->Items()->Items(1)->Enabled());  // the current month
  // Months outside the range by months are disabled; a month holding the
  // limit is allowed and clamped to it.
  cal->SetMinDate(D(2026, 2, 10));
  cal->SetMaxDate(D(2026, 9, 15));
  cal->SetDate(D(2026, 5, 20));
  EXPECT_FALSE(cal->MonthSelectable(1));
  EXPECT_TRUE(cal->MonthSelectable(2));
  EXPECT_TRUE(cal->MonthSelectable(9));
  EXPECT_FALSE(cal->MonthSelectable(10));
  ScriptAnswer("PopupMenu", 8);  // September
  ClickAt(Centre(cal->MonthLabelRect()));
  EXPECT_EQ(cal->Date(), D(2026, 9, 15));
  cal->SetDate(D(2026, 5, 5));
  ScriptAnswer("PopupMenu", 1);  // February
  ClickAt(Centre(cal->MonthLabelRect()));
  EXPECT_EQ(cal->Date(), D(2026, 2, 10));
  ScriptAnswer("PopupMenu", 0);  // January: disabled, nothing happens
  ClickAt(Centre(cal->MonthLabelRect()));
  EXPECT_EQ(cal->Date(), D(2026, 2, 10));
}

TEST_F(CalendarTest, YearEditorSpinsTheYear) {
  cal->SetDate(D(2024, 2, 29));
  ClickAt(Centre(cal->YearLabelRect()));
  ASSERT_TRUE(YearEditorExists());
  TznYearEditor* ed = YearEditor();
  EXPECT_EQ(ed->Parent(), cal);
  EXPECT_TRUE(ed->Visible());
  EXPECT_TRUE(ed->Focused());
  EXPECT_EQ(YearNaviObj()->Year(), 2024);
  EXPECT_GE(ed->Height(), 20);
  // Up from 29 February clips the day instead of failing.
  ClickAt(ed->ClientToScreen({ed->SpinRect(0).Left + 2, ed->SpinRect(0).Top + 2}));
  EXPECT_EQ(cal->Date(), D(2025, 2, 28));
  EXPECT_EQ(events, (std::vector<std::string>{"change"}));
  ClickAt(ed->ClientToScreen({ed->SpinRect(1).Left + 2, ed->SpinRect(1).Bottom - 2}));
  EXPECT_EQ(cal->Date(), D(2024, 2, 28));
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(cal->Date(), D(2026, 2, 28));
  // Held, the spin repeats on the switcher's schedule.
  const TPoint up = ed->ClientToScreen({ed->SpinRect(0).Left + 2, ed->SpinRect(0).Top + 2});
  Offscreen().MouseMove(up);
  Offscreen().MouseDown(up);
  Pump();
  for (Integer i = 0; i < 10; ++i) Wait(TznSwitcher::RepeatInterval);
  Offscreen().MouseUp(up);
  Pump();
  EXPECT_EQ(cal->DatePart(cdpYear), 2028);
  // Escape closes it and the calendar has the focus again.
  Key(VK_ESCAPE);
  EXPECT_EQ(ed->Parent(), nullptr);
  EXPECT_EQ(YearNaviObj()->Calendar(), nullptr);
  EXPECT_TRUE(cal->Focused());
}

TEST_F(CalendarTest, YearEditorClampsToTheLimits) {
  cal->SetMinDate(D(2025, 6, 1));
  cal->SetMaxDate(D(2027, 3, 31));
  cal->SetDate(D(2026, 8, 15));
  ClickAt(Centre(cal->YearLabelRect()));
  Key(VK_UP);
  EXPECT_EQ(cal->Date(), D(2027, 3, 31));
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(cal->Date(), D(2025, 6, 1));
  EXPECT_TRUE(cal->InRange(cal->Date()));
}

TEST_F(CalendarTest, AYearSpinHeldFrom29FebruaryClipsAndKeepsRepeating) {
  cal->SetDate(D(2024, 2, 29));
  ClickAt(Centre(cal->YearLabelRect()));
  ASSERT_TRUE(YearEditorExists());
  TznYearEditor* ed = YearEditor();
  const TPoint down = ed->ClientToScreen({ed->SpinRect(1).Left + 2, ed->SpinRect(1).Bottom - 2});
  Offscreen().MouseMove(down);
  Offscreen().MouseDown(down);
  Pump();
  EXPECT_EQ(cal->Date(), D(2023, 2, 28));
  for (Integer i = 0; i < 16; ++i) Wait(TznSwitcher::RepeatInterval);
  Offscreen().MouseUp(down);
  Pump();
  EXPECT_LT(cal->DatePart(cdpYear), 2022);  // repeated at least twice
  EXPECT_EQ(cal->DatePart(cdpMonth), 2);
  EXPECT_EQ(cal->DatePart(cdpDay), 28);
}

TEST_F(CalendarTest, YearEditorLeavesOnAPressElsewhereAndWithItsCalendar) {
  TProbe* other = AddProbe(form, "Other", Rect(10, 300, 60, 340));
  ClickAt(Centre(cal->YearLabelRect()));
  TznYearEditor* ed = YearEditor();
  ASSERT_EQ(ed->Parent(), cal);
  ClickAt(At(other, 5, 5));
  EXPECT_EQ(ed->Parent(), nullptr);
  EXPECT_FALSE(ed->Visible());
  EXPECT_EQ(YearNaviObj()->Year(), 0);
  // Tab leaves it for the next control and hides it.
  other->SetTabStop(true);
  ClickAt(Centre(cal->YearLabelRect()));
  ASSERT_TRUE(ed->Focused());
  Key(VK_TAB);
  EXPECT_FALSE(ed->Visible());
  EXPECT_EQ(YearNaviObj()->Calendar(), nullptr);
  EXPECT_FALSE(ed->Focused());
  // Without the navigator the year label does nothing.
  cal->SetShowYearNavigator(false);
  ClickAt(Centre(cal->YearLabelRect()));
  EXPECT_FALSE(ed->Visible());
  cal->SetShowYearNavigator(true);
  // A second calendar borrows the editor; freeing it leaves the editor whole.
  auto* second = Create<TQuentaCalendar>(form);
  second->SetLeft(200);
  second->SetTop(10);
  second->SetParent(form);
  Pump();
  ClickAt(
      second->ClientToScreen({(second->YearLabelRect().Left + second->YearLabelRect().Right) / 2,
                              second->YearLabelRect().Top + 3}));
  ASSERT_EQ(ed->Parent(), second);
  second->Free();
  Pump();
  ASSERT_TRUE(YearEditorExists());
  EXPECT_EQ(ed->Parent(), nullptr);
  EXPECT_EQ(YearNaviObj()->Calendar(), nullptr);
  ClickAt(Centre(cal->YearLabelRect()));
  EXPECT_EQ(ed->Parent(), cal);
}

TEST_F(CalendarTest, TodayAndClearButtons) {
  cal->SetShowClearButton(true);
  cal->SetDate(D(2025, 7, 4));
  ClickAt(Centre(cal->ButtonRect(cbToday)));
  EXPECT_EQ(cal->Date(), Today());
  EXPECT_EQ(events, (std::vector<std::string>{"change", "pickup"}));
  events.clear();
  ClickAt(Centre(cal->ButtonRect(cbClear)));
  EXPECT_TRUE(cal->NullDate());
  EXPECT_EQ(events, (std::vector<std::string>{"change", "pickup"}));
  EXPECT_FALSE(cal->ButtonEnabled(cbClear));  // nothing left to clear
  events.clear();
  ClickAt(Centre(cal->ButtonRect(cbClear)));
  EXPECT_TRUE(events.empty());
  // A press released off the button does nothing.
  cal->SetDate(D(2025, 7, 4));
  const TPoint today = Centre(cal->ButtonRect(cbToday));
  Offscreen().MouseMove(today);
  Offscreen().MouseDown(today);
  Offscreen().MouseMove(cal->ClientToScreen({1, 1}));
  Offscreen().MouseUp(cal->ClientToScreen({1, 1}));
  Pump();
  EXPECT_EQ(cal->Date(), D(2025, 7, 4));
  // Today is off when today is out of range; Clear by its own switch.
  cal->SetMaxDate(D(2026, 1, 1));
  EXPECT_FALSE(cal->ButtonEnabled(cbToday));
  ClickAt(today);
  EXPECT_EQ(cal->Date(), D(2025, 7, 4));
  cal->SetDisableClearButton(true);
  EXPECT_FALSE(cal->ButtonEnabled(cbClear));
  // Showing or hiding the buttons re-measures the control.
  const Integer h = cal->Height();
  cal->SetShowTodayButton(false);
  EXPECT_EQ(cal->Height(), h);  // Clear still shows
  cal->SetShowClearButton(false);
  EXPECT_LT(cal->Height(), h);
}

TEST_F(CalendarTest, FirstDayOfWeekComesFromTheFormatSettings) {
  EXPECT_EQ(cal->WeekdayCaption(0), "S");
  EXPECT_EQ(cal->WeekdayCaption(1), "M");
  TFormatSettingsGuard guard;
  FormatSettings().FirstDayOfWeek = 0;  // Monday
  FormatSettings().ShortDayNames = {"dim", "lun", "mar", "mer", "jeu", "ven", "sam"};
  auto* monday = Create<TQuentaCalendar>(form);
  monday->SetDate(D(2026, 3, 12));
  EXPECT_EQ(monday->WeekdayCaption(0), "L");
  EXPECT_EQ(monday->WeekdayCaption(6), "D");
  // 1 March 2026 is a Sunday: the seventh column of the first row.
  EXPECT_EQ(monday->GridDate(6), D(2026, 3, 1));
  EXPECT_EQ(monday->GridDate(0), D(2026, 2, 23));
  monday->Free();
  // Initials are whole characters, upper-cased beyond ASCII too.
  FormatSettings().ShortDayNames = {"вс", "пн", "вт", "ср", "чт", "пт", "сб"};
  FormatSettings().LongMonthNames[2] = "März";
  auto* other = Create<TQuentaCalendar>(form);
  EXPECT_EQ(other->WeekdayCaption(0), "П");
  EXPECT_EQ(other->WeekdayCaption(6), "В");
  EXPECT_EQ(other->MonthMenu()->Items()->Items(2)->Caption(), "März");
  other->Free();
}

TEST_F(CalendarTest, APickupHandlerMayFreeTheCalendar) {
  // A drop-down host closes, and frees, the calendar once a date is picked.
  for (TCalendarButton button : {cbToday, cbClear}) {
    SCOPED_TRACE(int(button));
    cal->SetShowClearButton(true);
    cal->SetDate(D(2025, 7, 4));
    const TPoint at = Centre(cal->ButtonRect(button));
    cal->OnPickup = TNotifyEvent::FromCallable([this](TObject*) { TObject::Free(cal); });
    ClickAt(at);
    cal = Create<TQuentaCalendar>(form);
    cal->SetParent(form);
    Pump();
  }
  cal->OnPickup = TNotifyEvent::FromCallable([this](TObject*) { TObject::Free(cal); });
  ClickDay(IndexOf(D(2026, 3, 20)));
  // So may a change handler, at the press of a month button.
  cal = Create<TQuentaCalendar>(form);
  cal->SetParent(form);
  Pump();
  cal->OnChange = TNotifyEvent::FromCallable([this](TObject*) { TObject::Free(cal); });
  ClickAt(Centre(cal->ButtonRect(cbNextMonth)));
  Wait(1000);
  // And one at a step of the year editor, also when held.
  for (bool held : {false, true}) {
    cal = Create<TQuentaCalendar>(form);
    cal->SetParent(form);
    Pump();
    cal->OnChange = TNotifyEvent::FromCallable([this](TObject*) { TObject::Free(cal); });
    ClickAt(Centre(cal->YearLabelRect()));
    TznYearEditor* ed = YearEditor();
    const TPoint up = ed->ClientToScreen({ed->SpinRect(0).Left + 2, ed->SpinRect(0).Top + 2});
    if (held) {
      cal->OnChange = {};
      Offscreen().MouseMove(up);
      Offscreen().MouseDown(up);
      Pump();
      cal->OnChange = TNotifyEvent::FromCallable([this](TObject*) { TObject::Free(cal); });
      for (Integer i = 0; i < 12; ++i) Wait(TznSwitcher::RepeatInterval);
      Offscreen().MouseUp(up);
      Pump();
    } else {
      ClickAt(up);
    }
    EXPECT_FALSE(YearEditorExists());
  }
}

}  // namespace brevant::test
