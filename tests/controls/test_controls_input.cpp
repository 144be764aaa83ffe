// Focus, keyboard and mouse handling of controls on a form, driven through
// the off-screen backend's input events.
#include "controls/controls_test_util.h"
#include "controls/wincore.h"

namespace brevant::test {

using Lines = std::vector<std::string>;

class ControlsInputTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    panel = AddProbe(form, "P", Bounds(0, 0, 150, 100));
    panel->SetTabStop(false);
    a = AddProbe(panel, "A", Bounds(10, 10, 50, 30));
    b = AddProbe(panel, "B", Bounds(70, 10, 50, 30));
    c = AddProbe(form, "C", Bounds(160, 10, 50, 30));
    form->Show();
    Pump();
    ClearLog();
  }
  TProbe* panel = nullptr;
  TProbe* a = nullptr;
  TProbe* b = nullptr;
  TProbe* c = nullptr;
};

TEST_F(ControlsInputTest, FocusChangesSendExitAndEnterAlongTheChain) {
  // Showing focused the first tab stop.
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(form->ActiveControl(), a);
  a->SetFocus();
  EXPECT_TRUE(Log().empty());  // already there

  c->SetFocus();
  EXPECT_EQ(Log(), (Lines{"A Exit", "P Exit", "C Enter"}));
  EXPECT_EQ(form->ActiveControl(), c);
  EXPECT_EQ(form->FocusedControl(), c);
  ClearLog();
  b->SetFocus();
  EXPECT_EQ(Log(), (Lines{"C Exit", "P Enter", "B Enter"}));
  ClearLog();
  a->SetFocus();
  EXPECT_EQ(Log(), (Lines{"B Exit", "A Enter"}));
  EXPECT_TRUE(a->Focused());

  // Controls that cannot take the focus refuse it.
  c->SetEnabled(false);
  EXPECT_FALSE(c->CanFocus());
  EXPECT_THROW(c->SetFocus(), EInvalidOperation);
  EXPECT_THROW(form->SetActiveControl(c), EInvalidOperation);
  c->SetEnabled(true);

  // Hiding the focused control takes the focus to the form.
  ClearLog();
  a->Hide();
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_TRUE(form->Focused());
  EXPECT_EQ(Log(), (Lines{"A Exit", "P Exit"}));
  a->Show();

  // Freeing the focused control does not leave a dangling reference.
  b->SetFocus();
  b->Free();
  b = nullptr;
  EXPECT_EQ(form->ActiveControl(), nullptr);
  EXPECT_NE(form->FocusedControl(), nullptr);
  ClearLog();
  c->SetFocus();
  EXPECT_TRUE(c->Focused());
}

TEST_F(ControlsInputTest, AFailingExitKeepsTheFocus) {
  a->FailExit = true;
  c->SetFocus();
  EXPECT_EQ(Log(), (Lines{"A Exit"}));
  EXPECT_EQ(HandledMessage(), "invalid value in A");
  EXPECT_TRUE(a->Focused());
  EXPECT_FALSE(c->Focused());
  EXPECT_EQ(form->ActiveControl(), a);
  EXPECT_EQ(form->FocusedControl(), a);

  // The same through a click on the other control and through Tab.
  ClearLog();
  Offscreen().Click(At(b, 5, 5));
  Pump();
  EXPECT_TRUE(a->Focused());
  ClearLog();
  b->SetFocus();
  EXPECT_TRUE(a->Focused());
  ClearLog();
  Offscreen().PressKey(VK_TAB);
  Pump();
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(HandledMessage(), "invalid value in A");

  // Once the value is fixed the focus moves on.
  a->FailExit = false;
  ClearLog();
  c->SetFocus();
  EXPECT_EQ(Log(), (Lines{"A Exit", "P Exit", "C Enter"}));
  EXPECT_TRUE(c->Focused());
}

