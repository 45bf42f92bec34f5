// The main window as designed, in-process: where the mouse lands, the keyboard focus, the
// painted result and the child windows. These tests look at the window as created; the texts
// that the start-up sequence and the language switch set later are handler_tests' to check.

#include "assets/picture_files.h"
#include "test_support.h"
#include "toolkit/message_box.h"
#include "toolkit/run_time_error.h"
#include "window/form1.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing_support::AtScale;
using testing_support::Pixel;
using testing_support::PixelOf;
using testing_support::Pixels;
using testing_support::PointAtScale;
using testing_support::RectInParent;
using testing_support::RenderClient;
using testing_support::WindowText;

// The client area as designed, in pixels at 96 DPI.
constexpr RECT kClient{0, 0, 412, 237};
constexpr Pixel kUnpainted = 0xFF00FF;  // what RenderClient fills its bitmap with first

class MainWindow : public testing::Test {
  protected:
    Form1 form_;
};

// ---------------------------------------------------------------------------------------------
// Hit-testing: the front-most painted control under a point, and the child windows.

// The points are the design's, at the form's scale.
TEST_F(MainWindow, EachPointBelongsToTheFrontMostControlThere) {
    const toolkit::Scale& scale = form_.CurrentScale();
    const struct {
        const toolkit::PaintedControl* control;  // null: the bare surface
        std::vector<POINT> points;
    } cases[] = {
        // The minimise and close areas lie in front of the button picture; the close area
        // reaches right of its picture.
        {&form_.Label4, {{140, 10}, {128, 24}, {132, 24}}},
        {&form_.Label5, {{180, 10}, {195, 10}, {200, 24}}},
        {&form_.Image1, {{164, 10}, {128, 25}, {192, 25}}},
        // The title's box is 8..136 across and 8..32 down, partly behind the areas above.
        {&form_.Label2, {{100, 10}, {8, 8}, {127, 24}, {130, 30}, {136, 32}}},
        {&form_.Label6, {{300, 20}, {400, 32}}},
        {&form_.Label3, {{16, 48}, {176, 64}}},
        {&form_.Label7, {{20, 85}, {152, 96}}},
        {&form_.Label1, {{8, 112}, {224, 184}}},
        // Just outside the boxes above; the hidden value label lies below the window.
        {nullptr, {{201, 10}, {193, 25}, {150, 26}, {7, 8}, {8, 7}, {137, 32}, {136, 33}}},
        {nullptr, {{401, 32}, {15, 48}, {177, 64}, {153, 96}, {225, 184}, {224, 185}}},
        {nullptr, {{0, 0}, {5, 5}, {300, 150}, {100, 220}, {411, 236}, {70, 260}}},
    };
    for (const auto& [expected, points] : cases) {
        for (const POINT& point : points) {
            EXPECT_EQ(form_.ControlAt(PointAtScale(scale, point)), expected)
                << point.x << ", " << point.y;
        }
    }
    // The push buttons are child windows of their own; labels are not.
    const auto childAt = [&](int x, int y) {
        return ChildWindowFromPointEx(form_.hWnd(), PointAtScale(scale, {x, y}), CWP_SKIPINVISIBLE);
    };
    EXPECT_EQ(childAt(170, 85), form_.Command2.hWnd());
    EXPECT_EQ(childAt(210, 85), form_.Command3.hWnd());
    EXPECT_EQ(childAt(300, 50), form_.Command1.hWnd());
    EXPECT_EQ(childAt(100, 10), form_.hWnd());
}

// ---------------------------------------------------------------------------------------------
// The push buttons and the keyboard: focus, tab order, Space, no default or cancel button.

class MainWindowKeyboard : public MainWindow {
  protected:
    void SetUp() override {
        form_.Command1.Click = [this] { clicks_.emplace_back("Command1"); };
        form_.Command2.Click = [this] { clicks_.emplace_back("Command2"); };
        form_.Command3.Click = [this] { clicks_.emplace_back("Command3"); };
        form_.Load = {};
    }

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

    std::vector<std::string> clicks_;
};

TEST_F(MainWindowKeyboard, ADoubleClickOnAPushButtonIsTwoClicks) {
    ShowWindow(form_.hWnd(), SW_SHOWNOACTIVATE);
    for (const HWND button : {form_.Command1.hWnd(), form_.Command2.hWnd()}) {
        const LPARAM inside = MAKELPARAM(10, 8);
        SendMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, inside);
        SendMessageW(button, WM_LBUTTONUP, 0, inside);
        SendMessageW(button, WM_LBUTTONDBLCLK, MK_LBUTTON, inside);
        SendMessageW(button, WM_LBUTTONUP, 0, inside);
    }
    EXPECT_THAT(clicks_, ElementsAre("Command1", "Command1", "Command2", "Command2"));
}

