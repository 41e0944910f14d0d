// The calibration window opened by the real main dialog in this process,
// over virtual frames whose scripts touch the four targets, the device
// thread and Sarnet.dll with Wine's registry.

#include "ControlTestSupport.h"
#include "MainDialogRig.h"
#include "ProgramRunner.h"
#include "calibration/MouseHookMessages.h"
#include "common/LanguageText.h"
#include "config/ParameterPaths.h"
#include "libs/sarnet/Sarnet.h"
#include "win/Dpi.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr COLORREF kBlue = RGB(0, 128, 192);
constexpr COLORREF kTrail = RGB(255, 255, 255);

std::optional<DWORD> StoredValue(const wchar_t* name)
{
    DWORD value = 0, size = sizeof value;
    const std::wstring key = std::wstring(kDeviceParametersPath) + L"\\TouchScreen0";
    if (RegGetValueW(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

// Writes a screenshot of the X screen to the folder PELNO_SHOT_DIR names
// (a Unix path), when it is set: the pictures of the calibration window in docs/.
void Screenshot(const char* name)
{
    const char* folder = std::getenv("PELNO_SHOT_DIR");
    if (!folder)
        return;
    RunShell("import -window root " + std::string(folder) + "/" + name, 10000);
}

struct CalibrateDialogFixture : ::testing::Test, CMainDialogRig<> {
    CalibrateDialogFixture()
    {
        monitors.monitors = {{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}};
        DriverConfig driver{};
        GetDriverConfig(&driver);
        driver.Mode = 0;
        driver.EnableTouch = 1;
        SetDriverConfig(driver);
    }

    // One frame whose touches come `firstDelay` ms after touch reporting starts, then 100 ms apart.
    void Start(unsigned firstDelay)
    {
        Start({{firstDelay, 100, 110}, {100, 3995, 120}, {100, 130, 3900}, {100, 4000, 3990}});
    }
    void Start(std::vector<SimTouch> touches, unsigned frames = 1)
    {
        SimScenario scenario = MakeCountedScenario(frames);
        scenario.frames[0].touches = std::move(touches);
        CMainDialogRig::Start(std::move(scenario));
        ASSERT_TRUE(Open());
    }
    CCalibrateDlg* OpenCalibration()
    {
        SetFocus(dialog->GetDlgItem(IDC_CALIBRATE));
        Press(IDC_CALIBRATE);
        EXPECT_TRUE(PumpUntil([&] { return !dialog->IsWindowEnabled(); }, 3000)) << "WM_CALIBRATION_BEGIN";
        return dialog->Calibration();
    }
    bool Visible(HWND window, int id) const { return IsWindowVisible(GetDlgItem(window, id)) != FALSE; }
    bool WaitForReview(CCalibrateDlg* calibration)
    {
        return PumpUntil([&] { return Visible(*calibration, IDC_CALIBRATE_OK); }, 10000);
    }
    bool WaitForEnd()
    {
        return PumpUntil([&] { return dialog->IsWindowEnabled() && !dialog->Calibration(); }, 5000);
    }
    std::int32_t Mode()
    {
        DriverConfig driver{};
        GetDriverConfig(&driver);
        return driver.Mode;
    }
};

} // namespace

using CalibrateDialog = CalibrateDialogFixture;

TEST_F(CalibrateDialog, FourTouchesThenOkStoreTheCalibrationAndTheListTurnsCalibrated)
{
    Start(2500);
    CCalibrateDlg* calibration = OpenCalibration();
    ASSERT_TRUE(calibration);
    RECT placed = calibration->GetWindowRect();
    EXPECT_EQ((std::array{placed.left, placed.top, placed.right, placed.bottom}),
              (std::array<LONG, 4>{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}))
        << "the window covers the touchscreen's monitor";
    EXPECT_TRUE(GetWindowLongPtrW(*calibration, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(Mode(), 1) << "click on release while calibrating";
    EXPECT_TRUE(Visible(*calibration, IDC_CALIBRATE_HINT_1));
    EXPECT_FALSE(Visible(*calibration, IDC_CALIBRATE_REVIEW_1));
    EXPECT_FALSE(Visible(*calibration, IDC_CALIBRATE_CANCEL));
    EXPECT_EQ(calibration->GetDlgItemText(IDC_CALIBRATE_HINT_4), GetLanguageText(L"49"));
    Screenshot("calibration-collecting.png");

    ASSERT_TRUE(WaitForReview(calibration));
    EXPECT_EQ(calibration->Panel().PointCount(), 4);
    EXPECT_TRUE(Visible(*calibration, IDC_CALIBRATE_REVIEW_1));
    EXPECT_FALSE(Visible(*calibration, IDC_CALIBRATE_HINT_1));
    ASSERT_TRUE(PumpUntil([&] { return calibration->Panel().Ticks() >= 1; }, 3000));
    EXPECT_EQ(calibration->GetDlgItemText(IDC_CALIBRATE_CANCEL), GetLanguageText(L"39") + L"(30)");
    Screenshot("calibration-review.png");

    calibration->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(StoredValue(L"IsCalibrate"), 1u);
    EXPECT_EQ(Mode(), 0);
    EXPECT_EQ(CListView(dialog->GetDlgItem(IDC_TOUCHSCREEN_LIST)).GetItemImage(0), 1);
}

TEST_F(CalibrateDialog, CancelAndEscapeLeaveTheStoredRecordAsItWas)
{
    for (bool review : {true, false}) {
        Start(review ? 100 : 60000);
        CCalibrateDlg* calibration = OpenCalibration();
        ASSERT_TRUE(calibration);
        if (review) {
            ASSERT_TRUE(WaitForReview(calibration));
            EXPECT_EQ(StoredValue(L"IsCalibrate"), 1u) << "in force while the user tries it";
            calibration->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CALIBRATE_CANCEL, BN_CLICKED), 0);
        } else {
            calibration->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
        }
        ASSERT_TRUE(WaitForEnd()) << review;
        EXPECT_NE(StoredValue(L"IsCalibrate"), std::optional<DWORD>(1)) << review;
        EXPECT_EQ(Mode(), 0) << review;
        EXPECT_EQ(CListView(dialog->GetDlgItem(IDC_TOUCHSCREEN_LIST)).GetItemImage(0), 0) << review;
        EXPECT_EQ(GetFocus(), dialog->GetDlgItem(IDC_CALIBRATE)) << "the keyboard is back where it was";
        TearDown();
        SetUp();
    }
}

TEST_F(CalibrateDialog, UnpluggingDuringTheReviewPutsThePreviousRecordBack)
{
    Start({{100, 100, 110}, {100, 3995, 120}, {100, 130, 3900}, {100, 4000, 3990}}, 2);
    CCalibrateDlg* calibration = OpenCalibration();
    ASSERT_TRUE(calibration);
    ASSERT_TRUE(WaitForReview(calibration));
    ASSERT_EQ(StoredValue(L"IsCalibrate"), 1u);
    // The box that says the touchscreen is gone is answered as soon as it shows.
    UINT_PTR timer = SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        for (HWND box = FindWindowW(L"#32770", nullptr); box; box = FindWindowExW(nullptr, box, L"#32770", nullptr))
            if (WindowText(GetDlgItem(box, 0xFFFF)) == kDeviceRemovedText)
                PostMessageW(box, WM_COMMAND, IDOK, 0);
    });
    port->Unplug(0);
    const bool ended = WaitForEnd();
    KillTimer(nullptr, timer);
    ASSERT_TRUE(ended);
    EXPECT_NE(StoredValue(L"IsCalibrate"), std::optional<DWORD>(1)) << "the unconfirmed calibration is gone";
    EXPECT_EQ(Mode(), 0);
}

