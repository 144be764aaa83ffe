// TComponent: ownership, names, component state, free notification and
// loading.
//
// An owner frees the components it owns. Components that refer to others
// they do not own ask for a free notification and clear the reference in
// Notification(other, opRemove). Owned components also hear of every
// component inserted into or removed from their owner, also of each one the
// owner frees when it is freed itself.
//
// Destruction (see object.h): BeforeDestruction sets csDestroying on the
// component and everything it owns, tells every component that asked for a
// free notification, frees the owned components and leaves the owner, all
// while the component is still whole. Subclasses that must act before that
// (fire an OnDestroy, detach from a data source) override BeforeDestruction
// and call the inherited one last.
#pragma once

#include <functional>
#include <vector>

#include "rtl/persistent.h"
#include "rtl/sets.h"

namespace brevant {

enum TComponentStateEnum : Byte {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateEnum>;

enum TOperation : Byte { opInsert, opRemove };

class TComponent;
using TGetChildProc = std::function<void(TComponent* child)>;

class TComponent : public TPersistent {
  BV_CLASS(TComponent, TPersistent)
 public:
  using TCreateArg = TComponent*;

  explicit TComponent(TComponent* owner = nullptr);
  ~TComponent() override;
  void AfterConstruction() override;
  void BeforeDestruction() override;

  TComponent* Owner() const { return owner_; }
  const String& Name() const { return name_; }
  // Raises EComponentError for a name that is not an identifier or that
  // another component of the same owner has (ignoring case).
  virtual void SetName(const String& name);
  Integer Tag() const { return tag_; }
  void SetTag(Integer tag) { tag_ = tag; }
  TComponentState ComponentState() const { return state_; }
  bool IsLoading() const { return state_.Contains(csLoading); }
  bool IsDesigning() const { return state_.Contains(csDesigning); }
  bool IsDestroying() const { return state_.Contains(csDestroying); }

  Integer ComponentCount() const { return static_cast<Integer>(components_.size()); }
  TComponent* Components(Integer index) const;
  Integer ComponentIndex() const;
  // The owned component with the name (ignoring case), or nullptr.
  TComponent* FindComponent(const String& name) const;
  // Raises EComponentError on a name clash; the component keeps its old
  // owner then.
  void InsertComponent(TComponent* component);
  void RemoveComponent(TComponent* component);
  void DestroyComponents();

  // Asks to be told (Notification opRemove) when component is freed; works
  // across owners.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);

  // Marks the component and everything it owns as designed (for tests and
  // design-time behaviour).
  void SetDesigning(bool value, bool setChildren = true);

  // Streaming: the children a writer writes with this root, the parent a
  // reader sets on a child.
  virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* parent) { (void)parent; }
  // The component that owns children read into this one.
  virtual void SetChildOrder(TComponent* child, Integer order) { (void)child, (void)order; }

  TPersistent* GetOwner() const override { return owner_; }
  String GetNamePath() const override;

  // The loading bracket: sets csLoading and csReading; EndLoading clears
  // them and calls Loaded. Readers and code-built forms use it.
  void BeginLoading() { state_ += TComponentState{csLoading, csReading}; }
  void EndReading() { state_ -= csReading; }
  // Clears the flags without calling Loaded (a failed read).
  void CancelLoading() { state_ -= TComponentState{csLoading, csReading}; }

  // Called once after the component's properties were read and references
  // resolved; clears csLoading.
  virtual void Loaded();

  // A component owned by another one and published by it as a property (the
  // label of a labelled edit): streams write its properties under the
  // owner's property ("EditLabel.Caption") instead of a reference.
  void SetSubComponent(bool value) { subComponent_ = value; }
  bool IsSubComponent() const { return subComponent_; }

  // Hook for a form designer to hear of changes made by the component's own
  // design-time behaviour. Does nothing without a designer.
  static void DesignerModified(TComponent* component);

 protected:
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void ValidateRename(TComponent* component, const String& curName, const String& newName);
  // Sets csDestroying here and on every owned component.
  virtual void Destroying();
  void SetComponentStateFlag(TComponentStateEnum flag, bool on) {
    if (on)
      state_ += flag;
    else
      state_ -= flag;
  }

 private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void RemoveNotification(TComponent* component);
  void RemoveFreeNotifications();

  TComponent* owner_ = nullptr;
  bool joined_ = false;  // inserted into owner_'s list
  String name_;
  Integer tag_ = 0;
  TComponentState state_;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> freeNotifies_;
  bool subComponent_ = false;

  friend class TReader;
  friend class TWriter;
};

// Sets csLoading on a tree of components built in code and calls Loaded on
// each, parents first, when Finish is called. On an exception path the
// destructor clears the flags without calling Loaded.
class TLoadingBracket {
 public:
  explicit TLoadingBracket(TComponent* root);
  ~TLoadingBracket();
  TLoadingBracket(const TLoadingBracket&) = delete;
  TLoadingBracket& operator=(const TLoadingBracket&) = delete;
  void Finish();

 private:
  std::vector<TComponent*> components_;
  bool finished_ = false;
};

// Whether name is a valid identifier (letters, digits and '_', not starting
// with a digit).
bool IsValidIdent(const String& name);

}  // namespace brevant
