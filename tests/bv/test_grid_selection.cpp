// Record shots, the current record shot and the selection of a grid: naming
// records by bookmark, unique fields and record number, keeping the current
// record across refreshes and scans, selecting, ranges, clearing, deleting
// the selection and the change notification.
#include <functional>
#include <set>

#include "bv/grid_params.h"
#include "bv/selection.h"
#include "bv_db/quick_record_set.h"
#include "bv_rtm/bv_errors.h"
#include "controls/messages.h"
#include "db/field.h"
#include "grid_test_util.h"

namespace brevant::test {
namespace {

using dbtest::Range;

class SelectionTest : public GridTest {
 protected:
  void Build(Integer n, Integer rows = 10) {
    GridTest::Build(n, rows);
    grid->OnSelectionChange = TNotifyEvent::FromCallable([this](TObject*) { ++changes; });
    changes = 0;
  }
  TtlSelection* Sel() { return grid->Selection(); }
  TtlCurrentRecShot* Cur() { return grid->CurrentRecShot(); }
  // The bookmark of the record with the ID; the dataset stays where it was.
  TBookmark BookmarkOf(Integer id) {
    TBookmark found;
    {
      TznCurrentRecordKeeper keeper(ds);
      EXPECT_TRUE(ds->Locate("ID", id));
      found = ds->Bookmark();
    }
    Pump();
    return found;
  }
  void GoTo(Integer id) {
    ASSERT_TRUE(ds->Locate("ID", id));
    Pump();
  }
  // The IDs of the selected records in Items order (read by bookmark).
  std::vector<Integer> SelectedIDs() {
    std::vector<Integer> ids;
    {
      TznCurrentRecordKeeper keeper(ds);
      for (Integer i = 0; i < Sel()->SelectedCount(); ++i) {
        ds->GotoBookmark(Sel()->Item(i)->Bookmark());
        ids.push_back(CurrentID());
      }
    }
    Pump();
    return ids;
  }
  std::vector<Integer> AllIDs() {
    std::vector<Integer> ids;
    const TBookmark found = ds->ScanRecords([&] {
      ids.push_back(CurrentID());
      return false;
    });
    (void)found;
    return ids;
  }

