#include "DialogPump.h"

#include "win/Dialog.h"

namespace {

void PumpWaiting()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // for the test to see
            return;
        }
        if (!CDialog::RouteMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
}

} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD milliseconds)
{
    for (DWORD start = GetTickCount();;) {
        PumpWaiting();
        if (done())
            return true;
        if (GetTickCount() - start >= milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD milliseconds)
{
    PumpUntil([] { return false; }, milliseconds);
}