TEST_F(CalibrateDialog, AMonitorGoneShowsInTheListCalibratesOverThePrimaryAndADisplayChangeCancels)
{
    // Touchscreen 0 calibrated on monitor 1, right of the primary.
    const LONG width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    monitors.monitors.push_back({width, 0, 2 * width, height});
    StoreParameters(0, 1, 1);
    Start(100);
    CListView list(dialog->GetDlgItem(IDC_TOUCHSCREEN_LIST));
    EXPECT_EQ(list.GetItemImage(0), kListImageCalibrated);
    EXPECT_EQ(dialog->GetDlgItemText(IDC_CALIBRATION_HINT), GetLanguageText(L"10"));

    // Unplugged while the program runs.
    monitors.monitors.pop_back();
    dialog->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(width, height));
    EXPECT_EQ(list.GetItemImage(0), kListImageMonitorGone);
    EXPECT_EQ(list.GetItemText(0), L"TouchScreen No.0 \n   Monitor     No.1") << "the label stays";
    EXPECT_EQ(dialog->GetDlgItemText(IDC_CALIBRATION_HINT),
              L"Monitor No.1 is not connected: Calibrate uses the primary one.");
    PumpFor(100);
    Screenshot("main-monitor-gone.png");

    CCalibrateDlg* calibration = OpenCalibration();
    ASSERT_TRUE(calibration);
    RECT placed = calibration->GetWindowRect();
    EXPECT_EQ((std::array{placed.left, placed.top, placed.right, placed.bottom}),
              (std::array<LONG, 4>{0, 0, width, height}));
    // The display changes again during the review: the calibration made on
    // the old one is cancelled, the record as it was comes back.
    ASSERT_TRUE(WaitForReview(calibration));
    EXPECT_EQ(StoredValue(L"MonitorID"), 0u) << "in force while the user tries it: a monitor that exists";
    dialog->SendMessage(WM_DISPLAYCHANGE, 32, MAKELPARAM(width, height));
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(StoredValue(L"MonitorID"), 1u);
    EXPECT_EQ(StoredValue(L"M1X"), 0u);
    EXPECT_EQ(Mode(), 0);
    EXPECT_EQ(list.GetItemImage(0), kListImageMonitorGone);
}

