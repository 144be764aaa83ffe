#include "rtl/datetime.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "rtl/exceptions.h"

namespace brevant {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

TDateTime Fixed2025() {
  return EncodeDate(2025, 6, 15) + EncodeTime(10, 0, 0, 0);
}

// Pins the clock for the duration of a test.
struct TFixedClock {
  TFixedClock() { SetNowFunction(&Fixed2025); }
  ~TFixedClock() { SetNowFunction(nullptr); }
};

TDateTime At(Word y, Word mo, Word d, Word h = 0, Word mi = 0, Word s = 0, Word ms = 0) {
  return ComposeDateTime(EncodeDate(y, mo, d), EncodeTime(h, mi, s, ms));
}

TEST(DateTimeCalendar, LeapYearsAndMonthLengths) {
  EXPECT_FALSE(IsLeapYear(1900));
  EXPECT_TRUE(IsLeapYear(2000));
  EXPECT_TRUE(IsLeapYear(2024));
  EXPECT_FALSE(IsLeapYear(2023));
  EXPECT_EQ(DaysInAMonth(1900, 2), 28);
  EXPECT_EQ(DaysInAMonth(2000, 2), 29);
  EXPECT_EQ(DaysInAMonth(2024, 4), 30);
  EXPECT_EQ(DaysInAMonth(2024, 12), 31);
  EXPECT_EQ(DaysInAMonth(2024, 0), 0);
  EXPECT_EQ(DaysInAMonth(2024, 13), 0);
}

TEST(DateTimeCalendar, EveryYearBoundaryRoundTrips) {
  for (Word y = 2; y <= 9999; ++y) {
    const TDateTime first = EncodeDate(y, 1, 1);
    ASSERT_EQ(first, EncodeDate(y - 1, 12, 31) + 1) << y;
    ASSERT_EQ(EncodeDate(y, 3, 1) - first, IsLeapYear(y) ? 60 : 59) << y;
    Word yy, m, d;
    DecodeDate(first - 1, yy, m, d);
    ASSERT_EQ(yy * 10000 + m * 100 + d, (y - 1) * 10000 + 1231) << y;
  }
}

TEST(DateTimeEncode, DaysAndRejectedDates) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(1970, 1, 1), 25569);
  EXPECT_EQ(EncodeDate(2024, 3, 5), 45356);
  EXPECT_EQ(EncodeDate(1, 1, 1), MinDateTimeDay);
  EXPECT_EQ(EncodeDate(9999, 12, 31), MaxDateTimeDay);
  EXPECT_EQ(EncodeDate(2000, 2, 29), EncodeDate(2000, 3, 1) - 1);
  EXPECT_THROW(EncodeDate(1900, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(0, 1, 1), EConvertError);
  EXPECT_THROW(EncodeDate(10000, 1, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 4, 31), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 1, 0), EConvertError);
  TDateTime d = 7;
  EXPECT_FALSE(TryEncodeDate(2024, 0, 1, d));
  EXPECT_EQ(d, 7);

  EXPECT_DOUBLE_EQ(EncodeTime(12, 0, 0, 0), 0.5);
  EXPECT_DOUBLE_EQ(EncodeTime(6, 0, 0, 0), 0.25);
  EXPECT_DOUBLE_EQ(EncodeTime(23, 59, 59, 999), 86399999.0 / 86400000.0);
  EXPECT_THROW(EncodeTime(24, 0, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 60, 0, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 60, 0), EConvertError);
  EXPECT_THROW(EncodeTime(0, 0, 0, 1000), EConvertError);
}

