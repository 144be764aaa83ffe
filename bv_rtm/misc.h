// Small shared helpers: colour shading, variant tests, numeric helpers,
// collection index moves and input helpers.
#pragma once

#include "controls/controls.h"
#include "graphics/colors.h"
#include "rtl/variant.h"

namespace brevant {

// A darker tone of color (converted to RGB first) for alternate row and
// cell shading; each channel is clamped at 0:
//   red   + (256 - red) div 4 - 81
//   green + (11 - green div 4)                  for green < 48
//   green + 3 * (31 - green div 8) - 77         otherwise
//   blue  + round((255 - blue) / 2.8) - 53      (exact quotient, halves to even)
TColor ShadeColor(TColor color);

// Null or Unassigned.
bool IsNullVariant(const Variant& v);
// Both null/unassigned, or both not and equal (arrays element by element).
bool SameVariants(const Variant& a, const Variant& b);

// Max (A, B) is the runtime's (rtl/types.h).
// a = Max(a, b).
template <class T>
constexpr void RaiseToAtLeast(T& a, T b) {
  if (a < b) a = b;
}
// -1 for a negative value, else 1.
constexpr Integer Sign(Int64 v) {
  return v < 0 ? -1 : 1;
}
// 1 for v >= 0, else -1 (NaN gives -1).
constexpr Integer SignF(double v) {
  return v >= 0 ? 1 : -1;
}
template <class T>
constexpr void Swap(T& a, T& b) {
  T t = a;
  a = b;
  b = t;
}

// The collection index to give the item at from so that it lands just
// before (before) or just after the item at to.
Integer MoveTargetIndex(Integer from, Integer to, Integer count, bool before);

// The screen position of the last message retrieved.
TPoint MessageCursorPos();
// Whether the key (or mouse button) is down.
bool IsKeyDown(Integer virtualKey);
// The MK_ flags of a mouse message for a shift state.
WPARAM ShiftStateToMouseKeys(TShiftState shift);
// Sends WM_KEYDOWN for key to control; with Alt held the context bit (29)
// is set in the key data.
void SendKeyDown(TControl* control, Word key, TShiftState shift);
// When a WM_COMMAND is waiting, processes the pending messages (after a
// popup menu closed, so its command runs now).
void ProcessPendingCommand();
// Whether parent is one of control's parents (control itself is not).
bool IsParentOf(const TControl* parent, const TControl* control);

// The first day of the week of the user's settings: 1 = Sunday ... 7 =
// Saturday.
Integer FirstDayOfWeek();

}  // namespace brevant
