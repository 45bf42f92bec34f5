// The error report shown for real: a modal Win32 message box, found and read from a second
// thread while the routine waits for it, then closed with its OK button.

#include "registry/registry_routines.h"

#include <gtest/gtest.h>

#include <thread>

#include "registry_test_support.h"

namespace {

using namespace registry_test;

// What the watcher saw of the box.
struct SeenBox {
    bool found = false;
    std::wstring text;
    bool hasIcon = false;
    int buttons = 0;
    bool hasOk = false;
};

// Waits for a message box of this process titled `title`, reads it and presses OK.
SeenBox WatchForBox(const std::wstring& title) {
    SeenBox seen;
    HWND box = nullptr;
    testing_support::WaitUntil([&] {
        box = testing_support::FindMessageBox([&title](HWND window) {
            return testing_support::ProcessOf(window) == GetCurrentProcessId() &&
                   testing_support::WindowText(window) == title;
        });
        return box != nullptr;
    });
    if (box == nullptr) {
        return seen;
    }
    seen.found = true;
    seen.text = testing_support::MessageBoxText(box);
    // An icon is a static control holding one (STM_GETICON); style 0 has none.
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring kind = testing_support::ClassName(child);
        if (!IsWindowVisible(child)) {
            continue;
        }
        if (lstrcmpiW(kind.c_str(), L"Static") == 0 &&
            SendMessageW(child, STM_GETICON, 0, 0) != 0) {
            seen.hasIcon = true;
        }
        if (lstrcmpiW(kind.c_str(), L"Button") == 0) {
            ++seen.buttons;
            seen.hasOk = seen.hasOk || GetDlgCtrlID(child) == IDOK;
        }
    }
    testing_support::CloseMessageBox(box);
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
    EXPECT_EQ(seen.buttons, 1);
    EXPECT_EQ(status, registry::kErrorReported);
    EXPECT_FALSE(ReadStored(HKEY_CURRENT_USER, TestKey(), L"Plural"));
}

}  // namespace
