// Placement of a drop-down against its edit inside the work area: every
// placement, the host offset, and the moves to the opposite side.
#include <gtest/gtest.h>

#include "bv_vtf/tool_form_placement.h"

namespace brevant::test {

namespace {

struct TPlaceRow {
  const char* name;         // what the row checks
  TvtfPlacement placement;  // asked placement
  TRect edit;               // the edit on the screen
  TSize size;               // outer size of the drop-down
  Integer hostOffset;       // 1 in a grid, 0 standalone
  TRect expect;             // resulting bounds
  bool opposite;            // moved to the other side
  TvtfPlacement side;       // placement used
};

const TRect kWork(0, 0, 800, 600);

}  // namespace

TEST(ToolFormPlacement, PlacesAndFitsIntoTheWorkArea) {
  const TRect e(100, 100, 200, 120);  // 100 x 20
  const TPlaceRow rows[] = {
      {"default is bottom left",
       tfpDefault,
       e,
       {150, 80},
       0,
       Bounds(100, 120, 150, 80),
       false,
       tfpBottomLeft},
      {"bottom left in a grid shifts one pixel",
       tfpBottomLeft,
       e,
       {102, 80},
       1,
       Bounds(99, 120, 102, 80),
       false,
       tfpBottomLeft},
      {"bottom centre",
       tfpBottomCenter,
       e,
       {150, 80},
       0,
       Bounds(74, 120, 150, 80),
       false,
       tfpBottomCenter},
      {"bottom right",
       tfpBottomRight,
       e,
       {150, 80},
       0,
       Bounds(50, 120, 150, 80),
       false,
       tfpBottomRight},
      {"right centre",
       tfpRightCenter,
       e,
       {150, 80},
       0,
       Bounds(200, 69, 150, 80),
       false,
       tfpRightCenter},
      {"left edge clamps",
       tfpBottomRight,
       Rect(10, 100, 60, 120),
       {150, 80},
       0,
       Bounds(0, 120, 150, 80),
       false,
       tfpBottomRight},
      {"right edge clamps",
       tfpBottomLeft,
       Rect(700, 100, 780, 120),
       {150, 80},
       0,
       Bounds(650, 120, 150, 80),
       false,
       tfpBottomLeft},
      {"wider than the area keeps to the right edge",
       tfpBottomLeft,
       e,
       {900, 80},
       0,
       Bounds(-100, 120, 900, 80),
       false,
       tfpBottomLeft},
      {"bottom edge moves above",
       tfpBottomLeft,
       Rect(100, 550, 200, 570),
       {150, 80},
       0,
       Bounds(100, 470, 150, 80),
       true,
       tfpBottomLeft},
      {"exactly fitting stays below",
       tfpBottomLeft,
       Rect(100, 500, 200, 520),
       {150, 80},
       0,
       Bounds(100, 520, 150, 80),
       false,
       tfpBottomLeft},
      {"beside: top clamps",
       tfpRightCenter,
       Rect(100, 0, 200, 20),
       {150, 80},
       0,
       Bounds(200, 0, 150, 80),
       false,
       tfpRightCenter},
      {"beside: bottom clamps",
       tfpRightCenter,
       Rect(100, 580, 200, 600),
       {150, 80},
       0,
       Bounds(200, 520, 150, 80),
       false,
       tfpRightCenter},
      {"beside: right edge moves left",
       tfpRightCenter,
       Rect(700, 100, 780, 120),
       {150, 80},
       0,
       Bounds(550, 69, 150, 80),
       true,
       tfpRightCenter},
  };
  for (const TPlaceRow& row : rows) {
    SCOPED_TRACE(row.name);
    const TznToolFormPlace p =
        PlaceToolForm(row.placement, row.edit, row.size, row.hostOffset, kWork);
    EXPECT_EQ(p.Bounds, row.expect);
    EXPECT_EQ(p.Opposite, row.opposite);
    EXPECT_EQ(p.Side, row.side);
  }
}

}  // namespace brevant::test
