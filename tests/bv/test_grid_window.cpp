// The record window: rows, cursor row, scroll bars, scroll messages, wheel,
// resizing, dataset notifications and the repaint after a scroll.
#include <functional>

#include "bv/selection.h"
#include "controls/wincore.h"
#include "db/field.h"
#include "graphics/canvas.h"
#include "grid_test_util.h"

namespace brevant::test {
namespace {

using dbtest::Range;

TScrollInfo VBar(TDBTabulon* grid) {
  TScrollInfo info;
  info.Mask = SIF_ALL;
  GetScrollInfo(grid->WindowHandle(), SB_VERT, info);
  return info;
}

TEST_F(GridTest, WindowFollowsOpenCloseAndSize) {
  Build(100, 10);
  EXPECT_EQ(grid->FitRowCount(), 10);
  EXPECT_EQ(grid->RowCount(), 10);
  EXPECT_TRUE(grid->ShowsRows());
  EXPECT_TRUE(grid->MoreRecords());
  EXPECT_EQ(grid->DataLink()->BufferCount(), 10);
  EXPECT_EQ(grid->ActiveRow(), 0);
  EXPECT_EQ(grid->CursorRow(), 0);
  EXPECT_EQ(WindowIDs(), Range(1, 10));
  EXPECT_EQ(grid->DataAreaBottom(), grid->TitleAreaHeight() + 10 * grid->RowHeight());
  EXPECT_EQ(grid->EmptyAreaHeight(), 0);

  // Growing by half a row fits no new row; growing by two does.
  grid->SetClientHeight(grid->ClientHeight() + grid->RowHeight() / 2);
  Pump();
  EXPECT_EQ(grid->RowCount(), 10);
  EXPECT_EQ(grid->EmptyAreaHeight(), grid->RowHeight() / 2);
  FitRows(12);
  EXPECT_EQ(grid->RowCount(), 12);
  EXPECT_EQ(grid->DataLink()->BufferCount(), 12);
  EXPECT_EQ(WindowIDs(), Range(1, 12));

  // Smaller than titles plus footers: still one row.
  grid->SetShowFooters(true);
  grid->SetClientHeight(3);
  Pump();
  EXPECT_EQ(grid->FitRowCount(), 1);
  EXPECT_EQ(grid->EmptyAreaHeight(), 0);

  // Closing shows titles only; the vertical bar disappears.
  FitRows(10);
  ds->Close();
  Pump();
  EXPECT_FALSE(grid->ShowsRows());
  EXPECT_EQ(grid->RowCount(), 1);
  EXPECT_EQ(VBar(grid).Max, 1);
  ds->Open();
  Pump();
  EXPECT_TRUE(grid->ShowsRows());
  EXPECT_EQ(grid->RowCount(), 10);
}

TEST_F(GridTest, EmptyDatasetShowsOneEmptyRowOrNone) {
  Build(0, 10);
  const Integer buffers = grid->DataLink()->BufferCount();
  EXPECT_EQ(grid->RowCount(), 1);
  EXPECT_TRUE(grid->ShowsRows());
  EXPECT_FALSE(grid->MoreRecords());
  grid->SetShowEmptyRow(false);
  EXPECT_FALSE(grid->ShowsRows());
  EXPECT_EQ(grid->RowCount(), 1);
  EXPECT_EQ(grid->DataLink()->BufferCount(), buffers);
  EXPECT_EQ(grid->DataAreaBottom(), grid->TitleAreaHeight());

  // The first appended record becomes the window.
  grid->SetShowEmptyRow(true);
  ds->AppendRecord({1, "one"});
  Pump();
  EXPECT_EQ(grid->RowCount(), 1);
  EXPECT_EQ(grid->DataLink()->BufferCount(), 10);
  EXPECT_EQ(WindowIDs(), Range(1, 1));
}

TEST_F(GridTest, SequencedScrollBar) {
  Build(100, 10);
  TScrollInfo bar = VBar(grid);
  EXPECT_EQ(bar.Min, 1);
  EXPECT_EQ(bar.Max, 91);
  EXPECT_EQ(bar.Page, 1u);
  EXPECT_EQ(bar.Pos, 1);
  ds->MoveBy(25);  // record 26 in the last row: the top row is record 17
  Pump();
  EXPECT_EQ(WindowIDs(), Range(17, 10));
  EXPECT_EQ(VBar(grid).Pos, 17);
  ds->Last();
  Pump();
  EXPECT_EQ(VBar(grid).Pos, 91);

  // As many records as rows: the bar is hidden (range 1..1).
  Build(10, 10);
  EXPECT_TRUE(grid->MoreRecords() == false);
  bar = VBar(grid);
  EXPECT_EQ(bar.Min, 1);
  EXPECT_EQ(bar.Max, 1);
}

TEST_F(GridTest, UnsequencedScrollBarShowsEnds) {
  Build(50, 10, Create<TUnsequencedDataSet>(nullptr));
  EXPECT_EQ(VBar(grid).Min, 0);
  EXPECT_EQ(VBar(grid).Max, 4);
  EXPECT_EQ(VBar(grid).Pos, 0);
  ds->MoveBy(5);
  Pump();
  EXPECT_EQ(VBar(grid).Pos, 2);
  ds->Last();
  Pump();
  EXPECT_EQ(VBar(grid).Pos, 4);
  // Thumb positions: 2 does nothing, 0 goes first, 3 pages down.
  VScroll(SB_THUMBTRACK, 2);
  EXPECT_EQ(CurrentID(), 50);
  VScroll(SB_THUMBTRACK, 0);
  EXPECT_EQ(CurrentID(), 1);
  VScroll(SB_THUMBTRACK, 3);
  EXPECT_EQ(CurrentID(), 11);
  VScroll(SB_THUMBTRACK, 4);
  EXPECT_EQ(CurrentID(), 50);
  VScroll(SB_THUMBTRACK, 1);
  EXPECT_EQ(CurrentID(), 40);
}

TEST_F(GridTest, ScrollCodesMoveTheRecord) {
  Build(100, 10);
  ds->Next();  // current record in the second row
  Pump();
  EXPECT_EQ(grid->ActiveRow(), 1);
  // Each step runs on the window the step before left; 0 means "not
  // checked".
  struct TStep {
    const char* name;   // what the code does here
    Integer code;       // the scroll code sent
    Integer current;    // the current record's ID afterwards
    Integer top;        // the top row's ID afterwards
    Integer activeRow;  // the active row afterwards, -1 not checked
  };
  const TStep steps[] = {
      {"line down: the record below the tenth row", SB_LINEDOWN, 11, 2, 9},
      {"line up: the record above the top row", SB_LINEUP, 1, 1, -1},
      {"page down", SB_PAGEDOWN, 11, 0, -1},
      {"page up", SB_PAGEUP, 1, 0, -1},
      {"bottom", SB_BOTTOM, 100, 91, -1},
      {"top", SB_TOP, 1, 0, -1},
      {"end of scrolling moves nothing", SB_ENDSCROLL, 1, 0, -1},
  };
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.name);
    VScroll(s.code);
    EXPECT_EQ(CurrentID(), s.current);
    if (s.top != 0) {
      EXPECT_EQ(WindowIDs(), Range(s.top, 10));
    }
    if (s.activeRow >= 0) {
      EXPECT_EQ(grid->ActiveRow(), s.activeRow);
    }
  }
  EXPECT_EQ(grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0), 1);
}

