// A grid painted through the base designer, checked at exact pixels: the
// title, rows and footer bands and their surfaces, selection fills, every
// focus rectangle kind, the inverted pressed title, which cells reach the
// visions, a paint that fails half-way, and focus changes repainting the
// cursor row.
#include <algorithm>
#include <functional>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/selection.h"
#include "controls/wincore.h"
#include "designer_test_util.h"
#include "graphics/bitmap.h"

namespace brevant::test {
namespace {

TEST_F(DesignerTest, TitleAndRowBandsCoverThePaintedGroups) {
  Make(20, 6);
  look->SetTitleColor(clYellow);
  Pump();
  const Integer groupsRight = grid->Columns()->TotalWidth();
  ASSERT_LT(groupsRight + 4, grid->ClientWidth());
  EXPECT_EQ(PixelAt(1, 1), Rgb(clYellow));
  EXPECT_EQ(PixelAt(groupsRight - 1, grid->TitleHeight() - 1), Rgb(clYellow));
  // Right of the last group the grid's colour shows, in every band.
  EXPECT_EQ(PixelAt(groupsRight + 2, 1), Rgb(clWindow));
  EXPECT_EQ(PixelAt(groupsRight + 2, grid->RowRect(2).Top + 2), Rgb(clWindow));
  // Rows without attributes show the background.
  EXPECT_EQ(CellPixel(1, 3), Rgb(clWindow));
  // A column's own colour fills its cells, a fixed column takes FixedColor.
  grid->Columns()->Items(1)->SetColor(clAqua);
  look->SetFixedColor(clFuchsia);
  grid->Columns()->Items(0)->SetFixed(cfLeft);
  Pump();
  EXPECT_EQ(CellPixel(1, 3), Rgb(clAqua));
  EXPECT_EQ(CellPixel(0, 3), Rgb(clFuchsia));
}

TEST_F(DesignerTest, RowColourAndForeColorFillColumns) {
  Make(20, 6);
  TtlColumn* fore = grid->Columns()->Items(1);
  fore->SetColor(clAqua);
  fore->SetOptionsVisual({cvoForeColorFill});
  look->SetSelectedCellFill(false);
  grid->OnGetRowAttrs = TtlGetRowAttrsEvent::FromCallable([](TObject*, TtlRowAttrs* attrs) {
    if (attrs->RowIndex == 3) attrs->Color = clYellow;
    if (attrs->RowIndex == 4) {
      attrs->Color = clYellow;
      attrs->Fill = true;  // a filled (selected) row covers the column too
    }
  });
  grid->Invalidate();
  Pump();
  EXPECT_EQ(CellPixel(0, 3), Rgb(clYellow));
  EXPECT_EQ(CellPixel(1, 3), Rgb(clAqua));
  EXPECT_EQ(CellPixel(0, 4), Rgb(clYellow));
  EXPECT_EQ(CellPixel(1, 4), Rgb(clYellow));
}

struct TFillCase {
  const char* name;
  bool focused, hideSelection, rowFill, cellFill, softRow, softCell;
  TColor currentCell, otherCell;  // cursor row: the current column, the other one
};

TEST_F(DesignerTest, SelectionFills) {
  const TColor soft = SoftColor(clWindow);
  const TFillCase cases[] = {
      {"cell", true, true, false, true, false, false, clRed, clWindow},
      {"row", true, true, true, false, false, false, clBlue, clBlue},
      {"row and cell", true, true, true, true, false, false, clRed, clBlue},
      {"hidden selection", false, true, true, true, false, false, clLime, clLime},
      {"selection not hidden", false, false, true, true, false, false, clRed, clBlue},
      {"ultra-soft row", true, true, true, false, true, false, soft, soft},
      {"ultra-soft cell", true, true, false, true, false, true, soft, clWindow},
  };
  Make(20, 6);
  TProbe* elsewhere = AddProbe(form, "Elsewhere", TRect(330, 10, 380, 40));
  look->SetFocusRectKind(frcNone);
  look->SetSelectedCell(clRed);
  look->SetSelectedRow(clBlue);
  look->SetHiddenSelection(clLime);
  ds->MoveBy(2);
  Pump();
  ASSERT_EQ(grid->CursorRow(), 2);
  ASSERT_EQ(grid->CurrentColumn(), 0);
  for (const TFillCase& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.focused)
      grid->SetFocus();
    else
      elsewhere->SetFocus();
    grid->SetHideSelection(c.hideSelection);
    look->SetSelectedRowFill(c.rowFill);
    look->SetSelectedCellFill(c.cellFill);
    look->SetUltraSoftSelectedRow(c.softRow);
    look->SetUltraSoftSelectedCell(c.softCell);
    Pump();
    EXPECT_EQ(CellPixel(0, 2), Rgb(c.currentCell));
    EXPECT_EQ(CellPixel(1, 2), Rgb(c.otherCell));
    EXPECT_EQ(CellPixel(0, 3), Rgb(clWindow)) << "another row";
  }
}

// Whether the four pixels from (x, y) on alternate between a and b.
::testing::AssertionResult Dotted(Integer x, Integer y, bool horizontal, TColor a, TColor b,
                                  const std::function<TColor(Integer, Integer)>& pixel) {
  TColor first = pixel(x, y);
  if (first != a && first != b) return ::testing::AssertionFailure() << "pixel " << first;
  for (Integer i = 1; i < 4; ++i) {
    const TColor p = horizontal ? pixel(x + i, y) : pixel(x, y + i);
    const TColor want = (i % 2) ? (first == a ? b : a) : first;
    if (p != want) return ::testing::AssertionFailure() << "pixel " << i << " is " << p;
  }
  return ::testing::AssertionSuccess();
}

struct TFocusCase {
  TtlFocusRectKind kind;
  bool focused;
  bool cellFrame, rowFrame;
};

TEST_F(DesignerTest, FocusRectangleKinds) {
  const TFocusCase cases[] = {
      {frcNone, true, false, false},
      {frcCell, true, true, false},
      {frcCell, false, false, false},
      {frcPersistentCell, false, true, false},
      {frcRow, true, false, true},
      {frcRow, false, false, false},
      {frcPersistentRow, false, false, true},
      {frcPersistentRow, true, false, true},
  };
  Make(20, 6);
  TProbe* elsewhere = AddProbe(form, "Elsewhere", TRect(330, 10, 380, 40));
  look->SetSelectedCellFill(false);
  ds->MoveBy(1);
  Pump();
  const Integer row = grid->CursorRow();
  auto pixel = [this](Integer x, Integer y) { return PixelAt(x, y); };
  const TColor hl = Rgb(clHighlight), hlInverse = hl ^ 0xFFFFFF;
  const TColor back = Rgb(clWindow), backInverse = back ^ 0xFFFFFF;
  for (const TFocusCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << int(c.kind) << (c.focused ? " focused" : ""));
    if (c.focused)
      grid->SetFocus();
    else
      elsewhere->SetFocus();
    look->SetFocusRectKind(c.kind);
    Pump();
    // The cell frame: the inner rectangle of the current cell framed in the
    // highlight colour, dotted over. Checked away from the row frame.
    const TRect cell = grid->Columns()->Items(0)->CellRect(row, false, false);
    if (c.cellFrame) {
      EXPECT_TRUE(Dotted(cell.Left + 2, cell.Top, true, hl, hlInverse, pixel));
      EXPECT_TRUE(Dotted(cell.Right - 1, cell.Top + 2, false, hl, hlInverse, pixel));
      EXPECT_TRUE(Dotted(cell.Left + 2, cell.Bottom - 1, true, hl, hlInverse, pixel));
      EXPECT_EQ(PixelAt(cell.Left + 1, cell.Top + 1), back) << "inside the frame";
    } else {
      EXPECT_EQ(PixelAt(cell.Right - 1, cell.Top + 3), back);
      EXPECT_EQ(PixelAt(cell.Right - 1, cell.Top + 4), back);
    }
    // The row frame: a dotted rectangle from the grid's left edge across
    // the groups, less the row line. Checked in the other column.
    const TRect r = grid->RowRect(row);
    const Integer right = grid->Columns()->TotalWidth() - look->VertLineWidth();
    const Integer inOther = grid->Columns()->Items(1)->CellRect(row, false, false).Left + 3;
    if (c.rowFrame) {
      EXPECT_TRUE(Dotted(inOther, r.Top, true, back, backInverse, pixel));
      EXPECT_TRUE(Dotted(0, r.Top + 3, false, back, backInverse, pixel));
      EXPECT_TRUE(Dotted(right - 1, r.Top + 3, false, back, backInverse, pixel));
      EXPECT_EQ(PixelAt(right, r.Top + 3), back) << "the frame ends at the groups";
    } else {
      EXPECT_EQ(PixelAt(right - 1, r.Top + 3), back);
      EXPECT_EQ(PixelAt(right - 1, r.Top + 4), back);
      EXPECT_EQ(PixelAt(inOther, r.Top), back);
      EXPECT_EQ(PixelAt(inOther + 1, r.Top), back);
    }
  }
}

