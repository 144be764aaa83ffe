// The standard look at exact pixels: a golden image of the full-HD
// scenario's grid (and the same pixels after scrolls, an edit and narrow
// repaints), titles of multi-line groups, sort markers, footer markers,
// owner-drawn cells and row colours from OnGetRowAttrs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "bench/grid_scenario_data.h"
#include "bv/paint_info.h"
#include "bv/selection.h"
#include "bv/vision_painter.h"
#include "bv_env/env_unit.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/imagelist.h"
#include "rtl/scope.h"
#include "std_designer_test_util.h"

namespace brevant::test {
namespace {

class StdPixelsTest : public StdDesignerTest {
 protected:
  std::vector<TColor> Shot(const TRect& r) {
    std::vector<TColor> v;
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) v.push_back(PixelAt(x, y));
    return v;
  }
  // Pixels of r that are not `colour`.
  Integer Ink(const TRect& r, TColor colour) {
    Integer n = 0;
    for (TColor c : Shot(r)) n += c != Rgb(colour);
    return n;
  }
};

// ---- the scenario's grid ----

class ScenarioLookTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    form->SetBounds(0, 0, 1960, 400);
    table = scenario::MakeTable(1000);
    src = Create<TDataSource>(form);
    look = Create<TStandardDesigner>(form);
    checks = Create<TCheckBoxVision>(form);
    grid = Create<TPaintLogGrid>(form);
    grid->SetParent(form);
    scenario::SetUpGrid(grid, src, table.get(), look, checks, 1920, 300);
    form->Show();
    Pump();
  }
  void TearDown() override {
    TObject::Free(grid);
    grid = nullptr;
    ControlsTest::TearDown();
    table.reset();
  }
  // The whole grid window, frame and scroll bar included, as 0x00RRGGBB.
  std::vector<std::uint32_t> Window() {
    TCanvas* dc = GetWindowDC(grid->Handle());
    TScopeGuard release([&] { ReleaseDC(grid->Handle(), dc); });
    std::vector<std::uint32_t> v;
    for (Integer y = 0; y < grid->Height(); ++y)
      for (Integer x = 0; x < grid->Width(); ++x) {
        const TColor c = dc->Pixels(x, y);
        v.push_back(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
      }
    return v;
  }
  void LineDown(Integer times) {
    for (Integer i = 0; i < times; ++i) {
      grid->Perform(WM_VSCROLL, SB_LINEDOWN, 0);
      grid->Update();
    }
  }

  TObjectPtr<TMemDataSet> table;
  TDataSource* src = nullptr;
  TStandardDesigner* look = nullptr;
  TCheckBoxVision* checks = nullptr;
  TPaintLogGrid* grid = nullptr;
};

TEST_F(ScenarioLookTest, GoldenLookIsPixelExact) {
  const Integer w = grid->Width(), h = grid->Height();
  const std::vector<std::uint32_t> shot = Window();
  const String golden = String(BV_STD_GOLDEN_DIR) + "/standard_designer.png";
  if (std::getenv("BV_UPDATE_GOLDEN")) {
    TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
    b->SetSize(w, h);
    for (Integer y = 0; y < h; ++y) std::copy_n(&shot[size_t(y * w)], w, b->ScanLine(y));
    b->SaveToPngFile(golden);
  }
  TObjectPtr<TBitmap> expected = MakeObject<TBitmap>();
  ASSERT_NO_THROW(expected->LoadFromFile(golden))
      << "missing " << golden << " (BV_UPDATE_GOLDEN=1 writes it)";
  ASSERT_EQ(expected->Width(), w);
  ASSERT_EQ(expected->Height(), h);
  std::vector<std::uint32_t> stored;
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) stored.push_back(expected->ScanLine(y)[x] & 0xFFFFFF);
  EXPECT_TRUE(stored == shot) << "the standard look differs from " << golden;
}

// Scrolls move the window contents and paint only the rows that came into
// view; an edit repaints its row alone; after all of it the pixels are
// those of a full repaint.
TEST_F(ScenarioLookTest, NarrowRepaintsEqualAFullRepaint) {
  ASSERT_TRUE(look->UniformRows());
  const Integer rows = grid->RowCount();
  ASSERT_GE(rows, 8);
  LineDown(rows - 1);  // the cursor reaches the last row: no scroll yet
  grid->TakePaintedRows();
  LineDown(3);
  for (Integer row : grid->TakePaintedRows()) EXPECT_GE(row, rows - 2) << "scrolled rows";
  table->Edit();
  Pump();
  grid->TakePaintedRows();
  table->FieldByName("Status")->SetAsString("edited");
  Pump();
  EXPECT_EQ(grid->TakePaintedRows(), std::vector<Integer>{grid->CursorRow()}) << "edited row";
  table->Post();
  Pump();
  grid->Perform(WM_VSCROLL, SB_LINEUP, 0);
  grid->Update();
  const std::vector<std::uint32_t> narrow = Window();
  grid->Invalidate();
  Pump();
  EXPECT_TRUE(Window() == narrow);
}

