#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>

namespace toolkit {

// Makes `title` the title of boxes shown without one of their own: the program's name, which
// its form gives when it is made. Empty until then.
void SetApplicationTitle(std::wstring title);

// Shows a modal message box and returns the id of the button that closed it. `style` takes the
// MessageBox flags (0 OK only, MB_ICONINFORMATION, ...); no title gives the application title.
// The box is owned by the program's form on this thread, whichever window is active, and the
// form takes no input while it is open.
int MsgBox(const std::wstring& text, UINT style = MB_OK,
           const std::optional<std::wstring>& title = std::nullopt);

// What MsgBox hands its text, style and final title to. The default shows a real box;
// tests install one that records what would have been shown.
using MessageBoxPresenter =
    std::function<int(const std::wstring& text, UINT style, const std::wstring& title)>;

// Installs `presenter` (an empty one restores the real box) and returns the one it replaces.
MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter);

}  // namespace toolkit
