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
  HWND Handle = 0;                  // its own handle: the index in TState::Windows
  bool Alive = true;                // false once destroyed (W() then answers nullptr)
  bool Destroying = false;          // DestroyWindow is under way: no focus, activation or repaint
  IWindowProc* Proc = nullptr;      // receives its messages
  HWND Parent = 0;                  // 0 for a top-level window
  HWND Owner = 0;                   // the top-level window it stays above
  std::vector<HWND> Children;       // z-order, topmost first
  Cardinal Style = 0;               // WS_ bits
  Cardinal ExStyle = 0;             // WS_EX_ bits
  Cardinal ClassStyle = 0;          // CS_ bits (double clicks ...)
  String Text;                      // the caption (WM_SETTEXT, WM_GETTEXT)
  String ClassName;                 // the class it was created with
  TRect Rect;                       // parent's client coordinates (screen for top-level windows)
  TRect Client;                     // relative to the window's top-left
  TRect VBar, HBar, SizeBox;        // relative to the window's top-left; empty when none
  TNativeWindow Native = 0;         // a top-level window's backend surface (0 for children)
  TRegion Update;                   // what needs painting, client coordinates
  bool Erase = false;               // the next BeginPaint sends WM_ERASEBKGND
  bool FrameInvalid = false;        // the non-client area needs WM_NCPAINT
  bool PaintPending = false;        // counted in TState::PendingPaints
  std::uint64_t PaintSerial = 0;    // counts BeginPaint calls: did a WM_PAINT handler paint?
  bool HasShape = false;            // Shape clips the window
  TRegion Shape;                    // window coordinates
  TScrollBarState Bars[2];          // SB_HORZ, SB_VERT
  Integer Background = 0;           // what WM_ERASEBKGND fills with (clNone: nothing)
  TObjectPtr<TCanvas> PaintCanvas;  // the canvas BeginPaint hands out
};

struct TTimer {
  HWND Wnd = 0;             // gets WM_TIMER
  WPARAM Id = 0;            // the timer's identifier within Wnd
  Cardinal Elapse = 0;      // the interval, milliseconds
  Cardinal Due = 0;         // the backend time it fires next
  std::uint64_t Order = 0;  // when it was set: breaks ties between timers due together
};

enum TScrollPart : Byte { spNone, spLineUp, spPageUp, spThumb, spPageDown, spLineDown };

struct TScrollTrack {
  bool Active = false;        // a part of a scroll bar is held down
  HWND Wnd = 0;               // the window whose bar it is
  Integer Bar = SB_VERT;      // SB_VERT or SB_HORZ
  TScrollPart Part = spNone;  // the part held
  bool Pressed = false;       // the pointer is over the part held (for repeats and drawing)
  Integer GrabOffset = 0;     // pointer minus thumb start, along the bar
  Integer TrackPos = 0;       // the thumb's position while dragged (32 bits)
  Cardinal NextRepeat = 0;    // the backend time of the next line or page repeat
  TPoint Pointer;             // last pointer position, screen
};

// A canvas handed out by GetDC and not yet released.
struct TDC {
  TObjectPtr<TCanvas> Canvas;  // draws on the window's part of its surface
  HWND Wnd = 0;                // the window it was asked for
  TNativeWindow Native = 0;    // the surface it draws on
};

struct TState {
  std::vector<std::unique_ptr<TWnd>> Windows;  // by handle; null once destroyed
  // Destroyed windows, kept until no SendMessage is on the stack (a handler
  // that destroyed its own window still runs on it).
  std::vector<std::unique_ptr<TWnd>> Graveyard;
  std::vector<HWND> TopLevels;         // z-order, topmost first
  std::deque<TMsg> Queue;              // posted messages, oldest first
  std::deque<TBackendEvent> RawInput;  // backend events not yet turned into messages
  bool QuitPending = false;            // PostQuitMessage ran: WM_QUIT comes when the queue is empty
  TMessagePreprocessor Preprocessor = nullptr;  // sees every message before it is dispatched
  Integer QuitCode = 0;                         // WM_QUIT's WParam
  Integer PendingPaints = 0;                    // windows with PaintPending set
  std::vector<TTimer> Timers;
  std::uint64_t TimerOrder = 0;     // the last TTimer::Order given
  HWND Focus = 0;                   // gets the keys
  HWND Active = 0;                  // the active top-level window
  HWND Capture = 0;                 // gets the mouse wherever it is
  HWND Hover = 0;                   // under the pointer (mouse enter and leave)
  bool ActivatingForFocus = false;  // SetFocus activates a window: WM_ACTIVATE leaves the focus
  TCursor Cursor = crDefault;       // the cursor shown
  Byte KeyState[256] = {};          // per virtual key: 0x80 down, 0x01 toggled
  TScrollTrack Track;               // the scroll bar part held down, if any
  // Double clicks: the last button press.
  HWND LastDownWnd = 0;
  Cardinal LastDownMsg = 0;
  Cardinal LastDownTime = 0;
  TPoint LastDownPos;
  bool LastDownValid = false;
  Cardinal MessageTime = 0;  // of the message being dispatched (GetMessageTime)
  TPoint MessagePos;         // the pointer when it was queued (GetMessagePos)
  std::vector<TDC> DCs;
  std::unique_ptr<TBitmap> ClipboardBitmap;  // the clipboard's picture, if any
  Integer SendDepth = 0;                     // SendMessage calls on the stack
  bool MenuKeyAlone = false;  // Alt is down and no other key or button went down since
  HWND CurrentWindow = 0;     // the target of the innermost SendMessage
};

TState& WindowManager();  // the one window manager's state
TWnd* W(HWND h);          // the live window or nullptr

// ---- geometry (wincore.cpp; HitTest in wincore_geometry.cpp) ---------------------
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

// ---- focus (wincore_focus.cpp) -------------------------------------------------------
// Makes top the active top-level window (0: none), with WM_ACTIVATE to both.
void ActivateTopLevel(HWND top, bool click);

// ---- the window tree (wincore.cpp) ---------------------------------------------------
bool InSubtree(HWND root, HWND h);  // h is root or one of its descendants
bool CanActivate(const TWnd* w);    // a visible, enabled top-level window that may be active
// Clears WS_VISIBLE and takes hover, capture, focus and activation away from the window.
void HideInternal(HWND h);
bool ApplyZOrder(HWND h, HWND after);  // true when the position changed
// WM_MOVE then WM_SIZE, as after a position change; creation sends them the other way round.
void SendSizeAndMove(HWND h, bool moved, bool sized, bool sizeFirst = false);
String TextFromParam(LPARAM lp);  // a message's text parameter (nullptr: empty)

// ---- messages (wincore.cpp) ------------------------------------------------------------
void Post(HWND h, Cardinal msg, WPARAM wp, LPARAM lp, Cardinal time, TPoint pt);
void PostFront(const TMsg& m);
void RemoveWindowMessages(HWND h);

}  // namespace brevant::wm
