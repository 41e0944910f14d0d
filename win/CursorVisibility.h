#pragma once
// Hides the mouse pointer for a full-screen window that is touched rather
// than clicked, and shows it again on every way out: the pointer's display
// count is a counter per thread, so hiding drives it below zero and showing
// back to zero or more, whatever it was, and the destructor shows it again
// when it is still hidden.

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
