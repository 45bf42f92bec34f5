#pragma once

#include <windows.h>

#include <utility>

namespace toolkit {

// Sole owner of one Win32 handle: closes it exactly once, on destruction or reset().
// Move-only, so a handle can never be closed twice through a copy.
template <typename Handle, auto Close>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) noexcept : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const noexcept { return handle_; }
    explicit operator bool() const noexcept { return handle_ != Handle{}; }

    // Gives up ownership: the caller (or the system) is now responsible for the handle.
    Handle release() noexcept { return std::exchange(handle_, Handle{}); }

    void reset(Handle handle = Handle{}) noexcept {
        if (handle_ != Handle{}) {
            Close(handle_);
        }
        handle_ = handle;
    }

    // For out-parameters of creating calls; any handle held before is closed first.
    Handle* put() noexcept {
        reset();
        return &handle_;
    }

  private:
    Handle handle_{};
};

namespace detail {
inline void CloseKey(HKEY key) noexcept {
    RegCloseKey(key);
}
inline void DeleteGdiObject(HGDIOBJ object) noexcept {
    DeleteObject(object);
}
inline void DestroyIconHandle(HICON icon) noexcept {
    DestroyIcon(icon);
}
inline void DeleteMemoryDc(HDC dc) noexcept {
    DeleteDC(dc);
}
inline void CloseKernelObject(HANDLE object) noexcept {
    CloseHandle(object);
}
inline void ReleaseModule(HMODULE module) noexcept {
    FreeLibrary(module);
}
}  // namespace detail

using UniqueKey = UniqueHandle<HKEY, detail::CloseKey>;
using UniqueRegion = UniqueHandle<HRGN, detail::DeleteGdiObject>;
using UniqueBitmap = UniqueHandle<HBITMAP, detail::DeleteGdiObject>;
using UniqueFont = UniqueHandle<HFONT, detail::DeleteGdiObject>;
using UniqueBrush = UniqueHandle<HBRUSH, detail::DeleteGdiObject>;
using UniqueIcon = UniqueHandle<HICON, detail::DestroyIconHandle>;
using UniqueMemoryDc = UniqueHandle<HDC, detail::DeleteMemoryDc>;
using UniqueKernelHandle = UniqueHandle<HANDLE, detail::CloseKernelObject>;
using UniqueModule = UniqueHandle<HMODULE, detail::ReleaseModule>;

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc {
  public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &paint_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &paint_); }

    HDC get() const noexcept { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// GetDC/ReleaseDC; a null window gives the screen's DC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_ != nullptr) {
            ReleaseDC(window_, dc_);
        }
    }

    HDC get() const noexcept { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// Selects a GDI object into a DC and puts the previous one back when it goes out of scope.
class SelectionGuard {
  public:
    SelectionGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;
    ~SelectionGuard() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) {
            SelectObject(dc_, previous_);
        }
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// SaveDC/RestoreDC: whatever a painter selects or sets in the DC is undone when it returns.
class SavedDcState {
  public:
    explicit SavedDcState(HDC dc) : dc_(dc), state_(SaveDC(dc)) {}
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;
    ~SavedDcState() {
        if (state_ != 0) {
            RestoreDC(dc_, state_);
        }
    }

  private:
    HDC dc_;
    int state_;
};

}  // namespace toolkit
