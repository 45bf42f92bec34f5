#include "test_support.h"

#include "toolkit/run_time_error.h"
#include "toolkit/screen.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <utility>

namespace testing_support {

Pixel PixelOf(COLORREF color) {
    return (static_cast<Pixel>(GetRValue(color)) << 16) |
           (static_cast<Pixel>(GetGValue(color)) << 8) | GetBValue(color);
}

int Pixels::Count(const RECT& rect, Pixel value) const {
    int count = 0;
    for (int y = std::max<LONG>(rect.top, 0); y < std::min<LONG>(rect.bottom, height); ++y) {
        for (int x = std::max<LONG>(rect.left, 0); x < std::min<LONG>(rect.right, width); ++x) {
            count += At(x, y) == value ? 1 : 0;
        }
    }
    return count;
}

std::vector<std::pair<int, int>> Pixels::InkedRowRuns(const RECT& rect, Pixel ink) const {
    std::vector<std::pair<int, int>> runs;
    for (int y = rect.top; y < rect.bottom; ++y) {
        if (Count({rect.left, y, rect.right, y + 1}, ink) == 0) {
            continue;
        }
        if (!runs.empty() && runs.back().second == y - 1) {
            runs.back().second = y;
        } else {
            runs.emplace_back(y, y);
        }
    }
    return runs;
}

Canvas::Canvas(int width, int height, Pixel fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    // A negative height puts the top row first.
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    dib_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    dc_.reset(CreateCompatibleDC(nullptr));
    if (!dib_ || !dc_) {
        throw std::runtime_error("cannot make a bitmap to draw on");
    }
    bits_ = static_cast<Pixel*>(bits);
    std::fill_n(bits_, width * height, fill);
    previous_ = SelectObject(dc_.get(), dib_.get());
}

Canvas::~Canvas() {
    SelectObject(dc_.get(), previous_);
}

void Canvas::Put(const Pixels& pixels, int x, int y) {
    GdiFlush();
    for (int row = 0; row < pixels.height; ++row) {
        for (int column = 0; column < pixels.width; ++column) {
            if (x + column >= 0 && x + column < width_ && y + row >= 0 && y + row < height_) {
                bits_[(static_cast<std::ptrdiff_t>(y + row) * width_) + x + column] =
                    pixels.At(column, row);
            }
        }
    }
}

Pixels Canvas::Read() const {
    GdiFlush();
    Pixels result{width_, height_,
                  std::vector<Pixel>(bits_, bits_ + static_cast<std::ptrdiff_t>(width_) * height_)};
    for (Pixel& pixel : result.data) {
        pixel &= 0xFFFFFF;
    }
    return result;
}

Pixels RenderClient(HWND window, int width, int height, Pixel fill) {
    const Canvas canvas(width, height, fill);
    SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    return canvas.Read();
}

Pixels ReadWindow(HWND window, const RECT& rect) {
    const bool own = ProcessOf(window) == GetCurrentProcessId();
    POINT origin{0, 0};
    if (!own) {
        ClientToScreen(window, &origin);
    }
    const toolkit::WindowDc dc(own ? window : nullptr);
    const Canvas canvas(rect.right - rect.left, rect.bottom - rect.top, 0);
    BitBlt(canvas.dc(), 0, 0, rect.right - rect.left, rect.bottom - rect.top, dc.get(),
           origin.x + rect.left, origin.y + rect.top, SRCCOPY);
    return canvas.Read();
}

bool SamePixels(const Pixels& a, const Pixels& b, const RECT& area) {
    if (a.width != b.width || a.height != b.height) {
        return false;
    }
    for (int y = std::max<LONG>(area.top, 0); y < std::min<LONG>(area.bottom, a.height); ++y) {
        for (int x = std::max<LONG>(area.left, 0); x < std::min<LONG>(area.right, a.width); ++x) {
            if (a.At(x, y) != b.At(x, y)) {
                return false;
            }
        }
    }
    return true;
}

Pixels DecodeBmp(toolkit::Blob bmpFile) {
    BITMAPFILEHEADER file;
    BITMAPINFOHEADER info;
    std::memcpy(&file, bmpFile.data, sizeof file);
    std::memcpy(&info, bmpFile.data + sizeof file, sizeof info);
    if (info.biBitCount != 24 || info.biCompression != BI_RGB || info.biHeight <= 0) {
        throw std::runtime_error("not an uncompressed bottom-up 24-bit BMP");
    }
    Pixels result{info.biWidth, info.biHeight,
                  std::vector<Pixel>(static_cast<std::size_t>(info.biWidth * info.biHeight))};
    const int stride = (info.biWidth * 3 + 3) / 4 * 4;
    for (int y = 0; y < info.biHeight; ++y) {
        const unsigned char* row = bmpFile.data + file.bfOffBits +
                                   static_cast<std::ptrdiff_t>(info.biHeight - 1 - y) * stride;
        for (int x = 0; x < info.biWidth; ++x) {
            const unsigned char* bgr = row + static_cast<std::ptrdiff_t>(x) * 3;
            result.data[(static_cast<std::size_t>(y) * info.biWidth) + x] =
                (static_cast<Pixel>(bgr[2]) << 16) | (static_cast<Pixel>(bgr[1]) << 8) | bgr[0];
        }
    }
    return result;
}

toolkit::PictureFile SolidPicture(int width, int height, Pixel color) {
    const int stride = (width * 3 + 3) / 4 * 4;
    const auto imageBytes = static_cast<DWORD>(stride) * height;
    constexpr DWORD kHeaders = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    const BITMAPFILEHEADER file{0x4D42, kHeaders + imageBytes, 0, 0, kHeaders};  // "BM"
    const BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, imageBytes, 0, 0, 0, 0};
    std::vector<unsigned char> bytes(file.bfSize);
    std::memcpy(bytes.data(), &file, sizeof file);
    std::memcpy(bytes.data() + sizeof file, &info, sizeof info);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            unsigned char* bgr = bytes.data() + file.bfOffBits +
                                 (static_cast<std::ptrdiff_t>(y) * stride) +
                                 (static_cast<std::ptrdiff_t>(x) * 3);
            bgr[0] = static_cast<unsigned char>(color);
            bgr[1] = static_cast<unsigned char>(color >> 8);
            bgr[2] = static_cast<unsigned char>(color >> 16);
        }
    }
    return bytes;
}

