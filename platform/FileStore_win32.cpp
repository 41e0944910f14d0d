#include "platform/FileStore_win32.h"

#include "platform/UniqueHandle_win32.h"

#include <windows.h>

#include <algorithm>

namespace {

// The call that just failed, with the thread's error code.
SeamResult LastError(const char* call) { return SeamResult::Failed(call, GetLastError()); }

// Writes every byte, flushes and closes: a failure when any of it failed (a
// full disk fails the write, or the flush of what the cache still holds).
SeamResult WriteWhole(CUniqueHandle& file, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
        DWORD written = 0;
        if (!WriteFile(file.Get(), bytes.data(), chunk, &written, nullptr) || written == 0)
            return LastError("WriteFile");
        bytes.remove_prefix(written);
    }
    if (!FlushFileBuffers(file.Get())) {
        SeamResult failed = LastError("FlushFileBuffers");
        file.Close();
        return failed;
    }
    return file.Close() ? SeamResult() : LastError("CloseHandle");
}

std::wstring FolderOf(const std::wstring& path)
{
    std::size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? L"." : path.substr(0, separator + 1);
}

} // namespace

FileReadStatus CWin32FileStore::Read(const std::wstring& path, std::string& bytes)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return GetLastError() == ERROR_ACCESS_DENIED ? FileReadStatus::CannotOpen : FileReadStatus::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileReadStatus::Missing;
    CUniqueHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid())
        return FileReadStatus::CannotOpen;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart > 0x7FFFFFFF)
        return FileReadStatus::CannotOpen;
    bytes.assign(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        if (!ReadFile(file.Get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &n, nullptr))
            return FileReadStatus::CannotOpen;
        if (n == 0)
            break; // shorter than its size said: what is there is the content
        done += n;
    }
    bytes.resize(done);
    return FileReadStatus::Read;
}

NewFileOutcome CWin32FileStore::Create(const std::wstring& path, std::string_view bytes)
{
    CUniqueHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        const SeamResult failed = LastError("CreateFileW");
        return failed.Code() == ERROR_FILE_EXISTS ? NewFileOutcome(NewFileResult::AlreadyExists)
                                                  : NewFileOutcome(NewFileResult::Failed, failed);
    }
    if (SeamResult written = WriteWhole(file, bytes); !written) {
        file.Close();
        DeleteFileW(path.c_str()); // no half-written file is left behind
        return {NewFileResult::Failed, written};
    }
    return NewFileResult::Written;
}

SeamResult CWin32FileStore::Replace(const std::wstring& path, std::string_view bytes)
{
    // Only a file that may be written is replaced: a rename would also
    // replace a read-only one (Wine allows it), and an administrator may
    // open one for writing, so the attribute is checked first.
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        return SeamResult::Failed("GetFileAttributesW", ERROR_ACCESS_DENIED);
    if (!CUniqueHandle(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
             .Valid())
        return LastError("CreateFileW");
    // The temporary file lies beside the file, on the same volume, so that
    // moving it over the file is one rename.
    wchar_t temporary[MAX_PATH + 1] = {};
    if (!GetTempFileNameW(FolderOf(path).c_str(), L"pel", 0, temporary))
        return LastError("GetTempFileNameW");
    CUniqueHandle file(
        CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    SeamResult replaced = file.Valid() ? WriteWhole(file, bytes) : LastError("CreateFileW");
    if (replaced && !MoveFileExW(temporary, path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        replaced = LastError("MoveFileExW");
    if (!replaced) {
        file.Close();
        DeleteFileW(temporary);
    }
    return replaced;
}

bool CWin32FileStore::IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
