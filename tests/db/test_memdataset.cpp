// The in-memory dataset: its store, bookmarks, searching and bulk loading.
#include <gtest/gtest.h>

#include "db/db_test_util.h"
#include "error_text.h"
#include "rtl/datetime.h"

using namespace brevant;
using namespace dbtest;

namespace {

using brevant::test::ErrorOf;

// Name, City, Age: a small table for searching.
TMemDataSet* MakePeople() {
  auto* ds = Create<TMemDataSet>(nullptr);
  ds->FieldDefs()->Add("Name", ftString, 20);
  ds->FieldDefs()->Add("City", ftString, 20);
  ds->FieldDefs()->Add("Age", ftInteger);
  ds->AppendRow({"Abel", "Rome", 30});
  ds->AppendRow({"abigail", "Oslo", 25});
  ds->AppendRow({"Bert", "Rome", 25});
  ds->AppendRow({"Cora", Null(), 41});
  ds->AppendRow({"Abner", "Oslo", 30});
  return ds;
}

}  // namespace

TEST(MemDataSet, StoreOutlivesCloseAndEmpties) {
  TObjectPtr<TMemDataSet> ds(MakeNumbers(5));
  EXPECT_EQ(ds->StoredRecordCount(), 5);
  ds->Open();
  EXPECT_TRUE(ds->DefaultFields());
  ds->AppendRecord({6, "six"});
  ds->Close();
  EXPECT_EQ(ds->FieldCount(), 0);
  ds->Open();
  ds->Last();
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "six");
  EXPECT_EQ(ds->RecordCount(), 6);
  ds->EmptyDataSet();
  EXPECT_TRUE(ds->IsEmpty());
  EXPECT_TRUE(ds->Eof());
  ds->AppendRecord({1, "again"});
  EXPECT_EQ(ds->RecNo(), 1);
  // Changing the definitions of a store with records is refused.
  ds->Close();
  ds->FieldDefs()->Add("Extra", ftInteger);
  EXPECT_EQ(ErrorOf([&] { ds->Open(); }),
            "EDatabaseError: The field definitions no longer match the stored records; empty the "
            "dataset first");
  EXPECT_FALSE(ds->Active());
  ds->EmptyDataSet();
  ds->Open();
  EXPECT_EQ(ds->FieldCount(), 3);
  ds->Close();
  // CreateDataSet starts over, also from persistent fields alone.
  TObjectPtr<TMemDataSet> fresh(Create<TMemDataSet>(nullptr));
  auto* code = Create<TIntegerField>(fresh.get());
  code->SetFieldName("Code");
  code->SetDataSet(fresh.get());
  auto* title = Create<TStringField>(fresh.get());
  title->SetFieldName("Title");
  title->SetSize(8);
  title->SetDataSet(fresh.get());
  fresh->CreateDataSet();
  EXPECT_EQ(fresh->FieldDefs()->Count(), 2);
  EXPECT_EQ(fresh->FieldDefs()->Items(1)->Size(), 8);
  fresh->AppendRecord({1, "one"});
  EXPECT_EQ(title->AsString(), "one");
  EXPECT_EQ(ErrorOf([&] { fresh->CreateDataSet(); }),
            "EDatabaseError: Cannot perform this operation on an open dataset");
}

TEST(MemDataSet, AppendRowConvertsAndRejectsWhole) {
  TObjectPtr<TMemDataSet> ds(Create<TMemDataSet>(nullptr));
  ds->FieldDefs()->Add("I", ftSmallint);
  ds->FieldDefs()->Add("S", ftString, 3);
  ds->FieldDefs()->Add("D", ftDateTime);
  ds->FieldDefs()->Add("B", ftBoolean);
  ds->FieldDefs()->Add("M", ftMemo);
  ds->FieldDefs()->Add("A", ftAutoInc);
  ds->AppendRow({"12", "abc", "01/02/2020 10:00", "true", "memo", 7});
  ds->AppendRow({Null(), Unassigned(), 43831.5});
  EXPECT_EQ(ErrorOf([&] { ds->AppendRow({40000}); }),
            "EDatabaseError: 40000 is not a valid value for field 'I'. The allowed range is "
            "-32768 to 32767");
  EXPECT_EQ(ErrorOf([&] {
              ds->AppendRow({1, "long"});
            }),
            "EDatabaseError: Value of 4 bytes is too long for field 'S' (at most 3)");
  EXPECT_EQ(ErrorOf([&] {
              ds->AppendRow({1, "ok", "soon"});
            }),
            "EVariantError: Could not convert variant of type (String) into type (Date): 'soon'");
  EXPECT_EQ(ErrorOf([&] {
              ds->AppendRow({1, 2, 3, 4, 5, 6, 7});
            }),
            "EDatabaseError: 7 values given for 6 fields");
  EXPECT_EQ(ds->StoredRecordCount(), 2);
  ds->Open();
  EXPECT_EQ(ds->FieldByName("I")->AsInteger(), 12);
  EXPECT_EQ(ds->FieldByName("D")->AsDateTime(), EncodeDate(2020, 1, 2) + 10.0 / 24);
  EXPECT_TRUE(ds->FieldByName("B")->AsBoolean());
  EXPECT_EQ(ds->FieldByName("M")->AsString(), "memo");
  ds->Next();
  EXPECT_TRUE(ds->FieldByName("I")->IsNull());
  EXPECT_TRUE(ds->FieldByName("S")->IsNull());
  EXPECT_EQ(ds->FieldByName("D")->AsDateTime(), EncodeDate(2020, 1, 1) + 0.5);
  EXPECT_TRUE(ds->FieldByName("M")->IsNull());
  // Auto-increment continues after the highest value seen.
  EXPECT_TRUE(ds->FieldByName("A")->IsNull());
  ds->AppendRecord({1});
  EXPECT_EQ(ds->FieldByName("A")->AsInteger(), 8);
  ds->AppendRecord({2});
  EXPECT_EQ(ds->FieldByName("A")->AsInteger(), 9);
  EXPECT_EQ(ErrorOf([&] { ds->AppendRow({1}); }),
            "EDatabaseError: Cannot perform this operation on an open dataset");
}

