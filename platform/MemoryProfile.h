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
    std::optional<ProfileEntries> GetSection(const std::wstring& file, std::wstring_view section) override;
    ProfileFileStatus CheckFile(const std::wstring& file) override;

    // Makes the file hold exactly these sections (none: an empty file).
    void SetFile(const std::wstring& file, const std::vector<ProfileSection>& sections);
    // Writes to this file fail (as a read-only file would).
    void SetReadOnly(const std::wstring& file, bool readOnly);
    // Held open without sharing: the profile reads cannot open it and read
    // defaults, as from a missing file.
    void SetLocked(const std::wstring& file, bool locked);
    bool HasFile(const std::wstring& file);

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
        bool locked = false;
    };
    File* FindFile(const std::wstring& name);
    // The file as the profile reads see it: null when missing or locked.
    File* FindReadable(const std::wstring& name);
    File& FileFor(const std::wstring& name);

    std::mutex m_mutex;
    std::vector<File> m_files;
};
