#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "rtl/bcd.h"
#include "rtl/exceptions.h"
#include "rtl/variant.h"

using namespace brevant;

namespace {

TFormatSettings CommaSettings() {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  return fs;
}

String Str(const TBcd& b) {
  return BcdToStr(b, DefaultFormatSettings());
}
TBcd Bcd(const String& s) {
  return StrToBcd(s, DefaultFormatSettings());
}

}  // namespace

TEST(Bcd, LayoutPacksDigitsHighNibbleFirst) {
  const TBcd b = Bcd("-1.2346");
  EXPECT_EQ(b.Precision, 5);
  EXPECT_EQ(BcdScale(b), 4);
  EXPECT_TRUE(b.SignSpecialPlaces & BcdSignBit);
  EXPECT_EQ(b.Fraction[0], 0x12);
  EXPECT_EQ(b.Fraction[1], 0x34);
  EXPECT_EQ(b.Fraction[2], 0x60);
  EXPECT_EQ(b.Fraction[3], 0x00);

  TBcd c;
  ASSERT_TRUE(CurrToBCD(Currency::FromRaw(12346), c));  // 1.2346, precision 32 scale 4
  EXPECT_EQ(c.Precision, 32);
  EXPECT_EQ(BcdScale(c), 4);
  EXPECT_EQ(c.Fraction[13], 0x01);  // digit 27 is the units digit
  EXPECT_EQ(c.Fraction[14], 0x23);
  EXPECT_EQ(c.Fraction[15], 0x46);
  EXPECT_EQ(Str(c), "1.2346");
}

TEST(Bcd, NullAndZero) {
  EXPECT_TRUE(IsBcdNull(NullBcd));
  EXPECT_EQ(Str(NullBcd), "0");
  EXPECT_EQ(BcdToDouble(NullBcd), 0.0);
  EXPECT_EQ(BCDToCurr(NullBcd), Currency());
  EXPECT_EQ(BcdCompare(NullBcd, Bcd("0.00")), 0);

  const TBcd negZero = Bcd("-0");
  EXPECT_FALSE(IsBcdNegative(negZero));
  EXPECT_FALSE(negZero.SignSpecialPlaces & BcdSignBit);
  EXPECT_EQ(Str(negZero), "0");
  EXPECT_EQ(Str(Bcd("-0.000")), "0");
  EXPECT_EQ(BcdScale(Bcd("0.000")), 3);
  EXPECT_EQ(Str(DoubleToBcd(-0.0)), "0");

  // A sign bit on an all-zero record is not a negative value.
  TBcd z = Bcd("0");
  z.SignSpecialPlaces |= BcdSignBit;
  EXPECT_FALSE(IsBcdNegative(z));
  EXPECT_TRUE(IsBcdZero(z));
}

TEST(Bcd, CurrencyRoundTrips) {
  for (Int64 raw :
       {Int64(0), Int64(1), Int64(-1), Int64(12346), Int64(-15000), INT64_MAX, INT64_MIN}) {
    TBcd b;
    ASSERT_TRUE(CurrToBCD(Currency::FromRaw(raw), b)) << raw;
    EXPECT_EQ(BCDToCurr(b).Value, raw);
  }
  TBcd b;
  ASSERT_TRUE(CurrToBCD(Currency::FromRaw(INT64_MIN), b));
  EXPECT_EQ(Str(b), "-922337203685477.5808");

  // Fewer decimals round half to even; too small a precision fails.
  ASSERT_TRUE(CurrToBCD(Currency::FromRaw(12350), b, 10, 2));
  EXPECT_EQ(Str(b), "1.24");
  ASSERT_TRUE(CurrToBCD(Currency::FromRaw(12250), b, 10, 2));
  EXPECT_EQ(Str(b), "1.22");
  const TBcd before = b;
  EXPECT_FALSE(CurrToBCD(Currency::FromInt(1000), b, 5, 2));
  EXPECT_EQ(BcdCompare(b, before), 0);
  EXPECT_FALSE(CurrToBCD(Currency::FromInt(1), b, 0, 0));
  EXPECT_FALSE(CurrToBCD(Currency::FromInt(1), b, 65, 4));
  EXPECT_FALSE(CurrToBCD(Currency::FromInt(1), b, 4, 5));
}

