#pragma once
// Seam: whole files as bytes, for files that are written all or nothing.

#include "platform/SeamResult.h"

#include <string>
#include <string_view>

enum class FileReadStatus {
    Read,
    Missing,    // no such file; a folder of that name counts as missing
    CannotOpen, // it is there but cannot be read (held open without sharing, access denied)
};

enum class NewFileResult { Written, AlreadyExists, Failed };

// What Create did, with the failing call of Failed; it converts to the
// NewFileResult, so that a caller may switch on it.
struct NewFileOutcome {
    NewFileOutcome(NewFileResult result, SeamResult error = {}) : result(result), error(error) {}
    operator NewFileResult() const { return result; }

    NewFileResult result;
    SeamResult error;
};

class IFileStore {
public:
    virtual ~IFileStore() = default;
    // The whole content of the file.
    virtual FileReadStatus Read(const std::wstring& path, std::string& bytes) = 0;
    // Makes a new file holding these bytes. AlreadyExists (and nothing
    // written) when the file is there; Failed when it cannot be made or
    // written whole, and then no file is left behind.
    virtual NewFileOutcome Create(const std::wstring& path, std::string_view bytes) = 0;
    // Replaces the content of an existing file: the bytes go to a temporary
    // file beside it, which takes the file's place only once written whole.
    // A failure leaves the file as it was and no temporary file behind. A
    // read-only file is never replaced, whatever the rights of the caller.
    virtual SeamResult Replace(const std::wstring& path, std::string_view bytes) = 0;
    // Whether the path names an existing folder (not a file).
    virtual bool IsFolder(const std::wstring& path) = 0;
};
