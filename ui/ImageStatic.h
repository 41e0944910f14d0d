#pragma once
// The picture of the main dialog: a static control that paints bitmap
// resource 177 of the module owning the window over its whole client area.

#include "win/SubclassedWindow.h"

inline constexpr int kImageStaticBitmap = 177;

class CImageStatic : public CSubclassedWindow {
protected:
    // WM_PAINT, and WM_PRINTCLIENT (printing the window draws the same).
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void Paint(HDC dc);
};
