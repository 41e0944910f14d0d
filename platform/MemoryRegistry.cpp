#include "platform/MemoryRegistry.h"

#include "platform/TextCase.h"

namespace {
std::vector<std::wstring> SplitPath(const std::wstring& path)
{
    std::vector<std::wstring> parts;
    std::wstring part;
    for (wchar_t c : path) {
        if (c == L'\\') {
            if (!part.empty())
                parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty())
        parts.push_back(part);
    return parts;
}
} // namespace

CMemoryRegistry::Key* CMemoryRegistry::Find(RegistryRoot root, const std::wstring& path, bool create, bool* denied)
{
    Key* key = &m_roots[static_cast<int>(root)];
    bool deny = key->denyWrites;
    for (const std::wstring& part : SplitPath(path)) {
        Key* next = nullptr;
        for (Key& sub : key->subkeys)
            if (EqualsNoCase(sub.name, part))
                next = &sub;
        if (!next) {
            if (!create || deny)
                return nullptr;
            key->subkeys.push_back(Key{part, {}, {}, false});
            next = &key->subkeys.back();
        }
        key = next;
        deny = deny || key->denyWrites;
    }
    if (denied)
        *denied = deny;
    return key;
}

CMemoryRegistry::Value* CMemoryRegistry::FindValue(Key& key, const std::wstring& name)
{
    for (auto& [n, v] : key.values)
        if (EqualsNoCase(n, name))
            return &v;
    return nullptr;
}

bool CMemoryRegistry::KeyExists(RegistryRoot root, const std::wstring& path)
{
    std::lock_guard lock(m_mutex);
    return Find(root, path, false) != nullptr;
}

SeamResult CMemoryRegistry::CreateKey(RegistryRoot root, const std::wstring& path)
{
    std::lock_guard lock(m_mutex);
    return Find(root, path, true) ? SeamResult() : SeamResult::Failed("RegCreateKeyExW", kAccessDenied);
}

namespace {
// What the Win32 registry answers for a key that is missing or refuses writes.
SeamResult KeyNotWritable(bool denied)
{
    constexpr unsigned kFileNotFound = 2;
    return SeamResult::Failed("RegOpenKeyExW", denied ? IRegistry::kAccessDenied : kFileNotFound);
}
} // namespace

std::optional<std::uint32_t> CMemoryRegistry::GetDword(RegistryRoot root, const std::wstring& path,
                                                       const std::wstring& name)
{
    std::lock_guard lock(m_mutex);
    if (Key* key = Find(root, path, false))
        if (Value* v = FindValue(*key, name))
            if (auto* d = std::get_if<std::uint32_t>(v))
                return *d;
    return std::nullopt;
}

std::vector<std::optional<std::uint32_t>> CMemoryRegistry::GetDwords(RegistryRoot root, const std::wstring& path,
                                                                     const std::vector<std::wstring>& names)
{
    std::lock_guard lock(m_mutex);
    std::vector<std::optional<std::uint32_t>> values(names.size());
    if (Key* key = Find(root, path, false))
        for (std::size_t i = 0; i < names.size(); ++i)
            if (Value* v = FindValue(*key, names[i]))
                if (auto* d = std::get_if<std::uint32_t>(v))
                    values[i] = *d;
    return values;
}

SeamResult CMemoryRegistry::SetDword(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                                     std::uint32_t value)
{
    std::lock_guard lock(m_mutex);
    bool denied = false;
    Key* key = Find(root, path, false, &denied);
    if (!key || denied)
        return KeyNotWritable(denied);
    if (Value* v = FindValue(*key, name))
        *v = value;
    else
        key->values.emplace_back(name, value);
    return true;
}

std::optional<std::wstring> CMemoryRegistry::GetString(RegistryRoot root, const std::wstring& path,
                                                       const std::wstring& name)
{
    std::lock_guard lock(m_mutex);
    if (Key* key = Find(root, path, false))
        if (Value* v = FindValue(*key, name))
            if (auto* s = std::get_if<std::wstring>(v))
                return *s;
    return std::nullopt;
}

SeamResult CMemoryRegistry::SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                                      const std::wstring& value)
{
    std::lock_guard lock(m_mutex);
    bool denied = false;
    Key* key = Find(root, path, false, &denied);
    if (!key || denied)
        return KeyNotWritable(denied);
    if (Value* v = FindValue(*key, name))
        *v = value;
    else
        key->values.emplace_back(name, value);
    return true;
}

std::vector<std::wstring> CMemoryRegistry::GetSubkeys(RegistryRoot root, const std::wstring& path)
{
    std::lock_guard lock(m_mutex);
    std::vector<std::wstring> names;
    if (Key* key = Find(root, path, false))
        for (const Key& sub : key->subkeys)
            names.push_back(sub.name);
    return names;
}

void CMemoryRegistry::DenyWrites(RegistryRoot root, const std::wstring& path)
{
    std::lock_guard lock(m_mutex);
    if (Key* key = Find(root, path, true))
        key->denyWrites = true;
}
