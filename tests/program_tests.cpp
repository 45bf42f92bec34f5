// The built program from outside: the resources of BrevaneTwinova.exe read back from the file,
// and the running program's window as another process sees it.

#include "assets/pictures.h"
#include "running_program.h"
#include "test_support.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::Pair;
using testing_support::ClassName;
using testing_support::RectInParent;
using testing_support::WindowText;

std::wstring ProgramPath() {
    return testing_support::BesideTestExecutable(L"BrevaneTwinova.exe");
}

// ---------------------------------------------------------------------------------------------
// Resources.

class ProgramResources : public testing::Test {
  protected:
    void SetUp() override {
        module_ = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(module_, nullptr) << "cannot open BrevaneTwinova.exe";
    }
    void TearDown() override {
        if (module_ != nullptr) {
            FreeLibrary(module_);
        }
    }

    // The bytes of one resource, which must exist in exactly that language.
    std::vector<unsigned char> Read(LPCWSTR type, LPCWSTR name, WORD language) const {
        const HRSRC found = FindResourceExW(module_, type, name, language);
        if (found == nullptr) {
            ADD_FAILURE() << "no such resource";
            return {};
        }
        const auto* bytes =
            static_cast<const unsigned char*>(LockResource(LoadResource(module_, found)));
        return {bytes, bytes + SizeofResource(module_, found)};
    }

    HMODULE module_ = nullptr;
};

std::wstring NameOf(LPCWSTR name) {
    return IS_INTRESOURCE(name) ? std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name;
}

TEST_F(ProgramResources, AreTheIconAndTheVersionBlockAndNothingElse) {
    std::set<std::wstring> types;
    EnumResourceTypesW(
        module_,
        [](HMODULE, LPWSTR type, LONG_PTR found) -> BOOL {
            reinterpret_cast<std::set<std::wstring>*>(found)->insert(NameOf(type));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&types));
    std::set<std::wstring> resources;  // type/name/language
    for (const std::wstring& type : types) {
        const LPCWSTR typeId = MAKEINTRESOURCEW(std::stoi(type));
        struct Walk {
            HMODULE module;
            LPCWSTR type;
            std::set<std::wstring>* resources;
        } walk{module_, typeId, &resources};
        EnumResourceNamesW(
            module_, typeId,
            [](HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR parameter) -> BOOL {
                auto& walk = *reinterpret_cast<Walk*>(parameter);
                const std::wstring prefix = NameOf(type) + L"/" + NameOf(name) + L"/";
                struct Languages {
                    std::wstring prefix;
                    std::set<std::wstring>* resources;
                } languages{prefix, walk.resources};
                EnumResourceLanguagesW(
                    module, type, name,
                    [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR parameter) -> BOOL {
                        auto& languages = *reinterpret_cast<Languages*>(parameter);
                        languages.resources->insert(languages.prefix + std::to_wstring(language));
                        return TRUE;
                    },
                    reinterpret_cast<LONG_PTR>(&languages));
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&walk));
    }
    // RT_ICON 30001 and RT_GROUP_ICON 1 language neutral, RT_VERSION 1 in US English.
    EXPECT_EQ(resources, (std::set<std::wstring>{L"3/30001/0", L"14/1/0", L"16/1/1033"}));
}

template <typename T>
T ReadAt(const std::vector<unsigned char>& bytes, std::size_t offset) {
    T value{};
    if (offset + sizeof value <= bytes.size()) {
        std::memcpy(&value, bytes.data() + offset, sizeof value);
    }
    return value;
}

