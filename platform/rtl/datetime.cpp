#include "rtl/datetime.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <ctime>

#include "rtl/exceptions.h"
#include "rtl/resstrings.h"

namespace brevant {

namespace {

constexpr Integer MaxTimeStampDate = MaxDateTimeDay + DateDelta;  // 3652059
constexpr Integer UnixEpochDay = 25569;                           // 1 Jan 1970

// Days since 30 Dec 1899 of a valid proleptic Gregorian date.
Integer DaysFromCivil(Integer y, Integer m, Integer d) {
  y -= m <= 2 ? 1 : 0;
  const Integer era = (y >= 0 ? y : y - 399) / 400;
  const Integer yoe = y - era * 400;
  const Integer doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const Integer doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + UnixEpochDay;
}

struct TCivil {
  Word Year, Month, Day;
};

// The date of a day number within the calendar's range.
TCivil CivilFromDays(Integer days) {
  const Integer z = days - UnixEpochDay + 719468;
  const Integer era = (z >= 0 ? z : z - 146096) / 146097;
  const Integer doe = z - era * 146097;
  const Integer yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const Integer doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const Integer mp = (5 * doy + 2) / 153;
  const Integer d = doy - (153 * mp + 2) / 5 + 1;
  const Integer m = mp < 10 ? mp + 3 : mp - 9;
  const Integer y = yoe + era * 400 + (m <= 2 ? 1 : 0);
  return {static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d)};
}

// Day number and milliseconds to a date-time under the sign convention.
TDateTime MakeDateTime(Integer day, Integer msecs) {
  const double t = static_cast<double>(msecs) / MSecsPerDay;
  return day < 0 ? day - t : day + t;
}

bool TryToTimeStamp(TDateTime dt, TTimeStamp& ts) {
  if (!std::isfinite(dt)) return false;
  const double day = std::trunc(dt);
  if (day < MinDateTimeDay || day > MaxDateTimeDay) return false;
  const double frac = std::fabs(dt - day);  // exact: dt and day are close
  Integer d = static_cast<Integer>(day);
  Integer ms = static_cast<Integer>(std::floor(frac * MSecsPerDay + 0.5));
  if (ms >= MSecsPerDay) {
    if (d < MaxDateTimeDay) {
      ++d;
      ms = 0;
    } else {
      ms = MSecsPerDay - 1;
    }
  }
  ts.Date = d + DateDelta;
  ts.Time = ms;
  return true;
}

bool ValidTimeStamp(const TTimeStamp& ts) {
  return ts.Date >= 1 && ts.Date <= MaxTimeStampDate && ts.Time >= 0 && ts.Time < MSecsPerDay;
}

String DoubleText(double v) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  return String(buf, r.ptr);
}

[[noreturn]] void RaiseInvalidValue(const String& text) {
  throw EConvertError(res::SInvalidDateTimeValue, {text});
}

String TimeStampText(const TTimeStamp& ts) {
  return std::to_string(ts.Date) + ", " + std::to_string(ts.Time);
}

TTimeStamp ToTimeStamp(TDateTime dt) {
  TTimeStamp ts;
  if (!TryToTimeStamp(dt, ts)) RaiseInvalidValue(DoubleText(dt));
  return ts;
}

TDateTime SystemNow() {
  std::timespec now{};
  std::timespec_get(&now, TIME_UTC);
  std::time_t secs = now.tv_sec;
  std::tm lt{};
  if (!localtime_r(&secs, &lt)) return 0;
  TDateTime date, time;
  const int year = lt.tm_year + 1900;
  if (year < 1 || year > 9999 ||
      !TryEncodeDate(static_cast<Word>(year), static_cast<Word>(lt.tm_mon + 1),
                     static_cast<Word>(lt.tm_mday), date))
    return 0;
  const int sec = lt.tm_sec > 59 ? 59 : lt.tm_sec;  // a leap second
  if (!TryEncodeTime(static_cast<Word>(lt.tm_hour), static_cast<Word>(lt.tm_min),
                     static_cast<Word>(sec), static_cast<Word>(now.tv_nsec / 1000000), time))
    time = 0;
  return ComposeDateTime(date, time);
}

