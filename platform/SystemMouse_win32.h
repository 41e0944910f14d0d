#pragma once
// The user's mouse settings through SystemParametersInfoW and the current
// user's registry (Windows build only).

#include "platform/SystemMouse.h"

#include <windows.h>

class CWin32SystemMouse : public ISystemMouse {
public:
    void SetDoubleClick(std::uint32_t width, std::uint32_t height, std::uint32_t milliseconds) override;
    bool StoreMouseValues(const std::vector<NamedText>& values) override;
    std::vector<std::optional<std::wstring>> GetCursors(const std::vector<std::wstring>& names) override;
    bool SetCursors(const std::vector<NamedText>& values) override;
    bool ReloadCursors() override;
};
