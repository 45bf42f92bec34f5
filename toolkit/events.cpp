#include "toolkit/events.h"

#include "toolkit/message_box.h"
#include "toolkit/run_time_error.h"

#include <string>

namespace toolkit {
namespace {

[[noreturn]] void Report(const RunTimeError& error) {
    MsgBox(L"Run-time error '" + std::to_wstring(error.Number()) + L"':\n\n" + error.Description(),
           MB_OK | MB_ICONERROR);
    End(error.Number() != 0 ? static_cast<UINT>(error.Number()) : 1U);
}

}  // namespace

int MouseEventArgs::Shift() const {
    return ((keys & MK_SHIFT) != 0 ? kShiftMask : 0) | ((keys & MK_CONTROL) != 0 ? kCtrlMask : 0) |
           (GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
}

void ReportUnhandledError() noexcept {
    // The box's own message loop keeps dispatching to the program's windows, whose faults
    // would otherwise open box after box. One report per process: it ends the program.
    static bool reporting = false;
    if (reporting) {
        return;
    }
    reporting = true;
    Report(ErrorInFlight());
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

void End(UINT exitCode) {
    ExitProcess(exitCode);
}

}  // namespace toolkit
