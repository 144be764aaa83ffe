// TToolBar, TToolButton, TStatusBar and its panels.
#include "controls/comctrls.h"

#include <algorithm>
#include <numeric>

#include "classes/rtti_builder.h"
#include "controls/forms.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/imagelist.h"
#include "graphics/pen_brush.h"
#include "rtl/resstrings.h"

namespace brevant {

namespace {
// Posted to a tool bar whose row no longer matches its children.
constexpr Cardinal kRelayoutMessage = WM_USER + 0x0B01;
constexpr Integer kRowTop = 2;
constexpr Integer kSeparatorWidth = 8;
}  // namespace

// ---- TToolButton --------------------------------------------------------------------------

TToolButton::TToolButton(TComponent* owner) : TGraphicControl(owner) {
  controlStyle_ = {csCaptureMouse, csSetCaption};
  width_ = 23;
  height_ = 22;
  SetParentColor(true);
}

TToolBar* TToolButton::ToolBar() const {
  return dynamic_cast<TToolBar*>(Parent());
}

void TToolButton::SetParent(TWinControl* value) {
  if (value == Parent()) return;
  if (auto* bar = dynamic_cast<TToolBar*>(value); bar && !IsLoading()) left_ = bar->RowEnd();
  TGraphicControl::SetParent(value);
  RelayoutBar();
}

void TToolButton::RelayoutBar() {
  if (TToolBar* bar = ToolBar(); bar && !IsLoading() && !bar->IsLoading()) bar->Realign();
}

void TToolButton::SetStyle(TToolButtonStyle value) {
  if (value == style_) return;
  style_ = value;
  if ((value == tbsSeparator || value == tbsDivider) && !IsLoading())
    SetBounds(left_, top_, kSeparatorWidth, height_);
  RelayoutBar();
  Invalidate();
}

void TToolButton::SetGrouped(bool value) {
  if (value == grouped_) return;
  grouped_ = value;
  if (down_) {
    // Joining a group where another button is down: this one wins.
    down_ = false;
    SetDown(true);
  }
}

void TToolButton::SetDown(bool value) {
  if (value == down_) return;
  down_ = value;
  if (value && grouped_ && style_ == tbsCheck) {
    if (TToolBar* bar = ToolBar())
      for (TToolButton* b : bar->GroupOf(this))
        if (b != this && b->down_) {
          b->down_ = false;
          b->Invalidate();
        }
  }
  Invalidate();
}

void TToolButton::SetImageIndex(Integer value) {
  if (value == imageIndex_) return;
  imageIndex_ = value;
  Invalidate();
}

void TToolButton::Click() {
  TGraphicControl::Click();
}

void TToolButton::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || !Enabled() || style_ == tbsSeparator || style_ == tbsDivider) return;
  press_.Begin();
  Invalidate();
}

void TToolButton::MouseMove(TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (press_.Move(PtInRect(ClientRect(), TPoint{x, y}))) Invalidate();
}

