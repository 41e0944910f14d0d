#include "config/DeviceKey.h"

std::uint32_t DeviceKeyFromObjectName(std::wstring_view objectName)
{
    std::wstring_view tail = objectName.size() > 8 ? objectName.substr(objectName.size() - 8) : objectName;
    std::uint32_t value = 0;
    for (wchar_t c : tail) {
        unsigned digit;
        if (c >= L'0' && c <= L'9')
            digit = static_cast<unsigned>(c - L'0');
        else if (c >= L'a' && c <= L'f')
            digit = static_cast<unsigned>(c - L'a' + 10);
        else if (c >= L'A' && c <= L'F')
            digit = static_cast<unsigned>(c - L'A' + 10);
        else
            break;
        value = value * 16 + digit;
    }
    return value + 1; // eight hex digits fit; ffffffff wraps to 0
}
