// The window toolkit on forms of the tests' own: event dispatch, labels, window properties,
// message boxes and run-time errors.

#include "assets/pictures.h"
#include "test_support.h"
#include "toolkit/form.h"
#include "toolkit/message_box.h"
#include "toolkit/run_time_error.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <olectl.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing_support::AtScale;
using testing_support::Pixels;
using testing_support::RenderClient;

// The cases give positions in pixels of the design scale, 96 DPI; the forms are drawn at their own.
constexpr int kTwipsPerPixel = 15;
constexpr testing_support::Pixel kWhite = 0xFFFFFF;
constexpr testing_support::Pixel kBlack = 0x000000;

toolkit::TwipsRect InTwips(int left, int top, int width, int height) {
    return {left * kTwipsPerPixel, top * kTwipsPerPixel, width * kTwipsPerPixel,
            height * kTwipsPerPixel};
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

    // A rectangle or a point of the design at the form's scale.
    RECT Scaled(const RECT& designed) const { return AtScale(form_.CurrentScale(), designed); }
    LPARAM At(int x, int y) const {
        const POINT point = testing_support::PointAtScale(form_.CurrentScale(), {x, y});
        return MAKELPARAM(static_cast<WORD>(point.x), static_cast<WORD>(point.y));
    }

    Pixels Render() const { return RenderClient(form_.hWnd(), client_.right, client_.bottom); }
    // The pixels of a rectangle of the client area, read back on their own.
    static RECT All(const RECT& area) {
        return {0, 0, area.right - area.left, area.bottom - area.top};
    }

    // One line of `text` in the form's own font.
    SIZE TextSize(const wchar_t* text) {
        const toolkit::WindowDc screen(nullptr);
        const toolkit::UniqueFont formFont =
            testing_support::DesignFontAt(form_.CurrentScale(), 8.25, FW_NORMAL);
        const toolkit::SelectionGuard font(screen.get(), formFont.get());
        SIZE size{};
        GetTextExtentPoint32W(screen.get(), text, static_cast<int>(wcslen(text)), &size);
        return size;
    }

    toolkit::Form form_{
        testing_support::TestFormDesign(kWidth * kTwipsPerPixel, kHeight* kTwipsPerPixel,
                                        testing_support::SolidPicture(kWidth, kHeight, kWhite))};
    const RECT client_ = Scaled({0, 0, kWidth, kHeight});
};

// ---------------------------------------------------------------------------------------------
// Mouse events go to the front-most control under the pointer, through real window messages.

