// The window manager: window handles, the message queue, painting, the
// non-client area and scroll bars, focus, capture, timers, and the
// translation of backend input into messages. It speaks the classic window
// API so controls are written the way their behaviour is described.
//
// Windows form a tree. Top-level windows are native windows of the backend
// with their own pixel surface; child windows are rectangles within their
// top-level window's surface, clipped to their ancestors' client areas, to
// the siblings above them and to their own children.
//
// Painting is lazy: InvalidateRect adds to a window's update region; when
// the queue holds no other message, GetMessage/PeekMessage produce WM_PAINT
// for windows with a non-empty update region (parents before children), and
// the paint's clip rectangle is the bounding box of that region. UpdateWindow
// paints pending areas at once. After painting, the changed part of the
// surface is presented by the backend.
//
// Coordinates: window rectangles are in the parent's client coordinates
// (screen coordinates for top-level windows); client coordinates start at
// the top-left of the client area, inside borders and scroll bars.
//
// Parameters that carry pointers here:
//   WM_NCCREATE, WM_CREATE   LParam: TCreateParams* (a copy)
//   WM_NCCALCSIZE            LParam: TRect*, in: the window rectangle (parent
//                            client coordinates), out: the client rectangle
//   WM_WINDOWPOSCHANGING/ED  LParam: TWindowPos*
//   WM_ERASEBKGND            WParam: the paint's TCanvas*; answer 1 when erased
//   WM_NCPAINT               WParam: 1 (paint through GetWindowDC)
//   WM_SETTEXT               LParam: const char* (UTF-8, NUL-terminated)
//   WM_GETTEXT               WParam: buffer size, LParam: char* buffer
// Mouse input is translated when the queue reaches it, so routing sees the
// capture and focus left by the messages before it. WM_MOUSELEAVE is posted
// to the window the pointer left. WM_RBUTTONUP's default sends WM_CONTEXTMENU.
#pragma once

#include <vector>

#include "controls/messages.h"
#include "rtl/types.h"

