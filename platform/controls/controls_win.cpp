// TWinControl: the window's life cycle, children, alignment and painting.
#include <algorithm>

#include "classes/rtti_builder.h"
#include "controls/controls.h"
#include "controls/controls_internal.h"
#include "controls/forms.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/font.h"
#include "graphics/pen_brush.h"
#include "rtl/resstrings.h"
#include "rtl/scope.h"

namespace brevant {

// ---- life cycle --------------------------------------------------------------------------------

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  brush_ = Create<TBrush>();
  brush_->SetColor(color_);
}

TWinControl::~TWinControl() {
  TObject::Free(brush_);
}

void TWinControl::BeforeDestruction() {
  Destroying();
  if (parent_) RemoveFocus(true);
  DestroyHandle();
  // Child controls go with their parent, whoever owns them; freeing one
  // takes it out of its owner as well.
  while (!controls_.empty()) {
    TControl* c = controls_.back();
    RemoveControl(c);
    c->Free();
  }
  TControl::BeforeDestruction();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  if (loadedTabOrder_ >= 0) {
    Integer order = loadedTabOrder_;
    loadedTabOrder_ = -1;
    SetTabOrder(order);
  }
  if (handle_) {
    // Bounds set while loading were only stored.
    settingBounds_ = true;
    brevant::SetWindowPos(handle_, 0, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
    settingBounds_ = false;
    UpdateBounds();
  } else if (parent_ && parent_->handle_) {
    CreateHandle();
  }
  Realign();
}

// ---- window
// ---------------------------------------------------------------------------------------

HWND TWinControl::Handle() {
  HandleNeeded();
  return handle_;
}

void TWinControl::HandleNeeded() {
  if (handle_) return;
  if (parent_) parent_->HandleNeeded();
  if (!handle_) CreateHandle();
}

void TWinControl::CreateParams(TCreateParams& params) {
  params.Caption = text_;
  params.Style = WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  if (controlStyle_.Contains(csAcceptsControls)) params.ExStyle |= WS_EX_CONTROLPARENT;
  if (Visible()) params.Style |= WS_VISIBLE;
  if (!Enabled()) params.Style |= WS_DISABLED;
  if (tabStop_) params.Style |= WS_TABSTOP;
  if (UseRightToLeftReading()) params.ExStyle |= WS_EX_RTLREADING;
  if (UseRightToLeftScrollBar()) params.ExStyle |= WS_EX_LEFTSCROLLBAR;
  params.X = left_;
  params.Y = top_;
  params.Width = width_;
  params.Height = height_;
  params.WndParent = parent_ ? parent_->handle_ : 0;
  params.ClassStyle = CS_HREDRAW | CS_VREDRAW;
  if (controlStyle_.Contains(csDoubleClicks)) params.ClassStyle |= CS_DBLCLKS;
  params.WinClassName = ClassName();
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
  handle_ = brevant::CreateWindowHandle(params, this);
}

void TWinControl::CreateWnd() {
  // Message loops reflect keys to controls and handle dialog keys first.
  SetMessagePreprocessor(&PreprocessControlMessage);
  TCreateParams params;
  CreateParams(params);
  if ((params.Style & WS_CHILD) && params.WndParent == 0)
    throw EInvalidOperation(res::SParentRequired, {Name().empty() ? String(ClassName()) : Name()});
  controlState_ += csCreating;
  {
    TScopeGuard created([this] { controlState_ -= csCreating; });
    CreateWindowHandle(params);
  }
  if (!handle_)
    throw EInvalidOperation(res::SWindowCreateFailed,
                            {Name().empty() ? String(ClassName()) : Name()});
  UpdateBounds();
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  for (TControl* c : std::vector<TControl*>(controls_)) {
    auto* w = dynamic_cast<TWinControl*>(c);
    if (w && !w->handle_ && !w->IsLoading() && w->parent_ == this) w->CreateHandle();
  }
  alignSizeKnown_ = false;
  Realign();
}

void TWinControl::DestroyWindowHandle() {
  controlState_ += csDestroyingHandle;
  // The handle is gone on every exit, also when a WM_DESTROY handler throws.
  TScopeGuard destroyed([this] {
    controlState_ -= csDestroyingHandle;
    handle_ = 0;
  });
  HWND h = handle_;
  if (h && brevant::IsWindow(h)) brevant::DestroyWindow(h);
}

void TWinControl::DestroyWnd() {
  DestroyWindowHandle();
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->DestroyHandle();
  DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  HWND focus = brevant::GetFocus();
  TWinControl* focused = nullptr;
  if (focus && (focus == handle_ || brevant::IsChild(handle_, focus))) focused = FindControl(focus);
  DestroyHandle();
  if (!parent_ || parent_->handle_) CreateHandle();
  if (focused && focused->handle_ && focused->CanFocus()) brevant::SetFocus(focused->handle_);
}

void TWinControl::UpdateBounds() {
  if (!handle_) return;
  TRect r = brevant::GetWindowRect(handle_);
  if (HWND p = brevant::GetParent(handle_); p && parent_) {
    TPoint tl = brevant::ScreenToClient(p, r.TopLeft());
    OffsetRect(r, tl.X - r.Left, tl.Y - r.Top);
  }
  left_ = r.Left;
  top_ = r.Top;
  width_ = r.Width();
  height_ = r.Height();
}

// ---- geometry
// ---------------------------------------------------------------------------------------

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  if (parent_) return parent_->Showing();
  return handle_ && brevant::IsWindowVisible(handle_);
}

