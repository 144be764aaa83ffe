#include "demo/main_form_test_util.h"

#include "bv/column.h"
#include "bv/tabulon.h"
#include "bv_gcc/customizer_unit.h"
#include "demo/nav_test_points.h"

namespace brevant::test {

namespace {

// The column customizer for the whole binary (the overview's toolbar opens it).
class TCustomizerEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { StartCustomizerUnit(); }
  void TearDown() override { StopCustomizerUnit(); }
};

[[maybe_unused]] const auto* g_customizer =
    ::testing::AddGlobalTestEnvironment(new TCustomizerEnvironment);

}  // namespace

void MainFormTest::SetUp() {
  DemoModulesTest::SetUp();
  TMainForm::SetLayoutFolder(Folder());
  main = CreateMainForm(nullptr);
  main->Show();
  Pump();
}

void MainFormTest::TearDown() {
  TObject::Free(main);
  main = nullptr;
  TMainForm::SetLayoutFolder("");
  DemoModulesTest::TearDown();
}

String MainFormTest::Folder() const {
  const String db = DatabaseFile();
  return db.substr(0, db.size() - String("/Data/data.db").size());
}

void MainFormTest::ClickNavItem(Integer group, Integer item) {
  if (NavGroup() != group) {
    Offscreen().Click(NavHeaderPoint(main, group));
    Pump();
  }
  Offscreen().Click(NavItemPoint(main, item));
  Pump();
}

Integer MainFormTest::NavGroup() const {
  return NavOpenGroup(main);
}

Integer MainFormTest::NavItem() const {
  return NavSelectedItem(main);
}

void MainFormTest::ClickControl(TControl* control, Byte modifiers) {
  const TPoint p = control->ClientToScreen({control->Width() / 2, control->Height() / 2});
  Offscreen().MouseMove(p, modifiers);
  Offscreen().Click(p, bbLeft, modifiers);
  Pump();
}

void MainFormTest::ClickTitle(TDBTabulon* grid, TtlColumn* column, Byte modifiers) {
  const TRect r = column->TitleRect(false);
  const TPoint p = grid->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  Offscreen().MouseMove(p, modifiers);
  Offscreen().Click(p, bbLeft, modifiers);
  Pump();
}

void MainFormTest::ClickCell(TDBTabulon* grid, TtlColumn* column, Integer row, Byte modifiers) {
  const TRect r = column->CellRect(row, false, false);
  const TPoint p = grid->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  Offscreen().MouseMove(p, modifiers);
  Offscreen().Click(p, bbLeft, modifiers);
  Pump();
}

}  // namespace brevant::test
