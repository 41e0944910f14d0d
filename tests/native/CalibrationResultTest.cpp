#include "calibration/CalibrationResult.h"
#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationRefit.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <tuple>
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

// A frame whose raw coordinates are affine in the position on its panel.
// The panel is measured in the pixels of the monitor the frame was
// calibrated on, turned back to the panel's own orientation, so that the
// raw points of that calibration's targets are whole numbers.
struct AffineFrame {
    MonitorEntry panel;

    RawTouchPoint At(const MonitorEntry& monitor, double x, double y) const
    {
        double u = (x - monitor.left) / (monitor.right - monitor.left);
        double v = (y - monitor.top) / (monitor.bottom - monitor.top);
        // The picture turns counter-clockwise: its top left comes to the panel's bottom left.
        for (int i = 0; i < monitor.orientation; ++i)
            std::tie(u, v) = std::pair{v, 1 - u};
        const bool upright = panel.orientation % 2 == 0;
        const double px = u * (upright ? panel.right - panel.left : panel.bottom - panel.top);
        const double py = v * (upright ? panel.bottom - panel.top : panel.right - panel.left);
        return {std::int32_t(std::lround(310 + 7 * px + 3 * py)), std::int32_t(std::lround(4020 - 2 * px + 5 * py))};
    }
    // The record a calibration of this frame over `area` stores.
    DeviceConfig Calibrate(const std::vector<MonitorEntry>& monitors, const ScreenRect& area, std::int32_t monitor,
                           const DeviceConfig& stored) const
    {
        CalibrationInput input;
        for (int i = 0; i < 4; ++i) {
            const TargetShape t = CalibrationTarget(i, area.right - area.left, area.bottom - area.top);
            input.points[i] = At(monitors[monitor], area.left + t.x, area.top + t.y);
        }
        input.window = area;
        input.monitors = monitors;
        input.mapping.monitorNumber = monitor;
        return ComputeCalibratedConfig(input, stored);
    }
};

