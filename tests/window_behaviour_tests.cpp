// Drives the real program with real input, the way a user's hand would, and reads what it shows
// from outside: the drag, the link, the Apply button with its real message box and the real
// registry, and the focus after minimising under a window manager.
#include "registry_test_support.h"
#include "running_program.h"
#include "window/language.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using namespace std::chrono_literals;

RECT WindowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

bool SamePlace(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

// Client points and boxes of the design, in pixels at 96 DPI.
constexpr RECT kLinkLabel{16, 48, 177, 65};
constexpr POINT kOnTheLink{60, 56};
constexpr POINT kBareSurface{300, 150};

// Pure-red pixels of the link as the screen shows it.
int RedLinkPixels(const RunningProgram& program) {
    const RECT link = testing_support::AtScale(program.Scale(), kLinkLabel);
    return testing_support::ReadWindow(program.Window(), link)
        .Count({0, 0, link.right - link.left, link.bottom - link.top}, 0xFF0000);
}

bool LinkIsRed(const RunningProgram& program) {
    return RedLinkPixels(program) > 50;
}

// Any message box of the program, owned by its window or by nothing.
HWND AnyBoxOf(const RunningProgram& program) {
    return testing_support::FindMessageBoxOfProcess(testing_support::ProcessOf(program.Window()));
}

using testing_support::ReadTextFile;

}  // namespace

TEST(WindowDrag, PressOnTheTitleAndMoveDragsTheWindowByTheSameOffset) {
    RunningProgram program;
    SKIP_UNLESS_IN_FOREGROUND(program);
    const RECT before = WindowRect(program.Window());
    POINT pointer = program.ScreenPointOfDesign(100, 10);
    MoveMouseTo(pointer);
    PressLeftButton();
    for (int step = 0; step < 4; ++step) {
        pointer.x += 10;
        pointer.y += 8;
        MoveMouseTo(pointer);
    }
    ReleaseLeftButton();
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(program.Window()).left != before.left; }));
    const RECT after = WindowRect(program.Window());
    EXPECT_EQ(after.left - before.left, 40);
    EXPECT_EQ(after.top - before.top, 32);
}

TEST(WindowDrag, NoOtherPressDragsTheWindow) {
    constexpr DWORD kLeft[] = {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
    constexpr DWORD kRight[] = {MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
    constexpr DWORD kMiddle[] = {MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP};
    const struct {
        const char* name;
        POINT press;          // client pixels at 96 DPI
        const DWORD* button;  // its down and up events
    } cases[] = {
        {"RO button", {176, 88}, kLeft},
        {"link", kOnTheLink, kLeft},
        {"minimise area", {140, 10}, kLeft},
        {"close area", {180, 10}, kLeft},
        {"language prompt", {20, 85}, kLeft},
        {"button picture", {164, 10}, kLeft},
        // The system's move loop would take any press for a left one, and the window would
        // then follow the pointer with no button held.
        {"right on the surface", kBareSurface, kRight},
        {"right on the title", {100, 10}, kRight},
        {"middle on the explanation", {60, 130}, kMiddle},
        {"middle on the instruction", {300, 15}, kMiddle},
    };
    RunningProgram program;
    SKIP_UNLESS_IN_FOREGROUND(program);
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        const RECT before = WindowRect(program.Window());
        POINT pointer = program.ScreenPointOfDesign(row.press.x, row.press.y);
        MoveMouseTo(pointer);
        SendMouseButton(row.button[0]);
        pointer.x += 40;
        pointer.y += 30;
        MoveMouseTo(pointer);
        SendMouseButton(row.button[1]);
        MoveMouseTo({pointer.x + 30, pointer.y + 30});
        Sleep(300);
        EXPECT_TRUE(SamePlace(WindowRect(program.Window()), before));
        // Released elsewhere, the press is no click either.
        EXPECT_FALSE(IsIconic(program.Window()));
        DWORD exitCode = STILL_ACTIVE;
        ASSERT_FALSE(program.WaitForExit(0ms, exitCode));
    }
}

TEST(WebLink, HoverReddensTheLinkAndOnlyTheBareSurfaceWhitensIt) {
    RunningProgram program;
    SKIP_UNLESS_IN_FOREGROUND(program);
    EXPECT_EQ(RedLinkPixels(program), 0);
    // Nothing tracks the pointer leaving the link for another control.
    const POINT otherControls[] = {{100, 20}, {20, 85}, {176, 88}, {300, 56}};
    for (const POINT& other : otherControls) {
        SCOPED_TRACE(testing::Message() << other.x << ", " << other.y);
        MoveMouseTo(program.ScreenPointOfDesign(kOnTheLink.x, kOnTheLink.y));
        EXPECT_TRUE(WaitUntil([&] { return LinkIsRed(program); }, 5s));
        MoveMouseTo(program.ScreenPointOfDesign(other.x, other.y));
        Sleep(300);
        EXPECT_TRUE(LinkIsRed(program));
        MoveMouseTo(program.ScreenPointOfDesign(kBareSurface.x, kBareSurface.y));
        EXPECT_TRUE(WaitUntil([&] { return RedLinkPixels(program) == 0; }, 5s));
    }
}

TEST(WebLink, ClickHandsTheMakersAddressToTheBrowser) {
    SKIP_UNLESS_BROWSER_RECORDS_ADDRESSES();
    DeleteFileA(kOpenedAddresses);
    RunningProgram program;
    SKIP_UNLESS_IN_FOREGROUND(program);
    ClickAt(program.ScreenPointOfDesign(kOnTheLink.x, kOnTheLink.y));
    EXPECT_TRUE(WaitUntil([&] { return !ReadTextFile(kOpenedAddresses).empty(); }));
    EXPECT_EQ(ReadTextFile(kOpenedAddresses), "http://www.brevane.example/\n");
    EXPECT_EQ(AnyBoxOf(program), nullptr);
}

namespace {

// While it lives, http addresses open with a program that does not exist; the command that
// opened them before is put back when it goes.
class UnopenableAddresses {
  public:
    UnopenableAddresses() {
        DWORD size = sizeof previous_;
        RegGetValueW(HKEY_CLASSES_ROOT, kCommand, nullptr, RRF_RT_REG_SZ, nullptr, previous_,
                     &size);
        SetCommand(L"C:\\missing\\browser.exe \"%1\"");
    }
    UnopenableAddresses(const UnopenableAddresses&) = delete;
    UnopenableAddresses& operator=(const UnopenableAddresses&) = delete;
    ~UnopenableAddresses() { SetCommand(previous_); }

  private:
    static void SetCommand(const wchar_t* command) {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, kCommand, nullptr, REG_SZ, command,
                        static_cast<DWORD>((wcslen(command) + 1) * sizeof(wchar_t)));
    }
    static constexpr wchar_t kCommand[] = L"http\\shell\\open\\command";
    wchar_t previous_[MAX_PATH] = L"";
};

}  // namespace

