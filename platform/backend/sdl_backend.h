// The SDL2 backend: one SDL window per native window, drawn through the
// window's own surface and fed by SDL's event queue. A native window handle is
// the SDL window id.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "backend/backend.h"

union SDL_Event;
struct SDL_Window;
struct SDL_Cursor;

namespace brevant {

// ---- conversions (pure; usable without a display) -------------------------------------

// The virtual key code (VK_...) of an SDL key; 0 when the key has none.
// Letters, digits and punctuation follow the keyboard layout (the keycode);
// keys without a Latin character fall back to their position (the scancode),
// so shortcuts work on other layouts. Keypad keys depend on Num Lock in `mod`.
Word SdlKeyToVirtualKey(std::int32_t keycode, std::int32_t scancode, std::uint16_t mod);
// bmShift/bmCtrl/bmAlt of an SDL modifier state.
Byte SdlModifiers(std::uint16_t mod);
// The wheel delta of an SDL wheel motion: 120 per notch, positive away from
// the user; `flipped` when SDL reports the direction inverted.
Integer SdlWheelDelta(std::int32_t y, bool flipped);
// The SDL system cursor for a crXxx shape; -1 for crNone (hidden).
int SdlSystemCursor(SmallInt cursor);

// What the event conversion knows of one window.
struct TSdlWindowState {
  TNativeWindow Handle = 0;
  TNativeWindowKind Kind = nwkNormal;
  TRect Bounds;  // the client area in screen coordinates, as last known
};
using TSdlWindowFinder = std::function<TSdlWindowState*(std::uint32_t windowId)>;

// Converts one SDL event into a backend event; false when it has none (not a
// window of ours, a change that restates the known bounds, focus changes of
// pop-ups and hints, ...). Moves and resizes update the window's Bounds.
// `mouseModifiers` is the keyboard state for mouse events.
bool ConvertSdlEvent(const SDL_Event& event, const TSdlWindowFinder& find, Byte mouseModifiers,
                     TBackendEvent& out);

// ---- the backend ----------------------------------------------------------------------------

class TSdlBackend : public TBackend {
 public:
  // Starts SDL's video subsystem; raises an Exception with SDL's reason when
  // it cannot, or when SDL found no display and would fall back to its own
  // invisible windows (unless SDL_VIDEODRIVER asks for that explicitly).
  static std::unique_ptr<TBackend> Open();
  ~TSdlBackend() override;

  const char* Name() const override { return "sdl"; }
  bool IsOffscreen() const override { return false; }

  TNativeWindow CreateNativeWindow(const TNativeWindowParams& params) override;
  void DestroyNativeWindow(TNativeWindow w) override;
  void ShowNativeWindow(TNativeWindow w, bool show, bool activate) override;
  void SetNativeBounds(TNativeWindow w, const TRect& screenRect) override;
  void SetNativeCaption(TNativeWindow w, const String& caption) override;
  void FocusNativeWindow(TNativeWindow w) override;
  // Places the input method's composition window (SDL_SetTextInputRect).
  void SetTextInputHints(const TTextInputHints& hints) override;
  // After a bekResized the next call answers the new size; the pixels
  // answered before are then no longer valid.
  TSurface Surface(TNativeWindow w) override;
  void Present(TNativeWindow w, const TRect& dirty) override;

  bool PollEvent(TBackendEvent& e) override;
  void WaitEvent(Cardinal timeoutMs) override;
  Cardinal TickCount() const override;
  void Wake() override;

  TRect ScreenRect() const override;
  TRect WorkArea() const override;
  TPoint CursorPos() const override;
  void SetCursorPos(const TPoint& screenPos) override;
  void SetCursorShape(SmallInt cursor) override;
  void CaptureMouse(bool capture) override;
  // SDL cannot ring the bell: the calls are only counted.
  void Beep() override { ++beeps_; }
  Integer BeepCount() const { return beeps_; }

  String ClipboardText() const override;
  void SetClipboardText(const String& text) override;

  // The SDL window of a handle (nullptr when unknown).
  SDL_Window* SdlWindow(TNativeWindow w) const;

 private:
  struct TWindow;
  TSdlBackend() = default;

  TWindow* Find(TNativeWindow w) const;
  void RebuildSurface(TWindow& win);
  void RestoreFocus(TNativeWindow preferred, TNativeWindow except);
  bool Translate(const SDL_Event& event, TBackendEvent& out);
  bool FocusGainPending(std::uint32_t windowId) const;

  std::map<std::uint32_t, std::unique_ptr<TWindow>> windows_;
  std::unique_ptr<SDL_Event> lookahead_;  // an event WaitEvent took off the queue
  std::uint32_t wakeEvent_ = 0;
  TNativeWindow focus_ = 0;  // the window of ours believed to have keyboard focus
  SDL_Cursor* cursors_[16] = {};
  bool cursorHidden_ = false;
  Integer beeps_ = 0;
};

}  // namespace brevant
