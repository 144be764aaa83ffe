// TPanel, TImage, TNotebook/TPage, TSplitter and TScrollBox.
#include "controls/extctrls.h"

#include <algorithm>

#include "backend/codes.h"
#include "classes/rtti_builder.h"
#include "controls/stdctrls.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "graphics/picture.h"
#include "graphics/region.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"
#include "rtl/strutils.h"

namespace brevant {

// ---- TCustomPanel ----------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                   csOpaque,          csDoubleClicks, csReplicatable};
  width_ = 185;
  height_ = 41;
  color_ = clBtnFace;
  Brush()->SetColor(color_);
}

void TCustomPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (borderStyle_ != bsNone) params.ExStyle |= WS_EX_CLIENTEDGE;
}

Integer TCustomPanel::BorderSize() const {
  Integer size = borderWidth_;
  if (bevelOuter_ != bvNone) size += bevelWidth_;
  if (bevelInner_ != bvNone) size += bevelWidth_;
  return size;
}

TRect TCustomPanel::InnerRect() const {
  TRect r = GetClientRect();
  InflateRect(r, -BorderSize(), -BorderSize());
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

void TCustomPanel::Changed() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  Changed();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  Changed();
}

void TCustomPanel::SetBevelWidth(Integer value) {
  value = std::max<Integer>(value, 1);
  if (value == bevelWidth_) return;
  bevelWidth_ = value;
  Changed();
}

void TCustomPanel::SetBorderWidth(Integer value) {
  value = std::max<Integer>(value, 0);
  if (value == borderWidth_) return;
  borderWidth_ = value;
  Changed();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone) value = bsSingle;
  if (value == borderStyle_) return;
  borderStyle_ = value;
  if (!IsLoading()) RecreateWnd();
}

void TCustomPanel::SetParentBackground(bool value) {
  if (value == parentBackground_) return;
  parentBackground_ = value;
  Invalidate();
}

void TCustomPanel::AlignControls(TControl* control, TRect& rect) {
  InflateRect(rect, -BorderSize(), -BorderSize());
  if (rect.Right < rect.Left) rect.Right = rect.Left;
  if (rect.Bottom < rect.Top) rect.Bottom = rect.Top;
  TCustomControl::AlignControls(control, rect);
}

void TCustomPanel::CMTextChanged(TMessage& m) {
  TCustomControl::CMTextChanged(m);
  Invalidate();
}

void TCustomPanel::CMParentColorChanged(TMessage& m) {
  TCustomControl::CMParentColorChanged(m);
  if (parentBackground_) Invalidate();
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  const TColor back = parentBackground_ && Parent() ? Parent()->Color() : Color();
  auto bevel = [&](TRect& r, TBevelCut cut) {
    if (cut == bvNone) return;
    TColor top = back, bottom = back;
    if (cut == bvLowered) top = clBtnShadow, bottom = clBtnHighlight;
    if (cut == bvRaised) top = clBtnHighlight, bottom = clBtnShadow;
    Frame3D(c, r, top, bottom, bevelWidth_);
  };
  TRect r = ClientRect();
  bevel(r, bevelOuter_);
  Frame3D(c, r, back, back, borderWidth_);
  bevel(r, bevelInner_);
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(back);
  c->FillRect(r);
  if (Caption().empty()) return;
  Cardinal format = DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS;
  if (alignment_ == taCenter) format |= DT_CENTER;
  if (alignment_ == taRightJustify) format |= DT_RIGHT;
  c->SetFont(Font());
  DrawCaption(c, Caption(), r, format, Enabled());
}

// ---- TImage -----------------------------------------------------------------------------

TImage::TImage(TComponent* owner) : TGraphicControl(owner) {
  controlStyle_ += csReplicatable;
  picture_ = Create<TPicture>();
  picture_->OnChange = TNotifyEvent::Of<&TImage::PictureChanged>(this);
  width_ = 105;
  height_ = 105;
}

TImage::~TImage() {
  TObject::Free(picture_);
}

void TImage::Loaded() {
  TGraphicControl::Loaded();
  PictureChanged(picture_);
}

