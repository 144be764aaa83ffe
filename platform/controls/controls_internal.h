// State the control sources share: the control holding the capture and the
// control under the pointer.
#pragma once

namespace brevant {
class TControl;
namespace detail {
extern TControl* g_captureControl;
extern TControl* g_mouseControl;
// Sends CM_MOUSELEAVE to the old and CM_MOUSEENTER to the new control.
void SetMouseControl(TControl* control);
// Drops references to a control that goes away.
void ForgetControl(TControl* control);
}  // namespace detail
}  // namespace brevant
