// Labels, bevels, group boxes, buttons and check boxes driven through real
// input, checked at their pixels.
#include "controls/messages.h"
#include "controls/stdctrls_test_util.h"

namespace brevant::test {

TEST_F(StdCtrlsTest, LabelSizesToItsCaptionAndPaintsItsLook) {
  form->SetColor(clYellow);
  auto* label = Add<TLabel>(form, "L", Bounds(10, 10, 10, 10));
  label->SetCaption("Hello");
  const Integer w = label->Width();
  EXPECT_GT(w, 20);
  EXPECT_GT(label->Height(), 8);
  EXPECT_EQ(label->Color(), clYellow) << "labels take the parent's colour";
  label->SetCaption("Hello, longer");
  EXPECT_GT(label->Width(), w);

  // A right-justified label grows to the left.
  auto* right = Add<TLabel>(form, "R", Bounds(200, 10, 10, 10));
  right->SetAlignment(taRightJustify);
  right->SetCaption("R");
  const Integer edge = right->Left() + right->Width();
  right->SetCaption("Right");
  EXPECT_EQ(right->Left() + right->Width(), edge);
  EXPECT_LT(right->Left(), 200);

  // Opaque: the label's colour fills it; transparent: the parent shows.
  auto* box = Add<TLabel>(form, "B", Bounds(10, 60, 80, 30));
  box->SetAutoSize(false);
  box->SetBounds(10, 60, 80, 30);
  box->SetColor(clAqua);
  box->SetCaption("Box");
  box->SetLayout(tlBottom);
  ShowForm();
  EXPECT_EQ(Px(box, 70, 2), clAqua);
  EXPECT_TRUE(AnyDark(box, Rect(0, 15, 40, 30))) << "text at the bottom";
  EXPECT_FALSE(AnyDark(box, Rect(0, 0, 40, 12)));
  box->SetTransparent(true);
  Pump();
  EXPECT_EQ(Px(box, 70, 2), clYellow);

  // Disabled text is embossed.
  EXPECT_FALSE(AnyPixel(label, label->ClientRect(), clBtnShadow));
  label->SetEnabled(false);
  Pump();
  EXPECT_TRUE(AnyPixel(label, label->ClientRect(), clBtnShadow));
  EXPECT_TRUE(AnyPixel(label, label->ClientRect(), clBtnHighlight));
  EXPECT_FALSE(AnyDark(label, label->ClientRect()));

  // A click reaches OnClick.
  Integer n = 0;
  right->OnClick = Counter(n);
  ClickAt(right, 2, 2);
  EXPECT_EQ(n, 1);
}

TEST_F(StdCtrlsTest, LabelAcceleratorFocusesItsControl) {
  auto* first = AddProbe(form, "First", Bounds(10, 40, 50, 20));
  auto* target = AddProbe(form, "Target", Bounds(100, 40, 50, 20));
  auto* label = Add<TLabel>(form, "L", Bounds(100, 10, 50, 20));
  label->SetCaption("&Name");
  label->SetFocusControl(target);
  ShowForm();
  ASSERT_TRUE(first->Focused());
  Press('N', bmAlt);
  EXPECT_TRUE(target->Focused());

  // Without ShowAccelChar the "&" is text and there is no accelerator.
  first->SetFocus();
  label->SetShowAccelChar(false);
  Press('N', bmAlt);
  EXPECT_TRUE(first->Focused());
  // A freed focus control is forgotten.
  label->SetShowAccelChar(true);
  target->Free();
  EXPECT_EQ(label->FocusControl(), nullptr);
  Press('N', bmAlt);
  EXPECT_TRUE(first->Focused());
}

TEST_F(StdCtrlsTest, BevelShapesAndStyles) {
  auto* box = Add<TBevel>(form, "Box", Bounds(10, 10, 40, 30));
  auto* line = Add<TBevel>(form, "Line", Bounds(60, 10, 40, 30));
  line->SetShape(bsBottomLine);
  line->SetStyle(bsRaised);
  auto* frame = Add<TBevel>(form, "Frame", Bounds(110, 10, 40, 30));
  frame->SetShape(bsFrame);
  ShowForm();
  ExpectPixels({
      {"box: lowered top-left", box, {0, 0}, clBtnShadow},
      {"box: lowered bottom-right", box, {39, 29}, clBtnHighlight},
      {"box: the inside is not painted", box, {20, 15}, clBtnFace},
      {"bottom line: raised upper line", line, {20, 28}, clBtnHighlight},
      {"bottom line: raised lower line", line, {20, 29}, clBtnShadow},
      {"bottom line: nothing at the top", line, {20, 0}, clBtnFace},
      {"frame: etched outer line", frame, {0, 0}, clBtnShadow},
      {"frame: etched inner line", frame, {1, 1}, clBtnHighlight},
      {"frame: etched bottom-right", frame, {39, 29}, clBtnHighlight},
  });
}

TEST_F(StdCtrlsTest, GroupBoxFramesItsChildrenAndFocusesThemByAccelerator) {
  auto* outside = AddProbe(form, "Out", Bounds(220, 10, 40, 20));
  auto* group = Add<TGroupBox>(form, "G", Bounds(10, 10, 150, 100));
  group->SetCaption("&Group");
  auto* inner = AddProbe(group, "In", Bounds(10, 30, 40, 20));
  inner->SetAlign(alClient);
  ShowForm();
  EXPECT_GT(inner->Top(), 8) << "below the caption";
  EXPECT_EQ(inner->Left(), 2);
  EXPECT_EQ(inner->Left() + inner->Width(), 148);
  // The etched frame, interrupted by the caption.
  const Integer mid = inner->Top() / 2;
  EXPECT_EQ(Px(group, 0, 60), Rgb(clBtnShadow));
  EXPECT_EQ(Px(group, 1, 60), Rgb(clBtnHighlight));
  EXPECT_TRUE(AnyDark(group, Rect(8, 0, 40, inner->Top())));
  EXPECT_EQ(Px(group, 140, mid - 1), Rgb(clBtnShadow));

  outside->SetFocus();
  Press('G', bmAlt);
  EXPECT_TRUE(inner->Focused());
}

class ButtonTest : public StdCtrlsTest {
 protected:
  void SetUp() override {
    StdCtrlsTest::SetUp();
    edit = AddProbe(form, "Edit", Bounds(10, 10, 80, 20));
    ok = Add<TButton>(form, "OK", Bounds(10, 100, 75, 25));
    ok->SetCaption("&OK");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel = Add<TButton>(form, "Cancel", Bounds(100, 100, 75, 25));
    cancel->SetCaption("&Cancel");
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    other = Add<TButton>(form, "Other", Bounds(190, 100, 75, 25));
    other->SetCaption("O&ther");
    ok->OnClick = Counter(okClicks);
    cancel->OnClick = Counter(cancelClicks);
    other->OnClick = Counter(otherClicks);
    ShowForm();
  }
  TProbe* edit = nullptr;
  TButton* ok = nullptr;
  TButton* cancel = nullptr;
  TButton* other = nullptr;
  Integer okClicks = 0, cancelClicks = 0, otherClicks = 0;
};

TEST_F(ButtonTest, MouseClicksShowThePressedLookAndClickOnRelease) {
  ExpectPixels({
      {"raised edge", other, {0, 0}, cl3DLight},
      {"raised inner edge", other, {1, 1}, clBtnHighlight},
      {"dark bottom-right", other, {74, 24}, cl3DDkShadow},
  });
  Offscreen().MouseDown(At(other, 30, 10));
  Pump();
  EXPECT_TRUE(other->Focused()) << "a click focuses the button";
  EXPECT_TRUE(other->Pressed());
  ExpectPixels({
      {"pressed frame inside the dark frame", other, {1, 1}, clBtnShadow},
      {"dark frame", other, {0, 0}, cl3DDkShadow},
  });
  // Moving out shows it up; the release outside does not click.
  Offscreen().MouseMove(At(other, 30, 40));
  Pump();
  EXPECT_FALSE(other->Pressed());
  Offscreen().MouseUp(At(other, 30, 40));
  Pump();
  EXPECT_EQ(otherClicks, 0);
  ClickAt(other, 30, 10);
  EXPECT_EQ(otherClicks, 1);
  EXPECT_FALSE(other->Pressed());
  EXPECT_EQ(form->ModalResult(), mrNone);
  // The focused button has a focus rectangle.
  EXPECT_TRUE(AnyPixel(other, Rect(4, 4, 71, 5), kFocusDot));
  ok->SetFocus();
  Pump();
  EXPECT_FALSE(AnyPixel(other, Rect(4, 4, 71, 5), kFocusDot));
  // Disabled buttons ignore the mouse and show embossed text.
  other->SetEnabled(false);
  ClickAt(other, 30, 10);
  EXPECT_EQ(otherClicks, 1);
  EXPECT_TRUE(AnyPixel(other, other->ClientRect(), clBtnShadow));
}

TEST_F(ButtonTest, SpaceAndReturnPressTheFocusedButton) {
  other->SetFocus();
  Offscreen().KeyDown(VK_SPACE);
  Pump();
  EXPECT_TRUE(other->Pressed());
  EXPECT_EQ(otherClicks, 0) << "the click comes on release";
  Offscreen().KeyDown(VK_SPACE, 0, true);
  Pump();
  Offscreen().KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(otherClicks, 1);
  EXPECT_FALSE(other->Pressed());
  // Return clicks the focused button, not the default one.
  EXPECT_TRUE(other->Active());
  EXPECT_FALSE(ok->Active());
  Press(VK_RETURN);
  EXPECT_EQ(otherClicks, 2);
  EXPECT_EQ(okClicks, 0);
  // Space released after the focus moved does not click.
  Offscreen().KeyDown(VK_SPACE);
  Pump();
  edit->SetFocus();
  Offscreen().KeyUp(VK_SPACE);
  Pump();
  EXPECT_EQ(otherClicks, 2);
  EXPECT_FALSE(other->Pressed());
}

TEST_F(ButtonTest, DefaultAndCancelButtonsAnswerReturnAndEscape) {
  ASSERT_TRUE(edit->Focused());
  EXPECT_TRUE(ok->Active());
  EXPECT_TRUE(AnyPixel(ok, Rect(0, 0, 75, 1), cl3DDkShadow)) << "the default button's frame";
  Press(VK_RETURN);
  EXPECT_EQ(okClicks, 1);
  EXPECT_EQ(form->ModalResult(), mrOk);
  EXPECT_TRUE(edit->Focused()) << "the focus stays";
  Press(VK_ESCAPE);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(form->ModalResult(), mrCancel);
  // Shift+Return is not Return.
  Press(VK_RETURN, bmShift);
  EXPECT_EQ(okClicks, 1);
  // A control that keeps Return for itself wins over the default button.
  edit->DlgCode = DLGC_WANTALLKEYS;
  Press(VK_RETURN);
  EXPECT_EQ(okClicks, 1);
  edit->DlgCode = 0;
  // A disabled default button does not answer.
  ok->SetEnabled(false);
  Press(VK_RETURN);
  EXPECT_EQ(okClicks, 1);
  ok->SetEnabled(true);
  // When the focus leaves a button, the default button is active again.
  other->SetFocus();
  EXPECT_FALSE(ok->Active());
  edit->SetFocus();
  EXPECT_TRUE(ok->Active());
  Press(VK_RETURN);
  EXPECT_EQ(okClicks, 2);
}

TEST_F(ButtonTest, AcceleratorsClickButtons) {
  form->SetModalResult(mrNone);
  Press('T', bmAlt);
  EXPECT_EQ(otherClicks, 1);
  Press('C', bmAlt);
  EXPECT_EQ(cancelClicks, 1);
  EXPECT_EQ(form->ModalResult(), mrCancel);
  // Without Alt the character reaches buttons only when the focused control
  // does not take characters.
  other->SetFocus();
  Press('O');
  EXPECT_EQ(okClicks, 1);
  // Click() from code does the same as the user.
  form->SetModalResult(mrNone);
  ok->Click();
  EXPECT_EQ(okClicks, 2);
  EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(StdCtrlsTest, CheckBoxTogglesByMouseSpaceAndAccelerator) {
  auto* probe = AddProbe(form, "P", Bounds(150, 10, 40, 20));
  auto* check = Add<TCheckBox>(form, "C", Bounds(10, 10, 120, 17));
  check->SetCaption("&Check me");
  Integer n = 0;
  check->OnClick = Counter(n);
  ShowForm();
  // The box sits on the left; its inside is the window colour.
  EXPECT_EQ(Px(check, 6, 8), Rgb(clWindow));
  EXPECT_FALSE(AnyDark(check, Rect(3, 5, 10, 12)));
  ClickAt(check, 50, 8);
  EXPECT_TRUE(check->Checked());
  EXPECT_TRUE(check->Focused());
  EXPECT_EQ(n, 1);
  EXPECT_TRUE(AnyDark(check, Rect(3, 5, 10, 12))) << "the check mark";
  EXPECT_TRUE(AnyPixel(check, Rect(14, 0, 120, 3), kFocusDot)) << "the focus rectangle";
  Press(VK_SPACE);
  EXPECT_FALSE(check->Checked());
  EXPECT_EQ(n, 2);

  // With AllowGrayed a click passes through the grayed state.
  check->SetAllowGrayed(true);
  ClickAt(check, 5, 8);
  ClickAt(check, 5, 8);
  EXPECT_EQ(check->State(), cbGrayed);
  ClickAt(check, 5, 8);
  EXPECT_EQ(check->State(), cbUnchecked);
  EXPECT_EQ(n, 5);

  // The accelerator focuses and toggles.
  probe->SetFocus();
  Press('C', bmAlt);
  EXPECT_TRUE(check->Checked());
  EXPECT_TRUE(check->Focused());
  // Setting the state from code reports the change once; the same state
  // reports nothing.
  n = 0;
  check->SetChecked(false);
  check->SetChecked(false);
  EXPECT_EQ(n, 1);

  // The caption on the left puts the box on the right.
  check->SetAlignment(taLeftJustify);
  check->SetChecked(true);
  Pump();
  EXPECT_TRUE(AnyDark(check, Rect(110, 5, 117, 12)));
  EXPECT_FALSE(AnyDark(check, Rect(3, 5, 10, 12)));
}

}  // namespace brevant::test
