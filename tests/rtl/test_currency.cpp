#include <gtest/gtest.h>

#include <limits>

#include "rtl/exceptions.h"
#include "rtl/numconv.h"

using namespace brevant;

namespace {

Currency C(Int64 raw) {
  return Currency::FromRaw(raw);
}

TFormatSettings Euro() {
  TFormatSettings fs = DefaultFormatSettings();
  fs.DecimalSeparator = ',';
  fs.ThousandSeparator = ".";
  fs.CurrencyString = "€";
  fs.CurrencyFormat = 3;  // "1 $"
  fs.NegCurrFormat = 8;   // "-1 $"
  return fs;
}

}  // namespace

TEST(Currency, FromDoubleRoundsHalvesToEven) {
  EXPECT_EQ(Currency::FromDouble(1.23456).Value, 12346);
  // 1/32 is 312.5 ten-thousandths exactly: halves go to even.
  EXPECT_EQ(Currency::FromDouble(0.03125).Value, 312);
  EXPECT_EQ(Currency::FromDouble(0.09375).Value, 938);
  EXPECT_EQ(Currency::FromDouble(-0.03125).Value, -312);
  EXPECT_EQ(Currency::FromDouble(0.1).Value, 1000);
  EXPECT_EQ(Currency::FromDouble(-900000000000000.0).Value, -9000000000000000000);
  EXPECT_THROW(Currency::FromDouble(922337203685477.6L), EOverflow);
  EXPECT_THROW(Currency::FromDouble(1e300), EOverflow);
  EXPECT_THROW(Currency::FromDouble(std::numeric_limits<double>::quiet_NaN()), EInvalidOp);
  EXPECT_THROW(Currency::FromDouble(std::numeric_limits<double>::infinity()), EOverflow);
  EXPECT_EQ(Currency::FromDouble(1e-300).Value, 0);
}

TEST(Currency, ArithmeticIsRangeChecked) {
  EXPECT_EQ((C(15000) + C(5000)).Value, 20000);
  EXPECT_EQ((C(15000) - C(25000)).Value, -10000);
  EXPECT_EQ((-C(5)).Value, -5);
  EXPECT_THROW(C(INT64_MAX) + C(1), EOverflow);
  EXPECT_THROW(C(INT64_MIN) - C(1), EOverflow);
  EXPECT_THROW(-C(INT64_MIN), EOverflow);
  EXPECT_EQ(Currency::FromInt(-3).Value, -30000);
  EXPECT_THROW(Currency::FromInt(INT64_MAX / 1000), EOverflow);
  EXPECT_EQ(C(15000).ToDouble(), 1.5);
}

TEST(CurrToStr, GeneralForm) {
  auto fs = DefaultFormatSettings();
  EXPECT_EQ(CurrToStr(C(15000), fs), "1.5");
  EXPECT_EQ(CurrToStr(C(10000), fs), "1");
  EXPECT_EQ(CurrToStr(C(-1), fs), "-0.0001");
  EXPECT_EQ(CurrToStr(C(0), fs), "0");
  EXPECT_EQ(CurrToStr(C(INT64_MAX), fs), "922337203685477.5807");
  EXPECT_EQ(CurrToStr(C(INT64_MIN), fs), "-922337203685477.5808");
  EXPECT_EQ(CurrToStr(C(12345), Euro()), "1,2345");
}

TEST(CurrToStrF, Formats) {
  auto fs = DefaultFormatSettings();
  EXPECT_EQ(CurrToStrF(C(12345000), ffFixed, 2, fs), "1234.50");
  EXPECT_EQ(CurrToStrF(C(12345000), ffNumber, 2, fs), "1,234.50");
  EXPECT_EQ(CurrToStrF(C(12345000), ffCurrency, 2, fs), "$1,234.50");
  EXPECT_EQ(CurrToStrF(C(-10000), ffCurrency, 2, fs), "($1.00)");
  EXPECT_EQ(CurrToStrF(C(10050), ffFixed, 2, fs), "1.01");  // exact half, away from zero
  EXPECT_EQ(CurrToStrF(C(-10050), ffFixed, 2, fs), "-1.01");
  EXPECT_EQ(CurrToStrF(C(-49), ffFixed, 2, fs), "0.00");
  EXPECT_EQ(CurrToStrF(C(-49), ffCurrency, 2, fs), "$0.00");
  EXPECT_EQ(CurrToStrF(C(15000), ffFixed, 6, fs), "1.500000");
  EXPECT_EQ(CurrToStrF(C(15000), ffGeneral, 6, fs), "1.5");
  EXPECT_EQ(CurrToStrF(C(INT64_MIN), ffNumber, 4, fs), "-922,337,203,685,477.5808");
  EXPECT_EQ(CurrToStrF(C(12345000), ffCurrency, 2, Euro()), "1.234,50 €");
  EXPECT_EQ(CurrToStrF(C(-12345000), ffCurrency, 2, Euro()), "-1.234,50 €");
}

