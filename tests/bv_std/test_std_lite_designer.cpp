// The lite designer on a live grid, checked at exact pixels: switching a
// grid from the base designer to it and back, its title styles and pressed
// titles, lines on and off with the line widths they take, line colours,
// the last group's line, copying and form text, and whole-pixel scrolling
// of its uniform rows; a golden image guards the whole look.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "../bv/designer_test_util.h"
#include "bv/column.h"
#include "bv_std/lite_designer.h"
#include "classes/formstream.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "rtl/numconv.h"
#include "rtl/streams.h"

namespace brevant::test {
namespace {

String WriteText(TComponent* c) {
  TStringStream s;
  WriteComponentText(s, c);
  return s.DataString();
}

TEST(LiteDesignerDefaults, ValuesLineWidthsAndFormText) {
  TObjectPtr<TLiteDesigner> d(Create<TLiteDesigner>(nullptr));
  d->SetName("Lite");
  EXPECT_TRUE(d->UniformRows());
  EXPECT_TRUE(d->DrawsPressedTitle());
  EXPECT_EQ(d->TitleStyle(), lts3D);
  EXPECT_TRUE(d->ShowLines());
  EXPECT_TRUE(d->ShowLastLine());
  EXPECT_EQ(d->VertLines(), clSilver);
  EXPECT_EQ(d->HorizLines(), clSilver);
  EXPECT_EQ(d->CellSeparator(), clSilver);
  EXPECT_EQ(d->RowSeparator(), clNone);
  EXPECT_EQ(d->FocusRectKind(), frcCell);
  EXPECT_EQ(d->VertLineWidth(), 1);
  EXPECT_EQ(d->RowLineWidth(), 1);
  EXPECT_EQ(d->InnerTitleLineWidth(), 0);
  EXPECT_EQ(d->OuterTitleLineWidth(), 1);
  EXPECT_EQ(d->InnerFooterLineWidth(), 4);
  EXPECT_EQ(d->OuterFooterLineWidth(), 3);
  // The silver line colours are always written, the silver separators not.
  const String text = WriteText(d.get());
  EXPECT_NE(text.find("VertLines = " + IntToStr(clSilver)), String::npos) << text;
  EXPECT_NE(text.find("HorizLines = " + IntToStr(clSilver)), String::npos) << text;
  EXPECT_EQ(text.find("CellSeparator"), String::npos) << text;
  EXPECT_EQ(text.find("TitleStyle"), String::npos) << text;
}

TEST(LiteDesignerDefaults, FormTextRoundTrip) {
  RegisterLiteDesignerClasses();
  EXPECT_EQ(GetClass("TLiteDesigner"), TLiteDesigner::StaticClass());
  TObjectPtr<TLiteDesigner> d(Create<TLiteDesigner>(nullptr));
  d->SetName("Lite");
  d->SetTitleStyle(ltsFlat);
  d->SetShowLines(false);
  d->SetShowLastLine(false);
  d->SetHorizLines(clNone);
  TStringStream s(WriteText(d.get()));
  TObjectPtr<TLiteDesigner> back(Create<TLiteDesigner>(nullptr));
  ReadComponent(s, back.get());
  EXPECT_EQ(back->TitleStyle(), ltsFlat);
  EXPECT_FALSE(back->ShowLines());
  EXPECT_FALSE(back->ShowLastLine());
  EXPECT_EQ(back->HorizLines(), clNone);
  // Loading ends by asking the widths again.
  EXPECT_EQ(back->VertLineWidth(), 0);
  EXPECT_EQ(back->RowLineWidth(), 0);
}

class LiteTest : public DesignerTest {
 protected:
  // The designer test grid (columns ID and Name, one group each), painted
  // through a lite designer with yellow titles.
  void MakeLite() {
    Make(20, 6);
    baseRowHeight = grid->RowHeight();
    lite = Create<TLiteDesigner>(form);
    lite->SetTitleColor(clYellow);
    grid->SetDesigner(lite);
    FitRows(6);
  }
  // Client x of the pixel column that ends group g.
  Integer GroupEnd(Integer g) {
    TtlColumns* cols = grid->Columns();
    return cols->GroupScreenLeft(g) + cols->Groups(g)->TotalWidth - 1;
  }
  // The middle height of window row `row`, and its bottom pixel row.
  Integer RowMid(Integer row) { return grid->RowRect(row).Top + grid->RowHeight() / 2; }
  Integer RowBottom(Integer row) { return grid->RowRect(row).Bottom - 1; }
  TRect Title(Integer column) { return grid->Columns()->Items(column)->TitleRect(false); }
  Integer TitleLineY() { return grid->TitleHeight() - 1; }

