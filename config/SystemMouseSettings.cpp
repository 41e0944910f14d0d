#include "config/SystemMouseSettings.h"

#include "platform/Registry.h"
#include "platform/SystemMouse.h"
#include "platform/TextCase.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

namespace {

void ApplyDoubleClick(const DriverConfig& config, ISystemMouse& mouse)
{
    if (!config.EnableDoubleClick) {
        // The stored values stay: only the session's settings are cleared.
        mouse.SetDoubleClick(0, 0, 0);
        return;
    }
    const auto area = static_cast<std::uint32_t>(config.DoubleClickArea);
    const auto time = static_cast<std::uint32_t>(config.DoubleClickTime);
    mouse.SetDoubleClick(area, area, time);
    const std::wstring areaText = std::to_wstring(config.DoubleClickArea);
    mouse.StoreMouseValues({{L"DoubleClickWidth", areaText},
                            {L"DoubleClickHeight", areaText},
                            {L"DoubleClickSpeed", std::to_wstring(config.DoubleClickTime)}});
}

std::vector<ISystemMouse::NamedText> HideCursors(const std::vector<std::optional<std::wstring>>& current,
                                                 IRegistry& kept)
{
    std::vector<ISystemMouse::NamedText> changes;
    bool keyReady = false;
    for (std::size_t i = 0; i < kCursorNames.size(); ++i) {
        const std::wstring value = current[i].value_or(L"");
        if (!IsInvisibleCursor(value)) {
            keyReady = keyReady || kept.CreateKey(RegistryRoot::CurrentUser, kKeptCursorsPath);
            if (!keyReady || !kept.SetString(RegistryRoot::CurrentUser, kKeptCursorsPath, kCursorNames[i], value))
                continue; // not kept: not replaced either, so nothing of the user's is lost
        }
        changes.emplace_back(kCursorNames[i], kInvisibleCursorPath);
    }
    return changes;
}

std::vector<ISystemMouse::NamedText> ShowCursors(const std::vector<std::optional<std::wstring>>& current,
                                                 IRegistry& kept)
{
    std::vector<ISystemMouse::NamedText> changes;
    for (std::size_t i = 0; i < kCursorNames.size(); ++i) {
        if (!current[i] || !IsInvisibleCursor(*current[i]))
            continue; // the user's own choice stays
        std::wstring restored =
            kept.GetString(RegistryRoot::CurrentUser, kKeptCursorsPath, kCursorNames[i]).value_or(L"");
        if (IsInvisibleCursor(restored))
            restored.clear(); // an invisible cursor kept by an earlier version: the system's default instead
        changes.emplace_back(kCursorNames[i], std::move(restored));
    }
    return changes;
}

} // namespace

bool IsInvisibleCursor(const std::wstring& value)
{
    // Any path of the file counts, expanded or not, in any case, quoted or
    // not: the scheme may hold one written by another version or by hand.
    constexpr std::wstring_view kAround = L" \t\"";
    std::wstring_view path = value;
    path.remove_suffix(path.size() - (path.find_last_not_of(kAround) + 1)); // npos + 1 is 0: all of it
    const std::size_t separator = path.find_last_of(L"\\/:");
    std::wstring_view fileName = separator == std::wstring_view::npos ? path : path.substr(separator + 1);
    fileName.remove_prefix(std::min(fileName.find_first_not_of(kAround), fileName.size()));
    return EqualsNoCase(fileName, L"null.cur");
}

void ApplySystemMouseSettings(const DriverConfig& config, ISystemMouse& mouse, IRegistry& keptCursors)
{
    ApplyDoubleClick(config, mouse);
    const std::vector<std::wstring> names(kCursorNames.begin(), kCursorNames.end());
    const auto current = mouse.GetCursors(names);
    mouse.SetCursors(config.HideCursor ? HideCursors(current, keptCursors) : ShowCursors(current, keptCursors));
    mouse.ReloadCursors();
}
