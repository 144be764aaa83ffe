// The fixture of the calendar tests: a shown form holding one calendar,
// a fixed today (Thursday 12 March 2026), and helpers that press keys and
// click parts of the calendar as a user would.
#pragma once

#include <vector>

#include "bv_ctl/calendar.h"
#include "controls/forms_test_util.h"
#include "rtl/datetime.h"
#include "rtl/format_settings.h"

namespace brevant::test {

class CalendarTest : public FormsTest {
 protected:
  static TDateTime Today() { return EncodeDate(2026, 3, 12); }
  static TDateTime D(Word y, Word m, Word d) { return EncodeDate(y, m, d); }

  void SetUp() override {
    FormsTest::SetUp();
    SetNowFunction([] { return Today() + 0.5; });
    form->SetBounds(50, 50, 400, 400);
    cal = Create<TQuentaCalendar>(form);
    cal->SetLeft(10);
    cal->SetTop(10);
    cal->SetParent(form);
    cal->OnChange = TNotifyEvent::FromCallable([this](TObject*) { events.push_back("change"); });
    cal->OnPickup = TNotifyEvent::FromCallable([this](TObject*) { events.push_back("pickup"); });
    form->Show();
    cal->SetFocus();
    Pump();
  }
  void TearDown() override {
    SetNowFunction(nullptr);
    FormsTest::TearDown();
  }
  // Centre of a client rectangle of the calendar, on the screen.
  TPoint Centre(const TRect& r) const {
    return cal->ClientToScreen({(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2});
  }
  // A click, then everything it caused.
  static void ClickAt(TPoint p) {
    FormsTest::ClickAt(p);
    Pump();
  }
  void ClickDay(Integer index) { ClickAt(Centre(cal->DayRect(index))); }
  void Key(Word vk, Byte modifiers = 0) {
    Offscreen().PressKey(vk, modifiers);
    Pump();
  }
  // The grid index showing date, or -1.
  Integer IndexOf(TDateTime date) const {
    for (Integer i = 0; i < TQuentaCalendar::GridDays; ++i)
      if (cal->GridDate(i) == date) return i;
    return -1;
  }

  TQuentaCalendar* cal = nullptr;
  std::vector<std::string> events;
};

}  // namespace brevant::test
