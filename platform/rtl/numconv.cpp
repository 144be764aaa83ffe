// Integer, float and currency conversions.
//
// Floats are turned into decimal digits by the C library (or std::to_chars
// for values that are exact doubles), which gives correctly rounded digits.
// Those round exact halves to even; the formats here round them away from
// zero, so an exact half is detected from the binary representation and the
// digits are then rounded by hand. Nothing depends on the C locale: the
// printed radix character is skipped, and text is parsed through an explicit
// "C" locale object.
#include "rtl/numconv.h"

#include <locale.h>
#include <stdlib.h>

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "rtl/exceptions.h"
#include "rtl/resstrings.h"

namespace brevant {
namespace {

using u128 = unsigned __int128;

bool IsBlank(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// ---- exact decimal digits ---------------------------------------------------

constexpr int kDecCapacity = 64;

// A non-negative decimal number: digit t (0-based) stands at the power of ten
// exp - t. No leading zeros, no trailing zeros; zero has n == 0 and exp == 0.
struct Dec {
  char d[kDecCapacity];
  int n = 0;
  int exp = 0;
  bool overflow = false;  // more digits than fit: the caller must not use it
};

void Normalize(Dec& x) {
  while (x.n > 0 && x.d[x.n - 1] == '0') --x.n;
  if (x.n == 0) x.exp = 0;
}

// Drops the digits below 10^j, rounding halves away from zero. The digits
// must be exact (the value's full expansion) for the result to be exact.
void RoundAt(Dec& x, Int64 j) {
  if (x.n == 0) return;
  Int64 keep = static_cast<Int64>(x.exp) - j + 1;
  if (keep >= x.n) return;
  if (keep < 0) {
    x.n = 0;
    x.exp = 0;
    return;
  }
  bool up = x.d[keep] >= '5';
  x.n = static_cast<int>(keep);
  if (up) {
    int i = x.n - 1;
    while (i >= 0 && x.d[i] == '9') --i;
    if (i >= 0) {
      ++x.d[i];
      x.n = i + 1;
    } else {
      x.d[0] = '1';
      x.n = 1;
      ++x.exp;
    }
  }
  Normalize(x);
}

Dec DecFromU64(UInt64 v, int scale) {
  Dec x;
  char tmp[24];
  int len = 0;
  while (v != 0) {
    tmp[len++] = static_cast<char>('0' + v % 10);
    v /= 10;
  }
  for (int i = 0; i < len; ++i) x.d[i] = tmp[len - 1 - i];
  x.n = len;
  x.exp = len - 1 - scale;
  Normalize(x);
  return x;
}

// Digits of "d.ddde+XX" (or any radix character) as printed.
Dec ParseScientific(std::string_view s) {
  Dec x;
  std::size_t e = s.rfind('e');
  if (e == std::string_view::npos) e = s.size();
  for (std::size_t i = 0; i < e; ++i) {
    char c = s[i];
    if (c < '0' || c > '9') continue;
    if (x.n == 0 && c == '0') continue;
    if (x.n == kDecCapacity) {
      x.overflow = true;
      break;
    }
    x.d[x.n++] = c;
  }
  int ex = 0;
  bool neg = false;
  for (std::size_t i = e + 1; i < s.size(); ++i) {
    char c = s[i];
    if (c == '-') neg = true;
    if (c >= '0' && c <= '9' && ex < 100000) ex = ex * 10 + (c - '0');
  }
  x.exp = neg ? -ex : ex;
  Normalize(x);
  return x;
}

// Digits of "ddd.ddd" printed with `frac` digits after the radix character.
Dec ParseFixed(std::string_view s, int frac) {
  Dec x;
  Int64 total = 0;
  for (char c : s)
    if (c >= '0' && c <= '9') ++total;
  Int64 intDigits = total - frac;
  Int64 seen = 0;
  Int64 leading = 0;
  for (char c : s) {
    if (c < '0' || c > '9') continue;
    ++seen;
    if (x.n == 0 && c == '0') {
      ++leading;
      continue;
    }
    if (x.n == kDecCapacity) {
      x.overflow = true;
      break;
    }
    x.d[x.n++] = c;
  }
  x.exp = static_cast<int>(intDigits - 1 - leading);
  Normalize(x);
  return x;
}

// Prints v with printf-style "%.*Le" / "%.*Lf" (or std::to_chars when v is an
// exact double) and parses the digits.
Dec PrintDigits(long double v, bool scientific, int prec) {
  char small[160];
  std::string big;
  std::string_view text;
  bool isDouble = v <= DBL_MAX && static_cast<long double>(static_cast<double>(v)) == v;
  if (isDouble) {
    auto fmt = scientific ? std::chars_format::scientific : std::chars_format::fixed;
    auto r = std::to_chars(small, small + sizeof small, static_cast<double>(v), fmt, prec);
    if (r.ec == std::errc()) {
      text = std::string_view(small, static_cast<std::size_t>(r.ptr - small));
    } else {
      big.resize(static_cast<std::size_t>(prec) + 400);
      r = std::to_chars(big.data(), big.data() + big.size(), static_cast<double>(v), fmt, prec);
      text = std::string_view(big.data(), static_cast<std::size_t>(r.ptr - big.data()));
    }
  } else {
    const char* fmt = scientific ? "%.*Le" : "%.*Lf";
    int len = std::snprintf(small, sizeof small, fmt, prec, v);
    if (len < 0) len = 0;
    if (static_cast<std::size_t>(len) < sizeof small) {
      text = std::string_view(small, static_cast<std::size_t>(len));
    } else {
      big.resize(static_cast<std::size_t>(len) + 1);
      std::snprintf(big.data(), big.size(), fmt, prec, v);
      text = std::string_view(big.data(), static_cast<std::size_t>(len));
    }
  }
  return scientific ? ParseScientific(text) : ParseFixed(text, prec);
}

// True when ax (finite, > 0) lies exactly halfway between two multiples of
// 10^j. With ax = m * 2^q and m odd, 2 * ax / 10^j is an odd integer only when
// q == j - 1 and, for j > 0, 5^j divides m.
bool TieAt(long double ax, Int64 j) {
  int e = 0;
  long double fr = std::frexp(ax, &e);
  u128 m = static_cast<u128>(std::ldexp(fr, LDBL_MANT_DIG));
  Int64 q = static_cast<Int64>(e) - LDBL_MANT_DIG;
  if (m == 0) return false;
  UInt64 low = static_cast<UInt64>(m);
  if (low == 0) {
    m >>= 64;
    q += 64;
    low = static_cast<UInt64>(m);
  }
  int tz = __builtin_ctzll(low);
  m >>= tz;
  q += tz;
  if (q != j - 1) return false;
  if (j <= 0) return true;
  if (j > 55) return false;
  u128 p = 1;
  for (Int64 i = 0; i < j; ++i) p *= 5;
  return m % p == 0;
}

// The decimal digits of a magnitude, rounded on request. Either a finite,
// non-negative float or an exact decimal (currency, integral floats).
class DecimalSource {
 public:
  explicit DecimalSource(long double ax) : ax_(ax) {
    if (ax < 18446744073709551616.0L && ax == std::trunc(ax)) {
      exact_ = true;
      dec_ = DecFromU64(static_cast<UInt64>(ax), 0);
    }
  }
  explicit DecimalSource(const Dec& exact) : exact_(true), dec_(exact) {}

  bool IsZero() const { return exact_ ? dec_.n == 0 : ax_ == 0; }

  // Rounded to sig significant digits.
  Dec Sci(int sig) const {
    if (exact_) {
      Dec x = dec_;
      RoundAt(x, static_cast<Int64>(x.exp) - sig + 1);
      return x;
    }
    if (ax_ == 0) return Dec();
    Dec x = PrintDigits(ax_, true, sig - 1);
    Int64 j = static_cast<Int64>(x.exp) - (sig - 1);
    if (TieAt(ax_, j)) {
      x = PrintDigits(ax_, true, sig);
      RoundAt(x, j);
    }
    return x;
  }

  // Rounded to f decimals, or to sigCap significant digits when that is coarser.
  Dec Fix(Int64 f, int sigCap) const {
    if (exact_) {
      Dec x = dec_;
      if (x.n > 0) RoundAt(x, std::max(-f, static_cast<Int64>(x.exp) - sigCap + 1));
      return x;
    }
    if (ax_ == 0) return Dec();
    int e2 = 0;
    std::frexp(ax_, &e2);
    // A lower bound of the decimal exponent of the leading digit.
    Int64 eLow = static_cast<Int64>(std::floor((e2 - 1) * 0.30102999566398119521)) - 1;
    if (eLow + f + 1 > sigCap) return Sci(sigCap);
    int fi = static_cast<int>(f);
    Dec x = PrintDigits(ax_, false, fi);
    if (x.overflow || (x.n > 0 && static_cast<Int64>(x.exp) + f + 1 > sigCap)) return Sci(sigCap);
    if (TieAt(ax_, -f)) {
      x = PrintDigits(ax_, false, fi + 1);
      RoundAt(x, -f);
    }
    return x;
  }

 private:
  long double ax_ = 0;
  bool exact_ = false;
  Dec dec_;
};

// ---- layout -----------------------------------------------------------------

char DigitAt(const Dec& x, Int64 sexp, Int64 p) {
  Int64 t = sexp - p;
  return t >= 0 && t < x.n ? x.d[t] : '0';
}

// The integer part, "0" when there is none.
void AppendInt(String& out, const Dec& x, const String* sep) {
  if (x.n == 0 || x.exp < 0) {
    out += '0';
    return;
  }
  for (int p = x.exp; p >= 0; --p) {
    out += DigitAt(x, x.exp, p);
    if (sep && p > 0 && p % 3 == 0) out += *sep;
  }
}

void AppendFrac(String& out, const Dec& x, int count) {
  for (int k = 1; k <= count; ++k) out += DigitAt(x, x.exp, -k);
}

// The digits of x without exponent: the integer part, then the fraction
// after the decimal separator when there is one.
void AppendPlain(String& out, const Dec& x, const TFormatSettings& fs) {
  AppendInt(out, x, nullptr);
  int frac = x.n - 1 - x.exp;
  if (frac > 0) {
    out += fs.DecimalSeparator;
    AppendFrac(out, x, frac);
  }
}

void AppendExponent(String& out, int e, int minDigits) {
  char tmp[16];
  int len = 0;
  unsigned u = static_cast<unsigned>(e);
  do {
    tmp[len++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  for (int i = len; i < minDigits; ++i) out += '0';
  while (len > 0) out += tmp[--len];
}

String GeneralText(const DecimalSource& src, bool neg, int precision, int expDigits,
                   const TFormatSettings& fs) {
  Dec x = src.Sci(precision);
  if (x.n == 0) return "0";
  String out;
  out.reserve(24);
  if (neg) out += '-';
  if (x.exp < -4 || x.exp >= precision) {
    out += x.d[0];
    if (x.n > 1) {
      out += fs.DecimalSeparator;
      out.append(x.d + 1, static_cast<std::size_t>(x.n - 1));
    }
    out += 'E';
    int e = x.exp;
    if (e < 0) {
      out += '-';
      e = -e;
    }
    AppendExponent(out, e, expDigits);
  } else {
    AppendPlain(out, x, fs);
  }
  return out;
}

String ExponentText(const DecimalSource& src, bool neg, int precision, int expDigits,
                    const TFormatSettings& fs) {
  Dec x = src.Sci(precision);
  String out;
  out.reserve(static_cast<std::size_t>(precision) + 10);
  if (neg && x.n > 0) out += '-';
  out += x.n > 0 ? x.d[0] : '0';
  if (precision > 1) {
    out += fs.DecimalSeparator;
    for (int t = 1; t < precision; ++t) out += t < x.n ? x.d[t] : '0';
  }
  out += 'E';
  out += x.exp < 0 ? '-' : '+';
  AppendExponent(out, x.exp < 0 ? -x.exp : x.exp, expDigits);
  return out;
}

// Currency layouts: '$' stands for the currency string, '1' for the number.
constexpr const char* kPosCurr[] = {"$1", "1$", "$ 1", "1 $"};
constexpr const char* kNegCurr[] = {"($1)", "-$1",  "$-1",   "$1-",  "(1$)", "-1$",
                                    "1-$",  "1$-",  "-1 $",  "-$ 1", "1 $-", "$ 1-",
                                    "$ -1", "1- $", "($ 1)", "(1 $)"};

String ApplyCurrency(const String& number, bool neg, const TFormatSettings& fs) {
  const char* pattern = neg ? (fs.NegCurrFormat < 16 ? kNegCurr[fs.NegCurrFormat] : kNegCurr[0])
                            : (fs.CurrencyFormat < 4 ? kPosCurr[fs.CurrencyFormat] : kPosCurr[0]);
  String out;
  out.reserve(number.size() + fs.CurrencyString.size() + 4);
  for (const char* p = pattern; *p; ++p) {
    if (*p == '$')
      out += fs.CurrencyString;
    else if (*p == '1')
      out += number;
    else
      out += *p;
  }
  return out;
}

constexpr int kMaxPrecision = 21;
constexpr int kMaxDecimals = 40;

String FixedLikeText(const DecimalSource& src, bool neg, TFloatFormat format, int precision,
                     int decimals, const TFormatSettings& fs) {
  Dec x = src.Fix(decimals, precision);
  String number;
  bool negOut = neg && x.n > 0;
  if (x.n > 0 && x.exp >= precision) {
    // More integer digits than the precision holds: the general form.
    number = GeneralText(src, false, precision, 0, fs);
  } else {
    number.reserve(static_cast<std::size_t>(precision + decimals) + 8);
    AppendInt(number, x, format == ffFixed ? nullptr : &fs.ThousandSeparator);
    if (decimals > 0) {
      number += fs.DecimalSeparator;
      AppendFrac(number, x, decimals);
    }
  }
  if (format == ffCurrency) return ApplyCurrency(number, negOut, fs);
  if (negOut) number.insert(number.begin(), '-');
  return number;
}

String FloatToText(const DecimalSource& src, bool neg, TFloatFormat format, Integer precision,
                   Integer digits, const TFormatSettings& fs) {
  int prec = static_cast<int>(std::clamp<Integer>(precision, 1, kMaxPrecision));
  switch (format) {
    case ffGeneral:
      return GeneralText(src, neg, prec, std::clamp<Integer>(digits, 0, 4), fs);
    case ffExponent:
      return ExponentText(src, neg, prec, std::clamp<Integer>(digits, 0, 4), fs);
    case ffFixed:
    case ffNumber:
    case ffCurrency:
      return FixedLikeText(src, neg, format, prec, std::clamp<Integer>(digits, 0, kMaxDecimals),
                           fs);
  }
  return GeneralText(src, neg, prec, 0, fs);
}

// Text for NaN and infinities, or nullptr for finite values.
const char* SpecialText(long double v) {
  if (std::isnan(v)) return "NAN";
  if (std::isinf(v)) return v < 0 ? "-INF" : "INF";
  return nullptr;
}

// ---- format strings -----------------------------------------------------------

struct SectionInfo {
  int intPh = 0;    // digit placeholders before the point
  int intMin = 0;   // placeholders from the first '0' to the point
  int fracPh = 0;   // digit placeholders after the point
  int fracMin = 0;  // fraction digits up to the last '0'
  bool thousands = false;
  bool hasExp = false;
};

bool IsExponentAt(std::string_view s, std::size_t i) {
  return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

SectionInfo AnalyzeSection(std::string_view s) {
  SectionInfo info;
  bool afterPoint = false;
  bool zeroSeen = false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\'' || c == '"') {
      std::size_t close = s.find(c, i + 1);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (c == '0' || c == '#') {
      if (afterPoint) {
        ++info.fracPh;
        if (c == '0') info.fracMin = info.fracPh;
      } else {
        ++info.intPh;
        if (c == '0') zeroSeen = true;
        if (zeroSeen) ++info.intMin;
      }
    } else if (c == '.') {
      afterPoint = true;
    } else if (c == ',') {
      info.thousands = true;
    } else if (IsExponentAt(s, i)) {
      info.hasExp = true;
      break;
    }
  }
  return info;
}

void RenderSection(String& out, std::string_view s, const SectionInfo& info, const Dec& x,
                   const TFormatSettings& fs) {
  const Int64 sexp = info.hasExp ? info.intPh - 1 : x.exp;
  const Int64 intCount = x.n > 0 && sexp >= 0 ? sexp + 1 : 0;
  const Int64 totalInt = std::max<Int64>(intCount, info.intMin);
  const Int64 present = x.n > 0 ? std::max<Int64>(0, x.n - 1 - sexp) : 0;
  const Int64 nfrac = std::min<Int64>(info.fracPh, std::max<Int64>(info.fracMin, present));
  const bool groups = info.thousands && !info.hasExp;
  auto emitInt = [&](Int64 p) {
    out += DigitAt(x, sexp, p);
    if (groups && p > 0 && p % 3 == 0) out += fs.ThousandSeparator;
  };
  bool afterPoint = false;
  bool expDone = false;
  Int64 intSeen = 0;
  Int64 fracSeen = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char c = s[i];
    if (c == '\'' || c == '"') {
      std::size_t close = s.find(c, i + 1);
      if (close == std::string_view::npos) close = s.size();
      out.append(s.data() + i + 1, close - i - 1);
      i = close;
    } else if ((c == '0' || c == '#') && !expDone) {
      if (!afterPoint) {
        if (intSeen == 0)
          for (Int64 p = totalInt - 1; p >= info.intPh; --p) emitInt(p);
        Int64 p = info.intPh - 1 - intSeen;
        ++intSeen;
        if (p < totalInt) emitInt(p);
      } else {
        ++fracSeen;
        if (fracSeen <= nfrac) out += DigitAt(x, sexp, -fracSeen);
      }
    } else if (c == '.' && !afterPoint && !expDone) {
      afterPoint = true;
      if (info.intPh == 0)
        for (Int64 p = totalInt - 1; p >= 0; --p) emitInt(p);
      if (nfrac > 0) out += fs.DecimalSeparator;
    } else if (c == ',' && !expDone) {
      // Only switches the thousand separators on.
    } else if (!expDone && IsExponentAt(s, i)) {
      expDone = true;
      out += c;
      char sign = s[++i];
      Int64 e = x.n > 0 ? x.exp - sexp : 0;
      if (e < 0)
        out += '-';
      else if (sign == '+')
        out += '+';
      int minDigits = 0;
      while (i + 1 < s.size() && s[i + 1] == '0') {
        ++minDigits;
        ++i;
      }
      AppendExponent(out, static_cast<int>(e < 0 ? -e : e), std::min(minDigits, 8));
    } else {
      out += c;
    }
  }
}

// Formats a magnitude with a format of up to three sections. neg and zero
// describe the value before rounding.
String FormatWithSections(std::string_view format, const DecimalSource& src, bool neg, bool zero,
                          int sigCap, const TFormatSettings& fs) {
  std::string_view sec[3];
  int count = 0;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= format.size() && count < 3; ++i) {
    if (i == format.size() || format[i] == ';') {
      sec[count++] = format.substr(start, i - start);
      start = i + 1;
    } else if (format[i] == '\'' || format[i] == '"') {
      std::size_t close = format.find(format[i], i + 1);
      if (close == std::string_view::npos) close = format.size() - 1;
      i = close;
    }
  }
  auto zeroSection = [&] { return count >= 3 && !sec[2].empty() ? 2 : 0; };
  int idx = 0;
  bool minus = false;
  if (zero)
    idx = zeroSection();
  else if (neg && count >= 2 && !sec[1].empty())
    idx = 1;
  else
    minus = neg;

  auto roundFor = [&](const SectionInfo& info) {
    if (info.hasExp) return src.Sci(std::clamp(info.intPh + info.fracPh, 1, sigCap));
    return src.Fix(info.fracPh, sigCap);
  };
  SectionInfo info = AnalyzeSection(sec[idx]);
  Dec x = roundFor(info);
  if (x.n == 0 && !zero) {
    // The value rounds to zero: it shows as zero, without a sign.
    idx = zeroSection();
    minus = false;
    info = AnalyzeSection(sec[idx]);
    x = Dec();
  }
  String out;
  out.reserve(sec[idx].size() + 16);
  if (minus) out += '-';
  RenderSection(out, sec[idx], info, x, fs);
  return out;
}

// ---- parsing ----------------------------------------------------------------------

// A decimal number in text: blanks, sign, digits with an optional decimal
// separator, optional exponent, blanks.
struct ScannedNumber {
  bool neg = false;
  std::string_view intDigits;
  std::string_view fracDigits;
  Int64 exp = 0;  // saturated far beyond any meaningful value
};

bool ScanNumber(const String& s, char decimalSeparator, ScannedNumber& r) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n && IsBlank(s[i])) ++i;
  if (i < n && (s[i] == '+' || s[i] == '-')) r.neg = s[i++] == '-';
  std::size_t b = i;
  while (i < n && s[i] >= '0' && s[i] <= '9') ++i;
  r.intDigits = std::string_view(s).substr(b, i - b);
  if (i < n && s[i] == decimalSeparator) {
    b = ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i;
    r.fracDigits = std::string_view(s).substr(b, i - b);
  }
  if (r.intDigits.empty() && r.fracDigits.empty()) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool eneg = false;
    if (i < n && (s[i] == '+' || s[i] == '-')) eneg = s[i++] == '-';
    if (i >= n || s[i] < '0' || s[i] > '9') return false;
    Int64 e = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') {
      if (e < 1000000000000000LL) e = e * 10 + (s[i] - '0');
      ++i;
    }
    r.exp = eneg ? -e : e;
  }
  while (i < n && IsBlank(s[i])) ++i;
  return i == n;
}

locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  return loc;
}

// The scanned number as plain "C" text for strtod/strtold.
String PlainNumberText(const ScannedNumber& r) {
  String t;
  t.reserve(r.intDigits.size() + r.fracDigits.size() + 24);
  if (r.neg) t += '-';
  if (r.intDigits.empty()) t += '0';
  t.append(r.intDigits);
  t += '.';
  t.append(r.fracDigits);
  t += 'e';
  char buf[24];
  auto res = std::to_chars(buf, buf + sizeof buf, r.exp);
  t.append(buf, res.ptr);
  return t;
}

bool ParseInteger(const String& s, bool wide, Int64& value) {
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n && IsBlank(s[i])) ++i;
  bool neg = false;
  bool signed_ = false;
  if (i < n && (s[i] == '+' || s[i] == '-')) {
    neg = s[i++] == '-';
    signed_ = true;
  }
  bool hex = false;
  if (i < n && s[i] == '$') {
    hex = true;
    ++i;
  } else if (i + 1 < n && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  const UInt64 signedMax = wide ? static_cast<UInt64>(INT64_MAX) : static_cast<UInt64>(INT32_MAX);
  const UInt64 unsignedMax = wide ? UINT64_MAX : static_cast<UInt64>(UINT32_MAX);
  // Unsigned hexadecimal text is a bit pattern ("$FFFFFFFF" is -1); anything
  // signed must fit as a magnitude.
  const UInt64 limit = hex && !signed_ ? unsignedMax : signedMax + (neg ? 1 : 0);
  const unsigned base = hex ? 16 : 10;
  UInt64 acc = 0;
  std::size_t b = i;
  for (; i < n; ++i) {
    char c = s[i];
    unsigned dgt;
    if (c >= '0' && c <= '9')
      dgt = static_cast<unsigned>(c - '0');
    else if (hex && c >= 'a' && c <= 'f')
      dgt = static_cast<unsigned>(c - 'a' + 10);
    else if (hex && c >= 'A' && c <= 'F')
      dgt = static_cast<unsigned>(c - 'A' + 10);
    else
      break;
    if (acc > (limit - dgt) / base) return false;
    acc = acc * base + dgt;
  }
  if (i == b) return false;
  while (i < n && IsBlank(s[i])) ++i;
  if (i != n) return false;
  if (neg) {
    value = static_cast<Int64>(0 - acc);
  } else if (!wide && hex && acc > signedMax) {
    value = static_cast<Integer>(static_cast<Cardinal>(acc));
  } else {
    value = static_cast<Int64>(acc);
  }
  return true;
}

