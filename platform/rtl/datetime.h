// Date-time encoding, calendar arithmetic, time stamps and text conversions.
// A TDateTime counts days since 30 December 1899; the fraction is the time of
// day. For negative values the fraction still counts forward from midnight:
// -1.25 is 29 December 1899 06:00 (the day is the integer part, the time the
// absolute value of the fraction).
#pragma once

#include "rtl/format_settings.h"
#include "rtl/types.h"

namespace brevant {

constexpr Integer DateDelta = 693594;        // days from 1 Jan 0001 to 30 Dec 1899, + 1
constexpr Integer MinDateTimeDay = -693593;  // 1 January 0001
constexpr Integer MaxDateTimeDay = 2958465;  // 31 December 9999
constexpr Integer MSecsPerDay = 86400000;
constexpr Integer SecsPerDay = 86400;

// Days and milliseconds: Date is days since 1 January 0001 plus one, Time is
// milliseconds since midnight.
struct TTimeStamp {
  Integer Time = 0;
  Integer Date = 0;
};

bool IsLeapYear(Word year);
// 0 for a month outside 1..12.
Word DaysInAMonth(Word year, Word month);

// Raise EConvertError for a day or time that does not exist.
TDateTime EncodeDate(Word year, Word month, Word day);
TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec);
bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date);
bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time);
// Raise EConvertError for a value outside 1 Jan 0001 .. 31 Dec 9999 (or NaN,
// infinite). The time is rounded to the nearest millisecond and a carry moves
// into the next day: 23:59:59.9996 decodes as 00:00:00.000 of the day after
// (at 31 Dec 9999 it stays at 23:59:59.999).
void DecodeDate(TDateTime date, Word& year, Word& month, Word& day);
void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec);
void DecodeDateTime(TDateTime dt, Word& year, Word& month, Word& day, Word& hour, Word& min,
                    Word& sec, Word& msec);
// 1 = Sunday ... 7 = Saturday.
Word DayOfWeek(TDateTime date);
// Moves by whole months, keeping the time of day; a day past the new month's
// end is clipped to its last day. Raises EConvertError when the result
// leaves 1 Jan 0001 .. 31 Dec 9999.
TDateTime IncMonth(TDateTime date, Integer months = 1);

// The integer part (the day) and the time of day of a date-time, following
// the sign convention above.
TDateTime DateOf(TDateTime dt);
TDateTime TimeOf(TDateTime dt);
// Joins the day of date and the time of day of time under that convention:
// ComposeDateTime(-1, 0.25) = -1.25 (adding them would give 30 Dec 18:00).
TDateTime ComposeDateTime(TDateTime date, TDateTime time);

// The current date, time and date-time, from the process clock. A test may
// replace the clock with SetNowFunction (nullptr restores the system clock).
TDateTime Date();
TDateTime Time();
TDateTime Now();
void SetNowFunction(TDateTime (*now)());

// Conversions raise EConvertError for values outside the calendar (a time
// stamp needs 1 <= Date <= 3652059 and 0 <= Time < MSecsPerDay).
TTimeStamp DateTimeToTimeStamp(TDateTime dt);
TDateTime TimeStampToDateTime(const TTimeStamp& ts);
double TimeStampToMSecs(const TTimeStamp& ts);
TTimeStamp MSecsToTimeStamp(double msecs);

// ---- text -----------------------------------------------------------------
// Format specifiers: c (short date + long time, the time left out at
// midnight), d dd ddd dddd ddddd (short date) dddddd (long date), m mm mmm
// mmmm (months; minutes right after an h or hh), yy yyyy, h hh, n nn, s ss,
// z zzz, t (short time), tt (long time), am/pm a/p ampm, / and : (the
// settings' separators), "..." and '...' literals. Other characters are
// copied as they stand. Letters are case-insensitive ("HH:MM"). h and hh give
// a 12-hour clock when the format holds an am/pm specifier; am/pm and a/p
// print the format's own letters, ampm the settings' strings. An empty format
// means "c". c, ddddd, dddddd, t and tt inside the settings' formats expand
// to nothing (no recursion). Raises EConvertError for a value outside the
// calendar.
String FormatDateTime(const String& format, TDateTime dt,
                      const TFormatSettings& fs = FormatSettings());
// "c" format: the time is left out at midnight.
String DateTimeToStr(TDateTime dt, const TFormatSettings& fs = FormatSettings());
String DateToStr(TDateTime dt, const TFormatSettings& fs = FormatSettings());
String TimeToStr(TDateTime dt, const TFormatSettings& fs = FormatSettings());

// Parse numbers in the order the short date format gives (month, day, year
// for the defaults) separated by the date separator (only that one; blanks
// may surround it), or exactly as the short date format writes them (its
// literal text between the parts, month and day names where it names them,
// so that every format the locale settings produce reads back); a missing
// year is the current year; a year of one or two digits follows
// TwoDigitYearCenturyWindow. Times are
// hours[:minutes[:seconds[.fraction]]] with the time separator and, before
// the fraction of a second, the decimal separator; an AM/PM string of the
// settings (any case) may come before or after. StrToDateTime takes a date,
// a date and a time separated by blanks, or a time alone. Blanks around the
// text are ignored. Raise EConvertError quoting the text.
TDateTime StrToDate(const String& s, const TFormatSettings& fs = FormatSettings());
TDateTime StrToTime(const String& s, const TFormatSettings& fs = FormatSettings());
TDateTime StrToDateTime(const String& s, const TFormatSettings& fs = FormatSettings());
bool TryStrToDate(const String& s, TDateTime& value, const TFormatSettings& fs = FormatSettings());
bool TryStrToTime(const String& s, TDateTime& value, const TFormatSettings& fs = FormatSettings());
bool TryStrToDateTime(const String& s, TDateTime& value,
                      const TFormatSettings& fs = FormatSettings());

}  // namespace brevant
