// The console diagnosis (-d) in process, natively, over 1, 4 and 16 virtual
// frames (16 x 12 LEDs, step 1, answering at once) and the real device
// thread: the identity query alone (-l) and the whole diagnosis, median of
// 3, against the protocol's floors: one frame's query pauses (200 ms before
// the opening, 20 ms between commands) and the three guarded commands'
// 80 ms; the scan's two 80 ms pauses and its ten reports, one a
// millisecond. The frames are talked to side by side, so one frame's floor
// is the floor for any number; each time is also given against one frame's.
// Run by tools/bench-fleet.

#include "app/ConsoleMailbox.h"
#include "app/FleetCommands.h"
#include "config/ConfigurationLibrary.h"
#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "platform/AnsiCodePage.h"
#include "platform/Console.h"
#include "platform/MemoryFileStore.h"
#include "platform/Monitors.h"
#include "platform/System.h"
#include "sim/SimHidPort.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

class CSilentConsole : public IConsole {
public:
    void Attach() override {}
    void SetTitle(std::wstring_view) override {}
    bool IsConsole() override { return false; }
    void SetCursorPosition(int, int) override {}
    void Clear() override {}
    void Write(std::string_view) override {}
};

class CNoConfiguration : public IConfigurationLibrary {
public:
    bool GetDriverConfig(DriverConfig&) override { return false; }
    bool SetDriverConfig(const DriverConfig&) override { return false; }
    bool GetDeviceConfig(DeviceConfig&) override { return false; }
    bool SetDeviceConfig(std::uint32_t, const DeviceConfig&) override { return false; }
};

constexpr double kQueryFloorMs = 200 + 3 * 20 + 3 * 80;
constexpr double kScanFloorMs = 2 * 80 + 10;

// Milliseconds of one command over `frames` new virtual frames.
template <class Command> double Time(unsigned frames, Command command)
{
    CConsoleMailbox windows; // no window: posts to any other are refused
    CSimHidPort port(MakeCountedScenario(frames));
    CFixedMonitors monitors;
    CDeviceManager devices(port, monitors, windows);
    CProtocolState state;
    CStandardSystem system;
    CSilentConsole console;
    CNoConfiguration configuration;
    CMemoryFileStore files;
    files.AddFolder(L"reports"); // -d writes its reports there
    CLatin1CodePage codePage;
    FleetContext context{
        devices, state,    port,
        system,  console,  configuration,
        files,   codePage, [](std::wstring_view text) { return std::string(text.begin(), text.end()); }};
    const auto start = std::chrono::steady_clock::now();
    if (command(context) != 0)
        return -1;
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

template <class Command> double Median(unsigned frames, Command command)
{
    std::vector<double> runs;
    for (int i = 0; i < 3; ++i)
        runs.push_back(Time(frames, command));
    std::sort(runs.begin(), runs.end());
    return runs[1];
}

} // namespace

int main()
{
    std::printf("In process, native (median of 3):\n");
    double oneQuery = 0, oneWhole = 0;
    for (unsigned frames : {1u, 4u, 16u}) {
        const double query = Median(frames, [](FleetContext& c) { return ListTouchScreens(c); });
        const double whole = Median(frames, [](FleetContext& c) { return DiagnoseTouchScreens(c, L"reports"); });
        const double queryFloor = kQueryFloorMs, scanFloor = kScanFloorMs;
        if (frames == 1) {
            oneQuery = query;
            oneWhole = whole;
        }
        std::printf("  %2u frames: -d %7.0f ms, floor %6.0f ms (%+.1f %%); of it the query %7.0f ms (floor %6.0f, "
                    "%+.1f %%) and the scans %6.0f ms (floor %5.0f, %+.1f %%)\n",
                    frames, whole, queryFloor + scanFloor, (whole / (queryFloor + scanFloor) - 1) * 100, query,
                    queryFloor, (query / queryFloor - 1) * 100, whole - query, scanFloor,
                    ((whole - query) / scanFloor - 1) * 100);
        std::printf("             -l %.2f x one frame, -d %.2f x one frame\n", query / oneQuery, whole / oneWhole);
    }
    return 0;
}
