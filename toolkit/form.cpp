#include "toolkit/form.h"

#include "toolkit/form_window_class.h"
#include "toolkit/message_box.h"
#include "toolkit/run_time_error.h"
#include "toolkit/screen.h"
#include "toolkit/unhandled_error.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace toolkit {
namespace {

constexpr int kFirstChildId = 100;

void RegisterWindowClass(WNDPROC procedure) {
    static const ATOM atom = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kFormWindowClass;
        return RegisterClassExW(&windowClass);
    }();
    if (atom == 0) {
        throw RunTimeError(kOutOfMemory);
    }
}

POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

// Where a window of `size` wanted at `wanted` goes: moved as little as it takes to lie on the work
// area, or, where it is larger than that, with its top-left corner on the work area's, so that
// its title and its own buttons can be reached.
POINT OnWorkArea(POINT wanted, SIZE size, const RECT& workArea) {
    return {std::max(workArea.left, std::min(wanted.x, workArea.right - size.cx)),
            std::max(workArea.top, std::min(wanted.y, workArea.bottom - size.cy))};
}

int HeldButtons(WPARAM keys) {
    return ((keys & MK_LBUTTON) != 0 ? kLeftButton : 0) |
           ((keys & MK_RBUTTON) != 0 ? kRightButton : 0) |
           ((keys & MK_MBUTTON) != 0 ? kMiddleButton : 0);
}

}  // namespace

Form::Form(FormDesign design)
    : widthTwips_(static_cast<float>(design.clientWidth)),
      heightTwips_(static_cast<float>(design.clientHeight)),
      picture_(std::move(design.picture)),
      icon_(ProgramIcon()),
      fonts_(scale_, std::move(design.faces), design.font) {
    SetApplicationTitle(std::move(design.applicationTitle));
    RegisterWindowClass(WindowProcedure);
    // Made where it will open, on the primary monitor, so that Windows tells it that monitor's
    // scale; borderless, so the outer size is the client size.
    const RECT workArea = WorkAreaOf();
    CreateWindowExW(0, kFormWindowClass, design.caption.c_str(),
                    WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, workArea.left,
                    workArea.top, 0, 0, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) {
        throw RunTimeError(kOutOfMemory);
    }
    scale_ = Scale(DpiOf(window_));
    fonts_ = fonts_.AtScale(scale_);
    picture_.ScaleTo(scale_);
    FitToSize();
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

Form::~Form() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
}

SIZE Form::SizeAt(const Scale& scale) const {
    return {scale.PixelsX(widthTwips_), scale.PixelsY(heightTwips_)};
}