toolkit::FormDesign TestFormDesign(int widthTwips, int heightTwips, toolkit::PictureFile picture) {
    return {kTestProgramTitle,
            widthTwips,
            heightTwips,
            std::move(picture),
            {L"MS Sans Serif", L"Microsoft Sans Serif"},
            {8.25, FW_NORMAL},
            kTestProgramTitle};
}

MessageCounter::MessageCounter(HWND window, Filter counted)
    : window_(window), counted_(std::move(counted)) {
    SetWindowSubclass(window_, &MessageCounter::Procedure, reinterpret_cast<UINT_PTR>(this),
                      reinterpret_cast<DWORD_PTR>(this));
}

MessageCounter::~MessageCounter() {
    RemoveWindowSubclass(window_, &MessageCounter::Procedure, reinterpret_cast<UINT_PTR>(this));
}

LRESULT CALLBACK MessageCounter::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR /*id*/, DWORD_PTR self) {
    auto* const counter = reinterpret_cast<MessageCounter*>(self);
    if (counter->counted_(window, message, wParam)) {
        ++counter->count_;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

void PumpMessages(toolkit::Form* form) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (form == nullptr || !form->PreTranslateMessage(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
}

std::wstring BesideTestExecutable(const std::wstring& fileName) {
    std::wstring path(MAX_PATH, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), MAX_PATH);
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/") + 1) + fileName;
}

std::string ReadTextFile(const char* path) {
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

RECT RectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::wstring WindowText(HWND window) {
    wchar_t text[256] = L"";
    GetWindowTextW(window, text, 256);
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = L"";
    GetClassNameW(window, name, 256);
    return name;
}

DWORD ProcessOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

bool HoldsRoundRect(HWND window, int width, int height, int corner) {
    const toolkit::UniqueRegion held(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, held.get()) == ERROR) {
        return false;
    }
    const toolkit::UniqueRegion expected(CreateRoundRectRgn(0, 0, width, height, corner, corner));
    const toolkit::UniqueRegion difference(CreateRectRgn(0, 0, 0, 0));
    return CombineRgn(difference.get(), held.get(), expected.get(), RGN_XOR) == NULLREGION;
}

std::optional<int> GdiObjectCount() {
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) {
        return static_cast<int>(counted);
    }
    int probed = 0;
    for (std::uintptr_t index = 1; index <= 0xFFFF; ++index) {
        probed += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0 ? 1 : 0;
    }
    return probed != 0 ? std::optional<int>(probed) : std::nullopt;
}

long ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const toolkit::RunTimeError& error) {
        return error.Number();
    }
    return 0;
}

HWND FindMessageBox(const std::function<bool(HWND)>& wanted) {
    HWND box = nullptr;
    while ((box = FindWindowExW(nullptr, box, L"#32770", nullptr)) != nullptr) {
        if (IsWindowVisible(box) && wanted(box)) {
            return box;
        }
    }
    return nullptr;
}

