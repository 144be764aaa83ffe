#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "backend/sdl_backend.h"
#include "controls/messages.h"
#include "rtl/exceptions.h"

using namespace brevant;

namespace {

Word Vk(SDL_Keycode key, SDL_Scancode scan = SDL_SCANCODE_UNKNOWN, Uint16 mod = KMOD_NONE) {
  return SdlKeyToVirtualKey(key, scan, mod);
}

TEST(SdlKeys, NamedKeys) {
  struct TRow {
    const char* Name;   // the key
    SDL_Keycode Key;    // SDL's keycode
    SDL_Scancode Scan;  // and position
    Word Expected;      // the virtual key (0: none)
  };
  const TRow rows[] = {
      {"Delete", SDLK_DELETE, SDL_SCANCODE_DELETE, 46},
      {"Down", SDLK_DOWN, SDL_SCANCODE_DOWN, 40},
      {"Up", SDLK_UP, SDL_SCANCODE_UNKNOWN, 38},
      {"Left", SDLK_LEFT, SDL_SCANCODE_UNKNOWN, VK_LEFT},
      {"Right", SDLK_RIGHT, SDL_SCANCODE_UNKNOWN, VK_RIGHT},
      {"Space", SDLK_SPACE, SDL_SCANCODE_SPACE, 32},
      {"Return", SDLK_RETURN, SDL_SCANCODE_UNKNOWN, VK_RETURN},
      {"Escape", SDLK_ESCAPE, SDL_SCANCODE_UNKNOWN, VK_ESCAPE},
      {"Tab", SDLK_TAB, SDL_SCANCODE_UNKNOWN, VK_TAB},
      {"Backspace", SDLK_BACKSPACE, SDL_SCANCODE_UNKNOWN, VK_BACK},
      {"Home", SDLK_HOME, SDL_SCANCODE_UNKNOWN, VK_HOME},
      {"End", SDLK_END, SDL_SCANCODE_UNKNOWN, VK_END},
      {"Page Up", SDLK_PAGEUP, SDL_SCANCODE_UNKNOWN, VK_PRIOR},
      {"Page Down", SDLK_PAGEDOWN, SDL_SCANCODE_UNKNOWN, VK_NEXT},
      {"Insert", SDLK_INSERT, SDL_SCANCODE_UNKNOWN, VK_INSERT},
      {"F1", SDLK_F1, SDL_SCANCODE_UNKNOWN, VK_F1},
      {"F10", SDLK_F10, SDL_SCANCODE_UNKNOWN, VK_F10},
      {"F12", SDLK_F12, SDL_SCANCODE_UNKNOWN, VK_F12},
      {"left Shift", SDLK_LSHIFT, SDL_SCANCODE_UNKNOWN, VK_SHIFT},
      {"right Shift", SDLK_RSHIFT, SDL_SCANCODE_UNKNOWN, VK_SHIFT},
      {"left Ctrl", SDLK_LCTRL, SDL_SCANCODE_UNKNOWN, VK_CONTROL},
      {"right Ctrl", SDLK_RCTRL, SDL_SCANCODE_UNKNOWN, VK_CONTROL},
      {"left Alt", SDLK_LALT, SDL_SCANCODE_UNKNOWN, VK_MENU},
      {"right Alt", SDLK_RALT, SDL_SCANCODE_UNKNOWN, VK_MENU},
      {"context menu", SDLK_APPLICATION, SDL_SCANCODE_UNKNOWN, VK_APPS},
      {"Caps Lock", SDLK_CAPSLOCK, SDL_SCANCODE_UNKNOWN, VK_CAPITAL},
      {"Num Lock", SDLK_NUMLOCKCLEAR, SDL_SCANCODE_UNKNOWN, VK_NUMLOCK},
      {"volume up has no virtual key", SDLK_VOLUMEUP, SDL_SCANCODE_VOLUMEUP, 0},
      {"an unknown key has none", SDLK_UNKNOWN, SDL_SCANCODE_UNKNOWN, 0},
  };
  for (const TRow& row : rows) EXPECT_EQ(Vk(row.Key, row.Scan), row.Expected) << row.Name;
}

TEST(SdlKeys, CharactersFollowTheLayoutThenThePosition) {
  EXPECT_EQ(Vk('a', SDL_SCANCODE_A), 'A');
  EXPECT_EQ(Vk('z', SDL_SCANCODE_Z), 'Z');
  EXPECT_EQ(Vk('0', SDL_SCANCODE_0), '0');
  EXPECT_EQ(Vk('9', SDL_SCANCODE_9), '9');
  // A French layout: the key at the US 'A' position types 'q'.
  EXPECT_EQ(Vk('q', SDL_SCANCODE_A), 'Q');
  // A Cyrillic layout: no Latin letter, so the position decides.
  EXPECT_EQ(Vk(0x0444, SDL_SCANCODE_A), 'A');
  EXPECT_EQ(Vk(0x0441, SDL_SCANCODE_C), 'C');
  // Punctuation, and a non-Latin character on a punctuation key.
  EXPECT_EQ(Vk(',', SDL_SCANCODE_COMMA), 0xBC);
  EXPECT_EQ(Vk('-', SDL_SCANCODE_MINUS), 0xBD);
  EXPECT_EQ(Vk(0xFC, SDL_SCANCODE_LEFTBRACKET), 0xDB);
}

TEST(SdlKeys, KeypadDependsOnNumLock) {
  EXPECT_EQ(Vk(SDLK_KP_1, SDL_SCANCODE_KP_1, KMOD_NUM), VK_NUMPAD1);
  EXPECT_EQ(Vk(SDLK_KP_0, SDL_SCANCODE_KP_0, KMOD_NUM), VK_NUMPAD0);
  EXPECT_EQ(Vk(SDLK_KP_9, SDL_SCANCODE_KP_9, KMOD_NUM), VK_NUMPAD9);
  EXPECT_EQ(Vk(SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, KMOD_NUM), VK_DECIMAL);
  EXPECT_EQ(Vk(SDLK_KP_1, SDL_SCANCODE_KP_1), VK_END);
  EXPECT_EQ(Vk(SDLK_KP_8, SDL_SCANCODE_KP_8), VK_UP);
  EXPECT_EQ(Vk(SDLK_KP_5, SDL_SCANCODE_KP_5), VK_CLEAR);
  EXPECT_EQ(Vk(SDLK_KP_0, SDL_SCANCODE_KP_0), VK_INSERT);
  EXPECT_EQ(Vk(SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD), VK_DELETE);
  // Operators do not depend on Num Lock.
  EXPECT_EQ(Vk(SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS), VK_ADD);
  EXPECT_EQ(Vk(SDLK_KP_MINUS), VK_SUBTRACT);
  EXPECT_EQ(Vk(SDLK_KP_MULTIPLY), VK_MULTIPLY);
  EXPECT_EQ(Vk(SDLK_KP_DIVIDE), VK_DIVIDE);
  EXPECT_EQ(Vk(SDLK_KP_ENTER), VK_RETURN);
  // SDL may report a keypad key with a plain character keycode.
  EXPECT_EQ(Vk('+', SDL_SCANCODE_KP_PLUS), VK_ADD);
  EXPECT_EQ(Vk('7', SDL_SCANCODE_KP_7, KMOD_NUM), VK_NUMPAD7);
}

TEST(SdlConversions, ModifiersWheelAndCursors) {
  EXPECT_EQ(SdlModifiers(KMOD_LSHIFT), bmShift);
  EXPECT_EQ(SdlModifiers(KMOD_RCTRL), bmCtrl);
  EXPECT_EQ(SdlModifiers(KMOD_LALT | KMOD_RSHIFT), bmAlt | bmShift);
  EXPECT_EQ(SdlModifiers(KMOD_NUM | KMOD_CAPS | KMOD_GUI), 0);

  EXPECT_EQ(SdlWheelDelta(1, false), 120);
  EXPECT_EQ(SdlWheelDelta(-2, false), -240);
  EXPECT_EQ(SdlWheelDelta(1, true), -120);
  EXPECT_EQ(SdlWheelDelta(0, false), 0);
  EXPECT_EQ(SdlWheelDelta(INT32_MAX, false), 120000);
  EXPECT_EQ(SdlWheelDelta(INT32_MIN, true), 120000);

  struct TCursorRow {
    const char* Name;  // the cursor
    TCursor Cursor;    // the platform's cursor
    int Expected;      // SDL's system cursor (-1: none shown)
  };
  const TCursorRow cursors[] = {
      {"none", crNone, -1},
      {"default", crDefault, SDL_SYSTEM_CURSOR_ARROW},
      {"arrow", crArrow, SDL_SYSTEM_CURSOR_ARROW},
      {"text beam", crIBeam, SDL_SYSTEM_CURSOR_IBEAM},
      {"hour glass", crHourGlass, SDL_SYSTEM_CURSOR_WAIT},
      {"cross", crCross, SDL_SYSTEM_CURSOR_CROSSHAIR},
      {"north-south", crSizeNS, SDL_SYSTEM_CURSOR_SIZENS},
      {"vertical split", crVSplit, SDL_SYSTEM_CURSOR_SIZENS},
      {"west-east", crSizeWE, SDL_SYSTEM_CURSOR_SIZEWE},
      {"size all", crSizeAll, SDL_SYSTEM_CURSOR_SIZEALL},
      {"hand", crHandPoint, SDL_SYSTEM_CURSOR_HAND},
      {"no entry", crNo, SDL_SYSTEM_CURSOR_NO},
      {"an application cursor", 5, SDL_SYSTEM_CURSOR_ARROW},
  };
  for (const TCursorRow& row : cursors)
    EXPECT_EQ(SdlSystemCursor(row.Cursor), row.Expected) << row.Name;
}

// Two windows: a form at (100, 50) sized 300x200 and a pop-up.
struct TEventFixture : ::testing::Test {
  std::map<std::uint32_t, TSdlWindowState> windows{
      {7, {7, nwkNormal, TRect(100, 50, 400, 250)}},
      {8, {8, nwkPopup, TRect(120, 80, 220, 180)}},
  };
  TSdlWindowFinder find = [this](std::uint32_t id) -> TSdlWindowState* {
    auto it = windows.find(id);
    return it == windows.end() ? nullptr : &it->second;
  };
  TBackendEvent out;

