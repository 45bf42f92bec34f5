#pragma once

#include <windows.h>

#include <functional>

namespace toolkit {

// Mouse buttons and shift keys as event handlers see them.
enum MouseButton : int { kLeftButton = 1, kRightButton = 2, kMiddleButton = 4 };
enum ShiftKey : int { kShiftMask = 1, kCtrlMask = 2, kAltMask = 4 };

struct MouseEventArgs {
    int button;  // MouseDown: the button pressed; MouseMove: the buttons held
    int shift;   // the shift keys held
    float x;     // the pointer in twips, relative to the control's top-left corner
    float y;
};

using EventHandler = std::function<void()>;
using MouseEventHandler = std::function<void(const MouseEventArgs&)>;

// Runs an event handler. A run-time error (or an exhausted heap) that leaves it is reported
// in a message box titled with the application title, and then the program ends.
void InvokeHandler(const EventHandler& handler) noexcept;
void InvokeHandler(const MouseEventHandler& handler, const MouseEventArgs& args) noexcept;

// Ends the program at once: no unload handling, no further handlers.
[[noreturn]] void End(UINT exitCode = 0);

}  // namespace toolkit
