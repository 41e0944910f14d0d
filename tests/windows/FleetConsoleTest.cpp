// The console's -l and -d in the real program under Wine, over three virtual
// frames (one good, one with two bad LEDs, one silent) and over sixteen. Output and reports
// line by line, and the exit codes. The frames' numbers (41 to 43) have no
// stored parameters in the test prefix: monitor 0, not calibrated.

#include "ProgramRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::wstring WriteScenario(const std::wstring& folder, const char* text)
{
    std::wstring path = folder + L"\\frames.ini";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text, static_cast<DWORD>(strlen(text)), &written, nullptr);
    CloseHandle(file);
    return path;
}

constexpr char kThreeFrames[] = "[Frame0]\r\nNumber=41\r\nVersion=2104\r\n"
                                "[Frame1]\r\nNumber=42\r\nVersion=2104\r\nBadLeds=3,17\r\n"
                                "[Frame2]\r\nNumber=43\r\nSilent=1\r\n";

std::string LedLine(int number, bool bad)
{
    char digits[8];
    snprintf(digits, sizeof digits, "%03d", number);
    return "      " + std::string(digits) + std::string(74, '-') + (bad ? "[   Bad  ]" : "[   OK   ]");
}

// The Diagnostics dialog's report of a 16 x 12 frame, CR LF after each line.
std::string Report(int number, std::vector<int> bad)
{
    auto isBad = [&](int n) { return std::find(bad.begin(), bad.end(), n) != bad.end(); };
    const int badX = int(std::count_if(bad.begin(), bad.end(), [](int n) { return n <= 16; }));
    std::vector<std::string> lines = {
        "TouchScreen No:" + std::to_string(number),
        "Hardware Version:50.49.48", // the version characters "210" of "2104"
        "Product Serial Number:0065535",
        "Total leds:28 ",
        "Summary:",
        "       x-coordinate total leds:16  bad leds:" + std::to_string(badX) + " ",
        "       y-coordinate total leds:12  bad leds:" + std::to_string(int(bad.size()) - badX) + " ",
        "Diagnostics Result:",
        "      Led" + std::string(99, ' ') + "Status",
        std::string(93, '-'),
        "    x-coordinate:",
    };
    for (int n = 1; n <= 16; ++n)
        lines.push_back(LedLine(n, isBad(n)));
    lines.push_back("    y-coordinate:");
    for (int n = 17; n <= 28; ++n)
        lines.push_back(LedLine(n, isBad(n)));
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

} // namespace

TEST(FleetConsole, ListAndDiagnoseThreeFramesLineByLineWithTheirExitCodes)
{
    const std::wstring folder = MakeTempFolder(L"pelno_fleet");
    const std::wstring scenario = WriteScenario(folder, kThreeFrames);
    const std::vector<std::pair<std::wstring, std::wstring>> simulate = {{L"PELNOCPL_SIMULATE", scenario}};

    CapturedRun list = RunCaptured(ProgramPath(), L"-list", folder, simulate);
    EXPECT_EQ(list.exitCode, 0);
    EXPECT_EQ(list.output, WithCrLf("Slot\tNumber\tHardware Version\tSerial Number\tMonitor\tCalibrated\n"
                                    "0\t41\t2.1.0.4\t0065535\t0\tno\n"
                                    "1\t42\t2.1.0.4\t0065535\t0\tno\n"
                                    "2\t?\t?\t?\t?\t?\n"));

    const std::wstring reports = folder + L"\\reports";
    CreateDirectoryW(reports.c_str(), nullptr);
    CapturedRun diagnose = RunCaptured(ProgramPath(), L"-d reports", folder, simulate);
    EXPECT_EQ(diagnose.exitCode, 1);
    EXPECT_EQ(diagnose.output, WithCrLf("Slot 0\tTouchScreen No:41\tTotal leds:28\tBad leds:0\n"
                                        "Slot 1\tTouchScreen No:42\tTotal leds:28\tBad leds:2\n"
                                        "Slot 2\tTouchScreen No:?\tno answer to the query\n"));
    EXPECT_EQ(ReadFileBytes(reports + L"\\Diagnostics_41.txt"), Report(41, {}));
    EXPECT_EQ(ReadFileBytes(reports + L"\\Diagnostics_42.txt"), Report(42, {3, 17}));
    EXPECT_EQ(GetFileAttributesW((reports + L"\\Diagnostics_43.txt").c_str()), INVALID_FILE_ATTRIBUTES);

    // Only the good frame: every frame answered without a bad LED.
    const std::wstring good = WriteScenario(MakeTempFolder(L"pelno_fleet_good"), "[Frame0]\r\nNumber=41\r\n");
    CapturedRun clean = RunCaptured(ProgramPath(), L"/diagnose .", folder, {{L"PELNOCPL_SIMULATE", good}});
    EXPECT_EQ(clean.exitCode, 0) << clean.output;
    // No frame at all: both fail; a missing folder name is told.
    EXPECT_EQ(RunCaptured(ProgramPath(), L"-l", folder, {{L"PELNOCPL_SIMULATE", L"0"}}).exitCode, 1);
    CapturedRun none = RunCaptured(ProgramPath(), L"-d x", folder, {{L"PELNOCPL_SIMULATE", L"0"}});
    EXPECT_EQ(none.exitCode, 1);
    EXPECT_EQ(none.output, WithCrLf("No touchscreen is attached!\n"));
    // A folder that is not there is told before any scan.
    CapturedRun refused = RunCaptured(ProgramPath(), L"-d missing", folder, simulate);
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.output, WithCrLf("The reports' folder \"missing\" does not exist!\n"));
    CapturedRun bare = RunCaptured(ProgramPath(), L"-d", folder, simulate);
    EXPECT_EQ(bare.exitCode, 1);
    EXPECT_EQ(bare.output, WithCrLf("\nThe option -d needs a folder name!\n"));

    // Sixteen frames, talked to at once, the tenth silent: lines in slot order.
    std::string sixteen, listed = "Slot\tNumber\tHardware Version\tSerial Number\tMonitor\tCalibrated\n", scanned;
    for (int i = 0; i < 16; ++i) {
        const std::string slot = std::to_string(i), number = std::to_string(60 + i);
        sixteen += "[Frame" + slot + "]\r\nNumber=" + number + "\r\nVersion=2104\r\n" + (i == 9 ? "Silent=1\r\n" : "");
        listed += slot + (i == 9 ? "\t?\t?\t?\t?\t?\n" : "\t" + number + "\t2.1.0.4\t0065535\t0\tno\n");
        scanned += "Slot " + slot + "\tTouchScreen No:" +
                   (i == 9 ? "?\tno answer to the query\n" : number + "\tTotal leds:28\tBad leds:0\n");
    }
    const std::wstring many = MakeTempFolder(L"pelno_fleet_16");
    const std::vector<std::pair<std::wstring, std::wstring>> simulate16 = {
        {L"PELNOCPL_SIMULATE", WriteScenario(many, sixteen.c_str())}};
    CapturedRun list16 = RunCaptured(ProgramPath(), L"-l", many, simulate16);
    EXPECT_EQ(list16.exitCode, 0);
    EXPECT_EQ(list16.output, WithCrLf(listed));
    CapturedRun diagnose16 = RunCaptured(ProgramPath(), L"-d .", many, simulate16);
    EXPECT_EQ(diagnose16.exitCode, 1);
    EXPECT_EQ(diagnose16.output, WithCrLf(scanned));
    EXPECT_EQ(ReadFileBytes(many + L"\\Diagnostics_75.txt"), Report(75, {}));
}
