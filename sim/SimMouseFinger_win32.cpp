#include "platform/Monitors_win32.h"
#include "sim/SimHidPort.h"
#include "sim/SimMouseFinger.h"

#include <atomic>
#include <thread>

namespace {

std::atomic<CSimHidPort*> g_port{nullptr};

void TouchAt(POINT point)
{
    CSimHidPort* port = g_port.load();
    if (!port)
        return;
    std::vector<MonitorRect> monitors = CWin32Monitors().Enumerate();
    for (unsigned i = 0; i < port->Scenario().frames.size(); ++i) {
        auto frame = port->FrameAt(i);
        const SimFrameSetup& setup = frame->Setup();
        if (!frame->Streaming() || setup.monitor < 0 || static_cast<std::size_t>(setup.monitor) >= monitors.size())
            continue;
        const MonitorRect& m = monitors[static_cast<std::size_t>(setup.monitor)];
        if (point.x < m.left || point.x >= m.right || point.y < m.top || point.y >= m.bottom)
            continue;
        RawPoint raw = ScaleToRaw(point.x, point.y, m, setup.rawMaxX, setup.rawMaxY);
        frame->QueueTouch(raw.x, raw.y);
    }
}

LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM data)
{
    if (code == HC_ACTION && message == WM_LBUTTONUP)
        TouchAt(reinterpret_cast<const MSLLHOOKSTRUCT*>(data)->pt);
    return CallNextHookEx(nullptr, code, message, data);
}

} // namespace

void StartMouseFinger(CSimHidPort& port)
{
    if (g_port.exchange(&port))
        return; // already watching
    // A low-level hook is called on the thread that installed it, which must
    // pump messages: it gets a thread of its own for the process's life.
    std::thread([] {
        HHOOK hook = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, GetModuleHandleW(nullptr), 0);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        if (hook)
            UnhookWindowsHookEx(hook);
    }).detach();
}
