#pragma once
// The build's runnable tree (build/windows/bin: PelnoCpl.exe, the DLLs and
// the language files), beside the folder of the running test or benchmark.

#include "platform/System_win32.h"

#include <string>

// The folder of the running executable.
std::wstring TestFolder();
std::wstring BinFolder();

// The system seam with the runnable tree as the program's folder, so that
// the language files are found; or another folder a test names.
class CBinFolderSystem : public CWin32System {
public:
    std::wstring programFolder;
    std::wstring ProgramFolder() override { return programFolder.empty() ? BinFolder() : programFolder; }
};