TRect TWinControl::GetClientRect() const {
  if (handle_) return brevant::GetClientRect(handle_);
  return TControl::GetClientRect();
}

TPoint TWinControl::ClientOrigin() const {
  if (handle_) return brevant::ClientToScreen(handle_, {0, 0});
  return TControl::ClientOrigin();
}

void TWinControl::SetBounds(Integer left, Integer top, Integer width, Integer height) {
  width = std::max<Integer>(width, 0);
  height = std::max<Integer>(height, 0);
  if (!IsLoading()) ConstrainSize(width, height);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool sized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (IsLoading()) return;
  if (handle_) {
    {
      TTemporaryChange setting(settingBounds_, true);
      brevant::SetWindowPos(handle_, 0, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
    UpdateBounds();
  }
  BoundsChanged();
  if (sized) {
    Realign();
    Resize();
  }
  RequestAlign();
}

// ---- children
// -------------------------------------------------------------------------------------------

TControl* TWinControl::Controls(Integer index) const {
  if (index < 0 || index >= ControlCount()) throw EListError(res::SListIndexError, {index});
  return controls_[static_cast<size_t>(index)];
}

void TWinControl::InsertControl(TControl* control) {
  control->parent_ = this;
  controls_.push_back(control);
  auto* w = dynamic_cast<TWinControl*>(control);
  if (w) tabList_.push_back(w);
  if (!control->IsLoading()) {
    control->Perform(CM_PARENTCOLORCHANGED);
    control->Perform(CM_PARENTFONTCHANGED);
    control->Perform(CM_PARENTSHOWHINTCHANGED);
    control->Perform(CM_PARENTBIDIMODECHANGED);
  }
  if (w) {
    if (w->handle_) {
      if (handle_) {
        // The window moves along, at the control's position in the new parent.
        brevant::SetParent(w->handle_, handle_);
        w->settingBounds_ = true;
        brevant::SetWindowPos(w->handle_, HWND_TOP, w->left_, w->top_, w->width_, w->height_,
                              SWP_NOACTIVATE);
        w->settingBounds_ = false;
        w->UpdateBounds();
      } else {
        w->DestroyHandle();
      }
    } else if (handle_ && !w->IsLoading()) {
      w->CreateHandle();
    }
  } else {
    control->Invalidate();
  }
  if (control->align_ != alNone) Realign();
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  if (auto* w = dynamic_cast<TWinControl*>(control)) {
    w->RemoveFocus(true);
    auto t = std::find(tabList_.begin(), tabList_.end(), w);
    if (t != tabList_.end()) tabList_.erase(t);
  } else {
    control->Invalidate();
    if (detail::g_captureControl == control) SetCaptureControl(nullptr);
  }
  it = std::find(controls_.begin(), controls_.end(), control);
  if (it != controls_.end()) controls_.erase(it);
  control->parent_ = nullptr;
  if (control->align_ != alNone && !IsDestroying()) Realign();
}

void TWinControl::SetParent(TWinControl* value) {
  TWinControl* old = parent_;
  TControl::SetParent(value);
  if (old && !parent_ && handle_) DestroyHandle();
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->parent_)
    if (c == this) return true;
  return false;
}

TControl* TWinControl::ControlAtPos(TPoint pos, bool allowDisabled, bool allWindows) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!allWindows && dynamic_cast<TWinControl*>(c)) continue;
    const bool visible =
        c->visible_ || (c->IsDesigning() && !c->controlStyle_.Contains(csNoDesignVisible));
    if (!visible || (!allowDisabled && !c->enabled_)) continue;
    if (!PtInRect(c->BoundsRect(), pos)) continue;
    TPoint local{pos.X - c->left_, pos.Y - c->top_};
    if (c->Perform(CM_HITTEST, 0, PointToLParam(local)) != 0) return c;
  }
  return nullptr;
}

