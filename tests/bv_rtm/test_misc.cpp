#include <gtest/gtest.h>

#include "bv_rtm/misc.h"
#include "controls/wincore.h"
#include "rtl/format_settings.h"
#include "rtm_test_util.h"

using namespace brevant;

TEST(ShadeColor, GivesTheStatedChannels) {
  // White: red 256-255=1 div 4 = 0 -> 255-81 = 174; green 255+3*(31-31)-77 = 178;
  // blue 255 + 0 - 53 = 202.
  EXPECT_EQ(ShadeColor(clWhite), RGB(174, 178, 202));
  // Black: red 0+64-81 < 0 -> 0; green 0+11 = 11; blue round(91.07)=91 - 53 = 38.
  EXPECT_EQ(ShadeColor(clBlack), RGB(0, 11, 38));
  // Blue 248: (255-248)/2.8 = 2.5 rounds to 2; blue 10: 87.5 rounds to 88.
  EXPECT_EQ(GetBValue(ShadeColor(RGB(0, 0, 248))), 248 + 2 - 53);
  EXPECT_EQ(GetBValue(ShadeColor(RGB(0, 0, 10))), 10 + 88 - 53);
  // Green either side of 48: 47 -> 47+11-11 = 47; 48 -> 48+3*(31-6)-77 = 46.
  EXPECT_EQ(GetGValue(ShadeColor(RGB(0, 47, 0))), 47);
  EXPECT_EQ(GetGValue(ShadeColor(RGB(0, 48, 0))), 46);
  // Red 100: 100 + 156 div 4 - 81 = 58.
  EXPECT_EQ(GetRValue(ShadeColor(RGB(100, 0, 0))), 58);
  // System colours are resolved first (clBtnFace is $F0F0F0).
  EXPECT_EQ(ShadeColor(clBtnFace), ShadeColor(RGB(0xF0, 0xF0, 0xF0)));
}

TEST(Variants, NullnessAndSameness) {
  EXPECT_TRUE(IsNullVariant(Variant()));
  EXPECT_TRUE(IsNullVariant(Null()));
  EXPECT_FALSE(IsNullVariant(Variant(0)));
  EXPECT_FALSE(IsNullVariant(Variant(String())));
  EXPECT_TRUE(SameVariants(Null(), Variant()));
  EXPECT_FALSE(SameVariants(Null(), Variant(0)));
  EXPECT_FALSE(SameVariants(Variant(0), Variant()));
  EXPECT_TRUE(SameVariants(Variant(5), Variant(5.0)));
  EXPECT_FALSE(SameVariants(Variant("5"), Variant(5)));
  EXPECT_TRUE(SameVariants(VarArrayOf({1, String("a")}), VarArrayOf({1, String("a")})));
  EXPECT_FALSE(SameVariants(VarArrayOf({1, String("a")}), VarArrayOf({1, String("b")})));
  EXPECT_FALSE(SameVariants(VarArrayOf({1}), VarArrayOf({1, 2})));
}

TEST(SmallHelpers, NumbersAndMoveTargets) {
  EXPECT_EQ(Max(3, 7), 7);
  Integer a = 4;
  RaiseToAtLeast(a, 2);
  EXPECT_EQ(a, 4);
  RaiseToAtLeast(a, 9);
  EXPECT_EQ(a, 9);
  EXPECT_EQ(Sign(0), 1);
  EXPECT_EQ(Sign(-5), -1);
  EXPECT_EQ(SignF(0.0), 1);
  EXPECT_EQ(SignF(-0.5), -1);
  Integer x = 1, y = 2;
  Swap(x, y);
  EXPECT_EQ(x, 2);
  EXPECT_EQ(y, 1);
  EXPECT_EQ(MoveTargetIndex(1, 4, 6, true), 3);
  EXPECT_EQ(MoveTargetIndex(4, 1, 6, false), 2);
  EXPECT_EQ(MoveTargetIndex(4, 1, 6, true), 1);
  EXPECT_EQ(MoveTargetIndex(1, 4, 6, false), 4);
  EXPECT_EQ(MoveTargetIndex(3, 5, 6, false), 5) << "after the last stays at the last";
  EXPECT_EQ(MoveTargetIndex(3, 0, 6, true), 0);
}

TEST(SmallHelpers, InputAndLocale) {
  EXPECT_EQ(ShiftStateToMouseKeys(TShiftState{}), 0u);
  EXPECT_EQ(ShiftStateToMouseKeys(TShiftState{ssShift, ssCtrl, ssLeft, ssRight, ssMiddle, ssAlt}),
            WPARAM(MK_SHIFT | MK_CONTROL | MK_LBUTTON | MK_RBUTTON | MK_MBUTTON));
  TFormatSettingsGuard guard;
  FormatSettings().FirstDayOfWeek = 6;  // Sunday
  EXPECT_EQ(FirstDayOfWeek(), 1);
  FormatSettings().FirstDayOfWeek = 0;  // Monday
  EXPECT_EQ(FirstDayOfWeek(), 2);
  FormatSettings().FirstDayOfWeek = 5;  // Saturday
  EXPECT_EQ(FirstDayOfWeek(), 7);
  rtmtest::Offscreen().KeyDown(VK_SHIFT);
  TMsg m;
  while (PeekMessage(m, 0, 0, 0, PM_REMOVE)) DispatchMessage(m);
  EXPECT_TRUE(IsKeyDown(VK_SHIFT));
  rtmtest::Offscreen().KeyUp(VK_SHIFT);
  while (PeekMessage(m, 0, 0, 0, PM_REMOVE)) DispatchMessage(m);
  EXPECT_FALSE(IsKeyDown(VK_SHIFT));
}