TEST_F(DesignerTest, FooterBandAndCells) {
  Make(20, 4);
  grid->SetShowFooters(true);
  TtlColumn* totalled = grid->Columns()->Items(1);
  totalled->SetFooterText("T");
  look->SetFooterSurfaceColor(clAqua);
  look->SetFooterColor(clYellow);
  look->SetFooterLines(clMaroon);
  Pump();
  const Integer top = grid->DataAreaBottom() + grid->EmptyAreaHeight();
  const Integer bottom = top + grid->FooterHeight();
  const Integer right = grid->Columns()->TotalWidth() - 1;
  const TRect plain = grid->Columns()->Items(0)->FooterRect(true, false);
  const TRect cell = totalled->FooterRect(true, false);
  // Raised band: light top and left, dark right and bottom.
  EXPECT_EQ(PixelAt(0, top), Rgb(clBtnHighlight));
  EXPECT_EQ(PixelAt(0, top + 3), Rgb(clBtnHighlight));
  EXPECT_EQ(PixelAt(5, top), Rgb(clBtnHighlight));
  EXPECT_EQ(PixelAt(right, top + 3), Rgb(clBtnShadow));
  EXPECT_EQ(PixelAt(5, bottom - 1), Rgb(clBtnShadow));
  EXPECT_EQ(PixelAt(right + 2, top + 3), Rgb(clWindow)) << "right of the groups";
  // A footer without state or text: the surface only.
  EXPECT_EQ(PixelAt(plain.Left + 2, plain.Top + 2), Rgb(clAqua));
  EXPECT_EQ(PixelAt(plain.Left + 2, plain.Top), Rgb(clAqua));
  // A footer with text: filled and sunken.
  EXPECT_EQ(PixelAt(cell.Left + 2, cell.Top + 2), Rgb(clYellow));
  EXPECT_EQ(PixelAt(cell.Left + 2, cell.Top), Rgb(clBtnShadow));
  EXPECT_EQ(PixelAt(cell.Left, cell.Top + 2), Rgb(clBtnShadow));
  EXPECT_EQ(PixelAt(cell.Left + 2, cell.Bottom - 1), Rgb(clBtnHighlight));
  // The column's own footer colour wins.
  totalled->FooterAttrs()->SetBackColor(clLime);
  Pump();
  EXPECT_EQ(PixelAt(cell.Left + 2, cell.Top + 2), Rgb(clLime));

  // Flat: no band frame, cells framed in FooterLines.
  look->SetFlatFooter(true);
  Pump();
  EXPECT_EQ(PixelAt(0, top), Rgb(clAqua));
  EXPECT_EQ(PixelAt(right, top + 3), Rgb(clAqua));
  EXPECT_EQ(PixelAt(cell.Left + 2, cell.Top), Rgb(clMaroon));
  EXPECT_EQ(PixelAt(cell.Left, cell.Top + 2), Rgb(clMaroon));
  EXPECT_EQ(PixelAt(cell.Left + 2, cell.Top + 2), Rgb(clLime));
}

