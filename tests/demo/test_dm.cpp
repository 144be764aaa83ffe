// DM read from its form text on a copy of the generated database: the
// tables, providers and client datasets open in order with the expected
// records, and every designer, vision and image list carries its settings.
#include <gtest/gtest.h>

#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/list_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/lookup_visions_v.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/standard_designer.h"
#include "bv_std/state_visions.h"
#include "db/client_dataset.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/provider.h"
#include "db/sqlite_table.h"
#include "demo/demo_test_util.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/imagelist.h"
#include "rtl/strutils.h"

namespace brevant::test {
namespace {

using DMTest = DemoModulesTest;

TEST_F(DMTest, TablesOpenWithTheDatabaseRecords) {
  TDM* dm = DM();
  ASSERT_NE(dm, nullptr);
  EXPECT_EQ(dm->Name(), "DM");
  struct Row {
    const char* name;
    TDataSet* dataSet;
    Integer records;
  } rows[] = {
      {"datIndustry", dm->datIndustry, 7},
      {"datVendorsSource", dm->datVendorsSource, 120},
      {"datVendorsSource2", dm->datVendorsSource2, 120},
      {"datVendors", dm->datVendors, 120},
  };
  for (const Row& row : rows) {
    ASSERT_NE(row.dataSet, nullptr) << row.name;
    EXPECT_TRUE(row.dataSet->Active()) << row.name;
    EXPECT_EQ(row.dataSet->RecordCount(), row.records) << row.name;
  }
  EXPECT_EQ(dm->datIndustry->TableName(), "indust");
  EXPECT_EQ(dm->datVendorsSource->TableName(), "main_vnd");
  EXPECT_EQ(dm->VendorsProvider->DataSet(), dm->datVendorsSource);
  EXPECT_EQ(dm->VendorsProvider2->DataSet(), dm->datVendorsSource2);
  EXPECT_EQ(dm->dsVendors->DataSet(), dm->datVendors);
  EXPECT_EQ(dm->dsPreferred->DataSet(), dm->datPreferred);
  EXPECT_EQ(dm->dsNonPreffered->DataSet(), dm->datNonPreffered);
  EXPECT_EQ(dm->dsVendorsSource->DataSet(), dm->datVendorsSource);
  EXPECT_EQ(dm->dsIndustry->DataSet(), dm->datIndustry);
}

// The Industry lookup resolves only because the industry table was open
// before the vendor table: opened the other way round it reads empty.
TEST_F(DMTest, IndustryLookupResolvesAgainstTheIndustryTable) {
  TSqliteTable* vendors = DM()->datVendorsSource;
  TField* industry = vendors->FindField("Industry");
  ASSERT_NE(industry, nullptr);
  EXPECT_EQ(industry->FieldKind(), fkLookup);
  Integer resolved = 0, unknown = 0;
  for (vendors->First(); !vendors->Eof(); vendors->Next()) {
    const String symbol = vendors->FieldByName("IndustryID")->AsString();
    if (symbol.empty()) continue;
    if (DM()->datIndustry->Locate("Symbol", Variant(symbol))) {
      EXPECT_EQ(industry->AsString(), DM()->datIndustry->FieldByName("Name")->AsString());
      ++resolved;
    } else {
      EXPECT_EQ(industry->AsString(), "") << symbol;
      ++unknown;
    }
  }
  EXPECT_GT(resolved, 100);
  EXPECT_EQ(unknown, 2);  // "Agri" is no industry
}

TEST_F(DMTest, ClientDatasetsSortByNameAndSplitByPreference) {
  TDM* dm = DM();
  EXPECT_EQ(dm->datVendors->IndexName(), "Default");
  for (TClientDataSet* ds : {dm->datVendors, dm->datPreferred, dm->datNonPreffered}) {
    ASSERT_NE(ds->IndexDefs()->Find("Default"), nullptr);
    EXPECT_EQ(ds->IndexDefs()->Find("Default")->Fields(), "VendorName");
    String previous;
    bool first = true;
    for (ds->First(); !ds->Eof(); ds->Next()) {
      const String name = ds->FieldByName("VendorName")->AsString();
      if (!first) {
        EXPECT_LE(CompareStr(previous, name), 0) << previous << " / " << name;
      }
      previous = name;
      first = false;
    }
  }
  Integer preferred = 0;
  for (dm->datPreferred->First(); !dm->datPreferred->Eof(); dm->datPreferred->Next()) {
    EXPECT_TRUE(dm->datPreferred->FieldByName("Preferred")->AsBoolean());
    ++preferred;
  }
  for (dm->datNonPreffered->First(); !dm->datNonPreffered->Eof(); dm->datNonPreffered->Next())
    EXPECT_FALSE(dm->datNonPreffered->FieldByName("Preferred")->AsBoolean());
  EXPECT_GT(preferred, 30);
  EXPECT_EQ(preferred + dm->datNonPreffered->RecordCount(), 120);
  // The overview's records are not in key order.
  dm->datVendors->First();
  EXPECT_NE(dm->datVendors->FieldByName("VendorNo")->AsInteger(), 1001);
}

// What the drag-and-drop page does with a vendor: the change goes through
// the second provider into the file, and the other filtered list shows it.
TEST_F(DMTest, PreferenceChangeReachesTheOtherListThroughTheProvider) {
  TClientDataSet* from = DM()->datNonPreffered;
  TClientDataSet* to = DM()->datPreferred;
  const Integer before = to->RecordCount();
  from->First();
  const Integer vendor = from->FieldByName("VendorNo")->AsInteger();
  from->Edit();
  from->FieldByName("Preferred")->SetAsBoolean(true);
  from->Post();
  EXPECT_EQ(from->ApplyUpdates(-1), 0) << from->ApplyError();
  to->Refresh();
  EXPECT_EQ(to->RecordCount(), before + 1);
  EXPECT_TRUE(to->Locate("VendorNo", Variant(vendor)));
  DM()->datVendorsSource2->Refresh();
  ASSERT_TRUE(DM()->datVendorsSource2->Locate("VendorNo", Variant(vendor)));
  EXPECT_TRUE(DM()->datVendorsSource2->FieldByName("Preferred")->AsBoolean());
}

TEST_F(DMTest, DesignersCarryTheirSettings) {
  TStandardDesigner* main = DM()->dsgnMain;
  EXPECT_EQ(main->Options(),
            (TStdDsgnOptions{dg3DTitle, dg3DFooter, dgMarginLines, dgBoundLines, dgHorizLines}));
  EXPECT_EQ(main->SelectedCellText(), clNone);
  EXPECT_EQ(main->SelectedRowText(), clNone);
  EXPECT_TRUE(main->UltraSoftSelectedCell());
  EXPECT_TRUE(main->UltraSoftSelectedRow());
  TLiteDesigner* lite = DM()->dsgnMainLite;
  EXPECT_EQ(lite->SelectedCellText(), clNone);
  EXPECT_EQ(lite->SelectedRowText(), clNone);
  EXPECT_TRUE(lite->UltraSoftSelectedCell());
  EXPECT_TRUE(lite->UltraSoftSelectedRow());
  EXPECT_EQ(lite->VertLines(), clSilver);
  EXPECT_EQ(lite->HorizLines(), clSilver);
  EXPECT_EQ(lite->TitleStyle(), ltsFlat);
}

TEST_F(DMTest, VisionsCarryTheirSettings) {
  TDM* dm = DM();
  EXPECT_EQ(dm->visCheckBox->BoxStyle(), cbvFlat);
  EXPECT_EQ(dm->visSoftCheckBox->BoxStyle(), cbv3DSoft);
  EXPECT_EQ(dm->visAddress->DropDownScrollBars(), ssVertical);

  TNumericVision* cool = dm->visCoolCount;
  EXPECT_EQ(cool->Images(), dm->imgCools);
  EXPECT_TRUE(cool->EnableButton());
  EXPECT_EQ(cool->ButtonStyle(), pbsSpin);
  EXPECT_EQ(cool->MinValue(), 1);
  EXPECT_EQ(cool->MaxValue(), 2000000000);
  EXPECT_EQ(cool->DropDownKind(), ndkCustom);
  EXPECT_TRUE(cool->OnDraw);

  TNumericVision* balance = dm->visBalance;
  EXPECT_EQ(balance->RelatedFields(), "DebitSum;CreditSum");
  EXPECT_TRUE(balance->ReadOnly());
  EXPECT_EQ(balance->DisplayFormat(), "#,");
  EXPECT_EQ(balance->DropDownKind(), ndkCustom);
  EXPECT_TRUE(balance->OnDraw);
  EXPECT_TRUE(balance->OnGetValue);

  EXPECT_TRUE(dm->visDebCred->EnableButton());
  EXPECT_EQ(dm->visDebCred->DropDownKind(), ndkCalculator);
  EXPECT_EQ(dm->visDebCred->DisplayFormat(), "0.00,");

  EXPECT_TRUE(dm->visEmail->EnableButton());
  EXPECT_EQ(dm->visEmail->ButtonStyle(), pbsCustom);
  EXPECT_FALSE(dm->visEmail->ButtonGlyph()->Empty());
  EXPECT_TRUE(dm->visEmail->OnButtonClick);
  EXPECT_EQ(dm->visPhone->EditMask(), "000-000-0000;1;_");
  EXPECT_TRUE(dm->visPhone->EnableButton());
  EXPECT_EQ(dm->visPhone->ButtonStyle(), pbsCustom);
  EXPECT_FALSE(dm->visPhone->ButtonGlyph()->Empty());
  EXPECT_NE(dm->visPhone->OnButtonClick, dm->visEmail->OnButtonClick);

  TStandardVision* state = dm->visUSState;
  EXPECT_EQ(state->PickList()->CommaText(), "CA,DA,FL,GA,IL,IN,MA,NH,NJ,NY,OH");
  EXPECT_EQ(state->PickListType(), pltSortedMRU);
  EXPECT_EQ(state->DropDownOptions(), (TfvDropDownOptions{ddoShowOnEnter, ddoNoFocusRect}));

  TVLookupVision* industry = dm->visIndustry;
  EXPECT_EQ(industry->Caption(), "Industry");
  EXPECT_EQ(industry->Images(), dm->imgIndustry);
  EXPECT_EQ(industry->DropDownWidth(), "48;");
  EXPECT_EQ(industry->DropDownOptions(), TfvDropDownOptions{ddoShowOnEnter});
  TVLookupParams* lookup = industry->LookupParams();
  EXPECT_EQ(lookup->DataSource(), dm->dsIndustry);
  EXPECT_EQ(lookup->KeyField(), "Symbol");
  EXPECT_EQ(lookup->LookupField(), "Name");
  EXPECT_EQ(lookup->ImageField(), "ImageIndex");
  EXPECT_EQ(lookup->DescriptionField(), "Symbol;Name");
  EXPECT_TRUE(lookup->Valid());
}

// Each picture of a list differs from every other one of the list.
void ExpectDistinctPictures(TImageList* list, Integer count, Integer size, const char* name) {
  ASSERT_EQ(list->Count(), count) << name;
  EXPECT_EQ(list->Width(), size) << name;
  EXPECT_EQ(list->Height(), size) << name;
  std::vector<std::vector<TColor>> pixels;
  for (Integer i = 0; i < count; ++i) {
    TBitmap bmp;
    bmp.SetSize(size, size);
    bmp.Canvas()->Brush()->SetColor(clWhite);
    bmp.Canvas()->FillRect(TRect(0, 0, size, size));
    list->Draw(bmp.Canvas(), 0, 0, i);
    std::vector<TColor> picture;
    Integer painted = 0;
    for (Integer y = 0; y < size; ++y)
      for (Integer x = 0; x < size; ++x) {
        picture.push_back(bmp.Canvas()->Pixels(x, y));
        painted += picture.back() != clWhite;
      }
    EXPECT_GT(painted, size) << name << " " << i << " is nearly empty";
    for (std::size_t j = 0; j < pixels.size(); ++j)
      EXPECT_NE(pixels[j], picture) << name << " " << j << " and " << i;
    pixels.push_back(picture);
  }
}

TEST_F(DMTest, ImageListsHoldOwnPictures) {
  ExpectDistinctPictures(DM()->imgGrid, 6, 24, "imgGrid");
  ExpectDistinctPictures(DM()->imgFieldVisions, 14, 24, "imgFieldVisions");
  ExpectDistinctPictures(DM()->imgBVMisc, 2, 24, "imgBVMisc");
  ExpectDistinctPictures(DM()->imgCools, 1, 16, "imgCools");
  ExpectDistinctPictures(DM()->imgIndustry, 7, 16, "imgIndustry");
}

}  // namespace
}  // namespace brevant::test
