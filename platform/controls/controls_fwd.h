// Forward declarations of the controls layer: its classes, the window
// handle and message parameter types, and the window procedure interface
// every windowed control implements, so a header can name a control or
// derive from the interface without the message and window tables.
#pragma once

#include <cstdint>

#include "rtl/types.h"

namespace brevant {

// A window handle: a small positive number, 0 for none.
using HWND = std::intptr_t;
// Pointer-sized message parameters.
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
// A cursor: a system cursor (crDefault ..., backend/codes.h) or a
// registered one.
using TCursor = SmallInt;

struct TMessage;
struct TMsg;
struct TCreateParams;
class TControl;
class TWinControl;
class TCustomControl;
class TGraphicControl;
class TCustomForm;
class TForm;
class TScreen;
class TApplication;
class TDragObject;
class TDragDockObject;
class TDragImageList;
class TSizeConstraints;
class TMenu;
class TMenuItem;
class TPopupMenu;
class TBasicAction;
class TCustomEdit;

// The object that handles a window's messages (TWinControl). The window
// manager calls WndProc for every message sent or dispatched to the window;
// what WndProc does not handle it passes to DefWindowProc.
class IWindowProc {
 public:
  virtual void WndProc(TMessage& message) = 0;

 protected:
  ~IWindowProc() = default;
};

}  // namespace brevant
