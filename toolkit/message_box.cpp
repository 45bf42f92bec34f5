#include "toolkit/message_box.h"

#include <utility>

namespace toolkit {
namespace {

int ShowRealBox(const std::wstring& text, UINT style, const std::wstring& title) {
    return MessageBoxW(GetActiveWindow(), text.c_str(), title.c_str(), style);
}

MessageBoxPresenter& CurrentPresenter() {
    static MessageBoxPresenter presenter = ShowRealBox;
    return presenter;
}

}  // namespace

int MsgBox(const std::wstring& text, UINT style, const std::optional<std::wstring>& title) {
    return CurrentPresenter()(text, style, title.value_or(kApplicationTitle));
}

MessageBoxPresenter SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    if (!presenter) {
        presenter = ShowRealBox;
    }
    return std::exchange(CurrentPresenter(), std::move(presenter));
}

}  // namespace toolkit
