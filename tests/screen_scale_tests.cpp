// The real program on a screen scaled above the usual 96 DPI: its pictures and texts grow with
// its layout, so that the window stays whole and every control stays on the art drawn for it; and
// the window made in-process at the screen's scale, or at 96 DPI and then told the screen's, as on
// a move to a monitor of another scale. The build runs these cases once for each scale, each in
// its own copy of the test prefix.
#include "running_program.h"
#include "toolkit/screen.h"
#include "toolkit/system_functions.h"
#include "window/form1.h"

#include <oleacc.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <vector>

namespace {

using namespace std::chrono_literals;
using testing_support::Pixel;
using testing_support::Pixels;
using testing_support::RectInParent;

constexpr Pixel kWhite = 0xFFFFFF;

// The round buttons' orange-red, from the dark rim to the light glow: not the title's pure red,
// not white, not grey.
bool Orange(Pixel pixel) {
    const auto red = static_cast<int>(pixel >> 16 & 0xFF);
    const auto green = static_cast<int>(pixel >> 8 & 0xFF);
    const auto blue = static_cast<int>(pixel & 0xFF);
    return red > 150 && green >= 30 && red - green >= 60 && green - blue >= 20;
}

// Darker on every channel than the white areas and the link's white lettering.
bool Dark(Pixel pixel) {
    return (pixel >> 16 & 0xFF) < 230 && (pixel >> 8 & 0xFF) < 230 && (pixel & 0xFF) < 230;
}

// The pixels on the border of a rectangle (right and bottom exclusive).
std::vector<POINT> Outline(const RECT& rect) {
    std::vector<POINT> points;
    for (LONG x = rect.left; x < rect.right; ++x) {
        points.push_back({x, rect.top});
        points.push_back({x, rect.bottom - 1});
    }
    for (LONG y = rect.top; y < rect.bottom; ++y) {
        points.push_back({rect.left, y});
        points.push_back({rect.right - 1, y});
    }
    return points;
}

// The boxes of the minimise and the close button as drawn on the screen: the first two runs of
// columns, from the left, with orange in them above the red band under the title area.
std::vector<RECT> RoundButtonsShown(const Pixels& shown) {
    int bandTop = 0;
    while (bandTop < shown.height && !Orange(shown.At(0, bandTop))) {
        ++bandTop;
    }
    std::vector<RECT> buttons;
    bool inRun = false;
    for (int x = 0; x < shown.width; ++x) {
        int top = bandTop;
        int bottom = 0;
        for (int y = 0; y < bandTop; ++y) {
            if (Orange(shown.At(x, y))) {
                top = std::min(top, y);
                bottom = y + 1;
            }
        }
        if (bottom == 0) {
            inRun = false;
            continue;
        }
        if (!inRun) {
            if (buttons.size() == 2) {
                break;
            }
            buttons.push_back({x, top, x, bottom});
            inRun = true;
        }
        RECT& button = buttons.back();
        button.right = x + 1;
        button.top = std::min<LONG>(button.top, top);
        button.bottom = std::max<LONG>(button.bottom, bottom);
    }
    return buttons;
}

class ScaledScreen : public testing::Test {
  protected:
    void SetUp() override {
        // A pointer resting on the link when the window appears would turn it red.
        MoveMouseTo({0, 0});
        program_.emplace();
        if (program_->Scale().IsDesignScale()) {
            GTEST_SKIP() << "These cases are for a window drawn above 96 DPI, and the program's "
                            "is at 96.";
        }
        SKIP_UNLESS_IN_FOREGROUND(*program_);
        // The window is found once it is shown, which may be before it has drawn itself.
        ASSERT_TRUE(WaitUntil([this] {
            shown_ = program_->Shown();
            return !RoundButtonsShown(shown_).empty();
        }));
    }

    // The screen point at the centre of the round button drawn at `index` (0 minimise, 1 close).
    POINT CentreOfRoundButton(std::size_t index) const {
        const std::vector<RECT> buttons = RoundButtonsShown(shown_);
        if (buttons.size() <= index) {
            ADD_FAILURE() << "the window shows " << buttons.size() << " round buttons";
            return {-1, -1};
        }
        const RECT& button = buttons[index];
        return program_->ScreenPoint((button.left + button.right) / 2,
                                     (button.top + button.bottom) / 2);
    }

    // A rectangle of the window as designed, at 96 DPI, at the window's scale.
    RECT Scaled(const RECT& designed) const {
        return testing_support::AtScale(program_->Scale(), designed);
    }

