#include "platform/Win32Seams.h"

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