class MouseDispatch : public ToolkitForm {
  protected:
    void SetUp() override {
        // Front to back: Front (8..59), NoHandler (40..91), Back (72..123), all on y 8..31;
        // Hidden (8..59, y 48..71) is not visible; Picture (148..167, y 48..67). Every position
        // here and in the cases is a multiple of 4 design pixels, which every scale Windows offers
        // (a multiple of 25 %) makes whole pixels: the twips reported are the same at each.
        Record(AddLabel(L"Front", 8, 8, 52, 24), "Front");
        AddLabel(L"NoHandler", 40, 8, 52, 24);
        Record(AddLabel(L"Back", 72, 8, 52, 24), "Back");
        toolkit::LabelDesign hidden;
        hidden.visible = false;
        Record(AddLabel(L"Hidden", 8, 48, 52, 24, hidden), "Hidden");
        Record(form_.AddImage(148 * kTwipsPerPixel, 48 * kTwipsPerPixel,
                              testing_support::SolidPicture(20, 20, 0x0000FF)),
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
        return "(" + std::to_string(args.button) + "," + std::to_string(args.Shift()) + "," +
               std::to_string(static_cast<int>(args.x)) + "," +
               std::to_string(static_cast<int>(args.y)) + ")";
    }

    std::vector<std::string> events_;
};

// One window message sent to the form; message 0 stands for another window taking the mouse
// (a menu, a move loop).
struct Step {
    UINT message;
    WPARAM keys;
    int x, y;
};
constexpr UINT kCaptureLost = 0;

TEST_F(MouseDispatch, EventsGoToTheFrontMostControlWithAHandler) {
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> events;  // positions in twips from the control's corner
    } cases[] = {
        {"press and release on one control is a click",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 20, 16}, {WM_LBUTTONUP, 0, 24, 20}},
         {"Front.MouseDown(1,0,180,120)", "Front.Click"}},
        {"release over another control or outside is no click",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 20, 16},
          {WM_LBUTTONUP, 0, 100, 16},
          {WM_LBUTTONDOWN, MK_LBUTTON, 100, 16},
          {WM_LBUTTONUP, 0, 32, 16},
          {WM_LBUTTONDOWN, MK_LBUTTON, 100, 16},
          {WM_LBUTTONUP, 0, -4, -4}},
         {"Front.MouseDown(1,0,180,120)", "Back.MouseDown(1,0,420,120)",
          "Back.MouseDown(1,0,420,120)"}},
        {"the front-most control wins where controls overlap",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 44, 12},  // Front over NoHandler
          {WM_LBUTTONUP, 0, 44, 12},
          {WM_LBUTTONDOWN, MK_LBUTTON, 96, 12},  // only Back
          {WM_LBUTTONUP, 0, 96, 12},
          {WM_LBUTTONDOWN, MK_LBUTTON, 156, 56},
          {WM_LBUTTONUP, 0, 156, 56}},
         {"Front.MouseDown(1,0,540,60)", "Front.Click", "Back.MouseDown(1,0,360,60)", "Back.Click",
          "Picture.MouseDown(1,0,120,120)", "Picture.Click"}},
        {"a control without handlers swallows its events (NoHandler lies in front of Back)",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 76, 16},
          {WM_LBUTTONUP, 0, 76, 16},
          {WM_MOUSEMOVE, 0, 80, 20},
          {WM_LBUTTONDOWN, MK_LBUTTON, 84, 24},
          {WM_LBUTTONUP, 0, 84, 24}},
         {}},
        {"the form hears only the bare surface, and hidden controls are bare",
         {{WM_MOUSEMOVE, 0, 32, 16},
          {WM_MOUSEMOVE, 0, 4, 4},
          {WM_LBUTTONDOWN, MK_LBUTTON, 20, 60},
          {WM_LBUTTONUP, 0, 20, 60},
          {WM_MOUSEMOVE, 0, 20, 60}},
         {"Front.MouseMove(0,0,360,120)", "Form.MouseMove(0,0,60,60)",
          "Form.MouseDown(1,0,300,900)", "Form.MouseMove(0,0,300,900)"}},
        {"the control pressed keeps the mouse until release",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 20, 16},
          {WM_MOUSEMOVE, MK_LBUTTON, 4, 4},
          {WM_MOUSEMOVE, MK_LBUTTON, 100, 16},
          {WM_LBUTTONUP, 0, 20, 16},
          {WM_MOUSEMOVE, 0, 100, 16}},
         {"Front.MouseDown(1,0,180,120)", "Front.MouseMove(1,0,-60,-60)",
          "Front.MouseMove(1,0,1380,120)", "Front.Click", "Back.MouseMove(0,0,420,120)"}},
        {"only the left button clicks; shift keys are reported",
         {{WM_RBUTTONDOWN, MK_RBUTTON | MK_SHIFT, 20, 16},
          {WM_RBUTTONUP, MK_SHIFT, 20, 16},
          {WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, 4, 4},
          {WM_LBUTTONUP, MK_CONTROL, 4, 4}},
         {"Front.MouseDown(2,1,180,120)", "Form.MouseDown(1,2,60,60)"}},
        {"a capture taken away ends the press",
         {{WM_LBUTTONDOWN, MK_LBUTTON, 20, 16}, {kCaptureLost, 0, 0, 0}, {WM_LBUTTONUP, 0, 20, 16}},
         {"Front.MouseDown(1,0,180,120)"}},
    };
    for (const auto& row : cases) {
        events_.clear();
        for (const Step& step : row.steps) {
            if (step.message == kCaptureLost) {
                ReleaseCapture();
            } else {
                SendMessageW(form_.hWnd(), step.message, step.keys, At(step.x, step.y));
            }
        }
        EXPECT_EQ(events_, row.events) << row.name;
    }
}

// ---------------------------------------------------------------------------------------------
// Labels: wrapping, clipping, sizing themselves, and repainting at once when changed.

