// The gallery's page of data-aware edits, driven with real keys and clicks.
#include <gtest/gtest.h>

#include "../../demo/edit_page.h"
#include "../../demo/gallery.h"
#include "backend/codes.h"
#include "bv/db_edit.h"
#include "controls/extctrls.h"
#include "controls/forms.h"
#include "db/dataset.h"
#include "db/field.h"
#include "edit_test_util.h"

namespace brevant::test {
namespace {

TEST_F(EditTest, GalleryPageOfDataAwareEdits) {
  AddGalleryPage("DataEdits", BuildEditPage);
  TForm* gallery = CreateGalleryForm(form);
  gallery->Show();
  Pump();
  dynamic_cast<TSpeedButton*>(gallery->FindComponent("PageDataEdits"))->Click();
  Pump();
  auto* parts = dynamic_cast<TDataSet*>(gallery->FindComponent("PartsTable"));
  auto* qty = dynamic_cast<TDBQuentaEdit*>(gallery->FindComponent("PartQty"));
  auto* code = dynamic_cast<TDBQuentaEdit*>(gallery->FindComponent("PartCode"));
  ASSERT_TRUE(parts && qty && code);
  EXPECT_TRUE(qty->Showing());
  EXPECT_EQ(qty->Text(), "120");

  qty->SetFocus();
  Pump();
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(qty->Text(), "122");
  Offscreen().Click(At(qty, qty->ButtonRect().Left + 3, qty->ButtonRect().Bottom - 3));
  Pump();
  EXPECT_EQ(qty->Text(), "121");
  Key(VK_RETURN);
  EXPECT_EQ(parts->FieldByName("Qty")->AsInteger(), 121);

  code->SetFocus();
  Pump();
  EXPECT_EQ(code->EditText(), "HB-0012");
  Key(VK_RETURN, bmCtrl);  // the ellipsis empties the code
  EXPECT_EQ(code->EditText(), "__-____");
  Key(VK_HOME);
  Type("wn7777");
  EXPECT_EQ(code->EditText(), "WN-7777");
  Key(VK_RETURN);
  EXPECT_EQ(parts->FieldByName("Code")->AsString(), "WN-7777");
  parts->Post();
  EXPECT_EQ(HandledMessage(), "");
}

}  // namespace
}  // namespace brevant::test
