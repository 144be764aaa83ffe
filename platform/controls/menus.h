// Menus: TMenuItem trees, the pop-up menu with modal tracking, the form's
// main menu (menu bar), shortcuts and their text.
//
// Items are components owned by the form (or data module) and arranged in
// a tree below the menu's root item; form files write them as children of
// the menu and of their parent items, and reading puts them back there.
//
// Tracking (TPopupMenu::Popup, a click or Alt+letter on the menu bar) runs a
// nested message loop: Up/Down select (separators are skipped), Right opens
// a sub-menu (on the bar: the next menu), Left closes one (the previous
// menu), Return chooses, Escape closes a level, a letter chooses the item
// whose caption has it as accelerator; the mouse selects on hover, opens
// sub-menus and chooses on release; a press outside closes everything. The
// chosen item's Click runs after the menus closed. Scripted answers of
// kind "PopupMenu" (test_hooks.h) answer with an item index of the top
// level (-1: nothing chosen) or act on the menu while it is tracked.
//
// Shortcuts: a key pressed in a control is offered first to the PopupMenu
// of the control and its parents, then to the form (OnShortCut, then the
// main menu); a match clicks the item and consumes the key.
#pragma once

#include <vector>

#include "classes/component.h"
#include "controls/controls.h"
#include "rtl/method.h"

namespace brevant {

class TImageList;
class TMenu;
class TBasicAction;
class TActionLink;

// A key with its modifiers: the virtual key in the low byte.
using TShortCut = Word;
enum : TShortCut { scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
TShortCut ShortCut(Word key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, Word& key, TShiftState& shift);
// "Ctrl+S", "Shift+Del", "F2", "Alt+X"; "" for none.
String ShortCutToText(TShortCut shortCut);
// The reverse of ShortCutToText (ignoring case); 0 for text it does not know.
TShortCut TextToShortCut(const String& text);

enum TPopupAlignment : Byte { paLeft, paRight, paCenter };
BV_DECLARE_ENUM_INFO(TPopupAlignment)

class TMenuItem : public TComponent {
  BV_CLASS(TMenuItem, TComponent)
 public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;
  void BeforeDestruction() override;

  // ---- properties ----
  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  // A caption of "-" makes the item a separator line.
  bool IsLine() const { return caption_ == "-"; }
  bool Checked() const { return checked_; }
  // Checking a radio item unchecks the other radio items of its group
  // among its siblings.
  void SetChecked(bool value);
  bool AutoCheck() const { return autoCheck_; }
  void SetAutoCheck(bool value) { autoCheck_ = value; }
  bool RadioItem() const { return radioItem_; }
  void SetRadioItem(bool value);
  Byte GroupIndex() const { return groupIndex_; }
  void SetGroupIndex(Byte value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer value);
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut value);
  const String& Hint() const { return hint_; }
  void SetHint(const String& value) { hint_ = value; }
  TBasicAction* Action() const;
  void SetAction(TBasicAction* value);

  // ---- sub-items ----
  Integer Count() const { return static_cast<Integer>(items_.size()); }
  TMenuItem* Items(Integer index) const;
  // Raises EMenuError when item has a parent already or index is out of range.
  void Add(TMenuItem* item);
  void Insert(Integer index, TMenuItem* item);
  // Removes (does not free) the sub-item.
  void Delete(Integer index);
  void Remove(TMenuItem* item);
  // Frees every sub-item.
  void Clear();
  Integer IndexOf(const TMenuItem* item) const;
  // The first sub-item whose caption without accelerator equals caption.
  TMenuItem* Find(const String& caption) const;
  TMenuItem* Parent() const { return parent_; }
  Integer MenuIndex() const { return parent_ ? parent_->IndexOf(this) : -1; }
  void SetMenuIndex(Integer value);
  // The menu whose tree holds the item (nullptr when none).
  TMenu* GetParentMenu() const;