TEST_F(ProgramResources, TheIconGroupHoldsOneEntryForImage30001) {
    const std::vector<unsigned char> group = Read(RT_GROUP_ICON, MAKEINTRESOURCEW(1), 0);
    ASSERT_EQ(group.size(), 6U + 14U) << "a header and one entry";
    EXPECT_EQ(ReadAt<WORD>(group, 0), 0);   // reserved
    EXPECT_EQ(ReadAt<WORD>(group, 2), 1);   // icons
    EXPECT_EQ(ReadAt<WORD>(group, 4), 1);   // one entry
    EXPECT_EQ(group[6], 74);                // width
    EXPECT_EQ(group[7], 66);                // height
    EXPECT_EQ(group[8], 0);                 // no palette
    EXPECT_EQ(ReadAt<WORD>(group, 10), 1);  // planes
    EXPECT_EQ(ReadAt<WORD>(group, 12), 24);
    EXPECT_EQ(ReadAt<DWORD>(group, 14), 15616U);
    EXPECT_EQ(ReadAt<WORD>(group, 18), 30001);
}

TEST_F(ProgramResources, TheIconImageIsTheProgramIcon) {
    const std::vector<unsigned char> image = Read(RT_ICON, MAKEINTRESOURCEW(30001), 0);
    ASSERT_EQ(image.size(), 15616U);
    const auto header = ReadAt<BITMAPINFOHEADER>(image, 0);
    EXPECT_EQ(header.biSize, 40U);
    EXPECT_EQ(header.biWidth, 74);
    EXPECT_EQ(header.biHeight, 132) << "colour and mask rows together";
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 24);
    // The mask (the last 66 rows of 12 bytes) is all zero: fully opaque.
    for (std::size_t at = 40 + 14784; at < image.size(); ++at) {
        ASSERT_EQ(image[at], 0) << "mask byte " << at;
    }
    // The same image as the window's icon file, after its 22-byte header and directory.
    ASSERT_EQ(assets::kProgramIcon.size, 22U + image.size());
    EXPECT_EQ(std::memcmp(assets::kProgramIcon.data + 22, image.data(), image.size()), 0);
}

// One node of a version resource: key, value and children.
struct VersionNode {
    std::wstring key;
    WORD type = 0;  // 1 text, 0 binary
    std::vector<unsigned char> value;
    std::vector<VersionNode> children;

    std::wstring Text() const {
        std::wstring text(reinterpret_cast<const wchar_t*>(value.data()),
                          value.size() / sizeof(wchar_t));
        return text.substr(0, text.find(L'\0'));
    }
    std::vector<std::wstring> Keys() const {
        std::vector<std::wstring> keys;
        for (const VersionNode& child : children) {
            keys.push_back(child.key);
        }
        return keys;
    }
};

std::size_t Aligned(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

VersionNode ParseVersionNode(const std::vector<unsigned char>& bytes, std::size_t offset) {
    VersionNode node;
    const std::size_t length = ReadAt<WORD>(bytes, offset);
    const std::size_t valueLength = ReadAt<WORD>(bytes, offset + 2);
    node.type = ReadAt<WORD>(bytes, offset + 4);
    std::size_t at = offset + 6;
    while (at + 1 < bytes.size() && ReadAt<wchar_t>(bytes, at) != L'\0') {
        node.key += ReadAt<wchar_t>(bytes, at);
        at += 2;
    }
    at = Aligned(at + 2);
    // A text value's length counts characters, a binary one's bytes.
    const std::size_t valueBytes = node.type == 1 ? valueLength * 2 : valueLength;
    const std::size_t end = std::min(offset + length, bytes.size());
    if (at + valueBytes <= end) {
        node.value.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at),
                          bytes.begin() + static_cast<std::ptrdiff_t>(at + valueBytes));
    }
    at = Aligned(at + valueBytes);
    while (at < end && length > 0) {
        const std::size_t childLength = ReadAt<WORD>(bytes, at);
        if (childLength == 0) {
            break;
        }
        node.children.push_back(ParseVersionNode(bytes, at));
        at = Aligned(at + childLength);
    }
    return node;
}

