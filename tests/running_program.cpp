#include "running_program.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace {

void SendMouse(DWORD flags, POINT screen = {}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if ((flags & MOUSEEVENTF_MOVE) != 0) {
        // Absolute positions run from 0 to 65535 across the primary screen.
        input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
        input.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
        input.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    }
    SendInput(1, &input, sizeof input);
    // Let the program's thread take the event before the next one comes.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

}  // namespace

RunningProgram::RunningProgram()
    : process_(testing_support::BesideTestExecutable(L"BrevaneTwinova.exe"), L"") {
    if (!process_.Started()) {
        throw std::runtime_error("BrevaneTwinova.exe did not start");
    }
    window_ = process_.WaitForWindow(
        [](HWND window) { return GetWindow(window, GW_OWNER) == nullptr; }, 10000);
    if (window_ == nullptr) {
        throw std::runtime_error("BrevaneTwinova's window did not appear");
    }
    // It is shown first, then brought to the foreground; input sent before that can go astray.
    inForeground_ =
        WaitUntil([this] { return GetForegroundWindow() == window_; }, std::chrono::seconds(5));
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout, DWORD& exitCode) {
    exitCode = process_.WaitForExit(static_cast<DWORD>(timeout.count()));
    return exitCode != STILL_ACTIVE;
}

POINT RunningProgram::ScreenPoint(int x, int y) const {
    POINT point{x, y};
    ClientToScreen(window_, &point);
    return point;
}

POINT RunningProgram::ScreenPointOfDesign(int x, int y) const {
    const POINT point = testing_support::PointAtScale(Scale(), {x, y});
    return ScreenPoint(point.x, point.y);
}

testing_support::Pixels RunningProgram::Shown() const {
    RECT client{};
    GetClientRect(window_, &client);
    // The screen cannot be read past its edges, which a window larger than it reaches across.
    const POINT origin = ScreenPoint(0, 0);
    client.right = std::min<LONG>(client.right, GetSystemMetrics(SM_CXSCREEN) - origin.x);
    client.bottom = std::min<LONG>(client.bottom, GetSystemMetrics(SM_CYSCREEN) - origin.y);
    return testing_support::ReadWindow(window_, client);
}

void MoveMouseTo(POINT screen) {
    SendMouse(MOUSEEVENTF_MOVE, screen);
}
void PressLeftButton() {
    SendMouse(MOUSEEVENTF_LEFTDOWN);
}
void ReleaseLeftButton() {
    SendMouse(MOUSEEVENTF_LEFTUP);
}

void SendMouseButton(DWORD event) {
    SendMouse(event);
}

void ClickAt(POINT screen) {
    MoveMouseTo(screen);
    PressLeftButton();
    ReleaseLeftButton();
}