TEST_F(ControlsInputTest, TabMovesAmongTabStopsInTabOrder) {
  // Order: C, B, A (depth first through the panel's own list).
  c->SetTabOrder(0);
  b->SetTabOrder(0);
  EXPECT_EQ(panel->TabOrder(), 1);
  EXPECT_EQ(a->TabOrder(), 1);
  c->SetFocus();
  auto tab = [](Byte mods = 0) {
    Offscreen().PressKey(VK_TAB, mods);
    PumpMessages();
  };
  tab();
  EXPECT_TRUE(b->Focused());
  tab();
  EXPECT_TRUE(a->Focused());
  tab();
  EXPECT_TRUE(c->Focused());  // wraps
  tab(bmShift);
  EXPECT_TRUE(a->Focused());
  tab(bmShift);
  EXPECT_TRUE(b->Focused());

  // Controls without TabStop or disabled are skipped.
  a->SetTabStop(false);
  c->SetEnabled(false);
  tab();
  EXPECT_TRUE(b->Focused());
  c->SetEnabled(true);
  tab();
  EXPECT_TRUE(c->Focused());

  // Tab order values are clamped.
  a->SetTabOrder(99);
  EXPECT_EQ(a->TabOrder(), 1);
  a->SetTabOrder(-3);
  EXPECT_EQ(a->TabOrder(), 0);
}

TEST_F(ControlsInputTest, DialogCodeKeepsKeysFromTheForm) {
  // Without DLGC_WANTTAB, Tab is the form's: consumed before KeyDown.
  Offscreen().PressKey(VK_TAB);
  Pump();
  // The key's release goes to the control that has the focus by then.
  EXPECT_EQ(Log(), (Lines{"A CN_KEYDOWN 9", "A Exit", "B Enter", "B KeyUp 9"}));
  EXPECT_TRUE(b->Focused());

  // With it, the control receives the key and its character.
  b->DlgCode = DLGC_WANTTAB;
  ClearLog();
  Offscreen().PressKey(VK_TAB);
  Pump();
  EXPECT_EQ(Log(), (Lines{"B CN_KEYDOWN 9", "B KeyDown 9", "B KeyPress 9", "B KeyUp 9"}));
  EXPECT_TRUE(b->Focused());
  b->DlgCode = DLGC_WANTALLKEYS;
  ClearLog();
  Offscreen().PressKey(VK_TAB);
  Pump();
  EXPECT_TRUE(b->Focused());

  // Arrow keys move among siblings unless the control wants them.
  b->DlgCode = 0;
  Offscreen().PressKey(VK_LEFT);
  Pump();
  EXPECT_TRUE(a->Focused());
  a->DlgCode = DLGC_WANTARROWS;
  ClearLog();
  Offscreen().PressKey(VK_RIGHT);
  Pump();
  EXPECT_TRUE(a->Focused());
  EXPECT_EQ(Log(), (Lines{"A CN_KEYDOWN 39", "A KeyDown 39", "A KeyUp 39"}));
}

TEST_F(ControlsInputTest, KeysArriveInOrderAndCanBeConsumed) {
  Offscreen().PressKey('A');
  Pump();
  EXPECT_EQ(Log(), (Lines{"A CN_KEYDOWN 65", "A KeyDown 65", "A KeyPress 97", "A KeyUp 65"}));

  ClearLog();
  Offscreen().PressKey('A', bmShift);
  Pump();
  EXPECT_EQ(Log(), (Lines{"A CN_KEYDOWN 65", "A KeyDown 65 shift", "A KeyPress 65", "A KeyUp 65"}));

  // Events see the key after the virtual handlers; a consumed key stops there.
  Word seen = 0xFFFF;
  a->OnKeyDown = TKeyEvent::FromCallable([&](TObject*, Word& key, TShiftState) { seen = key; });
  a->ConsumeKey = VK_DELETE;
  ClearLog();
  Offscreen().PressKey(VK_DELETE);
  Pump();
  EXPECT_EQ(seen, 0);
  seen = 0xFFFF;
  Offscreen().PressKey(VK_INSERT);
  Pump();
  EXPECT_EQ(seen, VK_INSERT);

  // A key press handler can change or swallow the character.
  a->OnKeyPress = TKeyPressEvent::FromCallable([](TObject*, char32_t& key) {
    if (key == U'x') key = 0;
  });
  ClearLog();
  Offscreen().TypeText("x\xC3\xA9");
  Pump();
  EXPECT_EQ(Log(), (Lines{"A CN_KEYDOWN 88", "A KeyDown 88", "A KeyPress 120", "A KeyUp 88",
                          "A KeyPress 233"}));
}

