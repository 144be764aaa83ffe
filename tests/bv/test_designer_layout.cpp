// The base designer over a real column layout, checked at exact pixels: the
// separators inside a group of two lines and the cursor row's separators,
// the line slots between groups, a fixed group beside a scrolled window,
// and partial repaints that must leave the same pixels as a full paint.
#include <random>
#include <vector>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/group_info.h"
#include "bv_rtm/border_style.h"
#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "designer_test_util.h"
#include "graphics/canvas.h"

namespace brevant::test {

// What no paint of the designer ever draws: a paint that leaves part of its
// clip untouched shows it.
constexpr TColor kSpoil = 0x00FF00FF;

// A grid that covers its clip in kSpoil before it paints.
class TSpoilGrid : public TPaintLogGrid {
  BV_CLASS(TSpoilGrid, TPaintLogGrid)
 public:
  using TPaintLogGrid::TPaintLogGrid;

 protected:
  void Paint() override {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(kSpoil);
    canvas->FillRect(canvas->ClipRect());
    TPaintLogGrid::Paint();
  }
};

BV_IMPLEMENT_CLASS_EX(TSpoilGrid, TPaintLogGrid, nullptr, nullptr)

namespace {

// A column of the layout: caption, field, stored place, width.
struct TColumnPlace {
  const char* caption;
  const char* field;
  Integer level;
  Integer index;
  Integer width;
};

// F: a fixed group; A B over C: a group of two lines; D, E, G: one column
// each. Wider than the client, so the scroll window has three positions.
constexpr TColumnPlace kLayout[] = {
    {"F", "ID", 0, 0, 40}, {"A", "Name", 0, 0, 45}, {"B", "ID", 0, 1, 45}, {"C", "Name", 1, 0, 90},
    {"D", "ID", 0, 0, 90}, {"E", "Name", 0, 0, 90}, {"G", "ID", 0, 0, 90},
};

class LayoutPaintTest : public DesignerTest {
 protected:
  // The grid (a TSpoilGrid) over 20 records with 6 rows, titles and
  // footers, laid out as kLayout and painted through a designer with
  // one-pixel group and row lines.
  void MakeLayout() {
    Build(20, 6);
    TObject::Free(grid);
    grid = Create<TSpoilGrid>(form);
    grid->SetName("Grid");
    grid->SetBorderStyle(bsNoBorder);
    grid->SetScrollBars(ssBoth);
    grid->SetBounds(10, 10, 300, 200);
    grid->SetParent(form);
    lines = Create<TLinesDesigner>(form);
    look = lines;
    grid->SetDesigner(look);
    grid->SetShowFooters(true);
    TtlColumns* cols = grid->Columns();
    cols->BeginUpdate();
    for (const TColumnPlace& s : kLayout) {
      TtlColumn* c = cols->Add();
      c->SetFieldName(s.field);
      c->SetCaption(s.caption);
      c->SetLayoutLevel(s.level);
      c->SetLayoutIndex(s.index);
      c->SetWidth(s.width);
    }
    cols->EndUpdate();
    Col("F")->SetFixed(cfLeft);
    Col("F")->SetFooterText("f");
    Col("C")->SetFooterText("c");
    Col("D")->SetFooterText("d");
    grid->SetDataSource(src);
    look->SetTitleColor(clYellow);
    look->SetFooterColor(clYellow);
    look->SetFixedColor(clSilver);
    FitRows(6);
    Pump();
  }
  TtlColumn* Col(const char* caption) {
    TtlColumns* cols = grid->Columns();
    for (Integer i = 0; i < cols->Count(); ++i)
      if (cols->Items(i)->Caption() == caption) return cols->Items(i);
    ADD_FAILURE() << "no column " << caption;
    return nullptr;
  }
  const TtlGroupInfo& GroupOf(const char* caption) { return *Col(caption)->GroupInfo(); }
  Integer HScroll(Integer code) {
    grid->Perform(WM_HSCROLL, static_cast<WPARAM>(code), 0);
    Pump();
    return grid->Columns()->FirstShownGroup();
  }
  // The pixels of r (client coordinates), row by row.
  std::vector<TColor> Pixels(const TRect& r) {
    std::vector<TColor> out;
    out.reserve(static_cast<size_t>(r.Width()) * r.Height());
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x) out.push_back(PixelAt(x, y));
    return out;
  }
  TRect Client() { return TRect(0, 0, grid->ClientWidth(), grid->ClientHeight()); }
  // A group's columns through all bands: from its screen left over its
  // width, from the top to the footer band's bottom.
  TRect Band(const TtlGroupInfo& group) {
    return TRect(group.ScreenLeft, 0, group.ScreenLeft + group.Width,
                 grid->DataAreaBottom() + grid->EmptyAreaHeight() + grid->FooterAreaHeight());
  }
  // Where two snapshots of the client first differ, "" when they agree.
  String FirstDifference(const std::vector<TColor>& got, const std::vector<TColor>& want) {
    const Integer width = grid->ClientWidth();
    for (size_t i = 0; i < got.size() && i < want.size(); ++i)
      if (got[i] != want[i])
        return "(" + IntToStr(Integer(i) % width) + "," + IntToStr(Integer(i) / width) +
               "): " + IntToStr(got[i]) + " instead of " + IntToStr(want[i]);
    return got.size() == want.size() ? "" : "sizes differ";
  }

