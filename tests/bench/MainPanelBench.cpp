// Benchmark of the main dialog's start-up query without a window: the time
// from opening to the list being ready with 1, 4 and 16 virtual frames,
// against the pauses the query must make (200 + 20 + 20 + 20 ms per
// touchscreen, and 80 ms before each of its three guarded commands; the
// touchscreens are asked side by side, so one touchscreen's pauses are the
// floor for any number), and against one frame's time; then the mapping
// save into every frame against its pauses (100 ms, and 80 ms before the
// guarded write).
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
#include <vector>

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

namespace {

class CReadyView : public IMainPanelView {
public:
    void ShowTouchScreens(const std::vector<TouchScreenListItem>& shown, int) override { items = shown.size(); }
    void EnableActions(const MainActions&) override {}
    void ListReady() override { ready = true; }
    std::size_t items = 0;
    bool ready = false;
};

struct Seconds {
    double startup = -1; // opening to list ready
    double save = -1;    // the mapping closed to the list shown again
};

Seconds PanelSeconds(unsigned frames)
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

    auto pumpUntilReady = [&] {
        view.ready = false;
        for (auto end = Clock::now() + 60s; !view.ready && Clock::now() < end;) {
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
            case WM_NUMBER_WRITE_REPLY:
                panel.OnNumberWriteReply(std::move(reply));
                break;
            case WM_PANEL_REFRESH_LIST:
                panel.RefreshList();
                break;
            default:
                break;
            }
        }
        return view.ready && view.items == frames;
    };
    auto time = [](const auto& from) { return std::chrono::duration<double>(Clock::now() - from).count(); };
    Seconds result;
    auto start = Clock::now();
    panel.Open(queue.Window());
    if (pumpUntilReady()) {
        result.startup = time(start);
        // Every touchscreen bound to monitor 0, as the mapping dialog leaves them.
        for (unsigned slot = 0; slot < frames; ++slot)
            devices.SetMapping(slot, {devices.HandleOf(slot), 0, static_cast<std::int32_t>(slot)});
        start = Clock::now();
        panel.OnMappingClosed();
        if (pumpUntilReady())
            result.save = time(start);
    }
    panel.Close();
    thread.Stop();
    SetPlatform(PlatformServices{});
    return result;
}

void Print(const char* what, unsigned frames, std::vector<double> runs, double mandated, double& one)
{
    std::sort(runs.begin(), runs.end());
    if (runs.front() < 0) {
        std::printf("  %2u frame(s): %s did not end\n", frames, what);
        return;
    }
    if (frames == 1)
        one = runs[1];
    std::printf("  %2u frame(s), %s: %.3f s (min %.3f, max %.3f) against %.3f s mandated: %+.1f %%; %.2f x one frame\n",
                frames, what, runs[1], runs[0], runs[2], mandated, 100.0 * (runs[1] - mandated) / mandated,
                runs[1] / one);
}

} // namespace

int main()
{
    std::printf("start-up query to list ready, and the mapping save, portable panel (native), median of 3 runs:\n");
    double oneStartup = 0, oneSave = 0;
    for (unsigned frames : {1u, 4u, 16u}) {
        std::vector<double> startups, saves;
        for (int i = 0; i < 3; ++i) {
            const Seconds run = PanelSeconds(frames);
            startups.push_back(run.startup);
            saves.push_back(run.save);
        }
        // (200 + 20 + 20 + 20 + 3 x 80) ms and (100 + 80) ms: every touchscreen at once.
        Print("list ready", frames, startups, 0.5, oneStartup);
        Print("mapping save", frames, saves, 0.18, oneSave);
    }
}