// Each one-row scroll paints once, only the rows that came into view, and
// leaves the pixels of a full repaint, down and up at several places.
TEST_F(ScenarioLookTest, OneRowScrollsPaintTheNewRowsOnce) {
  const Integer rows = grid->RowCount();
  LineDown(rows - 1);  // the cursor reaches the last row
  struct TStep {
    const char* name;  // where the scroll happens
    Word code;         // the scroll bar's code
    Integer times;     // repeated, the last one checked
  };
  const TStep steps[] = {
      {"the first scroll down", SB_LINEDOWN, 1},
      {"a scroll down further on", SB_LINEDOWN, 7},
      {"a scroll up", SB_LINEUP, 1},
      {"a scroll down after one up", SB_LINEDOWN, 1},
  };
  for (const TStep& step : steps) {
    for (Integer i = 0; i < step.times; ++i) {
      grid->Clips.clear();
      grid->Perform(WM_VSCROLL, step.code, 0);
      grid->Update();
    }
    const std::size_t paints = grid->Clips.size();
    const std::vector<Integer> painted = grid->TakePaintedRows();
    if (step.code == SB_LINEDOWN) {
      EXPECT_EQ(paints, 1u) << step.name;
      EXPECT_EQ(painted, (std::vector<Integer>{rows - 2, rows - 1})) << step.name;
    } else {
      EXPECT_TRUE(std::find(painted.begin(), painted.end(), 0) != painted.end()) << step.name;
    }
    const std::vector<std::uint32_t> narrow = Window();
    grid->Invalidate();
    Pump();
    EXPECT_TRUE(Window() == narrow) << step.name;
  }
}

// ---- titles ----

TEST_F(StdPixelsTest, TitlesOfAMultiLineGroup) {
  Make(20, 4);
  TtlColumns* columns = grid->Columns();
  const Integer titleHeight = grid->TitleHeight();
  const Integer rowHeight = grid->RowHeight();
  TtlColumn* upper = columns->Items(0);
  TtlColumn* lower = columns->Items(1);
  columns->MoveColumn(lower, upper->GroupInfo(), 1, 0);
  look->SetTitleSeparator(clRed);
  look->SetCellSeparator(clBlue);
  Pump();
  ASSERT_EQ(lower->Line(), 1);
  EXPECT_GT(grid->TitleHeight(), titleHeight);
  EXPECT_GT(grid->RowHeight(), rowHeight);
  const TRect top = upper->TitleRect(false), bottom = lower->TitleRect(false);
  ASSERT_LT(top.Bottom, bottom.Top + 1);
  const Integer x = top.Left + 6;
  EXPECT_EQ(PixelAt(x, bottom.Top - 1), Rgb(clRed)) << "separator between the title lines";
  for (const TRect& r : {top, bottom}) {
    EXPECT_EQ(PixelAt(x, r.Top), Rgb(clBtnHighlight)) << "raised edge, top";
    EXPECT_EQ(PixelAt(x, r.Bottom - 1), Rgb(clBtnShadow)) << "raised edge, bottom";
    EXPECT_GT(Ink(TRect(r.Left + 2, r.Top + 2, r.Right - 2, r.Bottom - 2), clBtnFace), 0)
        << "each line shows its caption";
  }
  // In the rows the lines are parted by the cell separator, each showing
  // its own field.
  ASSERT_GE(grid->RowCount(), 1);
  const TRect cell = lower->CellRect(0, false, true);
  EXPECT_EQ(PixelAt(x, cell.Top - 1), Rgb(clBlue));
  EXPECT_GT(Ink(TRect(cell.Left + 1, cell.Top + 1, cell.Right - 1, cell.Bottom - 1), clWindow), 0);
  // Without 3D titles the two captions stand on the flat title colour.
  look->SetOptions(AllStdDsgnOptions() - TStdDsgnOptions{dg3DTitle});
  Pump();
  EXPECT_EQ(PixelAt(x, bottom.Top), Rgb(clBtnFace));
  EXPECT_EQ(PixelAt(x, bottom.Top - 1), Rgb(clRed));
}

