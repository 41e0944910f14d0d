// Benchmark of the information dialogs and the update dialog under Wine, in
// this process, over virtual frames:
//  1. the update dialog's transfer of the largest dialog file (262144 bytes:
//     256 records of 1022 bytes) to one virtual frame that answers each
//     report after D ms, from the dialog's creation to its finish request,
//     against the protocol's floor: one answer delay per report answered
//     (entering update mode and every frame). D = 0 gives the cost of the
//     machinery alone, per frame.
//  2. Properties (Enter on the list) and About (its button): from the key or
//     the click being handled to the box's first WM_PAINT, median of 5.
// Run by tools/bench-info-dialogs.

#include "BenchFigures.h"
#include "FirmwareMaker.h"
#include "MainDialogRig.h"
#include "Stopwatch.h"
#include "update/UpdateDlg_win32.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

// The transfer's time, creation to finish, and the reports answered.
// With `logged`, the frames and replies go to Main.Log in the current folder, as in the program.
bool TimeTransfer(unsigned answerDelayMs, bool logged, const std::vector<std::uint8_t>& payload, double& ms,
                  int& answered)
{
    SimScenario scenario = MakeCountedScenario(1);
    scenario.frames[0].answerDelayMs = answerDelayMs;
    CDeviceRig rig;
    rig.StartDevices(scenario);
    answered = 0;
    RequestPoster post = rig.Poster();
    UpdateServices services{*rig.devices,
                            [&](std::unique_ptr<DeviceRequest> request) {
                                answered += request->report[0] != 0x31 || request->report[2] != 'c';
                                return post(std::move(request));
                            },
                            [&](FirmwareImage& image) {
                                image.bytes = payload;
                                return true;
                            },
                            logged ? LogWriter{} : LogWriter([](std::wstring_view) {})};
    CUpdate update(std::move(services));
    CStopwatch watch;
    if (!update.Create(nullptr))
        return false;
    update.ShowWindow(SW_SHOWNORMAL);
    const bool finished =
        PumpUntil([&] { return update.Panel().CurrentStage() != CUpdatePanel::Stage::Transferring; }, 600000);
    ms = watch.Milliseconds();
    return finished && update.Panel().CurrentStage() == CUpdatePanel::Stage::Finished;
}

// Pressed to shown: from `press` to the first WM_PAINT of a dialog the main
// dialog owns being taken from the queue (the box is up and starts to draw
// itself); the box is then closed.
LARGE_INTEGER g_shownAt;
HWND g_owner;
HHOOK g_hook;
LRESULT CALLBACK OnMessageTaken(int code, WPARAM removed, LPARAM lParam)
{
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && removed == PM_REMOVE && msg->message == WM_PAINT && g_shownAt.QuadPart == 0 &&
        GetWindow(msg->hwnd, GW_OWNER) == g_owner) {
        wchar_t name[16] = {};
        GetClassNameW(msg->hwnd, name, 16);
        if (std::wstring(name) == L"#32770") {
            g_shownAt = CStopwatch::Now();
            PostMessageW(msg->hwnd, WM_COMMAND, IDOK, 0);
        }
    }
    return CallNextHookEx(g_hook, code, removed, lParam);
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IONBF, 0);

    // 1. The transfer. Delays come from the command line (default 0 and 20).
    std::vector<unsigned> delays;
    for (int i = 1; i < argc; ++i)
        delays.push_back(unsigned(std::atoi(argv[i])));
    if (delays.empty())
        delays = {0, 20};
    const std::vector<std::uint8_t> payload = MakeRecordSequence(*FillRecords(262144, 1022, 1));
    std::printf("update dialog, %zu bytes (256 records of 1022 bytes) to one virtual frame:\n", payload.size());
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    SetCurrentDirectoryW(temp); // Main.Log goes there
    for (unsigned delay : delays) {
        for (bool logged : {true, false}) {
            if (!logged && delay != 0)
                continue; // the machinery without the log, once
            DeleteFileW(L"Main.Log");
            double ms = 0;
            int answered = 0;
            if (!TimeTransfer(delay, logged, payload, ms, answered)) {
                std::printf("  answer delay %u ms: the transfer did not finish\n", delay);
                return 1;
            }
            const double floor = double(answered) * delay;
            std::printf("  answer delay %2u ms, %s: %d reports answered, %.0f ms; floor %.0f ms", delay,
                        logged ? "Main.Log written" : "no log", answered, ms, floor);
            if (delay > 0)
                std::printf(", %+.2f %% over it", (ms / floor - 1) * 100);
            std::printf("; %.3f ms a report beyond the delay\n", (ms - floor) / answered);
        }
    }
    DeleteFileW(L"Main.Log");

    // 2. Properties and About, pressed to shown.
    CMainDialogRig<> rig;
    rig.Start(MakeCountedScenario(1));
    if (!rig.Open())
        return 1;
    COvamerDlg& dialog = *rig.dialog;
    g_owner = dialog;
    // A box that never paints is closed after 5 s rather than hang the run.
    UINT_PTR guard = SetTimer(nullptr, 0, 5000, [](HWND, UINT, UINT_PTR, DWORD) {
        for (HWND box = FindWindowW(L"#32770", nullptr); box; box = FindWindowExW(nullptr, box, L"#32770", nullptr))
            if (GetWindow(box, GW_OWNER) == g_owner)
                PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    g_hook = SetWindowsHookExW(WH_GETMESSAGE, OnMessageTaken, nullptr, GetCurrentThreadId());
    HWND list = dialog.GetDlgItem(IDC_TOUCHSCREEN_LIST);
    struct Press {
        const char* what;
        std::function<void()> press;
    };
    const Press presses[] = {
        {"Properties (Enter on the list)",
         [&] {
             SetFocus(list);
             MSG msg{list, WM_KEYDOWN, VK_RETURN, 0x001C0001, 0, {0, 0}};
             if (!CDialog::RouteMessage(msg))
                 DispatchMessageW(&msg);
         }},
        {"About (its button)", [&] { dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_ABOUT, BN_CLICKED), 0); }},
    };
    for (const Press& press : presses) {
        std::vector<double> runs;
        for (int run = 0; run < 5; ++run) {
            g_shownAt.QuadPart = 0;
            CStopwatch watch;
            press.press(); // returns when the modal box was closed
            if (g_shownAt.QuadPart == 0) {
                std::printf("  %s: not shown\n", press.what);
                return 1;
            }
            runs.push_back(watch.MillisecondsTo(g_shownAt));
            PumpUntil([] { return false; }, 100);
        }
        std::printf("%s, pressed to first WM_PAINT: median %.1f ms (runs:", press.what, Median(runs));
        for (double ms : runs)
            std::printf(" %.1f", ms);
        std::printf(")\n");
    }
    UnhookWindowsHookEx(g_hook);
    KillTimer(nullptr, guard);
    return 0;
}
