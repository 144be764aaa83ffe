#include "rtl/format_settings.h"

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>

#include <climits>
#include <cstring>
#include <memory>
#include <optional>
#include <type_traits>
#include <vector>

#include "rtl/datetime.h"

namespace brevant {

namespace {

TFormatSettings MakeDefaults() {
  TFormatSettings fs;
  fs.CurrencyString = "$";
  fs.CurrencyFormat = 0;
  fs.NegCurrFormat = 0;
  fs.CurrencyDecimals = 2;
  fs.ThousandSeparator = ",";
  fs.DecimalSeparator = '.';
  fs.DateSeparator = '/';
  fs.TimeSeparator = ':';
  fs.ListSeparator = ',';
  fs.ShortDateFormat = "mm/dd/yyyy";
  fs.LongDateFormat = "dddd, mmmm d, yyyy";
  fs.TimeAMString = "AM";
  fs.TimePMString = "PM";
  fs.ShortTimeFormat = "hh:nn";
  fs.LongTimeFormat = "hh:nn:ss";
  fs.ShortMonthNames = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  fs.LongMonthNames = {"January", "February", "March",     "April",   "May",      "June",
                       "July",    "August",   "September", "October", "November", "December"};
  fs.ShortDayNames = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  fs.LongDayNames = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
  fs.FirstDayOfWeek = 6;
  fs.TwoDigitYearCenturyWindow = 50;
  return fs;
}

// ---- strftime translation ---------------------------------------------------

struct TToken {
  bool Field = false;
  String Text;    // the platform specifier of a field, the raw text of a literal
  char Kind = 0;  // 'd', 'm', 'y', 'h', 'n', 's', 'p', 'w' (weekday) for fields
};

class TStrftimeTokenizer {
 public:
  TStrftimeTokenizer(const String& ampmFormat, bool widenYear)
      : ampm_(ampmFormat), widenYear_(widenYear) {}

  std::vector<TToken> Run(const String& fmt) {
    tokens_.clear();
    Scan(fmt, 0);
    return std::move(tokens_);
  }

 private:
  void Literal(char c) {
    if (tokens_.empty() || tokens_.back().Field) tokens_.push_back(TToken{});
    tokens_.back().Text += c;
  }
  void Field(char kind, const char* text) { tokens_.push_back(TToken{true, text, kind}); }

  void Scan(const String& fmt, int depth) {
    std::size_t i = 0;
    const std::size_t n = fmt.size();
    while (i < n) {
      char c = fmt[i++];
      if (c != '%') {
        Literal(c);
        continue;
      }
      // Flags, a width and the E/O modifiers change only padding or the
      // numeral system; '-' asks for no padding.
      bool noPad = false;
      while (i < n &&
             (fmt[i] == '-' || fmt[i] == '_' || fmt[i] == '0' || fmt[i] == '^' || fmt[i] == '#')) {
        if (fmt[i] == '-' || fmt[i] == '_') noPad = true;
        ++i;
      }
      while (i < n && fmt[i] >= '0' && fmt[i] <= '9') ++i;
      while (i < n && (fmt[i] == 'E' || fmt[i] == 'O')) ++i;
      if (i >= n) break;
      c = fmt[i++];
      switch (c) {
        case 'd':
          Field('d', noPad ? "d" : "dd");
          break;
        case 'e':
          Field('d', "d");
          break;
        case 'm':
          Field('m', noPad ? "m" : "mm");
          break;
        case 'b':
        case 'h':
          Field('m', "mmm");
          break;
        case 'B':
          Field('m', "mmmm");
          break;
        case 'y':
          Field('y', widenYear_ ? "yyyy" : "yy");
          break;
        case 'Y':
        case 'G':
          Field('y', "yyyy");
          break;
        case 'a':
          Field('w', "ddd");
          break;
        case 'A':
          Field('w', "dddd");
          break;
        case 'H':
        case 'I':
          Field('h', noPad ? "h" : "hh");
          break;
        case 'k':
        case 'l':
          Field('h', "h");
          break;
        case 'M':
          Field('n', noPad ? "n" : "nn");
          break;
        case 'S':
          Field('s', noPad ? "s" : "ss");
          break;
        case 'p':
        case 'P':
          Field('p', "ampm");
          break;
        case 'n':
        case 't':
          Literal(' ');
          break;
        case '%':
          Literal('%');
          break;
        default:
          // Composite conversions expand once; a locale that nests them
          // deeper gets nothing for the inner ones.
          if (depth > 0) break;
          if (c == 'T')
            Scan("%H:%M:%S", depth + 1);
          else if (c == 'R')
            Scan("%H:%M", depth + 1);
          else if (c == 'r')
            Scan(ampm_, depth + 1);
          else if (c == 'D')
            Scan("%m/%d/%y", depth + 1);
          else if (c == 'F')
            Scan("%Y-%m-%d", depth + 1);
          // Anything else (time zone, day of year, week number) has no
          // counterpart and is left out.
          break;
      }
    }
  }

