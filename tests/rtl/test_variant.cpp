#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "rtl/datetime.h"
#include "rtl/exceptions.h"
#include "rtl/format_settings.h"
#include "rtl/resstrings.h"
#include "rtl/variant.h"

using namespace brevant;

// Scalars, BCDs and time stamps are held inline.
static_assert(sizeof(Variant) <= 48);

namespace {

template <class F>
String ErrorOf(F f) {
  try {
    f();
  } catch (const EVariantError& e) {
    return e.Message();
  }
  return "(no EVariantError)";
}

}  // namespace

TEST(Variant, TypeCodesFollowTheCppType) {
  EXPECT_EQ(VarType(Variant()), varEmpty);
  EXPECT_EQ(VarType(Variant::Null()), varNull);
  EXPECT_EQ(VarType(Null()), varNull);
  EXPECT_EQ(VarType(Unassigned()), varEmpty);
  EXPECT_EQ(VarType(Variant(true)), varBoolean);
  EXPECT_EQ(VarType(Variant(ShortInt(-1))), varShortInt);
  EXPECT_EQ(VarType(Variant(Byte(1))), varByte);
  EXPECT_EQ(VarType(Variant(SmallInt(1))), varSmallint);
  EXPECT_EQ(VarType(Variant(Word(1))), varWord);
  EXPECT_EQ(VarType(Variant(5)), varInteger);
  EXPECT_EQ(VarType(Variant(5u)), varLongWord);
  EXPECT_EQ(VarType(Variant(Int64(5))), varInt64);
  EXPECT_EQ(VarType(Variant(5LL)), varInt64);
  EXPECT_EQ(VarType(Variant(UInt64(5))), varUInt64);
  EXPECT_EQ(VarType(Variant(1.5f)), varSingle);
  EXPECT_EQ(VarType(Variant(1.5)), varDouble);
  EXPECT_EQ(VarType(Variant(1.5L)), varDouble);
  EXPECT_EQ(VarType(Variant(Currency::FromInt(1))), varCurrency);
  EXPECT_EQ(VarType(VarFromDateTime(45000.5)), varDate);
  EXPECT_EQ(VarType(Variant("abc")), varString);
  EXPECT_EQ(VarType(Variant(String("abc"))), varString);
  EXPECT_EQ(VarType(Variant(u"abc")), varOleStr);
  EXPECT_EQ(VarType(Variant(TBcd())), varFMTBcd);
  EXPECT_EQ(VarType(Variant(TSQLTimeStamp())), varSQLTimeStamp);
  EXPECT_EQ(VarType(VarArrayCreate(0, 1, varByte)), varArray | varByte);
  EXPECT_EQ(VarType(VarArrayOf({1, 2})), varArray | varVariant);
}

TEST(Variant, Predicates) {
  EXPECT_TRUE(VarIsEmpty(Variant()));
  EXPECT_TRUE(VarIsClear(Variant()));
  EXPECT_FALSE(VarIsClear(Null()));
  EXPECT_TRUE(VarIsNull(Null()));
  EXPECT_FALSE(VarIsNull(Variant()));
  EXPECT_TRUE(VarIsStr(Variant("x")));
  EXPECT_TRUE(VarIsStr(Variant(u"x")));
  EXPECT_FALSE(VarIsStr(Variant(1)));
  EXPECT_TRUE(VarIsOrdinal(Variant(UInt64(1))));
  EXPECT_TRUE(VarIsOrdinal(Variant(true)));
  EXPECT_FALSE(VarIsOrdinal(Variant(1.0)));
  EXPECT_TRUE(VarIsNumeric(Variant(1.0f)));
  EXPECT_TRUE(VarIsNumeric(Variant(Currency())));
  EXPECT_TRUE(VarIsNumeric(Variant(TBcd())));
  EXPECT_FALSE(VarIsNumeric(VarFromDateTime(1)));
  EXPECT_FALSE(VarIsNumeric(Variant("1")));
  EXPECT_FALSE(VarIsNumeric(Null()));
  EXPECT_TRUE(VarIsArray(VarArrayOf({})));
  EXPECT_FALSE(VarIsArray(Variant(1)));
}

