// TDM2: the demonstration's second data module. It holds the designers and
// visions whose properties the property panels edit live, each exposed as
// one record by an object dataset (edit buffer off), the state visions that
// edit enumerated properties in those panels, and the handlers of the
// lookup-by-value and owner-draw visions. Its layout comes from its own form
// text; it refers to DM's industry data and images, so DM comes first.
#pragma once

#include <memory>

#include "controls/datamodule.h"
#include "rtl/object.h"

namespace brevant {

class TBitmap;
class TCheckBoxVision;
class TDataSource;
class TDateVision;
class TfvPainter;
class TImageVision;
class TLiteDesigner;
class TLiteVision;
class TLookupVision;
class TMemoVision;
class TNumericVision;
class TObjDataSet;
class TOwnerDrawVision;
class TPictureVision;
class TStandardDesigner;
class TStandardVision;
class TTextVision;
class TTimeVision;
class TtlFieldList;
class TtlFieldValue;
class TtlPainter;
class TVLookupVision;
class TXStateVision;

class TDM2 : public TDataModule {
  BV_CLASS(TDM2, TDataModule)
 public:
  explicit TDM2(TComponent* owner);
  ~TDM2() override;

  // ---- the live components and the object datasets exposing them ----
  TLiteDesigner* dsgnLite = nullptr;         // lite designer of its page
  TObjDataSet* datLiteDsgn = nullptr;        // its properties (sets not expanded)
  TDataSource* dsLiteDsgn = nullptr;         // source of datLiteDsgn
  TStandardDesigner* dsgnStd = nullptr;      // standard designer of its page
  TObjDataSet* datStdDsgn = nullptr;         // its properties
  TDataSource* dsStdDsgn = nullptr;          // source of datStdDsgn
  TLiteVision* visLite = nullptr;            // phone mask, custom button
  TObjDataSet* datLiteVis = nullptr;         // its properties
  TDataSource* dsLiteVis = nullptr;          // source of datLiteVis
  TStandardVision* visStd = nullptr;         // state codes, not nullable
  TObjDataSet* datStdVis = nullptr;          // its properties
  TDataSource* dsStdVis = nullptr;           // source of datStdVis
  TDateVision* visDate = nullptr;            // "mmm dd, yyyy"
  TObjDataSet* datDateVis = nullptr;         // its properties (TDate nullable)
  TDataSource* dsDateVis = nullptr;          // source of datDateVis
  TTimeVision* visTime = nullptr;            // "hh:mm"
  TObjDataSet* datTimeVis = nullptr;         // its properties (TTime nullable)
  TDataSource* dsTimeVis = nullptr;          // source of datTimeVis
  TNumericVision* visNumeric = nullptr;      // calculator drop-down
  TObjDataSet* datNumericVis = nullptr;      // its properties
  TDataSource* dsNumericVis = nullptr;       // source of datNumericVis
  TVLookupVision* visVLookup = nullptr;      // industry by value, new keys asked for
  TObjDataSet* datVLookupVis = nullptr;      // its properties
  TDataSource* dsVLookupVis = nullptr;       // source of datVLookupVis
  TLookupVision* visLookup = nullptr;        // the Industry lookup field
  TObjDataSet* datLookupVis = nullptr;       // its properties
  TDataSource* dsLookupVis = nullptr;        // source of datLookupVis
  TXStateVision* visXState = nullptr;        // industry symbols as seven states
  TObjDataSet* datXStateVis = nullptr;       // its properties
  TDataSource* dsXStateVis = nullptr;        // source of datXStateVis
  TObjDataSet* datXStateStates = nullptr;    // its States, one record each
  TDataSource* dsXStateStates = nullptr;     // source of datXStateStates
  TCheckBoxVision* visCheckBox = nullptr;    // check box with defaults
  TObjDataSet* datCheckBoxVis = nullptr;     // its properties
  TDataSource* dsCheckBoxVis = nullptr;      // source of datCheckBoxVis
  TOwnerDrawVision* visOwnerDraw = nullptr;  // the splash card with name and address
  TObjDataSet* datOwnerDrawVis = nullptr;    // its properties
  TDataSource* dsOwnerDrawVis = nullptr;     // source of datOwnerDrawVis
  TMemoVision* visMemo = nullptr;            // memo with defaults
  TObjDataSet* datMemoVis = nullptr;         // its properties
  TDataSource* dsMemoVis = nullptr;          // source of datMemoVis
  TTextVision* visText = nullptr;            // text with defaults
  TObjDataSet* datTextVis = nullptr;         // its properties
  TDataSource* dsTextVis = nullptr;          // source of datTextVis
  TImageVision* visImage = nullptr;          // image with defaults
  TObjDataSet* datImageVis = nullptr;        // its properties
  TDataSource* dsImageVis = nullptr;         // source of datImageVis
  TPictureVision* visPicture = nullptr;      // picture with defaults
  TObjDataSet* datPictureVis = nullptr;      // its properties
  TDataSource* dsPictureVis = nullptr;       // source of datPictureVis

  // ---- the panels' editing visions ----
  TXStateVision* visLiteTitleStyle = nullptr;      // 3D, Flat, Non3D
  TXStateVision* visAlignment = nullptr;           // Default .. Center
  TXStateVision* visButtonStyle = nullptr;         // DropDown .. Custom
  TXStateVision* visTimeEditFormatKind = nullptr;  // Default .. Hh
  TXStateVision* visCheckBoxStyle = nullptr;       // 3D .. Flat
  TXStateVision* visScrollBars = nullptr;          // None .. Both
  TXStateVision* visBlobMarkerKind = nullptr;      // Default, Icon, Text
  TXStateVision* visSurfaceKind = nullptr;         // Edit, Custom
  TXStateVision* visNumDropDownKind = nullptr;     // Custom, Calculator
  TNumericVision* visMaxLen = nullptr;             // integers with a spin button
  TMemoVision* visMemoLoc = nullptr;               // string lists, no word wrap

  // The picture the owner-draw vision draws in every cell; drawn at
  // creation, replaceable by the main form's own.
  TBitmap* Splash() const { return splash_.get(); }

  // ---- handlers bound by the form text ----
  // Draws the lite vision's glyph and the splash picture.
  void DataModuleCreate(TObject* sender);
  // Offers to add a typed industry to the industry table.
  void visVLookupNewKey(TObject* sender, TtlFieldList* fields, const String& lookupValue,
                        TtlFieldValue* keyValue, bool& doSkipPost);
  // Both draw the card: splash, bold name, address at the bottom right.
  void visOwnerDrawDraw(TObject* sender, TtlFieldList* fields, TtlPainter* painter);
  void visOwnerDrawDrawEdit(TObject* sender, TtlFieldList* fields, TfvPainter* painter);

 protected:
  void Loaded() override;

 private:
  void BindDatasets();
  void BindPanelVisions();

  TObjectPtr<TBitmap> splash_;  // the owner-draw card's picture
};

// Draws the owner-draw vision's card for the current record of fields into
// the painter's cell with splash as its picture, and tells the painter the
// cell is complete.
void DrawVendorCard(TtlFieldList* fields, TfvPainter* painter, TBitmap* splash);

}  // namespace brevant