TEST_F(CalibrateDialog, ARegionDraggedFromEitherCornerIsCalibratedWithoutHints)
{
    Start(60000);
    const MouseHookMessages& mouse = RegisterMouseHookMessages();
    SetCursorPos(500, 400);
    Press(IDC_REGION_CALIBRATE);
    ASSERT_TRUE(dialog->RegionHint());
    HWND hint = *dialog->RegionHint();
    EXPECT_TRUE(IsWindowVisible(hint));
    EXPECT_EQ(CWindow(GetDlgItem(hint, IDC_MESSAGE_INFO_TEXT)).GetWindowText(), GetLanguageText(L"54"));

    SetCursorPos(900, 700);
    dialog->PostMessage(mouse.move);
    PumpFor(100);
    RECT place{};
    GetWindowRect(hint, &place);
    // 10 right of and 20 below the pointer, 182 x 54, at 96 DPI; scaled to the hint's DPI.
    auto scaled = [dpi = WindowDpi(hint)](int length) { return ScaleForDpi(length, dpi); };
    if (const char* expected = std::getenv("PELNO_EXPECTED_DPI")) { // a run at another scale
        EXPECT_EQ(WindowDpi(hint), std::strtoul(expected, nullptr, 10));
    }
    // Above 96 DPI the hint may grow to hold its text: fonts do not grow
    // exactly with the DPI.
    const SIZE text = dialog->RegionHint()->TextExtent();
    const LONG width = WindowDpi(hint) == 96 ? scaled(182) : std::max<LONG>(scaled(182), text.cx);
    const LONG height = WindowDpi(hint) == 96 ? scaled(54) : std::max<LONG>(scaled(54), text.cy);
    EXPECT_EQ((std::array{place.left, place.top, place.right, place.bottom}),
              (std::array<LONG, 4>{900 + scaled(10), 700 + scaled(20), 900 + scaled(10) + width,
                                   700 + scaled(20) + height}));
    Screenshot("region-hint.png");
    dialog->PostMessage(WM_KEYDOWN, VK_RETURN, 0);
    PumpFor(50);
    EXPECT_TRUE(dialog->RegionHint()) << "Enter does not close the hint";

    dialog->PostMessage(mouse.down);
    PumpFor(100);
    EXPECT_FALSE(dialog->RegionHint()) << "the press takes the hint away";
    SetCursorPos(300, 200);
    dialog->PostMessage(mouse.up);
    ASSERT_TRUE(PumpUntil([&] { return dialog->Calibration() != nullptr; }, 3000));
    CCalibrateDlg* calibration = dialog->Calibration();
    RECT region = calibration->GetWindowRect();
    EXPECT_EQ((std::array{region.left, region.top, region.right, region.bottom}),
              (std::array<LONG, 4>{300, 200, 900, 700}));
    for (int id = IDC_CALIBRATE_HINT_1; id <= IDC_CALIBRATE_REVIEW_3; ++id)
        EXPECT_FALSE(Visible(*calibration, id)) << id;
    calibration->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitForEnd());

    // A drag of 199 pixels opens nothing.
    Press(IDC_REGION_CALIBRATE);
    SetCursorPos(100, 100);
    dialog->PostMessage(mouse.down);
    PumpFor(50);
    SetCursorPos(299, 500);
    dialog->PostMessage(mouse.up);
    PumpFor(200);
    EXPECT_FALSE(dialog->Calibration());
    EXPECT_FALSE(dialog->RegionHint());
}

