#include "window/form1.h"

#include "assets/pictures.h"
#include "registry/registry_routines.h"
#include "shaping/smooth_corners.h"
#include "toolkit/message_box.h"
#include "toolkit/program_end.h"
#include "toolkit/run_time_error.h"
#include "toolkit/system_functions.h"

#include <climits>
#include <string>

namespace {

using toolkit::ButtonDesign;
using toolkit::FontSpec;
using toolkit::LabelDesign;

constexpr toolkit::Color kWhite = 0xFFFFFF;
constexpr toolkit::Color kRed = 0x0000FF;
constexpr toolkit::Color kPeach = 0xC0E0FF;

// The maker's web site, opened by the link label, which shows its host name.
constexpr wchar_t kMakerSite[] = L"http://www.brevane.example/";

constexpr FontSpec kBold825{8.25, FW_BOLD};
constexpr FontSpec kBold975{9.75, FW_BOLD};
constexpr FontSpec kBold12{12, FW_BOLD};

toolkit::FormDesign Design() {
    // "MS Sans Serif" has a few sizes only, drawn for 96 DPI; "Microsoft Sans Serif" is the same
    // design drawn to scale, on every Windows since 2000.
    return {L"Brevane Twinova",
            6180,
            3555,
            assets::kBackground,
            {L"MS Sans Serif", L"Microsoft Sans Serif"},
            {8.25, FW_NORMAL},
            L"BrevaneTwinova"};
}

}  // namespace

Form1::Form1()
    : toolkit::Form(Design()),
      Command3(AddPushButton({3000, 1200, 495, 255}, ButtonDesign{L"EN", 10})),
      Command2(AddPushButton({2400, 1200, 495, 255}, ButtonDesign{L"RO", 9})),
      scrlSmooth(AddScrollBar({1320, 3840, 1695, 255}, {0, 100, 11, 7, false})),
      Command1(
          AddPushButton({3840, 660, 1935, 375}, ButtonDesign{L"Aplica Twinova", 0, true, kPeach})),
      Label7(AddLabel({120, 1200, 2175, 255}, LabelDesign{L"Chose your language:", kBold825})),
      lbValue(AddLabel(
          {960, 3840, 180, 195},
          LabelDesign{L"12", {}, 0x000000, false, toolkit::kButtonFaceColor, true, false})),
      Label6(AddLabel({3840, 120, 2175, 375},
                      LabelDesign{L"Click pe buton pentru a aplica Twinova", kBold825, kWhite})),
      Label5(AddLabel({2520, 0, 495, 375}, LabelDesign{})),
      Label4(AddLabel({1920, 0, 495, 375}, LabelDesign{})),
      // The strip shows the minimise and close buttons 22 pixels square, 4 and 40 pixels across
      // and 2 down.
      Image1(AddImage(
          1920, 0, assets::kButtonStrip,
          {{DFCS_CAPTIONMIN, {60, 30, 330, 330}}, {DFCS_CAPTIONCLOSE, {600, 30, 330, 330}}})),
      Label3(
          AddLabel({240, 720, 2415, 255}, LabelDesign{L"www.brevane.example", kBold975, kWhite})),
      Label2(AddLabel({120, 120, 1935, 375}, LabelDesign{L"Brevane Twinova", kBold12, kRed})),
      Label1(AddLabel({120, 1680, 3255, 1095}, LabelDesign{})) {
    Load = [this] { Form_Load(); };
    ScaleChanged = [this] { Form_ScaleChanged(); };
    Command1.Click = [this] { Command1_Click(); };
    Command2.Click = [this] { Command2_Click(); };
    Command3.Click = [this] { Command3_Click(); };

    // Only the left button drags: the system's move loop takes every press for a left one.
    const auto dragWindow = [this](const toolkit::MouseEventArgs& args) {
        if (args.button == toolkit::kLeftButton) {
            FormMove(*this);
        }
    };
    MouseDown = dragWindow;
    Label1.MouseDown = dragWindow;
    Label2.MouseDown = dragWindow;
    Label6.MouseDown = dragWindow;

    // The link turns red under the pointer and white again over the bare surface; nothing
    // tracks the pointer leaving it.
    MouseMove = [this](const toolkit::MouseEventArgs&) { Label3.SetForeColor(kWhite); };
    Label3.MouseMove = [this](const toolkit::MouseEventArgs&) { Label3.SetForeColor(kRed); };
    Label3.Click = [this] { Label3_Click(); };
    Label4.Click = [this] { Label4_Click(); };
    Label5.Click = [this] { Label5_Click(); };

    // Screen readers see the link and the painted minimise and close buttons for what they
    // are; the names of the buttons follow the language, starting with the designed texts'.
    Label3.SetAccessible(toolkit::LinkDescription());
    Label4.SetAccessible(toolkit::PushButtonDescription(kRomanianTexts.minimiseName));
    Label5.SetAccessible(toolkit::PushButtonDescription(kRomanianTexts.closeName));
}

