#pragma once
// Seam: the registry. Keys are named by root and path; values are DWORDs or strings.

#include "platform/SeamResult.h"

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

enum class RegistryRoot { LocalMachine, CurrentUser };

class IRegistry {
public:
    static constexpr unsigned kAccessDenied = 5;

    virtual ~IRegistry() = default;
    virtual bool KeyExists(RegistryRoot root, const std::wstring& path) = 0;
    // Creates the key and every missing parent; a failure when that is refused.
    virtual SeamResult CreateKey(RegistryRoot root, const std::wstring& path) = 0;
    // As CreateKey, with the system's error code (0 when the key was created
    // or already existed) for callers that report it.
    virtual unsigned CreateKeyCode(RegistryRoot root, const std::wstring& path)
    {
        const SeamResult created = CreateKey(root, path);
        return created ? 0 : created.Code() ? created.Code() : kAccessDenied;
    }
    virtual std::optional<std::uint32_t> GetDword(RegistryRoot root, const std::wstring& path,
                                                  const std::wstring& name) = 0;
    virtual SeamResult SetDword(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                                std::uint32_t value) = 0;
    // Several values of one key at once, in the order named (the Win32
    // registry opens the key once instead of once per value).
    virtual std::vector<std::optional<std::uint32_t>> GetDwords(RegistryRoot root, const std::wstring& path,
                                                                const std::vector<std::wstring>& names)
    {
        std::vector<std::optional<std::uint32_t>> values;
        for (const std::wstring& name : names)
            values.push_back(GetDword(root, path, name));
        return values;
    }
    // Stores several values into one key; false when any of them could not
    // be stored (the others are still written).
    virtual SeamResult SetDwords(RegistryRoot root, const std::wstring& path,
                                 const std::vector<std::pair<std::wstring, std::uint32_t>>& values)
    {
        SeamResult stored;
        for (const auto& [name, value] : values)
            if (SeamResult one = SetDword(root, path, name, value); !one && stored)
                stored = one;
        return stored;
    }
    virtual std::optional<std::wstring> GetString(RegistryRoot root, const std::wstring& path,
                                                  const std::wstring& name) = 0;
    virtual SeamResult SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                                 const std::wstring& value) = 0;
    // Names of the direct subkeys, in enumeration order; empty when the key is missing.
    virtual std::vector<std::wstring> GetSubkeys(RegistryRoot root, const std::wstring& path) = 0;
};
