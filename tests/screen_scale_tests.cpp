// The real program on a screen scaled above the usual 96 DPI: its pictures grow with its layout,
// so that the window stays whole and every control stays on the art drawn for it. The build
// runs these cases once for each scale, each in its own copy of the test prefix.
#include "running_program.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

using namespace std::chrono_literals;
using testing_support::Pixel;
using testing_support::Pixels;

constexpr Pixel kWhite = 0xFFFFFF;

int Red(Pixel pixel) {
    return static_cast<int>((pixel >> 16) & 0xFF);
}
int Green(Pixel pixel) {
    return static_cast<int>((pixel >> 8) & 0xFF);
}
int Blue(Pixel pixel) {
    return static_cast<int>(pixel & 0xFF);
}

// The round buttons' orange-red, from the dark rim to the light glow: not the title's pure red,
// not white, not grey.
bool Orange(Pixel pixel) {
    return Red(pixel) > 150 && Green(pixel) >= 30 && Red(pixel) - Green(pixel) >= 60 &&
           Green(pixel) - Blue(pixel) >= 20;
}

bool Dark(Pixel pixel) {
    return Red(pixel) < 230 && Green(pixel) < 230 && Blue(pixel) < 230;
}

// How much larger the screen draws than the 96 DPI the window is designed at.
double ScreenScale() {
    const toolkit::WindowDc screen(nullptr);
    return GetDeviceCaps(screen.get(), LOGPIXELSY) / 96.0;
}

// A rectangle of the window as designed, in pixels of this screen.
RECT Scaled(const RECT& designed) {
    const auto scale = [](LONG value) { return std::lround(value * ScreenScale()); };
    return {scale(designed.left), scale(designed.top), scale(designed.right),
            scale(designed.bottom)};
}

// The boxes of the minimise and the close button as drawn on the screen: the first two runs of
// columns, from the left, with orange in them above the red band under the title area.
std::vector<RECT> RoundButtonsShown(const Pixels& shown) {
    int bandTop = 0;
    while (bandTop < shown.height && !Orange(shown.At(0, bandTop))) {
        ++bandTop;
    }
    std::vector<RECT> buttons;
    bool inRun = false;
    for (int x = 0; x < shown.width; ++x) {
        int top = bandTop;
        int bottom = 0;
        for (int y = 0; y < bandTop; ++y) {
            if (Orange(shown.At(x, y))) {
                top = std::min(top, y);
                bottom = y + 1;
            }
        }
        if (bottom == 0) {
            inRun = false;
            continue;
        }
        if (!inRun) {
            if (buttons.size() == 2) {
                break;
            }
            buttons.push_back({x, top, x, bottom});
            inRun = true;
        }
        RECT& button = buttons.back();
        button.right = x + 1;
        button.top = std::min<LONG>(button.top, top);
        button.bottom = std::max<LONG>(button.bottom, bottom);
    }
    return buttons;
}

class ScaledScreen : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(ScreenScale(), 1.0) << "these cases are for a screen set above 96 DPI";
        // A pointer resting on the link when the window appears would turn it red.
        MoveMouseTo({0, 0});
        program_.emplace();
    }

    // The centre of the round button drawn at `index` (0 minimise, 1 close), waited for until
    // the window shows both.
    POINT CentreOfRoundButton(std::size_t index) {
        std::vector<RECT> buttons;
        WaitUntil([&] { return (buttons = RoundButtonsShown(program_->Shown())).size() == 2; }, 5s);
        if (buttons.size() != 2) {
            ADD_FAILURE() << "the window shows " << buttons.size() << " round buttons";
            return {-1, -1};
        }
        const RECT& button = buttons[index];
        return program_->ScreenPoint((button.left + button.right) / 2,
                                     (button.top + button.bottom) / 2);
    }

    std::optional<RunningProgram> program_;
};

TEST_F(ScaledScreen, NoBackgroundColourShowsAtAnyEdge) {
    const HWND window = program_->Window();
    const toolkit::UniqueRegion shape(CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(GetWindowRgn(window, shape.get()), ERROR) << "the window has its rounded shape";
    const Pixel face = testing_support::PixelOf(GetSysColor(COLOR_BTNFACE));
    std::vector<POINT> faceAt;
    WaitUntil(
        [&] {
            const Pixels shown = program_->Shown();
            faceAt.clear();
            for (int x = 0; x < shown.width; ++x) {
                for (const int y : {0, shown.height - 1}) {
                    if (PtInRegion(shape.get(), x, y) && shown.At(x, y) == face) {
                        faceAt.push_back({x, y});
                    }
                }
            }
            for (int y = 0; y < shown.height; ++y) {
                for (const int x : {0, shown.width - 1}) {
                    if (PtInRegion(shape.get(), x, y) && shown.At(x, y) == face) {
                        faceAt.push_back({x, y});
                    }
                }
            }
            return faceAt.empty();
        },
        5s);
    ASSERT_EQ(faceAt.size(), 0U) << "first at " << faceAt.front().x << ", " << faceAt.front().y;
}

TEST_F(ScaledScreen, TheLinkLiesOnItsDarkBar) {
    // The link's box, one pixel more on every side than rounding can move it.
    RECT box = Scaled({16, 48, 177, 65});
    InflateRect(&box, 1, 1);
    RECT around = box;
    InflateRect(&around, 1, 1);
    int light = 0;
    int ink = 0;
    WaitUntil(
        [&] {
            const Pixels shown = program_->Shown();
            light = 0;
            for (int x = around.left; x < around.right; ++x) {
                light += (Dark(shown.At(x, around.top)) ? 0 : 1) +
                         (Dark(shown.At(x, around.bottom - 1)) ? 0 : 1);
            }
            for (int y = around.top; y < around.bottom; ++y) {
                light += (Dark(shown.At(around.left, y)) ? 0 : 1) +
                         (Dark(shown.At(around.right - 1, y)) ? 0 : 1);
            }
            ink = shown.Count(box, kWhite);
            return light == 0 && ink > 100;
        },
        5s);
    EXPECT_EQ(light, 0) << "pixels around the link that are not its dark bar";
    EXPECT_GT(ink, 100) << "the link's white lettering";
}

TEST_F(ScaledScreen, AClickOnTheMinimiseButtonsCentreMinimises) {
    ClickAt(CentreOfRoundButton(0));
    EXPECT_TRUE(WaitUntil([&] { return IsIconic(program_->Window()) != FALSE; }, 5s));
}

TEST_F(ScaledScreen, AClickOnTheCloseButtonsCentreEndsTheProgram) {
    ClickAt(CentreOfRoundButton(1));
    DWORD exitCode = STILL_ACTIVE;
    ASSERT_TRUE(program_->WaitForExit(5s, exitCode));
    EXPECT_EQ(exitCode, 0U);
}

}  // namespace
