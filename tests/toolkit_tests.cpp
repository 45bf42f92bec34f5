#include "toolkit/run_time_error.h"

#include <gtest/gtest.h>

TEST(RunTimeError, CarriesStandardDescriptions) {
    EXPECT_EQ(toolkit::RunTimeError(13).Description(), L"Type mismatch");
}
