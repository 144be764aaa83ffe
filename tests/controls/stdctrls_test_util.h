// Helpers of the standard control tests: pixels of a control read from its
// window (or its parent's, for controls without one) and the fixture.
#pragma once

#include <initializer_list>

#include "controls/comctrls.h"
#include "controls/controls_test_util.h"
#include "controls/extctrls.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "graphics/colors.h"

namespace brevant::test {

// The painted pixel at a point of the control's client area.
inline TColor Px(TControl* c, Integer x, Integer y) {
  if (auto* w = dynamic_cast<TWinControl*>(c)) return GetWindowPixel(w->Handle(), x, y);
  return GetWindowPixel(c->Parent()->Handle(), c->Left() + x, c->Top() + y);
}

inline TColor Rgb(TColor c) {
  return ColorToRGB(c);
}

// One expected pixel of a painted control, named for what it shows.
struct TPixelRow {
  const char* Name;   // what the pixel shows, reported when it differs
  TControl* Control;  // whose client area
  TPoint At;          // client coordinates
  TColor Expected;    // system colours are resolved before comparing
};

// Checks every row, naming the rows that differ.
inline void ExpectPixels(std::initializer_list<TPixelRow> rows) {
  for (const TPixelRow& row : rows)
    EXPECT_EQ(Px(row.Control, row.At.X, row.At.Y), Rgb(row.Expected)) << row.Name;
}

// Whether any pixel of the rectangle (client coordinates) has the colour.
inline bool AnyPixel(TControl* c, const TRect& r, TColor color) {
  for (Integer y = r.Top; y < r.Bottom; ++y)
    for (Integer x = r.Left; x < r.Right; ++x)
      if (Px(c, x, y) == Rgb(color)) return true;
  return false;
}

// Whether any pixel of the rectangle is dark (text, check marks: drawn
// antialiased, so not always exactly black).
inline bool AnyDark(TControl* c, const TRect& r) {
  for (Integer y = r.Top; y < r.Bottom; ++y)
    for (Integer x = r.Left; x < r.Right; ++x) {
      const TColor p = Px(c, x, y);
      if (p >= 0 && GetRValue(p) < 0x60 && GetGValue(p) < 0x60 && GetBValue(p) < 0x60) return true;
    }
  return false;
}

// A focus rectangle's dots on the button face (the face inverted).
inline constexpr TColor kFocusDot = 0x0F0F0F;

class StdCtrlsTest : public ControlsTest {
 protected:
  template <class T>
  T* Add(TWinControl* parent, const char* name, TRect bounds) {
    auto* c = Create<T>(form);
    c->SetName(name);
    c->SetBoundsRect(bounds);
    c->SetParent(parent);
    return c;
  }
  void ShowForm() {
    form->Show();
    Pump();
  }
  void ClickAt(TControl* c, Integer x, Integer y) {
    Offscreen().Click(At(c, x, y));
    Pump();
  }
  void Press(Word key, Byte modifiers = 0) {
    Offscreen().PressKey(key, modifiers);
    Pump();
  }
  // An event handler that counts its calls.
  static TNotifyEvent Counter(Integer& n) {
    return TNotifyEvent::FromCallable([&n](TObject*) { ++n; });
  }
};

}  // namespace brevant::test
