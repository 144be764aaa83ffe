// The data providers: field definitions derived from published properties
// (sets expanded, aliases, memo and read-only fields), reads and writes of
// records of an object, a collection, a quick record set and a string list
// (sorted ones too), record references, and the provider choice.
#include <gtest/gtest.h>

#include "bv_db/data_providers.h"
#include "bv_db/prop_accessor.h"
#include "bv_db/quick_record_set.h"
#include "bv_db/univalue.h"
#include "classes/rtti_builder.h"
#include "db/db_test_util.h"
#include "db/field_defs.h"
#include "db/mem_dataset.h"
#include "error_text.h"
#include "prop_samples.h"
#include "rtl/datetime.h"
#include "rtl/handles.h"

namespace brevant {
namespace {

using test::ErrorMessageOf;
using test::ErrorOf;

// "Name:type:size[:ro]" per definition, space-separated.
String DescribeDefs(const TFieldDefs& defs) {
  String text;
  for (Integer i = 0; i < defs.Count(); ++i) {
    const TFieldDef* d = defs.Items(i);
    if (!text.empty()) text += " ";
    text +=
        d->Name() + ":" + IntToStr(static_cast<Integer>(d->DataType())) + ":" + IntToStr(d->Size());
    if (d->Attributes().Contains(faReadonly)) text += ":ro";
  }
  return text;
}

// A value typed like a field of the given type.
TObjectPtr<TznUniValue> Typed(TFieldType type) {
  TObjectPtr<TznUniValue> v(MakeObject<TznUniValue>(false, false));
  v->SetDataType(type);
  return v;
}

String ReadText(TodsDataProvider& p, const String& field, Integer index) {
  auto v = Typed(ftString);
  p.GetFieldValue(field, index, v.get());
  return v->IsNull() ? String("<null>") : v->AsString();
}

// A set element field's value: "True", "False" or "<null>".
String ReadBool(TodsDataProvider& p, const String& field, Integer index) {
  auto v = Typed(ftBoolean);
  p.GetFieldValue(field, index, v.get());
  return v->IsNull() ? String("<null>") : v->AsBoolean() ? String("True") : String("False");
}

void WriteText(TodsDataProvider& p, const String& field, Integer index, const String& text) {
  auto v = Typed(ftString);
  v->SetAsString(text);
  p.SetFieldValue(field, index, v.get());
}

void WriteBool(TodsDataProvider& p, const String& field, Integer index, bool value) {
  auto v = Typed(ftBoolean);
  v->SetAsBoolean(value);
  p.SetFieldValue(field, index, v.get());
}

// A small published class: the fields come out sorted by name.
class TSimple : public TPersistent {
  BV_CLASS(TSimple, TPersistent)
 public:
  const String& Caption() const { return caption_; }
  void SetCaption(const String& v) { caption_ = v; }
  Integer Width() const { return width_; }
  void SetWidth(Integer v) { width_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  TSampleOptions Options() const { return options_; }
  void SetOptions(TSampleOptions v) { options_ = v; }
  Integer Fixed() const { return 1; }

 private:
  String caption_;          // text
  Integer width_ = 0;       // number
  bool visible_ = false;    // flag
  TSampleOptions options_;  // set
};

}  // namespace

BV_PUBLISH(TSimple, TPersistent) {
  p.Property("Width", &TSimple::Width, &TSimple::SetWidth);
  p.Property("Caption", &TSimple::Caption, &TSimple::SetCaption);
  p.Property("Visible", &TSimple::Visible, &TSimple::SetVisible);
  p.Property("Options", &TSimple::Options, &TSimple::SetOptions);
  p.ReadOnly("Fixed", &TSimple::Fixed);
}

namespace {

TEST(ObjectDataProvider, FieldsComeFromPublishedProperties) {
  TObjectPtr<TSimple> obj(MakeObject<TSimple>());
  TObjectPtr<TFieldDefs> defsOwner(MakeObject<TFieldDefs>());
  TFieldDefs& defs = *defsOwner;
  String names;
  TObjectDataProvider plain(obj.get(), nullptr, nullptr);
  plain.InitFieldDefs(&defs, names);
  EXPECT_EQ(names, "Caption;Fixed;Options;Visible;Width");
  EXPECT_EQ(DescribeDefs(defs), "Caption:1:1024 Fixed:3:0:ro Options:3:0 Visible:5:0 Width:3:0");

  TObjectPtr<TodsObjectParams> params(MakeObject<TodsObjectParams>());
  params->SetExpandSets(true);
  params->SetStringLength(40);
  TObjectDataProvider expanded(obj.get(), nullptr, params.get());
  expanded.InitFieldDefs(&defs, names);
  EXPECT_EQ(names, "Caption;Fixed;Options_aaA;Options_aaB;Options_aaC;Visible;Width");
  EXPECT_EQ(DescribeDefs(defs),
            "Caption:1:40 Fixed:3:0:ro Options_aaA:5:0 Options_aaB:5:0 Options_aaC:5:0 "
            "Visible:5:0 Width:3:0");
  EXPECT_EQ(expanded.PropNames()->Text(), "Options\r\nOptions\r\nOptions\r\n");
  EXPECT_EQ(expanded.ExpandedFieldNames()->Strings(1), "Options_aaB");
}

TEST(ObjectDataProvider, EveryKindOfTheSampleMakesAField) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  TObjectPtr<TodsObjectParams> params(MakeObject<TodsObjectParams>());
  params->SetBlobProperties("Caption");
  params->SetStringLength(16);
  TObjectDataProvider p(sample.get(), nullptr, params.get());
  TObjectPtr<TFieldDefs> defsOwner(MakeObject<TFieldDefs>());
  TFieldDefs& defs = *defsOwner;
  String names;
  p.InitFieldDefs(&defs, names);
  EXPECT_EQ(names,
            "Active;Alarm;Big;Born;Buddy;Caption;Code;Color;Count;Data;Initial;Letter;Level;"
            "Lines;Mask;Moment;Name;Nested;Options;Picture;Price;Ratio;Shade;Small;Stamp;Strict;"
            "Tag;Title;Total");
  struct Row {
    const char* name;
    TFieldType type;
    Integer size;
  };
  const Row rows[] = {
      {"Caption", ftMemo, 0},  {"Title", ftWideString, 32}, {"Initial", ftWideString, 2},
      {"Code", ftString, 8},   {"Lines", ftMemo, 0},        {"Picture", ftBlob, 0},
      {"Buddy", ftInteger, 0}, {"Nested", ftUnknown, 0},    {"Big", ftLargeint, 0},
      {"Data", ftVariant, 0},  {"Born", ftDate, 0},         {"Moment", ftFloat, 0}};
  for (const Row& r : rows) {
    const TFieldDef* d = defs.Find(r.name);
    ASSERT_NE(d, nullptr) << r.name;
    EXPECT_EQ(d->DataType(), r.type) << r.name;
    EXPECT_EQ(d->Size(), r.size) << r.name;
  }
}

TEST(ObjectDataProvider, ReadsAndWritesTheObject) {
  TObjectPtr<TSimple> obj(MakeObject<TSimple>());
  TObjectDataProvider p(obj.get(), nullptr, nullptr);
  EXPECT_FALSE(p.CanInsertDelete());
  EXPECT_EQ(p.GetRecordCount(), 1);
  EXPECT_EQ(p.IndexOfRef(p.RecordRef(0)), 0);
  EXPECT_EQ(p.GetObject(0), obj.get());
  WriteText(p, "caption", 0, "Hello");
  WriteText(p, "Width", 0, "120");
  WriteText(p, "Visible", 0, "True");
  EXPECT_EQ(obj->Caption(), "Hello");
  EXPECT_EQ(obj->Width(), 120);
  EXPECT_TRUE(obj->Visible());
  EXPECT_EQ(ReadText(p, "WIDTH", 0), "120");
  auto untouched = Typed(ftString);
  untouched->SetAsString("kept");
  p.GetFieldValue("NoSuchField", 0, untouched.get());
  EXPECT_EQ(untouched->AsString(), "kept") << "a property the object lacks leaves the value";
  WriteText(p, "NoSuchField", 0, "x");  // ignored
  p.InsertRecord(-1);
  p.DeleteRecord(0);
  EXPECT_EQ(obj->Caption(), "Hello") << "a single object is never inserted or deleted";
}

// Every kind through the provider, with values typed like the fields the
// provider defines (as the object dataset's record buffers are).
TEST(ObjectDataProvider, EveryKindRoundTripsThroughItsField) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  TObjectPtr<TPropSample> buddy(Create<TPropSample>(nullptr));
  TObjectDataProvider p(sample.get(), nullptr, nullptr);
  TObjectPtr<TFieldDefs> defs(MakeObject<TFieldDefs>());
  String names;
  p.InitFieldDefs(defs.get(), names);
  const String handle = IntToStr(ObjectToHandle(buddy.get()));
  struct Row {
    const char* field;
    String text;
  };
  const Row rows[] = {
      {"Count", "-3"},
      {"Color", "255"},
      {"Mask", "-1"},
      {"Level", "200"},
      {"Letter", "q"},
      {"Shade", "1"},
      {"Active", "True"},
      {"Options", "6"},
      {"Ratio", "0.125"},
      {"Small", "1.5"},
      {"Price", "7.25"},
      {"Born", "03/04/2021"},
      {"Alarm", "10:20:30"},
      {"Stamp", "03/04/2021 10:20:30"},
      {"Moment", "44000.5"},
      {"Code", "ABCDEFGH"},
      {"Caption", "caf\xC3\xA9"},
      {"Title", "\xCE\xA9"},
      {"Initial", "\xCE\xA9"},
      {"Big", "-9000000000"},
      {"Data", "v"},
      {"Lines", "x\r\ny\r\n"},
      {"Buddy", handle},
  };
  for (const Row& r : rows) {
    const TFieldDef* def = defs->Find(r.field);
    ASSERT_NE(def, nullptr) << r.field;
    auto in = Typed(def->DataType());
    in->SetAsString(r.text);
    p.SetFieldValue(r.field, 0, in.get());
    auto out = Typed(def->DataType());
    p.GetFieldValue(r.field, 0, out.get());
    EXPECT_EQ(out->AsString(), r.text) << r.field;
  }
  EXPECT_EQ(sample->Mask(), 0xFFFFFFFFu);
  EXPECT_EQ(sample->Buddy(), buddy.get());
  EXPECT_EQ(sample->Lines()->Count(), 2);
  EXPECT_EQ(sample->Born(), EncodeDate(2021, 3, 4));
}

TEST(ObjectDataProvider, SetElementFieldsSetExactlyTheirBit) {
  TObjectPtr<TSimple> obj(MakeObject<TSimple>());
  TObjectPtr<TodsObjectParams> params(MakeObject<TodsObjectParams>());
  params->SetExpandSets(true);
  TObjectDataProvider p(obj.get(), nullptr, params.get());
  TObjectPtr<TFieldDefs> defsOwner(MakeObject<TFieldDefs>());
  TFieldDefs& defs = *defsOwner;
  String names;
  p.InitFieldDefs(&defs, names);
  WriteBool(p, "Options_aaB", 0, true);
  EXPECT_TRUE(obj->Options() == TSampleOptions{aaB});
  WriteBool(p, "options_AAC", 0, true);
  WriteBool(p, "Options_aaB", 0, false);
  EXPECT_TRUE(obj->Options() == TSampleOptions{aaC});
  EXPECT_EQ(ReadBool(p, "Options_aaA", 0), "False");
  EXPECT_EQ(ReadBool(p, "Options_aaC", 0), "True");
}

// A set shown under an alias of another length: the element is cut after
// the alias, and an element that is not found is ignored.
TEST(ObjectDataProvider, AliasedSetElementsFindTheirElement) {
  TObjectPtr<TAliasedSample> obj(MakeObject<TAliasedSample>());
  TObjectPtr<TodsObjectParams> params(MakeObject<TodsObjectParams>());
  params->SetExpandSets(true);
  TObjectDataProvider p(obj.get(), nullptr, params.get());
  TObjectPtr<TFieldDefs> defsOwner(MakeObject<TFieldDefs>());
  TFieldDefs& defs = *defsOwner;
  String names;
  p.InitFieldDefs(&defs, names);
  EXPECT_EQ(names, "Opt_aaA;Opt_aaB;Opt_aaC");
  EXPECT_EQ(p.PropNames()->Strings(0), "Opt");
  WriteBool(p, "Opt_aaB", 0, true);
  EXPECT_TRUE(obj->Options() == TSampleOptions{aaB}) << "exactly the named element";
  EXPECT_EQ(ReadBool(p, "Opt_aaB", 0), "True");
  EXPECT_EQ(ReadBool(p, "Opt_aaA", 0), "False");

  p.PropNames()->Add("Opt");
  p.ExpandedFieldNames()->Add("Opt_zz");
  WriteBool(p, "Opt_zz", 0, true);
  EXPECT_TRUE(obj->Options() == TSampleOptions{aaB}) << "an unknown element sets no bit";
  EXPECT_EQ(ReadBool(p, "Opt_zz", 0), "False");
}

TEST(ObjectDataProvider, NullableValues) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  TObjectPtr<TodsObjectParams> params(MakeObject<TodsObjectParams>());
  params->SetNullableTypes("x;tdate");
  params->SetNullableProperties("Caption");
  TObjectDataProvider p(sample.get(), nullptr, params.get());
  EXPECT_EQ(ReadText(p, "Born", 0), "<null>");
  EXPECT_EQ(ReadText(p, "Caption", 0), "<null>");
  EXPECT_EQ(ReadText(p, "Count", 0), "0") << "neither type nor name is nullable";
  sample->SetBorn(EncodeDate(2020, 1, 2));
  EXPECT_NE(ReadText(p, "Born", 0), "<null>");
  auto null = Typed(ftDate);
  p.SetFieldValue("Born", 0, null.get());
  EXPECT_EQ(sample->Born(), 0) << "null is written as the empty value";
}

