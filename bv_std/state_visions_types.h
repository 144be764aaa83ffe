// Event types the state and blob visions share.
#pragma once

#include "bv/field_vision_types.h"

namespace brevant {

// The text a vision shows for fields without a main field; IsNull marks the
// value as null.
using TfvGetStrValueEvent =
    TEvent<void(TObject* Sender, TtlFieldList* Fields, String& Value, bool& IsNull)>;

}  // namespace brevant
