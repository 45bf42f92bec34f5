#pragma once

#include "toolkit/accessible_tree.h"
#include "toolkit/com_apartment.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/handle.h"
#include "toolkit/picture.h"
#include "toolkit/tab_order.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace toolkit {

enum WindowState : int { kNormal = 0, kMinimized = 1, kMaximized = 2 };

// The window class of every form.
inline constexpr wchar_t kFormWindowClass[] = L"ToolkitForm";

struct FormDesign {
    std::wstring caption;
    int clientWidth;   // twips
    int clientHeight;  // twips
    Picture picture;   // drawn from the top-left corner
};

// A borderless top-level window with a taskbar button, a fixed client size and a background
// picture, carrying painted labels and images and child push buttons and scroll bars.
// Controls are added front to back: each one lies behind those added before it.
class Form {
  public:
    // The window's icon is the program's own (ProgramIcon).
    explicit Form(FormDesign design);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    HWND hWnd() const noexcept { return window_; }

    // Outer size in twips.
    float Width() const;
    void SetWidth(float twips);
    float Height() const;
    void SetHeight(float twips);

    int WindowState() const;
    // 0 restores, 1 minimises, 2 maximises; any other value raises "Invalid property value".
    void SetWindowState(int state);

    Label& AddLabel(const TwipsRect& position, LabelDesign design);
    Image& AddImage(int leftTwips, int topTwips, Picture picture);
    PushButton& AddPushButton(const TwipsRect& position, ButtonDesign design);
    ScrollBar& AddScrollBar(const TwipsRect& position, const ScrollBarDesign& design);

    // Raises Load, then shows the window centred on the screen with the focus on the first
    // control in tab order. The window is never seen before Load has finished.
    void LoadAndShow();

    // Handles the keys the form gives a meaning to before the focused control sees them:
    // Tab and Shift+Tab move the focus along the tab order, Enter presses the focused push
    // button. True when the message was used.
    bool PreTranslateMessage(const MSG& message);

    // The front-most visible painted control at a client point; null on the bare surface.
    PaintedControl* ControlAt(POINT point) const;

    // Draws the background picture, then the painted controls from back to front.
    void Paint(HDC dc) const;

    // Whether the form takes input now: not while a message box of the program is open, which
    // disables the form it belongs to.
    bool TakesInput() const;
    // Raises an event of the form or of one of its controls, unless the form takes no input
    // now: however the event comes (the mouse, a key, a message another program sends, a
    // screen reader's default action), none is raised while a box is open, so that no two
    // actions ever overlap.
    void Raise(const EventHandler& handler) const;
    void Raise(const MouseEventHandler& handler, const MouseEventArgs& args) const;

    // The painted controls, front to back, and the child controls in the order they were added.
    const std::vector<std::unique_ptr<PaintedControl>>& PaintedControls() const noexcept {
        return painted_;
    }
    const std::vector<std::unique_ptr<ChildControl>>& Children() const noexcept {
        return children_;
    }
    AccessibleTree& Accessibility() noexcept { return accessibility_; }

    // Puts the thread in the program's one COM apartment, opened on first need (for the
    // accessible object, or for the shell) and closed with the form. False when the thread is
    // in another kind of apartment already.
    bool EnterComApartment() noexcept { return apartment_.Open(); }

    // The form's font of a size and weight, made on first use and shared by every control
    // using it.
    HFONT Font(const FontSpec& font);

    EventHandler Load;
    MouseEventHandler MouseDown;  // only from the bare surface
    MouseEventHandler MouseMove;  // only from the bare surface

  private:
    static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    void OnPaint();
    void OnButtonDown(int button, WPARAM keys, POINT point);
    void OnButtonUp(int button, POINT point);
    void OnMouseMove(WPARAM keys, POINT point);
    void OnCommand(WORD notification, HWND control);
    void OnDrawItem(const DRAWITEMSTRUCT& item);
    void OnSize(WPARAM kind);
    void OnClose();

    MouseEventArgs MouseArgs(int button, WPARAM keys, POINT point,
                             const PaintedControl* control) const;
    PushButton* ButtonOf(HWND window) const;
    RECT ToPixels(const TwipsRect& position) const;
    template <typename Control>
    Control& AddChild(std::unique_ptr<Control> control);

    HWND window_ = nullptr;
    Picture picture_;
    UniqueIcon icon_;
    std::vector<std::pair<FontSpec, UniqueFont>> fonts_;
    std::vector<std::unique_ptr<PaintedControl>> painted_;
    std::vector<std::unique_ptr<ChildControl>> children_;

    // The painted control (or the bare surface, null) a mouse button went down on, while
    // the form holds the capture; mouse moves go to it until the button is released.
    PaintedControl* pressed_ = nullptr;
    int pressedButton_ = 0;
    bool capturing_ = false;

    TabOrder tabOrder_{*this};
    // The apartment outlives the accessible object, which is disconnected in it.
    ComApartment apartment_;
    AccessibleTree accessibility_{*this};
};

// Runs the program on its main form: loads and shows it, then dispatches the user's events
// until the form is closed. Returns the exit code.
int Run(Form& form);

}  // namespace toolkit
