// Window messages: numeric identities, parameters and the codes they carry.
// The numbers are the classic ones, so message-range filters, private
// messages (WM_USER + n) and code written against them keep working.
#pragma once

#include <cstdint>

#include "backend/codes.h"
#include "controls/controls_fwd.h"
#include "rtl/types.h"

namespace brevant {

// A message as window procedures receive it.
struct TMessage {
  Cardinal Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

// A queued message (PeekMessage / GetMessage) with its window, time and the
// cursor position in screen coordinates when it was posted.
struct TMsg {
  HWND Hwnd = 0;
  Cardinal Message = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  Cardinal Time = 0;
  TPoint Pt;
};

// Parameter packing, as window procedures expect it.
constexpr Word LoWord(std::uintptr_t v) {
  return static_cast<Word>(v & 0xFFFF);
}
constexpr Word HiWord(std::uintptr_t v) {
  return static_cast<Word>((v >> 16) & 0xFFFF);
}
constexpr SmallInt LoSmall(std::intptr_t v) {
  return static_cast<SmallInt>(v & 0xFFFF);
}
constexpr SmallInt HiSmall(std::intptr_t v) {
  return static_cast<SmallInt>((v >> 16) & 0xFFFF);
}
constexpr LPARAM MakeLParam(Integer lo, Integer hi) {
  return static_cast<LPARAM>(static_cast<std::uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
constexpr WPARAM MakeWParam(Integer lo, Integer hi) {
  return static_cast<WPARAM>(static_cast<std::uint32_t>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
// A point packed into an LPARAM (signed 16-bit x and y).
constexpr LPARAM PointToLParam(TPoint p) {
  return MakeLParam(p.X, p.Y);
}
constexpr TPoint LParamToPoint(LPARAM l) {
  return {LoSmall(l), HiSmall(l)};
}

// ---- window messages ---------------------------------------------------------
enum : Cardinal {
  WM_NULL = 0x0000,
  WM_CREATE = 0x0001,
  WM_DESTROY = 0x0002,
  WM_MOVE = 0x0003,
  WM_SIZE = 0x0005,
  WM_ACTIVATE = 0x0006,
  WM_SETFOCUS = 0x0007,
  WM_KILLFOCUS = 0x0008,
  WM_ENABLE = 0x000A,
  WM_SETREDRAW = 0x000B,
  WM_SETTEXT = 0x000C,
  WM_GETTEXT = 0x000D,
  WM_GETTEXTLENGTH = 0x000E,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_QUIT = 0x0012,
  WM_ERASEBKGND = 0x0014,
  WM_SHOWWINDOW = 0x0018,
  WM_ACTIVATEAPP = 0x001C,
  WM_CANCELMODE = 0x001F,
  WM_SETCURSOR = 0x0020,
  WM_MOUSEACTIVATE = 0x0021,
  WM_GETMINMAXINFO = 0x0024,
  WM_NEXTDLGCTL = 0x0028,
  WM_SETFONT = 0x0030,
  WM_WINDOWPOSCHANGING = 0x0046,
  WM_WINDOWPOSCHANGED = 0x0047,
  WM_CONTEXTMENU = 0x007B,
  WM_NCCREATE = 0x0081,
  WM_NCDESTROY = 0x0082,
  WM_NCCALCSIZE = 0x0083,
  WM_NCHITTEST = 0x0084,
  WM_NCPAINT = 0x0085,
  WM_NCACTIVATE = 0x0086,
  WM_GETDLGCODE = 0x0087,
  WM_NCMOUSEMOVE = 0x00A0,
  WM_NCLBUTTONDOWN = 0x00A1,
  WM_NCLBUTTONUP = 0x00A2,
  WM_NCLBUTTONDBLCLK = 0x00A3,
  WM_NCRBUTTONDOWN = 0x00A4,
  WM_NCRBUTTONUP = 0x00A5,
  WM_NCRBUTTONDBLCLK = 0x00A6,
  WM_NCMBUTTONDOWN = 0x00A7,
  WM_NCMBUTTONUP = 0x00A8,
  WM_KEYFIRST = 0x0100,
  WM_KEYDOWN = 0x0100,
  WM_KEYUP = 0x0101,
  WM_CHAR = 0x0102,
  WM_DEADCHAR = 0x0103,
  WM_SYSKEYDOWN = 0x0104,
  WM_SYSKEYUP = 0x0105,
  WM_SYSCHAR = 0x0106,
  WM_KEYLAST = 0x0108,
  WM_IME_STARTCOMPOSITION = 0x010D,
  WM_IME_COMPOSITION = 0x010F,
  WM_COMMAND = 0x0111,
  WM_SYSCOMMAND = 0x0112,
  WM_TIMER = 0x0113,
  WM_HSCROLL = 0x0114,
  WM_VSCROLL = 0x0115,
  WM_INITMENUPOPUP = 0x0117,
  WM_MENUSELECT = 0x011F,
  WM_ENTERIDLE = 0x0121,
  WM_MOUSEFIRST = 0x0200,
  WM_MOUSEMOVE = 0x0200,
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_LBUTTONDBLCLK = 0x0203,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_RBUTTONDBLCLK = 0x0206,
  WM_MBUTTONDOWN = 0x0207,
  WM_MBUTTONUP = 0x0208,
  WM_MBUTTONDBLCLK = 0x0209,
  WM_MOUSEWHEEL = 0x020A,
  WM_MOUSEHWHEEL = 0x020E,
  WM_MOUSELAST = 0x020E,
  WM_PARENTNOTIFY = 0x0210,
  WM_ENTERMENULOOP = 0x0211,
  WM_EXITMENULOOP = 0x0212,
  WM_SIZING = 0x0214,
  WM_CAPTURECHANGED = 0x0215,
  WM_MOVING = 0x0216,
  WM_MOUSEHOVER = 0x02A1,
  WM_MOUSELEAVE = 0x02A3,
  WM_CUT = 0x0300,
  WM_COPY = 0x0301,
  WM_PASTE = 0x0302,
  WM_CLEAR = 0x0303,
  WM_UNDO = 0x0304,
  WM_USER = 0x0400,
  WM_APP = 0x8000,
};

// Edit-control messages.
enum : Cardinal {
  EM_GETSEL = 0x00B0,
  EM_SETSEL = 0x00B1,
  EM_GETRECT = 0x00B2,
  EM_SETRECT = 0x00B3,
  EM_SETRECTNP = 0x00B4,
  EM_SCROLL = 0x00B5,
  EM_LINESCROLL = 0x00B6,
  EM_SCROLLCARET = 0x00B7,
  EM_GETMODIFY = 0x00B8,
  EM_SETMODIFY = 0x00B9,
  EM_GETLINECOUNT = 0x00BA,
  EM_LINEINDEX = 0x00BB,
  EM_LINELENGTH = 0x00C1,
  EM_REPLACESEL = 0x00C2,
  EM_GETLINE = 0x00C4,
  EM_LIMITTEXT = 0x00C5,
  EM_CANUNDO = 0x00C6,
  EM_UNDO = 0x00C7,
  EM_LINEFROMCHAR = 0x00C9,
  EM_EMPTYUNDOBUFFER = 0x00CD,
  EM_SETREADONLY = 0x00CF,
  EM_SETMARGINS = 0x00D3,
  EM_POSFROMCHAR = 0x00D6,
  EM_CHARFROMPOS = 0x00D7,
};

// The framework's own notifications (component messages) and the messages
// it reflects back to the control that caused them.
enum : Cardinal {
  CM_BASE = 0xB000,
  CM_ACTIVATE = CM_BASE + 0,
  CM_DEACTIVATE = CM_BASE + 1,
  CM_GOTFOCUS = CM_BASE + 2,
  CM_LOSTFOCUS = CM_BASE + 3,
  CM_CANCELMODE = CM_BASE + 4,
  CM_DIALOGKEY = CM_BASE + 5,
  CM_DIALOGCHAR = CM_BASE + 6,
  CM_FOCUSCHANGED = CM_BASE + 7,
  CM_PARENTFONTCHANGED = CM_BASE + 8,
  CM_PARENTCOLORCHANGED = CM_BASE + 9,
  CM_HITTEST = CM_BASE + 10,
  CM_VISIBLECHANGED = CM_BASE + 11,
  CM_ENABLEDCHANGED = CM_BASE + 12,
  CM_COLORCHANGED = CM_BASE + 13,
  CM_FONTCHANGED = CM_BASE + 14,
  CM_CURSORCHANGED = CM_BASE + 15,
  CM_CTL3DCHANGED = CM_BASE + 16,
  CM_PARENTCTL3DCHANGED = CM_BASE + 17,
  CM_TEXTCHANGED = CM_BASE + 18,
  CM_MOUSEENTER = CM_BASE + 19,
  CM_MOUSELEAVE = CM_BASE + 20,
  CM_MENUCHANGED = CM_BASE + 21,
  CM_APPKEYDOWN = CM_BASE + 22,
  CM_APPSYSCOMMAND = CM_BASE + 23,
  CM_BUTTONPRESSED = CM_BASE + 24,
  CM_SHOWINGCHANGED = CM_BASE + 25,
  CM_ENTER = CM_BASE + 26,
  CM_EXIT = CM_BASE + 27,
  CM_DESIGNHITTEST = CM_BASE + 28,
  CM_ICONCHANGED = CM_BASE + 29,
  CM_WANTSPECIALKEY = CM_BASE + 30,
  CM_INVOKEHELP = CM_BASE + 31,
  CM_WINDOWHOOK = CM_BASE + 32,
  CM_RELEASE = CM_BASE + 33,
  CM_SHOWHINTCHANGED = CM_BASE + 34,
  CM_PARENTSHOWHINTCHANGED = CM_BASE + 35,
  CM_SYSCOLORCHANGE = CM_BASE + 36,
  CM_TABSTOPCHANGED = CM_BASE + 40,
  CM_CONTROLLISTCHANGE = CM_BASE + 44,
  CM_GETDATALINK = CM_BASE + 45,
  CM_CHILDKEY = CM_BASE + 46,
  CM_DRAG = CM_BASE + 47,
  CM_HINTSHOW = CM_BASE + 48,
  CM_DIALOGHANDLE = CM_BASE + 49,
  CM_ISTOOLCONTROL = CM_BASE + 50,
  CM_RECREATEWND = CM_BASE + 51,
  CM_INVALIDATE = CM_BASE + 52,
  CM_SYSFONTCHANGED = CM_BASE + 53,
  CM_CONTROLCHANGE = CM_BASE + 54,
  CM_CHANGED = CM_BASE + 55,
  CM_BORDERCHANGED = CM_BASE + 59,
  CM_BIDIMODECHANGED = CM_BASE + 60,
  CM_PARENTBIDIMODECHANGED = CM_BASE + 61,
  CM_HINTSHOWPAUSE = CM_BASE + 65,
  CM_MOUSEWHEEL = CM_BASE + 67,
  CM_ISSHORTCUT = CM_BASE + 68,

  CN_BASE = 0xBC00,
  CN_COMMAND = CN_BASE + WM_COMMAND,
  CN_KEYDOWN = CN_BASE + WM_KEYDOWN,
  CN_KEYUP = CN_BASE + WM_KEYUP,
  CN_CHAR = CN_BASE + WM_CHAR,
  CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN,
  CN_SYSCHAR = CN_BASE + WM_SYSCHAR,
  CN_HSCROLL = CN_BASE + WM_HSCROLL,
  CN_VSCROLL = CN_BASE + WM_VSCROLL,
};

// ---- codes carried by messages ---------------------------------------------------
// WM_SYSCOMMAND commands (the low four bits are the system's own).
enum : WPARAM {
  SC_SIZE = 0xF000,
  SC_MOVE = 0xF010,
  SC_MINIMIZE = 0xF020,
  SC_MAXIMIZE = 0xF030,
  SC_CLOSE = 0xF060,
  SC_KEYMENU = 0xF100,
  SC_RESTORE = 0xF120,
};

// WM_SIZE kinds.
enum : Cardinal { SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2 };

// Scroll codes (low word of WM_VSCROLL / WM_HSCROLL's WParam; the high word
// carries the position for the two thumb codes).
enum : Word {
  SB_LINEUP = 0,
  SB_LINELEFT = 0,
  SB_LINEDOWN = 1,
  SB_LINERIGHT = 1,
  SB_PAGEUP = 2,
  SB_PAGELEFT = 2,
  SB_PAGEDOWN = 3,
  SB_PAGERIGHT = 3,
  SB_THUMBPOSITION = 4,
  SB_THUMBTRACK = 5,
  SB_TOP = 6,
  SB_LEFT = 6,
  SB_BOTTOM = 7,
  SB_RIGHT = 7,
  SB_ENDSCROLL = 8,
};
// Which scroll bar.
enum : Integer { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };

// WM_NCHITTEST answers.
enum : LRESULT {
  HTERROR = -2,
  HTTRANSPARENT = -1,
  HTNOWHERE = 0,
  HTCLIENT = 1,
  HTCAPTION = 2,
  HTSYSMENU = 3,
  HTGROWBOX = 4,
  HTMENU = 5,
  HTHSCROLL = 6,
  HTVSCROLL = 7,
  HTMINBUTTON = 8,
  HTMAXBUTTON = 9,
  HTLEFT = 10,
  HTRIGHT = 11,
  HTTOP = 12,
  HTTOPLEFT = 13,
  HTTOPRIGHT = 14,
  HTBOTTOM = 15,
  HTBOTTOMLEFT = 16,
  HTBOTTOMRIGHT = 17,
  HTBORDER = 18,
  HTCLOSE = 20,
};

// WM_GETDLGCODE answers.
enum : LRESULT {
  DLGC_WANTARROWS = 0x0001,
  DLGC_WANTTAB = 0x0002,
  DLGC_WANTALLKEYS = 0x0004,
  DLGC_WANTMESSAGE = 0x0004,
  DLGC_HASSETSEL = 0x0008,
  DLGC_DEFPUSHBUTTON = 0x0010,
  DLGC_UNDEFPUSHBUTTON = 0x0020,
  DLGC_RADIOBUTTON = 0x0040,
  DLGC_WANTCHARS = 0x0080,
  DLGC_STATIC = 0x0100,
  DLGC_BUTTON = 0x2000,
};

// WM_MOUSEACTIVATE answers.
enum : LRESULT {
  MA_ACTIVATE = 1,
  MA_ACTIVATEANDEAT = 2,
  MA_NOACTIVATE = 3,
  MA_NOACTIVATEANDEAT = 4
};
// WM_ACTIVATE kinds.
enum : Word { WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2 };

// Mouse-key flags in the WParam of mouse messages.
enum : WPARAM {
  MK_LBUTTON = 0x0001,
  MK_RBUTTON = 0x0002,
  MK_SHIFT = 0x0004,
  MK_CONTROL = 0x0008,
  MK_MBUTTON = 0x0010,
};
// Bits of a key message's LParam: repeat count (0-15), context code (Alt
// held, bit 29), previous key state (bit 30), transition (bit 31).
constexpr LPARAM KF_REPEAT_MASK = 0xFFFF;
constexpr LPARAM KF_ALTDOWN_BIT = LPARAM(1) << 29;
constexpr LPARAM KF_PREVDOWN_BIT = LPARAM(1) << 30;
constexpr LPARAM KF_UP_BIT = LPARAM(1) << 31;

// ---- window styles --------------------------------------------------------------------
enum : Cardinal {
  WS_OVERLAPPED = 0x00000000u,
  WS_TABSTOP = 0x00010000u,
  WS_MAXIMIZEBOX = 0x00010000u,
  WS_GROUP = 0x00020000u,
  WS_MINIMIZEBOX = 0x00020000u,
  WS_THICKFRAME = 0x00040000u,
  WS_SYSMENU = 0x00080000u,
  WS_HSCROLL = 0x00100000u,
  WS_VSCROLL = 0x00200000u,
  WS_DLGFRAME = 0x00400000u,
  WS_BORDER = 0x00800000u,
  WS_CAPTION = 0x00C00000u,
  WS_MAXIMIZE = 0x01000000u,
  WS_CLIPCHILDREN = 0x02000000u,
  WS_CLIPSIBLINGS = 0x04000000u,
  WS_DISABLED = 0x08000000u,
  WS_VISIBLE = 0x10000000u,
  WS_MINIMIZE = 0x20000000u,
  WS_CHILD = 0x40000000u,
  WS_POPUP = 0x80000000u,
};
enum : Cardinal {
  WS_EX_DLGMODALFRAME = 0x00000001u,
  WS_EX_NOPARENTNOTIFY = 0x00000004u,
  WS_EX_TOPMOST = 0x00000008u,
  WS_EX_TRANSPARENT = 0x00000020u,
  WS_EX_TOOLWINDOW = 0x00000080u,
  WS_EX_WINDOWEDGE = 0x00000100u,
  WS_EX_CLIENTEDGE = 0x00000200u,
  WS_EX_RIGHT = 0x00001000u,
  WS_EX_RTLREADING = 0x00002000u,
  WS_EX_LEFTSCROLLBAR = 0x00004000u,
  WS_EX_CONTROLPARENT = 0x00010000u,
  WS_EX_STATICEDGE = 0x00020000u,
  WS_EX_APPWINDOW = 0x00040000u,
  WS_EX_NOACTIVATE = 0x08000000u,
};
// Window-class styles.
enum : Cardinal {
  CS_VREDRAW = 0x0001u,
  CS_HREDRAW = 0x0002u,
  CS_DBLCLKS = 0x0008u,
  CS_SAVEBITS = 0x0800u,
};

// ShowWindow commands.
enum : Integer {
  SW_HIDE = 0,
  SW_SHOWNORMAL = 1,
  SW_SHOWMINIMIZED = 2,
  SW_SHOWMAXIMIZED = 3,
  SW_SHOWNOACTIVATE = 4,
  SW_SHOW = 5,
  SW_SHOWNA = 8
};

// ScrollWindowEx flags.
enum : Cardinal { SW_SCROLLCHILDREN = 0x0001u, SW_INVALIDATE = 0x0002u, SW_ERASE = 0x0004u };

// RedrawWindow flags.
enum : Cardinal {
  RDW_INVALIDATE = 0x0001u,
  RDW_INTERNALPAINT = 0x0002u,
  RDW_ERASE = 0x0004u,
  RDW_VALIDATE = 0x0008u,
  RDW_NOINTERNALPAINT = 0x0010u,
  RDW_NOERASE = 0x0020u,
  RDW_NOCHILDREN = 0x0040u,
  RDW_ALLCHILDREN = 0x0080u,
  RDW_UPDATENOW = 0x0100u,
  RDW_ERASENOW = 0x0200u,
  RDW_FRAME = 0x0400u,
  RDW_NOFRAME = 0x0800u,
};

// SetWindowPos flags.
enum : Cardinal {
  SWP_NOSIZE = 0x0001u,
  SWP_NOMOVE = 0x0002u,
  SWP_NOZORDER = 0x0004u,
  SWP_NOREDRAW = 0x0008u,
  SWP_NOACTIVATE = 0x0010u,
  SWP_FRAMECHANGED = 0x0020u,
  SWP_SHOWWINDOW = 0x0040u,
  SWP_HIDEWINDOW = 0x0080u,
};
// Special z-order positions.
constexpr HWND HWND_TOP = 0;
constexpr HWND HWND_BOTTOM = 1;
constexpr HWND HWND_TOPMOST = -1;
constexpr HWND HWND_NOTOPMOST = -2;

// PeekMessage removal.
enum : Cardinal { PM_NOREMOVE = 0x0000u, PM_REMOVE = 0x0001u, PM_NOYIELD = 0x0002u };

// Scroll-bar information masks.
enum : Cardinal {
  SIF_RANGE = 0x0001u,
  SIF_PAGE = 0x0002u,
  SIF_POS = 0x0004u,
  SIF_DISABLENOSCROLL = 0x0008u,
  SIF_TRACKPOS = 0x0010u,
  SIF_ALL = 0x0017u,
};
struct TScrollInfo {
  Cardinal Mask = 0;
  Integer Min = 0;
  Integer Max = 0;
  Cardinal Page = 0;
  Integer Pos = 0;
  Integer TrackPos = 0;
};

// System metrics answered by the window manager.
enum TSystemMetric : Integer {
  SM_CXSCREEN = 0,
  SM_CYSCREEN = 1,
  SM_CXVSCROLL = 2,
  SM_CYHSCROLL = 3,
  SM_CYCAPTION = 4,
  SM_CXBORDER = 5,
  SM_CYBORDER = 6,
  SM_CXDLGFRAME = 7,
  SM_CYDLGFRAME = 8,
  SM_CYVTHUMB = 9,
  SM_CXHTHUMB = 10,
  SM_CXEDGE = 45,
  SM_CYEDGE = 46,
  SM_CXHSCROLL = 21,
  SM_CYVSCROLL = 20,
  SM_CXDOUBLECLK = 36,
  SM_CYDOUBLECLK = 37,
  SM_CXDRAG = 68,
  SM_CYDRAG = 69,
  SM_CXFRAME = 32,
  SM_CYFRAME = 33,
};

// ---- edit controls --------------------------------------------------------------------
// Edit styles (the low word of the window style).
enum : Cardinal {
  ES_LEFT = 0x0000u,
  ES_CENTER = 0x0001u,
  ES_RIGHT = 0x0002u,
  ES_MULTILINE = 0x0004u,
  ES_UPPERCASE = 0x0008u,
  ES_LOWERCASE = 0x0010u,
  ES_PASSWORD = 0x0020u,
  ES_AUTOVSCROLL = 0x0040u,
  ES_AUTOHSCROLL = 0x0080u,
  ES_NOHIDESEL = 0x0100u,
  ES_READONLY = 0x0800u,
  ES_WANTRETURN = 0x1000u,
};
// More edit messages.
enum : Cardinal {
  EM_SETPASSWORDCHAR = 0x00CC,
  EM_GETFIRSTVISIBLELINE = 0x00CE,
  EM_GETMARGINS = 0x00D4,
  EM_GETLIMITTEXT = 0x00D5,
};
// EM_SETMARGINS flags.
enum : WPARAM { EC_LEFTMARGIN = 0x0001, EC_RIGHTMARGIN = 0x0002, EC_USEFONTINFO = 0xFFFF };

}  // namespace brevant
