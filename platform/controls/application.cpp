// TApplication and TScreen: the message loop, exception handling, message
// boxes, the hint machinery, and the screen's state.
#include "controls/application.h"

#include <cstdio>

#include "backend/backend.h"
#include "classes/rtti_builder.h"
#include "controls/controls_internal.h"
#include "controls/dragdrop.h"
#include "controls/hintwindow.h"
#include "controls/message_box.h"
#include "controls/os_services.h"
#include "controls/test_hooks.h"
#include "controls/wincore.h"
#include "graphics/pen_brush.h"
#include "rtl/stringlist.h"

namespace brevant {

namespace {
TApplication* g_application = nullptr;
TScreen* g_screen = nullptr;

enum : WPARAM { kHintTimer = 1, kHideTimer = 2 };

void ApplicationExceptionHandler(TObject* sender, const Exception& e) {
  if (g_application) g_application->HandleException(sender, e);
}

bool ApplicationPreprocess(TMsg& msg) {
  return g_application && g_application->PreprocessMessage(msg);
}
}  // namespace

// The hidden window that receives the application's timers.
class TAppWindow final : public IWindowProc {
 public:
  explicit TAppWindow(TApplication* app) : app_(app) {}
  void WndProc(TMessage& m) override { app_->AppWndProc(m); }

 private:
  TApplication* app_;
};

// ---- TApplication -------------------------------------------------------------------------------

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  title_ = ExtractFileNameWithoutExt(ExeFileName());
  SetExceptionHandler(&ApplicationExceptionHandler);
  detail::g_appPreprocess = &ApplicationPreprocess;
}

TApplication::~TApplication() {
  delete window_;
}

void TApplication::BeforeDestruction() {
  CancelDrag();
  HideHint();
  if (handle_ && brevant::IsWindow(handle_)) brevant::DestroyWindow(handle_);
  handle_ = 0;
  TComponent::BeforeDestruction();
  mainForm_ = nullptr;
  hintWindow_ = nullptr;
  if (detail::g_appPreprocess == &ApplicationPreprocess) detail::g_appPreprocess = nullptr;
}

void TApplication::Initialize() {
  terminated_ = false;
}

HWND TApplication::Handle() {
  if (handle_ && brevant::IsWindow(handle_)) return handle_;
  if (!window_) window_ = new TAppWindow(this);
  TCreateParams p;
  p.Caption = title_;
  p.Style = WS_POPUP;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  p.WinClassName = "TApplication";
  handle_ = brevant::CreateWindowHandle(p, window_);
  return handle_;
}

void TApplication::AppWndProc(TMessage& m) {
  if (m.Msg == WM_TIMER) {
    if (m.WParam == kHintTimer) {
      brevant::KillTimer(handle_, kHintTimer);
      hintTimerOn_ = false;
      HintTimerExpired();
      return;
    }
    if (m.WParam == kHideTimer) {
      brevant::KillTimer(handle_, kHideTimer);
      HideHint();
      hintHidden_ = true;
      return;
    }
  }
  // During creation the handle is not known yet.
  HWND h = handle_ ? handle_ : brevant::GetMessageWindow();
  m.Result = brevant::DefWindowProc(h, m.Msg, m.WParam, m.LParam);
}

String TApplication::ExeName() const {
  return ExeFileName();
}

bool TApplication::Active() const {
  HWND a = brevant::GetActiveWindow();
  return a != 0 && FindControl(a) != nullptr;
}

void TApplication::Terminate() {
  terminated_ = true;
  if (HasBackend()) Backend().Wake();
}

void TApplication::Run() {
  running_ = true;
  terminated_ = false;
  if (mainForm_ && showMainForm_) mainForm_->Show();
  while (!terminated_) HandleMessage();
  running_ = false;
}