TEST(WebLink, AClickThatCannotOpenTheAddressShowsNothingAndChangesNothing) {
    SKIP_OUTSIDE_THROWAWAY_PREFIX("command that opens http addresses");
    DeleteFileA(kOpenedAddresses);
    const UnopenableAddresses unopenable;
    RunningProgram program;
    SKIP_UNLESS_IN_FOREGROUND(program);
    MoveMouseTo(program.ScreenPointOfDesign(kOnTheLink.x, kOnTheLink.y));
    ASSERT_TRUE(WaitUntil([&] { return LinkIsRed(program); }, 5s));
    const RECT place = WindowRect(program.Window());
    RECT client{};
    GetClientRect(program.Window(), &client);
    const testing_support::Pixels before = testing_support::ReadWindow(program.Window(), client);
    PressLeftButton();
    ReleaseLeftButton();
    Sleep(1000);
    EXPECT_EQ(AnyBoxOf(program), nullptr);
    EXPECT_TRUE(SamePlace(WindowRect(program.Window()), place));
    EXPECT_FALSE(IsIconic(program.Window()));
    EXPECT_TRUE(IsWindowEnabled(program.Window()));
    EXPECT_TRUE(
        testing_support::SamePixels(testing_support::ReadWindow(program.Window(), client), before));
    DWORD exitCode = STILL_ACTIVE;
    EXPECT_FALSE(program.WaitForExit(0ms, exitCode));
    EXPECT_EQ(ReadTextFile(kOpenedAddresses), "") << "the address reached a browser after all";
}

// ---------------------------------------------------------------------------------------------
// The Apply button, its real message box and the real registry.

TEST(ApplyButton, WritesTheValueAndConfirmsItOrSaysHonestlyItCouldNotAndGoesOnRunning) {
    SKIP_OUTSIDE_THROWAWAY_PREFIX("Yahoo Messenger settings (HKEY_CURRENT_USER\\Software\\yahoo)");
    constexpr wchar_t kPager[] = L"Software\\yahoo\\pager";
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "key refused" : "key created");
        registry_test::DeleteTree(HKEY_CURRENT_USER, kPager);
        if (refused) {
            registry_test::CreateVolatileKey(kPager);  // the key Apply makes below it is refused
        }
        RunningProgram program;
        SKIP_UNLESS_IN_FOREGROUND(program);
        ClickAt(program.ScreenPointOfDesign(320, 56));
        HWND box = nullptr;
        ASSERT_TRUE(
            WaitUntil([&] { return (box = FindMessageBoxOf(program.Window())) != nullptr; }));
        const std::wstring text = MessageBoxText(box);
        EXPECT_EQ(testing_support::WindowText(box), L"BrevaneTwinova");
        CloseMessageBox(box);
        const std::wstring failed = std::wstring(kEnglishTexts.applyFailed) + L"\n\n";
        EXPECT_EQ(refused ? text.substr(0, failed.size()) : text,
                  refused ? failed : kEnglishTexts.applyDone);
        EXPECT_EQ(registry_test::ReadStored(HKEY_CURRENT_USER, L"Software\\yahoo\\pager\\Test",
                                            L"Plural"),
                  refused ? std::nullopt : std::optional(registry_test::Dword(1)));
        DWORD exitCode = 0;
        EXPECT_FALSE(program.WaitForExit(200ms, exitCode)) << "the program ended after the box";
    }
    registry_test::DeleteTree(HKEY_CURRENT_USER, kPager);
}

