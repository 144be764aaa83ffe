// The border kinds of the suite's controls (painted by draw_helpers.h).
#pragma once

#include "classes/classes_fwd.h"

namespace brevant {

// Border kinds of the suite's controls. From bsSoft on the control reserves
// a non-client border and paints it itself.
enum TznBorderStyle : Byte {
  bsNoBorder,
  bs3D,
  bsSoft,
  bsSoftExt,
  bsFlat,
  bsFlatExt,
  bsMono,
  bsMonoExt
};
BV_DECLARE_ENUM_INFO(TznBorderStyle)

}  // namespace brevant