  String ampm_;
  bool widenYear_;
  std::vector<TToken> tokens_;
};

bool IsAsciiLetter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool IsAsciiDigit(char c) {
  return c >= '0' && c <= '9';
}

// The separator: the first literal between two fields, when it is one ASCII
// byte that is neither a letter, a digit nor a quote. '\0' otherwise.
char FindSeparator(const std::vector<TToken>& tokens) {
  for (std::size_t i = 1; i + 1 < tokens.size(); ++i) {
    const TToken& t = tokens[i];
    if (t.Field || !tokens[i - 1].Field || !tokens[i + 1].Field) continue;
    if (t.Text.size() != 1) return '\0';
    char c = t.Text[0];
    if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7f ||
        IsAsciiLetter(c) || IsAsciiDigit(c) || c == '"' || c == '\'')
      return '\0';
    return c;
  }
  return '\0';
}

// Characters a format would read as specifiers go in quotes.
bool NeedsQuote(char c) {
  return IsAsciiLetter(c) || c == '/' || c == ':' || c == '"' || c == '\'';
}

void AppendLiteral(String& out, const String& text, char sep, char sepSpecifier) {
  std::size_t i = 0;
  while (i < text.size()) {
    char c = text[i];
    if (sep != '\0' && c == sep) {
      out += sepSpecifier;
      ++i;
    } else if (c == '"') {
      out += "'\"'";
      ++i;
    } else if (NeedsQuote(c)) {
      out += '"';
      while (i < text.size() && NeedsQuote(text[i]) && text[i] != '"' &&
             !(sep != '\0' && text[i] == sep))
        out += text[i++];
      out += '"';
    } else {
      out += c;
      ++i;
    }
  }
}

String EmitFormat(const std::vector<TToken>& tokens, char sep, char sepSpecifier) {
  String out;
  for (const TToken& t : tokens) {
    if (t.Field)
      out += t.Text;
    else
      AppendLiteral(out, t.Text, sep, sepSpecifier);
  }
  return out;
}

// Leaves out the seconds and the literal that joins them to the previous
// field ("%H:%M:%S %p" gives "hh:nn ampm").
std::vector<TToken> WithoutSeconds(std::vector<TToken> tokens) {
  for (;;) {
    std::size_t i = 0;
    while (i < tokens.size() && !(tokens[i].Field && tokens[i].Kind == 's')) ++i;
    if (i == tokens.size()) return tokens;
    std::size_t first = i, last = i + 1;
    if (i >= 2 && !tokens[i - 1].Field && tokens[i - 2].Field)
      first = i - 1;
    else if (i + 1 < tokens.size() && !tokens[i + 1].Field)
      last = i + 2;
    tokens.erase(tokens.begin() + static_cast<std::ptrdiff_t>(first),
                 tokens.begin() + static_cast<std::ptrdiff_t>(last));
  }
}

// The order of day, month and year fields as three letters ("dmy"); the
// letters the format lacks follow in month-day-year order.
String DateOrder(const std::vector<TToken>& tokens) {
  String order;
  for (const TToken& t : tokens)
    if (t.Field && (t.Kind == 'd' || t.Kind == 'm' || t.Kind == 'y') &&
        order.find(t.Kind) == String::npos)
      order += t.Kind;
  for (char k : {'m', 'd', 'y'})
    if (order.find(k) == String::npos) order += k;
  return order;
}

bool ValidSeparatorByte(const String& s) {
  return s.size() == 1 && static_cast<unsigned char>(s[0]) >= 0x20 &&
         static_cast<unsigned char>(s[0]) < 0x7f && !IsAsciiDigit(s[0]);
}

Byte PositiveCurrencyFormat(Integer precedes, Integer sepBySpace) {
  bool space = sepBySpace == 1;
  if (precedes) return space ? 2 : 0;
  return space ? 3 : 1;
}

// Maps the C library's negative monetary layout onto the sixteen formats;
// layouts without an exact counterpart take the nearest one.
Byte NegativeCurrencyFormat(Integer precedes, Integer sepBySpace, Integer signPosn) {
  static constexpr Byte kTable[2][2][5] = {
      // symbol after the value: no space, then with a space
      {{4, 5, 7, 6, 7}, {15, 8, 10, 13, 10}},
      // symbol before the value
      {{0, 1, 3, 1, 2}, {14, 9, 11, 9, 12}},
  };
  int p = precedes ? 1 : 0;
  int s = sepBySpace == 1 ? 1 : 0;
  int n = signPosn >= 0 && signPosn <= 4 ? signPosn : 1;
  return kTable[p][s][n];
}

// ---- reading the C library's locale -----------------------------------------

bool ValidUtf8(const String& s) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t len;
    unsigned cp;
    if (c < 0x80) {
      ++i;
      continue;
    } else if (c >= 0xc2 && c <= 0xdf) {
      len = 2;
      cp = c & 0x1f;
    } else if (c >= 0xe0 && c <= 0xef) {
      len = 3;
      cp = c & 0x0f;
    } else if (c >= 0xf0 && c <= 0xf4) {
      len = 4;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (n - i < len) return false;
    for (std::size_t k = 1; k < len; ++k) {
      unsigned char cc = static_cast<unsigned char>(s[i + k]);
      if ((cc & 0xc0) != 0x80) return false;
      cp = (cp << 6) | (cc & 0x3f);
    }
    if ((len == 3 && (cp < 0x800 || (cp >= 0xd800 && cp <= 0xdfff))) ||
        (len == 4 && (cp < 0x10000 || cp > 0x10ffff)))
      return false;
    i += len;
  }
  return true;
}

