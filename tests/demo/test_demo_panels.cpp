// The main form's property panels built on a test form that has the hosts:
// rows and their editing visions, properties edited through the edits with
// real keys and clicks reaching the live designers and visions at once, a
// tall panel scrolling, and the vision pages' standalone edits posting to
// the vendors table.
#include <gtest/gtest.h>

#include "bv/db_edit.h"
#include "bv/grid_params.h"
#include "bv/tabulon.h"
#include "bv_db/obj_dataset.h"
#include "bv_std/blob_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/lite_designer.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/pack.h"
#include "bv_std/standard_designer.h"
#include "bv_std/state_visions.h"
#include "bv_std/state_visions_xstate.h"
#include "controls/extctrls.h"
#include "controls/stdctrls.h"
#include "controls/stdctrls_test_util.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/sqlite_table.h"
#include "demo/demo_test_util.h"
#include "demo/mainform/main_panels.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "demo/modules/dm2.h"
#include "graphics/colors.h"
#include "rtl/stringlist.h"
#include "rtl/strutils.h"

namespace brevant::test {
namespace {

class PanelsTest : public DemoModulesTest {
 protected:
  void SetUp() override {
    DemoModulesTest::SetUp();
    form->SetBounds(0, 0, 640, 480);
    for (const char* name : {"pnLiteDesignerProps", "pnStdDesignerProps", "pnAutoSearchProps"}) {
      auto* host = Create<TPanel>(form);
      host->SetName(name);
      host->SetBounds(0, 0, 360, 460);
      host->SetVisible(false);
      host->SetParent(form);
    }
    grid = Create<TDBTabulon>(form);
    grid->SetName("tlAutoSearch");
    grid->SetVisible(false);
    grid->SetParent(form);
    auto* params = Create<TObjDataSet>(form);
    params->SetObjectRef(grid->ParamsAutoSearch());
    params->SetUseEditBuffer(false);
    params->Open();
    auto* source = Create<TDataSource>(form);
    source->SetName("dsAutoSearch");
    source->SetDataSet(params);
    notebook = Create<TNotebook>(form);
    notebook->SetName("NotebookVisions");
    notebook->SetBounds(0, 0, 360, 460);
    notebook->SetVisible(false);
    notebook->SetParent(form);
    for (const char* page :
         {"Default", "LiteVision", "StandardVision", "DateVision", "TimeVision", "NumericVision",
          "VLookupVision", "LookupVision", "XStateVision", "CheckBoxVision", "OwnerDrawVision",
          "MemoVision", "TextVision", "ImageVision", "PictureVision"})
      notebook->AddPage(page);
    BuildMainFormPanels(form);
    form->Show();
    Pump();
  }

  // Shows one host (a panel or a vision page) alone.
  void ShowHost(const char* name) {
    for (const char* host : {"pnLiteDesignerProps", "pnStdDesignerProps", "pnAutoSearchProps"})
      Control(host)->SetVisible(SameText(host, name));
    const Integer page = notebook->IndexOfPage(name);
    notebook->SetVisible(page >= 0);
    if (page >= 0) notebook->SetPageIndex(page);
    Pump();
  }
  TControl* Control(const String& name) const {
    return dynamic_cast<TControl*>(form->FindComponent(name));
  }
  TDBQuentaEdit* Edit(const String& name) const {
    auto* edit = dynamic_cast<TDBQuentaEdit*>(form->FindComponent(name));
    EXPECT_NE(edit, nullptr) << name;
    return edit;
  }
  // Clicks into the middle of an edit's text (the focus follows).
  void ClickInto(TControl* c, Integer x = -1) {
    Offscreen().Click(At(c, x < 0 ? c->Width() / 2 : x, c->Height() / 2));
    Pump();
  }
  static void Key(Word vk, Byte mods = 0) {
    Offscreen().PressKey(vk, mods);
    Pump();
  }
  static void Type(const String& text) {
    for (char c : text) {
      Offscreen().TypeText(String(1, c));
      Pump();
    }
  }
  // Replaces the whole text of the focused edit and presses Return.
  static void Retype(const String& text) {
    Key('A', bmCtrl);
    Key(VK_DELETE);
    Type(text);
    Key(VK_RETURN);
  }

