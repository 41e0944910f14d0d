#pragma once
// A dialog moved to a monitor of another scale (WM_DPICHANGED). Windows 10
// 1703 and later re-lay a per-monitor v2 dialog themselves: they take the
// suggested rectangle, move and size the controls for the new DPI and hand
// them a font made for it. Elsewhere (Windows 8.1's per-monitor awareness,
// Wine) none of that happens. The dialog base lets the system's handling run
// first, then does what it left undone, judged by what changed:
// - the window not at the suggested rectangle: moved there;
// - no control moved or resized: each control's rectangle scaled by the new
//   DPI over the old;
// - the dialog's font unchanged: the controls that used it get the same
//   font at the new height.
// A window that covers a monitor or follows the pointer places itself: it
// keeps its rectangle (physical pixels) and tells the system not to resize
// it. Owner-drawn content reads the window's DPI when it paints; the whole
// window is repainted.

#include "win/GdiObjects.h"

#include <functional>

class CDialogDpi {
public:
    // The dialog's window was created: its DPI from now on.
    void Attach(HWND dialog, bool keepsRect);
    // WM_DPICHANGED: `systemHandling` runs the dialog manager's own handling.
    void Apply(HWND dialog, unsigned dpi, const RECT& suggested, bool keepsRect,
               const std::function<void()>& systemHandling);
    unsigned Dpi() const { return m_dpi; }

private:
    unsigned m_dpi = 96;
    // The font the controls use: the dialog's, until a change the system
    // left undone makes one of ours (kept in m_madeFont).
    HFONT m_controlsFont = nullptr;
    CFont m_madeFont;
};