void TImage::SetPicture(TPicture* value) {
  picture_->Assign(value);
}

void TImage::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  Invalidate();
}

void TImage::SetStretch(bool value) {
  if (value == stretch_) return;
  stretch_ = value;
  Invalidate();
}

void TImage::SetProportional(bool value) {
  if (value == proportional_) return;
  proportional_ = value;
  Invalidate();
}

void TImage::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  PictureChanged(picture_);
}

void TImage::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  PictureChanged(picture_);
}

void TImage::PictureChanged(TObject*) {
  if (IsLoading() || IsDestroying()) return;
  TGraphic* g = picture_->Graphic();
  if (g && g->Transparent() != transparent_) {
    // Changing the graphic fires this again; the second call finds it set.
    g->SetTransparent(transparent_);
    return;
  }
  if (autoSize_ && g && !g->Empty()) SetBounds(left_, top_, g->Width(), g->Height());
  // A transparent picture lets the parent's pixels through.
  InvalidateControl(Visible(), false);
}

TRect TImage::DestRect() const {
  const Integer pw = picture_->Width(), ph = picture_->Height();
  const Integer cw = Width(), ch = Height();
  Integer w = pw, h = ph;
  if (pw <= 0 || ph <= 0) return Rect(0, 0, 0, 0);
  if (stretch_ || (proportional_ && (pw > cw || ph > ch))) {
    if (proportional_) {
      // The larger scale that fits both ways.
      if (Int64(cw) * ph <= Int64(ch) * pw) {
        w = cw;
        h = static_cast<Integer>(Int64(ph) * cw / pw);
      } else {
        h = ch;
        w = static_cast<Integer>(Int64(pw) * ch / ph);
      }
    } else {
      w = cw;
      h = ch;
    }
  }
  Integer x = 0, y = 0;
  if (center_) {
    x = (cw - w) / 2;
    y = (ch - h) / 2;
  }
  return Bounds(x, y, w, h);
}

void TImage::Paint() {
  TGraphic* g = picture_->Graphic();
  if (!g || g->Empty()) return;
  Canvas()->StretchDraw(DestRect(), g);
}

// ---- TPage / TNotebook --------------------------------------------------------------------

TPage::TPage(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  SetVisible(false);
  SetAlign(alClient);
  SetParentColor(true);
}

TNotebook* TPage::Notebook() const {
  return dynamic_cast<TNotebook*>(Parent());
}

Integer TPage::PageIndex() const {
  TNotebook* nb = Notebook();
  if (!nb) return -1;
  for (Integer i = 0; i < nb->PageCount(); ++i)
    if (nb->Pages(i) == this) return i;
  return -1;
}

void TPage::SetParent(TWinControl* value) {
  if (value == Parent()) return;
  if (TNotebook* old = Notebook()) old->RemovePage(this);
  TCustomControl::SetParent(value);
  if (TNotebook* now = Notebook()) now->InsertPage(this);
}

