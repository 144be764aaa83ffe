// TznList: a list that frees its items when they are deleted.
#pragma once

#include "rtl/lists.h"

namespace brevant {

// With OwnsItems (default) Delete, Clear and the end of the list (Free,
// delete, or leaving the scope it lives in) free the items: as
// TObject (Free) when ItemsAreObjects, else as raw memory blocks taken
// with std::malloc (freed with std::free). Extract and Remove-by-Extract
// hand an item back without freeing it.
class TznList : public TList {
  BV_CLASS(TznList, TList)
 public:
  TznList() = default;
  TznList(bool ownsItems, bool itemsAreObjects)
      : ownsItems_(ownsItems), itemsAreObjects_(itemsAreObjects) {}
  // TList's destructor reaches only its own Delete; the items go here.
  ~TznList() override;

  bool OwnsItems() const { return ownsItems_; }
  void SetOwnsItems(bool v) { ownsItems_ = v; }
  bool ItemsAreObjects() const { return itemsAreObjects_; }
  void SetItemsAreObjects(bool v) { itemsAreObjects_ = v; }

  // Frees the item first (when owned), then removes it.
  void Delete(Integer index) override;
  // Deletes from the front until empty.
  void Clear() override;

 private:
  void FreeItem(void* item) const;

  bool ownsItems_ = true;
  bool itemsAreObjects_ = false;
};

}  // namespace brevant
