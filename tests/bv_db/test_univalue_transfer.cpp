// Moving values to and from the platform's fields and parameters, and
// streaming them through the writer and reader.
#include <gtest/gtest.h>

#include <cstring>

#include "bv_db/univalue.h"
#include "bv_db/value_accessors.h"
#include "classes/reader.h"
#include "classes/writer.h"
#include "db/field.h"
#include "db/mem_dataset.h"
#include "db/params.h"
#include "rtl/datetime.h"
#include "rtl/format_settings.h"
#include "rtl/numconv.h"
#include "rtl/streams.h"

using namespace brevant;

namespace {

using ValuePtr = TObjectPtr<TznUniValue>;

struct TSample {
  TFieldType type;
  Integer size;
  Variant seed;
};

TSQLTimeStamp Stamp() {
  TSQLTimeStamp ts;
  ts.Year = 2031;
  ts.Month = 7;
  ts.Day = 4;
  ts.Hour = 8;
  ts.Minute = 9;
  ts.Second = 10;
  return ts;
}

Variant Bytes(std::initializer_list<Byte> b) {
  return VarArrayFromBytes(std::span<const Byte>(b.begin(), b.size()));
}

// One sample per accessor that has a field class.
std::vector<TSample> Samples() {
  return {
      {ftString, 20, "hello"},
      {ftWideString, 40, u"\u00e9l\u00e8ve"},
      {ftSmallint, 0, -123},
      {ftInteger, 0, 2147483647},
      {ftWord, 0, 65535},
      {ftLargeint, 0, Int64(5000000000)},
      {ftFloat, 0, 2.5},
      {ftCurrency, 0, 1234.5},
      {ftBoolean, 0, true},
      {ftDate, 0, VarFromDateTime(45000)},
      {ftTime, 0, VarFromDateTime(0.5)},
      {ftDateTime, 0, VarFromDateTime(45000.25)},
      {ftTimeStamp, 0, Variant(Stamp())},
      {ftBCD, 4, Currency::FromRaw(123456789)},
      {ftFMTBcd, 4, Variant(StrToBcd("98765.4321"))},
      {ftVarBytes, 16, Bytes({0, 1, 2, 255})},
      {ftMemo, 0, "a memo\r\nwith two lines"},
      {ftBlob, 0, String("bin\0ary", 7)},
  };
}

ValuePtr Seeded(TFieldType type, const Variant& seed) {
  ValuePtr v = MakeObject<TznUniValue>(false, false);
  v->SetDataType(type);
  v->SetAsVariant(seed);
  return v;
}

TMemDataSet* MakeTable() {
  auto* ds = Create<TMemDataSet>(nullptr);
  Integer i = 0;
  for (const TSample& s : Samples()) ds->FieldDefs()->Add("F" + IntToStr(i++), s.type, s.size);
  ds->CreateDataSet();
  return ds;
}

}  // namespace

TEST(UniValueTransfer, FieldsRoundTripEveryType) {
  TObjectPtr<TMemDataSet> ds(MakeTable());
  ds->Append();
  const auto samples = Samples();
  for (std::size_t i = 0; i < samples.size(); ++i) {
    const TSample& s = samples[i];
    SCOPED_TRACE(FieldTypeName(s.type));
    TField* f = ds->FieldByName("F" + IntToStr(static_cast<Int64>(i)));
    ValuePtr v = Seeded(s.type, s.seed);
    v->AssignTo(f);
    EXPECT_FALSE(f->IsNull());
    ValuePtr back = MakeObject<TznUniValue>(false, false);
    back->Assign(f);
    EXPECT_EQ(back->DataType(), s.type);
    EXPECT_EQ(back->AsString(), v->AsString());
    EXPECT_EQ(back->DataSize(), v->DataSize());
    if (s.type != ftFMTBcd) {  // the field normalises the BCD's precision
      EXPECT_EQ(std::memcmp(back->Data(), v->Data(), static_cast<std::size_t>(v->DataSize())), 0);
    }
  }
  ds->Post();
  // 64-bit values keep their high half through fields.
  TField* big = ds->FieldByName("F5");
  EXPECT_EQ(big->AsLargeInt(), 5000000000LL);
}

