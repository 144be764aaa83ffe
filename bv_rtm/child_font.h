// TChildFont: a font overlay. Only what is set (a name, a colour other than
// clNone, styles) is applied to a real font; the rest of it stays.
#pragma once

#include "graphics/font.h"
#include "rtl/method.h"

namespace brevant {

class TChildFont;
using TChildFontChangeEvent = TEvent<void(TChildFont* font)>;

class TChildFont : public TPersistent {
  BV_CLASS(TChildFont, TPersistent)
 public:
  TChildFont() = default;

  const TFontName& Name() const { return name_; }
  void SetName(const TFontName& v);
  TColor Color() const { return color_; }
  void SetColor(TColor v);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles v);

  // From a TFont: its name, colour and style; from a TChildFont: its three
  // values. Calls OnChange once.
  void Assign(const TPersistent* source) override;
  // Sets font's name when Name is not empty, its colour when Color is not
  // clNone, adds Style (an overlay never removes a style).
  void ApplyTo(TFont& font) const;

  // Called after a change; set by the owner.
  TChildFontChangeEvent OnChange;

 private:
  void Changed();

  TFontName name_;
  TColor color_ = clNone;
  TFontStyles style_;
};

}  // namespace brevant
