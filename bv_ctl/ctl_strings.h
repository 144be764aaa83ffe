// Captions of the calendar control: the texts its buttons show.
#pragma once

namespace brevant::bvres {

inline constexpr const char* SCalendarToday = "Today";
inline constexpr const char* SCalendarClear = "Clear";

}  // namespace brevant::bvres
