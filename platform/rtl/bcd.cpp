#include "rtl/bcd.h"

#include <charconv>
#include <cmath>
#include <cstring>

#include "rtl/exceptions.h"
#include "rtl/resstrings.h"
#include "rtl/variant.h"

namespace brevant {

namespace {

// A sign-magnitude decimal: value = digits (most significant first) * 10^-scale.
// Invariant: scale <= count. The buffer leaves room for the work of
// DoubleToBcd (up to 63 leading zeros, 15 digits and a carry).
struct Decimal {
  bool neg = false;
  Integer count = 0;
  Integer scale = 0;
  Byte digit[96] = {};

  Integer IntDigits() const { return count - scale; }
  bool IsZero() const {
    for (Integer i = 0; i < count; ++i)
      if (digit[i] != 0) return false;
    return true;
  }
};

// Removes leading zeros of the integer part; a zero loses its sign.
void TrimLeading(Decimal& d) {
  Integer lead = 0;
  while (lead < d.IntDigits() && d.digit[lead] == 0) ++lead;
  if (lead > 0) {
    std::memmove(d.digit, d.digit + lead, static_cast<std::size_t>(d.count - lead));
    d.count -= lead;
  }
  if (d.IsZero()) d.neg = false;
}

// Drops decimals beyond `places`, rounding half to even.
void RoundTo(Decimal& d, Integer places) {
  if (d.scale <= places) return;
  const Integer keep = d.count - (d.scale - places);
  const Byte first = d.digit[keep];
  bool restNonZero = false;
  for (Integer i = keep + 1; i < d.count; ++i)
    if (d.digit[i] != 0) restNonZero = true;
  const bool lastOdd = keep > 0 && (d.digit[keep - 1] & 1) != 0;
  const bool up = first > 5 || (first == 5 && (restNonZero || lastOdd));
  d.count = keep;
  d.scale = places;
  if (up) {
    Integer i = keep - 1;
    while (i >= 0 && d.digit[i] == 9) d.digit[i--] = 0;
    if (i >= 0) {
      ++d.digit[i];
    } else {
      std::memmove(d.digit + 1, d.digit, static_cast<std::size_t>(keep));
      d.digit[0] = 1;
      ++d.count;
    }
  }
  TrimLeading(d);
}

// Reads a record; false when it is malformed.
bool Decode(const TBcd& b, Decimal& d) {
  d = Decimal();
  if (b.Precision == 0) return true;
  const Integer scale = BcdScale(b);
  if (b.Precision > MaxFMTBcdDigits || scale > b.Precision) return false;
  for (Integer i = 0; i < b.Precision; ++i) {
    const Byte pair = b.Fraction[i / 2];
    const Byte nibble =
        (i % 2 == 0) ? static_cast<Byte>(pair >> 4) : static_cast<Byte>(pair & 0x0F);
    if (nibble > 9) return false;
    d.digit[i] = nibble;
  }
  d.count = b.Precision;
  d.scale = scale;
  d.neg = (b.SignSpecialPlaces & BcdSignBit) != 0;
  TrimLeading(d);
  return true;
}

Decimal DecodeOrRaise(const TBcd& b) {
  Decimal d;
  if (!Decode(b, d)) {
    throw EConvertError(res::SInvalidBcdRecord, {Integer(b.Precision), BcdScale(b)});
  }
  return d;
}

void PutDigits(const Decimal& d, Integer firstPos, TBcd& b) {
  for (Integer i = 0; i < d.count; ++i) {
    const Integer pos = firstPos + i;
    if (pos % 2 == 0)
      b.Fraction[pos / 2] = static_cast<Byte>(b.Fraction[pos / 2] | (d.digit[i] << 4));
    else
      b.Fraction[pos / 2] = static_cast<Byte>(b.Fraction[pos / 2] | d.digit[i]);
  }
}

// Encodes with exactly the given precision and places; false when it does not fit.
bool EncodeFixed(Decimal d, Integer precision, Integer places, TBcd& out) {
  if (precision < 1 || precision > MaxFMTBcdDigits || places < 0 || places > precision ||
      places > MaxFMTBcdScale) {
    return false;
  }
  RoundTo(d, places);
  TrimLeading(d);
  if (d.IntDigits() > precision - places) return false;
  TBcd b{};
  b.Precision = static_cast<Byte>(precision);
  b.SignSpecialPlaces = static_cast<Byte>(places | (d.neg ? BcdSignBit : 0));
  PutDigits(d, (precision - places) - d.IntDigits(), b);
  out = b;
  return true;
}

// Encodes with the digits the value has (at least one). The caller keeps
// count <= 64 and scale <= 63.
TBcd EncodeMinimal(Decimal d) {
  TrimLeading(d);
  TBcd b{};
  if (d.count == 0) {
    b.Precision = 1;
    return b;
  }
  b.Precision = static_cast<Byte>(d.count);
  b.SignSpecialPlaces = static_cast<Byte>(d.scale | (d.neg ? BcdSignBit : 0));
  PutDigits(d, 0, b);
  return b;
}

// Plain text; trimTrailing drops decimal zeros (and the separator with them).
String DecimalToText(const Decimal& d, char separator, bool trimTrailing) {
  Integer end = d.count;
  if (trimTrailing) {
    while (end > d.IntDigits() && d.digit[end - 1] == 0) --end;
  }
  String s;
  s.reserve(static_cast<std::size_t>(end) + 3);
  if (d.neg) s += '-';
  if (d.IntDigits() == 0) s += '0';
  for (Integer i = 0; i < d.IntDigits(); ++i) s += static_cast<char>('0' + d.digit[i]);
  if (end > d.IntDigits()) {
    s += separator;
    for (Integer i = d.IntDigits(); i < end; ++i) s += static_cast<char>('0' + d.digit[i]);
  }
  return s;
}

enum TBcdIntResult { birOk, birOverflow };

// The value rounded to `places` decimals as a scaled 64-bit integer.
TBcdIntResult ToScaledInt64(Decimal d, Integer places, Int64& out) {
  RoundTo(d, places);
  const UInt64 limit = d.neg ? UInt64(1) << 63 : (UInt64(1) << 63) - 1;
  UInt64 acc = 0;
  const Integer padded = d.count + (places - d.scale);
  for (Integer i = 0; i < padded; ++i) {
    const Byte dig = i < d.count ? d.digit[i] : 0;
    if (acc > (limit - dig) / 10) return birOverflow;
    acc = acc * 10 + dig;
  }
  if (!d.neg) {
    out = static_cast<Int64>(acc);
  } else if (acc == UInt64(1) << 63) {
    out = INT64_MIN;
  } else {
    out = -static_cast<Int64>(acc);
  }
  return birOk;
}

Decimal FromInt64(Int64 value, Integer scale) {
  Decimal d;
  d.neg = value < 0;
  UInt64 mag = d.neg ? UInt64(0) - static_cast<UInt64>(value) : static_cast<UInt64>(value);
  Byte rev[20];
  Integer n = 0;
  do {
    rev[n++] = static_cast<Byte>(mag % 10);
    mag /= 10;
  } while (mag != 0);
  while (n < scale + 1) rev[n++] = 0;  // room for "0." before the decimals
  for (Integer i = 0; i < n; ++i) d.digit[i] = rev[n - 1 - i];
  d.count = n;
  d.scale = scale;
  TrimLeading(d);
  return d;
}

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

bool ParseDecimal(const String& s, char separator, Decimal& d) {
  std::size_t i = 0;
  std::size_t n = s.size();
  while (i < n && IsBlank(s[i])) ++i;
  while (n > i && IsBlank(s[n - 1])) --n;
  d = Decimal();
  if (i < n && (s[i] == '-' || s[i] == '+')) d.neg = s[i++] == '-';
  // Significant digits (leading zeros skipped), and where the point falls.
  Byte sig[MaxFMTBcdDigits + 1];
  Integer sigCount = 0;
  Int64 trailingZeros = 0;  // zeros after the last stored digit, not stored yet
  Int64 fracDigits = 0;
  bool anyDigit = false;
  bool seenPoint = false;
  for (; i < n; ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      anyDigit = true;
      if (seenPoint) ++fracDigits;
      if (c == '0') {
        if (sigCount > 0) ++trailingZeros;
        continue;
      }
      // A non-zero digit: the pending zeros become significant.
      if (sigCount + trailingZeros + 1 > MaxFMTBcdDigits) return false;
      for (; trailingZeros > 0; --trailingZeros) sig[sigCount++] = 0;
      sig[sigCount++] = static_cast<Byte>(c - '0');
    } else if (c == separator && !seenPoint) {
      seenPoint = true;
    } else {
      break;
    }
  }
  if (!anyDigit) return false;
  Int64 exponent = 0;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    bool expNeg = false;
    if (i < n && (s[i] == '-' || s[i] == '+')) expNeg = s[i++] == '-';
    if (i >= n || s[i] < '0' || s[i] > '9') return false;
    for (; i < n && s[i] >= '0' && s[i] <= '9'; ++i) {
      if (exponent < 100000) exponent = exponent * 10 + (s[i] - '0');
    }
    if (expNeg) exponent = -exponent;
  }
  if (i != n) return false;

