// The rounded window region, on real toolkit forms under Wine.
#include "shaping/smooth_corners.h"

#include "assets/pictures.h"
#include "toolkit/form.h"
#include "toolkit/handle.h"
#include "toolkit/run_time_error.h"
#include "toolkit/screen.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>

namespace {

using shaping::PixelsFromTwips;
using shaping::RoundToInt32;
using shaping::ScreenMetrics;
using shaping::SmoothFormCorners;
using toolkit::UniqueRegion;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The main window after start-up: 412 x 237 pixels at 15 twips per pixel.
constexpr int kMainWidthTwips = 6180;
constexpr int kMainHeightTwips = 3555;

// A screen metric the tests supply in place of the real screen's.
template <int kTwipsPerPixel>
float Metric() {
    return static_cast<float>(kTwipsPerPixel);
}

constexpr ScreenMetrics kAt12{Metric<12>, Metric<12>};
constexpr ScreenMetrics kZeroHorizontal{Metric<0>, Metric<15>};
constexpr ScreenMetrics kZeroVertical{Metric<15>, Metric<0>};
constexpr ScreenMetrics kZeroBoth{Metric<0>, Metric<0>};

// A form of the toolkit with a given outer size in twips (the form is borderless, so its
// client size is its outer size).
toolkit::FormDesign Design(int widthTwips, int heightTwips) {
    return {L"Shaping test", widthTwips, heightTwips, assets::kBackground, assets::kProgramIcon};
}

// The run-time error number `action` raises; 0 when it raises none.
long ErrorNumberOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const toolkit::RunTimeError& error) {
        return error.Number();
    }
    return 0;
}

// A copy of the region the window holds; empty when it holds none.
UniqueRegion WindowRegion(HWND window) {
    UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
    if (GetWindowRgn(window, region.get()) == ERROR) {
        region.reset();
    }
    return region;
}

// Wine stores a normalised copy of a window's region, so regions are compared by their
// symmetric difference, not with EqualRgn.
bool SameRegion(HRGN a, HRGN b) {
    const UniqueRegion difference(CreateRectRgn(0, 0, 0, 0));
    return CombineRgn(difference.get(), a, b, RGN_XOR) == NULLREGION;
}

UniqueRegion RoundRect(int width, int height, int corner) {
    return UniqueRegion(CreateRoundRectRgn(0, 0, width, height, corner, corner));
}

::testing::AssertionResult HoldsRoundRect(HWND window, int width, int height, int corner) {
    const UniqueRegion held = WindowRegion(window);
    if (!held) {
        return ::testing::AssertionFailure() << "the window holds no region";
    }
    const UniqueRegion expected = RoundRect(width, height, corner);
    if (!SameRegion(held.get(), expected.get())) {
        RECT box{};
        GetRgnBox(held.get(), &box);
        return ::testing::AssertionFailure()
               << "the window's region (box " << box.right - box.left << " x "
               << box.bottom - box.top << ") is not CreateRoundRectRgn(0, 0, " << width << ", "
               << height << ", " << corner << ", " << corner << ")";
    }
    return ::testing::AssertionSuccess();
}

// How many regions exist in this process, read from the GDI handle table: GetGuiResources is
// a stub under Wine. Wine accepts a handle given by its table index alone (upper word zero),
// so every index is probed. Windows does not, and there LiveRegionCount fails rather than the
// leak tests passing on a count that sees nothing. Note that Wine copies a region that
// SetWindowRgn accepts and deletes the handle at once, where Windows keeps it until the window
// gets another region or is destroyed; either way the count must not grow.
int LiveRegions() {
    int count = 0;
    for (std::uintptr_t index = 1; index <= 0xFFFF; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) == OBJ_REGION) {
            ++count;
        }
    }
    return count;
}

// --- The conversions ------------------------------------------------------------------------

