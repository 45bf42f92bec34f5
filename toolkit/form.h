#pragma once

#include "toolkit/accessible.h"
#include "toolkit/com_apartment.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/handle.h"
#include "toolkit/picture.h"

#include <wrl/client.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace toolkit {

enum WindowState : int { kNormal = 0, kMinimized = 1, kMaximized = 2 };

struct FormDesign {
    std::wstring caption;
    int clientWidth;   // twips
    int clientHeight;  // twips
    Picture picture;   // drawn from the top-left corner
};

// One thing of a form that assistive technology sees: a painted control or a child window.
struct AccessibleElement {
    const PaintedControl* painted;  // null for a child window
    HWND window;                    // null for a painted control
    RECT bounds;                    // in pixels of the client area
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

    // What assistive technology sees of the form, in reading order: rows from top to bottom,
    // each read from left to right. The visible painted controls that have an accessible role,
    // and the visible child windows.
    std::vector<AccessibleElement> AccessibleElements() const;
    // Raises the control's Click from the message loop, as its accessible default action.
    void PerformDefaultAction(const PaintedControl& control);
    // Tells assistive technology that the name of one of its elements changed.
    void NotifyNameChange(const PaintedControl& control) const;
    void NotifyNameChange(HWND child) const;

    // Puts the thread in the program's one COM apartment, opened on first need (for the
    // accessible object, or for the shell) and closed with the form.
    void EnterComApartment() noexcept { apartment_.Open(); }

    // The form's font for a spec, made on first use and shared by every control using it.
    HFONT Font(const FontSpec& spec);

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
    void RestoreFocus();
    LRESULT OnGetObject(WPARAM wParam, LPARAM lParam);
    void OnDefaultAction(WPARAM index);
    void DisconnectAccessible() noexcept;
    void NotifyNameChange(const PaintedControl* painted, HWND child) const;

    MouseEventArgs MouseArgs(int button, WPARAM keys, POINT point,
                             const PaintedControl* control) const;
    std::vector<HWND> TabStops() const;
    void MoveFocus(HWND focus, bool backwards);
    PushButton* ButtonOf(HWND window) const;
    RECT ToPixels(const TwipsRect& position) const;

    HWND window_ = nullptr;
    Picture picture_;
    UniqueIcon icon_;
    std::vector<std::pair<FontSpec, UniqueFont>> fonts_;
    std::vector<std::unique_ptr<PaintedControl>> painted_;
    std::vector<std::unique_ptr<PushButton>> buttons_;
    std::vector<std::unique_ptr<ScrollBar>> scrollBars_;

    // The painted control (or the bare surface, null) a mouse button went down on, while
    // the form holds the capture; mouse moves go to it until the button is released.
    PaintedControl* pressed_ = nullptr;
    int pressedButton_ = 0;
    bool capturing_ = false;
    // The control that had the focus last, which gets it back when the window is active again.
    HWND lastFocus_ = nullptr;

    // Made when assistive technology first asks, in the thread's apartment, which is opened
    // for it then; disconnected when the window goes.
    ComApartment apartment_;
    Microsoft::WRL::ComPtr<ClientAccessible> accessible_;
};

// Runs the program on its main form: loads and shows it, then dispatches the user's events
// until the form is closed. Returns the exit code.
int Run(Form& form);

}  // namespace toolkit
