// A list vision's drop-down through the real tool form host, driven with
// keys and clicks on an edit: opening (Alt+Down, the button), closing
// (Escape, Return, a click elsewhere), the list source the host asks for,
// completion telling the open drop-down, and the vision or its tool form
// going while open.
#include <gtest/gtest.h>

#include <algorithm>

#include "bv/columns.h"
#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lookup_visions_v.h"
#include "bv_vtf/tool_form_bg.h"
#include "bv_vtf/tool_form_test_util.h"
#include "db/dataset.h"
#include "db/datasource.h"
#include "list_test_util.h"

namespace brevant::test {
namespace {

bool Logged(const std::string& what) {
  return std::find(Log().begin(), Log().end(), what) != Log().end();
}

class ListDropDownTest : public ToolFormTest {
 protected:
  void SetUp() override {
    ToolFormTest::SetUp();
    list = Create<TStandardVision>(form);
    list->PickList()->SetCommaText("Apple,Apricot,Banana");
    list->SetDropDown(tf);
    edit->Fields().SetVision(list);
    // The edit entering edit state prepares the pick list's dataset.
    list->InitEdit(edit);
    LogEvents();
    ClearLog();
  }
  // What the host asks the vision as the tool form's user.
  TDataSource* ListSource() const {
    return static_cast<IVisionToolFormUser*>(list)->GetListSource();
  }
  bool Open() const { return tf->IsOpen() && list->OpenToolForm() != nullptr; }
  TStandardVision* list = nullptr;
};

TEST_F(ListDropDownTest, AltDownOpensTheListThroughTheHostAndEscapeClosesIt) {
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(Open());
  EXPECT_EQ(edit->OpenToolForm(), tf);
  EXPECT_EQ(tf->User(), list);
  // The host asks the vision for the list of the edit it serves.
  TDataSource* source = ListSource();
  ASSERT_NE(source, nullptr);
  EXPECT_EQ(source, list->EditDataSource(edit));
  EXPECT_EQ(source->DataSet()->RecordCount(), 3);
  Key(VK_ESCAPE);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(list->OpenToolForm(), nullptr);
  EXPECT_EQ(ListSource(), nullptr);
  EXPECT_TRUE(Logged("tf close"));
}

TEST_F(ListDropDownTest, TheButtonOpensAndReturnOrAClickElsewhereCloses) {
  const TRect b = edit->EditButtonRect();
  const TPoint button = edit->ClientToScreen({b.Left + 4, b.Top + 4});
  Click(button);
  ASSERT_TRUE(Open());
  Key(VK_RETURN);
  EXPECT_FALSE(Open());
  Click(button);
  ASSERT_TRUE(Open());
  Click(other->ClientToScreen({5, 5}));
  EXPECT_FALSE(Open());
  EXPECT_EQ(edit->OpenToolForm(), nullptr);
}

TEST_F(ListDropDownTest, CompletionTellsTheOpenDropDown) {
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(Open());
  ClearLog();
  String text = "ban";
  Integer selEnd = 3, selStart = 3;
  EXPECT_TRUE(list->AutoComplete(edit, text, selEnd, selStart, "ba"));
  EXPECT_EQ(text, "Banana");
  EXPECT_EQ(edit->CurrentValue()->AsString(), "Banana");
  EXPECT_TRUE(Logged("tf current"));
  // The list's cursor sits on the completed value.
  EXPECT_EQ(ListSource()->DataSet()->FieldByName("value")->AsString(), "Banana");
}

TEST_F(ListDropDownTest, AFailedOpeningLeavesNothingOpenAndTheNextOneWorks) {
  TWinControl* designParent = tf->Parent();
  const TRect designBounds = tf->BoundsRect();
  tf->OnShow = TNotifyEvent::FromCallable([](TObject*) { throw EBVError("no content"); });
  EXPECT_THROW(list->ShowDropDown(edit, list->GetDropDown()), EBVError);
  EXPECT_EQ(list->OpenToolForm(), nullptr);
  EXPECT_EQ(ListSource(), nullptr);
  EXPECT_EQ(tf->Parent(), designParent);
  EXPECT_EQ(tf->BoundsRect(), designBounds);
  EXPECT_EQ(tf->Background(), nullptr);
  tf->OnShow = {};
  Key(VK_DOWN, bmAlt);
  EXPECT_TRUE(Open());
  EXPECT_EQ(tf->Parent(), tf->Background());
  Key(VK_ESCAPE);
  EXPECT_EQ(tf->Parent(), designParent);
}

TEST_F(ListDropDownTest, AVisionFreedWhileOpenClosesItsDropDown) {
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(Open());
  edit->Fields().SetVision(nullptr);
  TObject::Free(list);
  Pump();
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(tf->User(), nullptr);
  EXPECT_EQ(edit->OpenToolForm(), nullptr);
}

TEST_F(ListDropDownTest, AFreedToolFormLeavesTheVisionWithoutDropDown) {
  TObject::Free(tf);
  tf = nullptr;
  EXPECT_EQ(list->DropDown(), nullptr);
  Key(VK_DOWN, bmAlt);  // nothing to open, nothing breaks
  EXPECT_EQ(list->OpenToolForm(), nullptr);
}

}  // namespace
}  // namespace brevant::test

namespace brevant::test {
namespace {

class LookupGridTest : public FormsTest {};

// A grid column painted through a v-lookup vision looks its keys up through
// the index: one scan for the first screen, none for the next, one again
// after the lookup table changed.
TEST_F(LookupGridTest, AGridScreenScansTheLookupTableOnceUntilItChanges) {
  listtest::TListData data;
  auto* vision = Create<TVLookupVision>(form);
  TVLookupParams* p = vision->LookupParams();
  p->SetDataSource(data.colorSource.get());
  p->SetKeyField("ID");
  p->SetLookupField("Name");
  auto* grid = Create<TDBTabulon>(form);
  grid->SetParent(form);
  grid->SetBounds(0, 0, 280, 180);
  grid->SetDataSource(data.peopleSource.get());
  grid->Columns()->AddFields(data.people.get());
  grid->Columns()->Items(2)->SetVision(vision);  // ColorID
  form->Show();
  Pump();
  grid->Repaint();
  EXPECT_EQ(p->ScanCount(), 1);
  grid->Repaint();
  EXPECT_EQ(p->ScanCount(), 1);
  data.colors->First();
  data.colors->Edit();
  data.colors->FieldByName("Name")->SetAsString("Lime");
  data.colors->Post();
  grid->Repaint();
  EXPECT_EQ(p->ScanCount(), 2);
  EXPECT_EQ(vision->GetFieldText(grid->Columns()->Items(2)->FieldList(), true), "Green");
  TObject::Free(grid);
}

}  // namespace
}  // namespace brevant::test
