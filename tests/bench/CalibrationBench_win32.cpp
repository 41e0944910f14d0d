// Benchmark of the calibration window under Wine, in this process with the
// real main dialog over one virtual frame:
//  1. touch to screen: from a touch report queued in the frame to the
//     calibration window having painted the next target (or the review),
//     200 touches in rounds of four with ReCalibrate between them;
//  2. Calibrate pressed to the first target painted (20 openings, each
//     ended with Esc).
// Run by tools/bench-calibration.

#include "BenchFigures.h"
#include "MainDialogRig.h"
#include "Stopwatch.h"
#include "common/LanguageText.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

bool Painted(HWND window) { return GetUpdateRect(window, nullptr, FALSE) == FALSE; }

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
    CMainDialogRig<> rig;
    rig.monitors.monitors = {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
    rig.Start(MakeCountedScenario(1));
    std::vector<double> touchToScreen, openToTarget, openHandler;
    std::vector<double> toNextTarget, toReview; // touches 1 to 3 of a round; the fourth stores and shows the review
    {
        if (!rig.Open()) {
            std::printf("the main dialog did not get ready\n");
            return 1;
        }
        COvamerDlg& dialog = *rig.dialog;
        auto frame = rig.port->FrameAt(0);

        for (int run = 0; run < 20; ++run) {
            CStopwatch watch;
            rig.Press(IDC_CALIBRATE);
            openHandler.push_back(watch.Milliseconds());
            CCalibrateDlg* calibration = dialog.Calibration();
            if (calibration && PumpUntil([&] { return calibration->IsWindowVisible() && Painted(*calibration); }))
                openToTarget.push_back(watch.Milliseconds());
            if (calibration)
                calibration->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
            PumpUntil([&] { return !dialog.Calibration() && dialog.IsWindowEnabled(); });
        }

        rig.Press(IDC_CALIBRATE);
        CCalibrateDlg* calibration = dialog.Calibration();
        for (int touch = 0; calibration && touch < 200; ++touch) {
            if (!PumpUntil([&] { return frame->Streaming() && Painted(*calibration); }))
                break;
            // A touch read in the moment between the frame taking the start
            // command and the stream going live is dropped: a user touches later.
            const DWORD settle = GetTickCount();
            PumpUntil([&] { return GetTickCount() - settle >= 100; });
            const int before = calibration->Panel().PointCount();
            CStopwatch watch;
            // The target shown, a little apart each round: a set that is no
            // rectangle would be taken again instead of stored.
            const int corner = touch % 4, drift = touch / 4;
            frame->QueueTouch(static_cast<std::uint16_t>((corner % 2 ? 3800 : 300) + drift),
                              static_cast<std::uint16_t>((corner < 2 ? 400 : 3700) + drift));
            if (!PumpUntil([&] { return calibration->Panel().PointCount() != before && Painted(*calibration); }))
                break;
            touchToScreen.push_back(watch.Milliseconds());
            (before < 3 ? toNextTarget : toReview).push_back(touchToScreen.back());
            if (calibration->Panel().PointCount() == 4)
                calibration->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CALIBRATE_RECALIBRATE, BN_CLICKED), 0);
        }
        if (calibration)
            calibration->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        PumpUntil([&] { return !dialog.Calibration(); });
        rig.dialog.reset();
    }
    // What the opening spends outside the window system: the configuration
    // calls it makes (driver record read and written, the touchscreen's
    // record read twice) and its ten language texts.
    std::vector<double> configurationCalls, languageTexts;
    for (int run = 0; run < 20; ++run) {
        CStopwatch watch;
        DriverConfig driver{};
        rig.configuration.GetDriverConfig(driver);
        rig.configuration.SetDriverConfig(driver);
        DeviceConfig device{};
        rig.configuration.GetDeviceConfig(device);
        rig.configuration.GetDeviceConfig(device);
        configurationCalls.push_back(watch.Milliseconds());
        watch.Restart();
        for (int key = 46; key < 56; ++key)
            GetLanguageText(std::to_wstring(key));
        languageTexts.push_back(watch.Milliseconds());
    }
    PrintFigures("  configuration calls of one opening", configurationCalls);
    PrintFigures("  ten language texts", languageTexts);
    PrintFigures("touch report to next target painted", touchToScreen);
    PrintFigures("  touches 1 to 3 of a round (next target)", toNextTarget);
    PrintFigures("  fourth touches (record stored, review painted)", toReview);
    PrintFigures("Calibrate pressed to first target painted", openToTarget);
    PrintFigures("  of which the Calibrate handler (create, place, show)", openHandler);
    return touchToScreen.size() == 200 && openToTarget.size() == 20 ? 0 : 1;
}
