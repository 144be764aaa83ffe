// The off-screen backend: native windows are pixel buffers in memory, time
// is virtual and input comes from a test API that produces the same raw
// events a user's mouse and keyboard produce on a real system.
//
// Nothing ever waits: WaitEvent returns at once and the clock moves only
// through Advance. Events are stamped with the tick count when they are
// made and carry the screen position; the window manager finds the window
// under the pointer itself.
#pragma once

#include <deque>
#include <map>
#include <vector>

#include "backend/backend.h"
#include "graphics/colors.h"

namespace brevant {

class TOffscreenBackend : public TBackend {
 public:
  // The clock starts at this tick count.
  static constexpr Cardinal kStartTick = 1000;

  TOffscreenBackend();
  ~TOffscreenBackend() override;

  const char* Name() const override { return "offscreen"; }
  bool IsOffscreen() const override { return true; }

  TNativeWindow CreateNativeWindow(const TNativeWindowParams& params) override;
  void DestroyNativeWindow(TNativeWindow w) override;
  void ShowNativeWindow(TNativeWindow w, bool show, bool activate) override;
  void SetNativeBounds(TNativeWindow w, const TRect& screenRect) override;
  void SetNativeCaption(TNativeWindow w, const String& caption) override;
  void FocusNativeWindow(TNativeWindow w) override;
  TSurface Surface(TNativeWindow w) override;
  void Present(TNativeWindow w, const TRect& dirty) override;

  bool PollEvent(TBackendEvent& e) override;
  void WaitEvent(Cardinal) override {}
  Cardinal TickCount() const override { return tick_; }
  void Wake() override {}

  TRect ScreenRect() const override { return screen_; }
  TRect WorkArea() const override { return workArea_; }
  TPoint CursorPos() const override { return cursor_; }
  // Moves the pointer and, as on a real system, makes a mouse-move event.
  void SetCursorPos(const TPoint& screenPos) override;
  void SetCursorShape(SmallInt cursor) override { cursorShape_ = cursor; }
  void CaptureMouse(bool capture) override { mouseCaptured_ = capture; }
  void Beep() override { ++beeps_; }
  void SetTextInputHints(const TTextInputHints& hints) override {
    textInputHints_ = hints;
    ++textInputHintCount_;
  }

  String ClipboardText() const override { return clipboard_; }
  void SetClipboardText(const String& text) override { clipboard_ = text; }

  // ---- test control: time and screen ------------------------------------------
  void Advance(Cardinal ms) { tick_ += ms; }
  // Also sets the work area to the whole screen.
  void SetScreenRect(const TRect& r);
  void SetWorkArea(const TRect& r) { workArea_ = r; }

  // ---- test control: input (each event is stamped with the current tick) ------
  // Modifiers combine the given bits with the modifier keys held down
  // through KeyDown (VK_SHIFT, VK_CONTROL, VK_MENU and their left/right keys).
  void MouseMove(TPoint screenPos, Byte modifiers = 0);
  void MouseDown(TPoint screenPos, TBackendButton button = bbLeft, Byte modifiers = 0);
  void MouseUp(TPoint screenPos, TBackendButton button = bbLeft, Byte modifiers = 0);
  // Down and up at the same point.
  void Click(TPoint screenPos, TBackendButton button = bbLeft, Byte modifiers = 0);
  // Two clicks at the same point and time.
  void DoubleClick(TPoint screenPos, TBackendButton button = bbLeft, Byte modifiers = 0);
  // delta: multiples of WHEEL_DELTA (120), positive away from the user.
  void Wheel(TPoint screenPos, Integer delta, Byte modifiers = 0);
  void KeyDown(Word vk, Byte modifiers = 0, bool repeat = false);
  void KeyUp(Word vk, Byte modifiers = 0);
  // A key pressed and released: down, the text it types (printable keys
  // without Ctrl or Alt, as a real keyboard's text input gives it), up.
  // Return, Tab, Backspace and Escape make no text event; the window
  // manager's TranslateMessage makes their characters.
  void PressKey(Word vk, Byte modifiers = 0);
  // Types UTF-8 text: per character the key events where a key exists
  // (letters, digits, space; Shift for capitals), the text event, and
  // "\n", "\t", "\b" as Return, Tab and Backspace presses. Characters
  // without a key come as text events only, as from an input method.
  void TypeText(const String& utf8);
  // Text input without key events.
  void TextInput(const String& utf8);
  void RequestClose(TNativeWindow w);
  // The user resizes / moves a window (client area in screen coordinates).
  void UserSetBounds(TNativeWindow w, const TRect& screenRect);
  void PointerLeft();
  void PostQuit();
  // Any raw event.
  void Push(TBackendEvent e);
  size_t PendingEvents() const { return events_.size(); }