bool TApplication::ProcessMessage() {
  TMsg msg;
  if (!brevant::PeekMessage(msg, 0, 0, 0, PM_REMOVE)) return false;
  if (msg.Message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  DispatchControlMessage(msg);
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
}

bool TApplication::Idle() {
  bool done = true;
  CallHandlingExceptions(this, [&] { OnIdle(this, done); });
  TMsg msg;
  if (brevant::PeekMessage(msg, 0, 0, 0, PM_NOREMOVE)) return true;
  if (terminated_) return true;
  if (!HasBackend() || Backend().IsOffscreen()) return false;
  Backend().WaitEvent(done ? 100 : 0);
  return true;
}

void TApplication::HandleMessage() {
  if (ProcessMessage()) return;
  if (!Idle() && !terminated_) RaiseModalStarved("The message loop");
}

// ---- exceptions and message boxes
// ----------------------------------------------------------------

void TApplication::HandleException(TObject* sender, const Exception& e) {
  if (dynamic_cast<const EAbort*>(&e)) return;
  if (inHandleException_) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
    return;
  }
  TTemporaryChange handling(inHandleException_, true);
  try {
    if (OnException)
      OnException(sender, e);
    else
      ShowException(e);
  } catch (const std::exception& inner) {
    // Nothing may leave the handler; an unanswered box in a test says so.
    std::fprintf(stderr, "%s (while showing: %s)\n", inner.what(), e.Message().c_str());
  }
}

void TApplication::ShowException(const Exception& e) {
  String msg = e.Message();
  if (!msg.empty() && msg.back() != '.') msg += '.';
  MessageBox(msg, title_, MB_OK | MB_ICONSTOP);
}

Integer TApplication::MessageBox(const String& text, const String& caption, Cardinal flags) {
  return ShowMessageBox(text, caption.empty() ? title_ : caption, flags);
}

// ---- message preprocessing and hints
// -------------------------------------------------------------

void TApplication::SetShowHint(bool value) {
  if (value == showHint_) return;
  showHint_ = value;
  if (!value) CancelHint();
}

THintWindow* TApplication::HintWindow() const {
  return hintActive_ ? hintWindow_ : nullptr;
}

bool TApplication::PreprocessMessage(TMsg& msg) {
  if (DragPreprocessMessage(msg)) return true;
  switch (msg.Message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
      HintMouseMessage(HintControlAt(msg.Pt), msg.Pt);
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_MOUSEWHEEL:
      HintInputStarted();
      break;
    case WM_MOUSELEAVE:
      HintMouseLeft();
      break;
    default:
      break;
  }
  return false;
}

// The control under the screen point whose hint shows: the nearest that
// has ShowHint, from the innermost control up.
TControl* TApplication::HintControlAt(TPoint screenPos) const {
  TControl* c = nullptr;
  if (TWinControl* w = FindControl(brevant::WindowFromPoint(screenPos))) {
    c = w;
    if (w->HandleAllocated())
      if (TControl* g = w->ControlAtPos(w->ScreenToClient(screenPos), true)) c = g;
  }
  while (c && !c->ShowHint()) c = c->Parent();
  return c;
}

// A press, a key or the wheel hides the hint until the pointer moves to
// another control.
void TApplication::HintInputStarted() {
  if (!hintActive_ && !hintTimerOn_) return;
  HideHint();
  hintHidden_ = true;
}

// The pointer left a window: the hint goes when it is over none of ours.
void TApplication::HintMouseLeft() {
  if (!brevant::WindowFromPoint(brevant::GetCursorPos())) CancelHint();
}

