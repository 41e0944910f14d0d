#pragma once
// An in-memory registry for native tests: keys by root and path, matched
// without regard to case, values typed as DWORD or string.

#include "platform/Registry.h"

#include <map>
#include <mutex>
#include <string>
#include <variant>
#include <vector>

class CMemoryRegistry : public IRegistry {
public:
    bool KeyExists(RegistryRoot root, const std::wstring& path) override;
    SeamResult CreateKey(RegistryRoot root, const std::wstring& path) override;
    std::optional<std::uint32_t> GetDword(RegistryRoot root, const std::wstring& path,
                                          const std::wstring& name) override;
    SeamResult SetDword(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                        std::uint32_t value) override;
    // The key is looked up once for all the values (the fuzz targets read many).
    std::vector<std::optional<std::uint32_t>> GetDwords(RegistryRoot root, const std::wstring& path,
                                                        const std::vector<std::wstring>& names) override;
    std::optional<std::wstring> GetString(RegistryRoot root, const std::wstring& path,
                                          const std::wstring& name) override;
    SeamResult SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                         const std::wstring& value) override;
    std::vector<std::wstring> GetSubkeys(RegistryRoot root, const std::wstring& path) override;

    // Writes below this key (and the creation of keys below it) are refused,
    // as for a key without write access.
    void DenyWrites(RegistryRoot root, const std::wstring& path);

private:
    using Value = std::variant<std::uint32_t, std::wstring>;
    struct Key {
        std::wstring name; // the last path component as first created
        std::vector<std::pair<std::wstring, Value>> values;
        std::vector<Key> subkeys;
        bool denyWrites = false;
    };
    Key* Find(RegistryRoot root, const std::wstring& path, bool create, bool* denied = nullptr);
    Value* FindValue(Key& key, const std::wstring& name);

    std::mutex m_mutex;
    Key m_roots[2];
};
