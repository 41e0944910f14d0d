#include "libs/sarnet/SarnetStore.h"

#include "config/ParameterPaths.h"
#include "platform/Registry.h"

#include <optional>
#include <vector>

namespace {

struct DriverValue {
    const wchar_t* name;
    std::int32_t DriverConfig::*slot;
};

constexpr DriverValue kDriverValues[] = {
    {L"Mode", &DriverConfig::Mode},
    {L"EnableTouch", &DriverConfig::EnableTouch},
    {L"EnableRightClick", &DriverConfig::EnableRightClick},
    {L"RightClickTime", &DriverConfig::RightClickTime},
    {L"RightClickArea", &DriverConfig::RightClickArea},
    {L"EnableDelayTouch", &DriverConfig::EnableDelayTouch},
    {L"DelayTouchTime", &DriverConfig::DelayTouchTime},
    {L"EnableDragDelay", &DriverConfig::EnableDragDelay},
    {L"DragDelayTime", &DriverConfig::DragDelayTime},
    {L"HideCursor", &DriverConfig::HideCursor},
    {L"EnableBeep", &DriverConfig::EnableBeep},
    {L"BeepType", &DriverConfig::BeepType},
    {L"BeepMode", &DriverConfig::BeepMode},
    {L"BeepFrequency", &DriverConfig::BeepFrequency},
    {L"BeepDuration", &DriverConfig::BeepDuration},
    {L"EnableDoubleClick", &DriverConfig::EnableDoubleClick},
    {L"DoubleClickTime", &DriverConfig::DoubleClickTime},
    {L"DoubleClickArea", &DriverConfig::DoubleClickArea},
};

struct DeviceValue {
    const wchar_t* name;
    std::size_t slot;
};

// Slot 21 is the subkey's name; slots 4-6 and 15-18 are not stored.
constexpr DeviceValue kDeviceValues[] = {
    {L"XOff", 0},         {L"YOff", 1},        {L"ScreenWidth", 2}, {L"ScreenHeight", 3}, {L"M1X", 7},
    {L"M1Y", 8},          {L"M2X", 9},         {L"M2Y", 10},        {L"M3X", 11},         {L"M3Y", 12},
    {L"M4X", 13},         {L"M4Y", 14},        {L"ScreenX", 19},    {L"ScreenY", 20},     {L"MonitorID", 22},
    {L"IsCalibrate", 23}, {L"EnableEdge", 24}, {L"EdgeX", 25},      {L"EdgeY", 26},       {L"EdgeWidth", 27},
    {L"EdgeHeight", 28},  {L"EdgeA", 29},      {L"MinX", 30},       {L"MinY", 31},        {L"MaxX", 32},
    {L"MaxY", 33},
};
static_assert(std::size(kDeviceValues) == 26);

constexpr std::int32_t kMaxTouchScreenNumber = 254;

std::wstring DevicePath(const std::wstring& subkey) { return std::wstring(kDeviceParametersPath) + L"\\" + subkey; }

} // namespace

bool CSarnetStore::ReadDriver(DriverConfig& config)
{
    if (!m_registry.KeyExists(RegistryRoot::LocalMachine, kDriverParametersPath))
        return false;
    bool complete = true;
    for (const DriverValue& v : kDriverValues) {
        if (auto value = m_registry.GetDword(RegistryRoot::LocalMachine, kDriverParametersPath, v.name))
            config.*v.slot = static_cast<std::int32_t>(*value);
        else
            complete = false;
    }
    return complete;
}

bool CSarnetStore::WriteDriver(const DriverConfig& config)
{
    if (!m_registry.CreateKey(RegistryRoot::LocalMachine, kDriverParametersPath))
        return false;
    bool complete = true;
    for (const DriverValue& v : kDriverValues)
        complete &= m_registry
                        .SetDword(RegistryRoot::LocalMachine, kDriverParametersPath, v.name,
                                  static_cast<std::uint32_t>(config.*v.slot))
                        .Succeeded();
    return complete;
}

std::wstring CSarnetStore::SubkeyName(std::int32_t touchScreenNumber)
{
    if (touchScreenNumber < 0 || touchScreenNumber > kMaxTouchScreenNumber)
        return {};
    return L"TouchScreen" + std::to_wstring(touchScreenNumber);
}

bool CSarnetStore::ReadDevice(DeviceConfig& config)
{
    std::wstring subkey = SubkeyName(config.TouchScreenNumber);
    if (subkey.empty())
        return false;
    std::wstring path = DevicePath(subkey);
    if (!m_registry.KeyExists(RegistryRoot::LocalMachine, path))
        return false;
    DeviceConfigSlots slots = ToSlots(config);
    // Slots without a value of their own read as 0.
    for (std::size_t slot : {4, 5, 6, 15, 16, 17, 18})
        slots[slot] = 0;
    // One read of the key for all values: every start and re-fit reads each record.
    std::vector<std::wstring> names;
    for (const DeviceValue& v : kDeviceValues)
        names.emplace_back(v.name);
    const std::vector<std::optional<std::uint32_t>> values =
        m_registry.GetDwords(RegistryRoot::LocalMachine, path, names);
    bool complete = values.size() == names.size();
    for (std::size_t i = 0; i < values.size() && i < names.size(); ++i) {
        if (values[i])
            slots[kDeviceValues[i].slot] = static_cast<std::int32_t>(*values[i]);
        else
            complete = false;
    }
    config = FromSlots(slots);
    return complete;
}

bool CSarnetStore::WriteDevice(std::uint32_t deviceKey, const DeviceConfig& config)
{
    // The driver finds a frame's subkey by the number stored in the frame;
    // the device key adds nothing this store needs.
    (void)deviceKey;
    std::wstring subkey = SubkeyName(config.TouchScreenNumber);
    if (subkey.empty())
        return false;
    std::wstring path = DevicePath(subkey);
    if (!m_registry.CreateKey(RegistryRoot::LocalMachine, path))
        return false;
    // All 26 values through one opening of the key; a value that cannot be
    // stored still leaves the others written.
    DeviceConfigSlots slots = ToSlots(config);
    std::vector<std::pair<std::wstring, std::uint32_t>> values;
    for (const DeviceValue& v : kDeviceValues)
        values.emplace_back(v.name, static_cast<std::uint32_t>(slots[v.slot]));
    return m_registry.SetDwords(RegistryRoot::LocalMachine, path, values).Succeeded();
}
