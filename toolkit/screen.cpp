#include "toolkit/screen.h"

#include "toolkit/handle.h"
#include "toolkit/system_functions.h"

#include <cmath>

namespace toolkit {
namespace {

constexpr float kTwipsPerInch = 1440.0f;

struct TwipsPerPixelXY {
    float x;
    float y;
};

// Read once: a program that is system-DPI-aware sees one screen DPI for its whole life (the
// system's), and the window's layout asks for it dozens of times at start.
const TwipsPerPixelXY& ScreenTwipsPerPixel() {
    static const TwipsPerPixelXY twipsPerPixel = [] {
        const WindowDc screen(nullptr);
        return TwipsPerPixelXY{
            kTwipsPerInch / static_cast<float>(GetDeviceCaps(screen.get(), LOGPIXELSX)),
            kTwipsPerInch / static_cast<float>(GetDeviceCaps(screen.get(), LOGPIXELSY))};
    }();
    return twipsPerPixel;
}

}  // namespace

void DeclareDpiAwareness() {
    const auto& perMonitor = User32().SetProcessDpiAwarenessContext;
    if (!perMonitor || !perMonitor.get()(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {
        SetProcessDPIAware();
    }
}

float TwipsPerPixelX() {
    return ScreenTwipsPerPixel().x;
}
float TwipsPerPixelY() {
    return ScreenTwipsPerPixel().y;
}

int TwipsToPixelsX(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelX()));
}
int TwipsToPixelsY(double twips) {
    return static_cast<int>(std::lround(twips / TwipsPerPixelY()));
}

}  // namespace toolkit
