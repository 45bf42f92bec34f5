#pragma once

#include "toolkit/events.h"
#include "toolkit/scale.h"

#include <windows.h>

#include <optional>

namespace toolkit {

class PaintedControl;

// A font's size and weight; its face is the form's (FormDesign).
struct FontSpec {
    double points;
    int weight;
};

// What a control needs of the form it lies on: the form's window, the scale it is drawn at now,
// its fonts at that scale, and where to announce a renamed control to assistive technology.
class ControlHost {
  public:
    ControlHost(const ControlHost&) = delete;
    ControlHost& operator=(const ControlHost&) = delete;

    virtual HWND hWnd() const noexcept = 0;
    virtual const Scale& CurrentScale() const noexcept = 0;
    // The form's font of that size and weight at its current scale, or its own font when none
    // is given; the form owns it.
    virtual HFONT Font(const std::optional<FontSpec>& font) = 0;
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
