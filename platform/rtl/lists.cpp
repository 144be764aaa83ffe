#include "rtl/lists.h"

#include <algorithm>

#include "rtl/exceptions.h"
#include "rtl/resstrings.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TList, TObject)

void TList::BeforeDestruction() {
  Clear();
  TObject::BeforeDestruction();
}

TList::~TList() {
  Clear();
}

void TList::Error(const char* message, Integer index) {
  throw EListError(message, {index});
}

void TList::CheckIndex(Integer index) const {
  if (index < 0 || index >= Count()) Error(res::SListIndexError, index);
}

Integer TList::Add(void* item) {
  const Integer index = Count();
  Insert(index, item);
  return index;
}

void TList::Insert(Integer index, void* item) {
  if (index < 0 || index > Count()) Error(res::SListIndexError, index);
  if (Count() == INT32_MAX) Error(res::SListCountError, Count());
  items_.insert(items_.begin() + index, item);
  if (item) Notify(item, lnAdded);
}

void TList::Delete(Integer index) {
  CheckIndex(index);
  void* item = items_[static_cast<std::size_t>(index)];
  items_.erase(items_.begin() + index);
  if (item) Notify(item, lnDeleted);
}

Integer TList::Remove(void* item) {
  const Integer index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void* TList::Extract(void* item) {
  const Integer index = IndexOf(item);
  if (index < 0) return nullptr;
  items_.erase(items_.begin() + index);
  if (item) Notify(item, lnExtracted);
  return item;
}

Integer TList::IndexOf(void* item) const {
  const auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<Integer>(it - items_.begin());
}

void TList::SetCount(Integer count) {
  if (count < 0) Error(res::SListCountError, count);
  if (count > Count()) {
    items_.resize(static_cast<std::size_t>(count), nullptr);
    return;
  }
  // Notify may change the list; every step re-checks the bounds.
  for (Integer i = Count() - 1; i >= count; --i) {
    if (i < Count()) Delete(i);
  }
}

Integer TList::Capacity() const {
  return static_cast<Integer>(std::min<std::size_t>(items_.capacity(), INT32_MAX));
}

void TList::SetCapacity(Integer capacity) {
  if (capacity < Count()) Error(res::SListCapacityError, capacity);
  const auto wanted = static_cast<std::size_t>(capacity);
  if (wanted >= items_.capacity()) {
    items_.reserve(wanted);
  } else {
    std::vector<void*> shrunk;
    shrunk.reserve(wanted);
    shrunk.assign(items_.begin(), items_.end());
    items_.swap(shrunk);
  }
}

void* TList::Items(Integer index) const {
  CheckIndex(index);
  return items_[static_cast<std::size_t>(index)];
}

void TList::SetItems(Integer index, void* item) {
  CheckIndex(index);
  void* old = items_[static_cast<std::size_t>(index)];
  if (old == item) return;
  items_[static_cast<std::size_t>(index)] = item;
  if (old) Notify(old, lnDeleted);
  if (item) Notify(item, lnAdded);
}

void TList::Exchange(Integer index1, Integer index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
}

void TList::Move(Integer curIndex, Integer newIndex) {
  CheckIndex(curIndex);
  CheckIndex(newIndex);
  const auto b = items_.begin();
  if (curIndex < newIndex)
    std::rotate(b + curIndex, b + curIndex + 1, b + newIndex + 1);
  else if (curIndex > newIndex)
    std::rotate(b + newIndex, b + curIndex, b + curIndex + 1);
}

void TList::Clear() {
  for (Integer i = Count() - 1; i >= 0; --i) {
    if (i < Count()) Delete(i);
  }
  std::vector<void*>().swap(items_);
}

void TList::Pack() {
  items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end());
}

void TList::Sort(TListSortCompare compare) {
  if (!compare) return;
  MergeSortStable(items_, compare);
}

void TList::Notify(void*, TListNotification) {}

}  // namespace brevant
