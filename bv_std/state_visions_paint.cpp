// The paint-state queries the state and blob visions share.
#include "bv_std/state_visions_paint.h"

#include "bv/field_list.h"
#include "bv/vision_painter.h"

namespace brevant {

namespace {

IznEditorPaintState* PaintStateOf(TtlFieldList* fields) {
  return dynamic_cast<IznEditorPaintState*>(PaintingEditor(fields));
}

}  // namespace

IznVisionEditor* PaintingEditor(TtlFieldList* fields) {
  return fields->OwnerKind() == fokEdit ? fields->Editor() : nullptr;
}

bool IsStandaloneEditor(TtlFieldList* fields) {
  return PaintingEditor(fields) && !fields->Column();
}

bool EditorInEditState(TtlFieldList* fields) {
  IznEditorPaintState* state = PaintStateOf(fields);
  return state && state->InEditState();
}

bool IsFocusedStandalone(TtlFieldList* fields) {
  if (!IsStandaloneEditor(fields) || !EditorInEditState(fields)) return false;
  return !fields->Editor()->DroppedDown() && !PaintStateOf(fields)->SurfacePressed();
}

bool IsCellPressed(TtlFieldList* fields, TfvPainter* painter) {
  if (IznEditorPaintState* state = PaintStateOf(fields)) return state->SurfacePressed();
  auto* cell = dynamic_cast<IfvPressedCellState*>(painter);
  return cell && cell->CellPressed();
}

}  // namespace brevant
