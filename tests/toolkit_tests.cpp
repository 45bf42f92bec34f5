// The window toolkit on forms of the tests' own: event dispatch, labels, window properties,
// screen metrics, message boxes and run-time errors.

#include "assets/pictures.h"
#include "test_support.h"
#include "toolkit/form.h"
#include "toolkit/message_box.h"
#include "toolkit/run_time_error.h"
#include "toolkit/screen.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <olectl.h>

#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::PixelOf;
using testing_support::Pixels;
using testing_support::RenderClient;

constexpr int kTwipsPerPixel = 15;  // the tests' screen is 96 DPI
constexpr testing_support::Pixel kWhite = 0xFFFFFF;
constexpr testing_support::Pixel kBlack = 0x000000;

toolkit::TwipsRect InTwips(int left, int top, int width, int height) {
    return {left * kTwipsPerPixel, top * kTwipsPerPixel, width * kTwipsPerPixel,
            height * kTwipsPerPixel};
}

LPARAM At(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

// A white 200 x 100 form with nothing on it; each test adds the controls it needs.
class ToolkitForm : public testing::Test {
  protected:
    static constexpr int kWidth = 200;
    static constexpr int kHeight = 100;

    toolkit::Label& AddLabel(const std::wstring& caption, int left, int top, int width, int height,
                             toolkit::LabelDesign design = {}) {
        design.caption = caption;
        if (design.foreColor == toolkit::kButtonTextColor) {
            design.foreColor = 0x000000;
        }
        return form_.AddLabel(InTwips(left, top, width, height), std::move(design));
    }

    Pixels Render() const { return RenderClient(form_.hWnd(), kWidth, kHeight); }

    std::vector<unsigned char> background_ = testing_support::SolidBmp(kWidth, kHeight, kWhite);
    toolkit::Form form_{toolkit::FormDesign{L"Toolkit test",
                                            kWidth* kTwipsPerPixel,
                                            kHeight* kTwipsPerPixel,
                                            {background_.data(), background_.size()},
                                            assets::kProgramIcon}};
};

// ---------------------------------------------------------------------------------------------
// Mouse events go to the front-most control under the pointer, through real window messages.

class MouseDispatch : public ToolkitForm {
  protected:
    void SetUp() override {
        // Front to back: Front (10..59), NoHandler (40..89), Back (70..119), all on y 10..29;
        // Hidden (10..59, y 50..69) is not visible; Picture (150..169, y 50..69).
        Record(AddLabel(L"Front", 10, 10, 50, 20), "Front");
        AddLabel(L"NoHandler", 40, 10, 50, 20);
        Record(AddLabel(L"Back", 70, 10, 50, 20), "Back");
        toolkit::LabelDesign hidden;
        hidden.visible = false;
        Record(AddLabel(L"Hidden", 10, 50, 50, 20, hidden), "Hidden");
        picture_ = testing_support::SolidBmp(20, 20, 0x0000FF);
        Record(form_.AddImage(150 * kTwipsPerPixel, 50 * kTwipsPerPixel,
                              {picture_.data(), picture_.size()}),
               "Picture");
        form_.MouseDown = [this](const toolkit::MouseEventArgs& args) {
            events_.push_back("Form.MouseDown" + Describe(args));
        };
        form_.MouseMove = [this](const toolkit::MouseEventArgs& args) {
            events_.push_back("Form.MouseMove" + Describe(args));
        };
        ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    }

    void Record(toolkit::PaintedControl& control, const std::string& name) {
        control.Click = [this, name] { events_.push_back(name + ".Click"); };
        control.MouseDown = [this, name](const toolkit::MouseEventArgs& args) {
            events_.push_back(name + ".MouseDown" + Describe(args));
        };
        control.MouseMove = [this, name](const toolkit::MouseEventArgs& args) {
            events_.push_back(name + ".MouseMove" + Describe(args));
        };
    }

    static std::string Describe(const toolkit::MouseEventArgs& args) {
        return "(" + std::to_string(args.button) + "," + std::to_string(args.shift) + "," +
               std::to_string(static_cast<int>(args.x)) + "," +
               std::to_string(static_cast<int>(args.y)) + ")";
    }

    void Send(UINT message, WPARAM keys, int x, int y) {
        SendMessageW(form_.hWnd(), message, keys, At(x, y));
    }
    void LeftClick(int x, int y) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        Send(WM_LBUTTONUP, 0, x, y);
    }

    std::vector<unsigned char> picture_;
    std::vector<std::string> events_;
};

