// The in-place editor's switchers and buttons (switch by key and click,
// the pressed cell, spin auto-repeat under the virtual clock), the face
// the grid paints for switching cells, and what a relayout, resize or
// scroll does to an open editor.
#include <gtest/gtest.h>

#include "backend/codes.h"
#include "bv/db_edit_switchers.h"
#include "bv/field_list.h"
#include "bv_rtm/switcher.h"
#include "db/field.h"
#include "inplace_test_util.h"

namespace brevant::test {
namespace {

class GridSwitchTest : public InplaceTest {
 protected:
  void BuildToggle() {
    Build();
    toggle.reset(Create<TToggleVision>(nullptr));
    Col(3)->SetVision(toggle.get());
    Pump();
  }
  void TearDown() override {
    if (grid) Col(3)->SetVision(nullptr);
    InplaceTest::TearDown();
  }
  bool Flag() { return ds->FieldByName("Flag")->AsBoolean(); }
  static void Tick(Integer n = 1) {
    for (Integer i = 0; i < n; ++i) {
      Offscreen().Advance(TznSwitcher::RepeatInterval);
      Pump();
    }
  }
  TObjectPtr<TToggleVision> toggle;
};

TEST_F(GridSwitchTest, SpaceSwitchesOnReleaseAndReportsOnePost) {
  BuildToggle();
  ASSERT_TRUE(Open(3));
  Offscreen().KeyDown(VK_SPACE);
  Pump();
  EXPECT_FALSE(Flag());  // fires on key up
  Offscreen().KeyUp(VK_SPACE);
  Pump();
  EXPECT_TRUE(Flag());
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Column, Col(3));
  EXPECT_EQ(posts[0].Code, fpcNone);
}

TEST_F(GridSwitchTest, AClickSwitchesOnceAndAReleaseOutsideDoesNot) {
  BuildToggle();
  ASSERT_TRUE(Open(3));
  const TPoint inside = At(Editor(), 5, 5);
  Offscreen().MouseDown(inside);
  Pump();
  // While held, the grid knows the pressed cell.
  EXPECT_EQ(grid->SwitchedColumn(), Col(3));
  EXPECT_EQ(grid->SwitchedRow(), grid->CursorRow());
  Offscreen().MouseUp(inside);
  Pump();
  EXPECT_EQ(grid->SwitchedColumn(), nullptr);
  EXPECT_EQ(grid->SwitchedRow(), -1);
  EXPECT_TRUE(Flag());
  EXPECT_EQ(posts.size(), 1u);
  // Released outside the editor: nothing.
  Offscreen().MouseDown(inside);
  Pump();
  const TPoint outside = At(probe, 5, 5);
  Offscreen().MouseMove(outside);
  Offscreen().MouseUp(outside);
  Pump();
  EXPECT_TRUE(Flag());
  EXPECT_EQ(posts.size(), 1u);
}

// A switch whose post fails reports no post: AfterFieldPost stays silent
// and the field keeps its value.
TEST_F(GridSwitchTest, AFailedSwitchPostIsNotReportedAsPosted) {
  BuildToggle();
  toggle->BeforePost = TfvBeforePostEvent::FromCallable(
      [](TObject*, TtlFieldList*, TtlFieldValue*, bool&) { throw EDatabaseError("no"); });
  ASSERT_TRUE(Open(3));
  Key(VK_SPACE);
  EXPECT_EQ(HandledMessage(), "no");
  EXPECT_TRUE(posts.empty());
  EXPECT_FALSE(Flag());
  EXPECT_EQ(Editor()->FieldList()->UpdateCount(), 0);  // the bracket closed
  // The next switch that succeeds is reported once.
  toggle->BeforePost = TfvBeforePostEvent();
  Key(VK_SPACE);
  EXPECT_TRUE(Flag());
  EXPECT_EQ(posts.size(), 1u);
}

// The face of a switching cell is the grid's own paint of that cell.
TEST_F(GridSwitchTest, TheFaceOfASwitchingCellIsTheGridsCell) {
  BuildToggle();
  grid->SetHideSelection(false);
  grid->SelectColumn(3);
  probe->SetFocus();
  Pump();
  const TRect cell = Col(3)->CellRect(grid->ActiveRow(), false, false);
  std::vector<TColor> before;
  for (Integer y = cell.Top; y < cell.Bottom; ++y)
    for (Integer x = cell.Left; x < cell.Right; ++x) before.push_back(GridPixel(x, y));
  ASSERT_TRUE(grid->OpenEditor(Col(3)));
  Pump();
  ASSERT_EQ(Editor()->BoundsRect(), cell);
  grid->SetFocus();  // the grid paints its cells unfocused either way
  probe->SetFocus();
  Pump();
  Editor()->Repaint();
  Pump();
  size_t i = 0, differing = 0;
  for (Integer y = 0; y < cell.Height(); ++y)
    for (Integer x = 0; x < cell.Width(); ++x)
      if (EditorPixel(x, y) != before[i++]) ++differing;
  EXPECT_EQ(differing, 0u);
}

TEST_F(GridSwitchTest, AHeldSpinHalfRepeatsUnderTheVirtualClock) {
  Build();
  TObjectPtr<TClickVision> spin(Create<TClickVision>(nullptr));
  spin->SetEnableButton(true);
  spin->SetButtonStyle(pbsSpin);
  Col(1)->SetVision(spin.get());
  ASSERT_TRUE(Open(1));
  const TRect strip = Editor()->ButtonRect();
  ASSERT_FALSE(IsRectEmpty(strip));
  const TPoint lower = At(Editor(), (strip.Left + strip.Right) / 2, strip.Bottom - 2);
  Offscreen().MouseDown(lower);
  Pump();
  EXPECT_EQ(Editor()->ButtonSwitcher()->Part(), epSpinDown);
  Tick(9);
  EXPECT_TRUE(spin->Clicks.empty());
  Tick();  // tick 9 fires
  EXPECT_EQ(spin->Clicks, (std::vector<Integer>{bkMouseDown}));
  Tick(3);  // and tick 12
  EXPECT_EQ(spin->Clicks.size(), 2u);
  Offscreen().MouseUp(lower);
  Pump();
  EXPECT_EQ(spin->Clicks.size(), 3u);  // once more on release inside
  Tick(20);
  EXPECT_EQ(spin->Clicks.size(), 3u);
  EXPECT_TRUE(grid->EditorShown());
  Col(1)->SetVision(nullptr);
}

// ---- the exit reason lives for one request only ----

TEST_F(GridSwitchTest, ALaterPostAfterAKeptReturnReportsItsOwnReason) {
  Build();
  grid->SetOptionsEdit(TtlOptionsEdit{geoAlwaysShowEditor});
  ASSERT_TRUE(Open(1));
  Type("A");
  Key(VK_RETURN);
  ASSERT_TRUE(grid->EditorShown());
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Code, fpcReturn);
  Type("B");
  probe->SetFocus();  // leaving the grid posts the record
  Pump();
  ASSERT_EQ(posts.size(), 2u);
  EXPECT_EQ(posts[1].Code, fpcNone);
  EXPECT_EQ(posts[1].Value, "B");
}

