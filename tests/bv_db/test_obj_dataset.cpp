// The object dataset over a single object, a collection, a string list and
// a quick record set: browsing, the edit cycle with and without the edit
// buffer, bookmarks, refused values and read-only use.
#include <gtest/gtest.h>

#include "bv_db/obj_dataset.h"
#include "bv_db/quick_record_set.h"
#include "classes/filer.h"
#include "classes/formstream.h"
#include "db/field_types.h"
#include "error_text.h"
#include "prop_samples.h"
#include "rtl/numconv.h"
#include "rtl/streams.h"

namespace brevant {
namespace {

using test::ErrorOf;

TObjectPtr<TObjDataSet> OpenOver(TPersistent* source, bool useEditBuffer = true) {
  TObjectPtr<TObjDataSet> ds(Create<TObjDataSet>(nullptr));
  ds->SetUseEditBuffer(useEditBuffer);
  ds->SetObjectRef(source);
  ds->Open();
  return ds;
}

TObjectPtr<TSampleItems> Items(std::initializer_list<const char*> names) {
  TObjectPtr<TSampleItems> items(Create<TSampleItems>());
  for (const char* n : names) static_cast<TSampleItem*>(items->Add())->SetName(n);
  return items;
}

TObjectPtr<TStringList> Lines(std::initializer_list<const char*> lines) {
  TObjectPtr<TStringList> list(MakeObject<TStringList>());
  for (const char* l : lines) list->Add(l);
  return list;
}

// The values of one field over all records, joined with ",".
String Column(TObjDataSet* ds, const String& field) {
  String out;
  ds->First();
  for (; !ds->Eof(); ds->Next())
    out += (out.empty() ? "" : ",") + ds->FieldByName(field)->AsString();
  return out;
}

TEST(ObjDataSetOpen, NeedsASourceAndClosesWhenItGoes) {
  TObjectPtr<TObjDataSet> ds(Create<TObjDataSet>(nullptr));
  EXPECT_EQ(ErrorOf([&] { ds->Open(); }),
            "EBVError: No data provider. Please assign value to \"ObjectRef\" property");
  EXPECT_FALSE(ds->Active());

  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  ds->SetObjectRef(sample.get());
  ds->Open();
  EXPECT_TRUE(ds->Active());
  ds->SetObjectRef(nullptr);
  EXPECT_FALSE(ds->Active()) << "a nil source closes and leaves the dataset closed";

  auto* owned = Create<TPropSample>(nullptr);
  ds->SetCompRef(owned);
  EXPECT_EQ(ds->ObjectRef(), owned);
  ds->Open();
  owned->Free();
  EXPECT_EQ(ds->CompRef(), nullptr) << "the freed component is forgotten";
  EXPECT_FALSE(ds->Active());
}

TEST(ObjDataSetSingleObject, OneRecordEditedAtPost) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  sample->SetCount(5);
  auto ds = OpenOver(sample.get());
  EXPECT_EQ(ds->RecordCount(), 1);
  EXPECT_EQ(ds->RecNo(), 1);
  EXPECT_EQ(ds->FieldByName("Count")->AsInteger(), 5);
  EXPECT_EQ(ds->FindField("Nested"), nullptr) << "properties of unknown kinds make no field";
  EXPECT_TRUE(ds->FieldByName("Total")->ReadOnly());

  ds->Edit();
  ds->FieldByName("Count")->SetAsInteger(9);
  ds->FieldByName("Caption")->SetAsString("Grüße");
  EXPECT_EQ(sample->Count(), 5) << "the edit buffer holds the change until Post";
  ds->Post();
  EXPECT_EQ(sample->Count(), 9);
  EXPECT_EQ(sample->Caption(), "Grüße");
  EXPECT_EQ(ds->ModifiedFields(), "");

  sample->SetCount(11);
  ds->Refresh();
  EXPECT_EQ(ds->FieldByName("Count")->AsInteger(), 11) << "outside changes show after a refresh";

