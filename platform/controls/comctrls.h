// The common controls: tool bars with tool buttons, and status bars.
//
// A tool bar lays its children out in one row from the left, in the order
// of their Left positions (a tool button placed on a tool bar at run time
// goes to the end): tool buttons ButtonWidth x ButtonHeight (separators and
// dividers keep their own width), other controls at their own size,
// centred on the row. Check-style buttons toggle Down when clicked;
// adjacent Grouped check buttons are exclusive.
//
// A status bar shows either one simple panel (SimplePanel, SimpleText) or
// its Panels side by side; the last panel takes the remaining width.
#pragma once

#include "classes/collection.h"
#include "classes/shared_enums.h"
#include "controls/controls.h"
#include "controls/press_tracker.h"

namespace brevant {

class TImageList;
class TChangeLink;
class TToolBar;

// ---- TToolButton -----------------------------------------------------------------------------
enum TToolButtonStyle : Byte { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
BV_DECLARE_ENUM_INFO(TToolButtonStyle)

class TToolButton : public TGraphicControl {
  BV_CLASS(TToolButton, TGraphicControl)
 public:
  explicit TToolButton(TComponent* owner);

  TToolBar* ToolBar() const;
  // Placed on a tool bar at run time, the button goes to the end of the row.
  void SetParent(TWinControl* value) override;

  TToolButtonStyle Style() const { return style_; }
  void SetStyle(TToolButtonStyle value);
  // Check buttons: adjacent grouped ones are exclusive.
  bool Grouped() const { return grouped_; }
  void SetGrouped(bool value);
  bool Down() const { return down_; }
  void SetDown(bool value);
  // Whether the down button of a group comes up when clicked.
  bool AllowAllUp() const { return allowAllUp_; }
  void SetAllowAllUp(bool value) { allowAllUp_ = value; }
  // The image of the tool bar's Images (-1: none).
  Integer ImageIndex() const { return imageIndex_; }
  void SetImageIndex(Integer value);
  // Whether the left button is held over the button now.
  bool Pressed() const { return press_.Pressed; }
  bool MouseInControl() const { return mouseInControl_; }

  // Fires OnClick.
  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void CMMouseEnter(TMessage& message) override;
  void CMMouseLeave(TMessage& message) override;
  void CMTextChanged(TMessage& message) override;
  void CMEnabledChanged(TMessage& message) override;

 private:
  friend class TToolBar;
  void RelayoutBar();

  TToolButtonStyle style_ = tbsButton;
  bool grouped_ = false;
  bool down_ = false;
  bool allowAllUp_ = false;
  Integer imageIndex_ = -1;
  TPressTracker press_;
  bool mouseInControl_ = false;
};

// ---- TToolBar --------------------------------------------------------------------------------
class TToolBar : public TCustomControl {
  BV_CLASS(TToolBar, TCustomControl)
 public:
  explicit TToolBar(TComponent* owner);
  ~TToolBar() override;
  void BeforeDestruction() override;

  Integer ButtonWidth() const { return buttonWidth_; }
  void SetButtonWidth(Integer value);
  Integer ButtonHeight() const { return buttonHeight_; }
  void SetButtonHeight(Integer value);
  // Pixels before the first control.
  Integer Indent() const { return indent_; }
  void SetIndent(Integer value);
  // Buttons without an edge until the pointer is over them.
  bool Flat() const { return flat_; }
  void SetFlat(bool value);
  // Captions below the images; buttons widen to fit them.
  bool ShowCaptions() const { return showCaptions_; }
  void SetShowCaptions(bool value);
  // The images of the buttons; cleared when the list is freed.
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);

  // The tool buttons in the row's order.
  Integer ButtonCount() const;
  TToolButton* Buttons(Integer index) const;
  // The children in the row's order.
  std::vector<TControl*> RowOrder() const;
  // The exclusive group a grouped check button belongs to.
  std::vector<TToolButton*> GroupOf(const TToolButton* button) const;
  // The x position after the last control.
  Integer RowEnd() const;

  void Dispatch(TMessage& message) override;

 protected:
  void Paint() override;
  void AlignControls(TControl* control, TRect& rect) override;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TToolButton;
  void ImageListChange(TObject* sender);
  // The bounds the row gives each child, in RowOrder.
  std::vector<TRect> Layout(const std::vector<TControl*>& order) const;
  Integer ButtonWidthOf(const TToolButton* button) const;

  Integer buttonWidth_ = 23;
  Integer buttonHeight_ = 22;
  Integer indent_ = 0;
  bool flat_ = false;
  bool showCaptions_ = false;
  TImageList* images_ = nullptr;
  TChangeLink* imageLink_ = nullptr;
  bool relayoutPosted_ = false;
};

// ---- TStatusBar ------------------------------------------------------------------------------
enum TStatusPanelBevel : Byte { pbNone, pbLowered, pbRaised };
BV_DECLARE_ENUM_INFO(TStatusPanelBevel)

class TStatusPanel : public TCollectionItem {
  BV_CLASS(TStatusPanel, TCollectionItem)
 public:
  using TCollectionItem::TCollectionItem;
  void Assign(const TPersistent* source) override;
  String DisplayName() const override { return text_.empty() ? ClassName() : text_; }

  const String& Text() const { return text_; }
  void SetText(const String& value);
  Integer Width() const { return width_; }
  void SetWidth(Integer value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TStatusPanelBevel Bevel() const { return bevel_; }
  void SetBevel(TStatusPanelBevel value);

 private:
  String text_;
  Integer width_ = 50;
  TAlignment alignment_ = taLeftJustify;
  TStatusPanelBevel bevel_ = pbLowered;
};

class TStatusBar;

class TStatusPanels : public TOwnedCollection {
  BV_CLASS(TStatusPanels, TOwnedCollection)
 public:
  explicit TStatusPanels(TStatusBar* owner);
  TStatusPanel* Add() { return static_cast<TStatusPanel*>(TCollection::Add()); }
  TStatusPanel* Items(Integer index) const {
    return static_cast<TStatusPanel*>(TCollection::Items(index));
  }

 protected:
  void Update(TCollectionItem* item) override;

 private:
  TStatusBar* statusBar_;
};

class TStatusBar : public TCustomControl {
  BV_CLASS(TStatusBar, TCustomControl)
 public:
  explicit TStatusBar(TComponent* owner);
  ~TStatusBar() override;

  TStatusPanels* Panels() const { return panels_; }
  void SetPanels(TStatusPanels* value);
  bool SimplePanel() const { return simplePanel_; }
  void SetSimplePanel(bool value);
  const String& SimpleText() const { return simpleText_; }
  void SetSimpleText(const String& value);
  // Draws the sizing grip when the bar sits at the bottom right of a
  // sizeable form.
  bool SizeGrip() const { return sizeGrip_; }
  void SetSizeGrip(bool value);
  // Whether the grip shows now.
  bool GripShown() const;
  // The rectangle of a panel (the simple panel: index 0 while SimplePanel).
  TRect PanelRect(Integer index) const;

 protected:
  void Paint() override;

 private:
  void DrawPanel(TCanvas* canvas, TRect rect, const String& text, TAlignment alignment,
                 TStatusPanelBevel bevel);

  TStatusPanels* panels_ = nullptr;
  bool simplePanel_ = false;
  String simpleText_;
  bool sizeGrip_ = true;
};

}  // namespace brevant