TEST_F(ControlsInputTest, KeyPreviewGivesTheFormTheKeyFirst) {
  Lines formKeys;
  form->SetKeyPreview(true);
  form->OnKeyDown = TKeyEvent::FromCallable([&](TObject*, Word& key, TShiftState) {
    formKeys.push_back("down " + std::to_string(key));
    if (key == VK_F2) key = 0;
  });
  form->OnKeyPress = TKeyPressEvent::FromCallable(
      [&](TObject*, char32_t& key) { formKeys.push_back("press " + std::to_string(key)); });
  Offscreen().PressKey(VK_F2);
  Offscreen().PressKey('Q');
  Pump();
  EXPECT_EQ(formKeys, (Lines{"down 113", "down 81", "press 113"}));
  EXPECT_EQ(Log(), (Lines{"A CN_KEYDOWN 113", "A KeyUp 113", "A CN_KEYDOWN 81", "A KeyDown 81",
                          "A KeyPress 113", "A KeyUp 81"}));
}

TEST_F(ControlsInputTest, MouseClickDoubleClickAndCapture) {
  c->SetFocus();
  ClearLog();
  auto& be = Offscreen();
  be.MouseDown(At(a, 5, 6));
  Pump();
  EXPECT_EQ(GetCapture(), a->WindowHandle());
  EXPECT_TRUE(a->MouseCapture());
  // The pressed control is not the focused one: cancel mode goes to C.
  EXPECT_EQ(Log(), (Lines{"C CancelMode from A", "A MouseDown 0 5,6"}));
  // While captured, moves and the release outside still come to A.
  ClearLog();
  be.MouseUp(At(a, 80, 6));
  Pump();
  EXPECT_EQ(Log(), (Lines{"A MouseUp 0 80,6"}));  // outside: no click
  EXPECT_EQ(GetCapture(), 0);

  ClearLog();
  be.Click(At(a, 1, 2));
  Pump();
  // Click comes before the MouseUp of the release.
  EXPECT_EQ(Log(),
            (Lines{"C CancelMode from A", "A MouseDown 0 1,2", "A Click", "A MouseUp 0 1,2"}));

  ClearLog();
  be.Advance(1000);
  be.DoubleClick(At(a, 3, 3));
  Pump();
  EXPECT_EQ(Log(), (Lines{"C CancelMode from A", "A MouseDown 0 3,3", "A Click", "A MouseUp 0 3,3",
                          "C CancelMode from A", "A DblClick", "A MouseDown 0 3,3 double",
                          "A MouseUp 0 3,3"}));

  // Without csDoubleClicks the second press is a plain press.
  a->SetControlStyle(a->ControlStyle() - csDoubleClicks);
  a->RecreateWnd();
  ClearLog();
  be.Advance(1000);
  be.DoubleClick(At(a, 3, 3));
  Pump();
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "A DblClick"), 0);
  EXPECT_EQ(std::count(Log().begin(), Log().end(), "A Click"), 2);

  // The focused control's own press sends no cancel mode; right button.
  c->SetFocus();
  ClearLog();
  be.Click(At(c, 4, 4), bbRight);
  Pump();
  EXPECT_EQ(Log(), (Lines{"C MouseDown 1 4,4", "C MouseUp 1 4,4"}));
}