void TPage::Paint() {
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

TNotebook::TNotebook(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
  width_ = 150;
  height_ = 150;
  SetParentColor(true);
}

void TNotebook::BeforeDestruction() {
  // The pages go with the notebook's children.
  pages_.clear();
  pageIndex_ = -1;
  TCustomControl::BeforeDestruction();
}

void TNotebook::Loaded() {
  TCustomControl::Loaded();
  Integer index = loadedPageIndex_;
  loadedPageIndex_ = -1;
  pageIndex_ = -1;
  if (pages_.empty()) return;
  ShowPage(std::clamp<Integer>(index, 0, PageCount() - 1));
}

TPage* TNotebook::Pages(Integer index) const {
  if (index < 0 || index >= PageCount()) throw EListError(res::SListIndexError, {index});
  return pages_[static_cast<size_t>(index)];
}

Integer TNotebook::IndexOfPage(const String& name) const {
  for (Integer i = 0; i < PageCount(); ++i)
    if (SameText(pages_[static_cast<size_t>(i)]->Caption(), name)) return i;
  return -1;
}

TPage* TNotebook::AddPage(const String& caption) {
  auto* page = Create<TPage>(this);
  page->SetCaption(caption);
  page->SetParent(this);
  return page;
}

void TNotebook::InsertPage(TPage* page) {
  pages_.push_back(page);
  if (IsLoading() || page->IsLoading()) return;
  if (pageIndex_ < 0)
    ShowPage(0);
  else
    page->SetVisible(false);
}

void TNotebook::RemovePage(TPage* page) {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  if (it == pages_.end()) return;
  const Integer index = static_cast<Integer>(it - pages_.begin());
  pages_.erase(it);
  if (IsDestroying() || IsLoading()) return;
  if (index < pageIndex_) {
    --pageIndex_;
  } else if (index == pageIndex_) {
    pageIndex_ = -1;
    if (!pages_.empty()) ShowPage(std::min<Integer>(index, PageCount() - 1));
    OnPageChanged(this);
  }
}

void TNotebook::ShowPage(Integer index) {
  TPage* page = pages_[static_cast<size_t>(index)];
  pageIndex_ = index;
  page->SetVisible(true);
  for (TPage* other : pages_)
    if (other != page) other->SetVisible(false);
}

void TNotebook::SetPageIndex(Integer value) {
  if (IsLoading()) {
    loadedPageIndex_ = value;
    return;
  }
  if (value == pageIndex_) return;
  if (value < 0 || value >= PageCount()) throw EListError(res::SListIndexError, {value});
  ShowPage(value);
  OnPageChanged(this);
}

String TNotebook::ActivePage() const {
  if (pageIndex_ < 0 || pageIndex_ >= PageCount()) return String();
  return pages_[static_cast<size_t>(pageIndex_)]->Caption();
}

void TNotebook::SetActivePage(const String& value) {
  Integer index = IndexOfPage(value);
  if (index < 0) throw EListError(res::SNotebookPageNotFound, {value});
  SetPageIndex(index);
}

void TNotebook::Paint() {
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(ClientRect());
}

// ---- TSplitter --------------------------------------------------------------------------------

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
  controlStyle_ = {csCaptureMouse};
  width_ = 3;
  height_ = 100;
  SetAlign(alLeft);
  SetCursor(crHSplit);
  SetParentColor(true);
}

bool TSplitter::Horizontal() const {
  return Align() != alTop && Align() != alBottom;
}

void TSplitter::SetBeveled(bool value) {
  if (value == beveled_) return;
  beveled_ = value;
  Invalidate();
}

TControl* TSplitter::ResizeControl() const {
  TWinControl* p = Parent();
  if (!p) return nullptr;
  for (Integer i = 0; i < p->ControlCount(); ++i) {
    TControl* c = p->Controls(i);
    if (c == this || !c->Visible() || c->Align() != Align() || dynamic_cast<TSplitter*>(c))
      continue;
    bool adjacent = false;
    switch (Align()) {
      case alLeft:
        adjacent = c->Left() + c->Width() == Left();
        break;
      case alRight:
        adjacent = c->Left() == Left() + Width();
        break;
      case alTop:
        adjacent = c->Top() + c->Height() == Top();
        break;
      case alBottom:
        adjacent = c->Top() == Top() + Height();
        break;
      default:
        break;
    }
    if (adjacent) return c;
  }
  return nullptr;
}

Integer TSplitter::ClampSize(Integer size) const {
  size = std::min(size, maxSize_);
  return std::max(size, minSize_);
}

void TSplitter::ApplySize(Integer size) {
  if (!control_) return;
  if (Horizontal())
    control_->SetWidth(size);
  else
    control_->SetHeight(size);
}

TRect TSplitter::LineRect() const {
  if (!control_) return Rect(0, 0, 0, 0);
  switch (Align()) {
    case alLeft:
      return Bounds(control_->Left() + newSize_, Top(), Width(), Height());
    case alRight:
      return Bounds(control_->Left() + control_->Width() - newSize_ - Width(), Top(), Width(),
                    Height());
    case alTop:
      return Bounds(Left(), control_->Top() + newSize_, Width(), Height());
    case alBottom:
      return Bounds(Left(), control_->Top() + control_->Height() - newSize_ - Height(), Width(),
                    Height());
    default:
      return Rect(0, 0, 0, 0);
  }
}

