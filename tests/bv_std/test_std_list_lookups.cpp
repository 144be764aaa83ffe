// The lookup visions: keys loaded, completed, typed and posted for a lookup
// field; new keys and the clearing shortcut; looked-up texts and images of
// the vision's own lookup, its index and its parameters.
#include <gtest/gtest.h>

#include "backend/codes.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lookup_visions_v.h"
#include "controls/menus.h"
#include "db/dataset.h"
#include "graphics/imagelist.h"
#include "list_test_util.h"
#include "value_test_util.h"

namespace listtest {
namespace {

String ColorID(TListData& data) {
  return data.people->FieldByName("ColorID")->AsString();
}

TEST(DropDownColumns, ASecondListIsAddedOnlyWhenThereIsOne) {
  struct Row {
    const char* name;    // the case
    const char* first;   // the shown field
    const char* others;  // further fields
    const char* result;  // the list's columns
  };
  const Row rows[] = {
      {"no further fields: one column, no empty one", "Name", "", "Name"},
      {"further fields follow the shown one", "Name", "Note", "Name;Note"},
      {"a list naming the shown field is taken as it is", "Name", "Note;name", "Note;name"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(DropDownColumns(row.first, row.others), row.result);
  }
}

// ---- TLookupVision ----

class LookupVisionTest : public ::testing::Test, public TListBench<TLookupVision> {
 protected:
  void SetUp() override {
    Open("Color");
    Enter();
  }
  TfvCurrentValue* Current() { return editor->CurrentValue(); }
  // Types text without completion and posts it.
  bool PostTyped(const String& text) {
    editor->Type(text);
    return Post();
  }
};

TEST_F(LookupVisionTest, ServesLookupFieldsWithTheKeyAsValue) {
  EXPECT_TRUE(List().Active());
  EXPECT_EQ(Text(), "Green");
  EXPECT_EQ(Current()->DataType(), ftVariant);
  EXPECT_EQ(Current()->AsString(), "2");
  // The editor's data source shows the lookup table while editing.
  EXPECT_EQ(vision->GetListSource(&List())->DataSet(), data.colors.get());
  String name;
  vision->GetListFieldName(&List(), name);
  EXPECT_EQ(name, "Name");
  Open("Name");  // a plain field
  EXPECT_FALSE(List().Active());
}

TEST_F(LookupVisionTest, CompletedTextPostsTheKeyOfTheListRecord) {
  EXPECT_TRUE(editor->Edit("bl"));
  EXPECT_EQ(editor->text, "Blue");
  EXPECT_EQ(Current()->AsString(), "3");
  EXPECT_TRUE(Post());
  EXPECT_EQ(ColorID(data), "3");
  EXPECT_EQ(Text(), "Blue");
  // Values only (the default): text outside the list is taken back.
  EXPECT_FALSE(editor->Edit("Blx"));
}

TEST_F(LookupVisionTest, TypedTextOfAListValuePostsItsKey) {
  PostTyped("Red");
  EXPECT_EQ(ColorID(data), "1");
}

TEST_F(LookupVisionTest, NewTextAsksOnNewKeyAndPostsOnlyAKey) {
  // Without a handler nothing is posted.
  PostTyped("Purple");
  EXPECT_EQ(ColorID(data), "2");
  struct Row {
    const char* name;  // the handler's answer
    bool fill;         // it fills the key
    bool skip;         // it skips the post
    const char* key;   // ColorID afterwards
  };
  const Row rows[] = {
      {"neither key nor skip: the cell keeps its key", false, false, "2"},
      {"a skip posts nothing", true, true, "2"},
      {"a new key is posted", true, false, "9"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    String asked;
    vision->OnNewKey = TfvLkpNewKeyEvent::FromCallable(
        [&](TObject*, TtlFieldList*, const String& text, TtlFieldValue* key, bool& skip) {
          asked = text;
          if (row.fill) key->SetAsVariant(9);
          skip = row.skip;
        });
    Enter();
    PostTyped("Purple");
    EXPECT_EQ(asked, "Purple");
    EXPECT_EQ(ColorID(data), row.key);
  }
}

TEST_F(LookupVisionTest, ClearShortCutMakesTheValueNullAndPosts) {
  vision->SetClearShortCut(ShortCut(VK_DELETE, {ssCtrl}));
  Word key = VK_DELETE;
  vision->KeyDown(editor.get(), key, {});
  EXPECT_EQ(key, VK_DELETE);  // Delete alone is no shortcut
  EXPECT_EQ(ColorID(data), "2");
  vision->KeyDown(editor.get(), key, {ssCtrl});
  EXPECT_EQ(key, 0);
  EXPECT_TRUE(data.people->FieldByName("ColorID")->IsNull());
}

TEST_F(LookupVisionTest, ClearedTextOfANonNullableVisionKeepsTheKey) {
  vision->SetNullable(false);
  editor->Edit("");
  Post();
  EXPECT_EQ(ColorID(data), "2");
  vision->SetNullable(true);
  Enter();
  editor->Edit("");
  Post();
  EXPECT_TRUE(data.people->FieldByName("ColorID")->IsNull());
}

// ---- TVLookupVision ----

class VLookupVisionTest : public ::testing::Test, public TListBench<TVLookupVision> {
 protected:
  void SetUp() override {
    TVLookupParams* p = vision->LookupParams();
    p->SetDataSource(data.colorSource.get());
    p->SetKeyField("ID");
    p->SetLookupField("Name");
    p->SetImageField("Image");
    Open("ColorID");
  }
  // The text of person n (1-based).
  String TextOf(Integer n) {
    data.people->SetRecNo(n);
    return Text();
  }
};

TEST_F(VLookupVisionTest, ShowsTheLookedUpTextAndImageWithoutMovingTheLookup) {
  ASSERT_TRUE(List().Active());
  data.colors->Last();
  Integer scrolls = 0;
  data.colors->AfterScroll = TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++scrolls; });
  EXPECT_EQ(TextOf(1), "Green");
  EXPECT_EQ(vision->LookedUpImage(), -1);  // no images to draw
  TObjectPtr<TImageList> images(Create<TImageList>(nullptr));
  vision->SetImages(images.get());
  EXPECT_EQ(TextOf(1), "Green");
  EXPECT_EQ(vision->LookedUpImage(), 5);
  EXPECT_EQ(TextOf(2), "");  // a null key
  EXPECT_EQ(vision->LookedUpImage(), -1);
  EXPECT_EQ(data.colors->RecNo(), 3);
  EXPECT_EQ(scrolls, 0);
  vision->SetImages(nullptr);
}

TEST_F(VLookupVisionTest, TheIndexIsBuiltOnceAndDroppedOnChanges) {
  for (Integer i = 0; i < 5; ++i) TextOf(1);
  EXPECT_EQ(vision->LookupParams()->ScanCount(), 1);
  data.colors->Locate("ID", 2);
  data.colors->Edit();
  EXPECT_EQ(TextOf(1), "");  // the lookup table is not browsing
  data.colors->FieldByName("Name")->SetAsString("Lime");
  data.colors->Post();
  EXPECT_EQ(TextOf(1), "Lime");
  data.AddColor(7, "Teal", 1);
  data.people->Edit();
  data.people->FieldByName("ColorID")->SetAsInteger(7);
  data.people->Post();
  EXPECT_EQ(TextOf(1), "Teal");
}

TEST_F(VLookupVisionTest, ParametersDecideWhetherTheVisionIsActive) {
  vision->LookupParams()->SetLookupField("Missing");
  EXPECT_FALSE(List().CheckActive());
  vision->LookupParams()->SetLookupField("Name");
  EXPECT_TRUE(List().CheckActive());
  data.colors->Close();
  EXPECT_FALSE(List().CheckActive());
  data.colors->Open();
  EXPECT_TRUE(List().CheckActive());
  data.colorSource.reset();  // a freed source is cleared
  EXPECT_EQ(vision->LookupParams()->DataSource(), nullptr);
  EXPECT_FALSE(List().CheckActive());
}

TEST_F(VLookupVisionTest, CompletionPicksTheKeyOfTheLookupTable) {
  EXPECT_TRUE(vision->AllowNewKeys() == !vision->PickListValuesOnly());
  Enter();
  EXPECT_EQ(editor->CurrentValue()->AsString(), "2");
  EXPECT_TRUE(editor->Edit("re"));
  EXPECT_EQ(editor->text, "Red");
  EXPECT_TRUE(Post());
  EXPECT_EQ(ColorID(data), "1");
  EXPECT_EQ(Text(), "Red");
}

TEST_F(VLookupVisionTest, WithoutAMainFieldTheKeyComesFromOnGetValue) {
  Open("Favourite");
  EXPECT_EQ(Text(), "");
  vision->OnGetValue =
      TfvGetVarValueEvent::FromCallable([](TObject*, TtlFieldList*, Variant& value) { value = 3; });
  EXPECT_EQ(Text(), "Blue");
}

TEST_F(VLookupVisionTest, AssignCopiesTheParameters) {
  TObjectPtr<TVLookupVision> copy(Create<TVLookupVision>(nullptr));
  vision->LookupParams()->SetDescriptionField("Note");
  copy->SetLookupParams(vision->LookupParams());
  TVLookupParams* p = copy->LookupParams();
  EXPECT_EQ(p->DataSource(), data.colorSource.get());
  EXPECT_EQ(p->KeyField(), "ID");
  EXPECT_EQ(p->LookupField(), "Name");
  EXPECT_EQ(p->ImageField(), "Image");
  EXPECT_EQ(p->DescriptionField(), "Note");
  EXPECT_EQ(p->CombinedFields(), "Image;Name");
  EXPECT_TRUE(p->NumericImage());
}

}  // namespace
}  // namespace listtest

