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

std::wstring BinFolder()
{
    std::wstring path = ModulePath(nullptr);
    path = path.substr(0, path.find_last_of(L'\\')); // .../bench
    return path.substr(0, path.find_last_of(L'\\')) + L"\\bin";
}

class CBinFolderSystem : public CWin32System {
public:
    std::wstring ProgramFolder() override { return BinFolder(); }
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!CDialog::RouteMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
}

void Report(const char* what, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%s: median %.1f ms, largest %.1f ms (%zu runs)\n", what, times[times.size() / 2], times.back(),
                times.size());
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
        LARGE_INTEGER start = Now();
        HWND window = CreateDialogParamW(
            GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_SETTINGS), nullptr,
            [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
        ShowWindow(window, SW_SHOW);
        RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        bare.push_back(Milliseconds(start, Now()));
        DestroyWindow(window);
        Pump();
    }
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER start = Now();
        CBasicprop dialog(SettingsPanelServices{configuration, mouse, registry});
        if (!dialog.Create()) {
            std::printf("the Settings dialog could not be created\n");
            return 1;
        }
        dialog.ShowWindow(SW_SHOW);
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        opening.push_back(Milliseconds(start, Now()));
        Pump();

        SendMessageW(dialog.GetDlgItem(IDC_HIDE_CURSOR), BM_CLICK, 0, 0); // a change: Apply enabled
        start = Now();
        SendMessageW(dialog.GetDlgItem(IDC_APPLY), BM_CLICK, 0, 0);
        applying.push_back(Milliseconds(start, Now()));
        if (dialog.IsDlgItemEnabled(IDC_APPLY)) {
            std::printf("Apply did not store the record\n");
            return 1;
        }
        dialog.EndDialog(IDCANCEL);
        Pump();
    }
    Report("Settings opened, every control set and painted", opening);
    Report("  floor: the bare template created, shown and painted", bare);
    Report("Apply (driver record, mouse values, 15 cursor values, reload)", applying);
    // Leave the user's scheme as it was before the benchmark.
    record.HideCursor = 0;
    ApplySystemMouseSettings(record, mouse, registry);
    return 0;
}
