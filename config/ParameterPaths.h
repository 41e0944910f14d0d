#pragma once
// Where the touch driver's service keeps its parameters (under HKEY_LOCAL_MACHINE).

constexpr const wchar_t kParametersPath[] = L"SYSTEM\\CurrentControlSet\\Services\\PelnoHID\\Parameters";
constexpr const wchar_t kDriverParametersPath[] =
    L"SYSTEM\\CurrentControlSet\\Services\\PelnoHID\\Parameters\\DriverParameters";
constexpr const wchar_t kDeviceParametersPath[] =
    L"SYSTEM\\CurrentControlSet\\Services\\PelnoHID\\Parameters\\DeviceParameters";
// The section of the parameter file that holds the driver values.
constexpr const wchar_t kDriverSection[] = L"DriverParameters";
