#include "platform/Profile_win32.h"

#include "platform/UniqueHandle_win32.h"

std::wstring CWin32Profile::GetString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                                      std::wstring_view defaultValue)
{
    std::wstring sectionText(section), keyText(key), defaultText(defaultValue);
    // The call reports a value that filled the buffer as size - 1: grow until it fits.
    for (DWORD size = 512;; size *= 2) {
        std::wstring buffer(size, L'\0');
        DWORD n = GetPrivateProfileStringW(sectionText.c_str(), keyText.c_str(), defaultText.c_str(), buffer.data(),
                                           size, file.c_str());
        if (n < size - 1 || size >= (1u << 20)) {
            buffer.resize(n);
            return buffer;
        }
    }
}

bool CWin32Profile::WriteString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                                std::wstring_view value)
{
    std::wstring sectionText(section), keyText(key), valueText(value);
    return WritePrivateProfileStringW(sectionText.c_str(), keyText.c_str(), valueText.c_str(), file.c_str()) != 0;
}

std::vector<std::wstring> CWin32Profile::GetSectionNames(const std::wstring& file)
{
    // The names come as one list of zero-terminated strings; a full buffer
    // is reported as size - 2, so grow until the whole list fits.
    for (DWORD size = 4096;; size *= 2) {
        std::wstring buffer(size, L'\0');
        DWORD n = GetPrivateProfileSectionNamesW(buffer.data(), size, file.c_str());
        if (n < size - 2 || size >= (1u << 24)) {
            std::vector<std::wstring> names;
            for (const wchar_t* p = buffer.c_str(); p < buffer.c_str() + n && *p; p += wcslen(p) + 1)
                names.emplace_back(p);
            return names;
        }
    }
}

namespace {
std::wstring_view Trimmed(std::wstring_view text)
{
    while (!text.empty() && (text.front() == L' ' || text.front() == L'\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == L' ' || text.back() == L'\t'))
        text.remove_suffix(1);
    return text;
}
} // namespace

std::optional<ProfileEntries> CWin32Profile::GetSection(const std::wstring& file, std::wstring_view section)
{
    std::wstring sectionText(section);
    // The call fills at most this many characters; a section that does not
    // fit is reported as size - 2, like the section names.
    std::wstring buffer(kWholeSectionReadLimit, L'\0');
    const DWORD size = static_cast<DWORD>(buffer.size());
    DWORD n = GetPrivateProfileSectionW(sectionText.c_str(), buffer.data(), size, file.c_str());
    if (n >= size - 2)
        return std::nullopt;
    ProfileEntries entries;
    for (const wchar_t* p = buffer.c_str(); p < buffer.c_str() + n && *p; p += wcslen(p) + 1) {
        std::wstring_view line(p);
        std::size_t equals = line.find(L'=');
        // A line without '=' is no key to a key-by-key read either.
        if (equals != std::wstring_view::npos)
            entries.emplace_back(std::wstring(Trimmed(line.substr(0, equals))),
                                 std::wstring(Trimmed(line.substr(equals + 1))));
    }
    return entries;
}

ProfileFileStatus CWin32Profile::CheckFile(const std::wstring& file)
{
    DWORD attributes = GetFileAttributesW(file.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return ProfileFileStatus::Missing;
    // The profile functions open the file sharing everything, and read
    // defaults from one they cannot open.
    const CUniqueHandle handle(CreateFileW(file.c_str(), GENERIC_READ,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return handle.Valid() ? ProfileFileStatus::Readable : ProfileFileStatus::CannotOpen;
}
