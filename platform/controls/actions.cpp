// Actions and action links.
#include "controls/actions.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "rtl/scope.h"

namespace brevant {

// ---- TBasicAction -------------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

void TBasicAction::BeforeDestruction() {
  for (TActionLink* link : std::vector<TActionLink*>(clients_)) link->ActionFreed();
  clients_.clear();
  TComponent::BeforeDestruction();
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

void TBasicAction::RegisterChanges(TActionLink* link) {
  if (std::find(clients_.begin(), clients_.end(), link) == clients_.end()) clients_.push_back(link);
}

void TBasicAction::UnRegisterChanges(TActionLink* link) {
  std::erase(clients_, link);
}

// ---- TCustomAction
// ------------------------------------------------------------------------------- Each setter asks
// every link before storing: a link follows only while its client still shows the old value.

bool TCustomAction::Execute() {
  Update();
  if (!enabled_) return false;
  return TBasicAction::Execute();
}

void TCustomAction::SetCaption(const String& value) {
  if (value == caption_) return;
  for (TActionLink* l : std::vector<TActionLink*>(clients_))
    if (l->IsCaptionLinked()) l->SetCaption(value);
  caption_ = value;
}

void TCustomAction::SetChecked(bool value) {
  if (value == checked_) return;
  for (TActionLink* l : std::vector<TActionLink*>(clients_))
    if (l->IsCheckedLinked()) l->SetChecked(value);
  checked_ = value;
}

void TCustomAction::SetEnabled(bool value) {
  if (value == enabled_) return;
  for (TActionLink* l : std::vector<TActionLink*>(clients_))
    if (l->IsEnabledLinked()) l->SetEnabled(value);
  enabled_ = value;
}

void TCustomAction::SetVisible(bool value) {
  if (value == visible_) return;
  for (TActionLink* l : std::vector<TActionLink*>(clients_))
    if (l->IsVisibleLinked()) l->SetVisible(value);
  visible_ = value;
}

void TCustomAction::SetHint(const String& value) {
  if (value == hint_) return;
  for (TActionLink* l : std::vector<TActionLink*>(clients_))
    if (l->IsHintLinked()) l->SetHint(value);
  hint_ = value;
}

void TCustomAction::SetImageIndex(Integer value) {
  if (value == imageIndex_) return;
  for (TActionLink* l : std::vector<TActionLink*>(clients_))
    if (l->IsImageIndexLinked()) l->SetImageIndex(value);
  imageIndex_ = value;
}

void TCustomAction::SetShortCut(Word value) {
  if (value == shortCut_) return;
  for (TActionLink* l : std::vector<TActionLink*>(clients_))
    if (l->IsShortCutLinked()) l->SetShortCut(value);
  shortCut_ = value;
}

// ---- TActionLink
// ----------------------------------------------------------------------------------

TActionLink::~TActionLink() {
  if (action_) action_->UnRegisterChanges(this);
}

TCustomAction* TActionLink::CustomAction() const {
  return dynamic_cast<TCustomAction*>(action_);
}

void TActionLink::SetAction(TBasicAction* value) {
  if (value == action_) return;
  if (action_) action_->UnRegisterChanges(this);
  action_ = value;
  if (!action_) return;
  action_->RegisterChanges(this);
  if (TCustomAction* a = CustomAction()) {
    SetCaption(a->Caption());
    SetChecked(a->Checked());
    SetEnabled(a->Enabled());
    SetVisible(a->Visible());
    SetHint(a->Hint());
    SetImageIndex(a->ImageIndex());
    SetShortCut(a->ShortCut());
  }
}

bool TActionLink::Execute(TComponent* component) {
  if (!action_) return false;
  action_->SetActionComponent(component);
  // The action forgets the component on every exit; a handler may have unlinked the action.
  TScopeGuard forget([this] {
    if (action_) action_->SetActionComponent(nullptr);
  });
  return action_->Execute();
}

BV_IMPLEMENT_ABSTRACT_CLASS(TActionLink, TObject)

BV_PUBLISH(TBasicAction, TComponent) {
  p.Event("OnExecute", &TBasicAction::OnExecute, "TNotifyEvent");
  p.Event("OnUpdate", &TBasicAction::OnUpdate, "TNotifyEvent");
}

BV_PUBLISH(TCustomAction, TBasicAction) {}

BV_PUBLISH(TAction, TCustomAction) {
  p.Property("Caption", &TAction::Caption, &TAction::SetCaption);
  p.Property("Category", &TAction::Category, &TAction::SetCategory);
  p.Property("Checked", &TAction::Checked, &TAction::SetChecked).Default(0);
  p.Property("Enabled", &TAction::Enabled, &TAction::SetEnabled).Default(1);
  p.Property("Hint", &TAction::Hint, &TAction::SetHint);
  p.Property("ImageIndex", &TAction::ImageIndex, &TAction::SetImageIndex).Default(-1);
  p.Property("ShortCut", &TAction::ShortCut, &TAction::SetShortCut).Default(0);
  p.Property("Visible", &TAction::Visible, &TAction::SetVisible).Default(1);
}

}  // namespace brevant