  Integer changes = 0;
};

// ---- the current record shot ----

TEST_F(SelectionTest, CapturingTheCursorMovesTheHighlight) {
  Build(100, 10);
  ds->MoveBy(3);
  Pump();
  grid->SetCursorType(gctInsensitiveBmrk);
  EXPECT_EQ(grid->CursorRow(), -1);
  // Setting the unique fields takes the dataset's record again: the row
  // that shows it is highlighted at once.
  grid->SetUniqueFields("ID");
  EXPECT_EQ(grid->CursorRow(), 3);
  EXPECT_TRUE(Cur()->IsSet());
  EXPECT_EQ(Cur()->KeyValues(), Variant(4));
  Pump();
  EXPECT_EQ(PixelAt(5, grid->RowRect(3).Top + 2), ColorToRGB(clHighlight));
  // The cursor moves on; capturing it again repaints both rows.
  ds->MoveBy(2);
  Pump();
  EXPECT_EQ(grid->CursorRow(), 3);  // an insensitive cursor stays
  grid->Clips.clear();
  Cur()->CaptureCursor(false);
  EXPECT_EQ(grid->CursorRow(), 5);
  Pump();
  const std::vector<Integer> painted = grid->TakePaintedRows();
  EXPECT_NE(std::find(painted.begin(), painted.end(), 3), painted.end());
  EXPECT_NE(std::find(painted.begin(), painted.end(), 5), painted.end());
  EXPECT_EQ(PixelAt(5, grid->RowRect(3).Top + 2), ColorToRGB(clWindow));
  EXPECT_EQ(PixelAt(5, grid->RowRect(5).Top + 2), ColorToRGB(clHighlight));
}

TEST_F(SelectionTest, ShotsNameRecordsByBookmarkKeysAndNumber) {
  Build(20, 10);
  grid->SetBookmarkFields("Name;$RECNO$");
  EXPECT_EQ(grid->BookmarkFields(), "Name");
  GoTo(5);
  TtlRecShot shot(grid);
  shot.Capture(ds->Bookmark());
  EXPECT_TRUE(shot.IsSet());
  EXPECT_TRUE(VarIsEmpty(shot.KeyValues()));
  EXPECT_EQ(shot.BookmarkValues(), Variant("R5"));
  EXPECT_EQ(shot.RecNo(), 5);
  EXPECT_TRUE(shot.IsCurrent());
  GoTo(6);
  EXPECT_FALSE(shot.IsCurrent());
  EXPECT_TRUE(shot.GotoRecord());
  EXPECT_EQ(CurrentID(), 5);
  // With unique fields the key values decide, and the record number is
  // captured only when enabled.
  grid->SetUniqueFields("ID;Name");
  grid->ParamsDB()->SetEnableRecNo(false);
  shot.Capture(ds->Bookmark());
  EXPECT_EQ(shot.KeyValues(), VarArrayOf({5, "R5"}));
  EXPECT_EQ(shot.RecNo(), -1);
  ds->Edit();
  ds->FieldByName("Name")->SetAsString("changed");
  ds->Post();
  EXPECT_FALSE(shot.IsCurrent());  // same bookmark, other keys
  // An empty capture names nothing.
  shot.Capture(TBookmark());
  EXPECT_FALSE(shot.IsSet());
  EXPECT_FALSE(shot.IsCurrent());
  EXPECT_FALSE(shot.GotoRecord());
  // Unknown unique fields read no key values instead of failing.
  grid->SetUniqueFields("Nope");
  shot.Capture(ds->Bookmark());
  EXPECT_TRUE(VarIsEmpty(shot.KeyValues()));
  EXPECT_TRUE(shot.IsCurrent());
  // With the link inactive only an empty shot is current.
  ds->Close();
  EXPECT_FALSE(shot.IsCurrent());
  EXPECT_FALSE(shot.GotoRecord());
  TtlRecShot empty(grid);
  EXPECT_TRUE(empty.IsCurrent());
}

TEST_F(SelectionTest, GotoRecordByKeysSurvivesALostBookmark) {
  Build(20, 10);
  grid->SetUniqueFields("ID");
  GoTo(5);
  TtlRecShot shot(grid);
  shot.Capture(ds->Bookmark());
  // Record 5 is deleted and comes back as a new record: its old bookmark
  // is no longer valid.
  ds->Delete();
  ds->AppendRecord({5, "R5 again"});
  ds->First();
  Pump();
  grid->SetCursorType(gctInsensitiveBmrk);
  EXPECT_FALSE(shot.GotoRecord());
  EXPECT_EQ(CurrentID(), 1);
  grid->SetCursorType(gctInsensitiveID);
  EXPECT_TRUE(shot.GotoRecord());
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "R5 again");
  EXPECT_TRUE(shot.IsCurrent());  // the keys decide
  grid->SetUniqueFields("");
  EXPECT_FALSE(shot.GotoRecord());
}

TEST_F(SelectionTest, AShotHoldingOnlyKeysIsFoundInTheWindow) {
  Build(50, 10);
  grid->SetCursorType(gctInsensitiveID);
  grid->SetUniqueFields("ID");
  Cur()->SetKey(Variant(7), false, true);
  // The record is found among the buffered rows and the shot completed.
  EXPECT_EQ(grid->CursorRow(), 6);
  EXPECT_TRUE(Cur()->Follow());
  EXPECT_FALSE(Cur()->Bookmark().empty());
  EXPECT_EQ(changes, 1);
  // Scrolling away and back finds it again.
  VScroll(SB_BOTTOM);
  EXPECT_EQ(grid->CursorRow(), -1);
  VScroll(SB_TOP);
  EXPECT_EQ(grid->CursorRow(), 6);
  // With locate the dataset moves to the record.
  Cur()->SetKey(Variant(30), true, false);
  EXPECT_EQ(CurrentID(), 30);
  EXPECT_EQ(grid->CursorRow(), grid->ActiveRow());
  Cur()->SetKey(Variant(999), true, false);
  EXPECT_FALSE(Cur()->IsSet());
  EXPECT_EQ(grid->CursorRow(), -1);
  // Keys are refused without unique fields (mode 2).
  grid->SetUniqueFields("");
  const TBookmark held = Cur()->Bookmark();
  Cur()->SetKey(Variant(3), false, false);
  EXPECT_EQ(Cur()->Bookmark(), held);
  EXPECT_TRUE(VarIsEmpty(Cur()->KeyValues()));
  EXPECT_TRUE(Cur()->CanUseKey(1));
}

// For each cursor type, with the current record in the top and in the
// bottom row: a refresh and a scan wrapped in the current-record routines
// leave the window, the current record and its row as they were.
TEST_F(SelectionTest, CurrentRecordIsKeptAcrossRefreshAndScan) {
  for (TtlCursorType type : {gctSensitive, gctInsensitiveBmrk, gctInsensitiveID}) {
    for (Integer row : {0, 9, 1, 8}) {
      SCOPED_TRACE(IntToStr(type) + " row " + IntToStr(row));
      Build(100, 10);
      grid->SetUniqueFields("ID");
      ds->MoveBy(40 + 9);  // records 41..50 in the window
      ds->MoveBy(row - 9);
      Pump();
      grid->SetCursorType(type);
      Cur()->CaptureCursor(false);
      const std::vector<Integer> window = WindowIDs();
      const Integer id = CurrentID();
      ASSERT_EQ(grid->CursorRow(), row);
      grid->RefreshData();
      Pump();
      EXPECT_EQ(WindowIDs(), window);
      EXPECT_EQ(CurrentID(), id);
      EXPECT_EQ(grid->CursorRow(), row);
      {
        TznCurrentRecordKeeper keeper(ds);
        Integer count = 0;
        for (ds->First(); !ds->Eof(); ds->Next()) ++count;
        EXPECT_EQ(count, 100);
      }
      Pump();
      EXPECT_EQ(WindowIDs(), window);
      EXPECT_EQ(CurrentID(), id);
      EXPECT_EQ(grid->ActiveRow(), row);
      EXPECT_EQ(grid->CursorRow(), row);
      EXPECT_TRUE(Cur()->IsCurrent());
    }
  }
}

// ---- the selection ----

TEST_F(SelectionTest, CountItemAndSingleSelections) {
  Build(30, 10);
  // The current record alone counts as the selection.
  EXPECT_EQ(Sel()->Count(), 1);
  EXPECT_EQ(Sel()->SelectedCount(), 0);
  EXPECT_EQ(Sel()->Item(0), Cur());
  EXPECT_TRUE(Sel()->IsEmpty());
  EXPECT_EQ(Sel()->AnchorBookmark(), Cur()->Bookmark());
  GoTo(4);
  EXPECT_TRUE(Sel()->SelectCurrent(true, true));
  EXPECT_FALSE(Sel()->SelectCurrent(true, true));  // no second change
  EXPECT_EQ(changes, 2);                           // the move, then one selection
  EXPECT_EQ(Sel()->Count(), 1);
  EXPECT_NE(Sel()->Item(0), Cur());
  EXPECT_EQ(Sel()->Item(0)->RecNo(), 4);
  EXPECT_TRUE(Sel()->IsCurrentSelected());
  EXPECT_THROW(Sel()->Item(1), EBVError);
  // A toggle of another record, then the anchor is the record selected last.
  GoTo(2);
  Sel()->SelectCurrent(!Sel()->IsCurrentSelected(), true);
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{2, 4}));
  EXPECT_EQ(Sel()->History().back(), Sel()->Item(0));
  EXPECT_EQ(Sel()->AnchorBookmark(), BookmarkOf(2));
  EXPECT_EQ(Sel()->IndexOf(BookmarkOf(4)), 1);
  EXPECT_EQ(Sel()->IndexOf(BookmarkOf(3)), -1);
  Integer position = -1;
  EXPECT_FALSE(Sel()->Find(BookmarkOf(3), position));
  EXPECT_EQ(position, 1);
  Sel()->SelectCurrent(!Sel()->IsCurrentSelected(), true);
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{4}));
  // Selected rows are highlighted.
  Pump();
  EXPECT_EQ(PixelAt(5, grid->RowRect(3).Top + 2), ColorToRGB(clHighlight));
  EXPECT_EQ(PixelAt(5, grid->RowRect(2).Top + 2), ColorToRGB(clWindow));
  // Without a record there is nothing to count.
  ds->Close();
  EXPECT_EQ(Sel()->SelectedCount(), 1);
  Sel()->Clear(false, false);
  EXPECT_EQ(Sel()->Count(), 0);
}