TEST_F(GridTest, ThumbTrackPutsRecordInTopRow) {
  Build(100, 10);
  auto track = [&](Integer t) {
    TScrollInfo info;
    info.Mask = SIF_POS;  // the track position follows the position when not dragging
    info.Pos = t;
    SetScrollInfo(grid->WindowHandle(), SB_VERT, info, false);
    VScroll(SB_THUMBTRACK, t);
  };
  // Each step tracks from where the step before left the window.
  struct TStep {
    const char* name;  // where the thumb goes
    Integer pos;       // the track position
    Integer top;       // the top row's ID afterwards, 0 not checked
    Integer current;   // the current record's ID afterwards, 0 not checked
  };
  const TStep steps[] = {
      {"forwards: the record lands in the top row", 40, 40, 0},
      {"backwards: the record lands in the top row as well", 20, 20, 0},
      {"already the top row: nothing moves", 20, 20, 0},
      {"the first record", 1, 0, 1},
      {"the last record", 100, 0, 100},
      {"beyond the end: the last record", 500, 0, 100},
  };
  for (const TStep& s : steps) {
    SCOPED_TRACE(s.name);
    track(s.pos);
    if (s.top != 0) {
      EXPECT_EQ(WindowIDs().front(), s.top);
    }
    if (s.current != 0) {
      EXPECT_EQ(CurrentID(), s.current);
    }
  }
}

