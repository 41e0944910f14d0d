// The mapping end to end over two monitors (run by with-two-monitors.sh):
// the real program with three virtual frames, two of which are touched by
// their scripts, one on each monitor. Afterwards the registry, the frames'
// report logs and the list show the new numbers and monitors.
// OneMonitorLeft runs under the same rig with one head: a touchscreen mapped
// to the second monitor shows that its monitor is gone. ResolutionChanged,
// with one 1920 x 1080 head: a record calibrated on 1280 x 1024 is re-fitted
// at start to what a calibration there stores.

#include "ParameterTestSupport.h"
#include "ProgramRunner.h"
#include "app/MainPanel.h"
#include "calibration/CalibrationLayout.h"
#include "calibration/CalibrationResult.h"
#include "common/LanguageText.h"
#include "libs/sarnet/Sarnet.h"
#include "platform/Profile_win32.h"
#include "tests/support/CalibratedRecord.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

std::wstring MainTitle() { return EnglishText(L"79"); }

// The program's visible full-screen popup: no caption, topmost.
HWND FindMappingWindow(DWORD process)
{
    struct Search {
        DWORD process;
        HWND found;
    } search{process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            wchar_t name[16] = {};
            GetClassNameW(window, name, 16);
            if (owner == s.process && IsWindowVisible(window) && std::wstring(name) == L"#32770" &&
                GetWindowTextLengthW(window) == 0 && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The list's item texts, read through the program's own memory.
std::vector<std::wstring> ListTexts(HWND list, HANDLE process)
{
    std::vector<std::wstring> texts;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    constexpr int kChars = 128;
    auto* remote = static_cast<char*>(
        VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * sizeof(wchar_t), MEM_COMMIT, PAGE_READWRITE));
    if (!remote)
        return texts;
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.iSubItem = 0;
        item.cchTextMax = kChars;
        item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
        WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        SendMessageW(list, LVM_GETITEMTEXTW, i, reinterpret_cast<LPARAM>(remote));
        wchar_t text[kChars] = {};
        ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof text - sizeof(wchar_t), nullptr);
        texts.emplace_back(text);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return texts;
}

// The list's item images, read as ListTexts reads the texts.
std::vector<int> ListImages(HWND list, HANDLE process)
{
    std::vector<int> images;
    auto* remote = static_cast<LVITEMW*>(VirtualAllocEx(process, nullptr, sizeof(LVITEMW), MEM_COMMIT, PAGE_READWRITE));
    if (!remote)
        return images;
    const int count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        LVITEMW item{};
        item.mask = LVIF_IMAGE;
        item.iItem = i;
        WriteProcessMemory(process, remote, &item, sizeof item, nullptr);
        SendMessageW(list, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process, remote, &item, sizeof item, nullptr);
        images.push_back(item.iImage);
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    return images;
}

bool WaitFor(const std::function<bool()>& done, DWORD milliseconds)
{
    for (DWORD start = GetTickCount(); !done(); Sleep(20))
        if (GetTickCount() - start > milliseconds)
            return false;
    return true;
}

// A service key made afresh with touch enabled; gives the path that a
// touchscreen's number completes into its parameters' key.
std::wstring FreshParameters()
{
    DeleteServiceKey();
    const std::wstring parameters = std::wstring(kServiceKey) + L"\\Parameters";
    SetParameter(parameters + L"\\DriverParameters", L"EnableTouch", 1);
    return parameters + L"\\DeviceParameters\\TouchScreen";
}

// Starts the program over the scenario file; gives its main window once its
// list holds `count` touchscreens and Calibrate is enabled, or null.
HWND StartListing(const std::wstring& scenario, ProgramRun& run, LRESULT count)
{
    LaunchOptions options;
    options.environment = {{L"PELNOCPL_SIMULATE", scenario}};
    if (!Launch(options, run))
        return nullptr;
    HWND main = WaitForWindow(L"#32770", MainTitle(), 15000);
    if (!main || !WaitFor(
                     [&] {
                         return SendMessageW(GetDlgItem(main, 1064), LVM_GETITEMCOUNT, 0, 0) == count &&
                                IsWindowEnabled(GetDlgItem(main, 1056));
                     },
                     15000))
        return nullptr;
    return main;
}

std::wstring ControlText(HWND window, int id)
{
    wchar_t text[256] = {};
    SendMessageW(GetDlgItem(window, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

DeviceConfigSlots StoredRecord(std::int32_t number)
{
    DeviceConfig config{};
    config.TouchScreenNumber = number;
    GetDeviceConfig(&config);
    return ToSlots(config);
}

} // namespace

TEST(TwoMonitors, ScriptedTouchesBindTwoFramesAndTheSaveStoresTheirNewNumbers)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 2) << "run under with-two-monitors.sh";
    // Frame 0 (number 7) was calibrated, frame 2 (number 9) never was.
    const std::wstring devices = FreshParameters();
    SetParameter(devices + L"7", L"M1X", 1234);
    SetParameter(devices + L"7", L"IsCalibrate", 1);

    // Frame 0 is touched while monitor 1 shows, frame 2 after the mapping
    // moved on to monitor 2; frame 1 is never touched.
    const std::wstring folder = MakeTempFolder(L"pelno_two_monitors");
    std::wstring logs[3];
    std::string text;
    const char* touches[3] = {"Touch=1500,2000,2000\r\n", "", "Touch=3000,1000,1000\r\n"};
    for (int i = 0; i < 3; ++i) {
        logs[i] = folder + L"\\frame" + std::to_wstring(i) + L".log";
        DeleteFileW(logs[i].c_str());
        text += "[Frame" + std::to_string(i) + "]\r\nNumber=" + std::to_string(7 + i) +
                "\r\nMonitor=" + std::to_string(i == 2 ? 1 : 0) + "\r\nLogFile=" + Narrow(logs[i]) + "\r\n" +
                touches[i];
    }
    const std::wstring scenario = folder + L"\\mapping.ini";
    WriteFileBytes(scenario, text);

    LaunchOptions options;
    options.environment = {{L"PELNOCPL_SIMULATE", scenario}};
    ProgramRun run;
    ASSERT_TRUE(Launch(options, run));
    HWND main = WaitForWindow(L"#32770", MainTitle(), 15000);
    ASSERT_NE(main, nullptr);
    HWND list = nullptr;
    ASSERT_TRUE(WaitFor(
        [&] {
            list = GetDlgItem(main, 1064);
            return list && SendMessageW(list, LVM_GETITEMCOUNT, 0, 0) == 3 && IsWindowEnabled(GetDlgItem(main, 1070));
        },
        15000));

    PostMessageW(main, WM_COMMAND, MAKEWPARAM(1070, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, 1070)));
    HWND mapping = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (mapping = FindMappingWindow(run.process.dwProcessId)) != nullptr; }, 5000));
    RECT shown{};
    GetWindowRect(mapping, &shown);
    EXPECT_EQ(shown.left, 0);
    EXPECT_EQ(shown.right, 1280);
    EXPECT_FALSE(IsWindowEnabled(main));
    // Frame 0's touch moves it over the second monitor.
    ASSERT_TRUE(WaitFor(
        [&] {
            GetWindowRect(mapping, &shown);
            return shown.left == 1280 || !IsWindow(mapping);
        },
        10000));
    EXPECT_EQ(shown.left, 1280);
    EXPECT_EQ(shown.right, 2560);

    // Frame 2's touch ends it; the save follows.
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(mapping) && IsWindowEnabled(main); }, 10000));
    ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(logs[2]).find("31 56 31 02") != std::string::npos; }, 10000));
    EXPECT_NE(ReadFileBytes(logs[0]).find("31 56 31 00"), std::string::npos);
    EXPECT_EQ(ReadFileBytes(logs[1]).find("31 56 31"), std::string::npos) << "not touched: not written";
    for (int i : {0, 2})
        EXPECT_NE(ReadFileBytes(logs[i]).find("31 AA 55"), std::string::npos) << "touch reporting stopped";

    // Each record moved with its touchscreen's new number.
    EXPECT_EQ(RegQueryDword(devices + L"0", L"MonitorID"), "0x0");
    EXPECT_EQ(RegQueryDword(devices + L"0", L"IsCalibrate"), "0x1");
    EXPECT_EQ(RegQueryDword(devices + L"0", L"M1X"), "0x4d2");
    EXPECT_EQ(RegQueryDword(devices + L"2", L"MonitorID"), "0x1");
    EXPECT_EQ(RegQueryDword(devices + L"2", L"IsCalibrate"), "0x0");
    EXPECT_EQ(RegQueryDword(devices + L"8", L"MonitorID"), "");

    const std::vector<std::wstring> expected = {L"TouchScreen No.0 \n   Monitor     No.0",
                                                L"TouchScreen No.8 \n   Monitor     No.0",
                                                L"TouchScreen No.2 \n   Monitor     No.1"};
    std::vector<std::wstring> shownTexts;
    EXPECT_TRUE(WaitFor([&] { return (shownTexts = ListTexts(list, run.process.hProcess)) == expected; }, 5000));
    EXPECT_EQ(shownTexts, expected);

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Wait(10000), 0);
    DeleteServiceKey();
}