void TApplication::HintMouseMessage(TControl* control, TPoint screenPos) {
  if (!showHint_ || (control && control->IsDesigning())) control = nullptr;
  if (control != hintControl_) {
    bool wasActive = hintActive_;
    HideHint();
    hintHidden_ = false;
    if (hintControl_) hintControl_->RemoveFreeNotification(this);
    hintControl_ = control;
    if (!control) return;
    control->FreeNotification(this);
    Integer pause = wasActive ? hintShortPause_ : hintPause_;
    control->Perform(CM_HINTSHOWPAUSE, wasActive ? 1 : 0, reinterpret_cast<LPARAM>(&pause));
    StartHintTimer(pause, false);
    return;
  }
  if (!control) return;
  if (hintActive_ || hintHidden_) {
    if (PtInRect(hintCursorRect_, screenPos)) return;
    bool wasActive = hintActive_;
    HideHint();
    hintHidden_ = false;
    Integer pause = hintReshowTimeout_ > 0 ? hintReshowTimeout_
                    : wasActive            ? hintShortPause_
                                           : hintPause_;
    StartHintTimer(pause, true);
    return;
  }
  // The pointer has not rested yet (or the last question gave no hint):
  // the pause starts again.
  StartHintTimer(hintTimerOn_ ? currentPause_ : hintPause_, false);
}

void TApplication::StartHintTimer(Integer ms, bool) {
  currentPause_ = ms;
  brevant::SetTimer(Handle(), kHintTimer, static_cast<Cardinal>(std::max<Integer>(ms, 1)));
  hintTimerOn_ = true;
}

void TApplication::HintTimerExpired() {
  if (!hintControl_ || !showHint_) return;
  ShowHintNow(brevant::GetCursorPos());
}

void TApplication::ShowHintNow(TPoint screenPos) {
  TControl* control = hintControl_;
  THintInfo info;
  info.HintControl = control;
  info.HintWindowClass = THintWindow::StaticClass();
  info.HintPos = {screenPos.X, screenPos.Y + 20};
  info.HintMaxWidth = Screen()->Width();
  info.HintColor = hintColor_;
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(screenPos);
  info.ReshowTimeout = 0;
  info.HideTimeout = hintHidePause_;
  info.HintStr = control->Hint();
  bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (canShow) OnShowHint(info.HintStr, canShow, info);
  if (hintControl_ != control) return;  // a handler moved things around
  TPoint origin = control->ClientToScreen({0, 0});
  hintCursorRect_ = info.CursorRect;
  OffsetRect(hintCursorRect_, origin.X, origin.Y);
  hintReshowTimeout_ = info.ReshowTimeout;
  hintHideTimeout_ = info.HideTimeout;
  if (!canShow || info.HintStr.empty()) {
    HideHint();
    return;
  }
  TClass cls =
      info.HintWindowClass && info.HintWindowClass->InheritsFrom(THintWindow::StaticClass())
          ? info.HintWindowClass
          : THintWindow::StaticClass();
  if (hintWindow_ && hintWindow_->ClassType() != cls) FreeAndNil(hintWindow_);
  if (!hintWindow_) hintWindow_ = static_cast<THintWindow*>(cls->NewInstance(this));
  hintWindow_->SetColor(info.HintColor);
  TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  OffsetRect(r, info.HintPos.X, info.HintPos.Y);
  hintWindow_->ActivateHintData(r, info.HintStr, info.HintData);
  hintActive_ = true;
  if (info.HideTimeout > 0)
    brevant::SetTimer(Handle(), kHideTimer, static_cast<Cardinal>(info.HideTimeout));
}

void TApplication::HideHint() {
  if (handle_ && brevant::IsWindow(handle_)) {
    brevant::KillTimer(handle_, kHintTimer);
    brevant::KillTimer(handle_, kHideTimer);
  }
  hintTimerOn_ = false;
  hintActive_ = false;
  if (hintWindow_) hintWindow_->ReleaseHandle();
}

void TApplication::CancelHint() {
  HideHint();
  hintHidden_ = false;
  if (hintControl_) hintControl_->RemoveFreeNotification(this);
  hintControl_ = nullptr;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == hintControl_) {
    hintControl_ = nullptr;
    HideHint();
  }
  if (component == hintWindow_) {
    hintWindow_ = nullptr;
    hintActive_ = false;
  }
  if (component == mainForm_) mainForm_ = nullptr;
}

