// Helpers of the in-place editor tests: a shown form with a grid over an
// in-memory table (a single-line group, a two-line group and a Boolean
// column), visions for spins, memos and switches, and a log of what the
// editor asked of the grid.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "bv/base_designer.h"
#include "bv/column.h"
#include "bv/columns.h"
#include "bv/field_vision.h"
#include "bv/inplace_edit.h"
#include "bv/tabulon.h"
#include "controls/controls_test_util.h"
#include "db/datasource.h"
#include "db/mem_dataset.h"

namespace brevant::test {

// A grid that logs the keys its key handler receives ("key <vk>").
class TKeyLogGrid : public TDBTabulon {
  BV_CLASS(TKeyLogGrid, TDBTabulon)
 public:
  using TDBTabulon::TDBTabulon;
  std::vector<String> Keys;

 protected:
  void KeyDown(Word& key, TShiftState shift) override;
};

// A vision whose button clicks are logged as "click <kind>".
class TClickVision : public TznFieldVision {
  BV_CLASS(TClickVision, TznFieldVision)
 public:
  explicit TClickVision(TComponent* owner = nullptr) : TznFieldVision(owner) {}
  void ButtonClick(IznVisionEditor* editor) override;
  std::vector<Integer> Clicks;
};

// A multi-line vision (memo-like editing).
class TMemoVision : public TznFieldVision {
  BV_CLASS(TMemoVision, TznFieldVision)
 public:
  explicit TMemoVision(TComponent* owner = nullptr) : TznFieldVision(owner) { SetMultiLine(true); }
};

// A two-state switch on a Boolean field: Space or a click flips it and
// posts, as a check box does.
class TToggleVision : public TznFieldVision {
  BV_CLASS(TToggleVision, TznFieldVision)
 public:
  explicit TToggleVision(TComponent* owner = nullptr);
  void SwitchByKey(IznVisionEditor* editor, bool& posted) override;
  void SwitchByMouse(IznVisionEditor* editor, bool& posted) override;
  void CanSwitchByKey(IznVisionEditor* editor, Word key, bool& allow, TShiftState shift) override;
  void CanSwitchAt(IznVisionEditor* editor, Integer x, Integer y, bool& allow,
                   TShiftState shift) override;

 private:
  void Toggle(IznVisionEditor* editor, bool& posted);
};

// One AfterFieldPost as the grid raised it.
struct TPostRecord {
  TtlColumn* Column;          // the column posted
  TtlFieldPostCode Code;      // why
  TtlFieldEditAction Action;  // the action handed in
  String Value;               // the Name field when it fired
};

class InplaceTest : public ControlsTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Columns: 0 ID, 1 Name (a group of its own), 2 Note (line 1 of Name's
  // group), 3 Flag. Records ID 1..5, Name "R<i>", Note "N<i>", Flag False.
  void Build();
  TtlColumn* Col(Integer index) { return grid->Columns()->Items(index); }
  TtlInplaceEdit* Editor() { return grid->InplaceEditor(); }
  // Makes column current and opens the editor on it.
  bool Open(Integer column);
  void Key(Word vk, Byte mods = 0);
  void Type(const String& s);
  String Name() const;
  // The pixel at grid client point (x, y), read from the form's surface.
  TColor GridPixel(Integer x, Integer y);
  // The pixel at editor client point (x, y).
  TColor EditorPixel(Integer x, Integer y);

  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
  TKeyLogGrid* grid = nullptr;
  TtlBaseDesigner* designer = nullptr;
  TProbe* probe = nullptr;  // another control to give the focus to
  std::vector<TPostRecord> posts;
};

}  // namespace brevant::test
