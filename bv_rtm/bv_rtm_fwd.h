// Forward declarations of the suite's run-time layer, for headers that only
// name its classes or hold its enumerations; sources include the full
// headers.
#pragma once

#include "rtl/types.h"

namespace brevant {

class TChildFont;
class TznList;
class TznSwitcher;
// The border kinds of bv_rtm/border_style.h.
enum TznBorderStyle : Byte;

}  // namespace brevant
