// The navigation bar: properties, groups, selection, mouse, keys, caption
// editing, sliding and streaming. Painting is in nav_bar_paint.cpp.
#include "navbar/nav_bar.h"

#include <algorithm>

#include "classes/reader.h"
#include "classes/rtti_builder.h"
#include "classes/writer.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/font.h"
#include "graphics/imagelist.h"
#include "graphics/picture.h"
#include "rtl/format.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"

namespace brevant {

namespace {
constexpr WPARAM kSlideTimer = 1;   // the timer id of a slide
constexpr Integer kSlideStep = 20;  // pixels per slide step
}  // namespace

// ---- life cycle --------------------------------------------------------------------------------

TCustomNavBar::TCustomNavBar(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  width_ = 100;
  height_ = 300;
  color_ = clBtnShadow;
  Brush()->SetColor(color_);
  buttonColor_ = clBtnFace;
  frameColor_ = clBtnFace;
  itemHighlightColor_ = clNone;
  background_ = Create<TPicture>();
  background_->OnChange = TNotifyEvent::Of<&TCustomNavBar::FontChanged>(this);
  for (TFont** f : {&buttonFont_, &selectedFont_, &itemHighlightFont_}) {
    *f = Create<TFont>();
    (*f)->OnChange = TNotifyEvent::Of<&TCustomNavBar::FontChanged>(this);
  }
  imageLink_ = Create<TChangeLink>();
  imageLink_->OnChange = TNotifyEvent::Of<&TCustomNavBar::ImageListChange>(this);
  buffer_ = Create<TBitmap>();
  buffer_->SetSize(1, 1);
}

TCustomNavBar::~TCustomNavBar() {
  for (TObject* o :
       std::initializer_list<TObject*>{background_, buttonFont_, selectedFont_, itemHighlightFont_,
                                       imageLink_, buffer_, slideOld_, slideNew_})
    TObject::Free(o);
}

void TCustomNavBar::BeforeDestruction() {
  StopSlideTimer();
  SetImages(nullptr);
  editItem_ = nullptr;
  ClearGroups();
  TCustomControl::BeforeDestruction();
}

// ---- groups ------------------------------------------------------------------------------------

TNavBarItems* TCustomNavBar::Groups(Integer index) const {
  if (index < 0 || index >= GroupCount()) throw EListError(Format(res::SListIndexError, {index}));
  return groups_[index];
}

TNavBarItems* TCustomNavBar::AddGroup(const String& caption) {
  auto* group = Create<TNavBarItems>(this);
  groups_.push_back(group);
  group->SetCaption(caption);
  GroupChanged(group);
  return group;
}

void TCustomNavBar::DeleteGroup(Integer index) {
  TNavBarItems* group = Groups(index);
  FinishSlide();
  if (editItem_ && editItem_->Collection() == group) CloseCaptionEdit();
  if (lastPressedItem_ && lastPressedItem_->Collection() == group) lastPressedItem_ = nullptr;
  groups_.erase(groups_.begin() + index);
  TObject::Free(group);
  if (selectedButton_ == index) {
    selectedButton_ = -1;
    selectedItem_ = -1;
    firstItem_ = 0;
  } else if (selectedButton_ > index) {
    --selectedButton_;
  }
  pressed_ = hover_ = {};
  if (!IsDestroying()) EnsureGroupOpen();
  Invalidate();
}

void TCustomNavBar::ClearGroups() {
  while (!groups_.empty()) DeleteGroup(GroupCount() - 1);
}

TNavBarItems* TCustomNavBar::OpenGroup() const {
  if (selectedButton_ < 0 || selectedButton_ >= GroupCount()) return nullptr;
  return groups_[selectedButton_];
}

void TCustomNavBar::GroupChanged(TNavBarItems* group) {
  if (IsDestroying()) return;
  if (group == OpenGroup() && !IsLoading()) {
    Integer count = group->Count();
    if (selectedItem_ >= count) selectedItem_ = -1;
    firstItem_ = std::clamp<Integer>(firstItem_, 0, std::max<Integer>(count - 1, 0));
  }
  if (!IsLoading()) EnsureGroupOpen();
  Invalidate();
}

void TCustomNavBar::ItemRemoving(TNavBarItems*, TNavBarItem* item) {
  if (item == editItem_) CloseCaptionEdit();
  if (item == lastPressedItem_) lastPressedItem_ = nullptr;
}

// ---- simple properties -------------------------------------------------------------------------

void TCustomNavBar::SetAllowEditing(bool value) {
  if (value == allowEditing_) return;
  allowEditing_ = value;
  if (!value) CancelCaptionEdit();
  Invalidate();
}

void TCustomNavBar::SetBackground(TPicture* value) {
  background_->Assign(value);
}

void TCustomNavBar::SetButtonColor(TColor value) {
  if (value == buttonColor_) return;
  buttonColor_ = value;
  Invalidate();
}

void TCustomNavBar::SetButtonFont(TFont* value) {
  buttonFont_->Assign(value);
}

void TCustomNavBar::SetSelectedFont(TFont* value) {
  selectedFont_->Assign(value);
}

void TCustomNavBar::SetItemHightlightFont(TFont* value) {
  itemHighlightFont_->Assign(value);
}

void TCustomNavBar::SetFrameStyle(TNavBarFrameStyle value) {
  if (value == frameStyle_) return;
  frameStyle_ = value;
  Invalidate();
}

void TCustomNavBar::SetFrameColor(TColor value) {
  if (value == frameColor_) return;
  frameColor_ = value;
  Invalidate();
}

void TCustomNavBar::SetItemHightlightColor(TColor value) {
  if (value == itemHighlightColor_) return;
  itemHighlightColor_ = value;
  Invalidate();
}

void TCustomNavBar::SetStripAccChar(bool value) {
  if (value == stripAccChar_) return;
  stripAccChar_ = value;
  Invalidate();
}

void TCustomNavBar::SetImages(TImageList* value) {
  if (value == images_) return;
  if (images_) {
    images_->UnRegisterChanges(imageLink_);
    images_->RemoveFreeNotification(this);
  }
  images_ = value;
  if (images_) {
    images_->RegisterChanges(imageLink_);
    images_->FreeNotification(this);
  }
  if (!IsDestroying()) Invalidate();
}

void TCustomNavBar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == images_) {
    images_ = nullptr;
    if (!IsDestroying()) Invalidate();
  }
  // An item's action going away unlinks itself (the action tells its links).
}

