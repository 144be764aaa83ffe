#include "bv/cell_attrs.h"

#include "classes/rtti_builder.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TznCellAttrs, TObject)
BV_IMPLEMENT_CLASS(TtlCellAttrs, TznCellAttrs)

void TznCellAttrs::Reset() {
  Color = clNone;
  Focused = false;
  Switched = false;
  Hot = false;
  FontColor = clNone;
  FontStyle = {};
  FontName.clear();
  Fill = false;
  UltraSoft = false;
  FocusCell = false;
}

}  // namespace brevant