[[noreturn]] void RaiseInvalidInteger(const String& s) {
  throw EConvertError(res::SInvalidInteger, {s});
}
[[noreturn]] void RaiseInvalidFloat(const String& s) {
  throw EConvertError(res::SInvalidFloat, {s});
}

// ---- currency --------------------------------------------------------------------

UInt64 Magnitude(Int64 v) {
  return v < 0 ? 0 - static_cast<UInt64>(v) : static_cast<UInt64>(v);
}

bool ParseCurrency(const String& s, const TFormatSettings& fs, Int64& value) {
  ScannedNumber r;
  if (!ScanNumber(s, fs.DecimalSeparator, r)) return false;
  // The digits D (integer and fraction together) stand for D * 10^k ten-thousandths.
  Int64 k = r.exp + 4 - static_cast<Int64>(r.fracDigits.size());
  auto digitAt = [&](std::size_t t) {
    return t < r.intDigits.size() ? r.intDigits[t] : r.fracDigits[t - r.intDigits.size()];
  };
  const std::size_t total = r.intDigits.size() + r.fracDigits.size();
  std::size_t first = 0;
  while (first < total && digitAt(first) == '0') ++first;
  const Int64 len = static_cast<Int64>(total - first);
  const UInt64 limit = static_cast<UInt64>(INT64_MAX) + (r.neg ? 1 : 0);
  if (len == 0) {
    value = 0;
    return true;
  }
  Int64 keep = k >= 0 ? len : len + k;  // digits of D that stay in the integer
  if (keep + (k > 0 ? k : 0) > 19) return false;
  u128 wideAcc = 0;
  for (Int64 t = 0; t < keep; ++t)
    wideAcc =
        wideAcc * 10 + static_cast<unsigned>(digitAt(first + static_cast<std::size_t>(t)) - '0');
  for (Int64 t = 0; t < k; ++t) wideAcc *= 10;
  if (keep >= 0 && keep < len) {
    // Round the dropped digits half to even.
    char d0 = digitAt(first + static_cast<std::size_t>(keep));
    bool up = d0 > '5';
    if (d0 == '5') {
      bool rest = false;
      for (std::size_t t = first + static_cast<std::size_t>(keep) + 1; t < total && !rest; ++t)
        rest = digitAt(t) != '0';
      up = rest || (wideAcc & 1) != 0;
    }
    if (up) ++wideAcc;
  }
  if (wideAcc > limit) return false;
  const UInt64 acc = static_cast<UInt64>(wideAcc);
  value = r.neg ? static_cast<Int64>(0 - acc) : static_cast<Int64>(acc);
  return true;
}

}  // namespace