TEST_F(MouseDispatch, PressAndReleaseOnOneControlIsAClick) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 15);
    Send(WM_LBUTTONUP, 0, 25, 18);
    // The position is in twips from the control's own top-left corner.
    EXPECT_THAT(events_, ElementsAre("Front.MouseDown(1,0,150,75)", "Front.Click"));
}

TEST_F(MouseDispatch, ReleaseOverAnotherControlOrOutsideIsNoClick) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 15);
    Send(WM_LBUTTONUP, 0, 100, 15);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 15);
    Send(WM_LBUTTONUP, 0, 30, 15);
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 100, 15);
    Send(WM_LBUTTONUP, 0, -5, -5);
    EXPECT_THAT(events_, ElementsAre("Front.MouseDown(1,0,150,75)", "Back.MouseDown(1,0,450,75)",
                                     "Back.MouseDown(1,0,450,75)"));
}

TEST_F(MouseDispatch, TheFrontMostControlWinsWhereControlsOverlap) {
    LeftClick(45, 12);  // Front over NoHandler
    LeftClick(95, 12);  // only Back
    LeftClick(155, 55);
    EXPECT_THAT(events_, ElementsAre("Front.MouseDown(1,0,525,30)", "Front.Click",
                                     "Back.MouseDown(1,0,375,30)", "Back.Click",
                                     "Picture.MouseDown(1,0,75,75)", "Picture.Click"));
}

TEST_F(MouseDispatch, AControlWithoutHandlersSwallowsItsEvents) {
    // NoHandler lies in front of Back at 70..89: neither Back nor the form hears of it.
    LeftClick(75, 15);
    Send(WM_MOUSEMOVE, 0, 80, 20);
    LeftClick(45 + 40, 25);
    EXPECT_THAT(events_, IsEmpty());
}

TEST_F(MouseDispatch, TheFormHearsOnlyTheBareSurfaceAndHiddenControlsAreBare) {
    Send(WM_MOUSEMOVE, 0, 30, 15);
    Send(WM_MOUSEMOVE, 0, 5, 5);
    LeftClick(20, 60);  // the hidden label's place
    Send(WM_MOUSEMOVE, 0, 20, 60);
    EXPECT_THAT(events_, ElementsAre("Front.MouseMove(0,0,300,75)", "Form.MouseMove(0,0,75,75)",
                                     "Form.MouseDown(1,0,300,900)", "Form.MouseMove(0,0,300,900)"));
}

TEST_F(MouseDispatch, TheControlPressedKeepsTheMouseUntilRelease) {
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 15);
    Send(WM_MOUSEMOVE, MK_LBUTTON, 5, 5);     // over the bare surface
    Send(WM_MOUSEMOVE, MK_LBUTTON, 100, 15);  // over Back
    Send(WM_LBUTTONUP, 0, 20, 15);
    Send(WM_MOUSEMOVE, 0, 100, 15);
    EXPECT_THAT(events_, ElementsAre("Front.MouseDown(1,0,150,75)", "Front.MouseMove(1,0,-75,-75)",
                                     "Front.MouseMove(1,0,1350,75)", "Front.Click",
                                     "Back.MouseMove(0,0,450,75)"));
}

