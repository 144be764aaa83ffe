// The universal value: storage, type changes, typed assignment, comparison.
#include <gtest/gtest.h>

#include <cstring>

#include "bv_db/univalue.h"
#include "bv_db/value_accessors.h"
#include "rtl/datetime.h"
#include "rtl/streams.h"

using namespace brevant;

namespace {

using ValuePtr = TObjectPtr<TznUniValue>;

ValuePtr NewValue(bool autoType = false, bool convert = false) {
  return MakeObject<TznUniValue>(autoType, convert);
}

// Runs f and answers the EDatabaseError message ("" when nothing raised).
template <class F>
String DbError(F&& f) {
  try {
    f();
  } catch (const EDatabaseError& e) {
    return e.Message();
  }
  return "";
}

}  // namespace

TEST(UniValue, NewValueIsNullAndUntyped) {
  ValuePtr v = NewValue();
  EXPECT_TRUE(v->IsNull());
  EXPECT_EQ(v->DataSize(), 0);
  EXPECT_EQ(v->DataType(), ftUnknown);
  EXPECT_EQ(v->AsString(), "");
  EXPECT_TRUE(VarIsNull(v->AsVariant()));
  EXPECT_FALSE(v->Modified());
  EXPECT_TRUE(v->StoreDataType());
  EXPECT_FALSE(v->IsDataTypeStored());
  EXPECT_EQ(DbError([&] { (void)v->AsInteger(); }),
            "Cannot access field 'UniValue' as type Integer");
  EXPECT_STREQ(v->Accessor()->ClassName(), "TznValueAccessor");
}

TEST(UniValue, FixedTypeTakesFirstTypeOnly) {
  ValuePtr v = NewValue(false, false);
  v->SetAsInteger(5);
  EXPECT_EQ(v->DataType(), ftInteger);
  EXPECT_EQ(v->AsInteger(), 5);
  EXPECT_TRUE(v->Modified());
  v->SetAsString("7");
  EXPECT_EQ(v->DataType(), ftInteger);
  EXPECT_EQ(v->AsInteger(), 7);
  v->SetDataType(ftString);  // ignored
  EXPECT_EQ(v->DataType(), ftInteger);
  EXPECT_EQ(v->AsInteger(), 7);
  v->SetAsFloat(2.5);  // half to even
  EXPECT_EQ(v->AsInteger(), 2);
  EXPECT_STREQ(v->Accessor()->ClassName(), "TznIntegerAccessor");
}

TEST(UniValue, TypeChangeConvertsWithFlag) {
  ValuePtr v = NewValue(false, true);
  v->SetAsInteger(12);
  v->SetDataType(ftString);
  EXPECT_EQ(v->DataType(), ftString);
  EXPECT_EQ(v->AsString(), "12");
  EXPECT_EQ(v->DataSize(), 3);
  v->SetDataType(ftFloat);
  EXPECT_DOUBLE_EQ(v->AsFloat(), 12.0);
  // A conversion the new type refuses leaves the value null, newly typed.
  EXPECT_THROW(v->SetAsString("abc"), EConvertError);  // the value is kept
  EXPECT_DOUBLE_EQ(v->AsFloat(), 12.0);
  ValuePtr s = NewValue(false, true);
  s->SetAsString("abc");
  EXPECT_THROW(s->SetDataType(ftInteger), EConvertError);
  EXPECT_EQ(s->DataType(), ftInteger);
  EXPECT_TRUE(s->IsNull());
  // Without the flag the old value is dropped.
  ValuePtr a = NewValue(true, false);
  a->SetAsInteger(12);
  a->SetDataType(ftString);
  EXPECT_EQ(a->DataType(), ftString);
  EXPECT_TRUE(a->IsNull());
}

