#include "toolkit/form.h"

#include "toolkit/run_time_error.h"
#include "toolkit/screen.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <utility>

namespace toolkit {
namespace {

constexpr wchar_t kWindowClass[] = L"ToolkitForm";
constexpr int kFirstButtonId = 100;
// Posted to the form to raise a painted control's Click; wParam is the control's index.
constexpr UINT kDefaultActionMessage = WM_APP;

void RegisterWindowClass(WNDPROC procedure) {
    static const ATOM atom = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass);
    }();
    if (atom == 0) {
        throw RunTimeError(kOutOfMemory);
    }
}

POINT PointOf(LPARAM lParam) {
    return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

int HeldButtons(WPARAM keys) {
    return ((keys & MK_LBUTTON) != 0 ? kLeftButton : 0) |
           ((keys & MK_RBUTTON) != 0 ? kRightButton : 0) |
           ((keys & MK_MBUTTON) != 0 ? kMiddleButton : 0);
}

}  // namespace

Form::Form(FormDesign design) : picture_(std::move(design.picture)), icon_(ProgramIcon()) {
    RegisterWindowClass(WindowProcedure);
    // Borderless, so the outer size is the client size.
    CreateWindowExW(0, kWindowClass, design.caption.c_str(),
                    WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0,
                    TwipsToPixelsX(design.clientWidth), TwipsToPixelsY(design.clientHeight),
                    nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) {
        throw RunTimeError(kOutOfMemory);
    }
    SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_.get()));
    SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_.get()));
}

Form::~Form() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
    }
    DisconnectAccessible();
}

float Form::Width() const {
    RECT bounds{};
    GetWindowRect(window_, &bounds);
    return static_cast<float>(bounds.right - bounds.left) * TwipsPerPixelX();
}

