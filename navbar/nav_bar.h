// The navigation bar: a vertical stack of group header buttons, one group
// open, whose items show as large icons with captions underneath and scroll
// with two arrow buttons when they do not fit.
//
// The bar paints double-buffered; every paint recomputes the header, icon
// and caption rectangles that hit testing reads. Opening another group can
// slide the item area over a few timer ticks (SmoothScrolling).
#pragma once

#include <memory>
#include <vector>

#include "controls/controls.h"
#include "controls/edits.h"
#include "navbar/nav_bar_items.h"

namespace brevant {

class TBitmap;
class TChangeLink;
class TFont;
class TImageList;
class TPicture;
class TReader;
class TWriter;
class TFiler;
class TNavCaptionEdit;

enum TNavBarFrameStyle : Byte {
  fsSingle,
  fsRaised,
  fsLowered,
  fsButton,
  fsNone,
  fsRowRaised,
  fsRowLowered,
  fsRowButton
};
BV_DECLARE_ENUM_INFO(TNavBarFrameStyle)

enum TNavBarScrollBtnStyle : Byte { sbButton, sbSlider };
BV_DECLARE_ENUM_INFO(TNavBarScrollBtnStyle)

// What a point of the bar is; the numbers are the part kinds of hit testing.
enum TNavBarPartKind : Byte {
  npNothing = 0,
  npHeader = 1,
  npIconBox = 2,
  npArrow = 3,  // index 1: up arrow, 0: down arrow
  npCaptionBox = 4
};

// A part of the bar: its kind and the group, item or arrow index.
struct TNavBarPart {
  TNavBarPartKind Kind = npNothing;  // what was hit
  Integer Index = -1;                // group, item or arrow (1 up, 0 down)
  friend bool operator==(const TNavBarPart&, const TNavBarPart&) = default;
};

using TNavBarChangingEvent = TEvent<void(TObject* Sender, bool& CanChange)>;
using TNavBarGetImagesEvent =
    TEvent<void(TObject* Sender, const String& GroupCaption, TImageList*& Images)>;

class TCustomNavBar : public TCustomControl {
  BV_CLASS(TCustomNavBar, TCustomControl)
 public:
  explicit TCustomNavBar(TComponent* owner);
  ~TCustomNavBar() override;
  void BeforeDestruction() override;

  // ---- groups ----
  Integer GroupCount() const { return static_cast<Integer>(groups_.size()); }
  TNavBarItems* Groups(Integer index) const;
  TNavBarItems* AddGroup(const String& caption);
  void DeleteGroup(Integer index);
  void ClearGroups();
  // The open group, or nullptr.
  TNavBarItems* OpenGroup() const;

  // ---- properties ----
  bool AllowEditing() const { return allowEditing_; }
  void SetAllowEditing(bool value);
  TPicture* Background() const { return background_; }
  void SetBackground(TPicture* value);
  TColor ButtonColor() const { return buttonColor_; }
  void SetButtonColor(TColor value);
  TFont* ButtonFont() const { return buttonFont_; }
  void SetButtonFont(TFont* value);
  TFont* SelectedFont() const { return selectedFont_; }
  void SetSelectedFont(TFont* value);
  TFont* ItemHightlightFont() const { return itemHighlightFont_; }
  void SetItemHightlightFont(TFont* value);
  TNavBarFrameStyle FrameStyle() const { return frameStyle_; }
  void SetFrameStyle(TNavBarFrameStyle value);
  TColor FrameColor() const { return frameColor_; }
  void SetFrameColor(TColor value);
  TColor ItemHightlightColor() const { return itemHighlightColor_; }
  void SetItemHightlightColor(TColor value);
  bool StripAccChar() const { return stripAccChar_; }
  void SetStripAccChar(bool value);
  TImageList* Images() const { return images_; }
  void SetImages(TImageList* value);
  TNavBarScrollBtnStyle ScrollBtnStyle() const { return scrollBtnStyle_; }
  void SetScrollBtnStyle(TNavBarScrollBtnStyle value);
  // Milliseconds between the 20-pixel steps of a slide (at least 1 is used).
  Integer ScrollDelay() const { return scrollDelay_; }
  void SetScrollDelay(Integer value);
  bool SmoothScrolling() const { return smoothScrolling_; }
  void SetSmoothScrolling(bool value) { smoothScrolling_ = value; }
  Integer Spacing() const { return spacing_; }
  void SetSpacing(Integer value);
  Integer TopSpacing() const { return topSpacing_; }
  void SetTopSpacing(Integer value);
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);
  // The open group (-1: none). Opening another group may slide (see above);
  // the new value shows once the slide ends.
  Integer SelectedButton() const { return selectedButton_; }
  void SetSelectedButton(Integer value);
  // The selected item of the open group (-1: none); scrolled into view.
  Integer SelectedItem() const { return selectedItem_; }
  void SetSelectedItem(Integer value);

