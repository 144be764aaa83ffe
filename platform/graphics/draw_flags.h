// Flag constants of the canvas's device-level operations: text drawing
// (DrawText), 3-D edges (DrawEdge), frame controls (DrawFrameControl),
// raster operations (CopyMode) and background modes.
#pragma once

#include "rtl/types.h"

namespace brevant {

// ---- DrawText format -------------------------------------------------------
inline constexpr Cardinal DT_TOP = 0x0000;
inline constexpr Cardinal DT_LEFT = 0x0000;
inline constexpr Cardinal DT_CENTER = 0x0001;
inline constexpr Cardinal DT_RIGHT = 0x0002;
inline constexpr Cardinal DT_VCENTER = 0x0004;  // with DT_SINGLELINE only
inline constexpr Cardinal DT_BOTTOM = 0x0008;   // with DT_SINGLELINE only
inline constexpr Cardinal DT_WORDBREAK = 0x0010;
inline constexpr Cardinal DT_SINGLELINE = 0x0020;
inline constexpr Cardinal DT_EXPANDTABS = 0x0040;  // tabs always expand to 8 spaces
inline constexpr Cardinal DT_NOCLIP = 0x0100;
inline constexpr Cardinal DT_CALCRECT = 0x0400;
inline constexpr Cardinal DT_NOPREFIX = 0x0800;
inline constexpr Cardinal DT_EDITCONTROL = 0x2000;
inline constexpr Cardinal DT_END_ELLIPSIS = 0x8000;
inline constexpr Cardinal DT_HIDEPREFIX = 0x00100000;

// ---- DrawEdge ----------------------------------------------------------------
inline constexpr Cardinal BDR_RAISEDOUTER = 0x0001;
inline constexpr Cardinal BDR_SUNKENOUTER = 0x0002;
inline constexpr Cardinal BDR_RAISEDINNER = 0x0004;
inline constexpr Cardinal BDR_SUNKENINNER = 0x0008;
inline constexpr Cardinal BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
inline constexpr Cardinal BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
inline constexpr Cardinal BDR_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr Cardinal BDR_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr Cardinal EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
inline constexpr Cardinal EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
inline constexpr Cardinal EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
inline constexpr Cardinal EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

inline constexpr Cardinal BF_LEFT = 0x0001;
inline constexpr Cardinal BF_TOP = 0x0002;
inline constexpr Cardinal BF_RIGHT = 0x0004;
inline constexpr Cardinal BF_BOTTOM = 0x0008;
inline constexpr Cardinal BF_TOPLEFT = BF_TOP | BF_LEFT;
inline constexpr Cardinal BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
inline constexpr Cardinal BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
inline constexpr Cardinal BF_MIDDLE = 0x0800;  // fill the inside
inline constexpr Cardinal BF_SOFT = 0x1000;
inline constexpr Cardinal BF_ADJUST = 0x2000;  // the rectangle becomes the inside
inline constexpr Cardinal BF_FLAT = 0x4000;
inline constexpr Cardinal BF_MONO = 0x8000;

// ---- DrawFrameControl --------------------------------------------------------
inline constexpr Cardinal DFC_CAPTION = 1;
inline constexpr Cardinal DFC_MENU = 2;
inline constexpr Cardinal DFC_SCROLL = 3;
inline constexpr Cardinal DFC_BUTTON = 4;

inline constexpr Cardinal DFCS_BUTTONCHECK = 0x0000;
inline constexpr Cardinal DFCS_BUTTONRADIO = 0x0004;
inline constexpr Cardinal DFCS_BUTTON3STATE = 0x0008;
inline constexpr Cardinal DFCS_BUTTONPUSH = 0x0010;
inline constexpr Cardinal DFCS_SCROLLUP = 0x0000;
inline constexpr Cardinal DFCS_SCROLLDOWN = 0x0001;
inline constexpr Cardinal DFCS_SCROLLLEFT = 0x0002;
inline constexpr Cardinal DFCS_SCROLLRIGHT = 0x0003;
inline constexpr Cardinal DFCS_SCROLLCOMBOBOX = 0x0005;
inline constexpr Cardinal DFCS_INACTIVE = 0x0100;
inline constexpr Cardinal DFCS_PUSHED = 0x0200;
inline constexpr Cardinal DFCS_CHECKED = 0x0400;
inline constexpr Cardinal DFCS_TRANSPARENT = 0x0800;
inline constexpr Cardinal DFCS_HOT = 0x1000;
inline constexpr Cardinal DFCS_FLAT = 0x4000;
inline constexpr Cardinal DFCS_MONO = 0x8000;

// ---- background modes ----------------------------------------------------------
inline constexpr Integer TRANSPARENT = 1;
inline constexpr Integer OPAQUE = 2;

// ---- clip region kinds (answers of the clip operations) -------------------------
inline constexpr Integer NULLREGION = 1;
inline constexpr Integer SIMPLEREGION = 2;
inline constexpr Integer COMPLEXREGION = 3;

// ---- raster operations of CopyRect (CopyMode): ternary codes of pattern
// (the brush), source and destination -------------------------------------------
using TCopyMode = Cardinal;
inline constexpr TCopyMode cmBlackness = 0x00000042;
inline constexpr TCopyMode cmDstInvert = 0x00550009;
inline constexpr TCopyMode cmMergeCopy = 0x00C000CA;
inline constexpr TCopyMode cmMergePaint = 0x00BB0226;
inline constexpr TCopyMode cmNotSrcCopy = 0x00330008;
inline constexpr TCopyMode cmNotSrcErase = 0x001100A6;
inline constexpr TCopyMode cmPatCopy = 0x00F00021;
inline constexpr TCopyMode cmPatInvert = 0x005A0049;
inline constexpr TCopyMode cmPatPaint = 0x00FB0A09;
inline constexpr TCopyMode cmSrcAnd = 0x008800C6;
inline constexpr TCopyMode cmSrcCopy = 0x00CC0020;
inline constexpr TCopyMode cmSrcErase = 0x00440328;
inline constexpr TCopyMode cmSrcInvert = 0x00660046;
inline constexpr TCopyMode cmSrcPaint = 0x00EE0086;
inline constexpr TCopyMode cmWhiteness = 0x00FF0062;

}  // namespace brevant
