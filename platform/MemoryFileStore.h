#pragma once
// In-memory files for native tests, named without regard to case, with the
// faults the tests need: a file held open without sharing, and a disk that
// fills up in the middle of a write.

#include "platform/FileStore.h"

#include <cstddef>
#include <map>
#include <optional>
#include <set>
#include <string>

class CMemoryFileStore : public IFileStore {
public:
    FileReadStatus Read(const std::wstring& path, std::string& bytes) override;
    NewFileOutcome Create(const std::wstring& path, std::string_view bytes) override;
    SeamResult Replace(const std::wstring& path, std::string_view bytes) override;
    bool IsFolder(const std::wstring& path) override;

    // A file as another program left it.
    void Put(const std::wstring& path, std::string_view bytes);
    // The file's bytes; nothing when there is no such file.
    std::optional<std::string> Bytes(const std::wstring& path) const;
    // Held open without sharing: it can be neither read nor replaced.
    void SetLocked(const std::wstring& path, bool locked);
    // Marked read-only: it can be read but not replaced.
    void SetReadOnly(const std::wstring& path, bool readOnly);
    // A folder (a trailing backslash does not count).
    void AddFolder(const std::wstring& path) { m_folders.insert(FolderKey(path)); }
    // Free space left on the disk: a write needing more stops when it is
    // used up (and fails), as on a full disk. Without a call, unlimited.
    void SetFreeSpace(std::size_t bytes) { m_freeSpace = bytes; }
    // Every file, temporary ones included.
    std::size_t FileCount() const { return m_files.size(); }
    // How many files were written whole (created or replaced).
    int WriteCount() const { return m_writes; }

private:
    struct File {
        std::string bytes;
        bool locked = false;
        bool readOnly = false;
    };
    static std::wstring Key(const std::wstring& path);
    static std::wstring FolderKey(const std::wstring& path);
    // Writes a file as the disk allows: false (with what fitted written)
    // when the free space runs out.
    bool WriteFile(const std::wstring& key, std::string_view bytes);
    // Gives the space of a file back to the disk and forgets the file.
    void Remove(const std::wstring& key);

    std::map<std::wstring, File> m_files;
    std::set<std::wstring> m_folders;
    std::optional<std::size_t> m_freeSpace; // nothing: unlimited
    int m_writes = 0;
    int m_temporaryFiles = 0;
};
