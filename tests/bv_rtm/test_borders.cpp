#include <gtest/gtest.h>

#include "bv_rtm/draw_helpers.h"
#include "bv_rtm/misc.h"
#include "controls/forms.h"
#include "controls/wincore.h"
#include "rtm_test_util.h"

using namespace brevant;

namespace {

class TBorderBox : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  TznBorderStyle Kind = bsNoBorder;
  bool Inset = false;
  std::vector<std::pair<Word, LPARAM>> keys;

 protected:
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_KEYDOWN) keys.push_back({Word(m.WParam), m.LParam});
    TCustomControl::WndProc(m);
    if (m.Msg == WM_NCCALCSIZE) BorderCalcSize(Kind, *reinterpret_cast<TRect*>(m.LParam));
    if (m.Msg == WM_NCPAINT) BorderPaint(Kind, this, Inset);
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clLime);
    Canvas()->FillRect(ClientRect());
  }
};

class BorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    rtmtest::Offscreen();
    form = Create<TForm>(nullptr);
    form->SetBounds(100, 100, 200, 150);
    form->SetColor(clRed);
  }
  void TearDown() override {
    TObject::Free(form);
    PumpMessages();
  }
  TBorderBox* Box(TznBorderStyle kind, TColor color = clYellow) {
    auto* b = Create<TBorderBox>(form);
    b->Kind = kind;
    b->SetColor(color);
    b->SetBounds(10, 10, 20, 20);
    b->SetParent(form);
    form->Show();
    PumpMessages();
    return b;
  }
  // A pixel of the box's window (window coordinates) as the form shows it.
  TColor At(TBorderBox* b, Integer x, Integer y) {
    return TColor(GetWindowPixel(form->Handle(), b->Left() + x, b->Top() + y));
  }
  TForm* form = nullptr;
};

}  // namespace

TEST_F(BorderTest, CalcSizeAndInset) {
  for (TznBorderStyle k :
       {bsNoBorder, bs3D, bsSoft, bsSoftExt, bsFlat, bsFlatExt, bsMono, bsMonoExt}) {
    TRect r(0, 0, 20, 20);
    BorderCalcSize(k, r);
    const Integer d = k < bsSoft ? 0 : (k == bsSoftExt || k == bsFlatExt || k == bsMonoExt) ? 2 : 1;
    EXPECT_EQ(r, Rect(d, d, 20 - d, 20 - d)) << int(k);
  }
  EXPECT_EQ(BorderInset(bsNoBorder), 2);
  EXPECT_EQ(BorderInset(bsSoft), 1);
  EXPECT_EQ(BorderInset(bsFlat), 1);
  EXPECT_EQ(BorderInset(bsMono), 1);
  EXPECT_EQ(BorderInset(bs3D), 0);
  EXPECT_EQ(BorderInset(bsFlatExt), 0);
  auto* b = Box(bsFlatExt);
  EXPECT_EQ(b->ClientWidth(), 16);
  EXPECT_EQ(b->ClientHeight(), 16);
}

TEST_F(BorderTest, PaintsTheKinds) {
  auto* soft = Box(bsSoftExt);
  EXPECT_EQ(At(soft, 0, 5), TColor(0xA0A0A0)) << "sunken outer: shadow top-left";
  EXPECT_EQ(At(soft, 19, 5), clWhite) << "highlight bottom-right";
  EXPECT_EQ(At(soft, 1, 5), TColor(0xE3E3E3)) << "cl3DLight inner frame";
  EXPECT_EQ(At(soft, 2, 5), clLime) << "client area";
  soft->Free();
  auto* flat = Box(bsFlatExt, clYellow);
  EXPECT_EQ(At(flat, 0, 5), TColor(0xA0A0A0));
  EXPECT_EQ(At(flat, 19, 5), TColor(0xA0A0A0)) << "flat: one colour";
  EXPECT_EQ(At(flat, 1, 5), clYellow) << "the control's colour inside";
  flat->Free();
  auto* mono = Box(bsMono);
  EXPECT_EQ(At(mono, 0, 5), TColor(0x646464)) << "clWindowFrame";
  EXPECT_EQ(At(mono, 19, 19), TColor(0x646464));
  EXPECT_EQ(At(mono, 1, 5), clLime);
}

TEST_F(BorderTest, ScreenshotParentsAndKeys) {
  auto* b = Box(bsNoBorder);
  TObjectPtr<TBitmap> shot(ControlScreenshot(b));
  ASSERT_EQ(shot->Width(), 20);
  ASSERT_EQ(shot->Height(), 20);
  EXPECT_EQ(shot->Canvas()->Pixels(0, 0), clLime);
  EXPECT_EQ(shot->Canvas()->Pixels(19, 19), clLime);
  TObjectPtr<TBorderBox> loose(Create<TBorderBox>(nullptr));
  TObjectPtr<TBitmap> none(ControlScreenshot(loose.get()));
  EXPECT_TRUE(none->Empty());
  EXPECT_TRUE(IsParentOf(form, b));
  EXPECT_FALSE(IsParentOf(b, b));
  EXPECT_FALSE(IsParentOf(b, form));
  SendKeyDown(b, VK_F4, TShiftState{ssAlt});
  SendKeyDown(b, VK_DOWN, TShiftState{ssShift});
  ASSERT_EQ(b->keys.size(), 2u);
  EXPECT_EQ(b->keys[0].first, VK_F4);
  EXPECT_NE(b->keys[0].second & (LPARAM(1) << 29), 0);
  EXPECT_EQ(b->keys[1].second & (LPARAM(1) << 29), 0);
}
