#pragma once
// Profile files through the private-profile functions (Windows build only).

#include "platform/Profile.h"

#include <windows.h>

class CWin32Profile : public IProfile {
public:
    std::wstring GetString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                           std::wstring_view defaultValue) override;
    bool WriteString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                     std::wstring_view value) override;
    std::vector<std::wstring> GetSectionNames(const std::wstring& file) override;
    std::optional<ProfileEntries> GetSection(const std::wstring& file, std::wstring_view section) override;
    ProfileFileStatus CheckFile(const std::wstring& file) override;
};
