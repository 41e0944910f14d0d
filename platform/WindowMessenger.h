#pragma once
// Seam: posting window messages.

#include "platform/Handles.h"

#include <cstdint>

class IWindowMessenger {
public:
    virtual ~IWindowMessenger() = default;
    // Posts to one window; false when the window cannot receive it (the
    // caller then still owns whatever lParam points to).
    virtual bool Post(WindowHandle window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Posts to every top-level window of this process, never to another
    // program's: our private message numbers mean something else there.
    virtual void PostToOwnWindows(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) = 0;
    // Posts a quit message to the calling thread's queue.
    virtual void PostQuit(int exitCode) = 0;
};
