// DM3 read from its form text: the rich-text drop-down's parts, the
// selection's font through the object dataset, the style buttons, and the
// drop-down opened from an edit (status bar on the background window, the
// edit's font in the editor) and closed again.
#include <gtest/gtest.h>

#include "bv/db_edit.h"
#include "bv_db/obj_dataset.h"
#include "bv_rtm/bv_errors.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/numeric_vision.h"
#include "bv_vtf/tool_form.h"
#include "bv_vtf/tool_form_bg.h"
#include "controls/application.h"
#include "controls/comctrls.h"
#include "controls/extctrls.h"
#include "controls/richedit.h"
#include "controls/stdctrls.h"
#include "controls/test_hooks.h"
#include "db/datasource.h"
#include "db/field.h"
#include "db/sqlite_table.h"
#include "demo/demo_test_util.h"
#include "demo/modules/demo_modules.h"
#include "demo/modules/dm.h"
#include "demo/modules/dm3.h"
#include "graphics/font.h"

namespace brevant::test {
namespace {

class DM3Test : public DemoModulesTest {
 protected:
  void SetUp() override {
    DemoModulesTest::SetUp();
    rich = DM3()->Edit;
    rich->SetText("alpha beta gamma");
  }
  // Selects count characters from start; the toolbar's dataset follows.
  void Select(Integer start, Integer count) {
    rich->SetSelStart(start);
    rich->SetSelLength(count);
  }
  TField* Attr(const char* name) { return DM3()->datAttrs->FieldByName(name); }

  TRichEdit* rich = nullptr;
};

TEST_F(DM3Test, PartsCarryTheirSettings) {
  TDM3* dm3 = DM3();
  ASSERT_NE(dm3, nullptr);
  EXPECT_FALSE(dm3->Visible());
  EXPECT_EQ(dm3->vtfDemo->Options(), (TvtfOptions{tfoFocusable, tfoNoAutoPost}));
  EXPECT_EQ(dm3->pnRtfCaption->Caption(), " RTF description");
  EXPECT_EQ(dm3->pnRtfCaption->Color(), clBlue);
  EXPECT_EQ(dm3->pnRtfCaption->Font()->Color(), clWhite);
  EXPECT_EQ(dm3->Edit->BorderStyle(), bsNone);
  EXPECT_FALSE(dm3->Edit->HideSelection());
  EXPECT_TRUE(dm3->Edit->OnSelectionChange);
  EXPECT_EQ(dm3->StatusBar->Parent(), dm3->vtfDemo);
  EXPECT_EQ(dm3->edFontName->DataSource(), dm3->dsAttrs);
  EXPECT_EQ(dm3->edFontName->DataField(), "FontName");
  EXPECT_EQ(dm3->edFontName->Vision(), dm3->visFontNames);
  EXPECT_EQ(dm3->edFontSize->DataField(), "FontSize");
  EXPECT_EQ(dm3->visFontSize->ButtonStyle(), pbsSpin);
  EXPECT_EQ(dm3->visFontNames->DropDownOptions(), TfvDropDownOptions{ddoShowOnTyping});
  EXPECT_EQ(dm3->visFontNames->PickListType(), pltMRU);
  EXPECT_EQ(dm3->visFontNames->PickList()->CommaText(), Screen()->Fonts()->CommaText());
  EXPECT_GT(dm3->visFontNames->PickList()->Count(), 0);
  EXPECT_TRUE(dm3->datAttrs->Active());
  EXPECT_FALSE(dm3->datAttrs->UseEditBuffer());
  EXPECT_EQ(dm3->datAttrs->ObjectRef(), dm3->Attrs());
}

TEST_F(DM3Test, FontFieldsWriteAndFollowTheSelection) {
  Select(6, 4);  // "beta"
  DM3()->datAttrs->Edit();
  Attr("FontSize")->SetAsInteger(20);
  DM3()->datAttrs->Post();
  EXPECT_EQ(rich->CharFormat(6).Size, 20);
  EXPECT_EQ(rich->CharFormat(9).Size, 20);
  EXPECT_NE(rich->CharFormat(0).Size, 20);
  // Another selection: the fields show its font without being asked.
  Select(0, 5);
  EXPECT_EQ(Attr("FontSize")->AsInteger(), rich->CharFormat(0).Size);
  Select(6, 2);
  EXPECT_EQ(Attr("FontSize")->AsInteger(), 20);
  EXPECT_EQ(Attr("FontName")->AsString(), rich->CharFormat(6).Name);
}

TEST_F(DM3Test, FontSizeBelowOneIsRefused) {
  Select(0, 5);
  const Integer before = rich->CharFormat(0).Size;
  EXPECT_THROW(DM3()->Attrs()->SetFontSize(0), EBVError);
  EXPECT_EQ(rich->CharFormat(0).Size, before);
}

TEST_F(DM3Test, StyleButtonsToggleTheirStyle) {
  struct Row {
    const char* name;
    TSpeedButton* button;
    TFontStyle style;
  } rows[] = {
      {"bold", DM3()->btnBold, fsBold},
      {"italic", DM3()->btnItalic, fsItalic},
      {"underline", DM3()->btnUnderline, fsUnderline},
  };
  for (const Row& row : rows) {
    Select(11, 5);  // "gamma"
    row.button->Click();
    EXPECT_TRUE(rich->CharFormat(12).Style.Contains(row.style)) << row.name;
    EXPECT_FALSE(rich->CharFormat(2).Style.Contains(row.style)) << row.name;
    row.button->Click();
    EXPECT_FALSE(rich->CharFormat(12).Style.Contains(row.style)) << row.name;
  }
}

// The drop-down as the main form's page opens it: from an edit whose
// vision drops down DM3's tool form.
TEST_F(DM3Test, DropDownTakesTheStatusBarAndTheEditFont) {
  auto* vision = Create<TStandardVision>(form);
  vision->SetDropDown(DM3()->vtfDemo);
  DM()->datVendorsSource->First();
  TDBQuentaEdit* edit = AddEdit(DM()->dsVendorsSource, "Flags", vision);
  edit->Font()->SetName("DejaVu Serif");
  edit->Font()->SetSize(13);
  form->Show();
  edit->SetFocus();
  Pump();
  bool opened = false;
  ScriptAction("VisionToolForm", [&](TObject* subject) {
    auto* tool = static_cast<TVisionToolForm*>(subject);
    opened = true;
    ASSERT_EQ(tool, DM3()->vtfDemo);
    ASSERT_NE(tool->Background(), nullptr);
    EXPECT_EQ(DM3()->StatusBar->Parent(), tool->Background());
    EXPECT_EQ(DM3()->Edit->DefAttributes()->Name(), "DejaVu Serif");
    EXPECT_EQ(DM3()->Edit->SelAttributes()->Size(), 13);
    tool->Close(false, false);
  });
  Offscreen().PressKey(VK_DOWN, bmAlt);
  Pump();
  EXPECT_TRUE(opened);
  EXPECT_FALSE(DM3()->vtfDemo->IsOpen());
  EXPECT_EQ(DM3()->StatusBar->Parent(), DM3()->vtfDemo);
}

}  // namespace
}  // namespace brevant::test