  // Runs the item: toggles AutoCheck, then OnClick or the action.
  virtual void Click();

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;
  void GetChildren(const TGetChildProc& proc, TComponent* root) override;

  TNotifyEvent OnClick;

 protected:
  void Notification(TComponent* component, TOperation operation) override;
  void Changed();

 private:
  friend class TMenu;
  friend class TMenuActionLink;
  String caption_;
  bool checked_ = false;
  bool autoCheck_ = false;
  bool radioItem_ = false;
  Byte groupIndex_ = 0;
  bool enabled_ = true;
  bool visible_ = true;
  Integer imageIndex_ = -1;
  TShortCut shortCut_ = 0;
  String hint_;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on a menu's root item
  std::vector<TMenuItem*> items_;
  TActionLink* actionLink_ = nullptr;
};

class TMenu : public TComponent {
  BV_CLASS(TMenu, TComponent)
 public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;
  void BeforeDestruction() override;

  // The root item; the menu's items are its sub-items.
  TMenuItem* Items() const { return items_; }
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  // Clicks the enabled, visible item with this shortcut; true when found.
  bool IsShortCut(Word key, TShiftState shift);
  TMenuItem* FindItemByShortCut(TShortCut shortCut) const;

  void GetChildren(const TGetChildProc& proc, TComponent* root) override;
  // Items changed (the menu bar relays out).
  virtual void MenuChanged();

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TMenuItem* items_ = nullptr;
  TImageList* images_ = nullptr;
};

class TMainMenu : public TMenu {
  BV_CLASS(TMainMenu, TMenu)
 public:
  using TMenu::TMenu;
  void MenuChanged() override;
};

class TPopupMenu : public TMenu {
  BV_CLASS(TPopupMenu, TMenu)
 public:
  explicit TPopupMenu(TComponent* owner);

  // Shows the menu at a screen point and tracks it until it closes.
  virtual void Popup(Integer x, Integer y);
  TPopupAlignment Alignment() const { return alignment_; }
  void SetAlignment(TPopupAlignment value) { alignment_ = value; }
  // Shown by the control's right click / context-menu key.
  bool AutoPopup() const { return autoPopup_; }
  void SetAutoPopup(bool value) { autoPopup_ = value; }
  // The control the menu was last shown for.
  TComponent* PopupComponent() const { return popupComponent_; }
  void SetPopupComponent(TComponent* value);

  TNotifyEvent OnPopup;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TPopupAlignment alignment_ = paLeft;
  bool autoPopup_ = true;
  TComponent* popupComponent_ = nullptr;
};

BV_DECLARE_EXCEPTION(EMenuError, Exception);

// Tracks the sub-items of root as a pop-up menu at a screen point (a bar
// item of barForm's main menu when barForm is set) and answers the item
// chosen, without clicking it. images may be nullptr. action, when given,
// runs on subject once the menu is shown (scripted answers). With dropDown
// false the bar item is only selected: the keys move over the bar and
// Return, Down or an accelerator opens a menu.
TMenuItem* TrackPopupMenu(TMenuItem* root, TPoint pos, TPopupAlignment alignment,
                          TImageList* images, TCustomForm* barForm, bool byKeyboard,
                          const std::function<void()>& action = nullptr, bool dropDown = true);
// The pop-up menu windows open now, outermost first (for tests).
std::vector<TWinControl*> OpenMenuWindows();

// Offers a key (CN_KEYDOWN) to the pop-up menus of control and its parents,
// then to its form; true when one used it.
bool IsMenuKey(TControl* control, Word key, TShiftState shift);

// Paints the form's menu bar (forms_menubar.cpp uses it) and finds items on it.
struct TMenuBarItem {
  TMenuItem* Item;
  TRect Rect;  // relative to the bar's top-left
};
std::vector<TMenuBarItem> MenuBarLayout(TMainMenu* menu, TCanvas* canvas);
constexpr Integer kMenuBarHeight = 20;

}  // namespace brevant