TEST(ObjectDataProvider, RefusedWritesRaiseAndLeaveTheProperty) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  sample->SetCount(5);
  TObjectDataProvider p(sample.get(), nullptr, nullptr);
  EXPECT_EQ(ErrorOf([&] { WriteText(p, "Total", 0, "1"); }),
            "EBVError: 'Total' is read-only property");
  EXPECT_EQ(ErrorOf([&] { WriteText(p, "Count", 0, "many"); }),
            "EConvertError: 'many' is not a valid integer value");
  EXPECT_EQ(sample->Count(), 5);
  EXPECT_EQ(ErrorMessageOf([&] { WriteText(p, "Strict", 0, "-1"); }), "Strict refuses -1");
  EXPECT_EQ(sample->Strict(), 0);
  EXPECT_EQ(ErrorMessageOf([&] { WriteText(p, "Buddy", 0, "12345"); }),
            "12345 does not refer to a component of class TPropSample");
  EXPECT_EQ(sample->Buddy(), nullptr);
}

TObjectPtr<TSampleItems> MakeItems(std::initializer_list<const char*> names) {
  TObjectPtr<TSampleItems> items(Create<TSampleItems>());
  for (const char* n : names) static_cast<TSampleItem*>(items->Add())->SetName(n);
  return items;
}

