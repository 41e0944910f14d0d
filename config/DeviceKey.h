#pragma once
// The key under which the configuration library stores a touchscreen's
// record, derived from its physical device object name.

#include <cstdint>
#include <string_view>

// The last eight characters of the name read as a hexadecimal number (up to
// the first character that is not a hex digit), plus one: "...0000007a" gives 123.
std::uint32_t DeviceKeyFromObjectName(std::wstring_view objectName);
