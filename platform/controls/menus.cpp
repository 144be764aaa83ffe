// Menu items, menus, shortcuts.
#include "controls/menus.h"

#include <algorithm>

#include "classes/rtti_builder.h"
#include "controls/actions.h"
#include "controls/application.h"
#include "controls/messages.h"
#include "controls/test_hooks.h"
#include "graphics/imagelist.h"
#include "rtl/resstrings.h"
#include "rtl/strutils.h"

namespace brevant {

// ---- shortcuts
// ------------------------------------------------------------------------------------

TShortCut ShortCut(Word key, TShiftState shift) {
  if (key & 0xFF00) return scNone;
  TShortCut r = key;
  if (shift.Contains(ssShift)) r |= scShift;
  if (shift.Contains(ssCtrl)) r |= scCtrl;
  if (shift.Contains(ssAlt)) r |= scAlt;
  return r;
}

void ShortCutToKey(TShortCut sc, Word& key, TShiftState& shift) {
  key = sc & 0xFF;
  shift = {};
  if (sc & scShift) shift += ssShift;
  if (sc & scCtrl) shift += ssCtrl;
  if (sc & scAlt) shift += ssAlt;
}

namespace {
struct TKeyName {
  Word Key;
  const char* Name;
};
constexpr TKeyName kKeyNames[] = {
    {VK_BACK, "BkSp"},   {VK_TAB, "Tab"},    {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},
    {VK_SPACE, "Space"}, {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},    {VK_END, "End"},
    {VK_HOME, "Home"},   {VK_LEFT, "Left"},  {VK_UP, "Up"},        {VK_RIGHT, "Right"},
    {VK_DOWN, "Down"},   {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

String KeyName(Word key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return String(1, char(key));
  if (key >= VK_F1 && key <= VK_F12) return "F" + std::to_string(key - VK_F1 + 1);
  for (const auto& k : kKeyNames)
    if (k.Key == key) return k.Name;
  return String();
}
}  // namespace

String ShortCutToText(TShortCut sc) {
  String name = KeyName(sc & 0xFF);
  if (name.empty()) return String();
  String r;
  if (sc & scShift) r += "Shift+";
  if (sc & scCtrl) r += "Ctrl+";
  if (sc & scAlt) r += "Alt+";
  return r + name;
}

TShortCut TextToShortCut(const String& text) {
  TShortCut mods = 0;
  String rest = text;
  for (;;) {
    if (StartsText("Shift+", rest))
      mods |= scShift, rest.erase(0, 6);
    else if (StartsText("Ctrl+", rest))
      mods |= scCtrl, rest.erase(0, 5);
    else if (StartsText("Alt+", rest))
      mods |= scAlt, rest.erase(0, 4);
    else
      break;
  }
  for (Word key = 1; key < 0x100; ++key) {
    String name = KeyName(key);
    if (!name.empty() && SameText(name, rest)) return mods | key;
  }
  return scNone;
}

// ---- the menu item's action link
// ------------------------------------------------------------------

class TMenuActionLink : public TActionLink {
  BV_CLASS(TMenuActionLink, TActionLink)
 public:
  explicit TMenuActionLink(TMenuItem* client) : TActionLink(client), item_(client) {}
  bool IsCaptionLinked() const override {
    return CustomAction() && item_->Caption() == CustomAction()->Caption();
  }
  bool IsCheckedLinked() const override {
    return CustomAction() && item_->Checked() == CustomAction()->Checked();
  }
  bool IsEnabledLinked() const override {
    return CustomAction() && item_->Enabled() == CustomAction()->Enabled();
  }
  bool IsVisibleLinked() const override {
    return CustomAction() && item_->Visible() == CustomAction()->Visible();
  }
  bool IsHintLinked() const override {
    return CustomAction() && item_->Hint() == CustomAction()->Hint();
  }
  bool IsImageIndexLinked() const override {
    return CustomAction() && item_->ImageIndex() == CustomAction()->ImageIndex();
  }
  bool IsShortCutLinked() const override {
    return CustomAction() && item_->ShortCut() == CustomAction()->ShortCut();
  }
  void SetCaption(const String& v) override { item_->SetCaption(v); }
  void SetChecked(bool v) override { item_->SetChecked(v); }
  void SetEnabled(bool v) override { item_->SetEnabled(v); }
  void SetVisible(bool v) override { item_->SetVisible(v); }
  void SetHint(const String& v) override { item_->SetHint(v); }
  void SetImageIndex(Integer v) override { item_->SetImageIndex(v); }
  void SetShortCut(Word v) override { item_->SetShortCut(v); }

 private:
  TMenuItem* item_;
};
BV_IMPLEMENT_ABSTRACT_CLASS(TMenuActionLink, TActionLink)

// ---- TMenuItem
// ----------------------------------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  TObject::Free(actionLink_);
}

void TMenuItem::BeforeDestruction() {
  // Sub-items go with their parent, whoever owns them.
  while (!items_.empty()) {
    TMenuItem* child = items_.back();
    items_.pop_back();
    child->parent_ = nullptr;
    if (!child->IsDestroying()) child->Free();
  }
  if (parent_) parent_->Remove(this);
  if (actionLink_) {
    if (TBasicAction* a = actionLink_->Action()) a->RemoveFreeNotification(this);
    actionLink_->SetAction(nullptr);
  }
  TComponent::BeforeDestruction();
}

void TMenuItem::Changed() {
  if (TMenu* m = GetParentMenu()) m->MenuChanged();
}

void TMenuItem::SetCaption(const String& value) {
  if (value == caption_) return;
  caption_ = value;
  Changed();
}

void TMenuItem::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  if (value && radioItem_ && parent_) {
    for (TMenuItem* sibling : parent_->items_)
      if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_)
        sibling->checked_ = false;
  }
  Changed();
}