std::atomic<TDateTime (*)()> g_nowFunction{nullptr};

// ---- formatting -------------------------------------------------------------

struct TDecoded {
  Word Year, Month, Day, Hour, Min, Sec, MSec, DayOfWeek;
  bool Midnight;
};

TDecoded Decode(TDateTime dt) {
  const TTimeStamp ts = ToTimeStamp(dt);
  const TCivil c = CivilFromDays(ts.Date - DateDelta);
  TDecoded v;
  v.Year = c.Year;
  v.Month = c.Month;
  v.Day = c.Day;
  v.DayOfWeek = static_cast<Word>(ts.Date % 7 + 1);
  v.Hour = static_cast<Word>(ts.Time / 3600000);
  v.Min = static_cast<Word>(ts.Time / 60000 % 60);
  v.Sec = static_cast<Word>(ts.Time / 1000 % 60);
  v.MSec = static_cast<Word>(ts.Time % 1000);
  v.Midnight = ts.Time == 0;
  return v;
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
}

// Case-insensitive test for an ASCII word at fmt[i].
bool MatchAt(const char* fmt, std::size_t n, std::size_t i, const char* word) {
  for (; *word; ++word, ++i)
    if (i >= n || Upper(fmt[i]) != Upper(*word)) return false;
  return true;
}

void AppendNumber(String& out, unsigned v, int minDigits) {
  char buf[12];
  int n = 0;
  do {
    buf[n++] = static_cast<char>('0' + v % 10);
    v /= 10;
  } while (v != 0);
  while (n < minDigits) buf[n++] = '0';
  while (n > 0) out += buf[--n];
}

class TDateFormatter {
 public:
  TDateFormatter(const TFormatSettings& fs, const TDecoded& v, String& out)
      : fs_(fs), v_(v), out_(out) {}

