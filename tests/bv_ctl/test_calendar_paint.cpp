// The calendar's pixels in each border style through the off-screen
// backend, its size rules, and its published properties in form text.
#include "bv_ctl/calendar.h"
#include "calendar_test_util.h"
#include "classes/formstream.h"
#include "controls/wincore.h"
#include "graphics/colors.h"
#include "rtl/streams.h"

namespace brevant::test {

namespace {

// The frame width each border style reserves around the client area.
struct TBorderRow {
  TznBorderStyle style;  // border kind
  Integer frame;         // pixels on each side
};

}  // namespace

class CalendarPaintTest : public CalendarTest {
 protected:
  // A pixel of the calendar at client coordinates, as the form shows it.
  TColor ClientPixel(Integer x, Integer y) const {
    const TPoint p = form->ScreenToClient(cal->ClientToScreen({x, y}));
    return TColor(GetWindowPixel(form->Handle(), p.X, p.Y));
  }
  // A pixel of the calendar's window (its outer rectangle).
  TColor WindowPixel(Integer x, Integer y) const {
    return TColor(GetWindowPixel(form->Handle(), cal->Left() + x, cal->Top() + y));
  }
  // Whether any pixel of r (client coordinates) has color.
  bool AnyPixel(const TRect& r, TColor color) const {
    for (Integer y = r.Top; y < r.Bottom; ++y)
      for (Integer x = r.Left; x < r.Right; ++x)
        if (ClientPixel(x, y) == ColorToRGB(color)) return true;
    return false;
  }
};

TEST_F(CalendarPaintTest, OneMonthInEachBorderStyle) {
  const TBorderRow rows[] = {{bsNoBorder, 0}, {bs3D, 2},      {bsSoft, 1}, {bsSoftExt, 2},
                             {bsFlat, 1},     {bsFlatExt, 2}, {bsMono, 1}, {bsMonoExt, 2}};
  cal->SetDate(D(2026, 3, 20));
  for (const TBorderRow& row : rows) {
    SCOPED_TRACE(int(row.style));
    cal->SetBorderStyle(row.style);
    Pump();
    const TSize content = cal->ContentSize();
    EXPECT_EQ(cal->ClientWidth(), content.cx);
    EXPECT_EQ(cal->ClientHeight(), content.cy);
    EXPECT_EQ(cal->Width(), content.cx + 2 * row.frame);
    // The header in button face reaches the client's corner; a frame, when
    // there is one, is drawn in other colours around it.
    EXPECT_EQ(ClientPixel(0, 0), ColorToRGB(clBtnFace));
    if (row.frame > 0) {
      EXPECT_NE(WindowPixel(0, 0), ColorToRGB(clBtnFace));
    }
    EXPECT_EQ(ClientPixel(cal->ClientWidth() - 1, cal->HeaderHeight()), ColorToRGB(clWindow));
    // The selected day is filled, today is framed in maroon.
    const TRect sel = cal->DayRect(IndexOf(D(2026, 3, 20)));
    EXPECT_EQ(ClientPixel(sel.Left - 1, sel.Top + 1), ColorToRGB(clBtnShadow));
    EXPECT_TRUE(AnyPixel(sel, clHighlightText));
    const TRect today = cal->DayRect(IndexOf(Today()));
    EXPECT_EQ(ClientPixel(today.Left - 2, today.Top + 2), ColorToRGB(clMaroon));
    // Other days keep the background behind their text.
    const TRect plain = cal->DayRect(IndexOf(D(2026, 3, 25)));
    EXPECT_EQ(ClientPixel(plain.Left, plain.Top + 1), ColorToRGB(clWindow));
    // Days of the month in window text, the next month's in grey.
    EXPECT_TRUE(AnyPixel(cal->DayRect(IndexOf(D(2026, 3, 10))), clWindowText));
    EXPECT_TRUE(AnyPixel(cal->DayRect(IndexOf(D(2026, 4, 2))), clGrayText));
    // A black line under the weekday captions and above the buttons.
    const Integer lineY = cal->HeaderHeight() + cal->CellHeight() + 3;
    EXPECT_EQ(ClientPixel(20, lineY), ColorToRGB(clBlack));
    EXPECT_EQ(ClientPixel(20, cal->ButtonRect(cbToday).Top - 3), ColorToRGB(clBlack));
  }
}

TEST_F(CalendarPaintTest, NullDateAndLimitsChangeThePicture) {
  cal->SetDate(D(2026, 3, 20));
  cal->SetMaxDate(D(2026, 3, 25));
  cal->SetNullDate(true);
  Pump();
  const TRect sel = cal->DayRect(IndexOf(D(2026, 3, 20)));
  EXPECT_EQ(ClientPixel(sel.Left - 1, sel.Top + 1), ColorToRGB(clWindow));
  // Days past the maximum are embossed: highlight under shadow, no text colour.
  const TRect late = cal->DayRect(IndexOf(D(2026, 3, 28)));
  EXPECT_TRUE(AnyPixel(late, clBtnShadow));
  EXPECT_FALSE(AnyPixel(late, clWindowText));
}

TEST_F(CalendarPaintTest, KeepsItsSizeAndFollowsTheFont) {
  const Integer w = cal->Width(), h = cal->Height();
  cal->SetBounds(0, 0, 10, 10);
  EXPECT_EQ(cal->Width(), w);
  EXPECT_EQ(cal->Height(), h);
  cal->Font()->SetSize(14);
  Pump();
  EXPECT_GT(cal->Width(), w);
  EXPECT_GT(cal->CellHeight(), 0);
  EXPECT_EQ(cal->HeaderHeight() % 2, 1);  // an odd label height plus 10
}

TEST_F(CalendarPaintTest, PublishedPropertiesRoundTripThroughFormText) {
  RegisterCalendarClasses();
  cal->SetName("Cal");
  cal->SetBorderStyle(bsFlatExt);
  cal->SetDate(D(2025, 12, 24));
  cal->SetMinDate(D(2025, 1, 1));
  cal->SetShowClearButton(true);
  cal->SetDisableClearButton(true);
  TMemoryStream s;
  WriteComponentText(s, cal);
  const String text(static_cast<const char*>(s.Memory()), size_t(s.Size()));
  EXPECT_NE(text.find("MinDate"), String::npos);
  EXPECT_EQ(text.find("MaxDate"), String::npos);  // 0 is not stored
  EXPECT_EQ(text.find("ShowTodayButton"), String::npos);
  s.SetPosition(0);
  auto* copy = static_cast<TQuentaCalendar*>(ReadNewComponent(s, nullptr));
  EXPECT_EQ(copy->BorderStyle(), bsFlatExt);
  EXPECT_EQ(copy->Date(), D(2025, 12, 24));
  EXPECT_EQ(copy->MinDate(), D(2025, 1, 1));
  EXPECT_TRUE(copy->ShowClearButton());
  EXPECT_TRUE(copy->DisableClearButton());
  EXPECT_EQ(copy->MonthFirstDay(), D(2025, 12, 1));  // the display was rebuilt
  copy->Free();
}

}  // namespace brevant::test
