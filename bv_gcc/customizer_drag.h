// What the column customizer reads of a grid's running column drag: the
// dragged column and the drop target the grid's tracking chose. The grid's
// drag state answers through one process-wide query, installed by whoever
// owns that state (the grid unit); without a query no grid is dragging a
// column, so the customizer's list accepts nothing and an entry dropped
// on a grid only shows its column (or appends one).
#pragma once

#include <functional>

#include "bv/bv_fwd.h"
#include "rtl/types.h"

namespace brevant {

// Drop kinds of a column drag's target.
constexpr Integer dkNone = 0, dkNewGroup = 1, dkNewLine = 2, dkIntoLine = 3;

struct TtlColumnDragInfo {
  TtlColumn* Column = nullptr;  // the dragged column; nil while no column drag runs
  Integer DropKind = dkNone;    // dkNone .. dkIntoLine
  Integer DropGroup = -1;       // the target group's index (GroupCount: the end)
  Integer DropLine = 0;         // the target line in the group
  Integer DropPosition = 0;     // the target place in the line
};

using TtlColumnDragQuery = std::function<TtlColumnDragInfo(TDBTabulon* grid)>;

// Installs the query (an empty one removes it).
void SetColumnDragQuery(TtlColumnDragQuery query);
// The grid's column drag as the query answers it; empty without a query.
TtlColumnDragInfo ColumnDragOf(TDBTabulon* grid);

}  // namespace brevant
