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
using shaping::TwipsPerPixel;
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

// Twips per pixel the tests supply in place of the form's own (15: the design scale's).
constexpr TwipsPerPixel kOwnScale{15, 15};
constexpr TwipsPerPixel kAt12{12, 12};
constexpr TwipsPerPixel kZeroHorizontal{0, 15};
constexpr TwipsPerPixel kZeroVertical{15, 0};
constexpr TwipsPerPixel kZeroBoth{0, 0};

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

TEST(SmoothFormCorners, GivesTheRoundedRectangleOfTheSizeAndCornerRoundedHalfToEven) {
    const struct {
        int widthTwips, heightTwips;
        double corner;
        TwipsPerPixel screen;
        int width, height, cornerPixels;
    } cases[] = {
        {kMainWidthTwips, kMainHeightTwips, 12, kOwnScale, 412, 237, 12},
        {kMainWidthTwips, kMainHeightTwips, 12, kAt12, 515, 296, 12},
        {kMainWidthTwips, kMainHeightTwips, 12.5, kOwnScale, 412, 237, 12},
        {kMainWidthTwips, kMainHeightTwips, 13.5, kOwnScale, 412, 237, 14},
        {kMainWidthTwips, kMainHeightTwips, 0.5, kOwnScale, 412, 237, 0},
        // 400.5 and 401.5 pixels wide, 400.5 high.
        {12015, kMainHeightTwips, 12, {30, 15}, 400, 237, 12},
        {12045, kMainHeightTwips, 12, {30, 15}, 402, 237, 12},
        {kMainWidthTwips, 4005, 12, {15, 10}, 412, 400, 12},
        // Corner sizes are not clamped.
        {kMainWidthTwips, kMainHeightTwips, -0.0, kOwnScale, 412, 237, 0},
        {kMainWidthTwips, kMainHeightTwips, -13.5, kOwnScale, 412, 237, -14},
        {kMainWidthTwips, kMainHeightTwips, 1, kOwnScale, 412, 237, 1},
        {kMainWidthTwips, kMainHeightTwips, 412, kOwnScale, 412, 237, 412},
        {kMainWidthTwips, kMainHeightTwips, 1e6, kOwnScale, 412, 237, 1000000},
        {kMainWidthTwips, kMainHeightTwips, 2147483647.0, kOwnScale, 412, 237, 2147483647},
        {kMainWidthTwips, kMainHeightTwips, -2147483648.0, kOwnScale, 412, 237,
         std::numeric_limits<int>::min()},
    };
    for (const auto& row : cases) {
        toolkit::Form form(Design(row.widthTwips, row.heightTwips));
        SmoothFormCorners(form, row.corner, row.screen);
        EXPECT_TRUE(HoldsRoundRect(form.hWnd(), row.width, row.height, row.cornerPixels))
            << row.widthTwips << " x " << row.heightTwips << " twips, corner " << row.corner;
    }
}

// At the form's own scale, where 6180 x 3555 twips are 412 x 237 pixels at 96 DPI.
TEST(SmoothFormCorners, EachCallShapesTheWindowAsItIsThen) {
    toolkit::Form form(Design(kMainWidthTwips, kMainHeightTwips));
    const HWND window = form.hWnd();
    const toolkit::Scale& scale = form.CurrentScale();
    const int width = scale.PixelsX(kMainWidthTwips);
    const int height = scale.PixelsY(kMainHeightTwips);
    SmoothFormCorners(form, 25);
    ASSERT_TRUE(HoldsRoundRect(window, width, height, 25));
    SmoothFormCorners(form, 12);
    EXPECT_TRUE(HoldsRoundRect(window, width, height, 12)) << "the second call replaces the first";
    form.SetHeight(3000);  // 200 pixels at 96 DPI
    EXPECT_TRUE(HoldsRoundRect(window, width, height, 12)) << "the shape does not follow by itself";
    SmoothFormCorners(form, 12);
    EXPECT_TRUE(HoldsRoundRect(window, width, scale.PixelsY(3000), 12));
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SmoothFormCorners(form, 25);
    EXPECT_TRUE(HoldsRoundRect(window, width, scale.PixelsY(3000), 25))
        << "a visible window is shaped too";
}

// --- Faults: a run-time error, nothing created, the previous shape kept ----------------------

// Calls that fault before any region exists; each keeps the window's shape as it was.
struct Fault {
    int widthTwips;
    double corner;
    TwipsPerPixel screen;
    int cornerBefore;  // 0: the window has no region before the call
    long error;
};
const Fault kFaults[] = {
    {kMainWidthTwips, kNaN, kOwnScale, 12, kOverflow},
    {kMainWidthTwips, kInfinity, kOwnScale, 12, kOverflow},
    {kMainWidthTwips, -kInfinity, kOwnScale, 12, kOverflow},
    {kMainWidthTwips, 2147483648.0, kOwnScale, 12, kOverflow},
    {kMainWidthTwips, 2147483647.5, kOwnScale, 12, kOverflow},
    {kMainWidthTwips, -2147483649.0, kOwnScale, 12, kOverflow},
    {kMainWidthTwips, 1e10, kOwnScale, 12, kOverflow},
    {kMainWidthTwips, 12, kZeroHorizontal, 25, kDivisionByZero},
    {kMainWidthTwips, 12, kZeroVertical, 25, kDivisionByZero},
    {kMainWidthTwips, 12, kZeroBoth, 0, kDivisionByZero},
    // The sizes are worked out before the corner: the zero metric is reported, not the NaN.
    {kMainWidthTwips, kNaN, kZeroHorizontal, 0, kDivisionByZero},
    // 0 / 0 is an invalid operation, reported as overflow.
    {0, 12, kZeroHorizontal, 0, kOverflow},
};

TEST(SmoothFormCorners, AFaultRaisesItsErrorAndKeepsThePreviousShape) {
    for (const Fault& row : kFaults) {
        toolkit::Form form(Design(row.widthTwips, kMainHeightTwips));
        const toolkit::Scale& scale = form.CurrentScale();
        if (row.cornerBefore != 0) {
            SmoothFormCorners(form, row.cornerBefore);
        }
        EXPECT_EQ(ErrorNumberOf([&] { SmoothFormCorners(form, row.corner, row.screen); }),
                  row.error)
            << "corner " << row.corner << ", width " << row.widthTwips;
        EXPECT_TRUE(row.cornerBefore == 0
                        ? HoldsNoRegion(form.hWnd())
                        : HoldsRoundRect(form.hWnd(), scale.PixelsX(row.widthTwips),
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
        SmoothFormCorners(form, call % 40, kAt12);
    }
    EXPECT_EQ(GdiObjectCount(), before);
    for (const Fault& row : kFaults) {
        toolkit::Form other(Design(row.widthTwips, kMainHeightTwips));
        for (int call = 0; call < 20; ++call) {
            ErrorNumberOf([&] { SmoothFormCorners(other, row.corner, row.screen); });
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
