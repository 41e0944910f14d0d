#include "info/TouchScreenProperties.h"

#include <cstdio>

namespace {

std::wstring Widen(const char* text)
{
    // The texts hold ASCII digits and the version's character codes; a code
    // above 127 is taken as the Latin-1 character of that number.
    std::wstring wide;
    for (const char* c = text; *c; ++c)
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(*c)));
    return wide;
}

std::int32_t NotNegative(std::int32_t value) { return value < 0 ? 0 : value; }

} // namespace

TouchScreenProperties FormatTouchScreenProperties(const TouchScreenRecord& record)
{
    char text[64];
    TouchScreenProperties properties;

    std::snprintf(text, sizeof text, "%d", record.touchScreenNumber);
    properties.touchScreenNumber = Widen(text);
    std::snprintf(text, sizeof text, "%d", record.monitorNumber);
    properties.monitorNumber = Widen(text);
    properties.calibratedKey = record.calibrationState == 1 ? L"75" : L"76";

    // %c prints the low byte of each value; a 0 among them ends the text.
    const std::int32_t* version = record.hardwareVersion;
    std::snprintf(text, sizeof text, "%c.%c.%c.%c", static_cast<unsigned char>(NotNegative(version[0])),
                  static_cast<unsigned char>(NotNegative(version[1])),
                  static_cast<unsigned char>(NotNegative(version[2])),
                  static_cast<unsigned char>(NotNegative(version[3])));
    properties.hardwareVersion = Widen(text);

    std::snprintf(text, sizeof text, "%d%d%d", NotNegative(record.serialPart1), NotNegative(record.serialPart2),
                  NotNegative(record.serialPart3));
    properties.serialNumber = Widen(text);
    return properties;
}
