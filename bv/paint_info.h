// The grid's paint state and the per-row attributes a paint prepares: which
// rows, groups and bands a paint covers, and for every window row its
// colours, font overrides and states, with one cell-attributes record per
// column. Rows are reset before every paint of their row; the lists only
// grow and shrink with the record window, they are never rebuilt per paint.
#pragma once

#include <memory>
#include <vector>

#include "bv/bv_fwd.h"
#include "bv/cell_attrs.h"
#include "db/db_fwd.h"
#include "graphics/colors.h"
#include "graphics/font.h"
#include "rtl/object.h"
#include "rtl/types.h"

namespace brevant {

class TBitmap;
class TCanvas;
class TtlPaintInfo;

// Bits of TtlPaintInfo::Parts.
inline constexpr Cardinal ppTitles = 2;
inline constexpr Cardinal ppRows = 4;
inline constexpr Cardinal ppFooters = 8;

// The attributes of one window row, handed to OnGetRowAttrs.
class TtlRowAttrs : public TObject {
  BV_CLASS(TtlRowAttrs, TObject)
 public:
  explicit TtlRowAttrs(TtlPaintInfo* info = nullptr) : PaintInfo(info) {}
  ~TtlRowAttrs() override;
  // Back to the values every paint of the row starts from, with one cell
  // record (reset too) per column of the grid.
  void Reset(Integer row, Integer columnCount);
  // The cell attributes of the column with that collection index (nil
  // outside the columns).
  TtlCellAttrs* Cells(Integer columnIndex) const;
  // The same for the first column whose FieldName matches; nil for none.
  TtlCellAttrs* CellsByName(const String& fieldName) const;

  TtlPaintInfo* PaintInfo;      // the owner
  TDataSet* DataSet = nullptr;  // positioned on the row's record while the event runs
  TColor Color = clNone;        // row background
  TColor FontColor = clNone;    // overrides the cell font colour
  TFontStyles FontStyle;        // added to the cell font style
  String FontName;              // overrides the cell font name
  bool Fill = false;            // the row colour also covers cvoForeColorFill columns
  bool UltraSoft = false;       // the row colour is painted in its soft form
  Integer RowIndex = -1;        // window row
  Integer StripNo = 0;          // 1 .. StripStep by record number, 0 without strips
  bool IsCurrent = false;       // the row is the cursor row
  bool Focused = false;         // current row of a grid that has the focus
  bool Selected = false;        // the record is in the selection
  bool Hot = false;             // the mouse is over a data cell of this row

 private:
  std::vector<std::unique_ptr<TtlCellAttrs>> cells_;  // one per column, owned
};

// One per grid: what the current paint covers.
class TtlPaintInfo : public TObject {
  BV_CLASS(TtlPaintInfo, TObject)
 public:
  explicit TtlPaintInfo(TDBTabulon* grid = nullptr);
  ~TtlPaintInfo() override;
  // Resizes the row list to count: rows go from the front or are appended
  // at the end.
  void ResizeRows(Integer count);
  Integer RowCount() const { return static_cast<Integer>(Rows.size()); }
  TtlRowAttrs* Row(Integer row) const { return Rows.at(static_cast<size_t>(row)).get(); }
  // The off-screen pixels a paint draws into, kept from paint to paint: at
  // least width x height, sized to the grid's client area plus one spare
  // column, and made again only when that size changes. Its content is
  // whatever the last paint left.
  TBitmap* OffScreenBitmap(Integer width, Integer height);
  // The kept bitmap, nil before the first off-screen paint.
  TBitmap* KeptBitmap() const { return offScreen_.get(); }
  // Frees the kept bitmap (the grid's window goes away).
  void ReleaseOffScreen();

  TDBTabulon* Grid;                                // the owning grid
  std::vector<std::unique_ptr<TtlRowAttrs>> Rows;  // one per window row, owned
  TCanvas* Canvas = nullptr;                       // canvas to paint on
  TRect ClipRect{};                                // area to paint (client coordinates)
  TColor BackColor = clNone;                       // the grid's Color
  Integer FirstGroup = 0;                          // first column group to paint
  Integer LastGroup = -1;                          // last column group to paint
  Integer FirstRow = -1;                           // first window row to paint, -1 none
  Integer LastRow = -1;                            // last window row to paint, -1 none
  Cardinal Parts = 0;                              // pp* bits: titles, rows, footers
  bool OffScreen = false;                          // paint through an off-screen bitmap

 private:
  TObjectPtr<TBitmap> offScreen_;  // the kept off-screen pixels, owned
};

}  // namespace brevant