// The drag line is inverted on the parent's pixels, over its child windows
// too, so drawing it twice erases it.
void TSplitter::ToggleLine() {
  TWinControl* p = Parent();
  if (!p || !p->HandleAllocated()) return;
  TCanvas* dc = brevant::GetDC(p->WindowHandle());
  if (!dc) return;
  const TPoint o = dc->Origin();
  const TRect client = p->ClientRect();
  dc->SetDeviceClip(TRegion(Rect(o.X, o.Y, o.X + client.Width(), o.Y + client.Height())));
  dc->InvertRect(LineRect());
  brevant::ReleaseDC(p->WindowHandle(), dc);
  lineVisible_ = !lineVisible_;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseDown(button, shift, x, y);
  if (button != mbLeft || control_) return;
  control_ = ResizeControl();
  if (!control_) return;
  downPos_ = {x + Left(), y + Top()};
  const bool horz = Horizontal();
  oldSize_ = horz ? control_->Width() : control_->Height();
  newSize_ = oldSize_;
  // The room the other controls on this axis leave, less MinSize for the rest.
  Integer used = 0;
  TWinControl* p = Parent();
  for (Integer i = 0; i < p->ControlCount(); ++i) {
    TControl* c = p->Controls(i);
    if (c == control_ || !c->Visible()) continue;
    if (horz && (c->Align() == alLeft || c->Align() == alRight)) used += c->Width();
    if (!horz && (c->Align() == alTop || c->Align() == alBottom)) used += c->Height();
  }
  maxSize_ = (horz ? p->ClientWidth() : p->ClientHeight()) - used - minSize_;
  if (maxSize_ < minSize_) maxSize_ = std::max(minSize_, oldSize_);
  if (resizeStyle_ == rsLine || resizeStyle_ == rsPattern) ToggleLine();
}

void TSplitter::MouseMove(TShiftState shift, Integer x, Integer y) {
  TGraphicControl::MouseMove(shift, x, y);
  if (!control_) return;
  const TPoint p{x + Left(), y + Top()};
  Integer delta = Horizontal() ? p.X - downPos_.X : p.Y - downPos_.Y;
  if (Align() == alRight || Align() == alBottom) delta = -delta;
  Integer size = ClampSize(oldSize_ + delta);
  bool accept = true;
  OnCanResize(this, size, accept);
  if (!accept || size == newSize_) return;
  const bool line = lineVisible_;
  if (line) ToggleLine();
  newSize_ = size;
  if (resizeStyle_ == rsUpdate) {
    ApplySize(size);
    if (TWinControl* parent = Parent()) parent->Update();
  }
  if (line) ToggleLine();
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  if (button == mbLeft && control_) {
    if (lineVisible_) ToggleLine();
    ApplySize(newSize_);
    const bool moved = newSize_ != oldSize_;
    control_ = nullptr;
    if (moved) OnMoved(this);
  }
  TGraphicControl::MouseUp(button, shift, x, y);
}

void TSplitter::Paint() {
  // The cursor follows the side the splitter is aligned to.
  if (Cursor() == crHSplit || Cursor() == crVSplit) SetCursor(Horizontal() ? crHSplit : crVSplit);
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  if (beveled_) Frame3D(c, r, clBtnHighlight, clBtnShadow, 1);
}

// ---- TScrollBox -------------------------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner) : TCustomControl(owner) {
  controlStyle_ = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
  width_ = 185;
  height_ = 41;
  SetParentColor(true);
}

void TScrollBox::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  params.Style |= WS_HSCROLL | WS_VSCROLL;
  if (borderStyle_ != bsNone) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::CreateWnd() {
  TCustomControl::CreateWnd();
  // The bars show only when the content needs them.
  TScrollInfo none;
  none.Mask = SIF_ALL;
  brevant::SetScrollInfo(handle_, SB_HORZ, none, false);
  brevant::SetScrollInfo(handle_, SB_VERT, none, false);
}

