#pragma once
// The user's mouse settings in memory, for native tests: every call is
// recorded in order, the stored values are kept, and the mouse or cursors
// key can be made to refuse writes.

#include "platform/SystemMouse.h"

#include <map>
#include <string>
#include <vector>

class CMemorySystemMouse : public ISystemMouse {
public:
    void SetDoubleClick(std::uint32_t width, std::uint32_t height, std::uint32_t milliseconds) override;
    bool StoreMouseValues(const std::vector<NamedText>& values) override;
    std::vector<std::optional<std::wstring>> GetCursors(const std::vector<std::wstring>& names) override;
    bool SetCursors(const std::vector<NamedText>& values) override;
    bool ReloadCursors() override;

    struct DoubleClick {
        std::uint32_t width = 0, height = 0, milliseconds = 0;
        bool operator==(const DoubleClick&) const = default;
    };
    std::optional<DoubleClick> doubleClick; // the last one set
    std::map<std::wstring, std::wstring> mouseValues;
    std::map<std::wstring, std::wstring> cursors;
    bool mouseKeyOpens = true;   // false: "Control Panel\Mouse" cannot be opened
    bool cursorsWritable = true; // false: every scheme value is refused
    // "SetDoubleClick", "StoreMouseValues", "SetCursors", "ReloadCursors".
    std::vector<std::string> calls;
};