TEST_F(SelectionTest, RangesRunInBothDirections) {
  Build(100, 10);
  GoTo(20);
  const std::vector<Integer> window = WindowIDs();
  const Integer row = grid->ActiveRow();
  const TBookmark to = BookmarkOf(25);
  changes = 0;
  Sel()->SelectRange(to);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(CurrentID(), 20);
  EXPECT_EQ(WindowIDs(), window);
  EXPECT_EQ(grid->ActiveRow(), row);
  EXPECT_EQ(SelectedIDs(), Range(20, 6));
  EXPECT_EQ(grid->FreezeCount(), 0);
  EXPECT_FALSE(ds->ControlsDisabled());
  EXPECT_EQ(Sel()->AnchorBookmark(), BookmarkOf(25));
  // Backwards from 20 to 12: both ends are selected; 20 was already.
  Sel()->SelectRange(BookmarkOf(12));
  EXPECT_EQ(SelectedIDs(), Range(12, 14));
  EXPECT_EQ(Sel()->History().size(), 14u);
  EXPECT_EQ(Sel()->AnchorBookmark(), BookmarkOf(12));
  // Towards a record that is gone or no record nothing is selected (the
  // walk would otherwise run to an end of the dataset).
  const TBookmark gone = BookmarkOf(60);
  GoTo(60);
  ds->Delete();
  GoTo(98);
  Sel()->SelectRange(gone);
  EXPECT_EQ(Sel()->SelectedCount(), 14);
  Sel()->SelectRange(TBookmark());
  EXPECT_EQ(Sel()->SelectedCount(), 14);
}

