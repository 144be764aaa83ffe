// The editor driven from the grid with real keys: typing into a cell opens
// it with the character, ending keys post and move, Escape cancels, a
// rejected post keeps the user's values, and the grid's paint leaves the
// open editor alone while marking a held switch's cell.
#include <gtest/gtest.h>

#include "backend/codes.h"
#include "bv/paint_info.h"
#include "db/field.h"
#include "inplace_test_util.h"
#include "rtl/exceptions.h"

namespace brevant::test {
namespace {

class GridTypingTest : public InplaceTest {
 protected:
  // The grid focused on column's cell of record ID 1, nothing open.
  void Start(Integer column) {
    grid->SelectColumn(column);
    grid->SetFocus();
    Pump();
  }
  String Note() const { return ds->FieldByName("Note")->AsString(); }
  Integer ID() const { return ds->FieldByName("ID")->AsInteger(); }
};

TEST_F(GridTypingTest, TypingOpensTheEditorWithTheCharacter) {
  Build();
  Start(1);
  Type("Zed");
  ASSERT_TRUE(grid->EditorShown());
  EXPECT_EQ(grid->EditedColumn(), Col(1));
  EXPECT_TRUE(Editor()->Focused());
  EXPECT_EQ(Editor()->Text(), "Zed");  // the first character replaced the value
  EXPECT_EQ(ds->State(), dsEdit);
  // Return posts the field and closes; a second Return posts the record.
  Key(VK_RETURN);
  EXPECT_FALSE(grid->EditorShown());
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Code, fpcReturn);
  EXPECT_EQ(ds->State(), dsEdit);
  Key(VK_RETURN);
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Name(), "Zed");
  EXPECT_EQ(ID(), 1);
}

TEST_F(GridTypingTest, AnAlwaysShownEditorStaysAfterReturn) {
  Build();
  grid->SetOptionsEdit(TtlOptionsEdit{geoAlwaysShowEditor});
  Start(1);
  // The grid's own focus passes to the open editor.
  ASSERT_TRUE(grid->EditorShown());
  EXPECT_TRUE(Editor()->Focused());
  Type("Zed");
  Key(VK_RETURN);
  EXPECT_TRUE(grid->EditorShown());
  EXPECT_EQ(Editor()->Text(), "Zed");
  EXPECT_EQ(Name(), "Zed");
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Code, fpcReturn);
}

TEST_F(GridTypingTest, EscapeClosesTheEditorThenCancelsTheRecord) {
  Build();
  Start(1);
  Type("Zed");
  Key(VK_TAB);  // posted into the field; the editor moves to Note
  ASSERT_EQ(grid->EditedColumn(), Col(2));
  EXPECT_EQ(Name(), "Zed");
  Type("Q");
  Key(VK_ESCAPE);
  EXPECT_FALSE(grid->EditorShown());
  EXPECT_TRUE(grid->Focused());
  EXPECT_EQ(Note(), "N1");  // the editor's text never reached the field
  EXPECT_EQ(ds->State(), dsEdit);
  Key(VK_ESCAPE);
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Name(), "R1");
}

// Where each ending key leaves the grid after typing into Note (line 1 of
// Name's group) of the first record.
TEST_F(GridTypingTest, EndingKeysPostAndMove) {
  const struct {
    const char* name;
    Word key;
    Integer column;  // current column afterwards
    Integer id;      // current record afterwards
    bool editing;    // the editor is open there
    TDataSetState state;
  } rows[] = {
      // Tab: the next cell, edited at once as the record is in edit state.
      {"Tab", VK_TAB, 3, 1, true, dsEdit},
      // Down from the group's last line: the next record, the first posted.
      {"Down", VK_DOWN, 1, 2, false, dsBrowse},
      // Up: back to Name's line, same record.
      {"Up", VK_UP, 1, 1, false, dsEdit},
      {"Return", VK_RETURN, 2, 1, false, dsEdit},
  };
  Build();
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ds->First();
    Start(2);
    Type("Zed");
    Key(r.key);
    EXPECT_EQ(grid->CurrentColumnObject(), Col(r.column));
    EXPECT_EQ(ID(), r.id);
    EXPECT_EQ(grid->EditorShown(), r.editing);
    EXPECT_EQ(ds->State(), r.state);
    if (r.editing) {
      EXPECT_EQ(grid->EditedColumn(), Col(r.column));
    }
    if (r.state == dsEdit) {
      EXPECT_EQ(Note(), "Zed");
    }
    grid->CloseEditor(feaClose, false);
    ds->Cancel();
    ds->First();
    ds->Edit();
    ds->FieldByName("Note")->SetAsString("N1");
    ds->Post();
    Pump();
  }
}

