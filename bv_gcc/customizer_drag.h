// What the column customizer reads of a grid's running column drag: the
// dragged column and the drop target the grid's tracking chose. The grid's
// dragger answers; a process-wide query may stand in for it (tests install
// one to script a drag).
#pragma once

#include <functional>

#include "bv/bv_fwd.h"
#include "rtl/types.h"

namespace brevant {

// Drop kinds of a column drag's target.
constexpr Integer dkNone = 0, dkNewGroup = 1, dkNewLine = 2, dkIntoLine = 3;

struct TtlColumnDragInfo {
  TtlColumn* Column = nullptr;  // the dragged column; nil without one (also for a field)
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
