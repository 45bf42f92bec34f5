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
    int boxesAfterRepaint = 0;  // boxes open once the window behind has been painted again
    DWORD exitCode = STILL_ACTIVE;
};

Outcome RunHelper(const std::wstring& mode) {
    Outcome outcome;
    ChildProcess helper(testing_support::BesideTestExecutable(L"toolkit_error_helper.exe"), mode);
    if (!helper.Started()) {
        ADD_FAILURE() << "toolkit_error_helper.exe did not start";
        return outcome;
    }
    HWND box = nullptr;
    testing_support::WaitUntil([&] {
        box = testing_support::FindMessageBoxOfProcess(helper.Id());
        return box != nullptr || helper.WaitForExit(0) != STILL_ACTIVE;
    });
    if (box != nullptr) {
        outcome.boxShown = true;
        outcome.title = WindowText(box);
        outcome.text = testing_support::MessageBoxText(box);
        const HWND owner = GetWindow(box, GW_OWNER);
        outcome.hasOwner = owner != nullptr;
        outcome.ownerDisabled = owner != nullptr && !IsWindowEnabled(owner);
        if (owner != nullptr) {
            RedrawWindow(owner, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        }
        // The box stays until it is closed: the program must still be running.
        EXPECT_EQ(helper.WaitForExit(200), STILL_ACTIVE) << "ended before the box was closed";
        outcome.boxesAfterRepaint = testing_support::MessageBoxCountOf(helper.Id());
        testing_support::CloseMessageBox(box);
    }
    outcome.exitCode = helper.WaitForExit(10000);
    return outcome;
}

struct ErrorCase {
    const wchar_t* mode;  // what the helper does: see error_helper.cpp
    DWORD number;
    const wchar_t* text;
    bool owned;  // the form was active, so the box must be modal to it
};

class UnhandledError : public testing::TestWithParam<ErrorCase> {};

TEST_P(UnhandledError, IsReportedInABoxAndEndsTheProgramWithItsNumber) {
    const ErrorCase& error = GetParam();
    const Outcome outcome = RunHelper(error.mode);
    ASSERT_TRUE(outcome.boxShown);
    EXPECT_EQ(outcome.title, testing_support::kTestProgramTitle);
    EXPECT_EQ(outcome.text, error.text);
    EXPECT_TRUE(outcome.hasOwner || !error.owned);
    if (outcome.hasOwner) {
        EXPECT_TRUE(outcome.ownerDisabled) << "the box is modal to the window";
    }
    EXPECT_EQ(outcome.boxesAfterRepaint, 1) << "a fault repeated while the box is open";
    EXPECT_EQ(outcome.exitCode, error.number);
}

INSTANTIATE_TEST_SUITE_P(
    FromEachKindOfHandler, UnhandledError,
    testing::Values(
        ErrorCase{L"click", 13, L"Run-time error '13':\n\nType mismatch", true},
        ErrorCase{L"mousedown", 11, L"Run-time error '11':\n\nDivision by zero", false},
        ErrorCase{L"button", 6, L"Run-time error '6':\n\nOverflow", false},
        ErrorCase{L"load", 94, L"Run-time error '94':\n\nInvalid use of Null", false},
        ErrorCase{L"memory", 7, L"Run-time error '7':\n\nOut of memory", false},
        ErrorCase{L"paint", 380, L"Run-time error '380':\n\nInvalid property value", false},
        ErrorCase{L"drawitem", 380, L"Run-time error '380':\n\nInvalid property value", false}),
    [](const testing::TestParamInfo<ErrorCase>& info) {
        const std::wstring mode = info.param.mode;
        return std::string(mode.begin(), mode.end());
    });

TEST(UnhandledErrorBox, NoneWithoutAnErrorAndTheProgramEndsNormally) {
    ChildProcess helper(testing_support::BesideTestExecutable(L"toolkit_error_helper.exe"),
                        L"close");
    ASSERT_TRUE(helper.Started());
    EXPECT_EQ(helper.WaitForExit(10000), 0U);
}

}  // namespace
