#include "classes/collection.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "rtl/resstrings.h"

namespace brevant {

BV_IMPLEMENT_CLASS(TCollectionItem, TPersistent)
BV_IMPLEMENT_ABSTRACT_CLASS(TCollection, TPersistent)
BV_IMPLEMENT_ABSTRACT_CLASS(TOwnedCollection, TCollection)

// ---- item ---------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) : pending_(collection) {}

void TCollectionItem::AfterConstruction() {
  TPersistent::AfterConstruction();
  TCollection* c = pending_;
  pending_ = nullptr;
  if (c) SetCollection(c);
}

void TCollectionItem::BeforeDestruction() {
  SetCollection(nullptr);
  TPersistent::BeforeDestruction();
}

void TCollectionItem::SetCollection(TCollection* collection) {
  if (collection == collection_) return;
  if (collection_) collection_->RemoveItem(this);
  if (collection) collection->InsertItem(this);
}

Integer TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& items = collection_->items_;
  auto it = std::find(items.begin(), items.end(), this);
  return it == items.end() ? -1 : static_cast<Integer>(it - items.begin());
}

void TCollectionItem::SetIndex(Integer index) {
  if (!collection_) return;
  if (index < 0 || index >= collection_->Count()) throw EListError(res::SListIndexError, {index});
  Integer cur = Index();
  if (cur >= 0 && cur != index) {
    collection_->MoveItem(this, index);
    Changed(true);
  }
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(allItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() const {
  return collection_;
}

String TCollectionItem::GetNamePath() const {
  if (!collection_) return ClassName();
  return collection_->GetNamePath() + "[" + std::to_string(Index()) + "]";
}

// ---- collection -------------------------------------------------------------------------

TCollection::TCollection(TCollectionItemClass itemClass) : itemClass_(itemClass) {}

TCollection::~TCollection() {
  // Items left when the collection is deleted without Free.
  for (TCollectionItem* item : items_) {
    item->collection_ = nullptr;
    item->Free();
  }
}

void TCollection::BeforeDestruction() {
  updateCount_ = 1;  // no Update calls while the items go
  while (!items_.empty()) items_.back()->Free();
  TPersistent::BeforeDestruction();
}

TCollectionItem* TCollection::Items(Integer index) const {
  if (index < 0 || index >= Count()) throw EListError(res::SListIndexError, {index});
  return items_[static_cast<std::size_t>(index)];
}

TCollectionItem* TCollection::Add() {
  return static_cast<TCollectionItem*>(itemClass_->NewInstance(this));
}

TCollectionItem* TCollection::Insert(Integer index) {
  if (index < 0 || index > Count()) throw EListError(res::SListIndexError, {index});
  TCollectionItem* item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(Integer index) {
  Notify(Items(index), cnDeleting);
  Items(index)->Free();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  TCollectionUpdate update(this);
  while (!items_.empty()) items_.back()->Free();
}

TCollectionItem* TCollection::FindItemID(Integer id) const {
  for (TCollectionItem* item : items_)
    if (item->id_ == id) return item;
  return nullptr;
}

void TCollection::BeginUpdate() {
  ++updateCount_;
}

void TCollection::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  TCollectionUpdate update(this);
  Clear();
  for (TCollectionItem* item : other->items_) Add()->Assign(item);
}

String TCollection::GetNamePath() const {
  TPersistent* owner = GetOwner();
  if (!owner) return ClassName();
  String path = owner->GetNamePath();
  String prop = PropName();
  return prop.empty() ? path : path + "." + prop;
}

void TCollection::InsertItem(TCollectionItem* item) {
  items_.push_back(item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Notify(item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  Notify(item, cnExtracting);
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it != items_.end()) items_.erase(it);
  item->collection_ = nullptr;
  Changed();
}

void TCollection::MoveItem(TCollectionItem* item, Integer newIndex) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  items_.erase(it);
  items_.insert(items_.begin() + newIndex, item);
}

}  // namespace brevant
