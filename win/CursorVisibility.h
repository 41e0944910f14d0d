#pragma once
// The pointer hidden while a full-screen dialog waits for touches, and shown
// again. The system keeps a display count per thread: the pointer shows
// while it is 0 or more. Hiding lowers it until it is negative, showing
// raises it until it is not, whatever other code did to it meanwhile.

// Lowers the display count until the pointer is hidden.
void HideCursorFully();
// Raises the display count until the pointer shows.
void ShowCursorFully();

// Hides the pointer for its lifetime: shown again at Show or at the latest
// when the object goes, on every way out.
class CHiddenCursor {
public:
    CHiddenCursor() = default;
    ~CHiddenCursor() { Show(); }
    CHiddenCursor(const CHiddenCursor&) = delete;
    CHiddenCursor& operator=(const CHiddenCursor&) = delete;

    void Hide();
    void Show();
    bool Hidden() const { return m_hidden; }

private:
    bool m_hidden = false;
};