  // ---- state ----
  // The first item shown in the open group (the scroll position).
  Integer FirstItem() const { return firstItem_; }
  // How many items fit from the first shown one (at least 1 with items).
  Integer Capacity();
  TNavBarPart PressedPart() const { return pressed_; }
  TNavBarPart HoverPart() const { return hover_; }
  TNavBarPart HitTest(Integer x, Integer y);
  // The item area of the open group and the shown arrows (empty: none).
  TRect ItemArea();
  TRect ArrowRect(bool up);
  // Whether a slide to another group is running.
  bool Sliding() const { return slideTarget_ >= 0; }
  // The image list used for the open group (Images or OnGetImages').
  TImageList* GroupImages();

  // ---- caption editing ----
  // Opens the caption edit over an item of the open group (AllowEditing).
  void EditCaption(Integer item);
  // The item the open caption edit renames (nullptr: none open).
  TNavBarItem* EditingItem() const { return editItem_; }
  TNavCaptionEdit* CaptionEdit() const { return edit_; }
  // Renames the item the edit was opened for and closes the edit.
  void CommitCaptionEdit();
  void CancelCaptionEdit();

  // ---- notifications from the groups ----
  void GroupChanged(TNavBarItems* group);
  void ItemRemoving(TNavBarItems* group, TNavBarItem* item);

  TNotifyEvent OnChange;
  TNavBarChangingEvent OnChanging;
  TNavBarGetImagesEvent OnGetImages;
  TNotifyEvent OnItemClick;
  TNotifyEvent OnItemTextClick;
  TNotifyEvent OnItemTextChange;

