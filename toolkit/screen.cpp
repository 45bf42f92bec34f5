#include "toolkit/screen.h"

#include "toolkit/handle.h"
#include "toolkit/system_functions.h"

namespace toolkit {

void DeclareDpiAwareness() {
    if (!User32()
             .SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)
             .value_or(FALSE)) {
        SetProcessDPIAware();
    }
}

bool FollowsMonitorScale(HWND window) {
    // Compared by awareness, not by context: Windows may hand out a context of its own that
    // means per-monitor v2 without being equal to DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2.
    const User32Functions& user32 = User32();
    const DPI_AWARENESS_CONTEXT context =
        user32.GetWindowDpiAwarenessContext(window).value_or(nullptr);
    const DPI_AWARENESS awareness =
        user32.GetAwarenessFromDpiAwarenessContext(context).value_or(DPI_AWARENESS_INVALID);
    return awareness == DPI_AWARENESS_PER_MONITOR_AWARE;
}

UINT DpiOf(HWND window) {
    if (const UINT dpi = User32().GetDpiForWindow(window).value_or(0); dpi != 0) {
        return dpi;
    }
    const WindowDc screen(nullptr);
    return static_cast<UINT>(GetDeviceCaps(screen.get(), LOGPIXELSY));
}

RECT WorkAreaOf(HWND window) {
    const HMONITOR monitor = window != nullptr ? MonitorFromWindow(window, MONITOR_DEFAULTTOPRIMARY)
                                               : MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(monitor, &info);
    return info.rcWork;
}

bool ContrastThemeOn() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace toolkit
