// THintWindowEx: the hint window of the grid's clipped titles and footers
// (and of the incremental search prompt); it keeps the data it was shown
// with and draws a plain one-pixel frame. TScaleableItems: bounded integer
// values that share out a change of one value, or of the total, over the
// others in proportion to their sizes (used to fit and resize groups).
#pragma once

#include <vector>

#include "controls/hintwindow.h"

namespace brevant {

class THintWindowEx : public THintWindow {
  BV_CLASS(THintWindowEx, THintWindow)
 public:
  explicit THintWindowEx(TComponent* owner);
  void ActivateHintData(TRect rect, const String& hint, void* data) override;
  TRect CalcHintRect(Integer maxWidth, const String& hint, void* data) override;
  // The data of the latest activation or measuring (for the grid: itself).
  void* HintData() const { return data_; }
  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;

 private:
  void WMNCPaintFrame(TMessage& message);
  void* data_ = nullptr;  // what the hint was shown for
};

// One bounded value of TScaleableItems.
struct TScaleableItem {
  Integer Value = 0;     // current value
  Integer Min = 0;       // lower bound
  Integer Max = 0;       // upper bound
  bool Clamped = false;  // a change had to be clamped to the bounds
};

class TScaleableItems {
 public:
  // A fixed entry gets Min = Max = value.
  void AddItem(Integer value, bool fixed, Integer min, Integer max);
  Integer Count() const { return static_cast<Integer>(items_.size()); }
  // Raises EBVError outside 0 .. Count-1.
  TScaleableItem& Items(Integer index);
  void Clear() { items_.clear(); }
  // Sets the entry at index to newValue and lets the others absorb the
  // difference; with index -1 the whole list is made to sum up to
  // newValue.
  void Scale(Integer newValue, Integer index);

 private:
  // Spreads delta over the unclamped entries in [first, last) in
  // proportion to their values summing to base; answers what is left.
  Integer Distribute(Integer delta, Integer first, Integer last, Integer base, bool whole);
  Integer ClampInto(TScaleableItem& item, Integer value);

  std::vector<TScaleableItem> items_;  // the entries in order
};

}  // namespace brevant