TEST_F(GridSwitchTest, AfterAKeyActionSwitchesFireOnKeyReleaseAgain) {
  BuildToggle();
  grid->SetOptionsEdit(TtlOptionsEdit{geoAlwaysShowEditor});
  grid->OnEditKeyPress = TtlEditKeyPressEvent::FromCallable(
      [](TObject*, TtlColumn*, char32_t& key, TtlFieldEditAction& action, bool&) {
        if (key == U'q') action = feaPost;
      });
  ASSERT_TRUE(Open(3));
  Type("q");  // the action closes (and keeps) the editor on release
  ASSERT_TRUE(grid->EditorShown());
  EXPECT_EQ(Editor()->ExitReason(), fpcNone);
  Key(VK_SPACE);
  EXPECT_TRUE(Flag());
  Key(VK_SPACE);
  EXPECT_FALSE(Flag());
}

// ---- relayout, resize and scroll ----

TEST_F(GridSwitchTest, ResizingWhileTypingKeepsTheText) {
  Build();
  ASSERT_TRUE(Open(1));
  Type("typed");
  grid->SetWidth(grid->Width() - 40);
  Pump();
  grid->SetRowLines(2);
  Pump();
  EXPECT_TRUE(grid->EditorShown());
  EXPECT_EQ(Editor()->Text(), "typed");
  EXPECT_EQ(Editor()->BoundsRect(), Col(1)->CellRect(grid->ActiveRow(), false, false));
  Key(VK_RETURN);
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Value, "typed");
}

TEST_F(GridSwitchTest, AnUntouchedEditorFollowsTheFieldOnRelayout) {
  Build();
  ASSERT_TRUE(Open(1));
  ds->Edit();
  ds->FieldByName("Name")->SetAsString("Other");
  grid->SetRowLines(2);
  Pump();
  EXPECT_EQ(Editor()->Text(), "Other");
  ds->Cancel();
}

TEST_F(GridSwitchTest, ScrollingHidesTheEditorUnlessAlwaysShown) {
  Build();
  ASSERT_TRUE(Open(1));
  ds->Next();
  Pump();
  EXPECT_FALSE(grid->EditorShown());
  grid->SetOptionsEdit(TtlOptionsEdit{geoAlwaysShowEditor});
  ASSERT_TRUE(Open(1));
  ds->Next();
  Pump();
  EXPECT_TRUE(grid->EditorShown());
  EXPECT_EQ(Editor()->Text(), "R3");
  EXPECT_EQ(Editor()->BoundsRect(), Col(1)->CellRect(grid->ActiveRow(), false, false));
}

TEST_F(GridSwitchTest, AColumnScrolledOutOfViewClosesTheEditor) {
  Build();
  ASSERT_TRUE(Open(1));
  Col(1)->SetVisible(false);
  Pump();
  EXPECT_FALSE(grid->EditorShown());
}

}  // namespace
}  // namespace brevant::test
