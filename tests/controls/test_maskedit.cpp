// The mask edit: mask parsing, typing through literals, saved text and
// validation.
#include "controls/controls_test_util.h"
#include "controls/maskedit.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"

namespace brevant::test {

class MaskEditTest : public ControlsTest {
 protected:
  TMaskEdit* AddMask(const char* name, const String& mask) {
    auto* e = Create<TMaskEdit>(form);
    e->SetName(name);
    e->SetBoundsRect(Bounds(10, 10, 150, 21));
    e->SetParent(form);
    e->SetEditMask(mask);
    e->OnChange = TNotifyEvent::FromCallable([this](TObject*) { ++changes; });
    return e;
  }
  void Type(const String& s) {
    Offscreen().TypeText(s);
    Pump();
  }
  void Key(Word vk, Byte mods = 0) {
    Offscreen().PressKey(vk, mods);
    Pump();
  }
  Integer changes = 0;
};

TEST_F(MaskEditTest, TypingFollowsThePhoneMask) {
  TMaskEdit* e = AddMask("Phone", "000-000-0000;1;_");
  form->Show();
  Pump();
  EXPECT_TRUE(e->IsMasked());
  EXPECT_EQ(e->EditText(), "___-___-____");
  EXPECT_EQ(e->Text(), "   -   -");
  EXPECT_FALSE(e->IsValidText());
  Key(VK_HOME);
  Integer beeps = Offscreen().BeepCount();
  Type("555x");  // x does not fit: refused, nothing changes
  EXPECT_EQ(Offscreen().BeepCount(), beeps + 1);
  EXPECT_EQ(e->EditText(), "555-___-____");
  EXPECT_EQ(e->SelStart(), 4);  // past the literal
  Type("123");
  Key(VK_LEFT);
  Type("-");  // typing the literal's character skips it
  EXPECT_EQ(e->SelStart(), 8);
  Type("4567");
  EXPECT_EQ(e->EditText(), "555-123-4567");
  EXPECT_EQ(e->Text(), "555-123-4567");
  EXPECT_TRUE(e->IsValidText());
  Type("9");  // no position left
  EXPECT_EQ(e->EditText(), "555-123-4567");
  EXPECT_EQ(Offscreen().BeepCount(), beeps + 2);

  // Backspace empties the previous position and never the literal.
  Key(VK_BACK);
  Key(VK_BACK);
  Key(VK_BACK);
  Key(VK_BACK);
  Key(VK_BACK);
  EXPECT_EQ(e->EditText(), "555-12_-____");
  EXPECT_EQ(e->SelStart(), 6);
  EXPECT_FALSE(e->IsValidText());
  EXPECT_THROW(e->ValidateEdit(), EDBEditError);
  EXPECT_EQ(e->SelStart(), 6);  // the caret goes to the first empty position
  Key('Z', bmCtrl);             // each deletion is a step of its own
  EXPECT_EQ(e->EditText(), "555-123-____");
  Type("4567");

  // A paste that fits is typed; one that does not is refused whole.
  Key(VK_HOME);
  Key(VK_END, bmShift);
  SetClipboardText("8005551212");
  Key('V', bmCtrl);
  EXPECT_EQ(e->EditText(), "800-555-1212");
  Key(VK_HOME);
  SetClipboardText("12a");
  Key('V', bmCtrl);
  EXPECT_EQ(e->EditText(), "800-555-1212");
  // Cut empties positions and keeps literals.
  Key(VK_HOME);
  Key(VK_RIGHT, bmShift);
  Key(VK_RIGHT, bmShift);
  Key(VK_RIGHT, bmShift);
  Key(VK_RIGHT, bmShift);
  Key(VK_RIGHT, bmShift);
  Key('X', bmCtrl);
  EXPECT_EQ(GetClipboardText(), "800-5");
  EXPECT_EQ(e->EditText(), "___-_55-1212");

  // Text without literals, and setting Text.
  e->SetEditMask("000-000-0000;0;_");
  EXPECT_EQ(e->EditText(), "___-_55-1212");
  EXPECT_EQ(e->Text(), "    551212");
  e->SetText("2125550100");
  EXPECT_EQ(e->EditText(), "212-555-0100");
  EXPECT_EQ(e->Text(), "2125550100");
}

TEST_F(MaskEditTest, CaseBlanksAndMaskChanges) {
  TMaskEdit* e = AddMask("Code", ">LL<ll-aa;1;*");
  form->Show();
  Pump();
  EXPECT_EQ(e->EditText(), "****-**");
  Key(VK_HOME);
  Type("abCD");
  EXPECT_EQ(e->EditText(), "ABcd-**");
  Integer beeps = Offscreen().BeepCount();
  Type("1");  // a letter position skipped? no: 'a' takes letters and digits
  EXPECT_EQ(e->EditText(), "ABcd-1*");
  Type("%");
  EXPECT_EQ(Offscreen().BeepCount(), beeps + 1);
  EXPECT_TRUE(e->IsValidText());  // the 'a' and 'l' positions are optional
  EXPECT_EQ(e->Text(), "ABcd-1");

  // A blank character the positions accept stays in Text ("!99:99;1;0").
  e->SetEditMask("!99:99;1;0");
  EXPECT_EQ(e->EditText().size(), 5u);
  e->SetText("");
  EXPECT_EQ(e->EditText(), "00:00");
  Key(VK_HOME);
  Type("1230");
  EXPECT_EQ(e->EditText(), "12:30");
  EXPECT_EQ(e->Text(), "12:30");
  EXPECT_TRUE(e->IsValidText());

  // Removing the mask keeps the saved text; a new mask reformats it.
  e->SetEditMask("");
  EXPECT_FALSE(e->IsMasked());
  EXPECT_EQ(e->Text(), "12:30");
  e->SetEditMask("00-00;1;_");
  EXPECT_EQ(e->EditText(), "12-30");

  // Multi-byte letters fit letter positions and count as one position.
  e->SetEditMask("LLL;1;_");
  e->SetText("");
  Key(VK_HOME);
  Type("\xC3\xA9\xC3\x9F\xC3\xA0");  // éßà
  EXPECT_EQ(e->Text(), "\xC3\xA9\xC3\x9F\xC3\xA0");
  EXPECT_EQ(e->SelStart(), 3);

  // Read-only refuses typing.
  e->SetReadOnly(true);
  Key(VK_HOME);
  Type("x");
  EXPECT_EQ(e->Text(), "\xC3\xA9\xC3\x9F\xC3\xA0");
}

TEST_F(MaskEditTest, LeavingWithInvalidTextKeepsTheFocus) {
  TMaskEdit* e = AddMask("Zip", "00000;1;_");
  auto* other = Create<TMaskEdit>(form);
  other->SetBoundsRect(Bounds(10, 50, 150, 21));
  other->SetParent(form);
  form->Show();
  Pump();
  ASSERT_TRUE(e->Focused());
  Type("123");
  other->SetFocus();
  EXPECT_TRUE(e->Focused());
  EXPECT_NE(HandledMessage().find("123__"), std::string::npos);
  e->SetValidateOnExit(false);
  other->SetFocus();
  EXPECT_TRUE(other->Focused());
}

TEST_F(MaskEditTest, AButtonDoesNotClickWhileTheEditKeepsTheFocus) {
  TMaskEdit* e = AddMask("Zip", "00000;1;_");
  auto* ok = Create<TButton>(form);
  ok->SetBoundsRect(Bounds(10, 50, 75, 25));
  ok->SetParent(form);
  Integer clicks = 0;
  ok->OnClick = TNotifyEvent::FromCallable([&](TObject*) { ++clicks; });
  form->Show();
  Pump();
  Type("123");
  const TPoint at = ok->ClientToScreen({20, 10});
  Offscreen().MouseMove(at);
  Offscreen().MouseDown(at);
  Pump();
  EXPECT_TRUE(e->Focused());
  EXPECT_FALSE(ok->Pressed()) << "no pressed look without the focus";
  Offscreen().MouseUp(at);
  Pump();
  EXPECT_EQ(clicks, 0);
  // Valid text lets the focus go: the click comes.
  Type("45");
  Offscreen().Advance(1000);
  Offscreen().Click(at);
  Pump();
  EXPECT_TRUE(ok->Focused());
  EXPECT_EQ(clicks, 1);
}

// A descendant that makes itself a multi-line edit window in CreateParams,
// as the data-aware edit does.
class TMultiLineMaskEdit : public TCustomMaskEdit {
  BV_CLASS(TMultiLineMaskEdit, TCustomMaskEdit)
 public:
  using TCustomMaskEdit::TCustomMaskEdit;

