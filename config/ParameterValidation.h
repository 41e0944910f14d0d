#pragma once
// The rows the import checks each value against: the driver values with
// their ranges, the touchscreen values with their default texts, and the
// fallback that replaces an unusable value.

#include <cstdint>
#include <optional>
#include <string_view>

struct DriverParameterRow {
    const wchar_t* key;
    std::int32_t min;
    std::int32_t max;
    std::int32_t fallback;
    const char* message;      // an unusable text
    const char* rangeMessage; // a number outside min..max
};

struct TouchScreenParameterRow {
    const wchar_t* key;
    const wchar_t* defaultText; // read when the key is missing
    std::int32_t fallback;
    const char* message; // null: an unusable text silently gives the fallback
    bool allowsMinus;    // calibration points and the calibrated flag are never negative
};

// In import order; the export writes the driver values in the same order.
extern const DriverParameterRow kDriverRows[18];
extern const TouchScreenParameterRow kTouchScreenRows[26];
// The touchscreen values in the order the export writes them.
extern const wchar_t* const kTouchScreenExportKeys[26];

// A decimal number of digits only, with one leading minus sign when
// allowed; empty reads as 0; beyond 32 bits saturates. Nothing when unusable.
std::optional<std::int32_t> ParseParameterText(std::wstring_view text, bool allowMinus);

struct ValidatedValue {
    std::int32_t value = 0;
    const char* message = nullptr; // printed when set
};

ValidatedValue ValidateDriverValue(const DriverParameterRow& row, std::wstring_view text);
ValidatedValue ValidateTouchScreenValue(const TouchScreenParameterRow& row, std::wstring_view text);
