// The object dataset's searches (Locate, Lookup), blob streams over string
// list and bitmap properties and over new records, and Path following.
#include <gtest/gtest.h>

#include "bv_db/obj_dataset.h"
#include "bv_db/quick_record_set.h"
#include "db/field_types.h"
#include "error_text.h"
#include "prop_samples.h"
#include "rtl/streams.h"

namespace brevant {
namespace {

using test::ErrorOf;

TObjectPtr<TObjDataSet> OpenOver(TPersistent* source, const String& path = String()) {
  TObjectPtr<TObjDataSet> ds(Create<TObjDataSet>(nullptr));
  ds->SetObjectRef(source);
  ds->SetPath(path);
  ds->Open();
  return ds;
}

TObjectPtr<TznQuickRecordSet> People() {
  TObjectPtr<TznQuickRecordSet> set(Create<TznQuickRecordSet>());
  set->Fields()->AddField("Name", ftString, 20);
  set->Fields()->AddField("Age", ftInteger, 0);
  const std::pair<const char*, Integer> rows[] = {
      {"Xavier", 40}, {"abel", 31}, {"ABBA", 52}, {"abel", 29}};
  for (const auto& [name, age] : rows) {
    const Integer row = set->Append();
    set->ValueAt("Name", row)->SetAsString(name);
    set->ValueAt("Age", row)->SetAsInteger(age);
  }
  return set;
}

String BlobText(TObjDataSet* ds, const String& field) {
  auto stream = ds->CreateBlobStream(ds->FieldByName(field), bmRead);
  String text(static_cast<std::size_t>(stream->Size()), '\0');
  stream->ReadBuffer(text.data(), stream->Size());
  return text;
}

TEST(ObjDataSetLocate, PartialCaselessAndExactKeys) {
  auto set = People();
  auto ds = OpenOver(set.get());
  struct Row {
    const char* name;     // the case
    const char* keys;     // key fields
    Variant values;       // key values
    TLocateOptions opts;  // options
    Integer recNo;        // the record found; 0 for none
  };
  const Row rows[] = {
      {"partial", "Name", Variant(String("ab")), {loPartialKey}, 2},
      {"partial caseless", "Name", Variant(String("AB")), {loPartialKey, loCaseInsensitive}, 2},
      {"partial with case", "Name", Variant(String("AB")), {loPartialKey}, 3},
      {"empty prefix", "Name", Variant(String()), {loPartialKey}, 0},
      {"exact", "Name", Variant(String("abba")), {loCaseInsensitive}, 3},
      {"exact with case", "Name", Variant(String("abba")), {}, 0},
      {"integer", "Age", Variant(29), {}, 4},
      {"two fields", "Name;Age", VarArrayOf({Variant(String("abel")), Variant(29)}), {}, 4},
      {"no match", "Age", Variant(1), {}, 0},
  };
  for (const Row& r : rows) {
    ds->First();
    const bool found = ds->Locate(r.keys, r.values, r.opts);
    EXPECT_EQ(found, r.recNo != 0) << r.name;
    EXPECT_EQ(ds->RecNo(), r.recNo ? r.recNo : 1) << r.name;
  }
}

TEST(ObjDataSetLookup, AnswersWithoutMoving) {
  auto set = People();
  auto ds = OpenOver(set.get());
  ds->First();
  EXPECT_EQ(VarToStr(ds->Lookup("Age", Variant(52), "Name")), "ABBA");
  const Variant both = ds->Lookup("Name", Variant(String("abel")), "Age;Name");
  ASSERT_TRUE(VarIsArray(both));
  EXPECT_EQ(VarToStr(both.GetElement(0)), "31");
  EXPECT_EQ(VarToStr(both.GetElement(1)), "abel");
  EXPECT_TRUE(VarIsNull(ds->Lookup("Age", Variant(7), "Name")));
  EXPECT_EQ(ds->RecNo(), 1);
}

TEST(ObjDataSetBlobs, StringListAndBitmapProperties) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  sample->Lines()->Add("first");
  sample->Lines()->Add("zweite – ü");
  sample->Picture()->SetSize(3, 2);
  auto ds = OpenOver(sample.get());
  EXPECT_EQ(BlobText(ds.get(), "Lines"), "first\r\nzweite – ü\r\n");
  EXPECT_EQ(ds->FieldByName("Lines")->AsString(), "first\r\nzweite – ü\r\n");
  const String png = BlobText(ds.get(), "Picture");
  EXPECT_FALSE(png.empty());

