#pragma once

#include <windows.h>

namespace toolkit {

// A position and size in twips (1/1440 inch), from the top-left corner of a form's client area:
// the unit every form and control is designed in.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

// The scale a window is drawn at, from the DPI of the monitor it is on: how twips become its
// pixels. Pixel sizes are rounded to the nearest whole pixel, a half going to the even one.
class Scale {
  public:
    // The scale pictures are drawn for and the design is exact at: 15 twips per pixel.
    static constexpr UINT kDesignDpi = USER_DEFAULT_SCREEN_DPI;
    // Windows scales a monitor from 100 % to 500 %: a change of scale to any other DPI does not
    // come from Windows.
    static constexpr bool IsMonitorDpi(UINT dpi) noexcept {
        return dpi >= kDesignDpi && dpi <= 5 * kDesignDpi;
    }

    constexpr explicit Scale(UINT dpi) noexcept : dpi_(dpi) {}

    constexpr UINT Dpi() const noexcept { return dpi_; }
    constexpr bool IsDesignScale() const noexcept { return dpi_ == kDesignDpi; }

    // 15 at 96 DPI, 12 at 120, 10 at 144. One DPI serves both axes.
    float TwipsPerPixelX() const noexcept { return kTwipsPerInch / static_cast<float>(dpi_); }
    float TwipsPerPixelY() const noexcept { return TwipsPerPixelX(); }

    int PixelsX(double twips) const noexcept;
    int PixelsY(double twips) const noexcept;
    RECT Pixels(const TwipsRect& position) const noexcept;
    // A length in pixels of the design scale (a picture's own size), in pixels of this one.
    int FromDesignPixels(int pixels) const noexcept;
    // The character height of a font of this many points, as CreateFont takes it (negative).
    int FontHeight(double points) const noexcept;

  private:
    static constexpr float kTwipsPerInch = 1440.0f;

    UINT dpi_;
};

}  // namespace toolkit
