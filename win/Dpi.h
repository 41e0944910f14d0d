#pragma once
// The DPI a window is drawn at. Read it at every layout and paint: a window
// moved to a monitor of another scale has another DPI from then on.

#include "common/DpiScale.h"

#include <windows.h>

// GetDpiForWindow where the system has it (Windows 10 1607 and later, Wine),
// else the LOGPIXELSX of the window's device context: the system DPI.
inline unsigned WindowDpi(HWND window)
{
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFunction>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    HDC dc = ::GetDC(window);
    const int dpi = dc ? ::GetDeviceCaps(dc, LOGPIXELSX) : 0;
    if (dc)
        ::ReleaseDC(window, dc);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96u;
}

// A 96-DPI length at the window's DPI.
inline int ScaleForWindow(HWND window, int length96) { return ScaleForDpi(length96, WindowDpi(window)); }
