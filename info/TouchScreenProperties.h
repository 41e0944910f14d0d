#pragma once
// The values the TouchScreen Properties box shows for one touchscreen, taken
// from what the program holds in its record: nothing is asked of the
// touchscreen or the configuration library.

#include "device/TouchScreenRecord.h"

#include <string>

struct TouchScreenProperties {
    std::wstring touchScreenNumber;
    std::wstring monitorNumber;
    std::wstring calibratedKey; // language key: "75" calibrated, "76" not
    std::wstring hardwareVersion;
    std::wstring serialNumber;
    bool operator==(const TouchScreenProperties&) const = default;
};

// The language keys of the box's fixed texts.
constexpr wchar_t kPropertiesTitleKey[] = L"62";  // the caption and the group box
constexpr wchar_t kPropertiesStatusKey[] = L"70"; // the status value, always "Normal"

// Numbers in decimal. The hardware version is the four values the
// touchscreen sent, each a character code (its digits read "2.0.1.5"); a
// negative value counts as 0, and a character 0 ends the text there, as it
// would end a C string. The serial number is its three parts run together,
// negative parts as 0.
TouchScreenProperties FormatTouchScreenProperties(const TouchScreenRecord& record);
