// The property accessor: the type map, reads and writes of every property
// kind, the errors of missing and read-only properties, component
// references through the handle table, and the by-name helpers.
#include <gtest/gtest.h>

#include "bv_db/prop_accessor.h"
#include "bv_db/univalue.h"
#include "classes/typinfo.h"
#include "error_text.h"
#include "prop_samples.h"
#include "rtl/datetime.h"
#include "rtl/handles.h"
#include "rtl/numconv.h"
#include "rtl/streams.h"

namespace brevant {
namespace {

using test::ErrorMessageOf;
using test::ErrorOf;

TObjectPtr<TPropSample> NewSample() {
  return TObjectPtr<TPropSample>(Create<TPropSample>(nullptr));
}

TEST(PropTypeMap, EveryKindMapsToItsField) {
  struct Row {
    const char* prop;
    TFieldType type;
    Integer size;
    bool readOnly;
    Byte classKind;
  };
  const Row rows[] = {
      {"Count", ftInteger, 0, false, pckNone},      {"Color", ftInteger, 0, false, pckNone},
      {"Letter", ftString, 1, false, pckNone},      {"Shade", ftInteger, 0, false, pckNone},
      {"Active", ftBoolean, 0, false, pckNone},     {"Options", ftInteger, 0, false, pckSet},
      {"Ratio", ftFloat, 0, false, pckNone},        {"Price", ftFloat, 0, false, pckNone},
      {"Born", ftDate, 0, false, pckNone},          {"Alarm", ftTime, 0, false, pckNone},
      {"Stamp", ftDateTime, 0, false, pckNone},     {"Moment", ftFloat, 0, false, pckNone},
      {"Code", ftString, 8, false, pckNone},        {"Caption", ftString, 100, false, pckNone},
      {"Title", ftWideString, 200, false, pckNone}, {"Initial", ftWideString, 2, false, pckNone},
      {"Big", ftLargeint, 0, false, pckNone},       {"Data", ftVariant, 0, false, pckNone},
      {"Lines", ftMemo, 0, false, pckStrings},      {"Picture", ftBlob, 0, false, pckBitmap},
      {"Buddy", ftInteger, 0, false, pckComponent}, {"Nested", ftUnknown, 0, false, pckNone},
      {"Total", ftInteger, 0, true, pckNone},
  };
  for (const Row& r : rows) {
    const TPropInfo* p = GetPropInfo(TPropSample::StaticClass(), r.prop);
    ASSERT_NE(p, nullptr) << r.prop;
    const TznPropInfo info = MapPropType(p, 100, String());
    EXPECT_EQ(info.DataType, r.type) << r.prop;
    EXPECT_EQ(info.Size, r.size) << r.prop;
    EXPECT_EQ(info.ReadOnly, r.readOnly) << r.prop;
    EXPECT_EQ(info.ClassKind, r.classKind) << r.prop;
  }
  const TPropInfo* options = GetPropInfo(TPropSample::StaticClass(), "Options");
  EXPECT_EQ(MapPropType(options).ElementNames, "aaA;aaB;aaC");
}

TEST(PropTypeMap, BlobPropertiesBecomeMemos) {
  TClass c = TPropSample::StaticClass();
  EXPECT_EQ(MapPropType(GetPropInfo(c, "Caption"), 10, "x;CAPTION").DataType, ftMemo);
  EXPECT_EQ(MapPropType(GetPropInfo(c, "Caption"), 10, "x;CAPTION").Size, 0);
  EXPECT_EQ(MapPropType(GetPropInfo(c, "Title"), 10, "title").DataType, ftMemo);
  EXPECT_EQ(MapPropType(GetPropInfo(c, "Caption"), 10, "Captions").DataType, ftString)
      << "whole names only";
  EXPECT_EQ(MapPropType(nullptr).DataType, ftUnknown);
  EXPECT_TRUE(MapPropType(nullptr).ReadOnly);
}

// Text written through AsString comes back as the property's value.
TEST(PropAccessor, ReadsAndWritesEveryKindAsText) {
  struct Row {
    const char* prop;
    const char* written;
    const char* read;
  };
  const Row rows[] = {
      {"Count", "-17", "-17"},
      {"Color", "16711680", "16711680"},
      {"Mask", "-294967296", "-294967296"},
      {"Letter", "xyz", "x"},
      {"Shade", "2", "2"},
      {"Active", "True", "True"},
      {"Options", "5", "5"},
      {"Ratio", "2.5", "2.5"},
      {"Price", "12.3456", "12.3456"},
      {"Code", "abcdefghijk", "abcdefgh"},
      {"Caption",
       "Gr\xC3\xBC\xC3\x9F"
       "e \xE2\x82\xAC",
       "Gr\xC3\xBC\xC3\x9F"
       "e \xE2\x82\xAC"},
      {"Title", "\xE6\x97\xA5\xE6\x9C\xAC", "\xE6\x97\xA5\xE6\x9C\xAC"},
      {"Initial", "\xC3\xA9t\xC3\xA9", "\xC3\xA9"},
      {"Big", "9000000000000", "9000000000000"},
      {"Data", "hello", "hello"},
  };
  auto sample = NewSample();
  for (const Row& r : rows) {
    TznPropAccessor a(sample.get(), r.prop);
    ASSERT_TRUE(a.Valid()) << r.prop;
    a.SetAsString(r.written);
    EXPECT_EQ(a.AsString(), r.read) << r.prop;
    EXPECT_TRUE(a.Buffer()->IsNull()) << r.prop << ": the buffer is emptied after every operation";
  }
  EXPECT_EQ(sample->Mask(), 4000000000u) << "an unsigned 32-bit property keeps its bits";
  EXPECT_EQ(sample->Shade(), shDark);
  EXPECT_TRUE(sample->Options() == (TSampleOptions{aaA, aaC}));
  EXPECT_EQ(sample->Price().Value, 123456);
  EXPECT_EQ(sample->Title(), u"\u65E5\u672C");
  EXPECT_EQ(sample->Initial(), u'\u00E9');
  EXPECT_EQ(sample->Big(), 9000000000000);
}

TEST(PropAccessor, BooleanAndIntegerViews) {
  auto sample = NewSample();
  sample->SetActive(true);
  sample->SetColor(0x00FF00);
  TznPropAccessor active(sample.get(), "Active");
  EXPECT_EQ(active.DataType(), ftBoolean);
  EXPECT_EQ(active.AsString(), "True");
  active.SetAsString("False");
  EXPECT_FALSE(sample->Active());
  active.SetAsString("true");
  EXPECT_TRUE(sample->Active());
  EXPECT_EQ(TznPropAccessor(sample.get(), "Color").AsInteger(), 0x00FF00);
  EXPECT_EQ(TznPropAccessor(sample.get(), "Color").AsFloat(), 65280.0);
  sample->SetBig(-5000000000);
  EXPECT_EQ(TznPropAccessor(sample.get(), "Big").AsLargeInt(), -5000000000);
  EXPECT_EQ(TznPropAccessor(sample.get(), "Big").AsVariant(), Variant(Int64(-5000000000)));
}

TEST(PropAccessor, DatesKeepTheirTypes) {
  auto sample = NewSample();
  const TDateTime day = EncodeDate(2024, 2, 29);
  const TDateTime noon = EncodeTime(12, 30, 0, 0);
  sample->SetBorn(day);
  sample->SetStamp(day + 0.25);
  sample->SetMoment(day + 0.5);
  TznPropAccessor born(sample.get(), "Born");
  EXPECT_EQ(born.DataType(), ftDate);
  EXPECT_DOUBLE_EQ(born.AsFloat(), day);
  TznPropAccessor alarm(sample.get(), "Alarm");
  TznUniValue v(false, false);
  v.SetDataType(ftTime);
  v.SetAsDateTime(noon);
  alarm.Assign(&v);
  EXPECT_DOUBLE_EQ(sample->Alarm(), noon);
  EXPECT_DOUBLE_EQ(TznPropAccessor(sample.get(), "Stamp").AsFloat(), day + 0.25);
  EXPECT_EQ(TznPropAccessor(sample.get(), "Moment").DataType(), ftFloat);
  EXPECT_DOUBLE_EQ(TznPropAccessor(sample.get(), "Moment").AsFloat(), day + 0.5);
}

TEST(PropAccessor, StringListsTravelAsMemoText) {
  auto sample = NewSample();
  sample->Lines()->Add("one");
  sample->Lines()->Add("tw\xC3\xB6");
  TznPropAccessor lines(sample.get(), "Lines");
  EXPECT_EQ(lines.DataType(), ftMemo);
  EXPECT_EQ(lines.AsString(), "one\r\ntw\xC3\xB6\r\n");
  TznUniValue memo(false, false);
  memo.SetDataType(ftMemo);
  memo.SetAsString("a\r\nb\r\nc");
  lines.Assign(&memo);
  EXPECT_EQ(sample->Lines()->Text(), "a\r\nb\r\nc\r\n");
  memo.Clear();
  lines.Assign(&memo);
  EXPECT_EQ(sample->Lines()->Count(), 0) << "a null memo empties the list";
}

TEST(PropAccessor, BitmapsTravelInTheirStreamForm) {
  auto from = NewSample();
  auto to = NewSample();
  from->Picture()->SetSize(3, 2);
  from->Picture()->Canvas()->SetPixels(1, 1, clRed);
  TznPropAccessor source(from.get(), "Picture");
  TznPropAccessor target(to.get(), "Picture");
  target.Assign(&source);
  ASSERT_EQ(to->Picture()->Width(), 3);
  EXPECT_EQ(to->Picture()->Height(), 2);
  EXPECT_EQ(to->Picture()->Canvas()->Pixels(1, 1), clRed);

  TznUniValue junk(false, false);
  junk.SetDataType(ftBlob);
  junk.WriteRaw("not a picture", 13);
  EXPECT_NE(ErrorOf([&] { target.Assign(&junk); }), "no error");
  EXPECT_EQ(to->Picture()->Width(), 3) << "a refused picture leaves the bitmap as it was";

  junk.Clear();
  target.Assign(&junk);
  EXPECT_TRUE(to->Picture()->Empty()) << "a null blob empties the bitmap";
}

// A component property is written only with nil or the handle of a live
// component of the property's class: a number is never stored as a pointer.
TEST(PropAccessor, ComponentReferencesResolveThroughHandles) {
  auto sample = NewSample();
  auto buddy = NewSample();
  TznPropAccessor a(sample.get(), "Buddy");
  EXPECT_EQ(a.AsInteger(), 0);
  a.SetAsInteger(ObjectToHandle(buddy.get()));
  EXPECT_EQ(sample->Buddy(), buddy.get());
  EXPECT_EQ(a.AsInteger(), ObjectToHandle(buddy.get()));

  struct Row {
    const char* name;
    Integer handle;
  };
  TObjectPtr<TOtherComponent> other(Create<TOtherComponent>(nullptr));
  TObjectPtr<TStringList> notComponent(MakeObject<TStringList>());
  TPropSample* gone = Create<TPropSample>(nullptr);
  const Integer goneHandle = ObjectToHandle(gone);
  gone->Free();
  const Row refused[] = {
      {"a typed number", 12345},
      {"a freed component", goneHandle},
      {"a component of another class", ObjectToHandle(other.get())},
      {"an object that is not a component", ObjectToHandle(notComponent.get())},
      {"a negative number", -1},
  };
  for (const Row& r : refused) {
    EXPECT_EQ(ErrorOf([&] { a.SetAsInteger(r.handle); }),
              "EBVError: " + IntToStr(r.handle) + " does not refer to a component of class " +
                  "TPropSample")
        << r.name;
    EXPECT_EQ(sample->Buddy(), buddy.get()) << r.name << " leaves the reference alone";
  }
  a.SetAsString("0");
  EXPECT_EQ(sample->Buddy(), nullptr);
}

TEST(PropAccessor, MissingPropertyIsNotAvailable) {
  auto sample = NewSample();
  TznPropAccessor a(sample.get(), "NoSuchThing");
  EXPECT_FALSE(a.Valid());
  EXPECT_TRUE(a.ReadOnly());
  EXPECT_EQ(a.DataType(), ftUnknown);
  EXPECT_EQ(ErrorOf([&] { a.AsInteger(); }), "EBVError: Value is not available");
  EXPECT_EQ(ErrorMessageOf([&] { a.SetAsString("x"); }), "Value is not available");
  EXPECT_EQ(ErrorMessageOf([&] { a.IsEmptyValue(); }), "Value is not available");
  TznUniValue v;
  EXPECT_EQ(ErrorMessageOf([&] { a.AssignTo(&v); }), "Value is not available");
  EXPECT_EQ(GetPropAsInteger(sample.get(), "NoSuchThing"), 0);
  SetPropAsInteger(sample.get(), "NoSuchThing", 5);
  SetPropAsString(sample.get(), "NoSuchThing", "5");
  EXPECT_EQ(GetPropAsInteger(sample.get(), "count"), 0);
  SetPropAsString(sample.get(), "COUNT", "12");
  EXPECT_EQ(GetPropAsInteger(sample.get(), "Count"), 12);
}

TEST(PropAccessor, ReadOnlyPropertiesAreNeverWritten) {
  auto sample = NewSample();
  TznPropAccessor total(sample.get(), "Total");
  EXPECT_TRUE(total.ReadOnly());
  EXPECT_EQ(total.AsInteger(), 42);
  EXPECT_EQ(ErrorOf([&] { total.SetAsInteger(1); }), "EBVError: 'Total' is read-only property");
  TznUniValue v(true, false);
  v.SetAsInteger(3);
  EXPECT_EQ(ErrorMessageOf([&] { total.Assign(&v); }), "'Total' is read-only property");
  EXPECT_TRUE(total.Buffer()->IsNull());
}

// Bad input raises before the property changes, and the buffer is emptied.
TEST(PropAccessor, RefusedValuesLeaveThePropertyUnchanged) {
  auto sample = NewSample();
  sample->SetCount(7);
  sample->SetStrict(3);
  struct Row {
    const char* prop;
    const char* text;
    const char* error;
  };
  const Row rows[] = {
      {"Count", "seven", "EConvertError: 'seven' is not a valid integer value"},
      {"Shade", "9", "EPropertyError: Value 9 is out of range for property Shade"},
      {"Level", "300", "EPropertyError: Value 300 is out of range for property Level"},
      {"Options", "8", "EBVError: 8 is not a value of set type TSampleOptions"},
      {"Small", "1E300", "EBVError: 1E300 is out of the range of type Single"},
      {"Strict", "-4", "Exception: Strict refuses -4"},
  };
  for (const Row& r : rows) {
    TznPropAccessor a(sample.get(), r.prop);
    const String before = a.AsString();
    EXPECT_EQ(ErrorOf([&] { a.SetAsString(r.text); }), r.error) << r.prop;
    EXPECT_EQ(a.AsString(), before) << r.prop;
    EXPECT_TRUE(a.Buffer()->IsNull()) << r.prop;
  }
}

// Assign from another accessor copies what that accessor's property holds,
// converted to this property's type.
TEST(PropAccessor, AssignFromAccessorReadsTheSource) {
  auto sample = NewSample();
  sample->SetCount(250);
  sample->SetCaption("77");
  TznPropAccessor count(sample.get(), "Count");
  TznPropAccessor caption(sample.get(), "Caption");
  TznPropAccessor level(sample.get(), "Level");
  caption.Assign(&count);
  EXPECT_EQ(sample->Caption(), "250");
  level.Assign(&caption);
  EXPECT_EQ(sample->Level(), 250);
  sample->SetCaption("77");
  count.Assign(&caption);
  EXPECT_EQ(sample->Count(), 77);
  count.Assign(&count);
  EXPECT_EQ(sample->Count(), 77) << "assigning an accessor to itself keeps the value";
  TObjectPtr<TStringList> list(MakeObject<TStringList>());
  EXPECT_NE(ErrorOf([&] { count.Assign(list.get()); }), "no error");
}

TEST(PropAccessor, AssignToFieldsOfOtherTypes) {
  auto sample = NewSample();
  sample->SetRatio(0.5);
  TznUniValue text(false, false);
  text.SetDataType(ftString);
  TznPropAccessor(sample.get(), "Ratio").AssignTo(&text);
  EXPECT_EQ(text.AsString(), "0.5");
  sample->SetData(Variant::Null());
  TznUniValue data(false, false);
  data.SetDataType(ftInteger);
  data.SetAsInteger(5);
  TznPropAccessor(sample.get(), "Data").AssignTo(&data);
  EXPECT_TRUE(data.IsNull()) << "a Null variant reads as null";
}

TEST(PropAccessor, EmptyValuesAndTypeNames) {
  auto sample = NewSample();
  const char* empty[] = {"Count",   "Shade", "Options", "Letter", "Caption", "Title",
                         "Initial", "Ratio", "Born",    "Big",    "Data"};
  for (const char* name : empty)
    EXPECT_TRUE(TznPropAccessor(sample.get(), name).IsEmptyValue()) << name;
  sample->SetShade(shMedium);
  sample->SetOptions({aaB});
  sample->SetCaption(" ");
  sample->SetRatio(1e-300);
  sample->SetData(Variant(0));
  sample->SetBig(1);
  for (const char* name : {"Shade", "Options", "Caption", "Ratio", "Data", "Big"})
    EXPECT_FALSE(TznPropAccessor(sample.get(), name).IsEmptyValue()) << name;
  sample->SetData(Variant::Null());
  EXPECT_TRUE(TznPropAccessor(sample.get(), "Data").IsEmptyValue());
  EXPECT_FALSE(TznPropAccessor(sample.get(), "Lines").IsEmptyValue()) << "objects never are";
  EXPECT_FALSE(TznPropAccessor(sample.get(), "Buddy").IsEmptyValue());

  EXPECT_TRUE(TznPropAccessor(sample.get(), "Born").IsTypeName("tdate"));
  EXPECT_FALSE(TznPropAccessor(sample.get(), "Born").IsTypeName("TDateTime"));
  EXPECT_TRUE(TznPropAccessor(sample.get(), "Color").IsTypeName("TColor"));
  EXPECT_TRUE(TznPropAccessor(sample.get(), "Lines").IsTypeName("TStrings"));
}

TEST(PropAccessor, ObjectsOfOtherClassesAreLeftAlone) {
  auto sample = NewSample();
  TznPropAccessor nested(sample.get(), "Nested");
  EXPECT_TRUE(nested.Valid());
  EXPECT_EQ(nested.DataType(), ftUnknown);
  EXPECT_EQ(nested.AsString(), "");
  nested.SetAsString("anything");
  EXPECT_EQ(sample->Nested()->Depth(), 3);
}

TEST(ResolvePropPath, FollowsObjectProperties) {
  auto sample = NewSample();
  auto buddy = NewSample();
  sample->SetBuddy(buddy.get());
  EXPECT_EQ(ResolvePropPath(sample.get(), ""), sample.get());
  EXPECT_EQ(ResolvePropPath(nullptr, "Buddy"), nullptr);
  EXPECT_EQ(ResolvePropPath(sample.get(), "Nested"), sample->Nested());
  EXPECT_EQ(ResolvePropPath(sample.get(), "buddy.Nested"), buddy->Nested());
  EXPECT_EQ(ResolvePropPath(sample.get(), "Buddy.Buddy"), nullptr) << "a nil value ends the walk";
  EXPECT_EQ(ResolvePropPath(sample.get(), "Count"), nullptr) << "not an object property";
  EXPECT_EQ(ResolvePropPath(sample.get(), "Nested.Depth"), nullptr);
  EXPECT_EQ(ResolvePropPath(sample.get(), "Missing"), nullptr);
}

}  // namespace
}  // namespace brevant
