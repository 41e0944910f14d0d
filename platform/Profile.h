#pragma once
// Seam: private-profile (.ini) files.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The keys of one section with their values, in file order.
using ProfileEntries = std::vector<std::pair<std::wstring, std::wstring>>;

struct ProfileSection {
    std::wstring name;
    ProfileEntries entries;
};

enum class ProfileFileStatus {
    Readable,
    Missing,    // no such file; a folder of that name counts as missing
    CannotOpen, // it is there, but the profile reads cannot open it (held open without sharing)
};

// The most a whole-section read returns, in characters: each "key=value"
// with its terminating zero, and one more zero at the end.
constexpr std::size_t kWholeSectionReadLimit = 32767;

class IProfile {
public:
    virtual ~IProfile() = default;
    // The value of a key, one pair of enclosing quotes removed, or the
    // default when the file, section or key is missing.
    virtual std::wstring GetString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                                   std::wstring_view defaultValue) = 0;
    // Writes one key; false when the file could not be written.
    virtual bool WriteString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                             std::wstring_view value) = 0;
    // Every section name of the file, in file order.
    virtual std::vector<std::wstring> GetSectionNames(const std::wstring& file) = 0;
    // Every key of a section with its value as the file holds it (blanks
    // around the '=' removed, quotes kept; comments and lines without '='
    // left out); empty when the section is missing; nothing when the
    // section is larger than a whole-section read returns.
    virtual std::optional<ProfileEntries> GetSection(const std::wstring& file, std::wstring_view section) = 0;
    // Whether the profile reads can read the file.
    virtual ProfileFileStatus CheckFile(const std::wstring& file) = 0;
};
