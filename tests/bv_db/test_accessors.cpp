// The accessor family: every accessor's reads and writes through every view,
// driven by one table per accessor.
#include <gtest/gtest.h>

#include <vector>

#include "bv_db/univalue.h"
#include "bv_db/value_accessors.h"
#include "rtl/datetime.h"
#include "rtl/numconv.h"
#include "rtl/strutils.h"

using namespace brevant;

namespace {

using ValuePtr = TObjectPtr<TznUniValue>;

enum TView {
  vString,
  vInteger,
  vLargeInt,
  vFloat,
  vBoolean,
  vDateTime,
  vVariant,
  vBCD,
  vCurrency,
  vWideString,
  vSQLTimeStamp,
  vByteArray
};

const char* ViewName(TView v) {
  static const char* names[] = {"String",   "Integer",    "LargeInt",     "Float",
                                "Boolean",  "DateTime",   "Variant",      "BCD",
                                "Currency", "WideString", "SQLTimeStamp", "ByteArray"};
  return names[v];
}

void WriteView(TznUniValue& v, TView view, const Variant& in) {
  switch (view) {
    case vString:
      v.SetAsString(in.AsString());
      break;
    case vInteger:
      v.SetAsInteger(in.AsInteger());
      break;
    case vLargeInt:
      v.SetAsLargeInt(in.AsInt64());
      break;
    case vFloat:
      v.SetAsFloat(in.AsDouble());
      break;
    case vBoolean:
      v.SetAsBoolean(in.AsBoolean());
      break;
    case vDateTime:
      v.SetAsDateTime(in.AsDateTime());
      break;
    case vVariant:
      v.SetAsVariant(in);
      break;
    case vBCD:
      v.Accessor()->SetAsBCD(in.AsBcd());
      break;
    case vCurrency:
      v.Accessor()->SetAsCurrency(in.AsCurrency());
      break;
    case vWideString:
      v.Accessor()->SetAsWideString(in.AsWideString());
      break;
    case vSQLTimeStamp:
      v.Accessor()->SetAsSQLTimeStamp(in.AsSQLTimeStamp());
      break;
    case vByteArray:
      v.Accessor()->SetAsByteArray(in);
      break;
  }
}

Variant ReadView(const TznUniValue& v, TView view) {
  switch (view) {
    case vString:
      return Variant(v.AsString());
    case vInteger:
      return Variant(v.AsInteger());
    case vLargeInt:
      return Variant(v.AsLargeInt());
    case vFloat:
      return Variant(v.AsFloat());
    case vBoolean:
      return Variant(v.AsBoolean());
    case vDateTime:
      return VarFromDateTime(v.AsDateTime());
    case vVariant:
      return v.AsVariant();
    case vBCD:
      return Variant(v.AsBCD());
    case vCurrency:
      return Variant(v.Accessor()->GetAsCurrency());
    case vWideString:
      return Variant(v.Accessor()->GetAsWideString());
    case vSQLTimeStamp:
      return Variant(v.AsSQLTimeStamp());
    case vByteArray:
      return v.AsByteArray();
  }
  return Variant();
}

// What a row expects: a value, or an error. Error kinds: a type word (the
// conversion error "as type <word>"), "convert" (EConvertError), "variant"
// (EVariantError), "range" (out of range), or a full message prefixed "=".
struct TRow {
  TView view;
  Variant arg;     // the written value (writes) or unused (reads)
  Variant expect;  // the value read back (writes: through AsString)
  const char* err = nullptr;
};

String Show(const Variant& v) {
  return VarIsArray(v) ? String("(array)") : VarToStr(v);
}

String Describe(const Exception& e) {
  return String(e.ClassName()) + ": " + e.Message();
}

// Checks that f raises what err names; answers a failure text or "".
template <class F>
String ExpectError(F&& f, const char* err) {
  try {
    f();
  } catch (const Exception& e) {
    const String msg = e.Message();
    const String want = err;
    if (want == "convert") return dynamic_cast<const EConvertError*>(&e) ? "" : Describe(e);
    if (want == "variant") return dynamic_cast<const EVariantError*>(&e) ? "" : Describe(e);
    if (want == "range")
      return dynamic_cast<const EDatabaseError*>(&e) &&
                     msg.find("is out of the range of type") != String::npos
                 ? ""
                 : Describe(e);
    if (want[0] == '=') return msg == want.substr(1) ? "" : Describe(e);
    return dynamic_cast<const EDatabaseError*>(&e) &&
                   msg == "Cannot access field 'UniValue' as type " + want
               ? ""
               : Describe(e);
  } catch (...) {
    return "a foreign exception";
  }
  return "nothing raised";
}

ValuePtr Seeded(TFieldType type, const Variant& seed) {
  ValuePtr v = MakeObject<TznUniValue>(false, false);
  v->SetDataType(type);
  if (!VarIsEmpty(seed)) v->SetAsVariant(seed);
  return v;
}

void CheckReads(TFieldType type, const Variant& seed, const std::vector<TRow>& rows) {
  for (const TRow& r : rows) {
    ValuePtr v = Seeded(type, seed);
    SCOPED_TRACE(FieldTypeName(type) + " read " + ViewName(r.view));
    if (r.err) {
      EXPECT_EQ(ExpectError([&] { (void)ReadView(*v, r.view); }, r.err), "");
    } else {
      Variant got = ReadView(*v, r.view);
      EXPECT_TRUE(got == r.expect) << Show(got) << " vs " << Show(r.expect);
    }
  }
}

void CheckWrites(TFieldType type, const Variant& seed, const std::vector<TRow>& rows) {
  for (const TRow& r : rows) {
    ValuePtr v = Seeded(type, seed);
    const String before = v->AsString();
    SCOPED_TRACE(FieldTypeName(type) + " write " + ViewName(r.view) + " " + Show(r.arg));
    if (r.err) {
      EXPECT_EQ(ExpectError([&] { WriteView(*v, r.view, r.arg); }, r.err), "");
      EXPECT_EQ(v->AsString(), before);  // unchanged after a failure
    } else {
      WriteView(*v, r.view, r.arg);
      EXPECT_EQ(v->DataType(), type);
      if (VarIsNull(r.expect))
        EXPECT_TRUE(v->IsNull());
      else
        EXPECT_EQ(v->AsString(), r.expect.AsString());
    }
  }
}

Variant Bytes(std::initializer_list<Byte> b) {
  return VarArrayFromBytes(std::span<const Byte>(b.begin(), b.size()));
}

}  // namespace