// ---- integers -------------------------------------------------------------

String IntToStr(Int64 value) {
  char buf[24];
  auto r = std::to_chars(buf, buf + sizeof buf, value);
  return String(buf, r.ptr);
}

String IntToHex(Int64 value, Integer digits) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  char buf[16];
  int len = 0;
  UInt64 u = static_cast<UInt64>(value);
  do {
    buf[len++] = kHex[u & 15];
    u >>= 4;
  } while (u != 0);
  int width = std::clamp<Integer>(digits, 0, 32);
  String out;
  out.reserve(static_cast<std::size_t>(std::max(width, len)));
  for (int i = len; i < width; ++i) out += '0';
  while (len > 0) out += buf[--len];
  return out;
}

Integer StrToInt(const String& s) {
  Int64 v;
  if (!ParseInteger(s, false, v)) RaiseInvalidInteger(s);
  return static_cast<Integer>(v);
}

Int64 StrToInt64(const String& s) {
  Int64 v;
  if (!ParseInteger(s, true, v)) RaiseInvalidInteger(s);
  return v;
}

Integer StrToIntDef(const String& s, Integer def) {
  Int64 v;
  return ParseInteger(s, false, v) ? static_cast<Integer>(v) : def;
}

Int64 StrToInt64Def(const String& s, Int64 def) {
  Int64 v;
  return ParseInteger(s, true, v) ? v : def;
}

