// Enumerations that datasets, graphics and controls all publish.
#pragma once

#include "classes/classes_fwd.h"

namespace brevant {

enum TAlignment : Byte { taLeftJustify, taRightJustify, taCenter };
BV_DECLARE_ENUM_INFO(TAlignment)

// Which scroll bars a control shows (memos, scroll boxes, grids).
enum TScrollStyle : Byte { ssNone, ssHorizontal, ssVertical, ssBoth };
BV_DECLARE_ENUM_INFO(TScrollStyle)

// Vertical placement of text in its rectangle (labels, grid cells).
enum TTextLayout : Byte { tlTop, tlCenter, tlBottom };
BV_DECLARE_ENUM_INFO(TTextLayout)

}  // namespace brevant
