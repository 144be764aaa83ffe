// Helpers the field class files share for reading record buffers and
// writing range messages.
#pragma once

#include <algorithm>
#include <cstring>

#include "rtl/format_settings.h"

namespace brevant::field_util {

inline bool IsDigit(char32_t ch) {
  return ch >= '0' && ch <= '9';
}

// Reads a value of type T out of a record buffer.
template <class T>
T Load(const Byte* p) {
  T v;
  std::memcpy(&v, p, sizeof(T));
  return v;
}

// "999.99" for precision 5 and 2 decimals: the largest value that fits.
inline String Nines(Integer precision, Integer decimals) {
  String s(static_cast<std::size_t>(std::max(precision - decimals, 1)), '9');
  if (decimals > 0) s += FormatSettings().DecimalSeparator + String(decimals, '9');
  return s;
}

}  // namespace brevant::field_util
