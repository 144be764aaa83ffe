// The window system behind one interface. The window manager
// (controls/wincore.h) owns every window and all message logic; a backend
// only supplies native top-level windows with pixel surfaces, delivers raw
// input as TBackendEvents in screen coordinates, and offers a clock, the
// cursor, the screen and the clipboard. Two backends exist: the off-screen
// one (tests, screenshots, virtual time) and SDL2 (real windows).
#pragma once

#include <cstdint>
#include <memory>

#include "rtl/types.h"

namespace brevant {

// A native top-level window of the backend (0 for none).
using TNativeWindow = std::intptr_t;

// The pixels of a native window: 0x00RRGGBB, `Stride` bytes per row.
struct TSurface {
  std::uint32_t* Pixels = nullptr;
  Integer Width = 0;
  Integer Height = 0;
  Integer Stride = 0;
};

enum TNativeWindowKind : Byte {
  nwkNormal,   // a form with the system's decorations
  nwkPopup,    // a borderless pop-up (drop-downs, menus); does not activate
  nwkTooltip,  // a hint window: never takes focus
};

struct TNativeWindowParams {
  TNativeWindowKind Kind = nwkNormal;
  TRect Bounds;  // the client area in screen coordinates
  String Caption;
  bool Resizable = true;
  bool TopMost = false;
  bool ToolWindow = false;
  bool NoActivate = false;
  TNativeWindow Owner = 0;
};

enum TBackendEventKind : Byte {
  bekNone,
  bekMouseMove,
  bekMouseDown,
  bekMouseUp,
  bekWheel,
  bekKeyDown,
  bekKeyUp,
  bekText,         // typed text (UTF-8), after the key-down that made it
  bekClose,        // the user asks to close a window
  bekResized,      // the user resized a window (Bounds)
  bekMoved,        // the user moved a window (Bounds)
  bekExposed,      // a window's pixels must be shown again
  bekFocusGained,  // a native window gained keyboard focus
  bekFocusLost,
  bekMouseLeft,  // the pointer left every window of the application
  bekQuit,       // the application should end
};

enum TBackendButton : Byte { bbLeft, bbRight, bbMiddle };

// Modifier bits of backend events.
enum : Byte { bmShift = 1, bmCtrl = 2, bmAlt = 4 };

struct TBackendEvent {
  TBackendEventKind Kind = bekNone;
  TNativeWindow Window = 0;  // the window under the event (0: none)
  TPoint ScreenPos;          // mouse events: the pointer in screen coordinates
  TBackendButton Button = bbLeft;
  Integer WheelDelta = 0;  // multiples of 120, positive away from the user
  Word Key = 0;            // a virtual key code (VK_...)
  bool Repeat = false;     // an automatic repeat of a held key
  Byte Modifiers = 0;
  String Text;        // bekText
  TRect Bounds;       // bekResized, bekMoved: the client area in screen coordinates
  Cardinal Time = 0;  // the backend's tick count when the event happened
};

// What the input method is told about the focused text field.
struct TTextInputHints {
  TNativeWindow Window = 0;  // the native window holding the field
  Byte Mode = 3;             // the field's input-method mode (TImeMode; 3: left as it is)
  String Name;               // the input method asked for (empty: the user's own)
  TPoint Composition;        // where composition is shown, screen coordinates
};

class TBackend {
 public:
  TBackend() = default;
  TBackend(const TBackend&) = delete;
  TBackend& operator=(const TBackend&) = delete;
  virtual ~TBackend() = default;

  virtual const char* Name() const = 0;
  // True for the off-screen backend (no display, virtual time).
  virtual bool IsOffscreen() const = 0;

  // ---- native windows ------------------------------------------------------
  virtual TNativeWindow CreateNativeWindow(const TNativeWindowParams& params) = 0;
  virtual void DestroyNativeWindow(TNativeWindow w) = 0;
  virtual void ShowNativeWindow(TNativeWindow w, bool show, bool activate) = 0;
  // Moves and sizes the client area (screen coordinates); the surface
  // follows the new size (its pixels are kept where they overlap).
  virtual void SetNativeBounds(TNativeWindow w, const TRect& screenRect) = 0;
  virtual void SetNativeCaption(TNativeWindow w, const String& caption) = 0;
  // Gives the window the keyboard focus of the system.
  virtual void FocusNativeWindow(TNativeWindow w) = 0;
  // The window's pixels; valid until the next SetNativeBounds or destroy.
  virtual TSurface Surface(TNativeWindow w) = 0;
  // Shows the given part of the surface on the screen.
  virtual void Present(TNativeWindow w, const TRect& dirty) = 0;

  // ---- events and time -------------------------------------------------------
  // Takes the next pending event; false when none is pending.
  virtual bool PollEvent(TBackendEvent& e) = 0;
  // Waits until an event is pending or timeoutMs passed. The off-screen
  // backend never waits: its time moves only when a test advances it.
  virtual void WaitEvent(Cardinal timeoutMs) = 0;
  // Milliseconds since the backend started (virtual in the off-screen one).
  virtual Cardinal TickCount() const = 0;
  // Wakes a WaitEvent from inside the process (a message was posted).
  virtual void Wake() = 0;

  // ---- screen, pointer, keyboard ------------------------------------------------
  virtual TRect ScreenRect() const = 0;
  virtual TRect WorkArea() const = 0;
  virtual TPoint CursorPos() const = 0;
  virtual void SetCursorPos(const TPoint& screenPos) = 0;
  virtual void SetCursorShape(SmallInt cursor) = 0;
  // Keeps pointer events coming to the application while a button is held
  // outside its windows.
  virtual void CaptureMouse(bool capture) = 0;
  virtual void Beep() = 0;
  // Tells the input method about the field that has the focus; backends
  // without an input method ignore it.
  virtual void SetTextInputHints(const TTextInputHints&) {}

  // ---- clipboard (UTF-8 text; bitmaps are kept by the window manager) ----------
  virtual String ClipboardText() const = 0;
  virtual void SetClipboardText(const String& text) = 0;
};

// The backend the process runs on. Tests and the off-screen runs install an
// off-screen backend; applications use the SDL2 one.
TBackend& Backend();
bool HasBackend();
// Installs a backend (taking ownership) and answers the previous one.
std::unique_ptr<TBackend> SetBackend(std::unique_ptr<TBackend> backend);

}  // namespace brevant