  ds->Edit();
  ds->FieldByName("Count")->SetAsInteger(1);
  ds->Cancel();
  EXPECT_EQ(ds->FieldByName("Count")->AsInteger(), 11);
  EXPECT_EQ(sample->Count(), 11);
}

TEST(ObjDataSetSingleObject, CannotInsertOrDelete) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  auto ds = OpenOver(sample.get());
  ds->Insert();
  EXPECT_EQ(ErrorOf([&] { ds->Post(); }), "EBVError: Internal error: unable to insert data");
  ds->Cancel();
  EXPECT_EQ(ErrorOf([&] { ds->Delete(); }), "EBVError: Internal error: unable to delete data");
  EXPECT_EQ(ds->RecordCount(), 1);
}

TEST(ObjDataSetSingleObject, WithoutEditBufferEveryChangeIsWrittenAtOnce) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  auto ds = OpenOver(sample.get(), false);
  ds->Edit();
  ds->FieldByName("Count")->SetAsInteger(4);
  EXPECT_EQ(sample->Count(), 4);
  ds->FieldByName("Active")->SetAsBoolean(true);
  EXPECT_TRUE(sample->Active());
  ds->Post();
  EXPECT_EQ(sample->Count(), 4);

  ds->Edit();
  EXPECT_NE(ErrorOf([&] { ds->FieldByName("Strict")->SetAsInteger(-3); }), "no error");
  EXPECT_EQ(sample->Strict(), 0);
  EXPECT_EQ(ds->FieldByName("Strict")->AsInteger(), 0) << "a refused value is not kept";
}

// Field types outside the small set of classic record formats still reach
// the object.
TEST(ObjDataSetFieldTypes, EveryMappedTypeIsStored) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  auto ds = OpenOver(sample.get());
  struct Row {
    const char* field;  // the field written
    const char* text;   // the text written and read back
  };
  const Row rows[] = {{"Big", "9000000000"}, {"Title", "Ωmega"}, {"Initial", "Ж"},
                      {"Price", "12.5"},     {"Code", "abc"},    {"Born", "03/04/2020"},
                      {"Level", "200"},      {"Ratio", "0.25"}};
  ds->Edit();
  for (const Row& r : rows) ds->FieldByName(r.field)->SetAsString(r.text);
  ds->FieldByName("Data")->SetAsVariant(Variant(String("v")));
  ds->Post();
  EXPECT_EQ(sample->Big(), 9000000000LL);
  EXPECT_EQ(sample->Title(), u"Ωmega");
  EXPECT_EQ(sample->Initial(), u'Ж');
  EXPECT_EQ(sample->Level(), 200);
  EXPECT_EQ(VarToStr(sample->Data()), "v");
  for (const Row& r : rows) EXPECT_EQ(ds->FieldByName(r.field)->AsString(), r.text) << r.field;
}

TEST(ObjDataSetRefusedValues, RecordStaysInEditWithTheUsersValues) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  sample->SetCaption("old");
  auto ds = OpenOver(sample.get());
  ds->Edit();
  ds->FieldByName("Caption")->SetAsString("new");
  ds->FieldByName("Strict")->SetAsInteger(-1);
  EXPECT_EQ(ErrorOf([&] { ds->Post(); }), "Exception: Strict refuses -1");
  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_EQ(ds->FieldByName("Strict")->AsInteger(), -1);
  EXPECT_EQ(ds->FieldByName("Caption")->AsString(), "new");
  EXPECT_EQ(sample->Caption(), "old") << "a failed post leaves the object as it was";
  EXPECT_EQ(sample->Strict(), 0);

  ds->FieldByName("Strict")->SetAsInteger(2);
  ds->Post();
  EXPECT_EQ(sample->Caption(), "new");
  EXPECT_EQ(sample->Strict(), 2);
}

