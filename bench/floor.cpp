// The floor the program's start-up, change of scale and Apply are measured against: the least a
// program can do to show the same window.
//
//   bench_floor               a 412 x 237 popup showing the program's background picture,
//                             made from the uncompressed file; per-monitor DPI aware, as the
//                             program is, and told another scale it takes the size Windows
//                             suggests and stretches the picture for that scale
//   bench_floor --decompress  the same, having first decompressed the program's two pictures
//                             as the program does, and made the background from those bytes
//   bench_floor --children    the same as the first with what the program's design adds to it:
//                             three push buttons, a hidden scroll bar, three fonts and two
//                             rounded regions
//   bench_apply_floor       the popup with an Apply button that writes the program's registry
//                           value and says so in a message box (built apart, so that
//                           bench_floor does not import advapi32)
#include "assets/picture_files.h"
#include "assets/pictures.h"
#include "toolkit/handle.h"
#include "toolkit/picture.h"
#include "toolkit/scale.h"
#include "toolkit/screen.h"

#include <windows.h>

#include <cwchar>
#include <vector>

namespace {

constexpr wchar_t kClass[] = L"BenchFloor";
constexpr int kWidth = 412;
constexpr int kHeight = 237;

struct Floor {
    toolkit::UniqueBitmap picture;
    SIZE size{kWidth, kHeight};
};

toolkit::UniqueBitmap BitmapFrom(toolkit::Blob bmpFile) {
    const auto* file = reinterpret_cast<const BITMAPFILEHEADER*>(bmpFile.data);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bmpFile.data + sizeof *file);
    const toolkit::WindowDc screen(nullptr);
    return toolkit::UniqueBitmap(CreateDIBitmap(screen.get(), &info->bmiHeader, CBM_INIT,
                                                bmpFile.data + file->bfOffBits, info,
                                                DIB_RGB_COLORS));
}

// The picture stretched smoothly to `size`, once, into a screen bitmap, as the program makes it
// for a scale other than its pictures' own, so that painting stays a plain copy.
toolkit::UniqueBitmap StretchedBitmapFrom(toolkit::Blob bmpFile, SIZE size) {
    const auto* file = reinterpret_cast<const BITMAPFILEHEADER*>(bmpFile.data);
    const auto* info = reinterpret_cast<const BITMAPINFO*>(bmpFile.data + sizeof *file);
    const toolkit::WindowDc screen(nullptr);
    toolkit::UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
    {
        const toolkit::UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
        const toolkit::SelectionGuard select(memory.get(), bitmap.get());
        // HALFTONE averages the pixels, which needs the brush origin set.
        SetStretchBltMode(memory.get(), HALFTONE);
        SetBrushOrgEx(memory.get(), 0, 0, nullptr);
        StretchDIBits(memory.get(), 0, 0, size.cx, size.cy, 0, 0, info->bmiHeader.biWidth,
                      info->bmiHeader.biHeight, bmpFile.data + file->bfOffBits, info,
                      DIB_RGB_COLORS, SRCCOPY);
    }
    return bitmap;
}

// The window's size at a DPI: its size at 96 DPI scaled, as the program scales its own.
SIZE SizeAt(UINT dpi) {
    const toolkit::Scale scale(dpi);
    return {scale.FromDesignPixels(kWidth), scale.FromDesignPixels(kHeight)};
}

// Takes the size and place Windows suggests, with the picture made for the new scale from the
// uncompressed file, and paints the whole window once.
void OnDpiChanged(HWND window, Floor& floor, UINT dpi, const RECT& suggested) {
    floor.size = SizeAt(dpi);
    floor.picture = StretchedBitmapFrom(assets::kBackgroundFile, floor.size);
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
}

void Paint(HWND window, const Floor& floor) {
    const toolkit::PaintDc paint(window);
    const toolkit::UniqueMemoryDc memory(CreateCompatibleDC(paint.get()));
    const toolkit::SelectionGuard select(memory.get(), floor.picture.get());
    BitBlt(paint.get(), 0, 0, floor.size.cx, floor.size.cy, memory.get(), 0, 0, SRCCOPY);
}

#ifdef BENCH_APPLY_FLOOR
constexpr int kApplyId = 1;