void TWinControl::Broadcast(TMessage& message) {
  TAliveGuard alive(this);
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
    c->WndProc(message);
    if (message.Result != 0 || !alive.Alive()) return;
  }
}

void TWinControl::NotifyControls(Cardinal msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  Broadcast(m);
}

// ---- alignment
// -------------------------------------------------------------------------------------------

void TWinControl::EnableAlign() {
  if (alignDisabled_ > 0) --alignDisabled_;
  if (alignDisabled_ == 0 && controlState_.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
  if (alignDisabled_ > 0 || aligning_ > 0 || IsLoading() || IsDestroying()) {
    if (alignDisabled_ > 0 || IsLoading()) controlState_ += csAlignmentNeeded;
    return;
  }
  controlState_ -= csAlignmentNeeded;
  ++aligning_;
  TScopeGuard aligned([this] { --aligning_; });
  TRect r = GetClientRect();
  AlignControls(nullptr, r);
}

void TWinControl::AlignControls(TControl* control, TRect& rect) {
  TSize now(rect.Width(), rect.Height());
  if (alignSizeKnown_ && !(now == alignSize_))
    ApplyAnchors(now.cx - alignSize_.cx, now.cy - alignSize_.cy);
  alignSize_ = now;
  alignSizeKnown_ = true;
  for (TAlign a : {alTop, alBottom, alLeft, alRight, alClient}) DoAlign(a, control, rect);
}

void TWinControl::ApplyAnchors(Integer dw, Integer dh) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (c->align_ != alNone) continue;
    TAnchors a = c->anchors_;
    if (a == TAnchors{akLeft, akTop}) continue;
    Integer l = c->left_, t = c->top_, w = c->width_, h = c->height_;
    if (a.Contains(akRight)) {
      if (a.Contains(akLeft))
        w += dw;
      else
        l += dw;
    } else if (!a.Contains(akLeft)) {
      l += dw / 2;
    }
    if (a.Contains(akBottom)) {
      if (a.Contains(akTop))
        h += dh;
      else
        t += dh;
    } else if (!a.Contains(akTop)) {
      t += dh / 2;
    }
    c->SetBounds(l, t, w, h);
  }
}

