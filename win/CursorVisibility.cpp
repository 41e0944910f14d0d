#include "win/CursorVisibility.h"

#include <windows.h>

namespace {
// The display count moves by one per call; a count beyond this is no count a program keeps.
constexpr int kMaxSteps = 1024;
} // namespace

void CHiddenCursor::Hide()
{
    for (int i = 0; i < kMaxSteps && ::ShowCursor(FALSE) >= 0; ++i) {
    }
    m_hidden = true;
}

void CHiddenCursor::Show()
{
    if (!m_hidden)
        return;
    for (int i = 0; i < kMaxSteps && ::ShowCursor(TRUE) < 0; ++i) {
    }
    m_hidden = false;
}