TEST_F(CalibrateDialog, AWrongTouchGoesBackToTheFirstTargetAndTheNextSetIsStored)
{
    // The second target touched where the first was; after a pause, the four targets.
    Start({{300, 100, 110},
           {100, 110, 115},
           {100, 130, 3900},
           {100, 4000, 3990},
           {2500, 100, 110},
           {100, 3995, 120},
           {100, 130, 3900},
           {100, 4000, 3990}});
    CCalibrateDlg* calibration = OpenCalibration();
    ASSERT_TRUE(calibration);
    EXPECT_FALSE(Visible(*calibration, IDC_CALIBRATE_NOTICE));
    ASSERT_TRUE(PumpUntil([&] { return Visible(*calibration, IDC_CALIBRATE_NOTICE); }, 5000));
    EXPECT_EQ(calibration->GetDlgItemText(IDC_CALIBRATE_NOTICE), GetLanguageText(L"150"));
    EXPECT_NE(GetLanguageText(L"150"), L"150") << "1033.ini has the notice";
    EXPECT_EQ(calibration->Panel().TargetShown(), 0);
    EXPECT_FALSE(Visible(*calibration, IDC_CALIBRATE_OK));
    EXPECT_NE(StoredValue(L"IsCalibrate"), std::optional<DWORD>(1)) << "nothing written";
    EXPECT_NE(StoredValue(L"M2X"), std::optional<DWORD>(110)) << "nothing written";
    EXPECT_EQ(Mode(), 1);
    Screenshot("calibration-touches-rejected.png");

    ASSERT_TRUE(WaitForReview(calibration));
    EXPECT_FALSE(Visible(*calibration, IDC_CALIBRATE_NOTICE));
    EXPECT_EQ(StoredValue(L"IsCalibrate"), 1u);
    EXPECT_EQ(StoredValue(L"M2X"), 3995u);
    calibration->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitForEnd());
    EXPECT_EQ(StoredValue(L"M2X"), 3995u);
}

TEST_F(CalibrateDialog, TheReviewShowsThePointersTrailUntilReCalibrate)
{
    Start(100);
    CCalibrateDlg* calibration = OpenCalibration();
    ASSERT_TRUE(calibration);
    ASSERT_TRUE(WaitForReview(calibration));
    const HWND window = *calibration;
    ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); }, 3000));
    // A zigzag in the free band above the hints, its corners at these points.
    const POINT corners[] = {{200, 100}, {260, 150}, {320, 110}, {380, 160}, {440, 100}};
    auto colourAt = [&](POINT p) {
        HDC dc = GetDC(window);
        const COLORREF colour = GetPixel(dc, p.x, p.y);
        ReleaseDC(window, dc);
        return colour;
    };
    for (POINT p : corners)
        ASSERT_EQ(colourAt(p), kBlue) << p.x << "," << p.y;
    std::string drag = "mousemove 200 100 mousedown 1";
    for (POINT p : corners)
        drag += " mousemove " + std::to_string(p.x) + " " + std::to_string(p.y) + " sleep 0.1"; // moves not merged
    drag += " mouseup 1";
    if (!RunXdotool(drag))
        GTEST_SKIP() << "no xdotool on this system";
    PumpFor(200);
    ASSERT_EQ(calibration->Panel().Trail().Strokes().size(), 1u);
    for (POINT p : corners)
        EXPECT_EQ(colourAt(p), kTrail) << p.x << "," << p.y;
    EXPECT_EQ(colourAt({320, 130}), kBlue) << "only the line, not the area it bounds";
    // Drawn again whole when the window repaints.
    calibration->Invalidate();
    ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); }, 3000));
    EXPECT_EQ(colourAt(corners[2]), kTrail);
    Screenshot("calibration-review-trail.png");

    calibration->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_CALIBRATE_RECALIBRATE, BN_CLICKED), 0);
    ASSERT_TRUE(PumpUntil([&] { return !GetUpdateRect(window, nullptr, FALSE); }, 3000));
    EXPECT_TRUE(calibration->Panel().Trail().Strokes().empty());
    for (POINT p : corners)
        EXPECT_EQ(colourAt(p), kBlue) << p.x << "," << p.y;
    calibration->PostMessage(WM_KEYDOWN, VK_ESCAPE, 0);
    ASSERT_TRUE(WaitForEnd());
}

