#include "bv_gcc/customizer_drag.h"

#include <utility>

#include "bv/columns.h"
#include "bv/dragger.h"
#include "bv/tabulon.h"

namespace brevant {

static TtlColumnDragQuery& DragQuery() {
  static TtlColumnDragQuery query;
  return query;
}

void SetColumnDragQuery(TtlColumnDragQuery query) {
  DragQuery() = std::move(query);
}

// Without an installed query the grid's own drag state answers.
TtlColumnDragInfo ColumnDragOf(TDBTabulon* grid) {
  if (!grid) return {};
  if (DragQuery()) return DragQuery()(grid);
  const TtlDragger* dragger = grid->Dragger();
  if (!dragger) return {};
  const TtlDropTarget& drop = dragger->Drop();
  // A field dragged out of the field chooser has no column yet, but the
  // place the grid tracked for it still counts.
  if (!grid->DraggedColumn() && drop.Kind == dtkNone) return {};
  const Integer group = drop.Group < 0 ? grid->Columns()->GroupCount() : drop.Group;
  return {grid->DraggedColumn(), static_cast<Integer>(drop.Kind), group, drop.Line, drop.Pos};
}

}  // namespace brevant