TEST(Variant, CopyAndMoveKeepValues) {
  Variant a("a fairly long text that does not fit in a small string buffer");
  Variant b = a;
  EXPECT_EQ(VarToStr(b), VarToStr(a));
  Variant c = std::move(a);
  EXPECT_TRUE(VarIsEmpty(a));
  EXPECT_EQ(c, b);
  const Variant& self = c;
  c = self;
  EXPECT_EQ(c, b);

  Variant arr = VarArrayOf({1, "two", VarArrayOf({3})});
  Variant copy = arr;
  copy.PutElement(0, 100);
  EXPECT_EQ(arr.GetElement(0), 1);  // the copy owns its own elements
  EXPECT_EQ(copy.GetElement(0), 100);

  // Assigning an element of a variant's own array to the variant.
  arr = std::move(VarArrayItems(arr)[1]);
  EXPECT_EQ(VarToStr(arr), "two");
  Variant nested = VarArrayOf({VarArrayOf({7, 8})});
  nested = VarArrayItems(nested)[0];
  EXPECT_EQ(nested.GetElement(1), 8);
  nested.PutElement(0, nested);  // an array put into itself is copied first
  EXPECT_EQ(nested.GetElement(0).GetElement(0), 7);

  Variant s = Variant(TBcd());
  s = String("x");
  s = 5;
  EXPECT_EQ(VarType(s), varInteger);
}

TEST(Variant, ToStr) {
  EXPECT_EQ(VarToStr(Variant()), "");
  EXPECT_EQ(VarToStr(Null()), "");
  EXPECT_EQ(VarToWideStr(Null()), u"");
  EXPECT_EQ(VarToStr(true), "True");
  EXPECT_EQ(VarToStr(false), "False");
  EXPECT_EQ(VarToStr(-42), "-42");
  EXPECT_EQ(VarToStr(Byte(200)), "200");
  EXPECT_EQ(VarToStr(INT64_MIN), "-9223372036854775808");
  EXPECT_EQ(VarToStr(UINT64_MAX), "18446744073709551615");
  EXPECT_EQ(VarToStr(1.5), "1.5");
  EXPECT_EQ(VarToStr(0.1f), "0.1");
  EXPECT_EQ(VarToStr(Currency::FromRaw(15000)), "1.5");
  EXPECT_EQ(VarToStr(VarFromDateTime(EncodeDate(2024, 1, 31))), "01/31/2024");
  EXPECT_EQ(VarToStr(Variant(u"h\u00e9")), "h\xc3\xa9");
  EXPECT_EQ(VarToWideStr(Variant("h\xc3\xa9")), u"h\u00e9");
  EXPECT_EQ(VarToWideStr(7), u"7");
  EXPECT_THROW(VarToStr(VarArrayOf({1})), EVariantError);

  TFormatSettingsGuard guard;
  FormatSettings().DecimalSeparator = ',';
  EXPECT_EQ(VarToStr(2.25), "2,25");
}

