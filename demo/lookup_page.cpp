// The gallery's page of list columns (see lookup_page.h).
#include "lookup_page.h"

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/tabulon.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lookup_visions.h"
#include "bv_std/lookup_visions_v.h"
#include "controls/forms.h"
#include "controls/stdctrls.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"

namespace brevant {

namespace {

// Adds a column of field to grid with caption, width and vision (nil: the
// default vision).
void AddColumn(TDBTabulon* grid, const char* field, const char* caption, Integer width,
               TznFieldVision* vision) {
  TtlColumn* column = grid->Columns()->Add();
  column->SetFieldName(field);
  column->SetCaption(caption);
  column->SetWidth(width);
  if (vision) column->SetVision(vision);
}

}  // namespace

void BuildLookupPage(TForm* gallery, TWinControl* page) {
  auto* label = Create<TLabel>(gallery);
  label->SetName("LookupLabel");
  label->SetBounds(8, 8, 460, 32);
  label->SetWordWrap(true);
  label->SetCaption(
      "Press F2 or type in a cell, then Alt+Down: State picks from a list, Industry from a "
      "lookup field, Industry ID looks its name up by value.");
  label->SetParent(page);
  TDM* dm = DM();
  if (!dm) return;
  auto* industry = Create<TLookupVision>(gallery);
  industry->SetName("LookupIndustryVision");
  auto* grid = Create<TDBTabulon>(gallery);
  grid->SetName("LookupGrid");
  grid->SetBounds(8, 44, 460, 300);
  grid->SetParent(page);
  AddColumn(grid, "VendorName", "Vendor", 150, nullptr);
  AddColumn(grid, "State", "State", 50, dm->visUSState);
  AddColumn(grid, "Industry", "Industry", 120, industry);
  AddColumn(grid, "IndustryID", "Industry ID", 120, dm->visIndustry);
  grid->SetDataSource(dm->dsVendorsSource);
}

}  // namespace brevant