  // depth 0 is the caller's format; the settings' formats it names run at
  // depth 1, where c, ddddd, dddddd, t and tt give nothing.
  void Run(const String& fmt, int depth) {
    const char* p = fmt.data();
    const std::size_t n = fmt.size();
    const bool twelveHour = HasAmPm(p, n);
    bool afterHour = false;
    std::size_t i = 0;
    while (i < n) {
      const char c = p[i];
      const char u = Upper(c);
      // Run length, counted only for letters that read it (counting a run
      // of c's for each c would be quadratic).
      std::size_t count = 1;
      if (u == 'D' || u == 'M' || u == 'Y' || u == 'H' || u == 'N' || u == 'S' || u == 'Z' ||
          u == 'T')
        while (i + count < n && Upper(p[i + count]) == u) ++count;
      switch (u) {
        case '"':
        case '\'': {
          std::size_t j = i + 1;
          while (j < n && p[j] != c) ++j;
          out_.append(p + i + 1, j - i - 1);
          i = j < n ? j + 1 : n;
          continue;
        }
        case '/':
          out_ += fs_.DateSeparator;
          ++i;
          continue;
        case ':':
          out_ += fs_.TimeSeparator;
          ++i;
          continue;
        case 'C':
          if (depth == 0) {
            Run(fs_.ShortDateFormat, 1);
            if (!v_.Midnight) {
              out_ += ' ';
              Run(fs_.LongTimeFormat, 1);
            }
          }
          i += 1;
          afterHour = false;
          continue;
        case 'D':
          if (count == 1 || count == 2)
            AppendNumber(out_, v_.Day, static_cast<int>(count));
          else if (count == 3)
            out_ += fs_.ShortDayNames[v_.DayOfWeek - 1];
          else if (count == 4)
            out_ += fs_.LongDayNames[v_.DayOfWeek - 1];
          else if (depth == 0)
            Run(count == 5 ? fs_.ShortDateFormat : fs_.LongDateFormat, 1);
          break;
        case 'M':
          if (afterHour && count <= 2)
            AppendNumber(out_, v_.Min, static_cast<int>(count));
          else if (count <= 2)
            AppendNumber(out_, v_.Month, static_cast<int>(count));
          else if (count == 3)
            out_ += fs_.ShortMonthNames[v_.Month - 1];
          else
            out_ += fs_.LongMonthNames[v_.Month - 1];
          break;
        case 'Y':
          if (count <= 2)
            AppendNumber(out_, v_.Year % 100, 2);
          else
            AppendNumber(out_, v_.Year, 4);
          break;
        case 'H': {
          unsigned h = v_.Hour;
          if (twelveHour) h = h % 12 == 0 ? 12 : h % 12;
          AppendNumber(out_, h, count >= 2 ? 2 : 1);
          i += count;
          afterHour = true;
          continue;
        }
        case 'N':
          AppendNumber(out_, v_.Min, count >= 2 ? 2 : 1);
          break;
        case 'S':
          AppendNumber(out_, v_.Sec, count >= 2 ? 2 : 1);
          break;
        case 'Z':
          AppendNumber(out_, v_.MSec, count >= 2 ? 3 : 1);
          break;
        case 'T':
          if (depth == 0) Run(count == 1 ? fs_.ShortTimeFormat : fs_.LongTimeFormat, 1);
          break;
        case 'A': {
          const bool pm = v_.Hour >= 12;
          if (MatchAt(p, n, i, "am/pm")) {
            out_.append(p + (pm ? i + 3 : i), 2);
            i += 5;
          } else if (MatchAt(p, n, i, "a/p")) {
            out_ += p[pm ? i + 2 : i];
            i += 3;
          } else if (MatchAt(p, n, i, "ampm")) {
            out_ += pm ? fs_.TimePMString : fs_.TimeAMString;
            i += 4;
          } else {
            out_ += c;
            i += 1;
          }
          continue;
        }
        default:
          out_ += c;
          ++i;
          continue;
      }
      // A specifier other than h ends the "m after h means minutes" context.
      i += count;
      afterHour = false;
    }
  }

 private:
  // Whether an am/pm, a/p or ampm specifier appears outside quotes.
  static bool HasAmPm(const char* p, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      if (p[i] == '"' || p[i] == '\'') {
        const char q = p[i];
        ++i;
        while (i < n && p[i] != q) ++i;
      } else if (Upper(p[i]) == 'A' && (MatchAt(p, n, i, "am/pm") || MatchAt(p, n, i, "a/p") ||
                                        MatchAt(p, n, i, "ampm"))) {
        return true;
      }
    }
    return false;
  }

  const TFormatSettings& fs_;
  const TDecoded& v_;
  String& out_;
};

String FormatDecoded(const String& format, TDateTime dt, const TFormatSettings& fs) {
  const TDecoded v = Decode(dt);
  String out;
  out.reserve(format.size() + 24);
  TDateFormatter f(fs, v, out);
  static const String cFormat = "c";
  f.Run(format.empty() ? cFormat : format, 0);
  return out;
}

// ---- parsing ----------------------------------------------------------------

constexpr Integer NumberCap = 1000000;  // larger numbers are invalid anyway

class TScanner {
 public:
  TScanner(const String& s, const TFormatSettings& fs) : s_(s), fs_(fs) {}

  std::size_t Pos() const { return pos_; }
  void SetPos(std::size_t p) { pos_ = p; }
  bool AtEnd() const { return pos_ >= s_.size(); }

  // Skips blanks; answers whether there were any.
  bool Blanks() {
    const std::size_t start = pos_;
    while (pos_ < s_.size() && (s_[pos_] == ' ' || s_[pos_] == '\t')) ++pos_;
    return pos_ > start;
  }

