// Texts of the column customizer window: its caption and the close
// button's caption, set each time the window is shown.
#pragma once

namespace brevant::bvres {

inline constexpr const char* SCustomizerCaption = "Customize";
inline constexpr const char* SCustomizerClose = "[Close]";

}  // namespace brevant::bvres