TEST_F(MainWindowKeyboard, TabVisitsTheThreeButtonsInTabOrderAndSpacePressesTheFocusedOne) {
    form_.LoadAndShow();
    std::vector<HWND> visited;
    for (const bool shift : {false, false, false, true, true, true}) {
        PressKey(VK_TAB, shift);
        visited.push_back(GetFocus());
        PressKey(VK_SPACE);
    }
    const HWND apply = form_.Command1.hWnd();
    const HWND romanian = form_.Command2.hWnd();
    const HWND english = form_.Command3.hWnd();
    EXPECT_THAT(visited, ElementsAre(romanian, english, apply, english, romanian, apply));
    EXPECT_THAT(clicks_, ElementsAre("Command2", "Command3", "Command1", "Command3", "Command2",
                                     "Command1"));
}

TEST_F(MainWindowKeyboard, EnterPressesTheFocusedButtonAndThereIsNoDefaultOrCancelButton) {
    form_.LoadAndShow();
    // The form hands the focus on to the button that had it last.
    for (const HWND focus : {form_.Command1.hWnd(), form_.Command3.hWnd(), form_.hWnd()}) {
        SetFocus(focus);
        PressKey(VK_ESCAPE);
        PressKey(VK_RETURN);
    }
    EXPECT_THAT(clicks_, ElementsAre("Command1", "Command3", "Command3"));
    for (const HWND button :
         {form_.Command1.hWnd(), form_.Command2.hWnd(), form_.Command3.hWnd()}) {
        const LONG_PTR style = GetWindowLongPtrW(button, GWL_STYLE);
        EXPECT_NE(style & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        EXPECT_NE(style & WS_TABSTOP, 0);
    }
}

// Closes the message box of this process shortly after it opens.
void CloseMessageBoxSoon() {
    SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR timer, DWORD) {
        testing_support::CloseMessageBox(
            testing_support::FindMessageBoxOfProcess(GetCurrentProcessId()));
        KillTimer(nullptr, timer);
    });
}

// Whatever takes the focus away for a while, the button that had it gets it back; a click on a
// label or the surface, which take no focus, leaves it there.
TEST_F(MainWindowKeyboard, TheFocusComesBackToTheButtonThatHadIt) {
    const struct {
        const char* name;
        std::function<void(Form1&)> interrupt;
    } cases[] = {
        {"a click on the title and on the bare surface",
         [](Form1& form) {
             form.Label2.MouseDown = {};  // no drag
             form.MouseDown = {};
             for (const POINT designed : {POINT{100, 10}, POINT{300, 150}}) {
                 const POINT point = PointAtScale(form.CurrentScale(), designed);
                 SendMessageW(form.hWnd(), WM_LBUTTONDOWN, MK_LBUTTON,
                              MAKELPARAM(point.x, point.y));
                 SendMessageW(form.hWnd(), WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
             }
         }},
        {"another window is activated",
         [](Form1& form) {
             const HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0,
                                                50, 50, nullptr, nullptr, nullptr, nullptr);
             SetActiveWindow(other);
             testing_support::PumpMessages(&form);
             EXPECT_NE(GetFocus(), form.Command3.hWnd());
             SetActiveWindow(form.hWnd());
             testing_support::PumpMessages(&form);
             DestroyWindow(other);
         }},
        {"minimised and restored",
         [](Form1& form) {
             form.SetWindowState(toolkit::kMinimized);
             testing_support::PumpMessages(&form);
             form.SetWindowState(toolkit::kNormal);
             testing_support::PumpMessages(&form);
         }},
        {"a message box",
         [](Form1& form) {
             CloseMessageBoxSoon();
             toolkit::MsgBox(L"Done", MB_ICONINFORMATION);
             testing_support::PumpMessages(&form);
             EXPECT_TRUE(IsWindowEnabled(form.hWnd()));
             EXPECT_EQ(GetActiveWindow(), form.hWnd());
         }},
    };
    form_.LoadAndShow();
    PressKey(VK_TAB);
    PressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), form_.Command3.hWnd());
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        row.interrupt(form_);
        EXPECT_EQ(GetFocus(), form_.Command3.hWnd());
    }
}

// ---------------------------------------------------------------------------------------------
// The painted result, rendered in-process.