  TLinesDesigner* lines = nullptr;
};

TEST_F(LayoutPaintTest, SeparatorsInsideAGroupOfTwoLines) {
  MakeLayout();
  look->SetCellSeparator(clRed);
  look->SetRowSeparator(clBlue);
  look->SetFocusRectKind(frcNone);
  look->SetSelectedCellFill(false);
  ds->MoveBy(2);
  Pump();
  ASSERT_EQ(grid->CursorRow(), 2);
  ASSERT_EQ(GroupOf("A").LineCount, 2);
  ASSERT_EQ(GroupOf("C").Index, GroupOf("A").Index);
  const TColor back = Rgb(clWindow);
  struct TRowCase {
    const char* name;
    Integer row;
    TColor separator;
  };
  const TRowCase cases[] = {{"plain row", 3, Rgb(clRed)},
                            {"cursor row", 2, Rgb(clBlue)},
                            {"first row", 0, Rgb(clRed)},
                            {"last row", 5, Rgb(clRed)}};
  for (const TRowCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TRect a = Col("A")->CellRect(c.row, false, true);
    const TRect b = Col("B")->CellRect(c.row, false, true);
    const TRect lower = Col("C")->CellRect(c.row, false, true);
    const TRect d = Col("D")->CellRect(c.row, false, true);
    ASSERT_EQ(lower.Top, a.Bottom) << "one pixel between the lines";
    // Above the second line, over its whole width.
    EXPECT_EQ(PixelAt(lower.Left, lower.Top - 1), c.separator);
    EXPECT_EQ(PixelAt(lower.Left + 30, lower.Top - 1), c.separator);
    EXPECT_EQ(PixelAt(lower.Right - 1, lower.Top - 1), c.separator);
    // Left of B (not first in its line), down to the line's bottom.
    EXPECT_EQ(PixelAt(b.Left - 1, b.Top + 3), c.separator);
    EXPECT_EQ(PixelAt(b.Left - 1, b.Bottom - 1), c.separator);
    // It stays inside its row: the row line above belongs to the row before.
    if (c.row > 0) {
      EXPECT_EQ(PixelAt(b.Left - 1, b.Top - 1), back);
    }
    // Nothing left of a first column: the line slot between groups keeps
    // the fixed column's fill on the left, the background elsewhere.
    EXPECT_EQ(PixelAt(a.Left - 1, a.Top + 3), Rgb(clSilver));
    EXPECT_EQ(PixelAt(lower.Left - 1, lower.Top + 3), Rgb(clSilver));
    EXPECT_EQ(PixelAt(d.Left - 1, d.Top + 3), back);
    EXPECT_EQ(PixelAt(d.Left - 1, lower.Top + 3), back);
    // The cells themselves and the row line below the group stay clear.
    EXPECT_EQ(PixelAt(a.Left + 1, a.Top + 1), back);
    EXPECT_EQ(PixelAt(lower.Left + 1, lower.Top + 1), back);
    EXPECT_EQ(PixelAt(lower.Left + 30, lower.Bottom), back);
    EXPECT_EQ(PixelAt(d.Left + 30, d.Top + a.Height()), back) << "D is one line: no separator";
  }
}

TEST_F(LayoutPaintTest, GroupLineSlotsTakeTheRowColour) {
  MakeLayout();
  look->SetCellSeparator(clNone);
  look->SetFocusRectKind(frcNone);
  look->SetSelectedCellFill(false);
  grid->OnGetRowAttrs = TtlGetRowAttrsEvent::FromCallable([](TObject*, TtlRowAttrs* attrs) {
    if (attrs->RowIndex == 3) attrs->Color = clYellow;
  });
  grid->Invalidate();
  Pump();
  const TRect lower = Col("C")->CellRect(3, false, true);
  const TRect d = Col("D")->CellRect(3, false, true);
  const TRect e = Col("E")->CellRect(3, false, true);
  const Integer a = Col("A")->CellRect(3, false, true).Left;
  // Between the groups, across the fixed one and below the row the row's
  // colour shows, also right of the last group in view.
  const TtlGroupInfo& last = *grid->Columns()->Groups(grid->Columns()->LastGroupInView());
  EXPECT_EQ(PixelAt(d.Left - 1, d.Top + 3), Rgb(clYellow));
  EXPECT_EQ(PixelAt(e.Left - 1, e.Top + 3), Rgb(clYellow));
  EXPECT_EQ(PixelAt(a - 1, d.Top + 3), Rgb(clYellow));
  EXPECT_EQ(PixelAt(a - 5, d.Top + 3), Rgb(clYellow));
  EXPECT_EQ(PixelAt(lower.Left + 5, lower.Top - 1), Rgb(clYellow)) << "no separator";
  EXPECT_EQ(PixelAt(lower.Left + 5, lower.Bottom), Rgb(clYellow));
  if (last.ScreenLeft + last.Width < grid->ClientWidth()) {
    EXPECT_EQ(PixelAt(last.ScreenLeft + last.Width, d.Top + 3), Rgb(clYellow));
  }
  // A row without colour: the fixed column's fill reaches over its line,
  // the other lines show the background.
  const Integer y = Col("D")->CellRect(4, false, true).Top + 3;
  EXPECT_EQ(PixelAt(a - 1, y), Rgb(clSilver));
  EXPECT_EQ(PixelAt(d.Left - 1, y), Rgb(clWindow));
  EXPECT_EQ(PixelAt(d.Left + 5, y), Rgb(clWindow));
}

TEST_F(LayoutPaintTest, FixedGroupStaysWhileTheWindowScrolls) {
  MakeLayout();
  Col("D")->SetColor(clAqua);
  Pump();
  TtlColumns* cols = grid->Columns();
  const TtlGroupInfo& fixed = GroupOf("F");
  ASSERT_EQ(cols->ScrollPositions(), 3);
  ASSERT_EQ(cols->FirstShownGroup(), GroupOf("A").Index);
  const std::vector<TColor> fixedBefore = Pixels(Band(fixed));
  const std::vector<TColor> dBefore = Pixels(Band(GroupOf("D")));
  const Integer separatorY = Col("C")->CellRect(4, false, true).Top - 1;
  ASSERT_EQ(HScroll(SB_LINERIGHT), GroupOf("D").Index);

  EXPECT_FALSE(GroupOf("A").InView);
  EXPECT_EQ(fixed.ScreenLeft, 0);
  EXPECT_EQ(GroupOf("D").ScreenLeft, fixed.TotalWidth);
  EXPECT_EQ(GroupOf("E").ScreenLeft, fixed.TotalWidth + GroupOf("D").TotalWidth);
  // Titles, cells and footers of each group moved with it, text included.
  EXPECT_EQ(Pixels(Band(fixed)), fixedBefore);
  EXPECT_EQ(Pixels(Band(GroupOf("D"))), dBefore);
  // The new left group right beside the fixed one, in every band.
  const Integer x = fixed.TotalWidth + 1;
  EXPECT_EQ(PixelAt(x, 1), Rgb(clYellow));
  EXPECT_EQ(PixelAt(x, Col("D")->CellRect(4, false, false).Top + 1), Rgb(clAqua));
  EXPECT_EQ(PixelAt(x + 1, Col("D")->FooterRect(true, false).Top + 2), Rgb(clYellow));
  EXPECT_EQ(PixelAt(fixed.Width - 2, grid->RowRect(4).Top + 1), Rgb(clSilver));
  // Nothing of the scrolled-out group is left, nothing is unpainted.
  for (TColor p : Pixels(Client())) ASSERT_NE(p, kSpoil);
  EXPECT_EQ(PixelAt(fixed.TotalWidth + 5, separatorY), Rgb(clAqua))
      << "C's separator does not show in D";

  // Back to the left: the two-line group shows again where it was.
  ASSERT_EQ(HScroll(SB_LINELEFT), GroupOf("A").Index);
  EXPECT_EQ(Pixels(Band(GroupOf("D"))), dBefore);
}

// Invalidates each rectangle alone after a full paint and compares the
// client with that full paint: no pixel may differ or stay unpainted.
TEST_F(LayoutPaintTest, NarrowRepaintsEqualAFullPaint) {
  MakeLayout();
  look->SetCellSeparator(clRed);
  look->SetRowSeparator(clBlue);
  look->SetSelectedRowFill(true);
  Col("D")->SetColor(clAqua);
  Col("D")->SetOptionsVisual({cvoForeColorFill});
  Col("E")->SetFooterText("e");
  grid->OnGetRowAttrs = TtlGetRowAttrsEvent::FromCallable([](TObject*, TtlRowAttrs* attrs) {
    if (attrs->RowIndex == 4) attrs->Color = clYellow;
  });
  grid->SetFocus();
  ds->MoveBy(2);
  Pump();
  std::mt19937 random(20261210);
  // The cell frame, then the row frame across all groups; each over the
  // three scroll positions.
  for (Integer step = 0; step < 6; ++step) {
    const Integer position = step % 3;
    const TtlFocusRectKind kind = step < 3 ? frcCell : frcPersistentRow;
    SCOPED_TRACE("focus kind " + IntToStr(Integer(kind)) + ", scroll position " +
                 IntToStr(position));
    look->SetFocusRectKind(kind);
    HScroll(position == 0 ? SB_LEFT : SB_LINERIGHT);
    ASSERT_EQ(grid->Columns()->FirstShownGroup(), GroupOf("A").Index + position);
    grid->Invalidate();
    Pump();
    const std::vector<TColor> full = Pixels(Client());
    for (TColor p : full) ASSERT_NE(p, kSpoil);

    const TtlGroupInfo& left = *grid->Columns()->Groups(grid->Columns()->FirstShownGroup());
    const Integer width = grid->ClientWidth();
    const Integer footerTop = grid->DataAreaBottom() + grid->EmptyAreaHeight();
    const TRect leftCell = grid->Columns()->Items(left.LastVisible)->CellRect(3, false, false);
    struct TRectCase {
      String name;
      TRect rect;
    };
    std::vector<TRectCase> cases = {
        {"one cell", leftCell},
        {"fixed and scrolled",
         TRect(20, grid->RowRect(1).Top + 3, left.ScreenLeft + 30, grid->RowRect(3).Bottom - 2)},
        {"one row", grid->RowRect(4)},
        {"cursor row", grid->RowRect(2)},
        {"titles only", TRect(0, 0, width, grid->TitleAreaHeight())},
        {"footers only", TRect(0, footerTop, width, grid->ClientHeight())},
        {"line slot", TRect(left.ScreenLeft - 1, 0, left.ScreenLeft, grid->ClientHeight())},
        {"from a line slot on",
         TRect(left.ScreenLeft + left.Width, 5, left.ScreenLeft + left.Width + 20, 90)},
        {"right of the fixed group",
         TRect(left.ScreenLeft, 0, left.ScreenLeft + 3, grid->ClientHeight())},
    };
    for (Integer i = 0; i < 30; ++i) {
      std::uniform_int_distribution<Integer> x(0, width - 1), y(0, grid->ClientHeight() - 1);
      const Integer l = x(random), t = y(random);
      std::uniform_int_distribution<Integer> w(1, width - l), h(1, grid->ClientHeight() - t);
      cases.push_back({"random " + IntToStr(i), TRect(l, t, l + w(random), t + h(random))});
    }
    for (const TRectCase& c : cases) {
      SCOPED_TRACE(c.name + " (" + IntToStr(c.rect.Left) + "," + IntToStr(c.rect.Top) + "," +
                   IntToStr(c.rect.Right) + "," + IntToStr(c.rect.Bottom) + ")");
      InvalidateRect(grid->WindowHandle(), &c.rect, false);
      Pump();
      const String difference = FirstDifference(Pixels(Client()), full);
      EXPECT_EQ(difference, "");
      if (!difference.empty()) {
        grid->Invalidate();
        Pump();
      }
    }
  }
}

}  // namespace
}  // namespace brevant::test
