// The window manager's state, shared by the wincore*.cpp files only.
#pragma once

#include <deque>
#include <memory>
#include <utility>
#include <vector>

#include "backend/backend.h"
#include "controls/wincore.h"
#include "graphics/bitmap.h"
#include "graphics/canvas.h"
#include "graphics/region.h"

namespace brevant::wm {

// The arrow buttons' and bars' size (SM_CXVSCROLL and friends).
constexpr Integer kScrollSize = 17;
constexpr Integer kMinThumb = 8;
constexpr Cardinal kScrollFirstDelay = 350;
constexpr Cardinal kScrollRepeat = 50;
constexpr Cardinal kMinTimerElapse = 10;
constexpr Cardinal kDoubleClickTime = 500;

struct TScrollBarState {
  Integer Min = 0;
  Integer Max = 0;
  Cardinal Page = 0;
  Integer Pos = 0;
  bool Disabled = false;  // shown without a range (SIF_DISABLENOSCROLL)
};

struct TWnd {
  HWND Handle = 0;
  bool Alive = true;
  bool Destroying = false;
  IWindowProc* Proc = nullptr;
  HWND Parent = 0;
  HWND Owner = 0;
  std::vector<HWND> Children;  // z-order, topmost first
  Cardinal Style = 0;
  Cardinal ExStyle = 0;
  Cardinal ClassStyle = 0;
  String Text;
  String ClassName;
  TRect Rect;                 // parent's client coordinates (screen for top-level windows)
  TRect Client;               // relative to the window's top-left
  TRect VBar, HBar, SizeBox;  // relative to the window's top-left; empty when none
  TNativeWindow Native = 0;
  TRegion Update;  // client coordinates
  bool Erase = false;
  bool FrameInvalid = false;
  bool PaintPending = false;  // counted in TState::PendingPaints
  std::uint64_t PaintSerial = 0;
  bool HasShape = false;
  TRegion Shape;            // window coordinates
  TScrollBarState Bars[2];  // SB_HORZ, SB_VERT
  Integer Background = 0;
  TObjectPtr<TCanvas> PaintCanvas;
};

struct TTimer {
  HWND Wnd = 0;
  WPARAM Id = 0;
  Cardinal Elapse = 0;
  Cardinal Due = 0;
  std::uint64_t Order = 0;
};

enum TScrollPart : Byte { spNone, spLineUp, spPageUp, spThumb, spPageDown, spLineDown };

struct TScrollTrack {
  bool Active = false;
  HWND Wnd = 0;
  Integer Bar = SB_VERT;
  TScrollPart Part = spNone;
  bool Pressed = false;    // the pointer is over the part held (for repeats and drawing)
  Integer GrabOffset = 0;  // pointer minus thumb start, along the bar
  Integer TrackPos = 0;
  Cardinal NextRepeat = 0;
  TPoint Pointer;  // last pointer position, screen
};

struct TDC {
  TObjectPtr<TCanvas> Canvas;
  HWND Wnd = 0;
  TNativeWindow Native = 0;
};

struct TState {
  std::vector<std::unique_ptr<TWnd>> Windows;  // by handle; null once destroyed
  std::vector<std::unique_ptr<TWnd>> Graveyard;
  std::vector<HWND> TopLevels;  // z-order, topmost first
  std::deque<TMsg> Queue;
  std::deque<TBackendEvent> RawInput;
  bool QuitPending = false;
  TMessagePreprocessor Preprocessor = nullptr;
  Integer QuitCode = 0;
  Integer PendingPaints = 0;
  std::vector<TTimer> Timers;
  std::uint64_t TimerOrder = 0;
  HWND Focus = 0;
  HWND Active = 0;
  HWND Capture = 0;
  HWND Hover = 0;
  bool ActivatingForFocus = false;
  TCursor Cursor = crDefault;
  Byte KeyState[256] = {};
  TScrollTrack Track;
  // Double clicks: the last button press.
  HWND LastDownWnd = 0;
  Cardinal LastDownMsg = 0;
  Cardinal LastDownTime = 0;
  TPoint LastDownPos;
  bool LastDownValid = false;
  Cardinal MessageTime = 0;
  TPoint MessagePos;
  std::vector<TDC> DCs;
  std::unique_ptr<TBitmap> ClipboardBitmap;
  Integer SendDepth = 0;
  bool MenuKeyAlone = false;  // Alt is down and no other key or button went down since
  HWND CurrentWindow = 0;     // the target of the innermost SendMessage
};

TState& S();
TWnd* W(HWND h);  // the live window or nullptr

// ---- geometry (wincore.cpp) -----------------------------------------------------
// Window / client origin on the top-level surface.
TPoint WindowOrigin(const TWnd* w);
TPoint ClientOrigin(const TWnd* w);
TPoint ScreenOrigin(const TWnd* w);  // the window's top-left on the screen
HWND TopLevelOf(HWND h);
bool Visible(const TWnd* w);  // itself and every ancestor
bool Enabled(const TWnd* w);  // itself and every ancestor
// The visible part of the client area (or whole window) on the surface.
TRegion VisibleRegion(const TWnd* w, bool client);
// Sends WM_NCCALCSIZE and stores the client rectangle; true when the
// client size changed.
bool RecalcFrame(HWND h);
bool HasNonClient(const TWnd* w);

// The window that takes a mouse event at a screen point and its hit-test
// code (sends WM_NCHITTEST; HTTRANSPARENT passes the point on).
std::pair<HWND, LRESULT> HitTest(TPoint screenPos);

// ---- painting (wincore_paint.cpp) -----------------------------------------------
void UpdatePending(TWnd* w);
// Invalidates area (parent client coordinates of `h`'s children: i.e. the
// client coordinates of h) in h and every visible child beneath it.
void InvalidateArea(HWND h, const TRect& area, bool erase);
// The whole window and every descendant, frames included.
void InvalidateTree(HWND h);
void ClearPaintTree(TWnd* w);
// Sends WM_PAINT (and WM_NCPAINT for an invalid frame) now.
void PaintNow(HWND h);
// The first window to paint, parents first (0: none).
HWND FindPaintWindow(HWND filter);
void DetachCanvases(HWND topLevel);
TSurface SurfaceOf(const TWnd* w);
void DrawFrame(HWND h);

// ---- scroll bars (wincore_scrollbar.cpp) ------------------------------------------
void DrawScrollBars(HWND h, TCanvas* windowDC);
void DrawScrollBar(HWND h, Integer bar);
bool StartScrollTrack(HWND h, Integer bar, TPoint screenPos);
// Feeds raw pointer input to the tracking loop; true when consumed.
bool TrackScrollInput(const TBackendEvent& e);
// Repeats held arrows and track presses; true when it sent something.
bool ScrollRepeat();
void CancelScrollTrack();
// The next tick at which ScrollRepeat wants to run (false: none).
bool NextScrollRepeat(Cardinal& due);

// ---- input (wincore_input.cpp) ------------------------------------------------------
// Translates the next raw backend event into queued messages; false when
// no raw event waits.
bool TranslateNextInput();
void ActivateTopLevel(HWND top, bool click);

// ---- messages (wincore.cpp) ------------------------------------------------------------
void Post(HWND h, Cardinal msg, WPARAM wp, LPARAM lp, Cardinal time, TPoint pt);
void PostFront(const TMsg& m);
void RemoveWindowMessages(HWND h);

}  // namespace brevant::wm
