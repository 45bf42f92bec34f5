#pragma once

#include <string>

#include "toolkit/run_time_error.h"

namespace registry {

// The text of the error report: "Error: ", the number in decimal, ". ", the description.
std::wstring ErrorReportText(const toolkit::RunTimeError& error);

// The error report common to every routine of registry/: a modal box with the
// report text, style 0 (OK only, no icon), titled with the name of the routine that trapped
// the error. Returns when the user has closed it.
void ShowErrorReport(const toolkit::RunTimeError& error, const std::wstring& routineName);

// Runs `body`, the whole of a routine with an error trap: an error raised inside it is shown
// in the error report titled `routineName`, and `onError()` (which must not throw) gives the
// routine's result instead. Handles that the routine holds outside `body` are still open
// while the report shows, and close after it, when the routine returns.
template <typename Body, typename OnError>
auto WithErrorTrap(const wchar_t* routineName, Body&& body, OnError&& onError) -> decltype(body()) {
    try {
        return body();
    } catch (...) {
        ShowErrorReport(toolkit::ErrorInFlight(), routineName);
    }
    return onError();
}

}  // namespace registry
