// The application and the screen: the process-wide objects a program runs
// through. Application() and Screen() create them on first use;
// DoneApplication() frees both (forms the application owns go with it).
//
// TApplication runs the message loop (Run until the main form closes or
// Terminate; ProcessMessages; HandleMessage), catches exceptions of
// handlers (HandleException shows them in a message box; EAbort is silent),
// shows message boxes drawn by the platform, owns the forms CreateForm
// makes (the first form is the main form) and runs the hint machinery:
//
//   The pointer rests over a control whose ShowHint is on (the first such
//   control up its parents) -> after HintPause (CM_HINTSHOWPAUSE may change
//   it; moving from a shown hint uses HintShortPause) CM_HINTSHOW goes to
//   the control with a THintInfo it may edit (an answer other than 0 means
//   no hint) -> OnShowHint -> a non-empty HintStr shows in a window of
//   HintWindowClass at HintPos. The hint hides when the pointer leaves
//   CursorRect or the control, on a press or key, or after HideTimeout
//   (0: never). Leaving CursorRect inside the same control asks again after
//   ReshowTimeout (0: HintShortPause); after HideTimeout only leaving
//   CursorRect asks again.
#pragma once

#include <vector>

#include "backend/codes.h"
#include "controls/forms.h"
#include "graphics/colors.h"
#include "rtl/scope.h"

namespace brevant {

class THintWindow;
class TStrings;

// MessageBox flags and answers.
enum : Cardinal {
  MB_OK = 0x0000,
  MB_OKCANCEL = 0x0001,
  MB_ABORTRETRYIGNORE = 0x0002,
  MB_YESNOCANCEL = 0x0003,
  MB_YESNO = 0x0004,
  MB_RETRYCANCEL = 0x0005,
  MB_ICONHAND = 0x0010,
  MB_ICONERROR = 0x0010,
  MB_ICONSTOP = 0x0010,
  MB_ICONQUESTION = 0x0020,
  MB_ICONEXCLAMATION = 0x0030,
  MB_ICONWARNING = 0x0030,
  MB_ICONASTERISK = 0x0040,
  MB_ICONINFORMATION = 0x0040,
  MB_DEFBUTTON1 = 0x0000,
  MB_DEFBUTTON2 = 0x0100,
  MB_DEFBUTTON3 = 0x0200,
};
enum : Integer {
  IDOK = 1,
  IDCANCEL = 2,
  IDABORT = 3,
  IDRETRY = 4,
  IDIGNORE = 5,
  IDYES = 6,
  IDNO = 7
};

// What CM_HINTSHOW carries (LParam: THintInfo*); the control may edit it.
struct THintInfo {
  TControl* HintControl = nullptr;
  TClass HintWindowClass = nullptr;  // a THintWindow class
  TPoint HintPos;                    // screen position of the hint's top-left
  Integer HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;  // in the control's client coordinates
  TPoint CursorPos;  // in the control's client coordinates
  Integer ReshowTimeout = 0;
  Integer HideTimeout = 0;
  String HintStr;
  void* HintData = nullptr;
};

using TShowHintEvent = TEvent<void(String& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using TIdleEvent = TEvent<void(TObject* Sender, bool& Done)>;
using TExceptionEvent = TEvent<void(TObject* Sender, const Exception& E)>;

class TApplication : public TComponent {
  BV_CLASS(TApplication, TComponent)
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;
  void BeforeDestruction() override;

  void Initialize();
  // Creates a form or data module owned by the application; the first form
  // becomes the main form. The reference is set before the form's
  // OnCreate runs, as other modules' start-up code expects.
  template <class T>
  void CreateForm(T*& reference) {
    creatingRef_ = reinterpret_cast<TComponent**>(&reference);
    {
      TScopeGuard created([this] { creatingRef_ = nullptr; });
      TScopeGuard forget([&reference] { reference = nullptr; });  // a failed creation leaves none
      reference = Create<T>(this);
      forget.Dismiss();
    }
    if constexpr (std::is_base_of_v<TCustomForm, T>) {
      if (!mainForm_) mainForm_ = reference;
    }
  }
  // Shows the main form and processes messages until Terminate.
  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  // Processes every pending message.
  void ProcessMessages();
  // Processes one message, or idles (OnIdle) and waits for one.
  void HandleMessage();
  // One pending message through the application's steps; false when none.
  bool ProcessMessage();
  // OnIdle; then waits for input. Answers false when nothing can ever come
  // (the off-screen backend with no input left), so loops do not spin.
  bool Idle();

  // Shows e in a message box (OnException instead when assigned); EAbort
  // shows nothing. Never throws.
  void HandleException(TObject* sender, const Exception& e);
  void ShowException(const Exception& e);

  // A platform-drawn modal box; answers IDOK, IDCANCEL, IDYES ... Escape
  // and the close box answer Cancel (or No, or OK for a box without).
  Integer MessageBox(const String& text, const String& caption = String(), Cardinal flags = MB_OK);

  const String& Title() const { return title_; }
  void SetTitle(const String& value) { title_ = value; }
  String ExeName() const;
  // Whether a window of the application is the active window.
  bool Active() const;
  TCustomForm* MainForm() const { return mainForm_; }
  void ClearMainForm() { mainForm_ = nullptr; }
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool value) { showMainForm_ = value; }
  // The component being created by CreateForm, with its reference.
  TComponent** CreatingReference() const { return creatingRef_; }

  // ---- hints ----
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  TColor HintColor() const { return hintColor_; }
  void SetHintColor(TColor value) { hintColor_ = value; }
  Integer HintPause() const { return hintPause_; }
  void SetHintPause(Integer value) { hintPause_ = value; }
  Integer HintShortPause() const { return hintShortPause_; }
  void SetHintShortPause(Integer value) { hintShortPause_ = value; }
  Integer HintHidePause() const { return hintHidePause_; }
  void SetHintHidePause(Integer value) { hintHidePause_ = value; }
  // Hides a shown hint and forgets the control under the pointer.
  void CancelHint();
  // The hint window shown now (nullptr when none).
  THintWindow* HintWindow() const;
  // The control the hint machinery watches.
  TControl* HintControl() const { return hintControl_; }

  // The hidden window that receives the application's timers.
  HWND Handle();

  // Every message the loops process passes here first (hints, drags);
  // true when it was consumed.
  bool PreprocessMessage(TMsg& msg);

  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TIdleEvent OnIdle;
  TExceptionEvent OnException;
  TShowHintEvent OnShowHint;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  friend class TAppWindow;
  void HintMouseMessage(TControl* control, TPoint screenPos);
  TControl* HintControlAt(TPoint screenPos) const;
  void HintInputStarted();
  void HintMouseLeft();
  void StartHintTimer(Integer ms, bool reshow);
  void HintTimerExpired();
  void ShowHintNow(TPoint screenPos);
  void HideHint();
  void AppWndProc(TMessage& m);

  TCustomForm* mainForm_ = nullptr;
  TComponent** creatingRef_ = nullptr;
  String title_;
  bool terminated_ = false;
  bool showMainForm_ = true;
  bool running_ = false;
  HWND handle_ = 0;
  class TAppWindow* window_ = nullptr;

  bool showHint_ = true;
  TColor hintColor_ = clInfoBk;
  Integer hintPause_ = 500;
  Integer hintShortPause_ = 50;
  Integer hintHidePause_ = 2500;
  TControl* hintControl_ = nullptr;  // the control under the pointer with ShowHint
  THintWindow* hintWindow_ = nullptr;
  bool hintActive_ = false;  // a hint is shown
  bool hintHidden_ = false;  // hidden by its timeout; waits for the rect to be left
  bool hintTimerOn_ = false;
  Integer currentPause_ = 0;
  TRect hintCursorRect_;  // screen coordinates
  Integer hintHideTimeout_ = 0;
  Integer hintReshowTimeout_ = 0;
  bool inHandleException_ = false;
};

// ---- TScreen ----------------------------------------------------------------------------
class TScreen : public TComponent {
  BV_CLASS(TScreen, TComponent)
 public:
  explicit TScreen(TComponent* owner);
  ~TScreen() override;

