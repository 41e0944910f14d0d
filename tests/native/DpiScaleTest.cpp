#include "common/DpiScale.h"
#include "ui/ScaledImages.h"

#include <gtest/gtest.h>

TEST(DpiScale, RoundsAsMulDivDoes)
{
    struct Case {
        int length96;
        unsigned dpi;
        int scaled;
    };
    constexpr Case kCases[] = {
        {72, 96, 72},  {72, 120, 90}, {72, 144, 108}, {72, 192, 144}, {1, 120, 1}, // 1.25 down
        {2, 120, 3},   {3, 144, 5},   {-3, 144, -5},  {-2, 120, -3},  {6, 0, 6},   // halves away from zero
        {20, 120, 25}, {33, 144, 50}, {0, 192, 0},    {-7, 96, -7},   {1000000, 192, 2000000},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(ScaleForDpi(c.length96, c.dpi), c.scaled) << c.length96 << " at " << c.dpi;
}

TEST(DpiScale, PicksTheImageDrawnNearestTheWindowsDpi)
{
    struct Case {
        unsigned dpi;
        int id;
    };
    // 168 DPI lies as near 144 as 192: the sharper one.
    constexpr Case kCases[] = {{96, 177},   {0, 177},    {72, 177},   {107, 177},  {108, 1771}, {120, 1771},
                               {131, 1771}, {132, 1772}, {144, 1772}, {168, 1773}, {192, 1773}, {288, 1773}};
    for (const Case& c : kCases)
        EXPECT_EQ(ScaledImageId(177, c.dpi), c.id) << c.dpi;
}
