#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rtl/exceptions.h"
#include "rtl/lists.h"

using namespace brevant;

namespace {

int v[10];
void* P(int i) {
  return &v[i];
}

// Records every notification, as "+i", "-i" or "x i".
class LoggingList : public TList {
 public:
  std::vector<std::string> log;

 protected:
  void Notify(void* item, TListNotification action) override {
    const int i = static_cast<int>(static_cast<int*>(item) - v);
    const char* tag = action == lnAdded ? "+" : action == lnDeleted ? "-" : "x";
    log.push_back(tag + std::to_string(i));
  }
};

// Owns heap-allocated ints and frees them on deletion; counts live ones.
int g_live = 0;
class OwningList : public TList {
 public:
  ~OwningList() override { Clear(); }
  void AddNew(int value) {
    ++g_live;
    Add(new int(value));
  }

 protected:
  void Notify(void* item, TListNotification action) override {
    if (action == lnDeleted) {
      delete static_cast<int*>(item);
      --g_live;
    }
  }
};

std::vector<int> Indexes(const TList& l) {
  std::vector<int> r;
  for (Integer i = 0; i < l.Count(); ++i)
    r.push_back(l.Items(i) ? static_cast<int>(static_cast<int*>(l.Items(i)) - v) : -1);
  return r;
}

}  // namespace

TEST(List, AddInsertDeleteAndNotifications) {
  LoggingList l;
  EXPECT_EQ(l.Add(P(1)), 0);
  EXPECT_EQ(l.Add(P(2)), 1);
  l.Insert(0, P(0));
  l.Insert(3, P(3));
  l.Add(nullptr);  // nil items are stored but not reported
  EXPECT_EQ(Indexes(l), (std::vector<int>{0, 1, 2, 3, -1}));
  EXPECT_EQ(l.First(), P(0));
  EXPECT_EQ(l.Last(), nullptr);
  EXPECT_EQ(l.IndexOf(P(2)), 2);
  EXPECT_EQ(l.IndexOf(P(9)), -1);

  l.Delete(4);
  EXPECT_EQ(l.Remove(P(1)), 1);
  EXPECT_EQ(l.Remove(P(9)), -1);
  EXPECT_EQ(l.Extract(P(3)), P(3));
  EXPECT_EQ(l.Extract(P(3)), nullptr);
  l.SetItems(0, P(5));
  EXPECT_EQ(Indexes(l), (std::vector<int>{5, 2}));
  l.Clear();
  EXPECT_EQ(l.Count(), 0);
  EXPECT_EQ(l.log, (std::vector<std::string>{"+1", "+2", "+0", "+3", "-1", "x3", "-0", "+5", "-2",
                                             "-5"}));  // Clear deletes from the end
}

TEST(List, IndexErrorsNameTheIndex) {
  TList l;
  l.Add(P(0));
  try {
    l.Items(1);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_NE(e.Message().find("(1)"), String::npos) << e.Message();
  }
  EXPECT_THROW(l.Items(-1), EListError);
  EXPECT_THROW(l.Insert(2, P(1)), EListError);
  EXPECT_THROW(l.Delete(1), EListError);
  EXPECT_THROW(l.Exchange(0, 1), EListError);
  EXPECT_THROW(l.Move(0, 1), EListError);
  EXPECT_THROW(l.SetCount(-1), EListError);
  EXPECT_THROW(l.SetCapacity(0), EListError);
  EXPECT_THROW(TList().First(), EListError);
  EXPECT_EQ(l.Count(), 1);
}

TEST(List, CountCapacityMoveExchangePack) {
  LoggingList l;
  l.SetCount(3);
  EXPECT_EQ(Indexes(l), (std::vector<int>{-1, -1, -1}));
  l.SetItems(1, P(1));
  l.Pack();
  EXPECT_EQ(Indexes(l), (std::vector<int>{1}));
  for (int i : {2, 3, 4}) l.Add(P(i));
  l.Move(0, 3);  // 2 3 4 1
  EXPECT_EQ(Indexes(l), (std::vector<int>{2, 3, 4, 1}));
  l.Move(3, 1);  // 2 1 3 4
  EXPECT_EQ(Indexes(l), (std::vector<int>{2, 1, 3, 4}));
  l.Exchange(0, 3);
  EXPECT_EQ(Indexes(l), (std::vector<int>{4, 1, 3, 2}));
  l.log.clear();
  l.SetCount(2);  // shrinking deletes (and reports) from the end
  EXPECT_EQ(l.log, (std::vector<std::string>{"-2", "-3"}));
  l.SetCapacity(100);
  EXPECT_GE(l.Capacity(), 100);
  l.SetCapacity(2);
  EXPECT_EQ(Indexes(l), (std::vector<int>{4, 1}));
}

TEST(List, SortIsStableAndSurvivesBadComparers) {
  TList l;
  for (int i : {3, 1, 4, 1, 5, 9, 2, 6}) l.Add(P(i));
  l.Sort([](void* a, void* b) -> Integer {
    return static_cast<Integer>(static_cast<int*>(a) - static_cast<int*>(b));
  });
  EXPECT_EQ(Indexes(l), (std::vector<int>{1, 1, 2, 3, 4, 5, 6, 9}));
  // Everything compares equal: order kept.
  l.Sort([](void*, void*) -> Integer { return 0; });
  EXPECT_EQ(Indexes(l), (std::vector<int>{1, 1, 2, 3, 4, 5, 6, 9}));
  // An inconsistent comparer must not corrupt or lose items.
  l.Sort([](void*, void*) -> Integer { return -1; });
  EXPECT_EQ(l.Count(), 8);
  // A throwing comparer leaves the list as it was.
  const std::vector<int> before = Indexes(l);
  EXPECT_THROW(l.Sort([](void*, void*) -> Integer { throw EListError("boom"); }), EListError);
  EXPECT_EQ(Indexes(l), before);
}

TEST(List, DescendantFreesItsItems) {
  g_live = 0;
  {
    OwningList l;
    for (int i = 0; i < 5; ++i) l.AddNew(i);
    l.Delete(0);
    EXPECT_EQ(g_live, 4);
    int* kept = static_cast<int*>(l.Extract(l.Items(0)));  // extracted: not freed
    EXPECT_EQ(g_live, 4);
    delete kept;
    --g_live;
  }
  EXPECT_EQ(g_live, 0);  // the destructor's Clear freed the rest
}

namespace {
// Frees its items in Notify and relies on Free alone to clear itself.
class FreeingList : public TList {
 protected:
  void Notify(void* item, TListNotification action) override {
    if (action == lnDeleted) {
      delete static_cast<int*>(item);
      --g_live;
    }
  }
};
}  // namespace

TEST(List, FreeReachesTheDescendantsNotify) {
  g_live = 0;
  FreeingList* l = Create<FreeingList>();
  for (int i = 0; i < 3; ++i) {
    ++g_live;
    l->Add(new int(i));
  }
  l->Free();
  EXPECT_EQ(g_live, 0) << "BeforeDestruction cleared the list while it was whole";
}
