#pragma once
// What a written driver record changes in the user's own mouse settings: the
// double-click rectangle and time, and the cursor scheme, which "Hide Cursor"
// replaces by an invisible cursor. The values the invisible cursor replaces
// are kept under this program's key of the current user and put back when
// the cursor is shown again, so that a scheme of the user's own survives.

#include "config/DriverConfig.h"

#include <array>
#include <string>

class IRegistry;
class ISystemMouse;

// The cursor scheme's values, in the order they are written.
inline constexpr std::array<const wchar_t*, 15> kCursorNames = {
    L"Arrow", L"AppStarting", L"Hand",     L"Wait",   L"Crosshair", L"Help",   L"IBeam",  L"No",
    L"NWPen", L"SizeAll",     L"SizeNESW", L"SizeNS", L"SizeNWSE",  L"SizeWE", L"UpArrow"};

// The invisible cursor, as the scheme names it (expanded by the system).
constexpr wchar_t kInvisibleCursorPath[] = L"%SYSTEMROOT%\\Cursors\\null.cur";

// Under the current user: the scheme values the invisible cursor replaced.
constexpr wchar_t kKeptCursorsPath[] = L"Software\\Pelno Touch Systems\\TouchScreen Control Panel\\Hidden Cursors";

// Applies the record's double-click settings and cursor scheme, in this
// order: the session's double-click width, height and time (all 0 when
// double click is off); when it is on, the stored "DoubleClickWidth",
// "DoubleClickHeight" and "DoubleClickSpeed"; the scheme; the reload.
//
// Hiding keeps each value that is not the invisible cursor in `keptCursors`
// and replaces it (a value that cannot be kept is left as it is); showing
// puts the kept value back into each value that holds the invisible cursor
// (an empty value, the system's default, when none was kept or what was
// kept is itself an invisible cursor) and leaves the others alone.
void ApplySystemMouseSettings(const DriverConfig& config, ISystemMouse& mouse, IRegistry& keptCursors);

// Whether a scheme value names a file called "null.cur" (letters in any
// case), wherever it lies and however the path is spelled.
bool IsInvisibleCursor(const std::wstring& value);
