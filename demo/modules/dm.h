// TDM: the demonstration's first data module. It opens the vendor and
// industry tables of the demonstration database (Data/data.db under the
// working folder), feeds the client datasets of the overview and the two
// filtered drag-and-drop lists through providers, and holds the main
// designers, the visions of the overview grid and the image lists of the
// navigation bar and of the visions. Its layout comes from its own form
// text; the pictures are drawn when it is created.
#pragma once

#include "controls/datamodule.h"
#include "rtl/types.h"

namespace brevant {

class TCheckBoxVision;
class TClientDataSet;
class TDataSetProvider;
class TDataSource;
class TImageList;
class TLiteDesigner;
class TLiteVision;
class TNumericVision;
class TPictureVision;
class TSqliteTable;
class TStandardDesigner;
class TStandardVision;
class TTextVision;
class TtlFieldList;
class TtlPainter;
class TVLookupVision;

class TDM : public TDataModule {
  BV_CLASS(TDM, TDataModule)
 public:
  using TDataModule::TDataModule;

  // ---- the components of the form text ----
  TSqliteTable* datIndustry = nullptr;           // table indust
  TSqliteTable* datVendorsSource = nullptr;      // table main_vnd, with the Industry lookup
  TSqliteTable* datVendorsSource2 = nullptr;     // table main_vnd for the filtered lists
  TDataSetProvider* VendorsProvider = nullptr;   // feeds datVendors
  TDataSetProvider* VendorsProvider2 = nullptr;  // feeds the filtered lists
  TClientDataSet* datVendors = nullptr;          // all vendors, by name
  TClientDataSet* datPreferred = nullptr;        // preferred vendors
  TClientDataSet* datNonPreffered = nullptr;     // the other vendors
  TDataSource* dsVendors = nullptr;              // source of datVendors
  TDataSource* dsPreferred = nullptr;            // source of datPreferred
  TDataSource* dsNonPreffered = nullptr;         // source of datNonPreffered
  TDataSource* dsVendorsSource = nullptr;        // source of datVendorsSource
  TDataSource* dsIndustry = nullptr;             // source of datIndustry
  TStandardDesigner* dsgnMain = nullptr;         // the overview's standard designer
  TLiteDesigner* dsgnMainLite = nullptr;         // the overview's lite designer
  TCheckBoxVision* visCheckBox = nullptr;        // check box with defaults
  TCheckBoxVision* visSoftCheckBox = nullptr;    // check box, soft 3-D box
  TTextVision* visAddress = nullptr;             // addresses, vertical scroll bar
  TNumericVision* visCoolCount = nullptr;        // contract count with the star
  TNumericVision* visBalance = nullptr;          // debit minus credit, read-only
  TNumericVision* visDebCred = nullptr;          // sums with the calculator
  TLiteVision* visEmail = nullptr;               // e-mail with the mail button
  TLiteVision* visPhone = nullptr;               // phone number with its mask
  TStandardVision* visUSState = nullptr;         // state codes from a pick list
  TPictureVision* visPicture = nullptr;          // vendor pictures
  TVLookupVision* visIndustry = nullptr;         // industry symbol looked up by value
  TImageList* imgGrid = nullptr;                 // navigation icons of the grid pages
  TImageList* imgFieldVisions = nullptr;         // navigation icons of the vision pages
  TImageList* imgBVMisc = nullptr;               // navigation icons of the other pages
  TImageList* imgCools = nullptr;                // the star of busy vendors
  TImageList* imgIndustry = nullptr;             // one icon per industry

  // ---- handlers bound by the form text ----
  // Draws every picture of the module.
  void DataModuleCreate(TObject* sender);
  // A count above 50 shows the first image of imgCools.
  void visCoolCountDraw(TObject* sender, TtlFieldList* fields, TtlPainter* painter);
  // The balance: the second field minus the third (DebitSum - CreditSum).
  void visBalanceGetValue(TObject* sender, TtlFieldList* fields, Extended& value, bool& isNull);
  // A positive balance is drawn in red.
  void visBalanceDraw(TObject* sender, TtlFieldList* fields, TtlPainter* painter);
  // Opens a new mail to the address in the editor (see mail_address.h).
  void visEmailButtonClick(TObject* sender, TtlFieldList* fields);
  // Copies the phone number in the editor to the clipboard.
  void visPhoneButtonClick(TObject* sender, TtlFieldList* fields);

 protected:
  void Loaded() override;
};

// The balance of the current record of fields: false when a sum is null.
bool VendorBalance(TtlFieldList* fields, Extended& value);

}  // namespace brevant
