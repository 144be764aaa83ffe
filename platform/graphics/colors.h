// Colours: TColor values, the system colours and their RGB scheme, and the
// colour identifiers ("clRed") used by form streams and property panels.
//
// A TColor is $00BBGGRR for an RGB value. System colours are their own range,
// $80000000 or'ed with the index of the colour (COLOR_BTNFACE ...), and are
// resolved to RGB by ColorToRGB through one fixed scheme (below), so drawing
// is the same on every machine. clNone ($1FFFFFFF) means "no colour" and
// clDefault ($20000000) "the default of whoever draws".
#pragma once

#include <functional>

#include "graphics/graphics_fwd.h"
#include "rtl/types.h"

namespace brevant {

struct TTypeInfo;

// System colour indexes.
enum : Integer {
  COLOR_SCROLLBAR = 0,
  COLOR_BACKGROUND = 1,
  COLOR_ACTIVECAPTION = 2,
  COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4,
  COLOR_WINDOW = 5,
  COLOR_WINDOWFRAME = 6,
  COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8,
  COLOR_CAPTIONTEXT = 9,
  COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11,
  COLOR_APPWORKSPACE = 12,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_INACTIVECAPTIONTEXT = 19,
  COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
  COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24,
  COLOR_HOTLIGHT = 26,
  COLOR_GRADIENTACTIVECAPTION = 27,
  COLOR_GRADIENTINACTIVECAPTION = 28,
  COLOR_MENUHILIGHT = 29,
  COLOR_MENUBAR = 30,
  COLOR_ENDCOLORS = COLOR_MENUBAR
};

inline constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);

inline constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR;
inline constexpr TColor clBackground = clSystemColor | COLOR_BACKGROUND;
inline constexpr TColor clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION;
inline constexpr TColor clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION;
inline constexpr TColor clMenu = clSystemColor | COLOR_MENU;
inline constexpr TColor clWindow = clSystemColor | COLOR_WINDOW;
inline constexpr TColor clWindowFrame = clSystemColor | COLOR_WINDOWFRAME;
inline constexpr TColor clMenuText = clSystemColor | COLOR_MENUTEXT;
inline constexpr TColor clWindowText = clSystemColor | COLOR_WINDOWTEXT;
inline constexpr TColor clCaptionText = clSystemColor | COLOR_CAPTIONTEXT;
inline constexpr TColor clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER;
inline constexpr TColor clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER;
inline constexpr TColor clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE;
inline constexpr TColor clHighlight = clSystemColor | COLOR_HIGHLIGHT;
inline constexpr TColor clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT;
inline constexpr TColor clBtnFace = clSystemColor | COLOR_BTNFACE;
inline constexpr TColor clBtnShadow = clSystemColor | COLOR_BTNSHADOW;
inline constexpr TColor clGrayText = clSystemColor | COLOR_GRAYTEXT;
inline constexpr TColor clBtnText = clSystemColor | COLOR_BTNTEXT;
inline constexpr TColor clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT;
inline constexpr TColor clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT;
inline constexpr TColor cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW;
inline constexpr TColor cl3DLight = clSystemColor | COLOR_3DLIGHT;
inline constexpr TColor clInfoText = clSystemColor | COLOR_INFOTEXT;
inline constexpr TColor clInfoBk = clSystemColor | COLOR_INFOBK;
inline constexpr TColor clHotLight = clSystemColor | COLOR_HOTLIGHT;
inline constexpr TColor clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION;
inline constexpr TColor clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION;
inline constexpr TColor clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT;
inline constexpr TColor clMenuBar = clSystemColor | COLOR_MENUBAR;

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clLtGray = 0xC0C0C0;
inline constexpr TColor clDkGray = 0x808080;
inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clMoneyGreen = 0xC0DCC0;
inline constexpr TColor clSkyBlue = 0xF0CAA6;
inline constexpr TColor clCream = 0xF0FBFF;
inline constexpr TColor clMedGray = 0xA4A0A0;

inline constexpr TColor clNone = 0x1FFFFFFF;
inline constexpr TColor clDefault = 0x20000000;

constexpr TColor RGB(Byte r, Byte g, Byte b) {
  return static_cast<TColor>(Cardinal(r) | (Cardinal(g) << 8) | (Cardinal(b) << 16));
}
constexpr Byte GetRValue(TColor c) {
  return static_cast<Byte>(Cardinal(c) & 0xFF);
}
constexpr Byte GetGValue(TColor c) {
  return static_cast<Byte>((Cardinal(c) >> 8) & 0xFF);
}
constexpr Byte GetBValue(TColor c) {
  return static_cast<Byte>((Cardinal(c) >> 16) & 0xFF);
}
constexpr bool IsSystemColor(TColor c) {
  return c < 0;
}

// The RGB value of a system colour index in the platform's fixed scheme
// (black for an unknown index). The scheme is a light, flat 3-D look:
//   clBtnFace $F0F0F0, clBtnShadow $A0A0A0, clBtnHighlight $FFFFFF,
//   cl3DLight $E3E3E3, cl3DDkShadow $696969, clBtnText black,
//   clWindow white, clWindowText black, clWindowFrame $646464,
//   clHighlight $D77800 (RGB 0,120,215), clHighlightText white,
//   clGrayText $6D6D6D, clInfoBk $E1FFFF, clInfoText black,
//   clMenu/clMenuBar $F0F0F0, clMenuText black, clMenuHighlight $FF9933,
//   clScrollBar $C8C8C8, clAppWorkSpace $ABABAB, clBackground $000000,
//   captions: active $D1B499, inactive $DBCDBF, text black / $544E43.
TColor GetSysColor(Integer index);
// A system colour becomes its RGB value; any other value is returned as it is
// (clNone and clDefault included: callers test for those first).
TColor ColorToRGB(TColor color);

// Identifiers of the named and system colours: "clRed", "clBtnFace", ...
bool ColorToIdent(TColor color, String& ident);
// Ignores case; false when the text is not a colour identifier.
bool IdentToColor(const String& ident, TColor& color);
// The identifier, or "$" with eight hexadecimal digits.
String ColorToString(TColor color);
// An identifier, or a number: decimal ("255", "-16777201") or hexadecimal
// ("$0000FF", "0xFF"), within the 32-bit range (unsigned hexadecimal
// wraps: "$80000005" is clWindow). Raises EConvertError quoting the text.
TColor StringToColor(const String& text);
// Calls proc with every colour identifier, in the fixed order of the table
// (the named colours first, then the system colours).
void GetColorValues(const std::function<void(const String&)>& proc);

// Type information of TColor: an integer type named "TColor", for
// `.Type(TypeInfoTColor())` in published-property tables.
const TTypeInfo* TypeInfoTColor();

}  // namespace brevant
