// Lexical rules shared by the two directions of the form text conversion
// (private to the classes layer).
#pragma once

#include <string_view>

#include "rtl/types.h"

namespace brevant::detail {

// Letters and the underscore start an identifier of the text form.
inline bool IsIdentStart(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}
// Identifier characters: the starting ones and digits.
inline bool IsIdentChar(char c) {
  return IsIdentStart(c) || (c >= '0' && c <= '9');
}

// Significant digits of a number's mantissa as written (trailing zeros
// count, leading ones do not); zero counts as one digit.
int SignificantDigits(std::string_view s);

// Reads a whole text as a long double. The standard parser refuses results
// below the normal range, which extended values may hold; those go through
// the C library in the "C" locale.
bool ParseExtended(const String& text, long double& value);

}  // namespace brevant::detail
