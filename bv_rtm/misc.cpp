#include "bv_rtm/misc.h"

#include "controls/wincore.h"
#include "rtl/format_settings.h"

namespace brevant {

namespace {

Integer ClampChannel(Integer v) {
  return v < 0 ? 0 : v;
}

// round(n / d) for n >= 0, d > 0, exact halves to the even neighbour.
Integer RoundHalfEven(Integer n, Integer d) {
  Integer q = n / d;
  const Integer twiceRem = 2 * (n % d);
  if (twiceRem > d || (twiceRem == d && (q % 2) != 0)) ++q;
  return q;
}

}  // namespace

TColor ShadeColor(TColor color) {
  const TColor rgb = ColorToRGB(color);
  const Integer r = GetRValue(rgb), g = GetGValue(rgb), b = GetBValue(rgb);
  const Integer nr = r + (256 - r) / 4 - 81;
  const Integer ng = g < 48 ? g + (11 - g / 4) : g + 3 * (31 - g / 8) - 77;
  // (255 - b) / 2.8 taken exactly as (255 - b) * 5 / 14.
  const Integer nb = b + RoundHalfEven((255 - b) * 5, 14) - 53;
  return RGB(static_cast<Byte>(ClampChannel(nr)), static_cast<Byte>(ClampChannel(ng)),
             static_cast<Byte>(ClampChannel(nb)));
}

bool IsNullVariant(const Variant& v) {
  return VarIsNull(v) || VarIsEmpty(v);
}

bool SameVariants(const Variant& a, const Variant& b) {
  const bool na = IsNullVariant(a), nb = IsNullVariant(b);
  if (na || nb) return na && nb;
  return a == b;
}

Integer MoveTargetIndex(Integer from, Integer to, Integer count, bool before) {
  if (before) return from < to && to > 0 ? to - 1 : to;
  return to < from && to < count - 1 ? to + 1 : to;
}

TPoint MessageCursorPos() {
  return GetMessagePos();
}

bool IsKeyDown(Integer virtualKey) {
  return GetKeyState(virtualKey) < 0;
}

WPARAM ShiftStateToMouseKeys(TShiftState shift) {
  WPARAM keys = 0;
  if (shift.Contains(ssShift)) keys |= MK_SHIFT;
  if (shift.Contains(ssCtrl)) keys |= MK_CONTROL;
  if (shift.Contains(ssLeft)) keys |= MK_LBUTTON;
  if (shift.Contains(ssRight)) keys |= MK_RBUTTON;
  if (shift.Contains(ssMiddle)) keys |= MK_MBUTTON;
  return keys;
}

void SendKeyDown(TControl* control, Word key, TShiftState shift) {
  if (!control) return;
  LPARAM data = 1;  // repeat count
  if (shift.Contains(ssAlt)) data |= LPARAM(1) << 29;
  control->Perform(WM_KEYDOWN, key, data);
}

void ProcessPendingCommand() {
  TMsg msg;
  if (PeekMessage(msg, 0, WM_COMMAND, WM_COMMAND, PM_NOREMOVE)) ProcessPendingMessages();
}

bool IsParentOf(const TControl* parent, const TControl* control) {
  if (!parent || !control) return false;
  for (const TControl* p = control->Parent(); p; p = p->Parent())
    if (p == parent) return true;
  return false;
}

Integer FirstDayOfWeek() {
  const Integer d = FormatSettings().FirstDayOfWeek;  // 0 = Monday ... 6 = Sunday
  if (d < 0 || d > 6) return 1;
  return (d + 1) % 7 + 1;
}

}  // namespace brevant
