#pragma once

#include <windows.h>

namespace toolkit {

// Ends the program at once: no unload handling, no further handlers.
[[noreturn]] inline void End(UINT exitCode = 0) {
    ExitProcess(exitCode);
}

}  // namespace toolkit
