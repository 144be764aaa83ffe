// Texts of the environment: the captions of the footer menu's state items,
// in the order of the footer states, separated by semicolons.
#pragma once

namespace brevant::bvres {

inline constexpr const char* SFooterStateCaptions = "Average;Count;Maximum;Minimum;Sum;None";

}  // namespace brevant::bvres
