// The texts the state and blob visions show: state display names, the
// preview window's caption and the report of a blob that is no picture.
#pragma once

namespace brevant::bvres {

inline constexpr const char* SXStateEmpty = "Empty";
inline constexpr const char* SXStateEmptyName = "(%s)";
inline constexpr const char* SXStateNullName = "NULL: %s";
inline constexpr const char* SXStateValueName = "%s: %s";
inline constexpr const char* SPicturePreview = "Picture preview";
inline constexpr const char* SNotAPicture = "The field \"%s\" does not hold a picture: %s";

}  // namespace brevant::bvres
