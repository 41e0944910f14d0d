#include "config/ParameterValidation.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const DriverParameterRow& DriverRow(const std::wstring& key)
{
    for (const DriverParameterRow& row : kDriverRows)
        if (key == row.key)
            return row;
    throw std::invalid_argument("no such row");
}

const TouchScreenParameterRow& TouchRow(const std::wstring& key)
{
    for (const TouchScreenParameterRow& row : kTouchScreenRows)
        if (key == row.key)
            return row;
    throw std::invalid_argument("no such row");
}

struct RangeCase {
    const wchar_t* key;
    int min, max, fallback;
};

// Every driver row: both bounds pass, one beyond either bound, letters,
// a sign or a blank give the fallback with the row's message; empty reads as 0.
TEST(ParameterValidation, DriverRowsAtAndBeyondTheirBounds)
{
    const RangeCase cases[] = {
        {L"Mode", 0, 2, 0},
        {L"EnableTouch", 0, 1, 1},
        {L"HideCursor", 0, 1, 0},
        {L"EnableDoubleClick", 0, 1, 1},
        {L"DoubleClickTime", 200, 1000, 500},
        {L"DoubleClickArea", 4, 32, 12},
        {L"EnableRightClick", 0, 1, 0},
        {L"RightClickTime", 1000, 8000, 1000},
        {L"RightClickArea", 4, 32, 8},
        {L"EnableDragDelay", 0, 1, 0},
        {L"DragDelayTime", 100, 1000, 100},
        {L"EnableDelayTouch", 0, 1, 0},
        {L"DelayTouchTime", 25, 250, 25},
        {L"EnableBeep", 0, 1, 0},
        {L"BeepMode", 0, 2, 0},
        {L"BeepType", 0, 1, 0},
        {L"BeepFrequency", 50, 7000, 7000},
        {L"BeepDuration", 10, 100, 100},
    };
    ASSERT_EQ(std::size(cases), std::size(kDriverRows));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const RangeCase& c = cases[i];
        SCOPED_TRACE(std::string(c.key, c.key + wcslen(c.key)));
        const DriverParameterRow& row = kDriverRows[i];
        EXPECT_EQ(std::wstring(row.key), c.key) << "import order";
        for (int good : {c.min, c.max}) {
            ValidatedValue v = ValidateDriverValue(row, std::to_wstring(good));
            EXPECT_EQ(v.value, good);
            EXPECT_EQ(v.message, nullptr);
        }
        for (int bad : {c.min - 1, c.max + 1}) {
            ValidatedValue v = ValidateDriverValue(row, std::to_wstring(bad));
            EXPECT_EQ(v.value, c.fallback) << bad;
            ASSERT_NE(v.message, nullptr) << bad;
        }
        for (const wchar_t* text : {L"abc", L"1a", L"+1", L"-0", L" 1", L"1 2"}) {
            ValidatedValue v = ValidateDriverValue(row, text);
            EXPECT_EQ(v.value, c.fallback);
            EXPECT_EQ(v.message, row.message);
        }
        ValidatedValue empty = ValidateDriverValue(row, L"");
        bool zeroInRange = c.min <= 0 && 0 <= c.max;
        EXPECT_EQ(empty.value, zeroInRange ? 0 : c.fallback);
        EXPECT_EQ(empty.message == nullptr, zeroInRange);
    }
}

TEST(ParameterValidation, DriverMessagesByteForByte)
{
    EXPECT_STREQ(ValidateDriverValue(DriverRow(L"Mode"), L"3").message, "Mode value is incorrect! value = 0,1,2\n");
    EXPECT_STREQ(ValidateDriverValue(DriverRow(L"Mode"), L"-1").message, "Mode value is incorrect! value = 0,1,2\n");
    EXPECT_STREQ(ValidateDriverValue(DriverRow(L"RightClickTime"), L"x").message,
                 "RightClickTime value is incorrect! value =1000-8000\n");
    EXPECT_STREQ(ValidateDriverValue(DriverRow(L"EnableDelayTouch"), L"x").message,
                 "EnableDelayTouch value is incorrect! value =0,1\n");
    // Frequencies of 50 to 99 pass although the message names 100.
    EXPECT_EQ(ValidateDriverValue(DriverRow(L"BeepFrequency"), L"60").message, nullptr);
    EXPECT_EQ(ValidateDriverValue(DriverRow(L"BeepFrequency"), L"60").value, 60);
    EXPECT_STREQ(ValidateDriverValue(DriverRow(L"BeepFrequency"), L"49").message,
                 "BeepFrequency value is incorrect! value =100-7000\n");
    // The duration has one message for text and another for range.
    EXPECT_STREQ(ValidateDriverValue(DriverRow(L"BeepDuration"), L"ten").message,
                 "BeepDuration value is incorrect! value = 10-100\n");
    EXPECT_STREQ(ValidateDriverValue(DriverRow(L"BeepDuration"), L"101").message,
                 "BeepDuration value is incorrect! value =10-100\n");
}

