#include "DialogPump.h"

#include "win/Dialog.h"

namespace {

void PumpWaiting(const MessageSeen& seen)
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (seen)
            seen(msg);
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // for the caller to see
            return;
        }
        if (!CDialog::RouteMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds, const MessageSeen& seen)
{
    for (DWORD start = GetTickCount();;) {
        PumpWaiting(seen);
        if (done())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
        // Any message ends the wait at once; the short bound is for what
        // other threads change without posting.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

void PumpFor(DWORD milliseconds, const MessageSeen& seen)
{
    PumpUntil([] { return false; }, milliseconds, seen);
}