void Form::FitToSize() const {
    if (IsIconic(window_)) {
        FitRestoredToSize();
        return;
    }
    const SIZE size = SizeAt(scale_);
    SetWindowPos(window_, nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

float Form::Width() const {
    return widthTwips_;
}

void Form::SetWidth(float twips) {
    widthTwips_ = twips;
    FitToSize();
}

float Form::Height() const {
    return heightTwips_;
}

void Form::SetHeight(float twips) {
    heightTwips_ = twips;
    FitToSize();
}

int Form::WindowState() const {
    if (IsIconic(window_)) {
        return kMinimized;
    }
    return IsZoomed(window_) ? kMaximized : kNormal;
}

void Form::SetWindowState(int state) {
    switch (state) {
        case kNormal:
            ShowWindow(window_, SW_RESTORE);
            break;
        case kMinimized:
            ShowWindow(window_, SW_MINIMIZE);
            break;
        case kMaximized:
            ShowWindow(window_, SW_MAXIMIZE);
            break;
        default:
            throw RunTimeError(kInvalidPropertyValue);
    }
}

template <typename Control>
Control& Form::AddPainted(std::unique_ptr<Control> control) {
    control->Rescale(scale_, fonts_);
    Control& added = *control;
    painted_.push_back(std::move(control));
    return added;
}

Label& Form::AddLabel(const TwipsRect& position, LabelDesign design) {
    return AddPainted(std::make_unique<Label>(*this, position, std::move(design)));
}

Image& Form::AddImage(int leftTwips, int topTwips, PictureFile picture,
                      std::vector<CaptionGlyph> glyphs) {
    return AddPainted(
        std::make_unique<Image>(*this, leftTwips, topTwips, std::move(picture), std::move(glyphs)));
}

template <typename Control>
Control& Form::AddChild(std::unique_ptr<Control> control) {
    control->Rescale(scale_, fonts_);
    // Each child window added lies behind those added before it.
    SetWindowPos(control->hWnd(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Control& added = *control;
    children_.push_back(std::move(control));
    return added;
}

PushButton& Form::AddPushButton(const TwipsRect& position, ButtonDesign design) {
    const int id = kFirstChildId + static_cast<int>(children_.size());
    return AddChild(std::make_unique<PushButton>(*this, position, std::move(design), id));
}

ScrollBar& Form::AddScrollBar(const TwipsRect& position, const ScrollBarDesign& design) {
    const int id = kFirstChildId + static_cast<int>(children_.size());
    return AddChild(std::make_unique<ScrollBar>(*this, position, design, id));
}

void Form::NotifyNameChange(const PaintedControl& control) const {
    accessibility_.NotifyNameChange(&control);
}

void Form::NotifyNameChange(HWND child) const {
    accessibility_.NotifyNameChange(child);
}

void Form::LoadAndShow() {
    Raise(Load);
    // Centred on the work area of its monitor.
    const RECT workArea = WorkAreaOf(window_);
    const SIZE size = SizeAt(scale_);
    const POINT place = OnWorkArea({(workArea.left + workArea.right - size.cx) / 2,
                                    (workArea.top + workArea.bottom - size.cy) / 2},
                                   size, workArea);
    SetWindowPos(window_, nullptr, place.x, place.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    tabOrder_.FocusFirst();
    UpdateWindow(window_);
}

bool Form::PreTranslateMessage(const MSG& message) {
    if (message.message != WM_KEYDOWN) {
        return false;
    }
    const HWND focus = GetFocus();
    if (focus == nullptr || (focus != window_ && !IsChild(window_, focus))) {
        return false;
    }
    switch (message.wParam) {
        case VK_TAB:
            tabOrder_.Move(focus, GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_RETURN:
            // As in a dialog, Enter presses the focused push button; there is no default button.
            if (const PushButton* const button = ButtonOf(focus)) {
                Raise(button->Click);
                return true;
            }
            return false;
        default:
            return false;
    }
}

PaintedControl* Form::ControlAt(POINT point) const {
    return FrontMostAt(painted_, point);
}

void Form::Paint(HDC dc) const {
    const SavedDcState state(dc);
    RECT client{};
    GetClientRect(window_, &client);
    if (look_.contrast) {
        FillWithColor(dc, client, look_.surface);
    } else {
        FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
        picture_.Draw(dc, 0, 0);
    }
    for (auto control = painted_.rbegin(); control != painted_.rend(); ++control) {
        if ((*control)->Visible()) {
            (*control)->Paint(dc, look_);
        }
    }
    if (look_.contrast) {
        OutlineEdge(dc);
    }
}

void Form::OutlineEdge(HDC dc) const {
    // Along the window's shape, one pixel of the design wide, so that the window stands out
    // against any desktop as a framed window does.
    const UniqueRegion shape(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window_, shape.get()) == ERROR) {
        RECT client{};
        GetClientRect(window_, &client);
        SetRectRgn(shape.get(), 0, 0, client.right, client.bottom);
    }
    const int width = scale_.FromDesignPixels(1);
    SetDCBrushColor(dc, look_.edge);
    FrameRgn(dc, shape.get(), static_cast<HBRUSH>(GetStockObject(DC_BRUSH)), width, width);
}

void Form::OnPaint() {
    const PaintDc paint(window_);
    RECT client{};
    GetClientRect(window_, &client);
    // Painting into a memory bitmap first keeps the picture from flickering under the labels.
    const UniqueMemoryDc memory(CreateCompatibleDC(paint.get()));
    const UniqueBitmap canvas(CreateCompatibleBitmap(paint.get(), client.right, client.bottom));
    const SelectionGuard select(memory.get(), canvas.get());
    Paint(memory.get());
    BitBlt(paint.get(), 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
}

MouseEventArgs Form::MouseArgs(int button, WPARAM keys, POINT point,
                               const PaintedControl* control) const {
    if (control != nullptr) {
        point.x -= control->Bounds().left;
        point.y -= control->Bounds().top;
    }
    return {button, keys, static_cast<float>(point.x) * scale_.TwipsPerPixelX(),
            static_cast<float>(point.y) * scale_.TwipsPerPixelY()};
}

void Form::OnButtonDown(int button, WPARAM keys, POINT point) {
    PaintedControl* const control = ControlAt(point);
    pressed_ = control;
    pressedButton_ = button;
    capturing_ = true;
    SetCapture(window_);
    Raise(control != nullptr ? control->MouseDown : MouseDown,
          MouseArgs(button, keys, point, control));
}

void Form::OnButtonUp(int button, POINT point) {
    if (!capturing_ || button != pressedButton_) {
        return;
    }
    PaintedControl* const control = pressed_;
    ReleaseCapture();
    // A click is a left press and release on the same control.
    if (button == kLeftButton && control != nullptr && ControlAt(point) == control) {
        Raise(control->Click);
    }
}

void Form::OnMouseMove(WPARAM keys, POINT point) {
    // While a button is held the control it went down on keeps the mouse.
    PaintedControl* const control = capturing_ ? pressed_ : ControlAt(point);
    Raise(control != nullptr ? control->MouseMove : MouseMove,
          MouseArgs(HeldButtons(keys), keys, point, control));
}

PushButton* Form::ButtonOf(HWND window) const {
    for (const auto& child : children_) {
        if (child->hWnd() == window) {
            return dynamic_cast<PushButton*>(child.get());
        }
    }
    return nullptr;
}

void Form::OnCommand(WORD notification, HWND control) {
    const PushButton* const button = ButtonOf(control);
    if (button == nullptr) {
        return;
    }
    switch (notification) {
        case BN_CLICKED:
        case BN_DOUBLECLICKED:  // a quick second click
            Raise(button->Click);
            break;
        case BN_SETFOCUS:
            // Every push button reports the focus it takes: the one place that tracks it.
            tabOrder_.Track(control);
            break;
        default:
            break;
    }
}

void Form::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (const PushButton* const button = ButtonOf(item.hwndItem)) {
        button->DrawFace(item, look_);
    }
}

void Form::OnSize(WPARAM kind) {
    // A window manager may activate the window while it is still minimised, when no control
    // can take the focus; it can once the window is restored.
    if (kind != SIZE_MINIMIZED && GetActiveWindow() == window_) {
        tabOrder_.Restore();
    }
}

bool Form::TakesScaleChange(UINT dpi) const {
    // A window Windows stretches follows no scale of its own; and a DPI no monitor has is not
    // Windows' either: either leaves the window as it is.
    return FollowsMonitorScale(window_) && Scale::IsMonitorDpi(dpi);
}

void Form::OnDpiChanged(UINT dpi, const RECT& suggested) {
    scale_ = Scale(dpi);
    FontSet fonts = fonts_.AtScale(scale_);
    picture_.ScaleTo(scale_);
    for (const auto& control : painted_) {
        control->Rescale(scale_, fonts);
    }
    for (const auto& child : children_) {
        child->Rescale(scale_, fonts);
    }
    // The fonts of the old scale go once the controls hold those of the new one.
    fonts_ = std::move(fonts);
    if (IsIconic(window_)) {
        // Windows suggests the parked icon's rectangle, scaled: the window takes its new size
        // where it will be restored instead.
        FitRestoredToSize();
    } else {
        // As suggested, even in the middle of a drag onto another monitor, so that the drag goes
        // on. What the window showed at the old scale is of no use at the new one.
        SetWindowPos(window_, nullptr, suggested.left, suggested.top,
                     suggested.right - suggested.left, suggested.bottom - suggested.top,
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
    InvokeHandler(ScaleChanged);
    // Everything is drawn once, at the new scale, when the thread is next idle.
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Form::FitRestoredToSize() const {
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (!GetWindowPlacement(window_, &placement)) {
        return;
    }
    // The restored rectangle is in workspace coordinates, which start at the top-left corner of
    // the primary monitor's work area; MonitorFromWindow takes a minimised window's restored
    // rectangle.
    const RECT primary = WorkAreaOf();
    const POINT wanted{placement.rcNormalPosition.left + primary.left,
                       placement.rcNormalPosition.top + primary.top};
    const SIZE size = SizeAt(scale_);
    const POINT place = OnWorkArea(wanted, size, WorkAreaOf(window_));
    placement.rcNormalPosition = {place.x - primary.left, place.y - primary.top,
                                  place.x - primary.left + size.cx,
                                  place.y - primary.top + size.cy};
    placement.showCmd = SW_SHOWMINNOACTIVE;
    SetWindowPlacement(window_, &placement);
}

void Form::OnSystemLookChanged() {
    look_ = SystemLook();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void Form::OnClose() {
    // Closing the main form (Alt+F4, the taskbar) ends the program; not while a box is open.
    if (TakesInput()) {
        DestroyWindow(window_);
        PostQuitMessage(0);
    }
}

LRESULT CALLBACK Form::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* const form =
            static_cast<Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        form->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
    }
    auto* const form = reinterpret_cast<Form*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (form == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_NCDESTROY) {
        form->accessibility_.Disconnect();
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        form->window_ = nullptr;
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return Guarded([&] { return form->HandleMessage(message, wParam, lParam); });
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wParam));
            return 0;
        case WM_LBUTTONDOWN:
            OnButtonDown(kLeftButton, wParam, PointOf(lParam));
            return 0;
        case WM_RBUTTONDOWN:
            OnButtonDown(kRightButton, wParam, PointOf(lParam));
            return 0;
        case WM_MBUTTONDOWN:
            OnButtonDown(kMiddleButton, wParam, PointOf(lParam));
            return 0;
        case WM_LBUTTONUP:
            OnButtonUp(kLeftButton, PointOf(lParam));
            return 0;
        case WM_RBUTTONUP:
            OnButtonUp(kRightButton, PointOf(lParam));
            return 0;
        case WM_MBUTTONUP:
            OnButtonUp(kMiddleButton, PointOf(lParam));
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(wParam, PointOf(lParam));
            return 0;
        case WM_CAPTURECHANGED:
            capturing_ = false;
            pressed_ = nullptr;
            return 0;
        case WM_COMMAND:
            OnCommand(HIWORD(wParam), reinterpret_cast<HWND>(lParam));
            return 0;
        case WM_DRAWITEM:
            OnDrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_SIZE:
            OnSize(wParam);
            return 0;
        case WM_SETFOCUS:
            tabOrder_.Restore();
            return 0;
        case WM_GETOBJECT:
            return accessibility_.OnGetObject(wParam, lParam);
        case WM_TIMER:
            if (!accessibility_.OnTimer(wParam)) {
                return DefWindowProcW(window_, message, wParam, lParam);
            }
            return 0;
        case WM_CLOSE:
            OnClose();
            return 0;
        case kGetDpiScaledSizeMessage:
            if (!TakesScaleChange(LOWORD(wParam)) || lParam == 0) {
                return DefWindowProcW(window_, message, wParam, lParam);
            }
            *reinterpret_cast<SIZE*>(lParam) = SizeAt(Scale(LOWORD(wParam)));
            return TRUE;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETHIGHCONTRAST) {
                OnSystemLookChanged();
            }
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_SYSCOLORCHANGE:
            // Only top-level windows hear of new colours from the system: the children, from
            // their parent.
            for (const auto& child : children_) {
                SendMessageW(child->hWnd(), message, wParam, lParam);
            }
            OnSystemLookChanged();
            return 0;
        case WM_THEMECHANGED:
            OnSystemLookChanged();
            return 0;
        case WM_DPICHANGED:
            if (!TakesScaleChange(LOWORD(wParam))) {
                return DefWindowProcW(window_, message, wParam, lParam);
            }
            // Windows always suggests where the window goes; without that there is no change.
            if (const auto* suggested = reinterpret_cast<const RECT*>(lParam);
                suggested != nullptr && !IsRectEmpty(suggested)) {
                OnDpiChanged(LOWORD(wParam), *suggested);
            }
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

int Run(Form& form) {
    form.LoadAndShow();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!Guarded([&] { return form.PreTranslateMessage(message); })) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return static_cast<int>(message.wParam);
}

}  // namespace toolkit