TEST_F(SelectionTest, ClearWithAndWithoutTheCurrentRecord) {
  Build(30, 10);
  grid->SetCursorType(gctInsensitiveBmrk);
  GoTo(3);
  Cur()->CaptureCursor(false);
  changes = 0;
  Sel()->Clear(true, false);  // nothing selected: nothing to do
  EXPECT_EQ(changes, 0);
  Sel()->SelectCurrent(true, false);
  Sel()->SetAnchor("x");
  Sel()->Clear(true, false);
  EXPECT_EQ(Sel()->SelectedCount(), 0);
  EXPECT_EQ(Sel()->Anchor(), "");
  EXPECT_TRUE(Cur()->IsSet());
  EXPECT_EQ(changes, 2);
  Sel()->Clear(true, true);  // the current record alone
  EXPECT_FALSE(Cur()->IsSet());
  EXPECT_EQ(grid->CursorRow(), -1);
  EXPECT_EQ(Sel()->Count(), 0);
  EXPECT_EQ(changes, 3);
  Sel()->Clear(true, true);
  EXPECT_EQ(changes, 3);
  // Deselecting the current record of an insensitive cursor releases it.
  Cur()->CaptureCursor(false);
  Sel()->SelectCurrent(true, false);
  Sel()->SelectCurrent(false, false);
  EXPECT_FALSE(Cur()->IsSet());
}

TEST_F(SelectionTest, DeleteSelectedRepositions) {
  Build(8, 10);
  GoTo(5);
  Sel()->SelectRange(BookmarkOf(8));
  Sel()->DeleteSelected(true, true);
  EXPECT_EQ(AllIDs(), Range(1, 4));
  EXPECT_EQ(ds->RecNo(), 4);  // record number 5 is gone: the last one
  EXPECT_EQ(Sel()->SelectedCount(), 0);
  EXPECT_EQ(Cur()->Bookmark(), ds->Bookmark());
  // Nothing selected: the current record is deleted.
  GoTo(2);
  Sel()->DeleteSelected(false, true);
  EXPECT_EQ(AllIDs(), (std::vector<Integer>{1, 3, 4}));
  // The last record goes and the current shot is released.
  Build(1, 10);
  grid->SetCursorType(gctInsensitiveBmrk);
  Cur()->CaptureCursor(false);
  Sel()->SelectCurrent(true, false);
  Sel()->DeleteSelected(true, true);
  EXPECT_TRUE(AllIDs().empty());
  EXPECT_FALSE(Cur()->IsSet());
  EXPECT_EQ(Sel()->Count(), 0);
}