TEST(ParameterValidation, NumberText)
{
    struct Case {
        const wchar_t* text;
        bool allowMinus;
        std::optional<std::int32_t> value;
    };
    const Case cases[] = {
        {L"", false, 0},
        {L"0", false, 0},
        {L"007", false, 7},
        {L"2147483647", false, 2147483647},
        {L"2147483648", false, 2147483647},
        {L"99999999999999999999999999", false, 2147483647},
        {L"-5", false, std::nullopt},
        {L"-5", true, -5},
        {L"-2147483648", true, -2147483647 - 1},
        {L"-99999999999999", true, -2147483647 - 1},
        {L"-", true, std::nullopt},
        {L"--5", true, std::nullopt},
        {L"5-", true, std::nullopt},
        {L"+5", true, std::nullopt},
        {L"1.5", true, std::nullopt},
        {L"\x0661", false, std::nullopt}, // a digit of another script
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParseParameterText(c.text, c.allowMinus), c.value)
            << std::string(c.text, c.text + wcslen(c.text)) << " minus " << c.allowMinus;
}

TEST(ParameterValidation, TouchScreenDefaultsAndFallbacks)
{
    struct Case {
        const wchar_t* key;
        const wchar_t* defaultText;
        int fallback;
        const char* message;
    };
    const Case cases[] = {
        {L"M1X", L"0", 0, "M1X value is incorrect!\n"},
        {L"M4Y", L"0", 0, "M4Y value is incorrect!\n"},
        {L"MaxX", L"65536", 65536, "MaxX value is incorrect!\n"},
        {L"MaxY", L"65536", 65536, "MaxY value is incorrect!\n"},
        {L"ScreenWidth", L"1280", 1280, "ScreenWidth value is incorrect!\n"},
        {L"ScreenHeight", L"0", 1024, "ScreenHeight value is incorrect!\n"},
        {L"IsCalibrate", L"0", 0, nullptr},
        {L"MonitorID", L"0", 0, "MonitorID value is incorrect!\n"},
        {L"EdgeX", L"0", 0, "Edge value is incorrect!\n"},
        {L"EdgeA", L"0", 0, "EdgeA value is incorrect!\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key, c.key + wcslen(c.key)));
        const TouchScreenParameterRow& row = TouchRow(c.key);
        EXPECT_EQ(std::wstring(row.defaultText), c.defaultText);
        ValidatedValue bad = ValidateTouchScreenValue(row, L"letters");
        EXPECT_EQ(bad.value, c.fallback);
        if (c.message)
            EXPECT_STREQ(bad.message, c.message);
        else
            EXPECT_EQ(bad.message, nullptr);
        // No range: any number is taken as it is.
        EXPECT_EQ(ValidateTouchScreenValue(row, L"123456").value, 123456);
    }
    // A missing ScreenHeight reads its default text "0" and is stored as 0.
    EXPECT_EQ(ValidateTouchScreenValue(TouchRow(L"ScreenHeight"), TouchRow(L"ScreenHeight").defaultText).value, 0);
}

TEST(ParameterValidation, NegativeTouchScreenValuesExceptPointsAndFlag)
{
    for (const TouchScreenParameterRow& row : kTouchScreenRows) {
        std::wstring key = row.key;
        bool neverNegative = key == L"IsCalibrate" || (key.size() == 3 && key[0] == L'M');
        ValidatedValue v = ValidateTouchScreenValue(row, L"-5");
        EXPECT_EQ(v.value, neverNegative ? row.fallback : -5) << std::string(key.begin(), key.end());
        EXPECT_EQ(v.message == nullptr, !neverNegative || key == L"IsCalibrate");
    }
}

} // namespace