TEST_F(MouseDispatch, OnlyTheLeftButtonClicksAndShiftKeysAreReported) {
    Send(WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, 20, 15);
    Send(WM_RBUTTONUP, MK_SHIFT, 20, 15);
    Send(WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, 5, 5);
    Send(WM_LBUTTONUP, MK_CONTROL, 5, 5);
    EXPECT_THAT(events_, ElementsAre("Front.MouseDown(2,1,150,75)", "Form.MouseDown(1,2,75,75)"));
}

TEST_F(MouseDispatch, ACaptureTakenAwayEndsThePress) {
    // Another window taking the mouse (a menu, a move loop) cancels the press: no Click.
    Send(WM_LBUTTONDOWN, MK_LBUTTON, 20, 15);
    ReleaseCapture();
    Send(WM_LBUTTONUP, 0, 20, 15);
    EXPECT_THAT(events_, ElementsAre("Front.MouseDown(1,0,150,75)"));
}

// ---------------------------------------------------------------------------------------------
// Labels: wrapping, clipping, sizing themselves, and repainting at once when changed.

// The rows of `rect` that hold at least one pixel of `ink`, as runs [first, last].
std::vector<std::pair<int, int>> InkedRowRuns(const Pixels& pixels, const RECT& rect,
                                              testing_support::Pixel ink) {
    std::vector<std::pair<int, int>> runs;
    for (int y = rect.top; y < rect.bottom; ++y) {
        if (pixels.Count({rect.left, y, rect.right, y + 1}, ink) == 0) {
            continue;
        }
        if (!runs.empty() && runs.back().second == y - 1) {
            runs.back().second = y;
        } else {
            runs.emplace_back(y, y);
        }
    }
    return runs;
}

TEST_F(ToolkitForm, ALabelWrapsAtWordsWithinItsWidth) {
    // Each word is wider than half the label, so every word takes a line of its own.
    AddLabel(L"WWWW WWWW WWWW", 10, 10, 70, 60);
    const Pixels pixels = Render();
    EXPECT_EQ(pixels.Count({80, 0, kWidth, kHeight}, kBlack), 0) << "ink right of the label";
    EXPECT_EQ(InkedRowRuns(pixels, {10, 10, 80, 70}, kBlack).size(), 3U);
    EXPECT_EQ(pixels.Count({0, 70, kWidth, kHeight}, kBlack), 0) << "ink below the label";
}

TEST_F(ToolkitForm, ALabelCutsOffWhatDoesNotFitItsHeight) {
    // Ten lines of text in a box with room for two and a half: nothing shows below the box.
    AddLabel(L"one two three four five six seven eight nine ten", 10, 10, 40, 32);
    AddLabel(L"marker", 100, 10, 90, 20);
    const Pixels pixels = Render();
    EXPECT_EQ(InkedRowRuns(pixels, {10, 10, 50, 42}, kBlack).size(), 3U);
    EXPECT_EQ(pixels.Count({0, 42, kWidth, kHeight}, kBlack), 0) << "ink below the label";
    EXPECT_EQ(pixels.Count({50, 0, 100, kHeight}, kBlack), 0) << "ink right of the label";
    EXPECT_GT(pixels.Count({100, 10, 190, 30}, kBlack), 0) << "the next label is drawn";
}

TEST_F(ToolkitForm, ATransparentLabelDrawsOnlyItsText) {
    AddLabel(L"Text", 10, 10, 100, 20);
    const Pixels pixels = Render();
    const RECT box{10, 10, 110, 30};
    const int ink = pixels.Count(box, kBlack);
    EXPECT_GT(ink, 20);
    EXPECT_EQ(ink + pixels.Count(box, kWhite), 100 * 20) << "the box holds only ink and ground";
}

