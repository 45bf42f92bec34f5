// The main window as designed, in-process: where the mouse lands, the keyboard focus, the
// painted result and the child windows. These tests look at the window as created; the texts
// that the start-up sequence and the language switch set later are not theirs to check.

#include "assets/pictures.h"
#include "test_support.h"
#include "toolkit/message_box.h"
#include "toolkit/run_time_error.h"
#include "window/form1.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::IsEmpty;
using testing_support::Pixel;
using testing_support::PixelOf;
using testing_support::Pixels;
using testing_support::RectInParent;
using testing_support::RenderClient;
using testing_support::WindowText;

constexpr int kClientWidth = 412;
constexpr int kClientHeight = 237;
constexpr Pixel kPureRed = 0xFF0000;
constexpr Pixel kWhite = 0xFFFFFF;
constexpr Pixel kUnpainted = 0xFF00FF;  // what RenderClient fills its bitmap with first

LPARAM At(int x, int y) {
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}

class MainWindow : public testing::Test {
  protected:
    Form1 form_;
};

// ---------------------------------------------------------------------------------------------
// Hit-testing: the front-most painted control under a point.

TEST_F(MainWindow, MinimiseAndCloseAreasLieInFrontOfTheButtonPicture) {
    EXPECT_EQ(form_.ControlAt({140, 10}), &form_.Label4);
    EXPECT_EQ(form_.ControlAt({180, 10}), &form_.Label5);
    // Right of the close button's picture, yet inside the close area.
    EXPECT_EQ(form_.ControlAt({195, 10}), &form_.Label5);
    EXPECT_EQ(form_.ControlAt({200, 24}), &form_.Label5);
    EXPECT_EQ(form_.ControlAt({201, 10}), nullptr);
    // Line 25 lies below both areas but still on the picture.
    EXPECT_EQ(form_.ControlAt({150, 25}), &form_.Image1);
    EXPECT_EQ(form_.ControlAt({192, 25}), &form_.Image1);
    EXPECT_EQ(form_.ControlAt({193, 25}), nullptr);
    EXPECT_EQ(form_.ControlAt({150, 26}), nullptr);
}

TEST_F(MainWindow, TheTitleReachesUnderThePictureAndTheMinimiseArea) {
    EXPECT_EQ(form_.ControlAt({100, 10}), &form_.Label2);
    // The title's box is 8..136 across and 8..32 down.
    for (int y = 0; y <= 40; ++y) {
        for (int x = 0; x <= 140; ++x) {
            const toolkit::PaintedControl* expected = nullptr;
            if (x >= 128 && y <= 24) {
                expected = &form_.Label4;
            } else if (x >= 128 && y == 25) {
                expected = &form_.Image1;
            } else if (x >= 8 && x <= 136 && y >= 8 && y <= 32) {
                expected = &form_.Label2;
            }
            const toolkit::PaintedControl* found = form_.ControlAt({x, y});
            if (found != expected) {
                ADD_FAILURE() << "at (" << x << ", " << y << ")";
                return;
            }
        }
    }
}

TEST_F(MainWindow, TheOtherLabelsAndTheBareSurface) {
    EXPECT_EQ(form_.ControlAt({300, 20}), &form_.Label6);
    EXPECT_EQ(form_.ControlAt({20, 55}), &form_.Label3);
    EXPECT_EQ(form_.ControlAt({20, 85}), &form_.Label7);
    EXPECT_EQ(form_.ControlAt({8, 112}), &form_.Label1);
    EXPECT_EQ(form_.ControlAt({224, 184}), &form_.Label1);
    for (const POINT bare : {POINT{0, 0}, POINT{5, 5}, POINT{225, 150}, POINT{300, 150},
                             POINT{100, 220}, POINT{411, 236}}) {
        EXPECT_EQ(form_.ControlAt(bare), nullptr) << bare.x << ", " << bare.y;
    }
    // The hidden value label lies below the window and is never hit.
    EXPECT_EQ(form_.ControlAt({70, 260}), nullptr);
}