  TObjectPtr<TPropSample> other(Create<TPropSample>(nullptr));
  auto target = OpenOver(other.get());
  target->Edit();
  {
    auto out = target->CreateBlobStream(target->FieldByName("Picture"), bmWrite);
    out->WriteBuffer(png.data(), static_cast<Int64>(png.size()));
  }
  target->FieldByName("Lines")->SetAsString("a\r\nb\r\n");
  target->Post();
  EXPECT_EQ(other->Picture()->Width(), 3);
  EXPECT_EQ(other->Picture()->Height(), 2);
  EXPECT_EQ(other->Lines()->Count(), 2);
  EXPECT_EQ(other->Lines()->Strings(1), "b");

  EXPECT_EQ(ErrorOf([&] { target->CreateBlobStream(target->FieldByName("Lines"), bmWrite); }),
            "EDatabaseError: Dataset not in edit or insert mode");
}

TEST(ObjDataSetBlobs, NewRecordReadsWhatWasWritten) {
  TObjectPtr<TznQuickRecordSet> set(Create<TznQuickRecordSet>());
  set->Fields()->AddField("Name", ftString, 20);
  set->Fields()->AddField("Notes", ftMemo, 0);
  set->ValueAt("Notes", set->Append())->SetAsString("kept");
  auto ds = OpenOver(set.get());
  ds->Append();
  {
    auto out = ds->CreateBlobStream(ds->FieldByName("Notes"), bmWrite);
    out->WriteBuffer("fresh", 5);
  }
  EXPECT_EQ(ds->FieldByName("Notes")->AsString(), "fresh")
      << "a new record reads its own buffer, not record 0's";
  {
    auto rw = ds->CreateBlobStream(ds->FieldByName("Notes"), bmReadWrite);
    rw->Seek(0, soEnd);
    rw->WriteBuffer("er", 2);
  }
  EXPECT_EQ(ds->FieldByName("Notes")->AsString(), "fresher");
  ds->Post();
  EXPECT_EQ(set->ValueAt("Notes", 1)->AsString(), "fresher");
  EXPECT_EQ(set->ValueAt("Notes", 0)->AsString(), "kept");
}

TEST(ObjDataSetBlobs, StreamOutlivingTheDatasetIsHarmless) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  auto ds = OpenOver(sample.get());
  ds->Edit();
  auto out = ds->CreateBlobStream(ds->FieldByName("Lines"), bmWrite);
  out->WriteBuffer("x", 1);
  ds.reset();
  out.reset();
  EXPECT_EQ(sample->Lines()->Count(), 0);
}

TEST(ObjDataSetPath, FollowsObjectProperties) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  sample->Lines()->Add("l1");
  sample->Nested()->SetDepth(8);
  struct Row {
    const char* path;   // the path
    const char* field;  // a field of the shown object
    const char* value;  // its value on the first record
  };
  const Row rows[] = {{"Lines", "value", "l1"},
                      {"Nested", "Depth", "8"},
                      {"Count.X", "Count", "0"},
                      {"NoSuch", "Count", "0"}};
  for (const Row& r : rows) {
    auto ds = OpenOver(sample.get(), r.path);
    EXPECT_EQ(ds->FieldByName(r.field)->AsString(), r.value) << r.path;
  }

  auto ds = OpenOver(sample.get(), "Lines");
  EXPECT_EQ(ErrorOf([&] { ds->SetPath("Nested"); }),
            "EDatabaseError: Cannot perform this operation on an open dataset");
  EXPECT_EQ(ds->Path(), "Lines");
  ds->Close();
  ds->SetPath("Nested");
  ds->Open();
  ds->Edit();
  ds->FieldByName("Depth")->SetAsInteger(2);
  ds->Post();
  EXPECT_EQ(sample->Nested()->Depth(), 2);
}

}  // namespace
}  // namespace brevant
