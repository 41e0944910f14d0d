#pragma once
// Window messages through PostMessageW (Windows build only).

#include "platform/WindowMessenger.h"

#include <windows.h>

#include <vector>

class CWin32Messenger : public IWindowMessenger {
public:
    bool Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void PostToOwnWindows(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void PostQuit(int exitCode) override;
};

// The top-level windows of this process, whichever thread made them.
std::vector<HWND> OwnTopLevelWindows();