TEST_F(MainWindow, ThePushButtonsAreTheChildWindowsAtTheirPlaces) {
    const auto childAt = [this](int x, int y) {
        return ChildWindowFromPointEx(form_.hWnd(), {x, y}, CWP_SKIPINVISIBLE);
    };
    EXPECT_EQ(childAt(170, 85), form_.Command2.hWnd());
    EXPECT_EQ(childAt(210, 85), form_.Command3.hWnd());
    EXPECT_EQ(childAt(300, 50), form_.Command1.hWnd());
    EXPECT_EQ(childAt(100, 10), form_.hWnd()) << "labels have no windows of their own";
}

// ---------------------------------------------------------------------------------------------
// Mouse events through real window messages, every handler replaced by a recorder.

class MainWindowMouse : public MainWindow {
  protected:
    void SetUp() override {
        const std::pair<toolkit::PaintedControl*, std::string> painted[] = {
            {&form_.Label7, "Label7"}, {&form_.lbValue, "lbValue"}, {&form_.Label6, "Label6"},
            {&form_.Label5, "Label5"}, {&form_.Label4, "Label4"},   {&form_.Image1, "Image1"},
            {&form_.Label3, "Label3"}, {&form_.Label2, "Label2"},   {&form_.Label1, "Label1"},
        };
        for (const auto& [control, name] : painted) {
            control->Click = Recorder(name + ".Click");
            control->MouseDown = MouseRecorder(name + ".MouseDown");
            control->MouseMove = MouseRecorder(name + ".MouseMove");
        }
        form_.Command1.Click = Recorder("Command1.Click");
        form_.Command2.Click = Recorder("Command2.Click");
        form_.Command3.Click = Recorder("Command3.Click");
        form_.MouseDown = MouseRecorder("Form.MouseDown");
        form_.MouseMove = MouseRecorder("Form.MouseMove");
        form_.Load = {};
    }

    toolkit::EventHandler Recorder(std::string event) {
        return [this, event] { events_.push_back(event); };
    }
    toolkit::MouseEventHandler MouseRecorder(std::string event) {
        return [this, event](const toolkit::MouseEventArgs&) { events_.push_back(event); };
    }

    void Send(UINT message, WPARAM keys, int x, int y) {
        SendMessageW(form_.hWnd(), message, keys, At(x, y));
    }
    void LeftClick(int x, int y) {
        Send(WM_LBUTTONDOWN, MK_LBUTTON, x, y);
        Send(WM_LBUTTONUP, 0, x, y);
    }

    std::vector<std::string> events_;
};

TEST_F(MainWindowMouse, ClicksReachTheControlsTheirPointsName) {
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    LeftClick(140, 10);
    LeftClick(100, 10);
    LeftClick(195, 10);
    LeftClick(130, 25);
    LeftClick(132, 24);
    EXPECT_THAT(events_,
                ElementsAre("Label4.MouseDown", "Label4.Click", "Label2.MouseDown", "Label2.Click",
                            "Label5.MouseDown", "Label5.Click", "Image1.MouseDown", "Image1.Click",
                            "Label4.MouseDown", "Label4.Click"));
}

TEST_F(MainWindowMouse, TheFormHearsOnlyItsBareSurface) {
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    Send(WM_MOUSEMOVE, 0, 300, 150);
    Send(WM_MOUSEMOVE, 0, 20, 55);
    LeftClick(300, 150);
    Send(WM_MOUSEMOVE, 0, 70, 230);
    EXPECT_THAT(events_, ElementsAre("Form.MouseMove", "Label3.MouseMove", "Form.MouseDown",
                                     "Form.MouseMove"));
}

TEST_F(MainWindowMouse, ControlsWithoutHandlersIgnoreTheMouse) {
    form_.Label7.Click = {};
    form_.Label7.MouseDown = {};
    form_.Label7.MouseMove = {};
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    LeftClick(20, 85);
    Send(WM_MOUSEMOVE, 0, 20, 85);
    EXPECT_THAT(events_, IsEmpty()) << "neither the form nor anything behind hears of it";
}

TEST_F(MainWindowMouse, PushButtonsClickThroughTheirOwnWindows) {
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    SendMessageW(form_.Command2.hWnd(), BM_CLICK, 0, 0);
    SendMessageW(form_.Command3.hWnd(), BM_CLICK, 0, 0);
    SendMessageW(form_.Command1.hWnd(), BM_CLICK, 0, 0);
    EXPECT_THAT(events_, ElementsAre("Command2.Click", "Command3.Click", "Command1.Click"));
}