void TCustomNavBar::ImageListChange(TObject*) {
  Invalidate();
}

void TCustomNavBar::FontChanged(TObject*) {
  if (!IsDestroying()) Invalidate();
}

void TCustomNavBar::CMFontChanged(TMessage& m) {
  TCustomControl::CMFontChanged(m);
  Invalidate();
}

void TCustomNavBar::SetScrollBtnStyle(TNavBarScrollBtnStyle value) {
  if (value == scrollBtnStyle_) return;
  scrollBtnStyle_ = value;
  Invalidate();
}

void TCustomNavBar::SetScrollDelay(Integer value) {
  scrollDelay_ = std::max<Integer>(value, 0);
}

void TCustomNavBar::SetSpacing(Integer value) {
  if (value == spacing_) return;
  spacing_ = value;
  Invalidate();
}

void TCustomNavBar::SetTopSpacing(Integer value) {
  if (value == topSpacing_) return;
  topSpacing_ = value;
  Invalidate();
}

void TCustomNavBar::SetWordWrap(bool value) {
  if (value == wordWrap_) return;
  wordWrap_ = value;
  Invalidate();
}

// ---- opening groups ----------------------------------------------------------------------------

void TCustomNavBar::SetSelectedButton(Integer value) {
  if (IsLoading()) {
    selectedButton_ = value;
    return;
  }
  if (value < 0 && !groups_.empty()) value = 0;
  FinishSlide();
  if (value == selectedButton_ || value >= GroupCount() || value < 0) return;
  CloseCaptionEdit();
  if (smoothScrolling_ && HandleAllocated() && selectedButton_ >= 0 && Visible()) {
    StartSlide(value);
    return;
  }
  OpenGroupNow(value);
}