    std::optional<RunningProgram> program_;
    Pixels shown_;
};

TEST_F(ScaledScreen, NoBackgroundColourShowsAtAnyEdge) {
    const toolkit::UniqueRegion shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(program_->Window(), shape.get()), ERROR) << "the window is rounded";
    const Pixel face = testing_support::PixelOf(GetSysColor(COLOR_BTNFACE));
    int faces = 0;
    for (const POINT& point : Outline({0, 0, shown_.width, shown_.height})) {
        // The rounded corners show whatever lies behind the window.
        if (PtInRegion(shape.get(), point.x, point.y) && shown_.At(point.x, point.y) == face &&
            ++faces <= 3) {
            ADD_FAILURE() << "background colour at " << point.x << ", " << point.y;
        }
    }
    EXPECT_EQ(faces, 0);
}

TEST_F(ScaledScreen, TheLinkLiesOnItsDarkBar) {
    const RECT box = Scaled({16, 48, 177, 65});
    // Two pixels out, clear of the box however its edges round.
    RECT around = box;
    InflateRect(&around, 2, 2);
    const std::vector<POINT> ring = Outline(around);
    const auto light = std::count_if(ring.begin(), ring.end(), [this](POINT point) {
        return !Dark(shown_.At(point.x, point.y));
    });
    EXPECT_EQ(light, 0) << "pixels around the link that are not its dark bar";
    EXPECT_GT(shown_.Count(box, kWhite), 100) << "the link's white lettering";
}

TEST_F(ScaledScreen, LabelsShowTheirLinesWholeNeverATopAlone) {
    constexpr Pixel kTitleRed = 0xFF0000;
    const struct {
        const char* label;
        RECT box;  // left of the button strip, which lies in front of the title
        Pixel ink;
        bool romanian;
        std::size_t lines;
    } labels[] = {
        {"the title", {8, 8, 128, 33}, kTitleRed, false, 1},
        {"the Romanian instruction", {256, 8, 401, 33}, kWhite, true, 2},
    };
    for (const auto& label : labels) {
        if (label.romanian) {
            ClickAt(program_->ScreenPointOfDesign(176, 88));  // RO
            ASSERT_TRUE(WaitUntil([&] {
                shown_ = program_->Shown();
                return shown_.InkedRowRuns(Scaled(label.box), label.ink).size() >= label.lines;
            }));
        }
        EXPECT_EQ(shown_.InkedRowRuns(Scaled(label.box), label.ink).size(), label.lines)
            << label.label;
    }
}

TEST_F(ScaledScreen, EveryControlLiesInsideTheWindow) {
    // Read as a screen reader reads it: from a single-threaded apartment.
    struct Apartment {
        Apartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
        Apartment(const Apartment&) = delete;
        Apartment& operator=(const Apartment&) = delete;
        ~Apartment() { CoUninitialize(); }
    } const apartment;
    Microsoft::WRL::ComPtr<IAccessible> client;
    ASSERT_EQ(AccessibleObjectFromWindow(program_->Window(), static_cast<DWORD>(OBJID_CLIENT),
                                         __uuidof(IAccessible),
                                         reinterpret_cast<void**>(client.GetAddressOf())),
              S_OK);
    RECT window{};
    GetWindowRect(program_->Window(), &window);
    long count = 0;
    ASSERT_EQ(client->get_accChildCount(&count), S_OK);
    ASSERT_GT(count, 0);
    for (long id = 1; id <= count; ++id) {
        VARIANT child{};
        child.vt = VT_I4;
        child.lVal = id;
        long left = 0;
        long top = 0;
        long width = 0;
        long height = 0;
        ASSERT_EQ(client->accLocation(&left, &top, &width, &height, child), S_OK);
        const RECT location{left, top, left + width, top + height};
        RECT inside{};
        IntersectRect(&inside, &location, &window);
        EXPECT_TRUE(EqualRect(&inside, &location)) << "child " << id;
    }
}

// At 240 DPI the window is wider than a 1024-pixel screen. Not a case of ScaledScreen, which
// reads the window off the screen: a window reaching past its left or top edge cannot be read.
TEST(TheProgramsStart, PutsTheWindowsTopLeftCornerOnTheWorkArea) {
    const RunningProgram program;
    RECT window{};
    GetWindowRect(program.Window(), &window);
    RECT workArea{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_TRUE(PtInRect(&workArea, {window.left, window.top}))
        << window.left << ", " << window.top;
}

TEST_F(ScaledScreen, AClickOnTheMinimiseButtonsCentreMinimises) {
    ClickAt(CentreOfRoundButton(0));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(program_->Window()) != FALSE; }, 5s));
}