TEST_F(MainWindowMouse, ADoubleClickOnAPushButtonIsTwoClicks) {
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    for (const HWND button : {form_.Command1.hWnd(), form_.Command2.hWnd()}) {
        const LPARAM inside = At(10, 8);
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, inside);
        SendMessageW(button, WM_LBUTTONUP, 0, inside);
        SendMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
        SendMessageW(button, WM_LBUTTONUP, 0, inside);
    }
    EXPECT_THAT(events_, ElementsAre("Command1.Click", "Command1.Click", "Command2.Click",
                                     "Command2.Click"));
}

// ---------------------------------------------------------------------------------------------
// The keyboard: focus, tab order, Space, no default or cancel button.

class MainWindowKeyboard : public MainWindowMouse {
  protected:
    // Posts a key press to the focused window and runs it through the toolkit's message loop.
    void PressKey(UINT key, bool shift = false) {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(state);
        const HWND focus = GetFocus();
        PostMessageW(focus, WM_KEYDOWN, key, 1);
        PostMessageW(focus, WM_KEYUP, key, 0xC0000001);
        testing_support::PumpMessages(&form_);
        state[VK_SHIFT] = 0;
        SetKeyboardState(state);
    }

    // The clicks recorded; the pointer of the test display may rest over the window and move
    // the mouse over it meanwhile.
    std::vector<std::string> Clicks() const {
        std::vector<std::string> clicks;
        for (const std::string& event : events_) {
            if (event.find(".Click") != std::string::npos) {
                clicks.push_back(event);
            }
        }
        return clicks;
    }
};

TEST_F(MainWindowKeyboard, TheApplyButtonHasTheFocusWhenFirstShown) {
    form_.LoadAndShow();
    testing_support::PumpMessages(&form_);
    EXPECT_EQ(GetFocus(), form_.Command1.hWnd());
}

TEST_F(MainWindowKeyboard, TabVisitsTheThreeButtonsInTabOrder) {
    form_.LoadAndShow();
    std::vector<HWND> visited;
    for (int press = 0; press < 3; ++press) {
        PressKey(VK_TAB);
        visited.push_back(GetFocus());
    }
    EXPECT_THAT(visited,
                ElementsAre(form_.Command2.hWnd(), form_.Command3.hWnd(), form_.Command1.hWnd()));
    visited.clear();
    for (int press = 0; press < 3; ++press) {
        PressKey(VK_TAB, true);
        visited.push_back(GetFocus());
    }
    EXPECT_THAT(visited,
                ElementsAre(form_.Command3.hWnd(), form_.Command2.hWnd(), form_.Command1.hWnd()));
    EXPECT_THAT(Clicks(), IsEmpty());
}

TEST_F(MainWindowKeyboard, SpacePressesTheFocusedButton) {
    form_.LoadAndShow();
    PressKey(VK_SPACE);
    PressKey(VK_TAB);
    PressKey(VK_SPACE);
    PressKey(VK_TAB);
    PressKey(VK_SPACE);
    EXPECT_THAT(Clicks(), ElementsAre("Command1.Click", "Command2.Click", "Command3.Click"));
}

TEST_F(MainWindowKeyboard, EnterPressesTheFocusedButtonAndThereIsNoDefaultOrCancelButton) {
    form_.LoadAndShow();
    // The form hands the focus on to the button that had it last.
    for (const HWND focus : {form_.Command1.hWnd(), form_.Command3.hWnd(), form_.hWnd()}) {
        SetFocus(focus);
        PressKey(VK_ESCAPE);
        PressKey(VK_RETURN);
    }
    EXPECT_THAT(Clicks(), ElementsAre("Command1.Click", "Command3.Click", "Command3.Click"));
    for (const HWND button :
         {form_.Command1.hWnd(), form_.Command2.hWnd(), form_.Command3.hWnd()}) {
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        EXPECT_NE(style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        EXPECT_NE(style & WS_TABSTOP, 0);
    }
}

TEST_F(MainWindowKeyboard, TheFocusComesBackToTheButtonThatHadIt) {
    form_.LoadAndShow();
    PressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), form_.Command2.hWnd());
    // Another window of the thread takes the activation, then the form gets it back.
    const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                                       nullptr, nullptr, nullptr, nullptr);
    SetActiveWindow(other);
    testing_support::PumpMessages(&form_);
    EXPECT_NE(GetFocus(), form_.Command2.hWnd());
    SetActiveWindow(form_.hWnd());
    testing_support::PumpMessages(&form_);
    EXPECT_EQ(GetFocus(), form_.Command2.hWnd());
    DestroyWindow(other);
}

