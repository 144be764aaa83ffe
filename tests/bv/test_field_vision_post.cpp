// Editing through a vision: starting an edit, posting typed and set values,
// the order of the post's events, failed posts that keep the edit, button
// actions with drop-downs, and switches.
#include <gtest/gtest.h>

#include "db/dataset.h"
#include "db/field.h"
#include "error_text.h"
#include "vision_test_util.h"

namespace visiontest {
namespace {

using brevant::test::ErrorOf;

// An edit control on field name of the accounts, through its own vision;
// the events of a post land in events.
class VisionPost : public ::testing::Test {
 protected:
  void SetUp() override { Open("Name"); }
  void Open(const String& field) {
    editor.reset();
    consumer.reset(Create<TStubConsumer>(nullptr));
    vision.reset(Create<TznFieldVision>(nullptr));
    consumer->Fields().SetVision(vision.get());
    consumer->Attach(data.source.get(), field);
    consumer->onPosted = [this] { events.push_back("posted"); };
    editor = std::make_unique<TStubEditor>(*consumer);
    editor->Load();
    editor->text = editor->CurrentValue()->AsString();
    consumer->Take();
  }
  TtlFieldList& List() { return consumer->Fields(); }
  // Logs BeforePost (with the value) and AfterPost.
  void WatchPost() {
    vision->BeforePost = TfvBeforePostEvent::FromCallable(
        [this](TObject*, TtlFieldList*, TtlFieldValue* value, bool&) {
          events.push_back("before " + value->AsString());
        });
    vision->AfterPost = TfvNotifyEvent::FromCallable(
        [this](TObject*, TtlFieldList*) { events.push_back("after"); });
  }
  String Value(const String& field) { return data.Field(field)->AsString(); }

