// The quick record set (fields, rows, sort order, update brackets, change
// notification) and the routines that keep a dataset's current record
// across a scan.
#include <gtest/gtest.h>

#include "bv_db/quick_record_set.h"
#include "bv_rtm/bv_errors.h"
#include "db/db_test_util.h"
#include "db/field_defs.h"

namespace brevant {
namespace {

// A set with Name (string) and Age (integer) and the given rows; a null
// name is written as "~", a null age as -1.
TObjectPtr<TznQuickRecordSet> MakeSet(std::initializer_list<std::pair<const char*, Integer>> rows) {
  TObjectPtr<TznQuickRecordSet> set(Create<TznQuickRecordSet>());
  set->Fields()->AddField("Name", ftString, 20);
  set->Fields()->AddField("Age", ftInteger, 0);
  for (const auto& [name, age] : rows) {
    const Integer i = set->Append();
    if (String(name) != "~") set->ValueAt("Name", i)->SetAsString(name);
    if (age >= 0) set->ValueAt("Age", i)->SetAsInteger(age);
  }
  return set;
}

// "Name/Age" per logical row; nulls as "~" and -1.
String Rows(const TznQuickRecordSet* set) {
  String text;
  for (Integer i = 0; i < set->RowCount(); ++i) {
    const TznUniValue* name = set->ValueAt("Name", i);
    const TznUniValue* age = set->ValueAt("Age", i);
    if (!text.empty()) text += " ";
    text += (name->IsNull() ? String("~") : name->AsString()) + "/" +
            (age->IsNull() ? String("-1") : IntToStr(age->AsInteger()));
  }
  return text;
}

TEST(QuickRecordSet, SortsByMixedDirectionsWithNulls) {
  auto set = MakeSet({{"B", 3}, {"A", 1}, {"~", 2}, {"B", 1}, {"A", -1}});
  set->SetSortString(" Name desc , Age ");
  EXPECT_EQ(set->SortString(), "Name desc , Age");
  // Names descending put nulls last; ages ascending put nulls first.
  EXPECT_EQ(Rows(set.get()), "B/1 B/3 A/-1 A/1 ~/2");
  set->SetSortString("NAME ASC,AGE DESC");
  EXPECT_EQ(Rows(set.get()), "~/2 A/1 A/-1 B/3 B/1");
  // Case counts: "a" is not "A" (the text order puts it first).
  const Integer i = set->Append();
  set->ValueAt("Name", i)->SetAsString("a");
  set->ValueAt("Age", i)->SetAsInteger(9);
  set->RecordChanged(ukInsert, "Name;Age", i);
  EXPECT_EQ(Rows(set.get()), "~/2 a/9 A/1 A/-1 B/3 B/1");
  set->SetSortString("");
  EXPECT_EQ(Rows(set.get()), "B/3 A/1 ~/2 B/1 A/-1 a/9");
}

TEST(QuickRecordSet, NewRowsTakeTheirValuesBeforeTheyAreSorted) {
  auto set = MakeSet({{"C", 3}, {"A", 1}, {"B", 2}});
  set->SetSortString("Name");
  ASSERT_EQ(Rows(set.get()), "A/1 B/2 C/3");
  // Appending and posting "D": the write lands on the new row, not on the
  // row that a premature re-sort would have put at its position.
  Integer i = set->Append();
  EXPECT_EQ(i, 3);
  set->ValueAt("Name", i)->SetAsString("D");
  set->ValueAt("Age", i)->SetAsInteger(4);
  set->RecordChanged(ukInsert, "Name;Age", i);
  EXPECT_EQ(Rows(set.get()), "A/1 B/2 C/3 D/4");
  // Inserting takes a logical position; the row is placed after the post.
  set->Insert(1);
  EXPECT_EQ(Rows(set.get()), "A/1 ~/-1 B/2 C/3 D/4");
  set->ValueAt("Name", 1)->SetAsString("BB");
  set->RecordChanged(ukInsert, "Name", 1);
  EXPECT_EQ(Rows(set.get()), "A/1 B/2 BB/-1 C/3 D/4");
  // Without a sort the row stays where it was inserted.
  set->SetSortString("");
  set->Insert(0);
  set->ValueAt("Name", 0)->SetAsString("Z");
  set->RecordChanged(ukInsert, "Name", 0);
  EXPECT_EQ(Rows(set.get()).substr(0, 4), "Z/-1");
  EXPECT_THROW(set->Insert(set->RowCount() + 1), EBVError);
}

TEST(QuickRecordSet, SortStringIsCheckedBeforeItIsStored) {
  auto set = MakeSet({{"B", 2}, {"A", 1}});
  set->SetSortString("Name");
  EXPECT_THROW(set->SetSortString("Name, Nope desc"), EBVError);
  EXPECT_EQ(set->SortString(), "Name");
  // Later structural changes work and add exactly one row each.
  set->Append();
  set->Append();
  EXPECT_EQ(set->RowCount(), 4);
  EXPECT_EQ(Rows(set.get()), "A/1 B/2 ~/-1 ~/-1");
  set->Delete(2);
  set->Resort();
  EXPECT_EQ(Rows(set.get()), "~/-1 A/1 B/2");
  // Removing or renaming a field named in the sort drops it from the sort.
  set->SetSortString("Age desc, Name");
  set->Fields()->Find("Age")->Free();
  EXPECT_EQ(set->SortString(), "Name");
  set->Fields()->Find("Name")->SetName("Title");
  EXPECT_EQ(set->SortString(), "");
  EXPECT_EQ(set->RowCount(), 3);
  set->Append();
  EXPECT_EQ(set->RowCount(), 4);
}

TEST(QuickRecordSet, UpdateBracketKeepsTheOrderColumnRight) {
  auto set = MakeSet({{"C", 3}, {"A", 1}, {"B", 2}, {"D", 4}});
  set->SetSortString("Name");
  ASSERT_EQ(Rows(set.get()), "A/1 B/2 C/3 D/4");
  set->BeginUpdate();
  set->Delete(0);  // A
  EXPECT_EQ(Rows(set.get()), "B/2 C/3 D/4");
  set->Insert(1);
  EXPECT_EQ(set->ValueAt("Name", 0)->AsString(), "B");
  EXPECT_TRUE(set->ValueAt("Name", 1)->IsNull());
  EXPECT_EQ(set->ValueAt("Name", 2)->AsString(), "C");
  set->ValueAt("Name", 1)->SetAsString("E");
  set->Delete(2);  // C
  EXPECT_EQ(Rows(set.get()), "B/2 E/-1 D/4");
  set->BeginUpdate();
  set->EndUpdate();
  EXPECT_EQ(Rows(set.get()), "B/2 E/-1 D/4");  // still locked
  set->EndUpdate();
  EXPECT_EQ(Rows(set.get()), "B/2 D/4 E/-1");
  // Deleting outside a bracket removes the row shown there, the rest stay sorted.
  set->Delete(1);
  EXPECT_EQ(Rows(set.get()), "B/2 E/-1");
}

TEST(QuickRecordSet, FieldsAndTheirValues) {
  auto set = MakeSet({{"A", 1}, {"B", 2}});
  // A type change leaves null values of the new type.
  TznQRSField* age = set->Fields()->Find("age");
  age->SetDataType(ftString);
  EXPECT_TRUE(set->ValueAt("Age", 0)->IsNull());
  EXPECT_EQ(set->ValueAt("Age", 0)->DataType(), ftString);
  set->ValueAt("Age", 0)->SetAsString("old");
  EXPECT_EQ(set->ValueAt("Age", 0)->AsString(), "old");
  EXPECT_FALSE(set->ValueAt("Age", 0)->StoreDataType());
  // A field added later has a null value in every row.
  TznQRSField* note = set->Fields()->AddField("Note", ftInteger, 0);
  EXPECT_EQ(note->ValueCount(), 2);
  EXPECT_TRUE(set->ValueAt("Note", 1)->IsNull());
  EXPECT_THROW(set->Fields()->AddField("NOTE", ftString, 5), EDatabaseError);
  EXPECT_THROW(note->SetName("name"), EDatabaseError);
  note->SetName("Note");
  EXPECT_THROW(note->SetSize(-1), EBVError);
  EXPECT_THROW(note->SetPrecision(-2), EBVError);
  EXPECT_THROW(set->ValueAt("Nope", 0), EBVError);
  EXPECT_THROW(set->ValueAt("Name", 2), EBVError);
  // Definitions for a dataset, in field order.
  TObjectPtr<TFieldDefs> defs(Create<TFieldDefs>(nullptr));
  defs->Add("Stale", ftInteger);
  EXPECT_EQ(set->BuildFieldDefs(defs.get()), "Name;Age;Note");
  ASSERT_EQ(defs->Count(), 3);
  EXPECT_EQ(defs->Items(0)->Size(), 20);
  EXPECT_EQ(defs->Items(2)->DataType(), ftInteger);
  // Without fields there are no rows.
  set->Fields()->Clear();
  EXPECT_EQ(set->RowCount(), 0);
  set->Fields()->AddField("X", ftInteger, 0);
  EXPECT_EQ(set->Fields()->Items(0)->ValueCount(), 0);
  set->Append();
  set->Fields()->Items(0)->Free();
  EXPECT_EQ(set->RowCount(), 0);
}

TEST(QuickRecordSet, AssignCopiesFieldsAndRowsInShownOrder) {
  auto source = MakeSet({{"B", 2}, {"A", 1}, {"C", -1}});
  source->Fields()->Find("Age")->SetPrecision(3);
  source->SetSortString("Name desc");
  TObjectPtr<TznQuickRecordSet> copy(Create<TznQuickRecordSet>());
  copy->Fields()->AddField("Old", ftFloat, 0);
  copy->Assign(source.get());
  EXPECT_EQ(copy->Fields()->Count(), 2);
  EXPECT_EQ(copy->Fields()->Find("Age")->Precision(), 3);
  EXPECT_EQ(Rows(copy.get()), "C/-1 B/2 A/1");
  EXPECT_EQ(copy->UpdateLock(), 0);
  // The values are copies.
  copy->ValueAt("Name", 0)->SetAsString("X");
  EXPECT_EQ(source->ValueAt("Name", 0)->AsString(), "C");
}

TEST(QuickRecordSet, RecordChangedReportsToItsHandler) {
  auto set = MakeSet({{"A", 1}});
  std::vector<String> heard;
  set->OnRecordChanged = TznRecordChangedEvent::FromCallable(
      [&](TObject* sender, TUpdateKind kind, const String& fields, Integer index) {
        heard.push_back((sender == set.get() ? String("set ") : String("? ")) +
                        IntToStr(static_cast<Integer>(kind)) + " " + fields + " " +
                        IntToStr(index));
      });
  set->RecordChanged(ukModify, "Name", 0);
  set->RecordChanged(ukDelete, "", 3);
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0], "set 0 Name 0");
  EXPECT_EQ(heard[1], "set 2  3");
}

