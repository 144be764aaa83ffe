// DM2 read from its form text: the live components and the object datasets
// that expose them, the panels' state visions, the industry added through
// the lookup-by-value vision's new-key handler (scripted message and input
// answers) and the owner-drawn vendor card.
#include <gtest/gtest.h>

#include "bv/db_edit.h"
#include "bv_db/obj_dataset.h"
#include "bv_std/blob_visions.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/lookup_visions.h"
#include "bv_std/lookup_visions_v.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/standard_designer.h"
#include "bv_std/state_visions.h"
#include "bv_std/state_visions_xstate.h"
#include "controls/dialogs.h"
#include "controls/stdctrls_test_util.h"
#include "controls/test_hooks.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/sqlite_table.h"
#include "demo/demo_test_util.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "demo/modules/dm2.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"

namespace brevant::test {
namespace {

using DM2Test = DemoModulesTest;

TEST_F(DM2Test, ObjectDatasetsExposeTheirComponentsLive) {
  TDM2* dm2 = DM2();
  ASSERT_NE(dm2, nullptr);
  struct Row {
    const char* name;
    TObjDataSet* dataSet;
    TComponent* component;
  } rows[] = {
      {"datLiteDsgn", dm2->datLiteDsgn, dm2->dsgnLite},
      {"datStdDsgn", dm2->datStdDsgn, dm2->dsgnStd},
      {"datLiteVis", dm2->datLiteVis, dm2->visLite},
      {"datStdVis", dm2->datStdVis, dm2->visStd},
      {"datDateVis", dm2->datDateVis, dm2->visDate},
      {"datTimeVis", dm2->datTimeVis, dm2->visTime},
      {"datNumericVis", dm2->datNumericVis, dm2->visNumeric},
      {"datVLookupVis", dm2->datVLookupVis, dm2->visVLookup},
      {"datLookupVis", dm2->datLookupVis, dm2->visLookup},
      {"datXStateVis", dm2->datXStateVis, dm2->visXState},
      {"datCheckBoxVis", dm2->datCheckBoxVis, dm2->visCheckBox},
      {"datOwnerDrawVis", dm2->datOwnerDrawVis, dm2->visOwnerDraw},
      {"datMemoVis", dm2->datMemoVis, dm2->visMemo},
      {"datTextVis", dm2->datTextVis, dm2->visText},
      {"datImageVis", dm2->datImageVis, dm2->visImage},
      {"datPictureVis", dm2->datPictureVis, dm2->visPicture},
  };
  for (const Row& row : rows) {
    ASSERT_NE(row.dataSet, nullptr) << row.name;
    EXPECT_EQ(row.dataSet->CompRef(), row.component) << row.name;
    EXPECT_TRUE(row.dataSet->Active()) << row.name;
    EXPECT_EQ(row.dataSet->RecordCount(), 1) << row.name;
    EXPECT_FALSE(row.dataSet->UseEditBuffer()) << row.name;
    EXPECT_EQ(row.dataSet->ParamsObject()->ExpandSets(), row.dataSet != dm2->datLiteDsgn)
        << row.name;
  }
  // A field written through the dataset changes the designer at once.
  TField* titleColor = dm2->datLiteDsgn->FieldByName("TitleColor");
  EXPECT_EQ(titleColor->AsInteger(), 10070190);
  dm2->datLiteDsgn->Edit();
  titleColor->SetAsInteger(clRed);
  dm2->datLiteDsgn->Post();
  EXPECT_EQ(dm2->dsgnLite->TitleColor(), clRed);
  // Set elements are fields of their own on the expanded datasets.
  TField* title3D = dm2->datStdDsgn->FieldByName("Options_dg3DTitle");
  EXPECT_FALSE(title3D->AsBoolean());
  EXPECT_TRUE(dm2->datStdDsgn->FieldByName("Options_dgMarginLines")->AsBoolean());
  dm2->datStdDsgn->Edit();
  title3D->SetAsBoolean(true);
  dm2->datStdDsgn->Post();
  EXPECT_TRUE(dm2->dsgnStd->Options().Contains(dg3DTitle));
  // The date and time visions' limits read null while unset.
  EXPECT_TRUE(dm2->datDateVis->FieldByName("MinDate")->IsNull());
  EXPECT_TRUE(dm2->datTimeVis->FieldByName("MaxTime")->IsNull());
}

TEST_F(DM2Test, ComponentsCarryTheirSettings) {
  TDM2* dm2 = DM2();
  TLiteDesigner* lite = dm2->dsgnLite;
  EXPECT_EQ(lite->TitleColor(), 10070190);
  EXPECT_EQ(lite->FooterColor(), 11845314);
  EXPECT_EQ(lite->FixedColor(), 12574687);
  EXPECT_EQ(lite->SelectedRowText(), clNone);
  EXPECT_FALSE(lite->SelectedCellFill());
  EXPECT_TRUE(lite->SelectedRowFill());
  EXPECT_TRUE(lite->UltraSoftSelectedRow());
  EXPECT_EQ(lite->VertLines(), clNone);
  EXPECT_EQ(lite->HorizLines(), clSilver);
  EXPECT_EQ(lite->FooterSurfaceColor(), 10070190);
  EXPECT_TRUE(lite->FlatFooter());
  EXPECT_EQ(lite->TitleStyle(), ltsFlat);
  EXPECT_EQ(dm2->dsgnStd->Options(), (TStdDsgnOptions{dgMarginLines, dgBoundLines, dgHorizLines}));

  EXPECT_EQ(dm2->visLite->EditMask(), "000-000-0000;1;_");
  EXPECT_EQ(dm2->visLite->ButtonStyle(), pbsCustom);
  EXPECT_FALSE(dm2->visLite->ButtonGlyph()->Empty());
  EXPECT_FALSE(dm2->visStd->Nullable());
  EXPECT_EQ(dm2->visStd->PickList()->CommaText(), DM()->visUSState->PickList()->CommaText());
  EXPECT_EQ(dm2->visStd->PickListType(), pltSortedMRU);
  EXPECT_EQ(dm2->visStd->DropDownOptions(), TfvDropDownOptions{ddoShowOnEnter});
  EXPECT_EQ(dm2->visDate->DisplayFormat(), "mmm dd, yyyy");
  EXPECT_EQ(dm2->visDate->DisplayFormatKind(), dfkCustom);
  EXPECT_EQ(dm2->visTime->DisplayFormat(), "hh:mm");
  EXPECT_EQ(dm2->visNumeric->DropDownKind(), ndkCalculator);
  EXPECT_TRUE(dm2->visNumeric->EnableButton());

  TVLookupVision* vlookup = dm2->visVLookup;
  EXPECT_EQ(vlookup->Caption(), "Industry - VLookup");
  EXPECT_EQ(vlookup->Images(), DM()->imgIndustry);
  EXPECT_EQ(vlookup->LookupParams()->DataSource(), DM()->dsIndustry);
  EXPECT_EQ(vlookup->LookupParams()->KeyField(), "Symbol");
  EXPECT_TRUE(vlookup->OnNewKey);
  EXPECT_EQ(dm2->visLookup->Caption(), "Industry - Lookup");
  EXPECT_EQ(dm2->visLookup->ListFields(), "Symbol;Name");
  EXPECT_EQ(dm2->visLookup->DropDownWidth(), "48;");

  TXStateVision* xstate = dm2->visXState;
  EXPECT_EQ(xstate->Caption(), "Industry - XState");
  EXPECT_EQ(xstate->Images(), DM()->imgIndustry);
  EXPECT_TRUE(xstate->ComboBoxStyle());
  EXPECT_EQ(xstate->SurfaceKind(), vskCustom);
  ASSERT_EQ(xstate->States()->Count(), 7);
  EXPECT_EQ(xstate->States()->Items(1)->FieldValue(), "Auto");
  EXPECT_EQ(xstate->States()->Items(1)->DisplayText(), "Auto & Truck");
  EXPECT_EQ(xstate->States()->Items(1)->ImageIndex(), 2);
  // The states as records, in order.
  TObjDataSet* states = dm2->datXStateStates;
  EXPECT_EQ(states->RecordCount(), 7);
  states->First();
  EXPECT_EQ(states->FieldByName("FieldValue")->AsString(), "Aero");
  EXPECT_EQ(states->FieldByName("DisplayText")->AsString(), "Aerospace/Defense");
  EXPECT_EQ(states->FieldByName("ImageIndex")->AsInteger(), 6);

  TOwnerDrawVision* owner = dm2->visOwnerDraw;
  EXPECT_EQ(owner->Caption(), "Overview");
  EXPECT_EQ(owner->RelatedFields(), "VendorName;Address");
  EXPECT_TRUE(owner->ReadOnly());
  EXPECT_TRUE(owner->OnDraw);
  EXPECT_TRUE(owner->OnDrawEdit);
  EXPECT_EQ(dm2->visMaxLen->ButtonStyle(), pbsSpin);
  EXPECT_FALSE(dm2->visMaxLen->Nullable());
  EXPECT_FALSE(dm2->visMemoLoc->EditWordWrap());
}

// Each panel vision maps the stored numbers to the captions, in order.
TEST_F(DM2Test, PanelStateVisionsMapValuesToCaptions) {
  TDM2* dm2 = DM2();
  struct Row {
    const char* name;
    TXStateVision* vision;
    std::vector<String> captions;
  } rows[] = {
      {"visLiteTitleStyle", dm2->visLiteTitleStyle, {"3D", "Flat", "Non3D"}},
      {"visAlignment", dm2->visAlignment, {"Default", "LeftJustify", "RightJustify", "Center"}},
      {"visButtonStyle", dm2->visButtonStyle, {"DropDown", "Ellipsis", "Spin", "Custom"}},
      {"visTimeEditFormatKind", dm2->visTimeEditFormatKind, {"Default", "HhMmSs", "HhMm", "Hh"}},
      {"visCheckBoxStyle", dm2->visCheckBoxStyle, {"3D", "3DSoft", "Mono", "Flat"}},
      {"visScrollBars", dm2->visScrollBars, {"None", "Horizontal", "Vertical", "Both"}},
      {"visBlobMarkerKind", dm2->visBlobMarkerKind, {"Default", "Icon", "Text"}},
      {"visSurfaceKind", dm2->visSurfaceKind, {"Edit", "Custom"}},
      {"visNumDropDownKind", dm2->visNumDropDownKind, {"Custom", "Calculator"}},
  };
  for (const Row& row : rows) {
    ASSERT_NE(row.vision, nullptr) << row.name;
    EXPECT_TRUE(row.vision->ComboBoxStyle()) << row.name;
    EXPECT_EQ(row.vision->SurfaceKind(), vskCustom) << row.name;
    ASSERT_EQ(row.vision->States()->Count(), static_cast<Integer>(row.captions.size())) << row.name;
    for (std::size_t i = 0; i < row.captions.size(); ++i) {
      EXPECT_EQ(row.vision->States()->Items(i)->FieldValue(), std::to_string(i)) << row.name;
      EXPECT_EQ(row.vision->States()->Items(i)->DisplayText(), row.captions[i]) << row.name;
    }
  }
}

class DM2NewKeyTest : public DemoModulesTest {
 protected:
  // An edit on the first vendor's IndustryID through the lookup-by-value
  // vision, with text typed over the whole value and Return pressed.
  void TypeIndustry(const String& text) {
    DM()->datVendorsSource->First();
    edit = AddEdit(DM()->dsVendorsSource, "IndustryID", DM2()->visVLookup);
    form->Show();
    edit->SetFocus();
    Pump();
    edit->SelectAll();
    Offscreen().TypeText(text);
    Pump();
    // The vision drops its list down on entry; Return with the list open
    // only closes it (nothing was picked there), the next one posts.
    if (edit->OpenToolForm()) {
      Offscreen().PressKey(VK_RETURN);
      Pump();
    }
    Offscreen().PressKey(VK_RETURN);
    Pump();
    // Escape gives up what was typed, should the key not have been posted.
    Offscreen().PressKey(VK_ESCAPE);
    Pump();
  }
  String KeyOfFirstVendor() {
    DM()->datVendorsSource->First();
    return DM()->datVendorsSource->FieldByName("IndustryID")->AsString();
  }

