// The record window, the notifications each link hears, moves and edits.
#include <gtest/gtest.h>

#include <random>

#include "db/db_test_util.h"
#include "db/dbconsts.h"
#include "error_text.h"
#include "rtl/resstrings.h"

using namespace brevant;
using namespace dbtest;

namespace {

// A dataset of n numbered records with two links: A (10 rows, visual) and
// B (4 rows, not visual).
struct TTwoLinks {
  TObjectPtr<TMemDataSet> ds;
  TObjectPtr<TDataSource> src;
  TRecLink a, b;

  explicit TTwoLinks(Integer n) : ds(MakeNumbers(n)), src(Create<TDataSource>(nullptr)) {
    src->SetDataSet(ds.get());
    a.SetBufferCount(10);
    a.SetVisualControl(true);
    b.SetBufferCount(4);
    a.SetDataSource(src.get());
    b.SetDataSource(src.get());
    ds->Open();
    a.Take();
    b.Take();
  }
  ~TTwoLinks() {
    a.SetDataSource(nullptr);
    b.SetDataSource(nullptr);
  }
  Integer Id() { return ds->FieldByName("ID")->AsInteger(); }
};

using brevant::test::ErrorOf;

}  // namespace

TEST(DataSetWindow, OpenFillsBothWindows) {
  TTwoLinks t(100);
  EXPECT_EQ(t.ds->BufferCount(), 10);
  EXPECT_TRUE(t.a.Active());
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(1, 10)));
  EXPECT_EQ(Join(t.b.Rows()), "1 2 3 4");
  EXPECT_EQ(t.a.ActiveRecord(), 0);
  EXPECT_EQ(t.b.ActiveRecord(), 0);
  EXPECT_TRUE(t.ds->Bof());
  EXPECT_FALSE(t.ds->Eof());
  EXPECT_EQ(t.ds->RecNo(), 1);
  EXPECT_EQ(t.ds->RecordCount(), 100);
  // A link joining an open dataset widens the buffers without moving the
  // others.
  TRecLink c;
  c.SetBufferCount(12);
  c.SetDataSource(t.src.get());
  EXPECT_EQ(t.ds->BufferCount(), 12);
  EXPECT_EQ(c.Take(), "active");
  EXPECT_EQ(t.a.Take(), "");
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(1, 10)));
  EXPECT_EQ(Join(c.Rows()), Join(Range(1, 12)));
  c.SetDataSource(nullptr);
  EXPECT_EQ(c.Take(), "active");
  EXPECT_EQ(t.ds->BufferCount(), 10);
}

TEST(DataSetWindow, NextAndPriorShiftEachWindowMinimally) {
  TTwoLinks t(100);
  for (int i = 0; i < 3; ++i) t.ds->Next();
  EXPECT_EQ(t.a.Take(), "scrolled 0, scrolled 0, scrolled 0");
  EXPECT_EQ(t.b.Take(), "scrolled 0, scrolled 0, scrolled 0");
  EXPECT_EQ(t.b.ActiveRecord(), 3);
  t.ds->Next();  // record 5 leaves B's window at the bottom
  EXPECT_EQ(t.a.Take(), "scrolled 0");
  EXPECT_EQ(t.b.Take(), "scrolled 1");
  EXPECT_EQ(Join(t.b.Rows()), "2 3 4 5");
  EXPECT_EQ(t.b.ActiveRecord(), 3);
  for (int i = 0; i < 5; ++i) t.ds->Next();  // record 10: the last buffer
  EXPECT_EQ(t.a.Take(), "scrolled 0, scrolled 0, scrolled 0, scrolled 0, scrolled 0");
  EXPECT_EQ(Join(t.b.Rows()), "7 8 9 10");
  t.b.Take();
  t.ds->Next();  // record 11: the dataset's buffers shift by one
  EXPECT_EQ(t.a.Take(), "scrolled 1");
  EXPECT_EQ(t.b.Take(), "scrolled 1");
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(2, 10)));
  EXPECT_EQ(t.a.ActiveRecord(), 9);
  EXPECT_EQ(Join(t.b.Rows()), "8 9 10 11");
  EXPECT_EQ(t.Id(), 11);
  // Back up inside B's window: only the active row moves.
  for (int i = 0; i < 3; ++i) t.ds->Prior();
  EXPECT_EQ(t.b.Take(), "scrolled 0, scrolled 0, scrolled 0");
  EXPECT_EQ(t.b.ActiveRecord(), 0);
  t.ds->Prior();  // record 7: B's top edge
  EXPECT_EQ(t.b.Take(), "scrolled -1");
  EXPECT_EQ(t.a.Take(), "scrolled 0, scrolled 0, scrolled 0, scrolled 0");
  EXPECT_EQ(Join(t.b.Rows()), "7 8 9 10");
  EXPECT_EQ(t.a.ActiveRecord(), 5);
}

