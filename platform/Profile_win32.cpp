#include "platform/Profile_win32.h"

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

ProfileEntries CWin32Profile::GetSection(const std::wstring& file, std::wstring_view section)
{
    std::wstring sectionText(section);
    // Like the section names, a full buffer is reported as size - 2.
    for (DWORD size = 8192;; size *= 2) {
        std::wstring buffer(size, L'\0');
        DWORD n = GetPrivateProfileSectionW(sectionText.c_str(), buffer.data(), size, file.c_str());
        if (n < size - 2 || size >= (1u << 24)) {
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
    }
}

bool CWin32Profile::WriteSection(const std::wstring& file, std::wstring_view section, const ProfileEntries& entries)
{
    // "key=value" strings one after another, the list ended by an empty one.
    std::wstring block;
    for (const auto& [key, value] : entries) {
        block += key;
        block += L'=';
        block += value;
        block += L'\0';
    }
    block += L'\0';
    std::wstring sectionText(section);
    return WritePrivateProfileSectionW(sectionText.c_str(), block.c_str(), file.c_str()) != 0;
}

NewFileResult CWin32Profile::CreateWithSections(const std::wstring& file, const std::vector<ProfileSection>& sections)
{
    // The layout the private-profile writes give a new file: ANSI text,
    // "[name]" and then "key=value" lines, each ended by CR LF.
    std::wstring text;
    for (const ProfileSection& section : sections) {
        text += L'[' + section.name + L"]\r\n";
        for (const auto& [key, value] : section.entries)
            text += key + L'=' + value + L"\r\n";
    }
    std::string bytes;
    if (!text.empty()) {
        int size =
            WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
        if (size <= 0)
            return NewFileResult::Failed;
        bytes.resize(static_cast<std::size_t>(size));
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                            nullptr);
    }

    HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return GetLastError() == ERROR_FILE_EXISTS ? NewFileResult::AlreadyExists : NewFileResult::Failed;
    DWORD written = 0;
    bool ok =
        WriteFile(handle, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size();
    ok = CloseHandle(handle) && ok;
    if (!ok) {
        // No half-written file is left behind.
        DeleteFileW(file.c_str());
        return NewFileResult::Failed;
    }
    return NewFileResult::Written;
}

bool CWin32Profile::FileExists(const std::wstring& file)
{
    DWORD attributes = GetFileAttributesW(file.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
