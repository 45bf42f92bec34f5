#include "toolkit/controls.h"

#include "toolkit/run_time_error.h"

#include <oleacc.h>

#include <algorithm>
#include <utility>

namespace toolkit {
namespace {

constexpr UINT kLabelFormat = DT_LEFT | DT_TOP | DT_NOPREFIX;

// Where the lines that a word-wrapping label in `box` shows end, in the DC's font: a line shows
// when its letters fit down to their baseline, and the first line always does. A line with only
// its top inside the box is left out; the last line shown may lose the tails of letters below
// the baseline, as it does at the scale the window is designed for.
LONG BottomOfShownLines(HDC dc, const RECT& box) {
    TEXTMETRICW metrics{};
    if (!GetTextMetricsW(dc, &metrics) || metrics.tmHeight <= 0) {
        return box.bottom;
    }
    const LONG height = box.bottom - box.top;
    const LONG lines =
        height > metrics.tmAscent ? (height - metrics.tmAscent) / metrics.tmHeight + 1 : 1;
    return std::min(box.bottom, box.top + lines * metrics.tmHeight);
}

// The same font underlined.
UniqueFont UnderlinedCopy(HFONT font) {
    LOGFONTW description{};
    GetObjectW(font, sizeof description, &description);
    description.lfUnderline = TRUE;
    return UniqueFont(CreateFontIndirectW(&description));
}

}  // namespace

COLORREF ResolveColor(Color color) {
    // What OleTranslateColor gives without a palette, without loading oleaut32 at start: an
    // RGB value (0x00bbggrr, or palette-relative 0x02bbggrr) and a palette index (0x01......)
    // stand for themselves, 0x80....xx is system colour xx where the system has one, anything
    // else is no colour.
    const DWORD kind = color >> 24;
    if (kind == 0x00 || kind == 0x01 || kind == 0x02) {
        return color;
    }
    const int index = static_cast<int>(color & 0xFF);
    if (kind == 0x80 && GetSysColorBrush(index) != nullptr) {
        return GetSysColor(index);
    }
    throw RunTimeError(kInvalidPropertyValue);
}

AccessibleDescription LinkDescription() {
    return {ROLE_SYSTEM_LINK, L"", L"Jump"};
}

AccessibleDescription PushButtonDescription(std::wstring name) {
    return {ROLE_SYSTEM_PUSHBUTTON, std::move(name), L"Press"};
}

PaintedControl::PaintedControl(ControlHost& host, const TwipsRect& position, bool visible,
                               AccessibleDescription accessible)
    : host_(host), position_(position), visible_(visible), accessible_(std::move(accessible)) {}

void PaintedControl::Rescale(const Scale& scale, FontSet& /*fonts*/) {
    bounds_ = scale.Pixels(position_);
}

PaintedControl* FrontMostAt(const PaintedControls& controls, POINT point) {
    for (const auto& control : controls) {
        if (control->Visible() && PtInRect(&control->Bounds(), point)) {
            return control.get();
        }
    }
    return nullptr;
}

void PaintedControl::SetAccessible(AccessibleDescription description) {
    const std::wstring before = AccessibleName();
    accessible_ = std::move(description);
    NotifyIfRenamed(before);
}

void PaintedControl::NotifyIfRenamed(const std::wstring& nameBefore) const {
    if (AccessibleName() != nameBefore) {
        host_.NotifyNameChange(*this);
    }
}

std::wstring PaintedControl::AccessibleName() const {
    return accessible_.name.empty() ? Text() : accessible_.name;
}

void PaintedControl::Repaint(const RECT& area) const {
    InvalidateRect(host_.hWnd(), &area, FALSE);
    UpdateWindow(host_.hWnd());
}

Label::Label(ControlHost& host, const TwipsRect& position, LabelDesign design)
    : PaintedControl(host, position, design.visible, {ROLE_SYSTEM_STATICTEXT, L"", L""}),
      design_(std::move(design)),
      designedForeColor_(design_.foreColor) {}

void Label::Rescale(const Scale& scale, FontSet& fonts) {
    PaintedControl::Rescale(scale, fonts);
    font_ = fonts.Of(design_.font);
    if (design_.autoSize) {
        FitToCaption();
    }
}

void Label::SetCaption(std::wstring caption) {
    const RECT before = bounds_;
    const std::wstring nameBefore = AccessibleName();
    design_.caption = std::move(caption);
    if (design_.autoSize) {
        FitToCaption();
    }
    if (visible_) {
        RECT changed;
        UnionRect(&changed, &before, &bounds_);
        Repaint(changed);
    }
    NotifyIfRenamed(nameBefore);
}

void Label::SetForeColor(Color color) {
    // The resolved colour is not kept: this only checks that `color` is one, raising "Invalid
    // property value" for one that is none before anything changes.
    ResolveColor(color);
    // Handlers may set a colour on every move of the mouse: only a change is painted.
    if (color == design_.foreColor) {
        return;
    }
    design_.foreColor = color;
    if (visible_) {
        Repaint(bounds_);
    }
}

void Label::FitToCaption() {
    const WindowDc screen(nullptr);
    const SelectionGuard font(screen.get(), font_);
    RECT needed{0, 0, 0, 0};
    DrawTextW(screen.get(), design_.caption.c_str(), static_cast<int>(design_.caption.size()),
              &needed, kLabelFormat | DT_SINGLELINE | DT_CALCRECT);
    bounds_.right = bounds_.left + needed.right;
    bounds_.bottom = bounds_.top + needed.bottom;
}

void Label::Paint(HDC dc, const Look& look) const {
    RECT box = bounds_;
    if (!design_.transparent) {
        if (look.contrast) {
            FillWithColor(dc, box, look.surface);
        } else {
            const UniqueBrush back(CreateSolidBrush(ResolveColor(design_.backColor)));
            FillRect(dc, &box, back.get());
        }
    }
    // A contrast theme has one colour for links: a link that its window shows under the pointer
    // by another colour than its own is underlined instead, as Windows shows one then.
    const bool link = look.contrast && Accessible().role == ROLE_SYSTEM_LINK;
    const UniqueFont underlined(
        link && design_.foreColor != designedForeColor_ ? UnderlinedCopy(font_) : UniqueFont());
    const SelectionGuard font(dc, underlined ? underlined.get() : font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, !look.contrast ? ResolveColor(design_.foreColor)
                     : link         ? look.link
                                    : look.text);
    if (!design_.autoSize) {
        box.bottom = BottomOfShownLines(dc, box);
    }
    DrawTextW(dc, design_.caption.c_str(), static_cast<int>(design_.caption.size()), &box,
              kLabelFormat | (design_.autoSize ? DT_SINGLELINE : DT_WORDBREAK));
}

Image::Image(ControlHost& host, int leftTwips, int topTwips, PictureFile picture,
             std::vector<CaptionGlyph> glyphs)
    : PaintedControl(host, {leftTwips, topTwips, 0, 0}, true, {}),
      picture_(std::move(picture)),
      glyphs_(std::move(glyphs)) {}

void Image::Rescale(const Scale& scale, FontSet& fonts) {
    PaintedControl::Rescale(scale, fonts);
    picture_.ScaleTo(scale);
    bounds_.right = bounds_.left + picture_.Size().cx;
    bounds_.bottom = bounds_.top + picture_.Size().cy;
    glyphBounds_.clear();
    for (const CaptionGlyph& glyph : glyphs_) {
        glyphBounds_.push_back(
            scale.Pixels({position_.left + glyph.place.left, position_.top + glyph.place.top,
                          glyph.place.width, glyph.place.height}));
    }
}

void Image::Paint(HDC dc, const Look& look) const {
    if (!look.contrast) {
        picture_.Draw(dc, bounds_.left, bounds_.top);
        return;
    }
    for (std::size_t index = 0; index < glyphs_.size(); ++index) {
        RECT place = glyphBounds_[index];
        DrawFrameControl(dc, &place, DFC_CAPTION, glyphs_[index].button);
    }
}

ChildControl::ChildControl(ControlHost& host, const wchar_t* windowClass, const std::wstring& text,
                           DWORD style, const TwipsRect& position, int id, int tabIndex)
    : host_(host), position_(position), tabIndex_(tabIndex) {
    window_ = CreateWindowExW(0, windowClass, text.c_str(), WS_CHILD | style, 0, 0, 0, 0,
                              host.hWnd(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              GetModuleHandleW(nullptr), nullptr);
    if (window_ == nullptr) {
        throw RunTimeError(kOutOfMemory);
    }
}

void ChildControl::Rescale(const Scale& scale, FontSet& /*fonts*/) {
    // Drawn by the form with everything else once the whole form is laid out.
    const RECT bounds = scale.Pixels(position_);
    SetWindowPos(window_, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                 bounds.bottom - bounds.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS);
}

PushButton::PushButton(ControlHost& host, const TwipsRect& position, ButtonDesign design, int id)
    : ChildControl(
          host, L"BUTTON", design.caption,
          WS_VISIBLE | WS_TABSTOP | BS_NOTIFY | (design.graphical ? BS_OWNERDRAW : BS_PUSHBUTTON),
          position, id, design.tabIndex),
      design_(std::move(design)) {}

void PushButton::Rescale(const Scale& scale, FontSet& fonts) {
    ChildControl::Rescale(scale, fonts);
    SendMessageW(hWnd(), WM_SETFONT, reinterpret_cast<WPARAM>(fonts.Of(std::nullopt)), FALSE);
}

void PushButton::SetCaption(std::wstring caption) {
    const bool changed = caption != design_.caption;
    design_.caption = std::move(caption);
    SetWindowTextW(hWnd(), design_.caption.c_str());
    if (design_.graphical) {
        InvalidateRect(hWnd(), nullptr, FALSE);
    }
    UpdateWindow(hWnd());
    if (changed) {
        host_.NotifyNameChange(hWnd());
    }
}

void PushButton::DrawFace(const DRAWITEMSTRUCT& item, const Look& look) const {
    const HDC dc = item.hDC;
    const SavedDcState state(dc);
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;

    RECT face = item.rcItem;
    if (focused) {
        // A focused button gets a dark outline, as a default-looking button does.
        FrameRect(dc, &face, GetSysColorBrush(COLOR_WINDOWFRAME));
        InflateRect(&face, -1, -1);
    }
    if (look.contrast) {
        RECT edge = face;
        DrawFrameControl(dc, &edge, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    } else {
        const UniqueBrush back(CreateSolidBrush(ResolveColor(design_.backColor)));
        FillRect(dc, &face, back.get());
        if (pressed) {
            FrameRect(dc, &face, GetSysColorBrush(COLOR_BTNSHADOW));
        } else {
            DrawEdge(dc, &face, EDGE_RAISED, BF_RECT);
        }
    }

    RECT text = face;
    if (pressed) {
        OffsetRect(&text, 1, 1);
    }
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hWnd(), WM_GETFONT, 0, 0)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
    DrawTextW(dc, design_.caption.c_str(), static_cast<int>(design_.caption.size()), &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    if (focused) {
        RECT mark = face;
        InflateRect(&mark, -3, -3);
        DrawFocusRect(dc, &mark);
    }
}

ScrollBar::ScrollBar(ControlHost& host, const TwipsRect& position, const ScrollBarDesign& design,
                     int id)
    : ChildControl(host, L"SCROLLBAR", L"", SBS_HORZ | (design.visible ? WS_VISIBLE : 0), position,
                   id, design.tabIndex) {
    SetScrollRange(hWnd(), SB_CTL, design.min, design.max, FALSE);
    SetValue(design.value);
}

short ScrollBar::Value() const {
    return static_cast<short>(GetScrollPos(hWnd(), SB_CTL));
}

void ScrollBar::SetValue(short value) {
    int min = 0;
    int max = 0;
    GetScrollRange(hWnd(), SB_CTL, &min, &max);
    if (value < min || value > max) {
        throw RunTimeError(kInvalidPropertyValue);
    }
    SetScrollPos(hWnd(), SB_CTL, value, TRUE);
}

}  // namespace toolkit