TEST(StringAccessor, ReadsAndWrites) {
  CheckReads(ftString, "42",
             {
                 {vString, {}, "42"},
                 {vInteger, {}, 42},
                 {vLargeInt, {}, Int64(42)},
                 {vFloat, {}, 42.0},
                 {vBoolean, {}, false},
                 {vVariant, {}, "42"},
                 {vCurrency, {}, Currency::FromInt(42)},
                 {vWideString, {}, u"42"},
                 {vBCD, {}, Currency::FromInt(42)},
                 {vByteArray, {}, Bytes({'4', '2', 0})},
                 {vDateTime, {}, {}, "convert"},
             });
  CheckReads(ftString, "yes", {{vBoolean, {}, true}, {vInteger, {}, {}, "convert"}});
  CheckReads(ftString, "no", {{vBoolean, {}, false}});
  CheckReads(ftString, "12abc", {{vLargeInt, {}, {}, "convert"}, {vFloat, {}, {}, "convert"}});
  CheckWrites(ftString, "x",
              {
                  {vString, "", ""},
                  {vInteger, -7, "-7"},
                  {vFloat, 1.5, "1.5"},
                  {vBoolean, true, "T"},
                  {vBoolean, false, "F"},
                  {vVariant, 3, "3"},
                  {vCurrency, Currency::FromRaw(12500), "1.25"},
                  {vBCD, Currency::FromRaw(12500), "1.25"},
                  {vDateTime, VarFromDateTime(0), DateTimeToStr(0)},
                  {vLargeInt, Int64(5), {}, "LargeInt"},
                  {vWideString, u"w", {}, "WideString"},
                  {vByteArray, Bytes({1}), {}, "ByteArray"},
              });
}