void TCustomNavBar::OpenGroupNow(Integer index) {
  selectedButton_ = index;
  selectedItem_ = -1;
  firstItem_ = 0;
  lastPressedItem_ = nullptr;
  Invalidate();
  Change();
}

void TCustomNavBar::EnsureGroupOpen() {
  if (groups_.empty() || (selectedButton_ >= 0 && selectedButton_ < GroupCount())) return;
  selectedButton_ = 0;
  selectedItem_ = -1;
  firstItem_ = 0;
  Invalidate();
}

void TCustomNavBar::StartSlide(Integer index) {
  TLayout before = Layout(selectedButton_);
  TLayout after = Layout(index);
  slideDown_ = index > selectedButton_;
  slideRect_ =
      slideDown_
          ? TRect(before.Client.Left, before.Area.Top, before.Client.Right, after.Area.Bottom)
          : TRect(before.Client.Left, after.Area.Top, before.Client.Right, before.Area.Bottom);
  for (TBitmap** b : {&slideOld_, &slideNew_}) {
    if (!*b) *b = Create<TBitmap>();
    (*b)->SetSize(std::max<Integer>(Width(), 1), std::max<Integer>(Height(), 1));
  }
  RenderTo(slideOld_->Canvas());
  {
    TTemporaryChange<Integer> group(selectedButton_, index);
    TTemporaryChange<Integer> item(selectedItem_, -1);
    TTemporaryChange<Integer> first(firstItem_, 0);
    RenderTo(slideNew_->Canvas());
  }
  slideTarget_ = index;
  slideOffset_ = 0;
  pressed_ = hover_ = {};
  SetTimer(Handle(), kSlideTimer, std::max<Integer>(scrollDelay_, 1));
}

void TCustomNavBar::StopSlideTimer() {
  if (slideTarget_ >= 0 && HandleAllocated()) KillTimer(Handle(), kSlideTimer);
}

void TCustomNavBar::FinishSlide() {
  if (slideTarget_ < 0) return;
  StopSlideTimer();
  Integer target = slideTarget_;
  slideTarget_ = -1;
  if (target < GroupCount()) OpenGroupNow(target);
}

void TCustomNavBar::WMTimer(TMessage& m) {
  if (m.WParam != kSlideTimer || slideTarget_ < 0) return TCustomControl::WMTimer(m);
  slideOffset_ += kSlideStep;
  if (slideOffset_ >= slideRect_.Height()) return FinishSlide();
  Invalidate();
}

// ---- selecting items ---------------------------------------------------------------------------

void TCustomNavBar::SetSelectedItem(Integer value) {
  if (value < 0) value = -1;
  if (IsLoading()) {
    selectedItem_ = value;
    return;
  }
  TNavBarItems* group = OpenGroup();
  if (value >= 0 && group && value < group->Count() && !group->Items(value)->Visible()) value = -1;
  if (value == selectedItem_ || !group || value >= group->Count()) return;
  selectedItem_ = value;
  if (value >= 0) ScrollInView(value);
  Invalidate();
  Change();
}

void TCustomNavBar::ScrollInView(Integer item) {
  if (firstItem_ >= item) {
    firstItem_ = std::max<Integer>(item, 0);
    return;
  }
  // Walk back from the item while the items up to it still fit, as the paint
  // places them: the first shown one always, each further one while it ends
  // above the area's bottom.
  TNavBarItems* group = OpenGroup();
  if (!group || item >= group->Count()) return;
  TRect area = Layout(selectedButton_).Area;
  Integer budget = area.Height() - topSpacing_;
  Integer used = ItemHeight(group->Items(item), area.Width());
  Integer first = item;
  while (first > firstItem_) {
    TNavBarItem* prior = group->Items(first - 1);
    Integer h = prior->Visible() ? ItemHeight(prior, area.Width()) : 0;
    if (used + h >= budget) break;
    used += h;
    --first;
  }
  firstItem_ = first;
}