TEST(DataSetWindow, MoveByReportsEachWindowsDistance) {
  TTwoLinks t(100);
  EXPECT_EQ(t.ds->MoveBy(25), 25);  // record 26
  EXPECT_EQ(t.a.Take(), "scrolled 16");
  EXPECT_EQ(t.b.Take(), "scrolled 22");
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(17, 10)));
  EXPECT_EQ(Join(t.b.Rows()), "23 24 25 26");
  EXPECT_EQ(t.ds->MoveBy(-3), -3);  // record 23: inside both windows
  EXPECT_EQ(t.a.Take(), "scrolled 0");
  EXPECT_EQ(t.b.Take(), "scrolled 0");
  EXPECT_EQ(t.ds->MoveBy(-10), -10);  // record 13: A's top is 17
  EXPECT_EQ(t.a.Take(), "scrolled -4");
  EXPECT_EQ(t.b.Take(), "scrolled -10");
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(13, 10)));
  EXPECT_EQ(t.a.ActiveRecord(), 0);
  EXPECT_EQ(t.b.ActiveRecord(), 0);
  // Past the start: the move stops, BOF is set, and the windows report how
  // far they really went.
  EXPECT_EQ(t.ds->MoveBy(-50), -12);
  EXPECT_TRUE(t.ds->Bof());
  EXPECT_EQ(t.a.Take(), "scrolled -12");
  EXPECT_EQ(t.b.Take(), "scrolled -12");
  EXPECT_EQ(t.Id(), 1);
  // At BOF a backward move does nothing at all, not even notify.
  EXPECT_EQ(t.ds->MoveBy(-1), 0);
  EXPECT_EQ(t.a.Take(), "");
  // Past the end.
  EXPECT_EQ(t.ds->MoveBy(1000), 99);
  EXPECT_TRUE(t.ds->Eof());
  EXPECT_EQ(t.a.Take(), "scrolled 90");
  EXPECT_EQ(t.b.Take(), "scrolled 96");
  EXPECT_EQ(Join(t.b.Rows()), "97 98 99 100");
  // Next at the last record: no move, EOF, a zero-distance scroll.
  t.ds->Prior();
  t.a.Take();
  t.ds->Next();
  t.a.Take();
  EXPECT_FALSE(t.ds->Eof());
  EXPECT_EQ(t.ds->MoveBy(1), 0);
  EXPECT_EQ(t.a.Take(), "scrolled 0");
  EXPECT_TRUE(t.ds->Eof());
}

TEST(DataSetWindow, MoveByZeroChecksBrowseModeWithoutScrolling) {
  TTwoLinks t(20);
  Integer scrolls = 0;
  t.ds->AfterScroll = TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++scrolls; });
  EXPECT_EQ(t.ds->MoveBy(0), 0);
  EXPECT_EQ(t.a.Take(), "");
  EXPECT_EQ(scrolls, 0);
  // A modified edit is posted.
  t.ds->Edit();
  t.ds->FieldByName("Name")->SetAsString("changed");
  t.a.Take();
  EXPECT_EQ(t.ds->MoveBy(0), 0);
  EXPECT_EQ(t.ds->State(), dsBrowse);
  EXPECT_EQ(t.ds->FieldByName("Name")->AsString(), "changed");
  // The browse-mode check and the post each collect pending edits.
  EXPECT_EQ(t.a.Take(), "update, update, editing, changed");
  // An unmodified insert is cancelled.
  t.ds->Insert();
  EXPECT_EQ(t.ds->State(), dsInsert);
  t.ds->MoveBy(0);
  EXPECT_EQ(t.ds->State(), dsBrowse);
  EXPECT_EQ(t.ds->RecordCount(), 20);
  // A modified insert is posted.
  t.ds->Insert();
  t.ds->FieldByName("ID")->SetAsInteger(500);
  EXPECT_TRUE(t.ds->Modified());
  t.ds->MoveBy(0);
  EXPECT_EQ(t.ds->RecordCount(), 21);
  EXPECT_EQ(t.Id(), 500);
  EXPECT_EQ(scrolls, 3);  // two inserts and a cancelled insert, none from MoveBy(0)
}

TEST(DataSetWindow, FirstLastAndResynchronisedMovesPlaceTheWindows) {
  TTwoLinks t(100);
  t.ds->Last();
  EXPECT_EQ(t.a.Take(), "changed");
  EXPECT_EQ(t.b.Take(), "changed");
  EXPECT_TRUE(t.ds->Eof());
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(91, 10)));
  EXPECT_EQ(t.a.ActiveRecord(), 9);
  EXPECT_EQ(Join(t.b.Rows()), "97 98 99 100");
  EXPECT_EQ(t.ds->MoveBy(-5), -5);  // record 95
  EXPECT_EQ(t.a.Take(), "scrolled 0");
  EXPECT_EQ(t.b.Take(), "scrolled -2");
  // GotoBookmark centres the record in every window.
  t.ds->First();
  t.ds->MoveBy(49);
  TBookmark fifty = t.ds->Bookmark();
  EXPECT_EQ(fifty.size(), 4u);
  t.ds->First();
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(1, 10)));
  t.a.Take();
  t.b.Take();
  t.ds->GotoBookmark(fifty);
  EXPECT_EQ(t.a.Take(), "changed");
  EXPECT_EQ(t.b.Take(), "changed");
  EXPECT_EQ(t.Id(), 50);
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(46, 10)));
  EXPECT_EQ(t.a.ActiveRecord(), 4);
  EXPECT_EQ(Join(t.b.Rows()), "49 50 51 52");
  EXPECT_EQ(t.b.ActiveRecord(), 1);
  EXPECT_FALSE(t.ds->Bof());
  EXPECT_FALSE(t.ds->Eof());
  // Near the start there are not enough records above to centre.
  EXPECT_TRUE(t.ds->Locate("ID", 3));
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(1, 10)));
  EXPECT_EQ(t.a.ActiveRecord(), 2);
  EXPECT_EQ(Join(t.b.Rows()), "2 3 4 5");
  // Near the end neither below.
  EXPECT_TRUE(t.ds->Locate("ID", 99));
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(91, 10)));
  EXPECT_EQ(t.a.ActiveRecord(), 8);
  EXPECT_EQ(Join(t.b.Rows()), "97 98 99 100");
  EXPECT_EQ(t.b.ActiveRecord(), 2);
  // SetRecNo centres too.
  t.ds->SetRecNo(30);
  EXPECT_EQ(t.Id(), 30);
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(26, 10)));
}

namespace {
// The suite's current-record keeping: back to the bookmark, then two
// opposite moves that put the record on buffer row `row` again.
void RestoreCurrent(TDataSet* ds, const TBookmark& bookmark, Integer row) {
  ds->SetBookmark(bookmark);
  Integer c = ds->ActiveRecord();
  Integer m = ds->BufferCount() - 1;
  if (row > c) {
    ds->MoveBy(-row);
    ds->MoveBy(row);
  } else if (row < c) {
    ds->MoveBy(m - row);
    ds->MoveBy(row - m);
  }
}
}  // namespace

