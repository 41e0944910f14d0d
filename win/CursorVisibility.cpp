#include "win/CursorVisibility.h"

#include <windows.h>

namespace {
// The count moves by one a call; a count pushed far out by other code is
// still brought back, but never by an endless loop.
constexpr int kMaxSteps = 1000;
} // namespace

void HideCursorFully()
{
    for (int i = 0; i < kMaxSteps && ::ShowCursor(FALSE) >= 0; ++i) {
    }
}

void ShowCursorFully()
{
    for (int i = 0; i < kMaxSteps && ::ShowCursor(TRUE) < 0; ++i) {
    }
}

void CHiddenCursor::Hide()
{
    HideCursorFully();
    m_hidden = true;
}

void CHiddenCursor::Show()
{
    if (!m_hidden)
        return;
    ShowCursorFully();
    m_hidden = false;
}
