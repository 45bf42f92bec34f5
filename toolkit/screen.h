#pragma once

#include <windows.h>

namespace toolkit {

// WM_GETDPISCALEDSIZE (Windows 10 1703), which the SDK declares only for programs that require
// that Windows: Windows asks a per-monitor-aware window the size it wants at another DPI.
inline constexpr UINT kGetDpiScaledSizeMessage = 0x02E4;

// Tells Windows that the program draws itself at the scale of each monitor, so that Windows
// never stretches its windows as bitmaps. Per-monitor (version 2) where Windows has it (Windows
// 10 1703 and later): each window is told the scale of the monitor it is on, and WM_DPICHANGED
// when it moves to another. Elsewhere, or where Windows refuses, system-aware (Windows 7 to 10
// 1607): one scale, the primary monitor's at sign-in, for every window. It must come before the
// process makes any window or screen device context.
void DeclareDpiAwareness();

// Whether Windows tells the window the scale of each monitor it is on (per-monitor aware, either
// version), so that it lays itself out anew when that changes. A window that is system-aware or
// unaware is stretched by Windows instead, and must leave WM_DPICHANGED to DefWindowProc.
bool FollowsMonitorScale(HWND window);

// The DPI a window is drawn at: its monitor's where Windows tells each window its own, the
// system's (the primary monitor's at sign-in) otherwise.
UINT DpiOf(HWND window);

// The part of a monitor that windows may cover, without the taskbar: the monitor a window is on
// (mostly), or with no window the primary monitor, where windows open.
RECT WorkAreaOf(HWND window = nullptr);

// Whether the user has a contrast theme on ("High Contrast" before Windows 10): the one place
// the program asks, since the form keeps the answer until the system says the theme changed.
bool ContrastThemeOn();

}  // namespace toolkit
