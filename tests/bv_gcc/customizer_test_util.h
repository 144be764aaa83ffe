// Helpers of the customizer tests: a grid over four fields (ID, Name,
// City, Zip) on a form of the off-screen backend, the customizer unit
// started for each test, and a column drag the tests stage for the grid.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "bv/column.h"
#include "bv/grid_test_util.h"
#include "bv_gcc/customizer.h"
#include "bv_gcc/customizer_drag.h"
#include "bv_gcc/customizer_unit.h"

namespace brevant::test {

class CustomizerTest : public GridTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Columns ID, Name, City, Zip over records 1..5, one group each.
  void BuildFour();
  TtlColumn* Col(const char* fieldName) const;
  TbvTabulonCustomizer* Customizer() const { return OpenedCustomizer(); }
  // The captions the open customizer lists, as "A B C".
  String ListText() const;
  // Makes the list entry with this caption current.
  void Select(const String& caption);
  // The grid's visible layout: groups split by "|", lines by "/", places
  // by ",", e.g. "ID|Name,City/Zip".
  String Layout() const;
  // The customizer's window on the screen.
  TNativeWindow CustomizerNative() const;
  // A screen point inside a control's client area.
  static TPoint ScreenAt(const TControl* c, Integer x, Integer y) {
    return c->ClientToScreen({x, y});
  }
  void MouseTo(TPoint p);

  TtlColumnDragInfo drag;  // what the staged column drag of `grid` answers
  String log, otherLog;    // customizer actions the grids reported
};

}  // namespace brevant::test
