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

unsigned MouseDownMessage() { return RegisterMouseHookMessages().down; }
unsigned MouseUpMessage() { return RegisterMouseHookMessages().up; }
unsigned MouseMoveMessage() { return RegisterMouseHookMessages().move; }
