// Drives the real program with real mouse input, the way a user's hand would.
#include "running_program.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

using namespace std::chrono_literals;

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Counts pure-red pixels in a client rectangle of the window, read off the screen.
int RedPixelsIn(const RunningProgram& program, RECT client) {
    const POINT origin = program.ScreenPoint(client.left, client.top);
    const HDC screen = GetDC(nullptr);
    int red = 0;
    for (int y = 0; y < client.bottom - client.top; ++y) {
        for (int x = 0; x < client.right - client.left; ++x) {
            const COLORREF pixel = GetPixel(screen, origin.x + x, origin.y + y);
            if (GetRValue(pixel) > 200 && GetGValue(pixel) < 60 && GetBValue(pixel) < 60) {
                ++red;
            }
        }
    }
    ReleaseDC(nullptr, screen);
    return red;
}

std::string ReadFile(const char* path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

constexpr RECT kLinkLabel{16, 48, 177, 65};
constexpr POINT kBareSurface{300, 150};

}  // namespace

TEST(WindowButtons, ClickOnTheMinimiseGlyphMinimisesTheWindow) {
    RunningProgram program;
    ClickAt(program.ScreenPoint(140, 10));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(program.Window()) != FALSE; }));
}

TEST(WindowButtons, ClickRightOfTheCloseGlyphEndsTheProgramWithoutAQuestion) {
    RunningProgram program;
    ClickAt(program.ScreenPoint(195, 10));
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_TRUE(program.WaitForExit(5s, exitCode));
    EXPECT_EQ(exitCode, 0U);
}

struct DragCase {
    const char* name;
    POINT start;  // client point
    DWORD press;  // mouse button events
    DWORD release;
    bool drags;
};

class WindowDrag : public testing::TestWithParam<DragCase> {};

// Presses, moves 40 x 32 pixels, releases, and moves again with no button held.
TEST_P(WindowDrag, FollowsTheLeftButtonOnlyFromTheSurfaceAndItsLabels) {
    const DragCase& drag = GetParam();
    RunningProgram program;
    const RECT before = WindowRect(program.Window());
    POINT pointer = program.ScreenPoint(drag.start.x, drag.start.y);
    MoveMouseTo(pointer);
    SendMouseButton(drag.press);
    for (int step = 0; step < 4; ++step) {
        pointer.x += 10;
        pointer.y += 8;
        MoveMouseTo(pointer);
    }
    SendMouseButton(drag.release);
    MoveMouseTo({pointer.x + 30, pointer.y + 30});
    if (drag.drags) {
        ASSERT_TRUE(WaitUntil([&] { return WindowRect(program.Window()).left != before.left; }));
    } else {
        Sleep(300);
    }
    const RECT after = WindowRect(program.Window());
    EXPECT_EQ(after.left - before.left, drag.drags ? 40 : 0);
    EXPECT_EQ(after.top - before.top, drag.drags ? 32 : 0);
}

constexpr DWORD kLeftDown = MOUSEEVENTF_LEFTDOWN;
constexpr DWORD kLeftUp = MOUSEEVENTF_LEFTUP;
constexpr DWORD kRightDown = MOUSEEVENTF_RIGHTDOWN;
constexpr DWORD kRightUp = MOUSEEVENTF_RIGHTUP;
constexpr DWORD kMiddleDown = MOUSEEVENTF_MIDDLEDOWN;
constexpr DWORD kMiddleUp = MOUSEEVENTF_MIDDLEUP;

INSTANTIATE_TEST_SUITE_P(
    Presses, WindowDrag,
    testing::Values(DragCase{"LeftOnTheTitle", {100, 10}, kLeftDown, kLeftUp, true},
                    DragCase{"LeftOnAButton", {176, 88}, kLeftDown, kLeftUp, false},
                    DragCase{"RightOnTheSurface", {300, 150}, kRightDown, kRightUp, false},
                    DragCase{"MiddleOnTheExplanation", {60, 130}, kMiddleDown, kMiddleUp, false},
                    DragCase{"RightOnTheTitle", {100, 10}, kRightDown, kRightUp, false},
                    DragCase{"MiddleOnTheInstruction", {300, 15}, kMiddleDown, kMiddleUp, false}),
    [](const testing::TestParamInfo<DragCase>& info) { return std::string(info.param.name); });

TEST(WebLink, HoverReddensTheLinkAndTheBareSurfaceWhitensIt) {
    RunningProgram program;
    EXPECT_EQ(RedPixelsIn(program, kLinkLabel), 0);
    MoveMouseTo(program.ScreenPoint(60, 56));
    EXPECT_TRUE(WaitUntil([&] { return RedPixelsIn(program, kLinkLabel) > 50; }, 5s));
    MoveMouseTo(program.ScreenPoint(kBareSurface.x, kBareSurface.y));
    EXPECT_TRUE(WaitUntil([&] { return RedPixelsIn(program, kLinkLabel) == 0; }, 5s));
}

TEST(WebLink, ClickHandsTheMakersAddressToTheBrowser) {
    // The test prefix's browser is a script that appends each address it is given here.
    constexpr char kOpenedAddresses[] = "C:\\opened-addresses.txt";
    DeleteFileA(kOpenedAddresses);
    RunningProgram program;
    ClickAt(program.ScreenPoint(60, 56));
    EXPECT_TRUE(WaitUntil([&] { return !ReadFile(kOpenedAddresses).empty(); }));
    EXPECT_EQ(ReadFile(kOpenedAddresses), "http://www.brevane.example/\n");
    EXPECT_EQ(FindMessageBoxOf(program.Window()), nullptr);
}
