// The default pack's drop-downs and typed visions used from a grid cell's
// editor: the calendar and the calculator picked by keys, values typed and
// spun in date, time and numeric cells, the colour list, and the text
// picker on a cell that draws its text.
#include <gtest/gtest.h>

#include "bv/columns.h"
#include "bv/inplace_edit.h"
#include "bv/tabulon.h"
#include "bv_ctl/calendar.h"
#include "bv_std/blob_visions.h"
#include "bv_std/blob_visions_dropdown.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/numeric_vision.h"
#include "bv_std/tool_form_vision.h"
#include "controls/application.h"
#include "controls/richedit.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "graphics/colors.h"
#include "pack_cells_test_util.h"
#include "rtl/datetime.h"

namespace brevant::test {
namespace {

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

TEST_F(PackCellsTest, ANumericCellSpinsWithCtrlArrowsWithinItsLimits) {
  auto* v = Create<TNumericVision>(form);
  v->SetEnableButton(true);
  v->SetButtonStyle(pbsSpin);
  v->SetMinValue(1);
  v->SetMaxValue(10);
  v->SetStep(2);
  EditCell("Amount", v);
  CatchErrors();
  struct TRow {
    const char* name;   // what the row checks
    Word key;           // pressed with Ctrl
    const char* shown;  // the cell's text after it
  };
  const TRow rows[] = {
      {"up by the step", VK_UP, "7"},
      {"up again", VK_UP, "9"},
      {"up capped at the maximum", VK_UP, "10"},
      {"down by the step", VK_DOWN, "8"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    Key(row.key, bmCtrl);
    EXPECT_EQ(CellText(), row.shown);
    EXPECT_TRUE(cells->EditorShown());
  }
  PostCell();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("Amount")->AsFloat(), 8.0);
  EXPECT_TRUE(errors.empty());
  // A typed value beyond the limits is refused with the vision's message.
  Key(VK_F2);
  Retype("20");
  Key(VK_RETURN);
  EXPECT_EQ(errors, (std::vector<String>{"\"20\" is out of range. The allowed range is 1 to 10"}));
  EXPECT_TRUE(cells->EditorShown());
  EXPECT_EQ(Field("Amount")->AsFloat(), 8.0);
  Retype("3");
  PostCell();
  EXPECT_EQ(Field("Amount")->AsFloat(), 3.0);
}

TEST_F(PackCellsTest, ATimeCellSpinsThePartAtTheCaretAndKeepsItsLimits) {
  auto* v = Create<TTimeVision>(form);
  v->SetButtonStyle(pbsSpin);
  v->SetEditFormatKind(tefHhMm);
  v->SetMinTime(EncodeTime(9, 0, 0, 0));
  v->SetMaxTime(EncodeTime(11, 0, 0, 0));
  EditCell("At", v);
  CatchErrors();
  Key(VK_END);
  EXPECT_EQ(CellText(), "10:30");
  Key(VK_UP, bmCtrl);
  EXPECT_EQ(CellText(), "10:31");
  Key(VK_DOWN, bmCtrl);
  Key(VK_DOWN, bmCtrl);
  EXPECT_EQ(CellText(), "10:29");
  PostCell();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("At")->AsDateTime(),
            ComposeDateTime(EncodeDate(2024, 3, 15), EncodeTime(10, 29, 0, 0)));
  Key(VK_F2);
  Retype("11:30");
  Key(VK_RETURN);
  EXPECT_EQ(errors,
            (std::vector<String>{"\"11:30\" is out of range. Value must be less than 11:00:00"}));
  EXPECT_TRUE(cells->EditorShown());
  Key(VK_ESCAPE);  // drops the refused text
  Key(VK_ESCAPE);  // cancels the record's edit
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("At")->AsDateTime(),
            ComposeDateTime(EncodeDate(2024, 3, 15), EncodeTime(10, 29, 0, 0)));
}

TEST_F(PackCellsTest, ADateCellTakesATypedDateWithinItsLimits) {
  auto* v = Create<TDateVision>(form);
  v->SetMaxDate(EncodeDate(2024, 3, 20));
  EditCell("At", v);
  CatchErrors();
  Retype("3/25/2024");
  Key(VK_RETURN);
  EXPECT_EQ(
      errors,
      (std::vector<String>{"\"3/25/2024\" is out of range. Value must be less than 03/20/2024"}));
  EXPECT_TRUE(cells->EditorShown());
  EXPECT_EQ(Field("At")->AsDateTime(), kStart);
  Retype("3/18/2024");
  PostCell();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("At")->AsDateTime(),
            ComposeDateTime(EncodeDate(2024, 3, 18), EncodeTime(10, 30, 0, 0)));
}

TEST_F(PackCellsTest, AColourCellPicksTheNextNameFromItsList) {
  TStandardVision* picker = pack->ColorPicker;
  EditCell("Tint", picker);
  EXPECT_EQ(CellText(), "clRed");
  const String next = picker->PickList()->Strings(picker->PickList()->IndexOf("clRed") + 1);
  Key(VK_DOWN, bmAlt);
  ASSERT_TRUE(pack->vtfDataList->IsOpen());
  Key(VK_DOWN);
  Key(VK_RETURN);  // closes the list
  EXPECT_FALSE(pack->vtfDataList->IsOpen());
  EXPECT_EQ(CellText(), next);
  PostCell();
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("Tint")->AsInteger(), Integer(StringToColor(next)));
  // A typed name posts as its colour.
  Key(VK_F2);
  Retype("clBlue");
  PostCell();
  EXPECT_EQ(Field("Tint")->AsInteger(), Integer(clBlue));
}

TEST_F(PackCellsTest, ATextCellEditsItsTextInThePickerAndPostsByOK) {
  EditCell("Notes", Create<TTextVision>(form));
  String shown;
  RunDropDown(
      [&] {
        shown = pack->BlobText()->Text();
        Offscreen().PressKey(VK_END);
        Offscreen().TypeText("!");
        WhenIdle([&] {
          TControl* ok = pack->btnBlobPickerOK;
          ClickOn(ok, ok->Width() / 2, ok->Height() / 2);
        });
      },
      true);
  EXPECT_EQ(shown, "first line");
  EXPECT_FALSE(pack->vtfBlobPicker->IsOpen());
  EXPECT_EQ(Field("Notes")->AsString(), "first line!");
  EXPECT_TRUE(cells->EditorShown());
  // The drawn text takes no keys, yet Return still closes the cell's editor.
  EXPECT_TRUE(cells->InplaceEditor()->Focused());
  Key(VK_RETURN);
  EXPECT_FALSE(cells->EditorShown());
  Key(VK_RETURN);
  EXPECT_EQ(ds->State(), dsBrowse);
  EXPECT_EQ(Field("Notes")->AsString(), "first line!");
}

}  // namespace
}  // namespace brevant::test
