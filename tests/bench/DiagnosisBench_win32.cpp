// Benchmark of the Diagnostics dialog under Wine, the real dialog in this
// process over a virtual frame and the real device thread:
//  1. a whole run, from pressing Diagnostics to the result listed and the
//     button enabled again, with 64, 256 and 510 LEDs (510 = 255 + 255, the
//     most the frame's one-byte counts describe); median of 5 runs, against
//     the floor the protocol sets: the device thread pauses 80 ms before each
//     of the two scan commands, and the virtual frame sends its scan one
//     report a millisecond (its end reply a millisecond after the last);
//  2. filling the list with 521 and 1,035 lines (510 and 1,024 LED lines and
//     the heading lines), with and without painting it; median of 5.
// Run by tools/bench-diagnostics.

#include "BenchFigures.h"
#include "MainDialogRig.h"
#include "Stopwatch.h"
#include "diagnostics/Diagnosis_win32.h"
#include "platform/AnsiCodePage.h"
#include "platform/MemoryFileStore.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kPausesSeconds = 2 * 0.080;
constexpr int kStep = 2;

// The floor of a run: the two pauses and the frame's sending time of both streams.
double FloorSeconds(int ledsPerAxis)
{
    const int entries = 2 * ledsPerAxis + 1;
    const int levelReports = (9 + (entries - 1) * kStep + 1 + 7) / 8;
    const int statusReports = (8 + entries + 7) / 8;
    return kPausesSeconds + (levelReports + statusReports) * 0.001;
}

struct Bench : CDeviceRig {
    explicit Bench(int ledsPerAxis)
    {
        StartDevices(Scenario(ledsPerAxis));
        dialog = std::make_unique<CDiagnosis>(DiagnosisServices{
            *devices, *state, Poster(), files, codePage, [](std::wstring_view key) { return std::wstring(key); }});
        dialog->SetTouchScreen(0);
        dialog->Create();
        dialog->ShowWindow(SW_SHOW);
        PumpFor(0);
    }
    ~Bench() { dialog.reset(); }
    static SimScenario Scenario(int ledsPerAxis)
    {
        SimScenario scenario = MakeCountedScenario(1);
        scenario.frames[0].ledsX = ledsPerAxis;
        scenario.frames[0].ledsY = ledsPerAxis;
        scenario.frames[0].ledStepByte = 0x21; // kStep
        scenario.frames[0].badLeds = {1, ledsPerAxis + 1};
        return scenario;
    }
    // Seconds from pressing Diagnostics to the result listed; -1 when it did not come.
    double Run()
    {
        CStopwatch watch;
        SendMessageW(dialog->GetDlgItem(IDC_DIAGNOSIS_RUN), BM_CLICK, 0, 0);
        if (!PumpUntil([&] { return dialog->Panel().CurrentState() == CDiagnosisPanel::State::Idle; }, 30000))
            return -1;
        return dialog->Panel().ExportEnabled() ? watch.Seconds() : -1;
    }

    CMemoryFileStore files;
    CLatin1CodePage codePage;
    std::unique_ptr<CDiagnosis> dialog;
};

std::vector<std::wstring> ResultShapedLines(int leds)
{
    std::vector<std::wstring> lines(11, L"Diagnostics Result:");
    for (int n = 1; n <= leds; ++n) {
        wchar_t number[8];
        swprintf(number, 8, L"%03d", n);
        lines.push_back(L"      " + std::wstring(number) + std::wstring(74, L'-') + L"[   OK   ]");
    }
    return lines;
}

} // namespace

int main()
{
    std::printf("Diagnostics run under Wine, in process (median of 5 runs; the floor: two 80 ms pauses and one ms a "
                "report):\n");
    for (int perAxis : {1, 32, 128, 255}) {
        Bench bench(perAxis);
        std::vector<double> runs;
        for (int i = 0; i < 5; ++i)
            runs.push_back(bench.Run());
        const double median = Median(runs), floor = FloorSeconds(perAxis);
        std::printf("  %4d LEDs: %.1f ms, floor %.0f ms (%+.1f %%; fastest %.1f, slowest %.1f)\n", 2 * perAxis,
                    median * 1000, floor * 1000, (median / floor - 1) * 100,
                    *std::min_element(runs.begin(), runs.end()) * 1000,
                    *std::max_element(runs.begin(), runs.end()) * 1000);
    }

    std::printf("Filling the list (median of 9, after one fill to warm up):\n");
    Bench bench(1);
    for (int leds : {510, 1024}) {
        const std::vector<std::wstring> lines = ResultShapedLines(leds);
        std::vector<double> fills, painted;
        bench.dialog->ShowLines(lines);
        for (int i = 0; i < 9; ++i) {
            CStopwatch watch;
            bench.dialog->ShowLines(lines);
            fills.push_back(watch.Seconds());
            watch.Restart();
            bench.dialog->ShowLines(lines);
            RedrawWindow(*bench.dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
            painted.push_back(watch.Seconds());
        }
        std::printf("  %4zu lines: %.2f ms, %.2f ms with painting\n", lines.size(), Median(fills) * 1000,
                    Median(painted) * 1000);
    }
    return 0;
}
