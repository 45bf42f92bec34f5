// The error report shown for real: a modal Win32 message box, found and read from a second
// thread while the routine waits for it, then closed with its OK button.

#include "registry/registry_routines.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "registry_test_support.h"

namespace {

using namespace registry_test;

// What the watcher saw of the box.
struct SeenBox {
    bool found = false;
    std::wstring text;
    bool hasIcon = true;
    bool hasOk = false;
    int otherButtons = 0;
};

// Waits for a message box titled `title`, reads it and presses OK.
SeenBox WatchForBox(const wchar_t* title) {
    SeenBox seen;
    HWND box = nullptr;
    for (int i = 0; i < 200 && box == nullptr; ++i) {
        box = FindWindowW(L"#32770", title);
        if (box == nullptr) {
            Sleep(50);
        }
    }
    if (box == nullptr) {
        return seen;
    }
    seen.found = true;
    wchar_t text[256] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 256);  // the text's static control
    seen.text = text;
    // An icon is a static control holding one (STM_GETICON); style 0 has none.
    seen.hasIcon = false;
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        if (lstrcmpiW(className, L"Static") == 0 && IsWindowVisible(child) &&
            SendMessageW(child, STM_GETICON, 0, 0) != 0) {
            seen.hasIcon = true;
        }
        if (lstrcmpiW(className, L"Button") == 0 && IsWindowVisible(child)) {
            if (GetDlgCtrlID(child) == IDOK) {
                seen.hasOk = true;
            } else {
                ++seen.otherButtons;
            }
        }
    }
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
    return seen;
}

class RealErrorReport : public CleanKeyTest {
  protected:
    void SetUp() override {
        CleanKeyTest::SetUp();
        // The real box, not the recorder of CleanKeyTest.
        recorderBeforeReal_ = toolkit::SetMessageBoxPresenter(nullptr);
    }
    void TearDown() override {
        toolkit::SetMessageBoxPresenter(std::move(recorderBeforeReal_));
        CleanKeyTest::TearDown();
    }

  private:
    toolkit::MessageBoxPresenter recorderBeforeReal_;
};

TEST_F(RealErrorReport, ShowsNumberDescriptionAndRoutineNameWithOkOnly) {
    SeenBox seen;
    std::thread watcher([&] { seen = WatchForBox(L"RegistrySetKeyValue"); });
    const LONG status = registry::RegistrySetKeyValue(HKEY_CURRENT_USER, TestKey(), L"Plural",
                                                      2147483648.0, REG_DWORD);
    watcher.join();

    ASSERT_TRUE(seen.found) << "no box titled RegistrySetKeyValue appeared";
    EXPECT_EQ(seen.text, L"Error: 6. Overflow");
    EXPECT_FALSE(seen.hasIcon);
    EXPECT_TRUE(seen.hasOk);
    EXPECT_EQ(seen.otherButtons, 0);
    EXPECT_EQ(status, registry::kErrorReported);
    EXPECT_FALSE(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Plural"));
}

}  // namespace
