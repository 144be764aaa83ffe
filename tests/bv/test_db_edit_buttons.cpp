// The edit's buttons pressed by mouse and keyboard (spin halves with
// auto-repeat under the virtual clock, drop-down, ellipsis), drop-down
// requests and tool forms, and the clipboard keys of a custom surface.
#include <gtest/gtest.h>

#include "backend/codes.h"
#include "bv/db_edit_switchers.h"
#include "bv_rtm/switcher.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "db/field.h"
#include "edit_test_util.h"
#include "graphics/bitmap.h"

namespace brevant::test {
namespace {

class EditButtonTest : public ButtonEditTest {
 protected:
  // A point in the button strip: top half, bottom half or middle.
  TPoint Strip(Integer where) {
    const TRect r = edit->ButtonRect();
    const Integer x = (r.Left + r.Right) / 2;
    const Integer y = where < 0 ? r.Top + 2 : where > 0 ? r.Bottom - 3 : (r.Top + r.Bottom) / 2;
    return At(edit, x, y);
  }
  static void Tick(Integer n = 1) {
    for (Integer i = 0; i < n; ++i) {
      Offscreen().Advance(TznSwitcher::RepeatInterval);
      Pump();
    }
  }
  String LinkLog() {
    String s;
    for (const String& e : link.log) s += (s.empty() ? "" : ", ") + e;
    link.log.clear();
    return s;
  }
};

TEST_F(EditButtonTest, TheStripLiesRightOfTheClientArea) {
  Build(pbsSpin);
  EXPECT_EQ(edit->ButtonWidth(), GetSystemMetrics(SM_CXVSCROLL));
  const TRect r = edit->ButtonRect();
  EXPECT_EQ(r.Left, edit->ClientWidth());
  EXPECT_EQ(r.Width(), edit->ButtonWidth());
  EXPECT_EQ(edit->ClientWidth() + edit->ButtonWidth(), 120 - 4);  // sunken edge 2 + 2
  vision->SetEnableButton(false);
  EXPECT_EQ(edit->ButtonWidth(), 0);
  EXPECT_EQ(edit->ClientWidth(), 116);
}

TEST_F(EditButtonTest, SpinHalvesPressedByMouse) {
  Build(pbsSpin);
  other->SetFocus();
  Pump();
  Offscreen().Click(Strip(-1));
  Pump();
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(vision->Take(), "click 1");
  Offscreen().Click(Strip(1));
  Pump();
  EXPECT_EQ(vision->Take(), "click 3");
}

TEST_F(EditButtonTest, AHeldSpinHalfRepeatsOnTheSwitchersSchedule) {
  Build(pbsSpin);
  Offscreen().MouseDown(Strip(1));
  Pump();
  EXPECT_TRUE(edit->ButtonSwitcher()->Pressed());
  EXPECT_EQ(edit->ButtonSwitcher()->Part(), epSpinDown);
  Tick(9);  // ticks 0..8
  EXPECT_EQ(vision->Take(), "");
  Tick();  // tick 9 fires
  EXPECT_EQ(vision->Take(), "click 3");
  Tick(3);  // tick 12 fires
  EXPECT_EQ(vision->Take(), "click 3");
  // Outside the half nothing fires and nothing is counted.
  Offscreen().MouseMove(Strip(-1));
  Pump();
  Tick(5);
  EXPECT_EQ(vision->Take(), "");
  Offscreen().MouseMove(Strip(1));
  Offscreen().MouseUp(Strip(1));
  Pump();
  EXPECT_EQ(vision->Take(), "click 3");  // once more on release inside
  EXPECT_FALSE(edit->ButtonSwitcher()->Pressed());
  Tick(20);
  EXPECT_EQ(vision->Take(), "");
}

TEST_F(EditButtonTest, ReleasingOutsideThePartDoesNotFire) {
  Build(pbsEllipsis);
  Offscreen().MouseDown(Strip(0));
  Pump();
  Offscreen().MouseMove(At(edit, 5, 5));
  Offscreen().MouseUp(At(edit, 5, 5));
  Pump();
  EXPECT_EQ(vision->Take(), "");
  Offscreen().Click(Strip(0));
  Pump();
  EXPECT_EQ(vision->Take(), "click 1");
}

TEST_F(EditButtonTest, ArrowKeysStepASpin) {
  Build(pbsSpin);
  Key(VK_UP);
  Key(VK_DOWN);
  EXPECT_EQ(vision->Take(), "click 2, click 4");
  // A held key repeats through the keyboard's own repeat.
  Offscreen().KeyDown(VK_UP);
  Offscreen().KeyDown(VK_UP, 0, true);
  Offscreen().KeyDown(VK_UP, 0, true);
  Offscreen().KeyUp(VK_UP);
  Pump();
  EXPECT_EQ(vision->Take(), "click 2, click 2, click 2");
}

TEST_F(EditButtonTest, CtrlReturnPressesAnEllipsisInsteadOfPosting) {
  Build(pbsEllipsis);
  Type("New");
  Key(VK_RETURN, bmCtrl);
  EXPECT_EQ(vision->Take(), "click 2");
  EXPECT_EQ(Value("Name"), "R1");
  Key(VK_RETURN);
  EXPECT_EQ(Value("Name"), "New");
}

TEST_F(EditButtonTest, ACustomGlyphWidensTheStripAndPressesLikeAnEllipsis) {
  Build(pbsCustom);
  TObjectPtr<TBitmap> glyph(Create<TBitmap>());
  glyph->SetSize(30, 10);
  vision->SetButtonGlyph(glyph.get());
  EXPECT_EQ(vision->ButtonStyle(), pbsCustom);
  EXPECT_EQ(edit->ButtonWidth(), 34);
  Offscreen().Click(Strip(0));
  Pump();
  Key(VK_RETURN, bmCtrl);
  EXPECT_EQ(vision->Take(), "click 1, click 2");
}

TEST_F(EditButtonTest, ADropDownButtonOpensAtPressAndClosesDiscarding) {
  Build(pbsDropDown, true);
  Offscreen().MouseDown(Strip(0));
  Pump();
  EXPECT_EQ(vision->Take(), "click 6, show");
  EXPECT_EQ(edit->ToolForm(), FakeToolForm());
  Offscreen().MouseUp(Strip(0));
  Pump();
  EXPECT_EQ(vision->Take(), "");  // fired at press, not again
  Offscreen().Click(Strip(0));
  Pump();
  EXPECT_EQ(vision->Take(), "click 6");
  EXPECT_EQ(LinkLog(), "close discard");
  EXPECT_EQ(edit->ToolForm(), nullptr);
}

TEST_F(EditButtonTest, AltDownOpensADropDownAndClosesItAccepting) {
  Build(pbsDropDown, true);
  Key(VK_DOWN, bmAlt);
  EXPECT_EQ(vision->Take(), "click 6, show");
  Key(VK_DOWN, bmAlt);
  EXPECT_EQ(LinkLog(), "close accept");
  EXPECT_EQ(edit->ToolForm(), nullptr);
}

// With a tool form open on a spin-style edit, Alt+Down closes it accepting
// and steps nothing.
TEST_F(EditButtonTest, AltDownClosesAnOpenToolFormWhateverTheButton) {
  for (TznButtonStyle style : {pbsSpin, pbsEllipsis, pbsCustom}) {
    SCOPED_TRACE(Integer(style));
    Build(style);
    link.Open(edit);
    Key(VK_DOWN, bmAlt);
    EXPECT_EQ(LinkLog(), "close accept");
    EXPECT_EQ(vision->Take(), "");
    EXPECT_EQ(edit->ToolForm(), nullptr);
    edit->SetVision(nullptr);
    TObject::Free(edit);
    TObject::Free(other);
    edit = other = nullptr;
  }
}

TEST_F(EditButtonTest, AltDownAsksForTheDropDownWithoutADropDownButton) {
  Build(pbsEllipsis);
  Key(VK_DOWN, bmAlt);
  EXPECT_EQ(vision->Take(), "");  // CanDropDown(2) refuses
  vision->dropReasons = {2};
  Key(VK_DOWN, bmAlt);
  EXPECT_EQ(vision->Take(), "click 6, show");
}

TEST_F(EditButtonTest, KeysGoToAnOpenToolFormFirst) {
  Build(pbsDropDown, true);
  Key(VK_DOWN, bmAlt);
  vision->Take();
  Type("x");
  EXPECT_EQ(LinkLog(), "text");  // the form hears of the typed text
  Key(VK_ESCAPE);
  EXPECT_EQ(LinkLog(), "close discard");
  EXPECT_EQ(edit->Text(), "x");  // Escape closed the form only
  Key(VK_DOWN, bmAlt);
  Key(VK_RETURN);
  EXPECT_EQ(LinkLog(), "close accept");
  EXPECT_EQ(Value("Name"), "R1");  // Return closed the form only
}

TEST_F(EditButtonTest, DropDownRequestsOnEnteringAndOnTyping) {
  Build(pbsEllipsis, true);
  vision->dropReasons = {0};
  other->SetFocus();
  Pump();
  vision->Take();
  edit->SetFocus();
  Pump();
  EXPECT_EQ(vision->Take(), "show");
  edit->CloseDropDown(false);
  vision->dropReasons = {1};
  Type("a");
  EXPECT_EQ(vision->Take(), "show");
  // Entering through the button does not open the drop-down on its own.
  edit->CloseDropDown(false);
  vision->dropReasons = {0};
  other->SetFocus();
  Pump();
  Offscreen().Click(Strip(0));
  Pump();
  EXPECT_EQ(vision->Take(), "click 1");
}

TEST_F(EditButtonTest, TabClosesAnOpenToolFormAcceptingAndMovesOn) {
  Build(pbsDropDown, true);
  Key(VK_DOWN, bmAlt);
  ASSERT_EQ(edit->ToolForm(), FakeToolForm());
  Key(VK_TAB);
  EXPECT_EQ(LinkLog(), "close accept");
  EXPECT_TRUE(other->Focused());
}

TEST_F(EditButtonTest, LeavingTheControlClosesTheToolForm) {
  Build(pbsDropDown, true);
  Key(VK_DOWN, bmAlt);
  ASSERT_EQ(edit->ToolForm(), FakeToolForm());
  other->SetFocus();
  Pump();
  EXPECT_EQ(edit->ToolForm(), nullptr);
}

// A vision that switches the name between "on" and "off" by key or click.
class TToggleVision : public TznFieldVision {
 public:
  TToggleVision() : TznFieldVision(nullptr) {
    SetEnableSwitches(true);
    SetSurfaceKind(vskCustom);
  }
  void SwitchByKey(IznVisionEditor* editor, bool& posted) override {
    Toggle(editor, posted, "key");
  }
  void SwitchByMouse(IznVisionEditor* editor, bool& posted) override {
    Toggle(editor, posted, "mouse");
  }
  String how;  // "key" or "mouse": how the last switch came

