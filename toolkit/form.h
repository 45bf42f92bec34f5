#pragma once

#include "toolkit/accessible_tree.h"
#include "toolkit/com_apartment.h"
#include "toolkit/control_host.h"
#include "toolkit/controls.h"
#include "toolkit/events.h"
#include "toolkit/fonts.h"
#include "toolkit/handle.h"
#include "toolkit/picture.h"
#include "toolkit/scale.h"
#include "toolkit/tab_order.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace toolkit {

enum WindowState : int { kNormal = 0, kMinimized = 1, kMaximized = 2 };

struct FormDesign {
    std::wstring caption;
    int clientWidth;      // twips
    int clientHeight;     // twips
    PictureFile picture;  // drawn from the top-left corner
    FontFaces faces;
    FontSpec font;  // of the form, and of each control without one of its own
    // The program's name, the title of its message boxes that have none of their own.
    std::wstring applicationTitle;
};

// A borderless top-level window with a taskbar button, a fixed client size and a background
// picture, carrying painted labels and images and child push buttons and scroll bars.
// Controls are added front to back: each one lies behind those added before it. The form is
// made at the scale of the monitor it opens on and follows the monitor it is moved to: every
// size, font, picture and position is its own, at its own scale.
class Form : public ControlHost {
  public:
    // The window's icon is the program's own (ProgramIcon).
    explicit Form(FormDesign design);
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    HWND hWnd() const noexcept override { return window_; }
    // The scale the form is drawn at now, its monitor's.
    const Scale& CurrentScale() const noexcept { return scale_; }

    // Outer size in twips, as designed or last set, whatever the window's state: minimised too.
    float Width() const;
    void SetWidth(float twips);
    float Height() const;
    void SetHeight(float twips);

    int WindowState() const;
    // 0 restores, 1 minimises, 2 maximises; any other value raises "Invalid property value".
    void SetWindowState(int state);

    Label& AddLabel(const TwipsRect& position, LabelDesign design);
    // `glyphs`: the title-bar buttons the picture shows, drawn by the system in a contrast theme.
    Image& AddImage(int leftTwips, int topTwips, PictureFile picture,
                    std::vector<CaptionGlyph> glyphs = {});
    PushButton& AddPushButton(const TwipsRect& position, ButtonDesign design);
    ScrollBar& AddScrollBar(const TwipsRect& position, const ScrollBarDesign& design);

    // Raises Load, then shows the window centred on its monitor's work area with the focus on
    // the first control in tab order. The window is never seen before Load has finished.
    void LoadAndShow();

    // Handles the keys the form gives a meaning to before the focused control sees them:
    // Tab and Shift+Tab move the focus along the tab order, Enter presses the focused push
    // button. True when the message was used.
    bool PreTranslateMessage(const MSG& message);

    // The front-most visible painted control at a client point; null on the bare surface.
    PaintedControl* ControlAt(POINT point) const;

    // Draws the background picture, then the painted controls from back to front. In a contrast
    // theme: the theme's surface instead of the picture, the controls, and the window's edge.
    void Paint(HDC dc) const;

    // Puts the thread in the program's one COM apartment, opened on first need (for the
    // accessible object, or for the shell) and closed with the form. False when the thread is
    // in another kind of apartment already.
    bool EnterComApartment() noexcept { return apartment_.Open(); }

    void NotifyNameChange(const PaintedControl& control) const override;
    void NotifyNameChange(HWND child) const override;

    EventHandler Load;
    MouseEventHandler MouseDown;  // only from the bare surface
    MouseEventHandler MouseMove;  // only from the bare surface
    // Once the form has been laid out again at a new scale, with its new size, and before it is
    // drawn: whatever the program made for the old size (a window region) is made again here.
    // Raised whether or not the form takes input, since the system, not the user, changes the
    // scale.
    EventHandler ScaleChanged;

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
    void OnSystemLookChanged();
    void OutlineEdge(HDC dc) const;
    // Whether the window follows a change of scale to `dpi`: a per-monitor-aware window told a
    // DPI that a monitor can have.
    bool TakesScaleChange(UINT dpi) const;
    void OnDpiChanged(UINT dpi, const RECT& suggested);

    // The window's outer size in pixels at a scale, and giving the window that size at its own:
    // now, or, while it is minimised, where it is restored, on the work area.
    SIZE SizeAt(const Scale& scale) const;
    void FitToSize() const;
    void FitRestoredToSize() const;
    MouseEventArgs MouseArgs(int button, WPARAM keys, POINT point,
                             const PaintedControl* control) const;
    PushButton* ButtonOf(HWND window) const;
    template <typename Control>
    Control& AddPainted(std::unique_ptr<Control> control);
    template <typename Control>
    Control& AddChild(std::unique_ptr<Control> control);

    HWND window_ = nullptr;
    Scale scale_{Scale::kDesignDpi};
    // The outer size in twips as designed or last set: the size at any scale comes from it, not
    // from the pixels of the last scale, so that every scale rounds the design alike.
    float widthTwips_;
    float heightTwips_;
    Picture picture_;
    // Asked once here, then again only when the system says the theme or its colours changed.
    Look look_ = SystemLook();
    UniqueIcon icon_;
    // The fonts at the form's scale, which its controls hold.
    FontSet fonts_;
    PaintedControls painted_;
    ChildControls children_;

    // The painted control (or the bare surface, null) a mouse button went down on, while
    // the form holds the capture; mouse moves go to it until the button is released.
    PaintedControl* pressed_ = nullptr;
    int pressedButton_ = 0;
    bool capturing_ = false;

    TabOrder tabOrder_{*this, children_};
    // The apartment outlives the accessible object, which is disconnected in it.
    ComApartment apartment_;
    AccessibleTree accessibility_{*this, painted_, children_, apartment_};
};

// Runs the program on its main form: loads and shows it, then dispatches the user's events
// until the form is closed. Returns the exit code.
int Run(Form& form);

}  // namespace toolkit