TEST_F(GridTest, WheelMovesOneRecordPerNotch) {
  Build(100, 10);
  TPoint at = grid->ClientToScreen({20, 40});
  Offscreen().Wheel(at, -360);  // a fast turn still counts as one notch
  Pump();
  EXPECT_EQ(CurrentID(), 11);
  EXPECT_EQ(WindowIDs(), Range(2, 10));
  Offscreen().Wheel(at, 120);
  Pump();
  EXPECT_EQ(CurrentID(), 1);
  EXPECT_EQ(WindowIDs(), Range(1, 10));
}

TEST_F(GridTest, DatasetOperationsKeepTheWindow) {
  Build(30, 10);
  ds->MoveBy(12);  // record 13 in the last row
  Pump();
  EXPECT_EQ(WindowIDs(), Range(4, 10));
  EXPECT_EQ(grid->CursorRow(), 9);
  ds->Delete();
  Pump();
  EXPECT_EQ(CurrentID(), 14);
  EXPECT_EQ(grid->RowCount(), 10);
  EXPECT_EQ(grid->CursorRow(), grid->ActiveRow());
  ds->Insert();
  Pump();
  EXPECT_EQ(grid->RowCount(), 10);
  EXPECT_EQ(grid->CursorRow(), grid->ActiveRow());
  ds->Cancel();
  Pump();
  EXPECT_EQ(CurrentID(), 14);
  ds->Edit();
  ds->FieldByName("Name")->SetAsString("changed");
  ds->Post();
  Pump();
  EXPECT_EQ(ds->FieldByName("Name")->AsString(), "changed");
  ds->Last();
  Pump();
  EXPECT_FALSE(grid->MoreRecords());
  EXPECT_EQ(grid->CursorRow(), 9);
}

TEST_F(GridTest, RefreshDataKeepsWindowAndCurrentRecord) {
  Build(200, 10);
  ds->MoveBy(60);  // record 61 in the last row
  ds->MoveBy(-5);  // record 56 in row 4
  Pump();
  const std::vector<Integer> before = WindowIDs();
  EXPECT_EQ(grid->ActiveRow(), 4);
  grid->RefreshData();
  Pump();
  EXPECT_EQ(WindowIDs(), before);
  EXPECT_EQ(CurrentID(), 56);
  EXPECT_EQ(grid->ActiveRow(), 4);
  EXPECT_EQ(grid->FreezeCount(), 0);
}