TEST(CollectionDataProvider, ItemsAreRecordsWithTheCollectionsAliases) {
  auto items = MakeItems({"one", "two"});
  TObjectPtr<TodsObjectParams> params(MakeObject<TodsObjectParams>());
  params->SetExpandSets(true);
  TCollectionDataProvider p(items.get(), nullptr, params.get());
  TObjectPtr<TFieldDefs> defsOwner(MakeObject<TFieldDefs>());
  TFieldDefs& defs = *defsOwner;
  String names;
  p.InitFieldDefs(&defs, names);
  EXPECT_EQ(names, "F_aaA;F_aaB;F_aaC;Title;Serial;Weight");
  EXPECT_EQ(DescribeDefs(defs),
            "F_aaA:5:0 F_aaB:5:0 F_aaC:5:0 Title:1:1024 Serial:3:0:ro Weight:3:0");
  EXPECT_TRUE(p.CanInsertDelete());
  EXPECT_EQ(p.GetRecordCount(), 2);
  EXPECT_EQ(ReadText(p, "Title", 1), "two");
  WriteText(p, "title", 0, "uno");
  EXPECT_EQ(items->Item(0)->Name(), "uno");
  WriteBool(p, "F_aaC", 1, true);
  EXPECT_TRUE(items->Item(1)->Flags() == TSampleOptions{aaC});
  EXPECT_EQ(ReadBool(p, "F_aaC", 1), "True");
  EXPECT_EQ(ReadText(p, "Weight", 0), "<null>") << "the collection lists Weight as nullable";
  WriteText(p, "Weight", 0, "3");
  EXPECT_EQ(ReadText(p, "Weight", 0), "3");
}