TEST_F(SelectionTest, DeletingTheSelectionSkipsRecordsThatChanged) {
  Build(20, 10);
  grid->SetUniqueFields("ID");
  GoTo(5);
  Sel()->SelectRange(BookmarkOf(7));
  // Record 6 is now another record by its key; record 7 is gone.
  GoTo(6);
  ds->Edit();
  ds->FieldByName("ID")->SetAsInteger(60);
  ds->Post();
  GoTo(7);
  ds->Delete();
  Pump();
  Sel()->DeleteSelected(false, true);
  std::vector<Integer> left = AllIDs();
  EXPECT_EQ(std::count(left.begin(), left.end(), 60), 1);
  EXPECT_EQ(std::count(left.begin(), left.end(), 5), 0);
  EXPECT_EQ(left.size(), 18u);  // 20, less 7 gone before and 5
  EXPECT_EQ(grid->FreezeCount(), 0);
  EXPECT_FALSE(ds->ControlsDisabled());
}

TEST_F(SelectionTest, ChangesAreReportedOnceAfterANavigationStep) {
  Build(30, 10);
  GoTo(3);
  changes = 0;
  {
    TGridNavigation step(grid);
    Sel()->SelectCurrent(true, true);
    ds->MoveBy(2);  // the current record follows the cursor while navigating
    Sel()->SelectCurrent(true, true);
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(Sel()->Changed());
    EXPECT_TRUE(Cur()->Changed());
  }
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(Sel()->Changed());
  EXPECT_FALSE(grid->Navigating());
  // A failed step resets its state and reports nothing.
  EXPECT_THROW(
      {
        TGridNavigation step(grid);
        Sel()->Clear(true, false);
        throw EBVError("refused");
      },
      EBVError);
  EXPECT_EQ(changes, 1);
  EXPECT_FALSE(grid->Navigating());
  Sel()->SelectCurrent(true, false);  // outside a step: at once
  EXPECT_EQ(changes, 2);
}

// Navigation steps carry selection actions that the scrolled handler
// applies to the record left and the record reached.
TEST_F(SelectionTest, NavigationStepsApplyTheirSelectionActions) {
  Build(50, 10);
  grid->SetMultiSelect(true);
  auto step = [&](Cardinal actions, const std::function<void()>& move) {
    TGridNavigation navigation(grid);
    grid->SetPendingSelection(actions);
    move();
  };
  auto by = [&](Integer distance) { return [this, distance] { ds->MoveBy(distance); }; };
  changes = 0;
  step(gsaSelectLeft | gsaSelectReached, by(1));
  EXPECT_EQ(changes, 1);  // reported once, at the end of the step
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{1, 2}));
  step(gsaToggleReached, by(1));
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{1, 2, 3}));
  step(gsaToggleReached, by(-1));
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{1, 3}));
  step(gsaUnselectLeft, by(-1));  // record 2 was not selected
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{1, 3}));
  EXPECT_EQ(CurrentID(), 1);
  step(gsaRange, by(5));  // from the anchor (3, selected last) to 6
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{1, 3, 4, 5, 6}));
  EXPECT_EQ(CurrentID(), 6);
  // Across the window's edge: the record left is in the row above.
  ds->MoveBy(4);
  Pump();
  ASSERT_EQ(grid->ActiveRow(), 9);
  step(gsaSelectLeft | gsaSelectReached, by(1));
  EXPECT_EQ(SelectedIDs(), (std::vector<Integer>{1, 3, 4, 5, 6, 10, 11}));
  // A range to the last record.
  step(gsaRange, [this] { ds->Last(); });
  EXPECT_EQ(Sel()->SelectedCount(), 5 + 41);
  EXPECT_TRUE(Sel()->IsCurrentSelected());
  EXPECT_EQ(grid->PendingSelection(), 0u);
  step(gsaClear, by(-1));
  EXPECT_EQ(Sel()->SelectedCount(), 0);
  // Clearing an empty selection is dropped; without MultiSelect every
  // action is.
  grid->SetPendingSelection(gsaClear | gsaMove);
  EXPECT_EQ(grid->PendingSelection(), 0u);
  grid->SetMultiSelect(false);
  step(gsaSelectLeft | gsaSelectReached, by(-1));
  EXPECT_EQ(Sel()->SelectedCount(), 0);
  EXPECT_FALSE(grid->Navigating());
}

