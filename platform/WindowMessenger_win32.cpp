#include "platform/Win32Seams.h"

bool CWin32Messenger::Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    return window && PostMessageW(static_cast<HWND>(window), message, wParam, lParam) != 0;
}

void CWin32Messenger::Broadcast(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    PostMessageW(HWND_BROADCAST, message, wParam, lParam);
}

void CWin32Messenger::PostQuit(int exitCode) { PostQuitMessage(exitCode); }
