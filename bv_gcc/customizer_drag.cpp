#include "bv_gcc/customizer_drag.h"

#include <utility>

namespace brevant {

static TtlColumnDragQuery& DragQuery() {
  static TtlColumnDragQuery query;
  return query;
}

void SetColumnDragQuery(TtlColumnDragQuery query) {
  DragQuery() = std::move(query);
}

TtlColumnDragInfo ColumnDragOf(TDBTabulon* grid) {
  if (!grid || !DragQuery()) return {};
  return DragQuery()(grid);
}

}  // namespace brevant
