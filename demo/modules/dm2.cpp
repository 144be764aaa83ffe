#include "demo/modules/dm2.h"

#include "bv/cell_attrs.h"
#include "bv/field_list.h"
#include "bv/vision_painter.h"
#include "bv_db/obj_dataset.h"
#include "bv_rtm/draw_helpers.h"
#include "bv_std/blob_visions.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/lookup_visions.h"
#include "bv_std/lookup_visions_v.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/standard_designer.h"
#include "bv_std/state_visions.h"
#include "bv_std/state_visions_xstate.h"
#include "classes/rtti_builder.h"
#include "controls/dialogs.h"
#include "controls/form_resources.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/sqlite_table.h"
#include "demo/modules/demo_images.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/format.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

constexpr Integer kSplashWidth = 160;
constexpr Integer kSplashHeight = 96;

// Restores the canvas state saved at construction: clip, colours, modes
// and the font.
class TCanvasStateGuard {
 public:
  explicit TCanvasStateGuard(TCanvas* canvas) : canvas_(canvas), saved_(canvas->SaveDC()) {
    font_.Assign(canvas->Font());
  }
  ~TCanvasStateGuard() {
    canvas_->Font()->Assign(&font_);
    canvas_->RestoreDC(saved_);
  }
  TCanvasStateGuard(const TCanvasStateGuard&) = delete;
  TCanvasStateGuard& operator=(const TCanvasStateGuard&) = delete;

 private:
  TCanvas* canvas_;  // the canvas drawn on
  Integer saved_;    // its saved state
  TFont font_;       // its font at the start
};

String FieldText(TtlFieldList* fields, Integer index) {
  TField* field = fields->Fields(index);
  return field ? field->AsString() : String();
}

}  // namespace

BV_PUBLISH(TDM2, TDataModule) {
  p.Method<TNotifyEvent, &TDM2::DataModuleCreate>("DataModuleCreate");
  p.Method<TfvLkpNewKeyEvent, &TDM2::visVLookupNewKey>("visVLookupNewKey");
  p.Method<TfvDrawEvent, &TDM2::visOwnerDrawDraw>("visOwnerDrawDraw");
  p.Method<TfvDrawEditEvent, &TDM2::visOwnerDrawDrawEdit>("visOwnerDrawDrawEdit");
}

TDM2::TDM2(TComponent* owner) : TDataModule(owner), splash_(MakeObject<TBitmap>()) {}

TDM2::~TDM2() = default;

void TDM2::Loaded() {
  TDataModule::Loaded();
  BindDatasets();
  BindPanelVisions();
}

void TDM2::BindDatasets() {
  BindComponent(this, "dsgnLite", dsgnLite);
  BindComponent(this, "datLiteDsgn", datLiteDsgn);
  BindComponent(this, "dsLiteDsgn", dsLiteDsgn);
  BindComponent(this, "dsgnStd", dsgnStd);
  BindComponent(this, "datStdDsgn", datStdDsgn);
  BindComponent(this, "dsStdDsgn", dsStdDsgn);
  BindComponent(this, "visLite", visLite);
  BindComponent(this, "datLiteVis", datLiteVis);
  BindComponent(this, "dsLiteVis", dsLiteVis);
  BindComponent(this, "visStd", visStd);
  BindComponent(this, "datStdVis", datStdVis);
  BindComponent(this, "dsStdVis", dsStdVis);
  BindComponent(this, "visDate", visDate);
  BindComponent(this, "datDateVis", datDateVis);
  BindComponent(this, "dsDateVis", dsDateVis);
  BindComponent(this, "visTime", visTime);
  BindComponent(this, "datTimeVis", datTimeVis);
  BindComponent(this, "dsTimeVis", dsTimeVis);
  BindComponent(this, "visNumeric", visNumeric);
  BindComponent(this, "datNumericVis", datNumericVis);
  BindComponent(this, "dsNumericVis", dsNumericVis);
  BindComponent(this, "visVLookup", visVLookup);
  BindComponent(this, "datVLookupVis", datVLookupVis);
  BindComponent(this, "dsVLookupVis", dsVLookupVis);
  BindComponent(this, "visLookup", visLookup);
  BindComponent(this, "datLookupVis", datLookupVis);
  BindComponent(this, "dsLookupVis", dsLookupVis);
  BindComponent(this, "visXState", visXState);
  BindComponent(this, "datXStateVis", datXStateVis);
  BindComponent(this, "dsXStateVis", dsXStateVis);
  BindComponent(this, "datXStateStates", datXStateStates);
  BindComponent(this, "dsXStateStates", dsXStateStates);
  BindComponent(this, "visCheckBox", visCheckBox);
  BindComponent(this, "datCheckBoxVis", datCheckBoxVis);
  BindComponent(this, "dsCheckBoxVis", dsCheckBoxVis);
  BindComponent(this, "visOwnerDraw", visOwnerDraw);
  BindComponent(this, "datOwnerDrawVis", datOwnerDrawVis);
  BindComponent(this, "dsOwnerDrawVis", dsOwnerDrawVis);
  BindComponent(this, "visMemo", visMemo);
  BindComponent(this, "datMemoVis", datMemoVis);
  BindComponent(this, "dsMemoVis", dsMemoVis);
  BindComponent(this, "visText", visText);
  BindComponent(this, "datTextVis", datTextVis);
  BindComponent(this, "dsTextVis", dsTextVis);
  BindComponent(this, "visImage", visImage);
  BindComponent(this, "datImageVis", datImageVis);
  BindComponent(this, "dsImageVis", dsImageVis);
  BindComponent(this, "visPicture", visPicture);
  BindComponent(this, "datPictureVis", datPictureVis);
  BindComponent(this, "dsPictureVis", dsPictureVis);
}