  TAccounts data;
  TObjectPtr<TStubConsumer> consumer;
  TObjectPtr<TznFieldVision> vision;
  std::unique_ptr<TStubEditor> editor;
  std::vector<String> events;
};

using Events = std::vector<String>;

TEST_F(VisionPost, StartEditPutsTheDatasetIntoEditState) {
  EXPECT_TRUE(List().StartEdit(true));
  EXPECT_EQ(data.ds->State(), dsEdit);
  EXPECT_TRUE(List().Editing());
  EXPECT_EQ(consumer->Take(), "started");
  // Already editing: no second start.
  EXPECT_TRUE(List().StartEdit(true));
  EXPECT_EQ(consumer->Take(), "");
}

TEST_F(VisionPost, StartEditRefusals) {
  vision->BeforeEdit = TfvBeforeEditEvent::FromCallable(
      [](TObject*, TtlFieldList*, bool& doEdit) { doEdit = false; });
  EXPECT_FALSE(List().StartEdit(true));
  EXPECT_EQ(data.ds->State(), dsBrowse);
  vision->BeforeEdit = nullptr;
  vision->SetReadOnly(true);
  EXPECT_FALSE(List().Edit());
  vision->SetReadOnly(false);
  consumer->Attach(data.source.get(), "Nope");
  EXPECT_FALSE(List().Edit());
  EXPECT_FALSE(List().Editing());
  EXPECT_EQ(consumer->Take(), "");
}

TEST_F(VisionPost, StartEditWithoutEditDataSetLeavesTheDatasetBrowsing) {
  vision->SetOptionsSwitch(TfvSwitchOptions{});
  EXPECT_TRUE(List().Edit());
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_FALSE(List().Editing());
  EXPECT_EQ(consumer->Take(), "started");
}

TEST_F(VisionPost, NothingTypedPostsNothing) {
  WatchPost();
  EXPECT_FALSE(vision->PostEdit(editor.get(), true));
  EXPECT_EQ(events, Events{});
  EXPECT_EQ(data.ds->State(), dsBrowse);
  EXPECT_EQ(editor->Take(), "discard, release, select");
  // Editing, yet the text was never typed into: still nothing.
  List().StartEdit(true);
  EXPECT_FALSE(vision->PostEdit(editor.get(), false));
  EXPECT_EQ(events, Events{});
  EXPECT_EQ(Value("Name"), "R1");
}

TEST_F(VisionPost, TypedTextIsPostedWithItsEventsInOrder) {
  WatchPost();
  List().StartEdit(true);
  editor->Type("Zed");
  EXPECT_TRUE(vision->PostEdit(editor.get(), true));
  EXPECT_EQ(events, (Events{"before Zed", "after", "posted"}));
  EXPECT_EQ(Value("Name"), "Zed");
  EXPECT_FALSE(List().Editing());
  EXPECT_EQ(List().UpdateCount(), 0);
  EXPECT_EQ(editor->Take(), "discard, release, select");
}

TEST_F(VisionPost, TextTypedOverASelectionIsPosted) {
  // Select all, type "5", Return: the replacing keystroke counts as typing
  // even where the editor suppresses completion for it.
  Open("Amount");
  List().StartEdit(true);
  editor->Type("5");
  EXPECT_TRUE(editor->CurrentValue()->TextModified());
  EXPECT_EQ(editor->CurrentValue()->PreviousText(), "1.5");
  EXPECT_TRUE(vision->PostEdit(editor.get(), true));
  EXPECT_EQ(data.Field("Amount")->AsFloat(), 5.0);
  EXPECT_EQ(events, Events{"posted"});
}

TEST_F(VisionPost, ValueSetByCodeStartsTheEditAndIsPostedAsItIs) {
  WatchPost();
  editor->CurrentValue()->SetAsString("R9");
  ASSERT_TRUE(editor->CurrentValue()->Modified());
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_EQ(Value("Name"), "R9");
  EXPECT_EQ(data.ds->State(), dsEdit);
  EXPECT_EQ(consumer->Take(), "started, posted");
  EXPECT_EQ(events, (Events{"before R9", "after", "posted"}));
}

TEST_F(VisionPost, NullValueClearsTheField) {
  editor->CurrentValue()->Clear();
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_TRUE(data.Field("Name")->IsNull());
}

TEST_F(VisionPost, CustomSurfacePostsTheCurrentValue) {
  vision->SetSurfaceKind(vskCustom);
  List().StartEdit(true);
  editor->CurrentValue()->SetAsString("Custom");
  editor->CurrentValue()->SetModified(false);
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_EQ(Value("Name"), "Custom");
}

TEST_F(VisionPost, BeforePostTakingTheValueSkipsTheWriteOnly) {
  WatchPost();
  vision->BeforePost = TfvBeforePostEvent::FromCallable(
      [this](TObject*, TtlFieldList*, TtlFieldValue*, bool& posted) {
        events.push_back("taken");
        posted = true;
      });
  List().StartEdit(true);
  editor->Type("Mine");
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_EQ(Value("Name"), "R1");
  EXPECT_EQ(events, (Events{"taken", "after", "posted"}));
}

TEST_F(VisionPost, WithoutEditDataSetABrowsingDatasetEntersEditThroughTheLink) {
  vision->SetOptionsSwitch(TfvSwitchOptions{});
  List().StartEdit(true);
  ASSERT_EQ(data.ds->State(), dsBrowse);
  editor->Type("Free");
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_EQ(Value("Name"), "Free");
  EXPECT_EQ(data.ds->State(), dsEdit);
  EXPECT_EQ(events, Events{"posted"});
}

TEST_F(VisionPost, DatasetThatRefusesEditStateFailsThePostLoudly) {
  vision->SetOptionsSwitch(TfvSwitchOptions{});
  data.source->SetAutoEdit(false);
  List().StartEdit(true);
  editor->Type("Lost?");
  EXPECT_EQ(ErrorOf([&] { vision->PostEdit(editor.get(), true); }),
            "EDatabaseError: Dataset not in edit or insert mode");
  EXPECT_TRUE(List().Editing());
  EXPECT_EQ(editor->text, "Lost?");
  EXPECT_EQ(events, Events{});
  EXPECT_EQ(List().UpdateCount(), 0);
  EXPECT_EQ(editor->Take(), "discard, release, select");
}

TEST_F(VisionPost, RaisingBeforePostKeepsTheEditForALaterTry) {
  vision->BeforePost = TfvBeforePostEvent::FromCallable(
      [](TObject*, TtlFieldList*, TtlFieldValue*, bool&) { throw EDatabaseError("refused"); });
  List().StartEdit(true);
  editor->Type("Again");
  EXPECT_EQ(ErrorOf([&] { vision->PostEdit(editor.get(), false); }), "EDatabaseError: refused");
  EXPECT_TRUE(List().Editing());
  EXPECT_EQ(Value("Name"), "R1");
  EXPECT_EQ(events, Events{});
  EXPECT_EQ(List().UpdateCount(), 0);
  vision->BeforePost = nullptr;
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_EQ(Value("Name"), "Again");
  EXPECT_EQ(events, Events{"posted"});
}

TEST_F(VisionPost, ValueTheFieldRefusesKeepsTheEdit) {
  Open("Amount");
  WatchPost();
  List().StartEdit(true);
  editor->Type("abc");
  EXPECT_NE(ErrorOf([&] { vision->PostEdit(editor.get(), false); }), "no error");
  EXPECT_TRUE(List().Editing());
  EXPECT_EQ(data.Field("Amount")->AsFloat(), 1.5);
  EXPECT_EQ(events, Events{"before abc"});
  EXPECT_EQ(editor->text, "abc");
}

TEST_F(VisionPost, InvalidMaskedTextWritesNothing) {
  WatchPost();
  List().StartEdit(true);
  editor->Type("1-");
  editor->masked = true;
  editor->maskValid = false;
  EXPECT_EQ(ErrorOf([&] { vision->PostEdit(editor.get(), true); }), "EBVError: Invalid input text");
  EXPECT_EQ(Value("Name"), "R1");
  EXPECT_EQ(events, Events{});
  EXPECT_EQ(List().UpdateCount(), 0);
  EXPECT_EQ(editor->Take(), "discard, release, select");
}

TEST_F(VisionPost, OpenDropDownIsClosedWithoutItsChanges) {
  editor->droppedDown = true;
  vision->PostEdit(editor.get(), false);
  EXPECT_EQ(editor->Take(), "discard, release, close discard");
}

TEST_F(VisionPost, InsideAnOuterUpdateThePostIsReportedAtItsEnd) {
  List().BeginUpdate();
  List().StartEdit(true);
  editor->Type("Outer");
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_EQ(events, Events{});
  List().EndUpdate(true);
  EXPECT_EQ(events, Events{"posted"});
}

TEST_F(VisionPost, TwoEditorsOnOneFieldTheLastPostWins) {
  TObjectPtr<TStubConsumer> second(Create<TStubConsumer>(nullptr));
  second->Fields().SetVision(vision.get());
  second->Attach(data.source.get(), "Name");
  TStubEditor other(*second);
  other.Load();
  second->Take();
  List().StartEdit(true);
  second->Fields().StartEdit(true);
  editor->Type("First");
  other.Type("Second");
  EXPECT_TRUE(vision->PostEdit(editor.get(), false));
  EXPECT_TRUE(vision->PostEdit(&other, false));
  EXPECT_EQ(Value("Name"), "Second");
  EXPECT_EQ(second->Take(), "started, posted");
}

TEST_F(VisionPost, PostOrMoveInAGridLeavesItToTheGrid) {
  List().StartEdit(true);
  editor->Type("Grid");
  editor->inGrid = true;
  EXPECT_TRUE(vision->PostOrMove(editor.get(), false));
  EXPECT_EQ(editor->Take(), "grid post");
  EXPECT_EQ(Value("Name"), "R1");
  editor->inGrid = false;
  EXPECT_TRUE(vision->PostOrMove(editor.get(), false));
  EXPECT_EQ(Value("Name"), "Grid");
}

TEST_F(VisionPost, LoadCurrentValueHoldsTheEditTextUnmodified) {
  std::vector<bool> asked;
  Open("Debit");
  vision->OnGetText = TfvGetTextEvent::FromCallable(
      [&](TObject*, TtlFieldList*, bool display, String&) { asked.push_back(display); });
  editor->Type("typed");
  editor->CurrentValue()->SetAsInteger(3);
  editor->Load();
  TfvCurrentValue* value = editor->CurrentValue();
  EXPECT_EQ(value->DataType(), ftString);
  EXPECT_EQ(value->AsString(), "1.00");
  EXPECT_FALSE(value->Modified());
  EXPECT_FALSE(value->TextModified());
  EXPECT_EQ(asked, std::vector<bool>{false});
}

TEST_F(VisionPost, InitEditFiresWithTheEditorsList) {
  TtlFieldList* seen = nullptr;
  vision->OnInitEdit =
      TfvNotifyEvent::FromCallable([&](TObject*, TtlFieldList* fields) { seen = fields; });
  vision->InitEdit(editor.get());
  EXPECT_EQ(seen, &List());
}

// ---- button actions ----

struct ButtonCase {
  const char* name;
  TznButtonStyle style;
  bool enableDropDown;
  bool droppedDown;
  Integer kind;
  Integer kindSeen;
  const char* editorLog;
};

class VisionButton : public VisionPost, public ::testing::WithParamInterface<ButtonCase> {};

TEST_P(VisionButton, DispatchesByStyleAndKind) {
  const ButtonCase& c = GetParam();
  vision->SetButtonStyle(c.style);
  vision->SetEnableDropDown(c.enableDropDown);
  editor->droppedDown = c.droppedDown;
  Integer kindSeen = -1;
  vision->OnButtonClick = TfvNotifyEvent::FromCallable(
      [&](TObject*, TtlFieldList*) { kindSeen = vision->ButtonKind(); });
  vision->ButtonAction(editor.get(), c.kind);
  EXPECT_EQ(kindSeen, c.kindSeen);
  EXPECT_EQ(editor->Take(), c.editorLog);
  EXPECT_EQ(vision->ButtonKind(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VisionButton,
    ::testing::Values(
        ButtonCase{"DropDownOpens", pbsDropDown, true, false, bkMouse, bkDropDown, "open"},
        ButtonCase{"MouseClosesWithoutAccepting", pbsDropDown, true, true, bkMouse, bkDropDown,
                   "close discard"},
        ButtonCase{"KeyboardClosesAccepting", pbsDropDown, true, true, bkKeyboard, bkDropDown,
                   "close accept"},
        ButtonCase{"DropDownDisabled", pbsDropDown, false, false, bkMouse, bkMouse, ""},
        ButtonCase{"Ellipsis", pbsEllipsis, true, false, bkKeyboard, bkKeyboard, ""},
        ButtonCase{"SpinLowerHalf", pbsSpin, false, false, bkMouseDown, bkMouseDown, ""}),
    [](const auto& info) { return String(info.param.name); });

TEST_F(VisionPost, ButtonKindIsClearedWhenTheHandlerRaises) {
  vision->OnButtonClick =
      TfvNotifyEvent::FromCallable([](TObject*, TtlFieldList*) { throw EDatabaseError("no"); });
  EXPECT_NE(ErrorOf([&] { vision->ButtonAction(editor.get(), bkMouse); }), "no error");
  EXPECT_EQ(vision->ButtonKind(), 0);
}

// ---- switches ----

// A vision that switches Name to "On", or finds nothing to switch.
class TToggleVision : public TznFieldVision {
  BV_CLASS(TToggleVision, TznFieldVision)
 public:
  using TznFieldVision::TznFieldVision;
  bool found = true;
  void SwitchByKey(IznVisionEditor* editor, bool& posted) override {
    if (!found) {
      posted = false;
      return;
    }
    editor->CurrentValue()->SetAsString("On");
    posted = PostEdit(editor, false);
  }
};
BV_IMPLEMENT_CLASS(TToggleVision, TznFieldVision)

TEST_F(VisionPost, SwitchThatFindsNothingIsNotAPost) {
  vision->SetEnableSwitches(true);
  EXPECT_TRUE(vision->CanStartSwitch(editor.get()));
  EXPECT_FALSE(vision->PerformSwitch(editor.get(), true));
  EXPECT_FALSE(vision->PerformSwitch(editor.get(), false));
  EXPECT_EQ(events, Events{});
  EXPECT_EQ(editor->Take(), "repaint, repaint");
  EXPECT_EQ(List().UpdateCount(), 0);
}

TEST_F(VisionPost, SwitchPostsOnceWhenTheKindSwitches) {
  TObjectPtr<TToggleVision> toggle(Create<TToggleVision>(nullptr));
  List().SetVision(toggle.get());
  toggle->SetEnableSwitches(true);
  EXPECT_TRUE(toggle->PerformSwitch(editor.get(), true));
  EXPECT_EQ(Value("Name"), "On");
  EXPECT_EQ(events, Events{"posted"});
  toggle->found = false;
  events.clear();
  EXPECT_FALSE(toggle->PerformSwitch(editor.get(), true));
  EXPECT_EQ(events, Events{});
}

TEST_F(VisionPost, SwitchConditions) {
  EXPECT_FALSE(vision->CanStartSwitch(editor.get()));
  vision->SetEnableSwitches(true);
  vision->SetOptionsSwitch(TfvSwitchOptions{vsoEditDataSet, vsoNeedEditing});
  EXPECT_FALSE(vision->CanStartSwitch(editor.get()));
  data.ds->Edit();
  EXPECT_TRUE(vision->CanStartSwitch(editor.get()));
  consumer->canModify = false;
  EXPECT_FALSE(vision->CanStartSwitch(editor.get()));
  consumer->canModify = true;
  EXPECT_FALSE(vision->PerformSwitch(editor.get(), true));
  // A switch that cannot start an edit does not run at all.
  vision->SetReadOnly(true);
  editor->Take();
  EXPECT_FALSE(vision->PerformSwitch(editor.get(), true));
  EXPECT_EQ(editor->Take(), "");
}

// Handlers that free the editor's owner in the middle of a post.
TEST_F(VisionPost, AfterPostFreeingTheEditorEndsThePostQuietly) {
  vision->AfterPost = TfvNotifyEvent::FromCallable([this](TObject*, TtlFieldList*) {
    events.push_back("after");
    consumer.reset();
  });
  List().StartEdit(true);
  editor->Type("Gone");
  EXPECT_TRUE(vision->PostEdit(editor.get(), true));
  EXPECT_EQ(Value("Name"), "Gone");
  EXPECT_EQ(events, Events{"after"});
  EXPECT_EQ(vision->FieldListCount(), 0);
}

TEST_F(VisionPost, BeforePostFreeingTheEditorWritesNothing) {
  vision->BeforePost = TfvBeforePostEvent::FromCallable(
      [this](TObject*, TtlFieldList*, TtlFieldValue*, bool&) { consumer.reset(); });
  List().StartEdit(true);
  editor->Type("Gone");
  EXPECT_FALSE(vision->PostEdit(editor.get(), true));
  EXPECT_EQ(Value("Name"), "R1");
}

TEST_F(VisionPost, BeforeEditFreeingTheEditorStartsNothing) {
  vision->BeforeEdit = TfvBeforeEditEvent::FromCallable(
      [this](TObject*, TtlFieldList*, bool&) { consumer.reset(); });
  editor->CurrentValue()->SetAsString("R7");
  EXPECT_FALSE(vision->PostEdit(editor.get(), true));
  EXPECT_EQ(Value("Name"), "R1");
  EXPECT_EQ(data.ds->State(), dsBrowse);
}

TEST_F(VisionPost, ButtonHandlerFreeingTheEditorOpensNothing) {
  vision->SetEnableDropDown(true);
  vision->OnButtonClick =
      TfvNotifyEvent::FromCallable([this](TObject*, TtlFieldList*) { consumer.reset(); });
  vision->ButtonAction(editor.get(), bkMouse);
  EXPECT_EQ(editor->Take(), "");
  EXPECT_EQ(vision->ButtonKind(), 0);
}

TEST_F(VisionPost, TooLongTextIsRefusedAndKeepsTheEdit) {
  List().StartEdit(true);
  editor->Type(String(1000, 'x'));
  EXPECT_EQ(ErrorOf([&] { vision->PostEdit(editor.get(), false); }),
            "EDatabaseError: Value of 1000 bytes is too long for field 'Name' (at most 10)");
  EXPECT_EQ(Value("Name"), "R1");
  EXPECT_TRUE(List().Editing());
  EXPECT_EQ(editor->text.size(), 1000u);
}

// A vision that refuses to read the editor (nothing valid was typed).
class TRefusingVision : public TznFieldVision {
  BV_CLASS(TRefusingVision, TznFieldVision)
 public:
  using TznFieldVision::TznFieldVision;
  void ReadEditValue(IznVisionEditor*, TznUniValue&, bool& skip) override { skip = true; }
};
BV_IMPLEMENT_CLASS(TRefusingVision, TznFieldVision)

TEST_F(VisionPost, PostTheVisionCancelsIsNotReported) {
  TObjectPtr<TRefusingVision> refusing(Create<TRefusingVision>(nullptr));
  List().SetVision(refusing.get());
  refusing->BeforePost = TfvBeforePostEvent::FromCallable(
      [this](TObject*, TtlFieldList*, TtlFieldValue*, bool&) { events.push_back("before"); });
  List().StartEdit(true);
  editor->Type("ignored");
  EXPECT_FALSE(refusing->PostEdit(editor.get(), false));
  EXPECT_EQ(events, Events{});
  EXPECT_EQ(Value("Name"), "R1");
  EXPECT_TRUE(List().Editing());
}

}  // namespace
}  // namespace visiontest