TEST(CalibrationRefit, RecordFollowsItsMonitor)
{
    using V = RefitVerdict;
    const MonitorEntry sxga{0, 0, 1280, 1024}, fullHd{0, 0, 1920, 1080};
    const ScreenRect fullSxga{0, 0, 1280, 1024}, full{0, 0, 1920, 1080};
    struct Row {
        const char* name;
        std::vector<MonitorEntry> before;
        ScreenRect area;
        std::int32_t monitor;
        bool kept; // the display was kept at calibration time
        std::vector<MonitorEntry> after;
        V verdict;
        ScreenRect fitted = {}; // Refitted: the new area
        void (*edit)(DeviceConfig&) = nullptr;
        std::optional<ScreenRect> keptArea = {}; // the kept display's, when an import changed the record since
    };
    const Row rows[] = {
        {"resolution up, record alone", {sxga}, fullSxga, 0, false, {fullHd}, V::Refitted, full},
        {"resolution down, kept", {fullHd}, full, 0, true, {sxga}, V::Refitted, fullSxga},
        {"second monitor moved as the first shrank",
         {fullHd, {1920, 0, 3840, 1080, 1}},
         {1920, 0, 3840, 1080},
         1,
         false,
         {sxga, {1280, 0, 3200, 1080, 1}},
         V::Refitted,
         {1280, 0, 3200, 1080}},
        {"negative coordinates",
         {sxga, {-1280, 0, 0, 1024, 1}},
         {-1280, 0, 0, 1024},
         1,
         true,
         {sxga, {-1920, -56, 0, 1024, 1}},
         V::Refitted,
         {-1920, -56, 0, 1024}},
        {"turned 90 degrees", {fullHd}, full, 0, true, {{0, 0, 1080, 1920, 0, 1}}, V::Refitted, {0, 0, 1080, 1920}},
        {"turned 180 degrees", {fullHd}, full, 0, true, {{0, 0, 1920, 1080, 0, 2}}, V::Refitted, full},
        {"turned 270 degrees", {{0, 0, 1080, 1920, 0, 1}}, {0, 0, 1080, 1920}, 0, true, {fullHd}, V::Refitted, full},
        // The top left quarter of a picture turned a quarter counter-clockwise lies at its top right.
        {"region turned",
         {fullHd},
         {0, 0, 960, 540},
         0,
         true,
         {{0, 0, 1080, 1920, 0, 1}},
         V::Refitted,
         {540, 0, 1080, 960}},
        // 301 x 1.5 = 451.5 and 200 x 1080 / 1024 = 210.9: each edge to the nearest pixel.
        {"region, kept", {sxga}, {301, 200, 1001, 900}, 0, true, {fullHd}, V::Refitted, {452, 211, 1502, 949}},
        {"region, record alone", {sxga}, {100, 100, 700, 600}, 0, false, {fullHd}, V::Refitted, {150, 105, 1050, 633}},
        {"region, record alone, first monitor as it was",
         {fullHd},
         {480, 270, 1440, 810},
         0,
         false,
         {fullHd, {1920, 0, 3200, 1024, 1}},
         V::AlreadyRight},
        {"display as it was", {fullHd}, full, 0, true, {fullHd}, V::AlreadyRight},
        {"left edges disagree",
         {fullHd},
         full,
         0,
         true,
         {sxga},
         V::Inconsistent,
         {},
         [](DeviceConfig& r) { ++r.OriginXScaled; }},
        // The kept region describes another calibration: taken at its word, it would shrink the area to a quarter.
        {"kept display voided by an import",
         {fullHd},
         full,
         0,
         true,
         {{0, 0, 2560, 1440}},
         V::Refitted,
         {0, 0, 2560, 1440},
         nullptr,
         ScreenRect{0, 0, 960, 540}},
        {"turned, record alone", {fullHd}, full, 0, false, {{0, 0, 1080, 1920, 0, 1}}, V::TurnUnknown},
        {"monitor gone",
         {fullHd, {1920, 0, 3840, 1080, 1}},
         {1920, 0, 3840, 1080},
         1,
         true,
         {fullHd},
         V::MonitorMissing},
        {"not calibrated",
         {fullHd},
         full,
         0,
         false,
         {sxga},
         V::NotCalibrated,
         {},
         [](DeviceConfig& r) { r.IsCalibrate = 0; }},
    };
    DeviceConfigSlots carried{};
    for (std::size_t i = 0; i < carried.size(); ++i)
        carried[i] = static_cast<std::int32_t>(500 + i);
    for (const Row& row : rows) {
        const AffineFrame frame{row.before[row.monitor]};
        DeviceConfig stored = frame.Calibrate(row.before, row.area, row.monitor, FromSlots(carried));
        if (row.edit)
            row.edit(stored);
        std::optional<CalibratedDisplay> kept;
        if (row.kept)
            kept =
                CalibratedDisplay{row.before[row.monitor], ScaleBase(row.before, {}), row.keptArea.value_or(row.area)};
        const RefitResult result = RefitRecord(stored, kept, row.after);
        EXPECT_EQ(result.verdict, row.verdict) << row.name;
        if (row.verdict != V::Refitted || result.verdict != V::Refitted)
            continue;
        // What a calibration with the same frame on the new display stores.
        const DeviceConfig expected = frame.Calibrate(row.after, row.fitted, row.monitor, stored);
        EXPECT_EQ(ToSlots(result.record), ToSlots(expected)) << row.name;
        EXPECT_TRUE(result.to.refitted) << row.name;
        // Stored again, it is right as it is.
        EXPECT_EQ(RefitRecord(result.record, result.to, row.after).verdict, V::AlreadyRight) << row.name;
    }
    // Half a turn only swaps the points: the first target is where the fourth was.
    const AffineFrame frame{fullHd};
    const DeviceConfig upright = frame.Calibrate({fullHd}, full, 0, {});
    const DeviceConfig turned =
        RefitRecord(upright, CalibratedDisplay{fullHd, {1920, 1080}, full}, {{{0, 0, 1920, 1080, 0, 2}}}).record;
    EXPECT_EQ((std::array{turned.M1X, turned.M1Y, turned.M4X, turned.M4Y, turned.M2X, turned.M3X}),
              (std::array{upright.M4X, upright.M4Y, upright.M1X, upright.M1Y, upright.M3X, upright.M2X}));
}

} // namespace
