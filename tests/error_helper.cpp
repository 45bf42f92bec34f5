// A small program for the unhandled-error tests: a form whose event handler raises an error,
// run through the toolkit's own message loop. The command line names the case:
//   click      a label's Click raises 13 (type mismatch)
//   mousedown  a label's MouseDown raises 11 (division by zero) while the form holds the mouse
//   button     a push button's Click raises 6 (overflow)
//   load       the form's Load raises 94 (invalid use of Null), before the window is shown
//   memory     a label's Click runs out of memory (7)
//   paint      a label's colour cannot be resolved (380) when the window is painted
//   drawitem   a graphical button's colour cannot be resolved (380) when the button is drawn
//   close      no error: the form is closed, and the program ends with exit code 0
// Whatever follows the error must never run: the program would then end with exit code 200.

#include "test_support.h"
#include "toolkit/form.h"
#include "toolkit/run_time_error.h"

#include <cstdlib>
#include <new>
#include <string>

constexpr toolkit::Color kNoSuchColor = 0x80000099;  // a system colour that does not exist

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    const std::wstring mode = __argc > 1 ? __wargv[1] : L"";
    toolkit::Form form(testing_support::TestFormDesign(
        3000, 1500, testing_support::SolidPicture(200, 100, 0xFFFFFF)));
    toolkit::LabelDesign labelDesign;
    labelDesign.caption = L"Raise";
    toolkit::Label& label = form.AddLabel({150, 150, 750, 300}, labelDesign);
    toolkit::ButtonDesign buttonDesign;
    buttonDesign.caption = L"Raise";
    toolkit::PushButton& button = form.AddPushButton({1500, 150, 750, 375}, buttonDesign);
    const HWND window = form.hWnd();
    const auto pressLabel = [window] {
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
        PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    };

    if (mode == L"click") {
        label.Click = [] { throw toolkit::RunTimeError(toolkit::kTypeMismatch); };
        form.Load = pressLabel;
    } else if (mode == L"mousedown") {
        label.MouseDown = [](const toolkit::MouseEventArgs&) {
            throw toolkit::RunTimeError(toolkit::kDivisionByZero);
        };
        form.Load = pressLabel;
    } else if (mode == L"button") {
        button.Click = [] { throw toolkit::RunTimeError(toolkit::kOverflow); };
        form.Load = [&button] { PostMessageW(button.hWnd(), BM_CLICK, 0, 0); };
    } else if (mode == L"load") {
        form.Load = [] { throw toolkit::RunTimeError(toolkit::kInvalidUseOfNull); };
    } else if (mode == L"memory") {
        label.Click = [] { throw std::bad_alloc(); };
        form.Load = pressLabel;
    } else if (mode == L"paint") {
        form.AddLabel({150, 600, 750, 300}, toolkit::LabelDesign{L"Paint", {}, kNoSuchColor});
    } else if (mode == L"drawitem") {
        form.AddPushButton({1500, 600, 750, 375},
                           toolkit::ButtonDesign{L"Draw", 1, true, kNoSuchColor});
    } else if (mode == L"close") {
        form.Load = [window] { PostMessageW(window, WM_CLOSE, 0, 0); };
    } else {
        return 100;
    }
    // Anything dispatched after the error must not run.
    label.MouseMove = [](const toolkit::MouseEventArgs&) { ExitProcess(200); };
    const int code = toolkit::Run(form);
    return mode == L"close" ? code : 200;
}
