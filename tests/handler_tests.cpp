// The language switches and the Apply action on the real window, in-process.
#include "test_support.h"
#include "window/form1.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing_support::WindowText;

constexpr wchar_t kRomanianExplanation[] =
    L"Ai mai multe conturi de Yahoo? Le poti folosi pe toate, in acelasi timp. Tot ce trebuie "
    L"sa faci e sa dai click pe butonul Aplica Twinova!";
constexpr wchar_t kEnglishExplanation[] =
    L"You have more than one Yahoo accounts? You can use them all, in the same time. Just click "
    L"Apply button and open Yahoo Messenger!";

bool SamePixels(const testing_support::Pixels& a, const testing_support::Pixels& b, RECT area) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (a.At(x, y) != b.At(x, y)) {
                return false;
            }
        }
    }
    return true;
}

// The form's surface as painted.
testing_support::Pixels Render(const Form1& form) {
    return testing_support::RenderClient(form.hWnd(), 412, 237);
}

struct Texts {
    std::wstring explanation, instruction, apply, language;
};

Texts TextsOf(const Form1& form) {
    return {form.Label1.Caption(), form.Label6.Caption(), WindowText(form.Command1.hWnd()),
            form.CurrentLanguage};
}

// Client pixels of the labels that follow the language and of those that never do.
constexpr RECT kExplanation{8, 112, 225, 185};
constexpr RECT kInstruction{256, 8, 401, 33};
constexpr RECT kTitle{8, 8, 128, 33};
constexpr RECT kLink{16, 48, 177, 65};
constexpr RECT kPrompt{8, 80, 153, 97};

}  // namespace

TEST(LanguageSwitch, EachButtonWritesItsWholeColumnAndTheLanguageName) {
    Form1 form;
    form.Command2_Click();
    EXPECT_EQ(form.Label1.Caption(), kRomanianExplanation);
    EXPECT_EQ(form.Label6.Caption(), L"Click pe buton pentru a aplica Twinova");
    EXPECT_EQ(WindowText(form.Command1.hWnd()), L"Aplica Twinova");
    EXPECT_EQ(form.CurrentLanguage, L"Romanian");

    form.Command3_Click();
    EXPECT_EQ(form.Label1.Caption(), kEnglishExplanation);
    EXPECT_EQ(form.Label6.Caption(), L"Click the button to apply");
    EXPECT_EQ(WindowText(form.Command1.hWnd()), L"Apply");
    EXPECT_EQ(form.CurrentLanguage, L"English");
}

TEST(LanguageSwitch, RepeatedPressesChangeNothingMore) {
    Form1 form;
    form.Command2_Click();
    const Texts onceRomanian = TextsOf(form);
    const testing_support::Pixels paintedOnce = Render(form);
    form.Command2_Click();
    EXPECT_EQ(TextsOf(form).explanation, onceRomanian.explanation);
    EXPECT_EQ(TextsOf(form).apply, onceRomanian.apply);
    EXPECT_EQ(TextsOf(form).language, onceRomanian.language);
    EXPECT_EQ(Render(form).data, paintedOnce.data);

    for (int press = 0; press < 300; ++press) {
        form.Command3_Click();
        form.Command2_Click();
    }
    EXPECT_EQ(Render(form).data, paintedOnce.data);
    EXPECT_EQ(form.CurrentLanguage, L"Romanian");
}

TEST(LanguageSwitch, OnlyTheExplanationInstructionAndApplyCaptionChange) {
    Form1 form;
    form.Command3_Click();
    const testing_support::Pixels english = Render(form);
    form.Command2_Click();
    const testing_support::Pixels romanian = Render(form);

    EXPECT_FALSE(SamePixels(english, romanian, kExplanation));
    EXPECT_FALSE(SamePixels(english, romanian, kInstruction));
    EXPECT_TRUE(SamePixels(english, romanian, kTitle));
    EXPECT_TRUE(SamePixels(english, romanian, kLink));
    EXPECT_TRUE(SamePixels(english, romanian, kPrompt));

    EXPECT_EQ(WindowText(form.hWnd()), L"Brevane Twinova");
    EXPECT_EQ(WindowText(form.Command2.hWnd()), L"RO");
    EXPECT_EQ(WindowText(form.Command3.hWnd()), L"EN");
    EXPECT_EQ(form.Label7.Caption(), L"Chose your language:");
    EXPECT_EQ(form.lbValue.Caption(), L"12");
    EXPECT_EQ(form.Label3.Caption(), L"www.brevane.example");
    EXPECT_TRUE(form.Label4.Caption().empty());
    EXPECT_TRUE(form.Label5.Caption().empty());
}

