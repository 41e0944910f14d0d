#pragma once
// The picture of the main dialog and of About: a static control that paints
// bitmap resource 177 of the module owning the window over its client area,
// stretched to it (the main dialog), or unstretched from its top-left corner,
// cut at the control's edges (About).

#include "win/SubclassedWindow.h"

inline constexpr int kImageStaticBitmap = 177;

class CImageStatic : public CSubclassedWindow {
public:
    explicit CImageStatic(bool stretch = true) : m_stretch(stretch) {}

protected:
    // WM_PAINT, and WM_PRINTCLIENT (printing the window draws the same).
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);

    bool m_stretch;
};
