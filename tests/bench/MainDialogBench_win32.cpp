// Benchmark of the main dialog under Wine:
//  1. in this process, the real dialog over 1, 4 and 16 virtual frames: the
//     time from creating it to its list being ready (median of 3 runs),
//     against the pauses the start-up query must make (500 ms a touchscreen);
//  2. PelnoCpl.exe started with 1, 4 and 16 virtual frames: the time from
//     starting the process to its list holding every touchscreen;
//  3. PelnoCpl.exe with 4 virtual frames, its list ready, left alone for 30 s
//     between two marks on standard output (tools/bench-panel measures the
//     CPU it uses meanwhile);
//  4. the real dialog in this process over 16 frames calibrated on a
//     1280 x 1024 monitor and listed on a 1920 x 1080 one, with and without
//     the re-fit at start, and the re-fit of the 16 records alone.
// Run by tools/bench-panel.

#include "MainDialogRig.h"
#include "ProgramRunner.h"
#include "Stopwatch.h"
#include "calibration/CalibrationResult.h"
#include "config/DeviceKey.h"
#include "platform/Registry_win32.h"
#include "tests/support/CalibratedRecord.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The real dialog in this process: creation to list ready, in seconds.
double InProcessStartup(unsigned frames)
{
    CMainDialogRig<> rig;
    rig.Start(MakeCountedScenario(frames));
    CStopwatch watch;
    if (!rig.dialog->Create())
        return -1;
    rig.dialog->ShowWindow(SW_SHOW);
    return PumpUntil([&] { return rig.dialog->Panel().ListIsReady(); }, 60000) ? watch.Seconds() : -1;
}

// Stores every touchscreen's record as a calibration over a 1280 x 1024 monitor does.
void StoreCalibratedOn1280(CDeviceRig& rig)
{
    for (unsigned slot = 0; slot < rig.devices->Count(); ++slot) {
        std::wstring name;
        rig.devices->WithRecord(slot, [&](const TouchScreenRecord& record) { name = record.deviceObjectName; });
        rig.configuration.SetDeviceConfig(
            DeviceKeyFromObjectName(name),
            RecordCalibratedOn(1280, 1024, {{{512, 810}, {3584, 810}, {512, 2862}, {3584, 2862}}},
                               static_cast<std::int32_t>(slot)));
    }
}

// The real dialog over 16 such frames on a 1920 x 1080 monitor: creation to
// list ready with or without the re-fit; with it, then the re-fit of the 16
// records (stored again as on 1280 x 1024) alone. Seconds, -1 on failure.
std::pair<double, double> RefitStartup(bool refit)
{
    CMainDialogRig<> rig;
    CWin32Registry registry;
    rig.monitors.monitors = {{0, 0, 1920, 1080}};
    rig.StartDevices(MakeCountedScenario(16));
    StoreCalibratedOn1280(rig);
    MainPanelServices services = rig.Services();
    if (refit)
        services.refit = MakeMainPanelRefit({*rig.devices, rig.configuration, registry, {}, {}});
    rig.dialog = std::make_unique<COvamerDlg>(services);
    CStopwatch watch;
    if (!rig.dialog->Create() || !PumpUntil([&] { return rig.dialog->Panel().ListIsReady(); }, 60000))
        return {-1, -1};
    const double startup = watch.Seconds();
    if (!refit)
        return {startup, 0};
    StoreCalibratedOn1280(rig);
    CStopwatch alone;
    services.refit.run();
    return {startup, alone.Seconds()};
}

// Starts PelnoCpl.exe with virtual frames; waits (60 s at most) for its list
// to hold them all. Returns the seconds that took, or -1.
double LaunchUntilListed(unsigned frames, ProgramRun& run, HWND& list)
{
    LaunchOptions options;
    options.environment = {{L"PELNOCPL_SIMULATE", std::to_wstring(frames)}};
    CStopwatch watch;
    if (!Launch(options, run))
        return -1;
    for (DWORD begun = GetTickCount(); GetTickCount() - begun < 60000; Sleep(5)) {
        if (!list)
            if (HWND window = FindWindowW(L"#32770", L"TouchScreen Control Panel"))
                list = GetDlgItem(window, IDC_TOUCHSCREEN_LIST);
        if (list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == static_cast<LRESULT>(frames))
            return watch.Seconds();
    }
    return -1;
}

// Closes the program's dialog and waits (10 s at most) for the program to end.
void Close(ProgramRun& run, HWND list)
{
    if (list)
        PostMessageW(GetParent(list), WM_CLOSE, 0, 0);
    run.Wait(10000);
}

} // namespace

int main()
{
    std::printf("main dialog in process, creation to list ready, median of 3 runs:\n");
    for (unsigned frames : {1u, 4u, 16u}) {
        std::vector<double> runs;
        for (int i = 0; i < 3; ++i)
            runs.push_back(InProcessStartup(frames));
        std::sort(runs.begin(), runs.end());
        const double mandated = 0.5; // one touchscreen's pauses: all are asked at once
        if (runs.front() < 0)
            std::printf("  %2u frame(s): the list was not ready\n", frames);
        else
            std::printf("  %2u frame(s): %.3f s (min %.3f, max %.3f) against %.3f s mandated: %+.1f %%\n", frames,
                        runs[1], runs[0], runs[2], mandated, 100.0 * (runs[1] - mandated) / mandated);
        std::fflush(stdout);
    }

    std::printf("16 frames calibrated on 1280 x 1024 listed on 1920 x 1080, in process, median of 5 runs:\n");
    for (bool refit : {false, true}) {
        std::vector<double> startups, alone;
        for (int i = 0; i < 5; ++i) {
            const auto [startup, refitAlone] = RefitStartup(refit);
            startups.push_back(startup);
            alone.push_back(refitAlone);
        }
        std::sort(startups.begin(), startups.end());
        std::sort(alone.begin(), alone.end());
        std::printf("  %s: creation to list ready %.3f s (min %.3f, max %.3f)", refit ? "with the re-fit" : "without",
                    startups[2], startups[0], startups[4]);
        if (refit)
            std::printf("; the re-fit of the 16 records alone %.1f ms (min %.1f, max %.1f)", 1000 * alone[2],
                        1000 * alone[0], 1000 * alone[4]);
        std::printf("\n");
        std::fflush(stdout);
    }

    std::printf("PelnoCpl.exe, process start to every touchscreen listed:\n");
    for (unsigned frames : {1u, 4u, 16u}) {
        ProgramRun run;
        HWND list = nullptr;
        double seconds = LaunchUntilListed(frames, run, list);
        Close(run, list);
        if (seconds < 0)
            std::printf("  %2u frame(s): the list was not filled\n", frames);
        else
            std::printf("  %2u frame(s): %.3f s (%.3f s of it mandated pauses)\n", frames, seconds, 0.5);
        std::fflush(stdout);
    }

    ProgramRun run;
    HWND list = nullptr;
    if (LaunchUntilListed(4, run, list) < 0) {
        std::printf("idle CPU: the program did not list its 4 touchscreens\n");
        return 1;
    }
    Sleep(1000); // the last paint and the cursor change
    // tools/bench-panel reads the process's CPU time from /proc between the
    // two marks (GetProcessTimes of another process gives 0 under Wine).
    std::printf("IDLE-BEGIN\n");
    std::fflush(stdout);
    Sleep(30000);
    std::printf("IDLE-END\n");
    std::fflush(stdout);
    Close(run, list);
    return 0;
}
