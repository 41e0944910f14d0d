#include "config/ParameterValidation.h"

#include <limits>

const DriverParameterRow kDriverRows[18] = {
    {L"Mode", 0, 2, 0, "Mode value is incorrect! value = 0,1,2\n", nullptr},
    {L"EnableTouch", 0, 1, 1, "EnableTouch value is incorrect! value = 0,1\n", nullptr},
    {L"HideCursor", 0, 1, 0, "HideCursor value is incorrect! value = 0,1\n", nullptr},
    {L"EnableDoubleClick", 0, 1, 1, "EnableDoubleClick value is incorrect! value = 0,1\n", nullptr},
    {L"DoubleClickTime", 200, 1000, 500, "DoubleClickTime value is incorrect! value = 200-1000\n", nullptr},
    {L"DoubleClickArea", 4, 32, 12, "DoubleClickArea value is incorrect! value = 4-32\n", nullptr},
    {L"EnableRightClick", 0, 1, 0, "EnableRightClick value is incorrect! value = 0,1\n", nullptr},
    {L"RightClickTime", 1000, 8000, 1000, "RightClickTime value is incorrect! value =1000-8000\n", nullptr},
    {L"RightClickArea", 4, 32, 8, "RightClickArea value is incorrect! value = 4-32\n", nullptr},
    {L"EnableDragDelay", 0, 1, 0, "EnableDragDelay value is incorrect! value = 0,1\n", nullptr},
    {L"DragDelayTime", 100, 1000, 100, "DragDelayTime value is incorrect! value = 100-1000\n", nullptr},
    {L"EnableDelayTouch", 0, 1, 0, "EnableDelayTouch value is incorrect! value =0,1\n", nullptr},
    {L"DelayTouchTime", 25, 250, 25, "DelayTouchTime value is incorrect! value = 25-250\n", nullptr},
    {L"EnableBeep", 0, 1, 0, "EnableBeep value is incorrect! value =0,1\n", nullptr},
    {L"BeepMode", 0, 2, 0, "BeepMode value is incorrect! value = 0,1,2\n", nullptr},
    {L"BeepType", 0, 1, 0, "BeepType value is incorrect! value = 0,1\n", nullptr},
    // The message names 100, but the driver takes 50 Hz and up.
    {L"BeepFrequency", 50, 7000, 7000, "BeepFrequency value is incorrect! value =100-7000\n", nullptr},
    {L"BeepDuration", 10, 100, 100, "BeepDuration value is incorrect! value = 10-100\n",
     "BeepDuration value is incorrect! value =10-100\n"},
};

const TouchScreenParameterRow kTouchScreenRows[26] = {
    {L"M1X", L"0", 0, "M1X value is incorrect!\n", false},
    {L"M1Y", L"0", 0, "M1Y value is incorrect!\n", false},
    {L"M2X", L"0", 0, "M2X value is incorrect!\n", false},
    {L"M2Y", L"0", 0, "M2Y value is incorrect!\n", false},
    {L"M3X", L"0", 0, "M3X value is incorrect!\n", false},
    {L"M3Y", L"0", 0, "M3Y value is incorrect!\n", false},
    {L"M4X", L"0", 0, "M4X value is incorrect!\n", false},
    {L"M4Y", L"0", 0, "M4Y value is incorrect!\n", false},
    {L"MaxX", L"65536", 65536, "MaxX value is incorrect!\n", true},
    {L"MaxY", L"65536", 65536, "MaxY value is incorrect!\n", true},
    {L"MinX", L"0", 0, "MinX value is incorrect!\n", true},
    {L"MinY", L"0", 0, "MinY value is incorrect!\n", true},
    {L"ScreenWidth", L"1280", 1280, "ScreenWidth value is incorrect!\n", true},
    {L"ScreenHeight", L"0", 1024, "ScreenHeight value is incorrect!\n", true},
    {L"ScreenX", L"0", 0, "ScreenX value is incorrect!\n", true},
    {L"ScreenY", L"0", 0, "ScreenY value is incorrect!\n", true},
    {L"IsCalibrate", L"0", 0, nullptr, false},
    {L"MonitorID", L"0", 0, "MonitorID value is incorrect!\n", true},
    {L"XOff", L"0", 0, "XOff value is incorrect!\n", true},
    {L"YOff", L"0", 0, "YOff value is incorrect!\n", true},
    {L"EnableEdge", L"0", 0, "EnableEdge value is incorrect!\n", true},
    {L"EdgeX", L"0", 0, "Edge value is incorrect!\n", true},
    {L"EdgeY", L"0", 0, "EdgeY value is incorrect!\n", true},
    {L"EdgeWidth", L"0", 0, "EdgeWidth value is incorrect!\n", true},
    {L"EdgeHeight", L"0", 0, "EdgeHeight value is incorrect!\n", true},
    {L"EdgeA", L"0", 0, "EdgeA value is incorrect!\n", true},
};

const wchar_t* const kTouchScreenExportKeys[26] = {
    L"IsCalibrate",  L"M1X",     L"M1Y",       L"M2X",        L"M2Y",   L"M3X",       L"M3Y",
    L"M4X",          L"M4Y",     L"MaxX",      L"MaxY",       L"MinX",  L"MinY",      L"ScreenWidth",
    L"ScreenHeight", L"ScreenX", L"ScreenY",   L"XOff",       L"YOff",  L"MonitorID", L"EnableEdge",
    L"EdgeX",        L"EdgeY",   L"EdgeWidth", L"EdgeHeight", L"EdgeA",
};

std::optional<std::int32_t> ParseParameterText(std::wstring_view text, bool allowMinus)
{
    bool negative = false;
    if (allowMinus && !text.empty() && text.front() == L'-') {
        negative = true;
        text.remove_prefix(1);
        if (text.empty())
            return std::nullopt;
    }
    std::int64_t magnitude = 0;
    constexpr std::int64_t kLimit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        magnitude = magnitude * 10 + (c - L'0');
        if (magnitude > kLimit)
            magnitude = kLimit; // keeps saturating however many digits follow
    }
    if (negative)
        return static_cast<std::int32_t>(-magnitude); // -2^31 at the most
    return static_cast<std::int32_t>(magnitude >= kLimit ? kLimit - 1 : magnitude);
}

ValidatedValue ValidateDriverValue(const DriverParameterRow& row, std::wstring_view text)
{
    std::optional<std::int32_t> value = ParseParameterText(text, false);
    if (!value)
        return {row.fallback, row.message};
    if (*value < row.min || *value > row.max)
        return {row.fallback, row.rangeMessage ? row.rangeMessage : row.message};
    return {*value, nullptr};
}

ValidatedValue ValidateTouchScreenValue(const TouchScreenParameterRow& row, std::wstring_view text)
{
    std::optional<std::int32_t> value = ParseParameterText(text, row.allowsMinus);
    if (!value)
        return {row.fallback, row.message};
    return {*value, nullptr};
}
