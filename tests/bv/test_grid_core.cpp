// The grid control itself: defaults and setters, failures, the freeze
// bracket, designers, column selection, the customizer entry, dialog codes,
// the data link's slots and streaming.
#include "bv/grid_messages.h"
#include "bv/grid_params.h"
#include "bv/selection.h"
#include "bv_rtm/border_style.h"
#include "bv_rtm/bv_errors.h"
#include "bv_rtm/object_text.h"
#include "controls/wincore.h"
#include "db/field.h"
#include "error_text.h"
#include "grid_test_util.h"
#include "rtl/format.h"
#include "rtl/streams.h"

namespace brevant::test {
namespace {

TEST_F(GridTest, NewGridDefaults) {
  TObjectPtr<TDBTabulon> g(Create<TDBTabulon>(nullptr));
  EXPECT_EQ(g->Width(), 340);
  EXPECT_EQ(g->Height(), 240);
  EXPECT_EQ(g->Color(), clWindow);
  EXPECT_FALSE(g->ParentColor());
  EXPECT_TRUE(g->TabStop());
  EXPECT_TRUE(g->ShowHint());
  EXPECT_EQ(g->BorderStyle(), bs3D);
  EXPECT_EQ(g->ScrollBars(), ssBoth);
  EXPECT_EQ(g->OptionsPickup(), (TtlOptionsPickup{gpoReturnKey, gpoDblClick}));
  EXPECT_TRUE(g->ShowTitles());
  EXPECT_FALSE(g->ShowFooters());
  EXPECT_EQ(g->CursorRow(), -1);
  EXPECT_EQ(g->CurrentColumn(), -1);
  EXPECT_EQ(g->StripStep(), -1);
  EXPECT_EQ(g->EffectiveDesigner(), DefaultDesigner());
  EXPECT_EQ(g->GetClientRect(), TRect(0, 0, 340, 240));  // no window yet
  EXPECT_TRUE(g->ControlStyle().Contains(csOpaque));
}

TEST_F(GridTest, SettersCheckTheirValues) {
  Build(5, 3);
  // StripStep takes -1 or steps above 1 and ignores the rest.
  struct TStripCase {
    const char* name;  // what is tried
    Integer value;     // the value set
    Integer expected;  // StripStep afterwards
  };
  const TStripCase strips[] = {
      {"one is ignored", 1, -1},
      {"zero is ignored", 0, -1},
      {"other negatives are ignored", -3, -1},
      {"two is taken", 2, 2},
  };
  for (const TStripCase& c : strips) {
    SCOPED_TRACE(c.name);
    grid->SetStripStep(c.value);
    EXPECT_EQ(grid->StripStep(), c.expected);
  }

  // Lines per band are positive; a refused value leaves the old one.
  struct TLinesCase {
    const char* name;                    // the band
    void (TDBTabulon::*set)(Integer);    // its setter
    Integer (TDBTabulon::*get)() const;  // its getter
    Integer value;                       // a refused value
  };
  const TLinesCase lines[] = {
      {"rows refuse zero", &TDBTabulon::SetRowLines, &TDBTabulon::RowLines, 0},
      {"titles refuse negatives", &TDBTabulon::SetTitleLines, &TDBTabulon::TitleLines, -1},
      {"footers refuse zero", &TDBTabulon::SetFootLines, &TDBTabulon::FootLines, 0},
  };
  for (const TLinesCase& c : lines) {
    SCOPED_TRACE(c.name);
    TDBTabulon* g = grid;
    EXPECT_EQ(ErrorOf([g, &c] { (g->*c.set)(c.value); }),
              Format("EBVError: Value must be positive (%d)", {c.value}));
    EXPECT_EQ((g->*c.get)(), 1);
  }

  // More lines per row make taller rows and fewer of them.
  const Integer oneLine = grid->RowHeight();
  grid->SetRowLines(2);
  EXPECT_GT(grid->RowHeight(), oneLine);
  EXPECT_LT(grid->FitRowCount(), 3);

  grid->SetBookmarkFields("A;$RECNO$;B;$recno$;C");
  EXPECT_EQ(grid->BookmarkFields(), "A;B;C");
  grid->SetBookmarkFields("$RECNO$");
  EXPECT_EQ(grid->BookmarkFields(), "");

  // Titles off: the rows start at the top.
  grid->SetShowTitles(false);
  EXPECT_EQ(grid->TitleAreaHeight(), 0);
  EXPECT_EQ(grid->RowRect(0).Top, 0);
}

TEST_F(GridTest, FreezeBracket) {
  Build(5, 3);
  grid->FreezeGrid();
  grid->FreezeGrid();
  EXPECT_FALSE(grid->PaintingEnabled());
  grid->Clips.clear();
  grid->InvalidateGrid();
  Pump();
  EXPECT_TRUE(grid->Clips.empty());  // nothing invalidates while frozen
  grid->UnfreezeGrid(true);
  EXPECT_FALSE(grid->PaintingEnabled());
  grid->UnfreezeGrid(true);
  EXPECT_TRUE(grid->PaintingEnabled());
  Pump();
  EXPECT_FALSE(grid->Clips.empty());  // the final unfreeze repaints everything
  try {
    grid->UnfreezeGrid(false);
    FAIL() << "no error";
  } catch (const EDBTabulon& e) {
    EXPECT_EQ(e.Message(), "Method call was cancelled (UnfreezeGrid)");
  }
  EXPECT_EQ(grid->FreezeCount(), 0);

  // A failing handler inside a bracket still ends it.
  grid->OnSelectionChange =
      TNotifyEvent::FromCallable([](TObject*) { throw EBVError("handler failed"); });
  ds->Close();
  EXPECT_THROW(ds->Open(), EBVError);
  EXPECT_EQ(grid->FreezeCount(), 0);
  EXPECT_TRUE(grid->PaintingEnabled());
}

TEST_F(GridTest, DesignerAttachment) {
  Build(5, 3);
  EXPECT_EQ(grid->EffectiveDesigner(), designer);
  EXPECT_EQ(designer->GridCount(), 1);
  const Integer defaultGrids = DefaultDesigner()->GridCount();
  grid->SetDesigner(nullptr);
  EXPECT_EQ(grid->EffectiveDesigner(), DefaultDesigner());
  EXPECT_EQ(designer->GridCount(), 0);
  EXPECT_EQ(DefaultDesigner()->GridCount(), defaultGrids + 1);

  // Freeing the assigned designer falls back to the default.
  auto* other = Create<TTestDesigner>(form, false);
  grid->SetDesigner(other);
  EXPECT_EQ(DefaultDesigner()->GridCount(), defaultGrids);
  TObject::Free(other);
  EXPECT_EQ(grid->Designer(), nullptr);
  EXPECT_EQ(grid->EffectiveDesigner(), DefaultDesigner());
  EXPECT_EQ(DefaultDesigner()->GridCount(), defaultGrids + 1);

  // A grid freed at run time leaves the default designer's list.
  TObject::Free(grid);
  grid = nullptr;
  EXPECT_EQ(DefaultDesigner()->GridCount(), defaultGrids);

  // Margins re-measure the designer's grids.
  Build(5, 3);
  const Integer height = grid->RowHeight();
  designer->CellMargins()->SetTopMargin(10);
  EXPECT_EQ(grid->RowHeight(), height + 8);
  EXPECT_THROW(designer->CellMargins()->SetTopMargin(-1), EBVError);
}

TEST_F(GridTest, SelectColumnEvents) {
  Build(5, 3);
  std::vector<String> log;
  auto logger = [&](const char* what) {
    return TtlColEvent::FromCallable(
        [&log, what](TObject*, Integer col) { log.push_back(what + IntToStr(col)); });
  };
  grid->OnColExiting = logger("exiting ");
  grid->OnColExit = logger("exit ");
  grid->OnColEnter = logger("enter ");
  EXPECT_EQ(grid->CurrentColumn(), 0);  // the first selectable column
  grid->SelectColumn(1);
  EXPECT_EQ(grid->CurrentColumn(), 1);
  grid->SelectColumn(1);  // unchanged: no events
  grid->SelectColumn(-1);
  EXPECT_EQ(log, (std::vector<String>{"exiting 0", "enter 1", "exiting 1", "exit 1", "enter -1"}));
  EXPECT_EQ(grid->CurrentColumn(), -1);
  try {
    grid->SelectColumn(2);
    FAIL() << "no error";
  } catch (const EBVError& e) {
    EXPECT_EQ(e.Message(), "Index is out of range (2/2)");
  }
  grid->Columns()->Items(0)->SetVisible(false);
  try {
    grid->SelectColumn(0);
    FAIL() << "no error";
  } catch (const EDBTabulon& e) {
    EXPECT_EQ(e.Message(), "Unable to select column (0)");
  }
  // Hiding the current column moves the current column to a selectable one.
  grid->SelectColumn(1);
  grid->Columns()->Items(0)->SetVisible(true);
  grid->Columns()->Items(1)->SetVisible(false);
  EXPECT_EQ(grid->CurrentColumn(), 0);
}

TEST_F(GridTest, CustomizerListsAndProtocol) {
  Build(5, 3);
  grid->Columns()->Items(1)->SetVisible(false);
  grid->Columns()->Items(1)->SetCaption("The name");
  String names, captions, shown;
  bool hidden = false;
  CustomizerHook = [&](TDBTabulon*, const String& n, const String& c, const String& s, bool h) {
    names = n;
    captions = c;
    shown = s;
    hidden = h;
  };
  grid->ShowCustomizer(true, "", "");
  EXPECT_EQ(names, "ID;Name");
  EXPECT_EQ(captions, "ID;The name");
  EXPECT_EQ(shown, "ID");
  EXPECT_TRUE(hidden);
  grid->ShowCustomizer(false, "id", "");
  EXPECT_EQ(names, "Name");
  EXPECT_EQ(shown, "ID");
  CustomizerHook = nullptr;

  // Attach, an action with a column, detach.
  std::vector<Integer> actions;
  TtlColumn* seen = nullptr;
  grid->OnCustomizerAction =
      TtlCustomizerActionEvent::FromCallable([&](TObject*, TtlCustomizerAction a, TtlColumn* c) {
        actions.push_back(a);
        seen = c;
      });
  // The customizer hands over itself; the grid lists its window.
  grid->Perform(WM_TL_CUSTOMIZER, gcaAttach, reinterpret_cast<LPARAM>(form));
  EXPECT_EQ(grid->Customizer(), form);
  EXPECT_EQ(CustomizerWindows(), std::vector<HWND>{form->Handle()});
  grid->Perform(WM_TL_CUSTOMIZER, 2, reinterpret_cast<LPARAM>(grid->Columns()->Items(0)));
  EXPECT_EQ(seen, grid->Columns()->Items(0));
  grid->Perform(WM_TL_CUSTOMIZER, gcaDetach, 0);
  EXPECT_TRUE(CustomizerWindows().empty());
  EXPECT_EQ(grid->Customizer(), nullptr);
  EXPECT_EQ(actions, (std::vector<Integer>{0, 2, 1}));
}

TEST_F(GridTest, DialogCodes) {
  Build(5, 3);
  auto code = [&] { return grid->Perform(WM_GETDLGCODE, 0, 0); };
  EXPECT_EQ(code(), DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
  grid->SetReadOnly(true);
  grid->SetWantReturns(false);
  EXPECT_EQ(code(), DLGC_WANTARROWS | DLGC_WANTTAB);
  grid->ParamsAutoSearch()->SetEnabled(true);
  EXPECT_EQ(code(), DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTCHARS);
  grid->SetRowSelect(true);
  EXPECT_EQ(code(), DLGC_WANTARROWS | DLGC_WANTCHARS);
  // Return is wanted while editing or with WantReturns; Escape while editing.
  EXPECT_EQ(grid->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0), 0);
  ds->Edit();
  EXPECT_EQ(grid->Perform(CM_WANTSPECIALKEY, VK_RETURN, 0), 1);
  EXPECT_EQ(grid->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 1);
  ds->Cancel();
  EXPECT_EQ(grid->Perform(CM_WANTSPECIALKEY, VK_ESCAPE, 0), 0);
}

TEST_F(GridTest, LinkSlotsDoNotFallBack) {
  Build(5, 3);
  std::vector<String> log;
  TDataLinkEx link;
  link.OnDataSetChanged =
      TDataLinkExEvent::FromCallable([&](TDataLinkEx*) { log.push_back("changed"); });
  link.OnRecordChanged = TDataLinkExFieldEvent::FromCallable(
      [&](TDataLinkEx*, TField* f) { log.push_back("record " + (f ? f->FieldName() : "nil")); });
  link.OnFocusControl = TDataLinkExFocusEvent::FromCallable([&](TDataLinkEx*, TField*& f) {
    log.push_back("focus " + f->FieldName());
    f = nullptr;
  });
  link.SetDataSource(src);
  ds->Refresh();  // a data change alone: no record change
  EXPECT_EQ(log, (std::vector<String>{"changed"}));
  log.clear();
  ds->FieldByName("Name")->FocusControl();
  EXPECT_EQ(log, (std::vector<String>{"focus Name"}));
  link.SetDataSource(nullptr);
}

TEST_F(GridTest, StreamsItsPublishedInterface) {
  Build(5, 3);
  grid->SetRowLines(2);
  grid->SetStripStep(3);
  grid->SetCursorType(gctInsensitiveID);
  grid->SetOptionsBehavior(TtlOptionsBehavior{gboNoColumnSizing, gboNoInsideDragTrack});
  grid->Columns()->Items(1)->SetWidth(80);
  const String text = ComponentToStr(grid, true);
  EXPECT_NE(text.find("RowLines = 2"), String::npos) << text;
  EXPECT_NE(text.find("gboNoInsideDragTrack"), String::npos);
  EXPECT_EQ(text.find("TabStop"), String::npos);  // defaults are not written

  TObjectPtr<TDBTabulon> copy(Create<TDBTabulon>(nullptr));
  StrToComponent(copy.get(), text, true);
  EXPECT_EQ(copy->RowLines(), 2);
  EXPECT_EQ(copy->StripStep(), 3);
  EXPECT_EQ(copy->CursorType(), gctInsensitiveID);
  EXPECT_EQ(copy->OptionsBehavior(), grid->OptionsBehavior());
  ASSERT_EQ(copy->Columns()->Count(), 2);
  EXPECT_EQ(copy->Columns()->Items(1)->FieldName(), "Name");
  EXPECT_EQ(copy->Columns()->Items(1)->Width(), 80);
}

}  // namespace
}  // namespace brevant::test