TEST(DateTimeDecode, NegativeValuesRoundingAndRange) {
  Word y, m, d, h, n, s, ms;
  DecodeDateTime(-1.25, y, m, d, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991229);
  EXPECT_EQ(h, 6);
  DecodeDateTime(-0.5, y, m, d, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 18991230);
  EXPECT_EQ(h, 12);
  DecodeDate(MinDateTimeDay, y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 10101);
  DecodeDate(EncodeDate(2000, 2, 29), y, m, d);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20000229);

  // Rounding to the millisecond carries into the next day ...
  DecodeDateTime(EncodeDate(2024, 2, 28) + 86399999.6 / 86400000.0, y, m, d, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 20240229);
  EXPECT_EQ(h + n + s + ms, 0);
  DecodeTime(86399999.4 / 86400000.0, h, n, s, ms);
  EXPECT_EQ(h * 10000000 + n * 100000 + s * 1000 + ms, 235959999);
  // ... except on the calendar's last day.
  DecodeDateTime(MaxDateTimeDay + 0.999999997, y, m, d, h, n, s, ms);
  EXPECT_EQ(y * 10000 + m * 100 + d, 99991231);
  EXPECT_EQ(ms, 999);

  for (double bad : {MinDateTimeDay - 1.0, MaxDateTimeDay + 1.0, kNaN, kInf, -kInf, 1e300}) {
    EXPECT_THROW(DecodeDate(bad, y, m, d), EConvertError) << bad;
    EXPECT_THROW(DecodeTime(bad, h, n, s, ms), EConvertError) << bad;
  }
}

TEST(DateTimeCalendar, DayOfWeek) {
  EXPECT_EQ(DayOfWeek(0), 7);  // 30 Dec 1899 was a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 5)), 3);
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 10) + 0.99), 1);
  EXPECT_EQ(DayOfWeek(MinDateTimeDay), 2);
  EXPECT_EQ(DayOfWeek(-1.25), 6);
  EXPECT_THROW(DayOfWeek(kNaN), EConvertError);
}

TEST(DateTimeCalendar, IncMonthClipsAndKeepsTime) {
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 31)), EncodeDate(2024, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2023, 1, 31)), EncodeDate(2023, 2, 28));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 3, 31), -1), EncodeDate(2024, 2, 29));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 1, 15), -13), EncodeDate(2022, 12, 15));
  EXPECT_EQ(IncMonth(EncodeDate(2024, 12, 15), 1), EncodeDate(2025, 1, 15));
  EXPECT_EQ(IncMonth(At(2024, 1, 31, 14, 7, 9)), At(2024, 2, 29, 14, 7, 9));
  // 29 Dec 1899 06:00 and 29 Jan 1900 06:00.
  EXPECT_EQ(IncMonth(-1.25), At(1900, 1, 29, 6));
  EXPECT_EQ(IncMonth(At(1900, 1, 29, 6), -1), -1.25);
  EXPECT_EQ(IncMonth(EncodeDate(9999, 11, 30)), EncodeDate(9999, 12, 30));
  EXPECT_THROW(IncMonth(EncodeDate(9999, 12, 1)), EConvertError);
  EXPECT_THROW(IncMonth(EncodeDate(1, 1, 31), -1), EConvertError);
  EXPECT_THROW(IncMonth(0, std::numeric_limits<Integer>::max()), EConvertError);
  EXPECT_THROW(IncMonth(0, std::numeric_limits<Integer>::min()), EConvertError);
}

TEST(DateTimeParts, DateOfTimeOfCompose) {
  EXPECT_EQ(DateOf(-1.25), -1);
  EXPECT_EQ(TimeOf(-1.25), 0.25);
  EXPECT_FALSE(std::signbit(DateOf(-0.5)));
  EXPECT_EQ(TimeOf(-0.5), 0.5);
  EXPECT_EQ(ComposeDateTime(-1, 0.25), -1.25);
  EXPECT_EQ(ComposeDateTime(5.9, 1.25), 5.25);
  EXPECT_EQ(ComposeDateTime(-1, 0), -1);
}

TEST(DateTimeClock, ReplaceableNow) {
  {
    TFixedClock clock;
    EXPECT_EQ(Now(), Fixed2025());
    EXPECT_EQ(Date(), EncodeDate(2025, 6, 15));
    EXPECT_DOUBLE_EQ(Time(), EncodeTime(10, 0, 0, 0));
  }
  const TDateTime now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_LT(now, EncodeDate(2200, 1, 1));
  EXPECT_EQ(Date(), std::trunc(Now()));
}