TEST(DataSetWindow, RestoringARowWithPairedMoves) {
  TTwoLinks t(100);
  t.ds->MoveBy(40);  // record 41 on the last row
  ASSERT_EQ(t.ds->ActiveRecord(), 9);
  TBookmark saved = t.ds->Bookmark();
  t.ds->First();
  RestoreCurrent(t.ds.get(), saved, 9);
  EXPECT_EQ(t.Id(), 41);
  EXPECT_EQ(t.ds->ActiveRecord(), 9);
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(32, 10)));
  t.ds->MoveBy(-8);  // record 33 on row 1
  ASSERT_EQ(t.ds->ActiveRecord(), 1);
  saved = t.ds->Bookmark();
  t.ds->Last();
  RestoreCurrent(t.ds.get(), saved, 1);
  EXPECT_EQ(t.Id(), 33);
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(32, 10)));
  // Near the start: record 2 on row 1 comes back to row 1.
  t.ds->First();
  t.ds->Next();
  saved = t.ds->Bookmark();
  t.ds->MoveBy(50);
  RestoreCurrent(t.ds.get(), saved, 1);
  EXPECT_EQ(t.Id(), 2);
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(1, 10)));
}

TEST(DataSetWindow, SmallDatasetsNeverFillTheWindow) {
  TTwoLinks t(3);
  EXPECT_EQ(t.a.RecordCount(), 3);
  EXPECT_EQ(t.b.RecordCount(), 3);
  EXPECT_EQ(t.ds->BufferedRecords(), 3);
  EXPECT_EQ(t.ds->MoveBy(5), 2);
  EXPECT_EQ(t.a.Take(), "scrolled 0");
  EXPECT_EQ(t.b.Take(), "scrolled 0");
  EXPECT_TRUE(t.ds->Eof());
  EXPECT_EQ(t.a.ActiveRecord(), 2);
  t.ds->Last();
  EXPECT_EQ(Join(t.a.Rows()), "1 2 3");
  EXPECT_EQ(t.a.ActiveRecord(), 2);
  t.ds->Append();
  EXPECT_EQ(t.a.RecordCount(), 4);
  EXPECT_EQ(t.a.ActiveRecord(), 3);
  EXPECT_EQ(Join(t.b.Rows()), "1 2 3 0");
  t.ds->Cancel();
  EXPECT_EQ(Join(t.b.Rows()), "1 2 3");
  EXPECT_EQ(t.b.ActiveRecord(), 2);
  // An empty dataset: BOF and EOF, no rows, moves do nothing.
  TTwoLinks e(0);
  EXPECT_TRUE(e.ds->Bof());
  EXPECT_TRUE(e.ds->Eof());
  EXPECT_TRUE(e.ds->IsEmpty());
  EXPECT_EQ(e.a.RecordCount(), 0);
  EXPECT_EQ(e.ds->MoveBy(3), 0);
  EXPECT_EQ(e.a.Take(), "");
  EXPECT_EQ(e.ds->RecNo(), 0);
  EXPECT_TRUE(e.ds->FieldByName("ID")->IsNull());
  EXPECT_EQ(e.ds->Bookmark(), "");
}

TEST(DataSetWindow, LinkActiveRecordMovesTheFieldsOnly) {
  TTwoLinks t(100);
  t.ds->MoveBy(20);  // record 21, A rows 12..21
  t.a.Take();
  Integer scrolls = 0;
  t.ds->BeforeScroll = TDataSetNotifyEvent::FromCallable([&](TDataSet*) { ++scrolls; });
  t.a.SetActiveRecord(3);
  EXPECT_EQ(t.Id(), 15);
  EXPECT_EQ(t.ds->RecNo(), 15);
  EXPECT_EQ(t.ds->FieldByName("Name")->AsString(), "R15");
  // B's window is another slice of the same buffers.
  EXPECT_EQ(t.b.ActiveRecord(), 3 - 6);
  t.a.SetActiveRecord(9);
  EXPECT_EQ(t.ds->RecNo(), 21);
  EXPECT_EQ(t.a.Take(), "");
  EXPECT_EQ(scrolls, 0);
  EXPECT_EQ(Join(t.a.RecNos()), Join(Range(12, 10)));
  EXPECT_EQ(ErrorOf([&] { t.a.SetActiveRecord(10); }),
            "EDatabaseError: Active record 10 outside the window of 10 rows");
  // The cursor did not move: the next record follows record 21.
  t.ds->Next();
  EXPECT_EQ(t.Id(), 22);
  // While editing, another row may be read but not written.
  t.ds->Edit();
  t.a.SetActiveRecord(0);
  EXPECT_EQ(t.Id(), 13);
  EXPECT_EQ(ErrorOf([&] { t.ds->FieldByName("ID")->SetAsInteger(7); }),
            "EDatabaseError: The active record is not the record being edited");
  t.a.SetActiveRecord(9);
  t.ds->FieldByName("ID")->SetAsInteger(7);
  t.ds->Post();
  EXPECT_EQ(t.Id(), 7);
  EXPECT_EQ(t.ds->RecNo(), 22);
}