TEST(OneMonitorLeft, ATouchScreenMappedToTheGoneMonitorShowsItAndCalibratesOverThePrimary)
{
    ASSERT_EQ(GetSystemMetrics(SM_CMONITORS), 1) << "run under with-two-monitors.sh with PELNO_HEADS of one head";
    // Touchscreen 7 was calibrated on the second monitor; touchscreen 8 never was.
    const std::wstring devices = FreshParameters();
    SetParameter(devices + L"7", L"MonitorID", 1);
    SetParameter(devices + L"7", L"IsCalibrate", 1);
    SetParameter(devices + L"7", L"M1X", 1234);
    const std::wstring folder = MakeTempFolder(L"pelno_one_monitor");
    const std::wstring scenario = folder + L"\\gone.ini";
    WriteFileBytes(scenario, "[Frame0]\r\nNumber=7\r\n[Frame1]\r\nNumber=8\r\n");

    ProgramRun run;
    HWND main = StartListing(scenario, run, 2);
    ASSERT_NE(main, nullptr);
    HWND list = GetDlgItem(main, 1064);
    EXPECT_EQ(ListTexts(list, run.process.hProcess),
              (std::vector<std::wstring>{L"TouchScreen No.7 \n   Monitor     No.1",
                                         L"TouchScreen No.8 \n   Monitor     No.0"}));
    EXPECT_EQ(ListImages(list, run.process.hProcess), (std::vector<int>{2, 0})) << "monitor gone, not calibrated";
    EXPECT_EQ(ControlText(main, 1118), L"Monitor No.1 is not connected: Calibrate uses the primary one.");

    PostMessageW(main, WM_COMMAND, MAKEWPARAM(1056, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, 1056)));
    HWND calibration = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (calibration = FindMappingWindow(run.process.dwProcessId)) != nullptr; }, 5000));
    RECT shown{};
    GetWindowRect(calibration, &shown);
    EXPECT_EQ((std::vector<LONG>{shown.left, shown.top, shown.right, shown.bottom}),
              (std::vector<LONG>{0, 0, 1280, 1024}))
        << "over the primary monitor";
    PostMessageW(calibration, WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(calibration) && IsWindowEnabled(main); }, 10000));
    EXPECT_EQ(RegQueryDword(devices + L"7", L"MonitorID"), "0x1") << "left as it was";
    EXPECT_EQ(RegQueryDword(devices + L"8", L"MonitorID"), "");

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Wait(10000), 0);
    DeleteServiceKey();
}