bool TryStrToInt(const String& s, Integer& value) {
  Int64 v;
  if (!ParseInteger(s, false, v)) return false;
  value = static_cast<Integer>(v);
  return true;
}

bool TryStrToInt64(const String& s, Int64& value) {
  return ParseInteger(s, true, value);
}

// ---- floats ---------------------------------------------------------------

String FloatToStr(Extended value, const TFormatSettings& fs) {
  return FloatToStrF(value, ffGeneral, 15, 0, fs);
}

String FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                   const TFormatSettings& fs) {
  if (const char* special = SpecialText(value)) return special;
  DecimalSource src(std::fabs(value));
  return FloatToText(src, std::signbit(value), format, precision, digits, fs);
}

String FormatFloat(const String& format, Extended value, const TFormatSettings& fs) {
  if (const char* special = SpecialText(value)) return special;
  if (format.empty()) return FloatToStr(value, fs);
  DecimalSource src(std::fabs(value));
  return FormatWithSections(format, src, std::signbit(value), value == 0, 18, fs);
}

String FormatCurr(const String& format, Currency value, const TFormatSettings& fs) {
  if (format.empty()) return CurrToStr(value, fs);
  DecimalSource src(DecFromU64(Magnitude(value.Value), 4));
  return FormatWithSections(format, src, value.Value < 0, value.Value == 0, kDecCapacity - 4, fs);
}