TEST(RoundToInt32, RoundsHalvesToEven) {
    EXPECT_EQ(RoundToInt32(400.5), 400);
    EXPECT_EQ(RoundToInt32(401.5), 402);
    EXPECT_EQ(RoundToInt32(12.5), 12);
    EXPECT_EQ(RoundToInt32(13.5), 14);
    EXPECT_EQ(RoundToInt32(0.5), 0);
    EXPECT_EQ(RoundToInt32(-0.5), 0);
    EXPECT_EQ(RoundToInt32(-1.5), -2);
    EXPECT_EQ(RoundToInt32(-2.5), -2);
}

TEST(RoundToInt32, RoundsOtherValuesToNearest) {
    EXPECT_EQ(RoundToInt32(296.25), 296);
    EXPECT_EQ(RoundToInt32(12.500001), 13);
    EXPECT_EQ(RoundToInt32(12.499999), 12);
    EXPECT_EQ(RoundToInt32(-12.7), -13);
    EXPECT_EQ(RoundToInt32(0.0), 0);
    EXPECT_EQ(RoundToInt32(25.0), 25);
}

TEST(RoundToInt32, KeepsTheWhole32BitRange) {
    EXPECT_EQ(RoundToInt32(2147483647.0), 2147483647);
    EXPECT_EQ(RoundToInt32(2147483647.4), 2147483647);
    EXPECT_EQ(RoundToInt32(-2147483648.0), std::numeric_limits<std::int32_t>::min());
}

TEST(RoundToInt32, RaisesOverflowBeyondThe32BitRangeAndForNonNumbers) {
    for (const double value :
         {2147483648.0, 2147483647.5, -2147483649.0, 1e10, -1e300, kInfinity, -kInfinity, kNaN}) {
        EXPECT_EQ(ErrorNumberOf([value] { RoundToInt32(value); }), toolkit::kOverflow)
            << "value " << value;
    }
}

TEST(PixelsFromTwips, DividesInDoublePrecisionThenRoundsHalfToEven) {
    EXPECT_EQ(PixelsFromTwips(6180.0f, 15.0f), 412);
    EXPECT_EQ(PixelsFromTwips(3555.0f, 15.0f), 237);
    EXPECT_EQ(PixelsFromTwips(6180.0f, 12.0f), 515);
    EXPECT_EQ(PixelsFromTwips(3555.0f, 12.0f), 296);   // 296.25
    EXPECT_EQ(PixelsFromTwips(12015.0f, 30.0f), 400);  // 400.5
    EXPECT_EQ(PixelsFromTwips(12045.0f, 30.0f), 402);  // 401.5
}

TEST(PixelsFromTwips, KeepsTheQuotientInDoublePrecision) {
    // Each quotient, rounded to single precision first, would become a half and go to the
    // even neighbour below.
    EXPECT_EQ(PixelsFromTwips(15728648.0f, 15.0f), 1048577);     // 1048576.533..., not 1048576.5
    EXPECT_EQ(PixelsFromTwips(12582914.0f, 3.0f), 4194305);      // 4194304.666..., not 4194304.5
    EXPECT_EQ(PixelsFromTwips(4177928.0f, 15.000001f), 278529);  // 278528.515625, not .5
}

TEST(PixelsFromTwips, ADivisionByZeroRaisesTheFloatingPointError) {
    EXPECT_EQ(ErrorNumberOf([] { PixelsFromTwips(6180.0f, 0.0f); }), toolkit::kDivisionByZero);
    EXPECT_EQ(ErrorNumberOf([] { PixelsFromTwips(-6180.0f, 0.0f); }), toolkit::kDivisionByZero);
    EXPECT_EQ(ErrorNumberOf([] { PixelsFromTwips(6180.0f, -0.0f); }), toolkit::kDivisionByZero);
}

TEST(PixelsFromTwips, AnInvalidDivisionRaisesOverflow) {
    EXPECT_EQ(ErrorNumberOf([] { PixelsFromTwips(0.0f, 0.0f); }), toolkit::kOverflow);
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(ErrorNumberOf([infinity] { PixelsFromTwips(infinity, infinity); }),
              toolkit::kOverflow);
}