 protected:
  void DefineProperties(TFiler* filer) override;
  void Loaded() override;
  void CreateWnd() override;
  void Notification(TComponent* component, TOperation operation) override;
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void MouseMove(TShiftState shift, Integer x, Integer y) override;
  void MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) override;
  void KeyDown(Word& key, TShiftState shift) override;
  void CMMouseLeave(TMessage& message) override;
  void CMFontChanged(TMessage& message) override;
  void WMGetDlgCode(TMessage& message) override;
  void WMTimer(TMessage& message) override;

 private:
  friend class TNavBarPainter;

  // Geometry of the groups for the current size and open group.
  struct TLayout {
    TRect Client;          // client area less 1 pixel each side
    Integer HeaderHeight;  // one header
    TRect Area;            // item area of the open group (empty: none)
  };
  TLayout Layout(Integer openGroup);
  Integer TextHeightOf(TFont* font, const String& text);
  // Icon size of the open group's image list (32 x 32 without one).
  TSize IconSize();
  // Caption as drawn: without "&" when StripAccChar.
  String DrawnCaption(const TNavBarItem* item) const;
  // Height of one item in the paint (icon, caption and spacing).
  Integer ItemHeight(const TNavBarItem* item, Integer areaWidth);
  void ScrollInView(Integer item);
  // Asks OnChanging; true when the change may go ahead.
  bool CanChange();
  void Change();
  void OpenGroupNow(Integer index);
  void EnsureGroupOpen();
  void StartSlide(Integer index);
  void FinishSlide();
  void StopSlideTimer();
  void RenderTo(TCanvas* canvas);
  void ClickItem(Integer index);
  void HeaderReleased(Integer group);
  void IconReleased(Integer item);
  void CaptionReleased(Integer item);
  void SelectByKey(Integer step);
  void ClickSelectedByKey();
  void EditSelectedCaption();
  void OpenGroupByKey(Integer step);
  void ScrollBy(Integer delta);
  void CloseCaptionEdit();
  void ImageListChange(TObject* sender);
  void FontChanged(TObject* sender);
  void ReadList(TReader& reader);
  void WriteList(TWriter& writer);

  std::vector<TNavBarItems*> groups_;                // owned, in order
  bool allowEditing_ = false;                        // a second press on a caption edits it
  TPicture* background_ = nullptr;                   // owned; tiled over the item area
  TColor buttonColor_;                               // header fill
  TFont* buttonFont_ = nullptr;                      // owned; header captions
  TFont* selectedFont_ = nullptr;                    // owned; the selected item's caption
  TFont* itemHighlightFont_ = nullptr;               // owned; captions under highlight
  TNavBarFrameStyle frameStyle_ = fsButton;          // hover and press look
  TColor frameColor_;                                // the frame-unless-selected colour
  TColor itemHighlightColor_;                        // highlight fill (clNone: none)
  bool stripAccChar_ = true;                         // drop "&" from item captions
  TImageList* images_ = nullptr;                     // not owned; icons of every group
  TChangeLink* imageLink_ = nullptr;                 // owned; repaints on image changes
  TNavBarScrollBtnStyle scrollBtnStyle_ = sbButton;  // arrow look
  Integer scrollDelay_ = 5;                          // milliseconds per slide step
  bool smoothScrolling_ = true;                      // slide when opening a group
  Integer spacing_ = 10;                             // pixels below each item
  Integer topSpacing_ = 4;                           // pixels above the first item
  bool wordWrap_ = false;                            // captions wrap within the area
  Integer selectedButton_ = -1;                      // open group
  Integer selectedItem_ = -1;                        // selected item of the open group
  Integer firstItem_ = 0;                            // first item shown
  Integer capacity_ = 0;                             // items that fit, from the last paint
  TNavBarPart pressed_;                              // part under the left button
  TNavBarPart hover_;                                // part under the pointer
  TNavBarItem* lastPressedItem_ = nullptr;           // item of the previous press (editing)
  TRect upArrow_, downArrow_;                        // arrows of the last paint (empty: hidden)
  TBitmap* buffer_ = nullptr;                        // owned; the double buffer
  TNavCaptionEdit* edit_ = nullptr;                  // owned child; nullptr until first used
  TNavBarItem* editItem_ = nullptr;                  // item the open edit renames
  Integer slideTarget_ = -1;                         // group being slid to (-1: none)
  Integer slideOffset_ = 0;                          // pixels slid so far
  TRect slideRect_;                                  // the band that slides
  bool slideDown_ = false;                           // new content comes from below
  TBitmap* slideOld_ = nullptr;                      // owned; the bar before the slide
  TBitmap* slideNew_ = nullptr;                      // owned; the bar after the slide
};

class TNavBar : public TCustomNavBar {
  BV_CLASS(TNavBar, TCustomNavBar)
 public:
  using TCustomNavBar::TCustomNavBar;
};

// The plain edit placed over a caption: Return commits, Escape cancels.
class TNavCaptionEdit : public TCustomEdit {
  BV_CLASS(TNavCaptionEdit, TCustomEdit)
 public:
  explicit TNavCaptionEdit(TComponent* owner);
  TCustomNavBar* Bar() const { return bar_; }
  void SetBar(TCustomNavBar* bar) { bar_ = bar; }

 protected:
  void KeyDown(Word& key, TShiftState shift) override;
  void WMGetDlgCode(TMessage& message) override;
  void DoExit() override;

 private:
  TCustomNavBar* bar_ = nullptr;  // the bar that opened the edit
};

// Registers the bar's classes for form streams.
void RegisterNavBarClasses();

}  // namespace brevant