TEST(CollectionDataProvider, InsertDeleteAndReferences) {
  auto items = MakeItems({"a", "b", "c"});
  TCollectionDataProvider p(items.get(), nullptr, nullptr);
  const Integer refB = p.RecordRef(1);
  EXPECT_EQ(p.IndexOfRef(refB), 1);
  EXPECT_EQ(p.RecordRef(1), refB) << "a reference stays the same";
  p.InsertRecord(0);
  EXPECT_EQ(items->Count(), 4);
  EXPECT_EQ(items->Item(0)->Name(), "");
  EXPECT_EQ(p.IndexOfRef(refB), 2) << "a reference follows its item";
  p.InsertRecord(-1);
  EXPECT_EQ(p.GetRecordCount(), 5);
  EXPECT_EQ(p.LastWrittenIndex(), 4);
  p.DeleteRecord(2);
  EXPECT_EQ(items->Count(), 4);
  EXPECT_EQ(p.IndexOfRef(refB), -1) << "the freed item's reference finds nothing";
  TObjectPtr<TSimple> stranger(MakeObject<TSimple>());
  EXPECT_EQ(p.IndexOfRef(ObjectToHandle(stranger.get())), -1);
  EXPECT_EQ(p.IndexOfRef(0), -1);
}

TObjectPtr<TznQuickRecordSet> MakeRecordSet(std::initializer_list<const char*> names) {
  TObjectPtr<TznQuickRecordSet> set(Create<TznQuickRecordSet>());
  set->Fields()->AddField("Name", ftString, 20);
  set->Fields()->AddField("Age", ftInteger, 0);
  for (const char* n : names) set->ValueAt("Name", set->Append())->SetAsString(n);
  return set;
}

