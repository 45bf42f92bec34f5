#pragma once

#include "toolkit/accessible.h"
#include "toolkit/com_apartment.h"
#include "toolkit/controls.h"
#include "toolkit/handle.h"

#include <windows.h>

#include <wrl/client.h>

#include <optional>
#include <vector>

namespace toolkit {

// What assistive technology (a screen reader) sees of a form's client area: its elements, the
// object it reads them through, their default actions, and the news of a renamed one.
class AccessibleTree final : public AccessibleModel {
  public:
    // The form's window and its controls, and the apartment the object is handed out in; all
    // outlive the tree.
    AccessibleTree(ControlHost& form, const PaintedControls& painted, const ChildControls& children,
                   ComApartment& apartment) noexcept;
    AccessibleTree(const AccessibleTree&) = delete;
    AccessibleTree& operator=(const AccessibleTree&) = delete;
    ~AccessibleTree();

    HWND Window() const noexcept override { return form_.hWnd(); }
    // Rows from top to bottom, each read from left to right: the visible painted controls that
    // have an accessible role, and the visible child windows.
    std::vector<AccessibleElement> Elements() const override;
    long ElementAt(POINT point) const override;
    std::optional<long> FocusedElement() const override;
    bool TakesInput() const override { return form_.TakesInput(); }
    void PerformDefaultAction(const PaintedControl& control) override;

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

    ControlHost& form_;
    const PaintedControls& painted_;
    const ChildControls& children_;
    ComApartment& apartment_;
    // Made when assistive technology first asks, in the form's apartment.
    Microsoft::WRL::ComPtr<ClientAccessible> object_;
};

}  // namespace toolkit