TEST(PixelsFromTwips, AQuotientBeyondThe32BitRangeOrNotANumberRaisesOverflow) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float infinity = std::numeric_limits<float>::infinity();
    EXPECT_EQ(ErrorNumberOf([] { PixelsFromTwips(3e38f, 1e-38f); }), toolkit::kOverflow);
    EXPECT_EQ(ErrorNumberOf([] { PixelsFromTwips(6180.0f, 1e-6f); }), toolkit::kOverflow);
    EXPECT_EQ(ErrorNumberOf([nan] { PixelsFromTwips(6180.0f, nan); }), toolkit::kOverflow);
    EXPECT_EQ(ErrorNumberOf([nan] { PixelsFromTwips(nan, 15.0f); }), toolkit::kOverflow);
    EXPECT_EQ(ErrorNumberOf([infinity] { PixelsFromTwips(infinity, 15.0f); }), toolkit::kOverflow);
}

TEST(PixelsFromTwips, LeavesNoFloatingPointFlagToTheNextCall) {
    EXPECT_EQ(ErrorNumberOf([] { PixelsFromTwips(6180.0f, 0.0f); }), toolkit::kDivisionByZero);
    EXPECT_EQ(PixelsFromTwips(6180.0f, 15.0f), 412);
    EXPECT_EQ(ErrorNumberOf([] { PixelsFromTwips(0.0f, 0.0f); }), toolkit::kOverflow);
    EXPECT_EQ(PixelsFromTwips(1.0f, 3.0f), 0);     // inexact only: not a fault
    EXPECT_EQ(PixelsFromTwips(1e-38f, 1e30f), 0);  // underflow: not a fault
}

// --- The region a window receives -----------------------------------------------------------

class SmoothFormCornersTest : public ::testing::Test {
  protected:
    toolkit::Form form{Design(kMainWidthTwips, kMainHeightTwips)};
    HWND window = form.hWnd();
};

TEST_F(SmoothFormCornersTest, TheTestScreenHas15TwipsPerPixel) {
    // The test prefix runs at 96 DPI; the examples below that use the real screen rely on it.
    ASSERT_EQ(toolkit::TwipsPerPixelX(), 15.0f);
    ASSERT_EQ(toolkit::TwipsPerPixelY(), 15.0f);
    RECT bounds{};
    GetWindowRect(window, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, 412);
    EXPECT_EQ(bounds.bottom - bounds.top, 237);
    EXPECT_FALSE(WindowRegion(window)) << "a new form has no region";
}

TEST_F(SmoothFormCornersTest, TheMainWindowOnTheRealScreenGets412By237With12PixelCorners) {
    SmoothFormCorners(form, 12);
    EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 12));
}

TEST_F(SmoothFormCornersTest, At12TwipsPerPixelTheSameWindowGets515By296) {
    SmoothFormCorners(form, 12, kAt12);
    EXPECT_TRUE(HoldsRoundRect(window, 515, 296, 12));
}

TEST_F(SmoothFormCornersTest, TheRegionComparisonTellsNeighbouringSizesApart) {
    // Without this the checks below could pass with the wrong numbers.
    EXPECT_FALSE(SameRegion(RoundRect(412, 237, 12).get(), RoundRect(412, 237, 13).get()));
    EXPECT_FALSE(SameRegion(RoundRect(412, 237, 14).get(), RoundRect(412, 237, 13).get()));
    EXPECT_FALSE(SameRegion(RoundRect(400, 237, 12).get(), RoundRect(401, 237, 12).get()));
    EXPECT_FALSE(SameRegion(RoundRect(402, 237, 12).get(), RoundRect(401, 237, 12).get()));
    EXPECT_FALSE(SameRegion(RoundRect(412, 237, 25).get(), RoundRect(412, 237, 12).get()));
}