TEST_F(MainWindowKeyboard, TheFocusComesBackAfterMinimisingAndRestoring) {
    form_.LoadAndShow();
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), form_.Command3.hWnd());
    form_.SetWindowState(toolkit::kMinimized);
    testing_support::PumpMessages(&form_);
    form_.SetWindowState(toolkit::kNormal);
    testing_support::PumpMessages(&form_);
    EXPECT_EQ(GetFocus(), form_.Command3.hWnd());
}

// Closes the message box of this thread shortly after it opens.
void CloseMessageBoxSoon() {
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM) -> BOOL {
                if (testing_support::ClassName(window) == L"#32770") {
                    PostMessageW(window, WM_COMMAND, IDOK, 0);
                }
                return TRUE;
            },
            0);
        KillTimer(nullptr, timer);
    });
}

TEST_F(MainWindowKeyboard, TheFocusComesBackAfterAMessageBox) {
    form_.LoadAndShow();
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    form_.Command3.Click = [] {
        CloseMessageBoxSoon();
        toolkit::MsgBox(L"Done", MB_ICONINFORMATION);
    };
    PressKey(VK_SPACE);
    testing_support::PumpMessages(&form_);
    EXPECT_TRUE(IsWindowEnabled(form_.hWnd()));
    EXPECT_EQ(GetActiveWindow(), form_.hWnd());
    EXPECT_EQ(GetFocus(), form_.Command3.hWnd());
}

TEST_F(MainWindowKeyboard, ClickingALabelLeavesTheFocusWhereItWas) {
    form_.LoadAndShow();
    LeftClick(100, 10);
    LeftClick(300, 150);
    EXPECT_EQ(GetFocus(), form_.Command1.hWnd());
}

// ---------------------------------------------------------------------------------------------
// The painted result, rendered in-process.

