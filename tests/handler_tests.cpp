// The window's handlers on the real window, in-process: the start-up sequence, the language
// switches, the Apply action's message and the drag. What Apply writes goes to the case's own
// key, never to the user's settings.
#include "registry_test_support.h"
#include "test_support.h"
#include "window/form1.h"
#include "window/language.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

using testing_support::AtScale;
using testing_support::HoldsRoundRect;
using testing_support::Pixels;
using testing_support::PointAtScale;
using testing_support::RecordedBox;
using testing_support::SamePixels;
using testing_support::WindowText;

// What the language decides: the texts, the language's name and how all of it is painted.
struct Shown {
    std::wstring texts;
    Pixels surface, applyButton;
};

Shown ShownBy(const Form1& form) {
    RECT surface{};
    GetClientRect(form.hWnd(), &surface);
    RECT apply{};
    GetClientRect(form.Command1.hWnd(), &apply);
    return {form.Label1.Caption() + L"|" + form.Label6.Caption() + L"|" +
                WindowText(form.Command1.hWnd()) + L"|" + form.CurrentLanguage,
            testing_support::RenderClient(form.hWnd(), surface.right, surface.bottom),
            testing_support::RenderClient(form.Command1.hWnd(), apply.right, apply.bottom)};
}

// Whether the window holds the rounded shape its design gives it at its scale: 412 x 237 pixels
// at 96 DPI with corners of 12 pixels at any scale.
bool RoundedAsDesigned(const Form1& form) {
    const RECT designed = AtScale(form.CurrentScale(), {0, 0, 412, 237});
    return HoldsRoundRect(form.hWnd(), designed.right, designed.bottom, 12);
}

void ExpectTextsOf(const Form1& form, const LanguageTexts& texts) {
    EXPECT_EQ(form.Label1.Caption(), texts.explanation);
    EXPECT_EQ(form.Label6.Caption(), texts.instruction);
    EXPECT_EQ(WindowText(form.Command1.hWnd()), texts.applyCaption);
    EXPECT_EQ(form.Command1.Caption(), texts.applyCaption);
    EXPECT_EQ(form.CurrentLanguage, texts.name);
}

}  // namespace

TEST(StartUp, TheWindowIsFirstShownRoundedInEnglishWithTheFocusOnApply) {
    Form1 form;
    EXPECT_TRUE(form.CurrentLanguage.empty());
    form.LoadAndShow();
    EXPECT_TRUE(IsWindowVisible(form.hWnd()));
    EXPECT_FLOAT_EQ(form.Height(), 3555.0f);
    EXPECT_TRUE(RoundedAsDesigned(form));
    EXPECT_EQ(form.scrlSmooth.Value(), 11);
    EXPECT_EQ(form.lbValue.Caption(), L"12");
    EXPECT_FALSE(form.lbValue.Visible());
    EXPECT_FALSE(IsWindowVisible(form.scrlSmooth.hWnd()));
    ExpectTextsOf(form, kEnglishTexts);
    EXPECT_EQ(GetFocus(), form.Command1.hWnd());
}

TEST(StartUp, TheScrollBarsDesignedValuePlaysNoPart) {
    Form1 form;
    form.scrlSmooth.SetValue(40);
    form.Form_Load();
    EXPECT_EQ(form.lbValue.Caption(), L"12");
    EXPECT_TRUE(RoundedAsDesigned(form));
}

TEST(LanguageSwitch, PressingAButtonAgainLeavesTheStateOfOnePress) {
    const struct {
        const char* name;
        void (Form1::*press)();
        void (Form1::*other)();
    } buttons[] = {
        {"RO", &Form1::Command2_Click, &Form1::Command3_Click},
        {"EN", &Form1::Command3_Click, &Form1::Command2_Click},
    };
    for (const auto& button : buttons) {
        SCOPED_TRACE(button.name);
        Form1 form;
        (form.*button.press)();
        const Shown once = ShownBy(form);
        (form.*button.press)();
        const Shown twice = ShownBy(form);
        EXPECT_EQ(twice.texts, once.texts);
        EXPECT_TRUE(SamePixels(twice.surface, once.surface));
        EXPECT_TRUE(SamePixels(twice.applyButton, once.applyButton));
    }
}

TEST(LanguageSwitch, ThreeHundredSwitchesLeaveNoGdiObjectBehind) {
    Form1 form;
    form.LoadAndShow();
    // The first switch and paint make what the window keeps for good.
    form.Command2_Click();
    UpdateWindow(form.hWnd());
    const std::optional<int> before = testing_support::GdiObjectCount();
    if (!before) {
        GTEST_SKIP() << testing_support::kCannotCountGdiObjects;
    }
    for (int press = 0; press < 300; ++press) {
        form.Command3_Click();
        UpdateWindow(form.hWnd());
        form.Command2_Click();
        UpdateWindow(form.hWnd());
    }
    EXPECT_EQ(testing_support::GdiObjectCount(), before);
}

