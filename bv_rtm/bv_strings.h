// The suite's string table: every message and caption the components show,
// formatted with Format where they take arguments. A backslash before a
// double quote inside a message is part of the source, not of the message.
#pragma once

namespace brevant::bvres {

// Argument and state checks.
inline constexpr const char* SValueNegative = "Value can not be negative (%d)";
inline constexpr const char* SValueNotPositive = "Value must be positive (%d)";
inline constexpr const char* SIndexOutOfRange = "Index is out of range (%d/%d)";
inline constexpr const char* SValueNotAvailable = "Value is not available";
inline constexpr const char* SReadOnlyProperty = "'%s' is read-only property";
inline constexpr const char* SInvalidInputText = "Invalid input text";

// Grid operations.
inline constexpr const char* SUnableToSelectColumn = "Unable to select column (%d)";
inline constexpr const char* SMethodCancelled = "Method call was cancelled (%s)";
inline constexpr const char* SInvalidLayoutPosition = "Invalid layout position (%d,%d)";
inline constexpr const char* SDeleteRecordQuestion = "Delete record. Are you sure?";
inline constexpr const char* SDeleteMultipleRecordsQuestion = "Delete %d records. Are you sure?";
inline constexpr const char* SSearchPrompt = "Search: ";

// Universal value and its accessors.
inline constexpr const char* SUniValueOutOfRange = "%s is out of the range of type %s";
inline constexpr const char* SUniValueVariantRaw =
    "The bytes of a variant value are not accessible";

// Property accessor and data providers.
inline constexpr const char* SNotAComponent = "%d does not refer to a component of class %s";
inline constexpr const char* SSetOutOfRange = "%d is not a value of set type %s";

// Object dataset.
inline constexpr const char* SNoDataProvider =
    "No data provider. Please assign value to \"ObjectRef\" property";
inline constexpr const char* SBookmarkNotFound = "Bookmark not found";
inline constexpr const char* SNoRecords = "no records";
inline constexpr const char* SUnableToInsert = "unable to insert data";
inline constexpr const char* SUnableToDelete = "unable to delete data";

// ---- rtm: runtime support (object text, switcher, drawing helpers) ----
inline constexpr const char* SChildObjectRefused =
    "Child object of class '%s' not allowed here (offset %d)";
// ---- end rtm ----

}  // namespace brevant::bvres
