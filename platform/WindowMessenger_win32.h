#pragma once
// Window messages through PostMessageW (Windows build only).

#include "platform/WindowMessenger.h"

#include <windows.h>

class CWin32Messenger : public IWindowMessenger {
public:
    bool Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void Broadcast(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) override;
    void PostQuit(int exitCode) override;
};
