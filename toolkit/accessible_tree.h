#pragma once

#include "toolkit/handle.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace toolkit {

class ClientAccessible;
class Form;
class PaintedControl;

// One thing of a form that assistive technology sees: a painted control or a child window.
struct AccessibleElement {
    const PaintedControl* painted;  // null for a child window
    HWND window;                    // null for a painted control
    RECT bounds;                    // in pixels of the client area
};

// What assistive technology (a screen reader) sees of a form's client area: its elements, the
// object it reads them through, their default actions, and the news of a renamed one. Elements
// are numbered from 1 in reading order; 0 stands for the client area itself.
class AccessibleTree {
  public:
    explicit AccessibleTree(Form& form) noexcept;
    AccessibleTree(const AccessibleTree&) = delete;
    AccessibleTree& operator=(const AccessibleTree&) = delete;
    ~AccessibleTree();

    const Form& Owner() const noexcept { return form_; }

    // Rows from top to bottom, each read from left to right: the visible painted controls that
    // have an accessible role, and the visible child windows.
    std::vector<AccessibleElement> Elements() const;
    // The element at a client point: 0 when none lies there.
    long ElementAt(POINT point) const;
    // The child window that has the focus, or 0 when the form itself has it; nothing when
    // neither has.
    std::optional<long> FocusedElement() const;

    // Raises the control's Click once the caller of this has had its answer.
    void PerformDefaultAction(const PaintedControl& control);
    // Tells assistive technology that the name of an element changed.
    void NotifyNameChange(const PaintedControl* control) const;
    void NotifyNameChange(HWND child) const;

    // The form's answer to WM_GETOBJECT.
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    // The form's answer to WM_TIMER; false when the timer is not a default action's.
    bool OnTimer(UINT_PTR timer);
    // Cuts off every client still holding the object: from then on their calls fail.
    void Disconnect() noexcept;

  private:
    // The number of the element that is `painted` or `window`; 0 when it is not seen.
    long NumberOf(const PaintedControl* painted, HWND window) const;
    void AnnounceRename(long number) const;

    Form& form_;
    // Made when assistive technology first asks, in the form's apartment.
    ComReference<ClientAccessible> object_;
};

}  // namespace toolkit