TEST_F(ProgramResources, TheVersionBlockAsDesigned) {
    const std::vector<unsigned char> bytes = Read(RT_VERSION, MAKEINTRESOURCEW(1), 0x0409);
    const VersionNode root = ParseVersionNode(bytes, 0);
    EXPECT_EQ(root.key, L"VS_VERSION_INFO");
    ASSERT_EQ(root.value.size(), sizeof(VS_FIXEDFILEINFO));
    VS_FIXEDFILEINFO fixed;
    std::memcpy(&fixed, root.value.data(), sizeof fixed);
    EXPECT_EQ(fixed.dwSignature, 0xFEEF04BDU);
    EXPECT_EQ(fixed.dwFileVersionMS, 0x00010000U);
    EXPECT_EQ(fixed.dwFileVersionLS, 0U);
    EXPECT_EQ(fixed.dwProductVersionMS, 0x00010000U);
    EXPECT_EQ(fixed.dwProductVersionLS, 0U);
    EXPECT_EQ(fixed.dwFileFlagsMask, 0U);
    EXPECT_EQ(fixed.dwFileFlags, 0U);
    EXPECT_EQ(fixed.dwFileOS, 0x4U);
    EXPECT_EQ(fixed.dwFileType, 0x1U);
    EXPECT_EQ(fixed.dwFileSubtype, 0U);
    EXPECT_EQ(fixed.dwFileDateMS, 0U);
    EXPECT_EQ(fixed.dwFileDateLS, 0U);

    // First the translation list, then the string table.
    ASSERT_THAT(root.Keys(), ElementsAre(L"VarFileInfo", L"StringFileInfo"));
    const VersionNode& variables = root.children[0];
    ASSERT_THAT(variables.Keys(), ElementsAre(L"Translation"));
    EXPECT_THAT(variables.children[0].value, ElementsAre(0x09, 0x04, 0xB0, 0x04));

    const VersionNode& strings = root.children[1];
    ASSERT_THAT(strings.Keys(), ElementsAre(L"040904B0"));
    std::vector<std::pair<std::wstring, std::wstring>> table;
    for (const VersionNode& entry : strings.children[0].children) {
        EXPECT_EQ(entry.type, 1) << "text";
        table.emplace_back(entry.key, entry.Text());
    }
    EXPECT_THAT(table,
                ElementsAre(Pair(L"Comments", L"Brevane Twinova"), Pair(L"CompanyName", L"Brevane"),
                            Pair(L"FileDescription", L"1.0"),
                            Pair(L"ProductName", L"BrevaneTwinova"), Pair(L"FileVersion", L"1.00"),
                            Pair(L"ProductVersion", L"1.00"), Pair(L"InternalName", L"Twinova"),
                            Pair(L"OriginalFilename", L"BrevaneTwinova.exe")));
}

// ---------------------------------------------------------------------------------------------
// The running program, seen from another process.

constexpr int kWidth = 412;
constexpr int kHeight = 237;

// The push buttons by place (client pixels). The Apply button's caption follows the language,
// so only the language buttons' captions are fixed.
struct ExpectedButton {
    RECT rect;
    const wchar_t* caption;  // null: whatever the language gives
};
constexpr ExpectedButton kButtons[] = {
    {{256, 44, 385, 69}, nullptr},
    {{160, 80, 193, 97}, L"RO"},
    {{200, 80, 233, 97}, L"EN"},
};

class ProgramWindow : public testing::Test {
  protected:
    void SetUp() override {
        // It is shown first, then brought to the foreground.
        WaitUntil([this] { return GetForegroundWindow() == window_; }, std::chrono::seconds(5));
    }

    std::vector<HWND> Children() const {
        std::vector<HWND> children;
        EnumChildWindows(
            window_,
            [](HWND child, LPARAM found) -> BOOL {
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&children));
        return children;
    }

    RunningProgram program_;
    const HWND window_ = program_.Window();
};

TEST_F(ProgramWindow, ShowsABorderlessWindowCentredOnTheScreen) {
    EXPECT_EQ(WindowText(window_), L"Brevane Twinova");
    RECT bounds;
    GetWindowRect(window_, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, kWidth);
    EXPECT_EQ(bounds.bottom - bounds.top, kHeight);
    EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2);
    EXPECT_EQ(bounds.top, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2);
    RECT client;
    GetClientRect(window_, &client);
    EXPECT_EQ(client.right, kWidth);
    EXPECT_EQ(client.bottom, kHeight);

    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME | WS_CHILD), 0);
    EXPECT_EQ(GetWindowLongPtrW(window_, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0)
        << "a tool window has no taskbar button";
    EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr) << "an owned window has no taskbar button";
    EXPECT_EQ(GetParent(window_), nullptr);
    EXPECT_TRUE(IsWindowUnicode(window_));
    // Its icon is checked in-process: Wine answers WM_GETICON from another process with null.
}

