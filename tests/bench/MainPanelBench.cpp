// Benchmark of the main dialog's start-up query without a window: the time
// from opening to the list being ready with 1, 4 and 16 virtual frames,
// against the pauses the query must make (200 + 20 + 20 + 20 ms per
// touchscreen, and 80 ms before each of its three guarded commands; the
// touchscreens are asked side by side, so one touchscreen's pauses are the
// floor for any number), and against one frame's time; then the mapping
// save into every frame against its pauses (100 ms, and 80 ms before the
// guarded write). Last, 16 frames calibrated on a 1280 x 1024 monitor now
// listed on a 1920 x 1080 one: the start-up with and without the re-fit of
// every record, and the list's step after the query that runs it.
// Run by tools/bench-panel (a release build without sanitizers).

#include "../native/MainPanelRouting.h"
#include "../native/SimEngine.h"
#include "app/ConsoleMailbox.h"
#include "app/MainPanel.h"
#include "calibration/CalibrationResult.h"
#include "config/DeviceKey.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/MemoryRegistry.h"
#include "platform/Messages.h"
#include "platform/Platform.h"
#include "tests/support/CalibratedRecord.h"

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
    double startup = -1;   // opening to list ready
    double save = -1;      // the mapping closed to the list shown again
    double listAfter = -1; // the list's step after the query (the re-fit included)
};

enum class Display { Unchanged, ChangedAndRefitted, ChangedNoRefit };

// Stores each touchscreen's record as a calibration over a 1280 x 1024 monitor stores it.
void StoreCalibratedOn1280(CDeviceManager& devices, IConfigurationLibrary& configuration)
{
    for (unsigned slot = 0; slot < devices.Count(); ++slot) {
        std::wstring name;
        devices.WithRecord(slot, [&](const TouchScreenRecord& record) { name = record.deviceObjectName; });
        configuration.SetDeviceConfig(
            DeviceKeyFromObjectName(name),
            RecordCalibratedOn(1280, 1024, {{{300, 310}, {3800, 305}, {290, 3790}, {3810, 3795}}},
                               static_cast<std::int32_t>(slot)));
    }
}

Seconds PanelSeconds(unsigned frames, Display display = Display::Unchanged)
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
    MainPanelServices panelServices{engine.devices, engine.state,  engine.port,  queue,
                                    post,           engine.system, configuration};
    if (display != Display::Unchanged) {
        engine.monitors.monitors = {{0, 0, 1920, 1080}};
        engine.devices.RefreshMonitors();
        StoreCalibratedOn1280(engine.devices, configuration);
    }
    if (display == Display::ChangedAndRefitted)
        panelServices.refit = MakeMainPanelRefit(RefitServices{engine.devices, configuration, registry, {}, {}});
    CMainPanel panel(panelServices, view);

    auto time = [](const auto& from) { return std::chrono::duration<double>(Clock::now() - from).count(); };
    Seconds result;
    auto pumpUntilReady = [&] {
        view.ready = false;
        for (auto end = Clock::now() + 60s; !view.ready && Clock::now() < end;) {
            auto m = queue.Take(50ms);
            if (!m)
                continue;
            const auto step = Clock::now();
            if (!RouteToMainPanel(panel, *m))
                CConsoleMailbox::Free(*m);
            else if (m->message == WM_PANEL_REFRESH_LIST)
                result.listAfter = time(step);
        }
        return view.ready && view.items == frames;
    };
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

    std::printf("16 frames calibrated on 1280 x 1024, listed on 1920 x 1080, median of 5 runs:\n");
    for (Display display : {Display::ChangedNoRefit, Display::ChangedAndRefitted}) {
        std::vector<double> startups, steps;
        for (int i = 0; i < 5; ++i) {
            const Seconds run = PanelSeconds(16, display);
            startups.push_back(run.startup);
            steps.push_back(run.listAfter);
        }
        std::sort(startups.begin(), startups.end());
        std::sort(steps.begin(), steps.end());
        std::printf("  %s: list ready after %.3f s (min %.3f, max %.3f); the list's step after the query %.2f ms "
                    "(min %.2f, max %.2f)\n",
                    display == Display::ChangedAndRefitted ? "with the re-fit   " : "without the re-fit", startups[2],
                    startups[0], startups[4], 1000 * steps[2], 1000 * steps[0], 1000 * steps[4]);
    }
}
