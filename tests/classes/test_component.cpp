#include <gtest/gtest.h>

#include "classes/component.h"
#include "classes/rtti_builder.h"

using namespace brevant;

namespace {

std::vector<String> g_events;

// Holds a reference to a component it does not own and clears it on free.
class TWatcher : public TComponent {
  BV_CLASS(TWatcher, TComponent)
 public:
  using TComponent::TComponent;
  TComponent* target = nullptr;
  void Watch(TComponent* c) {
    target = c;
    if (c) c->FreeNotification(this);
  }
  void Loaded() override {
    TComponent::Loaded();
    g_events.push_back("loaded " + Name());
  }

 protected:
  void Notification(TComponent* c, TOperation op) override {
    TComponent::Notification(c, op);
    g_events.push_back(String(op == opInsert ? "insert " : "remove ") + c->Name() + " -> " +
                       Name() + (c->IsDestroying() ? " (destroying)" : ""));
    if (op == opRemove && c == target) target = nullptr;
  }
};

// Watches a sibling and, like data-aware components do, detaches from what
// it still watches when it is freed.
class TDetacher : public TWatcher {
  BV_CLASS(TDetacher, TWatcher)
 public:
  using TWatcher::TWatcher;
  void BeforeDestruction() override {
    if (target) target->RemoveFreeNotification(this);
    TWatcher::BeforeDestruction();
  }
};

// Its name is only known once the derived part exists.
class TNamed : public TComponent {
  BV_CLASS(TNamed, TComponent)
 public:
  using TComponent::TComponent;
  void AfterConstruction() override {
    SetName("Named");
    TComponent::AfterConstruction();
  }
};

}  // namespace

BV_IMPLEMENT_CLASS(TWatcher, TComponent)
BV_IMPLEMENT_CLASS(TNamed, TComponent)
BV_IMPLEMENT_CLASS(TDetacher, TWatcher)

TEST(Component, OwnershipAndNames) {
  TObjectPtr<TComponent> owner(Create<TComponent>(nullptr));
  auto* a = Create<TComponent>(owner.get());
  auto* b = Create<TComponent>(owner.get());
  a->SetName("Alpha");
  b->SetName("Beta");
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(a->Owner(), owner.get());
  EXPECT_EQ(b->ComponentIndex(), 1);
  EXPECT_EQ(owner->FindComponent("ALPHA"), a);
  EXPECT_EQ(owner->FindComponent(""), nullptr);
  EXPECT_THROW(b->SetName("alpha"), EComponentError) << "names are unique per owner, ignoring case";
  EXPECT_THROW(b->SetName("1st"), EComponentError);
  EXPECT_THROW(b->SetName("has space"), EComponentError);
  EXPECT_EQ(b->Name(), "Beta");
  b->Free();
  EXPECT_EQ(owner->ComponentCount(), 1) << "a freed component leaves its owner";
  EXPECT_THROW(owner->Components(1), EListError);
  // A name set during construction is checked when the component joins.
  auto* n = Create<TNamed>(owner.get());
  EXPECT_EQ(owner->FindComponent("Named"), n);
  EXPECT_THROW(Create<TNamed>(owner.get()), EComponentError);
  EXPECT_EQ(owner->ComponentCount(), 2) << "the failed component was freed";
}

TEST(Component, FreeNotificationAcrossOwnersWhileWhole) {
  g_events.clear();
  TObjectPtr<TComponent> moduleA(Create<TComponent>(nullptr));
  TObjectPtr<TComponent> moduleB(Create<TComponent>(nullptr));
  auto* source = Create<TComponent>(moduleA.get());
  source->SetName("Source");
  auto* watcher = Create<TWatcher>(moduleB.get());
  watcher->SetName("Watcher");
  watcher->Watch(source);
  g_events.clear();
  source->Free();
  EXPECT_EQ(watcher->target, nullptr);
  ASSERT_FALSE(g_events.empty());
  EXPECT_EQ(g_events.front(), "remove Source -> Watcher (destroying)");
  // The watcher going first unlinks both ways: no dangling notification later.
  auto* source2 = Create<TComponent>(moduleA.get());
  watcher->Watch(source2);
  watcher->Free();
  source2->Free();
}

TEST(Component, SiblingsHearOfInsertAndRemove) {
  g_events.clear();
  TObjectPtr<TComponent> form(Create<TComponent>(nullptr));
  auto* w = Create<TWatcher>(form.get());
  w->SetName("W");
  auto* c = Create<TComponent>(form.get());
  c->SetName("C");  // named after joining: the insert notice saw no name
  c->Free();
  // A component also hears of its own insertion (it is in the owner's list by then).
  std::vector<String> expected = {"insert  -> ", "insert  -> W", "remove C -> W (destroying)"};
  EXPECT_EQ(g_events, expected);
}