TEST(WideStringAccessor, ReadsAndWrites) {
  CheckReads(ftWideString, u"\u00e9t\u00e9",
             {
                 {vString, {}, "\xc3\xa9t\xc3\xa9"},
                 {vWideString, {}, u"\u00e9t\u00e9"},
                 {vVariant, {}, u"\u00e9t\u00e9"},
                 {vInteger, {}, {}, "convert"},
             });
  CheckReads(ftWideString, "17", {{vInteger, {}, 17}, {vBoolean, {}, false}});
  CheckWrites(ftWideString, "x",
              {
                  {vString, "abc", "abc"},
                  {vInteger, 5, "5"},
                  {vWideString, u"\u00fc", "\xc3\xbc"},
                  {vBoolean, true, "T"},
                  {vLargeInt, Int64(1), {}, "LargeInt"},
              });
  ValuePtr v = Seeded(ftWideString, "ab");
  EXPECT_EQ(v->DataSize(), 6);
}

TEST(IntegerAccessor, ReadsAndWrites) {
  for (TFieldType t : {ftSmallint, ftInteger, ftWord, ftAutoInc}) {
    CheckReads(t, -12,
               {
                   {vString, {}, "-12"},
                   {vInteger, {}, -12},
                   {vLargeInt, {}, Int64(-12)},
                   {vFloat, {}, -12.0},
                   {vVariant, {}, -12},
                   {vCurrency, {}, Currency::FromInt(-12)},
                   {vBCD, {}, Currency::FromInt(-12)},
                   {vBoolean, {}, {}, "Boolean"},
                   {vDateTime, {}, {}, "DateTime"},
                   {vSQLTimeStamp, {}, {}, "SQLTimeStamp"},
               });
    CheckWrites(t, 1,
                {
                    {vString, "42", "42"},
                    {vString, "", Null()},
                    {vString, "12abc", {}, "convert"},
                    {vFloat, 2.5, "2"},
                    {vFloat, 3.5, "4"},
                    {vFloat, -2.5, "-2"},
                    {vFloat, 3e9, {}, "range"},
                    {vLargeInt, Int64(7), "7"},
                    {vLargeInt, Int64(5000000000), {}, "range"},
                    {vVariant, "9", "9"},
                    {vVariant, "x", {}, "variant"},
                    {vCurrency, Currency::FromRaw(15000), "2"},
                    {vBoolean, true, {}, "Boolean"},
                    {vDateTime, VarFromDateTime(1), {}, "DateTime"},
                    {vWideString, u"1", {}, "WideString"},
                    {vByteArray, Bytes({1}), {}, "ByteArray"},
                });
  }
  // No range check for the narrower types.
  ValuePtr w = Seeded(ftSmallint, 100000);
  EXPECT_EQ(w->AsInteger(), 100000);
}

TEST(LargeIntAccessor, ReadsAndWrites) {
  CheckReads(ftLargeint, Int64(5000000000),
             {
                 {vString, {}, "5000000000"},
                 {vLargeInt, {}, Int64(5000000000)},
                 {vFloat, {}, 5e9},
                 {vVariant, {}, Int64(5000000000)},
                 {vInteger, {}, {}, "range"},
                 {vBoolean, {}, {}, "Boolean"},
             });
  CheckReads(ftLargeint, -3, {{vInteger, {}, -3}, {vString, {}, "-3"}});
  CheckWrites(ftLargeint, 1,
              {
                  {vString, "-9223372036854775808", "-9223372036854775808"},
                  {vString, "", Null()},
                  {vString, "9223372036854775808", {}, "convert"},
                  {vInteger, -5, "-5"},
                  {vFloat, 4.5, "4"},
                  {vFloat, 1e30, {}, "=Floating point overflow"},
                  {vVariant, "123", "123"},
                  {vBoolean, true, {}, "Boolean"},
              });
}

