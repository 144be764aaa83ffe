// Currency: a signed 64-bit count of ten-thousandths.
#pragma once

#include <compare>

#include "rtl/types.h"

namespace brevant {

// Raises EOverflow: a currency result left the range.
[[noreturn]] void RaiseCurrencyOverflow();

struct Currency {
  // The scaled value: 1.5 is stored as 15000.
  Int64 Value = 0;

  static constexpr Int64 Scale = 10000;

  constexpr Currency() = default;
  static constexpr Currency FromRaw(Int64 scaled) {
    Currency c;
    c.Value = scaled;
    return c;
  }
  // Raises EOverflow outside the range.
  static constexpr Currency FromInt(Int64 units) {
    if (units > INT64_MAX / Scale || units < INT64_MIN / Scale) RaiseCurrencyOverflow();
    return FromRaw(units * Scale);
  }
  // Rounds to the nearest ten-thousandth, halves to even; raises EOverflow
  // outside the range and EInvalidOp for NaN.
  static Currency FromDouble(Extended v);

  Extended ToExtended() const { return static_cast<Extended>(Value) / Scale; }
  double ToDouble() const { return static_cast<double>(ToExtended()); }

  friend constexpr bool operator==(Currency a, Currency b) = default;
  friend constexpr auto operator<=>(Currency a, Currency b) = default;
  // Sum and difference raise EOverflow when the result leaves the range.
  friend Currency operator+(Currency a, Currency b);
  friend Currency operator-(Currency a, Currency b);
  // Negating the smallest value raises EOverflow.
  friend constexpr Currency operator-(Currency a) {
    if (a.Value == INT64_MIN) RaiseCurrencyOverflow();
    return FromRaw(-a.Value);
  }
};

constexpr Int64 MaxCurrencyRaw = INT64_MAX;  // 922337203685477.5807
constexpr Int64 MinCurrencyRaw = INT64_MIN;  // -922337203685477.5808

}  // namespace brevant