TEST(DataSetWindow, InsertAppendPostCancelAndDelete) {
  TTwoLinks t(100);
  t.ds->MoveBy(49);
  t.ds->MoveBy(-4);  // record 46 on A's row 5
  ASSERT_EQ(t.a.ActiveRecord(), 5);
  t.a.Take();
  t.b.Take();
  t.ds->Insert();
  EXPECT_EQ(t.a.Take(), "editing, changed");
  EXPECT_EQ(t.b.Take(), "editing, changed");
  EXPECT_EQ(Join(t.a.Rows()), "41 42 43 44 45 0 46 47 48 49");
  EXPECT_EQ(t.a.ActiveRecord(), 5);
  EXPECT_EQ(t.ds->Bookmark(), "");
  EXPECT_TRUE(t.ds->FieldByName("ID")->IsNull());
  t.ds->FieldByName("ID")->SetAsInteger(1000);
  EXPECT_EQ(t.a.Take(), "record ID");
  t.ds->Cancel();
  EXPECT_EQ(t.a.Take(), "editing, changed");
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(41, 10)));
  EXPECT_EQ(t.Id(), 46);
  EXPECT_EQ(t.ds->RecordCount(), 100);
  // Posted, the new record sits before the one it was inserted at.
  t.ds->Insert();
  t.ds->FieldByName("ID")->SetAsInteger(1000);
  t.ds->Post();
  EXPECT_EQ(Join(t.a.Rows()), "41 42 43 44 45 1000 46 47 48 49");
  EXPECT_EQ(t.a.ActiveRecord(), 5);
  EXPECT_EQ(t.ds->RecNo(), 46);
  EXPECT_EQ(t.ds->RecordCount(), 101);
  // Delete leaves the cursor on the following record, windows in place.
  t.a.Take();
  t.ds->Delete();
  EXPECT_EQ(t.a.Take(), "changed");
  EXPECT_EQ(t.Id(), 46);
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(41, 10)));
  // Append: the new record on the last row of every window.
  t.ds->Append();
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(92, 9)) + " 0");
  EXPECT_EQ(Join(t.b.Rows()), "98 99 100 0");
  EXPECT_EQ(t.a.ActiveRecord(), 9);
  t.ds->FieldByName("ID")->SetAsInteger(101);
  t.ds->Post();
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(92, 10)));
  EXPECT_EQ(t.ds->RecNo(), 101);
  // Deleting the last record leaves the cursor on the new last one.
  t.ds->Delete();
  EXPECT_EQ(t.Id(), 100);
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(91, 10)));
  EXPECT_EQ(t.a.ActiveRecord(), 9);
  EXPECT_EQ(Join(t.b.Rows()), "97 98 99 100");
  // Edit and post in place.
  t.ds->First();
  t.ds->Next();
  t.a.Take();
  t.ds->Edit();
  t.ds->FieldByName("Name")->SetAsString("two");
  t.ds->Post();
  EXPECT_EQ(t.a.Take(), "editing, record nil, record Name, update, editing, changed");
  EXPECT_EQ(t.ds->FieldByName("Name")->AsString(), "two");
  EXPECT_EQ(t.ds->RecNo(), 2);
  EXPECT_EQ(t.a.ActiveRecord(), 1);
}

TEST(DataSetWindow, RefreshKeepsTheCurrentRecordAndTheWindows) {
  TTwoLinks t(100);
  t.ds->MoveBy(30);
  t.ds->MoveBy(-3);  // record 28 on A's row 6, B's row 0
  auto rowsA = Join(t.a.Rows()), rowsB = Join(t.b.Rows());
  Integer activeA = t.a.ActiveRecord();
  t.a.Take();
  t.ds->Refresh();
  EXPECT_EQ(t.a.Take(), "changed");
  EXPECT_EQ(t.Id(), 28);
  EXPECT_EQ(Join(t.a.Rows()), rowsA);
  EXPECT_EQ(Join(t.b.Rows()), rowsB);
  EXPECT_EQ(t.a.ActiveRecord(), activeA);
}

TEST(DataSetWindow, DisableControlsSilencesVisualLinksOnly) {
  TTwoLinks t(100);
  Integer dataChanges = 0, stateChanges = 0;
  t.src->OnDataChange = TDataChangeEvent::FromCallable([&](TObject*, TField*) { ++dataChanges; });
  t.src->OnStateChange = TNotifyEvent::FromCallable([&](TObject*) { ++stateChanges; });
  {
    TDisableControls guard(t.ds.get());
    {
      TDisableControls nested(t.ds.get());
      for (int i = 0; i < 12; ++i) t.ds->Next();
    }
    EXPECT_TRUE(t.ds->ControlsDisabled());
    t.ds->Edit();
    t.ds->FieldByName("Name")->SetAsString("x");
    EXPECT_EQ(t.a.Take(), "");
    EXPECT_EQ(dataChanges, 0);
    EXPECT_EQ(stateChanges, 0);
    String heard = t.b.Take();
    EXPECT_EQ(heard.substr(0, 44), "scrolled 0, scrolled 0, scrolled 0, scrolled");
    EXPECT_NE(heard.find("editing, record nil, record Name"), String::npos);
    // Pending edits are still collected from every link.
    t.ds->Post();
    EXPECT_EQ(t.a.Take(), "update");
  }
  // One notification for the visual link, its window placed around record 13.
  EXPECT_EQ(t.a.Take(), "changed");
  EXPECT_EQ(dataChanges, 1);
  EXPECT_EQ(stateChanges, 0);
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(4, 10)));
  EXPECT_EQ(t.a.ActiveRecord(), 9);
  EXPECT_EQ(Join(t.b.Rows()), "10 11 12 13");
  // A state change while disabled is told at the end.
  t.ds->DisableControls();
  t.ds->Edit();
  EXPECT_EQ(t.a.Take(), "");
  t.ds->EnableControls();
  EXPECT_EQ(t.a.Take(), "editing, changed");
  EXPECT_EQ(stateChanges, 1);
  t.ds->Cancel();
  t.a.Take();
  // Opening and closing reach silenced links too: their fields go away.
  t.ds->DisableControls();
  t.ds->Close();
  EXPECT_EQ(t.a.Take(), "active");
  EXPECT_FALSE(t.a.Active());
  t.ds->EnableControls();
  EXPECT_EQ(t.a.Take(), "");
}

