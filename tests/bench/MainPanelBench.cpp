// Benchmark of the main dialog's start-up query without a window: the time
// from opening to the list being ready with 1, 4 and 16 virtual frames,
// against the pauses the query must make (200 + 20 + 20 + 20 ms per
// touchscreen, and 80 ms before each of its three guarded commands).
// Run by tools/bench-panel (a release build without sanitizers).

#include "app/MainPanel.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/MemoryRegistry.h"
#include "platform/Messages.h"
#include "platform/Monitors.h"
#include "platform/Platform.h"
#include "platform/System.h"
#include "platform/WindowMessenger.h"
#include "sim/SimHidPort.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <deque>
#include <mutex>

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

WindowHandle const kWindow = reinterpret_cast<WindowHandle>(0x10);

// The window's queue, played by the benchmark's main thread.
class CQueue : public IWindowMessenger {
public:
    struct Message {
        unsigned message;
        std::intptr_t lParam;
    };
    bool Post(WindowHandle, unsigned message, std::uintptr_t, std::intptr_t lParam) override
    {
        {
            std::lock_guard lock(m_mutex);
            m_queue.push_back({message, lParam});
        }
        m_changed.notify_one();
        return true;
    }
    void PostToOwnWindows(unsigned, std::uintptr_t, std::intptr_t) override {}
    void PostQuit(int) override {}
    bool Take(Message& m, std::chrono::milliseconds timeout)
    {
        std::unique_lock lock(m_mutex);
        if (!m_changed.wait_for(lock, timeout, [this] { return !m_queue.empty(); }))
            return false;
        m = m_queue.front();
        m_queue.pop_front();
        return true;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Message> m_queue;
};

class CReadyView : public IMainPanelView {
public:
    void ShowTouchScreens(const std::vector<TouchScreenListItem>& shown, int) override { items = shown.size(); }
    void EnableActions(const MainActions&) override {}
    void ListReady() override { ready = true; }
    std::size_t items = 0;
    bool ready = false;
};

double StartupSeconds(unsigned frames)
{
    CMemoryRegistry registry;
    PlatformServices services;
    services.registry = &registry;
    SetPlatform(services);
    CQueue queue;
    CSimHidPort port(MakeCountedScenario(frames), &queue);
    CFixedMonitors monitors;
    CDeviceManager devices(port, monitors, queue);
    CProtocolState state;
    CStandardSystem system;
    CDeviceThread thread(port, queue, devices, state, system);
    thread.Start();
    CReadyView view;
    auto post = [&](std::unique_ptr<DeviceRequest> r) { return thread.PostRequest(std::move(r)); };
    CSarnetLibrary configuration;
    CMainPanel panel(MainPanelServices{devices, state, port, queue, post, system, configuration}, view);

    const auto start = Clock::now();
    panel.Open(kWindow);
    for (auto end = start + 60s; !view.ready && Clock::now() < end;) {
        CQueue::Message m;
        if (!queue.Take(m, 50ms))
            continue;
        std::unique_ptr<DeviceReply> reply(reinterpret_cast<DeviceReply*>(m.lParam));
        switch (m.message) {
        case WM_OPENING_REPLY:
            panel.OnOpeningReply(std::move(reply));
            break;
        case WM_VERSION_REPLY:
            panel.OnVersionReply(std::move(reply));
            break;
        case WM_SERIAL_REPLY:
            panel.OnSerialReply(std::move(reply));
            break;
        case WM_NUMBER_READ_REPLY:
            panel.OnNumberReadReply(std::move(reply));
            break;
        case WM_PANEL_REFRESH_LIST:
            reply.release(); // carries no record
            panel.RefreshList();
            break;
        default:
            reply.release();
            break;
        }
    }
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    panel.Close();
    thread.Stop();
    SetPlatform(PlatformServices{});
    return view.ready && view.items == frames ? seconds : -1;
}

} // namespace

int main()
{
    std::printf("start-up query to list ready, portable panel (native), median of 3 runs:\n");
    for (unsigned frames : {1u, 4u, 16u}) {
        std::vector<double> runs;
        for (int i = 0; i < 3; ++i)
            runs.push_back(StartupSeconds(frames));
        std::sort(runs.begin(), runs.end());
        const double mandated = 0.5 * frames; // (200 + 20 + 20 + 20 + 3 x 80) ms each
        if (runs.front() < 0) {
            std::printf("  %2u frame(s): the list was not ready\n", frames);
            continue;
        }
        std::printf("  %2u frame(s): %.3f s (min %.3f, max %.3f) against %.3f s mandated: %+.1f %%\n", frames, runs[1],
                    runs[0], runs[2], mandated, 100.0 * (runs[1] - mandated) / mandated);
    }
}