TEST_F(DesignerTest, PressedTitleIsInvertedWhenTheDesignerDoesNotDrawIt) {
  Make(20, 4);
  auto* lines = Create<TLinesDesigner>(form);
  lines->SetTitleColor(clYellow);
  grid->SetDesigner(lines);
  TtlColumn* column = grid->Columns()->Items(1);
  const TRect title = column->TitleRect(false);
  grid->SetPressedTitle(column);
  Pump();
  EXPECT_EQ(PixelAt(title.Left + 1, title.Top + 1), Rgb(clYellow)) << "drawn by the designer";
  lines->SetPressedTitleDrawn(false);
  grid->Invalidate();
  Pump();
  EXPECT_EQ(PixelAt(title.Left + 1, title.Top + 1), Rgb(clYellow) ^ 0xFFFFFF);
  EXPECT_EQ(PixelAt(title.Left - 2, title.Top + 1), Rgb(clYellow)) << "another title";
  grid->SetPressedTitle(nullptr);
  Pump();
  EXPECT_EQ(PixelAt(title.Left + 1, title.Top + 1), Rgb(clYellow));
}

TEST_F(DesignerTest, APressedTitleDrawnByItsDesignerMovesItsCaptionByOnePixel) {
  Make(20, 4);
  look->SetTitleColor(clYellow);
  TtlColumn* column = grid->Columns()->Items(1);
  const TRect title = column->TitleRect(false);
  // The top-left corner of the caption's ink inside the title.
  auto inkCorner = [&] {
    TPoint corner{title.Right, title.Bottom};
    for (Integer y = title.Top; y < title.Bottom; ++y)
      for (Integer x = title.Left; x < title.Right; ++x)
        if (PixelAt(x, y) != Rgb(clYellow)) {
          corner.X = std::min(corner.X, x);
          corner.Y = std::min(corner.Y, y);
        }
    return corner;
  };
  Pump();
  const TPoint released = inkCorner();
  ASSERT_LT(released.X, title.Right) << "the caption leaves ink";
  grid->SetPressedTitle(column);
  Pump();
  EXPECT_EQ(inkCorner(), (TPoint{released.X + 1, released.Y + 1}));
  grid->SetPressedTitle(nullptr);
  Pump();
  EXPECT_EQ(inkCorner(), released);
}

