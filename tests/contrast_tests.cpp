// The window in a contrast theme turned on and off while it runs: what the screen shows. Wine
// always answers that no contrast theme is on, so the cases give the window the answer Windows
// would give, at this program's import of SystemParametersInfoW, and set a scheme's colours.

#include "registry_test_support.h"
#include "test_support.h"
#include "window/form1.h"

#include <gtest/gtest.h>
#include <psapi.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace {

using testing_support::Pixel;
using testing_support::PixelOf;
using testing_support::Pixels;

// A dark scheme whose colours the window's pictures hardly hold.
constexpr int kElements[] = {COLOR_WINDOW,   COLOR_WINDOWTEXT, COLOR_HOTLIGHT,  COLOR_WINDOWFRAME,
                             COLOR_BTNFACE,  COLOR_BTNTEXT,    COLOR_3DHILIGHT, COLOR_3DLIGHT,
                             COLOR_3DSHADOW, COLOR_3DDKSHADOW, COLOR_GRAYTEXT};
constexpr COLORREF kScheme[] = {RGB(32, 32, 40),    RGB(240, 240, 224), RGB(255, 224, 48),
                                RGB(192, 128, 255), RGB(16, 48, 64),    RGB(224, 255, 240),
                                RGB(248, 248, 240), RGB(96, 96, 112),   RGB(144, 144, 160),
                                RGB(208, 208, 224), RGB(64, 240, 64)};
constexpr int kCount = ARRAYSIZE(kElements);
// Smoothed text blends into what lies behind it: text and links into the surface, button text
// (the title-bar glyphs) into the button face.
constexpr int kBlends[][2] = {{0, 1}, {0, 2}, {4, 5}};
const Pixel kLink = PixelOf(kScheme[2]);
const Pixel kEdge = PixelOf(kScheme[3]);
const Pixel kFocusMark = PixelOf(kScheme[4]) ^ 0xFFFFFF;  // inverted button face

// A contrast theme for as long as it lives, told to a window as Windows tells it: the scheme's
// colours are set (SetSysColors tells top-level windows), this program's import of
// SystemParametersInfoW answers that the theme is on and passes every other question on, and
// the change of the setting is announced; at the end the colours and the answer as they were.
class ContrastTheme {
  public:
    explicit ContrastTheme(HWND window) : window_(window), slot_(ImportSlot()) {
        std::transform(std::begin(kElements), std::end(kElements), saved_, GetSysColor);
        if (!VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection_)) {
            throw std::runtime_error("cannot replace the import of SystemParametersInfoW");
        }
        Switch(kScheme, &AnswerOn);
    }
    ~ContrastTheme() {
        Switch(saved_, kSystem);
        VirtualProtect(slot_, sizeof *slot_, protection_, &protection_);
    }

  private:
    using Function = decltype(&SystemParametersInfoW);
    static inline const auto kSystem = reinterpret_cast<Function>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoW")));

    static BOOL WINAPI AnswerOn(UINT action, UINT size, void* value, UINT flags) {
        if (action != SPI_GETHIGHCONTRAST) {
            return kSystem(action, size, value, flags);
        }
        static_cast<HIGHCONTRASTW*>(value)->dwFlags = HCF_HIGHCONTRASTON;
        return TRUE;
    }

    static Function* ImportSlot() {
        auto* const base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
        const auto* const headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(
            base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
        const DWORD imports =
            headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
        for (const auto* dll = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports);
             dll->Name != 0; ++dll) {
            for (auto* slot = reinterpret_cast<Function*>(base + dll->FirstThunk); *slot; ++slot) {
                if (*slot == kSystem) {
                    return slot;
                }
            }
        }
        throw std::runtime_error("this program does not import SystemParametersInfoW");
    }

    void Switch(const COLORREF* colors, Function answer) const noexcept {
        SetSysColors(kCount, kElements, colors);
        *slot_ = answer;
        SendMessageW(window_, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    }

    HWND window_;
    Function* slot_;
    DWORD protection_ = 0;
    COLORREF saved_[kCount]{};
};

// Whether a pixel lies between two colours of different brightness.
bool Blends(Pixel pixel, Pixel from, Pixel to) {
    const auto channel = [](Pixel of, int shift) { return static_cast<int>((of >> shift) & 0xFF); };
    const auto sum = [&](Pixel of) { return channel(of, 0) + channel(of, 8) + channel(of, 16); };
    const double share = double(sum(pixel) - sum(from)) / (sum(to) - sum(from));
    bool between = share >= 0 && share <= 1;
    for (const int shift : {0, 8, 16}) {
        const double blend =
            channel(from, shift) + share * (channel(to, shift) - channel(from, shift));
        between = between && std::abs(blend - channel(pixel, shift)) <= 2;
    }
    return between;
}