  // A run of digits, capped so that huge numbers cannot overflow.
  bool Number(Integer& value, Integer& digits) {
    value = 0;
    digits = 0;
    while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
      if (value < NumberCap) value = value * 10 + (s_[pos_] - '0');
      ++digits;
      ++pos_;
    }
    return digits > 0;
  }

  // A separator with optional blanks around it; a blank separator needs at
  // least one blank. Leaves the position unchanged on failure.
  bool Separator(char sep) {
    const std::size_t start = pos_;
    const bool blanks = Blanks();
    if (sep == ' ' || sep == '\t') {
      if (blanks) return true;
    } else if (pos_ < s_.size() && s_[pos_] == sep) {
      ++pos_;
      Blanks();
      return true;
    }
    pos_ = start;
    return false;
  }

  bool Char(char c) {
    if (pos_ < s_.size() && s_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  // Matches the AM or PM string of the settings (ASCII case-insensitive),
  // preferring the longer one when both match.
  bool AmPm(bool& pm) {
    const std::size_t am = MatchLength(fs_.TimeAMString);
    const std::size_t pmLen = MatchLength(fs_.TimePMString);
    if (am == 0 && pmLen == 0) return false;
    pm = pmLen > am;
    pos_ += pm ? pmLen : am;
    return true;
  }

  // A date by the numbers and the date separator, or as the short date
  // format writes it, whichever reads further.
  bool ScanDate(TDateTime& date);
  bool ScanTime(TDateTime& time);

 private:
  bool ScanNumericDate(TDateTime& date);
  bool ScanFormattedDate(TDateTime& date);
  bool FormatLiteral(const char* text, std::size_t count, bool trailing);
  // Up to maxDigits digits (at least one).
  bool BoundedNumber(Integer& value, Integer maxDigits, Integer& digits);
  // The index of the longest name of either list matching here, or -1.
  template <std::size_t N>
  int Name(const std::array<String, N>& shortNames, const std::array<String, N>& longNames);

  std::size_t MatchLength(const String& word) const {
    if (word.empty() || s_.size() - pos_ < word.size()) return 0;
    for (std::size_t k = 0; k < word.size(); ++k)
      if (Upper(s_[pos_ + k]) != Upper(word[k])) return 0;
    return word.size();
  }

  const String& s_;
  const TFormatSettings& fs_;
  std::size_t pos_ = 0;
};

// The order of day, month and year in a date format ("dmy"), from the first
// of each letter outside quotes; letters the format lacks follow in
// month-day-year order.
void DateOrder(const String& fmt, char order[3]) {
  int n = 0;
  for (std::size_t i = 0; i < fmt.size() && n < 3; ++i) {
    char c = fmt[i];
    if (c == '"' || c == '\'') {
      std::size_t j = i + 1;
      while (j < fmt.size() && fmt[j] != c) ++j;
      i = j;
      continue;
    }
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    if ((c == 'd' || c == 'm' || c == 'y') && (n < 1 || order[0] != c) && (n < 2 || order[1] != c))
      order[n++] = c;
  }
  for (char k : {'m', 'd', 'y'})
    if (n < 3 && (n < 1 || order[0] != k) && (n < 2 || order[1] != k)) order[n++] = k;
}

Word CurrentYear() {
  TTimeStamp ts;
  if (!TryToTimeStamp(Date(), ts)) return 2000;
  return CivilFromDays(ts.Date - DateDelta).Year;
}

// Places a year of one or two digits by the century window.
Integer ExpandYear(Integer y, const TFormatSettings& fs) {
  const Integer current = CurrentYear();
  if (fs.TwoDigitYearCenturyWindow == 0) return current / 100 * 100 + y;
  const Integer base = current - fs.TwoDigitYearCenturyWindow;
  Integer result = y + (base >= 0 ? base : 0) / 100 * 100;
  if (result < base) result += 100;
  return result;
}

bool TScanner::ScanDate(TDateTime& date) {
  const std::size_t start = pos_;
  TDateTime numeric = 0, formatted = 0;
  const bool byNumbers = ScanNumericDate(numeric);
  const std::size_t numbersEnd = pos_;
  pos_ = start;
  if (ScanFormattedDate(formatted) && (!byNumbers || pos_ > numbersEnd)) {
    date = formatted;
    return true;
  }
  pos_ = byNumbers ? numbersEnd : start;
  if (byNumbers) date = numeric;
  return byNumbers;
}

bool TScanner::BoundedNumber(Integer& value, Integer maxDigits, Integer& digits) {
  value = 0;
  digits = 0;
  while (digits < maxDigits && pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
    value = value * 10 + (s_[pos_] - '0');
    ++digits;
    ++pos_;
  }
  return digits > 0;
}

template <std::size_t N>
int TScanner::Name(const std::array<String, N>& shortNames,
                   const std::array<String, N>& longNames) {
  int best = -1;
  std::size_t bestLen = 0;
  for (std::size_t k = 0; k < N; ++k) {
    for (const String* name : {&shortNames[k], &longNames[k]}) {
      const std::size_t len = MatchLength(*name);
      if (len > bestLen) {
        best = static_cast<int>(k);
        bestLen = len;
      }
    }
  }
  pos_ += bestLen;
  return best;
}

// Literal text of the format: blanks match any run of blanks (none at the
// end of the format, where the caller's blank handling takes over), other
// characters themselves, ASCII letters in either case.
bool TScanner::FormatLiteral(const char* text, std::size_t count, bool trailing) {
  for (std::size_t k = 0; k < count; ++k) {
    const char c = text[k];
    if (c == ' ' || c == '\t') {
      if (!trailing) Blanks();
      continue;
    }
    if (pos_ >= s_.size() || Upper(s_[pos_]) != Upper(c)) return false;
    ++pos_;
  }
  return true;
}

// Reads the date the way the short date format writes it: the literal text
// between the parts, month and day names where the format names them.
bool TScanner::ScanFormattedDate(TDateTime& date) {
  const String& fmt = fs_.ShortDateFormat;
  const std::size_t n = fmt.size();
  // Where the format's trailing blanks start.
  std::size_t tail = n;
  while (tail > 0 && (fmt[tail - 1] == ' ' || fmt[tail - 1] == '\t')) --tail;
  Integer y = -1, m = 0, d = 0, yDigits = 0, digits = 0;
  Blanks();
  std::size_t i = 0;
  while (i < n) {
    const char c = fmt[i];
    const char u = Upper(c);
    std::size_t count = 1;
    if (u == 'D' || u == 'M' || u == 'Y')
      while (i + count < n && Upper(fmt[i + count]) == u) ++count;
    switch (u) {
      case '"':
      case '\'': {
        std::size_t j = i + 1;
        while (j < n && fmt[j] != c) ++j;
        if (!FormatLiteral(fmt.data() + i + 1, j - i - 1, j >= tail)) return false;
        i = j < n ? j + 1 : n;
        continue;
      }
      case '/':
        // Ending the format, it takes no blanks after it.
        if (i + 1 < tail ? !Separator(fs_.DateSeparator)
                         : !FormatLiteral(&fs_.DateSeparator, 1, true))
          return false;
        break;
      case 'D':
        if (count > 4) return false;
        if (count <= 2 ? !BoundedNumber(d, 2, digits)
                       : Name(fs_.ShortDayNames, fs_.LongDayNames) < 0)
          return false;
        break;
      case 'M':
        if (count <= 2) {
          if (!BoundedNumber(m, 2, digits)) return false;
        } else {
          m = Name(fs_.ShortMonthNames, fs_.LongMonthNames) + 1;
          if (m == 0) return false;
        }
        break;
      case 'Y':
        if (!BoundedNumber(y, 4, yDigits)) return false;
        break;
      case 'H':
      case 'N':
      case 'S':
      case 'Z':
      case 'T':
      case 'C':
        return false;  // a time has no place in a date
      default:
        if (!FormatLiteral(&c, 1, i >= tail)) return false;
        break;
    }
    i += count;
  }
  if (d == 0) return false;
  if (y < 0)
    y = CurrentYear();
  else if (yDigits <= 2)
    y = ExpandYear(y, fs_);
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d > 31) return false;
  return TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), date);
}

