#pragma once

#include <windows.h>

#include <functional>

namespace toolkit {

// Mouse buttons and shift keys as event handlers see them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftKey : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

struct MouseEventArgs {
    int button;   // MouseDown: the button pressed; MouseMove: the buttons held
    WPARAM keys;  // the mouse message's key flags (MK_SHIFT, MK_CONTROL, ...)
    float x;      // the pointer in twips, relative to the control's top-left corner
    float y;

    // The shift keys held, as ShiftKey flags. A mouse message does not carry Alt, so the
    // system is asked for it here, only when a handler wants to know: most mouse moves have
    // handlers that never do.
    int Shift() const;
};

using EventHandler = std::function<void()>;
using MouseEventHandler = std::function<void(const MouseEventArgs&)>;

// Runs an event handler, if there is one, so that no error leaves it (Guarded).
void InvokeHandler(const EventHandler& handler) noexcept;
void InvokeHandler(const MouseEventHandler& handler, const MouseEventArgs& args) noexcept;

}  // namespace toolkit