TEST_F(GridTest, InsensitiveCursorKeepsItsRecord) {
  Build(100, 10);
  ds->MoveBy(3);
  Pump();
  grid->SetCursorType(gctInsensitiveBmrk);
  EXPECT_EQ(grid->CursorRow(), -1);  // the shot was released
  grid->SetCursorType(gctSensitive);
  grid->SetCursorType(gctInsensitiveBmrk);
  grid->CurrentRecShot()->CaptureCursor(false);  // record 4 is the grid's current record
  EXPECT_EQ(grid->CursorRow(), 3);
  VScroll(SB_PAGEDOWN);  // the window leaves the record
  EXPECT_EQ(grid->CursorRow(), -1);
  VScroll(SB_TOP);
  EXPECT_EQ(grid->CursorRow(), 3);
  VScroll(SB_LINEDOWN);  // one row: known cursor rows follow by arithmetic
  EXPECT_EQ(grid->CursorRow(), 2);
  ds->MoveBy(-30);  // back to the top: record 4 in row 3 again
  Pump();
  EXPECT_EQ(grid->CursorRow(), 3);
  EXPECT_EQ(CurrentID(), 1);
  // The highlight follows the record, not the dataset's cursor.
  EXPECT_EQ(PixelAt(5, grid->RowRect(3).Top + 2), ColorToRGB(clHighlight));
  EXPECT_EQ(PixelAt(5, grid->RowRect(grid->ActiveRow()).Top + 2), ColorToRGB(clWindow));
}

TEST_F(GridTest, OneRowScrollRepaintsOnlyWhatCameIntoView) {
  Build(100, 10);
  ds->MoveBy(9);  // the last row
  Pump();
  grid->Clips.clear();
  ds->Next();  // one row down: rows 8 and 9 are new, row 8 was current
  Pump();
  EXPECT_EQ(grid->TakePaintedRows(), (std::vector<Integer>{8, 9}));
  // The moved pixels equal a full repaint.
  std::vector<TColor> moved;
  for (Integer row = 0; row < 10; ++row) moved.push_back(PixelAt(4, grid->RowRect(row).Top + 6));
  grid->Invalidate();
  Pump();
  for (Integer row = 0; row < 10; ++row)
    EXPECT_EQ(PixelAt(4, grid->RowRect(row).Top + 6), moved[static_cast<size_t>(row)]) << row;

  // Rows that are not uniform: with 4 rows the whole data area repaints.
  designer->SetUniform(false);
  FitRows(4);
  grid->Clips.clear();
  ds->Next();
  Pump();
  EXPECT_EQ(grid->TakePaintedRows(), (std::vector<Integer>{0, 1, 2, 3}));
  // ... and with 10 rows the edge row first, then the two new ones.
  FitRows(10);
  ds->Last();
  ds->MoveBy(-9);
  Pump();
  grid->Clips.clear();
  ds->Prior();
  Pump();
  EXPECT_EQ(grid->TakePaintedRows(), (std::vector<Integer>{9, 0, 1}));
}

TEST_F(GridTest, HorizontalScrollMovesGroups) {
  Build(10, 5);
  for (Integer i = 0; i < 6; ++i) grid->Columns()->Add()->SetFieldName("Name");
  for (Integer i = 0; i < grid->Columns()->Count(); ++i) grid->Columns()->Items(i)->SetWidth(100);
  Pump();
  // 8 groups of 100: the first shown group goes up to the first group from
  // which the rest fits the client width.
  const Integer last = (800 - grid->ClientWidth() + 99) / 100;
  EXPECT_EQ(grid->Columns()->ScrollPositions(), last + 1);
  auto hscroll = [&](Integer code, Integer pos = 0) {
    grid->Perform(WM_HSCROLL, static_cast<WPARAM>(code) | (static_cast<WPARAM>(pos) << 16), 0);
    return grid->Columns()->FirstShownGroup();
  };
  EXPECT_EQ(hscroll(SB_LINERIGHT), 1);
  EXPECT_EQ(hscroll(SB_PAGERIGHT), 2);
  EXPECT_EQ(hscroll(SB_LINELEFT), 1);
  EXPECT_EQ(hscroll(SB_RIGHT), last);  // clamped to the last scroll position
  EXPECT_EQ(hscroll(SB_LINERIGHT), last);
  EXPECT_EQ(hscroll(SB_LEFT), 0);
  EXPECT_EQ(hscroll(SB_LINELEFT), 0);
  EXPECT_EQ(hscroll(SB_THUMBPOSITION, 3), 3);
  EXPECT_EQ(hscroll(SB_THUMBTRACK, 1), 3);
  TScrollInfo info;
  info.Mask = SIF_ALL;
  GetScrollInfo(grid->WindowHandle(), SB_HORZ, info);
  EXPECT_EQ(info.Max, last);
  EXPECT_EQ(info.Pos, 3);

  // Hiding the columns on the right while scrolled there brings the window
  // back to groups that exist.
  hscroll(SB_RIGHT);
  grid->Columns()->BeginUpdate();
  for (Integer i = 2; i < grid->Columns()->Count(); ++i)
    grid->Columns()->Items(i)->SetVisible(false);
  grid->Columns()->EndUpdate();
  EXPECT_EQ(grid->Columns()->FirstShownGroup(), 0);
  EXPECT_EQ(grid->Columns()->ScrollPositions(), 1);
  Pump();
  EXPECT_EQ(grid->Columns()->GroupScreenLeft(1), 100);
}