bool TScanner::ScanNumericDate(TDateTime& date) {
  Integer n[3] = {0, 0, 0};
  Integer digits[3] = {0, 0, 0};
  Blanks();
  if (!Number(n[0], digits[0])) return false;
  if (!Separator(fs_.DateSeparator) || !Number(n[1], digits[1])) return false;
  int count = 2;
  const std::size_t afterSecond = pos_;
  if (Separator(fs_.DateSeparator)) {
    if (Number(n[2], digits[2]))
      count = 3;
    else
      pos_ = afterSecond;
  }
  char order[3];
  DateOrder(fs_.ShortDateFormat, order);
  Integer y = -1, m = 0, d = 0, yDigits = 0;
  int k = 0;
  for (char part : order) {
    if (count == 2 && part == 'y') continue;
    if (part == 'y') {
      y = n[k];
      yDigits = digits[k];
    } else if (part == 'm') {
      m = n[k];
    } else {
      d = n[k];
    }
    ++k;
  }
  if (y < 0)
    y = CurrentYear();
  else if (yDigits <= 2)
    y = ExpandYear(y, fs_);
  if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > 31) return false;
  return TryEncodeDate(static_cast<Word>(y), static_cast<Word>(m), static_cast<Word>(d), date);
}

bool TScanner::ScanTime(TDateTime& time) {
  Blanks();
  bool pm = false;
  bool hasAmPm = AmPm(pm);
  if (hasAmPm) Blanks();
  Integer h = 0, m = 0, s = 0, ms = 0, digits = 0;
  if (!Number(h, digits)) return false;
  if (Separator(fs_.TimeSeparator)) {
    if (!Number(m, digits)) return false;
    if (Separator(fs_.TimeSeparator)) {
      if (!Number(s, digits)) return false;
      if (Char(fs_.DecimalSeparator)) {
        // A fraction of a second: its first three digits are milliseconds.
        int place = 100;
        Integer frac = 0;
        while (pos_ < s_.size() && s_[pos_] >= '0' && s_[pos_] <= '9') {
          frac += (s_[pos_] - '0') * place;
          place /= 10;
          ++digits;
          ++pos_;
        }
        if (place == 100) return false;
        ms = frac;
      }
    }
  }
  if (!hasAmPm) {
    const std::size_t save = pos_;
    Blanks();
    hasAmPm = AmPm(pm);
    if (!hasAmPm) pos_ = save;
  }
  if (hasAmPm) {
    if (h > 12) return false;
    if (pm && h < 12) h += 12;
    if (!pm && h == 12) h = 0;
  }
  if (h > 23 || m > 59 || s > 59) return false;
  return TryEncodeTime(static_cast<Word>(h), static_cast<Word>(m), static_cast<Word>(s),
                       static_cast<Word>(ms), time);
}

}  // namespace

