#include <gtest/gtest.h>

#include "classes/collection.h"
#include "classes/rtti_builder.h"

using namespace brevant;

namespace {

class TLoggingCollection;

class TColumnItem : public TCollectionItem {
  BV_CLASS(TColumnItem, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  Integer Width() const { return width_; }
  void SetWidth(Integer w) {
    if (w == width_) return;
    width_ = w;
    Changed(false);
  }
  String DisplayName() const override { return "Column " + std::to_string(width_); }
  void Assign(const TPersistent* source) override {
    if (auto* c = dynamic_cast<const TColumnItem*>(source)) {
      SetWidth(c->width_);
      return;
    }
    TCollectionItem::Assign(source);
  }

 private:
  Integer width_ = 64;  // already set when the collection first sees the item
};

class TLoggingCollection : public TCollection {
  BV_CLASS(TLoggingCollection, TCollection)
 public:
  TLoggingCollection() : TCollection(TColumnItem::StaticClass()) {}
  std::vector<String> log;
  Integer updatesSeenInBracket = -1;

 protected:
  void Update(TCollectionItem* item) override {
    log.push_back(item ? "update " + item->DisplayName() : "update all");
  }
  void Notify(TCollectionItem* item, TCollectionNotification action) override {
    static const char* names[] = {"added", "extracting", "deleting"};
    log.push_back(String(names[action]) + " " + item->DisplayName());
  }
};

}  // namespace

BV_IMPLEMENT_CLASS(TColumnItem, TCollectionItem)
BV_IMPLEMENT_ABSTRACT_CLASS(TLoggingCollection, TCollection)

TEST(Collection, NotificationsReachWholeItems) {
  TObjectPtr<TLoggingCollection> c(Create<TLoggingCollection>());
  auto* item = static_cast<TColumnItem*>(c->Add());
  // The derived item's DisplayName and width are in place when it joins.
  EXPECT_EQ(c->log, (std::vector<String>{"added Column 64", "update all"}));
  c->log.clear();
  item->SetWidth(80);
  EXPECT_EQ(c->log, (std::vector<String>{"update Column 80"}));
  c->log.clear();
  item->Free();
  EXPECT_EQ(c->log, (std::vector<String>{"extracting Column 80", "update all"}));
  EXPECT_EQ(c->Count(), 0) << "a freed item leaves its collection";
}

TEST(Collection, BracketsAreCountedAndClearBracketsItself) {
  TObjectPtr<TLoggingCollection> c(Create<TLoggingCollection>());
  c->BeginUpdate();
  c->BeginUpdate();
  c->Add();
  c->Add();
  static_cast<TColumnItem*>(c->Items(0))->SetWidth(10);
  c->EndUpdate();
  EXPECT_EQ(std::count(c->log.begin(), c->log.end(), "update all"), 0);
  c->EndUpdate();
  EXPECT_EQ(c->log.back(), "update all");
  EXPECT_EQ(std::count(c->log.begin(), c->log.end(), "update all"), 1);
  c->log.clear();
  c->Clear();
  EXPECT_EQ(c->Count(), 0);
  EXPECT_EQ(std::count(c->log.begin(), c->log.end(), "update all"), 1) << "one update for a clear";
}

TEST(Collection, IndexMovesAndInsert) {
  TObjectPtr<TLoggingCollection> c(Create<TLoggingCollection>());
  for (int w : {1, 2, 3}) static_cast<TColumnItem*>(c->Add())->SetWidth(w);
  c->Items(2)->SetIndex(0);
  EXPECT_EQ(static_cast<TColumnItem*>(c->Items(0))->Width(), 3);
  EXPECT_EQ(c->Items(0)->Index(), 0);
  auto* inserted = static_cast<TColumnItem*>(c->Insert(1));
  EXPECT_EQ(inserted->Index(), 1);
  EXPECT_EQ(c->Count(), 4);
  EXPECT_NE(c->Items(0)->ID(), c->Items(1)->ID());
  EXPECT_EQ(c->FindItemID(inserted->ID()), inserted);
  EXPECT_THROW(c->Items(4), EListError);
  EXPECT_THROW(c->Delete(-1), EListError);
}

TEST(Collection, AssignCopiesItemsAndItemsMoveBetweenCollections) {
  TObjectPtr<TLoggingCollection> a(Create<TLoggingCollection>());
  TObjectPtr<TLoggingCollection> b(Create<TLoggingCollection>());
  for (int w : {5, 6}) static_cast<TColumnItem*>(a->Add())->SetWidth(w);
  b->Add();
  b->Assign(a.get());
  ASSERT_EQ(b->Count(), 2);
  EXPECT_EQ(static_cast<TColumnItem*>(b->Items(1))->Width(), 6);
  TCollectionItem* moved = a->Items(0);
  moved->SetCollection(b.get());
  EXPECT_EQ(a->Count(), 1);
  EXPECT_EQ(b->Count(), 3);
  EXPECT_EQ(moved->Collection(), b.get());
  // A standalone item has no collection and frees cleanly.
  TCollectionItem* alone = Create<TColumnItem>(nullptr);
  EXPECT_EQ(alone->Collection(), nullptr);
  EXPECT_EQ(alone->Index(), -1);
  alone->Free();
}

namespace {
class TThrowingCollection : public TCollection {
 public:
  TThrowingCollection() : TCollection(TColumnItem::StaticClass()) {}
  bool armed = false;

