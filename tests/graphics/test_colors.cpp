#include <gtest/gtest.h>

#include "classes/typinfo.h"
#include "graphics/colors.h"
#include "graphics/pen_brush.h"
#include "rtl/exceptions.h"

using namespace brevant;

TEST(Colors, SystemColoursResolveThroughTheFixedScheme) {
  EXPECT_EQ(ColorToRGB(clBtnFace), 0xF0F0F0);
  EXPECT_EQ(ColorToRGB(clWindow), clWhite);
  EXPECT_EQ(ColorToRGB(clWindowText), clBlack);
  EXPECT_EQ(ColorToRGB(clHighlight), 0xD77800);
  EXPECT_EQ(ColorToRGB(clInfoBk), 0xE1FFFF);
  EXPECT_EQ(ColorToRGB(clInfoText), clBlack);
  EXPECT_EQ(ColorToRGB(clBtnShadow), 0xA0A0A0);
  // RGB values and the special values pass unchanged.
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456);
  EXPECT_EQ(ColorToRGB(clNone), clNone);
  EXPECT_EQ(ColorToRGB(clDefault), clDefault);
  EXPECT_EQ(clWindow, static_cast<TColor>(0x80000005u));
  EXPECT_EQ(GetSysColor(-1), clBlack);
  EXPECT_EQ(GetSysColor(99), clBlack);
  EXPECT_EQ(RGB(1, 2, 3), 0x030201);
  EXPECT_EQ(GetRValue(0x030201), 1);
  EXPECT_EQ(GetGValue(0x030201), 2);
  EXPECT_EQ(GetBValue(0x030201), 3);
}

TEST(Colors, EveryIdentifierRoundTrips) {
  std::vector<String> idents;
  GetColorValues([&](const String& s) { idents.push_back(s); });
  ASSERT_EQ(idents.size(), 52u);
  EXPECT_EQ(idents.front(), "clBlack");
  for (const String& ident : idents) {
    TColor c = StringToColor(ident);
    EXPECT_EQ(ColorToString(c), ident);
    String back;
    ASSERT_TRUE(ColorToIdent(c, back));
    EXPECT_EQ(back, ident);
  }
  EXPECT_EQ(StringToColor("clRed"), 0x0000FF);
  EXPECT_EQ(StringToColor("CLRED"), clRed);
  EXPECT_EQ(StringToColor("clLtGray"), clSilver);  // alias, written as clSilver
  EXPECT_EQ(ColorToString(clLtGray), "clSilver");
  EXPECT_EQ(ColorToString(clNone), "clNone");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(ColorToString(static_cast<TColor>(0x80000063u)), "$80000063");
}

TEST(Colors, NumbersReadAsNumbersAndJunkIsRefused) {
  EXPECT_EQ(StringToColor("255"), 255);
  EXPECT_EQ(StringToColor("$0000FF"), clRed);
  EXPECT_EQ(StringToColor("0xFF0000"), clBlue);
  EXPECT_EQ(StringToColor(" 16 "), 16);
  EXPECT_EQ(StringToColor("$80000005"), clWindow);
  EXPECT_EQ(StringToColor("-2147483643"), clWindow);
  EXPECT_EQ(StringToColor("$FFFFFFFF"), -1);
  EXPECT_EQ(StringToColor(ColorToString(0x00ABCDEF)), 0x00ABCDEF);
  for (const char* bad :
       {"", "$", "clBogus", "12x", "2147483648", "$100000000", "-2147483649", "0x", "--1", "1.5"}) {
    try {
      StringToColor(bad);
      ADD_FAILURE() << "accepted '" << bad << "'";
    } catch (const EConvertError& e) {
      EXPECT_NE(e.Message().find(String("'") + bad + "'"), String::npos) << e.Message();
    }
  }
  TColor c = 7;
  EXPECT_FALSE(IdentToColor("255", c));
  EXPECT_EQ(c, 7);
}

TEST(Colors, TypeInfoNamesTColor) {
  const TTypeInfo* t = TypeInfoTColor();
  EXPECT_EQ(t->Name, "TColor");
  EXPECT_EQ(t->Kind, tkInteger);
  EXPECT_EQ(TypeInfoTColor(), t);
  const TPropInfo* p = GetPropInfo(TPen::StaticClass(), "Color");
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->PropType->Name, "TColor");
  EXPECT_EQ(p->Default, clBlack);
  TObjectPtr<TBrush> brush = MakeObject<TBrush>();
  SetOrdProp(brush.get(), GetPropInfo(brush.get(), "Color"), clRed);
  EXPECT_EQ(brush->Color(), clRed);
}
