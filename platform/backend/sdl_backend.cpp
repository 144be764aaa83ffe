#include "backend/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <vector>

#include "backend/codes.h"
#include "rtl/exceptions.h"
#include "rtl/resstrings.h"

namespace brevant {

namespace {

// Virtual keys of the punctuation keys (US layout positions).
enum : Word {
  kVkOemSemicolon = 0xBA,
  kVkOemPlus = 0xBB,
  kVkOemComma = 0xBC,
  kVkOemMinus = 0xBD,
  kVkOemPeriod = 0xBE,
  kVkOemSlash = 0xBF,
  kVkOemTilde = 0xC0,
  kVkOemOpenBracket = 0xDB,
  kVkOemBackslash = 0xDC,
  kVkOemCloseBracket = 0xDD,
  kVkOemQuote = 0xDE,
  kVkOem102 = 0xE2,  // the extra key next to left Shift on ISO keyboards
  kVkF13 = 0x7C,
};

// X11 coordinates are 16-bit; SDL reserves some large positions as markers.
constexpr Integer kMaxCoord = 32767;
constexpr Integer kMaxSize = 16384;

Integer ClampCoord(Integer v) {
  return std::clamp(v, -kMaxCoord - 1, kMaxCoord);
}
Integer ClampSize(Integer v) {
  return std::clamp(v, 1, kMaxSize);
}

// Keypad keys: digits and the decimal point become navigation keys while
// Num Lock is off, as the keys' second labels say.
Word KeypadKey(std::int32_t scancode, bool numLock) {
  switch (scancode) {
    case SDL_SCANCODE_KP_DIVIDE:
      return VK_DIVIDE;
    case SDL_SCANCODE_KP_MULTIPLY:
      return VK_MULTIPLY;
    case SDL_SCANCODE_KP_MINUS:
      return VK_SUBTRACT;
    case SDL_SCANCODE_KP_PLUS:
      return VK_ADD;
    case SDL_SCANCODE_KP_ENTER:
      return VK_RETURN;
    default:
      break;
  }
  static constexpr Word kOn[] = {VK_NUMPAD1, VK_NUMPAD2, VK_NUMPAD3, VK_NUMPAD4,
                                 VK_NUMPAD5, VK_NUMPAD6, VK_NUMPAD7, VK_NUMPAD8,
                                 VK_NUMPAD9, VK_NUMPAD0, VK_DECIMAL};
  static constexpr Word kOff[] = {VK_END,  VK_DOWN, VK_NEXT,  VK_LEFT,   VK_CLEAR, VK_RIGHT,
                                  VK_HOME, VK_UP,   VK_PRIOR, VK_INSERT, VK_DELETE};
  if (scancode >= SDL_SCANCODE_KP_1 && scancode <= SDL_SCANCODE_KP_PERIOD) {
    const auto i = static_cast<std::size_t>(scancode - SDL_SCANCODE_KP_1);
    return numLock ? kOn[i] : kOff[i];
  }
  return 0;
}

bool IsKeypadScancode(std::int32_t scancode) {
  return scancode >= SDL_SCANCODE_KP_DIVIDE && scancode <= SDL_SCANCODE_KP_PERIOD;
}

// Keys named by a character keycode: they follow the keyboard layout.
Word CharacterKey(std::int32_t keycode) {
  if (keycode >= 'a' && keycode <= 'z') return static_cast<Word>(keycode - 'a' + 'A');
  if (keycode >= 'A' && keycode <= 'Z') return static_cast<Word>(keycode);
  if (keycode >= '0' && keycode <= '9') return static_cast<Word>(keycode);
  switch (keycode) {
    case SDLK_RETURN:
      return VK_RETURN;
    case SDLK_ESCAPE:
      return VK_ESCAPE;
    case SDLK_BACKSPACE:
      return VK_BACK;
    case SDLK_TAB:
      return VK_TAB;
    case SDLK_SPACE:
      return VK_SPACE;
    case SDLK_DELETE:
      return VK_DELETE;
    case ';':
      return kVkOemSemicolon;
    case '=':
      return kVkOemPlus;
    case ',':
      return kVkOemComma;
    case '-':
      return kVkOemMinus;
    case '.':
      return kVkOemPeriod;
    case '/':
      return kVkOemSlash;
    case '`':
      return kVkOemTilde;
    case '[':
      return kVkOemOpenBracket;
    case '\\':
      return kVkOemBackslash;
    case ']':
      return kVkOemCloseBracket;
    case '\'':
      return kVkOemQuote;
    default:
      return 0;
  }
}

// Keys by their position on the keyboard.
Word ScancodeKey(std::int32_t scancode) {
  if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
    return static_cast<Word>('A' + (scancode - SDL_SCANCODE_A));
  if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
    return static_cast<Word>('1' + (scancode - SDL_SCANCODE_1));
  if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
    return static_cast<Word>(VK_F1 + (scancode - SDL_SCANCODE_F1));
  if (scancode >= SDL_SCANCODE_F13 && scancode <= SDL_SCANCODE_F24)
    return static_cast<Word>(kVkF13 + (scancode - SDL_SCANCODE_F13));
  switch (scancode) {
    case SDL_SCANCODE_0:
      return '0';
    case SDL_SCANCODE_RETURN:
    case SDL_SCANCODE_RETURN2:
      return VK_RETURN;
    case SDL_SCANCODE_ESCAPE:
      return VK_ESCAPE;
    case SDL_SCANCODE_BACKSPACE:
      return VK_BACK;
    case SDL_SCANCODE_TAB:
      return VK_TAB;
    case SDL_SCANCODE_SPACE:
      return VK_SPACE;
    case SDL_SCANCODE_MINUS:
      return kVkOemMinus;
    case SDL_SCANCODE_EQUALS:
      return kVkOemPlus;
    case SDL_SCANCODE_LEFTBRACKET:
      return kVkOemOpenBracket;
    case SDL_SCANCODE_RIGHTBRACKET:
      return kVkOemCloseBracket;
    case SDL_SCANCODE_BACKSLASH:
    case SDL_SCANCODE_NONUSHASH:
      return kVkOemBackslash;
    case SDL_SCANCODE_SEMICOLON:
      return kVkOemSemicolon;
    case SDL_SCANCODE_APOSTROPHE:
      return kVkOemQuote;
    case SDL_SCANCODE_GRAVE:
      return kVkOemTilde;
    case SDL_SCANCODE_COMMA:
      return kVkOemComma;
    case SDL_SCANCODE_PERIOD:
      return kVkOemPeriod;
    case SDL_SCANCODE_SLASH:
      return kVkOemSlash;
    case SDL_SCANCODE_NONUSBACKSLASH:
      return kVkOem102;
    case SDL_SCANCODE_CAPSLOCK:
      return VK_CAPITAL;
    case SDL_SCANCODE_PRINTSCREEN:
      return VK_SNAPSHOT;
    case SDL_SCANCODE_SCROLLLOCK:
      return VK_SCROLL;
    case SDL_SCANCODE_PAUSE:
      return VK_PAUSE;
    case SDL_SCANCODE_INSERT:
      return VK_INSERT;
    case SDL_SCANCODE_HOME:
      return VK_HOME;
    case SDL_SCANCODE_PAGEUP:
      return VK_PRIOR;
    case SDL_SCANCODE_DELETE:
      return VK_DELETE;
    case SDL_SCANCODE_END:
      return VK_END;
    case SDL_SCANCODE_PAGEDOWN:
      return VK_NEXT;
    case SDL_SCANCODE_RIGHT:
      return VK_RIGHT;
    case SDL_SCANCODE_LEFT:
      return VK_LEFT;
    case SDL_SCANCODE_DOWN:
      return VK_DOWN;
    case SDL_SCANCODE_UP:
      return VK_UP;
    case SDL_SCANCODE_NUMLOCKCLEAR:
      return VK_NUMLOCK;
    case SDL_SCANCODE_APPLICATION:
    case SDL_SCANCODE_MENU:
      return VK_APPS;
    case SDL_SCANCODE_CLEAR:
      return VK_CLEAR;
    case SDL_SCANCODE_CANCEL:
      return VK_CANCEL;
    case SDL_SCANCODE_LCTRL:
    case SDL_SCANCODE_RCTRL:
      return VK_CONTROL;
    case SDL_SCANCODE_LSHIFT:
    case SDL_SCANCODE_RSHIFT:
      return VK_SHIFT;
    case SDL_SCANCODE_LALT:
    case SDL_SCANCODE_RALT:
      return VK_MENU;
    case SDL_SCANCODE_LGUI:
      return VK_LWIN;
    case SDL_SCANCODE_RGUI:
      return VK_RWIN;
    default:
      return 0;
  }
}

TPoint ScreenPoint(const TSdlWindowState* win, Sint32 x, Sint32 y) {
  if (!win) return {x, y};
  // Pointer positions are small; the sums cannot overflow after clamping.
  return {ClampCoord(win->Bounds.Left) + ClampCoord(x),
          ClampCoord(win->Bounds.Top) + ClampCoord(y)};
}

// A move of the window; false when it did not change the bounds.
bool ConvertMoved(const SDL_WindowEvent& ev, TSdlWindowState* win, TBackendEvent& out) {
  TRect& b = win->Bounds;
  const Integer x = ClampCoord(ev.data1), y = ClampCoord(ev.data2);
  const TRect r(x, y, x + b.Width(), y + b.Height());
  if (r == b) return false;
  b = r;
  out.Kind = bekMoved;
  out.Bounds = r;
  return true;
}

// A new size of the window; false when it did not change the bounds.
bool ConvertResized(const SDL_WindowEvent& ev, TSdlWindowState* win, TBackendEvent& out) {
  TRect& b = win->Bounds;
  const Integer w = std::clamp(ev.data1, 0, kMaxSize), h = std::clamp(ev.data2, 0, kMaxSize);
  const TRect r(b.Left, b.Top, b.Left + w, b.Top + h);
  if (r == b) return false;
  b = r;
  out.Kind = bekResized;
  out.Bounds = r;
  return true;
}

// Pop-ups and hints never own the focus as far as the application is
// concerned; without a window manager X11 still hands it to them briefly.
bool ConvertFocus(const SDL_WindowEvent& ev, const TSdlWindowState* win, TBackendEvent& out) {
  if (win->Kind != nwkNormal) return false;
  out.Kind = ev.event == SDL_WINDOWEVENT_FOCUS_GAINED ? bekFocusGained : bekFocusLost;
  return true;
}

// An event that carries nothing but its kind.
bool ConvertAs(TBackendEventKind kind, TBackendEvent& out) {
  out.Kind = kind;
  return true;
}

bool ConvertWindowEvent(const SDL_WindowEvent& ev, TSdlWindowState* win, TBackendEvent& out) {
  if (!win) return false;
  out.Window = win->Handle;
  switch (ev.event) {
    case SDL_WINDOWEVENT_CLOSE:
      return ConvertAs(bekClose, out);
    case SDL_WINDOWEVENT_EXPOSED:
      return ConvertAs(bekExposed, out);
    case SDL_WINDOWEVENT_MOVED:
      return ConvertMoved(ev, win, out);
    case SDL_WINDOWEVENT_RESIZED:
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      return ConvertResized(ev, win, out);
    case SDL_WINDOWEVENT_FOCUS_GAINED:
    case SDL_WINDOWEVENT_FOCUS_LOST:
      return ConvertFocus(ev, win, out);
    case SDL_WINDOWEVENT_LEAVE:
      return ConvertAs(bekMouseLeft, out);
    default:
      return false;
  }
}

// Ends SDL once no part of it is in use, releasing what it keeps for the
// whole process (its D-Bus connection among others).
void ReleaseSdl() {
  if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

}  // namespace

Word SdlKeyToVirtualKey(std::int32_t keycode, std::int32_t scancode, std::uint16_t mod) {
  const bool numLock = (mod & KMOD_NUM) != 0;
  // The keypad goes by position: its keycodes may repeat main-keyboard characters.
  if (IsKeypadScancode(scancode)) return KeypadKey(scancode, numLock);
  const bool named = (keycode & SDLK_SCANCODE_MASK) != 0;
  const std::int32_t keyScancode = keycode & ~SDLK_SCANCODE_MASK;
  if (named && IsKeypadScancode(keyScancode)) return KeypadKey(keyScancode, numLock);
  if (!named) {
    if (const Word vk = CharacterKey(keycode)) return vk;
  } else if (const Word vk = ScancodeKey(keyScancode)) {
    return vk;
  }
  return ScancodeKey(scancode);
}

Byte SdlModifiers(std::uint16_t mod) {
  Byte m = 0;
  if (mod & KMOD_SHIFT) m |= bmShift;
  if (mod & KMOD_CTRL) m |= bmCtrl;
  if (mod & KMOD_ALT) m |= bmAlt;
  return m;
}

Integer SdlWheelDelta(std::int32_t y, bool flipped) {
  // Far beyond any real wheel, and keeps the product in range.
  constexpr std::int32_t kMaxNotches = 1000;
  const Integer notches = std::clamp(y, -kMaxNotches, kMaxNotches);
  return (flipped ? -notches : notches) * WHEEL_DELTA;
}

int SdlSystemCursor(SmallInt cursor) {
  switch (cursor) {
    case crNone:
      return -1;
    case crCross:
      return SDL_SYSTEM_CURSOR_CROSSHAIR;
    case crIBeam:
      return SDL_SYSTEM_CURSOR_IBEAM;
    case crSizeNESW:
      return SDL_SYSTEM_CURSOR_SIZENESW;
    case crSizeNS:
    case crVSplit:
      return SDL_SYSTEM_CURSOR_SIZENS;
    case crSizeNWSE:
      return SDL_SYSTEM_CURSOR_SIZENWSE;
    case crSizeWE:
    case crHSplit:
      return SDL_SYSTEM_CURSOR_SIZEWE;
    case crSizeAll:
      return SDL_SYSTEM_CURSOR_SIZEALL;
    case crHourGlass:
    case crSQLWait:
      return SDL_SYSTEM_CURSOR_WAIT;
    case crAppStart:
      return SDL_SYSTEM_CURSOR_WAITARROW;
    case crNo:
    case crNoDrop:
      return SDL_SYSTEM_CURSOR_NO;
    case crHandPoint:
      return SDL_SYSTEM_CURSOR_HAND;
    default:
      return SDL_SYSTEM_CURSOR_ARROW;
  }
}

namespace {

bool ConvertMotion(const SDL_MouseMotionEvent& ev, const TSdlWindowFinder& find,
                   Byte mouseModifiers, TBackendEvent& out) {
  const TSdlWindowState* win = find(ev.windowID);
  out.Kind = bekMouseMove;
  out.Window = win ? win->Handle : 0;
  out.ScreenPos = ScreenPoint(win, ev.x, ev.y);
  out.Modifiers = mouseModifiers;
  return true;
}

// The left, right and middle buttons; false for others.
bool ConvertButton(const SDL_MouseButtonEvent& ev, const TSdlWindowFinder& find,
                   Byte mouseModifiers, TBackendEvent& out) {
  switch (ev.button) {
    case SDL_BUTTON_LEFT:
      out.Button = bbLeft;
      break;
    case SDL_BUTTON_RIGHT:
      out.Button = bbRight;
      break;
    case SDL_BUTTON_MIDDLE:
      out.Button = bbMiddle;
      break;
    default:
      return false;
  }
  const TSdlWindowState* win = find(ev.windowID);
  out.Kind = ev.type == SDL_MOUSEBUTTONDOWN ? bekMouseDown : bekMouseUp;
  out.Window = win ? win->Handle : 0;
  out.ScreenPos = ScreenPoint(win, ev.x, ev.y);
  out.Modifiers = mouseModifiers;
  return true;
}

bool ConvertWheel(const SDL_MouseWheelEvent& ev, const TSdlWindowFinder& find, Byte mouseModifiers,
                  TBackendEvent& out) {
  out.WheelDelta = SdlWheelDelta(ev.y, ev.direction == SDL_MOUSEWHEEL_FLIPPED);
  if (out.WheelDelta == 0) return false;  // horizontal scrolling has no message here
  const TSdlWindowState* win = find(ev.windowID);
  out.Kind = bekWheel;
  out.Window = win ? win->Handle : 0;
  out.ScreenPos = ScreenPoint(win, ev.mouseX, ev.mouseY);
  out.Modifiers = mouseModifiers;
  return true;
}

// Keys without a virtual-key code are not converted.
bool ConvertKey(const SDL_KeyboardEvent& ev, const TSdlWindowFinder& find, TBackendEvent& out) {
  const SDL_Keysym& k = ev.keysym;
  out.Key = SdlKeyToVirtualKey(k.sym, k.scancode, k.mod);
  if (out.Key == 0) return false;
  const TSdlWindowState* win = find(ev.windowID);
  out.Kind = ev.type == SDL_KEYDOWN ? bekKeyDown : bekKeyUp;
  out.Window = win ? win->Handle : 0;
  out.Repeat = ev.repeat != 0;
  out.Modifiers = SdlModifiers(k.mod);
  return true;
}

// The text is read up to its NUL or the end of SDL's buffer.
bool ConvertText(const SDL_TextInputEvent& ev, const TSdlWindowFinder& find, TBackendEvent& out) {
  const std::size_t n = strnlen(ev.text, sizeof(ev.text));
  if (n == 0) return false;
  const TSdlWindowState* win = find(ev.windowID);
  out.Kind = bekText;
  out.Window = win ? win->Handle : 0;
  out.Text.assign(ev.text, n);
  return true;
}

}  // namespace

bool ConvertSdlEvent(const SDL_Event& ev, const TSdlWindowFinder& find, Byte mouseModifiers,
                     TBackendEvent& out) {
  out = TBackendEvent{};
  out.Time = ev.common.timestamp;
  switch (ev.type) {
    case SDL_MOUSEMOTION:
      return ConvertMotion(ev.motion, find, mouseModifiers, out);
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      return ConvertButton(ev.button, find, mouseModifiers, out);
    case SDL_MOUSEWHEEL:
      return ConvertWheel(ev.wheel, find, mouseModifiers, out);
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      return ConvertKey(ev.key, find, out);
    case SDL_TEXTINPUT:
      return ConvertText(ev.text, find, out);
    case SDL_WINDOWEVENT:
      return ConvertWindowEvent(ev.window, find(ev.window.windowID), out);
    case SDL_QUIT:
      return ConvertAs(bekQuit, out);
    default:
      return false;
  }
}

// ---- TSdlBackend --------------------------------------------------------------------------

struct TSdlBackend::TWindow {
  SDL_Window* Sdl = nullptr;
  TSdlWindowState State;
  TNativeWindow Owner = 0;
  bool NoActivate = false;
  bool Visible = false;
  bool SkipFocusGained = false;       // its loss was not reported
  bool Direct = false;                // Surface points into SDL's window surface
  std::vector<std::uint32_t> Buffer;  // the pixels when SDL's surface has another format
  TSurface Surface;
};

static_assert(SDL_NUM_SYSTEM_CURSORS <= 16, "cursor cache too small");

std::unique_ptr<TBackend> TSdlBackend::Open() {
  // The application decides when to end, also after its last window closed.
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  // A desktop application must not keep the screen saver away or turn off
  // the compositor.
  SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  // Window surfaces through the window system itself (shared memory under
  // X11), not through an OpenGL texture: no GL stack is loaded, and a present
  // sends only the dirty rectangle.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    const String reason = SDL_GetError();
    ReleaseSdl();
    throw Exception(res::SSdlVideoInitFailed, {reason});
  }
  std::unique_ptr<TSdlBackend> backend(new TSdlBackend);
  // Without a display SDL quietly falls back to invisible windows; only a
  // caller that asked for such a driver gets one.
  const char* driver = SDL_GetCurrentVideoDriver();
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  if (driver && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
      !(asked && *asked)) {
    const String name = driver;
    throw Exception(res::SSdlNoDisplay, {name});
  }
  const Uint32 wake = SDL_RegisterEvents(1);
  backend->wakeEvent_ = wake == static_cast<Uint32>(-1) ? Uint32(SDL_USEREVENT) : wake;
  SDL_StartTextInput();
  return backend;
}

TSdlBackend::~TSdlBackend() {
  for (auto& [id, win] : windows_) SDL_DestroyWindow(win->Sdl);
  windows_.clear();
  for (SDL_Cursor*& c : cursors_) {
    if (c) SDL_FreeCursor(c);
    c = nullptr;
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  ReleaseSdl();
}

TSdlBackend::TWindow* TSdlBackend::Find(TNativeWindow w) const {
  if (w <= 0 || w > TNativeWindow(UINT32_MAX)) return nullptr;
  const auto it = windows_.find(static_cast<std::uint32_t>(w));
  return it == windows_.end() ? nullptr : it->second.get();
}

SDL_Window* TSdlBackend::SdlWindow(TNativeWindow w) const {
  const TWindow* win = Find(w);
  return win ? win->Sdl : nullptr;
}

TNativeWindow TSdlBackend::CreateNativeWindow(const TNativeWindowParams& p) {
  Uint32 flags = SDL_WINDOW_HIDDEN;
  switch (p.Kind) {
    case nwkNormal:
      if (p.Resizable) flags |= SDL_WINDOW_RESIZABLE;
      if (p.TopMost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
      if (p.ToolWindow) flags |= SDL_WINDOW_UTILITY;
      break;
    case nwkPopup:
      flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
      break;
    case nwkTooltip:
      flags |= SDL_WINDOW_BORDERLESS | SDL_WINDOW_TOOLTIP | SDL_WINDOW_SKIP_TASKBAR;
      break;
  }
  const TRect& b = p.Bounds;
  const Integer x = ClampCoord(b.Left), y = ClampCoord(b.Top);
  SDL_Window* sdl =
      SDL_CreateWindow(p.Caption.c_str(), x, y, ClampSize(b.Width()), ClampSize(b.Height()), flags);
  if (!sdl) {
    const String reason = SDL_GetError();
    throw Exception(res::SSdlCreateWindowFailed, {reason});
  }
  auto win = std::make_unique<TWindow>();
  win->Sdl = sdl;
  win->Owner = p.Owner;
  win->NoActivate = p.NoActivate;
  win->State.Kind = p.Kind;
  const std::uint32_t id = SDL_GetWindowID(sdl);
  win->State.Handle = static_cast<TNativeWindow>(id);
  int w = 0, h = 0;
  SDL_GetWindowSize(sdl, &w, &h);
  win->State.Bounds = TRect(x, y, x + w, y + h);
  // An owned form stays above its owner (a transient window for X11).
  if (p.Kind == nwkNormal && p.Owner != 0) {
    if (TWindow* owner = Find(p.Owner)) SDL_SetWindowModalFor(sdl, owner->Sdl);
  }
  windows_[id] = std::move(win);
  return static_cast<TNativeWindow>(id);
}

void TSdlBackend::RestoreFocus(TNativeWindow preferred, TNativeWindow except) {
  if (preferred == except) return;
  TWindow* win = Find(preferred);
  if (!win || !win->Visible) return;
  SDL_SetWindowInputFocus(win->Sdl);
  focus_ = preferred;
}

void TSdlBackend::DestroyNativeWindow(TNativeWindow w) {
  TWindow* win = Find(w);
  if (!win) return;
  const bool hadFocus = win->Visible && (focus_ == w || SDL_GetKeyboardFocus() == win->Sdl);
  const TNativeWindow owner = win->Owner;
  SDL_DestroyWindow(win->Sdl);
  windows_.erase(static_cast<std::uint32_t>(w));
  if (focus_ == w) focus_ = 0;
  // Without a window manager the keyboard focus goes nowhere otherwise.
  if (hadFocus) RestoreFocus(owner, w);
}

void TSdlBackend::ShowNativeWindow(TNativeWindow w, bool show, bool activate) {
  TWindow* win = Find(w);
  if (!win) return;
  if (!show) {
    if (!win->Visible) return;
    const bool hadFocus = focus_ == w || SDL_GetKeyboardFocus() == win->Sdl;
    SDL_HideWindow(win->Sdl);
    win->Visible = false;
    if (focus_ == w) focus_ = 0;
    if (hadFocus) RestoreFocus(win->Owner, w);
    return;
  }
  const bool activating = activate && win->State.Kind == nwkNormal && !win->NoActivate;
  const TNativeWindow prior = focus_;
  if (!win->Visible) {
    SDL_ShowWindow(win->Sdl);
    win->Visible = true;
    // Without a window manager SDL focuses every window it shows; give the
    // focus back when this one must not take it.
    if (!activating && prior != 0) RestoreFocus(prior, w);
  }
  if (activating) {
    SDL_RaiseWindow(win->Sdl);
    focus_ = w;
  }
}

void TSdlBackend::SetNativeBounds(TNativeWindow w, const TRect& screenRect) {
  TWindow* win = Find(w);
  if (!win) return;
  const Integer x = ClampCoord(screenRect.Left), y = ClampCoord(screenRect.Top);
  const Integer width = ClampSize(screenRect.Width()), height = ClampSize(screenRect.Height());
  int cx = 0, cy = 0, cw = 0, ch = 0;
  SDL_GetWindowPosition(win->Sdl, &cx, &cy);
  SDL_GetWindowSize(win->Sdl, &cw, &ch);
  // Only real changes: SDL waits for the X server to confirm each one.
  if (cx != x || cy != y) SDL_SetWindowPosition(win->Sdl, x, y);
  if (cw != width || ch != height) SDL_SetWindowSize(win->Sdl, width, height);
  win->State.Bounds = TRect(x, y, x + width, y + height);
  if (win->Surface.Pixels) RebuildSurface(*win);
}

void TSdlBackend::SetNativeCaption(TNativeWindow w, const String& caption) {
  if (TWindow* win = Find(w)) SDL_SetWindowTitle(win->Sdl, caption.c_str());
}

void TSdlBackend::FocusNativeWindow(TNativeWindow w) {
  TWindow* win = Find(w);
  if (!win || !win->Visible) return;
  if (win->State.Kind == nwkNormal) SDL_RaiseWindow(win->Sdl);
  SDL_SetWindowInputFocus(win->Sdl);
  focus_ = w;
}

void TSdlBackend::SetTextInputHints(const TTextInputHints& hints) {
  TWindow* win = Find(hints.Window);
  if (!win) return;
  int x = 0, y = 0;
  SDL_GetWindowPosition(win->Sdl, &x, &y);
  SDL_Rect r{hints.Composition.X - x, hints.Composition.Y - y, 1, 1};
  SDL_SetTextInputRect(&r);
}

void TSdlBackend::RebuildSurface(TWindow& win) {
  // Keep the old pixels: SDL frees its surface when it makes the new one.
  const TSurface old = win.Surface;
  std::vector<std::uint32_t> saved;
  if (old.Pixels && old.Width > 0 && old.Height > 0) {
    saved.resize(static_cast<std::size_t>(old.Width) * static_cast<std::size_t>(old.Height));
    for (Integer row = 0; row < old.Height; ++row) {
      const auto* src = reinterpret_cast<const std::uint8_t*>(old.Pixels) +
                        static_cast<std::size_t>(row) * static_cast<std::size_t>(old.Stride);
      std::memcpy(&saved[static_cast<std::size_t>(row) * static_cast<std::size_t>(old.Width)], src,
                  static_cast<std::size_t>(old.Width) * 4);
    }
  }
  win.Surface = TSurface{};
  win.Direct = false;
  SDL_Surface* s = SDL_GetWindowSurface(win.Sdl);
  int w = 0, h = 0;
  if (s) {
    w = s->w;
    h = s->h;
  } else {
    SDL_GetWindowSize(win.Sdl, &w, &h);
  }
  if (s && s->format->format == SDL_PIXELFORMAT_RGB888 && s->pitch >= w * 4 && s->pitch % 4 == 0) {
    win.Direct = true;
    win.Buffer = {};
    win.Surface = TSurface{static_cast<std::uint32_t*>(s->pixels), w, h, s->pitch};
    for (Integer row = 0; row < h; ++row)
      std::memset(static_cast<std::uint8_t*>(s->pixels) + static_cast<std::size_t>(row) * s->pitch,
                  0, static_cast<std::size_t>(w) * 4);
  } else {
    win.Buffer.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0);
    win.Surface = TSurface{win.Buffer.data(), w, h, w * 4};
  }
  const Integer cw = std::min(old.Width, w), ch = std::min(old.Height, h);
  if (saved.empty() || cw <= 0 || ch <= 0) return;
  for (Integer row = 0; row < ch; ++row) {
    auto* dst = reinterpret_cast<std::uint8_t*>(win.Surface.Pixels) +
                static_cast<std::size_t>(row) * static_cast<std::size_t>(win.Surface.Stride);
    std::memcpy(dst, &saved[static_cast<std::size_t>(row) * static_cast<std::size_t>(old.Width)],
                static_cast<std::size_t>(cw) * 4);
  }
}

TSurface TSdlBackend::Surface(TNativeWindow w) {
  TWindow* win = Find(w);
  if (!win) return {};
  int cw = 0, ch = 0;
  SDL_GetWindowSize(win->Sdl, &cw, &ch);
  if (!win->Surface.Pixels || cw != win->Surface.Width || ch != win->Surface.Height)
    RebuildSurface(*win);
  return win->Surface;
}

void TSdlBackend::Present(TNativeWindow w, const TRect& dirty) {
  TWindow* win = Find(w);
  if (!win || !win->Surface.Pixels) return;
  int cw = 0, ch = 0;
  SDL_GetWindowSize(win->Sdl, &cw, &ch);
  Integer right = std::min(dirty.Right, win->Surface.Width);
  Integer bottom = std::min(dirty.Bottom, win->Surface.Height);
  const Integer left = std::max(dirty.Left, 0), top = std::max(dirty.Top, 0);
  if (win->Direct) {
    // The window changed size and the surface was not fetched again yet:
    // SDL's old surface cannot be shown any more.
    if (cw != win->Surface.Width || ch != win->Surface.Height) return;
  } else {
    SDL_Surface* s = SDL_GetWindowSurface(win->Sdl);
    if (!s) return;
    right = std::min(right, s->w);
    bottom = std::min(bottom, s->h);
    if (left >= right || top >= bottom) return;
    const auto* src = reinterpret_cast<const std::uint8_t*>(win->Surface.Pixels) +
                      static_cast<std::size_t>(top) * win->Surface.Stride +
                      static_cast<std::size_t>(left) * 4;
    auto* dst = static_cast<std::uint8_t*>(s->pixels) + static_cast<std::size_t>(top) * s->pitch +
                static_cast<std::size_t>(left) * s->format->BytesPerPixel;
    SDL_ConvertPixels(right - left, bottom - top, SDL_PIXELFORMAT_RGB888, src, win->Surface.Stride,
                      s->format->format, dst, s->pitch);
  }
  if (left >= right || top >= bottom) return;
  const SDL_Rect rect{left, top, right - left, bottom - top};
  SDL_UpdateWindowSurfaceRects(win->Sdl, &rect, 1);
}

bool TSdlBackend::FocusGainPending(std::uint32_t windowId) const {
  SDL_Event pending[32];
  const int n = SDL_PeepEvents(pending, 32, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
  for (int i = 0; i < n; ++i)
    if (pending[i].window.event == SDL_WINDOWEVENT_FOCUS_GAINED &&
        pending[i].window.windowID == windowId)
      return true;
  return false;
}

bool TSdlBackend::Translate(const SDL_Event& ev, TBackendEvent& out) {
  if (ev.type == wakeEvent_) return false;
  const TSdlWindowFinder find = [this](std::uint32_t id) -> TSdlWindowState* {
    const auto it = windows_.find(id);
    return it == windows_.end() ? nullptr : &it->second->State;
  };
  if (!ConvertSdlEvent(ev, find, SdlModifiers(static_cast<std::uint16_t>(SDL_GetModState())), out))
    return false;
  switch (out.Kind) {
    case bekMouseLeft: {
      // Moving between two of our windows is no leaving: the pointer has
      // entered the other one when its enter event is queued.
      SDL_Event pending[32];
      const int n = SDL_PeepEvents(pending, 32, SDL_PEEKEVENT, SDL_WINDOWEVENT, SDL_WINDOWEVENT);
      for (int i = 0; i < n; ++i)
        if (pending[i].window.event == SDL_WINDOWEVENT_ENTER &&
            windows_.count(pending[i].window.windowID) != 0)
          return false;
      out.Window = 0;
      break;
    }
    case bekFocusGained:
      if (TWindow* win = Find(out.Window); win && win->SkipFocusGained) {
        win->SkipFocusGained = false;
        return false;
      }
      focus_ = out.Window;
      break;
    case bekFocusLost:
      // Without a window manager showing a pop-up or a hint takes the focus
      // away for a moment; a loss the window gets back at once is no loss.
      if (FocusGainPending(ev.window.windowID)) {
        if (TWindow* win = Find(out.Window)) win->SkipFocusGained = true;
        return false;
      }
      if (focus_ == out.Window) focus_ = 0;
      break;
    default:
      break;
  }
  return true;
}

bool TSdlBackend::PollEvent(TBackendEvent& e) {
  for (;;) {
    SDL_Event ev;
    if (lookahead_) {
      ev = *lookahead_;
      lookahead_.reset();
    } else if (SDL_PollEvent(&ev) == 0) {
      return false;
    }
    if (Translate(ev, e)) return true;
  }
}

void TSdlBackend::WaitEvent(Cardinal timeoutMs) {
  if (lookahead_) return;
  SDL_Event ev;
  const int timeout = timeoutMs > Cardinal(INT_MAX) ? INT_MAX : static_cast<int>(timeoutMs);
  if (SDL_WaitEventTimeout(&ev, timeout) != 0) lookahead_ = std::make_unique<SDL_Event>(ev);
}

Cardinal TSdlBackend::TickCount() const {
  return SDL_GetTicks();
}

void TSdlBackend::Wake() {
  SDL_Event ev;
  std::memset(&ev, 0, sizeof ev);
  ev.type = wakeEvent_;
  SDL_PushEvent(&ev);
}

TRect TSdlBackend::ScreenRect() const {
  SDL_Rect r{0, 0, 0, 0};
  if (SDL_GetDisplayBounds(0, &r) != 0) return {};
  return TRect(r.x, r.y, r.x + r.w, r.y + r.h);
}

TRect TSdlBackend::WorkArea() const {
  SDL_Rect r{0, 0, 0, 0};
  if (SDL_GetDisplayUsableBounds(0, &r) != 0) return ScreenRect();
  return TRect(r.x, r.y, r.x + r.w, r.y + r.h);
}

TPoint TSdlBackend::CursorPos() const {
  int x = 0, y = 0;
  SDL_GetGlobalMouseState(&x, &y);
  return {x, y};
}

void TSdlBackend::SetCursorPos(const TPoint& p) {
  SDL_WarpMouseGlobal(ClampCoord(p.X), ClampCoord(p.Y));
}

void TSdlBackend::SetCursorShape(SmallInt cursor) {
  const int shape = SdlSystemCursor(cursor);
  if ((shape < 0) != cursorHidden_) {
    cursorHidden_ = shape < 0;
    SDL_ShowCursor(cursorHidden_ ? SDL_DISABLE : SDL_ENABLE);
  }
  if (shape < 0) return;
  SDL_Cursor*& c = cursors_[shape];
  if (!c) c = SDL_CreateSystemCursor(static_cast<SDL_SystemCursor>(shape));
  if (c && SDL_GetCursor() != c) SDL_SetCursor(c);
}

void TSdlBackend::CaptureMouse(bool capture) {
  SDL_CaptureMouse(capture ? SDL_TRUE : SDL_FALSE);
}

String TSdlBackend::ClipboardText() const {
  char* text = SDL_GetClipboardText();
  String s = text ? text : "";
  SDL_free(text);
  return s;
}

void TSdlBackend::SetClipboardText(const String& text) {
  SDL_SetClipboardText(text.c_str());
}

}  // namespace brevant