TEST_F(SmoothFormCornersTest, CornerSizesRoundHalfToEven) {
    SmoothFormCorners(form, 12.5);
    EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 12));
    SmoothFormCorners(form, 13.5);
    EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 14));
    SmoothFormCorners(form, 0.5);
    EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 0));
}

TEST(SmoothFormCorners, AWidthHalfwayBetweenTwoPixelsRoundsToEven) {
    // 801 and 803 pixels are 12015 and 12045 twips on the real screen; at 30 twips per pixel
    // they are 400.5 and 401.5 pixels.
    const ScreenMetrics screen{Metric<30>, Metric<15>};
    toolkit::Form narrower(Design(12015, kMainHeightTwips));
    SmoothFormCorners(narrower, 12, screen);
    EXPECT_TRUE(HoldsRoundRect(narrower.hWnd(), 400, 237, 12));
    toolkit::Form wider(Design(12045, kMainHeightTwips));
    SmoothFormCorners(wider, 12, screen);
    EXPECT_TRUE(HoldsRoundRect(wider.hWnd(), 402, 237, 12));
}

TEST(SmoothFormCorners, AHeightHalfwayBetweenTwoPixelsRoundsToEven) {
    // 267 pixels are 4005 twips: 400.5 pixels at 10 twips per pixel.
    toolkit::Form form(Design(kMainWidthTwips, 4005));
    SmoothFormCorners(form, 12, ScreenMetrics{Metric<15>, Metric<10>});
    EXPECT_TRUE(HoldsRoundRect(form.hWnd(), 412, 400, 12));
}

TEST_F(SmoothFormCornersTest, ASecondCallReplacesTheFirst) {
    SmoothFormCorners(form, 25);
    ASSERT_TRUE(HoldsRoundRect(window, 412, 237, 25));
    SmoothFormCorners(form, 12);
    EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 12));
}

TEST_F(SmoothFormCornersTest, TheShapeFollowsTheSizeAtTheTimeOfTheCall) {
    SmoothFormCorners(form, 12);
    form.SetHeight(3000);  // 200 pixels
    EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 12)) << "the shape does not follow by itself";
    SmoothFormCorners(form, 12);
    EXPECT_TRUE(HoldsRoundRect(window, 412, 200, 12));
}

TEST_F(SmoothFormCornersTest, AVisibleWindowIsShapedToo) {
    ShowWindow(window, SW_SHOWNOACTIVATE);
    SmoothFormCorners(form, 25);
    EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 25));
    SmoothFormCorners(form, 12);
    EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 12));
}

TEST_F(SmoothFormCornersTest, CornerSizesAreNotClamped) {
    for (const double corner : {0.0, -0.0, -12.0, -13.5, 1.0, 2.0, 237.0, 412.0, 1000.0, 1e6,
                                2147483647.0, -2147483648.0}) {
        SmoothFormCorners(form, corner);
        EXPECT_TRUE(HoldsRoundRect(window, 412, 237, RoundToInt32(corner))) << "corner " << corner;
    }
}

// --- Faults: a run-time error, nothing created, the previous shape kept ----------------------

TEST_F(SmoothFormCornersTest, ACornerSizeThatIsNoNumberOrBeyond32BitsRaisesOverflow) {
    SmoothFormCorners(form, 12);
    for (const double corner :
         {kNaN, kInfinity, -kInfinity, 2147483648.0, 2147483647.5, -2147483649.0, 1e10, -1e300}) {
        const int regionsBefore = LiveRegions();
        EXPECT_EQ(ErrorNumberOf([&] { SmoothFormCorners(form, corner); }), toolkit::kOverflow)
            << "corner " << corner;
        EXPECT_EQ(LiveRegions(), regionsBefore) << "corner " << corner;
        EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 12)) << "corner " << corner;
    }
}

