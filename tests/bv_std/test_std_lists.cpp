// The lite vision and the process-wide default; completion of typed text in
// a list vision (case rules, values only, nullable); the standard vision's
// posting, pick list types and most-recently-used order.
#include <gtest/gtest.h>

#include "bv_db/obj_dataset.h"
#include "bv_std/list_visions_standard.h"
#include "bv_vtf/tool_form.h"
#include "db/dataset.h"
#include "error_text.h"
#include "list_test_util.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace listtest {
namespace {

using brevant::test::ErrorOf;

String Joined(TStrings* list) {
  String result;
  for (Integer i = 0; i < list->Count(); ++i) result += (i ? "," : "") + list->Strings(i);
  return result;
}

// ---- TLiteVision ----

class LiteVisionTest : public ::testing::Test, public TListBench<TLiteVision> {};

TEST_F(LiteVisionTest, TextComesFromTheFieldElseFromOnGetValue) {
  Open("Name");
  EXPECT_EQ(Text(), "Ann");
  Open("Nickname");  // named, but no field of the dataset
  EXPECT_EQ(Text(), "");
  bool isNull = false;
  vision->OnGetValue =
      TfvGetStrValueEvent::FromCallable([&](TObject*, TtlFieldList*, String& value, bool& null) {
        value = "Annie";
        null = isNull;
      });
  EXPECT_EQ(Text(), "Annie");
  isNull = true;  // a null answer shows nothing, whatever the text
  EXPECT_EQ(Text(), "");
}

TEST_F(LiteVisionTest, ActiveNeedsFieldNamesAndNoBlob) {
  Open("Name");
  EXPECT_TRUE(List().Active());
  Open("Nickname");  // without a main field the handler serves
  EXPECT_TRUE(List().Active());
  Open("");
  EXPECT_FALSE(List().Active());
}

TEST_F(LiteVisionTest, EditMaskPrefersTheListsFormatThenTheVisionsThenTheFields) {
  Open("Name");
  data.people->FieldByName("Name")->SetEditMask("field");
  String mask;
  vision->GetEditMask(&List(), mask);
  EXPECT_EQ(mask, "field");
  vision->SetEditMask("vision");
  mask.clear();
  vision->GetEditMask(&List(), mask);
  EXPECT_EQ(mask, "vision");
  List().SetEditFormat("list");
  mask.clear();
  vision->GetEditMask(&List(), mask);
  EXPECT_EQ(mask, "list");
}

TEST(LiteVisionDefault, EveryConsumerWithoutAVisionTakesLiteVision) {
  TObjectPtr<TStubConsumer> before(Create<TStubConsumer>(nullptr));
  TScopeGuard restore([] { SetDefaultVision(nullptr); });
  InstallLiteVision();
  TObjectPtr<TStubConsumer> after(Create<TStubConsumer>(nullptr));
  EXPECT_EQ(after->Fields().Vision(), LiteVision());
  // A list that took the plain default before moves over too.
  EXPECT_EQ(before->Fields().Vision(), LiteVision());
  EXPECT_FALSE(before->Fields().VisionAssigned());
  EXPECT_EQ(DefaultVision(), LiteVision());
}

// ---- completion (through TStandardVision over a pick list) ----

class CompletionTest : public ::testing::Test, public TListBench<TStandardVision> {
 protected:
  void SetUp() override {
    vision->PickList()->SetCommaText("Apple,Apricot,Banana");
    Open("Name");
    Enter();
  }
  TfvCurrentValue* Current() { return editor->CurrentValue(); }
};

TEST_F(CompletionTest, EditStateShowsThePickListThroughTheEditorsOwnDataset) {
  TDataSource* source = vision->GetListSource(&List());
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source, vision->EditDataSource(editor.get()));
  TDataSet* ds = source->DataSet();
  ASSERT_TRUE(ds && ds->Active());
  EXPECT_EQ(ds->RecordCount(), 3);
  EXPECT_NE(ds->FindField("no"), nullptr);
  EXPECT_EQ(ds->FieldByName("Value")->AsString(), "Apple");
}

