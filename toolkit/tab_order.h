#pragma once

#include "toolkit/controls.h"

#include <windows.h>

#include <vector>

namespace toolkit {

// The focus among a form's child controls, which take it in the order of their tab indexes:
// Tab and Shift+Tab move it along that order, and whenever the form itself would keep the
// focus it goes back to the control that had it last.
class TabOrder {
  public:
    TabOrder(const ControlHost& form, const ChildControls& children) noexcept
        : form_(form), children_(children) {}
    TabOrder(const TabOrder&) = delete;
    TabOrder& operator=(const TabOrder&) = delete;

    // The visible and enabled child controls, in tab order.
    std::vector<HWND> Stops() const;
    // Gives the focus to the first control in tab order.
    void FocusFirst() const;
    // Gives the focus to the next control after `focus` in tab order, or the one before it.
    void Move(HWND focus, bool backwards) const;
    // Notes the child control that took the focus.
    void Track(HWND focused) noexcept { lastFocus_ = focused; }
    // Passes the focus from the form on to the control that had it last, or to the first one.
    void Restore() const;

  private:
    const ControlHost& form_;
    const ChildControls& children_;
    HWND lastFocus_ = nullptr;
};

}  // namespace toolkit
