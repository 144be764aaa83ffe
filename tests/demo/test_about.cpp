// The About form read from its form text: its texts and settings, its
// pixels while shown modally (the faint lines, the navy band, the link),
// the link opening the address and the OK button closing it.
#include <gtest/gtest.h>

#include "controls/extctrls.h"
#include "controls/os_services.h"
#include "controls/stdctrls.h"
#include "controls/stdctrls_test_util.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "demo/demo_test_util.h"
#include "demo/modules/about_form.h"
#include "demo/modules/demo_modules.h"
#include "graphics/bitmap.h"
#include "graphics/font.h"
#include "graphics/picture.h"

namespace brevant::test {
namespace {

using AboutTest = DemoModulesTest;

TEST_F(AboutTest, TextsAndSettings) {
  TAboutForm* about = AboutForm();
  ASSERT_NE(about, nullptr);
  EXPECT_EQ(about->Caption(), "About Brevant");
  EXPECT_EQ(about->Color(), clWhite);
  EXPECT_EQ(about->BorderStyle(), bsDialog);
  EXPECT_EQ(about->Position(), poScreenCenter);
  EXPECT_EQ(about->lbTitle->Caption(), "Brevant component suite");
  EXPECT_EQ(about->lbText->Caption(),
            "Data-aware grid, field visions and tool forms. Demonstration application.");
  EXPECT_EQ(about->lbWeb->Caption(), "https://www.example.com/brevant");
  EXPECT_EQ(about->lbWeb->Font()->Color(), clNavy);
  EXPECT_TRUE(about->lbWeb->Font()->Style().Contains(fsUnderline));
  EXPECT_EQ(about->lbWeb->Cursor(), crHandPoint);
  EXPECT_EQ(about->pnBand->Color(), clNavy);
  EXPECT_EQ(about->pnBand->Align(), alLeft);
  EXPECT_TRUE(about->btnOK->Default());
  EXPECT_TRUE(about->btnOK->Cancel());
  EXPECT_EQ(about->btnOK->ModalResult(), mrOk);
  EXPECT_FALSE(about->imgEmblem->Picture()->Bitmap()->Empty());
}

TEST_F(AboutTest, ShownModallyPaintsLinesBandAndLinkAndClosesWithOk) {
  TAboutForm* about = AboutForm();
  bool shown = false;
  ScriptAction("ShowModal", [&](TObject* subject) {
    shown = subject == about;
    PumpMessages();
    UpdateWindow(about->Handle());
    const Integer x = about->ClientWidth() - 40;  // beside the texts
    const Integer y0 = 150;                       // below the link, above the button
    const Integer first = y0 - y0 % 3;            // a line's row
    ExpectPixels({
        {"line row", about, {x, first}, TAboutForm::kLineColor},
        {"row after a line", about, {x, first + 1}, clWhite},
        {"second row after", about, {x, first + 2}, clWhite},
        {"next line", about, {x, first + 3}, TAboutForm::kLineColor},
        {"navy band", about, {4, about->ClientHeight() - 4}, clNavy},
    });
    EXPECT_TRUE(AnyPixel(about->lbWeb, about->lbWeb->ClientRect(), clNavy));
    // A click on the button: the form's answer is OK.
    Offscreen().Click(ControlsTest::At(about->btnOK, 10, 10));
  });
  EXPECT_EQ(about->ShowModal(), mrOk);
  EXPECT_TRUE(shown);
  EXPECT_FALSE(about->Visible());
}

TEST_F(AboutTest, LinkOpensTheAddress) {
  TAboutForm* about = AboutForm();
  ScriptAction("ShowModal", [&](TObject*) {
    Offscreen().Click(ControlsTest::At(about->lbWeb, 4, 4));
    PumpMessages();
    about->SetModalResult(mrCancel);
  });
  about->ShowModal();
  ASSERT_EQ(RecordedOsRequests().size(), 1u);
  EXPECT_EQ(RecordedOsRequests()[0], "open https://www.example.com/brevant");
}

}  // namespace
}  // namespace brevant::test