TEST_F(ControlsInputTest, GraphicControlsGetMouseInputThroughTheirParent) {
  auto* shape = Create<TProbeShape>(form);
  shape->SetName("S");
  shape->SetBounds(20, 50, 30, 20);
  shape->SetParent(panel);
  bool clicked = false;
  shape->OnClick = TNotifyEvent::FromCallable([&](TObject*) { clicked = true; });
  auto& be = Offscreen();
  be.MouseDown(At(shape, 4, 5));
  Pump();
  // The parent's window holds the capture on the shape's behalf.
  EXPECT_EQ(GetCapture(), panel->WindowHandle());
  EXPECT_EQ(GetCaptureControl(), shape);
  be.MouseUp(At(shape, 6, 7));
  Pump();
  EXPECT_TRUE(clicked);
  EXPECT_EQ(GetCaptureControl(), nullptr);
  EXPECT_EQ(Log(), (Lines{"A CancelMode from S", "S MouseDown 4,5", "S Click"}));

  // A disabled graphic control lets the press through to its parent.
  shape->SetEnabled(false);
  ClearLog();
  be.Advance(1000);
  be.Click(At(shape, 4, 5));
  Pump();
  EXPECT_EQ(Log(),
            (Lines{"A CancelMode from P", "P MouseDown 0 24,55", "P Click", "P MouseUp 0 24,55"}));
}

TEST_F(ControlsInputTest, HoverSendsMouseEnterAndLeave) {
  auto* shape = Create<TProbeShape>(form);
  shape->SetName("S");
  shape->SetBounds(220, 10, 30, 20);
  shape->SetParent(form);
  auto& be = Offscreen();
  be.MouseMove(At(a, 5, 5));
  Pump();
  be.MouseMove(At(a, 6, 6));
  Pump();
  EXPECT_EQ(Log(), (Lines{"A MouseEnter"}));
  EXPECT_EQ(MouseControl(), a);
  ClearLog();
  be.MouseMove(At(b, 5, 5));
  Pump();
  EXPECT_EQ(Log(), (Lines{"A MouseLeave", "B MouseEnter"}));
  ClearLog();
  be.MouseMove(At(panel, 5, 5));  // the panel around them
  Pump();
  be.MouseMove(At(shape, 5, 5));
  Pump();
  EXPECT_EQ(Log(), (Lines{"B MouseLeave", "P MouseEnter", "P MouseLeave", "S MouseEnter"}));
  ClearLog();
  be.PointerLeft();
  Pump();
  EXPECT_EQ(Log(), (Lines{"S MouseLeave"}));
  EXPECT_EQ(MouseControl(), nullptr);

  // A freed control under the pointer is forgotten without messages.
  be.MouseMove(At(c, 5, 5));
  Pump();
  EXPECT_EQ(MouseControl(), c);
  c->Free();
  c = nullptr;
  EXPECT_EQ(MouseControl(), nullptr);
}

// Answers Return like a default button and Escape like a cancel button, and
// its accelerator character, the way buttons do through the form.
class TDialogKeyProbe : public TProbe {
 public:
  using TProbe::TProbe;
  std::vector<std::string> Heard;

 protected:
  void CMDialogKey(TMessage& m) override {
    Word key = LoWord(m.WParam);
    if (key == VK_RETURN || key == VK_ESCAPE) {
      Heard.push_back(key == VK_RETURN ? "default" : "cancel");
      m.Result = 1;
      return;
    }
    TProbe::CMDialogKey(m);
  }
  void CMDialogChar(TMessage& m) override {
    if (m.WParam == 'k' || m.WParam == 'K') {
      Heard.push_back("accelerator");
      m.Result = 1;
      return;
    }
    TProbe::CMDialogChar(m);
  }
};

TEST_F(ControlsInputTest, ReturnEscapeAndAcceleratorsReachButtonsThroughTheForm) {
  auto* button = Create<TDialogKeyProbe>(form);
  button->SetName("OK");
  button->SetParent(form);
  button->SetBounds(220, 10, 60, 30);
  button->SetTabStop(false);
  Pump();
  ASSERT_TRUE(a->Focused());
  Offscreen().PressKey(VK_RETURN);
  Offscreen().PressKey(VK_ESCAPE);
  Offscreen().PressKey('K', bmAlt);
  Pump();
  EXPECT_EQ(button->Heard, (std::vector<std::string>{"default", "cancel", "accelerator"}));
  EXPECT_TRUE(a->Focused()) << "the focused control keeps the focus";
  // A control that wants all keys keeps Return for itself.
  a->DlgCode = DLGC_WANTALLKEYS;
  button->Heard.clear();
  Offscreen().PressKey(VK_RETURN);
  Pump();
  EXPECT_TRUE(button->Heard.empty());
}

}  // namespace brevant::test
