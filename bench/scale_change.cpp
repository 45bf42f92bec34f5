// bench_scale_change.dll: loaded by bench_driver into the program it measures (BrevaneTwinova or
// its floor), so that a change of scale reaches the program's window as Windows sends it. The
// rectangle WM_DPICHANGED points to has to be in the window's own process: Wine does not carry
// it across processes.
#include "bench/scale_change.h"
#include "toolkit/handle.h"
#include "toolkit/screen.h"

namespace {

constexpr double kTimeoutMs = 5000;

double Now() {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// The rectangle Windows suggests for a window moved to a monitor of another DPI: where it is, at
// the size it asks for (WM_GETDPISCALEDSIZE), or else at its size scaled from the system's DPI.
RECT SuggestedRect(HWND window, UINT dpi) {
    RECT bounds{};
    GetWindowRect(window, &bounds);
    SIZE size{};
    if (SendMessageW(window, toolkit::kGetDpiScaledSizeMessage, dpi,
                     reinterpret_cast<LPARAM>(&size)) == FALSE) {
        const toolkit::WindowDc screen(nullptr);
        const int systemDpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
        size = {MulDiv(bounds.right - bounds.left, static_cast<int>(dpi), systemDpi),
                MulDiv(bounds.bottom - bounds.top, static_cast<int>(dpi), systemDpi)};
    }
    return {bounds.left, bounds.top, bounds.left + size.cx, bounds.top + size.cy};
}

bool ScreenShows(HDC screen, const RECT& bounds, const ScaleChangeRequest& request) {
    return GetPixel(screen, bounds.left + request.pixel.x, bounds.top + request.pixel.y) ==
           request.color;
}

}  // namespace

// Run as a thread of the program: tells its window the request's DPI, with the rectangle Windows
// would suggest, and returns the microseconds from sending WM_DPICHANGED to the screen showing
// the window painted at the new scale: the message handled on the window's thread, the window
// and its children with an update region painted there (RedrawWindow sends them WM_PAINT, which
// that thread handles as soon as it is back in its message loop), and the request's pixel,
// which only the new size shows, on the screen. kNotRepainted if it never shows, or already
// did before the change.
extern "C" DWORD WINAPI ChangeScale(void* parameter) {
    const auto& request = *static_cast<const ScaleChangeRequest*>(parameter);
    const toolkit::WindowDc screen(nullptr);
    RECT suggested = SuggestedRect(request.window, request.dpi);
    if (ScreenShows(screen.get(), suggested, request)) {
        return kNotRepainted;
    }
    const double sent = Now();
    SendMessageW(request.window, WM_DPICHANGED, MAKEWPARAM(request.dpi, request.dpi),
                 reinterpret_cast<LPARAM>(&suggested));
    RedrawWindow(request.window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    RECT bounds{};
    GetWindowRect(request.window, &bounds);
    // Polled every millisecond or so, as bench_driver polls for a start-up's first paint.
    while (!ScreenShows(screen.get(), bounds, request)) {
        if (Now() - sent > kTimeoutMs) {
            return kNotRepainted;
        }
        Sleep(1);
    }
    return static_cast<DWORD>((Now() - sent) * 1000.0);
}