void TScrollBox::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone) value = bsSingle;
  if (value == borderStyle_) return;
  borderStyle_ = value;
  if (!IsLoading()) RecreateWnd();
}

TSize TScrollBox::ContentSize() const {
  TSize s(0, 0);
  for (Integer i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible() || c->Align() != alNone) continue;
    s.cx = std::max<Integer>(s.cx, c->Left() + c->Width() + pos_.X);
    s.cy = std::max<Integer>(s.cy, c->Top() + c->Height() + pos_.Y);
  }
  return s;
}

void TScrollBox::UpdateScrollBars() {
  if (!handle_ || updating_ || IsLoading() || IsDestroying()) return;
  {
    TTemporaryChange updating(updating_, true);
    // Showing one bar narrows the client area, which may call for the other.
    for (int pass = 0; pass < 3; ++pass) {
      const TRect before = GetClientRect();
      const TSize content = ContentSize();
      TScrollInfo h;
      h.Mask = SIF_RANGE | SIF_PAGE;
      h.Max = std::max<Integer>(content.cx - 1, 0);
      h.Page = static_cast<Cardinal>(before.Width());
      brevant::SetScrollInfo(handle_, SB_HORZ, h, true);
      TScrollInfo v;
      v.Mask = SIF_RANGE | SIF_PAGE;
      v.Max = std::max<Integer>(content.cy - 1, 0);
      v.Page = static_cast<Cardinal>(GetClientRect().Height());
      brevant::SetScrollInfo(handle_, SB_VERT, v, true);
      if (GetClientRect() == before) break;
    }
  }
  // A smaller content or a larger box may leave the position past the end.
  ScrollTo(pos_.X, pos_.Y);
}

void TScrollBox::ScrollTo(Integer x, Integer y) {
  const TSize content = ContentSize();
  const TRect client = GetClientRect();
  x = std::max<Integer>(0, std::min<Integer>(x, content.cx - client.Width()));
  y = std::max<Integer>(0, std::min<Integer>(y, content.cy - client.Height()));
  const Integer dx = pos_.X - x, dy = pos_.Y - y;
  if (dx != 0 || dy != 0) {
    pos_ = {x, y};
    ScrollChildren(dx, dy);
    Invalidate();
  }
  if (handle_) {
    brevant::SetScrollPos(handle_, SB_HORZ, pos_.X, true);
    brevant::SetScrollPos(handle_, SB_VERT, pos_.Y, true);
  }
}

void TScrollBox::ScrollInView(TControl* control) {
  if (!control || !ContainsControl(control) || control == this) return;
  TRect r = control->BoundsRect();
  for (TWinControl* p = control->Parent(); p && p != this; p = p->Parent())
    OffsetRect(r, p->Left(), p->Top());
  const TRect client = GetClientRect();
  Integer x = pos_.X, y = pos_.Y;
  if (r.Right > client.Right) x += r.Right - client.Right;
  if (r.Left - (x - pos_.X) < 0) x += r.Left - (x - pos_.X);
  if (r.Bottom > client.Bottom) y += r.Bottom - client.Bottom;
  if (r.Top - (y - pos_.Y) < 0) y += r.Top - (y - pos_.Y);
  ScrollTo(x, y);
}

void TScrollBox::AlignControls(TControl* control, TRect& rect) {
  TCustomControl::AlignControls(control, rect);
  UpdateScrollBars();
}

void TScrollBox::Paint() {
  Canvas()->Brush()->SetStyle(bsSolid);
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(Canvas()->ClipRect());
}

