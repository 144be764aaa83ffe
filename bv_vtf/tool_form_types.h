// The enumerations, option sets, sizing record and event types of the
// drop-down tool form host.
#pragma once

#include "bv/field_vision_types.h"
#include "classes/typinfo.h"
#include "rtl/method.h"
#include "rtl/sets.h"

namespace brevant {

// Where the drop-down opens relative to the edit; tfpDefault is tfpBottomLeft.
enum TvtfPlacement : Byte {
  tfpDefault,
  tfpBottomCenter,
  tfpBottomLeft,
  tfpBottomRight,
  tfpRightCenter
};
BV_DECLARE_ENUM_INFO(TvtfPlacement)

enum TvtfOption : Byte {
  tfoFocusable,         // the drop-down takes the focus and runs a modal loop
  tfoFixedWidth,        // the user cannot change the width
  tfoFixedHeight,       // the user cannot change the height
  tfoNoAutoPost,        // Return in the drop-down does not accept
  tfoNoAutoCancel,      // Escape in the drop-down does not discard
  tfoAlwaysPostChanges  // changes are posted also when closing discards
};
using TvtfOptions = TSet<TvtfOption>;
BV_DECLARE_ENUM_INFO(TvtfOption)
BV_DECLARE_ENUM_INFO(TvtfOptions)

// The size proposed while the user drags an edge of the drop-down; a
// handler may change it.
struct TznSizingInfo {
  Integer Width = 0;   // proposed outer width of the background window
  Integer Height = 0;  // proposed outer height
};

using TvtfSizingEvent = TEvent<void(TObject* Sender, TznSizingInfo& SizingInfo)>;
using TvtfShortCutEvent = TEvent<void(TObject* Sender, Word& Key)>;
using TvtfEditActionEvent = TEvent<void(TObject* Sender, TznEditAction EditAction)>;

}  // namespace brevant
