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

std::vector<HWND> OwnTopLevelWindows()
{
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND window, LPARAM found) -> BOOL {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == GetCurrentProcessId())
                reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

void CWin32Messenger::PostToOwnWindows(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    // Not HWND_BROADCAST: that would post our private message to every
    // window of every program in the session.
    for (HWND window : OwnTopLevelWindows())
        PostMessageW(window, message, wParam, lParam);
}

void CWin32Messenger::PostQuit(int exitCode) { PostQuitMessage(exitCode); }
