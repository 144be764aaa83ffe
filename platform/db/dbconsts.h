// Messages of the dataset framework. The fixed database texts the suite
// quotes word for word (SNotEditing, SFieldReadOnly, ...) live in
// rtl/resstrings.h; these are the framework's own.
#pragma once

namespace brevant::res {

inline constexpr const char* SDataSetClosed = "Cannot perform this operation on a closed dataset";
inline constexpr const char* SDataSetOpen = "Cannot perform this operation on an open dataset";
inline constexpr const char* SDataSetEmpty = "Cannot perform this operation on an empty dataset";
inline constexpr const char* SDataSetReadOnly = "Cannot modify a read-only dataset";
inline constexpr const char* SNotBrowsing =
    "Operation not allowed while the dataset is in %s state";
inline constexpr const char* SFieldNotFound = "Field '%s' not found";
inline constexpr const char* SFieldRequired = "Field '%s' must have a value";
inline constexpr const char* SFieldNameMissing = "Field name missing";
inline constexpr const char* SFieldTypeMismatch =
    "Type mismatch for field '%s', expecting: %s actual: %s";
inline constexpr const char* SFieldSizeMismatch =
    "Size mismatch for field '%s', expecting: %d actual: %d";
inline constexpr const char* SUnknownFieldType = "Field '%s' is of an unsupported type (%s)";
inline constexpr const char* SInvalidFieldSize = "Invalid size %d for field '%s'";
inline constexpr const char* SInvalidFieldKind = "Invalid field kind for field '%s'";
inline constexpr const char* SFieldIndexError = "Field index out of range (%d)";
inline constexpr const char* SNoDataSet = "Field '%s' has no dataset";
inline constexpr const char* SFieldRangeError =
    "%s is not a valid value for field '%s'. The allowed range is %s to %s";
inline constexpr const char* SFieldValueTooLong =
    "Value of %d bytes is too long for field '%s' (at most %d)";
inline constexpr const char* SFieldValueError = "Invalid value for field '%s'";
inline constexpr const char* SFieldNotBlob = "Field '%s' is not a blob field";
inline constexpr const char* SNotCalcWriting =
    "Field '%s' can be set only while calculating fields";
inline constexpr const char* SInvalidCalcType = "Field '%s' cannot be a calculated or lookup field";
inline constexpr const char* SLookupInfoError = "Lookup information for field '%s' is incomplete";
inline constexpr const char* SCircularLookup = "Field '%s' cannot look up its own dataset";
inline constexpr const char* SKeyValuesMismatch = "%d key values given for %d key fields";
inline constexpr const char* SRecordNotFound = "Record not found";
inline constexpr const char* SInvalidBookmark = "Invalid bookmark";
inline constexpr const char* SNoCurrentRecord = "no current record";
inline constexpr const char* SActiveRecordRange = "Active record %d outside the window of %d rows";
inline constexpr const char* SEditBufferMoved = "The active record is not the record being edited";
inline constexpr const char* SBufferCountRange = "Invalid buffer count %d";
inline constexpr const char* SCircularDataLink = "Circular data links are not allowed";
inline constexpr const char* SDataSourceFixed = "The data source of this link cannot be changed";
inline constexpr const char* SParameterNotFound = "Parameter '%s' not found";
inline constexpr const char* SInvalidParamType = "Parameter '%s' has no value of type %s";
inline constexpr const char* SRowValueCount = "%d values given for %d fields";
inline constexpr const char* SNoBlobStreams = "The dataset %s has no blob streams";
inline constexpr const char* SStoreLayoutChanged =
    "The field definitions no longer match the stored records; empty the dataset first";
inline constexpr const char* SStoreFull = "The in-memory dataset holds too many records";

}  // namespace brevant::res
