// TList: an ordered list of untyped pointers. Descendants that own their
// items override Notify to free them.
#pragma once

#include <vector>

#include "rtl/object.h"
#include "rtl/types.h"

namespace brevant {

enum TListNotification : Byte { lnAdded, lnExtracted, lnDeleted };

// Answers <0, 0, >0 as a sorts before, with or after b.
using TListSortCompare = Integer (*)(void* a, void* b);

// Sorts items stably by compare(a, b) (<0, 0, >0) with a merge sort. Works
// on a copy, so whatever compare answers nothing is read out of bounds, and
// when compare throws the items are left as they were.
template <class T, class Compare>
void MergeSortStable(std::vector<T>& items, Compare compare) {
  const std::size_t n = items.size();
  if (n < 2) return;
  std::vector<T> a = items;
  std::vector<T> b(n);
  for (std::size_t width = 1; width < n; width *= 2) {
    for (std::size_t lo = 0; lo < n; lo += 2 * width) {
      const std::size_t mid = lo + width < n ? lo + width : n;
      const std::size_t hi = lo + 2 * width < n ? lo + 2 * width : n;
      std::size_t i = lo, j = mid, k = lo;
      while (i < mid && j < hi) b[k++] = compare(a[j], a[i]) < 0 ? a[j++] : a[i++];
      while (i < mid) b[k++] = a[i++];
      while (j < hi) b[k++] = a[j++];
    }
    a.swap(b);
  }
  items.swap(a);
}

class TList : public TObject {
  BV_CLASS(TList, TObject)
 public:
  TList() = default;
  // Free clears the list while it is whole, so a descendant's Notify (which
  // may free the items) runs for every item.
  void BeforeDestruction() override;
  // A list deleted without Free clears itself too, but as in any C++
  // destructor only TList's own Notify is reached then.
  ~TList() override;

  // Index arguments outside 0..Count()-1 raise EListError with the index.
  Integer Add(void* item);
  // index may be Count() (append).
  void Insert(Integer index, void* item);
  virtual void Delete(Integer index);
  // Deletes the first occurrence; answers its former index or -1.
  Integer Remove(void* item);
  // Removes the first occurrence without deleting it (lnExtracted); answers
  // the item, or nullptr when it is not in the list.
  void* Extract(void* item);
  Integer IndexOf(void* item) const;

  Integer Count() const { return static_cast<Integer>(items_.size()); }
  // Growing adds nullptr items; shrinking deletes from the end. Raises
  // EListError for a negative count.
  void SetCount(Integer count);
  Integer Capacity() const;
  // Raises EListError for a capacity below Count().
  void SetCapacity(Integer capacity);

  void* Items(Integer index) const;
  // Replacing notifies lnDeleted for the old item and lnAdded for the new.
  void SetItems(Integer index, void* item);
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }

  void Exchange(Integer index1, Integer index2);
  // Moves the item at curIndex so that it ends up at newIndex.
  void Move(Integer curIndex, Integer newIndex);
  // Deletes every item from the last to the first, then frees the storage.
  virtual void Clear();
  // Removes the nullptr items.
  void Pack();
  // Stable; an inconsistent or throwing compare cannot corrupt the list.
  void Sort(TListSortCompare compare);

  // The raw items, for fast iteration.
  void* const* List() const { return items_.data(); }

 protected:
  // Called after an item was added, extracted or deleted; nullptr items are
  // not reported. The default does nothing.
  virtual void Notify(void* item, TListNotification action);

  [[noreturn]] static void Error(const char* message, Integer index);
  void CheckIndex(Integer index) const;

 private:
  std::vector<void*> items_;
};

}  // namespace brevant
