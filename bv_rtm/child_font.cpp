#include "bv_rtm/child_font.h"

#include "classes/rtti_builder.h"

namespace brevant {

BV_PUBLISH(TChildFont, TPersistent) {
  p.Property("Name", &TChildFont::Name, &TChildFont::SetName);
  p.Property("Color", &TChildFont::Color, &TChildFont::SetColor)
      .Type(TypeInfoTColor())
      .Default(clNone);
  p.Property("Style", &TChildFont::Style, &TChildFont::SetStyle).Default(TFontStyles{});
}

void TChildFont::Changed() {
  if (OnChange) OnChange(this);
}

void TChildFont::SetName(const TFontName& v) {
  if (v == name_) return;
  name_ = v;
  Changed();
}

void TChildFont::SetColor(TColor v) {
  if (v == color_) return;
  color_ = v;
  Changed();
}

void TChildFont::SetStyle(TFontStyles v) {
  if (v == style_) return;
  style_ = v;
  Changed();
}

void TChildFont::Assign(const TPersistent* source) {
  if (auto* f = dynamic_cast<const TFont*>(source)) {
    name_ = f->Name();
    color_ = f->Color();
    style_ = f->Style();
  } else if (auto* c = dynamic_cast<const TChildFont*>(source)) {
    name_ = c->name_;
    color_ = c->color_;
    style_ = c->style_;
  } else {
    TPersistent::Assign(source);
    return;
  }
  Changed();
}

void TChildFont::ApplyTo(TFont& font) const {
  if (!name_.empty()) font.SetName(name_);
  if (color_ != clNone) font.SetColor(color_);
  if (!style_.Empty()) font.SetStyle(font.Style() + style_);
}

}  // namespace brevant
