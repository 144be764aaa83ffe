// Format: printf-like formatting with a heterogeneous argument list.
#pragma once

#include <initializer_list>

#include "rtl/currency.h"
#include "rtl/types.h"

namespace brevant {

class Variant;

// One argument of Format. Holds a reference to text (no copy), so an argument
// list lives only as long as the expression that formats it.
class TVarRec {
 public:
  enum Kind : Byte {
    vkInteger,
    vkInt64,
    vkExtended,
    vkString,
    vkWideString,
    vkChar,
    vkBoolean,
    vkCurrency,
    vkPointer
  };

  TVarRec(int v) : kind_(vkInteger), i64_(v) {}
  TVarRec(unsigned v) : kind_(vkInt64), i64_(v) {}
  TVarRec(long v) : kind_(vkInt64), i64_(v) {}
  TVarRec(long long v) : kind_(vkInt64), i64_(v) {}
  TVarRec(unsigned long v) : kind_(vkInt64), i64_(static_cast<Int64>(v)) {}
  TVarRec(unsigned long long v) : kind_(vkInt64), i64_(static_cast<Int64>(v)) {}
  TVarRec(short v) : kind_(vkInteger), i64_(v) {}
  TVarRec(unsigned short v) : kind_(vkInteger), i64_(v) {}
  TVarRec(double v) : kind_(vkExtended), ext_(v) {}
  TVarRec(long double v) : kind_(vkExtended), ext_(v) {}
  TVarRec(float v) : kind_(vkExtended), ext_(v) {}
  TVarRec(bool v) : kind_(vkBoolean), i64_(v) {}
  TVarRec(char v) : kind_(vkChar), i64_(static_cast<unsigned char>(v)) {}
  TVarRec(const char* v) : kind_(vkString), str_(v ? v : "") {}
  TVarRec(const String& v) : kind_(vkString), str_(v.c_str()), len_(v.size()) {}
  TVarRec(const WideString& v) : kind_(vkWideString), wstr_(&v) {}
  TVarRec(Currency v) : kind_(vkCurrency), i64_(v.Value) {}
  TVarRec(const void* v) : kind_(vkPointer), ptr_(v) {}

  Kind VType() const { return kind_; }
  Int64 AsInt64() const { return i64_; }
  Extended AsExtended() const { return ext_; }
  // The text of a string or wide-string argument, as UTF-8 (unpaired
  // surrogates become U+FFFD). Other kinds give IntToStr, FloatToStr,
  // CurrToStr, "True"/"False", the character, or 16 hex digits of a pointer.
  String AsString() const;

 private:
  Kind kind_;
  union {
    Int64 i64_;
    Extended ext_;
    const char* str_;
    const WideString* wstr_;
    const void* ptr_;
  };
  std::size_t len_ = static_cast<std::size_t>(-1);
};

using TVarRecs = std::initializer_list<TVarRec>;

// Formats like the classic routine: %[index:][-][width][.precision]type with
// the types d u e f g n m p s x (either case) and %%; '*' takes width or
// precision from the arguments (a negative width left-justifies). The index is
// 0-based and later specifiers continue after it. Extra arguments are ignored.
// - d u x: integer arguments only; precision = minimum digits; u and x show
//   int arguments as 32-bit unsigned, 64-bit ones as 64-bit; x upper case.
// - e f g n m: float, integer or currency arguments. e: FloatToStrF
//   ffExponent, precision digits (15) and 3 exponent digits
//   ("1.00000000000000E+003"); f / n: ffFixed / ffNumber with precision
//   decimals (2); g: ffGeneral with precision digits (15), no exponent padding;
//   m: ffCurrency with precision decimals (CurrencyDecimals). Currency
//   arguments are formatted exactly.
// - s: string, wide-string or char arguments; precision truncates to that
//   many bytes, never inside a UTF-8 sequence. p: pointers, 16 hex digits.
// Width pads with blanks and counts characters (code points), not bytes.
// Raises EConvertError quoting the format (res::SInvalidFormat) on a bad
// specifier, an argument of the wrong kind (%s with a number, %d with a
// bool, char or float), or a width, precision or index above 65535; and
// res::SArgumentMissing when the arguments run out. Uses the process-wide
// format settings for separators and currency.
String Format(const String& fmt, TVarRecs args);

}  // namespace brevant
