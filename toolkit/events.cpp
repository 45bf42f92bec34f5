#include "toolkit/events.h"

#include "toolkit/unhandled_error.h"

namespace toolkit {

int MouseEventArgs::Shift() const {
    return ((keys & MK_SHIFT) != 0 ? kShiftMask : 0) | ((keys & MK_CONTROL) != 0 ? kCtrlMask : 0) |
           (GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
}

void InvokeHandler(const EventHandler& handler) noexcept {
    if (handler) {
        Guarded(handler);
    }
}

void InvokeHandler(const MouseEventHandler& handler, const MouseEventArgs& args) noexcept {
    if (handler) {
        Guarded([&] { handler(args); });
    }
}

}  // namespace toolkit
