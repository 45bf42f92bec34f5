#pragma once

namespace toolkit {

// The window class of every form: the form registers it, and a message box looks for a shown
// window of it on its thread to be owned by.
inline constexpr wchar_t kFormWindowClass[] = L"ToolkitForm";

}  // namespace toolkit
