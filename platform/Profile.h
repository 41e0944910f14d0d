#pragma once
// Seam: private-profile (.ini) files.

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

enum class NewFileResult { Written, AlreadyExists, Failed };

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
    // Every key of a section with its value as the file holds it (blanks
    // around the '=' removed, quotes kept; comments and lines without '='
    // left out); empty when the section is missing.
    virtual ProfileEntries GetSection(const std::wstring& file, std::wstring_view section) = 0;
    // Replaces the section's keys with these, in this order (one file write
    // instead of one per key); false when the file could not be written.
    virtual bool WriteSection(const std::wstring& file, std::wstring_view section, const ProfileEntries& entries) = 0;
    // Creates the file holding these sections, in this order, with one write,
    // laid out as the section writes would have left it. AlreadyExists (and
    // nothing written) when the file is there; Failed when it cannot be made.
    virtual NewFileResult CreateWithSections(const std::wstring& file, const std::vector<ProfileSection>& sections) = 0;
    // True when the file exists (a folder does not count).
    virtual bool FileExists(const std::wstring& file) = 0;
};
