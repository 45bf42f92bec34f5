#include "toolkit/scale.h"

#include <cmath>

namespace toolkit {
namespace {

// Halves go to the even neighbour, as every conversion to whole numbers of the program does
// (the default rounding mode, which nothing here changes).
int Rounded(double value) noexcept {
    return static_cast<int>(std::nearbyint(value));
}

}  // namespace

int Scale::PixelsX(double twips) const noexcept {
    return Rounded(twips / TwipsPerPixelX());
}

int Scale::PixelsY(double twips) const noexcept {
    return Rounded(twips / TwipsPerPixelY());
}

RECT Scale::Pixels(const TwipsRect& position) const noexcept {
    const int left = PixelsX(position.left);
    const int top = PixelsY(position.top);
    return {left, top, left + PixelsX(position.width), top + PixelsY(position.height)};
}

int Scale::FromDesignPixels(int pixels) const noexcept {
    // Converted like every position in twips, so that a picture the size of its form or control
    // still covers it exactly after rounding.
    return PixelsX(static_cast<double>(pixels) * (kTwipsPerInch / kDesignDpi));
}

int Scale::FontHeight(double points) const noexcept {
    return -Rounded(points * dpi_ / 72.0);
}

}  // namespace toolkit