TEST(Bcd, BcdToCurrRoundsAndChecksRange) {
  EXPECT_EQ(BCDToCurr(Bcd("1.23455")).Value, 12346);  // ...5 after an odd digit: up
  EXPECT_EQ(BCDToCurr(Bcd("1.23445")).Value, 12344);  // ...5 after an even digit: down
  EXPECT_EQ(BCDToCurr(Bcd("1.234450001")).Value, 12345);
  EXPECT_EQ(BCDToCurr(Bcd("-1.23455")).Value, -12346);
  EXPECT_EQ(BCDToCurr(Bcd("-922337203685477.5808")).Value, INT64_MIN);
  EXPECT_THROW(BCDToCurr(Bcd("922337203685477.5808")), EOverflow);
  EXPECT_THROW(BCDToCurr(Bcd("1E30")), EOverflow);
  Currency c;
  EXPECT_FALSE(TryBCDToCurr(Bcd("1E30"), c));
}

TEST(Bcd, NormalizeRoundsHalfEvenAndChecksFit) {
  TBcd dst;
  ASSERT_TRUE(NormalizeBcd(DoubleToBcd(1.23456), dst, 32, 4));
  EXPECT_EQ(Str(dst), "1.2346");
  EXPECT_EQ(dst.Precision, 32);
  EXPECT_EQ(BcdScale(dst), 4);
  ASSERT_TRUE(NormalizeBcd(Bcd("2.5"), dst, 5, 0));
  EXPECT_EQ(Str(dst), "2");
  ASSERT_TRUE(NormalizeBcd(Bcd("-9.99"), dst, 3, 1));
  EXPECT_EQ(Str(dst), "-10");  // the carry adds an integer digit
  ASSERT_TRUE(NormalizeBcd(Bcd("0.00004"), dst, 4, 4));
  EXPECT_FALSE(IsBcdNegative(dst));
  EXPECT_EQ(Str(dst), "0");
  ASSERT_TRUE(NormalizeBcd(Bcd("1.5"), dst, 6, 3));
  EXPECT_EQ(BcdScale(dst), 3);
  EXPECT_EQ(BcdCompare(dst, Bcd("1.5")), 0);

  const TBcd before = dst;
  EXPECT_FALSE(NormalizeBcd(Bcd("123.4"), dst, 4, 2));
  EXPECT_FALSE(NormalizeBcd(Bcd("9.99"), dst, 2, 1));  // rounds to 10.0
  EXPECT_FALSE(NormalizeBcd(Bcd("1"), dst, 65, 0));
  EXPECT_FALSE(NormalizeBcd(Bcd("1"), dst, 64, 64));
  EXPECT_EQ(BcdCompare(dst, before), 0);
}

TEST(Bcd, ToStrTrimsDecimalsAndUsesSeparator) {
  EXPECT_EQ(Str(Bcd("1.5000")), "1.5");
  EXPECT_EQ(Str(Bcd("2.000")), "2");
  EXPECT_EQ(Str(Bcd("000123.45")), "123.45");
  EXPECT_EQ(Str(Bcd("-0.05")), "-0.05");
  EXPECT_EQ(BcdToStr(Bcd("-1234.5"), CommaSettings()), "-1234,5");

  const String digits64(64, '7');
  EXPECT_EQ(Str(Bcd(digits64)), digits64);
  const String frac63 = "0." + String(62, '0') + "1";
  EXPECT_EQ(Str(Bcd(frac63)), frac63);
  EXPECT_EQ(BcdScale(Bcd(frac63)), 63);
}

TEST(Bcd, StrToBcdAcceptsNumberForms) {
  EXPECT_EQ(BcdScale(Bcd(" +12.50 ")), 2);
  EXPECT_EQ(Str(Bcd(" +12.50 ")), "12.5");
  EXPECT_EQ(Str(Bcd(".5")), "0.5");
  EXPECT_EQ(Str(Bcd("5.")), "5");
  EXPECT_EQ(Str(Bcd("1E3")), "1000");
  EXPECT_EQ(Str(Bcd("1.5e-3")), "0.0015");
  EXPECT_EQ(Str(Bcd("-12.5E+1")), "-125");
  EXPECT_EQ(Str(Bcd("0E99999999999")), "0");
  EXPECT_EQ(Str(StrToBcd("3,25", CommaSettings())), "3.25");
  // Trailing decimal zeros beyond what a record holds are dropped losslessly.
  EXPECT_EQ(Str(Bcd("0.1" + String(80, '0'))), "0.1");
  EXPECT_EQ(Str(Bcd(String(70, '0') + "42")), "42");
}