TEST(DateTimeTimeStamp, ConversionsAndRange) {
  TTimeStamp ts = DateTimeToTimeStamp(0);
  EXPECT_EQ(ts.Date, DateDelta);
  EXPECT_EQ(ts.Time, 0);
  ts = DateTimeToTimeStamp(-1.25);
  EXPECT_EQ(ts.Date, DateDelta - 1);
  EXPECT_EQ(ts.Time, 6 * 3600000);
  EXPECT_EQ(TimeStampToDateTime(ts), -1.25);
  EXPECT_EQ(DateTimeToTimeStamp(MinDateTimeDay).Date, 1);
  const TDateTime dt = At(2024, 3, 5, 14, 7, 9, 123);
  EXPECT_EQ(TimeStampToDateTime(DateTimeToTimeStamp(dt)), dt);
  EXPECT_EQ(TimeStampToMSecs(TTimeStamp{5, 1}), 86400005.0);
  const TTimeStamp back = MSecsToTimeStamp(TimeStampToMSecs(DateTimeToTimeStamp(dt)));
  EXPECT_EQ(TimeStampToDateTime(back), dt);
  EXPECT_EQ(MSecsToTimeStamp(86400000.0 * 2 - 0.4).Time, 0);  // rounds up into day 2
  EXPECT_EQ(MSecsToTimeStamp(86400000.0 * 2 - 0.4).Date, 2);

  EXPECT_THROW(TimeStampToDateTime(TTimeStamp{0, 0}), EConvertError);
  EXPECT_THROW(TimeStampToDateTime(TTimeStamp{MSecsPerDay, 1}), EConvertError);
  EXPECT_THROW(TimeStampToDateTime(TTimeStamp{-1, 1}), EConvertError);
  EXPECT_THROW(TimeStampToMSecs(TTimeStamp{0, 3652060}), EConvertError);
  for (double bad : {0.0, 1e300, -1e300, kNaN, kInf, 86400000.0 * 3652060})
    EXPECT_THROW(MSecsToTimeStamp(bad), EConvertError) << bad;
  EXPECT_THROW(DateTimeToTimeStamp(kNaN), EConvertError);
}

TEST(FormatDateTime, Specifiers) {
  const TFormatSettings& fs = DefaultFormatSettings();
  const TDateTime d = EncodeDate(2024, 3, 5);
  const TDateTime dt = At(2024, 3, 5, 14, 7, 9, 45);
  EXPECT_EQ(FormatDateTime("mmm dd, yyyy", d, fs), "Mar 05, 2024");
  EXPECT_EQ(FormatDateTime("hh:mm", dt, fs), "14:07");
  EXPECT_EQ(FormatDateTime("HH:MM:SS", dt, fs), "14:07:09");
  EXPECT_EQ(FormatDateTime("hh 'h' mm", dt, fs), "14 h 07");  // minutes after h and a literal
  EXPECT_EQ(FormatDateTime("mm/dd hh", dt, fs), "03/05 14");
  EXPECT_EQ(FormatDateTime("d-m-yy", d, fs), "5-3-24");
  EXPECT_EQ(FormatDateTime("ddd dddd mmmm", d, fs), "Tue Tuesday March");
  EXPECT_EQ(FormatDateTime("ddddd", d, fs), "03/05/2024");
  EXPECT_EQ(FormatDateTime("dddddd", d, fs), "Tuesday, March 5, 2024");
  EXPECT_EQ(FormatDateTime("h:n:s.z|zzz", At(2024, 3, 5, 4, 3, 2, 5), fs), "4:3:2.5|005");
  EXPECT_EQ(FormatDateTime("yyyy", EncodeDate(5, 1, 1), fs), "0005");
  EXPECT_EQ(FormatDateTime("t|tt", dt, fs), "14:07|14:07:09");
  EXPECT_EQ(FormatDateTime("\"hh\" 'mm' \"unterminated", dt, fs), "hh mm unterminated");
  EXPECT_EQ(FormatDateTime("yyyy-mm-dd hh:nn", -1.25, fs), "1899-12-29 06:00");
  EXPECT_EQ(FormatDateTime("", dt, fs), "03/05/2024 14:07:09");
  EXPECT_EQ(FormatDateTime("x\xc3\xa9!", dt, fs), "x\xc3\xa9!");
  EXPECT_THROW(FormatDateTime("yyyy", kNaN, fs), EConvertError);
}

