#include "toolkit/tab_order.h"

#include <algorithm>
#include <utility>

namespace toolkit {

std::vector<HWND> TabOrder::Stops() const {
    std::vector<std::pair<int, HWND>> ordered;
    for (const auto& child : children_) {
        ordered.emplace_back(child->TabIndex(), child->hWnd());
    }
    std::sort(ordered.begin(), ordered.end());
    std::vector<HWND> stops;
    for (const auto& [index, window] : ordered) {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) {
            stops.push_back(window);
        }
    }
    return stops;
}

void TabOrder::FocusFirst() const {
    const std::vector<HWND> stops = Stops();
    if (!stops.empty()) {
        SetFocus(stops.front());
    }
}

void TabOrder::Move(HWND focus, bool backwards) const {
    const std::vector<HWND> stops = Stops();
    if (stops.empty()) {
        return;
    }
    const auto count = static_cast<std::ptrdiff_t>(stops.size());
    const std::ptrdiff_t current = std::find(stops.begin(), stops.end(), focus) - stops.begin();
    std::ptrdiff_t next = 0;
    if (current == count) {
        next = backwards ? count - 1 : 0;
    } else {
        next = (current + (backwards ? count - 1 : 1)) % count;
    }
    SetFocus(stops[static_cast<std::size_t>(next)]);
}

void TabOrder::Restore() const {
    // The form itself never keeps the focus.
    const HWND focus = GetFocus();
    if (focus != nullptr && focus != form_.hWnd()) {
        return;
    }
    if (lastFocus_ != nullptr && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    FocusFirst();
}

}  // namespace toolkit
