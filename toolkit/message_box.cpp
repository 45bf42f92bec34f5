#include "toolkit/message_box.h"

#include "toolkit/form_window_class.h"

#include <cwchar>
#include <iterator>
#include <utility>

namespace toolkit {
namespace {

// Stops at the first shown form of the thread, which it writes to *found.
BOOL CALLBACK FindShownForm(HWND window, LPARAM found) {
    wchar_t name[std::size(kFormWindowClass) + 1] = L"";
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    if (!IsWindowVisible(window) || std::wcscmp(name, kFormWindowClass) != 0) {
        return TRUE;
    }
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The form shown on this thread, if any: a box it owns disables it until the box closes.
HWND FormOfThisThread() {
    HWND form = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindShownForm, reinterpret_cast<LPARAM>(&form));
    return form;
}

int ShowRealBox(const std::wstring& text, UINT style, const std::wstring& title) {
    return MessageBoxW(FormOfThisThread(), text.c_str(), title.c_str(), style);
}

MessageBoxPresenter& CurrentPresenter() {
    static MessageBoxPresenter presenter = ShowRealBox;
    return presenter;
}

std::wstring& ApplicationTitle() {
    static std::wstring title;
    return title;
}

}  // namespace

void SetApplicationTitle(std::wstring title) {
    ApplicationTitle() = std::move(title);
}

int MsgBox(const std::wstring& text, UINT style, const std::optional<std::wstring>& title) {
    return CurrentPresenter()(text, style, title.value_or(ApplicationTitle()));
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    if (!presenter) {
        presenter = ShowRealBox;
    }
    return std::exchange(CurrentPresenter(), std::move(presenter));
}

}  // namespace toolkit
