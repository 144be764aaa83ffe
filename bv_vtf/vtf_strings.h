// The messages of the tool form layer.
#pragma once

namespace brevant::vtfres {

inline constexpr const char* SMustBePlacedOn = "'%s' must be placed on '%s'";

}  // namespace brevant::vtfres
