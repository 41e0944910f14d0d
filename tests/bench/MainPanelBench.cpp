// Benchmark of the main dialog's start-up query without a window: the time
// from opening to the list being ready with 1, 4 and 16 virtual frames,
// against the pauses the query must make (200 + 20 + 20 + 20 ms per
// touchscreen, and 80 ms before each of its three guarded commands).
// Run by tools/bench-panel (a release build without sanitizers).

#include "app/ConsoleMailbox.h"
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
#include "sim/SimHidPort.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

class CReadyView : public IMainPanelView {
public:
    void ShowTouchScreens(const std::vector<TouchScreenListItem>& shown, int) override { items = shown.size(); }
    void EnableActions(bool) override {}
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
    CConsoleMailbox queue; // the window, played by the benchmark's main thread
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
    panel.Open(queue.Window());
    for (auto end = start + 60s; !view.ready && Clock::now() < end;) {
        std::optional<CConsoleMailbox::Message> m = queue.Take(50ms);
        if (!m)
            continue;
        std::unique_ptr<DeviceReply> reply = CConsoleMailbox::TakeReply(*m);
        switch (m->message) {
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
            panel.RefreshList();
            break;
        default:
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