TEST_F(ProgramWindow, HasThreePushButtonsAndAHiddenScrollBar) {
    std::vector<HWND> buttons;
    int scrollBars = 0;
    for (const HWND child : Children()) {
        const std::wstring kind = ClassName(child);
        if (_wcsicmp(kind.c_str(), L"Button") == 0) {
            EXPECT_TRUE(IsWindowVisible(child));
            buttons.push_back(child);
        } else if (_wcsicmp(kind.c_str(), L"ScrollBar") == 0) {
            EXPECT_FALSE(IsWindowVisible(child)) << "the scroll bar is never seen";
            ++scrollBars;
        } else {
            ADD_FAILURE() << "unexpected child window of class " << testing::PrintToString(kind);
        }
    }
    EXPECT_EQ(scrollBars, 1);
    ASSERT_EQ(buttons.size(), 3U);
    for (const ExpectedButton& expected : kButtons) {
        bool found = false;
        for (const HWND button : buttons) {
            const RECT rect = RectInParent(button);
            if (EqualRect(&rect, &expected.rect)) {
                found = true;
                if (expected.caption != nullptr) {
                    EXPECT_EQ(WindowText(button), expected.caption);
                } else {
                    EXPECT_FALSE(WindowText(button).empty());
                }
            }
        }
        EXPECT_TRUE(found) << "no button at " << expected.rect.left << ", " << expected.rect.top;
    }
}

// The place of the program's focused window, waited for up to 5 s to be `awaited`; empty when
// nothing has the focus.
RECT FocusedPlace(HWND window, const RECT& awaited) {
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    RECT place{};
    WaitUntil(
        [&] {
            GUITHREADINFO info{};
            info.cbSize = sizeof info;
            place = GetGUIThreadInfo(thread, &info) && info.hwndFocus != nullptr
                        ? RectInParent(info.hwndFocus)
                        : RECT{};
            return EqualRect(&place, &awaited) != FALSE;
        },
        std::chrono::seconds(5));
    return place;
}