void TMenuItem::SetRadioItem(bool value) {
  if (value == radioItem_) return;
  radioItem_ = value;
  if (value && checked_) {
    checked_ = false;
    SetChecked(true);
  }
}

void TMenuItem::SetGroupIndex(Byte value) {
  groupIndex_ = value;
}

void TMenuItem::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Changed();
}

void TMenuItem::SetVisible(bool value) {
  if (value == visible_) return;
  visible_ = value;
  Changed();
}

void TMenuItem::SetImageIndex(Integer value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Changed();
}

void TMenuItem::SetShortCut(TShortCut value) {
  shortCut_ = value;
  Changed();
}

TBasicAction* TMenuItem::Action() const {
  return actionLink_ ? actionLink_->Action() : nullptr;
}

void TMenuItem::SetAction(TBasicAction* value) {
  if (value == Action()) return;
  if (TBasicAction* old = Action()) old->RemoveFreeNotification(this);
  if (!value) {
    if (actionLink_) actionLink_->SetAction(nullptr);
    return;
  }
  if (!actionLink_) actionLink_ = Create<TMenuActionLink>(this);
  actionLink_->SetAction(value);
  value->FreeNotification(this);
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && actionLink_ && component == actionLink_->Action())
    actionLink_->SetAction(nullptr);
}

TMenuItem* TMenuItem::Items(Integer index) const {
  if (index < 0 || index >= Count()) throw EMenuError(res::SMenuIndexError);
  return items_[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) {
  Insert(Count(), item);
}

void TMenuItem::Insert(Integer index, TMenuItem* item) {
  if (!item) return;
  if (item->parent_) throw EMenuError(res::SMenuReinserted);
  if (index < 0 || index > Count()) throw EMenuError(res::SMenuIndexError);
  for (const TMenuItem* p = this; p; p = p->parent_)
    if (p == item) throw EMenuError(res::SMenuReinserted);
  items_.insert(items_.begin() + index, item);
  item->parent_ = this;
  Changed();
}

void TMenuItem::Delete(Integer index) {
  TMenuItem* item = Items(index);
  items_.erase(items_.begin() + index);
  item->parent_ = nullptr;
  Changed();
}

void TMenuItem::Remove(TMenuItem* item) {
  Integer i = IndexOf(item);
  if (i < 0) throw EMenuError(res::SMenuNotFound);
  Delete(i);
}

void TMenuItem::Clear() {
  while (!items_.empty()) items_.back()->Free();
}

Integer TMenuItem::IndexOf(const TMenuItem* item) const {
  auto it = std::find(items_.begin(), items_.end(), item);
  return it == items_.end() ? -1 : static_cast<Integer>(it - items_.begin());
}

TMenuItem* TMenuItem::Find(const String& caption) const {
  String want = StripHotkey(caption);
  for (TMenuItem* i : items_)
    if (SameText(StripHotkey(i->caption_), want)) return i;
  return nullptr;
}

void TMenuItem::SetMenuIndex(Integer value) {
  if (!parent_) return;
  TMenuItem* p = parent_;
  Integer count = p->Count();
  value = std::clamp<Integer>(value, 0, count - 1);
  Integer cur = MenuIndex();
  if (cur == value) return;
  p->items_.erase(p->items_.begin() + cur);
  p->items_.insert(p->items_.begin() + value, this);
  Changed();
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* i = this;
  while (i->parent_) i = i->parent_;
  return i->menu_;
}

void TMenuItem::Click() {
  if (!enabled_) return;
  if (autoCheck_) SetChecked(!checked_);
  if (OnClick) {
    OnClick(this);
    return;
  }
  if (actionLink_) actionLink_->Execute(this);
}

TComponent* TMenuItem::GetParentComponent() const {
  if (parent_ && parent_->menu_) return parent_->menu_;
  return parent_;
}

void TMenuItem::SetParentComponent(TComponent* value) {
  if (parent_) parent_->Remove(this);
  if (auto* m = dynamic_cast<TMenu*>(value))
    m->Items()->Add(this);
  else if (auto* i = dynamic_cast<TMenuItem*>(value))
    i->Add(this);
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent* root) {
  for (TMenuItem* i : std::vector<TMenuItem*>(items_))
    if (i->Owner() == root) proc(i);
}

// ---- TMenu
// -------------------------------------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner) {
  items_ = Create<TMenuItem>(nullptr);
  items_->menu_ = this;
}

