#include "toolkit/screen.h"
#include "window/form1.h"

#include <cstdlib>
#include <memory>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    // Told the monitor's real scale, the window lays itself out and draws its texts and pictures
    // for it; otherwise Windows would stretch the finished window as a bitmap, blurring every
    // text.
    toolkit::DeclareDpiAwareness();
    std::unique_ptr<Form1> form;
    toolkit::InvokeHandler([&form] { form = std::make_unique<Form1>(); });
    return toolkit::Run(*form);
}

#if defined(__GLIBCXX__)
// Every error reaches the user through the toolkit's own box, and a GUI program has no console
// to print to: the runtime's default terminate handler would only add its name demangler
// (some 45 KB of the file). Ending at once is what it would do after printing.
namespace __gnu_cxx {
void __verbose_terminate_handler() {
    std::abort();
}
}  // namespace __gnu_cxx
#endif
