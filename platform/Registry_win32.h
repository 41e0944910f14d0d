#pragma once
// The registry through the Win32 registry functions (Windows build only).

#include "platform/Registry.h"

#include <windows.h>

class CWin32Registry : public IRegistry {
public:
    bool KeyExists(RegistryRoot root, const std::wstring& path) override;
    SeamResult CreateKey(RegistryRoot root, const std::wstring& path) override;
    unsigned CreateKeyCode(RegistryRoot root, const std::wstring& path) override;
    std::optional<std::uint32_t> GetDword(RegistryRoot root, const std::wstring& path,
                                          const std::wstring& name) override;
    SeamResult SetDword(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                        std::uint32_t value) override;
    std::vector<std::optional<std::uint32_t>> GetDwords(RegistryRoot root, const std::wstring& path,
                                                        const std::vector<std::wstring>& names) override;
    SeamResult SetDwords(RegistryRoot root, const std::wstring& path,
                         const std::vector<std::pair<std::wstring, std::uint32_t>>& values) override;
    std::optional<std::wstring> GetString(RegistryRoot root, const std::wstring& path,
                                          const std::wstring& name) override;
    SeamResult SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                         const std::wstring& value) override;
    std::vector<std::wstring> GetSubkeys(RegistryRoot root, const std::wstring& path) override;
};
