// The designer as its grids see it: defaults and what a form stores, which
// grids a change reaches and how (repaint, re-measure, relayout), copying
// with Assign, line widths after loading and copying, the process-wide
// default, and a designer freed under its grids.
#include <functional>

#include "bv/column.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/child_font.h"
#include "classes/formstream.h"
#include "designer_test_util.h"
#include "rtl/numconv.h"
#include "rtl/streams.h"

namespace brevant::test {
namespace {

String WriteText(TComponent* c) {
  TStringStream s;
  WriteComponentText(s, c);
  return s.DataString();
}

void ReadText(const String& text, TComponent* root) {
  TStringStream s(text);
  ReadComponent(s, root);
}

TEST(DesignerDefaults, NewDesignerAndWhatItStores) {
  TObjectPtr<TtlBaseDesigner> d(Create<TtlBaseDesigner>(nullptr));
  d->SetName("D");
  EXPECT_EQ(d->FocusRectKind(), frcCell);
  EXPECT_TRUE(d->SelectedCellFill());
  EXPECT_FALSE(d->SelectedRowFill());
  EXPECT_TRUE(d->DrawsPressedTitle());
  EXPECT_FALSE(d->UniformRows());
  for (TtlCellMargins* m : {d->TitleMargins(), d->CellMargins(), d->FooterMargins()}) {
    EXPECT_EQ(m->LeftMargin(), 2);
    EXPECT_EQ(m->TopMargin(), 2);
    EXPECT_EQ(m->RightMargin(), 2);
    EXPECT_EQ(m->BottomMargin(), 2);
  }
  EXPECT_EQ(d->InnerFooterLineWidth(), 4);
  EXPECT_EQ(d->OuterFooterLineWidth(), 3);
  EXPECT_EQ(d->RowSeparator(), clNone);
  EXPECT_EQ(d->FooterLines(), clGray);
  // Nothing differs from the defaults: no property is written, no font.
  const String plain = WriteText(d.get());
  EXPECT_EQ(plain.find(" = "), String::npos) << plain;
  d->SetTitleColor(clYellow);
  d->SetRowSeparator(clRed);
  d->CellFont()->SetColor(clRed);
  const String changed = WriteText(d.get());
  EXPECT_NE(changed.find("TitleColor = " + IntToStr(clYellow)), String::npos) << changed;
  EXPECT_NE(changed.find("RowSeparator = " + IntToStr(clRed)), String::npos) << changed;
  EXPECT_NE(changed.find("CellFont.Color = " + IntToStr(clRed)), String::npos) << changed;
  EXPECT_EQ(changed.find("TitleFont"), String::npos) << changed;
}

// The answer a designer change gets in a grid, seen from its paints and
// heights.
enum TAnswer { ansTitles, ansFooters, ansCursorRow, ansAll, ansMeasure };

struct TChangeCase {
  const char* name;
  std::function<void(TtlBaseDesigner*)> change;
  TAnswer answer;
  bool immediate;  // painted before the message loop runs
};

TEST_F(DesignerTest, ChangesReachExactlyTheGridsThatUseTheDesigner) {
  Make(20, 6);
  grid->SetShowFooters(true);
  auto* otherLook = Create<TtlBaseDesigner>(form);
  TPaintLogGrid* bystander = AddGrid(otherLook);
  TPaintLogGrid* sharer = AddGrid(look);
  bystander->SetShowFooters(true);
  sharer->SetShowFooters(true);
  ds->MoveBy(2);
  Pump();
  const TChangeCase cases[] = {
      {"TitleColor", [](TtlBaseDesigner* d) { d->SetTitleColor(clYellow); }, ansTitles, true},
      {"SelectedCellText", [](TtlBaseDesigner* d) { d->SetSelectedCellText(clRed); }, ansTitles,
       true},
      {"FooterColor", [](TtlBaseDesigner* d) { d->SetFooterColor(clAqua); }, ansFooters, true},
      {"FooterSurfaceColor", [](TtlBaseDesigner* d) { d->SetFooterSurfaceColor(clLime); },
       ansFooters, true},
      {"FlatFooter", [](TtlBaseDesigner* d) { d->SetFlatFooter(true); }, ansFooters, true},
      {"FocusRectKind", [](TtlBaseDesigner* d) { d->SetFocusRectKind(frcRow); }, ansCursorRow,
       true},
      {"SelectedRowFill", [](TtlBaseDesigner* d) { d->SetSelectedRowFill(true); }, ansCursorRow,
       true},
      {"SelectedCell", [](TtlBaseDesigner* d) { d->SetSelectedCell(d->SelectedCell()); },
       ansCursorRow, true},
      {"FixedColor", [](TtlBaseDesigner* d) { d->SetFixedColor(clGray); }, ansAll, false},
      {"UltraSoftSelectedRow", [](TtlBaseDesigner* d) { d->SetUltraSoftSelectedRow(true); }, ansAll,
       false},
      {"VertLines same", [](TtlBaseDesigner* d) { d->SetVertLines(d->VertLines()); }, ansAll,
       false},
      {"HorizLines black to silver", [](TtlBaseDesigner* d) { d->SetHorizLines(clSilver); }, ansAll,
       false},
      {"CellMargins", [](TtlBaseDesigner* d) { d->CellMargins()->SetTopMargin(5); }, ansMeasure,
       false},
      {"CellFont", [](TtlBaseDesigner* d) { d->CellFont()->SetColor(clRed); }, ansAll, false},
  };
  for (const TChangeCase& c : cases) {
    SCOPED_TRACE(c.name);
    const Integer rowHeight = grid->RowHeight();
    for (TPaintLogGrid* g : {grid, bystander, sharer}) g->Clips.clear();
    c.change(look);
    if (c.immediate) {
      EXPECT_FALSE(grid->Clips.empty()) << "an immediate update";
      EXPECT_FALSE(sharer->Clips.empty());
    }
    Pump();
    EXPECT_TRUE(bystander->Clips.empty()) << "a grid of another designer";
    for (TPaintLogGrid* g : {grid, sharer}) {
      ASSERT_FALSE(g->Clips.empty());
      const TRect clip = g->Clips.front();
      const TRect client = g->ClientRect();
      switch (c.answer) {
        case ansTitles:
          EXPECT_EQ(clip.Top, 0);
          EXPECT_LE(clip.Bottom, g->TitleAreaHeight());
          break;
        case ansFooters:
          EXPECT_GE(clip.Top, g->DataAreaBottom());
          break;
        case ansCursorRow:
          EXPECT_EQ(clip.Top, g->RowRect(g->CursorRow()).Top);
          EXPECT_EQ(clip.Bottom, g->RowRect(g->CursorRow()).Bottom);
          break;
        case ansAll:
        case ansMeasure:
          EXPECT_EQ(clip, client);
          break;
      }
    }
    if (c.answer == ansMeasure)
      EXPECT_GT(grid->RowHeight(), rowHeight);
    else
      EXPECT_EQ(grid->RowHeight(), rowHeight);
  }
}

TEST_F(DesignerTest, MarginsRejectNegativeValuesAndReMeasure) {
  Make(20, 6);
  const Integer title = grid->TitleHeight(), row = grid->RowHeight(), footer = grid->FooterHeight();
  try {
    look->CellMargins()->SetTopMargin(-1);
    FAIL() << "a negative margin was taken";
  } catch (const EBVError& e) {
    EXPECT_EQ(e.Message(), "Value can not be negative (-1)");
  }
  EXPECT_EQ(look->CellMargins()->TopMargin(), 2);
  look->CellMargins()->SetTopMargin(5);
  look->TitleMargins()->SetBottomMargin(6);
  look->FooterMargins()->SetTopMargin(0);
  EXPECT_EQ(grid->RowHeight(), row + 3);
  EXPECT_EQ(grid->TitleHeight(), title + 4);
  EXPECT_EQ(grid->FooterHeight(), footer - 2);
  // Assigning a margins object copies it into the designer's own.
  TObjectPtr<TtlCellMargins> loose(Create<TtlCellMargins>());
  loose->SetTopMargin(0);
  loose->SetBottomMargin(0);
  look->SetCellMargins(loose.get());
  EXPECT_NE(look->CellMargins(), loose.get());
  EXPECT_EQ(grid->RowHeight(), row - 4);
}

TEST_F(DesignerTest, EachDesignerDecidesItsRowLineWidth) {
  // Switching row lines off asks the widths again; which width follows is
  // each designer's own rule.
  struct {
    const char* name;
    TtlBaseDesigner* designer;
    Integer widthWithoutLines;
  } cases[] = {
      {"follows HorizLines", Create<TLinesDesigner>(form), 0},
      {"follows its option", Create<TOptionLinesDesigner>(form), 1},
  };
  Make(20, 6);
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    grid->SetDesigner(c.designer);
    EXPECT_EQ(c.designer->RowLineWidth(), 1);
    const Integer height = grid->RowHeight();
    c.designer->SetHorizLines(clNone);
    EXPECT_EQ(c.designer->RowLineWidth(), c.widthWithoutLines);
    EXPECT_EQ(grid->RowHeight(), height - 1 + c.widthWithoutLines);
    c.designer->SetHorizLines(clSilver);
    EXPECT_EQ(grid->RowHeight(), height);
  }
}

TEST_F(DesignerTest, LineWidthsAfterLoadingFromFormText) {
  Make(20, 6);
  auto* lines = Create<TLinesDesigner>(form);
  lines->SetName("Lines");
  grid->SetDesigner(lines);
  const Integer withLines = grid->RowHeight();
  ReadText("object Lines: TLinesDesigner\n  HorizLines = " + IntToStr(clNone) +
               "\n  CellSeparator = " + IntToStr(clRed) + "\nend\n",
           lines);
  EXPECT_EQ(lines->HorizLines(), clNone);
  EXPECT_EQ(lines->CellSeparator(), clRed);
  EXPECT_EQ(lines->RowLineWidth(), 0) << "no row line is reserved that is never drawn";
  EXPECT_EQ(grid->RowHeight(), withLines - 1) << "the grids laid out once loading ended";
  ReadText("object Lines: TLinesDesigner\n  HorizLines = 0\nend\n", lines);
  EXPECT_EQ(lines->RowLineWidth(), 1);
  EXPECT_EQ(grid->RowHeight(), withLines);
}

TEST_F(DesignerTest, AssignCopiesEverythingAndRelaysOutOnceAtTheEnd) {
  Make(20, 6);
  auto* target = Create<TLinesDesigner>(form);
  auto* source = Create<TLinesDesigner>(form);
  grid->SetDesigner(target);
  target->SetHorizLines(clNone);  // lines off: width 0
  const Integer withoutLines = grid->RowHeight();
  source->SetTitleColor(clYellow);
  source->SetFocusRectKind(frcPersistentRow);
  source->SetSelectedRowFill(true);
  source->SetUltraSoftSelectedCell(true);
  source->SetRowSeparator(clRed);
  source->SetFlatFooter(true);
  source->FooterFont()->SetColor(clRed);
  source->CellMargins()->SetLeftMargin(7);
  target->Assign(source);
  EXPECT_EQ(target->TitleColor(), clYellow);
  EXPECT_EQ(target->FocusRectKind(), frcPersistentRow);
  EXPECT_TRUE(target->SelectedRowFill());
  EXPECT_TRUE(target->UltraSoftSelectedCell());
  EXPECT_EQ(target->RowSeparator(), clRed);
  EXPECT_TRUE(target->FlatFooter());
  ASSERT_NE(target->FooterFontIfAny(), nullptr);
  EXPECT_EQ(target->FooterFontIfAny()->Color(), clRed);
  EXPECT_EQ(target->TitleFontIfAny(), nullptr) << "a font the source never made";
  EXPECT_EQ(target->CellMargins()->LeftMargin(), 7);
  // Lines came back with the copy: the width is asked again and the grids
  // relay out after the copy, not during it.
  EXPECT_EQ(target->RowLineWidth(), 1);
  EXPECT_EQ(target->RowHeightDuringCopy, withoutLines);
  EXPECT_EQ(grid->RowHeight(), withoutLines + 1);

  // Defaults copied over a designer whose lines were switched off.
  auto* fresh = Create<TLinesDesigner>(form);
  target->SetHorizLines(clNone);
  target->Assign(fresh);
  EXPECT_EQ(target->RowLineWidth(), 1);
  EXPECT_EQ(grid->RowHeight(), withoutLines + 1);
}

TEST_F(DesignerTest, FailedAssignStillRelaysOutAndNotifiesAgain) {
  Make(20, 6);
  auto* target = Create<TLinesDesigner>(form);
  auto* source = Create<TLinesDesigner>(form);
  grid->SetDesigner(target);
  const Integer withLines = grid->RowHeight();
  source->SetHorizLines(clNone);
  source->SetTitleColor(clYellow);
  target->FailCopy = true;
  EXPECT_THROW(target->Assign(source), Exception);
  // What was copied stays, and the grids laid out for it.
  EXPECT_EQ(target->TitleColor(), clYellow);
  EXPECT_EQ(target->RowLineWidth(), 0);
  EXPECT_EQ(grid->RowHeight(), withLines - 1);
  // The designer is no longer copying: changes reach the grids again.
  Pump();
  grid->Clips.clear();
  target->SetTitleColor(clAqua);
  EXPECT_FALSE(grid->Clips.empty());
}

TEST_F(DesignerTest, AssignRefusesOtherClasses) {
  Make(5, 3);
  auto* lines = Create<TLinesDesigner>(form);
  auto* option = Create<TOptionLinesDesigner>(form);
  lines->SetTitleColor(clYellow);
  EXPECT_THROW(option->Assign(lines), Exception);
  EXPECT_THROW(look->Assign(lines), Exception) << "a base of the source's class";
  EXPECT_EQ(option->TitleColor(), clBtnFace);
}

TEST_F(DesignerTest, FreedDesignerLeavesItsGridsOnTheDefault) {
  Make(10, 4);
  TPaintLogGrid* second = AddGrid(look);
  EXPECT_EQ(look->GridCount(), 2);
  TObject::Free(look);
  look = nullptr;
  for (TDBTabulon* g : {static_cast<TDBTabulon*>(grid), static_cast<TDBTabulon*>(second)}) {
    EXPECT_EQ(g->Designer(), nullptr);
    EXPECT_EQ(g->EffectiveDesigner(), DefaultDesigner());
  }
  EXPECT_TRUE(DefaultDesigner()->InheritsFrom(TtlBaseDesigner::StaticClass()));
  // And the grids still paint: the title band in the default's colour.
  grid->Invalidate();
  Pump();
  EXPECT_EQ(PixelAt(1, 1), Rgb(DefaultDesigner()->TitleColor()));
}

TEST_F(DesignerTest, RegisteredDefaultServesGridsWithoutADesigner) {
  Make(10, 4);
  TPaintLogGrid* plain = AddGrid(nullptr);
  TtlDesigner* builtIn = DefaultDesigner();
  ASSERT_EQ(plain->EffectiveDesigner(), builtIn);
  auto* lines = Create<TLinesDesigner>(nullptr);
  SetDefaultDesigner(lines);
  EXPECT_EQ(DefaultDesigner(), lines);
  EXPECT_EQ(plain->EffectiveDesigner(), lines) << "a grid on the default moves";
  EXPECT_EQ(grid->EffectiveDesigner(), look) << "a grid with its own designer stays";
  EXPECT_EQ(plain->RowHeight(), grid->RowHeight() + 1) << "laid out with the new line width";
  // The registered default going: its grids fall back on the built-in one.
  TObject::Free(lines);
  EXPECT_EQ(DefaultDesigner(), builtIn);
  EXPECT_EQ(plain->EffectiveDesigner(), builtIn);
  EXPECT_EQ(plain->Designer(), nullptr);
}

}  // namespace
}  // namespace brevant::test
