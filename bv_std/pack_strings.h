// Texts of the default pack: what the calculator shows after a failure,
// the descriptions of its stock visions and the captions of the picker's
// buttons and of the blob menus.
#pragma once

namespace brevant::bvres {

inline constexpr const char* SCalcError = "Error";
inline constexpr const char* SNumericDescription = "Dsiplays and edits data as number.";
inline constexpr const char* STitleSurfaceDescription = "Determines 3D style of the cell.";
inline constexpr const char* SCalendarDescription = "Calendar control with buttons.";
inline constexpr const char* SCalendarSimpleDescription = "Calendar control without buttons.";
inline constexpr const char* SDateDescription = "Displays and edits data as date.";
inline constexpr const char* SCheckBoxBoolDescription = "Switch control for logical fields.";
inline constexpr const char* SCheckBoxIntDescription =
    "Switch control for integer fields. 0 - off, 1 - on.";
inline constexpr const char* SNumericDefDescription =
    "Number format, two digits after decimal separator.";
inline constexpr const char* SNumericDefSepDescription =
    "Number format, two digits after decimal separator, thousand separator.";
inline constexpr const char* SNumericSpinDescription = "Number format, spin buttons are available.";
inline constexpr const char* SPickerOK = "&OK";
inline constexpr const char* SPickerCancel = "&Cancel";
// The blob menus' items in tag order 1 to 7.
inline constexpr const char* SBlobMenuItems[7] = {"Cut",     "Copy",       "Paste",  "Clear",
                                                  "Load...", "Save to...", "Preview"};

}  // namespace brevant::bvres
