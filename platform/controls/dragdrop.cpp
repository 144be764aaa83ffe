// The drag manager, drag objects and drag images.
#include "controls/dragdrop.h"

#include <cstdlib>
#include <memory>

#include "classes/rtti_builder.h"
#include "controls/application.h"
#include "controls/wincore.h"
#include "graphics/canvas.h"
#include "graphics/pen_brush.h"

namespace brevant {
namespace detail {

// The pop-up that shows the dragged image; clicks pass through it.
class TDragImageWindow : public TCustomControl {
  BV_CLASS(TDragImageWindow, TCustomControl)
 public:
  explicit TDragImageWindow(TComponent* owner) : TCustomControl(owner) { SetVisible(false); }
  TDragImageList* Images = nullptr;

 protected:
  void CreateParams(TCreateParams& params) override {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT;
    params.WndParent = 0;
  }
  void Paint() override {
    Canvas()->Brush()->SetColor(clWindow);
    Canvas()->FillRect(ClientRect());
    if (Images) Images->Draw(Canvas(), 0, 0, Images->DragIndex());
  }
  void WMNCHitTest(TMessage& m) override { m.Result = HTTRANSPARENT; }
};

}  // namespace detail

BV_IMPLEMENT_CLASS(detail::TDragImageWindow, TCustomControl)

// ---- TDragImageList
// -------------------------------------------------------------------------------

void TDragImageList::BeforeDestruction() {
  EndDrag();
  TImageList::BeforeDestruction();
}

void TDragImageList::SetDragImage(Integer index, Integer hotSpotX, Integer hotSpotY) {
  dragIndex_ = index;
  hotSpot_ = {hotSpotX, hotSpotY};
}

void TDragImageList::BeginDrag(TPoint screenPos) {
  if (!window_) {
    auto* w = Create<detail::TDragImageWindow>(nullptr);
    w->Images = this;
    w->SetBounds(0, 0, Width(), Height());
    window_ = w;
  }
  DragMove(screenPos);
}

void TDragImageList::DragMove(TPoint screenPos) {
  if (!window_) return;
  window_->HandleNeeded();
  brevant::SetWindowPos(window_->Handle(), HWND_TOPMOST, screenPos.X - hotSpot_.X,
                        screenPos.Y - hotSpot_.Y, Width(), Height(),
                        SWP_NOACTIVATE | SWP_SHOWWINDOW);
  window_->SetBounds(screenPos.X - hotSpot_.X, screenPos.Y - hotSpot_.Y, Width(), Height());
}

void TDragImageList::HideDragImage() {
  if (window_ && window_->HandleAllocated()) brevant::ShowWindow(window_->WindowHandle(), SW_HIDE);
}

void TDragImageList::ShowDragImage() {
  if (window_ && window_->HandleAllocated())
    brevant::ShowWindow(window_->WindowHandle(), SW_SHOWNA);
}

void TDragImageList::EndDrag() {
  if (!window_) return;
  TWinControl* w = window_;
  window_ = nullptr;
  w->Free();
}

BV_PUBLISH(TDragImageList, TImageList) {}

// ---- drag objects
// --------------------------------------------------------------------------------

TCursor TDragObject::GetDragCursor(bool accepted, Integer, Integer) {
  return accepted ? TCursor(crDrag) : TCursor(crNoDrop);
}

void TDragObject::Finished(TObject*, Integer, Integer, bool) {}

TCursor TDragControlObject::GetDragCursor(bool accepted, Integer, Integer) {
  return accepted ? control_->DragCursor() : TCursor(crNoDrop);
}

TDragImageList* TDragControlObject::GetDragImages() {
  return control_->GetDragImages();
}

void TDragControlObject::Finished(TObject* target, Integer x, Integer y, bool accepted) {
  if (!accepted) control_->DragCanceledBy();
  control_->EndDragBy(target, x, y);
}

BV_IMPLEMENT_ABSTRACT_CLASS(TDragObject, TObject)
BV_IMPLEMENT_ABSTRACT_CLASS(TDragControlObject, TDragObject)

// ---- the drag manager
// -----------------------------------------------------------------------------

class TDragManager {
 public:
  TControl* Source = nullptr;
  TDragObject* Object = nullptr;
  std::unique_ptr<TDragControlObject> OwnObject;
  bool Pending = false;  // waiting for the threshold
  bool Active = false;
  TPoint StartPos;
  Integer Threshold = 5;
  bool Accepted = false;
  TDragImageList* Images = nullptr;
  HWND Capture = 0;
  bool EatRightUp = false;  // a right press cancelled the drag: its release is the drag's too

