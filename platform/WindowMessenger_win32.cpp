#include "platform/WindowMessenger_win32.h"

bool CWin32Messenger::Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    if (!window)
        return false;
    if (message == WM_DEVICECHANGE) {
        // A system message whose lParam points to data cannot be posted
        // (ERROR_MESSAGE_SYNC_ONLY); the system itself sends this one. A
        // window that does not answer within 5 s misses it.
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(static_cast<HWND>(window), message, wParam, lParam, SMTO_NORMAL, 5000, &result) != 0;
    }
    return PostMessageW(static_cast<HWND>(window), message, wParam, lParam) != 0;
}

void CWin32Messenger::Broadcast(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    PostMessageW(HWND_BROADCAST, message, wParam, lParam);
}

void CWin32Messenger::PostQuit(int exitCode) { PostQuitMessage(exitCode); }
