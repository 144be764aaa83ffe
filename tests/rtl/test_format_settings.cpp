#include "rtl/format_settings.h"

#include <gtest/gtest.h>
#include <locale.h>

#include "rtl/datetime.h"
#include "rtl/exceptions.h"

namespace brevant {
namespace {

void ExpectSameDates(const TFormatSettings& a, const TFormatSettings& b) {
  EXPECT_EQ(a.ShortDateFormat, b.ShortDateFormat);
  EXPECT_EQ(a.LongDateFormat, b.LongDateFormat);
  EXPECT_EQ(a.ShortTimeFormat, b.ShortTimeFormat);
  EXPECT_EQ(a.LongTimeFormat, b.LongTimeFormat);
  EXPECT_EQ(a.DateSeparator, b.DateSeparator);
  EXPECT_EQ(a.TimeSeparator, b.TimeSeparator);
  EXPECT_EQ(a.DecimalSeparator, b.DecimalSeparator);
  EXPECT_EQ(a.TimeAMString, b.TimeAMString);
  EXPECT_EQ(a.TimePMString, b.TimePMString);
  EXPECT_EQ(a.LongMonthNames, b.LongMonthNames);
  EXPECT_EQ(a.ShortDayNames, b.ShortDayNames);
  EXPECT_EQ(a.FirstDayOfWeek, b.FirstDayOfWeek);
  EXPECT_EQ(a.CurrencyString, b.CurrencyString);
  EXPECT_EQ(a.CurrencyDecimals, b.CurrencyDecimals);
}

TEST(FormatSettings, FixedDefaults) {
  const TFormatSettings& fs = DefaultFormatSettings();
  EXPECT_EQ(fs.CurrencyString, "$");
  EXPECT_EQ(fs.CurrencyFormat, 0);
  EXPECT_EQ(fs.NegCurrFormat, 0);
  EXPECT_EQ(fs.CurrencyDecimals, 2);
  EXPECT_EQ(fs.ThousandSeparator, ",");
  EXPECT_EQ(fs.DecimalSeparator, '.');
  EXPECT_EQ(fs.DateSeparator, '/');
  EXPECT_EQ(fs.TimeSeparator, ':');
  EXPECT_EQ(fs.ListSeparator, ',');
  EXPECT_EQ(fs.ShortDateFormat, "mm/dd/yyyy");
  EXPECT_EQ(fs.LongDateFormat, "dddd, mmmm d, yyyy");
  EXPECT_EQ(fs.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(fs.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(fs.TimeAMString, "AM");
  EXPECT_EQ(fs.TimePMString, "PM");
  EXPECT_EQ(fs.ShortMonthNames[0], "Jan");
  EXPECT_EQ(fs.LongMonthNames[11], "December");
  EXPECT_EQ(fs.ShortDayNames[0], "Sun");
  EXPECT_EQ(fs.LongDayNames[6], "Saturday");
  EXPECT_EQ(fs.FirstDayOfWeek, 6);
  EXPECT_EQ(fs.TwoDigitYearCenturyWindow, 50);

  {
    TFormatSettingsGuard guard;
    FormatSettings().DateSeparator = '-';
    FormatSettings().LongMonthNames[0] = "Januar";
  }
  ExpectSameDates(FormatSettings(), fs);
}

TEST(LocaleFormatSettings, CLocalesAndUnknownNames) {
  for (const char* name : {"C", "POSIX", "C.UTF-8"}) {
    SCOPED_TRACE(name);
    TFormatSettings fs = LocaleFormatSettings(name);
    // %m/%d/%y with the year widened; no thousands separator; no monetary data.
    ExpectSameDates(fs, DefaultFormatSettings());
    EXPECT_EQ(fs.ThousandSeparator, "");
    EXPECT_EQ(fs.ListSeparator, ',');
  }
  TFormatSettings unknown = LocaleFormatSettings("xx_NOWHERE.UTF-8");
  ExpectSameDates(unknown, DefaultFormatSettings());
  EXPECT_EQ(unknown.ThousandSeparator, ",");

  TFormatSettingsGuard guard;
  EXPECT_NO_THROW(LoadUserFormatSettings());
  EXPECT_NE(FormatSettings().DecimalSeparator, '\0');
  EXPECT_FALSE(FormatSettings().ShortDateFormat.empty());
}

TEST(LocaleFormatSettings, InstalledGermanLocale) {
  locale_t loc = newlocale(LC_ALL_MASK, "de_DE.UTF-8", static_cast<locale_t>(nullptr));
  if (loc == static_cast<locale_t>(nullptr)) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  freelocale(loc);
  TFormatSettings fs = LocaleFormatSettings("de_DE.UTF-8");
  EXPECT_EQ(fs.FirstDayOfWeek, 0);
  EXPECT_EQ(fs.DateSeparator, '.');
  EXPECT_EQ(fs.DecimalSeparator, ',');
  EXPECT_EQ(DateToStr(EncodeDate(2024, 3, 5), fs), "05.03.2024");
}

TLocaleInfo GermanInfo() {
  TLocaleInfo info;
  info.DateFormat = "%d.%m.%Y";
  info.TimeFormat = "%T";
  info.DecimalPoint = ",";
  info.ThousandsSep = ".";
  info.MonthNames = {"Januar", "Februar", "M\xc3\xa4rz", "April",   "Mai",      "Juni",
                     "Juli",   "August",  "September",   "Oktober", "November", "Dezember"};
  info.DayNames = {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"};
  info.FirstDayOfWeek = 0;
  info.CurrencySymbol = "\xe2\x82\xac";
  info.FracDigits = 2;
  info.PCsPrecedes = 0;
  info.PSepBySpace = 1;
  info.NCsPrecedes = 0;
  info.NSepBySpace = 1;
  info.NSignPosn = 1;
  return info;
}

TEST(FormatSettingsFromLocaleInfo, MondayFirstDayMonthYearLocale) {
  const TFormatSettings fs = FormatSettingsFromLocaleInfo(GermanInfo());
  EXPECT_EQ(fs.FirstDayOfWeek, 0);
  EXPECT_EQ(fs.ShortDateFormat, "dd/mm/yyyy");
  EXPECT_EQ(fs.DateSeparator, '.');
  EXPECT_EQ(fs.LongDateFormat, "dddd, d. mmmm yyyy");
  EXPECT_EQ(fs.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(fs.ShortTimeFormat, "hh:nn");
  EXPECT_EQ(fs.DecimalSeparator, ',');
  EXPECT_EQ(fs.ThousandSeparator, ".");
  EXPECT_EQ(fs.ListSeparator, ';');
  EXPECT_EQ(fs.TimeAMString, "AM");  // none given: the defaults stay
  EXPECT_EQ(fs.ShortMonthNames[2], "Mar");
  EXPECT_EQ(fs.CurrencyString, "\xe2\x82\xac");
  EXPECT_EQ(fs.CurrencyFormat, 3);  // "1 €"
  EXPECT_EQ(fs.NegCurrFormat, 8);   // "-1 €"

  const TDateTime d = EncodeDate(2024, 3, 5);
  EXPECT_EQ(DateToStr(d, fs), "05.03.2024");
  EXPECT_EQ(FormatDateTime("dddddd", d, fs), "Dienstag, 5. M\xc3\xa4rz 2024");
  EXPECT_EQ(StrToDate("5.3.2024", fs), d);
  EXPECT_EQ(StrToDateTime(DateTimeToStr(d + 0.5, fs), fs), d + 0.5);
}

TEST(FormatSettingsFromLocaleInfo, TranslatesStrftimeFormats) {
  TLocaleInfo us;
  us.DateFormat = "%m/%d/%Y";
  us.TimeFormat = "%r";
  us.AmString = "AM";
  us.PmString = "PM";
  TFormatSettings fs = FormatSettingsFromLocaleInfo(us);
  EXPECT_EQ(fs.LongTimeFormat, "hh:nn:ss ampm");
  EXPECT_EQ(fs.ShortTimeFormat, "hh:nn ampm");
  const TDateTime t = EncodeTime(14, 7, 9, 0);
  EXPECT_EQ(TimeToStr(t, fs), "02:07:09 PM");
  EXPECT_DOUBLE_EQ(StrToTime(TimeToStr(t, fs), fs), t);

  TLocaleInfo info;
  info.DateFormat = "%Y-%m-%d";
  info.TimeFormat = "%H.%M.%S";
  fs = FormatSettingsFromLocaleInfo(info);
  EXPECT_EQ(fs.ShortDateFormat, "yyyy/mm/dd");
  EXPECT_EQ(fs.DateSeparator, '-');
  EXPECT_EQ(fs.LongDateFormat, "dddd, yyyy mmmm d");
  EXPECT_EQ(fs.LongTimeFormat, "hh:nn:ss");
  EXPECT_EQ(fs.TimeSeparator, '.');

  // Multi-byte separators stay literal text; letters are quoted.
  info.DateFormat = "%Y. %m. %d.";
  info.TimeFormat = "%Hh%M";
  fs = FormatSettingsFromLocaleInfo(info);
  EXPECT_EQ(fs.DateSeparator, '/');
  EXPECT_EQ(fs.TimeSeparator, ':');
  EXPECT_EQ(DateToStr(EncodeDate(2024, 3, 5), fs), "2024. 03. 05.");
  EXPECT_EQ(fs.LongTimeFormat, "hh\"h\"nn");
  EXPECT_EQ(TimeToStr(t, fs), "14h07");

  info.DateFormat = "%-d de %B de %y %Z";
  info.TimeFormat = "%OH:%EM:%S%%\"";
  fs = FormatSettingsFromLocaleInfo(info);
  EXPECT_EQ(fs.ShortDateFormat, "d \"de\" mmmm \"de\" yyyy ");
  EXPECT_EQ(fs.LongTimeFormat, "hh:nn:ss%'\"'");
  EXPECT_EQ(fs.ShortTimeFormat, "hh:nn%'\"'");
  EXPECT_EQ(TimeToStr(t, fs), "14:07:09%\"");
}

// Every date format the C library's locales give (as their definitions
// write them), and the two that separate the parts by several bytes or words.
const char* const kLocaleDateFormats[] = {
    "%-d-%-m-%y",
    "%-d-%m-%y",
    "%-d.%-m.%Y",
    "%-d.%-m.%y",
    "%-d/%-m/%y",
    "%-m/%-d/%y",
    "%A %d %b %Y",
    "%A %e %B %Y",
    "%A, %B %d, %Y",
    "%A, %d %B, %Y",
    "%A, %d ta %b, %Y",
    "%F",
    "%OC%Oy %b %Od %A",
    "%OC%Oy\u5e74%B%Od\u65e5",
    "%Od-%Om-%Oy",
    "%Oy/%Om/%Od",
    "%Y-%m-%d",
    "%Y.%d.%m",
    "%Y.%m.%d",
    "%Y.%m.%d.",
    "%Y/%m/%d",
    "%Y\u5e74%m\u6708%d\u65e5",
    "%Y\u5e74%m\u6708%d\u65e5 %A",
    "%Y\u5e74%m\u6708%d\u865f",
    "%Y\ub144 %m\uc6d4 %d\uc77c",
    "%a %e.%b %Y",
    "%a, %Y.eko %bren %da",
    "%a\u060c %d-%m-%Y",
    "%b %d %Y",
    "%d %b, %Y",
    "%d-%m-%Y",
    "%d-%m-%y",
    "%d. %b %Y",
    "%d. %m. %Y",
    "%d. %m. %y",
    "%d.%m.%Y",
    "%d.%m.%Y.",
    "%d.%m.%y",
    "%d/%m-%Y",
    "%d/%m/%Ey",
    "%d/%m/%Y",
    "%d/%m/%y",
    "%e %B %Y",
    "%e-%m-%Y",
    "%e.%m.%Y",
    "%m/%d/%Y",
    "%m/%d/%y",
    "%y/%-m/%-d",
    "\u062f %Y \u062f %B %e",
    "\u0f54\u0f66\u0fb1\u0f72\u0f0b\u0f63\u0f7c%y\u0f5f\u0fb3%m\u0f5a\u0f7a\u0f66%d",
    "%Y. %m. %d.",
    "%-d de %B de %y %Z"};

TEST(FormatSettingsFromLocaleInfo, EveryLocaleDateFormatReadsBack) {
  const TDateTime dates[] = {EncodeDate(2024, 3, 5), EncodeDate(1999, 12, 31),
                             EncodeDate(2031, 11, 22), EncodeDate(1900, 5, 1)};
  for (const char* format : kLocaleDateFormats) {
    TLocaleInfo info;
    info.DateFormat = format;
    const TFormatSettings fs = FormatSettingsFromLocaleInfo(info);
    for (TDateTime d : dates) {
      const String text = DateToStr(d, fs);
      TDateTime back = 0;
      EXPECT_TRUE(TryStrToDate(text, back, fs) && back == d)
          << format << " wrote \"" << text << "\" as " << fs.ShortDateFormat;
      const String withTime = DateTimeToStr(d + 0.75, fs);
      EXPECT_TRUE(TryStrToDateTime(withTime, back, fs) && back == d + 0.75)
          << format << " wrote \"" << withTime << "\"";
    }
  }
}

TEST(FormatSettingsFromLocaleInfo, FormattedDatesAcceptLooseInput) {
  TLocaleInfo info;
  info.DateFormat = "%Y\u5e74%m\u6708%d\u65e5";
  TFormatSettings fs = FormatSettingsFromLocaleInfo(info);
  EXPECT_EQ(StrToDate(" 2024\u5e743\u67085\u65e5 ", fs), EncodeDate(2024, 3, 5))
      << "unpadded numbers and blanks around";
  EXPECT_THROW(StrToDate("2024\u5e743\u6708", fs), EConvertError);
  EXPECT_THROW(StrToDate("2024\u5e7413\u67085\u65e5", fs), EConvertError);
  info.DateFormat = "%Y. %m. %d.";
  fs = FormatSettingsFromLocaleInfo(info);
  EXPECT_EQ(StrToDate("2024.3.5.", fs), EncodeDate(2024, 3, 5)) << "blanks may be left out";
  EXPECT_EQ(StrToDate("2024.  03.   05.", fs), EncodeDate(2024, 3, 5));
  info.DateFormat = "%d %b, %Y";
  fs = FormatSettingsFromLocaleInfo(info);
  EXPECT_EQ(StrToDate("5 march, 2024", fs), EncodeDate(2024, 3, 5)) << "long names and any case";
  EXPECT_THROW(StrToDate("5 Mrz, 2024", fs), EConvertError);
}

TEST(FormatSettingsFromLocaleInfo, SeparatorsAndMonetaryFallbacks) {
  TLocaleInfo info;
  info.DecimalPoint = "\xd9\xab";      // Arabic decimal separator: two bytes
  info.ThousandsSep = "\xe2\x80\xaf";  // narrow no-break space, kept as text
  info.FirstDayOfWeek = 9;
  TFormatSettings fs = FormatSettingsFromLocaleInfo(info);
  EXPECT_EQ(fs.DecimalSeparator, '.');
  EXPECT_EQ(fs.ThousandSeparator, "\xe2\x80\xaf");
  EXPECT_EQ(fs.FirstDayOfWeek, 6);
  EXPECT_EQ(fs.CurrencyString, "$");  // no monetary data
  EXPECT_EQ(fs.CurrencyDecimals, 2);

  struct Case {
    Integer precedes, space, posn;
    Byte expected;
  };
  for (const Case& c : {Case{1, 0, 0, 0}, Case{1, 0, 1, 1}, Case{1, 0, 4, 2}, Case{1, 0, 2, 3},
                        Case{0, 0, 0, 4}, Case{0, 0, 3, 6}, Case{1, 1, 1, 9}, Case{0, 1, 2, 10},
                        Case{1, 1, 0, 14}, Case{0, 1, 0, 15}, Case{1, 2, 1, 1}}) {
    info.FracDigits = 0;
    info.CurrencySymbol = "kr";
    info.PCsPrecedes = c.precedes;
    info.PSepBySpace = c.space;
    info.NCsPrecedes = c.precedes;
    info.NSepBySpace = c.space;
    info.NSignPosn = c.posn;
    fs = FormatSettingsFromLocaleInfo(info);
    EXPECT_EQ(fs.NegCurrFormat, c.expected) << c.precedes << c.space << c.posn;
    EXPECT_EQ(fs.CurrencyDecimals, 0);
    EXPECT_EQ(fs.CurrencyString, "kr");
  }
}

}  // namespace
}  // namespace brevant