TEST_F(ScaledScreen, AClickOnTheCloseButtonsCentreEndsTheProgram) {
    ClickAt(CentreOfRoundButton(1));
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_TRUE(program_->WaitForExit(5s, exitCode));
    EXPECT_EQ(exitCode, 0U);
}

// ---------------------------------------------------------------------------------------------
// The window in this process: made at the screen's scale, or made at 96 DPI and told the screen's
// as Windows tells it when the window moves to a monitor of another scale.

// What the window shows: its painted surface with the child windows it shows drawn on it.
Pixels ShownInProcess(const Form1& form) {
    RECT client{};
    GetClientRect(form.hWnd(), &client);
    testing_support::Canvas canvas(client.right, client.bottom, 0);
    canvas.Put(testing_support::RenderClient(form.hWnd(), client.right, client.bottom), 0, 0);
    for (HWND child = GetWindow(form.hWnd(), GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrW(child, GWL_STYLE) & WS_VISIBLE) != 0) {
            const RECT place = RectInParent(child);
            canvas.Put(testing_support::RenderClient(child, place.right - place.left,
                                                     place.bottom - place.top),
                       place.left, place.top);
        }
    }
    return canvas.Read();
}

// Tells a window a new DPI as Windows does: the size it would have there, scaled from its size now,
// is offered in WM_GETDPISCALEDSIZE for the window to change, and WM_DPICHANGED suggests that size
// where the window is.
void ChangeDpi(HWND window, UINT dpi, UINT from) {
    RECT suggested{};
    GetWindowRect(window, &suggested);
    SIZE size{
        MulDiv(suggested.right - suggested.left, static_cast<int>(dpi), static_cast<int>(from)),
        MulDiv(suggested.bottom - suggested.top, static_cast<int>(dpi), static_cast<int>(from))};
    SendMessageW(window, toolkit::kGetDpiScaledSizeMessage, dpi, reinterpret_cast<LPARAM>(&size));
    suggested.right = suggested.left + size.cx;
    suggested.bottom = suggested.top + size.cy;
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
}

void ChangeDpi(Form1& form, UINT dpi) {
    ChangeDpi(form.hWnd(), dpi, form.CurrentScale().Dpi());
}

// Forms made as the program makes its own, per-monitor aware: one at the screen's scale as a start
// there makes it, and two told 96 DPI, as on a monitor at 100 %.
class InProcess : public testing::Test {
  protected:
    void SetUp() override {
        if (fresh_->CurrentScale().IsDesignScale()) {
            GTEST_SKIP() << "These cases need a screen scaled above 96 DPI.";
        }
        for (Form1* form : {at96_.get(), untouched96_.get()}) {
            ChangeDpi(*form, toolkit::Scale::kDesignDpi);
            form->Form_Load();
        }
        fresh_->Form_Load();
    }

    std::unique_ptr<Form1> fresh_ = std::make_unique<Form1>();
    std::unique_ptr<Form1> at96_ = std::make_unique<Form1>();
    std::unique_ptr<Form1> untouched96_ = std::make_unique<Form1>();
};

// The same size, the same pixels, child windows included, and the same shape.
void ExpectSameWindows(const Form1& seen, const Form1& expected, const char* when) {
    RECT seenBounds{};
    RECT expectedBounds{};
    GetWindowRect(seen.hWnd(), &seenBounds);
    GetWindowRect(expected.hWnd(), &expectedBounds);
    EXPECT_EQ(seenBounds.right - seenBounds.left, expectedBounds.right - expectedBounds.left)
        << when;
    EXPECT_EQ(seenBounds.bottom - seenBounds.top, expectedBounds.bottom - expectedBounds.top)
        << when;
    EXPECT_TRUE(testing_support::SamePixels(ShownInProcess(seen), ShownInProcess(expected)))
        << when;
    const toolkit::UniqueRegion seenShape(CreateRectRgn(0, 0, 0, 0));
    const toolkit::UniqueRegion expectedShape(CreateRectRgn(0, 0, 0, 0));
    GetWindowRgn(seen.hWnd(), seenShape.get());
    GetWindowRgn(expected.hWnd(), expectedShape.get());
    EXPECT_EQ(CombineRgn(seenShape.get(), seenShape.get(), expectedShape.get(), RGN_XOR),
              NULLREGION)
        << when;
}