void TWinControl::DoAlign(TAlign align, TControl* control, TRect& rect) {
  std::vector<TControl*> list;
  for (TControl* c : controls_) {
    if (c->align_ != align) continue;
    if (c->visible_ || (c->IsDesigning() && !c->controlStyle_.Contains(csNoDesignVisible)))
      list.push_back(c);
  }
  if (list.empty()) return;
  auto key = [align](const TControl* c) -> Integer {
    switch (align) {
      case alTop:
        return c->top_;
      case alBottom:
        return -(c->top_ + c->height_);
      case alLeft:
        return c->left_;
      case alRight:
        return -(c->left_ + c->width_);
      default:
        return 0;
    }
  };
  // Controls keep their order by position; the control being moved wins a tie.
  std::stable_sort(list.begin(), list.end(), [&](const TControl* a, const TControl* b) {
    Integer ka = key(a), kb = key(b);
    if (ka != kb) return ka < kb;
    return a == control && b != control;
  });
  for (TControl* c : list) {
    Integer w = c->width_, h = c->height_;
    const Integer rw = std::max<Integer>(rect.Width(), 0);
    const Integer rh = std::max<Integer>(rect.Height(), 0);
    switch (align) {
      case alTop:
        w = rw;
        c->ConstrainSize(w, h);
        c->SetBounds(rect.Left, rect.Top, w, h);
        rect.Top += c->height_;
        break;
      case alBottom:
        w = rw;
        c->ConstrainSize(w, h);
        c->SetBounds(rect.Left, rect.Bottom - h, w, h);
        rect.Bottom -= c->height_;
        break;
      case alLeft:
        h = rh;
        c->ConstrainSize(w, h);
        c->SetBounds(rect.Left, rect.Top, w, h);
        rect.Left += c->width_;
        break;
      case alRight:
        h = rh;
        c->ConstrainSize(w, h);
        c->SetBounds(rect.Right - w, rect.Top, w, h);
        rect.Right -= c->width_;
        break;
      case alClient:
        w = rw;
        h = rh;
        c->ConstrainSize(w, h);
        c->SetBounds(rect.Left, rect.Top, w, h);
        break;
      default:
        break;
    }
  }
}

// ---- painting
// ---------------------------------------------------------------------------------------------

void TWinControl::Invalidate() {
  if (handle_) brevant::InvalidateRect(handle_, nullptr, !controlStyle_.Contains(csOpaque));
}

void TWinControl::Update() {
  if (handle_) brevant::UpdateWindow(handle_);
}

void TWinControl::PaintWindow(TCanvas*) {}

void TWinControl::PaintControls(TCanvas* canvas, const TRect& paintRect) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (dynamic_cast<TWinControl*>(c)) continue;
    if (!c->visible_ && !(c->IsDesigning() && !c->controlStyle_.Contains(csNoDesignVisible)))
      continue;
    TRect r;
    if (!IntersectRect(r, c->BoundsRect(), paintRect)) continue;
    const Integer saved = canvas->SaveDC();
    TScopeGuard restore([canvas, saved] { canvas->RestoreDC(saved); });
    TPoint o = canvas->Origin();
    canvas->SetOrigin({o.X + c->left_, o.Y + c->top_});
    canvas->IntersectClipRect(Rect(0, 0, c->width_, c->height_));
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(canvas), 0);
  }
}

void TWinControl::PaintHandler(TMessage& m) {
  if (m.WParam != 0) {
    // Painting into a canvas someone else prepared (client coordinates).
    auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
    PaintWindow(canvas);
    PaintControls(canvas, canvas->ClipRect());
    return;
  }
  if (!handle_) return;
  TPaintStruct ps;
  TCanvas* canvas = brevant::BeginPaint(handle_, ps);
  struct TEndPaint {
    HWND h;
    const TPaintStruct& ps;
    ~TEndPaint() { brevant::EndPaint(h, ps); }
  } end{handle_, ps};
  if (!canvas) return;
  if (ps.Erase && !controlStyle_.Contains(csOpaque)) {
    canvas->Brush()->Assign(brush_);
    canvas->FillRect(ps.PaintRect);
  }
  PaintWindow(canvas);
  PaintControls(canvas, ps.PaintRect);
}

