#include "toolkit/screen.h"

#include "toolkit/handle.h"

#include <cmath>

namespace toolkit {
namespace {

constexpr float kTwipsPerInch = 1440.0f;

float TwipsPerPixel(int axis) {
    const WindowDc screen(nullptr);
    return kTwipsPerInch / static_cast<float>(GetDeviceCaps(screen.get(), axis));
}

}  // namespace

float TwipsPerPixelX() {
    return TwipsPerPixel(LOGPIXELSX);
}
float TwipsPerPixelY() {
    return TwipsPerPixel(LOGPIXELSY);
}

int TwipsToPixelsX(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelX()));
}
int TwipsToPixelsY(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelY()));
}

}  // namespace toolkit