TEST(ObjDataSetReadOnly, RefusesEveryWrite) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  auto ds = OpenOver(sample.get());
  ds->Edit();
  ds->FieldByName("Count")->SetAsInteger(3);
  ds->SetReadOnly(true);
  EXPECT_EQ(ds->State(), dsBrowse) << "turning read-only cancels the edit";
  EXPECT_EQ(sample->Count(), 0);
  const String refused = "EDatabaseError: Cannot modify a read-only dataset";
  EXPECT_EQ(ErrorOf([&] { ds->Edit(); }), refused);
  EXPECT_EQ(ErrorOf([&] { ds->Insert(); }), refused);
  EXPECT_EQ(ErrorOf([&] { ds->FieldByName("Count")->SetAsInteger(1); }),
            "EDatabaseError: Dataset not in edit or insert mode");
  EXPECT_EQ(sample->Count(), 0);

  auto list = Lines({"a"});
  auto lines = OpenOver(list.get());
  lines->SetReadOnly(true);
  EXPECT_EQ(ErrorOf([&] { lines->Delete(); }), refused);
  EXPECT_EQ(ErrorOf([&] { lines->Append(); }), refused);
  EXPECT_EQ(list->Count(), 1);
}

TEST(ObjDataSetStreaming, ReadsLegacyParameterPropertiesAndNeverWritesThem) {
  TObjectPtr<TObjDataSet> ds(Create<TObjDataSet>(nullptr));
  const String text =
      "object Objs: TObjDataSet\r\n"
      "  ExpandSetProps = True\r\n"
      "  StrFieldsLength = 40\r\n"
      "  BlobStrTypes = 'Caption;Hint'\r\n"
      "  UseEditBuffer = False\r\n"
      "end\r\n";
  TMemoryStream in;
  in.WriteBuffer(text.data(), static_cast<Int64>(text.size()));
  in.SetPosition(0);
  ReadComponent(in, ds.get());
  EXPECT_TRUE(ds->ParamsObject()->ExpandSets());
  EXPECT_EQ(ds->ParamsObject()->StringLength(), 40);
  EXPECT_EQ(ds->ParamsObject()->BlobProperties(), "Caption;Hint");
  EXPECT_FALSE(ds->UseEditBuffer());

  TMemoryStream out;
  WriteComponentText(out, ds.get());
  const String written(static_cast<const char*>(out.Memory()),
                       static_cast<std::size_t>(out.Size()));
  EXPECT_EQ(written.find("ExpandSetProps"), String::npos);
  EXPECT_NE(written.find("ParamsObject.ExpandSets = True"), String::npos) << written;
}

// The source may be set after Active while reading (as references are):
// the dataset still opens once loaded.
TEST(ObjDataSetStreaming, OpensWhenTheSourceComesAfterActive) {
  TObjectPtr<TPropSample> sample(Create<TPropSample>(nullptr));
  sample->SetName("StreamedSample");
  AddGlobalRoot(sample.get());
  TObjectPtr<TObjDataSet> ds(Create<TObjDataSet>(nullptr));
  const String text =
      "object Objs: TObjDataSet\r\n"
      "  Active = True\r\n"
      "  CompRef = StreamedSample\r\n"
      "end\r\n";
  TMemoryStream in;
  in.WriteBuffer(text.data(), static_cast<Int64>(text.size()));
  in.SetPosition(0);
  ReadComponent(in, ds.get());
  RemoveGlobalRoot(sample.get());
  EXPECT_EQ(ds->CompRef(), sample.get());
  EXPECT_TRUE(ds->Active());
  EXPECT_EQ(ds->RecordCount(), 1);
}

TEST(ObjDataSetRefresh, ItemsRemovedOutsideAreDropped) {
  auto items = Items({"a", "b", "c", "d"});
  auto ds = OpenOver(items.get());
  ds->Last();
  items->Item(3)->Free();
  items->Item(2)->Free();
  ds->Refresh();
  EXPECT_EQ(ds->RecordCount(), 2);
  EXPECT_EQ(Column(ds.get(), "Title"), "a,b");
  items->Clear();
  ds->Refresh();
  EXPECT_TRUE(ds->IsEmpty());
  EXPECT_TRUE(ds->Eof());
}

