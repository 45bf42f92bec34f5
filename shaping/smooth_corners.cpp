#include "shaping/smooth_corners.h"

#include "toolkit/handle.h"
#include "toolkit/run_time_error.h"

#include <cfenv>
#include <cstdint>
#include <cmath>

namespace shaping {
namespace {

// The quotient in double precision, raising the run-time error of a floating-point fault.
// Underflow, denormal operands and an inexact result are not faults.
double CheckedQuotient(double dividend, double divisor) {
    // The volatile reads and write pin the division between clearing and testing the flags,
    // which the compiler would otherwise be free to move: it does not model the FP status.
    volatile const double a = dividend;
    volatile const double b = divisor;
    std::feclearexcept(FE_ALL_EXCEPT);
    volatile const double quotient = a / b;
    const int faults = std::fetestexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
    if ((faults & FE_DIVBYZERO) != 0) {
        throw toolkit::RunTimeError(toolkit::kDivisionByZero);  // x / 0
    }
    if (faults != 0) {
        throw toolkit::RunTimeError(toolkit::kOverflow);  // 0 / 0, infinity / infinity, overflow
    }
    return quotient;
}

}  // namespace

std::int32_t RoundToInt32(double value) {
    // Halves go to the even neighbour, as OLE Automation rounds (the default rounding mode,
    // which nothing here changes). Done here rather than by oleaut32, which the window would
    // otherwise load at start for this alone.
    const double rounded = std::nearbyint(value);
    if (!std::isfinite(rounded) || rounded < INT32_MIN || rounded > INT32_MAX) {
        throw toolkit::RunTimeError(toolkit::kOverflow);
    }
    return static_cast<std::int32_t>(rounded);
}

std::int32_t PixelsFromTwips(float twips, float twipsPerPixel) {
    return RoundToInt32(CheckedQuotient(twips, twipsPerPixel));
}

void SmoothFormCorners(toolkit::Form& form, double cornerSize) {
    const toolkit::Scale& scale = form.CurrentScale();
    const std::int32_t width = PixelsFromTwips(form.Width(), scale.TwipsPerPixelX());
    const std::int32_t height = PixelsFromTwips(form.Height(), scale.TwipsPerPixelY());
    const std::int32_t corner = RoundToInt32(cornerSize);

    // The result is not tested: should creation fail, the null handle passed on takes away the
    // window's region, leaving it a plain rectangle.
    toolkit::UniqueRegion region(CreateRoundRectRgn(0, 0, width, height, corner, corner));
    const HWND window = form.hWnd();
    if (SetWindowRgn(window, region.get(), TRUE) != 0) {
        region.release();  // the window owns it now and frees it when it is replaced
    }
}

}  // namespace shaping
