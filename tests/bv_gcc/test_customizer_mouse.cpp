// The customizer driven by the mouse alone, with the grid's own drag
// tracking: entries dropped into a line and as a new line of a multi-line
// group, grid titles dragged onto the list in both modes, and a column the
// list may not take refused.
#include "bv/columns.h"
#include "bv_db/obj_dataset.h"
#include "controls/dragdrop.h"
#include "controls/wincore.h"
#include "customizer_test_util.h"

namespace brevant::test {

class CustomizerMouseTest : public CustomizerTest {
 protected:
  void SetUp() override {
    CustomizerTest::SetUp();
    SetColumnDragQuery(nullptr);  // the grid's dragger answers
  }
  void Open(bool showHidden) {
    grid->ShowCustomizer(showHidden, "", "");
    Pump();
    ASSERT_TRUE(Customizer());
  }
  // "ID/Name|City|Zip": Name on a second line under ID, the group 120 wide.
  void BuildTwoLines() {
    BuildFour();
    // Wide enough that a third of the title lies beyond the group probes.
    Col("ID")->SetWidth(120);
    TtlColumns* cols = grid->Columns();
    cols->MoveColumn(Col("Name"), Col("ID")->GroupInfo(), 1, -1);
    Pump();
  }
  TPoint GridPoint(TPoint client) const { return ScreenAt(grid, client.X, client.Y); }

 public:
  TRect Title(const char* name) const { return Col(name)->TitleRect(false); }