TEST(Component, OwnerFreesChildrenMarkedDestroying) {
  g_events.clear();
  auto* owner = Create<TComponent>(nullptr);
  TObjectPtr<TComponent> other(Create<TComponent>(nullptr));
  auto* child = Create<TComponent>(owner);
  child->SetName("Child");
  auto* watcher = Create<TWatcher>(other.get());
  watcher->SetName("Outside");
  watcher->Watch(child);
  g_events.clear();
  owner->Free();
  EXPECT_EQ(watcher->target, nullptr);
  EXPECT_EQ(g_events, (std::vector<String>{"remove Child -> Outside (destroying)"}));
}

TEST(Component, LoadingBracketCallsLoadedOnce) {
  g_events.clear();
  TObjectPtr<TWatcher> root(Create<TWatcher>(nullptr));
  root->SetName("Root");
  {
    TLoadingBracket bracket(root.get());
    auto* child = Create<TWatcher>(root.get());
    child->SetName("Child");
    EXPECT_TRUE(child->IsLoading()) << "components created inside the bracket load too";
    EXPECT_TRUE(root->IsLoading());
    g_events.clear();
    bracket.Finish();
  }
  EXPECT_EQ(g_events, (std::vector<String>{"loaded Root", "loaded Child"}));
  EXPECT_FALSE(root->IsLoading());
  g_events.clear();
  try {
    TLoadingBracket bracket(root.get());
    throw EReadError("bad stream");
  } catch (const EReadError&) {
  }
  EXPECT_FALSE(root->IsLoading()) << "a failed load clears the flags";
  EXPECT_TRUE(g_events.empty()) << "without calling Loaded";
}

TEST(Component, DesigningStateReachesNewChildren) {
  TObjectPtr<TComponent> form(Create<TComponent>(nullptr));
  form->SetDesigning(true);
  auto* c = Create<TComponent>(form.get());
  EXPECT_TRUE(c->IsDesigning());
}

TEST(Component, OwnerTeardownTellsSiblingsOfEachRemoval) {
  g_events.clear();
  auto* form = Create<TComponent>(nullptr);
  form->SetName("Form");
  auto* ref = Create<TDetacher>(form);
  ref->SetName("Ref");
  auto* menu = Create<TComponent>(form);  // freed first: the owner frees from the back
  menu->SetName("Menu");
  ref->Watch(menu);
  g_events.clear();
  form->Free();  // Ref detaching from a freed Menu would touch freed memory
  ASSERT_FALSE(g_events.empty());
  EXPECT_EQ(g_events.front(), "remove Menu -> Ref (destroying)")
      << "a sibling hears of the removal while the removed one is whole";
}

TEST(Component, TeardownSurvivesAHandlerFreeingTheRemovedSibling) {
  // Frees what it watches when told of its removal.
  struct TFreer : TWatcher {
    using TWatcher::TWatcher;
    void Notification(TComponent* c, TOperation op) override {
      TWatcher::Notification(c, op);
      if (op == opRemove && c == victim) {
        victim = nullptr;
        c->Free();
      }
    }
    TComponent* victim = nullptr;
  };
  auto* form = Create<TComponent>(nullptr);
  auto* freer = Create<TFreer>(form);
  freer->victim = Create<TComponent>(form);
  form->Free();
  SUCCEED() << "the owner frees every component once";
}

TEST(Component, FailedInsertKeepsTheOldOwner) {
  TObjectPtr<TComponent> oldOwner(Create<TComponent>(nullptr));
  TObjectPtr<TComponent> newOwner(Create<TComponent>(nullptr));
  Create<TComponent>(newOwner.get())->SetName("Clash");
  auto* c = Create<TComponent>(oldOwner.get());
  c->SetName("clash");
  EXPECT_THROW(newOwner->InsertComponent(c), EComponentError);
  EXPECT_EQ(c->Owner(), oldOwner.get());
  EXPECT_EQ(oldOwner->ComponentCount(), 1);
  EXPECT_EQ(newOwner->ComponentCount(), 1);
  auto* d = Create<TComponent>(oldOwner.get());
  d->SetName("Other");
  newOwner->InsertComponent(d);
  EXPECT_EQ(d->Owner(), newOwner.get());
  EXPECT_EQ(oldOwner->ComponentCount(), 1);
}
