// TCanvas: drawing on a 32-bit pixel surface.
//
// The surface is a caller-owned buffer of 32-bit pixels, 0x00RRGGBB in
// native byte order (the layout of cairo's RGB24 and of SDL's RGB888; the
// top byte is ignored), `stride` bytes from one row to the next. A canvas
// without a surface draws nothing but measures text, so it serves as a
// measuring canvas. TBitmap gives its canvas the bitmap's pixels; the
// windowing layer gives each window's canvas the window's surface.
//
// Coordinates are logical: the logical point (0,0) is the device pixel
// Origin(). Rectangles exclude their right and bottom edges. Empty or
// inverted rectangles draw nothing.
//
// The canvas keeps device-context state beside its Pen, Brush and Font:
// TextColor follows Font.Color and BkColor/BkMode follow the Brush whenever
// those change (a solid brush: its colour, OPAQUE; otherwise the inverse
// colour, TRANSPARENT), and the Set... calls override them until the next
// such change. Text is drawn in TextColor, over BkColor when OPAQUE; dotted
// pens fill their gaps with BkColor when OPAQUE; DrawFocusRect uses both.
//
// Clipping: the effective clip is the surface, the device clip (set by the
// owner of the surface, e.g. the visible part of a window, in device
// pixels) and the user clip (IntersectClipRect, ExcludeClipRect; removed by
// ResetClip). ClipRect is the bounding box of the effective clip, in
// logical coordinates.
//
// Lines and shapes are aliased and pixel exact: LineTo draws from the pen
// position up to but excluding the end point; Rectangle's frame lies on
// its outermost pixels; Pen.Mode applies to lines and to shape interiors
// (Rectangle, Ellipse, Polygon), not to FillRect, FrameRect or text.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>
#include <vector>

#include "graphics/colors.h"
#include "graphics/draw_flags.h"
#include "graphics/font.h"
#include "graphics/graphics_base.h"
#include "graphics/pen_brush.h"
#include "graphics/region.h"
#include "rtl/method.h"
#include "rtl/persistent.h"

namespace brevant {

class TGraphic;

namespace detail {
struct TCairoTarget;
struct TTextLayout;
}  // namespace detail

class TCanvas : public TPersistent {
  BV_CLASS(TCanvas, TPersistent)
 public:
  // A canvas without a surface (measures text, draws nothing).
  TCanvas();
  // A canvas over a caller-owned buffer; see SetSurface.
  TCanvas(std::uint32_t* pixels, Integer width, Integer height, Integer stride);
  ~TCanvas() override;

  // ---- surface -----------------------------------------------------------
  // Points the canvas at a buffer of width x height pixels, stride bytes per
  // row (a multiple of 4, at least width * 4). nullptr (or a 0 size) leaves
  // it without a surface. Raises EInvalidGraphicOperation for a bad size or
  // stride. The device clip is reset; the user clip, origin and state stay.
  // The buffer must outlive the canvas or the next SetSurface.
  void SetSurface(std::uint32_t* pixels, Integer width, Integer height, Integer stride);
  bool HasSurface() const { return pixels_ != nullptr; }
  Integer SurfaceWidth() const { return width_; }
  Integer SurfaceHeight() const { return height_; }
  // Bytes from one row to the next.
  Integer Stride() const { return stride_ * 4; }
  std::uint32_t* PixelData() const { return pixels_; }
  // Call after writing pixels directly (not through the canvas) so that
  // cached drawing state sees the change.
  void MarkDirty();

  // ---- drawing objects -----------------------------------------------------
  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont* value) { font_->Assign(value); }
  TPen* Pen() const { return pen_.get(); }
  void SetPen(const TPen* value) { pen_->Assign(value); }
  TBrush* Brush() const { return brush_.get(); }
  void SetBrush(const TBrush* value) { brush_->Assign(value); }
  // The raster operation of CopyRect and of drawing bitmaps (cmSrcCopy ...).
  TCopyMode CopyMode() const { return copyMode_; }
  void SetCopyMode(TCopyMode value) { copyMode_ = value; }
  TPoint PenPos() const { return penPos_; }
  void SetPenPos(const TPoint& p) { penPos_ = p; }

