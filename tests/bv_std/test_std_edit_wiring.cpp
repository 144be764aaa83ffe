// The data-aware edit together with the stock visions and the real tool
// form host, driven by real keys on the off-screen backend: spinning,
// switching by key, a pick list's drop-down opening and closing, and typed
// completion that never completes a deletion again.
#include <gtest/gtest.h>

#include "bv/db_edit.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/state_visions.h"
#include "bv_vtf/tool_form.h"
#include "controls/extctrls.h"
#include "controls/forms_test_util.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/mem_dataset.h"
#include "rtl/datetime.h"

namespace brevant::test {
namespace {

class EditWiringTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    Offscreen().SetWorkArea(Offscreen().ScreenRect());
    ds = Create<TMemDataSet>(form);
    ds->FieldDefs()->Add("ID", ftInteger);
    ds->FieldDefs()->Add("Amount", ftFloat);
    ds->FieldDefs()->Add("Flag", ftBoolean);
    ds->FieldDefs()->Add("Fruit", ftString, 10);
    ds->FieldDefs()->Add("At", ftTime);
    ds->AppendRow({1, 2.5, false, "Apple", VarFromDateTime(EncodeTime(10, 30, 0, 0))});
    ds->AppendRow({2, 7.0, true, "Banana", VarFromDateTime(EncodeTime(8, 0, 0, 0))});
    ds->Open();
    src = Create<TDataSource>(form);
    src->SetDataSet(ds);
    other = Create<TDBQuentaEdit>(form);
    other->SetBounds(10, 200, 100, 21);
    other->SetParent(form);
    other->SetDataSource(src);
    other->SetDataField("ID");
  }
  void TearDown() override {
    FormsTest::TearDown();
    Offscreen().SetWorkArea(Offscreen().ScreenRect());
  }
  // A focused edit on field through vision.
  TDBQuentaEdit* Edit(const String& field, TznFieldVision* vision) {
    edit = Create<TDBQuentaEdit>(form);
    edit->SetBounds(10, 10, 120, 21);
    edit->SetParent(form);
    edit->SetVision(vision);
    edit->SetDataSource(src);
    edit->SetDataField(field);
    form->Show();
    edit->SetFocus();
    Pump();
    return edit;
  }
  static void Key(Word vk, Byte mods = 0) {
    Offscreen().PressKey(vk, mods);
    Pump();
  }
  static void Type(const String& s) {
    Offscreen().TypeText(s);
    Pump();
  }
  String Value(const String& field) { return ds->FieldByName(field)->AsString(); }

  TMemDataSet* ds = nullptr;       // ID, Amount, Flag, Fruit; two records
  TDataSource* src = nullptr;      // the edits' source
  TDBQuentaEdit* edit = nullptr;   // the edit under test
  TDBQuentaEdit* other = nullptr;  // takes the focus away
};

TEST_F(EditWiringTest, NumericSpinButtonStepsWithUpAndDownAndPostsOnReturn) {
  auto* vision = Create<TNumericVision>(form);
  vision->SetEnableButton(true);
  vision->SetButtonStyle(pbsSpin);
  vision->SetStep(0.5);
  Edit("Amount", vision);
  Key(VK_UP);
  EXPECT_EQ(edit->EditText(), "3");
  Key(VK_UP);
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_DOWN);
  EXPECT_EQ(edit->EditText(), "2");
  // A spun value counts as typed: Return posts it.
  Key(VK_RETURN);
  EXPECT_EQ(Value("Amount"), "2");
}

// The spin steps the part under the caret and selects it.
TEST_F(EditWiringTest, TimeSpinButtonStepsThePartUnderTheCaret) {
  auto* vision = Create<TTimeVision>(form);
  vision->SetEnableButton(true);
  Edit("At", vision);
  ASSERT_EQ(edit->EditText(), "10:30");
  Key(VK_HOME);
  Key(VK_UP);
  EXPECT_EQ(edit->EditText(), "11:30");
  EXPECT_EQ(edit->SelStart(), 0);
  EXPECT_EQ(edit->SelLength(), 2);
  Key(VK_UP);
  EXPECT_EQ(edit->EditText(), "12:30");
  Key(VK_END);
  Key(VK_DOWN);
  EXPECT_EQ(edit->EditText(), "12:29");
  EXPECT_EQ(edit->SelStart(), 3);
  Key(VK_RETURN);
  EXPECT_EQ(FormatDateTime("hh:mm", ds->FieldByName("At")->AsDateTime()), "12:29");
}

