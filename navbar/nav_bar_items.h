// The navigation bar's model: an item (icon, caption, optional action), the
// link that mirrors an action into an item, and a group of items.
//
// Items and groups report every visible change to the bar that owns them,
// which repaints. The rectangles an item and a group hold are the ones the
// bar's last paint computed; hit testing reads them.
#pragma once

#include "classes/collection.h"
#include "controls/actions.h"
#include "rtl/method.h"
#include "rtl/types.h"

namespace brevant {

class TCustomNavBar;
class TNavBarItem;

// Mirrors an action's caption, enabled and visible state and its execute
// handler into an item, each only while the item still shows the action's
// value.
class TNavItemActionLink : public TActionLink {
  BV_CLASS(TNavItemActionLink, TActionLink)
 public:
  explicit TNavItemActionLink(TNavBarItem* item) : TActionLink(nullptr), item_(item) {}

  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsVisibleLinked() const override;
  // Whether the item's OnClick is the action's execute handler.
  bool IsOnExecuteLinked() const;
  void SetCaption(const String& value) override;
  void SetEnabled(bool value) override;
  void SetVisible(bool value) override;

 private:
  TNavBarItem* item_;  // the client; outlives the link
};

class TNavBarItem : public TCollectionItem {
  BV_CLASS(TNavBarItem, TCollectionItem)
 public:
  explicit TNavBarItem(TCollection* collection = nullptr);
  ~TNavBarItem() override;
  void Assign(const TPersistent* source) override;
  String DisplayName() const override;

  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  // Index into the bar's image list for the open group (-1: no icon).
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer value);
  // A disabled item is shown but cannot be selected.
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  // An invisible item takes no room and cannot be selected.
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  Integer Tag() const { return tag_; }
  void SetTag(Integer value) { tag_ = value; }
  // The linked action (nullptr: none); cleared when the action is freed.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* value);

  // What a click on the item runs: OnClick when it differs from the
  // action's handler, else the action (outside design time), else OnClick.
  void Click();

  // The icon box and caption box of the last paint (empty when not shown).
  const TRect& IconRect() const { return iconRect_; }
  const TRect& CaptionRect() const { return captionRect_; }
  void SetPaintRects(const TRect& icon, const TRect& caption);

  TNotifyEvent OnClick;

 private:
  // The bar the item's group belongs to, or nullptr.
  TCustomNavBar* Bar() const;
  bool IsDesigning() const;

  String caption_;                            // header text shown under the icon
  Integer imageIndex_ = -1;                   // icon in the bar's image list
  bool enabled_ = true;                       // selectable
  bool visible_ = true;                       // shown at all
  Integer tag_ = 0;                           // free for the application
  TNavItemActionLink* actionLink_ = nullptr;  // owned; nullptr without an action
  TRect iconRect_;                            // icon box of the last paint
  TRect captionRect_;                         // caption box of the last paint
};

// One group: a header caption and its items.
class TNavBarItems : public TOwnedCollection {
  BV_CLASS(TNavBarItems, TOwnedCollection)
 public:
  explicit TNavBarItems(TCustomNavBar* bar);
  // Copies the caption and every item of another group.
  void Assign(const TPersistent* source) override;

  TNavBarItem* Add() { return static_cast<TNavBarItem*>(TCollection::Add()); }
  TNavBarItem* Items(Integer index) const {
    return static_cast<TNavBarItem*>(TCollection::Items(index));
  }
  const String& Caption() const { return caption_; }
  void SetCaption(const String& value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // The header rectangle of the last layout; (-1,-1,-1,-1) when invisible.
  const TRect& HeaderRect() const { return headerRect_; }
  void SetHeaderRect(const TRect& r) { headerRect_ = r; }
  TCustomNavBar* Bar() const { return bar_; }

 protected:
  void Update(TCollectionItem* item) override;
  void Notify(TCollectionItem* item, TCollectionNotification action) override;

 private:
  TCustomNavBar* bar_;                // the owner
  String caption_;                    // header text
  bool visible_ = true;               // whether the header shows
  TRect headerRect_{-1, -1, -1, -1};  // computed by the last layout
};

}  // namespace brevant
