// The data-aware edit typed into with real key events: what it shows with
// and without the focus, posting on Return and on leaving, Escape, text
// typed or pasted over a selection, bad input for every field type, masks,
// read-only cases and dataset errors on posting.
#include <gtest/gtest.h>

#include "backend/codes.h"
#include "bv/datalink_ex.h"
#include "bv_rtm/bv_errors.h"
#include "db/dataset.h"
#include "db/field.h"
#include "db/field_types.h"
#include "edit_test_util.h"

namespace brevant::test {
namespace {

TEST_F(EditTest, ShowsDisplayTextUnfocusedAndEditTextFocused) {
  AddEdit("Amount");
  static_cast<TNumericField*>(ds->FieldByName("Amount"))->SetDisplayFormat("0.00");
  AddEdit("Name", Bounds(10, 40, 120, 21));
  Show();
  other->SetFocus();
  Pump();
  EXPECT_FALSE(edit->EditState());
  EXPECT_EQ(edit->Text(), "1.50");
  edit->SetFocus();
  Pump();
  EXPECT_TRUE(edit->EditState());
  EXPECT_EQ(edit->Text(), "1.5");
  EXPECT_EQ(edit->SelLength(), 3);  // all selected on entering
}

TEST_F(EditTest, WithoutFieldTheTextIsEmptyAndTypingIsIgnored) {
  AddEdit("");
  Show();
  ASSERT_TRUE(edit->Focused());
  Type("abc");
  EXPECT_EQ(edit->Text(), "");
  EXPECT_EQ(ds->State(), dsBrowse);
}

TEST_F(EditTest, ReturnPostsTheTypedValueAndSelectsAll) {
  AddEdit("Name");
  Show();
  Key(VK_END);
  Type("x");
  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_EQ(Value("Name"), "R1");
  Key(VK_RETURN);
  EXPECT_EQ(Value("Name"), "R1x");
  EXPECT_EQ(edit->SelLength(), 3);
  EXPECT_FALSE(edit->FieldList()->Editing());
  ds->Post();
  EXPECT_EQ(Value("Name"), "R1x");
}

// Focusing selects all; what is typed then replaces the selection. The
// change must count as typed, or the post drops it silently.
TEST_F(EditTest, TextTypedOverTheSelectionIsPosted) {
  struct Case {
    const char* name;
    Word leave;  // VK_RETURN or VK_TAB
  };
  for (const Case& c : {Case{"return", VK_RETURN}, Case{"tab", VK_TAB}}) {
    SCOPED_TRACE(c.name);
    ds->First();
    AddEdit("ID");
    AddEdit("Name", Bounds(10, 40, 120, 21));
    Show();
    edit->SetFocus();
    Pump();
    ASSERT_EQ(edit->SelLength(), 1);
    Type("5");
    EXPECT_EQ(edit->Text(), "5");
    Key(c.leave);
    EXPECT_EQ(Value("ID"), "5");
    EXPECT_EQ(edit->Text(), "5");
    EXPECT_EQ(HandledMessage(), "");
    ds->Cancel();
    TObject::Free(edit);
    TObject::Free(other);
    edit = other = nullptr;
  }
}

TEST_F(EditTest, TextPastedOverTheSelectionIsPosted) {
  AddEdit("Name");
  Show();
  ASSERT_EQ(edit->SelLength(), 2);
  Offscreen().SetClipboardText("Pasted");
  Key('V', bmCtrl);
  EXPECT_EQ(edit->Text(), "Pasted");
  Key(VK_RETURN);
  EXPECT_EQ(Value("Name"), "Pasted");
}

TEST_F(EditTest, EscapeRestoresTheFieldsValue) {
  AddEdit("Name");
  Show();
  Type("Zed");
  EXPECT_EQ(edit->Text(), "Zed");
  Key(VK_ESCAPE);
  EXPECT_EQ(edit->Text(), "R1");
  EXPECT_EQ(edit->SelLength(), 2);
  EXPECT_FALSE(edit->Value()->TextModified());
  Key(VK_RETURN);  // nothing typed since: nothing posted
  EXPECT_EQ(Value("Name"), "R1");
}

TEST_F(EditTest, LeavingPostsAndMovesTheFocus) {
  AddEdit("Debit");
  AddEdit("Name", Bounds(10, 40, 120, 21));
  Show();
  Type("12.5");
  Key(VK_TAB);
  EXPECT_TRUE(other->Focused());
  EXPECT_FALSE(edit->EditState());
  EXPECT_EQ(ds->FieldByName("Debit")->AsFloat(), 12.5);
}

TEST_F(EditTest, WantReturnsPostsOnCtrlReturnOnly) {
  AddEdit("Name");
  edit->SetWantReturns(true);
  Show();
  Type("Q");
  Key(VK_RETURN, bmCtrl);
  EXPECT_EQ(Value("Name"), "Q");
}

TEST_F(EditTest, ScrollingReloadsTheText) {
  AddEdit("Name");
  Show();
  ds->Next();
  Pump();
  EXPECT_EQ(edit->Text(), "R2");
  ds->Edit();
  ds->FieldByName("Name")->SetAsString("Other");  // a change by code
  Pump();
  EXPECT_EQ(edit->Text(), "Other");
}

// Values typed into each field type: accepted ones reach the field; refused
// ones raise the field's message on leaving, stay in the edit selected, and
// keep the focus there.
TEST_F(EditTest, ValidAndInvalidValuesForEveryFieldType) {
  struct Case {
    const char* field;
    const char* typed;
    const char* stored;  // nullptr: refused
  };
  const Case cases[] = {
      {"ID", "42", "42"},
      {"Amount", "2.25", "2.25"},
      {"Amount", "1..5", nullptr},
      {"Debit", "7", "7"},
      {"Born", "02/29/2004", "02/29/2004"},
      {"Born", "02/30/2004", nullptr},
      {"Name", "Tenletters", "Tenletters"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(String(c.field) + " " + c.typed);
    ClearLog();
    AddEdit(c.field);
    AddEdit("Name", Bounds(10, 40, 120, 21));
    Show();
    edit->SetFocus();
    Pump();
    const String before = Value(c.field);
    Type(c.typed);
    Key(VK_TAB);
    if (c.stored) {
      EXPECT_EQ(Value(c.field), c.stored);
      EXPECT_TRUE(other->Focused());
    } else {
      EXPECT_NE(HandledMessage(), "");
      EXPECT_EQ(Value(c.field), before);
      EXPECT_TRUE(edit->Focused());
      EXPECT_TRUE(edit->EditState());
      EXPECT_EQ(edit->Text(), c.typed);
      EXPECT_EQ(edit->SelText(), c.typed);
    }
    ds->Cancel();
    TObject::Free(other);
    TObject::Free(edit);
    edit = other = nullptr;
  }
}

TEST_F(EditTest, CharactersTheFieldRefusesAreDroppedWithABeep) {
  AddEdit("ID");
  Show();
  const Integer beeps = Offscreen().BeepCount();
  Type("4x2");
  EXPECT_EQ(edit->Text(), "42");
  EXPECT_EQ(Offscreen().BeepCount(), beeps + 1);
}

TEST_F(EditTest, TheNameIsLimitedToTheFieldSize) {
  AddEdit("Name");
  Show();
  Type("abcdefghijKL");
  EXPECT_EQ(edit->Text(), "abcdefghij");
}

TEST_F(EditTest, AnIncompleteMaskIsRefusedWithInvalidInputText) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  vision->SetEditMask("00-00;1;_");
  AddEdit("Name");
  AddEdit("ID", Bounds(10, 40, 120, 21));
  edit->SetVision(vision.get());
  Show();
  edit->SetFocus();
  Pump();
  Type("12");
  EXPECT_EQ(edit->EditText(), "12-__");
  Key(VK_TAB);
  EXPECT_EQ(HandledMessage(), "Invalid input text");
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(Value("Name"), "R1");
  EXPECT_EQ(edit->SelLength(), 5);
  Type("1234");
  Key(VK_TAB);
  EXPECT_EQ(Value("Name"), "12-34");
  EXPECT_TRUE(other->Focused());
  edit->SetVision(nullptr);
}

TEST_F(EditTest, ReadOnlyShowsDisplayTextAndNeverPosts) {
  struct Case {
    const char* name;
    bool control;  // the edit's ReadOnly, else the dataset's field
  };
  for (const Case& c : {Case{"control", true}, Case{"field", false}}) {
    SCOPED_TRACE(c.name);
    AddEdit("Amount");
    static_cast<TNumericField*>(ds->FieldByName("Amount"))->SetDisplayFormat("0.00");
    if (c.control)
      edit->SetReadOnly(true);
    else
      ds->FieldByName("Amount")->SetReadOnly(true);
    Show();
    edit->SetFocus();
    Pump();
    if (c.control) {
      EXPECT_EQ(edit->Text(), "1.50");
    }
    Type("9");
    Key(VK_RETURN);
    Key(VK_ESCAPE);
    EXPECT_EQ(ds->State(), dsBrowse);
    EXPECT_EQ(Value("Amount"), "1.5");
    ds->FieldByName("Amount")->SetReadOnly(false);
    TObject::Free(edit);
    edit = nullptr;
  }
}

TEST_F(EditTest, BeforePostThatRaisesKeepsTheTextAndTheFocus) {
  TObjectPtr<TznFieldVision> vision(Create<TznFieldVision>(nullptr));
  vision->BeforePost = TfvBeforePostEvent::FromCallable(
      [](TObject*, TtlFieldList*, TtlFieldValue*, bool&) { throw EBVError("No way"); });
  AddEdit("Name");
  AddEdit("ID", Bounds(10, 40, 120, 21));
  edit->SetVision(vision.get());
  Show();
  edit->SetFocus();
  Pump();
  Type("New");
  Key(VK_TAB);
  EXPECT_EQ(HandledMessage(), "No way");
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->Text(), "New");
  EXPECT_TRUE(edit->FieldList()->Editing());
  EXPECT_EQ(Value("Name"), "R1");
  edit->SetVision(nullptr);
}

TEST_F(EditTest, DatasetBeforePostThatRaisesLeavesTheRecordEditing) {
  ds->BeforePost = TDataSetNotifyEvent::FromCallable(
      [](TDataSet*) { throw EDatabaseError("Refused by the table"); });
  AddEdit("Name");
  Show();
  Type("Kept");
  Key(VK_RETURN);
  EXPECT_THROW(ds->Post(), EDatabaseError);
  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_EQ(edit->Text(), "Kept");
  EXPECT_EQ(Value("Name"), "Kept");
  ds->BeforePost = {};
  ds->Cancel();
}

TEST_F(EditTest, DataLinkUpdatePostsTheEditBeforeTheRecordIsPosted) {
  AddEdit("Name");
  Show();
  Type("Linked");
  ds->Post();  // the link's update request posts the typed text first
  EXPECT_EQ(Value("Name"), "Linked");
  EXPECT_EQ(ds->State(), dsBrowse);
}

TEST_F(EditTest, SetEditTextMarksTheValueTypedInto) {
  AddEdit("ID");
  EXPECT_FALSE(edit->SetEditText("9", true));  // not in edit state
  Show();
  EXPECT_TRUE(edit->SetEditText("9", true));
  EXPECT_EQ(edit->Text(), "9");
  EXPECT_TRUE(edit->Value()->TextModified());
  EXPECT_EQ(edit->SelLength(), 1);
  Key(VK_RETURN);
  EXPECT_EQ(Value("ID"), "9");
}

}  // namespace
}  // namespace brevant::test
