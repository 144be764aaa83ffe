// The rich edit: formats per character, plain-text mode, streams.
#include "controls/controls_test_util.h"
#include "controls/richedit.h"
#include "controls/wincore.h"
#include "graphics/font.h"
#include "rtl/streams.h"
#include "rtl/stringlist.h"

namespace brevant::test {

class RichEditTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    r = Create<TRichEdit>(form);
    r->SetBoundsRect(Bounds(10, 10, 250, 120));
    r->SetParent(form);
    r->OnSelectionChange = TNotifyEvent::FromCallable([this](TObject*) { ++selChanges; });
    form->Show();
    Pump();
  }
  void Type(const String& s) {
    Offscreen().TypeText(s);
    Pump();
  }
  TRichEdit* r = nullptr;
  Integer selChanges = 0;
};

TEST_F(RichEditTest, FormatsFollowTheSelectionAndTyping) {
  Type("plain bold");
  r->SetSelStart(6);
  r->SetSelLength(4);
  EXPECT_GT(selChanges, 0);
  r->SelAttributes()->SetStyle({fsBold});
  r->SelAttributes()->SetSize(16);
  r->SelAttributes()->SetColor(clRed);
  EXPECT_EQ(r->CharFormat(6).Style, TFontStyles{fsBold});
  EXPECT_EQ(r->CharFormat(9).Size, 16);
  EXPECT_EQ(r->CharFormat(0).Size, r->Font()->Size());
  EXPECT_EQ(r->SelAttributes()->Color(), clRed);
  Integer tall = r->PosFromChar(6).Y;  // the line grew with the larger run
  EXPECT_EQ(tall, r->PosFromChar(0).Y);

  // Text typed after a run continues its format; a format chosen with no
  // selection applies to what is typed next.
  r->SetSelStart(10);
  Type("er");
  EXPECT_EQ(r->CharFormat(11).Size, 16);
  r->SelAttributes()->SetName("Courier New");
  r->SelAttributes()->SetSize(8);
  Type("!");
  EXPECT_EQ(r->CharFormat(12).Name, "Courier New");
  EXPECT_EQ(r->CharFormat(12).Size, 8);

  // Red text is drawn red.
  bool red = false;
  for (Integer x = r->PosFromChar(6).X; x < r->PosFromChar(10).X; ++x)
    for (Integer y = 0; y < 30; ++y) red = red || GetWindowPixel(r->Handle(), x, y) == clRed;
  EXPECT_TRUE(red);

  // Undo takes formats back with the text.
  Offscreen().PressKey('Z', bmCtrl);
  Pump();
  EXPECT_EQ(r->Text(), "plain bolder");
  EXPECT_EQ(r->CharFormat(6).Style, TFontStyles{fsBold});

  // The default attributes change the unformatted text.
  r->DefAttributes()->SetSize(12);
  EXPECT_EQ(r->CharFormat(0).Size, 12);
  EXPECT_EQ(r->CharFormat(6).Size, 16);
}

TEST_F(RichEditTest, PlainTextModeAndStreams) {
  Type("one");
  r->SelectAll();
  r->SelAttributes()->SetStyle({fsItalic});
  r->SetPlainText(true);
  EXPECT_EQ(r->CharFormat(0).Style, TFontStyles{});
  r->SelAttributes()->SetSize(14);  // plain text: one format for everything
  EXPECT_EQ(r->DefAttributes()->Size(), 14);
  EXPECT_EQ(r->CharFormat(2).Size, 14);

  TMemoryStream s;
  r->SetText("first\r\nzweite \xC3\xBC");
  r->SaveToStream(s);
  r->Clear();
  s.SetPosition(0);
  r->LoadFromStream(s);
  EXPECT_EQ(r->Lines()->Count(), 2);
  EXPECT_EQ(r->Lines()->Strings(1), "zweite \xC3\xBC");
  EXPECT_TRUE(r->WantReturns());
  Offscreen().PressKey(VK_RETURN);
  Pump();
  EXPECT_EQ(r->Lines()->Count(), 3);
}

}  // namespace brevant::test
