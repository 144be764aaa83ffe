// The pick list of a standard vision.
#include "bv_std/pick_list.h"

#include "classes/rtti_builder.h"

namespace brevant {

BV_ENUM_INFO(TfvPickListType, pltDefault, pltSorted, pltMRU, pltSortedMRU)
BV_IMPLEMENT_CLASS(TtlPickList, TStringList)

bool TtlPickList::AddMissing(const String& s) {
  if (IndexOf(s) >= 0) return false;
  Add(s);
  return true;
}

void TtlPickList::MoveToFront(const String& s) {
  Integer index = IndexOf(s);
  if (index < 0) index = Add(s);
  if (Sorted() || index == 0) return;
  Move(index, 0);
}

}  // namespace brevant
