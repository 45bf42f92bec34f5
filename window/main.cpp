#include "window/form1.h"

#include <objbase.h>

#include <memory>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    // The shell may hand the link to a COM-based handler, which needs an apartment.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::unique_ptr<Form1> form;
    toolkit::InvokeHandler([&form] { form = std::make_unique<Form1>(); });
    return toolkit::Run(*form);
}
