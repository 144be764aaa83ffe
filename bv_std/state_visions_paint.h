// What the state and blob visions ask, while drawing, of the edit control
// or the grid painter they draw for. The edit controls and the grid's
// painter implement these next to IznVisionEditor / TtlPainter; a vision
// finds them with a dynamic cast and assumes "not editing, not pressed"
// where they are missing.
#pragma once

#include "bv/vision_editor_ext.h"

namespace brevant {

class TfvPainter;
class TtlFieldList;

// A grid painter that knows the grid's pressed cell.
class IfvPressedCellState {
 public:
  // The cell being drawn is the grid's pressed cell.
  virtual bool CellPressed() = 0;

 protected:
  ~IfvPressedCellState() = default;
};

// The editor drawing through fields, nil for grid cells and text displays.
IznVisionEditor* PaintingEditor(TtlFieldList* fields);
// A standalone edit control (not the grid's in-place editor) draws.
bool IsStandaloneEditor(TtlFieldList* fields);
// The painting editor is in edit state (standalone or in place).
bool EditorInEditState(TtlFieldList* fields);
// A focused standalone editor: in edit state, no drop-down open and no
// mouse press on its surface under way.
bool IsFocusedStandalone(TtlFieldList* fields);
// The cell is drawn pressed: the editor's surface is pressed, or the grid
// painter draws its pressed cell.
bool IsCellPressed(TtlFieldList* fields, TfvPainter* painter);

}  // namespace brevant
