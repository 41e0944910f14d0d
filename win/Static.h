#pragma once
// A static control: the window wrapper plus the image messages.

#include "win/Window.h"

class CStatic : public CWindow {
public:
    using CWindow::CWindow;

    // Returns the previous image; the caller keeps owning both.
    HBITMAP SetBitmap(HBITMAP bitmap) const
    {
        return reinterpret_cast<HBITMAP>(SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
    }
    HICON SetIcon(HICON icon) const
    {
        return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(icon)));
    }
};
