// The gallery's page of list columns over the demonstration database: each
// list column of its grid drops its list down from a cell, a row is picked
// by key and posted into the vendor table.
#include <gtest/gtest.h>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/inplace_edit.h"
#include "bv/tabulon.h"
#include "bv_std/pack.h"
#include "bv_vtf/tool_form.h"
#include "controls/extctrls.h"
#include "controls/wincore.h"
#include "db/dataset.h"
#include "db/field.h"
#include "db/sqlite_table.h"
#include "demo/demo_test_util.h"
#include "demo/gallery.h"
#include "demo/lookup_page.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"

namespace brevant::test {
namespace {

class LookupPageTest : public DemoModulesTest {
 protected:
  void SetUp() override {
    DemoModulesTest::SetUp();
    static const bool added = (AddGalleryPage("Lookups", BuildLookupPage), true);
    (void)added;
    gallery = CreateGalleryForm(form);
    gallery->Show();
    Pump();
    dynamic_cast<TSpeedButton*>(gallery->FindComponent("PageLookups"))->Click();
    Pump();
    grid = dynamic_cast<TDBTabulon*>(gallery->FindComponent("LookupGrid"));
  }
  static void Key(Word vk, Byte mods = 0) {
    Offscreen().PressKey(vk, mods);
    Pump();
  }

  TForm* gallery = nullptr;
  TDBTabulon* grid = nullptr;
};

TEST_F(LookupPageTest, EachListColumnDropsDownFromACellAndPostsThePick) {
  ASSERT_NE(grid, nullptr);
  EXPECT_TRUE(grid->Showing());
  TDM* dm = DM();
  TDataSet* vendors = dm->datVendorsSource;
  TVisionToolForm* list = DefPack()->vtfDataList;
  TDBTabulon* listGrid = DefPack()->tlDataListList;
  struct TRow {
    const char* column;   // the grid column's field
    bool opensOnEnter;    // its vision drops down when the editor opens
    Integer listColumns;  // columns of the list
    const char* listKey;  // the list field whose value is posted
    const char* written;  // the vendor field that receives it
  };
  const TRow rows[] = {
      {"State", true, 1, "Value", "State"},
      {"Industry", false, 1, "Symbol", "IndustryID"},
      {"IndustryID", true, 2, "Symbol", "IndustryID"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.column);
    grid->SetFocus();
    Pump();
    TtlColumn* column = grid->Columns()->FindByFieldName(row.column);
    ASSERT_NE(column, nullptr);
    Key(VK_HOME);
    for (Integer i = 0; i < column->Index(); ++i) Key(VK_RIGHT);
    const Variant vendor = vendors->FieldByName("VendorNo")->AsVariant();
    Key(VK_F2);
    ASSERT_TRUE(grid->EditorShown());
    EXPECT_EQ(list->IsOpen(), row.opensOnEnter);
    if (!row.opensOnEnter) Key(VK_DOWN, bmAlt);
    ASSERT_TRUE(list->IsOpen());
    EXPECT_EQ(listGrid->Columns()->Count(), row.listColumns);
    const String was = vendors->FieldByName(row.written)->AsString();
    Key(VK_DOWN);  // the list moves from the cell's value to the next one
    const String picked = listGrid->DataSet()->FieldByName(row.listKey)->AsString();
    EXPECT_NE(picked, was);
    Key(VK_RETURN);  // posts the pick into the cell and closes the list
    EXPECT_FALSE(list->IsOpen());
    Key(VK_RETURN);  // closes the cell's editor
    Key(VK_RETURN);  // posts the record
    EXPECT_EQ(vendors->State(), dsBrowse);
    ASSERT_TRUE(vendors->Locate("VendorNo", vendor));
    EXPECT_EQ(vendors->FieldByName(row.written)->AsString(), picked);
  }
}

}  // namespace
}  // namespace brevant::test
