#include "platform/Registry_win32.h"

namespace {

HKEY RootKey(RegistryRoot root) { return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

// A registry key closed when it goes out of scope.
class CRegKey {
public:
    CRegKey() = default;
    ~CRegKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    bool Open(RegistryRoot root, const std::wstring& path, REGSAM access) { return OpenCode(root, path, access) == 0; }
    LONG OpenCode(RegistryRoot root, const std::wstring& path, REGSAM access)
    {
        return RegOpenKeyExW(RootKey(root), path.c_str(), 0, access, &m_key);
    }
    LONG CreateCode(RegistryRoot root, const std::wstring& path)
    {
        return RegCreateKeyExW(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE,
                               nullptr, &m_key, nullptr);
    }
    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

} // namespace

bool CWin32Registry::KeyExists(RegistryRoot root, const std::wstring& path)
{
    CRegKey key;
    return key.Open(root, path, KEY_READ);
}

SeamResult CWin32Registry::CreateKey(RegistryRoot root, const std::wstring& path)
{
    const unsigned code = CreateKeyCode(root, path);
    return code == ERROR_SUCCESS ? SeamResult() : SeamResult::Failed("RegCreateKeyExW", code);
}

unsigned CWin32Registry::CreateKeyCode(RegistryRoot root, const std::wstring& path)
{
    CRegKey key;
    return static_cast<unsigned>(key.CreateCode(root, path));
}

namespace {

std::optional<std::uint32_t> QueryDword(HKEY key, const std::wstring& name)
{
    DWORD type = 0, value = 0, size = sizeof value;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS ||
        type != REG_DWORD || size != sizeof value)
        return std::nullopt;
    return value;
}

SeamResult StoreDword(HKEY key, const std::wstring& name, std::uint32_t value)
{
    DWORD data = value;
    const LONG code =
        RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    return code == ERROR_SUCCESS ? SeamResult() : SeamResult::Failed("RegSetValueExW", static_cast<unsigned>(code));
}

// A key opened for setting values, or the failure of its opening.
SeamResult OpenForSetting(CRegKey& key, RegistryRoot root, const std::wstring& path)
{
    const LONG code = key.OpenCode(root, path, KEY_SET_VALUE);
    return code == ERROR_SUCCESS ? SeamResult() : SeamResult::Failed("RegOpenKeyExW", static_cast<unsigned>(code));
}

} // namespace

std::optional<std::uint32_t> CWin32Registry::GetDword(RegistryRoot root, const std::wstring& path,
                                                      const std::wstring& name)
{
    CRegKey key;
    if (!key.Open(root, path, KEY_READ))
        return std::nullopt;
    return QueryDword(key.Get(), name);
}

std::vector<std::optional<std::uint32_t>> CWin32Registry::GetDwords(RegistryRoot root, const std::wstring& path,
                                                                    const std::vector<std::wstring>& names)
{
    std::vector<std::optional<std::uint32_t>> values(names.size());
    CRegKey key;
    if (key.Open(root, path, KEY_READ))
        for (std::size_t i = 0; i < names.size(); ++i)
            values[i] = QueryDword(key.Get(), names[i]);
    return values;
}

SeamResult CWin32Registry::SetDwords(RegistryRoot root, const std::wstring& path,
                                     const std::vector<std::pair<std::wstring, std::uint32_t>>& values)
{
    CRegKey key;
    if (SeamResult opened = OpenForSetting(key, root, path); !opened)
        return values.empty() ? SeamResult() : opened;
    SeamResult stored;
    for (const auto& [name, value] : values)
        if (SeamResult one = StoreDword(key.Get(), name, value); !one && stored)
            stored = one; // the first failure names the call; the other values are still written
    return stored;
}

SeamResult CWin32Registry::SetDword(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                                    std::uint32_t value)
{
    CRegKey key;
    if (SeamResult opened = OpenForSetting(key, root, path); !opened)
        return opened;
    return StoreDword(key.Get(), name, value);
}

std::optional<std::wstring> CWin32Registry::GetString(RegistryRoot root, const std::wstring& path,
                                                      const std::wstring& name)
{
    CRegKey key;
    if (!key.Open(root, path, KEY_READ))
        return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return std::nullopt;
    std::wstring value(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    value.resize(wcsnlen(value.c_str(), size / sizeof(wchar_t)));
    return value;
}

SeamResult CWin32Registry::SetString(RegistryRoot root, const std::wstring& path, const std::wstring& name,
                                     const std::wstring& value)
{
    CRegKey key;
    if (SeamResult opened = OpenForSetting(key, root, path); !opened)
        return opened;
    const LONG code = RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                     static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    return code == ERROR_SUCCESS ? SeamResult() : SeamResult::Failed("RegSetValueExW", static_cast<unsigned>(code));
}

std::vector<std::wstring> CWin32Registry::GetSubkeys(RegistryRoot root, const std::wstring& path)
{
    std::vector<std::wstring> names;
    CRegKey key;
    if (!key.Open(root, path, KEY_READ))
        return names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256]; // key names are at most 255 characters
        DWORD length = 256;
        LONG status = RegEnumKeyExW(key.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (status != ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    return names;
}