  bool Convert(const SDL_Event& e, Byte mods = 0) { return ConvertSdlEvent(e, find, mods, out); }
  static SDL_Event WindowEvent(std::uint32_t id, Uint8 kind, Sint32 d1 = 0, Sint32 d2 = 0) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id;
    e.window.event = kind;
    e.window.data1 = d1;
    e.window.data2 = d2;
    return e;
  }
};

TEST_F(TEventFixture, MouseEventsAreInScreenCoordinates) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.timestamp = 1234;
  e.motion.windowID = 7;
  e.motion.x = 10;
  e.motion.y = 20;
  ASSERT_TRUE(Convert(e, bmShift));
  EXPECT_EQ(out.Kind, bekMouseMove);
  EXPECT_EQ(out.Window, 7);
  EXPECT_EQ(out.ScreenPos, TPoint(110, 70));
  EXPECT_EQ(out.Modifiers, bmShift);
  EXPECT_EQ(out.Time, 1234u);

  e.motion.windowID = 99;  // not ours (or already destroyed)
  ASSERT_TRUE(Convert(e));
  EXPECT_EQ(out.Window, 0);

  e = SDL_Event{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.windowID = 8;
  e.button.button = SDL_BUTTON_RIGHT;
  e.button.x = -5;  // captured pointer left of the window
  e.button.y = 3;
  ASSERT_TRUE(Convert(e));
  EXPECT_EQ(out.Kind, bekMouseDown);
  EXPECT_EQ(out.Button, bbRight);
  EXPECT_EQ(out.Window, 8);
  EXPECT_EQ(out.ScreenPos, TPoint(115, 83));
  e.type = SDL_MOUSEBUTTONUP;
  e.button.button = SDL_BUTTON_MIDDLE;
  ASSERT_TRUE(Convert(e));
  EXPECT_EQ(out.Kind, bekMouseUp);
  EXPECT_EQ(out.Button, bbMiddle);
  e.button.button = SDL_BUTTON_X1;
  EXPECT_FALSE(Convert(e));

  e = SDL_Event{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = 7;
  e.wheel.y = 1;
  e.wheel.mouseX = 1;
  e.wheel.mouseY = 2;
  ASSERT_TRUE(Convert(e));
  EXPECT_EQ(out.Kind, bekWheel);
  EXPECT_EQ(out.WheelDelta, 120);
  EXPECT_EQ(out.ScreenPos, TPoint(101, 52));
  e.wheel.direction = SDL_MOUSEWHEEL_FLIPPED;
  ASSERT_TRUE(Convert(e));
  EXPECT_EQ(out.WheelDelta, -120);
  e.wheel.y = 0;
  e.wheel.x = 3;  // horizontal only
  EXPECT_FALSE(Convert(e));
}

TEST_F(TEventFixture, KeysAndText) {
  SDL_Event e{};
  e.type = SDL_KEYDOWN;
  e.key.windowID = 7;
  e.key.repeat = 1;
  e.key.keysym.sym = SDLK_DELETE;
  e.key.keysym.scancode = SDL_SCANCODE_DELETE;
  e.key.keysym.mod = KMOD_LCTRL | KMOD_NUM;
  ASSERT_TRUE(Convert(e));
  EXPECT_EQ(out.Kind, bekKeyDown);
  EXPECT_EQ(out.Key, VK_DELETE);
  EXPECT_TRUE(out.Repeat);
  EXPECT_EQ(out.Modifiers, bmCtrl);
  EXPECT_EQ(out.Window, 7);
  e.type = SDL_KEYUP;
  e.key.repeat = 0;
  ASSERT_TRUE(Convert(e));
  EXPECT_EQ(out.Kind, bekKeyUp);
  EXPECT_FALSE(out.Repeat);
  e.key.keysym.sym = SDLK_VOLUMEUP;
  e.key.keysym.scancode = SDL_SCANCODE_VOLUMEUP;
  EXPECT_FALSE(Convert(e));

  e = SDL_Event{};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = 7;
  std::strcpy(e.text.text, "\xC3\xA9");
  ASSERT_TRUE(Convert(e));
  EXPECT_EQ(out.Kind, bekText);
  EXPECT_EQ(out.Text, "\xC3\xA9");
  // A full buffer without a terminator is read only up to its size.
  std::memset(e.text.text, 'x', sizeof e.text.text);
  ASSERT_TRUE(Convert(e));
  EXPECT_EQ(out.Text.size(), sizeof e.text.text);
  e.text.text[0] = 0;
  EXPECT_FALSE(Convert(e));
}

TEST_F(TEventFixture, WindowEvents) {
  ASSERT_TRUE(Convert(WindowEvent(7, SDL_WINDOWEVENT_MOVED, 30, 40)));
  EXPECT_EQ(out.Kind, bekMoved);
  EXPECT_EQ(out.Bounds, TRect(30, 40, 330, 240));
  EXPECT_EQ(windows[7].Bounds, TRect(30, 40, 330, 240));
  EXPECT_FALSE(Convert(WindowEvent(7, SDL_WINDOWEVENT_MOVED, 30, 40)));  // nothing new

  ASSERT_TRUE(Convert(WindowEvent(7, SDL_WINDOWEVENT_SIZE_CHANGED, 500, 100)));
  EXPECT_EQ(out.Kind, bekResized);
  EXPECT_EQ(out.Bounds, TRect(30, 40, 530, 140));
  EXPECT_FALSE(Convert(WindowEvent(7, SDL_WINDOWEVENT_RESIZED, 500, 100)));
  ASSERT_TRUE(Convert(WindowEvent(7, SDL_WINDOWEVENT_SIZE_CHANGED, -3, 100)));
  EXPECT_EQ(out.Bounds, TRect(30, 40, 30, 140));

  ASSERT_TRUE(Convert(WindowEvent(7, SDL_WINDOWEVENT_CLOSE)));
  EXPECT_EQ(out.Kind, bekClose);
  EXPECT_EQ(out.Window, 7);
  ASSERT_TRUE(Convert(WindowEvent(8, SDL_WINDOWEVENT_EXPOSED)));
  EXPECT_EQ(out.Kind, bekExposed);
  EXPECT_EQ(out.Window, 8);
  ASSERT_TRUE(Convert(WindowEvent(7, SDL_WINDOWEVENT_FOCUS_GAINED)));
  EXPECT_EQ(out.Kind, bekFocusGained);
  ASSERT_TRUE(Convert(WindowEvent(7, SDL_WINDOWEVENT_FOCUS_LOST)));
  EXPECT_EQ(out.Kind, bekFocusLost);
  EXPECT_FALSE(Convert(WindowEvent(8, SDL_WINDOWEVENT_FOCUS_GAINED)));  // a pop-up
  ASSERT_TRUE(Convert(WindowEvent(8, SDL_WINDOWEVENT_LEAVE)));
  EXPECT_EQ(out.Kind, bekMouseLeft);
  EXPECT_FALSE(Convert(WindowEvent(7, SDL_WINDOWEVENT_ENTER)));
  EXPECT_FALSE(Convert(WindowEvent(99, SDL_WINDOWEVENT_CLOSE)));  // not ours

  SDL_Event quit{};
  quit.type = SDL_QUIT;
  ASSERT_TRUE(Convert(quit));
  EXPECT_EQ(out.Kind, bekQuit);
}

// Sets an environment variable for one scope.
class TEnvVar {
 public:
  TEnvVar(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~TEnvVar() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST(SdlBackendOpen, AMissingDisplayFailsLoudly) {
  TEnvVar driver("SDL_VIDEODRIVER", "x11");
  TEnvVar display("DISPLAY", ":987");
  try {
    TSdlBackend::Open();
    FAIL() << "a backend opened without a display";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("Cannot start the video system: "), String::npos) << e.Message();
  }
}

// ---- a real window (needs an X display) ----------------------------------------------------

bool HaveCommand(const char* name) {
  return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Polls until `pred` accepts an event or `ms` milliseconds passed.
template <class Pred>
bool WaitFor(TBackend& b, Cardinal ms, Pred pred, std::vector<TBackendEvent>* seen = nullptr) {
  const Cardinal end = b.TickCount() + ms;
  while (b.TickCount() < end) {
    b.WaitEvent(20);
    TBackendEvent e;
    while (b.PollEvent(e)) {
      if (seen) seen->push_back(e);
      if (pred(e)) return true;
    }
  }
  return false;
}

TEST(SdlBackendDisplay, WindowsSurfacesAndInput) {
  if (!std::getenv("DISPLAY") || !*std::getenv("DISPLAY")) GTEST_SKIP() << "no X display";
  TEnvVar driver("SDL_VIDEODRIVER", "x11");
  std::unique_ptr<TBackend> owned = TSdlBackend::Open();
  auto& b = static_cast<TSdlBackend&>(*owned);
  EXPECT_STREQ(b.Name(), "sdl");
  EXPECT_FALSE(b.IsOffscreen());
  const TRect screen = b.ScreenRect();
  EXPECT_GT(screen.Width(), 0);
  EXPECT_GT(b.WorkArea().Height(), 0);

  TNativeWindowParams p;
  p.Bounds = TRect(50, 60, 250, 160);
  p.Caption = "Brevant \xE2\x9C\x93";
  const TNativeWindow form = b.CreateNativeWindow(p);
  ASSERT_NE(form, 0);
  TSurface s = b.Surface(form);
  ASSERT_NE(s.Pixels, nullptr);
  EXPECT_EQ(s.Width, 200);
  EXPECT_EQ(s.Height, 100);
  EXPECT_GE(s.Stride, 200 * 4);
  // On a 24-bit X display the backend draws straight into SDL's window surface.
  SDL_Surface* native = SDL_GetWindowSurface(b.SdlWindow(form));
  ASSERT_NE(native, nullptr);
  if (native->format->format == SDL_PIXELFORMAT_RGB888) {
    EXPECT_EQ(native->pixels, s.Pixels);
  }
  for (Integer y = 0; y < s.Height; ++y)
    for (Integer x = 0; x < s.Width; ++x)
      s.Pixels[y * (s.Stride / 4) + x] = x < 100 ? 0x00FF0000u : 0x000000FFu;
  b.ShowNativeWindow(form, true, true);
  b.Present(form, TRect(-10, -10, 1000, 1000));  // clipped to the surface
  EXPECT_TRUE(WaitFor(b, 2000, [](const TBackendEvent& e) { return e.Kind == bekExposed; }));

  // Resizing keeps the pixels where old and new overlap.
  b.SetNativeBounds(form, TRect(40, 30, 340, 180));
  s = b.Surface(form);
  ASSERT_NE(s.Pixels, nullptr);
  EXPECT_EQ(s.Width, 300);
  EXPECT_EQ(s.Height, 150);
  EXPECT_EQ(s.Pixels[5 * (s.Stride / 4) + 5], 0x00FF0000u);
  EXPECT_EQ(s.Pixels[5 * (s.Stride / 4) + 150], 0x000000FFu);
  EXPECT_EQ(s.Pixels[120 * (s.Stride / 4) + 250], 0u);
  b.Present(form, TRect(0, 0, 300, 150));

  // A wake ends a wait at once and leaves no event behind.
  b.Wake();
  const auto t0 = std::chrono::steady_clock::now();
  b.WaitEvent(5000);
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(2));
  TBackendEvent e;
  while (b.PollEvent(e)) EXPECT_NE(e.Kind, bekNone);

  b.SetCursorPos(TPoint(70, 80));
  EXPECT_EQ(b.CursorPos(), TPoint(70, 80));
  b.SetCursorShape(crIBeam);
  b.SetCursorShape(crNone);
  b.SetCursorShape(crDefault);

  const String clip = "h\xC3\xA9llo \xE2\x9C\x93";
  b.SetClipboardText(clip);
  EXPECT_EQ(b.ClipboardText(), clip);

  // A tooltip shown over the form leaves the keyboard focus with the form.
  TNativeWindowParams tp;
  tp.Kind = nwkTooltip;
  tp.Bounds = TRect(60, 70, 160, 90);
  tp.Owner = form;
  const TNativeWindow tip = b.CreateNativeWindow(tp);
  b.ShowNativeWindow(tip, true, false);
  std::vector<TBackendEvent> seen;
  WaitFor(
      b, 300, [](const TBackendEvent&) { return false; }, &seen);
  EXPECT_EQ(SDL_GetKeyboardFocus(), b.SdlWindow(form));
  for (const auto& ev : seen)
    EXPECT_TRUE(ev.Kind != bekFocusLost && ev.Kind != bekFocusGained) << "kind " << int(ev.Kind);
  b.DestroyNativeWindow(tip);

  // So does a pop-up, also after it closed.
  TNativeWindowParams pp = tp;
  pp.Kind = nwkPopup;
  const TNativeWindow pop = b.CreateNativeWindow(pp);
  b.ShowNativeWindow(pop, true, false);
  seen.clear();
  WaitFor(
      b, 300, [](const TBackendEvent&) { return false; }, &seen);
  b.ShowNativeWindow(pop, false, false);
  b.DestroyNativeWindow(pop);
  WaitFor(
      b, 300, [](const TBackendEvent&) { return false; }, &seen);
  EXPECT_EQ(SDL_GetKeyboardFocus(), b.SdlWindow(form));
  for (const auto& ev : seen)
    EXPECT_TRUE(ev.Kind != bekFocusLost && ev.Kind != bekFocusGained) << "kind " << int(ev.Kind);

  // Input typed and clicked by another program arrives as backend events.
  // Only on a private display: the input goes wherever the focus is.
  const char* drive = std::getenv("BREVANT_XDOTOOL");
  if (drive && std::string(drive) == "1" && HaveCommand("xdotool")) {
    seen.clear();
    ASSERT_EQ(std::system("xdotool key a"), 0);
    EXPECT_TRUE(WaitFor(
        b, 2000, [](const TBackendEvent& ev) { return ev.Kind == bekText; }, &seen));
    bool down = false;
    for (const auto& ev : seen)
      if (ev.Kind == bekKeyDown && ev.Key == 'A' && ev.Window == form) down = true;
    EXPECT_TRUE(down);
    EXPECT_EQ(seen.back().Text, "a");

    seen.clear();
    ASSERT_EQ(std::system("xdotool mousemove 100 90 click 1"), 0);
    EXPECT_TRUE(WaitFor(
        b, 2000, [](const TBackendEvent& ev) { return ev.Kind == bekMouseUp; }, &seen));
    bool pressed = false;
    for (const auto& ev : seen)
      if (ev.Kind == bekMouseDown && ev.Window == form && ev.Button == bbLeft) {
        pressed = true;
        EXPECT_EQ(ev.ScreenPos, TPoint(100, 90));
      }
    EXPECT_TRUE(pressed);

    seen.clear();
    ASSERT_EQ(std::system("xdotool click 4"), 0);  // the wheel turned away from the user
    EXPECT_TRUE(WaitFor(
        b, 2000, [](const TBackendEvent& ev) { return ev.Kind == bekWheel; }, &seen));
    EXPECT_EQ(seen.back().WheelDelta, 120);
  }

  // SIGTERM asks the application to end.
  std::raise(SIGTERM);
  EXPECT_TRUE(WaitFor(b, 2000, [](const TBackendEvent& ev) { return ev.Kind == bekQuit; }));

  b.DestroyNativeWindow(form);
  EXPECT_EQ(b.Surface(form).Pixels, nullptr);
  b.Present(form, TRect(0, 0, 10, 10));  // a stale handle does nothing
}

}  // namespace