TEST(Variant, IntegerConversions) {
  EXPECT_EQ(Variant().AsInteger(), 0);
  EXPECT_EQ(Variant(true).AsInteger(), 1);
  EXPECT_EQ(Variant(2.5).AsInteger(), 2);  // halves to even
  EXPECT_EQ(Variant(3.5).AsInteger(), 4);
  EXPECT_EQ(Variant(-2.5).AsInteger(), -2);
  EXPECT_EQ(Variant(Currency::FromRaw(25000)).AsInteger(), 2);
  EXPECT_EQ(Variant(Currency::FromRaw(-35000)).AsInt64(), -4);
  EXPECT_EQ(Variant(" 12 ").AsInteger(), 12);
  EXPECT_EQ(Variant("1e3").AsInteger(), 1000);
  EXPECT_EQ(Variant(u"-7").AsInt64(), -7);
  EXPECT_EQ(Variant(INT32_MIN).AsInteger(), INT32_MIN);
  EXPECT_EQ(Variant(UInt64(INT64_MAX)).AsInt64(), INT64_MAX);
  EXPECT_EQ(Variant("18446744073709551615").AsUInt64(), UINT64_MAX);

  EXPECT_EQ(ErrorOf([] { Variant(Int64(5000000000)).AsInteger(); }),
            "Arithmetic overflow converting variant of type (Int64) into type (Integer)");
  EXPECT_THROW(Variant(UINT64_MAX).AsInt64(), EVariantError);
  EXPECT_THROW(Variant(-1).AsUInt64(), EVariantError);
  EXPECT_THROW(Variant(1e19).AsInt64(), EVariantError);
  EXPECT_THROW(Variant(NAN).AsInteger(), EVariantError);
  EXPECT_THROW(Variant(INFINITY).AsInt64(), EVariantError);
  EXPECT_EQ(ErrorOf([] { Null().AsInteger(); }),
            "Could not convert variant of type (Null) into type (Integer)");
  EXPECT_EQ(ErrorOf([] { Variant("12abc").AsInteger(); }),
            "Could not convert variant of type (String) into type (Integer): '12abc'");
  EXPECT_NE(ErrorOf([] { Variant("99999999999").AsInteger(); }).find("'99999999999'"),
            String::npos);
  EXPECT_THROW(VarArrayOf({1}).AsInteger(), EVariantError);
}

TEST(Variant, FloatAndCurrencyConversions) {
  EXPECT_EQ(Variant().AsDouble(), 0.0);
  EXPECT_EQ(Variant(7).AsDouble(), 7.0);
  EXPECT_EQ(Variant(Currency::FromRaw(12346)).AsDouble(), 1.2346);
  EXPECT_EQ(Variant("1.5").AsDouble(), 1.5);
  EXPECT_EQ(Variant(INT64_MAX).AsExtended(), static_cast<Extended>(INT64_MAX));
  EXPECT_EQ(ErrorOf([] { Variant("abc").AsDouble(); }),
            "Could not convert variant of type (String) into type (Double): 'abc'");
  EXPECT_THROW(Variant("").AsDouble(), EVariantError);
  EXPECT_THROW(Null().AsDouble(), EVariantError);

  EXPECT_EQ(Variant(1.23456).AsCurrency().Value, 12346);
  EXPECT_EQ(Variant(0.03125).AsCurrency().Value, 312);  // exact halves go to even
  EXPECT_EQ(Variant(0.09375).AsCurrency().Value, 938);
  EXPECT_EQ(Variant(-0.03125).AsCurrency().Value, -312);
  EXPECT_EQ(Variant(7).AsCurrency().Value, 70000);
  EXPECT_EQ(Variant("2.5").AsCurrency().Value, 25000);
  EXPECT_THROW(Variant(1e300).AsCurrency(), EVariantError);
  EXPECT_THROW(Variant(INT64_MAX).AsCurrency(), EVariantError);
  EXPECT_THROW(Variant("x").AsCurrency(), EVariantError);

  TFormatSettingsGuard guard;
  FormatSettings().DecimalSeparator = ',';
  EXPECT_EQ(Variant("1,5").AsDouble(), 1.5);
  EXPECT_THROW(Variant("1.5").AsDouble(), EVariantError);
}

