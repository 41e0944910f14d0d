// The console's listing (-l) and diagnosis (-d) of every touchscreen, over
// three virtual frames and the real device thread: one good, one with bad
// LEDs, one silent.

#include "app/FleetCommands.h"
#include "FakeConfigurationLibrary.h"
#include "FrameLog.h"
#include "TestSeams.h"
#include "app/ConsoleMailbox.h"
#include "device/DeviceManager.h"
#include "device/ProtocolState.h"
#include "diagnostics/DiagnosticsReport.h"
#include "platform/AnsiCodePage.h"
#include "platform/MemoryFileStore.h"
#include "platform/Monitors.h"
#include "platform/System.h"
#include "sim/SimHidPort.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

SimScenario ThreeFrames(bool faults)
{
    SimScenario scenario = MakeCountedScenario(3);
    for (unsigned i = 0; i < 3; ++i) {
        scenario.frames[i].touchScreenNumber = int(4 + i); // 4, 5, 6
        scenario.frames[i].versionText = "2104";
    }
    if (faults) {
        scenario.frames[1].badLeds = {3, 17}; // the third x LED and the first y LED of 16 x 12
        scenario.frames[2].silent = true;
    }
    return scenario;
}

struct Fleet {
    explicit Fleet(bool faults) : Fleet(ThreeFrames(faults)) {}
    explicit Fleet(SimScenario scenario)
        : port(std::move(scenario)), devices(port, monitors, noWindows),
          context{devices, state,    port,
                  system,  console,  configuration,
                  files,   codePage, [](std::wstring_view text) { return std::string(text.begin(), text.end()); }}
    {
        DeviceConfig stored{};
        stored.TouchScreenNumber = 4;
        stored.MonitorID = 1;
        stored.IsCalibrate = 1;
        configuration.devices[4] = stored; // 5 and 6 have no record: monitor 0, not calibrated
        files.AddFolder(L"C:\\reports");
        files.AddFolder(L"out");
    }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        std::istringstream in(console.output);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    CConsoleMailbox noWindows; // no window: posts to any other are refused
    CSimHidPort port;
    CFixedMonitors monitors;
    CDeviceManager devices;
    CProtocolState state;
    CStandardSystem system;
    CCapturingConsole console;
    CFakeConfigurationLibrary configuration;
    CMemoryFileStore files;
    CLatin1CodePage codePage;
    FleetContext context;
};

} // namespace

TEST(FleetCommands, ListsAndDiagnosesEveryTouchScreenAndFailsForBadLedsAndSilence)
{
    Fleet fleet(true);
    EXPECT_EQ(ListTouchScreens(fleet.context), 0);
    EXPECT_EQ(fleet.Lines(), (std::vector<std::string>{
                                 "Slot\tNumber\tHardware Version\tSerial Number\tMonitor\tCalibrated",
                                 "0\t4\t2.1.0.4\t" + std::string("0065535") + "\t1\tyes",
                                 "1\t5\t2.1.0.4\t0065535\t0\tno",
                                 "2\t?\t?\t?\t?\t?",
                             }));

    fleet.console.output.clear();
    EXPECT_EQ(DiagnoseTouchScreens(fleet.context, L"C:\\reports"), 1);
    EXPECT_EQ(fleet.Lines(), (std::vector<std::string>{
                                 "Slot 0\tTouchScreen No:4\tTotal leds:28\tBad leds:0",
                                 "Slot 1\tTouchScreen No:5\tTotal leds:28\tBad leds:2",
                                 "Slot 2\tTouchScreen No:?\tno answer to the query",
                             }));
    // Each report is the Diagnostics dialog's, named by its touchscreen's number.
    std::string report;
    ASSERT_EQ(fleet.files.Read(L"C:\\reports\\Diagnostics_5.txt", report), FileReadStatus::Read);
    EXPECT_EQ(report.substr(0, report.find("Summary:")),
              "TouchScreen No:5\r\nHardware Version:50.49.48\r\nProduct Serial Number:0065535\r\nTotal leds:28 \r\n");
    EXPECT_NE(report.find("\r\n      003" + std::string(74, '-') + "[   Bad  ]\r\n"), std::string::npos);
    EXPECT_NE(report.find("\r\n      017" + std::string(74, '-') + "[   Bad  ]\r\n"), std::string::npos);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 12 + 28); // with the two axis headings
    EXPECT_EQ(fleet.files.Read(L"C:\\reports\\Diagnostics_4.txt", report), FileReadStatus::Read);
    EXPECT_EQ(fleet.files.Read(L"C:\\reports\\Diagnostics_6.txt", report), FileReadStatus::Missing);

    // Reports without a folder to go to: told before any touchscreen is asked.
    fleet.files.Put(L"C:\\a-file", "x");
    for (std::string folder : {"C:\\missing", "C:\\a-file", ""}) {
        fleet.console.output.clear();
        EXPECT_EQ(DiagnoseTouchScreens(fleet.context, std::wstring(folder.begin(), folder.end())), 1);
        EXPECT_EQ(fleet.console.output, "The reports' folder \"" + folder + "\" does not exist!\n");
    }
}

TEST(FleetCommands, DiagnosisSucceedsOnlyWhenEveryFrameAnsweredWithoutBadLeds)
{
    Fleet fleet(false);
    EXPECT_EQ(DiagnoseTouchScreens(fleet.context, L"out\\"), 0);
    EXPECT_EQ(fleet.Lines().size(), 3u);
    std::string report;
    EXPECT_EQ(fleet.files.Read(L"out\\Diagnostics_6.txt", report), FileReadStatus::Read);
}

TEST(FleetCommands, OneFrameReceivesTheRecordedBytesForTheListingAndTheDiagnosis)
{
    const std::wstring log = FreshFrameLog("fleet");
    SimScenario scenario = MakeCountedScenario(1);
    scenario.frames[0].logFile = log;
    Fleet fleet(std::move(scenario));
    EXPECT_EQ(ListTouchScreens(fleet.context), 0);
    ExpectFrameLogAsRecorded(log, "list");
    std::filesystem::remove(log);
    EXPECT_EQ(DiagnoseTouchScreens(fleet.context, L"out"), 0);
    ExpectFrameLogAsRecorded(log, "diagnose");
}