bool IsUtf8Codeset(const char* cs) {
  if (!cs) return false;
  String norm;
  for (const char* p = cs; *p; ++p)
    if (*p != '-' && *p != '_') norm += static_cast<char>(*p >= 'A' && *p <= 'Z' ? *p + 32 : *p);
  return norm == "utf8";
}

// The text in UTF-8, or nothing when it cannot be converted.
std::optional<String> ToUtf8(const char* text, const char* codeset) {
  if (!text) return std::nullopt;
  String in(text);
  bool ascii = true;
  for (char c : in)
    if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
  if (ascii) return in;
  if (IsUtf8Codeset(codeset)) {
    if (ValidUtf8(in)) return in;
    return std::nullopt;
  }
  if (!codeset || !*codeset) return std::nullopt;
  iconv_t cd = iconv_open("UTF-8", codeset);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  String out(in.size() * 4 + 4, '\0');
  char* src = in.data();
  std::size_t srcLeft = in.size();
  char* dst = out.data();
  std::size_t dstLeft = out.size();
  std::size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1) || srcLeft != 0) return std::nullopt;
  out.resize(out.size() - dstLeft);
  if (!ValidUtf8(out)) return std::nullopt;
  return out;
}

String LocaleText(locale_t loc, nl_item item, nl_item codesetItem) {
  std::optional<String> s = ToUtf8(nl_langinfo_l(item, loc), nl_langinfo_l(codesetItem, loc));
  return s ? *s : String();
}

