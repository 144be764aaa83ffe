#include <gtest/gtest.h>

#include <cmath>

#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/sqltimestamp.h"
#include "rtl/variant.h"

using namespace brevant;

namespace {

TSQLTimeStamp Stamp(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  TSQLTimeStamp ts;
  ts.Year = static_cast<SmallInt>(y);
  ts.Month = static_cast<Word>(mo);
  ts.Day = static_cast<Word>(d);
  ts.Hour = static_cast<Word>(h);
  ts.Minute = static_cast<Word>(mi);
  ts.Second = static_cast<Word>(s);
  ts.Fractions = static_cast<Cardinal>(ms);
  return ts;
}

}  // namespace

TEST(SQLTimeStamp, Validity) {
  EXPECT_TRUE(IsSQLTimeStampNull(TSQLTimeStamp()));
  EXPECT_FALSE(IsValidTimeStamp(NullSQLTimeStamp));
  EXPECT_TRUE(IsValidTimeStamp(Stamp(2024, 2, 29, 23, 59, 59, 999)));
  EXPECT_TRUE(IsValidTimeStamp(Stamp(1, 1, 1)));
  EXPECT_TRUE(IsValidTimeStamp(Stamp(9999, 12, 31)));
  EXPECT_FALSE(IsValidTimeStamp(Stamp(2023, 2, 29)));
  EXPECT_FALSE(IsValidTimeStamp(Stamp(2024, 13, 1)));
  EXPECT_FALSE(IsValidTimeStamp(Stamp(2024, 0, 1)));
  EXPECT_FALSE(IsValidTimeStamp(Stamp(2024, 4, 31)));
  EXPECT_FALSE(IsValidTimeStamp(Stamp(2024, 1, 1, 24)));
  EXPECT_FALSE(IsValidTimeStamp(Stamp(2024, 1, 1, 0, 60)));
  EXPECT_FALSE(IsValidTimeStamp(Stamp(2024, 1, 1, 0, 0, 60)));
  EXPECT_FALSE(IsValidTimeStamp(Stamp(2024, 1, 1, 0, 0, 0, 1000)));
  EXPECT_FALSE(IsValidTimeStamp(Stamp(0, 1, 1)));
  EXPECT_FALSE(IsValidTimeStamp(Stamp(-5, 1, 1)));
}

TEST(SQLTimeStamp, ToDateTime) {
  EXPECT_EQ(SQLTimeStampToDateTime(NullSQLTimeStamp), 0.0);
  EXPECT_EQ(SQLTimeStampToDateTime(Stamp(2024, 1, 31)), EncodeDate(2024, 1, 31));
  EXPECT_EQ(SQLTimeStampToDateTime(Stamp(1899, 12, 30)), 0.0);
  EXPECT_DOUBLE_EQ(SQLTimeStampToDateTime(Stamp(2024, 1, 31, 12, 30, 45, 123)),
                   EncodeDate(2024, 1, 31) + EncodeTime(12, 30, 45, 123));
  // Before the epoch the time of day is subtracted: 29 Dec 1899 06:00 is -1.25.
  EXPECT_DOUBLE_EQ(SQLTimeStampToDateTime(Stamp(1899, 12, 29, 6)), -1.25);

  try {
    SQLTimeStampToDateTime(Stamp(2024, 13, 1));
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_NE(e.Message().find("2024-13-01 00:00:00.000"), String::npos) << e.Message();
  }
}

TEST(SQLTimeStamp, FromDateTime) {
  EXPECT_EQ(DateTimeToSQLTimeStamp(EncodeDate(2024, 1, 31)), Stamp(2024, 1, 31));
  EXPECT_EQ(DateTimeToSQLTimeStamp(0), Stamp(1899, 12, 30));
  EXPECT_EQ(DateTimeToSQLTimeStamp(-1.25), Stamp(1899, 12, 29, 6));
  const TSQLTimeStamp ms = Stamp(2024, 1, 31, 23, 59, 59, 999);
  EXPECT_EQ(DateTimeToSQLTimeStamp(SQLTimeStampToDateTime(ms)), ms);
  for (int f : {0, 1, 7, 500, 998}) {
    const TSQLTimeStamp t = Stamp(1970, 6, 15, 8, 9, 10, f);
    EXPECT_EQ(DateTimeToSQLTimeStamp(SQLTimeStampToDateTime(t)), t) << f;
  }
  EXPECT_EQ(DateTimeToSQLTimeStamp(EncodeDate(9999, 12, 31) + EncodeTime(23, 59, 59, 999)),
            Stamp(9999, 12, 31, 23, 59, 59, 999));
  EXPECT_EQ(DateTimeToSQLTimeStamp(EncodeDate(1, 1, 1)), Stamp(1, 1, 1));
  EXPECT_THROW(DateTimeToSQLTimeStamp(NAN), EConvertError);
  EXPECT_THROW(DateTimeToSQLTimeStamp(INFINITY), EConvertError);
  EXPECT_THROW(DateTimeToSQLTimeStamp(1e9), EConvertError);
  EXPECT_THROW(DateTimeToSQLTimeStamp(-1e9), EConvertError);
}

