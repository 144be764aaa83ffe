#include "demo/nav_test_points.h"

#include <gtest/gtest.h>

#include "controls/controls_test_util.h"
#include "demo/mainform/main_form.h"
#include "navbar/nav_bar.h"

namespace brevant::test {

namespace {

// The middle of the rows of the bar's vertical centre line whose part is
// `part`.
bool FindPart(TCustomNavBar* bar, TNavBarPart part, TPoint& at) {
  const Integer x = bar->ClientWidth() / 2;
  Integer first = -1, last = -1;
  for (Integer y = 0; y < bar->ClientHeight(); ++y) {
    if (!(bar->HitTest(x, y) == part)) continue;
    if (first < 0) first = y;
    last = y;
  }
  if (first < 0) return false;
  at = bar->ClientToScreen({x, (first + last) / 2});
  return true;
}

}  // namespace

TPoint NavHeaderPoint(TMainForm* form, Integer group) {
  TPoint at;
  EXPECT_TRUE(FindPart(form->NavBar, {npHeader, group}, at)) << "no header " << group;
  return at;
}

TPoint NavItemPoint(TMainForm* form, Integer item) {
  TCustomNavBar* bar = form->NavBar;
  TPoint at;
  for (Integer tries = 0; tries < 20; ++tries) {
    if (FindPart(bar, {npIconBox, item}, at)) return at;
    const bool up = item < bar->FirstItem();
    const TRect arrow = bar->ArrowRect(up);
    Offscreen().Click(
        bar->ClientToScreen({(arrow.Left + arrow.Right) / 2, (arrow.Top + arrow.Bottom) / 2}));
    PumpMessages();
  }
  ADD_FAILURE() << "no item " << item;
  return at;
}

Integer NavOpenGroup(TMainForm* form) {
  return form->NavBar->SelectedButton();
}

Integer NavSelectedItem(TMainForm* form) {
  return form->NavBar->SelectedItem();
}

}  // namespace brevant::test
