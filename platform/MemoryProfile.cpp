#include "platform/MemoryProfile.h"

#include "platform/TextCase.h"

CMemoryProfile::File* CMemoryProfile::FindFile(const std::wstring& name)
{
    for (File& f : m_files)
        if (EqualsNoCase(f.name, name))
            return &f;
    return nullptr;
}

CMemoryProfile::File* CMemoryProfile::FindReadable(const std::wstring& name)
{
    File* f = FindFile(name);
    return f && !f->locked ? f : nullptr;
}

CMemoryProfile::File& CMemoryProfile::FileFor(const std::wstring& name)
{
    if (File* f = FindFile(name))
        return *f;
    m_files.push_back(File{name, {}});
    return m_files.back();
}

std::wstring CMemoryProfile::GetString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                                       std::wstring_view defaultValue)
{
    std::lock_guard lock(m_mutex);
    if (File* f = FindReadable(file))
        for (const Section& s : f->sections)
            if (EqualsNoCase(s.name, section)) {
                for (const auto& [k, v] : s.keys)
                    if (EqualsNoCase(k, key)) {
                        // A key-by-key read takes one pair of enclosing quotes off.
                        if (v.size() >= 2 && (v.front() == L'"' || v.front() == L'\'') && v.back() == v.front())
                            return v.substr(1, v.size() - 2);
                        return v;
                    }
                break; // later sections of the same name are not read
            }
    return std::wstring(defaultValue);
}

bool CMemoryProfile::WriteString(const std::wstring& file, std::wstring_view section, std::wstring_view key,
                                 std::wstring_view value)
{
    std::lock_guard lock(m_mutex);
    File& f = FileFor(file);
    if (f.readOnly || f.locked)
        return false;
    Section* target = nullptr;
    for (Section& s : f.sections)
        if (EqualsNoCase(s.name, section)) {
            target = &s;
            break;
        }
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
    if (File* f = FindReadable(file))
        for (const Section& s : f->sections)
            names.push_back(s.name);
    return names;
}

std::optional<ProfileEntries> CMemoryProfile::GetSection(const std::wstring& file, std::wstring_view section)
{
    std::lock_guard lock(m_mutex);
    if (File* f = FindReadable(file))
        for (const Section& s : f->sections)
            if (EqualsNoCase(s.name, section)) {
                // "key=value" and a zero each, and the list's final zero.
                std::size_t size = 1;
                for (const auto& [k, v] : s.keys)
                    size += k.size() + v.size() + 2;
                if (size > kWholeSectionReadLimit - 2)
                    return std::nullopt;
                return s.keys;
            }
    return ProfileEntries{};
}

ProfileFileStatus CMemoryProfile::CheckFile(const std::wstring& file)
{
    std::lock_guard lock(m_mutex);
    File* f = FindFile(file);
    if (!f)
        return ProfileFileStatus::Missing;
    return f->locked ? ProfileFileStatus::CannotOpen : ProfileFileStatus::Readable;
}

void CMemoryProfile::SetFile(const std::wstring& file, const std::vector<ProfileSection>& sections)
{
    std::lock_guard lock(m_mutex);
    File& f = FileFor(file);
    f.sections.clear();
    for (const ProfileSection& section : sections)
        f.sections.push_back(Section{section.name, section.entries});
}

void CMemoryProfile::SetReadOnly(const std::wstring& file, bool readOnly)
{
    std::lock_guard lock(m_mutex);
    FileFor(file).readOnly = readOnly;
}

void CMemoryProfile::SetLocked(const std::wstring& file, bool locked)
{
    std::lock_guard lock(m_mutex);
    FileFor(file).locked = locked;
}

bool CMemoryProfile::HasFile(const std::wstring& file)
{
    std::lock_guard lock(m_mutex);
    return FindFile(file) != nullptr;
}