void TWinControl::WMPaint(TMessage& m) {
  PaintHandler(m);
}

// WParam: the paint canvas. The background is the Brush; opaque controls
// paint all of it themselves.
void TWinControl::WMEraseBkgnd(TMessage& m) {
  auto* canvas = reinterpret_cast<TCanvas*>(m.WParam);
  if (canvas && !controlStyle_.Contains(csOpaque)) {
    canvas->Brush()->Assign(brush_);
    canvas->FillRect(canvas->ClipRect());
  }
  m.Result = 1;
}

// ---- window messages
// -----------------------------------------------------------------------------------

void TWinControl::DefaultHandler(TMessage& m) {
  if (handle_) {
    m.Result = brevant::DefWindowProc(handle_, m.Msg, m.WParam, m.LParam);
    return;
  }
  // Before CreateWindowHandle answers, the window is not known yet.
  m.Result = m.Msg == WM_NCCREATE ? 1 : 0;
}

void TWinControl::WMSize(TMessage& m) {
  if (settingBounds_ || controlState_.Contains(csCreating)) {
    DefaultHandler(m);
    return;
  }
  Integer ow = width_, oh = height_;
  UpdateBounds();
  DefaultHandler(m);
  if (IsLoading() || !handle_) return;
  Realign();
  if (ow != width_ || oh != height_) Resize();
}

void TWinControl::WMMove(TMessage& m) {
  if (!settingBounds_ && !controlState_.Contains(csCreating)) UpdateBounds();
  DefaultHandler(m);
}

void TWinControl::WMWindowPosChanged(TMessage& m) {
  DefaultHandler(m);
}

void TWinControl::WMDestroy(TMessage& m) {
  DefaultHandler(m);
}

void TWinControl::WMNCDestroy(TMessage& m) {
  DefaultHandler(m);
  handle_ = 0;
}

void TWinControl::WMTimer(TMessage& m) {
  DefaultHandler(m);
}
void TWinControl::WMVScroll(TMessage& m) {
  DefaultHandler(m);
}
void TWinControl::WMHScroll(TMessage& m) {
  DefaultHandler(m);
}
void TWinControl::WMMouseWheel(TMessage& m) {
  DefaultHandler(m);
}
void TWinControl::WMNCHitTest(TMessage& m) {
  DefaultHandler(m);
}
void TWinControl::WMNCCalcSize(TMessage& m) {
  DefaultHandler(m);
}
void TWinControl::WMNCPaint(TMessage& m) {
  DefaultHandler(m);
}

void TWinControl::WMSetCursor(TMessage& m) {
  // Screen.Cursor overrides every control's cursor.
  if (detail::g_screenCursor != crDefault) {
    brevant::SetCursor(detail::g_screenCursor);
    m.Result = 1;
    return;
  }
  // WParam: the window under the pointer; low word of LParam: the hit test.
  if (static_cast<HWND>(m.WParam) == handle_ && LoSmall(m.LParam) == HTCLIENT) {
    TControl* c = this;
    if (TControl* g = ControlAtPos(ScreenToClient(brevant::GetCursorPos()), false)) c = g;
    if (c->Cursor() != crDefault) {
      brevant::SetCursor(c->Cursor());
      m.Result = 1;
      return;
    }
  }
  DefaultHandler(m);
}

// ---- component messages
// -----------------------------------------------------------------------------------

void TWinControl::CMEnabledChanged(TMessage& m) {
  if (!Enabled() && parent_) RemoveFocus(false);
  if (handle_) brevant::EnableWindow(handle_, Enabled());
  TControl::CMEnabledChanged(m);
}

void TWinControl::CMVisibleChanged(TMessage& m) {
  if (Visible()) {
    if (!handle_ && !IsLoading() && (!parent_ || parent_->handle_)) CreateHandle();
    if (handle_) brevant::ShowWindow(handle_, parent_ ? SW_SHOWNA : SW_SHOW);
  } else {
    if (parent_) RemoveFocus(false);
    if (handle_) brevant::ShowWindow(handle_, SW_HIDE);
  }
  TControl::CMVisibleChanged(m);
}

