// Process-wide format settings: separators, date and time formats, currency,
// month and day names, first day of the week.
#pragma once

#include <array>

#include "rtl/types.h"

namespace brevant {

struct TFormatSettings {
  String CurrencyString;
  // 0 "$1", 1 "1$", 2 "$ 1", 3 "1 $".
  Byte CurrencyFormat = 0;
  // 0 "($1)" 1 "-$1" 2 "$-1" 3 "$1-" 4 "(1$)" 5 "-1$" 6 "1-$" 7 "1$-" 8 "-1 $" 9 "-$ 1"
  // 10 "1 $-" 11 "$ 1-" 12 "$ -1" 13 "1- $" 14 "($ 1)" 15 "(1 $)".
  Byte NegCurrFormat = 0;
  Byte CurrencyDecimals = 2;
  // May be empty or several bytes (a narrow no-break space in some locales).
  String ThousandSeparator;
  char DecimalSeparator = '.';
  char DateSeparator = '/';
  char TimeSeparator = ':';
  char ListSeparator = ',';
  String ShortDateFormat;
  String LongDateFormat;
  String TimeAMString;
  String TimePMString;
  String ShortTimeFormat;
  String LongTimeFormat;
  std::array<String, 12> ShortMonthNames;
  std::array<String, 12> LongMonthNames;
  // Index 0 is Sunday, as DayOfWeek - 1.
  std::array<String, 7> ShortDayNames;
  std::array<String, 7> LongDayNames;
  // 0 = Monday ... 6 = Sunday.
  Integer FirstDayOfWeek = 6;
  // Two-digit years within this many years of the current one are placed in
  // the century that brings them closest; 0 means "the current century".
  Word TwoDigitYearCenturyWindow = 50;
};

// The fixed defaults (US English): short date mm/dd/yyyy, long time hh:nn:ss,
// short time hh:nn, separators / : . , and currency "$" before the value with
// 2 decimals; the week starts on Sunday. Tests rely on these.
const TFormatSettings& DefaultFormatSettings();

// The settings every routine uses when it is not given its own. Starts as
// DefaultFormatSettings(); applications may change it.
TFormatSettings& FormatSettings();

// Reads the user's settings from the C library's locale named by localeName
// (empty: the environment's LC_ALL / LC_* / LANG). Unknown locales give the
// defaults. Separators that are not single ASCII bytes fall back to defaults.
TFormatSettings LocaleFormatSettings(const String& localeName = String());

// Replaces FormatSettings() with the environment's locale settings.
void LoadUserFormatSettings();

// The raw locale facts LocaleFormatSettings reads from the C library, already
// in UTF-8. Empty texts and negative numbers mean "not given".
struct TLocaleInfo {
  String DateFormat;                      // strftime form, e.g. "%d.%m.%Y"
  String TimeFormat;                      // e.g. "%H:%M:%S"
  String TimeFormatAmPm = "%I:%M:%S %p";  // what %r stands for
  String DecimalPoint;
  String ThousandsSep;
  String AmString;
  String PmString;
  std::array<String, 12> MonthNames;
  std::array<String, 12> AbbrMonthNames;
  std::array<String, 7> DayNames;  // index 0 is Sunday
  std::array<String, 7> AbbrDayNames;
  Integer FirstDayOfWeek = -1;  // 0 = Monday ... 6 = Sunday
  // Monetary facts as the C library gives them; FracDigits < 0 means the
  // locale has no monetary information (the "C" locale).
  String CurrencySymbol;
  Integer FracDigits = -1;
  Integer PCsPrecedes = -1;
  Integer PSepBySpace = -1;
  Integer NCsPrecedes = -1;
  Integer NSepBySpace = -1;
  Integer NSignPosn = -1;
};

// Builds settings from locale facts: translates the strftime formats into
// this platform's format letters (a two-digit %y year becomes yyyy in the
// short date format, so dates survive a round trip through text), takes the
// first one-byte separator between fields as the date or time separator and
// falls back to the defaults for anything missing or unusable.
TFormatSettings FormatSettingsFromLocaleInfo(const TLocaleInfo& info);

// Restores the process-wide settings on scope exit.
class TFormatSettingsGuard {
 public:
  TFormatSettingsGuard() : saved_(FormatSettings()) {}
  ~TFormatSettingsGuard() { FormatSettings() = saved_; }
  TFormatSettingsGuard(const TFormatSettingsGuard&) = delete;
  TFormatSettingsGuard& operator=(const TFormatSettingsGuard&) = delete;

 private:
  TFormatSettings saved_;
};

}  // namespace brevant
