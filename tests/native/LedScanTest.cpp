// The LED scan: collecting the streams, parsing them, counting bad LEDs and
// the result lines, byte for byte.

#include "diagnostics/LedScan.h"
#include "device/ReportProtocol.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

// The bytes as the frame sends them: eight per report, report id 0x30.
void Feed(CLedScan& scan, const Bytes& bytes, bool levels, std::uint8_t reportId = kDiagnosticsReportId)
{
    for (std::size_t at = 0; at < bytes.size(); at += 8) {
        Report report{};
        report[0] = reportId;
        for (std::size_t i = 0; i < 8 && at + i < bytes.size(); ++i)
            report[1 + i] = bytes[at + i];
        levels ? scan.AddLevelReport(report) : scan.AddStatusReport(report);
    }
}

// Level bytes with the header given, L[8] unused, then `leds` levels `step` apart.
Bytes Levels(std::uint8_t x, std::uint8_t y, std::uint8_t stepByte, int step, const Bytes& leds)
{
    Bytes bytes = {'Z', 'v', x, y, stepByte, 1, 50, 0, 0};
    for (std::size_t k = 0; k < leds.size(); ++k)
        for (int i = 0; i < (k + 1 < leds.size() ? step : 1); ++i)
            bytes.push_back(leds[k]);
    return bytes;
}

Bytes Statuses(const Bytes& leds)
{
    Bytes bytes = {'Z', 'g', 0, 0, 0, 0, 0, 0};
    bytes.insert(bytes.end(), leds.begin(), leds.end());
    return bytes;
}

struct ParseCase {
    const char* what;
    Bytes levels;
    Bytes statuses;
    bool parses;
    int step;
    std::vector<CBuffer> bad;
};

TEST(LedScan, ParsesHeaderStepAndCandidates)
{
    const Bytes good(6, 200);
    const ParseCase cases[] = {
        {"step 2 / 1: LED k's level at 9 + 2k",
         Levels(3, 2, 0x21, 2, {200, 9, 200, 200, 49, 200}),
         Statuses(Bytes(6, 1)),
         true,
         2,
         {{1, 9}, {4, 49}}},
        {"step 6 / 2 = 3",
         Levels(3, 2, 0x62, 3, {200, 200, 7, 200, 200, 200}),
         Statuses(Bytes(6, 1)),
         true,
         3,
         {{2, 7}}},
        {"only candidates with the marker count",
         Levels(3, 2, 0x11, 1, {10, 10, 10, 10, 10, 10}),
         Statuses({1, 2, 1, 0, 1, 3}),
         true,
         1,
         {{0, 10}, {2, 10}, {4, 10}}},
        {"a level at the threshold is good", Levels(2, 0, 0x11, 1, {50, 49}), Statuses({1, 1}), true, 1, {{1, 49}}},
        {"trailing zeros go, a real last level of 0 too: its LED is out of range",
         Levels(3, 2, 0x11, 1, {200, 200, 200, 200, 0, 0}),
         Statuses(Bytes(6, 1)),
         true,
         1,
         {}},
        {"a status past the levels adds nothing", Levels(1, 1, 0x11, 1, {200}), Statuses(Bytes(4, 1)), true, 1, {}},
        {"no LED on either axis fails", Levels(0, 0, 0x11, 1, {200}), Statuses({1}), false, 0, {}},
        {"a divisor of 0 fails", Levels(3, 2, 0x20, 2, good), Statuses(Bytes(6, 1)), false, 0, {}},
        {"no level signature", {'Z', 'g', 3, 2, 0x11, 1, 50, 1, 0, 200}, Statuses(Bytes(6, 1)), false, 0, {}},
        {"no status signature", Levels(3, 2, 0x11, 1, good), {'Z', 'v', 0, 0, 0, 0, 0, 0, 1}, false, 0, {}},
        {"fewer than 8 level bytes", {'Z', 'v', 3, 2, 0x11, 1, 50}, Statuses(Bytes(6, 1)), false, 0, {}},
        {"one status byte", Levels(3, 2, 0x11, 1, good), {'Z'}, false, 0, {}},
        {"all zero", Bytes(40, 0), Bytes(40, 0), false, 0, {}},
        {"nothing at all", {}, {}, false, 0, {}},
    };
    for (const ParseCase& c : cases) {
        CLedScan scan;
        Feed(scan, c.levels, true);
        Feed(scan, c.statuses, false);
        ASSERT_EQ(scan.ParseLedScan(), c.parses) << c.what;
        EXPECT_EQ(scan.Header().has_value(), c.parses) << c.what;
        if (c.parses) {
            EXPECT_EQ(scan.Header()->step, c.step) << c.what;
            EXPECT_EQ(scan.Header()->divisor, 1) << c.what;
        }
        EXPECT_EQ(scan.BadLeds(), c.bad) << c.what;
    }
}

