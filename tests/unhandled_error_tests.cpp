// An error that leaves an event handler: a message box with its number and description, titled
// with the application title, and then the program ends with a non-zero exit code. The error
// ends the process, so each case runs in a child process (toolkit_error_helper) and the test
// reads and closes the real box from outside.

#include "test_support.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using testing_support::ChildProcess;
using testing_support::WindowText;

struct Outcome {
    bool boxShown = false;
    std::wstring title;
    std::wstring text;
    bool ownerDisabled = false;  // the box's owner takes no input while it is open
    bool hasOwner = false;
    DWORD exitCode = STILL_ACTIVE;
};

Outcome RunHelper(const std::wstring& mode) {
    Outcome outcome;
    ChildProcess helper(testing_support::BesideTestExecutable(L"toolkit_error_helper.exe"), mode);
    if (!helper.Started()) {
        ADD_FAILURE() << "toolkit_error_helper.exe did not start";
        return outcome;
    }
    const HWND box = helper.WaitForWindow(
        [](HWND window) { return testing_support::ClassName(window) == L"#32770"; }, 10000);
    if (box != nullptr) {
        outcome.boxShown = true;
        outcome.title = WindowText(box);
        wchar_t text[512] = L"";
        GetDlgItemTextW(box, 0xFFFF, text, 512);
        outcome.text = text;
        const HWND owner = GetWindow(box, GW_OWNER);
        outcome.hasOwner = owner != nullptr;
        outcome.ownerDisabled = owner != nullptr && !IsWindowEnabled(owner);
        // The box stays until it is closed: the program must still be running.
        EXPECT_EQ(helper.WaitForExit(200), STILL_ACTIVE) << "ended before the box was closed";
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    }
    outcome.exitCode = helper.WaitForExit(10000);
    return outcome;
}

TEST(UnhandledError, FromAClickIsReportedAndEndsTheProgram) {
    const Outcome outcome = RunHelper(L"click");
    ASSERT_TRUE(outcome.boxShown);
    EXPECT_EQ(outcome.title, L"BrevaneTwinova");
    EXPECT_EQ(outcome.text, L"Run-time error '13':\n\nType mismatch");
    EXPECT_TRUE(outcome.hasOwner && outcome.ownerDisabled) << "the box is modal to the window";
    EXPECT_EQ(outcome.exitCode, 13U);
}

TEST(UnhandledError, FromAMouseDownWhileTheMouseIsHeld) {
    const Outcome outcome = RunHelper(L"mousedown");
    ASSERT_TRUE(outcome.boxShown);
    EXPECT_EQ(outcome.title, L"BrevaneTwinova");
    EXPECT_EQ(outcome.text, L"Run-time error '11':\n\nDivision by zero");
    EXPECT_EQ(outcome.exitCode, 11U);
}

TEST(UnhandledError, FromAPushButtonsClick) {
    const Outcome outcome = RunHelper(L"button");
    ASSERT_TRUE(outcome.boxShown);
    EXPECT_EQ(outcome.text, L"Run-time error '6':\n\nOverflow");
    EXPECT_EQ(outcome.exitCode, 6U);
}

TEST(UnhandledError, FromLoadBeforeTheWindowIsShown) {
    const Outcome outcome = RunHelper(L"load");
    ASSERT_TRUE(outcome.boxShown);
    EXPECT_EQ(outcome.title, L"BrevaneTwinova");
    EXPECT_EQ(outcome.text, L"Run-time error '94':\n\nInvalid use of Null");
    EXPECT_EQ(outcome.exitCode, 94U);
}

TEST(UnhandledError, RunningOutOfMemoryIsErrorSeven) {
    const Outcome outcome = RunHelper(L"memory");
    ASSERT_TRUE(outcome.boxShown);
    EXPECT_EQ(outcome.text, L"Run-time error '7':\n\nOut of memory");
    EXPECT_EQ(outcome.exitCode, 7U);
}

TEST(UnhandledError, WithoutAnErrorTheProgramEndsNormally) {
    ChildProcess helper(testing_support::BesideTestExecutable(L"toolkit_error_helper.exe"),
                        L"close");
    ASSERT_TRUE(helper.Started());
    EXPECT_EQ(helper.WaitForExit(10000), 0U);
}

}  // namespace
