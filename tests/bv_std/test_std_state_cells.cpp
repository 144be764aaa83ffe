// Check boxes and x-states switched in grid cells with real clicks and
// Space: each switch posts once into the record and reports it to the grid.
#include <gtest/gtest.h>

#include "backend/codes.h"
#include "bv/column.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "bv_std/state_visions.h"
#include "bv_std/state_visions_xstate.h"
#include "controls/controls_test_util.h"
#include "controls/forms.h"
#include "db/dataset.h"
#include "db/field.h"
#include "std_vision_test_util.h"

namespace stdtest {
namespace {

using brevant::test::ControlsTest;
using brevant::test::Offscreen;

class StateCellsTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form->SetBounds(100, 100, 400, 300);
    box = Create<TCheckBoxVision>(form);
    xs = Create<TXStateVision>(form);
    xs->SetEnableSwitches(true);
    for (const char* v : {"A", "B", "C"}) {
      TXState* s = xs->States()->Add();
      s->SetFieldValue(v);
      s->SetDisplayText(String("State ") + v);
    }
    grid = Create<TDBTabulon>(form);
    grid->SetBounds(10, 10, 300, 200);
    grid->SetParent(form);
    TtlColumn* flag = grid->Columns()->Add();
    flag->SetFieldName("Flag");
    flag->SetVision(box);
    TtlColumn* state = grid->Columns()->Add();
    state->SetFieldName("State");
    state->SetVision(xs);
    grid->SetDataSource(data.source.get());
    grid->AfterFieldPost = TtlAfterFieldPostEvent::FromCallable(
        [this](TObject*, TtlColumn* column, TtlFieldPostCode, TtlFieldEditAction&) {
          posts.push_back(column->FieldName());
        });
    form->Show();
    grid->SetFocus();
    Pump();
  }
  void ClickCell(Integer column, Integer row) {
    const TRect r = grid->Columns()->Items(column)->CellRect(row, false, false);
    const TPoint p = grid->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    Offscreen().MouseMove(p);
    Offscreen().MouseDown(p);
    Offscreen().MouseUp(p);
    Pump();
  }
  Variant Value(const char* field) { return data.ds->FieldByName(field)->Value(); }

  TStdData data;
  TCheckBoxVision* box = nullptr;
  TXStateVision* xs = nullptr;
  TDBTabulon* grid = nullptr;
  std::vector<String> posts;
};

TEST_F(StateCellsTest, ClicksAndSpaceSwitchCheckBoxesAndStates) {
  // The visions switch only on the current cell: the first click makes it
  // current.
  ClickCell(0, 0);
  EXPECT_TRUE(data.ds->FieldByName("Flag")->IsNull());
  EXPECT_TRUE(posts.empty());
  ClickCell(0, 0);
  EXPECT_TRUE(data.ds->FieldByName("Flag")->AsBoolean()) << "a null box checks";
  EXPECT_EQ(posts, std::vector<String>{"Flag"});
  Offscreen().PressKey(VK_SPACE);
  Pump();
  EXPECT_FALSE(data.ds->FieldByName("Flag")->AsBoolean());
  EXPECT_EQ(posts.size(), 2u);

  ClickCell(1, 0);
  EXPECT_TRUE(data.ds->FieldByName("State")->IsNull());
  ClickCell(1, 0);
  EXPECT_EQ(data.ds->FieldByName("State")->AsString(), "A");
  Offscreen().PressKey(VK_SPACE);
  Pump();
  EXPECT_EQ(data.ds->FieldByName("State")->AsString(), "B");
  EXPECT_EQ(posts, (std::vector<String>{"Flag", "Flag", "State", "State"}));
}

TEST_F(StateCellsTest, AReadOnlyGridSwitchesNothing) {
  grid->SetReadOnly(true);
  ClickCell(0, 0);
  Offscreen().PressKey(VK_SPACE);
  Pump();
  EXPECT_TRUE(data.ds->FieldByName("Flag")->IsNull());
  EXPECT_TRUE(posts.empty());
}

}  // namespace
}  // namespace stdtest