  // ---- device-context state -------------------------------------------------
  TColor TextColor() const { return textColor_; }
  void SetTextColor(TColor value) { textColor_ = value; }
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value) { bkColor_ = value; }
  // TRANSPARENT or OPAQUE.
  Integer BkMode() const { return bkMode_; }
  void SetBkMode(Integer value) { bkMode_ = value == TRANSPARENT ? TRANSPARENT : OPAQUE; }

  // ---- origin and clipping --------------------------------------------------
  TPoint Origin() const { return origin_; }
  void SetOrigin(const TPoint& deviceOrigin) { origin_ = deviceOrigin; }
  // The bounding box of what can be drawn, in logical coordinates;
  // (0,0,0,0) without a surface or with nothing visible.
  TRect ClipRect() const;
  // Each answers the kind of the resulting clip (NULLREGION, SIMPLEREGION,
  // COMPLEXREGION).
  Integer IntersectClipRect(const TRect& rect);
  Integer ExcludeClipRect(const TRect& rect);
  // Replaces the user clip by a region in logical coordinates.
  Integer SelectClipRegion(const TRegion& region);
  // Removes the user clip.
  void ResetClip();
  bool HasClip() const { return hasUserClip_; }
  // The device clip, in device pixels: set by the owner of the surface.
  void SetDeviceClip(const TRegion& region);
  void ResetDeviceClip();
  // Whether any pixel of the rectangle / the point can be drawn.
  bool RectVisible(const TRect& rect) const;
  bool PtVisible(const TPoint& p) const;
  // Saves origin, clips, pen position, colours and modes; RestoreDC(n) goes
  // back to the state saved by the n-th SaveDC still open (n < 0: the
  // last -n states). Answers the level (0 on failure) / success.
  Integer SaveDC();
  bool RestoreDC(Integer savedDC);

  // ---- lines and shapes ------------------------------------------------------
  void MoveTo(Integer x, Integer y);
  void LineTo(Integer x, Integer y);
  // Connects the points, each segment excluding its end point.
  void Polyline(std::span<const TPoint> points);
  void Polyline(std::initializer_list<TPoint> points) {
    Polyline(std::span(points.begin(), points.size()));
  }
  // A closed polygon, filled with the brush (alternate filling), framed with the pen.
  void Polygon(std::span<const TPoint> points);
  void Polygon(std::initializer_list<TPoint> points) {
    Polygon(std::span(points.begin(), points.size()));
  }
  // Frame with the pen on the outermost pixels, inside with the brush. Without
  // a pen (psClear) the fill covers (l, t, r - 1, b - 1).
  void Rectangle(Integer left, Integer top, Integer right, Integer bottom);
  void Rectangle(const TRect& r) { Rectangle(r.Left, r.Top, r.Right, r.Bottom); }
  void RoundRect(Integer left, Integer top, Integer right, Integer bottom, Integer cx, Integer cy);
  void Ellipse(Integer left, Integer top, Integer right, Integer bottom);
  void Ellipse(const TRect& r) { Ellipse(r.Left, r.Top, r.Right, r.Bottom); }
  // With the brush; Pen.Mode does not apply.
  void FillRect(const TRect& rect);
  // A one-pixel frame in the brush colour.
  void FrameRect(const TRect& rect);
  // Bitwise NOT of every pixel.
  void InvertRect(const TRect& rect);
  // A dotted one-pixel frame: pixels alternate (by device x + y) between an
  // exclusive-or with BkColor and one with TextColor, so drawing it again
  // erases it. Each frame pixel is touched once.
  void DrawFocusRect(const TRect& rect);

  // ---- pixels ------------------------------------------------------------------
  // The pixel's colour; -1 when it lies outside the clip or the surface.
  TColor Pixels(Integer x, Integer y) const;
  void SetPixels(Integer x, Integer y, TColor color);

  // ---- copying -----------------------------------------------------------------
  // Copies source's srcRect into dest, stretching (nearest pixel) when the
  // sizes differ and mirroring when exactly one of them is inverted, with
  // CopyMode. The source may be this canvas, overlapping or not.
  void CopyRect(const TRect& dest, const TCanvas* source, const TRect& srcRect);
  // The same with an explicit raster operation.
  void StretchBlt(const TRect& dest, const TCanvas* source, const TRect& srcRect, TCopyMode rop);
  // Copies without the pixels of transparentColor (a colour key).
  void TransparentBlt(const TRect& dest, const TCanvas* source, const TRect& srcRect,
                      TColor transparentColor);
  // Copies from a pixel buffer (width x height pixels, stride in pixels)
  // the source rectangle (in the buffer's pixels) into dest, as StretchBlt.
  // Pixels of transparentColor (unless clNone) and, with a mask (one byte
  // per pixel, same layout), pixels whose mask byte is 0 are left out.
  void DrawPixels(const TRect& dest, const std::uint32_t* pixels, Integer width, Integer height,
                  Integer stride, const TRect& srcRect, TCopyMode rop = cmSrcCopy,
                  TColor transparentColor = clNone, const Byte* mask = nullptr);
  // Moves the pixels of the rectangle by (dx, dy); only pixels inside clip
  // (and the canvas clip) change. Uncovered pixels keep their old values.
  void ScrollRect(Integer dx, Integer dy, const TRect& rect, const TRect& clip);
  // The graphic at its own size / stretched to the rectangle.
  void Draw(Integer x, Integer y, TGraphic* graphic);
  void StretchDraw(const TRect& rect, TGraphic* graphic);

  // ---- text ----------------------------------------------------------------------
  // Measures one line (line breaks count as blanks, no prefix processing).
  TSize TextExtent(const String& text) const;
  Integer TextWidth(const String& text) const { return TextExtent(text).cx; }
  Integer TextHeight(const String& text) const { return TextExtent(text).cy; }
  // One line at (x, y) (its top left), over the background when OPAQUE;
  // the pen moves to (x + width, y).
  void TextOut(Integer x, Integer y, const String& text);
  // One line at (x, y), clipped to rect; a brush that is not clear fills
  // rect with BkColor first.
  void TextRect(const TRect& rect, Integer x, Integer y, const String& text);
  // Text with DT_... flags; answers the text's height (with DT_VCENTER or
  // DT_BOTTOM the offset from rect's top to the bottom of the text).
  // - DT_CALCRECT draws nothing and sets rect's right and bottom to the
  //   measured box: wrapped at rect's width with DT_WORDBREAK (the widest
  //   line, which may pass rect's right when a word does not fit), the
  //   whole text, without ellipsis. Drawing into the measured box draws the
  //   same lines.
  // - DT_WORDBREAK wraps at word boundaries; with DT_EDITCONTROL words too
  //   long for a line break between characters and a partly visible last
  //   line is not drawn. DT_END_ELLIPSIS: a line too wide ends with "…";
  //   with DT_WORDBREAK lines that do not fit the height are dropped and the
  //   last visible line shows the rest of the text cut with "…".
  // - Prefixes: "&x" underlines x and "&&" shows "&", unless DT_NOPREFIX;
  //   DT_HIDEPREFIX removes the "&" without underlining.
  // - DT_VCENTER and DT_BOTTOM apply to DT_SINGLELINE text only. The text
  //   is clipped to rect unless DT_NOCLIP.
  Integer DrawText(const String& text, TRect& rect, Cardinal format);

  // ---- 3-D edges and frame controls ---------------------------------------------
  // BDR_ inner/outer edges on the BF_ sides; BF_FLAT and BF_MONO draw one
  // colour per edge; BF_MIDDLE fills the inside; BF_ADJUST shrinks rect to
  // the inside. Answers false for unknown flags (nothing drawn).
  bool DrawEdge(TRect& rect, Cardinal edge, Cardinal flags);
  // DFC_BUTTON (check box with DFCS_CHECKED / DFCS_BUTTON3STATE, radio,
  // push button) and DFC_SCROLL (arrows up, down, left, right, combo box),
  // with DFCS_PUSHED, DFCS_INACTIVE, DFCS_FLAT, DFCS_MONO.
  bool DrawFrameControl(const TRect& rect, Cardinal type, Cardinal state);

  // ---- change notification ---------------------------------------------------------
  TNotifyEvent OnChanging;
  TNotifyEvent OnChange;

 protected:
  void Changing() { OnChanging(this); }
  void Changed() { OnChange(this); }

 private:
  struct TSavedState {
    TPoint Origin;
    TPoint PenPos;
    TColor TextColor;
    TColor BkColor;
    Integer BkMode;
    TCopyMode CopyMode;
    bool HasUserClip;
    TRegion UserClip;
  };

  void FontChanged(TObject* sender);
  void BrushChanged(TObject* sender);
  void UpdateClip();

  // Device-space primitives; all clip.
  template <class F>
  void ForEachClipped(const TRect& deviceRect, F&& row) const;
  void FillDevice(const TRect& r, std::uint32_t pixel, Integer rop2);
  void FillDeviceWithBrush(const TRect& r, Integer rop2);
  void PlotDevice(Int64 x, Int64 y, std::uint32_t pixel, Integer rop2);
  void LineDevice(Int64 x0, Int64 y0, Int64 x1, Int64 y1);
  void WideLineDevice(Int64 x0, Int64 y0, Int64 x1, Int64 y1);
  // Shapes drawn through a coverage mask (ellipses, polygons, wide pens):
  // draw marks each pixel of the device bounds as brush, pen or pen gap, and
  // each marked pixel is then painted once with Pen.Mode.
  template <class D>
  void PaintMask(const TRect& deviceBounds, D&& draw);
  TRect ToDevice(const TRect& r) const;
  TPoint ToDevice(Integer x, Integer y) const;
  // Draws laid-out text with its top left at device (x, y), each line placed
  // by the DT_ alignment within width, clipped to deviceClip when given.
  void PaintText(const detail::TTextLayout& layout, Integer x, Integer y, Integer width,
                 Cardinal format, const TRect* deviceClip);
  void BlitPixels(const TRect& dest, const std::uint32_t* srcPixels, Integer srcWidth,
                  Integer srcHeight, Integer srcStride, TRect srcDeviceRect, TCopyMode rop,
                  TColor transparentColor, const Byte* mask);
  // A one-to-one copy from device rectangle s of this surface (width x
  // height pixels) to d, under a single-rectangle clip.
  void MoveWithin(const TRect& d, const TRect& s, Integer width, Integer height);
  void EdgeRect(const TRect& deviceRect, Cardinal sides, TColor lt, TColor rb);
  void DrawCheckBox(const TRect& deviceRect, Cardinal state);
  void DrawRadio(const TRect& deviceRect, Cardinal state);
  void DrawScrollArrow(const TRect& deviceRect, Cardinal state);
  void DrawArrowGlyph(const TRect& deviceRect, Cardinal direction, TColor color);

  std::uint32_t* pixels_ = nullptr;
  Integer width_ = 0;
  Integer height_ = 0;
  Integer stride_ = 0;  // in pixels
  mutable std::unique_ptr<detail::TCairoTarget> cairo_;

  TObjectPtr<TFont> font_;
  TObjectPtr<TPen> pen_;
  TObjectPtr<TBrush> brush_;
  TCopyMode copyMode_ = cmSrcCopy;
  TPoint penPos_;
  TPoint origin_;
  TColor textColor_ = clWindowText;
  TColor bkColor_ = clWhite;
  Integer bkMode_ = OPAQUE;

  bool hasUserClip_ = false;
  TRegion userClip_;  // device pixels
  bool hasDeviceClip_ = false;
  TRegion deviceClip_;
  TRegion clip_;  // effective, device pixels, inside the surface
  TRect clipBounds_;
  std::uint64_t clipSerial_ = 1;
  std::vector<TSavedState> saved_;
};

// Writes the canvas's surface as a PNG file (RGB). Raises EFCreateError or
// EInvalidGraphicOperation (no surface).
void SaveCanvasToPng(const TCanvas& canvas, const String& fileName);

}  // namespace brevant