TEST_F(ToolkitForm, AnOpaqueSelfSizingLabelFitsOneLineOfItsText) {
    toolkit::LabelDesign design;
    design.transparent = false;
    design.backColor = 0x00FF00;  // green
    design.autoSize = true;
    toolkit::Label& label = AddLabel(L"12", 10, 10, 100, 50, design);
    // "12" in the default 8.25-point MS Sans Serif: two digits of 6 pixels, one line of 13.
    EXPECT_EQ(label.Bounds().right - label.Bounds().left, 12);
    EXPECT_EQ(label.Bounds().bottom - label.Bounds().top, 13);
    const Pixels pixels = Render();
    const RECT box{10, 10, 22, 23};
    EXPECT_EQ(pixels.Count(box, 0x00FF00) + pixels.Count(box, kBlack), 12 * 13);
    EXPECT_GT(pixels.Count(box, kBlack), 10);
    EXPECT_EQ(pixels.Count({0, 0, kWidth, kHeight}, 0x00FF00) + pixels.Count(box, kBlack), 12 * 13)
        << "the fill stays within the fitted box";

    label.SetCaption(L"12 345");
    EXPECT_EQ(label.Bounds().bottom - label.Bounds().top, 13) << "one line, never wrapped";
    EXPECT_GT(label.Bounds().right - label.Bounds().left, 30);
    label.SetCaption(L"1");
    EXPECT_EQ(label.Bounds().right - label.Bounds().left, 6);
    EXPECT_EQ(label.Bounds().left, 10);
    EXPECT_EQ(label.Bounds().top, 10);
}

TEST_F(ToolkitForm, ASelfSizingLabelRepaintsWhereItWasWhenItShrinks) {
    toolkit::LabelDesign design;
    design.transparent = false;
    design.backColor = 0x00FF00;  // green
    design.autoSize = true;
    toolkit::Label& label = AddLabel(L"12 345", 10, 10, 100, 50, design);
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(form_.hWnd());
    const RECT area{0, 0, 60, 13};
    ASSERT_GT(testing_support::ReadWindow(form_.hWnd(), {10, 10, 70, 23}).Count(area, 0x00FF00), 0);
    label.SetCaption(L"1");
    const Pixels after = testing_support::ReadWindow(form_.hWnd(), {16, 10, 70, 23});
    EXPECT_EQ(after.Count(area, kWhite), 54 * 13) << "the old box shows the ground again";
}

// Counts the WM_PAINT messages the form's window receives, by subclassing it.
class PaintCounter {
  public:
    explicit PaintCounter(HWND window) : window_(window) {
        SetPropW(window_, kProp, this);
        previous_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
            window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaintCounter::Procedure)));
    }
    ~PaintCounter() {
        SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous_));
        RemovePropW(window_, kProp);
    }
    int paints = 0;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = static_cast<PaintCounter*>(GetPropW(window, kProp));
        if (message == WM_PAINT) {
            ++self->paints;
        }
        return CallWindowProcW(self->previous_, window, message, wParam, lParam);
    }
    static constexpr wchar_t kProp[] = L"PaintCounter";
    HWND window_;
    WNDPROC previous_;
};

TEST_F(ToolkitForm, ChangingACaptionOrAColourRepaintsAtOnce) {
    toolkit::Label& label = AddLabel(L"", 10, 10, 100, 20);
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(form_.hWnd());
    const PaintCounter counter(form_.hWnd());
    const RECT box{0, 0, 100, 20};

    label.SetCaption(L"Now shown");
    EXPECT_EQ(counter.paints, 1);
    EXPECT_FALSE(GetUpdateRect(form_.hWnd(), nullptr, FALSE)) << "nothing left to paint";
    EXPECT_GT(testing_support::ReadWindow(form_.hWnd(), {10, 10, 110, 30}).Count(box, kBlack), 20);

    label.SetForeColor(0x0000FF);
    EXPECT_EQ(counter.paints, 2);
    const Pixels red = testing_support::ReadWindow(form_.hWnd(), {10, 10, 110, 30});
    EXPECT_EQ(red.Count(box, kBlack), 0);
    EXPECT_GT(red.Count(box, 0xFF0000), 20);
    EXPECT_EQ(label.ForeColor(), 0x0000FFU);

    label.SetCaption(L"");
    EXPECT_EQ(testing_support::ReadWindow(form_.hWnd(), {10, 10, 110, 30}).Count(box, kWhite),
              100 * 20);
}