TEST_F(CompletionTest, TypedLettersCompleteToTheListValue) {
  struct Row {
    const char* name;    // what the case shows
    const char* typed;   // the text after the key
    bool forward;        // the key was no deletion
    const char* result;  // the edit's text afterwards
    Integer selStart;    // selection start asked for
    Integer selEnd;      // selection end asked for
  };
  const Row rows[] = {
      {"two letters show the whole value, the tail selected", "ap", true, "Apple", 5, 2},
      {"the list's letter case wins", "APR", true, "Apricot", 7, 3},
      {"an exact match completes also after a deletion", "banana", false, "Banana", 6, 6},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_TRUE(editor->Edit(row.typed, row.forward));
    EXPECT_EQ(editor->text, row.result);
    EXPECT_EQ(editor->selStart, row.selStart);
    EXPECT_EQ(editor->selEnd, row.selEnd);
    EXPECT_EQ(Current()->AsString(), row.result);
    EXPECT_TRUE(Current()->Modified());
  }
}

TEST_F(CompletionTest, BackspaceDoesNotCompleteAgain) {
  editor->Edit("ap");
  ASSERT_EQ(editor->text, "Apple");
  // Backspace removes the selected tail: "ap" stays as typed.
  EXPECT_TRUE(editor->Edit("ap", false));
  EXPECT_EQ(editor->text, "ap");
  // Not values-only: the typed text is new, read when posting.
  EXPECT_TRUE(Current()->IsNull());
  EXPECT_FALSE(Current()->Modified());
}

TEST_F(CompletionTest, ValuesOnlyRefusesACharacterLeadingOutOfTheList) {
  vision->SetPickListValuesOnly(true);
  editor->Edit("b");
  ASSERT_EQ(editor->text, "Banana");
  editor->text = "B";  // the user removed the tail
  EXPECT_FALSE(editor->Edit("Bx"));
  EXPECT_EQ(editor->text, "B");
  // The caret stays where it was: after the one letter.
  EXPECT_EQ(editor->selStart, 1);
  EXPECT_EQ(editor->selEnd, 1);
  // After a deletion the text is accepted as typed, even outside the list.
  EXPECT_TRUE(editor->Edit("Bz", false));
  EXPECT_EQ(editor->text, "Bz");
}

TEST_F(CompletionTest, ClearedTextIsNullWhenNullableAndKeepsTheValueOtherwise) {
  data.people->Edit();
  data.people->FieldByName("Name")->SetAsString("Ann");
  data.people->Post();
  editor->Edit("");
  EXPECT_TRUE(Current()->IsNull());
  EXPECT_TRUE(Current()->Modified());
  EXPECT_TRUE(Post());
  EXPECT_TRUE(data.people->FieldByName("Name")->IsNull());

  vision->SetNullable(false);
  data.people->Edit();
  data.people->FieldByName("Name")->SetAsString("Ann");
  data.people->Post();
  Enter();
  editor->Edit("");
  EXPECT_FALSE(Current()->Modified());
  Post();
  EXPECT_EQ(data.people->FieldByName("Name")->AsString(), "Ann");
}

// ---- posting and pick list types ----

class PickListTest : public CompletionTest {
 protected:
  // Types text without completion (as pasted) and posts it.
  void PostTyped(const String& text) {
    Enter();
    editor->Type(text);
    Post();
  }
  // Picks the list value starting with prefix and posts it.
  void PostPicked(const String& prefix) {
    Enter();
    editor->Edit(prefix);
    Post();
  }
  String Field() { return data.people->FieldByName("Name")->AsString(); }
};

TEST_F(PickListTest, SortedTypesKeepTheListSorted) {
  vision->PickList()->SetCommaText("Pear,Fig,Kiwi");
  vision->SetPickListType(pltSorted);
  EXPECT_EQ(Joined(vision->PickList()), "Fig,Kiwi,Pear");
  vision->PickList()->Add("Date");
  EXPECT_EQ(Joined(vision->PickList()), "Date,Fig,Kiwi,Pear");
  vision->SetPickListType(pltDefault);
  vision->PickList()->Add("Apple");
  EXPECT_EQ(Joined(vision->PickList()), "Date,Fig,Kiwi,Pear,Apple");
}

