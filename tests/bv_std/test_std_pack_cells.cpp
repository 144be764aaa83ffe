// The default pack's drop-downs and typed visions used from a grid cell's
// editor: the calendar and the calculator picked by keys, and values typed
// and spun in date, time and numeric cells.
#include <gtest/gtest.h>

#include "bv/columns.h"
#include "bv/tabulon.h"
#include "bv_ctl/calendar.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/tool_form_vision.h"
#include "controls/wincore.h"
#include "pack_test_util.h"
#include "rtl/datetime.h"

namespace brevant::test {
namespace {

class PackCellsTest : public PackTest {
 protected:
  void SetUp() override {
    PackTest::SetUp();
    ds = Create<TMemDataSet>(form);
    ds->FieldDefs()->Add("At", ftDateTime);
    ds->FieldDefs()->Add("Amount", ftFloat);
    ds->AppendRow({VarFromDateTime(kStart), Variant(5.0)});
    ds->Open();
    src = Create<TDataSource>(form);
    src->SetDataSet(ds);
  }
  // A focused grid with one column on field through vision, its editor
  // shown on the first record.
  void EditCell(const String& field, TznFieldVision* vision) {
    cells = Create<TDBTabulon>(form);
    cells->SetBounds(10, 80, 300, 150);
    cells->SetParent(form);
    TtlColumn* column = cells->Columns()->Add();
    column->SetFieldName(field);
    column->SetVision(vision);
    cells->SetDataSource(src);
    form->Show();
    Pump();
    cells->SetFocus();
    Key(VK_HOME);
    Key(VK_F2);
    ASSERT_TRUE(cells->EditorShown());
  }
  // Drops the cell's drop-down with Alt+Down; act gives the input inside
  // its modal loop once it is idle.
  static void RunDropDown(std::function<void()> act) {
    ScriptAction("VisionToolForm", [act](TObject*) { WhenIdle(act); });
    Key(VK_DOWN, bmAlt);
  }
  // Return closes the cell's editor, then posts the record.
  void PostCell() {
    Key(VK_RETURN);
    Key(VK_RETURN);
  }
  TField* Field(const char* name) const { return ds->FieldByName(name); }

  // 15 March 2024, 10:30.
  const TDateTime kStart = ComposeDateTime(EncodeDate(2024, 3, 15), EncodeTime(10, 30, 0, 0));
  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
  TDBTabulon* cells = nullptr;
};

TEST_F(PackCellsTest, ADateCellPicksADayFromTheCalendarByKeys) {
  EditCell("At", Create<TDateVision>(form));
  bool open = false;
  TDateTime shown = 0;
  RunDropDown([&] {
    open = pack->vtfCalendar->IsOpen();
    shown = pack->calCalendar->Date();
    Offscreen().PressKey(VK_RIGHT);
    Offscreen().PressKey(VK_DOWN);
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_TRUE(open);
  EXPECT_EQ(shown, EncodeDate(2024, 3, 15));
  EXPECT_FALSE(pack->vtfCalendar->IsOpen());
  EXPECT_TRUE(cells->EditorShown());
  PostCell();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("At")->AsDateTime(),
            ComposeDateTime(EncodeDate(2024, 3, 23), EncodeTime(10, 30, 0, 0)));
}

TEST_F(PackCellsTest, ANumericCellComputesInTheCalculator) {
  EditCell("Amount", pack->Calculator);
  bool open = false;
  RunDropDown([&] {
    open = pack->vtfCalculator->IsOpen();
    Offscreen().TypeText("12+30");
    Offscreen().PressKey(VK_RETURN);
  });
  EXPECT_TRUE(open);
  EXPECT_FALSE(pack->vtfCalculator->IsOpen());
  EXPECT_TRUE(cells->EditorShown());
  PostCell();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("Amount")->AsFloat(), 42.0);
}

}  // namespace
}  // namespace brevant::test
