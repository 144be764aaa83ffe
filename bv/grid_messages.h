// The messages of the grid's own protocol (the customizer's codes are in
// grid_types.h).
#pragma once

#include "controls/messages.h"

namespace brevant {

constexpr Cardinal WM_TL_APPLYMAPPING = WM_USER + 501;
constexpr Cardinal WM_TL_CUSTOMIZER = WM_USER + 502;

}  // namespace brevant