Integer TCustomNavBar::Capacity() {
  TNavBarItems* group = OpenGroup();
  if (!group || group->Count() == 0) return capacity_ = 0;
  TRect area = Layout(selectedButton_).Area;
  Integer y = area.Top + topSpacing_;
  Integer count = 0;
  for (Integer i = firstItem_; i < group->Count(); ++i) {
    TNavBarItem* item = group->Items(i);
    if (!item->Visible()) continue;
    Integer h = ItemHeight(item, area.Width());
    if (count > 0 && y + h >= area.Bottom) break;
    ++count;
    y += h;
  }
  return capacity_ = std::max<Integer>(count, 1);
}

void TCustomNavBar::Change() {
  if (!IsLoading()) OnChange(this);
}

bool TCustomNavBar::CanChange() {
  bool canChange = true;
  OnChanging(this, canChange);
  return canChange;
}

void TCustomNavBar::ScrollBy(Integer delta) {
  TNavBarItems* group = OpenGroup();
  if (!group) return;
  firstItem_ = std::clamp<Integer>(firstItem_ + delta, 0, std::max<Integer>(group->Count() - 1, 0));
  Invalidate();
}

void TCustomNavBar::ClickItem(Integer index) {
  TNavBarItems* group = OpenGroup();
  if (!group || index < 0 || index >= group->Count()) return;
  TNavBarItem* item = group->Items(index);
  TAliveGuard alive(this);
  if (item->Enabled()) {
    SetSelectedItem(index);
    // OnChange may have freed the bar or emptied the group.
    if (!alive.Alive() || index >= group->Count() || group->Items(index) != item) return;
    item->Click();
  }
  if (alive.Alive()) OnItemClick(this);
}

// ---- mouse -------------------------------------------------------------------------------------

void TCustomNavBar::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button != mbLeft) return TCustomControl::MouseDown(button, shift, x, y);
  FinishSlide();
  if (CanFocus() && !Focused()) SetFocus();
  TNavBarPart part = HitTest(x, y);
  TAliveGuard alive(this);
  CommitCaptionEdit();
  if (!alive.Alive()) return;
  TNavBarItems* group = OpenGroup();
  TNavBarItem* item = nullptr;
  if (group && (part.Kind == npIconBox || part.Kind == npCaptionBox))
    item = group->Items(part.Index);
  if (allowEditing_) {
    bool again = item && part.Kind == npCaptionBox && item == lastPressedItem_;
    lastPressedItem_ = item;
    if (again) EditCaption(part.Index);
  }
  pressed_ = part;
  hover_ = {};
  Invalidate();
  TCustomControl::MouseDown(button, shift, x, y);
}

void TCustomNavBar::MouseMove(TShiftState shift, Integer x, Integer y) {
  TNavBarPart part = HitTest(x, y);
  if (!(part == hover_)) {
    hover_ = part;
    Invalidate();
  }
  TCustomControl::MouseMove(shift, x, y);
}

void TCustomNavBar::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button != mbLeft) return TCustomControl::MouseUp(button, shift, x, y);
  TNavBarPart part = HitTest(x, y);
  // The feedback goes whatever the handlers below do, unless they freed the bar.
  TAliveGuard alive(this);
  TScopeGuard clear([this, &alive] {
    if (!alive.Alive() || IsDestroying()) return;
    pressed_ = hover_ = {};
    Invalidate();
  });
  switch (part.Kind) {
    case npHeader:
      HeaderReleased(part.Index);
      break;
    case npIconBox:
      IconReleased(part.Index);
      break;
    case npArrow:
      ScrollBy(part.Index == 1 ? -1 : 1);
      break;
    case npCaptionBox:
      CaptionReleased(part.Index);
      break;
    case npNothing:
      break;
  }
  if (alive.Alive()) TCustomControl::MouseUp(button, shift, x, y);
}

void TCustomNavBar::HeaderReleased(Integer group) {
  TAliveGuard alive(this);
  if (CanChange() && alive.Alive()) SetSelectedButton(group);
}

