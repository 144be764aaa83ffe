// TBcd: a packed binary-coded decimal of up to 64 digits, and its conversions.
//
// Layout (34 bytes, stored as is in value buffers):
//   Precision          number of digits held in Fraction (0..64)
//   SignSpecialPlaces  bit 7 sign (set = negative), bit 6 "special" (kept,
//                      ignored by every routine here), bits 0-5 scale: how
//                      many of the digits lie after the decimal point
//   Fraction[32]       digits packed two per byte, most significant first,
//                      high nibble before low nibble
// So 1.2346 is Precision 5, scale 4, digits 1 2 3 4 6; CurrToBCD pads with
// leading zeros up to the requested precision.
//
// Precision 0 is the null BCD (NullBcd); every routine reads it as zero.
// A record with Precision > 64, scale > Precision or a digit nibble above 9
// is malformed: the routines raise EConvertError for it instead of reading it.
//
// Rounding, wherever digits are dropped, is half to even (1.23465 to four
// places gives 1.2346), as everywhere else in the platform's value layer.
#pragma once

#include "rtl/currency.h"
#include "rtl/format_settings.h"
#include "rtl/types.h"

namespace brevant {

class Variant;

struct TBcd {
  Byte Precision = 0;
  Byte SignSpecialPlaces = 0;
  Byte Fraction[32] = {};
};
static_assert(sizeof(TBcd) == 34, "TBcd is stored as a 34-byte record");

constexpr Integer MaxFMTBcdDigits = 64;
constexpr Integer MaxFMTBcdScale = 63;
constexpr Byte BcdSignBit = 0x80;
constexpr Byte BcdSpecialBit = 0x40;
constexpr Byte BcdScaleMask = 0x3F;

inline constexpr TBcd NullBcd{};

// The Precision field and the scale bits, as stored.
inline Integer BcdPrecision(const TBcd& bcd) {
  return bcd.Precision;
}
inline Integer BcdScale(const TBcd& bcd) {
  return bcd.SignSpecialPlaces & BcdScaleMask;
}
// True for the null BCD (Precision 0).
inline bool IsBcdNull(const TBcd& bcd) {
  return bcd.Precision == 0;
}
// True when the value is below zero (a sign bit on an all-zero value does not count).
bool IsBcdNegative(const TBcd& bcd);
bool IsBcdZero(const TBcd& bcd);

// Currency (4 decimals) into a BCD of the given precision and scale, rounding
// halves to even when decimals < 4. Answers False, leaving bcd unchanged,
// when precision is outside 1..64, decimals outside 0..min(precision, 63),
// or the integer part needs more than precision - decimals digits.
bool CurrToBCD(Currency value, TBcd& bcd, Integer precision = 32, Integer decimals = 4);
// Rounds to 4 decimals (halves to even); raises EOverflow beyond the
// currency range.
Currency BCDToCurr(const TBcd& bcd);
bool TryBCDToCurr(const TBcd& bcd, Currency& value);

// The nearest double (correctly rounded from the decimal digits).
double BcdToDouble(const TBcd& bcd);
// The double's 15-significant-digit decimal form (as FloatToStr shows it),
// with minimal precision and scale; "-0" and 0 give a positive zero. Values
// smaller than 1E-63 lose digits beyond the 63rd decimal. Raises
// EConvertError for NaN and infinities and EOverflow for magnitudes of 1E64
// or more.
TBcd DoubleToBcd(double value);
void DoubleToBcd(double value, TBcd& bcd);

// Exact; minimal precision, scale 0.
TBcd IntegerToBcd(Int64 value);
// Rounds to an integer (halves to even); raises EOverflow beyond Int64.
Int64 BcdToInt64(const TBcd& bcd);
bool TryBcdToInt64(const TBcd& bcd, Int64& value);

// Plain decimal text with the settings' decimal separator: a leading '-'
// for negatives, no thousand separators, trailing zeros after the decimal
// point dropped (1.5000 gives "1.5", 2.000 gives "2"), zero as "0".
String BcdToStr(const TBcd& bcd, const TFormatSettings& fs = FormatSettings());

// Accepts optional blanks, an optional sign, digits with at most one
// decimal separator (the settings'), and an optional exponent (E+3, e-2).
// The result keeps the written scale ("1.50" has scale 2) with leading
// integer zeros removed; "-0" is a positive zero. At most 64 significant
// digits and 63 decimals (trailing decimal zeros beyond that are dropped).
// Raises EConvertError quoting the text on anything else.
TBcd StrToBcd(const String& s, const TFormatSettings& fs = FormatSettings());
bool TryStrToBcd(const String& s, TBcd& bcd, const TFormatSettings& fs = FormatSettings());

// -1, 0 or 1 as a is numerically below, equal to or above b, whatever the
// precision and scale of either.
Integer BcdCompare(const TBcd& a, const TBcd& b);

// Re-expresses src with exactly `precision` digits and `places` decimals,
// rounding dropped decimals half to even. Answers False, leaving dst
// unchanged, for precision outside 1..64, places outside
// 0..min(precision, 63), or an integer part that does not fit.
bool NormalizeBcd(const TBcd& src, TBcd& dst, Integer precision, Integer places);

// The FMTBcd custom variant (type code varFMTBcd, see rtl/variant.h).
Variant VarFMTBcdCreate(const TBcd& bcd);
bool VarIsFMTBcd(const Variant& v);
// Null and Unassigned give NullBcd; numbers and texts are converted, other
// kinds raise EVariantError.
TBcd VarToBcd(const Variant& v);

}  // namespace brevant