namespace {

// The system's own description of a registry status, without its closing line break.
std::wstring SystemDescription(LONG status) {
    wchar_t buffer[512] = L"";
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                       static_cast<DWORD>(status), 0, buffer, ARRAYSIZE(buffer), nullptr);
    std::wstring description(buffer, length);
    while (!description.empty() && (description.back() == L'\n' || description.back() == L'\r')) {
        description.pop_back();
    }
    return description.empty() ? L"Error " + std::to_wstring(status) + L"." : description;
}

// The corner size the scroll bar holds: its value plus one, in 16-bit arithmetic.
short CornerSizeFrom(const toolkit::ScrollBar& bar) {
    const short value = bar.Value();
    if (value == SHRT_MAX) {
        throw toolkit::RunTimeError(toolkit::kOverflow);
    }
    return static_cast<short>(value + 1);
}

}  // namespace

void Form1::Form_Load() {
    SetHeight(3555);
    shaping::SmoothFormCorners(*this, 25);
    scrlSmooth.SetValue(11);
    shaping::SmoothFormCorners(*this, CornerSizeFrom(scrlSmooth));
    lbValue.SetCaption(std::to_wstring(CornerSizeFrom(scrlSmooth)));
    Command3_Click();
}

void Form1::Form_ScaleChanged() {
    // The region was made for the old size in pixels.
    shaping::SmoothFormCorners(*this, CornerSizeFrom(scrlSmooth));
}

void Form1::Command1_Click() {
    // Yahoo Messenger lets itself be started again while it runs when this value is 1.
    constexpr wchar_t kKeyPath[] = L"Software\\yahoo\\pager\\Test";
    const LONG created = registry::RegistryCreateNewKey(HKEY_CURRENT_USER, kKeyPath);
    const LONG written = registry::RegistrySetKeyValue(HKEY_CURRENT_USER, kKeyPath, L"Plural",
                                                       L"00000001", REG_DWORD);
    const LONG status = created != ERROR_SUCCESS ? created : written;
    // Only the exact name of the Romanian texts chooses them; anything else is English.
    const LanguageTexts& texts =
        CurrentLanguage == kRomanianTexts.name ? kRomanianTexts : kEnglishTexts;
    if (status == ERROR_SUCCESS) {
        toolkit::MsgBox(texts.applyDone, MB_ICONINFORMATION);
        return;
    }
    toolkit::MsgBox(std::wstring(texts.applyFailed) + L"\n\n" + SystemDescription(status),
                    MB_ICONERROR);
}

void Form1::Command2_Click() {
    ApplyLanguage(kRomanianTexts);
}

void Form1::Command3_Click() {
    ApplyLanguage(kEnglishTexts);
}

void Form1::ApplyLanguage(const LanguageTexts& texts) {
    Label1.SetCaption(texts.explanation);
    Label6.SetCaption(texts.instruction);
    Command1.SetCaption(texts.applyCaption);
    Label4.SetAccessible(toolkit::PushButtonDescription(texts.minimiseName));
    Label5.SetAccessible(toolkit::PushButtonDescription(texts.closeName));
    CurrentLanguage = texts.name;
}

void Form1::FormMove(Form1& form) {
    if (form.WindowState() != toolkit::kNormal) {
        return;
    }
    // The system's move loop needs the mouse, which the form captured for the press.
    ReleaseCapture();
    SendMessageW(form.hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void Form1::Label3_Click() {
    // The shell may hand the address to a COM-based handler, which needs an apartment.
    EnterComApartment();
    // shell32 is loaded here, on the first click, rather than at start. The browser reports its
    // own failures; the window stays as it is either way.
    toolkit::Shell32().ShellExecuteW(nullptr, L"open", kMakerSite, nullptr, nullptr, SW_SHOWNORMAL);
}

void Form1::Label4_Click() {
    SetWindowState(toolkit::kMinimized);
}

void Form1::Label5_Click() {
    toolkit::End();
}