TEST(CurrToStrF, EveryNegativeLayout) {
  auto fs = DefaultFormatSettings();
  const char* expected[] = {"($1.00)", "-$1.00",  "$-1.00",   "$1.00-",  "(1.00$)", "-1.00$",
                            "1.00-$",  "1.00$-",  "-1.00 $",  "-$ 1.00", "1.00 $-", "$ 1.00-",
                            "$ -1.00", "1.00- $", "($ 1.00)", "(1.00 $)"};
  for (int i = 0; i < 16; ++i) {
    fs.NegCurrFormat = static_cast<Byte>(i);
    EXPECT_EQ(CurrToStrF(C(-10000), ffCurrency, 2, fs), expected[i]) << i;
  }
  fs.NegCurrFormat = 200;  // out of range: the first layout
  EXPECT_EQ(CurrToStrF(C(-10000), ffCurrency, 2, fs), "($1.00)");
  const char* positive[] = {"$1.00", "1.00$", "$ 1.00", "1.00 $"};
  for (int i = 0; i < 4; ++i) {
    fs.CurrencyFormat = static_cast<Byte>(i);
    EXPECT_EQ(CurrToStrF(C(10000), ffCurrency, 2, fs), positive[i]) << i;
  }
}

TEST(StrToCurr, ExactDecimalParsing) {
  auto fs = DefaultFormatSettings();
  EXPECT_EQ(StrToCurr("0.1", fs).Value, 1000);
  EXPECT_EQ(StrToCurr(" -1.5 ", fs).Value, -15000);
  EXPECT_EQ(StrToCurr("922337203685477.5807", fs).Value, INT64_MAX);
  EXPECT_EQ(StrToCurr("-922337203685477.5808", fs).Value, INT64_MIN);
  EXPECT_EQ(StrToCurr("0.00005", fs).Value, 0);  // half to even
  EXPECT_EQ(StrToCurr("0.00015", fs).Value, 2);
  EXPECT_EQ(StrToCurr("0.000150001", fs).Value, 2);
  EXPECT_EQ(StrToCurr("0.00025", fs).Value, 2);
  EXPECT_EQ(StrToCurr("0.000250001", fs).Value, 3);
  EXPECT_EQ(StrToCurr("1.5e3", fs).Value, 15000000);
  EXPECT_EQ(StrToCurr("15e-5", fs).Value, 2);
  EXPECT_EQ(StrToCurr("0e999999999999999999", fs).Value, 0);
  EXPECT_EQ(StrToCurr("1e-999999999999999999", fs).Value, 0);
  EXPECT_EQ(StrToCurr("000000000000000000000000001", fs).Value, 10000);
  EXPECT_EQ(StrToCurr("922337203685477.58074", fs).Value, INT64_MAX);  // rounds down into range
  EXPECT_EQ(StrToCurr("1,25", Euro()).Value, 12500);
}

TEST(StrToCurr, RejectsTextAndOverflow) {
  auto fs = DefaultFormatSettings();
  for (const char* bad :
       {"", "-", "abc", "1.2.3", "1,000", "$1", "1e", "922337203685477.5808",
        "922337203685477.58075", "-922337203685477.5809", "1e15", "1e999999999999"}) {
    EXPECT_THROW(StrToCurr(bad, fs), EConvertError) << bad;
    Currency c = C(7);
    EXPECT_FALSE(TryStrToCurr(bad, c, fs)) << bad;
    EXPECT_EQ(c.Value, 7);
  }
  try {
    StrToCurr("x1", fs);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'x1' is not a valid currency value");
  }
}

TEST(FormatCurr, ExactDigits) {
  auto fs = DefaultFormatSettings();
  EXPECT_EQ(FormatCurr("0.00", C(10050), fs), "1.01");
  EXPECT_EQ(FormatCurr("#,##0.0000", C(INT64_MAX), fs), "922,337,203,685,477.5807");
  EXPECT_EQ(FormatCurr("0.00;(0.00)", C(-12345), fs), "(1.23)");
  EXPECT_EQ(FormatCurr("0.00;(0.00);-", C(-49), fs), "-");
  EXPECT_EQ(FormatCurr("", C(15000), fs), "1.5");
  EXPECT_EQ(FormatCurr("0.0E+00", C(12345000), fs), "1.2E+03");
}