TEST(LedScan, OnlyDiagnosticsReportsAddBytes)
{
    CLedScan scan;
    Feed(scan, Levels(3, 2, 0x11, 1, Bytes(6, 200)), true, kCommandReportId);
    Feed(scan, Statuses(Bytes(6, 1)), false, 0x00);
    EXPECT_TRUE(scan.LevelBytes().empty());
    EXPECT_TRUE(scan.StatusBytes().empty());
    Feed(scan, {'Z', 'v', 1, 2, 3}, true);
    EXPECT_EQ(scan.LevelBytes(), (Bytes{'Z', 'v', 1, 2, 3, 0, 0, 0})); // a report carries eight bytes
    scan.Clear();
    EXPECT_TRUE(scan.LevelBytes().empty());
}

std::wstring LedLine(const wchar_t* number, bool bad)
{
    return std::wstring(L"      ") + number + std::wstring(74, L'-') + (bad ? L"[   Bad  ]" : L"[   OK   ]");
}

TEST(LedScan, ResultLinesCountAndNumberTheAxesAroundTheEntryOfNoLed)
{
    // x = 10, y = 5: entries 0..9 are x LEDs 001..010, 10 is no LED, 11..15
    // are y LEDs 011..015; entry 20 is bad but past every LED.
    Bytes levels(21, 200);
    for (int bad : {0, 9, 10, 11, 15, 20})
        levels[std::size_t(bad)] = 20;
    CLedScan scan;
    Feed(scan, Levels(10, 5, 0x11, 1, levels), true);
    Feed(scan, Statuses(Bytes(21, 1)), false);
    ASSERT_TRUE(scan.ParseLedScan());
    EXPECT_EQ(scan.CountBadX(), 2); // 0 and 9
    EXPECT_EQ(scan.CountBadY(), 3); // 11, 15 and 20; 10 in neither

    TouchScreenIdentity identity;
    identity.number = 7;
    identity.hardwareVersion[0] = -1;
    identity.hardwareVersion[1] = 2;
    identity.hardwareVersion[2] = 30;
    identity.serialPart1 = 1;
    identity.serialPart2 = 2;
    identity.serialPart3 = 345;
    std::vector<std::wstring> expected = {
        L"TouchScreen No:7",
        L"Hardware Version:0.2.30",
        L"Product Serial Number:12345",
        L"Total leds:15 ",
        L"Summary:",
        L"       x-coordinate total leds:10  bad leds:2 ",
        L"       y-coordinate total leds:5  bad leds:3 ",
        L"Diagnostics Result:",
        L"      Led" + std::wstring(99, L' ') + L"Status",
        std::wstring(93, L'-'),
        L"    x-coordinate:",
        LedLine(L"001", true),
        LedLine(L"002", false),
        LedLine(L"003", false),
        LedLine(L"004", false),
        LedLine(L"005", false),
        LedLine(L"006", false),
        LedLine(L"007", false),
        LedLine(L"008", false),
        LedLine(L"009", false),
        LedLine(L"010", true),
        L"    y-coordinate:",
        LedLine(L"011", true),
        LedLine(L"012", false),
        LedLine(L"013", false),
        LedLine(L"014", false),
        LedLine(L"015", true),
    };
    EXPECT_EQ(scan.ResultLines(identity), expected);
    EXPECT_EQ(expected[11].size(), 6u + 3 + 74 + 10);

    // Negative serial parts show as 0; no separators between the parts.
    identity.serialPart1 = -3;
    identity.serialPart2 = 45;
    identity.serialPart3 = -1;
    EXPECT_EQ(scan.ResultLines(identity)[2], L"Product Serial Number:0450");
}

} // namespace