TEST_F(GridTest, PaintsTitlesAndCurrentRow) {
  Build(20, 5);
  ds->Next();
  Pump();
  EXPECT_EQ(PixelAt(3, 2), ColorToRGB(clBtnFace));                           // title band
  EXPECT_EQ(PixelAt(3, grid->RowRect(1).Top + 1), ColorToRGB(clHighlight));  // current row
  EXPECT_EQ(PixelAt(3, grid->RowRect(2).Top + 1), ColorToRGB(clWindow));     // another row
  // Beyond the columns.
  EXPECT_EQ(PixelAt(grid->ClientWidth() - 1, grid->RowRect(2).Top + 1), ColorToRGB(clWindow));
}

}  // namespace
}  // namespace brevant::test

namespace brevant::test {
namespace {

// The vertical bar driven by the mouse: arrow, track and thumb.
TEST_F(GridTest, ScrollBarByMouse) {
  Build(100, 10);
  const TRect bar = GetScrollBarRect(grid->WindowHandle(), SB_VERT);
  ASSERT_GT(bar.Height(), 0);
  const TPoint origin = grid->ClientToScreen({0, 0});
  auto at = [&](Integer x, Integer y) { return TPoint{origin.X + x, origin.Y + y}; };
  const Integer midX = (bar.Left + bar.Right) / 2;
  const Integer arrow = bar.Width();  // square arrow buttons

  Offscreen().Click(at(midX, bar.Bottom - arrow / 2));  // the down arrow
  Pump();
  EXPECT_EQ(CurrentID(), 11);
  EXPECT_EQ(WindowIDs().front(), 2);
  Offscreen().Click(at(midX, bar.Bottom - arrow - 3));  // the track below the thumb
  Pump();
  EXPECT_EQ(WindowIDs().front(), 12);
  Offscreen().Click(at(midX, bar.Top + arrow / 2));  // the up arrow
  Pump();
  EXPECT_EQ(WindowIDs().front(), 11);

  // Dragging the thumb to the middle of the track shows the middle records.
  ds->First();
  Pump();
  const Integer thumbY = bar.Top + arrow + 3;
  Offscreen().MouseDown(at(midX, thumbY));
  Offscreen().MouseMove(at(midX, (bar.Top + bar.Bottom) / 2));
  Pump();
  const Integer top = WindowIDs().front();
  EXPECT_GT(top, 35);
  EXPECT_LT(top, 60);
  Offscreen().MouseUp(at(midX, (bar.Top + bar.Bottom) / 2));
  Pump();
  EXPECT_EQ(WindowIDs().front(), top);
  TScrollInfo info;
  info.Mask = SIF_POS;
  GetScrollInfo(grid->WindowHandle(), SB_VERT, info);
  EXPECT_EQ(info.Pos, top);
}

}  // namespace
}  // namespace brevant::test

