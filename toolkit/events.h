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

// Inside a catch block: reports the error being handled (ErrorInFlight) in a message box titled
// with the application title, and then ends the program with the error's number. An error
// raised while the box is open (a paint of the window behind it, say) is dropped, and the call
// returns: the box already on screen ends the program.
void ReportUnhandledError() noexcept;

// Runs `call` so that no error leaves it: one that would is reported as unhandled. Event
// handlers and everything the toolkit does for a window message run through it, so that no
// error unwinds through the system's code. Returns what `call` returns, or a default value if
// the error was dropped.
template <typename Call>
auto Guarded(const Call& call) noexcept -> decltype(call()) {
    try {
        return call();
    } catch (...) {
        ReportUnhandledError();
        return decltype(call())();
    }
}

// Runs an event handler, if there is one, under Guarded.
void InvokeHandler(const EventHandler& handler) noexcept;
void InvokeHandler(const MouseEventHandler& handler, const MouseEventArgs& args) noexcept;

// Ends the program at once: no unload handling, no further handlers.
[[noreturn]] void End(UINT exitCode = 0);

}  // namespace toolkit