 private:
  void Toggle(IznVisionEditor* editor, bool& posted, const char* by) {
    TField* f = editor->EditorFieldList()->MainField();
    f->SetAsString(f->AsString() == "on" ? "off" : "on");
    how = by;
    posted = true;
  }
};

TEST_F(EditButtonTest, SwitchesByKeyOnReleaseAndByClick) {
  TObjectPtr<TToggleVision> toggle(Create<TToggleVision>());
  AddEdit("Name");
  edit->SetVision(toggle.get());
  Show();
  Offscreen().KeyDown(VK_SPACE);
  Pump();
  EXPECT_TRUE(edit->SurfaceSwitcher()->Pressed());
  EXPECT_EQ(Value("Name"), "R1");  // a key switch fires on release
  Offscreen().KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(Value("Name"), "on");
  EXPECT_EQ(toggle->how, "key");
  EXPECT_EQ(edit->Text(), "on");
  Click(edit, 20, 8);
  EXPECT_EQ(Value("Name"), "off");
  EXPECT_EQ(toggle->how, "mouse");
  // A read-only control does not switch.
  edit->SetReadOnly(true);
  Key(VK_SPACE);
  Click(edit, 20, 8);
  EXPECT_EQ(Value("Name"), "off");
  edit->SetVision(nullptr);
}

TEST_F(EditButtonTest, TheCaptionsAcceleratorFocusesAndSwitches) {
  TObjectPtr<TToggleVision> toggle(Create<TToggleVision>());
  AddEdit("Name");
  edit->SetVision(toggle.get());
  edit->SetCaption("&Active");
  AddEdit("ID", Bounds(10, 40, 120, 21));
  Show();
  other->SetFocus();
  Pump();
  Key('Q', bmAlt);  // not the accelerator
  EXPECT_TRUE(other->Focused());
  Key('A', bmAlt);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(Value("Name"), "on");
  EXPECT_EQ(toggle->how, "key");
  edit->SetVision(nullptr);
}

TEST_F(EditButtonTest, ClipboardKeysOfACustomSurfaceReachTheVision) {
  struct Case {
    const char* name;
    Word key;
    Byte mods;
    const char* action;
  };
  const Case cases[] = {
      {"Ctrl+C", 'C', bmCtrl, "action 2"},
      {"Ctrl+V", 'V', bmCtrl, "action 3"},
      {"Ctrl+X", 'X', bmCtrl, "action 1"},
      {"Ctrl+Insert", VK_INSERT, bmCtrl, "action 2"},
      {"Shift+Insert", VK_INSERT, bmShift, "action 3"},
      {"Shift+Delete", VK_DELETE, bmShift, "action 1"},
  };
  Build(pbsEllipsis);
  vision->SetEnableButton(false);
  vision->SetSurfaceKind(vskCustom);
  edit->SetFocus();
  Pump();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Key(c.key, c.mods);
    EXPECT_EQ(vision->Take(), c.action);
    EXPECT_EQ(edit->Text(), "R1");
  }
}

}  // namespace
}  // namespace brevant::test