Integer LocaleNumber(locale_t loc, nl_item item) {
  const char* p = nl_langinfo_l(item, loc);
  if (!p) return -1;
  int v = static_cast<signed char>(*p);
  return v < 0 || v == CHAR_MAX ? -1 : v;
}

// The first day of the week from glibc's week definition: the weekday of the
// reference date plus first_weekday - 1.
Integer LocaleFirstDayOfWeek(locale_t loc) {
#if defined(__GLIBC__)
  const char* dayPtr = nl_langinfo_l(_NL_TIME_WEEK_1STDAY, loc);
  unsigned int refDate = 0;
  std::memcpy(&refDate, &dayPtr, sizeof refDate);  // the item is a number, not a string
  const char* fw = nl_langinfo_l(_NL_TIME_FIRST_WEEKDAY, loc);
  int first = fw ? static_cast<unsigned char>(*fw) : 0;
  if (first < 1 || first > 7) return -1;
  TDateTime ref;
  if (!TryEncodeDate(static_cast<Word>(refDate / 10000 % 10000),
                     static_cast<Word>(refDate / 100 % 100), static_cast<Word>(refDate % 100), ref))
    return -1;
  int sundayBased = (DayOfWeek(ref) - 1 + first - 1) % 7;  // 0 = Sunday
  return (sundayBased + 6) % 7;                            // 0 = Monday
#else
  (void)loc;
  return -1;
#endif
}

TLocaleInfo ReadLocaleInfo(locale_t loc) {
  TLocaleInfo info;
  const nl_item timeCs = _NL_TIME_CODESET;
  info.DateFormat = LocaleText(loc, D_FMT, timeCs);
  info.TimeFormat = LocaleText(loc, T_FMT, timeCs);
  String ampm = LocaleText(loc, T_FMT_AMPM, timeCs);
  if (!ampm.empty()) info.TimeFormatAmPm = ampm;
  info.AmString = LocaleText(loc, AM_STR, timeCs);
  info.PmString = LocaleText(loc, PM_STR, timeCs);
  for (int i = 0; i < 12; ++i) {
#ifdef ALTMON_1
    // The form used when a month is named by itself (calendar captions).
    info.MonthNames[i] = LocaleText(loc, static_cast<nl_item>(ALTMON_1 + i), timeCs);
    if (info.MonthNames[i].empty())
#endif
      info.MonthNames[i] = LocaleText(loc, static_cast<nl_item>(MON_1 + i), timeCs);
    info.AbbrMonthNames[i] = LocaleText(loc, static_cast<nl_item>(ABMON_1 + i), timeCs);
  }
  for (int i = 0; i < 7; ++i) {
    info.DayNames[i] = LocaleText(loc, static_cast<nl_item>(DAY_1 + i), timeCs);
    info.AbbrDayNames[i] = LocaleText(loc, static_cast<nl_item>(ABDAY_1 + i), timeCs);
  }
  info.FirstDayOfWeek = LocaleFirstDayOfWeek(loc);
  info.DecimalPoint = LocaleText(loc, RADIXCHAR, _NL_NUMERIC_CODESET);
  info.ThousandsSep = LocaleText(loc, THOUSEP, _NL_NUMERIC_CODESET);
  info.CurrencySymbol = LocaleText(loc, CURRENCY_SYMBOL, _NL_MONETARY_CODESET);
  info.FracDigits = LocaleNumber(loc, FRAC_DIGITS);
  info.PCsPrecedes = LocaleNumber(loc, P_CS_PRECEDES);
  info.PSepBySpace = LocaleNumber(loc, P_SEP_BY_SPACE);
  info.NCsPrecedes = LocaleNumber(loc, N_CS_PRECEDES);
  info.NSepBySpace = LocaleNumber(loc, N_SEP_BY_SPACE);
  info.NSignPosn = LocaleNumber(loc, N_SIGN_POSN);
  return info;
}

}  // namespace

const TFormatSettings& DefaultFormatSettings() {
  static const TFormatSettings defaults = MakeDefaults();
  return defaults;
}

TFormatSettings& FormatSettings() {
  static TFormatSettings settings = DefaultFormatSettings();
  return settings;
}

