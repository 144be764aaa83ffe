// Shared drawing routines: aligned text, focus rectangles, soft edges,
// button frames and arrows, the buttons drawn in an edit's frame, border
// kinds painted in the non-client area, and control screenshots.
#pragma once

#include "bv_rtm/border_style.h"
#include "controls/controls.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"

namespace brevant {

// Caps inner's height to outer's and places it at outer's top (mode 0),
// centred (1) or at outer's bottom (2).
void AlignRectVert(const TRect& outer, TRect& inner, Integer mode);

// Text in rect shrunk by the indents. hAlign: 0 left, 1 right, 2 centre;
// vAlign: 0 top, 1 centre, 2 bottom. With wordWrap the wrapped text's box
// is measured and placed by vAlign; otherwise one line. "&" is never a
// prefix; the DT_ flags in removeFlags are taken out of the format.
void DrawTextAligned(TCanvas* dc, const TRect& rect, const String& text, Integer hAlign,
                     Integer vAlign, Integer leftIndent, Integer rightIndent, bool wordWrap,
                     bool endEllipsis, bool editControl, Cardinal removeFlags = 0);

// Draws graphic at (x, y) and restores the canvas's background and text
// colours afterwards.
void DrawGraphicKeepColors(TCanvas* canvas, Integer x, Integer y, TGraphic* graphic);
// The dotted focus rectangle drawn with black and white, so it shows on
// any background (colours restored afterwards).
void DrawFocusRectBW(TCanvas* dc, const TRect& rect);

// Soft and not pressed: raised inner edge on top, raised edge on the left,
// raised inner edge right and bottom; otherwise a raised edge all round,
// flat when pressed.
void DrawSoftEdge(TCanvas* canvas, const TRect& rect, bool pressed, bool soft);

// Flags of DrawButtonFrame and DrawEditButton.
inline constexpr Cardinal ebfPressed = 1;     // pressed (spin: the upper half)
inline constexpr Cardinal ebfLowPressed = 2;  // spin: the lower half pressed
inline constexpr Cardinal ebfDisabled = 4;
inline constexpr Cardinal ebfSoft = 8;
inline constexpr Cardinal ebfFlat = 16;
// The control's own border frames the button: no frame of its own (a
// pressed button shows inverted).
inline constexpr Cardinal ebfFrameless = 32;

// Flat: a frame in clWindow (none when frameless), the inside inverted
// when pressed; otherwise DrawSoftEdge with the soft flag.
void DrawButtonFrame(TCanvas* canvas, const TRect& rect, bool pressed, Cardinal flags);
// The scroll-arrow glyph (up or down) without its frame, in rect narrowed by
// 2 pixels each side unless fullWidth; moved one pixel right with fullWidth
// or soft, one down when pressed.
void DrawArrow(TCanvas* canvas, const TRect& rect, bool up, bool fullWidth, bool soft, bool pressed,
               bool disabled);

// Kinds of DrawEditButton.
enum TEditButtonKind : Integer { ebkNone, ebkDropDown, ebkEllipsis, ebkSpin, ebkCustom };
// The button part of an edit's frame (see the ebf flags); glyph is used by
// ebkCustom only (may be nullptr).
void DrawEditButton(Integer kind, Cardinal flags, TCanvas* canvas, TGraphic* glyph,
                    const TRect& rect);

// WM_NCCALCSIZE: shrinks the client rectangle by 1 pixel each side (2 for
// the Ext kinds) for kinds from bsSoft on.
void BorderCalcSize(TznBorderStyle kind, TRect& clientRect);
// 2 for bsNoBorder, 1 for bsSoft, bsFlat and bsMono, else 0.
Integer BorderInset(TznBorderStyle kind);
// Paints the border of control's window outside its client area (kinds
// from bsSoft on): a sunken outer edge (flat for bsFlat*, mono for
// bsMono*), shrunk by BorderInset when inset; the Ext kinds add a one-pixel
// frame inside it, cl3DLight for bsSoftExt, else the control's colour.
void BorderPaint(TznBorderStyle kind, TWinControl* control, bool inset);

// The width of a horizontal scroll arrow; made odd (one less) when asked.
Integer ScrollButtonWidth(bool makeOdd);

// A new bitmap (the caller frees it) of control's size holding the pixels
// shown where the control stands; empty when it has no parent form.
TBitmap* ControlScreenshot(TControl* control);

}  // namespace brevant