void Form::SetWidth(float twips) {
    SetWindowPos(window_, nullptr, 0, 0, TwipsToPixelsX(twips), TwipsToPixelsY(Height()),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

float Form::Height() const {
    RECT bounds{};
    GetWindowRect(window_, &bounds);
    return static_cast<float>(bounds.bottom - bounds.top) * TwipsPerPixelY();
}

void Form::SetHeight(float twips) {
    SetWindowPos(window_, nullptr, 0, 0, TwipsToPixelsX(Width()), TwipsToPixelsY(twips),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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

RECT Form::ToPixels(const TwipsRect& position) const {
    const int left = TwipsToPixelsX(position.left);
    const int top = TwipsToPixelsY(position.top);
    return {left, top, left + TwipsToPixelsX(position.width),
            top + TwipsToPixelsY(position.height)};
}

Label& Form::AddLabel(const TwipsRect& position, LabelDesign design) {
    painted_.push_back(std::make_unique<Label>(*this, ToPixels(position), std::move(design)));
    return static_cast<Label&>(*painted_.back());
}

Image& Form::AddImage(int leftTwips, int topTwips, Picture picture) {
    const POINT topLeft{TwipsToPixelsX(leftTwips), TwipsToPixelsY(topTwips)};
    painted_.push_back(std::make_unique<Image>(*this, topLeft, std::move(picture)));
    return static_cast<Image&>(*painted_.back());
}

PushButton& Form::AddPushButton(const TwipsRect& position, ButtonDesign design) {
    const int id = kFirstButtonId + static_cast<int>(buttons_.size());
    buttons_.push_back(
        std::make_unique<PushButton>(*this, ToPixels(position), std::move(design), id));
    // Each child window added lies behind those added before it.
    SetWindowPos(buttons_.back()->hWnd(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return *buttons_.back();
}

ScrollBar& Form::AddScrollBar(const TwipsRect& position, const ScrollBarDesign& design) {
    scrollBars_.push_back(std::make_unique<ScrollBar>(*this, ToPixels(position), design));
    SetWindowPos(scrollBars_.back()->hWnd(), HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return *scrollBars_.back();
}

HFONT Form::Font(const FontSpec& spec) {
    const auto same = [&spec](const auto& entry) {
        return entry.first.points == spec.points && entry.first.weight == spec.weight;
    };
    const auto found = std::find_if(fonts_.begin(), fonts_.end(), same);
    if (found != fonts_.end()) {
        return found->second.get();
    }
    const float pixelsPerInch = 1440.0f / TwipsPerPixelY();
    const int height = -static_cast<int>(std::lround(spec.points * pixelsPerInch / 72.0));
    UniqueFont font(CreateFontW(height, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
    if (!font) {
        throw RunTimeError(kOutOfMemory);
    }
    fonts_.emplace_back(spec, std::move(font));
    return fonts_.back().second.get();
}

void Form::LoadAndShow() {
    InvokeHandler(Load);
    RECT bounds{};
    GetWindowRect(window_, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    SetWindowPos(window_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(window_, SW_SHOW);
    SetForegroundWindow(window_);
    const std::vector<HWND> stops = TabStops();
    if (!stops.empty()) {
        SetFocus(stops.front());
    }
    UpdateWindow(window_);
}

std::vector<HWND> Form::TabStops() const {
    std::vector<std::pair<int, HWND>> ordered;
    for (const auto& button : buttons_) {
        ordered.emplace_back(button->TabIndex(), button->hWnd());
    }
    for (const auto& bar : scrollBars_) {
        ordered.emplace_back(bar->TabIndex(), bar->hWnd());
    }
    std::sort(ordered.begin(), ordered.end());
    std::vector<HWND> stops;
    for (const auto& [index, window] : ordered) {
        if (IsWindowVisible(window) && IsWindowEnabled(window)) {
            stops.push_back(window);
        }
    }
    return stops;
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
            MoveFocus(focus, GetKeyState(VK_SHIFT) < 0);
            return true;
        case VK_RETURN:
            // As in a dialog, Enter presses the focused push button; there is no default button.
            if (const PushButton* const button = ButtonOf(focus)) {
                InvokeHandler(button->Click);
                return true;
            }
            return false;
        default:
            return false;
    }
}

void Form::MoveFocus(HWND focus, bool backwards) {
    const std::vector<HWND> stops = TabStops();
    if (stops.empty()) {
        return;
    }
    const auto count = static_cast<std::ptrdiff_t>(stops.size());
    const std::ptrdiff_t current = std::find(stops.begin(), stops.end(), focus) - stops.begin();
    std::ptrdiff_t next = 0;
    if (current == count) {
        next = backwards ? count - 1 : 0;
    } else {
        next = (current + (backwards ? count - 1 : 1)) % count;
    }
    SetFocus(stops[static_cast<std::size_t>(next)]);
}

PaintedControl* Form::ControlAt(POINT point) const {
    for (const auto& control : painted_) {
        if (control->Visible() && PtInRect(&control->Bounds(), point)) {
            return control.get();
        }
    }
    return nullptr;
}

std::vector<AccessibleElement> Form::AccessibleElements() const {
    std::vector<AccessibleElement> elements;
    for (const auto& control : painted_) {
        if (control->Visible() && control->Accessible().role != 0) {
            elements.push_back({control.get(), nullptr, control->Bounds()});
        }
    }
    std::vector<HWND> children;
    for (const auto& button : buttons_) {
        children.push_back(button->hWnd());
    }
    for (const auto& bar : scrollBars_) {
        children.push_back(bar->hWnd());
    }
    for (const HWND child : children) {
        // The child's own style: IsWindowVisible would also ask whether the form is shown.
        if ((GetWindowLongW(child, GWL_STYLE) & WS_VISIBLE) != 0) {
            RECT bounds{};
            GetWindowRect(child, &bounds);
            MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&bounds), 2);
            elements.push_back({nullptr, child, bounds});
        }
    }
    // A row takes the elements whose tops lie above the middle of its topmost one, so a line
    // of controls a few pixels out of step still reads left to right.
    const auto byTop = [](const auto& a, const auto& b) { return a.bounds.top < b.bounds.top; };
    const auto byLeft = [](const auto& a, const auto& b) { return a.bounds.left < b.bounds.left; };
    std::stable_sort(elements.begin(), elements.end(), byTop);
    for (auto row = elements.begin(); row != elements.end();) {
        const LONG middle = (row->bounds.top + row->bounds.bottom) / 2;
        const auto next = std::find_if(row, elements.end(),
                                       [middle](const auto& e) { return e.bounds.top >= middle; });
        std::stable_sort(row, next, byLeft);
        row = next;
    }
    return elements;
}

void Form::PerformDefaultAction(const PaintedControl& control) {
    const auto found = std::find_if(painted_.begin(), painted_.end(),
                                    [&control](const auto& c) { return c.get() == &control; });
    if (found != painted_.end()) {
        PostMessageW(window_, kDefaultActionMessage, static_cast<WPARAM>(found - painted_.begin()),
                     0);
    }
}

void Form::OnDefaultAction(WPARAM index) {
    // The index comes from a message anyone could post: check it before use.
    if (index >= painted_.size()) {
        return;
    }
    const PaintedControl& control = *painted_[index];
    if (control.Visible() && !control.Accessible().defaultAction.empty()) {
        InvokeHandler(control.Click);
    }
}

void Form::NotifyNameChange(const PaintedControl& control) const {
    NotifyNameChange(&control, nullptr);
}

void Form::NotifyNameChange(HWND child) const {
    NotifyNameChange(nullptr, child);
}

void Form::NotifyNameChange(const PaintedControl* painted, HWND child) const {
    if (window_ == nullptr) {
        return;
    }
    const std::vector<AccessibleElement> elements = AccessibleElements();
    const auto found = std::find_if(elements.begin(), elements.end(), [&](const auto& e) {
        return e.painted == painted && e.window == child;
    });
    if (found != elements.end()) {
        NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, window_, OBJID_CLIENT,
                       static_cast<LONG>(found - elements.begin()) + 1);
    }
}

LRESULT Form::OnGetObject(WPARAM wParam, LPARAM lParam) {
    // Only the client area is the form's to describe; the system answers for everything else.
    if (static_cast<DWORD>(lParam) != static_cast<DWORD>(OBJID_CLIENT)) {
        return DefWindowProcW(window_, WM_GETOBJECT, wParam, lParam);
    }
    if (!accessible_) {
        // Handing an object to another process needs the thread in an apartment; in one
        // already opened by someone else (even a multithreaded one) it works as well.
        EnterComApartment();
        accessible_.Attach(new (std::nothrow) ClientAccessible(*this));
        if (!accessible_) {
            return DefWindowProcW(window_, WM_GETOBJECT, wParam, lParam);
        }
    }
    return accessible_->HandOut(wParam);
}

void Form::DisconnectAccessible() noexcept {
    if (accessible_) {
        accessible_->Disconnect();
        accessible_.Reset();
    }
}

void Form::Paint(HDC dc) const {
    const SavedDcState state(dc);
    RECT client{};
    GetClientRect(window_, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    picture_.Draw(dc, 0, 0);
    for (auto control = painted_.rbegin(); control != painted_.rend(); ++control) {
        if ((*control)->Visible()) {
            (*control)->Paint(dc);
        }
    }
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
    const int shift = ((keys & MK_SHIFT) != 0 ? kShiftMask : 0) |
                      ((keys & MK_CONTROL) != 0 ? kCtrlMask : 0) |
                      (GetKeyState(VK_MENU) < 0 ? kAltMask : 0);
    return {button, shift, static_cast<float>(point.x) * TwipsPerPixelX(),
            static_cast<float>(point.y) * TwipsPerPixelY()};
}

void Form::OnButtonDown(int button, WPARAM keys, POINT point) {
    PaintedControl* const control = ControlAt(point);
    pressed_ = control;
    pressedButton_ = button;
    capturing_ = true;
    SetCapture(window_);
    InvokeHandler(control != nullptr ? control->MouseDown : MouseDown,
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
        InvokeHandler(control->Click);
    }
}

void Form::OnMouseMove(WPARAM keys, POINT point) {
    // While a button is held the control it went down on keeps the mouse.
    PaintedControl* const control = capturing_ ? pressed_ : ControlAt(point);
    InvokeHandler(control != nullptr ? control->MouseMove : MouseMove,
                  MouseArgs(HeldButtons(keys), keys, point, control));
}

PushButton* Form::ButtonOf(HWND window) const {
    for (const auto& button : buttons_) {
        if (button->hWnd() == window) {
            return button.get();
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
            InvokeHandler(button->Click);
            break;
        case BN_SETFOCUS:
            // Every push button reports the focus it takes: the one place that tracks it.
            lastFocus_ = control;
            break;
        default:
            break;
    }
}

void Form::OnDrawItem(const DRAWITEMSTRUCT& item) {
    if (const PushButton* const button = ButtonOf(item.hwndItem)) {
        button->DrawFace(item);
    }
}

void Form::OnSize(WPARAM kind) {
    // A window manager may activate the window while it is still minimised, when no control
    // can take the focus; it can once the window is restored.
    if (kind != SIZE_MINIMIZED && GetActiveWindow() == window_) {
        RestoreFocus();
    }
}

void Form::RestoreFocus() {
    // The form itself never keeps the focus: it goes back to the control that last had it,
    // or to the first in tab order.
    const HWND focus = GetFocus();
    if (focus != nullptr && focus != window_) {
        return;
    }
    if (lastFocus_ != nullptr && IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)) {
        SetFocus(lastFocus_);
        return;
    }
    const std::vector<HWND> stops = TabStops();
    if (!stops.empty()) {
        SetFocus(stops.front());
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
        form->DisconnectAccessible();
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
            RestoreFocus();
            return 0;
        case WM_GETOBJECT:
            return OnGetObject(wParam, lParam);
        case kDefaultActionMessage:
            OnDefaultAction(wParam);
            return 0;
        case WM_CLOSE:
            // Closing the main form (Alt+F4, the taskbar) ends the program.
            DestroyWindow(window_);
            PostQuitMessage(0);
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
