#pragma once
// Process facts and pauses from the system (Windows build only).

#include "platform/System.h"

#include <windows.h>

class CWin32System : public ISystem {
public:
    unsigned DefaultLanguageId() override;
    std::wstring ProgramFolder() override;
    bool FileExists(const std::wstring& path) override;
    void Sleep(unsigned milliseconds) override;
    void RaiseCurrentThreadPriority() override;
};

// The full path of the running executable.
std::wstring ModulePath(HMODULE module);

// The process's current directory, however long.
std::wstring CurrentDirectory();
