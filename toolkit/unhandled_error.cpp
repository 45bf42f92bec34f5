#include "toolkit/unhandled_error.h"

#include "toolkit/message_box.h"
#include "toolkit/program_end.h"
#include "toolkit/run_time_error.h"

#include <string>

namespace toolkit {

void ReportUnhandledError() noexcept {
    // The box's own message loop keeps dispatching to the program's windows, whose faults
    // would otherwise open box after box. One report per process: it ends the program.
    static bool reporting = false;
    if (reporting) {
        return;
    }
    reporting = true;
    const RunTimeError& error = ErrorInFlight();
    MsgBox(L"Run-time error '" + std::to_wstring(error.Number()) + L"':\n\n" + error.Description(),
           MB_OK | MB_ICONERROR);
    End(error.Number() != 0 ? static_cast<UINT>(error.Number()) : 1U);
}

}  // namespace toolkit