TEST(MemDataSet, InsertRecordAndRecNo) {
  TObjectPtr<TMemDataSet> ds(MakeNumbers(5));
  ds->Open();
  ds->MoveBy(2);  // record 3
  ds->InsertRecord({30, "thirty"});
  EXPECT_EQ(ds->RecNo(), 3);
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 30);
  ds->Next();
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 3);
  EXPECT_EQ(ds->RecNo(), 4);
  ds->SetRecNo(6);
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 5);
  ds->SetRecNo(99);  // ignored
  EXPECT_EQ(ds->RecNo(), 6);
  // An insert into an empty dataset.
  TObjectPtr<TMemDataSet> empty(MakeNumbers(0));
  empty->Open();
  empty->InsertRecord({1, "first"});
  empty->InsertRecord({0, "zeroth"});
  empty->First();
  EXPECT_EQ(empty->FieldByName("ID")->AsInteger(), 0);
  EXPECT_EQ(empty->RecordCount(), 2);
  // A failing record is not added.
  EXPECT_NE(ErrorOf([&] { empty->InsertRecord({1, "a name that is far too long"}); }), "no error");
  EXPECT_EQ(empty->RecordCount(), 2);
  EXPECT_EQ(empty->State(), dsBrowse);
}

TEST(MemDataSet, BookmarksStayWithTheirRecords) {
  TObjectPtr<TMemDataSet> ds(MakeNumbers(10));
  ds->Open();
  ds->MoveBy(6);  // record 7
  TBookmark seven = ds->Bookmark();
  ds->First();
  TBookmark one = ds->Bookmark();
  EXPECT_LT(ds->CompareBookmarks(one, seven), 0);
  EXPECT_GT(ds->CompareBookmarks(seven, one), 0);
  EXPECT_EQ(ds->CompareBookmarks(seven, seven), 0);
  EXPECT_EQ(ds->CompareBookmarks("", one), 1);
  EXPECT_EQ(ds->CompareBookmarks(seven, ""), 1);
  EXPECT_EQ(ds->CompareBookmarks("", ""), 0);
  // Records inserted and deleted before it do not disturb the bookmark.
  ds->InsertRecord({0, "zero"});
  ds->Next();
  ds->Next();
  ds->Delete();  // record 2
  ds->GotoBookmark(seven);
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 7);
  EXPECT_EQ(ds->RecNo(), 7);
  EXPECT_TRUE(ds->BookmarkValid(seven));
  EXPECT_FALSE(ds->BookmarkValid(""));
  EXPECT_FALSE(ds->BookmarkValid("xyz"));
  ds->Delete();
  EXPECT_FALSE(ds->BookmarkValid(seven));
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 8);
  EXPECT_EQ(ErrorOf([&] { ds->GotoBookmark(seven); }), "EDatabaseError: Record not found");
  EXPECT_EQ(ErrorOf([&] { ds->GotoBookmark("12345"); }), "EDatabaseError: Invalid bookmark");
  // An empty bookmark goes nowhere.
  ds->SetBookmark("");
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 8);
  // Bookmarks can hold zero bytes; emptying the store invalidates them all.
  TBookmark eight = ds->Bookmark();
  ds->EmptyDataSet();
  ds->AppendRecord({1, "new"});
  EXPECT_FALSE(ds->BookmarkValid(eight));
  EXPECT_FALSE(ds->BookmarkValid(one));
}

