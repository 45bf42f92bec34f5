#pragma once

#include "toolkit/events.h"

#include <windows.h>

namespace toolkit {

class PaintedControl;

// What a control needs of the form it lies on while the program runs: the form's window, where
// to announce a renamed control to assistive technology, and whether it takes input. (The scale
// and the fonts the control is laid out in, the form hands it.)
class ControlHost {
  public:
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    virtual HWND hWnd() const noexcept = 0;
    // Tells assistive technology that the name of a painted control, or of a child window,
    // changed.
    virtual void NotifyNameChange(const PaintedControl& control) const = 0;
    virtual void NotifyNameChange(HWND child) const = 0;

    // Whether the form takes input now: not while a message box of the program is open, which
    // disables the form it belongs to.
    bool TakesInput() const;
    // Raises an event of the form or of one of its controls, unless the form takes no input
    // now: however the event comes (the mouse, a key, a message another program sends, a
    // screen reader's default action), none is raised while a box is open, so that no two
    // actions ever overlap.
    void Raise(const EventHandler& handler) const;
    void Raise(const MouseEventHandler& handler, const MouseEventArgs& args) const;

  protected:
    ControlHost() = default;
    ~ControlHost() = default;
};

}  // namespace toolkit