void Apply(HWND window) {
    toolkit::UniqueKey key;
    LONG status = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\yahoo\\pager\\Test", 0, nullptr, 0,
                                  KEY_SET_VALUE, nullptr, key.put(), nullptr);
    if (status == ERROR_SUCCESS) {
        const DWORD one = 1;
        status = RegSetValueExW(key.get(), L"Plural", 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&one), sizeof one);
    }
    MessageBoxW(window, status == ERROR_SUCCESS ? L"Done!" : L"Failed!", L"Brevane Twinova",
                status == ERROR_SUCCESS ? MB_ICONINFORMATION : MB_ICONERROR);
}
#endif

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* floor = reinterpret_cast<Floor*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    switch (message) {
        case WM_NCCREATE:
            SetWindowLongPtrW(window, GWLP_USERDATA,
                              reinterpret_cast<LONG_PTR>(
                                  reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
            return DefWindowProcW(window, message, wParam, lParam);
        case WM_ERASEBKGND:
            return TRUE;
        case WM_PAINT:
            Paint(window, *floor);
            return 0;
        case toolkit::kGetDpiScaledSizeMessage:
            *reinterpret_cast<SIZE*>(lParam) = SizeAt(LOWORD(wParam));
            return TRUE;
        case WM_DPICHANGED:
            OnDpiChanged(window, *floor, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
            return 0;
#ifdef BENCH_APPLY_FLOOR
        case WM_COMMAND:
            if (LOWORD(wParam) == kApplyId) {
                Apply(window);
            }
            return 0;
#endif
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

HWND AddChild(HWND parent, const wchar_t* windowClass, const wchar_t* text, DWORD style,
              RECT bounds, int id) {
    return CreateWindowExW(0, windowClass, text, WS_CHILD | style, bounds.left, bounds.top,
                           bounds.right, bounds.bottom, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

toolkit::UniqueFont SansSerif(int height) {
    return toolkit::UniqueFont(CreateFontW(
        -height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
}

void SetRoundRegion(HWND window, int corner) {
    toolkit::UniqueRegion region(CreateRoundRectRgn(0, 0, kWidth, kHeight, corner, corner));
    if (SetWindowRgn(window, region.get(), TRUE) != 0) {
        region.release();
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    const bool children = std::wcsstr(GetCommandLineW(), L"--children") != nullptr;
    const bool decompress = std::wcsstr(GetCommandLineW(), L"--decompress") != nullptr;
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    toolkit::DeclareDpiAwareness();

    Floor floor;
    if (decompress) {
        const std::vector<unsigned char> background = toolkit::DecompressBmp(assets::kBackground);
        toolkit::DecompressBmp(assets::kButtonStrip);
        floor.picture = BitmapFrom({background.data(), background.size()});
    } else {
        floor.picture = BitmapFrom(assets::kBackgroundFile);
    }
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClass;
    if (RegisterClassExW(&windowClass) == 0) {
        return 1;
    }
    const HWND window = CreateWindowExW(0, kClass, L"Brevane Twinova", WS_POPUP | WS_CLIPCHILDREN,
                                        (GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2,
                                        (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2, kWidth,
                                        kHeight, nullptr, nullptr, instance, &floor);
    if (window == nullptr) {
        return 1;
    }

    toolkit::UniqueFont fonts[3];
    if (children) {
        fonts[0] = SansSerif(11);
        fonts[1] = SansSerif(13);
        fonts[2] = SansSerif(16);
        const HWND buttons[] = {
            AddChild(window, L"BUTTON", L"EN", WS_VISIBLE | WS_TABSTOP, {200, 80, 33, 17}, 3),
            AddChild(window, L"BUTTON", L"RO", WS_VISIBLE | WS_TABSTOP, {160, 80, 33, 17}, 2),
            AddChild(window, L"BUTTON", L"Apply", WS_VISIBLE | WS_TABSTOP, {256, 44, 129, 25}, 4),
        };
        for (HWND button : buttons) {
            SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(fonts[0].get()), FALSE);
        }
        AddChild(window, L"SCROLLBAR", L"", SBS_HORZ, {88, 256, 113, 17}, 5);
        SetRoundRegion(window, 25);
        SetRoundRegion(window, 12);
    }
#ifdef BENCH_APPLY_FLOOR
    {
        AddChild(window, L"BUTTON", L"Apply", WS_VISIBLE | WS_TABSTOP, {256, 44, 129, 25},
                 kApplyId);
    }
#endif

    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