TEST_F(DesignerTest, VisionsDrawOnlyThePaintedCells) {
  Make(20, 6);
  auto* painter = Create<TLogPainter>();
  grid->AdoptPainter(painter);
  Pump();
  // A full paint: every column's cells of every row, once.
  EXPECT_EQ(painter->Cells.size(), 2u * 6u);
  painter->Cells.clear();
  grid->InvalidateRow(4);
  Pump();
  EXPECT_EQ(painter->Cells, (std::vector<std::pair<Integer, Integer>>{{0, 4}, {1, 4}}));
  // A paint of the footer band alone reaches no vision.
  grid->SetShowFooters(true);
  Pump();
  painter->Cells.clear();
  grid->InvalidateFooters();
  Pump();
  EXPECT_TRUE(painter->Cells.empty());
}

TEST_F(DesignerTest, PaintThatFailsStillLeavesTheGridPaintable) {
  Make(20, 4);
  auto* painter = Create<TLogPainter>();
  grid->AdoptPainter(painter);
  look->SetTitleColor(clYellow);
  Pump();
  painter->Fail = true;
  ClearLog();
  grid->Invalidate();
  Pump();
  EXPECT_EQ(HandledMessage(), "painter failed");
  painter->Fail = false;
  look->SetTitleColor(clAqua);
  Pump();
  EXPECT_EQ(PixelAt(1, 1), Rgb(clAqua));
}

// The off-screen pixels stay with the grid from paint to paint, whatever
// part is painted; a new client size makes them anew, and they go with the
// window.
TEST_F(DesignerTest, TheOffScreenBitmapIsKeptFromPaintToPaint) {
  Make(20, 6);
  TtlPaintInfo* info = grid->PaintInfo();
  TBitmap* kept = info->KeptBitmap();
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->Width(), grid->ClientWidth() + 1);
  EXPECT_EQ(kept->Height(), grid->ClientHeight());
  grid->InvalidateRow(2);
  Pump();
  grid->InvalidateTitles();
  Pump();
  grid->Invalidate();
  Pump();
  EXPECT_EQ(info->KeptBitmap(), kept);

  grid->SetBounds(grid->Left(), grid->Top(), grid->Width() + 30, grid->Height());
  Pump();
  ASSERT_NE(info->KeptBitmap(), nullptr);
  EXPECT_EQ(info->KeptBitmap()->Width(), grid->ClientWidth() + 1);

  grid->SetParent(nullptr);  // the window goes
  EXPECT_FALSE(grid->HandleAllocated());
  EXPECT_EQ(info->KeptBitmap(), nullptr);
}

