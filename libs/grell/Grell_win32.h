#pragma once
// The mouse-hook library: while started, every mouse move and every press
// and release of the left button anywhere on the desktop is posted to one
// window as a message registered under the names below. The receiver reads
// the pointer with GetCursorPos; wParam carries the mouse message
// (WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP) and lParam the screen point
// (x in the low, y in the high 16 bits). Mouse input still reaches every
// window as usual.

#include <windows.h>

#if defined(GRELL_BUILDING_DLL)
#define GRELL_API __declspec(dllexport)
#else
#define GRELL_API __declspec(dllimport)
#endif

// The names the library and its callers register the messages under.
inline constexpr wchar_t kGrellMouseDownMessage[] = L"WM_USER_MOUSEDOWN_MSG";
inline constexpr wchar_t kGrellMouseUpMessage[] = L"WM_USER_MOUSEUP_MSG";
inline constexpr wchar_t kGrellMouseMoveMessage[] = L"WM_USER_MOUSEMOVE_MSG";

extern "C" {
// Starts reporting to the window; while reporting, a second call only
// changes the window. A handle that names no window starts nothing.
GRELL_API void StartMouseHook(HWND window);
// Ends reporting; does nothing when reporting is not active. The window
// argument is not compared: there is one reporting at a time.
GRELL_API void StopMouseHook(HWND window);
}