TEST_F(ToolkitForm, ALabelWrapsAtWordsAndShowsOnlyTheLinesThatFitItsBox) {
    // Each word is wider than half the first label, so every word takes a line of its own; the
    // second has more lines of text than room for two and a half in the form's font (32 pixels
    // at 96 DPI), of which it shows two.
    AddLabel(L"WWWW WWWW WWWW", 10, 10, 70, 60);
    const int room =
        5 * TextSize(L"one").cy / 2 * 96 / static_cast<int>(form_.CurrentScale().Dpi());
    AddLabel(L"one two three four five six seven eight nine ten", 100, 10, 40, room);
    const Pixels pixels = Render();
    const RECT wrapped = Scaled({10, 10, 80, 70});
    const RECT cut = Scaled({100, 10, 140, 10 + room});
    EXPECT_EQ(pixels.InkedRowRuns(wrapped, kBlack).size(), 3U);
    EXPECT_EQ(pixels.InkedRowRuns(cut, kBlack).size(), 2U);
    EXPECT_EQ(pixels.Count(client_, kBlack),
              pixels.Count(wrapped, kBlack) + pixels.Count(cut, kBlack))
        << "ink outside the labels' boxes";
}

TEST_F(ToolkitForm, AnOpaqueSelfSizingLabelFitsOneLineOfItsTextAndClearsWhereItWas) {
    constexpr testing_support::Pixel kGreen = 0x00FF00;
    toolkit::LabelDesign design;
    design.transparent = false;
    design.backColor = kGreen;
    design.autoSize = true;
    toolkit::Label& label = AddLabel(L"12", 10, 10, 100, 50, design);
    const RECT& bounds = label.Bounds();
    // One line of "12" in the form's font: at 96 DPI two digits of 6 pixels, 13 high.
    const SIZE line = TextSize(L"12");
    const POINT corner = testing_support::PointAtScale(form_.CurrentScale(), {10, 10});
    const RECT box{corner.x, corner.y, corner.x + line.cx, corner.y + line.cy};
    EXPECT_TRUE(EqualRect(&bounds, &box));
    // Filled where the digits are not: with green, or where the face is smoothed with blends of
    // green and the ink, never with the ground.
    const Pixels pixels = Render();
    EXPECT_EQ(pixels.Count(box, kWhite), 0);
    EXPECT_GT(pixels.Count(box, kBlack), 10);
    EXPECT_EQ(pixels.Count(client_, kGreen), pixels.Count(box, kGreen))
        << "the fill stays within the fitted box";

    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    label.SetCaption(L"12 345");
    UpdateWindow(form_.hWnd());
    EXPECT_EQ(bounds.bottom - bounds.top, line.cy) << "one line, never wrapped";
    EXPECT_EQ(bounds.right - bounds.left, TextSize(L"12 345").cx);
    const RECT wide = bounds;
    ASSERT_GT(testing_support::ReadWindow(form_.hWnd(), wide).Count(All(wide), kGreen), 0);
    label.SetCaption(L"1");
    EXPECT_EQ(bounds.right - bounds.left, TextSize(L"1").cx);
    EXPECT_EQ(bounds.left, box.left);
    EXPECT_EQ(bounds.top, box.top);
    const RECT uncovered{bounds.right, box.top, wide.right, box.bottom};
    EXPECT_EQ(testing_support::ReadWindow(form_.hWnd(), uncovered).Count(All(uncovered), kWhite),
              (uncovered.right - uncovered.left) * line.cy)
        << "the old box shows the ground again";
}