bool TryStrToFloat(const String& s, Extended& value, const TFormatSettings& fs) {
  ScannedNumber r;
  if (!ScanNumber(s, fs.DecimalSeparator, r)) return false;
  String plain = PlainNumberText(r);
  long double v = strtold_l(plain.c_str(), nullptr, CLocale());
  if (std::isinf(v) || std::isnan(v)) return false;
  value = v;
  return true;
}

bool TryStrToFloat(const String& s, double& value, const TFormatSettings& fs) {
  ScannedNumber r;
  if (!ScanNumber(s, fs.DecimalSeparator, r)) return false;
  String plain = PlainNumberText(r);
  double v = strtod_l(plain.c_str(), nullptr, CLocale());
  if (std::isinf(v) || std::isnan(v)) return false;
  value = v;
  return true;
}

Extended StrToFloat(const String& s, const TFormatSettings& fs) {
  Extended v;
  if (!TryStrToFloat(s, v, fs)) RaiseInvalidFloat(s);
  return v;
}

Extended StrToFloatDef(const String& s, Extended def, const TFormatSettings& fs) {
  Extended v;
  return TryStrToFloat(s, v, fs) ? v : def;
}

// ---- currency -------------------------------------------------------------

String CurrToStr(Currency value, const TFormatSettings& fs) {
  Dec x = DecFromU64(Magnitude(value.Value), 4);
  String out;
  out.reserve(24);
  if (value.Value < 0) out += '-';
  AppendPlain(out, x, fs);
  return out;
}