// A picture of the design at `scale`: its own pixels at the design scale; elsewhere stretched to
// the size its design pixels have there, smoothly (HALFTONE, which needs the brush origin set).
Pixels PictureAt(const toolkit::Scale& scale, toolkit::Blob bmpFile) {
    Pixels own = testing_support::DecodeBmp(bmpFile);
    if (scale.IsDesignScale()) {
        return own;
    }
    const int width = scale.FromDesignPixels(own.width);
    const int height = scale.FromDesignPixels(own.height);
    const testing_support::Canvas stretched(width, height, kUnpainted);
    SetStretchBltMode(stretched.dc(), HALFTONE);
    SetBrushOrgEx(stretched.dc(), 0, 0, nullptr);
    BITMAPFILEHEADER file;
    std::memcpy(&file, bmpFile.data, sizeof file);
    StretchDIBits(stretched.dc(), 0, 0, width, height, 0, 0, own.width, own.height,
                  bmpFile.data + file.bfOffBits,
                  reinterpret_cast<const BITMAPINFO*>(bmpFile.data + sizeof file), DIB_RGB_COLORS,
                  SRCCOPY);
    return stretched.Read();
}

// The window as designed, at the form's scale, drawn independently of the toolkit: the
// background picture, the texts as created in their places, fonts and colours, and the button
// strip in its place in the stacking order. Each text is the lines its label shows, each drawn
// alone, one below the other, the last one cut off at the bottom of the box. The link's text is
// the maker's own choice, so it comes from the window.
Pixels Design(const Form1& form) {
    const toolkit::Scale& scale = form.CurrentScale();
    struct Text {
        RECT box;  // client pixels at 96 DPI
        std::vector<std::wstring> lines;
        double points;
        COLORREF color;
    };
    const Text behindTheStrip[] = {
        // "Twinova" would be a second line, of which only the top would fit.
        {{8, 8, 137, 33}, {L"Brevane"}, 12, 0x0000FF},
        {{16, 48, 177, 65}, {form.Label3.Caption()}, 9.75, 0xFFFFFF},
    };
    const Text inFrontOfTheStrip[] = {
        {{256, 8, 401, 33}, {L"Click pe buton pentru a", L"aplica Twinova"}, 8.25, 0xFFFFFF},
        {{8, 80, 153, 97}, {L"Chose your language:"}, 8.25, GetSysColor(COLOR_BTNTEXT)},
    };
    const RECT client = AtScale(scale, kClient);
    testing_support::Canvas design(client.right, client.bottom, kUnpainted);
    design.Put(PictureAt(scale, assets::kBackgroundFile), 0, 0);
    const auto draw = [&](const Text& text) {
        const toolkit::UniqueFont font = testing_support::DesignFontAt(scale, text.points, FW_BOLD);
        const toolkit::SelectionGuard select(design.dc(), font.get());
        SetBkMode(design.dc(), TRANSPARENT);
        SetTextColor(design.dc(), text.color);
        TEXTMETRICW metrics{};
        GetTextMetricsW(design.dc(), &metrics);
        RECT line = AtScale(scale, text.box);
        for (const std::wstring& shown : text.lines) {
            DrawTextW(design.dc(), shown.c_str(), -1, &line,
                      DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
            line.top += metrics.tmHeight;
        }
    };
    for (const Text& text : behindTheStrip) {
        draw(text);
    }
    design.Put(PictureAt(scale, assets::kButtonStripFile), PointAtScale(scale, {128, 0}).x, 0);
    for (const Text& text : inFrontOfTheStrip) {
        draw(text);
    }
    return design.Read();
}

TEST_F(MainWindow, MatchesItsDesignPixelForPixel) {
    const Pixels expected = Design(form_);
    const Pixels shown = RenderClient(form_.hWnd(), expected.width, expected.height);
    int wrong = 0;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            if (shown.At(x, y) != expected.At(x, y) && ++wrong <= 5) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                              << shown.At(x, y) << ", designed " << expected.At(x, y);
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

// The graphical Apply button's looks, rendered through its own window at the form's scale; the
// frame, the focus mark and the caption's move when pressed are a pixel or a few at any scale.
class ApplyButtonLooks : public MainWindow {
  protected:
    Pixels Render() const { return RenderClient(form_.Command1.hWnd(), width_, height_); }
    RECT All() const { return {0, 0, width_, height_}; }

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

    LONG CaptionWidth() const {
        const HWND button = form_.Command1.hWnd();
        const toolkit::WindowDc dc(button);
        const toolkit::SelectionGuard select(
            dc.get(), reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0)));
        const std::wstring caption = WindowText(button);
        SIZE size{};
        GetTextExtentPoint32W(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &size);
        return size.cx;
    }

    static constexpr Pixel kPeach = 0xFFE0C0;  // red 255, green 224, blue 192
    const Pixel text_ = PixelOf(GetSysColor(COLOR_BTNTEXT));
    const RECT designed_ = AtScale(form_.CurrentScale(), {256, 44, 385, 69});
    const LONG width_ = designed_.right - designed_.left;
    const LONG height_ = designed_.bottom - designed_.top;
};