TEST_F(ToolkitForm, AHiddenLabelChangesWithoutPainting) {
    toolkit::LabelDesign design;
    design.visible = false;
    design.autoSize = true;
    toolkit::Label& label = AddLabel(L"12", 10, 10, 12, 13, design);
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(form_.hWnd());
    const PaintCounter counter(form_.hWnd());
    label.SetCaption(L"123");
    label.SetForeColor(0x0000FF);
    EXPECT_EQ(counter.paints, 0);
    EXPECT_EQ(label.Caption(), L"123");
    EXPECT_EQ(Render().Count({0, 0, kWidth, kHeight}, kWhite), kWidth * kHeight);
}

TEST_F(ToolkitForm, AnInvalidColourIsAnInvalidPropertyValue) {
    toolkit::Label& label = AddLabel(L"x", 10, 10, 20, 20);
    try {
        label.SetForeColor(0x80000099);  // no such system colour
        FAIL() << "no error raised";
    } catch (const toolkit::RunTimeError& error) {
        EXPECT_EQ(error.Number(), 380);
    }
    EXPECT_EQ(label.ForeColor(), 0U) << "the colour is unchanged";
}

// The toolkit reads colours itself so as not to load oleaut32 at start; oleaut32 is the
// reference it must agree with, on every kind of colour value and its edges.
TEST(ResolveColor, AgreesWithOleAutomation) {
    const toolkit::Color colours[] = {
        0x000000,   0xC0E0FF,   0xFFFFFF,   0x80000000, 0x80000005, 0x8000000F, 0x80000012,
        0x8000001E, 0x8000001F, 0x80000099, 0x800000FF, 0x80000105, 0x81000005, 0x01000000,
        0x0100FFFF, 0x01010000, 0x02123456, 0x03000000, 0x7F000000, 0xFF000000, 0xFFFFFFFF,
    };
    for (const toolkit::Color colour : colours) {
        COLORREF expected = 0;
        const bool valid = OleTranslateColor(colour, nullptr, &expected) == S_OK;
        try {
            EXPECT_EQ(toolkit::ResolveColor(colour), expected) << std::hex << colour;
            EXPECT_TRUE(valid) << std::hex << colour << " is no colour to oleaut32";
        } catch (const toolkit::RunTimeError& error) {
            EXPECT_FALSE(valid) << std::hex << colour << " is a colour to oleaut32";
            EXPECT_EQ(error.Number(), toolkit::kInvalidPropertyValue);
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Window properties and screen metrics.

TEST(ScreenMetrics, TwipsPerPixelComeFromTheScreensDpi) {
    const toolkit::WindowDc screen(nullptr);
    EXPECT_FLOAT_EQ(toolkit::TwipsPerPixelX(), 1440.0f / GetDeviceCaps(screen.get(), LOGPIXELSX));
    EXPECT_FLOAT_EQ(toolkit::TwipsPerPixelY(), 1440.0f / GetDeviceCaps(screen.get(), LOGPIXELSY));
    ASSERT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSX), 96) << "the tests expect a 96 DPI screen";
    EXPECT_EQ(toolkit::TwipsToPixelsX(6180), 412);
    EXPECT_EQ(toolkit::TwipsToPixelsY(3555), 237);
    EXPECT_EQ(toolkit::TwipsToPixelsY(22), 1) << "to the nearest pixel";
}

TEST_F(ToolkitForm, SizeIsReadAndWrittenInTwips) {
    EXPECT_FLOAT_EQ(form_.Width(), 3000.0f);
    EXPECT_FLOAT_EQ(form_.Height(), 1500.0f);
    form_.SetHeight(1800);
    form_.SetWidth(2400);
    RECT client;
    GetClientRect(form_.hWnd(), &client);
    EXPECT_EQ(client.right, 160);
    EXPECT_EQ(client.bottom, 120);
    EXPECT_FLOAT_EQ(form_.Height(), 1800.0f);
    EXPECT_FLOAT_EQ(form_.Width(), 2400.0f);
}

TEST_F(ToolkitForm, WritingWindowStateOneMinimises) {
    form_.LoadAndShow();
    EXPECT_EQ(form_.WindowState(), toolkit::kNormal);
    form_.SetWindowState(toolkit::kMinimized);
    EXPECT_TRUE(IsIconic(form_.hWnd()));
    EXPECT_EQ(form_.WindowState(), toolkit::kMinimized);
    form_.SetWindowState(toolkit::kNormal);
    EXPECT_FALSE(IsIconic(form_.hWnd()));
    EXPECT_EQ(form_.WindowState(), toolkit::kNormal);
    EXPECT_THROW(form_.SetWindowState(3), toolkit::RunTimeError);
}

TEST_F(ToolkitForm, LoadRunsBeforeTheWindowIsShownCentred) {
    bool visibleDuringLoad = true;
    form_.Load = [&] { visibleDuringLoad = IsWindowVisible(form_.hWnd()) != FALSE; };
    form_.LoadAndShow();
    EXPECT_FALSE(visibleDuringLoad);
    EXPECT_TRUE(IsWindowVisible(form_.hWnd()));
    RECT bounds;
    GetWindowRect(form_.hWnd(), &bounds);
    EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2);
    EXPECT_EQ(bounds.top, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2);
}

