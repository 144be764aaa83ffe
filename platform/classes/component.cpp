#include "classes/component.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

BV_ENUM_INFO(TComponentStateEnum, csLoading, csReading, csWriting, csDestroying, csDesigning,
             csAncestor, csUpdating, csFixups, csFreeNotification, csInline, csDesignInstance)
BV_SET_INFO(TComponentState, TComponentStateEnum)

BV_PUBLISH(TComponent, TPersistent) {
  p.Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
  p.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

namespace {
// Roots of the loading brackets now open; components created under one of
// them start in the loading state.
std::vector<TComponent*>& OpenBrackets() {
  static std::vector<TComponent*> roots;
  return roots;
}

bool UnderOpenBracket(const TComponent* c) {
  for (; c; c = c->Owner())
    for (TComponent* r : OpenBrackets())
      if (r == c) return true;
  return false;
}

void CollectTree(TComponent* c, std::vector<TComponent*>& out) {
  out.push_back(c);
  for (Integer i = 0; i < c->ComponentCount(); ++i) CollectTree(c->Components(i), out);
}
}  // namespace

bool IsValidIdent(const String& name) {
  if (name.empty()) return false;
  auto isAlpha = [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
  };
  if (!isAlpha(name[0])) return false;
  return std::all_of(name.begin(), name.end(),
                     [&](char c) { return isAlpha(c) || (c >= '0' && c <= '9'); });
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {}

TComponent::~TComponent() {
  // Reached through Free after BeforeDestruction has detached everything;
  // a component deleted directly still leaves its owner's list.
  if (!state_.Contains(csDestroying)) {
    RemoveFreeNotifications();
    DestroyComponents();
    if (owner_ && joined_) owner_->Remove(this);
  }
}

void TComponent::AfterConstruction() {
  TPersistent::AfterConstruction();
  if (owner_) {
    if (UnderOpenBracket(owner_)) state_ += csLoading;
    if (owner_->IsDesigning()) state_ += csDesigning;
    TComponent* owner = owner_;
    owner_ = nullptr;
    owner->InsertComponent(this);
  }
}

void TComponent::BeforeDestruction() {
  if (!state_.Contains(csDestroying)) Destroying();
  RemoveFreeNotifications();
  DestroyComponents();
  if (owner_ && joined_) owner_->RemoveComponent(this);
  TPersistent::BeforeDestruction();
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_ += csDestroying;
  for (TComponent* c : components_) c->Destroying();
}

TComponent* TComponent::Components(Integer index) const {
  if (index < 0 || index >= ComponentCount()) throw EListError(res::SListIndexError, {index});
  return components_[static_cast<std::size_t>(index)];
}

Integer TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<Integer>(it - list.begin());
}

TComponent* TComponent::FindComponent(const String& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::ValidateRename(TComponent* component, const String& curName,
                                const String& newName) {
  if (component && !SameText(curName, newName) && !newName.empty()) {
    TComponent* other = FindComponent(newName);
    if (other && other != component)
      throw EComponentError("A component named %s already exists", {newName});
  }
}

void TComponent::SetName(const String& name) {
  if (name_ == name) return;
  if (!name.empty() && !IsValidIdent(name))
    throw EComponentError("\"%s\" is not a valid component name", {name});
  if (owner_)
    owner_->ValidateRename(this, name_, name);
  else
    ValidateRename(nullptr, name_, name);
  name_ = name;
}

String TComponent::GetNamePath() const {
  return name_.empty() ? String(ClassName()) : name_;
}

void TComponent::Insert(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
  component->joined_ = true;
}

void TComponent::Remove(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
  component->joined_ = false;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component) return;
  // Checked first: a name clash leaves the component with its old owner.
  ValidateRename(component, String(), component->name_);
  if (component->owner_) component->owner_->RemoveComponent(component);
  Insert(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::DestroyComponents() {
  // Each owned component hears of every one removed before it, while that
  // one is whole: components of one owner register nothing else with each
  // other, so this is how they drop their references.
  while (!components_.empty()) {
    TComponent* c = components_.back();
    Notification(c, opRemove);
    // A handler may have freed it already (it left the list then).
    if (std::find(components_.begin(), components_.end(), c) == components_.end()) continue;
    Remove(c);
    c->Free();
  }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // Owned components hear of their siblings; iterate by index because a
  // handler may free components.
  for (std::size_t i = components_.size(); i-- > 0;) {
    if (i >= components_.size()) continue;
    components_[i]->Notification(component, operation);
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (!owner_ || component->owner_ != owner_) {
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
      freeNotifies_.push_back(component);
      component->FreeNotification(this);
    }
  }
  state_ += csFreeNotification;
}

void TComponent::RemoveNotification(TComponent* component) {
  auto it = std::find(freeNotifies_.begin(), freeNotifies_.end(), component);
  if (it != freeNotifies_.end()) freeNotifies_.erase(it);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  RemoveNotification(component);
  component->RemoveNotification(this);
}

void TComponent::RemoveFreeNotifications() {
  // Unlink first, then notify: a Notification override that forgets the
  // inherited call must not make this loop forever.
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    other->RemoveNotification(this);
    other->Notification(this, opRemove);
  }
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  SetComponentStateFlag(csDesigning, value);
  if (setChildren)
    for (TComponent* c : components_) c->SetDesigning(value, true);
}

void TComponent::GetChildren(const TGetChildProc&, TComponent*) {}

void TComponent::Loaded() {
  state_ -= csLoading;
}

void TComponent::DesignerModified(TComponent*) {}

// ---- loading bracket --------------------------------------------------------------

TLoadingBracket::TLoadingBracket(TComponent* root) {
  if (!root) return;
  CollectTree(root, components_);
  for (TComponent* c : components_) c->BeginLoading();
  OpenBrackets().push_back(root);
}

void TLoadingBracket::Finish() {
  if (finished_ || components_.empty()) return;
  finished_ = true;
  TComponent* root = components_.front();
  auto& roots = OpenBrackets();
  roots.erase(std::find(roots.begin(), roots.end(), root));
  std::vector<TComponent*> all;
  CollectTree(root, all);
  for (TComponent* c : all) c->EndReading();
  for (TComponent* c : all)
    if (c->IsLoading()) c->Loaded();
}

TLoadingBracket::~TLoadingBracket() {
  if (finished_ || components_.empty()) return;
  TComponent* root = components_.front();
  auto& roots = OpenBrackets();
  auto it = std::find(roots.begin(), roots.end(), root);
  if (it != roots.end()) roots.erase(it);
  std::vector<TComponent*> all;
  CollectTree(root, all);
  for (TComponent* c : all) c->CancelLoading();
}

}  // namespace brevant