TEST(LanguageSwitch, EachButtonWritesItsColumnAndOnlyTheExplanationInstructionAndApplyChange) {
    Form1 form;
    const auto unchanged = [&form] {
        return WindowText(form.hWnd()) + L"|" + WindowText(form.Command2.hWnd()) + L"|" +
               WindowText(form.Command3.hWnd()) + L"|" + form.Label2.Caption() + L"|" +
               form.Label3.Caption() + L"|" + form.Label4.Caption() + L"|" + form.Label5.Caption() +
               L"|" + form.Label7.Caption() + L"|" + form.lbValue.Caption();
    };
    const std::wstring asCreated = unchanged();
    form.Command3_Click();
    ExpectTextsOf(form, kEnglishTexts);
    const Pixels english = ShownBy(form).surface;
    form.Command2_Click();
    ExpectTextsOf(form, kRomanianTexts);
    const Pixels romanian = ShownBy(form).surface;
    EXPECT_EQ(unchanged(), asCreated);

    // The boxes of the explanation, the instruction, the title, the link and the prompt.
    const toolkit::Scale& scale = form.CurrentScale();
    EXPECT_FALSE(SamePixels(english, romanian, AtScale(scale, {8, 112, 225, 185})));
    EXPECT_FALSE(SamePixels(english, romanian, AtScale(scale, {256, 8, 401, 33})));
    EXPECT_TRUE(SamePixels(english, romanian, AtScale(scale, {8, 8, 128, 33})));
    EXPECT_TRUE(SamePixels(english, romanian, AtScale(scale, {16, 48, 177, 65})));
    EXPECT_TRUE(SamePixels(english, romanian, AtScale(scale, {8, 80, 153, 97})));
}

using ApplyMessage = registry_test::RedirectedCurrentUserTest;

TEST_F(ApplyMessage, FollowsTheLastLanguageChosenAndTellsSuccessFromFailure) {
    const struct {
        const char* name;
        const wchar_t* language;  // null: no language chosen yet
        bool refused;             // the registry refuses to create the key
        const LanguageTexts& texts;
    } cases[] = {
        {"none chosen", nullptr, false, kEnglishTexts},
        {"Romanian", L"Romanian", false, kRomanianTexts},
        {"English", L"English", false, kEnglishTexts},
        {"not exactly Romanian", L"romanian", false, kEnglishTexts},
        {"Romanian, refused", L"Romanian", true, kRomanianTexts},
        {"English, refused", L"English", true, kEnglishTexts},
    };
    constexpr wchar_t kPager[] = L"Software\\yahoo\\pager";
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        registry_test::DeleteTree(HKEY_CURRENT_USER, kPager);
        if (row.refused) {
            registry_test::CreateVolatileKey(kPager);  // the key Apply makes below it is refused
        }
        Form1 form;
        if (row.language != nullptr) {
            form.CurrentLanguage = row.language;
        }
        const testing_support::BoxRecorder recorder;
        form.Command1_Click();
        registry_test::DeleteTree(HKEY_CURRENT_USER, kPager);

        ASSERT_EQ(recorder.boxes().size(), 1U);
        const RecordedBox& box = recorder.boxes().front();
        EXPECT_EQ(box.title, L"BrevaneTwinova");
        if (row.refused) {
            const std::wstring failed = std::wstring(row.texts.applyFailed) + L"\n\n";
            EXPECT_EQ(box.text.substr(0, failed.size()), failed);
            EXPECT_GT(box.text.size(), failed.size() + 10) << "the system's description follows";
            EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONERROR));
        } else {
            EXPECT_EQ(box.text, row.texts.applyDone);
            EXPECT_EQ(box.style, static_cast<UINT>(MB_ICONINFORMATION));
        }
    }
}

// The buttons pressed as a user presses them (BM_CLICK, through the toolkit): every Apply writes
// the value again and shows its box again, in the language the buttons chose last.
TEST_F(ApplyMessage, EveryApplyThroughTheButtonWritesTheValueAndConfirmsInTheLanguageShown) {
    const struct {
        const char* name;
        std::vector<const char*> presses;
        std::vector<const wchar_t*> boxes;
    } cases[] = {
        {"Apply twice", {"Apply", "Apply"}, {kEnglishTexts.applyDone, kEnglishTexts.applyDone}},
        {"RO, EN, Apply", {"RO", "EN", "Apply"}, {kEnglishTexts.applyDone}},
        {"RO, Apply, EN, Apply",
         {"RO", "Apply", "EN", "Apply"},
         {kRomanianTexts.applyDone, kEnglishTexts.applyDone}},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(row.name);
        registry_test::DeleteTree(HKEY_CURRENT_USER, L"Software\\yahoo");
        Form1 form;
        form.LoadAndShow();
        const testing_support::BoxRecorder recorder;
        for (const std::string press : row.presses) {
            const toolkit::PushButton& button = press == "RO"   ? form.Command2
                                                : press == "EN" ? form.Command3
                                                                : form.Command1;
            SendMessageW(button.hWnd(), BM_CLICK, 0, 0);
            testing_support::PumpMessages(&form);
            if (press == "Apply") {
                EXPECT_EQ(registry_test::ReadStored(HKEY_CURRENT_USER,
                                                    L"Software\\yahoo\\pager\\Test", L"Plural"),
                          registry_test::Dword(1));
            }
        }
        std::vector<std::wstring> shown;
        for (const RecordedBox& box : recorder.boxes()) {
            shown.push_back(box.text);
        }
        EXPECT_EQ(shown, std::vector<std::wstring>(row.boxes.begin(), row.boxes.end()));
    }
}

