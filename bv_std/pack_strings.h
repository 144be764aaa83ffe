// Texts of the default pack: what the calculator shows after a failure and
// the descriptions of its stock visions.
#pragma once

namespace brevant::bvres {

inline constexpr const char* SCalcError = "Error";
inline constexpr const char* SNumericDescription = "Dsiplays and edits data as number.";

}  // namespace brevant::bvres
