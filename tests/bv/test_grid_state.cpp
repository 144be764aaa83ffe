// What the grid keeps across changes around it: a data source moved to
// another dataset, a refresh, a designer or column going away, the wheel
// inside a scrolling parent, and how it tells whether more records follow.
#include "bv/grid_messages.h"
#include "classes/rtti_builder.h"
#include "controls/extctrls.h"
#include "controls/wincore.h"
#include "db/field.h"
#include "grid_test_util.h"

namespace brevant::test {
namespace {

using dbtest::Range;

// A dataset that cannot tell record numbers at all (RecNo answers -1).
class TNoRecNoDataSet : public TMemDataSet {
  BV_CLASS(TNoRecNoDataSet, TMemDataSet)
 public:
  using TMemDataSet::TMemDataSet;
  bool IsSequenced() override { return false; }

 protected:
  Integer GetRecNo() override { return -1; }
};

// A designer that notes, as it goes, whether a grid still points at it.
class TWatchedDesigner : public TtlDesigner {
  BV_CLASS(TWatchedDesigner, TtlDesigner)
 public:
  using TtlDesigner::TtlDesigner;
  ~TWatchedDesigner() override {
    if (Watched && Released) *Released = Watched->EffectiveDesigner() != this;
  }
  TDBTabulon* Watched = nullptr;
  bool* Released = nullptr;
};

// A customizer window that frees the column of a drag-out (code 4), as the
// customizer does in field-chooser mode.
class TFreeingCustomizer : public TCustomControl {
  BV_CLASS(TFreeingCustomizer, TCustomControl)
 public:
  using TCustomControl::TCustomControl;
  void Dispatch(TMessage& message) override {
    if (message.Msg == WM_TL_CUSTOMIZER && (message.WParam & 0xFF) == 4)
      TObject::Free(reinterpret_cast<TtlColumn*>(message.LParam));
    else
      TCustomControl::Dispatch(message);
  }
};

}  // namespace

BV_IMPLEMENT_CLASS(TNoRecNoDataSet, TMemDataSet)
BV_IMPLEMENT_CLASS(TWatchedDesigner, TtlDesigner)
BV_IMPLEMENT_CLASS_EX(TFreeingCustomizer, TCustomControl, nullptr, nullptr)

namespace {

TEST_F(GridTest, RepointedSourceRebindsTheGrid) {
  Build(100, 10);
  ds->MoveBy(40);
  Pump();
  // A second open dataset with another layout: Name is there, ID is not.
  TObjectPtr<TMemDataSet> other(Create<TMemDataSet>(nullptr));
  other->FieldDefs()->Add("Amount", ftFloat);
  other->FieldDefs()->Add("Name", ftString, 20);
  other->CreateDataSet();
  for (Integer i = 1; i <= 3; ++i) other->AppendRecord({i * 2.5, "N" + IntToStr(i)});
  other->First();
  src->SetDataSet(other.get());
  Pump();
  EXPECT_EQ(grid->DataSet(), other.get());
  EXPECT_EQ(grid->Columns()->Items(0)->Field(), nullptr);
  EXPECT_EQ(grid->Columns()->Items(1)->Field(), other->FieldByName("Name"));
  EXPECT_EQ(grid->RowCount(), 3);
  EXPECT_EQ(grid->ActiveRow(), 0);
  EXPECT_EQ(grid->CursorRow(), 0);
  EXPECT_FALSE(grid->MoreRecords());
  TScrollInfo info;
  info.Mask = SIF_ALL;
  GetScrollInfo(grid->WindowHandle(), SB_VERT, info);
  EXPECT_EQ(info.Max, 1) << "three records in a ten-row grid: nothing to scroll";
  EXPECT_EQ(info.Pos, 1);
  // The first dataset goes: nothing in the grid refers to it.
  TObject::Free(ds);
  ds = nullptr;
  grid->Invalidate();
  Pump();
  other->Next();
  Pump();
  EXPECT_EQ(grid->CursorRow(), 1);
  EXPECT_EQ(grid->Columns()->Items(1)->Field()->AsString(), "N2");
}

TEST_F(GridTest, HandledWheelDoesNotScrollTheParent) {
  Build(100, 10);
  auto* box = Create<TScrollBox>(form);
  box->SetBounds(0, 0, 380, 300);
  box->SetParent(form);
  grid->SetParent(box);
  auto* tail = Create<TProbe>(form);  // makes the box's content taller than the box
  tail->SetBounds(0, 900, 50, 50);
  tail->SetParent(box);
  Pump();
  grid->SetFocus();
  Pump();
  ASSERT_TRUE(grid->Focused());
  ASSERT_EQ(box->VertPosition(), 0);
  Offscreen().Wheel(grid->ClientToScreen({20, 40}), -WHEEL_DELTA);
  Pump();
  EXPECT_EQ(CurrentID(), 11);
  EXPECT_EQ(box->VertPosition(), 0) << "the grid consumed the wheel";
  // A grid without records passes the wheel on.
  ds->Close();
  Pump();
  Offscreen().Wheel(grid->ClientToScreen({20, 40}), -WHEEL_DELTA);
  Pump();
  EXPECT_GT(box->VertPosition(), 0);
}

TEST_F(GridTest, RefreshDataStaysNearTheEndOfALargeTable) {
  Build(5000, 10);
  ds->Last();
  ds->MoveBy(-3);  // record 4997 in row 6
  Pump();
  const std::vector<Integer> before = WindowIDs();
  Integer changes = 0;
  grid->OnSelectionChange = TNotifyEvent::FromCallable([&](TObject*) { ++changes; });
  Integer scrolls = 0;
  ds->AfterScroll = TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++scrolls; });
  grid->RefreshData();
  Pump();
  EXPECT_EQ(WindowIDs(), before);
  EXPECT_EQ(CurrentID(), 4997);
  EXPECT_EQ(grid->ActiveRow(), 6);
  EXPECT_EQ(grid->CursorRow(), 6);
  EXPECT_EQ(changes, 0) << "the current record did not change";
  EXPECT_EQ(scrolls, 0) << "nothing walks the records";
  EXPECT_EQ(grid->FreezeCount(), 0);
}

