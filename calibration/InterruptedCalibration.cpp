#include "calibration/InterruptedCalibration.h"

#include "calibration/ApplyCalibration.h"
#include "config/ConfigurationLibrary.h"
#include "platform/Registry.h"

#include <optional>
#include <string>
#include <vector>

namespace {

// Both are strings, empty when nothing is kept: the registry seam stores
// values but does not delete them.
constexpr wchar_t kClickModeValue[] = L"ClickMode";
// The device key, then the record's 34 slots, separated by blanks.
constexpr wchar_t kRecordValue[] = L"Record";

std::optional<std::vector<std::int64_t>> ParseNumbers(const std::wstring& text, std::size_t count)
{
    std::vector<std::int64_t> numbers;
    std::size_t at = 0;
    while (at < text.size()) {
        if (text[at] == L' ') {
            ++at;
            continue;
        }
        bool negative = text[at] == L'-';
        if (negative)
            ++at;
        std::int64_t value = 0;
        std::size_t digits = 0;
        for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9' && digits < 11; ++at, ++digits)
            value = value * 10 + (text[at] - L'0');
        if (digits == 0 || (at < text.size() && text[at] != L' '))
            return std::nullopt;
        numbers.push_back(negative ? -value : value);
    }
    if (numbers.size() != count)
        return std::nullopt;
    return numbers;
}

bool InInt32(std::int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

} // namespace

void CInterruptedCalibration::KeepClickMode(std::int32_t mode)
{
    if (!m_registry)
        return;
    m_registry->CreateKey(RegistryRoot::CurrentUser, kInterruptedCalibrationPath);
    m_registry->SetString(RegistryRoot::CurrentUser, kInterruptedCalibrationPath, kClickModeValue,
                          std::to_wstring(mode));
}

void CInterruptedCalibration::KeepRecord(std::uint32_t deviceKey, const DeviceConfig& previous)
{
    if (!m_registry)
        return;
    std::wstring text = std::to_wstring(deviceKey);
    for (std::int32_t slot : ToSlots(previous))
        text += L" " + std::to_wstring(slot);
    m_registry->CreateKey(RegistryRoot::CurrentUser, kInterruptedCalibrationPath);
    m_registry->SetString(RegistryRoot::CurrentUser, kInterruptedCalibrationPath, kRecordValue, text);
}

void CInterruptedCalibration::Clear()
{
    if (!m_registry || !m_registry->KeyExists(RegistryRoot::CurrentUser, kInterruptedCalibrationPath))
        return;
    m_registry->SetString(RegistryRoot::CurrentUser, kInterruptedCalibrationPath, kClickModeValue, L"");
    m_registry->SetString(RegistryRoot::CurrentUser, kInterruptedCalibrationPath, kRecordValue, L"");
}

bool RestoreInterruptedCalibration(IRegistry& registry, IConfigurationLibrary& configuration)
{
    if (!registry.KeyExists(RegistryRoot::CurrentUser, kInterruptedCalibrationPath))
        return false;
    bool restored = false;
    const std::wstring mode =
        registry.GetString(RegistryRoot::CurrentUser, kInterruptedCalibrationPath, kClickModeValue).value_or(L"");
    if (auto parsed = ParseNumbers(mode, 1); parsed && InInt32((*parsed)[0]))
        restored |= WriteClickMode(configuration, static_cast<std::int32_t>((*parsed)[0]));
    const std::wstring record =
        registry.GetString(RegistryRoot::CurrentUser, kInterruptedCalibrationPath, kRecordValue).value_or(L"");
    if (auto parsed = ParseNumbers(record, 1 + kDeviceConfigSlots)) {
        DeviceConfigSlots slots{};
        bool valid = (*parsed)[0] >= 0 && (*parsed)[0] <= UINT32_MAX;
        for (std::size_t i = 0; i < slots.size(); ++i) {
            valid = valid && InInt32((*parsed)[i + 1]);
            slots[i] = static_cast<std::int32_t>((*parsed)[i + 1]);
        }
        if (valid)
            restored |= configuration.SetDeviceConfig(static_cast<std::uint32_t>((*parsed)[0]), FromSlots(slots));
    }
    CInterruptedCalibration(&registry).Clear();
    return restored;
}
