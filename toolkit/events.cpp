#include "toolkit/events.h"

#include "toolkit/message_box.h"
#include "toolkit/run_time_error.h"

#include <new>
#include <string>

namespace toolkit {
namespace {

[[noreturn]] void ReportUnhandledError(const RunTimeError& error) {
    MsgBox(L"Run-time error '" + std::to_wstring(error.Number()) + L"':\n\n" + error.Description(),
           MB_OK | MB_ICONERROR);
    End(error.Number() != 0 ? static_cast<UINT>(error.Number()) : 1U);
}

template <typename Call>
void Guarded(const Call& call) noexcept {
    try {
        call();
    } catch (const RunTimeError& error) {
        ReportUnhandledError(error);
    } catch (const std::bad_alloc&) {
        ReportUnhandledError(RunTimeError(kOutOfMemory));
    } catch (...) {
        ReportUnhandledError(RunTimeError(kInternalError));
    }
}

}  // namespace

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