TEST_F(ApplyButtonLooks, ItsFaceIsPeachWithTheCaptionInTheMiddleThatMovesWhenPressed) {
    const Pixels face = Render();
    EXPECT_GT(face.Count(All(), kPeach), width_ * height_ / 2);
    EXPECT_EQ(face.Count(All(), kUnpainted), 0);
    const RECT ink = InkBox(face, text_);
    ASSERT_GE(ink.right, 0) << "no caption";
    // Its letters lie within the width the caption takes in the button's font, centred.
    const LONG caption = CaptionWidth();
    EXPECT_GE(ink.left, (width_ - caption) / 2);
    EXPECT_LT(ink.right, (width_ + caption + 1) / 2);
    EXPECT_NEAR((ink.top + ink.bottom) / 2.0, height_ / 2.0, 2);

    SendMessageW(form_.Command1.hWnd(), BM_SETSTATE, TRUE, 0);
    const Pixels pressed = Render();
    const RECT moved = InkBox(pressed, text_);
    EXPECT_EQ(moved.left, ink.left + 1);
    EXPECT_EQ(moved.top, ink.top + 1);
    EXPECT_GT(pressed.Count(All(), kPeach), width_ * height_ / 2);
}

TEST_F(ApplyButtonLooks, FocusedItHasAFrameAndAFocusMark) {
    const Pixels normal = Render();
    form_.Load = {};
    form_.LoadAndShow();
    ASSERT_EQ(GetFocus(), form_.Command1.hWnd());
    const Pixels focused = Render();
    const Pixel frame = PixelOf(GetSysColor(COLOR_WINDOWFRAME));
    EXPECT_EQ(focused.At(0, 0), frame);
    EXPECT_EQ(focused.At(width_ - 1, height_ - 1), frame);
    EXPECT_NE(normal.At(0, 0), frame);
    // The dotted focus mark lies inside the face, around the caption.
    int changedInside = 0;
    for (int x = 5; x < width_ - 5; ++x) {
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
    // Told apart by the widths of their letters, 72 and 25 pixels at 96 DPI.
    const toolkit::Scale& scale = form_.CurrentScale();
    EXPECT_GT(before.right - before.left, scale.FromDesignPixels(60))
        << "\"Aplica Twinova\" was shown";
    EXPECT_LT(after.right - after.left, scale.FromDesignPixels(40)) << "\"Apply\" is shown";
    EXPECT_TRUE(testing_support::SamePixels(
        testing_support::ReadWindow(form_.Command1.hWnd(), All()), Render()));
}

TEST_F(ApplyButtonLooks, DisabledItsCaptionIsGrey) {
    EnableWindow(form_.Command1.hWnd(), FALSE);
    const Pixels disabled = Render();
    EXPECT_EQ(disabled.Count(All(), text_), 0);
    EXPECT_GT(disabled.Count(All(), PixelOf(GetSysColor(COLOR_GRAYTEXT))), 20);
}

// ---------------------------------------------------------------------------------------------
// The window and its child windows as created.

TEST_F(MainWindow, IsABorderlessPopupOfTheDesignedSizeWithTheProgramIcon) {
    EXPECT_FLOAT_EQ(form_.Width(), 6180.0f);
    EXPECT_FLOAT_EQ(form_.Height(), 3555.0f);
    RECT bounds;
    GetWindowRect(form_.hWnd(), &bounds);
    const RECT designed = AtScale(form_.CurrentScale(), kClient);
    EXPECT_EQ(bounds.right - bounds.left, designed.right);
    EXPECT_EQ(bounds.bottom - bounds.top, designed.bottom);
    const LONG_PTR style = GetWindowLongPtrW(form_.hWnd(), GWL_STYLE);
    EXPECT_NE(style & WS_POPUP, 0);
    EXPECT_EQ(style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER | WS_DLGFRAME), 0);
    // A tool window or an owned one would have no taskbar button.
    EXPECT_EQ(GetWindowLongPtrW(form_.hWnd(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(GetWindow(form_.hWnd(), GW_OWNER), nullptr);
    EXPECT_EQ(WindowText(form_.hWnd()), L"Brevane Twinova");
    for (const WPARAM kind : {ICON_BIG, ICON_SMALL}) {
        auto* const icon = reinterpret_cast<HICON>(SendMessageW(form_.hWnd(), WM_GETICON, kind, 0));
        ICONINFO info{};
        ASSERT_TRUE(icon != nullptr && GetIconInfo(icon, &info));
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
    const toolkit::Scale& scale = form_.CurrentScale();
    struct Child {
        HWND window;
        RECT rect;  // in client pixels at 96 DPI
        const wchar_t* text;
    };
    const Child children[] = {
        {form_.Command3.hWnd(), {200, 80, 233, 97}, L"EN"},
        {form_.Command2.hWnd(), {160, 80, 193, 97}, L"RO"},
        {form_.scrlSmooth.hWnd(), {88, 256, 201, 273}, L""},
        {form_.Command1.hWnd(), {256, 44, 385, 69}, L"Aplica Twinova"},
    };
    // Child windows in their stacking order, front to back.
    HWND child = GetWindow(form_.hWnd(), GW_CHILD);
    for (const Child& expected : children) {
        ASSERT_EQ(child, expected.window);
        const RECT rect = RectInParent(child);
        const RECT designed = AtScale(scale, expected.rect);
        EXPECT_TRUE(EqualRect(&rect, &designed))
            << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom;
        EXPECT_EQ(WindowText(child), expected.text);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "no other child windows";
    EXPECT_EQ(testing_support::ClassName(form_.scrlSmooth.hWnd()), L"ScrollBar");
    EXPECT_EQ(GetWindowLongPtrW(form_.scrlSmooth.hWnd(), GWL_STYLE) & SBS_VERT, 0);
    EXPECT_FALSE(IsWindowVisible(form_.scrlSmooth.hWnd()));

    // The push buttons' font as the system gives it: 8.25-point (11 pixels high at 96 DPI),
    // regular, in the form's face at its scale. The character set is checked as asked for, since
    // the one given follows the user's code page.
    const auto faceOf = [](HDC dc, HFONT font) {
        const toolkit::SelectionGuard select(dc, font);
        wchar_t face[LF_FACESIZE] = L"";
        GetTextFaceW(dc, LF_FACESIZE, face);
        return std::wstring(face);
    };
    const toolkit::WindowDc screen(nullptr);
    const std::wstring designFace =
        faceOf(screen.get(), testing_support::DesignFontAt(scale, 8.25, FW_NORMAL).get());
    for (const HWND button :
         {form_.Command1.hWnd(), form_.Command2.hWnd(), form_.Command3.hWnd()}) {
        auto* const buttonFont = reinterpret_cast<HFONT>(SendMessageW(button, WM_GETFONT, 0, 0));
        LOGFONTW asked{};
        GetObjectW(buttonFont, sizeof asked, &asked);
        EXPECT_EQ(asked.lfCharSet, ANSI_CHARSET);
        const toolkit::WindowDc dc(button);
        EXPECT_EQ(faceOf(dc.get(), buttonFont), designFace);
        const toolkit::SelectionGuard select(dc.get(), buttonFont);
        TEXTMETRICW font{};
        GetTextMetricsW(dc.get(), &font);
        // Wine's stand-in for Microsoft Sans Serif reports some sizes a pixel short.
        EXPECT_NEAR(font.tmHeight - font.tmInternalLeading, -scale.FontHeight(8.25),
                    scale.IsDesignScale() ? 0 : 1);
        EXPECT_EQ(font.tmWeight, FW_NORMAL);
        EXPECT_FALSE(font.tmItalic || font.tmUnderlined || font.tmStruckOut);
    }
}

TEST_F(MainWindow, TheScrollBarValueReadsBackWhatWasWritten) {
    EXPECT_EQ(form_.scrlSmooth.Value(), 11);
    form_.scrlSmooth.SetValue(12);
    EXPECT_EQ(form_.scrlSmooth.Value(), 12);
    form_.scrlSmooth.SetValue(0);
    EXPECT_EQ(form_.scrlSmooth.Value(), 0);
    EXPECT_EQ(testing_support::ErrorNumberOf([this] { form_.scrlSmooth.SetValue(-1); }),
              toolkit::kInvalidPropertyValue)
        << "a value below the range";
    EXPECT_EQ(form_.scrlSmooth.Value(), 0);
    EXPECT_FALSE(IsWindowVisible(form_.scrlSmooth.hWnd()));
}

}  // namespace