TEST(Variant, BooleanConversions) {
  EXPECT_TRUE(Variant("TRUE").AsBoolean());
  EXPECT_TRUE(Variant(" true ").AsBoolean());
  EXPECT_FALSE(Variant("False").AsBoolean());
  EXPECT_FALSE(Variant(u"fAlSe").AsBoolean());
  EXPECT_FALSE(Variant("0").AsBoolean());
  EXPECT_TRUE(Variant("1").AsBoolean());
  EXPECT_TRUE(Variant("-2.5").AsBoolean());
  EXPECT_FALSE(Variant().AsBoolean());
  EXPECT_TRUE(Variant(3).AsBoolean());
  EXPECT_FALSE(Variant(0.0).AsBoolean());
  EXPECT_TRUE(Variant(Currency::FromRaw(1)).AsBoolean());
  EXPECT_EQ(ErrorOf([] { Variant("yes").AsBoolean(); }),
            "Could not convert variant of type (String) into type (Boolean): 'yes'");
  EXPECT_THROW(Variant("").AsBoolean(), EVariantError);
  EXPECT_THROW(Null().AsBoolean(), EVariantError);

  EXPECT_EQ(VarAsType(Variant("true"), varBoolean), Variant(true));
  EXPECT_EQ(VarAsType(Variant(true), varString), Variant("True"));
  EXPECT_EQ(VarAsType(Variant(true), varInteger), Variant(1));
  EXPECT_TRUE(VarAsType(VarAsType(Variant(false), varString), varBoolean) == Variant(false));
}

TEST(Variant, DateConversions) {
  const TDateTime d = EncodeDate(2024, 1, 31);
  EXPECT_EQ(VarToDateTime(Variant("01/31/2024")), d);
  EXPECT_DOUBLE_EQ(VarToDateTime(Variant("01/31/2024 18:00")), d + 0.75);
  EXPECT_DOUBLE_EQ(VarToDateTime(Variant("06:00")), 0.25);
  EXPECT_EQ(VarToDateTime(Variant(45000)), 45000.0);
  EXPECT_EQ(VarToDateTime(VarFromDateTime(d)), d);
  EXPECT_EQ(VarToDateTime(Variant()), 0.0);
  EXPECT_THROW(VarToDateTime(Null()), EVariantError);
  EXPECT_THROW(VarToDateTime(Variant(true)), EVariantError);
  EXPECT_THROW(VarToDateTime(Variant("31.31.31")), EVariantError);
  EXPECT_EQ(VarToStr(VarFromDateTime(d + 0.75)), "01/31/2024 18:00:00");
}

TEST(Variant, VarAsTypeChecksRanges) {
  EXPECT_EQ(VarType(VarAsType(Variant("12"), varSmallint)), varSmallint);
  EXPECT_THROW(VarAsType(Variant(40000), varSmallint), EVariantError);
  EXPECT_THROW(VarAsType(Variant(-1), varByte), EVariantError);
  EXPECT_THROW(VarAsType(Variant(256), varByte), EVariantError);
  EXPECT_THROW(VarAsType(Variant(-1), varLongWord), EVariantError);
  EXPECT_THROW(VarAsType(Variant(1e300), varSingle), EVariantError);
  EXPECT_EQ(VarAsType(Variant(1.5), varSingle), Variant(1.5f));
  EXPECT_EQ(VarAsType(Variant(12), varOleStr), Variant(u"12"));
  EXPECT_EQ(VarType(VarAsType(Variant("1.25"), varFMTBcd)), varFMTBcd);
  EXPECT_EQ(VarType(VarAsType(Variant(1), varDate)), varDate);
  EXPECT_TRUE(VarIsEmpty(VarAsType(Variant(1), varEmpty)));
  EXPECT_TRUE(VarIsNull(VarAsType(Variant(1), varNull)));
  EXPECT_THROW(VarAsType(VarArrayOf({1}), varArray | varByte), EVariantError);
  EXPECT_THROW(VarAsType(Variant(1), 0x0FF0), EVariantError);
}