void TToolButton::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft && press_.End()) {
    const bool inside = PtInRect(ClientRect(), TPoint{x, y});
    if (inside && style_ == tbsCheck) {
      if (!grouped_)
        SetDown(!down_);
      else if (!down_)
        SetDown(true);
      else if (allowAllUp_)
        SetDown(false);
    }
    Invalidate();
    TAliveGuard alive(this);
    if (inside) Click();
    if (!alive.Alive()) return;
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TToolButton::CMMouseEnter(TMessage& m) {
  TGraphicControl::CMMouseEnter(m);
  mouseInControl_ = true;
  Invalidate();
}

void TToolButton::CMMouseLeave(TMessage& m) {
  TGraphicControl::CMMouseLeave(m);
  mouseInControl_ = false;
  Invalidate();
}

void TToolButton::CMTextChanged(TMessage& m) {
  TGraphicControl::CMTextChanged(m);
  if (TToolBar* bar = ToolBar(); bar && bar->ShowCaptions()) RelayoutBar();
}

void TToolButton::CMEnabledChanged(TMessage& m) {
  press_.End();
  TGraphicControl::CMEnabledChanged(m);
}

void TToolButton::Paint() {
  TCanvas* c = Canvas();
  TToolBar* bar = ToolBar();
  const bool flat = bar && bar->Flat();
  TRect r = ClientRect();
  if (style_ == tbsSeparator || style_ == tbsDivider) {
    if (style_ == tbsDivider || flat) {
      // An etched vertical line in the middle.
      const Integer x = r.Width() / 2 - 1;
      c->Brush()->SetColor(clBtnShadow);
      c->FillRect(Rect(x, r.Top, x + 1, r.Bottom));
      c->Brush()->SetColor(clBtnHighlight);
      c->FillRect(Rect(x + 1, r.Top, x + 2, r.Bottom));
    }
    return;
  }
  const bool down = press_.Pressed || down_;
  if (down_ && !press_.Pressed) {
    // A checked button shows a halftone face.
    for (Integer y = 1; y < r.Bottom - 1; ++y)
      for (Integer x = 1 + (y & 1); x < r.Right - 1; x += 2) c->SetPixels(x, y, clBtnHighlight);
  }
  TRect e = r;
  if (down)
    c->DrawEdge(e, flat ? BDR_SUNKENOUTER : EDGE_SUNKEN, BF_RECT);
  else if (!flat || (mouseInControl_ && Enabled()))
    c->DrawEdge(e, flat ? BDR_RAISEDINNER : EDGE_RAISED, BF_RECT);
  const Integer shift = down ? 1 : 0;
  TImageList* images = bar ? bar->Images() : nullptr;
  const bool hasImage = images && imageIndex_ >= 0 && imageIndex_ < images->Count();
  const bool showCaption = bar && bar->ShowCaptions() && !Caption().empty();
  c->SetFont(Font());
  Integer textHeight = showCaption ? c->TextHeight("0") : 0;
  if (hasImage) {
    const Integer contentHeight = images->Height() + (showCaption ? textHeight + 1 : 0);
    const Integer x = (r.Width() - images->Width()) / 2 + shift;
    const Integer y = (r.Height() - contentHeight) / 2 + shift;
    images->Draw(c, x, y, imageIndex_, Enabled());
    if (showCaption) {
      TRect t = Rect(0, y + images->Height() + 1, r.Width(), y + contentHeight);
      OffsetRect(t, shift, 0);
      DrawCaption(c, Caption(), t, DT_CENTER | DT_SINGLELINE, Enabled());
    }
  } else if (showCaption || !bar) {
    TRect t = r;
    OffsetRect(t, shift, shift);
    DrawCaption(c, Caption(), t, DT_CENTER | DT_VCENTER | DT_SINGLELINE, Enabled());
  }
}

// ---- TToolBar
// ------------------------------------------------------------------------------------

TToolBar::TToolBar(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  width_ = 150;
  height_ = buttonHeight_ + 2 * kRowTop;
  color_ = clBtnFace;
  Brush()->SetColor(color_);
  imageLink_ = Create<TChangeLink>();
  imageLink_->OnChange = TNotifyEvent::Of<&TToolBar::ImageListChange>(this);
  SetAlign(alTop);
}

TToolBar::~TToolBar() {
  TObject::Free(imageLink_);
}

void TToolBar::BeforeDestruction() {
  SetImages(nullptr);
  TCustomControl::BeforeDestruction();
}

void TToolBar::SetButtonWidth(Integer value) {
  value = std::max<Integer>(value, 1);
  if (value == buttonWidth_) return;
  buttonWidth_ = value;
  Realign();
}

void TToolBar::SetButtonHeight(Integer value) {
  value = std::max<Integer>(value, 1);
  if (value == buttonHeight_) return;
  buttonHeight_ = value;
  Realign();
}

void TToolBar::SetIndent(Integer value) {
  value = std::max<Integer>(value, 0);
  if (value == indent_) return;
  indent_ = value;
  Realign();
}

void TToolBar::SetFlat(bool value) {
  if (value == flat_) return;
  flat_ = value;
  Invalidate();
  for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

void TToolBar::SetShowCaptions(bool value) {
  if (value == showCaptions_) return;
  showCaptions_ = value;
  Realign();
  Invalidate();
}

void TToolBar::SetImages(TImageList* value) {
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
  if (!IsDestroying()) ImageListChange(nullptr);
}

void TToolBar::ImageListChange(TObject*) {
  Realign();
  for (Integer i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

void TToolBar::Notification(TComponent* component, TOperation operation) {
  TCustomControl::Notification(component, operation);
  if (operation == opRemove && component == images_) {
    images_ = nullptr;
    if (!IsDestroying()) ImageListChange(nullptr);
  }
}

std::vector<TControl*> TToolBar::RowOrder() const {
  std::vector<TControl*> order;
  for (Integer i = 0; i < ControlCount(); ++i) order.push_back(Controls(i));
  std::stable_sort(order.begin(), order.end(),
                   [](const TControl* a, const TControl* b) { return a->Left() < b->Left(); });
  return order;
}

Integer TToolBar::ButtonCount() const {
  Integer n = 0;
  for (Integer i = 0; i < ControlCount(); ++i)
    if (dynamic_cast<TToolButton*>(Controls(i))) ++n;
  return n;
}

TToolButton* TToolBar::Buttons(Integer index) const {
  Integer n = 0;
  for (TControl* c : RowOrder())
    if (auto* b = dynamic_cast<TToolButton*>(c)) {
      if (n == index) return b;
      ++n;
    }
  throw EListError(res::SListIndexError, {index});
}

std::vector<TToolButton*> TToolBar::GroupOf(const TToolButton* button) const {
  std::vector<TToolButton*> group;
  bool found = false;
  for (TControl* c : RowOrder()) {
    auto* b = dynamic_cast<TToolButton*>(c);
    if (b && b->style_ == tbsCheck && b->grouped_) {
      group.push_back(b);
      if (b == button) found = true;
      continue;
    }
    // Anything else ends a group.
    if (found) break;
    group.clear();
  }
  if (!found) group.clear();
  return group;
}

Integer TToolBar::RowEnd() const {
  Integer end = indent_;
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    end = std::max<Integer>(end, c->Left() + c->Width());
  }
  return end;
}

Integer TToolBar::ButtonWidthOf(const TToolButton* button) const {
  if (button->style_ == tbsSeparator || button->style_ == tbsDivider) return button->Width();
  Integer w = buttonWidth_;
  if (showCaptions_ && !button->Caption().empty()) {
    TCanvas* c = Canvas();
    c->SetFont(button->Font());
    TRect calc = Rect(0, 0, 0, 0);
    c->DrawText(button->Caption(), calc, DT_SINGLELINE | DT_CALCRECT);
    w = std::max<Integer>(w, calc.Width() + 8);
  }
  return w;
}

std::vector<TRect> TToolBar::Layout(const std::vector<TControl*>& order) const {
  std::vector<TRect> bounds;
  Integer x = indent_;
  Integer rowHeight = buttonHeight_;
  if (showCaptions_ && images_) rowHeight = std::max<Integer>(rowHeight, images_->Height() + 24);
  for (TControl* c : order) {
    if (!c->Visible()) {
      bounds.push_back(c->BoundsRect());
      continue;
    }
    if (auto* b = dynamic_cast<TToolButton*>(c)) {
      const Integer w = ButtonWidthOf(b);
      bounds.push_back(Bounds(x, kRowTop, w, rowHeight));
      x += w;
    } else {
      const Integer top = kRowTop + std::max<Integer>((rowHeight - c->Height()) / 2, 0);
      bounds.push_back(Bounds(x, top, c->Width(), c->Height()));
      x += c->Width();
    }
  }
  return bounds;
}

void TToolBar::AlignControls(TControl* control, TRect& rect) {
  const std::vector<TControl*> order = RowOrder();
  const std::vector<TRect> bounds = Layout(order);
  for (size_t i = 0; i < order.size(); ++i)
    if (order[i]->Align() == alNone && !(order[i]->BoundsRect() == bounds[i]))
      order[i]->SetBoundsRect(bounds[i]);
  TCustomControl::AlignControls(control, rect);
}

void TToolBar::Dispatch(TMessage& m) {
  if (m.Msg == kRelayoutMessage) {
    relayoutPosted_ = false;
    Realign();
    return;
  }
  TCustomControl::Dispatch(m);
}

void TToolBar::Paint() {
  TCanvas* c = Canvas();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(ClientRect());
  // A control placed at run time (or resized) waits for the next layout.
  if (!relayoutPosted_ && HandleAllocated()) {
    const std::vector<TControl*> order = RowOrder();
    const std::vector<TRect> bounds = Layout(order);
    for (size_t i = 0; i < order.size(); ++i)
      if (order[i]->Align() == alNone && !(order[i]->BoundsRect() == bounds[i])) {
        relayoutPosted_ = true;
        brevant::PostMessage(WindowHandle(), kRelayoutMessage);
        break;
      }
  }
}

// ---- TStatusPanel / TStatusPanels --------------------------------------------------------

void TStatusPanel::Assign(const TPersistent* source) {
  if (auto* s = dynamic_cast<const TStatusPanel*>(source)) {
    text_ = s->text_;
    width_ = s->width_;
    alignment_ = s->alignment_;
    bevel_ = s->bevel_;
    Changed(false);
    return;
  }
  TCollectionItem::Assign(source);
}

void TStatusPanel::SetText(const String& value) {
  if (value == text_) return;
  text_ = value;
  Changed(false);
}

void TStatusPanel::SetWidth(Integer value) {
  value = std::max<Integer>(value, 0);
  if (value == width_) return;
  width_ = value;
  Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
  if (value == bevel_) return;
  bevel_ = value;
  Changed(false);
}

TStatusPanels::TStatusPanels(TStatusBar* owner)
    : TOwnedCollection(owner, TStatusPanel::StaticClass()), statusBar_(owner) {
  SetPropName("Panels");
}

void TStatusPanels::Update(TCollectionItem*) {
  if (!statusBar_->IsDestroying()) statusBar_->Invalidate();
}

// ---- TStatusBar --------------------------------------------------------------------------------

TStatusBar::TStatusBar(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  width_ = 150;
  height_ = 19;
  color_ = clBtnFace;
  Brush()->SetColor(color_);
  panels_ = Create<TStatusPanels>(this);
  SetAlign(alBottom);
}

TStatusBar::~TStatusBar() {
  TObject::Free(panels_);
}

void TStatusBar::SetPanels(TStatusPanels* value) {
  panels_->Assign(value);
}

void TStatusBar::SetSimplePanel(bool value) {
  if (value == simplePanel_) return;
  simplePanel_ = value;
  Invalidate();
}

void TStatusBar::SetSimpleText(const String& value) {
  if (value == simpleText_) return;
  simpleText_ = value;
  if (simplePanel_) Invalidate();
}

void TStatusBar::SetSizeGrip(bool value) {
  if (value == sizeGrip_) return;
  sizeGrip_ = value;
  Invalidate();
}

bool TStatusBar::GripShown() const {
  if (!sizeGrip_ || !Parent()) return false;
  auto* form = dynamic_cast<TCustomForm*>(Parent());
  if (!form || (form->BorderStyle() != bsSizeable && form->BorderStyle() != bsSizeToolWin))
    return false;
  return Left() + Width() >= Parent()->ClientWidth() &&
         Top() + Height() >= Parent()->ClientHeight();
}

TRect TStatusBar::PanelRect(Integer index) const {
  const TRect client = ClientRect();
  const Integer right = client.Right - (GripShown() ? 12 : 0);
  if (simplePanel_ || panels_->Count() == 0) {
    if (index != 0) return Rect(0, 0, 0, 0);
    return Rect(0, 2, std::max<Integer>(right, 0), client.Bottom);
  }
  if (index < 0 || index >= panels_->Count()) return Rect(0, 0, 0, 0);
  Integer x = 0;
  for (Integer i = 0; i < index; ++i) x += panels_->Items(i)->Width();
  Integer w = index == panels_->Count() - 1 ? std::max<Integer>(right - x, 0)
                                            : panels_->Items(index)->Width();
  // Panels are two pixels apart.
  return Rect(x, 2, x + std::max<Integer>(w - 2, 0), client.Bottom);
}

void TStatusBar::DrawPanel(TCanvas* c, TRect rect, const String& text, TAlignment alignment,
                           TStatusPanelBevel bevel) {
  if (IsRectEmpty(rect)) return;
  TRect e = rect;
  if (bevel == pbLowered) c->DrawEdge(e, BDR_SUNKENOUTER, BF_RECT);
  if (bevel == pbRaised) c->DrawEdge(e, BDR_RAISEDINNER, BF_RECT);
  InflateRect(rect, -3, -1);
  Cardinal format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (alignment == taCenter) format |= DT_CENTER;
  if (alignment == taRightJustify) format |= DT_RIGHT;
  DrawCaption(c, text, rect, format, Enabled());
}

void TStatusBar::Paint() {
  TCanvas* c = Canvas();
  const TRect client = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(client);
  c->SetFont(Font());
  if (simplePanel_ || panels_->Count() == 0) {
    DrawPanel(c, PanelRect(0), simplePanel_ ? simpleText_ : String(), taLeftJustify,
              simplePanel_ ? pbLowered : pbNone);
  } else {
    for (Integer i = 0; i < panels_->Count(); ++i) {
      TStatusPanel* p = panels_->Items(i);
      DrawPanel(c, PanelRect(i), p->Text(), p->Alignment(), p->Bevel());
    }
  }
  if (GripShown()) {
    // Diagonal ridges in the bottom-right corner: shadow, shadow, highlight, gap.
    for (Integer dy = 0; dy < 12; ++dy)
      for (Integer dx = 0; dx < 12; ++dx) {
        const Integer d = dx + dy;  // distance from the corner along the diagonal
        if (d < 1 || d > 11) continue;
        const Integer phase = d % 4;
        if (phase == 0) continue;
        c->SetPixels(client.Right - 1 - dx, client.Bottom - 1 - dy,
                     phase == 3 ? clBtnHighlight : clBtnShadow);
      }
  }
}

// ---- published tables ---------------------------------------------------------------------

BV_ENUM_INFO(TToolButtonStyle, tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider)
BV_ENUM_INFO(TStatusPanelBevel, pbNone, pbLowered, pbRaised)

BV_PUBLISH(TToolButton, TGraphicControl) {
  p.Property("AllowAllUp", &TToolButton::AllowAllUp, &TToolButton::SetAllowAllUp).Default(0);
  p.Property("Caption", &TToolButton::Caption, &TToolButton::SetCaption);
  p.Property("Style", &TToolButton::Style, &TToolButton::SetStyle).Default(tbsButton);
  p.Property("Grouped", &TToolButton::Grouped, &TToolButton::SetGrouped).Default(0);
  p.Property("Down", &TToolButton::Down, &TToolButton::SetDown).Default(0);
  p.Property("ImageIndex", &TToolButton::ImageIndex, &TToolButton::SetImageIndex).Default(-1);
  p.Property("ParentColor", &TToolButton::ParentColor, &TToolButton::SetParentColor).Default(1);
}

BV_PUBLISH(TToolBar, TCustomControl) {
  p.Property("Align", &TToolBar::Align, &TToolBar::SetAlign).Default(alTop);
  p.Property("ButtonHeight", &TToolBar::ButtonHeight, &TToolBar::SetButtonHeight).Default(22);
  p.Property("ButtonWidth", &TToolBar::ButtonWidth, &TToolBar::SetButtonWidth).Default(23);
  p.Property("Color", &TToolBar::Color, &TToolBar::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TToolBar::IsColorStored)
      .Default(clBtnFace);
  p.Property("Flat", &TToolBar::Flat, &TToolBar::SetFlat).Default(0);
  p.Property("Images", &TToolBar::Images, &TToolBar::SetImages);
  p.Property("Indent", &TToolBar::Indent, &TToolBar::SetIndent).Default(0);
  p.Property("ShowCaptions", &TToolBar::ShowCaptions, &TToolBar::SetShowCaptions).Default(0);
}

BV_PUBLISH(TStatusPanel, TCollectionItem) {
  p.Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment)
      .Default(taLeftJustify);
  p.Property("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
  p.Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
  p.Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth).Default(50);
}

BV_PUBLISH_ABSTRACT(TStatusPanels, TOwnedCollection) {}

BV_PUBLISH(TStatusBar, TCustomControl) {
  p.Property("Align", &TStatusBar::Align, &TStatusBar::SetAlign).Default(alBottom);
  p.Property("Color", &TStatusBar::Color, &TStatusBar::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TStatusBar::IsColorStored)
      .Default(clBtnFace);
  p.Property("Panels", &TStatusBar::Panels, &TStatusBar::SetPanels);
  p.Property("SimplePanel", &TStatusBar::SimplePanel, &TStatusBar::SetSimplePanel).Default(0);
  p.Property("SimpleText", &TStatusBar::SimpleText, &TStatusBar::SetSimpleText);
  p.Property("SizeGrip", &TStatusBar::SizeGrip, &TStatusBar::SetSizeGrip).Default(1);
}

}  // namespace brevant