  TDBTabulon* grid = nullptr;
  TNotebook* notebook = nullptr;
};

TEST_F(PanelsTest, RowsFollowTheFieldListsWithVisionsByPropertyKind) {
  TDM2* dm2 = DM2();
  TbvDefPack* pack = DefPack();
  auto stock = [pack](const char* name) {
    return dynamic_cast<TznFieldVision*>(pack->FindComponent(name));
  };
  struct TRow {
    const char* edit;        // the row's edit
    TznFieldVision* vision;  // the editing vision (nil: the default)
    bool label;              // a label precedes it
  };
  const TRow rows[] = {
      {"pnLiteDesignerProps_FlatFooter", DM()->visSoftCheckBox, false},
      {"pnLiteDesignerProps_TitleColor", pack->ColorPicker, true},
      {"pnLiteDesignerProps_TitleStyle", dm2->visLiteTitleStyle, true},
      {"pnStdDesignerProps_Options_dg3DTitle", DM()->visSoftCheckBox, false},
      {"DateVisionProps_MinDate", stock("Calendar"), true},
      {"TimeVisionProps_MaxTime", stock("TimeShort"), true},
      {"TimeVisionProps_EditFormatKind", dm2->visTimeEditFormatKind, true},
      {"StandardVisionProps_MaxLength", dm2->visMaxLen, true},
      {"StandardVisionProps_PickList", dm2->visMemoLoc, true},
      {"LiteVisionProps_ButtonGlyph", stock("Image"), true},
      {"NumericVisionProps_MaxValue", nullptr, true},
      {"CheckBoxVisionProps_BoxStyle", dm2->visCheckBoxStyle, true},
      {"TextVisionProps_DisplayAs", dm2->visBlobMarkerKind, true},
      {"pnAutoSearchProps_WndColor", pack->ColorPicker, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.edit);
    TDBQuentaEdit* edit = Edit(row.edit);
    if (!edit) continue;
    EXPECT_EQ(edit->Vision(), row.vision);
    EXPECT_EQ(form->FindComponent(String(row.edit) + "Label") != nullptr, row.label);
  }
  // A Boolean row's check box carries the field's name.
  EXPECT_EQ(Edit("pnLiteDesignerProps_FlatFooter")->Caption(), "FlatFooter");
  // Rows stack at edit height + 4, in the field list's order.
  const Integer top1 = Control("pnLiteDesignerProps_SelectedRowFill")->Top();
  const Integer top2 = Control("pnLiteDesignerProps_SelectedCellFill")->Top();
  EXPECT_EQ(top2 - top1, Control("pnLiteDesignerProps_SelectedRowFill")->Height() + 4);
  // A listed name that is no published property gets no row; the
  // owner-draw page has no panel rows, only its standalone edit.
  EXPECT_EQ(form->FindComponent("pnLiteDesignerProps_NoSuchProperty"), nullptr);
  EXPECT_NE(Edit("OwnerDrawVisionStandalone"), nullptr);
  auto* states = dynamic_cast<TDBTabulon*>(form->FindComponent("tlXStates"));
  ASSERT_NE(states, nullptr);
  EXPECT_EQ(states->DataSource(), dm2->dsXStateStates);
  auto* group = dynamic_cast<TGroupBox*>(form->FindComponent("LiteVisionGroup"));
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->Caption(), "Standalone editor");
}

TEST_F(PanelsTest, AColourTypedIntoThePanelRepaintsTheLiveDesigner) {
  ShowHost("pnLiteDesignerProps");
  ClickInto(Edit("pnLiteDesignerProps_TitleColor"), 60);
  Retype("clRed");
  EXPECT_EQ(DM2()->dsgnLite->TitleColor(), clRed);
  // The edit shows the swatch of the new colour once it loses the focus.
  ClickInto(Edit("pnLiteDesignerProps_FooterColor"), 60);
  TControl* edit = Control("pnLiteDesignerProps_TitleColor");
  EXPECT_TRUE(AnyPixel(edit, TRect(0, 0, 24, edit->Height()), clRed));
  // The auto-search panel writes the grid's parameters the same way.
  ShowHost("pnAutoSearchProps");
  ClickInto(Edit("pnAutoSearchProps_WndColor"), 60);
  Retype("clBlue");
  EXPECT_EQ(grid->ParamsAutoSearch()->WndColor(), clBlue);
}

TEST_F(PanelsTest, BooleansAndSetElementsSwitchBySpaceAndClick) {
  TLiteDesigner* lite = DM2()->dsgnLite;
  ShowHost("pnLiteDesignerProps");
  const bool flat = lite->FlatFooter();
  TDBQuentaEdit* edit = Edit("pnLiteDesignerProps_FlatFooter");
  edit->SetFocus();
  Pump();
  Key(VK_SPACE);
  EXPECT_EQ(lite->FlatFooter(), !flat);
  ClickInto(edit, 6);
  EXPECT_EQ(lite->FlatFooter(), flat);

  TStandardDesigner* std = DM2()->dsgnStd;
  ShowHost("pnStdDesignerProps");
  ASSERT_FALSE(std->Options().Contains(dg3DTitle));
  ClickInto(Edit("pnStdDesignerProps_Options_dg3DTitle"), 6);
  EXPECT_TRUE(std->Options().Contains(dg3DTitle));
  EXPECT_TRUE(std->Options().Contains(dgHorizLines));  // the other elements stay
}

TEST_F(PanelsTest, AnEnumerationStepsThroughItsNamedStates) {
  TLiteDesigner* lite = DM2()->dsgnLite;
  ShowHost("pnLiteDesignerProps");
  ASSERT_EQ(lite->TitleStyle(), ltsFlat);
  Edit("pnLiteDesignerProps_TitleStyle")->SetFocus();
  Pump();
  Key(VK_DOWN, bmAlt);  // the list of the named values
  Key(VK_DOWN);
  Key(VK_RETURN);
  EXPECT_EQ(lite->TitleStyle(), ltsNon3D);
  Key(VK_DOWN, bmAlt);
  Key(VK_UP);
  Key(VK_UP);
  Key(VK_RETURN);
  EXPECT_EQ(lite->TitleStyle(), lts3D);
}

TEST_F(PanelsTest, ALengthLimitReachesTheStandaloneEdit) {
  ShowHost("StandardVision");
  ClickInto(Edit("StandardVisionProps_MaxLength"), 20);
  Retype("3");
  EXPECT_EQ(DM2()->visStd->MaxLength(), 3);
  Key(VK_UP);  // the spin button steps it
  Key(VK_RETURN);
  EXPECT_EQ(DM2()->visStd->MaxLength(), 4);
  TDBQuentaEdit* standalone = Edit("StandardVisionStandalone");
  ClickInto(standalone, 20);
  Key('A', bmCtrl);
  Type("ABCDEFG");
  EXPECT_EQ(standalone->EditText(), "ABCD");
  Key(VK_ESCAPE);
}

TEST_F(PanelsTest, AStringListIsEditedAsLines) {
  TStrings* pickList = DM2()->visStd->PickList();
  ShowHost("StandardVision");
  TDBQuentaEdit* edit = Edit("StandardVisionProps_PickList");
  edit->SetFocus();
  Pump();
  Key('A', bmCtrl);
  Key(VK_DELETE);
  Type("TX");
  Key(VK_RETURN);  // a new line: the memo wants returns
  Type("WA");
  Key(VK_RETURN, bmCtrl);
  ASSERT_EQ(pickList->Count(), 2);
  EXPECT_EQ(pickList->Strings(0), "TX");
  EXPECT_EQ(pickList->Strings(1), "WA");
}

TEST_F(PanelsTest, ATallPanelScrollsItsRowsIntoView) {
  ShowHost("TextVision");
  auto* box = dynamic_cast<TScrollBox*>(form->FindComponent("TextVisionPropsBox"));
  ASSERT_NE(box, nullptr);
  ASSERT_GT(box->ContentSize().cy, box->ClientHeight());
  EXPECT_EQ(box->VertPosition(), 0);
  TControl* last = Control("TextVisionProps_DropDownOptionsEx_dtoNoSizing");
  ASSERT_LT(box->ClientHeight(), last->Top());
  // Built while the page was hidden, the rows still span the box's width.
  EXPECT_LE(last->Left() + last->Width(), box->ClientWidth());
  EXPECT_GE(last->Left() + last->Width(), box->ClientWidth() - 24);
  Edit("TextVisionProps_ReadOnly")->SetFocus();  // the wheel goes to the focus
  Pump();
  Offscreen().Wheel(At(box, 4, 20), -WHEEL_DELTA);
  Pump();
  EXPECT_GT(box->VertPosition(), 0);
  // Focusing the last row brings it fully into view.
  Edit("TextVisionProps_DropDownOptionsEx_dtoNoSizing")->SetFocus();
  Pump();
  EXPECT_GE(last->Top(), 0);
  EXPECT_LE(last->Top() + last->Height(), box->ClientHeight());
}

TEST_F(PanelsTest, AStandaloneEditPostsToTheVendorsTable) {
  ShowHost("StandardVision");
  TSqliteTable* vendors = DM()->datVendorsSource;
  const String name = vendors->FieldByName("VendorName")->AsString();
  TDBQuentaEdit* edit = Edit("StandardVisionStandalone");
  ClickInto(edit, 20);
  Retype("NY");
  EXPECT_EQ(vendors->FieldByName("State")->AsString(), "NY");
  // Read back from the file: the row was written, not only buffered.
  vendors->Close();
  vendors->Open();
  Goto(vendors, "VendorName", name);
  EXPECT_EQ(vendors->FieldByName("State")->AsString(), "NY");
}

}  // namespace
}  // namespace brevant::test