TEST(Bcd, StrToBcdRejectsJunkQuotingTheText) {
  for (const char* junk : {"", "  ", "abc", "1.2.3", "1e", "1e+", "--1", "+-1", "1,5", "1 2",
                           "0x10", "1.5x", ".", "-", "E5", "NaN", "INF"}) {
    TBcd b;
    EXPECT_FALSE(TryStrToBcd(junk, b, DefaultFormatSettings())) << junk;
    EXPECT_THROW(Bcd(junk), EConvertError) << junk;
  }
  try {
    Bcd("12x");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_NE(e.Message().find("'12x'"), String::npos) << e.Message();
  }
  // 65 significant digits, or a decimal beyond the 63rd, cannot be held.
  EXPECT_THROW(Bcd(String(65, '1')), EConvertError);
  EXPECT_THROW(Bcd("1" + String(64, '0')), EConvertError);
  EXPECT_THROW(Bcd("1E64"), EConvertError);
  EXPECT_THROW(Bcd("1E-64"), EConvertError);
  EXPECT_THROW(Bcd("1E99999999999999999999"), EConvertError);
  EXPECT_NO_THROW(Bcd("1E63"));
  EXPECT_NO_THROW(Bcd("1E-63"));
}

TEST(Bcd, CompareIgnoresPrecisionAndScale) {
  EXPECT_EQ(BcdCompare(Bcd("1.5"), Bcd("1.50000")), 0);
  EXPECT_EQ(BcdCompare(Bcd("0001.5"), Bcd("1.5")), 0);
  EXPECT_LT(BcdCompare(Bcd("1.49"), Bcd("1.5")), 0);
  EXPECT_GT(BcdCompare(Bcd("10"), Bcd("9.999")), 0);
  EXPECT_LT(BcdCompare(Bcd("-10"), Bcd("-9.999")), 0);
  EXPECT_LT(BcdCompare(Bcd("-0.001"), Bcd("0")), 0);
  EXPECT_GT(BcdCompare(Bcd("0.001"), Bcd("-0")), 0);
  EXPECT_EQ(BcdCompare(Bcd("-0"), Bcd("0")), 0);
  TBcd c;
  CurrToBCD(Currency::FromRaw(15000), c);
  EXPECT_EQ(BcdCompare(c, Bcd("1.5")), 0);
}

TEST(Bcd, DoubleConversions) {
  EXPECT_EQ(Str(DoubleToBcd(0.1)), "0.1");
  EXPECT_EQ(Str(DoubleToBcd(1.23456)), "1.23456");
  EXPECT_EQ(Str(DoubleToBcd(-2.5)), "-2.5");
  EXPECT_EQ(Str(DoubleToBcd(0.1 + 0.2)), "0.3");  // 15 significant digits
  EXPECT_EQ(Str(DoubleToBcd(1e20)), "100000000000000000000");
  EXPECT_EQ(Str(DoubleToBcd(1e-5)), "0.00001");
  EXPECT_EQ(Str(DoubleToBcd(123456789.125)), "123456789.125");
  EXPECT_EQ(Str(DoubleToBcd(1e-70)), "0");
  EXPECT_EQ(Str(DoubleToBcd(6e-64)), "0." + String(62, '0') + "1");
  EXPECT_THROW(DoubleToBcd(1e64), EOverflow);
  EXPECT_THROW(DoubleToBcd(NAN), EConvertError);
  EXPECT_THROW(DoubleToBcd(-INFINITY), EConvertError);

  EXPECT_EQ(BcdToDouble(Bcd("0.1")), 0.1);
  EXPECT_EQ(BcdToDouble(Bcd("-1.2346")), -1.2346);
  EXPECT_EQ(BcdToDouble(Bcd(String(64, '9'))), 1e64);
  for (double d : {0.1, 1.23456, -7.0, 3.14159265358979, 1e-10, 98765.4321}) {
    EXPECT_EQ(BcdToDouble(DoubleToBcd(d)), d) << d;
  }
}