void TCustomNavBar::IconReleased(Integer item) {
  TAliveGuard alive(this);
  if (CanChange() && alive.Alive()) ClickItem(item);
}

void TCustomNavBar::CaptionReleased(Integer index) {
  // An open edit keeps the press; otherwise the click selects, if allowed.
  if (editItem_) return;
  TAliveGuard alive(this);
  if (!CanChange() || !alive.Alive()) return;
  TNavBarItems* group = OpenGroup();
  if (group && index < group->Count() && group->Items(index)->Enabled()) SetSelectedItem(index);
  if (alive.Alive()) OnItemTextClick(this);
}

void TCustomNavBar::CMMouseLeave(TMessage& m) {
  if (hover_.Kind == npIconBox) {
    hover_ = {};
    Invalidate();
  }
  TCustomControl::CMMouseLeave(m);
}

TNavBarPart TCustomNavBar::HitTest(Integer x, Integer y) {
  TPoint p{x, y};
  if (PtInRect(ArrowRect(true), p)) return {npArrow, 1};
  if (PtInRect(ArrowRect(false), p)) return {npArrow, 0};
  for (Integer i = 0; i < GroupCount(); ++i)
    if (groups_[i]->Visible() && PtInRect(groups_[i]->HeaderRect(), p)) return {npHeader, i};
  TNavBarItems* group = OpenGroup();
  if (!group || !PtInRect(ItemArea(), p)) return {};
  for (Integer i = firstItem_; i < group->Count(); ++i) {
    TNavBarItem* item = group->Items(i);
    if (!item->Visible()) continue;
    // Items after the last painted one hold no rectangles.
    if (item->IconRect().Width() == 0) break;
    if (PtInRect(item->IconRect(), p)) return {npIconBox, i};
    if (PtInRect(item->CaptionRect(), p)) return {npCaptionBox, i};
  }
  return {};
}

// ---- keyboard ----------------------------------------------------------------------------------

void TCustomNavBar::WMGetDlgCode(TMessage& m) {
  m.Result = DLGC_WANTARROWS;
}

void TCustomNavBar::KeyDown(Word& key, TShiftState shift) {
  TAliveGuard alive(this);
  TCustomControl::KeyDown(key, shift);
  if (!alive.Alive()) return;
  switch (key) {
    case VK_UP:
      SelectByKey(-1);
      break;
    case VK_DOWN:
      SelectByKey(1);
      break;
    case VK_PRIOR:
      OpenGroupByKey(-1);
      break;
    case VK_NEXT:
      OpenGroupByKey(1);
      break;
    case VK_RETURN:
    case VK_SPACE:
      ClickSelectedByKey();
      break;
    case VK_F2:
      EditSelectedCaption();
      break;
    default:
      return;
  }
  key = 0;
}

void TCustomNavBar::ClickSelectedByKey() {
  TAliveGuard alive(this);
  if (selectedItem_ >= 0 && CanChange() && alive.Alive()) ClickItem(selectedItem_);
}

void TCustomNavBar::EditSelectedCaption() {
  if (allowEditing_ && selectedItem_ >= 0) EditCaption(selectedItem_);
}

void TCustomNavBar::SelectByKey(Integer step) {
  TNavBarItems* group = OpenGroup();
  if (!group) return;
  Integer i = selectedItem_ < 0 ? (step > 0 ? -1 : group->Count()) : selectedItem_;
  for (i += step; i >= 0 && i < group->Count(); i += step) {
    TNavBarItem* item = group->Items(i);
    if (!item->Visible() || !item->Enabled()) continue;
    TAliveGuard alive(this);
    if (CanChange() && alive.Alive()) SetSelectedItem(i);
    return;
  }
}

void TCustomNavBar::OpenGroupByKey(Integer step) {
  for (Integer i = selectedButton_ + step; i >= 0 && i < GroupCount(); i += step) {
    if (!groups_[i]->Visible()) continue;
    TAliveGuard alive(this);
    if (CanChange() && alive.Alive()) SetSelectedButton(i);
    return;
  }
}

// ---- caption editing ---------------------------------------------------------------------------

