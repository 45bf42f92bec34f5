#include "toolkit/accessible_tree.h"

#include "toolkit/accessible.h"
#include "toolkit/form.h"

#include <algorithm>
#include <new>

namespace toolkit {
namespace {

RECT BoundsInParent(HWND child) {
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

}  // namespace

AccessibleTree::AccessibleTree(Form& form) noexcept : form_(form) {}

AccessibleTree::~AccessibleTree() {
    Disconnect();
}

std::vector<AccessibleElement> AccessibleTree::Elements() const {
    std::vector<AccessibleElement> elements;
    for (const auto& control : form_.PaintedControls()) {
        if (control->Visible() && control->Accessible().role != 0) {
            elements.push_back({control.get(), nullptr, control->Bounds()});
        }
    }
    for (const auto& child : form_.Children()) {
        // The child's own style: IsWindowVisible would also ask whether the form is shown.
        if ((GetWindowLongW(child->hWnd(), GWL_STYLE) & WS_VISIBLE) != 0) {
            elements.push_back({nullptr, child->hWnd(), BoundsInParent(child->hWnd())});
        }
    }
    // A row takes the elements whose tops lie above the middle of its topmost one, so a line
    // of controls a few pixels out of step still reads left to right.
    const auto byTop = [](const auto& a, const auto& b) { return a.bounds.top < b.bounds.top; };
    const auto byLeft = [](const auto& a, const auto& b) { return a.bounds.left < b.bounds.left; };
    std::stable_sort(elements.begin(), elements.end(), byTop);
    for (auto row = elements.begin(); row != elements.end();) {
        const LONG middle = (row->bounds.top + row->bounds.bottom) / 2;
        const auto next = std::find_if(row, elements.end(),
                                       [middle](const auto& e) { return e.bounds.top >= middle; });
        std::stable_sort(row, next, byLeft);
        row = next;
    }
    return elements;
}

long AccessibleTree::NumberOf(const PaintedControl* painted, HWND window) const {
    const std::vector<AccessibleElement> elements = Elements();
    const auto found = std::find_if(elements.begin(), elements.end(), [&](const auto& element) {
        return element.painted == painted && element.window == window;
    });
    return found != elements.end() ? static_cast<long>(found - elements.begin()) + 1 : 0;
}

long AccessibleTree::ElementAt(POINT point) const {
    // Child windows lie in front of everything painted.
    const HWND window = form_.hWnd();
    const HWND under = ChildWindowFromPointEx(window, point, CWP_SKIPINVISIBLE);
    if (under != nullptr && under != window) {
        return NumberOf(nullptr, under);
    }
    const PaintedControl* const painted = form_.ControlAt(point);
    return painted != nullptr ? NumberOf(painted, nullptr) : 0;
}

std::optional<long> AccessibleTree::FocusedElement() const {
    // Painted controls never take the focus; the form passes its own on to a child window.
    const HWND focused = GetFocus();
    if (focused == nullptr) {
        return std::nullopt;
    }
    if (focused == form_.hWnd()) {
        return 0;
    }
    const long number = NumberOf(nullptr, focused);
    return number != 0 ? std::optional<long>(number) : std::nullopt;
}

void AccessibleTree::PerformDefaultAction(const PaintedControl& control) {
    const auto& controls = form_.PaintedControls();
    const auto found = std::find_if(controls.begin(), controls.end(),
                                    [&control](const auto& c) { return c.get() == &control; });
    if (found != controls.end()) {
        PostMessageW(form_.hWnd(), kDefaultActionMessage,
                     static_cast<WPARAM>(found - controls.begin()), 0);
    }
}

void AccessibleTree::OnDefaultAction(WPARAM index) {
    const auto& controls = form_.PaintedControls();
    // The index comes from a message anyone could post: check it before use.
    if (index >= controls.size()) {
        return;
    }
    const PaintedControl& control = *controls[index];
    if (control.Visible() && !control.Accessible().defaultAction.empty()) {
        InvokeHandler(control.Click);
    }
}

void AccessibleTree::NotifyNameChange(const PaintedControl* control) const {
    AnnounceRename(NumberOf(control, nullptr));
}

void AccessibleTree::NotifyNameChange(HWND child) const {
    AnnounceRename(NumberOf(nullptr, child));
}

void AccessibleTree::AnnounceRename(long number) const {
    if (number != 0) {
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, form_.hWnd(), OBJID_CLIENT, number);
    }
}

LRESULT AccessibleTree::OnGetObject(WPARAM wParam, LPARAM lParam) {
    // Only the client area is the form's to describe; the system answers for everything else.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return DefWindowProcW(form_.hWnd(), WM_GETOBJECT, wParam, lParam);
    }
    if (!object_) {
        // Handing an object to another process needs the thread in an apartment; in one
        // already opened by someone else (even a multithreaded one) it works as well.
        form_.EnterComApartment();
        object_.reset(new (std::nothrow) ClientAccessible(*this));
        if (!object_) {
            return DefWindowProcW(form_.hWnd(), WM_GETOBJECT, wParam, lParam);
        }
    }
    return object_->HandOut(wParam);
}

void AccessibleTree::Disconnect() noexcept {
    if (object_) {
        object_->Disconnect();
        object_.reset();
    }
}

}  // namespace toolkit
