// Dragging between the customizer and its grid: entries dropped on the
// grid at each kind of drop target (code 8), the entry's column asked for
// (code 7), and grid columns dragged onto the list with real mouse events
// through the platform's drag manager.
#include "bv/columns.h"
#include "bv/grid_messages.h"
#include "bv_db/obj_dataset.h"
#include "controls/dragdrop.h"
#include "controls/wincore.h"
#include "customizer_test_util.h"

namespace brevant::test {

class CustomizerDragTest : public CustomizerTest {
 protected:
  // Opens the customizer for the grid in the given mode.
  void Open(bool showHidden) {
    grid->ShowCustomizer(showHidden, "", "");
    Pump();
    ASSERT_TRUE(Customizer());
  }
  // The grid hands a drop from the customizer to it (code 8).
  void DropEntry() {
    SendMessage(grid->Handle(), WM_TL_CUSTOMIZER, gcaDropped, 0);
    Pump();
  }
  // Drags the staged column of the grid onto the list and releases it there.
  void DragColumnToList() {
    MouseTo(ScreenAt(grid, 20, 5));
    grid->BeginDrag(true);
    MouseTo(ScreenAt(Customizer()->tlList, 30, 10));
    MouseTo(ScreenAt(Customizer()->tlList, 32, 12));
    Offscreen().MouseUp(ScreenAt(Customizer()->tlList, 32, 12));
    Pump();
  }
};

TEST_F(CustomizerDragTest, EntryNamesItsColumn) {
  BuildFour();
  Col("City")->SetVisible(false);
  Col("Zip")->SetVisible(false);
  Open(true);
  Select("Zip");
  EXPECT_EQ(SendMessage(Customizer()->Handle(), WM_TL_CUSTOMIZER, gcaDragQuery, 0),
            reinterpret_cast<LRESULT>(Col("Zip")));
  // Through the grid, which forwards it, the answer is the same.
  Select("City");
  EXPECT_EQ(SendMessage(grid->Handle(), WM_TL_CUSTOMIZER, gcaDragQuery, 0),
            reinterpret_cast<LRESULT>(Col("City")));
}

// Hidden-columns mode: the entry's column is shown at the drop target and
// leaves the list.
TEST_F(CustomizerDragTest, DropShowsColumnAtEachTargetKind) {
  struct Row {
    const char* label;
    TtlColumnDragInfo target;  // Column is not used for an entry drop
    const char* layout;
  } rows[] = {
      {"no target: only shown", {nullptr, dkNone, -1, 0, 0}, "ID|Name|City|Zip"},
      {"between groups", {nullptr, dkNewGroup, 0, 0, 0}, "City|ID|Name|Zip"},
      {"at the end", {nullptr, dkNewGroup, 3, 0, 0}, "ID|Name|Zip|City"},
      {"into a line", {nullptr, dkIntoLine, 1, 0, 1}, "ID|Name,City|Zip"},
      {"as a new line", {nullptr, dkNewLine, 0, 1, 0}, "ID/City|Name|Zip"},
  };
  for (const Row& row : rows) {
    BuildFour();
    Col("City")->SetVisible(false);
    Open(true);
    EXPECT_EQ(ListText(), "City") << row.label;
    Select("City");
    drag = row.target;
    grid->OnCustomizerAction = TtlCustomizerActionEvent::FromCallable(
        [this](TObject*, TtlCustomizerAction a, TtlColumn* c) {
          log += IntToStr(a) + (c ? c->FieldName() : String("-")) + " ";
        });
    DropEntry();
    EXPECT_EQ(Layout(), row.layout) << row.label;
    EXPECT_EQ(ListText(), "") << row.label;
    EXPECT_EQ(Customizer()->datFields->RecordCount(), 0) << row.label;
    // Code 5 reported the shown column, then code 8 itself.
    EXPECT_EQ(log, "5City 8- ") << row.label;
    StopCustomizerUnit();
    StartCustomizerUnit();
    Pump();
  }
}

// Field-chooser mode: the entry becomes a new column at the drop target.
TEST_F(CustomizerDragTest, DropCreatesColumnForField) {
  struct Row {
    const char* label;
    TtlColumnDragInfo target;
    const char* layout;
  } rows[] = {
      {"empty space: a new group at the end", {nullptr, dkNone, -1, 0, 0}, "ID|Name|Zip"},
      {"between groups", {nullptr, dkNewGroup, 1, 0, 0}, "ID|Zip|Name"},
      {"into a line", {nullptr, dkIntoLine, 0, 0, 0}, "Zip,ID|Name"},
  };
  for (const Row& row : rows) {
    BuildFour();
    TObject::Free(Col("City"));
    TObject::Free(Col("Zip"));
    Open(false);
    EXPECT_EQ(ListText(), "City Zip") << row.label;
    Select("Zip");
    drag = row.target;
    const Integer before = grid->Columns()->Count();
    DropEntry();
    EXPECT_EQ(grid->Columns()->Count(), before + 1) << row.label;
    EXPECT_EQ(Layout(), row.layout) << row.label;
    EXPECT_EQ(ListText(), "City") << row.label;
    StopCustomizerUnit();
    StartCustomizerUnit();
    Pump();
  }
}

TEST_F(CustomizerDragTest, DropWithoutSelectionChangesNothing) {
  BuildFour();
  Open(true);  // every column visible: nothing listed
  EXPECT_EQ(ListText(), "");
  DropEntry();
  EXPECT_EQ(Layout(), "ID|Name|City|Zip");
  EXPECT_EQ(grid->Columns()->Count(), 4);
}

TEST_F(CustomizerDragTest, ColumnDraggedOntoListIsHidden) {
  BuildFour();
  Open(true);
  drag.Column = Col("Name");
  DragColumnToList();
  EXPECT_FALSE(Col("Name")->Visible());
  EXPECT_EQ(Layout(), "ID|City|Zip");
  EXPECT_EQ(ListText(), "Name");
  // And back: the entry dropped between ID and City.
  Select("Name");
  drag = {nullptr, dkNewGroup, 1, 0, 0};
  DropEntry();
  EXPECT_EQ(Layout(), "ID|Name|City|Zip");
  EXPECT_EQ(ListText(), "");
}

TEST_F(CustomizerDragTest, ColumnDraggedOntoListIsDeletedInFieldChooser) {
  BuildFour();
  Open(false);
  grid->OnCustomizerAction =
      TtlCustomizerActionEvent::FromCallable([this](TObject*, TtlCustomizerAction a, TtlColumn* c) {
        log += IntToStr(a) + (c ? c->FieldName() : String("-")) + " ";
      });
  drag.Column = Col("City");
  DragColumnToList();
  EXPECT_EQ(Col("City"), nullptr);
  EXPECT_EQ(grid->Columns()->Count(), 3);
  EXPECT_EQ(ListText(), "City");
  // The freed column reaches the event as nil.
  EXPECT_EQ(log, "4- ");
}

TEST_F(CustomizerDragTest, ListRefusesColumnsItMayNotTake) {
  BuildFour();
  Col("City")->SetOptionsBehavior(TtlColumnOptionsBehavior{cboNoCustomizing});
  Open(true);
  drag.Column = Col("City");
  MouseTo(ScreenAt(grid, 20, 5));
  grid->BeginDrag(true);
  MouseTo(ScreenAt(Customizer()->tlList, 30, 10));
  MouseTo(ScreenAt(Customizer()->tlList, 32, 12));
  EXPECT_EQ(Offscreen().CursorShape(), crNoDrop);
  Offscreen().MouseUp(ScreenAt(Customizer()->tlList, 32, 12));
  Pump();
  EXPECT_TRUE(Col("City")->Visible());
  EXPECT_EQ(ListText(), "");
  // A drag from another control, or no column drag at all, is refused too.
  drag.Column = nullptr;
  DragColumnToList();
  EXPECT_EQ(Layout(), "ID|Name|City|Zip");
}

// The list starts a drag on its own (automatic drag mode); dropping on the
// grid makes the grid ask for the dragged column and send itself code 8.
TEST_F(CustomizerDragTest, EntryDraggedFromListOntoGrid) {
  BuildFour();
  Col("Zip")->SetVisible(false);
  Open(true);
  Select("Zip");
  TbvTabulonCustomizer* c = Customizer();
  drag = {nullptr, dkNewGroup, 0, 0, 0};
  const TPoint start = ScreenAt(c->tlList, 20, c->tlList->RowHeight() / 2);
  MouseTo(start);
  Offscreen().MouseDown(start);
  Pump();
  MouseTo({start.X + 10, start.Y + 10});
  ASSERT_TRUE(Dragging());
  EXPECT_EQ(DragSource(), c->tlList);
  MouseTo(ScreenAt(grid, 40, 40));
  MouseTo(ScreenAt(grid, 42, 40));
  EXPECT_EQ(grid->DraggedColumn(), Col("Zip")) << "the grid asked the customizer";
  Offscreen().MouseUp(ScreenAt(grid, 42, 40));
  Pump();
  EXPECT_FALSE(Dragging());
  EXPECT_EQ(Layout(), "Zip|ID|Name|City");
  EXPECT_EQ(ListText(), "");
}

// The same drag, the drop place chosen by the grid's own tracking: the
// boundary before City makes the entry a group of its own there.
TEST_F(CustomizerDragTest, EntryDropsWhereTheGridsTrackingPointsOut) {
  SetColumnDragQuery(nullptr);
  BuildFour();
  Col("Zip")->SetVisible(false);
  Open(true);
  Select("Zip");
  TbvTabulonCustomizer* c = Customizer();
  const TPoint start = ScreenAt(c->tlList, 20, c->tlList->RowHeight() / 2);
  MouseTo(start);
  Offscreen().MouseDown(start);
  Pump();
  MouseTo({start.X + 10, start.Y + 10});
  ASSERT_TRUE(Dragging());
  const TRect city = Col("City")->TitleRect(false);
  const TPoint boundary = ScreenAt(grid, city.Left, (city.Top + city.Bottom) / 2);
  MouseTo({boundary.X - 1, boundary.Y});
  MouseTo(boundary);
  EXPECT_EQ(grid->DraggedColumn(), Col("Zip"));
  Offscreen().MouseUp(boundary);
  Pump();
  EXPECT_FALSE(Dragging());
  EXPECT_EQ(Layout(), "ID|Name|Zip|City");
  EXPECT_EQ(ListText(), "");
}

}  // namespace brevant::test