void TDM2::BindPanelVisions() {
  BindComponent(this, "visLiteTitleStyle", visLiteTitleStyle);
  BindComponent(this, "visAlignment", visAlignment);
  BindComponent(this, "visButtonStyle", visButtonStyle);
  BindComponent(this, "visTimeEditFormatKind", visTimeEditFormatKind);
  BindComponent(this, "visCheckBoxStyle", visCheckBoxStyle);
  BindComponent(this, "visScrollBars", visScrollBars);
  BindComponent(this, "visBlobMarkerKind", visBlobMarkerKind);
  BindComponent(this, "visSurfaceKind", visSurfaceKind);
  BindComponent(this, "visNumDropDownKind", visNumDropDownKind);
  BindComponent(this, "visMaxLen", visMaxLen);
  BindComponent(this, "visMemoLoc", visMemoLoc);
}

void TDM2::DataModuleCreate(TObject*) {
  DrawPhoneGlyph(visLite->ButtonGlyph());
  DrawSplash(splash_.get(), kSplashWidth, kSplashHeight);
}

// A symbol that is empty once trimmed adds nothing; a failing insert (a
// symbol already taken) is cancelled, so the industry table never stays in
// insert state and the key stays unchanged.
void TDM2::visVLookupNewKey(TObject*, TtlFieldList*, const String& lookupValue,
                            TtlFieldValue* keyValue, bool&) {
  ShowMessage(Format(
      "OnNewKey event handler: You are input \"%s\". This industry does not exists in industries "
      "table. OnNewKey event handler is sutable place to add a new industry to industries table.",
      {lookupValue}));
  if (lookupValue.empty()) return;
  String symbol = lookupValue;
  if (!InputQuery("Adding new industry ...",
                  "Please input new industry symbol (short name):", symbol))
    return;
  symbol = Trim(symbol);
  if (symbol.empty()) return;
  TSqliteTable* industries = DM()->datIndustry;
  industries->Append();
  TScopeGuard cancel([industries] { industries->Cancel(); });
  industries->FieldByName("Symbol")->SetAsString(symbol);
  industries->FieldByName("Name")->SetAsString(lookupValue);
  industries->FieldByName("ImageIndex")->SetAsInteger(-1);
  industries->Post();
  cancel.Dismiss();
  keyValue->SetAsString(symbol);
}

void TDM2::visOwnerDrawDraw(TObject*, TtlFieldList* fields, TtlPainter* painter) {
  DrawVendorCard(fields, painter, splash_.get());
}

void TDM2::visOwnerDrawDrawEdit(TObject*, TtlFieldList* fields, TfvPainter* painter) {
  DrawVendorCard(fields, painter, splash_.get());
}

void DrawVendorCard(TtlFieldList* fields, TfvPainter* painter, TBitmap* splash) {
  TCanvas* canvas = painter->Canvas();
  const TRect cell = painter->OuterRect();
  {
    TCanvasStateGuard state(canvas);
    canvas->IntersectClipRect(cell);
    canvas->Draw(cell.Left, cell.Top, splash);
    canvas->Brush()->SetStyle(bsClear);
    canvas->Font()->SetStyle(TFontStyles{fsBold});
    canvas->TextOut(cell.Left + 2, cell.Top + 2, FieldText(fields, 1));
    canvas->Font()->SetStyle(TFontStyles{});
    canvas->Font()->SetColor(clWhite);
    const TRect box(cell.Left, cell.Top, cell.Left + splash->Width() - 2,
                    cell.Top + splash->Height() - 2);
    DrawTextAligned(canvas, box, FieldText(fields, 2), 1, 2, 0, 0, true, true, false);
    TtlCellAttrs* attrs = painter->CellAttrs();
    if (attrs && attrs->Focused && (!painter->GridMode() || attrs->FocusCell))
      painter->DrawFocusFrame(cell);
  }
  painter->SetDefaultDraw(false);
}

}  // namespace brevant
