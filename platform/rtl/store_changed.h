// The first half of every property setter: store the new value only when it
// differs, so that the caller notifies, relayouts or repaints only then.
//   void TPen::SetColor(TColor value) {
//     if (StoreChanged(color_, value)) Changed();
//   }
#pragma once

#include <utility>

namespace brevant {

// Stores value in field unless field holds it already; answers whether the
// field changed.
template <class T, class V>
bool StoreChanged(T& field, V&& value) {
  if (field == value) return false;
  field = std::forward<V>(value);
  return true;
}

}  // namespace brevant