String CurrToStrF(Currency value, TFloatFormat format, Integer digits, const TFormatSettings& fs) {
  if (format == ffGeneral) return CurrToStr(value, fs);
  DecimalSource src(DecFromU64(Magnitude(value.Value), 4));
  if (format == ffExponent)
    return ExponentText(src, value.Value < 0, 15, std::clamp<Integer>(digits, 0, 4), fs);
  return FixedLikeText(src, value.Value < 0, format, kDecCapacity - 4,
                       std::clamp<Integer>(digits, 0, kMaxDecimals), fs);
}

bool TryStrToCurr(const String& s, Currency& value, const TFormatSettings& fs) {
  Int64 v;
  if (!ParseCurrency(s, fs, v)) return false;
  value = Currency::FromRaw(v);
  return true;
}

Currency StrToCurr(const String& s, const TFormatSettings& fs) {
  Int64 v;
  if (!ParseCurrency(s, fs, v)) throw EConvertError(res::SInvalidCurrency, {s});
  return Currency::FromRaw(v);
}

// ---- numeric helpers ---------------------------------------------------------

namespace {

constexpr long double kTwo63 = 9223372036854775808.0L;

Int64 CheckedToInt64(long double t) {
  if (!(t >= -kTwo63 && t < kTwo63)) throw EOverflow(res::SOverflow);
  return static_cast<Int64>(t);
}

void CheckFinite(long double v) {
  if (std::isnan(v) || std::isinf(v)) throw EInvalidOp(res::SInvalidOp);
}

}  // namespace

