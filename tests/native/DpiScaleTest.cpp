#include "common/DpiScale.h"

#include <gtest/gtest.h>

TEST(DpiScale, RoundsAsMulDivDoes)
{
    struct Case {
        int length96;
        unsigned dpi;
        int scaled;
    };
    constexpr Case kCases[] = {
        {72, 96, 72},  {72, 120, 90},  {72, 144, 108}, {72, 192, 144}, {1, 120, 1},   // 1.25 down
        {2, 120, 3},   {3, 144, 5},    {-3, 144, -5},  {-2, 120, -3},  {6, 0, 6},     // halves away from zero
        {20, 120, 25}, {33, 144, 50},  {0, 192, 0},    {-7, 96, -7},   {1000000, 192, 2000000},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(ScaleForDpi(c.length96, c.dpi), c.scaled) << c.length96 << " at " << c.dpi;
}
