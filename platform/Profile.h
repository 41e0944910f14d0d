#pragma once
// Seam: private-profile (.ini) files.

#include <string>
#include <string_view>
#include <vector>

class IProfile {
public:
    virtual ~IProfile() = default;
    // The value of a key, or the default when the file, section or key is missing.
    virtual std::wstring GetString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                                   std::wstring_view defaultValue) = 0;
    // Writes one key; false when the file could not be written.
    virtual bool WriteString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                             std::wstring_view value) = 0;
    // Every section name of the file, in file order.
    virtual std::vector<std::wstring> GetSectionNames(const std::wstring& file) = 0;
};
