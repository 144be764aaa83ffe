// TtlColumnSizer: the one process-wide tracker of a column sizing drag. The
// grid finds a sizing edge (TDBTabulon::SizingEdgeAt), which keeps the
// column and the limits of the sizing line here; a press starts the xor
// line, moves follow it within the limits and the release erases it and
// answers the new width (TDBTabulon::StartSizing, TrackSizing, EndSizing).
//
// The line is a vertical two-pixel white line in xor mode over the grid's
// whole client height, so drawing it a second time erases it and the
// pixels under it come back exactly.
#pragma once

#include <limits>

#include "bv/bv_fwd.h"
#include "rtl/persistent.h"
#include "rtl/types.h"

namespace brevant {

// The right limit of a line that may go anywhere to the right.
constexpr Integer kSizerUnlimited = std::numeric_limits<Integer>::max();

class TtlColumnSizer : public TPersistent {
  BV_CLASS(TtlColumnSizer, TPersistent)
 public:
  TtlColumnSizer() = default;

  // What SizingEdgeAt found: the column and the limits of the line.
  void Prepare(TtlColumn* column, Integer minX, Integer maxX);
  TtlColumn* Column() const { return column_; }
  Integer MinX() const { return minX_; }
  Integer MaxX() const { return maxX_; }
  // The x of the line while it is shown, -1 otherwise.
  Integer LineX() const { return lineX_; }
  bool Sizing() const { return grid_ != nullptr; }
  TDBTabulon* Grid() const { return grid_; }

  // Draws the line at x (clamped) on grid.
  void Start(TDBTabulon* grid, Integer x);
  // Moves the line to x, clamped to the limits; nothing when it stays.
  void Track(Integer x);
  // Erases the line and answers the width it gives: x (clamped) less the
  // minimum, at least 0. Nothing is sized here.
  Integer Finish(Integer x);
  // Erases a shown line and forgets the grid and the column (also when the
  // column or the grid goes away).
  void Cancel();
  // A column or grid going away: forgotten when it is the one kept.
  void Forget(const TObject* object);

 private:
  Integer Clamp(Integer x) const;
  // Draws the line at x in xor mode (drawing it again erases it).
  void DrawLine(Integer x) const;

  TDBTabulon* grid_ = nullptr;      // the grid being sized in, nil when idle
  TtlColumn* column_ = nullptr;     // the column an edge was found for
  Integer minX_ = 0;                // the line's leftmost x
  Integer maxX_ = kSizerUnlimited;  // the line's rightmost x
  Integer lineX_ = -1;              // where the line is drawn, -1 when not
};

// The process-wide sizer.
TtlColumnSizer* ColumnSizer();

}  // namespace brevant