TEST(UniValueTransfer, FieldNullsAndFixedTypes) {
  TObjectPtr<TMemDataSet> ds(MakeTable());
  ds->Append();
  TField* intField = ds->FieldByName("F3");
  TField* strField = ds->FieldByName("F0");
  // A null field nulls the value and keeps its type.
  ValuePtr v = Seeded(ftFloat, 1.5);
  v->Assign(intField);
  EXPECT_TRUE(v->IsNull());
  EXPECT_EQ(v->DataType(), ftFloat);
  // A null value clears the field.
  strField->SetAsString("x");
  ValuePtr none = MakeObject<TznUniValue>(false, false);
  none->AssignTo(strField);
  EXPECT_TRUE(strField->IsNull());
  // A fixed-type value converts what the field holds.
  intField->SetAsInteger(42);
  ValuePtr text = Seeded(ftString, "");
  text->Assign(intField);
  EXPECT_EQ(text->DataType(), ftString);
  EXPECT_EQ(text->AsString(), "42");
  text->SetAsString("17");
  ValuePtr asInt = Seeded(ftInteger, 0);
  asInt->Assign(text.get());
  asInt->AssignTo(intField);
  EXPECT_EQ(intField->AsInteger(), 17);
  ds->Cancel();
}

TEST(UniValueTransfer, ParamsRoundTrip) {
  TParams params;
  for (const TSample& s : Samples()) {
    SCOPED_TRACE(FieldTypeName(s.type));
    TParam* p = params.AddParam();
    ValuePtr v = Seeded(s.type, s.seed);
    v->AssignTo(p);
    EXPECT_FALSE(p->IsNull());
    ValuePtr back = MakeObject<TznUniValue>(false, false);
    back->SetDataType(s.type);
    back->Assign(p);
    EXPECT_EQ(back->AsString(), v->AsString());
    EXPECT_EQ(back->Compare(*v, true, true), 0);
  }
  // The 64-bit value through a parameter.
  TParam* p = params.AddParam();
  Seeded(ftLargeint, Int64(-5000000000))->AssignTo(p);
  EXPECT_EQ(p->AsLargeInt(), -5000000000LL);
  ValuePtr big = MakeObject<TznUniValue>(false, false);
  big->Assign(p);
  EXPECT_EQ(big->DataType(), ftLargeint);
  EXPECT_EQ(big->AsLargeInt(), -5000000000LL);
  // Nulls both ways.
  ValuePtr none = MakeObject<TznUniValue>(false, false);
  none->AssignTo(p);
  EXPECT_TRUE(p->IsNull());
  big->Assign(p);
  EXPECT_TRUE(big->IsNull());
  EXPECT_EQ(big->DataType(), ftLargeint);
}

namespace {

// Writes the value's properties and reads them into a new value.
ValuePtr StreamRoundTrip(const TznUniValue& v, TMemoryStream* keep = nullptr) {
  TMemoryStream local;
  TMemoryStream& s = keep ? *keep : local;
  {
    TWriter w(s);
    w.WriteProperties(&v);
    w.WriteListEnd();
  }
  s.SetPosition(0);
  ValuePtr back = MakeObject<TznUniValue>(false, false);
  TReader r(s);
  r.ReadProperties(back.get());
  return back;
}

}  // namespace

TEST(UniValueStreaming, EveryStreamableTypeRoundTrips) {
  auto samples = Samples();
  samples.push_back({ftFixedChar, 0, "fixed"});
  samples.push_back({ftAutoInc, 0, 77});
  samples.push_back({ftBytes, 0, Bytes({9, 8, 7})});
  samples.push_back({ftVariant, 0, "held text"});
  samples.push_back({ftVariant, 0, 3.25});
  for (const TSample& s : samples) {
    SCOPED_TRACE(FieldTypeName(s.type));
    ValuePtr v = Seeded(s.type, s.seed);
    ValuePtr back = StreamRoundTrip(*v);
    EXPECT_EQ(back->DataType(), s.type);
    EXPECT_EQ(back->AsString(), v->AsString());
    if (s.type != ftVariant)
      EXPECT_EQ(back->DataSize(), v->DataSize());
    else
      EXPECT_TRUE(back->AsVariant() == v->AsVariant());
  }
  // A time stamp at the epoch is a value, not null.
  ValuePtr epoch = Seeded(ftTimeStamp, VarSQLTimeStampCreate(DateTimeToSQLTimeStamp(0)));
  EXPECT_FALSE(StreamRoundTrip(*epoch)->IsNull());
}