TEST(FloatAccessor, ReadsAndWrites) {
  for (TFieldType t : {ftFloat, ftCurrency}) {
    CheckReads(t, 2.5,
               {
                   {vString, {}, "2.5"},
                   {vFloat, {}, 2.5},
                   {vInteger, {}, 2},
                   {vLargeInt, {}, Int64(2)},
                   {vVariant, {}, 2.5},
                   {vCurrency, {}, Currency::FromRaw(25000)},
                   {vBoolean, {}, {}, "Boolean"},
                   {vDateTime, {}, {}, "DateTime"},
               });
    CheckReads(t, 1e12, {{vInteger, {}, {}, "range"}, {vLargeInt, {}, Int64(1000000000000)}});
    CheckWrites(t, 1.0,
                {
                    {vString, "0.125", "0.125"},
                    {vString, "", Null()},
                    {vString, "1,5,", {}, "convert"},
                    {vInteger, 3, "3"},
                    {vLargeInt, Int64(1) << 40, "1099511627776"},
                    {vCurrency, Currency::FromRaw(12345), "1.2345"},
                    {vVariant, true, "1"},
                    {vBoolean, true, {}, "Boolean"},
                    {vSQLTimeStamp, VarSQLTimeStampCreate(1.0), {}, "SQLTimeStamp"},
                });
  }
}

TEST(BoolAccessor, ReadsAndWrites) {
  CheckReads(ftBoolean, true,
             {
                 {vString, {}, "True"},
                 {vBoolean, {}, true},
                 {vVariant, {}, true},
                 {vInteger, {}, {}, "Integer"},
                 {vFloat, {}, {}, "Float"},
                 {vLargeInt, {}, {}, "Integer"},
                 {vDateTime, {}, {}, "DateTime"},
                 {vSQLTimeStamp, {}, {}, "SQLTimeStamp"},
             });
  CheckReads(ftBoolean, false, {{vString, {}, "False"}, {vBoolean, {}, false}});
  CheckWrites(ftBoolean, false,
              {
                  {vString, "TRUE", "True"},
                  {vString, "false", "False"},
                  {vString, "", Null()},
                  {vString, "yes", {}, "=\"yes\" is not a valid boolean value"},
                  {vBoolean, true, "True"},
                  {vVariant, 0, "False"},
                  {vInteger, 1, {}, "Integer"},
                  {vFloat, 1.0, {}, "Float"},
              });
  ValuePtr v = Seeded(ftBoolean, true);
  Word w = 0;
  v->ReadRaw(&w, 2);
  EXPECT_EQ(w, 0xFFFF);
  const Word odd = 2;
  v->WriteRaw(&odd, 2);
  EXPECT_TRUE(v->AsBoolean());
}

TEST(DateTimeAccessor, ReadsAndWrites) {
  const TDateTime dt = 45000.75;  // a date and 18:00
  for (TFieldType t : {ftDate, ftTime, ftDateTime}) {
    const String text = t == ftDate   ? DateToStr(dt)
                        : t == ftTime ? TimeToStr(dt)
                                      : DateTimeToStr(dt);
    CheckReads(t, VarFromDateTime(dt),
               {
                   {vString, {}, text},
                   {vDateTime, {}, VarFromDateTime(dt)},
                   {vFloat, {}, dt},
                   {vInteger, {}, 45001},
                   {vVariant, {}, VarFromDateTime(dt)},
                   {vBoolean, {}, {}, "Boolean"},
                   {vSQLTimeStamp, {}, {}, "SQLTimeStamp"},
               });
    CheckWrites(t, VarFromDateTime(1),
                {
                    {vString, "", Null()},
                    {vFloat, 2.0,
                     t == ftTime   ? TimeToStr(2)
                     : t == ftDate ? DateToStr(2)
                                   : DateTimeToStr(2)},
                    {vString, "not a date", {}, "convert"},
                    {vInteger, 3, {}, "Integer"},
                    {vLargeInt, Int64(3), {}, "LargeInt"},
                    {vBoolean, true, {}, "Boolean"},
                });
  }
  // Text round trips by the value's own type.
  ValuePtr d = Seeded(ftDate, VarFromDateTime(dt));
  d->SetAsString(d->AsString());
  EXPECT_DOUBLE_EQ(d->AsDateTime(), 45000.0);
  ValuePtr tm = Seeded(ftTime, VarFromDateTime(dt));
  tm->SetAsString(tm->AsString());
  EXPECT_DOUBLE_EQ(tm->AsDateTime(), 0.75);
}

