// Dragging records between two grids on two in-memory datasets: the row
// under the pointer shows as the drop target, accepted and refused drops,
// Escape, the tracking options; and drags out of an attached customizer.
#include <string>
#include <vector>

#include "backend/codes.h"
#include "bv/column.h"
#include "bv/columns.h"
#include "bv/datalink_ex.h"
#include "bv/designer.h"
#include "bv/grid_messages.h"
#include "bv/selection.h"
#include "bv_rtm/border_style.h"
#include "controls/application.h"
#include "controls/dragdrop.h"
#include "controls/wincore.h"
#include "db/datasource.h"
#include "drag_test_util.h"
#include "graphics/colors.h"
#include "rtl/exceptions.h"

namespace brevant::test {
namespace {

class RecordDragTest : public DragGridTest {
 protected:
  void SetUp() override {
    DragGridTest::SetUp();
    grid->SetBounds(10, 30, 220, 200);
    grid->SetHideSelection(false);
    ds2 = dbtest::MakeNumbers(8);
    src2 = Create<TDataSource>(nullptr);
    src2->SetDataSet(ds2);
    other = Create<TDBTabulon>(form);
    other->SetDesigner(designer);
    other->SetBorderStyle(bsNoBorder);
    other->SetBounds(260, 30, 220, 200);
    other->SetParent(form);
    other->Columns()->Add()->SetFieldName("ID");
    other->Columns()->Add()->SetFieldName("Name");
    other->SetDataSource(src2);
    other->SetHideSelection(false);
    ds2->Open();
    other->OnDragOver = TDragOverEvent::FromCallable(
        [this](TObject*, TObject* source, Integer, Integer, TDragState, bool& accept) {
          accept = acceptDrops && source == grid;
        });
    other->OnDragDrop =
        TDragDropEvent::FromCallable([this](TObject*, TObject* source, Integer, Integer) {
          events.push_back(std::string("drop ") + (source == grid ? "grid" : "?") + " on ID " +
                           std::to_string(HoveredID()));
        });
    grid->OnEndDrag = TEndDragEvent::FromCallable([this](TObject*, TObject* target, Integer,
                                                         Integer) {
      events.push_back(std::string("end ") + (target == other ? "other" : target ? "?" : "nil"));
    });
    Pump();
  }
  void TearDown() override {
    CancelDrag();
    TObject::Free(other);
    other = nullptr;
    DragGridTest::TearDown();
    TObject::Free(src2);
    TObject::Free(ds2);
  }

 public:
  // A point inside the Name cell of a window row of g, clear of its text.
  TPoint CellPoint(TDBTabulon* g, Integer row) {
    const TRect r = g->Columns()->Items(1)->CellRect(row, false, false);
    return TPoint(r.Right - 4, (r.Top + r.Bottom) / 2);
  }
  TColor PixelOf(TDBTabulon* g, TPoint p) { return ScreenPixel(g->ClientToScreen(p)); }
  TColor Selected() { return ColorToRGB(designer->SelectedRow()); }
  // The hint the other grid would show over a cell.
  String OtherHint() {
    THintInfo info;
    info.CursorPos = CellPoint(other, 1);
    info.HintStr = "Vendors";
    other->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    return info.HintStr;
  }
  // The ID of the record the other grid's hover shot names (0: none).
  Integer HoveredID() {
    const TtlRecShot* shot = other->Dragger()->HoverShot();
    if (!shot->IsSet()) return 0;
    TDataLinkEx* link = other->DataLink();
    const Integer active = link->ActiveRecord();
    Integer id = 0;
    for (Integer row = 0; row < link->RecordCount(); ++row) {
      link->SetActiveRecord(row);
      if (ds2->Bookmark() == shot->Bookmark()) id = ds2->FieldByName("ID")->AsInteger();
    }
    link->SetActiveRecord(active);
    return id;
  }
  // Presses on a cell of the grid and leaves the cell with the button held:
  // with DragMode dmAutomatic that starts the record drag.
  void StartRecordDrag(Integer row) {
    grid->SetDragMode(dmAutomatic);
    const TPoint p = grid->ClientToScreen(CellPoint(grid, row));
    Offscreen().MouseMove(p);
    Offscreen().MouseDown(p);
    Pump();
    Offscreen().MouseMove({p.X, p.Y + grid->RowHeight()});
    Pump();
  }
  void MoveOver(TDBTabulon* g, Integer row) {
    Offscreen().MouseMove(g->ClientToScreen(CellPoint(g, row)));
    Pump();
  }
  void ReleaseOver(TDBTabulon* g, Integer row) {
    Offscreen().MouseUp(g->ClientToScreen(CellPoint(g, row)));
    Pump();
  }

