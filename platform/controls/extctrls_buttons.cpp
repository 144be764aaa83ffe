// TSpeedButton and the button layout shared with tool buttons.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "classes/rtti_builder.h"
#include "controls/extctrls.h"
#include "controls/stdctrls.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"

namespace brevant {

namespace {

std::uint32_t ToPixel(TColor color) {
  const TColor c = ColorToRGB(color);
  return (std::uint32_t(GetRValue(c)) << 16) | (std::uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

// The halftone of a button that stays down.
void DitherRect(TCanvas* canvas, const TRect& r) {
  for (Integer y = r.Top; y < r.Bottom; ++y)
    for (Integer x = r.Left + ((y + r.Left) & 1); x < r.Right; x += 2)
      canvas->SetPixels(x, y, clBtnHighlight);
}

}  // namespace

void CalcButtonLayout(TCanvas* canvas, const TRect& client, TPoint offset, const String& caption,
                      TSize glyphSize, TButtonLayout layout, Integer margin, Integer spacing,
                      TPoint& glyphPos, TRect& textBounds) {
  TSize text(0, 0);
  if (!caption.empty()) {
    TRect calc = Rect(0, 0, 0, 0);
    canvas->DrawText(caption, calc, DT_SINGLELINE | DT_CALCRECT);
    text = TSize(calc.Width(), calc.Height());
  }
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  const Integer avail = horizontal ? client.Width() : client.Height();
  const Integer g = horizontal ? glyphSize.cx : glyphSize.cy;
  const Integer t = horizontal ? text.cx : text.cy;
  if (g == 0 || t == 0) spacing = 0;
  if (margin == -1) {
    if (spacing == -1) {
      margin = (avail - g - t) / 3;
      spacing = margin;
    } else {
      margin = (avail - g - spacing - t) / 2;
    }
  } else if (spacing == -1) {
    spacing = (avail - margin - g - t) / 2;
  }
  // Along the axis: glyph and text in the layout's order; across it: centred.
  Integer glyphAt, textAt;
  if (layout == blGlyphLeft || layout == blGlyphTop) {
    glyphAt = margin;
    textAt = margin + g + spacing;
  } else {
    glyphAt = avail - margin - g;
    textAt = glyphAt - spacing - t;
  }
  if (horizontal) {
    glyphPos = {client.Left + glyphAt, client.Top + (client.Height() - glyphSize.cy) / 2};
    textBounds = Bounds(client.Left + textAt, client.Top + (client.Height() - text.cy) / 2, text.cx,
                        text.cy);
  } else {
    glyphPos = {client.Left + (client.Width() - glyphSize.cx) / 2, client.Top + glyphAt};
    textBounds =
        Bounds(client.Left + (client.Width() - text.cx) / 2, client.Top + textAt, text.cx, text.cy);
  }
  glyphPos.X += offset.X;
  glyphPos.Y += offset.Y;
  OffsetRect(textBounds, offset.X, offset.Y);
}

// ---- TSpeedButton --------------------------------------------------------------------------

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner) {
  // The click comes from MouseUp, after Down has changed; a quick second
  // press is another press, not a double click.
  controlStyle_ = {csCaptureMouse};
  glyph_ = Create<TBitmap>();
  glyph_->OnChange = TNotifyEvent::Of<&TSpeedButton::GlyphChanged>(this);
  width_ = 23;
  height_ = 22;
  SetParentColor(true);
}

TSpeedButton::~TSpeedButton() {
  TObject::Free(glyph_);
}

TButtonState TSpeedButton::State() const {
  if (!Enabled()) return bsDisabled;
  if (press_.Pressed) return bsDown;
  if (down_) return bsExclusive;
  return bsUp;
}

void TSpeedButton::Click() {
  TGraphicControl::Click();
}

void TSpeedButton::SetGlyph(TBitmap* value) {
  glyph_->Assign(value);
}

void TSpeedButton::GlyphChanged(TObject*) {
  // A strip of square images tells how many it holds.
  if (!IsLoading() && !glyph_->Empty() && glyph_->Width() % glyph_->Height() == 0) {
    Integer n = glyph_->Width() / glyph_->Height();
    if (n >= 1 && n <= 4) numGlyphs_ = n;
  }
  Invalidate();
}

void TSpeedButton::SetNumGlyphs(TNumGlyphs value) {
  value = std::clamp<Integer>(value, 1, 4);
  if (value == numGlyphs_) return;
  numGlyphs_ = value;
  Invalidate();
}

void TSpeedButton::SetLayout(TButtonLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TSpeedButton::SetMargin(Integer value) {
  value = std::max<Integer>(value, -1);
  if (value == margin_) return;
  margin_ = value;
  Invalidate();
}

void TSpeedButton::SetSpacing(Integer value) {
  value = std::max<Integer>(value, -1);
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

void TSpeedButton::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  InvalidateControl(Visible(), false);
}

void TSpeedButton::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  InvalidateControl(Visible(), false);
}

void TSpeedButton::SetGroupIndex(Integer value) {
  if (value == groupIndex_) return;
  groupIndex_ = value;
  if (groupIndex_ == 0) down_ = false;
  UpdateExclusive();
  Invalidate();
}

void TSpeedButton::SetAllowAllUp(bool value) {
  allowAllUp_ = value;
  if (groupIndex_ == 0 || !Parent()) return;
  TWinControl* p = Parent();
  for (Integer i = 0; i < p->ControlCount(); ++i)
    if (auto* b = dynamic_cast<TSpeedButton*>(p->Controls(i)); b && b->groupIndex_ == groupIndex_)
      b->allowAllUp_ = value;
}

void TSpeedButton::SetDown(bool value) {
  if (groupIndex_ == 0) value = false;
  if (value == down_) return;
  if (down_ && !allowAllUp_ && !IsLoading()) return;
  down_ = value;
  UpdateExclusive();
  Invalidate();
}

// A button that is down pushes up the others of its group.
void TSpeedButton::UpdateExclusive() {
  if (!down_ || groupIndex_ == 0 || !Parent()) return;
  TWinControl* p = Parent();
  for (Integer i = 0; i < p->ControlCount(); ++i) {
    auto* b = dynamic_cast<TSpeedButton*>(p->Controls(i));
    if (!b || b == this || b->groupIndex_ != groupIndex_ || !b->down_) continue;
    b->down_ = false;
    b->Invalidate();
  }
}

void TSpeedButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled()) return;
  press_.Begin();
  Invalidate();
}