// The whole program: Calibrate pressed in the main window, the frame's
// scripted touches, up to the review.
static void StartProgramUpToTheReview(ProgramRun& run, std::wstring& scenario, HWND& main, HWND& calibration)
{
    scenario = MakeTempFolder(L"pelno_calibrate") + L"\\touches.ini";
    HANDLE file = CreateFileW(scenario.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char text[] = "[Frame0]\r\nTouch=300,100,110\r\nTouch=100,3995,120\r\nTouch=100,130,3900\r\n"
                        "Touch=100,4000,3990\r\n";
    DWORD written = 0;
    WriteFile(file, text, sizeof text - 1, &written, nullptr);
    CloseHandle(file);

    LaunchOptions options;
    options.environment = {{L"PELNOCPL_SIMULATE", scenario}};
    ASSERT_TRUE(Launch(options, run));
    main = WaitForWindow(L"#32770", EnglishText(kProgramTitleKey), 15000);
    ASSERT_NE(main, nullptr);
    // The window has its title before its controls.
    ASSERT_TRUE(PumpUntil(
        [&] { return SendMessageW(GetDlgItem(main, IDC_TOUCHSCREEN_LIST), LVM_GETITEMCOUNT, 0, 0) == 1; }, 15000));
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(GetDlgItem(main, IDC_CALIBRATE)) != FALSE; }, 5000));
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_CALIBRATE, BN_CLICKED), 0);

    // The calibration window: the visible topmost popup the main window owns.
    static HWND s_found;
    s_found = nullptr;
    ASSERT_TRUE(PumpUntil(
        [&] {
            EnumWindows(
                [](HWND window, LPARAM owner) -> BOOL {
                    if (GetWindow(window, GW_OWNER) == reinterpret_cast<HWND>(owner) && IsWindowVisible(window) &&
                        (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
                        s_found = window;
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(main));
            return s_found != nullptr;
        },
        5000));
    calibration = s_found;
    ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(GetDlgItem(calibration, IDOK)) != FALSE; }, 10000));
}

// OK; the record as `reg query` shows it.
TEST_F(CalibrateDialog, TheProgramStoresAFourTouchCalibrationForRegQuery)
{
    ProgramRun run;
    std::wstring scenario;
    HWND main = nullptr, calibration = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartProgramUpToTheReview(run, scenario, main, calibration));
    EXPECT_FALSE(IsWindowEnabled(main));
    PostMessageW(calibration, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));

    const std::wstring key = L"\"HKLM\\" + std::wstring(kDeviceParametersPath) + L"\\TouchScreen0\"";
    CapturedRun query = RunCaptured(L"C:\\windows\\system32\\reg.exe", L"query " + key);
    EXPECT_EQ(query.exitCode, 0) << query.output;
    for (const char* value : {"M1X    REG_DWORD    0x64", "M1Y    REG_DWORD    0x6e", "M2X    REG_DWORD    0xf9b",
                              "M4Y    REG_DWORD    0xf96", "IsCalibrate    REG_DWORD    0x1"})
        EXPECT_NE(query.output.find(value), std::string::npos) << value << "\n" << query.output;
    const std::string width = "ScreenWidth    REG_DWORD    0x" + [] {
        char hex[16];
        snprintf(hex, sizeof hex, "%x", GetSystemMetrics(SM_CXSCREEN));
        return std::string(hex);
    }();
    EXPECT_NE(query.output.find(width), std::string::npos) << query.output;

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Wait(10000), 0);
    DeleteFileW(scenario.c_str());
}

