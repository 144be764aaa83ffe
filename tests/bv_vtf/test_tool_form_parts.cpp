// The tool form as a designed component: its published properties in the
// form text, the list grid it attaches while open, painting, accelerators.
#include <algorithm>

#include "bv/tabulon.h"
#include "bv_rtm/bv_errors.h"
#include "classes/formstream.h"
#include "controls/test_hooks.h"
#include "rtl/streams.h"
#include "tool_form_test_util.h"

namespace brevant::test {

TEST_F(ToolFormTest, PublishedPropertiesRoundTripThroughTheFormText) {
  auto* designed = Create<TVisionToolForm>(nullptr);
  TScopeGuard freeDesigned([designed] { designed->Free(); });
  designed->SetName("DropForm");
  designed->SetPlacement(tfpRightCenter);
  designed->SetOptions({tfoFocusable, tfoFixedHeight, tfoAlwaysPostChanges});
  TStringStream out("");
  WriteComponentText(out, designed);
  const String text = out.DataString();
  EXPECT_NE(text.find("Placement = tfpRightCenter"), String::npos) << text;
  EXPECT_NE(text.find("Options = [tfoFocusable, tfoFixedHeight, tfoAlwaysPostChanges]"),
            String::npos)
      << text;
  // Defaults are not written: the window colour, no border width.
  EXPECT_EQ(text.find("Color ="), String::npos) << text;
  EXPECT_EQ(text.find("BorderWidth"), String::npos) << text;

  auto* loaded = Create<TVisionToolForm>(nullptr);
  TScopeGuard freeLoaded([loaded] { loaded->Free(); });
  TStringStream in(text);
  ReadComponent(in, loaded);
  EXPECT_EQ(loaded->Placement(), tfpRightCenter);
  EXPECT_EQ(loaded->Options(), (TvtfOptions{tfoFocusable, tfoFixedHeight, tfoAlwaysPostChanges}));
  EXPECT_EQ(loaded->Color(), clWindow);
  // Hidden at run time whatever the designer left.
  EXPECT_FALSE(loaded->Visible());
}

TEST_F(ToolFormTest, TheListGridIsAttachedWhileOpen) {
  auto* grid = Create<TDBTabulon>(form);
  grid->SetName("List");
  grid->SetBounds(0, 40, 150, 60);
  grid->SetParent(tf);
  tf->SetDataGrid(grid);
  Open();
  ASSERT_TRUE(tf->IsOpen());
  EXPECT_EQ(grid->ToolForm(), tf);
  EXPECT_EQ(tf->DataGrid(), grid);
  Key(VK_ESCAPE);
  EXPECT_EQ(grid->ToolForm(), nullptr);
  grid->Free();
  EXPECT_EQ(tf->DataGrid(), nullptr);

  auto* outside = Create<TDBTabulon>(form);
  outside->SetName("Outside");
  outside->SetParent(form);
  EXPECT_THROW(tf->SetDataGrid(outside), EBVError);
  EXPECT_EQ(tf->DataGrid(), nullptr);
}

TEST_F(ToolFormTest, OnPaintFollowsThePanelsOwnPainting) {
  Integer paints = 0;
  tf->OnPaint = TNotifyEvent::FromCallable([&](TObject*) { ++paints; });
  Open();
  Pump();
  EXPECT_GT(paints, 0);
}

TEST_F(ToolFormTest, AcceleratorsOfAFocusableDropDown) {
  tf->SetOptions({tfoFocusable});
  tf->SetActiveControl(inner);
  std::vector<Word> keys;
  tf->OnShortCut = TvtfShortCutEvent::FromCallable([&](TObject*, Word& key) {
    keys.push_back(key);
    if (key == U'k') key = 0;
  });
  ScriptAction("VisionToolForm", [](TObject*) {
    Offscreen().PressKey('K', bmAlt);
    Offscreen().PressKey(VK_ESCAPE);
  });
  Open();
  EXPECT_FALSE(tf->IsOpen());
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.front(), U'k');
}

}  // namespace brevant::test
