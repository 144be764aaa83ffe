// The main form driven with the mouse and keys: the navigation bar to every
// page, the overview's toolbar, the designer switch, the customizer, the
// designers' defaults, the About box and Alt+X, and repaint times.
#include <time.h>

#include <chrono>
#include <cstdio>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/db_edit.h"
#include "bv/tabulon.h"
#include "bv_gcc/customizer_unit.h"
#include "bv_std/lite_designer.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/standard_designer.h"
#include "bv_vtf/tool_form.h"
#include "controls/comctrls.h"
#include "controls/extctrls.h"
#include "controls/menus.h"
#include "controls/stdctrls.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "demo/main_form_test_util.h"
#include "demo/modules/about_form.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "demo/modules/dm2.h"
#include "demo/modules/dm3.h"
#include "demo/nav_test_points.h"
#include "graphics/bitmap.h"

namespace brevant::test {
namespace {

struct NavCase {
  const char* name;     // the item
  Integer group, item;  // where it is on the bar
  Integer page;         // the notebook page shown
  const char* caption;  // the caption band
};

const NavCase kNavCases[] = {
    {"Overview", 0, 0, 0, " DBTabulon overview"},
    {"LiteDesigner", 0, 1, 1, " Lite designer"},
    {"StandardDesigner", 0, 2, 2, " Standard designer"},
    {"DragAndDrop", 0, 3, 3, " Drag && Drop and MultiSelect"},
    {"AutoSearch", 0, 4, 4, " Auto search"},
    {"LiteVision", 1, 0, 5, " LiteVision overview"},
    {"NumericVision", 1, 4, 5, " NumericVision overview"},
    {"MemoVision", 1, 10, 5, " MemoVision overview"},
    {"PictureVision", 1, 13, 5, " PictureVision overview"},
    {"DropDownForms", 2, 0, 6, " DropDown forms"},
    {"ObjectDataSet", 2, 1, 7, " Object DataSet"},
};

TEST_F(MainFormTest, TheNavigationBarReachesEveryPageWithItsTitle) {
  EXPECT_EQ(main->Caption(), "Brevant demo application");
  EXPECT_EQ(main->Notebook->PageIndex(), 0);
  EXPECT_EQ(main->lbCaption->Caption(), " DBTabulon overview");
  for (const NavCase& c : kNavCases) {
    SCOPED_TRACE(c.name);
    ClickNavItem(c.group, c.item);
    EXPECT_EQ(NavGroup(), c.group);
    EXPECT_EQ(NavItem(), c.item);
    EXPECT_EQ(main->Notebook->PageIndex(), c.page);
    EXPECT_EQ(main->lbCaption->Caption(), c.caption);
    if (c.group == 1) {
      EXPECT_EQ(main->NotebookVisions->PageIndex(), c.item + 1);
    }
  }
}

TEST_F(MainFormTest, OpeningAGroupShowsItsFirstPage) {
  ClickNavItem(0, 3);
  Offscreen().Click(NavHeaderPoint(main, 2));
  Pump();
  EXPECT_EQ(main->Notebook->PageIndex(), 6);
  EXPECT_EQ(main->lbCaption->Caption(), " DropDown forms");
  EXPECT_EQ(NavItem(), 0);
  Offscreen().Click(NavHeaderPoint(main, 0));
  Pump();
  EXPECT_EQ(main->Notebook->PageIndex(), 0);
  EXPECT_EQ(NavItem(), 0);
}

TEST_F(MainFormTest, TheMemoVisionShowsTheLargeGridWithItsColumnCurrent) {
  ClickNavItem(1, 10);
  EXPECT_EQ(main->NotebookGrids->PageIndex(), 1);
  ASSERT_NE(main->tlFieldVisions2->CurrentColumnObject(), nullptr);
  EXPECT_EQ(main->tlFieldVisions2->CurrentColumnObject()->Tag(), 11);
  ClickNavItem(1, 4);
  EXPECT_EQ(main->NotebookGrids->PageIndex(), 0);
  EXPECT_EQ(main->tlFieldVisions->CurrentColumnObject()->Tag(), 5);
}

TEST_F(MainFormTest, EnteringAVisionColumnSelectsItsNavigationItem) {
  ClickNavItem(1, 0);
  TDBTabulon* grid = main->tlFieldVisions;
  ClickCell(grid, grid->Columns()->FindByTag(3), 1);  // DateVision
  EXPECT_EQ(NavItem(), 2);
  EXPECT_EQ(main->lbCaption->Caption(), " DateVision overview");
  ClickCell(grid, grid->Columns()->Items(0), 1);  // VendorName: tag 0, no change
  EXPECT_EQ(NavItem(), 2);
}

TEST_F(MainFormTest, TheToolbarTogglesTitlesFootersAndAutoWidth) {
  TDBTabulon* grid = main->tlOverview;
  EXPECT_TRUE(grid->ShowTitles());
  EXPECT_TRUE(grid->ShowFooters());
  EXPECT_FALSE(grid->AutoColumnFit());
  ClickControl(main->tbShowTitle);
  EXPECT_FALSE(grid->ShowTitles());
  ClickControl(main->tbShowFooter);
  EXPECT_FALSE(grid->ShowFooters());
  ClickControl(main->tbAutoWidth);
  EXPECT_TRUE(grid->AutoColumnFit());
  EXPECT_EQ(grid->Columns()->TotalWidth(), grid->ClientWidth());
  ClickControl(main->tbShowTitle);
  ClickControl(main->tbShowFooter);
  EXPECT_TRUE(grid->ShowTitles());
  EXPECT_TRUE(grid->ShowFooters());
  EXPECT_EQ(main->tbShowTitle->Hint(), "Show titles");
  EXPECT_EQ(main->tbLoadLayout->Hint(), "Load layout");
}

// The colour of the main form's pixel at a screen point.
TColor ScreenPixel(TForm* form, TPoint p) {
  const TRect frame = GetWindowRect(form->Handle());
  return Offscreen().Pixel(GetNativeWindow(form->Handle()), p.X - frame.Left, p.Y - frame.Top);
}

// The sanitizers multiply the processor time: no limit there.
#if defined(__SANITIZE_ADDRESS__)
constexpr double kRepaintLimitMs = 1e9;
#else
constexpr double kRepaintLimitMs = 50.0;
#endif

// Milliseconds of one full repaint of the form after `change`: the
// thread's processor time (the wall time is printed too; on a loaded
// machine it says more about the other processes).
double RepaintMs(TForm* form, const std::function<void()>& change) {
  timespec cpu0{}, cpu1{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu0);
  const auto start = std::chrono::steady_clock::now();
  change();
  PumpMessages();
  UpdateWindow(form->Handle());
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpu1);
  const double wall =
      std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  const double cpu = (cpu1.tv_sec - cpu0.tv_sec) * 1e3 + (cpu1.tv_nsec - cpu0.tv_nsec) / 1e6;
  std::printf("  repaint %.1f ms (wall %.1f ms)\n", cpu, wall);
  return cpu;
}

// The title band of a grid as screen pixels.
std::vector<TColor> TitlePixels(TForm* form, TDBTabulon* grid) {
  std::vector<TColor> pixels;
  for (Integer y = 0; y < grid->TitleHeight(); ++y)
    for (Integer x = 0; x < 300; x += 3)
      pixels.push_back(ScreenPixel(form, grid->ClientToScreen({x, y})));
  return pixels;
}

TEST_F(MainFormTest, TheDesignerSwitchRepaintsTheOverviewQuickly) {
  TDBTabulon* grid = main->tlOverview;
  const std::vector<TColor> standard = TitlePixels(main, grid);
  double worst = RepaintMs(main, [&] { ClickControl(main->tbLiteDesigner); });
  EXPECT_EQ(grid->Designer(), DM()->dsgnMainLite);
  EXPECT_FALSE(main->tbStandardDesigner->Down());
  const std::vector<TColor> lite = TitlePixels(main, grid);
  worst = std::max(worst, RepaintMs(main, [&] { ClickControl(main->tbStandardDesigner); }));
  EXPECT_EQ(grid->Designer(), DM()->dsgnMain);
  EXPECT_NE(standard, lite);
  EXPECT_EQ(TitlePixels(main, grid), standard);
  std::printf("designer switch repaint: %.1f ms at most\n", worst);
  EXPECT_LT(worst, kRepaintLimitMs);
}

TEST_F(MainFormTest, PageSwitchesRepaintQuickly) {
  double worst = 0;
  for (const NavCase& c : kNavCases) {
    std::printf("%s:\n", c.name);
    worst = std::max(worst, RepaintMs(main, [&] { main->SelectNavigationItem(c.group, c.item); }));
  }
  std::printf("page switch repaint: %.1f ms at most\n", worst);
  EXPECT_LT(worst, kRepaintLimitMs);
}

TEST_F(MainFormTest, TheCustomizeButtonOpensTheCustomizerForTheOverview) {
  ClickControl(main->tbCustomize);
  ASSERT_NE(OpenedCustomizer(), nullptr);
  EXPECT_NE(main->tlOverview->Customizer(), nullptr);
}

TEST_F(MainFormTest, TheDefaultsButtonsResetTheDesignersAndTheirPanels) {
  DM2()->dsgnLite->SetTitleColor(clRed);
  ClickNavItem(0, 1);
  ClickControl(main->btnDefaults);
  TObjectPtr<TLiteDesigner> fresh(Create<TLiteDesigner>(nullptr));
  EXPECT_EQ(DM2()->dsgnLite->TitleColor(), fresh->TitleColor());
}

TEST_F(MainFormTest, ThePanelsEditTheLiveDesignerAndVisionAtOnce) {
  ClickNavItem(0, 1);
  auto* showLines =
      dynamic_cast<TDBQuentaEdit*>(main->FindComponent("pnLiteDesignerProps_ShowLines"));
  ASSERT_NE(showLines, nullptr);
  const bool lines = DM2()->dsgnLite->ShowLines();
  showLines->SetFocus();
  Pump();
  Offscreen().PressKey(VK_SPACE);
  Pump();
  EXPECT_NE(DM2()->dsgnLite->ShowLines(), lines);

  ClickNavItem(1, 4);  // NumericVision
  auto* maxValue = dynamic_cast<TDBQuentaEdit*>(main->FindComponent("NumericVisionProps_MaxValue"));
  ASSERT_NE(maxValue, nullptr);
  ClickControl(maxValue);
  Offscreen().PressKey('A', bmCtrl);
  Pump();
  Offscreen().TypeText("777");
  Pump();
  Offscreen().PressKey(VK_RETURN);
  Pump();
  EXPECT_EQ(DM2()->visNumeric->MaxValue(), 777);
}

TEST_F(MainFormTest, TheScreenshotButtonCopiesTheStandaloneEditorBox) {
  ClickNavItem(1, 0);
  TPage* page = main->NotebookVisions->Pages(1);
  TGroupBox* box = nullptr;
  for (Integer i = 0; i < page->ControlCount() && !box; ++i) {
    auto* b = dynamic_cast<TGroupBox*>(page->Controls(i));
    if (b && b->Caption() == "Standalone editor") box = b;
  }
  ASSERT_NE(box, nullptr) << "the panels give every vision page its standalone editor";
  Pump();
  SetClipboardText("");
  main->Button1->Click();
  TObjectPtr<TBitmap> shot = MakeObject<TBitmap>();
  ASSERT_TRUE(GetClipboardBitmap(*shot));
  EXPECT_EQ(shot->Width(), box->Width());
  EXPECT_EQ(shot->Height(), box->Height());
}

TEST_F(MainFormTest, TheFlagsEditDropsDownTheRichTextForm) {
  ClickNavItem(2, 0);
  ASSERT_EQ(main->Notebook->PageIndex(), 6);
  ClickControl(main->edFlags);
  bool opened = false;
  ScriptAction("VisionToolForm", [&](TObject* subject) {
    opened = subject == static_cast<TObject*>(DM3()->vtfDemo);
    static_cast<TVisionToolForm*>(subject)->Close(false, false);
  });
  Offscreen().PressKey(VK_DOWN, bmAlt);
  Pump();
  EXPECT_TRUE(opened);
  EXPECT_FALSE(DM3()->vtfDemo->IsOpen());
}

TEST_F(MainFormTest, TheAboutBoxShowsModallyAndAltXCloses) {
  bool shown = false;
  ScriptAction("ShowModal", [&shown](TObject* form) {
    shown = form == static_cast<TObject*>(AboutForm());
    static_cast<TCustomForm*>(form)->SetModalResult(mrOk);
  });
  main->miAbout->Click();
  EXPECT_TRUE(shown);
  main->tlOverview->SetFocus();
  Pump();
  Offscreen().PressKey('X', bmAlt);
  Pump();
  EXPECT_FALSE(main->Visible());
}

}  // namespace
}  // namespace brevant::test