namespace brevant::test {
namespace {

TEST_F(GridTest, BorderStylesFrameTheClientArea) {
  Build(3, 3);
  grid->SetScrollBars(ssNone);
  const Integer width = grid->Width();
  EXPECT_EQ(grid->ClientWidth(), width);  // bsNoBorder
  struct TBorderCase {
    const char* name;      // the border
    TznBorderStyle style;  // its kind
    Integer frame;         // pixels it takes from the client width
  };
  const TBorderCase borders[] = {
      {"the client edge", bs3D, 4},
      {"a soft edge", bsSoft, 2},
      {"a flat edge with a frame", bsFlatExt, 4},
  };
  for (const TBorderCase& c : borders) {
    SCOPED_TRACE(c.name);
    grid->SetBorderStyle(c.style);
    EXPECT_EQ(grid->ClientWidth(), width - c.frame);
  }
  Pump();
  // The window was recreated each time and still shows the records.
  EXPECT_EQ(grid->RowCount(), grid->FitRowCount());
  EXPECT_EQ(WindowIDs().front(), 1);
  // The flat outer edge is painted; the inner frame takes the grid's colour.
  EXPECT_NE(PixelAt(-2, 5), ColorToRGB(clWindow));
  EXPECT_EQ(PixelAt(-1, 5), ColorToRGB(clWindow));
}

}  // namespace
}  // namespace brevant::test

