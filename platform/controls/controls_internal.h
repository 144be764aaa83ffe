// State the control sources share: the control holding the capture and the
// control under the pointer.
#pragma once

#include "controls/messages.h"

namespace brevant {
class TControl;
namespace detail {
// The application's look at every message the loops process (hints, drags,
// menus); true when it consumed the message. Set by the application object.
extern bool (*g_appPreprocess)(TMsg& msg);
// Screen.Cursor when it overrides the controls' cursors (crDefault: not).
extern TCursor g_screenCursor;
extern TControl* g_captureControl;
extern TControl* g_mouseControl;
// Sends CM_MOUSELEAVE to the old and CM_MOUSEENTER to the new control.
void SetMouseControl(TControl* control);
// Drops references to a control that goes away.
void ForgetControl(TControl* control);
}  // namespace detail
}  // namespace brevant