TEST(SQLTimeStampAccessor, ReadsAndWrites) {
  TSQLTimeStamp ts;
  ts.Year = 2024;
  ts.Month = 2;
  ts.Day = 29;
  ts.Hour = 13;
  ts.Minute = 5;
  ts.Second = 6;
  const TDateTime dt = SQLTimeStampToDateTime(ts);
  CheckReads(ftTimeStamp, Variant(ts),
             {
                 {vSQLTimeStamp, {}, Variant(ts)},
                 {vDateTime, {}, VarFromDateTime(dt)},
                 {vString, {}, SQLTimeStampToStr("", ts)},
                 {vVariant, {}, Variant(ts)},
                 {vFloat, {}, {}, "Float"},
                 {vInteger, {}, {}, "Integer"},
                 {vBoolean, {}, {}, "Boolean"},
             });
  CheckWrites(ftTimeStamp, Variant(ts),
              {
                  {vDateTime, VarFromDateTime(0), Null()},
                  {vDateTime, VarFromDateTime(dt), SQLTimeStampToStr("", ts)},
                  {vString, "", Null()},
                  {vString, "garbage", {}, "convert"},
                  {vFloat, 1.0, {}, "Float"},
              });
  ValuePtr n = Seeded(ftTimeStamp, {});
  EXPECT_TRUE(IsSQLTimeStampNull(n->AsSQLTimeStamp()));
  EXPECT_EQ(n->AsDateTime(), 0);
}

TEST(BinaryAccessor, ReadsAndWrites) {
  for (TFieldType t : {ftBytes, ftVarBytes}) {
    CheckReads(t, Bytes({'a', 0, 'b'}),
               {
                   {vString, {}, String("a\0b", 3)},
                   {vVariant, {}, Bytes({'a', 0, 'b'})},
                   {vByteArray, {}, Bytes({'a', 0, 'b'})},
                   {vInteger, {}, {}, "Integer"},
               });
    CheckWrites(t, Bytes({1}),
                {
                    {vString, "xy", "xy"},
                    {vString, "", Null()},
                    {vByteArray, Bytes({}), Null()},
                    {vVariant, "text", {}, "=Invalid variant type or size"},
                    {vVariant, VarArrayOf({1, 2}), {}, "=Invalid variant type or size"},
                    {vInteger, 1, {}, "Integer"},
                });
  }
}

TEST(BCDAccessor, ReadsAndWrites) {
  CheckReads(ftBCD, Currency::FromRaw(25000),
             {
                 {vString, {}, "2.5"},
                 {vCurrency, {}, Currency::FromRaw(25000)},
                 {vFloat, {}, 2.5},
                 {vInteger, {}, 2},
                 {vLargeInt, {}, Int64(2)},
                 {vBCD, {}, Currency::FromRaw(25000)},
                 {vVariant, {}, Currency::FromRaw(25000)},
                 {vBoolean, {}, {}, "Boolean"},
                 {vDateTime, {}, {}, "DateTime"},
             });
  CheckReads(ftBCD, Currency::FromRaw(-35000), {{vInteger, {}, -4}});
  ValuePtr n = Seeded(ftBCD, {});
  EXPECT_TRUE(IsBcdNull(n->AsBCD()));
  CheckWrites(ftBCD, 1,
              {
                  {vFloat, 1.23456, "1.2346"},
                  {vInteger, 7, "7"},
                  {vString, "3.25", "3.25"},
                  {vString, "", Null()},
                  {vString, "1.2.3", {}, "convert"},
                  {vVariant, "0.5", "0.5"},
                  {vBCD, Currency::FromRaw(99), "0.0099"},
                  {vLargeInt, Int64(1), {}, "LargeInt"},
                  {vBoolean, true, {}, "Boolean"},
              });
}

