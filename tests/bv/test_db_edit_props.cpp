// The edit's platform properties: the window region of each border kind,
// AutoSize over fonts, borders and glyphs, right-to-left faces and button
// side, the frameless button, and the properties written with the form.
#include <gtest/gtest.h>

#include "bv/db_text.h"
#include "bv/tabulon.h"
#include "classes/formstream.h"
#include "classes/typinfo.h"
#include "controls/wincore.h"
#include "edit_test_util.h"
#include "graphics/bitmap.h"
#include "graphics/font.h"
#include "rtl/streams.h"

namespace brevant::test {
namespace {

class EditPropsTest : public ButtonEditTest {
 protected:
  // A pixel of the screen as the form's surface shows it.
  TColor ScreenPx(TPoint p) {
    const TRect native = Offscreen().NativeBounds(Native());
    return Offscreen().Pixel(Native(), p.X - native.Left, p.Y - native.Top);
  }
  // A point of the edit's window (frame included), on the screen.
  TPoint InWindow(Integer x, Integer y) {
    return form->ClientToScreen({edit->Left() + x, edit->Top() + y});
  }
  // Whether any pixel of the client's left or right half differs from the
  // background.
  bool InkIn(bool rightHalf) {
    const Integer w = edit->ClientWidth(), h = edit->ClientHeight();
    const TColor back = Px(edit, 0, h - 1);
    for (Integer x = rightHalf ? w / 2 : 0; x < (rightHalf ? w : w / 2); ++x)
      for (Integer y = 0; y < h; ++y)
        if (Px(edit, x, y) != back) return true;
    return false;
  }
};

TEST_F(EditPropsTest, RegionCutsOffTheEdgeOfTheBorderKind) {
  struct Row {
    const char* name;
    TznBorderStyle border;
    Integer inset;  // pixels of the edge the parent shows through
  };
  const Row rows[] = {{"3-D", bs3D, 0},    {"none", bsNoBorder, 2}, {"soft", bsSoft, 1},
                      {"flat", bsFlat, 1}, {"mono", bsMono, 1},     {"soft ext", bsSoftExt, 0}};
  form->SetColor(clLime);
  AddEdit("Name");
  AddEdit("ID", Bounds(10, 40, 120, 21));
  Show();
  const TColor lime = ColorToRGB(clLime);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    edit->SetBorderStyle(row.border);
    Pump();
    const Integer mid = edit->Height() / 2;
    for (Integer x = 0; x < row.inset; ++x) {
      EXPECT_EQ(lime, ScreenPx(InWindow(x, mid))) << x;
      EXPECT_EQ(lime, ScreenPx(InWindow(edit->Width() - 1 - x, mid))) << x;
    }
    EXPECT_NE(lime, ScreenPx(InWindow(row.inset, mid)));
    // Clicks on the cut-off edge reach the parent, not the edit.
    const HWND hit = WindowFromPoint(InWindow(0, mid));
    EXPECT_EQ(row.inset > 0 ? form->Handle() : edit->Handle(), hit);
  }
}

TEST_F(EditPropsTest, AutoSizeFollowsFontBorderAndGlyph) {
  struct Row {
    const char* name;
    Integer size;
    TznBorderStyle border;
  };
  const Row rows[] = {{"8pt 3-D", 8, bs3D},
                      {"14pt 3-D", 14, bs3D},
                      {"14pt none", 14, bsNoBorder},
                      {"10pt flat ext", 10, bsFlatExt},
                      {"20pt mono", 20, bsMono}};
  Build(pbsCustom);
  TObjectPtr<TCanvas> measure(Create<TCanvas>());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    edit->SetBorderStyle(row.border);
    edit->Font()->SetSize(row.size);
    Pump();
    measure->SetFont(edit->Font());
    // Every kind keeps 2 pixels of frame a side (region, frame, edge).
    EXPECT_EQ(measure->TextHeight("Wg") + 3 + 4, edit->Height());
    EXPECT_EQ(edit->Height() - 4, edit->ClientHeight());
  }
  // A glyph taller than the line makes room for itself.
  TObjectPtr<TBitmap> glyph(Create<TBitmap>());
  glyph->SetSize(12, 40);
  vision->SetButtonGlyph(glyph.get());
  Pump();
  EXPECT_EQ(40 + 4 + 4, edit->Height());
  edit->SetAutoSize(false);
  edit->SetHeight(30);
  edit->Font()->SetSize(30);
  EXPECT_EQ(30, edit->Height());
}