namespace brevant::test {
namespace {

// A form holding a grid, written as text and read back as a new form: the
// grid is created by class name and lays itself out once loaded.
TEST_F(GridTest, ReadsFromAFormText) {
  RegisterGridClasses();
  Build(5, 3);
  grid->SetTitleLines(2);
  grid->Columns()->Items(0)->SetCaption("Number");
  TObject::Free(designer);  // the test designer's class is not registered
  designer = nullptr;
  const String text = ComponentToStr(form, true);
  EXPECT_NE(text.find("object Grid: TPaintLogGrid"), String::npos) << text;

  // The same layout under the registered grid class.
  String plain = text;
  plain.replace(plain.find("TPaintLogGrid"), 13, "TDBTabulon");
  TObjectPtr<TForm> copy(Create<TForm>(nullptr));
  StrToComponent(copy.get(), plain, true);
  auto* read = TryAs<TDBTabulon>(copy->FindComponent("Grid"));
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->Parent(), copy.get());
  EXPECT_EQ(read->TitleLines(), 2);
  ASSERT_EQ(read->Columns()->Count(), 2);
  EXPECT_EQ(read->Columns()->Items(0)->Caption(), "Number");
  EXPECT_EQ(read->Columns()->GroupCount(), 2);  // laid out in Loaded
  EXPECT_EQ(read->CurrentColumn(), 0);
  EXPECT_EQ(read->TitleHeight(), grid->TitleHeight());
}

}  // namespace
}  // namespace brevant::test
