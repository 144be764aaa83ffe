// TCollection and TCollectionItem: an ordered list of items of one class
// that streams as a whole.
//
// An item joins its collection in AfterConstruction (so the collection's
// notifications reach a whole item) and leaves it in BeforeDestruction;
// freeing an item removes it. Update brackets are virtual and counted; the
// collection's virtual Update(item) runs with nullptr at the end of the
// outermost bracket, and on add, delete and item changes outside a bracket.
// Clear brackets itself.
#pragma once

#include <exception>
#include <vector>

#include "rtl/closing_guard.h"
#include "rtl/persistent.h"

namespace brevant {

class TCollection;

class TCollectionItem : public TPersistent {
  BV_CLASS(TCollectionItem, TPersistent)
 public:
  using TCreateArg = TCollection*;

  // A nil collection is allowed: the item stands alone until given one.
  explicit TCollectionItem(TCollection* collection = nullptr);
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TCollection* Collection() const { return collection_; }
  // Moves the item to another collection (or out of any, with nullptr).
  virtual void SetCollection(TCollection* collection);
  Integer Index() const;
  // Raises EListError outside 0 .. Count-1.
  virtual void SetIndex(Integer index);
  Integer ID() const { return id_; }
  virtual String DisplayName() const { return ClassName(); }
  virtual void SetDisplayName(const String& value) { (void)value; }
  TPersistent* GetOwner() const override;
  String GetNamePath() const override;

 protected:
  // Tells the collection of a change: of this item, or of all items.
  void Changed(bool allItems);

 private:
  TCollection* collection_ = nullptr;
  TCollection* pending_ = nullptr;  // the collection to join after construction
  Integer id_ = 0;

  friend class TCollection;
};

using TCollectionItemClass = TClass;

enum TCollectionNotification : Byte { cnAdded, cnExtracting, cnDeleting };

class TCollection : public TPersistent {
  BV_CLASS(TCollection, TPersistent)
 public:
  explicit TCollection(TCollectionItemClass itemClass = TCollectionItem::StaticClass());
  ~TCollection() override;
  void BeforeDestruction() override;

  TCollectionItemClass ItemClass() const { return itemClass_; }
  Integer Count() const { return static_cast<Integer>(items_.size()); }
  // Raises EListError outside 0 .. Count-1.
  TCollectionItem* Items(Integer index) const;
  TCollectionItem* Add();
  // Raises EListError outside 0 .. Count.
  TCollectionItem* Insert(Integer index);
  void Delete(Integer index);
  void Clear();
  TCollectionItem* FindItemID(Integer id) const;

  virtual void BeginUpdate();
  virtual void EndUpdate();
  Integer UpdateCount() const { return updateCount_; }

  // Clears and adds one item per source item, assigning each; from itself
  // it changes nothing.
  void Assign(const TPersistent* source) override;
  TPersistent* GetOwner() const override { return nullptr; }
  String GetNamePath() const override;
  // The name of the property through which the owner publishes this
  // collection (for name paths); empty when unknown.
  virtual String PropName() const { return propName_; }
  void SetPropName(const String& name) { propName_ = name; }

 protected:
  // The change notification: item is the changed item, or nullptr for a
  // change of the collection as a whole.
  virtual void Update(TCollectionItem* item) { (void)item; }
  virtual void Notify(TCollectionItem* item, TCollectionNotification action) {
    (void)item, (void)action;
  }
  // Update(nullptr) unless a bracket is open.
  void Changed();

 private:
  void InsertItem(TCollectionItem* item);
  void RemoveItem(TCollectionItem* item);
  void MoveItem(TCollectionItem* item, Integer newIndex);

  TCollectionItemClass itemClass_;
  std::vector<TCollectionItem*> items_;
  Integer updateCount_ = 0;
  Integer nextId_ = 0;
  String propName_;

  friend class TCollectionItem;
};

// A collection that knows its owner (a component publishing it).
class TOwnedCollection : public TCollection {
  BV_CLASS(TOwnedCollection, TCollection)
 public:
  TOwnedCollection(TPersistent* owner, TCollectionItemClass itemClass)
      : TCollection(itemClass), owner_(owner) {}
  TPersistent* GetOwner() const override { return owner_; }

 private:
  TPersistent* owner_;
};

// Brackets a collection's update on every path.
class TCollectionUpdate {
 public:
  explicit TCollectionUpdate(TCollection* c) : c_(c), exceptions_(std::uncaught_exceptions()) {
    c_->BeginUpdate();
  }
  // An Update override may throw; that exception travels on unless another
  // one is already unwinding (two cannot travel at once).
  ~TCollectionUpdate() noexcept(false) {
    CloseBracket(LeavingByException(exceptions_), [this] { c_->EndUpdate(); });
  }
  TCollectionUpdate(const TCollectionUpdate&) = delete;
  TCollectionUpdate& operator=(const TCollectionUpdate&) = delete;

 private:
  TCollection* c_;
  int exceptions_;
};

}  // namespace brevant
