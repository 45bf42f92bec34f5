// The Apply button of the real program, its real message boxes and the real registry.
#include "running_program.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::chrono_literals;

constexpr wchar_t kPager[] = L"Software\\yahoo\\pager";
constexpr wchar_t kTestKey[] = L"Software\\yahoo\\pager\\Test";

class ApplyButton : public testing::Test {
  protected:
    void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, kPager); }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, kPager); }

    // Clicks Apply, waits for the box it opens, reads it and closes it with OK.
    static std::wstring ApplyAndReadBox(const RunningProgram& program, std::wstring* title) {
        ClickAt(program.ScreenPoint(320, 56));
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindMessageBoxOf(program.Window())) != nullptr; });
        if (box == nullptr) {
            return L"(no message box)";
        }
        const std::wstring text = MessageBoxText(box);
        wchar_t caption[128] = L"";
        GetWindowTextW(box, caption, 128);
        if (title != nullptr) {
            *title = caption;
        }
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        WaitUntil([&] { return !IsWindow(box); });
        return text;
    }

    static bool PluralIsOne() {
        DWORD data = 0;
        DWORD size = sizeof data;
        DWORD type = 0;
        return RegGetValueW(HKEY_CURRENT_USER, kTestKey, L"Plural", RRF_RT_ANY, &type, &data,
                            &size) == ERROR_SUCCESS &&
               type == REG_DWORD && data == 1;
    }
};

}  // namespace

TEST_F(ApplyButton, WritesTheValueAndConfirmsInTheWindowsLanguage) {
    RunningProgram program;
    std::wstring title;
    EXPECT_EQ(ApplyAndReadBox(program, &title), L"Done! Now you can open Yahoo Messenger");
    EXPECT_EQ(title, L"BrevaneTwinova");
    EXPECT_TRUE(PluralIsOne());

    ClickAt(program.ScreenPoint(176, 88));  // RO
    EXPECT_EQ(ApplyAndReadBox(program, nullptr),
              L"Am terminat! Acum poti deschide aplicatia Yahoo Messenger de cate ori doresti!");
    ClickAt(program.ScreenPoint(216, 88));  // EN
    EXPECT_EQ(ApplyAndReadBox(program, nullptr), L"Done! Now you can open Yahoo Messenger");
}

TEST_F(ApplyButton, SaysHonestlyWhenTheKeyCannotBeCreated) {
    // A non-volatile key cannot be created under a volatile one.
    toolkit::UniqueKey pager;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kPager, 0, nullptr, REG_OPTION_VOLATILE,
                              KEY_ALL_ACCESS, nullptr, pager.put(), nullptr),
              ERROR_SUCCESS);

    RunningProgram program;
    std::wstring title;
    const std::wstring text = ApplyAndReadBox(program, &title);
    const std::wstring failed =
        L"Failed! Yahoo Messenger could not be set to open more than once.\n\n";
    EXPECT_EQ(text.substr(0, failed.size()), failed);
    EXPECT_GT(text.size(), 70U) << "the system's description of the failure follows";
    EXPECT_EQ(title, L"BrevaneTwinova");
    EXPECT_FALSE(PluralIsOne());
    DWORD exitCode = 0;
    EXPECT_FALSE(program.WaitForExit(200ms, exitCode)) << "the program goes on running";
}