 protected:
  void Update(TCollectionItem*) override {
    if (armed) throw EInvalidOperation("update failed");
  }
};
}  // namespace

TEST(Collection, AnUpdateFailureAtTheEndOfABracketPropagates) {
  TObjectPtr<TThrowingCollection> c(Create<TThrowingCollection>());
  c->Add();
  c->armed = true;
  EXPECT_THROW({ TCollectionUpdate update(c.get()); }, EInvalidOperation);
  EXPECT_EQ(c->UpdateCount(), 0) << "the bracket closed all the same";
  // While another exception unwinds, the update's own failure is dropped.
  EXPECT_THROW(
      {
        TCollectionUpdate update(c.get());
        throw EAbort("first");
      },
      EAbort);
  c->armed = false;
}

TEST(Collection, OutOfRangeIndexesRaiseTheListError) {
  TObjectPtr<TLoggingCollection> c(Create<TLoggingCollection>());
  for (int w : {1, 2}) static_cast<TColumnItem*>(c->Add())->SetWidth(w);
  EXPECT_THROW(c->Insert(3), EListError);
  EXPECT_THROW(c->Insert(-1), EListError);
  EXPECT_EQ(c->Count(), 2) << "a refused insert adds nothing";
  EXPECT_THROW(c->Items(0)->SetIndex(2), EListError);
  EXPECT_THROW(c->Items(0)->SetIndex(-1), EListError);
  EXPECT_EQ(static_cast<TColumnItem*>(c->Items(0))->Width(), 1) << "nothing moved";
  EXPECT_EQ(c->Insert(2)->Index(), 2) << "inserting at the end is allowed";
  c->Items(0)->SetIndex(2);
  EXPECT_EQ(static_cast<TColumnItem*>(c->Items(2))->Width(), 1);
}

TEST(Collection, AssignFromItselfChangesNothing) {
  TObjectPtr<TLoggingCollection> c(Create<TLoggingCollection>());
  for (int w : {7, 8}) static_cast<TColumnItem*>(c->Add())->SetWidth(w);
  TCollectionItem* first = c->Items(0);
  c->Assign(c.get());
  ASSERT_EQ(c->Count(), 2);
  EXPECT_EQ(c->Items(0), first) << "the items stay";
  EXPECT_EQ(static_cast<TColumnItem*>(c->Items(1))->Width(), 8);
}