namespace {

// Runs Apply with its message box recorded instead of shown.
testing_support::RecordedBox Apply(Form1& form) {
    const testing_support::BoxRecorder recorder;
    form.Command1_Click();
    return recorder.boxes().empty() ? testing_support::RecordedBox{L"(none)", 0, L""}
                                    : recorder.boxes().back();
}

constexpr wchar_t kEnglishDone[] = L"Done! Now you can open Yahoo Messenger";
constexpr wchar_t kRomanianDone[] =
    L"Am terminat! Acum poti deschide aplicatia Yahoo Messenger de cate ori doresti!";

}  // namespace

TEST(ApplyConfirmation, FollowsTheLastLanguageChosen) {
    Form1 form;
    EXPECT_EQ(Apply(form).text, kEnglishDone) << "no language chosen yet";
    form.Command2_Click();
    const testing_support::RecordedBox romanian = Apply(form);
    EXPECT_EQ(romanian.text, kRomanianDone);
    EXPECT_EQ(romanian.style, static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(romanian.title, L"BrevaneTwinova");
    form.Command3_Click();
    EXPECT_EQ(Apply(form).text, kEnglishDone);
    form.CurrentLanguage = L"romanian";
    EXPECT_EQ(Apply(form).text, kEnglishDone) << "the comparison is exact";
}

TEST(ApplyConfirmation, AFailedWriteIsReportedInTheWindowsLanguage) {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\yahoo\\pager");
    toolkit::UniqueKey volatilePager;
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\yahoo\\pager", 0, nullptr,
                        REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, volatilePager.put(), nullptr),
        ERROR_SUCCESS);
    Form1 form;
    form.Command2_Click();
    const testing_support::RecordedBox shown = Apply(form);
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\yahoo\\pager");

    wchar_t description[256] = L"";
    FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_CHILD_MUST_BE_VOLATILE, 0, description, 256, nullptr);
    std::wstring expected =
        std::wstring(
            L"Nu am reusit! Yahoo Messenger nu a putut fi setat sa se deschida de mai "
            L"multe ori.\n\n") +
        description;
    while (expected.back() == L'\n' || expected.back() == L'\r') {
        expected.pop_back();
    }
    EXPECT_EQ(shown.text, expected);
    EXPECT_EQ(shown.style, static_cast<UINT>(MB_ICONERROR));
    EXPECT_EQ(shown.title, L"BrevaneTwinova");
}

namespace {

// Counts the title-bar presses sent to the thread's windows while it is installed.
class CaptionPressCounter {
  public:
    CaptionPressCounter()
        : hook_(SetWindowsHookExW(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId())) {
        count_ = 0;
    }
    CaptionPressCounter(const CaptionPressCounter&) = delete;
    CaptionPressCounter& operator=(const CaptionPressCounter&) = delete;
    ~CaptionPressCounter() { UnhookWindowsHookEx(hook_); }
    int Count() const { return count_; }

  private:
    static LRESULT CALLBACK Record(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_NCLBUTTONDOWN &&
            message->wParam == HTCAPTION) {
            ++count_;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline int count_ = 0;
    HHOOK hook_;
};

// Starts a drag with an Escape already waiting, so that a move loop that does start ends at once.
int CaptionPressesOfADragIn(Form1& form) {
    const CaptionPressCounter counter;
    PostMessageW(form.hWnd(), WM_KEYDOWN, VK_ESCAPE, 0);
    form.FormMove(form);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageW(&message);
    }
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