TEST(Variant, EqualityAcrossTypes) {
  EXPECT_EQ(Variant(5), Variant(Int64(5)));
  EXPECT_EQ(Variant(5), Variant(5.0));
  EXPECT_EQ(Variant(Byte(5)), Variant(UInt64(5)));
  EXPECT_EQ(Variant(5), Variant(Currency::FromInt(5)));
  EXPECT_EQ(Variant(-1), Variant(-1.0f));
  EXPECT_NE(Variant(5), Variant(5.5));
  EXPECT_NE(Variant(5), Variant("5"));
  EXPECT_NE(Variant(1), Variant(true));
  EXPECT_NE(Variant(UINT64_MAX), Variant(-1));
  EXPECT_EQ(Variant(INT64_MIN), Variant(-9223372036854775808.0));
  EXPECT_NE(Variant(INT64_MAX), Variant(9223372036854775808.0));
  EXPECT_EQ(Variant(Currency::FromRaw(11000)), Variant(1.1));
  EXPECT_NE(Variant(Currency::FromRaw(10000)), Variant(1.00004));
  EXPECT_EQ(Variant(StrToBcd("1.50", DefaultFormatSettings())), Variant(1.5));
  EXPECT_EQ(Variant(StrToBcd("7", DefaultFormatSettings())), Variant(Int64(7)));
  EXPECT_EQ(VarFromDateTime(2.5), Variant(2.5));
  EXPECT_NE(Variant(NAN), Variant(NAN));

  EXPECT_EQ(Null(), Null());
  EXPECT_EQ(Variant(), Variant());
  EXPECT_NE(Null(), Variant());
  EXPECT_NE(Variant(), Variant(""));
  EXPECT_NE(Null(), Variant(0));
  EXPECT_EQ(Variant("abc"), Variant(u"abc"));
  EXPECT_NE(Variant("abc"), Variant("ABC"));

  const TSQLTimeStamp ts = DateTimeToSQLTimeStamp(EncodeDate(2024, 1, 31) + 0.5);
  EXPECT_EQ(Variant(ts), VarFromDateTime(EncodeDate(2024, 1, 31) + 0.5));
  EXPECT_NE(Variant(ts), Variant(NullSQLTimeStamp));
}

TEST(Variant, ArrayEquality) {
  EXPECT_EQ(VarArrayOf({1, "a", Null()}), VarArrayOf({Int64(1), "a", Null()}));
  EXPECT_NE(VarArrayOf({1, "a"}), VarArrayOf({1, "b"}));
  EXPECT_NE(VarArrayOf({1}), VarArrayOf({1, 1}));
  EXPECT_NE(VarArrayOf({1}), Variant(1));
  EXPECT_EQ(VarArrayOf({VarArrayOf({1, 2}), 3}), VarArrayOf({VarArrayOf({1.0, 2}), 3}));
  EXPECT_NE(VarArrayOf({VarArrayOf({1, 2}), 3}), VarArrayOf({VarArrayOf({1, 3}), 3}));
  const Byte raw[] = {1, 2};
  EXPECT_EQ(VarArrayFromBytes(raw), VarArrayOf({1, 2}));
  EXPECT_EQ(VarArrayFromBytes(raw), VarArrayFromBytes(raw));
  // Same elements, other bounds.
  Variant shifted = VarArrayCreate(1, 2, varByte);
  shifted.PutElement(1, 1);
  shifted.PutElement(2, 2);
  EXPECT_NE(shifted, VarArrayFromBytes(raw));
}

TEST(Variant, ByteArrays) {
  Variant v = VarArrayCreate(0, 3, varByte);
  EXPECT_EQ(VarArrayDimCount(v), 1);
  EXPECT_EQ(VarArrayLowBound(v, 1), 0);
  EXPECT_EQ(VarArrayHighBound(v, 1), 3);
  EXPECT_EQ(VarType(v) & varTypeMask, varByte);
  EXPECT_EQ(VarType(v.GetElement(0)), varByte);
  EXPECT_EQ(v.GetElement(3), 0);
  v.PutElement(0, 255);
  v.PutElement(1, "7");
  EXPECT_THROW(v.PutElement(2, 256), EVariantError);
  EXPECT_THROW(v.PutElement(2, -1), EVariantError);
  EXPECT_THROW(v.PutElement(4, 1), EVariantError);
  EXPECT_THROW(v.GetElement(-1), EVariantError);
  std::span<Byte> bytes = VarArrayBytes(v);
  ASSERT_EQ(bytes.size(), 4u);
  EXPECT_EQ(bytes[0], 255);
  EXPECT_EQ(bytes[1], 7);
  bytes[3] = 9;
  EXPECT_EQ(v.GetElement(3), 9);
  EXPECT_THROW(VarArrayLowBound(v, 2), EVariantError);
  EXPECT_THROW(VarArrayItems(v), EVariantError);

  const Byte text[] = {'a', 'b', 0};
  const Variant fromBytes = VarArrayFromBytes(text);
  EXPECT_EQ(VarArrayHighBound(fromBytes), 2);
  EXPECT_EQ(VarArrayBytes(fromBytes)[2], 0);
  const Variant none = VarArrayFromBytes({});
  EXPECT_EQ(VarArrayLowBound(none), 0);
  EXPECT_EQ(VarArrayHighBound(none), -1);
  EXPECT_TRUE(VarArrayBytes(none).empty());
}

