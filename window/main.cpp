#include "window/form1.h"

#include <memory>

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    std::unique_ptr<Form1> form;
    toolkit::InvokeHandler([&form] { form = std::make_unique<Form1>(); });
    return toolkit::Run(*form);
}