  TDBQuentaEdit* edit = nullptr;
};

TEST_F(DM2NewKeyTest, UnknownIndustryIsAddedUnderTheEnteredSymbol) {
  DM2()->visVLookup->SetAllowNewKeys(true);
  ScriptAnswer("MessageDlg", mrOk);
  ScriptAction("InputQuery", [](TObject* subject) {
    auto* query = static_cast<TInputQueryForm*>(subject);
    EXPECT_EQ(query->Caption(), "Adding new industry ...");
    EXPECT_EQ(query->Edit->Text(), "Agriculture");
    query->Edit->SetText("Agr");
    query->SetModalResult(mrOk);
  });
  TypeIndustry("Agriculture");
  ASSERT_EQ(ModalLog().size(), 2u);
  EXPECT_NE(ModalLog()[0].find("You are input \"Agriculture\". This industry does not exists"),
            String::npos)
      << ModalLog()[0];
  TSqliteTable* industries = DM()->datIndustry;
  EXPECT_EQ(industries->RecordCount(), 8);
  ASSERT_TRUE(industries->Locate("Symbol", Variant("Agr")));
  EXPECT_EQ(industries->FieldByName("Name")->AsString(), "Agriculture");
  EXPECT_EQ(industries->FieldByName("ImageIndex")->AsInteger(), -1);
  EXPECT_EQ(KeyOfFirstVendor(), "Agr");
}

// A blank symbol is no symbol: nothing is added.
TEST_F(DM2NewKeyTest, BlankSymbolAddsNothing) {
  DM2()->visVLookup->SetAllowNewKeys(true);
  const String before = KeyOfFirstVendor();
  ScriptAnswer("MessageDlg", mrOk);
  ScriptAction("InputQuery", [](TObject* subject) {
    auto* query = static_cast<TInputQueryForm*>(subject);
    query->Edit->SetText("   ");
    query->SetModalResult(mrOk);
  });
  TypeIndustry("Mining");
  EXPECT_EQ(ModalLog().size(), 2u);
  EXPECT_EQ(DM()->datIndustry->RecordCount(), 7);
  EXPECT_FALSE(DM()->datIndustry->Locate("Name", Variant("Mining")));
  EXPECT_EQ(KeyOfFirstVendor(), before);
}

TEST_F(DM2NewKeyTest, CancelledInputLeavesTheKeyAndTheTable) {
  DM2()->visVLookup->SetAllowNewKeys(true);
  const String before = KeyOfFirstVendor();
  ScriptAnswer("MessageDlg", mrOk);
  ScriptAnswer("InputQuery", mrCancel);
  TypeIndustry("Fishing");
  EXPECT_EQ(ModalLog().size(), 2u);
  EXPECT_EQ(DM()->datIndustry->RecordCount(), 7);
  EXPECT_EQ(KeyOfFirstVendor(), before);
}

// A symbol already taken fails to post: the insert is cancelled, so the
// industry table is browsing again and the vendor keeps its key.
TEST_F(DM2NewKeyTest, TakenSymbolLeavesTheTableBrowsing) {
  DM2()->visVLookup->SetAllowNewKeys(true);
  const String before = KeyOfFirstVendor();
  ScriptAnswer("MessageDlg", mrOk);
  ScriptAction("InputQuery", [](TObject* subject) {
    auto* query = static_cast<TInputQueryForm*>(subject);
    query->Edit->SetText("Aero");
    query->SetModalResult(mrOk);
  });
  TypeIndustry("Rockets");
  EXPECT_EQ(ModalLog().size(), 2u);
  EXPECT_NE(HandledMessage(), "");
  EXPECT_EQ(DM()->datIndustry->State(), dsBrowse);
  EXPECT_EQ(DM()->datIndustry->RecordCount(), 7);
  EXPECT_EQ(KeyOfFirstVendor(), before);
}

class DM2OwnerDrawTest : public DemoModulesTest {};

TEST_F(DM2OwnerDrawTest, CardShowsSplashNameAndAddressInsteadOfTheValue) {
  TSqliteTable* t = DM()->datVendorsSource;
  for (t->First(); t->FieldByName("Address")->IsNull() || t->FieldByName("VendorName")->IsNull();)
    t->Next();
  form->SetBounds(100, 100, 340, 160);
  TDBQuentaEdit* edit =
      AddEdit(DM()->dsVendorsSource, "DebitSum", DM2()->visOwnerDraw, TRect(0, 0, 320, 120));
  // A card taller than a line of text: the height is set, not fitted.
  edit->SetAutoSize(false);
  edit->SetHeight(120);
  form->Show();
  Pump();
  UpdateWindow(edit->Handle());
  TBitmap* splash = DM2()->Splash();
  const TRect face = edit->ClientRect();
  // Find the card's corner: the first pixel of the splash's top row.
  const TColor top = splash->Canvas()->Pixels(splash->Width() - 4, 0);
  Integer left = -1, topY = -1;
  for (Integer y = 0; y < 8 && left < 0; ++y)
    for (Integer x = 0; x < 8 && left < 0; ++x)
      if (Px(edit, x + splash->Width() - 4, y) == top) {
        left = x;
        topY = y;
      }
  ASSERT_GE(left, 0) << "the splash is not drawn at the face's corner";
  // The splash's lower left, below the name and left of the address.
  EXPECT_EQ(Px(edit, left + 2, topY + splash->Height() - 3),
            splash->Canvas()->Pixels(2, splash->Height() - 3));
  // The bold name at the top left: dark pixels in the first line.
  EXPECT_TRUE(AnyDark(edit, TRect(left + 2, topY + 2, left + 60, topY + 16)));
  // The address in white at the bottom right of the box.
  EXPECT_TRUE(AnyPixel(edit,
                       TRect(left + splash->Width() / 2, topY + splash->Height() / 2,
                             left + splash->Width() - 2, topY + splash->Height() - 2),
                       clWhite));
  // Right of the card nothing is drawn: no value text, only the face.
  const TRect beside(left + splash->Width() + 2, topY + 2, left + splash->Width() + 120,
                     topY + splash->Height() - 2);
  ASSERT_LE(beside.Right, face.Right - 4);
  EXPECT_FALSE(AnyDark(edit, beside));
  EXPECT_EQ(Px(edit, beside.Left + 20, beside.Top + 10), Rgb(edit->Color()));
  // The focused edit's cell carries the dotted focus frame along its top.
  ASSERT_TRUE(edit->Focused());
  EXPECT_TRUE(AnyDark(edit, TRect(beside.Left, topY, beside.Right, topY + 1)));
}

}  // namespace
}  // namespace brevant::test
