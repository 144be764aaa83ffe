// The calendar's keyboard: every row of its key table, with and without
// limits, and what passes on unchanged.
#include "calendar_test_util.h"

namespace brevant::test {

namespace {

// One keyboard row: from a start date, a key with modifiers gives a date.
struct TKeyRow {
  const char* name;  // what the row checks
  Word key;          // virtual key
  Byte modifiers;    // bmShift / bmCtrl / bmAlt
  TDateTime start;   // Date before the key
  TDateTime expect;  // Date after it
  bool consumed;     // the calendar took the key (Change fired)
};

}  // namespace

TEST_F(CalendarTest, KeyTableMovesTheDate) {
  const TDateTime s = D(2026, 3, 12);
  const TKeyRow rows[] = {
      {"PageUp previous month", VK_PRIOR, 0, D(2026, 3, 31), D(2026, 2, 28), true},
      {"PageDown next month", VK_NEXT, 0, D(2026, 1, 31), D(2026, 2, 28), true},
      {"End last day", VK_END, 0, s, D(2026, 3, 31), true},
      {"Home first day", VK_HOME, 0, s, D(2026, 3, 1), true},
      {"Left one day back", VK_LEFT, 0, D(2026, 3, 1), D(2026, 2, 28), true},
      {"Right one day forward", VK_RIGHT, 0, s, D(2026, 3, 13), true},
      {"Up seven days back", VK_UP, 0, s, D(2026, 3, 5), true},
      {"Down seven days forward", VK_DOWN, 0, D(2026, 3, 28), D(2026, 4, 4), true},
      {"other key consumed", 'A', 0, s, s, true},
      {"Ctrl PageUp year back", VK_PRIOR, bmCtrl, D(2024, 2, 29), D(2023, 2, 28), true},
      {"Ctrl PageDown year forward", VK_NEXT, bmCtrl, s, D(2027, 3, 12), true},
      {"Ctrl Shift PageDown year forward", VK_NEXT, bmCtrl | bmShift, s, D(2027, 3, 12), true},
      {"Ctrl other key passed on", VK_RIGHT, bmCtrl, s, s, false},
      {"Shift key passed on", VK_RIGHT, bmShift, s, s, false},
      {"Alt key passed on", VK_NEXT, bmAlt, s, s, false},
  };
  for (const TKeyRow& row : rows) {
    SCOPED_TRACE(row.name);
    cal->SetDate(row.start);
    events.clear();
    Key(row.key, row.modifiers);
    EXPECT_EQ(cal->Date(), row.expect);
    EXPECT_EQ(events,
              row.consumed ? std::vector<std::string>{"change"} : std::vector<std::string>{});
  }
}

TEST_F(CalendarTest, KeysAreClampedToTheLimits) {
  cal->SetMinDate(D(2026, 3, 10));
  cal->SetMaxDate(D(2026, 3, 20));
  const TKeyRow rows[] = {
      {"PageUp stops at the minimum", VK_PRIOR, 0, D(2026, 3, 12), D(2026, 3, 10), true},
      {"PageDown stops at the maximum", VK_NEXT, 0, D(2026, 3, 12), D(2026, 3, 20), true},
      {"Home stops at the minimum", VK_HOME, 0, D(2026, 3, 12), D(2026, 3, 10), true},
      {"End stops at the maximum", VK_END, 0, D(2026, 3, 12), D(2026, 3, 20), true},
      {"Left at the minimum stays", VK_LEFT, 0, D(2026, 3, 10), D(2026, 3, 10), true},
      {"Up stops at the minimum", VK_UP, 0, D(2026, 3, 14), D(2026, 3, 10), true},
      {"Down stops at the maximum", VK_DOWN, 0, D(2026, 3, 18), D(2026, 3, 20), true},
      {"Right at the maximum stays", VK_RIGHT, 0, D(2026, 3, 20), D(2026, 3, 20), true},
      {"Ctrl PageUp stops at the minimum", VK_PRIOR, bmCtrl, D(2026, 3, 12), D(2026, 3, 10), true},
  };
  for (const TKeyRow& row : rows) {
    SCOPED_TRACE(row.name);
    cal->SetDate(row.start);
    Key(row.key, row.modifiers);
    EXPECT_EQ(cal->Date(), row.expect);
    EXPECT_TRUE(cal->InRange(cal->Date()));
  }
  // The previous button is off while the minimum's month shows.
  EXPECT_FALSE(cal->ButtonEnabled(cbPrevMonth));
  EXPECT_FALSE(cal->ButtonEnabled(cbNextMonth));
}

TEST_F(CalendarTest, LimitsMoveEachOtherAndDatesStaySettable) {
  cal->SetMaxDate(D(2026, 3, 20));
  cal->SetMinDate(D(2026, 4, 1));
  EXPECT_EQ(cal->MaxDate(), D(2026, 4, 2));
  cal->SetMaxDate(D(2026, 1, 1));
  EXPECT_EQ(cal->MinDate(), D(2025, 12, 31));
  // Programmatic dates are not clamped; the time of day is dropped.
  cal->SetDate(D(2030, 1, 1) + 0.75);
  EXPECT_EQ(cal->Date(), D(2030, 1, 1));
  EXPECT_FALSE(cal->InRange(cal->Date()));
  EXPECT_EQ(cal->ClampDate(D(2030, 1, 1), false), D(2026, 1, 1));
  EXPECT_EQ(cal->ClampDate(D(2020, 1, 1), true), D(2025, 12, 31));
  cal->SetMinDate(0);
  cal->SetMaxDate(0);
  EXPECT_EQ(cal->EffectiveMinDate(), TQuentaCalendar::LowestDate);
  EXPECT_EQ(cal->EffectiveMaxDate(), TQuentaCalendar::HighestDate);
  EXPECT_TRUE(cal->InRange(D(1, 1, 1)));
  EXPECT_TRUE(cal->InRange(D(9999, 12, 31)));
}

TEST_F(CalendarTest, DateParts) {
  cal->SetDate(D(2024, 2, 29));
  EXPECT_EQ(cal->DatePart(cdpYear), 2024);
  EXPECT_EQ(cal->DatePart(cdpMonth), 2);
  EXPECT_EQ(cal->DatePart(cdpDay), 29);
  cal->SetDatePart(cdpMonth, 3);
  EXPECT_EQ(cal->Date(), D(2024, 3, 29));
  // A day the target month lacks is refused; the date is kept.
  cal->SetDatePart(cdpMonth, 2);
  EXPECT_THROW(cal->SetDatePart(cdpYear, 2023), EConvertError);
  EXPECT_THROW(cal->SetDatePart(cdpMonth, 13), EConvertError);
  EXPECT_THROW(cal->SetDatePart(cdpDay, -1), EConvertError);
  EXPECT_THROW(cal->SetDatePart(cdpYear, 65537), EConvertError);
  EXPECT_EQ(cal->Date(), D(2024, 2, 29));
}

TEST_F(CalendarTest, NullDateClearsTheSelectionUntilADateIsSet) {
  cal->SetNullDate(true);
  EXPECT_TRUE(cal->NullDate());
  cal->SetDate(cal->Date());  // the same day still ends the null state
  EXPECT_FALSE(cal->NullDate());
  cal->SetNullDate(true);
  Key(VK_RIGHT);
  EXPECT_FALSE(cal->NullDate());
  EXPECT_EQ(cal->Date(), D(2026, 3, 13));
}

}  // namespace brevant::test