TEST(FMTBCDAccessor, ReadsAndWrites) {
  const TBcd big = StrToBcd("123456789012345678.125");
  CheckReads(ftFMTBcd, Variant(big),
             {
                 {vString, {}, "123456789012345678.125"},
                 {vBCD, {}, Variant(big)},
                 {vVariant, {}, Variant(big)},
                 {vBoolean, {}, {}, "Boolean"},
             });
  CheckReads(ftFMTBcd, Variant(StrToBcd("2.5")),
             {
                 {vFloat, {}, 2.5},
                 {vInteger, {}, 2},
                 {vLargeInt, {}, Int64(2)},
                 {vCurrency, {}, Currency::FromRaw(25000)},
             });
  CheckWrites(ftFMTBcd, 1,
              {
                  {vFloat, 1.23456, "1.2346"},
                  {vInteger, 7, "7"},
                  {vString, "0.000001", "0.000001"},
                  {vString, "", Null()},
                  {vString, "x", {}, "convert"},
                  {vCurrency, Currency::FromRaw(5), "0.0005"},
                  {vLargeInt, Int64(1), {}, "LargeInt"},
                  {vDateTime, VarFromDateTime(1), {}, "DateTime"},
              });
  ValuePtr n = Seeded(ftFMTBcd, {});
  EXPECT_TRUE(IsBcdNull(n->AsBCD()));
  EXPECT_EQ(n->AsFloat(), 0);
}

TEST(BlobAccessor, ReadsAndWrites) {
  for (TFieldType t : {ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle, ftDBaseOle,
                       ftTypedBinary, ftOraBlob, ftOraClob}) {
    CheckReads(t, "memo text",
               {
                   {vString, {}, "memo text"},
                   {vVariant, {}, "memo text"},
                   {vWideString, {}, u"memo text"},
                   {vByteArray, {}, Bytes({'m', 'e', 'm', 'o', ' ', 't', 'e', 'x', 't'})},
                   {vInteger, {}, {}, "Integer"},
                   {vBoolean, {}, {}, "Boolean"},
               });
    CheckWrites(t, "x",
                {
                    {vString, "abc", "abc"},
                    {vString, "", Null()},
                    {vVariant, 12, "12"},
                    {vInteger, 1, {}, "Integer"},
                    {vFloat, 1.0, {}, "Float"},
                });
    EXPECT_EQ(Seeded(t, "abc")->DataSize(), 3);
  }
}

TEST(VariantAccessor, ReadsAndWrites) {
  CheckReads(ftVariant, "12",
             {
                 {vString, {}, "12"},
                 {vInteger, {}, 12},
                 {vLargeInt, {}, Int64(12)},
                 {vFloat, {}, 12.0},
                 {vVariant, {}, "12"},
                 {vBoolean, {}, true},
                 {vBCD, {}, 12},
                 {vCurrency, {}, Currency::FromInt(12)},
                 {vByteArray, {}, {}, "ByteArray"},
             });
  CheckReads(ftVariant, Bytes({1, 2}), {{vByteArray, {}, Bytes({1, 2})}});
  CheckWrites(ftVariant, 1,
              {
                  {vString, "", ""},
                  {vInteger, 5, "5"},
                  {vFloat, 0.5, "0.5"},
                  {vBoolean, true, "True"},
                  {vCurrency, Currency::FromRaw(5000), "0.5"},
                  {vBCD, StrToBcd("1.5"), "1.5"},
                  {vLargeInt, Int64(1), {}, "LargeInt"},
                  {vWideString, u"w", {}, "WideString"},
                  {vByteArray, Bytes({1}), {}, "ByteArray"},
              });
  ValuePtr e = Seeded(ftVariant, "");
  EXPECT_FALSE(e->IsNull());  // the empty text is a value here
}