 protected:
  void CreateParams(TCreateParams& params) override {
    TCustomMaskEdit::CreateParams(params);
    params.Style |= ES_MULTILINE;
  }
};
BV_IMPLEMENT_CLASS(TMultiLineMaskEdit, TCustomMaskEdit)

TEST_F(MaskEditTest, ADescendantCanBeAMultiLineWindow) {
  auto* e = Create<TMultiLineMaskEdit>(form);
  e->SetBoundsRect(Bounds(10, 10, 150, 60));
  e->SetParent(form);
  form->Show();
  Pump();
  EXPECT_TRUE(e->IsMultiLine());
  e->SetText("one\ntwo");
  EXPECT_EQ(e->Text(), "one\r\ntwo");
  EXPECT_EQ(e->LineCount(), 2);
  e->SetReadOnly(true);  // read-only until an edit starts
  Type("x");
  EXPECT_EQ(e->Text(), "one\r\ntwo");
  e->SetReadOnly(false);
  Key(VK_END, bmCtrl);
  Type("!");
  EXPECT_EQ(e->Text(), "one\r\ntwo!");
  // No Tab or Return is wanted unless the descendant asks for it.
  EXPECT_EQ(e->Perform(WM_GETDLGCODE) & (DLGC_WANTALLKEYS | DLGC_WANTTAB), 0);
}

}  // namespace brevant::test
