// The hint machinery and THintWindow.
#include "controls/forms_test_util.h"
#include "controls/hintwindow.h"
#include "controls/wincore.h"

namespace brevant::test {

namespace {
// A control whose CM_HINTSHOW handler edits or refuses the hint.
class THintProbe : public TProbe {
 public:
  using TProbe::TProbe;
  String Override;
  bool Refuse = false;
  Integer Pause = -1;
  Integer Asked = 0;
  Integer HideTimeout = -1;
  bool SmallRect = false;

 protected:
  void Dispatch(TMessage& m) override {
    if (m.Msg == CM_HINTSHOW) {
      ++Asked;
      auto* info = reinterpret_cast<THintInfo*>(m.LParam);
      if (!Override.empty()) info->HintStr = Override;
      if (HideTimeout >= 0) info->HideTimeout = HideTimeout;
      if (SmallRect)
        info->CursorRect = Rect(info->CursorPos.X - 4, info->CursorPos.Y - 4, info->CursorPos.X + 4,
                                info->CursorPos.Y + 4);
      m.Result = Refuse ? 1 : 0;
      return;
    }
    if (m.Msg == CM_HINTSHOWPAUSE && Pause >= 0) {
      *reinterpret_cast<Integer*>(m.LParam) = Pause;
      return;
    }
    TProbe::Dispatch(m);
  }
};
}  // namespace

class HintsTest : public FormsTest {
 protected:
  void SetUp() override {
    FormsTest::SetUp();
    probe = Create<THintProbe>(form);
    probe->SetName("H");
    probe->SetBounds(10, 10, 100, 60);
    probe->SetParent(form);
    probe->SetHint("Vendor name");
    probe->SetShowHint(true);
    other = AddProbe(form, "O", Rect(150, 10, 250, 70));
    form->Show();
    Pump();
    Application();
  }
  bool HintShown() const { return Application()->HintWindow() != nullptr; }
  void MoveTo(TControl* c, Integer x, Integer y) {
    Offscreen().MouseMove(c->ClientToScreen({x, y}));
    Pump();
  }
  THintProbe* probe = nullptr;
  TProbe* other = nullptr;
};

TEST_F(HintsTest, HintShowsAfterThePauseAndHidesOnLeavingOrTimeout) {
  MoveTo(probe, 20, 20);
  Wait(499);
  EXPECT_FALSE(HintShown());
  Wait(1);
  ASSERT_TRUE(HintShown());
  THintWindow* hw = Application()->HintWindow();
  EXPECT_EQ(hw->Caption(), "Vendor name");
  // Below the pointer, painted in the info colour, never active.
  TPoint at = probe->ClientToScreen({20, 20});
  EXPECT_EQ(hw->Left(), at.X);
  EXPECT_EQ(hw->Top(), at.Y + 20);
  EXPECT_EQ(GetWindowPixel(hw->WindowHandle(), 1, 1), ColorToRGB(clInfoBk));
  EXPECT_TRUE(form->Active());
  EXPECT_EQ(Offscreen().Params(GetNativeWindow(hw->WindowHandle())).Kind, nwkTooltip);

  // Moving inside the control keeps it; leaving the control hides it.
  MoveTo(probe, 40, 30);
  EXPECT_TRUE(HintShown());
  MoveTo(other, 5, 5);  // no ShowHint there
  EXPECT_FALSE(HintShown());
  Wait(1000);
  EXPECT_FALSE(HintShown());

  // After HintHidePause the hint goes and does not come back while the
  // pointer stays in the cursor rectangle.
  MoveTo(probe, 20, 20);
  Wait(500);
  ASSERT_TRUE(HintShown());
  Wait(2500);
  EXPECT_FALSE(HintShown());
  MoveTo(probe, 25, 25);
  Wait(1000);
  EXPECT_FALSE(HintShown());

  // A press hides the hint.
  MoveTo(other, 5, 5);
  MoveTo(probe, 20, 20);
  Wait(500);
  ASSERT_TRUE(HintShown());
  Offscreen().MouseDown(probe->ClientToScreen({20, 20}));
  Pump();
  EXPECT_FALSE(HintShown());
  Offscreen().MouseUp(probe->ClientToScreen({20, 20}));
  Pump();
}

TEST_F(HintsTest, TheControlEditsRefusesOrEmptiesTheHint) {
  probe->Override = "Clipped title";
  probe->Pause = 100;      // CM_HINTSHOWPAUSE changes the pause
  probe->HideTimeout = 0;  // never hides by time
  probe->SmallRect = true;
  MoveTo(probe, 20, 20);
  Wait(100);
  ASSERT_TRUE(HintShown());
  EXPECT_EQ(Application()->HintWindow()->Caption(), "Clipped title");
  Wait(10000);
  EXPECT_TRUE(HintShown());
  // Leaving the 8x8 cursor rectangle asks again after the short pause.
  MoveTo(probe, 30, 20);
  EXPECT_FALSE(HintShown());
  Integer asked = probe->Asked;
  Wait(Application()->HintShortPause());
  EXPECT_TRUE(HintShown());
  EXPECT_EQ(probe->Asked, asked + 1);

  probe->Refuse = true;
  MoveTo(probe, 50, 40);
  Wait(500);
  EXPECT_FALSE(HintShown());

  // An empty text shows nothing; the control's own text comes back.
  probe->Refuse = false;
  probe->Override.clear();
  probe->SetHint("");
  MoveTo(probe, 60, 40);
  Wait(1000);
  EXPECT_FALSE(HintShown());
  Application()->SetShowHint(false);
  probe->SetHint("Back");
  MoveTo(probe, 70, 40);
  Wait(1000);
  EXPECT_FALSE(HintShown());
}

TEST_F(HintsTest, HintWindowWorksStandaloneAsAPrompt) {
  auto* prompt = Create<THintWindow>(form);
  TRect r = prompt->CalcHintRect(200, "Search: ven", nullptr);
  EXPECT_GT(r.Width(), 40);
  EXPECT_LT(r.Width(), 200);
  EXPECT_GT(r.Height(), 10);
  TRect longer = prompt->CalcHintRect(60, "Search for a long vendor name here", nullptr);
  EXPECT_LE(longer.Width(), 60 + 10);      // text width plus margins and frame
  EXPECT_GT(longer.Height(), r.Height());  // wrapped
  OffsetRect(r, 300, 300);
  prompt->ActivateHint(r, "Search: ven");
  Pump();
  EXPECT_TRUE(prompt->IsHintShown());
  EXPECT_EQ(prompt->BoundsRect(), r);
  EXPECT_TRUE(form->Active());
  prompt->ReleaseHandle();
  EXPECT_FALSE(prompt->IsHintShown());
}

}  // namespace brevant::test
