#include "classes/shared_enums.h"

#include "classes/typinfo.h"

namespace brevant {

BV_ENUM_INFO(TAlignment, taLeftJustify, taRightJustify, taCenter)
BV_ENUM_INFO(TScrollStyle, ssNone, ssHorizontal, ssVertical, ssBoth)
BV_ENUM_INFO(TTextLayout, tlTop, tlCenter, tlBottom)

}  // namespace brevant