TEST(ObjDataSetCollection, BrowseEditInsertAppendDelete) {
  auto items = Items({"a", "b", "c"});
  auto ds = OpenOver(items.get());
  EXPECT_EQ(ds->RecordCount(), 3);
  EXPECT_EQ(Column(ds.get(), "Title"), "a,b,c");

  ds->First();
  ds->Next();
  EXPECT_EQ(ds->RecNo(), 2);
  ds->Edit();
  ds->FieldByName("Title")->SetAsString("B");
  ds->Post();
  EXPECT_EQ(items->Item(1)->Name(), "B");

  ds->Insert();
  ds->FieldByName("Title")->SetAsString("x");
  ds->Post();
  EXPECT_EQ(items->Count(), 4);
  EXPECT_EQ(items->Item(1)->Name(), "x") << "insert goes before the current record";
  EXPECT_EQ(ds->FieldByName("Title")->AsString(), "x");

  ds->Append();
  ds->FieldByName("Title")->SetAsString("z");
  ds->Post();
  EXPECT_EQ(items->Item(4)->Name(), "z");
  EXPECT_EQ(ds->RecNo(), 5);

  ds->Delete();
  EXPECT_EQ(items->Count(), 4);
  EXPECT_TRUE(ds->Eof() || ds->RecNo() == 4)
      << "deleting the last record leaves the cursor at the end";
  EXPECT_EQ(Column(ds.get(), "Title"), "a,x,B,c");
  ds->First();
  ds->Delete();
  EXPECT_EQ(items->Item(0)->Name(), "x") << "a deleted record frees its item";
  EXPECT_EQ(ds->FieldByName("Title")->AsString(), "x");
}

TEST(ObjDataSetCollection, TwoWritersOnOneItemKeepBothChanges) {
  auto items = Items({"a"});
  auto first = OpenOver(items.get());
  auto second = OpenOver(items.get());
  first->Edit();
  first->FieldByName("Title")->SetAsString("by first");
  second->Edit();
  second->FieldByName("Weight")->SetAsInteger(12);
  first->Post();
  second->Post();
  EXPECT_EQ(items->Item(0)->Name(), "by first") << "only the fields a writer changed are written";
  EXPECT_EQ(items->Item(0)->Weight(), 12);
  EXPECT_EQ(second->FieldByName("Title")->AsString(), "by first");
}

TEST(ObjDataSetCollection, CancelledInsertAddsNothing) {
  auto items = Items({"a"});
  auto ds = OpenOver(items.get());
  ds->Append();
  ds->FieldByName("Title")->SetAsString("q");
  ds->Cancel();
  EXPECT_EQ(items->Count(), 1);
  EXPECT_EQ(ds->FieldByName("Title")->AsString(), "a");
}

TEST(ObjDataSetStrings, LinesAreRecords) {
  auto list = Lines({"one", "two", "three"});
  auto ds = OpenOver(list.get());
  EXPECT_EQ(Column(ds.get(), "no"), "0,1,2");
  EXPECT_EQ(Column(ds.get(), "value"), "one,two,three");
  ds->Append();
  ds->Post();
  EXPECT_EQ(list->Count(), 4);
  EXPECT_EQ(list->Strings(3), "") << "an appended record is an empty line at the end";
  ds->First();
  ds->Edit();
  ds->FieldByName("value")->SetAsString("uno");
  ds->Post();
  EXPECT_EQ(list->Strings(0), "uno");
  EXPECT_TRUE(ds->FieldByName("no")->ReadOnly());
}