// A change paints at once; a colour that is none changes nothing.
TEST_F(ToolkitForm, ChangingACaptionOrAColourRepaintsAtOnce) {
    toolkit::Label& label = AddLabel(L"", 10, 10, 100, 20);
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(form_.hWnd());
    const testing_support::MessageCounter counter(form_.hWnd());
    const RECT place = label.Bounds();
    const RECT box = All(place);

    label.SetCaption(L"Now shown");
    EXPECT_EQ(counter.Count(), 1);
    EXPECT_FALSE(GetUpdateRect(form_.hWnd(), nullptr, FALSE)) << "nothing left to paint";
    EXPECT_GT(testing_support::ReadWindow(form_.hWnd(), place).Count(box, kBlack), 20);

    label.SetForeColor(0x0000FF);
    EXPECT_EQ(counter.Count(), 2);
    const Pixels red = testing_support::ReadWindow(form_.hWnd(), place);
    EXPECT_EQ(red.Count(box, kBlack), 0);
    EXPECT_GT(red.Count(box, 0xFF0000), 20);
    EXPECT_EQ(label.ForeColor(), 0x0000FFU);
    label.SetForeColor(0x0000FF);
    EXPECT_EQ(counter.Count(), 2) << "the colour it already has paints nothing";
    EXPECT_EQ(testing_support::ErrorNumberOf([&label] { label.SetForeColor(0x80000099); }),
              toolkit::kInvalidPropertyValue)
        << "no such system colour";
    EXPECT_EQ(label.ForeColor(), 0x0000FFU) << "the colour is unchanged";
    EXPECT_EQ(counter.Count(), 2);

    label.SetCaption(L"");
    EXPECT_EQ(testing_support::ReadWindow(form_.hWnd(), place).Count(box, kWhite),
              box.right * box.bottom);
}

TEST_F(ToolkitForm, AHiddenLabelChangesWithoutPainting) {
    toolkit::LabelDesign design;
    design.visible = false;
    design.autoSize = true;
    toolkit::Label& label = AddLabel(L"12", 10, 10, 12, 13, design);
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(form_.hWnd());
    const testing_support::MessageCounter counter(form_.hWnd());
    label.SetCaption(L"123");
    label.SetForeColor(0x0000FF);
    EXPECT_EQ(counter.Count(), 0);
    EXPECT_EQ(label.Caption(), L"123");
    EXPECT_EQ(Render().Count(client_, kWhite), client_.right * client_.bottom);
}

// A compressed picture becomes a bitmap only when it decompresses to exactly the BMP it claims
// to be; anything else is an invalid property value, never a read beyond its data.
TEST(CompressedPicture, IsUsedOnlyWhenItDecompressesToExactlyTheBmpItClaims) {
    constexpr long kInvalid = toolkit::kInvalidPropertyValue;
    const toolkit::Blob strip = assets::kButtonStrip.lznt1;  // 65 x 26
    const struct {
        const char* name;
        toolkit::CompressedBmp picture;
        long error;
    } cases[] = {
        {"as built", {strip, 65, 26}, 0},
        {"without its last byte", {{strip.data, strip.size - 1}, 65, 26}, kInvalid},
        {"cut in half", {{strip.data, strip.size / 2}, 65, 26}, kInvalid},
        {"empty", {{strip.data, 0}, 65, 26}, kInvalid},
        {"claimed a row shorter", {strip, 65, 25}, kInvalid},
        {"claimed a column wider", {strip, 66, 26}, kInvalid},
        // A file of the same size: only its header tells the two apart.
        {"claimed 34 x 49", {strip, 34, 49}, kInvalid},
        {"claimed 0 x 0", {strip, 0, 0}, kInvalid},
    };
    for (const auto& row : cases) {
        EXPECT_EQ(
            testing_support::ErrorNumberOf([&row] {
                toolkit::Picture(row.picture).ScaleTo(toolkit::Scale(toolkit::Scale::kDesignDpi));
            }),
            row.error)
            << row.name;
    }
}

