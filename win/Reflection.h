#pragma once
// Message reflection: a dialog sends the notifications a control raises
// (WM_DRAWITEM, WM_CTLCOLOR*, WM_COMMAND) back to the control itself as
// kReflectBase + message, so that an owner-drawn control draws itself and a
// link static picks its own colours. A control that handles a reflected
// message returns non-zero (for a colour request: the brush); zero means
// "not handled" and the dialog does its default work.

#include <windows.h>

constexpr UINT kReflectBase = WM_USER + 0x1C00;

// The control a dialog message names, or nullptr when it names none.
inline HWND ReflectionTarget(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DRAWITEM:
        return wParam ? reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem : nullptr;
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_COMMAND:
        return reinterpret_cast<HWND>(lParam);
    default:
        return nullptr;
    }
}

// Sends the reflected message to the control; returns what the control
// returned (0: not handled).
inline LRESULT ReflectToControl(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND control = ReflectionTarget(message, wParam, lParam);
    if (!control)
        return 0;
    return ::SendMessageW(control, kReflectBase + message, wParam, lParam);
}