// The pixels within the window's shape that are neither one of the scheme's colours, nor the
// system's focus mark, nor smoothed text.
int StrayPixels(HWND window, const Pixels& shown) {
    const toolkit::UniqueRegion shape(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(window, shape.get());
    int stray = 0;
    for (int y = 0; y < shown.height; ++y) {
        for (int x = 0; x < shown.width; ++x) {
            const Pixel pixel = shown.At(x, y);
            bool known = pixel == kFocusMark || !PtInRegion(shape.get(), x, y) ||
                         std::any_of(std::begin(kScheme), std::end(kScheme),
                                     [pixel](COLORREF color) { return PixelOf(color) == pixel; });
            for (const auto& [back, text] : kBlends) {
                known = known || Blends(pixel, PixelOf(kScheme[back]), PixelOf(kScheme[text]));
            }
            stray += known ? 0 : 1;
        }
    }
    return stray;
}

LPARAM Centre(const RECT& rect) {
    return MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
}

class InAContrastTheme : public testing::Test {
  protected:
    void SetUp() override {
        SKIP_OUTSIDE_THROWAWAY_PREFIX("colours of the screen");
        form_.LoadAndShow();
        form_.Command2_Click();
        SetFocus(form_.Command3.hWnd());
    }

    Pixels Shown() {
        testing_support::PumpMessages(&form_);
        RECT client{};
        GetClientRect(form_.hWnd(), &client);
        return testing_support::ReadWindow(form_.hWnd(), client);
    }

    void MoveOverLinkAndBack() {
        SendMessageW(form_.hWnd(), WM_MOUSEMOVE, 0, Centre(form_.Label3.Bounds()));
        linkPixelsUnderThePointer_ = Shown().Count(form_.Label3.Bounds(), kLink);
        SendMessageW(form_.hWnd(), WM_MOUSEMOVE, 0, MAKELPARAM(1, 1));
    }

    Form1 form_;
    int linkPixelsUnderThePointer_ = 0;
};

TEST_F(InAContrastTheme, TheWindowShowsOnlyTheSchemesColoursAndComesBackAsDesigned) {
    const Pixels designed = Shown();
    RECT place{};
    GetWindowRect(form_.hWnd(), &place);
    // A press in progress, on a label that drags nothing, keeps the mouse through both switches.
    SendMessageW(form_.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(form_.Label7.Bounds()));
    {
        const ContrastTheme theme(form_.hWnd());
        const Pixels shown = Shown();
        EXPECT_EQ(StrayPixels(form_.hWnd(), shown), 0);
        EXPECT_EQ(shown.At(0, shown.height / 2), kEdge);
        EXPECT_EQ(shown.At(shown.width / 2, 0), kEdge);
        EXPECT_EQ(GetCapture(), form_.hWnd());
        SendMessageW(form_.hWnd(), WM_LBUTTONUP, 0, Centre(form_.Label7.Bounds()));
        // Under the pointer the link is underlined, in its own colour.
        MoveOverLinkAndBack();
        EXPECT_GT(linkPixelsUnderThePointer_, shown.Count(form_.Label3.Bounds(), kLink));
        EXPECT_GT(shown.Count(form_.Label3.Bounds(), kLink), 0);
        SendMessageW(form_.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, Centre(form_.Label7.Bounds()));
    }
    EXPECT_EQ(GetCapture(), form_.hWnd());
    SendMessageW(form_.hWnd(), WM_LBUTTONUP, 0, Centre(form_.Label7.Bounds()));
    EXPECT_EQ(GetFocus(), form_.Command3.hWnd());
    RECT after{};
    GetWindowRect(form_.hWnd(), &after);
    EXPECT_TRUE(EqualRect(&after, &place));
    EXPECT_TRUE(testing_support::SamePixels(Shown(), designed));
}

TEST_F(InAContrastTheme, ASwitchWhileAMessageBoxIsOpenRepaintsTheWindowBehindIt) {
    SetWindowPos(form_.hWnd(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // beside the box
    const Pixels designed = Shown();
    int stray = -1;
    std::thread user([&] {
        HWND box = nullptr;
        testing_support::WaitUntil([&] {
            return (box = testing_support::FindMessageBoxOfProcess(GetCurrentProcessId()));
        });
        {
            const ContrastTheme theme(form_.hWnd());
            testing_support::WaitUntil(
                [&] { return (stray = StrayPixels(form_.hWnd(), Shown())) == 0; });
        }
        testing_support::CloseMessageBox(box);
    });
    toolkit::MsgBox(L"Done", MB_ICONINFORMATION);
    user.join();
    EXPECT_EQ(stray, 0);
    EXPECT_TRUE(testing_support::SamePixels(Shown(), designed));
}

TEST_F(InAContrastTheme, AHundredSwitchesLeaveNoGdiObjectOrMemoryBehind) {
    const auto privateBytes = [] {
        // The commit charge: the private memory on Windows, what Linux counts as the process's
        // own (RssAnon) under Wine.
        PROCESS_MEMORY_COUNTERS counters{};
        GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
        return counters.PagefileUsage;
    };
    const auto switchOnAndOff = [this] {
        const ContrastTheme theme(form_.hWnd());
        MoveOverLinkAndBack();
    };
    switchOnAndOff();
    const std::optional<int> objects = testing_support::GdiObjectCount();
    const SIZE_T bytes = privateBytes();
    for (int switches = 0; switches < 100; ++switches) {
        switchOnAndOff();
    }
    EXPECT_EQ(testing_support::GdiObjectCount(), objects);
    EXPECT_LT(privateBytes(), bytes + 65536);
}

}  // namespace
