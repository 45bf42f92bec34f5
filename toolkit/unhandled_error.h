#pragma once

namespace toolkit {

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

}  // namespace toolkit
