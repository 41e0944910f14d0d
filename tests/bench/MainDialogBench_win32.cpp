// Benchmark of the main dialog under Wine:
//  1. in this process, the real dialog over 1, 4 and 16 virtual frames: the
//     time from creating it to its list being ready (median of 3 runs),
//     against the pauses the start-up query must make (500 ms a touchscreen);
//  2. PelnoCpl.exe started with 1, 4 and 16 virtual frames: the time from
//     starting the process to its list holding every touchscreen;
//  3. PelnoCpl.exe with 4 virtual frames, its list ready, left alone for 30 s
//     between two marks on standard output (tools/bench-panel measures the
//     CPU it uses meanwhile).
// Run by tools/bench-panel.

#include "app/OvamerDlg_win32.h"
#include "device/DeviceManager.h"
#include "device/DeviceThread.h"
#include "device/ProtocolState.h"
#include "libs/sarnet/SarnetLibrary.h"
#include "platform/Monitors.h"
#include "platform/Platform.h"
#include "platform/Profile_win32.h"
#include "platform/System_win32.h"
#include "platform/WindowMessenger_win32.h"
#include "res/resource.h"
#include "sim/SimHidPort.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The folder of this executable's build tree's runnable tree (build/windows/bin).
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

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

LARGE_INTEGER Now()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

// The real dialog in this process: creation to list ready, in seconds.
double InProcessStartup(unsigned frames)
{
    CWin32Profile profile;
    CBinFolderSystem system;
    CWin32Messenger messenger;
    CFixedMonitors monitors;
    PlatformServices services;
    services.profile = &profile;
    services.system = &system;
    services.messenger = &messenger;
    SetPlatform(services);
    CSimHidPort port(MakeCountedScenario(frames), &messenger);
    CDeviceManager devices(port, monitors, messenger);
    CProtocolState state;
    CDeviceThread thread(port, messenger, devices, state, system);
    thread.Start();
    CSarnetLibrary configuration;
    double seconds = -1;
    {
        COvamerDlg dialog(MainPanelServices{
            devices, state, port, messenger,
            [&](std::unique_ptr<DeviceRequest> r) { return thread.PostRequest(std::move(r)); }, system, configuration});
        const LARGE_INTEGER start = Now();
        if (dialog.Create()) {
            dialog.ShowWindow(SW_SHOW);
            for (DWORD begun = GetTickCount(); !dialog.Panel().ListIsReady() && GetTickCount() - begun < 60000;) {
                MSG msg;
                while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                    if (!CDialog::RouteMessage(msg)) {
                        TranslateMessage(&msg);
                        DispatchMessageW(&msg);
                    }
                if (!dialog.Panel().ListIsReady())
                    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            }
            if (dialog.Panel().ListIsReady())
                seconds = Seconds(start, Now());
        }
    }
    thread.Stop();
    SetPlatform(PlatformServices{});
    return seconds;
}

struct Launched {
    PROCESS_INFORMATION process{};
    HWND list = nullptr;
    ~Launched()
    {
        if (process.hProcess) {
            if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT)
                TerminateProcess(process.hProcess, 99);
            CloseHandle(process.hProcess);
            CloseHandle(process.hThread);
        }
    }
};

// Starts PelnoCpl.exe with virtual frames; waits (60 s at most) for its list
// to hold them all. Returns the seconds that took, or -1.
double LaunchUntilListed(unsigned frames, Launched& run)
{
    SetEnvironmentVariableW(L"PELNOCPL_SIMULATE", std::to_wstring(frames).c_str());
    std::wstring program = BinFolder() + L"\\PelnoCpl.exe";
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    const LARGE_INTEGER start = Now();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &run.process))
        return -1;
    for (DWORD begun = GetTickCount(); GetTickCount() - begun < 60000; Sleep(5)) {
        if (!run.list)
            if (HWND window = FindWindowW(L"#32770", L"TouchScreen Control Panel"))
                run.list = GetDlgItem(window, IDC_TOUCHSCREEN_LIST);
        if (run.list && SendMessageW(run.list, LVM_GETITEMCOUNT, 0, 0) == static_cast<LRESULT>(frames))
            return Seconds(start, Now());
    }
    return -1;
}

void Close(Launched& run)
{
    if (run.list)
        PostMessageW(GetParent(run.list), WM_CLOSE, 0, 0);
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);

    std::printf("main dialog in process, creation to list ready, median of 3 runs:\n");
    for (unsigned frames : {1u, 4u, 16u}) {
        std::vector<double> runs;
        for (int i = 0; i < 3; ++i)
            runs.push_back(InProcessStartup(frames));
        std::sort(runs.begin(), runs.end());
        const double mandated = 0.5 * frames;
        if (runs.front() < 0)
            std::printf("  %2u frame(s): the list was not ready\n", frames);
        else
            std::printf("  %2u frame(s): %.3f s (min %.3f, max %.3f) against %.3f s mandated: %+.1f %%\n", frames,
                        runs[1], runs[0], runs[2], mandated, 100.0 * (runs[1] - mandated) / mandated);
        std::fflush(stdout);
    }

    std::printf("PelnoCpl.exe, process start to every touchscreen listed:\n");
    for (unsigned frames : {1u, 4u, 16u}) {
        Launched run;
        double seconds = LaunchUntilListed(frames, run);
        Close(run);
        if (seconds < 0)
            std::printf("  %2u frame(s): the list was not filled\n", frames);
        else
            std::printf("  %2u frame(s): %.3f s (%.3f s of it mandated pauses)\n", frames, seconds, 0.5 * frames);
        std::fflush(stdout);
    }

    Launched run;
    if (LaunchUntilListed(4, run) < 0) {
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
    Close(run);
    return 0;
}
