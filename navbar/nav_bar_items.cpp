// Navigation bar items, their action link and groups.
#include "navbar/nav_bar_items.h"

#include "classes/rtti_builder.h"
#include "navbar/nav_bar.h"

namespace brevant {

// ---- TNavItemActionLink ------------------------------------------------------------------------

bool TNavItemActionLink::IsCaptionLinked() const {
  TCustomAction* a = CustomAction();
  return a && item_->Caption() == a->Caption();
}

bool TNavItemActionLink::IsEnabledLinked() const {
  TCustomAction* a = CustomAction();
  return a && item_->Enabled() == a->Enabled();
}

bool TNavItemActionLink::IsVisibleLinked() const {
  TCustomAction* a = CustomAction();
  return a && item_->Visible() == a->Visible();
}

bool TNavItemActionLink::IsOnExecuteLinked() const {
  return Action() && item_->OnClick == Action()->OnExecute;
}

void TNavItemActionLink::SetCaption(const String& value) {
  item_->SetCaption(value);
}

void TNavItemActionLink::SetEnabled(bool value) {
  item_->SetEnabled(value);
}

void TNavItemActionLink::SetVisible(bool value) {
  item_->SetVisible(value);
}

// ---- TNavBarItem -------------------------------------------------------------------------------

TNavBarItem::TNavBarItem(TCollection* collection) : TCollectionItem(collection) {}

TNavBarItem::~TNavBarItem() {
  TObject::Free(actionLink_);
}

void TNavBarItem::Assign(const TPersistent* source) {
  if (auto* s = dynamic_cast<const TNavBarItem*>(source)) {
    caption_ = s->caption_;
    imageIndex_ = s->imageIndex_;
    enabled_ = s->enabled_;
    visible_ = s->visible_;
    tag_ = s->tag_;
    OnClick = s->OnClick;
    SetAction(s->Action());
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

String TNavBarItem::DisplayName() const {
  return caption_.empty() ? TCollectionItem::DisplayName() : caption_;
}

void TNavBarItem::SetCaption(const String& value) {
  if (value == caption_) return;
  caption_ = value;
  Changed(false);
}

void TNavBarItem::SetImageIndex(Integer value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Changed(false);
}

void TNavBarItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed(false);
}

void TNavBarItem::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed(false);
}

TBasicAction* TNavBarItem::Action() const {
  return actionLink_ ? actionLink_->Action() : nullptr;
}

void TNavBarItem::SetAction(TBasicAction* value) {
  if (value == Action()) return;
  if (!value) {
    TObject::Free(actionLink_);
    actionLink_ = nullptr;
    return;
  }
  if (!actionLink_) actionLink_ = Create<TNavItemActionLink>(this);
  // A handler still empty follows the action's; one set by hand stays.
  if (!OnClick) OnClick = value->OnExecute;
  actionLink_->SetAction(value);
}

TCustomNavBar* TNavBarItem::Bar() const {
  auto* group = dynamic_cast<TNavBarItems*>(Collection());
  return group ? group->Bar() : nullptr;
}

bool TNavBarItem::IsDesigning() const {
  TCustomNavBar* bar = Bar();
  return bar && bar->IsDesigning();
}

void TNavBarItem::Click() {
  TBasicAction* action = Action();
  if (OnClick && action && OnClick != action->OnExecute) {
    OnClick(this);
  } else if (action && !IsDesigning()) {
    actionLink_->Execute(Bar());
  } else {
    OnClick(this);
  }
}

void TNavBarItem::SetPaintRects(const TRect& icon, const TRect& caption) {
  iconRect_ = icon;
  captionRect_ = caption;
}

// ---- TNavBarItems ------------------------------------------------------------------------------

TNavBarItems::TNavBarItems(TCustomNavBar* bar)
    : TOwnedCollection(bar, TNavBarItem::StaticClass()), bar_(bar) {}

void TNavBarItems::Assign(const TPersistent* source) {
  if (auto* s = dynamic_cast<const TNavBarItems*>(source)) caption_ = s->caption_;
  TOwnedCollection::Assign(source);
}

void TNavBarItems::SetCaption(const String& value) {
  if (value == caption_) return;
  caption_ = value;
  Update(nullptr);
}

void TNavBarItems::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Update(nullptr);
}

void TNavBarItems::Update(TCollectionItem*) {
  if (bar_) bar_->GroupChanged(this);
}

void TNavBarItems::Notify(TCollectionItem* item, TCollectionNotification action) {
  TOwnedCollection::Notify(item, action);
  if (bar_ && action != cnAdded) bar_->ItemRemoving(this, static_cast<TNavBarItem*>(item));
}

BV_PUBLISH(TNavBarItem, TCollectionItem) {
  p.Property("Action", &TNavBarItem::Action, &TNavBarItem::SetAction);
  p.Property("Caption", &TNavBarItem::Caption, &TNavBarItem::SetCaption);
  p.Property("Enabled", &TNavBarItem::Enabled, &TNavBarItem::SetEnabled).Default(1);
  p.Property("ImageIndex", &TNavBarItem::ImageIndex, &TNavBarItem::SetImageIndex).Default(-1);
  p.Property("Tag", &TNavBarItem::Tag, &TNavBarItem::SetTag).Default(0);
  p.Property("Visible", &TNavBarItem::Visible, &TNavBarItem::SetVisible).Default(1);
  p.Event("OnClick", &TNavBarItem::OnClick, "TNotifyEvent");
}

BV_PUBLISH_ABSTRACT(TNavBarItems, TOwnedCollection) {}
BV_IMPLEMENT_ABSTRACT_CLASS(TNavItemActionLink, TActionLink)

}  // namespace brevant
