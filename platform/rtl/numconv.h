// Integer, float and currency conversions and the numeric helpers.
#pragma once

#include "rtl/currency.h"
#include "rtl/format_settings.h"
#include "rtl/types.h"

namespace brevant {

// ---- integers -------------------------------------------------------------
String IntToStr(Int64 value);
// Upper-case hexadecimal with at least digits digits (clamped to 0..32); a
// negative value shows its 64-bit two's complement.
String IntToHex(Int64 value, Integer digits);
// Accept optional blanks around an optional sign and decimal digits, or a
// hexadecimal number written "$FF" or "0xFF". Raise EConvertError quoting the
// text on anything else or on overflow. Hexadecimal without a sign is a bit
// pattern of the result's width ("$FFFFFFFF" is -1 for StrToInt); with a sign
// its magnitude must fit like a decimal one.
Integer StrToInt(const String& s);
Int64 StrToInt64(const String& s);
Integer StrToIntDef(const String& s, Integer def);
Int64 StrToInt64Def(const String& s, Int64 def);
bool TryStrToInt(const String& s, Integer& value);
bool TryStrToInt64(const String& s, Int64& value);

// ---- floats ---------------------------------------------------------------
enum TFloatFormat : Byte { ffGeneral, ffExponent, ffFixed, ffNumber, ffCurrency };

// Float text is built from the exact binary value, rounded once, halves away
// from zero; a result that rounds to zero never carries a minus sign. The
// separators come from the settings, never from the C locale.

// General format with 15 significant digits: 0.1 -> "0.1", 1e20 -> "1E20",
// 1.5e-5 -> "1.5E-5".
String FloatToStr(Extended value, const TFormatSettings& fs = FormatSettings());
// Precision is clamped to 1..21 significant digits.
// ffGeneral: trailing zeros dropped; exponent form when the exponent is below
// -4 or at least Precision, written "E", a '-' only for negative exponents (no
// '+'), and at least Digits (0..4) exponent digits: FloatToStrF(1e20,
// ffGeneral, 18, 4) = "1E0020", 1.5e-7 -> "1.5E-0007". ffExponent:
// "d.ddd" with Precision digits, "E", always a sign, at least Digits (0..4)
// exponent digits: "1.00000000000000E+003". ffFixed / ffNumber: Digits
// (0..40) decimals, ffNumber with thousand separators; digits past Precision
// significant ones are zeros, and a value with more than Precision integer
// digits falls back to ffGeneral. ffCurrency: ffNumber inside the settings'
// currency layout. NaN gives "NAN", infinities "INF" and "-INF".
String FloatToStrF(Extended value, TFloatFormat format, Integer precision, Integer digits,
                   const TFormatSettings& fs = FormatSettings());
// Up to three ';'-separated sections (positive; negative; zero) built from
// '0', '#', '.', ',' (anywhere in a section: thousand separators on, no
// scaling), 'E+' 'E-' 'e+' 'e-' exponents, quoted literals and other
// characters copied as they stand. Rounds halves away from zero, once, from
// the binary value and to at most 18 significant digits (FormatCurr: exact):
// FormatFloat("0.00", 1.005) is "1.00" because 1.005 is stored just below.
// - An empty or missing negative section uses the first with a '-' in front.
// - A value that rounds to zero in its section is shown by the zero section
//   (or the first) without a sign: FormatFloat("0", -0.4) = "0".
// - Integer digits beyond the placeholders all appear at the first one; '0'
//   forces a digit, '#' shows only significant ones (FormatFloat("#", 0) is
//   empty). The decimal separator appears only when fraction digits follow.
// - "E+" always writes the exponent's sign, "E-" only a '-'; the '0's after it
//   give the minimum exponent digits; the mantissa has as many integer digits
//   as the section has integer placeholders.
// - An empty format gives FloatToStr (FormatCurr: CurrToStr).
String FormatFloat(const String& format, Extended value,
                   const TFormatSettings& fs = FormatSettings());
String FormatCurr(const String& format, Currency value,
                  const TFormatSettings& fs = FormatSettings());

// Accept optional blanks, a sign, digits with the settings' decimal
// separator, an optional exponent. Thousand separators, "INF", "NAN" and hex
// are not accepted; a result beyond the type's range (the double overload:
// beyond double) is rejected, one below it gives zero. The result is the
// correctly rounded value. Raises EConvertError quoting the text.
Extended StrToFloat(const String& s, const TFormatSettings& fs = FormatSettings());
Extended StrToFloatDef(const String& s, Extended def, const TFormatSettings& fs = FormatSettings());
bool TryStrToFloat(const String& s, Extended& value, const TFormatSettings& fs = FormatSettings());
bool TryStrToFloat(const String& s, double& value, const TFormatSettings& fs = FormatSettings());

// ---- currency -------------------------------------------------------------
// General format: as many decimals as needed (at most 4), no symbol.
String CurrToStr(Currency value, const TFormatSettings& fs = FormatSettings());
// Exact, halves away from zero. ffGeneral is CurrToStr; ffExponent has 15
// significant digits and Digits exponent digits; the others as FloatToStrF.
String CurrToStrF(Currency value, TFloatFormat format, Integer digits,
                  const TFormatSettings& fs = FormatSettings());
// Accepts what StrToFloat accepts, rounded to 4 decimals half to even from
// the decimal text itself (no float in between), within the currency range.
// Raises EConvertError quoting the text otherwise.
Currency StrToCurr(const String& s, const TFormatSettings& fs = FormatSettings());
bool TryStrToCurr(const String& s, Currency& value, const TFormatSettings& fs = FormatSettings());

// ---- numeric helpers -------------------------------------------------------
// Rounds halves to even; raises EInvalidOp for NaN and infinities and
// EOverflow outside the 64-bit range.
Int64 Round(Extended value);
// Towards zero, with the same checks as Round.
Int64 Trunc(Extended value);
Extended Int(Extended value);
Extended Frac(Extended value);
// (a * b) / c in 64 bits, rounded to nearest with exact halves away from
// zero; -1 when c is 0 or the result does not fit in 32 bits.
Integer MulDiv(Integer a, Integer b, Integer c);

// Raises EInvalidOp for NaN and EOverflow for an infinity; answers the value
// otherwise. Arithmetic that must report float failures passes results here.
Extended CheckFloat(Extended value);
// Division that raises EZeroDivide (x/0 with x != 0) or EInvalidOp (0/0).
Extended FloatDivide(Extended a, Extended b);

}  // namespace brevant