TEST(SQLTimeStamp, ToStr) {
  const TFormatSettings& fs = DefaultFormatSettings();
  // The empty format shows the time even at midnight.
  EXPECT_EQ(SQLTimeStampToStr("", Stamp(2024, 1, 31), fs), "01/31/2024 00:00:00");
  EXPECT_EQ(SQLTimeStampToStr("", Stamp(2024, 1, 31, 13, 5, 9, 250), fs), "01/31/2024 13:05:09");
  EXPECT_EQ(SQLTimeStampToStr("yyyy-mm-dd hh:nn:ss.zzz", Stamp(2024, 1, 31, 13, 5, 9, 7), fs),
            "2024-01-31 13:05:09.007");
  EXPECT_EQ(SQLTimeStampToStr("", NullSQLTimeStamp, fs), "");
  EXPECT_THROW(SQLTimeStampToStr("", Stamp(2024, 2, 30), fs), EConvertError);
}

TEST(SQLTimeStamp, FromStr) {
  const TFormatSettings& fs = DefaultFormatSettings();
  EXPECT_EQ(StrToSQLTimeStamp("01/31/2024 12:30:45", fs), Stamp(2024, 1, 31, 12, 30, 45));
  EXPECT_EQ(StrToSQLTimeStamp("01/31/2024", fs), Stamp(2024, 1, 31));
  EXPECT_EQ(StrToSQLTimeStamp("01/31/2024 12:30:45.120", fs), Stamp(2024, 1, 31, 12, 30, 45, 120));
  const TSQLTimeStamp t = Stamp(2001, 9, 8, 7, 6, 5);
  EXPECT_EQ(StrToSQLTimeStamp(SQLTimeStampToStr("", t, fs), fs), t);

  for (const char* junk :
       {"", "   ", "tomorrow", "13/45/2024", "01/31/2024 25:00", "01/31/2024x"}) {
    TSQLTimeStamp ts = Stamp(2000, 1, 1);
    EXPECT_FALSE(TryStrToSQLTimeStamp(junk, ts, fs)) << junk;
    EXPECT_EQ(ts, Stamp(2000, 1, 1));
    EXPECT_THROW(StrToSQLTimeStamp(junk, fs), EConvertError) << junk;
  }
  try {
    StrToSQLTimeStamp("tomorrow", fs);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_NE(e.Message().find("'tomorrow'"), String::npos) << e.Message();
  }
}

TEST(SQLTimeStamp, Variant) {
  const TSQLTimeStamp t = Stamp(2024, 1, 31, 12, 30, 45, 500);
  const Variant v = VarSQLTimeStampCreate(t);
  EXPECT_TRUE(VarIsSQLTimeStamp(v));
  EXPECT_EQ(VarType(v), varSQLTimeStamp);
  EXPECT_EQ(VarToSQLTimeStamp(v), t);
  EXPECT_DOUBLE_EQ(VarToDateTime(v), SQLTimeStampToDateTime(t));
  EXPECT_DOUBLE_EQ(v.AsDouble(), SQLTimeStampToDateTime(t));
  EXPECT_EQ(VarToStr(v), "01/31/2024 12:30:45");
  EXPECT_THROW(v.AsBoolean(), EVariantError);

  EXPECT_EQ(VarToSQLTimeStamp(Variant::Null()), NullSQLTimeStamp);
  EXPECT_EQ(VarToSQLTimeStamp(Variant()), NullSQLTimeStamp);
  EXPECT_EQ(VarToSQLTimeStamp(Variant("01/31/2024 12:30:45")), Stamp(2024, 1, 31, 12, 30, 45));
  EXPECT_EQ(VarToSQLTimeStamp(VarFromDateTime(EncodeDate(2024, 1, 31))), Stamp(2024, 1, 31));
  EXPECT_EQ(VarToSQLTimeStamp(VarSQLTimeStampCreate(EncodeDate(2020, 2, 29))), Stamp(2020, 2, 29));
  EXPECT_EQ(VarToSQLTimeStamp(VarSQLTimeStampCreate(String("02/29/2020"))), Stamp(2020, 2, 29));
  EXPECT_THROW(VarToSQLTimeStamp(Variant("junk")), EVariantError);
  EXPECT_THROW(VarToSQLTimeStamp(Variant(true)), EVariantError);
  EXPECT_THROW(VarToSQLTimeStamp(Variant(1e12)), EVariantError);
  EXPECT_THROW(VarSQLTimeStampCreate(String("junk")), EConvertError);

  // An invalid stamp held in a variant fails when it is read as a date.
  EXPECT_THROW(VarToDateTime(Variant(Stamp(2024, 13, 1))), EConvertError);
}
