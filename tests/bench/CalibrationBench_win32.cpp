// Benchmark of the calibration window under Wine, in this process with the
// real main dialog over one virtual frame:
//  1. touch to screen: from a touch report queued in the frame to the
//     calibration window having painted the next target (or the review),
//     200 touches in rounds of four with ReCalibrate between them;
//  2. Calibrate pressed to the first target painted (20 openings, each
//     ended with Esc).
// Run by tools/bench-calibration.

#include "app/OvamerDlg_win32.h"
#include "common/LanguageText.h"
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
#include <functional>
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

// Pumps as the program's loops do until done() holds (10 s at most).
bool PumpUntil(const std::function<bool()>& done)
{
    for (DWORD begun = GetTickCount(); GetTickCount() - begun < 10000;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (!CDialog::RouteMessage(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            if (done())
                return true;
        }
        if (done())
            return true;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
    return false;
}

bool Painted(HWND window) { return GetUpdateRect(window, nullptr, FALSE) == FALSE; }

double Percentile(std::vector<double> values, double p)
{
    std::sort(values.begin(), values.end());
    std::size_t index = static_cast<std::size_t>(p * double(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

void PrintFigures(const char* what, const std::vector<double>& ms)
{
    if (ms.empty()) {
        std::printf("%s: no measurement\n", what);
        return;
    }
    std::printf("%s: n=%zu median %.2f ms, p99 %.2f ms, max %.2f ms\n", what, ms.size(), Percentile(ms, 0.5),
                Percentile(ms, 0.99), *std::max_element(ms.begin(), ms.end()));
}

} // namespace

int main()
{
    INITCOMMONCONTROLSEX controls{sizeof controls, 0xFF};
    InitCommonControlsEx(&controls);
    CWin32Profile profile;
    CBinFolderSystem system;
    CWin32Messenger messenger;
    CFixedMonitors monitors;
    monitors.monitors = {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
    PlatformServices services;
    services.profile = &profile;
    services.system = &system;
    services.messenger = &messenger;
    SetPlatform(services);
    CSimHidPort port(MakeCountedScenario(1), &messenger);
    CDeviceManager devices(port, monitors, messenger);
    CProtocolState state;
    CDeviceThread thread(port, messenger, devices, state, system);
    thread.Start();
    CSarnetLibrary configuration;
    std::vector<double> touchToScreen, openToTarget, openHandler;
    std::vector<double> toNextTarget, toReview; // touches 1 to 3 of a round; the fourth stores and shows the review
    {
        COvamerDlg dialog(MainPanelServices{
            devices, state, port, messenger,
            [&](std::unique_ptr<DeviceRequest> r) { return thread.PostRequest(std::move(r)); }, system, configuration});
        if (!dialog.Create() ||
            (dialog.ShowWindow(SW_SHOW), !PumpUntil([&] { return dialog.Panel().ListIsReady(); }))) {
            std::printf("the main dialog did not get ready\n");
            return 1;
        }
        auto frame = port.FrameAt(0);
        auto press = [&](int id) {
            dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
        };

        for (int run = 0; run < 20; ++run) {
            const LARGE_INTEGER start = Now();
            press(IDC_CALIBRATE);
            openHandler.push_back(Milliseconds(start, Now()));
            CCalibrateDlg* calibration = dialog.Calibration();
            if (calibration && PumpUntil([&] { return calibration->IsWindowVisible() && Painted(*calibration); }))
                openToTarget.push_back(Milliseconds(start, Now()));
            if (calibration)
                calibration->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
            PumpUntil([&] { return !dialog.Calibration() && dialog.IsWindowEnabled(); });
        }

        press(IDC_CALIBRATE);
        CCalibrateDlg* calibration = dialog.Calibration();
        for (int touch = 0; calibration && touch < 200; ++touch) {
            if (!PumpUntil([&] { return frame->Streaming() && Painted(*calibration); }))
                break;
            // A touch read in the moment between the frame taking the start
            // command and the stream going live is dropped: a user touches later.
            const DWORD settle = GetTickCount();
            PumpUntil([&] { return GetTickCount() - settle >= 100; });
            const int before = calibration->Panel().PointCount();
            const LARGE_INTEGER start = Now();
            // The target shown, a little apart each round: a set that is no
            // rectangle would be taken again instead of stored.
            const int corner = touch % 4, drift = touch / 4;
            frame->QueueTouch(static_cast<std::uint16_t>((corner % 2 ? 3800 : 300) + drift),
                              static_cast<std::uint16_t>((corner < 2 ? 400 : 3700) + drift));
            if (!PumpUntil([&] { return calibration->Panel().PointCount() != before && Painted(*calibration); }))
                break;
            touchToScreen.push_back(Milliseconds(start, Now()));
            (before < 3 ? toNextTarget : toReview).push_back(touchToScreen.back());
            if (calibration->Panel().PointCount() == 4)
                calibration->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CALIBRATE_RECALIBRATE, BN_CLICKED), 0);
        }
        if (calibration)
            calibration->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        PumpUntil([&] { return !dialog.Calibration(); });
    }
    // What the opening spends outside the window system: the configuration
    // calls it makes (driver record read and written, the touchscreen's
    // record read twice) and its ten language texts.
    std::vector<double> configurationCalls, languageTexts;
    for (int run = 0; run < 20; ++run) {
        LARGE_INTEGER start = Now();
        DriverConfig driver{};
        configuration.GetDriverConfig(driver);
        configuration.SetDriverConfig(driver);
        DeviceConfig device{};
        configuration.GetDeviceConfig(device);
        configuration.GetDeviceConfig(device);
        configurationCalls.push_back(Milliseconds(start, Now()));
        start = Now();
        for (int key = 46; key < 56; ++key)
            GetLanguageText(std::to_wstring(key));
        languageTexts.push_back(Milliseconds(start, Now()));
    }
    thread.Stop();
    SetPlatform(PlatformServices{});
    PrintFigures("  configuration calls of one opening", configurationCalls);
    PrintFigures("  ten language texts", languageTexts);
    PrintFigures("touch report to next target painted", touchToScreen);
    PrintFigures("  touches 1 to 3 of a round (next target)", toNextTarget);
    PrintFigures("  fourth touches (record stored, review painted)", toReview);
    PrintFigures("Calibrate pressed to first target painted", openToTarget);
    PrintFigures("  of which the Calibrate handler (create, place, show)", openHandler);
    return touchToScreen.size() == 200 && openToTarget.size() == 20 ? 0 : 1;
}
