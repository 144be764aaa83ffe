// The paint attributes of one cell: the colour, font overrides and states a
// painter applies before a vision draws the cell. Grids keep one per column
// and window row; edit controls share one (EditorsCellAttrs).
#pragma once

#include "graphics/colors.h"
#include "graphics/font.h"
#include "rtl/object.h"

namespace brevant {

class TznCellAttrs : public TObject {
  BV_CLASS(TznCellAttrs, TObject)
 public:
  TznCellAttrs() = default;
  // Back to the values every paint of the cell starts from.
  void Reset();

  TColor Color = clNone;      // cell background, clNone: the row's or the control's
  bool Focused = false;       // the cell's grid or editor has the focus
  bool Switched = false;      // the editor's switch is on for this cell
  bool Hot = false;           // the mouse is over this cell
  TColor FontColor = clNone;  // overrides the cell font colour unless clNone
  TFontStyles FontStyle;      // added to the cell font style
  String FontName;            // overrides the cell font name unless empty
  bool Fill = false;          // the cell colour is the selected look
  bool UltraSoft = false;     // the cell colour is painted in its soft form
  bool FocusCell = false;     // the current cell of the current row
};

class TtlCellAttrs : public TznCellAttrs {
  BV_CLASS(TtlCellAttrs, TznCellAttrs)
 public:
  TtlCellAttrs() = default;
};

}  // namespace brevant
