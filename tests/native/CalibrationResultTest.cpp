#include "calibration/CalibrationResult.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Case {
    const char* name;
    std::vector<MonitorEntry> monitors;
    ScreenRect window;
    std::int32_t mappingMonitor;
    // slots 0, 1, 2, 3, 19, 20, 22, 30, 31, 32, 33
    std::array<std::int32_t, 11> expected;
};

std::array<std::int32_t, 11> Written(const DeviceConfig& c)
{
    return {c.AreaWidthScaled, c.AreaHeightScaled, c.AreaWidth,       c.AreaHeight,
            c.OriginXScaled,   c.OriginYScaled,    c.MonitorID,       c.AreaLeftScaled,
            c.AreaTopScaled,   c.AreaRightScaled,  c.AreaBottomScaled};
}

const MonitorEntry kFullHd{0, 0, 1920, 1080, 0};

TEST(CalibrationResult, ScaledAreaAndMonitor)
{
    const Case cases[] = {
        {"full monitor", {kFullHd}, {0, 0, 1920, 1080}, 0, {65536, 65536, 1920, 1080, 0, 0, 0, 0, 0, 65536, 65536}},
        {"region",
         {kFullHd},
         {480, 270, 1440, 810},
         0,
         {32768, 32768, 960, 540, 16384, 16384, 0, 16384, 16384, 49152, 49152}},
        {"second monitor right",
         {kFullHd, {1920, 0, 3840, 1080, 1}},
         {1920, 0, 3840, 1080},
         1,
         {65536, 65536, 1920, 1080, 65536, 0, 1, 65536, 0, 131072, 65536}},
        {"monitor left of the first",
         {{0, 0, 1280, 1024, 0}, {-1280, 0, 0, 1024, 1}},
         {-1280, 0, 0, 1024},
         1,
         {65536, 65536, 1280, 1024, -65536, 0, 1, -65536, 0, 0, 65536}},
        {"mapping beyond the monitors",
         {kFullHd, {1920, 0, 3840, 1080, 1}},
         {0, 0, 1920, 1080},
         2,
         {65536, 65536, 1920, 1080, 0, 0, 0, 0, 0, 65536, 65536}},
        {"unset mapping kept",
         {kFullHd},
         {0, 0, 1920, 1080},
         -1,
         {65536, 65536, 1920, 1080, 0, 0, -1, 0, 0, 65536, 65536}},
        // Truncation toward zero: 1 x 65536 / 1920 = 34.13, -1 gives -34.
        {"truncation", {kFullHd}, {-1, 1, 1, 1081}, 0, {68, 65536, 2, 1080, -34, 60, 0, -34, 60, 34, 65596}},
        // Coordinates at 32768 and beyond no longer overflow.
        {"large desktop",
         {{0, 0, 1000, 1000, 0}},
         {40000, 0, 41000, 1000},
         0,
         {65536, 65536, 1000, 1000, 2621440, 0, 0, 2621440, 0, 2686976, 65536}},
        // No monitor enumerated: the primary screen (1280 x 1024 here) stands in.
        {"no monitors", {}, {0, 0, 640, 512}, 0, {32768, 32768, 640, 512, 0, 0, 0, 0, 0, 32768, 32768}},
        {"first monitor of no size",
         {{0, 0, 0, 0, 0}},
         {0, 0, 640, 512},
         0,
         {32768, 32768, 640, 512, 0, 0, 0, 0, 0, 32768, 32768}},
    };
    for (const Case& c : cases) {
        CalibrationInput input;
        input.monitors = c.monitors;
        input.window = c.window;
        input.mapping.monitorNumber = c.mappingMonitor;
        input.primaryScreen = {1280, 1024};
        DeviceConfig result = ComputeCalibratedConfig(input, DeviceConfig{});
        EXPECT_EQ(Written(result), c.expected) << c.name;
        EXPECT_EQ(result.IsCalibrate, 1) << c.name;
    }
}

TEST(CalibrationResult, PointsStoredAsReportedAndOtherSlotsCarried)
{
    DeviceConfigSlots stored;
    for (std::size_t i = 0; i < stored.size(); ++i)
        stored[i] = -static_cast<std::int32_t>(i) - 100;
    CalibrationInput input;
    std::vector<MonitorEntry> monitors = {kFullHd};
    input.monitors = monitors;
    input.window = {0, 0, 1920, 1080};
    input.mapping.monitorNumber = 0;
    // Out of order on purpose: nothing sorts or checks them.
    input.points = {{{65535, 0}, {0, 65535}, {300, 200}, {300, 200}}};
    DeviceConfigSlots result = ToSlots(ComputeCalibratedConfig(input, FromSlots(stored)));
    EXPECT_EQ(std::vector<std::int32_t>(result.begin() + 7, result.begin() + 15),
              (std::vector<std::int32_t>{65535, 0, 0, 65535, 300, 200, 300, 200}));
    for (std::size_t slot : {4, 5, 6, 15, 16, 17, 18, 21, 24, 25, 26, 27, 28, 29})
        EXPECT_EQ(result[slot], stored[slot]) << "slot " << slot;
    // The same input gives the same record (the OK path stores it again).
    EXPECT_EQ(ToSlots(ComputeCalibratedConfig(input, FromSlots(stored))), result);
}

TEST(CalibrationResult, ReadRequestNamesTheTouchScreen)
{
    TouchScreenRecord record;
    record.touchScreenNumber = 5;
    EXPECT_EQ(CalibrationReadRequest(record).TouchScreenNumber, 5);
}

} // namespace