bool SamePlace(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

// Presses and releases a key as the keyboard does (it goes to the foreground window).
void PressRealKey(WORD key, bool shift = false) {
    std::vector<INPUT> inputs;
    const auto add = [&inputs](WORD code, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = code;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (shift) {
        add(VK_SHIFT, 0);
    }
    add(key, 0);
    add(key, KEYEVENTF_KEYUP);
    if (shift) {
        add(VK_SHIFT, KEYEVENTF_KEYUP);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST_F(ProgramWindow, TheApplyButtonHasTheFocus) {
    EXPECT_EQ(GetForegroundWindow(), window_);
    EXPECT_TRUE(SamePlace(FocusedPlace(window_, kButtons[0].rect), kButtons[0].rect))
        << "the focus is not on the Apply button";
}

TEST_F(ProgramWindow, TabAndShiftTabMoveTheFocusAcrossTheButtons) {
    ASSERT_EQ(GetForegroundWindow(), window_) << "keys go to the foreground window";
    const RECT& apply = kButtons[0].rect;
    const RECT& romanian = kButtons[1].rect;
    const RECT& english = kButtons[2].rect;
    ASSERT_TRUE(SamePlace(FocusedPlace(window_, apply), apply));
    PressRealKey(VK_TAB);
    EXPECT_TRUE(SamePlace(FocusedPlace(window_, romanian), romanian));
    PressRealKey(VK_TAB);
    EXPECT_TRUE(SamePlace(FocusedPlace(window_, english), english));
    PressRealKey(VK_TAB);
    EXPECT_TRUE(SamePlace(FocusedPlace(window_, apply), apply));
    PressRealKey(VK_TAB, true);
    EXPECT_TRUE(SamePlace(FocusedPlace(window_, english), english));
    PressRealKey(VK_TAB, true);
    EXPECT_TRUE(SamePlace(FocusedPlace(window_, romanian), romanian));
}

// Under a window manager, which a user's desktop has: run through run_in_prefix.sh
// --window-manager only, where Wine lets openbox manage the program's window.

// Asks the window manager to act on the program's window as a taskbar would, through xdotool:
// "windowminimize" or "windowactivate". Wine starts a Linux program like any other, but gives
// no handle to wait on: the caller waits for the effect.
void AskTheWindowManager(const std::wstring& action) {
    const std::wstring path = L"/usr/bin/xdotool";
    std::wstring commandLine = path + L" search --name \"^Brevane Twinova$\" " + action;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &started));
    const toolkit::UniqueKernelHandle process(started.hProcess);
    const toolkit::UniqueKernelHandle thread(started.hThread);
}

struct RestoreCase {
    const char* name;
    bool ownButton;  // minimised by its own button, or by the manager
    int tabs;        // Tab presses before: the button that then has the focus
};

class UnderAWindowManager : public ProgramWindow,
                            public testing::WithParamInterface<RestoreCase> {};

TEST_P(UnderAWindowManager, TheFocusComesBackWhenTheMinimisedWindowIsActivated) {
    const RestoreCase& restore = GetParam();
    for (int press = 0; press < restore.tabs; ++press) {
        PressRealKey(VK_TAB);
    }
    const RECT& focused = kButtons[restore.tabs].rect;
    ASSERT_TRUE(SamePlace(FocusedPlace(window_, focused), focused));
    if (restore.ownButton) {
        ClickAt(program_.ScreenPoint(140, 10));
    } else {
        AskTheWindowManager(L"windowminimize");
    }
    ASSERT_TRUE(WaitUntil([this] { return IsIconic(window_) != FALSE; }));
    AskTheWindowManager(L"windowactivate");
    ASSERT_TRUE(
        WaitUntil([this] { return !IsIconic(window_) && GetForegroundWindow() == window_; }));
    EXPECT_TRUE(SamePlace(FocusedPlace(window_, focused), focused));
}

INSTANTIATE_TEST_SUITE_P(Restores, UnderAWindowManager,
                         testing::Values(RestoreCase{"OwnButtonFirstFocus", true, 0},
                                         RestoreCase{"OwnButtonAfterTab", true, 1},
                                         RestoreCase{"ManagerAfterTwoTabs", false, 2}),
                         [](const testing::TestParamInfo<RestoreCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ProgramWindow, ShowsItsBackgroundPicture) {
    // Points of bare surface, away from the controls and the corners.
    const POINT points[] = {{300, 150}, {380, 100}, {100, 215}, {240, 60}, {30, 36}, {350, 225}};
    const testing_support::Pixels picture = testing_support::DecodeBmp(assets::kBackground);
    const toolkit::WindowDc screen(nullptr);
    std::wstring mismatch;
    // The window may still be drawing itself when it is first found.
    WaitUntil(
        [&] {
            mismatch.clear();
            for (const POINT& point : points) {
                const POINT onScreen = program_.ScreenPoint(point.x, point.y);
                const COLORREF shown = GetPixel(screen.get(), onScreen.x, onScreen.y);
                if (testing_support::PixelOf(shown) != picture.At(point.x, point.y)) {
                    mismatch = std::to_wstring(point.x) + L", " + std::to_wstring(point.y);
                    return false;
                }
            }
            return true;
        },
        std::chrono::seconds(5));
    EXPECT_EQ(mismatch, L"") << "the screen differs from the picture at this point";
}

TEST_F(ProgramWindow, EndsWhenItsWindowIsClosed) {
    PostMessageW(window_, WM_CLOSE, 0, 0);
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_TRUE(program_.WaitForExit(std::chrono::seconds(10), exitCode));
    EXPECT_EQ(exitCode, 0U);
}

}  // namespace