TEST(UniValue, AutoDataTypeRetypesOnAssignment) {
  ValuePtr v = NewValue(true, false);
  v->SetAsInteger(12);
  v->SetAsString("abc");
  EXPECT_EQ(v->DataType(), ftString);
  EXPECT_EQ(v->AsString(), "abc");
  v->SetAsBoolean(true);
  EXPECT_EQ(v->DataType(), ftBoolean);
  v->SetAsLargeInt(5000000000LL);
  EXPECT_EQ(v->DataType(), ftLargeint);
  EXPECT_EQ(v->AsLargeInt(), 5000000000LL);
  // Auto typing plus conversion: the typed assignment does not convert.
  ValuePtr c = NewValue(true, true);
  c->SetAsString("xyz");
  c->SetAsInteger(3);
  EXPECT_EQ(c->DataType(), ftInteger);
  EXPECT_EQ(c->AsInteger(), 3);
}

TEST(UniValue, EmptyTextNullsNonTextTypes) {
  const TFieldType types[] = {ftInteger, ftFloat, ftBoolean, ftDate, ftBlob, ftLargeint, ftBCD};
  for (TFieldType t : types) {
    ValuePtr v = NewValue();
    v->SetDataType(t);
    v->SetAsString(t == ftBoolean ? "true" : t == ftDate ? DateToStr(1) : "1");
    ASSERT_FALSE(v->IsNull()) << FieldTypeName(t);
    v->SetAsString("");
    EXPECT_TRUE(v->IsNull()) << FieldTypeName(t);
    EXPECT_EQ(v->DataType(), t);
  }
  ValuePtr s = NewValue();
  s->SetAsString("");
  EXPECT_FALSE(s->IsNull());
  EXPECT_EQ(s->DataSize(), 1);
  ValuePtr w = NewValue();
  w->SetDataType(ftWideString);
  w->SetAsString("");
  EXPECT_FALSE(w->IsNull());
  EXPECT_EQ(w->DataSize(), 2);
}

TEST(UniValue, NullVariantAndClear) {
  ValuePtr v = NewValue();
  v->SetAsVariant(Null());
  EXPECT_EQ(v->DataType(), ftVariant);
  EXPECT_TRUE(v->IsNull());
  ValuePtr i = NewValue();
  i->SetAsInteger(4);
  i->SetModified(false);
  i->SetAsVariant(Null());
  EXPECT_TRUE(i->IsNull());
  EXPECT_EQ(i->DataType(), ftInteger);
  EXPECT_TRUE(i->Modified());
  i->SetAsInteger(4);
  i->SetIsNull(false);
  EXPECT_FALSE(i->IsNull());
  i->SetIsNull(true);
  EXPECT_TRUE(i->IsNull());
}

TEST(UniValue, VariantHolderLifetime) {
  // Held variants are released on clear, on type change (also to ftUnknown)
  // and on destruction; ASan reports any leak.
  ValuePtr v = NewValue(true, true);
  v->SetAsVariant(Variant("text"));
  EXPECT_EQ(v->DataType(), ftVariant);
  EXPECT_EQ(v->AsString(), "text");
  v->SetAsVariant(Variant(42));  // reuses the holder
  EXPECT_EQ(v->AsInteger(), 42);
  v->SetDataType(ftUnknown);
  EXPECT_EQ(v->AsInteger(), 42);
  EXPECT_STREQ(v->Accessor()->ClassName(), "TznVariantAccessor");
  v->Clear();
  EXPECT_TRUE(v->IsNull());
  v->SetAsVariant(Variant(1.5));
  v->SetDataType(ftFloat);
  EXPECT_DOUBLE_EQ(v->AsFloat(), 1.5);
  ValuePtr w = NewValue(false, false);
  w->SetAsVariant(Variant("left for the destructor"));
}