// ---- calendar ---------------------------------------------------------------

bool IsLeapYear(Word year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

Word DaysInAMonth(Word year, Word month) {
  static constexpr Word kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool TryEncodeDate(Word year, Word month, Word day, TDateTime& date) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInAMonth(year, month))
    return false;
  date = DaysFromCivil(year, month, day);
  return true;
}

bool TryEncodeTime(Word hour, Word min, Word sec, Word msec, TDateTime& time) {
  if (hour >= 24 || min >= 60 || sec >= 60 || msec >= 1000) return false;
  const Integer ms = ((hour * 60 + min) * 60 + sec) * 1000 + msec;
  time = static_cast<double>(ms) / MSecsPerDay;
  return true;
}

TDateTime EncodeDate(Word year, Word month, Word day) {
  TDateTime d;
  if (!TryEncodeDate(year, month, day, d)) throw EConvertError(res::SDateEncodeError);
  return d;
}

TDateTime EncodeTime(Word hour, Word min, Word sec, Word msec) {
  TDateTime t;
  if (!TryEncodeTime(hour, min, sec, msec, t)) throw EConvertError(res::STimeEncodeError);
  return t;
}

void DecodeDate(TDateTime date, Word& year, Word& month, Word& day) {
  const TCivil c = CivilFromDays(ToTimeStamp(date).Date - DateDelta);
  year = c.Year;
  month = c.Month;
  day = c.Day;
}