TEST_F(DesignerTest, FocusChangesRepaintTheCursorRow) {
  Make(40, 6);
  TProbe* elsewhere = AddProbe(form, "Elsewhere", TRect(330, 10, 380, 40));
  ds->MoveBy(1);
  Pump();
  grid->SetCursorType(gctInsensitiveBmrk);
  grid->CurrentRecShot()->CaptureCursor(false);  // record 2 is the grid's current record
  // The dataset moves on; the grid's current record stays in row 1.
  ds->MoveBy(3);
  Pump();
  ASSERT_EQ(grid->CursorRow(), 1);
  ASSERT_NE(grid->ActiveRow(), grid->CursorRow());
  elsewhere->SetFocus();
  Pump();
  grid->Clips.clear();
  grid->SetFocus();
  Pump();
  std::vector<Integer> painted = grid->TakePaintedRows();
  EXPECT_NE(std::find(painted.begin(), painted.end(), 1), painted.end());
  elsewhere->SetFocus();
  Pump();
  painted = grid->TakePaintedRows();
  EXPECT_NE(std::find(painted.begin(), painted.end(), 1), painted.end());
}

}  // namespace
}  // namespace brevant::test

namespace brevant::test {
namespace {

// Whether any pixel of rect (grid client coordinates) is reddish (c =
// clRed: antialiased text keeps few pure pixels), or, with c = clNone,
// differs from the grid's background.
bool AnyPixel(const TRect& rect, TColor c, const std::function<TColor(Integer, Integer)>& pixel) {
  for (Integer y = rect.Top; y < rect.Bottom; ++y)
    for (Integer x = rect.Left; x < rect.Right; ++x) {
      const TColor p = pixel(x, y);
      const bool reddish = (p & 0xFF) > 0xA0 && ((p >> 8) & 0xFF) < 0x60 && (p >> 16) < 0x60;
      if (c == clNone ? p != ColorToRGB(clWindow) : reddish) return true;
    }
  return false;
}

TEST_F(DesignerTest, CellTextKeepsInsideTheMarginsInTheRowFont) {
  Make(20, 6);
  look->SetSelectedCellFill(false);
  look->SetFocusRectKind(frcNone);
  grid->OnGetRowAttrs = TtlGetRowAttrsEvent::FromCallable([](TObject*, TtlRowAttrs* attrs) {
    if (attrs->RowIndex == 2) attrs->FontColor = clRed;
  });
  grid->Invalidate();
  Pump();
  auto pixel = [this](Integer x, Integer y) { return PixelAt(x, y); };
  TtlColumn* name = grid->Columns()->Items(1);  // "R<n>", left-aligned
  const TRect cell = name->CellRect(3, false, false);
  EXPECT_TRUE(AnyPixel(cell, clNone, pixel)) << "the vision drew the text";
  EXPECT_FALSE(AnyPixel(cell, clRed, pixel));
  EXPECT_TRUE(AnyPixel(name->CellRect(2, false, false), clRed, pixel)) << "row font";
  // Nothing left of the left margin; a wider margin moves the text.
  const TRect band(cell.Left, cell.Top, cell.Left + 2, cell.Bottom);
  EXPECT_FALSE(AnyPixel(band, clNone, pixel));
  const TRect next(cell.Left + 2, cell.Top, cell.Left + 9, cell.Bottom);
  EXPECT_TRUE(AnyPixel(next, clNone, pixel));
  look->CellMargins()->SetLeftMargin(9);
  Pump();
  EXPECT_FALSE(AnyPixel(next, clNone, pixel));
  EXPECT_TRUE(AnyPixel(name->CellRect(3, false, false), clNone, pixel));
}

}  // namespace
}  // namespace brevant::test
