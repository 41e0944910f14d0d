#pragma once
// Seam: whole files as bytes, for files that are written all or nothing.

#include <string>
#include <string_view>

enum class FileReadStatus {
    Read,
    Missing,    // no such file; a folder of that name counts as missing
    CannotOpen, // it is there but cannot be read (held open without sharing, access denied)
};

enum class NewFileResult { Written, AlreadyExists, Failed };

class IFileStore {
public:
    virtual ~IFileStore() = default;
    // The whole content of the file.
    virtual FileReadStatus Read(const std::wstring& path, std::string& bytes) = 0;
    // Makes a new file holding these bytes. AlreadyExists (and nothing
    // written) when the file is there; Failed when it cannot be made or
    // written whole, and then no file is left behind.
    virtual NewFileResult Create(const std::wstring& path, std::string_view bytes) = 0;
    // Replaces the content of an existing file: the bytes go to a temporary
    // file beside it, which takes the file's place only once written whole.
    // False leaves the file as it was and no temporary file behind. A
    // read-only file is never replaced, whatever the rights of the caller.
    virtual bool Replace(const std::wstring& path, std::string_view bytes) = 0;
    // Whether the path names an existing folder (not a file).
    virtual bool IsFolder(const std::wstring& path) = 0;
};
