#include "graphics/font.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "graphics/text_engine.h"
#include "rtl/store_changed.h"

namespace brevant {

BV_ENUM_INFO(TFontStyle, fsBold, fsItalic, fsUnderline, fsStrikeOut)
BV_SET_INFO(TFontStyles, TFontStyle)
BV_ENUM_INFO(TFontPitch, fpDefault, fpVariable, fpFixed)

// Size is derived from Height and not stored; Height carries the size.
BV_PUBLISH(TFont, TPersistent) {
  p.Property("Charset", &TFont::Charset, &TFont::SetCharset);
  p.Property("Color", &TFont::Color, &TFont::SetColor).Type(TypeInfoTColor());
  p.Property("Height", &TFont::Height, &TFont::SetHeight);
  p.Property("Name", &TFont::Name, &TFont::SetName);
  p.Property("Pitch", &TFont::Pitch, &TFont::SetPitch).Default(fpDefault);
  p.Property("Size", &TFont::Size, &TFont::SetSize).Stored(false);
  p.Property("Style", &TFont::Style, &TFont::SetStyle).Default(TFontStyles{});
}

namespace {

// a * b / c rounded to nearest (halves away from zero), clamped to Integer.
Integer ScaleRound(Integer a, Integer b, Integer c) {
  Int64 p = Int64(a) * b;
  Int64 q = p / c, r = p % c;
  if (2 * (r < 0 ? -r : r) >= c) q += p < 0 ? -1 : 1;
  if (q < INT32_MIN) return INT32_MIN;
  if (q > INT32_MAX) return INT32_MAX;
  return static_cast<Integer>(q);
}

Integer Negate(Integer v) {
  return v == INT32_MIN ? INT32_MAX : -v;
}

}  // namespace

TFont::TFont() = default;
TFont::~TFont() = default;

void TFont::Assign(const TPersistent* source) {
  if (const TFont* f = dynamic_cast<const TFont*>(source)) {
    if (f == this) return;
    // Colour, pitch and charset do not change how text is shaped: the
    // resolved face is kept unless name, height or style change.
    const bool sameShape = name_ == f->name_ && height_ == f->height_ &&
                           pixelsPerInch_ == f->pixelsPerInch_ && style_ == f->style_;
    auto keep = textFont_;
    name_ = f->name_;
    height_ = f->height_;
    pixelsPerInch_ = f->pixelsPerInch_;
    style_ = f->style_;
    color_ = f->color_;
    pitch_ = f->pitch_;
    charset_ = f->charset_;
    Changed();
    if (sameShape) textFont_ = std::move(keep);
    return;
  }
  TPersistent::Assign(source);
}

void TFont::Changed() {
  textFont_.reset();
  OnChange(this);
}

void TFont::SetCharset(TFontCharset value) {
  if (StoreChanged(charset_, value)) Changed();
}

void TFont::SetColor(TColor value) {
  if (!StoreChanged(color_, value)) return;
  auto keep = textFont_;  // the colour does not change the shaped face
  Changed();
  textFont_ = std::move(keep);
}

void TFont::SetHeight(Integer value) {
  if (StoreChanged(height_, value)) Changed();
}

void TFont::SetName(const String& value) {
  if (value.empty() || name_ == value) return;
  name_ = value;
  Changed();
}

void TFont::SetPitch(TFontPitch value) {
  if (StoreChanged(pitch_, value)) Changed();
}

Integer TFont::Size() const {
  return Negate(ScaleRound(height_, 72, pixelsPerInch_));
}

void TFont::SetSize(Integer value) {
  SetHeight(Negate(ScaleRound(value, pixelsPerInch_, 72)));
}

void TFont::SetStyle(TFontStyles value) {
  if (StoreChanged(style_, value)) Changed();
}

void TFont::SetPixelsPerInch(Integer value) {
  if (value < 1) value = 1;
  pixelsPerInch_ = value;
}

String TFont::FamilyName() const {
  return detail::MapFontFamily(name_);
}

const detail::TTextFont& TFont::TextFont() const {
  if (!textFont_) textFont_ = detail::ResolveTextFont(name_, height_, style_);
  return *textFont_;
}

String FontFamilyOf(const String& name) {
  return detail::MapFontFamily(name);
}

std::vector<String> GetFontNames() {
  std::vector<String> names = {
      "Arial",         "Courier New",     "DejaVu Sans",     "DejaVu Sans Mono",
      "DejaVu Serif",  "Liberation Mono", "Liberation Sans", "Liberation Serif",
      "MS Sans Serif", "Tahoma",          "Times New Roman"};
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace brevant