TEST(ResolutionChanged, ARecordCalibratedOn1280x1024IsRefittedAtStartAsACalibrationOn1920x1080StoresIt)
{
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920) << "run under with-two-monitors.sh with one 1920x1080 head";
    FreshParameters();
    // The four touches a frame gave on the 1280 x 1024 display's targets;
    // the same four raw touches then calibrate the 1920 x 1080 display. The
    // targets stand at the same fractions of both, so they are the same spots.
    std::array<RawTouchPoint, 4> touches;
    for (int i = 0; i < 4; ++i) {
        const TargetShape target = CalibrationTarget(i, 1280, 1024);
        touches[i] = {200 + 4096 * target.x / 1280, 300 + 3072 * target.y / 1024};
    }
    // What a calibration over a 1280 x 1024 monitor stored.
    const DeviceConfigSlots old = ToSlots(RecordCalibratedOn(1280, 1024, touches, 7));
    SetDeviceConfig(0, FromSlots(old));

    const std::wstring folder = MakeTempFolder(L"pelno_resolution");
    const std::wstring listed = folder + L"\\listed.ini", calibrated = folder + L"\\calibrated.ini";
    WriteFileBytes(listed, "[Frame0]\r\nNumber=7\r\n");
    std::string script = "[Frame0]\r\nNumber=7\r\n";
    for (std::size_t i = 0; i < touches.size(); ++i)
        script += "Touch=" + std::string(i == 0 ? "2500" : "100") + "," + std::to_string(touches[i].x) + "," +
                  std::to_string(touches[i].y) + "\r\n";
    WriteFileBytes(calibrated, script);

    // Started on 1920 x 1080: re-fitted, and shown so.
    DeviceConfigSlots refitted{};
    {
        ProgramRun run;
        HWND main = StartListing(listed, run, 1);
        ASSERT_NE(main, nullptr);
        EXPECT_EQ(ListImages(GetDlgItem(main, 1064), run.process.hProcess), std::vector<int>{kListImageRefitted});
        EXPECT_EQ(ControlText(main, 1118), EnglishText(L"191"));
        refitted = StoredRecord(7);
        EXPECT_NE(refitted, old);
        PostMessageW(main, WM_CLOSE, 0, 0);
        EXPECT_EQ(run.Wait(10000), 0);
    }

    // Started again on the same display: every value stays; then the four
    // touches calibrated on 1920 x 1080 store the very record the re-fit did.
    ProgramRun run;
    HWND main = StartListing(calibrated, run, 1);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(StoredRecord(7), refitted) << "an unchanged display leaves the record as it is";
    EXPECT_EQ(ListImages(GetDlgItem(main, 1064), run.process.hProcess), std::vector<int>{kListImageRefitted});
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(1056, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(main, 1056)));
    HWND calibration = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (calibration = FindMappingWindow(run.process.dwProcessId)) != nullptr; }, 5000));
    ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(GetDlgItem(calibration, IDOK)) != FALSE; }, 15000));
    PostMessageW(calibration, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindowVisible(calibration) && IsWindowEnabled(main); }, 10000));
    EXPECT_EQ(StoredRecord(7), refitted) << "value for value what the calibration on 1920 x 1080 stores";
    EXPECT_TRUE(WaitFor(
        [&] {
            return ListImages(GetDlgItem(main, 1064), run.process.hProcess) == std::vector<int>{kListImageCalibrated};
        },
        5000))
        << "calibrated again: no longer shown as re-fitted";

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Wait(10000), 0);
    DeleteServiceKey();
}
