// The Properties box's values, from records as the main dialog leaves them.

#include "info/TouchScreenProperties.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* what;
    std::int32_t facts[3]; // touchscreen number, monitor number, calibration state
    std::int32_t version[4];
    std::int32_t serial[3];
    const wchar_t* shown[5]; // number, monitor, calibrated key, version, serial
};

const Case kCases[] = {
    {"a fresh record", {0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0}, {L"0", L"0", L"76", L"", L"000"}},
    {"the version's digits, the serial reply",
     {3, 1, 1},
     {'2', '0', '1', '5'},
     {0, 0, 0xFFFF},
     {L"3", L"1", L"75", L"2.0.1.5", L"0065535"}},
    {"state 2 is not calibrated",
     {254, 2, 2},
     {'1', '0', '0', 'A'},
     {1, 2, 3},
     {L"254", L"2", L"76", L"1.0.0.A", L"123"}},
    {"a negative version value ends the text",
     {0, 0, 1},
     {'2', -1, '1', '5'},
     {0, 0, 0},
     {L"0", L"0", L"75", L"2.", L"000"}},
    {"the low byte of each version value",
     {0, 0, 0},
     {0x132, '0', '1', 0},
     {0, 0, 0},
     {L"0", L"0", L"76", L"2.0.1.", L"000"}},
    {"negative serial parts are 0",
     {-3, -1, -1},
     {0xE9, '1', '2', '3'},
     {-5, 127, -1},
     {L"-3", L"-1", L"76", L"\u00E9.1.2.3", L"01270"}},
};

} // namespace

TEST(TouchScreenProperties, ValuesFromTheRecord)
{
    for (const Case& c : kCases) {
        TouchScreenRecord record;
        record.touchScreenNumber = c.facts[0];
        record.monitorNumber = c.facts[1];
        record.calibrationState = c.facts[2];
        std::copy(std::begin(c.version), std::end(c.version), record.hardwareVersion);
        record.serialPart1 = static_cast<std::int8_t>(c.serial[0]);
        record.serialPart2 = static_cast<std::int8_t>(c.serial[1]);
        record.serialPart3 = c.serial[2];
        const TouchScreenProperties shown = FormatTouchScreenProperties(record);
        const TouchScreenProperties expected{c.shown[0], c.shown[1], c.shown[2], c.shown[3], c.shown[4]};
        EXPECT_EQ(shown, expected) << c.what << ": " << testing::PrintToString(shown.hardwareVersion) << " "
                                   << testing::PrintToString(shown.serialNumber);
    }
}