  TMemDataSet* ds2 = nullptr;
  TDataSource* src2 = nullptr;
  TDBTabulon* other = nullptr;
  bool acceptDrops = true;
  std::vector<std::string> events;
};

TEST_F(RecordDragTest, TheRowUnderThePointerShowsAsTheDropTargetUntilTheDrop) {
  ASSERT_EQ(PixelOf(other, CellPoint(other, 0)), Selected());  // the current row
  ASSERT_NE(PixelOf(other, CellPoint(other, 2)), Selected());
  ASSERT_EQ(OtherHint(), "Vendors");
  StartRecordDrag(1);
  EXPECT_TRUE(grid->Dragger()->DragStarted());
  EXPECT_FALSE(grid->Dragger()->RecordDragArmed());
  EXPECT_FALSE(grid->Dragger()->ColumnDrag());

  MoveOver(other, 2);
  EXPECT_TRUE(other->DragTracking());
  EXPECT_EQ(other->Dragger()->HoverRow(), 2);
  EXPECT_EQ(HoveredID(), 3);
  EXPECT_EQ(OtherHint(), "");  // no hints while rows are tracked
  EXPECT_EQ(PixelOf(other, CellPoint(other, 2)), Selected());
  // While rows are tracked the current row loses its own look.
  EXPECT_NE(PixelOf(other, CellPoint(other, 0)), Selected());

  MoveOver(other, 4);
  EXPECT_EQ(HoveredID(), 5);
  EXPECT_EQ(PixelOf(other, CellPoint(other, 4)), Selected());
  EXPECT_NE(PixelOf(other, CellPoint(other, 2)), Selected());

  ReleaseOver(other, 4);
  EXPECT_EQ(events, (std::vector<std::string>{"drop grid on ID 5", "end other"}));
  EXPECT_FALSE(Dragging());
  EXPECT_FALSE(grid->Dragger()->AnyDrag());
  EXPECT_FALSE(other->Dragger()->AnyDrag());
  EXPECT_EQ(other->Dragger()->HoverRow(), -1);
  EXPECT_FALSE(other->Dragger()->Markers().Acquired());
  EXPECT_NE(PixelOf(other, CellPoint(other, 4)), Selected());
  EXPECT_EQ(PixelOf(other, CellPoint(other, 0)), Selected());
  EXPECT_EQ(OtherHint(), "Vendors");
}

TEST_F(RecordDragTest, RefusedAndCancelledDragsDropNothing) {
  acceptDrops = false;
  StartRecordDrag(0);
  MoveOver(other, 3);
  EXPECT_EQ(Offscreen().CursorShape(), crNoDrop);
  ReleaseOver(other, 3);
  EXPECT_EQ(events, (std::vector<std::string>{"end nil"}));
  EXPECT_FALSE(other->Dragger()->TrackRows());
  EXPECT_EQ(PixelOf(other, CellPoint(other, 0)), Selected());
  EXPECT_NE(PixelOf(other, CellPoint(other, 3)), Selected());

  events.clear();
  acceptDrops = true;
  StartRecordDrag(0);
  MoveOver(other, 3);
  ASSERT_TRUE(other->DragTracking());
  Offscreen().PressKey(VK_ESCAPE);
  Pump();
  EXPECT_EQ(events, (std::vector<std::string>{"end nil"}));
  EXPECT_FALSE(Dragging());
  EXPECT_FALSE(other->DragTracking());
  EXPECT_FALSE(grid->Dragger()->AnyDrag());
  EXPECT_NE(PixelOf(other, CellPoint(other, 3)), Selected());
  EXPECT_EQ(PixelOf(other, CellPoint(other, 0)), Selected());
}

TEST_F(RecordDragTest, TrackingOptionsAndColumnDragsAreNotTracked) {
  // Incoming drags untracked: the hover record is still known.
  other->SetOptionsBehavior({gboNoIncomingDragTrack});
  StartRecordDrag(0);
  MoveOver(other, 2);
  EXPECT_TRUE(other->Dragger()->TrackRows());
  EXPECT_FALSE(other->DragTracking());
  EXPECT_NE(PixelOf(other, CellPoint(other, 2)), Selected());
  // Over the grid it started in, the drag is tracked unless told not to.
  MoveOver(grid, 3);
  EXPECT_TRUE(grid->DragTracking());
  grid->SetOptionsBehavior({gboNoInsideDragTrack});
  MoveOver(grid, 4);
  EXPECT_FALSE(grid->DragTracking());
  CancelDrag();
  Pump();

  // A title dragged over another grid is no record drag there.
  grid->StartColumnDrag(grid->Columns()->Items(0));
  MoveOver(other, 2);
  EXPECT_FALSE(other->Dragger()->TrackRows());
  EXPECT_FALSE(other->DragTracking());
}

TEST_F(RecordDragTest, AFailingDropStillEndsTheDrag) {
  grid->OnDragOver = TDragOverEvent::FromCallable(
      [](TObject*, TObject*, Integer, Integer, TDragState, bool& accept) { accept = true; });
  grid->OnDragDrop = TDragDropEvent::FromCallable(
      [](TObject*, TObject*, Integer, Integer) { throw Exception("refused"); });
  StartRecordDrag(0);
  MoveOver(grid, 2);
  ASSERT_TRUE(grid->DragTracking());
  ReleaseOver(grid, 2);
  EXPECT_EQ(HandledMessage(), "refused");
  EXPECT_FALSE(Dragging());
  EXPECT_FALSE(grid->Dragger()->AnyDrag());
  EXPECT_FALSE(grid->DragTracking());
  EXPECT_FALSE(grid->Dragger()->Markers().Acquired());
  EXPECT_EQ(grid->Dragger()->HoverRow(), -1);
}

// A stand-in for the column customizer window: answers which column its
// dragged entry stands for, and notes the drop target it is told of.
class TFakeCustomizer : public TForm {
  BV_CLASS(TFakeCustomizer, TForm)
 public:
  using TForm::TForm;
  TDBTabulon* Grid = nullptr;
  TtlColumn* Entry = nullptr;
  std::vector<std::string> Codes;
  void Dispatch(TMessage& message) override {
    if (message.Msg != WM_TL_CUSTOMIZER) {
      TForm::Dispatch(message);
      return;
    }
    const Integer code = Integer(message.WParam & 0xFF);
    Codes.push_back(std::to_string(code));
    if (code == gcaDragQuery) message.Result = reinterpret_cast<LRESULT>(Entry);
    if (code == gcaDropped)
      Codes.back() += " kind " + std::to_string(Grid->Dragger()->DropKind()) + " group " +
                      std::to_string(Grid->Dragger()->Drop().Group);
  }
};
BV_IMPLEMENT_CLASS(TFakeCustomizer, TForm)

TEST_F(RecordDragTest, EntriesDraggedOutOfTheCustomizerDropThroughIt) {
  auto* customizer = Create<TFakeCustomizer>(nullptr);
  customizer->SetBounds(600, 100, 200, 200);
  TProbe* list = AddProbe(customizer, "List", Rect(10, 10, 150, 150));
  customizer->Show();
  Pump();
  customizer->Grid = grid;
  customizer->Entry = grid->Columns()->Items(0);
  grid->Perform(WM_TL_CUSTOMIZER, gcaAttach,
                reinterpret_cast<LPARAM>(static_cast<TWinControl*>(customizer)));
  const std::vector<std::string> attached = customizer->Codes;

  Offscreen().MouseMove(list->ClientToScreen({20, 20}));
  Offscreen().MouseDown(list->ClientToScreen({20, 20}));
  Pump();
  list->BeginDrag(true);
  // Over the grid the entry's column is the dragged one; the boundary
  // before the second group is a new-group target.
  const TRect name = grid->Columns()->Items(1)->TitleRect(false);
  const TPoint boundary(name.Left, (name.Top + name.Bottom) / 2);
  Offscreen().MouseMove(grid->ClientToScreen(boundary));
  Pump();
  EXPECT_EQ(grid->DraggedColumn(), grid->Columns()->Items(0));
  EXPECT_FALSE(grid->Dragger()->TrackRows());
  EXPECT_EQ(grid->Dragger()->DropKind(), dtkNewGroup);
  EXPECT_TRUE(grid->Dragger()->Markers().Shown());
  Offscreen().MouseUp(grid->ClientToScreen(boundary));
  Pump();
  std::vector<std::string> expected = attached;
  expected.insert(expected.end(), {"7", "8 kind 1 group 1"});
  EXPECT_EQ(customizer->Codes, expected);
  EXPECT_EQ(grid->DraggedColumn(), nullptr);
  EXPECT_FALSE(grid->Dragger()->Markers().Shown());
  EXPECT_FALSE(grid->Dragger()->Markers().Acquired());

  // Leaving the grid forgets the entry's column.
  list->BeginDrag(true);
  Offscreen().MouseMove(grid->ClientToScreen(boundary));
  Pump();
  EXPECT_EQ(grid->DraggedColumn(), grid->Columns()->Items(0));
  Offscreen().MouseMove(list->ClientToScreen({20, 20}));
  Pump();
  EXPECT_EQ(grid->DraggedColumn(), nullptr);
  EXPECT_FALSE(grid->Dragger()->Markers().Acquired());
  CancelDrag();
  grid->Perform(WM_TL_CUSTOMIZER, gcaDetach, customizer->Handle());
  TObject::Free(customizer);
}

}  // namespace
}  // namespace brevant::test