  void Start();
  void MoveTo(TPoint pos);
  void Finish(bool drop);
  LRESULT Send(TControl* target, TDragMessage msg, TPoint pos, TDragObject* object = nullptr);
  void Reset();
};

namespace {
TDragManager g_drag;

HWND CaptureWindowOf(TControl* c) {
  for (TControl* p = c; p; p = p->Parent())
    if (auto* w = dynamic_cast<TWinControl*>(p); w && w->HandleAllocated())
      return w->WindowHandle();
  return 0;
}
}  // namespace

LRESULT TDragManager::Send(TControl* target, TDragMessage msg, TPoint pos, TDragObject* object) {
  if (!target) return 0;
  TDragRec rec;
  rec.Pos = pos;
  rec.Source = object ? object : Object;
  rec.Target = target;
  return target->Perform(CM_DRAG, msg, reinterpret_cast<LPARAM>(&rec));
}

void TDragManager::Start() {
  Pending = false;
  Active = true;
  TDragObject* obj = nullptr;
  Source->StartDragBy(obj);
  if (!g_drag.Active) return;  // the handler cancelled
  if (!obj) {
    OwnObject = std::make_unique<TDragControlObject>(Source);
    obj = OwnObject.get();
  }
  Object = obj;
  Images = obj->GetDragImages();
  if (Images && Source->ControlStyle().Contains(csDisplayDragImage))
    Images->BeginDrag(StartPos);
  else
    Images = nullptr;
  MoveTo(brevant::GetCursorPos());
}

void TDragManager::MoveTo(TPoint pos) {
  if (Images) Images->HideDragImage();
  TControl* target = FindDragTarget(pos, false);
  if (Images) {
    Images->DragMove(pos);
    Images->ShowDragImage();
  }
  if (!Active) return;
  if (target != Object->dragTarget_) {
    TControl* old = Object->dragTarget_;
    if (old) Send(old, dmDragLeave, pos);
    Object->dragTarget_ = target;
    Object->dragPos_ = pos;
    if (target) Send(target, dmDragEnter, pos);
    if (!Active) return;
  }
  Object->dragPos_ = pos;
  Accepted = false;
  if (Object->dragTarget_) {
    Object->dragTargetPos_ = Object->dragTarget_->ScreenToClient(pos);
    Accepted = Send(Object->dragTarget_, dmDragMove, pos) != 0;
  }
  if (!Active) return;
  TPoint tp = Object->dragTargetPos_;
  brevant::SetCursor(Object->GetDragCursor(Accepted, tp.X, tp.Y));
}

void TDragManager::Finish(bool drop) {
  if (!Active) {
    Reset();
    return;
  }
  TDragObject* obj = Object;
  TControl* target = obj->dragTarget_;
  TPoint pos = obj->dragPos_;
  TPoint tp = target ? target->ScreenToClient(pos) : TPoint{0, 0};
  const bool accepted = drop && target && Accepted;
  obj->cancelling_ = !drop;
  std::unique_ptr<TDragControlObject> own = std::move(OwnObject);
  TDragImageList* images = Images;
  HWND capture = Capture;
  TControl* source = Source;
  // The drag is over before any handler runs: handlers see Dragging() false.
  Active = false;
  Object = nullptr;
  Images = nullptr;
  Source = nullptr;
  Capture = 0;
  if (images) images->EndDrag();
  if (capture && brevant::GetCapture() == capture) brevant::ReleaseCapture();
  brevant::SetCursor(crDefault);
  // The press that started the drag ends with it (a button shows up again).
  if (source) source->Perform(WM_CANCELMODE);
  if (target) {
    if (accepted) {
      obj->dropped_ = true;
      Send(target, dmDragDrop, pos, obj);
    } else {
      Send(target, dmDragLeave, pos, obj);
      if (!drop) Send(target, dmDragCancel, pos, obj);
    }
  }
  obj->Finished(accepted ? target : nullptr, accepted ? tp.X : 0, accepted ? tp.Y : 0, accepted);
}

void TDragManager::Reset() {
  Active = Pending = false;
  Source = nullptr;
  Object = nullptr;
  OwnObject.reset();
  if (Images) Images->EndDrag();
  Images = nullptr;
  if (Capture && brevant::GetCapture() == Capture) brevant::ReleaseCapture();
  Capture = 0;
}

TDragObject* DragObject() {
  return g_drag.Active ? g_drag.Object : nullptr;
}

TControl* DragSource() {
  return g_drag.Active || g_drag.Pending ? g_drag.Source : nullptr;
}

bool Dragging() {
  return g_drag.Active;
}

void CancelDrag() {
  if (g_drag.Active)
    g_drag.Finish(false);
  else if (g_drag.Pending)
    g_drag.Reset();
}

TObject* DragSourceOf(TDragObject* object) {
  if (auto* c = dynamic_cast<TDragControlObject*>(object)) return c->Control();
  return object;
}

TControl* FindDragTarget(TPoint screenPos, bool allowDisabled) {
  TWinControl* w = FindControl(brevant::WindowFromPoint(screenPos));
  if (!w) return nullptr;
  TDragRec rec;
  rec.Pos = screenPos;
  rec.Source = g_drag.Object;
  auto* t = reinterpret_cast<TControl*>(
      w->Perform(CM_DRAG, dmFindTarget, reinterpret_cast<LPARAM>(&rec)));
  if (!t) t = w;
  if (!allowDisabled && !t->Enabled()) return nullptr;
  return t;
}

void BeginDragOf(TControl* control, bool immediate, Integer threshold) {
  if (g_drag.Active || g_drag.Pending) return;
  g_drag.Reset();
  g_drag.Source = control;
  g_drag.StartPos = brevant::GetCursorPos();
  g_drag.Threshold = threshold < 0 ? GetSystemMetrics(SM_CXDRAG) : threshold;
  g_drag.Capture = CaptureWindowOf(control);
  if (g_drag.Capture) brevant::SetCapture(g_drag.Capture);
  if (HasApplication()) Application()->CancelHint();
  if (immediate)
    g_drag.Start();
  else
    g_drag.Pending = true;
}

void EndDragOf(TControl* control, bool drop) {
  if (g_drag.Source != control) return;
  if (g_drag.Active)
    g_drag.Finish(drop);
  else
    g_drag.Reset();
}

void DragForgetControl(TControl* control) {
  if (!g_drag.Active && !g_drag.Pending) return;
  if (g_drag.Source == control) {
    // The source goes: the drag ends without calling it.
    if (g_drag.Object && g_drag.Object->dragTarget_ && g_drag.Object->dragTarget_ != control)
      g_drag.Send(g_drag.Object->dragTarget_, dmDragLeave, g_drag.Object->dragPos_);
    g_drag.Reset();
    brevant::SetCursor(crDefault);
    return;
  }
  if (g_drag.Object && g_drag.Object->dragTarget_ == control) g_drag.Object->dragTarget_ = nullptr;
}

// A right press that cancelled a drag: its release is eaten too, so that it
// opens no context menu.
bool EatCancellingRelease(const TMsg& msg) {
  if (!g_drag.EatRightUp) return false;
  if (msg.Message == WM_RBUTTONUP || msg.Message == WM_NCRBUTTONUP) {
    g_drag.EatRightUp = false;
    return true;
  }
  if (msg.Message == WM_LBUTTONDOWN || msg.Message == WM_RBUTTONDOWN ||
      msg.Message == WM_MBUTTONDOWN || msg.Message == WM_NCLBUTTONDOWN ||
      msg.Message == WM_NCRBUTTONDOWN)
    g_drag.EatRightUp = false;
  return false;
}

namespace {

// Past the threshold a pending drag starts; a started one follows the pointer.
bool DragMouseMove(const TMsg& msg) {
  if (g_drag.Pending) {
    if (std::abs(msg.Pt.X - g_drag.StartPos.X) <= g_drag.Threshold &&
        std::abs(msg.Pt.Y - g_drag.StartPos.Y) <= g_drag.Threshold)
      return false;
    g_drag.Start();
    return true;
  }
  g_drag.MoveTo(msg.Pt);
  return true;
}

// Releasing the left button drops; before the drag started it is a click.
bool DragLeftButtonUp(const TMsg& msg) {
  if (g_drag.Pending) {
    g_drag.Reset();
    return false;  // no drag: the release is the control's (a click)
  }
  g_drag.MoveTo(msg.Pt);
  g_drag.Finish(true);
  return true;
}

// The right button cancels a drag; the release of a press that cancelled is
// eaten too.
bool DragRightButton(const TMsg& msg) {
  if (g_drag.Pending) return false;
  g_drag.Finish(false);
  g_drag.EatRightUp = msg.Message == WM_RBUTTONDOWN;
  return true;
}

// Escape cancels a drag; the drag eats every other key.
bool DragKeyDown(const TMsg& msg) {
  if (g_drag.Pending) return false;
  if (LoWord(msg.WParam) == VK_ESCAPE) g_drag.Finish(false);
  return true;
}

}  // namespace

bool DragPreprocessMessage(TMsg& msg) {
  if (EatCancellingRelease(msg)) return true;
  if (!g_drag.Active && !g_drag.Pending) return false;
  switch (msg.Message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      return DragMouseMove(msg);
    case WM_LBUTTONUP:
    case WM_NCLBUTTONUP:
      return DragLeftButtonUp(msg);
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      return DragRightButton(msg);
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      return DragKeyDown(msg);
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
      return g_drag.Active;
    default:
      return false;
  }
}

}  // namespace brevant
