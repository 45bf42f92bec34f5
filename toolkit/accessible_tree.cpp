#include "toolkit/accessible_tree.h"

#include <algorithm>
#include <new>

namespace toolkit {
namespace {

// A default action waits on a timer of the form's, one for each painted control: a posted
// message could overtake the reply to a caller in another process, which COM sends from
// another thread once the call has returned, and an action that ends the program would then
// leave the caller without its answer. A timer fires only once the queue has gone quiet.
constexpr UINT_PTR kFirstDefaultActionTimer = 1;

RECT BoundsInParent(HWND child) {
    RECT bounds{};
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&bounds), 2);
    return bounds;
}

}  // namespace

AccessibleTree::AccessibleTree(ControlHost& form, const PaintedControls& painted,
                               const ChildControls& children, ComApartment& apartment) noexcept
    : form_(form), painted_(painted), children_(children), apartment_(apartment) {}

AccessibleTree::~AccessibleTree() {
    Disconnect();
}

std::vector<AccessibleElement> AccessibleTree::Elements() const {
    std::vector<AccessibleElement> elements;
    for (const auto& control : painted_) {
        if (control->Visible() && control->Accessible().role != 0) {
            elements.push_back({control.get(), nullptr, control->Bounds()});
        }
    }
    for (const auto& child : children_) {
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
    const PaintedControl* const painted = FrontMostAt(painted_, point);
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
    const auto found = std::find_if(painted_.begin(), painted_.end(),
                                    [&control](const auto& c) { return c.get() == &control; });
    if (found != painted_.end()) {
        SetTimer(form_.hWnd(), kFirstDefaultActionTimer + (found - painted_.begin()),
                 USER_TIMER_MINIMUM, nullptr);
    }
}

bool AccessibleTree::OnTimer(UINT_PTR timer) {
    // Anyone can post WM_TIMER: the number is checked before use.
    if (timer < kFirstDefaultActionTimer || timer - kFirstDefaultActionTimer >= painted_.size()) {
        return false;
    }
    KillTimer(form_.hWnd(), timer);
    const PaintedControl& control = *painted_[timer - kFirstDefaultActionTimer];
    if (control.Visible() && !control.Accessible().defaultAction.empty()) {
        form_.Raise(control.Click);
    }
    return true;
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
    // The object is handed out only into the window thread's single-threaded apartment, where
    // every call reaches it on this thread: the focus and the controls belong to it. A thread
    // already in a multithreaded apartment would have calls arrive on any thread.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT) || !apartment_.Open()) {
        return DefWindowProcW(form_.hWnd(), WM_GETOBJECT, wParam, lParam);
    }
    if (!object_) {
        // The object is made holding the one reference that object_ takes over.
        object_.Attach(new (std::nothrow) ClientAccessible(*this));
        if (!object_) {
            return DefWindowProcW(form_.hWnd(), WM_GETOBJECT, wParam, lParam);
        }
    }
    return object_->HandOut(wParam);
}

void AccessibleTree::Disconnect() noexcept {
    if (object_) {
        object_->Disconnect();
        object_.Reset();
    }
}

}  // namespace toolkit
