#include "graphics/pen_brush.h"

#include "classes/rtti_builder.h"
#include "rtl/store_changed.h"

namespace brevant {

BV_ENUM_INFO(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)
BV_ENUM_INFO(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot,
             pmMaskPenNot, pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask,
             pmXor, pmNotXor)
BV_ENUM_INFO(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal,
             bsCross, bsDiagCross)

BV_PUBLISH(TPen, TPersistent) {
  p.Property("Color", &TPen::Color, &TPen::SetColor).Type(TypeInfoTColor()).Default(clBlack);
  p.Property("Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
  p.Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
  p.Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

BV_PUBLISH(TBrush, TPersistent) {
  p.Property("Color", &TBrush::Color, &TBrush::SetColor).Type(TypeInfoTColor()).Default(clWhite);
  p.Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

void TPen::Assign(const TPersistent* source) {
  if (const TPen* pen = dynamic_cast<const TPen*>(source)) {
    if (pen == this) return;
    color_ = pen->color_;
    mode_ = pen->mode_;
    style_ = pen->style_;
    width_ = pen->width_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TPen::SetColor(TColor value) {
  if (StoreChanged(color_, value)) Changed();
}

void TPen::SetMode(TPenMode value) {
  if (StoreChanged(mode_, value)) Changed();
}

void TPen::SetStyle(TPenStyle value) {
  if (StoreChanged(style_, value)) Changed();
}

void TPen::SetWidth(Integer value) {
  if (value < 0) value = 0;
  if (StoreChanged(width_, value)) Changed();
}

void TBrush::Assign(const TPersistent* source) {
  if (const TBrush* brush = dynamic_cast<const TBrush*>(source)) {
    if (brush == this) return;
    color_ = brush->color_;
    style_ = brush->style_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TBrush::SetColor(TColor value) {
  if (StoreChanged(color_, value)) Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (StoreChanged(style_, value)) Changed();
}

}  // namespace brevant
