// Check-box and x-state visions: states read from fields, switching by key
// and click through the vision's editor interface, cancelled and refused
// switches, and the x-state collection's rules.
#include <gtest/gtest.h>

#include "backend/codes.h"
#include "bv/field_list.h"
#include "bv_std/state_visions.h"
#include "bv_std/state_visions_xstate.h"
#include "classes/formstream.h"
#include "controls/controls.h"
#include "controls/menus.h"
#include "db/dataset.h"
#include "db/field.h"
#include "rtl/streams.h"
#include "std_vision_test_util.h"

namespace stdtest {
namespace {

class StateTest : public ::testing::Test {
 protected:
  void Bind(TznFieldVision* vision, const String& field, Integer record = 1) {
    data.ds->SetRecNo(record);
    consumer->Fields().SetVision(vision);
    consumer->Attach(data.source.get(), field);
    editor.Load();
    consumer->log.clear();
  }
  // Switches as a click (or the key) does: answers whether it posted.
  bool Switch(TznFieldVision* vision, bool byKey = true) {
    EXPECT_TRUE(vision->CanStartSwitch(&editor));
    return vision->PerformSwitch(&editor, byKey);
  }
  bool Posted() {
    const bool posted =
        std::find(consumer->log.begin(), consumer->log.end(), "posted") != consumer->log.end();
    consumer->log.clear();
    return posted;
  }