TEST_F(StdPixelsTest, SortMarkersShowAtTheTitlesRightEnd) {
  Make(20, 4);
  TtlColumn* column = grid->Columns()->Items(1);
  const TRect title = column->TitleRect(false);
  auto shotOf = [&](TtlTitleState state) {
    column->SetTitleState(state);
    grid->InvalidateTitles();
    Pump();
    return Shot(title);
  };
  // Without the environment's images a sorted title looks like any other.
  const std::vector<TColor> plain = shotOf(tsSortedNone);
  EXPECT_EQ(shotOf(tsSortedUp), plain);

  InitEnvironment();
  TScopeGuard done([] { DoneEnvironment(); });
  const TRect marker(
      title.Right - look->TitleMargins()->RightMargin() - TitleStateImages()->Width(), title.Top,
      title.Right, title.Bottom);
  auto markerOf = [&](TtlTitleState state) {
    column->SetTitleState(state);
    grid->InvalidateTitles();
    Pump();
    return Shot(marker);
  };
  const std::vector<TColor> none = markerOf(tsSortedNone);
  const std::vector<TColor> up = markerOf(tsSortedUp);
  const std::vector<TColor> down = markerOf(tsSortedDown);
  EXPECT_NE(up, none) << "the up marker in its place";
  EXPECT_NE(down, none) << "the down marker in its place";
  EXPECT_NE(up, down);
}

// ---- footers ----

TEST_F(StdPixelsTest, FooterMarkersShowBeforeTheText) {
  Make(20, 4);
  grid->SetShowFooters(true);
  TtlColumn* column = grid->Columns()->Items(1);
  column->SetFooterText("42");
  Pump();
  const TRect footer = column->FooterRect(true, false);
  const std::vector<TColor> plain = Shot(footer);
  column->SetFooterState(fsSum);  // a new state clears the text: the application sets it
  column->SetFooterText("42");
  Pump();
  ASSERT_EQ(column->FooterState(), fsSum);
  ASSERT_NE(column->FooterDisplayText(), "42");
  const std::vector<TColor> marked = Shot(footer);
  EXPECT_NE(marked, plain);
  EXPECT_GT(Ink(footer, clBtnFace), 0);
  column->SetOptionsVisual(column->OptionsVisual() + TtlColumnOptionsVisual{cvoNoFooterMarker});
  Pump();
  EXPECT_EQ(Shot(footer), plain);
}

// ---- cells ----

TEST_F(StdPixelsTest, OwnerDrawnCellsDrawThemselves) {
  Make(20, 4);
  TtlColumn* drawn = grid->Columns()->Items(1);
  drawn->SetOptionsVisual(drawn->OptionsVisual() + TtlColumnOptionsVisual{cvoOwnerDraw});
  std::vector<TtlColumn*> asked;
  grid->OnDrawCell = TtlDrawCellEvent::FromCallable([&](TObject*, TtlColumn* c, TtlPainter* p) {
    asked.push_back(c);
    // Odd records: a cell of its own; even records: the default drawing.
    if (ds->FieldByName("ID")->AsInteger() % 2 == 1) {
      p->Canvas()->Brush()->SetStyle(bsSolid);
      p->Canvas()->Brush()->SetColor(clFuchsia);
      p->Canvas()->FillRect(p->OuterRect());
      p->SetDefaultDraw(false);
    }
  });
  look->SetSelectedCellFill(false);
  look->SetFocusRectKind(frcNone);
  grid->Invalidate();
  Pump();
  asked.clear();
  grid->Invalidate();
  Pump();
  for (TtlColumn* c : asked) EXPECT_EQ(c, drawn);
  EXPECT_EQ(asked.size(), size_t(grid->RowCount())) << "once per cell of the column";
  const TRect own = drawn->CellRect(0, false, false);    // record 1
  const TRect plain = drawn->CellRect(1, false, false);  // record 2
  auto area = [](const TRect& r) { return r.Width() * r.Height(); };
  EXPECT_EQ(Ink(own, clFuchsia), 0) << "the handler's cell, no text over it";
  EXPECT_EQ(Ink(plain, clFuchsia), area(plain)) << "a default cell has no fuchsia";
  EXPECT_GT(Ink(plain, clWindow), 0) << "the default cell shows its text";
  const TRect other = grid->Columns()->Items(0)->CellRect(0, false, false);
  EXPECT_EQ(Ink(other, clFuchsia), area(other)) << "other columns are not owner-drawn";
}