// The window as designed, drawn independently of the toolkit: the background picture, the
// texts as created in their places, fonts and colours, and the button strip in its place in
// the stacking order. The link's text is the maker's own choice, so it comes from the window.
Pixels Design(const Form1& form) {
    struct Text {
        RECT box;  // client pixels
        std::wstring caption;
        int height;  // font height in pixels: 8.25 points is 11, 9.75 is 13, 12 is 16
        COLORREF color;
    };
    const Text behindTheStrip[] = {
        {{8, 8, 137, 33}, L"Brevane Twinova", 16, 0x0000FF},
        {{16, 48, 177, 65}, form.Label3.Caption(), 13, 0xFFFFFF},
    };
    const Text inFrontOfTheStrip[] = {
        {{256, 8, 401, 33}, L"Click pe buton pentru a aplica Twinova", 11, 0xFFFFFF},
        {{8, 80, 153, 97}, L"Chose your language:", 11, GetSysColor(COLOR_BTNTEXT)},
    };
    testing_support::Canvas design(kClientWidth, kClientHeight, kUnpainted);
    design.Put(testing_support::DecodeBmp(assets::kBackground), 0, 0);
    const auto draw = [&design](const Text& text) {
        const toolkit::UniqueFont font(CreateFontW(
            -text.height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
        const toolkit::SelectionGuard select(design.dc(), font.get());
        SetBkMode(design.dc(), TRANSPARENT);
        SetTextColor(design.dc(), text.color);
        RECT box = text.box;
        DrawTextW(design.dc(), text.caption.c_str(), -1, &box,
                  DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
    };
    for (const Text& text : behindTheStrip) {
        draw(text);
    }
    design.Put(testing_support::DecodeBmp(assets::kButtonStrip), 128, 0);
    for (const Text& text : inFrontOfTheStrip) {
        draw(text);
    }
    return design.Read();
}

TEST_F(MainWindow, MatchesItsDesignPixelForPixel) {
    const Pixels expected = Design(form_);
    const Pixels shown = RenderClient(form_.hWnd(), kClientWidth, kClientHeight);
    int wrong = 0;
    for (int y = 0; y < kClientHeight; ++y) {
        for (int x = 0; x < kClientWidth; ++x) {
            if (shown.At(x, y) != expected.At(x, y) && ++wrong <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                              << shown.At(x, y) << ", designed " << expected.At(x, y);
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(MainWindow, NoBackgroundColourShowsAtAnyEdge) {
    ASSERT_EQ(testing_support::DecodeBmp(assets::kBackground).width, kClientWidth);
    RECT client;
    GetClientRect(form_.hWnd(), &client);
    ASSERT_EQ(client.right, kClientWidth);
    ASSERT_EQ(client.bottom, kClientHeight);
    const Pixels shown = RenderClient(form_.hWnd(), kClientWidth, kClientHeight);
    const Pixels picture = Design(form_);
    const Pixel face = PixelOf(GetSysColor(COLOR_BTNFACE));
    std::vector<POINT> edge;
    for (int x = 0; x < kClientWidth; ++x) {
        edge.push_back({x, 0});
        edge.push_back({x, kClientHeight - 1});
    }
    for (int y = 0; y < kClientHeight; ++y) {
        edge.push_back({0, y});
        edge.push_back({kClientWidth - 1, y});
    }
    for (const POINT& point : edge) {
        const Pixel pixel = shown.At(point.x, point.y);
        ASSERT_NE(pixel, kUnpainted) << point.x << ", " << point.y;
        if (picture.At(point.x, point.y) != face) {
            ASSERT_NE(pixel, face) << point.x << ", " << point.y;
        }
        ASSERT_EQ(pixel, picture.At(point.x, point.y)) << point.x << ", " << point.y;
    }
}

TEST_F(MainWindow, TheTitleIsRedAndTheInstructionWhite) {
    const Pixels shown = RenderClient(form_.hWnd(), kClientWidth, kClientHeight);
    const Pixels picture = testing_support::DecodeBmp(assets::kBackground);
    const RECT title = form_.Label2.Bounds();
    ASSERT_EQ(picture.Count(title, kPureRed), 0);
    // Twelve-point bold lettering: tall strokes, plenty of them.
    EXPECT_GT(shown.Count(title, kPureRed), 150);
    int redRows = 0;
    for (int y = title.top; y < title.bottom; ++y) {
        redRows += shown.Count({title.left, y, title.right, y + 1}, kPureRed) > 0 ? 1 : 0;
    }
    EXPECT_GE(redRows, 11);
    EXPECT_EQ(shown.Count({0, 0, kClientWidth, kClientHeight}, kPureRed),
              shown.Count(title, kPureRed))
        << "red text only in the title";
    const RECT instruction = form_.Label6.Bounds();
    EXPECT_GT(shown.Count(instruction, kWhite) - picture.Count(instruction, kWhite), 100);
}

TEST_F(MainWindow, TheHiddenValueLabelAndScrollBarAreNeverSeen) {
    EXPECT_FALSE(form_.lbValue.Visible());
    EXPECT_FALSE(IsWindowVisible(form_.scrlSmooth.hWnd()));
    EXPECT_GE(form_.lbValue.Bounds().top, kClientHeight);
    EXPECT_GE(RectInParent(form_.scrlSmooth.hWnd()).top, kClientHeight);
    form_.LoadAndShow();  // the start-up sequence writes both
    EXPECT_FALSE(form_.lbValue.Visible());
    EXPECT_FALSE(IsWindowVisible(form_.scrlSmooth.hWnd()));
    // Rendered onto a taller bitmap, nothing is drawn below the client area.
    const Pixels shown = RenderClient(form_.hWnd(), kClientWidth, 300);
    EXPECT_EQ(shown.Count({0, kClientHeight, kClientWidth, 300}, kUnpainted),
              kClientWidth * (300 - kClientHeight));
}

// The graphical Apply button's looks, rendered through its own window.
class ApplyButtonLooks : public MainWindow {
  protected:
    static constexpr int kButtonWidth = 129;
    static constexpr int kButtonHeight = 25;
    Pixels Render() const {
        return RenderClient(form_.Command1.hWnd(), kButtonWidth, kButtonHeight);
    }
    static RECT All() { return {0, 0, kButtonWidth, kButtonHeight}; }

    // The bounding box of the pixels of one colour.
    static RECT InkBox(const Pixels& pixels, Pixel ink) {
        RECT box{pixels.width, pixels.height, -1, -1};
        for (int y = 0; y < pixels.height; ++y) {
            for (int x = 0; x < pixels.width; ++x) {
                if (pixels.At(x, y) == ink) {
                    box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                           std::max<LONG>(box.right, x), std::max<LONG>(box.bottom, y)};
                }
            }
        }
        return box;
    }

    static bool SamePixels(const Pixels& a, const Pixels& b) { return a.data == b.data; }

    static constexpr Pixel kPeach = 0xFFE0C0;  // red 255, green 224, blue 192
    const Pixel text_ = PixelOf(GetSysColor(COLOR_BTNTEXT));
};

TEST_F(ApplyButtonLooks, ItsFaceIsPeachWithTheCaptionInTheMiddle) {
    const Pixels face = Render();
    EXPECT_GT(face.Count(All(), kPeach), kButtonWidth * kButtonHeight / 2);
    EXPECT_EQ(face.Count(All(), kUnpainted), 0);
    const RECT ink = InkBox(face, text_);
    ASSERT_GE(ink.right, 0) << "no caption";
    EXPECT_NEAR((ink.left + ink.right) / 2, kButtonWidth / 2, 2);
    EXPECT_NEAR((ink.top + ink.bottom) / 2, kButtonHeight / 2, 2);
}

TEST_F(ApplyButtonLooks, PressedItsCaptionMovesDownAndRight) {
    const RECT normal = InkBox(Render(), text_);
    SendMessageW(form_.Command1.hWnd(), BM_SETSTATE, TRUE, 0);
    const Pixels pressed = Render();
    const RECT moved = InkBox(pressed, text_);
    EXPECT_EQ(moved.left, normal.left + 1);
    EXPECT_EQ(moved.top, normal.top + 1);
    EXPECT_GT(pressed.Count(All(), kPeach), kButtonWidth * kButtonHeight / 2);
}

TEST_F(ApplyButtonLooks, FocusedItHasAFrameAndAFocusMark) {
    const Pixels normal = Render();
    form_.Load = {};
    form_.LoadAndShow();
    ASSERT_EQ(GetFocus(), form_.Command1.hWnd());
    const Pixels focused = Render();
    const Pixel frame = PixelOf(GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(focused.At(0, 0), frame);
    EXPECT_EQ(focused.At(kButtonWidth - 1, kButtonHeight - 1), frame);
    EXPECT_NE(normal.At(0, 0), frame);
    // The dotted focus mark lies inside the face, around the caption.
    int changedInside = 0;
    for (int x = 5; x < kButtonWidth - 5; ++x) {
        changedInside += focused.At(x, 4) != normal.At(x, 4) ? 1 : 0;
    }
    EXPECT_GT(changedInside, 20);
}

TEST_F(ApplyButtonLooks, ANewCaptionShowsAtOnce) {
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(form_.hWnd());
    const RECT before = InkBox(testing_support::ReadWindow(form_.Command1.hWnd(), All()), text_);
    form_.Command1.SetCaption(L"Apply");
    EXPECT_EQ(WindowText(form_.Command1.hWnd()), L"Apply");
    EXPECT_EQ(form_.Command1.Caption(), L"Apply");
    const RECT after = InkBox(testing_support::ReadWindow(form_.Command1.hWnd(), All()), text_);
    EXPECT_GT(before.right - before.left, 60) << "\"Aplica Twinova\" was shown";
    EXPECT_LT(after.right - after.left, 40) << "\"Apply\" is shown";
    EXPECT_TRUE(SamePixels(testing_support::ReadWindow(form_.Command1.hWnd(), All()), Render()));
}

TEST_F(ApplyButtonLooks, DisabledItsCaptionIsGrey) {
    EnableWindow(form_.Command1.hWnd(), FALSE);
    const Pixels disabled = Render();
    EXPECT_EQ(disabled.Count(All(), text_), 0);
    EXPECT_GT(disabled.Count(All(), PixelOf(GetSysColor(COLOR_GRAYTEXT))), 20);
}

// ---------------------------------------------------------------------------------------------
// The window and its child windows as created.

TEST_F(MainWindow, IsABorderlessPopupOfTheDesignedSize) {
    EXPECT_FLOAT_EQ(form_.Width(), 6180.0f);
    EXPECT_FLOAT_EQ(form_.Height(), 3555.0f);
    RECT bounds;
    GetWindowRect(form_.hWnd(), &bounds);
    EXPECT_EQ(bounds.right - bounds.left, kClientWidth);
    EXPECT_EQ(bounds.bottom - bounds.top, kClientHeight);
    const LONG_PTR style = GetWindowLongPtrW(form_.hWnd(), GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME), 0);
    EXPECT_EQ(GetWindowLongPtrW(form_.hWnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(GetWindow(form_.hWnd(), GW_OWNER), nullptr);
    EXPECT_EQ(WindowText(form_.hWnd()), L"Brevane Twinova");
    EXPECT_FALSE(IsWindowVisible(form_.hWnd())) << "created hidden, shown after Load";
}

TEST_F(MainWindow, CarriesTheProgramIcon) {
    for (const WPARAM kind : {ICON_BIG, ICON_SMALL}) {
        const auto icon = reinterpret_cast<HICON>(SendMessageW(form_.hWnd(), WM_GETICON, kind, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        // GetIconInfo hands over copies of the icon's bitmaps.
        const toolkit::UniqueBitmap colour(info.hbmColor);
        const toolkit::UniqueBitmap mask(info.hbmMask);
        BITMAP size{};
        GetObjectW(colour.get(), sizeof size, &size);
        EXPECT_EQ(size.bmWidth, 74);
        EXPECT_EQ(size.bmHeight, 66);
    }
}

TEST_F(MainWindow, ThePushButtonsAndTheScrollBarAsDesigned) {
    struct Child {
        HWND window;
        RECT rect;  // in client pixels
    };
    const Child children[] = {
        {form_.Command3.hWnd(), {200, 80, 233, 97}},
        {form_.Command2.hWnd(), {160, 80, 193, 97}},
        {form_.scrlSmooth.hWnd(), {88, 256, 201, 273}},
        {form_.Command1.hWnd(), {256, 44, 385, 69}},
    };
    // Child windows in their stacking order, front to back.
    HWND child = GetWindow(form_.hWnd(), GW_CHILD);
    for (const Child& expected : children) {
        ASSERT_EQ(child, expected.window);
        const RECT rect = RectInParent(child);
        EXPECT_TRUE(EqualRect(&rect, &expected.rect))
            << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom;
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "no other child windows";

    EXPECT_EQ(WindowText(form_.Command3.hWnd()), L"EN");
    EXPECT_EQ(WindowText(form_.Command2.hWnd()), L"RO");
    EXPECT_EQ(WindowText(form_.Command1.hWnd()), L"Aplica Twinova");
    EXPECT_EQ(form_.scrlSmooth.Value(), 11);
    EXPECT_EQ(testing_support::ClassName(form_.scrlSmooth.hWnd()), L"ScrollBar");
    EXPECT_EQ(GetWindowLongPtrW(form_.scrlSmooth.hWnd(), GWL_STYLE) & SBS_VERT, 0);
}

TEST_F(MainWindow, TheScrollBarValueReadsBackWhatWasWritten) {
    EXPECT_EQ(form_.scrlSmooth.Value(), 11);
    form_.scrlSmooth.SetValue(12);
    EXPECT_EQ(form_.scrlSmooth.Value(), 12);
    form_.scrlSmooth.SetValue(0);
    EXPECT_EQ(form_.scrlSmooth.Value(), 0);
    try {
        form_.scrlSmooth.SetValue(-1);
        ADD_FAILURE() << "a value below the range is taken";
    } catch (const toolkit::RunTimeError& error) {
        EXPECT_EQ(error.Number(), 380);
    }
    EXPECT_EQ(form_.scrlSmooth.Value(), 0);
    EXPECT_FALSE(IsWindowVisible(form_.scrlSmooth.hWnd()));
}

TEST_F(MainWindow, ThePushButtonsUseTheDefaultFont) {
    for (const HWND button :
         {form_.Command1.hWnd(), form_.Command2.hWnd(), form_.Command3.hWnd()}) {
        const auto font = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
        ASSERT_NE(font, nullptr);
        LOGFONTW logical{};
        GetObjectW(font, sizeof logical, &logical);
        EXPECT_STREQ(logical.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(logical.lfHeight, -11);  // 8.25 points at 96 DPI
        EXPECT_EQ(logical.lfWeight, FW_NORMAL);
        EXPECT_EQ(logical.lfCharSet, ANSI_CHARSET);
        EXPECT_FALSE(logical.lfItalic || logical.lfUnderline || logical.lfStrikeOut);
    }
    // The face is the real raster one, not a substitute.
    const toolkit::WindowDc screen(nullptr);
    const toolkit::SelectionGuard select(
        screen.get(),
        reinterpret_cast<HGDIOBJ>(SendMessageW(form_.Command1.hWnd(), WM_GETFONT, 0, 0)));
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(screen.get(), LF_FACESIZE, face);
    EXPECT_STREQ(face, L"MS Sans Serif");
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen.get(), &metrics);
    EXPECT_EQ(metrics.tmHeight, 13);
}

TEST_F(MainWindow, TheLabelsAsCreated) {
    EXPECT_EQ(form_.Label2.Caption(), L"Brevane Twinova");
    EXPECT_EQ(form_.Label7.Caption(), L"Chose your language:");
    EXPECT_EQ(form_.Label6.Caption(), L"Click pe buton pentru a aplica Twinova");
    EXPECT_EQ(form_.Label1.Caption(), L"");
    EXPECT_EQ(form_.Label4.Caption(), L"");
    EXPECT_EQ(form_.Label5.Caption(), L"");
    EXPECT_EQ(form_.lbValue.Caption(), L"12");
    // The link shows a host name, not an address with a scheme.
    EXPECT_NE(form_.Label3.Caption().find(L'.'), std::wstring::npos);
    EXPECT_EQ(form_.Label3.Caption().find(L':'), std::wstring::npos);

    EXPECT_EQ(form_.Label2.ForeColor(), 0x0000FFU);
    EXPECT_EQ(form_.Label3.ForeColor(), 0xFFFFFFU);
    EXPECT_EQ(form_.Label6.ForeColor(), 0xFFFFFFU);
    EXPECT_EQ(form_.lbValue.ForeColor(), 0x000000U);
    EXPECT_EQ(form_.Label7.ForeColor(), toolkit::kButtonTextColor);

    // In pixels: (left, top, right, bottom); the value label sized itself to "12".
    const std::pair<const toolkit::PaintedControl*, RECT> boxes[] = {
        {&form_.Label7, {8, 80, 153, 97}},   {&form_.lbValue, {64, 256, 76, 269}},
        {&form_.Label6, {256, 8, 401, 33}},  {&form_.Label5, {168, 0, 201, 25}},
        {&form_.Label4, {128, 0, 161, 25}},  {&form_.Image1, {128, 0, 193, 26}},
        {&form_.Label3, {16, 48, 177, 65}},  {&form_.Label2, {8, 8, 137, 33}},
        {&form_.Label1, {8, 112, 225, 185}},
    };
    for (const auto& [control, box] : boxes) {
        EXPECT_TRUE(EqualRect(&control->Bounds(), &box))
            << control->Bounds().left << ", " << control->Bounds().top << ", "
            << control->Bounds().right << ", " << control->Bounds().bottom;
    }
}

TEST_F(MainWindow, TheExplanationShowsAtMostFiveLinesWithinItsBox) {
    const Pixels before = RenderClient(form_.hWnd(), kClientWidth, kClientHeight);
    form_.Label1.SetCaption(
        L"A long explanation that needs many more lines than the label has room for, so that "
        L"the label must break it at its words and cut off whatever does not fit below its "
        L"last line, which is the fifth and a bit of the sixth; nothing may be drawn outside "
        L"the label's box, neither to the right of it nor below it, at any time at all.");
    const Pixels shown = RenderClient(form_.hWnd(), kClientWidth, kClientHeight);
    const RECT box = form_.Label1.Bounds();
    const Pixel ink = PixelOf(GetSysColor(COLOR_BTNTEXT));
    int inkedRows = 0;
    for (int y = box.top; y < box.bottom; ++y) {
        inkedRows += shown.Count({box.left, y, box.right, y + 1}, ink) > 0 ? 1 : 0;
    }
    EXPECT_GE(inkedRows, 5 * 8) << "five lines of text";
    int changedOutside = 0;
    for (int y = 0; y < kClientHeight; ++y) {
        for (int x = 0; x < kClientWidth; ++x) {
            const POINT point{x, y};
            changedOutside += !PtInRect(&box, point) && shown.At(x, y) != before.At(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(changedOutside, 0);
}

}  // namespace
