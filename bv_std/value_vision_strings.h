// Messages of the date, time and numeric visions: what they say when typed
// text is blank, no number or outside the limits.
#pragma once

namespace brevant::bvres {

inline constexpr const char* SBlankDateValue =
    "Input value can not be blank. Please input valid date value";
inline constexpr const char* SBlankNumericValue =
    "Input value can not be blank. Please input valid numeric value";
inline constexpr const char* SValueMustBeMore =
    "\"%s\" is out of range. Value must be more than %s";
inline constexpr const char* SValueMustBeLess =
    "\"%s\" is out of range. Value must be less than %s";
inline constexpr const char* SInvalidNumericValue = "\"%s\" is not a valid numeric value";
inline constexpr const char* SNumericOutOfRange =
    "\"%s\" is out of range. The allowed range is %g to %g";

}  // namespace brevant::bvres
