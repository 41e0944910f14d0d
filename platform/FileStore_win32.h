#pragma once
// The Win32 implementation of the file seam (Windows build only).

#include "platform/FileStore.h"

class CWin32FileStore : public IFileStore {
public:
    FileReadStatus Read(const std::wstring& path, std::string& bytes) override;
    NewFileOutcome Create(const std::wstring& path, std::string_view bytes) override;
    SeamResult Replace(const std::wstring& path, std::string_view bytes) override;
    bool IsFolder(const std::wstring& path) override;
};