// A link with a window of ten rows over 100 records.
class CurrentRecordTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ds.reset(dbtest::MakeNumbers(100));
    src.reset(Create<TDataSource>(nullptr));
    src->SetDataSet(ds.get());
    link.SetDataSource(src.get());
    link.SetBufferCount(10);
    ds->Open();
  }
  void TearDown() override { link.SetDataSource(nullptr); }
  // The record in row `row` of the window is made current, the window's
  // top record being `top`.
  void Place(Integer top, Integer row) {
    ds->First();
    ds->MoveBy(top - 1 + 9);
    ds->MoveBy(row - 9);
    ASSERT_EQ(link.Rows().front(), top);
    ASSERT_EQ(link.ActiveRecord(), row);
  }
  Integer ID() { return ds->FieldByName("ID")->AsInteger(); }

  TObjectPtr<TMemDataSet> ds;
  TObjectPtr<TDataSource> src;
  dbtest::TRecLink link;
};

TEST_F(CurrentRecordTest, AScanKeepsTheRecordInItsRow) {
  for (auto [top, row] : {std::pair{40, 0}, {40, 9}, {40, 1}, {40, 8}, {1, 0}, {91, 9}}) {
    SCOPED_TRACE(IntToStr(top) + "/" + IntToStr(row));
    Place(top, row);
    const Integer id = ID();
    {
      TznCurrentRecordKeeper keeper(ds.get());
      Integer sum = 0;
      for (ds->First(); !ds->Eof(); ds->Next()) sum += ID();
      EXPECT_EQ(sum, 5050);
    }
    EXPECT_EQ(ID(), id);
    EXPECT_EQ(link.ActiveRecord(), row);
    EXPECT_EQ(link.Rows().front(), top);
  }
  // The plain routines, and a record that is gone is not looked for.
  Place(20, 5);
  TznCurrRecInfo info;
  SaveCurrentRecord(ds.get(), info);
  EXPECT_EQ(info.ActiveRecord, 5);
  ds->Delete();
  ds->First();
  RestoreCurrentRecord(ds.get(), info);
  EXPECT_EQ(ID(), 1);
}

TEST_F(CurrentRecordTest, AFailedScanStillRestores) {
  Place(30, 7);
  EXPECT_THROW(
      {
        TznCurrentRecordKeeper keeper(ds.get());
        ds->Last();
        throw EBVError("stop");
      },
      EBVError);
  EXPECT_EQ(ID(), 37);
  EXPECT_EQ(link.ActiveRecord(), 7);
}

}  // namespace
}  // namespace brevant