TEST(RecordSetDataProvider, RowsAreRecords) {
  auto set = MakeRecordSet({"x", "y"});
  set->Fields()->Items(0)->SetPrecision(2);
  TRecordSetDataProvider p(set.get(), nullptr, nullptr);
  TObjectPtr<TFieldDefs> defsOwner(MakeObject<TFieldDefs>());
  TFieldDefs& defs = *defsOwner;
  String names;
  p.InitFieldDefs(&defs, names);
  EXPECT_EQ(names, "Name;Age");
  EXPECT_EQ(DescribeDefs(defs), "Name:1:20 Age:3:0");
  EXPECT_EQ(defs.Items(0)->Precision(), 2);
  EXPECT_EQ(p.GetRecordCount(), 2);
  EXPECT_EQ(ReadText(p, "name", 1), "y");
  WriteText(p, "Age", 0, "33");
  EXPECT_EQ(set->ValueAt("Age", 0)->AsInteger(), 33);
  EXPECT_EQ(ErrorOf([&] { ReadText(p, "Nope", 0); }), "EBVError: Field 'Nope' not found");
  p.InsertRecord(-1);
  p.InsertRecord(0);
  EXPECT_EQ(set->RowCount(), 4);
  EXPECT_EQ(ReadText(p, "Name", 1), "x");
  p.DeleteRecord(1);
  EXPECT_EQ(ReadText(p, "Name", 1), "y");
  Integer notified = -1;
  set->OnRecordChanged = TznRecordChangedEvent::FromCallable(
      [&](TObject*, TUpdateKind kind, const String& fields, Integer index) {
        notified = index;
        EXPECT_EQ(kind, ukModify);
        EXPECT_EQ(fields, "Age");
      });
  p.RecordChanged(ukModify, "Age", 1);
  EXPECT_EQ(notified, 1);
}

TEST(IndexProviders, ReferencesOutsideTheRecordsFindNothing) {
  auto set = MakeRecordSet({"x", "y"});
  TObjectPtr<TStringList> lines(MakeObject<TStringList>());
  lines->SetText("a\nb\nc");
  TRecordSetDataProvider rs(set.get(), nullptr, nullptr);
  TStringsDataProvider st(lines.get(), nullptr, nullptr);
  struct Row {
    TodsDataProvider* p;
    Integer ref;
    Integer index;
  };
  const Row rows[] = {{&rs, 0, 0}, {&rs, 1, 1},  {&rs, 2, -1},  {&rs, -1, -1},
                      {&st, 2, 2}, {&st, 3, -1}, {&st, -5, -1}, {&st, INT32_MAX, -1}};
  for (const Row& r : rows) EXPECT_EQ(r.p->IndexOfRef(r.ref), r.index) << r.ref;
}