TEST(MemDataSet, LocateAndLookup) {
  TObjectPtr<TMemDataSet> ds(MakePeople());
  ds->Open();
  Integer before = 0, after = 0;
  ds->BeforeScroll = TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++before; });
  ds->AfterScroll = TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++after; });
  EXPECT_TRUE(ds->Locate("Name", "Bert"));
  EXPECT_EQ(ds->RecNo(), 3);
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  EXPECT_FALSE(ds->Locate("Name", "bert"));
  EXPECT_EQ(ds->RecNo(), 3);
  EXPECT_EQ(before, 1);
  EXPECT_TRUE(ds->Locate("Name", "bert", {loCaseInsensitive}));
  EXPECT_TRUE(ds->Locate("Name", "Ab", {loPartialKey}));
  EXPECT_EQ(ds->RecNo(), 1);
  EXPECT_TRUE(ds->Locate("Name", "abn", {loPartialKey, loCaseInsensitive}));
  EXPECT_EQ(ds->RecNo(), 5);
  EXPECT_FALSE(ds->Locate("Name", "", {loPartialKey}));
  // Several fields with a variant array; numbers compare as numbers.
  EXPECT_TRUE(ds->Locate("City;Age", VarArrayOf({"Oslo", "30"})));
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Abner");
  EXPECT_TRUE(ds->Locate(" age ; city ", VarArrayOf({25, "Rome"})));
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Bert");
  EXPECT_TRUE(ds->Locate("City", Null()));
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Cora");
  EXPECT_EQ(ErrorOf([&] { ds->Locate("Age", "old"); }).substr(0, 13), "EVariantError");
  EXPECT_EQ(ErrorOf([&] { ds->Locate("City;Age", "Oslo"); }),
            "EDatabaseError: 1 key values given for 2 key fields");
  EXPECT_EQ(ErrorOf([&] { ds->Locate("Town", "Oslo"); }), "EDatabaseError: Field 'Town' not found");
  // Lookup does not move.
  ds->First();
  before = 0;
  EXPECT_EQ(ds->Lookup("Name", "Cora", "Age").AsInteger(), 41);
  Variant two = ds->Lookup("Age", 25, "Name;City");
  ASSERT_TRUE(VarIsArray(two));
  EXPECT_EQ(two.GetElement(0).AsString(), "abigail");
  EXPECT_EQ(two.GetElement(1).AsString(), "Oslo");
  EXPECT_TRUE(VarIsNull(ds->Lookup("Name", "Nobody", "Age")));
  EXPECT_EQ(ds->RecNo(), 1);
  EXPECT_EQ(before, 0);
  // Locate posts a pending edit first.
  ds->Edit();
  ds->FieldByName("Age")->SetAsInteger(31);
  EXPECT_TRUE(ds->Locate("Age", 31));
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(ds->RecNo(), 1);
  // Lookup while editing reads the store, and keeps the edit.
  ds->Edit();
  ds->FieldByName("Age")->SetAsInteger(50);
  EXPECT_EQ(ds->Lookup("Name", "Abel", "Age").AsInteger(), 31);
  EXPECT_EQ(ds->FieldByName("Age")->AsInteger(), 50);
  ds->Post();
  EXPECT_EQ(ds->Lookup("Name", "Abel", "Age").AsInteger(), 50);
}

TEST(MemDataSet, FieldValuesAndFieldLists) {
  TObjectPtr<TMemDataSet> ds(MakePeople());
  ds->Open();
  EXPECT_EQ(ds->FieldValues("name").AsString(), "Abel");
  Variant v = ds->FieldValues("Name;Age");
  ASSERT_TRUE(VarIsArray(v));
  EXPECT_EQ(VarArrayHighBound(v), 1);
  EXPECT_EQ(v.GetElement(1).AsInteger(), 30);
  std::vector<TField*> list;
  ds->GetFieldList(list, "Age;;Name");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0]->FieldName(), "Age");
  ds->Edit();
  ds->SetFieldValues("Name;City", VarArrayOf({"Abe", Null()}));
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Abe");
  EXPECT_TRUE(ds->FieldByName("City")->IsNull());
  EXPECT_EQ(ErrorOf([&] { ds->SetFieldValues("Name;City", "x"); }),
            "EDatabaseError: 1 key values given for 2 key fields");
  ds->Cancel();
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "Abel");
  ds->Edit();
  ds->ClearFields();
  EXPECT_TRUE(ds->FieldByName("Age")->IsNull());
  ds->Cancel();
}