TEST(UniValue, StorageReusesItsBlock) {
  ValuePtr v = NewValue();
  v->SetAsString("a fairly long text value");
  const void* block = v->Data();
  v->SetAsString("short");
  EXPECT_EQ(v->Data(), block);
  EXPECT_EQ(v->AsString(), "short");
  EXPECT_EQ(v->DataSize(), 6);
  v->SetAsString("a fairly long text value!");
  EXPECT_EQ(v->AsString(), "a fairly long text value!");
  char buf[4] = {'x', 'x', 'x', 'x'};
  v->ReadRaw(buf, 3);
  EXPECT_EQ(String(buf, 4), "a fx");
  v->WriteRaw(nullptr, 5);
  EXPECT_TRUE(v->IsNull());
  EXPECT_EQ(v->Data(), nullptr);
}

TEST(UniValue, CompareNullsAndCase) {
  ValuePtr n1 = NewValue(), n2 = NewValue(), five = NewValue();
  five->SetAsInteger(5);
  for (bool cs : {false, true})
    for (bool nf : {false, true}) EXPECT_EQ(n1->Compare(*n2, cs, nf), 0);
  EXPECT_EQ(n1->Compare(*five, false, true), -1);
  EXPECT_EQ(n1->Compare(*five, false, false), 1);
  EXPECT_EQ(five->Compare(*n1, false, true), 1);
  EXPECT_EQ(five->Compare(*n1, false, false), -1);

  ValuePtr a = NewValue(), b = NewValue();
  a->SetAsString("abc");
  b->SetAsString("ABC");
  EXPECT_EQ(a->Compare(*b, false, true), 0);
  EXPECT_NE(a->Compare(*b, true, true), 0);
  b->SetAsString("abd");
  EXPECT_LT(a->Compare(*b, true, true), 0);
  EXPECT_GT(b->Compare(*a, false, true), 0);
}

TEST(UniValue, AssignBetweenValues) {
  ValuePtr src = NewValue(), dst = NewValue();
  src->SetAsFloat(2.75);
  dst->Assign(src.get());
  EXPECT_EQ(dst->DataType(), ftFloat);
  EXPECT_DOUBLE_EQ(dst->AsFloat(), 2.75);
  // A fixed destination converts.
  ValuePtr text = NewValue();
  text->SetAsString("");
  text->Assign(src.get());
  EXPECT_EQ(text->DataType(), ftString);
  EXPECT_EQ(text->AsString(), "2.75");
  // A null source nulls, keeping the type.
  ValuePtr none = NewValue();
  text->Assign(none.get());
  EXPECT_TRUE(text->IsNull());
  EXPECT_EQ(text->DataType(), ftString);
  // AssignTo a value.
  ValuePtr copy = NewValue();
  src->AssignTo(copy.get());
  EXPECT_DOUBLE_EQ(copy->AsFloat(), 2.75);
  // Other classes raise the assignment error.
  TObjectPtr<TznVariantHolder> other(Create<TznVariantHolder>());
  EXPECT_THROW(dst->Assign(other.get()), EConvertError);
  EXPECT_THROW(src->AssignTo(other.get()), EConvertError);
}

TEST(UniValue, LoadAndSaveStream) {
  ValuePtr blob = NewValue();
  blob->SetDataType(ftBlob);
  TMemoryStream s;
  s.WriteBuffer("0123456789", 10);
  s.SetPosition(4);
  blob->LoadFromStream(s);
  EXPECT_EQ(blob->AsString(), "456789");
  EXPECT_EQ(blob->DataSize(), 6);
  s.SetPosition(10);
  blob->LoadFromStream(s);
  EXPECT_TRUE(blob->IsNull());
  EXPECT_TRUE(blob->Modified());

  ValuePtr i = NewValue();
  i->SetAsInteger(9);
  i->SetModified(false);
  s.SetPosition(0);
  i->LoadFromStream(s);
  EXPECT_EQ(i->AsInteger(), 9);
  EXPECT_FALSE(i->Modified());

  TMemoryStream out;
  ValuePtr str = NewValue();
  str->SetAsString("ab");
  str->SaveToStream(out);
  ASSERT_EQ(out.Size(), 3);
  EXPECT_EQ(std::memcmp(out.Memory(), "ab", 3), 0);
  EXPECT_TRUE(IsBlobDataType(ftOraClob));
  EXPECT_TRUE(IsBlobDataType(ftMemo));
  EXPECT_FALSE(IsBlobDataType(ftBytes));
  EXPECT_FALSE(IsBlobDataType(ftCursor));
}