// Under a window manager, as on a user's desktop: these cases run only through
// run_in_prefix.sh --window-manager, where openbox manages the program's window.
namespace {

// Starts xdotool, a Linux program that only Wine can start, with `arguments` in `folder` (by
// default this process's current one); false when it does not start. Wine gives no handle to
// wait on for a Linux program: the caller waits for the effect.
bool StartXdotool(const std::wstring& arguments, const wchar_t* folder = nullptr) {
    const std::wstring path = L"/usr/bin/xdotool";
    std::wstring commandLine = path + L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder, &startup, &started)) {
        return false;
    }
    const toolkit::UniqueKernelHandle process(started.hProcess);
    const toolkit::UniqueKernelHandle thread(started.hThread);
    return true;
}

// Asks the window manager to act on the program's window as a taskbar would, through xdotool:
// "windowminimize" or "windowactivate".
void AskTheWindowManager(const std::wstring& action) {
    ASSERT_TRUE(StartXdotool(L"search --name \"^Brevane Twinova$\" " + action));
}

// Whether a window manager runs that xdotool can ask to minimise and activate windows: xdotool
// asks for the number of desktops, which only such a manager keeps, and only then creates a file
// in the temporary folder, which this process waits for. Asked once.
bool WindowManagerAnswersXdotool() {
    static const bool answers = [] {
        wchar_t folder[MAX_PATH] = L"";
        GetTempPathW(MAX_PATH, folder);
        const std::wstring name =
            L"window-manager-answered." + std::to_wstring(GetCurrentProcessId());
        const std::wstring answer = folder + name;
        if (!StartXdotool(L"get_num_desktops exec touch " + name, folder)) {
            return false;
        }
        const bool answered = WaitUntil(
            [&] { return GetFileAttributesW(answer.c_str()) != INVALID_FILE_ATTRIBUTES; }, 5s);
        DeleteFileW(answer.c_str());
        return answered;
    }();
    return answers;
}

// Presses and releases a key as the keyboard does: it goes to the foreground window.
void PressRealKey(WORD key) {
    INPUT inputs[2]{};
    for (INPUT& input : inputs) {
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
    }
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) != FALSE
               ? info.hwndFocus
               : nullptr;
}

struct RestoreCase {
    const char* name;
    bool ownButton;  // minimised by its own button, or by the manager
    int tabs;        // Tab presses before: the button that then has the focus
};

class UnderAWindowManager : public testing::TestWithParam<RestoreCase> {
  protected:
    void SetUp() override {
        if (!WindowManagerAnswersXdotool()) {
            GTEST_SKIP() << "This case needs a window manager that xdotool can ask to minimise "
                            "and activate windows, as Wine has under run_in_prefix.sh "
                            "--window-manager.";
        }
    }
};

}  // namespace

TEST_P(UnderAWindowManager, TheFocusComesBackWhenTheMinimisedWindowIsActivated) {
    const RestoreCase& restore = GetParam();
    RunningProgram program;
    SKIP_UNLESS_IN_FOREGROUND(program);
    const HWND window = program.Window();
    // Apply, RO and EN, in tab order, by points of the design inside them.
    const POINT buttons[] = {{320, 56}, {176, 88}, {216, 88}};
    const HWND focused = ChildWindowFromPoint(
        window, testing_support::PointAtScale(program.Scale(), buttons[restore.tabs]));
    for (int press = 0; press < restore.tabs; ++press) {
        PressRealKey(VK_TAB);
    }
    ASSERT_TRUE(WaitUntil([&] { return FocusOf(window) == focused; }, 5s));
    if (restore.ownButton) {
        ClickAt(program.ScreenPointOfDesign(140, 10));
    } else {
        AskTheWindowManager(L"windowminimize");
    }
    ASSERT_TRUE(WaitUntil([&] { return IsIconic(window) != FALSE; }));
    AskTheWindowManager(L"windowactivate");
    ASSERT_TRUE(
        WaitUntil([&] { return IsIconic(window) == FALSE && GetForegroundWindow() == window; }));
    EXPECT_TRUE(WaitUntil([&] { return FocusOf(window) == focused; }, 5s));
}

INSTANTIATE_TEST_SUITE_P(Restores, UnderAWindowManager,
                         testing::Values(RestoreCase{"OwnButtonFirstFocus", true, 0},
                                         RestoreCase{"OwnButtonAfterTab", true, 1},
                                         RestoreCase{"ManagerAfterTwoTabs", false, 2}),
                         [](const testing::TestParamInfo<RestoreCase>& info) {
                             return std::string(info.param.name);
                         });