  // value = sig followed by trailingZeros zeros, times 10^-(fracDigits - exponent)
  Int64 scale = fracDigits - exponent;
  if (sigCount == 0) {  // zero: keep the written scale where it can be held
    d.neg = false;
    d.scale =
        static_cast<Integer>(scale < 0 ? 0 : (scale > MaxFMTBcdScale ? MaxFMTBcdScale : scale));
    d.count = d.scale;
    return true;
  }
  // Zeros that only lengthen the fraction may be dropped without loss.
  while (trailingZeros > 0 && scale > 0 &&
         (scale > MaxFMTBcdScale || sigCount + trailingZeros > MaxFMTBcdDigits)) {
    --trailingZeros;
    --scale;
  }
  // The digits are sig followed by trailingZeros zeros, then (for a
  // negative scale) the zeros that move the point right.
  Int64 len = sigCount + trailingZeros;
  if (scale < 0) {
    len -= scale;
    scale = 0;
  }
  if (scale > MaxFMTBcdScale || len > MaxFMTBcdDigits) return false;
  // A value below 1 starts with the zeros right after the point.
  const Int64 count = len < scale ? scale : len;
  d.count = static_cast<Integer>(count);
  d.scale = static_cast<Integer>(scale);
  const Int64 first = count - len;
  for (Integer k = 0; k < sigCount; ++k) d.digit[first + k] = sig[k];
  TrimLeading(d);
  return true;
}