void DecodeTime(TDateTime time, Word& hour, Word& min, Word& sec, Word& msec) {
  const Integer ms = ToTimeStamp(time).Time;
  hour = static_cast<Word>(ms / 3600000);
  min = static_cast<Word>(ms / 60000 % 60);
  sec = static_cast<Word>(ms / 1000 % 60);
  msec = static_cast<Word>(ms % 1000);
}

void DecodeDateTime(TDateTime dt, Word& year, Word& month, Word& day, Word& hour, Word& min,
                    Word& sec, Word& msec) {
  const TDecoded v = Decode(dt);
  year = v.Year;
  month = v.Month;
  day = v.Day;
  hour = v.Hour;
  min = v.Min;
  sec = v.Sec;
  msec = v.MSec;
}

Word DayOfWeek(TDateTime date) {
  // Time stamp day 1 (1 Jan 0001) was a Monday.
  return static_cast<Word>(ToTimeStamp(date).Date % 7 + 1);
}

TDateTime IncMonth(TDateTime date, Integer months) {
  const TTimeStamp ts = ToTimeStamp(date);
  const TCivil c = CivilFromDays(ts.Date - DateDelta);
  const Int64 total = static_cast<Int64>(c.Year) * 12 + (c.Month - 1) + months;
  if (total < 12 || total >= 10000 * 12) throw EConvertError(res::SDateEncodeError);
  const Word year = static_cast<Word>(total / 12);
  const Word month = static_cast<Word>(total % 12 + 1);
  const Word dim = DaysInAMonth(year, month);
  const Word day = c.Day > dim ? dim : c.Day;
  return MakeDateTime(DaysFromCivil(year, month, day), ts.Time);
}

// Adding 0.0 turns the -0 of values in (-1, 0) into 0.
TDateTime DateOf(TDateTime dt) {
  return std::trunc(dt) + 0.0;
}

TDateTime TimeOf(TDateTime dt) {
  return std::fabs(dt - std::trunc(dt));
}

TDateTime ComposeDateTime(TDateTime date, TDateTime time) {
  const double day = std::trunc(date) + 0.0;
  const double t = std::fabs(time - std::trunc(time));
  return day < 0 ? day - t : day + t;
}

// ---- clock ------------------------------------------------------------------

TDateTime Now() {
  TDateTime (*f)() = g_nowFunction.load(std::memory_order_acquire);
  return f ? f() : SystemNow();
}

// Both go through the time stamp, so that the day and the time agree and the
// time is exactly what EncodeTime gives for the clock's millisecond.
TDateTime Date() {
  const TDateTime now = Now();
  TTimeStamp ts;
  return TryToTimeStamp(now, ts) ? ts.Date - DateDelta : DateOf(now);
}

TDateTime Time() {
  const TDateTime now = Now();
  TTimeStamp ts;
  return TryToTimeStamp(now, ts) ? static_cast<double>(ts.Time) / MSecsPerDay : TimeOf(now);
}

void SetNowFunction(TDateTime (*now)()) {
  g_nowFunction.store(now, std::memory_order_release);
}

// ---- time stamps ------------------------------------------------------------

TTimeStamp DateTimeToTimeStamp(TDateTime dt) {
  return ToTimeStamp(dt);
}