Int64 Round(Extended value) {
  CheckFinite(value);
  long double t = std::trunc(value);
  long double diff = value - t;  // exact
  bool odd = std::fmod(t, 2.0L) != 0;
  if (diff > 0.5L || (diff == 0.5L && odd))
    t += 1;
  else if (diff < -0.5L || (diff == -0.5L && odd))
    t -= 1;
  return CheckedToInt64(t);
}

Int64 Trunc(Extended value) {
  CheckFinite(value);
  return CheckedToInt64(std::trunc(value));
}

Extended Int(Extended value) {
  return std::trunc(value);
}

Extended Frac(Extended value) {
  return value - std::trunc(value);
}

Integer MulDiv(Integer a, Integer b, Integer c) {
  if (c == 0) return -1;
  Int64 p = static_cast<Int64>(a) * b;
  Int64 q = p / c;
  Int64 r = p % c;
  Int64 ar = r < 0 ? -r : r;
  Int64 ac = c < 0 ? -static_cast<Int64>(c) : c;
  if (2 * ar >= ac) q += ((p < 0) != (c < 0)) ? -1 : 1;
  if (q < INT32_MIN || q > INT32_MAX) return -1;
  return static_cast<Integer>(q);
}

Extended CheckFloat(Extended value) {
  if (std::isnan(value)) throw EInvalidOp(res::SInvalidOp);
  if (std::isinf(value)) throw EOverflow(res::SOverflow);
  return value;
}

Extended FloatDivide(Extended a, Extended b) {
  if (std::isnan(a) || std::isnan(b)) throw EInvalidOp(res::SInvalidOp);
  if (b == 0) {
    if (a == 0) throw EInvalidOp(res::SInvalidOp);
    throw EZeroDivide(res::SZeroDivide);
  }
  return CheckFloat(a / b);
}

}  // namespace brevant