TEST(ValueAccessor, UnconvertibleTypesAndSelection) {
  ValuePtr g = MakeObject<TznUniValue>(false, false);
  g->SetDataType(ftGuid);
  EXPECT_STREQ(g->Accessor()->ClassName(), "TznValueAccessor");
  for (TView view : {vString, vInteger, vFloat, vVariant, vBoolean, vDateTime}) {
    SCOPED_TRACE(ViewName(view));
    EXPECT_EQ(ExpectError([&] { WriteView(*g, view, 1); }, ViewName(view)), "");
  }
  EXPECT_EQ(ExpectError([&] { WriteView(*g, vLargeInt, 1); }, "LargeInt"), "");
  const struct {
    TFieldType type;
    const char* cls;
  } table[] = {
      {ftString, "TznStringAccessor"},
      {ftFixedChar, "TznStringAccessor"},
      {ftWideString, "TznWideStringAccessor"},
      {ftWord, "TznIntegerAccessor"},
      {ftLargeint, "TznLargeIntAccessor"},
      {ftCurrency, "TznFloatAccessor"},
      {ftBoolean, "TznBoolAccessor"},
      {ftTime, "TznDateTimeAccessor"},
      {ftTimeStamp, "TznSQLTimeStampAccessor"},
      {ftVarBytes, "TznBinaryAccessor"},
      {ftBCD, "TznBCDAccessor"},
      {ftFMTBcd, "TznFMTBCDAccessor"},
      {ftOraClob, "TznBlobAccessor"},
      {ftVariant, "TznVariantAccessor"},
      {ftCursor, "TznValueAccessor"},
      {ftDataSet, "TznValueAccessor"},
  };
  for (const auto& row : table) {
    ValuePtr v = MakeObject<TznUniValue>(false, false);
    v->SetDataType(row.type);
    EXPECT_STREQ(v->Accessor()->ClassName(), row.cls) << FieldTypeName(row.type);
  }
}

TEST(Accessors, CompareByType) {
  const struct {
    TFieldType type;
    Variant a, b;
    bool caseSensitive;
    int sign;
  } table[] = {
      {ftInteger, 2147483647, -1, false, 1},
      {ftInteger, -5, 3, false, -1},
      {ftLargeint, Int64(4294967296), Int64(1), false, 1},
      {ftLargeint, Int64(INT64_MIN), Int64(INT64_MAX), false, -1},
      {ftFloat, 0.1, 0.2, false, -1},
      {ftFloat, 1.5, 1.5, false, 0},
      {ftBoolean, false, true, false, -1},
      {ftDateTime, VarFromDateTime(2), VarFromDateTime(1), false, 1},
      {ftBCD, Currency::FromRaw(1), Currency::FromRaw(2), false, -1},
      {ftFMTBcd, Variant(StrToBcd("10")), Variant(StrToBcd("9.5")), false, 1},
      {ftString, "abc", "ABC", false, 0},
      {ftWideString, u"abc", u"ABC", true, 0},
      {ftMemo, "abc", "ABC", true, 0},
      {ftMemo, "abd", "ABC", true, 1},
      {ftVariant, 1, 2, false, 0},
      {ftBytes, Bytes({1}), Bytes({2}), false, 0},
  };
  for (const auto& row : table) {
    ValuePtr a = Seeded(row.type, row.a), b = Seeded(row.type, row.b);
    const Integer c = a->Compare(*b, row.caseSensitive, true);
    EXPECT_EQ((c > 0) - (c < 0), row.sign) << FieldTypeName(row.type) << " " << Show(row.a);
  }
  // The sign of AnsiCompareStr decides case-sensitive order, whatever it is.
  ValuePtr lo = Seeded(ftString, "abc"), up = Seeded(ftString, "ABC");
  EXPECT_EQ(lo->Compare(*up, true, true) > 0, AnsiCompareStr("abc", "ABC") > 0);
}