TEST_F(GridTest, RefreshDataWithoutRecordNumbersKeepsTheRecord) {
  Build(100, 10, Create<TNoRecNoDataSet>(nullptr));
  ds->MoveBy(49);  // record 50 in the last row
  ds->MoveBy(-2);  // record 48 in row 7
  Pump();
  ASSERT_EQ(ds->RecNo(), -1);
  const std::vector<Integer> before = WindowIDs();
  grid->RefreshData();
  Pump();
  EXPECT_EQ(CurrentID(), 48);
  EXPECT_EQ(WindowIDs(), before);
  EXPECT_EQ(grid->ActiveRow(), 7);
}

TEST_F(GridTest, MoreRecordsCountsFilledBuffersOnly) {
  Build(5, 10);
  EXPECT_EQ(grid->RowCount(), 5);
  EXPECT_FALSE(grid->MoreRecords());
  Build(10, 10);
  EXPECT_EQ(grid->RowCount(), 10);
  EXPECT_FALSE(grid->MoreRecords());
  Build(11, 10);
  EXPECT_TRUE(grid->MoreRecords());
  ds->Last();
  Pump();
  EXPECT_FALSE(grid->MoreRecords());
}

TEST_F(GridTest, DesignerFreedBeforeTheGridByTheirOwner) {
  // The designer is created after the grid under the same owner, so the
  // owner frees it first.
  auto* owner = Create<TComponent>(nullptr);
  auto* lone = Create<TDBTabulon>(owner);
  auto* style = Create<TWatchedDesigner>(owner);
  lone->SetDesigner(style);
  bool released = false;
  style->Watched = lone;
  style->Released = &released;
  const Integer defaultGrids = DefaultDesigner()->GridCount();
  TObject::Free(owner);
  EXPECT_TRUE(released) << "the grid let go of the designer as it went";
  EXPECT_EQ(DefaultDesigner()->GridCount(), defaultGrids);
  // The other order: the grid goes first and leaves the designer's list,
  // so the designer has no grid to tell.
  owner = Create<TComponent>(nullptr);
  style = Create<TWatchedDesigner>(owner);
  lone = Create<TDBTabulon>(owner);
  lone->SetDesigner(style);
  EXPECT_EQ(style->GridCount(), 1);
  TObject::Free(owner);
  EXPECT_EQ(DefaultDesigner()->GridCount(), defaultGrids);

  // A designer of another owner going: the grid falls back to the default.
  Build(5, 3);
  auto* other = Create<TWatchedDesigner>(nullptr);
  grid->SetDesigner(other);
  TObject::Free(other);
  EXPECT_EQ(grid->Designer(), nullptr);
  EXPECT_EQ(grid->EffectiveDesigner(), DefaultDesigner());
  EXPECT_EQ(DefaultDesigner()->GridCount(), defaultGrids + 1);
}

TEST_F(GridTest, RemovedColumnIsForgotten) {
  Build(5, 3);
  grid->SelectColumn(1);
  TtlColumn* current = grid->CurrentColumnObject();
  ASSERT_EQ(current, grid->Columns()->Items(1));
  {
    // Inside an update bracket the layout waits; the grid must not keep
    // the column meanwhile.
    TCollectionUpdate update(grid->Columns());
    grid->Columns()->Delete(1);
    EXPECT_EQ(grid->CurrentColumnObject(), nullptr);
  }
  EXPECT_EQ(grid->CurrentColumn(), 0);
  EXPECT_EQ(grid->CurrentColumnObject(), grid->Columns()->Items(0));
}

TEST_F(GridTest, CustomizerActionAfterTheColumnWentGetsNoColumn) {
  Build(5, 3);
  auto* customizer = Create<TFreeingCustomizer>(form);
  customizer->SetBounds(320, 10, 50, 50);
  customizer->SetParent(form);
  Pump();
  std::vector<TtlColumn*> seen;
  grid->OnCustomizerAction = TtlCustomizerActionEvent::FromCallable(
      [&](TObject*, TtlCustomizerAction, TtlColumn* c) { seen.push_back(c); });
  grid->Perform(WM_TL_CUSTOMIZER, gcaAttach, reinterpret_cast<LPARAM>(customizer));
  TtlColumn* dragged = grid->Columns()->Items(0);
  grid->Perform(WM_TL_CUSTOMIZER, 4, reinterpret_cast<LPARAM>(dragged));
  EXPECT_EQ(grid->Columns()->Count(), 1);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[1], nullptr) << "the column was freed by the customizer";
  // A column that stays is passed on.
  TtlColumn* kept = grid->Columns()->Items(0);
  grid->Perform(WM_TL_CUSTOMIZER, 2, reinterpret_cast<LPARAM>(kept));
  EXPECT_EQ(seen.back(), kept);
  grid->Perform(WM_TL_CUSTOMIZER, gcaDetach, 0);
}

}  // namespace
}  // namespace brevant::test
