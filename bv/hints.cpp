#include "bv/hints.h"

#include <algorithm>
#include <cstdlib>

#include "bv_rtm/bv_errors.h"
#include "bv_rtm/draw_helpers.h"
#include "classes/rtti_builder.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "rtl/numconv.h"

namespace brevant {

// ---- THintWindowEx ----

BV_IMPLEMENT_CLASS(THintWindowEx, THintWindow)

THintWindowEx::THintWindowEx(TComponent* owner) : THintWindow(owner) {}

void THintWindowEx::ActivateHintData(TRect rect, const String& hint, void* data) {
  data_ = data;
  THintWindow::ActivateHintData(rect, hint, data);
}

TRect THintWindowEx::CalcHintRect(Integer maxWidth, const String& hint, void* data) {
  data_ = data;
  Canvas()->Font()->Assign(Font());
  return THintWindow::CalcHintRect(maxWidth, hint, data);
}

void THintWindowEx::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(ClientRect());
  TRect r = ClientRect();
  r.Top += 2;
  DrawTextAligned(canvas, r, Caption(), 0, 0, 2, 0, true, false, false);
}

void THintWindowEx::Dispatch(TMessage& message) {
  if (message.Msg == WM_NCPAINT) {
    WMNCPaintFrame(message);
    return;
  }
  THintWindow::Dispatch(message);
}

void THintWindowEx::WMNCPaintFrame(TMessage& message) {
  message.Result = 0;
  if (!HandleAllocated()) return;
  const HWND wnd = WindowHandle();
  TCanvas* dc = GetWindowDC(wnd);
  if (!dc) return;
  // The context's default pen and brush: a black one-pixel frame.
  dc->Pen()->SetColor(clBlack);
  dc->Pen()->SetWidth(1);
  dc->Brush()->SetStyle(bsClear);
  dc->Rectangle(TRect(0, 0, Width(), Height()));
  ReleaseDC(wnd, dc);
}

// ---- TScaleableItems ----

void TScaleableItems::AddItem(Integer value, bool fixed, Integer min, Integer max) {
  TScaleableItem item;
  item.Value = value;
  item.Min = fixed ? value : min;
  item.Max = fixed ? value : max;
  items_.push_back(item);
}

TScaleableItem& TScaleableItems::Items(Integer index) {
  CheckIndex(index, Count());
  return items_[static_cast<size_t>(index)];
}

Integer TScaleableItems::ClampInto(TScaleableItem& item, Integer value) {
  const Integer clamped = std::clamp(value, item.Min, std::max(item.Min, item.Max));
  if (clamped != value) item.Clamped = true;
  return clamped;
}

Integer TScaleableItems::Distribute(Integer delta, Integer first, Integer last, Integer base,
                                    bool whole) {
  Integer inBounds = 0;  // changes that stayed within the bounds
  bool changedAny = true;
  while (delta != 0 && changedAny) {
    changedAny = false;
    Integer absorbed = 0;
    for (Integer i = first; i < last && absorbed != delta; ++i) {
      TScaleableItem& item = items_[static_cast<size_t>(i)];
      if (item.Clamped) continue;
      // A zero base shares nothing (MulDiv would answer -1).
      Integer share = base != 0 ? MulDiv(delta, item.Value, base) : 0;
      // Never absorb more than what is left of delta.
      if (std::abs(absorbed + share) > std::abs(delta)) share = delta - absorbed;
      const Integer old = item.Value;
      item.Value = ClampInto(item, old + share);
      if (item.Value == old) continue;
      changedAny = true;
      absorbed += item.Value - old;
      if (item.Value == old + share) ++inBounds;
    }
    base += absorbed;
    delta -= absorbed;
  }
  if (delta != 0 && (2 * std::abs(delta) < inBounds || whole)) {
    // One unit per entry and sweep; sweeps repeat while an entry takes one,
    // so a remainder larger than the entries (shares of a base mostly held
    // by clamped entries round to nothing) is still used up.
    const Integer unit = delta > 0 ? 1 : -1;
    for (bool took = true; delta != 0 && took;) {
      took = false;
      for (Integer i = first; i < last && delta != 0; ++i) {
        TScaleableItem& item = items_[static_cast<size_t>(i)];
        if (item.Clamped) continue;
        if (item.Value + unit < item.Min || item.Value + unit > item.Max) {
          item.Clamped = true;
          continue;
        }
        item.Value += unit;
        delta -= unit;
        took = true;
      }
    }
  }
  return delta;
}

void TScaleableItems::Scale(Integer newValue, Integer index) {
  if (index != -1) CheckIndex(index, Count());
  Integer before = 0, after = 0;
  for (Integer i = 0; i < Count(); ++i) {
    if (i < index) before += items_[static_cast<size_t>(i)].Value;
    if (i > index) after += items_[static_cast<size_t>(i)].Value;
  }
  const bool whole = index == -1;
  Integer delta = 0;
  if (whole) {
    delta = newValue - after;
  } else {
    TScaleableItem& item = items_[static_cast<size_t>(index)];
    const Integer old = item.Value;
    item.Value = ClampInto(item, newValue);
    delta = old - item.Value;
  }
  delta = Distribute(delta, index + 1, Count(), after, whole);
  if (whole || delta == 0) return;
  delta = Distribute(delta, 0, index, before, false);
  if (delta == 0) return;
  TScaleableItem& item = items_[static_cast<size_t>(index)];
  item.Value = ClampInto(item, item.Value + delta);
}

}  // namespace brevant
