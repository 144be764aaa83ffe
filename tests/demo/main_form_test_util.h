// Helpers of the main form tests: the main form over the demonstration
// modules (each test in a fresh folder with a copy of the database, the
// layout file there too), the customizer unit for the binary, and real
// clicks on the navigation bar, tool buttons and grid cells.
#pragma once

#include "demo/demo_test_util.h"
#include "demo/mainform/main_form.h"

namespace brevant {
class TControl;
class TDBTabulon;
class TtlColumn;
}  // namespace brevant

namespace brevant::test {

class MainFormTest : public DemoModulesTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens group `group` of the navigation bar and clicks item `item` in it
  // with the mouse (scrolling the bar with its arrow when needed).
  void ClickNavItem(Integer group, Integer item);
  // The bar's open group and selected item.
  Integer NavGroup() const;
  Integer NavItem() const;
  // Clicks the middle of a control (tool buttons, buttons).
  void ClickControl(TControl* control, Byte modifiers = 0);
  // Clicks the title of column of grid / the cell of window row `row`.
  void ClickTitle(TDBTabulon* grid, TtlColumn* column, Byte modifiers = 0);
  void ClickCell(TDBTabulon* grid, TtlColumn* column, Integer row, Byte modifiers = 0);
  // The folder of the test (the working folder; the layout goes there).
  String Folder() const;

  TMainForm* main = nullptr;
};

}  // namespace brevant::test
