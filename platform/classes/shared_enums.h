// Enumerations that datasets, graphics and controls all publish.
#pragma once

#include "classes/typinfo.h"

namespace brevant {

enum TAlignment : Byte { taLeftJustify, taRightJustify, taCenter };
BV_DECLARE_ENUM_INFO(TAlignment)

}  // namespace brevant
