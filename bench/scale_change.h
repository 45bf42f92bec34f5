// What bench_driver and bench_scale_change.dll, which it loads into the program it measures,
// share: the request the driver writes into the program's memory, and the DLL's answer.
#pragma once

#include <windows.h>

// A change of scale for ChangeScale to make and time.
struct ScaleChangeRequest {
    HWND window;  // the window of the program measured
    UINT dpi;     // the DPI it is told
    // A client pixel that shows `color` once the window is painted at `dpi`, and that lies
    // outside the window at its old size.
    POINT pixel;
    COLORREF color;
};

// The exported thread procedure that makes the change, named as GetProcAddress takes it.
constexpr char kChangeScaleExport[] = "ChangeScale";

// ChangeScale's exit code when the window did not show the new scale in time; any other is the
// time in microseconds.
constexpr DWORD kNotRepainted = MAXDWORD;
