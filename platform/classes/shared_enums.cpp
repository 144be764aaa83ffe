#include "classes/shared_enums.h"

namespace brevant {

BV_ENUM_INFO(TAlignment, taLeftJustify, taRightJustify, taCenter)

}  // namespace brevant