TEST_F(PickListTest, MRUPutsThePostedValueFirst) {
  vision->SetPickListType(pltMRU);
  PostPicked("apr");
  EXPECT_EQ(Field(), "Apricot");
  EXPECT_EQ(Joined(vision->PickList()), "Apricot,Apple,Banana");
  PostTyped("Cherry");
  EXPECT_EQ(Field(), "Cherry");
  EXPECT_EQ(Joined(vision->PickList()), "Cherry,Apricot,Apple,Banana");
  // The editor's list dataset follows.
  EXPECT_EQ(vision->GetListSource(&List())->DataSet()->RecordCount(), 4);
}

TEST_F(PickListTest, MRUGainsNeitherDuplicatesNorEmptyEntries) {
  vision->SetPickListType(pltMRU);
  PostTyped("banana");  // equal to an entry but for the case
  EXPECT_EQ(Joined(vision->PickList()), "Banana,Apple,Apricot");
  PostTyped("");  // a nullable vision's cleared text
  EXPECT_TRUE(data.people->FieldByName("Name")->IsNull());
  EXPECT_EQ(vision->PickList()->Count(), 3);

  vision->SetPickListType(pltSortedMRU);
  PostTyped("Apple");
  PostTyped("Cherry");
  EXPECT_EQ(Joined(vision->PickList()), "Apple,Apricot,Banana,Cherry");
}

TEST_F(PickListTest, OnNewValueMayChangeTheTextOrKeepItOutOfTheList) {
  vision->SetPickListType(pltMRU);
  bool skip = false;
  vision->OnNewValue =
      TfvStdNewValueEvent::FromCallable([&](TObject*, TtlFieldList*, String& value, bool& doSkip) {
        value = AnsiUpperCase(value);
        doSkip = skip;
      });
  PostTyped("kiwi");
  EXPECT_EQ(Field(), "KIWI");
  EXPECT_EQ(Joined(vision->PickList()), "KIWI,Apple,Apricot,Banana");
  skip = true;
  PostTyped("plum");
  // Posted, but neither added nor moved to the front.
  EXPECT_EQ(Field(), "PLUM");
  EXPECT_EQ(Joined(vision->PickList()), "KIWI,Apple,Apricot,Banana");
}

TEST_F(PickListTest, PropertiesAndTheirChecks) {
  EXPECT_EQ(ErrorOf([&] { vision->SetDropDownRows(0); }), "EBVError: Value must be positive (0)");
  EXPECT_EQ(vision->DropDownRows(), 7);
  // SkipCharValidation accepts what the field would refuse.
  Open("ColorID");
  EXPECT_FALSE(vision->IsValidChar(&List(), U'x'));
  vision->SetSkipCharValidation(true);
  EXPECT_TRUE(vision->IsValidChar(&List(), U'x'));
}

TEST_F(PickListTest, AssignCopiesTheListAndItsRules) {
  TObjectPtr<TStandardVision> copy(Create<TStandardVision>(nullptr));
  vision->SetPickListType(pltSortedMRU);
  vision->SetPickListValuesOnly(true);
  vision->SetNullable(false);
  vision->SetDropDownRows(3);
  copy->Assign(vision.get());
  EXPECT_EQ(Joined(copy->PickList()), "Apple,Apricot,Banana");
  EXPECT_EQ(copy->PickListType(), pltSortedMRU);
  EXPECT_TRUE(copy->PickListValuesOnly());
  EXPECT_FALSE(copy->Nullable());
  EXPECT_EQ(copy->DropDownRows(), 3);
  // A copy, not a share.
  vision->PickList()->Add("Cherry");
  EXPECT_EQ(copy->PickList()->Count(), 3);
}

TEST_F(PickListTest, AFreedDropDownIsForgotten) {
  TObjectPtr<TVisionToolForm> form(Create<TVisionToolForm>(nullptr));
  TObjectPtr<TVisionToolForm> stock(Create<TVisionToolForm>(nullptr));
  SetStockToolForm(stfDataList, stock.get());
  TScopeGuard unregister([] { SetStockToolForm(stfDataList, nullptr); });
  vision->SetDropDown(form.get());
  EXPECT_EQ(vision->GetDropDown(), form.get());
  form.reset();
  EXPECT_EQ(vision->DropDown(), nullptr);
  EXPECT_EQ(vision->GetDropDown(), stock.get());
}

}  // namespace
}  // namespace listtest
