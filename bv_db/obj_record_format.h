// Conversion between the universal values an object dataset keeps in its
// record buffers and the framework's record formats of each field type
// (db/field.h lists the formats). Every non-blob field type has a form both
// ways, so no field edit is ever dropped silently.
#pragma once

#include "db/db_types.h"

namespace brevant {

class TField;
class TznUniValue;

// Writes value (not null) into buffer in field's record format; at most
// field->DataSize() bytes are written.
void ValueToRecord(const TznUniValue& value, const TField* field, void* buffer);
// Sets value from buffer in field's record format. Blob fields have no
// record bytes; a type without a record format raises EDatabaseError.
void RecordToValue(const TField* field, const void* buffer, TznUniValue& value);

}  // namespace brevant
