#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>

#include "rtl/exceptions.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

TFormatSettings Us() {
  return DefaultFormatSettings();
}

// Decimal comma, dot for thousands.
TFormatSettings Euro() {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = ".";
  return fs;
}

constexpr long double kInf = std::numeric_limits<long double>::infinity();
constexpr long double kNaN = std::numeric_limits<long double>::quiet_NaN();

}  // namespace

TEST(IntToStr, SignsAndLimits) {
  EXPECT_EQ(IntToStr(0), "0");
  EXPECT_EQ(IntToStr(-42), "-42");
  EXPECT_EQ(IntToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(IntToStr(INT64_MAX), "9223372036854775807");
  EXPECT_EQ(IntToHex(255, 4), "00FF");
  EXPECT_EQ(IntToHex(0, 0), "0");
  EXPECT_EQ(IntToHex(-1, 2), "FFFFFFFFFFFFFFFF");
  EXPECT_EQ(IntToHex(1, 1000).size(), 32u);  // width is bounded
}

TEST(StrToInt, AcceptsDecimalHexAndBlanks) {
  EXPECT_EQ(StrToInt("123"), 123);
  EXPECT_EQ(StrToInt("  -7 "), -7);
  EXPECT_EQ(StrToInt("+0007"), 7);
  EXPECT_EQ(StrToInt("$FF"), 255);
  EXPECT_EQ(StrToInt("0xff"), 255);
  EXPECT_EQ(StrToInt("-$10"), -16);
  EXPECT_EQ(StrToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
  // Unsigned hexadecimal is a bit pattern.
  EXPECT_EQ(StrToInt("$FFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("$FFFFFFFFFFFFFFFF"), -1);
  EXPECT_EQ(StrToInt64("-9223372036854775808"), INT64_MIN);
  EXPECT_EQ(StrToInt64("9223372036854775807"), INT64_MAX);
}

TEST(StrToInt, RejectsBadTextAndOverflow) {
  for (const char* bad : {"", " ", "-", "+", "12abc", "1 2", "$", "0x", "- 5", "1.0", "1e3", "٣",
                          "2147483648", "-2147483649", "$100000000", "-$80000001"}) {
    EXPECT_THROW(StrToInt(bad), EConvertError) << bad;
    Integer v = 99;
    EXPECT_FALSE(TryStrToInt(bad, v)) << bad;
    EXPECT_EQ(v, 99);
  }
  EXPECT_THROW(StrToInt64("9223372036854775808"), EConvertError);
  EXPECT_THROW(StrToInt64("-9223372036854775809"), EConvertError);
  EXPECT_THROW(StrToInt64("$10000000000000000"), EConvertError);
  EXPECT_EQ(StrToIntDef("x", 5), 5);
  EXPECT_EQ(StrToInt64Def("", -3), -3);
  try {
    StrToInt("12abc");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'12abc' is not a valid integer value");
  }
}

TEST(FloatToStr, GeneralFifteenDigits) {
  auto fs = Us();
  EXPECT_EQ(FloatToStr(0.1, fs), "0.1");
  EXPECT_EQ(FloatToStr(1e20, fs), "1E20");
  EXPECT_EQ(FloatToStr(1.5e-5, fs), "1.5E-5");
  EXPECT_EQ(FloatToStr(0.0001, fs), "0.0001");
  EXPECT_EQ(FloatToStr(123456789012345678.0, fs), "1.23456789012346E17");
  EXPECT_EQ(FloatToStr(123456789012345.0, fs), "123456789012345");
  EXPECT_EQ(FloatToStr(1e15, fs), "1E15");
  EXPECT_EQ(FloatToStr(999999999999999.9, fs), "1E15");  // rounding carries into the exponent
  EXPECT_EQ(FloatToStr(-2.5, fs), "-2.5");
  EXPECT_EQ(FloatToStr(-0.0, fs), "0");
  EXPECT_EQ(FloatToStr(1.0 / 3, fs), "0.333333333333333");
  EXPECT_EQ(FloatToStr(2.0 / 3, fs), "0.666666666666667");
  EXPECT_EQ(FloatToStr(1.5, Euro()), "1,5");
  EXPECT_EQ(FloatToStr(kNaN, fs), "NAN");
  EXPECT_EQ(FloatToStr(kInf, fs), "INF");
  EXPECT_EQ(FloatToStr(-kInf, fs), "-INF");
}

TEST(FloatToStr, ExtremesAndDenormals) {
  auto fs = Us();
  EXPECT_EQ(FloatToStr(DBL_MAX, fs), "1.79769313486232E308");
  EXPECT_EQ(FloatToStr(4.9406564584124654e-324, fs), "4.94065645841247E-324");
  EXPECT_EQ(FloatToStr(LDBL_MAX, fs), "1.18973149535723E4932");
  EXPECT_EQ(FloatToStr(LDBL_TRUE_MIN, fs), "3.64519953188247E-4951");
  EXPECT_EQ(FloatToStr(1e4000L, fs), "1E4000");
  EXPECT_EQ(FloatToStr(0.1L, fs), "0.1");
}

TEST(FloatToStrF, GeneralWithExponentDigits) {
  auto fs = Us();
  // The calculator's form: 18 digits, exponents of at least 4 digits.
  EXPECT_EQ(FloatToStrF(1e20L, ffGeneral, 18, 4, fs), "1E0020");
  EXPECT_EQ(FloatToStrF(-1.5e-7L, ffGeneral, 18, 4, fs), "-1.5E-0007");
  EXPECT_EQ(FloatToStrF(0.1L, ffGeneral, 18, 4, fs), "0.1");
  EXPECT_EQ(FloatToStrF(1.0L / 3, ffGeneral, 18, 4, fs), "0.333333333333333333");
  EXPECT_EQ(FloatToStrF(123456789012345678.0L, ffGeneral, 18, 4, fs), "123456789012345678");
  // The text reads back to the same value.
  long double third = 1.0L / 3;
  EXPECT_EQ(StrToFloat(FloatToStrF(third, ffGeneral, 21, 4, fs), fs), third);
  // Precision beyond the useful range is clamped, not honoured.
  EXPECT_EQ(FloatToStrF(0.5L, ffGeneral, 100000, 100000, fs), "0.5");
  EXPECT_EQ(FloatToStrF(0.5L, ffGeneral, -5, -5, fs), "0.5");
}

TEST(FloatToStrF, ExponentFixedNumberCurrency) {
  auto fs = Us();
  EXPECT_EQ(FloatToStrF(1000.0, ffExponent, 15, 3, fs), "1.00000000000000E+003");
  EXPECT_EQ(FloatToStrF(-0.125, ffExponent, 2, 0, fs), "-1.3E-1");  // half away from zero
  EXPECT_EQ(FloatToStrF(0.0, ffExponent, 3, 2, fs), "0.00E+00");
  EXPECT_EQ(FloatToStrF(1234.5, ffFixed, 15, 2, fs), "1234.50");
  EXPECT_EQ(FloatToStrF(2.5, ffFixed, 15, 0, fs), "3");
  EXPECT_EQ(FloatToStrF(0.125, ffFixed, 15, 2, fs), "0.13");
  EXPECT_EQ(FloatToStrF(-0.001, ffFixed, 15, 2, fs), "0.00");     // no sign on a zero result
  EXPECT_EQ(FloatToStrF(123.456, ffFixed, 4, 3, fs), "123.500");  // precision limits digits
  EXPECT_EQ(FloatToStrF(1e20, ffFixed, 15, 2, fs), "1E20");
  EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2, fs), "1,234,567.89");
  EXPECT_EQ(FloatToStrF(-999.999, ffNumber, 15, 2, fs), "-1,000.00");
  EXPECT_EQ(FloatToStrF(1234567.891, ffNumber, 15, 2, Euro()), "1.234.567,89");
  EXPECT_EQ(FloatToStrF(1234.5, ffCurrency, 15, 2, fs), "$1,234.50");
  EXPECT_EQ(FloatToStrF(-1, ffCurrency, 15, 2, fs), "($1.00)");
  EXPECT_EQ(FloatToStrF(0.1, ffFixed, 15, 1000, fs).size(), 42u);  // decimals clamp to 40
}

namespace {

// One FormatFloat case: the format, the value and the text wanted.
struct TFormatFloatRow {
  const char* name;      // what the row shows
  const char* format;    // the format string
  long double value;     // the value formatted
  const char* expected;  // the text wanted
  bool euro = false;     // formatted with Euro() instead of Us()
};

void ExpectFormatFloat(std::initializer_list<TFormatFloatRow> rows) {
  for (const TFormatFloatRow& row : rows) {
    EXPECT_EQ(FormatFloat(row.format, row.value, row.euro ? Euro() : Us()), row.expected)
        << row.name;
  }
}

}  // namespace

TEST(FormatFloat, Placeholders) {
  ExpectFormatFloat({
      {"two decimals", "0.00", 3.14159, "3.14"},
      {"half below one rounds up", "0", 0.5, "1"},
      {"one and a half rounds up", "0", 1.5, "2"},
      {"two and a half rounds away from zero", "0", 2.5, "3"},
      {"small negative loses its sign", "0", -0.4, "0"},
      {"1.005 is stored below the half", "0.00", 1.005, "1.00"},
      {"an exact half", "0.00", 1.125, "1.13"},
      {"leading zeros", "000", 7, "007"},
      {"optional integer digit", "#.##", 0.5, ".5"},
      {"optional decimals dropped", "#.##", 5, "5"},
      {"zero with only optional digits", "#", 0, ""},
      {"optional second decimal unused", "0.0#", 1.5, "1.5"},
      {"optional second decimal used", "0.0#", 1.257, "1.26"},
      {"literal between digits", "00-00", 1234, "12-34"},
      {"extra digits go left of the literal", "00-00", 123456, "1234-56"},
      {"decimals without integer placeholder", ".00", 12.5, "12.50"},
      {"empty format is general", "", 1e20, "1E20"},
      {"NaN", "0.00", kNaN, "NAN"},
      {"18 digits, then zeros", "0", 1e30, "1000000000000000020000000000000"},
  });
}

TEST(FormatFloat, ThousandsLiteralsAndSections) {
  ExpectFormatFloat({
      {"thousands", "#,", 1234567, "1,234,567"},
      {"thousands on a short number", "#,", 123, "123"},
      {"a comma never scales", "0.00,", 1234.5, "1,234.50"},
      {"other separators", "#,##0.00", 1234567.891, "1.234.567,89", true},
      {"currency symbol literal", "$#,##0", 12, "$12"},
      {"quoted literals", "'#,0;'0\"%\"", 5, "#,0;5%"},
      {"negative section", "#,##0.00;(#,##0.00)", -1234.5, "(1,234.50)"},
      {"empty negative section", "#,##0.00;;Zero", -1234.5, "-1,234.50"},
      {"zero section", "0.00;(0.00);Zero", 0, "Zero"},
      {"rounds to zero", "0.00;(0.00);Zero", -0.001, "Zero"},
      {"rounds to zero without zero section", "0.00;(0.00)", -0.001, "0.00"},
      {"quoted section separator", "0.0;'a;b'0", -2, "a;b2"},
  });
}

TEST(FormatFloat, Exponents) {
  ExpectFormatFloat({
      {"signed exponent", "0.00E+00", 1234.5, "1.23E+03"},
      {"two integer digits", "00.00E+00", 1234.5, "12.35E+02"},
      {"sign only when negative", "0.0E-0", 1234.5, "1.2E3"},
      {"lower case, padded", "0.0e-0000", 0.00012, "1.2e-0004"},
      {"no integer digit", ".00E+00", 1234.5, ".12E+04"},
      {"zero", "0.##E+0", 0, "0E+0"},
      {"rounding carries into the exponent", "0.0E+0", 9.96, "1.0E+1"},
      {"extended range", "0E+0", 1e-4000L, "1E-4000"},
  });
}

TEST(StrToFloat, AcceptsNumbers) {
  auto fs = Us();
  EXPECT_EQ(StrToFloat("1.5", fs), 1.5L);
  EXPECT_EQ(StrToFloat("  -0.25  ", fs), -0.25L);
  EXPECT_EQ(StrToFloat(".5", fs), 0.5L);
  EXPECT_EQ(StrToFloat("5.", fs), 5.0L);
  EXPECT_EQ(StrToFloat("1E0020", fs), 1e20L);
  EXPECT_EQ(StrToFloat("1e-3", fs), 1e-3L);
  EXPECT_EQ(StrToFloat("+2E+2", fs), 200.0L);
  EXPECT_EQ(StrToFloat("0.1", fs), 0.1L);  // correctly rounded in extended precision
  EXPECT_EQ(StrToFloat("1,5", Euro()), 1.5L);
  EXPECT_EQ(StrToFloat("1e-99999", fs), 0.0L);  // underflow gives zero
  EXPECT_TRUE(std::signbit(StrToFloat("-0", fs)));
  double d = 0;
  EXPECT_TRUE(TryStrToFloat("0.1", d, fs));
  EXPECT_EQ(d, 0.1);
  EXPECT_FALSE(TryStrToFloat("1e400", d, fs));  // beyond double, within extended
  long double e = 0;
  EXPECT_TRUE(TryStrToFloat("1e400", e, fs));
  EXPECT_EQ(StrToFloatDef("x", 2.5L, fs), 2.5L);
}

TEST(StrToFloat, RejectsText) {
  auto fs = Us();
  for (const char* bad : {"", "  ", "-", "+", ".", "1e", "1e+", "12abc", "1,000", "1.5.5", "INF",
                          "nan", "0x10", "1 000", "e5", "1e400000"}) {
    EXPECT_THROW(StrToFloat(bad, fs), EConvertError) << bad;
  }
  EXPECT_THROW(StrToFloat("1.5", Euro()), EConvertError);
  try {
    StrToFloat("abc", fs);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'abc' is not a valid floating point value");
  }
}

TEST(Round, HalvesToEven) {
  EXPECT_EQ(Round(2.5), 2);
  EXPECT_EQ(Round(3.5), 4);
  EXPECT_EQ(Round(-2.5), -2);
  EXPECT_EQ(Round(-3.5), -4);
  EXPECT_EQ(Round(2.4999999999999996), 2);
  EXPECT_EQ(Round(-0.5), 0);
  EXPECT_EQ(Round(-9223372036854775808.0L), INT64_MIN);
  EXPECT_THROW(Round(9223372036854775808.0L), EOverflow);
  EXPECT_THROW(Round(kNaN), EInvalidOp);
  EXPECT_THROW(Round(kInf), EInvalidOp);
  EXPECT_EQ(Trunc(-2.9), -2);
  EXPECT_THROW(Trunc(1e19), EOverflow);
  EXPECT_EQ(Int(-2.75L), -2.0L);
  EXPECT_EQ(Frac(-2.75L), -0.75L);
}

TEST(MulDiv, RoundsHalvesAwayFromZero) {
  EXPECT_EQ(MulDiv(100, 4, 3), 133);
  EXPECT_EQ(MulDiv(200, 2, 3), 133);
  EXPECT_EQ(MulDiv(2, 3, 4), 2);
  EXPECT_EQ(MulDiv(-2, 3, 4), -2);
  EXPECT_EQ(MulDiv(2, -3, 4), -2);
  EXPECT_EQ(MulDiv(2, 3, -4), -2);
  EXPECT_EQ(MulDiv(-2, -3, -4), -2);
  EXPECT_EQ(MulDiv(1, 1, 3), 0);
  EXPECT_EQ(MulDiv(INT32_MAX, INT32_MAX, INT32_MAX), INT32_MAX);
  EXPECT_EQ(MulDiv(INT32_MIN, INT32_MIN, INT32_MIN), INT32_MIN);
  EXPECT_EQ(MulDiv(5, 5, 0), -1);
  EXPECT_EQ(MulDiv(INT32_MAX, 2, 1), -1);  // result out of range
}

TEST(CheckFloat, DetectsFailures) {
  EXPECT_EQ(CheckFloat(1.5L), 1.5L);
  EXPECT_THROW(CheckFloat(kNaN), EInvalidOp);
  EXPECT_THROW(CheckFloat(-kInf), EOverflow);
  EXPECT_EQ(FloatDivide(1, 4), 0.25L);
  EXPECT_THROW(FloatDivide(1, 0), EZeroDivide);
  EXPECT_THROW(FloatDivide(-1, -0.0L), EZeroDivide);
  EXPECT_THROW(FloatDivide(0, 0), EInvalidOp);
  EXPECT_THROW(FloatDivide(LDBL_MAX, 0.5L), EOverflow);
  try {
    FloatDivide(1, 0);
  } catch (const EZeroDivide& e) {
    EXPECT_EQ(e.Message(), "Floating point division by zero");
  }
}
