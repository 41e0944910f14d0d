#pragma once
// In-memory profile files for native tests: files, sections and keys kept
// in insertion order and matched without regard to case.

#include "platform/Profile.h"

#include <mutex>
#include <string>
#include <utility>
#include <vector>

class CMemoryProfile : public IProfile {
public:
    std::wstring GetString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                           std::wstring_view defaultValue) override;
    bool WriteString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                     std::wstring_view value) override;
    std::vector<std::wstring> GetSectionNames(const std::wstring& file) override;
    ProfileEntries GetSection(const std::wstring& file, std::wstring_view section) override;
    bool WriteSection(const std::wstring& file, std::wstring_view section, const ProfileEntries& entries) override;
    NewFileResult CreateWithSections(const std::wstring& file, const std::vector<ProfileSection>& sections) override;
    bool FileExists(const std::wstring& file) override { return HasFile(file); }

    // Writes to this file fail (as a read-only file would).
    void SetReadOnly(const std::wstring& file, bool readOnly);
    bool HasFile(const std::wstring& file);
    // New files in this folder cannot be created (a folder that is missing).
    void SetMissingFolder(const std::wstring& folder);
    // How many times a file was written whole or by section.
    int WriteCount() const { return m_writes; }

private:
    using Keys = std::vector<std::pair<std::wstring, std::wstring>>;
    struct Section {
        std::wstring name;
        Keys keys;
    };
    struct File {
        std::wstring name;
        std::vector<Section> sections;
        bool readOnly = false;
    };
    File* FindFile(const std::wstring& name);
    File& FileFor(const std::wstring& name);

    std::mutex m_mutex;
    std::vector<File> m_files;
    std::vector<std::wstring> m_missingFolders;
    int m_writes = 0;
};
