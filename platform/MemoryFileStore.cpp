#include "platform/MemoryFileStore.h"

#include "platform/TextCase.h"

#include <algorithm>

std::wstring CMemoryFileStore::Key(const std::wstring& path)
{
    std::wstring key = path;
    for (wchar_t& c : key)
        c = FoldCase(c);
    return key;
}

std::wstring CMemoryFileStore::FolderKey(const std::wstring& path)
{
    std::wstring key = Key(path);
    while (!key.empty() && key.back() == L'\\')
        key.pop_back();
    return key;
}

bool CMemoryFileStore::IsFolder(const std::wstring& path) { return !path.empty() && m_folders.count(FolderKey(path)); }

FileReadStatus CMemoryFileStore::Read(const std::wstring& path, std::string& bytes)
{
    auto it = m_files.find(Key(path));
    if (it == m_files.end())
        return FileReadStatus::Missing;
    if (it->second.locked)
        return FileReadStatus::CannotOpen;
    bytes = it->second.bytes;
    return FileReadStatus::Read;
}

bool CMemoryFileStore::WriteFile(const std::wstring& key, std::string_view bytes)
{
    std::size_t fits = m_freeSpace ? std::min(bytes.size(), *m_freeSpace) : bytes.size();
    m_files[key].bytes.assign(bytes.substr(0, fits));
    if (m_freeSpace)
        *m_freeSpace -= fits;
    return fits == bytes.size();
}

void CMemoryFileStore::Remove(const std::wstring& key)
{
    auto it = m_files.find(key);
    if (it == m_files.end())
        return;
    if (m_freeSpace)
        *m_freeSpace += it->second.bytes.size();
    m_files.erase(it);
}

namespace {
// The system's codes for the faults this store plays.
constexpr unsigned kFileNotFound = 2;
constexpr unsigned kSharingViolation = 32;
constexpr unsigned kAccessDenied = 5;
constexpr unsigned kDiskFull = 112;
} // namespace

NewFileOutcome CMemoryFileStore::Create(const std::wstring& path, std::string_view bytes)
{
    const std::wstring key = Key(path);
    if (m_files.count(key))
        return NewFileResult::AlreadyExists;
    if (!WriteFile(key, bytes)) {
        Remove(key);
        return {NewFileResult::Failed, SeamResult::Failed("WriteFile", kDiskFull)};
    }
    ++m_writes;
    return NewFileResult::Written;
}

SeamResult CMemoryFileStore::Replace(const std::wstring& path, std::string_view bytes)
{
    const std::wstring key = Key(path);
    auto original = m_files.find(key);
    if (original == m_files.end() || original->second.locked)
        return SeamResult::Failed("CreateFileW", original == m_files.end() ? kFileNotFound : kSharingViolation);
    if (original->second.readOnly)
        return SeamResult::Failed("GetFileAttributesW", kAccessDenied);
    const std::wstring temporary = key + L".~" + std::to_wstring(++m_temporaryFiles);
    if (!WriteFile(temporary, bytes)) {
        Remove(temporary);
        return SeamResult::Failed("WriteFile", kDiskFull);
    }
    // The temporary file takes the original's place.
    std::string written = std::move(m_files[temporary].bytes);
    m_files.erase(temporary);
    if (m_freeSpace)
        *m_freeSpace += original->second.bytes.size();
    original->second.bytes = std::move(written);
    ++m_writes;
    return {};
}

void CMemoryFileStore::Put(const std::wstring& path, std::string_view bytes) { m_files[Key(path)].bytes = bytes; }

std::optional<std::string> CMemoryFileStore::Bytes(const std::wstring& path) const
{
    auto it = m_files.find(Key(path));
    if (it == m_files.end())
        return std::nullopt;
    return it->second.bytes;
}

void CMemoryFileStore::SetLocked(const std::wstring& path, bool locked)
{
    if (auto it = m_files.find(Key(path)); it != m_files.end())
        it->second.locked = locked;
}

void CMemoryFileStore::SetReadOnly(const std::wstring& path, bool readOnly)
{
    if (auto it = m_files.find(Key(path)); it != m_files.end())
        it->second.readOnly = readOnly;
}
