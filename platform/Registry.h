#pragma once
// Seam: the registry. Keys are named by root and path; values are DWORDs or strings.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class RegistryRoot { LocalMachine, CurrentUser };

class IRegistry {
public:
    static constexpr unsigned kAccessDenied = 5;

    virtual ~IRegistry() = default;
    virtual bool KeyExists(RegistryRoot root, const std::wstring& path) = 0;
    // Creates the key and every missing parent; false when that is refused.
    virtual bool CreateKey(RegistryRoot root, const std::wstring& path) = 0;
    // As CreateKey, with the system's error code (0 when the key was created
    // or already existed) for callers that report it.
    virtual unsigned CreateKeyCode(RegistryRoot root, const std::wstring& path)
    {
        return CreateKey(root, path) ? 0 : kAccessDenied;
    }
    virtual std::optional<std::uint32_t> GetDword(RegistryRoot root, const std::wstring& path,
                                                  const std::wstring& name) = 0;
    virtual bool SetDword(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                          std::uint32_t value) = 0;
    virtual std::optional<std::wstring> GetString(RegistryRoot root, const std::wstring& path,
                                                  const std::wstring& name) = 0;
    virtual bool SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                           const std::wstring& value) = 0;
    // Names of the direct subkeys, in enumeration order; empty when the key is missing.
    virtual std::vector<std::wstring> GetSubkeys(RegistryRoot root, const std::wstring& path) = 0;
};
