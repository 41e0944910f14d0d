// The picture of a frame's LEDs: which mark stands where, which are bad, and
// which LED a point over the picture names, for a table of frames.

#include "diagnostics/LedPicture.h"
#include "common/DpiScale.h"
#include "device/ReportProtocol.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// A parsed scan of x by y LEDs whose bad ones are these list numbers, as a
// virtual frame streams it (step 1, marker 1, threshold 50).
CLedScan Scan(std::uint8_t x, std::uint8_t y, const std::vector<int>& badNumbers)
{
    std::vector<std::uint8_t> levels = {'Z', 'v', x, y, 0x11, 1, 50, 0, 0};
    std::vector<std::uint8_t> statuses = {'Z', 'g', 0, 0, 0, 0, 0, 0};
    for (int index = 0; index <= x + y; ++index) {
        const int number = index < x ? index + 1 : index; // index x is no LED
        const bool bad = index != x && std::count(badNumbers.begin(), badNumbers.end(), number);
        levels.push_back(bad ? 25 : 200);
        statuses.push_back(index == x ? 0 : 1);
    }
    CLedScan scan;
    for (auto* bytes : {&levels, &statuses})
        for (std::size_t at = 0; at < bytes->size(); at += 8) {
            Report report{};
            report[0] = kDiagnosticsReportId;
            for (std::size_t i = 0; i < 8 && at + i < bytes->size(); ++i)
                report[1 + i] = (*bytes)[at + i];
            bytes == &levels ? scan.AddLevelReport(report) : scan.AddStatusReport(report);
        }
    EXPECT_TRUE(scan.ParseLedScan());
    return scan;
}

struct PictureCase {
    std::uint8_t x, y;
    std::vector<int> bad;
    PixelRect area;
    unsigned dpi = 96;
};

} // namespace

TEST(LedPicture, MarksAlongTheTopAndLeftEdgesInListOrderWithTheListsBadLeds)
{
    const PictureCase cases[] = {
        {16, 12, {3, 17}, {10, 20, 430, 200}},            // the first y LED is number 17
        {1, 1, {1, 2}, {0, 0, 100, 60}},                  // one LED an axis
        {10, 5, {}, {0, 0, 300, 120}},                    // none bad
        {255, 255, {1, 255, 256, 510}, {0, 0, 420, 180}}, // parts narrower than a pixel on the left
        {16, 12, {3, 17}, {15, 30, 645, 300}, 144},       // 150 %: corner and marks half as large again
    };
    for (const PictureCase& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.x) << " x " << int(c.y) << " at " << c.dpi);
        const LedPictureLayout layout = LayOutLedPicture(Scan(c.x, c.y, c.bad), c.area, c.dpi);
        ASSERT_EQ(layout.marks.size(), std::size_t(c.x + c.y));
        const int corner = ScaleForDpi(kLedPictureCorner, c.dpi);
        EXPECT_EQ(layout.corner, corner);
        EXPECT_GE(layout.markSize, 1);
        EXPECT_LE(layout.markSize, ScaleForDpi(kLedMarkMaxSize, c.dpi));
        for (std::size_t i = 0; i < layout.marks.size(); ++i) {
            const LedMark& mark = layout.marks[i];
            const bool isX = i < c.x;
            EXPECT_EQ(mark.number, int(i) + 1);
            EXPECT_EQ(mark.bad, std::count(c.bad.begin(), c.bad.end(), mark.number) == 1) << mark.number;
            // On its edge line, inside the area, after the corner, in order.
            const int centreX = (mark.mark.left + mark.mark.right) / 2,
                      centreY = (mark.mark.top + mark.mark.bottom) / 2;
            EXPECT_TRUE(c.area.Contains(mark.mark.left, mark.mark.top) &&
                        c.area.Contains(mark.mark.right - 1, mark.mark.bottom - 1));
            if (isX) {
                EXPECT_NEAR(centreY, layout.frame.top, 1);
                EXPECT_GE(centreX, layout.frame.left + corner - 1);
                if (i > 0) {
                    EXPECT_GE(mark.mark.left, layout.marks[i - 1].mark.left);
                }
            } else {
                EXPECT_NEAR(centreX, layout.frame.left, 1);
                EXPECT_GE(centreY, layout.frame.top + corner - 1);
                if (i > c.x) {
                    EXPECT_GE(mark.mark.top, layout.marks[i - 1].mark.top);
                }
            }
            // The hover names the mark's LED wherever parts are at least a pixel wide.
            const int edge = isX ? c.area.right - c.area.left : c.area.bottom - c.area.top;
            if ((isX ? c.x : c.y) * 2 < edge) {
                EXPECT_EQ(LedNumberAt(layout, centreX, centreY), mark.number);
            }
        }
        // Nothing inside the frame or at its corner is an LED.
        EXPECT_EQ(LedNumberAt(layout, (layout.frame.left + layout.frame.right) / 2,
                              (layout.frame.top + layout.frame.bottom) / 2),
                  std::nullopt);
        EXPECT_EQ(LedNumberAt(layout, layout.frame.left, layout.frame.top), std::nullopt); // the corner
    }
}

TEST(LedPicture, NothingToDrawWithoutAScanOrRoom)
{
    EXPECT_TRUE(LayOutLedPicture(CLedScan{}, {0, 0, 400, 200}).marks.empty());
    const LedPictureLayout tiny = LayOutLedPicture(Scan(16, 12, {}), {0, 0, 20, 20});
    EXPECT_TRUE(tiny.marks.empty());
    EXPECT_EQ(LedNumberAt(tiny, 5, 5), std::nullopt);
}