// A record inserted into a sorted record set is written to its own row,
// and LastWrittenIndex follows it to its sorted place.
TEST(RecordSetDataProvider, InsertIntoSortedSetWritesTheNewRow) {
  auto set = MakeRecordSet({"b", "d", "f"});
  set->SetSortString("Name");
  TRecordSetDataProvider p(set.get(), nullptr, nullptr);
  p.InsertRecord(0);
  WriteText(p, "Name", 0, "e");
  WriteText(p, "Age", 0, "9");
  EXPECT_EQ(ReadText(p, "Name", 0), "e") << "read back before the change is reported";
  p.RecordChanged(ukInsert, "Name;Age", 0);
  EXPECT_EQ(p.LastWrittenIndex(), 2);
  EXPECT_EQ(ReadText(p, "Name", 2), "e");
  EXPECT_EQ(ReadText(p, "Age", 2), "9");
  EXPECT_EQ(ReadText(p, "Name", 0), "b") << "the row at the insert position is untouched";
  EXPECT_EQ(ReadText(p, "Age", 0), "<null>");
}

TEST(StringsDataProvider, LinesAreRecords) {
  TObjectPtr<TStringList> lines(MakeObject<TStringList>());
  lines->SetText("alpha\n\xC3\xA9t\xC3\xA9\ngamma");
  TStringsDataProvider p(lines.get(), nullptr, nullptr);
  TObjectPtr<TFieldDefs> defsOwner(MakeObject<TFieldDefs>());
  TFieldDefs& defs = *defsOwner;
  String names;
  p.InitFieldDefs(&defs, names);
  EXPECT_EQ(names, "no;value");
  EXPECT_EQ(DescribeDefs(defs), "no:3:0:ro value:1:4096");
  EXPECT_EQ(p.GetRecordCount(), 3);
  for (Integer i = 0; i < 3; ++i) EXPECT_EQ(ReadText(p, "NO", i), IntToStr(i));
  EXPECT_EQ(ReadText(p, "Value", 1), "\xC3\xA9t\xC3\xA9");
  WriteText(p, "value", 1, "beta");
  WriteText(p, "no", 1, "99");  // ignored
  EXPECT_EQ(lines->Strings(1), "beta");
  p.InsertRecord(-1);
  EXPECT_EQ(lines->Count(), 4);
  EXPECT_EQ(lines->Strings(3), "");
  p.InsertRecord(0);
  EXPECT_EQ(lines->Strings(0), "");
  EXPECT_EQ(lines->Strings(1), "alpha");
  p.DeleteRecord(0);
  EXPECT_EQ(lines->Text(), "alpha\r\nbeta\r\ngamma\r\n\r\n");
}

// A record inserted into a sorted list is written to the line it became,
// not to the line sorting left at the insert position.
TEST(StringsDataProvider, InsertIntoSortedListWritesTheNewLine) {
  struct Row {
    const char* name;
    Integer insertAt;  // -1 appends; the dataset then writes the last index
    Integer writeAt;
    const char* text;
    const char* result;
    Integer lands;
  };
  const Row rows[] = {
      {"append", -1, 3, "a", "a b d f", 0},
      {"insert at the top", 0, 0, "e", "b d e f", 2},
      {"insert in the middle", 1, 1, "z", "b d f z", 3},
      {"insert staying empty", 2, 2, "", " b d f", 0},
  };
  for (const Row& r : rows) {
    TObjectPtr<TStringList> lines(MakeObject<TStringList>());
    lines->SetSorted(true);
    lines->SetText("d\nb\nf");
    TStringsDataProvider p(lines.get(), nullptr, nullptr);
    p.InsertRecord(r.insertAt);
    WriteText(p, "value", r.writeAt, r.text);
    EXPECT_EQ(ReadText(p, "value", r.writeAt), r.text) << r.name << ": read back at its index";
    p.RecordChanged(ukInsert, "value", r.writeAt);
    String all;
    for (Integer i = 0; i < lines->Count(); ++i) all += (i ? " " : "") + lines->Strings(i);
    EXPECT_EQ(all, r.result) << r.name;
    EXPECT_EQ(p.LastWrittenIndex(), r.lands) << r.name;
  }
}