TEST_F(EditPropsTest, RightToLeftMirrorsTheFaceTheTextAndTheButtonSide) {
  struct Row {
    const char* name;
    TBiDiMode mode;
    bool buttonLeft;  // the strip stands at the left edge
    bool inkRight;    // the left-aligned text stands at the right
  };
  const Row rows[] = {{"ltr", bdLeftToRight, false, false},
                      {"rtl", bdRightToLeft, true, true},
                      {"no align", bdRightToLeftNoAlign, true, false}};
  Build(pbsEllipsis);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    form->SetBiDiMode(row.mode);
    other->SetFocus();
    Pump();
    const TRect strip = edit->ButtonRect();
    EXPECT_EQ(row.buttonLeft ? 0 : edit->ClientWidth(), row.buttonLeft ? strip.Right : strip.Left);
    EXPECT_EQ(116, edit->ClientWidth() + strip.Width());
    // The painted face, then the native edit after a press of the button.
    EXPECT_EQ(row.inkRight, InkIn(true));
    EXPECT_EQ(!row.inkRight, InkIn(false));
    Offscreen().Click(At(edit, (strip.Left + strip.Right) / 2, strip.Height() / 2));
    Pump();
    EXPECT_TRUE(edit->EditState());
    EXPECT_EQ("click 1", vision->Take());
    Key(VK_END);
    EXPECT_EQ(row.inkRight, InkIn(true));
    EXPECT_EQ(!row.inkRight, InkIn(false));
  }
}

TEST_F(EditPropsTest, FramelessButtonDrawsNoFrameOfItsOwn) {
  struct Row {
    const char* name;
    TznBorderStyle border;
    TColor corner;  // the strip's top-left pixel
  };
  const Row rows[] = {{"soft: flat frame", bsSoft, clWindow},
                      {"soft ext: flat frame", bsSoftExt, clWindow},
                      {"none: frameless", bsNoBorder, clBtnFace},
                      {"flat: frameless", bsFlat, clBtnFace},
                      {"mono ext: frameless", bsMonoExt, clBtnFace}};
  Build(pbsEllipsis);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    edit->SetBorderStyle(row.border);
    Pump();
    const TRect strip = edit->ButtonRect();
    EXPECT_EQ(ColorToRGB(row.corner), ScreenPx(At(edit, strip.Left, strip.Top)));
    EXPECT_EQ(ColorToRGB(clBtnFace), ScreenPx(At(edit, strip.Left + 1, strip.Top + 1)));
    // Held down, the inside shows inverted; the corner keeps its colour.
    Offscreen().MouseDown(At(edit, strip.Left + 3, strip.Top + 3));
    Pump();
    EXPECT_EQ(ColorToRGB(row.corner), ScreenPx(At(edit, strip.Left, strip.Top)));
    EXPECT_NE(ColorToRGB(clBtnFace), ScreenPx(At(edit, strip.Left + 1, strip.Top + 1)));
    Offscreen().MouseUp(At(edit, strip.Left + 3, strip.Top + 3));
    Pump();
    vision->Take();
  }
}

TEST_F(EditPropsTest, PlatformPropertiesStreamWithTheForm) {
  RegisterDBEditClasses();
  RegisterTextDisplayClasses();
  TObjectPtr<TForm> owner(Create<TForm>(nullptr));
  owner->SetName("Owner");
  auto* e = Create<TDBQuentaEdit>(owner.get());
  e->SetName("Edit1");
  e->SetParent(owner.get());
  e->SetBiDiMode(bdRightToLeft);
  e->SetImeMode(imOpen);
  e->SetImeName("Pinyin");
  e->SetAutoSize(false);
  e->SetHeight(33);
  auto* t = Create<TDBQuentaText>(owner.get());
  t->SetName("Text1");
  t->SetParent(owner.get());
  t->SetImeName("Kana");
  owner->SetBiDiMode(bdRightToLeftNoAlign);
  TStringStream out("");
  WriteComponentText(out, owner.get());
  const String text = out.DataString();
  for (const char* line : {"BiDiMode = bdRightToLeft\r", "ImeMode = imOpen", "ImeName = 'Pinyin'",
                           "AutoSize = False", "ImeName = 'Kana'"})
    EXPECT_NE(String::npos, text.find(line)) << line;

  TStringStream in(text);
  TObjectPtr<TForm> copy(Create<TForm>(nullptr));
  ReadComponent(in, copy.get());
  auto* e2 = dynamic_cast<TDBQuentaEdit*>(copy->FindComponent("Edit1"));
  auto* t2 = dynamic_cast<TDBQuentaText*>(copy->FindComponent("Text1"));
  ASSERT_TRUE(e2 && t2);
  EXPECT_EQ(bdRightToLeft, e2->BiDiMode());
  EXPECT_EQ(imOpen, e2->ImeMode());
  EXPECT_EQ("Pinyin", e2->ImeName());
  EXPECT_FALSE(e2->AutoSize());
  EXPECT_EQ(33, e2->Height());
  EXPECT_TRUE(t2->ParentBiDiMode());
  EXPECT_EQ(bdRightToLeftNoAlign, t2->BiDiMode());
  EXPECT_EQ("Kana", t2->ImeName());
  // The grid publishes the two modes too.
  for (const char* prop : {"BiDiMode", "ParentBiDiMode"})
    EXPECT_NE(nullptr, GetPropInfo(TDBTabulon::StaticClass(), prop)) << prop;
}

}  // namespace
}  // namespace brevant::test
