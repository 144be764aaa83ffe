// TFont: the typeface, size, style and colour text is drawn with.
//
// Size is in points, Height in pixels: a negative Height is the character
// height (the em size), a positive one the cell height (ascent plus descent),
// 0 the default height. Setting Size sets Height = -MulDiv(Size, PixelsPerInch, 72)
// with PixelsPerInch 96, so 8 pt is -11 and 9 pt -12 pixels.
//
// Names map to the installed DejaVu and Liberation faces through the text
// engine's private configuration (see FontFamilyOf): "Tahoma", "MS Sans
// Serif", "Segoe UI", "Verdana" and any unknown name use DejaVu Sans, the
// default UI face; "Arial" and "Helvetica" Liberation Sans; "Times New Roman"
// Liberation Serif; "Courier New" Liberation Mono. The default font is
// "Tahoma" 8 pt, black (clWindowText), no style.
#pragma once

#include <memory>
#include <vector>

#include "classes/typinfo.h"
#include "graphics/colors.h"
#include "rtl/method.h"
#include "rtl/persistent.h"
#include "rtl/sets.h"

namespace brevant {

enum TFontStyle : Byte { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch : Byte { fpDefault, fpVariable, fpFixed };
using TFontName = String;
using TFontCharset = Byte;

inline constexpr TFontCharset ANSI_CHARSET = 0;
inline constexpr TFontCharset DEFAULT_CHARSET = 1;
inline constexpr TFontCharset SYMBOL_CHARSET = 2;

BV_DECLARE_ENUM_INFO(TFontStyle)
BV_DECLARE_ENUM_INFO(TFontStyles)
BV_DECLARE_ENUM_INFO(TFontPitch)

namespace detail {
struct TTextFont;
}

// The default font's name and height.
inline constexpr const char* DefaultFontName = "Tahoma";
inline constexpr Integer DefaultFontHeight = -11;

class TFont : public TPersistent {
  BV_CLASS(TFont, TPersistent)
 public:
  TFont();
  ~TFont() override;

  // Copies name, height, pixels per inch, style, colour, pitch and charset
  // from another font, and fires OnChange once.
  void Assign(const TPersistent* source) override;

  TFontCharset Charset() const { return charset_; }
  void SetCharset(TFontCharset value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  Integer Height() const { return height_; }
  void SetHeight(Integer value);
  // An empty name is ignored.
  const String& Name() const { return name_; }
  void SetName(const String& value);
  TFontPitch Pitch() const { return pitch_; }
  void SetPitch(TFontPitch value);
  Integer Size() const;
  void SetSize(Integer value);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles value);
  // Used for Size <-> Height; at least 1.
  Integer PixelsPerInch() const { return pixelsPerInch_; }
  void SetPixelsPerInch(Integer value);

  // The installed face the name maps to, such as "DejaVu Sans".
  String FamilyName() const;

  // Fired after every change; the sender is the font.
  TNotifyEvent OnChange;

  // The text engine's resolved font, made on first use after a change.
  const detail::TTextFont& TextFont() const;

 protected:
  virtual void Changed();

 private:
  String name_ = DefaultFontName;
  Integer height_ = DefaultFontHeight;
  Integer pixelsPerInch_ = 96;
  TFontStyles style_;
  TColor color_ = clWindowText;
  TFontPitch pitch_ = fpDefault;
  TFontCharset charset_ = DEFAULT_CHARSET;
  mutable std::shared_ptr<const detail::TTextFont> textFont_;
};

// The installed family a font name maps to ("Tahoma" -> "DejaVu Sans").
String FontFamilyOf(const String& name);
// The font names offered to users (the classic names the suite uses and the
// installed faces), sorted.
std::vector<String> GetFontNames();

}  // namespace brevant