TEST(Bcd, IntegerConversions) {
  EXPECT_EQ(Str(IntegerToBcd(INT64_MIN)), "-9223372036854775808");
  EXPECT_EQ(BcdToInt64(IntegerToBcd(INT64_MIN)), INT64_MIN);
  EXPECT_EQ(BcdToInt64(IntegerToBcd(INT64_MAX)), INT64_MAX);
  EXPECT_EQ(IntegerToBcd(0).Precision, 1);
  EXPECT_EQ(BcdToInt64(Bcd("2.5")), 2);
  EXPECT_EQ(BcdToInt64(Bcd("3.5")), 4);
  EXPECT_EQ(BcdToInt64(Bcd("-2.5")), -2);
  EXPECT_EQ(BcdToInt64(Bcd("-2.51")), -3);
  EXPECT_THROW(BcdToInt64(Bcd("9223372036854775808")), EOverflow);
  Int64 v = 0;
  EXPECT_FALSE(TryBcdToInt64(Bcd("1E30"), v));
}

TEST(Bcd, MalformedRecordsAreRejected) {
  TBcd tooLong;
  tooLong.Precision = 65;
  TBcd badNibble = Bcd("12");
  badNibble.Fraction[0] = 0x1A;
  TBcd badScale;
  badScale.Precision = 2;
  badScale.SignSpecialPlaces = 3;
  for (const TBcd& b : {tooLong, badNibble, badScale}) {
    EXPECT_THROW(BcdToStr(b), EConvertError);
    EXPECT_THROW(BcdToDouble(b), EConvertError);
    EXPECT_THROW(BCDToCurr(b), EConvertError);
    EXPECT_THROW(BcdCompare(b, NullBcd), EConvertError);
    Currency c;
    EXPECT_FALSE(TryBCDToCurr(b, c));
  }
  // The special bit is carried but does not change the value.
  TBcd special = Bcd("4.5");
  special.SignSpecialPlaces |= BcdSpecialBit;
  EXPECT_EQ(BcdScale(special), 1);
  EXPECT_EQ(Str(special), "4.5");
}

TEST(Bcd, FMTBcdVariant) {
  const Variant v = VarFMTBcdCreate(Bcd("1.2346"));
  EXPECT_TRUE(VarIsFMTBcd(v));
  EXPECT_EQ(VarType(v), varFMTBcd);
  EXPECT_EQ(VarToStr(v), "1.2346");
  EXPECT_EQ(v.AsDouble(), 1.2346);
  EXPECT_EQ(v.AsCurrency().Value, 12346);
  EXPECT_EQ(v.AsInteger(), 1);
  EXPECT_EQ(VarToDateTime(v), 1.2346);
  EXPECT_EQ(BcdCompare(VarToBcd(v), Bcd("1.2346")), 0);

  EXPECT_TRUE(IsBcdNull(VarToBcd(Variant::Null())));
  EXPECT_TRUE(IsBcdNull(VarToBcd(Variant())));
  EXPECT_EQ(Str(VarToBcd(Variant("  -3.75"))), "-3.75");
  EXPECT_EQ(Str(VarToBcd(Variant(0.1f))), "0.1");
  EXPECT_EQ(Str(VarToBcd(Variant(UINT64_MAX))), "18446744073709551615");
  EXPECT_EQ(Str(VarToBcd(Variant(Currency::FromRaw(-5)))), "-0.0005");
  EXPECT_THROW(VarToBcd(Variant("junk")), EVariantError);
  EXPECT_THROW(VarToBcd(Variant(1e300)), EVariantError);
  EXPECT_THROW(VarToBcd(VarArrayOf({1})), EVariantError);
  EXPECT_THROW(Variant(Bcd("1E30")).AsCurrency(), EVariantError);
  EXPECT_THROW(Variant(Bcd("1E30")).AsInteger(), EVariantError);
}