TEST_F(EditWiringTest, CheckBoxSwitchesBySpaceAndPostsOnLeaving) {
  auto* vision = Create<TCheckBoxVision>(form);
  Edit("Flag", vision);
  Key(VK_SPACE);
  other->SetFocus();
  Pump();
  EXPECT_EQ(Value("Flag"), "True");
  edit->SetFocus();
  Pump();
  Key(VK_SPACE);
  Key(VK_RETURN);
  EXPECT_EQ(Value("Flag"), "False");
}

class EditDropDownTest : public EditWiringTest {
 protected:
  void SetUp() override {
    EditWiringTest::SetUp();
    pack = Create<TPanel>(form);
    pack->SetBounds(200, 20, 90, 150);
    pack->SetParent(form);
    tf = Create<TVisionToolForm>(form);
    tf->SetBounds(5, 6, 150, 100);
    tf->SetParent(pack);
    list = Create<TStandardVision>(form);
    list->PickList()->SetCommaText("Apple,Apricot,Banana,Cherry");
    list->SetDropDown(tf);
    Edit("Fruit", list);
  }
  TPanel* pack = nullptr;           // where the tool form is designed
  TVisionToolForm* tf = nullptr;    // the drop-down
  TStandardVision* list = nullptr;  // the pick list
};

TEST_F(EditDropDownTest, AltDownOpensTheRealHostOnTheEdit) {
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  EXPECT_EQ(edit->ToolForm(), tf);
  EXPECT_EQ(edit->OpenToolForm(), tf);
  EXPECT_EQ(tf->EditControl(), edit);
  EXPECT_EQ(list->OpenToolForm(), tf);
  // Alt+Down again closes it accepting.
  Key(VK_DOWN, bmAlt);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(edit->ToolForm(), nullptr);
  EXPECT_EQ(list->OpenToolForm(), nullptr);
}

TEST_F(EditDropDownTest, EscapeClosesWithoutPostingAndReturnClosesPosting) {
  Type("Ch");
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  tf->SetChanged(true);
  Key(VK_ESCAPE);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(edit->ToolForm(), nullptr);
  EXPECT_EQ(Value("Fruit"), "Apple");
  EXPECT_TRUE(edit->Focused());

  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  tf->SetChanged(true);
  Key(VK_RETURN);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(Value("Fruit"), "Cherry");
}

TEST_F(EditDropDownTest, LeavingTheEditClosesTheDropDown) {
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  other->SetFocus();
  Pump();
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(edit->ToolForm(), nullptr);
}

TEST_F(EditDropDownTest, TypingCompletesButBackspaceDoesNotCompleteAgain) {
  // The first character replaces the selected text; the next ones type
  // over the completed tail and go on completing.
  Type("A");
  EXPECT_EQ(edit->EditText(), "A");
  Type("p");
  EXPECT_EQ(edit->EditText(), "Apple");
  Type("r");
  EXPECT_EQ(edit->EditText(), "Apricot");
  EXPECT_EQ(edit->SelStart(), 3);
  EXPECT_EQ(edit->SelLength(), 4);
  // Backspace deletes the completed tail and stays deleted.
  Key(VK_BACK);
  EXPECT_EQ(edit->EditText(), "Apr");
  Key(VK_BACK);
  EXPECT_EQ(edit->EditText(), "Ap");
  Type("r");
  EXPECT_EQ(edit->EditText(), "Apricot");
  Key(VK_RETURN);
  EXPECT_EQ(Value("Fruit"), "Apricot");
}

TEST_F(EditDropDownTest, LeavingTheEditFreesItsListData) {
  Key(VK_DOWN, bmAlt);
  Key(VK_ESCAPE);
  ASSERT_TRUE(edit->FieldList()->HasEditListData());
  other->SetFocus();
  Pump();
  EXPECT_FALSE(edit->FieldList()->HasEditListData());
}

TEST_F(EditDropDownTest, EitherSideGoingWhileOpenLeavesNothingDangling) {
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  TObject::Free(tf);
  tf = nullptr;
  EXPECT_EQ(edit->ToolForm(), nullptr);
  EXPECT_EQ(edit->OpenToolForm(), nullptr);
  // Keys, text changes and leaving no longer reach the freed form.
  Type("B");
  Key(VK_DOWN, bmAlt);
  other->SetFocus();
  Pump();
  EXPECT_EQ(Value("Fruit"), "B");

  tf = Create<TVisionToolForm>(form);
  tf->SetParent(pack);
  list->SetDropDown(tf);
  edit->SetFocus();
  Pump();
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(tf->IsOpen());
  TObject::Free(edit);
  edit = nullptr;
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(tf->EditControl(), nullptr);
}

}  // namespace
}  // namespace brevant::test