namespace brevant {

class TBitmap;
class TCanvas;
class TRegion;

// IWindowProc, the object that handles a window's messages, is declared in
// controls/controls_fwd.h (included through messages.h).

struct TCreateParams {
  String Caption;
  Cardinal Style = 0;
  Cardinal ExStyle = 0;
  Cardinal ClassStyle = 0;  // CS_DBLCLKS ...
  Integer X = 0;
  Integer Y = 0;
  Integer Width = 0;
  Integer Height = 0;
  HWND WndParent = 0;  // the parent of a child window; the owner of a pop-up
  String WinClassName;
};

// ---- windows ------------------------------------------------------------------
// Sends WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE (and WM_SIZE/WM_MOVE) to proc
// before answering. A child needs a valid parent; a window without WS_CHILD
// is top-level and gets a native window of the backend.
HWND CreateWindowHandle(const TCreateParams& params, IWindowProc* proc);
// Destroys children first; sends WM_DESTROY and WM_NCDESTROY; focus,
// capture and timers of the window go with it.
void DestroyWindow(HWND wnd);
bool IsWindow(HWND wnd);
IWindowProc* GetWindowProc(HWND wnd);
void SetWindowProc(HWND wnd, IWindowProc* proc);
HWND GetParent(HWND wnd);
// Re-parents a window (0: becomes top-level); keeps its position in the
// new parent's client coordinates.
HWND SetParent(HWND wnd, HWND newParent);
HWND GetTopLevel(HWND wnd);
// Children in z-order, topmost first.
std::vector<HWND> GetChildWindows(HWND wnd);
bool IsChild(HWND parent, HWND wnd);

enum : Integer { GWL_STYLE = -16, GWL_EXSTYLE = -20 };
Cardinal GetWindowLong(HWND wnd, Integer index);
// Changing styles does not recalculate the frame; call SetWindowPos with
// SWP_FRAMECHANGED afterwards, as with the classic API.
Cardinal SetWindowLong(HWND wnd, Integer index, Cardinal value);
Cardinal GetClassStyle(HWND wnd);

String GetWindowText(HWND wnd);
void SetWindowText(HWND wnd, const String& text);
// Answers WM_GETTEXT: copies as much of text as fits a buffer of size bytes
// (with its terminating NUL), never cutting a UTF-8 character, and answers
// the bytes copied.
LRESULT CopyWindowText(const String& text, WPARAM size, LPARAM buffer);

// ---- geometry ------------------------------------------------------------------
// The LParam of WM_WINDOWPOSCHANGING (which may change X, Y, Cx, Cy and
// Flags) and WM_WINDOWPOSCHANGED. SetWindowPos sends WM_MOVE and WM_SIZE
// itself after WM_WINDOWPOSCHANGED, so handlers need not pass it on.
struct TWindowPos {
  HWND Hwnd = 0;
  HWND InsertAfter = 0;
  Integer X = 0;
  Integer Y = 0;
  Integer Cx = 0;
  Integer Cy = 0;
  Cardinal Flags = 0;
};
bool SetWindowPos(HWND wnd, HWND insertAfter, Integer x, Integer y, Integer cx, Integer cy,
                  Cardinal flags);
bool MoveWindow(HWND wnd, Integer x, Integer y, Integer cx, Integer cy, bool repaint = true);
bool ShowWindow(HWND wnd, Integer cmd);
bool IsWindowVisible(HWND wnd);  // the window and every ancestor visible
bool EnableWindow(HWND wnd, bool enable);
bool IsWindowEnabled(HWND wnd);
// Window rectangle in screen coordinates.
TRect GetWindowRect(HWND wnd);
// (0, 0, client width, client height).
TRect GetClientRect(HWND wnd);
TPoint ClientToScreen(HWND wnd, TPoint p);
TPoint ScreenToClient(HWND wnd, TPoint p);
// Maps points from one window's client coordinates to another's (0 = screen).
TPoint MapWindowPoint(HWND from, HWND to, TPoint p);
// The deepest visible, enabled-or-not window under a screen point.
HWND WindowFromPoint(TPoint screenPos);
// Keeps painting and input of the window inside rgn (window coordinates);
// nullptr removes the shape.
void SetWindowRgn(HWND wnd, const TRegion* rgn, bool redraw);
// Tells the backend's input method about the focused field wnd: its mode
// (TImeMode), the input method asked for and where composition is shown
// (wnd's client coordinates).
void SetTextInputHints(HWND wnd, Byte mode, const String& name, TPoint pos);

// ---- messages --------------------------------------------------------------------
LRESULT SendMessage(HWND wnd, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
// The window whose procedure is handling the innermost message being sent
// or dispatched (0 outside any). A procedure learns its handle from it
// during WM_NCCREATE, WM_NCCALCSIZE and WM_CREATE, before
// CreateWindowHandle answers.
HWND GetMessageWindow();
bool PostMessage(HWND wnd, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
void PostQuitMessage(Integer exitCode);
// Filters: wnd (0 = any window of the thread), message range (0, 0 = all).
// Input waiting in the backend is translated first; with no queued message,
// a pending WM_PAINT or WM_TIMER (in that order) is produced.
bool PeekMessage(TMsg& msg, HWND wnd, Cardinal filterMin, Cardinal filterMax, Cardinal remove);
// Waits for a message; answers false for WM_QUIT.
bool GetMessage(TMsg& msg, HWND wnd = 0, Cardinal filterMin = 0, Cardinal filterMax = 0);
// Queues the character messages for a key-down (as typing makes them).
void TranslateMessage(const TMsg& msg);
LRESULT DispatchMessage(const TMsg& msg);
// A filter that message loops run on each message before translating and
// dispatching it (the control layer reflects keys and handles dialog keys
// there); answering true means the message was handled. nullptr removes it.
using TMessagePreprocessor = bool (*)(TMsg& msg);
void SetMessagePreprocessor(TMessagePreprocessor preprocessor);
// Processes every pending message (including paints) through the
// preprocessor; answers at once.
void ProcessPendingMessages();
// The time and screen cursor position of the message last retrieved.
Cardinal GetMessageTime();
TPoint GetMessagePos();
// The default behaviour of every message (frames, scroll bars, hit tests,
// cursor, erasing, close, wheel forwarding to the parent ...).
LRESULT DefWindowProc(HWND wnd, Cardinal msg, WPARAM wParam, LPARAM lParam);

// ---- painting ------------------------------------------------------------------------
bool InvalidateRect(HWND wnd, const TRect* rect, bool erase);
bool InvalidateRgn(HWND wnd, const TRegion& rgn, bool erase);
bool ValidateRect(HWND wnd, const TRect* rect);
// The bounding box of the update region in client coordinates; false when
// nothing is invalid.
bool GetUpdateRect(HWND wnd, TRect& rect, bool erase);
bool GetUpdateRgn(HWND wnd, TRegion& rgn);
bool UpdateWindow(HWND wnd);
bool RedrawWindow(HWND wnd, const TRect* rect, const TRegion* rgn, Cardinal flags);

struct TPaintStruct {
  TCanvas* Canvas = nullptr;  // clipped to PaintRect, origin at the client area
  bool Erase = false;
  TRect PaintRect;  // the update region's bounding box, client coordinates
};
// Inside WM_PAINT: validates the update region and answers a canvas for it.
TCanvas* BeginPaint(HWND wnd, TPaintStruct& ps);
void EndPaint(HWND wnd, const TPaintStruct& ps);
// A canvas on the client area (GetDC) or the whole window including the
// non-client area (GetWindowDC), clipped to what is visible. Release it.
TCanvas* GetDC(HWND wnd);
TCanvas* GetWindowDC(HWND wnd);
void ReleaseDC(HWND wnd, TCanvas* dc);
// Moves the painted pixels of the client rectangle (or of scroll, clipped
// by clip) by dx, dy; what was uncovered is invalidated with SW_INVALIDATE
// and reported in update / updateRgn. SW_SCROLLCHILDREN moves child windows.
Integer ScrollWindowEx(HWND wnd, Integer dx, Integer dy, const TRect* scroll, const TRect* clip,
                       TRegion* updateRgn, TRect* update, Cardinal flags);

// ---- scroll bars (non-client, of windows with WS_VSCROLL / WS_HSCROLL) ---------------
// A bar shows while its range is not empty (Max > Min and, with a page,
// Page <= Max - Min); changing the visibility recalculates the frame.
// Clicks on arrows, track and thumb send WM_VSCROLL / WM_HSCROLL with the
// usual codes; dragging the thumb sends SB_THUMBTRACK and SB_THUMBPOSITION
// with the track position.
Integer SetScrollInfo(HWND wnd, Integer bar, const TScrollInfo& info, bool redraw);
bool GetScrollInfo(HWND wnd, Integer bar, TScrollInfo& info);
// The thumb position of a WM_xSCROLL SB_THUMBTRACK / SB_THUMBPOSITION
// (wParam) widened from its 16 bits: the position in the bar's range with
// those low bits nearest the bar's 32-bit track position (SIF_TRACKPOS).
Integer ScrollThumbPos(HWND wnd, Integer bar, WPARAM wParam);
Integer SetScrollPos(HWND wnd, Integer bar, Integer pos, bool redraw);
Integer GetScrollPos(HWND wnd, Integer bar);
bool SetScrollRange(HWND wnd, Integer bar, Integer min, Integer max, bool redraw);
bool ShowScrollBar(HWND wnd, Integer bar, bool show);

// ---- focus, activation, capture, cursor, keys ----------------------------------------------
// Sends WM_KILLFOCUS (WParam: the window gaining focus) to the old window,
// then WM_SETFOCUS (WParam: the window losing it) to the new one; answers
// the previous focus. Focus goes only to visible, enabled windows.
HWND SetFocus(HWND wnd);
HWND GetFocus();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND wnd);
HWND SetCapture(HWND wnd);
bool ReleaseCapture();
HWND GetCapture();
void SetCursor(TCursor cursor);
TPoint GetCursorPos();
void SetCursorPos(TPoint screenPos);
// Bit 15 set while the key or mouse button is down (VK_LBUTTON ...).
SmallInt GetKeyState(Integer vk);
SmallInt GetAsyncKeyState(Integer vk);

// ---- timers and time ----------------------------------------------------------------------
// WM_TIMER with WParam = id every elapse milliseconds of the backend's clock;
// setting an existing id restarts it.
bool SetTimer(HWND wnd, WPARAM id, Cardinal elapse);
bool KillTimer(HWND wnd, WPARAM id);
Cardinal GetTickCount();
Integer GetSystemMetrics(Integer index);
Cardinal GetDoubleClickTime();

// ---- clipboard --------------------------------------------------------------------------------
// Text and a bitmap; putting one on the clipboard removes the other.
String GetClipboardText();
void SetClipboardText(const String& text);
bool HasClipboardText();
void SetClipboardBitmap(const TBitmap& bitmap);
// Copies the clipboard's bitmap into bitmap; false (bitmap untouched) when none.
bool GetClipboardBitmap(TBitmap& bitmap);
bool HasClipboardBitmap();

// ---- additions of this window manager ----------------------------------------------------------
// The colour DefWindowProc(WM_ERASEBKGND) fills with (default clWindow;
// clNone: no erasing).
void SetWindowBackground(HWND wnd, Integer color);
Integer GetWindowBackground(HWND wnd);
// The backend's native window of the window's top-level window (0: none).
std::intptr_t GetNativeWindow(HWND wnd);
// A pixel of the window's client area as painted on its surface, as a TColor
// ($00BBGGRR); -1 outside the client area or the surface.
Integer GetWindowPixel(HWND wnd, Integer x, Integer y);
// The window's client rectangle and non-client scroll-bar rectangles in
// window coordinates (relative to the window's top-left corner); empty
// rectangles for bars that are not shown.
TRect GetClientRectInWindow(HWND wnd);
TRect GetScrollBarRect(HWND wnd, Integer bar);
// Destroys every window without calling the window procedures (which may be
// gone) and forgets all queued messages, timers, focus and capture: a clean
// state for the next test.
void ResetWindowManager();

}  // namespace brevant