TEST(FormatDateTime, TwelveHourClock) {
  const TFormatSettings& fs = DefaultFormatSettings();
  EXPECT_EQ(FormatDateTime("h:nn am/pm", At(2024, 1, 1, 0, 30), fs), "12:30 am");
  EXPECT_EQ(FormatDateTime("h:nn AM/PM", At(2024, 1, 1, 12, 0), fs), "12:00 PM");
  EXPECT_EQ(FormatDateTime("hh:mm a/p", At(2024, 1, 1, 13, 5), fs), "01:05 p");
  EXPECT_EQ(FormatDateTime("h ampm", At(2024, 1, 1, 11), fs), "11 AM");
  EXPECT_EQ(FormatDateTime("hh 'am/pm'", At(2024, 1, 1, 13), fs), "13 am/pm");
  EXPECT_EQ(FormatDateTime("a", 0, fs), "a");
}

TEST(FormatDateTime, SettingsSeparatorsAndPathologicalFormats) {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DateSeparator = '.';
  fs.TimeSeparator = '-';
  fs.ShortDateFormat = "dd/mm/yyyy";
  const TDateTime dt = At(2024, 3, 5, 14, 7, 9);
  EXPECT_EQ(FormatDateTime("c", dt, fs), "05.03.2024 14-07-09");
  EXPECT_EQ(DateTimeToStr(dt, fs), "05.03.2024 14-07-09");

  // Settings formats that name other settings formats do not recurse.
  fs.ShortDateFormat = "c ddddd dddddd tt|dd";
  fs.LongTimeFormat = "c|tt|ss";
  EXPECT_EQ(FormatDateTime("c", dt, fs), "   |05 ||09");
  String many(20000, 'c');
  EXPECT_EQ(FormatDateTime(many, dt, fs).size(), 20000u * 11);
}

TEST(FormatDateTime, DateTimeToStrAndFriends) {
  const TFormatSettings& fs = DefaultFormatSettings();
  EXPECT_EQ(DateTimeToStr(EncodeDate(2024, 3, 5), fs), "03/05/2024");
  EXPECT_EQ(DateTimeToStr(At(2024, 3, 5, 14, 7, 9), fs), "03/05/2024 14:07:09");
  EXPECT_EQ(DateTimeToStr(At(2024, 3, 5, 0, 0, 0, 1), fs), "03/05/2024 00:00:00");
  EXPECT_EQ(DateTimeToStr(0, fs), "12/30/1899");
  EXPECT_EQ(DateTimeToStr(MaxDateTimeDay, fs), "12/31/9999");
  EXPECT_EQ(DateToStr(At(2024, 3, 5, 14, 7), fs), "03/05/2024");
  EXPECT_EQ(TimeToStr(At(2024, 3, 5, 14, 7), fs), "14:07:00");
  TFormatSettingsGuard guard;
  FormatSettings().DateSeparator = '-';
  EXPECT_EQ(DateToStr(EncodeDate(2024, 3, 5)), "03-05-2024");
}

TEST(StrToDate, OrderYearsAndErrors) {
  TFixedClock clock;
  TFormatSettings fs = DefaultFormatSettings();
  EXPECT_EQ(StrToDate("03/05/2024", fs), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("  3 / 5 / 2024 ", fs), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("3/5", fs), EncodeDate(2025, 3, 5));
  EXPECT_EQ(StrToDate("2/29/2000", fs), EncodeDate(2000, 2, 29));
  // Two-digit years land within 50 years of 2025: 1975 .. 2074.
  EXPECT_EQ(StrToDate("3/5/24", fs), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("3/5/74", fs), EncodeDate(2074, 3, 5));
  EXPECT_EQ(StrToDate("3/5/75", fs), EncodeDate(1975, 3, 5));
  EXPECT_EQ(StrToDate("3/5/0024", fs), EncodeDate(24, 3, 5));
  fs.TwoDigitYearCenturyWindow = 0;
  EXPECT_EQ(StrToDate("3/5/99", fs), EncodeDate(2099, 3, 5));

  TFormatSettings dmy = DefaultFormatSettings();
  dmy.ShortDateFormat = "dd/mm/yyyy";
  dmy.DateSeparator = '.';
  EXPECT_EQ(StrToDate("05.03.2024", dmy), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("5.3", dmy), EncodeDate(2025, 3, 5));
  TFormatSettings ymd = DefaultFormatSettings();
  ymd.ShortDateFormat = "'dm' yyyy/mm/dd";
  ymd.DateSeparator = '-';
  EXPECT_EQ(StrToDate("2024-03-05", ymd), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDate("03-05", ymd), EncodeDate(2025, 3, 5));

  for (const char* bad :
       {"", "   ", "13/45/2020", "2/29/2023", "2/30/2024", "3-5-2024", "3/5/2024x", "3/5/", "/3/5",
        "3", "3/5/0000", "99999999999999999999/1/2024", "3/5/99999999999999", "3/5/2024 14:00",
        "-3/5/2024"})
    EXPECT_THROW(StrToDate(bad, fs), EConvertError) << bad;
  try {
    StrToDate("13/45/2020", fs);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_NE(e.Message().find("'13/45/2020'"), String::npos) << e.Message();
  }
  TDateTime v = 3;
  EXPECT_FALSE(TryStrToDate("x", v, fs));
  EXPECT_EQ(v, 3);
}