void TWinControl::CMColorChanged(TMessage& m) {
  brush_->SetColor(color_);
  NotifyControls(CM_PARENTCOLORCHANGED);
  TControl::CMColorChanged(m);
}

void TWinControl::CMFontChanged(TMessage& m) {
  NotifyControls(CM_PARENTFONTCHANGED);
  TControl::CMFontChanged(m);
}

void TWinControl::CMTextChanged(TMessage& m) {
  TControl::CMTextChanged(m);
}

void TWinControl::CMShowHintChanged(TMessage& m) {
  NotifyControls(CM_PARENTSHOWHINTCHANGED);
  TControl::CMShowHintChanged(m);
}

void TWinControl::CMBiDiModeChanged(TMessage& m) {
  NotifyControls(CM_PARENTBIDIMODECHANGED);
  if (handle_) {
    constexpr Cardinal bits = WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    Cardinal ex = brevant::GetWindowLong(handle_, GWL_EXSTYLE) & ~bits;
    if (UseRightToLeftReading()) ex |= WS_EX_RTLREADING;
    if (UseRightToLeftScrollBar()) ex |= WS_EX_LEFTSCROLLBAR;
    brevant::SetWindowLong(handle_, GWL_EXSTYLE, ex);
    // The scroll bar changes sides: the frame is computed again.
    brevant::SetWindowPos(
        handle_, 0, 0, 0, 0, 0,
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
  }
  TControl::CMBiDiModeChanged(m);
}

void TWinControl::SetImeMode(TImeMode value) {
  if (value == imeMode_) return;
  imeMode_ = value;
  UpdateImeHints();
}

void TWinControl::SetImeName(const String& value) {
  if (value == imeName_) return;
  imeName_ = value;
  UpdateImeHints();
}

void TWinControl::SetImeCompositionPos(TPoint value) {
  imePos_ = value;
  UpdateImeHints();
}

void TWinControl::UpdateImeHints() {
  if (handle_ && Focused()) SetTextInputHints(handle_, imeMode_, imeName_, imePos_);
}

void TWinControl::CMCursorChanged(TMessage& m) {
  TControl::CMCursorChanged(m);
}

// ---- published tables
// -------------------------------------------------------------------------------------

BV_ENUM_INFO(TImeMode, imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata,
             imKata, imChinese, imSHanguel, imHanguel)

BV_PUBLISH(TWinControl, TControl) {
  p.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1);
  p.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(0);
  p.Property("ImeMode", &TWinControl::ImeMode, &TWinControl::SetImeMode).Default(imDontCare);
  p.Property("ImeName", &TWinControl::ImeName, &TWinControl::SetImeName);
  p.Event("OnEnter", &TWinControl::OnEnter, "TNotifyEvent");
  p.Event("OnExit", &TWinControl::OnExit, "TNotifyEvent");
  p.Event("OnKeyDown", &TWinControl::OnKeyDown, "TKeyEvent");
  p.Event("OnKeyPress", &TWinControl::OnKeyPress, "TKeyPressEvent");
  p.Event("OnKeyUp", &TWinControl::OnKeyUp, "TKeyEvent");
}

void TWinControl::ScrollChildren(Integer dx, Integer dy) {
  if (!dx && !dy) return;
  DisableAlign();
  {
    // Realigning may throw, which a destructor must not: on failure the
    // guard hands that to the application's handler, and the first error
    // goes on.
    TScopeGuard enable([this] { CallHandlingExceptions(this, [this] { EnableAlign(); }); });
    for (TControl* c : std::vector<TControl*>(controls_)) {
      if (c->Align() != alNone) continue;
      c->SetBounds(c->Left() + dx, c->Top() + dy, c->Width(), c->Height());
    }
    enable.Dismiss();
  }
  EnableAlign();
}

}  // namespace brevant