TFormatSettings FormatSettingsFromLocaleInfo(const TLocaleInfo& info) {
  TFormatSettings fs = DefaultFormatSettings();

  if (ValidSeparatorByte(info.DecimalPoint)) fs.DecimalSeparator = info.DecimalPoint[0];
  fs.ThousandSeparator = info.ThousandsSep;
  fs.ListSeparator = fs.DecimalSeparator == ',' ? ';' : ',';

  if (!info.DateFormat.empty()) {
    std::vector<TToken> tokens = TStrftimeTokenizer(info.TimeFormatAmPm, true).Run(info.DateFormat);
    char sep = FindSeparator(tokens);
    if (sep != '\0') fs.DateSeparator = sep;
    String shortDate = EmitFormat(tokens, sep, '/');
    if (!shortDate.empty()) fs.ShortDateFormat = shortDate;
    String order = DateOrder(tokens);
    if (order.compare(0, 2, "dm") == 0)
      fs.LongDateFormat = sep == '.' ? "dddd, d. mmmm yyyy" : "dddd, d mmmm yyyy";
    else if (order[0] == 'y')
      fs.LongDateFormat = "dddd, yyyy mmmm d";
    else
      fs.LongDateFormat = "dddd, mmmm d, yyyy";
  }

  if (!info.TimeFormat.empty()) {
    std::vector<TToken> tokens =
        TStrftimeTokenizer(info.TimeFormatAmPm, false).Run(info.TimeFormat);
    char sep = FindSeparator(tokens);
    if (sep != '\0') fs.TimeSeparator = sep;
    String longTime = EmitFormat(tokens, sep, ':');
    String shortTime = EmitFormat(WithoutSeconds(tokens), sep, ':');
    if (!longTime.empty()) fs.LongTimeFormat = longTime;
    if (!shortTime.empty()) fs.ShortTimeFormat = shortTime;
  }

  // The C locale has no AM/PM strings in some libraries; keep the defaults then.
  if (!info.AmString.empty() || !info.PmString.empty()) {
    fs.TimeAMString = info.AmString;
    fs.TimePMString = info.PmString;
  }
  for (std::size_t i = 0; i < 12; ++i) {
    if (!info.MonthNames[i].empty()) fs.LongMonthNames[i] = info.MonthNames[i];
    if (!info.AbbrMonthNames[i].empty()) fs.ShortMonthNames[i] = info.AbbrMonthNames[i];
  }
  for (std::size_t i = 0; i < 7; ++i) {
    if (!info.DayNames[i].empty()) fs.LongDayNames[i] = info.DayNames[i];
    if (!info.AbbrDayNames[i].empty()) fs.ShortDayNames[i] = info.AbbrDayNames[i];
  }
  if (info.FirstDayOfWeek >= 0 && info.FirstDayOfWeek <= 6) fs.FirstDayOfWeek = info.FirstDayOfWeek;

  // Without monetary information the currency defaults stay.
  if (info.FracDigits >= 0) {
    fs.CurrencyString = info.CurrencySymbol;
    fs.CurrencyDecimals = static_cast<Byte>(info.FracDigits > 18 ? 18 : info.FracDigits);
    if (info.PCsPrecedes >= 0)
      fs.CurrencyFormat = PositiveCurrencyFormat(info.PCsPrecedes, info.PSepBySpace);
    if (info.NCsPrecedes >= 0)
      fs.NegCurrFormat = NegativeCurrencyFormat(info.NCsPrecedes, info.NSepBySpace, info.NSignPosn);
  }
  return fs;
}

TFormatSettings LocaleFormatSettings(const String& localeName) {
  std::unique_ptr<std::remove_pointer_t<locale_t>, decltype(&freelocale)> loc(
      newlocale(LC_ALL_MASK, localeName.c_str(), static_cast<locale_t>(nullptr)), &freelocale);
  if (!loc) return DefaultFormatSettings();
  return FormatSettingsFromLocaleInfo(ReadLocaleInfo(loc.get()));
}

void LoadUserFormatSettings() {
  FormatSettings() = LocaleFormatSettings(String());
}

}  // namespace brevant