TEST_F(InProcess, ToldTheScreensScaleItIsWhatAStartThereIsAndBackAt96DpiWhatItWas) {
    ChangeDpi(*at96_, fresh_->CurrentScale().Dpi());
    ExpectSameWindows(*at96_, *fresh_, "at the screen's scale");
    ChangeDpi(*at96_, toolkit::Scale::kDesignDpi);
    ExpectSameWindows(*at96_, *untouched96_, "back at 96 DPI");
}

// Minimised, the window holds the parked icon's rectangle, and Windows suggests that, scaled.
TEST_F(InProcess, MinimisedToldANewScaleAndRestoredItIsWhatAStartThereIs) {
    const struct {
        const char* name;
        Form1& form;
        UINT dpi;
        const Form1& start;
    } cases[] = {
        {"to the screen's scale", *at96_, fresh_->CurrentScale().Dpi(), *fresh_},
        {"to 96 DPI", *fresh_, toolkit::Scale::kDesignDpi, *untouched96_},
    };
    for (const auto& row : cases) {
        row.form.SetWindowState(toolkit::kMinimized);
        ChangeDpi(row.form, row.dpi);
        EXPECT_FLOAT_EQ(row.form.Height(), 3555.0f) << row.name << ", minimised";
        row.form.SetWindowState(toolkit::kNormal);
        // Restored, the window is active with the focus on Apply, which the start never had.
        SetFocus(nullptr);
        ExpectSameWindows(row.form, row.start, row.name);
        RECT bounds{};
        GetWindowRect(row.form.hWnd(), &bounds);
        const RECT workArea = toolkit::WorkAreaOf(row.form.hWnd());
        EXPECT_TRUE(PtInRect(&workArea, {bounds.left, bounds.top})) << row.name;
    }
}