// The toolkit reads colours itself so as not to load oleaut32 at start. Where OleTranslateColor's
// documentation gives the answer (with no palette: 0x00bbggrr and palette-relative 0x02bbggrr
// stand for themselves, and so does palette index 0x0100iiii; 0x800000xx is system colour xx, or
// no colour), oleaut32 is the reference it must agree with. Elsewhere only Wine's answer is
// known, and the toolkit keeps its own rule: the low byte of 0x80...... names the system colour,
// any palette index 0x01...... stands for itself, and any other high byte is no colour.
TEST(ResolveColor, AgreesWithOleAutomationWhereItsAnswerIsDocumentedAndKeepsItsRuleElsewhere) {
    const toolkit::Color documented[] = {
        0x000000,   0xC0E0FF,   0xFFFFFF,   0x02123456, 0x01000000, 0x80000000, 0x80000005,
        0x8000000F, 0x80000012, 0x8000001E, 0x8000001F, 0x80000099, 0x800000FF,
    };
    for (const toolkit::Color colour : documented) {
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
    const struct {
        toolkit::Color colour;
        std::optional<COLORREF> resolved;  // nothing: no colour
    } undocumented[] = {
        {0x80000105, GetSysColor(COLOR_WINDOW)},
        {0x0100FFFF, 0x0100FFFF},
        {0x01010000, 0x01010000},
        {0x81000005, std::nullopt},
        {0x03000000, std::nullopt},
        {0x7F000000, std::nullopt},
        {0xFF000000, std::nullopt},
        {0xFFFFFFFF, std::nullopt},
    };
    for (const auto& row : undocumented) {
        COLORREF resolved = 0;
        EXPECT_EQ(
            testing_support::ErrorNumberOf([&] { resolved = toolkit::ResolveColor(row.colour); }),
            row.resolved ? 0L : long{toolkit::kInvalidPropertyValue})
            << std::hex << row.colour;
        EXPECT_EQ(resolved, row.resolved.value_or(0)) << std::hex << row.colour;
    }
}

// ---------------------------------------------------------------------------------------------
// Window properties.

TEST_F(ToolkitForm, SizeIsReadAndWrittenInTwips) {
    EXPECT_FLOAT_EQ(form_.Width(), 3000.0f);
    EXPECT_FLOAT_EQ(form_.Height(), 1500.0f);
    form_.SetHeight(1800);
    form_.SetWidth(2400);
    RECT client;
    GetClientRect(form_.hWnd(), &client);
    const RECT designed = Scaled({0, 0, 160, 120});
    EXPECT_TRUE(EqualRect(&client, &designed));
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

// Centred on the work area of the primary monitor, where the form opens: the screen without the
// taskbar, which run_in_prefix.sh --window-manager keeps strips of free as a taskbar does.
TEST_F(ToolkitForm, LoadRunsBeforeTheWindowIsShownCentred) {
    bool visibleDuringLoad = true;
    form_.Load = [&] { visibleDuringLoad = IsWindowVisible(form_.hWnd()) != FALSE; };
    form_.LoadAndShow();
    EXPECT_FALSE(visibleDuringLoad);
    EXPECT_TRUE(IsWindowVisible(form_.hWnd()));
    RECT bounds;
    GetWindowRect(form_.hWnd(), &bounds);
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_EQ(bounds.left - work.left, (work.right - work.left - client_.right) / 2);
    EXPECT_EQ(bounds.top - work.top, (work.bottom - work.top - client_.bottom) / 2);
}

// ---------------------------------------------------------------------------------------------
// Message boxes and run-time errors (the unhandled-error path is in unhandled_error_tests).

TEST(MessageBoxes, ABoxWithoutATitleCarriesTheTitleTheProgramsFormGives) {
    const toolkit::Form form(
        testing_support::TestFormDesign(300, 300, testing_support::SolidPicture(20, 20, 0)));
    const testing_support::BoxRecorder recorder;
    EXPECT_EQ(toolkit::MsgBox(L"Hello"), IDOK);
    toolkit::MsgBox(L"Done", MB_ICONINFORMATION, L"Own title");
    toolkit::MsgBox(L"Plain", 0, L"");
    std::vector<std::wstring> shown;
    for (const auto& box : recorder.boxes()) {
        shown.push_back(box.title + L"|" + box.text + L"|" + std::to_wstring(box.style));
    }
    EXPECT_THAT(shown, ElementsAre(L"Toolkit test|Hello|0", L"Own title|Done|64", L"|Plain|0"));
}

TEST(RunTimeError, ComesFromAutomationFailureCodes) {
    const std::pair<HRESULT, long> cases[] = {
        {DISP_E_TYPEMISMATCH, 13}, {DISP_E_OVERFLOW, 6},   {DISP_E_BADINDEX, 9},
        {E_OUTOFMEMORY, 7},        {DISP_E_DIVBYZERO, 11}, {E_INVALIDARG, 5},
    };
    for (const auto& [result, number] : cases) {
        EXPECT_EQ(toolkit::ErrorFromHResult(result).Number(), number) << std::hex << result;
    }
}

}  // namespace
