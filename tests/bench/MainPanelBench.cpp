// Benchmark of the main dialog's start-up query without a window: the time
// from opening to the list being ready with 1, 4 and 16 virtual frames,
// against the pauses the query must make (200 + 20 + 20 + 20 ms per
// touchscreen, and 80 ms before each of its three guarded commands; the
// touchscreens are asked side by side, so one touchscreen's pauses are the
// floor for any number), and against one frame's time; then the mapping
// save into every frame against its pauses (100 ms, and 80 ms before the
// guarded write).
// Run by tools/bench-panel (a release build without sanitizers).

#include "../native/MainPanelRouting.h"
#include "../native/SimEngine.h"
#include "app/ConsoleMailbox.h"
#include "app/MainPanel.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/MemoryRegistry.h"
#include "platform/Messages.h"
#include "platform/Platform.h"

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
    SimEngine engine(MakeCountedScenario(frames), queue);
    CReadyView view;
    auto post = [&](std::unique_ptr<DeviceRequest> r) { return engine.thread.PostRequest(std::move(r)); };
    CSarnetLibrary configuration;
    CMainPanel panel(
        MainPanelServices{engine.devices, engine.state, engine.port, queue, post, engine.system, configuration}, view);

    auto pumpUntilReady = [&] {
        view.ready = false;
        for (auto end = Clock::now() + 60s; !view.ready && Clock::now() < end;) {
            if (auto m = queue.Take(50ms); m && !RouteToMainPanel(panel, *m))
                CConsoleMailbox::Free(*m);
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
        for (unsigned slot = 0; slot < frames; ++slot) {
            engine.devices.SetMapping(slot, {engine.devices.HandleOf(slot), 0, static_cast<std::int32_t>(slot)});
            engine.devices.WithRecord(slot, [](TouchScreenRecord& record) { record.boundInMapping = true; });
        }
        start = Clock::now();
        panel.OnMappingClosed();
        if (pumpUntilReady())
            result.save = time(start);
    }
    panel.Close();
    engine.thread.Stop();
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