TEST(DataSetWindow, BufferCountChangesInsideHandlersDoNotReenter) {
  TTwoLinks t(100);
  t.ds->MoveBy(50);  // record 51
  // The grid's pattern: its data-changed handler sizes its window.
  Integer rows = 6;
  t.a.onChanged = [&] { t.a.SetBufferCount(rows); };
  t.ds->First();
  t.ds->MoveBy(50);
  t.a.Take();
  t.b.Take();
  t.ds->Refresh();
  EXPECT_EQ(t.a.Take(), "changed");
  EXPECT_EQ(t.a.maxNesting, 1);
  EXPECT_EQ(t.a.BufferCount(), 6);
  EXPECT_EQ(t.ds->BufferCount(), 6);
  EXPECT_EQ(t.a.RecordCount(), 6);
  EXPECT_EQ(t.a.Rows()[static_cast<std::size_t>(t.a.ActiveRecord())], 51);
  // B's rows survived the shrink; it hears nothing more than the refresh.
  EXPECT_EQ(t.b.Take(), "changed");
  EXPECT_EQ(t.b.Rows()[static_cast<std::size_t>(t.b.ActiveRecord())], 51);
  // Growing fetches records around the window without notifying A.
  rows = 20;
  t.ds->Refresh();
  EXPECT_EQ(t.a.Take(), "changed");
  EXPECT_EQ(t.a.RecordCount(), 20);
  EXPECT_EQ(t.a.maxNesting, 1);
  auto r = t.a.Rows();
  EXPECT_EQ(r[static_cast<std::size_t>(t.a.ActiveRecord())], 51);
  EXPECT_EQ(r.back() - r.front(), 19);
  // Growing near the end fills from above.
  t.a.onChanged = nullptr;
  t.a.SetBufferCount(4);
  t.ds->Last();
  t.a.SetBufferCount(15);
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(86, 15)));
  EXPECT_EQ(t.a.ActiveRecord(), 14);
  EXPECT_EQ(Join(t.b.Rows()), "97 98 99 100");
  EXPECT_EQ(ErrorOf([&] { t.a.SetBufferCount(0); }), "EDatabaseError: Invalid buffer count 0");
}

TEST(DataSetWindow, ProtectedFetchesShiftAndRestoreSilently) {
  TTwoLinks t(100);
  t.ds->MoveBy(20);  // record 21, buffers 12..21
  t.a.Take();
  t.b.Take();
  EXPECT_TRUE(t.a.FetchNextRecord());
  // The buffers shifted: A's rows read one record further on.
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(13, 10)));
  EXPECT_TRUE(t.a.FetchPriorRecord());
  EXPECT_EQ(Join(t.a.Rows()), Join(Range(12, 10)));
  EXPECT_EQ(t.Id(), 21);
  EXPECT_EQ(t.a.Take(), "");
  EXPECT_EQ(t.b.Take(), "");
  t.ds->Next();
  EXPECT_EQ(t.Id(), 22);
  // An edited record in the first buffer survives the round trip.
  t.ds->MoveBy(-9);
  ASSERT_EQ(t.ds->ActiveRecord(), 0);
  t.ds->Edit();
  t.ds->FieldByName("Name")->SetAsString("kept");
  EXPECT_TRUE(t.a.FetchNextRecord());
  EXPECT_TRUE(t.a.FetchPriorRecord());
  EXPECT_EQ(t.ds->FieldByName("Name")->AsString(), "kept");
  t.ds->Post();
  EXPECT_EQ(t.ds->FieldByName("Name")->AsString(), "kept");
  EXPECT_EQ(t.Id(), 13);
  // At the end there is nothing after the last buffer.
  t.ds->Last();
  EXPECT_FALSE(t.a.FetchNextRecord());
  EXPECT_EQ(t.Id(), 100);
}

TEST(DataLink, EditHonoursReadOnlyAndAutoEdit) {
  TTwoLinks t(5);
  t.b.SetReadOnly(true);
  EXPECT_FALSE(t.b.Edit());
  EXPECT_EQ(t.ds->State(), dsBrowse);
  t.src->SetAutoEdit(false);
  EXPECT_FALSE(t.a.Edit());
  EXPECT_EQ(t.ds->State(), dsBrowse);
  t.src->SetAutoEdit(true);
  EXPECT_TRUE(t.a.Edit());
  EXPECT_EQ(t.ds->State(), dsEdit);
  EXPECT_TRUE(t.a.Editing());
  EXPECT_FALSE(t.b.Editing());
  // Editing already: the source's AutoEdit no longer matters.
  t.src->SetAutoEdit(false);
  EXPECT_TRUE(t.a.Edit());
  t.ds->Cancel();
  // UpdateRecord asks one link, which does not hear its own field changes.
  t.a.Take();
  t.ds->Edit();
  t.a.Take();
  t.a.UpdateRecord();
  EXPECT_EQ(t.a.Take(), "update");
}

TEST(DataLink, BaseNotificationsChainAndFocus) {
  // The base DataSetChanged calls RecordChanged(nil); LayoutChanged calls
  // DataSetChanged.
  struct TBase : TDataLink {
    std::vector<String> log;
    void RecordChanged(TField* f) override { log.push_back(f ? f->FieldName() : "nil"); }
    void FocusControl(TField*& f) override {
      log.push_back("focus " + f->FieldName());
      f = nullptr;
    }
  } link;
  TTwoLinks t(5);
  TObjectPtr<TDataSource> second(Create<TDataSource>(nullptr));
  second->SetDataSet(t.ds.get());
  TRecLink after;
  link.SetDataSource(second.get());
  after.SetDataSource(second.get());
  after.Take();
  t.ds->Refresh();
  t.ds->FieldByName("ID")->SetDisplayLabel("Number");
  t.ds->FieldByName("ID")->FocusControl();
  EXPECT_EQ(link.log, (std::vector<String>{"nil", "nil", "focus ID"}));
  EXPECT_EQ(t.a.Take(), "changed, layout, focus ID");
  // A field cleared by one link reaches no further link.
  EXPECT_EQ(after.Take(), "changed, layout");
  link.SetDataSource(nullptr);
  after.SetDataSource(nullptr);
}