namespace listtest {
namespace {

TEST(ListVisionStreams, PublishedPropertiesRoundTripThroughFormText) {
  RegisterStandardVisionClasses();
  RegisterVLookupVisionClasses();
  TObjectPtr<TStandardVision> standard(Create<TStandardVision>(nullptr));
  String text = valuetest::ToFormText(standard.get());
  EXPECT_EQ(text.find("PickListType"), String::npos);  // defaults are not stored
  EXPECT_EQ(text.find("DropDownRows"), String::npos);
  standard->PickList()->SetCommaText("One,Two");
  standard->SetPickListType(pltMRU);
  standard->SetPickListValuesOnly(true);
  standard->SetDropDownRows(4);
  standard->SetNullable(false);
  text = valuetest::ToFormText(standard.get());
  TObjectPtr<TStandardVision> copy(static_cast<TStandardVision*>(valuetest::FromFormText(text)));
  EXPECT_EQ(copy->PickList()->CommaText(), "One,Two");
  EXPECT_EQ(copy->PickListType(), pltMRU);
  EXPECT_TRUE(copy->PickListValuesOnly());
  EXPECT_EQ(copy->DropDownRows(), 4);
  EXPECT_FALSE(copy->Nullable());

  TObjectPtr<TVLookupVision> lookup(Create<TVLookupVision>(nullptr));
  lookup->LookupParams()->SetKeyField("ID");
  lookup->LookupParams()->SetLookupField("Name");
  lookup->SetAllowNewKeys(true);
  lookup->SetDropDownWidth("80;40");
  TObjectPtr<TVLookupVision> back(
      static_cast<TVLookupVision*>(valuetest::FromFormText(valuetest::ToFormText(lookup.get()))));
  EXPECT_EQ(back->LookupParams()->KeyField(), "ID");
  EXPECT_EQ(back->LookupParams()->LookupField(), "Name");
  EXPECT_EQ(back->LookupParams()->CombinedFields(), ";Name");
  EXPECT_TRUE(back->AllowNewKeys());
  EXPECT_EQ(back->DropDownWidth(), "80;40");
}

}  // namespace
}  // namespace listtest