void TCustomNavBar::EditCaption(Integer index) {
  TNavBarItems* group = OpenGroup();
  if (!allowEditing_ || !group || index < 0 || index >= group->Count()) return;
  TNavBarItem* item = group->Items(index);
  if (!item->Visible()) return;
  if (!edit_) {
    edit_ = Create<TNavCaptionEdit>(this);
    edit_->SetBar(this);
    edit_->SetBorderStyle(bsNone);
    edit_->SetVisible(false);
    edit_->SetParent(this);
  }
  ScrollInView(index);
  Update();
  TRect box = item->CaptionRect();
  editItem_ = item;
  edit_->SetBounds(box.Left, box.Top, box.Width(), std::max<Integer>(box.Height(), 1));
  edit_->SetText(item->Caption());
  edit_->SetVisible(true);
  edit_->SelectAll();
  if (edit_->CanFocus()) edit_->SetFocus();
}

void TCustomNavBar::CommitCaptionEdit() {
  if (!editItem_) return;
  TNavBarItem* item = editItem_;
  String text = edit_->Text();
  CloseCaptionEdit();
  item->SetCaption(text);
  if (CanFocus()) SetFocus();
  if (!IsLoading()) OnItemTextChange(this);
}

void TCustomNavBar::CancelCaptionEdit() {
  if (!editItem_) return;
  CloseCaptionEdit();
  if (CanFocus()) SetFocus();
}

void TCustomNavBar::CloseCaptionEdit() {
  // The next edit again needs two presses on one caption.
  if (editItem_) lastPressedItem_ = nullptr;
  editItem_ = nullptr;
  if (edit_ && !edit_->IsDestroying()) edit_->SetVisible(false);
}

TNavCaptionEdit::TNavCaptionEdit(TComponent* owner) : TCustomEdit(owner) {}

void TNavCaptionEdit::WMGetDlgCode(TMessage& m) {
  TCustomEdit::WMGetDlgCode(m);
  m.Result |= DLGC_WANTALLKEYS;
}

void TNavCaptionEdit::KeyDown(Word& key, TShiftState shift) {
  if (bar_ && key == VK_RETURN) {
    key = 0;
    return bar_->CommitCaptionEdit();
  }
  if (bar_ && key == VK_ESCAPE) {
    key = 0;
    return bar_->CancelCaptionEdit();
  }
  TCustomEdit::KeyDown(key, shift);
}

void TNavCaptionEdit::DoExit() {
  TCustomEdit::DoExit();
  // Leaving the edit keeps what was typed.
  if (bar_ && bar_->EditingItem()) bar_->CommitCaptionEdit();
}

// ---- window and loading ------------------------------------------------------------------------

void TCustomNavBar::CreateWnd() {
  TCustomControl::CreateWnd();
  EnsureGroupOpen();
}

void TCustomNavBar::Loaded() {
  TCustomControl::Loaded();
  if (selectedButton_ >= GroupCount()) selectedButton_ = -1;
  EnsureGroupOpen();
  TNavBarItems* group = OpenGroup();
  if (!group || selectedItem_ >= group->Count()) selectedItem_ = -1;
  if (selectedItem_ >= 0) ScrollInView(selectedItem_);
}

void TCustomNavBar::Resize() {
  FinishSlide();
  if (selectedItem_ >= 0) ScrollInView(selectedItem_);
  Invalidate();
  TCustomControl::Resize();
}

// ---- streaming ---------------------------------------------------------------------------------

void TCustomNavBar::DefineProperties(TFiler* filer) {
  TCustomControl::DefineProperties(filer);
  filer->DefineProperty(
      "List", [this](TReader& r) { ReadList(r); }, [this](TWriter& w) { WriteList(w); },
      !groups_.empty());
}

void TCustomNavBar::ReadList(TReader& reader) {
  ClearGroups();
  reader.ReadListBegin();
  while (!reader.EndOfList()) {
    TNavBarItems* group = AddGroup(reader.ReadString());
    reader.ReadCollection(group);
  }
  reader.ReadListEnd();
}