void TScrollBox::Scroll(Integer bar, Integer code, Integer trackPos) {
  const TRect client = GetClientRect();
  const bool vert = bar == SB_VERT;
  const Integer pos = vert ? pos_.Y : pos_.X;
  const Integer page = std::max<Integer>(vert ? client.Height() : client.Width(), 1);
  Integer next = pos;
  switch (code) {
    case SB_LINEUP:
      next -= increment_;
      break;
    case SB_LINEDOWN:
      next += increment_;
      break;
    case SB_PAGEUP:
      next -= page;
      break;
    case SB_PAGEDOWN:
      next += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      next = trackPos;
      break;
    case SB_TOP:
      next = 0;
      break;
    case SB_BOTTOM:
      next = 0x3FFFFFFF;
      break;
    default:
      return;
  }
  if (vert)
    ScrollTo(pos_.X, next);
  else
    ScrollTo(next, pos_.Y);
}

static Integer TrackPosition(HWND wnd, Integer bar) {
  TScrollInfo info;
  info.Mask = SIF_TRACKPOS;
  brevant::GetScrollInfo(wnd, bar, info);
  return info.TrackPos;
}

void TScrollBox::WMHScroll(TMessage& m) {
  Scroll(SB_HORZ, LoWord(m.WParam), TrackPosition(handle_, SB_HORZ));
  m.Result = 0;
}

void TScrollBox::WMVScroll(TMessage& m) {
  Scroll(SB_VERT, LoWord(m.WParam), TrackPosition(handle_, SB_VERT));
  m.Result = 0;
}

// Three lines per notch, vertically when the content is taller than the box,
// else sideways; a box that cannot scroll passes the wheel to its parent.
void TScrollBox::WMMouseWheel(TMessage& m) {
  const Integer delta = HiSmall(static_cast<std::intptr_t>(m.WParam));
  const Integer lines = -delta * 3 / WHEEL_DELTA;
  const TSize content = ContentSize();
  const TRect client = GetClientRect();
  const TPoint before = pos_;
  if (content.cy > client.Height())
    ScrollTo(pos_.X, pos_.Y + lines * increment_);
  else if (content.cx > client.Width())
    ScrollTo(pos_.X + lines * increment_, pos_.Y);
  if (pos_ == before) {
    TCustomControl::WMMouseWheel(m);
    return;
  }
  m.Result = 1;
}

void TScrollBox::KeyDown(Word& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  const Integer page = GetClientRect().Height();
  switch (key) {
    case VK_UP:
      ScrollTo(pos_.X, pos_.Y - increment_);
      break;
    case VK_DOWN:
      ScrollTo(pos_.X, pos_.Y + increment_);
      break;
    case VK_LEFT:
      ScrollTo(pos_.X - increment_, pos_.Y);
      break;
    case VK_RIGHT:
      ScrollTo(pos_.X + increment_, pos_.Y);
      break;
    case VK_PRIOR:
      ScrollTo(pos_.X, pos_.Y - page);
      break;
    case VK_NEXT:
      ScrollTo(pos_.X, pos_.Y + page);
      break;
    case VK_HOME:
      ScrollTo(shift.Contains(ssCtrl) ? 0 : pos_.X, 0);
      break;
    case VK_END:
      ScrollTo(pos_.X, 0x3FFFFFFF);
      break;
    default:
      return;
  }
  key = 0;
}

void TScrollBox::MouseDown(TMouseButton button, TShiftState shift, Integer x, Integer y) {
  // A click on the box's own background gives it the keyboard.
  if (button == mbLeft && !Focused() && CanFocus() && GetParentForm(this)) SetFocus();
  TCustomControl::MouseDown(button, shift, x, y);
}

void TScrollBox::WMGetDlgCode(TMessage& m) {
  m.Result = DLGC_WANTARROWS;
}

void TScrollBox::CMFocusChanged(TMessage& m) {
  auto* focused = reinterpret_cast<TControl*>(m.LParam);
  if (focused && focused != this && ContainsControl(focused)) ScrollInView(focused);
  TCustomControl::CMFocusChanged(m);
}

// ---- published tables ---------------------------------------------------------------------

BV_ENUM_INFO(TBevelCut, bvNone, bvLowered, bvRaised, bvSpace)
BV_ENUM_INFO(TResizeStyle, rsNone, rsLine, rsUpdate, rsPattern)

BV_PUBLISH(TCustomPanel, TCustomControl) {}

