// Format and the text of its arguments.
#include "rtl/format.h"

#include <charconv>
#include <cstdint>
#include <string_view>

#include "rtl/exceptions.h"
#include "rtl/format_settings.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"

namespace brevant {
namespace {

// Width, precision and index above this are taken for a fault in the format
// rather than allocated.
constexpr Int64 kMaxField = 65535;

void AppendUtf8(String& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
void AppendWide(String& out, const WideString& w) {
  out.reserve(out.size() + w.size());
  for (std::size_t i = 0; i < w.size(); ++i) {
    char32_t c = w[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (w[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
}

// Characters as a reader counts them: bytes that do not continue a sequence.
std::size_t CharCount(std::string_view s) {
  std::size_t n = 0;
  for (char c : s)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
  return n;
}

// The longest prefix of at most max bytes that ends between two sequences.
std::size_t Utf8Cut(std::string_view s, std::size_t max) {
  if (max >= s.size()) return s.size();
  std::size_t cut = max;
  for (int back = 0; back < 3 && cut > 0; ++back) {
    if ((static_cast<unsigned char>(s[cut]) & 0xC0) != 0x80) return cut;
    --cut;
  }
  return (static_cast<unsigned char>(s[cut]) & 0xC0) != 0x80 ? cut : max;
}

[[noreturn]] void RaiseInvalid(const String& fmt) {
  throw EConvertError(res::SInvalidFormat, {fmt});
}
[[noreturn]] void RaiseMissing(const String& fmt) {
  throw EConvertError(res::SArgumentMissing, {fmt});
}

bool IsIntegerKind(const TVarRec& a) {
  return a.VType() == TVarRec::vkInteger || a.VType() == TVarRec::vkInt64;
}

// Digits of an unsigned value, at least minDigits of them.
void AppendUnsigned(String& out, UInt64 v, int base, Int64 minDigits) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char buf[24];
  int len = 0;
  do {
    buf[len++] = kDigits[v % static_cast<unsigned>(base)];
    v /= static_cast<unsigned>(base);
  } while (v != 0);
  for (Int64 i = len; i < minDigits; ++i) out += '0';
  while (len > 0) out += buf[--len];
}

// %d (signed), %u and %x (an Integer argument read as its 32 unsigned bits);
// the precision is the minimum number of digits.
void AppendIntegerArg(String& out, char type, const TVarRec& a, Int64 prec, const String& fmt) {
  if (!IsIntegerKind(a)) RaiseInvalid(fmt);
  Int64 v = a.AsInt64();
  if (type == 'd') {
    if (v < 0) out += '-';
    UInt64 mag = v < 0 ? 0 - static_cast<UInt64>(v) : static_cast<UInt64>(v);
    AppendUnsigned(out, mag, 10, prec);
    return;
  }
  UInt64 u = a.VType() == TVarRec::vkInteger ? static_cast<UInt64>(static_cast<Cardinal>(v))
                                             : static_cast<UInt64>(v);
  AppendUnsigned(out, u, type == 'x' ? 16 : 10, prec);
}

// A currency argument of %f %g %n %m, formatted exactly from its decimal value.
void AppendCurrencyArg(String& out, char type, Currency c, Int64 prec, const TFormatSettings& fs) {
  const Integer p = static_cast<Integer>(prec);
  if (type == 'g')
    out += CurrToStr(c, fs);
  else if (type == 'f')
    out += CurrToStrF(c, ffFixed, prec < 0 ? 2 : p, fs);
  else if (type == 'n')
    out += CurrToStrF(c, ffNumber, prec < 0 ? 2 : p, fs);
  else
    out += CurrToStrF(c, ffCurrency, prec < 0 ? fs.CurrencyDecimals : p, fs);
}

// %e %f %g %n %m: the precision is the digits of %e and %g, the decimals of
// the others; without one each takes its default.
void AppendFloatArg(String& out, char type, const TVarRec& a, Int64 prec, const String& fmt) {
  const TFormatSettings& fs = FormatSettings();
  if (a.VType() == TVarRec::vkCurrency && type != 'e')
    return AppendCurrencyArg(out, type, Currency::FromRaw(a.AsInt64()), prec, fs);
  Extended v;
  if (a.VType() == TVarRec::vkExtended)
    v = a.AsExtended();
  else if (IsIntegerKind(a))
    v = static_cast<Extended>(a.AsInt64());
  else if (a.VType() == TVarRec::vkCurrency)
    v = Currency::FromRaw(a.AsInt64()).ToExtended();
  else
    RaiseInvalid(fmt);
  const Integer p = static_cast<Integer>(prec);
  switch (type) {
    case 'e':
      out += FloatToStrF(v, ffExponent, prec < 0 ? 15 : p, 3, fs);
      break;
    case 'f':
      out += FloatToStrF(v, ffFixed, 18, prec < 0 ? 2 : p, fs);
      break;
    case 'g':
      out += FloatToStrF(v, ffGeneral, prec < 0 ? 15 : p, 0, fs);
      break;
    case 'n':
      out += FloatToStrF(v, ffNumber, 18, prec < 0 ? 2 : p, fs);
      break;
    default:
      out += FloatToStrF(v, ffCurrency, 18, prec < 0 ? fs.CurrencyDecimals : p, fs);
      break;
  }
}

void AppendPointerArg(String& out, const TVarRec& a, const String& fmt) {
  if (a.VType() != TVarRec::vkPointer) RaiseInvalid(fmt);
  out += a.AsString();
}

// %s: the precision is the most characters taken, never cutting one.
void AppendStringArg(String& out, const TVarRec& a, Int64 prec, const String& fmt) {
  if (a.VType() != TVarRec::vkString && a.VType() != TVarRec::vkWideString &&
      a.VType() != TVarRec::vkChar)
    RaiseInvalid(fmt);
  String s = a.AsString();
  out.append(s, 0, prec < 0 ? s.size() : Utf8Cut(s, static_cast<std::size_t>(prec)));
}

}  // namespace

String TVarRec::AsString() const {
  switch (kind_) {
    case vkString:
      return len_ == static_cast<std::size_t>(-1) ? String(str_) : String(str_, len_);
    case vkWideString: {
      String out;
      AppendWide(out, *wstr_);
      return out;
    }
    case vkChar:
      return String(1, static_cast<char>(i64_));
    case vkInteger:
    case vkInt64:
      return IntToStr(i64_);
    case vkExtended:
      return FloatToStr(ext_);
    case vkBoolean:
      return i64_ ? "True" : "False";
    case vkCurrency:
      return CurrToStr(Currency::FromRaw(i64_));
    case vkPointer:
      return IntToHex(static_cast<Int64>(reinterpret_cast<std::uintptr_t>(ptr_)), 16);
  }
  return String();
}

String Format(const String& fmt, TVarRecs args) {
  const TVarRec* argv = args.begin();
  const std::size_t argc = args.size();
  std::size_t next = 0;
  const std::size_t n = fmt.size();
  std::size_t i = 0;
  String out;
  out.reserve(n + 32);

  auto at = [&]() -> char { return i < n ? fmt[i] : '\0'; };
  auto fetch = [&]() -> const TVarRec& {
    if (next >= argc) RaiseMissing(fmt);
    return argv[next++];
  };
  // A number written in digits or '*' taken from the arguments.
  auto readNumber = [&](Int64& v) -> bool {
    if (at() == '*') {
      ++i;
      const TVarRec& a = fetch();
      if (!IsIntegerKind(a)) RaiseInvalid(fmt);
      v = a.AsInt64();
      if (v > kMaxField || v < -kMaxField) RaiseInvalid(fmt);
      return true;
    }
    if (at() < '0' || at() > '9') return false;
    v = 0;
    while (at() >= '0' && at() <= '9') {
      v = v * 10 + (fmt[i++] - '0');
      if (v > kMaxField) RaiseInvalid(fmt);
    }
    return true;
  };

  while (i < n) {
    std::size_t pct = fmt.find('%', i);
    if (pct == String::npos) {
      out.append(fmt, i, String::npos);
      break;
    }
    out.append(fmt, i, pct - i);
    i = pct + 1;
    if (at() == '%') {
      out += '%';
      ++i;
      continue;
    }
    // %[index:][-][width][.precision]type
    Int64 num = 0;
    bool have = readNumber(num);
    if (have && at() == ':') {
      ++i;
      if (num < 0) RaiseInvalid(fmt);
      next = static_cast<std::size_t>(num);
      have = false;
    }
    bool left = false;
    Int64 width = 0;
    if (have) {
      width = num;
    } else {
      if (at() == '-') {
        left = true;
        ++i;
      }
      readNumber(width);
    }
    if (width < 0) {
      left = true;
      width = -width;
    }
    Int64 prec = -1;
    if (at() == '.') {
      ++i;
      Int64 p = 0;
      if (!readNumber(p)) p = 0;
      prec = p >= 0 ? p : -1;
    }
    char type = at();
    if (type >= 'A' && type <= 'Z') type = static_cast<char>(type - 'A' + 'a');
    ++i;

    const std::size_t start = out.size();
    switch (type) {
      case 'd':
      case 'u':
      case 'x':
        AppendIntegerArg(out, type, fetch(), prec, fmt);
        break;
      case 'e':
      case 'f':
      case 'g':
      case 'n':
      case 'm':
        AppendFloatArg(out, type, fetch(), prec, fmt);
        break;
      case 'p':
        AppendPointerArg(out, fetch(), fmt);
        break;
      case 's':
        AppendStringArg(out, fetch(), prec, fmt);
        break;
      default:
        RaiseInvalid(fmt);
    }
    const std::size_t chars = CharCount(std::string_view(out).substr(start));
    if (static_cast<Int64>(chars) < width) {
      std::size_t pad = static_cast<std::size_t>(width) - chars;
      if (left)
        out.append(pad, ' ');
      else
        out.insert(start, pad, ' ');
    }
  }
  return out;
}

}  // namespace brevant