  // The backend's screen unless a test set a size (0: follow the backend).
  Integer Width() const;
  void SetWidth(Integer value) { width_ = value; }
  Integer Height() const;
  void SetHeight(Integer value) { height_ = value; }
  TRect WorkAreaRect() const;
  Integer WorkAreaWidth() const { return WorkAreaRect().Width(); }
  Integer WorkAreaHeight() const { return WorkAreaRect().Height(); }
  Integer PixelsPerInch() const { return 96; }

  // A cursor other than crDefault overrides every control's cursor.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  // The shape a cursor number stands for; registering a custom number maps
  // it to one of the system shapes.
  TCursor Cursors(TCursor index) const;
  void SetCursors(TCursor index, TCursor shape);

  // The font families text can be drawn with (sorted).
  TStrings* Fonts();

  TCustomForm* ActiveForm() const;
  TWinControl* ActiveControl() const;
  Integer FormCount() const { return static_cast<Integer>(forms_.size()); }
  TCustomForm* Forms(Integer index) const { return forms_.at(static_cast<size_t>(index)); }
  Integer IndexOfForm(const TCustomForm* form) const;
  Integer DataModuleCount() const { return static_cast<Integer>(dataModules_.size()); }
  TComponent* DataModules(Integer index) const {
    return dataModules_.at(static_cast<size_t>(index));
  }

  // Forms and data modules register themselves.
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);
  void AddDataModule(TComponent* module);
  void RemoveDataModule(TComponent* module);

 private:
  Integer width_ = 0;
  Integer height_ = 0;
  TCursor cursor_ = crDefault;
  std::vector<std::pair<TCursor, TCursor>> cursors_;
  TStrings* fonts_ = nullptr;
  std::vector<TCustomForm*> forms_;
  std::vector<TComponent*> dataModules_;
};

TApplication* Application();
TScreen* Screen();
bool HasApplication();
bool HasScreen();
// Frees the application (and what it owns) and the screen.
void DoneApplication();

}  // namespace brevant