TEST(UniValueStreaming, WhatIsWritten) {
  // A float value restores type and value.
  ValuePtr f = Seeded(ftFloat, 2.5);
  ValuePtr back = StreamRoundTrip(*f);
  EXPECT_EQ(back->DataType(), ftFloat);
  EXPECT_DOUBLE_EQ(back->AsFloat(), 2.5);
  // Without StoreDataType only "Data" is written; an untyped reader has no
  // stream form for it and stays null.
  TMemoryStream s;
  f->SetStoreDataType(false);
  ValuePtr noType = StreamRoundTrip(*f, &s);
  EXPECT_EQ(noType->DataType(), ftUnknown);
  EXPECT_TRUE(noType->IsNull());
  const String bytes(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
  EXPECT_EQ(bytes.find("DataType"), String::npos);
  EXPECT_NE(bytes.find("Data"), String::npos);
  // A null value writes its type only; an untyped one nothing.
  TMemoryStream n;
  ValuePtr nul = Seeded(ftInteger, Null());
  back = StreamRoundTrip(*nul, &n);
  EXPECT_EQ(back->DataType(), ftInteger);
  EXPECT_TRUE(back->IsNull());
  const String nb(static_cast<const char*>(n.Memory()), static_cast<std::size_t>(n.Size()));
  EXPECT_EQ(nb.find("Data\x04"), String::npos);
  // Variants without a stream form and types without accessors write no
  // "Data" and read back null.
  ValuePtr arr = Seeded(ftVariant, VarArrayOf({1, 2}));
  back = StreamRoundTrip(*arr);
  EXPECT_EQ(back->DataType(), ftVariant);
  EXPECT_TRUE(back->IsNull());
}

TEST(UniValueStreaming, FMTBcdValuesKeepEveryDigit) {
  for (const char* text :
       {"123456789012345678.125", "0.000001", "-98765432109876543210.5", "0", "12.5"}) {
    SCOPED_TRACE(text);
    ValuePtr v = Seeded(ftFMTBcd, Variant(StrToBcd(text)));
    ValuePtr back;
    ASSERT_NO_THROW(back = StreamRoundTrip(*v));
    EXPECT_EQ(back->DataType(), ftFMTBcd);
    EXPECT_EQ(back->AsString(), text);
    EXPECT_EQ(back->Compare(*v, true, true), 0);
  }
  // The decimal text does not follow the decimal separator of the settings.
  TFormatSettingsGuard guard;
  FormatSettings().DecimalSeparator = ',';
  ValuePtr v = Seeded(ftFMTBcd, Variant(StrToBcd("2,75")));
  TMemoryStream s;
  StreamRoundTrip(*v, &s);
  const String bytes(static_cast<const char*>(s.Memory()), static_cast<std::size_t>(s.Size()));
  EXPECT_NE(bytes.find("2.75"), String::npos);
  EXPECT_EQ(StreamRoundTrip(*v)->AsString(), "2,75");
}

TEST(UniValueStreaming, ReadsTheOlderFMTBcdForm) {
  // Stored files hold an FMTBcd value as a currency with four decimals.
  TMemoryStream s;
  {
    TWriter w(s);
    w.WritePropName("DataType");
    w.WriteIdent("ftFMTBcd");
    w.WritePropName("Data");
    w.WriteCurrency(Currency::FromRaw(123456));
    w.WriteListEnd();
  }
  s.SetPosition(0);
  ValuePtr back = MakeObject<TznUniValue>(false, false);
  TReader r(s);
  r.ReadProperties(back.get());
  EXPECT_EQ(back->DataType(), ftFMTBcd);
  EXPECT_EQ(back->AsString(), "12.3456");
}

TEST(UniValueTransfer, LargeIntAndBooleanFields) {
  TObjectPtr<TMemDataSet> ds(Create<TMemDataSet>(nullptr));
  ds->FieldDefs()->Add("Flag", ftBoolean);
  ds->CreateDataSet();
  ds->Append();
  TField* flag = ds->FieldByName("Flag");
  // The field has no 64-bit view: its 32-bit one carries the value.
  ValuePtr one = Seeded(ftLargeint, Int64(1));
  ASSERT_NO_THROW(one->AssignTo(flag));
  EXPECT_TRUE(flag->AsBoolean());
  ValuePtr zero = Seeded(ftLargeint, Int64(0));
  zero->AssignTo(flag);
  EXPECT_FALSE(flag->AsBoolean());
  flag->SetAsBoolean(true);
  ValuePtr back = Seeded(ftLargeint, Int64(42));
  ASSERT_NO_THROW(back->Assign(flag));
  EXPECT_EQ(back->DataType(), ftLargeint);
  EXPECT_EQ(back->AsLargeInt(), 1);
  // Beyond 32 bits the narrower view reports the overflow.
  ValuePtr big = Seeded(ftLargeint, Int64(5000000000));
  EXPECT_THROW(big->AssignTo(flag), EDatabaseError);
  ds->Cancel();
}