// ---------------------------------------------------------------------------------------------
// Message boxes and run-time errors (the unhandled-error path is in unhandled_error_tests).

TEST(MessageBoxes, ABoxWithoutATitleCarriesTheApplicationTitle) {
    const testing_support::BoxRecorder recorder;
    EXPECT_EQ(toolkit::MsgBox(L"Hello"), IDOK);
    toolkit::MsgBox(L"Done", MB_ICONINFORMATION, L"Own title");
    toolkit::MsgBox(L"Plain", 0, L"");
    std::vector<std::wstring> shown;
    for (const auto& box : recorder.boxes()) {
        shown.push_back(box.title + L"|" + box.text + L"|" + std::to_wstring(box.style));
    }
    EXPECT_THAT(shown, ElementsAre(L"BrevaneTwinova|Hello|0", L"Own title|Done|64", L"|Plain|0"));
}

TEST(RunTimeError, CarriesTheStandardDescriptions) {
    const std::vector<std::pair<long, std::wstring>> standard{
        {5, L"Invalid procedure call or argument"},
        {6, L"Overflow"},
        {7, L"Out of memory"},
        {9, L"Subscript out of range"},
        {11, L"Division by zero"},
        {13, L"Type mismatch"},
        {94, L"Invalid use of Null"},
        {380, L"Invalid property value"},
    };
    for (const auto& [number, description] : standard) {
        const toolkit::RunTimeError error(number);
        EXPECT_EQ(error.Number(), number);
        EXPECT_EQ(error.Description(), description) << number;
        EXPECT_EQ(toolkit::StandardDescription(number), description) << number;
    }
    EXPECT_EQ(toolkit::RunTimeError(1000).Description(),
              L"Application-defined or object-defined error");
    EXPECT_EQ(toolkit::RunTimeError(13, L"Custom").Description(), L"Custom");
}

TEST(RunTimeError, ComesFromAutomationFailureCodes) {
    EXPECT_EQ(toolkit::ErrorFromHResult(DISP_E_TYPEMISMATCH).Number(), 13);
    EXPECT_EQ(toolkit::ErrorFromHResult(DISP_E_OVERFLOW).Number(), 6);
    EXPECT_EQ(toolkit::ErrorFromHResult(DISP_E_BADINDEX).Number(), 9);
    EXPECT_EQ(toolkit::ErrorFromHResult(E_OUTOFMEMORY).Number(), 7);
    EXPECT_EQ(toolkit::ErrorFromHResult(DISP_E_DIVBYZERO).Number(), 11);
    EXPECT_EQ(toolkit::ErrorFromHResult(E_INVALIDARG).Number(), 5);
}

}  // namespace
