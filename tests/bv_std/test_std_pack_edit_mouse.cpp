// The default pack's drop-downs opened from a data-aware edit and driven
// with the mouse only: the calculator's buttons, the calendar's month and
// Today buttons, a click on a row of the colour list, the picture loaded
// through the picker's menu, and each one left by a click outside.
#include <gtest/gtest.h>

#include <cmath>

#include "bv/tabulon.h"
#include "bv_ctl/calendar.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/list_visions_standard.h"
#include "bv_std/numeric_vision.h"
#include "controls/extctrls.h"
#include "graphics/colors.h"
#include "pack_cells_test_util.h"
#include "rtl/datetime.h"
#include "rtl/scope.h"

namespace brevant::test {
namespace {

// The cells' dataset, edited through standalone edits instead of a grid.
class PackEditMouseTest : public PackCellsTest {
 protected:
  // Leaving the edit for the other one posts.
  void Leave() {
    ClickControl(other);
    Pump();
  }
};

TEST_F(PackEditMouseTest, CalculatorButtonsComputeAndEqualsThenAClickOutsidePosts) {
  Edit(src, "Amount", pack->Calculator);
  TbvDefPack& p = *pack;
  String shown;
  bool memoryShown = false;
  RunFocusable(
      [&] {
        WhenIdle([&] {
          for (TSpeedButton* b : {p.sbCalcNum[3], p.sbCalcMS, p.sbCalcMul, p.sbCalcMR, p.sbCalcPlus,
                                  p.sbCalcNum[1], p.sbCalcDecSep, p.sbCalcNum[5], p.sbCalcIs})
            ClickControl(b);
          WhenIdle([&] {
            shown = edit->Text();
            memoryShown = p.sbCalcMR->Enabled() && p.pnCalcMemory->Caption() == " 3";
            ClickControl(other);
          });
        });
      },
      true);
  EXPECT_FALSE(p.vtfCalculator->IsOpen());
  EXPECT_EQ(shown, "10.5");
  EXPECT_TRUE(memoryShown);
  Pump();
  EXPECT_DOUBLE_EQ(Field("Amount")->AsFloat(), 10.5);
}

TEST_F(PackEditMouseTest, CalendarMonthButtonsTodayAndADayPickWithTheMouse) {
  SetNowFunction([] { return ComposeDateTime(EncodeDate(2024, 5, 20), EncodeTime(8, 0, 0, 0)); });
  TScopeGuard clock([] { SetNowFunction(nullptr); });
  TQuentaCalendar* cal = pack->calCalendar;
  auto button = [cal](TCalendarButton b) {
    const TRect r = cal->ButtonRect(b);
    ClickOn(cal, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  };
  Edit(src, "At", Create<TDateVision>(form));
  // Next month, then 10 April.
  RunFocusable(
      [&] {
        WhenIdle([&] {
          button(cbNextMonth);
          WhenIdle([&] {
            for (Integer i = 0; i < 42; ++i)
              if (cal->GridDate(i) == EncodeDate(2024, 4, 10)) {
                const TRect r = cal->DayRect(i);
                ClickOn(cal, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
              }
          });
        });
      },
      true);
  EXPECT_FALSE(pack->vtfCalendar->IsOpen());
  EXPECT_EQ(edit->EditText(), "04/10/2024");
  // Today.
  RunFocusable([&] { WhenIdle([&] { button(cbToday); }); }, true);
  EXPECT_EQ(edit->EditText(), "05/20/2024");
  Leave();
  EXPECT_EQ(Field("At")->AsDateTime(),
            ComposeDateTime(EncodeDate(2024, 5, 20), EncodeTime(10, 30, 0, 0)));
  ds->Post();
  // A month moved, then a click outside: nothing changes.
  edit->SetFocus();
  Pump();
  RunFocusable(
      [&] {
        WhenIdle([&] {
          button(cbPrevMonth);
          WhenIdle([&] { ClickControl(other); });
        });
      },
      true);
  EXPECT_FALSE(pack->vtfCalendar->IsOpen());
  Pump();
  EXPECT_EQ(Field("At")->AsDateTime(),
            ComposeDateTime(EncodeDate(2024, 5, 20), EncodeTime(10, 30, 0, 0)));
}

TEST_F(PackEditMouseTest, AClickOnAColourInTheListPicksIt) {
  TStandardVision* picker = pack->ColorPicker;
  Edit(src, "Tint", picker);
  ClickEditButton();
  ASSERT_TRUE(pack->vtfDataList->IsOpen());
  TDBTabulon* list = pack->tlDataListList;
  // The row under the current one (red) holds the next name.
  const Integer at = picker->PickList()->IndexOf("clRed");
  const String next = picker->PickList()->Strings(at + 1);
  const TRect current = list->RowRect(list->CursorRow());
  ClickOn(list, 10, current.Bottom + list->RowHeight() / 2);
  Pump();
  EXPECT_FALSE(pack->vtfDataList->IsOpen());
  EXPECT_EQ(edit->EditText(), next);
  Leave();
  EXPECT_EQ(Field("Tint")->AsInteger(), Integer(StringToColor(next)));
  ds->Post();
  // Opened again and left by a click outside: the colour stays.
  edit->SetFocus();
  Pump();
  ClickEditButton();
  ASSERT_TRUE(pack->vtfDataList->IsOpen());
  ClickControl(other);
  Pump();
  EXPECT_FALSE(pack->vtfDataList->IsOpen());
  EXPECT_EQ(edit->EditText(), next);
  EXPECT_EQ(int(ds->State()), int(dsBrowse));
}

}  // namespace
}  // namespace brevant::test