TEST(DataSource, StateEnabledAndFreeNotification) {
  TObjectPtr<TMemDataSet> ds(MakeNumbers(3));
  TObjectPtr<TDataSource> src(Create<TDataSource>(nullptr));
  std::vector<TDataSetState> states;
  src->OnStateChange = TNotifyEvent::FromCallable(
      [&](TObject* s) { states.push_back(static_cast<TDataSource*>(s)->State()); });
  TRecLink link;
  link.SetDataSource(src.get());
  src->SetDataSet(ds.get());
  EXPECT_EQ(src->State(), dsInactive);
  ds->Open();
  EXPECT_EQ(link.Take(), "active");
  ds->Edit();
  EXPECT_EQ(src->State(), dsEdit);
  ds->Cancel();
  src->SetEnabled(false);
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(src->State(), dsInactive);
  src->SetEnabled(true);
  EXPECT_EQ(link.Take(), "editing, record nil, editing, changed, active, active");
  EXPECT_EQ(states, (std::vector<TDataSetState>{dsBrowse, dsEdit, dsBrowse, dsInactive, dsBrowse}));
  // Freeing the dataset unhooks the source and deactivates the link.
  ds.reset();
  EXPECT_EQ(src->DataSet(), nullptr);
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(link.Take(), "active");
  link.SetDataSource(nullptr);
  // A fixed data source stays.
  TRecLink fixed;
  fixed.SetDataSource(src.get());
  fixed.SetDataSourceFixed(true);
  EXPECT_EQ(ErrorOf([&] { fixed.SetDataSource(nullptr); }),
            "EDatabaseError: The data source of this link cannot be changed");
  // Freeing the source detaches its links, fixed ones too.
  src.reset();
  EXPECT_EQ(fixed.DataSource(), nullptr);
}

TEST(DataSource, RepointingTellsEveryLinkOfTheNewDataset) {
  TObjectPtr<TMemDataSet> a(MakeNumbers(30));
  TObjectPtr<TMemDataSet> b(Create<TMemDataSet>(nullptr));
  b->FieldDefs()->Add("Code", ftString, 8);
  b->FieldDefs()->Add("Amount", ftFloat);
  b->CreateDataSet();
  for (Integer i = 1; i <= 3; ++i) b->AppendRecord({"C" + IntToStr(i), i * 1.5});
  b->First();
  a->Open();
  TObjectPtr<TDataSource> src(Create<TDataSource>(nullptr));
  Integer stateChanges = 0;
  src->OnStateChange = TNotifyEvent::FromCallable([&](TObject*) { ++stateChanges; });
  src->SetDataSet(a.get());
  TRecLink link;
  link.SetBufferCount(5);
  link.SetDataSource(src.get());
  a->MoveBy(19);
  EXPECT_EQ(link.Rows(), (std::vector<Integer>{16, 17, 18, 19, 20}));
  link.Take();
  stateChanges = 0;
  // Both open: the link stays active but hears that its dataset changed,
  // and its window starts over on the new records.
  src->SetDataSet(b.get());
  EXPECT_EQ(link.Take(), "active");
  EXPECT_TRUE(link.Active());
  EXPECT_EQ(link.DataSet(), b.get());
  EXPECT_EQ(link.RecordCount(), 3);
  EXPECT_EQ(link.FirstRecord(), 0);
  EXPECT_EQ(link.RecNos(), (std::vector<Integer>{1, 2, 3}));
  EXPECT_EQ(stateChanges, 0) << "the state stayed dsBrowse";
  // The old dataset goes without the link noticing.
  a.reset();
  EXPECT_EQ(link.Take(), "");
  EXPECT_EQ(b->FieldByName("Code")->AsString(), "C1");
  // To a closed dataset: one notification, and the link is inactive.
  TObjectPtr<TMemDataSet> closed(MakeNumbers(2));
  src->SetDataSet(closed.get());
  EXPECT_EQ(link.Take(), "active");
  EXPECT_FALSE(link.Active());
  EXPECT_EQ(stateChanges, 1);
  // From a closed dataset to an open one: the usual activation.
  src->SetDataSet(b.get());
  EXPECT_EQ(link.Take(), "active");
  EXPECT_TRUE(link.Active());
  link.SetDataSource(nullptr);
}

TEST(DataSetEvents, OrderAndErrorActions) {
  TTwoLinks t(5);
  std::vector<String> log;
  auto rec = [&](const char* name) {
    return TDataSetNotifyEvent::FromCallable([&log, name](TDataSet*) { log.push_back(name); });
  };
  t.ds->BeforeInsert = rec("BeforeInsert");
  t.ds->AfterInsert = rec("AfterInsert");
  t.ds->OnNewRecord = rec("OnNewRecord");
  t.ds->BeforePost = rec("BeforePost");
  t.ds->AfterPost = rec("AfterPost");
  t.ds->BeforeScroll = rec("BeforeScroll");
  t.ds->AfterScroll = rec("AfterScroll");
  t.ds->BeforeDelete = rec("BeforeDelete");
  t.ds->AfterDelete = rec("AfterDelete");
  t.ds->BeforeEdit = rec("BeforeEdit");
  t.ds->AfterEdit = rec("AfterEdit");
  t.ds->BeforeCancel = rec("BeforeCancel");
  t.ds->AfterCancel = rec("AfterCancel");
  t.ds->AppendRecord({6, "six"});
  EXPECT_EQ(log, (std::vector<String>{"BeforeInsert", "BeforeScroll", "OnNewRecord", "AfterInsert",
                                      "AfterScroll", "BeforePost", "AfterPost"}));
  log.clear();
  t.ds->Edit();
  t.ds->Cancel();
  t.ds->Delete();
  EXPECT_EQ(log,
            (std::vector<String>{"BeforeEdit", "AfterEdit", "BeforeCancel", "AfterCancel",
                                 "BeforeDelete", "BeforeScroll", "AfterDelete", "AfterScroll"}));
  // A failing post leaves the record in edit state with its values.
  t.ds->FieldByName("ID")->SetRequired(true);
  t.ds->Edit();
  t.ds->FieldByName("ID")->Clear();
  t.ds->FieldByName("Name")->SetAsString("pending");
  EXPECT_EQ(ErrorOf([&] { t.ds->Post(); }), "EDatabaseError: Field 'ID' must have a value");
  EXPECT_EQ(t.ds->State(), dsEdit);
  EXPECT_EQ(t.ds->FieldByName("Name")->AsString(), "pending");
  t.ds->Cancel();
  // OnPostError: daRetry runs the post again, daAbort ends silently.
  Integer attempts = 0;
  t.ds->OnPostError =
      TDataSetErrorEvent::FromCallable([&](TDataSet*, const Exception& e, TDataAction& action) {
        EXPECT_EQ(e.Message(), "rejected");
        action = ++attempts < 3 ? daRetry : daAbort;
      });
  t.ds->BeforePost = TDataSetNotifyEvent::FromCallable([&](TDataSet* ds) {
    if (ds->FieldByName("Name")->AsString() == "bad") throw EDatabaseError("rejected");
  });
  t.ds->Edit();
  t.ds->FieldByName("Name")->SetAsString("bad");
  // BeforePost runs once, outside the retried operation.
  EXPECT_EQ(ErrorOf([&] { t.ds->Post(); }), "EDatabaseError: rejected");
  EXPECT_EQ(attempts, 0);
  EXPECT_EQ(t.ds->State(), dsEdit);
  t.ds->Cancel();
}