TEST(ObjDataSetRecordSet, RowsAreRecordsAndChangesAreAnnounced) {
  TObjectPtr<TznQuickRecordSet> set(Create<TznQuickRecordSet>());
  set->Fields()->AddField("Name", ftString, 20);
  set->Fields()->AddField("Age", ftInteger, 0);
  set->ValueAt("Name", set->Append())->SetAsString("ann");
  std::vector<String> heard;
  set->OnRecordChanged = decltype(set->OnRecordChanged)::FromCallable(
      [&](TObject*, TUpdateKind kind, const String& fields, Integer index) {
        heard.push_back(IntToStr(kind) + ":" + fields + ":" + IntToStr(index));
      });
  auto ds = OpenOver(set.get());
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "ann");

  ds->Edit();
  ds->Post();
  EXPECT_TRUE(heard.empty()) << "an edit that changed nothing is not announced";

  ds->Append();
  ds->Post();
  ASSERT_EQ(heard.size(), 1u) << "a new record is announced even without changed fields";
  EXPECT_EQ(heard[0], IntToStr(ukInsert) + "::1");
  EXPECT_EQ(set->RowCount(), 2);

  ds->Edit();
  ds->FieldByName("Age")->SetAsInteger(30);
  ds->Post();
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[1], IntToStr(ukModify) + ":Age:1");
  EXPECT_EQ(set->ValueAt("Age", 1)->AsInteger(), 30);
}

TEST(ObjDataSetCursor, OnCursorMoveSkipsRecords) {
  auto items = Items({"a", "b", "c", "d"});
  auto ds = OpenOver(items.get());
  std::vector<Integer> offsets;
  ds->OnCursorMove = TCursorMoveEvent::FromCallable([&](TObject*, Integer offset, bool& skipped) {
    offsets.push_back(offset);
    skipped = ds->CurrentIndex() == 1;
  });
  ds->First();
  ds->Next();
  EXPECT_EQ(ds->FieldByName("Title")->AsString(), "c") << "Next passes the skipped record over";
  ds->Prior();
  EXPECT_EQ(ds->FieldByName("Title")->AsString(), "a") << "so does Prior";
  EXPECT_EQ(Column(ds.get(), "Title"), "a,c,d");

  ds->Last();
  const TBookmark last = ds->Bookmark();
  ds->First();
  offsets.clear();
  ds->GotoBookmark(last);
  ASSERT_FALSE(offsets.empty());
  EXPECT_EQ(offsets[0], 3) << "a jump is one offset";
  ds->OnCursorMove = nullptr;
}

TEST(ObjDataSetBookmarks, FollowTheirRecords) {
  auto items = Items({"a", "b", "c"});
  auto ds = OpenOver(items.get());
  ds->First();
  const TBookmark a = ds->Bookmark();
  ds->Next();
  const TBookmark b = ds->Bookmark();
  EXPECT_EQ(a.size(), 4u);
  EXPECT_LT(ds->CompareBookmarks(a, b), 0);
  EXPECT_GT(ds->CompareBookmarks(b, a), 0);
  EXPECT_EQ(ds->CompareBookmarks(b, ds->Bookmark()), 0);
  EXPECT_GT(ds->CompareBookmarks(TBookmark(), a), 0);
  EXPECT_LT(ds->CompareBookmarks(a, TBookmark()), 1);
  EXPECT_TRUE(ds->BookmarkValid(b));

  ds->GotoBookmark(a);
  EXPECT_EQ(ds->FieldByName("Title")->AsString(), "a");
  items->Item(1)->Free();
  EXPECT_FALSE(ds->BookmarkValid(b));
  EXPECT_NE(ErrorOf([&] { ds->GotoBookmark(b); }), "no error");
  EXPECT_EQ(ds->FieldByName("Title")->AsString(), "a");

  ds->SetRecNo(2);
  EXPECT_EQ(ds->FieldByName("Title")->AsString(), "c");
  ds->SetRecNo(7);
  EXPECT_EQ(ds->RecNo(), 2) << "numbers outside the records are ignored";
}

}  // namespace
}  // namespace brevant