TMenu::~TMenu() {
  TObject::Free(items_);
}

void TMenu::BeforeDestruction() {
  if (items_) {
    items_->menu_ = nullptr;
    items_->Clear();
  }
  TComponent::BeforeDestruction();
}

void TMenu::SetImages(TImageList* value) {
  if (value == images_) return;
  if (images_) images_->RemoveFreeNotification(this);
  images_ = value;
  if (images_) images_->FreeNotification(this);
  MenuChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == images_) images_ = nullptr;
}

void TMenu::MenuChanged() {}

namespace {
TMenuItem* FindShortCut(TMenuItem* parent, TShortCut sc) {
  for (Integer i = 0; i < parent->Count(); ++i) {
    TMenuItem* item = parent->Items(i);
    if (!item->Visible() || !item->Enabled()) continue;
    if (item->ShortCut() == sc && item->Count() == 0) return item;
    if (TMenuItem* sub = FindShortCut(item, sc)) return sub;
  }
  return nullptr;
}
}  // namespace

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortCut) const {
  return shortCut == scNone ? nullptr : FindShortCut(items_, shortCut);
}

bool TMenu::IsShortCut(Word key, TShiftState shift) {
  TMenuItem* item = FindItemByShortCut(ShortCut(key, shift));
  if (!item) return false;
  item->Click();
  return true;
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) {
  items_->GetChildren(proc, root);
}

void TMainMenu::MenuChanged() {
  if (!HasScreen() || IsLoading()) return;
  for (Integer i = 0; i < Screen()->FormCount(); ++i)
    if (Screen()->Forms(i)->Menu() == this) Screen()->Forms(i)->MenuChanged();
}

// ---- TPopupMenu
// ---------------------------------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}

void TPopupMenu::SetPopupComponent(TComponent* value) {
  if (value == popupComponent_) return;
  if (popupComponent_) popupComponent_->RemoveFreeNotification(this);
  popupComponent_ = value;
  if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

void TPopupMenu::Popup(Integer x, Integer y) {
  OnPopup(this);
  ModalLog().push_back("PopupMenu: " + Name());
  TScriptedAnswer answer;
  bool scripted = TakeScriptedAnswer("PopupMenu", answer);
  TMenuItem* chosen = nullptr;
  if (scripted && !answer.Action) {
    if (answer.Value >= 0 && answer.Value < Items()->Count()) chosen = Items()->Items(answer.Value);
  } else {
    std::function<void()> action;
    if (scripted) action = [&] { answer.Action(this); };
    chosen = TrackPopupMenu(Items(), {x, y}, alignment_, Images(), nullptr, false, action);
  }
  if (chosen && chosen->Enabled() && !chosen->IsLine()) chosen->Click();
}

// ---- key routing
// --------------------------------------------------------------------------------------

bool IsMenuKey(TControl* control, Word key, TShiftState shift) {
  if (key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU) return false;
  for (TControl* c = control; c; c = c->Parent())
    if (auto* pm = dynamic_cast<TPopupMenu*>(c->PopupMenu()); pm && pm->IsShortCut(key, shift))
      return true;
  TCustomForm* form = GetParentForm(control);
  return form && form->IsShortCut(key, shift);
}

// ---- published tables
// ------------------------------------------------------------------------------------

BV_ENUM_INFO(TPopupAlignment, paLeft, paRight, paCenter)

namespace {
const TTypeInfo* TypeInfoTShortCut() {
  static const TTypeInfo* info = NamedType(TypeInfoOf<Word>(), "TShortCut");
  return info;
}
}  // namespace

BV_PUBLISH(TMenuItem, TComponent) {
  p.Property("Action", &TMenuItem::Action, &TMenuItem::SetAction);
  p.Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(0);
  p.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
  p.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(0);
  p.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(1);
  p.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
  p.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
  p.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
  p.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(0);
  p.Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut)
      .Type(TypeInfoTShortCut())
      .Default(0);
  p.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(1);
  p.Event("OnClick", &TMenuItem::OnClick, "TNotifyEvent");
}

BV_PUBLISH_ABSTRACT(TMenu, TComponent) {
  p.Property("Images", &TMenu::Images, &TMenu::SetImages);
}

BV_PUBLISH(TMainMenu, TMenu) {}

BV_PUBLISH(TPopupMenu, TMenu) {
  p.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
  p.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(1);
  p.Event("OnPopup", &TPopupMenu::OnPopup, "TNotifyEvent");
}

}  // namespace brevant