 protected:
  // Presses the selected list entry, drags it onto the grid at `to` (client
  // coordinates) and releases it there.
  void DragEntryTo(TPoint to) {
    TbvTabulonCustomizer* c = Customizer();
    const TPoint start = ScreenAt(c->tlList, 20, c->tlList->RowHeight() / 2);
    MouseTo(start);
    Offscreen().MouseDown(start);
    Pump();
    MouseTo({start.X + 10, start.Y + 10});
    ASSERT_TRUE(Dragging());
    MouseTo(GridPoint({to.X - 1, to.Y}));
    MouseTo(GridPoint(to));
    Offscreen().MouseUp(GridPoint(to));
    Pump();
    EXPECT_FALSE(Dragging());
  }
  // Presses a grid title, leaves it downwards (which starts the column
  // drag) and moves onto the list; the release is the caller's.
  void DragTitleOverList(const char* name) {
    const TRect r = Title(name);
    const TPoint start = GridPoint({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
    MouseTo(start);
    Offscreen().MouseDown(start);
    Pump();
    MouseTo(GridPoint({(r.Left + r.Right) / 2, Col(name)->TitleRect(true).Bottom + 2}));
    ASSERT_TRUE(Dragging());
    EXPECT_EQ(grid->DraggedColumn(), Col(name));
    MouseTo(ScreenAt(Customizer()->tlList, 30, 10));
    MouseTo(ScreenAt(Customizer()->tlList, 32, 12));
  }
  void ReleaseOverList() {
    Offscreen().MouseUp(ScreenAt(Customizer()->tlList, 32, 12));
    Pump();
    EXPECT_FALSE(Dragging());
  }
};

TEST_F(CustomizerMouseTest, EntryDropsIntoALineAndAsANewLine) {
  struct Row {
    const char* label;
    TPoint (*to)(const CustomizerMouseTest&);
    const char* layout;
  } rows[] = {
      {"left third of the first title: into its line before it",
       [](const CustomizerMouseTest& t) {
         const TRect r = t.Title("ID");
         return TPoint(r.Left + (r.Right - r.Left) / 6 + 4, (r.Top + r.Bottom) / 2);
       },
       "Zip,ID/Name|City"},
      {"left third of the lower line's title: into that line",
       [](const CustomizerMouseTest& t) {
         const TRect r = t.Title("Name");
         return TPoint(r.Left + (r.Right - r.Left) / 6 + 4, (r.Top + r.Bottom) / 2);
       },
       "ID/Zip,Name|City"},
      {"bottom edge of the lower line: a new line below it",
       [](const CustomizerMouseTest& t) {
         const TRect r = t.Title("Name");
         return TPoint((r.Left + r.Right) / 2, r.Bottom - 2);
       },
       "ID/Name/Zip|City"},
  };
  for (const Row& row : rows) {
    BuildTwoLines();
    ASSERT_EQ(Layout(), "ID/Name|City|Zip");
    Col("Zip")->SetVisible(false);
    Open(true);
    Select("Zip");
    DragEntryTo(row.to(*this));
    EXPECT_EQ(Layout(), row.layout) << row.label;
    EXPECT_EQ(ListText(), "") << row.label;
    StopCustomizerUnit();
    StartCustomizerUnit();
    Pump();
  }
}

// Field-chooser mode: the field dropped on the lower line's title becomes a
// new column in that line.
TEST_F(CustomizerMouseTest, FieldDroppedIntoALineBecomesAColumnThere) {
  BuildTwoLines();
  TObject::Free(Col("Zip"));
  Open(false);
  ASSERT_EQ(ListText(), "Zip");
  Select("Zip");
  const TRect r = Title("Name");
  DragEntryTo({r.Left + (r.Right - r.Left) / 6 + 4, (r.Top + r.Bottom) / 2});
  ASSERT_NE(Col("Zip"), nullptr);
  EXPECT_EQ(grid->Columns()->Count(), 4);
  EXPECT_EQ(Layout(), "ID/Zip,Name|City");
  EXPECT_EQ(ListText(), "");
}

// Hidden-columns mode: the title dropped on the list hides its column,
// which the list then shows; the grid reports each hiding (code 6).
TEST_F(CustomizerMouseTest, TitleDroppedOnListHidesItsColumn) {
  BuildFour();
  Open(true);
  grid->OnCustomizerAction =
      TtlCustomizerActionEvent::FromCallable([this](TObject*, TtlCustomizerAction a, TtlColumn* c) {
        log += IntToStr(a) + (c ? c->FieldName() : String("-")) + " ";
      });
  ASSERT_EQ(ListText(), "");
  DragTitleOverList("Name");
  EXPECT_NE(Offscreen().CursorShape(), crNoDrop);
  ReleaseOverList();
  EXPECT_FALSE(Col("Name")->Visible());
  EXPECT_EQ(Layout(), "ID|City|Zip");
  EXPECT_EQ(ListText(), "Name");
  EXPECT_EQ(grid->DraggedColumn(), nullptr);
  // A second title joins the first in the list.
  DragTitleOverList("Zip");
  ReleaseOverList();
  EXPECT_EQ(Layout(), "ID|City");
  EXPECT_EQ(ListText(), "Name Zip");
  EXPECT_EQ(log, "6Name 6Zip ");
}

// Field-chooser mode: the title dropped on the list deletes its column and
// its field is listed for choosing again.
TEST_F(CustomizerMouseTest, TitleDroppedOnListDeletesItsColumnInFieldChooser) {
  BuildFour();
  TObject::Free(Col("Zip"));
  Open(false);
  ASSERT_EQ(ListText(), "Zip");
  DragTitleOverList("City");
  ReleaseOverList();
  EXPECT_EQ(Col("City"), nullptr);
  EXPECT_EQ(grid->Columns()->Count(), 2);
  EXPECT_EQ(Layout(), "ID|Name");
  EXPECT_EQ(ListText(), "City Zip");
}

// A column that may not be customized is refused by the list: the no-drop
// cursor over it, and the column stays where it was after the release.
TEST_F(CustomizerMouseTest, ListRefusesAColumnThatMayNotBeCustomized) {
  for (bool showHidden : {true, false}) {
    SCOPED_TRACE(showHidden ? "hidden columns" : "field chooser");
    BuildFour();
    Col("City")->SetOptionsBehavior(TtlColumnOptionsBehavior{cboNoCustomizing});
    Open(showHidden);
    const String listed = ListText();
    DragTitleOverList("City");
    EXPECT_EQ(Offscreen().CursorShape(), crNoDrop);
    ReleaseOverList();
    ASSERT_NE(Col("City"), nullptr);
    EXPECT_TRUE(Col("City")->Visible());
    EXPECT_EQ(Layout(), "ID|Name|City|Zip");
    EXPECT_EQ(ListText(), listed);
    EXPECT_EQ(grid->DraggedColumn(), nullptr);
    StopCustomizerUnit();
    StartCustomizerUnit();
    Pump();
  }
}

}  // namespace brevant::test
