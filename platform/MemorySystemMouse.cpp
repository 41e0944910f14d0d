#include "platform/MemorySystemMouse.h"

void CMemorySystemMouse::SetDoubleClick(std::uint32_t width, std::uint32_t height, std::uint32_t milliseconds)
{
    calls.push_back("SetDoubleClick");
    doubleClick = DoubleClick{width, height, milliseconds};
}

bool CMemorySystemMouse::StoreMouseValues(const std::vector<NamedText>& values)
{
    calls.push_back("StoreMouseValues");
    if (!mouseKeyOpens)
        return false;
    for (const auto& [name, text] : values)
        mouseValues[name] = text;
    return true;
}

std::vector<std::optional<std::wstring>> CMemorySystemMouse::GetCursors(const std::vector<std::wstring>& names)
{
    std::vector<std::optional<std::wstring>> values;
    for (const std::wstring& name : names) {
        auto found = cursors.find(name);
        values.push_back(found == cursors.end() ? std::nullopt : std::optional(found->second));
    }
    return values;
}

bool CMemorySystemMouse::SetCursors(const std::vector<NamedText>& values)
{
    calls.push_back("SetCursors");
    if (!cursorsWritable)
        return values.empty();
    for (const auto& [name, text] : values)
        cursors[name] = text;
    return true;
}

bool CMemorySystemMouse::ReloadCursors()
{
    calls.push_back("ReloadCursors");
    return true;
}