// The dataset refuses the record: the user's values stay in edit state,
// the grid stays on the record and the editor stays open on the cell whose
// key made the move.
TEST_F(GridTypingTest, ARejectedPostKeepsTheEditorOnTheFailingCell) {
  Build();
  ds->BeforePost =
      TDataSetNotifyEvent::FromCallable([](TDataSet*) { throw EDatabaseError("refused"); });
  Start(2);
  Type("Zed");
  Key(VK_DOWN);
  EXPECT_EQ(HandledMessage(), "refused");
  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_EQ(ID(), 1);
  EXPECT_EQ(Note(), "Zed");
  EXPECT_EQ(grid->CurrentColumnObject(), Col(2));
  ASSERT_TRUE(grid->EditorShown());
  EXPECT_EQ(grid->EditedColumn(), Col(2));
  EXPECT_EQ(Editor()->Text(), "Zed");
  EXPECT_TRUE(Editor()->Focused());
  ds->BeforePost = TDataSetNotifyEvent();
  ds->Cancel();
}

// The window clip keeps a grid repaint off the open editor (a child
// window): the text being typed stays on screen, the rest of the grid is
// painted.
TEST_F(GridTypingTest, AGridRepaintLeavesTheEditorAlone) {
  Build();
  Start(1);
  Type("Zed");
  ASSERT_TRUE(grid->EditorShown());
  const TRect r = Editor()->ClientRect();
  std::vector<TColor> before;
  for (Integer y = 0; y < r.Height(); ++y)
    for (Integer x = 0; x < r.Width(); ++x) before.push_back(EditorPixel(x, y));
  const TRect bounds = Editor()->BoundsRect();
  const TPoint inside{(bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2};
  const TPoint below{inside.X, inside.Y + grid->RowHeight() * 2};
  Integer paints = 0;
  bool insideVisible = true, belowVisible = false;
  grid->OnGetRowAttrs = TtlGetRowAttrsEvent::FromCallable([&](TObject*, TtlRowAttrs*) {
    ++paints;
    insideVisible = grid->Canvas()->PtVisible(inside);
    belowVisible = grid->Canvas()->PtVisible(below);
  });
  grid->Invalidate();
  Pump();
  grid->OnGetRowAttrs = TtlGetRowAttrsEvent();
  EXPECT_GT(paints, 0);
  EXPECT_FALSE(insideVisible);
  EXPECT_TRUE(belowVisible);
  size_t i = 0, differing = 0;
  for (Integer y = 0; y < r.Height(); ++y)
    for (Integer x = 0; x < r.Width(); ++x)
      if (EditorPixel(x, y) != before[i++]) ++differing;
  EXPECT_EQ(differing, 0u);
}

// While a switch is held the grid's own paint marks the pressed cell, and
// no other; after the release no cell is marked.
TEST_F(GridTypingTest, TheGridsPaintMarksTheHeldSwitchsCell) {
  Build();
  TObjectPtr<TToggleVision> toggle(Create<TToggleVision>(nullptr));
  Col(3)->SetVision(toggle.get());
  std::vector<std::pair<Integer, Integer>> marked;
  grid->OnGetRowAttrs = TtlGetRowAttrsEvent::FromCallable([&](TObject*, TtlRowAttrs* attrs) {
    for (Integer c = 0; c < grid->Columns()->Count(); ++c)
      if (TtlCellAttrs* cell = attrs->Cells(c); cell && cell->Switched)
        marked.emplace_back(attrs->RowIndex, c);
  });
  ASSERT_TRUE(Open(3));
  const TPoint inside = At(Editor(), 5, 5);
  Offscreen().MouseDown(inside);
  Pump();
  marked.clear();
  grid->Repaint();
  using Marks = std::vector<std::pair<Integer, Integer>>;
  EXPECT_EQ(marked, (Marks{{grid->CursorRow(), 3}}));
  Offscreen().MouseUp(inside);
  Pump();
  marked.clear();
  grid->Repaint();
  EXPECT_TRUE(marked.empty());
  grid->OnGetRowAttrs = TtlGetRowAttrsEvent();
  Col(3)->SetVision(nullptr);
}

}  // namespace
}  // namespace brevant::test

namespace brevant::test {
namespace {

// Keys on the grid itself that go through the editor: F2 opens it, Space
// on a switch cell switches at once (the editor opens to take the key).
TEST_F(GridTypingTest, F2AndSwitchKeysGoThroughTheEditor) {
  Build();
  TObjectPtr<TToggleVision> toggle(Create<TToggleVision>(nullptr));
  Col(3)->SetVision(toggle.get());
  Start(1);
  Key(VK_F2);
  ASSERT_TRUE(grid->EditorShown());
  EXPECT_EQ(grid->EditedColumn(), Col(1));
  EXPECT_EQ(Editor()->SelLength(), 2);  // the value selected, nothing typed
  Key(VK_ESCAPE);
  EXPECT_FALSE(grid->EditorShown());
  EXPECT_EQ(ds->State(), dsBrowse);
  Key(VK_END);  // the switch column
  ASSERT_EQ(grid->CurrentColumnObject(), Col(3));
  Key(VK_SPACE);
  EXPECT_TRUE(ds->FieldByName("Flag")->AsBoolean());
  ASSERT_EQ(posts.size(), 1u);
  EXPECT_EQ(posts[0].Column, Col(3));
  Col(3)->SetVision(nullptr);
}

}  // namespace
}  // namespace brevant::test
