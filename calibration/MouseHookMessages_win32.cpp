#include "calibration/MouseHookMessages.h"

#include <windows.h>

const MouseHookMessages& RegisterMouseHookMessages()
{
    static const MouseHookMessages messages{
        RegisterWindowMessageW(L"WM_USER_MOUSEDOWN_MSG"),
        RegisterWindowMessageW(L"WM_USER_MOUSEUP_MSG"),
        RegisterWindowMessageW(L"WM_USER_MOUSEMOVE_MSG"),
    };
    return messages;
}