HWND FindMessageBoxOf(HWND owner) {
    return FindMessageBox([owner](HWND box) { return GetWindow(box, GW_OWNER) == owner; });
}

HWND FindMessageBoxOfProcess(DWORD processId) {
    return FindMessageBox([processId](HWND box) { return ProcessOf(box) == processId; });
}

int MessageBoxCountOf(DWORD processId) {
    int count = 0;
    FindMessageBox([&](HWND box) {
        count += ProcessOf(box) == processId ? 1 : 0;
        return false;
    });
    return count;
}

std::wstring MessageBoxText(HWND box) {
    wchar_t text[1024] = L"";
    GetDlgItemTextW(box, 0xFFFF, text, 1024);  // the text's static control
    return text;
}

void CloseMessageBox(HWND box) {
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, IDOK)));
}

ChildProcess::ChildProcess(const std::wstring& path, const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + path + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION information{};
    // Now and then Wine cannot lay out a new process's memory ("failed to map the shared user
    // data") and the start fails; a second start does not meet the same layout.
    for (int attempt = 0; attempt < 2 && !process_; ++attempt) {
        if (CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &information)) {
            const toolkit::UniqueKernelHandle thread(information.hThread);
            process_.reset(information.hProcess);
            id_ = information.dwProcessId;
        }
    }
}

ChildProcess::~ChildProcess() {
    if (process_ && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 255);
        WaitForSingleObject(process_.get(), 5000);
    }
}

DWORD ChildProcess::WaitForExit(DWORD milliseconds) {
    if (!process_ || WaitForSingleObject(process_.get(), milliseconds) != WAIT_OBJECT_0) {
        return STILL_ACTIVE;
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.get(), &code);
    return code;
}

HWND ChildProcess::WaitForWindow(const std::function<bool(HWND)>& wanted,
                                 DWORD milliseconds) const {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            // Top-level windows, front to back.
            for (HWND window = nullptr;
                 (window = FindWindowExW(nullptr, window, nullptr, nullptr)) != nullptr;) {
                if (ProcessOf(window) == id_ && IsWindowVisible(window) && wanted(window)) {
                    found = window;
                    return true;
                }
            }
            return !process_ || WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0;
        },
        std::chrono::milliseconds(milliseconds));
    return found;
}

BoxRecorder::BoxRecorder() {
    previous_ = toolkit::SetMessageBoxPresenter(
        [this](const std::wstring& text, UINT style, const std::wstring& title) {
            boxes_.push_back({text, style, title});
            if (onShow) {
                onShow();
            }
            return IDOK;
        });
}

BoxRecorder::~BoxRecorder() {
    toolkit::SetMessageBoxPresenter(std::move(previous_));
}

toolkit::Scale ScaleOf(HWND window) {
    return toolkit::Scale(toolkit::DpiOf(window));
}

RECT AtScale(const toolkit::Scale& scale, const RECT& designed) {
    constexpr LONG kTwipsPerDesignPixel = 15;
    return scale.Pixels({designed.left * kTwipsPerDesignPixel, designed.top * kTwipsPerDesignPixel,
                         (designed.right - designed.left) * kTwipsPerDesignPixel,
                         (designed.bottom - designed.top) * kTwipsPerDesignPixel});
}

POINT PointAtScale(const toolkit::Scale& scale, POINT designed) {
    const RECT pixel = AtScale(scale, {designed.x, designed.y, designed.x + 1, designed.y + 1});
    return {pixel.left, pixel.top};
}

toolkit::UniqueFont DesignFontAt(const toolkit::Scale& scale, double points, int weight) {
    const int height = scale.FontHeight(points);
    const auto font = [&](const wchar_t* face) {
        return toolkit::UniqueFont(CreateFontW(
            height, 0, 0, 0, weight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face));
    };
    if (scale.IsDesignScale()) {
        toolkit::UniqueFont raster = font(L"MS Sans Serif");
        const toolkit::WindowDc screen(nullptr);
        const toolkit::SelectionGuard select(screen.get(), raster.get());
        TEXTMETRICW metrics{};
        GetTextMetricsW(screen.get(), &metrics);
        if (metrics.tmHeight - metrics.tmInternalLeading == -height) {
            return raster;
        }
    }
    return font(L"Microsoft Sans Serif");
}

std::wstring Decimal(const wchar_t* whole, const wchar_t* fraction) {
    wchar_t separator[8] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8);
    return std::wstring(whole) + separator + fraction;
}

}  // namespace testing_support
