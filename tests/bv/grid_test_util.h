// Helpers of the grid tests: a form on the off-screen backend holding a grid
// over an in-memory dataset, and a grid that records what it paints.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "bv/base_designer.h"
#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/tabulon.h"
#include "controls/controls_test_util.h"
#include "db/db_test_util.h"

namespace brevant::test {

// A grid that logs the rows (window rows) each paint covered.
class TPaintLogGrid : public TDBTabulon {
  BV_CLASS(TPaintLogGrid, TDBTabulon)
 public:
  using TDBTabulon::TDBTabulon;
  std::vector<TRect> Clips;
  // The rows touched by the logged paints, in paint order, and clears the log.
  std::vector<Integer> TakePaintedRows();

 protected:
  void Paint() override;
};

// A base designer whose rows all look alike (or not); the current and the
// selected rows show in the selected-row colour.
class TTestDesigner : public TtlBaseDesigner {
  BV_CLASS(TTestDesigner, TtlBaseDesigner)
 public:
  explicit TTestDesigner(TComponent* owner = nullptr, bool uniform = true)
      : TtlBaseDesigner(owner) {
    SetUniformRows(uniform);
    SetSelectedRowFill(true);
  }
  void SetUniform(bool value) { SetUniformRows(value); }
};

// A dataset that cannot tell record numbers.
class TUnsequencedDataSet : public TMemDataSet {
  BV_CLASS(TUnsequencedDataSet, TMemDataSet)
 public:
  using TMemDataSet::TMemDataSet;
  bool IsSequenced() override { return false; }
};

class GridTest : public ControlsTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Records ID 1..n, Name "R<i>"; the grid shows columns ID and Name and has
  // `rows` fitting rows; the dataset is opened.
  void Build(Integer n, Integer rows = 10, TMemDataSet* ds = nullptr);
  // Sets the grid's client height for exactly `rows` rows.
  void FitRows(Integer rows);
  Integer CurrentID();
  // The IDs shown in the window rows.
  std::vector<Integer> WindowIDs();
  void VScroll(Integer code, Integer pos = 0);
  TColor PixelAt(Integer x, Integer y);  // grid client coordinates

  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
  TPaintLogGrid* grid = nullptr;
  TTestDesigner* designer = nullptr;
};

}  // namespace brevant::test