TEST(StrToTime, ClockFormsAndErrors) {
  const TFormatSettings& fs = DefaultFormatSettings();
  EXPECT_DOUBLE_EQ(StrToTime("14:07", fs), EncodeTime(14, 7, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime(" 14:07:09 ", fs), EncodeTime(14, 7, 9, 0));
  EXPECT_DOUBLE_EQ(StrToTime("14:07:09.5", fs), EncodeTime(14, 7, 9, 500));
  EXPECT_DOUBLE_EQ(StrToTime("14:07:09.0459", fs), EncodeTime(14, 7, 9, 45));
  EXPECT_DOUBLE_EQ(StrToTime("14", fs), EncodeTime(14, 0, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("2:07 PM", fs), EncodeTime(14, 7, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("12:00 am", fs), 0);
  EXPECT_DOUBLE_EQ(StrToTime("12:00 PM", fs), 0.5);
  EXPECT_DOUBLE_EQ(StrToTime("pm 3:00", fs), EncodeTime(15, 0, 0, 0));
  EXPECT_DOUBLE_EQ(StrToTime("11:59:59pm", fs), EncodeTime(23, 59, 59, 0));
  TFormatSettings dots = fs;
  dots.TimeSeparator = '.';
  dots.DecimalSeparator = ',';
  EXPECT_DOUBLE_EQ(StrToTime("14.07.09,25", dots), EncodeTime(14, 7, 9, 250));

  for (const char* bad :
       {"", "25:00", "24:00", "13:00 PM", "12:60", "12:00:60", "14:", ":30", "14:07:09.",
        "14:07 PM PM", "PM", "AM 1 PM", "14h", "1:2:3:4", "99999999999999999999:00"})
    EXPECT_THROW(StrToTime(bad, fs), EConvertError) << bad;
}

TEST(StrToDateTime, CombinedFormsAndRoundTrips) {
  TFixedClock clock;
  const TFormatSettings& fs = DefaultFormatSettings();
  EXPECT_EQ(StrToDateTime("03/05/2024 14:07:09", fs), At(2024, 3, 5, 14, 7, 9));
  EXPECT_EQ(StrToDateTime("03/05/2024", fs), EncodeDate(2024, 3, 5));
  EXPECT_EQ(StrToDateTime("3/5 2:07 pm", fs), At(2025, 3, 5, 14, 7));
  EXPECT_DOUBLE_EQ(StrToDateTime("14:07", fs), EncodeTime(14, 7, 0, 0));
  EXPECT_EQ(StrToDateTime("12/29/1899 06:00", fs), -1.25);
  for (const char* bad : {"", "03/05/2024x", "03/05/2024 25:00", "03/05/202414:07",
                          "13/45/2020 10:00", "03/05/2024 14:07 junk"})
    EXPECT_THROW(StrToDateTime(bad, fs), EConvertError) << bad;

  for (TDateTime v : {At(2024, 3, 5, 14, 7, 9), -1.25, TDateTime(MinDateTimeDay),
                      At(9999, 12, 31, 23, 59, 59), At(2000, 2, 29, 12), 0.0})
    EXPECT_EQ(StrToDateTime(DateTimeToStr(v, fs), fs), v) << DateTimeToStr(v, fs);
}

}  // namespace
}  // namespace brevant