TDateTime TimeStampToDateTime(const TTimeStamp& ts) {
  if (!ValidTimeStamp(ts)) RaiseInvalidValue(TimeStampText(ts));
  return MakeDateTime(ts.Date - DateDelta, ts.Time);
}

double TimeStampToMSecs(const TTimeStamp& ts) {
  if (!ValidTimeStamp(ts)) RaiseInvalidValue(TimeStampText(ts));
  return static_cast<double>(ts.Date) * MSecsPerDay + ts.Time;
}

TTimeStamp MSecsToTimeStamp(double msecs) {
  if (!std::isfinite(msecs)) RaiseInvalidValue(DoubleText(msecs));
  const double ms = std::floor(msecs + 0.5);
  const double day = std::floor(ms / MSecsPerDay);
  if (day < 1 || day > MaxTimeStampDate) RaiseInvalidValue(DoubleText(msecs));
  TTimeStamp ts;
  ts.Date = static_cast<Integer>(day);
  ts.Time = static_cast<Integer>(ms - day * MSecsPerDay);
  if (ts.Time >= MSecsPerDay) {  // a quotient rounded up at a day's end
    ts.Time -= MSecsPerDay;
    ++ts.Date;
  } else if (ts.Time < 0) {
    ts.Time += MSecsPerDay;
    --ts.Date;
  }
  if (!ValidTimeStamp(ts)) RaiseInvalidValue(DoubleText(msecs));
  return ts;
}

// ---- text -------------------------------------------------------------------

String FormatDateTime(const String& format, TDateTime dt, const TFormatSettings& fs) {
  return FormatDecoded(format, dt, fs);
}

String DateTimeToStr(TDateTime dt, const TFormatSettings& fs) {
  static const String format = "c";
  return FormatDecoded(format, dt, fs);
}

String DateToStr(TDateTime dt, const TFormatSettings& fs) {
  static const String format = "ddddd";
  return FormatDecoded(format, dt, fs);
}

String TimeToStr(TDateTime dt, const TFormatSettings& fs) {
  static const String format = "tt";
  return FormatDecoded(format, dt, fs);
}

namespace {

// Scans the whole text with one of the scanner's readers; only blanks may
// follow. value is set on success only.
bool ScanWhole(const String& s, TDateTime& value, const TFormatSettings& fs,
               bool (TScanner::*scan)(TDateTime&)) {
  TScanner sc(s, fs);
  TDateTime v;
  if (!(sc.*scan)(v)) return false;
  sc.Blanks();
  if (!sc.AtEnd()) return false;
  value = v;
  return true;
}

}  // namespace

bool TryStrToDate(const String& s, TDateTime& value, const TFormatSettings& fs) {
  return ScanWhole(s, value, fs, &TScanner::ScanDate);
}

bool TryStrToTime(const String& s, TDateTime& value, const TFormatSettings& fs) {
  return ScanWhole(s, value, fs, &TScanner::ScanTime);
}

bool TryStrToDateTime(const String& s, TDateTime& value, const TFormatSettings& fs) {
  TScanner sc(s, fs);
  TDateTime d, t;
  if (sc.ScanDate(d)) {
    const bool blank = sc.Blanks();
    if (sc.AtEnd()) {
      value = d;
      return true;
    }
    if (blank && sc.ScanTime(t)) {
      sc.Blanks();
      if (sc.AtEnd()) {
        value = ComposeDateTime(d, t);
        return true;
      }
    }
    return false;
  }
  return TryStrToTime(s, value, fs);
}

TDateTime StrToDate(const String& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDate(s, v, fs)) throw EConvertError(res::SInvalidDate, {s});
  return v;
}

TDateTime StrToTime(const String& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToTime(s, v, fs)) throw EConvertError(res::SInvalidTime, {s});
  return v;
}

TDateTime StrToDateTime(const String& s, const TFormatSettings& fs) {
  TDateTime v;
  if (!TryStrToDateTime(s, v, fs)) throw EConvertError(res::SInvalidDateTime, {s});
  return v;
}

}  // namespace brevant
