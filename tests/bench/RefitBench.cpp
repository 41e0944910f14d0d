// Benchmark of the re-fit of 16 calibrated touchscreens (RefitCalibrations):
// with the display as it was calibrated (every record already right: what
// each start costs) and after the screen changed between 1280 x 1024 and
// 1920 x 1080 (every record re-fitted, stored and its display kept). Natively
// over the in-memory registry; under Wine over Sarnet.dll and Wine's registry.
// Run by tools/bench-refit.

#include "../native/SimEngine.h"
#include "app/ConsoleMailbox.h"
#include "calibration/ApplyCalibration.h"
#include "calibration/CalibrationRefit.h"
#include "config/DeviceKey.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/Platform.h"

#ifdef _WIN32
#include "config/ParameterPaths.h"
#include "platform/Registry_win32.h"
#else
#include "platform/MemoryRegistry.h"
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr unsigned kTouchScreens = 16;
constexpr int kRuns = 21;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
#ifdef _WIN32
    CWin32Registry registry;
#else
    CMemoryRegistry registry;
    PlatformServices platform;
    platform.registry = &registry; // Sarnet's store
    SetPlatform(platform);
#endif
    CConsoleMailbox windows;
    SimEngine engine(MakeCountedScenario(kTouchScreens), windows, false);
    CSarnetLibrary configuration;
    const std::vector<DeviceHandle> identities = engine.devices.Identities();
    engine.monitors.monitors = {{0, 0, 1280, 1024}};
    engine.devices.RefreshMonitors();
    for (unsigned slot = 0; slot < kTouchScreens; ++slot) {
        engine.devices.WithRecord(slot, [&](TouchScreenRecord& r) { r.touchScreenNumber = static_cast<int>(slot); });
        engine.devices.SetMapping(slot, {identities[slot], 0, static_cast<std::int32_t>(slot)});
        const std::array<RawTouchPoint, 4> points{{{300, 400}, {3800, 410}, {310, 3700}, {3790, 3690}}};
        ApplyCalibration({engine.devices, configuration, &registry}, {slot, identities[slot]}, points,
                         {0, 0, 1280, 1024}, {1280, 1024}, 0, ClickModeAfterStore::Keep);
    }
    const RefitServices services{engine.devices, configuration, registry, {}, {}};
    auto timeOne = [&](RefitState expected) {
        const auto start = std::chrono::steady_clock::now();
        const std::vector<RefitOutcome> outcomes = RefitCalibrations(services);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        const bool all =
            std::all_of(outcomes.begin(), outcomes.end(), [&](const RefitOutcome& o) { return o.state == expected; });
        return all && outcomes.size() == kTouchScreens ? ms : -1.0;
    };
    std::vector<double> unchanged, changed;
    for (int run = 0; run < kRuns; ++run) {
        unchanged.push_back(timeOne(RefitState::AlreadyRight));
        engine.monitors.monitors = {{0, 0, run % 2 ? 1280 : 1920, run % 2 ? 1024 : 1080}};
        changed.push_back(timeOne(RefitState::Refitted));
    }
    const bool valid = *std::min_element(unchanged.begin(), unchanged.end()) >= 0 &&
                       *std::min_element(changed.begin(), changed.end()) >= 0;
    std::printf("re-fit of %u calibrated touchscreens, median of %d runs%s:\n", kTouchScreens, kRuns,
#ifdef _WIN32
                " (Sarnet.dll, Wine's registry)"
#else
                " (in memory)"
#endif
    );
    std::printf("  display as calibrated (all already right): %.3f ms\n", Median(unchanged));
    std::printf("  screen changed (all re-fitted and stored): %.3f ms\n", Median(changed));
#ifdef _WIN32
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kDeviceParametersPath);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kCalibratedDisplaysPath);
#endif
    if (!valid)
        std::printf("  FAILED: an outcome was not the one expected\n");
    return valid ? 0 : 1;
}