void TSpeedButton::MouseMove(TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (press_.Move(PtInRect(ClientRect(), TPoint{x, y}))) Invalidate();
}

void TSpeedButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft && press_.End()) {
    const bool inside = PtInRect(ClientRect(), TPoint{x, y});
    if (inside && groupIndex_ != 0) SetDown(!down_);
    Invalidate();
    TAliveGuard alive(this);
    if (inside) Click();
    if (!alive.Alive()) return;
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSpeedButton::CMMouseEnter(TMessage& m) {
  TGraphicControl::CMMouseEnter(m);
  mouseInControl_ = true;
  if (flat_ && Enabled()) Invalidate();
}

void TSpeedButton::CMMouseLeave(TMessage& m) {
  TGraphicControl::CMMouseLeave(m);
  mouseInControl_ = false;
  if (flat_ && Enabled()) Invalidate();
}

void TSpeedButton::CMEnabledChanged(TMessage& m) {
  press_.End();
  TGraphicControl::CMEnabledChanged(m);
}

// The image of the state from the strip; the disabled image is embossed
// from the up image when the strip has none.
void TSpeedButton::DrawGlyph(TCanvas* canvas, Integer x, Integer y, TButtonState state) {
  if (glyph_->Empty()) return;
  const Integer gw = glyph_->Width() / numGlyphs_, gh = glyph_->Height();
  if (gw <= 0) return;
  const std::uint32_t* pixels = glyph_->ScanLine(0);
  const Integer stride = gh > 1 ? static_cast<Integer>(glyph_->ScanLine(1) - pixels) : gw;
  const TColor transparent = glyph_->TransparentColor();
  Integer index = static_cast<Integer>(state);
  if (index < numGlyphs_) {
    canvas->DrawPixels(Bounds(x, y, gw, gh), pixels, glyph_->Width(), gh, stride,
                       Bounds(index * gw, 0, gw, gh), cmSrcCopy, transparent);
    return;
  }
  if (state != bsDisabled) {
    canvas->DrawPixels(Bounds(x, y, gw, gh), pixels, glyph_->Width(), gh, stride,
                       Bounds(0, 0, gw, gh), cmSrcCopy, transparent);
    return;
  }
  // The shape: every pixel that is neither transparent nor white.
  const std::uint32_t clear = ToPixel(transparent), white = 0xFFFFFF;
  std::vector<Byte> mask(static_cast<size_t>(gw) * gh);
  for (Integer row = 0; row < gh; ++row)
    for (Integer col = 0; col < gw; ++col) {
      const std::uint32_t p = pixels[row * stride + col] & 0xFFFFFF;
      mask[static_cast<size_t>(row * gw + col)] = (p != clear && p != white) ? 1 : 0;
    }
  std::vector<std::uint32_t> solid(mask.size(), ToPixel(clBtnHighlight));
  canvas->DrawPixels(Bounds(x + 1, y + 1, gw, gh), solid.data(), gw, gh, gw, Bounds(0, 0, gw, gh),
                     cmSrcCopy, clNone, mask.data());
  std::fill(solid.begin(), solid.end(), ToPixel(clBtnShadow));
  canvas->DrawPixels(Bounds(x, y, gw, gh), solid.data(), gw, gh, gw, Bounds(0, 0, gw, gh),
                     cmSrcCopy, clNone, mask.data());
}

void TSpeedButton::Paint() {
  TCanvas* c = Canvas();
  const TButtonState state = State();
  const bool down = state == bsDown || state == bsExclusive;
  TRect r = ClientRect();
  if (!flat_) {
    c->DrawFrameControl(r, DFC_BUTTON, DFCS_BUTTONPUSH | (down ? DFCS_PUSHED : 0));
    if (state == bsExclusive) {
      TRect inside = r;
      InflateRect(inside, -2, -2);
      DitherRect(c, inside);
    }
  } else {
    if (!transparent_) {
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(Color());
      c->FillRect(r);
    }
    if (state == bsExclusive) {
      TRect inside = r;
      InflateRect(inside, -1, -1);
      DitherRect(c, inside);
    }
    TRect e = r;
    if (down)
      c->DrawEdge(e, BDR_SUNKENOUTER, BF_RECT);
    else if (mouseInControl_ && Enabled())
      c->DrawEdge(e, BDR_RAISEDINNER, BF_RECT);
  }
  c->SetFont(Font());
  TSize glyphSize(0, 0);
  if (!glyph_->Empty()) glyphSize = TSize(glyph_->Width() / numGlyphs_, glyph_->Height());
  TRect inside = ClientRect();
  InflateRect(inside, -1, -1);
  TPoint glyphPos;
  TRect textRect;
  CalcButtonLayout(c, inside, down ? TPoint{1, 1} : TPoint{0, 0}, Caption(), glyphSize, layout_,
                   margin_, spacing_, glyphPos, textRect);
  DrawGlyph(c, glyphPos.X, glyphPos.Y, state);
  if (!Caption().empty())
    DrawCaption(c, Caption(), textRect, DT_SINGLELINE | DT_CENTER | DT_VCENTER, Enabled());
}

// ---- published tables ------------------------------------------------------------------

BV_ENUM_INFO(TButtonLayout, blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom)
BV_ENUM_INFO(TButtonState, bsUp, bsDisabled, bsDown, bsExclusive)

BV_PUBLISH(TSpeedButton, TGraphicControl) {
  p.Property("AllowAllUp", &TSpeedButton::AllowAllUp, &TSpeedButton::SetAllowAllUp).Default(0);
  p.Property("Caption", &TSpeedButton::Caption, &TSpeedButton::SetCaption);
  p.Property("GroupIndex", &TSpeedButton::GroupIndex, &TSpeedButton::SetGroupIndex).Default(0);
  p.Property("Down", &TSpeedButton::Down, &TSpeedButton::SetDown).Default(0);
  p.Property("Flat", &TSpeedButton::Flat, &TSpeedButton::SetFlat).Default(0);
  p.Property("Glyph", &TSpeedButton::Glyph, &TSpeedButton::SetGlyph);
  p.Property("Layout", &TSpeedButton::Layout, &TSpeedButton::SetLayout).Default(blGlyphLeft);
  p.Property("Margin", &TSpeedButton::Margin, &TSpeedButton::SetMargin).Default(-1);
  p.Property("NumGlyphs", &TSpeedButton::NumGlyphs, &TSpeedButton::SetNumGlyphs).Default(1);
  p.Property("ParentColor", &TSpeedButton::ParentColor, &TSpeedButton::SetParentColor).Default(1);
  p.Property("Spacing", &TSpeedButton::Spacing, &TSpeedButton::SetSpacing).Default(4);
  p.Property("Transparent", &TSpeedButton::Transparent, &TSpeedButton::SetTransparent).Default(1);
}

}  // namespace brevant
