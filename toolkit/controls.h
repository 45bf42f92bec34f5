#pragma once

#include "toolkit/events.h"
#include "toolkit/handle.h"
#include "toolkit/picture.h"

#include <string>
#include <utility>

namespace toolkit {

// A colour as 0x00BBGGRR, or 0x800000nn for the system colour nn (GetSysColor).
using Color = DWORD;
inline constexpr Color kButtonTextColor = 0x80000000 | COLOR_BTNTEXT;
inline constexpr Color kButtonFaceColor = 0x80000000 | COLOR_BTNFACE;
COLORREF ResolveColor(Color color);

// A position and size in twips, from the top-left corner of the form's client area.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

// Every font of the toolkit is "MS Sans Serif", ANSI character set, upright and plain.
struct FontSpec {
    double points = 8.25;
    int weight = FW_NORMAL;
};

class Form;

// How a painted control presents itself to assistive technology (screen readers).
struct AccessibleDescription {
    LONG role = 0;               // a ROLE_SYSTEM_ value; 0 keeps the control out of sight
    std::wstring name;           // empty: the control's own text
    std::wstring defaultAction;  // what performing the default action is called; it raises Click
};

// A link that opens something when clicked.
AccessibleDescription LinkDescription();
// A painted area that acts as a push button, called `name`.
AccessibleDescription PushButtonDescription(std::wstring name);

// A control painted on its form's surface. It has no window of its own: the form paints it
// and routes the mouse events of the points it covers to it.
class PaintedControl {
  public:
    PaintedControl(const PaintedControl&) = delete;
    PaintedControl& operator=(const PaintedControl&) = delete;
    virtual ~PaintedControl() = default;

    // In pixels of the form's client area.
    const RECT& Bounds() const noexcept { return bounds_; }
    bool Visible() const noexcept { return visible_; }

    virtual void Paint(HDC dc) const = 0;

    // The text the control shows; empty for a picture.
    virtual std::wstring Text() const { return {}; }

    const AccessibleDescription& Accessible() const noexcept { return accessible_; }
    // Tells assistive technology at once when the name changes.
    void SetAccessible(AccessibleDescription description);
    // The name assistive technology reads.
    std::wstring AccessibleName() const;

    EventHandler Click;
    MouseEventHandler MouseDown;
    MouseEventHandler MouseMove;

  protected:
    PaintedControl(Form& form, const RECT& bounds, bool visible, AccessibleDescription accessible)
        : form_(form), bounds_(bounds), visible_(visible), accessible_(std::move(accessible)) {}

    // Redraws the area of the form at once.
    void Repaint(const RECT& area) const;
    // Tells assistive technology at once if the name is no longer `nameBefore`.
    void NotifyIfRenamed(const std::wstring& nameBefore) const;

    Form& form_;
    RECT bounds_;
    bool visible_;

  private:
    AccessibleDescription accessible_;
};

struct LabelDesign {
    std::wstring caption;
    FontSpec font;
    Color foreColor = kButtonTextColor;
    bool transparent = true;  // an opaque label fills its box with backColor first
    Color backColor = kButtonFaceColor;
    bool autoSize = false;  // sizes itself to one line of its caption
    bool visible = true;
};

// Left-aligned text without a border, read by assistive technology as static text. Unless it sizes
// itself, the text breaks into lines at word boundaries within the label's width, and a line
// shows only when its letters fit in the label's height down to their baseline: whatever the
// screen's scale makes of the font, no line shows merely its top.
class Label final : public PaintedControl {
  public:
    Label(Form& form, const RECT& bounds, LabelDesign design);

    const std::wstring& Caption() const noexcept { return design_.caption; }
    void SetCaption(std::wstring caption);
    std::wstring Text() const override { return design_.caption; }
    Color ForeColor() const noexcept { return design_.foreColor; }
    void SetForeColor(Color color);

    void Paint(HDC dc) const override;

  private:
    void FitToCaption();

    LabelDesign design_;
    HFONT font_;
};

// A picture at its size for the screen, unseen by assistive technology; the control is as
// large as the picture.
class Image final : public PaintedControl {
  public:
    Image(Form& form, POINT topLeft, Picture picture);

    void Paint(HDC dc) const override;

  private:
    Picture picture_;
};

// A control that is a child window of its form: it takes the focus in tab order, and assistive
// technology reads it through the system's own object for it.
class ChildControl {
  public:
    ChildControl(const ChildControl&) = delete;
    ChildControl& operator=(const ChildControl&) = delete;
    virtual ~ChildControl() = default;

    HWND hWnd() const noexcept { return window_; }
    int TabIndex() const noexcept { return tabIndex_; }

  protected:
    // Creates the window, hidden unless `style` says WS_VISIBLE.
    ChildControl(const Form& form, const wchar_t* windowClass, const std::wstring& text,
                 DWORD style, const RECT& bounds, int id, int tabIndex);

  private:
    HWND window_;
    int tabIndex_;
};

struct ButtonDesign {
    std::wstring caption;
    int tabIndex = 0;
    bool graphical = false;  // the face is painted in backColor
    Color backColor = kButtonFaceColor;
};

// A push button that takes the focus, pressed by a click or by Space.
class PushButton final : public ChildControl {
  public:
    PushButton(Form& form, const RECT& bounds, ButtonDesign design, int id);

    const std::wstring& Caption() const noexcept { return design_.caption; }
    void SetCaption(std::wstring caption);

    // Paints a graphical button's face: its colour, a raised or pressed edge, the caption
    // (greyed when disabled) and the focus mark.
    void DrawFace(const DRAWITEMSTRUCT& item) const;

    EventHandler Click;

  private:
    Form& form_;
    ButtonDesign design_;
};

struct ScrollBarDesign {
    short min = 0;
    short max = 32767;
    short value = 0;
    int tabIndex = 0;
    bool visible = true;
};

// A horizontal scroll bar whose Value is a 16-bit signed integer within [min, max].
class ScrollBar final : public ChildControl {
  public:
    ScrollBar(const Form& form, const RECT& bounds, const ScrollBarDesign& design, int id);

    short Value() const;
    // A value outside the range raises "Invalid property value" (380).
    void SetValue(short value);
};

}  // namespace toolkit
