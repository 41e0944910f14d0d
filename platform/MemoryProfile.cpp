#include "platform/MemoryProfile.h"

#include "platform/TextCase.h"

CMemoryProfile::File* CMemoryProfile::FindFile(const std::wstring& name)
{
    for (File& f : m_files)
        if (EqualsNoCase(f.name, name))
            return &f;
    return nullptr;
}

CMemoryProfile::File& CMemoryProfile::FileFor(const std::wstring& name)
{
    if (File* f = FindFile(name))
        return *f;
    m_files.push_back(File{name, {}, false});
    return m_files.back();
}

std::wstring CMemoryProfile::GetString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                                       std::wstring_view defaultValue)
{
    std::lock_guard lock(m_mutex);
    if (File* f = FindFile(file))
        for (const Section& s : f->sections)
            if (EqualsNoCase(s.name, section))
                for (const auto& [k, v] : s.keys)
                    if (EqualsNoCase(k, key))
                        return v;
    return std::wstring(defaultValue);
}

bool CMemoryProfile::WriteString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                                 std::wstring_view value)
{
    std::lock_guard lock(m_mutex);
    File& f = FileFor(file);
    if (f.readOnly)
        return false;
    ++m_writes;
    Section* target = nullptr;
    for (Section& s : f.sections)
        if (EqualsNoCase(s.name, section))
            target = &s;
    if (!target) {
        f.sections.push_back(Section{std::wstring(section), {}});
        target = &f.sections.back();
    }
    for (auto& [k, v] : target->keys)
        if (EqualsNoCase(k, key)) {
            v = value;
            return true;
        }
    target->keys.emplace_back(std::wstring(key), std::wstring(value));
    return true;
}

std::vector<std::wstring> CMemoryProfile::GetSectionNames(const std::wstring& file)
{
    std::lock_guard lock(m_mutex);
    std::vector<std::wstring> names;
    if (File* f = FindFile(file))
        for (const Section& s : f->sections)
            names.push_back(s.name);
    return names;
}

ProfileEntries CMemoryProfile::GetSection(const std::wstring& file, std::wstring_view section)
{
    std::lock_guard lock(m_mutex);
    if (File* f = FindFile(file))
        for (const Section& s : f->sections)
            if (EqualsNoCase(s.name, section))
                return s.keys;
    return {};
}

bool CMemoryProfile::WriteSection(const std::wstring& file, std::wstring_view section, const ProfileEntries& entries)
{
    std::lock_guard lock(m_mutex);
    File& f = FileFor(file);
    if (f.readOnly)
        return false;
    ++m_writes;
    for (Section& s : f.sections)
        if (EqualsNoCase(s.name, section)) {
            s.keys = entries;
            return true;
        }
    f.sections.push_back(Section{std::wstring(section), entries});
    return true;
}

NewFileResult CMemoryProfile::CreateWithSections(const std::wstring& file, const std::vector<ProfileSection>& sections)
{
    std::lock_guard lock(m_mutex);
    if (FindFile(file))
        return NewFileResult::AlreadyExists;
    for (const std::wstring& folder : m_missingFolders)
        if (file.size() > folder.size() && EqualsNoCase(std::wstring_view(file).substr(0, folder.size()), folder))
            return NewFileResult::Failed;
    File& f = FileFor(file);
    for (const ProfileSection& section : sections)
        f.sections.push_back(Section{section.name, section.entries});
    ++m_writes;
    return NewFileResult::Written;
}

void CMemoryProfile::SetMissingFolder(const std::wstring& folder)
{
    std::lock_guard lock(m_mutex);
    m_missingFolders.push_back(folder);
}

void CMemoryProfile::SetReadOnly(const std::wstring& file, bool readOnly)
{
    std::lock_guard lock(m_mutex);
    FileFor(file).readOnly = readOnly;
}

bool CMemoryProfile::HasFile(const std::wstring& file)
{
    std::lock_guard lock(m_mutex);
    return FindFile(file) != nullptr;
}
