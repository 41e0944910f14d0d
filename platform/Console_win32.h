#pragma once
// The console the program was started from (Windows build only).

#include "platform/Console.h"

#include <windows.h>

#include <string>

class CWin32Console : public IConsole {
public:
    void Attach() override;
    void SetTitle(std::wstring_view title) override;
    bool IsConsole() override;
    void SetCursorPosition(int column, int row) override;
    void Clear() override;
    void Write(std::string_view text) override;

private:
    HANDLE m_output = nullptr;
};

// A file or section name as the console face prints it: in the ANSI code page.
std::string ToConsoleText(std::wstring_view text);