  TStdData data;
  TObjectPtr<TStubConsumer> consumer{Create<TStubConsumer>(nullptr)};
  TPaintEditor editor{*consumer};
  TObjectPtr<TCheckBoxVision> box{Create<TCheckBoxVision>(nullptr)};
  TObjectPtr<TXStateVision> xs{Create<TXStateVision>(nullptr)};
};

// ---- check box: states ----

TEST_F(StateTest, CheckBoxStateFollowsTheField) {
  box->SetValueChecked("1");
  box->SetValueUnChecked("0");
  struct Row {
    const char* name;
    const char* field;
    Variant value;
    TcbvState expected;
  };
  const Row rows[] = {
      {"null Boolean shows grayed", "Flag", Null(), cbvGrayed},
      {"true Boolean", "Flag", true, cbvChecked},
      {"false Boolean", "Flag", false, cbvUnChecked},
      {"integer 1 is checked", "Code", 1, cbvChecked},
      {"integer 0 is unchecked", "Code", 0, cbvUnChecked},
      {"integer 2 is grayed", "Code", 2, cbvGrayed},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    data.Set(1, row.field, row.value);
    Bind(box.get(), row.field);
    EXPECT_EQ(box->GetState(&consumer->Fields()), row.expected);
  }
}

TEST_F(StateTest, CheckBoxTextsAreListsComparedIgnoringCase) {
  box->SetValueChecked("Y;Yes");
  box->SetValueUnChecked("N;No");
  data.Set(1, "Word", "yES");
  Bind(box.get(), "Word");
  EXPECT_EQ(box->GetState(&consumer->Fields()), cbvChecked);
  data.Set(1, "Word", "no");
  EXPECT_EQ(box->GetState(&consumer->Fields()), cbvUnChecked);
  data.Set(1, "Word", "maybe");
  EXPECT_EQ(box->GetState(&consumer->Fields()), cbvGrayed);
}

TEST_F(StateTest, ShowNullAsAndOnGetStateDecide) {
  Bind(box.get(), "Flag");
  box->SetShowNullAs(cbvUnChecked);
  EXPECT_EQ(box->GetState(&consumer->Fields()), cbvUnChecked);
  struct TForce {
    void Get(TObject*, TtlFieldList*, TcbvState& state) { state = cbvChecked; }
  } force;
  box->OnGetState = TcbvGetStateEvent::Of<&TForce::Get>(&force);
  EXPECT_EQ(box->GetState(&consumer->Fields()), cbvChecked);
}

TEST_F(StateTest, CheckBoxRefusesBlobFieldsAndNames) {
  Bind(box.get(), "Notes");
  EXPECT_FALSE(consumer->Fields().Active());
  Bind(box.get(), "Flag");
  EXPECT_TRUE(consumer->Fields().Active());
}

// ---- check box: switching ----

TEST_F(StateTest, SpaceSwitchesNullBooleanToChecked) {
  Bind(box.get(), "Flag");
  bool allow = false;
  box->CanSwitchByKey(&editor, VK_SPACE, allow, TShiftState{});
  ASSERT_TRUE(allow);
  EXPECT_TRUE(Switch(box.get()));
  EXPECT_TRUE(Posted());
  EXPECT_TRUE(data.Field("Flag")->AsBoolean());
  EXPECT_FALSE(data.Field("Flag")->IsNull());
}

TEST_F(StateTest, SwitchKeyNeedsSpaceWithoutModifiers) {
  struct Row {
    const char* name;
    Word key;
    TShiftState shift;
    bool allowed;
  };
  const Row rows[] = {
      {"Space", VK_SPACE, {}, true},
      {"Ctrl+Space", VK_SPACE, {ssCtrl}, false},
      {"Shift+Space", VK_SPACE, {ssShift}, false},
      {"Alt+Space", VK_SPACE, {ssAlt}, false},
      {"Return", VK_RETURN, {}, false},
  };
  Bind(box.get(), "Flag");
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    bool allow = !row.allowed;
    box->CanSwitchByKey(&editor, row.key, allow, row.shift);
    EXPECT_EQ(allow, row.allowed);
  }
}

TEST_F(StateTest, ThreeStateCycleWithAllowGrayed) {
  box->SetAllowGrayed(true);
  data.Set(1, "Flag", true);
  Bind(box.get(), "Flag");
  const TcbvState expected[] = {cbvUnChecked, cbvGrayed, cbvChecked, cbvUnChecked};
  for (TcbvState state : expected) {
    EXPECT_TRUE(Switch(box.get(), false));
    editor.Load();
    EXPECT_EQ(box->GetState(&consumer->Fields()), state);
  }
  EXPECT_TRUE(data.Field("Flag")->IsNull() == false);
}

TEST_F(StateTest, WithoutAllowGrayedUncheckedGoesToChecked) {
  data.Set(1, "Flag", false);
  Bind(box.get(), "Flag");
  Switch(box.get());
  EXPECT_TRUE(data.Field("Flag")->AsBoolean());
  Switch(box.get());
  EXPECT_FALSE(data.Field("Flag")->AsBoolean());
  EXPECT_FALSE(data.Field("Flag")->IsNull());
}

TEST_F(StateTest, TextFieldTakesTheFirstTextOfTheState) {
  box->SetValueChecked("Y;Yes");
  box->SetValueUnChecked("N;No");
  data.Set(1, "Word", "no");
  Bind(box.get(), "Word");
  Switch(box.get());
  EXPECT_EQ(data.Field("Word")->AsString(), "Y");
  editor.Load();
  Switch(box.get());
  EXPECT_EQ(data.Field("Word")->AsString(), "N");
}

TEST_F(StateTest, EmptyStateTextWritesNull) {
  box->SetValueChecked("1");
  box->SetValueUnChecked("0");
  box->SetAllowGrayed(true);
  data.Set(1, "Code", 0);
  Bind(box.get(), "Code");
  Switch(box.get());
  EXPECT_TRUE(data.Field("Code")->IsNull());
}

TEST_F(StateTest, OnSetStateMayChangeTheState) {
  struct TToGrayed {
    void Set(TObject*, TtlFieldList*, TcbvState& state, bool&) { state = cbvGrayed; }
  } handler;
  box->OnSetState = TcbvSetStateEvent::Of<&TToGrayed::Set>(&handler);
  data.Set(1, "Flag", true);
  Bind(box.get(), "Flag");
  EXPECT_TRUE(Switch(box.get()));
  EXPECT_TRUE(data.Field("Flag")->IsNull());
}

// A switch the vision cancels is not reported as posted and writes nothing.
TEST_F(StateTest, CancelledSwitchIsNotReportedAsPosted) {
  struct TCancel {
    void Set(TObject*, TtlFieldList*, TcbvState&, bool& doPost) { doPost = false; }
  } cancel;
  box->OnSetState = TcbvSetStateEvent::Of<&TCancel::Set>(&cancel);
  data.Set(1, "Flag", true);
  Bind(box.get(), "Flag");
  EXPECT_FALSE(Switch(box.get()));
  EXPECT_FALSE(Switch(box.get(), false));
  EXPECT_FALSE(Posted());
  EXPECT_TRUE(data.Field("Flag")->AsBoolean());
}

TEST_F(StateTest, ReadOnlyRefusesSwitches) {
  Bind(box.get(), "Flag");
  box->SetReadOnly(true);
  EXPECT_FALSE(box->CanStartSwitch(&editor));
  box->SetReadOnly(false);
  consumer->canModify = false;
  EXPECT_FALSE(box->CanStartSwitch(&editor));
  consumer->canModify = true;
  EXPECT_TRUE(box->CanStartSwitch(&editor));
}

TEST_F(StateTest, CurrentValueWithoutFieldComesFromTheState) {
  struct TChecked {
    void Get(TObject*, TtlFieldList*, TcbvState& state) { state = cbvChecked; }
  } checked;
  box->OnGetState = TcbvGetStateEvent::Of<&TChecked::Get>(&checked);
  consumer->Fields().SetVision(box.get());
  editor.Load();
  EXPECT_EQ(editor.CurrentValue()->DataType(), ftBoolean);
  EXPECT_TRUE(editor.CurrentValue()->AsBoolean());
}

TEST_F(StateTest, CheckBoxSettersRepaintOnlyOnChange) {
  Bind(box.get(), "Flag");
  box->SetBoxStyle(cbv3D);
  box->SetBoxStyle(cbv3D);
  box->SetShowNullAs(cbvChecked);
  box->SetAllowGrayed(true);  // changes no look
  EXPECT_EQ(consumer->Take(), "invalidate, invalidate");
}

// ---- x-state ----

class XStateTest : public StateTest {
 protected:
  TXState* AddState(const String& value, const String& text, bool switchable = true) {
    TXState* s = xs->States()->Add();
    s->SetFieldValue(value);
    s->SetDisplayText(text);
    s->SetSwitchable(switchable);
    return s;
  }
  void SetUp() override {
    xs->SetEnableSwitches(true);
    AddState("A", "Alpha");
    AddState("B", "Beta", false);
    AddState("C", "Gamma");
  }
  String Text() { return xs->GetFieldText(&consumer->Fields(), true); }
};

TEST_F(XStateTest, TextIsTheMatchingStatesDisplayText) {
  data.Set(1, "State", "C");
  Bind(xs.get(), "State");
  EXPECT_EQ(Text(), "Gamma");
  EXPECT_EQ(xs->CurrentState(), 2);
  data.Set(1, "State", "c");  // exact match only
  EXPECT_EQ(Text(), "");
  EXPECT_EQ(xs->CurrentState(), -1);
}

TEST_F(XStateTest, NullFieldFindsTheNullState) {
  Bind(xs.get(), "State");
  EXPECT_EQ(Text(), "");
  AddState("", "Nothing")->SetNullValue(true);
  EXPECT_EQ(Text(), "Nothing");
}

TEST_F(XStateTest, SteppingSkipsStatesThatAreNotSwitchable) {
  data.Set(1, "State", "A");
  Bind(xs.get(), "State");
  EXPECT_TRUE(Switch(xs.get()));
  EXPECT_EQ(data.Field("State")->AsString(), "C");
  EXPECT_TRUE(Switch(xs.get(), false));
  EXPECT_EQ(data.Field("State")->AsString(), "A");
}

TEST_F(XStateTest, NoMatchShowsEmptyAndSwitchesToFirstSwitchable) {
  xs->States()->Items(0)->SetSwitchable(false);
  data.Set(1, "State", "Z");
  Bind(xs.get(), "State");
  EXPECT_EQ(Text(), "");
  EXPECT_TRUE(Switch(xs.get()));
  EXPECT_EQ(data.Field("State")->AsString(), "C");
}

TEST_F(XStateTest, StepToNullStateWritesNull) {
  AddState("", "None")->SetNullValue(true);
  data.Set(1, "State", "C");
  Bind(xs.get(), "State");
  EXPECT_TRUE(Switch(xs.get()));
  EXPECT_TRUE(data.Field("State")->IsNull());
}

// Without a switchable state the switch writes nothing and reports nothing.
TEST_F(XStateTest, NoSwitchableStateIsNotReportedAsPosted) {
  for (Integer i = 0; i < xs->States()->Count(); ++i) xs->States()->Items(i)->SetSwitchable(false);
  data.Set(1, "State", "A");
  Bind(xs.get(), "State");
  EXPECT_FALSE(Switch(xs.get()));
  EXPECT_FALSE(Posted());
  EXPECT_EQ(data.Field("State")->AsString(), "A");
}

TEST_F(XStateTest, SwitchKeyComparesKeyAndShift) {
  Bind(xs.get(), "State");
  struct Row {
    const char* name;
    Word switchKey;
    Word key;
    TShiftState shift;
    bool allowed;
  };
  const Row rows[] = {
      {"Space by default", 32, VK_SPACE, {}, true},
      {"Space with Ctrl differs", 32, VK_SPACE, {ssCtrl}, false},
      {"Ctrl+Return", ShortCut(VK_RETURN, TShiftState{ssCtrl}), VK_RETURN, {ssCtrl}, true},
      {"zero means none", 0, 0, {}, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    xs->SetSwitchKey(row.switchKey);
    bool allow = !row.allowed;
    xs->CanSwitchByKey(&editor, row.key, allow, row.shift);
    EXPECT_EQ(allow, row.allowed);
  }
}

TEST_F(XStateTest, OnlyOneStateStandsForNull) {
  TXState* a = xs->States()->Items(0);
  TXState* c = xs->States()->Items(2);
  a->SetNullValue(true);
  EXPECT_EQ(a->FieldValue(), "");
  c->SetNullValue(true);
  EXPECT_FALSE(a->NullValue());
  EXPECT_TRUE(c->NullValue());
  c->SetFieldValue("C");
  EXPECT_FALSE(c->NullValue());
}

TEST_F(XStateTest, DisplayNames) {
  TXState* empty = AddState("", "");
  TXState* null = AddState("", "None");
  null->SetNullValue(true);
  EXPECT_EQ(empty->DisplayName(), "(Empty)");
  EXPECT_EQ(null->DisplayName(), "NULL: None");
  EXPECT_EQ(xs->States()->Items(0)->DisplayName(), "A: Alpha");
}

TEST_F(XStateTest, SwitchesAndSurfaceGoTogether) {
  EXPECT_EQ(xs->SurfaceKind(), vskCustom);
  xs->SetSurfaceKind(vskEdit);
  EXPECT_FALSE(xs->EnableSwitches());
  EXPECT_TRUE(xs->WantArrows());
  xs->SetEnableSwitches(true);
  EXPECT_EQ(xs->SurfaceKind(), vskCustom);
  EXPECT_FALSE(xs->WantArrows());
}

TEST_F(XStateTest, StateChangesRepaintTheConsumers) {
  Bind(xs.get(), "State");
  xs->States()->Items(0)->SetDisplayText("First");
  xs->States()->Items(0)->SetDisplayText("First");
  EXPECT_EQ(consumer->Take(), "invalidate");
}

TEST_F(XStateTest, AssignCopiesStates) {
  TObjectPtr<TXStateVision> copy(Create<TXStateVision>(nullptr));
  xs->SetSwitchKey(ShortCut(VK_RETURN, TShiftState{ssCtrl}));
  copy->Assign(xs.get());
  ASSERT_EQ(copy->States()->Count(), 3);
  EXPECT_EQ(copy->States()->Items(1)->FieldValue(), "B");
  EXPECT_FALSE(copy->States()->Items(1)->Switchable());
  EXPECT_EQ(copy->SwitchKey(), ShortCut(VK_RETURN, TShiftState{ssCtrl}));
  copy->States()->Items(0)->SetDisplayText("changed");
  EXPECT_EQ(xs->States()->Items(0)->DisplayText(), "Alpha");
}

TEST_F(XStateTest, CurrentValueIsTheFieldTextOrNull) {
  data.Set(1, "State", "B");
  Bind(xs.get(), "State");
  EXPECT_EQ(editor.CurrentValue()->DataType(), ftString);
  EXPECT_EQ(editor.CurrentValue()->AsString(), "B");
  data.Set(1, "State", Null());
  editor.Load();
  EXPECT_TRUE(editor.CurrentValue()->IsNull());
}

// Form streams keep the states and the non-default settings.
TEST_F(XStateTest, StreamRoundTrip) {
  RegisterStateVisionClasses();
  xs->SetName("XS1");
  xs->SetSwitchKey(ShortCut(VK_RETURN, TShiftState{ssCtrl}));
  xs->States()->Items(2)->SetNullValue(true);
  xs->States()->Items(0)->SetImageIndex(4);
  TStringStream text;
  WriteComponentText(text, xs.get());
  text.SetPosition(0);
  TObjectPtr<TComponent> read(ReadNewComponent(text));
  auto* copy = dynamic_cast<TXStateVision*>(read.get());
  ASSERT_NE(copy, nullptr);
  ASSERT_EQ(copy->States()->Count(), 3);
  EXPECT_EQ(copy->States()->Items(0)->ImageIndex(), 4);
  EXPECT_FALSE(copy->States()->Items(1)->Switchable());
  EXPECT_TRUE(copy->States()->Items(2)->NullValue());
  EXPECT_EQ(copy->SwitchKey(), xs->SwitchKey());
  EXPECT_TRUE(copy->EnableSwitches());
  EXPECT_EQ(copy->SurfaceKind(), vskCustom);

  box->SetName("Box1");
  box->SetBoxStyle(cbv3DSoft);
  box->SetValueChecked("Y;Yes");
  box->SetAllowGrayed(true);
  TStringStream boxText;
  WriteComponentText(boxText, box.get());
  boxText.SetPosition(0);
  TObjectPtr<TComponent> boxRead(ReadNewComponent(boxText));
  auto* boxCopy = dynamic_cast<TCheckBoxVision*>(boxRead.get());
  ASSERT_NE(boxCopy, nullptr);
  EXPECT_EQ(boxCopy->BoxStyle(), cbv3DSoft);
  EXPECT_EQ(boxCopy->ValueChecked(), "Y;Yes");
  EXPECT_TRUE(boxCopy->AllowGrayed());
  EXPECT_EQ(boxCopy->ShowNullAs(), cbvGrayed);
}

}  // namespace
}  // namespace stdtest