namespace {

// Starts a drag with an Escape already waiting, so that a move loop that does start ends at once.
int CaptionPressesOfADragIn(Form1& form) {
    const testing_support::MessageCounter counter(
        form.hWnd(), [](HWND /*window*/, UINT message, WPARAM wParam) {
            return message == WM_NCLBUTTONDOWN && wParam == HTCAPTION;
        });
    PostMessageW(form.hWnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    form.FormMove(form);
    testing_support::PumpMessages();
    return counter.Count();
}

}  // namespace

TEST(FormMove, DragsOnlyAWindowInItsNormalState) {
    Form1 form;
    form.LoadAndShow();
    EXPECT_EQ(CaptionPressesOfADragIn(form), 1);

    form.SetWindowState(toolkit::kMinimized);
    EXPECT_EQ(CaptionPressesOfADragIn(form), 0);
    form.SetWindowState(toolkit::kNormal);
    EXPECT_EQ(CaptionPressesOfADragIn(form), 1);
    form.SetWindowState(toolkit::kMaximized);
    EXPECT_EQ(CaptionPressesOfADragIn(form), 0);
}

// The pointer moving over the window paints nothing unless what is drawn changes: the link
// turns red once when the pointer reaches it and white once when it is back on the bare surface.
// The points are the design's, at the form's scale.
TEST(Hover, RepaintsOnlyWhenTheLinkChangesColour) {
    Form1 form;
    // Shown in a corner of the screen that no other test's window covers or uncovers meanwhile.
    RECT size{};
    GetWindowRect(form.hWnd(), &size);
    SetWindowPos(form.hWnd(), nullptr, GetSystemMetrics(SM_CXSCREEN) - (size.right - size.left),
                 GetSystemMetrics(SM_CYSCREEN) - (size.bottom - size.top), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    UpdateWindow(form.hWnd());
    testing_support::PumpMessages(&form);
    const testing_support::MessageCounter surface(form.hWnd());
    const testing_support::MessageCounter apply(form.Command1.hWnd());
    const testing_support::MessageCounter romanian(form.Command2.hWnd());
    const testing_support::MessageCounter english(form.Command3.hWnd());

    constexpr toolkit::Color kWhite = 0xFFFFFF;
    constexpr toolkit::Color kRed = 0x0000FF;
    const HWND window = form.hWnd();
    const struct {
        const char* over;
        HWND window;                // that the moves go to
        std::vector<POINT> points;  // in its client area
        int paints;                 // of the window and its push buttons
        toolkit::Color link;
    } runs[] = {
        {"the bare surface", window, {{300, 150}, {301, 150}, {5, 5}, {100, 220}}, 0, kWhite},
        {"title, instruction, explanation", window, {{100, 10}, {300, 20}, {20, 120}}, 0, kWhite},
        {"button strip, minimise, close", window, {{164, 10}, {140, 10}, {180, 10}}, 0, kWhite},
        {"Apply", form.Command1.hWnd(), {{10, 8}, {60, 12}}, 0, kWhite},
        {"RO", form.Command2.hWnd(), {{5, 5}, {20, 10}}, 0, kWhite},
        {"EN", form.Command3.hWnd(), {{5, 5}, {20, 10}}, 0, kWhite},
        {"the link", window, {{16, 48}, {60, 56}, {176, 64}}, 1, kRed},
        {"title and explanation, the link red", window, {{100, 10}, {20, 120}}, 0, kRed},
        {"the bare surface again", window, {{300, 150}, {301, 150}, {5, 5}}, 1, kWhite},
    };
    for (const auto& run : runs) {
        const int before = surface.Count() + apply.Count() + romanian.Count() + english.Count();
        for (const POINT& designed : run.points) {
            const POINT point = PointAtScale(form.CurrentScale(), designed);
            PostMessageW(run.window, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
        }
        testing_support::PumpMessages(&form);
        EXPECT_EQ(surface.Count() + apply.Count() + romanian.Count() + english.Count() - before,
                  run.paints)
            << run.over;
        EXPECT_EQ(form.Label3.ForeColor(), run.link) << run.over;
    }
}
