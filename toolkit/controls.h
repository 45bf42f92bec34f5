#pragma once

#include "toolkit/control_host.h"
#include "toolkit/events.h"
#include "toolkit/fonts.h"
#include "toolkit/handle.h"
#include "toolkit/look.h"
#include "toolkit/picture.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace toolkit {

// A colour as 0x00BBGGRR, or 0x800000nn for the system colour nn (GetSysColor).
using Color = DWORD;
inline constexpr Color kButtonTextColor = 0x80000000 | COLOR_BTNTEXT;
inline constexpr Color kButtonFaceColor = 0x80000000 | COLOR_BTNFACE;
COLORREF ResolveColor(Color color);

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
// and routes the mouse events of the points it covers to it. It is laid out in twips and drawn
// at the scale its form lays it out at.
class PaintedControl {
  public:
    PaintedControl(const PaintedControl&) = delete;
    PaintedControl& operator=(const PaintedControl&) = delete;
    virtual ~PaintedControl() = default;

    // In pixels of the form's client area.
    const RECT& Bounds() const noexcept { return bounds_; }
    bool Visible() const noexcept { return visible_; }

    virtual void Paint(HDC dc, const Look& look) const = 0;
    // Lays the control out, and makes what it draws with, at `scale`, in `fonts`, the form's at
    // that scale: when the form adds it, and again whenever the form's scale changes.
    virtual void Rescale(const Scale& scale, FontSet& fonts);

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
    // Laid out only once Rescale has been called.
    PaintedControl(ControlHost& host, const TwipsRect& position, bool visible,
                   AccessibleDescription accessible);

    // Redraws the area of the form at once.
    void Repaint(const RECT& area) const;
    // Tells assistive technology at once if the name is no longer `nameBefore`.
    void NotifyIfRenamed(const std::wstring& nameBefore) const;

    ControlHost& host_;
    TwipsRect position_;
    RECT bounds_{};
    bool visible_;

  private:
    AccessibleDescription accessible_;
};

// The front-most visible control at a client point, among controls listed front to back; null
// where none lies.
using PaintedControls = std::vector<std::unique_ptr<PaintedControl>>;
PaintedControl* FrontMostAt(const PaintedControls& controls, POINT point);

struct LabelDesign {
    std::wstring caption;
    std::optional<FontSpec> font;  // none: the form's own
    Color foreColor = kButtonTextColor;
    bool transparent = true;  // an opaque label fills its box with backColor first
    Color backColor = kButtonFaceColor;
    bool autoSize = false;  // sizes itself to one line of its caption
    bool visible = true;
};

// Left-aligned text without a border, read by assistive technology as static text. Unless it sizes
// itself, the text breaks into lines at word boundaries within the label's width, and a line
// shows only when its letters fit in the label's height down to their baseline: whatever the
// screen's scale makes of the font, no line shows merely its top. In a contrast theme its text
// takes the theme's colour for text, or for links when assistive technology reads it as a link,
// and an opaque label is filled with the theme's surface.
class Label final : public PaintedControl {
  public:
    Label(ControlHost& host, const TwipsRect& position, LabelDesign design);

    const std::wstring& Caption() const noexcept { return design_.caption; }
    void SetCaption(std::wstring caption);
    std::wstring Text() const override { return design_.caption; }
    Color ForeColor() const noexcept { return design_.foreColor; }
    void SetForeColor(Color color);

    void Paint(HDC dc, const Look& look) const override;
    void Rescale(const Scale& scale, FontSet& fonts) override;

  private:
    void FitToCaption();

    LabelDesign design_;
    Color designedForeColor_;
    HFONT font_ = nullptr;
};

// A button of a title bar that a picture shows (DFCS_CAPTIONMIN, DFCS_CAPTIONCLOSE and the
// like), and where, in twips from the picture's top-left corner.
struct CaptionGlyph {
    UINT button;
    TwipsRect place;
};

// A picture at its size for the form's scale, unseen by assistive technology; the control is
// as large as the picture. In a contrast theme, which leaves decoration out, it shows instead
// only the title-bar buttons that the picture shows, drawn by the system in the theme's colours.
class Image final : public PaintedControl {
  public:
    Image(ControlHost& host, int leftTwips, int topTwips, PictureFile picture,
          std::vector<CaptionGlyph> glyphs);

    void Paint(HDC dc, const Look& look) const override;
    void Rescale(const Scale& scale, FontSet& fonts) override;

  private:
    Picture picture_;
    std::vector<CaptionGlyph> glyphs_;
    std::vector<RECT> glyphBounds_;  // in pixels of the form's client area
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

    // Moves the window to its place at `scale`, and gives it what it draws with, in `fonts`, the
    // form's at that scale: when the form adds it, and again whenever the form's scale changes.
    // It draws nothing: the form redraws itself and its children once all are laid out.
    virtual void Rescale(const Scale& scale, FontSet& fonts);

  protected:
    // Creates the window, hidden unless `style` says WS_VISIBLE, in its place only once Rescale
    // has been called.
    ChildControl(ControlHost& host, const wchar_t* windowClass, const std::wstring& text,
                 DWORD style, const TwipsRect& position, int id, int tabIndex);

    ControlHost& host_;

  private:
    TwipsRect position_;
    HWND window_ = nullptr;
    int tabIndex_;
};

using ChildControls = std::vector<std::unique_ptr<ChildControl>>;

struct ButtonDesign {
    std::wstring caption;
    int tabIndex = 0;
    bool graphical = false;  // the face is painted in backColor
    Color backColor = kButtonFaceColor;
};

// A push button that takes the focus, pressed by a click or by Space.
class PushButton final : public ChildControl {
  public:
    PushButton(ControlHost& host, const TwipsRect& position, ButtonDesign design, int id);

    const std::wstring& Caption() const noexcept { return design_.caption; }
    void SetCaption(std::wstring caption);

    // Paints a graphical button's face: its colour, a raised or pressed edge, the caption
    // (greyed when disabled) and the focus mark; in a contrast theme the system's own face and
    // edge, in the theme's colours.
    void DrawFace(const DRAWITEMSTRUCT& item, const Look& look) const;
    // Moves the button, and gives it the form's own font.
    void Rescale(const Scale& scale, FontSet& fonts) override;

    EventHandler Click;

  private:
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
    ScrollBar(ControlHost& host, const TwipsRect& position, const ScrollBarDesign& design, int id);

    short Value() const;
    // A value outside the range raises "Invalid property value" (380).
    void SetValue(short value);
};

}  // namespace toolkit
