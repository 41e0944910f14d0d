#include "platform/SystemMouse_win32.h"

namespace {

constexpr wchar_t kMouseKey[] = L"Control Panel\\Mouse";
constexpr wchar_t kCursorsKey[] = L"Control Panel\\Cursors";

// A key of the current user, closed when it goes out of scope.
class CUserKey {
public:
    // Opens the key; with `create`, creates it first when it is missing.
    CUserKey(const wchar_t* path, REGSAM access, bool create = false)
    {
        LONG result = create ? RegCreateKeyExW(HKEY_CURRENT_USER, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                               nullptr, &m_key, nullptr)
                             : RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, access, &m_key);
        if (result != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~CUserKey()
    {
        if (m_key)
            RegCloseKey(m_key);
    }
    CUserKey(const CUserKey&) = delete;
    CUserKey& operator=(const CUserKey&) = delete;
    explicit operator bool() const { return m_key != nullptr; }

    // Each string is stored whole, with its terminating null.
    bool SetText(const std::wstring& name, const std::wstring& text, DWORD type) const
    {
        return RegSetValueExW(m_key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                              static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
    }
    std::optional<std::wstring> GetText(const std::wstring& name) const
    {
        DWORD type = 0, size = 0;
        if (RegQueryValueExW(m_key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            (type != REG_SZ && type != REG_EXPAND_SZ))
            return std::nullopt;
        std::wstring text(size / sizeof(wchar_t) + 1, L'\0');
        size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
        if (RegQueryValueExW(m_key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &size) !=
            ERROR_SUCCESS)
            return std::nullopt;
        text.resize(wcsnlen(text.c_str(), size / sizeof(wchar_t)));
        return text;
    }

private:
    HKEY m_key = nullptr;
};

} // namespace

void CWin32SystemMouse::SetDoubleClick(std::uint32_t width, std::uint32_t height, std::uint32_t milliseconds)
{
    // Without SPIF_UPDATEINIFILE or SPIF_SENDCHANGE: this session only, no broadcast.
    SystemParametersInfoW(SPI_SETDOUBLECLKWIDTH, width, nullptr, 0);
    SystemParametersInfoW(SPI_SETDOUBLECLKHEIGHT, height, nullptr, 0);
    SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, milliseconds, nullptr, 0);
}

bool CWin32SystemMouse::StoreMouseValues(const std::vector<NamedText>& values)
{
    CUserKey key(kMouseKey, KEY_SET_VALUE);
    if (!key)
        return false;
    bool stored = true;
    for (const auto& [name, text] : values)
        stored &= key.SetText(name, text, REG_SZ);
    return stored;
}

std::vector<std::optional<std::wstring>> CWin32SystemMouse::GetCursors(const std::vector<std::wstring>& names)
{
    std::vector<std::optional<std::wstring>> values(names.size());
    CUserKey key(kCursorsKey, KEY_QUERY_VALUE);
    if (key)
        for (std::size_t i = 0; i < names.size(); ++i)
            values[i] = key.GetText(names[i]);
    return values;
}

bool CWin32SystemMouse::SetCursors(const std::vector<NamedText>& values)
{
    // A profile without a scheme key gets one, so that hiding works there too.
    CUserKey key(kCursorsKey, KEY_SET_VALUE, true);
    if (!key)
        return values.empty();
    bool stored = true;
    for (const auto& [name, text] : values)
        stored &= key.SetText(name, text, REG_EXPAND_SZ);
    return stored;
}

bool CWin32SystemMouse::ReloadCursors() { return SystemParametersInfoW(SPI_SETCURSORS, 0, nullptr, 0) != FALSE; }