namespace {
// Posts fail the first `failures` times.
class TFlakyDataSet : public TMemDataSet {
 public:
  Integer failures = 0;
  using TMemDataSet::TMemDataSet;

 protected:
  void InternalPost() override {
    Fail();
    TMemDataSet::InternalPost();
  }
  void InternalAddRecord(TRecordBuffer buffer, bool append) override {
    Fail();
    TMemDataSet::InternalAddRecord(buffer, append);
  }

 private:
  void Fail() {
    if (failures > 0) {
      --failures;
      throw EDatabaseError("rejected");
    }
  }
};
}  // namespace

TEST(DataSetEvents, PostErrorActions) {
  TObjectPtr<TFlakyDataSet> ds(Create<TFlakyDataSet>(nullptr));
  ds->FieldDefs()->Add("ID", ftInteger);
  ds->Open();
  Integer calls = 0;
  TDataAction answer = daRetry;
  ds->OnPostError =
      TDataSetErrorEvent::FromCallable([&](TDataSet*, const Exception& e, TDataAction& action) {
        EXPECT_EQ(e.Message(), "rejected");
        ++calls;
        action = answer;
      });
  ds->failures = 2;
  ds->AppendRecord({1});
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(ds->RecordCount(), 1);
  // daAbort: silent, the record stays in edit state with its value.
  answer = daAbort;
  ds->failures = 1;
  ds->Edit();
  ds->FieldByName("ID")->SetAsInteger(2);
  EXPECT_EQ(ErrorOf([&] { ds->Post(); }), "EAbort: Operation aborted");
  EXPECT_EQ(ds->State(), dsEdit);
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 2);
  // daFail: the error itself.
  answer = daFail;
  ds->failures = 1;
  EXPECT_EQ(ErrorOf([&] { ds->Post(); }), "EDatabaseError: rejected");
  ds->Post();
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 2);
  // A failed AppendRecord adds nothing.
  ds->failures = 1;
  EXPECT_EQ(ErrorOf([&] { ds->AppendRecord({3}); }), "EDatabaseError: rejected");
  EXPECT_EQ(ds->RecordCount(), 1);
  EXPECT_EQ(ds->State(), dsBrowse);
}

TEST(DataSetErrors, WrongStatesRaiseTheirMessages) {
  TObjectPtr<TMemDataSet> ds(MakeNumbers(5));
  EXPECT_EQ(ErrorOf([&] { ds->Next(); }),
            "EDatabaseError: Cannot perform this operation on a closed dataset");
  EXPECT_EQ(ErrorOf([&] { ds->Post(); }), "EDatabaseError: Dataset not in edit or insert mode");
  ds->Open();
  TField* id = ds->FieldByName("id");
  EXPECT_EQ(id->FieldName(), "ID");
  EXPECT_EQ(ErrorOf([&] { id->SetAsInteger(3); }),
            "EDatabaseError: Dataset not in edit or insert mode");
  EXPECT_EQ(ErrorOf([&] { ds->Post(); }), "EDatabaseError: Dataset not in edit or insert mode");
  EXPECT_EQ(ErrorOf([&] { ds->FieldByName("Nope"); }), "EDatabaseError: Field 'Nope' not found");
  EXPECT_EQ(ErrorOf([&] {
              ds->Open();
              ds->FieldDefs()->Add("ID", ftString);
            }),
            "EDatabaseError: Duplicate field name 'ID'");
  EXPECT_EQ(ErrorOf([&] { id->AsBoolean(); }),
            "EDatabaseError: Cannot access field 'ID' as type Boolean");
  id->SetReadOnly(true);
  ds->Edit();
  EXPECT_EQ(ErrorOf([&] { id->SetAsInteger(3); }), "EDatabaseError: Field 'ID' cannot be modified");
  ds->Cancel();
  id->SetReadOnly(false);
  // A bookmark of a deleted record.
  ds->Next();
  TBookmark second = ds->Bookmark();
  ds->Delete();
  EXPECT_FALSE(ds->BookmarkValid(second));
  EXPECT_EQ(ErrorOf([&] { ds->GotoBookmark(second); }), "EDatabaseError: Record not found");
  EXPECT_EQ(ds->FieldByName("ID")->AsInteger(), 3);
  EXPECT_EQ(ds->State(), dsBrowse);
  // Structure changes need a closed dataset.
  EXPECT_EQ(ErrorOf([&] { id->SetFieldName("Other"); }),
            "EDatabaseError: Cannot perform this operation on an open dataset");
  ds->Close();
  EXPECT_EQ(ErrorOf([&] { ds->FieldByName("ID"); }), "EDatabaseError: Field 'ID' not found");
  // Reading fields of a closed dataset gives nothing.
  ds->Open();
  TField* name = ds->FieldByName("Name");
  ds->Close();
  EXPECT_EQ(ds->FieldCount(), 0);
  (void)name;
  TObjectPtr<TMemDataSet> empty(MakeNumbers(0));
  empty->Open();
  EXPECT_EQ(ErrorOf([&] { empty->Delete(); }),
            "EDatabaseError: Cannot perform this operation on an empty dataset");
  empty->SetReadOnly(true);
  EXPECT_EQ(ErrorOf([&] { empty->Append(); }), "EDatabaseError: Cannot modify a read-only dataset");
}

