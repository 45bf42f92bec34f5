#include "toolkit/control_host.h"

namespace toolkit {

bool ControlHost::TakesInput() const {
    return IsWindowEnabled(hWnd()) != FALSE;
}

void ControlHost::Raise(const EventHandler& handler) const {
    if (TakesInput()) {
        InvokeHandler(handler);
    }
}

void ControlHost::Raise(const MouseEventHandler& handler, const MouseEventArgs& args) const {
    if (TakesInput()) {
        InvokeHandler(handler, args);
    }
}

}  // namespace toolkit
