// The gallery's page of the default pack's drop-downs: every edit shows
// its value and opens its stock drop-down.
#include <gtest/gtest.h>

#include "../../demo/gallery.h"
#include "../../demo/pack_page.h"
#include "controls/extctrls.h"
#include "pack_test_util.h"

namespace brevant::test {
namespace {

class PackGalleryTest : public PackTest {};

TEST_F(PackGalleryTest, EachEditOpensItsStockDropDown) {
  AddGalleryPage("DefaultPack", BuildPackPage);
  TForm* gallery = CreateGalleryForm(form);
  gallery->Show();
  Pump();
  dynamic_cast<TSpeedButton*>(gallery->FindComponent("PageDefaultPack"))->Click();
  Pump();
  struct TRow {
    const char* edit;       // the edit's name
    const char* text;       // what it shows
    TVisionToolForm* form;  // the drop-down it opens
    bool focusable;         // the drop-down runs its own loop
    bool byButton;          // opened by the edit's button, not Alt+Down
  };
  const TRow rows[] = {
      {"PackFruit", "Apple", pack->vtfDataList, false, false},
      {"PackState", "Active", pack->vtfDataList, false, false},
      {"PackBorn", "05/17/2020", pack->vtfCalendar, true, false},
      {"PackAmount", "12.5", pack->vtfCalculator, true, false},
      {"PackTint", "clTeal", pack->vtfDataList, false, false},
      {"PackNotes", "(MEMO)", pack->vtfBlobPicker, true, true},
      {"PackPhoto", "(GRAPHIC)", pack->vtfBlobPicker, true, true},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.edit);
    edit = dynamic_cast<TDBQuentaEdit*>(gallery->FindComponent(row.edit));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->Showing());
    EXPECT_EQ(edit->EditText(), row.text);
    edit->SetFocus();
    Pump();
    bool opened = false;
    if (row.focusable) {
      RunFocusable(
          [&] {
            WhenIdle([&] {
              opened = row.form->IsOpen();
              Offscreen().PressKey(VK_ESCAPE);
            });
          },
          row.byButton);
    } else {
      Key(VK_DOWN, bmAlt);
      opened = row.form->IsOpen();
      Key(VK_ESCAPE);
    }
    EXPECT_TRUE(opened);
    EXPECT_FALSE(row.form->IsOpen());
  }
}

}  // namespace
}  // namespace brevant::test