void TCustomNavBar::WriteList(TWriter& writer) {
  writer.WriteListBegin();
  for (TNavBarItems* group : groups_) {
    writer.WriteString(group->Caption());
    writer.WriteCollection(group);
  }
  writer.WriteListEnd();
}

// ---- published tables --------------------------------------------------------------------------

BV_ENUM_INFO(TNavBarFrameStyle, fsSingle, fsRaised, fsLowered, fsButton, fsNone, fsRowRaised,
             fsRowLowered, fsRowButton)
BV_ENUM_INFO(TNavBarScrollBtnStyle, sbButton, sbSlider)

BV_PUBLISH(TCustomNavBar, TCustomControl) {}

BV_PUBLISH(TNavBar, TCustomNavBar) {
  using T = TNavBar;
  p.Property("AllowEditing", &T::AllowEditing, &T::SetAllowEditing).Default(0);
  p.Property("Background", &T::Background, &T::SetBackground);
  p.Property("ButtonColor", &T::ButtonColor, &T::SetButtonColor)
      .Type(TypeInfoTColor())
      .Default(clBtnFace);
  p.Property("ButtonFont", &T::ButtonFont, &T::SetButtonFont);
  p.Property("Color", &T::Color, &T::SetColor).Type(TypeInfoTColor()).Default(clBtnShadow);
  p.Property("FrameColor", &T::FrameColor, &T::SetFrameColor)
      .Type(TypeInfoTColor())
      .Default(clBtnFace);
  p.Property("FrameStyle", &T::FrameStyle, &T::SetFrameStyle).Default(fsButton);
  p.Property("Images", &T::Images, &T::SetImages);
  p.Property("ItemHightlightColor", &T::ItemHightlightColor, &T::SetItemHightlightColor)
      .Type(TypeInfoTColor())
      .Default(clNone);
  p.Property("ItemHightlightFont", &T::ItemHightlightFont, &T::SetItemHightlightFont);
  p.Property("ScrollBtnStyle", &T::ScrollBtnStyle, &T::SetScrollBtnStyle).Default(sbButton);
  p.Property("ScrollDelay", &T::ScrollDelay, &T::SetScrollDelay).Default(5);
  p.Property("SelectedButton", &T::SelectedButton, &T::SetSelectedButton).Default(-1);
  p.Property("SelectedFont", &T::SelectedFont, &T::SetSelectedFont);
  p.Property("SelectedItem", &T::SelectedItem, &T::SetSelectedItem).Default(-1);
  p.Property("SmoothScrolling", &T::SmoothScrolling, &T::SetSmoothScrolling).Default(1);
  p.Property("Spacing", &T::Spacing, &T::SetSpacing).Default(10);
  p.Property("StripAccChar", &T::StripAccChar, &T::SetStripAccChar).Default(1);
  p.Property("TopSpacing", &T::TopSpacing, &T::SetTopSpacing).Default(4);
  p.Property("WordWrap", &T::WordWrap, &T::SetWordWrap).Default(0);
  p.Event("OnChange", static_cast<TNotifyEvent T::*>(&T::OnChange), "TNotifyEvent");
  p.Event("OnChanging", static_cast<TNavBarChangingEvent T::*>(&T::OnChanging),
          "TNavBarChangingEvent");
  p.Event("OnGetImages", static_cast<TNavBarGetImagesEvent T::*>(&T::OnGetImages),
          "TNavBarGetImagesEvent");
  p.Event("OnItemClick", static_cast<TNotifyEvent T::*>(&T::OnItemClick), "TNotifyEvent");
  p.Event("OnItemTextChange", static_cast<TNotifyEvent T::*>(&T::OnItemTextChange), "TNotifyEvent");
  p.Event("OnItemTextClick", static_cast<TNotifyEvent T::*>(&T::OnItemTextClick), "TNotifyEvent");
}

BV_PUBLISH(TNavCaptionEdit, TCustomEdit) {}

void RegisterNavBarClasses() {
  RegisterClasses({TNavBar::StaticClass(), TNavBarItem::StaticClass()});
}

}  // namespace brevant