[[noreturn]] void RaiseBcdOverflow(const Decimal& d) {
  throw EOverflow(res::SBcdOverflow, {DecimalToText(d, '.', true)});
}

}  // namespace

bool IsBcdNegative(const TBcd& bcd) {
  return DecodeOrRaise(bcd).neg;
}

bool IsBcdZero(const TBcd& bcd) {
  return DecodeOrRaise(bcd).IsZero();
}

bool CurrToBCD(Currency value, TBcd& bcd, Integer precision, Integer decimals) {
  return EncodeFixed(FromInt64(value.Value, 4), precision, decimals, bcd);
}

bool TryBCDToCurr(const TBcd& bcd, Currency& value) {
  Decimal d;
  Int64 raw = 0;
  if (!Decode(bcd, d) || ToScaledInt64(d, 4, raw) != birOk) return false;
  value = Currency::FromRaw(raw);
  return true;
}

Currency BCDToCurr(const TBcd& bcd) {
  const Decimal d = DecodeOrRaise(bcd);
  Int64 raw = 0;
  if (ToScaledInt64(d, 4, raw) != birOk) RaiseBcdOverflow(d);
  return Currency::FromRaw(raw);
}

double BcdToDouble(const TBcd& bcd) {
  const String text = DecimalToText(DecodeOrRaise(bcd), '.', false);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  return value;
}