// Killed during the review, the program leaves the driver clicking on
// release with the unconfirmed calibration; its next start puts both back.
TEST_F(CalibrateDialog, AProgramKilledDuringTheReviewIsPutRightAtItsNextStart)
{
    DeviceConfig previous{};
    previous.M1X = 7;
    previous.IsCalibrate = 1;
    SetDeviceConfig(0, previous);
    ProgramRun run;
    std::wstring scenario;
    HWND main = nullptr, calibration = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartProgramUpToTheReview(run, scenario, main, calibration));
    ASSERT_TRUE(PumpUntil([&] { return StoredValue(L"M1X") == 100u; }, 5000)) << "stored for the review";
    TerminateProcess(run.process.hProcess, 9);
    WaitForSingleObject(run.process.hProcess, 10000);
    ASSERT_EQ(Mode(), 1);

    EXPECT_EQ(RunCaptured(ProgramPath(), L"-h").exitCode, 0);
    EXPECT_EQ(Mode(), 0);
    EXPECT_EQ(StoredValue(L"M1X"), 7u);
    EXPECT_EQ(StoredValue(L"IsCalibrate"), 1u);
    DeleteFileW(scenario.c_str());
}

// A calibration that follows its monitor, in the real program: calibrated on
// a 1280 x 1024 screen, re-fitted by -r on a 1920 x 1080 one. The two halves
// run one after the other under tests/windows/with-screen-change.sh, each on
// a display of its own, which names the half to run in PELNO_SCREEN_PHASE.
static bool InPhase(const char* phase)
{
    const char* running = std::getenv("PELNO_SCREEN_PHASE");
    return running && std::string(running) == phase;
}

static DeviceConfig StoredRecord()
{
    DeviceConfig config{};
    GetDeviceConfig(&config); // touchscreen number 0, the scenario's frame
    return config;
}

static void CalibrateWithTheProgram()
{
    ProgramRun run;
    std::wstring scenario;
    HWND main = nullptr, calibration = nullptr;
    ASSERT_NO_FATAL_FAILURE(StartProgramUpToTheReview(run, scenario, main, calibration));
    PostMessageW(calibration, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(PumpUntil([&] { return IsWindowEnabled(main) != FALSE; }, 5000));
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(run.Wait(10000), 0);
}

TEST(ScreenChange, CalibratedOnSxga)
{
    if (!InPhase("sxga"))
        GTEST_SKIP() << "run by with-screen-change.sh";
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1280);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kDeviceParametersPath);
    ASSERT_NO_FATAL_FAILURE(CalibrateWithTheProgram());
    EXPECT_EQ(StoredRecord().AreaWidth, 1280);
}

TEST(ScreenChange, RefitToFullHdEqualsACalibrationThere)
{
    if (!InPhase("fullhd"))
        GTEST_SKIP() << "run by with-screen-change.sh";
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    ASSERT_EQ(StoredRecord().AreaWidth, 1280) << "calibrated on 1280 x 1024 first";
    const std::wstring folder = MakeTempFolder(L"pelno_refit");
    const std::vector<std::pair<std::wstring, std::wstring>> simulate = {{L"PELNOCPL_SIMULATE", L"1"}};
    CapturedRun refit = RunCaptured(ProgramPath(), L"-r", folder, simulate);
    EXPECT_EQ(refit.exitCode, 0);
    EXPECT_EQ(refit.output, WithCrLf("TouchScreen No.0: re-fitted (1280x1024 at 0,0 -> 1920x1080 at 0,0)\n"));
    EXPECT_NE(
        ReadFileBytes(folder + L"\\Main.Log").find(" TouchScreen No.0 re-fitted: 1280x1024 at 0,0 -> 1920x1080 at 0,0"),
        std::string::npos);
    const DeviceConfigSlots refitted = ToSlots(StoredRecord());

    // Right now: a second -r writes nothing.
    const std::wstring query = L"query \"HKLM\\" + std::wstring(kDeviceParametersPath) + L"\" /s";
    const std::string before = RunCaptured(L"C:\\windows\\system32\\reg.exe", query).output;
    CapturedRun again = RunCaptured(ProgramPath(), L"-refit", folder, simulate);
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.output, WithCrLf("TouchScreen No.0: already right\n"));
    EXPECT_EQ(RunCaptured(L"C:\\windows\\system32\\reg.exe", query).output, before);

    // What the calibration window stores for the same four touches on this screen.
    ASSERT_NO_FATAL_FAILURE(CalibrateWithTheProgram());
    EXPECT_EQ(ToSlots(StoredRecord()), refitted);
}
