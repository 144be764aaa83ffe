// The default pack's calendar drop-down opened from a data-aware edit on
// a date vision: set up from the vision, picked by keys, by a click on a
// day and by its Clear button, and discarded by Escape.
#include <gtest/gtest.h>

#include <cmath>

#include "bv_ctl/calendar.h"
#include "bv_std/datetime_visions.h"
#include "bv_std/tool_form_vision.h"
#include "pack_test_util.h"
#include "rtl/datetime.h"

namespace brevant::test {
namespace {

class PackCalendarTest : public PackTest {
 protected:
  void SetUp() override {
    PackTest::SetUp();
    tf = pack->vtfCalendar;
    cal = pack->calCalendar;
    ds = Create<TMemDataSet>(form);
    ds->FieldDefs()->Add("At", ftDateTime);
    ds->AppendRow({VarFromDateTime(kStart)});
    ds->Open();
    src = Create<TDataSource>(form);
    src->SetDataSet(ds);
    vision = Create<TDateVision>(form);
  }
  TDateTime At() const { return ds->FieldByName("At")->AsDateTime(); }
  bool AtIsNull() const { return ds->FieldByName("At")->IsNull(); }
  // The calendar's day cell showing date (its centre on the screen).
  void ClickDay(TDateTime date) {
    for (Integer i = 0; i < 42; ++i)
      if (cal->GridDate(i) == date) {
        const TRect r = cal->DayRect(i);
        ClickOn(cal, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
        return;
      }
    FAIL() << "no cell shows the date";
  }
  void ClickButton(TCalendarButton button) {
    const TRect r = cal->ButtonRect(button);
    ClickOn(cal, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }

  // 15 March 2024, 10:30.
  const TDateTime kStart = ComposeDateTime(EncodeDate(2024, 3, 15), EncodeTime(10, 30, 0, 0));
  TVisionToolForm* tf = nullptr;
  TQuentaCalendar* cal = nullptr;
  TMemDataSet* ds = nullptr;
  TDataSource* src = nullptr;
  TDateVision* vision = nullptr;
};

TEST_F(PackCalendarTest, TheDateVisionOpensTheStockCalendar) {
  EXPECT_EQ(StockToolForm(stfCalendar), tf);
  EXPECT_EQ(vision->GetDropDown(), tf);
  EXPECT_EQ(tf->ActiveControl(), cal);
  EXPECT_TRUE(tf->Options().Contains(tfoFocusable));
}

TEST_F(PackCalendarTest, ArrowKeysAndReturnPostTheDateKeepingTheTimeOfDay) {
  Edit(src, "At", vision);
  TDateTime shown = 0;
  bool open = false;
  RunFocusable([&] {
    WhenIdle([&] {
      open = tf->IsOpen();
      shown = cal->Date();
      Offscreen().PressKey(VK_RIGHT);
      Offscreen().PressKey(VK_DOWN);
      Offscreen().PressKey(VK_RETURN);
    });
  });
  EXPECT_TRUE(open);
  EXPECT_EQ(shown, EncodeDate(2024, 3, 15));
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(At(), ComposeDateTime(EncodeDate(2024, 3, 23), EncodeTime(10, 30, 0, 0)));
}

TEST_F(PackCalendarTest, ClickingADayPicksIt) {
  Edit(src, "At", vision);
  RunFocusable([&] { WhenIdle([&] { ClickDay(EncodeDate(2024, 3, 4)); }); });
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(std::trunc(At()), EncodeDate(2024, 3, 4));
}

TEST_F(PackCalendarTest, EscapeDiscardsTheMovedDate) {
  Edit(src, "At", vision);
  RunFocusable([&] {
    Offscreen().PressKey(VK_RIGHT);
    Offscreen().PressKey(VK_ESCAPE);
  });
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_EQ(At(), kStart);
  EXPECT_EQ(edit->EditText(), "03/15/2024");
}

TEST_F(PackCalendarTest, ClearOnANullableVisionPostsNull) {
  Edit(src, "At", vision);
  bool clearEnabled = false;
  RunFocusable([&] {
    WhenIdle([&] {
      clearEnabled = cal->ButtonEnabled(cbClear);
      ClickButton(cbClear);
    });
  });
  EXPECT_TRUE(clearEnabled);
  EXPECT_FALSE(tf->IsOpen());
  EXPECT_TRUE(AtIsNull());
}

TEST_F(PackCalendarTest, TheCalendarTakesTheVisionsButtonsLimitsAndNullRule) {
  struct TRow {
    const char* name;              // what the row checks
    TznCalendarButtons buttons;    // the vision's Buttons
    bool nullable;                 // the vision's Nullable
    bool today, clear, navigator;  // what the calendar shows
    bool clearEnabled;             // Clear can be pressed
  };
  const TRow rows[] = {
      {"default buttons", {clbToday, clbClear}, true, true, true, true, true},
      {"no buttons", {}, true, false, false, true, false},
      {"no year navigator", {clbToday, clbNoYearNavigator}, true, true, false, false, false},
      {"not nullable", {clbClear}, false, false, true, true, false},
  };
  vision->SetMinDate(EncodeDate(2024, 3, 10));
  vision->SetMaxDate(EncodeDate(2024, 4, 20));
  Edit(src, "At", vision);
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.name);
    vision->SetButtons(row.buttons);
    vision->SetNullable(row.nullable);
    bool today = false, clear = false, navigator = false, clearEnabled = false;
    TDateTime minDate = 0, maxDate = 0;
    TSize size, used;
    RunFocusable([&] {
      WhenIdle([&] {
        today = cal->ButtonShown(cbToday);
        clear = cal->ButtonShown(cbClear);
        navigator = cal->ShowYearNavigator();
        clearEnabled = cal->ButtonEnabled(cbClear);
        minDate = cal->MinDate();
        maxDate = cal->MaxDate();
        size = cal->ContentSize();
        used = TSize(tf->Background()->ClientWidth(), tf->Background()->ClientHeight());
        Offscreen().PressKey(VK_ESCAPE);
      });
    });
    EXPECT_EQ(today, row.today);
    EXPECT_EQ(clear, row.clear);
    EXPECT_EQ(navigator, row.navigator);
    EXPECT_EQ(clearEnabled, row.clearEnabled);
    EXPECT_EQ(minDate, EncodeDate(2024, 3, 10));
    EXPECT_EQ(maxDate, EncodeDate(2024, 4, 20));
    // The drop-down is exactly as large as the calendar.
    EXPECT_EQ(used.cx, size.cx);
    EXPECT_EQ(used.cy, size.cy);
  }
}

TEST_F(PackCalendarTest, ANullFieldOpensOnTodayMarkedNull) {
  ds->Edit();
  ds->FieldByName("At")->Clear();
  ds->Post();
  Edit(src, "At", vision);
  TDateTime shown = 0;
  bool nullDate = false;
  RunFocusable([&] {
    WhenIdle([&] {
      shown = cal->Date();
      nullDate = cal->NullDate();
      Offscreen().PressKey(VK_ESCAPE);
    });
  });
  EXPECT_EQ(shown, Date());
  EXPECT_TRUE(nullDate);
  EXPECT_TRUE(AtIsNull());
}

}  // namespace
}  // namespace brevant::test
