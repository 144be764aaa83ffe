// The standard designer: its values at creation, the rules tying Options to
// the line widths, the footer state and UniformRows, and its pixels (title
// lines and edges, group double lines, row lines, footers, selection), and
// its place as the default designer of grids without one.
#include <gtest/gtest.h>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/group_info.h"
#include "bv/paint_info.h"
#include "bv_std/standard_designer.h"
#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "std_designer_test_util.h"

namespace brevant::test {
namespace {

// A dataset that tells no record numbers.
class TNoRecNoDataSet : public TMemDataSet {
  BV_CLASS(TNoRecNoDataSet, TMemDataSet)
 public:
  using TMemDataSet::TMemDataSet;

 protected:
  Integer GetRecNo() override { return -1; }
};
BV_IMPLEMENT_CLASS(TNoRecNoDataSet, TMemDataSet)

TEST_F(StdDesignerTest, ValuesAtCreation) {
  TStandardDesigner d;
  EXPECT_EQ(d.VertLines(), 0);
  EXPECT_EQ(d.HorizLines(), 0);
  EXPECT_EQ(d.CellSeparator(), 0);
  EXPECT_EQ(d.RowSeparator(), clNone);
  EXPECT_EQ(d.TitleSeparator(), 0);
  EXPECT_EQ(d.MarginLines(), clSilver);
  EXPECT_EQ(d.BoundLines(), 0);
  EXPECT_EQ(d.FooterLines(), clGray);
  EXPECT_EQ(d.Options(), AllStdDsgnOptions());
  EXPECT_FALSE(d.FlatFooter());
  EXPECT_TRUE(d.DrawsPressedTitle());
  EXPECT_TRUE(d.UniformRows());
  EXPECT_EQ(d.VertLineWidth(), 3);
  EXPECT_EQ(d.RowLineWidth(), 1);
  EXPECT_EQ(d.InnerTitleLineWidth(), 0);
  EXPECT_EQ(d.OuterTitleLineWidth(), 3);
  EXPECT_EQ(d.InnerFooterLineWidth(), 4);
  EXPECT_EQ(d.OuterFooterLineWidth(), 3);
}

TEST_F(StdDesignerTest, OptionsDriveTheDesignerState) {
  struct TCase {
    const char* name;
    TStdDsgnOptions options;  // written
    TStdDsgnOptions stored;   // read back
    bool flatFooter, pressedDrawn;
    Integer rowLine;
  };
  const TStdDsgnOptions all = AllStdDsgnOptions();
  const TCase cases[] = {
      {"all", all, all, false, true, 1},
      {"no row lines adds the background option",
       all - TStdDsgnOptions{dgHorizLines, dgHorizBackground}, all - TStdDsgnOptions{dgHorizLines},
       false, true, 0},
      {"flat titles", all - TStdDsgnOptions{dg3DTitle}, all - TStdDsgnOptions{dg3DTitle}, false,
       false, 1},
      {"flat footers", all - TStdDsgnOptions{dg3DFooter}, all - TStdDsgnOptions{dg3DFooter}, true,
       true, 1},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TStandardDesigner d;
    d.SetOptions(c.options);
    EXPECT_EQ(d.Options(), c.stored);
    EXPECT_EQ(d.FlatFooter(), c.flatFooter);
    EXPECT_EQ(d.DrawsPressedTitle(), c.pressedDrawn);
    EXPECT_EQ(d.RowLineWidth(), c.rowLine);
    // Writing the footer state directly has no effect.
    d.SetFlatFooter(!c.flatFooter);
    EXPECT_EQ(d.FlatFooter(), c.flatFooter);
  }
}

TEST_F(StdDesignerTest, UniformRowsFollowBoundLines) {
  struct TCase {
    const char* name;
    TStdDsgnOptions drop;  // options removed from the full set
    TColor bound;
    bool uniform;
  };
  const TCase cases[] = {
      {"bound equal to row lines", {}, 0, true},
      {"bound differing", {}, clRed, false},
      {"bound differing, no bound option", {dgBoundLines}, clRed, true},
      {"no row lines", {dgHorizLines}, 0, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    TStandardDesigner d;
    d.SetOptions(AllStdDsgnOptions() - c.drop);
    d.SetBoundLines(c.bound);
    EXPECT_EQ(d.UniformRows(), c.uniform);
  }
}

TEST_F(StdDesignerTest, RemovingRowLinesRelaysOutTheGrid) {
  Make();
  const Integer height = grid->RowHeight();
  look->SetOptions(AllStdDsgnOptions() - TStdDsgnOptions{dgHorizLines});
  Pump();
  EXPECT_EQ(grid->RowHeight(), height - 1);
  // No row line any more: the cell's bottom pixel row shows the background.
  const TRect r = grid->RowRect(1);
  EXPECT_EQ(PixelAt(20, r.Bottom - 1), Rgb(clWindow));
}

TEST_F(StdDesignerTest, AssignCopiesTheOwnProperties) {
  TStandardDesigner source;
  source.SetTitleSeparator(clRed);
  source.SetMarginLines(clLime);
  source.SetBoundLines(clBlue);
  source.SetOptions(AllStdDsgnOptions() - TStdDsgnOptions{dg3DFooter, dgHorizLines});
  TStandardDesigner copy;
  copy.Assign(&source);
  EXPECT_EQ(copy.TitleSeparator(), clRed);
  EXPECT_EQ(copy.MarginLines(), clLime);
  EXPECT_EQ(copy.BoundLines(), clBlue);
  EXPECT_EQ(copy.Options(), source.Options());
  EXPECT_TRUE(copy.FlatFooter());
  EXPECT_EQ(copy.RowLineWidth(), 0);
}

TEST_F(StdDesignerTest, GroupDoubleLinesAndRowLines) {
  Make();
  const Integer right = GroupRight(0);
  const TRect row = grid->RowRect(1);
  const Integer y = row.Top + 3;
  EXPECT_EQ(PixelAt(right - 3, y), Rgb(0));
  EXPECT_EQ(PixelAt(right - 2, y), Rgb(clSilver));
  EXPECT_EQ(PixelAt(right - 1, y), Rgb(0));
  EXPECT_EQ(PixelAt(right - 4, y), Rgb(clWindow));
  // The row line along the bottom pixel row of each row.
  EXPECT_EQ(PixelAt(5, row.Bottom - 1), Rgb(0));
  EXPECT_EQ(PixelAt(5, row.Bottom - 2), Rgb(clWindow));

  // Margin lines off: the middle column shows the rows' background.
  look->SetOptions(AllStdDsgnOptions() - TStdDsgnOptions{dgMarginLines});
  Pump();
  EXPECT_EQ(PixelAt(right - 2, y), Rgb(clWindow));
  EXPECT_EQ(PixelAt(right - 1, y), Rgb(0));
  // MarginLines clNone with the option: nothing drawn in the middle.
  look->SetOptions(AllStdDsgnOptions());
  look->SetMarginLines(clNone);
  Pump();
  EXPECT_EQ(PixelAt(right - 2, y), Rgb(clWindow));
}

TEST_F(StdDesignerTest, RowLinesAboveOrBeneathTheGroupLines) {
  Make();
  look->SetHorizLines(clRed);
  look->SetVertLines(clBlue);
  Pump();
  const Integer right = GroupRight(0);
  const Integer y = grid->RowRect(1).Bottom - 1;
  // With the background option the group line crosses the row line.
  EXPECT_EQ(PixelAt(right - 1, y), Rgb(clBlue));
  look->SetOptions(AllStdDsgnOptions() - TStdDsgnOptions{dgHorizBackground});
  Pump();
  EXPECT_EQ(PixelAt(right - 1, y), Rgb(clRed));
}

TEST_F(StdDesignerTest, TitleLinesAndEdges) {
  Make();
  look->SetTitleColor(clYellow);
  Pump();
  const Integer t = grid->TitleHeight();
  EXPECT_EQ(PixelAt(20, t - 3), Rgb(0));
  EXPECT_EQ(PixelAt(20, t - 2), Rgb(clSilver));
  EXPECT_EQ(PixelAt(20, t - 1), Rgb(0));
  const Integer right = GroupRight(0);
  EXPECT_EQ(PixelAt(right - 2, 3), Rgb(clSilver));
  EXPECT_EQ(PixelAt(right - 3, 3), Rgb(0));
  TtlColumn* column = grid->Columns()->Items(1);
  const TRect title = column->TitleRect(false);
  // Raised: light top-left, dark bottom-right.
  EXPECT_EQ(PixelAt(title.Left + 4, title.Top), Rgb(clBtnHighlight));
  EXPECT_EQ(PixelAt(title.Left + 4, title.Bottom - 1), Rgb(clBtnShadow));
  // Pressed: sunken.
  grid->SetPressedTitle(column);
  Pump();
  EXPECT_EQ(PixelAt(title.Left + 4, title.Top), Rgb(clBtnShadow));
  EXPECT_EQ(PixelAt(title.Left + 4, title.Bottom - 1), Rgb(clBtnHighlight));
  // Flat titles: no edges, the pressed title inverted.
  look->SetOptions(AllStdDsgnOptions() - TStdDsgnOptions{dg3DTitle});
  grid->SetPressedTitle(nullptr);
  Pump();
  EXPECT_EQ(PixelAt(title.Left + 4, title.Top), Rgb(clYellow));
  grid->SetPressedTitle(column);
  Pump();
  EXPECT_EQ(PixelAt(title.Left + 4, title.Top), Rgb(clYellow) ^ 0xFFFFFF);
}

TEST_F(StdDesignerTest, FootersRaisedOrFlat) {
  Make(20, 4);
  grid->SetShowFooters(true);
  TtlColumn* totalled = grid->Columns()->Items(1);
  totalled->SetFooterText("T");
  look->SetFooterColor(clYellow);
  look->SetFooterLines(clMaroon);
  Pump();
  const Integer top = grid->DataAreaBottom() + grid->EmptyAreaHeight();
  const TRect cell = totalled->FooterRect(true, false);
  EXPECT_EQ(PixelAt(5, top), Rgb(clBtnHighlight));
  EXPECT_EQ(PixelAt(cell.Left + 2, cell.Top), Rgb(clBtnShadow));
  look->SetOptions(AllStdDsgnOptions() - TStdDsgnOptions{dg3DFooter});
  Pump();
  EXPECT_EQ(PixelAt(5, top), Rgb(clBtnFace));
  EXPECT_EQ(PixelAt(cell.Left + 2, cell.Top), Rgb(clMaroon));
  EXPECT_EQ(PixelAt(cell.Left + 2, cell.Top + 2), Rgb(clYellow));
}

TEST_F(StdDesignerTest, SelectionLooks) {
  struct TCase {
    const char* name;
    bool focused, rowFill;
    TColor current, other;  // cursor row: the current column, the other one
  };
  const TCase cases[] = {
      {"focused cell", true, false, clRed, clWindow},
      {"focused row", true, true, clRed, clBlue},
      {"hidden selection", false, true, clLime, clLime},
  };
  Make();
  TProbe* elsewhere = AddProbe(form, "Elsewhere", TRect(330, 10, 380, 40));
  look->SetFocusRectKind(frcNone);
  look->SetSelectedCell(clRed);
  look->SetSelectedRow(clBlue);
  look->SetHiddenSelection(clLime);
  ds->MoveBy(2);
  Pump();
  ASSERT_EQ(grid->CurrentColumn(), 0);
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    look->SetSelectedRowFill(c.rowFill);
    if (c.focused)
      grid->SetFocus();
    else
      elsewhere->SetFocus();
    grid->Invalidate();
    Pump();
    EXPECT_EQ(CellPixel(0, 2), Rgb(c.current));
    EXPECT_EQ(CellPixel(1, 2), Rgb(c.other));
    EXPECT_EQ(CellPixel(1, 3), Rgb(clWindow)) << "another row";
  }
}

// The strip numbers OnGetRowAttrs saw, by window row, in the last paint.
void WatchStrips(TDBTabulon* grid, std::vector<Integer>& strips) {
  grid->OnGetRowAttrs = TtlGetRowAttrsEvent::FromCallable([&strips](TObject*, TtlRowAttrs* attrs) {
    if (attrs->RowIndex >= static_cast<Integer>(strips.size()))
      strips.resize(static_cast<size_t>(attrs->RowIndex + 1), -1);
    strips[static_cast<size_t>(attrs->RowIndex)] = attrs->StripNo;
  });
}

TEST_F(StdDesignerTest, StripNumbersStayInRange) {
  std::vector<Integer> strips;
  Make(20, 5);
  grid->SetStripStep(3);
  WatchStrips(grid, strips);
  grid->Invalidate();
  Pump();
  EXPECT_EQ(strips, (std::vector<Integer>{1, 2, 3, 1, 2}));
  // An inserted row has no record number: strip 0, the others keep theirs.
  ds->MoveBy(1);
  ds->Insert();
  grid->Invalidate();
  Pump();
  ASSERT_EQ(grid->CursorRow(), 1);
  EXPECT_EQ(strips[1], 0);
  EXPECT_EQ(strips[0], 1);
  EXPECT_EQ(strips[2], 2);
  ds->Cancel();

  // A dataset without record numbers: every row gets strip 0.
  strips.clear();
  Build(20, 5, Create<TNoRecNoDataSet>(nullptr));
  grid->SetDesigner(look = Create<TStandardDesigner>(form));
  FitRows(5);
  grid->SetStripStep(3);
  WatchStrips(grid, strips);
  grid->Invalidate();
  Pump();
  EXPECT_EQ(strips, (std::vector<Integer>(5, 0)));
}

TEST_F(StdDesignerTest, DefaultDesignerOfGridsWithoutOne) {
  Make();
  grid->SetDesigner(nullptr);
  StartStandardDesignerUnit();
  Pump();
  ASSERT_NE(TryAs<TStandardDesigner>(DefaultDesigner()), nullptr);
  EXPECT_EQ(grid->Designer(), nullptr);
  // The grid paints through it: the group's double line shows.
  const Integer y = grid->RowRect(1).Top + 3;
  EXPECT_EQ(PixelAt(GroupRight(0) - 2, y), Rgb(clSilver));
  SetDefaultDesigner(nullptr);
}

}  // namespace
}  // namespace brevant::test
