#pragma once

#include "test_support.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

// BrevaneTwinova.exe started from the folder of the test executable, with its main window
// found and shown, and waited for in the foreground. Ends the program, if it still runs, when it
// goes out of scope.
class RunningProgram {
  public:
    RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    HWND Window() const noexcept { return window_; }
    // Whether the window came to the foreground. Windows keeps a program started from the
    // background (by a test runner of an IDE, a build agent) behind the active window.
    bool InForeground() const noexcept { return inForeground_; }
    // True when the program ended within the timeout; its exit code goes to `exitCode`.
    bool WaitForExit(std::chrono::milliseconds timeout, DWORD& exitCode);
    // The window's client point (x, y) on the screen.
    POINT ScreenPoint(int x, int y) const;
    // The scale the window is drawn at, and where the screen shows the client point (x, y) of its
    // design (in pixels at 96 DPI) at that scale.
    toolkit::Scale Scale() const { return testing_support::ScaleOf(window_); }
    POINT ScreenPointOfDesign(int x, int y) const;
    // The window's client area as the screen shows it now, as far as it lies on the screen.
    testing_support::Pixels Shown() const;

  private:
    testing_support::ChildProcess process_;
    HWND window_ = nullptr;
    bool inForeground_ = false;
};

using testing_support::WaitUntil;

// Real mouse input at screen points, as a user's hand would give it.
void MoveMouseTo(POINT screen);
void PressLeftButton();
void ReleaseLeftButton();
// One mouse button event: MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEUP and so on.
void SendMouseButton(DWORD event);
void ClickAt(POINT screen);

// The test prefix's browser is a script that appends each address it is given to this file.
inline constexpr char kOpenedAddresses[] = "C:\\opened-addresses.txt";

using testing_support::CloseMessageBox;
using testing_support::FindMessageBoxOf;
using testing_support::MessageBoxText;

// Begins the part of a case that gives the running program real input or reads its window off
// the screen: unless its window is in the foreground, the case is skipped and says why.
#define SKIP_UNLESS_IN_FOREGROUND(program)                                                    \
    do {                                                                                      \
        if (!(program).InForeground()) {                                                      \
            GTEST_SKIP() << "BrevaneTwinova's window stayed behind the active window, as "    \
                            "Windows keeps a program started from the background, and this "  \
                            "case's real input and screen reads would reach whatever covers " \
                            "it.";                                                            \
        }                                                                                     \
    } while (false)