TEST(MemDataSet, SelfLookupScansWhileFetching) {
  // Each person's "Boss" is looked up in the same dataset while the buffers
  // fill: the scans must not disturb the fetch order.
  TObjectPtr<TMemDataSet> ds(Create<TMemDataSet>(nullptr));
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->FieldDefs()->Add("Name", ftString, 10);
  ds->FieldDefs()->Add("BossID", ftInteger);
  for (Integer i = 1; i <= 12; ++i)
    ds->AppendRow({i, "P" + IntToStr(i), i > 1 ? Variant(i / 2) : Null()});
  for (Integer i = 0; i < 3; ++i) ds->FieldDefs()->Items(i)->CreateField(ds.get(), ds.get());
  auto* boss = Create<TStringField>(ds.get());
  boss->SetFieldName("Boss");
  boss->SetFieldKind(fkLookup);
  boss->SetLookupDataSet(ds.get());
  boss->SetLookupKeyFields("ID");
  boss->SetLookupResultField("Name");
  boss->SetKeyFields("BossID");
  boss->SetDataSet(ds.get());
  TObjectPtr<TDataSource> src(Create<TDataSource>(nullptr));
  src->SetDataSet(ds.get());
  TRecLink link;
  link.SetBufferCount(6);
  link.SetDataSource(src.get());
  ds->Open();
  EXPECT_EQ(Join(link.Rows()), "1 2 3 4 5 6");
  ds->MoveBy(9);
  EXPECT_EQ(Join(link.Rows()), "5 6 7 8 9 10");
  EXPECT_EQ(ds->FieldByName("Boss")->AsString(), "P5");
  ds->Prior();
  EXPECT_EQ(boss->AsString(), "P4");
  link.SetDataSource(nullptr);
}

TEST(MemDataSet, LargeStoreStaysConsistent) {
  TObjectPtr<TMemDataSet> ds(MakeNumbers(20000));
  ds->Open();
  ds->SetRecNo(15000);
  TBookmark b = ds->Bookmark();
  // Deletes and inserts far before the record renumber it lazily.
  ds->First();
  for (int i = 0; i < 10; ++i) ds->Delete();
  ds->InsertRecord({0, "front"});
  ds->GotoBookmark(b);
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 15000);
  EXPECT_EQ(ds->RecNo(), 14991);
  ds->Last();
  EXPECT_EQ(ds->RecNo(), 19991);
  EXPECT_TRUE(ds->Locate("ID", 19999));
  EXPECT_EQ(ds->RecNo(), 19990);
}

TEST(MemDataSet, PublishedPropertiesAndLoading) {
  TObjectPtr<TComponent> form(Create<TComponent>(nullptr));
  TMemDataSet* ds;
  {
    TLoadingBracket bracket(form.get());
    ds = MakeNumbers(3, form.get());
    ds->SetActive(true);  // remembered while loading
    EXPECT_FALSE(ds->Active());
    bracket.Finish();
  }
  EXPECT_TRUE(ds->Active());
  EXPECT_EQ(ds->RecordCount(), 3);
  const TPropInfo* active = GetPropInfo(ds, "Active");
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(GetOrdProp(ds, active), 1);
  EXPECT_NE(GetPropInfo(ds, "BeforeOpen"), nullptr);
  EXPECT_NE(GetPropInfo(ds, "OnPostError"), nullptr);
  const TPropInfo* defs = GetPropInfo(ds, "FieldDefs");
  ASSERT_NE(defs, nullptr);
  EXPECT_EQ(GetObjectProp(ds, defs), ds->FieldDefs());
  const TPropInfo* constraints = GetPropInfo(ds, "Constraints");
  ASSERT_NE(constraints, nullptr);
  ds->Constraints()->Add()->SetCustomConstraint("ID > 0");
  EXPECT_EQ(static_cast<TCheckConstraints*>(GetObjectProp(ds, constraints))->Count(), 1);
  TField* id = ds->FieldByName("ID");
  EXPECT_EQ(GetEnumProp(id, GetPropInfo(id, "FieldKind")), "fkData");
  EXPECT_EQ(GetEnumProp(id, GetPropInfo(id, "Alignment")), "taRightJustify");
  EXPECT_TRUE(IsDefaultPropValue(id, GetPropInfo(id, "Alignment")));
  EXPECT_EQ(id->GetParentComponent(), ds);
  TObjectPtr<TDataSource> src(Create<TDataSource>(nullptr));
  EXPECT_TRUE(IsDefaultPropValue(src.get(), GetPropInfo(src.get(), "AutoEdit")));
  SetObjectProp(src.get(), GetPropInfo(src.get(), "DataSet"), ds);
  EXPECT_EQ(src->State(), dsBrowse);
  form.reset();  // frees the dataset; the source lets go
  EXPECT_EQ(src->DataSet(), nullptr);
}
