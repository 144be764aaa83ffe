// The main form's property panels and the vision pages' standalone edits
// (see main_panels.h).
#include "demo/mainform/main_panels.h"

#include <algorithm>
#include <vector>

#include "bv/column.h"
#include "bv/columns.h"
#include "bv/db_edit.h"
#include "bv/designer.h"
#include "bv/tabulon.h"
#include "bv_std/blob_visions.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lookup_visions.h"
#include "bv_std/lookup_visions_v.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/state_visions.h"
#include "bv_std/state_visions_xstate.h"
#include "controls/extctrls.h"
#include "controls/forms.h"
#include "controls/stdctrls.h"
#include "db/datasource.h"
#include "demo/mainform/panel_rows.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "demo/modules/dm2.h"
#include "graphics/bitmap.h"
#include "rtl/strutils.h"

namespace brevant {

namespace {

// The elements of the option sets the field lists share.
#define BV_DROPDOWN_OPTIONS_3                                          \
  "DropDownOptions_ddoShowOnEnter", "DropDownOptions_ddoShowOnTyping", \
      "DropDownOptions_ddoAlwaysEnableAltDown"
#define BV_DROPDOWN_OPTIONS_4 BV_DROPDOWN_OPTIONS_3, "DropDownOptions_ddoNoFocusRect"
#define BV_SWITCH_OPTIONS \
  "OptionsSwitch_vsoEditDataSet", "OptionsSwitch_vsoNeedCurrent", "OptionsSwitch_vsoNeedEditing"
#define BV_DISABLED_ACTIONS                                                             \
  "DisabledActions_vdaClear", "DisabledActions_vdaLoad", "DisabledActions_vdaCut",      \
      "DisabledActions_vdaCopy", "DisabledActions_vdaPaste", "DisabledActions_vdaSave", \
      "DisabledActions_vdaPreview"

using TFieldNames = std::vector<const char*>;

// The designers' common colours and selection switches.
#define BV_DESIGNER_SELECTION \
  "SelectedRowFill", "SelectedCellFill", "UltraSoftSelectedCell", "UltraSoftSelectedRow"
#define BV_DESIGNER_COLORS                                                            \
  "FixedColor", "SelectedRow", "SelectedRowText", "SelectedCell", "SelectedCellText", \
      "FooterSurfaceColor", "FooterColor"

const TFieldNames kLiteDesignerFields = {BV_DESIGNER_SELECTION, "FlatFooter",      "TitleColor",
                                         "TitleStyle",          "VertLines",       "ShowLines",
                                         "HorizLines",          BV_DESIGNER_COLORS};
const TFieldNames kStdDesignerFields = {
    BV_DESIGNER_SELECTION, "Options_dg3DFooter", "Options_dg3DTitle", "Options_dgHorizBackground",
    "TitleColor",          "VertLines",          "HorizLines",        BV_DESIGNER_COLORS};
const TFieldNames kAutoSearchFields = {"CycleSearch",     "Enabled",  "Prompt",
                                       "SearchFromBegin", "WndColor", "WndTextColor",
                                       "EnablePrompt"};

// The standalone edit height that fits the owner-draw card's picture.
constexpr Integer kSplashSized = -1;

// One vision page: its property panel and its standalone edit.
struct TVisionPage {
  const char* Name;             // the vision kind, as on the navigation bar
  TDataSource* TDM2::*Props;    // DM2's source of the vision's properties
  TFieldNames Fields;           // the properties shown
  TznFieldVision* (*Vision)();  // the vision of the standalone edit
  const char* Field;            // the vendor field it edits
  Integer EditHeight;           // the standalone edit's height
};

template <class V, V* TDM2::*Member>
TznFieldVision* Dm2Vision() {
  return DM2()->*Member;
}

const TVisionPage kVisionPages[] = {
    {"LiteVision",
     &TDM2::dsLiteVis,
     {"ButtonGlyph", "ButtonStyle", "MaxLength", "ReadOnly", "EditReadOnly", "EditMask",
      "Alignment", "EnableButton"},
     Dm2Vision<TLiteVision, &TDM2::visLite>,
     "Phone",
     kPanelEditHeight},
    {"StandardVision",
     &TDM2::dsStdVis,
     {"Alignment", "EditMask", "MaxLength", "EditReadOnly", "ReadOnly", "EnableButton",
      "EnableDropDown", "ComboBoxStyle", "DropDownRows", "PickListValuesOnly", "PickList",
      "DropDownOptions_ddoShowOnEnter", "DropDownOptions_ddoShowOnTyping",
      "DropDownOptions_ddoNoFocusRect", "DropDownOptions_ddoAlwaysEnableAltDown"},
     Dm2Vision<TStandardVision, &TDM2::visStd>,
     "State",
     kPanelEditHeight},
    {"DateVision",
     &TDM2::dsDateVis,
     {"Alignment", "EditMask", "ReadOnly", "ComboBoxStyle", "DisplayFormat", "MinDate", "MaxDate",
      "SaveTime", "Nullable", "EnableDropDown", "Buttons_clbToday", "Buttons_clbClear",
      "Buttons_clbNoYearNavigator"},
     Dm2Vision<TDateVision, &TDM2::visDate>,
     "LastContractDate",
     kPanelEditHeight},
    {"TimeVision",
     &TDM2::dsTimeVis,
     {"Alignment", "DisplayFormat", "EditMask", "MaxTime", "MinTime", "ReadOnly", "SaveDate",
      "Nullable", "EditFormatKind", "EnableButton"},
     Dm2Vision<TTimeVision, &TDM2::visTime>,
     "LastContractDate",
     kPanelEditHeight},
    {"NumericVision",
     &TDM2::dsNumericVis,
     {"Alignment", "DisplayFormat", "EditMask", "ReadOnly", "Nullable", "MaxValue", "MinValue",
      "Step", "EditFormat", "ButtonStyle", "ButtonGlyph", "EnableButton", "DropDownKind"},
     Dm2Vision<TNumericVision, &TDM2::visNumeric>,
     "DebitSum",
     kPanelEditHeight},
    {"VLookupVision",
     &TDM2::dsVLookupVis,
     {"Alignment", "Nullable", "EditReadOnly", "ReadOnly", "EnableButton", "ComboBoxStyle",
      BV_DROPDOWN_OPTIONS_4, "EnableDropDown", "DropDownWidth", "DropDownRows", "AllowNewKeys"},
     Dm2Vision<TVLookupVision, &TDM2::visVLookup>,
     "IndustryID",
     kPanelEditHeight},
    {"LookupVision",
     &TDM2::dsLookupVis,
     {"Alignment", "EditReadOnly", "ReadOnly", "DropDownRows", "DropDownWidth", "EnableDropDown",
      "EnableButton", "ComboBoxStyle", "ListFields", "Nullable", BV_DROPDOWN_OPTIONS_4},
     Dm2Vision<TLookupVision, &TDM2::visLookup>,
     "Industry",
     kPanelEditHeight},
    {"XStateVision",
     &TDM2::dsXStateVis,
     {"SurfaceKind", "Nullable", "ReadOnly", "EnableButton", "ComboBoxStyle", "DropDownRows",
      "EnableDropDown", BV_DROPDOWN_OPTIONS_4, BV_SWITCH_OPTIONS, "EnableSwitches"},
     Dm2Vision<TXStateVision, &TDM2::visXState>,
     "IndustryID",
     kPanelEditHeight},
    {"CheckBoxVision",
     &TDM2::dsCheckBoxVis,
     {"Alignment", "Caption", "FullFocusRect", BV_SWITCH_OPTIONS, "ReadOnly", "BoxStyle"},
     Dm2Vision<TCheckBoxVision, &TDM2::visCheckBox>,
     "Preferred",
     kPanelEditHeight},
    {"OwnerDrawVision",
     &TDM2::dsOwnerDrawVis,
     {},
     Dm2Vision<TOwnerDrawVision, &TDM2::visOwnerDraw>,
     "DebitSum",
     kSplashSized},
    {"MemoVision",
     &TDM2::dsMemoVis,
     {"Alignment", "WantTabs", "WantReturns", "ReadOnly", "EditWordWrap", "EditReadOnly",
      "MaxLength", "EditScrollBars"},
     Dm2Vision<TMemoVision, &TDM2::visMemo>,
     "Address",
     3 * kPanelEditHeight},
    {"TextVision",
     &TDM2::dsTextVis,
     {"Alignment", "MaxLength", "DropDownScrollBars", "ReadOnly", "EnableButton", "ComboBoxStyle",
      "DropDownHeight", "DropDownWidth", "EnableDropDown", BV_DROPDOWN_OPTIONS_3, "DisplayAs",
      "DropDownOptionsEx_dtoNoHideScrollBars", "DropDownOptionsEx_dtoNoWantReturns",
      "DropDownOptionsEx_dtoNoAutoPost", "DropDownOptionsEx_dtoNoWantTabs",
      "DropDownOptionsEx_dtoNoWordWrap", "DropDownOptionsEx_dtoNoSizing"},
     Dm2Vision<TTextVision, &TDM2::visText>,
     "Address",
     kPanelEditHeight},
    {"ImageVision",
     &TDM2::dsImageVis,
     {"Alignment", "ReadOnly", "Center", "QuickDraw", "Stretch", BV_DISABLED_ACTIONS},
     Dm2Vision<TImageVision, &TDM2::visImage>,
     "Picture",
     96},
    {"PictureVision",
     &TDM2::dsPictureVis,
     {"Alignment", "ReadOnly", "EnableButton", "ComboBoxStyle", BV_DROPDOWN_OPTIONS_3,
      "EnableDropDown", "DropDownWidth", "DropDownHeight", BV_DISABLED_ACTIONS,
      "DropDownOptionsEx_dpoNoAutoSize", "DropDownOptionsEx_dpoNoSizing",
      "DropDownOptionsEx_dpoNoCenterPicture", "DropDownOptionsEx_dpoNoAutoPost"},
     Dm2Vision<TPictureVision, &TDM2::visPicture>,
     "Picture",
     kPanelEditHeight},
};

// Free space around the standalone edit inside its group box.
constexpr Integer kGroupMargin = 12;
// The group box caption's band above the edit.
constexpr Integer kGroupCaptionBand = 20;
// The standalone edit's width.
constexpr Integer kStandaloneWidth = 240;
// Rows of the XState page's grid of states.
constexpr Integer kStatesGridHeight = 120;

template <class T>
T* Find(TForm* form, const char* name) {
  return dynamic_cast<T*>(form->FindComponent(name));
}

// The group box "Standalone editor" at the bottom of page with a data-aware
// edit on the vendors table through the page's vision.
void AddStandaloneEditor(TForm* form, TWinControl* page, const TVisionPage& kind) {
  TBitmap* splash = DM2()->Splash();
  const bool card = kind.EditHeight == kSplashSized && splash;
  const Integer height = card ? splash->Height() + 4 : std::max(kind.EditHeight, kPanelEditHeight);
  const Integer width = card ? std::max(splash->Width() + 4, kStandaloneWidth) : kStandaloneWidth;
  auto* group = Create<TGroupBox>(form);
  group->SetName(String(kind.Name) + "Group");
  group->SetCaption("Standalone editor");
  group->SetHeight(height + kGroupCaptionBand + kGroupMargin);
  group->SetAlign(alBottom);
  group->SetParent(page);
  auto* edit = Create<TDBQuentaEdit>(form);
  edit->SetName(String(kind.Name) + "Standalone");
  edit->SetBounds(kGroupMargin, kGroupCaptionBand, width, height);
  edit->SetParent(group);
  edit->SetVision(kind.Vision());
  edit->SetDataField(kind.Field);
  edit->SetDataSource(DM()->dsVendorsSource);
}

// The XState page's grid of the vision's states.
void AddStatesGrid(TForm* form, TWinControl* page) {
  auto* grid = Create<TDBTabulon>(form);
  grid->SetName("tlXStates");
  grid->SetHeight(kStatesGridHeight);
  grid->SetAlign(alBottom);
  grid->SetParent(page);
  const struct {
    const char* Field;    // the state item's property
    const char* Caption;  // the column's title
    Integer Width;        // the column's width
  } columns[] = {
      {"FieldValue", "Value", 60}, {"DisplayText", "Text", 150}, {"ImageIndex", nullptr, 70}};
  for (const auto& c : columns) {
    TtlColumn* column = grid->Columns()->Add();
    column->SetFieldName(c.Field);
    column->SetWidth(c.Width);
    if (c.Caption) column->SetCaption(c.Caption);
  }
  if (auto* designer = Find<TtlDesigner>(form, "dsgnStates")) grid->SetDesigner(designer);
  grid->SetDataSource(DM2()->dsXStateStates);
}

void BuildVisionPages(TForm* form, TNotebook* notebook) {
  Integer index = 1;
  for (const TVisionPage& kind : kVisionPages) {
    if (index >= notebook->PageCount()) break;
    TPage* page = notebook->Pages(index++);
    AddStandaloneEditor(form, page, kind);
    if (SameText(kind.Name, "XStateVision")) AddStatesGrid(form, page);
    BuildPropertyRows(form, page, String(kind.Name) + "Props", DM2()->*kind.Props, kind.Fields);
  }
}

}  // namespace

void BuildMainFormPanels(TForm* form) {
  if (!form || !DM() || !DM2()) return;
  const struct {
    const char* Host;           // the host's name on the form
    TDataSource* Source;        // the dataset exposing the component
    const TFieldNames& Fields;  // the properties shown
  } panels[] = {
      {"pnLiteDesignerProps", DM2()->dsLiteDsgn, kLiteDesignerFields},
      {"pnStdDesignerProps", DM2()->dsStdDsgn, kStdDesignerFields},
      {"pnAutoSearchProps", Find<TDataSource>(form, "dsAutoSearch"), kAutoSearchFields},
  };
  for (const auto& panel : panels) {
    auto* host = Find<TWinControl>(form, panel.Host);
    if (host && panel.Source) BuildPropertyRows(form, host, panel.Host, panel.Source, panel.Fields);
  }
  if (auto* notebook = Find<TNotebook>(form, "NotebookVisions")) BuildVisionPages(form, notebook);
}

}  // namespace brevant