BV_PUBLISH(TPanel, TCustomPanel) {
  p.Property("Alignment", &TPanel::Alignment, &TPanel::SetAlignment).Default(taCenter);
  p.Property("BevelInner", &TPanel::BevelInner, &TPanel::SetBevelInner).Default(bvNone);
  p.Property("BevelOuter", &TPanel::BevelOuter, &TPanel::SetBevelOuter).Default(bvRaised);
  p.Property("BevelWidth", &TPanel::BevelWidth, &TPanel::SetBevelWidth).Default(1);
  p.Property("BorderStyle", &TPanel::BorderStyle, &TPanel::SetBorderStyle).Default(bsNone);
  p.Property("BorderWidth", &TPanel::BorderWidth, &TPanel::SetBorderWidth).Default(0);
  p.Property("Caption", &TPanel::Caption, &TPanel::SetCaption);
  p.Property("Color", &TPanel::Color, &TPanel::SetColor)
      .Type(TypeInfoTColor())
      .Stored(&TPanel::IsColorStored)
      .Default(clBtnFace);
  p.Property("ParentBackground", &TPanel::ParentBackground, &TPanel::SetParentBackground)
      .Default(0);
  p.Property("TabStop", &TPanel::TabStop, &TPanel::SetTabStop).Default(0);
}

BV_PUBLISH(TImage, TGraphicControl) {
  p.Property("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize).Default(0);
  p.Property("Center", &TImage::Center, &TImage::SetCenter).Default(0);
  p.Property("Picture", &TImage::Picture, &TImage::SetPicture);
  p.Property("Proportional", &TImage::Proportional, &TImage::SetProportional).Default(0);
  p.Property("Stretch", &TImage::Stretch, &TImage::SetStretch).Default(0);
  p.Property("Transparent", &TImage::Transparent, &TImage::SetTransparent).Default(0);
}

BV_PUBLISH(TPage, TCustomControl) {
  p.Property("Caption", &TPage::Caption, &TPage::SetCaption);
  p.Property("ParentColor", &TPage::ParentColor, &TPage::SetParentColor).Default(1);
}

BV_PUBLISH(TNotebook, TCustomControl) {
  p.Property("ActivePage", &TNotebook::ActivePage, &TNotebook::SetActivePage).Stored(false);
  p.Property("PageIndex", &TNotebook::PageIndex, &TNotebook::SetPageIndex).Default(0);
  p.Property("ParentColor", &TNotebook::ParentColor, &TNotebook::SetParentColor).Default(1);
  p.Property("TabStop", &TNotebook::TabStop, &TNotebook::SetTabStop).Default(0);
  p.Event("OnPageChanged", &TNotebook::OnPageChanged, "TNotifyEvent");
}

BV_PUBLISH(TSplitter, TGraphicControl) {
  p.Property("Align", &TSplitter::Align, &TSplitter::SetAlign).Default(alLeft);
  p.Property("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled).Default(0);
  p.Property("Cursor", &TSplitter::Cursor, &TSplitter::SetCursor)
      .Type(TypeInfoTCursor())
      .Default(crHSplit);
  p.Property("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize).Default(30);
  p.Property("ParentColor", &TSplitter::ParentColor, &TSplitter::SetParentColor).Default(1);
  p.Property("ResizeStyle", &TSplitter::ResizeStyle, &TSplitter::SetResizeStyle).Default(rsPattern);
  p.Event("OnCanResize", &TSplitter::OnCanResize, "TCanResizeEvent");
  p.Event("OnMoved", &TSplitter::OnMoved, "TNotifyEvent");
}

BV_PUBLISH(TScrollBox, TCustomControl) {
  p.Property("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle)
      .Default(bsSingle);
  p.Property("Increment", &TScrollBox::Increment, &TScrollBox::SetIncrement).Default(8);
  p.Property("ParentColor", &TScrollBox::ParentColor, &TScrollBox::SetParentColor).Default(1);
  p.Property("TabStop", &TScrollBox::TabStop, &TScrollBox::SetTabStop).Default(0);
}

}  // namespace brevant