void DoubleToBcd(double value, TBcd& bcd) {
  if (!std::isfinite(value)) {
    throw EConvertError(res::SInvalidBcd,
                        {std::isnan(value) ? "NAN" : (value < 0 ? "-INF" : "INF")});
  }
  if (value == 0) {
    bcd = EncodeMinimal(Decimal());
    return;
  }
  // d.dddddddddddddde+XX: 15 significant digits, correctly rounded.
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
  const char* p = buf;
  Decimal d;
  if (*p == '-') {
    d.neg = true;
    ++p;
  }
  Byte sig[15];
  Integer sigCount = 0;
  for (; p < res.ptr && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') sig[sigCount++] = static_cast<Byte>(*p - '0');
  Integer exponent = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exponent);
  const Integer intDigits = exponent + 1;  // digits before the point
  if (intDigits > MaxFMTBcdDigits) {
    char text[40];
    const auto r = std::to_chars(text, text + sizeof text, value);
    throw EOverflow(res::SBcdOverflow, {String(text, r.ptr)});
  }
  if (intDigits <= -(MaxFMTBcdScale + 1)) {  // below 1E-64: rounds to zero at 63 places
    bcd = EncodeMinimal(Decimal());
    return;
  }
  if (intDigits >= sigCount) {
    for (Integer i = 0; i < sigCount; ++i) d.digit[i] = sig[i];
    d.count = intDigits;
    d.scale = 0;
  } else if (intDigits > 0) {
    for (Integer i = 0; i < sigCount; ++i) d.digit[i] = sig[i];
    d.count = sigCount;
    d.scale = sigCount - intDigits;
  } else {
    const Integer zeros = -intDigits;
    for (Integer i = 0; i < sigCount; ++i) d.digit[zeros + i] = sig[i];
    d.count = zeros + sigCount;
    d.scale = d.count;
  }
  while (d.scale > 0 && d.digit[d.count - 1] == 0) {
    --d.count;
    --d.scale;
  }
  RoundTo(d, MaxFMTBcdScale);
  bcd = EncodeMinimal(d);
}

TBcd DoubleToBcd(double value) {
  TBcd b;
  DoubleToBcd(value, b);
  return b;
}

TBcd IntegerToBcd(Int64 value) {
  return EncodeMinimal(FromInt64(value, 0));
}

bool TryBcdToInt64(const TBcd& bcd, Int64& value) {
  Decimal d;
  return Decode(bcd, d) && ToScaledInt64(d, 0, value) == birOk;
}

Int64 BcdToInt64(const TBcd& bcd) {
  const Decimal d = DecodeOrRaise(bcd);
  Int64 v = 0;
  if (ToScaledInt64(d, 0, v) != birOk) RaiseBcdOverflow(d);
  return v;
}

String BcdToStr(const TBcd& bcd, const TFormatSettings& fs) {
  return DecimalToText(DecodeOrRaise(bcd), fs.DecimalSeparator, true);
}

bool TryStrToBcd(const String& s, TBcd& bcd, const TFormatSettings& fs) {
  Decimal d;
  if (!ParseDecimal(s, fs.DecimalSeparator, d)) return false;
  bcd = EncodeMinimal(d);
  return true;
}

TBcd StrToBcd(const String& s, const TFormatSettings& fs) {
  TBcd b;
  if (!TryStrToBcd(s, b, fs)) throw EConvertError(res::SInvalidBcd, {s});
  return b;
}

Integer BcdCompare(const TBcd& a, const TBcd& b) {
  const Decimal x = DecodeOrRaise(a);
  const Decimal y = DecodeOrRaise(b);
  const Integer sx = x.IsZero() ? 0 : (x.neg ? -1 : 1);
  const Integer sy = y.IsZero() ? 0 : (y.neg ? -1 : 1);
  if (sx != sy) return sx < sy ? -1 : 1;
  if (sx == 0) return 0;
  // Same sign: compare magnitudes, then flip for negatives.
  Integer mag = 0;
  if (x.IntDigits() != y.IntDigits()) {
    mag = x.IntDigits() < y.IntDigits() ? -1 : 1;
  } else {
    const Integer n = Max(x.count, y.count);
    for (Integer i = 0; i < n && mag == 0; ++i) {
      const Byte dx = i < x.count ? x.digit[i] : 0;
      const Byte dy = i < y.count ? y.digit[i] : 0;
      if (dx != dy) mag = dx < dy ? -1 : 1;
    }
  }
  return sx < 0 ? -mag : mag;
}

bool NormalizeBcd(const TBcd& src, TBcd& dst, Integer precision, Integer places) {
  return EncodeFixed(DecodeOrRaise(src), precision, places, dst);
}

Variant VarFMTBcdCreate(const TBcd& bcd) {
  return Variant(bcd);
}

bool VarIsFMTBcd(const Variant& v) {
  return v.VarType() == varFMTBcd;
}

TBcd VarToBcd(const Variant& v) {
  return v.AsBcd();
}

}  // namespace brevant
