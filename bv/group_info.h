// What the column layout computes: one TtlGroupInfo per group that shows at
// least one column, and one TtlColumnLowLevelInfo per column. The
// collection owns the group objects and reuses them across rebuilds, so a
// pointer to a group stays valid until the number of groups shrinks; the
// layout operations re-read groups through their columns after a rebuild.
#pragma once

#include "bv/column.h"
#include "rtl/types.h"

namespace brevant {

class TtlGroupInfo {
 public:
  // Back to the values before a rebuild (-1 / 0 / False).
  void Reset() { *this = TtlGroupInfo(); }
  Integer Right() const { return Left + Width; }

  Integer Index = -1;             // place among the groups with visible columns
  Integer AllIndex = -1;          // place among all groups, all-hidden ones counted
  Integer FirstColumn = -1;       // collection index of the first column (hidden included)
  Integer LastColumn = -1;        // collection index of the last column (hidden included)
  Integer FirstVisible = -1;      // collection index of the first visible column
  Integer SecondVisible = -1;     // collection index of the second visible column, -1 if none
  Integer LastVisible = -1;       // collection index of the last visible column
  Integer LineCount = 0;          // lines (visible columns at position 0)
  bool Single = false;            // FirstColumn = LastColumn
  Integer Width = 0;              // width of the widest line
  Integer TotalWidth = 0;         // Width + LineWidth
  Integer MinWidth = 0;           // 2 x the most visible columns on one line
  Integer LineWidth = 0;          // the designer's column line width (0 without a grid)
  Integer Left = 0;               // sum of the total widths of the groups before it
  TtlColumnFixed Fixed = cfNone;  // Fixed of the group's first column
  bool FixedWidth = false;        // a visible column has cboFixedWidth
  bool Standalone = false;        // a visible column has cboStandalone
  bool InView = false;            // drawn in the current scroll window
  Integer ScreenLeft = 0;         // left edge in client coordinates for the scroll window
};

class TtlColumnLowLevelInfo {
 public:
  bool IsLastInLine = false;         // the next visible column is in another line or group
  bool IsLastLine = false;           // the column's line is its group's last line
  Integer Offset = -1;               // left edge inside its line, -1 when hidden
  TtlColumn* PrevVisible = nullptr;  // nearest visible column before it
  TtlColumn* NextVisible = nullptr;  // nearest visible column after it
};

}  // namespace brevant
