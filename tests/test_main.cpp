// The main of every test program: the same DPI awareness as the program's, declared before
// anything makes a window or a screen device context, so that on a scaled screen the tests see
// the coordinates and pixels the program sees rather than ones Windows scaled for them.
#include "toolkit/screen.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    toolkit::DeclareDpiAwareness();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
