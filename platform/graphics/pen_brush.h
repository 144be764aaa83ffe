// TPen and TBrush: how lines and areas are drawn.
//
// Pen modes are binary raster operations on the pixel values: pmXor
// exclusive-ors the pen colour into each pixel bit by bit, so drawing the
// same line twice restores the pixels. Pen width 0 and 1 draw one-pixel
// lines; wider pens draw solid lines centred on the path. Dotted styles
// (dash, dot, ...) apply to one-pixel pens; their gaps take the background
// colour when the background mode is OPAQUE.
#pragma once

#include "classes/typinfo.h"
#include "graphics/colors.h"
#include "rtl/method.h"
#include "rtl/persistent.h"

namespace brevant {

enum TPenStyle : Byte { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode : Byte {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};
enum TBrushStyle : Byte {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

BV_DECLARE_ENUM_INFO(TPenStyle)
BV_DECLARE_ENUM_INFO(TPenMode)
BV_DECLARE_ENUM_INFO(TBrushStyle)

class TPen : public TPersistent {
  BV_CLASS(TPen, TPersistent)
 public:
  TPen() = default;
  void Assign(const TPersistent* source) override;

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  // Negative widths are stored as 0.
  Integer Width() const { return width_; }
  void SetWidth(Integer value);

  TNotifyEvent OnChange;

 protected:
  virtual void Changed() { OnChange(this); }

 private:
  TColor color_ = clBlack;
  TPenMode mode_ = pmCopy;
  TPenStyle style_ = psSolid;
  Integer width_ = 1;
};

class TBrush : public TPersistent {
  BV_CLASS(TBrush, TPersistent)
 public:
  TBrush() = default;
  void Assign(const TPersistent* source) override;

  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // bsClear fills nothing; the hatch styles draw lines of Color over the
  // background colour (OPAQUE) or over what is there (TRANSPARENT).
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);

  TNotifyEvent OnChange;

 protected:
  virtual void Changed() { OnChange(this); }

 private:
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
};

}  // namespace brevant