namespace {

// A link that remembers the distances it was told.
class TTrackLink : public TRecLink {
 public:
  std::vector<Integer> distances;
  Integer changes = 0;

 protected:
  void DataSetScrolled(Integer distance) override { distances.push_back(distance); }
  void DataSetChanged() override { ++changes; }
};

}  // namespace

TEST(DataSetWindow, RandomOperationsKeepEveryWindowConsistent) {
  // A model of the records (their IDs in order) and the cursor, checked
  // against the dataset and three windows after every operation.
  TObjectPtr<TMemDataSet> ds(MakeNumbers(60));
  TObjectPtr<TDataSource> src(Create<TDataSource>(nullptr));
  src->SetDataSet(ds.get());
  TTrackLink links[3];
  Integer sizes[3] = {9, 4, 1};
  for (int i = 0; i < 3; ++i) {
    links[i].SetBufferCount(sizes[i]);
    links[i].SetVisualControl(i == 0);
    links[i].SetDataSource(src.get());
  }
  ds->Open();
  std::vector<Integer> model = Range(1, 60);
  Integer cursor = 0, nextId = 1000;
  std::mt19937 rng(12345);
  auto pick = [&](Integer lo, Integer hi) {
    return std::uniform_int_distribution<Integer>(lo, hi)(rng);
  };
  auto tops = [&] {
    std::vector<Integer> t;
    for (auto& l : links) t.push_back(l.RecordCount() ? ds->RecNo() - l.ActiveRecord() : 0);
    return t;
  };
  for (int step = 0; step < 3000; ++step) {
    std::vector<Integer> before = tops();
    for (auto& l : links) l.distances.clear();
    Integer op = pick(0, 15);
    Integer n = static_cast<Integer>(model.size());
    bool scroll = false;
    Integer oldCursor = cursor;
    switch (op) {
      case 0:
      case 1:
      case 2: {
        Integer k = pick(-12, 12);
        scroll = true;
        Integer moved = ds->MoveBy(k);
        Integer target = std::clamp(cursor + k, 0, std::max(n - 1, 0));
        ASSERT_EQ(moved, target - cursor);
        cursor = target;
        break;
      }
      case 3:
        ds->First();
        cursor = 0;
        break;
      case 4:
        ds->Last();
        cursor = std::max(n - 1, 0);
        break;
      case 5:
        if (n) {
          Integer r = pick(0, n - 1);
          ASSERT_TRUE(ds->Locate("ID", model[static_cast<std::size_t>(r)]));
          cursor = r;
        }
        break;
      case 6:
        if (n) {
          Integer r = pick(0, n - 1);
          ds->SetRecNo(r + 1);
          cursor = r;
        }
        break;
      case 7:
        ds->Insert();
        ds->FieldByName("ID")->SetAsInteger(nextId);
        ds->Post();
        model.insert(model.begin() + (n ? cursor : 0), nextId++);
        if (!n) cursor = 0;
        break;
      case 8:
        ds->AppendRecord({nextId});
        model.push_back(nextId++);
        cursor = static_cast<Integer>(model.size()) - 1;
        break;
      case 9:
        if (n > 1) {
          ds->Delete();
          model.erase(model.begin() + cursor);
          cursor = std::min(cursor, static_cast<Integer>(model.size()) - 1);
        }
        break;
      case 10:
        if (n) {
          ds->Edit();
          ds->FieldByName("ID")->SetAsInteger(nextId);
          ds->Post();
          model[static_cast<std::size_t>(cursor)] = nextId++;
        }
        break;
      case 11:
        ds->Refresh();
        break;
      case 12:
        links[pick(0, 2)].SetBufferCount(pick(1, 14));
        break;
      case 13: {
        TDisableControls guard(ds.get());
        Integer k = pick(-5, 5);
        Integer moved = ds->MoveBy(k);
        Integer target = std::clamp(cursor + k, 0, std::max(n - 1, 0));
        ASSERT_EQ(moved, target - cursor);
        cursor = target;
        break;
      }
      case 14:
        if (links[0].FetchNextRecord()) {
          ASSERT_TRUE(links[0].FetchPriorRecord());
        }
        break;
      case 15:
        ds->Insert();
        ds->Cancel();
        break;
    }
    n = static_cast<Integer>(model.size());
    SCOPED_TRACE("step " + IntToStr(step) + " op " + IntToStr(op));
    ds->CheckBufferInvariants();
    ASSERT_EQ(ds->RecordCount(), n);
    if (n == 0) continue;
    ASSERT_EQ(ds->RecNo(), cursor + 1);
    ASSERT_EQ(ds->FieldByName("ID")->AsInteger(), model[static_cast<std::size_t>(cursor)]);
    ASSERT_EQ(ds->BufferedRecords(), std::min(ds->BufferCount(), n));
    std::vector<Integer> after = tops();
    for (int i = 0; i < 3; ++i) {
      TTrackLink& l = links[i];
      Integer bc = l.BufferCount();
      ASSERT_EQ(l.RecordCount(), std::min(bc, n)) << i;
      std::vector<Integer> recnos = l.RecNos(), ids = l.Rows();
      for (std::size_t r = 0; r < recnos.size(); ++r) {
        ASSERT_EQ(recnos[r], recnos[0] + static_cast<Integer>(r)) << i;
        ASSERT_EQ(ids[r], model[static_cast<std::size_t>(recnos[r] - 1)]) << i;
      }
      ASSERT_GE(l.ActiveRecord(), 0);
      ASSERT_LT(l.ActiveRecord(), bc);
      if (scroll && cursor != oldCursor) {
        // The window moved by the minimum and said how far.
        Integer top = before[static_cast<std::size_t>(i)];
        Integer rec = cursor + 1;
        Integer expected = rec < top ? rec : rec >= top + bc ? rec - bc + 1 : top;
        ASSERT_EQ(after[static_cast<std::size_t>(i)], expected) << i;
        ASSERT_EQ(l.distances.size(), 1u) << i;
        ASSERT_EQ(l.distances[0], expected - top) << i;
      }
    }
  }
  for (auto& l : links) l.SetDataSource(nullptr);
}