  // ---- test inspection ----------------------------------------------------------
  // The pixel as a TColor ($00BBGGRR); -1 outside the surface or for no window.
  TColor Pixel(TNativeWindow w, Integer x, Integer y) const;
  // Writes the window's surface as a PNG file.
  void SavePng(TNativeWindow w, const String& path);
  std::vector<TNativeWindow> Windows() const;
  bool IsNativeWindow(TNativeWindow w) const { return windows_.count(w) != 0; }
  bool IsShown(TNativeWindow w) const;
  TRect NativeBounds(TNativeWindow w) const;
  TNativeWindowParams Params(TNativeWindow w) const;
  String Caption(TNativeWindow w) const;
  TNativeWindow FocusedWindow() const { return focused_; }
  // The shown window on top at a screen point (topmost windows first, then
  // the most recently raised).
  TNativeWindow WindowAt(TPoint screenPos) const;
  Integer PresentCount(TNativeWindow w) const;
  TRect LastPresented(TNativeWindow w) const;
  SmallInt CursorShape() const { return cursorShape_; }
  bool MouseCaptured() const { return mouseCaptured_; }
  Integer BeepCount() const { return beeps_; }
  // The input-method hints told last, and how often they were told.
  const TTextInputHints& LastTextInputHints() const { return textInputHints_; }
  Integer TextInputHintCount() const { return textInputHintCount_; }
  Byte HeldModifiers() const;

 private:
  struct TWindow {
    TNativeWindowParams Params;
    std::vector<std::uint32_t> Pixels;
    Integer Width = 0;
    Integer Height = 0;
    bool Shown = false;
    std::uint64_t Raised = 0;  // the order of raising; larger is higher
    Integer Presents = 0;
    TRect LastPresent;
  };

  TWindow* Find(TNativeWindow w);
  const TWindow* Find(TNativeWindow w) const;
  void Resize(TWindow& win, Integer width, Integer height);
  void PushMouse(TBackendEventKind kind, TPoint pos, TBackendButton button, Byte modifiers,
                 Integer wheel = 0);
  void PushKey(TBackendEventKind kind, Word vk, Byte modifiers, bool repeat);
  void PushText(const String& text);
  void TrackModifierKey(Word vk, bool down);

  std::map<TNativeWindow, TWindow> windows_;
  TNativeWindow nextWindow_ = 1;
  std::uint64_t raiseCounter_ = 0;
  TNativeWindow focused_ = 0;
  std::deque<TBackendEvent> events_;
  Cardinal tick_ = kStartTick;
  TRect screen_{0, 0, 1280, 1024};
  TRect workArea_{0, 0, 1280, 1024};
  TPoint cursor_;
  SmallInt cursorShape_ = 0;
  bool mouseCaptured_ = false;
  Integer beeps_ = 0;
  TTextInputHints textInputHints_;  // told last by the focused field
  Integer textInputHintCount_ = 0;  // how often hints were told
  String clipboard_;
  bool shiftHeld_ = false;
  bool ctrlHeld_ = false;
  bool altHeld_ = false;
};

}  // namespace brevant
