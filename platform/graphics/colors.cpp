#include "graphics/colors.h"

#include <cstring>

#include "classes/typinfo.h"
#include "rtl/exceptions.h"
#include "rtl/numconv.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// The fixed scheme, by system colour index ($00BBGGRR).
constexpr TColor kSysColors[COLOR_ENDCOLORS + 1] = {
    0xC8C8C8,  // COLOR_SCROLLBAR
    0x000000,  // COLOR_BACKGROUND
    0xD1B499,  // COLOR_ACTIVECAPTION
    0xDBCDBF,  // COLOR_INACTIVECAPTION
    0xF0F0F0,  // COLOR_MENU
    0xFFFFFF,  // COLOR_WINDOW
    0x646464,  // COLOR_WINDOWFRAME
    0x000000,  // COLOR_MENUTEXT
    0x000000,  // COLOR_WINDOWTEXT
    0x000000,  // COLOR_CAPTIONTEXT
    0xB4B4B4,  // COLOR_ACTIVEBORDER
    0xFCF7F4,  // COLOR_INACTIVEBORDER
    0xABABAB,  // COLOR_APPWORKSPACE
    0xD77800,  // COLOR_HIGHLIGHT
    0xFFFFFF,  // COLOR_HIGHLIGHTTEXT
    0xF0F0F0,  // COLOR_BTNFACE
    0xA0A0A0,  // COLOR_BTNSHADOW
    0x6D6D6D,  // COLOR_GRAYTEXT
    0x000000,  // COLOR_BTNTEXT
    0x544E43,  // COLOR_INACTIVECAPTIONTEXT
    0xFFFFFF,  // COLOR_BTNHIGHLIGHT
    0x696969,  // COLOR_3DDKSHADOW
    0xE3E3E3,  // COLOR_3DLIGHT
    0x000000,  // COLOR_INFOTEXT
    0xE1FFFF,  // COLOR_INFOBK
    0xB5B5B5,  // 25: unused
    0xCC6600,  // COLOR_HOTLIGHT
    0xEAD1B9,  // COLOR_GRADIENTACTIVECAPTION
    0xF2E4D7,  // COLOR_GRADIENTINACTIVECAPTION
    0xFF9933,  // COLOR_MENUHILIGHT
    0xF0F0F0,  // COLOR_MENUBAR
};

struct TColorIdent {
  TColor Value;
  const char* Name;
};

constexpr TColorIdent kIdents[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

// Aliases read but never written: clLtGray and clDkGray name clSilver and clGray.
constexpr TColorIdent kAliases[] = {{clLtGray, "clLtGray"}, {clDkGray, "clDkGray"}};

// Parses a colour number; false on anything but a whole number in range.
bool TryParseColorNumber(const String& text, TColor& color) {
  size_t b = 0, e = text.size();
  while (b < e && text[b] == ' ') ++b;
  while (e > b && text[e - 1] == ' ') --e;
  if (b == e) return false;
  bool negative = false;
  if (text[b] == '+' || text[b] == '-') {
    negative = text[b] == '-';
    ++b;
  }
  unsigned base = 10;
  if (b < e && text[b] == '$') {
    base = 16;
    ++b;
  } else if (e - b > 2 && text[b] == '0' && (text[b + 1] == 'x' || text[b + 1] == 'X')) {
    base = 16;
    b += 2;
  }
  if (b == e) return false;
  UInt64 value = 0;
  for (size_t i = b; i < e; ++i) {
    char c = text[i];
    unsigned d;
    if (c >= '0' && c <= '9')
      d = unsigned(c - '0');
    else if (base == 16 && c >= 'a' && c <= 'f')
      d = unsigned(c - 'a' + 10);
    else if (base == 16 && c >= 'A' && c <= 'F')
      d = unsigned(c - 'A' + 10);
    else
      return false;
    value = value * base + d;
    if (value > 0xFFFFFFFFull) return false;
  }
  if (negative) {
    if (value > 0x80000000ull) return false;
    color = static_cast<TColor>(-static_cast<Int64>(value));
    return true;
  }
  // Unsigned hexadecimal is a bit pattern; decimal must fit a signed 32-bit value.
  if (base == 10 && value > 0x7FFFFFFFull) return false;
  color = static_cast<TColor>(static_cast<Cardinal>(value));
  return true;
}

}  // namespace

TColor GetSysColor(Integer index) {
  if (index < 0 || index > COLOR_ENDCOLORS) return clBlack;
  return kSysColors[index];
}

TColor ColorToRGB(TColor color) {
  if (color < 0) return GetSysColor(color & 0xFF);
  return color;
}

bool ColorToIdent(TColor color, String& ident) {
  for (const auto& e : kIdents)
    if (e.Value == color) {
      ident = e.Name;
      return true;
    }
  return false;
}

bool IdentToColor(const String& ident, TColor& color) {
  for (const auto& e : kIdents)
    if (SameText(ident, e.Name)) {
      color = e.Value;
      return true;
    }
  for (const auto& e : kAliases)
    if (SameText(ident, e.Name)) {
      color = e.Value;
      return true;
    }
  return false;
}

String ColorToString(TColor color) {
  String ident;
  if (ColorToIdent(color, ident)) return ident;
  return "$" + IntToHex(static_cast<Cardinal>(color), 8);
}

TColor StringToColor(const String& text) {
  TColor color = 0;
  if (IdentToColor(text, color)) return color;
  if (TryParseColorNumber(text, color)) return color;
  throw EConvertError(res::SInvalidColor, {text});
}

void GetColorValues(const std::function<void(const String&)>& proc) {
  for (const auto& e : kIdents) proc(e.Name);
}

const TTypeInfo* TypeInfoTColor() {
  static const TTypeInfo* info = NamedType(TypeInfoOf<Integer>(), "TColor");
  return info;
}

}  // namespace brevant