TEST(Variant, VariantArraysAndBounds) {
  Variant v = VarArrayCreate(-2, 1, varVariant);
  EXPECT_EQ(VarArrayLowBound(v), -2);
  EXPECT_EQ(VarArrayHighBound(v), 1);
  EXPECT_TRUE(VarIsEmpty(v.GetElement(-2)));
  v.PutElement(-2, "first");
  v.PutElement(1, VarArrayOf({1, VarArrayOf({"deep"})}));
  EXPECT_EQ(VarToStr(v.GetElement(-2)), "first");
  EXPECT_EQ(VarToStr(v.GetElement(1).GetElement(1).GetElement(0)), "deep");
  EXPECT_EQ(VarArrayItems(v).size(), 4u);
  EXPECT_THROW(v.GetElement(2), EVariantError);
  EXPECT_THROW(VarArrayBytes(v), EVariantError);

  Variant ints = VarArrayCreate(0, 1, varInteger);
  EXPECT_EQ(VarType(ints.GetElement(0)), varInteger);
  ints.PutElement(0, "42");
  EXPECT_EQ(VarType(ints.GetElement(0)), varInteger);
  EXPECT_EQ(ints.GetElement(0), 42);
  EXPECT_THROW(ints.PutElement(1, "x"), EVariantError);
  EXPECT_EQ(VarToStr(VarArrayCreate(0, 0, varString).GetElement(0)), "");

  EXPECT_EQ(VarArrayHighBound(VarArrayCreate(5, 4, varVariant)), 4);
  EXPECT_THROW(VarArrayCreate(5, 3, varVariant), EVariantError);
  EXPECT_THROW(VarArrayCreate(0, 1, varNull), EVariantError);
  EXPECT_THROW(VarArrayCreate(0, 1, varArray | varByte), EVariantError);
  EXPECT_THROW(VarArrayCreate(INT32_MIN, INT32_MAX, varByte), EVariantError);
  EXPECT_EQ(VarArrayDimCount(Variant(1)), 0);
  EXPECT_EQ(ErrorOf([] { VarArrayLowBound(Variant(1)); }), res::SVarNotArray);
  EXPECT_THROW(Variant(1).GetElement(0), EVariantError);

  std::vector<Variant> items = {1, 2, 3};
  EXPECT_EQ(VarArrayHighBound(VarArrayOf(std::span<const Variant>(items))), 2);
}

TEST(Variant, TypeNames) {
  EXPECT_EQ(VarTypeName(varString), "String");
  EXPECT_EQ(VarTypeName(varOleStr), "OleStr");
  EXPECT_EQ(VarTypeName(varInt64), "Int64");
  EXPECT_EQ(VarTypeName(varFMTBcd), "FMTBcd");
  EXPECT_EQ(VarTypeName(varSQLTimeStamp), "SQLTimeStamp");
  EXPECT_EQ(VarTypeName(varArray | varByte), "Array Byte");
  EXPECT_EQ(VarTypeName(varArray | varVariant), "Array Variant");
  EXPECT_EQ(VarTypeName(0x0ABC), "Unknown ($0ABC)");
  EXPECT_EQ(ErrorOf([] { VarArrayOf({1}).AsDouble(); }),
            "Could not convert variant of type (Array Variant) into type (Double)");
}
