// The default pack's list drop-down opened from a data-aware edit with
// Alt+Down and its button: columns, widths and rows for standard, lookup
// and state visions, the list following the edit's value, typed picking,
// snapping to whole rows while sized, and the widths and row count the
// list leaves in a lookup vision.
#include <gtest/gtest.h>

#include "bv/columns.h"
#include "bv/selection.h"
#include "bv/tabulon.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/lookup_params.h"
#include "bv_std/lookup_visions.h"
#include "bv_std/lookup_visions_v.h"
#include "bv_std/state_visions_xstate.h"
#include "bv_std/tool_form_vision.h"
#include "controls/wincore.h"
#include "graphics/imagelist.h"
#include "list_test_util.h"
#include "pack_test_util.h"

namespace brevant::test {
namespace {

class PackListTest : public PackTest {
 protected:
  void SetUp() override {
    PackTest::SetUp();
    tf = pack->vtfDataList;
    grid = pack->tlDataListList;
  }
  TStandardVision* Fruits(const String& commaText) {
    auto* v = Create<TStandardVision>(form);
    v->PickList()->SetCommaText(commaText);
    return v;
  }
  // The value field of the list's current record.
  String ListCurrent(const String& field) const {
    return grid->DataSet()->FieldByName(field)->AsString();
  }
  Integer BgClientHeight() const { return tf->Background()->ClientHeight(); }