// To the system the window stays a visible one throughout, so that clicks and tools still find it.
TEST_F(InProcess, AChangeKeepsTheWindowVisibleAndPaintsItOnceAndAHiddenOneHidden) {
    ShowWindow(fresh_->hWnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(fresh_->hWnd());
    testing_support::PumpMessages(fresh_.get());
    {
        const testing_support::MessageCounter hidden(
            fresh_->hWnd(), [](HWND window, UINT /*message*/, WPARAM /*wParam*/) {
                return (GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) == 0;
            });
        const testing_support::MessageCounter paints(fresh_->hWnd());
        ChangeDpi(*fresh_, toolkit::Scale::kDesignDpi);
        testing_support::PumpMessages(fresh_.get());
        EXPECT_EQ(hidden.Count(), 0) << "messages handled while not marked visible";
        EXPECT_EQ(paints.Count(), 1);
    }
    // A change before the first show leaves the window hidden until Load has run.
    ChangeDpi(*at96_, fresh_->CurrentScale().Dpi());
    EXPECT_FALSE(IsWindowVisible(at96_->hWnd()));
    bool visibleDuringLoad = true;
    at96_->Load = [&] { visibleDuringLoad = IsWindowVisible(at96_->hWnd()) != FALSE; };
    at96_->LoadAndShow();
    EXPECT_FALSE(visibleDuringLoad);
    EXPECT_TRUE(IsWindowVisible(at96_->hWnd()));
}

// No DPI of 0 or beyond 500 %, no empty, inverted or missing rectangle: the program must neither
// end with an error nor lose its window.
TEST_F(InProcess, AChangeOfScaleWindowsNeverSendsChangesNothing) {
    ShowWindow(fresh_->hWnd(), SW_SHOWNOACTIVATE);
    RECT before{};
    GetWindowRect(fresh_->hWnd(), &before);
    const UINT dpi = fresh_->CurrentScale().Dpi();
    const RECT empty{before.left, before.top, before.left, before.top};
    const RECT inverted{before.right, before.bottom, before.left, before.top};
    const struct {
        UINT dpi;
        const RECT* suggested;
    } cases[] = {{0, &before},  {4800, &before},  {9600, &before}, {65535, &before},
                 {dpi, &empty}, {dpi, &inverted}, {dpi, nullptr}};
    const Pixels shown = ShownInProcess(*fresh_);
    const testing_support::BoxRecorder errorBoxes;
    for (const auto& row : cases) {
        SIZE size{};
        const LRESULT answered = SendMessageW(fresh_->hWnd(), toolkit::kGetDpiScaledSizeMessage,
                                              row.dpi, reinterpret_cast<LPARAM>(&size));
        SendMessageW(fresh_->hWnd(), WM_DPICHANGED, MAKEWPARAM(row.dpi, row.dpi),
                     reinterpret_cast<LPARAM>(row.suggested));
        testing_support::PumpMessages(fresh_.get());
        const auto trace = testing::Message() << row.dpi << " DPI, rectangle "
                                              << (row.suggested == &before   ? "as it is"
                                                  : row.suggested == &empty  ? "empty"
                                                  : row.suggested != nullptr ? "inverted"
                                                                             : "missing");
        EXPECT_EQ(answered != FALSE, row.dpi == dpi) << trace;
        EXPECT_EQ(fresh_->CurrentScale().Dpi(), dpi) << trace;
        RECT after{};
        GetWindowRect(fresh_->hWnd(), &after);
        EXPECT_TRUE(EqualRect(&after, &before)) << trace;
        EXPECT_TRUE(IsWindowVisible(fresh_->hWnd())) << trace;
        EXPECT_TRUE(testing_support::SamePixels(ShownInProcess(*fresh_), shown)) << trace;
    }
    EXPECT_TRUE(errorBoxes.boxes().empty());
}

// Where Windows stretches a window (one that is system-aware or unaware of scales), the window
// leaves the message to DefWindowProc.
TEST(ScaleChange, IsIgnoredByAWindowThatIsNotPerMonitorAware) {
    const toolkit::SystemFunction<DPI_AWARENESS_CONTEXT(WINAPI*)(DPI_AWARENESS_CONTEXT)>
        setThreadAwareness{toolkit::User32().library, "SetThreadDpiAwarenessContext"};
    if (!setThreadAwareness) {
        GTEST_SKIP()
            << "This Windows has no DPI awareness of a thread's own to make such a window.";
    }
    const DPI_AWARENESS_CONTEXT previous =
        setThreadAwareness(DPI_AWARENESS_CONTEXT_UNAWARE).value();
    Form1 form;
    setThreadAwareness(previous).value();
    form.Form_Load();
    const UINT dpi = form.CurrentScale().Dpi();
    const UINT doubled = 2 * dpi;
    RECT before{};
    GetWindowRect(form.hWnd(), &before);
    const Pixels shown = ShownInProcess(form);
    SIZE size{};
    EXPECT_EQ(SendMessageW(form.hWnd(), toolkit::kGetDpiScaledSizeMessage, doubled,
                           reinterpret_cast<LPARAM>(&size)),
              FALSE);
    ChangeDpi(form, doubled);
    EXPECT_EQ(form.CurrentScale().Dpi(), dpi);
    RECT after{};
    GetWindowRect(form.hWnd(), &after);
    EXPECT_TRUE(EqualRect(&after, &before));
    EXPECT_TRUE(testing_support::SamePixels(ShownInProcess(form), shown));
}

TEST_F(InProcess, AfterAChangeAClickOnTheMinimiseOrCloseGlyphsCentreActs) {
    ChangeDpi(*at96_, fresh_->CurrentScale().Dpi());
    bool closed = false;
    at96_->Label5.Click = [&closed] { closed = true; };  // its own would end this process
    const std::vector<RECT> glyphs = RoundButtonsShown(ShownInProcess(*at96_));
    ASSERT_EQ(glyphs.size(), 2U);
    for (const RECT& glyph : {glyphs[1], glyphs[0]}) {
        const LPARAM centre =
            MAKELPARAM((glyph.left + glyph.right) / 2, (glyph.top + glyph.bottom) / 2);
        SendMessageW(at96_->hWnd(), WM_LBUTTONDOWN, MK_LBUTTON, centre);
        SendMessageW(at96_->hWnd(), WM_LBUTTONUP, 0, centre);
    }
    EXPECT_TRUE(closed);
    EXPECT_TRUE(IsIconic(at96_->hWnd()));
}

TEST_F(InProcess, TwoHundredChangesLeaveNoGdiObjectBehind) {
    const std::optional<int> before = testing_support::GdiObjectCount();
    if (!before) {
        GTEST_SKIP() << testing_support::kCannotCountGdiObjects;
    }
    for (int change = 0; change < 200; ++change) {
        ChangeDpi(*at96_,
                  change % 2 == 0 ? fresh_->CurrentScale().Dpi() : toolkit::Scale::kDesignDpi);
    }
    EXPECT_EQ(testing_support::GdiObjectCount(), before);
}

}  // namespace
