// The rounded window region, on real toolkit forms under Wine.
#include "shaping/smooth_corners.h"

#include "assets/pictures.h"
#include "test_support.h"
#include "toolkit/form.h"
#include "toolkit/run_time_error.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>

namespace {

using shaping::PixelsFromTwips;
using shaping::RoundToInt32;
using shaping::SmoothFormCorners;
using testing_support::ErrorNumberOf;
using testing_support::GdiObjectCount;
using testing_support::HoldsRoundRect;
using toolkit::kDivisionByZero;
using toolkit::kOverflow;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr float kNaNf = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinityF = std::numeric_limits<float>::infinity();

// The main window after start-up: 412 x 237 pixels at 15 twips per pixel (96 DPI).
constexpr int kMainWidthTwips = 6180;
constexpr int kMainHeightTwips = 3555;

// A borderless form of the toolkit with a given size in twips.
toolkit::FormDesign Design(int widthTwips, int heightTwips) {
    return testing_support::TestFormDesign(widthTwips, heightTwips, assets::kBackground);
}

bool HoldsNoRegion(HWND window) {
    const toolkit::UniqueRegion held(CreateRectRgn(0, 0, 0, 0));
    return GetWindowRgn(window, held.get()) == ERROR;
}

// --- The conversions ------------------------------------------------------------------------

TEST(RoundToInt32, RoundsHalvesToEvenAndRaisesOverflowOutsideThe32BitRange) {
    const struct {
        double value;
        std::int32_t expected;  // when no error
        long error;
    } cases[] = {
        {400.5, 400, 0},
        {401.5, 402, 0},
        {0.5, 0, 0},
        {-0.5, 0, 0},
        {-1.5, -2, 0},
        {-2.5, -2, 0},
        {296.25, 296, 0},
        {12.500001, 13, 0},
        {12.499999, 12, 0},
        {-12.7, -13, 0},
        {2147483647.4, 2147483647, 0},
        {-2147483648.0, std::numeric_limits<std::int32_t>::min(), 0},
        {2147483647.5, 0, kOverflow},
        {2147483648.0, 0, kOverflow},
        {-2147483649.0, 0, kOverflow},
        {-1e300, 0, kOverflow},
        {kInfinity, 0, kOverflow},
        {-kInfinity, 0, kOverflow},
        {kNaN, 0, kOverflow},
    };
    for (const auto& row : cases) {
        std::int32_t rounded = 0;
        EXPECT_EQ(ErrorNumberOf([&] { rounded = RoundToInt32(row.value); }), row.error)
            << row.value;
        EXPECT_EQ(rounded, row.expected) << row.value;
    }
}

TEST(PixelsFromTwips, DividesInDoublePrecisionRoundsAndRaisesFloatingPointFaults) {
    const struct {
        float twips;
        float twipsPerPixel;
        std::int32_t expected;  // when no error
        long error;
    } cases[] = {
        // Whole sizes and halves are SmoothFormCorners' cases below. Each quotient here,
        // rounded to single precision first, would become a half and go to the even one below.
        {15728648.0f, 15.0f, 1048577, 0},     // 1048576.533...
        {12582914.0f, 3.0f, 4194305, 0},      // 4194304.666...
        {4177928.0f, 15.000001f, 278529, 0},  // 278528.515625
        {1.0f, 3.0f, 0, 0},                   // inexact only: no fault
        {1e-38f, 1e30f, 0, 0},                // underflow: no fault
        {6180.0f, 0.0f, 0, kDivisionByZero},
        {-6180.0f, 0.0f, 0, kDivisionByZero},
        {6180.0f, -0.0f, 0, kDivisionByZero},
        {0.0f, 0.0f, 0, kOverflow},  // an invalid division
        {kInfinityF, kInfinityF, 0, kOverflow},
        {3e38f, 1e-38f, 0, kOverflow},
        {6180.0f, 1e-6f, 0, kOverflow},
        {6180.0f, kNaNf, 0, kOverflow},
        {kNaNf, 15.0f, 0, kOverflow},
        {kInfinityF, 15.0f, 0, kOverflow},
    };
    // Run twice, so that a floating-point flag left by one row would spoil a later one.
    for (int round = 0; round < 2; ++round) {
        for (const auto& row : cases) {
            std::int32_t pixels = 0;
            EXPECT_EQ(
                ErrorNumberOf([&] { pixels = PixelsFromTwips(row.twips, row.twipsPerPixel); }),
                row.error)
                << row.twips << " / " << row.twipsPerPixel;
            EXPECT_EQ(pixels, row.expected) << row.twips << " / " << row.twipsPerPixel;
        }
    }
}

// --- The region a window receives -----------------------------------------------------------

// Sizes in pixels at the form's own scale, given to it in twips.
TEST(SmoothFormCorners, GivesTheRoundedRectangleOfTheSizeAndCornerRoundedHalfToEven) {
    const struct {
        double width, height;
        double corner;
        int widthPixels, heightPixels, cornerPixels;
    } cases[] = {
        {412, 237, 12, 412, 237, 12},
        {412, 237, 12.5, 412, 237, 12},
        {412, 237, 13.5, 412, 237, 14},
        {412, 237, 0.5, 412, 237, 0},
        {400.5, 237, 12, 400, 237, 12},
        {401.5, 237, 12, 402, 237, 12},
        {412, 400.5, 12, 412, 400, 12},
        // Corner sizes are not clamped.
        {412, 237, -0.0, 412, 237, 0},
        {412, 237, -13.5, 412, 237, -14},
        {412, 237, 1, 412, 237, 1},
        {412, 237, 412, 412, 237, 412},
        {412, 237, 1e6, 412, 237, 1000000},
        {412, 237, 2147483647.0, 412, 237, 2147483647},
        {412, 237, -2147483648.0, 412, 237, std::numeric_limits<int>::min()},
    };
    toolkit::Form form(Design(kMainWidthTwips, kMainHeightTwips));
    const toolkit::Scale& scale = form.CurrentScale();
    for (const auto& row : cases) {
        form.SetWidth(static_cast<float>(row.width * scale.TwipsPerPixelX()));
        form.SetHeight(static_cast<float>(row.height * scale.TwipsPerPixelY()));
        SmoothFormCorners(form, row.corner);
        EXPECT_TRUE(
            HoldsRoundRect(form.hWnd(), row.widthPixels, row.heightPixels, row.cornerPixels))
            << row.width << " x " << row.height << " pixels, corner " << row.corner;
    }
}

// At the form's own scale, where 6180 x 3555 twips are 412 x 237 pixels at 96 DPI. That a call
// replaces the shape before and follows a new size, the table above shows, row after row.
TEST(SmoothFormCorners, EachCallShapesTheWindowAsItIsThen) {
    toolkit::Form form(Design(kMainWidthTwips, kMainHeightTwips));
    const HWND window = form.hWnd();
    const toolkit::Scale& scale = form.CurrentScale();
    const int width = scale.PixelsX(kMainWidthTwips);
    const int height = scale.PixelsY(kMainHeightTwips);
    SmoothFormCorners(form, 12);
    form.SetHeight(3000);  // 200 pixels at 96 DPI
    EXPECT_TRUE(HoldsRoundRect(window, width, height, 12)) << "the shape does not follow by itself";
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SmoothFormCorners(form, 25);
    EXPECT_TRUE(HoldsRoundRect(window, width, scale.PixelsY(3000), 25))
        << "a visible window is shaped too";
}

// --- Faults: a run-time error, nothing created, the previous shape kept ----------------------

// Corners that fault before any region exists; each call keeps the window's shape as it was.
struct Fault {
    double corner;
    int cornerBefore;  // 0: the window has no region before the call
};
const Fault kFaults[] = {
    {kNaN, 12},         {kInfinity, 12},     {-kInfinity, 12}, {2147483648.0, 12},
    {2147483647.5, 12}, {-2147483649.0, 12}, {1e10, 12},       {kNaN, 0},
};

TEST(SmoothFormCorners, AFaultRaisesOverflowAndKeepsThePreviousShape) {
    for (const Fault& row : kFaults) {
        toolkit::Form form(Design(kMainWidthTwips, kMainHeightTwips));
        const toolkit::Scale& scale = form.CurrentScale();
        if (row.cornerBefore != 0) {
            SmoothFormCorners(form, row.cornerBefore);
        }
        EXPECT_EQ(ErrorNumberOf([&] { SmoothFormCorners(form, row.corner); }), kOverflow)
            << "corner " << row.corner;
        EXPECT_TRUE(row.cornerBefore == 0
                        ? HoldsNoRegion(form.hWnd())
                        : HoldsRoundRect(form.hWnd(), scale.PixelsX(kMainWidthTwips),
                                         scale.PixelsY(kMainHeightTwips), row.cornerBefore))
            << "corner " << row.corner;
    }
}

// --- Leaks ------------------------------------------------------------------------------------

TEST(SmoothFormCorners, LeaksNoGdiObjectOverManyCallsFaultsOrDestroyedWindows) {
    // Wine makes GDI objects of its own for the first window of the process; count after them.
    // A window keeps the one region it holds (Wine keeps a copy), so the count must not grow.
    toolkit::Form form(Design(kMainWidthTwips, kMainHeightTwips));
    SmoothFormCorners(form, 25);
    const std::optional<int> before = GdiObjectCount();
    if (!before) {
        GTEST_SKIP() << testing_support::kCannotCountGdiObjects;
    }
    for (int call = 0; call < 500; ++call) {
        SmoothFormCorners(form, call % 2 == 0 ? 12 : 25);
        SmoothFormCorners(form, call % 40);
    }
    EXPECT_EQ(GdiObjectCount(), before);
    for (const Fault& row : kFaults) {
        toolkit::Form other(Design(kMainWidthTwips, kMainHeightTwips));
        for (int call = 0; call < 20; ++call) {
            ErrorNumberOf([&] { SmoothFormCorners(other, row.corner); });
        }
    }
    EXPECT_EQ(GdiObjectCount(), before) << "after faults";
    for (int window = 0; window < 20; ++window) {
        toolkit::Form other(Design(kMainWidthTwips, kMainHeightTwips));
        SmoothFormCorners(other, 25);
        SmoothFormCorners(other, 12);
    }
    EXPECT_EQ(GdiObjectCount(), before) << "after destroyed windows";
}

}  // namespace