  listtest::TListData data;
  TVisionToolForm* tf = nullptr;
  TDBTabulon* grid = nullptr;
};

TEST_F(PackListTest, StockRegistryNamesTheListForListVisions) {
  auto* v = Fruits("Apple");
  EXPECT_EQ(StockToolForm(stfDataList), tf);
  EXPECT_EQ(v->GetDropDown(), tf);
  EXPECT_EQ(tf->DataGrid(), grid);
  EXPECT_EQ(grid->Designer(), pack->dsgDataList);
}

TEST_F(PackListTest, AStandardListIsAsWideAsTheEditAndFollowsItsValue) {
  Edit(data.peopleSource.get(), "Name", Fruits("Ann,Bob,Cid,Dan"));
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  ASSERT_EQ(grid->Columns()->Count(), 1);
  EXPECT_EQ(grid->Columns()->Items(0)->FieldName(), "Value");
  EXPECT_EQ(grid->Columns()->Items(0)->Vision(), pack->visImagedText);
  EXPECT_EQ(grid->UniqueFields(), "Value");
  EXPECT_EQ(tf->Background()->Width(), edit->Width());
  EXPECT_TRUE(tf->Options().Contains(tfoFixedWidth));
  // Four records under the seven rows asked for: four rows, no taller.
  EXPECT_EQ(BgClientHeight(), 4 * grid->RowHeight());
  EXPECT_TRUE(tf->Options().Contains(tfoFixedHeight));
  // The list stands on the edit's value.
  EXPECT_EQ(ListCurrent("Value"), "Ann");
  EXPECT_EQ(pack->dsgDataList->FocusRectKind(), frcPersistentRow);
  Key(VK_ESCAPE);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(grid->DataSource(), nullptr);
}

TEST_F(PackListTest, AnEmptyListShowsTwoRowsAndNoFocusRectWhenAsked) {
  auto* v = Fruits("");
  v->SetDropDownOptions({ddoNoFocusRect});
  Edit(data.peopleSource.get(), "Name", v);
  const TRect b = edit->EditButtonRect();
  ClickOn(edit, (b.Left + b.Right) / 2, (b.Top + b.Bottom) / 2);
  Pump();
  ASSERT_TRUE(tf->IsOpen());
  EXPECT_EQ(BgClientHeight(), 2 * grid->RowHeight());
  EXPECT_EQ(pack->dsgDataList->FocusRectKind(), frcNone);
  Key(VK_ESCAPE);
}

TEST_F(PackListTest, TypingPicksFromTheListAndReturnPostsIt) {
  Edit(data.peopleSource.get(), "Name", Fruits("Apple,Apricot,Banana"));
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  edit->SelectAll();
  Type("Ban");
  EXPECT_EQ(edit->EditText(), "Banana");
  EXPECT_EQ(ListCurrent("Value"), "Banana");
  Key(VK_RETURN);  // closes the list
  EXPECT_FALSE(tf->IsOpen());
  Key(VK_RETURN);  // posts
  EXPECT_EQ(data.people->FieldByName("Name")->AsString(), "Banana");
}

TEST_F(PackListTest, MovingKeysGoToTheListAndStayOutOfTheEdit) {
  Edit(data.peopleSource.get(), "Name", Fruits("Ann,Bob,Cid"));
  std::vector<Word> seen;
  grid->OnKeyDown =
      TKeyEvent::FromCallable([&](TObject*, Word& key, TShiftState) { seen.push_back(key); });
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  for (Word k :
       {Word(VK_DOWN), Word(VK_UP), Word(VK_NEXT), Word(VK_PRIOR), Word(VK_END), Word(VK_HOME)})
    Key(k);
  Key(VK_LEFT);  // not a list key: the edit moves its caret
  EXPECT_EQ(seen, (std::vector<Word>{VK_DOWN, VK_UP, VK_NEXT, VK_PRIOR, VK_END, VK_HOME}));
  EXPECT_TRUE(tf->IsOpen());
  EXPECT_EQ(edit->EditText(), "Ann");
  Key(VK_ESCAPE);
}

TEST_F(PackListTest, MovingInTheListPicksAndReturnPostsAtOnce) {
  Edit(data.peopleSource.get(), "Name", Fruits("Ann,Bob,Cid"));
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  Key(VK_DOWN);
  EXPECT_EQ(ListCurrent("Value"), "Bob");
  EXPECT_TRUE(tf->Changed());
  Key(VK_RETURN);  // the list changed: Return posts and closes
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(data.people->FieldByName("Name")->AsString(), "Bob");
}

// The same list drops down from a grid cell's editor.
TEST_F(PackListTest, AGridCellDropsTheListDownAndPostsThePick) {
  auto* cells = Create<TDBTabulon>(form);
  cells->SetBounds(10, 80, 300, 150);
  cells->SetParent(form);
  TtlColumn* name = cells->Columns()->Add();
  name->SetFieldName("Name");
  name->SetVision(Fruits("Ann,Bob,Cid"));
  cells->SetDataSource(data.peopleSource.get());
  form->Show();
  Pump();
  cells->SetFocus();
  Key(VK_HOME);
  Key(VK_F2);
  ASSERT_TRUE(cells->EditorShown());
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(data.people->FieldByName("Name")->AsString(), "Cid");
  EXPECT_TRUE(cells->EditorShown());
  Key(VK_RETURN);  // closes the cell's editor
  Key(VK_RETURN);  // posts the record
  EXPECT_EQ(data.people->State(), dsBrowse);
}

class PackLookupListTest : public PackListTest {
 protected:
  TVLookupVision* Colors(const String& widths, Integer rows) {
    auto* v = Create<TVLookupVision>(form);
    TVLookupParams* p = v->LookupParams();
    p->SetDataSource(data.colorSource.get());
    p->SetKeyField("ID");
    p->SetLookupField("Name");
    p->SetDescriptionField("Note");
    v->SetDropDownWidth(widths);
    v->SetDropDownRows(rows);
    return v;
  }
  static Integer ScrollBar() { return GetSystemMetrics(SM_CXVSCROLL) | 1; }
};

TEST_F(PackLookupListTest, ColumnsTakeTheirWidthsAndTheListItsColumnsWidth) {
  struct TRow {
    const char* name;    // what the row checks
    const char* widths;  // DropDownWidth
    Integer first, second;
  };
  const TRow rows[] = {
      {"both widths given", "60;90", 60, 90},
      {"a missing width is the edit's", "70", 70, 120},
      {"no number or not above 0 is the edit's", "x;-5", 120, 120},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    Edit(data.peopleSource.get(), "ColorID", Colors(row.widths, 7));
    Key(VK_DOWN, bmAlt);
    ASSERT_TRUE(tf->IsOpen());
    ASSERT_EQ(grid->Columns()->Count(), 2);
    EXPECT_EQ(grid->Columns()->Items(0)->FieldName(), "Name");
    EXPECT_EQ(grid->Columns()->Items(1)->FieldName(), "Note");
    EXPECT_EQ(grid->UniqueFields(), "ID");
    EXPECT_FALSE(tf->Options().Contains(tfoFixedWidth));
    EXPECT_EQ(tf->Background()->ClientWidth(), row.first + row.second + 2 + ScrollBar());
    // Ann's colour 2 is current in the list.
    EXPECT_EQ(ListCurrent("Name"), "Green");
    Key(VK_ESCAPE);
    TObject::Free(edit);
    TObject::Free(other);
  }
}

TEST_F(PackLookupListTest, ALookupFieldListsItsResultFieldThenTheListFields) {
  auto* v = Create<TLookupVision>(form);
  v->SetListFields("Note");
  v->SetDropDownWidth("40;70");
  Edit(data.peopleSource.get(), "Color", v);
  EXPECT_EQ(edit->EditText(), "Green");
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  ASSERT_EQ(grid->Columns()->Count(), 2);
  EXPECT_EQ(grid->Columns()->Items(0)->FieldName(), "Name");
  EXPECT_EQ(grid->Columns()->Items(1)->FieldName(), "Note");
  EXPECT_EQ(grid->UniqueFields(), "ID");
  EXPECT_EQ(ListCurrent("Name"), "Green");
  edit->SelectAll();
  Type("Bl");
  EXPECT_EQ(ListCurrent("Name"), "Blue");
  Key(VK_RETURN);  // closes the list
  Key(VK_RETURN);  // posts the key
  EXPECT_EQ(data.people->FieldByName("ColorID")->AsInteger(), 3);
  EXPECT_EQ(v->DropDownWidth(), "40;70");
}

TEST_F(PackLookupListTest, ThreeRecordsShowThreeRowsThatCannotGrow) {
  Edit(data.peopleSource.get(), "ColorID", Colors("60;60", 7));
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  EXPECT_EQ(BgClientHeight(), 3 * grid->RowHeight());
  EXPECT_TRUE(tf->Options().Contains(tfoFixedHeight));
  Key(VK_ESCAPE);
}

TEST_F(PackLookupListTest, SizingSnapsToWholeRowsBetweenTwoAndTheRecordCount) {
  data.AddColor(4, "Cyan", 7);
  data.AddColor(5, "Pink", 8);
  Edit(data.peopleSource.get(), "ColorID", Colors("60;60", 3));
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  const Integer h = grid->RowHeight();
  EXPECT_FALSE(tf->Options().Contains(tfoFixedHeight));
  const Integer frame = tf->Background()->Height() - tf->Background()->ClientHeight();
  struct TRow {
    const char* name;  // what the row checks
    Integer proposed;  // outer height proposed
    Integer rows;      // rows it snaps to
  };
  const TRow rows[] = {
      {"between rows snaps down", frame + 3 * h + h / 2, 3},
      {"too small keeps two", frame + 5, 2},
      {"too large stops at the records", frame + 20 * h, 5},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    TznSizingInfo info{tf->Background()->Width(), row.proposed};
    tf->OnSizing(tf, info);
    EXPECT_EQ(info.Height, frame + row.rows * h);
  }
  Key(VK_ESCAPE);
}

TEST_F(PackLookupListTest, ClosingRemembersColumnWidthsAndShownRows) {
  data.AddColor(4, "Cyan", 7);
  data.AddColor(5, "Pink", 8);
  TVLookupVision* v = Colors("50;80", 3);
  Edit(data.peopleSource.get(), "ColorID", v);
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  // The user makes the list four rows high.
  TznToolFormBG* bg = tf->Background();
  bg->SetClientHeight(4 * grid->RowHeight());
  Pump();
  Key(VK_ESCAPE);
  EXPECT_EQ(v->DropDownRows(), 4);
  EXPECT_EQ(v->DropDownWidth(), "50;80");
  EXPECT_EQ(grid->DataSource(), nullptr);
}

class PackStateListTest : public PackListTest {
 protected:
  TXStateVision* States() {
    auto* v = Create<TXStateVision>(form);
    const std::pair<const char*, const char*> states[] = {
        {"R", "Red"}, {"G", "Green"}, {"B", "Blue"}};
    for (const auto& [value, text] : states) {
      TXState* s = v->States()->Add();
      s->SetFieldValue(value);
      s->SetDisplayText(text);
    }
    return v;
  }
  void SetUp() override {
    PackListTest::SetUp();
    ds = Create<TMemDataSet>(form);
    ds->FieldDefs()->Add("Code", ftString, 5);
    ds->AppendRow({"G"});
    ds->Open();
    src = Create<TDataSource>(form);
    src->SetDataSet(ds);
  }
  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
};

TEST_F(PackStateListTest, TheListShowsTheStatesAndStandsOnTheFieldsState) {
  Edit(src, "Code", States());
  EXPECT_EQ(edit->EditText(), "Green");
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  ASSERT_EQ(grid->Columns()->Count(), 1);
  EXPECT_EQ(grid->Columns()->Items(0)->FieldName(), "DisplayText");
  EXPECT_EQ(grid->UniqueFields(), "FieldValue");
  EXPECT_EQ(pack->visImagedText->RelatedFields(), "ImageIndex");
  EXPECT_EQ(tf->Background()->Width(), edit->Width());
  EXPECT_EQ(BgClientHeight(), 3 * grid->RowHeight());
  EXPECT_EQ(ListCurrent("FieldValue"), "G");
  Key(VK_ESCAPE);
}

TEST_F(PackStateListTest, TypingAStatesTextPostsItsFieldValue) {
  Edit(src, "Code", States());
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  edit->SelectAll();
  Type("Bl");
  EXPECT_EQ(edit->EditText(), "Blue");
  EXPECT_EQ(ListCurrent("FieldValue"), "B");
  Key(VK_RETURN);  // closes the list
  EXPECT_FALSE(tf->IsOpen());
  Key(VK_RETURN);  // posts
  EXPECT_EQ(ds->FieldByName("Code")->AsString(), "B");
}

TEST_F(PackStateListTest, TheListTakesTheDropDownImagesElseTheVisionsImages) {
  TXStateVision* v = States();
  auto* images = Create<TImageList>(form);
  auto* dropImages = Create<TImageList>(form);
  struct TRow {
    const char* name;      // what the row checks
    TImageList* dropDown;  // the vision's DropDownImages
    bool drawImages;       // the vision's DrawImages
    TImageList* shown;     // the list's images
  };
  const TRow rows[] = {
      {"drop-down images first", dropImages, true, dropImages},
      {"else the vision's images", nullptr, true, images},
      {"none when the vision draws none", nullptr, false, nullptr},
  };
  v->SetImages(images);
  Edit(src, "Code", v);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    v->SetDropDownImages(row.dropDown);
    v->SetDrawImages(row.drawImages);
    Key(VK_DOWN, bmAlt);
    ASSERT_TRUE(tf->IsOpen());
    EXPECT_EQ(pack->visImagedText->Images(), row.shown);
    Key(VK_ESCAPE);
  }
}

TEST_F(PackStateListTest, PickingTheNullStatePostsNull) {
  TXStateVision* v = States();
  TXState* none = v->States()->Add();
  none->SetDisplayText("None");
  none->SetNullValue(true);
  Edit(src, "Code", v);
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  edit->SelectAll();
  Type("No");
  EXPECT_EQ(edit->EditText(), "None");
  Key(VK_RETURN);  // closes the list
  Key(VK_RETURN);  // posts
  EXPECT_TRUE(ds->FieldByName("Code")->IsNull());
}

}  // namespace
}  // namespace brevant::test