TEST_F(SmoothFormCornersTest, AZeroHorizontalMetricRaisesDivisionByZeroAndKeepsTheShape) {
    SmoothFormCorners(form, 25);
    const int regionsBefore = LiveRegions();
    EXPECT_EQ(ErrorNumberOf([&] { SmoothFormCorners(form, 12, kZeroHorizontal); }),
              toolkit::kDivisionByZero);
    EXPECT_EQ(LiveRegions(), regionsBefore);
    EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 25));
}

TEST_F(SmoothFormCornersTest, AZeroVerticalMetricRaisesDivisionByZeroAndKeepsTheShape) {
    SmoothFormCorners(form, 25);
    const int regionsBefore = LiveRegions();
    EXPECT_EQ(ErrorNumberOf([&] { SmoothFormCorners(form, 12, kZeroVertical); }),
              toolkit::kDivisionByZero);
    EXPECT_EQ(LiveRegions(), regionsBefore);
    EXPECT_TRUE(HoldsRoundRect(window, 412, 237, 25));
}

TEST_F(SmoothFormCornersTest, AZeroMetricOnAWindowWithoutARegionLeavesItWithout) {
    EXPECT_EQ(ErrorNumberOf([&] { SmoothFormCorners(form, 12, kZeroBoth); }),
              toolkit::kDivisionByZero);
    EXPECT_FALSE(WindowRegion(window));
}

TEST_F(SmoothFormCornersTest, ADivisionFaultComesBeforeABadCornerSize) {
    // The sizes are worked out before the corner: a zero metric is reported, not the NaN.
    EXPECT_EQ(ErrorNumberOf([&] { SmoothFormCorners(form, kNaN, kZeroHorizontal); }),
              toolkit::kDivisionByZero);
}

TEST(SmoothFormCorners, AZeroMetricOnAZeroWidthWindowRaisesOverflow) {
    // 0 / 0 is an invalid operation, which is reported as overflow.
    toolkit::Form form(Design(0, kMainHeightTwips));
    ASSERT_EQ(form.Width(), 0.0f);
    EXPECT_EQ(ErrorNumberOf([&] { SmoothFormCorners(form, 12, kZeroHorizontal); }),
              toolkit::kOverflow);
    EXPECT_FALSE(WindowRegion(form.hWnd()));
}

// --- Leaks ------------------------------------------------------------------------------------

TEST(LiveRegionCount, SeesARegionThatIsNotDeleted) {
    const int before = LiveRegions();
    HRGN leaked = CreateRoundRectRgn(0, 0, 412, 237, 12, 12);
    ASSERT_NE(leaked, nullptr);
    EXPECT_EQ(LiveRegions(), before + 1);
    DeleteObject(leaked);
    EXPECT_EQ(LiveRegions(), before);
}

TEST_F(SmoothFormCornersTest, ManyCallsLeakNoRegion) {
    SmoothFormCorners(form, 25);
    const int before = LiveRegions();
    for (int call = 0; call < 500; ++call) {
        SmoothFormCorners(form, call % 2 == 0 ? 12 : 25);
        SmoothFormCorners(form, call % 40, kAt12);
    }
    EXPECT_EQ(LiveRegions(), before);
    for (int call = 0; call < 200; ++call) {
        ErrorNumberOf([&] { SmoothFormCorners(form, kNaN); });
        ErrorNumberOf([&] { SmoothFormCorners(form, 12, kZeroHorizontal); });
    }
    EXPECT_EQ(LiveRegions(), before);
}

TEST(SmoothFormCorners, RegionsOfDestroyedWindowsAreFreedWithThem) {
    // Wine makes one region of its own for the first window of the process; count after it.
    const toolkit::Form first(Design(kMainWidthTwips, kMainHeightTwips));
    const int before = LiveRegions();
    for (int window = 0; window < 20; ++window) {
        toolkit::Form form(Design(kMainWidthTwips, kMainHeightTwips));
        SmoothFormCorners(form, 25);
        SmoothFormCorners(form, 12);
    }
    EXPECT_EQ(LiveRegions(), before);
}

}  // namespace
