// The Properties box's values, from records as the main dialog leaves them.

#include "info/TouchScreenProperties.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* what;
    std::int32_t number, monitor, calibration;
    std::int32_t version[4];
    std::int8_t serial1, serial2;
    std::int32_t serial3;
    TouchScreenProperties expected;
};

const Case kCases[] = {
    {"a fresh record", 0, 0, 0, {0, 0, 0, 0}, 0, 0, 0, {L"0", L"0", L"76", L"", L"000"}},
    {"the version digits and the serial reply",
     3,
     1,
     1,
     {'2', '0', '1', '5'},
     0,
     0,
     0xFFFF,
     {L"3", L"1", L"75", L"2.0.1.5", L"0065535"}},
    {"calibration state 2 reads as not calibrated",
     254,
     2,
     2,
     {'1', '0', '0', 'A'},
     1,
     2,
     3,
     {L"254", L"2", L"76", L"1.0.0.A", L"123"}},
    {"an unknown state (-1) reads as not calibrated",
     7,
     0,
     -1,
     {'9', '9', '9', '9'},
     0,
     0,
     0,
     {L"7", L"0", L"76", L"9.9.9.9", L"000"}},
    {"a negative version value is a 0 that ends the text",
     0,
     0,
     1,
     {'2', -1, '1', '5'},
     0,
     0,
     0,
     {L"0", L"0", L"75", L"2.", L"000"}},
    {"a 0 in the last place leaves the dots before it",
     0,
     0,
     0,
     {'3', '1', '4', 0},
     0,
     0,
     0,
     {L"0", L"0", L"76", L"3.1.4.", L"000"}},
    {"the version is the low byte of each value",
     0,
     0,
     0,
     {0x132, 0x30, 0x31, 0x35},
     0,
     0,
     0,
     {L"0", L"0", L"76", L"2.0.1.5", L"000"}},
    {"negative serial parts count as 0",
     0,
     0,
     0,
     {'1', '2', '3', '4'},
     -5,
     127,
     -1,
     {L"0", L"0", L"76", L"1.2.3.4", L"01270"}},
    {"a version code above 127 is its Latin-1 character",
     0,
     0,
     0,
     {0xE9, '1', '2', '3'},
     0,
     0,
     2147483647,
     {L"0", L"0", L"76", L"\u00E9.1.2.3", L"002147483647"}},
    {"numbers are shown as held, a negative monitor too",
     -3,
     -1,
     0,
     {'1', '1', '1', '1'},
     0,
     0,
     0,
     {L"-3", L"-1", L"76", L"1.1.1.1", L"000"}},
};

} // namespace

TEST(TouchScreenProperties, ValuesFromTheRecord)
{
    for (const Case& c : kCases) {
        TouchScreenRecord record;
        record.touchScreenNumber = c.number;
        record.monitorNumber = c.monitor;
        record.calibrationState = c.calibration;
        std::copy(std::begin(c.version), std::end(c.version), record.hardwareVersion);
        record.serialPart1 = c.serial1;
        record.serialPart2 = c.serial2;
        record.serialPart3 = c.serial3;
        const TouchScreenProperties shown = FormatTouchScreenProperties(record);
        EXPECT_EQ(shown.touchScreenNumber, c.expected.touchScreenNumber) << c.what;
        EXPECT_EQ(shown.monitorNumber, c.expected.monitorNumber) << c.what;
        EXPECT_EQ(shown.calibratedKey, c.expected.calibratedKey) << c.what;
        EXPECT_EQ(shown.hardwareVersion, c.expected.hardwareVersion) << c.what;
        EXPECT_EQ(shown.serialNumber, c.expected.serialNumber) << c.what;
    }
}