TEST_F(SelectionTest, BookmarkOrderTreatsEmptyBookmarksAlike) {
  Build(5, 10);
  const TBookmark one = BookmarkOf(1), five = BookmarkOf(5);
  EXPECT_EQ(CompareBookmarkOrder(ds, TBookmark(), TBookmark()), 0);
  EXPECT_EQ(CompareBookmarkOrder(ds, TBookmark(), one), 1);
  EXPECT_EQ(CompareBookmarkOrder(ds, one, TBookmark()), -1);
  EXPECT_EQ(CompareBookmarkOrder(ds, one, five), -1);
  EXPECT_EQ(CompareBookmarkOrder(ds, five, one), 1);
  EXPECT_EQ(ds->CompareBookmarks(TBookmark(), TBookmark()), 0);
}

// A seeded random walk of selection operations, checked after every step
// against a set of selected IDs.
TEST_F(SelectionTest, RandomOperationsMatchAModel) {
  Build(60, 8);
  grid->SetUniqueFields("ID");
  std::set<Integer> model;
  std::uint32_t seed = 4242;
  auto next = [&seed](Integer n) {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<Integer>((seed >> 8) % static_cast<std::uint32_t>(n));
  };
  Integer nextID = 1000;
  for (Integer step = 0; step < 600; ++step) {
    std::vector<Integer> ids = AllIDs();
    const Integer action = next(10);
    String what;
    if (action < 3) {
      what = "move";
      ds->MoveBy(next(21) - 10);
      Pump();
    } else if (action == 3) {
      what = "select";
      Sel()->SelectCurrent(true, true);
      model.insert(CurrentID());
    } else if (action == 4) {
      what = "deselect";
      Sel()->SelectCurrent(false, true);
      model.erase(CurrentID());
    } else if (action == 5) {
      what = "toggle";
      const bool selected = Sel()->IsCurrentSelected();
      Sel()->SelectCurrent(!selected, true);
      if (selected)
        model.erase(CurrentID());
      else
        model.insert(CurrentID());
    } else if (action == 6) {
      what = "range";
      const Integer target = ids[static_cast<std::size_t>(next(static_cast<Integer>(ids.size())))];
      const Integer here = CurrentID();
      Sel()->SelectRange(BookmarkOf(target));
      for (Integer id : ids)
        if (id >= std::min(here, target) && id <= std::max(here, target)) model.insert(id);
      EXPECT_EQ(CurrentID(), here);
    } else if (action == 7 && next(3) == 0) {
      what = "clear";
      Sel()->Clear(next(2) == 0, false);
      model.clear();
    } else if (action == 8 && ids.size() > 10 && next(4) == 0) {
      what = "delete";
      if (model.empty()) model.insert(CurrentID());  // the current record alone
      Sel()->DeleteSelected(next(2) == 0, true);
      for (Integer id : model) std::erase(ids, id);
      model.clear();
      Pump();
      ASSERT_EQ(AllIDs(), ids);
    } else {
      what = "append";
      ds->AppendRecord({nextID++, "new"});
      Pump();
    }
    SCOPED_TRACE(what + " at step " + IntToStr(step));
    ASSERT_EQ(grid->RowWindowFault(), "");
    ASSERT_EQ(Sel()->SelectedCount(), static_cast<Integer>(model.size()));
    const std::vector<Integer> selected = SelectedIDs();
    ASSERT_EQ(selected, std::vector<Integer>(model.begin(), model.end()));
    ASSERT_EQ(Sel()->History().size(), model.size());
    ASSERT_EQ(Sel()->IsCurrentSelected(), model.count(CurrentID()) == 1);
    ASSERT_EQ(Sel()->Count(), model.empty() ? 1 : static_cast<Integer>(model.size()));
    for (Integer i = 0; i < Sel()->SelectedCount(); ++i)
      ASSERT_EQ(Sel()->Item(i)->KeyValues(), Variant(selected[static_cast<std::size_t>(i)]));
    ASSERT_EQ(grid->FreezeCount(), 0);
  }
}

}  // namespace
}  // namespace brevant::test