  TLiteDesigner* lite = nullptr;
  Integer baseRowHeight = 0;

 public:
  TColor Pixel(Integer x, Integer y) { return PixelAt(x, y); }
};

TEST_F(LiteTest, SwitchingFromTheBaseDesignerAndBack) {
  MakeLite();
  EXPECT_TRUE(grid->EffectiveDesigner()->UniformRows());
  EXPECT_EQ(grid->RowHeight(), baseRowHeight + 1);
  EXPECT_EQ(PixelAt(5, RowBottom(2)), Rgb(clSilver));
  EXPECT_EQ(PixelAt(GroupEnd(0), RowMid(2)), Rgb(clSilver));
  EXPECT_EQ(PixelAt(5, TitleLineY()), Rgb(clBlack));
  EXPECT_EQ(PixelAt(GroupEnd(0), 3), Rgb(clBlack));
  EXPECT_EQ(PixelAt(Title(1).Left, Title(1).Top), Rgb(clBtnHighlight));

  grid->SetDesigner(look);
  Pump();
  EXPECT_FALSE(grid->EffectiveDesigner()->UniformRows());
  EXPECT_EQ(grid->RowHeight(), baseRowHeight);
  EXPECT_EQ(PixelAt(5, RowBottom(2)), Rgb(clWindow));
  EXPECT_EQ(PixelAt(Title(1).Left, Title(1).Top), Rgb(clBtnFace));
  EXPECT_EQ(lite->GridCount(), 0);

  grid->SetDesigner(lite);
  Pump();
  EXPECT_EQ(grid->RowHeight(), baseRowHeight + 1);
  EXPECT_EQ(PixelAt(5, RowBottom(2)), Rgb(clSilver));
}

struct TStyleCase {
  const char* name;           // the row's name in failure traces
  TLiteDsgnTitleStyle style;  // the title style set
  bool drawsPressed;          // DrawsPressedTitle
  TColor topLeft;             // the title's first pixel
  TColor innerRight;          // the title's last pixel column
  TColor lineRight;           // the group's line column beside the title
  TColor bottomLine;          // the title band's last pixel row (flat edges reach over it)
};

TEST_F(LiteTest, TitleStyles) {
  // Vertical lines red, row lines blue: plain titles take them.
  const TStyleCase cases[] = {
      {"raised", lts3D, true, clBtnHighlight, clBtnShadow, clBlack, clBlack},
      {"flat", ltsFlat, true, clBtnHighlight, clYellow, clBtnShadow, clBtnShadow},
      {"plain", ltsNon3D, false, clYellow, clYellow, clRed, clBlue},
  };
  MakeLite();
  lite->SetVertLines(clRed);
  lite->SetHorizLines(clBlue);
  for (const TStyleCase& c : cases) {
    SCOPED_TRACE(c.name);
    lite->SetTitleStyle(c.style);
    Pump();
    EXPECT_EQ(lite->DrawsPressedTitle(), c.drawsPressed);
    const TRect r = Title(1);
    ASSERT_EQ(r.Right, GroupEnd(1));
    EXPECT_EQ(PixelAt(r.Left, r.Top), Rgb(c.topLeft));
    EXPECT_EQ(PixelAt(r.Right - 1, r.Top + 3), Rgb(c.innerRight));
    EXPECT_EQ(PixelAt(r.Right, r.Top + 3), Rgb(c.lineRight));
    EXPECT_EQ(PixelAt(r.Left + 5, TitleLineY()), Rgb(c.bottomLine));
  }
  // Plain titles whose row lines are off take the vertical colour below.
  lite->SetHorizLines(clNone);
  Pump();
  EXPECT_EQ(PixelAt(Title(1).Left + 5, TitleLineY()), Rgb(clRed));
}

TEST_F(LiteTest, PressedTitleSunkenOrInverted) {
  MakeLite();
  grid->SetPressedTitle(grid->Columns()->Items(1));
  Pump();
  TRect r = Title(1);
  EXPECT_EQ(PixelAt(r.Left, r.Top), Rgb(clBtnShadow));
  EXPECT_EQ(PixelAt(r.Right - 1, r.Bottom - 1), Rgb(clBtnShadow));
  EXPECT_EQ(PixelAt(r.Left + 1, r.Top + 1), Rgb(clYellow));
  lite->SetTitleStyle(ltsNon3D);
  Pump();
  EXPECT_EQ(PixelAt(r.Left + 1, r.Top + 1), Rgb(clYellow) ^ 0xFFFFFF);
  EXPECT_EQ(PixelAt(Title(0).Left + 1, Title(0).Top + 1), Rgb(clYellow));
}

struct TNoLinesCase {
  const char* name;           // the row's name in failure traces
  TLiteDsgnTitleStyle style;  // the title style set
  TColor lastTitleColumn;     // the group's last pixel column in the titles
};

TEST_F(LiteTest, ShowLinesOffTakesNoSpaceAndDrawsNoLines) {
  const TNoLinesCase cases[] = {
      {"plain", ltsNon3D, clYellow},
      {"raised", lts3D, clBtnShadow},
  };
  MakeLite();
  lite->SetVertLines(clRed);
  const Integer withLines = grid->RowHeight();
  for (const TNoLinesCase& c : cases) {
    SCOPED_TRACE(c.name);
    lite->SetTitleStyle(c.style);
    lite->SetShowLines(false);
    Pump();
    EXPECT_EQ(lite->VertLineWidth(), 0);
    EXPECT_EQ(lite->RowLineWidth(), 0);
    EXPECT_EQ(grid->RowHeight(), withLines - 1);
    EXPECT_EQ(GroupEnd(0), Title(0).Right - 1);
    EXPECT_EQ(PixelAt(5, RowBottom(2)), Rgb(clWindow));
    EXPECT_EQ(PixelAt(GroupEnd(0), RowMid(2)), Rgb(clWindow));
    EXPECT_EQ(PixelAt(Title(1).Left + 5, TitleLineY()), Rgb(clYellow));
    // No closing line covers the titles' last pixel column.
    EXPECT_EQ(PixelAt(GroupEnd(0), 3), Rgb(c.lastTitleColumn));
    lite->SetShowLines(true);
    Pump();
    EXPECT_EQ(grid->RowHeight(), withLines);
    EXPECT_EQ(PixelAt(GroupEnd(0), RowMid(2)), Rgb(clRed));
  }
}

TEST_F(LiteTest, RowLinesOffKeepTheGroupLines) {
  MakeLite();
  lite->SetHorizLines(clNone);
  Pump();
  EXPECT_EQ(lite->RowLineWidth(), 0);
  EXPECT_EQ(lite->VertLineWidth(), 1);
  EXPECT_EQ(grid->RowHeight(), baseRowHeight);
  EXPECT_EQ(PixelAt(5, RowBottom(2)), Rgb(clWindow));
  EXPECT_EQ(PixelAt(GroupEnd(0), RowMid(2)), Rgb(clSilver));
  lite->SetHorizLines(clGreen);
  Pump();
  EXPECT_EQ(lite->RowLineWidth(), 1);
  EXPECT_EQ(grid->RowHeight(), baseRowHeight + 1);
  EXPECT_EQ(PixelAt(5, RowBottom(2)), Rgb(clGreen));
  // A new colour over a colour only repaints.
  lite->SetHorizLines(clBlue);
  Pump();
  EXPECT_EQ(grid->RowHeight(), baseRowHeight + 1);
  EXPECT_EQ(PixelAt(5, RowBottom(2)), Rgb(clBlue));
}

TEST_F(LiteTest, LastGroupLineInTheGridsColour) {
  MakeLite();
  const Integer last = grid->Columns()->GroupCount() - 1;
  ASSERT_GE(last, 1);
  lite->SetVertLines(clRed);
  Pump();
  EXPECT_EQ(PixelAt(GroupEnd(last), RowMid(2)), Rgb(clRed));
  lite->SetShowLastLine(false);
  Pump();
  EXPECT_EQ(PixelAt(GroupEnd(last), RowMid(2)), Rgb(clWindow));
  EXPECT_EQ(PixelAt(GroupEnd(0), RowMid(2)), Rgb(clRed));
  EXPECT_EQ(lite->VertLineWidth(), 1);
}

struct TNotchCase {
  const char* name;           // the row's name in failure traces
  TLiteDsgnTitleStyle style;  // the title style set
  bool lines;                 // ShowLines
  bool notch;                 // the notch shows left of the second column
};

TEST_F(LiteTest, FlatTitlesNotchBetweenNeighbours) {
  const TNotchCase cases[] = {
      {"flat", ltsFlat, true, true},
      {"flat without lines", ltsFlat, false, false},
      {"raised", lts3D, true, false},
  };
  MakeLite();
  grid->Columns()->BeginUpdate();
  TtlColumn* joined = grid->Columns()->Add();
  joined->SetFieldName("ID");
  joined->SetLayoutIndex(1);  // second in the Name column's line
  grid->Columns()->EndUpdate();
  Pump();
  ASSERT_EQ(joined->PosInLine(), 1);
  for (const TNotchCase& c : cases) {
    SCOPED_TRACE(c.name);
    lite->SetTitleStyle(c.style);
    lite->SetShowLines(c.lines);
    Pump();
    const TRect r = joined->TitleRect(false);
    const bool highlight = PixelAt(r.Left - 1, r.Top) == Rgb(clBtnHighlight);
    const bool filled = PixelAt(r.Left - 1, r.Top + 1) == Rgb(clYellow) &&
                        PixelAt(r.Left - 2, r.Bottom - 2) == Rgb(clYellow);
    EXPECT_EQ(highlight && filled, c.notch);
    if (c.style == lts3D) {  // the separator between the two titles
      EXPECT_EQ(PixelAt(r.Left - 1, r.Top + r.Height() / 2), Rgb(clBlack));
    }
  }
  // The separator in the rows is the cell separator colour.
  lite->SetCellSeparator(clPurple);
  Pump();
  EXPECT_EQ(PixelAt(joined->CellRect(2, false, true).Left - 1, RowMid(2)), Rgb(clPurple));
}

TEST_F(LiteTest, AssignCopiesEveryOptionAndRelaysOut) {
  MakeLite();
  auto* other = Create<TLiteDesigner>(form);
  other->SetTitleStyle(ltsNon3D);
  other->SetShowLines(false);
  other->SetShowLastLine(false);
  other->SetVertLines(clRed);
  other->SetTitleColor(clAqua);
  other->SetFlatFooter(true);
  const Integer before = grid->RowHeight();
  lite->Assign(other);
  EXPECT_EQ(lite->TitleStyle(), ltsNon3D);
  EXPECT_FALSE(lite->DrawsPressedTitle());
  EXPECT_FALSE(lite->ShowLines());
  EXPECT_FALSE(lite->ShowLastLine());
  EXPECT_EQ(lite->VertLines(), clRed);
  EXPECT_EQ(lite->TitleColor(), clAqua);
  EXPECT_TRUE(lite->FlatFooter());
  EXPECT_EQ(grid->RowHeight(), before - 1);
  // Another class of designer is refused.
  EXPECT_ANY_THROW(look->Assign(lite));
}

TEST_F(LiteTest, OneRowScrollMovesPixelsLikeAFullPaint) {
  MakeLite();
  lite->SetFocusRectKind(frcNone);
  Pump();
  grid->Clips.clear();
  VScroll(SB_LINEDOWN);
  // Only the two rows at the end are painted; the rest moved.
  const Integer n = grid->RowCount();
  EXPECT_EQ(grid->TakePaintedRows(), (std::vector<Integer>{n - 2, n - 1}));
  std::vector<TColor> moved;
  const Integer bottom = grid->RowRect(n - 1).Bottom;
  for (Integer y = 0; y < bottom; ++y)
    for (Integer x = 0; x < grid->ClientWidth(); x += 3) moved.push_back(PixelAt(x, y));
  grid->Invalidate();
  Pump();
  std::vector<TColor> full;
  for (Integer y = 0; y < bottom; ++y)
    for (Integer x = 0; x < grid->ClientWidth(); x += 3) full.push_back(PixelAt(x, y));
  EXPECT_EQ(moved, full);
}

// The grid's client pixels as 0x00RRGGBB (PixelAt answers 0x00BBGGRR).
std::vector<std::uint32_t> ClientPixels(LiteTest& t, Integer w, Integer h) {
  std::vector<std::uint32_t> v;
  for (Integer y = 0; y < h; ++y)
    for (Integer x = 0; x < w; ++x) {
      const TColor c = t.Pixel(x, y);
      v.push_back(((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF));
    }
  return v;
}

TEST_F(LiteTest, GoldenLookIsPixelExact) {
  MakeLite();
  grid->SetShowFooters(true);
  grid->Columns()->Items(1)->SetFooterText("sum");
  lite->SetTitleStyle(ltsFlat);
  FitRows(6);
  const Integer w = grid->ClientWidth(), h = grid->ClientHeight();
  const std::vector<std::uint32_t> shot = ClientPixels(*this, w, h);
  const String golden = String(BV_STD_GOLDEN_DIR) + "/lite_designer.png";
  if (std::getenv("BV_UPDATE_GOLDEN")) {
    TObjectPtr<TBitmap> b = MakeObject<TBitmap>();
    b->SetSize(w, h);
    for (Integer y = 0; y < h; ++y) std::copy_n(&shot[y * w], w, b->ScanLine(y));
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
  EXPECT_TRUE(stored == shot) << "the lite look differs from " << golden;
  // A narrow repaint across the second group leaves the same pixels.
  const TRect title = grid->Columns()->Items(1)->TitleRect(false);
  const TRect narrow(title.Left + 3, 0, title.Left + 9, h);
  InvalidateRect(grid->WindowHandle(), &narrow, false);
  Pump();
  EXPECT_TRUE(ClientPixels(*this, w, h) == shot);
}

}  // namespace
}  // namespace brevant::test