BV_PUBLISH(TApplication, TComponent) {}

// ---- TScreen
// ---------------------------------------------------------------------------------------

TScreen::TScreen(TComponent* owner) : TComponent(owner) {}

TScreen::~TScreen() {
  TObject::Free(fonts_);
}

Integer TScreen::Width() const {
  if (width_ > 0) return width_;
  return HasBackend() ? Backend().ScreenRect().Width() : 1024;
}

Integer TScreen::Height() const {
  if (height_ > 0) return height_;
  return HasBackend() ? Backend().ScreenRect().Height() : 768;
}

TRect TScreen::WorkAreaRect() const {
  TRect r = HasBackend() ? Backend().WorkArea() : Rect(0, 0, 1024, 768);
  if (width_ > 0) r.Right = std::min(r.Right, width_);
  if (height_ > 0) r.Bottom = std::min(r.Bottom, height_);
  return r;
}

void TScreen::SetCursor(TCursor value) {
  if (value == cursor_) return;
  cursor_ = value;
  detail::g_screenCursor = Cursors(value);
  if (HasBackend()) brevant::SetCursor(value == crDefault ? TCursor(crArrow) : Cursors(value));
}

TCursor TScreen::Cursors(TCursor index) const {
  for (const auto& [i, shape] : cursors_)
    if (i == index) return shape;
  return index;
}

void TScreen::SetCursors(TCursor index, TCursor shape) {
  for (auto& entry : cursors_)
    if (entry.first == index) {
      entry.second = shape;
      return;
    }
  cursors_.emplace_back(index, shape);
}

TStrings* TScreen::Fonts() {
  if (!fonts_) {
    auto* list = Create<TStringList>();
    list->SetSorted(true);
    for (const char* name : {"Arial", "Courier New", "DejaVu Sans", "DejaVu Sans Mono",
                             "DejaVu Serif", "Liberation Mono", "Liberation Sans",
                             "Liberation Serif", "MS Sans Serif", "Tahoma", "Times New Roman"})
      list->Add(name);
    fonts_ = list;
  }
  return fonts_;
}

TCustomForm* TScreen::ActiveForm() const {
  return dynamic_cast<TCustomForm*>(FindControl(brevant::GetActiveWindow()));
}

TWinControl* TScreen::ActiveControl() const {
  return FindControl(brevant::GetFocus());
}

Integer TScreen::IndexOfForm(const TCustomForm* form) const {
  for (size_t i = 0; i < forms_.size(); ++i)
    if (forms_[i] == form) return static_cast<Integer>(i);
  return -1;
}

void TScreen::AddForm(TCustomForm* form) {
  if (IndexOfForm(form) < 0) forms_.push_back(form);
}

void TScreen::RemoveForm(TCustomForm* form) {
  std::erase(forms_, form);
}

void TScreen::AddDataModule(TComponent* module) {
  if (std::find(dataModules_.begin(), dataModules_.end(), module) == dataModules_.end())
    dataModules_.push_back(module);
}

void TScreen::RemoveDataModule(TComponent* module) {
  std::erase(dataModules_, module);
}

BV_PUBLISH(TScreen, TComponent) {}

// ---- globals
// ---------------------------------------------------------------------------------------

TApplication* Application() {
  if (!g_application) g_application = Create<TApplication>(nullptr);
  return g_application;
}

TScreen* Screen() {
  if (!g_screen) g_screen = Create<TScreen>(nullptr);
  return g_screen;
}

bool HasApplication() {
  return g_application != nullptr;
}

bool HasScreen() {
  return g_screen != nullptr;
}

void DoneApplication() {
  if (g_application) {
    TApplication* app = g_application;
    app->Free();
    g_application = nullptr;
    SetExceptionHandler(nullptr);
  }
  if (g_screen) {
    TScreen* s = g_screen;
    g_screen = nullptr;
    s->Free();
  }
}

}  // namespace brevant