// Selection and focus in the combinations the designer offers: the
// current cell and row, focused or not, hidden or kept, filled or
// ultra-soft, with and without an explicitly selected record.
TEST_F(StdPixelsTest, SelectionAndFocusCombinations) {
  struct TCase {
    const char* name;
    bool focused, hide, rowFill, softCell, pick;  // pick: record 4 explicitly selected
    TColor cell, other, picked;  // the current cell, the cursor row's other cell, row 3
  };
  const TColor soft = SoftColor(clWindow);
  const TCase cases[] = {
      {"focused cell", true, true, false, false, false, clRed, clWindow, clWindow},
      {"focused row", true, true, true, false, false, clRed, clBlue, clWindow},
      {"hidden row", false, true, true, false, false, clLime, clLime, clWindow},
      {"hidden cell", false, true, false, false, false, clLime, clWindow, clWindow},
      {"kept when unfocused", false, false, true, false, false, clRed, clBlue, clWindow},
      {"ultra-soft cell", true, true, false, true, false, soft, clWindow, clWindow},
      {"picked record, focused", true, true, false, false, true, clWindow, clWindow, clBlue},
      {"picked record, unfocused", false, true, true, false, true, clWindow, clWindow, clBlue},
  };
  Make(20, 5);
  TProbe* elsewhere = AddProbe(form, "Elsewhere", TRect(330, 10, 380, 40));
  look->SetFocusRectKind(frcNone);
  look->SetSelectedCell(clRed);
  look->SetSelectedRow(clBlue);
  look->SetHiddenSelection(clLime);
  ASSERT_EQ(grid->CurrentColumn(), 0);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    grid->Selection()->Clear(false, false);
    ds->First();
    if (c.pick) {
      ds->MoveBy(3);
      grid->Selection()->SelectCurrent(true, false);
      ds->MoveBy(-1);
    } else {
      ds->MoveBy(2);
    }
    grid->SetHideSelection(c.hide);
    look->SetSelectedRowFill(c.rowFill);
    look->SetUltraSoftSelectedCell(c.softCell);
    if (c.focused)
      grid->SetFocus();
    else
      elsewhere->SetFocus();
    grid->Invalidate();
    Pump();
    ASSERT_EQ(grid->CursorRow(), 2);
    EXPECT_EQ(CellPixel(0, 2), Rgb(c.cell));
    EXPECT_EQ(CellPixel(1, 2), Rgb(c.other));
    EXPECT_EQ(CellPixel(0, 3), Rgb(c.picked));
    EXPECT_EQ(CellPixel(1, 3), Rgb(c.picked));
    EXPECT_EQ(CellPixel(0, 1), Rgb(clWindow)) << "a row neither current nor picked";
  }
}

// Strips coloured by OnGetRowAttrs without the selected look's fill keep
// the colours of fore-colour-filled columns; a selected row shows the strip
// colour instead of the selection's.
TEST_F(StdPixelsTest, StripColoursFromRowAttrs) {
  Make(20, 5);
  TtlColumn* fore = grid->Columns()->Items(1);
  fore->SetColor(clAqua);
  fore->SetOptionsVisual(fore->OptionsVisual() + TtlColumnOptionsVisual{cvoForeColorFill});
  look->SetSelectedRow(clBlue);
  look->SetFocusRectKind(frcNone);
  look->SetSelectedCellFill(false);
  grid->SetStripStep(2);
  grid->OnGetRowAttrs = TtlGetRowAttrsEvent::FromCallable([](TObject*, TtlRowAttrs* attrs) {
    if (attrs->StripNo == 1) {
      attrs->Color = clYellow;
      attrs->Fill = false;
    }
  });
  ds->MoveBy(2);  // record 3, window row 2: selected, then left
  grid->Selection()->SelectCurrent(true, true);
  ds->MoveBy(1);
  grid->Invalidate();
  Pump();
  struct TRow {
    const char* name;
    Integer row;
    TColor first, fore;  // the ID column and the fore-colour-filled column
  };
  for (const TRow& r : {TRow{"strip 1", 0, clYellow, clAqua}, TRow{"strip 2", 1, clWindow, clAqua},
                        TRow{"strip 1, selected", 2, clYellow, clAqua},
                        TRow{"strip 2, current", 3, clWindow, clAqua}}) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(CellPixel(0, r.row), Rgb(r.first));
    EXPECT_EQ(CellPixel(1, r.row), Rgb(r.fore));
  }
  // Without the handler the selected row shows the selection's colour.
  grid->OnGetRowAttrs = {};
  grid->Invalidate();
  Pump();
  EXPECT_EQ(CellPixel(0, 2), Rgb(clBlue));
  EXPECT_EQ(CellPixel(1, 2), Rgb(clBlue));
  EXPECT_EQ(CellPixel(0, 0), Rgb(clWindow));
}

}  // namespace
}  // namespace brevant::test
