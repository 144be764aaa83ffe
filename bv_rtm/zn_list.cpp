#include "bv_rtm/zn_list.h"

#include <cstdlib>

namespace brevant {

BV_IMPLEMENT_CLASS(TznList, TList)

TznList::~TznList() {
  Clear();
}

void TznList::FreeItem(void* item) const {
  if (!ownsItems_ || !item) return;
  if (itemsAreObjects_)
    static_cast<TObject*>(item)->Free();
  else
    std::free(item);
}

void TznList::Delete(Integer index) {
  CheckIndex(index);
  void* item = Items(index);
  // Detach before freeing, so a failing free cannot leave a dangling item.
  SetItems(index, nullptr);
  TList::Delete(index);
  FreeItem(item);
}

void TznList::Clear() {
  while (Count() > 0) Delete(0);
  TList::Clear();
}

}  // namespace brevant
