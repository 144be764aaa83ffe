// Currency arithmetic and the exact conversion from floats.
#include "rtl/currency.h"

#include <cfloat>
#include <cmath>

#include "rtl/exceptions.h"
#include "rtl/resstrings.h"

namespace brevant {

void RaiseCurrencyOverflow() {
  throw EOverflow(res::SOverflow);
}

Currency Currency::FromDouble(Extended v) {
  if (std::isnan(v)) throw EInvalidOp(res::SInvalidOp);
  if (std::isinf(v)) throw EOverflow(res::SOverflow);
  const bool neg = std::signbit(v);
  const long double a = std::fabs(v);
  if (a == 0) return Currency();
  if (a > 1e16L) throw EOverflow(res::SOverflow);
  // a = m * 2^q exactly; the scaled value m * 10000 * 2^q is rounded by
  // integer arithmetic, so no intermediate float rounding can move a half.
  using u128 = unsigned __int128;
  int e = 0;
  long double fr = std::frexp(a, &e);
  u128 m = static_cast<u128>(std::ldexp(fr, LDBL_MANT_DIG));
  int q = e - LDBL_MANT_DIG;
  u128 p = m * Scale;
  u128 r = 0;
  if (q >= 0) {
    r = p << q;  // a <= 1e16 keeps this far below 2^128
  } else if (-q < 128) {
    int s = -q;
    r = p >> s;
    u128 rem = p - (r << s);
    u128 half = static_cast<u128>(1) << (s - 1);
    if (rem > half || (rem == half && (r & 1) != 0)) ++r;
  }
  const u128 limit = static_cast<u128>(INT64_MAX) + (neg ? 1 : 0);
  if (r > limit) throw EOverflow(res::SOverflow);
  UInt64 u = static_cast<UInt64>(r);
  return FromRaw(neg ? static_cast<Int64>(0 - u) : static_cast<Int64>(u));
}

Currency operator+(Currency a, Currency b) {
  Int64 r;
  if (__builtin_add_overflow(a.Value, b.Value, &r)) throw EOverflow(res::SOverflow);
  return Currency::FromRaw(r);
}

Currency operator-(Currency a, Currency b) {
  Int64 r;
  if (__builtin_sub_overflow(a.Value, b.Value, &r)) throw EOverflow(res::SOverflow);
  return Currency::FromRaw(r);
}

}  // namespace brevant
