#include "running_program.h"

#include "test_support.h"

#include <stdexcept>
#include <thread>

namespace {

struct WindowSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchVisibleWindowOfProcess(HWND window, LPARAM search) {
    auto& wanted = *reinterpret_cast<WindowSearch*>(search);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId == wanted.processId && IsWindowVisible(window) &&
        GetWindow(window, GW_OWNER) == nullptr) {
        wanted.found = window;
        return FALSE;
    }
    return TRUE;
}

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

RunningProgram::RunningProgram() {
    std::wstring commandLine =
        L"\"" + testing_support::BesideTestExecutable(L"BrevaneTwinova.exe") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
        throw std::runtime_error("BrevaneTwinova.exe did not start");
    }
    process_.reset(started.hProcess);
    CloseKernelHandle(started.hThread);
    WindowSearch search{started.dwProcessId, nullptr};
    WaitUntil([&search] {
        EnumWindows(MatchVisibleWindowOfProcess, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
    });
    window_ = search.found;
    if (window_ == nullptr) {
        throw std::runtime_error("BrevaneTwinova's window did not appear");
    }
    WaitForInputIdle(process_.get(), 5000);
}

RunningProgram::~RunningProgram() {
    if (WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

bool RunningProgram::WaitForExit(std::chrono::milliseconds timeout, DWORD& exitCode) const {
    if (WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0) {
        return false;
    }
    GetExitCodeProcess(process_.get(), &exitCode);
    return true;
}

POINT RunningProgram::ScreenPoint(int x, int y) const {
    POINT point{x, y};
    ClientToScreen(window_, &point);
    return point;
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
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

void ClickAt(POINT screen) {
    MoveMouseTo(screen);
    PressLeftButton();
    ReleaseLeftButton();
}

HWND FindMessageBoxOf(HWND owner) {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
        if (GetWindow(box, GW_OWNER) == owner && IsWindowVisible(box)) {
            return box;
        }
    }
    return nullptr;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[1024] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 1024);
    return text;
}
