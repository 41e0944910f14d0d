// Benchmark of the Settings dialog under Wine, in this process, over
// Sarnet.dll, Wine's registry and the Win32 mouse settings:
//  1. opening: from the Settings command's start (the dialog object made)
//     to the dialog shown and painted with every control set;
//     against the floor: the bare template created, shown and painted by the
//     system's dialog procedure alone (no code of ours);
//  2. Apply: the driver record, the double-click settings, the 15 cursor
//     values (hidden and shown in turn) and the cursor reload.
// Each is run 20 times; the median and the largest are printed.
// Run by tools/bench-settings.

#include "BenchFigures.h"
#include "BinFolder.h"
#include "DialogPump.h"
#include "Stopwatch.h"
#include "config/Basicprop_win32.h"
#include "config/SystemMouseSettings.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/Platform.h"
#include "platform/Profile_win32.h"
#include "platform/Registry_win32.h"
#include "platform/SystemMouse_win32.h"
#include "platform/System_win32.h"
#include "res/resource.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

void Report(const char* what, std::vector<double> times)
{
    std::printf("%s: median %.1f ms, largest %.1f ms (%zu runs)\n", what, Median(times),
                *std::max_element(times.begin(), times.end()), times.size());
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    CWin32Profile profile;
    CBinFolderSystem system;
    CWin32Registry registry;
    CWin32SystemMouse mouse;
    CSarnetLibrary configuration;
    PlatformServices services;
    services.profile = &profile;
    services.system = &system;
    services.registry = &registry;
    services.mouse = &mouse;
    SetPlatform(services);

    DriverConfig record{2, 1, 1, 2000, 8, 1, 50, 1, 200, 0, 1, 0, 2, 3000, 40, 1, 500, 12};
    configuration.SetDriverConfig(record);

    constexpr int kRuns = 20;
    std::vector<double> bare, opening, applying;
    for (int run = 0; run < kRuns; ++run) {
        CStopwatch watch;
        HWND window = CreateDialogParamW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr,
            [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
        ShowWindow(window, SW_SHOW);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        bare.push_back(watch.Milliseconds());
        DestroyWindow(window);
        PumpFor(0);
    }
    for (int run = 0; run < kRuns; ++run) {
        CStopwatch watch;
        CBasicprop dialog(SettingsPanelServices{configuration, mouse, registry});
        if (!dialog.Create()) {
            std::printf("the Settings dialog could not be created\n");
            return 1;
        }
        dialog.ShowWindow(SW_SHOW);
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        opening.push_back(watch.Milliseconds());
        PumpFor(0);

        SendMessageW(dialog.GetDlgItem(IDC_HIDE_CURSOR), BM_CLICK, 0, 0); // a change: Apply enabled
        watch.Restart();
        SendMessageW(dialog.GetDlgItem(IDC_APPLY), BM_CLICK, 0, 0);
        applying.push_back(watch.Milliseconds());
        if (dialog.IsDlgItemEnabled(IDC_APPLY)) {
            std::printf("Apply did not store the record\n");
            return 1;
        }
        dialog.EndDialog(IDCANCEL);
        PumpFor(0);
    }
    Report("Settings opened, every control set and painted", opening);
    Report("  floor: the bare template created, shown and painted", bare);
    Report("Apply (driver record, mouse values, 15 cursor values, reload)", applying);
    // Leave the user's scheme as it was before the benchmark.
    record.HideCursor = 0;
    ApplySystemMouseSettings(record, mouse, registry);
    return 0;
}