namespace brevant::test {
namespace {

// The row window's check names each broken rule: the window is corrupted
// from outside, one way per row, and recomputing it mends it again.
TEST_F(GridTest, RowWindowCheckNamesTheBrokenRule) {
  struct TCorruption {
    const char* name;                          // what is broken
    std::function<void(TDBTabulon*)> corrupt;  // breaks it
    const char* rule;                          // the rule the check must name
  };
  const TCorruption rows[] = {
      {"cursor beyond the window", [](TDBTabulon* g) { g->SetCursorRowDirect(g->RowCount()); },
       "CursorRow is a window row or -1"},
      {"cursor away from the active record",
       [](TDBTabulon* g) { g->SetCursorRowDirect(g->ActiveRow() + 1); },
       "a sensitive cursor shows the active record"},
      {"link moved behind the grid's back",
       [](TDBTabulon* g) { g->DataLink()->SetActiveRecord(g->ActiveRow() + 1); },
       "ActiveRow is the link's active record"},
      {"link buffers resized behind the grid's back",
       [](TDBTabulon* g) { g->DataLink()->SetBufferCount(g->FitRowCount() - 2); },
       "the link buffers as many records as rows fit"},
      {"a frozen grid breaks nothing", [](TDBTabulon* g) { g->FreezeGrid(); }, ""},
  };
  for (const TCorruption& row : rows) {
    SCOPED_TRACE(row.name);
    Build(30, 6);
    ds->MoveBy(3);
    Pump();
    ASSERT_EQ(grid->RowWindowFault(), "");
    EXPECT_NO_THROW(grid->CheckRowWindowInvariants());
    row.corrupt(grid);
    const String fault = grid->RowWindowFault();
    if (*row.rule == 0) {
      EXPECT_EQ(fault, "");
    } else {
      EXPECT_NE(fault.find(row.rule), String::npos) << fault;
      EXPECT_THROW(grid->CheckRowWindowInvariants(), EInvalidOperation);
    }
    while (grid->FreezeCount() > 0) grid->UnfreezeGrid(false);
    grid->DataLink()->SetActiveRecord(grid->ActiveRow());
    grid->UpdateRowWindow();
    EXPECT_EQ(grid->RowWindowFault(), "");
  }
}

// A random walk of scroll messages, wheel turns, resizes and dataset
// operations; after each step the window is checked against the dataset:
// consecutive records, as many rows as fit or records exist, the cursor on
// the current record, the bar on the top row's record number, and after a
// resize whether records follow.
TEST_F(GridTest, RandomWalkKeepsTheWindowConsistent) {
  for (bool insensitive : {false, true}) {
    SCOPED_TRACE(insensitive ? "bookmark cursor" : "sensitive cursor");
    Build(60, 8);
    if (insensitive) grid->SetCursorType(gctInsensitiveBmrk);
    std::uint32_t seed = insensitive ? 777 : 12345;
    auto next = [&seed](Integer n) {
      seed = seed * 1664525u + 1013904223u;
      return static_cast<Integer>((seed >> 8) % static_cast<std::uint32_t>(n));
    };
    const Integer codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP, SB_PAGEDOWN, SB_TOP, SB_BOTTOM};
    for (Integer step = 0; step < 400; ++step) {
      const Integer action = next(12);
      String what;
      if (action < 4) {
        what = "scroll";
        VScroll(codes[next(6)]);
      } else if (action == 4) {
        what = "wheel";
        Offscreen().Wheel(grid->ClientToScreen({20, 30}), next(2) ? 120 : -120);
        Pump();
      } else if (action == 5) {
        what = "resize";
        FitRows(1 + next(12));
      } else if (action == 6) {
        what = "moveby";
        ds->MoveBy(next(41) - 20);
        Pump();
      } else if (action == 7 && ds->RecordCount() > 5) {
        what = "delete";
        ds->Delete();
        Pump();
      } else if (action == 8) {
        what = "append";
        const Integer id = 1000 + step;
        ds->AppendRecord({id, "new"});
        Pump();
      } else if (action == 10) {
        what = "bands";  // titles and footers come and go
        grid->SetShowTitles(next(2) == 0);
        grid->SetShowFooters(next(2) == 0);
        Pump();
      } else if (action == 11) {
        what = "lines";
        grid->SetRowLines(1 + next(2));
        Pump();
      } else if (insensitive && next(2)) {
        what = "capture";  // the grid's current record becomes the dataset's
        grid->CurrentRecShot()->CaptureCursor(false);
        Pump();
      } else {
        what = "refresh";
        grid->RefreshData();
        Pump();
      }
      SCOPED_TRACE(what + " at step " + IntToStr(step));
      ASSERT_EQ(grid->RowWindowFault(), "");
      const Integer records = ds->RecordCount();
      ASSERT_EQ(grid->RowCount(), std::min(grid->FitRowCount(), records));
      ASSERT_EQ(grid->ActiveRow(), grid->DataLink()->ActiveRecord());
      ASSERT_EQ(grid->FreezeCount(), 0);
      if (!insensitive) {
        ASSERT_EQ(grid->CursorRow(), grid->ActiveRow());
      } else {
        // The highlighted row is the one holding the shot's record, if any.
        Integer expected = -1;
        const TBookmark& held = grid->CurrentRecShot()->Bookmark();
        if (!held.empty() && ds->BookmarkValid(held)) {
          TDataLinkEx* link = grid->DataLink();
          for (Integer row = 0; row < grid->RowCount() && expected < 0; ++row) {
            link->SetActiveRecord(row);
            if (ds->CompareBookmarks(ds->Bookmark(), held) == 0) expected = row;
          }
          link->SetActiveRecord(grid->ActiveRow());
        }
        ASSERT_EQ(grid->CursorRow(), expected);
      }
      // The rows show consecutive records and the current one is in its row.
      const Integer top = ds->RecNo() - grid->ActiveRow();
      ASSERT_GE(top, 1);
      ASSERT_LE(top + grid->RowCount() - 1, records);
      TDataLinkEx* link = grid->DataLink();
      for (Integer row = 0; row < grid->RowCount(); ++row) {
        link->SetActiveRecord(row);
        ASSERT_EQ(ds->RecNo(), top + row) << "row " << row;
      }
      link->SetActiveRecord(grid->ActiveRow());
      // Whether records follow the window is learnt when the window is
      // recomputed (scrolls leave it for the scroll bar's one use).
      // (A resize to the same height recomputes nothing: recompute here.)
      if (what == "resize") {
        grid->UpdateRowWindow();
        ASSERT_EQ(grid->MoreRecords(), top + grid->RowCount() - 1 < records);
      }
      TScrollInfo bar;
      bar.Mask = SIF_ALL;
      GetScrollInfo(grid->WindowHandle(), SB_VERT, bar);
      if (records > grid->RowCount()) {
        ASSERT_EQ(bar.Max, records - grid->RowCount() + 1);
        ASSERT_EQ(bar.Pos, top);
      }
      // What the partial repaints left on screen equals a full repaint
      // (when titles, rows and footers fit: a single row taller than the
      // room between the bands overlaps the footer band).
      const bool fits = grid->DataAreaBottom() + grid->FooterAreaHeight() <= grid->ClientHeight();
      if (step % 5 == 0 && fits) {
        // "x,y" of the sampled pixels that differ.
        auto sample = [&] {
          std::vector<std::pair<TPoint, TColor>> pixels;
          for (Integer y = 0; y < grid->ClientHeight(); y += 3)
            for (Integer x : {3, 30, 70}) pixels.push_back({TPoint{x, y}, PixelAt(x, y)});
          return pixels;
        };
        const auto shown = sample();
        grid->Invalidate();
        Pump();
        const auto full = sample();
        String differ;
        for (size_t k = 0; k < full.size(); ++k)
          if (full[k].second != shown[k].second)
            differ += Format(" %d,%d", {full[k].first.X, full[k].first.Y});
        ASSERT_EQ(differ, "") << "rows of " << grid->RowHeight() << " px from "
                              << grid->TitleAreaHeight();
      }
    }
  }
}

}  // namespace
}  // namespace brevant::test