TEST(UniValue, VariantBytesAreNotRawAccessible) {
  ValuePtr v = NewValue();
  v->SetDataType(ftVariant);
  v->SetAsVariant("held");
  // The held bytes refer to the value's own holder: neither a raw write
  // (which would make the value free an arbitrary address) nor a raw read
  // (a heap address) is allowed.
  const Int64 junk = 0x1234;
  EXPECT_THROW(v->WriteRaw(&junk, sizeof junk), EDatabaseError);
  Int64 out = 0;
  EXPECT_THROW(v->ReadRaw(&out, sizeof out), EDatabaseError);
  EXPECT_EQ(out, 0);
  EXPECT_EQ(v->AsString(), "held");
  // Streaming the bytes writes no address.
  TMemoryStream s;
  v->SaveToStream(s);
  EXPECT_EQ(s.Size(), 0);
  // Typed access and clearing still work.
  v->SetAsInteger(7);
  EXPECT_EQ(v->AsInteger(), 7);
  v->Clear();
  EXPECT_TRUE(v->IsNull());
}

TEST(UniValue, MixedNumericCompareUsesTheWiderKind) {
  auto make = [](TFieldType type, const Variant& seed) {
    ValuePtr v = NewValue();
    v->SetDataType(type);
    v->SetAsVariant(seed);
    return v;
  };
  auto sign = [](const ValuePtr& a, const ValuePtr& b) {
    const Integer c = a->Compare(*b, false, true);
    return (c > 0) - (c < 0);
  };
  const struct {
    TFieldType ta;
    Variant a;
    TFieldType tb;
    Variant b;
    int sign;
  } table[] = {
      {ftInteger, 1, ftLargeint, Int64(5000000000), -1},
      {ftInteger, 2, ftFloat, 2.5, -1},
      {ftInteger, 3, ftFloat, 2.5, 1},
      {ftLargeint, Int64(5000000000), ftFloat, 5000000000.5, -1},
      {ftInteger, 2, ftBCD, Currency::FromRaw(20001), -1},
      {ftLargeint, Int64(7), ftFMTBcd, Variant(StrToBcd("7")), 0},
      {ftSmallint, -4, ftLargeint, Int64(-4), 0},
  };
  for (const auto& row : table) {
    ValuePtr a = make(row.ta, row.a), b = make(row.tb, row.b);
    SCOPED_TRACE(String(FieldTypeName(row.ta)) + " / " + FieldTypeName(row.tb));
    EXPECT_EQ(sign(a, b), row.sign);
    EXPECT_EQ(sign(b, a), -row.sign) << "the reverse order gives the opposite sign";
  }
}

TEST(UniValue, ThirtyTwoBitOverflowHasOneMessage) {
  const String expected = "5000000000 is out of the range of type Integer";
  ValuePtr big = NewValue();
  big->SetDataType(ftLargeint);
  big->SetAsLargeInt(5000000000LL);
  EXPECT_EQ(DbError([&] { big->AsInteger(); }), expected);
  ValuePtr f = NewValue();
  f->SetDataType(ftFloat);
  f->SetAsFloat(5e9);
  EXPECT_EQ(DbError([&] { f->AsInteger(); }), expected);
  ValuePtr i = NewValue();
  i->SetDataType(ftInteger);
  EXPECT_EQ(DbError([&] { i->SetAsLargeInt(5000000000LL); }), expected);
  EXPECT_EQ(DbError([&] { i->SetAsFloat(5e9); }), expected);
  // A type without a numeric view keeps its conversion error.
  ValuePtr b = NewValue();
  b->SetDataType(ftBoolean);
  b->SetAsBoolean(true);
  EXPECT_EQ(DbError([&] { b->AsInteger(); }), "Cannot access field 'UniValue' as type Integer");
}