TEST(StringsDataProvider, EditingASortedLineMovesIt) {
  TObjectPtr<TStringList> lines(MakeObject<TStringList>());
  lines->SetSorted(true);
  lines->SetDuplicates(dupError);
  lines->SetText("b\nd\nf");
  TStringsDataProvider p(lines.get(), nullptr, nullptr);
  WriteText(p, "value", 0, "e");
  EXPECT_EQ(lines->Text(), "d\r\ne\r\nf\r\n");
  EXPECT_EQ(ReadText(p, "value", 0), "e");
  p.RecordChanged(ukModify, "value", 0);
  EXPECT_EQ(p.LastWrittenIndex(), 1);
  EXPECT_NE(ErrorOf([&] { WriteText(p, "value", 0, "f"); }), "no error");
  EXPECT_EQ(lines->Text(), "d\r\ne\r\nf\r\n") << "a refused duplicate loses no line";
  WriteText(p, "value", 2, "F");
  EXPECT_EQ(lines->Text(), "d\r\ne\r\nF\r\n") << "a change of case is no duplicate of itself";
}

TEST(ObjectParams, ChecksAndCopies) {
  TObjectPtr<TodsObjectParams> params(MakeObject<TodsObjectParams>());
  EXPECT_FALSE(params->ExpandSets());
  EXPECT_EQ(params->StringLength(), 1024);
  EXPECT_EQ(ErrorOf([&] { params->SetStringLength(0); }), "EBVError: Value must be positive (0)");
  EXPECT_EQ(params->StringLength(), 1024);
  params->SetExpandSets(true);
  params->SetBlobProperties("Notes");
  params->SetStringLength(7);
  params->SetNullableProperties("A");
  params->SetNullableTypes("TDate");

  TObjectPtr<TMemDataSet> ds(dbtest::MakeNumbers(3));
  TObjectPtr<TodsObjectParams> owned(MakeObject<TodsObjectParams>(ds.get()));
  owned->Assign(params.get());
  EXPECT_TRUE(owned->ExpandSets());
  EXPECT_EQ(owned->BlobProperties(), "Notes");
  EXPECT_EQ(owned->StringLength(), 7);
  EXPECT_EQ(owned->NullableProperties(), "A");
  EXPECT_EQ(owned->NullableTypes(), "TDate");
  ds->Open();
  const String open = "EDatabaseError: Cannot perform this operation on an open dataset";
  EXPECT_EQ(ErrorOf([&] { owned->SetExpandSets(false); }), open);
  EXPECT_EQ(ErrorOf([&] { owned->SetNullableTypes(""); }), open);
  EXPECT_EQ(ErrorOf([&] { owned->Assign(params.get()); }), open);
  EXPECT_TRUE(owned->ExpandSets());
  EXPECT_EQ(GetPropAsInteger(params.get(), "StringLength"), 7) << "the properties are published";
}

TEST(DataProviderChoice, ByTheClassOfTheShownObject) {
  auto items = MakeItems({"a"});
  auto set = MakeRecordSet({});
  TObjectPtr<TStringList> lines(MakeObject<TStringList>());
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  EXPECT_EQ(DataProviderClassFor(items.get()), TCollectionDataProvider::StaticClass());
  EXPECT_EQ(DataProviderClassFor(set.get()), TRecordSetDataProvider::StaticClass());
  EXPECT_EQ(DataProviderClassFor(lines.get()), TStringsDataProvider::StaticClass());
  EXPECT_EQ(DataProviderClassFor(sample.get()), TObjectDataProvider::StaticClass());
  EXPECT_EQ(DataProviderClassFor(nullptr), nullptr);

  auto viaPath = CreateDataProvider(sample.get(), "Lines", nullptr, nullptr);
  ASSERT_TRUE(Is<TStringsDataProvider>(viaPath.get()));
  EXPECT_EQ(static_cast<TStringsDataProvider*>(viaPath.get())->Strings(), sample->Lines());
  auto badPath = CreateDataProvider(sample.get(), "Count.X", nullptr, nullptr);
  ASSERT_TRUE(Is<TObjectDataProvider>(badPath.get()));
  EXPECT_EQ(static_cast<TObjectDataProvider*>(badPath.get())->Source(), sample.get())
      << "a path that cannot be followed shows the source itself";
  EXPECT_EQ(CreateDataProvider(nullptr, "", nullptr, nullptr), nullptr);

  EXPECT_EQ(ErrorOf([&] { TCollectionDataProvider p(lines.get(), nullptr, nullptr); }),
            ErrorOf([&] { As<TCollection>(lines.get()); }));
  EXPECT_NE(ErrorOf([&] { TStringsDataProvider p(set.get(), nullptr, nullptr); }), "no error");
}

}  // namespace
}  // namespace brevant
