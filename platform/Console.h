#pragma once
// Seam: the console of the console face.

#include <string_view>

class IConsole {
public:
    virtual ~IConsole() = default;
    // Connects standard output: an existing redirect is kept; otherwise the
    // parent's console is attached, given a 1000-line buffer and reopened.
    virtual void Attach() = 0;
    virtual void SetTitle(std::wstring_view title) = 0;
    // True when standard output is a console (a cursor that can be moved).
    virtual bool IsConsole() = 0;
    virtual void SetCursorPosition(int column, int row) = 0;
    // Blanks the whole screen buffer and puts the cursor at the top left.
    virtual void Clear() = 0;
    // Writes narrow text to standard output, at once (no buffering).
    virtual void Write(std::string_view text) = 0;
};
