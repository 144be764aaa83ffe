// Where a drop-down opens: under the edit (centred, left- or right-aligned)
// or beside it, kept inside the screen's work area by moving it to the
// opposite side of the edit when it does not fit.
#pragma once

#include "bv_vtf/tool_form_types.h"
#include "rtl/types.h"

namespace brevant {

struct TznToolFormPlace {
  TRect Bounds;                        // outer bounds on the screen
  bool Opposite = false;               // above the edit, or left of it
  TvtfPlacement Side = tfpBottomLeft;  // the placement used (never tfpDefault)
};

// edit: the edit's screen rectangle; size: the background form's outer
// size; hostOffset: 1 for the in-place editor, 0 for a standalone edit.
TznToolFormPlace PlaceToolForm(TvtfPlacement placement, const TRect& edit, TSize size,
                               Integer hostOffset, const TRect& workArea);

}  // namespace brevant
